#include "DlgLogon.h"

#include <MD5Encrypt.h>
#include <SkinMessageBox.h>
#include <XOREncrypt.h>
#include <XTVBufferDC.h>

#include <stdlib.h>

#include "BitmapRegion.h"
#include "ClientDataCenter.h"
#include "FastServerProbe.h"
#include "GlobalOption.h"
#include "GlobalUnits.h"
#include "HallProtocol.h"
#include "HallWindows.h"
#include "RegisterDlg.h"
#include "TextUnit.h"

namespace
{

const char kPromptAccount[] = "请输入帐号和密码：";
const char kPromptId[] = "请输入ID号和密码：";
const char kPromptDownloading[] = "正在下载游戏配置文件，请稍后...";
const char kPasswordShown[] = "**********";
const char kErrorMarker[] = "<error>";
const COLORREF kLightBack = RGB(0xF2, 0xF2, 0xF2);
const COLORREF kGreyBack = RGB(0xD9, 0xD9, 0xD9);

// Controls of the template without members.
enum
{
    IDC_PROMPT = 1000,
    IDC_BANNER_PLACE = 1001,
    IDC_SERVER = 1002,
    IDC_ACCOUNT = 1003,
    IDC_CLEAR_ACCOUNT = 1005,
    IDC_REGISTER = 1006,
    IDC_HIDDEN_COMBO = 1007,
    IDC_SETTINGS = 1008,
    IDC_REMEMBER = 1009,
    IDC_PROXY_KIND = 1010,
    IDC_PROXY_ADDR = 1011,
    IDC_PROXY_PORT = 1012,
    IDC_PROXY_USER = 1013,
    IDC_PROXY_PASS = 1014,
    IDC_LABEL_SERVER = 1015,
    IDC_LABEL_ACCOUNT = 1016,
    IDC_LABEL_PASSWORD = 1017,
    IDC_AGREE = 1019,
    IDC_GROUP_PROXY = 1020,
    IDC_GROUP_SERVER = 1021,
    IDC_USER_ID = 1022,
    IDC_LABEL_ID = 1023,
    IDC_FORGOT = 1024,
    IDC_DELETE = 1025,
    IDC_ACCOUNT_MODE = 1047,
    IDC_ID_MODE = 1048,
    IDC_UPDATE_LOG = 1050,
    IDC_LABEL_KIND = 1061,
    IDC_LABEL_ADDR = 1062,
    IDC_LABEL_PORT = 1063,
    IDC_LABEL_USER = 1064,
    IDC_LABEL_PASS = 1065,
    IDC_FILLED_1076 = 1076,
    IDC_PASSWORD = 1099,
    IDC_GUEST = 3,
    IDC_CANCEL_LOGON = 4,
};

const int kBannerWidth = 206;
const int kBannerHeight = 24;

// The logon result's text by the mapped result; 0 for none.
UINT ResultStringId(LONG lResult)
{
    switch (lResult) {
    case -1: return 10009;
    case 1: return 10006;
    case 2: return 10007;
    case 3: return 10001;
    case 4: return 10002;
    case 5: return 10008;
    case 6: return 10013;
    default: return 0;
    }
}

bool IsChecked(CWnd& button)
{
    return button.GetSafeHwnd() != NULL && button.SendMessage(BM_GETCHECK) == BST_CHECKED;
}

void SetChecked(CWnd& button, bool bChecked)
{
    if (button.GetSafeHwnd() != NULL)
        button.SendMessage(BM_SETCHECK, bChecked ? BST_CHECKED : BST_UNCHECKED);
}

} // namespace

DWORD CDlgLogon::s_dwProbeTick = 100;

BEGIN_MESSAGE_MAP(CDlgLogon, CDialog)
    ON_WM_DESTROY()
    ON_WM_SIZE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_CTLCOLOR()
    ON_WM_TIMER()
    ON_WM_LBUTTONDOWN()
    ON_BN_CLICKED(IDC_CANCEL_LOGON, OnCancelLogon)
    ON_BN_CLICKED(IDC_REGISTER, OnRegister)
    ON_BN_CLICKED(IDC_SETTINGS, OnSettings)
    ON_BN_CLICKED(IDC_ACCOUNT_MODE, OnAccountMode)
    ON_BN_CLICKED(IDC_ID_MODE, OnIdMode)
    ON_BN_CLICKED(IDC_DELETE, OnDeleteAccount)
    ON_BN_CLICKED(IDC_UPDATE_LOG, OnUpdateLog)
    ON_BN_CLICKED(IDC_GUEST, OnNothing)
    ON_CBN_SELCHANGE(IDC_HIDDEN_COMBO, OnNothing)
    ON_CBN_SELCHANGE(IDC_ACCOUNT, OnAccountSelChange)
    ON_CBN_SELCHANGE(IDC_USER_ID, OnAccountSelChange)
    ON_CBN_EDITCHANGE(IDC_ACCOUNT, OnAccountEditChange)
    ON_CBN_EDITCHANGE(IDC_USER_ID, OnAccountEditChange)
    ON_CBN_SELCHANGE(IDC_SERVER, OnServerSelChange)
    ON_EN_CHANGE(IDC_PASSWORD, OnPasswordChange)
    ON_MESSAGE(WM_LOGON_LINK_LOGON, OnLinkLogon)
    ON_MESSAGE(WM_LOGON_LINK, OnLinkClicked)
    ON_MESSAGE(WM_HALL_NOTIFY, OnHallNotify)
    ON_MESSAGE(WM_UPDATE_FINISHED, OnUpdateFinished)
    ON_MESSAGE(WM_UPDATE_FAILED, OnUpdateFailed)
END_MESSAGE_MAP()

CDlgLogon::CDlgLogon(CWnd* pParent)
    : CDialog(IDD, pParent), m_dwUserID(0), m_nUpdateIndex(0), m_nUpdateAttempts(0), m_nUpdateError(0),
      m_bFirstOpening(true), m_bPasswordEdited(false), m_bSettingsExpanded(false), m_bDigest(false),
      m_bTypedChar(false), m_bAccountMode(true), m_bLogonRequested(false), m_bConfigReady(false), m_hIcon(NULL),
      m_nDialogWidth(0), m_nExpandedHeight(0), m_dwLogonSerial(0), m_dwUserInfoSerial(0), m_nProbeTicks(0),
      m_pDataCenter(NULL)
{
    memset(m_szAccount, 0, sizeof(m_szAccount));
    m_ProxyInfo.cbProxyType = 0;
    m_ProxyInfo.wProxyPort = 0;
    m_brLight.CreateSolidBrush(kLightBack);
    m_brGrey.CreateSolidBrush(kGreyBack);
}

CDlgLogon::~CDlgLogon() {}

