#include "Picture.h"

#include "PictureCodec.h"
#include "PictureMemFile.h"
#include "TopDownDib.h"

#include <algorithm>
#include <math.h>
#include <string.h>

namespace
{
struct DumpHeader
{
    BYTE magic[4];
    WORD version;
    WORD headerSize;
    DWORD width;
    DWORD height;
    WORD bpp;
    WORD type;
    INT transIndex;
    BYTE transColor[4];
    DWORD frameDelay;
    DWORD reserved;
    DWORD pixelBytes;
};
static_assert(sizeof(DumpHeader) == CPicture::kDumpHeaderSize, "dump header layout");
static_assert(offsetof(DumpHeader, width) == 8 && offsetof(DumpHeader, bpp) == 16 &&
                  offsetof(DumpHeader, transIndex) == 20 && offsetof(DumpHeader, frameDelay) == 28 &&
                  offsetof(DumpHeader, pixelBytes) == 36,
              "dump header offsets");

const BYTE kDumpMagic[4] = {'T', 'V', 'P', 'D'};
const WORD kDumpVersion = 1;

bool ReadWholeFile(LPCSTR path, std::vector<BYTE>& data)
{
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    bool ok = false;
    LARGE_INTEGER size;
    if (GetFileSizeEx(file, &size) && size.QuadPart > 0 && size.QuadPart <= CPicture::kMaxFileSize) {
        data.resize(size_t(size.QuadPart));
        DWORD done = 0;
        ok = ReadFile(file, data.data(), DWORD(data.size()), &done, NULL) && done == data.size();
    }
    CloseHandle(file);
    return ok;
}

inline BYTE Mul255(unsigned a, unsigned b)
{
    unsigned t = a * b + 128;
    return BYTE((t + (t >> 8)) >> 8);
}

// One axis of the resampler: for each target position, the source range and
// the weights of a triangle filter widened by the shrink factor.
struct Taps
{
    std::vector<int> first;
    std::vector<int> count;
    std::vector<float> weights;
    int width = 0;
};

void BuildTaps(int source, int target, bool smooth, Taps& taps)
{
    taps.first.assign(size_t(target), 0);
    taps.count.assign(size_t(target), 1);
    const double scale = double(source) / target;
    if (!smooth) {
        taps.width = 1;
        taps.weights.assign(size_t(target), 1.0f);
        for (int i = 0; i < target; ++i)
            taps.first[size_t(i)] = std::min(source - 1, int((i + 0.5) * scale));
        return;
    }
    const double support = scale > 1.0 ? scale : 1.0;
    taps.width = int(ceil(support * 2)) + 1;
    taps.weights.assign(size_t(target) * taps.width, 0.0f);
    for (int i = 0; i < target; ++i) {
        double centre = (i + 0.5) * scale - 0.5;
        int lo = std::max(0, int(floor(centre - support)) + 1);
        int hi = std::min(source - 1, int(ceil(centre + support)) - 1);
        if (hi < lo)
            lo = hi = std::min(source - 1, std::max(0, int(floor(centre + 0.5))));
        if (hi - lo + 1 > taps.width)
            hi = lo + taps.width - 1;
        double sum = 0;
        for (int s = lo; s <= hi; ++s) {
            double w = 1.0 - fabs((s - centre) / support);
            if (w < 0)
                w = 0;
            taps.weights[size_t(i) * taps.width + (s - lo)] = float(w);
            sum += w;
        }
        if (sum <= 0) {
            taps.weights[size_t(i) * taps.width] = 1.0f;
            hi = lo;
            sum = 1;
        }
        for (int s = lo; s <= hi; ++s)
            taps.weights[size_t(i) * taps.width + (s - lo)] /= float(sum);
        taps.first[size_t(i)] = lo;
        taps.count[size_t(i)] = hi - lo + 1;
    }
}
} // namespace

CPicture::CPicture()
    : m_pixels(NULL), m_width(0), m_height(0), m_bpp(0), m_type(PICTURE_TYPE_UNKNOWN), m_transIndex(-1),
      m_frameDelay(0), m_numFrames(0), m_frame(0), m_retrieveAll(false), m_frames(NULL), m_frameCount(0),
      m_cacheBitmap(NULL), m_cacheHasAlpha(false)
{
    memset(&m_transColor, 0, sizeof(m_transColor));
}

