// Every message-map macro of the class library, each sent its message once:
// the right handler runs with the values cracked as its signature says.
#include "win_test_util.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace
{

class CAllMessagesWnd : public CWnd
{
public:
    std::vector<CString> m_log;

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
    static int Id(CWnd* pWnd) { return pWnd == NULL ? 0 : pWnd->GetDlgCtrlID(); }

    afx_msg void OnClose() { Log("close"); }
    afx_msg void OnShowWindow(BOOL bShow, UINT nStatus) { Log("showwindow %d %u", bShow, nStatus); }
    afx_msg void OnEnable(BOOL bEnable) { Log("enable %d", bEnable); }
    afx_msg void OnPaint()
    {
        Log("paint");
        ValidateRect(NULL);
    }
    afx_msg void OnNcPaint() { Log("ncpaint"); }
    afx_msg BOOL OnEraseBkgnd(CDC* pDC)
    {
        Log("erasebkgnd %d", pDC != NULL);
        return TRUE;
    }
    afx_msg void OnLButtonUp(UINT f, CPoint pt) { Log("lbuttonup %u %d %d", f, (int)pt.x, (int)pt.y); }
    afx_msg void OnLButtonDblClk(UINT f, CPoint pt) { Log("lbuttondblclk %u %d %d", f, (int)pt.x, (int)pt.y); }
    afx_msg void OnRButtonDown(UINT f, CPoint pt) { Log("rbuttondown %u %d %d", f, (int)pt.x, (int)pt.y); }
    afx_msg void OnRButtonUp(UINT f, CPoint pt) { Log("rbuttonup %u %d %d", f, (int)pt.x, (int)pt.y); }
    afx_msg void OnRButtonDblClk(UINT f, CPoint pt) { Log("rbuttondblclk %u %d %d", f, (int)pt.x, (int)pt.y); }
    afx_msg void OnMButtonDown(UINT f, CPoint pt) { Log("mbuttondown %u %d %d", f, (int)pt.x, (int)pt.y); }
    afx_msg void OnMButtonUp(UINT f, CPoint pt) { Log("mbuttonup %u %d %d", f, (int)pt.x, (int)pt.y); }
    afx_msg void OnMouseHover(UINT f, CPoint pt) { Log("mousehover %u %d %d", f, (int)pt.x, (int)pt.y); }
    afx_msg void OnMouseLeave() { Log("mouseleave"); }
    afx_msg int OnMouseActivate(CWnd* pWnd, UINT nHit, UINT nMsg)
    {
        Log("mouseactivate %d %u %u", pWnd != NULL, nHit, nMsg);
        return MA_NOACTIVATE;
    }
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHit, UINT nMsg)
    {
        Log("setcursor %d %u %u", pWnd == this, nHit, nMsg);
        return TRUE;
    }
    afx_msg void OnCaptureChanged(CWnd* pWnd) { Log("capturechanged %d", pWnd == this); }
    afx_msg void OnContextMenu(CWnd* pWnd, CPoint pt)
    {
        Log("contextmenu %d %d %d", pWnd == this, (int)pt.x, (int)pt.y);
    }
    afx_msg void OnKeyUp(UINT c, UINT r, UINT f) { Log("keyup %u %u %u", c, r, f); }
    afx_msg void OnSysKeyDown(UINT c, UINT r, UINT f) { Log("syskeydown %u %u %u", c, r, f); }
    afx_msg void OnSysKeyUp(UINT c, UINT r, UINT f) { Log("syskeyup %u %u %u", c, r, f); }
    afx_msg void OnSysChar(UINT c, UINT r, UINT f) { Log("syschar %u %u %u", c, r, f); }
    afx_msg UINT OnGetDlgCode()
    {
        Log("getdlgcode");
        return DLGC_WANTALLKEYS;
    }
    afx_msg void OnHotKey(UINT nId, UINT nKey1, UINT nKey2) { Log("hotkey %u %u %u", nId, nKey1, nKey2); }
    afx_msg void OnSetFocus(CWnd* pOld) { Log("setfocus %d", pOld == NULL); }
    afx_msg void OnKillFocus(CWnd* pNew) { Log("killfocus %d", pNew == NULL); }
    afx_msg void OnNcCalcSize(BOOL bCalc, NCCALCSIZE_PARAMS* p)
    {
        Log("nccalcsize %d %d", bCalc, (int)p->rgrc[0].right);
    }
    afx_msg void OnNcLButtonDown(UINT h, CPoint pt) { Log("nclbuttondown %u %d %d", h, (int)pt.x, (int)pt.y); }
    afx_msg void OnNcLButtonUp(UINT h, CPoint pt) { Log("nclbuttonup %u %d %d", h, (int)pt.x, (int)pt.y); }
    afx_msg void OnNcLButtonDblClk(UINT h, CPoint pt) { Log("nclbuttondblclk %u %d %d", h, (int)pt.x, (int)pt.y); }
    afx_msg void OnNcRButtonDown(UINT h, CPoint pt) { Log("ncrbuttondown %u %d %d", h, (int)pt.x, (int)pt.y); }
    afx_msg void OnNcMouseMove(UINT h, CPoint pt) { Log("ncmousemove %u %d %d", h, (int)pt.x, (int)pt.y); }
    afx_msg BOOL OnNcActivate(BOOL bActive)
    {
        Log("ncactivate %d", bActive);
        return TRUE;
    }
    afx_msg void OnActivate(UINT nState, CWnd* pOther, BOOL bMinimized)
    {
        Log("activate %u %d %d", nState, pOther == NULL, bMinimized);
    }
    afx_msg void OnActivateApp(BOOL bActive, DWORD dwThreadID) { Log("activateapp %d %lu", bActive, dwThreadID); }
    afx_msg void OnSysCommand(UINT nID, LPARAM lParam) { Log("syscommand %u %d", nID, (int)lParam); }
    afx_msg void OnHScroll(UINT nCode, UINT nPos, CScrollBar* pBar)
    {
        Log("hscroll %u %d %d", nCode, (int)nPos, pBar == NULL);
    }
    afx_msg void OnVScroll(UINT nCode, UINT nPos, CScrollBar* pBar)
    {
        Log("vscroll %u %d %d", nCode, (int)nPos, pBar == NULL);
    }
    afx_msg void OnDrawItem(int nID, LPDRAWITEMSTRUCT p) { Log("drawitem %d %u", nID, p->itemID); }
    afx_msg void OnMeasureItem(int nID, LPMEASUREITEMSTRUCT p)
    {
        Log("measureitem %d %u", nID, p->itemID);
        p->itemHeight = 19;
    }
    afx_msg int OnCompareItem(int nID, LPCOMPAREITEMSTRUCT p)
    {
        Log("compareitem %d %u", nID, p->itemID1);
        return -1;
    }
    afx_msg void OnDeleteItem(int nID, LPDELETEITEMSTRUCT p) { Log("deleteitem %d %u", nID, p->itemID); }
    afx_msg void OnWindowPosChanged(WINDOWPOS* p) { Log("windowposchanged %d", p->x); }
    afx_msg void OnWindowPosChanging(WINDOWPOS* p) { Log("windowposchanging %d", p->x); }
    afx_msg void OnSettingChange(UINT uFlags, LPCTSTR lpsz) { Log("settingchange %u %s", uFlags, lpsz); }
    afx_msg HCURSOR OnQueryDragIcon()
    {
        Log("querydragicon");
        return (HCURSOR)(UINT_PTR)0x33;
    }
    afx_msg void OnParentNotify(UINT message, LPARAM lParam) { Log("parentnotify %u %d", message, (int)lParam); }

    // Commands and notifications.
    afx_msg void OnCmd() { Log("command"); }
    afx_msg BOOL OnCmdEx(UINT nID)
    {
        Log("command_ex %u", nID);
        return FALSE;
    }
    afx_msg BOOL OnCmdExRange(UINT nID)
    {
        Log("command_ex_range %u", nID);
        return TRUE;
    }
    afx_msg void OnControl() { Log("control"); }
    afx_msg void OnControlRange(UINT nID) { Log("control_range %u", nID); }
    afx_msg BOOL OnNotifyExRange(UINT nID, NMHDR*, LRESULT* pResult)
    {
        Log("notify_ex_range %u", nID);
        *pResult = 3;
        return TRUE;
    }
#define NOTIFICATION_HANDLER(fn)                                                                                       \
    afx_msg void fn()                                                                                                  \
    {                                                                                                                  \
        Log(#fn);                                                                                                      \
    }
    NOTIFICATION_HANDLER(BnDoubleClicked)
    NOTIFICATION_HANDLER(BnSetFocus)
    NOTIFICATION_HANDLER(BnKillFocus)
    NOTIFICATION_HANDLER(EnUpdate)
    NOTIFICATION_HANDLER(EnSetFocus)
    NOTIFICATION_HANDLER(EnKillFocus)
    NOTIFICATION_HANDLER(EnMaxText)
    NOTIFICATION_HANDLER(EnHScroll)
    NOTIFICATION_HANDLER(EnVScroll)
    NOTIFICATION_HANDLER(CbnEditChange)
    NOTIFICATION_HANDLER(CbnEditUpdate)
    NOTIFICATION_HANDLER(CbnDropDown)
    NOTIFICATION_HANDLER(CbnCloseUp)
    NOTIFICATION_HANDLER(CbnSelEndOk)
    NOTIFICATION_HANDLER(CbnSelEndCancel)
    NOTIFICATION_HANDLER(CbnSetFocus)
    NOTIFICATION_HANDLER(CbnKillFocus)
    NOTIFICATION_HANDLER(CbnDblClk)
    NOTIFICATION_HANDLER(LbnSelChange)
    NOTIFICATION_HANDLER(LbnDblClk)
    NOTIFICATION_HANDLER(LbnSetFocus)
    NOTIFICATION_HANDLER(LbnKillFocus)
    NOTIFICATION_HANDLER(StnDblClk)
#undef NOTIFICATION_HANDLER

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CAllMessagesWnd, CWnd)
    ON_WM_CLOSE()
    ON_WM_SHOWWINDOW()
    ON_WM_ENABLE()
    ON_WM_PAINT()
    ON_WM_NCPAINT()
    ON_WM_ERASEBKGND()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_RBUTTONDOWN()
    ON_WM_RBUTTONUP()
    ON_WM_RBUTTONDBLCLK()
    ON_WM_MBUTTONDOWN()
    ON_WM_MBUTTONUP()
    ON_WM_MOUSEHOVER()
    ON_WM_MOUSELEAVE()
    ON_WM_MOUSEACTIVATE()
    ON_WM_SETCURSOR()
    ON_WM_CAPTURECHANGED()
    ON_WM_CONTEXTMENU()
    ON_WM_KEYUP()
    ON_WM_SYSKEYDOWN()
    ON_WM_SYSKEYUP()
    ON_WM_SYSCHAR()
    ON_WM_GETDLGCODE()
    ON_WM_HOTKEY()
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
    ON_WM_NCCALCSIZE()
    ON_WM_NCLBUTTONDOWN()
    ON_WM_NCLBUTTONUP()
    ON_WM_NCLBUTTONDBLCLK()
    ON_WM_NCRBUTTONDOWN()
    ON_WM_NCMOUSEMOVE()
    ON_WM_NCACTIVATE()
    ON_WM_ACTIVATE()
    ON_WM_ACTIVATEAPP()
    ON_WM_SYSCOMMAND()
    ON_WM_HSCROLL()
    ON_WM_VSCROLL()
    ON_WM_DRAWITEM()
    ON_WM_MEASUREITEM()
    ON_WM_COMPAREITEM()
    ON_WM_DELETEITEM()
    ON_WM_WINDOWPOSCHANGED()
    ON_WM_WINDOWPOSCHANGING()
    ON_WM_SETTINGCHANGE()
    ON_WM_QUERYDRAGICON()
    ON_WM_PARENTNOTIFY()
    ON_COMMAND(500, OnCmd)
    ON_COMMAND_EX(501, OnCmdEx)
    ON_COMMAND_EX_RANGE(502, 503, OnCmdExRange)
    ON_CONTROL(0x77, 510, OnControl)
    ON_CONTROL_RANGE(0x78, 511, 512, OnControlRange)
    ON_NOTIFY_EX_RANGE(NM_RETURN, 520, 529, OnNotifyExRange)
    ON_BN_DOUBLECLICKED(530, BnDoubleClicked)
    ON_BN_SETFOCUS(530, BnSetFocus)
    ON_BN_KILLFOCUS(530, BnKillFocus)
    ON_EN_UPDATE(531, EnUpdate)
    ON_EN_SETFOCUS(531, EnSetFocus)
    ON_EN_KILLFOCUS(531, EnKillFocus)
    ON_EN_MAXTEXT(531, EnMaxText)
    ON_EN_HSCROLL(531, EnHScroll)
    ON_EN_VSCROLL(531, EnVScroll)
    ON_CBN_EDITCHANGE(532, CbnEditChange)
    ON_CBN_EDITUPDATE(532, CbnEditUpdate)
    ON_CBN_DROPDOWN(532, CbnDropDown)
    ON_CBN_CLOSEUP(532, CbnCloseUp)
    ON_CBN_SELENDOK(532, CbnSelEndOk)
    ON_CBN_SELENDCANCEL(532, CbnSelEndCancel)
    ON_CBN_SETFOCUS(532, CbnSetFocus)
    ON_CBN_KILLFOCUS(532, CbnKillFocus)
    ON_CBN_DBLCLK(532, CbnDblClk)
    ON_LBN_SELCHANGE(533, LbnSelChange)
    ON_LBN_DBLCLK(533, LbnDblClk)
    ON_LBN_SETFOCUS(533, LbnSetFocus)
    ON_LBN_KILLFOCUS(533, LbnKillFocus)
    ON_STN_DBLCLK(534, StnDblClk)
END_MESSAGE_MAP()

class AllMessages : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_wnd.CreateEx(0, NULL, "", WS_POPUP, 0, 0, 100, 100, NULL, NULL));
        m_wnd.m_log.clear();
    }
    void TearDown() override { m_wnd.DestroyWindow(); }

    // The one line the message left, or "" when none or more.
    CString Send(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult = nullptr)
    {
        m_wnd.m_log.clear();
        LRESULT lResult = m_wnd.SendMessage(message, wParam, lParam);
        if (pResult != nullptr)
            *pResult = lResult;
        return m_wnd.m_log.size() == 1 ? m_wnd.m_log[0] : CString();
    }

    CAllMessagesWnd m_wnd;
};

