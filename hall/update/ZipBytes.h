// Little-endian field access for the zip records.
#pragma once

#include <afx.h>

// The records are built byte by byte, so both builds write the same layout;
// the fields themselves must have their fixed widths.
static_assert(sizeof(WORD) == 2 && sizeof(DWORD) == 4, "zip record fields are 16 and 32 bits");

namespace ZipBytes
{

inline WORD GetWord(const BYTE* p)
{
    return (WORD)(p[0] | (p[1] << 8));
}

inline DWORD GetDword(const BYTE* p)
{
    return (DWORD)p[0] | ((DWORD)p[1] << 8) | ((DWORD)p[2] << 16) | ((DWORD)p[3] << 24);
}

inline void PutWord(BYTE* p, WORD v)
{
    p[0] = (BYTE)v;
    p[1] = (BYTE)(v >> 8);
}

inline void PutDword(BYTE* p, DWORD v)
{
    p[0] = (BYTE)v;
    p[1] = (BYTE)(v >> 8);
    p[2] = (BYTE)(v >> 16);
    p[3] = (BYTE)(v >> 24);
}

} // namespace ZipBytes
