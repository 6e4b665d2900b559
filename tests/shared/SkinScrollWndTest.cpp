// The scroll window: what it does to the target and its parent when it
// wraps it, where the bars and the corner go, the scroll state it keeps in
// step both ways, the target's notifications, and the unwrapping.
#include <ControlBorder.h>
#include <SkinScrollWnd.h>
#include <SkinTestSupport.h>

#include <gtest/gtest.h>

using namespace skintest;

namespace
{
const int kScrollCell = 12;
const UINT kTargetId = 1234;

COLORREF CornerColour(int row)
{
    return RGB(250, 10 + 100 * row, 30);
}

HBITMAP ScrollPicture()
{
    Pixels p(9 * kScrollCell, 3 * kScrollCell, RGB(60, 60, 60));
    for (int row = 0; row < 3; ++row)
        p.Fill(8 * kScrollCell, row * kScrollCell, kScrollCell, kScrollCell, CornerColour(row));
    return MakeDib(p);
}

CRect RectIn(HWND hWnd, HWND hIn)
{
    CRect rc;
    ::GetWindowRect(hWnd, &rc);
    ::MapWindowPoints(NULL, hIn, (LPPOINT)&rc, 2);
    return rc;
}

// Remembers where it was when it went.
class Target : public CEdit
{
public:
    HWND parentAtDestroy = NULL;
    CRect rectAtDestroy;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_DESTROY) {
            parentAtDestroy = ::GetParent(m_hWnd);
            rectAtDestroy = RectIn(m_hWnd, parentAtDestroy);
        }
        return CEdit::WindowProc(message, wParam, lParam);
    }
};

class SkinScrollWndTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_parent.CreateParent(400, 300));
        m_hPicture = ScrollPicture();
    }
    void TearDown() override
    {
        CSkinScrollWnd::SetRelayoutOnSize(TRUE);
        if (m_target.m_hWnd != NULL)
            m_target.DestroyWindow();
        m_parent.DestroyWindow();
        DeleteObject(m_hPicture);
    }

    void MakeTarget(DWORD dwStyle, DWORD dwExStyle = 0)
    {
        ASSERT_TRUE(m_target.CreateEx(dwExStyle, "EDIT", "",
                                      WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL | dwStyle, 20, 30, 200, 150,
                                      m_parent.m_hWnd, (HMENU)(INT_PTR)kTargetId));
        CString text;
        for (int i = 0; i < 60; ++i)
            text += "line\r\n";
        m_target.SetWindowText(text);
    }
    HWND Frame() const { return ::GetParent(::GetParent(m_target.m_hWnd)); }
    SCROLLINFO BarInfo(CSkinScrollBar& bar)
    {
        SCROLLINFO si = {sizeof(si), SIF_ALL};
        bar.SendMessage(SBM_GETSCROLLINFO, 0, (LPARAM)&si);
        return si;
    }
    SCROLLINFO TargetInfo(int nBar)
    {
        SCROLLINFO si = {sizeof(si), SIF_ALL};
        ::GetScrollInfo(m_target.m_hWnd, nBar, &si);
        return si;
    }

    RecordingParent m_parent;
    Target m_target;
    HBITMAP m_hPicture = NULL;
};