struct MessageCase
{
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    const char* log;
};

TEST_F(AllMessages, WindowMessagesAndTheirArguments)
{
    const LPARAM xy = MAKELPARAM(7, (WORD)-8);
    const MessageCase cases[] = {
        {WM_CLOSE, 0, 0, "close"},
        {WM_SHOWWINDOW, TRUE, SW_PARENTOPENING, "showwindow 1 3"},
        {WM_ENABLE, FALSE, 0, "enable 0"},
        {WM_NCPAINT, 1, 0, "ncpaint"},
        {WM_LBUTTONUP, MK_SHIFT, xy, "lbuttonup 4 7 -8"},
        {WM_LBUTTONDBLCLK, 0, xy, "lbuttondblclk 0 7 -8"},
        {WM_RBUTTONDOWN, MK_RBUTTON, xy, "rbuttondown 2 7 -8"},
        {WM_RBUTTONUP, 0, xy, "rbuttonup 0 7 -8"},
        {WM_RBUTTONDBLCLK, 0, xy, "rbuttondblclk 0 7 -8"},
        {WM_MBUTTONDOWN, MK_MBUTTON, xy, "mbuttondown 16 7 -8"},
        {WM_MBUTTONUP, 0, xy, "mbuttonup 0 7 -8"},
        {WM_MOUSEHOVER, 0, xy, "mousehover 0 7 -8"},
        {WM_MOUSELEAVE, 0, 0, "mouseleave"},
        {WM_MOUSEACTIVATE, 0, MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN), "mouseactivate 0 1 513"},
        {WM_CONTEXTMENU, 0, MAKELPARAM(300, 200), "contextmenu 0 300 200"},
        {WM_KEYUP, VK_SPACE, MAKELPARAM(1, 0xC039), "keyup 32 1 49209"},
        {WM_SYSKEYDOWN, VK_MENU, MAKELPARAM(1, 0x2038), "syskeydown 18 1 8248"},
        {WM_SYSKEYUP, VK_MENU, MAKELPARAM(1, 0xC038), "syskeyup 18 1 49208"},
        {WM_SYSCHAR, 'x', MAKELPARAM(1, 0x2000), "syschar 120 1 8192"},
        {WM_GETDLGCODE, 0, 0, "getdlgcode"},
        {WM_HOTKEY, 0x100, MAKELPARAM(MOD_CONTROL, 'B'), "hotkey 256 2 66"},
        {WM_SETFOCUS, 0, 0, "setfocus 1"},
        {WM_KILLFOCUS, 0, 0, "killfocus 1"},
        {WM_NCLBUTTONDOWN, HTCAPTION, xy, "nclbuttondown 2 7 -8"},
        {WM_NCLBUTTONUP, HTCAPTION, xy, "nclbuttonup 2 7 -8"},
        {WM_NCLBUTTONDBLCLK, HTCAPTION, xy, "nclbuttondblclk 2 7 -8"},
        {WM_NCRBUTTONDOWN, HTSYSMENU, xy, "ncrbuttondown 3 7 -8"},
        {WM_NCMOUSEMOVE, HTBORDER, xy, "ncmousemove 18 7 -8"},
        {WM_NCACTIVATE, TRUE, 0, "ncactivate 1"},
        {WM_ACTIVATE, MAKEWPARAM(WA_CLICKACTIVE, 1), 0, "activate 2 1 1"},
        {WM_ACTIVATEAPP, TRUE, 1234, "activateapp 1 1234"},
        {WM_SYSCOMMAND, SC_MINIMIZE, MAKELPARAM(5, 6), "syscommand 61472 393221"},
        {WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, (WORD)-3), 0, "hscroll 5 -3 1"},
        {WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0), 0, "vscroll 1 0 1"},
        {WM_SETTINGCHANGE, SPI_SETWORKAREA, (LPARAM) "区域", "settingchange 47 区域"},
        {WM_PARENTNOTIFY, MAKEWPARAM(WM_LBUTTONDOWN, 0), xy, "parentnotify 513 -524281"},
    };
    for (const MessageCase& c : cases) {
        SCOPED_TRACE(c.log);
        EXPECT_STREQ(Send(c.message, c.wParam, c.lParam), c.log);
    }
}