CPicture::~CPicture()
{
    Destroy();
}

void CPicture::InvalidateCache() const
{
    if (m_cacheBitmap)
        DeleteObject(m_cacheBitmap);
    m_cacheBitmap = NULL;
    m_cacheHasAlpha = false;
}

void CPicture::ReleasePixels()
{
    InvalidateCache();
    delete[] m_pixels;
    m_pixels = NULL;
    m_width = 0;
    m_height = 0;
}

void CPicture::ReleaseFrames()
{
    for (long i = 0; i < m_frameCount; ++i)
        delete m_frames[i];
    delete[] m_frames;
    m_frames = NULL;
    m_frameCount = 0;
}

void CPicture::Destroy()
{
    ReleasePixels();
    ReleaseFrames();
    m_bpp = 0;
    m_type = PICTURE_TYPE_UNKNOWN;
    m_transIndex = -1;
    memset(&m_transColor, 0, sizeof(m_transColor));
    m_frameDelay = 0;
    m_numFrames = 0;
}

// A picture made from this one (crop, resample) replaces the target, or this
// picture when there is none, keeping depth, type, delay and transparency.
void CPicture::HandOver(PictureImage& image, CPicture* target)
{
    image.bpp = m_bpp;
    image.type = m_type;
    image.delay = m_frameDelay;

    CPicture* out = target ? target : this;
    const long transIndex = m_transIndex;
    const RGBQUAD transColor = m_transColor;
    if (out != this)
        out->Destroy();
    else
        ReleaseFrames();
    out->m_numFrames = 1;
    out->Adopt(image);
    out->m_transIndex = transIndex;
    out->m_transColor = transColor;
}

bool CPicture::Adopt(PictureImage& image)
{
    if (!image.pixels || !PictureCodec::IsSizeAllowed(image.width, image.height))
        return false;
    ReleasePixels();
    m_pixels = image.pixels.release();
    m_width = image.width;
    m_height = image.height;
    m_bpp = image.bpp;
    m_type = image.type;
    m_frameDelay = image.delay;
    return true;
}

bool CPicture::IsValid() const
{
    return m_pixels != NULL;
}

DWORD CPicture::GetWidth() const
{
    return m_width;
}

DWORD CPicture::GetHeight() const
{
    return m_height;
}

WORD CPicture::GetBpp() const
{
    return m_bpp;
}

DWORD CPicture::GetType() const
{
    return m_type;
}

bool CPicture::SetType(DWORD type)
{
    if (type >= PICTURE_TYPE_COUNT)
        return false;
    m_type = type;
    return true;
}

bool CPicture::Load(LPCSTR path, DWORD type)
{
    std::vector<BYTE> data;
    if (path == NULL || !ReadWholeFile(path, data)) {
        Destroy();
        return false;
    }
    return Decode(data.data(), DWORD(data.size()), type);
}

