#include "XTVResourceManager.h"

#include <vector>

CXTVResourceManager::CXTVResourceManager() : m_module(NULL) {}

CXTVResourceManager::~CXTVResourceManager()
{
    if (m_module)
        FreeLibrary(m_module);
}

bool CXTVResourceManager::SetResourceFile(LPCSTR fileName)
{
    if (fileName == NULL || *fileName == '\0')
        return false;
    HMODULE module = LoadLibraryExA(fileName, NULL, LOAD_LIBRARY_AS_DATAFILE);
    if (module == NULL)
        return false;
    if (m_module)
        FreeLibrary(m_module);
    m_module = module;
    return true;
}

HINSTANCE CXTVResourceManager::GetResourceHandle() const
{
    return m_module;
}

bool CXTVResourceManager::LoadString(CString& text, UINT id) const
{
    text.Empty();
    if (m_module == NULL)
        return false;
    // With a zero size the system hands out the text where it lies, so no
    // length limit applies; it is not NUL-terminated there.
    const WCHAR* wide = NULL;
    int length = LoadStringW(m_module, id, reinterpret_cast<LPWSTR>(&wide), 0);
    if (length <= 0 || wide == NULL)
        return false;
    int bytes = WideCharToMultiByte(CP_ACP, 0, wide, length, NULL, 0, NULL, NULL);
    if (bytes <= 0)
        return false;
    std::vector<char> buffer(static_cast<size_t>(bytes));
    WideCharToMultiByte(CP_ACP, 0, wide, length, buffer.data(), bytes, NULL, NULL);
    text = CString(buffer.data(), bytes);
    return true;
}
