#include "GameFrame.h"

#include <shellapi.h>
#include <stdlib.h>
#include <string.h>

#include "ClientDataCenter.h"
#include "CloseDlg.h"
#include "GameTreeManager.h"
#include "GameTreeNode.h"
#include "GlobalOption.h"
#include "GlobalUnits.h"
#include "HallApp.h"
#include "HallProtocol.h"
#include "HallTuning.h"
#include "SkinMenuEx.h"
#include "SkinMessageBox.h"
#include "TextUnit.h"
#include "WidgetDC.h"
#include "WordFilter.h"

namespace
{

// The keys the frame hears, in the order it registers them.
const WORD kNotifyKeys[][2] = {{1, 7}, {1, 8}, {1, 9}, {1, 2},  {1, 3},  {1, 6}, {4, 1},
                               {6, 1}, {6, 2}, {5, 1}, {7, 10}, {7, 12}, {3, 4}};

enum
{
    BORDER_TL,
    BORDER_LL,
    BORDER_TM,
    BORDER_TR,
    BORDER_L,
    BORDER_R,
    BORDER_BL,
    BORDER_BM,
    BORDER_BR,
    BORDER_WEB_TL,
    BORDER_WEB_TM,
    BORDER_WEB_TR,
    BORDER_COUNT
};
const LPCSTR kBorderFiles[BORDER_COUNT] = {"bordertl.bmp", "borderll.bmp",    "bordertm.bmp",    "bordertr.bmp",
                                           "borderl.bmp",  "borderr.bmp",     "borderbl.bmp",    "borderbm.bmp",
                                           "borderbr.bmp", "webborderTL.bmp", "webborderTM.bmp", "webborderTR.bmp"};

const UINT kTrayIconID = 128;
const COLORREF kTransparent = RGB(255, 0, 255);

CString ResourceFolder()
{
    return CString(g_GlobalUnits.GetResourceDirectory());
}

// The number after the marker in a link: -1 when the marker is missing or
// starts the text.
int LinkValue(const CString& link, LPCSTR marker)
{
    int at = link.Find(marker);
    if (at <= 0)
        return -1;
    return atoi(link.Mid(at + (int)strlen(marker)));
}

// Region of a picture's pixels that are not the key colour, at (x, y).
void AddPictureRegion(CRgn& region, const CPicture& picture, int x, int y)
{
    if (!picture.IsValid())
        return;
    HBITMAP bitmap = picture.MakeBitmap();
    if (bitmap == NULL)
        return;
    BITMAP info;
    ::GetObject(bitmap, sizeof(info), &info);
    HDC dc = ::CreateCompatibleDC(NULL);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    for (int row = 0; row < info.bmHeight; ++row) {
        int start = -1;
        for (int col = 0; col <= info.bmWidth; ++col) {
            bool solid = col < info.bmWidth && ::GetPixel(dc, col, row) != kTransparent;
            if (solid && start < 0)
                start = col;
            if (!solid && start >= 0) {
                CRgn run;
                run.CreateRectRgn(x + start, y + row, x + col, y + row + 1);
                region.CombineRgn(&region, &run, RGN_OR);
                start = -1;
            }
        }
    }
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    ::DeleteObject(bitmap);
}

struct MiniHallFinder
{
    DWORD dwProcessId;
    HWND hWnd;
};

BOOL CALLBACK FindMiniHallWindow(HWND hWnd, LPARAM lParam)
{
    MiniHallFinder* finder = (MiniHallFinder*)lParam;
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hWnd, &pid);
    if (pid != finder->dwProcessId)
        return TRUE;
    finder->hWnd = hWnd;
    return FALSE;
}

int PictureWidth(const CPicture& picture)
{
    return picture.IsValid() ? (int)picture.GetWidth() : 0;
}

int PictureHeight(const CPicture& picture)
{
    return picture.IsValid() ? (int)picture.GetHeight() : 0;
}

void AddRect(CRgn& region, int left, int top, int right, int bottom)
{
    if (right <= left || bottom <= top)
        return;
    CRgn band;
    band.CreateRectRgn(left, top, right, bottom);
    region.CombineRgn(&region, &band, RGN_OR);
}

} // namespace

BEGIN_MESSAGE_MAP(CGameFrame, CFrameWnd)
    ON_WM_GETMINMAXINFO()
    ON_WM_CREATE()
    ON_WM_CLOSE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_SETTINGCHANGE()
    ON_WM_SIZE()
    ON_WM_MOUSEMOVE()
    ON_WM_WINDOWPOSCHANGED()
    ON_WM_SYSCOMMAND()
    ON_WM_HOTKEY()
    ON_MESSAGE(WM_HALL_NOTIFY, OnDataCenterEvent)
    ON_MESSAGE(WM_FRAME_SHOW_TEXT, OnShowText)
    ON_MESSAGE(WM_FRAME_REFRESH_GAMES, OnRefreshGames)
    ON_MESSAGE(WM_FRAME_HALL_LINK, OnHallLink)
    ON_WM_COPYDATA()
    ON_MESSAGE(WM_FRAME_CONFIG_FAILED, OnConfigDownloadFailed)
    ON_MESSAGE(WM_FRAME_CONFIG_ARRIVED, OnConfigDownloaded)
    ON_MESSAGE(WM_FRAME_SWITCH_ACCOUNT, OnSwitchAccount)
    ON_MESSAGE(WM_FRAME_REGISTER, OnRegister)
    ON_MESSAGE(WM_FRAME_TRAY, OnTrayIcon)
    ON_MESSAGE(WM_FRAME_RECONNECT, OnReconnect)
    ON_MESSAGE(WM_FRAME_LINK, OnLink)
    ON_WM_TIMER()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CGameFrame::CGameFrame()
    : m_EventBuilder(&m_WidgetManager), m_bMaximized(true), m_bMinimized(false), m_bCloseByButton(false),
      m_cbReconnecting(0), m_bReconnectRefused(false), m_nReconnectDelay(g_HallTuning.nReconnectFirst),
      m_dwMiniHallWnd(0), m_pNeighbours(&m_PlainNeighbours), m_pUpdater(&m_PlainUpdater)
{
    memset(&m_MiniHall, 0, sizeof(m_MiniHall));
}

