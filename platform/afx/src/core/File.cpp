// CFile: the parts shared by both systems. The system calls are in
// PosixFile.cpp (native) and src/win/File.cpp (Windows).
#include "afxfile.h"

#include <cstring>

IMPLEMENT_DYNAMIC(CFile, CObject)

CFile::CFile() : m_hFile(hFileNull), m_bCloseOnDelete(FALSE) {}

CFile::CFile(HANDLE hFile) : m_hFile(hFile), m_bCloseOnDelete(FALSE) {}

CFile::CFile(LPCSTR lpszFileName, UINT nOpenFlags) : CFile()
{
    CFileException e;
    if (!Open(lpszFileName, nOpenFlags, &e))
        AfxThrowFileException(e.m_cause, e.m_lOsError, e.m_strFileName);
}

CFile::~CFile()
{
    if (m_hFile != hFileNull && m_bCloseOnDelete)
        Abort();
}

void CFile::SeekToBegin()
{
    Seek(0, begin);
}

ULONGLONG CFile::SeekToEnd()
{
    return Seek(0, end);
}

CString CFile::GetFilePath() const
{
    return m_strFileName;
}

void CFile::SetFilePath(LPCSTR lpszNewName)
{
    m_strFileName = lpszNewName;
}

CString CFile::GetFileName() const
{
    // Either separator; a '\\' that is the second byte of a double-byte
    // character is not one (ReverseFind steps over them).
    int nSlash = m_strFileName.ReverseFind('\\');
    int nFwd = m_strFileName.ReverseFind('/');
    int nColon = m_strFileName.ReverseFind(':');
    int nCut = nSlash > nFwd ? nSlash : nFwd;
    if (nColon > nCut)
        nCut = nColon;
    return m_strFileName.Mid(nCut + 1);
}

// The name as declared: commdlg.h, where a source includes it, makes it a macro.
#pragma push_macro("GetFileTitle")
#undef GetFileTitle
CString CFile::GetFileTitle() const
{
    CString strName = GetFileName();
    int nDot = strName.ReverseFind('.');
    return nDot > 0 ? strName.Left(nDot) : strName;
}
#pragma pop_macro("GetFileTitle")
