#include "SkinScrollWnd.h"

#include "ControlBorder.h"

IMPLEMENT_DYNAMIC(CSkinScrollWnd, CWnd)
IMPLEMENT_DYNAMIC(CListScrollWnd, CSkinScrollWnd)

BEGIN_MESSAGE_MAP(CSkinScrollWnd, CWnd)
    ON_WM_SIZE()
    ON_WM_VSCROLL()
    ON_WM_HSCROLL()
    ON_WM_PAINT()
    ON_WM_TIMER()
    ON_WM_DESTROY()
    ON_MESSAGE(CSkinScrollWnd::WM_RELAYOUT, OnRelayout)
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(CListScrollWnd, CSkinScrollWnd)
    ON_WM_NCPAINT()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

namespace
{
BOOL s_bRelayoutOnSize = TRUE;

CRect ChildRectIn(HWND hChild, HWND hIn)
{
    CRect rc;
    ::GetWindowRect(hChild, &rc);
    ::MapWindowPoints(NULL, hIn, (LPPOINT)&rc, 2);
    return rc;
}

BOOL InfoDiffers(const SCROLLINFO& a, const SCROLLINFO& b)
{
    return a.nMin != b.nMin || a.nMax != b.nMax || a.nPage != b.nPage || a.nPos != b.nPos;
}
} // namespace

CSkinScrollWnd::CSkinScrollWnd()
    : m_nThickness(16), m_hBitmap(NULL), m_bBusy(FALSE), m_nCorner(CORNER_NONE), m_pfnOldProc(NULL), m_hTarget(NULL),
      m_bDestroying(FALSE), m_bAutoDelete(FALSE)
{}

CSkinScrollWnd::~CSkinScrollWnd() {}

void CSkinScrollWnd::SetRelayoutOnSize(BOOL bRelayout)
{
    s_bRelayoutOnSize = bRelayout;
}

CSkinScrollWnd* CSkinScrollWnd::Attach(CWnd* pTarget, HBITMAP hBitmap)
{
    CSkinScrollWnd* pFrame = new CSkinScrollWnd;
    pFrame->m_bAutoDelete = TRUE;
    pFrame->SkinWindow(pTarget, hBitmap);
    return pFrame;
}

CListScrollWnd* CListScrollWnd::Attach(CWnd* pTarget, HBITMAP hBitmap)
{
    CListScrollWnd* pFrame = new CListScrollWnd;
    pFrame->m_bAutoDelete = TRUE;
    pFrame->SkinWindow(pTarget, hBitmap);
    return pFrame;
}

