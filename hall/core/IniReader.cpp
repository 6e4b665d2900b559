#include "IniReader.h"

#include <windows.h>

#include <stdio.h>

namespace
{

const char kBlanks[] = " \t";
const char kLineEnds[] = "\r\n";
const char kBlanksAndLineEnds[] = " \t\r\n";

std::string Trim(const std::string& text)
{
    size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string::npos)
        return std::string();
    size_t last = text.find_last_not_of(kBlanks);
    return text.substr(first, last - first + 1);
}

bool WriteAll(HANDLE file, const std::string& text)
{
    DWORD written = 0;
    return text.empty() || (WriteFile(file, text.data(), DWORD(text.size()), &written, NULL) && written == text.size());
}

} // namespace

CIniEntry* CIniSection::AddKey(const std::string& key)
{
    std::string name = Trim(key);
    EntryMap::iterator it = m_Entries.find(name);
    if (it != m_Entries.end())
        return it->second;
    CIniEntry* entry = new CIniEntry(this, name);
    m_Entries[name] = entry;
    return entry;
}

CIniEntry* CIniSection::FindKey(const std::string& key) const
{
    EntryMap::const_iterator it = m_Entries.find(Trim(key));
    return it != m_Entries.end() ? it->second : NULL;
}

void CIniSection::Clear()
{
    for (EntryMap::iterator it = m_Entries.begin(); it != m_Entries.end(); ++it)
        delete it->second;
    m_Entries.clear();
}

CIniSection* CIniReader::GetSection(const std::string& name)
{
    return AddSection(name);
}

CIniSection* CIniReader::AddSection(const std::string& name)
{
    std::string trimmed = Trim(name);
    SectionMap::iterator it = m_Sections.find(trimmed);
    if (it != m_Sections.end())
        return it->second;
    CIniSection* section = new CIniSection(this, trimmed);
    m_Sections[trimmed] = section;
    return section;
}

std::string CIniReader::GetValue(const std::string& section, const std::string& key) const
{
    SectionMap::const_iterator it = m_Sections.find(Trim(section));
    if (it == m_Sections.end())
        return std::string();
    CIniEntry* entry = it->second->FindKey(key);
    return entry != NULL ? entry->GetValue() : std::string();
}

void CIniReader::Clear()
{
    for (SectionMap::iterator it = m_Sections.begin(); it != m_Sections.end(); ++it)
        delete it->second;
    m_Sections.clear();
}

void CIniReader::Load(std::istream& in)
{
    Clear();
    CIniSection* current = NULL;
    std::string line;
    while (std::getline(in, line)) {
        size_t first = line.find_first_not_of(kBlanks);
        size_t last = line.find_last_not_of(kLineEnds);
        if (first == std::string::npos || last == std::string::npos || last < first)
            continue;
        line = line.substr(first, last - first + 1);

        // Comments before anything else: "#k=v" is not an entry.
        if (line[0] == '#' || line[0] == ';')
            continue;

        if (line[0] == '[') {
            size_t close = line.find_last_not_of(kBlanksAndLineEnds);
            if (line[close] == ']' && close > 0) {
                current = AddSection(line.substr(1, close - 1));
                continue;
            }
        }

        size_t equals = line.find('=');
        if (equals != std::string::npos && equals > 0 && current != NULL)
            current->AddKey(line.substr(0, equals))->SetValue(line.substr(equals + 1));
    }
}

bool CIniReader::SaveToFile(const char* fileName) const
{
    if (fileName == NULL || *fileName == '\0')
        return false;

    std::string text;
    for (SectionMap::const_iterator s = m_Sections.begin(); s != m_Sections.end(); ++s) {
        text += "[" + s->first + "]\r\n";
        const CIniSection::EntryMap& entries = s->second->GetEntries();
        for (CIniSection::EntryMap::const_iterator e = entries.begin(); e != entries.end(); ++e)
            text += e->first + "=" + e->second->GetValue() + "\r\n";
    }

    // The temporary file goes in the same folder, so the rename stays on one volume.
    std::string folder(fileName);
    size_t slash = folder.find_last_of("\\/");
    folder = slash == std::string::npos ? std::string(".") : folder.substr(0, slash + 1);
    char tempName[MAX_PATH];
    if (GetTempFileNameA(folder.c_str(), "ini", 0, tempName) == 0)
        return false;

    HANDLE file = CreateFileA(tempName, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) {
        DeleteFileA(tempName);
        return false;
    }
    bool written = WriteAll(file, text) && FlushFileBuffers(file);
    CloseHandle(file);

    if (!written || !MoveFileExA(tempName, fileName, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileA(tempName);
        return false;
    }
    return true;
}
