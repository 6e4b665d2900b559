// Fixtures of the hall core state tests: a temporary program folder with
// files in it, and a test profile in the registry.
#pragma once

#include <afxwin.h>

#include <string>

#include "TempFolder.h"

// The shared temporary folder as a program folder: its path ends with a
// backslash, as the hall keeps its folders.
class CStateFolder : public CTempFolder
{
public:
    CStateFolder() : CTempFolder("tavrel-state") {}
    std::string Path() const { return CTempFolder::Path() + "\\"; }
};

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
