#include "RoomViewItemControl.h"

#include <new>

#include "GlobalUnits.h"
#include "RoomViewItem.h"
#include "RoomViewItemControlPaint.h"
#include "SkinBar.h"

LONG CRoomViewItemControl::s_lLiveCount = 0;

BEGIN_MESSAGE_MAP(CRoomViewItemControl, CSkinWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
END_MESSAGE_MAP()

CRoomViewItemControl::CRoomViewItemControl(CRoomViewItem* pView)
    : m_lRefCount(0), m_ListSink(this), m_pView(pView), m_hScrollBar(NULL), m_rcListArea(0, 0, 0, 0), m_dwChatTarget(0),
      m_bChatEnabled(true), m_cbDisplayFlag(0), m_bItemGameCoin(false), m_bItemSecondCurrency(false)
{
    InterlockedIncrement(&s_lLiveCount);
}

CRoomViewItemControl::~CRoomViewItemControl()
{
    if (GetSafeHwnd() != NULL)
        DestroyWindow();
    if (m_hScrollBar != NULL)
        ::DeleteObject(m_hScrollBar);
    InterlockedDecrement(&s_lLiveCount);
}

ULONG CRoomViewItemControl::AddRef()
{
    return ULONG(++m_lRefCount);
}

ULONG CRoomViewItemControl::Release()
{
    LONG lCount = --m_lRefCount;
    if (lCount == 0)
        delete this;
    return ULONG(lCount);
}

HRESULT CRoomViewItemControl::QueryInterface(REFGUID iid, void** out)
{
    if (out == NULL)
        return E_POINTER;
    if (IsEqualGUID(iid, IID_IUserListSink)) {
        *out = static_cast<IUserListSink*>(&m_ListSink);
        return S_OK;
    }
    *out = NULL;
    return E_NOINTERFACE;
}

bool CRoomViewItemControl::CreateControlView(CWnd* pParent, const CRect& rect, DWORD dwStyle)
{
    return Create(NULL, NULL, dwStyle, rect, pParent, 0) != FALSE;
}

void CRoomViewItemControl::DestroyControlView()
{
    if (GetSafeHwnd() != NULL)
        DestroyWindow();
}

int CRoomViewItemControl::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CSkinWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    const int cx = lpCreateStruct->cx, cy = lpCreateStruct->cy;
    m_rcListArea.SetRect(6, 0, 247, 228);
    m_ListTab.Create(WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, CRect(6, 0, 289, 228), this, IDC_LIST_TAB);
    m_UserList.Create(WS_CHILD | LVS_REPORT | LVS_OWNERDRAWFIXED | LVS_SHOWSELALWAYS | LVS_SINGLESEL, CRect(0, 0, 0, 0),
                      &m_ListTab, IDC_USER_LIST);
    m_ChatBar.SetOwner(this);
    m_ChatBar.CreateBar(this, CRect(0, cy - 23, cx - 3, cy), IDC_CHAT_INPUT_BAR);
    m_ChatToolBar.SetOwner(this);
    m_ChatToolBar.CreateBar(this, CRect(0, cy - 46, cx - 3, cy - 23), IDC_CHAT_TOOL_BAR);
    m_ChatPane.SetRoomView(m_pView);
    m_ChatPane.Create(NULL, NULL, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, CRect(1, 230, cx - 5, cy - 46), this,
                      IDC_CHAT_PANE);
    m_bChatEnabled = true;

    m_UserList.EnableToolTips(TRUE);
    m_UserList.LoadImageLists(&m_ListSink);
    m_UserList.SetBkColor(kListBack);

    AddAnchor(m_ListTab.GetSafeHwnd(), ANCHOR_TOPLEFT, ANCHOR_TOPRIGHT);
    AddAnchor(m_ChatPane.GetSafeHwnd(), ANCHOR_TOPLEFT, ANCHOR_BOTTOMRIGHT);
    if (m_ChatToolBar.GetSafeHwnd() != NULL)
        AddAnchor(m_ChatToolBar.GetSafeHwnd(), ANCHOR_BOTTOMLEFT, ANCHOR_BOTTOMRIGHT);
    if (m_ChatBar.GetSafeHwnd() != NULL)
        AddAnchor(m_ChatBar.GetSafeHwnd(), ANCHOR_BOTTOMLEFT, ANCHOR_BOTTOMRIGHT);

    CString strScroll;
    strScroll.Format("%sCommon\\scrollbar\\scrollbar.bmp", g_GlobalUnits.GetResourceDirectory());
    if (m_hScrollBar == NULL)
        m_hScrollBar = (HBITMAP)::LoadImageA(NULL, strScroll, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
    if (m_hScrollBar == NULL)
        return 0;
    SkinBar_Attach(m_UserList.GetSafeHwnd(), m_hScrollBar);

    static const char* const kTabPictures[CSkinTab::TAB_IMAGE_COUNT] = {"tabupl.bmp",   "tabupm.bmp",   "tabupr.bmp",
                                                                        "tabright.bmp", "tabright.bmp", "tabdownm.bmp"};
    for (int i = 0; i < CSkinTab::TAB_IMAGE_COUNT; ++i) {
        CString strFile;
        strFile.Format("%sGameRoom\\%s", g_GlobalUnits.GetResourceDirectory(), kTabPictures[i]);
        m_ListTab.SetSkinImage(i, strFile);
    }
    CSkinTabManager* pManager = m_ListTab.GetTabManager();
    pManager->SetPaintManager(new CRoomControlTabPaintManager);
    pManager->SetPosition(CSkinTabManager::SkinTabTop);
    pManager->InsertItem(0, "玩家列表", m_UserList.GetSafeHwnd());
    return 0;
}

void CRoomViewItemControl::OnSize(UINT nType, int cx, int cy)
{
    CSkinWnd::OnSize(nType, cx, cy);
    ApplyLayout();
}

void CRoomViewItemControl::DrawSkinView(CDC* pDC, int cx, int cy)
{
    pDC->FillSolidRect(0, 0, cx, cy, kPanelFill);
}

CWnd* CRoomViewItemControl::GetChatControl()
{
    CRichEditCtrl& display = m_ChatPane.GetChatDisplay();
    return display.GetSafeHwnd() != NULL ? &display : NULL;
}

void CRoomViewItemControl::EnableChatInput(bool bEnable)
{
    m_bChatEnabled = bEnable;
    if (m_ChatBar.GetSafeHwnd() == NULL)
        return;
    const BOOL bWindow = bEnable ? TRUE : FALSE;
    if (m_ChatBar.GetTargetList().GetSafeHwnd() != NULL)
        m_ChatBar.GetTargetList().EnableWindow(bWindow);
    if (m_ChatBar.GetChatInput().GetSafeHwnd() != NULL)
        m_ChatBar.GetChatInput().EnableWindow(bWindow);
    if (m_ChatBar.GetSendButton().GetSafeHwnd() != NULL)
        m_ChatBar.GetSendButton().EnableWindow(bWindow);
}

void CRoomViewItemControl::SetChatInputText(LPCSTR pszText)
{
    if (m_ChatBar.GetSafeHwnd() == NULL)
        return;
    m_ChatBar.SetInputText(pszText != NULL ? pszText : "");
    m_ChatBar.FocusInput();
}

void CRoomViewItemControl::SetChatPartner(DWORD dwUserID)
{
    m_dwChatTarget = dwUserID;
    CRoomControlCombox& targets = m_ChatBar.GetTargetList();
    if (targets.GetSafeHwnd() == NULL)
        return;
    if (dwUserID == 0) {
        targets.SetCurSel(0);
        return;
    }
    for (int i = 1; i < targets.GetCount(); ++i) {
        if (DWORD(targets.GetItemData(i)) == dwUserID) {
            targets.SetCurSel(i);
            return;
        }
    }
    CRoomDataCenter* pDataCenter = m_pView != NULL ? m_pView->GetRoomDataCenter() : NULL;
    CUserItem* pUserItem = pDataCenter != NULL ? pDataCenter->GetUserManager()->SearchUserItem(dwUserID) : NULL;
    if (pUserItem == NULL)
        return;
    char szNick[32];
    lstrcpynA(szNick, pUserItem->GetUserData()->szNickName, sizeof(szNick));
    const int nIndex = targets.AddString(szNick);
    if (nIndex >= 0) {
        targets.SetItemData(nIndex, dwUserID);
        targets.SetCurSel(nIndex);
    }
}

bool CRoomViewItemControl::RemoveChatTarget(DWORD dwUserID)
{
    CRoomControlCombox& targets = m_ChatBar.GetTargetList();
    if (targets.GetSafeHwnd() == NULL)
        return false;
    for (int i = 1; i < targets.GetCount(); ++i) {
        if (DWORD(targets.GetItemData(i)) == dwUserID) {
            if (targets.GetCurSel() == i)
                targets.SetCurSel(0);
            targets.DeleteString(i);
            return true;
        }
    }
    return false;
}

void CRoomViewItemControl::SetListRoom(DWORD, WORD) {}

void CRoomViewItemControl::SetListDisplayFlag(BYTE cbFlag)
{
    m_cbDisplayFlag = cbFlag;
    m_UserList.SetHideOthers(cbFlag != 0);
    if (m_UserList.GetSafeHwnd() != NULL)
        m_UserList.Invalidate();
}

void CRoomViewItemControl::SetListRedraw(bool bRedraw)
{
    if (m_UserList.GetSafeHwnd() == NULL)
        return;
    m_UserList.SetRedraw(bRedraw ? TRUE : FALSE);
    // Rows that came while it drew nothing show now.
    if (bRedraw)
        m_UserList.Invalidate();
}

void CRoomViewItemControl::SetColumnDescribe(const tagColumnDescribe& columns)
{
    WORD wCount = columns.wColumnCount;
    if (wCount > MAX_DATA_COLUMN)
        wCount = MAX_DATA_COLUMN;
    if (m_UserList.GetSafeHwnd() != NULL)
        m_UserList.SetColumnDescribe(columns.ColumnItem, wCount);
}

void CRoomViewItemControl::InsertUser(CUserItem* pUserItem)
{
    if (pUserItem != NULL && m_UserList.GetSafeHwnd() != NULL)
        m_UserList.InsertUserItem(pUserItem, m_cbDisplayFlag == 0);
}

void CRoomViewItemControl::UpdateUser(CUserItem* pUserItem)
{
    if (pUserItem != NULL && m_UserList.GetSafeHwnd() != NULL)
        m_UserList.UpdateUserItem(pUserItem);
}

void CRoomViewItemControl::RemoveUser(CUserItem* pUserItem)
{
    if (pUserItem != NULL)
        RemoveChatTarget(pUserItem->GetUserID());
    if (pUserItem != NULL && m_UserList.GetSafeHwnd() != NULL)
        m_UserList.DeleteUserItem(pUserItem);
}

void CRoomViewItemControl::SortUsers()
{
    if (m_UserList.GetSafeHwnd() != NULL)
        m_UserList.Resort();
}

void CRoomViewItemControl::SetItemBarFlags(bool bGameCoin, bool bSecondCurrency)
{
    m_bItemGameCoin = bGameCoin;
    m_bItemSecondCurrency = bSecondCurrency;
    RefreshItemBar();
}

void CRoomViewItemControl::RefreshItemBar()
{
    if (m_ChatPane.GetItemBar().GetSafeHwnd() != NULL)
        m_ChatPane.GetItemBar().RefreshItems();
}

bool CRoomViewItemControl::AddTeamListTab()
{
    if (m_TeamList.GetSafeHwnd() != NULL || m_ListTab.GetSafeHwnd() == NULL)
        return false;
    if (!m_TeamList.Create(WS_CHILD | LVS_REPORT | LVS_OWNERDRAWFIXED, CRect(0, 0, 0, 0), &m_ListTab, IDC_TEAM_LIST))
        return false;
    m_TeamList.EnableToolTips(TRUE);
    m_TeamList.InitListColours();
    m_TeamList.SetBkColor(kListBack);
    if (m_hScrollBar != NULL)
        SkinBar_Attach(m_TeamList.GetSafeHwnd(), m_hScrollBar);
    CSkinTabManager* pManager = m_ListTab.GetTabManager();
    pManager->SetPaintManager(new CRoomControlTabPaintManager);
    pManager->SetPosition(CSkinTabManager::SkinTabTop);
    pManager->InsertItem(1, "战队列表", m_TeamList.GetSafeHwnd());
    return true;
}

void CRoomViewItemControl::ShowTeams(const tagColumnDescribe& columns, const tagTeamItem* pTeams, int nCount)
{
    if (pTeams == NULL)
        nCount = 0;
    if (nCount > 0)
        AddTeamListTab();
    // A shown list follows the hall, down to no team at all.
    if (m_TeamList.GetSafeHwnd() != NULL) {
        // The rows go before the records they point to.
        m_TeamList.DeleteAllItems();
        m_Teams.RemoveAll();
        for (int i = 0; i < nCount; ++i)
            m_Teams.Add(pTeams[i]);
        WORD wCount = columns.wColumnCount;
        if (wCount > MAX_DATA_COLUMN)
            wCount = MAX_DATA_COLUMN;
        m_TeamList.SetColumnDescribe(columns.ColumnItem, wCount);
        for (INT_PTR i = 0; i < m_Teams.GetSize(); ++i)
            m_TeamList.InsertTeamItem(&m_Teams[i]);
    }
    if (m_ListTab.GetSafeHwnd() != NULL) {
        m_ListTab.GetTabManager()->Reposition();
        m_ListTab.Invalidate();
    }
}

void CRoomViewItemControl::RemoveTeamListTab()
{
    if (m_ListTab.GetSafeHwnd() == NULL)
        return;
    CSkinTabManager* pManager = m_ListTab.GetTabManager();
    if (pManager->GetItemCount() > 1)
        pManager->DeleteItem(1);
    if (m_TeamList.GetSafeHwnd() != NULL)
        m_TeamList.DestroyWindow();
    m_Teams.RemoveAll();
}

CUserItem* CRoomViewItemControl::RowUser(NMHDR* pNMHDR, int& nRow) const
{
    const NMITEMACTIVATE* pActivate = reinterpret_cast<const NMITEMACTIVATE*>(pNMHDR);
    nRow = pActivate != NULL ? pActivate->iItem : -1;
    if (nRow < 0 || m_UserList.GetSafeHwnd() == NULL)
        return NULL;
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    item.iItem = nRow;
    if (!::SendMessageA(m_UserList.GetSafeHwnd(), LVM_GETITEMA, 0, (LPARAM)&item))
        return NULL;
    return reinterpret_cast<CUserItem*>(item.lParam);
}

void CRoomViewItemControl::OnUserListRClick(NMHDR* pNMHDR, LRESULT* pResult)
{
    if (pResult != NULL)
        *pResult = 0;
    int nRow = -1;
    CUserItem* pUserItem = RowUser(pNMHDR, nRow);
    if (pUserItem == NULL || m_pView == NULL)
        return;
    CPoint point;
    ::GetCursorPos(&point);
    m_pView->ShowUserMenu(pUserItem, point.x, point.y, false);
}

void CRoomViewItemControl::OnUserListClick(NMHDR* pNMHDR, LRESULT* pResult)
{
    if (pResult != NULL)
        *pResult = 0;
    int nRow = -1;
    CUserItem* pUserItem = RowUser(pNMHDR, nRow);
    if (pUserItem == NULL || m_pView == NULL)
        return;
    CRect rcRow;
    m_UserList.GetItemRect(nRow, &rcRow, LVIR_BOUNDS);
    CRect rcList;
    m_UserList.GetWindowRect(&rcList);
    rcRow.OffsetRect(rcList.left, rcList.top);
    m_pView->ShowPlayerInfo(pUserItem, rcRow);
    m_UserList.SetFocus();
}

void CRoomViewItemControl::OnUserListKillFocus()
{
    if (m_pView != NULL)
        m_pView->HidePlayerInfoAway();
}
