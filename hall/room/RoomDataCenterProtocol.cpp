// The requests of the room data centre and the server messages of the room
// and table mains. Each message is read whole before anything changes; a
// malformed body is dropped without a word.
#include <string.h>

#include "GlobalUnits.h"
#include "RoomDataCenter.h"
#include "RoomMessageReader.h"
#include "WordFilter.h"

namespace
{


LPCSTR TextOrEmpty(LPCSTR psz)
{
    return psz != NULL ? psz : "";
}

// Two u32 values as the game client reads them.
struct tagTwoValues
{
    DWORD dwFirst;
    DWORD dwSecond;
};

} // namespace

// ---- sending ----------------------------------------------------------------------

bool CRoomDataCenter::SendRaw(DWORD dwSerialNum, WORD wMainCmdID, WORD wSubCmdID, const void* pData, WORD wDataSize)
{
    IClientSocket* pSocket = GetSocket();
    if (pSocket == NULL)
        return false;
    if (wDataSize == 0)
        return pSocket->SendData(dwSerialNum, wMainCmdID, wSubCmdID);
    return pSocket->SendData(dwSerialNum, wMainCmdID, wSubCmdID, pData, wDataSize);
}

template <class T>
bool CRoomDataCenter::SendRecordWithSerial(DWORD dwSerialNum, WORD wMainCmdID, WORD wSubCmdID, const T& record)
{
    if (GetSocket() == NULL)
        return false;
    CSafeMemFile body(RECORD_GROW_BYTES);
    // A body the packet cannot carry is not sent at all.
    if (!PackRecord(body, record))
        return false;
    return SendRaw(dwSerialNum, wMainCmdID, wSubCmdID, body.GetData(), WORD(body.GetDataSize()));
}

template <class T>
bool CRoomDataCenter::SendRecord(WORD wMainCmdID, WORD wSubCmdID, const T& record, HWND hWnd, DWORD* pSerialNum)
{
    if (GetSocket() == NULL)
        return false;
    DWORD dwSerialNum = NextSerialNumber();
    if (!SendRecordWithSerial(dwSerialNum, wMainCmdID, wSubCmdID, record))
        return false;
    if (pSerialNum != NULL)
        *pSerialNum = dwSerialNum;
    if (hWnd != NULL)
        AddSerialWindow(dwSerialNum, hWnd);
    return true;
}

bool CRoomDataCenter::SendHead(WORD wMainCmdID, WORD wSubCmdID)
{
    return SendRaw(NextSerialNumber(), wMainCmdID, wSubCmdID, NULL, 0);
}

DWORD CRoomDataCenter::GetOwnUserID() const
{
    CUserItem* pMe = m_UserManager.GetMeUserItem();
    return pMe != NULL ? pMe->GetUserID() : 0;
}

// Named: not an anonymous room, or the own user is privileged.
bool CRoomDataCenter::IsOwnUserNamed() const
{
    CUserItem* pMe = m_UserManager.GetMeUserItem();
    return !HasRule(ROOM_RULE_ANONYMOUS) || (pMe != NULL && pMe->GetUserData()->dwRank == ROOM_RANK_ADMIN);
}

bool CRoomDataCenter::IsAtOwnTable(WORD wTableID) const
{
    CUserItem* pMe = m_UserManager.GetMeUserItem();
    return pMe != NULL && pMe->IsSeated() && wTableID == pMe->GetUserData()->wTableID;
}

bool CRoomDataCenter::IsAtOwnTable(const CUserItem* pUserItem) const
{
    return pUserItem != NULL && IsAtOwnTable(pUserItem->GetUserData()->wTableID);
}

// ---- requests -----------------------------------------------------------------------

bool CRoomDataCenter::SendRoomLogon(DWORD& dwSerialNum, HWND hWnd, DWORD, LPCSTR pszText)
{
    if (GetSocket() == NULL)
        return false;
    const tagGlobalUserData* pUser = g_GlobalUnits.GetGlobalUserData();
    tagRoomLogonRequest request;
    request.dwUserID = pUser->dwUserID;
    CopyTextField(request.szPassword, sizeof(request.szPassword), pUser->szPassword,
                  GetFieldLength(pUser->szPassword, sizeof(pUser->szPassword)));
    g_GlobalUnits.GetMachineID(request.szMachineID);
    request.bHasText = pszText != NULL;
    request.strText = TextOrEmpty(pszText);
    if (!SendRecord(ROOM_MAIN_ROOM, ROOM_SUB_LOGON, request, hWnd, &dwSerialNum))
        return false;
    m_dwLogonState = ROOM_LOGON_SENT;
    return true;
}

