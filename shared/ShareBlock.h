// A block of memory shared with another process by its name. The block is
// ours only when this process made it: a name that exists already belongs
// to someone else, so its block is never shared and its handle never kept.
#pragma once

#include <afx.h>

#include <windows.h>

#include <functional>

// Makes a zeroed block of nSize bytes under the first of the names
// makeName(0) .. makeName(nTries - 1) that nobody holds (an empty name or
// one wider than the field is passed over). The name taken is in the field
// pszName of nNameWidth bytes, which is empty when no block was made.
// Returns the view, or null, and the mapping in hMapping.
void* CreateOwnShareBlock(const std::function<CString(int)>& makeName, int nTries, DWORD nSize, char* pszName,
                          size_t nNameWidth, HANDLE& hMapping);

// Unmaps the view and closes the mapping; both are null afterwards.
template <class T> void ReleaseShareBlock(T*& pView, HANDLE& hMapping)
{
    if (pView != NULL)
        UnmapViewOfFile(pView);
    pView = NULL;
    if (hMapping != NULL)
        CloseHandle(hMapping);
    hMapping = NULL;
}
