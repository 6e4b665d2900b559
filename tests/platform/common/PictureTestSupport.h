// Small helpers of the picture tests: pictures from known pixels, pixels back
// out of pictures and device contexts, and a temporary folder.
#pragma once

#include "Picture.h"
#include "PictureFixtures.h"
#include "TempFolder.h"

#include <string>

namespace support
{
// Makes the picture hold these pixels (through a 32-bit DIB section).
void SetPixels(CPicture& picture, const fixtures::Pixels& pixels);
// The picture's pixels as 0xAARRGGBB (empty when it is invalid).
fixtures::Pixels GetPixels(const CPicture& picture);

// A 32-bit memory canvas filled with one colour.
class Canvas
{
public:
    Canvas(int width, int height, COLORREF fill);
    ~Canvas();
    HDC dc() const { return m_dc; }
    // 0x00RRGGBB of a pixel.
    DWORD At(int x, int y) const;

private:
    HDC m_dc;
    HBITMAP m_bitmap;
    HGDIOBJ m_old;
    DWORD* m_bits;
    int m_width;
};

// The shared temporary folder under the name these tests know.
using TempFolder = ::CTempFolder;

bool Near(DWORD a, DWORD b, int tolerance);
}
