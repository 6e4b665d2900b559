#include "ZipLargeFile.h"

CZipLargeFile::CZipLargeFile() {}

void CZipLargeFile::OpenOrThrow(LPCTSTR lpszPath, UINT nOpenFlags)
{
    CFileException error;
    if (!Open(lpszPath, nOpenFlags, &error))
        AfxThrowFileException(error.m_cause, error.m_lOsError, lpszPath);
}
