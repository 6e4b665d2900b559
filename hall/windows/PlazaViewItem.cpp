#include "PlazaViewItem.h"

#include <WidgetDC.h>

#include <XTVBufferDC.h>
#include "ClientDataCenter.h"
#include "GlobalUnits.h"
#include "HallProtocol.h"

BEGIN_MESSAGE_MAP(CPlazaViewItem, CWidgetFoundationWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_SIZE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDOWN()
    ON_BN_CLICKED(CPlazaViewItem::IDC_MESSAGE, OnMessageButton)
    ON_BN_CLICKED(CPlazaViewItem::IDC_LOCK, OnLockButton)
    ON_BN_CLICKED(CPlazaViewItem::IDC_RELEASE, OnReleaseButton)
    ON_BN_CLICKED(CPlazaViewItem::IDC_SERVICE, OnServiceButton)
    ON_MESSAGE(WM_HALL_NOTIFY, OnHallNotify)
END_MESSAGE_MAP()

namespace
{
const COLORREF PLAZA_BACK = 0xF6EAD2;
const char kLockQuestion[] = "锁定本机后，当前帐号只能在本台机器上进行登陆，是否确定？   ";
const char kLockedAlready[] = "您的帐号已被绑定！  ";
const char kReleaseQuestion[] = "是否要解除锁定本机功能 ？                ";
const char kReleasedAlready[] = "您的帐号已解除绑定！ ";
const UINT kLockedText = 10011;
const UINT kReleasedText = 10012;
// Values of the user notifications (main 1 and 9) the panel follows.
const LPARAM kUserValueScore = 4;
const LPARAM kUserValueFace = 6;
const LPARAM kUserValueSignature = 15;
} // namespace

CPlazaViewItem::CPlazaViewItem() : m_pUserPanel(NULL), m_pDataCenter(NULL) {}

CPlazaViewItem::~CPlazaViewItem() {}

void CPlazaViewItem::SetClientDataCenter(CClientDataCenter* pDataCenter)
{
    m_pDataCenter = pDataCenter;
    m_GameListView.SetClientDataCenter(pDataCenter);
}

CRgnButtonEx& CPlazaViewItem::GetButton(UINT nID)
{
    switch (nID) {
    case IDC_LOCK: return m_btLock;
    case IDC_RELEASE: return m_btRelease;
    case IDC_SERVICE: return m_btService;
    default: return m_btMessage;
    }
}

int CPlazaViewItem::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CWidgetFoundationWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    m_ToolTip.Create(this, TTS_ALWAYSTIP);
    m_ToolTip.AddTool(this, "");
    m_ToolTip.Activate(FALSE);

    CRect rcClient;
    GetClientRect(&rcClient);
    if (m_pUserPanel != NULL) {
        if (m_pUserPanel->GetPanelWidget() != NULL)
            m_WidgetManager.AddWidget(m_pUserPanel->GetPanelWidget());
        m_pUserPanel->PlacePanel(CRect(0, 0, rcClient.Width(), PANEL_HEIGHT));
    }

    const DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
    const CRect rcButton(0, 0, 75, 48);
    m_btMessage.Create("", style, rcButton + CPoint(13, 66), this, IDC_MESSAGE);
    m_btLock.Create("", style, rcButton + CPoint(96, 66), this, IDC_LOCK);
    m_btRelease.Create("", style & ~WS_VISIBLE, rcButton + CPoint(96, 66), this, IDC_RELEASE);
    m_btService.Create("", style, rcButton + CPoint(179, 66), this, IDC_SERVICE);
    m_GameListView.Create(NULL, NULL, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN,
                          CRect(0, LIST_TOP, rcClient.Width(), rcClient.Height()), this, IDC_GAME_LIST);
    m_SignatureEdit.Create(WS_CHILD | ES_AUTOHSCROLL, CRect(0, 0, 10, 20), this, IDC_SIGNATURE);
    m_SignatureEdit.SetFont(g_GlobalUnits.GetFont());
    m_SignatureEdit.SetLimitText(SIGNATURE_LIMIT);
    m_btMessage.SetFocusKeeper(&m_SignatureEdit);
    m_btLock.SetFocusKeeper(&m_SignatureEdit);
    m_btRelease.SetFocusKeeper(&m_SignatureEdit);
    m_btService.SetFocusKeeper(&m_SignatureEdit);

    const CString folder = CString(g_GlobalUnits.GetResourceDirectory()) + "ServerList\\";
    m_btMessage.LoadRgnImage(folder + "selfmsgbt.bmp", RGB(255, 0, 255));
    m_btLock.LoadRgnImage(folder + "lockbt.bmp", RGB(255, 0, 255));
    m_btRelease.LoadRgnImage(folder + "unlockbt.bmp", RGB(255, 0, 255));
    m_btService.LoadRgnImage(folder + "servicebt.bmp", RGB(255, 0, 255));
    m_ButtonTool.Load(folder + "GameButtonTool.bmp");
    m_GameListView.InitGameList();
    if (m_pDataCenter != NULL) {
        m_pDataCenter->AddNotifyWindow(HN_ACCOUNT_1, m_hWnd);
        m_pDataCenter->AddNotifyWindow(HN_ACCOUNT_2, m_hWnd);
    }
    return 0;
}

