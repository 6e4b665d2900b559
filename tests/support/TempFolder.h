// A fresh folder under the system's temporary folder for one test, removed
// with everything in it (read-only files and sub-folders too) when the
// object goes.
#pragma once

#include <afx.h>

#include <windows.h>

#include <string>
#include <vector>

class CTempFolder
{
public:
    // The folder's name starts with the prefix; the process id and a serial
    // number keep concurrent tests apart.
    explicit CTempFolder(const char* pszPrefix = "tavrel");
    ~CTempFolder();
    CTempFolder(const CTempFolder&) = delete;
    CTempFolder& operator=(const CTempFolder&) = delete;

    // Without a trailing backslash.
    const std::string& Path() const { return m_path; }
    // The same as a string of the class library, for its calls.
    CString Folder() const { return CString(m_path.c_str()); }

    // path\relative (relative may name sub-folders).
    std::string File(const std::string& relative) const { return m_path + "\\" + relative; }
    std::string Path(const char* relative) const { return File(relative); }
    CString operator/(LPCSTR relative) const { return Folder() + "\\" + relative; }
    // path\name, made when missing.
    std::string SubFolder(const std::string& name) const;

    // Writes the file, making its folders; answers its path.
    std::string Write(const std::string& relative, const std::string& bytes) const;
    std::string Write(const std::string& relative, const std::vector<BYTE>& bytes) const;
    // The file's bytes; empty when it cannot be read.
    std::string Read(const std::string& relative) const;
    bool Exists(const std::string& relative) const;

private:
    std::string m_path;
};

// Removes a file, or a folder with everything in it.
void RemoveTree(const std::string& path);
inline void RemoveTree(LPCSTR pszPath)
{
    RemoveTree(std::string(pszPath));
}
// Makes the folders of a path up to its last backslash.
void MakeFolders(const std::string& path);
// A file's bytes; empty when it cannot be read.
std::string ReadFileBytes(const std::string& path);
bool FileExists(const std::string& path);
