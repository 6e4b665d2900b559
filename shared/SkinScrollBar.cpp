#include "SkinScrollBar.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CSkinScrollBar, CScrollBar)

BEGIN_MESSAGE_MAP(CSkinScrollBar, CScrollBar)
    ON_WM_SIZE()
    ON_WM_PAINT()
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
    ON_WM_TIMER()
    ON_WM_MOUSELEAVE()
END_MESSAGE_MAP()

namespace
{
const UINT NO_PART = (UINT)-1;
const int STATE_NORMAL = 0;
const int STATE_HOT = 1;
const int STATE_PRESSED = 2;

// The bar's picture selected into a memory DC for the life of the object.
class CPictureDC
{
public:
    CPictureDC(CDC* pDC, HBITMAP hBitmap) : m_hOld(NULL)
    {
        m_dc.CreateCompatibleDC(pDC);
        m_hOld = ::SelectObject(m_dc.GetSafeHdc(), hBitmap);
    }
    ~CPictureDC()
    {
        ::SelectObject(m_dc.GetSafeHdc(), m_hOld);
        m_dc.DeleteDC();
    }
    CDC* operator&() { return &m_dc; }

private:
    CDC m_dc;
    HGDIOBJ m_hOld;
};
} // namespace

CSkinScrollBar::CSkinScrollBar()
    : m_hBitmap(NULL), m_nCell(0), m_nCellHeight(0), m_nLength(0), m_bDragging(FALSE), m_ptDrag(0, 0), m_nDragPos(0),
      m_uHeld(NO_PART), m_bRepeating(FALSE), m_uHot(NO_PART), m_bPaused(FALSE), m_bTracking(FALSE),
      m_bThumbPressed(FALSE)
{
    memset(&m_si, 0, sizeof(m_si));
    m_si.nTrackPos = -1;
}

CSkinScrollBar::~CSkinScrollBar() {}

void CSkinScrollBar::SetBitmap(HBITMAP hBitmap)
{
    m_hBitmap = hBitmap;
    BITMAP bm;
    memset(&bm, 0, sizeof(bm));
    if (hBitmap == NULL || ::GetObject(hBitmap, sizeof(bm), &bm) == 0)
        memset(&bm, 0, sizeof(bm));
    m_nCell = bm.bmWidth / 9;
    m_nCellHeight = bm.bmHeight / 3;
    if (m_hWnd == NULL)
        return;
    CRect rc;
    GetWindowRect(&rc);
    HWND hParent = ::GetParent(m_hWnd);
    if (hParent != NULL)
        ::MapWindowPoints(NULL, hParent, (LPPOINT)&rc, 2);
    if (IsVertical())
        rc.right = rc.left + m_nCell;
    else
        rc.bottom = rc.top + m_nCell;
    MoveWindow(&rc, TRUE);
}

BOOL CSkinScrollBar::IsVertical() const
{
    return m_hWnd != NULL && (::GetWindowLong(m_hWnd, GWL_STYLE) & SBS_VERT) != 0;
}

int CSkinScrollBar::Position() const
{
    return m_si.nTrackPos == -1 ? m_si.nPos : m_si.nTrackPos;
}

// The last position a page of the range can start at.
int CSkinScrollBar::MaxPosition() const
{
    return m_si.nMax - std::max((int)m_si.nPage - 1, 0);
}

// Thumb length and placement. An empty or reversed range has no thumb (and
// no divisions by it); a page as large as the range shows none either,
// except to the hit test, which then finds the thumb over the whole track.
CSkinScrollBar::Layout CSkinScrollBar::Measure(BOOL bForHitTest) const
{
    Layout layout;
    const long long range = (long long)m_si.nMax - m_si.nMin + 1;
    const bool bFull = range > 0 && (long long)m_si.nPage == range;
    const int inner = std::max(m_nLength - 2 * m_nCell, 0);
    long long thumb = 0;
    if (range > 0 && inner >= THUMB_MIN)
        thumb = std::min<long long>(std::max<long long>((long long)m_si.nPage * inner / range, THUMB_MIN), inner);
    if (bFull && !bForHitTest)
        thumb = 0;
    const long long empty = inner - thumb;
    long long offset = 0;
    if (bFull || range <= 0)
        offset = empty / 2;
    else {
        const long long span = range - (long long)m_si.nPage;
        if (span > 0)
            offset = std::min(std::max(empty * ((long long)Position() - m_si.nMin) / span, 0LL), empty);
    }
    layout.arrow = inner == 0 ? m_nLength / 2 : m_nCell;
    layout.thumb = (int)thumb;
    layout.offset = (int)offset;
    return layout;
}

