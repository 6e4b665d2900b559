#include "RgnDialog.h"
#include "SkinAttribute.h"
#include "SkinRegion.h"

#include <TopDownDib.h>

IMPLEMENT_DYNAMIC(CSkinCloseButton, CSkinButton)
IMPLEMENT_DYNAMIC(CRgnDialog, CSkinDialog)

BEGIN_MESSAGE_MAP(CSkinCloseButton, CSkinButton)
    ON_CONTROL_REFLECT_EX(BN_CLICKED, OnClicked)
END_MESSAGE_MAP()

BOOL CSkinCloseButton::OnClicked()
{
    CWnd* pParent = GetParent();
    if (pParent != NULL)
        pParent->PostMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
    return TRUE;
}

BEGIN_MESSAGE_MAP(CRgnDialog, CSkinDialog)
    ON_WM_SIZE()
    ON_WM_NCHITTEST()
END_MESSAGE_MAP()

namespace
{
const COLORREF kDialogTolerance = RGB(0x10, 0x10, 0x10);
const int kCloseRight = 6; // gap between the close button and the right edge
const int kCloseTop = 4;
const int kCaptionLeft = 10;
} // namespace

CRgnDialog::CRgnDialog() : m_crTrans(RGB(255, 0, 255)), m_bSkinFrame(FALSE) {}

CRgnDialog::CRgnDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : CSkinDialog(nIDTemplate, pParentWnd), m_crTrans(RGB(255, 0, 255)), m_bSkinFrame(FALSE)
{}

CRgnDialog::CRgnDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd)
    : CSkinDialog(lpszTemplateName, pParentWnd), m_crTrans(RGB(255, 0, 255)), m_bSkinFrame(FALSE)
{}

CRgnDialog::~CRgnDialog() {}

BOOL CRgnDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    CRgnDialog::InitSkinObject();
    return TRUE;
}

void CRgnDialog::InitSkinObject()
{
    CSkinWndObject::InitSkinObject();
    if (GetSafeHwnd() == NULL)
        return;
    if (!m_bSkinFrame && HasSkinPictures()) {
        m_bSkinFrame = TRUE;
        ModifyStyle(WS_CAPTION | WS_THICKFRAME, 0, 0);
        ModifyStyleEx(WS_EX_DLGMODALFRAME | WS_EX_CLIENTEDGE | WS_EX_WINDOWEDGE | WS_EX_STATICEDGE, 0, 0);
        SetWindowPos(NULL, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
    if (m_bSkinFrame && !m_ImageClose.IsNull()) {
        if (m_btClose.GetSafeHwnd() == NULL)
            m_btClose.Create("", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, CRect(0, 0, 0, 0), this, IDC_SKIN_CLOSE);
        if (!m_ImageClose.GetLoadFileName().IsEmpty())
            m_btClose.SetButtonImage(m_ImageClose.GetLoadFileName());
        else
            m_btClose.SetButtonImage(m_ImageClose.GetLoadResourceID(), m_ImageClose.GetLoadResourceInstance());
    }
    LayoutCloseButton();
    UpdateSkinRgn();
    Invalidate(TRUE);
}

void CRgnDialog::LayoutCloseButton()
{
    if (m_btClose.GetSafeHwnd() == NULL)
        return;
    CRect rcClient;
    GetClientRect(&rcClient);
    const int cx = m_ImageClose.GetWidth() / 4, cy = m_ImageClose.GetHeight();
    m_btClose.SetWindowPos(&wndTop, rcClient.right - cx - kCloseRight, kCloseTop, cx, cy, SWP_NOACTIVATE);
}

void CRgnDialog::UpdateSkinRgn()
{
    if (!m_bSkinFrame || GetSafeHwnd() == NULL)
        return;
    CRect rcClient;
    GetClientRect(&rcClient);
    const int cx = rcClient.Width(), cy = rcClient.Height();
    if (cx <= 0 || cy <= 0)
        return;

    void* pBits = NULL;
    HBITMAP hBitmap = CreateTopDownDib(NULL, cx, cy, &pBits);
    CDC dcMem;
    if (hBitmap == NULL || !dcMem.CreateCompatibleDC(NULL)) {
        if (hBitmap != NULL)
            ::DeleteObject(hBitmap);
        return;
    }
    HGDIOBJ hOld = dcMem.SelectObject(hBitmap);
    DrawSkinView(&dcMem, cx, cy);
    ::GdiFlush();
    HRGN hRgn = SkinRegionFromPixels((const DWORD*)pBits, cx, cx, cy, m_crTrans, kDialogTolerance);
    dcMem.SelectObject(hOld);
    ::DeleteObject(hBitmap);

    // Regions are in window coordinates.
    CPoint ptClient(0, 0);
    ClientToScreen(&ptClient);
    CRect rcWindow;
    GetWindowRect(&rcWindow);
    if (hRgn != NULL)
        ::OffsetRgn(hRgn, ptClient.x - rcWindow.left, ptClient.y - rcWindow.top);
    if (SetWindowRgn(hRgn, TRUE) == 0 && hRgn != NULL)
        ::DeleteObject(hRgn);
}

void CRgnDialog::DrawSkinCaption(CDC* pDC)
{
    const int nCaption = GetSkinCaptionHeight();
    if (!m_bSkinFrame || nCaption <= 0)
        return;
    CString strCaption;
    GetWindowText(strCaption);
    if (strCaption.IsEmpty())
        return;
    CRect rcClient;
    GetClientRect(&rcClient);
    CRect rcCaption(kCaptionLeft, 0, rcClient.right - kCaptionLeft, nCaption);
    int nMode = pDC->SetBkMode(TRANSPARENT);
    COLORREF crOld = pDC->SetTextColor(CSkinAttribute::m_crCaption);
    CFont* pOld = pDC->SelectObject(CSkinAttribute::GetDefaultFont());
    pDC->DrawText(strCaption, &rcCaption, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
    pDC->SelectObject(pOld);
    pDC->SetTextColor(crOld);
    pDC->SetBkMode(nMode);
}

void CRgnDialog::OnSize(UINT nType, int cx, int cy)
{
    CSkinDialog::OnSize(nType, cx, cy);
    LayoutCloseButton();
    UpdateSkinRgn();
}

LRESULT CRgnDialog::OnNcHitTest(CPoint point)
{
    LRESULT nHit = CSkinDialog::OnNcHitTest(point);
    if (nHit == HTCLIENT && m_bSkinFrame) {
        CPoint ptClient(point);
        ScreenToClient(&ptClient);
        if (ptClient.y < GetSkinCaptionHeight())
            return HTCAPTION;
    }
    return nHit;
}
