// The archive file: a class-library file with 64-bit positions whose failed
// opens raise the class library's file exception.
#pragma once

#include <afx.h>

class CZipLargeFile : public CFile
{
public:
    CZipLargeFile();

    // Opens the file or throws CFileException*.
    void OpenOrThrow(LPCTSTR lpszPath, UINT nOpenFlags);
    bool IsOpen() const { return m_hFile != hFileNull; }
};
