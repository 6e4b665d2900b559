#include "StateTestSupport.h"

#include <gtest/gtest.h>

#include <stdio.h>
#include <string.h>

#include "GlobalOption.h"
#include "GlobalUnits.h"

namespace
{
// Test programs run side by side and each deletes its key whole: one key per
// program, so none deletes another's values mid-test.
const char* ProgramRegistryKey()
{
    static char key[MAX_PATH + 32];
    char path[MAX_PATH] = "";
    GetModuleFileNameA(NULL, path, MAX_PATH);
    const char* name = strrchr(path, '\\');
    snprintf(key, sizeof(key), "TavrelStateTests-%s", name != NULL ? name + 1 : path);
    return key;
}
} // namespace

const char* const CProfileApp::kRegistryKey = ProgramRegistryKey();
const char* const CProfileApp::kAppName = "StateTests";

CProfileApp::CProfileApp()
{
    RegDeleteTreeA(HKEY_CURRENT_USER, (std::string("Software\\") + kRegistryKey).c_str());
    m_pApp = new CWinApp(kAppName);
    m_pApp->SetRegistryKey(kRegistryKey);
}

CProfileApp::~CProfileApp()
{
    delete m_pApp;
    RegDeleteTreeA(HKEY_CURRENT_USER, (std::string("Software\\") + kRegistryKey).c_str());
}

std::string CProfileApp::SectionKey(const std::string& section)
{
    return std::string("Software\\") + kRegistryKey + "\\" + kAppName + "\\" + section;
}

bool CProfileApp::ReadValue(const std::string& section, const std::string& name, DWORD& value)
{
    DWORD size = sizeof(value);
    return RegGetValueA(HKEY_CURRENT_USER, SectionKey(section).c_str(), name.c_str(), RRF_RT_REG_DWORD, NULL, &value,
                        &size) == ERROR_SUCCESS;
}

void CProfileApp::WriteValue(const std::string& section, const std::string& name, DWORD value)
{
    HKEY key = NULL;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, SectionKey(section).c_str(), 0, NULL, 0, KEY_WRITE, NULL, &key, NULL),
              ERROR_SUCCESS);
    RegSetValueExA(key, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
    RegCloseKey(key);
}

void UseProgramFolder(const CStateFolder& folder)
{
    g_GlobalUnits.SetWorkDirectory(folder.Path().c_str());
    g_GlobalOption.SetConfigDirectory((folder.Path() + "config").c_str());
}