BOOL CDlgLogon::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetWindowText("游戏登录");
    m_hIcon = ::LoadIcon(AfxGetResourceHandle(), MAKEINTRESOURCE(128));
    if (m_hIcon != NULL)
        SetIcon(m_hIcon, FALSE);
    CHallWindows::SetLogonWindow(m_hWnd);

    m_btLogon.SubclassDlgItem(IDOK, this);
    m_btClose.SubclassDlgItem(IDCANCEL, this);
    m_btRegister.SubclassDlgItem(IDC_REGISTER, this);
    m_btSettings.SubclassDlgItem(IDC_SETTINGS, this);
    m_btCancelLogon.SubclassDlgItem(IDC_CANCEL_LOGON, this);
    m_btGuest.SubclassDlgItem(IDC_GUEST, this);
    m_btAccountMode.SubclassDlgItem(IDC_ACCOUNT_MODE, this);
    m_btIdMode.SubclassDlgItem(IDC_ID_MODE, this);
    m_ServerBox.SubclassDlgItem(IDC_SERVER, this);
    m_AccountBox.SubclassDlgItem(IDC_ACCOUNT, this);
    m_IdBox.SubclassDlgItem(IDC_USER_ID, this);
    m_ProxyKindBox.SubclassDlgItem(IDC_PROXY_KIND, this);
    m_btRemember.SubclassDlgItem(IDC_REMEMBER, this);
    m_btAgree.SubclassDlgItem(IDC_AGREE, this);
    m_ClearLink.SubclassDlgItem(IDC_CLEAR_ACCOUNT, this);
    m_btDelete.SubclassDlgItem(IDC_DELETE, this);
    m_PasswordControl.SubclassDlgItem(IDC_PASSWORD, this);
    for (int i = 0; i < 4; i++)
        m_ProxyEdits[i].SubclassDlgItem(IDC_PROXY_ADDR + i, this);
    m_Groups[0].SubclassDlgItem(IDC_GROUP_PROXY, this);
    m_Groups[1].SubclassDlgItem(IDC_GROUP_SERVER, this);
    m_ForgotLink.SubclassDlgItem(IDC_FORGOT, this);
    m_btUpdateLog.SubclassDlgItem(IDC_UPDATE_LOG, this);

    // The banner takes the hidden placeholder's place.
    m_Banner.SetHostFlags(12);
    if (m_Banner.CreateFromStatic(IDC_BANNER_PLACE, this)) {
        CString strBanner = g_GlobalOption.GetLogonCycleUrl();
        if (!strBanner.IsEmpty())
            m_Banner.Navigate2(strBanner);
    }

    SetChecked(m_btAgree, true);
    m_ClearLink.ShowWindow(SW_HIDE);
    m_ClearLink.SetBackGroundColor(kGreyBack);
    m_ForgotLink.SetBackGroundColor(kGreyBack);
    m_ForgotLink.SetHyperLinkUrl(g_GlobalOption.GetFindPasswordUrl());

    m_AccountBox.LimitText(31);
    m_PasswordControl.LimitText(32);
    m_ProxyEdits[1].LimitText(5);

    FillBoxes();

    g_GlobalOption.GetProxyInfo(m_ProxyInfo);
    static const LPCSTR kKinds[] = {"不使用代理", "SOCK 4 代理", "SOCK 5 代理"};
    m_ProxyKindBox.ResetContent();
    for (int i = 0; i < 3; i++)
        m_ProxyKindBox.SetItemData(m_ProxyKindBox.AddString(kKinds[i]), (DWORD_PTR)i);
    for (int i = 0; i < m_ProxyKindBox.GetCount(); i++) {
        if (m_ProxyKindBox.GetItemData(i) == m_ProxyInfo.cbProxyType) {
            m_ProxyKindBox.SetCurSel(i);
            break;
        }
    }
    if (m_ProxyKindBox.GetCurSel() == CB_ERR)
        m_ProxyKindBox.SetCurSel(0);
    m_ProxyEdits[0].SetWindowText(m_ProxyInfo.strProxyAddr);
    m_ProxyEdits[2].SetWindowText(m_ProxyInfo.strProxyName);
    m_ProxyEdits[3].SetWindowText(m_ProxyInfo.strProxyPass);
    CString strPort;
    strPort.Format("%u", (unsigned)m_ProxyInfo.wProxyPort);
    m_ProxyEdits[1].SetWindowText(strPort);

    // The dialog opens in account mode; the id mode has its button.
    m_bAccountMode = true;
    m_btAccountMode.EnableWindow(FALSE);
    m_btIdMode.ShowWindow(SW_HIDE);

    CRect rcWindow;
    GetWindowRect(&rcWindow);
    m_rcCollapsed.SetRect(rcWindow.left, rcWindow.top, rcWindow.left + DIALOG_WIDTH, rcWindow.top + COLLAPSED_HEIGHT);
    m_nDialogWidth = DIALOG_WIDTH;
    m_nExpandedHeight = EXPANDED_HEIGHT;
    m_bSettingsExpanded = false;
    MoveWindow(&m_rcCollapsed);
    CenterWindow();
    for (int id = IDC_PROXY_KIND; id <= IDC_PROXY_PASS; id++)
        GetDlgItem(id)->EnableWindow(FALSE);
    if (m_ProxyInfo.cbProxyType != 0 && !m_bSettingsExpanded)
        ToggleSettings();

    CString strAccount;
    m_AccountBox.GetWindowText(strAccount);
    if (strAccount.IsEmpty()) {
        m_AccountBox.SetFocus();
        m_AccountBox.SetEditSel(0, -1);
    } else if (CEdit* pEdit = m_PasswordControl.GetEditCtrl()) {
        pEdit->SetFocus();
        pEdit->SetSel(0, -1);
    }
    m_bDigest = false;

    CString strFolder = CString(g_GlobalUnits.GetResourceDirectory()) + "Logon\\";
    struct
    {
        CSkinButton* pButton;
        LPCSTR pszFile;
    } buttons[] = {
        {&m_btLogon, "Logon.bmp"},           {&m_btClose, "tbclose.bmp"},    {&m_btRegister, "Register.bmp"},
        {&m_btSettings, "Option.bmp"},       {&m_btCancelLogon, "Quit.bmp"}, {&m_btGuest, "BtTourist.bmp"},
        {&m_btAccountMode, "btAccount.bmp"}, {&m_btIdMode, "btID.bmp"},      {&m_btDelete, "btDeleteRecord.bmp"},
        {&m_btUpdateLog, "btNewUpdate.bmp"},
    };
    for (const auto& button : buttons) {
        CString strFile = strFolder + button.pszFile;
        if (::GetFileAttributesA(strFile) != INVALID_FILE_ATTRIBUTES)
            button.pButton->SetButtonImage(strFile);
    }
    static const LPCSTR kPictures[PIC_COUNT] = {"bg_up.bmp",        "bg_down.bmp",     "bg_center.bmp", "bannert.bmp",
                                                "progressmask.bmp", "updatingbar.bmp", "ACU.bmp",       "PSW.bmp"};
    for (int i = 0; i < PIC_COUNT; i++) {
        m_Pictures[i].SetLoadInfo(strFolder + kPictures[i]);
        m_Pictures[i].LoadImage();
    }
    m_TabLogon.LoadImages();
    m_AccountBox.LoadImage();
    m_IdBox.LoadImage();

    CRect rcClient;
    GetClientRect(&rcClient);
    LayoutControls(rcClient.Width(), rcClient.Height());
    BuildRegion();

    if (m_bFirstOpening) {
        m_bFirstOpening = false;
        // Without an address there is nothing to wait for.
        if (!StartConfigurationDownload())
            m_bConfigReady = true;
    }
    return FALSE;
}

