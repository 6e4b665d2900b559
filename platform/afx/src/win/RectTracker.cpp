#include <afxext.h>

#include <stdlib.h>

#include <algorithm>

namespace
{

const int kDefaultHandleSize = 7;

// Which edges a handle moves: left, top, right, bottom.
struct HandleEdges
{
    bool bLeft, bTop, bRight, bBottom;
};
const HandleEdges kEdges[9] = {
    {true, true, false, false},  {false, true, true, false},  {false, false, true, true},
    {true, false, false, true},  {false, true, false, false}, {false, false, true, false},
    {false, false, false, true}, {true, false, false, false}, {true, true, true, true},
};

LPCTSTR CursorOf(int nHandle)
{
    switch (nHandle) {
    case CRectTracker::hitTopLeft:
    case CRectTracker::hitBottomRight: return IDC_SIZENWSE;
    case CRectTracker::hitTopRight:
    case CRectTracker::hitBottomLeft: return IDC_SIZENESW;
    case CRectTracker::hitTop:
    case CRectTracker::hitBottom: return IDC_SIZENS;
    case CRectTracker::hitLeft:
    case CRectTracker::hitRight: return IDC_SIZEWE;
    default: return IDC_SIZEALL;
    }
}

} // namespace

CRectTracker::CRectTracker()
    : m_nStyle(0), m_rect(0, 0, 0, 0), m_sizeMin(0, 0), m_nHandleSize(kDefaultHandleSize), m_bAllowInvert(FALSE),
      m_rectLast(0, 0, 0, 0)
{}

CRectTracker::CRectTracker(LPCRECT lpSrcRect, UINT nStyle)
    : m_nStyle(nStyle), m_rect(lpSrcRect), m_sizeMin(0, 0), m_nHandleSize(kDefaultHandleSize), m_bAllowInvert(FALSE),
      m_rectLast(0, 0, 0, 0)
{}

CRectTracker::~CRectTracker() {}

int CRectTracker::GetHandleSize(LPCRECT lpRect) const
{
    CRect rect(lpRect != NULL ? *lpRect : m_rect);
    rect.NormalizeRect();
    int nSize = m_nHandleSize;
    // Handles inside a small rectangle shrink so that they do not overlap.
    if (!(m_nStyle & resizeOutside)) {
        int nMax = std::min(rect.Width(), rect.Height()) / 2;
        if (nSize > nMax)
            nSize = std::max(nMax, 0);
    }
    return nSize;
}

UINT CRectTracker::GetHandleMask() const
{
    UINT mask = 0x0F; // the corners
    CRect rect(m_rect);
    rect.NormalizeRect();
    int nSize = m_nHandleSize * 3;
    if (rect.Width() > nSize)
        mask |= (1u << hitTop) | (1u << hitBottom);
    if (rect.Height() > nSize)
        mask |= (1u << hitLeft) | (1u << hitRight);
    return mask;
}

void CRectTracker::GetTrueRect(LPRECT lpTrueRect) const
{
    CRect rect(m_rect);
    rect.NormalizeRect();
    if (m_nStyle & resizeOutside) {
        int nSize = GetHandleSize();
        rect.InflateRect(nSize, nSize);
    }
    *lpTrueRect = rect;
}

void CRectTracker::GetHandleRect(int nHandle, CRect* pHandleRect) const
{
    CRect rect(m_rect);
    rect.NormalizeRect();
    int nSize = GetHandleSize();
    if (m_nStyle & resizeOutside)
        rect.InflateRect(nSize - 1, nSize - 1);
    int nWidth = rect.Width(), nHeight = rect.Height();
    int x = 0, y = 0;
    switch (nHandle) {
    case hitTopLeft:
        x = rect.left;
        y = rect.top;
        break;
    case hitTopRight:
        x = rect.right - nSize;
        y = rect.top;
        break;
    case hitBottomRight:
        x = rect.right - nSize;
        y = rect.bottom - nSize;
        break;
    case hitBottomLeft:
        x = rect.left;
        y = rect.bottom - nSize;
        break;
    case hitTop:
        x = rect.left + (nWidth - nSize) / 2;
        y = rect.top;
        break;
    case hitRight:
        x = rect.right - nSize;
        y = rect.top + (nHeight - nSize) / 2;
        break;
    case hitBottom:
        x = rect.left + (nWidth - nSize) / 2;
        y = rect.bottom - nSize;
        break;
    case hitLeft:
        x = rect.left;
        y = rect.top + (nHeight - nSize) / 2;
        break;
    default: break;
    }
    pHandleRect->SetRect(x, y, x + nSize, y + nSize);
}

