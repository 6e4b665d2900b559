#include "WebBrowserWnd.h"

#include "WebDialogs.h"
#include "core/GlobalOption.h"
#include "core/GlobalUnits.h"

#include <SkinAttribute.h>

namespace
{

IWebTabHost* g_pWebTabHost = NULL;

struct tagToolButton
{
    UINT nID;
    LPCSTR pszPicture;
    LPCSTR pszTip;
};

// In the order they are made.
const tagToolButton kToolButtons[CWebBrowserToolBar::kButtons] = {
    {CWebBrowserToolBar::IDC_BACK, "web_pre.png", "后退"},
    {CWebBrowserToolBar::IDC_FORWARD, "web_next.png", "前进"},
    {CWebBrowserToolBar::IDC_HOME, "web_stop.png", "主页"},
    {CWebBrowserToolBar::IDC_REFRESH, "web_updt.png", "刷新"},
    {CWebBrowserToolBar::IDC_CLOSE_PAGE, "close.bmp", "关闭页面"},
    {CWebBrowserToolBar::IDC_CARD_RECHARGE, "web_btn1.png", "实物卡充值"},
    {CWebBrowserToolBar::IDC_FAQ, "web_btn3.png", "常见问题"},
    {CWebBrowserToolBar::IDC_PROMOTION, "web_btn4.png", "推广赚金蛋"},
};

// A button without its picture keeps this size.
const int kPlainButton = 20;

CRect WindowRectIn(CWnd* pWnd, CWnd* pParent)
{
    CRect rc;
    pWnd->GetWindowRect(&rc);
    pParent->ScreenToClient(&rc);
    return rc;
}

} // namespace

// ------------------------------------------------------------------ IWebTabHost

IWebTabHost* IWebTabHost::Install(IWebTabHost* pHost)
{
    IWebTabHost* pPrevious = g_pWebTabHost;
    g_pWebTabHost = pHost;
    return pPrevious;
}

IWebTabHost* IWebTabHost::Get()
{
    return g_pWebTabHost;
}

bool IWebTabHost::Open(LPCSTR pszUrl, BYTE cbFlag)
{
    if (pszUrl == NULL || pszUrl[0] == '\0' || g_pWebTabHost == NULL)
        return false;
    g_pWebTabHost->OpenWebTab(pszUrl, cbFlag);
    return true;
}

// ------------------------------------------------------------------ CWebBrowserToolBar

BEGIN_MESSAGE_MAP(CWebBrowserToolBar, CSkinWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_COMMAND(IDC_BACK, OnBack)
    ON_COMMAND(IDC_FORWARD, OnForward)
    ON_COMMAND(IDC_HOME, OnHome)
    ON_COMMAND(IDC_REFRESH, OnRefresh)
    ON_COMMAND(IDC_CLOSE_PAGE, OnClosePage)
END_MESSAGE_MAP()

CWebBrowserToolBar::CWebBrowserToolBar(CWebBrowserWnd* pPage) : m_pPage(pPage)
{
    m_xDividers[0] = m_xDividers[1] = m_xDividers[2] = 0;
}

CWebBrowserToolBar::~CWebBrowserToolBar()
{
    if (GetSafeHwnd() != NULL)
        DestroyWindow();
}

CSkinButton* CWebBrowserToolBar::GetButton(UINT nID)
{
    for (int i = 0; i < kButtons; ++i)
        if (kToolButtons[i].nID == nID)
            return &m_Buttons[i];
    return NULL;
}

int CWebBrowserToolBar::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CSkinWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    m_ToolTip.Create(this);
    for (int i = 0; i < kButtons; ++i) {
        CSkinButton& button = m_Buttons[i];
        button.Create("", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, CRect(0, 0, kPlainButton, kPlainButton), this,
                      kToolButtons[i].nID);
        m_ToolTip.AddTool(&button, kToolButtons[i].pszTip);
        button.SetButtonImage(CWebBrowserWnd::SkinFile(kToolButtons[i].pszPicture));
    }
    m_BackLeft.Load(CWebBrowserWnd::SkinFile("backl.bmp"));
    m_BackMid.Load(CWebBrowserWnd::SkinFile("backm.bmp"));
    m_BackRight.Load(CWebBrowserWnd::SkinFile("backr.bmp"));
    m_Divider.Load(CWebBrowserWnd::SkinFile("web_span.bmp"));
    return 0;
}

