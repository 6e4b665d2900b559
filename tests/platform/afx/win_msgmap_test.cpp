// Message maps: window messages cracked for their handlers, base-class map
// chaining, commands and notifications from children, and reflection.
#include "win_test_util.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace
{

const UINT s_msgRegistered = ::RegisterWindowMessageA("TavrelAfxTestRegistered");

class CProbeWnd : public CWnd
{
public:
    std::vector<CString> m_log;
    HBRUSH m_hbrParent = NULL;

    bool Logged(LPCSTR psz) const { return std::find(m_log.begin(), m_log.end(), CString(psz)) != m_log.end(); }
    BOOL CreateProbe(LPCSTR pszName = "Probe")
    {
        return CreateEx(0, NULL, pszName, WS_POPUP, 0, 0, 120, 80, NULL, NULL);
    }

protected:
    void Log(LPCSTR pszFormat, ...)
    {
        CString str;
        va_list args;
        va_start(args, pszFormat);
        str.FormatV(pszFormat, args);
        va_end(args);
        m_log.push_back(str);
    }

    afx_msg LRESULT OnNcCreate(WPARAM wParam, LPARAM lParam)
    {
        Log("nccreate");
        return DefWindowProc(WM_NCCREATE, wParam, lParam);
    }
    afx_msg int OnCreate(LPCREATESTRUCT lpcs)
    {
        Log("create %s", lpcs->lpszName);
        return CWnd::OnCreate(lpcs);
    }
    afx_msg void OnDestroy()
    {
        Log("destroy");
        CWnd::OnDestroy();
    }
    afx_msg void OnSize(UINT nType, int cx, int cy) { Log("size %u %d %d", nType, cx, cy); }
    afx_msg void OnMove(int x, int y) { Log("move %d %d", x, y); }
    afx_msg void OnLButtonDown(UINT nFlags, CPoint pt) { Log("lbuttondown %u %d %d", nFlags, (int)pt.x, (int)pt.y); }
    afx_msg void OnMouseMove(UINT nFlags, CPoint pt) { Log("mousemove %u %d %d", nFlags, (int)pt.x, (int)pt.y); }
    afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt)
    {
        Log("wheel %u %d %d %d", nFlags, zDelta, (int)pt.x, (int)pt.y);
        return TRUE;
    }
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) { Log("keydown %u %u %u", nChar, nRepCnt, nFlags); }
    afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags) { Log("char %u %u %u", nChar, nRepCnt, nFlags); }
    afx_msg void OnTimer(UINT_PTR nIDEvent) { Log("timer %u", (UINT)nIDEvent); }
    afx_msg LRESULT OnNcHitTest(CPoint) { return HTCAPTION; }
    afx_msg void OnGetMinMaxInfo(MINMAXINFO* pInfo) { pInfo->ptMinTrackSize.x = 123; }
    afx_msg BOOL OnCopyData(CWnd* pWnd, COPYDATASTRUCT* pcds)
    {
        Log("copydata %u %.*s", (UINT)pcds->dwData, (int)pcds->cbData, (const char*)pcds->lpData);
        return TRUE;
    }
    afx_msg LRESULT OnUserAdd(WPARAM wParam, LPARAM lParam) { return (LRESULT)wParam + lParam; }
    afx_msg LRESULT OnRegistered(WPARAM wParam, LPARAM)
    {
        Log("registered %d", (int)wParam);
        return 77;
    }
    afx_msg void OnButton() { Log("clicked 100"); }
    afx_msg void OnEditChange() { Log("editchange"); }
    afx_msg void OnStaticClicked() { Log("static clicked"); }
    afx_msg void OnCommandRange(UINT nID) { Log("range %u", nID); }
    afx_msg void OnClickNotify(NMHDR* pNMHDR, LRESULT* pResult)
    {
        Log("nm_click %u", (UINT)pNMHDR->idFrom);
        *pResult = 5;
    }
    afx_msg void OnDblClkRange(UINT nID, NMHDR*, LRESULT* pResult)
    {
        Log("nm_dblclk %u", nID);
        *pResult = 6;
    }
    afx_msg BOOL OnRClickDecline(UINT nID, NMHDR*, LRESULT*)
    {
        Log("declined %u", nID);
        return FALSE;
    }
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
    {
        if (m_hbrParent != NULL)
            return m_hbrParent;
        return CWnd::OnCtlColor(pDC, pWnd, nCtlColor);
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CProbeWnd, CWnd)
    ON_MESSAGE(WM_NCCREATE, OnNcCreate)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_SIZE()
    ON_WM_MOVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_MOUSEWHEEL()
    ON_WM_KEYDOWN()
    ON_WM_CHAR()
    ON_WM_TIMER()
    ON_WM_NCHITTEST()
    ON_WM_GETMINMAXINFO()
    ON_WM_COPYDATA()
    ON_WM_CTLCOLOR()
    ON_MESSAGE(WM_USER + 10, OnUserAdd)
    ON_REGISTERED_MESSAGE(s_msgRegistered, OnRegistered)
    ON_BN_CLICKED(100, OnButton)
    ON_EN_CHANGE(101, OnEditChange)
    ON_STN_CLICKED(104, OnStaticClicked)
    ON_COMMAND_RANGE(200, 210, OnCommandRange)
    ON_NOTIFY(NM_CLICK, 102, OnClickNotify)
    ON_NOTIFY_RANGE(NM_DBLCLK, 300, 310, OnDblClkRange)
    ON_NOTIFY_EX(NM_RCLICK, 103, OnRClickDecline)