TEST_F(AllMessages, HandlersThatAnswer)
{
    LRESULT lResult = 0;
    EXPECT_STREQ(Send(WM_MOUSEACTIVATE, 0, 0, &lResult), "mouseactivate 0 0 0");
    EXPECT_EQ(lResult, MA_NOACTIVATE);
    EXPECT_STREQ(Send(WM_SETCURSOR, (WPARAM)m_wnd.m_hWnd, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE), &lResult),
                 "setcursor 1 1 512");
    EXPECT_EQ(lResult, TRUE);
    EXPECT_STREQ(Send(WM_CAPTURECHANGED, 0, (LPARAM)m_wnd.m_hWnd), "capturechanged 1");
    EXPECT_STREQ(Send(WM_GETDLGCODE, 0, 0, &lResult), "getdlgcode");
    EXPECT_EQ(lResult, DLGC_WANTALLKEYS);
    EXPECT_STREQ(Send(WM_QUERYDRAGICON, 0, 0, &lResult), "querydragicon");
    EXPECT_EQ(lResult, 0x33);

    NCCALCSIZE_PARAMS ncp = {};
    ncp.rgrc[0].right = 50;
    EXPECT_STREQ(Send(WM_NCCALCSIZE, TRUE, (LPARAM)&ncp), "nccalcsize 1 50");

    WINDOWPOS wp = {};
    wp.x = 12;
    EXPECT_STREQ(Send(WM_WINDOWPOSCHANGING, 0, (LPARAM)&wp), "windowposchanging 12");
    EXPECT_STREQ(Send(WM_WINDOWPOSCHANGED, 0, (LPARAM)&wp), "windowposchanged 12");

    HDC hDC = ::CreateCompatibleDC(NULL);
    EXPECT_STREQ(Send(WM_ERASEBKGND, (WPARAM)hDC, 0, &lResult), "erasebkgnd 1");
    EXPECT_EQ(lResult, TRUE);
    ::DeleteDC(hDC);

    m_wnd.ShowWindow(SW_SHOWNA);
    m_wnd.Invalidate();
    m_wnd.m_log.clear();
    m_wnd.UpdateWindow();
    EXPECT_NE(std::find(m_wnd.m_log.begin(), m_wnd.m_log.end(), CString("paint")), m_wnd.m_log.end());
}

