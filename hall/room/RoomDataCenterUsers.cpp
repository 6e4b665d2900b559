// The users of a room: entering, seats and status, scores, leaving, texts
// and attribute lists, and the start of the game client when the own user
// takes a seat.
#include <stdlib.h>
#include <string.h>

#include "GlobalOption.h"
#include "GlobalUnits.h"
#include "RoomDataCenter.h"
#include "RoomMessageReader.h"

namespace
{

const char kHiddenNickName[] = "游戏玩家";

template <size_t N, size_t M> void CopyField(char (&szTo)[N], const char (&szFrom)[M])
{
    CopyTextField(szTo, N, szFrom, GetFieldLength(szFrom, M));
}

// {u32 user id; u16 0; u8 status; u8 0} for the game client.
struct tagClientUserStatus
{
    DWORD dwUserID;
    WORD wReserved;
    BYTE cbStatus;
    BYTE cbReserved;
};
static_assert(sizeof(tagClientUserStatus) == 8, "client status record is 8 bytes");

} // namespace

bool CRoomDataCenter::HidesNickNames(DWORD dwUserID) const
{
    CUserItem* pMe = m_UserManager.GetMeUserItem();
    return HasRule(ROOM_RULE_ANONYMOUS) && pMe != NULL && pMe->GetUserID() != dwUserID &&
           pMe->GetUserData()->dwRank != ROOM_RANK_ADMIN;
}

CUserItem* CRoomDataCenter::MakeEnteringUser(DWORD dwUserID, LPCSTR pszNickName, WORD wRank)
{
    tagUserData data;
    memset(&data, 0, sizeof(data));
    data.dwUserID = dwUserID;
    data.wTableID = INVALID_TABLE;
    data.wChairID = INVALID_CHAIR;
    data.wFaceID = 0xFFFF;
    data.dwRank = wRank;
    data.cbUserStatus = USER_STATUS_FREE;
    CopyTextField(data.szNickName, HidesNickNames(dwUserID) ? kHiddenNickName : pszNickName);
    if (g_GlobalOption.IsFriendUser(dwUserID))
        data.cbRelation = 1;
    else if (g_GlobalOption.IsDetestUser(dwUserID))
        data.cbRelation = 2;
    CUserItem* pUserItem = m_UserManager.ActiveUserItem(data);
    if (pUserItem != NULL && dwUserID == g_GlobalUnits.GetGlobalUserData()->dwUserID)
        m_UserManager.SetMeUserItem(pUserItem);
    return pUserItem;
}

void CRoomDataCenter::OnUserEnter(const void* pData, WORD wDataSize)
{
    tagRoomUserEnter message;
    memset(&message, 0, sizeof(message));
    if (!UnpackRecord(message, pData, wDataSize))
        return;
    CUserItem* pUserItem = m_UserManager.SearchUserItem(message.dwUserID);
    if (pUserItem == NULL)
        pUserItem = MakeEnteringUser(message.dwUserID, message.szNickName, message.wRank);
    if (pUserItem == NULL)
        return;
    if (message.dwUserID == g_GlobalUnits.GetGlobalUserData()->dwUserID)
        m_UserManager.SetMeUserItem(pUserItem);
    NotifyKey(RN_USER_ENTER, pUserItem);
}

void CRoomDataCenter::LaunchOnSeat(BYTE cbOldStatus, BYTE cbNewStatus)
{
    // Only the status proper counts: the flag bit beside it is no seat.
    if ((cbOldStatus & USER_STATUS_MASK) > USER_STATUS_FREE || (cbNewStatus & USER_STATUS_MASK) < USER_STATUS_SIT)
        return;
    if (m_lGameState >= 2 && m_lGameState <= GAME_STATE_HELLO)
        return;
    PostGameNotify(RN_GAME_CLIENT.wSubCmdID, 0);
    LaunchGameClient();
}

