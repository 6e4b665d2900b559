#include "RoomControlWnd.h"

#include <string.h>

#include <SkinMessageBox.h>

#include "GameFrame.h"
#include "GameTreeManager.h"
#include "GameTreeNode.h"
#include "GlobalAttemper.h"
#include "GlobalOption.h"
#include "GlobalUnits.h"
#include "HallApp.h"
#include "IClientDataCenter.h"
#include "ClientDataCenter.h"
#include "PrefectSelfInfo.h"
#include "RoomTabPaintManager.h"
#include "RoomViewItem.h"
#include "RoomViewItemControl.h"
#include "TextUnit.h"
#include "WinFileInfo.h"

CRoomControlWnd* g_pRoomControlWnd = NULL;

namespace
{
const char kHallCaption[] = "Varnok游戏中心";
const DWORD kChildStyle = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN;
const tagNotifyKey kHallKeys[] = {{3, 7}, {3, 8}, {8, 1}};

bool DefaultDownload(CGame* pGame, const char addresses[10][260])
{
    return g_GlobalAttemper.StartDownLoad(pGame->GetName(), pGame->GetId(), 1, addresses, 0);
}

CString CutText(const CString& text, size_t nMax)
{
    return text.Left((int)TextCutLength(text, (size_t)text.GetLength(), nMax));
}
} // namespace

std::function<bool(CGame*, const char[10][260])> CRoomControlWnd::s_StartDownload = DefaultDownload;

BEGIN_MESSAGE_MAP(CRoomControlWnd, CSkinWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_SIZE()
    ON_WM_ERASEBKGND()
    ON_NOTIFY(TCN_SELCHANGE, IDC_ROOM_TABS, OnTabSelChange)
    ON_MESSAGE(WM_SKINTAB_MOUSE, OnTabMouse)
    ON_MESSAGE(WM_ROOM_CLOSE_VIEW, OnCloseViewMessage)
    ON_MESSAGE(WM_ROOM_CONNECTION, OnReenterMessage)
    ON_MESSAGE(WM_HALL_NOTIFY, OnHallNotify)
    ON_MESSAGE(WM_UNREAD_MAIL_CLICKED, OnMailClicked)
END_MESSAGE_MAP()

CRoomControlWnd::CRoomControlWnd()
    : m_nWebTabIndex(0), m_bSidePanelShown(false), m_bRoomMessageShowing(false), m_bEnteringRoom(false),
      m_nPersonalState(-1), m_bPanelExpanded(true), m_pCurrentPanel(NULL), m_pCurrentView(NULL), m_CompEntry(this),
      m_dwLastRoomID(0), m_dwLastKindID(0), m_pHallDataCenter(NULL), m_pOldDialogs(NULL), m_pOldRoomTabs(NULL),
      m_pOldWebHost(NULL)
{
    g_pRoomControlWnd = this;
    memset(&m_PersonalInfo, 0, sizeof(m_PersonalInfo));
}

CRoomControlWnd::~CRoomControlWnd()
{
    if (GetSafeHwnd() != NULL)
        DestroyWindow();
    if (g_pRoomControlWnd == this)
        g_pRoomControlWnd = NULL;
}

CClientDataCenter* CRoomControlWnd::HallDataCenter() const
{
    return m_pHallDataCenter != NULL ? m_pHallDataCenter : CHallApp::GetClientDataCenter();
}

int CRoomControlWnd::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CSkinWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    m_Splitter.Create(NULL, NULL, kChildStyle, CRect(0, 0, 3, 0), this, IDC_ROOM_SPLITTER);
    m_TabCtrl.Create(kChildStyle, CRect(0, 0, 0, 0), this, IDC_ROOM_TABS);
    m_PlazaPage.Create(NULL, NULL, kChildStyle, CRect(0, 0, 0, 0), &m_TabCtrl, 0);
    m_ImageList.Create(18, 18, ILC_COLOR16 | ILC_MASK, 0, 0);
    HICON hHallIcon = (HICON)::LoadImageA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(kHallIconId), IMAGE_ICON, 18, 18, 0);
    if (hHallIcon != NULL) {
        m_ImageList.Add(hHallIcon);
        ::DestroyIcon(hHallIcon);
    }
    m_TabCtrl.SetImageList(&m_ImageList);
    m_Splitter.SetSplitterSink(this);
    m_Splitter.DisableDrag(true);
    ::SetClassLongPtrA(m_TabCtrl.GetSafeHwnd(), GCL_STYLE,
                       ::GetClassLongPtrA(m_TabCtrl.GetSafeHwnd(), GCL_STYLE) | CS_DBLCLKS);
    m_TabCtrl.SetPaintManager(new CRoomTabPaintManager);
    m_TabCtrl.SetPosition(CSkinTabManager::SkinTabTop);
    m_TabCtrl.InsertItem(0, "游戏大厅", m_PlazaPage.GetSafeHwnd(), -1, NULL)->SetData(0);
    m_PlazaPage.ShowCloseButton(false);

    static const char* const kTabPictures[CSkinTab::TAB_IMAGE_COUNT] = {"tabupl.bmp",   "tabupm.bmp",   "tabupr.bmp",
                                                                        "tabright.bmp", "tabright.bmp", "tabdownm.bmp"};
    const CString strFolder = CString(g_GlobalUnits.GetResourceDirectory()) + "GameRoom\\";
    for (int i = 0; i < CSkinTab::TAB_IMAGE_COUNT; ++i)
        m_TabCtrl.SetSkinImage(i, strFolder + kTabPictures[i]);
    m_TabCtrl.LoadBadgeImage(strFolder + "Msg.png");
    m_TabCtrl.LoadItemImage(strFolder + "CycleL.png", 0);
    m_TabCtrl.LoadItemImage(strFolder + "CycleM.png", 1);
    m_TabCtrl.LoadItemImage(strFolder + "CycleR.png", 2);
    SetSplitterPicture();

    if (CClientDataCenter* pHall = HallDataCenter()) {
        for (const tagNotifyKey& key : kHallKeys)
            pHall->AddNotifyWindow(key, GetSafeHwnd());
    }
    m_pOldRoomTabs = CHallWindows::InstallRoomTabs(this);
    m_pOldDialogs = CRoomViewItem::InstallDialogs(&m_Dialogs);
    m_pOldWebHost = IWebTabHost::Install(this);
    return 0;
}

