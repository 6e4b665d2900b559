// Window shapes cut from pictures: the key range per colour component, the
// orientation of the rows, regions assembled from several parts, and the
// two ways of shaping a window.
#include <BitmapRegion.h>
#include <Picture.h>
#include <SkinImage.h>
#include <SkinTestSupport.h>

#include <gtest/gtest.h>

using namespace skintest;

namespace
{
const COLORREF kMagenta = RGB(255, 0, 255);
const COLORREF kTolerance = RGB(0x10, 0x10, 0x10);
const COLORREF kRed = RGB(200, 0, 0);

// The region as a set of pixels, compared with the pixels expected kept.
void ExpectRegionIs(HRGN hRgn, const Pixels& pixels, COLORREF crKept)
{
    for (int y = 0; y < pixels.height; ++y)
        for (int x = 0; x < pixels.width; ++x)
            ASSERT_EQ(PtInRegion(hRgn, x, y) != FALSE, pixels.At(x, y) == crKept) << x << "," << y;
}

HRGN RegionOf(const Pixels& pixels, COLORREF crKey, COLORREF crTolerance)
{
    HBITMAP hBitmap = MakeDib(pixels);
    CRgn* pRgn = CreateRegionFromBitmap(hBitmap, crKey, crTolerance);
    DeleteObject(hBitmap);
    return pRgn != NULL ? (HRGN)pRgn->GetSafeHandle() : NULL;
}

TEST(CreateRegionFromBitmap, KeepsThePixelsOutsideTheKeyRange)
{
    struct
    {
        const char* name;
        COLORREF pixel;
        COLORREF key;
        COLORREF tolerance;
        bool cut;
    } cases[] = {
        {"magenta itself", kMagenta, kMagenta, kTolerance, true},
        {"green within the tolerance", RGB(0xFF, 0x10, 0xFF), kMagenta, kTolerance, true},
        {"green past the tolerance", RGB(0xFF, 0x11, 0xFF), kMagenta, kTolerance, false},
        {"red below the key", RGB(0xEF, 0x00, 0xFF), kMagenta, kTolerance, false},
        {"blue below the key", RGB(0xFF, 0x00, 0xEF), kMagenta, kTolerance, false},
        // Each component is compared with its own: a red key cuts red, not blue.
        {"red key, red pixel", RGB(200, 0, 0), RGB(200, 0, 0), 0, true},
        {"red key, blue pixel", RGB(0, 0, 200), RGB(200, 0, 0), 0, false},
        {"blue key, red pixel", RGB(200, 0, 0), RGB(0, 0, 200), 0, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // The pixel under test in the middle of a frame of a colour never cut.
        Pixels pixels(3, 3, RGB(1, 130, 2));
        pixels.At(1, 1) = c.pixel;
        HRGN hRgn = RegionOf(pixels, c.key, c.tolerance);
        ASSERT_NE(hRgn, (HRGN)NULL);
        EXPECT_TRUE(PtInRegion(hRgn, 0, 0));
        EXPECT_EQ(PtInRegion(hRgn, 1, 1) == FALSE, c.cut);
        DeleteObject(hRgn);
    }
}

TEST(CreateRegionFromBitmap, APictureWithoutTheKeyGivesItsRectangle)
{
    HRGN hRgn = RegionOf(Pixels(37, 11, kRed), kMagenta, kTolerance);
    ASSERT_NE(hRgn, (HRGN)NULL);
    HRGN hRect = CreateRectRgn(0, 0, 37, 11);
    EXPECT_TRUE(EqualRgn(hRgn, hRect));
    DeleteObject(hRect);
    DeleteObject(hRgn);
}

TEST(CreateRegionFromBitmap, NothingForANullBitmapOrAllKey)
{
    EXPECT_EQ(CreateRegionFromBitmap(NULL, kMagenta, kTolerance), nullptr);
    EXPECT_EQ(RegionOf(Pixels(5, 5, kMagenta), kMagenta, kTolerance), (HRGN)NULL);
}

TEST(CreateRegionFromBitmap, RowsRunFromTheTopOfThePicture)
{
    // A device bitmap, whatever its layout in memory: top row key, the rest kept.
    HDC hScreen = GetDC(NULL);
    HBITMAP hBitmap = CreateCompatibleBitmap(hScreen, 8, 6);
    HDC hDC = CreateCompatibleDC(hScreen);
    HGDIOBJ hOld = SelectObject(hDC, hBitmap);
    RECT all = {0, 0, 8, 6}, top = {0, 0, 8, 2};
    HBRUSH red = CreateSolidBrush(kRed), magenta = CreateSolidBrush(kMagenta);
    FillRect(hDC, &all, red);
    FillRect(hDC, &top, magenta);
    SelectObject(hDC, hOld);
    DeleteDC(hDC);
    ReleaseDC(NULL, hScreen);
    DeleteObject(red);
    DeleteObject(magenta);

    CRgn* pRgn = CreateRegionFromBitmap(hBitmap, kMagenta, kTolerance);
    DeleteObject(hBitmap);
    ASSERT_NE(pRgn, nullptr);
    CRect rcBox;
    pRgn->GetRgnBox(&rcBox);
    EXPECT_EQ(rcBox, CRect(0, 2, 8, 6));
    DeleteObject(pRgn->GetSafeHandle());
}

TEST(CreateRegionFromBitmap, ManyRectanglesAreJoinedFromSeveralParts)
{
    // 100 x 100 alternating pixels: 5000 one-pixel runs, more than two parts' worth.
    Pixels pixels(100, 100, kMagenta);
    for (int y = 0; y < 100; ++y)
        for (int x = (y & 1); x < 100; x += 2)
            pixels.At(x, y) = kRed;
    HRGN hRgn = RegionOf(pixels, kMagenta, kTolerance);
    ASSERT_NE(hRgn, (HRGN)NULL);
    ExpectRegionIs(hRgn, pixels, kRed);
    DWORD nSize = GetRegionData(hRgn, 0, NULL);
    EXPECT_EQ((nSize - sizeof(RGNDATAHEADER)) / sizeof(RECT), 5000u);
    DeleteObject(hRgn);
}

class ShapedWindowTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_hWnd = CreateWindowExA(0, "STATIC", "", WS_POPUP, 40, 30, 200, 100, NULL, NULL, NULL, NULL);
        ASSERT_NE(m_hWnd, (HWND)NULL);
        Pixels pixels(30, 20, kRed);
        pixels.Fill(0, 0, 5, 5, kMagenta);
        m_path = m_folder.WriteBmp("shape.bmp", pixels);
    }
    void TearDown() override { DestroyWindow(m_hWnd); }

