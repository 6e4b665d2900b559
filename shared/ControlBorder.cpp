#include "ControlBorder.h"

RECT ControlBorderRect(HWND hWnd)
{
    RECT rc = {0, 0, 0, 0};
    if (!::GetWindowRect(hWnd, &rc))
        return rc;
    HWND hParent = ::GetParent(hWnd);
    if (hParent != NULL)
        ::MapWindowPoints(NULL, hParent, (LPPOINT)&rc, 2);
    ::InflateRect(&rc, 1, 1);
    return rc;
}

void DrawControlBorder(HDC hdc, const RECT& rc)
{
    if (hdc == NULL)
        return;
    HPEN hPen = ::CreatePen(PS_SOLID, 0, CONTROL_BORDER_COLOUR);
    HGDIOBJ hOldPen = ::SelectObject(hdc, hPen);
    HGDIOBJ hOldBrush = ::SelectObject(hdc, ::GetStockObject(NULL_BRUSH));
    ::Rectangle(hdc, rc.left, rc.top, rc.right, rc.bottom);
    ::SelectObject(hdc, hOldBrush);
    ::SelectObject(hdc, hOldPen);
    ::DeleteObject(hPen);
}

void DrawControlBorder(HWND hWnd)
{
    HWND hParent = ::GetParent(hWnd);
    if (hParent == NULL)
        return;
    HDC hdc = ::GetDC(hParent);
    DrawControlBorder(hdc, ControlBorderRect(hWnd));
    ::ReleaseDC(hParent, hdc);
}
