#include "RegisterDlg.h"

#include <MD5Encrypt.h>
#include <SkinMessageBox.h>
#include <XTVBufferDC.h>

#include <algorithm>
#include <stdlib.h>
#include <string.h>

#include "ClientDataCenter.h"
#include "CreateValidateCode.h"
#include "GlobalUnits.h"
#include "HallProtocol.h"
#include "TextUnit.h"

namespace
{

const COLORREF kFormBack = RGB(242, 250, 255);
const COLORREF kLabelText = RGB(1, 75, 124);
const char kTitle[] = "游戏提示";

// The generator every form shares, made on first use.
CCreateValidateCode& SharedCodeMaker()
{
    static CCreateValidateCode maker;
    return maker;
}

// Controls the form disables while a registration is out.
const UINT kInputIds[] = {CRegisterDlg::IDC_ACCOUNT,        CRegisterDlg::IDC_NICKNAME,    CRegisterDlg::IDC_PASSWORD,
                          CRegisterDlg::IDC_PASSWORD_AGAIN, CRegisterDlg::IDC_EMAIL,       CRegisterDlg::IDC_ID_CARD,
                          CRegisterDlg::IDC_CODE,           CRegisterDlg::IDC_MALE,        CRegisterDlg::IDC_FEMALE,
                          CRegisterDlg::IDC_CHECK_ACCOUNT,  CRegisterDlg::IDC_CHECK_EMAIL, IDOK};

} // namespace

BEGIN_MESSAGE_MAP(CRegisterButton, CPPButton)
    ON_WM_MOUSEMOVE()
END_MESSAGE_MAP()

void CRegisterButton::OnMouseMove(UINT nFlags, CPoint point)
{
    // Unlike the plain picture button, the pointer does not take the focus.
    if (!m_bHover) {
        m_bHover = TRUE;
        Invalidate(FALSE);
        TRACKMOUSEEVENT tme = {sizeof(tme), TME_LEAVE, m_hWnd, HOVER_DEFAULT};
        ::TrackMouseEvent(&tme);
    }
    CButton::OnMouseMove(nFlags, point);
}

BEGIN_MESSAGE_MAP(CRegisterDlg, CRgnDialog)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_CTLCOLOR()
    ON_BN_CLICKED(IDC_CHECK_EMAIL, OnCheckEmail)
    ON_BN_CLICKED(IDC_CHECK_ACCOUNT, OnCheckAccount)
    ON_MESSAGE(WM_HALL_NOTIFY, OnHallNotify)
    ON_BN_CLICKED(IDC_MALE, OnMale)
    ON_BN_CLICKED(IDC_FEMALE, OnFemale)
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_BN_CLICKED(IDC_CLOSE, OnClose)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CRegisterDlg::CRegisterDlg(CWnd* pParent)
    : CRgnDialog(IDD, pParent), m_dwGender(0), m_pCodeMaker(NULL), m_bBusy(false), m_pDataCenter(NULL)
{
    m_brBack.CreateSolidBrush(kFormBack);
}

CRegisterDlg::~CRegisterDlg() {}

UINT CRegisterDlg::CheckAccount(LPCSTR pszAccount)
{
    if (pszAccount == NULL || pszAccount[0] == '\0')
        return 13000;
    size_t nLength = strlen(pszAccount);
    if (nLength < 4 || nLength >= 20)
        return 13001;
    for (size_t i = 0; i < nLength; i++) {
        if ((BYTE)pszAccount[i] >= 128)
            return 13001;
    }
    // The first character only, between "A" and "z" (the underscore lies there).
    if (pszAccount[0] < 'A' || pszAccount[0] > 'z')
        return 13001;
    return 0;
}

UINT CRegisterDlg::CheckEmail(LPCSTR pszEmail)
{
    if (pszEmail == NULL || pszEmail[0] == '\0')
        return 13008;
    size_t nLength = strlen(pszEmail);
    const char* pAt = strchr(pszEmail, '@');
    if (pAt == NULL || pAt == pszEmail || pAt == pszEmail + nLength - 1 || nLength < 3)
        return 13012;
    return 0;
}

UINT CRegisterDlg::CheckIdCard(LPCSTR pszIdCard)
{
    if (pszIdCard == NULL || pszIdCard[0] == '\0')
        return 13009;
    size_t nLength = strlen(pszIdCard);
    if (nLength != 15 && nLength != 18)
        return 13010;
    for (size_t i = 0; i + 1 < nLength; i++) {
        if (pszIdCard[i] < '0' || pszIdCard[i] > '9')
            return 13010;
    }
    return 0;
}

