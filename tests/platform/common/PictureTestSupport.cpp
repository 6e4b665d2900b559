#include "PictureTestSupport.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

namespace support
{
void SetPixels(CPicture& picture, const fixtures::Pixels& pixels)
{
    BITMAPINFO info;
    memset(&info, 0, sizeof(info));
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = LONG(pixels.width);
    info.bmiHeader.biHeight = -LONG(pixels.height);
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = NULL;
    HBITMAP bitmap = CreateDIBSection(NULL, &info, DIB_RGB_COLORS, &bits, NULL, 0);
    memcpy(bits, pixels.argb.data(), pixels.argb.size() * 4);
    picture.CreateFromHBITMAP(bitmap);
    DeleteObject(bitmap);
}

fixtures::Pixels GetPixels(const CPicture& picture)
{
    fixtures::Pixels out;
    HBITMAP bitmap = picture.MakeBitmap();
    if (bitmap == NULL)
        return out;
    DIBSECTION section;
    GetObject(bitmap, sizeof(section), &section);
    out.width = picture.GetWidth();
    out.height = picture.GetHeight();
    const DWORD* bits = static_cast<const DWORD*>(section.dsBm.bmBits);
    out.argb.assign(bits, bits + size_t(out.width) * out.height);
    DeleteObject(bitmap);
    return out;
}

bool Near(DWORD a, DWORD b, int tolerance)
{
    for (int shift = 0; shift < 32; shift += 8) {
        int d = int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF);
        if (d < -tolerance || d > tolerance)
            return false;
    }
    return true;
}
}
