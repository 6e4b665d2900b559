// An owned byte buffer of a fixed size.
#pragma once

#include <afx.h>

class CZipBuffer
{
public:
    CZipBuffer();
    explicit CZipBuffer(DWORD uSize, bool bZero = true);
    CZipBuffer(const CZipBuffer& other);
    CZipBuffer& operator=(const CZipBuffer& other);
    ~CZipBuffer();

    // Replaces the contents with uSize bytes (none for 0).
    void Allocate(DWORD uSize, bool bZero = true);
    // Replaces the contents with a copy of the bytes.
    void Assign(const void* pData, DWORD uSize);
    void Release();

    bool IsAllocated() const { return m_pData != NULL; }
    DWORD GetSize() const { return m_uSize; }
    BYTE* GetBuffer() { return m_pData; }
    const BYTE* GetBuffer() const { return m_pData; }

private:
    BYTE* m_pData;
    DWORD m_uSize;
};