CGameFrame::~CGameFrame()
{
    if (m_hWnd != NULL)
        DestroyWindow();
    if (m_MiniHall.hThread != NULL)
        ::CloseHandle(m_MiniHall.hThread);
    if (m_MiniHall.hProcess != NULL)
        ::CloseHandle(m_MiniHall.hProcess);
}

void CGameFrame::SetNeighbours(CFrameNeighbours* pNeighbours)
{
    m_pNeighbours = pNeighbours != NULL ? pNeighbours : &m_PlainNeighbours;
}

void CGameFrame::SetUpdater(CFrameUpdater* pUpdater)
{
    m_pUpdater = pUpdater != NULL ? pUpdater : &m_PlainUpdater;
}

bool CGameFrame::IsLoggedOn() const
{
    IHallApp* pApp = CHallApp::Get();
    return pApp != NULL && pApp->IsLoggedOn();
}

void CGameFrame::SaveOptions()
{
    g_GlobalOption.SaveOptions();
}

// ---------------------------------------------------------------- creation

int CGameFrame::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CFrameWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    m_WidgetManager.SetParentHwnd(m_hWnd);
    ModifyStyle(WS_CAPTION, 0);
    ModifyStyleEx(WS_EX_CLIENTEDGE, 0);
    CenterWindow();

    HICON hIcon = ::LoadIcon(AfxGetResourceHandle(), MAKEINTRESOURCE(128));
    if (hIcon != NULL) {
        SetIcon(hIcon, TRUE);
        SetIcon(hIcon, FALSE);
    }
    SetWindowText(g_GlobalUnits.LoadResString(130));

    m_WidgetManager.AddWidget(&m_TopWidget);
    m_TopWidget.Initialize(this, g_GlobalUnits.GetResourceDirectory());
    m_MenuWnd.Create(NULL, NULL, WS_CHILD, CRect(0, 0, 0, 0), this, 0);
    m_ToolTip.Create(this, TTS_ALWAYSTIP);
    m_GameHall.Create(NULL, NULL, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, CRect(0, 0, 0, 0), this, 0);
    LoadBorderPictures();
    // The first size is the creation's; later ones come with each change.
    CRect window;
    GetWindowRect(&window);
    UpdateWindowRegion(window.Width(), window.Height());
    RegisterNotify(true);
    CHallWindows::InstallFrame(this);
    return 0;
}

void CGameFrame::RegisterNotify(bool bRegister)
{
    CClientDataCenter* pDataCenter = CHallApp::GetClientDataCenter();
    if (pDataCenter == NULL || m_hWnd == NULL)
        return;
    for (const WORD* key : kNotifyKeys) {
        if (bRegister)
            pDataCenter->AddNotifyWindow(key[0], key[1], m_hWnd);
        else
            pDataCenter->RemoveNotifyWindow(key[0], key[1], m_hWnd);
    }
    if (!bRegister)
        m_pNeighbours->RemoveItemShopNotify();
}

void CGameFrame::OnDestroy()
{
    RegisterNotify(false);
    if (CHallWindows::GetFrame() == this)
        CHallWindows::InstallFrame(NULL);
    m_WidgetManager.RemoveAllWidgets(false, false);
    if (m_MiniHall.hProcess != NULL) {
        DWORD code = 0;
        if (::GetExitCodeProcess(m_MiniHall.hProcess, &code) && code == STILL_ACTIVE)
            ::TerminateProcess(m_MiniHall.hProcess, 0);
    }
    RemoveTrayIcon();
    CFrameWnd::OnDestroy();
}

void CGameFrame::LoadBorderPictures()
{
    CString folder = ResourceFolder() + "MainFrame\\Border\\";
    for (int i = 0; i < BORDER_COUNT; ++i)
        m_Border[i].Load(folder + kBorderFiles[i]);
}

// ---------------------------------------------------------------- window

void CGameFrame::OnGetMinMaxInfo(MINMAXINFO* lpMMI)
{
    CFrameWnd::OnGetMinMaxInfo(lpMMI);
    CRect work;
    ::SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
    lpMMI->ptMaxPosition = CPoint(0, 0);
    lpMMI->ptMaxSize = CPoint(work.Width(), work.Height());
}

BOOL CGameFrame::OnEraseBkgnd(CDC* pDC)
{
    return TRUE;
}

void CGameFrame::OnSettingChange(UINT uFlags, LPCTSTR lpszSection)
{
    CFrameWnd::OnSettingChange(uFlags, lpszSection);
    CRect work;
    ::SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
    if (IsZoomed())
        SetWindowPos(NULL, work.left, work.top, work.Width(), work.Height(), SWP_NOZORDER);
    Invalidate(FALSE);
}