void CRoomControlWnd::OnDestroy()
{
    for (INT_PTR i = m_RoomViews.GetSize() - 1; i >= 0; --i) {
        m_RoomViews[i]->CloseRoomView();
        m_Dialogs.ForgetRoomView(m_RoomViews[i]);
        m_RoomViews[i]->Release();
    }
    m_RoomViews.RemoveAll();
    for (INT_PTR i = m_SidePanels.GetSize() - 1; i >= 0; --i) {
        m_SidePanels[i]->DestroyControlView();
        m_SidePanels[i]->Release();
    }
    m_SidePanels.RemoveAll();
    m_pCurrentView = NULL;
    m_pCurrentPanel = NULL;
    for (INT_PTR i = 0; i < m_WebPages.GetSize(); ++i) {
        m_WebPages[i]->DestroyWindow();
        delete m_WebPages[i];
    }
    m_WebPages.RemoveAll();
    if (CClientDataCenter* pHall = HallDataCenter()) {
        for (const tagNotifyKey& key : kHallKeys)
            pHall->RemoveNotifyWindow(key, GetSafeHwnd());
    }
    if (CHallWindows::GetRoomTabs() == this)
        CHallWindows::InstallRoomTabs(m_pOldRoomTabs == this ? NULL : m_pOldRoomTabs);
    m_Dialogs.SetRoomView(NULL);
    // Installed since by someone else: theirs stays.
    IRoomViewDialogs* pNow = CRoomViewItem::InstallDialogs(m_pOldDialogs);
    if (pNow != &m_Dialogs)
        CRoomViewItem::InstallDialogs(pNow);
    if (IWebTabHost::Get() == this)
        IWebTabHost::Install(m_pOldWebHost == this ? NULL : m_pOldWebHost);
    CSkinWnd::OnDestroy();
}

BOOL CRoomControlWnd::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CRoomControlWnd::OnSize(UINT nType, int cx, int cy)
{
    CSkinWnd::OnSize(nType, cx, cy);
    LayoutControls();
}

// ------------------------------------------------------------------ entering

