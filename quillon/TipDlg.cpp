#include "TipDlg.h"

#include "SkinDraw.h"
#include "res/resource.h"

namespace
{

const UINT WM_TIP_RUN_QUEUED = WM_USER + 300;

} // namespace

UINT CTipDlg::s_nTickInterval = 10;

BEGIN_MESSAGE_MAP(CTipDlg, CDialog)
    ON_WM_TIMER()
    ON_WM_SIZE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_MESSAGE(WM_TIP_RUN_QUEUED, OnRunQueued)
END_MESSAGE_MAP()

CTipDlg::CTipDlg()
    : CDialog(IDD_TIP), m_nRemainingTicks(-1), m_nTimerID(0), m_bRegionReady(FALSE), m_nAnimation(0),
      m_dwThreadID(::GetCurrentThreadId())
{}

CTipDlg::~CTipDlg() {}

BOOL CTipDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_dwThreadID = ::GetCurrentThreadId();
    m_nTimerID = SetTimer(kTimerID, s_nTickInterval, NULL);
    m_ImageBack.SetLoadInfo(IDB_TIP_BACK, AfxGetResourceHandle());
    m_ImageBack.LoadImage();
    CRect rcClient;
    GetClientRect(&rcClient);
    CRgn region;
    region.CreateRoundRectRgn(0, 0, rcClient.Width() + 1, rcClient.Height() + 1, 5, 5);
    SetWindowRgn(HRGN(region.Detach()), TRUE);
    m_bRegionReady = TRUE;
    return TRUE;
}

BOOL CTipDlg::DestroyWindow()
{
    if (m_hWnd != NULL && m_nTimerID != 0) {
        KillTimer(m_nTimerID);
        m_nTimerID = 0;
    }
    return CDialog::DestroyWindow();
}

void CTipDlg::ShowTip(LPCSTR pszText, int nTime)
{
    TRACE("TIP:%s :%d", pszText, nTime);
    if (m_hWnd != NULL && ::GetCurrentThreadId() != m_dwThreadID) {
        std::lock_guard<std::mutex> lock(m_QueueLock);
        m_Queue.push_back({CString(pszText == NULL ? "" : pszText), nTime, false});
        PostMessage(WM_TIP_RUN_QUEUED);
        return;
    }
    ShowNow(pszText, nTime);
}

void CTipDlg::HideTip()
{
    if (m_hWnd != NULL && ::GetCurrentThreadId() != m_dwThreadID) {
        std::lock_guard<std::mutex> lock(m_QueueLock);
        m_Queue.push_back({CString(), 0, true});
        PostMessage(WM_TIP_RUN_QUEUED);
        return;
    }
    HideNow();
}

LRESULT CTipDlg::OnRunQueued(WPARAM, LPARAM)
{
    std::deque<tagQueued> queued;
    {
        std::lock_guard<std::mutex> lock(m_QueueLock);
        queued.swap(m_Queue);
    }
    for (const tagQueued& call : queued) {
        if (call.bHide)
            HideNow();
        else
            ShowNow(call.strText, call.nTime);
    }
    return 0;
}

void CTipDlg::ShowNow(LPCSTR pszText, int nTime)
{
    m_strText = pszText == NULL ? "" : pszText;
    m_strShownText = m_strText;
    m_nRemainingTicks = nTime == -1 ? -1 : nTime / 10;
    if (m_hWnd == NULL)
        return;
    ShowWindow(SW_SHOW);
    RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW | RDW_NOERASE);
}

void CTipDlg::HideNow()
{
    if (m_hWnd != NULL)
        ShowWindow(SW_HIDE);
}

void CTipDlg::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != kTimerID) {
        CDialog::OnTimer(nIDEvent);
        return;
    }
    m_nAnimation = 0;
    if (m_nRemainingTicks == -1)
        return;
    m_strShownText = m_strText;
    if (--m_nRemainingTicks < 0) {
        m_strShownText.Empty();
        ShowWindow(SW_HIDE);
    }
}

void CTipDlg::OnSize(UINT nType, int cx, int cy)
{
    CDialog::OnSize(nType, cx, cy);
    if (!m_bRegionReady)
        return;
    CRgn region;
    region.CreateRoundRectRgn(0, 0, cx + 1, cy + 1, 4, 4);
    SetWindowRgn(HRGN(region.Detach()), TRUE);
}

void CTipDlg::OnPaint()
{
    CPaintDC dc(this);
    CRect rcClient;
    GetClientRect(&rcClient);
    DrawSkinFrame(&dc, rcClient, m_ImageBack);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(RGB(17, 82, 129));
    CFont* pOldFont = dc.SelectObject(GetFont());
    CRect rcText(rcClient);
    rcText.top = rcClient.Height() / 2 - 8;
    dc.DrawText(m_strShownText, &rcText, DT_CENTER | DT_SINGLELINE | DT_NOPREFIX);
    dc.SelectObject(pOldFont);
}

BOOL CTipDlg::OnEraseBkgnd(CDC*)
{
    return TRUE;
}
