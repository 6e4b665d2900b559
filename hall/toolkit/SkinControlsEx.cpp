#include "SkinControlsEx.h"

#include <ControlBorder.h>

BEGIN_MESSAGE_MAP(CSkinButtonEx, CSkinButton)
    ON_WM_MOUSEMOVE()
END_MESSAGE_MAP()

void CSkinButtonEx::OnMouseMove(UINT nFlags, CPoint point)
{
    CSkinButton::OnMouseMove(nFlags, point);
    SetFocus();
}

BEGIN_MESSAGE_MAP(CRgnButtonEx, CRgnButton)
    ON_WM_MOUSEMOVE()
END_MESSAGE_MAP()

void CRgnButtonEx::OnMouseMove(UINT nFlags, CPoint point)
{
    CRgnButton::OnMouseMove(nFlags, point);
    if (m_pFocusKeeper != NULL && ::IsWindow(m_pFocusKeeper->GetSafeHwnd()) && m_pFocusKeeper->IsWindowVisible())
        return;
    SetFocus();
}

BEGIN_MESSAGE_MAP(CSkinEditEx, CSkinEdit)
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

BOOL CSkinEditEx::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

BEGIN_MESSAGE_MAP(CEditWnd, CEdit)
    ON_WM_NCPAINT()
END_MESSAGE_MAP()

void CEditWnd::OnNcPaint()
{
    Default();
    DrawControlBorder(m_hWnd);
}