void CGameFrame::OnSize(UINT nType, int cx, int cy)
{
    CFrameWnd::OnSize(nType, cx, cy);
    if (m_hWnd == NULL || nType == SIZE_MINIMIZED)
        return;
    if (!IsZoomed()) {
        // The restored hall keeps its one size, 25 pixels above the centre.
        int x = (::GetSystemMetrics(SM_CXSCREEN) - kWidth) / 2;
        int y = (::GetSystemMetrics(SM_CYSCREEN) - 788) / 2;
        CRect window;
        GetWindowRect(&window);
        if (window != CRect(x, y, x + kWidth, y + kHeight))
            SetWindowPos(NULL, x, y, kWidth, kHeight, SWP_NOZORDER | SWP_FRAMECHANGED);
        LayoutChildren(kWidth, kHeight);
    } else {
        LayoutChildren(cx, cy);
    }
}

void CGameFrame::LayoutChildren(int cx, int cy)
{
    m_TopWidget.LayoutButtons(cx, cy);
    if (m_GameHall.GetSafeHwnd() == NULL)
        return;
    HDWP hdwp = ::BeginDeferWindowPos(1);
    hdwp = ::DeferWindowPos(hdwp, m_GameHall.GetSafeHwnd(), NULL, 10, 83, cx - 20, cy - 108,
                            SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
    ::EndDeferWindowPos(hdwp);
    Invalidate(FALSE);
}

void CGameFrame::OnWindowPosChanged(WINDOWPOS* lpwndpos)
{
    CFrameWnd::OnWindowPosChanged(lpwndpos);
    if (!(lpwndpos->flags & SWP_NOSIZE)) {
        CRect window;
        GetWindowRect(&window);
        UpdateWindowRegion(window.Width(), window.Height());
    }
}

void CGameFrame::UpdateWindowRegion(int cx, int cy)
{
    if (cx <= 0 || cy <= 0)
        return;
    const CPicture& tl = m_Border[BORDER_TL];
    const CPicture& tr = m_Border[BORDER_TR];
    const CPicture& bl = m_Border[BORDER_BL];
    const CPicture& br = m_Border[BORDER_BR];
    CRgn region;
    region.CreateRectRgn(0, 0, 0, 0);
    AddPictureRegion(region, tl, 0, 0);
    AddPictureRegion(region, tr, cx - PictureWidth(tr), 0);
    AddPictureRegion(region, bl, 0, cy - PictureHeight(bl));
    AddPictureRegion(region, br, cx - PictureWidth(br), cy - PictureHeight(br));
    int top = PictureHeight(tl);
    int bottom = cy - PictureHeight(bl);
    AddRect(region, PictureWidth(tl), 0, cx - PictureWidth(tr), top);
    AddRect(region, 0, top, cx, bottom);
    AddRect(region, PictureWidth(bl), bottom, cx - PictureWidth(br), cy);

    // The window owns the region it is given; the frame keeps a copy.
    m_WindowRegion.DeleteObject();
    m_WindowRegion.CreateRectRgn(0, 0, 0, 0);
    m_WindowRegion.CopyRgn(&region);
    SetWindowRgn((HRGN)region.Detach(), TRUE);
}

void CGameFrame::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    CDC memDC;
    memDC.CreateCompatibleDC(&dc);
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(&dc, client.Width(), client.Height());
    CBitmap* old = memDC.SelectObject(&bitmap);
    memDC.FillSolidRect(&client, RGB(210, 234, 246));

    HDC hdc = memDC.GetSafeHdc();
    int w = client.Width(), h = client.Height();
    const CPicture* p = m_Border;
    int top = PictureHeight(p[BORDER_TL]);
    int bottom = h - PictureHeight(p[BORDER_BL]);
    RECT left = {0, top, PictureWidth(p[BORDER_L]), bottom};
    RECT right = {w - PictureWidth(p[BORDER_R]), top, w, bottom};
    RECT foot = {PictureWidth(p[BORDER_BL]), bottom, w - PictureWidth(p[BORDER_BR]), h};
    if (p[BORDER_L].IsValid() && left.right > left.left && left.bottom > left.top)
        p[BORDER_L].Tile(hdc, &left);
    if (p[BORDER_R].IsValid() && right.right > right.left && right.bottom > right.top)
        p[BORDER_R].Tile(hdc, &right);
    if (p[BORDER_BM].IsValid() && foot.right > foot.left)
        p[BORDER_BM].Tile(hdc, &foot);
    if (p[BORDER_BL].IsValid())
        p[BORDER_BL].Draw(hdc, 0, bottom);
    if (p[BORDER_BR].IsValid())
        p[BORDER_BR].Draw(hdc, w - PictureWidth(p[BORDER_BR]), h - PictureHeight(p[BORDER_BR]));
    // The web border frames the hall area from above.
    int webTop = 83 - PictureHeight(p[BORDER_WEB_TM]);
    RECT web = {10 + PictureWidth(p[BORDER_WEB_TL]), webTop, w - 10 - PictureWidth(p[BORDER_WEB_TR]), 83};
    if (p[BORDER_WEB_TM].IsValid() && web.right > web.left && web.bottom > web.top)
        p[BORDER_WEB_TM].Tile(hdc, &web);
    if (p[BORDER_WEB_TL].IsValid())
        p[BORDER_WEB_TL].Draw(hdc, 10, webTop);
    if (p[BORDER_WEB_TR].IsValid())
        p[BORDER_WEB_TR].Draw(hdc, w - 10 - PictureWidth(p[BORDER_WEB_TR]), webTop);

    CWidgetDC widgetDC(&memDC, client);
    m_WidgetManager.DrawWidgetsTo(&widgetDC);
    dc.BitBlt(0, 0, w, h, &memDC, 0, 0, SRCCOPY);
    memDC.SelectObject(old);
}

