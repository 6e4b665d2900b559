#include "CloseDlg.h"

#include "ClientDataCenter.h"
#include "GlobalOption.h"
#include "GlobalUnits.h"
#include "HallApp.h"
#include "WidgetDC.h"

namespace
{

const int kButtonIDs[3] = {IDC_CLOSE_QUIT, IDC_CLOSE_SWITCH, IDC_CLOSE_CANCEL};
const LPCSTR kButtonPictures[3] = {"btquit.png", "btswitch.png", "btcancel.png"};
const int kButtonX[3] = {11, 137, 263};
const int kCaptionHeight = 25;

} // namespace

BEGIN_MESSAGE_MAP(CCloseDlg, CRgnDialog)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_PAINT()
    ON_WM_CTLCOLOR()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_SETCURSOR()
END_MESSAGE_MAP()

CCloseDlg::CCloseDlg(CWnd* pParent)
    : CRgnDialog(IDD_CLOSE, pParent), m_rcBanner(1, 25, 387, 206), m_bBannerLink(false),
      m_EventBuilder(&m_WidgetManager)
{}

CCloseDlg::~CCloseDlg()
{
    m_WidgetManager.RemoveAllWidgets(false, false);
}

LRESULT CCloseDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    m_EventBuilder.BuildEvent(m_hWnd, message, wParam, lParam);
    return CRgnDialog::WindowProc(message, wParam, lParam);
}

int CCloseDlg::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CRgnDialog::OnCreate(lpCreateStruct) == -1)
        return -1;
    m_WidgetManager.SetParentHwnd(m_hWnd);
    for (int i = 0; i < 3; ++i) {
        m_Buttons[i].Create(kButtonIDs[i], this, "", BUTTON_STYLE_NORMAL);
        m_WidgetManager.AddWidget(&m_Buttons[i]);
    }
    MoveWindow(0, 0, 388, 270);
    return 0;
}

BOOL CCloseDlg::OnInitDialog()
{
    CRgnDialog::OnInitDialog();
    CString folder = CString(g_GlobalUnits.GetResourceDirectory()) + "Close\\";
    for (int i = 0; i < 3; ++i) {
        m_ButtonPictures[i].Load(folder + kButtonPictures[i]);
        m_Buttons[i].SetImageBack(&m_ButtonPictures[i]);
    }
    static const LPCSTR kSkin[] = {"closetl.bmp", "closetm.bmp", "closetr.bmp", "closebl.bmp",
                                   "closebm.bmp", "closebr.bmp", "closel.bmp",  "closer.bmp"};
    CSkinImage* slots[] = {&m_ImageTL, &m_ImageTM, &m_ImageTR, &m_ImageBL,
                           &m_ImageBM, &m_ImageBR, &m_ImageL,  &m_ImageR};
    for (int i = 0; i < 8; ++i)
        slots[i]->SetLoadInfo(folder + kSkin[i]);
    m_ImageBack.SetLoadInfo(folder + "closebk.bmp");
    InitSkinObject();
    ChooseBanner();
    CRect client;
    GetClientRect(&client);
    OnSize(SIZE_RESTORED, client.Width(), client.Height());
    return TRUE;
}

void CCloseDlg::ChooseBanner()
{
    const tagBannerConfig& banner = g_GlobalOption.GetCloseBanner();
    LONGLONG now = AfxGetCurrentTime().GetTime();
    m_bBannerLink = false;
    m_strBannerLink.Empty();
    m_Banner.Destroy();
    if (now > banner.tmBegin && now < banner.tmEnd && banner.szFileName[0] != 0 &&
        m_Banner.Load(CString(g_GlobalUnits.GetResourceDirectory()) + banner.szFileName) && m_Banner.IsValid()) {
        m_strBannerLink = banner.szUrl;
        m_bBannerLink = true;
        return;
    }
    m_Banner.Load(CString(g_GlobalUnits.GetResourceDirectory()) + "Close\\banner.png");
}