CRoomViewItem* CRoomControlWnd::EnterGameRoom(CGameRoom* pRoom, CGameTreeNode* pNode)
{
    if (pRoom == NULL || pNode == NULL || GetSafeHwnd() == NULL)
        return NULL;
    const tagGlobalUserData* pUser = g_GlobalUnits.GetGlobalUserData();
    if (pUser->dwUserID == 0) {
        SkinMessageBox(GetSafeHwnd(), "你还没有登陆，请先登陆游戏大厅！", kHallCaption, MB_OK | MB_ICONQUESTION);
        return NULL;
    }
    if (pRoom->GetRoomKind() == ROOM_TYPE_GAME_COIN && pUser->lLevel == GUEST_USER_LEVEL) {
        AfxMessageBox("对不起，游客用户无法进入游戏币房间，请您登录后再进入！", MB_OK | MB_ICONWARNING);
        return NULL;
    }
    CGameTreeManager* pTree = g_GlobalUnits.GetGameTreeManager();
    CGame* pGame = pTree != NULL ? pTree->FindGame(pRoom->GetGameId()) : NULL;
    // Every caller passes a room of the tree; one without its game cannot
    // find its client, so it is not entered.
    if (pGame == NULL)
        return NULL;
    if (CRoomViewItem* pOpen = FindRoomView(pRoom->GetId())) {
        ActivateRoomView(pOpen);
        return pOpen;
    }
    if (m_RoomViews.GetSize() >= 1) {
        int nAnswer = SkinMessageBox(GetSafeHwnd(), "进入的游戏房间太多了，是否关闭当前游戏房间？", kHallCaption,
                                     MB_YESNO | MB_ICONINFORMATION);
        if ((nAnswer & 0xFFFF) != IDYES)
            return NULL;
        CloseCurrentRoom();
        if (m_RoomViews.GetSize() >= 1)
            return NULL;
    }
    if (!CheckGameClient(pGame))
        return NULL;

    // The view, its tab, the waiting state.
    m_pCurrentView = NULL;
    m_pCurrentPanel = NULL;
    CRoomViewItem* pView = CRoomViewItem::Create(this);
    if (pView == NULL)
        return NULL;
    if (!pView->CreateRoomWindow(&m_TabCtrl, CRect(0, 0, 0, 0), 0)) {
        pView->Release();
        return NULL;
    }
    m_RoomViews.Add(pView);
    CSkinTabItem* pItem = m_TabCtrl.InsertItem(m_TabCtrl.GetItemCount(), pGame->GetName(), pView->GetSafeHwnd(),
                                               GetGameIcon(pGame), NULL);
    if (pItem != NULL)
        pItem->SetData((DWORD_PTR)pView);
    m_pCurrentView = pView;
    m_bEnteringRoom = true;
    m_Dialogs.SetRoomView(pView);
    g_GlobalUnits.HideRoomControls(pView);
    if (pItem != NULL)
        m_TabCtrl.SetSelectedItem(pItem);

    // The side panel.
    CRect rcClient;
    GetClientRect(&rcClient);
    CRoomViewItemControl* pPanel = new (std::nothrow) CRoomViewItemControl(pView);
    if (pPanel != NULL)
        pPanel->AddRef();
    if (pPanel == NULL || !pPanel->CreateControlView(this, CRect(0, 0, 300, rcClient.Height()),
                                                     WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN)) {
        if (pPanel != NULL)
            pPanel->Release();
        m_RoomViews.RemoveAt(m_RoomViews.GetSize() - 1);
        int nTab = FindTabOfData((DWORD_PTR)pView);
        if (nTab > 0)
            m_TabCtrl.DeleteItem(nTab);
        m_pCurrentView = NULL;
        pView->CloseRoomView();
        pView->Release();
        return NULL;
    }
    if (!pView->InitRoomView(pRoom, pPanel, pNode)) {
        m_RoomViews.RemoveAt(m_RoomViews.GetSize() - 1);
        int nTab = FindTabOfData((DWORD_PTR)pView);
        if (nTab > 0)
            m_TabCtrl.DeleteItem(nTab);
        m_pCurrentView = NULL;
        pView->CloseRoomView();
        pView->Release();
        pPanel->DestroyControlView();
        pPanel->Release();
        SkinMessageBox(GetSafeHwnd(), "游戏房间创建失败", kHallCaption, MB_OK | MB_ICONQUESTION);
        return NULL;
    }
    m_dwLastRoomID = pRoom->GetId();
    m_dwLastKindID = pRoom->GetGameId();
    g_GlobalOption.AddLastGame((WORD)pGame->GetId(), (WORD)pRoom->GetId());
    m_SidePanels.Add(pPanel);
    m_pCurrentPanel = pPanel;
    pPanel->ShowWindow(SW_SHOW);

    if (pRoom->GetRoomKind() == ROOM_TYPE_PERSONAL_INFO) {
        switch (m_nPersonalState) {
        case -1:
            if (CClientDataCenter* pHall = HallDataCenter())
                pHall->RequestPersonalInfo(pUser->dwUserID);
            return pView;
        case 0:
            // The answer (3,8) connects the room; a cancelled form closes it.
            if (!RunPersonalInfoForm(false)) {
                CloseRoomTab(pView);
                return NULL;
            }
            return pView;
        case 3:
            if (!RunPersonalInfoForm(true)) {
                CloseRoomTab(pView);
                return NULL;
            }
            break;
        default: break;
        }
    }
    if (!pView->ConnectRoomServer()) {
        CloseRoomTab(pView);
        return NULL;
    }
    return pView;
}

bool CRoomControlWnd::CheckGameClient(CGame* pGame)
{
    CGameTreeManager* pTree = g_GlobalUnits.GetGameTreeManager();
    const tagGameExeInfo* pExe = g_GlobalOption.ReadGameExeVersion(pGame);
    const DWORD dwInstalled = pExe != NULL ? pExe->dwVersion : 0;
    const tagGameVersionInfo* pInfo = g_GlobalOption.FindGameVersionInfo(pGame->GetId());
    const CString strPath = pTree != NULL ? pTree->GetGameExePath(pGame->GetId()) : CString();
    CWinFileInfo file;
    if (strPath.IsEmpty() || !file.Open(strPath)) {
        CString strQuestion;
        strQuestion.Format("[%s]还没有安装，现在是否下载？", (LPCSTR)pGame->GetName());
        OfferDownload(pGame, CutText(strQuestion, 511));
        return false;
    }
    file.Close();
    const DWORD dwRequired =
        pInfo != NULL ? pInfo->dwVersion : g_GlobalOption.ReadGameUpdateVersion((WORD)pGame->GetId());
    if (dwRequired == 0 || dwRequired == dwInstalled)
        return true;
    const BYTE* pNew = reinterpret_cast<const BYTE*>(&dwRequired);
    const BYTE* pOld = reinterpret_cast<const BYTE*>(&dwInstalled);
    const bool bMajor = pNew[3] != pOld[3] || pNew[2] != pOld[2];
    CString strQuestion;
    strQuestion.Format(bMajor ? "[%s]已经更新为 %ld.%ld.%ld.%ld 版本，你的版本不能继续使用，现在是否下载？"
                              : "[%s]已经更新为 %ld.%ld.%ld.%ld 版本，当前版本还可以继续使用，现在是否下载升级？",
                       (LPCSTR)pGame->GetName(), (long)pNew[3], (long)pNew[2], (long)pNew[1], (long)pNew[0]);
    int nAnswer = SkinMessageBox(GetSafeHwnd(), strQuestion, kHallCaption, MB_YESNO | MB_ICONQUESTION);
    if ((nAnswer & 0xFFFF) == IDYES) {
        char addresses[10][260];
        memset(addresses, 0, sizeof(addresses));
        if (pInfo != NULL)
            CGlobalOption::GetGameUpdateUrls(dwInstalled, addresses, pInfo);
        else
            g_GlobalOption.ReadGameUpdateInfo(dwInstalled, (WORD)pGame->GetId(), addresses);
        if (s_StartDownload)
            s_StartDownload(pGame, addresses);
        return false;
    }
    return !bMajor;
}