bool CRoomDataCenter::SendStandUp()
{
    return GetSocket() != NULL && SendHead(ROOM_MAIN_GAME, ROOM_SUB_STAND_UP);
}

bool CRoomDataCenter::SendLeaveGame()
{
    return SendStandUp();
}

bool CRoomDataCenter::SendUserRule(const tagUserRule& rule)
{
    if (GetSocket() == NULL || m_UserManager.GetMeUserItem() == NULL || !IsOwnUserNamed())
        return false;
    if (g_GlobalUnits.GetGlobalUserData()->lLevel == GUEST_USER_LEVEL)
        return false;
    tagUserRule sent = rule;
    CopyTextField(sent.szPassword, sizeof(sent.szPassword), rule.szPassword,
                  GetFieldLength(rule.szPassword, sizeof(rule.szPassword)));
    return SendRecord(ROOM_MAIN_ROOM, ROOM_SUB_USER_RULE, sent);
}

bool CRoomDataCenter::SendSitRequest(WORD wSubCmdID, WORD wTableID, WORD wChairID, LPCSTR pszPassword)
{
    tagSitRequest request;
    request.wTableID = wTableID;
    request.wChairID = (m_pGameRoom != NULL && m_pGameRoom->IsAutoSeat()) ? INVALID_CHAIR : wChairID;
    CopyTextField(request.szPassword, TextOrEmpty(pszPassword));
    if (!SendRecord(ROOM_MAIN_ROOM, wSubCmdID, request))
        return false;
    m_wPendingTable = wTableID;
    m_wPendingChair = wChairID;
    m_lGameState = GAME_STATE_REQUESTED;
    return true;
}

bool CRoomDataCenter::SendLookOn(WORD wTableID, WORD wChairID, LPCSTR pszPassword)
{
    // The pending seat is set only for a request that went out: a refused
    // one must not hold up later seats.
    return GetSocket() != NULL && SendSitRequest(ROOM_SUB_LOOK_ON, wTableID, wChairID, pszPassword);
}

bool CRoomDataCenter::SendSitDown(WORD wTableID, WORD wChairID, LPCSTR pszPassword)
{
    return IsConnected() && SendSitRequest(ROOM_SUB_SIT_DOWN, wTableID, wChairID, pszPassword);
}

bool CRoomDataCenter::SendRoomChat(DWORD dwFirst, LPCSTR pszText, DWORD dwThird)
{
    if (GetSocket() == NULL || HasRule(ROOM_RULE_NO_CHAT) || !IsOwnUserNamed() || m_UserManager.GetMeUserItem() == NULL)
        return false;
    tagRoomChatRequest request;
    request.dwFirst = dwFirst;
    request.dwThird = dwThird;
    CopyTextField(request.szText, TextOrEmpty(pszText));
    return SendRecord(ROOM_MAIN_ROOM, ROOM_SUB_CHAT, request);
}

bool CRoomDataCenter::SendWhisper(DWORD dwFirst, LPCSTR pszText, DWORD dwThird)
{
    if (GetSocket() == NULL || HasRule(ROOM_RULE_NO_CHAT) || !IsOwnUserNamed() || m_UserManager.GetMeUserItem() == NULL)
        return false;
    tagRoomWhisperRequest request;
    request.dwFirst = dwFirst;
    request.dwThird = dwThird;
    CopyTextField(request.szText, TextOrEmpty(pszText));
    return SendRecord(ROOM_MAIN_ROOM, ROOM_SUB_WHISPER, request);
}

bool CRoomDataCenter::SendSpeakerText(LPCSTR pszText)
{
    if (GetSocket() == NULL || HasRule(ROOM_RULE_NO_SPEAKER) || HasRule(ROOM_RULE_ANONYMOUS) ||
        m_UserManager.GetMeUserItem() == NULL)
        return false;
    tagSpeakerRequest request;
    CopyTextField(request.szText, TextOrEmpty(pszText));
    return SendRecord(ROOM_MAIN_ROOM, ROOM_SUB_SPEAKER, request);
}

bool CRoomDataCenter::SendInvite(WORD wTableID, DWORD dwUserID)
{
    if (GetSocket() == NULL || m_UserManager.GetMeUserItem() == NULL || !IsOwnUserNamed())
        return false;
    tagInviteRequest request = {dwUserID, wTableID};
    return SendRecord(ROOM_MAIN_ROOM, ROOM_SUB_INVITE, request);
}

