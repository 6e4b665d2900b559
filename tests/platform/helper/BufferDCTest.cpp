#include "XTVBufferDC.h"

#include <gtest/gtest.h>

#include <string.h>

#include "MemoryCanvas.h"

namespace
{
const COLORREF kWhite = RGB(255, 255, 255), kRed = RGB(255, 0, 0), kBlue = RGB(0, 0, 255);
} // namespace

TEST(BufferDC, DrawingReachesTheTargetOnlyWhenTheBufferGoes)
{
    CMemoryCanvas target(40, 30, kWhite);
    target.Fill(12, 12, 14, 14, kBlue); // something the buffer must carry over
    {
        RECT area = {10, 10, 30, 25};
        CXTVBufferDC buffer(target.DC(), area);
        EXPECT_NE(target.GetSafeHdc(), buffer.GetSafeHdc());
        // Drawing uses the target's coordinates.
        RECT box = {20, 15, 25, 20};
        HBRUSH brush = CreateSolidBrush(kRed);
        FillRect(buffer.GetSafeHdc(), &box, brush);
        // Outside the buffered area nothing lands.
        RECT outside = {0, 0, 10, 10};
        FillRect(buffer.GetSafeHdc(), &outside, brush);
        DeleteObject(brush);
        EXPECT_EQ(kWhite, target.At(22, 17));
    }
    EXPECT_EQ(kRed, target.At(20, 15));
    EXPECT_EQ(kRed, target.At(24, 19));
    EXPECT_EQ(kWhite, target.At(25, 20));
    EXPECT_EQ(kBlue, target.At(13, 13)); // kept through the buffer
    EXPECT_EQ(kWhite, target.At(5, 5));
    EXPECT_EQ(kWhite, target.At(35, 27));
}

TEST(BufferDC, EmptyAreaDrawsStraightThrough)
{
    CMemoryCanvas target(10, 10, kWhite);
    {
        RECT empty = {5, 5, 5, 5};
        CXTVBufferDC buffer(target.DC(), empty);
        EXPECT_EQ(target.GetSafeHdc(), buffer.GetSafeHdc());
    }
    // The target's context is still usable afterwards.
    target.Fill(0, 0, 2, 2, kRed);
    EXPECT_EQ(kRed, target.At(1, 1));
}

namespace
{
// A window that paints green through the buffer.
class CPaintProbe : public CWnd
{
public:
    CPaintProbe() { SetRectEmpty(&m_bufferRect); }
    RECT m_bufferRect;

protected:
    afx_msg void OnPaint()
    {
        CPaintDC paint(this);
        CXTVBufferDC dc(paint);
        m_bufferRect = dc.GetBufferRect();
        CRect client;
        GetClientRect(&client);
        dc.FillSolidRect(&client, RGB(0, 128, 0));
        dc.FillSolidRect(2, 3, 4, 5, kRed);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CPaintProbe, CWnd)
    ON_WM_PAINT()
END_MESSAGE_MAP()
} // namespace

TEST(BufferDC, AWindowPaintedThroughTheBufferPrintsWhole)
{
    CPaintProbe probe;
    ASSERT_TRUE(probe.CreateEx(0, AfxRegisterWndClass(0), "probe", WS_POPUP, CRect(0, 0, 30, 20), NULL, 0));
    CMemoryCanvas target(40, 30, kWhite);
    probe.SendMessage(WM_PRINTCLIENT, WPARAM(target.GetSafeHdc()), PRF_CLIENT);
    EXPECT_EQ(0, probe.m_bufferRect.left);
    EXPECT_EQ(30, probe.m_bufferRect.right);
    EXPECT_EQ(20, probe.m_bufferRect.bottom);
    EXPECT_EQ(RGB(0, 128, 0), target.At(0, 0));
    EXPECT_EQ(RGB(0, 128, 0), target.At(29, 19));
    EXPECT_EQ(kRed, target.At(2, 3));
    EXPECT_EQ(kRed, target.At(5, 7));
    EXPECT_EQ(RGB(0, 128, 0), target.At(6, 8));
    EXPECT_EQ(kWhite, target.At(30, 20));
    probe.DestroyWindow();
}