void CRoomDataCenter::ApplyUserStatus(CUserItem* pUserItem, WORD wTableID, WORD wChairID, BYTE cbStatus, bool bNotify)
{
    tagUserData* pData = pUserItem->GetUserData();
    const DWORD dwUserID = pData->dwUserID;
    const WORD wOldTable = pData->wTableID;
    const WORD wOldChair = pData->wChairID;
    const BYTE cbOldStatus = BYTE(pData->cbUserStatus & USER_STATUS_MASK);
    const BYTE cbNewStatus = BYTE(cbStatus & USER_STATUS_MASK);
    CUserItem* pMe = m_UserManager.GetMeUserItem();
    const bool bOwn = pUserItem == pMe;
    const bool bWasAtOwnTable = IsAtOwnTable(wOldTable);

    if (bNotify) {
        tagRoomUserStatus notice = {dwUserID, wTableID, wChairID, cbStatus, 0, 0};
        NotifyKey(RN_USER_STATUS, &notice);
    }
    pData->wTableID = wTableID;
    pData->wChairID = wChairID;
    pData->cbUserStatus = cbStatus;

    if (bOwn && (cbOldStatus <= USER_STATUS_FREE) && cbNewStatus >= USER_STATUS_SIT) {
        LaunchOnSeat(cbOldStatus, cbStatus);
        return;
    }
    if (bOwn && cbNewStatus == USER_STATUS_FREE && cbOldStatus >= USER_STATUS_SIT && pData->dwRank != ROOM_RANK_ADMIN) {
        if (HasRule(ROOM_RULE_MATCH)) {
            m_UserManager.ClearAll(true);
        } else if ((HasRule(ROOM_RULE_ANONYMOUS) || IsMatchRoom()) && wOldTable != INVALID_TABLE) {
            for (CUserItem* pOther : m_UserManager.GetUserItems()) {
                if (pOther != pMe && pOther->GetUserData()->wTableID == wOldTable) {
                    pOther->GetUserData()->wTableID = INVALID_TABLE;
                    pOther->GetUserData()->wChairID = INVALID_CHAIR;
                }
            }
        }
    }
    if (wTableID != INVALID_TABLE && (wTableID != wOldTable || wChairID != wOldChair) && !bOwn) {
        bool bSend = false;
        if (IsMatchRoom()) {
            const tagUserSecondExtension* pExtension = pUserItem->GetSecondExtension();
            bSend = pMe != NULL && pExtension->dwTeamMember != 0 &&
                    pExtension->dwTeamNumber == pMe->GetSecondExtension()->dwTeamNumber;
        } else {
            bSend = IsAtOwnTable(wTableID);
        }
        if (bSend)
            SendUserToGameClient(pUserItem);
    }
    if (bOwn || (m_lGameState >= GAME_STATE_ATTACHED && (bWasAtOwnTable || IsAtOwnTable(wTableID)))) {
        tagClientUserStatus status = {dwUserID, 0, cbStatus, 0};
        SendChannelData(3, 2, &status, sizeof(status));
    }
}

void CRoomDataCenter::OnUserStatus(const void* pData, WORD wDataSize)
{
    tagRoomUserStatusMessage message;
    if (!UnpackRecord(message, pData, wDataSize))
        return;
    CUserItem* pUserItem = m_UserManager.SearchUserItem(message.dwUserID);
    if (pUserItem == NULL) {
        if (!HasRule(ROOM_RULE_MATCH))
            return;
        pUserItem = MakeEnteringUser(message.dwUserID, kHiddenNickName, 0);
        if (pUserItem == NULL)
            return;
        CopyTextField(pUserItem->GetUserData()->szNickName, kHiddenNickName);
        NotifyKey(RN_USER_ENTER, pUserItem);
    }
    ApplyUserStatus(pUserItem, message.wTableID, message.wChairID, MapUserStatus(message.dwStatus), true);
}

