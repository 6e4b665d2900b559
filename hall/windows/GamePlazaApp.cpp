#include "GamePlazaApp.h"

#include <afxmt.h>
#include <commctrl.h>

#include "ApiHook.h"
#include "ClientDataCenter.h"
#include "FileUpdate.h"
#include "GameFrame.h"
#include "GlobalOption.h"
#include "GlobalUnits.h"
#include "HallMsgBox.h"
#include "HallTuning.h"
#include "HallUrl.h"
#include "MachineID.h"
#include "PlazaViewItem.h"
#include "PopupWnd.h"
#include "RoomMatchViewAdapter.h"
#include "RoomViewItemMoney.h"
#include "SkinAttribute.h"
#include "WordFilter.h"

namespace
{

const char kHallClass[] = "Tavrel";

struct HookRow
{
    PVOID pTrampoline;
    PVOID pReplacement;
};

// Start-up installs in this order; exit removes in its own.
const HookRow kInstallOrder[] = {
    {(PVOID)&Real_SetScrollInfo, (PVOID)&Hook_SetScrollInfo},
    {(PVOID)&Real_GetScrollInfo, (PVOID)&Hook_GetScrollInfo},
    {(PVOID)&Real_SetScrollPos, (PVOID)&Hook_SetScrollPos},
    {(PVOID)&Real_GetScrollPos, (PVOID)&Hook_GetScrollPos},
    {(PVOID)&Real_SetScrollRange, (PVOID)&Hook_SetScrollRange},
    {(PVOID)&Real_GetScrollRange, (PVOID)&Hook_GetScrollRange},
    {(PVOID)&Real_ShowScrollBar, (PVOID)&Hook_ShowScrollBar},
    {(PVOID)&Real_EnableScrollBar, (PVOID)&Hook_EnableScrollBar},
};
const HookRow kRemoveOrder[] = {
    {(PVOID)&Real_SetScrollInfo, (PVOID)&Hook_SetScrollInfo},
    {(PVOID)&Real_SetScrollPos, (PVOID)&Hook_SetScrollPos},
    {(PVOID)&Real_GetScrollInfo, (PVOID)&Hook_GetScrollInfo},
    {(PVOID)&Real_GetScrollPos, (PVOID)&Hook_GetScrollPos},
    {(PVOID)&Real_SetScrollRange, (PVOID)&Hook_SetScrollRange},
    {(PVOID)&Real_GetScrollRange, (PVOID)&Hook_GetScrollRange},
    {(PVOID)&Real_ShowScrollBar, (PVOID)&Hook_ShowScrollBar},
    {(PVOID)&Real_EnableScrollBar, (PVOID)&Hook_EnableScrollBar},
};

CGameFrame* Frame()
{
    return dynamic_cast<CGameFrame*>(AfxGetMainWnd());
}

} // namespace

CGamePlazaApp::CGamePlazaApp()
    : m_pClientDataCenter(NULL), m_bLogon(false), m_bLoopRan(false), m_pPopupWnd(NULL), m_pUserPanel(NULL)
{}

CGamePlazaApp::~CGamePlazaApp() {}

