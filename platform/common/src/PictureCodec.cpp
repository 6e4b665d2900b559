#include "PictureCodec.h"

#include "Picture.h"
#include "PictureMemFile.h"

#include <objidl.h>
#include <gdiplus.h>

#include <mutex>
#include <string.h>

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

bool PictureImage::Allocate(DWORD w, DWORD h)
{
    if (!PictureCodec::IsSizeAllowed(w, h))
        return false;
    pixels.reset(new (std::nothrow) BYTE[size_t(w) * h * 4]());
    if (!pixels)
        return false;
    width = w;
    height = h;
    return true;
}

namespace PictureCodec
{
namespace
{
// GDI+ is started once per process and left running: stopping it while
// another module may still hold GDI+ objects is not safe.
bool EnsureGdiplus()
{
    static std::once_flag once;
    static bool started = false;
    std::call_once(once, [] {
        GdiplusStartupInput input;
        ULONG_PTR token = 0;
        started = GdiplusStartup(&token, &input, NULL) == Ok;
    });
    return started;
}

class StreamOnBytes
{
public:
    StreamOnBytes(const BYTE* data, DWORD size) : m_stream(NULL)
    {
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size ? size : 1);
        if (memory == NULL)
            return;
        void* target = GlobalLock(memory);
        if (target == NULL) {
            GlobalFree(memory);
            return;
        }
        memcpy(target, data, size);
        GlobalUnlock(memory);
        if (FAILED(CreateStreamOnHGlobal(memory, TRUE, &m_stream))) {
            GlobalFree(memory);
            m_stream = NULL;
        }
    }
    ~StreamOnBytes()
    {
        if (m_stream)
            m_stream->Release();
    }
    IStream* Get() const { return m_stream; }

private:
    IStream* m_stream;
};

class ImageHolder
{
public:
    ImageHolder() : image(NULL) {}
    ~ImageHolder()
    {
        if (image)
            GdipDisposeImage(image);
    }
    GpImage* image;
};

const GUID* FormatOfType(DWORD type)
{
    switch (type) {
    case PICTURE_TYPE_BMP: return &ImageFormatBMP;
    case PICTURE_TYPE_GIF: return &ImageFormatGIF;
    case PICTURE_TYPE_JPG: return &ImageFormatJPEG;
    case PICTURE_TYPE_PNG: return &ImageFormatPNG;
    case PICTURE_TYPE_ICO: return &ImageFormatIcon;
    default: return NULL;
    }
}

const WCHAR* MimeOfType(DWORD type)
{
    switch (type) {
    case PICTURE_TYPE_BMP: return L"image/bmp";
    case PICTURE_TYPE_JPG: return L"image/jpeg";
    case PICTURE_TYPE_PNG: return L"image/png";
    default: return NULL;
    }
}

WORD ReadU16(const BYTE* p)
{
    return WORD(p[0] | (p[1] << 8));
}

DWORD ReadU32(const BYTE* p)
{
    return DWORD(p[0]) | (DWORD(p[1]) << 8) | (DWORD(p[2]) << 16) | (DWORD(p[3]) << 24);
}

struct TgaHeader
{
    BYTE idLength;
    BYTE mapType;
    BYTE imageType;
    WORD mapFirst;
    WORD mapLength;
    BYTE mapEntryBits;
    WORD width;
    WORD height;
    BYTE pixelBits;
    BYTE descriptor;
};

const DWORD kTgaHeaderSize = 18;

bool ReadTgaHeader(const BYTE* data, DWORD size, TgaHeader& h)
{
    if (data == NULL || size < kTgaHeaderSize)
        return false;
    h.idLength = data[0];
    h.mapType = data[1];
    h.imageType = data[2];
    h.mapFirst = ReadU16(data + 3);
    h.mapLength = ReadU16(data + 5);
    h.mapEntryBits = data[7];
    h.width = ReadU16(data + 12);
    h.height = ReadU16(data + 14);
    h.pixelBits = data[16];
    h.descriptor = data[17];

    if (h.width == 0 || h.height == 0 || h.mapType > 1 || (h.descriptor & 0xC0) != 0)
        return false;
    const BYTE base = h.imageType & ~8;
    if (base == 1) {
        if (h.mapType != 1 || h.pixelBits != 8 || h.mapLength == 0)
            return false;
        if (h.mapEntryBits != 15 && h.mapEntryBits != 16 && h.mapEntryBits != 24 && h.mapEntryBits != 32)
            return false;
    } else if (base == 2) {
        if (h.pixelBits != 15 && h.pixelBits != 16 && h.pixelBits != 24 && h.pixelBits != 32)
            return false;
    } else if (base == 3) {
        if (h.pixelBits != 8)
            return false;
    } else {
        return false;
    }
    if (h.imageType != base && h.imageType != (base | 8))
        return false;
    if (h.mapType == 1 && h.mapEntryBits != 15 && h.mapEntryBits != 16 && h.mapEntryBits != 24 && h.mapEntryBits != 32)
        return false;
    return true;
}

// Converts one stored TGA value of `bits` bits to blue, green, red, alpha.
void TgaColour(const BYTE* p, BYTE bits, BYTE* out)
{
    switch (bits) {
    case 15:
    case 16: {
        WORD v = ReadU16(p);
        BYTE r = BYTE((v >> 10) & 0x1F), g = BYTE((v >> 5) & 0x1F), b = BYTE(v & 0x1F);
        out[0] = BYTE((b << 3) | (b >> 2));
        out[1] = BYTE((g << 3) | (g >> 2));
        out[2] = BYTE((r << 3) | (r >> 2));
        out[3] = 255;
        break;
    }
    case 24:
        out[0] = p[0];
        out[1] = p[1];
        out[2] = p[2];
        out[3] = 255;
        break;
    case 32:
        out[0] = p[0];
        out[1] = p[1];
        out[2] = p[2];
        out[3] = p[3];
        break;
    default: // 8-bit grey
        out[0] = out[1] = out[2] = p[0];
        out[3] = 255;
        break;
    }
}
} // namespace

