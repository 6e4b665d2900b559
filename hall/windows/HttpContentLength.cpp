#include "HttpContentLength.h"

BOOL QueryContentLength(const CHttpFile& file, ULONGLONG& nLength)
{
    // As text: the number form of the query stops at 32 bits.
    CString strLength;
    if (!file.QueryInfo(HTTP_QUERY_CONTENT_LENGTH, strLength))
        return FALSE;
    strLength.Trim();
    if (strLength.IsEmpty() || strLength.GetLength() > 18)
        return FALSE;
    ULONGLONG nValue = 0;
    for (int i = 0; i < strLength.GetLength(); ++i) {
        char c = strLength[i];
        if (c < '0' || c > '9')
            return FALSE;
        nValue = nValue * 10 + (ULONGLONG)(c - '0');
    }
    nLength = nValue;
    return TRUE;
}
