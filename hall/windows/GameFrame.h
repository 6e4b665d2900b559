// The hall's one top-level window: a captionless frame that carries the
// title bar, the hall area and the menu command window. It hears the hall
// data centre, the configuration update, the user-service program, hall
// links, the tray icon and the boss key; it owns the reconnect loop after a
// lost connection and the order in which the hall closes or switches
// account.
#pragma once

#include <afxcmn.h>
#include <afxtempl.h>
#include <afxwin.h>

#include "CustomFaceManagerWnd.h"
#include "EventBuildHelper.h"
#include "FrameNeighbours.h"
#include "FrameTopWidget.h"
#include "GameHall.h"
#include "HallWindows.h"
#include "MenuWnd.h"
#include "Picture.h"
#include "WidgetManager.h"

#define WM_FRAME_SHOW_TEXT (WM_USER + 100)
#define WM_FRAME_CONFIG_FAILED (WM_USER + 101)
#define WM_FRAME_CONFIG_ARRIVED (WM_USER + 102)
#define WM_FRAME_RECONNECT (WM_USER + 105)
#define WM_FRAME_OWN_ITEM_COUNT (WM_USER + 1001)
#define WM_FRAME_REFRESH_GAMES (WM_USER + 1234)
#define WM_FRAME_HALL_LINK (WM_USER + 2123)
#define WM_FRAME_LINK (WM_USER + 2124)
#define WM_FRAME_TRAY (WM_APP + 1000)

// Frame timers; every one is one-shot.
enum
{
    IDT_FRAME_ITEM_SHOP = 1,
    IDT_FRAME_LOGON_BANNER = 2,
    IDT_FRAME_UNUSED = 3,
    IDT_FRAME_MINI_HALL = 5,
    IDT_FRAME_COMPETITION = 6,
    IDT_FRAME_CLOSE_BANNER = 7,
    IDT_FRAME_RECONNECT = 8,
    IDT_FRAME_SERVER_LIST = 9,
    IDT_FRAME_ADDRESS_LIST = 10,
    IDT_FRAME_SERVICE_LIST = 11,
};

const int FRAME_BOSS_HOTKEY_ID = 0x100;

class CGameFrame : public CFrameWnd, public IHallFrameWnd, public IFrameTopOwner
{
public:
    static const int kWidth = 1024;
    static const int kHeight = 738;

    CGameFrame();
    ~CGameFrame() override;

    // The neighbours and the updater; null gives the plain ones. Not owned.
    void SetNeighbours(CFrameNeighbours* pNeighbours);
    void SetUpdater(CFrameUpdater* pUpdater);
    CFrameNeighbours* GetNeighbours() { return m_pNeighbours; }

    // IHallFrameWnd
    CCustomFaceManagerWnd* GetCustomFaceManager() override { return &m_CustomFaceManager; }
    void ShowItemShop(int nItemID) override;
    void EnterRoomById(int nRoomID) override;

    // IFrameTopOwner
    HWND GetFrameWnd() override { return m_hWnd; }
    bool IsFrameMaximized() override { return m_bMaximized; }
    void SetFrameMaximized(bool bMaximized) override { m_bMaximized = bMaximized; }
    void SetFrameMinimized(bool bMinimized) override { m_bMinimized = bMinimized; }
    void SetCloseByButton(bool bByButton) override { m_bCloseByButton = bByButton; }
    void OpenHallButton(int nIndex, bool bInPlaza) override;
    void OpenServicePage() override;
    void ShowHelpMenu(CPoint ptScreen) override;

    void LayoutHall(bool bPlazaFolded, bool bRoomWide);
    void ShowGameMail();
    void RunUrlCommand(LPCSTR pszLink);
    void UpdateAfterLogon();
    void StartConfigUpdate();
    void UpdateOwnFace() override;
    void ResetSession();
    // Shows the running mini hall, or starts "MiniTavrel.exe".
    void StartMiniHall(int nShow);
    void ShowPromotion();
    void ShowCardRecharge();
    void OpenHallWebPage();

    // The state the roads drive.
    bool IsMinimizedFlag() const { return m_bMinimized; }
    bool IsCloseByButton() const { return m_bCloseByButton; }
    bool IsReconnecting() const { return m_cbReconnecting != 0; }
    int GetReconnectDelay() const { return m_nReconnectDelay; }
    const COwnItemArray& GetOwnItems() const { return m_OwnItems; }
    CGameHall& GetGameHall() { return m_GameHall; }
    CFrameTopWidget& GetTopWidget() { return m_TopWidget; }
    CMenuWnd& GetMenuWnd() { return m_MenuWnd; }
    DWORD GetMiniHallProcessId() const { return m_MiniHall.dwProcessId; }
    // The border pictures' folder is the resource folder's "MainFrame\Border\".
    CRgn& GetWindowRegion() { return m_WindowRegion; }

protected:
    BOOL PreTranslateMessage(MSG* pMsg) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // The application deletes the frame.
    void PostNcDestroy() override {}

    afx_msg void OnGetMinMaxInfo(MINMAXINFO* lpMMI);
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnClose();
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnSettingChange(UINT uFlags, LPCTSTR lpszSection);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnWindowPosChanged(WINDOWPOS* lpwndpos);
    afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
    afx_msg void OnHotKey(UINT nHotKeyId, UINT nKey1, UINT nKey2);
    afx_msg LRESULT OnDataCenterEvent(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnShowText(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnRefreshGames(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnHallLink(WPARAM wParam, LPARAM lParam);
    afx_msg BOOL OnCopyData(CWnd* pWnd, COPYDATASTRUCT* pCopyDataStruct);
    afx_msg LRESULT OnConfigDownloadFailed(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnConfigDownloaded(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSwitchAccount(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnRegister(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnTrayIcon(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnReconnect(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnLink(WPARAM wParam, LPARAM lParam);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    void RegisterNotify(bool bRegister);
    void LayoutChildren(int cx, int cy);
    void UpdateWindowRegion(int cx, int cy);
    void LoadBorderPictures();
    void ApplyDynamicConfig();
    void ExtractCompetitionEntry();
    void ScheduleReconnect();
    void CheckOwnFace();
    void AddTrayIcon();
    void RemoveTrayIcon();
    void SaveOptions();
    bool IsLoggedOn() const;

    CWidgetManager m_WidgetManager;
    CEventBuildHelper m_EventBuilder;
    bool m_bMaximized;
    bool m_bMinimized;
    COwnItemArray m_OwnItems;
    bool m_bCloseByButton;
    BYTE m_cbReconnecting;
    // The server refused the account while reconnecting: no more tries
    // until the session is reset.
    bool m_bReconnectRefused;
    int m_nReconnectDelay;
    CFrameTopWidget m_TopWidget;
    CMenuWnd m_MenuWnd;
    CGameHall m_GameHall;
    CToolTipCtrl m_ToolTip;
    CCustomFaceManagerWnd m_CustomFaceManager;
    CRgn m_WindowRegion;
    CPicture m_Border[12];
    PROCESS_INFORMATION m_MiniHall;
    DWORD m_dwMiniHallWnd;
    CFrameNeighbours m_PlainNeighbours;
    CFrameNeighbours* m_pNeighbours;
    CFrameUpdater m_PlainUpdater;
    CFrameUpdater* m_pUpdater;
};
