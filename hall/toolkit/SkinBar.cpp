#include "SkinBar.h"

#include <afxwin.h>

#include <stdlib.h>
#include <string.h>

namespace
{
const UINT REFRAME = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED; // 0x37
const int CELL = SKINBAR_CELL;

SkinBarState* StateOf(HWND hWnd)
{
    return hWnd != NULL ? (SkinBarState*)::GetPropA(hWnd, SKINBAR_PROP) : NULL;
}

void Reframe(HWND hWnd)
{
    ::SetWindowPos(hWnd, NULL, 0, 0, 0, 0, REFRAME);
}

SCROLLINFO* InfoOf(SkinBarState* s, int nBar)
{
    return nBar == SB_HORZ ? &s->horz : nBar == SB_VERT ? &s->vert : NULL;
}

DWORD StyleBit(int nBar)
{
    return nBar == SB_HORZ ? WS_HSCROLL : WS_VSCROLL;
}

BOOL ArrowsDisabled(const SkinBarState* s, BOOL bVert)
{
    return ((s->arrowFlags >> (bVert ? 2 : 0)) & 3) != 0;
}

int Clamp(int v, int lo, int hi)
{
    if (hi < lo)
        hi = lo;
    return v < lo ? lo : v > hi ? hi : v;
}

// Bars and size box in screen coordinates.
struct BarRects
{
    RECT horz;
    RECT vert;
    RECT box;
};

BarRects RectsOf(HWND hWnd, const SkinBarState* s)
{
    BarRects r;
    RECT rc;
    ::GetClientRect(hWnd, &rc);
    ::MapWindowPoints(hWnd, NULL, (LPPOINT)&rc, 2);
    const DWORD style = (DWORD)::GetWindowLong(hWnd, GWL_STYLE);
    const int h = (style & WS_HSCROLL) ? CELL : 0;
    const int v = (style & WS_VSCROLL) ? CELL : 0;
    ::SetRect(&r.horz, rc.left, rc.bottom, rc.right, rc.bottom + h);
    if (s->leftScrollBar)
        ::SetRect(&r.vert, rc.left - v, rc.top, rc.left, rc.bottom);
    else
        ::SetRect(&r.vert, rc.right, rc.top, rc.right + v, rc.bottom);
    ::SetRectEmpty(&r.box);
    if (h && v) {
        if (s->leftScrollBar)
            ::SetRect(&r.box, rc.left - CELL, rc.bottom, rc.left, rc.bottom + CELL);
        else
            ::SetRect(&r.box, rc.right, rc.bottom, rc.right + CELL, rc.bottom + CELL);
    }
    return r;
}

SkinBarGeometry GeometryOf(const RECT& rcBar, BOOL bVert, const SCROLLINFO& si)
{
    return bVert ? SkinBar_Measure(rcBar.top, rcBar.bottom, si) : SkinBar_Measure(rcBar.left, rcBar.right, si);
}

int Along(POINT pt, BOOL bVert)
{
    return bVert ? pt.y : pt.x;
}

BOOL HasThumb(const SkinBarGeometry& g)
{
    return g.thumbEnd > g.thumbStart;
}

// Part code (with the vertical flag) under a screen point, 0 for none.
DWORD PartAt(HWND hWnd, SkinBarState* s, POINT pt)
{
    const BarRects r = RectsOf(hWnd, s);
    for (int vert = 0; vert < 2; ++vert) {
        const RECT& rc = vert ? r.vert : r.horz;
        if (!::PtInRect(&rc, pt))
            continue;
        const SCROLLINFO& si = vert ? s->vert : s->horz;
        const DWORD part = SkinBar_HitPart(GeometryOf(rc, vert, si), Along(pt, vert), ArrowsDisabled(s, vert));
        return part ? part | (vert ? SKINBAR_VERT : 0) : 0;
    }
    return 0;
}

int DrawState(const SkinBarState* s, DWORD part)
{
    if (ArrowsDisabled(s, (part & SKINBAR_VERT) != 0))
        return 3;
    if (part != 0 && part == s->hotPart)
        return s->pressed ? 2 : 1;
    return 0;
}

// The thumb composed off screen from caps, tiled body and grip, then copied.
BOOL DrawThumb(HDC hdc, HDC hMem, const RECT& rcThumb, BOOL bVert, int state)
{
    const int w = rcThumb.right - rcThumb.left, h = rcThumb.bottom - rcThumb.top;
    if (state == 3 || w <= 0 || h <= 0)
        return FALSE;
    HDC hCompose = ::CreateCompatibleDC(hdc);
    HBITMAP hBitmap = ::CreateCompatibleBitmap(hdc, w, h);
    HGDIOBJ hOld = ::SelectObject(hCompose, hBitmap);
    ::PatBlt(hCompose, 0, 0, w, h, WHITENESS);
    const int y0 = state * CELL;
    if (bVert) {
        for (int y = 4; y < h - 4; y += 8)
            ::BitBlt(hCompose, 0, y, CELL, (h - 4 - y) < 8 ? h - 4 - y : 8, hMem, 32, y0 + 4, SRCCOPY);
        ::BitBlt(hCompose, 0, 0, CELL, 4, hMem, 32, y0, SRCCOPY);
        ::BitBlt(hCompose, 0, h - 4, CELL, 4, hMem, 32, y0 + 12, SRCCOPY);
        if (h > 24)
            ::BitBlt(hCompose, 0, (h - CELL) / 2, CELL, CELL, hMem, 144, y0, SRCCOPY);
    } else {
        for (int x = 4; x < w - 4; x += 8)
            ::BitBlt(hCompose, x, 0, (w - 4 - x) < 8 ? w - 4 - x : 8, CELL, hMem, 100, y0, SRCCOPY);
        ::BitBlt(hCompose, 0, 0, 4, CELL, hMem, 96, y0, SRCCOPY);
        ::BitBlt(hCompose, w - 4, 0, 4, CELL, hMem, 108, y0, SRCCOPY);
        if (w > 24)
            ::BitBlt(hCompose, (w - CELL) / 2, 0, CELL, CELL, hMem, 160, y0, SRCCOPY);
    }
    ::BitBlt(hdc, rcThumb.left, rcThumb.top, w, h, hCompose, 0, 0, SRCCOPY);
    ::SelectObject(hCompose, hOld);
    ::DeleteObject(hBitmap);
    ::DeleteDC(hCompose);
    return TRUE;
}

// One bar at rc (DC coordinates).
void DrawBar(HDC hdc, HDC hMem, const SkinBarState* s, BOOL bVert, const RECT& rc)
{
    if (rc.right <= rc.left || rc.bottom <= rc.top)
        return;
    const SCROLLINFO& si = bVert ? s->vert : s->horz;
    const SkinBarGeometry g = GeometryOf(rc, bVert, si);
    const DWORD flag = bVert ? SKINBAR_VERT : 0;
    RECT rcTrack, rcThumb, rcFirst, rcSecond;
    if (bVert) {
        ::SetRect(&rcFirst, rc.left, rc.top, rc.right, g.trackStart);
        ::SetRect(&rcSecond, rc.left, g.trackEnd, rc.right, rc.bottom);
        ::SetRect(&rcTrack, rc.left, g.trackStart, rc.right, g.trackEnd);
        ::SetRect(&rcThumb, rc.left, g.thumbStart, rc.right, g.thumbEnd);
    } else {
        ::SetRect(&rcFirst, rc.left, rc.top, g.trackStart, rc.bottom);
        ::SetRect(&rcSecond, g.trackEnd, rc.top, rc.right, rc.bottom);
        ::SetRect(&rcTrack, g.trackStart, rc.top, g.trackEnd, rc.bottom);
        ::SetRect(&rcThumb, g.thumbStart, rc.top, g.thumbEnd, rc.bottom);
    }
    const int saved = ::SaveDC(hdc);
    const BOOL bTrackLonger = (g.trackEnd - g.trackStart) >= (g.thumbEnd - g.thumbStart);
    if (HasThumb(g) && si.nPage > 0 && si.nMax > si.nMin && bTrackLonger &&
        DrawThumb(hdc, hMem, rcThumb, bVert, DrawState(s, SKINBAR_THUMB | flag)))
        ::ExcludeClipRect(hdc, rcThumb.left, rcThumb.top, rcThumb.right, rcThumb.bottom);
    if (rcTrack.right > rcTrack.left && rcTrack.bottom > rcTrack.top) {
        ::SetStretchBltMode(hdc, HALFTONE);
        ::StretchBlt(hdc, rcTrack.left, rcTrack.top, rcTrack.right - rcTrack.left, rcTrack.bottom - rcTrack.top, hMem,
                     bVert ? 48 : 112, 0, CELL, CELL, SRCCOPY);
    }
    ::RestoreDC(hdc, saved);
    const int firstCol = bVert ? 0 : 64, secondCol = bVert ? 16 : 80;
    ::BitBlt(hdc, rcFirst.left, rcFirst.top, rcFirst.right - rcFirst.left, rcFirst.bottom - rcFirst.top, hMem, firstCol,
             DrawState(s, SKINBAR_FIRST_ARROW | flag) * CELL, SRCCOPY);
    ::BitBlt(hdc, rcSecond.left, rcSecond.top, rcSecond.right - rcSecond.left, rcSecond.bottom - rcSecond.top, hMem,
             secondCol, DrawState(s, SKINBAR_SECOND_ARROW | flag) * CELL, SRCCOPY);
}

// Repaints one bar (or both with SB_BOTH) on the window DC.
void Repaint(HWND hWnd, SkinBarState* s, int nBar)
{
    if (!::IsWindowVisible(hWnd))
        return;
    RECT rcWnd;
    ::GetWindowRect(hWnd, &rcWnd);
    HDC hdc = ::GetWindowDC(hWnd);
    if (hdc == NULL)
        return;
    const DWORD style = (DWORD)::GetWindowLong(hWnd, GWL_STYLE);
    const BarRects r = RectsOf(hWnd, s);
    HDC hMem = ::CreateCompatibleDC(hdc);
    HGDIOBJ hOld = ::SelectObject(hMem, s->bitmap);
    for (int vert = 0; vert < 2; ++vert) {
        if (nBar != SB_BOTH && nBar != (vert ? SB_VERT : SB_HORZ))
            continue;
        if (!(style & (vert ? WS_VSCROLL : WS_HSCROLL)))
            continue;
        RECT rc = vert ? r.vert : r.horz;
        ::OffsetRect(&rc, -rcWnd.left, -rcWnd.top);
        DrawBar(hdc, hMem, s, vert, rc);
    }
    ::SelectObject(hMem, hOld);
    ::DeleteDC(hMem);
    ::ReleaseDC(hWnd, hdc);
}

void RepaintPart(HWND hWnd, SkinBarState* s, DWORD part)
{
    if (part != 0)
        Repaint(hWnd, s, (part & SKINBAR_VERT) ? SB_VERT : SB_HORZ);
}

void SendScroll(HWND hWnd, UINT message, WORD code, int pos)
{
    ::SendMessage(hWnd, message, MAKEWPARAM(code, (WORD)pos), 0);
}

void Detach(HWND hWnd, SkinBarState* s)
{
    SCROLLINFO vert = s->vert, horz = s->horz;
    vert.cbSize = horz.cbSize = sizeof(SCROLLINFO);
    vert.fMask = horz.fMask = SIF_ALL;
    const DWORD flags = s->arrowFlags;
    ::SetWindowLongPtr(hWnd, GWLP_WNDPROC, (LONG_PTR)s->oldWndProc);
    ::RemovePropA(hWnd, SKINBAR_PROP);
    ::LocalFree((HLOCAL)s);
    // The property is gone: these reach the system's own bars.
    ::SetScrollInfo(hWnd, SB_VERT, &vert, TRUE);
    ::SetScrollInfo(hWnd, SB_HORZ, &horz, TRUE);
    ::EnableScrollBar(hWnd, SB_HORZ, flags & 3);
    ::EnableScrollBar(hWnd, SB_VERT, (flags >> 2) & 3);
}

// The old procedure runs with the scroll styles removed, so the system
// neither reserves room for its bars nor draws them.
LRESULT CallStripped(SkinBarState* s, HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    const LONG style = ::GetWindowLong(hWnd, GWL_STYLE);
    const LONG bars = WS_HSCROLL | WS_VSCROLL;
    if (!(style & bars))
        return ::CallWindowProcA(s->oldWndProc, hWnd, message, wParam, lParam);
    s->inOwnNcPass = TRUE;
    ::SetWindowLong(hWnd, GWL_STYLE, style & ~bars);
    const LRESULT lResult = ::CallWindowProcA(s->oldWndProc, hWnd, message, wParam, lParam);
    ::SetWindowLong(hWnd, GWL_STYLE, style);
    s->inOwnNcPass = FALSE;
    return lResult;
}

void OnTimerTick(HWND hWnd, SkinBarState* s)
{
    if (s->pressedPart == 0) {
        ::KillTimer(hWnd, SKINBAR_TIMER_REPEAT);
        return;
    }
    if (s->pressedPart != s->hotPart)
        return;
    if (s->repeatCode == SB_PAGEUP || s->repeatCode == SB_PAGEDOWN) {
        const BOOL bVert = (s->pressedPart & SKINBAR_VERT) != 0;
        POINT pt;
        AfxGetCursorPos(&pt);
        const BarRects r = RectsOf(hWnd, s);
        const SkinBarGeometry g = GeometryOf(bVert ? r.vert : r.horz, bVert, bVert ? s->vert : s->horz);
        const int c = Along(pt, bVert);
        if ((s->repeatCode == SB_PAGEUP && g.thumbStart <= c) || (s->repeatCode == SB_PAGEDOWN && g.thumbEnd >= c)) {
            ::KillTimer(hWnd, SKINBAR_TIMER_REPEAT);
            return;
        }
    }
    SendScroll(hWnd, s->repeatMsg, s->repeatCode, 0);
}

LRESULT OnNcLButtonDown(HWND hWnd, SkinBarState* s, WPARAM wParam, LPARAM lParam)
{
    const BOOL bVert = wParam == HTVSCROLL;
    const SCROLLINFO& si = bVert ? s->vert : s->horz;
    POINT pt = {(short)LOWORD(lParam), (short)HIWORD(lParam)};
    if (si.nPage == 0 || si.nMax <= si.nMin)
        return 0;
    const DWORD part = PartAt(hWnd, s, pt);
    if (part == 0 || ((part & SKINBAR_VERT) != 0) != bVert)
        return 0;
    s->hotPart = part;
    const DWORD low = part & 0x0F;
    if (low == SKINBAR_THUMB) {
        const BarRects r = RectsOf(hWnd, s);
        const SkinBarGeometry g = GeometryOf(bVert ? r.vert : r.horz, bVert, si);
        (bVert ? s->vert : s->horz).nTrackPos = si.nPos;
        s->dragOffset = Along(pt, bVert) - g.thumbStart;
        // The drag starts where the thumb is: a click without a move keeps it.
        s->dragPos = si.nPos;
    } else {
        const WORD code = low == SKINBAR_FIRST_ARROW    ? SB_LINEUP
                          : low == SKINBAR_SECOND_ARROW ? SB_LINEDOWN
                          : low == SKINBAR_PAGE_BEFORE  ? SB_PAGEUP
                                                        : SB_PAGEDOWN;
        s->repeatMsg = bVert ? WM_VSCROLL : WM_HSCROLL;
        s->repeatCode = code;
        SendScroll(hWnd, s->repeatMsg, code, 0);
        ::SetTimer(hWnd, SKINBAR_TIMER_DELAY, SKINBAR_DELAY_MS, NULL);
    }
    s->pressedPart = part;
    s->pressed = TRUE;
    RepaintPart(hWnd, s, part);
    ::SetCapture(hWnd);
    return 0;
}

void OnPressedMove(HWND hWnd, SkinBarState* s, LPARAM lParam)
{
    POINT pt = {(short)LOWORD(lParam), (short)HIWORD(lParam)};
    ::ClientToScreen(hWnd, &pt);
    const BOOL bVert = (s->pressedPart & SKINBAR_VERT) != 0;
    if ((s->pressedPart & 0x0F) == SKINBAR_THUMB) {
        SCROLLINFO& si = bVert ? s->vert : s->horz;
        const BarRects r = RectsOf(hWnd, s);
        const SkinBarGeometry g = GeometryOf(bVert ? r.vert : r.horz, bVert, si);
        const int p = SkinBar_DragPos(g, si, Along(pt, bVert), s->dragOffset);
        // Sent whenever the drag position changes, whether or not the
        // window has passed the previous one back yet.
        if (p == s->dragPos)
            return;
        si.nTrackPos = p;
        s->dragPos = p;
        SendScroll(hWnd, bVert ? WM_VSCROLL : WM_HSCROLL, s->richEdit ? SB_THUMBPOSITION : SB_THUMBTRACK, p);
        return;
    }
    const LRESULT hit = ::SendMessage(hWnd, WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y));
    const DWORD part = (hit == HTHSCROLL || hit == HTVSCROLL) ? PartAt(hWnd, s, pt) : 0;
    const DWORD hot = part == s->pressedPart ? part : 0;
    if (hot != s->hotPart) {
        s->hotPart = hot;
        RepaintPart(hWnd, s, s->pressedPart);
    }
}

