// The connection and state keeper of one entered room: its socket to the
// room server, the room's users, the hidden channel window and the named
// block its game client reaches the hall through. It reports every event to
// the room's windows as WM_ROOM_NOTIFY notifications, and it starts and
// talks to the room's game client (RoomGameChannel.cpp, RoomGameRelay.cpp).
//
// Everything runs on the user-interface thread.
#pragma once

#include <afxwin.h>

#include <functional>
#include <map>

#include "GameChannelRecords.h"
#include "GameRoom.h"
#include "GameShareData.h"
#include "IRoomDataCenter.h"
#include "Message.h"
#include "RoomChannelWnd.h"
#include "RoomRecordLists.h"
#include "UserManager.h"

// Logon states.
enum
{
    ROOM_LOGON_IDLE = 0,
    ROOM_LOGON_CONNECTING = 1,
    ROOM_LOGON_SENT = 2,
    ROOM_LOGON_DONE = 3,
    ROOM_LOGON_REFUSED = 6,
};

// Game states of the room's game client.
enum
{
    GAME_STATE_NONE = 0,
    GAME_STATE_REQUESTED = 1, // a sit or look-on request was sent
    GAME_STATE_STARTED = 3,   // process started, no hello yet
    GAME_STATE_HELLO = 4,     // hello being answered
    GAME_STATE_ATTACHED = 5,
    GAME_STATE_SWITCHED = 6, // attached, switched by the room server
};

class CRoomDataCenter : public CMessage, public IRoomDataCenter, public IClientSocketSink, public IChannelMessageSink
{
public:
    CRoomDataCenter();
    virtual ~CRoomDataCenter();

    CRoomRecordLists* GetRecordLists() { return &m_RecordLists; }
    // False for a null room, or when the shared block cannot be made.
    bool InitRoomDataCenter(CGameRoom* pGameRoom, LPCSTR pszText);
    bool IsConnected();
    BYTE GetMatchFlag() const { return m_cbMatchFlag; }
    bool CanSpeak() const { return (m_dwSecondFlag & 1) != 0; }
    void SetGameRoom(CGameRoom* pGameRoom);
    DWORD GetCallerValue() const { return m_dwCallerValue; }
    void SetCallerValue(DWORD dwValue) { m_dwCallerValue = dwValue; }
    // 1002/17; hWnd hears the answer under dwSerialNum.
    bool SendMachineCode(DWORD& dwSerialNum, HWND hWnd);
    bool SendSpeakerText(LPCSTR pszText);
    // 1002/12; then closes the socket without notice when asked.
    bool SendLeaveRoom(bool bClose);
    // Item kinds 7, 8, 9, 16 and 17.
    bool SendUseItem(DWORD dwItemKind);
    bool SendCreateTable(const tagCreateTableRequest& request);
    bool SendMatchRule();
    bool SendMatchRequest();
    bool CancelMatchFlag();
    // bToRoom: the answer and a time-out go to the room, else to the client.
    bool SendSpeedTest(DWORD dwUserID, BYTE bToRoom);
    bool SendJoinMatch();
    bool SendQuitMatch();
    // Safe box: bFromHall gives serial 1, else 2 (the game client asked).
    bool SendBankWithdraw(LPCSTR pszPasswordDigest, DWORD dwAmount, bool bFromHall);
    bool SendBankDeposit(DWORD dwAmount, bool bFromHall);
    bool SendBankPassword(LPCSTR pszPasswordDigest, bool bFromHall);
    bool SendGoldExchange(bool bDirection, DWORD dwAmount);
    // Channel main 1 sub 2 with the relay head {101, sub}; head and body
    // together fit one channel message.
    bool SendGameProtocol(WORD wSubCmdID, const void* pData, WORD wDataSize);
    // Game-protocol 805: a text for one user, or for all with id 0.
    bool SendTextToGameClient(DWORD dwUserID, LPCSTR pszText);
    bool SendItemInfoToGame(const tagRoomItemRecord& item);
    // (3,7) while the own user is seated and the client has a window; true.
    bool ForwardRecordToGame(DWORD dwA, WORD wB, DWORD dwC, DWORD dwD);
    // Starts the game client or shows a running one again: 0 failed,
    // 1 started, 2 shown again.
    int LaunchGameClient();
    // The game client's request {kind, sub, body}: onto the room connection
    // or to the operation it asks for (RoomGameRelay.cpp). False when the
    // room is not connected or the request is refused.
    bool RelayGameRequest(WORD wKind, WORD wGameSub, WORD wDataSize, const void* pData);

