#include "InputerDlg.h"

#include "SkinDraw.h"
#include "res/resource.h"

BEGIN_MESSAGE_MAP(CInputerDlg, CDialog)
    ON_WM_NCHITTEST()
    ON_WM_SIZE()
    ON_WM_PAINT()
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

CInputerDlg::CInputerDlg(CWnd* pParent) : CDialog(IDD_INPUTER, pParent)
{
    m_ImageBack.SetLoadInfo(IDB_INPUTER_BACK, AfxGetResourceHandle());
}

void CInputerDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_INPUTER_PROMPT, m_Prompt);
    DDX_Control(pDX, IDOK, m_btOK);
    DDX_Control(pDX, IDCANCEL, m_btCancel);
    DDX_Control(pDX, IDC_INPUTER_VALUE, m_Value);
    DDX_Text(pDX, IDC_INPUTER_VALUE, m_strValue);
}

BOOL CInputerDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (!m_strPrompt.IsEmpty())
        m_Prompt.SetWindowText(m_strPrompt);
    HINSTANCE hResource = AfxGetResourceHandle();
    m_btOK.LoadRgnImage(hResource, IDB_INPUTER_BUTTON, RGB(255, 0, 255));
    m_btCancel.LoadRgnImage(hResource, IDB_INPUTER_BUTTON, RGB(255, 0, 255));
    return TRUE;
}

void CInputerDlg::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    // An empty value leaves the prompt open, without a word.
    if (m_strValue.IsEmpty())
        return;
    EndDialog(IDOK);
}

LRESULT CInputerDlg::OnNcHitTest(CPoint)
{
    return HTCAPTION;
}

void CInputerDlg::OnSize(UINT nType, int cx, int cy)
{
    CDialog::OnSize(nType, cx, cy);
    CRgn region;
    region.CreateRoundRectRgn(0, 0, cx + 1, cy + 1, 4, 4);
    SetWindowRgn(HRGN(region.Detach()), TRUE);
}

void CInputerDlg::OnPaint()
{
    CPaintDC dc(this);
    CRect rcClient;
    GetClientRect(&rcClient);
    DrawSkinFrame(&dc, rcClient, m_ImageBack);
}

HBRUSH CInputerDlg::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    if (pWnd != NULL && pWnd->GetDlgCtrlID() == IDC_INPUTER_PROMPT) {
        pDC->SetBkMode(TRANSPARENT);
        pDC->SetTextColor(RGB(17, 82, 129));
        return HBRUSH(::GetStockObject(NULL_BRUSH));
    }
    return CDialog::OnCtlColor(pDC, pWnd, nCtlColor);
}