void CGameFrame::OnMouseMove(UINT nFlags, CPoint point)
{
    SetFocus();
    CFrameWnd::OnMouseMove(nFlags, point);
}

BOOL CGameFrame::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_MOUSEMOVE && m_ToolTip.GetSafeHwnd() != NULL)
        m_ToolTip.RelayEvent(pMsg);
    return CFrameWnd::PreTranslateMessage(pMsg);
}

LRESULT CGameFrame::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_hWnd != NULL)
        m_EventBuilder.BuildEvent(m_hWnd, message, wParam, lParam);
    return CFrameWnd::WindowProc(message, wParam, lParam);
}

void CGameFrame::OnSysCommand(UINT nID, LPARAM lParam)
{
    CFrameWnd::OnSysCommand(nID, lParam);
    switch (nID & 0xFFF0) {
    case SC_MINIMIZE: m_bMinimized = true; break;
    case SC_MAXIMIZE:
        m_bMinimized = false;
        m_bMaximized = true;
        m_TopWidget.ShowMaximizedState(true);
        break;
    case SC_RESTORE:
        if (m_bMinimized) {
            m_bMinimized = false;
        } else if (!IsZoomed()) {
            m_bMaximized = false;
            m_TopWidget.ShowMaximizedState(false);
        }
        break;
    default: break;
    }
}

void CGameFrame::OnHotKey(UINT nHotKeyId, UINT nKey1, UINT nKey2)
{
    if (nHotKeyId != FRAME_BOSS_HOTKEY_ID)
        return;
    bool hidden = IsWindowVisible() != FALSE;
    if (hidden) {
        ShowWindow(SW_MINIMIZE);
        ShowWindow(SW_HIDE);
    } else {
        ShowWindow(SW_RESTORE);
        ShowWindow(SW_SHOW);
        SetActiveWindow();
        BringWindowToTop();
        SetForegroundWindow();
    }
    m_pNeighbours->ShowGameClientOfFirstRoom(hidden);
}

// ---------------------------------------------------------------- operations

void CGameFrame::LayoutHall(bool bPlazaFolded, bool bRoomWide)
{
    m_GameHall.Layout(bPlazaFolded, bRoomWide);
}

void CGameFrame::ShowItemShop(int nItemID)
{
    if (!m_pNeighbours->HasItemShop())
        m_pNeighbours->CreateItemShop();
    m_pNeighbours->ShowItemShop(nItemID);
}

void CGameFrame::ShowGameMail()
{
    m_pNeighbours->ShowGameMail();
}

void CGameFrame::ShowPromotion()
{
    m_pNeighbours->ShowPromotion();
}

void CGameFrame::ShowCardRecharge()
{
    m_pNeighbours->ShowCardRecharge();
}

void CGameFrame::EnterRoomById(int nRoomID)
{
    if (nRoomID == -1)
        return;
    CGameTreeManager* pTree = g_GlobalUnits.GetGameTreeManager();
    if (pTree == NULL)
        return;
    CGameRoom* pRoom = pTree->FindGameRoom((DWORD)nRoomID);
    if (pRoom == NULL)
        return;
    CGame* pGame = pTree->FindGame(pRoom->GetGameId());
    if (pGame == NULL)
        return;
    // A display node of the game holding the room, as the lists hand it over.
    CGameTreeNode* pGameNode = new CGameTreeNode(0);
    pGameNode->SetItemType(2);
    pGameNode->SetItemData(pGame->GetId());
    pGameNode->SetText(pGame->GetName());
    CGameTreeNode* pRoomNode = new CGameTreeNode(0);
    pRoomNode->SetItemType(4);
    pRoomNode->SetItemData(pRoom->GetId());
    pRoomNode->SetText(pRoom->GetName());
    pGameNode->InsertChild(pRoomNode);
    m_pNeighbours->EnterRoom(pGameNode);
    delete pGameNode;
}

void CGameFrame::RunUrlCommand(LPCSTR pszLink)
{
    if (pszLink == NULL)
        return;
    CString link(pszLink);
    if (link.Find("tavrel://") < 0)
        return;
    if (link.Find("opengamestore") >= 0 || link.Find("openitemshop") >= 0)
        ShowItemShop(LinkValue(link, "?item="));
    else if (link.Find("opengameroom") >= 0)
        EnterRoomById(LinkValue(link, "?roomid="));
}

void CGameFrame::OpenHallButton(int nIndex, bool bInPlaza)
{
    CString url = g_GlobalOption.GetHallButtonAction(nIndex);
    if (bInPlaza) {
        if (IHallApp* pApp = CHallApp::Get())
            pApp->RestoreMainWindow();
    }
    g_GlobalUnits.OpenUserUrl(url, bInPlaza);
}

void CGameFrame::OpenServicePage()
{
    if (CClientDataCenter* pDataCenter = CHallApp::GetClientDataCenter())
        pDataCenter->OpenServicePage(1, 0);
}