    // IUnknownEx: the room view owns the object, so nothing is counted.
    ULONG AddRef() override { return 1; }
    ULONG Release() override { return 1; }
    HRESULT QueryInterface(REFGUID iid, void** out) override;

    // IRoomDataCenter
    IUnknownEx* QuerySocketInterface() override;
    CUserManager* GetUserManager() override { return &m_UserManager; }
    DWORD GetSocketErrorCode() override;
    DWORD SetConnectTimeout(DWORD dwTimeout) override;
    bool ConnectServer(LPCSTR pszAddress, WORD wPort) override;
    bool CloseConnection() override;
    void UninitRoomDataCenter() override;
    void TestNetSpeed() override;
    bool SendRoomLogon(DWORD& dwSerialNum, HWND hWnd, DWORD dwUnused, LPCSTR pszText) override;
    bool IsValid() override { return true; }
    bool SendStandUp() override;
    bool SendLeaveGame() override;
    bool SendUserRule(const tagUserRule& rule) override;
    bool SendLookOn(WORD wTableID, WORD wChairID, LPCSTR pszPassword) override;
    bool SendSitDown(WORD wTableID, WORD wChairID, LPCSTR pszPassword) override;
    bool SendRoomChat(DWORD dwFirst, LPCSTR pszText, DWORD dwThird) override;
    bool SendWhisper(DWORD dwFirst, LPCSTR pszText, DWORD dwThird) override;
    bool SendInvite(WORD wTableID, DWORD dwUserID) override;
    bool SendKickUser(DWORD dwUserID) override;
    bool SendChannelData(WORD wMainCmdID, WORD wSubCmdID, const void* pData, WORD wDataSize) override;
    bool SendUserToGameClient(CUserItem* pUserItem) override;

    // IClientSocketSink
    bool OnSocketConnect(int nErrorCode, LPCSTR pszErrorDesc) override;
    bool OnSocketRead(DWORD dwSerialNum, WORD wMainCmdID, WORD wSubCmdID, void* pData, WORD wDataSize,
                      IClientSocket* pISocket) override;
    bool OnSocketClose() override;
    bool OnSocketReserved1() override { return true; }
    bool OnSocketReserved2() override { return true; }
    bool OnSocketReserved3() override { return true; }

    // IChannelMessageSink: handed to the game-client side.
    bool OnChannelMessage(const tagIPCHead* pHead, const void* pData, WORD wDataSize, HWND hSender) override;

    // ---- state the game-client side reads and keeps ----
    DWORD GetLogonState() const { return m_dwLogonState; }
    LONG GetGameState() const { return m_lGameState; }
    void SetGameState(LONG lState) { m_lGameState = lState; }
    CGameRoom* GetGameRoom() const { return m_pGameRoom; }
    const tagRoomInfo& GetRoomInfo() const { return m_RoomInfo; }
    const CString& GetStartText() const { return m_strStartText; }
    HWND GetGameWnd() const { return m_hGameWnd; }
    void SetGameWnd(HWND hWnd) { m_hGameWnd = hWnd; }
    WORD GetPendingTable() const { return m_wPendingTable; }
    WORD GetPendingChair() const { return m_wPendingChair; }
    DWORD GetLaunchTime() const { return m_dwLaunchTime; }
    void SetLaunchTime(DWORD dwTick) { m_dwLaunchTime = dwTick; }
    DWORD GetFirstFlag() const { return m_dwFirstFlag; }
    WORD GetCurrentGroup() const { return m_wCurrentGroup; }
    const tagRoomTableRecord* FindTableRecord(WORD wTableID) const;
    const CByteArray& GetAttributeTypes() const { return m_AttributeTypes; }
    CRoomChannelWnd* GetChannelWnd() { return &m_ChannelWnd; }
    const char* GetShareName() const { return m_szShareName; }
    tagGameShareData* GetShareData() const { return m_pShareData; }
    PROCESS_INFORMATION* GetProcessInformation() { return &m_ProcessInfo; }
    // A process handle exists and a request was sent.
    bool IsGameClientStarted() const;
    // Posts (6,2), (6,3), (6,7) or (6,8) with a plain value.
    void PostGameNotify(WORD wSubCmdID, LPARAM lValue);

