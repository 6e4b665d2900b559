#include "ShareBlock.h"

#include <string.h>

#include "TextUnit.h"

void* CreateOwnShareBlock(const std::function<CString(int)>& makeName, int nTries, DWORD nSize, char* pszName,
                          size_t nNameWidth, HANDLE& hMapping)
{
    hMapping = NULL;
    for (int nTry = 0; nTry < nTries; nTry++) {
        CString name = makeName(nTry);
        if (name.IsEmpty() || !TextCopyField(pszName, nNameWidth, name))
            continue;
        HANDLE hMade = CreateFileMappingA(INVALID_HANDLE_VALUE, NULL, PAGE_READWRITE, 0, nSize, pszName);
        if (hMade == NULL)
            continue;
        if (GetLastError() == ERROR_ALREADY_EXISTS) {
            CloseHandle(hMade);
            continue;
        }
        void* pView = MapViewOfFile(hMade, FILE_MAP_ALL_ACCESS, 0, 0, 0);
        if (pView == NULL) {
            CloseHandle(hMade);
            continue;
        }
        memset(pView, 0, nSize);
        hMapping = hMade;
        return pView;
    }
    if (nNameWidth > 0)
        pszName[0] = '\0';
    return NULL;
}
