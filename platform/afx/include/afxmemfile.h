// CMemFile: a file in memory that grows by steps of nGrowBytes.
//
// A buffer given to the constructor or to Attach is the caller's: with
// nGrowBytes 0 its whole size is the file's contents and it never grows
// (writing past it throws CMemoryException*); otherwise the file starts empty
// over it and, when it must grow, moves to a block of its own (the caller's
// buffer is never reallocated or freed). Detach hands the current block to
// the caller (free() it when it was the file's own).
#pragma once

#include "afxfile.h"

class CMemFile : public CFile
{
    DECLARE_DYNAMIC(CMemFile)
public:
    explicit CMemFile(UINT nGrowBytes = 1024);
    CMemFile(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes = 0);
    virtual ~CMemFile();

    void Attach(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes = 0);
    BYTE* Detach();

    virtual UINT Read(void* lpBuf, UINT nCount);
    virtual void Write(const void* lpBuf, UINT nCount);
    virtual ULONGLONG Seek(LONGLONG lOff, UINT nFrom);
    virtual ULONGLONG GetPosition() const;
    virtual ULONGLONG GetLength() const;
    virtual void SetLength(ULONGLONG dwNewLen);
    virtual void Flush();
    virtual void Close();
    virtual void Abort();

protected:
    // The memory of the file; a derived class may take it from elsewhere.
    virtual BYTE* Alloc(SIZE_T nBytes);
    virtual BYTE* Realloc(BYTE* lpMem, SIZE_T nBytes);
    virtual BYTE* Memcpy(BYTE* lpMemTarget, const BYTE* lpMemSource, SIZE_T nBytes);
    virtual void Free(BYTE* lpMem);
    // Makes the buffer at least dwNewLen bytes, or throws CMemoryException*.
    virtual void GrowFile(SIZE_T dwNewLen);

    UINT m_nGrowBytes;
    SIZE_T m_nPosition;
    SIZE_T m_nBufferSize;
    SIZE_T m_nFileSize;
    BYTE* m_lpBuffer;
    // The buffer was allocated by this file (Alloc), so it may be reallocated and freed.
    BOOL m_bAutoDelete;
};
