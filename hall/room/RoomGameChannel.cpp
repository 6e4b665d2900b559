// The game client of a room: its start, the channel messages to it, and its
// side of the channel (hello, goodbye, events). Game traffic inside channel
// main 1 is in RoomGameRelay.cpp.
#include <stdio.h>
#include <string.h>

#include <vector>

#include "GameRelayTranslator.h"
#include "GameTreeManager.h"
#include "GlobalUnits.h"
#include "IPCCopyData.h"
#include "RoomDataCenter.h"

namespace
{

const DWORD RULE_MATCH = 0x1000;

// The match time record of the hello: the own user's second extension, a
// value from 1 to 100 and the time of day.
#pragma pack(push, 1)
struct tagGameMatchTime
{
    DWORD dwValue1;
    WORD wValue2;
    WORD wValue3;
    DWORD dwRandom;
    WORD wHour;
    WORD wMinute;
    WORD wSecond;
    BYTE cbReserved[6];
};
#pragma pack(pop)
static_assert(sizeof(tagGameMatchTime) == 24, "match time record is 24 bytes");

void AddNumber(tagUserDescription& description, WORD wKey, DWORD dwValue)
{
    description.AddNumber(wKey, LONG(dwValue));
}

} // namespace

// ---- sending ------------------------------------------------------------------------

bool CRoomDataCenter::SendChannelData(WORD wMainCmdID, WORD wSubCmdID, const void* pData, WORD wDataSize)
{
    if (!IsGameWindowReady())
        return false;
    CIPCSendCopyData sender(m_hGameWnd, m_ChannelWnd.GetSafeHwnd());
    return sender.SendData(wMainCmdID, wSubCmdID, pData, wDataSize);
}

bool CRoomDataCenter::SendGameProtocol(WORD wSubCmdID, const void* pData, WORD wDataSize)
{
    // The head travels in the same frame: both together fit the channel.
    if (size_t(wDataSize) + sizeof(tagGameRelayHead) > GAME_CHANNEL_MAX_DATA || !IsGameWindowReady())
        return false;
    BYTE cbFrame[GAME_CHANNEL_MAX_DATA];
    tagGameRelayHead head = {GAME_KIND_CONTROL, wSubCmdID};
    memcpy(cbFrame, &head, sizeof(head));
    if (pData != NULL && wDataSize > 0)
        memcpy(cbFrame + sizeof(head), pData, wDataSize);
    else
        wDataSize = 0;
    return SendChannelData(GAME_MAIN_RELAY, GAME_SUB_TRAFFIC, cbFrame, WORD(sizeof(head) + wDataSize));
}

bool CRoomDataCenter::SendTextToGameClient(DWORD dwUserID, LPCSTR pszText)
{
    tagGameClientText record;
    MakeGameClientText(record, dwUserID, pszText != NULL ? pszText : "");
    return SendGameProtocol(GAME_SUB_CLIENT_TEXT, &record, sizeof(record));
}

bool CRoomDataCenter::SendSystemTextToGame(LPCSTR pszText)
{
    std::vector<BYTE> body = BuildGameSystemBody(GAME_SYSTEM_FLAGS_HALL, pszText, strlen(pszText));
    return SendGameProtocol(300, body.data(), WORD(body.size()));
}

bool CRoomDataCenter::SendItemInfoToGame(const tagRoomItemRecord& item)
{
    tagGameItemRecord record;
    MakeGameItemRecord(record, item);
    return SendChannelData(GAME_MAIN_ROOM, GAME_SUB_ITEM_RECORD, &record, sizeof(record));
}

bool CRoomDataCenter::ForwardRecordToGame(DWORD dwA, WORD wB, DWORD dwC, DWORD dwD)
{
    CUserItem* pMe = m_UserManager.GetMeUserItem();
    if (pMe != NULL && pMe->IsSeated() && IsGameWindowReady()) {
        tagGameForwardRecord record;
        MakeGameForwardRecord(record, dwA, wB, dwC, dwD);
        SendChannelData(GAME_MAIN_USER, GAME_SUB_GAME_RECORD, &record, sizeof(record));
    }
    return true;
}

