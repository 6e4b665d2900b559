// The rectangle tracker: hit-testing of its handles, drawing, the cursor it
// sets, and Track driven by posted mouse and key messages.
#include <afxext.h>
#include <afxtest.h>

#include "MemoryCanvas.h"
#include "win_test_util.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{

class CLoggingTracker : public CRectTracker
{
public:
    CLoggingTracker(LPCRECT rect, UINT nStyle) : CRectTracker(rect, nStyle) {}
    void AdjustRect(int nHandle, LPRECT lpRect) override
    {
        Handles.push_back(nHandle);
        if (m_nMaxWidth > 0 && lpRect->right - lpRect->left > m_nMaxWidth)
            lpRect->right = lpRect->left + m_nMaxWidth;
    }
    void OnChangedRect(const CRect& rectOld) override { OldRects.push_back(rectOld); }
    std::vector<int> Handles;
    std::vector<CRect> OldRects;
    int m_nMaxWidth = 0;
};

class RectTrackerTest : public testing::Test
{
public:
    void SetUp() override
    {
        m_hWnd = CreateRawPopup(300, 200);
        ASSERT_TRUE(m_hWnd != NULL);
        ShowWindow(m_hWnd, SW_SHOWNOACTIVATE);
        m_pWnd = CWnd::FromHandlePermanent(m_hWnd);
        if (m_pWnd == NULL) {
            m_Wnd.Attach(m_hWnd);
            m_pWnd = &m_Wnd;
        }
    }
    void TearDown() override
    {
        if (m_Wnd.GetSafeHwnd() != NULL)
            m_Wnd.Detach();
        DestroyWindow(m_hWnd);
    }
    void Post(UINT message, WPARAM wParam, int x, int y) { PostMessage(m_hWnd, message, wParam, MAKELPARAM(x, y)); }

    HWND m_hWnd = NULL;
    CWnd m_Wnd;
    CWnd* m_pWnd = NULL;
};

const UINT kStyle = CRectTracker::solidLine | CRectTracker::resizeInside;

TEST_F(RectTrackerTest, HitTestFindsHandlesInside)
{
    CRectTracker tracker(CRect(10, 10, 110, 110), kStyle);
    const struct
    {
        int x, y, nHit;
    } cases[] = {
        {12, 12, CRectTracker::hitTopLeft},       {107, 12, CRectTracker::hitTopRight},
        {107, 107, CRectTracker::hitBottomRight}, {12, 107, CRectTracker::hitBottomLeft},
        {60, 12, CRectTracker::hitTop},           {107, 60, CRectTracker::hitRight},
        {60, 107, CRectTracker::hitBottom},       {12, 60, CRectTracker::hitLeft},
        {60, 60, CRectTracker::hitMiddle},        {5, 5, CRectTracker::hitNothing},
        {110, 60, CRectTracker::hitNothing},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.nHit, tracker.HitTest(CPoint(c.x, c.y))) << c.x << "," << c.y;

    // A small rectangle shows only its corners.
    CRectTracker small(CRect(0, 0, 20, 20), kStyle);
    EXPECT_EQ(0x0Fu, small.GetHandleMask());
    // Without a resize style there are no handles at all.
    CRectTracker plain(CRect(10, 10, 110, 110), CRectTracker::solidLine);
    EXPECT_EQ(CRectTracker::hitMiddle, plain.HitTest(CPoint(12, 12)));
}

TEST_F(RectTrackerTest, DrawsFrameAndHandles)
{
    CRectTracker tracker(CRect(10, 10, 110, 110), kStyle);
    CMemoryCanvas canvas(150, 150);
    tracker.Draw(canvas.DC());
    EXPECT_EQ(RGB(0, 0, 0), canvas.At(50, 10)) << "frame";
    EXPECT_EQ(RGB(0, 0, 0), canvas.At(109, 80));
    EXPECT_EQ(RGB(0, 0, 0), canvas.At(13, 13)) << "top-left handle";
    EXPECT_EQ(RGB(255, 255, 255), canvas.At(30, 30)) << "inside stays";
    EXPECT_EQ(RGB(255, 255, 255), canvas.At(5, 5)) << "outside stays";
}