    // The hall's main window written into the block (tests give their own).
    static void SetHallWindow(HWND hWnd) { s_hHallWnd = hWnd; }
    // Time-outs of the periodic check, which reads AfxGetTickCount.
    static DWORD s_dwSpeedTestTimeout;
    static DWORD s_dwHelloTimeout;
    // Data centres alive in the process (leak checks of the room windows).
    static LONG GetLiveCount() { return s_lLiveCount; }

private:
    struct tagSpeedTest
    {
        DWORD dwUserID;
        BYTE cbToRoom;
        DWORD dwSendTick;
    };

    CRoomDataCenter(const CRoomDataCenter&) = delete;
    CRoomDataCenter& operator=(const CRoomDataCenter&) = delete;

    IClientSocket* GetSocket() const { return m_ClientSocket.GetInterface(); }
    // One connect attempt; false when the socket would not start it.
    bool StartConnect(LPCSTR pszAddress, WORD wPort);
    bool IsOwnUserNamed() const;
    bool HasRule(DWORD dwBits) const { return (m_RoomInfo.dwRoomRule & dwBits) != 0; }
    BYTE GetRoomKind() const { return m_pGameRoom != NULL ? m_pGameRoom->GetRoomKind() : 0; }
    bool IsMatchRoom() const { return GetRoomKind() == ROOM_KIND_MATCH; }
    DWORD GetOwnUserID() const;
    bool IsAtOwnTable(const CUserItem* pUserItem) const;
    bool IsAtOwnTable(WORD wTableID) const;
    bool IsGameWindowReady() const;

    // Sending: a fresh serial unless one is given; hWnd hears the answer.
    template <class T>
    bool SendRecord(WORD wMainCmdID, WORD wSubCmdID, const T& record, HWND hWnd = NULL, DWORD* pSerialNum = NULL);
    template <class T> bool SendRecordWithSerial(DWORD dwSerialNum, WORD wMainCmdID, WORD wSubCmdID, const T& record);
    bool SendHead(WORD wMainCmdID, WORD wSubCmdID);
    bool SendRaw(DWORD dwSerialNum, WORD wMainCmdID, WORD wSubCmdID, const void* pData, WORD wDataSize);
    bool SendSitRequest(WORD wSubCmdID, WORD wTableID, WORD wChairID, LPCSTR pszPassword);

    // Notices.
    void NotifyKey(const tagRoomNotifyKey& key, const void* pRecord);
    void NotifyKeyAndSerial(DWORD dwSerialNum, const tagRoomNotifyKey& key, const void* pRecord);
    void NotifyValue(const tagRoomNotifyKey& key, DWORD dwValue);
    void NotifyRoomMessage(LPCSTR pszText);

    // Server messages by main command (RoomDataCenterProtocol.cpp).
    void OnRoomMessage(DWORD dwSerialNum, WORD wSubCmdID, const void* pData, WORD wDataSize);
    void OnTableMessage(WORD wSubCmdID, const void* pData, WORD wDataSize);
    void OnValueMessage(WORD wSubCmdID, const void* pData, WORD wDataSize);
    void OnLogonResult(DWORD dwSerialNum, const void* pData, WORD wDataSize);
    void OnRoomInfo(const void* pData, WORD wDataSize);
    void OnSpeedAnswer(DWORD dwSerialNum, const void* pData, WORD wDataSize);
    void OnMatchState(const void* pData, WORD wDataSize);
    void OnBankAnswer(DWORD dwSerialNum, WORD wSubCmdID, const void* pData, WORD wDataSize);
    void OnRoomFlags(const void* pData, WORD wDataSize);
    void StoreTableRecord(const tagRoomTableRecord& record);
    // Room mains 1004 and 1005 to an attached client (RoomGameRelay.cpp).
    bool OnGameTraffic(WORD wMainCmdID, WORD wSubCmdID, const void* pData, WORD wDataSize);
    void FillGroupState(tagRoomGroupState& state) const;