BOOL CSkinScrollWnd::SkinWindow(CWnd* pTarget, HBITMAP hBitmap)
{
    m_hBitmap = hBitmap;
    BITMAP bm;
    if (hBitmap != NULL && ::GetObject(hBitmap, sizeof(bm), &bm) != 0)
        m_nThickness = bm.bmWidth / 9;
    HWND hTarget = pTarget->GetSafeHwnd();
    if (hTarget == NULL)
        return TRUE;
    HWND hParent = ::GetParent(hTarget);
    CRect rcFrame = ChildRectIn(hTarget, hParent);
    CRect rcTarget(0, 0, rcFrame.Width(), rcFrame.Height());

    const int nID = ::GetDlgCtrlID(hTarget);
    DWORD dwStyle = (DWORD)::GetWindowLong(hTarget, GWL_STYLE);
    DWORD dwExStyle = (DWORD)::GetWindowLong(hTarget, GWL_EXSTYLE);
    DWORD dwFrameStyle = WS_CHILD | 0x100 | (dwStyle & WS_VISIBLE);
    DWORD dwFrameEx = (dwExStyle & WS_EX_TOOLWINDOW) ? (WS_EX_TOOLWINDOW | WS_EX_TOPMOST) : 0;
    if (dwStyle & WS_BORDER) {
        dwFrameStyle |= WS_BORDER;
        dwStyle &= ~WS_BORDER;
        const int cx = 2 * ::GetSystemMetrics(SM_CXBORDER);
        rcTarget.right -= cx;
        rcTarget.bottom -= cx;
    }
    if (dwExStyle & WS_EX_CLIENTEDGE) {
        dwExStyle &= ~WS_EX_CLIENTEDGE;
        const int cx = 2 * ::GetSystemMetrics(SM_CXEDGE);
        rcTarget.right -= cx;
        rcTarget.bottom -= cx;
        dwFrameEx |= WS_EX_CLIENTEDGE;
    }
    ::SetWindowLong(hTarget, GWL_STYLE, (LONG)dwStyle);
    ::SetWindowLong(hTarget, GWL_EXSTYLE, (LONG)dwExStyle);

    CreateEx(dwFrameEx, AfxRegisterWndClass(0), _T("SkinScrollBarFrame"), dwFrameStyle, rcFrame.left, rcFrame.top,
             rcFrame.Width(), rcFrame.Height(), hParent, (HMENU)(INT_PTR)nID);
    const CRect rcEmpty(0, 0, 0, 0);
    m_Limiter.Create(AfxRegisterWndClass(0), _T("LIMIT"), WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, rcEmpty, this,
                     ID_LIMIT);
    m_HorzBar.Create(WS_CHILD, rcEmpty, this, ID_HBAR);
    m_VertBar.Create(WS_CHILD | SBS_VERT, rcEmpty, this, ID_VBAR);
    m_HorzBar.SetBitmap(hBitmap);
    m_VertBar.SetBitmap(hBitmap);

    m_hTarget = hTarget;
    ::SetParent(hTarget, m_Limiter.m_hWnd);
    ::SetWindowLongPtr(hTarget, GWLP_USERDATA, (LONG_PTR)this);
    m_pfnOldProc = (WNDPROC)::SetWindowLongPtr(hTarget, GWLP_WNDPROC, (LONG_PTR)&CSkinScrollWnd::TargetProc);
    ::MoveWindow(hTarget, rcTarget.left, rcTarget.top, rcTarget.Width(), rcTarget.Height(), TRUE);
    // The styles changed above: have the target's frame measured again, which
    // places the bars and lays out the limiter even when the size stayed.
    ::SetWindowPos(hTarget, NULL, 0, 0, 0, 0,
                   SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetTimer(TIMER_POLL, POLL_MS, NULL);
    return TRUE;
}

void CSkinScrollWnd::UnskinWindow()
{
    HWND hTarget = m_hTarget;
    if (hTarget == NULL || (CSkinScrollWnd*)::GetWindowLongPtr(hTarget, GWLP_USERDATA) != this)
        return;
    ::SetWindowLongPtr(hTarget, GWLP_WNDPROC, (LONG_PTR)m_pfnOldProc);
    ::SetWindowLongPtr(hTarget, GWLP_USERDATA, 0);
    m_hTarget = NULL;
    // The frame going with its own parent frees itself when its window ends.
    if (m_bDestroying || m_hWnd == NULL)
        return;
    HWND hParent = ::GetParent(m_hWnd);
    const CRect rc = ChildRectIn(m_hWnd, hParent);
    ::SetParent(hTarget, hParent);
    ::MoveWindow(hTarget, rc.left, rc.top, rc.Width(), rc.Height(), TRUE);
    const BOOL bAutoDelete = m_bAutoDelete;
    m_bAutoDelete = FALSE;
    DestroyWindow();
    if (bAutoDelete)
        delete this;
}

void CSkinScrollWnd::PostNcDestroy()
{
    if (m_bAutoDelete)
        delete this;
}

LRESULT CALLBACK CSkinScrollWnd::TargetProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CSkinScrollWnd* pFrame = (CSkinScrollWnd*)::GetWindowLongPtr(hWnd, GWLP_USERDATA);
    if (pFrame == NULL)
        return ::DefWindowProc(hWnd, message, wParam, lParam);
    WNDPROC pfnOld = pFrame->m_pfnOldProc;
    if (message == WM_DESTROY) {
        pFrame->UnskinWindow();
        return ::CallWindowProc(pfnOld, hWnd, message, wParam, lParam);
    }
    const LRESULT lResult = ::CallWindowProc(pfnOld, hWnd, message, wParam, lParam);
    // The previous procedure may have ended the skinning.
    pFrame = (CSkinScrollWnd*)::GetWindowLongPtr(hWnd, GWLP_USERDATA);
    if (pFrame != NULL && !pFrame->m_bBusy)
        pFrame->AfterTargetMessage(message, wParam, lParam);
    return lResult;
}

