// The one-pixel border drawn around a control on its parent: a rectangle
// one pixel outside the control's window rectangle, in the border colour.
// Drawn after the control's own non-client painting.
#pragma once

#include <afxwin.h>

const COLORREF kControlBorderColour = RGB(0x01, 0x41, 0x4D);

// The control's window rectangle in its parent's client coordinates, grown
// by one pixel on each side; empty without a window or parent.
CRect ControlBorderRect(CWnd* pWnd);
// Outlines rc with a one-pixel pen of the border colour, nothing filled.
void DrawControlBorderRect(CDC* pDC, const CRect& rc);
// Both, on a DC of the parent window.
void DrawControlBorder(CWnd* pWnd);
