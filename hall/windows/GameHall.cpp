#include "GameHall.h"

#include <algorithm>

#include "GlobalUnits.h"
#include "HallApp.h"

namespace
{
const DWORD kPaneStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
const UINT kDeferFlags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS;
} // namespace

BEGIN_MESSAGE_MAP(CGameHall, CSkinWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_ERASEBKGND()
    ON_WM_SIZE()
END_MESSAGE_MAP()

CGameHall::CGameHall()
    : m_bPlazaFolded(false), m_nSplitterPos(kPlazaWidth), m_bRoomWide(false), m_nRangeMin(0), m_nRangeMax(0),
      m_pRoomTabs(NULL)
{}

CGameHall::~CGameHall() {}

int CGameHall::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CSkinWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    m_Splitter.Create(NULL, NULL, kPaneStyle, CRect(kPlazaWidth, 0, kPlazaWidth + kSplitterWidth, 0), this,
                      IDC_HALL_SPLITTER);
    // The plaza's game list hears the application's data centre.
    m_PlazaView.SetClientDataCenter(CHallApp::GetClientDataCenter());
    m_PlazaView.Create(NULL, NULL, kPaneStyle, CRect(0, 0, 0, 0), this, IDC_HALL_PLAZA);
    if (m_pRoomTabs == NULL)
        m_pRoomTabs = &m_RoomControl;
    if (m_pRoomTabs->GetSafeHwnd() == NULL)
        m_pRoomTabs->Create(NULL, NULL, kPaneStyle, CRect(0, 0, 0, 0), this, IDC_HALL_ROOMS);
    g_GlobalUnits.SetPlazaView(&m_PlazaView);
    m_Splitter.SetSplitterSink(this);
    m_Splitter.DisableDrag(true);
    m_strSplitterFolder = CString(g_GlobalUnits.GetResourceDirectory()) + "Common\\splitter\\";
    SetButtonPicture();
    return 0;
}

void CGameHall::OnDestroy()
{
    if (g_GlobalUnits.GetPlazaView() == &m_PlazaView)
        g_GlobalUnits.SetPlazaView(NULL);
    CSkinWnd::OnDestroy();
}

void CGameHall::SetButtonPicture()
{
    m_Splitter.ShowSplitterButton(m_strSplitterFolder + (m_bPlazaFolded ? "right.bmp" : "left.bmp"));
}

BOOL CGameHall::OnEraseBkgnd(CDC* pDC)
{
    CRect rect;
    GetClientRect(&rect);
    pDC->FillSolidRect(&rect, RGB(210, 234, 246));
    return TRUE;
}

void CGameHall::OnSize(UINT nType, int cx, int cy)
{
    ResizeChildren(cx, cy);
    CSkinWnd::OnSize(nType, cx, cy);
}

void CGameHall::ResizeChildren(int cx, int cy)
{
    if (m_Splitter.GetSafeHwnd() == NULL)
        return;
    CRect splitter;
    m_Splitter.GetWindowRect(&splitter);
    ScreenToClient(&splitter);
    HDWP hdwp = ::BeginDeferWindowPos(20);
    int roomsLeft = 0;
    if (!m_bRoomWide) {
        hdwp = ::DeferWindowPos(hdwp, m_PlazaView.GetSafeHwnd(), NULL, 0, 0, splitter.left, cy, kDeferFlags);
        hdwp =
            ::DeferWindowPos(hdwp, m_Splitter.GetSafeHwnd(), NULL, splitter.left, 0, splitter.Width(), cy, kDeferFlags);
        // A hall narrower than 490 pixels keeps the plaza at its least width
        // instead of an inverted range.
        m_nRangeMin = kPlazaWidth;
        m_nRangeMax = std::max(kPlazaWidth, cx - 200);
        m_Splitter.SetSplitterRange(m_nRangeMin, m_nRangeMax);
        roomsLeft = splitter.right;
    }
    hdwp = ::DeferWindowPos(hdwp, m_pRoomTabs->GetSafeHwnd(), NULL, roomsLeft, 0, cx - roomsLeft, cy, kDeferFlags);
    ::EndDeferWindowPos(hdwp);
}

void CGameHall::Layout(bool bPlazaFolded, bool bRoomWide)
{
    if (bPlazaFolded == m_bPlazaFolded && bRoomWide == m_bRoomWide)
        return;
    if (m_Splitter.GetSafeHwnd() == NULL) {
        m_bPlazaFolded = bPlazaFolded;
        m_bRoomWide = bRoomWide;
        return;
    }
    CRect splitter, client;
    m_Splitter.GetWindowRect(&splitter);
    ScreenToClient(&splitter);
    GetClientRect(&client);
    if (!bPlazaFolded) {
        m_bPlazaFolded = false;
        m_bRoomWide = bRoomWide;
        m_Splitter.SetWindowPos(NULL, m_nSplitterPos, 0, splitter.Width(), client.Height(), SWP_NOZORDER);
        ResizeChildren(client.Width(), client.Height());
        m_PlazaView.ShowWindow(SW_SHOW);
        m_Splitter.ShowWindow(SW_SHOW);
    } else {
        m_Splitter.ShowWindow(SW_SHOW);
        m_PlazaView.ShowWindow(SW_HIDE);
        if (!m_bPlazaFolded)
            m_nSplitterPos = splitter.left;
        int x = bRoomWide ? -10 : -1;
        m_Splitter.SetWindowPos(NULL, x, 0, splitter.Width(), client.Height(), SWP_NOZORDER);
        int roomsLeft = x + splitter.Width();
        m_pRoomTabs->SetWindowPos(NULL, roomsLeft, 0, client.Width() - roomsLeft, client.Height(), SWP_NOZORDER);
        m_pRoomTabs->RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        m_bPlazaFolded = true;
        m_bRoomWide = bRoomWide;
    }
    SetButtonPicture();
    if (bPlazaFolded && bRoomWide) {
        m_PlazaView.ShowWindow(SW_HIDE);
        m_Splitter.ShowWindow(SW_HIDE);
    }
}

bool CGameHall::OnSplitterButton(CSkinSplitter* pSkinSplitter, HWND hSplitter)
{
    Layout(!m_bPlazaFolded, false);
    return true;
}
