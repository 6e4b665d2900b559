#include "ModifyChecks.h"

#include <stdlib.h>
#include <string.h>

#include "TextUnit.h"

namespace
{

// The byte position of the first character c (never a trail byte), or -1.
int FindChar(LPCSTR pszText, char c)
{
    size_t nLength = strlen(pszText);
    for (size_t pos = 0; pos < nLength; pos += TextCharSize(pszText, nLength, pos))
        if (pszText[pos] == c)
            return int(pos);
    return -1;
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

// Blanks are single bytes that no trail byte equals, so cutting them at
// both ends never splits a character.
CString TrimBlanks(LPCSTR pszText)
{
    size_t nBegin = 0, nEnd = strlen(pszText);
    while (nBegin < nEnd && IsBlank(pszText[nBegin]))
        ++nBegin;
    while (nEnd > nBegin && IsBlank(pszText[nEnd - 1]))
        --nEnd;
    return CString(pszText + nBegin, int(nEnd - nBegin));
}

bool SameNumber(LPCSTR pszValue, const CString& strRecord)
{
    return strtoul(pszValue, NULL, 10) == strtoul(strRecord, NULL, 10);
}

} // namespace

bool IsValidEmail(LPCSTR pszText)
{
    int nLast = int(strlen(pszText)) - 1;
    int nAt = FindChar(pszText, '@');
    int nDot = FindChar(pszText, '.');
    return nAt > 0 && nAt < nLast && nDot > 0 && nDot < nLast;
}

bool IsValidIdentity(LPCSTR pszText)
{
    size_t nLength = strlen(pszText);
    if (nLength != 0 && nLength != 15 && nLength != 18)
        return false;
    for (size_t i = 0; i < nLength; ++i) {
        char c = pszText[i];
        if (c >= '0' && c <= '9')
            continue;
        if (i == 17 && (c == 'X' || c == 'x'))
            continue;
        return false;
    }
    return true;
}

enModifyCheck CheckModifyAttr(tagModifyAttr& attr, const tagServiceUserData& record, CString& strMessage)
{
    attr.szValue[sizeof(attr.szValue) - 1] = 0;
    CString strRecord = GetUserAttributeText(record, attr.wAttrID);
    switch (attr.wAttrID) {
    case 4: {
        CString strNick = TrimBlanks(attr.szValue);
        if (strNick.IsEmpty()) {
            strMessage = "昵称格式错误";
            return MODIFY_ERROR;
        }
        if (strNick == strRecord)
            return MODIFY_DROP;
        TextCopyField(attr.szValue, strNick);
        return MODIFY_KEEP;
    }
    case 5:
    case 6:
    case 18: return SameNumber(attr.szValue, strRecord) ? MODIFY_DROP : MODIFY_KEEP;
    case 7:
    case 8:
    case 10:
    case 12:
    case 13:
    case 15: return strRecord == attr.szValue ? MODIFY_DROP : MODIFY_KEEP;
    case 9:
        if (!IsValidEmail(attr.szValue)) {
            strMessage = "Email格式不正确";
            return MODIFY_ERROR;
        }
        return strRecord == attr.szValue ? MODIFY_DROP : MODIFY_KEEP;
    case 11:
        if (!IsValidIdentity(attr.szValue)) {
            strMessage = "身份证格式不正确";
            return MODIFY_ERROR;
        }
        return strRecord == attr.szValue ? MODIFY_DROP : MODIFY_KEEP;
    default: return MODIFY_DROP;
    }
}
