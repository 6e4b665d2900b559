// CPicture: a decoded picture held as 32-bit pixels, with the operations the
// windows draw and compose with. Decoding goes through GDI+ (PNG, BMP, JPEG,
// GIF, ICO) and a small decoder of our own (TGA).
//
// Pixels are kept top-down, 4 bytes each (blue, green, red, alpha, straight
// alpha). The bit depth reported by GetBpp is that of the source, or what
// Create, IncreaseBpp or CreateFromHBITMAP set; it does not change the storage.
//
// Transparency: pixels with alpha 0 are transparent; in addition, while the
// transparent index is not negative, pixels of the transparent colour are.
//
// Serialised form of Dump / UnDump (all numbers little-endian):
//   offset size
//     0     4   magic "TVPD"
//     4     2   version, 1
//     6     2   header size, 40
//     8     4   width  (1 .. 16384)
//    12     4   height (1 .. 16384), width x height at most 32 Mi pixels
//    16     2   bit depth (1, 4, 8, 16, 24 or 32)
//    18     2   type (PICTURE_TYPE_*)
//    20     4   transparent index (signed, -1 = none)
//    24     4   transparent colour (blue, green, red, reserved)
//    28     4   frame delay in milliseconds
//    32     4   reserved, 0
//    36     4   pixel byte count = width x height x 4
//    40     .   pixels as held (rows top to bottom, blue, green, red, alpha)
// UnDump refuses any other magic, version or header size, sizes out of range,
// a pixel byte count that does not match, and a buffer shorter than the total.
#pragma once

#include <windows.h>

class CPictureMemFile;
struct PictureImage;

// Picture type codes; stored in dumps, keep them stable.
enum
{
    PICTURE_TYPE_UNKNOWN = 0,
    PICTURE_TYPE_BMP = 1,
    PICTURE_TYPE_GIF = 2,
    PICTURE_TYPE_JPG = 3,
    PICTURE_TYPE_PNG = 4,
    PICTURE_TYPE_ICO = 5,
    PICTURE_TYPE_TGA = 6,
    PICTURE_TYPE_COUNT
};

// Resampling modes.
enum
{
    PICTURE_RESAMPLE_NEAREST = 0,
    PICTURE_RESAMPLE_SMOOTH = 1
};

class CPicture
{
public:
    static const DWORD kMaxSide = 16384;
    static const DWORD kMaxPixels = 32u * 1024u * 1024u;
    static const DWORD kMaxFileSize = 64u * 1024u * 1024u;
    static const DWORD kDumpHeaderSize = 40;

    CPicture();
    ~CPicture();

    // Loading. type 0 detects the format from the data; any other type
    // requires data of that type. On failure the picture is left invalid.
    // With SetRetrieveAllFrames(true) every frame of an animated picture is
    // decoded as well (GetFrame(i); all frames together within kMaxPixels);
    // otherwise only the frame chosen by SetFrame.
    bool Load(LPCSTR path, DWORD type = PICTURE_TYPE_UNKNOWN);
    bool Decode(const BYTE* data, DWORD size, DWORD type = PICTURE_TYPE_UNKNOWN);

    bool IsValid() const;
    void Destroy();
    DWORD GetWidth() const;
    DWORD GetHeight() const;
    WORD GetBpp() const;
    DWORD GetType() const;
    bool SetType(DWORD type);

    // Draws at (x, y) scaled to cx by cy (-1 = natural size), limited to clip
    // (same coordinates as x and y) when given; smooth asks for halftone stretching.
    bool Draw(HDC hdc, long x, long y, long cx = -1, long cy = -1, const RECT* clip = NULL, bool smooth = false) const;
    // Repeats the picture over the rectangle from its top-left corner.
    bool Tile(HDC hdc, const RECT* rect) const;

    bool Create(DWORD width, DWORD height, DWORD bpp, DWORD type = PICTURE_TYPE_UNKNOWN);
    // Takes a copy of the source's current image and settings (not its frames).
    bool Copy(const CPicture& source);
    // Keeps the part inside rect (clipped to the picture); into target when given.
    bool Crop(const RECT& rect, CPicture* target = NULL);
    // Lays tile over this picture with its top-left corner at (x, y).
    bool MixFrom(const CPicture& tile, long x, long y);
    bool Resample(long width, long height, int mode = PICTURE_RESAMPLE_SMOOTH, CPicture* target = NULL);

    // A 32-bit DIB section of the pixels; the caller deletes it.
    HBITMAP MakeBitmap(HDC hdc = NULL) const;
    bool CreateFromHBITMAP(HBITMAP bitmap, HPALETTE palette = NULL);
    // A packed DIB in global memory (header, colour table, bits).
    bool CreateFromHANDLE(HANDLE dib);
    bool IncreaseBpp(DWORD bpp);

    long GetTransIndex() const;
    void SetTransIndex(long index);
    RGBQUAD GetTransColor() const;
    void SetTransColor(RGBQUAD colour);
    bool IsTransparent() const;
    static RGBQUAD RgbToQuad(COLORREF colour);

    // The region of the pixels that are not transparent; false (and a null
    // region) when there is none.
    bool SelectionToHRGN(HRGN& region) const;

    DWORD DumpSize() const;
    // Writes the serialised picture; 0 when it does not fit into capacity.
    DWORD Dump(BYTE* buffer, DWORD capacity) const;
    bool UnDump(const BYTE* buffer, DWORD size);

    // Encodes into the memory file (PNG, BMP or JPEG); the file is emptied first.
    bool Encode(CPictureMemFile& file, DWORD type) const;

    // Animated pictures.
    long GetNumFrames() const;
    long GetFrame() const;
    CPicture* GetFrame(long index) const;
    void SetFrame(long index);
    // Delay of this frame in milliseconds (0 when the picture gives none).
    DWORD GetFrameDelay() const;
    void SetRetrieveAllFrames(bool all);

private:
    CPicture(const CPicture&);
    CPicture& operator=(const CPicture&);

    bool Adopt(PictureImage& image);
    void HandOver(PictureImage& image, CPicture* target);
    void ReleasePixels();
    void ReleaseFrames();
    void InvalidateCache() const;
    bool BuildCache() const;
    bool IsPixelVisible(const BYTE* pixel) const;

    BYTE* m_pixels;
    DWORD m_width;
    DWORD m_height;
    WORD m_bpp;
    DWORD m_type;
    long m_transIndex;
    RGBQUAD m_transColor;
    DWORD m_frameDelay;
    long m_numFrames;
    long m_frame;
    bool m_retrieveAll;
    CPicture** m_frames;
    long m_frameCount;

    // Premultiplied copy for drawing, made on demand.
    mutable HBITMAP m_cacheBitmap;
    mutable bool m_cacheHasAlpha;
};
