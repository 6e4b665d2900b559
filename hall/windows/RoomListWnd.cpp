#include "RoomListWnd.h"

#include <XTVBufferDC.h>

#include <algorithm>

#include "GameRoom.h"
#include "GlobalUnits.h"

BEGIN_MESSAGE_MAP(CRoomListWnd, CWnd)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_MOUSELEAVE()
    ON_WM_VSCROLL()
END_MESSAGE_MAP()

namespace
{
const COLORREF ROOM_LIST_BACK = 0xFFFFFF;
const COLORREF NAME_COLOUR = 0x7E7000;
const COLORREF HOT_NAME_COLOUR = 0xFFFFFF;
const COLORREF HOT_BACK_COLOUR = 0xC08020;
const int NAME_LEFT = 20;
const int BUTTON_FROM_RIGHT = 48;
const int GAUGE_GAP = 8;
} // namespace

CRoomListWnd::CRoomListWnd() : m_nScrollPos(0), m_nContentHeight(0), m_bTracking(false) {}

CRoomListWnd::~CRoomListWnd()
{
    for (auto& entry : m_Rows)
        delete entry.second;
}

BOOL CRoomListWnd::CreateList(const CRect& rect, CWnd* pParent, UINT nID)
{
    const CString folder = g_GlobalUnits.GetResourceDirectory();
    m_Gauge.Load(folder + "CompetiteEntry\\itempro.bmp");
    m_EnterButton.Load(folder + "CompetiteEntry\\btin.bmp");
    m_EnterButton.SetTransColor(CPicture::RgbToQuad(RGB(255, 0, 255)));
    m_Tool.Load(folder + "selfinfo\\Tool.png");
    if (m_NameFont.GetSafeHandle() == NULL)
        m_NameFont.CreateFont(-12, 0, 0, 0, FW_BOLD, 0, 0, 0, GB2312_CHARSET, 0, 0, 0, 0, "宋体");
    const CString cls = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(NULL, IDC_ARROW));
    return CreateEx(0, cls, "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_CLIPSIBLINGS, rect, pParent, nID);
}

CGameRoom* CRoomListWnd::GetRoomAt(int nRow) const
{
    const tagRoomRow* row = GetRow(nRow);
    return row != NULL ? row->pRoom : NULL;
}

const tagRoomRow* CRoomListWnd::GetRow(int nRow) const
{
    auto it = m_Rows.find(nRow);
    return it != m_Rows.end() ? it->second : NULL;
}

int CRoomListWnd::GetMaxScroll() const
{
    CRect rc;
    GetClientRect(&rc);
    return std::max(0, m_nContentHeight - rc.Height());
}

void CRoomListWnd::AddRoom(CGameRoom* pRoom)
{
    CRect rc;
    GetClientRect(&rc);
    const int n = (int)m_Rows.size();
    tagRoomRow* row = new tagRoomRow;
    row->pRoom = pRoom;
    row->rcRow.SetRect(0, n * ROW_HEIGHT, rc.Width(), (n + 1) * ROW_HEIGHT);
    row->EnterButton.SetImage(&m_EnterButton, rc.Width() - BUTTON_FROM_RIGHT, n * ROW_HEIGHT + 3);
    row->bHot = false;
    m_Rows[n] = row;
    // The new row ends at (n + 1) rows: all of it must scroll into view.
    if ((n + 1) * ROW_HEIGHT > rc.Height())
        m_nContentHeight = std::max(m_nContentHeight, (n + 1) * ROW_HEIGHT);
    m_nScrollPos = std::max(0, std::min(m_nScrollPos, GetMaxScroll()));
    UpdateScrollBar();
    Invalidate(FALSE);
}

void CRoomListWnd::ClearRooms()
{
    for (auto& entry : m_Rows)
        delete entry.second;
    m_Rows.clear();
    m_nContentHeight = 0;
    m_nScrollPos = 0;
    if (GetSafeHwnd() != NULL) {
        UpdateScrollBar();
        Invalidate(FALSE);
    }
}

void CRoomListWnd::UpdateScrollBar()
{
    CRect rc;
    GetClientRect(&rc);
    SCROLLINFO si = {sizeof(si)};
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    si.nMin = 0;
    si.nMax = std::max(0, m_nContentHeight - 1);
    si.nPage = (UINT)rc.Height();
    si.nPos = m_nScrollPos;
    SetScrollInfo(SB_VERT, &si, TRUE);
}

int CRoomListWnd::RowFromPoint(CPoint point) const
{
    if (point.y < 0)
        return -1;
    // Rows are drawn shifted by the scroll position.
    const int row = (point.y + m_nScrollPos) / ROW_HEIGHT;
    return row < (int)m_Rows.size() ? row : -1;
}

int CRoomListWnd::GetHotRow() const
{
    for (const auto& entry : m_Rows) {
        if (entry.second->bHot)
            return entry.first;
    }
    return -1;
}

int CRoomListWnd::GaugeFill(DWORD dwOnline, DWORD dwCapacity, int nGaugeWidth, int* pBand)
{
    DWORD percent = 0;
    if (dwCapacity != 0)
        percent = (DWORD)std::min<unsigned long long>(100, (unsigned long long)dwOnline * 100 / dwCapacity);
    if (pBand != NULL)
        *pBand = percent < 50 ? 1 : (percent <= 80 ? 2 : 3);
    return (int)((long long)nGaugeWidth * percent / 100);
}

