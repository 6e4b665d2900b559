#include "afxexcept.h"

#include <cerrno>
#include <cstring>

IMPLEMENT_DYNAMIC(CException, CObject)
IMPLEMENT_DYNAMIC(CMemoryException, CException)
IMPLEMENT_DYNAMIC(CInvalidArgException, CException)
IMPLEMENT_DYNAMIC(CNotSupportedException, CException)
IMPLEMENT_DYNAMIC(CResourceException, CException)
IMPLEMENT_DYNAMIC(CArchiveException, CException)
IMPLEMENT_DYNAMIC(CFileException, CException)

namespace
{

BOOL CopyMessage(LPCSTR pszText, LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext)
{
    if (pnHelpContext != NULL)
        *pnHelpContext = 0;
    if (lpszError == NULL || nMaxError == 0)
        return FALSE;
    size_t n = strlen(pszText);
    if (n >= nMaxError)
        n = nMaxError - 1;
    memcpy(lpszError, pszText, n);
    lpszError[n] = '\0';
    return TRUE;
}

} // namespace

CException::CException() : m_bAutoDelete(TRUE) {}

CException::CException(BOOL bAutoDelete) : m_bAutoDelete(bAutoDelete) {}

CException::~CException() = default;

void CException::Delete()
{
    if (m_bAutoDelete)
        delete this;
}

BOOL CException::GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    if (pnHelpContext != NULL)
        *pnHelpContext = 0;
    if (lpszError != NULL && nMaxError > 0)
        lpszError[0] = '\0';
    return FALSE;
}

CMemoryException::CMemoryException() = default;

BOOL CMemoryException::GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    return CopyMessage("Out of memory.", lpszError, nMaxError, pnHelpContext);
}

CInvalidArgException::CInvalidArgException() = default;

BOOL CInvalidArgException::GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    return CopyMessage("Invalid argument.", lpszError, nMaxError, pnHelpContext);
}

CNotSupportedException::CNotSupportedException() = default;

BOOL CNotSupportedException::GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    return CopyMessage("Operation not supported.", lpszError, nMaxError, pnHelpContext);
}

CResourceException::CResourceException() = default;

BOOL CResourceException::GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    return CopyMessage("A required resource was unavailable.", lpszError, nMaxError, pnHelpContext);
}

CArchiveException::CArchiveException(int cause, LPCSTR lpszArchiveName) : m_cause(cause), m_strFileName(lpszArchiveName)
{}

BOOL CArchiveException::GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    static const char* const kText[] = {
        "No error.",
        "Archive error.",
        "Tried to write to an archive opened for loading.",
        "Unexpected end of archive.",
        "Tried to read from an archive opened for storing.",
        "Invalid data in archive.",
        "Unexpected class in archive.",
        "Unsupported version of data in archive.",
        "Archive buffer full.",
    };
    LPCSTR pszText =
        (m_cause >= 0 && m_cause < (int)(sizeof(kText) / sizeof(kText[0]))) ? kText[m_cause] : kText[genericException];
    CString s(pszText);
    if (!m_strFileName.IsEmpty())
        s.AppendFormat(" (%s)", (LPCSTR)m_strFileName);
    return CopyMessage(s, lpszError, nMaxError, pnHelpContext);
}

CFileException::CFileException(int cause, LONG lOsError, LPCSTR lpszArchiveName)
    : m_cause(cause), m_lOsError(lOsError), m_strFileName(lpszArchiveName)
{}

BOOL CFileException::GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    static const char* const kText[] = {
        "No error.",
        "File error.",
        "File not found.",
        "Invalid path.",
        "Too many open files.",
        "Access denied.",
        "Invalid file handle.",
        "Cannot remove the current directory.",
        "Directory full.",
        "Seek error.",
        "Hardware I/O error.",
        "Sharing violation.",
        "Lock violation.",
        "Disk full.",
        "Unexpected end of file.",
    };
    LPCSTR pszText =
        (m_cause >= 0 && m_cause < (int)(sizeof(kText) / sizeof(kText[0]))) ? kText[m_cause] : kText[genericException];
    CString s(pszText);
    if (!m_strFileName.IsEmpty())
        s.AppendFormat(" (%s)", (LPCSTR)m_strFileName);
    return CopyMessage(s, lpszError, nMaxError, pnHelpContext);
}

