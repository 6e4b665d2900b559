// CArchive: a buffered, typed stream over a CFile in the class library's
// binary form (little-endian scalars; strings and counts with length prefixes).
//
// Loading past the end of the file throws CArchiveException*(endOfFile); the
// raw Read returns fewer bytes instead. A length read from the file is never
// trusted for an allocation: a string grows only as its bytes arrive.
#pragma once

#include "afxexcept.h"
#include "afxfile.h"
#include "afxstr.h"

class CArchive
{
public:
    enum Mode
    {
        store = 0,
        load = 1,
        bNoFlushOnDelete = 2,
    };

    CArchive(CFile* pFile, UINT nMode, int nBufSize = 4096, void* lpBuf = NULL);
    // Closes (flushing a storing archive) unless Close or Abort came first;
    // failures there are swallowed, so call Close to see them.
    ~CArchive();

    BOOL IsLoading() const { return (m_nMode & load) != 0; }
    BOOL IsStoring() const { return (m_nMode & load) == 0; }
    BOOL IsBufferEmpty() const { return m_lpBufCur == m_lpBufMax; }
    // Loading: bytes taken from the file into the buffer but not read yet, so
    // the read position is the file's position less these, without a Flush.
    UINT GetBufferedCount() const { return IsLoading() ? (UINT)(m_lpBufMax - m_lpBufCur) : 0; }
    CFile* GetFile() const { return m_pFile; }

    // Raw bytes. Read returns how many it got (fewer only at the end of the file).
    UINT Read(void* lpBuf, UINT nMax);
    void Write(const void* lpBuf, UINT nMax);
    // Storing: writes the buffer to the file. Loading: gives back what was
    // buffered but not read, so the file's position is where reading stopped.
    void Flush();
    void Close();
    void Abort();

    // Text lines. ReadString drops the "\n" or "\r\n" and returns FALSE at the
    // end of the file; WriteString writes the text as it is.
    BOOL ReadString(CString& rString);
    LPSTR ReadString(LPSTR lpsz, UINT nMax);
    void WriteString(LPCSTR lpsz);

    // Counts: u16 below 0xFFFF, else 0xFFFF and u32 (below 0xFFFFFFFF, else
    // 0xFFFFFFFF and u64).
    DWORD_PTR ReadCount();
    void WriteCount(DWORD_PTR dwCount);

    // String length prefix: u8 below 0xFF; else 0xFF and u16 below 0xFFFE;
    // else 0xFF, 0xFFFF and u32. 0xFF 0xFFFE announces UTF-16 characters, whose
    // length follows in the same form. Returns the length in characters and
    // sets nCharSize to 1 or 2.
    UINT ReadStringLength(int& nCharSize);
    void WriteStringLength(UINT nLength);

    CArchive& operator<<(BYTE by);
    CArchive& operator<<(WORD w);
    CArchive& operator<<(int i);
    CArchive& operator<<(UINT u);
    CArchive& operator<<(short w);
    CArchive& operator<<(char ch);
    CArchive& operator<<(bool b);
    CArchive& operator<<(LONGLONG ll);
    CArchive& operator<<(ULONGLONG ull);
    CArchive& operator<<(float f);
    CArchive& operator<<(double d);
#ifndef AFX_LONG_IS_INT
    CArchive& operator<<(LONG l);
    CArchive& operator<<(DWORD dw);
#endif

    CArchive& operator>>(BYTE& by);
    CArchive& operator>>(WORD& w);
    CArchive& operator>>(int& i);
    CArchive& operator>>(UINT& u);
    CArchive& operator>>(short& w);
    CArchive& operator>>(char& ch);
    CArchive& operator>>(bool& b);
    CArchive& operator>>(LONGLONG& ll);
    CArchive& operator>>(ULONGLONG& ull);
    CArchive& operator>>(float& f);
    CArchive& operator>>(double& d);
#ifndef AFX_LONG_IS_INT
    CArchive& operator>>(LONG& l);
    CArchive& operator>>(DWORD& dw);
#endif

    CFile* m_pFile;

private:
    friend CArchive& operator>>(CArchive& ar, class CString& str);
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    void CheckStoring();
    void CheckLoading();
    // Loading: makes at least nBytes (at most the buffer size) available in
    // the buffer, or throws endOfFile.
    void FillBuffer(UINT nBytes);
    void WriteBuffer();
    template <class T> void Put(T value);
    template <class T> T Get();
    // Reads exactly nBytes into a growing string, or throws endOfFile.
    void ReadExact(CString& str, UINT nBytes);
    [[noreturn]] void Throw(int cause);

    UINT m_nMode;
    int m_nBufSize;
    BOOL m_bUserBuf;
    BYTE* m_lpBufStart;
    BYTE* m_lpBufCur;
    BYTE* m_lpBufMax;
};

CArchive& operator<<(CArchive& ar, const CString& str);
// A C string is written as a CString (without this, ar << "text" would
// convert the pointer to bool).
CArchive& operator<<(CArchive& ar, LPCSTR psz);
CArchive& operator>>(CArchive& ar, CString& str);
