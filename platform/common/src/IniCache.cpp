#include "IniCache.h"

#include "TextUnit.h"

#include <map>
#include <string.h>

namespace
{

const ULONGLONG kMaxFileSize = 4u * 1024u * 1024u;
// How long after its last write a file's time and size are trusted to
// change with the next write: file clocks tick in milliseconds, coarsely.
const ULONGLONG kSettledAge = 2u * 10000000u; // 2 s in 100 ns units

struct Key
{
    std::string name;
    std::string value;
    bool hasValue;
};

struct Section
{
    std::string name;
    std::vector<Key> keys;
};

struct Entry
{
    FILETIME written;
    ULONGLONG size;
    std::vector<Section> sections;

    void swap(Entry& other)
    {
        std::swap(written, other.written);
        std::swap(size, other.size);
        sections.swap(other.sections);
    }
};

// Blanks as the profile functions count them (^Z, a DOS end of file, too).
bool IsBlank(char c)
{
    return (c >= 0x09 && c <= 0x0d) || c == 0x1a || c == ' ';
}

std::string Trim(const char* begin, const char* end)
{
    while (begin < end && IsBlank(*begin))
        ++begin;
    while (end > begin && IsBlank(end[-1]))
        --end;
    return std::string(begin, end);
}

bool SameName(const std::string& stored, const std::string& wanted)
{
    return stored.size() == wanted.size() && _strnicmp(stored.data(), wanted.data(), stored.size()) == 0;
}

// The last ']' of the line that is a character of its own, not a trail byte.
const char* LastCloseBracket(const char* begin, const char* end)
{
    const char* found = NULL;
    const size_t length = size_t(end - begin);
    for (size_t i = 0; i < length; i += TextCharSize(begin, length, i)) {
        if (begin[i] == ']')
            found = begin + i;
    }
    return found;
}

void Parse(const char* data, size_t size, std::vector<Section>& sections)
{
    // Keys above the first header belong to a section without a name.
    sections.assign(1, Section());
    const char* end = data + size;
    const char* next = data;
    while (next < end) {
        const char* line = next;
        // A lone carriage return ends a line too.
        const char* lineEnd = line;
        while (lineEnd < end && *lineEnd != '\n' && *lineEnd != '\r')
            ++lineEnd;
        next = lineEnd < end ? lineEnd + 1 : end;
        while (line < lineEnd && IsBlank(*line))
            ++line;
        while (lineEnd > line && IsBlank(lineEnd[-1]))
            --lineEnd;
        if (line >= lineEnd)
            continue;
        if (*line == '[') {
            const char* close = LastCloseBracket(line, lineEnd);
            if (close != NULL) {
                Section section;
                section.name = Trim(line + 1, close);
                sections.push_back(section);
                continue;
            }
        }
        Key key;
        key.hasValue = false;
        const char* equals = static_cast<const char*>(memchr(line, '=', size_t(lineEnd - line)));
        if (equals != NULL) {
            key.name = Trim(line, equals);
            key.value = Trim(equals + 1, lineEnd);
            key.hasValue = true;
        } else {
            key.name.assign(line, lineEnd);
        }
        std::vector<Key>& keys = sections.back().keys;
        if (!key.name.empty() || keys.empty() || !keys.back().name.empty())
            keys.push_back(key);
    }
}

bool IsAbsolute(LPCSTR path)
{
    if (path == NULL)
        return false;
    if (path[0] == '\\' && path[1] == '\\')
        return true;
    return ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z')) && path[1] == ':' &&
           (path[2] == '\\' || path[2] == '/');
}

ULONGLONG Ticks(const FILETIME& time)
{
    return (ULONGLONG(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

class CStore
{
public:
    CStore() { InitializeCriticalSection(&m_Lock); }

    // Runs use(sections) under the lock with the file's current parse.
    template <class F> CIniCache::Answer With(LPCSTR path, F use)
    {
        if (!IsAbsolute(path))
            return CIniCache::kAskSystem;
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (!GetFileAttributesExA(path, GetFileExInfoStandard, &data)) {
            const DWORD error = GetLastError();
            return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? CIniCache::kMissing
                                                                                  : CIniCache::kAskSystem;
        }
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            return CIniCache::kAskSystem;
        const ULONGLONG size = (ULONGLONG(data.nFileSizeHigh) << 32) | data.nFileSizeLow;

        EnterCriticalSection(&m_Lock);
        auto found = m_Entries.find(path);
        if (found != m_Entries.end() && Ticks(found->second.written) == Ticks(data.ftLastWriteTime) &&
            found->second.size == size) {
            CIniCache::Answer answer = use(found->second.sections);
            LeaveCriticalSection(&m_Lock);
            return answer;
        }
        LeaveCriticalSection(&m_Lock);

        FILETIME now;
        GetSystemTimeAsFileTime(&now);
        Entry entry;
        if (!Load(path, data, entry))
            return CIniCache::kAskSystem;
        EnterCriticalSection(&m_Lock);
        CIniCache::Answer answer = use(entry.sections);
        if (Ticks(now) > Ticks(data.ftLastWriteTime) + kSettledAge)
            m_Entries[path].swap(entry);
        else
            m_Entries.erase(path);
        LeaveCriticalSection(&m_Lock);
        return answer;
    }

    void Forget(LPCSTR path)
    {
        if (path == NULL)
            return;
        EnterCriticalSection(&m_Lock);
        m_Entries.erase(path);
        LeaveCriticalSection(&m_Lock);
    }

private:
    // The file as it is now; false when it changed under the read or is
    // not plain single-byte text.
    static bool Load(LPCSTR path, const WIN32_FILE_ATTRIBUTE_DATA& data, Entry& entry)
    {
        const ULONGLONG size = (ULONGLONG(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        if (size > kMaxFileSize)
            return false;
        HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
        if (file == INVALID_HANDLE_VALUE)
            return false;
        std::string bytes(size_t(size) + 1, '\0');
        DWORD read = 0;
        FILETIME written;
        const bool ok = ReadFile(file, &bytes[0], DWORD(size) + 1, &read, NULL) && read == size &&
                        GetFileTime(file, NULL, NULL, &written) && Ticks(written) == Ticks(data.ftLastWriteTime);
        CloseHandle(file);
        if (!ok)
            return false;
        bytes.resize(read);
        // Text with a byte-order mark is decoded by the system.
        if ((read >= 3 && memcmp(bytes.data(), "\xEF\xBB\xBF", 3) == 0) ||
            (read >= 2 && (memcmp(bytes.data(), "\xFF\xFE", 2) == 0 || memcmp(bytes.data(), "\xFE\xFF", 2) == 0)))
            return false;
        entry.written = written;
        entry.size = size;
        Parse(bytes.data(), bytes.size(), entry.sections);
        return true;
    }

    CRITICAL_SECTION m_Lock;
    std::map<std::string, Entry> m_Entries;
};

// Never destroyed: a static destructor elsewhere may still read a file.
CStore& Store()
{
    static CStore* store = new CStore;
    return *store;
}

const Section* FindSection(const std::vector<Section>& sections, LPCSTR name)
{
    const std::string wanted = Trim(name, name + strlen(name));
    for (const Section& section : sections) {
        if (SameName(section.name, wanted))
            return &section;
    }
    return NULL;
}

} // namespace

CIniCache::Answer CIniCache::ReadString(LPCSTR path, LPCSTR section, LPCSTR key, std::string& value)
{
    if (section == NULL || key == NULL)
        return kAskSystem;
    return Store().With(path, [&](const std::vector<Section>& sections) {
        const Section* found = FindSection(sections, section);
        if (found == NULL)
            return kMissing;
        const std::string wanted = Trim(key, key + strlen(key));
        for (const Key& entry : found->keys) {
            if (!SameName(entry.name, wanted))
                continue;
            if (!entry.hasValue)
                return kMissing;
            value = Unquoted(entry.value);
            return kFound;
        }
        return kMissing;
    });
}

CIniCache::Answer CIniCache::ReadSection(LPCSTR path, LPCSTR section,
                                         std::vector<std::pair<std::string, std::string>>& lines)
{
    lines.clear();
    if (section == NULL)
        return kAskSystem;
    return Store().With(path, [&](const std::vector<Section>& sections) {
        const Section* found = FindSection(sections, section);
        if (found == NULL)
            return kMissing;
        for (const Key& entry : found->keys) {
            if (entry.hasValue && !entry.name.empty() && entry.name[0] != ';')
                lines.push_back(std::make_pair(entry.name, entry.value));
        }
        return kFound;
    });
}

std::string CIniCache::Unquoted(const std::string& text)
{
    if (text.size() >= 2 && (text[0] == '"' || text[0] == '\'') && text.back() == text[0])
        return text.substr(1, text.size() - 2);
    return text;
}

void CIniCache::Forget(LPCSTR path)
{
    Store().Forget(path);
}
