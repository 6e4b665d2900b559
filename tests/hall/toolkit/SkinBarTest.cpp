// Skinned scroll bars of any window: the stored-information rules, bar
// arithmetic, the operations on a real window, held parts with their
// timers, thumb drags and the painting.
#include <SkinBar.h>
#include <SkinTestSupport.h>
#include <afxtest.h>

#include <gtest/gtest.h>

#include <vector>

using namespace skintest;

namespace
{
COLORREF CellColour(int column, int row)
{
    return RGB(10 + column * 20, 30 + row * 50, 220 - column * 10);
}

HBITMAP SkinPicture()
{
    Pixels p(176, 64, RGB(0, 0, 0));
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 11; ++column)
            p.Fill(column * 16, row * 16, 16, 16, CellColour(column, row));
    return MakeDib(p);
}

SCROLLINFO Info(UINT mask, int nMin, int nMax, UINT nPage, int nPos, int nTrack = 0)
{
    SCROLLINFO si = {sizeof(SCROLLINFO), mask, nMin, nMax, nPage, nPos, nTrack};
    return si;
}

TEST(SkinBarRulesTest, SetScrollInfoClampTable)
{
    const struct
    {
        const char* name;
        SCROLLINFO stored, info;
        BOOL shownNow;
        int nMin, nMax;
        UINT nPage;
        int nPos;
        BOOL changed, show;
    } cases[] = {
        {"range raises a smaller max", Info(SIF_ALL, 0, 10, 2, 3), Info(SIF_RANGE, 5, 1, 0, 0), TRUE, 5, 5, 1, 5, TRUE,
         FALSE},
        {"new range clamps the stored position", Info(SIF_ALL, 0, 100, 10, 80), Info(SIF_RANGE, 0, 50, 0, 0), TRUE, 0,
         50, 10, 41, TRUE, TRUE},
        {"page cut to the range", Info(SIF_ALL, 0, 9, 1, 0), Info(SIF_PAGE, 0, 0, 50, 0), FALSE, 0, 9, 10, 0, TRUE,
         FALSE},
        {"position to the last page", Info(SIF_ALL, 0, 99, 10, 0), Info(SIF_POS, 0, 0, 0, 500), TRUE, 0, 99, 10, 90,
         TRUE, TRUE},
        {"position below the minimum", Info(SIF_ALL, 10, 99, 10, 20), Info(SIF_POS, 0, 0, 0, -5), TRUE, 10, 99, 10, 10,
         TRUE, TRUE},
        {"page 0 lets the position reach max", Info(SIF_ALL, 0, 99, 0, 0), Info(SIF_POS, 0, 0, 0, 99), FALSE, 0, 99, 0,
         99, TRUE, FALSE},
        {"nothing new", Info(SIF_ALL, 0, 99, 10, 5), Info(SIF_ALL, 0, 99, 10, 5), TRUE, 0, 99, 10, 5, FALSE, TRUE},
        {"equal bounds hide", Info(SIF_ALL, 0, 99, 10, 5), Info(SIF_RANGE, 7, 7, 0, 0), TRUE, 7, 7, 1, 7, TRUE, FALSE},
        {"page larger than the span hides", Info(SIF_ALL, 0, 0, 0, 0), Info(SIF_RANGE | SIF_PAGE, 0, 9, 10, 0), TRUE, 0,
         9, 10, 0, TRUE, FALSE},
        {"visibility stands without range or page", Info(SIF_ALL, 0, 99, 10, 5), Info(SIF_POS, 0, 0, 0, 6), FALSE, 0,
         99, 10, 6, TRUE, FALSE},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SCROLLINFO stored = c.stored;
        const SkinBarUpdate u = SkinBar_UpdateInfo(stored, c.info, c.shownNow);
        EXPECT_EQ(c.nMin, stored.nMin);
        EXPECT_EQ(c.nMax, stored.nMax);
        EXPECT_EQ(c.nPage, stored.nPage);
        EXPECT_EQ(c.nPos, stored.nPos);
        EXPECT_EQ(c.changed, u.changed);
        EXPECT_EQ(c.show, u.show);
    }
}

