// Seat clicks of the table grid and the table commands: sit down, look on,
// the seat checks, quick join, invitations, create table, the sit rule and
// the match sign-up.
#include "RoomViewItem.h"

#include <stdio.h>

#include "HallMsgBox.h"

namespace
{

const char kWaitForClient[] = "正在等待游戏初始化完毕,请稍候！";

// The rate of a count among all games in hundredths of a percent; 0 without
// games.
WORD GameRate(DWORD dwCount, DWORD dwTotal)
{
    return dwTotal == 0 ? 0 : WORD(ULONGLONG(dwCount) * 10000 / dwTotal);
}

bool IsClientBusy(LONG lGameState)
{
    return lGameState >= 1 && lGameState <= 5;
}

} // namespace

void CRoomViewItem::OnLButtonHitTable(WORD wTableID, WORD wChairID, int nFlag)
{
    const bool bValid = wTableID != INVALID_TABLE && wChairID != INVALID_CHAIR;
    if (m_dwRoomState == ROOM_STATE_FAILED) {
        if (bValid &&
            ShowMessageBox("与游戏服务器的连接已经中断，是否退出当前游戏房间？", MB_ICONQUESTION | MB_YESNO) == IDYES)
            CloseRoom();
        return;
    }
    if (m_dwRoomState != ROOM_STATE_READY || m_pDataCenter == NULL)
        return;
    const bool bAutoSeat = m_pGameRoom->IsAutoSeat() != FALSE;
    if (wTableID == m_wPendingTable && wChairID == m_wPendingChair && !bAutoSeat)
        return;
    CUserItem* pMe = GetMeUserItem();
    if (!bValid || pMe == NULL)
        return;
    const bool bAdmin = pMe->GetUserData()->dwRank == ROOM_RANK_ADMIN;
    if (m_dwTablePresentation == TABLE_SHOW_ANTI_CHEAT && !bAdmin) {
        if (m_TableFrame.GetCycleMatchState() < 2) {
            if (IsMatchRoom() && (m_dwRoomRule & ROOM_RULE_MATCH_SIGN) != 0)
                RequestJoinMatch();
            else
                m_pDataCenter->SendMatchRule();
            m_TableFrame.SetCycleMatchSeat(wTableID, wChairID);
        } else
            ShowMessageBox("您已经坐在桌子上，请勿重复点击！", MB_ICONINFORMATION);
        return;
    }
    if (m_dwTablePresentation == TABLE_SHOW_HIDDEN && !bAdmin) {
        m_pDataCenter->SendSitDown(0, 0, "");
        return;
    }
    CUserItem* pSeated = m_TableFrame.GetUserItem(wTableID, wChairID);
    if (pSeated == NULL || bAutoSeat) {
        SitDown(wTableID, wChairID);
        return;
    }
    if (pSeated != pMe) {
        LookOn(wTableID, wChairID);
        return;
    }
    if (pMe->GetStatus() >= USER_STATUS_PLAY || m_wPendingTable != INVALID_TABLE)
        return;
    HWND hGame = m_pDataCenter->GetGameWnd();
    if (hGame != NULL && ::IsWindow(hGame)) {
        ::BringWindowToTop(hGame);
        ::ShowWindow(hGame, SW_SHOW);
        ::SetForegroundWindow(hGame);
    }
}

void CRoomViewItem::OnRButtonHitTable(WORD wTableID, WORD wChairID, int nFlag)
{
    if (wTableID >= m_TableFrame.GetTableCount() || wChairID >= m_TableFrame.GetChairCount())
        return;
    CUserItem* pUserItem = m_TableFrame.GetUserItem(wTableID, wChairID);
    if (pUserItem == NULL)
        return;
    CPoint point;
    GetCursorPos(&point);
    ShowUserMenu(pUserItem, point.x, point.y, true);
}

// The own user leaves the seat shown for a request that did not hold.
void CRoomViewItem::LeavePendingSeat()
{
    CUserItem* pMe = GetMeUserItem();
    if (pMe == NULL || m_wPendingTable >= m_TableFrame.GetTableCount() ||
        m_wPendingChair >= m_TableFrame.GetChairCount())
        return;
    if (m_TableFrame.GetUserItem(m_wPendingTable, m_wPendingChair) == pMe)
        m_TableFrame.SetUserItem(m_wPendingTable, m_wPendingChair, NULL);
}

