// The skinned scroll bar: geometry and hit test (also with a range that
// does not start at 0), its own scroll state, held arrows and page areas
// with their timers, thumb drags, and what it paints.
#include <SkinScrollBar.h>
#include <SkinTestSupport.h>
#include <afxtest.h>

#include <gtest/gtest.h>

#include <vector>

using namespace skintest;

namespace
{
const int kCell = 16;

// A colour per picture cell, so every blit can be traced back to its cell.
COLORREF CellColour(int column, int row)
{
    return RGB(20 + column * 20, 40 + row * 60, 200 - column * 10);
}

Pixels ScrollPicture(int cell)
{
    Pixels p(9 * cell, 3 * cell, RGB(0, 0, 0));
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 9; ++column)
            p.Fill(column * cell, row * cell, cell, cell, CellColour(column, row));
    return p;
}

struct ScrollMessage
{
    UINT message;
    UINT code;
    int pos;
};

// Records what its bars report and moves them as a list would: a line is
// 1, a page is the page size, the thumb sets the position.
class ScrollParent : public CWnd
{
public:
    std::vector<ScrollMessage> messages;
    BOOL follow = TRUE;

    int Count(UINT code) const
    {
        int n = 0;
        for (const ScrollMessage& m : messages)
            n += m.code == code;
        return n;
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message != WM_VSCROLL && message != WM_HSCROLL)
            return CWnd::WindowProc(message, wParam, lParam);
        const UINT code = LOWORD(wParam);
        const int pos = (short)HIWORD(wParam);
        messages.push_back({message, code, pos});
        if (!follow)
            return 0;
        HWND hBar = (HWND)lParam;
        SCROLLINFO si = {sizeof(si), SIF_ALL};
        ::SendMessage(hBar, SBM_GETSCROLLINFO, 0, (LPARAM)&si);
        int next = si.nPos;
        switch (code) {
        case SB_LINEUP: next -= 1; break;
        case SB_LINEDOWN: next += 1; break;
        case SB_PAGEUP: next -= (int)si.nPage; break;
        case SB_PAGEDOWN: next += (int)si.nPage; break;
        case SB_THUMBPOSITION: next = pos; break;
        default: return 0;
        }
        const int last = si.nMax - (int)si.nPage + 1;
        next = next < si.nMin ? si.nMin : next > last ? last : next;
        si.fMask = SIF_POS;
        si.nPos = next;
        ::SendMessage(hBar, SBM_SETSCROLLINFO, TRUE, (LPARAM)&si);
        return 0;
    }
};

class SkinScrollBarTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(
            m_parent.CreateEx(0, AfxRegisterWndClass(0), "", WS_POPUP | WS_VISIBLE, 0, 0, 300, 300, NULL, NULL));
        m_hPicture = MakeDib(ScrollPicture(kCell));
        ASSERT_TRUE(m_bar.Create(WS_CHILD | WS_VISIBLE | SBS_VERT, CRect(10, 20, 40, 120), &m_parent, 7));
        m_bar.SetBitmap(m_hPicture);
    }
    void TearDown() override
    {
        AfxClearTestCursorPos();
        m_parent.DestroyWindow();
        DeleteObject(m_hPicture);
    }

    void SetInfo(int nMin, int nMax, UINT nPage, int nPos)
    {
        SCROLLINFO si = {sizeof(si), SIF_ALL};
        si.nMin = nMin;
        si.nMax = nMax;
        si.nPage = nPage;
        si.nPos = nPos;
        m_bar.SetScrollInfo(&si, FALSE);
    }
    SCROLLINFO Info()
    {
        SCROLLINFO si = {sizeof(si), SIF_ALL};
        m_bar.SendMessage(SBM_GETSCROLLINFO, 0, (LPARAM)&si);
        return si;
    }
    void Mouse(UINT message, int x, int y, WPARAM flags = 0) { m_bar.SendMessage(message, flags, MAKELPARAM(x, y)); }
    void Tick(UINT id) { m_bar.SendMessage(WM_TIMER, id, 0); }
    void CursorAt(int x, int y)
    {
        POINT pt = {x, y};
        ::ClientToScreen(m_bar.m_hWnd, &pt);
        AfxSetTestCursorPos(pt);
    }
    BOOL TimerRuns(UINT id) { return ::KillTimer(m_bar.m_hWnd, id); }

    ScrollParent m_parent;
    CSkinScrollBar m_bar;
    HBITMAP m_hPicture = NULL;
};