TEST(SkinBarRulesTest, GeometryHitAndDrag)
{
    // A 132-pixel bar: 100 pixels of track.
    const struct
    {
        const char* name;
        SCROLLINFO si;
        int thumbStart, thumbEnd;
    } cases[] = {
        {"no page, no thumb", Info(SIF_ALL, 0, 99, 0, 0), 0, 0},
        {"empty range, no thumb", Info(SIF_ALL, 5, 5, 1, 5), 0, 0},
        {"small page: ten pixels", Info(SIF_ALL, 0, 999, 1, 0), 16, 26},
        {"last position", Info(SIF_ALL, 0, 99, 10, 90), 106, 116},
        {"range not from 0", Info(SIF_ALL, 100, 199, 50, 125), 41, 91},
        {"position past the end stays in the track", Info(SIF_ALL, 0, 99, 10, 5000), 106, 116},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const SkinBarGeometry g = SkinBar_Measure(0, 132, c.si);
        EXPECT_EQ(16, g.trackStart);
        EXPECT_EQ(116, g.trackEnd);
        EXPECT_EQ(c.thumbStart, g.thumbStart);
        EXPECT_EQ(c.thumbEnd, g.thumbEnd);
    }

    const SkinBarGeometry g = SkinBar_Measure(0, 132, Info(SIF_ALL, 0, 99, 10, 45)); // thumb 61..71
    ASSERT_EQ(61, g.thumbStart);
    const struct
    {
        int c;
        DWORD part, disabled;
    } hits[] = {{0, 1, 0},  {15, 1, 0}, {16, 0, 0},  {17, 4, 0},  {60, 4, 0}, {61, 3, 3},
                {71, 3, 3}, {72, 5, 0}, {115, 5, 0}, {116, 2, 0}, {500, 2, 0}};
    for (const auto& h : hits) {
        EXPECT_EQ(h.part, SkinBar_HitPart(g, h.c, FALSE)) << h.c;
        EXPECT_EQ(h.disabled, SkinBar_HitPart(g, h.c, TRUE)) << h.c;
    }

    // Dragging counts from nMin; a thumb filling the track stays at nMin.
    const SCROLLINFO from100 = Info(SIF_ALL, 100, 199, 10, 100);
    const SkinBarGeometry g100 = SkinBar_Measure(0, 132, from100);
    EXPECT_EQ(100, SkinBar_DragPos(g100, from100, 16, 0));
    EXPECT_EQ(190, SkinBar_DragPos(g100, from100, 400, 0));
    EXPECT_EQ(145, SkinBar_DragPos(g100, from100, 61, 0));
    const SCROLLINFO full = Info(SIF_ALL, 0, 9, 10, 0);
    const SkinBarGeometry gFull = SkinBar_Measure(0, 132, full);
    EXPECT_EQ(0, SkinBar_DragPos(gFull, full, 90, 3));
}

struct Sent
{
    UINT message;
    UINT code;
    int pos;
};
std::vector<Sent> g_sent;
WNDPROC g_pfnRecorded = NULL;

// Records the scroll messages a window gets, then lets its own code run.
LRESULT CALLBACK Recorder(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_VSCROLL || message == WM_HSCROLL)
        g_sent.push_back({message, LOWORD(wParam), (int)(short)HIWORD(wParam)});
    return CallWindowProcA(g_pfnRecorded, hWnd, message, wParam, lParam);
}

