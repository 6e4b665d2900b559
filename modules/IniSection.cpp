#include "IniSection.h"

#include <windows.h>

#include <vector>

bool ReadIniSection(const char* file, const char* section, CStringArray& lines)
{
    // The call answers size - 2 when the section did not fit: grow and ask again.
    std::vector<char> buffer(64 * 1024);
    DWORD length;
    for (;;) {
        length = ::GetPrivateProfileSectionA(section, buffer.data(), DWORD(buffer.size()), file);
        if (length < buffer.size() - 2)
            break;
        if (buffer.size() >= 256u * 1024 * 1024)
            return false;
        buffer.resize(buffer.size() * 2);
    }

    // Lines end with NUL; the list ends with an empty line.
    bool any = false;
    for (const char* line = buffer.data(); line < buffer.data() + length && *line != '\0'; line += strlen(line) + 1) {
        lines.Add(line);
        any = true;
    }
    return any;
}

bool SplitIniLine(const CString& line, CString& key, CString& value)
{
    int equals = line.Find('=');
    if (equals < 0)
        return false;
    key = line.Left(equals);
    value = line.Mid(equals + 1);
    return true;
}