LRESULT OnLButtonUp(HWND hWnd, SkinBarState* s)
{
    ::ReleaseCapture();
    const DWORD part = s->pressedPart;
    const BOOL bVert = (part & SKINBAR_VERT) != 0;
    const UINT message = bVert ? WM_VSCROLL : WM_HSCROLL;
    if ((part & 0x0F) == SKINBAR_THUMB) {
        const int final = s->dragPos;
        SendScroll(hWnd, message, SB_THUMBPOSITION, final);
        SendScroll(hWnd, message, SB_ENDSCROLL, final);
        (bVert ? s->vert : s->horz).nTrackPos = final;
        POINT pt;
        AfxGetCursorPos(&pt);
        s->hotPart = PartAt(hWnd, s, pt);
    } else {
        ::KillTimer(hWnd, SKINBAR_TIMER_DELAY);
        ::KillTimer(hWnd, SKINBAR_TIMER_REPEAT);
        SendScroll(hWnd, message, SB_ENDSCROLL, 0);
    }
    s->dragOffset = 0;
    s->repeatMsg = 0;
    s->repeatCode = 0;
    s->pressedPart = 0;
    s->pressed = FALSE;
    s->dragPos = 0;
    Repaint(hWnd, s, bVert ? SB_VERT : SB_HORZ);
    return 0;
}