void CSkinScrollWnd::SyncBar(CSkinScrollBar& bar, int nBar, BOOL bEnable)
{
    SCROLLINFO si = {sizeof(SCROLLINFO), SIF_ALL};
    if (!::GetScrollInfo(m_hTarget, nBar, &si))
        return;
    SCROLLINFO cur = {sizeof(SCROLLINFO), SIF_ALL};
    bar.SendMessage(SBM_GETSCROLLINFO, 0, (LPARAM)&cur);
    if (!InfoDiffers(si, cur))
        return;
    si.fMask = SIF_ALL;
    bar.SendMessage(SBM_SETSCROLLINFO, TRUE, (LPARAM)&si);
    if (bEnable)
        bar.EnableWindow(si.nMax >= (int)si.nPage);
}

void CSkinScrollWnd::AfterTargetMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    const DWORD dwStyle = (DWORD)::GetWindowLong(m_hTarget, GWL_STYLE);
    const DWORD dwExStyle = (DWORD)::GetWindowLong(m_hTarget, GWL_EXSTYLE);
    if (message == WM_ERASEBKGND) {
        if (dwStyle & WS_VSCROLL)
            SyncBar(m_VertBar, SB_VERT, TRUE);
        if (dwStyle & WS_HSCROLL)
            SyncBar(m_HorzBar, SB_HORZ, TRUE);
        return;
    }
    if (message != WM_NCCALCSIZE || !wParam || lParam == 0)
        return;
    NCCALCSIZE_PARAMS* pParams = (NCCALCSIZE_PARAMS*)lParam;
    RECT& rcClient = pParams->rgrc[0];
    const int t = m_nThickness;
    const int cxBar = ::GetSystemMetrics(SM_CXVSCROLL);
    const BOOL bLeft = (dwExStyle & WS_EX_LEFTSCROLLBAR) != 0;
    const BOOL bVert = (dwStyle & WS_VSCROLL) != 0;
    const BOOL bHorz = (dwStyle & WS_HSCROLL) != 0;
    if (bVert) {
        if (bLeft)
            rcClient.left += t - cxBar;
        else
            rcClient.right += cxBar - t;
    }
    if (bHorz)
        rcClient.bottom += cxBar - t;

    // The client rectangle relative to the target's window: the target
    // always covers the frame's client area from its origin, so these are
    // frame client coordinates wherever the limiter currently places it.
    CPoint origin(0, 0);
    if (pParams->lppos != NULL)
        origin = CPoint(pParams->lppos->x, pParams->lppos->y);
    CRect c(rcClient);
    c.OffsetRect(-origin);
    CRect rcVert, rcHorz;
    if (bLeft) {
        rcVert.SetRect(c.left - t, 0, c.left, c.bottom);
        rcHorz.SetRect(c.left, c.bottom, c.right, c.bottom + t);
    } else {
        const int w = c.Width(), h = c.Height();
        rcVert.SetRect(w, 0, w + t, h);
        rcHorz.SetRect(0, h, w, h + t);
    }
    m_nCorner = (bVert && bHorz) ? (bLeft ? CORNER_LEFT : CORNER_RIGHT) : CORNER_NONE;
    if (bVert) {
        m_VertBar.MoveWindow(&rcVert, TRUE);
        m_VertBar.ShowWindow(SW_SHOW);
    } else
        m_VertBar.ShowWindow(SW_HIDE);
    if (bHorz) {
        m_HorzBar.MoveWindow(&rcHorz, TRUE);
        m_HorzBar.ShowWindow(SW_SHOW);
    } else
        m_HorzBar.ShowWindow(SW_HIDE);
    PostMessage(WM_RELAYOUT, bVert ? 1 : 0, bLeft ? 1 : 0);
}

void CSkinScrollWnd::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    if (cx == 0 || cy == 0 || m_Limiter.m_hWnd == NULL || m_hTarget == NULL)
        return;
    ::MoveWindow(m_hTarget, 0, 0, cx, cy, TRUE);
    if (!s_bRelayoutOnSize)
        return;
    const DWORD dwStyle = (DWORD)::GetWindowLong(m_hTarget, GWL_STYLE);
    const DWORD dwExStyle = (DWORD)::GetWindowLong(m_hTarget, GWL_EXSTYLE);
    PostMessage(WM_RELAYOUT, (dwStyle & WS_VSCROLL) ? 1 : 0, (dwExStyle & WS_EX_LEFTSCROLLBAR) ? 1 : 0);
}