TEST_F(SkinScrollWndTest, FrameTakesThePlaceAndTheTargetMovesIntoTheLimiter)
{
    MakeTarget(WS_VSCROLL);
    CSkinScrollWnd* pFrame = CSkinScrollWnd::Attach(&m_target, m_hPicture);
    PumpMessages();
    ASSERT_EQ(pFrame->m_hWnd, Frame());
    EXPECT_EQ(m_parent.m_hWnd, ::GetParent(pFrame->m_hWnd));
    EXPECT_EQ(CRect(20, 30, 220, 180), RectIn(pFrame->m_hWnd, m_parent.m_hWnd));
    EXPECT_EQ((int)kTargetId, ::GetDlgCtrlID(pFrame->m_hWnd));
    char text[64] = "";
    ::GetWindowText(pFrame->m_hWnd, text, sizeof(text));
    EXPECT_STREQ("SkinScrollBarFrame", text);
    HWND hLimiter = ::GetParent(m_target.m_hWnd);
    EXPECT_EQ(CSkinScrollWnd::ID_LIMIT, ::GetDlgCtrlID(hLimiter));
    ::GetWindowText(hLimiter, text, sizeof(text));
    EXPECT_STREQ("LIMIT", text);
    EXPECT_EQ(kScrollCell, pFrame->GetThickness());

    // The vertical bar on the right, the limiter clipping the target's own bar.
    EXPECT_TRUE(pFrame->GetVertBar().IsWindowVisible());
    EXPECT_FALSE(pFrame->GetHorzBar().IsWindowVisible());
    EXPECT_EQ(CRect(200 - kScrollCell, 0, 200, 150), RectIn(pFrame->GetVertBar().m_hWnd, pFrame->m_hWnd));
    EXPECT_EQ(CRect(0, 0, 200 - kScrollCell, 150), RectIn(hLimiter, pFrame->m_hWnd));
    EXPECT_EQ(CRect(0, 0, 200, 150), RectIn(m_target.m_hWnd, hLimiter));
    CRect client;
    m_target.GetClientRect(&client);
    EXPECT_EQ(200 - kScrollCell, client.right);
    EXPECT_EQ(CSkinScrollWnd::CORNER_NONE, pFrame->GetCornerKind());
}

TEST_F(SkinScrollWndTest, BarsOnTheLeftWithBothBarsAndTheCornerPicture)
{
    MakeTarget(WS_VSCROLL | WS_HSCROLL, WS_EX_LEFTSCROLLBAR);
    CSkinScrollWnd* pFrame = CSkinScrollWnd::Attach(&m_target, m_hPicture);
    PumpMessages();
    EXPECT_EQ(CSkinScrollWnd::CORNER_LEFT, pFrame->GetCornerKind());
    EXPECT_EQ(CRect(0, 0, kScrollCell, 150 - kScrollCell), RectIn(pFrame->GetVertBar().m_hWnd, pFrame->m_hWnd));
    EXPECT_EQ(CRect(kScrollCell, 150 - kScrollCell, 200, 150), RectIn(pFrame->GetHorzBar().m_hWnd, pFrame->m_hWnd));
    HWND hLimiter = ::GetParent(m_target.m_hWnd);
    EXPECT_EQ(CRect(kScrollCell, 0, 200, 150 - kScrollCell), RectIn(hLimiter, pFrame->m_hWnd));
    EXPECT_EQ(-kScrollCell, RectIn(m_target.m_hWnd, hLimiter).left);

    Canvas canvas(200, 150, RGB(0, 0, 0));
    pFrame->PaintFrame(canvas.Cdc());
    EXPECT_EQ(CornerColour(1), canvas.At(2, 148));
    EXPECT_EQ(CornerColour(1), canvas.At(kScrollCell - 1, 150 - kScrollCell));
    EXPECT_EQ(RGB(0, 0, 0), canvas.At(197, 148));
}

TEST_F(SkinScrollWndTest, CornerOnTheRightWithBothBars)
{
    MakeTarget(WS_VSCROLL | WS_HSCROLL);
    CSkinScrollWnd* pFrame = CSkinScrollWnd::Attach(&m_target, m_hPicture);
    PumpMessages();
    EXPECT_EQ(CSkinScrollWnd::CORNER_RIGHT, pFrame->GetCornerKind());
    Canvas canvas(200, 150, RGB(0, 0, 0));
    pFrame->PaintFrame(canvas.Cdc());
    EXPECT_EQ(CornerColour(0), canvas.At(197, 148));
    EXPECT_EQ(RGB(0, 0, 0), canvas.At(2, 148));
}

TEST_F(SkinScrollWndTest, BorderMovesToTheFrameAndTheListShrinks)
{
    CListBox list;
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | LBS_NOINTEGRALHEIGHT,
                            CRect(20, 30, 220, 180), &m_parent, kTargetId));
    CSkinScrollWnd* pFrame = CSkinScrollWnd::Attach(&list, m_hPicture);
    PumpMessages();
    EXPECT_TRUE(pFrame->GetStyle() & WS_BORDER);
    EXPECT_FALSE(list.GetStyle() & WS_BORDER);
    const int b = 2 * GetSystemMetrics(SM_CXBORDER);
    CRect rc;
    list.GetWindowRect(&rc);
    EXPECT_EQ(200 - b, rc.Width());
    EXPECT_EQ(150 - b, rc.Height());
    list.DestroyWindow();
}