void CRoomControlWnd::OfferDownload(CGame* pGame, const CString& strQuestion)
{
    int nAnswer = SkinMessageBox(GetSafeHwnd(), strQuestion, kHallCaption, MB_YESNO | MB_ICONQUESTION);
    if ((nAnswer & 0xFFFF) != IDYES)
        return;
    char addresses[10][260];
    memset(addresses, 0, sizeof(addresses));
    if (const tagGameVersionInfo* pInfo = g_GlobalOption.FindGameVersionInfo(pGame->GetId()))
        CGlobalOption::GetGameUpdateUrls(0, addresses, pInfo);
    else
        g_GlobalOption.ReadGameUpdateInfo(0, (WORD)pGame->GetId(), addresses);
    if (s_StartDownload)
        s_StartDownload(pGame, addresses);
}

int CRoomControlWnd::GetGameIcon(CGame* pGame)
{
    if (pGame == NULL)
        return -1;
    for (INT_PTR i = 0; i < m_IconKinds.GetSize(); ++i) {
        if (m_IconKinds[i] == pGame->GetId())
            return m_IconIndexes[i];
    }
    CGameTreeManager* pTree = g_GlobalUnits.GetGameTreeManager();
    const CString strPath = pTree != NULL ? pTree->GetGameExePath(pGame->GetId()) : CString();
    if (strPath.IsEmpty())
        return -1;
    // Only the resources are read: the program's code never runs here.
    HMODULE hModule = ::LoadLibraryExA(strPath, NULL, LOAD_LIBRARY_AS_DATAFILE);
    if (hModule == NULL)
        return -1;
    int nIndex = -1;
    HICON hIcon = (HICON)::LoadImageA(hModule, MAKEINTRESOURCEA(kGameIconId), IMAGE_ICON, 18, 18, 0);
    if (hIcon != NULL) {
        nIndex = m_ImageList.Add(hIcon);
        ::DestroyIcon(hIcon);
    }
    ::FreeLibrary(hModule);
    if (nIndex < 0)
        return -1;
    m_IconKinds.Add(pGame->GetId());
    m_IconIndexes.Add(nIndex);
    return nIndex;
}

// ------------------------------------------------------------------ closing

int CRoomControlWnd::FindRoomIndex(CRoomViewItem* pView) const
{
    for (INT_PTR i = 0; i < m_RoomViews.GetSize(); ++i) {
        if (m_RoomViews[i] == pView)
            return (int)i;
    }
    return -1;
}

int CRoomControlWnd::FindTabOfData(DWORD_PTR dwData) const
{
    for (int i = 0; i < m_TabCtrl.GetItemCount(); ++i) {
        if (m_TabCtrl.GetItem(i)->GetData() == dwData)
            return i;
    }
    return -1;
}

bool CRoomControlWnd::CloseRoomTab(CRoomViewItem* pView)
{
    const int nIndex = FindRoomIndex(pView);
    if (nIndex < 0 || nIndex >= m_SidePanels.GetSize())
        return false;
    if (pView->IsGameClientStarted()) {
        AfxMessageBox("您在本房间已经打开了游戏客户端，请您先关闭游戏！", MB_OK | MB_ICONWARNING | MB_DEFBUTTON2);
        pView->ShowGameClientWindow(0);
        return false;
    }
    // Someone besides this window (and the view's own table grid, which
    // holds its sink until the view closes) still holds the view.
    const LONG lOwnHolds = 1 + (pView->GetTableFrame()->GetSink() != NULL ? 1 : 0);
    if (pView->GetRefCount() > lOwnHolds)
        return false;
    pView->LeaveMatch();
    CSkinTabItem* pItem = m_TabCtrl.FindItem(pView->GetWindowHandle());
    const int nTab = pItem != NULL ? m_TabCtrl.FindIndex(pItem) : FindTabOfData((DWORD_PTR)pView);
    if (nTab > 0) {
        m_TabCtrl.DeleteItem(nTab);
        if (m_nWebTabIndex > 0 && nTab < m_nWebTabIndex)
            --m_nWebTabIndex;
    }
    DeleteRoomPair(nIndex);
    if (m_RoomViews.GetSize() == 0) {
        ShowSidePanelColumn(false);
        LayoutHall(false, false);
    }
    return true;
}

void CRoomControlWnd::DeleteRoomPair(int nIndex)
{
    CRoomViewItem* pView = m_RoomViews[nIndex];
    CRoomViewItemControl* pPanel = m_SidePanels[nIndex];
    pView->CloseRoomView();
    pPanel->DestroyControlView();
    m_Dialogs.ForgetRoomView(pView);
    m_RoomViews.RemoveAt(nIndex);
    m_SidePanels.RemoveAt(nIndex);
    if (m_pCurrentView == pView)
        m_pCurrentView = NULL;
    if (m_pCurrentPanel == pPanel)
        m_pCurrentPanel = NULL;
    pPanel->Release();
    pView->Release();
}