bool CRoomDataCenter::SendKickUser(DWORD dwUserID)
{
    if (GetSocket() == NULL)
        return false;
    CUserItem* pUserItem = m_UserManager.SearchUserItem(dwUserID);
    if (pUserItem == NULL || pUserItem->GetStatus() == USER_STATUS_FREE || !pUserItem->IsSeated())
        return false;
    return SendRecord(ROOM_MAIN_ROOM, ROOM_SUB_KICK, dwUserID);
}

bool CRoomDataCenter::SendLeaveRoom(bool bClose)
{
    if (GetSocket() == NULL)
        return false;
    bool bSent = SendHead(ROOM_MAIN_ROOM, ROOM_SUB_LEAVE_ROOM);
    if (bClose)
        GetSocket()->CloseSocket(false);
    return bSent;
}

bool CRoomDataCenter::SendUseItem(DWORD dwItemKind)
{
    WORD wSubCmdID = 0;
    switch (dwItemKind) {
    case 7: wSubCmdID = 13; break;
    case 8: wSubCmdID = 14; break;
    case 9: wSubCmdID = 15; break;
    case 16: wSubCmdID = 24; break;
    case 17: wSubCmdID = 25; break;
    default: return false;
    }
    return GetSocket() != NULL && SendHead(ROOM_MAIN_ROOM, wSubCmdID);
}

bool CRoomDataCenter::SendMachineCode(DWORD& dwSerialNum, HWND hWnd)
{
    if (GetSocket() == NULL)
        return false;
    char szMachineID[33];
    g_GlobalUnits.GetMachineID(szMachineID);
    tagCountedString machine;
    machine.strText = szMachineID;
    return SendRecord(ROOM_MAIN_ROOM, ROOM_SUB_MACHINE_CODE, machine, hWnd, &dwSerialNum);
}

bool CRoomDataCenter::SendCreateTable(const tagCreateTableRequest& request)
{
    if (GetSocket() == NULL || m_UserManager.GetMeUserItem() == NULL || !IsOwnUserNamed())
        return false;
    return SendRecordWithSerial(0, ROOM_MAIN_ROOM, ROOM_SUB_CREATE_TABLE, request);
}

bool CRoomDataCenter::SendMatchRule()
{
    return GetSocket() != NULL && HasRule(ROOM_RULE_MATCH) && SendHead(ROOM_MAIN_ROOM, ROOM_SUB_MATCH_RULE);
}

bool CRoomDataCenter::SendMatchRequest()
{
    if (GetSocket() == NULL || !HasRule(ROOM_RULE_MATCH))
        return false;
    return SendHead(ROOM_MAIN_ROOM, ROOM_SUB_MATCH_REQUEST) && SendHead(ROOM_MAIN_ROOM, ROOM_SUB_MATCH_RULE);
}

bool CRoomDataCenter::CancelMatchFlag()
{
    if (GetSocket() == NULL || !HasRule(ROOM_RULE_MATCH))
        return false;
    m_cbMatchFlag = 0;
    NotifyKey(RN_MATCH_FLAG, NULL);
    return SendHead(ROOM_MAIN_ROOM, ROOM_SUB_MATCH_REQUEST);
}

bool CRoomDataCenter::SendSpeedTest(DWORD dwUserID, BYTE bToRoom)
{
    DWORD dwSerialNum = 0;
    if (!SendRecord(ROOM_MAIN_ROOM, ROOM_SUB_SPEED_TEST, dwUserID, NULL, &dwSerialNum))
        return false;
    m_SpeedTests[dwSerialNum] = tagSpeedTest{dwUserID, bToRoom, AfxGetTickCount()};
    return true;
}

bool CRoomDataCenter::SendJoinMatch()
{
    return GetSocket() != NULL && SendHead(ROOM_MAIN_ROOM, ROOM_SUB_JOIN_MATCH);
}

bool CRoomDataCenter::SendQuitMatch()
{
    return GetSocket() != NULL && SendHead(ROOM_MAIN_ROOM, ROOM_SUB_QUIT_MATCH);
}

bool CRoomDataCenter::SendBankWithdraw(LPCSTR pszPasswordDigest, DWORD dwAmount, bool bFromHall)
{
    tagBankWithdrawRequest request;
    CopyTextField(request.szPassword, TextOrEmpty(pszPasswordDigest));
    request.dwAmount = dwAmount;
    return SendRecordWithSerial(bFromHall ? ROOM_BANK_SERIAL_HALL : ROOM_BANK_SERIAL_GAME, ROOM_MAIN_ROOM,
                                ROOM_SUB_BANK_WITHDRAW, request);
}