TEST_F(SkinScrollWndTest, ClientEdgeMovesToTheFrame)
{
    MakeTarget(WS_VSCROLL, WS_EX_CLIENTEDGE);
    CSkinScrollWnd* pFrame = CSkinScrollWnd::Attach(&m_target, m_hPicture);
    PumpMessages();
    EXPECT_TRUE(pFrame->GetExStyle() & WS_EX_CLIENTEDGE);
    EXPECT_FALSE(m_target.GetExStyle() & WS_EX_CLIENTEDGE);
}

TEST_F(SkinScrollWndTest, BarScrollsTheTargetAndTakesItsStateBack)
{
    MakeTarget(WS_VSCROLL);
    CSkinScrollWnd* pFrame = CSkinScrollWnd::Attach(&m_target, m_hPicture);
    PumpMessages();
    CSkinScrollBar& bar = pFrame->GetVertBar();
    pFrame->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0), (LPARAM)bar.m_hWnd);
    pFrame->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0), (LPARAM)bar.m_hWnd);
    EXPECT_EQ(2, (int)m_target.SendMessage(EM_GETFIRSTVISIBLELINE));
    const SCROLLINFO target = TargetInfo(SB_VERT);
    const SCROLLINFO mine = BarInfo(bar);
    EXPECT_EQ(target.nPos, mine.nPos);
    EXPECT_EQ(target.nMax, mine.nMax);
    EXPECT_EQ(target.nPage, mine.nPage);
}