BOOL CDlgLogon::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_KEYDOWN)
        m_bTypedChar = pMsg->wParam != VK_DELETE && pMsg->wParam != VK_BACK;
    return CDialog::PreTranslateMessage(pMsg);
}

void CDlgLogon::OnDestroy()
{
    KillTimer(IDT_FAST_SERVER);
    // The handle may be reused once the window is gone.
    UnregisterNotifications(true);
    if (CHallWindows::GetLogonWindow() == m_hWnd)
        CHallWindows::SetLogonWindow(NULL);
    m_WindowRgn.DeleteObject();
    CDialog::OnDestroy();
}

// ---- boxes and accounts -----------------------------------------------------------------

void CDlgLogon::FillBoxes()
{
    m_ServerBox.ResetContent();
    INT_PTR nServers = g_GlobalOption.GetServerCount();
    for (INT_PTR i = 0; i < nServers; i++) {
        tagLogonServer* pServer = g_GlobalOption.GetServer(i);
        char szName[sizeof(pServer->szName)];
        TextCopyField(szName, pServer->szName);
        m_ServerBox.AddString(szName);
    }
    if (m_ServerBox.GetCount() > 0) {
        int nLast = g_GlobalOption.GetLastServer();
        m_ServerBox.SetCurSel(nLast >= 0 && nLast < m_ServerBox.GetCount() ? nLast : 0);
    }
    // The id box first: the account box's password is the one that stays.
    FillModeBox(m_IdBox, false);
    FillModeBox(m_AccountBox, true);
}

void CDlgLogon::FillModeBox(CLogonCombox& box, bool bAccounts)
{
    box.ResetContent();
    int nCount = g_GlobalOption.GetAccountCount();
    for (int i = 0; i < nCount; i++) {
        CString strText;
        if (bAccounts) {
            strText = g_GlobalOption.GetAccountName(i);
        } else {
            // An account whose id is not known has none to list.
            DWORD dwUserID = g_GlobalOption.GetAccountUserId(i);
            if (dwUserID == 0)
                continue;
            strText.Format("%d", (int)dwUserID);
        }
        if (strText.IsEmpty())
            continue;
        int nFound = box.FindStringExact(-1, strText);
        if (nFound != CB_ERR) {
            CString strItem;
            box.GetLBText(nFound, strItem);
            if (strItem == strText)
                continue;
        }
        box.AddString(strText);
    }
    bool bSaveMode = m_bAccountMode;
    m_bAccountMode = bAccounts;
    CString strLast;
    if (bAccounts) {
        strLast = g_GlobalOption.GetLastUser();
    } else if ((LONG)g_GlobalOption.GetLastUserId() >= 1) {
        strLast.Format("%d", (int)g_GlobalOption.GetLastUserId());
    }
    int nLast = strLast.IsEmpty() ? -1 : FindExactItem(box, strLast);
    if (nLast >= 0) {
        box.SetCurSel(nLast);
        CString strItem;
        box.GetLBText(nLast, strItem);
        LoadPassword(strItem);
    }
    if (box.GetCurSel() == CB_ERR && box.GetCount() > 0) {
        box.SetCurSel(0);
        CString strItem;
        box.GetLBText(0, strItem);
        LoadPassword(strItem);
    }
    m_bAccountMode = bSaveMode;
}

int CDlgLogon::FindExactItem(CComboBox& box, LPCSTR pszText)
{
    if (pszText == NULL)
        return -1;
    int nCount = box.GetCount();
    for (int i = 0; i < nCount; i++) {
        CString strItem;
        box.GetLBText(i, strItem);
        if (strItem.CompareNoCase(pszText) == 0)
            return i;
    }
    return -1;
}

void CDlgLogon::LoadPassword(LPCSTR pszText)
{
    CString strSaved;
    if (pszText != NULL && pszText[0] != '\0') {
        if (m_bAccountMode)
            g_GlobalOption.GetPasswordByAccount(strSaved, pszText);
        else
            g_GlobalOption.GetPasswordByUserId(strSaved, (DWORD)strtoul(pszText, NULL, 10));
    }
    if (strSaved.IsEmpty()) {
        m_strPassword.Empty();
        m_PasswordControl.SetPassword("");
        SetChecked(m_btRemember, false);
    } else {
        char szPlain[34] = "";
        CXOREncrypt::CrevasseData(strSaved, szPlain, sizeof(szPlain));
        szPlain[sizeof(szPlain) - 1] = '\0';
        m_strPassword = szPlain;
        m_PasswordControl.SetPassword(m_strPassword.IsEmpty() ? "" : kPasswordShown);
        SetChecked(m_btRemember, !m_strPassword.IsEmpty());
    }
    m_bPasswordEdited = false;
}

void CDlgLogon::SelectAccount()
{
    CLogonCombox& box = ModeBox();
    int nSel = box.GetCurSel();
    if (nSel != CB_ERR)
        box.SetCurSel(nSel);
    CString strText;
    if (nSel != CB_ERR)
        box.GetLBText(nSel, strText);
    else
        box.GetWindowText(strText);
    LoadPassword(strText);
}

void CDlgLogon::CompleteTyped()
{
    m_PasswordControl.SetPassword("");
    m_strPassword.Empty();
    SetChecked(m_btRemember, false);
    if (!m_bTypedChar)
        return;
    CLogonCombox& box = ModeBox();
    box.SendMessage(WM_CLEAR);
    CString strTyped;
    box.GetWindowText(strTyped);
    if (strTyped.IsEmpty())
        return;
    CString strSearch = strTyped;
    if (m_bAccountMode)
        strSearch.MakeUpper();
    int nCount = box.GetCount();
    for (int i = 0; i < nCount; i++) {
        CString strItem;
        box.GetLBText(i, strItem);
        CString strCompare = strItem;
        if (m_bAccountMode)
            strCompare.MakeUpper();
        if (strCompare.Find(strSearch) != 0)
            continue;
        box.SetCurSel(i);
        box.SetEditSel(strTyped.GetLength(), strItem.GetLength());
        LoadPassword(m_bAccountMode ? strCompare : strItem);
        return;
    }
}

