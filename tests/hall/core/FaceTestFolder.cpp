#include "FaceTestFolder.h"

#include <gtest/gtest.h>

#include <stdio.h>

namespace
{

void RemoveTree(const std::string& strFolder)
{
    WIN32_FIND_DATAA data;
    HANDLE hFind = FindFirstFileA((strFolder + "*").c_str(), &data);
    if (hFind != INVALID_HANDLE_VALUE) {
        do {
            std::string strName = data.cFileName;
            if (strName == "." || strName == "..")
                continue;
            std::string strPath = strFolder + strName;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(strPath + "\\");
            else
                DeleteFileA(strPath.c_str());
        } while (FindNextFileA(hFind, &data));
        FindClose(hFind);
    }
    RemoveDirectoryA(strFolder.c_str());
}

} // namespace

CTestFolder::CTestFolder()
{
    char szBase[MAX_PATH];
    GetTempPathA(sizeof(szBase), szBase);
    static int nSerial = 0;
    for (;;) {
        char szName[MAX_PATH];
        snprintf(szName, sizeof(szName), "%shallface_%lu_%d", szBase, GetCurrentProcessId(), ++nSerial);
        if (CreateDirectoryA(szName, NULL)) {
            m_strPath = std::string(szName) + "\\";
            break;
        }
    }
}

CTestFolder::~CTestFolder()
{
    RemoveTree(m_strPath);
}

void CTestFolder::Write(const std::string& strRelative, const std::string& strBytes) const
{
    std::string strPath = m_strPath + strRelative;
    for (size_t i = m_strPath.size(); i < strPath.size(); ++i)
        if (strPath[i] == '\\' || strPath[i] == '/')
            CreateDirectoryA(strPath.substr(0, i).c_str(), NULL);
    FILE* pFile = fopen(strPath.c_str(), "wb");
    ASSERT_NE(pFile, nullptr) << strPath;
    fwrite(strBytes.data(), 1, strBytes.size(), pFile);
    fclose(pFile);
}
