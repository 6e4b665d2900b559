// The grid's layout, painting and scrolling.
#include "TableFrame.h"

#include <algorithm>

#include "GlobalUnits.h"
#include "WidgetDC.h"
#include "XTVBufferDC.h"

BEGIN_MESSAGE_MAP(CTableFrame, CWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_SETCURSOR()
    ON_WM_MOUSEWHEEL()
    ON_WM_VSCROLL()
    ON_WM_TIMER()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_RBUTTONDOWN()
    ON_WM_RBUTTONUP()
END_MESSAGE_MAP()

namespace
{
const int kScrollBarWidth = 16;
const int kBoxLeft = 6;
const int kBoxTop = 5;
const int kBoxHeight = 27;
} // namespace

LRESULT CTableFrame::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    // The widgets (the cycle-match button) see every message first.
    m_EventBuilder.BuildEvent(m_hWnd, message, wParam, lParam);
    return CWnd::WindowProc(message, wParam, lParam);
}

int CTableFrame::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    m_ScrollBar.Create(SBS_VERT | WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), this, 0);
    if (m_hScrollBitmap == NULL) {
        CString path;
        path.Format("%sCommon\\scrollbar\\scrollbar.bmp", g_GlobalUnits.GetResourceDirectory());
        m_hScrollBitmap = CGlobalUnits::LoadPictureFile(path);
    }
    if (m_hScrollBitmap != NULL)
        m_ScrollBar.SetBitmap(m_hScrollBitmap);
    return 0;
}

BOOL CTableFrame::OnEraseBkgnd(CDC* pDC)
{
    // Painting covers the whole client area.
    return TRUE;
}

void CTableFrame::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    if (m_nTableMode == TABLE_MODE_ANTI_CHEAT)
        LayoutSingleTable(cx, cy);
    else
        LayoutTables(cx, cy);
}

void CTableFrame::LayoutTables(int cx, int cy)
{
    const int tw = m_TableResource.m_wWidth;
    const int th = m_TableResource.m_wHeight;
    if (m_wTableCount > 0 && HasTableSize()) {
        const int w = std::max(tw, cx);
        const int h = std::max(th, cy);
        m_nColumns = w / tw;
        m_nVisibleRows = h / th;
        m_nRows = (m_wTableCount - 1 + m_nColumns) / m_nColumns;
        m_nXOrigin = 3;
        if (IsAutoSeat())
            m_nXOrigin = 3 + (w - m_nColumns * tw) / (2 * m_nColumns);
        m_nYOrigin = 0;
    }
    m_InformationBox.SetBoxRect(kBoxLeft, kBoxTop, m_nColumns * tw - kBoxLeft, kBoxHeight);

    m_nContentHeight = m_nRows * th;
    int last = m_nContentHeight - m_nVisibleRows * th;
    m_nScrollPos = std::max(0, std::min(m_nScrollPos, last));
    PlaceScrollBar(cx, cy);
}

void CTableFrame::PlaceScrollBar(int cx, int cy)
{
    if (m_ScrollBar.GetSafeHwnd() == NULL)
        return;
    bool bShow = cy <= m_nContentHeight && m_nTableMode != TABLE_MODE_ANTI_CHEAT;
    m_ScrollBar.MoveWindow(cx - ::GetSystemMetrics(SM_CXVSCROLL), 0, kScrollBarWidth, cy);
    SCROLLINFO info = {};
    info.cbSize = sizeof(info);
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMin = 0;
    info.nMax = m_nContentHeight;
    info.nPage = UINT(std::max(cy, 0));
    info.nPos = m_nScrollPos;
    m_ScrollBar.SetScrollInfo(&info, FALSE);
    m_ScrollBar.ShowWindow(bShow ? SW_SHOW : SW_HIDE);
}

int CTableFrame::CalcTableLayout(int nWidth)
{
    if (IsAutoSeat())
        return 0;
    if (m_wTableCount == 0 || !HasTableSize())
        return 0;
    if (m_nTableMode == TABLE_MODE_ANTI_CHEAT) {
        m_nColumns = m_nRows = 1;
        return 0;
    }
    const int tw = m_TableResource.m_wWidth;
    const int w = std::max(tw, nWidth);
    m_nColumns = w / tw;
    m_nRows = (m_wTableCount - 1 + m_nColumns) / m_nColumns;
    return w - m_nColumns * tw - 5;
}

CRect CTableFrame::ScrollArea() const
{
    CRect rect;
    GetClientRect(&rect);
    rect.right -= ::GetSystemMetrics(SM_CXVSCROLL);
    return rect;
}

void CTableFrame::SetBarPosition(int nPos)
{
    if (m_ScrollBar.GetSafeHwnd() == NULL)
        return;
    // Through the scroll information: the skinned bar keeps its own.
    SCROLLINFO info = {};
    info.cbSize = sizeof(info);
    info.fMask = SIF_POS;
    info.nPos = nPos;
    m_ScrollBar.SetScrollInfo(&info, TRUE);
}

void CTableFrame::SetScrollPosition(int nPos)
{
    m_nScrollPos = nPos;
    SetBarPosition(nPos);
    CRect area = ScrollArea();
    InvalidateRect(&area, TRUE);
}

BOOL CTableFrame::OnMouseWheel(UINT nFlags, short zDelta, CPoint point)
{
    if (m_nTableMode == TABLE_MODE_ANTI_CHEAT)
        return TRUE;
    CRect client;
    GetClientRect(&client);
    int pos = std::min(m_nScrollPos - zDelta / 2, m_nContentHeight - client.Height());
    pos = std::max(pos, 0);
    SetScrollPosition(pos);
    return TRUE;
}

