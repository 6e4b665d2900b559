// CDlgLogon: the skinned logon dialog. It makes sure the downloaded
// configuration is there, runs the hall version check, connects through the
// hall data centre, logs on and remembers the account; it ends with IDOK once
// the own user's attributes have arrived. The application keeps one object
// for its whole life and runs it at start-up and at every account switch:
// its flags live across DoModal calls.
#pragma once

#include <afxwin.h>

#include <SkinButton.h>
#include <SkinHyperLink.h>
#include <SkinImage.h>

#include "FileUpdate.h"
#include "HtmlCtrl.h"
#include "LogonControls.h"
#include "LogonServer.h"
#include "PasswordControl.h"
#include "SkinComboxEx.h"

class CClientDataCenter;
struct tagNotifyHead;

// The "gamelogon" link: wParam the account text, lParam the password digest.
const UINT WM_LOGON_LINK_LOGON = WM_USER + 2123;

class CDlgLogon : public CDialog
{
public:
    enum
    {
        IDD = 129,
        IDT_FAST_SERVER = 101,
        // Window size collapsed and with the network settings shown.
        DIALOG_WIDTH = 387,
        COLLAPSED_HEIGHT = 274,
        EXPANDED_HEIGHT = 492,
        // Configuration addresses tried before the logon goes on without.
        UPDATE_ATTEMPTS = 6,
    };

    CDlgLogon(CWnd* pParent = NULL);
    virtual ~CDlgLogon();

    // The hall data centre the dialog logs on through; set before DoModal.
    void SetClientDataCenter(CClientDataCenter* pDataCenter) { m_pDataCenter = pDataCenter; }
    CClientDataCenter* GetClientDataCenter() const { return m_pDataCenter; }

    // The fast-server wait's tick, ms (tests shorten it).
    static void SetProbeTick(DWORD dwMilliseconds) { s_dwProbeTick = dwMilliseconds; }

    // What the dialog holds, for its owner and tests.
    bool IsAccountMode() const { return m_bAccountMode; }
    bool IsSettingsExpanded() const { return m_bSettingsExpanded; }
    bool IsConfigurationReady() const { return m_bConfigReady; }
    bool IsLogonRequested() const { return m_bLogonRequested; }
    bool IsPasswordEdited() const { return m_bPasswordEdited; }
    bool IsDigest() const { return m_bDigest; }
    const CString& GetPasswordMember() const { return m_strPassword; }
    LPCSTR GetAccountMember() const { return m_szAccount; }
    DWORD GetUserIdMember() const { return m_dwUserID; }
    int GetUpdateAttempts() const { return m_nUpdateAttempts; }
    CFileUpdate& GetFileUpdate() { return m_FileUpdate; }
    CPasswordControl& GetPasswordControl() { return m_PasswordControl; }
    CHtmlCtrl& GetBanner() { return m_Banner; }

    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

    // Buttons the dialog offers (also reached by messages).
    void SwitchMode(bool bAccountMode);
    void ToggleSettings();
    void DeleteSelectedAccount();

protected:
    void OnOK() override;
    void OnCancel() override;

    afx_msg void OnDestroy();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnCancelLogon();
    afx_msg void OnRegister();
    afx_msg void OnSettings();
    afx_msg void OnAccountMode();
    afx_msg void OnIdMode();
    afx_msg void OnDeleteAccount();
    afx_msg void OnUpdateLog();
    afx_msg void OnNothing();
    afx_msg void OnAccountSelChange();
    afx_msg void OnAccountEditChange();
    afx_msg void OnServerSelChange();
    afx_msg void OnPasswordChange();
    afx_msg LRESULT OnLinkLogon(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnLinkClicked(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnHallNotify(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnUpdateFinished(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnUpdateFailed(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    // The current mode's box.
    CLogonCombox& ModeBox() { return m_bAccountMode ? m_AccountBox : m_IdBox; }
    void FillBoxes();
    void FillModeBox(CLogonCombox& box, bool bAccounts);
    // The first item equal to the text, case ignored; -1 when none.
    static int FindExactItem(CComboBox& box, LPCSTR pszText);
    void LoadPassword(LPCSTR pszText);
    void SelectAccount();
    void CompleteTyped();
    void EnableControls(bool bEnable);
    void SetPrompt(LPCSTR pszText);
    bool Validate();
    void ValidationError(LPCSTR pszText, CWnd* pFocus);
    void ShowConfigurationError();
    void RunHallCheck();
    void StartLogon();
    void ConnectServer();
    void SendVersionReport();
    void SendLogonRequest();
    bool StartConfigurationDownload();
    void RememberAccount();
    void RegisterNotifications(bool bAll);
    void UnregisterNotifications(bool bAll);
    void ShowLogonResultText(LONG lResult, LPCSTR pszMessage);
    void LayoutControls(int cx, int cy);
    void BuildRegion();
    // The password as the logon sends it: the digest, or the MD5 of it.
    void GetPasswordDigest(char szDigest[33]) const;

    CRgn m_WindowRgn;
    CString m_strPassword;
    char m_szAccount[32];
    DWORD m_dwUserID;
    int m_nUpdateIndex;
    int m_nUpdateAttempts;
    int m_nUpdateError;
    bool m_bFirstOpening;
    bool m_bPasswordEdited;
    bool m_bSettingsExpanded;
    bool m_bDigest;
    bool m_bTypedChar;
    bool m_bAccountMode;
    bool m_bLogonRequested;
    bool m_bConfigReady;

    CSkinButton m_btLogon;
    CSkinButton m_btClose;
    CSkinButton m_btRegister;
    CSkinButton m_btSettings;
    CSkinButton m_btCancelLogon;
    CSkinButton m_btGuest;
    CSkinButton m_btAccountMode;
    CSkinButton m_btIdMode;
    CSkinComboxEx m_ServerBox;
    CLogonCombox m_AccountBox;
    CLogonCombox m_IdBox;
    CSkinComboxEx m_ProxyKindBox;
    CSkinButton m_btRemember;
    CSkinButton m_btAgree;
    CHtmlCtrl m_Banner;
    CLogonLink m_ClearLink;
    CSkinButton m_btDelete;
    CPasswordControl m_PasswordControl;
    CLongEdit m_ProxyEdits[4];
    CLogonGroup m_Groups[2];
    HICON m_hIcon;
    CSkinHyperLink m_ForgotLink;
    CTabCtrlLogon m_TabLogon;
    CSkinButton m_btUpdateLog;
    enum
    {
        PIC_UP,
        PIC_DOWN,
        PIC_CENTER,
        PIC_BANNER,
        PIC_PROGRESS_MASK,
        PIC_UPDATING_BAR,
        PIC_ACCOUNT,
        PIC_PASSWORD,
        PIC_COUNT
    };
    CSkinImage m_Pictures[PIC_COUNT];
    CString m_strServer;
    int m_nDialogWidth;
    int m_nExpandedHeight;
    CRect m_rcCollapsed;
    tagProxyInfo m_ProxyInfo;
    DWORD m_dwLogonSerial;
    DWORD m_dwUserInfoSerial;
    int m_nProbeTicks;
    CFileUpdate m_FileUpdate;
    CBrush m_brLight;
    CBrush m_brGrey;
    CClientDataCenter* m_pDataCenter;

    static DWORD s_dwProbeTick;
};
