// The windows around a room view that other parts of the hall build: the
// room tab window that holds every open room, the room's side panel (chat,
// player list, item bar), the match view of match rooms, the room's dialogs
// and its safe box and gold exchange. The view reaches each through these interfaces only. Users are
// handed by pointer for the call; a window that keeps one drops it when the
// view reports the user deleted.
#pragma once

#include <afxwin.h>

#include <stddef.h>

#include "RoomRecords.h"
#include "UserListView.h"

class CRoomViewItem;
class CUserItem;
struct tagTeamItem;

// The columns of a player or team list (tagColumnItem: UserListView.h).
#pragma pack(push, 1)
struct tagColumnDescribe
{
    WORD wColumnCount;
    tagColumnItem ColumnItem[32];
};
#pragma pack(pop)
static_assert(sizeof(tagColumnDescribe) == 642, "column table is 642 bytes");

// The room tab window (what a room view asks of it).
class IRoomControlWnd
{
public:
    virtual ~IRoomControlWnd() {}
    // Where WM_USER+10 (close this room) and WM_USER+11 (connection closed)
    // go; wParam the view, which the window looks up among its rooms.
    virtual HWND GetRoomTabHwnd() = 0;
    virtual void ShowSidePanel(CRoomViewItem* pView) = 0;
    // Selects the room's tab and shows its side panel.
    virtual void ActivateRoom(CRoomViewItem* pView) = 0;
    virtual void SetEnteringRoom(bool bEntering) = 0;
    // Closes the room (refused while its game client runs).
    virtual void CloseRoom(CRoomViewItem* pView) = 0;
    // Team information of a game kind from the hall data centre.
    virtual void QueryHallDataCenter(DWORD dwKindID) = 0;
    // 0: the room hides its player list (anti-cheat presentation).
    virtual void SetListFlag(BYTE cbFlag) = 0;
};

// The room's side panel.
class IRoomViewControlItem
{
public:
    virtual ~IRoomViewControlItem() {}
    // The rich edit the room's chat lines are written into.
    virtual CWnd* GetChatControl() = 0;
    virtual void EnableChatInput(bool bEnable) = 0;
    virtual void SetChatInputText(LPCSTR pszText) = 0;
    // The chat partner by user id; 0 for none.
    virtual DWORD GetChatPartner() = 0;
    virtual void SetChatPartner(DWORD dwUserID) = 0;
    // The player list.
    virtual void SetListRoom(DWORD dwRoomID, WORD wRoomType) = 0;
    virtual void SetListDisplayFlag(BYTE cbFlag) = 0;
    virtual void SetListRedraw(bool bRedraw) = 0;
    virtual void SetColumnDescribe(const tagColumnDescribe& columns) = 0;
    virtual void InsertUser(CUserItem* pUserItem) = 0;
    virtual void UpdateUser(CUserItem* pUserItem) = 0;
    virtual void RemoveUser(CUserItem* pUserItem) = 0;
    virtual void SortUsers() = 0;
    // The item bar's two currency flags.
    virtual void SetItemBarFlags(bool bGameCoin, bool bSecondCurrency) = 0;
    // The team list: teams make the team tab when it is missing; a team
    // tab lists them anew (none: empty); the tab strip is redrawn always.
    virtual void ShowTeams(const tagColumnDescribe& columns, const tagTeamItem* pTeams, int nCount) = 0;
};

// The match view of match rooms.
class IRoomMatchView
{
public:
    virtual ~IRoomMatchView() {}
    virtual bool CreateMatchView(CWnd* pParent, UINT nID) = 0;
    virtual HWND GetMatchHwnd() = 0;
    virtual void SetMatchDescription(const tagRoomInfo& info) = 0;
    virtual void SetMatchState(const tagRoomGroupState& state, CUserItem* pUserItem) = 0;
    virtual void ShowSignButtons(DWORD dwCode) = 0;
    virtual void ShowMatchMessage(DWORD dwKind, DWORD dwIndex) = 0;
    virtual void OnSignResult(DWORD dwCode) = 0;
    virtual void InsertRankUser(CUserItem* pUserItem) = 0;
    virtual void UpdateRankUser(CUserItem* pUserItem) = 0;
    virtual void RemoveRankUser(CUserItem* pUserItem) = 0;
    virtual void SortRank() = 0;
    // The ranking list drawing or not, around a burst of users.
    virtual void SetRankRedraw(bool bRedraw) = 0;
};

// The room's safe box and gold exchange. Their panels belong to the shop,
// which is built above the room, so the program installs their maker; a
// room makes one object on first use and keeps it while its window lives.
class IRoomMoneyPanels
{
public:
    virtual ~IRoomMoneyPanels() {}
    // Page 0 deposits, page 1 withdraws; the safe-box password comes first.
    virtual void ShowBankStorage(int nPage) = 0;
    virtual void ShowHBExchange() = 0;
    // The room server's answers to the panels' requests.
    virtual void OnOpenSafeBoxResult(int nCode) = 0;
    virtual void OnWithdrawResult(int nCode) = 0;
    virtual void OnDepositResult(int nCode) = 0;
    virtual void OnExchangeResult(int nCode) = 0;
};

// The dialogs a room view runs; each answers false when cancelled.
class IRoomViewDialogs
{
public:
    virtual ~IRoomViewDialogs() {}
    virtual bool RunRoomPassDlg(CWnd* pParent, CString& strPassword) = 0;
    virtual bool RunTablePassDlg(CWnd* pParent, CString& strPassword) = 0;
    // The large face of the user (modal).
    virtual void ShowLargeFace(CWnd* pParent, const CUserItem* pUserItem) = 0;
    virtual void ShowFindUser(CWnd* pParent) = 0;
    virtual void ShowPlayerInfo(CWnd* pParent, const CUserItem* pUserItem, const CRect& rect, DWORD dwPermissions) = 0;
    // The player list lost the focus: a shown card hides unless the cursor
    // is over it.
    virtual void HidePlayerInfoAway(CWnd* pParent) {}
    // A whisper window of the pool: made on first use, then reused.
    virtual bool CreateWhisperWindow(CWnd* pParent, int nIndex) = 0;
    virtual bool IsWhisperWindow(int nIndex) = 0;
    virtual bool IsWhisperVisible(int nIndex) = 0;
    virtual void ShowWhisper(int nIndex, DWORD dwUserID, LPCSTR pszText, COLORREF crColor) = 0;
    virtual void DestroyWhisperWindow(int nIndex) = 0;
    // A user of the room changed, or is about to be deleted: windows that
    // list him follow before his item goes.
    virtual void OnUserItemUpdate(CRoomViewItem* pView, CUserItem* pUserItem) {}
    virtual void OnUserItemDelete(CRoomViewItem* pView, CUserItem* pUserItem) {}
};