void CWebBrowserToolBar::ShowCloseButton(bool bShow)
{
    CSkinButton* pClose = GetButton(IDC_CLOSE_PAGE);
    if (pClose->GetSafeHwnd() != NULL)
        pClose->ShowWindow(bShow ? SW_SHOW : SW_HIDE);
}

BOOL CWebBrowserToolBar::PreTranslateMessage(MSG* pMsg)
{
    if (m_ToolTip.GetSafeHwnd() != NULL)
        m_ToolTip.RelayEvent(pMsg);
    return CSkinWnd::PreTranslateMessage(pMsg);
}

void CWebBrowserToolBar::OnSize(UINT nType, int cx, int cy)
{
    CSkinWnd::OnSize(nType, cx, cy);
    Layout(cx);
}

void CWebBrowserToolBar::Layout(int cx)
{
    if (m_Buttons[0].GetSafeHwnd() == NULL)
        return;
    const int nSpan = m_Divider.IsValid() ? (int)m_Divider.GetWidth() : 0;
    // Home, back, forward, refresh from the left; a divider after them.
    static const UINT kLeft[] = {IDC_HOME, IDC_BACK, IDC_FORWARD, IDC_REFRESH};
    int x = 8;
    for (UINT nID : kLeft) {
        CSkinButton* pButton = GetButton(nID);
        CRect rc = WindowRectIn(pButton, this);
        pButton->SetWindowPos(NULL, x, 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        x += rc.Width() + 8;
    }
    m_xDividers[0] = x - 8 + 2;

    // Close at the right end; FAQ, recharge and promotion leftwards of it.
    CSkinButton* pClose = GetButton(IDC_CLOSE_PAGE);
    CRect rcClose = WindowRectIn(pClose, this);
    int xLeft = cx - 10 - rcClose.Width();
    pClose->SetWindowPos(NULL, xLeft, 6, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    static const UINT kRight[] = {IDC_FAQ, IDC_CARD_RECHARGE, IDC_PROMOTION};
    int nGap = 8 - 3;
    for (int i = 0; i < 3; ++i) {
        CSkinButton* pButton = GetButton(kRight[i]);
        CRect rc = WindowRectIn(pButton, this);
        xLeft = xLeft - nGap - rc.Width();
        pButton->SetWindowPos(NULL, xLeft, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        if (i < 2)
            m_xDividers[i + 1] = xLeft - 4 - nSpan;
        nGap = 8;
    }
    Invalidate(FALSE);
}

void CWebBrowserToolBar::DrawSkinView(CDC* pDC, int cx, int cy)
{
    CSkinWnd::DrawSkinView(pDC, cx, cy);
    HDC hDC = pDC->GetSafeHdc();
    if (m_BackLeft.IsValid() && m_BackMid.IsValid() && m_BackRight.IsValid()) {
        const int wLeft = (int)m_BackLeft.GetWidth(), wRight = (int)m_BackRight.GetWidth();
        m_BackLeft.Draw(hDC, 0, 0);
        m_BackMid.Draw(hDC, wLeft, 0, cx - wLeft - wRight > 0 ? cx - wLeft - wRight : 0, cy);
        m_BackRight.Draw(hDC, cx - wRight, 0);
    }
    if (m_Divider.IsValid())
        for (int x : m_xDividers)
            m_Divider.Draw(hDC, x, 0);
}

void CWebBrowserToolBar::OnBack()
{
    m_pPage->GetHtmlCtrl().GoBack();
}

void CWebBrowserToolBar::OnForward()
{
    m_pPage->GetHtmlCtrl().GoForward();
}

void CWebBrowserToolBar::OnHome()
{
    IWebTabHost::Open(g_GlobalUnits.AppendUserKey(g_GlobalOption.GetHallWebUrl()), 0);
}

void CWebBrowserToolBar::OnRefresh()
{
    m_pPage->GetHtmlCtrl().Refresh();
}

void CWebBrowserToolBar::OnClosePage()
{
    if (IWebTabHost* pHost = IWebTabHost::Get())
        pHost->CloseWebPage(m_pPage);
}

BOOL CWebBrowserToolBar::OnCommand(WPARAM wParam, LPARAM lParam)
{
    switch (LOWORD(wParam)) {
    case IDC_CARD_RECHARGE: {
        CCardRecharge dlg(GetTopLevelParent());
        dlg.DoModal();
        return TRUE;
    }
    case IDC_FAQ:
        // The FAQ page is the address of [HallButton2].
        IWebTabHost::Open(g_GlobalUnits.AppendUserKey(g_GlobalOption.GetHallButtonAction(1)), 1);
        return TRUE;
    case IDC_PROMOTION: {
        CPromotionDlg dlg(GetTopLevelParent());
        dlg.DoModal();
        return TRUE;
    }
    }
    return CSkinWnd::OnCommand(wParam, lParam);
}

// ------------------------------------------------------------------ CWebBrowserWnd

BEGIN_MESSAGE_MAP(CWebBrowserWnd, CSkinWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
END_MESSAGE_MAP()

CWebBrowserWnd::CWebBrowserWnd() : m_ToolBar(this) {}

CWebBrowserWnd::~CWebBrowserWnd()
{
    if (GetSafeHwnd() != NULL)
        DestroyWindow();
}

CString CWebBrowserWnd::SkinFile(LPCSTR pszName)
{
    return CSkinAttribute::m_strSkinDirectory + "MainFrame\\Web\\" + pszName;
}

int CWebBrowserWnd::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CSkinWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    CRect rc;
    GetClientRect(&rc);
    m_ToolBar.Create(NULL, NULL, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                     CRect(0, 0, rc.Width(), kToolBarHeight), this, IDC_TOOLBAR);
    if (m_HtmlCtrl.Create(NULL, NULL, WS_CHILD | WS_VISIBLE, CRect(0, kToolBarHeight + 1, rc.Width(), rc.Height()),
                          this, IDC_PAGE)) {
        m_HtmlCtrl.ShowWindow(SW_SHOW);
        // The first page is the hall's own, without the user's fields.
        m_HtmlCtrl.Navigate2(g_GlobalOption.GetHallWebUrl());
    }
    return 0;
}

void CWebBrowserWnd::OnSize(UINT nType, int cx, int cy)
{
    CSkinWnd::OnSize(nType, cx, cy);
    if (m_ToolBar.GetSafeHwnd() != NULL)
        m_ToolBar.SetWindowPos(NULL, 0, 0, cx, kToolBarHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    // Below the toolbar's row and its one-pixel gap, down to the bottom.
    if (m_HtmlCtrl.GetSafeHwnd() != NULL) {
        int cyPage = cy - (kToolBarHeight + 1);
        m_HtmlCtrl.SetWindowPos(NULL, 0, kToolBarHeight + 1, cx, cyPage > 0 ? cyPage : 0,
                                SWP_NOZORDER | SWP_NOACTIVATE);
        m_HtmlCtrl.Invalidate();
    }
}

void CWebBrowserWnd::Navigate(LPCSTR pszUrl)
{
    if (m_HtmlCtrl.GetSafeHwnd() == NULL)
        return;
    m_HtmlCtrl.Navigate2(g_GlobalUnits.AppendUserKey(pszUrl));
}
