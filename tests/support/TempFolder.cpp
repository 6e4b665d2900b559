#include "TempFolder.h"

#include <gtest/gtest.h>

#include <stdio.h>

CTempFolder::CTempFolder(const char* pszPrefix)
{
    char szBase[MAX_PATH];
    GetTempPathA(sizeof(szBase), szBase);
    static LONG s_nSerial = 0;
    for (;;) {
        char szName[MAX_PATH];
        snprintf(szName, sizeof(szName), "%s%s_%lu_%ld", szBase, pszPrefix, GetCurrentProcessId(),
                 InterlockedIncrement(&s_nSerial));
        if (CreateDirectoryA(szName, NULL)) {
            m_path = szName;
            break;
        }
        // Left over by an earlier process of the same id: take the next.
        if (GetLastError() != ERROR_ALREADY_EXISTS) {
            ADD_FAILURE() << "cannot make " << szName;
            m_path = szName;
            break;
        }
    }
}

CTempFolder::~CTempFolder()
{
    RemoveTree(m_path);
}

std::string CTempFolder::SubFolder(const std::string& name) const
{
    std::string path = File(name);
    MakeFolders(path + "\\");
    return path;
}

std::string CTempFolder::Write(const std::string& relative, const std::string& bytes) const
{
    std::string path = File(relative);
    MakeFolders(path);
    FILE* file = fopen(path.c_str(), "wb");
    EXPECT_NE(file, nullptr) << path;
    if (file != NULL) {
        fwrite(bytes.data(), 1, bytes.size(), file);
        fclose(file);
    }
    return path;
}

std::string CTempFolder::Write(const std::string& relative, const std::vector<BYTE>& bytes) const
{
    return Write(relative, std::string(bytes.begin(), bytes.end()));
}

std::string CTempFolder::Read(const std::string& relative) const
{
    return ReadFileBytes(File(relative));
}

bool CTempFolder::Exists(const std::string& relative) const
{
    return FileExists(File(relative));
}

std::string ReadFileBytes(const std::string& path)
{
    std::string bytes;
    FILE* file = fopen(path.c_str(), "rb");
    if (file == NULL)
        return bytes;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof(buffer), file)) > 0)
        bytes.append(buffer, n);
    fclose(file);
    return bytes;
}

bool FileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void RemoveTree(const std::string& path)
{
    DWORD dwAttributes = GetFileAttributesA(path.c_str());
    if (dwAttributes == INVALID_FILE_ATTRIBUTES)
        return;
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!(dwAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        DeleteFileA(path.c_str());
        return;
    }
    WIN32_FIND_DATAA data;
    HANDLE hFind = FindFirstFileA((path + "\\*").c_str(), &data);
    if (hFind != INVALID_HANDLE_VALUE) {
        do {
            std::string name = data.cFileName;
            if (name != "." && name != "..")
                RemoveTree(path + "\\" + name);
        } while (FindNextFileA(hFind, &data));
        FindClose(hFind);
    }
    RemoveDirectoryA(path.c_str());
}

void MakeFolders(const std::string& path)
{
    for (size_t i = 3; i < path.size(); ++i) {
        if (path[i] == '\\' || path[i] == '/')
            CreateDirectoryA(path.substr(0, i).c_str(), NULL);
    }
}
