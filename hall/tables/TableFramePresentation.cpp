// Table mode 2: the anti-cheat presentation (one centred table without
// players' faces) and the cycle-match presentation (with a start button and
// the match's web page); and the closing frames that draw attention to a
// table or a chair.
#include "TableFrame.h"

#include <algorithm>

#include "GlobalUnits.h"

namespace
{
const DWORD kUnknownMatch = 0xFFFFFFFF;
} // namespace

void CTableFrame::SetTableMode(DWORD dwMode, bool bCycle)
{
    m_nTableMode = int(dwMode);
    m_bCycle = bCycle;
    if (m_nTableMode != TABLE_MODE_NORMAL)
        m_bShowUser = false;
    if (m_nTableMode == TABLE_MODE_ANTI_CHEAT) {
        m_wTableCount = 1;
        LoadPresentationPictures(bCycle);
        m_TableResource.LoadMatchCheatResource(bCycle);
    }
    if (bCycle)
        CreateCyclePresentation();
    if (GetSafeHwnd() != NULL) {
        CRect client;
        GetClientRect(&client);
        OnSize(SIZE_RESTORED, client.Width(), client.Height());
        Invalidate(TRUE);
    }
}

void CTableFrame::LoadPresentationPictures(bool bCycle)
{
    CString folder;
    folder.Format("%sgameroom\\AntiCheating\\", g_GlobalUnits.GetResourceDirectory());
    m_PicAntiCheat.Destroy();
    if (!bCycle)
        m_PicAntiCheat.Load(folder + "AntiCheat.png");
    m_PicMessageFrame.Load(folder + "MessageBox.png");
    m_PicState[0].Load(folder + "fzbmsg1.png");
    m_PicState[1].Load(folder + "fzbmsg2.png");
    m_PicState[2].Load(folder + (bCycle ? "fzbmsg4.png" : "fzbmsg3.png"));
}

void CTableFrame::CreateCyclePresentation()
{
    if (GetSafeHwnd() != NULL)
        m_WidgetManager.SetParentHwnd(m_hWnd);
    if (!m_bCycleButtonAdded) {
        m_CycleButton.Create(IDC_CYCLE_MATCH_BUTTON, this, "", 0);
        m_WidgetManager.AddWidget(&m_CycleButton);
        m_bCycleButtonAdded = true;
    }
    m_CycleButton.SetImageBack(&m_TableResource.m_PicCycleStart);

    if (m_pCyclePage == NULL && m_pHost != NULL && GetSafeHwnd() != NULL)
        m_pCyclePage = m_pHost->CreateCycleMatchPage(this);
    if (m_pCyclePage == NULL)
        return;
    CString urls;
    urls.Format("%sConfig\\Urls.ini", g_GlobalUnits.GetWorkDirectory());
    char base[256] = "";
    ::GetPrivateProfileStringA("MatchUrl", "CycleUrl", "", base, 255, urls);
    // Until the own user is ready the room knows no match: a page for match
    // "-1" would be a wrong page, so the page waits empty.
    const DWORD matchId = m_pHost->GetMatchId();
    if (matchId != kUnknownMatch) {
        CString address;
        address.Format("%s?%d", base, int(matchId));
        m_pCyclePage->Navigate(address);
    }
    m_pCyclePage->ShowWindow(SW_SHOW);
}

void CTableFrame::LayoutSingleTable(int cx, int cy)
{
    const int tw = m_TableResource.m_wWidth;
    const int th = m_TableResource.m_wHeight;
    if (m_wTableCount > 0) {
        const int w = std::max(tw, cx);
        const int h = std::max(th, cy);
        m_nColumns = m_nRows = m_nVisibleRows = 1;
        m_nXOrigin = (w - tw) / 2;
        m_nYOrigin = (h - th) / 2 + 70;
        if (m_bCycle) {
            m_CycleButton.Move((w - m_CycleButton.GetWidth()) / 2, h / 2 + m_TableResource.m_nOffYCycleMatchButton);
            if (m_pCyclePage != NULL)
                m_pCyclePage->MoveWindow(cx - 255, 9, 250, 390);
            m_nYOrigin = (h - th) / 2 + 20;
        }
    }
    m_InformationBox.SetBoxRect(6, 5, m_nColumns * tw - 6, 27);
    m_nScrollPos = 0;
    m_nContentHeight = m_nRows * th;
    PlaceScrollBar(cx, cy);
}