void CTableFrame::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    if (pScrollBar == NULL || pScrollBar->GetSafeHwnd() != m_ScrollBar.GetSafeHwnd() ||
        pScrollBar->GetSafeHwnd() == NULL)
        return;
    CRect client;
    GetClientRect(&client);
    int pos = m_nScrollPos;
    switch (nSBCode) {
    case SB_LINEUP: pos -= 10; break;
    case SB_LINEDOWN: pos += 10; break;
    case SB_PAGEUP: pos -= client.Height(); break;
    case SB_PAGEDOWN: pos += client.Height(); break;
    case SB_THUMBTRACK: pos = int(nPos); break;
    case SB_TOP: pos = 0; break;
    case SB_BOTTOM: pos = m_nContentHeight - m_nVisibleRows * m_TableResource.m_wHeight; break;
    default: break;
    }
    SetFocus();
    pos = std::max(0, std::min(pos, m_nContentHeight - client.Height()));
    if (pos != m_nScrollPos)
        SetScrollPosition(pos);
}

bool CTableFrame::EnsureVisibleTable(WORD wTableID)
{
    if (wTableID >= m_wTableCount || m_nColumns == 0 || !HasTableSize())
        return false;
    const int th = m_TableResource.m_wHeight;
    CRect client;
    GetClientRect(&client);
    int top = (wTableID / m_nColumns) * th - m_nScrollPos + m_nYOrigin;
    int bottom = top + th;
    int pos = m_nScrollPos;
    if (bottom > client.bottom || top < 0)
        pos += bottom - client.bottom;
    pos = std::max(0, std::min(pos, m_nContentHeight - m_nVisibleRows * th));
    if (pos != m_nScrollPos) {
        m_nScrollPos = pos;
        SetBarPosition(pos);
        if (GetSafeHwnd() != NULL)
            Invalidate(TRUE);
    }
    return true;
}

void CTableFrame::OnTimer(UINT_PTR nIDEvent)
{
    m_InformationBox.OnTimer(nIDEvent);
    CWnd::OnTimer(nIDEvent);
}

void CTableFrame::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    CXTVBufferDC buffer(&dc, client);
    buffer.FillSolidRect(&client, m_TableResource.m_crBackGround);
    // Without a table size nothing can be laid out: the background only.
    if (m_wTableCount > 0 && HasTableSize() && (m_nColumns > 0 || m_nTableMode == TABLE_MODE_ANTI_CHEAT)) {
        PaintTables(&buffer, client);
        if (m_nTableMode == TABLE_MODE_ANTI_CHEAT)
            PaintPresentation(&buffer, client);
    }
    CWidgetDC widgetDC(&buffer, client);
    m_WidgetManager.DrawWidgetsTo(&widgetDC);
}

void CTableFrame::PaintTables(CDC* pDC, const CRect& rc)
{
    const int tw = m_TableResource.m_wWidth;
    const int th = m_TableResource.m_wHeight;
    const COLORREF background = m_TableResource.m_crBackGround;
    const bool bFree = m_wDisplayFlags == TABLE_DISPLAY_FREE && m_nTableMode != TABLE_MODE_ANTI_CHEAT;
    const int columns = std::max(m_nColumns, 1);

    INT_PTR first = 0;
    INT_PTR last = 0;
    if (bFree) {
        first = FirstFreeView();
        last = m_OrderedViews.GetSize() - 1;
        if (first > last)
            return;
    }

    CFont font;
    font.CreateFont(-12, 0, 0, 0, 400, FALSE, FALSE, FALSE, GB2312_CHARSET, OUT_STROKE_PRECIS, CLIP_STROKE_PRECIS,
                    DRAFT_QUALITY, VARIABLE_PITCH, "宋体");
    CDC memDC;
    memDC.CreateCompatibleDC(pDC);
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(pDC, tw, th);
    CBitmap* pOldBitmap = memDC.SelectObject(&bitmap);
    memDC.SetBkMode(TRANSPARENT);
    CFont* pOldFont = memDC.SelectObject(&font);

    const int firstColumn = std::max(0, int(rc.left - m_nXOrigin) / tw);
    const int firstRow = int(m_nScrollPos + rc.top) / th;
    const int rowEnd = int(m_nScrollPos + rc.bottom - 1 + th) / th;
    const int columnEnd = int(rc.right - m_nXOrigin - 1 + tw) / tw;
    const int yOrigin = bFree ? 0 : m_nYOrigin;
    for (int r = firstRow; r < rowEnd; ++r) {
        int drawn = 0;
        const int y = r * th - m_nScrollPos + yOrigin;
        for (int c = firstColumn; c < columnEnd; ++c) {
            const int x = c * tw + m_nXOrigin;
            const INT_PTR index = INT_PTR(r) * columns + firstColumn + drawn;
            CTableView* pView = NULL;
            if (c < columns) {
                if (bFree && index + first <= last)
                    pView = m_OrderedViews[index + first];
                else if (!bFree && index < m_wTableCount && index < m_TableViews.GetSize())
                    pView = m_TableViews[index];
            }
            if (pView != NULL) {
                pView->DrawTableView(&memDC, &m_TableResource, m_bShowUser);
                pDC->BitBlt(x, y, tw, th, &memDC, 0, 0, SRCCOPY);
                ++drawn;
            } else {
                pDC->FillSolidRect(x, y, tw, th, background);
            }
        }
        if (m_nXOrigin > rc.left)
            pDC->FillSolidRect(rc.left, y, m_nXOrigin - rc.left, th, background);
        if (!bFree && m_nYOrigin > rc.top)
            pDC->FillSolidRect(rc.left, rc.top, rc.Width(), m_nYOrigin - rc.top, background);
        m_InformationBox.DrawInformationBox(pDC);
    }

    memDC.SelectObject(pOldFont);
    memDC.SelectObject(pOldBitmap);
}
