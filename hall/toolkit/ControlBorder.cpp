#include "ControlBorder.h"

CRect ControlBorderRect(CWnd* pWnd)
{
    HWND hWnd = pWnd != NULL ? pWnd->GetSafeHwnd() : NULL;
    HWND hParent = hWnd != NULL ? ::GetParent(hWnd) : NULL;
    if (hParent == NULL)
        return CRect(0, 0, 0, 0);
    CRect rc;
    ::GetWindowRect(hWnd, &rc);
    ::MapWindowPoints(NULL, hParent, (LPPOINT)&rc, 2);
    rc.InflateRect(1, 1);
    return rc;
}

void DrawControlBorderRect(CDC* pDC, const CRect& rc)
{
    CPen pen(PS_SOLID, 0, kControlBorderColour);
    CPen* pOldPen = pDC->SelectObject(&pen);
    CGdiObject* pOldBrush = pDC->SelectStockObject(NULL_BRUSH);
    pDC->Rectangle(&rc);
    pDC->SelectObject(pOldBrush);
    pDC->SelectObject(pOldPen);
}

void DrawControlBorder(CWnd* pWnd)
{
    CRect rc = ControlBorderRect(pWnd);
    if (rc.IsRectEmpty())
        return;
    CWnd* pParent = pWnd->GetParent();
    CDC* pDC = pParent->GetDC();
    if (pDC == NULL)
        return;
    DrawControlBorderRect(pDC, rc);
    pParent->ReleaseDC(pDC);
}