class SkinBarTest : public testing::Test
{
protected:
    void SetUp() override
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandle(NULL);
        wc.lpszClassName = "SkinBarTestWindow";
        RegisterClassA(&wc);
        m_hPicture = SkinPicture();
        g_sent.clear();
    }
    void TearDown() override
    {
        AfxClearTestCursorPos();
        if (m_hWnd != NULL)
            DestroyWindow(m_hWnd);
        DeleteObject(m_hPicture);
    }
    HWND Make(DWORD dwStyle, DWORD dwExStyle = 0, const char* cls = "SkinBarTestWindow")
    {
        m_hWnd = CreateWindowExA(dwExStyle, cls, "", WS_POPUP | WS_VISIBLE | dwStyle, 100, 100, 200, 150, NULL, NULL,
                                 GetModuleHandle(NULL), NULL);
        g_pfnRecorded = (WNDPROC)SetWindowLongPtr(m_hWnd, GWLP_WNDPROC, (LONG_PTR)Recorder);
        return m_hWnd;
    }
    RECT ClientOnScreen()
    {
        RECT rc;
        GetClientRect(m_hWnd, &rc);
        MapWindowPoints(m_hWnd, NULL, (LPPOINT)&rc, 2);
        return rc;
    }
    void SetVert(int nMin, int nMax, UINT nPage, int nPos)
    {
        SCROLLINFO si = Info(SIF_ALL, nMin, nMax, nPage, nPos);
        SkinBar_SetScrollInfo(m_hWnd, SB_VERT, &si, FALSE);
    }
    // Screen point on the vertical bar at distance y from its top.
    LPARAM OnVert(int y)
    {
        const RECT rc = ClientOnScreen();
        return MAKELPARAM(rc.right + 8, rc.top + y);
    }
    int Count(UINT code) const
    {
        int n = 0;
        for (const Sent& s : g_sent)
            n += s.code == code;
        return n;
    }

    HWND m_hWnd = NULL;
    HBITMAP m_hPicture = NULL;
};

TEST_F(SkinBarTest, AttachChecksItsArguments)
{
    Make(WS_VSCROLL);
    SetLastError(0);
    EXPECT_FALSE(SkinBar_Attach(NULL, m_hPicture));
    EXPECT_EQ((DWORD)ERROR_INVALID_HANDLE, GetLastError());
    SetLastError(0);
    EXPECT_FALSE(SkinBar_Attach(m_hWnd, NULL));
    EXPECT_EQ((DWORD)ERROR_INVALID_HANDLE, GetLastError());
    EXPECT_FALSE(SkinBar_IsSkinned(m_hWnd));
    EXPECT_EQ(0, SkinBar_GetScrollPos(m_hWnd, SB_VERT));

    ASSERT_TRUE(SkinBar_Attach(m_hWnd, m_hPicture));
    EXPECT_TRUE(SkinBar_IsSkinned(m_hWnd));
    EXPECT_FALSE(SkinBar_Attach(m_hWnd, m_hPicture));
}

TEST_F(SkinBarTest, ClientMakesRoomForTheSkinAndHitTestsFindTheBars)
{
    const struct
    {
        DWORD exStyle;
        int left, right;
    } cases[] = {{0, 0, 184}, {WS_EX_LEFTSCROLLBAR, 16, 200}};
    for (const auto& c : cases) {
        Make(WS_VSCROLL | WS_HSCROLL, c.exStyle);
        ASSERT_TRUE(SkinBar_Attach(m_hWnd, m_hPicture));
        RECT rc = ClientOnScreen();
        EXPECT_EQ(100 + c.left, rc.left);
        EXPECT_EQ(100 + c.right, rc.right);
        EXPECT_EQ(100 + 134, rc.bottom);
        const int vx = c.left ? 108 : 292;
        EXPECT_EQ(HTVSCROLL, SendMessage(m_hWnd, WM_NCHITTEST, 0, MAKELPARAM(vx, 150)));
        EXPECT_EQ(HTHSCROLL, SendMessage(m_hWnd, WM_NCHITTEST, 0, MAKELPARAM(200, 242)));
        EXPECT_EQ(HTGROWBOX, SendMessage(m_hWnd, WM_NCHITTEST, 0, MAKELPARAM(c.left ? 292 - 184 : 292, 242)));
        DestroyWindow(m_hWnd);
        m_hWnd = NULL;
    }
}

