#include "WebDialogs.h"

#include "RecordCodec.h"
#include "core/GlobalUnits.h"
#include "res/resource.h"

#include <cstdlib>
#include <cstring>

namespace
{

const tagWebDialogInfo kGameMail = {"GameMailURL",          "mailurl", 470,  418, 6, 30, 458, 380,
                                    "Varnok游戏中心站内信", true,      false};
const tagWebDialogInfo kPromotion = {"HallNewUrl", "PromotionUrl", 560,   593, 6, 27, 548,
                                     555,          "推广赚金蛋",   false, true};
const tagWebDialogInfo kCardRecharge = {"CardRechargeURL",      "url", 462, 338, 6, 27, 450, 300,
                                        "Varnok游戏中心卡充值", true,  true};

const COLORREF kPageBack = RGB(213, 243, 249);

} // namespace

CString EncodeUrlValue(LPCSTR pszText)
{
    static const char kHex[] = "0123456789ABCDEF";
    CString strEncoded;
    for (const unsigned char* p = (const unsigned char*)(pszText != NULL ? pszText : ""); *p != 0; ++p) {
        unsigned char c = *p;
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || strchr("-_.~", c) != NULL) {
            strEncoded += (char)c;
        } else {
            strEncoded += '%';
            strEncoded += kHex[c >> 4];
            strEncoded += kHex[c & 15];
        }
    }
    return strEncoded;
}

CString PrepareWebDialogUrl(LPCSTR pszUrl, bool bPlaceholders, int nRandom)
{
    CString strUrl = pszUrl != NULL ? pszUrl : "";
    if (bPlaceholders) {
        const tagGlobalUserData* pUser = g_GlobalUnits.GetGlobalUserData();
        strUrl.Replace("<username>", EncodeUrlValue(FieldText(pUser->szAccount)));
        strUrl.Replace("<password>", FieldText(pUser->szPassword));
    }
    strUrl = g_GlobalUnits.AppendUserKey(strUrl);
    strUrl.AppendFormat(bPlaceholders ? "&&%d" : "&%d", nRandom);
    return strUrl;
}

// ------------------------------------------------------------------ CMailHtmlDlg

BEGIN_MESSAGE_MAP(CMailHtmlDlg, CDHtmlDialog)
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

BEGIN_DHTML_EVENT_MAP(CMailHtmlDlg)
DHTML_EVENT_ONCLICK("ButtonCancle", OnButtonCancel)
END_DHTML_EVENT_MAP()

CMailHtmlDlg::CMailHtmlDlg(IWebPageHost* pHost) : CDHtmlDialog(IDD_HTML_PAGE), m_pHost(pHost) {}

CMailHtmlDlg::~CMailHtmlDlg()
{
    if (GetSafeHwnd() != NULL)
        DestroyWindow();
}

BOOL CMailHtmlDlg::Create(CWnd* pParent)
{
    return CDHtmlDialog::Create(IDD_HTML_PAGE, pParent);
}

BOOL CMailHtmlDlg::OnInitDialog()
{
    CDHtmlDialog::OnInitDialog();
    // Script errors of a page raise no boxes.
    if (m_pBrowserApp != NULL)
        m_pBrowserApp->put_Silent(VARIANT_TRUE);
    return TRUE;
}

void CMailHtmlDlg::OnOK() {}

void CMailHtmlDlg::OnCancel() {}

void CMailHtmlDlg::OnNavigateComplete(LPDISPATCH pDisp, LPCTSTR szUrl)
{
    if (m_spHtmlDoc == NULL)
        CDHtmlDialog::OnNavigateComplete(pDisp, szUrl);
}

void CMailHtmlDlg::OnDocumentComplete(LPDISPATCH pDisp, LPCTSTR szUrl)
{
    if (!m_strURL.IsEmpty() && m_pHost != NULL)
        m_pHost->OnPageReady();
    CDHtmlDialog::OnDocumentComplete(pDisp, szUrl);
}

HRESULT CMailHtmlDlg::ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*)
{
    return S_OK;
}

HRESULT CMailHtmlDlg::TranslateAccelerator(LPMSG lpMsg, const GUID* pguidCmdGroup, DWORD nCmdID)
{
    // The user cannot reload the page.
    if (lpMsg != NULL && lpMsg->message == WM_KEYDOWN && lpMsg->wParam == VK_F5)
        return S_OK;
    return CDHtmlDialog::TranslateAccelerator(lpMsg, pguidCmdGroup, nCmdID);
}