TEST_F(SkinScrollBarTest, PictureSetsTheCellAndTheBarThickness)
{
    EXPECT_EQ(kCell, m_bar.GetCellSize());
    CRect rc;
    m_bar.GetWindowRect(&rc);
    m_parent.ScreenToClient(&rc);
    EXPECT_EQ(CRect(10, 20, 10 + kCell, 120), rc);

    // A width that is not a multiple of 9 is cut; a horizontal bar changes height.
    Pixels odd(150, 48, RGB(1, 1, 1));
    HBITMAP hOdd = MakeDib(odd);
    CSkinScrollBar horz;
    ASSERT_TRUE(horz.Create(WS_CHILD, CRect(0, 200, 120, 260), &m_parent, 8));
    horz.SetBitmap(hOdd);
    EXPECT_EQ(16, horz.GetCellSize());
    horz.GetWindowRect(&rc);
    m_parent.ScreenToClient(&rc);
    EXPECT_EQ(CRect(0, 200, 120, 216), rc);
    horz.DestroyWindow();
    DeleteObject(hOdd);
}

TEST_F(SkinScrollBarTest, ScrollInfoGoesThroughTheOrdinaryCallsWithoutClamping)
{
    SetInfo(5, 50, 10, 400);
    SCROLLINFO si = {sizeof(si), SIF_ALL};
    ASSERT_TRUE(m_bar.GetScrollInfo(&si, SIF_ALL | SIF_TRACKPOS));
    EXPECT_EQ(5, si.nMin);
    EXPECT_EQ(50, si.nMax);
    EXPECT_EQ(10u, si.nPage);
    EXPECT_EQ(400, si.nPos);
    EXPECT_EQ(-1, si.nTrackPos);

    // Only the masked fields change.
    SCROLLINFO pos = {sizeof(pos), SIF_POS};
    pos.nPos = 7;
    pos.nMax = 999;
    m_bar.SetScrollInfo(&pos, TRUE);
    EXPECT_EQ(7, Info().nPos);
    EXPECT_EQ(50, Info().nMax);
}

struct GeometryCase
{
    const char* name;
    int length;
    int nMin, nMax;
    UINT nPage;
    int nPos;
    int arrow;           // extent of each arrow
    int thumbTop, thumb; // 0-length thumb: none drawn
};

TEST_F(SkinScrollBarTest, GeometryTable)
{
    const GeometryCase cases[] = {
        {"small page gets the minimum thumb", 100, 0, 99, 10, 0, 16, 16, 12},
        {"at the last position", 100, 0, 99, 10, 90, 16, 72, 12},
        {"range not from 0, first", 100, 100, 199, 10, 100, 16, 16, 12},
        {"range not from 0, last", 100, 100, 199, 10, 190, 16, 72, 12},
        {"half page", 100, 0, 99, 50, 25, 16, 33, 34},
        {"page of the whole range: no thumb", 100, 0, 99, 100, 0, 16, 50, 0},
        {"track shorter than the minimum thumb", 40, 0, 99, 10, 0, 16, 16, 0},
        {"no track: arrows share the bar", 32, 0, 99, 10, 0, 16, 16, 0},
        {"bar shorter than two arrows", 20, 0, 99, 10, 0, 10, 10, 0},
        {"empty range", 100, 0, -1, 0, 0, 16, 50, 0},
        {"page beyond the range", 100, 0, 9, 50, 3, 16, 16, 68},
        {"position beyond the end", 100, 0, 99, 10, 500, 16, 72, 12},
    };
    for (const GeometryCase& c : cases) {
        SCOPED_TRACE(c.name);
        m_bar.MoveWindow(0, 0, kCell, c.length, FALSE);
        SetInfo(c.nMin, c.nMax, c.nPage, c.nPos);
        EXPECT_EQ(CRect(0, 0, kCell, c.arrow), m_bar.GetPartRect(SB_LINEUP));
        EXPECT_EQ(CRect(0, c.length - c.arrow, kCell, c.length), m_bar.GetPartRect(SB_LINEDOWN));
        EXPECT_EQ(CRect(0, c.thumbTop, kCell, c.thumbTop + c.thumb), m_bar.GetPartRect(SB_THUMBTRACK));
        EXPECT_EQ(CRect(0, c.arrow, kCell, c.thumbTop), m_bar.GetPartRect(SB_PAGEUP));
        EXPECT_EQ(CRect(0, c.thumbTop + c.thumb, kCell, c.length - c.arrow), m_bar.GetPartRect(SB_PAGEDOWN));
    }
}

