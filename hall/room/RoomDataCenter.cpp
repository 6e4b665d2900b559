// Construction, the shared block, the connect road, the socket sink and the
// periodic check of the room data centre. Requests and server messages are
// in RoomDataCenterProtocol.cpp, the users in RoomDataCenterUsers.cpp.
#include "RoomDataCenter.h"

#include <new>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

#include "ShareBlock.h"

namespace
{

const char kSpeedTimeoutFormat[] = "[%s]网速测试超时3秒未响应,可能该用户网络严重延时或已经断线";

// Numbers the shared blocks of this process, so that rooms opened in the
// same second get different names.
LONG g_lShareCounter = 0;

// The error of an attempt the socket would not start (WSAEADDRNOTAVAIL).
const int CONNECT_NOT_STARTED = 10049;

} // namespace

DWORD CRoomDataCenter::s_dwSpeedTestTimeout = 3000;
DWORD CRoomDataCenter::s_dwHelloTimeout = 15000;
HWND CRoomDataCenter::s_hHallWnd = NULL;
LONG CRoomDataCenter::s_lLiveCount = 0;

CRoomDataCenter* CreateRoomDataCenter()
{
    CRoomDataCenter* pDataCenter = new (std::nothrow) CRoomDataCenter;
    if (pDataCenter != NULL)
        static_cast<IRoomDataCenter*>(pDataCenter)->AddRef();
    return pDataCenter;
}

CRoomDataCenter::CRoomDataCenter()
    : m_dwLogonState(ROOM_LOGON_IDLE), m_lGameState(GAME_STATE_NONE), m_pGameRoom(NULL), m_hGameWnd(NULL),
      m_wPendingTable(INVALID_TABLE), m_wPendingChair(INVALID_CHAIR), m_dwLaunchTime(0), m_cbMatchFlag(0),
      m_dwFirstFlag(1), m_dwSecondFlag(1), m_dwCallerValue(0), m_wCurrentGroup(0xFFFF), m_hShareMemory(NULL),
      m_pShareData(NULL)
{
    memset(&m_RoomInfo, 0, sizeof(m_RoomInfo));
    const WORD wPostSubs[4] = {RN_GAME_CLIENT.wSubCmdID, RN_GAME_POST_3.wSubCmdID, RN_GAME_POST_7.wSubCmdID,
                               RN_GAME_POST_8.wSubCmdID};
    for (int i = 0; i < 4; ++i) {
        m_PostHeads[i].dwSerialNum = 0;
        m_PostHeads[i].wMainCmdID = 6;
        m_PostHeads[i].wSubCmdID = wPostSubs[i];
    }
    m_szShareName[0] = '\0';
    memset(&m_ProcessInfo, 0, sizeof(m_ProcessInfo));
    m_ChannelWnd.CreateChannelWindow();
    InterlockedIncrement(&s_lLiveCount);
}

CRoomDataCenter::~CRoomDataCenter()
{
    InterlockedDecrement(&s_lLiveCount);
    // UninitRoomDataCenter closed the socket and the block; the window and
    // the holder go with their members.
    if (m_ChannelWnd.GetSafeHwnd() != NULL) {
        m_ChannelWnd.SetChannelMessageSink(NULL);
        m_ChannelWnd.DestroyWindow();
    }
}

HRESULT CRoomDataCenter::QueryInterface(REFGUID iid, void** out)
{
    if (out == NULL)
        return E_POINTER;
    if (IsEqualGUID(iid, IID_IClientSocketSink)) {
        *out = static_cast<IClientSocketSink*>(this);
    } else if (IsEqualGUID(iid, IID_IChannelMessageSink)) {
        *out = static_cast<IChannelMessageSink*>(this);
    } else if (IsEqualGUID(iid, IID_IRoomDataCenter) || IsEqualGUID(iid, IID_IUnknownEx)) {
        *out = static_cast<IRoomDataCenter*>(this);
    } else {
        *out = NULL;
        return E_NOINTERFACE;
    }
    return S_OK;
}

// ---- initialisation and end -------------------------------------------------------

bool CRoomDataCenter::InitRoomDataCenter(CGameRoom* pGameRoom, LPCSTR pszText)
{
    if (pGameRoom == NULL)
        return false;
    // Without the socket module every request answers false.
    if (GetSocket() == NULL && m_ClientSocket.CreateInstance())
        GetSocket()->SetSocketSink(static_cast<IRoomDataCenter*>(this));
    m_ChannelWnd.SetChannelMessageSink(static_cast<IRoomDataCenter*>(this));
    m_pGameRoom = pGameRoom;
    // A room initialised again gets a fresh block, not a second one.
    CloseShareBlock();
    if (!CreateShareBlock())
        return false;
    m_strStartText.Format("%s", pszText != NULL ? pszText : "");
    return true;
}