bool CRoomDataCenter::SendBankDeposit(DWORD dwAmount, bool bFromHall)
{
    return SendRecordWithSerial(bFromHall ? ROOM_BANK_SERIAL_HALL : ROOM_BANK_SERIAL_GAME, ROOM_MAIN_ROOM,
                                ROOM_SUB_BANK_DEPOSIT, dwAmount);
}

bool CRoomDataCenter::SendBankPassword(LPCSTR pszPasswordDigest, bool bFromHall)
{
    char szPassword[33];
    CopyTextField(szPassword, TextOrEmpty(pszPasswordDigest));
    tagCountedString password;
    password.strText = szPassword;
    return SendRecordWithSerial(bFromHall ? ROOM_BANK_SERIAL_HALL : ROOM_BANK_SERIAL_GAME, ROOM_MAIN_ROOM,
                                ROOM_SUB_BANK_PASSWORD, password);
}

bool CRoomDataCenter::SendGoldExchange(bool bDirection, DWORD dwAmount)
{
    tagGoldExchangeRequest request = {BYTE(bDirection ? 0 : 1), BYTE(bDirection ? 1 : 0), dwAmount};
    return SendRecordWithSerial(0, ROOM_MAIN_ROOM, ROOM_SUB_GOLD_EXCHANGE, request);
}

// ---- server messages of the room main --------------------------------------------------