BOOL CGamePlazaApp::InitInstance()
{
    CWinApp::InitInstance();
    // The mutex lives only during start-up: afterwards the window class
    // alone tells a running hall. A window found ends this start even when
    // the lock was taken.
    CMutex mutex(FALSE, kHallClass);
    CSingleLock lock(&mutex);
    bool locked = lock.Lock(0) != FALSE;
    HWND hOther = ::FindWindowA(kHallClass, NULL);
    if (hOther != NULL) {
        if (::IsIconic(hOther))
            ::ShowWindow(hOther, SW_RESTORE);
        ::SetActiveWindow(hOther);
        ::BringWindowToTop(hOther);
        ::SetForegroundWindow(hOther);
    }
    if (!locked || hOther != NULL)
        return FALSE;

    AfxOleInit();
    AfxInitRichEdit2();
    ::InitCommonControls();
    AfxEnableControlContainer();
    SetRegistryKey(kHallClass);
    CHallApp::Install(this);
    CHallLinks::Install(this);
    // Match rooms show the match view in their room view.
    CRoomMatchViewAdapter::InstallFactory();
    // The rooms' safe box and gold exchange are the shop's panels.
    CRoomViewItem::s_MoneyPanelsFactory = &CRoomViewItemMoney::Create;

    if (!g_GlobalUnits.InitGlobalUnits()) {
        AfxMessageBox("游戏大厅初始化失败，程序即将退出！", MB_ICONERROR);
        return FALSE;
    }

    m_SkinRecordFile.InitSkinRecordFile(NULL, g_GlobalUnits.GetResourceDirectory());
    IUnknownEx* pSkin = NULL;
    if (SUCCEEDED(m_SkinRecordFile.QueryInterface(IID_ISkinRecord, (void**)&pSkin)) && pSkin != NULL) {
        CSkinAttribute::LoadSkinAttribute(pSkin);
        pSkin->Release();
    }

    for (const HookRow& row : kInstallOrder)
        InstallApiHook(row.pTrampoline, row.pReplacement);

    // The saved accounts live in the options store's config folder, keyed
    // by this machine.
    m_AccountsStore.SetConfigDirectory(g_GlobalOption.GetConfigDirectory());
    m_AccountsStore.SetKeySource(&CMachineID::GetAccountsKey);
    g_GlobalOption.SetAccountsStore(&m_AccountsStore);
    g_GlobalOption.LoadOptions();

    m_pClientDataCenter = new CClientDataCenter;
    if (m_pClientDataCenter == NULL) {
        AfxMessageBox("创建数据中心失败", MB_OK);
        return FALSE;
    }
    m_pClientDataCenter->SetNotifyMessage(WM_HALL_NOTIFY);
    m_pClientDataCenter->SetPopupHandler([this](LPCSTR pszText) { ShowPopupMessage(pszText); });

    WNDCLASS wc;
    memset(&wc, 0, sizeof(wc));
    wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = ::DefWindowProc;
    wc.hInstance = AfxGetInstanceHandle();
    wc.hIcon = LoadIcon(128);
    wc.hCursor = LoadStandardCursor(IDC_ARROW);
    wc.lpszClassName = kHallClass;
    if (!AfxRegisterClass(&wc))
        AfxThrowResourceException();

    CGameFrame* pFrame = new CGameFrame;
    m_pMainWnd = pFrame;
    m_Neighbours.SetShopDataCenter(m_pClientDataCenter);
    pFrame->SetNeighbours(&m_Neighbours);
    // The plaza view, the hall's left pane, shows the own-user panel on top.
    pFrame->GetGameHall().GetPlazaView()->SetUserPanel(m_pUserPanel);
    pFrame->CreateEx(0, kHallClass, "", WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_SYSMENU | WS_MINIMIZEBOX, 0, 0,
                     CGameFrame::kWidth, CGameFrame::kHeight, NULL, NULL);

    CFileUpdate::SetDefaultHost(&m_FileUpdateHost);
    // Downloads may start from the logon dialog (the hall's own update).
    CHallWindows::InstallDownLoadWnd(&m_DownLoadDlg);
    m_bLogon = false;
    m_DlgLogon.SetClientDataCenter(m_pClientDataCenter);
    if (m_DlgLogon.DoModal() == IDCANCEL) {
        pFrame->DestroyWindow();
        return FALSE;
    }
    StartAfterLogon();
    m_bLoopRan = true;
    return TRUE;
}

void CGamePlazaApp::StartAfterLogon()
{
    CGameFrame* pFrame = Frame();
    m_bLogon = true;
    g_WordFilter.LoadWordList();
    pFrame->UpdateAfterLogon();
    SyncPlazaView();
    pFrame->ShowWindow(SW_SHOWMAXIMIZED);

    // Two switches of the dynamic configuration. The mini hall's has been
    // written both ways round: [ShowMiniPlaza] show, else [show] ShowMiniPlaza.
    CString ini = CString(g_GlobalUnits.GetWorkDirectory()) + "config\\dynamic\\DynaItemCfg.ini";
    int miniHall = (int)::GetPrivateProfileIntA("ShowMiniPlaza", "show", -1, ini);
    if (miniHall == -1)
        miniHall = (int)::GetPrivateProfileIntA("show", "ShowMiniPlaza", 1, ini);
    if (miniHall != 0)
        pFrame->SetTimer(IDT_FRAME_MINI_HALL, g_HallTuning.dwMiniHallDelay, NULL);
    if (::GetPrivateProfileIntA("ShowMainUrl", "show", 0, ini) != 0)
        OpenUrlInBrowser(g_GlobalOption.GetHallButtonAction(0), SW_SHOWNORMAL);

    m_pClientDataCenter->SendNoticeRequest();
    CGlobalUnits::RegisterHotKey(pFrame->GetSafeHwnd(), FRAME_BOSS_HOTKEY_ID, g_GlobalOption.m_wBossHotKey);
    m_pPopupWnd = new CPopupWnd;
    if (m_pPopupWnd != NULL)
        m_pPopupWnd->Create(pFrame);
    pFrame->StartConfigUpdate();
}

void CGamePlazaApp::SyncPlazaView()
{
    if (m_pUserPanel != NULL)
        m_pUserPanel->UpdateUserInfo();
    CPlazaViewItem* pPlaza = g_GlobalUnits.GetPlazaView();
    if (pPlaza != NULL && pPlaza->GetSafeHwnd() != NULL) {
        pPlaza->SyncLockButtons();
        pPlaza->RepaintUserPanel();
    }
}

