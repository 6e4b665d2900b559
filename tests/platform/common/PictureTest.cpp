#include "Picture.h"
#include "PictureFixtures.h"
#include "PictureMemFile.h"
#include "PictureTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string.h>

using fixtures::Bytes;
using fixtures::Pixels;
using support::Canvas;
using support::GetPixels;
using support::Near;
using support::SetPixels;

namespace
{
const DWORD kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF, kWhite = 0xFFFFFFFF;
const DWORD kMagenta = 0xFFFF00FF;

Pixels FourColours(DWORD side)
{
    return fixtures::Quadrants(side, side, kRed, kGreen, kBlue, kWhite);
}

Bytes Encoded(const Pixels& pixels, DWORD type)
{
    CPicture picture;
    SetPixels(picture, pixels);
    CPictureMemFile file;
    EXPECT_TRUE(picture.Encode(file, type));
    return Bytes(file.GetBuffer(), file.GetBuffer() + file.GetSize());
}

void ExpectPixels(const Pixels& expected, const CPicture& picture, int tolerance, const char* what)
{
    SCOPED_TRACE(what);
    ASSERT_TRUE(picture.IsValid());
    ASSERT_EQ(expected.width, picture.GetWidth());
    ASSERT_EQ(expected.height, picture.GetHeight());
    Pixels got = GetPixels(picture);
    if (tolerance == 0) {
        EXPECT_EQ(expected.argb, got.argb);
        return;
    }
    // Lossy formats: compare the middle of each quadrant only.
    DWORD w = expected.width, h = expected.height;
    const DWORD points[4][2] = {{w / 4, h / 4}, {3 * w / 4, h / 4}, {w / 4, 3 * h / 4}, {3 * w / 4, 3 * h / 4}};
    for (const auto& p : points)
        EXPECT_TRUE(Near(expected.At(p[0], p[1]), got.At(p[0], p[1]), tolerance))
            << std::hex << expected.At(p[0], p[1]) << " vs " << got.At(p[0], p[1]);
}

DWORD Rgb(DWORD argb)
{
    return argb & 0xFFFFFF;
}

std::vector<fixtures::GifFrame> ThreeFrames()
{
    // Red for 100 ms, green for 250 ms, then blue over green with its first
    // pixel transparent for 50 ms.
    std::vector<fixtures::GifFrame> frames(3);
    const WORD delays[3] = {10, 25, 5};
    for (int i = 0; i < 3; ++i) {
        frames[i].index.assign(16, BYTE(i + 1));
        frames[i].delayHundredths = delays[i];
    }
    frames[2].index[0] = 0;
    frames[2].transparent = 0;
    return frames;
}

const DWORD kGifPalette[4] = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
} // namespace

