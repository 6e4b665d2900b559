// CIniFile: reads and writes one INI file through the system's profile
// functions. Missing files, sections and keys give the defaults.
#pragma once

#include <afx.h>
#include <afxcoll.h>

class CIniFile
{
public:
    static const DWORD kDefaultBufferSize = 4096;

    // bufferSize bounds every text read (terminator included).
    explicit CIniFile(LPCSTR path = NULL, DWORD bufferSize = kDefaultBufferSize);

    void SetIniFileName(LPCSTR path);
    CString GetIniFileName() const;

    // A decimal number; a missing key, or text that is not a number, gives the default.
    int GetInt(LPCSTR section, LPCSTR key, int defaultValue) const;
    // Both answer the length of the text read.
    DWORD GetString(LPCSTR section, LPCSTR key, CString& value, LPCSTR defaultValue = "") const;
    DWORD GetString(LPCSTR section, LPCSTR key, LPSTR buffer, LPCSTR defaultValue, DWORD size) const;
    // Replaces the map's content by the section's keys and values; answers their number.
    int GetSection(LPCSTR section, CMapStringToString& values) const;

    bool WriteString(LPCSTR section, LPCSTR key, LPCSTR value);
    bool WriteInt(LPCSTR section, LPCSTR key, int value);
    bool DeleteKey(LPCSTR section, LPCSTR key);

private:
    CString m_path;
    DWORD m_bufferSize;
};
