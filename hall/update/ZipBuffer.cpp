#include "ZipBuffer.h"

#include <string.h>

CZipBuffer::CZipBuffer() : m_pData(NULL), m_uSize(0) {}

CZipBuffer::CZipBuffer(DWORD uSize, bool bZero) : m_pData(NULL), m_uSize(0)
{
    Allocate(uSize, bZero);
}

CZipBuffer::CZipBuffer(const CZipBuffer& other) : m_pData(NULL), m_uSize(0)
{
    Assign(other.m_pData, other.m_uSize);
}

CZipBuffer& CZipBuffer::operator=(const CZipBuffer& other)
{
    if (this != &other)
        Assign(other.m_pData, other.m_uSize);
    return *this;
}

CZipBuffer::~CZipBuffer()
{
    Release();
}

void CZipBuffer::Allocate(DWORD uSize, bool bZero)
{
    Release();
    if (uSize == 0)
        return;
    m_pData = new BYTE[uSize];
    m_uSize = uSize;
    if (bZero)
        memset(m_pData, 0, uSize);
}

void CZipBuffer::Assign(const void* pData, DWORD uSize)
{
    if (pData == NULL || uSize == 0) {
        Release();
        return;
    }
    BYTE* pNew = new BYTE[uSize];
    memcpy(pNew, pData, uSize);
    Release();
    m_pData = pNew;
    m_uSize = uSize;
}

void CZipBuffer::Release()
{
    delete[] m_pData;
    m_pData = NULL;
    m_uSize = 0;
}