TEST_F(AllMessages, OwnerDrawItemsWithoutAControlObject)
{
    LRESULT lResult = 0;
    DRAWITEMSTRUCT dis = {};
    dis.CtlType = ODT_BUTTON;
    dis.itemID = 4;
    EXPECT_STREQ(Send(WM_DRAWITEM, 9, (LPARAM)&dis, &lResult), "drawitem 9 4");
    EXPECT_EQ(lResult, TRUE);
    MEASUREITEMSTRUCT mis = {};
    mis.CtlType = ODT_LISTBOX;
    mis.CtlID = 9;
    mis.itemID = 5;
    EXPECT_STREQ(Send(WM_MEASUREITEM, 9, (LPARAM)&mis), "measureitem 9 5");
    EXPECT_EQ(mis.itemHeight, 19u);
    COMPAREITEMSTRUCT cis = {};
    cis.itemID1 = 6;
    EXPECT_STREQ(Send(WM_COMPAREITEM, 9, (LPARAM)&cis, &lResult), "compareitem 9 6");
    EXPECT_EQ(lResult, -1);
    DELETEITEMSTRUCT dels = {};
    dels.itemID = 7;
    EXPECT_STREQ(Send(WM_DELETEITEM, 9, (LPARAM)&dels), "deleteitem 9 7");
}

