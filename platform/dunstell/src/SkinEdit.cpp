#include "SkinEdit.h"
#include "SkinAttribute.h"

IMPLEMENT_DYNAMIC(CSkinEdit, CEdit)

BEGIN_MESSAGE_MAP(CSkinEdit, CEdit)
    ON_WM_NCPAINT()
END_MESSAGE_MAP()

CSkinEdit::CSkinEdit() {}

CSkinEdit::~CSkinEdit() {}

void CSkinEdit::OnNcPaint()
{
    Default();
    SkinFrameControlBorder(this);
}

void SkinFrameControlBorder(CWnd* pWnd)
{
    HWND hWnd = pWnd->GetSafeHwnd();
    if (hWnd == NULL)
        return;
    const DWORD dwStyle = pWnd->GetStyle(), dwExStyle = pWnd->GetExStyle();
    if (!(dwStyle & WS_BORDER) && !(dwExStyle & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE)))
        return;
    CRect rcWindow;
    pWnd->GetWindowRect(&rcWindow);
    rcWindow.OffsetRect(-rcWindow.left, -rcWindow.top);
    HDC hDC = ::GetWindowDC(hWnd);
    if (hDC == NULL)
        return;
    HBRUSH hBrush = ::CreateSolidBrush(CSkinAttribute::m_crBorder);
    ::FrameRect(hDC, &rcWindow, hBrush);
    ::DeleteObject(hBrush);
    ::ReleaseDC(hWnd, hDC);
}
