// A fresh program folder under the temporary folder for the word filter and
// custom-face tests, removed with everything in it.
#pragma once

#include <windows.h>

#include <string>

class CTestFolder
{
public:
    CTestFolder();
    ~CTestFolder();
    CTestFolder(const CTestFolder&) = delete;
    CTestFolder& operator=(const CTestFolder&) = delete;

    // With its trailing backslash, as the program folder is given.
    const std::string& Path() const { return m_strPath; }
    // Writes the file at the relative path, making its folders.
    void Write(const std::string& strRelative, const std::string& strBytes) const;

private:
    std::string m_strPath;
};