TEST_F(AllMessages, CommandAndNotificationMacros)
{
    HWND hChild[40] = {};
    auto child = [&](UINT nID) {
        HWND& h = hChild[nID - 500];
        if (h == NULL)
            h = ::CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 5, 5, m_wnd.m_hWnd, (HMENU)(UINT_PTR)nID,
                                  ::GetModuleHandle(NULL), NULL);
        return h;
    };
    struct
    {
        UINT nID;
        UINT nCode;
        bool bFromControl;
        const char* log;
    } cases[] = {
        {500, 0, false, "command"},
        {500, 1, false, "command"}, // an accelerator
        {501, 0, false, "command_ex 501"},
        {503, 0, false, "command_ex_range 503"},
        {510, 0x77, true, "control"},
        {512, 0x78, true, "control_range 512"},
        {530, BN_DOUBLECLICKED, true, "BnDoubleClicked"},
        {530, BN_SETFOCUS, true, "BnSetFocus"},
        {530, BN_KILLFOCUS, true, "BnKillFocus"},
        {531, EN_UPDATE, true, "EnUpdate"},
        {531, EN_SETFOCUS, true, "EnSetFocus"},
        {531, EN_KILLFOCUS, true, "EnKillFocus"},
        {531, EN_MAXTEXT, true, "EnMaxText"},
        {531, EN_HSCROLL, true, "EnHScroll"},
        {531, EN_VSCROLL, true, "EnVScroll"},
        {532, CBN_EDITCHANGE, true, "CbnEditChange"},
        {532, CBN_EDITUPDATE, true, "CbnEditUpdate"},
        {532, CBN_DROPDOWN, true, "CbnDropDown"},
        {532, CBN_CLOSEUP, true, "CbnCloseUp"},
        {532, CBN_SELENDOK, true, "CbnSelEndOk"},
        {532, CBN_SELENDCANCEL, true, "CbnSelEndCancel"},
        {532, CBN_SETFOCUS, true, "CbnSetFocus"},
        {532, CBN_KILLFOCUS, true, "CbnKillFocus"},
        {532, CBN_DBLCLK, true, "CbnDblClk"},
        {533, LBN_SELCHANGE, true, "LbnSelChange"},
        {533, LBN_DBLCLK, true, "LbnDblClk"},
        {533, LBN_SETFOCUS, true, "LbnSetFocus"},
        {533, LBN_KILLFOCUS, true, "LbnKillFocus"},
        {534, STN_DBLCLK, true, "StnDblClk"},
        {531, EN_CHANGE, true, nullptr}, // no entry for this code
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.nID);
        SCOPED_TRACE(c.nCode);
        LPARAM lParam = c.bFromControl ? (LPARAM)child(c.nID) : 0;
        EXPECT_STREQ(Send(WM_COMMAND, MAKEWPARAM(c.nID, c.nCode), lParam), c.log != nullptr ? c.log : "");
    }

    NMHDR hdr = {child(525), 525, (UINT)NM_RETURN};
    LRESULT lResult = 0;
    EXPECT_STREQ(Send(WM_NOTIFY, 525, (LPARAM)&hdr, &lResult), "notify_ex_range 525");
    EXPECT_EQ(lResult, 3);
}

} // namespace
