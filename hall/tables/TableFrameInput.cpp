// Hit testing and the press state machine of the grid: a seat click is a
// press and a release on the same chair of the same table.
#include "TableFrame.h"

#include "resource.h"

WORD CTableFrame::TableHitTest(CPoint point)
{
    if (!HasTableSize())
        return INVALID_TABLE_ID;
    if (m_nTableMode == TABLE_MODE_ANTI_CHEAT)
        return 0;
    const int tw = m_TableResource.m_wWidth;
    const int th = m_TableResource.m_wHeight;
    // Left of the first column or above the first row is no table (division
    // would round those points into column or row 0).
    if (m_nColumns == 0 || point.x < m_nXOrigin || point.y + m_nScrollPos < 0)
        return INVALID_TABLE_ID;
    const int column = (point.x - m_nXOrigin) / tw;
    const int row = (point.y + m_nScrollPos) / th;
    if (column >= m_nColumns)
        return INVALID_TABLE_ID;
    const INT_PTR index = INT_PTR(row) * m_nColumns + column;
    if (index >= m_wTableCount)
        return INVALID_TABLE_ID;
    if (m_wDisplayFlags != TABLE_DISPLAY_FREE)
        return WORD(index);
    const INT_PTR position = index + FirstFreeView();
    if (position >= m_OrderedViews.GetSize())
        return INVALID_TABLE_ID;
    return m_OrderedViews[position]->GetTableAttribute()->wTableID;
}

WORD CTableFrame::ChairHitTest(CPoint point)
{
    if (IsAutoSeat())
        return m_wChairCount >= 1 && m_TableResource.m_rcChair[0].PtInRect(point) ? 0 : INVALID_CHAIR_ID;
    const WORD limit = m_wChairCount > MAX_TABLE_CHAIR ? WORD(MAX_TABLE_CHAIR) : m_wChairCount;
    for (WORD i = 0; i < limit; ++i)
        if (m_TableResource.m_rcChair[i].PtInRect(point))
            return i;
    return INVALID_CHAIR_ID;
}

CPoint CTableFrame::TablePoint(CPoint point) const
{
    const int tw = m_TableResource.m_wWidth;
    const int th = m_TableResource.m_wHeight;
    if (tw == 0 || th == 0)
        return CPoint(-1, -1);
    // The one table of mode 2 lies where painting puts it, so hover, press
    // and release agree on its chairs.
    if (m_nTableMode == TABLE_MODE_ANTI_CHEAT)
        return CPoint(point.x - m_nXOrigin, point.y - m_nYOrigin);
    return CPoint((point.x - m_nXOrigin) % tw, (point.y + m_nScrollPos - m_nYOrigin) % th);
}

BOOL CTableFrame::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    if (m_bCycle || m_bLeftDown || m_bRightDown)
        return CWnd::OnSetCursor(pWnd, nHitTest, message);
    CPoint point;
    AfxGetCursorPos(&point);
    ScreenToClient(&point);
    const WORD table = TableHitTest(point);
    WORD chair = INVALID_CHAIR_ID;
    if (table < m_wTableCount)
        chair = ChairHitTest(TablePoint(point));
    if ((table != m_wPressedTable || chair != m_wPressedChair) &&
        !(table == INVALID_TABLE_ID && m_wPressedChair == INVALID_CHAIR_ID)) {
        if (ITableView* pOld = GetTableViewItem(m_wPressedTable))
            pOld->SetHoverChair(INVALID_CHAIR_ID);
        if (table != INVALID_TABLE_ID && chair != INVALID_CHAIR_ID) {
            if (ITableView* pNew = GetTableViewItem(table))
                pNew->SetHoverChair(chair);
        }
    }
    m_wPressedTable = table;
    m_wPressedChair = chair;
    if (table != INVALID_TABLE_ID && chair != INVALID_CHAIR_ID) {
        ::SetCursor(::LoadCursor(AfxGetResourceHandle(), MAKEINTRESOURCE(IDC_HAND_CURSOR)));
        return TRUE;
    }
    return CWnd::OnSetCursor(pWnd, nHitTest, message);
}

void CTableFrame::ButtonDown(CPoint point, bool bRight)
{
    if (m_bCycle || m_InformationBox.HitTest(point.x, point.y))
        return;
    SetFocus();
    if (m_bLeftDown || m_bRightDown)
        return;
    SetCapture();
    (bRight ? m_bRightDown : m_bLeftDown) = true;
    m_wPressedTable = TableHitTest(point);
    m_wPressedChair = INVALID_CHAIR_ID;
    ITableView* pView = GetTableViewItem(m_wPressedTable);
    if (pView == NULL)
        return;
    m_wPressedChair = ChairHitTest(TablePoint(point));
    if (m_wPressedChair != INVALID_CHAIR_ID) {
        pView->SetMouseDown(true);
        pView->SetHoverChair(m_wPressedChair);
    }
}

void CTableFrame::ButtonUp(CPoint point, bool bRight)
{
    if (m_bCycle)
        return;
    if (m_InformationBox.HitTest(point.x, point.y)) {
        if (!bRight)
            m_InformationBox.OnLButtonUp(point.x, point.y);
        return;
    }
    if (bRight ? !m_bRightDown : (!m_bLeftDown || m_bRightDown))
        return;
    ReleaseCapture();
    (bRight ? m_bRightDown : m_bLeftDown) = false;
    const WORD table = TableHitTest(point);
    if (ITableView* pPressed = GetTableViewItem(m_wPressedTable)) {
        pPressed->SetMouseDown(false);
        pPressed->SetHoverChair(INVALID_CHAIR_ID);
    }
    WORD chair = INVALID_CHAIR_ID;
    if (table == m_wPressedTable && GetTableViewItem(table) != NULL)
        chair = ChairHitTest(TablePoint(point));
    const bool bClick = table == m_wPressedTable && chair == m_wPressedChair;
    m_wPressedTable = INVALID_TABLE_ID;
    m_wPressedChair = INVALID_CHAIR_ID;
    if (!bClick || m_pSink == NULL)
        return;
    if (bRight)
        m_pSink->OnRButtonHitTable(table, chair, 0);
    else
        m_pSink->OnLButtonHitTable(table, chair, 0);
}

void CTableFrame::OnLButtonDown(UINT nFlags, CPoint point)
{
    ButtonDown(point, false);
}

void CTableFrame::OnLButtonUp(UINT nFlags, CPoint point)
{
    ButtonUp(point, false);
}

void CTableFrame::OnRButtonDown(UINT nFlags, CPoint point)
{
    ButtonDown(point, true);
}

void CTableFrame::OnRButtonUp(UINT nFlags, CPoint point)
{
    ButtonUp(point, true);
}

void CTableFrame::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    if (m_bCycle || m_InformationBox.HitTest(point.x, point.y))
        return;
    SetFocus();
    if (m_pSink != NULL)
        m_pSink->OnDoubleHitTable(m_wPressedTable, 0);
}

void CTableFrame::OnMouseMove(UINT nFlags, CPoint point)
{
    if (m_bCycle)
        return;
    if (m_InformationBox.HitTest(point.x, point.y))
        m_InformationBox.OnMouseMove(point.x, point.y);
}