bool CRoomDataCenter::CreateShareBlock()
{
    // One name: a room whose name is held elsewhere is not opened.
    auto makeName = [this](int) {
        LONG lNumber = InterlockedIncrement(&g_lShareCounter);
        ULONGLONG nSeconds = ULONGLONG(time(NULL));
        CString name;
        name.Format(GAME_SHARE_NAME_FORMAT, long(lNumber), long(m_pGameRoom->GetPort()), long(DWORD(nSeconds)),
                    long(DWORD(nSeconds >> 32)));
        return name;
    };
    m_pShareData = static_cast<tagGameShareData*>(CreateOwnShareBlock(
        makeName, 1, sizeof(tagGameShareData), m_szShareName, sizeof(m_szShareName), m_hShareMemory));
    if (m_pShareData == NULL)
        return false;
    m_pShareData->wSize = sizeof(tagGameShareData);
    HWND hHallWnd = s_hHallWnd;
    if (hHallWnd == NULL && AfxGetMainWnd() != NULL)
        hHallWnd = AfxGetMainWnd()->GetSafeHwnd();
    m_pShareData->dwHallWnd = HandleToULong(hHallWnd);
    m_pShareData->dwChannelWnd = HandleToULong(m_ChannelWnd.GetSafeHwnd());
    return true;
}

void CRoomDataCenter::CloseShareBlock()
{
    ReleaseShareBlock(m_pShareData, m_hShareMemory);
}

void CRoomDataCenter::UninitRoomDataCenter()
{
    if (GetSocket() != NULL) {
        GetSocket()->CloseSocket(false);
        GetSocket()->SetSocketSink(NULL);
    }
    if (m_ChannelWnd.GetSafeHwnd() != NULL) {
        m_ChannelWnd.SetChannelMessageSink(NULL);
        m_ChannelWnd.DestroyWindow();
    }
    ForgetGameClient();
    CloseShareBlock();
    m_wPendingTable = INVALID_TABLE;
    m_wPendingChair = INVALID_CHAIR;
    m_lGameState = GAME_STATE_NONE;
}

void CRoomDataCenter::SetGameRoom(CGameRoom* pGameRoom)
{
    if (pGameRoom != NULL)
        m_pGameRoom = pGameRoom;
}

// ---- the socket -------------------------------------------------------------------

IUnknownEx* CRoomDataCenter::QuerySocketInterface()
{
    if (GetSocket() == NULL)
        return NULL;
    void* pInterface = NULL;
    if (GetSocket()->QueryInterface(IID_IClientSocket, &pInterface) != S_OK)
        return NULL;
    return static_cast<IClientSocket*>(pInterface);
}

DWORD CRoomDataCenter::GetSocketErrorCode()
{
    return GetSocket() != NULL ? GetSocket()->GetLastErrorCode() : 0;
}

DWORD CRoomDataCenter::SetConnectTimeout(DWORD dwTimeout)
{
    return GetSocket() != NULL ? GetSocket()->SetConnectTimeout(dwTimeout) : 0;
}

bool CRoomDataCenter::IsConnected()
{
    return GetSocket() != NULL && GetSocket()->GetSocketStatus() == SOCKET_STATUS_CONNECT;
}

bool CRoomDataCenter::StartConnect(LPCSTR pszAddress, WORD wPort)
{
    m_dwLogonState = ROOM_LOGON_CONNECTING;
    if (GetSocket() != NULL && pszAddress != NULL && GetSocket()->Connect(pszAddress, wPort))
        return true;
    m_dwLogonState = ROOM_LOGON_IDLE;
    return false;
}

bool CRoomDataCenter::ConnectServer(LPCSTR pszAddress, WORD wPort)
{
    if (StartConnect(pszAddress, wPort))
        return true;
    // No callback comes for an attempt that did not start: it counts as
    // refused, so the round goes on or ends with its notice.
    DWORD dwError = GetSocketErrorCode();
    OnSocketConnect(dwError != 0 ? int(dwError) : CONNECT_NOT_STARTED, NULL);
    return false;
}

bool CRoomDataCenter::CloseConnection()
{
    if (m_ProcessInfo.hProcess != NULL)
        SendChannelData(4, 2, NULL, 0);
    m_lGameState = GAME_STATE_NONE;
    return GetSocket() != NULL && GetSocket()->CloseSocket(false);
}

bool CRoomDataCenter::OnSocketConnect(int nErrorCode, LPCSTR)
{
    // A refused address hands over to the next one; an attempt that cannot
    // start counts as refused too. The round ends back at the first.
    if (nErrorCode != 0 && m_pGameRoom != NULL) {
        WORD wCount = m_pGameRoom->GetServerAddressCount();
        WORD wIndex = m_pGameRoom->GetCurrentAddressIndex();
        for (;;) {
            wIndex = WORD(wCount == 0 ? 0 : (wIndex + 1) % wCount);
            m_pGameRoom->SetCurrentAddressIndex(wIndex);
            if (wIndex == 0)
                break;
            if (StartConnect(m_pGameRoom->GetServerAddress(wIndex), m_pGameRoom->GetPort()))
                return true;
        }
    }
    tagRoomConnectResult result = {DWORD(nErrorCode), 0};
    NotifyKey(RN_CONNECT_RESULT, &result);
    return true;
}

