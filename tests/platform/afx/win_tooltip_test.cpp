// Tool tips of windows: the hit test decides the thread tip control's one
// tool, and callback texts come back through the TTN_NEEDTEXT message route.
#include "win_test_util.h"

#include <afxcmn.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

// Three 100-pixel bands: band 0 has no tip, bands 1 and 2 are tools 101 and
// 102 whose text the window gives on request.
class CBandWnd : public CWnd
{
public:
    INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) const override
    {
        int nBand = point.x / 100;
        if (nBand < 1 || nBand > 2 || point.y < 0 || point.y >= 100)
            return -1;
        pTI->hwnd = m_hWnd;
        pTI->uId = 100 + nBand;
        pTI->rect = CRect(nBand * 100, 0, nBand * 100 + 100, 100);
        pTI->lpszText = LPSTR_TEXTCALLBACK;
        return 100 + nBand;
    }

    std::vector<std::string> m_requests;

protected:
    afx_msg BOOL OnToolTipText(UINT nID, NMHDR* pNMHDR, LRESULT* pResult)
    {
        CString strTip;
        strTip.Format("band %d", (int)pNMHDR->idFrom - 100);
        if (pNMHDR->code == TTN_NEEDTEXTA) {
            m_requests.push_back("A " + std::to_string(pNMHDR->idFrom));
            lstrcpynA(((TOOLTIPTEXTA*)pNMHDR)->szText, strTip, 80);
        } else {
            m_requests.push_back("W " + std::to_string(pNMHDR->idFrom));
            ::MultiByteToWideChar(CP_ACP, 0, strTip, -1, ((TOOLTIPTEXTW*)pNMHDR)->szText, 80);
        }
        *pResult = 0;
        return TRUE;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBandWnd, CWnd)
    ON_NOTIFY_EX_RANGE(TTN_NEEDTEXTA, 0, 0xFFFF, OnToolTipText)
    ON_NOTIFY_EX_RANGE(TTN_NEEDTEXTW, 0, 0xFFFF, OnToolTipText)
END_MESSAGE_MAP()

struct TipSearch
{
    HWND hOwner;
    HWND hFound;
};

// Called back by EnumThreadWindows, so CALLBACK: stdcall on i686.
BOOL CALLBACK FindTipProc(HWND hWnd, LPARAM lParam)
{
    TipSearch* p = (TipSearch*)lParam;
    char szClass[64] = "";
    ::GetClassNameA(hWnd, szClass, sizeof(szClass));
    if (lstrcmpiA(szClass, TOOLTIPS_CLASSA) == 0 && ::GetWindow(hWnd, GW_OWNER) == p->hOwner) {
        p->hFound = hWnd;
        return FALSE;
    }
    return TRUE;
}

// The thread's tip control: the tooltip window owned by hWndOwner.
HWND FindTipControl(HWND hWndOwner)
{
    TipSearch search = {hWndOwner, NULL};
    ::EnumThreadWindows(::GetCurrentThreadId(), FindTipProc, (LPARAM)&search);
    return search.hFound;
}

// The mouse moving over hWnd to the client point pt, as the message loop
// hands it to the windows before dispatching it.
void MoveMouse(HWND hWnd, int x, int y)
{
    MSG msg = {};
    msg.hwnd = hWnd;
    msg.message = WM_MOUSEMOVE;
    msg.lParam = MAKELPARAM(x, y);
    POINT pt = {x, y};
    ::ClientToScreen(hWnd, &pt);
    msg.pt = pt;
    msg.time = ::GetTickCount();
    CWnd::WalkPreTranslateTree(NULL, &msg);
}

// The ids of the tip control's tools.
std::vector<UINT_PTR> Tools(HWND hTip)
{
    std::vector<UINT_PTR> ids;
    int nCount = (int)::SendMessage(hTip, TTM_GETTOOLCOUNT, 0, 0);
    for (int i = 0; i < nCount; ++i) {
        TOOLINFO ti = {};
        ti.cbSize = sizeof(ti);
        if (::SendMessage(hTip, TTM_ENUMTOOLS, i, (LPARAM)&ti))
            ids.push_back(ti.uId);
    }
    return ids;
}

class ToolTipFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_wnd.CreateEx(0, NULL, "bands", WS_POPUP | WS_VISIBLE, 10, 10, 300, 100, NULL, NULL));
    }
    void TearDown() override
    {
        if (m_wnd.m_hWnd != NULL)
            m_wnd.DestroyWindow();
    }
    CBandWnd m_wnd;
};