    CRect WindowRect()
    {
        CRect rc;
        GetWindowRect(m_hWnd, &rc);
        return rc;
    }

    void ExpectShaped()
    {
        EXPECT_EQ(WindowRect(), CRect(40, 30, 70, 50)); // the picture's size, in the same place
        EXPECT_FALSE(RegionHolds(m_hWnd, 0, 0));
        EXPECT_FALSE(RegionHolds(m_hWnd, 4, 4));
        EXPECT_TRUE(RegionHolds(m_hWnd, 5, 0));
        EXPECT_TRUE(RegionHolds(m_hWnd, 29, 19));
    }

    void ExpectUnchanged()
    {
        EXPECT_EQ(WindowRect(), CRect(40, 30, 240, 130));
        EXPECT_FALSE(HasWindowRegion(m_hWnd));
    }

    HWND m_hWnd = NULL;
    TempFolder m_folder;
    std::string m_path;
};

TEST_F(ShapedWindowTest, FromASkinImage)
{
    EXPECT_FALSE(ApplySkinImageRgn(NULL, m_hWnd));
    CSkinImage missing;
    missing.SetLoadInfo(m_folder.Path("missing.bmp").c_str());
    EXPECT_FALSE(ApplySkinImageRgn(&missing, m_hWnd));
    ExpectUnchanged();

    CSkinImage image;
    image.SetLoadInfo(m_path.c_str());
    EXPECT_TRUE(ApplySkinImageRgn(&image, m_hWnd));
    ExpectShaped();
}

TEST_F(ShapedWindowTest, FromAPicture)
{
    EXPECT_FALSE(ApplyPictureRgn(NULL, m_hWnd));
    CPicture empty;
    EXPECT_FALSE(ApplyPictureRgn(&empty, m_hWnd));
    ExpectUnchanged();

    CPicture picture;
    ASSERT_TRUE(picture.Load(m_path.c_str(), 0));
    EXPECT_TRUE(ApplyPictureRgn(&picture, m_hWnd));
    ExpectShaped();
}
} // namespace
