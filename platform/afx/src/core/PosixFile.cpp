// CFile over POSIX descriptors (the native build). Sharing flags have no
// meaning here and are ignored.
#ifndef _WIN32

#include "afxfile.h"
#include "AfxConv.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <fcntl.h>
#include <iconv.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

int Fd(HANDLE h)
{
    return (int)reinterpret_cast<INT_PTR>(h);
}

HANDLE Handle(int fd)
{
    return reinterpret_cast<HANDLE>(static_cast<INT_PTR>(fd));
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
    int flags = 0;
    switch (nOpenFlags & 3) {
    case modeRead: flags = O_RDONLY; break;
    case modeWrite: flags = O_WRONLY; break;
    case modeReadWrite: flags = O_RDWR; break;
    default:
        if (pError != NULL)
            pError->m_cause = CFileException::genericException;
        return FALSE;
    }
    if (nOpenFlags & modeCreate)
        flags |= (nOpenFlags & modeNoTruncate) ? O_CREAT : (O_CREAT | O_TRUNC);
    if (nOpenFlags & modeNoInherit)
        flags |= O_CLOEXEC;
    int fd = lpszFileName == NULL ? -1 : open(lpszFileName, flags, 0666);
    if (fd < 0) {
        int err = lpszFileName == NULL ? EINVAL : errno;
        if (pError != NULL) {
            pError->m_cause = CFileException::ErrnoToException(err);
            pError->m_lOsError = err;
        }
        return FALSE;
    }
    struct stat st;
    if (fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        close(fd);
        if (pError != NULL) {
            pError->m_cause = CFileException::accessDenied;
            pError->m_lOsError = EISDIR;
        }
        return FALSE;
    }
    m_hFile = Handle(fd);
    m_bCloseOnDelete = TRUE;
    m_strFileName = lpszFileName;
    if (lpszFileName[0] != '/') {
        char szDir[4096];
        if (getcwd(szDir, sizeof(szDir)) != NULL)
            m_strFileName = CString(szDir) + "/" + lpszFileName;
    }
    return TRUE;
}

UINT CFile::Read(void* lpBuf, UINT nCount)
{
    if (nCount == 0)
        return 0;
    if (lpBuf == NULL)
        AfxThrowInvalidArgException();
    UINT nDone = 0;
    while (nDone < nCount) {
        ssize_t n = read(Fd(m_hFile), static_cast<char*>(lpBuf) + nDone, nCount - nDone);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            CFileException::ThrowErrno(errno, m_strFileName);
        }
        if (n == 0)
            break;
        nDone += (UINT)n;
    }
    return nDone;
}

void CFile::Write(const void* lpBuf, UINT nCount)
{
    if (nCount == 0)
        return;
    if (lpBuf == NULL)
        AfxThrowInvalidArgException();
    UINT nDone = 0;
    while (nDone < nCount) {
        ssize_t n = write(Fd(m_hFile), static_cast<const char*>(lpBuf) + nDone, nCount - nDone);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            CFileException::ThrowErrno(errno, m_strFileName);
        }
        if (n == 0)
            AfxThrowFileException(CFileException::diskFull, ENOSPC, m_strFileName);
        nDone += (UINT)n;
    }
}

ULONGLONG CFile::Seek(LONGLONG lOff, UINT nFrom)
{
    int whence = nFrom == begin ? SEEK_SET : nFrom == current ? SEEK_CUR : nFrom == end ? SEEK_END : -1;
    if (whence < 0)
        AfxThrowFileException(CFileException::badSeek, EINVAL, m_strFileName);
    off_t pos = lseek(Fd(m_hFile), (off_t)lOff, whence);
    if (pos < 0)
        AfxThrowFileException(CFileException::badSeek, errno, m_strFileName);
    return (ULONGLONG)pos;
}

ULONGLONG CFile::GetPosition() const
{
    off_t pos = lseek(Fd(m_hFile), 0, SEEK_CUR);
    if (pos < 0)
        CFileException::ThrowErrno(errno, m_strFileName);
    return (ULONGLONG)pos;
}

ULONGLONG CFile::GetLength() const
{
    struct stat st;
    if (fstat(Fd(m_hFile), &st) != 0)
        CFileException::ThrowErrno(errno, m_strFileName);
    return (ULONGLONG)st.st_size;
}

// Leaves the position at the new end, as on Windows.
void CFile::SetLength(ULONGLONG dwNewLen)
{
    if (dwNewLen > (ULONGLONG)LLONG_MAX)
        CFileException::ThrowErrno(EINVAL, m_strFileName);
    if (ftruncate(Fd(m_hFile), (off_t)dwNewLen) != 0)
        CFileException::ThrowErrno(errno, m_strFileName);
    Seek((LONGLONG)dwNewLen, begin);
}

void CFile::Flush()
{
    if (m_hFile == hFileNull)
        return;
    if (fsync(Fd(m_hFile)) != 0 && errno != EINVAL)
        CFileException::ThrowErrno(errno, m_strFileName);
}

void CFile::Close()
{
    int err = 0;
    if (m_hFile != hFileNull && close(Fd(m_hFile)) != 0)
        err = errno;
    m_hFile = hFileNull;
    m_bCloseOnDelete = FALSE;
    m_strFileName.Empty();
    if (err != 0)
        CFileException::ThrowErrno(err, NULL);
}

void CFile::Abort()
{
    if (m_hFile != hFileNull)
        close(Fd(m_hFile));
    m_hFile = hFileNull;
    m_bCloseOnDelete = FALSE;
    m_strFileName.Empty();
}

// As on Windows, an existing target is not replaced.
void CFile::Rename(LPCSTR lpszOldName, LPCSTR lpszNewName)
{
    if (renameat2(AT_FDCWD, lpszOldName, AT_FDCWD, lpszNewName, RENAME_NOREPLACE) != 0)
        CFileException::ThrowErrno(errno, lpszOldName);
}

void CFile::Remove(LPCSTR lpszFileName)
{
    if (unlink(lpszFileName) != 0)
        CFileException::ThrowErrno(errno, lpszFileName);
}

// The product runs under code page 936, so GBK stands for it here.
CString AfxWideToMultiByte(const WCHAR* pwch, int nLength)
{
    CString str;
    if (nLength <= 0)
        return str;
    if (nLength > INT_MAX / 2 - 64)
        AfxThrowMemoryException();
    iconv_t cd = iconv_open("GBK", "UTF-16LE");
    if (cd == (iconv_t)-1)
        AfxThrowNotSupportedException();
    // GBK needs at most two bytes for a UTF-16 unit.
    char* pOut = str.GetBuffer(nLength * 2);
    char* pIn = const_cast<char*>(reinterpret_cast<const char*>(pwch));
    size_t nIn = (size_t)nLength * 2;
    size_t nOut = (size_t)nLength * 2;
    char* pDst = pOut;
    while (nIn > 0) {
        if (iconv(cd, &pIn, &nIn, &pDst, &nOut) != (size_t)-1)
            break;
        if (errno == E2BIG || nOut == 0)
            break;
        // Not representable (or half a surrogate pair): one '?' per unit.
        *pDst++ = '?';
        --nOut;
        pIn += 2;
        nIn = nIn >= 2 ? nIn - 2 : 0;
    }
    iconv_close(cd);
    str.ReleaseBuffer((int)(pDst - pOut));
    return str;
}

#endif // _WIN32
