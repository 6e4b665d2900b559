#include "SkinWnd.h"
#include "SkinAttribute.h"

IMPLEMENT_DYNAMIC(CSkinWnd, CWnd)

BEGIN_MESSAGE_MAP(CSkinWnd, CWnd)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_SIZE()
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

CSkinWnd::CSkinWnd() : CSkinWndObject(this) {}

CSkinWnd::~CSkinWnd() {}

void CSkinWnd::DrawSkinView(CDC* pDC, int cx, int cy)
{
    CSkinWndObject::DrawSkinView(pDC, cx, cy);
}

void CSkinWnd::OnPaint()
{
    CPaintDC dc(this);
    CRect rcClient;
    GetClientRect(&rcClient);
    if (rcClient.IsRectEmpty())
        return;
    CDC dcMem;
    CBitmap bmMem;
    if (!dcMem.CreateCompatibleDC(&dc) || !bmMem.CreateCompatibleBitmap(&dc, rcClient.Width(), rcClient.Height())) {
        DrawSkinView(&dc, rcClient.Width(), rcClient.Height());
        return;
    }
    CBitmap* pOld = dcMem.SelectObject(&bmMem);
    dcMem.SelectObject(CSkinAttribute::GetDefaultFont());
    DrawSkinView(&dcMem, rcClient.Width(), rcClient.Height());
    dc.BitBlt(0, 0, rcClient.Width(), rcClient.Height(), &dcMem, 0, 0, SRCCOPY);
    dcMem.SelectObject(pOld);
}

BOOL CSkinWnd::OnEraseBkgnd(CDC* pDC)
{
    return TRUE;
}

void CSkinWnd::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    Invalidate(FALSE);
}

HBRUSH CSkinWnd::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    switch (nCtlColor) {
    case CTLCOLOR_STATIC:
    case CTLCOLOR_BTN:
        pDC->SetBkMode(TRANSPARENT);
        pDC->SetTextColor(CSkinAttribute::m_crText);
        return (HBRUSH)::GetStockObject(NULL_BRUSH);
    case CTLCOLOR_DLG: return (HBRUSH)CSkinAttribute::GetBackgroundBrush()->GetSafeHandle();
    default: return CWnd::OnCtlColor(pDC, pWnd, nCtlColor);
    }
}