TEST_F(SkinScrollBarTest, HitTestWalksTheParts)
{
    SetInfo(0, 99, 10, 45); // thumb at [44, 56)
    const struct
    {
        int y;
        UINT part;
    } cases[] = {{-1, (UINT)-1},    {0, SB_LINEUP},      {15, SB_LINEUP},     {16, SB_PAGEUP},
                 {43, SB_PAGEUP},   {44, SB_THUMBTRACK}, {55, SB_THUMBTRACK}, {56, SB_PAGEDOWN},
                 {83, SB_PAGEDOWN}, {84, SB_LINEDOWN},   {99, SB_LINEDOWN},   {500, SB_LINEDOWN}};
    for (const auto& c : cases)
        EXPECT_EQ(c.part, m_bar.HitTest(CPoint(3, c.y))) << c.y;

    // A page of the whole range: the thumb covers the track for the hit test.
    SetInfo(0, 99, 100, 0);
    EXPECT_EQ((UINT)SB_THUMBTRACK, m_bar.HitTest(CPoint(3, 16)));
    EXPECT_EQ((UINT)SB_THUMBTRACK, m_bar.HitTest(CPoint(3, 83)));
    // An empty range divides by nothing.
    SetInfo(0, -1, 0, 0);
    EXPECT_EQ((UINT)SB_PAGEUP, m_bar.HitTest(CPoint(3, 20)));
}

TEST_F(SkinScrollBarTest, HeldArrowRepeatsAfterTheDelayAndPausesOutside)
{
    SetInfo(0, 99, 10, 0);
    Mouse(WM_LBUTTONDOWN, 5, 90);
    ASSERT_EQ(1u, m_parent.messages.size());
    EXPECT_EQ((UINT)WM_VSCROLL, m_parent.messages[0].message);
    EXPECT_EQ((UINT)SB_LINEDOWN, m_parent.messages[0].code);
    EXPECT_EQ(m_bar.m_hWnd, ::GetCapture());

    Tick(CSkinScrollBar::TIMER_DELAY); // the delay ends with a repeat of its own
    EXPECT_EQ(2, m_parent.Count(SB_LINEDOWN));
    Tick(CSkinScrollBar::TIMER_REPEAT);
    EXPECT_EQ(3, m_parent.Count(SB_LINEDOWN));

    Mouse(WM_MOUSEMOVE, 5, 50, MK_LBUTTON); // off the arrow: paused
    Tick(CSkinScrollBar::TIMER_REPEAT);
    EXPECT_EQ(3, m_parent.Count(SB_LINEDOWN));
    Mouse(WM_MOUSEMOVE, 5, 95, MK_LBUTTON);
    Tick(CSkinScrollBar::TIMER_REPEAT);
    EXPECT_EQ(4, m_parent.Count(SB_LINEDOWN));
    EXPECT_EQ(4, Info().nPos);

    Mouse(WM_LBUTTONUP, 5, 95);
    EXPECT_FALSE(TimerRuns(CSkinScrollBar::TIMER_REPEAT));
    EXPECT_FALSE(TimerRuns(CSkinScrollBar::TIMER_DELAY));
    EXPECT_EQ(NULL, ::GetCapture());
    for (const ScrollMessage& m : m_parent.messages)
        EXPECT_NE((UINT)SB_ENDSCROLL, m.code);
}

TEST_F(SkinScrollBarTest, ReleaseBeforeTheDelayStopsTheDelayTimer)
{
    SetInfo(0, 99, 10, 5);
    Mouse(WM_LBUTTONDOWN, 5, 3);
    Mouse(WM_LBUTTONUP, 5, 3);
    EXPECT_EQ(1, m_parent.Count(SB_LINEUP));
    EXPECT_FALSE(TimerRuns(CSkinScrollBar::TIMER_DELAY));
}

TEST_F(SkinScrollBarTest, RepeatsStopAtEitherEndOfTheRange)
{
    SetInfo(0, 99, 10, 89);
    Mouse(WM_LBUTTONDOWN, 5, 90); // to 90, the last position
    Tick(CSkinScrollBar::TIMER_DELAY);
    EXPECT_EQ(1, m_parent.Count(SB_LINEDOWN));
    EXPECT_FALSE(TimerRuns(CSkinScrollBar::TIMER_REPEAT));
    Mouse(WM_LBUTTONUP, 5, 90);

    SetInfo(10, 99, 10, 11);
    Mouse(WM_LBUTTONDOWN, 5, 3);
    Tick(CSkinScrollBar::TIMER_DELAY);
    EXPECT_EQ(1, m_parent.Count(SB_LINEUP));
    EXPECT_FALSE(TimerRuns(CSkinScrollBar::TIMER_REPEAT));
    Mouse(WM_LBUTTONUP, 5, 3);
}

