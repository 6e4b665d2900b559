#include "PictureFixtures.h"

#include <string.h>

namespace fixtures
{
namespace
{
void Put16(Bytes& out, DWORD v)
{
    out.push_back(BYTE(v));
    out.push_back(BYTE(v >> 8));
}

void Put32(Bytes& out, DWORD v)
{
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

void PutBgra(Bytes& out, DWORD argb)
{
    out.push_back(BYTE(argb));
    out.push_back(BYTE(argb >> 8));
    out.push_back(BYTE(argb >> 16));
    out.push_back(BYTE(argb >> 24));
}

Bytes TgaHeader(BYTE imageType, BYTE mapType, WORD mapLength, BYTE mapBits, DWORD width, DWORD height, BYTE bits,
                BYTE descriptor)
{
    Bytes out;
    out.push_back(0); // no image id
    out.push_back(mapType);
    out.push_back(imageType);
    Put16(out, 0);
    Put16(out, mapLength);
    out.push_back(mapBits);
    Put16(out, 0);
    Put16(out, 0);
    Put16(out, width);
    Put16(out, height);
    out.push_back(bits);
    out.push_back(descriptor);
    return out;
}

// LZW codes for a GIF with a 2-bit minimum code size: a clear code before
// every two literals keeps the code width at 3 bits, so no table is needed.
Bytes GifImageData(const std::vector<BYTE>& index)
{
    const DWORD clear = 4, end = 5, width = 3;
    Bytes packed;
    DWORD bits = 0, count = 0;
    auto emit = [&](DWORD code) {
        bits |= code << count;
        count += width;
        while (count >= 8) {
            packed.push_back(BYTE(bits));
            bits >>= 8;
            count -= 8;
        }
    };
    for (size_t i = 0; i < index.size(); ++i) {
        if (i % 2 == 0)
            emit(clear);
        emit(index[i]);
    }
    emit(end);
    if (count)
        packed.push_back(BYTE(bits));

    Bytes out;
    out.push_back(2); // minimum code size
    for (size_t i = 0; i < packed.size(); i += 255) {
        size_t n = packed.size() - i < 255 ? packed.size() - i : 255;
        out.push_back(BYTE(n));
        out.insert(out.end(), packed.begin() + i, packed.begin() + i + n);
    }
    out.push_back(0);
    return out;
}
} // namespace

Pixels Solid(DWORD width, DWORD height, DWORD argb)
{
    Pixels p;
    p.width = width;
    p.height = height;
    p.argb.assign(size_t(width) * height, argb);
    return p;
}

Pixels Quadrants(DWORD width, DWORD height, DWORD tl, DWORD tr, DWORD bl, DWORD br)
{
    Pixels p = Solid(width, height, 0);
    for (DWORD y = 0; y < height; ++y)
        for (DWORD x = 0; x < width; ++x)
            p.argb[size_t(y) * width + x] = y < height / 2 ? (x < width / 2 ? tl : tr) : (x < width / 2 ? bl : br);
    return p;
}

Bytes Bmp24(const Pixels& pixels)
{
    const DWORD stride = (pixels.width * 3 + 3) & ~3u;
    const DWORD imageBytes = stride * pixels.height;
    Bytes out;
    out.push_back('B');
    out.push_back('M');
    Put32(out, 14 + 40 + imageBytes);
    Put32(out, 0);
    Put32(out, 14 + 40);
    Put32(out, 40);
    Put32(out, pixels.width);
    Put32(out, pixels.height);
    Put16(out, 1);
    Put16(out, 24);
    Put32(out, 0);
    Put32(out, imageBytes);
    Put32(out, 2835);
    Put32(out, 2835);
    Put32(out, 0);
    Put32(out, 0);
    for (DWORD row = 0; row < pixels.height; ++row) {
        DWORD y = pixels.height - 1 - row;
        for (DWORD x = 0; x < pixels.width; ++x) {
            DWORD c = pixels.At(x, y);
            out.push_back(BYTE(c));
            out.push_back(BYTE(c >> 8));
            out.push_back(BYTE(c >> 16));
        }
        for (DWORD pad = pixels.width * 3; pad < stride; ++pad)
            out.push_back(0);
    }
    return out;
}

Bytes Ico32(const Pixels& pixels)
{
    const DWORD maskStride = ((pixels.width + 31) / 32) * 4;
    const DWORD bytes = 40 + pixels.width * pixels.height * 4 + maskStride * pixels.height;
    Bytes out;
    Put16(out, 0);
    Put16(out, 1); // icon
    Put16(out, 1); // one image
    out.push_back(BYTE(pixels.width));
    out.push_back(BYTE(pixels.height));
    out.push_back(0);
    out.push_back(0);
    Put16(out, 1);
    Put16(out, 32);
    Put32(out, bytes);
    Put32(out, 6 + 16);
    Put32(out, 40);
    Put32(out, pixels.width);
    Put32(out, pixels.height * 2);
    Put16(out, 1);
    Put16(out, 32);
    Put32(out, 0);
    Put32(out, pixels.width * pixels.height * 4 + maskStride * pixels.height);
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, 0);
    for (DWORD row = 0; row < pixels.height; ++row)
        for (DWORD x = 0; x < pixels.width; ++x)
            PutBgra(out, pixels.At(x, pixels.height - 1 - row));
    for (DWORD row = 0; row < pixels.height; ++row) {
        Bytes mask(maskStride, 0);
        for (DWORD x = 0; x < pixels.width; ++x)
            if ((pixels.At(x, pixels.height - 1 - row) >> 24) == 0)
                mask[x / 8] |= BYTE(0x80 >> (x % 8));
        out.insert(out.end(), mask.begin(), mask.end());
    }
    return out;
}

Bytes Tga24(const Pixels& pixels)
{
    Bytes out = TgaHeader(2, 0, 0, 0, pixels.width, pixels.height, 24, 0);
    for (DWORD row = 0; row < pixels.height; ++row)
        for (DWORD x = 0; x < pixels.width; ++x) {
            DWORD c = pixels.At(x, pixels.height - 1 - row);
            out.push_back(BYTE(c));
            out.push_back(BYTE(c >> 8));
            out.push_back(BYTE(c >> 16));
        }
    return out;
}

Bytes Tga32Rle(const Pixels& pixels)
{
    Bytes out = TgaHeader(10, 0, 0, 0, pixels.width, pixels.height, 32, 0x28);
    const size_t count = pixels.argb.size();
    size_t i = 0;
    while (i < count) {
        size_t run = 1;
        while (i + run < count && run < 128 && pixels.argb[i + run] == pixels.argb[i])
            ++run;
        if (run > 1) {
            out.push_back(BYTE(0x80 | (run - 1)));
            PutBgra(out, pixels.argb[i]);
            i += run;
            continue;
        }
        size_t raw = 1;
        while (i + raw < count && raw < 128 &&
               (i + raw + 1 >= count || pixels.argb[i + raw] != pixels.argb[i + raw + 1]))
            ++raw;
        out.push_back(BYTE(raw - 1));
        for (size_t k = 0; k < raw; ++k)
            PutBgra(out, pixels.argb[i + k]);
        i += raw;
    }
    return out;
}

Bytes TgaGrey(DWORD width, DWORD height, const std::vector<BYTE>& grey)
{
    Bytes out = TgaHeader(3, 0, 0, 0, width, height, 8, 0x20);
    out.insert(out.end(), grey.begin(), grey.end());
    return out;
}

Bytes TgaMapped(DWORD width, DWORD height, const std::vector<DWORD>& palette, const std::vector<BYTE>& index)
{
    Bytes out = TgaHeader(1, 1, WORD(palette.size()), 24, width, height, 8, 0x20);
    for (DWORD c : palette) {
        out.push_back(BYTE(c));
        out.push_back(BYTE(c >> 8));
        out.push_back(BYTE(c >> 16));
    }
    out.insert(out.end(), index.begin(), index.end());
    return out;
}

Bytes Gif(DWORD width, DWORD height, const DWORD palette[4], const std::vector<GifFrame>& frames)
{
    Bytes out = {'G', 'I', 'F', '8', '9', 'a'};
    Put16(out, width);
    Put16(out, height);
    out.push_back(0x91); // global table of 4 entries, 2-bit colour resolution
    out.push_back(0);
    out.push_back(0);
    for (int i = 0; i < 4; ++i) {
        out.push_back(BYTE(palette[i] >> 16));
        out.push_back(BYTE(palette[i] >> 8));
        out.push_back(BYTE(palette[i]));
    }
    // Loop forever.
    const BYTE loop[] = {0x21, 0xFF, 0x0B, 'N', 'E',  'T',  'S',  'C',  'A', 'P',
                         'E',  '2',  '.',  '0', 0x03, 0x01, 0x00, 0x00, 0x00};
    out.insert(out.end(), loop, loop + sizeof(loop));
    for (const GifFrame& frame : frames) {
        out.push_back(0x21);
        out.push_back(0xF9);
        out.push_back(4);
        out.push_back(BYTE((1 << 2) | (frame.transparent >= 0 ? 1 : 0)));
        Put16(out, frame.delayHundredths);
        out.push_back(BYTE(frame.transparent >= 0 ? frame.transparent : 0));
        out.push_back(0);
        out.push_back(0x2C);
        Put16(out, 0);
        Put16(out, 0);
        Put16(out, width);
        Put16(out, height);
        out.push_back(0);
        Bytes data = GifImageData(frame.index);
        out.insert(out.end(), data.begin(), data.end());
    }
    out.push_back(0x3B);
    return out;
}
}
