// A set of bits kept in 32-bit words; bit n lives in byte n / 8 of the words
// at bit n % 8 (the words' little-endian bytes).
#pragma once

#include <afx.h>

class CBitFlags
{
public:
    CBitFlags();
    ~CBitFlags();

    // Drops the old words and keeps nBitCount cleared bits.
    void Resize(DWORD nBitCount);
    DWORD GetBitCount() const { return m_nBitCount; }
    DWORD GetWordCount() const { return m_nWordCount; }
    DWORD* GetWords() { return m_pWords; }
    // False for a bit beyond the set.
    bool IsSet(DWORD nBit) const;

private:
    CBitFlags(const CBitFlags&) = delete;
    CBitFlags& operator=(const CBitFlags&) = delete;

    DWORD m_nBitCount;
    DWORD m_nWordCount;
    DWORD* m_pWords;
};