TEST_F(SkinScrollBarTest, RealTimersWaitHalfASecondThenRepeatFaster)
{
    SetInfo(0, 999, 10, 0);
    Mouse(WM_LBUTTONDOWN, 5, 90);
    std::vector<DWORD> times(1, GetTickCount());
    const DWORD start = GetTickCount();
    while (m_parent.Count(SB_LINEDOWN) < 4 && GetTickCount() - start < 10000) {
        MSG msg;
        if (!PeekMessage(&msg, NULL, 0, 0, PM_REMOVE)) {
            MsgWaitForMultipleObjects(0, NULL, FALSE, 50, QS_ALLINPUT);
            continue;
        }
        // The system's own cursor is elsewhere: only the timers count here.
        if (msg.message == WM_MOUSEMOVE || msg.message == WM_MOUSELEAVE)
            continue;
        DispatchMessage(&msg);
        if ((int)times.size() < m_parent.Count(SB_LINEDOWN))
            times.push_back(GetTickCount());
    }
    Mouse(WM_LBUTTONUP, 5, 90);
    ASSERT_EQ(4u, times.size());
    EXPECT_GE(times[1] - times[0], 450u);
    EXPECT_GE(times[2] - times[1], 80u);
    EXPECT_GE(times[3] - times[2], 80u);
}

TEST_F(SkinScrollBarTest, HeldTrackPagesUntilTheThumbIsUnderTheCursor)
{
    SetInfo(0, 99, 10, 0);
    CursorAt(5, 70);
    Mouse(WM_LBUTTONDOWN, 5, 70);
    Tick(CSkinScrollBar::TIMER_DELAY);
    for (int i = 0; i < 20 && TimerRuns(CSkinScrollBar::TIMER_REPEAT); ++i) {
        ::SetTimer(m_bar.m_hWnd, CSkinScrollBar::TIMER_REPEAT, 100000, NULL);
        Tick(CSkinScrollBar::TIMER_REPEAT);
    }
    Mouse(WM_LBUTTONUP, 5, 70);
    EXPECT_EQ(7, m_parent.Count(SB_PAGEDOWN));
    EXPECT_EQ(70, Info().nPos);
    EXPECT_TRUE(m_bar.GetPartRect(SB_THUMBTRACK).PtInRect(CPoint(5, 70)));
}

struct DragCase
{
    const char* name;
    int nMin, nMax;
    std::vector<int> moves; // cursor y after pressing on the thumb at y 20
    std::vector<int> tracks;
    int final;
};

TEST_F(SkinScrollBarTest, DragTable)
{
    const DragCase cases[] = {
        {"one pixel moves by the range over the free track", 0, 99, {20, 21, 21, 22}, {1, 3}, 3},
        {"clamped at the last page", 0, 99, {400}, {90}, 90},
        {"range not from 0", 100, 199, {400, -400}, {190, 100}, 100},
        {"back to the start sends the start", 0, 99, {30, 20}, {16, 0}, 0},
    };
    for (const DragCase& c : cases) {
        SCOPED_TRACE(c.name);
        m_parent.messages.clear();
        SetInfo(c.nMin, c.nMax, 10, c.nMin);
        Mouse(WM_LBUTTONDOWN, 5, 20);
        EXPECT_TRUE(m_bar.IsDragging());
        EXPECT_TRUE(m_parent.messages.empty());
        for (int y : c.moves)
            Mouse(WM_MOUSEMOVE, 5, y, MK_LBUTTON);
        m_bar.SendMessage(WM_MOUSELEAVE); // must not move the thumb
        Mouse(WM_LBUTTONUP, 5, c.moves.back());
        std::vector<int> tracks;
        for (const ScrollMessage& m : m_parent.messages)
            if (m.code == SB_THUMBTRACK)
                tracks.push_back(m.pos);
        EXPECT_EQ(c.tracks, tracks);
        ASSERT_EQ(1, m_parent.Count(SB_THUMBPOSITION));
        EXPECT_EQ((UINT)SB_THUMBPOSITION, m_parent.messages.back().code);
        EXPECT_EQ(c.final, m_parent.messages.back().pos);
        EXPECT_EQ(c.final, Info().nPos);
        SCROLLINFO si = {sizeof(si), SIF_TRACKPOS};
        m_bar.SendMessage(SBM_GETSCROLLINFO, 0, (LPARAM)&si);
        EXPECT_EQ(-1, si.nTrackPos);
        EXPECT_FALSE(m_bar.IsDragging());
    }
}