bool CPicture::Decode(const BYTE* data, DWORD size, DWORD type)
{
    const long frame = m_frame;
    const bool all = m_retrieveAll;
    Destroy();
    if (data == NULL || size == 0 || type >= PICTURE_TYPE_COUNT)
        return false;
    DWORD detected = PictureCodec::DetectType(data, size);
    if (type == PICTURE_TYPE_UNKNOWN)
        type = detected;
    else if (type != detected && !(type == PICTURE_TYPE_TGA && detected == PICTURE_TYPE_UNKNOWN))
        return false;
    if (type == PICTURE_TYPE_UNKNOWN)
        return false;

    std::vector<PictureImage> frames;
    long total = 1;
    if (type == PICTURE_TYPE_TGA) {
        if (frame != 0)
            return false;
        frames.resize(1);
        if (!PictureCodec::DecodeTga(data, size, frames[0]))
            return false;
    } else if (!PictureCodec::DecodeGdiplus(data, size, type, frame, all, frames, total) || frames.empty()) {
        return false;
    }

    // The picture itself shows the selected frame; with all frames retrieved
    // each frame is a picture of its own as well.
    if (all) {
        long count = long(frames.size());
        if (frame < 0 || frame >= count)
            return false;
        CPicture** list = new (std::nothrow) CPicture*[size_t(count)]();
        if (list == NULL)
            return false;
        bool ok = true;
        for (long i = 0; i < count && ok; ++i) {
            list[i] = new (std::nothrow) CPicture;
            if (list[i] == NULL) {
                ok = false;
                break;
            }
            list[i]->m_numFrames = total;
            list[i]->m_frame = i;
            if (i == frame) {
                PictureImage copy;
                ok = copy.Allocate(frames[size_t(i)].width, frames[size_t(i)].height);
                if (ok) {
                    memcpy(copy.pixels.get(), frames[size_t(i)].pixels.get(), copy.ByteCount());
                    copy.bpp = frames[size_t(i)].bpp;
                    copy.type = frames[size_t(i)].type;
                    copy.delay = frames[size_t(i)].delay;
                    ok = Adopt(copy);
                }
            }
            ok = ok && list[i]->Adopt(frames[size_t(i)]);
        }
        m_frames = list;
        m_frameCount = count;
        if (!ok) {
            Destroy();
            return false;
        }
    } else if (!Adopt(frames[0])) {
        Destroy();
        return false;
    }
    m_numFrames = total;
    return true;
}

bool CPicture::Create(DWORD width, DWORD height, DWORD bpp, DWORD type)
{
    PictureImage image;
    if (!PictureCodec::IsBppAllowed(bpp) || type >= PICTURE_TYPE_COUNT || !image.Allocate(width, height))
        return false;
    for (size_t i = 0; i < size_t(width) * height; ++i)
        image.pixels[i * 4 + 3] = 255;
    image.bpp = WORD(bpp);
    image.type = type;
    Destroy();
    m_numFrames = 1;
    return Adopt(image);
}

bool CPicture::Copy(const CPicture& source)
{
    if (&source == this)
        return IsValid();
    if (!source.IsValid()) {
        Destroy();
        return false;
    }
    PictureImage image;
    if (!image.Allocate(source.m_width, source.m_height))
        return false;
    memcpy(image.pixels.get(), source.m_pixels, image.ByteCount());
    image.bpp = source.m_bpp;
    image.type = source.m_type;
    image.delay = source.m_frameDelay;
    Destroy();
    Adopt(image);
    m_transIndex = source.m_transIndex;
    m_transColor = source.m_transColor;
    m_numFrames = 1;
    return true;
}

bool CPicture::Crop(const RECT& rect, CPicture* target)
{
    if (!IsValid())
        return false;
    LONG left = std::max<LONG>(rect.left, 0), top = std::max<LONG>(rect.top, 0);
    LONG right = std::min<LONG>(rect.right, LONG(m_width)), bottom = std::min<LONG>(rect.bottom, LONG(m_height));
    if (right <= left || bottom <= top)
        return false;
    PictureImage image;
    if (!image.Allocate(DWORD(right - left), DWORD(bottom - top)))
        return false;
    for (LONG y = top; y < bottom; ++y)
        memcpy(image.pixels.get() + size_t(y - top) * image.width * 4, m_pixels + (size_t(y) * m_width + left) * 4,
               size_t(image.width) * 4);
    HandOver(image, target);
    return true;
}

bool CPicture::MixFrom(const CPicture& tile, long x, long y)
{
    if (!IsValid() || !tile.IsValid() || &tile == this)
        return false;
    InvalidateCache();
    LONGLONG x0 = std::max<LONGLONG>(x, 0), y0 = std::max<LONGLONG>(y, 0);
    LONGLONG x1 = std::min<LONGLONG>(LONGLONG(x) + tile.m_width, m_width);
    LONGLONG y1 = std::min<LONGLONG>(LONGLONG(y) + tile.m_height, m_height);
    for (LONGLONG ty = y0; ty < y1; ++ty) {
        for (LONGLONG tx = x0; tx < x1; ++tx) {
            const BYTE* src = tile.m_pixels + (size_t(ty - y) * tile.m_width + size_t(tx - x)) * 4;
            if (!tile.IsPixelVisible(src))
                continue;
            BYTE* dst = m_pixels + (size_t(ty) * m_width + size_t(tx)) * 4;
            const unsigned a = src[3];
            if (a == 255) {
                memcpy(dst, src, 4);
                continue;
            }
            // Straight-alpha "over".
            const unsigned da = Mul255(dst[3], 255 - a);
            const unsigned outA = a + da;
            for (int c = 0; c < 3; ++c)
                dst[c] = BYTE((src[c] * a + dst[c] * da + outA / 2) / outA);
            dst[3] = BYTE(outA);
        }
    }
    return true;
}