void CPlazaViewItem::OnDestroy()
{
    if (m_pDataCenter != NULL) {
        m_pDataCenter->RemoveNotifyWindow(HN_ACCOUNT_1, m_hWnd);
        m_pDataCenter->RemoveNotifyWindow(HN_ACCOUNT_2, m_hWnd);
    }
    CWidgetFoundationWnd::OnDestroy();
}

void CPlazaViewItem::OnSize(UINT nType, int cx, int cy)
{
    CWidgetFoundationWnd::OnSize(nType, cx, cy);
    if (m_pUserPanel != NULL)
        m_pUserPanel->PlacePanel(CRect(0, 0, cx - 1, PANEL_HEIGHT));
    if (m_GameListView.GetSafeHwnd() == NULL)
        return;
    HDWP hDwp = ::BeginDeferWindowPos(1);
    hDwp = ::DeferWindowPos(hDwp, m_GameListView.GetSafeHwnd(), NULL, 0, LIST_TOP, cx - 1, cy - LIST_TOP,
                            SWP_NOZORDER | SWP_NOACTIVATE);
    ::EndDeferWindowPos(hDwp);
}

void CPlazaViewItem::OnPaint()
{
    CPaintDC dcPaint(this);
    CRect rcClient;
    GetClientRect(&rcClient);
    CXTVBufferDC dcBuffer(dcPaint);
    dcBuffer.FillSolidRect(&rcClient, PLAZA_BACK);
    CWidgetDC dc(&dcBuffer, rcClient);
    m_WidgetManager.DrawWidgetsTo(&dc);
}

BOOL CPlazaViewItem::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CPlazaViewItem::MarkPanelDirty()
{
    m_WidgetManager.MarkAllDirty();
    if (m_pUserPanel != NULL) {
        CRect rc(0, 0, 0, PANEL_HEIGHT);
        GetClientRect(&rc);
        rc.bottom = PANEL_HEIGHT;
        InvalidateRect(&rc, FALSE);
    }
}

void CPlazaViewItem::EndSignatureEdit()
{
    m_SignatureEdit.ShowWindow(SW_HIDE);
    CString text;
    m_SignatureEdit.GetWindowText(text);
    if (m_pUserPanel != NULL)
        m_pUserPanel->SetSignature(text);
    SetFocus();
    MarkPanelDirty();
}

BOOL CPlazaViewItem::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->hwnd == m_SignatureEdit.GetSafeHwnd() && pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_RETURN) {
        EndSignatureEdit();
        return TRUE;
    }
    if (m_ToolTip.GetSafeHwnd() != NULL && pMsg->message == WM_MOUSEMOVE)
        m_ToolTip.RelayEvent(pMsg);
    return CWidgetFoundationWnd::PreTranslateMessage(pMsg);
}

void CPlazaViewItem::OnLButtonDown(UINT nFlags, CPoint point)
{
    const CRect rcText = m_pUserPanel != NULL ? m_pUserPanel->GetSignatureRect() : CRect(0, 0, 0, 0);
    if (!rcText.IsRectEmpty() && rcText.PtInRect(point)) {
        m_SignatureEdit.SetWindowText(m_pUserPanel->GetSignature());
        CRect rcEdit;
        m_SignatureEdit.GetClientRect(&rcEdit);
        m_SignatureEdit.SetWindowPos(NULL, rcText.left, rcText.top, rcText.Width(), rcEdit.Height(),
                                     SWP_NOZORDER | SWP_NOACTIVATE);
        m_SignatureEdit.ShowWindow(SW_SHOW);
        m_SignatureEdit.SetFocus();
        MarkPanelDirty();
    } else if (m_SignatureEdit.GetStyle() & WS_VISIBLE)
        EndSignatureEdit();
    CWidgetFoundationWnd::OnLButtonDown(nFlags, point);
}