bool CRoomViewItem::AskTablePassword(WORD wTableID, CString& strPassword)
{
    strPassword.Empty();
    if (!m_TableFrame.GetLockFlag(wTableID))
        return true;
    CUserItem* pMe = GetMeUserItem();
    if (pMe != NULL && pMe->GetUserData()->wTableID == wTableID) {
        strPassword = s_strTablePassword;
        return true;
    }
    if (s_pDialogs == NULL || !s_pDialogs->RunTablePassDlg(this, strPassword)) {
        m_wQuickJoinPos = 0xFFFF;
        return false;
    }
    s_strTablePassword = strPassword;
    return true;
}

bool CRoomViewItem::SitDown(WORD wTableID, WORD wChairID)
{
    if (!CheckSeat(wTableID, wChairID, false, true))
        return false;
    LeavePendingSeat();
    CString strPassword;
    if (!AskTablePassword(wTableID, strPassword)) {
        m_wPendingTable = INVALID_TABLE;
        m_wPendingChair = INVALID_CHAIR;
        return false;
    }
    CUserItem* pMe = GetMeUserItem();
    m_wPendingTable = wTableID;
    m_wPendingChair = wChairID;
    m_wQuickJoinPos = 0xFFFF;
    m_dwRoundsToFinish = 0;
    m_TableFrame.SetIdentifyTable(wTableID);
    bool bShown = false;
    if (m_TableFrame.GetUserItem(wTableID, wChairID) == NULL) {
        m_TableFrame.SetUserItem(wTableID, wChairID, pMe);
        bShown = true;
    }
    if (m_pDataCenter->SendSitDown(wTableID, wChairID, strPassword))
        return true;
    // Nothing went out: neither the seat nor the request stays.
    if (bShown && m_TableFrame.GetUserItem(wTableID, wChairID) == pMe)
        m_TableFrame.SetUserItem(wTableID, wChairID, NULL);
    m_wPendingTable = INVALID_TABLE;
    m_wPendingChair = INVALID_CHAIR;
    return false;
}

bool CRoomViewItem::LookOn(WORD wTableID, WORD wChairID)
{
    if (m_dwTablePresentation == TABLE_SHOW_HIDDEN)
        return false;
    if (!CheckSeat(wTableID, wChairID, true, true))
        return false;
    LeavePendingSeat();
    CString strPassword;
    if (!AskTablePassword(wTableID, strPassword)) {
        m_wPendingTable = INVALID_TABLE;
        m_wPendingChair = INVALID_CHAIR;
        return false;
    }
    m_wPendingTable = wTableID;
    m_wPendingChair = wChairID;
    m_wQuickJoinPos = 0xFFFF;
    m_TableFrame.SetIdentifyTable(wTableID);
    if (m_pDataCenter->SendLookOn(wTableID, wChairID, strPassword))
        return true;
    m_wPendingTable = INVALID_TABLE;
    m_wPendingChair = INVALID_CHAIR;
    return false;
}