BOOL CRegisterDlg::OnInitDialog()
{
    CRgnDialog::OnInitDialog();
    CString strFolder = CString(g_GlobalUnits.GetResourceDirectory()) + "Register\\";
    m_strPictureFile = strFolder + "code.bmp";
    static const LPCSTR kFrame[FRAME_COUNT] = {"top_l.bmp",    "top_m.bmp",    "top_r.bmp", "bottom_l.bmp",
                                               "bottom_m.bmp", "bottom_r.bmp", "left.bmp",  "right.bmp"};
    for (int i = 0; i < FRAME_COUNT; i++) {
        m_Frame[i].SetLoadInfo(strFolder + kFrame[i]);
        m_Frame[i].LoadImage();
    }
    for (int i = 0; i < 7; i++) {
        static const UINT kEditIds[] = {IDC_ACCOUNT, IDC_NICKNAME, IDC_PASSWORD, IDC_PASSWORD_AGAIN,
                                        IDC_EMAIL,   IDC_ID_CARD,  IDC_CODE};
        m_Edits[i].SubclassDlgItem(kEditIds[i], this);
    }
    m_btOK.SubclassDlgItem(IDOK, this);
    m_btCancel.SubclassDlgItem(IDCANCEL, this);
    m_rdMale.SubclassDlgItem(IDC_MALE, this);
    m_rdFemale.SubclassDlgItem(IDC_FEMALE, this);
    m_btCheckAccount.SubclassDlgItem(IDC_CHECK_ACCOUNT, this);
    m_btCheckEmail.SubclassDlgItem(IDC_CHECK_EMAIL, this);
    m_btCloseForm.SubclassDlgItem(IDC_CLOSE, this);
    m_btCheckAccount.LoadImage(strFolder + "CheckAccount.png");
    m_btCheckEmail.LoadImage(strFolder + "CheckEmail.png");
    m_RadioImages[0].SetLoadInfo(strFolder + "radio1.bmp");
    m_RadioImages[1].SetLoadInfo(strFolder + "radio2.bmp");
    m_RadioImages[0].LoadImage();
    m_RadioImages[1].LoadImage();
    CString strClose = CString(g_GlobalUnits.GetResourceDirectory()) + "Common\\button\\tbclose.bmp";
    if (::GetFileAttributesA(strClose) != INVALID_FILE_ATTRIBUTES)
        m_btCloseForm.LoadRgnImage(strClose, RGB(255, 0, 255));
    m_TitleFont.CreateFont(12, 0, 0, 0, 700, 0, 0, 0, GB2312_CHARSET, 0, 0, 0, 0, "宋体");

    CRect rcClient;
    GetClientRect(&rcClient);
    m_rcCode.SetRect(rcClient.right - 123, rcClient.bottom - 89, rcClient.right - 30, rcClient.bottom - 66);

    m_pCodeMaker = &SharedCodeMaker();
    NewValidateCode();

    m_rdMale.SetCheck(BST_CHECKED);
    m_rdFemale.SetCheck(BST_UNCHECKED);
    if (m_pDataCenter != NULL) {
        m_pDataCenter->AddNotifyWindow(HN_REGISTER_RESULT, m_hWnd);
        m_pDataCenter->AddNotifyWindow(HN_ACCOUNT_CHECK, m_hWnd);
        m_pDataCenter->AddNotifyWindow(HN_EMAIL_CHECK, m_hWnd);
    }
    return TRUE;
}

void CRegisterDlg::NewValidateCode()
{
    srand(AfxGetTickCount());
    m_strCode.Format("%d%d%d%d", rand() % 10, rand() % 10, rand() % 10, rand() % 10);
    if (m_pCodeMaker == NULL)
        m_pCodeMaker = &SharedCodeMaker();
    // A read-only program folder: the picture goes to the temporary folder.
    if (!m_pCodeMaker->MakePicture(this, m_strPictureFile, m_strCode)) {
        char szTemp[MAX_PATH] = "";
        ::GetTempPathA(MAX_PATH, szTemp);
        m_strPictureFile = CString(szTemp) + "code.bmp";
        if (!m_pCodeMaker->MakePicture(this, m_strPictureFile, m_strCode))
            m_strPictureFile.Empty();
    }
    m_CodePicture.DestroyImage();
    if (!m_strPictureFile.IsEmpty()) {
        m_CodePicture.SetLoadInfo(m_strPictureFile);
        m_CodePicture.LoadImage();
    }
    if (m_hWnd != NULL)
        InvalidateRect(&m_rcCode, FALSE);
}