void CRoomListWnd::DrawRow(CDC* pDC, const tagRoomRow& row, int nOffset)
{
    CRect rc = row.rcRow;
    rc.OffsetRect(0, -nOffset);
    pDC->FillSolidRect(&rc, row.bHot ? HOT_BACK_COLOUR : ROOM_LIST_BACK);
    if (row.pRoom != NULL) {
        CFont* pOldFont = pDC->SelectObject(&m_NameFont);
        const COLORREF crOld = pDC->SetTextColor(row.bHot ? HOT_NAME_COLOUR : NAME_COLOUR);
        const int nOldMode = pDC->SetBkMode(TRANSPARENT);
        CRect rcName(rc.left + NAME_LEFT, rc.top, rc.right, rc.bottom);
        pDC->DrawText(row.pRoom->GetName(), &rcName, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        pDC->SetBkMode(nOldMode);
        pDC->SetTextColor(crOld);
        pDC->SelectObject(pOldFont);
    }
    if (m_Gauge.IsValid() && row.pRoom != NULL) {
        // The picture holds the empty gauge over its three filled bands.
        const int w = (int)m_Gauge.GetWidth();
        const int h = (int)m_Gauge.GetHeight() / GAUGE_BANDS;
        const int x = rc.right - BUTTON_FROM_RIGHT - GAUGE_GAP - w;
        const int y = rc.top + (rc.Height() - h) / 2;
        CRect rcEmpty(x, y, x + w, y + h);
        m_Gauge.Draw(pDC->GetSafeHdc(), x, y, -1, -1, &rcEmpty);
        int band = 1;
        const int fill = GaugeFill(row.pRoom->GetOnlineCount(), row.pRoom->GetCapacity(), w, &band);
        if (fill > 0) {
            CRect rcFill(x, y, x + fill, y + h);
            m_Gauge.Draw(pDC->GetSafeHdc(), x, y - band * h, -1, -1, &rcFill);
        }
    }
    CButtonImage button = row.EnterButton;
    button.OffsetRect(0, -nOffset);
    button.Draw(pDC);
}

void CRoomListWnd::OnPaint()
{
    CPaintDC dc(this);
    CRect rc;
    GetClientRect(&rc);
    CXTVBufferDC buffer(dc);
    buffer.FillSolidRect(&rc, ROOM_LIST_BACK);
    for (const auto& entry : m_Rows)
        DrawRow(&buffer, *entry.second, m_nScrollPos);
}

BOOL CRoomListWnd::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CRoomListWnd::OnLButtonDown(UINT, CPoint point)
{
    const int n = RowFromPoint(point);
    if (n < 0)
        return;
    tagRoomRow* row = m_Rows[n];
    CRect rcButton = row->EnterButton.GetRect();
    rcButton.OffsetRect(0, -m_nScrollPos);
    row->EnterButton.SetState(rcButton.PtInRect(point) ? 1 : 0);
    CWnd* pParent = GetParent();
    if (pParent != NULL)
        pParent->PostMessage(WM_ROOM_CHOSEN, (WPARAM)row->pRoom, 0);
}

void CRoomListWnd::OnMouseMove(UINT, CPoint point)
{
    const int hot = RowFromPoint(point);
    bool changed = false;
    for (auto& entry : m_Rows) {
        const bool bHot = entry.first == hot;
        changed = changed || entry.second->bHot != bHot;
        entry.second->bHot = bHot;
    }
    if (!m_bTracking) {
        TRACKMOUSEEVENT tme = {sizeof(tme), TME_LEAVE, m_hWnd, 0};
        m_bTracking = ::TrackMouseEvent(&tme) != FALSE;
    }
    if (changed)
        Invalidate(FALSE);
}

void CRoomListWnd::OnMouseLeave()
{
    m_bTracking = false;
    for (auto& entry : m_Rows)
        entry.second->bHot = false;
    Invalidate(FALSE);
}

void CRoomListWnd::ScrollTo(int nPos)
{
    nPos = std::max(0, std::min(nPos, GetMaxScroll()));
    if (nPos == m_nScrollPos)
        return;
    const int delta = m_nScrollPos - nPos;
    m_nScrollPos = nPos;
    SetScrollPos(SB_VERT, nPos, TRUE);
    ScrollWindow(0, delta);
    Invalidate(FALSE);
}

void CRoomListWnd::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar*)
{
    CRect rc;
    GetClientRect(&rc);
    switch (nSBCode) {
    case SB_LINEUP: ScrollTo(m_nScrollPos - ROW_HEIGHT); break;
    case SB_LINEDOWN: ScrollTo(m_nScrollPos + ROW_HEIGHT); break;
    case SB_PAGEUP: ScrollTo(m_nScrollPos - rc.Height()); break;
    case SB_PAGEDOWN: ScrollTo(m_nScrollPos + rc.Height()); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: ScrollTo((int)nPos); break;
    case SB_TOP: ScrollTo(0); break;
    case SB_BOTTOM: ScrollTo(GetMaxScroll()); break;
    default: break;
    }
}