TEST(PictureLoad, DecodesEachFormatFromMemoryAndFromAFile)
{
    const Pixels four = FourColours(4);
    const Pixels sixteen = FourColours(16);
    Pixels translucent = four;
    translucent.argb[0] = 0x00000000;
    translucent.argb[1] = 0x80FF0000;

    std::vector<BYTE> grey = {0, 64, 128, 255};
    Pixels greyPixels = fixtures::Solid(2, 2, 0);
    for (int i = 0; i < 4; ++i)
        greyPixels.argb[i] = 0xFF000000 | (grey[i] * 0x010101u);
    Pixels mapped = fixtures::Solid(2, 2, 0);
    mapped.argb = {kBlue, kRed, kRed, kGreen};

    std::vector<fixtures::GifFrame> oneFrame(1);
    oneFrame[0].index = {1, 1, 2, 2, 1, 1, 2, 2, 3, 3, 0, 0, 3, 3, 0, 0};
    Pixels gifPixels = fixtures::Quadrants(4, 4, kRed, kGreen, kBlue, 0xFF000000);

    struct Case
    {
        const char* name;
        Bytes bytes;
        DWORD type;
        WORD bpp;
        const Pixels* expected;
        int tolerance;
    } cases[] = {
        {"bmp", fixtures::Bmp24(four), PICTURE_TYPE_BMP, 24, &four, 0},
        {"png", Encoded(translucent, PICTURE_TYPE_PNG), PICTURE_TYPE_PNG, 32, &translucent, 0},
        {"jpg", Encoded(sixteen, PICTURE_TYPE_JPG), PICTURE_TYPE_JPG, 24, &sixteen, 48},
        {"gif", fixtures::Gif(4, 4, kGifPalette, oneFrame), PICTURE_TYPE_GIF, 8, &gifPixels, 0},
        {"ico", fixtures::Ico32(translucent), PICTURE_TYPE_ICO, 32, &translucent, 0},
        {"tga24", fixtures::Tga24(four), PICTURE_TYPE_TGA, 24, &four, 0},
        {"tga32rle", fixtures::Tga32Rle(translucent), PICTURE_TYPE_TGA, 32, &translucent, 0},
        {"tgagrey", fixtures::TgaGrey(2, 2, grey), PICTURE_TYPE_TGA, 8, &greyPixels, 0},
        {"tgamapped", fixtures::TgaMapped(2, 2, {Rgb(kRed), Rgb(kGreen), Rgb(kBlue)}, {2, 0, 0, 1}), PICTURE_TYPE_TGA,
         8, &mapped, 0},
    };
    support::TempFolder folder;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CPicture fromMemory;
        ASSERT_TRUE(fromMemory.Decode(c.bytes.data(), DWORD(c.bytes.size())));
        EXPECT_EQ(c.type, fromMemory.GetType());
        EXPECT_EQ(c.bpp, fromMemory.GetBpp());
        EXPECT_EQ(1, fromMemory.GetNumFrames());
        ExpectPixels(*c.expected, fromMemory, c.tolerance, "memory");

        std::string file = std::string(c.name) + ".pic";
        folder.Write(file.c_str(), c.bytes);
        CPicture fromFile;
        ASSERT_TRUE(fromFile.Load(folder.Path(file.c_str()).c_str(), 0));
        EXPECT_EQ(c.type, fromFile.GetType());
        ExpectPixels(*c.expected, fromFile, c.tolerance, "file");

        // The type named by the caller must be the type of the data.
        CPicture named;
        EXPECT_TRUE(named.Load(folder.Path(file.c_str()).c_str(), c.type));
        CPicture misnamed;
        DWORD other = c.type == PICTURE_TYPE_PNG ? PICTURE_TYPE_BMP : PICTURE_TYPE_PNG;
        EXPECT_FALSE(misnamed.Decode(c.bytes.data(), DWORD(c.bytes.size()), other));
        EXPECT_FALSE(misnamed.IsValid());
    }
}

TEST(PictureLoad, LeavesThePictureInvalidForDataThatIsNotAPicture)
{
    Bytes png = Encoded(FourColours(4), PICTURE_TYPE_PNG);
    Bytes truncatedPng(png.begin(), png.begin() + 30);
    Bytes tga = fixtures::Tga32Rle(FourColours(4));
    Bytes truncatedTga(tga.begin(), tga.end() - 3);
    Bytes runTooLong = fixtures::TgaGrey(2, 2, {1, 2, 3, 4});
    runTooLong[2] = 11; // run-length grey
    runTooLong.resize(18);
    runTooLong.push_back(0x84); // a run of five pixels into a picture of four
    runTooLong.push_back(7);
    Bytes outsideMap = fixtures::TgaMapped(2, 2, {0xFF0000, 0x00FF00}, {0, 1, 2, 0});
    Bytes bmp = fixtures::Bmp24(FourColours(4));
    Bytes bmpHeaderOnly(bmp.begin(), bmp.begin() + 54);
    const char text[] = "not a picture at all, just some text";

    struct Case
    {
        const char* name;
        Bytes bytes;
    } cases[] = {
        {"empty", Bytes()},
        {"text", Bytes(text, text + sizeof(text))},
        {"truncated png", truncatedPng},
        {"truncated tga", truncatedTga},
        {"tga run past the end", runTooLong},
        {"tga index outside its map", outsideMap},
        {"bmp header only", bmpHeaderOnly},
    };
    Canvas canvas(4, 4, RGB(1, 2, 3));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CPicture picture;
        SetPixels(picture, FourColours(2)); // a previous picture does not survive
        EXPECT_FALSE(picture.Decode(c.bytes.data(), DWORD(c.bytes.size())));
        EXPECT_FALSE(picture.IsValid());
        EXPECT_EQ(0u, picture.GetWidth());
        EXPECT_FALSE(picture.Draw(canvas.dc(), 0, 0));
        EXPECT_EQ(0u, picture.DumpSize());
    }
    EXPECT_EQ(0x010203u, canvas.At(0, 0));

    CPicture missing;
    EXPECT_FALSE(missing.Load("C:\\no such folder\\no such file.png", 0));
    EXPECT_FALSE(missing.IsValid());
}

