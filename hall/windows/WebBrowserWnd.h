// The hall's web page window: a toolbar (back, forward, home, refresh,
// close and three buttons for the recharge, FAQ and promotion pages) over
// a page control. The room tab window makes one per web tab.
#pragma once

#include <afxcmn.h>

#include <Picture.h>
#include <SkinButton.h>
#include <SkinWnd.h>

#include "HtmlCtrl.h"

class CWebBrowserWnd;

// What the page windows ask of the window that holds their tabs; the room
// tab window installs itself.
class IWebTabHost
{
public:
    virtual ~IWebTabHost() {}
    // Shows the address in a web tab; the flag is the tab window's.
    virtual void OpenWebTab(LPCSTR pszUrl, BYTE cbFlag) = 0;
    // Removes the tab that holds the page window, and the window.
    virtual void CloseWebPage(CWebBrowserWnd* pPage) = 0;

    // Answers the previous host; null removes it.
    static IWebTabHost* Install(IWebTabHost* pHost);
    static IWebTabHost* Get();
    // Refuses an empty address and a missing host.
    static bool Open(LPCSTR pszUrl, BYTE cbFlag);
};

class CWebBrowserToolBar : public CSkinWnd
{
public:
    enum
    {
        IDC_BACK = 1001,
        IDC_FORWARD = 1002,
        IDC_HOME = 1003,
        IDC_REFRESH = 1004,
        IDC_CLOSE_PAGE = 1005,
        IDC_CARD_RECHARGE = 1010,
        IDC_FAQ = 1012,
        IDC_PROMOTION = 1013,
        kButtons = 8,
    };

    explicit CWebBrowserToolBar(CWebBrowserWnd* pPage);
    ~CWebBrowserToolBar() override;

    void ShowCloseButton(bool bShow);
    CSkinButton* GetButton(UINT nID);
    CToolTipCtrl& GetToolTip() { return m_ToolTip; }
    // The dividers' left edges, as last laid out.
    int GetDivider(int i) const { return m_xDividers[i]; }

    BOOL PreTranslateMessage(MSG* pMsg) override;
    void DrawSkinView(CDC* pDC, int cx, int cy) override;
    using CSkinWnd::DrawSkinView;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnBack();
    afx_msg void OnForward();
    afx_msg void OnHome();
    afx_msg void OnRefresh();
    afx_msg void OnClosePage();
    DECLARE_MESSAGE_MAP()

    void Layout(int cx);

    CWebBrowserWnd* m_pPage;
    CSkinButton m_Buttons[kButtons];
    CToolTipCtrl m_ToolTip;
    int m_xDividers[3];
    CPicture m_BackLeft, m_BackMid, m_BackRight, m_Divider;
};

class CWebBrowserWnd : public CSkinWnd
{
public:
    enum
    {
        kToolBarHeight = 23,
        IDC_TOOLBAR = 100,
        IDC_PAGE = 101,
    };

    CWebBrowserWnd();
    ~CWebBrowserWnd() override;

    // The address with the user's id and key; nothing before the page
    // control exists.
    void Navigate(LPCSTR pszUrl);
    void ShowCloseButton(bool bShow) { m_ToolBar.ShowCloseButton(bShow); }

    CWebBrowserToolBar& GetToolBar() { return m_ToolBar; }
    CHtmlCtrl& GetHtmlCtrl() { return m_HtmlCtrl; }

    // The skin folder's web pictures ("MainFrame\Web\" in the skin).
    static CString SkinFile(LPCSTR pszName);

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    DECLARE_MESSAGE_MAP()

    CWebBrowserToolBar m_ToolBar;
    CHtmlCtrl m_HtmlCtrl;
};
