#include "GameStatusDlg.h"

#include "BitmapRegion.h"
#include "GlobalUnits.h"

#include <XTVBufferDC.h>

IMPLEMENT_DYNAMIC(CGameStatusDlg, CDialog)

BEGIN_MESSAGE_MAP(CGameStatusDlg, CDialog)
    ON_WM_PAINT()
    ON_WM_TIMER()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

namespace
{
const char kStatusText[] = "游戏正在启动";
}

CGameStatusDlg::CGameStatusDlg() : CDialog(IDD), m_nDots(0), m_rcText(0, 0, 0, 0), m_strStatus(kStatusText) {}

CGameStatusDlg::~CGameStatusDlg()
{
    if (m_Picture.IsValid())
        m_Picture.Destroy();
}

HWND CGameStatusDlg::ShowStatus()
{
    if (m_hWnd != NULL && ::IsWindow(m_hWnd))
        return m_hWnd;
    DoModal();
    return NULL;
}

void CGameStatusDlg::CloseStatus()
{
    if (m_hWnd == NULL)
        return;
    KillTimer(kTimerDots);
    CDialog::OnCancel();
}

CRect CGameStatusDlg::TextRectFor(int cxPicture, int cyPicture)
{
    // Signed: a picture narrower than the box puts the box left of the
    // picture's edge, not far off to the right.
    CRect rc;
    rc.left = (cxPicture - kTextWidth) / 2;
    rc.top = (cyPicture - kTextHeight) * 2 / 3;
    rc.right = rc.left + kTextWidth;
    rc.bottom = rc.top + kTextHeight;
    rc.OffsetRect(100, 5);
    return rc;
}

BOOL CGameStatusDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_nDots = 0;
    m_strStatus = kStatusText;

    CString strFile = g_GlobalUnits.GetResourceDirectory();
    if (!strFile.IsEmpty() && strFile[strFile.GetLength() - 1] != '\\')
        strFile += '\\';
    strFile += "Addin\\GameStatus\\gamestatus.png";
    m_Picture.Load(strFile, PICTURE_TYPE_UNKNOWN);
    if (!m_Picture.IsValid())
        return FALSE;

    ApplyPictureRgn(&m_Picture, m_hWnd);
    CenterWindow();
    m_rcText = TextRectFor((int)m_Picture.GetWidth(), (int)m_Picture.GetHeight());
    SetTimer(kTimerDots, kDotInterval, NULL);
    return TRUE;
}

void CGameStatusDlg::OnTimer(UINT_PTR)
{
    m_nDots = m_nDots < kMaxDots ? m_nDots + 1 : 0;
    m_strStatus = kStatusText;
    for (int i = 0; i < m_nDots; ++i)
        m_strStatus += '.';
    Invalidate(TRUE);
}

BOOL CGameStatusDlg::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CGameStatusDlg::OnPaint()
{
    CPaintDC dcPaint(this);
    CRect rcClient;
    GetClientRect(&rcClient);
    CXTVBufferDC dc(&dcPaint, rcClient);
    if (m_Picture.IsValid())
        m_Picture.Draw(dc.GetSafeHdc(), 0, 0, rcClient.Width(), rcClient.Height());
    CFont* pFont = g_GlobalUnits.GetFont();
    HGDIOBJ hOldFont = pFont->GetSafeHandle() != NULL ? ::SelectObject(dc.GetSafeHdc(), pFont->GetSafeHandle()) : NULL;
    int nOldMode = dc.SetBkMode(TRANSPARENT);
    CRect rcText(m_rcText);
    dc.DrawText(m_strStatus, &rcText, DT_VCENTER);
    dc.SetBkMode(nOldMode);
    if (hOldFont != NULL)
        ::SelectObject(dc.GetSafeHdc(), hOldFont);
}
