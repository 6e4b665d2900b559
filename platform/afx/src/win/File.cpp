// The Windows side of the portable core: CFile over Win32 handles, and the
// code-page conversion the archive needs.
#include <windows.h>

#include "afxfile.h"
#include "../core/AfxConv.h"

namespace
{

[[noreturn]] void ThrowLastError(LPCSTR lpszFileName)
{
    CFileException::ThrowOsError((LONG)::GetLastError(), lpszFileName);
}

} // namespace

BOOL CFile::Open(LPCSTR lpszFileName, UINT nOpenFlags, CFileException* pError)
{
    if (m_hFile != hFileNull)
        Abort();
    if (pError != NULL) {
        pError->m_cause = CFileException::none;
        pError->m_lOsError = 0;
        pError->m_strFileName = lpszFileName;
    }
    DWORD dwAccess = 0;
    switch (nOpenFlags & 3) {
    case modeRead: dwAccess = GENERIC_READ; break;
    case modeWrite: dwAccess = GENERIC_WRITE; break;
    case modeReadWrite: dwAccess = GENERIC_READ | GENERIC_WRITE; break;
    default:
        if (pError != NULL)
            pError->m_cause = CFileException::genericException;
        return FALSE;
    }
    DWORD dwShare = 0;
    switch (nOpenFlags & 0x70) {
    case shareDenyWrite: dwShare = FILE_SHARE_READ; break;
    case shareDenyRead: dwShare = FILE_SHARE_WRITE; break;
    case shareDenyNone: dwShare = FILE_SHARE_READ | FILE_SHARE_WRITE; break;
    default: dwShare = 0; break; // shareCompat, shareExclusive
    }
    DWORD dwCreate = OPEN_EXISTING;
    if (nOpenFlags & modeCreate)
        dwCreate = (nOpenFlags & modeNoTruncate) ? OPEN_ALWAYS : CREATE_ALWAYS;
    DWORD dwFlags = FILE_ATTRIBUTE_NORMAL;
    if (nOpenFlags & osNoBuffer)
        dwFlags |= FILE_FLAG_NO_BUFFERING;
    if (nOpenFlags & osWriteThrough)
        dwFlags |= FILE_FLAG_WRITE_THROUGH;
    if (nOpenFlags & osRandomAccess)
        dwFlags |= FILE_FLAG_RANDOM_ACCESS;
    if (nOpenFlags & osSequentialScan)
        dwFlags |= FILE_FLAG_SEQUENTIAL_SCAN;
    SECURITY_ATTRIBUTES sa = {sizeof(sa), NULL, (nOpenFlags & modeNoInherit) ? FALSE : TRUE};

    HANDLE h = lpszFileName == NULL ? INVALID_HANDLE_VALUE
                                    : ::CreateFileA(lpszFileName, dwAccess, dwShare, &sa, dwCreate, dwFlags, NULL);
    if (h == INVALID_HANDLE_VALUE) {
        LONG lError = lpszFileName == NULL ? ERROR_INVALID_NAME : (LONG)::GetLastError();
        if (pError != NULL) {
            pError->m_cause = CFileException::OsErrorToException(lError);
            pError->m_lOsError = lError;
        }
        return FALSE;
    }
    m_hFile = h;
    m_bCloseOnDelete = TRUE;
    char szPath[MAX_PATH * 2];
    DWORD n = ::GetFullPathNameA(lpszFileName, sizeof(szPath), szPath, NULL);
    m_strFileName = (n > 0 && n < sizeof(szPath)) ? szPath : lpszFileName;
    return TRUE;
}

UINT CFile::Read(void* lpBuf, UINT nCount)
{
    if (nCount == 0)
        return 0;
    if (lpBuf == NULL)
        AfxThrowInvalidArgException();
    DWORD dwRead = 0;
    if (!::ReadFile(m_hFile, lpBuf, nCount, &dwRead, NULL))
        ThrowLastError(m_strFileName);
    return (UINT)dwRead;
}

void CFile::Write(const void* lpBuf, UINT nCount)
{
    if (nCount == 0)
        return;
    if (lpBuf == NULL)
        AfxThrowInvalidArgException();
    DWORD dwWritten = 0;
    if (!::WriteFile(m_hFile, lpBuf, nCount, &dwWritten, NULL))
        ThrowLastError(m_strFileName);
    if (dwWritten != nCount)
        AfxThrowFileException(CFileException::diskFull, ERROR_DISK_FULL, m_strFileName);
}

ULONGLONG CFile::Seek(LONGLONG lOff, UINT nFrom)
{
    if (nFrom != begin && nFrom != current && nFrom != end)
        AfxThrowFileException(CFileException::badSeek, ERROR_INVALID_PARAMETER, m_strFileName);
    LARGE_INTEGER li, liNew;
    li.QuadPart = lOff;
    // begin/current/end are FILE_BEGIN/FILE_CURRENT/FILE_END.
    if (!::SetFilePointerEx(m_hFile, li, &liNew, nFrom))
        ThrowLastError(m_strFileName);
    return (ULONGLONG)liNew.QuadPart;
}

ULONGLONG CFile::GetPosition() const
{
    LARGE_INTEGER li, liNew;
    li.QuadPart = 0;
    if (!::SetFilePointerEx(m_hFile, li, &liNew, FILE_CURRENT))
        ThrowLastError(m_strFileName);
    return (ULONGLONG)liNew.QuadPart;
}

ULONGLONG CFile::GetLength() const
{
    LARGE_INTEGER li;
    if (!::GetFileSizeEx(m_hFile, &li))
        ThrowLastError(m_strFileName);
    return (ULONGLONG)li.QuadPart;
}

// Leaves the position at the new end.
void CFile::SetLength(ULONGLONG dwNewLen)
{
    Seek((LONGLONG)dwNewLen, begin);
    if (!::SetEndOfFile(m_hFile))
        ThrowLastError(m_strFileName);
}

void CFile::Flush()
{
    if (m_hFile == hFileNull)
        return;
    if (!::FlushFileBuffers(m_hFile))
        ThrowLastError(m_strFileName);
}

void CFile::Close()
{
    BOOL bError = FALSE;
    DWORD dwError = 0;
    if (m_hFile != hFileNull && !::CloseHandle(m_hFile)) {
        bError = TRUE;
        dwError = ::GetLastError();
    }
    m_hFile = hFileNull;
    m_bCloseOnDelete = FALSE;
    m_strFileName.Empty();
    if (bError)
        CFileException::ThrowOsError((LONG)dwError, NULL);
}

void CFile::Abort()
{
    if (m_hFile != hFileNull)
        ::CloseHandle(m_hFile);
    m_hFile = hFileNull;
    m_bCloseOnDelete = FALSE;
    m_strFileName.Empty();
}

void CFile::Rename(LPCSTR lpszOldName, LPCSTR lpszNewName)
{
    if (!::MoveFileA(lpszOldName, lpszNewName))
        ThrowLastError(lpszOldName);
}

void CFile::Remove(LPCSTR lpszFileName)
{
    if (!::DeleteFileA(lpszFileName))
        ThrowLastError(lpszFileName);
}

CString AfxWideToMultiByte(const WCHAR* pwch, int nLength)
{
    CString str;
    if (nLength <= 0)
        return str;
    int n = ::WideCharToMultiByte(CP_ACP, 0, pwch, nLength, NULL, 0, NULL, NULL);
    if (n <= 0)
        return str;
    n = ::WideCharToMultiByte(CP_ACP, 0, pwch, nLength, str.GetBuffer(n), n, NULL, NULL);
    str.ReleaseBuffer(n > 0 ? n : 0);
    return str;
}
