// The window of one entered game room. It owns the room's data centre,
// answers its notifications (RoomViewNotify.cpp), shows the room's table grid
// or match view, answers seat clicks (RoomViewSeat.cpp) and the player
// commands of the user menu (RoomViewPlayer.cpp).
//
// Ownership: the view is counted. The factory's reference belongs to the
// room tab window, which gives it back with Release (never delete); a
// temporary reference is released in the call that took it. Users belong to
// the data centre's user map: the view keeps user ids, never user items,
// past the notice that gave them, and looks each id up at use.
#pragma once

#include <afxwin.h>

#include <functional>

#include "AnchorLayout.h"
#include "GameOption.h"
#include "GameStatusDlg.h"
#include "HallWindows.h"
#include "IMessageProxy.h"
#include "IRoomViewItem.h"
#include "RoomDataCenter.h"
#include "RoomOption.h"
#include "RoomViewItemTable.h"
#include "RoomViewNeighbours.h"
#include "SkinImage.h"
#include "SkinWnd.h"
#include "TableFrame.h"

class CGameTreeNode;
class CTeamManager;
class CUserManager;
struct MsgBoxParams;

// Messages of the view and of the room tab window.
const UINT WM_ROOM_CLOSE_VIEW = WM_USER + 10;    // to the room tab window: close this room
const UINT WM_ROOM_CONNECTION = WM_USER + 11;    // to the room tab window: a room lost its server
const UINT WM_ROOM_USER_COMMAND = WM_USER + 145; // wParam command number, lParam user id
const UINT WM_ROOM_CLOSE_ROOM = WM_USER + 256;
const UINT WM_ROOM_LIST_REDRAW = WM_USER + 301; // to itself: the list draws again after a burst

// Child windows and timers.
const UINT IDC_ROOM_TABLE_VIEW = 1005;
const UINT IDC_ROOM_MATCH_VIEW = 1006;
const UINT IDT_ROOM_WAIT = 1;
const UINT IDT_ROOM_NET_CHECK = 2;

// Room states.
enum
{
    ROOM_STATE_CREATED = 0,
    ROOM_STATE_CONNECTING = 1,
    ROOM_STATE_CONNECTED = 2,
    ROOM_STATE_LOGGED_ON = 3,
    ROOM_STATE_READY = 5,
    ROOM_STATE_FAILED = 6,
};

// Table presentations.
enum
{
    TABLE_SHOW_NORMAL = 0,
    TABLE_SHOW_HIDDEN = 1,     // players hidden (rule 0x100)
    TABLE_SHOW_ANTI_CHEAT = 2, // rule 0x1000
};

const DWORD ROOM_RULE_MATCH_SIGN = 0x4000;
const WORD ROOM_TYPE_MATCH = 4;
const WORD ROOM_TYPE_GAME_COIN = 2;
const WORD ROOM_TYPE_SECOND_CURRENCY = 3;

// User menu commands.
enum
{
    IDM_USER_WHISPER = 1124,
    IDM_USER_COPY_NAME = 1125,
    IDM_USER_TALK = 1126,
    IDM_USER_CANCEL_TALK = 1127,
    IDM_USER_SEAT = 1128,
    IDM_USER_INVITE = 1129,
    IDM_USER_FIND = 1130,
    IDM_USER_FRIEND = 1131,
    IDM_USER_DISLIKE = 1132,
    IDM_USER_CALL = 1134,
    IDM_USER_INFO_LINE = 1135,
    IDM_USER_KICK = 1136,
    IDM_USER_NAME = 1137,
    IDM_USER_DETAILS = 1138,
    IDM_USER_BIG_FACE = 1139,
};

// Permissions handed to the player information panel.
enum
{
    PLAYER_ALLOW_INVITE = 0x01,
    PLAYER_ALLOW_TALK = 0x02,
    PLAYER_ALLOW_CANCEL_TALK = 0x04,
    PLAYER_ALLOW_KICK = 0x08,
    PLAYER_FRIEND = 0x10,
    PLAYER_DISLIKED = 0x20,
};

const int MAX_WHISPER_WINDOWS = 10;