bool CRoomViewItem::CheckSeat(WORD wTableID, WORD wChairID, bool bLookOn, bool bShowMessage)
{
    if (wTableID >= m_TableFrame.GetTableCount() || wChairID >= m_TableFrame.GetChairCount() ||
        m_dwRoomState != ROOM_STATE_READY || m_pDataCenter == NULL)
        return false;
    CUserItem* pMe = GetMeUserItem();
    if (pMe == NULL)
        return false;
    if (IsClientBusy(m_pDataCenter->GetGameState()) && bShowMessage) {
        ShowOkBox(kWaitForClient, MB_ICONINFORMATION);
        return false;
    }
    CUserItem* pSeated = m_TableFrame.GetUserItem(wTableID, wChairID);
    if (bLookOn ? pSeated == NULL : (pSeated != NULL && !m_pGameRoom->IsAutoSeat()))
        return false;
    if (pMe->GetStatus() == USER_STATUS_PLAY) {
        if (bShowMessage)
            ShowMessageBox("你正在游戏中，暂时不能换位置，请先结束游戏！", MB_ICONINFORMATION);
        return false;
    }
    if (m_bKicked) {
        ShowMessageBox("你已被踢出房间，不能坐下，请退出房间后再重新进入！", MB_ICONINFORMATION);
        return false;
    }
    if (bLookOn)
        return m_TableFrame.GetPlayFlag(wTableID) || pMe->GetUserData()->dwLookOnWord != 0;

    const tagUserData* pOwn = pMe->GetUserData();
    if (pOwn->wTableID < m_TableFrame.GetTableCount() && m_dwRoundsToFinish != 0) {
        ITableView* pOwnTable = m_TableFrame.GetTableViewItem(pOwn->wTableID);
        BYTE cbRounds = pOwnTable != NULL ? pOwnTable->GetInnings() : 0;
        if (cbRounds > 1 && cbRounds > m_dwRoundsToFinish &&
            m_TableFrame.GetNullChairCount(pOwn->wTableID, NULL) == 0) {
            if (bShowMessage) {
                CString strText;
                strText.Format("您未完成%d局，暂时不能换位置，请先结束游戏！", int(cbRounds));
                ShowMessageBox(strText, MB_ICONINFORMATION);
            }
            return false;
        }
    }

    const CGameOption* pOption = m_pGameOption;
    for (WORD wChair = 0; wChair < m_TableFrame.GetChairCount(); ++wChair) {
        CUserItem* pUserItem = m_TableFrame.GetUserItem(wTableID, wChair);
        if (pUserItem == NULL || pUserItem == pMe)
            continue;
        const tagUserData* pData = pUserItem->GetUserData();
        char szNick[33];
        memcpy(szNick, pData->szNickName, 32);
        szNick[32] = '\0';
        CString strText;
        if (pOption != NULL && pOption->m_bLimitDelay && pData->wKey102 > pOption->m_wNetDelay)
            strText.Format("[ %s ] 的网络延时太高了，与你的设置不符！", szNick);
        else if (pData->cbRelation == 2) {
            CString strQuestion;
            strQuestion.Format("此桌有你讨厌的玩家 [ %s ] ,是否要与该玩家进行游戏？", szNick);
            if (ShowMessageBox(strQuestion, MB_ICONQUESTION | MB_YESNO) == IDNO)
                return false;
        }
        if (strText.IsEmpty() && pOption != NULL) {
            const DWORD dwTotal = pUserItem->GetTotalGames();
            const WORD wWinRate = GameRate(pData->dwScore[1], dwTotal);
            const WORD wFleeRate = GameRate(pData->dwScore[4], dwTotal);
            const LONG lScore = LONG(pData->dwScore[0]);
            if (pOption->m_bLimitWin && wWinRate < pOption->m_wWinRate)
                strText.Format("[ %s ] 的胜率太低了，与你的设置不符！", szNick);
            else if (pOption->m_bLimitFlee && wFleeRate != 0 && wFleeRate > pOption->m_wFleeRate)
                strText.Format("[ %s ] 的逃跑率太高了，与你的设置不符！", szNick);
            else if (pOption->m_bLimitScore && lScore > pOption->m_lMaxScore)
                strText.Format("[ %s ] 的积分太高了，与你的设置不符！", szNick);
            else if (pOption->m_bLimitScore && lScore < pOption->m_lLessScore)
                strText.Format("[ %s ] 的积分太低了，与你的设置不符！", szNick);
        }
        if (!strText.IsEmpty()) {
            if (bShowMessage)
                ShowMessageBox(strText.Left(127), MB_ICONINFORMATION);
            return false;
        }
    }
    return true;
}

bool CRoomViewItem::SearchQuickJoin(WORD wStart, bool bOne, bool bTwo, bool bEmpty, bool bAny, bool bSkipLocked,
                                    WORD& wFoundTable, WORD& wFoundChair)
{
    const WORD wTableCount = m_TableFrame.GetTableCount();
    const WORD wChairCount = m_TableFrame.GetChairCount();
    CUserItem* pMe = GetMeUserItem();
    const WORD wOwnTable = pMe != NULL ? pMe->GetUserData()->wTableID : INVALID_TABLE;
    for (WORD i = 0; i < wTableCount; ++i) {
        WORD wTable = WORD((DWORD(wStart) + i) % wTableCount);
        if (wTable == wOwnTable || m_TableFrame.GetPlayFlag(wTable))
            continue;
        if (bSkipLocked && m_TableFrame.GetLockFlag(wTable))
            continue;
        WORD wLastEmpty = INVALID_CHAIR;
        WORD wEmpty = m_TableFrame.GetNullChairCount(wTable, &wLastEmpty);
        if (wEmpty == 0 || wLastEmpty >= wChairCount || !CheckSeat(wTable, wLastEmpty, false, false))
            continue;
        if ((bAny && wEmpty < wChairCount) || (bOne && wEmpty == 1) || (bTwo && wEmpty == 2) ||
            (bEmpty && wEmpty == wChairCount)) {
            wFoundTable = wTable;
            wFoundChair = wLastEmpty;
            return true;
        }
    }
    return false;
}