END_MESSAGE_MAP()

class CDerivedProbeWnd : public CProbeWnd
{
protected:
    afx_msg void OnSize(UINT nType, int cx, int cy)
    {
        Log("derived size");
        CProbeWnd::OnSize(nType, cx, cy);
    }
    afx_msg LRESULT OnUserMul(WPARAM wParam, LPARAM lParam) { return (LRESULT)wParam * lParam; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDerivedProbeWnd, CProbeWnd)
    ON_WM_SIZE()
    ON_MESSAGE(WM_USER + 11, OnUserMul)
END_MESSAGE_MAP()

struct WindowMessageCase
{
    const char* name;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    const char* log; // what the handler recorded (null: nothing)
    LRESULT result;
};

// Every message is sent to a fresh window; handlers see the cracked values.
TEST(AfxMessageMap, WindowMessagesReachTheirHandlersCracked)
{
    const WindowMessageCase cases[] = {
        {"size", WM_SIZE, SIZE_MAXIMIZED, MAKELPARAM(30, 40), "size 2 30 40", 0},
        {"move, negative x", WM_MOVE, 0, MAKELPARAM((WORD)-5, 7), "move -5 7", 0},
        {"left button", WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 4), "lbuttondown 1 3 4", 0},
        {"captured move outside", WM_MOUSEMOVE, 0, MAKELPARAM((WORD)-2, (WORD)-3), "mousemove 0 -2 -3", 0},
        {"wheel", WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, (WORD)-120), MAKELPARAM(10, 20), "wheel 8 -120 10 20", TRUE},
        {"key", WM_KEYDOWN, VK_F5, MAKELPARAM(2, 0x3F), "keydown 116 2 63", 0},
        {"char", WM_CHAR, 'A', MAKELPARAM(1, 0), "char 65 1 0", 0},
        {"timer", WM_TIMER, 42, 0, "timer 42", 0},
        {"message returning a value", WM_USER + 10, 3, 4, nullptr, 7},
        {"registered message", s_msgRegistered, 9, 0, "registered 9", 77},
        {"hit test", WM_NCHITTEST, 0, 0, nullptr, HTCAPTION},
        {"menu command in range", WM_COMMAND, MAKEWPARAM(205, 0), 0, "range 205", 0},
        {"range end", WM_COMMAND, MAKEWPARAM(210, 0), 0, "range 210", 0},
    };
    for (const WindowMessageCase& c : cases) {
        SCOPED_TRACE(c.name);
        CProbeWnd wnd;
        ASSERT_TRUE(wnd.CreateProbe());
        wnd.m_log.clear();
        LRESULT lResult = wnd.SendMessage(c.message, c.wParam, c.lParam);
        if (c.message != WM_COMMAND) {
            EXPECT_EQ(lResult, c.result);
        }
        if (c.log != nullptr) {
            ASSERT_EQ(wnd.m_log.size(), 1u);
            EXPECT_STREQ(wnd.m_log[0], c.log);
        } else {
            EXPECT_TRUE(wnd.m_log.empty());
        }
        wnd.DestroyWindow();
    }
}

TEST(AfxMessageMap, LifetimeMessagesAndStructPointers)
{
    CProbeWnd wnd;
    ASSERT_TRUE(wnd.CreateProbe("名字"));
    // The object had the window before its first message.
    ASSERT_GE(wnd.m_log.size(), 2u);
    EXPECT_STREQ(wnd.m_log[0], "nccreate");
    EXPECT_TRUE(wnd.Logged("create 名字"));

    MINMAXINFO mmi = {};
    wnd.SendMessage(WM_GETMINMAXINFO, 0, (LPARAM)&mmi);
    EXPECT_EQ(mmi.ptMinTrackSize.x, 123);

    char szData[] = "hello";
    COPYDATASTRUCT cds = {5, 5, szData};
    EXPECT_EQ(wnd.SendMessage(WM_COPYDATA, 0, (LPARAM)&cds), TRUE);
    EXPECT_TRUE(wnd.Logged("copydata 5 hello"));

    // Commands outside every entry go to the default procedure.
    wnd.m_log.clear();
    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(211, 0), 0);
    EXPECT_TRUE(wnd.m_log.empty());

    wnd.DestroyWindow();
    EXPECT_TRUE(wnd.Logged("destroy"));
}