void CDlgLogon::DeleteSelectedAccount()
{
    CLogonCombox& box = ModeBox();
    CLogonCombox& other = m_bAccountMode ? m_IdBox : m_AccountBox;
    CString strText;
    box.GetWindowText(strText);
    m_AccountBox.SetWindowText("");
    m_IdBox.SetWindowText("");
    if (strText.IsEmpty())
        return;
    int nItem = FindExactItem(box, strText);
    if (nItem >= 0) {
        CString strName;
        int nCount = g_GlobalOption.GetAccountCount();
        for (int i = 0; i < nCount; i++) {
            bool bMatch = m_bAccountMode ? g_GlobalOption.GetAccountName(i) == strText
                                         : g_GlobalOption.GetAccountUserId(i) == (DWORD)atoi(strText);
            if (!bMatch)
                continue;
            CString strOther;
            if (m_bAccountMode)
                strOther.Format("%d", (int)g_GlobalOption.GetAccountUserId(i));
            else
                strOther = g_GlobalOption.GetAccountName(i);
            strName = g_GlobalOption.GetAccountName(i);
            int nOther = FindExactItem(other, strOther);
            if (nOther >= 0)
                other.DeleteString(nOther);
            break;
        }
        g_GlobalOption.DeleteAccount(m_bAccountMode ? (LPCSTR)strText : (LPCSTR)strName);
        box.DeleteString(nItem);
    }
    box.SetFocus();
    if (box.GetCount() > 0) {
        m_AccountBox.SetCurSel(0);
        m_IdBox.SetCurSel(0);
        SelectAccount();
    } else {
        LoadPassword(NULL);
    }
}

void CDlgLogon::SwitchMode(bool bAccountMode)
{
    if (m_btLogon.GetSafeHwnd() == NULL)
        return;
    m_bAccountMode = bAccountMode;
    GetDlgItem(IDC_LABEL_ACCOUNT)->ShowWindow(bAccountMode ? SW_SHOW : SW_HIDE);
    m_AccountBox.ShowWindow(bAccountMode ? SW_SHOW : SW_HIDE);
    GetDlgItem(IDC_LABEL_ID)->ShowWindow(bAccountMode ? SW_HIDE : SW_SHOW);
    m_IdBox.ShowWindow(bAccountMode ? SW_HIDE : SW_SHOW);
    CString strText;
    ModeBox().GetWindowText(strText);
    LoadPassword(strText);
    m_btAccountMode.EnableWindow(!bAccountMode);
    m_btIdMode.EnableWindow(bAccountMode);
    (bAccountMode ? m_btAccountMode : m_btIdMode).SetFocus();
    SetPrompt(bAccountMode ? kPromptAccount : kPromptId);
}