bool CRoomDataCenter::SendUserToGameClient(CUserItem* pUserItem)
{
    if (pUserItem == NULL)
        return false;
    const tagUserData* p = pUserItem->GetUserData();
    const tagUserFirstExtension* pFirst = pUserItem->GetFirstExtension();
    const tagUserSecondExtension* pSecond = pUserItem->GetSecondExtension();
    const tagUserExtra* pExtra = pUserItem->GetExtra();
    tagUserDescription d;
    d.dwUserID = p->dwUserID;
    if (p->dwUserID != 0)
        AddNumber(d, 1, p->dwUserID);
    d.Add(2, FieldText(p->szName));
    d.Add(4, FieldText(p->szNickName));
    AddNumber(d, 5, p->cbKey5);
    AddNumber(d, 6, p->wFaceID);
    if (p->wTableID != INVALID_TABLE)
        AddNumber(d, 100, p->wTableID);
    if (p->wChairID != INVALID_CHAIR)
        AddNumber(d, 101, p->wChairID);
    if (p->wKey102 != 0)
        AddNumber(d, 102, p->wKey102);
    if (p->cbRelation != 0)
        AddNumber(d, 116, p->cbRelation);
    AddNumber(d, 103, p->cbUserStatus);
    AddNumber(d, 3, p->dwRank);
    AddNumber(d, 16, p->dwKey16);
    AddNumber(d, 19, p->cbKey19);
    AddNumber(d, 18, p->dwKey18);
    AddNumber(d, 14, p->dwKey14);
    AddNumber(d, 17, p->dwKey17);
    for (WORD i = 0; i < 6; ++i)
        AddNumber(d, WORD(104 + i), p->dwScore[i]);
    AddNumber(d, 110, pFirst->dwValue[0]);
    AddNumber(d, 111, pFirst->dwValue[2]);
    AddNumber(d, 112, p->dwKey112);
    AddNumber(d, 113, m_dwFirstFlag);
    AddNumber(d, 114, pFirst->dwValue[1]);
    AddNumber(d, 115, pFirst->dwValue[3]);
    AddNumber(d, 118, pSecond->wValue2);
    AddNumber(d, 119, pSecond->dwTeamMember);
    AddNumber(d, 120, pSecond->dwTeamNumber);
    d.Add(13, FieldText(p->szKey13));
    AddNumber(d, 121, pExtra->dwValue);
    d.Add(122, FieldText(pExtra->szText1));
    AddNumber(d, 123, pExtra->cbValue);
    d.Add(124, FieldText(pExtra->szText2));
    if (p->dwSecondID != 0)
        AddNumber(d, 23, p->dwSecondID);
    CSafeMemFile body(RECORD_GROW_BYTES);
    if (!PackRecord(body, d) || body.GetDataSize() > GAME_CHANNEL_MAX_DATA)
        return false;
    return SendChannelData(GAME_MAIN_USER, GAME_SUB_USER, body.GetData(), WORD(body.GetDataSize()));
}

void CRoomDataCenter::SendMatchDescription()
{
    if (!IsMatchRoom())
        return;
    std::vector<BYTE> body = BuildMatchDescriptionBody(m_RoomInfo);
    SendGameProtocol(GAME_SUB_MATCH_DESCRIPTION, body.data(), WORD(body.size()));
}

