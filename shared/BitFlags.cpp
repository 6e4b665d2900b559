#include "BitFlags.h"

#include <string.h>

CBitFlags::CBitFlags() : m_nBitCount(0), m_nWordCount(0), m_pWords(NULL) {}

CBitFlags::~CBitFlags()
{
    delete[] m_pWords;
}

void CBitFlags::Resize(DWORD nBitCount)
{
    delete[] m_pWords;
    m_pWords = NULL;
    m_nBitCount = nBitCount;
    m_nWordCount = DWORD((ULONGLONG(nBitCount) + 31) / 32);
    if (m_nWordCount > 0) {
        m_pWords = new DWORD[m_nWordCount];
        memset(m_pWords, 0, m_nWordCount * sizeof(DWORD));
    }
}

bool CBitFlags::IsSet(DWORD nBit) const
{
    if (nBit >= m_nBitCount)
        return false;
    const BYTE* pBytes = reinterpret_cast<const BYTE*>(m_pWords);
    return (pBytes[nBit / 8] & (1u << (nBit % 8))) != 0;
}
