// Skin pictures: loading on first use, the empty picture of a failed load,
// plain, stretched, key-colour and blended copies.
#include <ImageHandle.h>
#include <Picture.h>
#include <PictureMemFile.h>
#include <SkinImage.h>
#include <SkinTestSupport.h>

#include <gtest/gtest.h>

using namespace skintest;

namespace
{
const COLORREF kMagenta = RGB(255, 0, 255);
const COLORREF kRed = RGB(200, 0, 0);
const COLORREF kGreen = RGB(0, 200, 0);
const COLORREF kBlue = RGB(0, 0, 200);
const COLORREF kGrey = RGB(90, 90, 90);

// 4 x 3: a red row, a green row with a magenta pixel at x 1, a blue row.
Pixels Rows()
{
    Pixels p(4, 3, kRed);
    p.Fill(0, 1, 4, 1, kGreen);
    p.At(1, 1) = kMagenta;
    p.Fill(0, 2, 4, 1, kBlue);
    return p;
}

TEST(SkinImage, LoadsOnFirstUseAndReadsPixels)
{
    TempFolder folder;
    CSkinImage image;
    image.SetLoadInfo(folder.WriteBmp("rows.bmp", Rows()).c_str());
    EXPECT_FALSE(image.IsNull());
    EXPECT_EQ(image.GetWidth(), 4);
    EXPECT_EQ(image.GetHeight(), 3);
    EXPECT_EQ(image.GetPixel(0, 0), kRed);
    EXPECT_EQ(image.GetPixel(1, 1), kMagenta);
    EXPECT_EQ(image.GetPixel(3, 2), kBlue);
    EXPECT_EQ(image.GetPixel(4, 0), CLR_INVALID);
    EXPECT_EQ(image.GetPixel(0, -1), CLR_INVALID);
    EXPECT_FALSE(image.HasAlpha());

    CImageHandle handle(&image);
    EXPECT_TRUE(handle.IsResourceValid());
    EXPECT_EQ(handle.GetBitmapHandle(), image.GetBitmapHandle());
    EXPECT_EQ(handle->GetWidth(), 4);
}

TEST(SkinImage, AFailedLoadLeavesAnEmptyPictureThatDrawsNothing)
{
    TempFolder folder;
    const std::string garbage = folder.Write("garbage.bmp", std::vector<BYTE>(64, 0x5A));
    const std::string missing = folder.Path("missing.bmp");
    const char* names[] = {missing.c_str(), garbage.c_str(), "", NULL};
    for (const char* name : names) {
        SCOPED_TRACE(name != NULL ? name : "(null)");
        CSkinImage image;
        image.SetLoadInfo(name);
        EXPECT_TRUE(image.IsNull());
        EXPECT_EQ(image.GetWidth(), 0);
        EXPECT_EQ(image.GetHeight(), 0);
        EXPECT_EQ(image.GetBitmapHandle(), (HBITMAP)NULL);
        Canvas canvas(8, 8, kGrey);
        EXPECT_FALSE(image.BitBlt(canvas.GetSafeHdc(), 0, 0));
        EXPECT_FALSE(image.StretchBlt(canvas.GetSafeHdc(), 0, 0, 8, 8, 0, 0, 4, 4));
        EXPECT_FALSE(image.AlphaDrawImage(canvas.DC(), 0, 0, 8, 8, 0, 0, kMagenta));
        EXPECT_EQ(canvas.At(0, 0), kGrey);
        CImageHandle handle(&image);
        EXPECT_FALSE(handle.IsResourceValid());
    }
    CImageHandle none;
    EXPECT_FALSE(none.IsResourceValid());
    EXPECT_EQ(none.GetBitmapHandle(), (HBITMAP)NULL);
}

TEST(SkinImage, PlainStretchedAndKeyColourCopies)
{
    TempFolder folder;
    CSkinImage image;
    image.SetLoadInfo(folder.WriteBmp("rows.bmp", Rows()).c_str(), true);

    Canvas plain(10, 10, kGrey);
    ASSERT_TRUE(image.BitBlt(plain.GetSafeHdc(), 2, 2));
    EXPECT_EQ(plain.At(1, 1), kGrey);
    EXPECT_EQ(plain.At(2, 2), kRed);
    EXPECT_EQ(plain.At(3, 3), kMagenta);
    EXPECT_EQ(plain.At(5, 4), kBlue);
    EXPECT_EQ(plain.At(6, 4), kGrey);

    // A part: the last two columns of the bottom row.
    Canvas part(10, 10, kGrey);
    ASSERT_TRUE(image.BitBlt(part.GetSafeHdc(), 0, 0, 2, 1, 2, 2));
    EXPECT_EQ(part.At(0, 0), kBlue);
    EXPECT_EQ(part.At(1, 0), kBlue);
    EXPECT_EQ(part.At(2, 0), kGrey);

    Canvas stretched(10, 10, kGrey);
    ASSERT_TRUE(image.StretchBlt(stretched.GetSafeHdc(), CRect(0, 0, 8, 6)));
    EXPECT_EQ(stretched.At(7, 1), kRed);
    EXPECT_EQ(stretched.At(2, 2), kMagenta);
    EXPECT_EQ(stretched.At(7, 5), kBlue);
    EXPECT_EQ(stretched.At(8, 0), kGrey);

    Canvas keyed(10, 10, kGrey);
    ASSERT_TRUE(image.AlphaDrawImage(keyed.DC(), 0, 0, 4, 3, 0, 0, kMagenta));
    EXPECT_EQ(keyed.At(0, 1), kGreen);
    EXPECT_EQ(keyed.At(1, 1), kGrey);
    EXPECT_EQ(keyed.At(2, 1), kGreen);
}

TEST(SkinImage, TheSameNameKeepsThePictureAndANewNameReplacesIt)
{
    TempFolder folder;
    const std::string first = folder.WriteBmp("first.bmp", Pixels(5, 2, kRed));
    const std::string second = folder.WriteBmp("second.bmp", Pixels(3, 7, kBlue));
    CSkinImage image;
    image.SetLoadInfo(first.c_str());
    ASSERT_EQ(image.GetWidth(), 5);

    // Painting code names its file on every paint: no new load.
    ASSERT_TRUE(DeleteFileA(first.c_str()));
    image.SetLoadInfo(first.c_str());
    EXPECT_FALSE(image.IsNull());
    EXPECT_EQ(image.GetPixel(0, 0), kRed);

    image.SetLoadInfo(second.c_str());
    EXPECT_EQ(image.GetWidth(), 3);
    EXPECT_EQ(image.GetHeight(), 7);
    EXPECT_EQ(image.GetPixel(2, 6), kBlue);

    image.RemoveLoadInfo();
    EXPECT_TRUE(image.IsNull());
}

TEST(SkinImage, PicturesWithTransparencyAreBlended)
{
    // Left column opaque green, right column fully transparent.
    HBITMAP hDib = MakeDib(Pixels(2, 2, kGreen));
    DIBSECTION dib;
    ASSERT_EQ(GetObject(hDib, sizeof(dib), &dib), (int)sizeof(dib));
    DWORD* bits = static_cast<DWORD*>(dib.dsBm.bmBits);
    bits[1] = bits[3] = 0x00000000;
    CPicture picture;
    ASSERT_TRUE(picture.CreateFromHBITMAP(hDib));
    DeleteObject(hDib);
    CPictureMemFile png;
    ASSERT_TRUE(picture.Encode(png, PICTURE_TYPE_PNG));

    TempFolder folder;
    std::vector<BYTE> bytes(png.GetBuffer(), png.GetBuffer() + png.GetSize());
    CSkinImage image;
    image.SetLoadInfo(folder.Write("half.png", bytes).c_str());
    ASSERT_FALSE(image.IsNull());
    EXPECT_TRUE(image.HasAlpha());
    Canvas canvas(4, 4, kGrey);
    ASSERT_TRUE(image.BitBlt(canvas.GetSafeHdc(), 0, 0));
    EXPECT_EQ(canvas.At(0, 0), kGreen);
    EXPECT_EQ(canvas.At(1, 1), kGrey);
}
} // namespace