LRESULT OnNcMouseMove(HWND hWnd, SkinBarState* s, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!s->leaveTracking && !s->pressed) {
        TRACKMOUSEEVENT tme = {sizeof(tme), TME_LEAVE | TME_NONCLIENT, hWnd, 0};
        s->leaveTracking = ::TrackMouseEvent(&tme);
    }
    if (wParam == HTHSCROLL || wParam == HTVSCROLL) {
        const BOOL bVert = wParam == HTVSCROLL;
        const BarRects r = RectsOf(hWnd, s);
        const SkinBarGeometry g = GeometryOf(bVert ? r.vert : r.horz, bVert, bVert ? s->vert : s->horz);
        POINT pt = {(short)LOWORD(lParam), (short)HIWORD(lParam)};
        const DWORD part = HasThumb(g) ? PartAt(hWnd, s, pt) : 0;
        if (part == 0)
            return 0;
        if (part != s->hotPart) {
            const DWORD old = s->hotPart;
            s->hotPart = part;
            RepaintPart(hWnd, s, old);
            if ((old & SKINBAR_VERT) != (part & SKINBAR_VERT) || old == 0)
                RepaintPart(hWnd, s, part);
        }
    } else if (wParam == HTGROWBOX && s->hotPart != 0) {
        const DWORD old = s->hotPart;
        s->hotPart = 0;
        RepaintPart(hWnd, s, old);
    }
    return ::CallWindowProcA(s->oldWndProc, hWnd, message, wParam, lParam);
}