void CRoomViewItem::QuickJoinTable()
{
    if (m_dwRoomState != ROOM_STATE_READY || m_pDataCenter == NULL || m_TableFrame.GetTableCount() == 0)
        return;
    if (IsClientBusy(m_pDataCenter->GetGameState())) {
        ShowOkBox(kWaitForClient, MB_ICONINFORMATION);
        return;
    }
    CUserItem* pMe = GetMeUserItem();
    if (pMe != NULL && pMe->GetStatus() == USER_STATUS_PLAY) {
        ShowMessageBox("你正在游戏中，不能换位置，请先结束游戏！", MB_ICONINFORMATION);
        return;
    }
    const WORD wStart = WORD(m_wQuickJoinPos + 1);
    WORD wTable = INVALID_TABLE, wChair = INVALID_CHAIR;
    bool bFound = SearchQuickJoin(wStart, true, m_TableFrame.GetChairCount() != 2, false, true, true, wTable, wChair);
    if (!bFound)
        bFound = SearchQuickJoin(wStart, true, true, true, true, true, wTable, wChair);
    m_wQuickJoinPos = bFound ? wTable : 0xFFFF;
    if (!bFound) {
        ShowMessageBox("找不到符合条件的游戏桌！", MB_ICONINFORMATION);
        return;
    }
    m_TableFrame.SetIdentifyTable(wTable);
    m_TableFrame.FlashChair(wTable, wChair);
    // The next quick join starts after this table; a manual seat resets it.
    if (SitDown(wTable, wChair))
        m_wQuickJoinPos = wTable;
}

void CRoomViewItem::AcceptInvite(const tagRoomInviteNotice* pInvite)
{
    if (m_pGameOption != NULL && m_pGameOption->m_bLimitInvite)
        return;
    // The table number comes from the server.
    const WORD wTable = LOWORD(pInvite->dwTableID);
    if (wTable >= m_TableFrame.GetTableCount() || m_TableFrame.GetPlayFlag(wTable))
        return;
    CUserItem* pInviter = SearchUser(pInvite->dwUserID);
    if (pInviter == NULL || !pInviter->IsSeated() || pInviter->GetUserData()->cbRelation == 2)
        return;
    m_TableFrame.SetIdentifyTable(wTable);
    char szNick[33];
    memcpy(szNick, pInviter->GetUserData()->szNickName, 32);
    szNick[32] = '\0';
    CString strQuestion;
    strQuestion.Format("[ %s ] 邀请你加入第 [ %ld ] 游戏桌进行游戏，是否同意？", szNick, long(wTable) + 1);
    MsgBoxParams params;
    params.useCaptions = 1;
    strcpy(params.captions[MSGBOX_YES], "是");
    strcpy(params.captions[MSGBOX_NO], "否");
    if (ShowMessageBox(strQuestion, MB_ICONQUESTION | MB_YESNO, &params) != IDYES)
        return;
    WORD wLastEmpty = INVALID_CHAIR;
    if (m_TableFrame.GetNullChairCount(wTable, &wLastEmpty) == 0 || wLastEmpty >= m_TableFrame.GetChairCount()) {
        ShowMessageBox("此游戏桌已经没有空位置了!", MB_ICONINFORMATION);
        return;
    }
    SitDown(wTable, wLastEmpty);
}

bool CRoomViewItem::RequestCreateTable(const tagCreateTableRequest& request)
{
    CUserItem* pMe = GetMeUserItem();
    if (pMe != NULL && pMe->GetStatus() == USER_STATUS_PLAY) {
        ShowMessageBox("你正在游戏中，不能换位置，请先结束游戏！", MB_ICONINFORMATION);
        return false;
    }
    return m_pDataCenter != NULL && m_pDataCenter->SendCreateTable(request);
}

bool CRoomViewItem::SendUserRule()
{
    if (m_pDataCenter == NULL)
        return false;
    tagUserRule rule;
    memset(&rule, 0, sizeof(rule));
    if (m_pRoomOption != NULL) {
        rule.cbSwitch[0] = m_pRoomOption->m_cbPassFlag;
        strncpy(rule.szPassword, m_pRoomOption->m_strTablePass, sizeof(rule.szPassword) - 1);
    }
    if (m_pGameOption != NULL) {
        rule.cbSwitch[1] = m_pGameOption->m_bLimitWin;
        rule.cbSwitch[2] = m_pGameOption->m_bLimitFlee;
        rule.cbSwitch[3] = m_pGameOption->m_bLimitScore;
        rule.wWinRate = m_pGameOption->m_wWinRate;
        rule.wFleeRate = m_pGameOption->m_wFleeRate;
        rule.lMaxScore = m_pGameOption->m_lMaxScore;
        rule.lMinScore = m_pGameOption->m_lLessScore;
    }
    return m_pDataCenter->SendUserRule(rule);
}

bool CRoomViewItem::RequestJoinMatch()
{
    return m_pDataCenter != NULL && m_pDataCenter->SendJoinMatch();
}

bool CRoomViewItem::RequestQuitMatch()
{
    return m_pDataCenter != NULL && m_pDataCenter->SendQuitMatch();
}