TEST_F(SkinBarTest, OperationsOnTheStoredBars)
{
    Make(WS_VSCROLL);
    ASSERT_TRUE(SkinBar_Attach(m_hWnd, m_hPicture));
    SetVert(0, 99, 10, 5);

    SCROLLINFO si = Info(SIF_ALL, 0, 0, 0, 0);
    si.cbSize = 27;
    EXPECT_FALSE(SkinBar_GetScrollInfo(m_hWnd, SB_VERT, &si));
    si.cbSize = sizeof(si);
    EXPECT_FALSE(SkinBar_GetScrollInfo(m_hWnd, SB_CTL, &si));
    ASSERT_TRUE(SkinBar_GetScrollInfo(m_hWnd, SB_VERT, &si));
    EXPECT_EQ(99, si.nMax);
    EXPECT_EQ(5, si.nPos);

    EXPECT_EQ(5, SkinBar_SetScrollPos(m_hWnd, SB_VERT, 500, TRUE)); // not clamped
    EXPECT_EQ(500, SkinBar_GetScrollPos(m_hWnd, SB_VERT));
    EXPECT_EQ(0, SkinBar_SetScrollPos(m_hWnd, SB_CTL, 1, TRUE));
    int lo = -1, hi = -1;
    EXPECT_FALSE(SkinBar_GetScrollRange(m_hWnd, SB_VERT, NULL, &hi));
    EXPECT_TRUE(SkinBar_GetScrollRange(m_hWnd, SB_VERT, &lo, &hi));
    EXPECT_EQ(0, lo);
    EXPECT_EQ(99, hi);

    EXPECT_TRUE(SkinBar_EnableScrollBar(m_hWnd, SB_VERT, ESB_DISABLE_LTUP));
    EXPECT_FALSE(SkinBar_EnableScrollBar(m_hWnd, SB_VERT, ESB_DISABLE_LTUP));
    EXPECT_TRUE(SkinBar_EnableScrollBar(m_hWnd, SB_BOTH, ESB_ENABLE_BOTH));
    EXPECT_FALSE(SkinBar_EnableScrollBar(m_hWnd, SB_CTL, ESB_DISABLE_BOTH));

    EXPECT_TRUE(SkinBar_SetScrollRange(m_hWnd, SB_VERT, 0, 0, TRUE));
    EXPECT_FALSE(GetWindowLong(m_hWnd, GWL_STYLE) & WS_VSCROLL);
    EXPECT_EQ(200, ClientOnScreen().right - 100);
    EXPECT_TRUE(SkinBar_ShowScrollBar(m_hWnd, SB_BOTH, TRUE));
    EXPECT_TRUE(GetWindowLong(m_hWnd, GWL_STYLE) & WS_HSCROLL);
    EXPECT_EQ(184, ClientOnScreen().right - 100);
}

TEST_F(SkinBarTest, SetScrollInfoShowsAndHidesTheBar)
{
    Make(0);
    ASSERT_TRUE(SkinBar_Attach(m_hWnd, m_hPicture));
    SCROLLINFO pos = Info(SIF_POS, 0, 0, 0, 3);
    EXPECT_EQ(0, SkinBar_SetScrollInfo(m_hWnd, SB_VERT, &pos, TRUE)); // hidden, no range: ignored
    SetVert(0, 99, 10, 3);
    EXPECT_TRUE(GetWindowLong(m_hWnd, GWL_STYLE) & WS_VSCROLL);
    EXPECT_EQ(184, ClientOnScreen().right - 100);
    EXPECT_EQ(3, SkinBar_GetScrollPos(m_hWnd, SB_VERT));
    SetVert(0, 99, 100, 0);
    EXPECT_FALSE(GetWindowLong(m_hWnd, GWL_STYLE) & WS_VSCROLL);

    // Keeping the bar with its arrows disabled instead.
    SetVert(0, 99, 10, 0);
    SCROLLINFO keep = Info(SIF_ALL | SIF_DISABLENOSCROLL, 0, 99, 100, 0);
    SkinBar_SetScrollInfo(m_hWnd, SB_VERT, &keep, TRUE);
    EXPECT_TRUE(GetWindowLong(m_hWnd, GWL_STYLE) & WS_VSCROLL);
    EXPECT_FALSE(SkinBar_EnableScrollBar(m_hWnd, SB_VERT, ESB_DISABLE_BOTH)); // already disabled
}