void CGameFrame::OpenHallWebPage()
{
    g_GlobalUnits.OpenUserUrl(g_GlobalOption.GetHallButtonAction(3), false);
}

void CGameFrame::ShowHelpMenu(CPoint ptScreen)
{
    CSkinMenuEx menu;
    if (!menu.CreatePopupMenu())
        return;
    menu.AppendMenu(MF_STRING, IDM_FAQ, "常见问题");
    menu.AppendMenu(MF_STRING, IDM_SERVICE_CENTRE, "客服中心");
    menu.AppendMenu(MF_STRING, IDM_OFFICIAL_SITE, "官方网页");
    menu.AppendMenu(MF_STRING, IDM_ABOUT, "关于Varnok游戏");
    menu.ChangeStyle(&menu);
    menu.TrackPopupMenu(TPM_CENTERALIGN | TPM_RIGHTBUTTON, ptScreen.x, ptScreen.y, &m_MenuWnd);
}

void CGameFrame::UpdateAfterLogon()
{
    // The face cache (its encrypted database, its worker) serves logged-on
    // users only: opened once, after the first logon, not on the way to
    // the logon dialog.
    if (m_CustomFaceManager.GetSafeHwnd() == NULL)
        m_CustomFaceManager.OpenUserCache();
    AddTrayIcon();
    tagGlobalUserData* pUser = g_GlobalUnits.GetGlobalUserData();
    m_TopWidget.ShowLogonButtons(pUser->lLevel == GUEST_USER_LEVEL);
    m_pNeighbours->FriendsLogon(pUser->dwUserID);
}

void CGameFrame::StartConfigUpdate()
{
    // A name: the updater keeps it in the dynamic folder and refuses a path.
    m_pUpdater->UpdateFile(g_GlobalOption.GetDynaCfgUrl(), "DynaItemCfg.zip", this, 3);
    // The word list is fetched when the configuration names where.
    CString wordListUrl = g_WordFilter.GetWordListUrl();
    if (!wordListUrl.IsEmpty())
        m_pUpdater->UpdateFile(wordListUrl,
                               CString(g_GlobalUnits.GetWorkDirectory()) + "config\\original\\wordfilter.txt", this, 5);
}

void CGameFrame::CheckOwnFace()
{
    tagGlobalUserData* pUser = g_GlobalUnits.GetGlobalUserData();
    if (pUser->szCustomFace[0] != 0 && !m_CustomFaceManager.IsFaceCached(pUser->dwUserID, pUser->szCustomFace))
        m_CustomFaceManager.RequestFace(pUser->dwUserID, pUser->szCustomFace);
}

void CGameFrame::UpdateOwnFace()
{
    CheckOwnFace();
    m_pNeighbours->RefreshUserPanel();
    Invalidate(FALSE);
}

void CGameFrame::ResetSession()
{
    m_OwnItems.RemoveAll();
    m_bReconnectRefused = false;
    m_pNeighbours->ClearItemShopItems();
    m_pNeighbours->CloseGameMail();
    RemoveTrayIcon();
}

void CGameFrame::AddTrayIcon()
{
    NOTIFYICONDATAA data;
    memset(&data, 0, sizeof(data));
    data.cbSize = sizeof(data);
    data.hWnd = m_hWnd;
    data.uID = kTrayIconID;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = WM_FRAME_TRAY;
    data.hIcon = ::LoadIcon(AfxGetResourceHandle(), MAKEINTRESOURCE(128));
    strcpy(data.szTip, "Varnok游戏中心");
    ::Shell_NotifyIconA(NIM_ADD, &data);
}

void CGameFrame::RemoveTrayIcon()
{
    if (m_hWnd == NULL)
        return;
    NOTIFYICONDATAA data;
    memset(&data, 0, sizeof(data));
    data.cbSize = sizeof(data);
    data.hWnd = m_hWnd;
    data.uID = kTrayIconID;
    ::Shell_NotifyIconA(NIM_DELETE, &data);
}

void CGameFrame::StartMiniHall(int nShow)
{
    if (m_MiniHall.hProcess != NULL) {
        DWORD code = 0;
        if (::GetExitCodeProcess(m_MiniHall.hProcess, &code) && code == STILL_ACTIVE) {
            // The mini hall never tells its window: find it by its process.
            MiniHallFinder finder = {m_MiniHall.dwProcessId, NULL};
            ::EnumWindows(FindMiniHallWindow, (LPARAM)&finder);
            if (finder.hWnd != NULL) {
                m_dwMiniHallWnd = HandleToULong(finder.hWnd);
                ::ShowWindow(finder.hWnd, SW_SHOW);
                ::SetForegroundWindow(finder.hWnd);
                return;
            }
            ::TerminateProcess(m_MiniHall.hProcess, 0);
        }
    }
    m_dwMiniHallWnd = 0;
    if (m_MiniHall.hThread != NULL)
        ::CloseHandle(m_MiniHall.hThread);
    if (m_MiniHall.hProcess != NULL)
        ::CloseHandle(m_MiniHall.hProcess);
    memset(&m_MiniHall, 0, sizeof(m_MiniHall));

    CString program = CString(g_GlobalUnits.GetWorkDirectory()) + "MiniTavrel.exe";
    CString command;
    if (nShow != 0)
        command.Format("\"%s\" show:%d", (LPCSTR)program, nShow);
    else
        command.Format("\"%s\" show", (LPCSTR)program);
    STARTUPINFOA startup;
    memset(&startup, 0, sizeof(startup));
    startup.cb = sizeof(startup);
    ::CreateProcessA(program, command.GetBuffer(), NULL, NULL, FALSE, CREATE_DEFAULT_ERROR_MODE, NULL, NULL, &startup,
                     &m_MiniHall);
    command.ReleaseBuffer();
}