void CRoomDataCenter::OnRoomMessage(DWORD dwSerialNum, WORD wSubCmdID, const void* pData, WORD wDataSize)
{
    switch (wSubCmdID) {
    case ROOM_SUB_S_LOGON_RESULT: OnLogonResult(dwSerialNum, pData, wDataSize); return;
    case ROOM_SUB_S_GAME_RESET: {
        DWORD dwValue = 0;
        if (UnpackRecord(dwValue, pData, wDataSize) && dwValue != 0)
            m_lGameState = GAME_STATE_NONE;
        return;
    }
    case ROOM_SUB_S_SIT_RESULT: {
        DWORD dwCode = 0;
        if (!UnpackRecord(dwCode, pData, wDataSize))
            return;
        if (dwCode != 0)
            m_lGameState = GAME_STATE_NONE;
        NotifyValue(RN_SIT_RESULT, dwCode);
        return;
    }
    case ROOM_SUB_S_USER_ENTER: OnUserEnter(pData, wDataSize); return;
    case ROOM_SUB_S_USER_STATUS: OnUserStatus(pData, wDataSize); return;
    case ROOM_SUB_S_USER_SCORE: OnUserScore(pData, wDataSize); return;
    case ROOM_SUB_S_CHAT: {
        tagRoomChatMessage message;
        memset(&message, 0, sizeof(message));
        if (!UnpackRecord(message, pData, wDataSize))
            return;
        tagRoomChatNotice notice;
        notice.dwReserved = 0;
        notice.dwColor = message.dwZ;
        notice.dwSenderID = message.dwX;
        notice.dwTargetID = message.dwY;
        if (g_WordFilter.FilterText(message.szText))
            CopyTextField(notice.szText, message.szText);
        else
            CopyTextField(notice.szText, g_WordFilter.GetResultText());
        NotifyKey(RN_CHAT, &notice);
        return;
    }
    case ROOM_SUB_S_SPEAKER: {
        tagRoomSpeakerMessage message;
        if (!ReadRoomSpeaker(message, pData, wDataSize))
            return;
        CUserItem* pUserItem = m_UserManager.SearchUserItem(message.dwUserID);
        if (pUserItem == NULL)
            return;
        tagRoomSpeakerNotice notice;
        notice.dwUserID = message.dwUserID;
        memcpy(notice.szNickName, pUserItem->GetUserData()->szNickName, sizeof(notice.szNickName));
        CopyTextField(notice.szText, message.szText);
        NotifyKey(RN_SPEAKER, &notice);
        if (IsGameClientStarted()) {
            struct
            {
                char szText[1024];
                DWORD dwValue1;
                DWORD dwValue2;
                char szNickName[32];
            } game;
            memset(&game, 0, sizeof(game));
            CopyTextField(game.szText, message.szText);
            memcpy(game.szNickName, notice.szNickName, sizeof(game.szNickName));
            SendGameProtocol(301, &game, WORD(sizeof(game)));
        }
        return;
    }
    case ROOM_SUB_S_INVITE: {
        tagRoomInviteNotice notice;
        if (ReadRoomInvite(notice, pData, wDataSize))
            NotifyKey(RN_INVITE, &notice);
        return;
    }
    case ROOM_SUB_S_USER_LEAVE: OnUserLeave(pData, wDataSize); return;
    case ROOM_SUB_S_ROOM_END:
        m_lGameState = GAME_STATE_NONE;
        CloseConnection();
        NotifyKey(RN_ROOM_END, NULL);
        return;
    case ROOM_SUB_S_USER_TEXTS: OnUserTexts(pData, wDataSize); return;
    case ROOM_SUB_S_WHISPER: {
        tagRoomWhisperMessage message;
        memset(&message, 0, sizeof(message));
        if (!UnpackRecord(message, pData, wDataSize))
            return;
        tagRoomWhisperNotice notice;
        notice.dwColor = message.dwY;
        notice.dwSenderID = message.dwX;
        CopyTextField(notice.szText, message.szText);
        notice.dwTextLength = DWORD(strlen(notice.szText));
        NotifyKey(RN_WHISPER, &notice);
        return;
    }
    case ROOM_SUB_S_KICKED: {
        BYTE cbState = 0;
        if (UnpackRecord(cbState, pData, wDataSize))
            NotifyValue(RN_KICKED, cbState);
        return;
    }
    case ROOM_SUB_S_RESULT_CODE: {
        DWORD dwCode = 0;
        if (UnpackRecord(dwCode, pData, wDataSize))
            NotifyValue(RN_RESULT_CODE, MapRoomResultCode(dwCode));
        return;
    }
    case ROOM_SUB_S_GAME_RECORDS: {
        CArray<tagRoomGameRecord, const tagRoomGameRecord&> records;
        if (!ReadGameRecords(records, pData, wDataSize))
            return;
        for (INT_PTR i = 0; i < records.GetSize(); ++i)
            m_RecordLists.SetGameRecord(records[i]);
        return;
    }
    case ROOM_SUB_S_GAME_RECORD: {
        tagRoomGameRecord record;
        if (!UnpackRecord(record, pData, wDataSize))
            return;
        m_RecordLists.SetGameRecord(record);
        ForwardRecordToGame(record.dwID, record.wValue, record.dwValue1, record.dwValue2);
        return;
    }
    case ROOM_SUB_S_USER_EXTENSION: {
        tagRoomUserExtension extension;
        if (!UnpackRecord(extension, pData, wDataSize))
            return;
        CUserItem* pUserItem = m_UserManager.SearchUserItem(extension.dwUserID);
        if (pUserItem == NULL)
            return;
        for (int i = 0; i < 3; ++i)
            pUserItem->GetFirstExtension()->dwValue[i + 1] = extension.dwValue[i];
        NotifyValue(RN_USER_REFRESH, extension.dwUserID);
        return;
    }
    case ROOM_SUB_S_ROOM_STATE: {
        BYTE cbState = 0;
        if (UnpackRecord(cbState, pData, wDataSize))
            NotifyKey(RN_ROOM_STATE, &cbState);
        return;
    }
    case ROOM_SUB_S_MATCH_STATE: OnMatchState(pData, wDataSize); return;
    case ROOM_SUB_S_SPEED_ANSWER: OnSpeedAnswer(dwSerialNum, pData, wDataSize); return;
    case ROOM_SUB_S_ECHO: SendRaw(dwSerialNum, ROOM_MAIN_ROOM, ROOM_SUB_ECHO, pData, wDataSize); return;
    case ROOM_SUB_S_ROOM_FLAGS: OnRoomFlags(pData, wDataSize); return;
    case ROOM_SUB_S_USER_VALUE: {
        tagRoomIdValue value;
        if (!UnpackRecord(value, pData, wDataSize))
            return;
        CUserItem* pUserItem = m_UserManager.SearchUserItem(value.dwUserID);
        if (pUserItem == NULL)
            return;
        pUserItem->GetUserData()->dwKey112 = value.dwValue;
        NotifyValue(RN_USER_VALUE, value.dwUserID);
        return;
    }
    case ROOM_SUB_S_USER_LIST:
    case ROOM_SUB_S_USER_CHANGES: OnUserList(wSubCmdID, pData, wDataSize); return;
    case ROOM_SUB_S_BANK_WITHDRAW:
    case ROOM_SUB_S_BANK_DEPOSIT:
    case ROOM_SUB_S_BANK_PASSWORD: OnBankAnswer(dwSerialNum, wSubCmdID, pData, wDataSize); return;
    case ROOM_SUB_S_SIGN_BUTTONS: {
        DWORD dwCode = 0;
        if (UnpackRecord(dwCode, pData, wDataSize))
            NotifyValue(RN_SIGN_BUTTONS, dwCode <= 7 ? dwCode : 0);
        return;
    }
    case ROOM_SUB_S_MATCH_TEAM: {
        BYTE cbTeam = 0;
        if (!UnpackRecord(cbTeam, pData, wDataSize))
            return;
        CUserItem* pMe = m_UserManager.GetMeUserItem();
        tagRoomMatchTeam team = {cbTeam, WORD(pMe != NULL ? pMe->GetSecondExtension()->dwTeamNumber : 0)};
        NotifyKey(RN_MATCH_TEAM, &team);
        SendGameProtocol(803, &cbTeam, 1);
        return;
    }
    case ROOM_SUB_S_SIGN_RESULT: {
        DWORD dwCode = 0;
        if (!UnpackRecord(dwCode, pData, wDataSize))
            return;
        NotifyValue(RN_SIGN_RESULT, dwCode == 0 ? 8 : dwCode == 1 ? 9 : dwCode);
        return;
    }
    case ROOM_SUB_S_EXCHANGE: {
        DWORD dwCode = 0;
        if (UnpackRecord(dwCode, pData, wDataSize))
            NotifyValue(RN_EXCHANGE_RESULT, dwCode);
        return;
    }
    default: return;
    }
}