LRESULT CSkinScrollWnd::OnRelayout(WPARAM wParam, LPARAM lParam)
{
    if (m_Limiter.m_hWnd == NULL)
        return 0;
    m_bBusy = TRUE;
    CRect rc;
    GetClientRect(&rc);
    if (m_HorzBar.m_hWnd != NULL && m_HorzBar.IsWindowVisible())
        rc.bottom -= m_nThickness;
    int x = 0;
    if (wParam) {
        if (lParam) {
            rc.left += m_nThickness;
            x = -m_nThickness;
        } else
            rc.right -= m_nThickness;
    }
    m_Limiter.MoveWindow(&rc, TRUE);
    if (m_hTarget != NULL)
        ::SetWindowPos(m_hTarget, NULL, x, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    m_bBusy = FALSE;
    return 0;
}

void CSkinScrollWnd::ForwardScroll(UINT message, UINT nSBCode, UINT nPos, CSkinScrollBar& bar, int nBar)
{
    if (m_hTarget == NULL)
        return;
    m_bBusy = TRUE;
    ::SendMessage(m_hTarget, message, MAKELONG(nSBCode, nPos), 0);
    if (nSBCode != SB_THUMBTRACK && m_hTarget != NULL) {
        SCROLLINFO si = {sizeof(SCROLLINFO), SIF_ALL};
        if (::GetScrollInfo(m_hTarget, nBar, &si)) {
            si.fMask = SIF_ALL;
            bar.SendMessage(SBM_SETSCROLLINFO, TRUE, (LPARAM)&si);
        }
    }
    m_bBusy = FALSE;
}

void CSkinScrollWnd::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar*)
{
    ForwardScroll(WM_VSCROLL, nSBCode, nPos, m_VertBar, SB_VERT);
}

void CSkinScrollWnd::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar*)
{
    ForwardScroll(WM_HSCROLL, nSBCode, nPos, m_HorzBar, SB_HORZ);
}

void CSkinScrollWnd::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != TIMER_POLL) {
        CWnd::OnTimer(nIDEvent);
        return;
    }
    if (m_hTarget == NULL)
        return;
    if (m_VertBar.m_hWnd != NULL && m_VertBar.IsWindowVisible() && !m_VertBar.IsDragging())
        SyncBar(m_VertBar, SB_VERT, FALSE);
    if (m_HorzBar.m_hWnd != NULL && m_HorzBar.IsWindowVisible() && !m_HorzBar.IsDragging())
        SyncBar(m_HorzBar, SB_HORZ, FALSE);
}

void CSkinScrollWnd::PaintFrame(CDC* pDC)
{
    CWnd* parts[] = {&m_Limiter, &m_HorzBar, &m_VertBar};
    for (CWnd* pPart : parts)
        if (pPart->m_hWnd != NULL && pPart->IsWindowVisible())
            pDC->ExcludeClipRect(ChildRectIn(pPart->m_hWnd, m_hWnd));
    if (m_nCorner == CORNER_NONE || m_hBitmap == NULL || m_nThickness <= 0)
        return;
    CRect rc;
    GetClientRect(&rc);
    const int t = m_nThickness;
    CDC mem;
    mem.CreateCompatibleDC(pDC);
    HGDIOBJ hOld = ::SelectObject(mem.GetSafeHdc(), m_hBitmap);
    if (m_nCorner == CORNER_LEFT)
        pDC->BitBlt(0, rc.bottom - t, t, t, &mem, 8 * t, t, SRCCOPY);
    else
        pDC->BitBlt(rc.right - t, rc.bottom - t, t, t, &mem, 8 * t, 0, SRCCOPY);
    ::SelectObject(mem.GetSafeHdc(), hOld);
}

void CSkinScrollWnd::OnPaint()
{
    CPaintDC dc(this);
    PaintFrame(&dc);
}

void CSkinScrollWnd::OnDestroy()
{
    m_bDestroying = TRUE;
    CWnd::OnDestroy();
}

LRESULT CSkinScrollWnd::CLimiter::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND || message == WM_NOTIFY) {
        HWND hFrame = ::GetParent(m_hWnd);
        HWND hOwner = hFrame != NULL ? ::GetParent(hFrame) : NULL;
        if (hOwner != NULL)
            return ::SendMessage(hOwner, message, wParam, lParam);
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

void CListScrollWnd::OnNcPaint()
{
    Default();
    DrawControlBorder(m_hWnd);
}

BOOL CListScrollWnd::OnEraseBkgnd(CDC*)
{
    return TRUE;
}
