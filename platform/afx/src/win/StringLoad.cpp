// String resources: AfxLoadString and CString::LoadString.
#include "AfxImpl.h"

BOOL AFXAPI AfxLoadString(UINT nID, CString& rString, HINSTANCE hInstance)
{
    rString.Empty();
    // Strings are kept sixteen to a block, each as a length and UTF-16 text.
    LPCSTR lpszBlock = MAKEINTRESOURCE((nID >> 4) + 1);
    if (hInstance == NULL)
        hInstance = AfxFindResourceHandle(lpszBlock, RT_STRING);
    HRSRC hResource = ::FindResource(hInstance, lpszBlock, RT_STRING);
    if (hResource == NULL)
        return FALSE;
    DWORD cbBlock = ::SizeofResource(hInstance, hResource);
    const WCHAR* p = (const WCHAR*)::LockResource(::LoadResource(hInstance, hResource));
    if (p == NULL)
        return FALSE;
    const WCHAR* pEnd = p + cbBlock / sizeof(WCHAR);
    for (UINT i = 0; i < (nID & 15); i++) {
        if (p >= pEnd)
            return FALSE;
        p += 1 + *p;
    }
    if (p >= pEnd)
        return FALSE;
    int nChars = *p++;
    if (nChars == 0 || nChars > pEnd - p)
        return FALSE;
    int nBytes = ::WideCharToMultiByte(CP_ACP, 0, p, nChars, NULL, 0, NULL, NULL);
    if (nBytes <= 0)
        return FALSE;
    ::WideCharToMultiByte(CP_ACP, 0, p, nChars, rString.GetBuffer(nBytes), nBytes, NULL, NULL);
    rString.ReleaseBuffer(nBytes);
    return TRUE;
}

#undef LoadString
BOOL CString::LoadString(UINT nID)
{
    return AfxLoadString(nID, *this);
}
