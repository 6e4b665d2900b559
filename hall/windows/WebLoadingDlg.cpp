#include "WebLoadingDlg.h"

#include "core/GlobalUnits.h"

#include "res/resource.h"

BEGIN_MESSAGE_MAP(CWebLoadingDlg, CDialog)
    ON_WM_TIMER()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CWebLoadingDlg::CWebLoadingDlg() : CDialog(IDD_HTML_PAGE), m_nFrame(-1) {}

CWebLoadingDlg::~CWebLoadingDlg()
{
    if (GetSafeHwnd() != NULL)
        DestroyWindow();
}

BOOL CWebLoadingDlg::Create(CWnd* pOwner)
{
    return CDialog::Create(IDD_HTML_PAGE, pOwner);
}

CString CWebLoadingDlg::PicturePath() const
{
    return CString(g_GlobalUnits.GetResourceDirectory()) + "loading_ani.gif";
}

BOOL CWebLoadingDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    // Without the picture the dialog keeps its template size and shows nothing.
    if (m_Picture.Load(PicturePath(), PICTURE_TYPE_UNKNOWN) && m_Picture.IsValid()) {
        SetWindowPos(NULL, 0, 0, (int)m_Picture.GetWidth(), (int)m_Picture.GetHeight(), SWP_NOZORDER | SWP_NOACTIVATE);
        CenterWindow();
        SetTimer(kTimerFrame, kFrameInterval, NULL);
    }
    return TRUE;
}

void CWebLoadingDlg::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != kTimerFrame) {
        CDialog::OnTimer(nIDEvent);
        return;
    }
    // Frames 0 and 1 take turns.
    m_nFrame = m_nFrame < 1 ? m_nFrame + 1 : 0;
    m_Picture.SetFrame(m_nFrame);
    m_Picture.Load(PicturePath(), PICTURE_TYPE_UNKNOWN);
    Invalidate(FALSE);
}

void CWebLoadingDlg::OnPaint()
{
    CPaintDC dc(this);
    if (!m_Picture.IsValid())
        return;
    CRect rc;
    GetClientRect(&rc);
    const int x = (rc.Width() - (int)m_Picture.GetWidth()) / 2, y = (rc.Height() - (int)m_Picture.GetHeight()) / 2;
    m_Picture.Draw(dc.GetSafeHdc(), x, y);
}

BOOL CWebLoadingDlg::OnEraseBkgnd(CDC*)
{
    return TRUE;
}