bool CPicture::Resample(long width, long height, int mode, CPicture* target)
{
    if (!IsValid() || width <= 0 || height <= 0 || !PictureCodec::IsSizeAllowed(DWORD(width), DWORD(height)))
        return false;
    const bool smooth = mode != PICTURE_RESAMPLE_NEAREST;
    Taps across, down;
    BuildTaps(int(m_width), int(width), smooth, across);
    BuildTaps(int(m_height), int(height), smooth, down);

    // Colours are weighted by alpha, so transparent pixels do not bleed in.
    std::vector<float> rows(size_t(width) * m_height * 4);
    for (DWORD y = 0; y < m_height; ++y) {
        const BYTE* line = m_pixels + size_t(y) * m_width * 4;
        for (long x = 0; x < width; ++x) {
            float acc[4] = {0, 0, 0, 0};
            for (int k = 0; k < across.count[size_t(x)]; ++k) {
                const BYTE* p = line + size_t(across.first[size_t(x)] + k) * 4;
                float w = across.weights[size_t(x) * across.width + k];
                float a = p[3] * w;
                acc[0] += p[0] * a;
                acc[1] += p[1] * a;
                acc[2] += p[2] * a;
                acc[3] += a;
            }
            memcpy(&rows[(size_t(y) * width + x) * 4], acc, sizeof(acc));
        }
    }
    PictureImage image;
    if (!image.Allocate(DWORD(width), DWORD(height)))
        return false;
    for (long y = 0; y < height; ++y) {
        for (long x = 0; x < width; ++x) {
            float acc[4] = {0, 0, 0, 0};
            for (int k = 0; k < down.count[size_t(y)]; ++k) {
                const float* p = &rows[(size_t(down.first[size_t(y)] + k) * width + x) * 4];
                float w = down.weights[size_t(y) * down.width + k];
                for (int c = 0; c < 4; ++c)
                    acc[c] += p[c] * w;
            }
            BYTE* out = image.pixels.get() + (size_t(y) * width + x) * 4;
            if (acc[3] <= 0.0f) {
                out[0] = out[1] = out[2] = out[3] = 0;
                continue;
            }
            for (int c = 0; c < 3; ++c) {
                float v = acc[c] / acc[3] + 0.5f;
                out[c] = BYTE(v < 0 ? 0 : v > 255 ? 255 : v);
            }
            float a = acc[3] + 0.5f;
            out[3] = BYTE(a > 255 ? 255 : a);
        }
    }
    HandOver(image, target);
    return true;
}

bool CPicture::IsPixelVisible(const BYTE* pixel) const
{
    if (pixel[3] == 0)
        return false;
    if (m_transIndex >= 0 && pixel[0] == m_transColor.rgbBlue && pixel[1] == m_transColor.rgbGreen &&
        pixel[2] == m_transColor.rgbRed)
        return false;
    return true;
}

bool CPicture::BuildCache() const
{
    if (m_cacheBitmap)
        return true;
    void* bits = NULL;
    HBITMAP bitmap = CreateTopDownDib(NULL, int(m_width), int(m_height), &bits);
    if (bitmap == NULL)
        return false;
    // AlphaBlend wants premultiplied colours.
    BYTE* out = static_cast<BYTE*>(bits);
    bool hasAlpha = false;
    const size_t count = size_t(m_width) * m_height;
    for (size_t i = 0; i < count; ++i) {
        const BYTE* p = m_pixels + i * 4;
        BYTE* q = out + i * 4;
        BYTE a = IsPixelVisible(p) ? p[3] : 0;
        if (a != 255)
            hasAlpha = true;
        q[0] = Mul255(p[0], a);
        q[1] = Mul255(p[1], a);
        q[2] = Mul255(p[2], a);
        q[3] = a;
    }
    GdiFlush();
    m_cacheBitmap = bitmap;
    m_cacheHasAlpha = hasAlpha;
    return true;
}

