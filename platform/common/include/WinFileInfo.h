// CWinFileInfo: opens a file (a program, mostly) and reads its version resource.
#pragma once

#include <windows.h>

class CWinFileInfo
{
public:
    CWinFileInfo();
    ~CWinFileInfo();

    // True when the file exists and can be read; its version resource, when
    // it has one, is read as well.
    bool Open(LPCSTR path);
    void Close();
    bool IsOpen() const;

    bool HasVersion() const;
    // The fixed file version: most and least significant words, each holding
    // two 16-bit parts (high part first). False without a version resource.
    bool GetFileVersion(DWORD& mostSignificant, DWORD& leastSignificant) const;

private:
    CWinFileInfo(const CWinFileInfo&);
    CWinFileInfo& operator=(const CWinFileInfo&);

    bool m_open;
    bool m_hasVersion;
    VS_FIXEDFILEINFO m_fixed;
};
