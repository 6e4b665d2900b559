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

CComboboxExEx::CComboboxExEx() : m_nDropState(CSkinComboxEx::STATE_NORMAL), m_crBorder(RGB(46, 126, 163))
{
    m_ImageDrop.SetLoadInfo(IDB_COMBO_DROP, AfxGetResourceHandle());
}

void CComboboxExEx::OnMouseMove(UINT nFlags, CPoint point)
{
    SkinComboHover(this, m_nDropState, point);
    CComboBoxEx::OnMouseMove(nFlags, point);
}

void CComboboxExEx::OnLButtonDown(UINT nFlags, CPoint point)
{
    SkinComboPress(this, m_nDropState);
    CComboBoxEx::OnLButtonDown(nFlags, point);
}

void CComboboxExEx::OnLButtonUp(UINT nFlags, CPoint point)
{
    SkinComboPress(this, m_nDropState);
    CComboBoxEx::OnLButtonUp(nFlags, point);
}

void CComboboxExEx::OnMouseLeave()
{
    SkinComboLeave(this, m_nDropState);
    CComboBoxEx::OnMouseLeave();
}

void CComboboxExEx::OnPaint()
{
    PaintSkinCombo(this, m_ImageDrop, m_nDropState, m_crBorder);
    Default();
}

void CComboboxExEx::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    DrawSkinComboItemFrame(this, lpDrawItemStruct->hDC);
    CComboBoxEx::DrawItem(lpDrawItemStruct);
}
