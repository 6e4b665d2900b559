// CXTVResourceManager: texts of the hall's string table, kept in a
// resource-only library (VQString.dll) that is loaded as data.
#pragma once

#include <windows.h>

#include <afx.h>

class CXTVResourceManager
{
public:
    CXTVResourceManager();
    ~CXTVResourceManager();

    // Loads the library (searched as the system searches libraries); the
    // previous one stays bound when this fails.
    bool SetResourceFile(LPCSTR fileName);
    HINSTANCE GetResourceHandle() const;

    // The text of string id in the ANSI code page; false (and an empty text)
    // when no library is bound or it has no such string.
    bool LoadString(CString& text, UINT id) const;

private:
    CXTVResourceManager(const CXTVResourceManager&);
    CXTVResourceManager& operator=(const CXTVResourceManager&);

    HMODULE m_module;
};