TEST(AfxMessageMap, DerivedMapFirstThenBase)
{
    CDerivedProbeWnd wnd;
    ASSERT_TRUE(wnd.CreateProbe());
    wnd.m_log.clear();
    wnd.SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(8, 9));
    ASSERT_EQ(wnd.m_log.size(), 2u);
    EXPECT_STREQ(wnd.m_log[0], "derived size");
    EXPECT_STREQ(wnd.m_log[1], "size 0 8 9");
    EXPECT_EQ(wnd.SendMessage(WM_USER + 11, 6, 7), 42);
    EXPECT_EQ(wnd.SendMessage(WM_USER + 10, 6, 7), 13); // the base class's entry
    wnd.DestroyWindow();
}

TEST(AfxMessageMap, TimerFires)
{
    CProbeWnd wnd;
    ASSERT_TRUE(wnd.CreateProbe());
    ASSERT_NE(wnd.SetTimer(7, 10), 0u);
    EXPECT_TRUE(PumpUntil([&] { return std::count(wnd.m_log.begin(), wnd.m_log.end(), CString("timer 7")) >= 2; }));
    wnd.KillTimer(7);
    wnd.DestroyWindow();
}

// ------------------------------------------------------------------ children

class CParentFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_parent.CreateProbe());
        m_parent.m_log.clear();
    }
    void TearDown() override { m_parent.DestroyWindow(); }

    HWND RawChild(LPCSTR pszClass, UINT nID)
    {
        return ::CreateWindowExA(0, pszClass, "", WS_CHILD | WS_VISIBLE, 0, 0, 50, 20, m_parent.m_hWnd,
                                 (HMENU)(UINT_PTR)nID, ::GetModuleHandle(NULL), NULL);
    }
    LRESULT Notify(HWND hWndFrom, UINT nCode)
    {
        NMHDR hdr = {hWndFrom, (UINT_PTR)::GetDlgCtrlID(hWndFrom), nCode};
        return m_parent.SendMessage(WM_NOTIFY, hdr.idFrom, (LPARAM)&hdr);
    }

    CProbeWnd m_parent;
};

TEST_F(CParentFixture, CommandsFromRealControls)
{
    CButton button;
    ASSERT_TRUE(button.Create("OK", BS_PUSHBUTTON | WS_VISIBLE, CRect(0, 0, 40, 20), &m_parent, 100));
    button.SendMessage(BM_CLICK);
    EXPECT_TRUE(m_parent.Logged("clicked 100"));

    CEdit edit;
    ASSERT_TRUE(edit.Create(WS_VISIBLE | ES_AUTOHSCROLL, CRect(0, 30, 80, 50), &m_parent, 101));
    edit.SetWindowText("abc");
    EXPECT_TRUE(m_parent.Logged("editchange"));
}

TEST_F(CParentFixture, NotificationsByIdAndRange)
{
    HWND hList = RawChild("STATIC", 102);
    HWND hRanged = RawChild("STATIC", 305);
    HWND hDecliner = RawChild("STATIC", 103);

    EXPECT_EQ(Notify(hList, NM_CLICK), 5);
    EXPECT_TRUE(m_parent.Logged("nm_click 102"));
    EXPECT_EQ(Notify(hRanged, NM_DBLCLK), 6);
    EXPECT_TRUE(m_parent.Logged("nm_dblclk 305"));
    // An _EX handler that declines leaves the message unhandled.
    EXPECT_EQ(Notify(hDecliner, NM_RCLICK), 0);
    EXPECT_TRUE(m_parent.Logged("declined 103"));
    // No entry for this code of that control.
    m_parent.m_log.clear();
    EXPECT_EQ(Notify(hList, NM_DBLCLK), 0);
    EXPECT_TRUE(m_parent.m_log.empty());
}

