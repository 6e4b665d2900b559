#include "RectTrackerEx.h"

CRectTrackerEx::CRectTrackerEx() : m_sizeMax(0, 0), m_rectBound(0, 0, 0, 0) {}

CRectTrackerEx::~CRectTrackerEx() {}

void CRectTrackerEx::DrawTrackerRect(LPCRECT lpRect, CWnd* pWndClipTo, CDC* pDC, CWnd* pWnd)
{
    CRectTracker::DrawTrackerRect(lpRect, pWndClipTo, pDC, pWnd);
}

void CRectTrackerEx::AdjustRect(int nHandle, LPRECT lpRect)
{
    CRectTracker::AdjustRect(nHandle, lpRect);
    if (m_sizeMax.cx == 0 || m_sizeMax.cy == 0)
        return;
    const bool bMovesLeft = nHandle == hitTopLeft || nHandle == hitBottomLeft || nHandle == hitLeft;
    const bool bMovesTop = nHandle == hitTopLeft || nHandle == hitTopRight || nHandle == hitTop;
    if (lpRect->right - lpRect->left > m_sizeMax.cx) {
        if (bMovesLeft)
            lpRect->left = lpRect->right - m_sizeMax.cx;
        else
            lpRect->right = lpRect->left + m_sizeMax.cx;
    }
    if (lpRect->bottom - lpRect->top > m_sizeMax.cy) {
        if (bMovesTop)
            lpRect->top = lpRect->bottom - m_sizeMax.cy;
        else
            lpRect->bottom = lpRect->top + m_sizeMax.cy;
    }
}

void CRectTrackerEx::OnChangedRect(const CRect&) {}

UINT CRectTrackerEx::GetHandleMask() const
{
    return CRectTracker::GetHandleMask();
}

int CRectTrackerEx::GetHandleSize(LPCRECT lpRect) const
{
    return CRectTracker::GetHandleSize(lpRect);
}