bool CRoomControlWnd::CloseCurrentRoom()
{
    const int nCount = m_TabCtrl.GetItemCount();
    if (nCount <= 1)
        return true;
    int nTab = m_TabCtrl.GetCurSel();
    if (nTab <= 0)
        nTab = nCount - 1;
    if (m_nWebTabIndex > 0 && nTab == m_nWebTabIndex)
        nTab = m_nWebTabIndex == nCount - 1 ? m_nWebTabIndex - 1 : nCount - 1;
    if (nTab <= 0 || (m_nWebTabIndex > 0 && nTab == m_nWebTabIndex))
        return true;
    CRoomViewItem* pView = reinterpret_cast<CRoomViewItem*>(m_TabCtrl.GetItem(nTab)->GetData());
    if (pView == NULL || FindRoomIndex(pView) < 0)
        return true;
    return CloseRoomTab(pView);
}

bool CRoomControlWnd::CloseAllRooms()
{
    while (m_RoomViews.GetSize() > 0) {
        if (!CloseRoomTab(m_RoomViews[m_RoomViews.GetSize() - 1]))
            return false;
    }
    return true;
}

void CRoomControlWnd::CloseRoom(CRoomViewItem* pView)
{
    if (GetSafeHwnd() != NULL)
        PostMessage(WM_ROOM_CLOSE_VIEW, (WPARAM)pView, 0);
}

LRESULT CRoomControlWnd::OnCloseViewMessage(WPARAM wParam, LPARAM)
{
    // The pointer may name a room closed since it was posted.
    CRoomViewItem* pView = reinterpret_cast<CRoomViewItem*>(wParam);
    if (FindRoomIndex(pView) >= 0)
        CloseRoomTab(pView);
    return 0;
}

LRESULT CRoomControlWnd::OnReenterMessage(WPARAM, LPARAM)
{
    CGameTreeManager* pTree = g_GlobalUnits.GetGameTreeManager();
    CGameRoom* pRoom = pTree != NULL ? pTree->FindGameRoom(m_dwLastRoomID) : NULL;
    CGame* pGame = pRoom != NULL ? pTree->FindGame(pRoom->GetGameId()) : NULL;
    if (pGame == NULL || pGame->GetId() != m_dwLastKindID)
        return 0;
    CGameTreeNode* pGameNode = new CGameTreeNode(1);
    pGameNode->SetItemData(pGame->GetId());
    pGameNode->SetItemType(2);
    pGameNode->SetText(pGame->GetName());
    CGameTreeNode* pRoomNode = new CGameTreeNode(2);
    pRoomNode->SetItemData(pRoom->GetId());
    pRoomNode->SetItemType(4);
    pRoomNode->SetText(pRoom->GetName());
    pGameNode->InsertChild(pRoomNode);
    EnterGameRoom(pRoom, pRoomNode);
    delete pGameNode;
    return 0;
}

// ------------------------------------------------------------------ tabs and column

int CRoomControlWnd::RoomIndexOfTab(int nTab) const
{
    if (nTab <= 0 || (m_nWebTabIndex > 0 && nTab == m_nWebTabIndex))
        return -1;
    int nIndex = nTab - 1;
    if (m_nWebTabIndex > 0 && m_nWebTabIndex < nTab)
        --nIndex;
    return nIndex >= 0 && nIndex < m_RoomViews.GetSize() ? nIndex : -1;
}

void CRoomControlWnd::ActivateRoomView(CRoomViewItem* pView)
{
    const int nRoom = FindRoomIndex(pView);
    if (nRoom < 0)
        return;
    if (CSkinTabItem* pItem = m_TabCtrl.FindItem(pView->GetWindowHandle()))
        m_TabCtrl.SetSelectedItem(pItem);
    for (INT_PTR i = 0; i < m_SidePanels.GetSize(); ++i)
        m_SidePanels[i]->ShowWindow(i == nRoom ? SW_SHOW : SW_HIDE);
    if (m_pCurrentView == NULL || !m_pCurrentView->IsWaiting())
        ShowSidePanelColumn(true);
    m_TabCtrl.EnableWindow(TRUE);
}

void CRoomControlWnd::ShowSidePanel(CRoomViewItem* pView)
{
    const int nRoom = FindRoomIndex(pView);
    if (nRoom < 0)
        return;
    const int nTab = m_TabCtrl.GetCurSel();
    if (RoomIndexOfTab(nTab) != nRoom)
        return;
    ShowSidePanelColumn(true);
    LayoutHall(true, true);
    LayoutControls();
}

void CRoomControlWnd::OnTabSelChange(NMHDR*, LRESULT* pResult)
{
    if (pResult != NULL)
        *pResult = 0;
    const int nTab = m_TabCtrl.GetCurSel();
    if (nTab > 0 && !(m_nWebTabIndex > 0 && nTab == m_nWebTabIndex)) {
        if (m_nWebTabIndex > 0 && m_nWebTabIndex < nTab && m_TabCtrl.GetItemCount() == 2)
            return;
        const int nRoom = RoomIndexOfTab(nTab);
        if (nRoom < 0)
            return;
        if (m_RoomViews[nRoom]->IsWaiting())
            return;
        for (INT_PTR i = 0; i < m_SidePanels.GetSize(); ++i)
            m_SidePanels[i]->ShowWindow(i == nRoom ? SW_SHOW : SW_HIDE);
        ShowSidePanelColumn(true);
        LayoutHall(true, true);
    } else {
        ShowSidePanelColumn(false);
        LayoutHall(false, false);
    }
    LayoutControls();
}

