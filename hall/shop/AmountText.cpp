#include "AmountText.h"

int ReadAmountText(LPCSTR pszText, LONGLONG& llAmount)
{
    llAmount = 0;
    if (pszText == NULL)
        return AMOUNT_VALID;
    ULONGLONG ullValue = 0;
    for (const unsigned char* p = (const unsigned char*)pszText; *p != '\0'; ++p) {
        if (*p == ',')
            continue;
        if (*p < '0' || *p > '9')
            return AMOUNT_NOT_A_NUMBER;
        ullValue = ullValue * 10 + (*p - '0');
        // Stops growing once out of range, so no digit count wraps it.
        if (ullValue > 0xFFFFFFFFull) {
            for (++p; *p != '\0'; ++p) {
                if (*p != ',' && (*p < '0' || *p > '9'))
                    return AMOUNT_NOT_A_NUMBER;
            }
            return AMOUNT_OUT_OF_RANGE;
        }
    }
    llAmount = (LONGLONG)ullValue;
    return AMOUNT_VALID;
}

CString FormatAmountText(LONGLONG llAmount)
{
    if (llAmount == 0)
        return CString();
    CString digits;
    digits.Format("%lld", llAmount);
    bool bNegative = digits[0] == '-';
    CString body = bNegative ? digits.Mid(1) : digits;
    CString grouped;
    int nLength = body.GetLength();
    for (int i = 0; i < nLength; i++) {
        if (i > 0 && (nLength - i) % 3 == 0)
            grouped += ',';
        grouped += body[i];
    }
    return bNegative ? "-" + grouped : grouped;
}

LONGLONG GetAmount(CWnd* pDialog, UINT nID)
{
    if (pDialog == NULL)
        return 0;
    CString text;
    pDialog->GetDlgItemText(nID, text);
    LONGLONG llAmount = 0;
    switch (ReadAmountText(text, llAmount)) {
    case AMOUNT_VALID: return llAmount;
    case AMOUNT_OUT_OF_RANGE: return AMOUNT_TEXT_TOO_LARGE;
    default: return AMOUNT_TEXT_INVALID;
    }
}

int ReformatAmountField(CEdit& field, CString& strLastSet)
{
    CString text;
    field.GetWindowText(text);
    LONGLONG llAmount = 0;
    int nState = ReadAmountText(text, llAmount);
    if (text == strLastSet || nState != AMOUNT_VALID)
        return nState;
    strLastSet = FormatAmountText(llAmount);
    if (strLastSet != text) {
        field.SetWindowText(strLastSet);
        field.SetSel(strLastSet.GetLength(), strLastSet.GetLength());
    }
    return nState;
}