void CDlgLogon::ToggleSettings()
{
    m_bSettingsExpanded = !m_bSettingsExpanded;
    for (int id = IDC_PROXY_KIND; id <= IDC_PROXY_PASS; id++)
        GetDlgItem(id)->EnableWindow(m_bSettingsExpanded);
    SetWindowPos(NULL, 0, 0, m_nDialogWidth, m_bSettingsExpanded ? m_nExpandedHeight : m_rcCollapsed.Height(),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    CRect rcClient;
    GetClientRect(&rcClient);
    rcClient.top = 250;
    InvalidateRect(&rcClient);
}

// ---- buttons and input ------------------------------------------------------------------

void CDlgLogon::OnCancel()
{
    EndDialog(IDCANCEL);
    g_GlobalOption.SaveAccounts();
}

void CDlgLogon::OnCancelLogon()
{
    EnableControls(true);
    if (m_pDataCenter != NULL)
        m_pDataCenter->CloseSocket();
}

void CDlgLogon::OnRegister()
{
    CRegisterWebDlg dlg(this);
    dlg.DoModal();
}

void CDlgLogon::OnSettings()
{
    ToggleSettings();
}

void CDlgLogon::OnAccountMode()
{
    SwitchMode(true);
}

void CDlgLogon::OnIdMode()
{
    SwitchMode(false);
}

void CDlgLogon::OnDeleteAccount()
{
    DeleteSelectedAccount();
}

void CDlgLogon::OnUpdateLog()
{
    OpenUrlInBrowser(CString(g_GlobalUnits.GetWorkDirectory()) + "更新日志.txt", SW_SHOW);
}

void CDlgLogon::OnNothing() {}

void CDlgLogon::OnAccountSelChange()
{
    SelectAccount();
}

void CDlgLogon::OnAccountEditChange()
{
    CompleteTyped();
}

void CDlgLogon::OnServerSelChange()
{
    g_GlobalOption.SetServerReuse(true);
}

void CDlgLogon::OnPasswordChange()
{
    m_bPasswordEdited = true;
}

LRESULT CDlgLogon::OnLinkClicked(WPARAM wParam, LPARAM)
{
    if (wParam == IDC_FORGOT)
        return 0;
    DeleteSelectedAccount();
    return 1;
}

LRESULT CDlgLogon::OnLinkLogon(WPARAM wParam, LPARAM lParam)
{
    LPCSTR pszAccount = (LPCSTR)wParam;
    LPCSTR pszDigest = (LPCSTR)lParam;
    TextCopyField(m_szAccount, pszAccount);
    char szDigest[33];
    TextCopyField(szDigest, pszDigest);
    m_strPassword = szDigest;
    m_strPassword.MakeLower();
    // The link names an account: the logon is by account.
    m_dwUserID = 0;
    if (!m_bAccountMode)
        SwitchMode(true);
    m_AccountBox.SetWindowText(m_szAccount);
    SetChecked(m_btRemember, false);
    m_bDigest = true;
    OnOK();
    return 1;
}

void CDlgLogon::EnableControls(bool bEnable)
{
    m_btLogon.ShowWindow(bEnable ? SW_SHOW : SW_HIDE);
    m_btCancelLogon.ShowWindow(bEnable ? SW_HIDE : SW_SHOW);
    CWnd* windows[] = {&m_ClearLink, &m_btDelete,     &m_btRegister, &m_btSettings, &m_ServerBox,  &m_AccountBox,
                       &m_IdBox,     &m_ProxyKindBox, &m_btRemember, &m_btAgree,    &m_ForgotLink, &m_btGuest};
    for (CWnd* pWnd : windows) {
        if (pWnd->GetSafeHwnd() != NULL)
            pWnd->EnableWindow(bEnable);
    }
    m_PasswordControl.EnableControl(bEnable);
    m_PasswordControl.Invalidate();
    for (CLongEdit& edit : m_ProxyEdits)
        edit.EnableWindow(bEnable);
    if (bEnable) {
        // The proxy fields stay as the settings area wants them.
        if (!m_bSettingsExpanded) {
            for (int id = IDC_PROXY_KIND; id <= IDC_PROXY_PASS; id++)
                GetDlgItem(id)->EnableWindow(FALSE);
        }
        SetPrompt(m_bAccountMode ? kPromptAccount : kPromptId);
    }
}

void CDlgLogon::SetPrompt(LPCSTR pszText)
{
    SetDlgItemText(IDC_PROMPT, pszText);
}

// ---- the logon road ---------------------------------------------------------------------

void CDlgLogon::OnOK()
{
    m_bLogonRequested = true;
    EnableControls(false);
    if (!Validate())
        return;
    if (m_bConfigReady) {
        ShowConfigurationError();
        RunHallCheck();
    } else {
        SetPrompt(kPromptDownloading);
    }
}

bool CDlgLogon::Validate()
{
    m_ServerBox.GetWindowText(m_strServer);
    if (m_strServer.IsEmpty()) {
        ValidationError("登录服务器不能为空，请重新选择或者输入登录服务器！", &m_ServerBox);
        return false;
    }
    int nServer = g_GlobalOption.FindServerByName(m_strServer);
    if (nServer >= 0)
        g_GlobalOption.SetLastServer(nServer);

    if (!m_bDigest) {
        if (!m_bAccountMode) {
            CString strId;
            m_IdBox.GetWindowText(strId);
            long lUserID = strtol(strId, NULL, 10);
            if (lUserID < 1) {
                ValidationError("用户登录ID不能为空，请重新输入登录ID号！", &m_IdBox);
                return false;
            }
            m_dwUserID = (DWORD)lUserID;
            memset(m_szAccount, 0, sizeof(m_szAccount));
        } else {
            CString strAccount;
            m_AccountBox.GetWindowText(strAccount);
            strAccount.Trim();
            if (strAccount.IsEmpty()) {
                ValidationError("用户登录帐号不能为空，请重新输入登录帐号！", &m_AccountBox);
                return false;
            }
            TextCopyField(m_szAccount, strAccount);
            m_dwUserID = 0;
        }
        if (m_bPasswordEdited) {
            m_bPasswordEdited = false;
            char szTyped[CPasswordControl::maxPassword + 1];
            m_PasswordControl.GetPassword(szTyped);
            m_strPassword = szTyped;
        }
        if (m_strPassword.IsEmpty()) {
            ValidationError("登录密码不能为空，请重新输入登录密码！", m_PasswordControl.GetEditCtrl());
            return false;
        }
    }

    CString strText;
    m_ProxyEdits[1].GetWindowText(strText);
    m_ProxyInfo.wProxyPort = (WORD)strtoul(strText, NULL, 10);
    m_ProxyEdits[2].GetWindowText(m_ProxyInfo.strProxyName);
    m_ProxyEdits[3].GetWindowText(m_ProxyInfo.strProxyPass);
    m_ProxyEdits[0].GetWindowText(m_ProxyInfo.strProxyAddr);
    int nKind = m_ProxyKindBox.GetCurSel();
    m_ProxyInfo.cbProxyType = nKind == CB_ERR ? 0 : (BYTE)m_ProxyKindBox.GetItemData(nKind);
    if (m_ProxyInfo.cbProxyType != 0 && m_ProxyInfo.strProxyAddr.IsEmpty()) {
        ValidationError("代理服务器地址不能为空，请重新输入代理服务器地址！", &m_ProxyEdits[0]);
        return false;
    }
    if (!IsChecked(m_btAgree)) {
        ValidationError("亲爱的玩家，如果您想登录大厅，请您同意游戏协议！", NULL);
        return false;
    }
    return true;
}

void CDlgLogon::ValidationError(LPCSTR pszText, CWnd* pFocus)
{
    ShowWindow(SW_SHOW);
    BringWindowToTop();
    SkinMessageBox(m_hWnd, pszText, "游戏提示", MB_ICONQUESTION);
    // Enabled first: a disabled control takes no focus.
    OnCancelLogon();
    if (pFocus != NULL && pFocus->GetSafeHwnd() != NULL)
        pFocus->SetFocus();
}

void CDlgLogon::ShowConfigurationError()
{
    if (m_nUpdateError == 0)
        return;
    UINT nID = 12805;
    switch (m_nUpdateError) {
    case 400: nID = 12801; break;
    case 401: nID = 12802; break;
    case 404: nID = 12803; break;
    case 500: nID = 12804; break;
    }
    SkinMessageBox(m_hWnd, g_GlobalUnits.LoadResString(nID), "提示", MB_ICONINFORMATION);
}

void CDlgLogon::RunHallCheck()
{
    int nResult = m_FileUpdate.CheckHallUpdate();
    if (nResult >= HALL_UPDATE_NONE)
        StartLogon();
    else if (nResult == HALL_UPDATE_REFUSED)
        OnCancel();
    // HALL_UPDATE_STARTED: the download window ends the dialog.
}

void CDlgLogon::StartLogon()
{
    RegisterNotifications(true);
    if (g_GlobalOption.ShouldFindFastServer()) {
        SetPrompt("正在选择最快服务器...");
        g_GlobalOption.StartFastServerProbe();
        m_nProbeTicks = 0;
        SetTimer(IDT_FAST_SERVER, s_dwProbeTick, NULL);
    } else {
        ConnectServer();
    }
}

void CDlgLogon::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != IDT_FAST_SERVER) {
        CDialog::OnTimer(nIDEvent);
        return;
    }
    // Hosts that never answer leave the word unset: after the probe's own
    // bound and a little more, connect through the server cycle anyway.
    const int nLimit = (int)((CFastServerProbe::s_dwConnectBound + 500 + 99) / 100);
    ++m_nProbeTicks;
    if (g_GlobalOption.GetFastServerResult() >= 0 || m_nProbeTicks >= nLimit) {
        KillTimer(IDT_FAST_SERVER);
        ConnectServer();
    }
}

void CDlgLogon::ConnectServer()
{
    if (m_pDataCenter == NULL || !m_pDataCenter->ConnectServer())
        EnableControls(true);
}

void CDlgLogon::RegisterNotifications(bool bAll)
{
    if (m_pDataCenter == NULL || m_hWnd == NULL)
        return;
    m_pDataCenter->AddNotifyWindow(HN_CONNECTING, m_hWnd);
    m_pDataCenter->AddNotifyWindow(HN_CONNECT_RESULT, m_hWnd);
    m_pDataCenter->AddNotifyWindow(HN_SERVER_TREE, m_hWnd);
    if (bAll) {
        m_pDataCenter->AddNotifyWindow(HN_CONNECTION_CLOSED, m_hWnd);
        m_pDataCenter->AddNotifyWindow(HN_USER_INFO_RESULT, m_hWnd);
    }
}

void CDlgLogon::UnregisterNotifications(bool bAll)
{
    if (m_pDataCenter == NULL || m_hWnd == NULL)
        return;
    m_pDataCenter->RemoveNotifyWindow(HN_CONNECTING, m_hWnd);
    m_pDataCenter->RemoveNotifyWindow(HN_CONNECT_RESULT, m_hWnd);
    m_pDataCenter->RemoveNotifyWindow(HN_SERVER_TREE, m_hWnd);
    if (bAll) {
        m_pDataCenter->RemoveNotifyWindow(HN_CONNECTION_CLOSED, m_hWnd);
        m_pDataCenter->RemoveNotifyWindow(HN_USER_INFO_RESULT, m_hWnd);
    }
}

