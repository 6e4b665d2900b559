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

void SkinComboHover(CWnd* pCombo, int& nState, CPoint point)
{
    CRect rcDrop = SkinComboDropRect(pCombo);
    if (rcDrop.PtInRect(point)) {
        nState = CSkinComboxEx::STATE_HOT;
        pCombo->InvalidateRect(&rcDrop, FALSE);
    }
    TRACKMOUSEEVENT track = {sizeof(track), TME_HOVER | TME_LEAVE, pCombo->GetSafeHwnd(), 1};
    ::_TrackMouseEvent(&track);
}

void SkinComboPress(CWnd* pCombo, int& nState)
{
    nState = CSkinComboxEx::STATE_PRESSED;
    pCombo->Invalidate(FALSE);
}

void SkinComboLeave(CWnd* pCombo, int& nState)
{
    nState = CSkinComboxEx::STATE_NORMAL;
    CRect rcDrop = SkinComboDropRect(pCombo);
    pCombo->InvalidateRect(&rcDrop, FALSE);
}

void DrawSkinComboItemFrame(CWnd* pCombo, HDC hDC)
{
    CRect rcWindow;
    pCombo->GetWindowRect(&rcWindow);
    rcWindow.OffsetRect(-rcWindow.left, -rcWindow.top);
    rcWindow.DeflateRect(1, 1);
    CDC::FromHandle(hDC)->Draw3dRect(&rcWindow, RGB(255, 0, 0), RGB(255, 0, 0));
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
    SkinComboHover(this, m_nDropState, point);
    CSkinCombox::OnMouseMove(nFlags, point);
}

void CSkinComboxEx::OnLButtonDown(UINT nFlags, CPoint point)
{
    SkinComboPress(this, m_nDropState);
    CSkinCombox::OnLButtonDown(nFlags, point);
}

void CSkinComboxEx::OnLButtonUp(UINT nFlags, CPoint point)
{
    SkinComboPress(this, m_nDropState);
    CSkinCombox::OnLButtonUp(nFlags, point);
}

void CSkinComboxEx::OnMouseLeave()
{
    SkinComboLeave(this, m_nDropState);
    CSkinCombox::OnMouseLeave();
}

void CSkinComboxEx::OnPaint()
{
    PaintSkinCombo(this, m_ImageDrop, m_nDropState, m_crBorder);
    Default();
}

void CSkinComboxEx::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    DrawSkinComboItemFrame(this, lpDrawItemStruct->hDC);
    CSkinCombox::DrawItem(lpDrawItemStruct);
}