TEST_F(SkinScrollWndTest, KeyboardScrollingOfTheTargetReachesTheBar)
{
    MakeTarget(WS_VSCROLL);
    CSkinScrollWnd* pFrame = CSkinScrollWnd::Attach(&m_target, m_hPicture);
    PumpMessages();
    m_target.SendMessage(EM_LINESCROLL, 0, 5);
    m_target.RedrawWindow(NULL, NULL, RDW_ERASE | RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(TargetInfo(SB_VERT).nPos, BarInfo(pFrame->GetVertBar()).nPos);
    EXPECT_EQ(5, BarInfo(pFrame->GetVertBar()).nPos);
}

TEST_F(SkinScrollWndTest, PollPicksUpChangesTheTargetMadeQuietly)
{
    MakeTarget(WS_VSCROLL);
    CSkinScrollWnd* pFrame = CSkinScrollWnd::Attach(&m_target, m_hPicture);
    PumpMessages();
    SCROLLINFO si = {sizeof(si), SIF_RANGE | SIF_POS};
    si.nMin = 0;
    si.nMax = 500;
    si.nPos = 42;
    ::SetScrollInfo(m_target.m_hWnd, SB_VERT, &si, FALSE);
    EXPECT_NE(500, BarInfo(pFrame->GetVertBar()).nMax);
    pFrame->SendMessage(WM_TIMER, CSkinScrollWnd::TIMER_POLL);
    EXPECT_EQ(500, BarInfo(pFrame->GetVertBar()).nMax);
    EXPECT_EQ(42, BarInfo(pFrame->GetVertBar()).nPos);
}

TEST_F(SkinScrollWndTest, TargetNotificationsReachItsCreator)
{
    MakeTarget(WS_VSCROLL);
    CSkinScrollWnd::Attach(&m_target, m_hPicture);
    PumpMessages();
    m_parent.messages.clear();
    m_target.SendMessage(EM_REPLACESEL, FALSE, (LPARAM) "more");
    EXPECT_GE(m_parent.Count(WM_COMMAND, EN_CHANGE), 1);
    for (const RecordingParent::Message& m : m_parent.messages) {
        if (m.message == WM_COMMAND) {
            EXPECT_EQ(kTargetId, m.nID);
        }
    }
}

TEST_F(SkinScrollWndTest, DestroyingTheTargetPutsItBackAndEndsTheFrame)
{
    MakeTarget(WS_VSCROLL);
    CSkinScrollWnd* pFrame = CSkinScrollWnd::Attach(&m_target, m_hPicture);
    PumpMessages();
    pFrame->MoveWindow(40, 50, 120, 90);
    PumpMessages();
    HWND hFrame = pFrame->m_hWnd;
    m_target.DestroyWindow();
    EXPECT_FALSE(::IsWindow(hFrame));
    EXPECT_EQ(m_parent.m_hWnd, m_target.parentAtDestroy);
    EXPECT_EQ(CRect(40, 50, 160, 140), m_target.rectAtDestroy);
}

TEST_F(SkinScrollWndTest, DestroyingTheParentEndsEverythingOnce)
{
    MakeTarget(WS_VSCROLL | WS_HSCROLL);
    CListScrollWnd::Attach(&m_target, m_hPicture);
    PumpMessages();
    m_parent.DestroyWindow();
    EXPECT_EQ(NULL, m_target.m_hWnd);
}

TEST_F(SkinScrollWndTest, ResizingPostsTheRelayoutOnlyInTheHallVariant)
{
    const struct
    {
        BOOL relayoutOnSize;
        int posted;
    } cases[] = {{TRUE, 2}, {FALSE, 1}};
    for (const auto& c : cases) {
        CSkinScrollWnd::SetRelayoutOnSize(c.relayoutOnSize);
        MakeTarget(WS_VSCROLL);
        CSkinScrollWnd* pFrame = CSkinScrollWnd::Attach(&m_target, m_hPicture);
        PumpMessages();
        pFrame->MoveWindow(0, 0, 160, 100);
        int posted = 0;
        MSG msg;
        while (PeekMessage(&msg, pFrame->m_hWnd, CSkinScrollWnd::WM_RELAYOUT, CSkinScrollWnd::WM_RELAYOUT, PM_REMOVE)) {
            ++posted;
            DispatchMessage(&msg);
        }
        EXPECT_EQ(c.posted, posted) << c.relayoutOnSize;
        // Either way the layout follows the new size.
        EXPECT_EQ(CRect(0, 0, 160 - kScrollCell, 100), RectIn(::GetParent(m_target.m_hWnd), pFrame->m_hWnd));
        m_target.DestroyWindow();
    }
}

TEST_F(SkinScrollWndTest, ListFrameErasesNothingAndHasTheBorderOutside)
{
    MakeTarget(WS_VSCROLL);
    CListScrollWnd* pFrame = CListScrollWnd::Attach(&m_target, m_hPicture);
    PumpMessages();
    EXPECT_TRUE(pFrame->IsKindOf(RUNTIME_CLASS(CListScrollWnd)));
    Canvas canvas(10, 10, RGB(0, 0, 0));
    EXPECT_EQ(TRUE, (BOOL)pFrame->SendMessage(WM_ERASEBKGND, (WPARAM)canvas.Dc()));
    EXPECT_EQ(RGB(0, 0, 0), canvas.At(5, 5));
    EXPECT_EQ(CRect(19, 29, 221, 181), CRect(ControlBorderRect(pFrame->m_hWnd)));
}

TEST(ControlBorderTest, OutlinesOnePixelAndKeepsTheInside)
{
    Canvas canvas(20, 20, RGB(0, 0, 0));
    const RECT rc = {2, 3, 12, 15};
    HGDIOBJ hPen = GetCurrentObject(canvas.Dc(), OBJ_PEN);
    DrawControlBorder(canvas.Dc(), rc);
    EXPECT_EQ(CONTROL_BORDER_COLOUR, canvas.At(2, 3));
    EXPECT_EQ(CONTROL_BORDER_COLOUR, canvas.At(11, 14));
    EXPECT_EQ(CONTROL_BORDER_COLOUR, canvas.At(7, 3));
    EXPECT_EQ(RGB(0, 0, 0), canvas.At(7, 8));
    EXPECT_EQ(RGB(0, 0, 0), canvas.At(12, 15));
    EXPECT_EQ(hPen, GetCurrentObject(canvas.Dc(), OBJ_PEN));
}
} // namespace
