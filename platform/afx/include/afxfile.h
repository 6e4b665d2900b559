// CFile: a file of the operating system (Win32 handles on Windows, POSIX
// descriptors natively). Failures throw CFileException*, except Open, which
// returns FALSE and fills the caller's CFileException.
#pragma once

#include "afxexcept.h"
#include "afxobj.h"
#include "afxstr.h"

class CFile : public CObject
{
    DECLARE_DYNAMIC(CFile)
public:
    enum OpenFlags
    {
        modeRead = 0x00000,
        modeWrite = 0x00001,
        modeReadWrite = 0x00002,
        shareCompat = 0x00000,
        shareExclusive = 0x00010,
        shareDenyWrite = 0x00020,
        shareDenyRead = 0x00030,
        shareDenyNone = 0x00040,
        modeNoInherit = 0x00080,
        modeCreate = 0x01000,
        modeNoTruncate = 0x02000,
        typeText = 0x04000,
        typeBinary = 0x08000,
        osNoBuffer = 0x10000,
        osWriteThrough = 0x20000,
        osRandomAccess = 0x40000,
        osSequentialScan = 0x80000,
    };

    enum SeekPosition
    {
        begin = 0x0,
        current = 0x1,
        end = 0x2
    };

    // The handle of a closed file (INVALID_HANDLE_VALUE; natively descriptor -1).
    static inline const HANDLE hFileNull = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-1));

    CFile();
    explicit CFile(HANDLE hFile);
    // Opens the file or throws CFileException*.
    CFile(LPCSTR lpszFileName, UINT nOpenFlags);
    virtual ~CFile();

    operator HANDLE() const { return m_hFile; }

    virtual BOOL Open(LPCSTR lpszFileName, UINT nOpenFlags, CFileException* pError = NULL);
    virtual UINT Read(void* lpBuf, UINT nCount);
    virtual void Write(const void* lpBuf, UINT nCount);
    virtual ULONGLONG Seek(LONGLONG lOff, UINT nFrom);
    void SeekToBegin();
    ULONGLONG SeekToEnd();
    virtual ULONGLONG GetPosition() const;
    virtual ULONGLONG GetLength() const;
    virtual void SetLength(ULONGLONG dwNewLen);
    virtual void Flush();
    virtual void Close();
    // Closes without throwing.
    virtual void Abort();

    // The name as opened (GetFilePath), its last component, and that without
    // the extension.
    virtual CString GetFileName() const;
    // commdlg.h makes GetFileTitle a macro (GetFileTitleA): the member keeps
    // one name in every source, and the A spelling forwards to it.
#pragma push_macro("GetFileTitle")
#undef GetFileTitle
    virtual CString GetFileTitle() const;
    CString GetFileTitleA() const
    {
        return GetFileTitle();
    }
#pragma pop_macro("GetFileTitle")
    virtual CString GetFilePath() const;
    virtual void SetFilePath(LPCSTR lpszNewName);

    static void Rename(LPCSTR lpszOldName, LPCSTR lpszNewName);
    static void Remove(LPCSTR lpszFileName);

    HANDLE m_hFile;

protected:
    BOOL m_bCloseOnDelete;
    CString m_strFileName;

private:
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;
};