// Attach steps 3 to 8: the room record, the match description, the record
// lists and the users; the match time only on a hello.
void CRoomDataCenter::SendAttachData(bool bHello)
{
    CUserItem* pMe = m_UserManager.GetMeUserItem();
    tagGameRoomRecord room;
    memset(&room, 0, sizeof(room));
    room.dwUserID = GetOwnUserID();
    room.wTableID = pMe != NULL ? pMe->GetUserData()->wTableID : INVALID_TABLE;
    room.wChairID = pMe != NULL ? pMe->GetUserData()->wChairID : INVALID_CHAIR;
    room.wGameID = m_pGameRoom != NULL ? WORD(m_pGameRoom->GetGameId()) : 0;
    room.wRoomID = WORD(m_RoomInfo.dwRoomID);
    room.wServerType = WORD(m_RoomInfo.dwServerType);
    room.wNextValue = m_RoomInfo.wTableCount;
    if (m_pGameRoom != NULL) {
        CGameTreeManager* pTree = g_GlobalUnits.GetGameTreeManager();
        CGame* pGame = pTree != NULL ? pTree->FindGame(m_pGameRoom->GetGameId()) : NULL;
        if (pGame != NULL)
            CopyTextField(room.szGameName, pGame->GetName());
        CopyTextField(room.szRoomName, m_pGameRoom->GetName());
    }
    if (!m_strStartText.IsEmpty())
        CopyTextField(room.szStartText, m_strStartText);
    room.dwRoomRule = m_RoomInfo.dwRoomRule;
    SendChannelData(GAME_MAIN_ROOM, GAME_SUB_ROOM_RECORD, &room, sizeof(room));

    if (IsMatchRoom()) {
        SendMatchDescription();
        if (bHello) {
            tagGameMatchTime time;
            memset(&time, 0, sizeof(time));
            if (pMe != NULL) {
                time.dwValue1 = pMe->GetSecondExtension()->dwValue1;
                time.wValue2 = pMe->GetSecondExtension()->wValue2;
                time.wValue3 = pMe->GetSecondExtension()->wValue3;
            }
            time.dwRandom = AfxGetTickCount() % 100 + 1;
            SYSTEMTIME now;
            GetLocalTime(&now);
            time.wHour = now.wHour;
            time.wMinute = now.wMinute;
            time.wSecond = now.wSecond;
            SendGameProtocol(GAME_SUB_MATCH_TIME, &time, sizeof(time));
        }
    }

    const CRoomRecordLists::CItemArray& items = m_RecordLists.GetItems();
    for (INT_PTR i = 0; i < items.GetSize(); ++i)
        SendItemInfoToGame(items[i]);
    const CRoomRecordLists::CGameRecordArray& records = m_RecordLists.GetGameRecords();
    for (INT_PTR i = 0; i < records.GetSize(); ++i) {
        tagGameForwardRecord record;
        MakeGameForwardRecord(record, records[i].dwID, records[i].wValue, records[i].dwValue1, records[i].dwValue2);
        SendChannelData(GAME_MAIN_USER, GAME_SUB_GAME_RECORD, &record, sizeof(record));
    }

    if (pMe == NULL || (!IsMatchRoom() && !pMe->IsSeated()))
        return;
    SendUserToGameClient(pMe);
    const WORD wOwnTable = pMe->GetUserData()->wTableID;
    if (IsMatchRoom()) {
        tagGameTeamCount team = {0};
        const DWORD dwTeam = pMe->GetSecondExtension()->dwTeamNumber;
        for (CUserItem* pUserItem : m_UserManager.GetUserItems()) {
            bool bTeam = pUserItem == pMe || (pUserItem->GetSecondExtension()->dwTeamMember != 0 &&
                                              pUserItem->GetSecondExtension()->dwTeamNumber == dwTeam);
            if (bTeam && pUserItem->GetStatus() != USER_STATUS_LOOKON)
                ++team.dwCount;
        }
        SendGameProtocol(GAME_SUB_TEAM_COUNT, &team, sizeof(team));
    }
    for (int nPass = 0; nPass < 2; ++nPass) {
        for (CUserItem* pUserItem : m_UserManager.GetUserItems()) {
            if (pUserItem == pMe || pUserItem->GetUserData()->wTableID != wOwnTable)
                continue;
            bool bLooker = pUserItem->GetStatus() == USER_STATUS_LOOKON;
            if (bLooker == (nPass == 1))
                SendUserToGameClient(pUserItem);
        }
    }
}

// ---- the launch ---------------------------------------------------------------------

