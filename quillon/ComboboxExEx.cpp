#include "ComboboxExEx.h"

#include "SkinComboxEx.h"
#include "res/resource.h"

BEGIN_MESSAGE_MAP(CComboboxExEx, CComboBoxEx)
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_MOUSELEAVE()
    ON_WM_PAINT()
END_MESSAGE_MAP()

CComboboxExEx::CComboboxExEx() : m_nDropState(0), m_crBorder(RGB(46, 126, 163))
{
    m_ImageDrop.SetLoadInfo(IDB_COMBO_DROP, AfxGetResourceHandle());
}

void CComboboxExEx::OnMouseMove(UINT nFlags, CPoint point)
{
    CRect rcDrop = SkinComboDropRect(this);
    if (rcDrop.PtInRect(point)) {
        m_nDropState = 1;
        InvalidateRect(&rcDrop, FALSE);
    }
    TRACKMOUSEEVENT track = {sizeof(track), TME_HOVER | TME_LEAVE, m_hWnd, 1};
    ::_TrackMouseEvent(&track);
    CComboBoxEx::OnMouseMove(nFlags, point);
}

void CComboboxExEx::OnLButtonDown(UINT nFlags, CPoint point)
{
    m_nDropState = 2;
    Invalidate(FALSE);
    CComboBoxEx::OnLButtonDown(nFlags, point);
}

void CComboboxExEx::OnLButtonUp(UINT nFlags, CPoint point)
{
    m_nDropState = 2;
    Invalidate(FALSE);
    CComboBoxEx::OnLButtonUp(nFlags, point);
}

void CComboboxExEx::OnMouseLeave()
{
    m_nDropState = 0;
    CRect rcDrop = SkinComboDropRect(this);
    InvalidateRect(&rcDrop, FALSE);
    CComboBoxEx::OnMouseLeave();
}

void CComboboxExEx::OnPaint()
{
    PaintSkinCombo(this, m_ImageDrop, m_nDropState, m_crBorder);
    Default();
}

void CComboboxExEx::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    CRect rcWindow;
    GetWindowRect(&rcWindow);
    rcWindow.OffsetRect(-rcWindow.left, -rcWindow.top);
    rcWindow.DeflateRect(1, 1);
    CDC::FromHandle(lpDrawItemStruct->hDC)->Draw3dRect(&rcWindow, RGB(255, 0, 0), RGB(255, 0, 0));
    CComboBoxEx::DrawItem(lpDrawItemStruct);
}