bool CRoomDataCenter::OnSocketRead(DWORD dwSerialNum, WORD wMainCmdID, WORD wSubCmdID, void* pData, WORD wDataSize,
                                   IClientSocket*)
{
    if (wDataSize == 0)
        pData = NULL;
    try {
        switch (wMainCmdID) {
        case ROOM_MAIN_ROOM: OnRoomMessage(dwSerialNum, wSubCmdID, pData, wDataSize); break;
        case ROOM_MAIN_TABLE: OnTableMessage(wSubCmdID, pData, wDataSize); break;
        case ROOM_MAIN_GAME:
        case ROOM_MAIN_FRAME: OnGameTraffic(wMainCmdID, wSubCmdID, pData, wDataSize); break;
        case ROOM_MAIN_VALUE: OnValueMessage(wSubCmdID, pData, wDataSize); break;
        default: break;
        }
    } catch (CException* e) {
        e->Delete();
    }
    return true;
}

bool CRoomDataCenter::OnSocketClose()
{
    if (m_ProcessInfo.hProcess != NULL)
        SendChannelData(4, 2, NULL, 0);
    NotifyKey(RN_CONNECTION_CLOSED, NULL);
    return true;
}

// ---- the periodic check -------------------------------------------------------------

void CRoomDataCenter::TestNetSpeed()
{
    DWORD dwNow = AfxGetTickCount();
    for (auto it = m_SpeedTests.begin(); it != m_SpeedTests.end();) {
        const tagSpeedTest& test = it->second;
        if (dwNow - test.dwSendTick < s_dwSpeedTestTimeout) {
            ++it;
            continue;
        }
        CUserItem* pUserItem = m_UserManager.SearchUserItem(test.dwUserID);
        if (pUserItem != NULL) {
            char szNickName[sizeof(pUserItem->GetUserData()->szNickName) + 1];
            CopyTextField(szNickName, sizeof(szNickName), pUserItem->GetUserData()->szNickName,
                          GetFieldLength(pUserItem->GetUserData()->szNickName, sizeof(szNickName) - 1));
            CString strText;
            strText.Format(kSpeedTimeoutFormat, szNickName);
            if (test.cbToRoom != 0)
                NotifyRoomMessage(strText);
            else
                SendSystemTextToGame(strText);
        }
        it = m_SpeedTests.erase(it);
    }
    CheckGameClient(dwNow);
}

// ---- the game-client side -------------------------------------------------------------

bool CRoomDataCenter::IsGameClientStarted() const
{
    return m_ProcessInfo.hProcess != NULL && m_lGameState >= GAME_STATE_REQUESTED;
}

bool CRoomDataCenter::IsGameWindowReady() const
{
    return m_pShareData != NULL && m_pShareData->dwGameWnd != 0 && IsWindow(m_hGameWnd);
}

void CRoomDataCenter::PostGameNotify(WORD wSubCmdID, LPARAM lValue)
{
    for (const tagNotifyHead& head : m_PostHeads) {
        if (head.wSubCmdID == wSubCmdID) {
            PostNotify(&head, lValue);
            return;
        }
    }
}

// ---- notices ------------------------------------------------------------------------

void CRoomDataCenter::NotifyKey(const tagRoomNotifyKey& key, const void* pRecord)
{
    Notify(key.wMainCmdID, key.wSubCmdID, LPARAM(pRecord));
}

void CRoomDataCenter::NotifyValue(const tagRoomNotifyKey& key, DWORD dwValue)
{
    NotifyKey(key, &dwValue);
}

// The windows of the request's serial hear it, and those of the key that
// are not among them.
void CRoomDataCenter::NotifyKeyAndSerial(DWORD dwSerialNum, const tagRoomNotifyKey& key, const void* pRecord)
{
    BN_INFO windows;
    BN_INFO keyWindows;
    if (dwSerialNum != 0)
        GetSerialWindows(dwSerialNum, windows);
    if (GetNotifyWindows(key.wMainCmdID, key.wSubCmdID, keyWindows) > 0) {
        for (INT_PTR i = 0; i < keyWindows.GetSize(); ++i) {
            bool bListed = false;
            for (INT_PTR j = 0; j < windows.GetSize() && !bListed; ++j)
                bListed = windows[j] == keyWindows[i];
            if (!bListed)
                windows.Add(keyWindows[i]);
        }
    }
    tagNotifyHead head = {dwSerialNum, key.wMainCmdID, key.wSubCmdID};
    SendToWindows(windows, WPARAM(&head), LPARAM(pRecord));
}

void CRoomDataCenter::NotifyRoomMessage(LPCSTR pszText)
{
    tagRoomMessage message;
    message.cbFlags[0] = 1;
    message.cbFlags[1] = 1;
    CopyTextField(message.szText, pszText);
    NotifyKey(RN_ROOM_MESSAGE, &message);
}