TEST_F(SkinBarTest, HeldArrowRepeatsAndPausesOffTheArrow)
{
    Make(WS_VSCROLL);
    ASSERT_TRUE(SkinBar_Attach(m_hWnd, m_hPicture));
    SetVert(0, 99, 10, 5);
    SendMessage(m_hWnd, WM_NCLBUTTONDOWN, HTVSCROLL, OnVert(140));
    ASSERT_EQ(1u, g_sent.size());
    EXPECT_EQ((UINT)SB_LINEDOWN, g_sent[0].code);
    EXPECT_EQ(m_hWnd, GetCapture());
    SendMessage(m_hWnd, WM_TIMER, SKINBAR_TIMER_DELAY, 0);
    SendMessage(m_hWnd, WM_TIMER, SKINBAR_TIMER_REPEAT, 0);
    EXPECT_EQ(3, Count(SB_LINEDOWN));

    SendMessage(m_hWnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(50, 50)); // inside the client
    SendMessage(m_hWnd, WM_TIMER, SKINBAR_TIMER_REPEAT, 0);
    EXPECT_EQ(3, Count(SB_LINEDOWN));
    SendMessage(m_hWnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(192, 140));
    SendMessage(m_hWnd, WM_TIMER, SKINBAR_TIMER_REPEAT, 0);
    EXPECT_EQ(4, Count(SB_LINEDOWN));

    SendMessage(m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(192, 140));
    EXPECT_EQ((UINT)SB_ENDSCROLL, g_sent.back().code);
    EXPECT_FALSE(KillTimer(m_hWnd, SKINBAR_TIMER_REPEAT));
    EXPECT_EQ(NULL, GetCapture());
}

TEST_F(SkinBarTest, NoThumbMeansNoPress)
{
    Make(WS_VSCROLL);
    ASSERT_TRUE(SkinBar_Attach(m_hWnd, m_hPicture));
    SkinBar_SetScrollPos(m_hWnd, SB_VERT, 0, FALSE);
    SendMessage(m_hWnd, WM_NCLBUTTONDOWN, HTVSCROLL, OnVert(140));
    EXPECT_TRUE(g_sent.empty());
    EXPECT_EQ(NULL, GetCapture());
}

TEST_F(SkinBarTest, HeldPageStopsAtTheCursor)
{
    Make(WS_VSCROLL);
    ASSERT_TRUE(SkinBar_Attach(m_hWnd, m_hPicture));
    SetVert(0, 99, 10, 0); // track 16..134, thumb 11 long
    const RECT rc = ClientOnScreen();
    POINT cursor = {rc.right + 8, rc.top + 100};
    AfxSetTestCursorPos(cursor);
    SendMessage(m_hWnd, WM_NCLBUTTONDOWN, HTVSCROLL, MAKELPARAM(cursor.x, cursor.y));
    SendMessage(m_hWnd, WM_TIMER, SKINBAR_TIMER_DELAY, 0);
    // The window does its own paging: here the test moves the stored position.
    for (int i = 0; i < 20; ++i) {
        SkinBar_SetScrollPos(m_hWnd, SB_VERT, SkinBar_GetScrollPos(m_hWnd, SB_VERT) + 10, FALSE);
        SendMessage(m_hWnd, WM_TIMER, SKINBAR_TIMER_REPEAT, 0);
    }
    SendMessage(m_hWnd, WM_LBUTTONUP, 0, 0);
    // From the thumb's end at 27 the cursor at 100 is reached after seven pages.
    EXPECT_EQ(8, Count(SB_PAGEDOWN));
}