void AdjustClient(SkinBarState* s, HWND hWnd, RECT* rc)
{
    const DWORD style = (DWORD)::GetWindowLong(hWnd, GWL_STYLE);
    if ((style & WS_HSCROLL) && rc->bottom - rc->top > CELL)
        rc->bottom -= CELL;
    if ((style & WS_VSCROLL) && rc->right - rc->left > CELL) {
        if (s->leftScrollBar)
            rc->left += CELL;
        else
            rc->right -= CELL;
    }
}
} // namespace

SkinBarGeometry SkinBar_Measure(int nStart, int nEnd, const SCROLLINFO& si)
{
    SkinBarGeometry g;
    g.trackStart = nStart + CELL;
    g.trackEnd = nEnd - CELL;
    g.thumbStart = g.thumbEnd = 0;
    if (si.nPage == 0 || si.nMax <= si.nMin)
        return g;
    const int track = g.trackEnd - g.trackStart;
    const long long range = (long long)si.nMax - si.nMin + 1;
    int thumb = ::MulDiv((int)si.nPage, track, (int)range);
    if (thumb < SKINBAR_MIN_THUMB)
        thumb = SKINBAR_MIN_THUMB;
    const long long denom = range - (si.nPage > 1 ? si.nPage : 1);
    const int room = track - thumb;
    int offset = denom > 0 && room > 0 ? ::MulDiv(si.nPos - si.nMin, room, (int)denom) : 0;
    offset = Clamp(offset, 0, room);
    g.thumbStart = g.trackStart + offset;
    g.thumbEnd = g.thumbStart + thumb;
    return g;
}

