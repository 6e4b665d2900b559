#include "StateTestSupport.h"

#include <gtest/gtest.h>

#include <stdio.h>

#include "GlobalOption.h"
#include "GlobalUnits.h"

void RemoveTree(const std::string& folder)
{
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::string name = data.cFileName;
            if (name == "." || name == "..")
                continue;
            std::string path = folder + "\\" + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path);
            } else {
                SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(path.c_str());
            }
        } while (FindNextFileA(find, &data));
        FindClose(find);
    }
    RemoveDirectoryA(folder.c_str());
}

void MakeFolders(const std::string& path)
{
    for (size_t i = 3; i < path.size(); ++i) {
        if (path[i] == '\\')
            CreateDirectoryA(path.substr(0, i).c_str(), NULL);
    }
}

CStateFolder::CStateFolder()
{
    char base[MAX_PATH];
    GetTempPathA(sizeof(base), base);
    static int serial = 0;
    char name[64];
    snprintf(name, sizeof(name), "tavrel-state-%lu-%d\\", GetCurrentProcessId(), ++serial);
    m_path = std::string(base) + name;
    RemoveTree(m_path.substr(0, m_path.size() - 1));
    MakeFolders(m_path);
}

CStateFolder::~CStateFolder()
{
    RemoveTree(m_path.substr(0, m_path.size() - 1));
}

std::string CStateFolder::Write(const std::string& relative, const std::string& bytes) const
{
    std::string path = m_path + relative;
    MakeFolders(path);
    FILE* file = fopen(path.c_str(), "wb");
    EXPECT_NE(file, nullptr) << path;
    if (file != NULL) {
        fwrite(bytes.data(), 1, bytes.size(), file);
        fclose(file);
    }
    return path;
}

std::string CStateFolder::Read(const std::string& relative) const
{
    std::string bytes;
    FILE* file = fopen((m_path + relative).c_str(), "rb");
    if (file == NULL)
        return bytes;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof(buffer), file)) > 0)
        bytes.append(buffer, n);
    fclose(file);
    return bytes;
}

bool CStateFolder::Exists(const std::string& relative) const
{
    return GetFileAttributesA((m_path + relative).c_str()) != INVALID_FILE_ATTRIBUTES;
}

const char* const CProfileApp::kRegistryKey = "TavrelStateTests";
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