void CRegisterDlg::InputError(UINT nStringID, UINT nFocusID, bool bNewCode)
{
    ShowWindow(SW_SHOW);
    BringWindowToTop();
    SkinMessageBox(m_hWnd, g_GlobalUnits.LoadResString(nStringID), kTitle, MB_ICONQUESTION);
    if (CWnd* pFocus = GetDlgItem(nFocusID))
        pFocus->SetFocus();
    if (bNewCode) {
        NewValidateCode();
        SetDlgItemText(IDC_PASSWORD, "");
        SetDlgItemText(IDC_PASSWORD_AGAIN, "");
    }
}

void CRegisterDlg::EnableInput(bool bEnable)
{
    for (UINT nID : kInputIds) {
        if (CWnd* pWnd = GetDlgItem(nID))
            pWnd->EnableWindow(bEnable);
    }
}

void CRegisterDlg::OnOK()
{
    CString strAccount, strNickName, strPassword, strAgain, strEmail, strIdCard, strCode;
    GetDlgItemText(IDC_ACCOUNT, strAccount);
    strAccount.Trim();
    UINT nError = CheckAccount(strAccount);
    if (nError != 0)
        return InputError(nError, IDC_ACCOUNT, true);
    GetDlgItemText(IDC_NICKNAME, strNickName);
    strNickName.Trim();
    if (strNickName.IsEmpty())
        return InputError(13002, IDC_NICKNAME, true);
    if (strNickName.GetLength() >= 15)
        return InputError(13003, IDC_NICKNAME, true);
    GetDlgItemText(IDC_PASSWORD, strPassword);
    if (strPassword.IsEmpty())
        return InputError(13004, IDC_PASSWORD, true);
    if (strPassword.GetLength() < 8 || strPassword.GetLength() > 15)
        return InputError(13005, IDC_PASSWORD, true);
    GetDlgItemText(IDC_PASSWORD_AGAIN, strAgain);
    if (strAgain.IsEmpty())
        return InputError(13006, IDC_PASSWORD_AGAIN, true);
    if (strAgain != strPassword)
        return InputError(13007, IDC_PASSWORD_AGAIN, true);
    GetDlgItemText(IDC_EMAIL, strEmail);
    nError = CheckEmail(strEmail);
    if (nError != 0)
        return InputError(nError, IDC_EMAIL, true);
    GetDlgItemText(IDC_ID_CARD, strIdCard);
    nError = CheckIdCard(strIdCard);
    if (nError != 0)
        return InputError(nError, IDC_ID_CARD, true);
    if (m_rdMale.GetCheck() == BST_CHECKED)
        m_dwGender = 1;
    else if (m_rdFemale.GetCheck() == BST_CHECKED)
        m_dwGender = 2;
    GetDlgItemText(IDC_CODE, strCode);
    if (strCode != m_strCode)
        return InputError(13011, IDC_CODE, true);

    m_strAccount = strAccount;
    m_strNickName = strNickName;
    m_strPassword = strPassword;
    m_strEmail = strEmail;
    m_strIdCard = strIdCard;
    EnableInput(false);
    m_bBusy = true;
    if (m_pDataCenter == NULL || !m_pDataCenter->SendRegister(m_strAccount, m_strPassword, m_strNickName,
                                                              (BYTE)m_dwGender, m_strEmail, m_strIdCard)) {
        // Nothing went out: nothing will answer.
        m_bBusy = false;
        EnableInput(true);
        AfxMessageBox("注册请求发送失败，请稍后再试！", MB_OK);
    }
}

void CRegisterDlg::OnCheckAccount()
{
    CString strAccount;
    GetDlgItemText(IDC_ACCOUNT, strAccount);
    strAccount.Trim();
    UINT nError = CheckAccount(strAccount);
    if (nError != 0)
        return InputError(nError, IDC_ACCOUNT, false);
    if (m_pDataCenter != NULL && m_pDataCenter->CheckAccountName(strAccount))
        m_btCheckAccount.EnableWindow(FALSE);
}

void CRegisterDlg::OnCheckEmail()
{
    CString strEmail;
    GetDlgItemText(IDC_EMAIL, strEmail);
    UINT nError = CheckEmail(strEmail);
    if (nError != 0)
        return InputError(nError, IDC_EMAIL, false);
    if (m_pDataCenter != NULL && m_pDataCenter->CheckEmailAddress(strEmail))
        m_btCheckEmail.EnableWindow(FALSE);
}

