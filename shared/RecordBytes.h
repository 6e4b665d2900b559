// A received body read where it lies: the archive's wire forms (scalars,
// counts, archive strings) taken straight from the bytes, with no file and
// no buffer between. Long lists (the game list) are read this way; the
// records read from it are the archive path's, field for field.
//
// Every read checks the bytes left first. A short or inconsistent body
// throws CArchiveException* with the cause the archive path gives, so one
// record reader serves both.
#pragma once

#include <afx.h>

#include <string.h>

class CRecordBytes
{
public:
    CRecordBytes(const void* pData, UINT nSize)
        : m_pStart(static_cast<const BYTE*>(pData)), m_pNext(m_pStart), m_pEnd(m_pStart + (pData != NULL ? nSize : 0))
    {}

    bool IsStoring() const { return false; }
    bool IsLoading() const { return true; }

    UINT GetBytesLeft() const { return UINT(m_pEnd - m_pNext); }
    // Bytes read so far, and where they start.
    UINT GetReadCount() const { return UINT(m_pNext - m_pStart); }
    const BYTE* GetStart() const { return m_pStart; }

    // The next nBytes, which must be there (endOfFile otherwise).
    const BYTE* Take(UINT nBytes)
    {
        if (nBytes > GetBytesLeft())
            AfxThrowArchiveException(CArchiveException::endOfFile);
        const BYTE* p = m_pNext;
        m_pNext += nBytes;
        return p;
    }

    // Scalars: little-endian, without padding.
    CRecordBytes& operator>>(BYTE& value) { return Get(value); }
    CRecordBytes& operator>>(WORD& value) { return Get(value); }
    CRecordBytes& operator>>(DWORD& value) { return Get(value); }
    CRecordBytes& operator>>(LONG& value) { return Get(value); }
    CRecordBytes& operator>>(LONGLONG& value) { return Get(value); }
    CRecordBytes& operator>>(bool& value)
    {
        value = *Take(1) != 0;
        return *this;
    }

    // The class library's count: u16, or 0xFFFF and u32, or 0xFFFFFFFF and u64.
    DWORD_PTR ReadCount();
    // An archive string's length; nCharSize 2 for a wide-character writer's.
    UINT ReadStringLength(int& nCharSize);

private:
    template <class T> CRecordBytes& Get(T& value)
    {
        memcpy(&value, Take(sizeof(T)), sizeof(T));
        return *this;
    }

    const BYTE* m_pStart;
    const BYTE* m_pNext;
    const BYTE* m_pEnd;
};