bool CPicture::Draw(HDC hdc, long x, long y, long cx, long cy, const RECT* clip, bool smooth) const
{
    if (!IsValid() || hdc == NULL)
        return false;
    if (cx == -1)
        cx = long(m_width);
    if (cy == -1)
        cy = long(m_height);
    if (cx <= 0 || cy <= 0 || !BuildCache())
        return false;

    HDC source = CreateCompatibleDC(hdc);
    if (source == NULL)
        return false;
    HGDIOBJ old = SelectObject(source, m_cacheBitmap);
    int saved = SaveDC(hdc);
    if (clip)
        IntersectClipRect(hdc, clip->left, clip->top, clip->right, clip->bottom);
    BOOL ok;
    if (m_cacheHasAlpha) {
        BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        ok = AlphaBlend(hdc, x, y, cx, cy, source, 0, 0, int(m_width), int(m_height), blend);
    } else if (cx == long(m_width) && cy == long(m_height)) {
        ok = BitBlt(hdc, x, y, cx, cy, source, 0, 0, SRCCOPY);
    } else {
        SetStretchBltMode(hdc, smooth ? HALFTONE : COLORONCOLOR);
        if (smooth)
            SetBrushOrgEx(hdc, 0, 0, NULL);
        ok = StretchBlt(hdc, x, y, cx, cy, source, 0, 0, int(m_width), int(m_height), SRCCOPY);
    }
    RestoreDC(hdc, saved);
    SelectObject(source, old);
    DeleteDC(source);
    return ok != FALSE;
}

bool CPicture::Tile(HDC hdc, const RECT* rect) const
{
    if (!IsValid() || hdc == NULL || rect == NULL || rect->right <= rect->left || rect->bottom <= rect->top)
        return false;
    bool ok = true;
    for (LONG y = rect->top; y < rect->bottom; y += LONG(m_height))
        for (LONG x = rect->left; x < rect->right; x += LONG(m_width))
            ok = Draw(hdc, x, y, -1, -1, rect) && ok;
    return ok;
}

HBITMAP CPicture::MakeBitmap(HDC hdc) const
{
    if (!IsValid())
        return NULL;
    void* bits = NULL;
    HBITMAP bitmap = CreateTopDownDib(hdc, int(m_width), int(m_height), &bits);
    if (bitmap == NULL)
        return NULL;
    memcpy(bits, m_pixels, size_t(m_width) * m_height * 4);
    GdiFlush();
    return bitmap;
}

bool CPicture::CreateFromHBITMAP(HBITMAP bitmap, HPALETTE palette)
{
    Destroy();
    BITMAP described;
    if (bitmap == NULL || GetObject(bitmap, sizeof(described), &described) != sizeof(described))
        return false;
    LONG rows = described.bmHeight < 0 ? -described.bmHeight : described.bmHeight;
    PictureImage image;
    if (described.bmWidth <= 0 || !image.Allocate(DWORD(described.bmWidth), DWORD(rows)))
        return false;

    HDC dc = CreateCompatibleDC(NULL);
    if (dc == NULL)
        return false;
    HPALETTE oldPalette = NULL;
    if (palette) {
        oldPalette = SelectPalette(dc, palette, FALSE);
        RealizePalette(dc);
    }
    BITMAPINFO info;
    InitTopDownDibInfo(info, described.bmWidth, rows);
    int got = GetDIBits(dc, bitmap, 0, UINT(rows), image.pixels.get(), &info, DIB_RGB_COLORS);
    if (palette)
        SelectPalette(dc, oldPalette, FALSE);
    DeleteDC(dc);
    if (got != rows)
        return false;

    // Only a 32-bit bitmap can carry alpha, and only when some pixel uses it.
    const size_t count = size_t(image.width) * image.height;
    bool anyAlpha = false;
    if (described.bmBitsPixel == 32)
        for (size_t i = 0; i < count && !anyAlpha; ++i)
            anyAlpha = image.pixels[i * 4 + 3] != 0;
    if (!anyAlpha)
        for (size_t i = 0; i < count; ++i)
            image.pixels[i * 4 + 3] = 255;
    image.bpp = PictureCodec::IsBppAllowed(described.bmBitsPixel) ? described.bmBitsPixel : 32;
    image.type = PICTURE_TYPE_BMP;
    m_numFrames = 1;
    return Adopt(image);
}