// Windows error codes by number, so the core needs no Windows header.
int CFileException::OsErrorToException(LONG lOsError)
{
    switch (lOsError) {
    case 0: return none;
    case 2: return fileNotFound;      // ERROR_FILE_NOT_FOUND
    case 3: return badPath;           // ERROR_PATH_NOT_FOUND
    case 4: return tooManyOpenFiles;  // ERROR_TOO_MANY_OPEN_FILES
    case 5: return accessDenied;      // ERROR_ACCESS_DENIED
    case 6: return invalidFile;       // ERROR_INVALID_HANDLE
    case 15: return badPath;          // ERROR_INVALID_DRIVE
    case 16: return removeCurrentDir; // ERROR_CURRENT_DIRECTORY
    case 18: return directoryFull;    // ERROR_NO_MORE_FILES
    case 19: return accessDenied;     // ERROR_WRITE_PROTECT
    case 23: return hardIO;           // ERROR_CRC
    case 25: return badSeek;          // ERROR_SEEK
    case 29: return hardIO;           // ERROR_WRITE_FAULT
    case 30: return hardIO;           // ERROR_READ_FAULT
    case 32: return sharingViolation; // ERROR_SHARING_VIOLATION
    case 33: return lockViolation;    // ERROR_LOCK_VIOLATION
    case 36: return sharingViolation; // ERROR_SHARING_BUFFER_EXCEEDED
    case 38: return endOfFile;        // ERROR_HANDLE_EOF
    case 39: return diskFull;         // ERROR_HANDLE_DISK_FULL
    case 80: return accessDenied;     // ERROR_FILE_EXISTS
    case 82: return accessDenied;     // ERROR_CANNOT_MAKE
    case 87: return genericException; // ERROR_INVALID_PARAMETER
    case 112: return diskFull;        // ERROR_DISK_FULL
    case 123: return badPath;         // ERROR_INVALID_NAME
    case 131: return badSeek;         // ERROR_NEGATIVE_SEEK
    case 132: return badSeek;         // ERROR_SEEK_ON_DEVICE
    case 161: return badPath;         // ERROR_BAD_PATHNAME
    case 183: return accessDenied;    // ERROR_ALREADY_EXISTS
    case 206: return badPath;         // ERROR_FILENAME_EXCED_RANGE
    default: return genericException;
    }
}

int CFileException::ErrnoToException(int nErrno)
{
    switch (nErrno) {
    case 0: return none;
    case EPERM:
    case EACCES:
    case EEXIST:
    case EROFS:
    case EISDIR: return accessDenied;
    case EBADF: return invalidFile;
    case ENOENT: return fileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case EINVAL: return badPath;
    case EMFILE:
    case ENFILE: return tooManyOpenFiles;
    case ENOSPC:
    case EFBIG: return diskFull;
    case ESPIPE: return badSeek;
    case EIO: return hardIO;
    case EBUSY: return sharingViolation;
    case EDEADLK: return lockViolation;
    default: return genericException;
    }
}

void CFileException::ThrowOsError(LONG lOsError, LPCSTR lpszFileName)
{
    AfxThrowFileException(OsErrorToException(lOsError), lOsError, lpszFileName);
}

void CFileException::ThrowErrno(int nErrno, LPCSTR lpszFileName)
{
    AfxThrowFileException(ErrnoToException(nErrno), nErrno, lpszFileName);
}

// Out of memory, a new exception may not be had: one shared object that
// Delete() leaves alone.
void AfxThrowMemoryException()
{
    static CMemoryException* const s_pException = [] {
        auto* p = new CMemoryException();
        p->m_bAutoDelete = FALSE;
        return p;
    }();
    throw s_pException;
}

void AfxThrowInvalidArgException()
{
    throw new CInvalidArgException();
}

void AfxThrowNotSupportedException()
{
    throw new CNotSupportedException();
}

void AfxThrowResourceException()
{
    throw new CResourceException();
}

void AfxThrowArchiveException(int cause, LPCSTR lpszArchiveName)
{
    throw new CArchiveException(cause, lpszArchiveName);
}

void AfxThrowFileException(int cause, LONG lOsError, LPCSTR lpszFileName)
{
    throw new CFileException(cause, lOsError, lpszFileName);
}
