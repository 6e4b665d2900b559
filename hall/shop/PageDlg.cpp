#include "PageDlg.h"

#include "GlobalUnits.h"
#include "resource.h"

BEGIN_MESSAGE_MAP(CPageDlgEdit, CEdit)
    ON_WM_CHAR()
    ON_WM_NCPAINT()
    ON_WM_PAINT()
END_MESSAGE_MAP()

void CPageDlgEdit::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if ((nChar >= '0' && nChar <= '9') || nChar == VK_BACK)
        Default();
}

void CPageDlgEdit::OnNcPaint()
{
    // No border of its own: the frame is drawn inside.
}

void CPageDlgEdit::OnPaint()
{
    {
        CClientDC dc(this);
        CRect rc;
        GetWindowRect(&rc);
        ScreenToClient(&rc);
        rc.DeflateRect(1, 1);
        CBrush grey(RGB(183, 183, 183));
        dc.FrameRect(&rc, &grey);
    }
    Default();
}

BEGIN_MESSAGE_MAP(CPageDlg, CDialog)
    ON_WM_CTLCOLOR()
    ON_WM_PAINT()
END_MESSAGE_MAP()

CPageDlg::CPageDlg(int nKind, LPCSTR pszConfirmCaption, LPCSTR pszTabCaption)
    : CDialog(IDD_BANK_PAGE), m_nKind(nKind), m_strConfirmCaption(pszConfirmCaption), m_strTabCaption(pszTabCaption)
{
    GetWhiteBrush();
    CString folder = CString(g_GlobalUnits.GetResourceDirectory()) + "gameroom\\BankerStorage\\";
    m_Radio.Load(folder + "radio.bmp");
    m_Unradio.Load(folder + "unradio.bmp");
}

CPageDlg::~CPageDlg()
{
    if (m_hWnd != NULL && ::IsWindow(m_hWnd))
        DestroyWindow();
}

HBRUSH CPageDlg::GetWhiteBrush()
{
    // Kept for the life of the program, as every page shares it.
    static HBRUSH s_hWhite = ::CreateSolidBrush(RGB(255, 255, 255));
    return s_hWhite;
}

UINT CPageDlg::AmountFieldId(int nKind)
{
    switch (nKind) {
    case PAGE_KIND_DEPOSIT: return 1248;
    case PAGE_KIND_EGGS_TO_BEANS: return 1102;
    default: return 1245;
    }
}

BOOL CPageDlg::CreatePage(CWnd* pParent)
{
    return Create(IDD_BANK_PAGE, pParent);
}

BOOL CPageDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    // The template holds all three fields; the page keeps the one of its kind.
    static const UINT kFields[] = {1248, 1245, 1102};
    const UINT nField = AmountFieldId(m_nKind);
    for (UINT nID : kFields) {
        CWnd* pField = GetDlgItem(nID);
        if (pField != NULL && nID != nField)
            pField->DestroyWindow();
    }
    m_AmountField.SubclassDlgItem(nField, this);
    // Deposit and eggs-to-beans pages show quick amounts 1091-1094, the
    // others 1095-1098.
    const bool bFirstSet = m_nKind == PAGE_KIND_DEPOSIT || m_nKind == PAGE_KIND_EGGS_TO_BEANS;
    for (UINT nID = 1091; nID <= 1098; nID++) {
        CWnd* pQuick = GetDlgItem(nID);
        if (pQuick != NULL)
            pQuick->ShowWindow((nID <= 1094) == bFirstSet ? SW_SHOW : SW_HIDE);
    }
    if (m_nKind == PAGE_KIND_DEPOSIT || m_nKind == PAGE_KIND_WITHDRAW) {
        // The "all" box of the other safe-box page goes: 1249 is the
        // deposit page's, 1247 the withdraw page's.
        CWnd* pOther = GetDlgItem(m_nKind == PAGE_KIND_DEPOSIT ? 1247 : 1249);
        if (pOther != NULL)
            pOther->DestroyWindow();
    } else {
        for (UINT nID : {1247u, 1249u}) {
            CWnd* pAll = GetDlgItem(nID);
            if (pAll != NULL)
                pAll->DestroyWindow();
        }
    }
    return TRUE;
}

void CPageDlg::OnOK()
{
    CWnd* pParent = GetParent();
    if (pParent != NULL)
        pParent->PostMessage(WM_COMMAND, IDOK);
}

void CPageDlg::OnCancel()
{
    CWnd* pParent = GetParent();
    if (pParent != NULL)
        pParent->PostMessage(WM_COMMAND, IDCANCEL);
}

BOOL CPageDlg::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    CWnd* pParent = GetParent();
    if (pParent != NULL && pParent->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return CDialog::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

HBRUSH CPageDlg::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    UINT nID = pWnd != NULL ? (UINT)pWnd->GetDlgCtrlID() : 0;
    if (nCtlColor == CTLCOLOR_DLG || nCtlColor == CTLCOLOR_STATIC) {
        pDC->SetBkMode(TRANSPARENT);
        pDC->SetBkColor(RGB(255, 255, 255));
        pDC->SetTextColor(RGB(0, 0, 0));
        if (nID == 1079)
            pDC->SetTextColor(RGB(0, 128, 134));
        else if (nID == 1243 || nID == 1244)
            pDC->SetTextColor(RGB(255, 0, 0));
        return GetWhiteBrush();
    }
    return (HBRUSH)Default();
}

void CPageDlg::OnPaint()
{
    CPaintDC dc(this);
    CRect rc;
    GetClientRect(&rc);
    dc.FillSolidRect(&rc, RGB(255, 255, 255));
    CBrush white(RGB(255, 255, 255));
    dc.FrameRect(&rc, &white);
}
