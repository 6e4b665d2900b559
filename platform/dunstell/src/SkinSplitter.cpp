#include "SkinSplitter.h"
#include "SkinAttribute.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CSkinSplitter, CWnd)

BEGIN_MESSAGE_MAP(CSkinSplitter, CWnd)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_SETCURSOR()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_MOUSEMOVE()
    ON_WM_MOUSELEAVE()
    ON_WM_CAPTURECHANGED()
END_MESSAGE_MAP()

CSkinSplitter::CSkinSplitter()
    : m_pSink(NULL), m_bVertical(true), m_bDisableDrag(false), m_nMin(INT_MIN), m_nMax(INT_MAX), m_bShowButton(FALSE),
      m_bButtonHover(FALSE), m_bButtonDown(FALSE), m_bDragging(FALSE)
{}

CSkinSplitter::~CSkinSplitter() {}

void CSkinSplitter::SetSplitterRange(int nMin, int nMax)
{
    m_nMin = std::min(nMin, nMax);
    m_nMax = std::max(nMin, nMax);
}

void CSkinSplitter::ShowSplitterButton(LPCTSTR pszImage)
{
    m_bShowButton = pszImage != NULL && pszImage[0] != 0;
    m_ImageButton.SetLoadInfo(m_bShowButton ? pszImage : NULL);
    if (GetSafeHwnd() != NULL)
        Invalidate(FALSE);
}

CRect CSkinSplitter::GetButtonRect()
{
    CRect rc(0, 0, 0, 0);
    if (!m_bShowButton || GetSafeHwnd() == NULL || m_ImageButton.IsNull())
        return rc;
    CRect rcClient;
    GetClientRect(&rcClient);
    const int cx = m_ImageButton.GetWidth() / 4, cy = m_ImageButton.GetHeight();
    rc.left = (rcClient.Width() - cx) / 2;
    rc.top = (rcClient.Height() - cy) / 2;
    rc.right = rc.left + cx;
    rc.bottom = rc.top + cy;
    return rc;
}

void CSkinSplitter::DrawSplitter(CDC* pDC, const CRect& rcClient)
{
    pDC->FillSolidRect(&rcClient, CSkinAttribute::m_crBackground);
}

void CSkinSplitter::OnPaint()
{
    CPaintDC dc(this);
    CRect rcClient;
    GetClientRect(&rcClient);
    DrawSplitter(&dc, rcClient);
    CRect rcButton = GetButtonRect();
    if (!rcButton.IsRectEmpty()) {
        int nState = m_bButtonDown ? 2 : m_bButtonHover ? 1 : 0;
        m_ImageButton.AlphaDrawImage(&dc, rcButton.left, rcButton.top, rcButton.Width(), rcButton.Height(),
                                     nState * rcButton.Width(), 0, RGB(255, 0, 255));
    }
}

BOOL CSkinSplitter::OnEraseBkgnd(CDC* pDC)
{
    return TRUE;
}

BOOL CSkinSplitter::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    CPoint pt;
    ::GetCursorPos(&pt);
    ScreenToClient(&pt);
    if (GetButtonRect().PtInRect(pt))
        ::SetCursor(::LoadCursor(NULL, IDC_HAND));
    else if (!m_bDisableDrag)
        ::SetCursor(::LoadCursor(NULL, m_bVertical ? IDC_SIZEWE : IDC_SIZENS));
    else
        ::SetCursor(::LoadCursor(NULL, IDC_ARROW));
    return TRUE;
}

void CSkinSplitter::OnLButtonDown(UINT nFlags, CPoint point)
{
    if (GetButtonRect().PtInRect(point)) {
        m_bButtonDown = TRUE;
        SetCapture();
        Invalidate(FALSE);
        return;
    }
    if (m_bDisableDrag || GetParent() == NULL)
        return;
    m_bDragging = TRUE;
    m_ptDragStart = point;
    ClientToScreen(&m_ptDragStart);
    GetWindowRect(&m_rcDragStart);
    GetParent()->ScreenToClient(&m_rcDragStart);
    SetCapture();
}

void CSkinSplitter::OnMouseMove(UINT nFlags, CPoint point)
{
    if (m_bDragging) {
        CPoint pt = point;
        ClientToScreen(&pt);
        int nPos =
            m_bVertical ? m_rcDragStart.left + pt.x - m_ptDragStart.x : m_rcDragStart.top + pt.y - m_ptDragStart.y;
        nPos = std::max(m_nMin, std::min(m_nMax, nPos));
        SetWindowPos(NULL, m_bVertical ? nPos : m_rcDragStart.left, m_bVertical ? m_rcDragStart.top : nPos, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return;
    }
    BOOL bHover = GetButtonRect().PtInRect(point);
    if (bHover != m_bButtonHover) {
        m_bButtonHover = bHover;
        Invalidate(FALSE);
    }
    TRACKMOUSEEVENT tme = {sizeof(tme), TME_LEAVE, m_hWnd, HOVER_DEFAULT};
    ::TrackMouseEvent(&tme);
}

void CSkinSplitter::OnMouseLeave()
{
    if (m_bButtonHover) {
        m_bButtonHover = FALSE;
        Invalidate(FALSE);
    }
}

void CSkinSplitter::OnLButtonUp(UINT nFlags, CPoint point)
{
    if (m_bButtonDown) {
        m_bButtonDown = FALSE;
        ReleaseCapture();
        Invalidate(FALSE);
        if (GetButtonRect().PtInRect(point) && m_pSink != NULL)
            m_pSink->OnSplitterButton(this, m_hWnd);
        return;
    }
    if (m_bDragging) {
        m_bDragging = FALSE;
        ReleaseCapture();
        CRect rc;
        GetWindowRect(&rc);
        GetParent()->ScreenToClient(&rc);
        if (m_pSink != NULL && rc != m_rcDragStart)
            m_pSink->OnSplitterEvent(this, m_bVertical ? rc.left : rc.top);
    }
}

void CSkinSplitter::OnCaptureChanged(CWnd* pWnd)
{
    if (pWnd != this) {
        m_bDragging = FALSE;
        if (m_bButtonDown) {
            m_bButtonDown = FALSE;
            Invalidate(FALSE);
        }
    }
    CWnd::OnCaptureChanged(pWnd);
}
