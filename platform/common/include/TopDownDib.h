// The 32-bit top-down DIB that pictures, skins and regions draw into and
// scan: row 0 is the top row, 4 bytes a pixel (blue, green, red, alpha),
// rows without padding.
#pragma once

#include <windows.h>

// The header of a cx x cy top-down 32-bit DIB, for CreateDIBSection and GetDIBits.
void InitTopDownDibInfo(BITMAPINFO& info, int cx, int cy);

// A cx x cy top-down 32-bit DIB section and its pixels, or NULL (and no
// bitmap left behind) when it cannot be made.
HBITMAP CreateTopDownDib(HDC hdc, int cx, int cy, void** ppBits);
