// Fixtures of the hall core state tests: a temporary program folder with
// files in it, and a test profile in the registry.
#pragma once

#include <afxwin.h>

#include <string>

// A fresh folder under the temporary folder, removed with everything in it.
class CStateFolder
{
public:
    CStateFolder();
    ~CStateFolder();
    CStateFolder(const CStateFolder&) = delete;
    CStateFolder& operator=(const CStateFolder&) = delete;

    // With a trailing backslash.
    const std::string& Path() const { return m_path; }
    // Writes path (relative, folders made as needed) with these bytes.
    std::string Write(const std::string& relative, const std::string& bytes) const;
    std::string Read(const std::string& relative) const;
    bool Exists(const std::string& relative) const;

private:
    std::string m_path;
};

void MakeFolders(const std::string& path);
void RemoveTree(const std::string& folder);

// An application object whose profile lives under a test key, removed
// before and after.
class CProfileApp
{
public:
    static const char* const kRegistryKey;
    static const char* const kAppName;

    CProfileApp();
    ~CProfileApp();

    CWinApp& App() { return *m_pApp; }
    // The section's key, for checking what was written.
    static std::string SectionKey(const std::string& section);
    static bool ReadValue(const std::string& section, const std::string& name, DWORD& value);
    static void WriteValue(const std::string& section, const std::string& name, DWORD value);

private:
    CWinApp* m_pApp;
};

// Points the global units and the options store at a program folder.
void UseProgramFolder(const CStateFolder& folder);