void CDlgLogon::GetPasswordDigest(char szDigest[33]) const
{
    if (m_bDigest)
        TextCopyField(szDigest, 33, m_strPassword);
    else
        CMD5Encrypt::EncryptData((LPCSTR)m_strPassword, szDigest);
}

void CDlgLogon::SendVersionReport()
{
    char szPath[MAX_PATH] = "";
    ::GetModuleFileNameA(NULL, szPath, MAX_PATH);
    DWORD dwHandle = 0;
    DWORD dwSize = ::GetFileVersionInfoSizeA(szPath, &dwHandle);
    if (dwSize == 0)
        return;
    CByteArray info;
    info.SetSize(dwSize);
    if (!::GetFileVersionInfoA(szPath, 0, dwSize, info.GetData()))
        return;
    VS_FIXEDFILEINFO* pFixed = NULL;
    UINT nLength = 0;
    if (!::VerQueryValueA(info.GetData(), "\\", (LPVOID*)&pFixed, &nLength) || pFixed == NULL ||
        nLength < sizeof(VS_FIXEDFILEINFO))
        return;
    CString strVersion;
    strVersion.Format("%u.%u.%u.%u", (unsigned)HIWORD(pFixed->dwFileVersionMS),
                      (unsigned)LOWORD(pFixed->dwFileVersionMS), (unsigned)HIWORD(pFixed->dwFileVersionLS),
                      (unsigned)LOWORD(pFixed->dwFileVersionLS));
    CString strClient;
    strClient.LoadString(131);
    m_pDataCenter->SendTwoTexts(strClient, strVersion);
}

void CDlgLogon::SendLogonRequest()
{
    tagLogonInput input;
    memset(&input, 0, sizeof(input));
    input.dwUserID = m_dwUserID;
    TextCopyField(input.szAccounts, m_szAccount);
    GetPasswordDigest(input.szPassword);
    if (!m_pDataCenter->SendLogon(m_dwLogonSerial, m_hWnd, input))
        OnCancelLogon();
}

void CDlgLogon::ShowLogonResultText(LONG lResult, LPCSTR pszMessage)
{
    CString strText;
    if (pszMessage != NULL && pszMessage[0] != '\0' && strcmp(pszMessage, kErrorMarker) != 0) {
        strText = pszMessage;
    } else {
        UINT nID = ResultStringId(lResult);
        if (nID != 0)
            strText = g_GlobalUnits.LoadResString(nID);
    }
    SkinMessageBox(m_hWnd, strText, "提示", MB_ICONINFORMATION);
}

LRESULT CDlgLogon::OnHallNotify(WPARAM wParam, LPARAM lParam)
{
    const tagNotifyHead* pHead = (const tagNotifyHead*)wParam;
    if (pHead == NULL || m_pDataCenter == NULL)
        return 0;
    DWORD dwKey = MAKELONG(pHead->wSubCmdID, pHead->wMainCmdID);
    if (dwKey == MAKELONG(HN_CONNECTING.wSubCmdID, HN_CONNECTING.wMainCmdID)) {
        SetPrompt("正在连接服务器...");
    } else if (dwKey == MAKELONG(HN_CONNECT_RESULT.wSubCmdID, HN_CONNECT_RESULT.wMainCmdID)) {
        const tagConnectNotice* pNotice = (const tagConnectNotice*)lParam;
        LONG lError = pNotice != NULL ? pNotice->lErrorCode : -1;
        if (lError == 0) {
            SetPrompt(pNotice->pszErrorText != NULL ? pNotice->pszErrorText : "");
            SetPrompt("正在登录...");
            SendVersionReport();
            SendLogonRequest();
        } else {
            UINT nID = lError == 3 ? 10001 : lError == 4 ? 10002 : 10000;
            SkinMessageBox(m_hWnd, g_GlobalUnits.LoadResString(nID), "提示", MB_ICONINFORMATION);
            EnableControls(true);
        }
    } else if (dwKey == MAKELONG(HN_LOGON_RESULT.wSubCmdID, HN_LOGON_RESULT.wMainCmdID)) {
        const tagLogonNotice* pNotice = (const tagLogonNotice*)lParam;
        if (pNotice == NULL)
            return 0;
        if (pNotice->lResult == 0) {
            SetPrompt("正在下载列表...");
            // The user's own lists, before anything writes them back.
            g_GlobalOption.LoadLastGames();
            g_GlobalOption.LoadSelfGames();
            m_pDataCenter->RequestGameList();
            m_pDataCenter->RequestUserInfo(m_dwUserInfoSerial, m_hWnd);
            g_GlobalUnits.GetGlobalUserData()->dwLockMachine = pNotice->cbFlag;
            char szMessage[sizeof(pNotice->szMessage)];
            TextCopyField(szMessage, pNotice->szMessage);
            if (szMessage[0] != '\0' && (BYTE)szMessage[0] != 0x0B && strcmp(szMessage, kErrorMarker) != 0) {
                g_GlobalUnits.SetWebKey(szMessage);
                g_GlobalUnits.OpenUserUrl(g_GlobalOption.GetHallWebUrl(), true);
            }
        } else {
            char szMessage[sizeof(pNotice->szMessage)];
            TextCopyField(szMessage, pNotice->szMessage);
            ShowLogonResultText(pNotice->lResult, szMessage);
            m_pDataCenter->CloseSocket();
            EnableControls(true);
        }
    } else if (dwKey == MAKELONG(HN_USER_INFO_RESULT.wSubCmdID, HN_USER_INFO_RESULT.wMainCmdID)) {
        LONG lResult = lParam != 0 ? *(const LONG*)lParam : 4;
        if (lResult != 0) {
            // A refused or malformed answer is no logon.
            ShowLogonResultText(lResult, NULL);
            m_pDataCenter->CloseSocket();
            EnableControls(true);
            return 0;
        }
        UnregisterNotifications(false);
        RememberAccount();
        if (IHallFrameWnd* pFrame = CHallWindows::GetFrame())
            pFrame->UpdateOwnFace();
        g_GlobalOption.RecordFastServer();
        EndDialog(IDOK);
    } else if (dwKey == MAKELONG(HN_CONNECTION_CLOSED.wSubCmdID, HN_CONNECTION_CLOSED.wMainCmdID)) {
        EnableControls(true);
    } else if (dwKey == MAKELONG(HN_SERVER_TREE.wSubCmdID, HN_SERVER_TREE.wMainCmdID)) {
        // The link's digest is the web log-in's as it stands.
        char szDigest[33];
        GetPasswordDigest(szDigest);
        g_GlobalUnits.WebLogin(szDigest);
        SetPrompt("列表发送完成...");
    }
    return 0;
}