void CRoomDataCenter::OnLogonResult(DWORD dwSerialNum, const void* pData, WORD wDataSize)
{
    tagRoomLogonResult result;
    if (!ReadRoomLogonResult(result, pData, wDataSize))
        return;
    tagRoomLogonNotice notice;
    memset(&notice, 0, sizeof(notice));
    notice.dwCode = MapRoomLogonCode(result.dwCode);
    CopyTextField(notice.szText, result.szMessage);
    if (result.dwCode == 0) {
        m_dwLogonState = ROOM_LOGON_DONE;
        SendHead(ROOM_MAIN_TABLE, ROOM_SUB_TABLE_STATUS);
        tagUserData data;
        memset(&data, 0, sizeof(data));
        data.dwUserID = result.dwUserID;
        // Seated nowhere until the user list or a status says otherwise.
        data.wTableID = INVALID_TABLE;
        data.wChairID = INVALID_CHAIR;
        CUserItem* pMe = m_UserManager.ActiveUserItem(data);
        if (pMe != NULL)
            m_UserManager.SetMeUserItem(pMe);
    } else {
        // Refused: the room view tells the user; no closed-connection notice.
        if (GetSocket() != NULL)
            GetSocket()->CloseSocket(false);
        m_dwLogonState = ROOM_LOGON_REFUSED;
    }
    NotifyKeyAndSerial(dwSerialNum, RN_LOGON_RESULT, &notice);
}

void CRoomDataCenter::OnMatchState(const void* pData, WORD wDataSize)
{
    if (!HasRule(ROOM_RULE_MATCH))
        return;
    BYTE cbState = 0;
    if (!UnpackRecord(cbState, pData, wDataSize))
        return;
    NotifyKey(RN_MATCH_STATE, &cbState);
    if (cbState == 0) {
        m_cbMatchFlag = 1;
        NotifyKey(RN_MATCH_FLAG, NULL);
    }
    CUserItem* pMe = m_UserManager.GetMeUserItem();
    if (pMe != NULL && pMe->IsSeated() && m_lGameState >= 2 && m_lGameState <= GAME_STATE_HELLO)
        PostGameNotify(RN_GAME_CLIENT.wSubCmdID, 0);
    if (IsGameClientStarted() && IsGameWindowReady()) {
        SendChannelData(4, 10, NULL, 0);
        SendMatchDescription();
        for (CUserItem* pUserItem : m_UserManager.GetUserItems()) {
            if (IsAtOwnTable(pUserItem))
                SendUserToGameClient(pUserItem);
        }
    }
}

void CRoomDataCenter::OnSpeedAnswer(DWORD dwSerialNum, const void* pData, WORD wDataSize)
{
    tagRoomIdValue answer;
    if (!UnpackRecord(answer, pData, wDataSize))
        return;
    auto it = m_SpeedTests.find(dwSerialNum);
    if (it == m_SpeedTests.end())
        return;
    BYTE cbToRoom = it->second.cbToRoom;
    m_SpeedTests.erase(it);
    tagTwoValues values = {answer.dwUserID, answer.dwValue};
    if (cbToRoom != 0)
        NotifyKey(RN_SPEED_RESULT, &values);
    else
        SendGameProtocol(603, &values, sizeof(values));
}

