#include "TopDownDib.h"

#include <string.h>

void InitTopDownDibInfo(BITMAPINFO& info, int cx, int cy)
{
    memset(&info, 0, sizeof(info));
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = cx;
    info.bmiHeader.biHeight = -cy;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
}

HBITMAP CreateTopDownDib(HDC hdc, int cx, int cy, void** ppBits)
{
    *ppBits = NULL;
    if (cx <= 0 || cy <= 0)
        return NULL;
    BITMAPINFO info;
    InitTopDownDibInfo(info, cx, cy);
    void* pBits = NULL;
    HBITMAP hBitmap = ::CreateDIBSection(hdc, &info, DIB_RGB_COLORS, &pBits, NULL, 0);
    if (hBitmap != NULL && pBits == NULL) {
        ::DeleteObject(hBitmap);
        hBitmap = NULL;
    }
    if (hBitmap != NULL)
        *ppBits = pBits;
    return hBitmap;
}