void CRoomDataCenter::OnUserScore(const void* pData, WORD wDataSize)
{
    tagRoomUserScore score;
    if (!UnpackRecord(score, pData, wDataSize))
        return;
    CUserItem* pUserItem = m_UserManager.SearchUserItem(score.dwUserID);
    if (pUserItem == NULL)
        return;
    memcpy(pUserItem->GetUserData()->dwScore, score.dwScore, sizeof(score.dwScore));
    NotifyKey(RN_USER_SCORE, &score);
    if (IsAtOwnTable(pUserItem))
        SendChannelData(3, 3, &score, sizeof(score));
}

void CRoomDataCenter::OnUserLeave(const void* pData, WORD wDataSize)
{
    DWORD dwUserID = 0;
    if (!UnpackRecord(dwUserID, pData, wDataSize))
        return;
    CUserItem* pUserItem = m_UserManager.SearchUserItem(dwUserID);
    if (pUserItem == NULL)
        return;
    const tagUserData* pUser = pUserItem->GetUserData();
    tagRoomUserStatus notice = {dwUserID, pUser->wTableID, pUser->wChairID, USER_STATUS_GONE, 0, 0};
    NotifyKey(RN_USER_STATUS, &notice);
    bool bAtOwnTable = IsAtOwnTable(pUserItem);
    m_UserManager.DeleteUserItem(dwUserID);
    if (bAtOwnTable) {
        tagClientUserStatus status = {dwUserID, 0, 0, 0};
        SendChannelData(3, 2, &status, sizeof(status));
    }
}

void CRoomDataCenter::ApplyUserText(CUserItem* pUserItem, WORD wKey, LPCSTR pszText)
{
    tagUserData* p = pUserItem->GetUserData();
    DWORD dwNumber = DWORD(strtoul(pszText, NULL, 10));
    switch (wKey) {
    case 2: CopyTextField(p->szName, pszText); break;
    case 3: p->dwRank = dwNumber; break;
    case 4: CopyTextField(p->szNickName, HidesNickNames(p->dwUserID) ? kHiddenNickName : pszText); break;
    case 5: p->cbKey5 = BYTE(dwNumber); break;
    case 6: p->wFaceID = WORD(dwNumber); break;
    case 7: CopyTextField(p->szKey7, pszText); break;
    case 8: CopyTextField(p->szKey8, pszText); break;
    case 9: CopyTextField(p->szKey9, pszText); break;
    case 10: CopyTextField(p->szKey10, pszText); break;
    case 11: CopyTextField(p->szKey11, pszText); break;
    case 12: CopyTextField(p->szKey12, pszText); break;
    case 13: CopyTextField(p->szKey13, pszText); break;
    case 14: p->dwKey14 = dwNumber; break;
    case 15: CopyTextField(p->szKey15, pszText); break;
    case 16: p->dwKey16 = dwNumber; break;
    case 17: p->dwKey17 = dwNumber; break;
    case 18: p->dwKey18 = dwNumber; break;
    case 19: p->cbKey19 = BYTE(dwNumber); break;
    default: break;
    }
}

void CRoomDataCenter::OnUserTexts(const void* pData, WORD wDataSize)
{
    tagRoomUserTexts texts;
    if (!UnpackRecord(texts, pData, wDataSize))
        return;
    CUserItem* pUserItem = m_UserManager.SearchUserItem(texts.dwUserID);
    if (pUserItem == NULL)
        return;
    for (INT_PTR i = 0; i < texts.Texts.GetSize(); ++i)
        ApplyUserText(pUserItem, texts.Texts[i].wKey, texts.Texts[i].szText);
    NotifyValue(RN_USER_REFRESH, texts.dwUserID);
    if (IsAtOwnTable(pUserItem) && IsGameClientStarted())
        SendUserToGameClient(pUserItem);
}

