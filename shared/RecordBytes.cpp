#include "RecordBytes.h"

DWORD_PTR CRecordBytes::ReadCount()
{
    WORD w = 0;
    *this >> w;
    if (w != 0xFFFF)
        return w;
    DWORD dw = 0;
    *this >> dw;
    if (dw != 0xFFFFFFFF)
        return dw;
    LONGLONG ll = 0;
    *this >> ll;
    if (ULONGLONG(ll) > ULONGLONG(DWORD_PTR(-1)))
        AfxThrowArchiveException(CArchiveException::badIndex);
    return DWORD_PTR(ll);
}

UINT CRecordBytes::ReadStringLength(int& nCharSize)
{
    nCharSize = 1;
    BYTE b = 0;
    *this >> b;
    if (b < 0xFF)
        return b;
    WORD w = 0;
    *this >> w;
    if (w == 0xFFFE) {
        nCharSize = 2;
        *this >> b;
        if (b < 0xFF)
            return b;
        *this >> w;
    }
    if (w < 0xFFFF)
        return w;
    DWORD dw = 0;
    *this >> dw;
    // A 64-bit length: nothing that large is ever read.
    if (dw == 0xFFFFFFFF)
        AfxThrowArchiveException(CArchiveException::badIndex);
    return dw;
}