DWORD SkinBar_HitPart(const SkinBarGeometry& g, int c, BOOL bArrowsDisabled)
{
    DWORD part = 0;
    if (c < g.trackStart)
        part = SKINBAR_FIRST_ARROW;
    else if (c >= g.trackEnd)
        part = SKINBAR_SECOND_ARROW;
    else if (HasThumb(g) && c >= g.thumbStart && c <= g.thumbEnd)
        return SKINBAR_THUMB;
    else if (c > g.trackStart && c < g.thumbStart)
        part = SKINBAR_PAGE_BEFORE;
    else if (c > g.thumbEnd && c < g.trackEnd)
        part = SKINBAR_PAGE_AFTER;
    return bArrowsDisabled ? 0 : part;
}

int SkinBar_DragPos(const SkinBarGeometry& g, const SCROLLINFO& si, int c, int nDragOffset)
{
    const long long range = (long long)si.nMax - si.nMin + 1;
    const int track = g.trackEnd - g.trackStart;
    const int thumb = g.thumbEnd - g.thumbStart;
    const int room = track - thumb;
    // A thumb filling the track cannot move: no division by its free room.
    if (range <= 0 || room <= 0)
        return si.nMin;
    int moved = c - nDragOffset - g.trackStart;
    moved = Clamp(moved, 0, room);
    const long long span = range - (long long)si.nPage;
    return si.nMin + (span > 0 ? ::MulDiv(moved, (int)span, room) : 0);
}

SkinBarUpdate SkinBar_UpdateInfo(SCROLLINFO& stored, const SCROLLINFO& info, BOOL bShownNow)
{
    SkinBarUpdate u = {FALSE, bShownNow};
    UINT mask = info.fMask;
    UINT nPage = info.nPage;
    int nPos = info.nPos;
    if (mask & SIF_RANGE) {
        const int nMin = info.nMin;
        const int nMax = info.nMax < nMin ? nMin : info.nMax;
        if (nMin != stored.nMin || nMax != stored.nMax) {
            stored.nMin = nMin;
            stored.nMax = nMax;
            u.changed = TRUE;
            // Page and position are clamped again to the new range.
            if (!(mask & SIF_PAGE))
                nPage = stored.nPage;
            if (!(mask & SIF_POS))
                nPos = stored.nPos;
            mask |= SIF_PAGE | SIF_POS;
        }
    }
    if (mask & SIF_PAGE) {
        const unsigned long long limit = (unsigned long long)llabs((long long)stored.nMax - stored.nMin) + 1;
        if (nPage > limit)
            nPage = (UINT)limit;
        if (nPage != stored.nPage) {
            stored.nPage = nPage;
            u.changed = TRUE;
            if (!(mask & SIF_POS))
                nPos = stored.nPos;
            mask |= SIF_POS;
        }
    }
    if (mask & SIF_POS) {
        const int hi = stored.nPage ? (int)((long long)stored.nMax - (stored.nPage - 1)) : stored.nMax;
        nPos = Clamp(nPos, stored.nMin, hi);
        if (nPos != stored.nPos) {
            stored.nPos = nPos;
            u.changed = TRUE;
        }
    }
    if ((mask & SIF_TRACKPOS) && info.nTrackPos != stored.nTrackPos) {
        stored.nTrackPos = info.nTrackPos;
        u.changed = TRUE;
    }
    if (info.fMask & (SIF_RANGE | SIF_PAGE))
        u.show = stored.nMin != stored.nMax && (long long)stored.nPage <= (long long)stored.nMax - stored.nMin;
    return u;
}