void CPlazaViewItem::OnMouseMove(UINT nFlags, CPoint point)
{
    const CRect rcText = m_pUserPanel != NULL ? m_pUserPanel->GetSignatureRect() : CRect(0, 0, 0, 0);
    if (m_ToolTip.GetSafeHwnd() != NULL) {
        if (!rcText.IsRectEmpty() && rcText.PtInRect(point)) {
            m_ToolTip.UpdateTipText(m_pUserPanel->GetSignature(), this);
            m_ToolTip.Activate(TRUE);
        } else
            m_ToolTip.Activate(FALSE);
    }
    CWidgetFoundationWnd::OnMouseMove(nFlags, point);
}

bool CPlazaViewItem::IsLocked()
{
    return g_GlobalUnits.GetGlobalUserData()->dwLockMachine == 1;
}

void CPlazaViewItem::ShowLockState(bool bLocked)
{
    if (m_btLock.GetSafeHwnd() == NULL || m_btRelease.GetSafeHwnd() == NULL)
        return;
    m_btLock.ShowWindow(bLocked ? SW_HIDE : SW_SHOW);
    m_btRelease.ShowWindow(bLocked ? SW_SHOW : SW_HIDE);
}

void CPlazaViewItem::SyncLockButtons()
{
    ShowLockState(IsLocked());
    if (m_pUserPanel != NULL)
        m_pUserPanel->LoadUserSignature();
}

void CPlazaViewItem::RepaintUserPanel()
{
    CRect rc;
    GetClientRect(&rc);
    rc.bottom = PANEL_HEIGHT;
    InvalidateRect(&rc, FALSE);
}

void CPlazaViewItem::DeleteAllServerItems()
{
    m_GameListView.DeleteTreeItems();
}

void CPlazaViewItem::OnMessageButton()
{
    if (m_pDataCenter != NULL)
        m_pDataCenter->OpenServicePage(0, 0);
}

void CPlazaViewItem::OnServiceButton()
{
    if (m_pDataCenter != NULL)
        m_pDataCenter->OpenServicePage(1, 0);
}

void CPlazaViewItem::OnLockButton()
{
    if (IsLocked()) {
        AfxMessageBox(kLockedAlready, MB_ICONINFORMATION);
        return;
    }
    if (AfxMessageBox(kLockQuestion, MB_YESNO | MB_ICONQUESTION) == IDYES && m_pDataCenter != NULL)
        m_pDataCenter->BindMachine(true);
}

void CPlazaViewItem::OnReleaseButton()
{
    if (!IsLocked()) {
        AfxMessageBox(kReleasedAlready, MB_ICONINFORMATION);
        return;
    }
    if (AfxMessageBox(kReleaseQuestion, MB_YESNO | MB_ICONQUESTION) == IDYES && m_pDataCenter != NULL)
        m_pDataCenter->BindMachine(false);
}

LRESULT CPlazaViewItem::OnHallNotify(WPARAM wParam, LPARAM lParam)
{
    const tagNotifyHead* head = (const tagNotifyHead*)wParam;
    if (head == NULL)
        return 0;
    const WORD main = head->wMainCmdID, sub = head->wSubCmdID;
    if (main == HN_ACCOUNT_1.wMainCmdID && (sub == HN_ACCOUNT_1.wSubCmdID || sub == HN_ACCOUNT_2.wSubCmdID)) {
        const bool locked = sub == HN_ACCOUNT_1.wSubCmdID;
        AfxMessageBox(g_GlobalUnits.LoadResString(locked ? kLockedText : kReleasedText), MB_ICONINFORMATION);
        ShowLockState(locked);
        g_GlobalUnits.GetGlobalUserData()->dwLockMachine = locked ? 1 : 0;
    } else if (main == 1 || main == 9) {
        if (lParam == kUserValueScore || lParam == kUserValueFace)
            RepaintUserPanel();
        else if (lParam == kUserValueSignature && m_pUserPanel != NULL)
            m_pUserPanel->LoadUserSignature();
    }
    return 0;
}