bool IsSizeAllowed(DWORD width, DWORD height)
{
    return width > 0 && height > 0 && width <= CPicture::kMaxSide && height <= CPicture::kMaxSide &&
           ULONGLONG(width) * height <= CPicture::kMaxPixels;
}

bool IsBppAllowed(DWORD bpp)
{
    return bpp == 1 || bpp == 4 || bpp == 8 || bpp == 16 || bpp == 24 || bpp == 32;
}

DWORD DetectType(const BYTE* data, DWORD size)
{
    static const BYTE png[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    if (data == NULL || size == 0)
        return PICTURE_TYPE_UNKNOWN;
    if (size >= 8 && memcmp(data, png, 8) == 0)
        return PICTURE_TYPE_PNG;
    if (size >= 6 && (memcmp(data, "GIF87a", 6) == 0 || memcmp(data, "GIF89a", 6) == 0))
        return PICTURE_TYPE_GIF;
    if (size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF)
        return PICTURE_TYPE_JPG;
    if (size >= 14 && data[0] == 'B' && data[1] == 'M')
        return PICTURE_TYPE_BMP;
    if (size >= 6 && ReadU16(data) == 0 && ReadU16(data + 2) == 1 && ReadU16(data + 4) > 0)
        return PICTURE_TYPE_ICO;
    TgaHeader h;
    if (ReadTgaHeader(data, size, h))
        return PICTURE_TYPE_TGA;
    return PICTURE_TYPE_UNKNOWN;
}

bool DecodeGdiplus(const BYTE* data, DWORD size, DWORD type, long frame, bool all, std::vector<PictureImage>& frames,
                   long& total)
{
    frames.clear();
    total = 0;
    const GUID* expected = FormatOfType(type);
    if (data == NULL || size == 0 || expected == NULL || !EnsureGdiplus())
        return false;

    StreamOnBytes stream(data, size);
    if (stream.Get() == NULL)
        return false;
    ImageHolder holder;
    GpBitmap* bitmap = NULL;
    if (GdipCreateBitmapFromStream(stream.Get(), &bitmap) != Ok || bitmap == NULL)
        return false;
    holder.image = bitmap;

    // Some GDI+ builds report icons as plain bitmaps once decoded.
    GUID format;
    if (GdipGetImageRawFormat(holder.image, &format) != Ok)
        return false;
    if (!IsEqualGUID(format, *expected) && !(type == PICTURE_TYPE_ICO && (IsEqualGUID(format, ImageFormatBMP) ||
                                                                          IsEqualGUID(format, ImageFormatMemoryBMP))))
        return false;

    UINT width = 0, height = 0;
    if (GdipGetImageWidth(holder.image, &width) != Ok || GdipGetImageHeight(holder.image, &height) != Ok ||
        !IsSizeAllowed(width, height))
        return false;

    PixelFormat pixelFormat = 0;
    WORD bpp = 32;
    if (GdipGetImagePixelFormat(holder.image, &pixelFormat) == Ok) {
        WORD bits = WORD((pixelFormat >> 8) & 0xFF);
        if (IsBppAllowed(bits))
            bpp = bits;
        else if (bits == 48 || bits == 64)
            bpp = bits == 48 ? 24 : 32;
    }
    if (type == PICTURE_TYPE_GIF)
        bpp = 8; // what the format can hold, whatever GDI+ decodes it into

    GUID dimension = FrameDimensionPage;
    UINT dimensions = 0, count = 1;
    if (GdipImageGetFrameDimensionsCount(holder.image, &dimensions) == Ok && dimensions > 0) {
        std::vector<GUID> list(dimensions);
        if (GdipImageGetFrameDimensionsList(holder.image, list.data(), dimensions) == Ok) {
            dimension = list[0];
            if (GdipImageGetFrameCount(holder.image, &dimension, &count) != Ok || count == 0)
                count = 1;
        }
    }
    // Every frame is a full picture: all of them together stay within one picture's limit.
    if (count > 4096 || (all && ULONGLONG(count) * width * height > CPicture::kMaxPixels))
        return false;
    total = long(count);

    // Frame delays come in hundredths of a second, one u32 per frame.
    std::vector<DWORD> delays(count, 0);
    UINT itemSize = 0;
    if (type == PICTURE_TYPE_GIF && GdipGetPropertyItemSize(holder.image, PropertyTagFrameDelay, &itemSize) == Ok &&
        itemSize >= sizeof(PropertyItem)) {
        std::vector<BYTE> buffer(itemSize);
        PropertyItem* item = reinterpret_cast<PropertyItem*>(buffer.data());
        if (GdipGetPropertyItem(holder.image, PropertyTagFrameDelay, itemSize, item) == Ok && item->value != NULL) {
            const BYTE* first = static_cast<const BYTE*>(item->value);
            const BYTE* end = buffer.data() + buffer.size();
            if (first >= buffer.data() && first <= end) {
                size_t held = size_t(end - first);
                if (item->length < held)
                    held = item->length;
                size_t n = held / 4;
                for (size_t i = 0; i < n && i < count; ++i) {
                    DWORD hundredths = ReadU32(first + i * 4);
                    delays[i] = hundredths > 0xFFFFFFFFu / 10 ? 0xFFFFFFFFu : hundredths * 10;
                }
            }
        }
    }

    long firstFrame = all ? 0 : frame;
    long lastFrame = all ? long(count) - 1 : frame;
    if (firstFrame < 0 || lastFrame >= long(count))
        return false;

    for (long i = firstFrame; i <= lastFrame; ++i) {
        if (count > 1 && GdipImageSelectActiveFrame(holder.image, &dimension, UINT(i)) != Ok)
            return false;
        PictureImage image;
        if (!image.Allocate(width, height))
            return false;
        GpRect rect(0, 0, INT(width), INT(height));
        BitmapData locked;
        memset(&locked, 0, sizeof(locked));
        if (GdipBitmapLockBits(bitmap, &rect, ImageLockModeRead, PixelFormat32bppARGB, &locked) != Ok)
            return false;
        bool shaped = locked.Scan0 != NULL && locked.Width == width && locked.Height == height &&
                      (locked.Stride >= INT(width * 4) || -locked.Stride >= INT(width * 4));
        if (shaped) {
            for (UINT y = 0; y < height; ++y) {
                const BYTE* row = static_cast<const BYTE*>(locked.Scan0) + LONG_PTR(y) * locked.Stride;
                memcpy(image.pixels.get() + size_t(y) * width * 4, row, size_t(width) * 4);
            }
        }
        GdipBitmapUnlockBits(bitmap, &locked);
        if (!shaped)
            return false;
        image.bpp = bpp;
        image.type = type;
        image.delay = delays[size_t(i)];
        frames.push_back(std::move(image));
    }
    return true;
}

bool DecodeTga(const BYTE* data, DWORD size, PictureImage& image)
{
    TgaHeader h;
    if (!ReadTgaHeader(data, size, h))
        return false;

    DWORD offset = kTgaHeaderSize + h.idLength;
    if (offset > size)
        return false;

    // Colour map, converted once.
    std::vector<BYTE> palette;
    if (h.mapType == 1) {
        DWORD entryBytes = (DWORD(h.mapEntryBits) + 7) / 8;
        DWORD mapBytes = entryBytes * h.mapLength;
        if (mapBytes > size - offset)
            return false;
        palette.resize(size_t(h.mapLength) * 4);
        for (DWORD i = 0; i < h.mapLength; ++i)
            TgaColour(data + offset + i * entryBytes, h.mapEntryBits, &palette[i * 4]);
        offset += mapBytes;
    }

    const BYTE base = h.imageType & ~8;
    const bool rle = (h.imageType & 8) != 0;
    const DWORD pixelBytes = (DWORD(h.pixelBits) + 7) / 8;
    if (!image.Allocate(h.width, h.height))
        return false;

    const DWORD count = DWORD(h.width) * h.height;
    bool anyAlpha = false;
    auto store = [&](DWORD index, const BYTE* p) -> bool {
        BYTE* out = image.pixels.get() + size_t(index) * 4;
        if (base == 1) {
            DWORD entry = p[0];
            if (entry < h.mapFirst || entry - h.mapFirst >= h.mapLength)
                return false;
            memcpy(out, &palette[(entry - h.mapFirst) * 4], 4);
        } else {
            TgaColour(p, base == 3 ? 8 : h.pixelBits, out);
        }
        if (out[3] != 0)
            anyAlpha = true;
        return true;
    };

    DWORD index = 0;
    while (index < count) {
        if (!rle) {
            if (pixelBytes > size - offset)
                return false;
            if (!store(index, data + offset))
                return false;
            offset += pixelBytes;
            ++index;
            continue;
        }
        if (offset >= size)
            return false;
        BYTE packet = data[offset++];
        DWORD run = DWORD(packet & 0x7F) + 1;
        if (run > count - index)
            return false;
        if (packet & 0x80) {
            if (pixelBytes > size - offset)
                return false;
            for (DWORD i = 0; i < run; ++i)
                if (!store(index + i, data + offset))
                    return false;
            offset += pixelBytes;
        } else {
            if (run * pixelBytes > size - offset)
                return false;
            for (DWORD i = 0; i < run; ++i)
                if (!store(index + i, data + offset + i * pixelBytes))
                    return false;
            offset += run * pixelBytes;
        }
        index += run;
    }

    // Many writers leave the alpha bytes of a 32-bit picture at 0: then it is opaque.
    const bool alphaStored = (base == 2 && h.pixelBits == 32) || (base == 1 && h.mapEntryBits == 32);
    if (alphaStored && !anyAlpha)
        for (DWORD i = 0; i < count; ++i)
            image.pixels[size_t(i) * 4 + 3] = 255;

    // Rows are stored bottom-up unless descriptor bit 5 says otherwise.
    const size_t rowBytes = size_t(h.width) * 4;
    if ((h.descriptor & 0x20) == 0) {
        std::vector<BYTE> row(rowBytes);
        for (DWORD y = 0; y < DWORD(h.height) / 2; ++y) {
            BYTE* top = image.pixels.get() + y * rowBytes;
            BYTE* bottom = image.pixels.get() + (h.height - 1 - y) * rowBytes;
            memcpy(row.data(), top, rowBytes);
            memcpy(top, bottom, rowBytes);
            memcpy(bottom, row.data(), rowBytes);
        }
    }
    if (h.descriptor & 0x10) {
        for (DWORD y = 0; y < h.height; ++y) {
            DWORD* line = reinterpret_cast<DWORD*>(image.pixels.get() + y * rowBytes);
            for (DWORD x = 0; x < DWORD(h.width) / 2; ++x) {
                DWORD t = line[x];
                line[x] = line[h.width - 1 - x];
                line[h.width - 1 - x] = t;
            }
        }
    }

    image.bpp = base == 1 || base == 3 ? 8 : (h.pixelBits == 15 ? 16 : h.pixelBits);
    image.type = PICTURE_TYPE_TGA;
    image.delay = 0;
    return true;
}

bool DecodePackedDib(const BYTE* dib, DWORD size, PictureImage& image)
{
    if (dib == NULL || size < sizeof(BITMAPINFOHEADER))
        return false;
    BITMAPINFOHEADER header;
    memcpy(&header, dib, sizeof(header));
    if (header.biSize < sizeof(BITMAPINFOHEADER) || header.biSize > size)
        return false;
    if (header.biWidth <= 0 || header.biHeight == 0 || header.biPlanes != 1)
        return false;
    LONG rows = header.biHeight < 0 ? -header.biHeight : header.biHeight;
    if (header.biHeight == LONG(0x80000000) || !IsSizeAllowed(DWORD(header.biWidth), DWORD(rows)))
        return false;

    const DWORD bits = header.biBitCount;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return false;
    ULONGLONG table = 0;
    if (bits <= 8)
        table = ULONGLONG(header.biClrUsed ? header.biClrUsed : (1u << bits)) * 4;
    else if (header.biCompression == BI_BITFIELDS && header.biSize == sizeof(BITMAPINFOHEADER))
        table = 12;
    if (bits <= 8 && header.biClrUsed > (1u << bits))
        return false;

    ULONGLONG imageBytes;
    if (header.biCompression == BI_RGB || header.biCompression == BI_BITFIELDS)
        imageBytes = ((ULONGLONG(header.biWidth) * bits + 31) / 32) * 4 * ULONGLONG(rows);
    else if (header.biCompression == BI_RLE8 || header.biCompression == BI_RLE4)
        imageBytes = header.biSizeImage;
    else
        return false;
    ULONGLONG total = ULONGLONG(header.biSize) + table + imageBytes;
    if (imageBytes == 0 || total > size)
        return false;

    // A BMP file is the packed DIB behind a file header.
    std::vector<BYTE> file(size_t(14 + total));
    BITMAPFILEHEADER fileHeader;
    memset(&fileHeader, 0, sizeof(fileHeader));
    fileHeader.bfType = 0x4D42;
    fileHeader.bfSize = DWORD(file.size());
    fileHeader.bfOffBits = DWORD(14 + header.biSize + table);
    memcpy(file.data(), &fileHeader, 14);
    memcpy(file.data() + 14, dib, size_t(total));

    std::vector<PictureImage> frames;
    long count = 0;
    if (!DecodeGdiplus(file.data(), DWORD(file.size()), PICTURE_TYPE_BMP, 0, false, frames, count) ||
        frames.size() != 1)
        return false;
    image = std::move(frames[0]);
    image.bpp = WORD(bits);
    return true;
}

bool Encode(const BYTE* pixels, DWORD width, DWORD height, bool opaque, DWORD type, CPictureMemFile& file)
{
    file.Close();
    const WCHAR* mime = MimeOfType(type);
    if (pixels == NULL || mime == NULL || !IsSizeAllowed(width, height) || !EnsureGdiplus())
        return false;

    UINT encoders = 0, bytes = 0;
    if (GdipGetImageEncodersSize(&encoders, &bytes) != Ok || encoders == 0 || bytes == 0)
        return false;
    std::vector<BYTE> codecBuffer(bytes);
    ImageCodecInfo* codecs = reinterpret_cast<ImageCodecInfo*>(codecBuffer.data());
    if (GdipGetImageEncoders(encoders, bytes, codecs) != Ok)
        return false;
    const CLSID* encoder = NULL;
    for (UINT i = 0; i < encoders; ++i)
        if (codecs[i].MimeType && wcscmp(codecs[i].MimeType, mime) == 0)
            encoder = &codecs[i].Clsid;
    if (encoder == NULL)
        return false;

    // JPEG and BMP carry no alpha; PNG only when the picture needs it.
    std::vector<BYTE> converted;
    const BYTE* scan0 = pixels;
    INT stride = INT(width * 4);
    PixelFormat format = PixelFormat32bppARGB;
    if (opaque || type != PICTURE_TYPE_PNG) {
        stride = INT((width * 3 + 3) & ~3u);
        converted.assign(size_t(stride) * height, 0);
        for (DWORD y = 0; y < height; ++y)
            for (DWORD x = 0; x < width; ++x)
                memcpy(&converted[size_t(y) * stride + x * 3], pixels + (size_t(y) * width + x) * 4, 3);
        scan0 = converted.data();
        format = PixelFormat24bppRGB;
    }

    ImageHolder holder;
    GpBitmap* bitmap = NULL;
    if (GdipCreateBitmapFromScan0(INT(width), INT(height), stride, format, const_cast<BYTE*>(scan0), &bitmap) != Ok ||
        bitmap == NULL)
        return false;
    holder.image = bitmap;

    IStream* stream = NULL;
    if (FAILED(CreateStreamOnHGlobal(NULL, TRUE, &stream)))
        return false;
    bool ok = false;
    if (GdipSaveImageToStream(holder.image, stream, encoder, NULL) == Ok) {
        STATSTG stat;
        HGLOBAL memory = NULL;
        if (SUCCEEDED(stream->Stat(&stat, STATFLAG_NONAME)) && stat.cbSize.QuadPart > 0 &&
            stat.cbSize.QuadPart < 0x7FFFFFFF && SUCCEEDED(GetHGlobalFromStream(stream, &memory))) {
            DWORD length = DWORD(stat.cbSize.QuadPart);
            if (GlobalSize(memory) >= length) {
                const void* bytesHeld = GlobalLock(memory);
                if (bytesHeld) {
                    ok = file.Write(bytesHeld, length);
                    GlobalUnlock(memory);
                }
            }
        }
    }
    stream->Release();
    if (!ok)
        file.Close();
    return ok;
}
} // namespace PictureCodec