TEST(PictureFrames, AnimatedGifGivesEveryFrameWithItsDelay)
{
    Bytes gif = fixtures::Gif(4, 4, kGifPalette, ThreeFrames());

    CPicture all;
    all.SetRetrieveAllFrames(true);
    ASSERT_TRUE(all.Decode(gif.data(), DWORD(gif.size())));
    ASSERT_EQ(3, all.GetNumFrames());
    const DWORD delays[3] = {100, 250, 50};
    const DWORD colours[3] = {kRed, kGreen, kBlue};
    for (long i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        CPicture* frame = all.GetFrame(i);
        ASSERT_TRUE(frame != NULL);
        EXPECT_EQ(delays[i], frame->GetFrameDelay());
        Pixels pixels = GetPixels(*frame);
        EXPECT_EQ(colours[i], pixels.At(3, 3));
    }
    // The third frame's transparent pixel shows the frame below it.
    EXPECT_EQ(kGreen, GetPixels(*all.GetFrame(2)).At(0, 0));
    EXPECT_TRUE(all.GetFrame(3) == NULL);
    EXPECT_EQ(kRed, GetPixels(all).At(0, 0));
    EXPECT_EQ(100u, all.GetFrameDelay());

    // One frame chosen before loading, the way the loading animation steps.
    support::TempFolder folder;
    folder.Write("anim.gif", gif);
    CPicture one;
    one.SetFrame(1);
    ASSERT_TRUE(one.Load(folder.Path("anim.gif").c_str(), 0));
    EXPECT_EQ(3, one.GetNumFrames());
    EXPECT_EQ(250u, one.GetFrameDelay());
    EXPECT_EQ(kGreen, GetPixels(one).At(1, 1));
    EXPECT_TRUE(one.GetFrame(0) == NULL);

    one.SetFrame(3);
    EXPECT_FALSE(one.Load(folder.Path("anim.gif").c_str(), 0));
    EXPECT_FALSE(one.IsValid());
}

TEST(PictureDump, RoundTripKeepsPixelsAndSettings)
{
    CPicture source;
    Pixels pixels = FourColours(6);
    pixels.argb[7] = 0x40123456;
    SetPixels(source, pixels);
    source.IncreaseBpp(32);
    source.SetType(PICTURE_TYPE_PNG);
    source.SetTransIndex(0);
    source.SetTransColor(CPicture::RgbToQuad(RGB(255, 0, 255)));

    const DWORD size = source.DumpSize();
    EXPECT_EQ(CPicture::kDumpHeaderSize + 6 * 6 * 4, size);
    Bytes dump(size + 16, 0xEE);
    EXPECT_EQ(0u, source.Dump(dump.data(), size - 1));
    ASSERT_EQ(size, source.Dump(dump.data(), DWORD(dump.size())));
    EXPECT_EQ(0, memcmp(dump.data(), "TVPD", 4));

    CPicture restored;
    ASSERT_TRUE(restored.UnDump(dump.data(), size));
    EXPECT_EQ(pixels.argb, GetPixels(restored).argb);
    EXPECT_EQ(32, restored.GetBpp());
    EXPECT_EQ(DWORD(PICTURE_TYPE_PNG), restored.GetType());
    EXPECT_EQ(0, restored.GetTransIndex());
    EXPECT_EQ(255, restored.GetTransColor().rgbRed);
    EXPECT_EQ(0, restored.GetTransColor().rgbGreen);
    EXPECT_EQ(255, restored.GetTransColor().rgbBlue);

    Bytes again(size);
    ASSERT_EQ(size, restored.Dump(again.data(), size));
    EXPECT_TRUE(std::equal(again.begin(), again.end(), dump.begin()));
}