class CReflectButton : public CButton
{
public:
    int m_nClicked = 0;
    int m_nDrawn = 0;
    UINT m_nCtlColor = 0xFFFF;
    HBRUSH m_hbr = NULL;

protected:
    afx_msg void OnClickedReflect() { ++m_nClicked; }
    afx_msg HBRUSH CtlColor(CDC* pDC, UINT nCtlColor)
    {
        m_nCtlColor = nCtlColor;
        return m_hbr;
    }
    void DrawItem(LPDRAWITEMSTRUCT) override { ++m_nDrawn; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CReflectButton, CButton)
    ON_CONTROL_REFLECT(BN_CLICKED, OnClickedReflect)
    ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

TEST_F(CParentFixture, ControlReflectionTakesTheClick)
{
    CReflectButton button;
    ASSERT_TRUE(button.Create("OK", BS_PUSHBUTTON | WS_VISIBLE, CRect(0, 0, 40, 20), &m_parent, 100));
    button.SendMessage(BM_CLICK);
    EXPECT_EQ(button.m_nClicked, 1);
    EXPECT_FALSE(m_parent.Logged("clicked 100"));
}

TEST_F(CParentFixture, ColourReflectionAndTheParentsOwnAnswer)
{
    CReflectButton button;
    ASSERT_TRUE(button.Create("OK", BS_PUSHBUTTON | WS_VISIBLE, CRect(0, 0, 40, 20), &m_parent, 100));
    CBrush brChild(RGB(1, 2, 3));
    CBrush brParent(RGB(4, 5, 6));
    HDC hDC = ::CreateCompatibleDC(NULL);

    button.m_hbr = brChild;
    EXPECT_EQ((HBRUSH)m_parent.SendMessage(WM_CTLCOLORBTN, (WPARAM)hDC, (LPARAM)button.m_hWnd), (HBRUSH)brChild);
    EXPECT_EQ(button.m_nCtlColor, (UINT)CTLCOLOR_BTN);

    // No brush from the control: the parent's default answers.
    button.m_hbr = NULL;
    HBRUSH hbr = (HBRUSH)m_parent.SendMessage(WM_CTLCOLORBTN, (WPARAM)hDC, (LPARAM)button.m_hWnd);
    EXPECT_NE(hbr, (HBRUSH)brChild);

    // A parent handler that does not call the base class decides alone.
    button.m_hbr = brChild;
    button.m_nCtlColor = 0xFFFF;
    m_parent.m_hbrParent = brParent;
    EXPECT_EQ((HBRUSH)m_parent.SendMessage(WM_CTLCOLORBTN, (WPARAM)hDC, (LPARAM)button.m_hWnd), (HBRUSH)brParent);
    EXPECT_EQ(button.m_nCtlColor, 0xFFFFu);
    ::DeleteDC(hDC);
}

TEST_F(CParentFixture, OwnerDrawReachesTheControl)
{
    CReflectButton button;
    ASSERT_TRUE(button.Create("", BS_OWNERDRAW | WS_VISIBLE, CRect(0, 0, 40, 20), &m_parent, 100));
    DRAWITEMSTRUCT dis = {};
    dis.CtlType = ODT_BUTTON;
    dis.CtlID = 100;
    dis.hwndItem = button.m_hWnd;
    dis.hDC = ::CreateCompatibleDC(NULL);
    m_parent.SendMessage(WM_DRAWITEM, 100, (LPARAM)&dis);
    EXPECT_EQ(button.m_nDrawn, 1);
    ::DeleteDC(dis.hDC);
}

class CReflectExStatic : public CStatic
{
public:
    BOOL m_bHandled = FALSE;
    int m_nSeen = 0;

protected:
    afx_msg BOOL OnClickedEx()
    {
        ++m_nSeen;
        return m_bHandled;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CReflectExStatic, CStatic)
    ON_CONTROL_REFLECT_EX(STN_CLICKED, OnClickedEx)
END_MESSAGE_MAP()

TEST_F(CParentFixture, ReflectExLetsTheParentSeeItToo)
{
    CReflectExStatic label;
    ASSERT_TRUE(label.Create("x", WS_VISIBLE | SS_NOTIFY, CRect(0, 0, 40, 20), &m_parent, 104));
    const WPARAM wParam = MAKEWPARAM(104, STN_CLICKED);

    label.m_bHandled = FALSE;
    m_parent.SendMessage(WM_COMMAND, wParam, (LPARAM)label.m_hWnd);
    EXPECT_EQ(label.m_nSeen, 1);
    EXPECT_TRUE(m_parent.Logged("static clicked"));

    m_parent.m_log.clear();
    label.m_bHandled = TRUE;
    m_parent.SendMessage(WM_COMMAND, wParam, (LPARAM)label.m_hWnd);
    EXPECT_EQ(label.m_nSeen, 2);
    EXPECT_FALSE(m_parent.Logged("static clicked"));
}

class CNotifyReflector : public CWnd
{
public:
    int m_nSeen = 0;

protected:
    afx_msg void OnReflectClick(NMHDR* pNMHDR, LRESULT* pResult)
    {
        ++m_nSeen;
        *pResult = 9;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CNotifyReflector, CWnd)
    ON_NOTIFY_REFLECT(NM_CLICK, OnReflectClick)
END_MESSAGE_MAP()

TEST_F(CParentFixture, NotifyReflectionAnswersForTheParent)
{
    CNotifyReflector child;
    ASSERT_TRUE(child.SubclassWindow(RawChild("STATIC", 102)));
    EXPECT_EQ(Notify(child.m_hWnd, NM_CLICK), 9);
    EXPECT_EQ(child.m_nSeen, 1);
    EXPECT_FALSE(m_parent.Logged("nm_click 102"));
    // A code the control does not reflect still reaches the parent.
    EXPECT_EQ(Notify(child.m_hWnd, NM_DBLCLK), 0);
}

class CReflectScrollBar : public CScrollBar
{
public:
    UINT m_nCode = 0xFFFF;
    UINT m_nPos = 0;

protected:
    afx_msg void HScroll(UINT nSBCode, UINT nPos)
    {
        m_nCode = nSBCode;
        m_nPos = nPos;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CReflectScrollBar, CScrollBar)
    ON_WM_HSCROLL_REFLECT()
END_MESSAGE_MAP()

TEST_F(CParentFixture, ScrollReflectionThroughTheBaseMap)
{
    CReflectScrollBar bar;
    ASSERT_TRUE(bar.Create(SBS_HORZ | WS_VISIBLE, CRect(0, 0, 100, 16), &m_parent, 106));
    m_parent.SendMessage(WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 17), (LPARAM)bar.m_hWnd);
    EXPECT_EQ(bar.m_nCode, (UINT)SB_THUMBPOSITION);
    EXPECT_EQ(bar.m_nPos, 17u);
}

// ------------------------------------------------------------------ pre-translation and exceptions

class CKeyEater : public CWnd
{
public:
    int m_nEaten = 0;
    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_F2) {
            ++m_nEaten;
            return TRUE;
        }
        return FALSE;
    }
};

TEST(AfxMessageMap, PreTranslateWalksFromTheChildUp)
{
    CKeyEater parent;
    ASSERT_TRUE(parent.CreateEx(0, NULL, "", WS_POPUP, 0, 0, 100, 100, NULL, NULL));
    CWnd child;
    ASSERT_TRUE(child.Create(NULL, "", WS_VISIBLE, CRect(0, 0, 10, 10), &parent, 1));
    MSG msg = {child.m_hWnd, WM_KEYDOWN, VK_F2, 0};
    EXPECT_TRUE(CWnd::WalkPreTranslateTree(parent.m_hWnd, &msg));
    EXPECT_EQ(parent.m_nEaten, 1);
    msg.wParam = VK_F3;
    EXPECT_FALSE(CWnd::WalkPreTranslateTree(parent.m_hWnd, &msg));
    // Stopping at the child keeps the parent out.
    msg.wParam = VK_F2;
    EXPECT_FALSE(CWnd::WalkPreTranslateTree(child.m_hWnd, &msg));
    EXPECT_EQ(parent.m_nEaten, 1);
    parent.DestroyWindow();
}

class CThrowingWnd : public CWnd
{
public:
    BOOL m_bThrowOnCreate = FALSE;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpcs)
    {
        if (m_bThrowOnCreate)
            AfxThrowResourceException();
        return CWnd::OnCreate(lpcs);
    }
    afx_msg LRESULT OnThrow(WPARAM, LPARAM) { AfxThrowMemoryException(); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CThrowingWnd, CWnd)
    ON_WM_CREATE()
    ON_MESSAGE(WM_USER + 1, OnThrow)
END_MESSAGE_MAP()

TEST(AfxMessageMap, ExceptionsStopAtTheWindowProcedure)
{
    CThrowingWnd failing;
    failing.m_bThrowOnCreate = TRUE;
    EXPECT_FALSE(failing.CreateEx(0, NULL, "", WS_POPUP, 0, 0, 10, 10, NULL, NULL));
    EXPECT_EQ(failing.m_hWnd, (HWND)NULL);

    CThrowingWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, NULL, "", WS_POPUP, 0, 0, 10, 10, NULL, NULL));
    EXPECT_EQ(wnd.SendMessage(WM_USER + 1), 0);
    EXPECT_TRUE(::IsWindow(wnd.m_hWnd));
    wnd.DestroyWindow();
}

} // namespace
