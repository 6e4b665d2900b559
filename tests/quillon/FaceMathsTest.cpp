// The face editor's fitting and crop arithmetic and the face grid's
// measures, picking and scroll limits, as plain functions.
#include "FaceCustomDlg.h"
#include "FaceFrameDlg.h"

#include <gtest/gtest.h>

namespace
{

TEST(FaceFit, ScaleIndexByFactorsTried)
{
    const struct
    {
        long cx, cy;
        int nLimit;
        int nExpected;
        const char* what;
    } cases[] = {
        {100, 100, CFaceCustomDlg::kFileFactorLimit, 0, "fits at once: natural size"},
        {0, 0, CFaceCustomDlg::kFileFactorLimit, 0, "an unreadable file is 0 by 0"},
        {267, 206, CFaceCustomDlg::kFileFactorLimit, 0, "exactly the area"},
        {268, 100, CFaceCustomDlg::kFileFactorLimit, 1, "one pixel too wide: 0.9"},
        {500, 400, CFaceCustomDlg::kFileFactorLimit, 5, "0.5"},
        {2000, 100, CFaceCustomDlg::kFileFactorLimit, 9, "0.1 is the last factor"},
        {2680, 100, CFaceCustomDlg::kFileFactorLimit, -1, "smaller than 0.1 is refused"},
        {100, 2070, CFaceCustomDlg::kFileFactorLimit, -1, "too high as well"},
        {400, 300, CFaceCustomDlg::kScannerFactorLimit, 4, "a source's picture down to 0.6"},
        {500, 400, CFaceCustomDlg::kScannerFactorLimit, -1, "a source's picture needing 0.5 is refused"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.nExpected, CFaceCustomDlg::FitScaleIndex(c.cx, c.cy, 267, 206, c.nLimit)) << c.what;
}

TEST(FaceFit, OriginCentresTheScaledPicture)
{
    // The area inflated by one: 269 by 208 from (-1, -1).
    CRect rcArea(0, 0, 267, 206);
    EXPECT_EQ(CPoint(83, 53), CFaceCustomDlg::PictureOrigin(rcArea, 100, 100, 1.0));
    EXPECT_EQ(CPoint(8, 3), CFaceCustomDlg::PictureOrigin(rcArea, 500, 400, 0.5));
}

TEST(FaceCrop, SourceRectangleUndoesTheScale)
{
    // 128 screen pixels at 0.5 cover 256 source pixels.
    CRect rc = CFaceCustomDlg::CropSourceRect(CRect(40, 30, 168, 158), CPoint(8, 3), 0.5);
    EXPECT_EQ(CRect(64, 54, 320, 310), rc);
    // At natural size the crop is the offset square itself.
    EXPECT_EQ(CRect(5, 6, 93, 94), CFaceCustomDlg::CropSourceRect(CRect(89, 59, 177, 147), CPoint(84, 53), 1.0));
    // Truncated towards zero.
    EXPECT_EQ(CRect(3, 3, 38, 38), CFaceCustomDlg::CropSourceRect(CRect(10, 10, 42, 42), CPoint(7, 7), 0.9));
}

TEST(FaceGrid, ThirteenFacesMakeThreeRows)
{
    CFaceFrameDlg::tagGridSize size = CFaceFrameDlg::MeasureGrid(13, 300);
    EXPECT_EQ(3, size.nRows);
    EXPECT_EQ(168, size.nHeight);
    EXPECT_EQ(300, size.nWidth);
    EXPECT_EQ(14, size.nLeftMargin);
    EXPECT_EQ(2, CFaceFrameDlg::MeasureGrid(12, 300).nRows);
    EXPECT_EQ(0, CFaceFrameDlg::MeasureGrid(0, 300).nRows);
    EXPECT_EQ(42, CFaceFrameDlg::MeasureGrid(0, 300).nHeight);
}

TEST(FaceGrid, PickByColumnBoundaries)
{
    const int lm = 14, nHeight = 168, nCount = 13;
    const struct
    {
        int x, y, nScroll;
        int nExpected;
        const char* what;
    } cases[] = {
        {lm, 0, 0, 0, "the row's left edge is the first cell"},
        {lm + 1, 0, 0, 0, "inside the first cell"},
        {lm + 42, 0, 0, 0, "a cell owns its right edge"},
        {lm + 43, 0, 0, 1, "the second cell"},
        {lm + 252, 0, 0, 5, "the last column's right edge"},
        {lm + 253, 0, 0, -1, "right of the row"},
        {lm - 1, 0, 0, -1, "left of the row"},
        {lm + 10, 43, 0, 6, "second row"},
        {lm + 10, 84, 0, 12, "third row, the last face"},
        {lm + 50, 84, 0, -1, "past the last face"},
        {lm + 10, 10, 42, 6, "scrolled by a row"},
        {lm + 10, 127, 42, -1, "below the scrolled grid"},
        {lm + 10, -1, 0, -1, "above the grid"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.nExpected, CFaceFrameDlg::PickIndex(CPoint(c.x, c.y), lm, nHeight, c.nScroll, nCount)) << c.what;
}

TEST(FaceGrid, ScrollHeldWithinTheGrid)
{
    const struct
    {
        int nPos, nGrid, nClient, nExpected;
    } cases[] = {
        {-20, 400, 200, 0},   {0, 400, 200, 0},     {150, 400, 200, 150},
        {200, 400, 200, 200}, {300, 400, 200, 200}, {50, 168, 200, 0}, // a grid shorter than the window never scrolls
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.nExpected, CFaceFrameDlg::ClampScroll(c.nPos, c.nGrid, c.nClient)) << c.nPos << " " << c.nGrid;
}

} // namespace