CRect CSkinScrollBar::GetPartRect(UINT nCode) const
{
    const Layout l = Measure(FALSE);
    int a, b;
    switch (nCode) {
    case SB_LINEUP:
        a = 0;
        b = l.arrow;
        break;
    case SB_PAGEUP:
        a = l.arrow;
        b = l.arrow + l.offset;
        break;
    case SB_THUMBTRACK:
        a = l.arrow + l.offset;
        b = a + l.thumb;
        break;
    case SB_PAGEDOWN:
        a = l.arrow + l.offset + l.thumb;
        b = m_nLength - l.arrow;
        break;
    default:
        a = m_nLength - l.arrow;
        b = m_nLength;
        break;
    }
    return IsVertical() ? CRect(0, a, m_nCell, b) : CRect(a, 0, b, m_nCell);
}

CRect CSkinScrollBar::GetPartImageRect(UINT nCode, int nState) const
{
    int column = 0;
    switch (nCode) {
    case SB_LINEDOWN: column = 1; break;
    case SB_PAGEUP:
    case SB_PAGEDOWN: column = 3; break;
    case SB_THUMBTRACK: column = 2; break;
    }
    if (!IsVertical())
        column += 4;
    return CRect(m_nCell * column, m_nCell * nState, m_nCell * (column + 1), m_nCell * (nState + 1));
}

UINT CSkinScrollBar::HitTest(CPoint point) const
{
    const int c = IsVertical() ? point.y : point.x;
    if (c < 0)
        return NO_PART;
    const Layout l = Measure(TRUE);
    if (c < l.arrow)
        return SB_LINEUP;
    if (c < l.arrow + l.offset)
        return SB_PAGEUP;
    if (c < l.arrow + l.offset + l.thumb)
        return SB_THUMBTRACK;
    if (c < m_nLength - l.arrow)
        return SB_PAGEDOWN;
    return SB_LINEDOWN;
}

void CSkinScrollBar::TileBlt(CDC* pDC, const CRect& rcDest, CDC* pMemDC, const CRect& rcSrc)
{
    const int cx = rcSrc.Width(), cy = rcSrc.Height();
    if (cx <= 0 || cy <= 0 || rcDest.IsRectEmpty())
        return;
    for (int y = rcDest.top; y < rcDest.bottom; y += cy) {
        const int h = std::min(cy, (int)(rcDest.bottom - y));
        for (int x = rcDest.left; x < rcDest.right; x += cx)
            pDC->BitBlt(x, y, std::min(cx, (int)(rcDest.right - x)), h, pMemDC, rcSrc.left, rcSrc.top, SRCCOPY);
    }
}

// Fixed caps at both ends, the body tiled between them. Caps shrink when
// the thumb or the cell is shorter than two of them.
void CSkinScrollBar::DrawThumb(CDC* pDC, const CRect& rcDest, CDC* pMemDC, const CRect& rcSrc)
{
    if (rcDest.IsRectEmpty() || rcSrc.IsRectEmpty())
        return;
    if (IsVertical()) {
        const int cap = std::min({(int)THUMB_CAP, (int)rcDest.Height() / 2, (int)rcSrc.Height() / 2});
        const int w = (int)std::min(rcDest.Width(), rcSrc.Width());
        pDC->BitBlt(rcDest.left, rcDest.top, w, cap, pMemDC, rcSrc.left, rcSrc.top, SRCCOPY);
        pDC->BitBlt(rcDest.left, rcDest.bottom - cap, w, cap, pMemDC, rcSrc.left, rcSrc.bottom - cap, SRCCOPY);
        TileBlt(pDC, CRect(rcDest.left, rcDest.top + cap, rcDest.right, rcDest.bottom - cap), pMemDC,
                CRect(rcSrc.left, rcSrc.top + cap, rcSrc.right, rcSrc.bottom - cap));
    } else {
        const int cap = std::min({(int)THUMB_CAP, (int)rcDest.Width() / 2, (int)rcSrc.Width() / 2});
        const int h = (int)std::min(rcDest.Height(), rcSrc.Height());
        pDC->BitBlt(rcDest.left, rcDest.top, cap, h, pMemDC, rcSrc.left, rcSrc.top, SRCCOPY);
        pDC->BitBlt(rcDest.right - cap, rcDest.top, cap, h, pMemDC, rcSrc.right - cap, rcSrc.top, SRCCOPY);
        TileBlt(pDC, CRect(rcDest.left + cap, rcDest.top, rcDest.right - cap, rcDest.bottom), pMemDC,
                CRect(rcSrc.left + cap, rcSrc.top, rcSrc.right - cap, rcSrc.bottom));
    }
}