void CTableFrame::PaintPresentation(CDC* pDC, const CRect& rc)
{
    HDC hDC = pDC->GetSafeHdc();
    const int width = rc.Width();
    if (m_PicAntiCheat.IsValid() || m_TableResource.m_PicCycleLogo.IsValid()) {
        if (m_bCycle) {
            if (m_TableResource.m_PicCycleLogo.IsValid())
                m_TableResource.m_PicCycleLogo.Draw(hDC, m_TableResource.m_ptCycleMatchLog.x,
                                                    m_TableResource.m_ptCycleMatchLog.y);
        } else if (m_PicAntiCheat.IsValid()) {
            m_PicAntiCheat.Draw(hDC, 13, 18);
        }
    }
    if (m_PicMessageFrame.IsValid() && m_nCycleMatchState >= 1 && m_nCycleMatchState <= 3) {
        CPicture& state = m_PicState[m_nCycleMatchState - 1];
        if (state.IsValid())
            state.Draw(hDC, (width - int(m_PicMessageFrame.GetWidth())) / 2 + 76, 51);
    }
    CPicture& notice = m_TableResource.m_PicNotice;
    if (notice.IsValid())
        notice.Draw(hDC, width - int(notice.GetWidth()) - 5, 9);
}

void CTableFrame::SetCycleMatchState(int nState)
{
    m_nCycleMatchState = nState;
    if (m_bCycle)
        m_CycleButton.SetDisabled(nState >= 2);
    if (GetSafeHwnd() != NULL)
        Invalidate(TRUE);
}

void CTableFrame::SetCycleMatchSeat(WORD wTableID, WORD wChairID)
{
    // The table comes from the server: a number without a view changes nothing.
    ITableView* pView = GetTableViewItem(wTableID);
    if (pView == NULL)
        return;
    m_nCycleMatchState = 2;
    if (m_bCycle)
        m_CycleButton.SetDisabled(true);
    pView->SetCycleMatchChair(wChairID);
    if (GetSafeHwnd() != NULL)
        Invalidate(TRUE);
}

void CTableFrame::ButtonClick(int nID)
{
    if (nID != IDC_CYCLE_MATCH_BUTTON)
        return;
    m_wPressedTable = INVALID_TABLE_ID;
    m_wPressedChair = INVALID_CHAIR_ID;
    if (m_pSink != NULL)
        m_pSink->OnLButtonHitTable(0, 0, 0);
}

int CTableFrame::DisplayPosition(WORD wTableID, bool bFold)
{
    if (bFold && m_nTableMode == TABLE_MODE_SINGLE)
        return 0;
    if (m_wDisplayFlags != TABLE_DISPLAY_FREE)
        return wTableID;
    for (INT_PTR i = 0; i < m_OrderedViews.GetSize(); ++i)
        if (m_OrderedViews[i]->GetTableAttribute()->wTableID == wTableID)
            return int(i - FirstFreeView());
    return wTableID;
}

bool CTableFrame::FlashChair(WORD wTableID, WORD wChairID)
{
    const int position = DisplayPosition(wTableID, true);
    if (position < 0 || GetTableViewItem(WORD(position)) == NULL || wChairID >= MAX_TABLE_CHAIR)
        return false;
    if (!HasTableSize() || m_nColumns == 0)
        return false;
    CRect frame = m_TableResource.m_rcChair[wChairID];
    if (m_nTableMode == TABLE_MODE_ANTI_CHEAT)
        frame.OffsetRect(m_nXOrigin, m_nYOrigin);
    else
        frame.OffsetRect((position % m_nColumns) * m_TableResource.m_wWidth + m_nXOrigin,
                         (position / m_nColumns) * m_TableResource.m_wHeight - m_nScrollPos);
    frame.InflateRect(72, 72);
    return FlashFrame(frame);
}

bool CTableFrame::FlashTable(WORD wTableID)
{
    const int position = DisplayPosition(wTableID, false);
    if (position < 0 || GetTableViewItem(WORD(position)) == NULL || !HasTableSize() || m_nColumns == 0)
        return false;
    const int tw = m_TableResource.m_wWidth;
    const int th = m_TableResource.m_wHeight;
    CRect frame(0, 0, tw, th);
    if (m_nTableMode == TABLE_MODE_ANTI_CHEAT)
        frame.OffsetRect(m_nXOrigin, m_nYOrigin);
    else
        frame.OffsetRect((position % m_nColumns) * tw + m_nXOrigin, (position / m_nColumns) * th - m_nScrollPos);
    return FlashFrame(frame);
}

bool CTableFrame::FlashFrame(CRect frame)
{
    if (GetSafeHwnd() == NULL)
        return false;
    CRect area = ScrollArea();
    InvalidateRect(&area, TRUE);
    UpdateWindow();
    CWindowDC dc(this);
    CPen pen;
    pen.CreatePen(PS_SOLID, 0, ::GetSysColor(COLOR_BTNHIGHLIGHT));
    CPen* pOldPen = dc.SelectObject(&pen);
    int oldMode = dc.SetROP2(R2_XORPEN);
    for (int k = 18; k >= 0; --k) {
        m_pFlashPainter->DrawOutline(&dc, frame);
        m_pFlashPainter->Wait(DWORD(18 - k) * 2);
        m_pFlashPainter->DrawOutline(&dc, frame);
        frame.DeflateRect(4, 4);
    }
    dc.SetROP2(oldMode);
    dc.SelectObject(pOldPen);
    return true;
}
