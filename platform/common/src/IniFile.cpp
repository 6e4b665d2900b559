#include <windows.h>

#include "IniCache.h"
#include "IniFile.h"
#include "TextUnit.h"

#include <stdlib.h>
#include <string.h>
#include <string>
#include <vector>

namespace
{
const DWORD kMaxSectionBuffer = 16u * 1024u * 1024u;

bool IsSpaceOrTab(char c)
{
    return c == ' ' || c == '\t';
}

// A read cut at the buffer's end may leave half of a double-byte character.
DWORD DropDanglingLeadByte(LPSTR text, DWORD length)
{
    DWORD i = 0;
    while (i < length) {
        DWORD size = DWORD(TextCharSize(text, length, i));
        if (size == 1 && i + 1 == length && TextIsLeadByte(BYTE(text[i]))) {
            text[i] = '\0';
            return i;
        }
        i += size;
    }
    return length;
}

// Copies what fits, cut on a whole character; answers the length copied.
DWORD CopyCut(LPSTR buffer, DWORD size, const char* text, size_t length)
{
    const DWORD n = length < size ? DWORD(length) : size - 1;
    memcpy(buffer, text, n);
    buffer[n] = '\0';
    return DropDanglingLeadByte(buffer, DWORD(strlen(buffer)));
}

// The default as the profile functions give it back: without trailing
// spaces (the first character stays) and out of a pair of quotes.
std::string SystemDefault(LPCSTR text)
{
    size_t length = strlen(text);
    while (length > 1 && text[length - 1] == ' ')
        --length;
    return CIniCache::Unquoted(std::string(text, length));
}

CString Trimmed(const char* begin, const char* end)
{
    while (begin < end && IsSpaceOrTab(*begin))
        ++begin;
    while (end > begin && IsSpaceOrTab(end[-1]))
        --end;
    return CString(begin, int(end - begin));
}
} // namespace

CIniFile::CIniFile(LPCSTR path, DWORD bufferSize)
    : m_path(path ? path : ""), m_bufferSize(bufferSize < 2 ? 2 : bufferSize)
{}

void CIniFile::SetIniFileName(LPCSTR path)
{
    m_path = path ? path : "";
}

CString CIniFile::GetIniFileName() const
{
    return m_path;
}

DWORD CIniFile::GetString(LPCSTR section, LPCSTR key, LPSTR buffer, LPCSTR defaultValue, DWORD size) const
{
    if (buffer == NULL || size == 0)
        return 0;
    buffer[0] = '\0';
    if (size > m_bufferSize)
        size = m_bufferSize;
    if (defaultValue == NULL)
        defaultValue = "";
    if (m_path.IsEmpty() || section == NULL || key == NULL) {
        TextCopyField(buffer, size, defaultValue);
        return DWORD(strlen(buffer));
    }
    std::string value;
    switch (CIniCache::ReadString(m_path, section, key, value)) {
    case CIniCache::kFound: return CopyCut(buffer, size, value.data(), value.size());
    case CIniCache::kMissing:
        value = SystemDefault(defaultValue);
        return CopyCut(buffer, size, value.data(), value.size());
    case CIniCache::kAskSystem: break;
    }
    // Cleared first: on a cut some systems count bytes they did not write.
    memset(buffer, 0, size);
    DWORD length = GetPrivateProfileStringA(section, key, defaultValue, buffer, size, m_path);
    if (length >= size)
        length = size - 1;
    buffer[length] = '\0';
    return DropDanglingLeadByte(buffer, DWORD(strlen(buffer)));
}

DWORD CIniFile::GetString(LPCSTR section, LPCSTR key, CString& value, LPCSTR defaultValue) const
{
    std::vector<char> buffer(m_bufferSize);
    DWORD length = GetString(section, key, buffer.data(), defaultValue, m_bufferSize);
    value = CString(buffer.data(), int(length));
    return length;
}

int CIniFile::GetInt(LPCSTR section, LPCSTR key, int defaultValue) const
{
    char text[64];
    if (GetString(section, key, text, "", sizeof(text)) == 0)
        return defaultValue;
    const char* p = text;
    while (IsSpaceOrTab(*p))
        ++p;
    char* end = NULL;
    long value = strtol(p, &end, 10);
    if (end == p)
        return defaultValue;
    return int(value);
}

int CIniFile::GetSection(LPCSTR section, CMapStringToString& values) const
{
    values.RemoveAll();
    if (m_path.IsEmpty() || section == NULL)
        return 0;
    std::vector<std::pair<std::string, std::string>> lines;
    switch (CIniCache::ReadSection(m_path, section, lines)) {
    case CIniCache::kFound:
        for (const auto& line : lines) {
            CString name = Trimmed(line.first.data(), line.first.data() + line.first.size());
            if (!name.IsEmpty())
                values.SetAt(name, Trimmed(line.second.data(), line.second.data() + line.second.size()));
        }
        return int(values.GetCount());
    case CIniCache::kMissing: return 0;
    case CIniCache::kAskSystem: break;
    }
    // Grow until the section fits: a cut list would lose keys silently.
    std::vector<char> buffer;
    DWORD size = m_bufferSize;
    DWORD length = 0;
    for (;;) {
        buffer.assign(size, '\0');
        length = GetPrivateProfileSectionA(section, buffer.data(), size, m_path);
        if (length + 2 < size || size >= kMaxSectionBuffer)
            break;
        size *= 2;
    }
    if (length >= size)
        length = size - 1;

    const char* p = buffer.data();
    const char* end = buffer.data() + length;
    while (p < end && *p) {
        const char* line = p;
        const char* lineEnd = line + strnlen(line, size_t(end - line));
        const char* equals = static_cast<const char*>(memchr(line, '=', size_t(lineEnd - line)));
        if (equals != NULL) {
            CString name = Trimmed(line, equals);
            if (!name.IsEmpty()) {
                values.SetAt(name, Trimmed(equals + 1, lineEnd));
            }
        }
        p = lineEnd + 1;
    }
    return int(values.GetCount());
}

bool CIniFile::WriteString(LPCSTR section, LPCSTR key, LPCSTR value)
{
    if (m_path.IsEmpty() || section == NULL || key == NULL)
        return false;
    const bool written = WritePrivateProfileStringA(section, key, value ? value : "", m_path) != FALSE;
    CIniCache::Forget(m_path);
    return written;
}

bool CIniFile::WriteInt(LPCSTR section, LPCSTR key, int value)
{
    char text[16];
    wsprintfA(text, "%d", value);
    return WriteString(section, key, text);
}

bool CIniFile::DeleteKey(LPCSTR section, LPCSTR key)
{
    if (m_path.IsEmpty() || section == NULL || key == NULL)
        return false;
    const bool deleted = WritePrivateProfileStringA(section, key, NULL, m_path) != FALSE;
    CIniCache::Forget(m_path);
    return deleted;
}
