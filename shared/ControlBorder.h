// The one-pixel frame some controls carry around them: drawn on the
// parent, one pixel outside the control's window rectangle.
#pragma once

#include <windows.h>

const COLORREF CONTROL_BORDER_COLOUR = RGB(0x01, 0x41, 0x4D);

// The rectangle outlined: the window rectangle in the parent's client
// coordinates, grown by one pixel on each side.
RECT ControlBorderRect(HWND hWnd);
// Outlines rc on hdc with a one-pixel pen and no fill; the DC's pen and
// brush are restored.
void DrawControlBorder(HDC hdc, const RECT& rc);
// On the parent's DC, after the control's own non-client painting.
void DrawControlBorder(HWND hWnd);