bool CPicture::CreateFromHANDLE(HANDLE dib)
{
    Destroy();
    if (dib == NULL)
        return false;
    SIZE_T size = GlobalSize(dib);
    const BYTE* bytes = static_cast<const BYTE*>(GlobalLock(dib));
    if (bytes == NULL)
        return false;
    PictureImage image;
    bool ok = size > 0 && size <= kMaxFileSize && PictureCodec::DecodePackedDib(bytes, DWORD(size), image);
    GlobalUnlock(dib);
    if (!ok)
        return false;
    m_numFrames = 1;
    return Adopt(image);
}

bool CPicture::IncreaseBpp(DWORD bpp)
{
    if (!IsValid() || !PictureCodec::IsBppAllowed(bpp))
        return false;
    if (bpp > m_bpp)
        m_bpp = WORD(bpp);
    return true;
}

long CPicture::GetTransIndex() const
{
    return m_transIndex;
}

void CPicture::SetTransIndex(long index)
{
    m_transIndex = index < 0 ? -1 : index;
    InvalidateCache();
}

RGBQUAD CPicture::GetTransColor() const
{
    return m_transColor;
}

void CPicture::SetTransColor(RGBQUAD colour)
{
    m_transColor = colour;
    m_transColor.rgbReserved = 0;
    InvalidateCache();
}

bool CPicture::IsTransparent() const
{
    return m_transIndex >= 0;
}

RGBQUAD CPicture::RgbToQuad(COLORREF colour)
{
    RGBQUAD quad;
    quad.rgbRed = GetRValue(colour);
    quad.rgbGreen = GetGValue(colour);
    quad.rgbBlue = GetBValue(colour);
    quad.rgbReserved = 0;
    return quad;
}

bool CPicture::SelectionToHRGN(HRGN& region) const
{
    region = NULL;
    if (!IsValid())
        return false;

    // Runs of visible pixels become one-pixel-high rectangles, turned into
    // regions in batches and joined.
    const DWORD kBatch = 2000;
    std::vector<BYTE> buffer(sizeof(RGNDATAHEADER) + kBatch * sizeof(RECT));
    RGNDATA* data = reinterpret_cast<RGNDATA*>(buffer.data());
    RECT* rects = reinterpret_cast<RECT*>(data->Buffer);
    DWORD held = 0;
    HRGN result = NULL;
    bool failed = false;

    auto flush = [&]() {
        if (held == 0 || failed)
            return;
        data->rdh.dwSize = sizeof(RGNDATAHEADER);
        data->rdh.iType = RDH_RECTANGLES;
        data->rdh.nCount = held;
        data->rdh.nRgnSize = held * sizeof(RECT);
        SetRect(&data->rdh.rcBound, 0, 0, LONG(m_width), LONG(m_height));
        HRGN part = ExtCreateRegion(NULL, DWORD(sizeof(RGNDATAHEADER) + held * sizeof(RECT)), data);
        held = 0;
        if (part == NULL) {
            failed = true;
            return;
        }
        if (result == NULL) {
            result = part;
            return;
        }
        CombineRgn(result, result, part, RGN_OR);
        DeleteObject(part);
    };

    for (DWORD y = 0; y < m_height; ++y) {
        const BYTE* line = m_pixels + size_t(y) * m_width * 4;
        DWORD x = 0;
        while (x < m_width) {
            while (x < m_width && !IsPixelVisible(line + size_t(x) * 4))
                ++x;
            if (x >= m_width)
                break;
            DWORD start = x;
            while (x < m_width && IsPixelVisible(line + size_t(x) * 4))
                ++x;
            SetRect(&rects[held++], LONG(start), LONG(y), LONG(x), LONG(y + 1));
            if (held == kBatch)
                flush();
        }
    }
    flush();
    if (failed) {
        if (result)
            DeleteObject(result);
        return false;
    }
    region = result;
    return result != NULL;
}