void CRoomDataCenter::ApplyAttributes(CUserItem* pUserItem, const tagUserAttributes& v, tagUserDescription& description)
{
    tagUserData* p = pUserItem->GetUserData();
    tagUserFirstExtension* pFirst = pUserItem->GetFirstExtension();
    tagUserSecondExtension* pSecond = pUserItem->GetSecondExtension();
    tagUserExtra* pExtra = pUserItem->GetExtra();
    description.dwUserID = p->dwUserID;
    // The nicknames of others stay hidden in anonymous rooms.
    if (v.Has(1))
        CopyField(p->szName, v.szName);
    if (v.Has(2)) {
        p->dwRank = v.wRank;
        description.AddNumber(3, LONG(p->dwRank));
    }
    if (v.Has(3)) {
        if (HidesNickNames(p->dwUserID))
            CopyTextField(p->szNickName, kHiddenNickName);
        else
            CopyField(p->szNickName, v.szNickName);
        description.Add(4, p->szNickName);
    }
    if (v.Has(4)) {
        p->cbKey5 = v.cbKey5;
        description.AddNumber(5, p->cbKey5);
    }
    if (v.Has(5)) {
        p->wFaceID = v.wFace;
        description.AddNumber(6, p->wFaceID);
    }
    struct tagTextBit
    {
        UINT nBit;
        WORD wKey;
        char* pszField;
        size_t nWidth;
        const char* pszValue;
        size_t nValueWidth;
    };
    const tagTextBit texts[] = {
        {6, 7, p->szKey7, sizeof(p->szKey7), v.szKey7, sizeof(v.szKey7)},
        {7, 8, p->szKey8, sizeof(p->szKey8), v.szKey8, sizeof(v.szKey8)},
        {8, 9, p->szKey9, sizeof(p->szKey9), v.szKey9, sizeof(v.szKey9)},
        {9, 10, p->szKey10, sizeof(p->szKey10), v.szKey10, sizeof(v.szKey10)},
        {10, 11, p->szKey11, sizeof(p->szKey11), v.szKey11, sizeof(v.szKey11)},
        {11, 12, p->szKey12, sizeof(p->szKey12), v.szKey12, sizeof(v.szKey12)},
        {12, 13, p->szKey13, sizeof(p->szKey13), v.szKey13, sizeof(v.szKey13)},
    };
    for (const tagTextBit& text : texts) {
        if (!v.Has(text.nBit))
            continue;
        CopyTextField(text.pszField, text.nWidth, text.pszValue, GetFieldLength(text.pszValue, text.nValueWidth));
        description.Add(text.wKey, CString(text.pszField, int(GetFieldLength(text.pszField, text.nWidth))));
    }
    if (v.Has(13)) {
        p->dwKey14 = v.dwKey14;
        description.AddNumber(14, LONG(p->dwKey14));
    }
    if (v.Has(14)) {
        CopyField(p->szKey15, v.szKey15);
        description.Add(15, p->szKey15);
    }
    struct tagNumberBit
    {
        UINT nBit;
        WORD wKey; // 0: none
        DWORD* pdwField;
        DWORD dwValue;
    };
    const tagNumberBit numbers[] = {
        {15, 16, &p->dwKey16, v.dwKey16},
        {16, 17, &p->dwKey17, v.dwKey17},
        {17, 18, &p->dwKey18, v.dwKey18},
        {19, 21, &p->dwKey21, v.dwKey21},
        {20, 104, &p->dwScore[0], v.dwScore[0]},
        {21, 105, &p->dwScore[1], v.dwScore[1]},
        {22, 106, &p->dwScore[2], v.dwScore[2]},
        {23, 107, &p->dwScore[3], v.dwScore[3]},
        {24, 108, &p->dwScore[4], v.dwScore[4]},
        {25, 109, &p->dwScore[5], v.dwScore[5]},
        {26, 112, &p->dwKey112, v.dwKey112},
        {27, 0, &m_dwSecondFlag, v.dwSecondFlag},
        {28, 113, &m_dwFirstFlag, v.dwFirstFlag},
        {29, 114, &pFirst->dwValue[1], v.dwFirstExtension[1]},
        {30, 111, &pFirst->dwValue[2], v.dwFirstExtension[2]},
        {31, 115, &pFirst->dwValue[3], v.dwFirstExtension[3]},
        {32, 0, &pFirst->dwValue[0], v.dwFirstExtension[0]},
        {35, 119, &pSecond->dwTeamMember, v.dwSecondExtension3},
        {36, 120, &pSecond->dwTeamNumber, v.dwTeamNumber},
        {37, 121, &pExtra->dwValue, v.dwExtra},
        {40, 0, &p->dwAfterSecondID, v.dwAfterSecondID},
        {41, 23, &p->dwSecondID, v.dwSecondID},
    };
    if (v.Has(18)) {
        p->cbKey19 = v.cbKey19;
        description.AddNumber(19, p->cbKey19);
    }
    for (const tagNumberBit& number : numbers) {
        if (!v.Has(number.nBit))
            continue;
        *number.pdwField = number.dwValue;
        if (number.wKey != 0)
            description.AddNumber(number.wKey, LONG(number.dwValue));
    }
    if (v.Has(33)) {
        pSecond->wValue2 = v.wSecondExtension[0];
        description.AddNumber(118, pSecond->wValue2);
    }
    if (v.Has(34))
        pSecond->wValue3 = v.wSecondExtension[1];
    if (v.Has(38)) {
        pExtra->cbValue = v.cbExtra;
        description.AddNumber(123, pExtra->cbValue);
    }
    if (v.Has(39)) {
        CopyField(pExtra->szText1, v.szExtraText1);
        CopyField(pExtra->szText2, v.szExtraText2);
        description.Add(122, pExtra->szText1);
        description.Add(124, pExtra->szText2);
    }
}