    // Users (RoomDataCenterUsers.cpp).
    void OnUserEnter(const void* pData, WORD wDataSize);
    void OnUserStatus(const void* pData, WORD wDataSize);
    void OnUserScore(const void* pData, WORD wDataSize);
    void OnUserLeave(const void* pData, WORD wDataSize);
    void OnUserTexts(const void* pData, WORD wDataSize);
    void OnUserList(WORD wSubCmdID, const void* pData, WORD wDataSize);
    CUserItem* MakeEnteringUser(DWORD dwUserID, LPCSTR pszNickName, WORD wRank);
    // True when nicknames of others are hidden from the own user.
    bool HidesNickNames(DWORD dwUserID) const;
    void ApplyUserStatus(CUserItem* pUserItem, WORD wTableID, WORD wChairID, BYTE cbStatus, bool bNotify);
    void ApplyAttributes(CUserItem* pUserItem, const tagUserAttributes& values, tagUserDescription& description);
    void ApplyUserText(CUserItem* pUserItem, WORD wKey, LPCSTR pszText);
    // Starts the client when the own user leaves the free state.
    void LaunchOnSeat(BYTE cbOldStatus, BYTE cbNewStatus);

    // The game client (RoomGameChannel.cpp).
    bool SendSystemTextToGame(LPCSTR pszText);
    void SendMatchDescription();
    void SendAttachData(bool bHello);
    bool OnClientHello(HWND hSender);
    void OnClientGoodbye(HWND hSender);
    void OnClientEvent(WORD wSubCmdID, HWND hSender);
    // Closes the handles and forgets the window; the state is the caller's.
    void ForgetGameClient();
    // Match withdrawal, leave-game and stand-up of a client that went.
    void GiveUpSeat();
    // The watchdog: a client without a window long after its launch is gone.
    void CheckGameClient(DWORD dwNow);

    // The shared block.
    bool CreateShareBlock();
    void CloseShareBlock();

    DWORD m_dwLogonState;
    LONG m_lGameState;
    CGameRoom* m_pGameRoom;
    CString m_strStartText;
    tagRoomInfo m_RoomInfo;
    HWND m_hGameWnd;
    WORD m_wPendingTable;
    WORD m_wPendingChair;
    DWORD m_dwLaunchTime;
    tagNotifyHead m_PostHeads[4];
    BYTE m_cbMatchFlag;
    DWORD m_dwFirstFlag;
    DWORD m_dwSecondFlag;
    DWORD m_dwCallerValue;
    WORD m_wCurrentGroup;
    CArray<tagRoomTableRecord, const tagRoomTableRecord&> m_TableRecords;
    std::map<DWORD, tagSpeedTest> m_SpeedTests;
    CByteArray m_AttributeTypes;
    CClientSocketHelper m_ClientSocket;
    CUserManager m_UserManager;
    CRoomChannelWnd m_ChannelWnd;
    CRoomRecordLists m_RecordLists;
    HANDLE m_hShareMemory;
    char m_szShareName[GAME_SHARE_NAME_MAX];
    tagGameShareData* m_pShareData;
    PROCESS_INFORMATION m_ProcessInfo;

    static HWND s_hHallWnd;
    static LONG s_lLiveCount;
};

// A new room data centre holding the one reference its owner (the room
// view) has; the owner uninitialises and deletes it. Null when it cannot be
// made.
CRoomDataCenter* CreateRoomDataCenter();