BOOL SkinBar_Attach(HWND hWnd, HBITMAP hBitmap)
{
    if (hWnd == NULL || !::IsWindow(hWnd) || hBitmap == NULL) {
        ::SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (StateOf(hWnd) != NULL)
        return FALSE;
    SkinBarState* s = (SkinBarState*)::LocalAlloc(LPTR, sizeof(SkinBarState));
    if (s == NULL)
        return FALSE;
    const DWORD style = (DWORD)::GetWindowLong(hWnd, GWL_STYLE);
    s->horz.cbSize = s->vert.cbSize = sizeof(SCROLLINFO);
    s->horz.fMask = s->vert.fMask = SIF_ALL;
    if (style & WS_HSCROLL)
        ::GetScrollInfo(hWnd, SB_HORZ, &s->horz);
    if (style & WS_VSCROLL)
        ::GetScrollInfo(hWnd, SB_VERT, &s->vert);
    s->leftScrollBar = (::GetWindowLong(hWnd, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR) != 0;
    s->bitmap = hBitmap;
    s->hWnd = hWnd;
    char cls[256] = "";
    ::GetClassNameA(hWnd, cls, sizeof(cls));
    s->richEdit = _stricmp(cls, "RichEdit20A") == 0 || _stricmp(cls, "RichEdit20W") == 0;
    if (!::SetPropA(hWnd, SKINBAR_PROP, (HANDLE)s)) {
        ::LocalFree((HLOCAL)s);
        return FALSE;
    }
    s->oldWndProc = (WNDPROC)::SetWindowLongPtr(hWnd, GWLP_WNDPROC, (LONG_PTR)&SkinBar_WindowProc);
    Reframe(hWnd);
    return TRUE;
}

BOOL SkinBar_IsSkinned(HWND hWnd)
{
    return StateOf(hWnd) != NULL;
}

BOOL SkinBar_ShowScrollBar(HWND hWnd, int nBar, BOOL bShow)
{
    if (StateOf(hWnd) == NULL)
        return FALSE;
    if (nBar == SB_CTL) {
        ::ShowWindow(hWnd, bShow ? SW_SHOW : SW_HIDE);
        return TRUE;
    }
    const DWORD bits = nBar == SB_HORZ ? WS_HSCROLL : nBar == SB_VERT ? WS_VSCROLL : (WS_HSCROLL | WS_VSCROLL);
    const DWORD style = (DWORD)::GetWindowLong(hWnd, GWL_STYLE);
    if (bShow ? (style & bits) == bits : (style & bits) == 0)
        return TRUE;
    ::SetWindowLong(hWnd, GWL_STYLE, (LONG)(bShow ? style | bits : style & ~bits));
    Reframe(hWnd);
    return TRUE;
}

BOOL SkinBar_EnableScrollBar(HWND hWnd, UINT nBar, UINT nArrows)
{
    SkinBarState* s = StateOf(hWnd);
    if (s == NULL || nBar == SB_CTL)
        return FALSE;
    const DWORD style = (DWORD)::GetWindowLong(hWnd, GWL_STYLE);
    BOOL changed = FALSE;
    for (int vert = 0; vert < 2; ++vert) {
        if (nBar != SB_BOTH && nBar != (UINT)(vert ? SB_VERT : SB_HORZ))
            continue;
        const int shift = vert ? 2 : 0;
        const DWORD old = (s->arrowFlags >> shift) & 3;
        const DWORD now = nArrows == ESB_ENABLE_BOTH ? 0 : (old | (nArrows & 3));
        if (now == old)
            continue;
        s->arrowFlags = (s->arrowFlags & ~(3u << shift)) | (now << shift);
        changed = TRUE;
        if (style & (vert ? WS_VSCROLL : WS_HSCROLL))
            Repaint(hWnd, s, vert ? SB_VERT : SB_HORZ);
    }
    return changed;
}

BOOL SkinBar_GetScrollRange(HWND hWnd, int nBar, LPINT lpMin, LPINT lpMax)
{
    SkinBarState* s = StateOf(hWnd);
    SCROLLINFO* si = s != NULL ? InfoOf(s, nBar) : NULL;
    if (si == NULL || lpMin == NULL || lpMax == NULL)
        return FALSE;
    *lpMin = si->nMin;
    *lpMax = si->nMax;
    return TRUE;
}

BOOL SkinBar_SetScrollRange(HWND hWnd, int nBar, int nMin, int nMax, BOOL bRedraw)
{
    SkinBarState* s = StateOf(hWnd);
    SCROLLINFO* si = s != NULL ? InfoOf(s, nBar) : NULL;
    if (si == NULL)
        return FALSE;
    si->nMin = nMin;
    si->nMax = nMax;
    if (nMin == 0 && nMax == 0)
        SkinBar_ShowScrollBar(hWnd, nBar, FALSE);
    if (bRedraw)
        Repaint(hWnd, s, nBar);
    return TRUE;
}

int SkinBar_GetScrollPos(HWND hWnd, int nBar)
{
    SkinBarState* s = StateOf(hWnd);
    SCROLLINFO* si = s != NULL ? InfoOf(s, nBar) : NULL;
    return si != NULL ? si->nPos : 0;
}

int SkinBar_SetScrollPos(HWND hWnd, int nBar, int nPos, BOOL bRedraw)
{
    SkinBarState* s = StateOf(hWnd);
    SCROLLINFO* si = s != NULL ? InfoOf(s, nBar) : NULL;
    if (si == NULL)
        return 0;
    const int old = si->nPos;
    si->nPos = nPos;
    if (bRedraw)
        Repaint(hWnd, s, nBar);
    return old;
}

BOOL SkinBar_GetScrollInfo(HWND hWnd, int nBar, LPSCROLLINFO lpsi)
{
    if (lpsi == NULL || lpsi->cbSize != sizeof(SCROLLINFO))
        return FALSE;
    SkinBarState* s = StateOf(hWnd);
    SCROLLINFO* si = s != NULL ? InfoOf(s, nBar) : NULL;
    if (si == NULL)
        return FALSE;
    BOOL copied = FALSE;
    if (lpsi->fMask & SIF_PAGE)
        lpsi->nPage = si->nPage, copied = TRUE;
    if (lpsi->fMask & SIF_POS)
        lpsi->nPos = si->nPos, copied = TRUE;
    if (lpsi->fMask & SIF_TRACKPOS)
        lpsi->nTrackPos = si->nTrackPos, copied = TRUE;
    if (lpsi->fMask & SIF_RANGE)
        lpsi->nMin = si->nMin, lpsi->nMax = si->nMax, copied = TRUE;
    return copied;
}

int SkinBar_SetScrollInfo(HWND hWnd, int nBar, LPCSCROLLINFO lpsi, BOOL bRedraw)
{
    SkinBarState* s = StateOf(hWnd);
    SCROLLINFO* si = s != NULL ? InfoOf(s, nBar) : NULL;
    if (si == NULL || lpsi == NULL)
        return 0;
    bRedraw = bRedraw && ::IsWindowVisible(hWnd);
    const DWORD bit = StyleBit(nBar);
    const DWORD style = (DWORD)::GetWindowLong(hWnd, GWL_STYLE);
    const BOOL shown = (style & bit) != 0;
    if (!(lpsi->fMask & SIF_RANGE) && !shown)
        return 0;
    const int previous = si->nPos;
    const SkinBarUpdate u = SkinBar_UpdateInfo(*si, *lpsi, shown);
    const BOOL keep = (lpsi->fMask & SIF_DISABLENOSCROLL) != 0;
    if (!u.changed && !keep) {
        if (shown && bRedraw)
            Repaint(hWnd, s, nBar);
        return si->nPos;
    }
    const BOOL show = u.show || (keep && shown);
    if (show != shown) {
        ::SetWindowLong(hWnd, GWL_STYLE, (LONG)(show ? style | bit : style & ~bit));
        Reframe(hWnd);
        if (!keep)
            return (lpsi->fMask & SIF_POS) ? previous : si->nPos;
    }
    if (keep && show)
        SkinBar_EnableScrollBar(hWnd, nBar, (int)si->nPage > si->nMax - si->nMin ? ESB_DISABLE_BOTH : ESB_ENABLE_BOTH);
    if (show && bRedraw)
        Repaint(hWnd, s, nBar);
    else if (!show && lpsi->nPage > 0 && lpsi->nMax > lpsi->nMin)
        Reframe(hWnd);
    return si->nPos;
}

void SkinBar_DrawBars(HWND hWnd, HDC hdc, POINT ptOrigin)
{
    SkinBarState* s = StateOf(hWnd);
    if (s == NULL || hdc == NULL)
        return;
    const DWORD style = (DWORD)::GetWindowLong(hWnd, GWL_STYLE);
    BarRects r = RectsOf(hWnd, s);
    ::OffsetRect(&r.horz, -ptOrigin.x, -ptOrigin.y);
    ::OffsetRect(&r.vert, -ptOrigin.x, -ptOrigin.y);
    ::OffsetRect(&r.box, -ptOrigin.x, -ptOrigin.y);
    HDC hMem = ::CreateCompatibleDC(hdc);
    HGDIOBJ hOld = ::SelectObject(hMem, s->bitmap);
    if (style & WS_VSCROLL)
        DrawBar(hdc, hMem, s, TRUE, r.vert);
    if (style & WS_HSCROLL)
        DrawBar(hdc, hMem, s, FALSE, r.horz);
    if ((style & WS_VSCROLL) && (style & WS_HSCROLL))
        ::BitBlt(hdc, r.box.left, r.box.top, CELL, CELL, hMem, 48, s->leftScrollBar ? CELL : 0, SRCCOPY);
    ::SelectObject(hMem, hOld);
    ::DeleteDC(hMem);
}

LRESULT CALLBACK SkinBar_WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    SkinBarState* s = StateOf(hWnd);
    if (s == NULL)
        return ::DefWindowProcA(hWnd, message, wParam, lParam);
    switch (message) {
    case WM_NCCALCSIZE: {
        const DWORD style = (DWORD)::GetWindowLong(hWnd, GWL_STYLE);
        const LRESULT lResult = (style & (WS_HSCROLL | WS_VSCROLL))
                                    ? CallStripped(s, hWnd, message, wParam, lParam)
                                    : ::CallWindowProcA(s->oldWndProc, hWnd, message, wParam, lParam);
        if (lParam != 0)
            AdjustClient(s, hWnd, wParam ? &((NCCALCSIZE_PARAMS*)lParam)->rgrc[0] : (RECT*)lParam);
        return lResult;
    }
    case WM_NCHITTEST: {
        const BarRects r = RectsOf(hWnd, s);
        POINT pt = {(short)LOWORD(lParam), (short)HIWORD(lParam)};
        const DWORD style = (DWORD)::GetWindowLong(hWnd, GWL_STYLE);
        if ((style & WS_VSCROLL) && ::PtInRect(&r.vert, pt))
            return HTVSCROLL;
        if ((style & WS_HSCROLL) && ::PtInRect(&r.horz, pt))
            return HTHSCROLL;
        if (::PtInRect(&r.box, pt))
            return HTGROWBOX;
        return ::CallWindowProcA(s->oldWndProc, hWnd, message, wParam, lParam);
    }
    case WM_NCPAINT: {
        if (!::IsWindowVisible(hWnd))
            return 0;
        const LRESULT lResult = CallStripped(s, hWnd, message, wParam, lParam);
        RECT rcWnd;
        ::GetWindowRect(hWnd, &rcWnd);
        HDC hdc = ::GetWindowDC(hWnd);
        const POINT origin = {rcWnd.left, rcWnd.top};
        SkinBar_DrawBars(hWnd, hdc, origin);
        ::ReleaseDC(hWnd, hdc);
        return lResult;
    }
    case WM_NCLBUTTONDOWN:
        if (wParam == HTHSCROLL || wParam == HTVSCROLL)
            return OnNcLButtonDown(hWnd, s, wParam, lParam);
        break;
    case WM_MOUSEMOVE:
        if (s->pressed && s->pressedPart != 0 && (wParam & MK_LBUTTON)) {
            OnPressedMove(hWnd, s, lParam);
            return 0;
        }
        break;
    case WM_LBUTTONUP:
        if (s->pressed && s->pressedPart != 0)
            return OnLButtonUp(hWnd, s);
        break;
    case WM_TIMER:
        if (wParam == SKINBAR_TIMER_DELAY) {
            ::KillTimer(hWnd, SKINBAR_TIMER_DELAY);
            ::SetTimer(hWnd, SKINBAR_TIMER_REPEAT, SKINBAR_REPEAT_MS, NULL);
            OnTimerTick(hWnd, s);
            return 0;
        }
        if (wParam == SKINBAR_TIMER_REPEAT) {
            OnTimerTick(hWnd, s);
            return 0;
        }
        break;
    case WM_NCMOUSEMOVE: return OnNcMouseMove(hWnd, s, message, wParam, lParam);
    case WM_NCMOUSELEAVE:
        s->leaveTracking = FALSE;
        if (!s->pressed && s->hotPart != 0) {
            const DWORD old = s->hotPart;
            s->hotPart = 0;
            RepaintPart(hWnd, s, old);
        }
        return 0;
    case WM_STYLECHANGED:
        if (s->inOwnNcPass)
            return 0;
        if (wParam == (WPARAM)GWL_EXSTYLE && lParam != 0) {
            const BOOL left = (((const STYLESTRUCT*)lParam)->styleNew & WS_EX_LEFTSCROLLBAR) != 0;
            if (left != s->leftScrollBar) {
                s->leftScrollBar = left;
                Reframe(hWnd);
            }
        }
        break;
    case WM_NCLBUTTONDBLCLK:
    case WM_NCRBUTTONDBLCLK: return 0;
    case WM_NCDESTROY: {
        const LRESULT lResult = ::CallWindowProcA(s->oldWndProc, hWnd, message, wParam, lParam);
        Detach(hWnd, s);
        return lResult;
    }
    }
    return ::CallWindowProcA(s->oldWndProc, hWnd, message, wParam, lParam);
}
