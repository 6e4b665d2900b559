// Fixed-size text fields: cut long texts on a character boundary, so no lone
// lead byte of a double-byte character is left at the end.
#pragma once

#include <windows.h>

#include <stddef.h>
#include <string.h>

inline void CopyFieldText(char* pszTarget, size_t nSize, const char* pszSource)
{
    size_t n = 0;
    while (pszSource[n] != '\0') {
        size_t nChar = (IsDBCSLeadByte((BYTE)pszSource[n]) && pszSource[n + 1] != '\0') ? 2 : 1;
        if (n + nChar > nSize - 1)
            break;
        n += nChar;
    }
    memcpy(pszTarget, pszSource, n);
    pszTarget[n] = '\0';
}