void CRoomDataCenter::OnRoomFlags(const void* pData, WORD wDataSize)
{
    tagRoomFlagsMessage flags;
    if (!UnpackRecord(flags, pData, wDataSize))
        return;
    m_dwSecondFlag = flags.dwSecondFlag;
    m_dwFirstFlag = flags.dwFirstFlag;
    if ((m_dwSecondFlag & 1) != 0)
        NotifyValue(RN_ROOM_FLAGS, m_dwSecondFlag);
    CUserItem* pMe = m_UserManager.GetMeUserItem();
    if (pMe != NULL && pMe->IsSeated()) {
        tagUserDescription description;
        description.dwUserID = pMe->GetUserID();
        description.AddNumber(113, LONG(m_dwFirstFlag));
        CSafeMemFile body(RECORD_GROW_BYTES);
        if (PackRecord(body, description))
            SendChannelData(3, 1, body.GetData(), WORD(body.GetDataSize()));
    }
}

void CRoomDataCenter::OnBankAnswer(DWORD dwSerialNum, WORD wSubCmdID, const void* pData, WORD wDataSize)
{
    tagBankPasswordAnswer answer;
    if (wSubCmdID == ROOM_SUB_S_BANK_PASSWORD) {
        if (!ReadBankPasswordAnswer(answer, pData, wDataSize))
            return;
    } else {
        answer.dwValue = 0;
        if (!UnpackRecord(answer.dwResult, pData, wDataSize))
            return;
    }
    if (dwSerialNum == ROOM_BANK_SERIAL_GAME) {
        tagTwoValues values = {answer.dwResult, answer.dwValue};
        WORD wGameSub = wSubCmdID == ROOM_SUB_S_BANK_WITHDRAW ? 702 : wSubCmdID == ROOM_SUB_S_BANK_DEPOSIT ? 703 : 701;
        SendGameProtocol(wGameSub, &values, sizeof(values));
        return;
    }
    switch (wSubCmdID) {
    case ROOM_SUB_S_BANK_WITHDRAW: NotifyValue(RN_BANK_WITHDRAW, answer.dwResult); break;
    case ROOM_SUB_S_BANK_DEPOSIT: NotifyValue(RN_BANK_DEPOSIT, answer.dwResult); break;
    default:
        SetCallerValue(answer.dwValue);
        NotifyValue(RN_BANK_PASSWORD, answer.dwResult);
        break;
    }
}

// ---- server messages of the table main ---------------------------------------------------

const tagRoomTableRecord* CRoomDataCenter::FindTableRecord(WORD wTableID) const
{
    for (INT_PTR i = 0; i < m_TableRecords.GetSize(); ++i) {
        if (m_TableRecords[i].wTableID == wTableID)
            return &m_TableRecords[i];
    }
    return NULL;
}

void CRoomDataCenter::StoreTableRecord(const tagRoomTableRecord& record)
{
    for (INT_PTR i = 0; i < m_TableRecords.GetSize(); ++i) {
        if (m_TableRecords[i].wTableID == record.wTableID) {
            m_TableRecords[i] = record;
            return;
        }
    }
    m_TableRecords.Add(record);
}

void CRoomDataCenter::FillGroupState(tagRoomGroupState& state) const
{
    memset(&state, 0, sizeof(state));
    state.dwGroupIndex = m_wCurrentGroup;
    if (m_wCurrentGroup >= sizeof(m_RoomInfo.Groups) / sizeof(m_RoomInfo.Groups[0]))
        return;
    state.dwUserID = GetOwnUserID();
    state.dwValue = m_RoomInfo.Groups[m_wCurrentGroup].dwValue;
    state.dwState = m_RoomInfo.Groups[m_wCurrentGroup].cbState;
}

void CRoomDataCenter::OnRoomInfo(const void* pData, WORD wDataSize)
{
    tagRoomInfo* pInfo = new tagRoomInfo;
    bool bRead = ReadRoomInfo(*pInfo, GetRoomKind(), pData, wDataSize);
    if (bRead)
        m_RoomInfo = *pInfo;
    delete pInfo;
    if (!bRead)
        return;
    NotifyKey(RN_ROOM_INFO, &m_RoomInfo);
    if (IsMatchRoom()) {
        tagRoomGroupState state;
        FillGroupState(state);
        NotifyKey(RN_GROUP_STATE, &state);
    }
    SendMatchDescription();
}

