// Decoders and the encoder behind CPicture (inside common.dll only).
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

class CPictureMemFile;

// One decoded image: top-down 32-bit pixels (blue, green, red, alpha).
struct PictureImage
{
    std::unique_ptr<BYTE[]> pixels;
    DWORD width = 0;
    DWORD height = 0;
    WORD bpp = 32;
    DWORD type = 0;
    DWORD delay = 0;

    // Allocates zeroed pixels; false when the size is not allowed.
    bool Allocate(DWORD w, DWORD h);
    size_t ByteCount() const { return size_t(width) * height * 4; }
};

namespace PictureCodec
{
bool IsSizeAllowed(DWORD width, DWORD height);
bool IsBppAllowed(DWORD bpp);

// The type of the data by its signature; TGA, which has none, only when its
// header holds up. PICTURE_TYPE_UNKNOWN when nothing fits.
DWORD DetectType(const BYTE* data, DWORD size);

// Decodes through GDI+. With all, every frame goes to frames; otherwise only
// frame `frame`. total receives the number of frames in the data.
bool DecodeGdiplus(const BYTE* data, DWORD size, DWORD type, long frame, bool all, std::vector<PictureImage>& frames,
                   long& total);

bool DecodeTga(const BYTE* data, DWORD size, PictureImage& image);

// A packed DIB (header, colour table, bits) of `size` bytes.
bool DecodePackedDib(const BYTE* dib, DWORD size, PictureImage& image);

// Encodes PNG, BMP or JPEG. Opaque pictures are written without alpha.
bool Encode(const BYTE* pixels, DWORD width, DWORD height, bool opaque, DWORD type, CPictureMemFile& file);
}