// ---------------------------------------------------------------- messages

LRESULT CGameFrame::OnShowText(WPARAM wParam, LPARAM lParam)
{
    const CString* pText = (const CString*)wParam;
    if (pText != NULL)
        SkinMessageBox(m_hWnd, *pText, "提示", MB_ICONEXCLAMATION | MB_OK);
    return 0;
}

LRESULT CGameFrame::OnRefreshGames(WPARAM wParam, LPARAM lParam)
{
    m_pNeighbours->RefreshGameList();
    return 0;
}

LRESULT CGameFrame::OnHallLink(WPARAM wParam, LPARAM lParam)
{
    LPCSTR pszText = (LPCSTR)wParam;
    if (pszText != NULL && pszText[0] != 0 && CHallApp::GetClientDataCenter() != NULL)
        RunUrlCommand(pszText);
    return 0;
}

LRESULT CGameFrame::OnLink(WPARAM wParam, LPARAM lParam)
{
    LPCSTR pszText = (LPCSTR)wParam;
    if (pszText != NULL && pszText[0] != 0)
        RunUrlCommand(pszText);
    return 0;
}

BOOL CGameFrame::OnCopyData(CWnd* pWnd, COPYDATASTRUCT* pCopyDataStruct)
{
    CClientDataCenter* pDataCenter = CHallApp::GetClientDataCenter();
    HWND hSender = pWnd != NULL ? pWnd->GetSafeHwnd() : NULL;
    if (pDataCenter != NULL && pDataCenter->OnServiceCopyData(hSender, pCopyDataStruct)) {
        // The own face was reloaded: the user panel shows it at once.
        UpdateOwnFace();
        return CFrameWnd::OnCopyData(pWnd, pCopyDataStruct);
    }
    if (pCopyDataStruct == NULL || pCopyDataStruct->lpData == NULL || pCopyDataStruct->cbData == 0)
        return FALSE;
    // Another process's bytes: no further than cbData, up to the first zero.
    const char* data = (const char*)pCopyDataStruct->lpData;
    const void* end = memchr(data, 0, pCopyDataStruct->cbData);
    int length = end != NULL ? (int)((const char*)end - data) : (int)pCopyDataStruct->cbData;
    if (length == 0)
        return FALSE;
    CString text(data, length);
    if (pDataCenter != NULL)
        RunUrlCommand(text);
    return CFrameWnd::OnCopyData(pWnd, pCopyDataStruct);
}

LRESULT CGameFrame::OnDataCenterEvent(WPARAM wParam, LPARAM lParam)
{
    const tagNotifyHead* pHead = (const tagNotifyHead*)wParam;
    if (pHead == NULL)
        return 0;
    CClientDataCenter* pDataCenter = CHallApp::GetClientDataCenter();
    tagGlobalUserData* pUser = g_GlobalUnits.GetGlobalUserData();
    DWORD key = (DWORD)pHead->wMainCmdID << 16 | pHead->wSubCmdID;
    switch (key) {
    case 1 << 16 | 2: {
        if (m_cbReconnecting == 0 || pDataCenter == NULL)
            break;
        const tagConnectNotice* pNotice = (const tagConnectNotice*)lParam;
        if (pNotice != NULL && pNotice->lErrorCode == 0) {
            tagGlobalUserData user = *pUser;
            DWORD serial = 0;
            if (user.lLevel == GUEST_USER_LEVEL) {
                pDataCenter->SendMachineLogon(serial, m_hWnd);
            } else {
                tagLogonInput input;
                memset(&input, 0, sizeof(input));
                input.dwUserID = user.dwUserID;
                TextCopyField(input.szAccounts, user.szAccount);
                TextCopyField(input.szPassword, user.szPassword);
                pDataCenter->SendLogon(serial, m_hWnd, input);
            }
        } else {
            m_cbReconnecting = 0;
            pDataCenter->CloseSocket();
            ScheduleReconnect();
        }
        break;
    }
    case 1 << 16 | 3: {
        if (m_cbReconnecting == 0 || pDataCenter == NULL)
            break;
        const tagLogonNotice* pNotice = (const tagLogonNotice*)lParam;
        m_cbReconnecting = 0;
        if (pNotice != NULL && pNotice->lResult == 0) {
            pDataCenter->SubscribeOnlineCounts();
        } else {
            // The server refuses this account now: trying again with the
            // same credentials would go on for ever.
            m_bReconnectRefused = true;
            KillTimer(IDT_FRAME_RECONNECT);
            pDataCenter->CloseSocket();
        }
        break;
    }
    case 1 << 16 | 6:
        if (m_cbReconnecting != 0)
            m_cbReconnecting = 0;
        else
            CheckOwnFace();
        break;
    case 1 << 16 | 7:
        if (IsWindowVisible()) {
            if (IHallApp* pApp = CHallApp::Get())
                pApp->RestoreMainWindow();
            SkinMessageBox(NULL, g_GlobalUnits.LoadResString(10005), "提示", MB_ICONEXCLAMATION | MB_OK);
        }
        break;
    case 1 << 16 | 8:
        if (!IsLoggedOn() || m_bCloseByButton || m_bReconnectRefused || pDataCenter == NULL)
            break;
        if (m_cbReconnecting == 0) {
            SaveOptions();
            PostMessage(WM_FRAME_RECONNECT);
        } else {
            pDataCenter->CloseSocket();
            ScheduleReconnect();
        }
        break;
    case 1 << 16 | 9: {
        DWORD kind = (DWORD)lParam;
        if (kind == 4 || kind == 14 || kind == 15 || kind == 19) {
            m_pNeighbours->RefreshUserPanel();
            if (m_pNeighbours->HasItemShop())
                m_pNeighbours->RefreshItemShopUser();
        } else if (kind == 13) {
            CheckOwnFace();
        }
        break;
    }
    case 3 << 16 | 4:
        m_TopWidget.ShowLogonButtons(false);
        Invalidate(FALSE);
        break;
    case 4 << 16 | 1: {
        const tagSystemMessage* pMessage = (const tagSystemMessage*)lParam;
        static const LPCSTR kCaptions[] = {"系统消息", "网管消息", "提示信息", "活动信息"};
        if (pMessage == NULL || pMessage->dwValue != 1)
            break;
        LPCSTR caption = pMessage->cbKind < 4 ? kCaptions[pMessage->cbKind] : NULL;
        CString text(pMessage->szText, (int)strnlen(pMessage->szText, sizeof(pMessage->szText)));
        SkinMessageBox(m_hWnd, text, caption, MB_ICONINFORMATION | MB_OK);
        break;
    }
    case 5 << 16 | 1: {
        WORD item = (WORD)lParam;
        if (item != 0)
            m_pNeighbours->FlashRoomTab(item);
        break;
    }
    case 6 << 16 | 1: {
        const tagUserValueItem* pItem = (const tagUserValueItem*)lParam;
        if (pItem == NULL)
            break;
        INT_PTR i = 0;
        for (; i < m_OwnItems.GetSize(); ++i)
            if (m_OwnItems[i].dwItemID == pItem->dwItemID)
                break;
        if (i < m_OwnItems.GetSize())
            m_OwnItems[i] = *pItem;
        else
            m_OwnItems.Add(*pItem);
        m_pNeighbours->SetOwnItems(m_OwnItems);
        if (pItem->dwItemID == 1) {
            CWnd* pPopup = GetLastActivePopup();
            if (pPopup != NULL)
                pPopup->SendMessage(WM_FRAME_OWN_ITEM_COUNT, pItem->wCount);
        }
        m_pNeighbours->ForwardOwnItem(*pItem);
        break;
    }
    default: break;
    }
    return 0;
}

