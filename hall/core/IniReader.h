// A small INI document: sections of key=value entries kept in byte-wise
// sorted maps, read from a text stream and written back whole in that order.
// Comments, blank lines and the original order are not kept.
#pragma once

#include <istream>
#include <map>
#include <string>

class CIniReader;
class CIniSection;

class CIniEntry
{
public:
    CIniEntry(CIniSection* section, const std::string& key) : m_pSection(section), m_strKey(key) {}

    CIniSection* GetSection() const { return m_pSection; }
    const std::string& GetKey() const { return m_strKey; }
    const std::string& GetValue() const { return m_strValue; }
    void SetValue(const std::string& value) { m_strValue = value; }

private:
    CIniSection* m_pSection;
    std::string m_strKey;
    std::string m_strValue;
};

class CIniSection
{
public:
    typedef std::map<std::string, CIniEntry*> EntryMap;

    CIniSection(CIniReader* reader, const std::string& name) : m_pReader(reader), m_strName(name) {}
    ~CIniSection() { Clear(); }

    CIniReader* GetReader() const { return m_pReader; }
    const std::string& GetName() const { return m_strName; }

    // Keys are trimmed of blanks and tabs at both ends.
    CIniEntry* AddKey(const std::string& key);
    CIniEntry* FindKey(const std::string& key) const;

    const EntryMap& GetEntries() const { return m_Entries; }
    void Clear();

private:
    CIniSection(const CIniSection&) = delete;
    CIniSection& operator=(const CIniSection&) = delete;

    CIniReader* m_pReader;
    std::string m_strName;
    EntryMap m_Entries;
};

class CIniReader
{
public:
    typedef std::map<std::string, CIniSection*> SectionMap;

    CIniReader() {}
    ~CIniReader() { Clear(); }

    // Replaces the whole document with what the stream holds.
    void Load(std::istream& in);
    // Writes a temporary file beside fileName and renames it over the old
    // file, so a save that fails leaves the old file as it was.
    bool SaveToFile(const char* fileName) const;

    // Both find the section, creating it when missing (name trimmed).
    CIniSection* GetSection(const std::string& name);
    CIniSection* AddSection(const std::string& name);

    // Empty when the section or the key is missing.
    std::string GetValue(const std::string& section, const std::string& key) const;

    const SectionMap& GetSections() const { return m_Sections; }
    void Clear();

private:
    CIniReader(const CIniReader&) = delete;
    CIniReader& operator=(const CIniReader&) = delete;

    SectionMap m_Sections;
};