LRESULT CRegisterDlg::OnHallNotify(WPARAM wParam, LPARAM lParam)
{
    const tagNotifyHead* pHead = (const tagNotifyHead*)wParam;
    if (pHead == NULL || pHead->wMainCmdID != HN_REGISTER_RESULT.wMainCmdID)
        return 0;
    if (pHead->wSubCmdID == HN_REGISTER_RESULT.wSubCmdID) {
        LONG lResult = (LONG)lParam;
        if (lResult == 0) {
            tagGlobalUserData* pUser = g_GlobalUnits.GetGlobalUserData();
            CMD5Encrypt::EncryptData((LPCSTR)m_strPassword, pUser->szPassword);
            m_bBusy = false;
            EndDialog(IDOK);
            return 0;
        }
        // Any refusal leaves the form usable again.
        m_bBusy = false;
        EnableInput(true);
        if (lResult == 2)
            AfxMessageBox("帐号已被注册！", MB_OK);
        else if (lResult == 3)
            AfxMessageBox("邮箱已被使用！", MB_OK);
        else
            AfxMessageBox("注册失败，请稍后再试！", MB_OK);
    } else if (pHead->wSubCmdID == HN_ACCOUNT_CHECK.wSubCmdID) {
        m_btCheckAccount.EnableWindow(TRUE);
        AfxMessageBox(lParam != 0 ? "帐号已被注册！" : "帐号未被注册！", MB_OK);
    } else if (pHead->wSubCmdID == HN_EMAIL_CHECK.wSubCmdID) {
        m_btCheckEmail.EnableWindow(TRUE);
        AfxMessageBox(lParam == 0 ? "邮箱可以使用！" : "邮箱已被使用！", MB_OK);
    }
    return 0;
}

void CRegisterDlg::OnMale()
{
    m_rdMale.SetCheck(BST_CHECKED);
    m_rdFemale.SetCheck(BST_UNCHECKED);
}

void CRegisterDlg::OnFemale()
{
    m_rdFemale.SetCheck(BST_CHECKED);
    m_rdMale.SetCheck(BST_UNCHECKED);
}

void CRegisterDlg::OnLButtonDown(UINT nFlags, CPoint point)
{
    if (!m_bBusy && m_rcCode.PtInRect(point)) {
        NewValidateCode();
        return;
    }
    CRgnDialog::OnLButtonDown(nFlags, point);
}

void CRegisterDlg::OnMouseMove(UINT nFlags, CPoint point)
{
    if (!m_bBusy && m_rcCode.PtInRect(point)) {
        if (HCURSOR hHand = ::LoadCursor(AfxGetResourceHandle(), MAKEINTRESOURCE(135)))
            ::SetCursor(hHand);
    }
    CRgnDialog::OnMouseMove(nFlags, point);
}

void CRegisterDlg::OnClose()
{
    OnCancel();
}

void CRegisterDlg::OnCancel()
{
    CRgnDialog::OnCancel();
}

void CRegisterDlg::Unregister()
{
    if (m_pDataCenter == NULL || m_hWnd == NULL)
        return;
    m_pDataCenter->RemoveNotifyWindow(HN_REGISTER_RESULT, m_hWnd);
    m_pDataCenter->RemoveNotifyWindow(HN_ACCOUNT_CHECK, m_hWnd);
    m_pDataCenter->RemoveNotifyWindow(HN_EMAIL_CHECK, m_hWnd);
}

void CRegisterDlg::OnDestroy()
{
    // Before the handle can be reused by another window.
    Unregister();
    CRgnDialog::OnDestroy();
}