void CSkinScrollBar::DrawPart(CDC* pDC, UINT nCode, int nState)
{
    if (m_hBitmap == NULL || m_nCell <= 0)
        return;
    CPictureDC mem(pDC, m_hBitmap);
    const CRect src = GetPartImageRect(nCode, nState);
    const CRect dest = GetPartRect(nCode);
    switch (nCode) {
    case SB_LINEUP:
    case SB_LINEDOWN:
        if (dest.IsRectEmpty())
            break;
        if (dest.Size() == src.Size())
            pDC->BitBlt(dest.left, dest.top, m_nCell, m_nCell, &mem, src.left, src.top, SRCCOPY);
        else
            pDC->StretchBlt(dest.left, dest.top, dest.Width(), dest.Height(), &mem, src.left, src.top, src.Width(),
                            src.Height(), SRCCOPY);
        break;
    case SB_PAGEUP:
    case SB_PAGEDOWN: TileBlt(pDC, dest, &mem, src); break;
    case SB_THUMBTRACK: DrawThumb(pDC, dest, &mem, src); break;
    }
}

void CSkinScrollBar::PaintBar(CDC* pDC)
{
    DrawPart(pDC, SB_LINEUP, STATE_NORMAL);
    DrawPart(pDC, SB_LINEDOWN, STATE_NORMAL);
    DrawPart(pDC, SB_THUMBTRACK, STATE_NORMAL);
    DrawPart(pDC, SB_PAGEUP, STATE_NORMAL);
    DrawPart(pDC, SB_PAGEDOWN, STATE_NORMAL);
}

void CSkinScrollBar::DrawOnWindow(UINT nCode, int nState)
{
    if (m_hBitmap == NULL || m_hWnd == NULL)
        return;
    CWindowDC dc(this);
    DrawPart(&dc, nCode, nState);
}

void CSkinScrollBar::Notify(UINT nCode, int nPos)
{
    HWND hParent = ::GetParent(m_hWnd);
    if (hParent != NULL)
        ::SendMessage(hParent, IsVertical() ? WM_VSCROLL : WM_HSCROLL, MAKELONG(nCode, nPos), (LPARAM)m_hWnd);
}

LRESULT CSkinScrollBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_LBUTTONDBLCLK: return 1;
    case SBM_SETSCROLLINFO: {
        const SCROLLINFO* psi = (const SCROLLINFO*)lParam;
        if (psi == NULL)
            return 0;
        if (psi->fMask & SIF_PAGE)
            m_si.nPage = psi->nPage;
        if (psi->fMask & SIF_POS)
            m_si.nPos = psi->nPos;
        if (psi->fMask & SIF_RANGE) {
            m_si.nMin = psi->nMin;
            m_si.nMax = psi->nMax;
        }
        if (wParam) {
            DrawOnWindow(SB_PAGEUP, STATE_NORMAL);
            DrawOnWindow(SB_THUMBTRACK, m_bThumbPressed ? STATE_PRESSED : STATE_NORMAL);
            DrawOnWindow(SB_PAGEDOWN, STATE_NORMAL);
        }
        return 1;
    }
    case SBM_GETSCROLLINFO: {
        SCROLLINFO* psi = (SCROLLINFO*)lParam;
        if (psi == NULL)
            return 0;
        if (psi->fMask & SIF_PAGE)
            psi->nPage = m_si.nPage;
        if (psi->fMask & SIF_POS)
            psi->nPos = m_si.nPos;
        if (psi->fMask & SIF_TRACKPOS)
            psi->nTrackPos = m_si.nTrackPos;
        if (psi->fMask & SIF_RANGE) {
            psi->nMin = m_si.nMin;
            psi->nMax = m_si.nMax;
        }
        return 1;
    }
    }
    return CScrollBar::WindowProc(message, wParam, lParam);
}