TEST(PictureDump, RefusesMalformedDumps)
{
    CPicture source;
    SetPixels(source, FourColours(4));
    const DWORD size = source.DumpSize();
    Bytes good(size);
    ASSERT_EQ(size, source.Dump(good.data(), size));

    auto set32 = [](Bytes& b, size_t at, DWORD v) { memcpy(&b[at], &v, 4); };
    auto set16 = [](Bytes& b, size_t at, WORD v) { memcpy(&b[at], &v, 2); };
    struct Case
    {
        const char* name;
        std::function<void(Bytes&)> spoil;
        DWORD held; // bytes handed to UnDump (0 = all)
    } cases[] = {
        {"shorter than its header", [](Bytes&) {}, 39},
        {"one pixel byte short", [](Bytes&) {}, 0xFFFFFFFF},
        {"other magic", [](Bytes& b) { b[0] = 'X'; }, 0},
        {"newer version", [&](Bytes& b) { set16(b, 4, 2); }, 0},
        {"other header size", [&](Bytes& b) { set16(b, 6, 44); }, 0},
        {"zero width", [&](Bytes& b) { set32(b, 8, 0); }, 0},
        {"width beyond the limit", [&](Bytes& b) { set32(b, 8, 20000); }, 0},
        {"size that overflows",
         [&](Bytes& b) {
             set32(b, 8, 0x10000);
             set32(b, 12, 0x10000);
             set32(b, 36, 0);
         },
         0},
        {"pixel count not width x height x 4", [&](Bytes& b) { set32(b, 36, 4 * 4 * 4 - 4); }, 0},
        {"pixel count larger than the buffer",
         [&](Bytes& b) {
             set32(b, 12, 5);
             set32(b, 36, 4 * 5 * 4);
         },
         0},
        {"unknown bit depth", [&](Bytes& b) { set16(b, 16, 7); }, 0},
        {"unknown type", [&](Bytes& b) { set16(b, 18, 99); }, 0},
        {"transparent index below -1", [&](Bytes& b) { set32(b, 20, DWORD(-2)); }, 0},
        {"reserved field in use", [&](Bytes& b) { set32(b, 32, 1); }, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes bytes = good;
        c.spoil(bytes);
        DWORD held = c.held == 0 ? DWORD(bytes.size()) : c.held == 0xFFFFFFFF ? DWORD(bytes.size() - 1) : c.held;
        CPicture picture;
        SetPixels(picture, FourColours(2));
        EXPECT_FALSE(picture.UnDump(bytes.data(), held));
        EXPECT_FALSE(picture.IsValid());
    }
    CPicture picture;
    EXPECT_FALSE(picture.UnDump(NULL, size));
    EXPECT_TRUE(picture.UnDump(good.data(), size));
}

TEST(PictureRegion, CoversThePixelsThatAreNotTransparent)
{
    // Magenta key around a 4 x 2 block at (2, 2) and one pixel at (7, 0).
    Pixels pixels = fixtures::Solid(8, 6, kMagenta);
    for (DWORD y = 2; y < 4; ++y)
        for (DWORD x = 2; x < 6; ++x)
            pixels.argb[y * 8 + x] = kBlue;
    pixels.argb[7] = kRed;

    CPicture picture;
    SetPixels(picture, pixels);
    HRGN region = NULL;

    // Without a transparent colour every pixel counts.
    ASSERT_TRUE(picture.SelectionToHRGN(region));
    RECT box;
    GetRgnBox(region, &box);
    EXPECT_EQ(0, box.left);
    EXPECT_EQ(8, box.right);
    EXPECT_EQ(6, box.bottom);
    DeleteObject(region);

    picture.SetTransIndex(0);
    picture.SetTransColor(CPicture::RgbToQuad(RGB(255, 0, 255)));
    ASSERT_TRUE(picture.SelectionToHRGN(region));
    HRGN expected = CreateRectRgn(2, 2, 6, 4);
    HRGN dot = CreateRectRgn(7, 0, 8, 1);
    CombineRgn(expected, expected, dot, RGN_OR);
    EXPECT_TRUE(EqualRgn(region, expected));
    DeleteObject(dot);
    DeleteObject(expected);
    DeleteObject(region);

    // Alpha 0 is transparent as well.
    Pixels faded = fixtures::Solid(3, 1, kRed);
    faded.argb[1] = 0x00FF0000;
    CPicture alpha;
    SetPixels(alpha, faded);
    ASSERT_TRUE(alpha.SelectionToHRGN(region));
    EXPECT_TRUE(PtInRegion(region, 0, 0));
    EXPECT_FALSE(PtInRegion(region, 1, 0));
    EXPECT_TRUE(PtInRegion(region, 2, 0));
    DeleteObject(region);

    CPicture allKey;
    SetPixels(allKey, fixtures::Solid(3, 3, kMagenta));
    allKey.SetTransIndex(0);
    allKey.SetTransColor(CPicture::RgbToQuad(RGB(255, 0, 255)));
    EXPECT_FALSE(allKey.SelectionToHRGN(region));
    EXPECT_TRUE(region == NULL);
    CPicture empty;
    EXPECT_FALSE(empty.SelectionToHRGN(region));
}

TEST(PictureDraw, ReachesTheDeviceContext)
{
    CPicture picture;
    SetPixels(picture, FourColours(4));
    {
        SCOPED_TRACE("natural size");
        Canvas canvas(12, 12, RGB(9, 9, 9));
        ASSERT_TRUE(picture.Draw(canvas.dc(), 2, 3));
        EXPECT_EQ(Rgb(kRed), canvas.At(2, 3));
        EXPECT_EQ(Rgb(kGreen), canvas.At(5, 3));
        EXPECT_EQ(Rgb(kBlue), canvas.At(2, 6));
        EXPECT_EQ(Rgb(kWhite), canvas.At(5, 6));
        EXPECT_EQ(0x090909u, canvas.At(6, 6));
        EXPECT_EQ(0x090909u, canvas.At(1, 3));
    }
    {
        SCOPED_TRACE("stretched");
        Canvas canvas(12, 12, RGB(9, 9, 9));
        ASSERT_TRUE(picture.Draw(canvas.dc(), 0, 0, 8, 8));
        EXPECT_EQ(Rgb(kRed), canvas.At(3, 3));
        EXPECT_EQ(Rgb(kWhite), canvas.At(7, 7));
        EXPECT_EQ(0x090909u, canvas.At(8, 8));
    }
    {
        SCOPED_TRACE("clipped to one cell of a strip");
        Canvas canvas(12, 12, RGB(9, 9, 9));
        RECT cell = {0, 0, 2, 12};
        ASSERT_TRUE(picture.Draw(canvas.dc(), 0, 0, -1, -1, &cell));
        EXPECT_EQ(Rgb(kRed), canvas.At(1, 0));
        EXPECT_EQ(0x090909u, canvas.At(2, 0));
        ASSERT_TRUE(picture.Draw(canvas.dc(), -2, 0, -1, -1, &cell));
        EXPECT_EQ(Rgb(kGreen), canvas.At(0, 0));
    }
    {
        SCOPED_TRACE("transparent colour and alpha");
        Pixels pixels = fixtures::Solid(3, 1, kMagenta);
        pixels.argb[1] = kBlue;
        pixels.argb[2] = 0x80FF0000;
        CPicture keyed;
        SetPixels(keyed, pixels);
        keyed.SetTransIndex(0);
        keyed.SetTransColor(CPicture::RgbToQuad(RGB(255, 0, 255)));
        Canvas canvas(4, 1, RGB(255, 255, 255));
        ASSERT_TRUE(keyed.Draw(canvas.dc(), 0, 0));
        EXPECT_EQ(0xFFFFFFu, canvas.At(0, 0));
        EXPECT_EQ(Rgb(kBlue), canvas.At(1, 0));
        EXPECT_TRUE(Near(0xFF7F7F, canvas.At(2, 0), 3)) << std::hex << canvas.At(2, 0);
    }
    {
        SCOPED_TRACE("tiled");
        CPicture tile;
        SetPixels(tile, fixtures::Quadrants(2, 2, kRed, kGreen, kBlue, kWhite));
        Canvas canvas(8, 8, RGB(9, 9, 9));
        RECT area = {1, 1, 6, 6};
        ASSERT_TRUE(tile.Tile(canvas.dc(), &area));
        EXPECT_EQ(Rgb(kRed), canvas.At(1, 1));
        EXPECT_EQ(Rgb(kRed), canvas.At(3, 3));
        EXPECT_EQ(Rgb(kWhite), canvas.At(4, 4));
        EXPECT_EQ(Rgb(kRed), canvas.At(5, 5));
        EXPECT_EQ(0x090909u, canvas.At(6, 6));
        EXPECT_EQ(0x090909u, canvas.At(0, 0));
    }
}

TEST(PictureCompose, CropKeepsTheRectangleInsideThePicture)
{
    CPicture picture;
    SetPixels(picture, FourColours(4));

    CPicture target;
    RECT right = {2, 0, 10, 2};
    ASSERT_TRUE(picture.Crop(right, &target));
    EXPECT_EQ(2u, target.GetWidth());
    EXPECT_EQ(2u, target.GetHeight());
    EXPECT_EQ(fixtures::Solid(2, 2, kGreen).argb, GetPixels(target).argb);
    EXPECT_EQ(4u, picture.GetWidth());

    RECT outside = {5, 5, 9, 9};
    EXPECT_FALSE(picture.Crop(outside, &target));
    RECT inverted = {3, 3, 1, 1};
    EXPECT_FALSE(picture.Crop(inverted));

    RECT bottomLeft = {0, 2, 2, 4};
    ASSERT_TRUE(picture.Crop(bottomLeft));
    EXPECT_EQ(fixtures::Solid(2, 2, kBlue).argb, GetPixels(picture).argb);
}

TEST(PictureCompose, ResampleScalesWithoutBleedingTransparentPixels)
{
    CPicture picture;
    SetPixels(picture, FourColours(2));
    CPicture big;
    ASSERT_TRUE(picture.Resample(4, 4, PICTURE_RESAMPLE_NEAREST, &big));
    EXPECT_EQ(FourColours(4).argb, GetPixels(big).argb);

    // Shrinking averages.
    Pixels checker = fixtures::Quadrants(2, 2, 0xFF000000, kWhite, kWhite, 0xFF000000);
    SetPixels(picture, checker);
    ASSERT_TRUE(picture.Resample(1, 1, PICTURE_RESAMPLE_SMOOTH));
    EXPECT_TRUE(Near(0xFF808080, GetPixels(picture).At(0, 0), 2)) << std::hex << GetPixels(picture).At(0, 0);

    // A flat picture stays flat at any size.
    SetPixels(picture, fixtures::Solid(7, 5, 0xFF336699));
    ASSERT_TRUE(picture.Resample(128, 128, PICTURE_RESAMPLE_SMOOTH));
    Pixels flat = GetPixels(picture);
    for (DWORD c : flat.argb)
        ASSERT_TRUE(Near(0xFF336699, c, 1)) << std::hex << c;

    // The colour of a transparent neighbour does not come through.
    Pixels half = fixtures::Solid(2, 1, kRed);
    half.argb[1] = 0x0000FF00;
    SetPixels(picture, half);
    ASSERT_TRUE(picture.Resample(1, 1, PICTURE_RESAMPLE_SMOOTH));
    DWORD mixed = GetPixels(picture).At(0, 0);
    EXPECT_EQ(0xFF0000u, mixed & 0xFFFFFF) << std::hex << mixed;
    EXPECT_NEAR(128, int(mixed >> 24), 2);

    EXPECT_FALSE(picture.Resample(0, 4));
}

TEST(PictureCompose, MixFromLaysTheTileOverThePicture)
{
    CPicture canvas;
    ASSERT_TRUE(canvas.Create(4, 4, 24));
    EXPECT_EQ(24, canvas.GetBpp());
    EXPECT_EQ(fixtures::Solid(4, 4, 0xFF000000).argb, GetPixels(canvas).argb);

    // Placed at (2, -1): its top row and right column fall outside.
    Pixels tilePixels = fixtures::Solid(3, 3, kRed);
    tilePixels.argb[3] = 0x00FFFFFF; // alpha 0, lands on (2, 0): skipped
    tilePixels.argb[4] = kMagenta;   // the tile's key colour, lands on (3, 0): skipped
    CPicture tile;
    SetPixels(tile, tilePixels);
    tile.SetTransIndex(0);
    tile.SetTransColor(CPicture::RgbToQuad(RGB(255, 0, 255)));

    ASSERT_TRUE(canvas.MixFrom(tile, 2, -1));
    Pixels expected = fixtures::Solid(4, 4, 0xFF000000);
    expected.argb[1 * 4 + 2] = kRed;
    expected.argb[1 * 4 + 3] = kRed;
    EXPECT_EQ(expected.argb, GetPixels(canvas).argb);

    // Half alpha lies over what is there.
    CPicture veil;
    SetPixels(veil, fixtures::Solid(1, 1, 0x80FFFFFF));
    ASSERT_TRUE(canvas.MixFrom(veil, 0, 0));
    EXPECT_TRUE(Near(0xFF808080, GetPixels(canvas).At(0, 0), 2)) << std::hex << GetPixels(canvas).At(0, 0);

    EXPECT_FALSE(canvas.MixFrom(canvas, 0, 0));
    EXPECT_FALSE(canvas.Create(4, 4, 7));
    EXPECT_FALSE(canvas.Create(0, 4, 24));
}

TEST(PictureBitmap, ConvertsToAndFromBitmapsAndPackedDibs)
{
    CPicture picture;
    Pixels pixels = FourColours(4);
    SetPixels(picture, pixels);
    EXPECT_EQ(32, picture.GetBpp());
    EXPECT_TRUE(picture.IncreaseBpp(24)); // never lowers
    EXPECT_EQ(32, picture.GetBpp());

    HBITMAP bitmap = picture.MakeBitmap(NULL);
    ASSERT_TRUE(bitmap != NULL);
    CPicture back;
    ASSERT_TRUE(back.CreateFromHBITMAP(bitmap));
    DeleteObject(bitmap);
    EXPECT_EQ(pixels.argb, GetPixels(back).argb);

    // A 24-bit bitmap comes back opaque, at its depth.
    BITMAPINFO info;
    memset(&info, 0, sizeof(info));
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = 2;
    info.bmiHeader.biHeight = 1;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = NULL;
    bitmap = CreateDIBSection(NULL, &info, DIB_RGB_COLORS, &bits, NULL, 0);
    const BYTE row[8] = {0xFF, 0, 0, 0, 0xFF, 0, 0, 0};
    memcpy(bits, row, sizeof(row));
    ASSERT_TRUE(back.CreateFromHBITMAP(bitmap));
    DeleteObject(bitmap);
    EXPECT_EQ(24, back.GetBpp());
    EXPECT_EQ(kBlue, GetPixels(back).At(0, 0));
    EXPECT_EQ(kGreen, GetPixels(back).At(1, 0));
    EXPECT_FALSE(back.CreateFromHBITMAP(NULL));

    // A packed DIB in global memory, as a scanner hands it over.
    Bytes bmp = fixtures::Bmp24(pixels);
    const SIZE_T dibSize = bmp.size() - 14;
    HGLOBAL dib = GlobalAlloc(GMEM_MOVEABLE, dibSize);
    memcpy(GlobalLock(dib), bmp.data() + 14, dibSize);
    GlobalUnlock(dib);
    ASSERT_TRUE(back.CreateFromHANDLE(dib));
    GlobalFree(dib);
    EXPECT_EQ(pixels.argb, GetPixels(back).argb);
    EXPECT_EQ(24, back.GetBpp());

    HGLOBAL shortDib = GlobalAlloc(GMEM_MOVEABLE, 40 + 8);
    memcpy(GlobalLock(shortDib), bmp.data() + 14, 40 + 8);
    GlobalUnlock(shortDib);
    EXPECT_FALSE(back.CreateFromHANDLE(shortDib));
    EXPECT_FALSE(back.IsValid());
    GlobalFree(shortDib);
}

TEST(PictureEncode, PngKeepsPixelsAndWritesTheKeyColourTransparent)
{
    Pixels pixels = FourColours(4);
    pixels.argb[5] = kMagenta;
    CPicture picture;
    SetPixels(picture, pixels);
    picture.SetTransIndex(0);
    picture.SetTransColor(CPicture::RgbToQuad(RGB(255, 0, 255)));

    CPictureMemFile file;
    ASSERT_TRUE(picture.Encode(file, PICTURE_TYPE_PNG));
    CPicture back;
    ASSERT_TRUE(back.Decode(file.GetBuffer(), file.GetSize()));
    EXPECT_EQ(DWORD(PICTURE_TYPE_PNG), back.GetType());
    Pixels got = GetPixels(back);
    EXPECT_EQ(0u, got.At(1, 1) >> 24);
    got.argb[5] = pixels.argb[5];
    EXPECT_EQ(pixels.argb, got.argb);

    EXPECT_FALSE(picture.Encode(file, PICTURE_TYPE_GIF));
    EXPECT_EQ(0u, file.GetSize());
    CPicture empty;
    EXPECT_FALSE(empty.Encode(file, PICTURE_TYPE_PNG));
}
