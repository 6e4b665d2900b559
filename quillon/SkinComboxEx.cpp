#include "SkinComboxEx.h"

#include "res/resource.h"

CRect SkinComboDropRect(CWnd* pCombo)
{
    CRect rcClient;
    pCombo->GetClientRect(&rcClient);
    return CRect(rcClient.right - 20, rcClient.top + 2, rcClient.right - 2, rcClient.bottom - 2);
}

void PaintSkinCombo(CWnd* pCombo, CSkinImage& image, int nState, COLORREF crBorder)
{
    CRect rcClient;
    pCombo->GetClientRect(&rcClient);
    {
        CClientDC dc(pCombo);
        CRect rcFrame(rcClient);
        rcFrame.DeflateRect(1, 1);
        dc.Draw3dRect(&rcFrame, crBorder, crBorder);
        if (image.LoadImage()) {
            int nFrameWidth = image.GetWidth() / 4;
            image.StretchBlt(dc.GetSafeHdc(), rcClient.right - nFrameWidth - 1, rcClient.top + 1, nFrameWidth,
                             rcClient.Height() - 2, nState * nFrameWidth, 0, nFrameWidth, image.GetHeight());
        }
    }
    CRect rcInner(rcClient);
    rcInner.DeflateRect(2, 2);
    rcInner.right = SkinComboDropRect(pCombo).left;
    pCombo->InvalidateRect(&rcInner, FALSE);
}

BEGIN_MESSAGE_MAP(CSkinComboxEx, CSkinCombox)
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_MOUSELEAVE()
    ON_WM_PAINT()
END_MESSAGE_MAP()

CSkinComboxEx::CSkinComboxEx() : m_nDropState(STATE_NORMAL), m_crBorder(RGB(46, 126, 163))
{
    m_ImageDrop.SetLoadInfo(IDB_COMBO_DROP, AfxGetResourceHandle());
}

void CSkinComboxEx::OnMouseMove(UINT nFlags, CPoint point)
{
    CRect rcDrop = SkinComboDropRect(this);
    if (rcDrop.PtInRect(point)) {
        m_nDropState = STATE_HOT;
        InvalidateRect(&rcDrop, FALSE);
    }
    TRACKMOUSEEVENT track = {sizeof(track), TME_HOVER | TME_LEAVE, m_hWnd, 1};
    ::_TrackMouseEvent(&track);
    CSkinCombox::OnMouseMove(nFlags, point);
}

void CSkinComboxEx::OnLButtonDown(UINT nFlags, CPoint point)
{
    m_nDropState = STATE_PRESSED;
    Invalidate(FALSE);
    CSkinCombox::OnLButtonDown(nFlags, point);
}

void CSkinComboxEx::OnLButtonUp(UINT nFlags, CPoint point)
{
    m_nDropState = STATE_PRESSED;
    Invalidate(FALSE);
    CSkinCombox::OnLButtonUp(nFlags, point);
}

void CSkinComboxEx::OnMouseLeave()
{
    m_nDropState = STATE_NORMAL;
    CRect rcDrop = SkinComboDropRect(this);
    InvalidateRect(&rcDrop, FALSE);
    CSkinCombox::OnMouseLeave();
}

void CSkinComboxEx::OnPaint()
{
    PaintSkinCombo(this, m_ImageDrop, m_nDropState, m_crBorder);
    Default();
}

void CSkinComboxEx::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    CRect rcWindow;
    GetWindowRect(&rcWindow);
    rcWindow.OffsetRect(-rcWindow.left, -rcWindow.top);
    rcWindow.DeflateRect(1, 1);
    CDC* pDC = CDC::FromHandle(lpDrawItemStruct->hDC);
    pDC->Draw3dRect(&rcWindow, RGB(255, 0, 0), RGB(255, 0, 0));
    CSkinCombox::DrawItem(lpDrawItemStruct);
}
