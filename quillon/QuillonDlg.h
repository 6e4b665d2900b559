// The user-service program's main dialog: reads the hall's block, connects
// and logs on through the data centre, shows the page groups and keeps the
// own record up to date from the server's answers.
#pragma once

#include <afxwin.h>

#include "CustomFace.h"
#include "IClientSocket.h"
#include "BankAtmDlg.h"
#include "BankPasswordDlg.h"
#include "BankTransferDlg.h"
#include "GoldToHP.h"
#include "HPToGold.h"
#include "ImageTabItem.h"
#include "QuillonDataCenter.h"
#include "ServiceShareData.h"
#include "SkinButton.h"
#include "SkinTab.h"
#include "TabButtonGroup.h"
#include "TabDlg.h"
#include "TabSkinButton.h"
#include "TipDlg.h"
#include "UserBaseInfoDlg.h"
#include "UserBaseInfoExDlg.h"
#include "UserPasswordDlg.h"

// Every box of the program: the skin library's, captioned "提示信息".
int ServiceMessageBox(HWND hWndOwner, LPCSTR pszText, UINT nType = MB_OK);

class CQuillonDlg : public CDialog
{
public:
    static const int kGroups = 4;
    static const int kItems = 4;

    CQuillonDlg();
    ~CQuillonDlg() override;

    // Shows a group's strip with one item selected (index 4 and above:
    // none); group 1 without a strong-box password goes to its password item.
    void OpenPage(int nGroup, int nIndex);

    int GetShownGroup() const { return m_nShownGroup; }
    CSkinTab* GetTabStrip(int nGroup) { return &m_TabStrips[nGroup]; }
    CSkinTabItem* GetTabItem(int nGroup, int nIndex) { return m_pTabItems[nGroup][nIndex]; }
    CTabDlg* GetPage(int nGroup, int nIndex) { return m_pPages[nGroup][nIndex]; }
    const tagServiceShareData& GetShareData() const { return m_ShareData; }
    const CModifyAttrArray& GetPendingChanges() const { return m_PendingChanges; }
    void ClearPendingChanges()
    {
        m_PendingChanges.RemoveAll();
        m_bModified = false;
    }
    INT_PTR GetRegisteredPageCount() const { return m_RegisteredPages.GetSize(); }
    CQuillonDataCenter* GetDataCenter() { return m_pDataCenter; }
    CTabSkinButton* GetGroupButton(int nGroup) { return &m_btGroups[nGroup]; }
    CTipDlg* GetTipDlg() { return &m_TipDlg; }
    // The dialog asked the program to end (WM_QUIT posted).
    bool HasAskedToQuit() const { return m_bQuitPosted; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    bool InitService();
    bool ReadShareData();
    bool InitTabCtrl();
    void RegisterNotifications();
    void FailStart(LPCSTR pszText);
    void Quit();
    // Every box of the dialog.
    int ShowBox(LPCSTR pszText, UINT nType = MB_OK);
    void ShowGroup(int nGroup);
    bool IsAccountPageVisible();
    void EndInitialisation();
    void RefreshPages(std::initializer_list<CTabDlg*> pages);
    void SubmitRegisteredPages();
    void OnModifyResult(const tagServiceModifyResult& result);
    void RegisterPage(CTabDlg* pPage);
    // Submits a page again after a refusal; it stays registered when that fails.
    void SubmitAgain(CTabDlg* pPage);

    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg HCURSOR OnQueryDragIcon();
    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnDestroy();
    afx_msg LRESULT OnServiceNotify(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnModifyAttr(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnFaceChanged(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnShowFacePage(WPARAM wParam, LPARAM lParam);
    afx_msg void OnGroupAccount() { OpenPage(0, 0); }
    afx_msg void OnGroupBank() { OpenPage(1, 0); }
    afx_msg void OnGroupFace() { OpenPage(2, 0); }
    afx_msg void OnGroupExchange() { OpenPage(3, 0); }
    afx_msg void OnCloseButton() { OnCancel(); }
    afx_msg void OnBankTabChange(NMHDR* pNMHDR, LRESULT* pResult);
    DECLARE_MESSAGE_MAP()

    CArray<CTabDlg*, CTabDlg*> m_RegisteredPages;
    CModifyAttrArray m_PendingChanges;
    bool m_bModified;
    bool m_bQuitPosted;
    CClientSocketHelper m_SocketModule;
    CQuillonDataCenter* m_pDataCenter;
    CSkinImage m_ImageBack;
    CSkinImage m_ImageTitle;
    CSkinButton m_btOK;
    CSkinButton m_btCancel;
    CSkinButton m_btClose;
    CTabSkinButton m_btGroups[kGroups];
    CTabButtonGroup m_GroupButtons;
    int m_nShownGroup;
    tagServiceShareData m_ShareData;
    CSkinTab m_TabStrips[kGroups];
    CImageTabItem* m_pTabItems[kGroups][kItems];
    CTabDlg* m_pPages[kGroups][kItems];
    CUserBaseInfoDlg m_UserBaseInfo;
    CUserBaseInfoExDlg m_UserBaseInfoEx;
    CUserPasswordDlg m_UserPassword;
    CBankAtmDlg m_BankAtm;
    CBankTransferDlg m_BankTransfer;
    CBankPasswordDlg m_BankPassword;
    CGoldToHP m_GoldToHP;
    CHPToGold m_HPToGold;
    CTipDlg m_TipDlg;
    CCustomFace m_CustomFace{TRUE};
    CCustomFace m_SystemFace{FALSE};
    HICON m_hIcon;
};