void CRoomDataCenter::OnUserList(WORD wSubCmdID, const void* pData, WORD wDataSize)
{
    const bool bWithSeats = wSubCmdID == ROOM_SUB_S_USER_LIST;
    CArray<tagRoomUserAttributes, const tagRoomUserAttributes&> users;
    if (!ReadUserList(users, bWithSeats, m_AttributeTypes, pData, wDataSize))
        return;
    for (INT_PTR i = 0; i < users.GetSize(); ++i) {
        const tagRoomUserAttributes& user = users[i];
        CUserItem* pUserItem = m_UserManager.SearchUserItem(user.dwUserID);
        if (pUserItem == NULL && bWithSeats)
            pUserItem = MakeEnteringUser(user.dwUserID, "", 0);
        if (pUserItem == NULL)
            continue;
        tagUserDescription description;
        ApplyAttributes(pUserItem, user.Values, description);
        if (bWithSeats)
            ApplyUserStatus(pUserItem, user.wTableID, user.wChairID, MapUserStatus(user.dwStatus), false);
        if (!IsAtOwnTable(pUserItem) || !IsGameClientStarted())
            continue;
        if (IsMatchRoom() && HasRule(ROOM_RULE_MATCH)) {
            description.AddNumber(100, pUserItem->GetUserData()->wTableID);
            description.AddNumber(101, pUserItem->GetUserData()->wChairID);
        }
        CSafeMemFile body(RECORD_GROW_BYTES);
        if (PackRecord(body, description))
            SendChannelData(3, 1, body.GetData(), WORD(body.GetDataSize()));
        bool bScore = false;
        for (UINT nBit = 20; nBit <= 25; ++nBit)
            bScore = bScore || user.Values.Has(nBit);
        if (bScore) {
            tagRoomUserScore score;
            score.dwUserID = user.dwUserID;
            memcpy(score.dwScore, pUserItem->GetUserData()->dwScore, sizeof(score.dwScore));
            SendChannelData(3, 3, &score, sizeof(score));
        }
    }
    NotifyKey(bWithSeats ? RN_USER_LIST : RN_USER_CHANGES, NULL);
}