TEST_F(SkinScrollBarTest, DragWithThumbFillingTheTrackStaysPut)
{
    m_bar.MoveWindow(0, 0, kCell, 40, FALSE); // 8-pixel track: no thumb to move
    SetInfo(0, 99, 100, 0);
    Mouse(WM_LBUTTONDOWN, 5, 20);
    Mouse(WM_MOUSEMOVE, 5, 30, MK_LBUTTON);
    Mouse(WM_LBUTTONUP, 5, 30);
    EXPECT_EQ(0, m_parent.Count(SB_THUMBTRACK));
    EXPECT_EQ(0, Info().nPos);
}

TEST_F(SkinScrollBarTest, DoubleClickDoesNothingMore)
{
    SetInfo(0, 99, 10, 0);
    EXPECT_EQ(1, m_bar.SendMessage(WM_LBUTTONDBLCLK, 0, MAKELPARAM(5, 90)));
    EXPECT_TRUE(m_parent.messages.empty());
}

TEST_F(SkinScrollBarTest, PaintsArrowsThumbAndTrackFromTheirCells)
{
    SetInfo(0, 99, 10, 45); // thumb at [44, 56)
    Snapshot shot(m_bar.m_hWnd);
    EXPECT_EQ(CellColour(0, 0), shot.At(8, 8));
    EXPECT_EQ(CellColour(1, 0), shot.At(8, 92));
    EXPECT_EQ(CellColour(3, 0), shot.At(8, 30));
    EXPECT_EQ(CellColour(2, 0), shot.At(8, 44));
    EXPECT_EQ(CellColour(2, 0), shot.At(8, 55));
    EXPECT_EQ(CellColour(3, 0), shot.At(8, 70));

    // The whole range in one page: track between the arrows.
    SetInfo(0, 99, 100, 0);
    Snapshot full(m_bar.m_hWnd);
    for (int y = 16; y < 84; y += 5)
        EXPECT_EQ(CellColour(3, 0), full.At(8, y)) << y;
}

TEST_F(SkinScrollBarTest, HotAndPressedPartsOnACanvas)
{
    SetInfo(0, 99, 10, 45);
    Canvas canvas(kCell, 100, RGB(0, 0, 0));
    m_bar.DrawPart(canvas.Cdc(), SB_THUMBTRACK, 1);
    m_bar.DrawPart(canvas.Cdc(), SB_LINEDOWN, 2);
    EXPECT_EQ(CellColour(2, 1), canvas.At(8, 50));
    EXPECT_EQ(CellColour(1, 2), canvas.At(8, 90));
    EXPECT_EQ(RGB(0, 0, 0), canvas.At(8, 30));

    // A horizontal bar takes the columns four further on.
    CSkinScrollBar horz;
    ASSERT_TRUE(horz.Create(WS_CHILD, CRect(0, 0, 100, kCell), &m_parent, 9));
    horz.SetBitmap(m_hPicture);
    Canvas wide(100, kCell, RGB(0, 0, 0));
    horz.PaintBar(wide.Cdc());
    EXPECT_EQ(CellColour(4, 0), wide.At(3, 8));
    EXPECT_EQ(CellColour(5, 0), wide.At(97, 8));
    horz.DestroyWindow();
}

TEST_F(SkinScrollBarTest, PicturesOfAnySizeAndNoneDrawSafely)
{
    SetInfo(0, 99, 10, 45);
    const int widths[] = {1, 8, 9, 20};
    for (int w : widths) {
        HBITMAP hTiny = MakeDib(Pixels(w, 2, RGB(5, 5, 5)));
        m_bar.SetBitmap(hTiny);
        Canvas canvas(40, 100, RGB(0, 0, 0));
        m_bar.PaintBar(canvas.Cdc());
        m_bar.UpdateWindow();
        Mouse(WM_MOUSEMOVE, 1, 1);
        DeleteObject(hTiny);
    }
    m_bar.SetBitmap(NULL);
    Snapshot shot(m_bar.m_hWnd);
    EXPECT_EQ(0, m_bar.GetCellSize());
}
} // namespace