void CRoomDataCenter::OnTableMessage(WORD wSubCmdID, const void* pData, WORD wDataSize)
{
    switch (wSubCmdID) {
    case TABLE_SUB_S_INFO_DONE: NotifyKey(RN_INFO_DONE, NULL); return;
    case TABLE_SUB_S_ROOM_INFO: OnRoomInfo(pData, wDataSize); return;
    case TABLE_SUB_S_TABLE_FLAGS: {
        tagRoomTableFlagsMessage message;
        if (!UnpackRecord(message, pData, wDataSize))
            return;
        WORD wTableID = message.wTableID;
        DWORD dwFlags = message.dwFlags;
        tagRoomTableFlags notice = {wTableID, BYTE((dwFlags >> 1) & 1), BYTE(dwFlags & 1), BYTE((dwFlags >> 2) & 1)};
        NotifyKey(RN_TABLE_FLAGS, &notice);
        if (IsAtOwnTable(wTableID)) {
            BYTE cbFlag = notice.cbThird;
            SendGameProtocol(901, &cbFlag, 1);
        }
        return;
    }
    case TABLE_SUB_S_SYSTEM_TEXT: {
        tagRoomSystemText text;
        memset(&text, 0, sizeof(text));
        if (UnpackRecord(text, pData, wDataSize))
            NotifyKey(RN_ROOM_MESSAGE, &text);
        return;
    }
    case TABLE_SUB_S_ITEM_LIST: {
        CArray<tagRoomItemRecord, const tagRoomItemRecord&> items;
        if (!ReadItemList(items, pData, wDataSize))
            return;
        for (INT_PTR i = 0; i < items.GetSize(); ++i)
            m_RecordLists.SetItem(items[i]);
        return;
    }
    case TABLE_SUB_S_TABLE_RECORD: {
        tagRoomTableRecord record;
        memset(&record, 0, sizeof(record));
        if (!UnpackRecord(record, pData, wDataSize))
            return;
        StoreTableRecord(record);
        NotifyKey(RN_TABLE_RECORD, &record);
        return;
    }
    case TABLE_SUB_S_MATCH_TABLE_END:
        CloseConnection();
        NotifyKey(RN_MATCH_TABLE_END, NULL);
        return;
    case TABLE_SUB_S_TABLE_LIST: {
        CArray<tagRoomTableEntry, const tagRoomTableEntry&> entries;
        if (!ReadTableList(entries, pData, wDataSize))
            return;
        WORD wCount = WORD(entries.GetSize());
        NotifyKey(RN_TABLE_LIST, &wCount);
        for (INT_PTR i = 0; i < entries.GetSize(); ++i) {
            tagRoomTableEntry entry = entries[i];
            NotifyKey(RN_TABLE_ENTRY, &entry);
        }
        return;
    }
    case TABLE_SUB_S_TABLE_CHANGE: {
        tagRoomTableChange change;
        memset(&change, 0, sizeof(change));
        if (!UnpackRecord(change, pData, wDataSize))
            return;
        StoreTableRecord(change.Table);
        NotifyKey(RN_TABLE_RECORD, &change.Table);
        return;
    }
    case TABLE_SUB_S_GROUP_STATE: {
        tagRoomGroupMessage message;
        if (!UnpackRecord(message, pData, wDataSize))
            return;
        if (message.wGroupIndex >= sizeof(m_RoomInfo.Groups) / sizeof(m_RoomInfo.Groups[0]))
            return;
        m_RoomInfo.Groups[message.wGroupIndex].dwValue = message.dwValue;
        m_RoomInfo.Groups[message.wGroupIndex].cbState = message.cbState;
        m_wCurrentGroup = message.wGroupIndex;
        tagRoomGroupState state;
        FillGroupState(state);
        NotifyKey(RN_GROUP_STATE, &state);
        return;
    }
    case TABLE_SUB_S_MATCH_NOTICE: NotifyKey(RN_MATCH_NOTICE, NULL); return;
    case TABLE_SUB_S_ATTRIBUTE_TYPES: ReadAttributeTypes(m_AttributeTypes, pData, wDataSize); return;
    default: return;
    }
}

// ---- server messages of the value main ---------------------------------------------------

void CRoomDataCenter::OnValueMessage(WORD wSubCmdID, const void* pData, WORD wDataSize)
{
    if (wSubCmdID != VALUE_SUB_S_USER_VALUE)
        return;
    tagRoomIdValue value;
    if (!UnpackRecord(value, pData, wDataSize))
        return;
    CUserItem* pUserItem = m_UserManager.SearchUserItem(value.dwUserID);
    if (m_lGameState >= GAME_STATE_SWITCHED && IsAtOwnTable(pUserItem)) {
        tagTwoValues values = {value.dwUserID, value.dwValue};
        SendChannelData(6, 1, &values, sizeof(values));
    }
}
