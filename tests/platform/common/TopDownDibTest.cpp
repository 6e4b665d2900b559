#include <gtest/gtest.h>

#include <TopDownDib.h>

// Callers scan the pixels as rows from the top, 4 bytes a pixel, no padding.
TEST(TopDownDib, RowZeroIsTheTopRowWithoutPadding)
{
    void* pBits = NULL;
    HBITMAP hBitmap = CreateTopDownDib(NULL, 3, 2, &pBits);
    ASSERT_NE(hBitmap, nullptr);
    ASSERT_NE(pBits, nullptr);
    HDC hDC = CreateCompatibleDC(NULL);
    HGDIOBJ hOld = SelectObject(hDC, hBitmap);
    SetPixel(hDC, 2, 0, RGB(10, 20, 30)); // last pixel of the top row
    SetPixel(hDC, 0, 1, RGB(40, 50, 60)); // first pixel of the bottom row
    GdiFlush();
    const BYTE* p = static_cast<const BYTE*>(pBits);
    EXPECT_EQ(p[2 * 4 + 0], 30);
    EXPECT_EQ(p[2 * 4 + 2], 10);
    EXPECT_EQ(p[3 * 4 + 0], 60);
    EXPECT_EQ(p[3 * 4 + 2], 40);
    SelectObject(hDC, hOld);
    DeleteDC(hDC);
    DeleteObject(hBitmap);
}

TEST(TopDownDib, EmptySizesGiveNoBitmap)
{
    const int sizes[][2] = {{0, 5}, {5, 0}, {-1, 5}, {5, -1}};
    for (const auto& size : sizes) {
        void* pBits = &pBits;
        EXPECT_EQ(CreateTopDownDib(NULL, size[0], size[1], &pBits), nullptr);
        EXPECT_EQ(pBits, nullptr);
    }
}