void CSkinScrollBar::OnSize(UINT nType, int cx, int cy)
{
    CScrollBar::OnSize(nType, cx, cy);
    m_nLength = IsVertical() ? cy : cx;
}

void CSkinScrollBar::OnPaint()
{
    CPaintDC dc(this);
    PaintBar(&dc);
}

void CSkinScrollBar::OnLButtonDown(UINT, CPoint point)
{
    ::SetFocus(::GetParent(m_hWnd));
    SetCapture();
    const UINT hit = HitTest(point);
    if (hit == SB_THUMBTRACK) {
        m_bDragging = TRUE;
        m_ptDrag = point;
        m_si.nTrackPos = m_si.nPos;
        m_nDragPos = m_si.nPos;
        return;
    }
    if (hit == NO_PART)
        return;
    m_uHeld = hit;
    Notify(hit, 0);
    SetTimer(TIMER_DELAY, DELAY_MS, NULL);
    m_bPaused = FALSE;
    if (hit == SB_LINEUP || hit == SB_LINEDOWN)
        DrawOnWindow(hit, STATE_PRESSED);
}

void CSkinScrollBar::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == TIMER_DELAY) {
        m_bRepeating = TRUE;
        KillTimer(TIMER_DELAY);
        SetTimer(TIMER_REPEAT, REPEAT_MS, NULL);
        RepeatTick();
    } else if (nIDEvent == TIMER_REPEAT)
        RepeatTick();
    else
        CScrollBar::OnTimer(nIDEvent);
}

// One repeat of the held part; stops at the end of the range, or for a page
// area once the cursor is no longer over it (the thumb has reached it).
void CSkinScrollBar::RepeatTick()
{
    if (m_bPaused)
        return;
    switch (m_uHeld) {
    case SB_LINEUP:
        if (m_si.nPos <= m_si.nMin)
            KillTimer(TIMER_REPEAT);
        else
            Notify(SB_LINEUP, 0);
        break;
    case SB_LINEDOWN:
        if (m_si.nPos >= MaxPosition())
            KillTimer(TIMER_REPEAT);
        else
            Notify(SB_LINEDOWN, 0);
        break;
    case SB_PAGEUP:
    case SB_PAGEDOWN: {
        CPoint pt;
        AfxGetCursorPos(&pt);
        ScreenToClient(&pt);
        if (HitTest(pt) == m_uHeld)
            Notify(m_uHeld, 0);
        else
            KillTimer(TIMER_REPEAT);
        break;
    }
    }
}