void CRegisterDlg::OnPaint()
{
    CPaintDC dc(this);
    CRect rcClient;
    GetClientRect(&rcClient);
    CXTVBufferDC buffer(&dc, rcClient);
    HDC hDC = buffer.GetSafeHdc();
    buffer.FillSolidRect(&rcClient, kFormBack);
    auto width = [this](int i) { return m_Frame[i].IsNull() ? 0 : m_Frame[i].GetWidth(); };
    auto height = [this](int i) { return m_Frame[i].IsNull() ? 0 : m_Frame[i].GetHeight(); };
    int nTop = std::max(height(FRAME_TL), height(FRAME_TR));
    int nBottom = std::max(height(FRAME_BL), height(FRAME_BR));
    if (!m_Frame[FRAME_L].IsNull())
        m_Frame[FRAME_L].StretchBlt(hDC, CRect(0, nTop, width(FRAME_L), rcClient.bottom - nBottom));
    if (!m_Frame[FRAME_R].IsNull())
        m_Frame[FRAME_R].StretchBlt(
            hDC, CRect(rcClient.right - width(FRAME_R), nTop, rcClient.right, rcClient.bottom - nBottom));
    if (!m_Frame[FRAME_TM].IsNull())
        m_Frame[FRAME_TM].StretchBlt(hDC,
                                     CRect(width(FRAME_TL), 0, rcClient.right - width(FRAME_TR), height(FRAME_TM)));
    if (!m_Frame[FRAME_BM].IsNull())
        m_Frame[FRAME_BM].StretchBlt(hDC, CRect(width(FRAME_BL), rcClient.bottom - height(FRAME_BM),
                                                rcClient.right - width(FRAME_BR), rcClient.bottom));
    if (!m_Frame[FRAME_TL].IsNull())
        m_Frame[FRAME_TL].BitBlt(hDC, 0, 0);
    if (!m_Frame[FRAME_TR].IsNull())
        m_Frame[FRAME_TR].BitBlt(hDC, rcClient.right - width(FRAME_TR), 0);
    if (!m_Frame[FRAME_BL].IsNull())
        m_Frame[FRAME_BL].BitBlt(hDC, 0, rcClient.bottom - height(FRAME_BL));
    if (!m_Frame[FRAME_BR].IsNull())
        m_Frame[FRAME_BR].BitBlt(hDC, rcClient.right - width(FRAME_BR), rcClient.bottom - height(FRAME_BR));
    if (!m_CodePicture.IsNull())
        m_CodePicture.StretchBlt(hDC, m_rcCode);
}

BOOL CRegisterDlg::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

HBRUSH CRegisterDlg::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    HBRUSH hBrush = CRgnDialog::OnCtlColor(pDC, pWnd, nCtlColor);
    if (nCtlColor != CTLCOLOR_STATIC || pWnd == NULL)
        return hBrush;
    int nID = pWnd->GetDlgCtrlID();
    if (nID == IDC_NOTE) {
        pDC->SetBkMode(TRANSPARENT);
        pDC->SetTextColor(RGB(255, 0, 0));
        return (HBRUSH)m_brBack.GetSafeHandle();
    }
    if (nID == IDC_TITLE) {
        pDC->SetBkMode(TRANSPARENT);
        pDC->SetTextColor(kLabelText);
        pDC->SelectObject(&m_TitleFont);
        return (HBRUSH)m_brBack.GetSafeHandle();
    }
    if (nID == -1 || nID == 0xFFFF || nID == 0) {
        pDC->SetBkMode(TRANSPARENT);
        pDC->SetTextColor(kLabelText);
        return (HBRUSH)m_brBack.GetSafeHandle();
    }
    return hBrush;
}

// ---- the registration page ------------------------------------------------------------

CRegisterWebDlg::CRegisterWebDlg(CWnd* pParent) : CRgnDialog(IDD, pParent) {}

CString CRegisterWebDlg::ReadPageUrl()
{
    CString strIni = CString(g_GlobalUnits.GetWorkDirectory()) + "config\\Urls.ini";
    char szUrl[1024] = "";
    ::GetPrivateProfileStringA("RegisterHelp", "dlgurl", "", szUrl, sizeof(szUrl), strIni);
    CString strUrl = szUrl;
    g_GlobalUnits.ReplaceUrlPlaceholders(strUrl);
    return strUrl;
}

BOOL CRegisterWebDlg::OnInitDialog()
{
    CRgnDialog::OnInitDialog();
    SetWindowPos(NULL, 0, 0, 551, 493, SWP_NOMOVE | SWP_NOZORDER);
    CenterWindow();
    HICON hIcon = ::LoadIcon(AfxGetResourceHandle(), MAKEINTRESOURCE(128));
    if (hIcon != NULL) {
        SetIcon(hIcon, TRUE);
        SetIcon(hIcon, FALSE);
    }
    m_strUrl = ReadPageUrl();
    SetWindowText("Varnok游戏中心玩家注册");
    m_Browser.SetHostFlags(12);
    if (m_Browser.CreateFromStatic(IDC_PAGE_PLACE, this)) {
        m_Browser.MoveWindow(2, 24, 551, 469);
        m_Browser.Navigate2(m_strUrl);
    }
    return FALSE;
}
