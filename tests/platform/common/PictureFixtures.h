// Picture files built byte by byte for the tests, so that every decoder is
// checked against data whose pixels we know.
#pragma once

#include <windows.h>

#include <vector>

namespace fixtures
{
typedef std::vector<BYTE> Bytes;

// Pixels as 0xAARRGGBB, rows top to bottom.
struct Pixels
{
    DWORD width = 0;
    DWORD height = 0;
    std::vector<DWORD> argb;
    DWORD At(DWORD x, DWORD y) const { return argb[size_t(y) * width + x]; }
};

Pixels Solid(DWORD width, DWORD height, DWORD argb);
// Four quadrants: top-left, top-right, bottom-left, bottom-right.
Pixels Quadrants(DWORD width, DWORD height, DWORD tl, DWORD tr, DWORD bl, DWORD br);

// A 24-bit BMP (bottom-up rows); alpha is dropped.
Bytes Bmp24(const Pixels& pixels);
// A 32-bit ICO with one image (and its AND mask from alpha 0).
Bytes Ico32(const Pixels& pixels);

// TGA: 24-bit uncompressed bottom-up, 32-bit run-length top-down,
// 8-bit grey, and 8-bit colour-mapped.
Bytes Tga24(const Pixels& pixels);
Bytes Tga32Rle(const Pixels& pixels);
Bytes TgaGrey(DWORD width, DWORD height, const std::vector<BYTE>& grey);
Bytes TgaMapped(DWORD width, DWORD height, const std::vector<DWORD>& palette, const std::vector<BYTE>& index);

struct GifFrame
{
    std::vector<BYTE> index; // palette indexes, width x height
    WORD delayHundredths = 0;
    int transparent = -1;
};
// A GIF89a with a four-colour palette (0xRRGGBB) and full-size frames.
Bytes Gif(DWORD width, DWORD height, const DWORD palette[4], const std::vector<GifFrame>& frames);
}