TEST_F(ToolTipFixture, TheHitToolIsTheOnlyToolAndItsTextComesFromTheWindow)
{
    ASSERT_TRUE(m_wnd.EnableToolTips(TRUE));
    MoveMouse(m_wnd.m_hWnd, 150, 50);
    HWND hTip = FindTipControl(m_wnd.m_hWnd);
    ASSERT_NE(hTip, (HWND)NULL);
    EXPECT_EQ(Tools(hTip), std::vector<UINT_PTR>({101}));

    CToolTipCtrl* pTip = (CToolTipCtrl*)CWnd::FromHandle(hTip);
    CString strText;
    pTip->GetText(strText, &m_wnd, 101);
    EXPECT_STREQ(strText, "band 1");
    ASSERT_FALSE(m_wnd.m_requests.empty());
    EXPECT_EQ(m_wnd.m_requests.back(), "A 101");

    // Within the same tool nothing changes; the next band replaces it.
    MoveMouse(m_wnd.m_hWnd, 160, 60);
    EXPECT_EQ(Tools(hTip), std::vector<UINT_PTR>({101}));
    MoveMouse(m_wnd.m_hWnd, 250, 50);
    EXPECT_EQ(Tools(hTip), std::vector<UINT_PTR>({102}));
    pTip->GetText(strText, &m_wnd, 102);
    EXPECT_STREQ(strText, "band 2");

    // Off every tool the last one goes; the same control serves again.
    MoveMouse(m_wnd.m_hWnd, 50, 50);
    EXPECT_TRUE(Tools(hTip).empty());
    MoveMouse(m_wnd.m_hWnd, 150, 50);
    EXPECT_EQ(FindTipControl(m_wnd.m_hWnd), hTip);
    EXPECT_EQ(Tools(hTip), std::vector<UINT_PTR>({101}));
}

TEST_F(ToolTipFixture, WideRequestsReachTheSameHandler)
{
    NMTTDISPINFOW info = {};
    info.hdr.hwndFrom = m_wnd.m_hWnd;
    info.hdr.idFrom = 102;
    info.hdr.code = TTN_NEEDTEXTW;
    m_wnd.SendMessage(WM_NOTIFY, 0, (LPARAM)&info);
    EXPECT_EQ(std::wstring(info.szText), L"band 2");
    EXPECT_EQ(m_wnd.m_requests, std::vector<std::string>({"W 102"}));
}

TEST_F(ToolTipFixture, WithoutEnablingOrAfterDisablingNoToolIsMade)
{
    MoveMouse(m_wnd.m_hWnd, 150, 50);
    EXPECT_EQ(FindTipControl(m_wnd.m_hWnd), (HWND)NULL);

    m_wnd.EnableToolTips(TRUE);
    m_wnd.EnableToolTips(FALSE);
    MoveMouse(m_wnd.m_hWnd, 250, 50);
    HWND hTip = FindTipControl(m_wnd.m_hWnd);
    if (hTip != NULL) {
        EXPECT_TRUE(Tools(hTip).empty());
    }
}

TEST_F(ToolTipFixture, TheDefaultHitTestAnswersTheVisibleChildUnderThePoint)
{
    CButton button;
    ASSERT_TRUE(button.Create("ok", BS_PUSHBUTTON | WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 20), &m_wnd, 7));
    CEdit edit;
    ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE, CRect(60, 0, 110, 20), &m_wnd, 8));
    CEdit hidden;
    ASSERT_TRUE(hidden.Create(WS_CHILD, CRect(120, 0, 170, 20), &m_wnd, 9));

    struct Case
    {
        CPoint pt;
        INT_PTR nHit;
        HWND hTool;
        BOOL bNotButton;
    } cases[] = {
        {CPoint(10, 10), 7, button.m_hWnd, FALSE},
        {CPoint(70, 10), 8, edit.m_hWnd, TRUE},
        {CPoint(130, 10), -1, NULL, FALSE}, // hidden
        {CPoint(10, 50), -1, NULL, FALSE},  // no child
    };
    for (const Case& c : cases) {
        TOOLINFO ti = {};
        ti.cbSize = sizeof(ti);
        EXPECT_EQ(m_wnd.CWnd::OnToolHitTest(c.pt, &ti), c.nHit) << c.pt.x << "," << c.pt.y;
        if (c.nHit == -1)
            continue;
        EXPECT_EQ(ti.hwnd, m_wnd.m_hWnd);
        EXPECT_EQ(ti.uId, (UINT_PTR)c.hTool);
        EXPECT_TRUE(ti.uFlags & TTF_IDISHWND);
        EXPECT_EQ(ti.lpszText, LPSTR_TEXTCALLBACK);
        EXPECT_EQ((ti.uFlags & TTF_NOTBUTTON) != 0, c.bNotButton != FALSE);
    }
}