LRESULT CRoomControlWnd::OnTabMouse(WPARAM wParam, LPARAM lParam)
{
    const CPoint point((short)LOWORD(lParam), (short)HIWORD(lParam));
    CSkinTabItem* pItem = m_TabCtrl.HitTest(point);
    const int nTab = pItem != NULL ? m_TabCtrl.FindIndex(pItem) : -1;
    if (nTab <= 0)
        return 0;
    if (wParam == WM_LBUTTONDBLCLK)
        CloseTab(nTab);
    else if (wParam == WM_LBUTTONUP && HasCloseButton(pItem) &&
             CRoomTabPaintManager::CloseButtonRect(pItem->GetRect()).PtInRect(point))
        CloseTab(nTab);
    return 0;
}

void CRoomControlWnd::CloseTab(int nTab)
{
    if (nTab <= 0 || nTab >= m_TabCtrl.GetItemCount())
        return;
    if (m_nWebTabIndex > 0 && nTab == m_nWebTabIndex)
        CloseWebPageTab(reinterpret_cast<CWebBrowserWnd*>(m_TabCtrl.GetItem(nTab)->GetData()));
    else if (RoomIndexOfTab(nTab) >= 0)
        CloseRoomTab(m_RoomViews[RoomIndexOfTab(nTab)]);
}

bool CRoomControlWnd::HasCloseButton(const CSkinTabItem* pItem) const
{
    if (pItem == NULL || m_TabCtrl.GetSafeHwnd() == NULL)
        return false;
    const int nTab = m_TabCtrl.FindIndex(pItem);
    return nTab > 0 && ((m_nWebTabIndex > 0 && nTab == m_nWebTabIndex) || RoomIndexOfTab(nTab) >= 0);
}

LRESULT CRoomControlWnd::OnMailClicked(WPARAM, LPARAM)
{
    if (CGameFrame* pFrame = dynamic_cast<CGameFrame*>(AfxGetMainWnd()))
        pFrame->ShowGameMail();
    return 0;
}

void CRoomControlWnd::LayoutHall(bool bPlazaFolded, bool bRoomWide)
{
    if (CGameFrame* pFrame = dynamic_cast<CGameFrame*>(AfxGetMainWnd()))
        pFrame->LayoutHall(bPlazaFolded, bRoomWide);
}

void CRoomControlWnd::SetSplitterPicture()
{
    CString strFile;
    strFile.Format("%sCommon\\splitter\\%s", g_GlobalUnits.GetResourceDirectory(),
                   m_bPanelExpanded ? "right.bmp" : "left.bmp");
    m_Splitter.ShowSplitterButton(strFile);
}

int CRoomControlWnd::ExtraWidth(int cx) const
{
    if (m_RoomViews.GetSize() == 0)
        return 0;
    const int nPanel = m_bPanelExpanded ? kPanelWidth : 0;
    CRect rcSplitter(0, 0, 0, 0);
    if (m_Splitter.GetSafeHwnd() != NULL)
        m_Splitter.GetWindowRect(&rcSplitter);
    const int nExtra = m_RoomViews[0]->CalcTableLayout(cx - nPanel - rcSplitter.Width() - 18);
    return nExtra > 0 ? nExtra : 0;
}

void CRoomControlWnd::LayoutControls()
{
    if (m_TabCtrl.GetSafeHwnd() == NULL)
        return;
    CRect rcClient;
    GetClientRect(&rcClient);
    const int W = rcClient.Width(), H = rcClient.Height();
    const int P = m_bPanelExpanded ? kPanelWidth : 0;
    CRect rcSplitter;
    m_Splitter.GetWindowRect(&rcSplitter);
    const int S = rcSplitter.Width();
    const int E = ExtraWidth(W);
    const int T = m_bPanelExpanded ? W - E - P - S : W - E;
    const UINT uFlags = SWP_NOZORDER | SWP_NOACTIVATE;
    HDWP hDwp = ::BeginDeferWindowPos(3);
    hDwp = ::DeferWindowPos(hDwp, m_TabCtrl.GetSafeHwnd(), NULL, 0, 0, m_bSidePanelShown ? T : W, H, uFlags);
    hDwp = ::DeferWindowPos(hDwp, m_Splitter.GetSafeHwnd(), NULL, W - E - P - S - 3, 0, S, H, uFlags);
    if (m_pCurrentPanel != NULL && m_pCurrentPanel->GetSafeHwnd() != NULL)
        hDwp = ::DeferWindowPos(hDwp, m_pCurrentPanel->GetSafeHwnd(), NULL, W - E - P - 4, 0, P + E + 8, H, uFlags);
    ::EndDeferWindowPos(hDwp);
}