void CCloseDlg::OnSize(UINT nType, int cx, int cy)
{
    CRgnDialog::OnSize(nType, cx, cy);
    for (int i = 0; i < 3; ++i)
        m_Buttons[i].Move(kButtonX[i], cy - 48);
    if (m_hWnd != NULL)
        Invalidate(FALSE);
}

void CCloseDlg::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    CDC memDC;
    memDC.CreateCompatibleDC(&dc);
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(&dc, client.Width(), client.Height());
    CBitmap* old = memDC.SelectObject(&bitmap);
    DrawSkinView(&memDC, client.Width(), client.Height());
    CBrush frame(RGB(0, 0, 0));
    memDC.FrameRect(&m_rcBanner, &frame);
    if (m_Banner.IsValid())
        m_Banner.Draw(memDC.GetSafeHdc(), m_rcBanner.left + 1, m_rcBanner.top + 1, m_rcBanner.Width() - 2,
                      m_rcBanner.Height() - 2);
    CWidgetDC widgetDC(&memDC, client);
    m_WidgetManager.DrawWidgetsTo(&widgetDC);
    dc.BitBlt(0, 0, client.Width(), client.Height(), &memDC, 0, 0, SRCCOPY);
    memDC.SelectObject(old);
}

HBRUSH CCloseDlg::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    HBRUSH brush = CRgnDialog::OnCtlColor(pDC, pWnd, nCtlColor);
    if (pWnd != NULL && pWnd->GetDlgCtrlID() == -1)
        pDC->SetTextColor(RGB(0, 102, 151));
    return brush;
}

CRect CCloseDlg::GetBannerHotRect()
{
    CRect rect(0, 0, 0, 0);
    CWnd* pBanner = GetDlgItem(IDC_CLOSE_BANNER);
    if (pBanner != NULL) {
        pBanner->GetClientRect(&rect);
        rect.OffsetRect(0, kCaptionHeight);
    }
    return rect;
}

void CCloseDlg::OnLButtonDown(UINT nFlags, CPoint point)
{
    CRgnDialog::OnLButtonDown(nFlags, point);
    CRect close(0, 0, 0, 0);
    if (m_btClose.GetSafeHwnd() != NULL) {
        m_btClose.GetWindowRect(&close);
        ScreenToClient(&close);
    }
    if (point.y < kCaptionHeight && !close.PtInRect(point)) {
        SetFocus();
        PostMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(point.x, point.y));
    }
}

void CCloseDlg::OnLButtonUp(UINT nFlags, CPoint point)
{
    CRgnDialog::OnLButtonUp(nFlags, point);
    if (m_bBannerLink && GetBannerHotRect().PtInRect(point))
        OpenUrlInBrowser(m_strBannerLink, SW_SHOWNORMAL);
}

BOOL CCloseDlg::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    if (m_bBannerLink) {
        CPoint point;
        AfxGetCursorPos(&point);
        ScreenToClient(&point);
        if (GetBannerHotRect().PtInRect(point)) {
            ::SetCursor(::LoadCursor(AfxGetResourceHandle(), MAKEINTRESOURCE(IDC_HAND_CURSOR)));
            return TRUE;
        }
    }
    return CRgnDialog::OnSetCursor(pWnd, nHitTest, message);
}

void CCloseDlg::ButtonClick(int nID)
{
    CClientDataCenter* pDataCenter = CHallApp::GetClientDataCenter();
    switch (nID) {
    case IDC_CLOSE_QUIT:
        if (pDataCenter != NULL)
            pDataCenter->SendLogoff(false);
        EndDialog(kResultQuit);
        break;
    case IDC_CLOSE_SWITCH:
        // The frame saves the options, logs off and shows the logon once
        // this dialog and the close road are over.
        EndDialog(kResultSwitchAccount);
        break;
    case IDC_CLOSE_CANCEL: EndDialog(kResultStay); break;
    default: break;
    }
}