BOOL CMailHtmlDlg::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

HRESULT CMailHtmlDlg::OnButtonCancel(IHTMLElement*)
{
    if (m_pHost != NULL)
        m_pHost->OnPageCancel();
    return S_OK;
}

// ------------------------------------------------------------------ CWebPageDialog

CWebPageDialog::CWebPageDialog(const tagWebDialogInfo& info, CWnd* pParent)
    : CRgnDialog(IDD_WEB_DIALOG, pParent), m_Info(info), m_Page(this)
{}

CWebPageDialog::~CWebPageDialog()
{
    if (GetSafeHwnd() != NULL)
        DestroyWindow();
}

BOOL CWebPageDialog::OnInitDialog()
{
    CRgnDialog::OnInitDialog();
    SetWindowPos(NULL, 0, 0, m_Info.nWidth, m_Info.nHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    CenterWindow();
    HICON hIcon = ::LoadIcon(AfxGetResourceHandle(), MAKEINTRESOURCE(IDI_HALL));
    if (hIcon != NULL)
        SetIcon(hIcon, TRUE);

    char szUrl[2048] = "";
    CString strIni = CString(g_GlobalUnits.GetWorkDirectory()) + "config\\Urls.ini";
    ::GetPrivateProfileString(m_Info.pszSection, m_Info.pszKey, "", szUrl, sizeof(szUrl), strIni);
    m_strURL = PrepareWebDialogUrl(szUrl, m_Info.bPlaceholders, rand() % 9999);
    SetWindowText(m_Info.pszCaption);

    static const char* const kPieces[] = {"tl", "tm", "tr", "l", "r", "bl", "bm", "br"};
    CString strFolder = CString(g_GlobalUnits.GetResourceDirectory()) + "addin\\GameMail\\";
    for (int i = 0; i < 8; ++i)
        GetSkinImage(SKIN_TL + i)->SetLoadInfo(strFolder + "gamemail_" + kPieces[i] + ".bmp");
    InitSkinObject();

    // The page learns its address and the animation runs before the page
    // navigates: a page may complete at once.
    if (m_Page.Create(this)) {
        m_Page.MoveWindow(m_Info.xPage, m_Info.yPage, m_Info.cxPage, m_Info.cyPage);
        m_Page.m_strURL = m_strURL;
        if (m_Loading.Create(this))
            m_Loading.ShowWindow(SW_SHOW);
        m_Page.Navigate(m_strURL);
    }
    return TRUE;
}

void CWebPageDialog::OnPageReady()
{
    if (m_Loading.GetSafeHwnd() != NULL)
        m_Loading.DestroyWindow();
    m_Page.ShowWindow(SW_SHOW);
}

void CWebPageDialog::OnPageCancel()
{
    OnCancel();
}

void CWebPageDialog::OnOK()
{
    // Enter in the page does not close the dialog.
}

void CWebPageDialog::DrawSkinView(CDC* pDC, int cx, int cy)
{
    CRgnDialog::DrawSkinView(pDC, cx, cy);
    if (m_Info.bPagePaint)
        pDC->FillSolidRect(m_Info.xPage, m_Info.yPage, m_Info.cxPage, m_Info.cyPage, kPageBack);
}

// ------------------------------------------------------------------ the three dialogs

CGameMail::CGameMail() : CWebPageDialog(kGameMail) {}

BOOL CGameMail::ShowMail(CWnd* pParent)
{
    if (GetSafeHwnd() == NULL) {
        if (!Create(IDD_WEB_DIALOG, pParent))
            return FALSE;
    } else if (!IsWindowVisible()) {
        if (m_Page.m_pBrowserApp != NULL)
            m_Page.m_pBrowserApp->Refresh();
        m_Page.Navigate(m_strURL);
    }
    ShowWindow(SW_SHOW);
    return TRUE;
}

CPromotionDlg::CPromotionDlg(CWnd* pParent) : CWebPageDialog(kPromotion, pParent) {}

CCardRecharge::CCardRecharge(CWnd* pParent) : CWebPageDialog(kCardRecharge, pParent) {}