TEST_F(RectTrackerTest, CursorOnlyOverTheTracker)
{
    CRectTracker tracker(CRect(10, 10, 110, 110), kStyle);
    CPoint pt(60, 60);
    ClientToScreen(m_hWnd, &pt);
    AfxSetTestCursorPos(pt);
    EXPECT_FALSE(tracker.SetCursor(m_pWnd, HTCAPTION));
    EXPECT_TRUE(tracker.SetCursor(m_pWnd, HTCLIENT));
    pt = CPoint(150, 150);
    ClientToScreen(m_hWnd, &pt);
    AfxSetTestCursorPos(pt);
    EXPECT_FALSE(tracker.SetCursor(m_pWnd, HTCLIENT));
    AfxClearTestCursorPos();
}

TEST_F(RectTrackerTest, TrackMovesAndResizes)
{
    const struct
    {
        CPoint from;
        int dx, dy;
        CRect expected;
        int nHandle;
    } cases[] = {
        {CPoint(60, 60), 15, -5, CRect(25, 5, 125, 105), CRectTracker::hitMiddle},
        {CPoint(107, 107), 20, 30, CRect(10, 10, 130, 140), CRectTracker::hitBottomRight},
        {CPoint(12, 60), 30, 0, CRect(40, 10, 110, 110), CRectTracker::hitLeft},
        // Pulled past the opposite edge: held at the minimum size.
        {CPoint(107, 107), -200, -200, CRect(10, 10, 42, 42), CRectTracker::hitBottomRight},
    };
    for (const auto& c : cases) {
        CLoggingTracker tracker(CRect(10, 10, 110, 110), kStyle);
        tracker.m_sizeMin = CSize(32, 32);
        Post(WM_MOUSEMOVE, MK_LBUTTON, c.from.x + c.dx / 2, c.from.y + c.dy / 2);
        Post(WM_LBUTTONUP, 0, c.from.x + c.dx, c.from.y + c.dy);
        EXPECT_TRUE(tracker.Track(m_pWnd, c.from));
        EXPECT_EQ(c.expected, tracker.m_rect) << c.from.x << "," << c.from.y;
        ASSERT_FALSE(tracker.Handles.empty());
        EXPECT_EQ(c.nHandle, tracker.Handles.back());
        EXPECT_EQ(CRect(10, 10, 110, 110), tracker.OldRects.front());
        EXPECT_TRUE(GetCapture() == NULL) << "capture released";
    }
}

TEST_F(RectTrackerTest, AdjustRectHasTheLastWord)
{
    CLoggingTracker tracker(CRect(10, 10, 110, 110), kStyle);
    tracker.m_nMaxWidth = 120;
    Post(WM_LBUTTONUP, 0, 157, 60);
    EXPECT_TRUE(tracker.Track(m_pWnd, CPoint(107, 60)));
    EXPECT_EQ(CRect(10, 10, 130, 110), tracker.m_rect);
}

TEST_F(RectTrackerTest, EscapeOrRightButtonDropsTheChange)
{
    const UINT stops[] = {WM_KEYDOWN, WM_RBUTTONDOWN};
    for (UINT stop : stops) {
        CLoggingTracker tracker(CRect(10, 10, 110, 110), kStyle);
        Post(WM_MOUSEMOVE, MK_LBUTTON, 80, 80);
        if (stop == WM_KEYDOWN)
            PostMessage(m_hWnd, WM_KEYDOWN, VK_ESCAPE, 0);
        else
            Post(WM_RBUTTONDOWN, MK_RBUTTON, 80, 80);
        EXPECT_FALSE(tracker.Track(m_pWnd, CPoint(60, 60)));
        EXPECT_EQ(CRect(10, 10, 110, 110), tracker.m_rect) << stop;
        EXPECT_TRUE(GetCapture() == NULL);
    }
    // A click beside the tracker tracks nothing.
    CRectTracker tracker(CRect(10, 10, 110, 110), kStyle);
    EXPECT_FALSE(tracker.Track(m_pWnd, CPoint(150, 150)));
}

} // namespace