class CRoomViewItem : public CSkinWnd,
                      public IRoomViewItem,
                      public CAnchorLayout,
                      public ITableFrameSink,
                      public IUserManagerSink,
                      public ITableRoomHost,
                      public IRoomWaitView
{
public:
    // The room tab window makes every view through this; the one reference
    // it holds is the caller's. Null when the object cannot be made.
    static CRoomViewItem* Create(IRoomControlWnd* pRoomTabs);

    // The window, hidden, under the room tab window; before InitRoomView.
    bool CreateRoomWindow(CWnd* pParent, const CRect& rect, UINT nID);
    // False when any step fails; nothing is shown then.
    bool InitRoomView(CGameRoom* pGameRoom, IRoomViewControlItem* pSidePanel, CGameTreeNode* pNode);
    bool ConnectRoomServer();

    // IUnknownEx (one count for all three interfaces)
    ULONG AddRef() override;
    ULONG Release() override;
    HRESULT QueryInterface(REFGUID iid, void** out) override;

    // IRoomViewItem
    HWND GetWindowHandle() override { return GetSafeHwnd(); }
    void CloseRoomView() override;
    CGame* GetGame() override;
    CGameRoom* GetGameRoom() override { return m_pGameRoom; }
    bool IsGameClientStarted() override;
    void LeaveMatch() override;

    // ITableFrameSink (RoomViewSeat.cpp)
    void OnLButtonHitTable(WORD wTableID, WORD wChairID, int nFlag) override;
    void OnRButtonHitTable(WORD wTableID, WORD wChairID, int nFlag) override;
    void OnDoubleHitTable(WORD wTableID, WORD wChairID) override {}

    // IUserManagerSink (RoomViewNotify.cpp)
    void OnUserItemAdd(CUserItem* pUserItem) override;
    void OnUserItemUpdate(CUserItem* pUserItem) override;
    void OnUserItemDelete(CUserItem* pUserItem) override;

    // ITableFrameHost
    DWORD GetMatchId() override;
    ICycleMatchPage* CreateCycleMatchPage(CWnd* pParent) override { return NULL; }

    // IRoomWaitView
    void BeginWaitStatus() override;
    void EndWaitStatus() override;

    // ITableRoomHost: what the table toolbar asks of the room.
    void QuickJoinTable() override;
    void CloseRoom() override;
    void ShowBankStorage(int nPage) override;
    void ShowSpeakDlg() override;
    void ShowFindUserDlg() override;
    void ShowHBExchange() override;
    void UseItemByKind(int nKind) override;
    CDialog* CreateOptionDlg() override;
    bool SendUserRule() override;
    CDialog* CreateTableDlg() override;
    // The create-table request from the room's table settings.
    bool RequestCreateTable() override;

    // Every box of the room; the answer of the box (IDYES ...).
    int ShowMessageBox(LPCSTR pszText, UINT nStyle, const MsgBoxParams* pParams = NULL);
    // A box whose one button reads "确定".
    int ShowOkBox(LPCSTR pszText, UINT nStyle);
    int ShowSkinMessageBox(LPCSTR pszText, UINT nStyle);

    bool SendSpeakerText(LPCSTR pszText);
    // The user's loudspeakers: the owned count of the loudspeaker item.
    WORD GetSpeakerCount() const;
    bool SendRoomChat(DWORD dwFirst, LPCSTR pszText, DWORD dwThird);
    bool ForwardToGameClient(const BYTE record[16]);
    int CalcTableLayout(int nWidth);
    bool CanSpeak() const;

    CGameOption* GetGameOption() const { return m_pGameOption; }
    CRoomOption* GetRoomOption() const { return m_pRoomOption; }
    bool SendTextToGameClient(DWORD dwUserID, LPCSTR pszText);
    void ShowGameClientWindow(int nHide);
    // The create-table settings the create-table dialog edits.
    CTableOption* GetTableOption() { return &m_TableOption; }

    // Seats (RoomViewSeat.cpp).
    bool SitDown(WORD wTableID, WORD wChairID);
    bool LookOn(WORD wTableID, WORD wChairID);
    bool CheckSeat(WORD wTableID, WORD wChairID, bool bLookOn, bool bShowMessage);
    bool RequestCreateTable(const tagCreateTableRequest& request);
    bool RequestJoinMatch();
    bool RequestQuitMatch();

    // Player commands (RoomViewPlayer.cpp).
    void ShowUserMenu(CUserItem* pUserItem, int x, int y, bool bWithoutDetails);
    void OnUserCommand(UINT nCommandID);
    bool RunUserCommand(int nNumber, DWORD dwUserID);
    int OpenWhisperWindow(DWORD dwUserID, bool bCreate);
    void ShowPlayerInfo(CUserItem* pUserItem, const CRect& rect);
    // The player list lost the focus: the card hides unless the cursor is
    // over it.
    void HidePlayerInfoAway();
    bool UseOwnedItem(WORD wItemKind);
    // The column table of the player list for a room type.
    static void BuildColumns(WORD wRoomType, tagColumnDescribe& columns);
    // The hall's teams of this room's game kind arrived (null: none held).
    void RefreshTeamList(const CTeamManager* pTeams);
    const tagColumnDescribe& GetTeamColumns() const { return m_TeamColumns; }
    void LoadRoomPassword();
    void SaveRoomPassword(LPCSTR pszPassword);
    void ForgetRoomPassword();

    // State, for the room tab window and tests.
    DWORD GetRoomState() const { return m_dwRoomState; }
    DWORD GetTablePresentation() const { return m_dwTablePresentation; }
    WORD GetRoomType() const { return m_wRoomType; }
    DWORD GetRoomRule() const { return m_dwRoomRule; }
    bool IsWaiting() const { return m_bWaiting; }
    bool IsKicked() const { return m_bKicked; }
    LONG GetBoxNesting() const { return m_lBoxNesting; }
    LONG GetRefCount() const { return m_lRefCount; }
    const CString& GetRoomPassword() const { return m_strRoomPassword; }
    const CString& GetCaption() const { return m_strCaption; }
    WORD GetPendingTable() const { return m_wPendingTable; }
    WORD GetPendingChair() const { return m_wPendingChair; }
    WORD GetQuickJoinPosition() const { return m_wQuickJoinPos; }
    DWORD GetRoundsToFinish() const { return m_dwRoundsToFinish; }
    DWORD GetMenuTarget() const { return m_dwMenuTarget; }
    int GetPasswordAttempts() const { return m_nPasswordAttempts; }
    const tagColumnDescribe& GetUserColumns() const { return m_UserColumns; }
    CRoomDataCenter* GetRoomDataCenter() const { return m_pDataCenter; }
    CTableFrame* GetTableFrame() { return &m_TableFrame; }
    CRoomViewItemTable* GetTableView() { return &m_TableView; }
    CUserItem* GetMeUserItem() const;
    IMessageProxy* GetMessageProxy() { return m_MessageProxy.GetInterface(); }
    DWORD GetWhisperPartner(int nIndex) const;

    // The room's dialogs and the match view come from their own parts of
    // the hall; until one is installed the view does without it.
    static IRoomViewDialogs* InstallDialogs(IRoomViewDialogs* pDialogs);
    static std::function<IRoomMatchView*()> s_MatchViewFactory;
    static std::function<IRoomMoneyPanels*(CRoomViewItem*)> s_MoneyPanelsFactory;
    // The notification keys the view registers, and how many views live.
    static const tagRoomNotifyKey s_NotifyKeys[48];
    static LONG GetLiveCount() { return s_lLiveCount; }
    // The waiting animation's counters, shared by all rooms.
    static int GetWaitPictureIndex() { return s_nWaitPicture; }
    static int GetWaitWordIndex() { return s_nWaitWord; }
    // Intervals of the two timers.
    static UINT s_nWaitInterval;
    static UINT s_nNetCheckInterval;
    // The table password remembered since the hall started.
    static CString s_strTablePassword;
    // The hall window stays shown while a game runs.
    static bool s_bHallStaysShown;

protected:
    CRoomViewItem(IRoomControlWnd* pRoomTabs);
    virtual ~CRoomViewItem();

    CWnd* GetOwnerWindow() override { return this; }

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnDestroy();
    afx_msg LRESULT OnRoomNotifyMessage(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnUserCommandMessage(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnCloseRoomMessage(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnListRedrawMessage(WPARAM wParam, LPARAM lParam);
    afx_msg void OnUserMenuCommand(UINT nID);
    DECLARE_MESSAGE_MAP()

public:
    // Room notifications (RoomViewNotify.cpp); true when handled.
    bool OnRoomNotify(const tagNotifyHead* pHead, LPARAM lParam);

private:
    CRoomViewItem(const CRoomViewItem&) = delete;
    CRoomViewItem& operator=(const CRoomViewItem&) = delete;

    // Notifications by main command.
    bool OnNotifyLogon(WORD wSubCmdID, LPARAM lParam);
    bool OnNotifyRoom(WORD wSubCmdID, LPARAM lParam);
    bool OnNotifyUser(WORD wSubCmdID, LPARAM lParam);
    bool OnNotifyGame(WORD wSubCmdID, LPARAM lParam);
    void OnConnectResult(const tagRoomConnectResult* pResult);
    void OnLogonResult(const tagRoomLogonNotice* pNotice);
    void OnConnectionClosed();
    void OnRoomInfo(const tagRoomInfo* pInfo);
    void OnInfoDone();
    void OnUserEnter(CUserItem* pUserItem);
    void OnUserStatus(const tagRoomUserStatus* pStatus);
    void OnSitResult(DWORD dwCode);
    void OnChat(const tagRoomChatNotice* pChat);
    void OnWhisper(const tagRoomWhisperNotice* pWhisper);
    void OnInvite(const tagRoomInviteNotice* pInvite);
    void OnUserRefresh(DWORD dwUserID);
    void OnUserValue(DWORD dwUserID);
    void OnUserList();
    void OnUserChanges();
    void OnRoomMessage(const tagRoomMessage* pMessage);
    void ApplyTableFlags(const tagRoomTableFlags* pFlags);
    void ApplyTableRecord(WORD wTableID, LPCSTR pszName, WORD wValue, BYTE cbValue);
    void OnGameClientPost(LPARAM lValue);
    // The logon failed or was given up: state 6 and the room usable again.
    void GiveUpLogon();
    // The room password dialog; false when cancelled (the room then closes).
    bool AskRoomPassword();
    void PostCloseView();

    // Helpers.
    bool IsMatchRoom() const { return m_wRoomType == ROOM_TYPE_MATCH; }
    bool IsOwnUserAdmin() const;
    bool IsMatchRanking() const;
    void ChooseTablePresentation();
    void PlaceOnSeat(CUserItem* pUserItem);
    void UpdateChatInput();
    void InsertSystemText(LPCSTR pszText);
    void InsertFriendLine(CUserItem* pUserItem);
    void QueueCustomFace(CUserItem* pUserItem);
    void RepaintUserStrip();
    void HoldListRedraw();
    void RestoreHallWindow();
    void FillMessageUser(const CUserItem* pUserItem, tagMessageUser& user) const;
    CString LoadString(UINT nID) const;
    CString LogonFailureText(DWORD dwCode) const;
    CString SitFailureText(DWORD dwCode) const;
    CUserItem* SearchUser(DWORD dwUserID) const;
    void ClearUserSeat(CUserItem* pUserItem, WORD wTableID, WORD wChairID);
    void ShowChildViews();
    void DestroyRoomWindows();
    // The money panels, made by the installed maker on first use.
    IRoomMoneyPanels* GetMoneyPanels();

    // Seats.
    bool AskTablePassword(WORD wTableID, CString& strPassword);
    void LeavePendingSeat();
    bool SearchQuickJoin(WORD wStart, bool bOne, bool bTwo, bool bEmpty, bool bAny, bool bSkipLocked, WORD& wTable,
                         WORD& wChair);
    void AcceptInvite(const tagRoomInviteNotice* pInvite);

    // Player commands.
    bool ToggleCompanion(CUserItem* pUserItem, BYTE cbRelation);
    void ShowUserSeat(CUserItem* pUserItem);
    void KickUser(CUserItem* pUserItem);
    void InviteUser(CUserItem* pUserItem);
    bool CanShowUserDetails() const;

    LONG m_lRefCount;
    bool m_bWaiting;
    bool m_bKicked;
    bool m_bListHeld; // the user list draws nothing until WM_ROOM_LIST_REDRAW
    LONG m_lBoxNesting;
    CGameRoom* m_pGameRoom;
    DWORD m_dwTablePresentation;
    tagColumnDescribe m_UserColumns;
    tagColumnDescribe m_TeamColumns;
    DWORD m_WhisperUsers[MAX_WHISPER_WINDOWS]; // partner of each pool window; 0 none made
    int m_nWhisperCount;
    WORD m_wPendingTable;
    WORD m_wPendingChair;
    WORD m_wRoomType;
    DWORD m_dwRoomID;
    DWORD m_dwRoomRule;
    WORD m_wQuickJoinPos;
    DWORD m_dwMenuTarget;
    DWORD m_dwRoundsToFinish;
    CString m_strRoomPassword;
    int m_nPasswordAttempts;
    // The toolbar and the grid; the grid is reached through the reference.
    CRoomViewItemTable m_TableView;
    CTableFrame& m_TableFrame;
    CTableOption m_TableOption;
    IRoomMoneyPanels* m_pMoneyPanels;
    IRoomViewControlItem* m_pSidePanel;
    IRoomMatchView* m_pMatchView;
    CMessageProxyHelper m_MessageProxy;
    CGameOption* m_pGameOption;
    CRoomOption* m_pRoomOption;
    CGameStatusDlg m_GameStatusDlg;
    CSkinImage m_ImageStatus;
    CSkinImage m_ImageWord;
    CSkinImage m_ImageBack;
    DWORD m_dwRoomState;
    CUserManager* m_pUserManager;
    CRoomDataCenter* m_pDataCenter;
    IRoomControlWnd* m_pRoomTabs;
    CString m_strCaption;
    CString m_strRoomName;
    bool m_bCloseAsked;

    static LONG s_lLiveCount;
    static int s_nWaitPicture;
    static int s_nWaitWord;
    // Set while one room shows the connection-closed report.
    static bool s_bConnectionReported;
    static IRoomViewDialogs* s_pDialogs;
};
