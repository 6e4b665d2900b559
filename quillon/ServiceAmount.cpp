#include "ServiceAmount.h"

AmountStatus ParseAmount(LPCSTR pszText, ULONGLONG ullMax, ULONGLONG& ullValue, bool bCommas)
{
    ullValue = 0;
    if (pszText == NULL || *pszText == '\0')
        return AMOUNT_EMPTY;
    bool bDigit = false;
    bool bTooLarge = false;
    for (const char* p = pszText; *p != '\0'; ++p) {
        if (*p == ',' && bCommas)
            continue;
        if (*p < '0' || *p > '9') {
            ullValue = 0;
            return AMOUNT_INVALID;
        }
        bDigit = true;
        unsigned nDigit = unsigned(*p - '0');
        if (bTooLarge || ullValue > (ullMax - nDigit) / 10)
            bTooLarge = true;
        else
            ullValue = ullValue * 10 + nDigit;
    }
    if (!bDigit)
        return AMOUNT_INVALID;
    if (bTooLarge) {
        ullValue = 0;
        return AMOUNT_TOO_LARGE;
    }
    return AMOUNT_OK;
}

CString FormatAmount(LONGLONG llValue)
{
    ULONGLONG ullValue = llValue < 0 ? ULONGLONG(0) - ULONGLONG(llValue) : ULONGLONG(llValue);
    char szDigits[32];
    int nDigits = 0;
    do {
        szDigits[nDigits++] = char('0' + ullValue % 10);
        ullValue /= 10;
    } while (ullValue != 0);
    CString strText;
    if (llValue < 0)
        strText.AppendChar('-');
    for (int i = nDigits - 1; i >= 0; --i) {
        strText.AppendChar(szDigits[i]);
        if (i > 0 && i % 3 == 0)
            strText.AppendChar(',');
    }
    return strText;
}

CString KeepDigits(LPCSTR pszText)
{
    CString strText;
    if (pszText == NULL)
        return strText;
    for (const char* p = pszText; *p != '\0'; ++p)
        if (*p >= '0' && *p <= '9')
            strText.AppendChar(*p);
    return strText;
}