int CRectTracker::HitTest(CPoint point) const
{
    if (m_nStyle & (resizeInside | resizeOutside)) {
        UINT mask = GetHandleMask();
        for (int i = 0; i < 8; ++i) {
            if (!(mask & (1u << i)))
                continue;
            CRect handle;
            GetHandleRect(i, &handle);
            if (handle.PtInRect(point))
                return i;
        }
    }
    CRect rect;
    GetTrueRect(&rect);
    return rect.PtInRect(point) ? int(hitMiddle) : int(hitNothing);
}

int CRectTracker::NormalizeHit(int nHandle) const
{
    if (nHandle < 0 || nHandle == hitMiddle)
        return nHandle;
    HandleEdges edges = kEdges[nHandle];
    if (m_rect.right < m_rect.left)
        std::swap(edges.bLeft, edges.bRight);
    if (m_rect.bottom < m_rect.top)
        std::swap(edges.bTop, edges.bBottom);
    for (int i = 0; i < 8; ++i)
        if (kEdges[i].bLeft == edges.bLeft && kEdges[i].bTop == edges.bTop && kEdges[i].bRight == edges.bRight &&
            kEdges[i].bBottom == edges.bBottom)
            return i;
    return nHandle;
}

void CRectTracker::Draw(CDC* pDC) const
{
    CRect rect(m_rect);
    rect.NormalizeRect();
    if (m_nStyle & (solidLine | dottedLine)) {
        CPen pen(m_nStyle & dottedLine ? PS_DOT : PS_SOLID, 0, RGB(0, 0, 0));
        CPen* pOldPen = pDC->SelectObject(&pen);
        CGdiObject* pOldBrush = pDC->SelectStockObject(NULL_BRUSH);
        int nOldRop = pDC->SetROP2(R2_COPYPEN);
        pDC->Rectangle(rect.left, rect.top, rect.right, rect.bottom);
        pDC->SetROP2(nOldRop);
        pDC->SelectObject(pOldBrush);
        pDC->SelectObject(pOldPen);
    }
    if (m_nStyle & (resizeInside | resizeOutside)) {
        UINT mask = GetHandleMask();
        for (int i = 0; i < 8; ++i) {
            if (!(mask & (1u << i)))
                continue;
            CRect handle;
            GetHandleRect(i, &handle);
            pDC->FillSolidRect(&handle, RGB(0, 0, 0));
        }
    }
}

BOOL CRectTracker::SetCursor(CWnd* pWnd, UINT nHitTest) const
{
    if (nHitTest != HTCLIENT)
        return FALSE;
    CPoint point;
    AfxGetCursorPos(&point);
    pWnd->ScreenToClient(&point);
    int nHandle = NormalizeHit(HitTest(point));
    if (nHandle < 0)
        return FALSE;
    ::SetCursor(::LoadCursor(NULL, CursorOf(nHandle)));
    return TRUE;
}

void CRectTracker::DrawTrackerRect(LPCRECT lpRect, CWnd* pWndClipTo, CDC* pDC, CWnd* pWnd)
{
    CRect rect(lpRect);
    rect.NormalizeRect();
    if (pWndClipTo != NULL && pWndClipTo != pWnd) {
        pWnd->ClientToScreen(&rect);
        pWndClipTo->ScreenToClient(&rect);
    }
    // Drawn twice in the same place it vanishes: the loop erases with it.
    pDC->DrawFocusRect(&rect);
}

void CRectTracker::AdjustRect(int, LPRECT) {}

void CRectTracker::OnChangedRect(const CRect&) {}