void CDlgLogon::RememberAccount()
{
    g_GlobalOption.SaveLastServer();
    bool bRemember = IsChecked(m_btRemember);
    tagGlobalUserData* pUser = g_GlobalUnits.GetGlobalUserData();
    if (pUser->lLevel != GUEST_USER_LEVEL) {
        tagAccount account;
        memset(&account, 0, sizeof(account));
        if (m_szAccount[0] == '\0')
            TextCopyField(m_szAccount, pUser->szAccount);
        TextCopyField(account.szAccount, m_szAccount);
        account.dwUserID = pUser->dwUserID;
        if (bRemember)
            CXOREncrypt::EncryptData(m_strPassword, account.szPassword, sizeof(account.szPassword));
        account.szPassword[sizeof(account.szPassword) - 1] = '\0';
        int nIndex = g_GlobalOption.FindAccount(account.szAccount);
        if (nIndex < 0) {
            g_GlobalOption.AddAccount(account);
            if (m_AccountBox.GetSafeHwnd() != NULL && FindExactItem(m_AccountBox, account.szAccount) < 0)
                m_AccountBox.AddString(account.szAccount);
        } else {
            g_GlobalOption.SetAccount(nIndex, account);
        }
        g_GlobalOption.SetLastUser(account.szAccount);
        g_GlobalOption.SaveAccounts();
        TextCopyField(pUser->szAccount, m_szAccount);
        GetPasswordDigest(pUser->szPassword);
    }
    g_GlobalOption.SetProxyInfo(m_ProxyInfo);
    g_GlobalOption.SaveProxyInfo();
    g_GlobalOption.SaveLastGames();
    g_GlobalOption.SaveSelfGames();
}

// ---- the configuration download ---------------------------------------------------------

bool CDlgLogon::StartConfigurationDownload()
{
    if (m_bLogonRequested)
        SetPrompt(kPromptDownloading);
    if (m_nUpdateIndex >= CGlobalOption::kUpdateUrls)
        m_nUpdateIndex = 0;
    CString strUrl = g_GlobalOption.GetUpdateUrl(m_nUpdateIndex);
    if (strUrl.IsEmpty())
        return false;
    return m_FileUpdate.DownloadZipToMemory(strUrl, this, UPDATE_KIND_HALL_VERSION);
}

LRESULT CDlgLogon::OnUpdateFinished(WPARAM wParam, LPARAM)
{
    if (wParam != UPDATE_KIND_HALL_VERSION && !m_FileUpdate.IsTaskStarted())
        return 0;
    m_bConfigReady = true;
    if (m_bLogonRequested) {
        ShowConfigurationError();
        RunHallCheck();
    }
    return 0;
}

LRESULT CDlgLogon::OnUpdateFailed(WPARAM wParam, LPARAM lParam)
{
    if (wParam != UPDATE_KIND_HALL_VERSION)
        return 0;
    m_nUpdateIndex++;
    m_nUpdateAttempts++;
    if (m_nUpdateAttempts >= UPDATE_ATTEMPTS) {
        // Enough tried: the logon goes on without the configuration.
        m_bConfigReady = true;
        m_nUpdateError = (int)lParam;
        if (m_bLogonRequested) {
            ShowConfigurationError();
            RunHallCheck();
        }
        return 0;
    }
    if (!StartConfigurationDownload()) {
        m_bConfigReady = true;
        m_nUpdateError = (int)lParam;
        if (m_bLogonRequested)
            ShowConfigurationError();
        OnCancelLogon();
    }
    return 0;
}

// ---- look -------------------------------------------------------------------------------

void CDlgLogon::OnSize(UINT nType, int cx, int cy)
{
    CDialog::OnSize(nType, cx, cy);
    if (m_btLogon.GetSafeHwnd() == NULL)
        return;
    LayoutControls(cx, cy);
    BuildRegion();
}

void CDlgLogon::LayoutControls(int cx, int)
{
    struct Row
    {
        int nID;
        int x, y, w, h;
        bool bSize;
    };
    const Row rows[] = {
        {IDCANCEL, 338, 0, 44, 19, false},
        {IDOK, 300, 230, 71, 25, false},
        {IDC_CANCEL_LOGON, 300, 230, 71, 25, false},
        {IDC_GUEST, 184, 230, 71, 25, false},
        {IDC_REGISTER, 279, 173, 327, 195, false},
        {IDC_DELETE, 279, 142, 327, 195, false},
        {IDC_ACCOUNT, 103, 142, 168, 19, true},
        {IDC_USER_ID, 103, 142, 168, 19, true},
        {IDC_PASSWORD, 103, 173, 168, 18, true},
        {IDC_REMEMBER, 102, 207, 65, 16, false},
        {IDC_AGREE, 191, 207, 65, 16, false},
        {IDC_SETTINGS, 16, 233, 58, 22, false},
        {IDC_SERVER, 128, 414, 151, 19, true},
        {IDC_PROXY_KIND, 71, 312, 157, 19, true},
        {IDC_PROXY_ADDR, 71, 335, 157, 19, true},
        {IDC_PROXY_USER, 71, 358, 157, 19, true},
        {IDC_PROXY_PORT, 285, 335, 64, 19, true},
        {IDC_PROXY_PASS, 285, 358, 64, 19, true},
        {IDC_GROUP_PROXY, 19, 296, 346, 86, true},
        {IDC_GROUP_SERVER, 19, 400, 346, 51, true},
        {IDC_ACCOUNT_MODE, 15, 95, 85, 27, false},
        {IDC_ID_MODE, 103, 95, 85, 27, false},
        {IDC_UPDATE_LOG, 320, 95, 56, 16, false},
        {IDC_CLEAR_ACCOUNT, 300, 168, 52, 14, true},
        {IDC_PROMPT, 18, 119, 325, 14, true},
        {IDC_LABEL_ACCOUNT, 51, 146, 45, 14, true},
        {IDC_LABEL_ID, 51, 146, 45, 14, true},
        {IDC_LABEL_PASSWORD, 51, 176, 45, 14, true},
        {IDC_LABEL_KIND, 27, 315, 45, 14, true},
        {IDC_LABEL_ADDR, 27, 337, 45, 14, true},
        {IDC_LABEL_PORT, 236, 337, 45, 14, true},
        {IDC_LABEL_USER, 27, 360, 45, 14, true},
        {IDC_LABEL_PASS, 236, 360, 45, 14, true},
        {IDC_LABEL_SERVER, 38, 418, 72, 14, true},
        {IDC_FORGOT, 279, 207, 52, 14, true},
        {IDC_BANNER_PLACE, (cx - kBannerWidth) / 2, 0, kBannerWidth, kBannerHeight, true},
    };
    HDWP hDwp = ::BeginDeferWindowPos((int)(sizeof(rows) / sizeof(rows[0])));
    for (const Row& row : rows) {
        HWND hChild = ::GetDlgItem(m_hWnd, row.nID);
        if (hChild == NULL || hDwp == NULL)
            continue;
        UINT nFlags = SWP_NOZORDER | SWP_NOACTIVATE | (row.bSize ? 0 : SWP_NOSIZE);
        hDwp = ::DeferWindowPos(hDwp, hChild, NULL, row.x, row.y, row.w, row.h, nFlags);
    }
    if (hDwp != NULL)
        ::EndDeferWindowPos(hDwp);
    if (m_Banner.GetSafeHwnd() != NULL)
        m_Banner.Invalidate();
}

