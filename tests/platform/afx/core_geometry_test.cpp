// CPoint/CSize/CRect. On Windows this file includes <windows.h> before
// afx.h (the other order is in core_include_order_test.cpp) and checks that a
// CRect is the SDK's RECT to Win32.
#ifdef _WIN32
#include <windows.h>
#endif
#include <afx.h>
#include <gtest/gtest.h>

TEST(CoreGeometry, IntersectAndUnionFollowWin32)
{
    struct Row
    {
        CRect a, b, inter, uni;
        BOOL bInter;
    };
    const Row rows[] = {
        {CRect(0, 0, 10, 10), CRect(5, 5, 15, 15), CRect(5, 5, 10, 10), CRect(0, 0, 15, 15), TRUE},
        {CRect(0, 0, 10, 10), CRect(10, 0, 20, 10), CRect(), CRect(0, 0, 20, 10), FALSE}, // touching
        {CRect(0, 0, 10, 10), CRect(2, 2, 2, 8), CRect(), CRect(0, 0, 10, 10), FALSE},    // empty b
        {CRect(), CRect(), CRect(), CRect(), FALSE},
        {CRect(-5, -5, 5, 5), CRect(-1, -20, 1, 20), CRect(-1, -5, 1, 5), CRect(-5, -20, 5, 20), TRUE},
    };
    for (const Row& r : rows) {
        CRect i(1, 1, 2, 2), u;
        EXPECT_EQ(i.IntersectRect(&r.a, &r.b), r.bInter);
        EXPECT_EQ(i, r.inter);
        u.UnionRect(&r.a, &r.b);
        EXPECT_EQ(u, r.uni);
        EXPECT_EQ(r.a & r.b, r.inter);
        EXPECT_EQ(r.a | r.b, r.uni);
    }
}

TEST(CoreGeometry, MembersAndOperators)
{
    CRect r(10, 20, 110, 70);
    EXPECT_EQ(r.Width(), 100);
    EXPECT_EQ(r.Height(), 50);
    EXPECT_EQ(r.Size(), CSize(100, 50));
    EXPECT_EQ(r.TopLeft(), CPoint(10, 20));
    EXPECT_EQ(r.BottomRight(), CPoint(110, 70));
    EXPECT_EQ(r.CenterPoint(), CPoint(60, 45));
    EXPECT_TRUE(r.PtInRect(CPoint(10, 20)));
    EXPECT_FALSE(r.PtInRect(CPoint(110, 20))); // right edge is outside
    EXPECT_FALSE(r.PtInRect(CPoint(10, 70)));
    r.TopLeft() = CPoint(0, 0);
    EXPECT_EQ(r, CRect(0, 0, 110, 70));
    r.InflateRect(1, 2);
    EXPECT_EQ(r, CRect(-1, -2, 111, 72));
    r.DeflateRect(1, 2, 3, 4);
    EXPECT_EQ(r, CRect(0, 0, 108, 68));
    r.OffsetRect(CPoint(5, 6));
    EXPECT_EQ(r, CRect(5, 6, 113, 74));
    r.MoveToXY(0, 0);
    EXPECT_EQ(r, CRect(0, 0, 108, 68));
    EXPECT_EQ(r + CSize(1, 1), CRect(1, 1, 109, 69));
    EXPECT_EQ(r - CPoint(1, 1), CRect(-1, -1, 107, 67));
    CRect n(10, 10, 0, 0);
    EXPECT_TRUE(n.IsRectEmpty());
    EXPECT_FALSE(n.IsRectNull());
    n.NormalizeRect();
    EXPECT_EQ(n, CRect(0, 0, 10, 10));
    n.SetRectEmpty();
    EXPECT_TRUE(n.IsRectNull());
    EXPECT_TRUE(CRect(0, 0, 0, 5).IsRectEmpty());

    CPoint p(3, 4);
    p += CSize(1, 1);
    EXPECT_EQ(p, CPoint(4, 5));
    EXPECT_EQ(p - CPoint(1, 1), CSize(3, 4));
    EXPECT_EQ(-p, CPoint(-4, -5));
    // Packed mouse coordinates are signed 16-bit.
    EXPECT_EQ(CPoint((LPARAM)0xFFFE0005), CPoint(5, -2));
    LPRECT pr = r;
    EXPECT_EQ(pr->right, 108);
    RECT raw = r;
    EXPECT_EQ(raw.bottom, 68);
}

#ifdef _WIN32
TEST(CoreGeometry, AgreesWithWin32)
{
    const CRect rows[][2] = {
        {CRect(0, 0, 10, 10), CRect(5, 5, 15, 15)},
        {CRect(0, 0, 10, 10), CRect(10, 0, 20, 10)},
        {CRect(0, 0, 10, 10), CRect(2, 2, 2, 8)},
        {CRect(-5, -5, 5, 5), CRect(-1, -20, 1, 20)},
    };
    for (const auto& r : rows) {
        CRect mine, theirs;
        EXPECT_EQ(mine.IntersectRect(&r[0], &r[1]), ::IntersectRect(&theirs, &r[0], &r[1]));
        EXPECT_EQ(mine, theirs);
        EXPECT_EQ(mine.UnionRect(&r[0], &r[1]), ::UnionRect(&theirs, r[0], r[1]));
        EXPECT_EQ(mine, theirs);
        EXPECT_EQ(r[0].IsRectEmpty(), ::IsRectEmpty(&r[0]));
        EXPECT_EQ(r[0].PtInRect(CPoint(9, 9)), ::PtInRect(&r[0], CPoint(9, 9)));
    }
    CRect r;
    ::SetRect(&r, 1, 2, 3, 4);
    EXPECT_EQ(r, CRect(1, 2, 3, 4));
}
#endif