DWORD CPicture::DumpSize() const
{
    if (!IsValid())
        return 0;
    return kDumpHeaderSize + m_width * m_height * 4;
}

DWORD CPicture::Dump(BYTE* buffer, DWORD capacity) const
{
    DWORD size = DumpSize();
    if (size == 0 || buffer == NULL || capacity < size)
        return 0;
    DumpHeader header;
    memset(&header, 0, sizeof(header));
    memcpy(header.magic, kDumpMagic, 4);
    header.version = kDumpVersion;
    header.headerSize = WORD(kDumpHeaderSize);
    header.width = m_width;
    header.height = m_height;
    header.bpp = m_bpp;
    header.type = WORD(m_type);
    header.transIndex = INT(m_transIndex);
    header.transColor[0] = m_transColor.rgbBlue;
    header.transColor[1] = m_transColor.rgbGreen;
    header.transColor[2] = m_transColor.rgbRed;
    header.frameDelay = m_frameDelay;
    header.pixelBytes = m_width * m_height * 4;
    memcpy(buffer, &header, sizeof(header));
    memcpy(buffer + sizeof(header), m_pixels, header.pixelBytes);
    return size;
}

bool CPicture::UnDump(const BYTE* buffer, DWORD size)
{
    Destroy();
    if (buffer == NULL || size < kDumpHeaderSize)
        return false;
    DumpHeader header;
    memcpy(&header, buffer, sizeof(header));
    if (memcmp(header.magic, kDumpMagic, 4) != 0 || header.version != kDumpVersion ||
        header.headerSize != kDumpHeaderSize || !PictureCodec::IsSizeAllowed(header.width, header.height) ||
        !PictureCodec::IsBppAllowed(header.bpp) || header.type >= PICTURE_TYPE_COUNT || header.transIndex < -1 ||
        header.reserved != 0)
        return false;
    if (ULONGLONG(header.pixelBytes) != ULONGLONG(header.width) * header.height * 4 ||
        header.pixelBytes > size - kDumpHeaderSize)
        return false;

    PictureImage image;
    if (!image.Allocate(header.width, header.height))
        return false;
    memcpy(image.pixels.get(), buffer + kDumpHeaderSize, header.pixelBytes);
    image.bpp = header.bpp;
    image.type = header.type;
    image.delay = header.frameDelay;
    if (!Adopt(image))
        return false;
    m_transIndex = header.transIndex;
    m_transColor.rgbBlue = header.transColor[0];
    m_transColor.rgbGreen = header.transColor[1];
    m_transColor.rgbRed = header.transColor[2];
    m_transColor.rgbReserved = 0;
    m_numFrames = 1;
    return true;
}

bool CPicture::Encode(CPictureMemFile& file, DWORD type) const
{
    if (!IsValid()) {
        file.Close();
        return false;
    }
    // What Draw would show transparent is written transparent.
    std::vector<BYTE> pixels(m_pixels, m_pixels + size_t(m_width) * m_height * 4);
    bool opaque = true;
    for (size_t i = 0; i < pixels.size(); i += 4) {
        if (!IsPixelVisible(&pixels[i]))
            pixels[i + 3] = 0;
        if (pixels[i + 3] != 255)
            opaque = false;
    }
    return PictureCodec::Encode(pixels.data(), m_width, m_height, opaque, type, file);
}

long CPicture::GetNumFrames() const
{
    return m_numFrames;
}

long CPicture::GetFrame() const
{
    return m_frame;
}

CPicture* CPicture::GetFrame(long index) const
{
    if (index < 0 || index >= m_frameCount)
        return NULL;
    return m_frames[index];
}

void CPicture::SetFrame(long index)
{
    m_frame = index < 0 ? 0 : index;
}

DWORD CPicture::GetFrameDelay() const
{
    return m_frameDelay;
}

void CPicture::SetRetrieveAllFrames(bool all)
{
    m_retrieveAll = all;
}