TEST_F(SkinBarTest, DragSendsTrackToWindowsAndPositionToRichEdits)
{
    ASSERT_NE((HMODULE)NULL, LoadLibraryA("riched20.dll"));
    const struct
    {
        const char* cls;
        UINT code;
    } cases[] = {{"SkinBarTestWindow", SB_THUMBTRACK}, {"RichEdit20A", SB_THUMBPOSITION}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.cls);
        g_sent.clear();
        Make(WS_VSCROLL, 0, c.cls);
        ASSERT_TRUE(SkinBar_Attach(m_hWnd, m_hPicture));
        SetVert(0, 99, 10, 0); // thumb 16..27
        SendMessage(m_hWnd, WM_NCLBUTTONDOWN, HTVSCROLL, OnVert(20));
        EXPECT_TRUE(g_sent.empty());
        SendMessage(m_hWnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(192, 20)); // not moved yet
        SendMessage(m_hWnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(192, 500));
        ASSERT_EQ(1u, g_sent.size());
        EXPECT_EQ(c.code, g_sent[0].code);
        EXPECT_EQ(90, g_sent[0].pos);
        SendMessage(m_hWnd, WM_LBUTTONUP, 0, 0);
        ASSERT_EQ(3u, g_sent.size());
        EXPECT_EQ((UINT)SB_THUMBPOSITION, g_sent[1].code);
        EXPECT_EQ(90, g_sent[1].pos);
        EXPECT_EQ((UINT)SB_ENDSCROLL, g_sent[2].code);
        DestroyWindow(m_hWnd);
        m_hWnd = NULL;
    }
}

TEST_F(SkinBarTest, ClickOnTheThumbWithoutMovingKeepsThePosition)
{
    Make(WS_VSCROLL);
    ASSERT_TRUE(SkinBar_Attach(m_hWnd, m_hPicture));
    SetVert(0, 99, 10, 1);
    const SkinBarGeometry g = SkinBar_Measure(0, 150, Info(SIF_ALL, 0, 99, 10, 1));
    SendMessage(m_hWnd, WM_NCLBUTTONDOWN, HTVSCROLL, OnVert(g.thumbStart + 2));
    SendMessage(m_hWnd, WM_LBUTTONUP, 0, 0);
    ASSERT_EQ(2u, g_sent.size());
    EXPECT_EQ((UINT)SB_THUMBPOSITION, g_sent[0].code);
    EXPECT_EQ(1, g_sent[0].pos);
}

TEST_F(SkinBarTest, PaintsArrowsTrackThumbAndStates)
{
    Make(WS_VSCROLL);
    ASSERT_TRUE(SkinBar_Attach(m_hWnd, m_hPicture));
    SetVert(0, 99, 50, 0); // thumb 16..83, long enough for the grip
    RECT rcWnd;
    GetWindowRect(m_hWnd, &rcWnd);
    const POINT origin = {rcWnd.left, rcWnd.top};
    Canvas canvas(200, 150, RGB(0, 0, 0));
    SkinBar_DrawBars(m_hWnd, canvas.Dc(), origin);
    EXPECT_EQ(CellColour(0, 0), canvas.At(190, 5));   // up arrow
    EXPECT_EQ(CellColour(1, 0), canvas.At(190, 145)); // down arrow
    EXPECT_EQ(CellColour(2, 0), canvas.At(190, 17));  // thumb cap
    EXPECT_EQ(CellColour(9, 0), canvas.At(190, 49));  // grip in the middle
    EXPECT_EQ(CellColour(3, 0), canvas.At(190, 110)); // track
    EXPECT_EQ(RGB(0, 0, 0), canvas.At(100, 75));      // client untouched

    SkinBar_EnableScrollBar(m_hWnd, SB_VERT, ESB_DISABLE_BOTH);
    Canvas disabled(200, 150, RGB(0, 0, 0));
    SkinBar_DrawBars(m_hWnd, disabled.Dc(), origin);
    EXPECT_EQ(CellColour(0, 3), disabled.At(190, 5));
    EXPECT_EQ(CellColour(3, 0), disabled.At(190, 40)); // no thumb when disabled
}
} // namespace