TEST_F(ToolTipFixture, AChildsMouseIsServedByTheParentWithTips)
{
    // A child without tips of its own: its moves reach the parent's hit test.
    CWnd child;
    ASSERT_TRUE(child.CreateEx(0, NULL, "", WS_CHILD | WS_VISIBLE, 100, 0, 200, 100, m_wnd.m_hWnd, (HMENU)5));
    m_wnd.EnableToolTips(TRUE);
    MoveMouse(child.m_hWnd, 150, 50); // at x 250 of the parent
    HWND hTip = FindTipControl(m_wnd.m_hWnd);
    ASSERT_NE(hTip, (HWND)NULL);
    EXPECT_EQ(Tools(hTip), std::vector<UINT_PTR>({102}));
    child.DestroyWindow();
}

TEST(ToolTipOwner, AChildWithTipsTakesItsToolAlongWhenDestroyed)
{
    CWnd top;
    ASSERT_TRUE(top.CreateEx(0, NULL, "top", WS_POPUP | WS_VISIBLE, 0, 0, 400, 200, NULL, NULL));
    CBandWnd bands;
    ASSERT_TRUE(bands.CreateEx(0, NULL, "", WS_CHILD | WS_VISIBLE, 0, 0, 300, 100, top.m_hWnd, (HMENU)3));
    bands.EnableToolTips(TRUE);
    MoveMouse(bands.m_hWnd, 150, 50);
    HWND hTip = FindTipControl(top.m_hWnd); // owned by the top-level window
    ASSERT_NE(hTip, (HWND)NULL);
    EXPECT_EQ(Tools(hTip), std::vector<UINT_PTR>({101}));
    bands.DestroyWindow();
    EXPECT_TRUE(::IsWindow(hTip));
    EXPECT_TRUE(Tools(hTip).empty());
    top.DestroyWindow();
}

TEST(ToolTipCtrl, TextsWidthAndDelays)
{
    CBandWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, NULL, "", WS_POPUP | WS_VISIBLE, 0, 0, 300, 100, NULL, NULL));
    CToolTipCtrl tips;
    ASSERT_TRUE(tips.Create(&wnd, TTS_ALWAYSTIP));
    EXPECT_TRUE(tips.AddTool(&wnd, "初始", CRect(0, 0, 100, 100), 3));
    tips.UpdateTipText("新的提示", &wnd, 3);
    CString strText;
    tips.GetText(strText, &wnd, 3);
    EXPECT_STREQ(strText, "新的提示");
    // A callback text is asked of the tool's window.
    EXPECT_TRUE(tips.AddTool(&wnd, LPSTR_TEXTCALLBACK, CRect(100, 0, 200, 100), 101));
    tips.GetText(strText, &wnd, 101);
    EXPECT_STREQ(strText, "band 1");
    tips.DelTool(&wnd, 3);
    EXPECT_EQ(tips.GetToolCount(), 1);

    tips.SetMaxTipWidth(120);
    EXPECT_EQ(tips.GetMaxTipWidth(), 120);
    tips.SetDelayTime(TTDT_INITIAL, 50);
    tips.SetDelayTime(TTDT_AUTOPOP, 8000);
    EXPECT_EQ(tips.GetDelayTime(TTDT_INITIAL), 50);
    EXPECT_EQ(tips.GetDelayTime(TTDT_AUTOPOP), 8000);
    tips.Activate(FALSE);
    tips.Activate(TRUE);
    tips.DestroyWindow();
    wnd.DestroyWindow();
}

TEST(ToolTipOwner, ANewTopLevelWindowGetsItsOwnTipControl)
{
    // The tip control goes with its owner; the next window makes a new one.
    for (int i = 0; i < 2; ++i) {
        CBandWnd wnd;
        ASSERT_TRUE(wnd.CreateEx(0, NULL, "bands", WS_POPUP | WS_VISIBLE, 10, 10, 300, 100, NULL, NULL));
        wnd.EnableToolTips(TRUE);
        MoveMouse(wnd.m_hWnd, 150, 50);
        HWND hTip = FindTipControl(wnd.m_hWnd);
        ASSERT_NE(hTip, (HWND)NULL) << i;
        EXPECT_EQ(Tools(hTip), std::vector<UINT_PTR>({101}));
        wnd.DestroyWindow();
        EXPECT_FALSE(::IsWindow(hTip));
    }
}

} // namespace
