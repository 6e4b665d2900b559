// The game relay of the room data centre: the game client's requests onto
// the room connection, and the room server's game traffic back to the
// client. The translations themselves are in GameRelayTranslator.cpp.
#include "RoomDataCenter.h"

#include <string.h>

#include "GameRelayTranslator.h"
#include "WordFilter.h"

namespace
{

bool FilterChatText(CString& strText)
{
    if (g_WordFilter.FilterText(strText))
        return true;
    strText = g_WordFilter.GetResultText();
    return false;
}

} // namespace

bool CRoomDataCenter::RelayGameRequest(WORD wKind, WORD wGameSub, WORD wDataSize, const void* pData)
{
    if (!IsConnected())
        return false;
    tagGameRequestContext context;
    context.dwRoomRule = m_RoomInfo.dwRoomRule;
    CUserItem* pMe = m_UserManager.GetMeUserItem();
    context.bHasOwnUser = pMe != NULL;
    context.dwOwnRank = pMe != NULL ? pMe->GetUserData()->dwRank : 0;
    tagGameRequestPlan plan;
    if (!TranslateGameRequest(context, wKind, wGameSub, pData, wDataSize, plan))
        return false;
    switch (plan.nAction) {
    case GAME_ACTION_NONE: return true;
    case GAME_ACTION_SPEAKER: return SendSpeakerText(plan.strText);
    case GAME_ACTION_KICK: return SendKickUser(plan.dwValue);
    case GAME_ACTION_SPEED_TEST: return SendSpeedTest(plan.dwValue, 0);
    case GAME_ACTION_BANK_PASSWORD: return SendBankPassword(plan.strText, false);
    case GAME_ACTION_BANK_WITHDRAW: return SendBankWithdraw(plan.strText, plan.dwValue, false);
    case GAME_ACTION_BANK_DEPOSIT: return SendBankDeposit(plan.dwValue, false);
    }
    for (const tagRoomFrame& frame : plan.Frames) {
        const void* pBody = frame.Body.empty() ? NULL : frame.Body.data();
        if (!SendRaw(NextSerialNumber(), frame.wMainCmdID, frame.wSubCmdID, pBody, WORD(frame.Body.size())))
            return false;
    }
    return true;
}

bool CRoomDataCenter::OnGameTraffic(WORD wMainCmdID, WORD wSubCmdID, const void* pData, WORD wDataSize)
{
    // Nothing goes to a client that has not said hello.
    if (m_lGameState < GAME_STATE_ATTACHED)
        return true;
    tagGameTrafficContext context;
    context.dwOwnUserID = GetOwnUserID();
    CUserItem* pMe = m_UserManager.GetMeUserItem();
    const tagRoomTableRecord* pTable = pMe != NULL ? FindTableRecord(pMe->GetUserData()->wTableID) : NULL;
    if (pTable != NULL) {
        context.bHasOwnTable = true;
        context.cbTableValue = pTable->cbValue;
        context.cbTableWord = BYTE(pTable->wValue & 0xFF);
    }
    context.pfnFilterText = FilterChatText;
    tagGameTrafficPlan plan;
    if (!TranslateGameTraffic(context, wMainCmdID, wSubCmdID, pData, wDataSize, plan))
        return false;
    if (plan.bGameStarted)
        m_lGameState = GAME_STATE_SWITCHED;
    if (plan.nNotice == GAME_NOTICE_KICKED) {
        tagRoomIdValue kicked = {plan.dwNotice[0], plan.dwNotice[1]};
        NotifyKey(RN_GAME_KICKED, &kicked);
    } else if (plan.nNotice == GAME_NOTICE_ROUNDS) {
        NotifyValue(RN_GAME_ROUNDS, plan.dwNotice[0]);
    }
    BYTE cbFrame[GAME_CHANNEL_MAX_DATA];
    memcpy(cbFrame, &plan.Head, sizeof(plan.Head));
    if (!plan.Body.empty())
        memcpy(cbFrame + sizeof(plan.Head), plan.Body.data(), plan.Body.size());
    return SendChannelData(GAME_MAIN_RELAY, GAME_SUB_TRAFFIC, cbFrame, WORD(sizeof(plan.Head) + plan.Body.size()));
}
