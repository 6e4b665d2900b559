// What the two money panels of a room (safe box, gold exchange) share: two
// pages behind two tab buttons, the balances refreshed five times a second,
// quick amounts, the amount fields shown with commas, and one request at a
// time. The panels own the rules of their pages.
#pragma once

#include <afxwin.h>

#include <SkinButton.h>

#include "PageDlg.h"

class CRoomDataCenter;
class CUserItem;

// What a money panel asks of the room window that hosts it.
class IMoneyPanelHost
{
public:
    virtual ~IMoneyPanelHost() {}
    // The room window the panel sits over.
    virtual CWnd* GetRoomWnd() = 0;
    // The room's skinned message box (OK button "确定").
    virtual void ShowSkinMessageBox(LPCSTR pszText) = 0;
    // Runs the safe-box password dialog; false when cancelled.
    virtual bool AskSafeBoxPassword(CString& strPassword) = 0;
    // Starts the user-service program at that page.
    virtual void OpenServicePage(DWORD dwPageGroup, DWORD dwPageIndex) = 0;
};

enum
{
    IDC_MONEY_TAB_FIRST = 1241,
    IDC_MONEY_TAB_SECOND = 1242,
    IDC_MONEY_EXTRA = 1243
};

class CMoneyPanel : public CDialog
{
public:
    CMoneyPanel(UINT nIDTemplate, LPCSTR pszCaption, LPCSTR pszSkinFolder);
    ~CMoneyPanel() override;

    void SetRoomContext(IMoneyPanelHost* pHost, CRoomDataCenter* pDataCenter, CUserItem* pUserItem, int nStartPage);
    // Creates the panel over the room window when it has none, and shows it.
    bool ShowPanel();

    int GetCurrentPage() const { return m_nCurrentPage; }
    CPageDlg* GetPage(int nPage) { return nPage == 0 || nPage == 1 ? m_pPages[nPage] : NULL; }
    // A request is out and its answer not yet in.
    bool IsRequestInFlight() const { return m_bInFlight; }

    // A room record's gold, negative read as 0.
    static LONGLONG ReadGold(DWORD dwRaw);
    static LONGLONG GetGoldEggs(const CUserItem* pUserItem);
    static LONGLONG GetGoldBeans(const CUserItem* pUserItem);
    // Interval of the balance refresh (ms).
    static UINT s_nRefreshInterval;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void PostNcDestroy() override;

    // The panels' own parts.
    virtual void RefreshValues() = 0;
    // Amount for quick button 0..3 of the current page.
    virtual LONGLONG QuickAmount(int nButton) = 0;
    virtual void Confirm() = 0;
    virtual void OnExtraButton() = 0;
    virtual void OnAllBox(UINT nID) {}
    virtual CString QuickCaption(int nPage, int nButton) = 0;

    // The page area inside the client.
    CRect GetPageArea() const;
    void SwitchPage(int nPage);
    // The amount of the current page's field: AMOUNT_TEXT_INVALID,
    // AMOUNT_TEXT_TOO_LARGE or the value.
    LONGLONG ReadPageAmount();
    void FocusAmountField();
    // After a valid request went out: one answer is awaited.
    void BeginRequest();
    // The answer came: the panel's window goes.
    void EndRequest();
    void SetPageValue(UINT nID, LONGLONG llValue);
    void ShowInfo(LPCSTR pszText);
    // Prints a value with commas, 0 as "0".
    static CString FormatValue(LONGLONG llValue);

    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnTabFirst();
    afx_msg void OnTabSecond();
    afx_msg void OnExtra();
    afx_msg void OnQuickAmount(UINT nID);
    afx_msg void OnAllBoxClicked(UINT nID);
    afx_msg void OnAmountChange(UINT nID);
    DECLARE_MESSAGE_MAP()

    IMoneyPanelHost* m_pHost;
    CRoomDataCenter* m_pDataCenter;
    CUserItem* m_pUserItem;
    int m_nStartPage;
    CPageDlg* m_pPages[2];
    int m_nCurrentPage;
    CString m_strLastText[2];
    CString m_strCaption;
    CString m_strSkinFolder;
    CSkinButton m_btTabs[2];
    CPicture m_Background;
    bool m_bInFlight;
    UINT m_nIDTemplate;
};
