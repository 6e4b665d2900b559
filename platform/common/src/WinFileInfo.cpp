#include "WinFileInfo.h"

#include <string.h>
#include <vector>

CWinFileInfo::CWinFileInfo() : m_open(false), m_hasVersion(false)
{
    memset(&m_fixed, 0, sizeof(m_fixed));
}

CWinFileInfo::~CWinFileInfo()
{
    Close();
}

bool CWinFileInfo::Open(LPCSTR path)
{
    Close();
    if (path == NULL || *path == '\0')
        return false;
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(file);
    m_open = true;

    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(path, &ignored);
    if (size == 0)
        return true;
    std::vector<BYTE> block(size);
    VS_FIXEDFILEINFO* fixed = NULL;
    UINT length = 0;
    if (GetFileVersionInfoA(path, 0, size, block.data()) &&
        VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length) && fixed != NULL &&
        length >= sizeof(VS_FIXEDFILEINFO) && fixed->dwSignature == 0xFEEF04BD) {
        m_fixed = *fixed;
        m_hasVersion = true;
    }
    return true;
}

void CWinFileInfo::Close()
{
    m_open = false;
    m_hasVersion = false;
    memset(&m_fixed, 0, sizeof(m_fixed));
}

bool CWinFileInfo::IsOpen() const
{
    return m_open;
}

bool CWinFileInfo::HasVersion() const
{
    return m_hasVersion;
}

bool CWinFileInfo::GetFileVersion(DWORD& mostSignificant, DWORD& leastSignificant) const
{
    if (!m_hasVersion)
        return false;
    mostSignificant = m_fixed.dwFileVersionMS;
    leastSignificant = m_fixed.dwFileVersionLS;
    return true;
}