void CRoomControlWnd::ShowSidePanelColumn(bool bShow)
{
    m_bSidePanelShown = bShow;
    if (m_Splitter.GetSafeHwnd() != NULL)
        m_Splitter.ShowWindow(bShow ? SW_SHOW : SW_HIDE);
    if (m_pCurrentPanel != NULL && m_pCurrentPanel->GetSafeHwnd() != NULL)
        m_pCurrentPanel->ShowWindow(bShow ? SW_SHOW : SW_HIDE);
    if (bShow && m_TabCtrl.GetSafeHwnd() != NULL) {
        CRect rcClient, rcSplitter;
        GetClientRect(&rcClient);
        m_Splitter.GetWindowRect(&rcSplitter);
        const int W = rcClient.Width();
        const int E = ExtraWidth(W);
        const int nWidth = m_bPanelExpanded ? W - E - kPanelWidth - rcSplitter.Width() - 1 : W - E - 1;
        m_TabCtrl.SetWindowPos(NULL, 0, 0, nWidth, rcClient.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (m_TabCtrl.GetSafeHwnd() != NULL) {
        m_TabCtrl.Reposition();
        m_TabCtrl.Invalidate();
    }
}

void CRoomControlWnd::SetListFlag(BYTE cbFlag)
{
    m_bPanelExpanded = cbFlag != 0;
    SetSplitterPicture();
    LayoutControls();
}

bool CRoomControlWnd::OnSplitterButton(CSkinSplitter*, HWND)
{
    m_bPanelExpanded = !m_bPanelExpanded;
    SetSplitterPicture();
    LayoutControls();
    return true;
}

bool CRoomControlWnd::OnSplitterEvent(CSkinSplitter*, int)
{
    LayoutControls();
    return true;
}

void CRoomControlWnd::SetTabFlash(int nItem)
{
    // The strip's badge counts the item and blinks (timer 10000, 400 ms).
    m_TabCtrl.SetUnreadMail(nItem, true);
}

// ------------------------------------------------------------------ web pages

void CRoomControlWnd::ShowWebPage(LPCSTR pszUrl, BYTE cbFlag)
{
    if (pszUrl == NULL || pszUrl[0] == '\0' || m_TabCtrl.GetSafeHwnd() == NULL)
        return;
    m_TabCtrl.SetCurSel(0);
    ShowSidePanelColumn(false);
    LayoutHall(false, false);
    (void)cbFlag;
    m_PlazaPage.Navigate(pszUrl);
}

void CRoomControlWnd::OpenWebPage(LPCSTR pszCaption, LPCSTR pszUrl, BYTE cbFlag)
{
    if (pszCaption == NULL || pszCaption[0] == '\0' || pszUrl == NULL || pszUrl[0] == '\0' ||
        m_TabCtrl.GetSafeHwnd() == NULL)
        return;
    if (m_WebPages.GetSize() == 0) {
        CWebBrowserWnd* pPage = new CWebBrowserWnd;
        if (!pPage->Create(NULL, NULL, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, CRect(0, 0, 0, 0), &m_TabCtrl, 0)) {
            delete pPage;
            return;
        }
        m_WebPages.Add(pPage);
        CSkinTabItem* pItem =
            m_TabCtrl.InsertItem(m_TabCtrl.GetItemCount(), pszCaption, pPage->GetSafeHwnd(), -1, NULL);
        if (pItem != NULL)
            pItem->SetData((DWORD_PTR)pPage);
        m_nWebTabIndex = m_TabCtrl.GetItemCount() - 1;
        m_TabCtrl.SetCurSel(m_nWebTabIndex);
        SelectAndNavigate(pPage, pszUrl, cbFlag);
        return;
    }
    CWebBrowserWnd* pPage = m_WebPages[m_WebPages.GetSize() - 1];
    SelectAndNavigate(pPage, pszUrl, cbFlag);
    const int nTab = FindTabOfData((DWORD_PTR)pPage);
    if (nTab > 0) {
        m_TabCtrl.GetItem(nTab)->SetCaption(pszCaption);
        m_TabCtrl.SetCurSel(nTab);
    }
}

void CRoomControlWnd::SelectAndNavigate(CWebBrowserWnd* pPage, LPCSTR pszUrl, BYTE)
{
    const int nTab = FindTabOfData((DWORD_PTR)pPage);
    if (nTab > 0)
        m_TabCtrl.SetCurSel(nTab);
    ShowSidePanelColumn(false);
    LayoutHall(false, false);
    pPage->Navigate(pszUrl);
}

bool CRoomControlWnd::CloseWebPageTab(CWebBrowserWnd* pPage)
{
    INT_PTR nIndex = -1;
    for (INT_PTR i = 0; i < m_WebPages.GetSize(); ++i) {
        if (m_WebPages[i] == pPage)
            nIndex = i;
    }
    if (nIndex < 0)
        return false;
    m_WebPages.RemoveAt(nIndex);
    const int nTab = FindTabOfData((DWORD_PTR)pPage);
    if (nTab > 0)
        m_TabCtrl.DeleteItem(nTab);
    m_nWebTabIndex = 0;
    pPage->DestroyWindow();
    delete pPage;
    return true;
}

// ------------------------------------------------------------------ rooms as a group

void CRoomControlWnd::ForwardToGameClients(const BYTE record[16])
{
    for (INT_PTR i = 0; i < m_RoomViews.GetSize(); ++i)
        m_RoomViews[i]->ForwardToGameClient(record);
}

void CRoomControlWnd::RefreshRoomItemBars()
{
    for (INT_PTR i = 0; i < m_SidePanels.GetSize(); ++i)
        m_SidePanels[i]->RefreshItemBar();
}

DWORD CRoomControlWnd::GetFirstRoomId()
{
    if (m_RoomViews.GetSize() == 0 || m_RoomViews[0]->GetGameRoom() == NULL)
        return 0;
    return m_RoomViews[0]->GetGameRoom()->GetId();
}

CRoomViewItem* CRoomControlWnd::FindRoomView(DWORD dwServerID)
{
    for (INT_PTR i = 0; i < m_RoomViews.GetSize(); ++i) {
        CGameRoom* pRoom = m_RoomViews[i]->GetGameRoom();
        if (pRoom != NULL && pRoom->GetId() == dwServerID)
            return m_RoomViews[i];
    }
    return NULL;
}

void CRoomControlWnd::QueryHallDataCenter(DWORD dwKindID)
{
    if (CClientDataCenter* pHall = HallDataCenter())
        pHall->GetTeamInfo(dwKindID);
}

// ------------------------------------------------------------------ personal information

bool CRoomControlWnd::ConnectCurrentRoom()
{
    CRoomViewItem* pView = m_pCurrentView;
    if (pView == NULL || FindRoomIndex(pView) < 0)
        return false;
    if (pView->ConnectRoomServer())
        return true;
    CloseRoomTab(pView);
    return false;
}

bool CRoomControlWnd::RunPersonalInfoForm(bool bPrefill)
{
    CPrefectSelfInfo form(bPrefill, this);
    if (bPrefill)
        form.SetUserInfo(m_nPersonalState == 3, m_PersonalInfo);
    if (form.DoModal() != IDOK)
        return false;
    if (CClientDataCenter* pHall = HallDataCenter())
        pHall->SendPersonalInfo(g_GlobalUnits.GetGlobalUserData()->dwUserID, form.GetRealName(), form.GetTelephone(),
                                form.GetIdCard(), form.GetSelectedEntry(), form.GetText4());
    return true;
}

LRESULT CRoomControlWnd::OnHallNotify(WPARAM wParam, LPARAM lParam)
{
    const tagNotifyHead* pHead = reinterpret_cast<const tagNotifyHead*>(wParam);
    if (pHead == NULL)
        return 0;
    if (pHead->wMainCmdID == 3 && pHead->wSubCmdID == 7)
        OnPersonalInfoState(reinterpret_cast<const tagAccountNotice*>(lParam));
    else if (pHead->wMainCmdID == 3 && pHead->wSubCmdID == 8)
        OnPersonalInfoAnswer(lParam);
    else if (pHead->wMainCmdID == 8 && pHead->wSubCmdID == 1)
        OnTeamInfo(DWORD(lParam));
    return 0;
}

void CRoomControlWnd::OnTeamInfo(DWORD dwTeamID)
{
    CRoomViewItem* pView = m_pCurrentView;
    CGameRoom* pRoom = pView != NULL && FindRoomIndex(pView) >= 0 ? pView->GetGameRoom() : NULL;
    if (pRoom == NULL || pRoom->GetGameId() != dwTeamID)
        return;
    CClientDataCenter* pHall = HallDataCenter();
    CTeamManager* pTeams = NULL;
    if (pHall == NULL || !pHall->LookupTeam(dwTeamID, pTeams))
        pTeams = NULL;
    pView->RefreshTeamList(pTeams);
}

void CRoomControlWnd::OnPersonalInfoState(const tagAccountNotice* pNotice)
{
    if (pNotice == NULL)
        return;
    m_nPersonalState = pNotice->cbResult;
    switch (pNotice->cbResult) {
    case 1: ConnectCurrentRoom(); break;
    case 0:
        if (!RunPersonalInfoForm(false) && m_pCurrentView != NULL)
            CloseRoomTab(m_pCurrentView);
        break;
    case 2:
    case 3: {
        memset(&m_PersonalInfo, 0, sizeof(m_PersonalInfo));
        m_PersonalInfo.cbResult = pNotice->cbResult;
        m_PersonalInfo.dwValue = pNotice->dwValue;
        lstrcpynA(m_PersonalInfo.szText1, pNotice->szText1, sizeof(m_PersonalInfo.szText1));
        lstrcpynA(m_PersonalInfo.szText2, pNotice->szText2, sizeof(m_PersonalInfo.szText2));
        lstrcpynA(m_PersonalInfo.szText3, pNotice->szText3, sizeof(m_PersonalInfo.szText3));
        lstrcpynA(m_PersonalInfo.szText4, pNotice->szText4, sizeof(m_PersonalInfo.szText4));
        // OK sends the form and waits for its answer; a cancelled form
        // closes a room that needs the information, else connects anyway.
        if (!RunPersonalInfoForm(true)) {
            if (pNotice->cbResult == 3) {
                if (m_pCurrentView != NULL)
                    CloseRoomTab(m_pCurrentView);
            } else
                ConnectCurrentRoom();
        }
        break;
    }
    default: break;
    }
}

void CRoomControlWnd::OnPersonalInfoAnswer(LPARAM lCode)
{
    if (lCode == 0) {
        m_nPersonalState = 1;
        ConnectCurrentRoom();
        return;
    }
    CString strText;
    switch (lCode) {
    case 1: strText = g_GlobalUnits.LoadResString(12001); break;
    case 2: strText = g_GlobalUnits.LoadResString(12002); break;
    case 3: strText = g_GlobalUnits.LoadResString(12004); break;
    default: strText = "未知错误！"; break;
    }
    AfxMessageBox(strText, MB_OK | MB_ICONINFORMATION);
    if (m_pCurrentView != NULL)
        CloseRoomTab(m_pCurrentView);
}