BOOL CRectTracker::Track(CWnd* pWnd, CPoint point, BOOL bAllowInvert, CWnd* pWndClipTo)
{
    int nHandle = HitTest(point);
    if (nHandle < 0 || pWnd == NULL || pWnd->GetSafeHwnd() == NULL)
        return FALSE;
    nHandle = NormalizeHit(nHandle);
    m_bAllowInvert = bAllowInvert;
    const CRect rectSave(m_rect);
    CRect start(m_rect);
    start.NormalizeRect();
    const HandleEdges edges = kEdges[nHandle];

    pWnd->SetCapture();
    CWnd* pDrawWnd = pWndClipTo != NULL ? pWndClipTo : pWnd;
    CClientDC dc(pDrawWnd);
    bool bDrawn = false;
    bool bDone = false;
    bool bKept = false;
    while (!bDone) {
        MSG msg;
        if (!::GetMessage(&msg, NULL, 0, 0)) {
            ::PostQuitMessage(int(msg.wParam));
            break;
        }
        if (CWnd::GetCapture() != pWnd)
            break;
        switch (msg.message) {
        case WM_MOUSEMOVE:
        case WM_LBUTTONUP: {
            CPoint pt(short(LOWORD(msg.lParam)), short(HIWORD(msg.lParam)));
            if (msg.hwnd != pWnd->m_hWnd)
                ::MapWindowPoints(msg.hwnd, pWnd->m_hWnd, &pt, 1);
            int dx = pt.x - point.x, dy = pt.y - point.y;
            CRect rect(start);
            if (edges.bLeft)
                rect.left += dx;
            if (edges.bTop)
                rect.top += dy;
            if (edges.bRight)
                rect.right += dx;
            if (edges.bBottom)
                rect.bottom += dy;
            if (nHandle != hitMiddle) {
                if (!m_bAllowInvert) {
                    if (rect.right < rect.left) {
                        if (edges.bLeft)
                            rect.left = rect.right;
                        else
                            rect.right = rect.left;
                    }
                    if (rect.bottom < rect.top) {
                        if (edges.bTop)
                            rect.top = rect.bottom;
                        else
                            rect.bottom = rect.top;
                    }
                }
                // The size never falls below the minimum: the moved edge stops.
                if (abs(rect.Width()) < m_sizeMin.cx) {
                    int nSign = rect.Width() < 0 ? -1 : 1;
                    if (edges.bLeft)
                        rect.left = rect.right - nSign * m_sizeMin.cx;
                    else
                        rect.right = rect.left + nSign * m_sizeMin.cx;
                }
                if (abs(rect.Height()) < m_sizeMin.cy) {
                    int nSign = rect.Height() < 0 ? -1 : 1;
                    if (edges.bTop)
                        rect.top = rect.bottom - nSign * m_sizeMin.cy;
                    else
                        rect.bottom = rect.top + nSign * m_sizeMin.cy;
                }
            }
            AdjustRect(nHandle, &rect);
            if (bDrawn)
                DrawTrackerRect(&m_rectLast, pWndClipTo, &dc, pWnd);
            CRect rectOld(m_rect);
            m_rect = rect;
            if (rectOld != m_rect)
                OnChangedRect(rectOld);
            if (msg.message == WM_LBUTTONUP) {
                bDrawn = false;
                bKept = true;
                bDone = true;
            } else {
                m_rectLast = m_rect;
                DrawTrackerRect(&m_rectLast, pWndClipTo, &dc, pWnd);
                bDrawn = true;
            }
            break;
        }
        case WM_KEYDOWN:
            if (msg.wParam == VK_ESCAPE)
                bDone = true;
            break;
        case WM_RBUTTONDOWN: bDone = true; break;
        default: ::DispatchMessage(&msg); break;
        }
    }
    if (bDrawn)
        DrawTrackerRect(&m_rectLast, pWndClipTo, &dc, pWnd);
    if (CWnd::GetCapture() == pWnd)
        ::ReleaseCapture();
    if (!bKept) {
        CRect rectOld(m_rect);
        m_rect = rectSave;
        if (rectOld != m_rect)
            OnChangedRect(rectOld);
        return FALSE;
    }
    return TRUE;
}