int CGamePlazaApp::ExitInstance()
{
    m_DownLoadDlg.CloseDownLoadWindow();
    if (CHallWindows::GetDownLoadWnd() == &m_DownLoadDlg)
        CHallWindows::InstallDownLoadWnd(NULL);
    if (m_pPopupWnd != NULL && m_pPopupWnd->GetSafeHwnd() != NULL)
        m_pPopupWnd->DestroyWindow();
    delete m_pClientDataCenter;
    m_pClientDataCenter = NULL;
    delete m_pMainWnd;
    m_pMainWnd = NULL;
    delete m_pPopupWnd;
    m_pPopupWnd = NULL;
    for (const HookRow& row : kRemoveOrder)
        RemoveApiHook(row.pTrampoline, row.pReplacement);
    if (CHallApp::Get() == this)
        CHallApp::Install(NULL);
    if (CHallLinks::GetHandler() == this)
        CHallLinks::Install(NULL);
    CRoomMatchViewAdapter::RemoveFactory();
    CRoomViewItem::s_MoneyPanelsFactory = nullptr;
    g_GlobalOption.SetAccountsStore((CAccountsStore*)NULL);
    const int nCode = CWinApp::ExitInstance();
    // A start that ends before the loop (a cancelled logon, another hall
    // running) is a normal end: the word of whatever message came last, a
    // button's command for one, is no exit code.
    return m_bLoopRan ? nCode : 0;
}

int CGamePlazaApp::DoMessageBox(LPCTSTR lpszPrompt, UINT nType, UINT nIDPrompt)
{
    RestoreMainWindow();
    return HallMsgBox(NULL, lpszPrompt, "提示信息", nType);
}

void CGamePlazaApp::RestoreMainWindow()
{
    CGameFrame* pFrame = Frame();
    if (pFrame == NULL || !::IsWindow(pFrame->GetSafeHwnd()))
        return;
    if (pFrame->GetStyle() & WS_MAXIMIZE) {
        pFrame->SetFrameMaximized(true);
        return;
    }
    pFrame->ShowWindow(pFrame->IsFrameMaximized() ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
}

bool CGamePlazaApp::ShowUrlInPlaza(LPCSTR pszUrl, BYTE cbFlag, int nMode)
{
    if (pszUrl == NULL || pszUrl[0] == 0)
        return false;
    if (nMode == 1) {
        if (CGameFrame* pFrame = Frame())
            pFrame->LayoutHall(true, false);
    }
    if (IRoomTabWnd* pRoomTabs = CHallWindows::GetRoomTabs())
        pRoomTabs->ShowWebPage(pszUrl, cbFlag);
    return true;
}

void CGamePlazaApp::ShowPopupMessage(LPCSTR pszText)
{
    if (m_pPopupWnd != NULL && m_pPopupWnd->GetSafeHwnd() != NULL)
        m_pPopupWnd->ShowPopup(pszText);
}

int CGamePlazaApp::HandleHallUrl(LPCSTR pszUrl)
{
    return ::HandleHallUrl(pszUrl, m_DlgLogon.GetSafeHwnd()) ? 1 : 0;
}

void CGamePlazaApp::LogonAgain()
{
    CGameFrame* pFrame = Frame();
    if (pFrame == NULL || m_pClientDataCenter == NULL)
        return;
    CFrameNeighbours* pNeighbours = pFrame->GetNeighbours();
    if (pNeighbours->HasItemShop())
        pNeighbours->DestroyItemShop();
    memset(g_GlobalUnits.GetGlobalUserData(), 0, sizeof(tagGlobalUserData));
    pFrame->ShowWindow(SW_HIDE);
    m_pClientDataCenter->ResetLogonState(false);
    pFrame->ResetSession();
    pNeighbours->LeaveHall();
    CPlazaViewItem* pPlaza = g_GlobalUnits.GetPlazaView();
    if (pPlaza != NULL && pPlaza->GetSafeHwnd() != NULL)
        pPlaza->GetGameListView().DeleteTreeItems();
    g_GlobalUnits.ClearRoomMap();
    if (pPlaza != NULL && pPlaza->GetSafeHwnd() != NULL)
        pPlaza->DeleteAllServerItems();
    if (IDownLoadWnd* pDownLoad = CHallWindows::GetDownLoadWnd())
        pDownLoad->CloseDownLoadWindow();
    pNeighbours->ResetPersonalInfoState();

    m_bLogon = false;
    if (m_DlgLogon.DoModal() == IDCANCEL) {
        pFrame->DestroyWindow();
        return;
    }
    m_bLogon = true;
    m_pClientDataCenter->LoadWebGameList(CString(g_GlobalUnits.GetWorkDirectory()) + "Config\\Original\\LocalGame.ini");
    m_pClientDataCenter->SendNoticeRequest();
    pFrame->UpdateAfterLogon();
    SyncPlazaView();
    if (!pNeighbours->HasItemShop())
        pNeighbours->CreateItemShop();
    pFrame->ShowWindow(SW_SHOW);
}