void CGameFrame::ScheduleReconnect()
{
    SetTimer(IDT_FRAME_RECONNECT, (UINT)m_nReconnectDelay * g_HallTuning.dwSecond, NULL);
    if (m_nReconnectDelay < g_HallTuning.nReconnectDoubleBelow)
        m_nReconnectDelay *= 2;
}

LRESULT CGameFrame::OnReconnect(WPARAM wParam, LPARAM lParam)
{
    m_cbReconnecting = 1;
    if (CClientDataCenter* pDataCenter = CHallApp::GetClientDataCenter())
        pDataCenter->ConnectServer();
    return 0;
}

void CGameFrame::OnTimer(UINT_PTR nIDEvent)
{
    KillTimer(nIDEvent);
    switch (nIDEvent) {
    case IDT_FRAME_ITEM_SHOP:
        if (!m_pNeighbours->HasItemShop())
            m_pNeighbours->CreateItemShop();
        break;
    case IDT_FRAME_LOGON_BANNER: m_pUpdater->UpdateAdBanner(g_GlobalOption.GetLogonBanner().dwVersion, 0, this); break;
    case IDT_FRAME_CLOSE_BANNER: m_pUpdater->UpdateAdBanner(g_GlobalOption.GetCloseBanner().dwVersion, 1, this); break;
    case IDT_FRAME_COMPETITION:
        m_pUpdater->UpdateCompetitionEntry(g_GlobalOption.GetCompetitionConfig().dwVersion, this);
        break;
    case IDT_FRAME_SERVER_LIST: m_pUpdater->UpdateConfigFile(g_GlobalOption.ReadListVersions(0), 0, this); break;
    case IDT_FRAME_ADDRESS_LIST: m_pUpdater->UpdateConfigFile(g_GlobalOption.ReadListVersions(2), 2, this); break;
    case IDT_FRAME_SERVICE_LIST: m_pUpdater->UpdateConfigFile(g_GlobalOption.ReadListVersions(1), 1, this); break;
    case IDT_FRAME_MINI_HALL: StartMiniHall(0); break;
    case IDT_FRAME_RECONNECT: PostMessage(WM_FRAME_RECONNECT); break;
    default: break;
    }
}

