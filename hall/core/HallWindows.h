// What the hall core asks of the windows above it. The core never names a
// window class: each window implements its interface and installs itself
// when it is made (and installs null when it goes); while none is installed
// the core answers that the window is not there.
#pragma once

#include <afxwin.h>

class CCustomFaceManagerWnd;
class CGameRoom;
class CGameTreeNode;

// The hall's main frame.
class IHallFrameWnd
{
public:
    virtual ~IHallFrameWnd() {}
    // The frame's custom-face manager window; null while it has none.
    virtual CCustomFaceManagerWnd* GetCustomFaceManager() = 0;
    // Opens the item shop, at the item when it is not -1.
    virtual void ShowItemShop(int nItemID) = 0;
    // Enters the room of that id; an unknown id (or -1) does nothing.
    virtual void EnterRoomById(int nRoomID) = 0;
    // Shows the own user's face anew (after a logon).
    virtual void UpdateOwnFace() {}
};

// The room tab window: the plaza page, the open rooms and a web-page tab.
class IRoomTabWnd
{
public:
    virtual ~IRoomTabWnd() {}
    // Selects the plaza tab and shows the address there.
    virtual void ShowWebPage(LPCSTR pszUrl, BYTE cbFlag) = 0;
    // Opens the address in the web-page tab under the caption; nothing
    // unless both are given.
    virtual void OpenWebPage(LPCSTR pszCaption, LPCSTR pszUrl, BYTE cbFlag) = 0;
    // Enters the room the node shows (the window checks logon, guests, the
    // number of open rooms and the game's version); false when it did not.
    // The node need only live for the call.
    virtual bool EnterRoom(CGameRoom* pRoom, CGameTreeNode* pNode) = 0;
    // The game channel dialog of the window's competition entry: shown
    // (made on first use), closed, and turned to a game of the hall's list.
    virtual void ShowChannelDialog() = 0;
    virtual void CloseChannelDialog() = 0;
    virtual void SelectChannelGame(int nIndex) = 0;
    // The owned items changed: every open room's item bar reads them again.
    virtual void RefreshRoomItemBars() {}
};

// One entered room's view. There are several, so it is not installed: the
// view hands itself to the global units while it is being entered.
class IRoomWaitView
{
public:
    virtual ~IRoomWaitView() {}
    // The room's own controls give way to the waiting picture, and come
    // back after it.
    virtual void BeginWaitStatus() = 0;
    virtual void EndWaitStatus() = 0;
};

// The game download window: the download service reports its missions to
// it. The object exists before its window; the global attemper makes the
// window on first use.
class IDownLoadWnd
{
public:
    virtual ~IDownLoadWnd() {}
    // The window's handle; null while it has no window.
    virtual HWND GetDownLoadWindow() = 0;
    // Makes the window (dialog template 103) under the parent; false when
    // that failed.
    virtual bool CreateDownLoadWindow(CWnd* pParent) = 0;
    // Destroys the window when it has one; the object stays installed.
    virtual void CloseDownLoadWindow() = 0;
};

// Where the windows install themselves. Each Install answers the previous
// one; null removes it. User-interface thread only.
class CHallWindows
{
public:
    static IHallFrameWnd* InstallFrame(IHallFrameWnd* pFrame);
    static IRoomTabWnd* InstallRoomTabs(IRoomTabWnd* pRoomTabs);
    static IDownLoadWnd* InstallDownLoadWnd(IDownLoadWnd* pDownLoadWnd);

    // The logon dialog's window while it shows (the download window cancels
    // it when the hall's own update has arrived); null otherwise.
    static HWND SetLogonWindow(HWND hLogonWnd);

    static IHallFrameWnd* GetFrame();
    static IRoomTabWnd* GetRoomTabs();
    static IDownLoadWnd* GetDownLoadWnd();
    static HWND GetLogonWindow();
};