void CSkinScrollBar::OnMouseMove(UINT nFlags, CPoint point)
{
    if (!m_bTracking && nFlags != (UINT)-1) {
        TRACKMOUSEEVENT tme;
        tme.cbSize = sizeof(tme);
        tme.dwFlags = TME_LEAVE;
        tme.hwndTrack = m_hWnd;
        tme.dwHoverTime = 1;
        m_bTracking = ::TrackMouseEvent(&tme);
    }
    if (m_bDragging) {
        const bool bVert = IsVertical() != FALSE;
        const int inner = m_nLength - 2 * m_nCell;
        const long long range = (long long)m_si.nMax - m_si.nMin + 1;
        long long thumb = 0;
        if (range > 0 && inner >= THUMB_MIN)
            thumb = std::min<long long>(std::max<long long>((long long)m_si.nPage * inner / range, THUMB_MIN), inner);
        const long long empty = inner - thumb;
        const long long delta = bVert ? point.y - m_ptDrag.y : point.x - m_ptDrag.x;
        const long long span = range - (long long)m_si.nPage;
        const long long moved = empty != 0 ? span * delta / empty : 0;
        long long pos = m_nDragPos + moved;
        pos = std::max<long long>(std::min<long long>(pos, MaxPosition()), m_si.nMin);
        if ((int)pos == m_si.nTrackPos)
            return;
        const CRect rcOld = GetPartRect(SB_THUMBTRACK);
        m_si.nTrackPos = (int)pos;
        const CRect rcNew = GetPartRect(SB_THUMBTRACK);
        if (m_hBitmap != NULL) {
            CWindowDC dc(this);
            CPictureDC mem(&dc, m_hBitmap);
            CRect strip;
            if (bVert)
                strip = rcNew.top <= rcOld.top ? CRect(0, rcNew.bottom, m_nCell, rcOld.bottom)
                                               : CRect(0, rcOld.top, m_nCell, rcNew.top);
            else
                strip = rcNew.left <= rcOld.left ? CRect(rcNew.right, 0, rcOld.right, m_nCell)
                                                 : CRect(rcOld.left, 0, rcNew.left, m_nCell);
            TileBlt(&dc, strip, &mem, GetPartImageRect(SB_PAGEUP, STATE_NORMAL));
            DrawThumb(&dc, rcNew, &mem, GetPartImageRect(SB_THUMBTRACK, STATE_PRESSED));
        }
        m_bThumbPressed = TRUE;
        Notify(SB_THUMBTRACK, m_si.nTrackPos);
        return;
    }
    if (m_uHeld == NO_PART) {
        const UINT hit = HitTest(point);
        if (hit == m_uHot)
            return;
        if (m_uHot == SB_THUMBTRACK) {
            DrawOnWindow(SB_THUMBTRACK, STATE_NORMAL);
            m_bThumbPressed = FALSE;
        } else if (m_uHot == SB_LINEUP || m_uHot == SB_LINEDOWN)
            DrawOnWindow(m_uHot, STATE_NORMAL);
        if (hit == SB_THUMBTRACK || hit == SB_LINEUP || hit == SB_LINEDOWN)
            DrawOnWindow(hit, STATE_HOT);
        m_uHot = hit;
        return;
    }
    const BOOL bInside = GetPartRect(m_uHeld).PtInRect(point);
    m_bPaused = !bInside;
    if (m_uHeld == SB_LINEUP || m_uHeld == SB_LINEDOWN)
        DrawOnWindow(m_uHeld, bInside ? STATE_PRESSED : STATE_NORMAL);
}

// A leave during a drag (the capture keeps the drag going) must not move
// the thumb to the far corner: only the idle and held looks are reset.
void CSkinScrollBar::OnMouseLeave()
{
    m_bTracking = FALSE;
    if (!m_bDragging)
        OnMouseMove((UINT)-1, CPoint(-1, -1));
}

void CSkinScrollBar::OnLButtonUp(UINT, CPoint point)
{
    ReleaseCapture();
    if (m_bDragging) {
        m_bDragging = FALSE;
        Notify(SB_THUMBPOSITION, m_si.nTrackPos);
        if (m_hBitmap != NULL && m_hWnd != NULL) {
            CWindowDC dc(this);
            CPictureDC mem(&dc, m_hBitmap);
            if (m_si.nTrackPos != m_si.nPos)
                TileBlt(&dc, GetPartRect(SB_THUMBTRACK), &mem, GetPartImageRect(SB_PAGEUP, STATE_NORMAL));
            m_si.nTrackPos = -1;
            const CRect rc = GetPartRect(SB_THUMBTRACK);
            DrawThumb(&dc, rc, &mem, GetPartImageRect(SB_THUMBTRACK, rc.PtInRect(point) ? STATE_HOT : STATE_NORMAL));
        }
        m_si.nTrackPos = -1;
        m_bThumbPressed = FALSE;
        return;
    }
    if (m_uHeld == NO_PART)
        return;
    if (m_bRepeating) {
        KillTimer(TIMER_REPEAT);
        m_bRepeating = FALSE;
    } else
        KillTimer(TIMER_DELAY);
    if (m_uHeld == SB_LINEUP || m_uHeld == SB_LINEDOWN)
        DrawOnWindow(m_uHeld, STATE_NORMAL);
    m_uHeld = NO_PART;
}