void CGameFrame::ApplyDynamicConfig()
{
    CString folder = g_GlobalOption.GetConfigDirectory() + "\\Dynamic\\";
    CString zip = folder + "DynaItemCfg.zip", ini = folder + "DynaItemCfg.ini";
    for (const CString* path : {&zip, &ini}) {
        DWORD attributes = ::GetFileAttributesA(*path);
        if (attributes != INVALID_FILE_ATTRIBUTES && attributes != FILE_ATTRIBUTE_NORMAL)
            ::SetFileAttributesA(*path, FILE_ATTRIBUTE_NORMAL);
    }
    DWORD attributes = ::GetFileAttributesA(ini);
    if (attributes != INVALID_FILE_ATTRIBUTES && attributes != FILE_ATTRIBUTE_NORMAL)
        ::DeleteFileA(ini);
    m_pUpdater->ExtractZipFile(zip);
    m_pUpdater->LoadBulletin();
    static const UINT kTimers[] = {IDT_FRAME_LOGON_BANNER, IDT_FRAME_ITEM_SHOP,   IDT_FRAME_CLOSE_BANNER,
                                   IDT_FRAME_COMPETITION,  IDT_FRAME_SERVER_LIST, IDT_FRAME_ADDRESS_LIST,
                                   IDT_FRAME_SERVICE_LIST};
    for (UINT id : kTimers)
        SetTimer(id, g_HallTuning.dwConfigTimer, NULL);
}

void CGameFrame::ExtractCompetitionEntry()
{
    if (g_GlobalOption.GetCompetitionConfig().szFileName[0] == 0)
        g_GlobalOption.ReadCompetitionConfig();
    m_pUpdater->ExtractZipFile(ResourceFolder() + g_GlobalOption.GetCompetitionConfig().szFileName);
}

LRESULT CGameFrame::OnConfigDownloaded(WPARAM wParam, LPARAM lParam)
{
    switch ((int)wParam) {
    case 2: m_pUpdater->LoadBulletin(); break;
    case 3: ApplyDynamicConfig(); break;
    case 4: ExtractCompetitionEntry(); break;
    case 5: m_pUpdater->ReloadWordFilter(); break;
    default: break;
    }
    return 1;
}

LRESULT CGameFrame::OnConfigDownloadFailed(WPARAM wParam, LPARAM lParam)
{
    switch ((int)wParam) {
    case 2: m_pUpdater->LoadBulletin(); break;
    case 3: ApplyDynamicConfig(); break;
    case 4: ExtractCompetitionEntry(); break;
    default: break;
    }
    return 1;
}

LRESULT CGameFrame::OnTrayIcon(WPARAM wParam, LPARAM lParam)
{
    switch ((UINT)lParam) {
    case WM_LBUTTONDBLCLK:
        if (IsWindowVisible()) {
            if (IHallApp* pApp = CHallApp::Get())
                pApp->RestoreMainWindow();
        } else {
            ShowWindow(SW_MINIMIZE);
        }
        break;
    case WM_RBUTTONUP: {
        CSkinMenuEx menu;
        if (!menu.CreatePopupMenu())
            break;
        menu.AppendMenu(MF_STRING, IDM_SWITCH_ACCOUNT, "切换帐号");
        menu.AppendMenu(MF_STRING, IDM_OPEN_MAIN, "打开主面板");
        menu.AppendMenu(MF_STRING, IDM_EXIT_GAME, "退出游戏");
        menu.ChangeStyle(&menu);
        CPoint point;
        AfxGetCursorPos(&point);
        SetForegroundWindow();
        menu.TrackPopupMenu(TPM_RIGHTALIGN | TPM_RIGHTBUTTON, point.x, point.y, &m_MenuWnd);
        break;
    }
    default: break;
    }
    return 0;
}

LRESULT CGameFrame::OnRegister(WPARAM wParam, LPARAM lParam)
{
    m_pNeighbours->RunRegister();
    return 1;
}

LRESULT CGameFrame::OnSwitchAccount(WPARAM wParam, LPARAM lParam)
{
    if (g_GlobalUnits.GetGlobalUserData()->dwUserID == 0)
        return 1;
    if (!m_pNeighbours->CloseAllRooms())
        return -1;
    if (m_pNeighbours->HasItemShop())
        m_pNeighbours->DestroyItemShop();
    SaveOptions();
    if (CClientDataCenter* pDataCenter = CHallApp::GetClientDataCenter())
        pDataCenter->SendLogoff(false);
    m_bReconnectRefused = false;
    m_cbReconnecting = 0;
    if (IHallApp* pApp = CHallApp::Get())
        pApp->LogonAgain();
    return 1;
}

void CGameFrame::OnClose()
{
    g_GlobalUnits.WebLogout();
    if (g_GlobalUnits.GetGlobalUserData()->dwUserID != 0) {
        bool byButton = m_bCloseByButton;
        // Whatever ends the road here, the next lost connection reconnects.
        m_bCloseByButton = false;
        // Asked before anything is torn down, so that staying leaves the
        // hall whole.
        if (!m_pNeighbours->CanCloseAllRooms())
            return;
        if (byButton) {
            CCloseDlg dialog(this);
            INT_PTR result = dialog.DoModal();
            if (result == CCloseDlg::kResultSwitchAccount) {
                PostMessage(WM_FRAME_SWITCH_ACCOUNT);
                return;
            }
            if (result != CCloseDlg::kResultQuit)
                return;
        }
        if (!m_pNeighbours->CloseAllRooms())
            return;
        m_pNeighbours->CloseChannelDialog();
        if (m_pNeighbours->HasItemShop())
            m_pNeighbours->CancelItemShop();
        m_pNeighbours->FriendsLogoff();
        m_cbReconnecting = 0;
    }
    ShowWindow(SW_HIDE);
    ResetSession();
    m_pNeighbours->LeaveHall();
    RemoveTrayIcon();
    SaveOptions();
    m_pUpdater->DetachNotifyWindow();
    CFrameWnd::OnClose();
}
