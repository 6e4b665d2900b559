#include "RegisterEdit.h"

void CRegisterEdit::DrawSkin(CDC* pDC)
{
    CRect rect;
    GetClientRect(&rect);
    rect.DeflateRect(1, 1);
    CBrush brush(REGISTER_FRAME_COLOR);
    pDC->FrameRect(&rect, &brush);
}

LRESULT CRegisterEdit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_NCPAINT: return 0; // no system border
    case WM_PAINT:
    case WM_PRINTCLIENT: {
        // The edit paints itself first; the frame goes over it.
        LRESULT lResult = CEdit::WindowProc(message, wParam, lParam);
        if (message == WM_PRINTCLIENT && wParam != 0) {
            DrawSkin(CDC::FromHandle((HDC)wParam));
        } else {
            CClientDC dc(this);
            DrawSkin(&dc);
        }
        return lResult;
    }
    default: return CEdit::WindowProc(message, wParam, lParam);
    }
}