void CDlgLogon::BuildRegion()
{
    CRect rcClient;
    GetClientRect(&rcClient);
    CRect rcTop(0, 0, rcClient.Width(), rcClient.Height() / 2);
    CRect rcBottom(0, rcClient.Height() / 2, rcClient.Width(), rcClient.Height());
    CSkinImage& up = m_Pictures[PIC_UP];
    CSkinImage& down = m_Pictures[PIC_DOWN];
    if (!up.IsNull())
        rcTop.SetRect(0, 0, up.GetWidth(), up.GetHeight());
    if (!down.IsNull())
        rcBottom.SetRect(0, rcClient.bottom - down.GetHeight(), down.GetWidth(), rcClient.bottom);

    HRGN hRegion = ::CreateRectRgn(rcTop.left + 4, rcTop.top, rcTop.right - 4, rcTop.bottom);
    auto orInto = [&hRegion](HRGN hOther) {
        if (hOther == NULL)
            return;
        ::CombineRgn(hRegion, hRegion, hOther, RGN_OR);
        ::DeleteObject(hOther);
    };
    orInto(::CreateRectRgn(rcBottom.left + 4, rcBottom.top, rcBottom.right, rcBottom.bottom - 4));
    const COLORREF crKey = RGB(255, 0, 255);
    const COLORREF crTolerance = RGB(0x10, 0x10, 0x10);
    if (!up.IsNull()) {
        if (CRgn* pRgn = CreateRegionFromBitmap(up.GetBitmapHandle(), crKey, crTolerance)) {
            HRGN hPart = (HRGN)pRgn->Detach();
            ::OffsetRgn(hPart, rcTop.left, rcTop.top);
            orInto(hPart);
        }
    }
    if (!down.IsNull()) {
        if (CRgn* pRgn = CreateRegionFromBitmap(down.GetBitmapHandle(), crKey, crTolerance)) {
            HRGN hPart = (HRGN)pRgn->Detach();
            ::OffsetRgn(hPart, rcBottom.left, rcBottom.top);
            orInto(hPart);
        }
    }
    orInto(::CreateRectRgn(rcTop.left, rcTop.bottom, rcBottom.right, rcBottom.top));
    // The window owns the region it is given; the member keeps a copy.
    m_WindowRgn.DeleteObject();
    HRGN hCopy = ::CreateRectRgn(0, 0, 0, 0);
    ::CombineRgn(hCopy, hRegion, NULL, RGN_COPY);
    m_WindowRgn.Attach(hCopy);
    SetWindowRgn(hRegion, TRUE);
}

void CDlgLogon::OnPaint()
{
    CPaintDC dc(this);
    CRect rcClient;
    GetClientRect(&rcClient);
    CXTVBufferDC buffer(&dc, rcClient);
    CDC* pDC = &buffer;
    pDC->FillSolidRect(&rcClient, kGreyBack);
    CSkinImage& up = m_Pictures[PIC_UP];
    CSkinImage& down = m_Pictures[PIC_DOWN];
    int nUpHeight = up.IsNull() ? 0 : up.GetHeight();
    int nDownTop = down.IsNull() ? rcClient.bottom : rcClient.bottom - down.GetHeight();
    if (!up.IsNull())
        up.BitBlt(pDC->GetSafeHdc(), 0, 0);
    if (!m_Pictures[PIC_CENTER].IsNull() && nDownTop > nUpHeight)
        m_Pictures[PIC_CENTER].StretchBlt(pDC->GetSafeHdc(), CRect(0, nUpHeight, rcClient.right, nDownTop));
    if (!m_Pictures[PIC_BANNER].IsNull())
        m_Pictures[PIC_BANNER].BitBlt(pDC->GetSafeHdc(), 15, nUpHeight + 18);
    if (!down.IsNull())
        down.BitBlt(pDC->GetSafeHdc(), 0, nDownTop);
    const COLORREF crKey = RGB(255, 0, 255);
    struct
    {
        CSkinImage* pImage;
        int x, y;
    } marks[] = {{&m_Pictures[PIC_ACCOUNT], 29, 145}, {&m_Pictures[PIC_PASSWORD], 31, 175}};
    for (const auto& mark : marks) {
        if (mark.pImage->IsNull())
            continue;
        CDC memDC;
        memDC.CreateCompatibleDC(pDC);
        HGDIOBJ hOld = ::SelectObject(memDC.GetSafeHdc(), mark.pImage->GetBitmapHandle());
        ::TransparentBlt(pDC->GetSafeHdc(), mark.x, mark.y, mark.pImage->GetWidth(), mark.pImage->GetHeight(),
                         memDC.GetSafeHdc(), 0, 0, mark.pImage->GetWidth(), mark.pImage->GetHeight(), crKey);
        ::SelectObject(memDC.GetSafeHdc(), hOld);
    }
}

BOOL CDlgLogon::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

HBRUSH CDlgLogon::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    HBRUSH hBrush = CDialog::OnCtlColor(pDC, pWnd, nCtlColor);
    int nID = pWnd != NULL ? pWnd->GetDlgCtrlID() : 0;
    switch (nID) {
    case IDC_PROMPT:
    case IDC_LABEL_SERVER:
    case IDC_LABEL_KIND:
    case IDC_LABEL_ADDR:
    case IDC_LABEL_PORT:
    case IDC_LABEL_USER:
    case IDC_LABEL_PASS: pDC->SetBkMode(TRANSPARENT); return (HBRUSH)m_brLight.GetSafeHandle();
    case IDC_CLEAR_ACCOUNT:
    case IDC_LABEL_ACCOUNT:
    case IDC_LABEL_PASSWORD:
    case IDC_LABEL_ID:
    case IDC_FORGOT:
    case IDC_REMEMBER:
    case IDC_AGREE:
    case IDC_FILLED_1076: pDC->SetBkMode(TRANSPARENT); return (HBRUSH)m_brGrey.GetSafeHandle();
    default: pDC->SetBkMode(TRANSPARENT); return hBrush;
    }
}

void CDlgLogon::OnLButtonDown(UINT nFlags, CPoint point)
{
    if (point.y < 90)
        PostMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(point.x, point.y));
    CDialog::OnLButtonDown(nFlags, point);
}
