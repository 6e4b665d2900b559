// Small helpers of the picture tests: pictures from known pixels, pixels back
// out of pictures and device contexts, and a temporary folder.
#pragma once

#include "Picture.h"
#include "PictureFixtures.h"
#include "MemoryCanvas.h"
#include "TempFolder.h"

#include <string>

namespace support
{
// Makes the picture hold these pixels (through a 32-bit DIB section).
void SetPixels(CPicture& picture, const fixtures::Pixels& pixels);
// The picture's pixels as 0xAARRGGBB (empty when it is invalid).
fixtures::Pixels GetPixels(const CPicture& picture);

// The shared memory canvas, its pixels as 0x00RRGGBB.
class Canvas : public CMemoryCanvas
{
public:
    Canvas(int width, int height, COLORREF fill) : CMemoryCanvas(width, height, fill) {}
    HDC dc() const { return GetSafeHdc(); }
    DWORD At(int x, int y) const { return Raw(x, y) & 0x00FFFFFF; }
};

// The shared temporary folder under the name these tests know.
using TempFolder = ::CTempFolder;

bool Near(DWORD a, DWORD b, int tolerance);
}