int CRoomDataCenter::LaunchGameClient()
{
    if (m_ProcessInfo.hProcess != NULL && WaitForSingleObject(m_ProcessInfo.hProcess, 0) == WAIT_TIMEOUT) {
        if (IsGameWindowReady()) {
            m_lGameState = GAME_STATE_HELLO;
            HWND hGameWnd = HWND(ULongToHandle(m_pShareData->dwGameWnd));
            ShowWindow(hGameWnd, SW_SHOW);
            SetForegroundWindow(hGameWnd);
            SendChannelData(GAME_MAIN_EVENT, GAME_SUB_SHOWN_AGAIN, NULL, 0);
            SendAttachData(false);
            SendChannelData(GAME_MAIN_EVENT, GAME_SUB_ATTACHED, NULL, 0);
            m_wPendingTable = INVALID_TABLE;
            m_wPendingChair = INVALID_CHAIR;
            m_lGameState = GAME_STATE_ATTACHED;
            return 2;
        }
        TerminateProcess(m_ProcessInfo.hProcess, 0);
    }
    PostGameNotify(RN_GAME_CLIENT.wSubCmdID, GAME_CLIENT_POST_STARTING);
    ForgetGameClient();

    CString strFolder;
    CString strProgram;
    CGameTreeManager* pTree = g_GlobalUnits.GetGameTreeManager();
    if (pTree != NULL && m_pGameRoom != NULL) {
        strFolder = pTree->GetGameFolder(m_pGameRoom->GetGameId());
        strProgram = pTree->GetGameExePath(m_pGameRoom->GetGameId());
    }
    CString strCommandLine;
    strCommandLine.Format("%s /RoomToken:%s /ServerType:%ld", (LPCSTR)strProgram, m_szShareName,
                          long(m_RoomInfo.dwServerType));
    // The program is also the application name: a folder with spaces in it
    // must not make the system guess which part is the program.
    std::vector<char> commandLine(strCommandLine.GetString(),
                                  strCommandLine.GetString() + strCommandLine.GetLength() + 1);
    STARTUPINFOA startup;
    memset(&startup, 0, sizeof(startup));
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info;
    memset(&info, 0, sizeof(info));
    if (!strProgram.IsEmpty() && CreateProcessA(strProgram, commandLine.data(), NULL, NULL, FALSE,
                                                CREATE_DEFAULT_ERROR_MODE, NULL, strFolder, &startup, &info)) {
        m_ProcessInfo = info;
        m_dwLaunchTime = AfxGetTickCount();
        m_lGameState = GAME_STATE_STARTED;
        return 1;
    }
    // No game came: the room view closes its status dialog without hiding
    // the hall, and the seat is given back.
    memset(&m_ProcessInfo, 0, sizeof(m_ProcessInfo));
    m_lGameState = GAME_STATE_NONE;
    GiveUpSeat();
    PostGameNotify(RN_GAME_CLIENT.wSubCmdID, GAME_CLIENT_POST_FAILED);
    return 0;
}

void CRoomDataCenter::ForgetGameClient()
{
    m_hGameWnd = NULL;
    if (m_pShareData != NULL)
        m_pShareData->dwGameWnd = 0;
    if (m_ProcessInfo.hThread != NULL)
        CloseHandle(m_ProcessInfo.hThread);
    if (m_ProcessInfo.hProcess != NULL)
        CloseHandle(m_ProcessInfo.hProcess);
    memset(&m_ProcessInfo, 0, sizeof(m_ProcessInfo));
}

// The requests of a leaving client: out of the match, out of the game,
// off the seat.
void CRoomDataCenter::GiveUpSeat()
{
    if (IsMatchRoom())
        SendQuitMatch();
    CUserItem* pMe = m_UserManager.GetMeUserItem();
    if (pMe == NULL || !pMe->IsSeated())
        return;
    if (pMe->GetStatus() == USER_STATUS_PLAY)
        SendLeaveGame();
    SendStandUp();
    if (HasRule(RULE_MATCH) && m_cbMatchFlag != 0)
        CancelMatchFlag();
}

void CRoomDataCenter::CheckGameClient(DWORD dwNow)
{
    if (m_lGameState < GAME_STATE_STARTED || dwNow - m_dwLaunchTime < s_dwHelloTimeout || IsWindow(m_hGameWnd))
        return;
    // Gone, or never said hello: nothing more goes to it, and a client that
    // still runs without a window is not left behind.
    if (m_ProcessInfo.hProcess != NULL && WaitForSingleObject(m_ProcessInfo.hProcess, 0) == WAIT_TIMEOUT)
        TerminateProcess(m_ProcessInfo.hProcess, 0);
    ForgetGameClient();
    m_lGameState = GAME_STATE_NONE;
    GiveUpSeat();
    PostGameNotify(RN_GAME_CLIENT.wSubCmdID, GAME_CLIENT_POST_FAILED);
}

// ---- the client's side of the channel -----------------------------------------------

bool CRoomDataCenter::OnChannelMessage(const tagIPCHead* pHead, const void* pData, WORD wDataSize, HWND hSender)
{
    if (pHead == NULL || (wDataSize > 0 && pData == NULL))
        return false;
    switch (pHead->wMainCmdID) {
    case GAME_MAIN_CONTROL:
        if (pHead->wSubCmdID == GAME_SUB_HELLO)
            return OnClientHello(hSender);
        if (pHead->wSubCmdID == GAME_SUB_GOODBYE) {
            OnClientGoodbye(hSender);
            return true;
        }
        return false;
    case GAME_MAIN_RELAY: {
        // {kind, sub, body}; the client sends nothing else on this main.
        tagGameRelayHead head;
        if (pHead->wSubCmdID != GAME_SUB_REQUEST || wDataSize < sizeof(head))
            return false;
        memcpy(&head, pData, sizeof(head));
        return RelayGameRequest(head.wKind, head.wSubCmdID, WORD(wDataSize - sizeof(head)),
                                static_cast<const BYTE*>(pData) + sizeof(head));
    }
    case GAME_MAIN_USER: return true;
    case GAME_MAIN_EVENT: OnClientEvent(pHead->wSubCmdID, hSender); return true;
    default: return false;
    }
}

bool CRoomDataCenter::OnClientHello(HWND hSender)
{
    m_lGameState = GAME_STATE_HELLO;
    if (m_pShareData != NULL && IsChild(HWND(ULongToHandle(m_pShareData->dwGameWnd)), hSender))
        return false;
    m_hGameWnd = hSender;
    SendAttachData(true);
    SendChannelData(GAME_MAIN_EVENT, GAME_SUB_ATTACHED, NULL, 0);
    m_wPendingTable = INVALID_TABLE;
    m_wPendingChair = INVALID_CHAIR;
    m_lGameState = GAME_STATE_ATTACHED;
    return true;
}

void CRoomDataCenter::OnClientGoodbye(HWND hSender)
{
    // Only the client's own window may end it.
    if (hSender == NULL || hSender != m_hGameWnd)
        return;
    GiveUpSeat();
    ForgetGameClient();
    m_lGameState = GAME_STATE_NONE;
    PostGameNotify(RN_GAME_CLIENT.wSubCmdID, GAME_CLIENT_POST_DONE);
}

void CRoomDataCenter::OnClientEvent(WORD wSubCmdID, HWND hSender)
{
    switch (wSubCmdID) {
    case GAME_SUB_ROOM_CLOSED: OnClientGoodbye(hSender); break;
    case 3: PostGameNotify(RN_GAME_CLIENT.wSubCmdID, GAME_CLIENT_POST_DONE); break;
    case 4: PostGameNotify(RN_GAME_POST_3.wSubCmdID, 1); break;
    case 5:
        SendStandUp();
        SendMatchRule();
        break;
    case 6: PostGameNotify(RN_GAME_POST_7.wSubCmdID, 1); break;
    case 7: PostGameNotify(RN_GAME_POST_8.wSubCmdID, 1); break;
    default: break;
    }
}
