// The room view's side of the room notifications: logon with the room
// password, room information, users, chat, the game client's posts, and the
// room's message boxes.
#include "RoomViewItem.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <iterator>

#include "CustomFaceManagerWnd.h"
#include "GlobalOption.h"
#include "GlobalUnits.h"
#include "HallMsgBox.h"
#include "HallWindows.h"
#include "MD5Encrypt.h"
#include "RecordCodec.h"
#include "SkinMessageBox.h"

namespace
{

const COLORREF kRoomInfoStyle[6] = {0xF6E1C2, 0x4F3100, 255, 0x492900, 255, 255};
const COLORREF kFriendChatColour = 0x691B;
const COLORREF kActivityColour = 0x347E14;
const COLORREF kFriendLineColour = 0xFF;
const DWORD LOGON_NEEDS_PASSWORD = 38;
const DWORD LOGON_WRONG_PASSWORD = 39;
const char kBoxCaption[] = "提示消息";

struct tagCodeText
{
    DWORD dwCode;
    UINT nText;
};

const tagCodeText kLogonTexts[] = {
    {DWORD(-1), 11028}, {1, 11003},  {2, 11004},  {3, 11005},  {4, 11006},  {5, 11007},  {6, 11008},
    {9, 11010},         {10, 11011}, {11, 11012}, {16, 11017}, {17, 11018}, {18, 11019}, {19, 11020},
    {20, 11021},        {21, 11022}, {22, 11023}, {23, 11024}, {24, 11025}, {25, 11026}, {26, 11027},
    {27, 11029},        {28, 11030}, {29, 11031}, {30, 11049}, {31, 11048}, {32, 12003}, {33, 11051},
    {34, 12005},        {35, 11054}, {36, 11055}, {37, 11056}, {39, 11057}, {40, 11058},
};

// Codes whose text depends on the room type: types 1, 2, 3, then others.
struct tagTypedText
{
    DWORD dwCode;
    UINT nTexts[4];
};
const tagTypedText kTypedLogonTexts[] = {
    {7, {11033, 11034, 11035, 11009}},  {12, {11036, 11037, 11038, 11013}}, {13, {11039, 11040, 11041, 11014}},
    {14, {11042, 11043, 11044, 11015}}, {15, {11045, 11046, 11047, 11016}},
};

const UINT kSitTexts[] = {
    0,     12024, 12025, 12026, 12027, 0,     12022, 0,     12028, 12010, 12023, 12007, 12019, 12018,
    12008, 0,     0,     12020, 12017, 12016, 12015, 12012, 12011, 12037, 12038, 12014, 12013, 12039,
};

} // namespace

// ---------------------------------------------------------------- message boxes

int CRoomViewItem::ShowMessageBox(LPCSTR pszText, UINT nStyle, const MsgBoxParams* pParams)
{
    RestoreHallWindow();
    ++m_lBoxNesting;
    int nAnswer = HallMsgBox(GetSafeHwnd(), pszText, kBoxCaption, nStyle, pParams);
    if (GetSafeHwnd() != NULL)
        SetFocus();
    --m_lBoxNesting;
    if (m_lBoxNesting == 0 && (m_pDataCenter == NULL || !m_pDataCenter->IsConnected()))
        PostCloseView();
    return nAnswer;
}

int CRoomViewItem::ShowOkBox(LPCSTR pszText, UINT nStyle)
{
    MsgBoxParams params;
    params.useCaptions = 1;
    strcpy(params.captions[MSGBOX_OK], "确定");
    return ShowMessageBox(pszText, nStyle, &params);
}

int CRoomViewItem::ShowSkinMessageBox(LPCSTR pszText, UINT nStyle)
{
    RestoreHallWindow();
    ++m_lBoxNesting;
    int nAnswer = SkinMessageBox(GetSafeHwnd(), pszText, kBoxCaption, nStyle);
    if (GetSafeHwnd() != NULL)
        SetFocus();
    --m_lBoxNesting;
    if (m_lBoxNesting == 0 && (m_pDataCenter == NULL || !m_pDataCenter->IsConnected()))
        PostCloseView();
    return nAnswer;
}

// Once per view: the room tab window closes the room, after which the view
// is gone.
void CRoomViewItem::PostCloseView()
{
    if (m_bCloseAsked || m_pRoomTabs == NULL || m_pRoomTabs->GetRoomTabHwnd() == NULL)
        return;
    m_bCloseAsked = true;
    ::PostMessage(m_pRoomTabs->GetRoomTabHwnd(), WM_ROOM_CLOSE_VIEW, WPARAM(this), 0);
}

void CRoomViewItem::RestoreHallWindow()
{
    CWnd* pMain = AfxGetMainWnd();
    if (pMain == NULL || pMain->GetSafeHwnd() == NULL || pMain == this || !pMain->IsIconic())
        return;
    WINDOWPLACEMENT placement = {sizeof(placement)};
    ::GetWindowPlacement(pMain->GetSafeHwnd(), &placement);
    pMain->ShowWindow((placement.flags & WPF_RESTORETOMAXIMIZED) != 0 ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
}

CString CRoomViewItem::LogonFailureText(DWORD dwCode) const
{
    for (const tagCodeText& entry : kLogonTexts) {
        if (entry.dwCode == dwCode)
            return LoadString(entry.nText);
    }
    for (const tagTypedText& entry : kTypedLogonTexts) {
        if (entry.dwCode == dwCode)
            return LoadString(entry.nTexts[m_wRoomType >= 1 && m_wRoomType <= 3 ? m_wRoomType - 1 : 3]);
    }
    CString strText;
    strText.Format("%d", int(dwCode));
    return strText;
}

CString CRoomViewItem::SitFailureText(DWORD dwCode) const
{
    CString strText;
    const bool bScoreRoom = m_wRoomType == 0 || m_wRoomType == 4 || m_wRoomType == 5;
    if (dwCode == 5)
        strText = LoadString(m_wRoomType == 2 ? 12034 : bScoreRoom ? 12021 : 12033);
    else if (dwCode == 7)
        strText = LoadString(m_wRoomType == 2 ? 12035 : bScoreRoom ? 12009 : 12036);
    else if (dwCode >= 28)
        strText.Format("坐下未知错误，错误号:%d", int(dwCode));
    else if (kSitTexts[dwCode] != 0)
        strText = LoadString(kSitTexts[dwCode]);
    const char* pszType = bScoreRoom ? "积分" : m_wRoomType == 2 ? "金蛋" : m_wRoomType == 3 ? "金豆" : "分数";
    strText.Replace("<type>", pszType);
    if ((dwCode == 5 || dwCode == 7) && m_wRoomType == 2) {
        CString strSuffix;
        strSuffix.Format(">>立即充值（<a href=\"%s\">短信</a>，<a href=\"%s\">网银</a>）",
                         (LPCSTR)g_GlobalOption.GetPrepaidUrl(0), (LPCSTR)g_GlobalOption.GetPrepaidUrl(1));
        strText += strSuffix;
    }
    return strText;
}

// ---------------------------------------------------------------- dispatch

bool CRoomViewItem::OnRoomNotify(const tagNotifyHead* pHead, LPARAM lParam)
{
    switch (pHead->wMainCmdID) {
    case 1:
        if (pHead->wSubCmdID == 2 && lParam != 0)
            OnRoomMessage(reinterpret_cast<const tagRoomMessage*>(lParam));
        return pHead->wSubCmdID == 2;
    case 2: return OnNotifyLogon(pHead->wSubCmdID, lParam);
    case 3: return OnNotifyUser(pHead->wSubCmdID, lParam);
    case 4: return OnNotifyRoom(pHead->wSubCmdID, lParam);
    case 5:
        if (pHead->wSubCmdID == 2 && lParam != 0)
            ApplyTableFlags(reinterpret_cast<const tagRoomTableFlags*>(lParam));
        return pHead->wSubCmdID == 1 || pHead->wSubCmdID == 2;
    case 6: return OnNotifyGame(pHead->wSubCmdID, lParam);
    default: return false;
    }
}

bool CRoomViewItem::OnNotifyLogon(WORD wSubCmdID, LPARAM lParam)
{
    switch (wSubCmdID) {
    case 2:
        if (lParam != 0)
            OnConnectResult(reinterpret_cast<const tagRoomConnectResult*>(lParam));
        return true;
    case 3:
        if (lParam != 0)
            OnLogonResult(reinterpret_cast<const tagRoomLogonNotice*>(lParam));
        return true;
    case 6: OnConnectionClosed(); return true;
    default: return false;
    }
}

// ---------------------------------------------------------------- logon road

void CRoomViewItem::OnConnectResult(const tagRoomConnectResult* pResult)
{
    if (pResult->dwErrorCode != 0) {
        m_dwRoomState = ROOM_STATE_FAILED;
        GiveUpLogon();
        ShowMessageBox(LoadString(11000), MB_ICONINFORMATION);
        return;
    }
    m_dwRoomState = ROOM_STATE_CONNECTED;
    DWORD dwSerial = 0;
    if (g_GlobalUnits.GetGlobalUserData()->lLevel == GUEST_USER_LEVEL)
        m_pDataCenter->SendMachineCode(dwSerial, GetSafeHwnd());
    else
        m_pDataCenter->SendRoomLogon(dwSerial, GetSafeHwnd(), 0, m_strRoomPassword);
}

void CRoomViewItem::OnLogonResult(const tagRoomLogonNotice* pNotice)
{
    if (pNotice->dwCode == 0) {
        m_dwRoomState = ROOM_STATE_LOGGED_ON;
        m_nPasswordAttempts = 0;
        SaveRoomPassword(m_strRoomPassword);
        BuildColumns(m_wRoomType, m_UserColumns);
        if (m_pSidePanel != NULL)
            m_pSidePanel->SetColumnDescribe(m_UserColumns);
        return;
    }
    if (pNotice->dwCode == LOGON_NEEDS_PASSWORD) {
        AskRoomPassword();
        return;
    }
    if (pNotice->dwCode == LOGON_WRONG_PASSWORD && m_nPasswordAttempts == 0) {
        // The remembered password is stale.
        ForgetRoomPassword();
        AskRoomPassword();
        return;
    }
    CString strText = FieldText(pNotice->szText, sizeof(pNotice->szText));
    if (strText.IsEmpty() || strText == "<error>")
        strText = LogonFailureText(pNotice->dwCode);
    m_dwRoomState = ROOM_STATE_FAILED;
    GiveUpLogon();
    ShowMessageBox(strText, MB_ICONINFORMATION);
}

bool CRoomViewItem::AskRoomPassword()
{
    CString strPassword;
    if (s_pDialogs == NULL || !s_pDialogs->RunRoomPassDlg(this, strPassword)) {
        m_dwRoomState = ROOM_STATE_FAILED;
        GiveUpLogon();
        PostCloseView();
        return false;
    }
    ++m_nPasswordAttempts;
    char szDigest[CMD5Encrypt::kHexLength + 1];
    CMD5Encrypt::EncryptData(strPassword, szDigest);
    m_strRoomPassword = szDigest;
    if (m_pDataCenter != NULL)
        m_pDataCenter->CloseConnection();
    ConnectRoomServer();
    return true;
}

void CRoomViewItem::GiveUpLogon()
{
    m_dwRoomState = ROOM_STATE_FAILED;
    g_GlobalUnits.RestoreRoomControls(this);
    if (m_pRoomTabs != NULL)
        m_pRoomTabs->SetEnteringRoom(false);
}

void CRoomViewItem::OnConnectionClosed()
{
    if (m_bKicked)
        return;
    CString strText = LoadString(11002);
    InsertSystemText(strText);
    // One report for all rooms that lose their server together.
    if (s_bConnectionReported)
        return;
    s_bConnectionReported = true;
    ShowMessageBox(strText, MB_ICONINFORMATION);
    if (m_pRoomTabs != NULL && m_pRoomTabs->GetRoomTabHwnd() != NULL)
        ::PostMessage(m_pRoomTabs->GetRoomTabHwnd(), WM_ROOM_CONNECTION, WPARAM(this), 0);
    s_bConnectionReported = false;
}

// ---------------------------------------------------------------- room and tables

bool CRoomViewItem::OnNotifyRoom(WORD wSubCmdID, LPARAM lParam)
{
    switch (wSubCmdID) {
    case 1:
        if (lParam != 0)
            OnRoomInfo(reinterpret_cast<const tagRoomInfo*>(lParam));
        return true;
    case 4:
        if (lParam != 0)
            ApplyTableFlags(reinterpret_cast<const tagRoomTableFlags*>(lParam));
        return true;
    case 5: OnInfoDone(); return true;
    case 7:
        if (lParam != 0) {
            const tagRoomTableRecord* pRecord = reinterpret_cast<const tagRoomTableRecord*>(lParam);
            ApplyTableRecord(pRecord->wTableID, FieldText(pRecord->szName, sizeof(pRecord->szName)), pRecord->wValue,
                             pRecord->cbValue);
        }
        return true;
    case 8: ShowMessageBox(LoadString(12006), MB_ICONINFORMATION); return true;
    case 9: return true; // the count only: each table comes as (4,10)
    case 10:
        if (lParam != 0) {
            const tagRoomTableEntry* pEntry = reinterpret_cast<const tagRoomTableEntry*>(lParam);
            ApplyTableRecord(pEntry->wTableID, FieldText(pEntry->szName, sizeof(pEntry->szName)), pEntry->wValue4,
                             pEntry->cbValue5);
        }
        return true;
    case 11:
        if (lParam != 0 && m_pMatchView != NULL) {
            const tagRoomGroupState* pState = reinterpret_cast<const tagRoomGroupState*>(lParam);
            m_pMatchView->SetMatchState(*pState, SearchUser(pState->dwUserID));
        }
        return true;
    default: return false;
    }
}

void CRoomViewItem::OnRoomInfo(const tagRoomInfo* pInfo)
{
    m_wRoomType = LOWORD(pInfo->dwServerType);
    m_dwRoomRule = pInfo->dwRoomRule;
    m_dwRoomID = LOWORD(pInfo->dwRoomID);
    CString strWelcome = FieldText(pInfo->szWelcome, sizeof(pInfo->szWelcome));
    if (!strWelcome.IsEmpty())
        InsertSystemText(strWelcome);
    if (GetMessageProxy() != NULL)
        GetMessageProxy()->SetStyle(kRoomInfoStyle);
    if (m_pSidePanel != NULL) {
        m_pSidePanel->SetListRoom(m_dwRoomID, m_wRoomType);
        m_pSidePanel->SetItemBarFlags(m_wRoomType == ROOM_TYPE_GAME_COIN, m_wRoomType == ROOM_TYPE_SECOND_CURRENCY);
    }
    m_TableView.ShowBankButtons(m_wRoomType == ROOM_TYPE_GAME_COIN, m_wRoomType == ROOM_TYPE_SECOND_CURRENCY);
    if (IsMatchRoom() && m_pMatchView != NULL)
        m_pMatchView->SetMatchDescription(*pInfo);
    ITableFrameSink* pSink = NULL;
    if (SUCCEEDED(QueryInterface(IID_ITableFrameSink, reinterpret_cast<void**>(&pSink)))) {
        try {
            m_TableFrame.InitTableFrame(pInfo->wTableCount, pInfo->wChairCount, GetGame(), pSink);
        } catch (const CTableFrameError& error) {
            pSink->Release();
            ShowMessageBox(error.GetText(), MB_ICONINFORMATION);
            pSink = NULL;
        }
        if (pSink != NULL)
            pSink->Release();
    }
    BuildColumns(m_wRoomType, m_UserColumns);
    if (m_pSidePanel != NULL)
        m_pSidePanel->SetColumnDescribe(m_UserColumns);
}

void CRoomViewItem::OnInfoDone()
{
    ShowWindow(SW_SHOW);
    if (m_pRoomTabs != NULL)
        m_pRoomTabs->ActivateRoom(this);
    g_GlobalUnits.RestoreRoomControls(this);
    if (m_pRoomTabs != NULL)
        m_pRoomTabs->SetEnteringRoom(false);
    m_dwRoomState = ROOM_STATE_READY;
    SendUserRule();
}

void CRoomViewItem::ApplyTableFlags(const tagRoomTableFlags* pFlags)
{
    if (pFlags->wTableID >= m_TableFrame.GetTableCount())
        return;
    m_TableFrame.SetLockFlag(pFlags->wTableID, pFlags->cbLocked != 0);
    m_TableFrame.SetPlayFlag(pFlags->wTableID, pFlags->cbPlaying != 0);
    m_TableFrame.SetSecondLock(pFlags->wTableID, pFlags->cbThird != 0);
}

void CRoomViewItem::ApplyTableRecord(WORD wTableID, LPCSTR pszName, WORD wValue, BYTE cbValue)
{
    if (wTableID >= m_TableFrame.GetTableCount())
        return;
    ITableView* pTable = m_TableFrame.GetTableViewItem(wTableID);
    if (pTable == NULL)
        return;
    pTable->SetTableName(pszName);
    pTable->SetRuleByte(LOBYTE(wValue));
    pTable->SetMultiple(cbValue);
    m_TableFrame.UpdateTableView(wTableID, true);
}

void CRoomViewItem::OnRoomMessage(const tagRoomMessage* pMessage)
{
    WORD wFlags = WORD(pMessage->cbFlags[0] | (pMessage->cbFlags[1] << 8));
    CString strText = FieldText(pMessage->szText, sizeof(pMessage->szText));
    if ((wFlags & 0x1) != 0) {
        IMessageProxy2* pProxy2 = NULL;
        if ((wFlags & 0x800) != 0 && GetMessageProxy() != NULL &&
            SUCCEEDED(GetMessageProxy()->QueryInterface(IID_IMessageProxy2, reinterpret_cast<void**>(&pProxy2)))) {
            pProxy2->InsertActivityText(strText, kActivityColour);
            pProxy2->Release();
        } else
            InsertSystemText(strText);
    }
    if ((wFlags & 0x2) != 0) {
        ShowOkBox(strText, 128);
    }
}

// ---------------------------------------------------------------- users

bool CRoomViewItem::OnNotifyUser(WORD wSubCmdID, LPARAM lParam)
{
    const DWORD* pValue = reinterpret_cast<const DWORD*>(lParam);
    const BYTE* pByte = reinterpret_cast<const BYTE*>(lParam);
    // Arrivals, status, updates, refreshes, values, the whole list and its
    // changes: these come in bursts.
    static const WORD kListNotices[] = {1, 2, 3, 9, 17, 18, 19};
    if (std::find(std::begin(kListNotices), std::end(kListNotices), wSubCmdID) != std::end(kListNotices))
        HoldListRedraw();
    switch (wSubCmdID) {
    case 1:
        if (lParam != 0)
            OnUserEnter(reinterpret_cast<CUserItem*>(lParam));
        return true;
    case 2:
        if (lParam != 0)
            OnUserStatus(reinterpret_cast<const tagRoomUserStatus*>(lParam));
        return true;
    case 3:
        if (lParam != 0) {
            CUserItem* pUserItem = SearchUser(*pValue);
            if (pUserItem != NULL)
                OnUserItemUpdate(pUserItem);
        }
        return true;
    case 4:
        if (lParam != 0)
            OnSitResult(*pValue);
        return true;
    case 5:
        if (lParam != 0)
            OnChat(reinterpret_cast<const tagRoomChatNotice*>(lParam));
        return true;
    case 6:
        if (lParam != 0)
            OnWhisper(reinterpret_cast<const tagRoomWhisperNotice*>(lParam));
        return true;
    case 7:
        if (lParam != 0)
            OnInvite(reinterpret_cast<const tagRoomInviteNotice*>(lParam));
        return true;
    case 8: ShowMessageBox(LoadString(11032), MB_ICONINFORMATION); return true;
    case 9:
        if (lParam != 0)
            OnUserRefresh(*pValue);
        return true;
    case 11:
        m_bKicked = true;
        ShowMessageBox(LoadString(11053), MB_ICONINFORMATION);
        return true;
    case 12:
        if (lParam != 0) {
            const tagRoomSpeakerNotice* pSpeaker = reinterpret_cast<const tagRoomSpeakerNotice*>(lParam);
            tagMessageUser user = {};
            user.dwUserID = pSpeaker->dwUserID;
            memcpy(user.szNickName, pSpeaker->szNickName, sizeof(user.szNickName));
            user.szNickName[sizeof(user.szNickName) - 1] = '\0';
            CUserItem* pSender = SearchUser(pSpeaker->dwUserID);
            user.dwRank = pSender != NULL ? pSender->GetUserData()->dwRank : 0;
            if (GetMessageProxy() != NULL)
                GetMessageProxy()->InsertSpeakerText(&user, FieldText(pSpeaker->szText, sizeof(pSpeaker->szText)));
        }
        return true;
    case 14:
        if (lParam != 0 && *pByte == 1)
            ShowMessageBox(LoadString(11052), MB_ICONINFORMATION);
        return true;
    case 15:
        if (lParam != 0) {
            static const UINT kTexts[] = {11009, 11011, 12507, 12508, 12509};
            if (*pByte == 0)
                m_TableFrame.SetCycleMatchState(2);
            else if (*pByte <= 5) {
                m_TableFrame.SetCycleMatchState(1);
                ShowMessageBox(LoadString(kTexts[*pByte - 1]), MB_ICONINFORMATION);
            }
        }
        return true;
    case 16: return true;
    case 17:
        if (lParam != 0)
            OnUserValue(*pValue);
        return true;
    case 18: OnUserList(); return true;
    case 19: OnUserChanges(); return true;
    case 20:
        if (lParam != 0 && m_pMatchView != NULL)
            m_pMatchView->ShowSignButtons(*pValue);
        return true;
    case 21:
        if (lParam != 0 && m_pMatchView != NULL) {
            const tagRoomMatchTeam* pTeam = reinterpret_cast<const tagRoomMatchTeam*>(lParam);
            m_pMatchView->ShowMatchMessage(pTeam->cbTeam, pTeam->wTeamNumber);
        }
        return true;
    case 25:
        if (lParam != 0 && m_pMatchView != NULL)
            m_pMatchView->OnSignResult(*pValue);
        if ((m_dwRoomRule & ROOM_RULE_MATCH) != 0) {
            m_TableFrame.SetCycleMatchState(1);
            RestoreHallWindow();
        }
        return true;
    case 22:
    case 23:
    case 24:
    case 27:
        if (lParam != 0 && m_pMoneyPanels != NULL) {
            const int nCode = int(*pValue);
            if (wSubCmdID == 22)
                m_pMoneyPanels->OnOpenSafeBoxResult(nCode);
            else if (wSubCmdID == 23)
                m_pMoneyPanels->OnWithdrawResult(nCode);
            else if (wSubCmdID == 24)
                m_pMoneyPanels->OnDepositResult(nCode);
            else
                m_pMoneyPanels->OnExchangeResult(nCode);
        }
        return true;
    default: return false;
    }
}

void CRoomViewItem::OnUserEnter(CUserItem* pUserItem)
{
    OnUserItemAdd(pUserItem);
    UpdateChatInput();
    CUserItem* pMe = GetMeUserItem();
    BYTE cbStatus = pUserItem->GetStatus();
    bool bSeated = cbStatus == USER_STATUS_SIT || cbStatus == USER_STATUS_READY || cbStatus == USER_STATUS_PLAY;
    if (bSeated && (m_dwTablePresentation == TABLE_SHOW_NORMAL || pUserItem == pMe))
        PlaceOnSeat(pUserItem);
    RepaintUserStrip();
}

void CRoomViewItem::PlaceOnSeat(CUserItem* pUserItem)
{
    const tagUserData* pData = pUserItem->GetUserData();
    if (pData->wTableID < m_TableFrame.GetTableCount() && pData->wChairID < m_TableFrame.GetChairCount())
        m_TableFrame.SetUserItem(pData->wTableID, pData->wChairID, pUserItem);
}

void CRoomViewItem::ClearUserSeat(CUserItem* pUserItem, WORD wTableID, WORD wChairID)
{
    if (wTableID >= m_TableFrame.GetTableCount() || wChairID >= m_TableFrame.GetChairCount())
        return;
    if (m_TableFrame.GetUserItem(wTableID, wChairID) == pUserItem)
        m_TableFrame.SetUserItem(wTableID, wChairID, NULL);
}

void CRoomViewItem::OnUserStatus(const tagRoomUserStatus* pStatus)
{
    CUserItem* pUserItem = SearchUser(pStatus->dwUserID);
    if (pUserItem == NULL)
        return;
    tagUserData* pData = pUserItem->GetUserData();
    const WORD wOldTable = pData->wTableID, wOldChair = pData->wChairID;
    const BYTE cbStatus = BYTE(pStatus->cbStatus & USER_STATUS_MASK);
    const bool bOwn = pUserItem == GetMeUserItem();
    // A user who leaves goes from the grid before his item goes, wherever
    // he sat.
    if (cbStatus == USER_STATUS_GONE || wOldTable != pStatus->wTableID || wOldChair != pStatus->wChairID)
        ClearUserSeat(pUserItem, wOldTable, wOldChair);
    if (cbStatus == USER_STATUS_GONE) {
        OnUserItemDelete(pUserItem);
        RepaintUserStrip();
        return;
    }
    pData->wTableID = pStatus->wTableID;
    pData->wChairID = pStatus->wChairID;
    pData->cbUserStatus = pStatus->cbStatus;
    OnUserItemUpdate(pUserItem);
    if (bOwn) {
        if (cbStatus < USER_STATUS_SIT && !IsMatchRoom()) {
            RestoreHallWindow();
            m_TableFrame.SetIdentifyTable(INVALID_TABLE);
        }
        if (cbStatus == USER_STATUS_PLAY)
            m_TableFrame.SetCycleMatchState(3);
        else if (cbStatus < USER_STATUS_SIT)
            m_TableFrame.SetCycleMatchState(1);
    }
    if (cbStatus != USER_STATUS_LOOKON && (wOldTable != pStatus->wTableID || wOldChair != pStatus->wChairID))
        PlaceOnSeat(pUserItem);
    else if (pStatus->wTableID < m_TableFrame.GetTableCount())
        m_TableFrame.UpdateTableView(pStatus->wTableID, true);
    if (bOwn && pStatus->wTableID == m_wPendingTable && pStatus->wChairID == m_wPendingChair) {
        m_wPendingTable = INVALID_TABLE;
        m_wPendingChair = INVALID_CHAIR;
    }
}

void CRoomViewItem::OnSitResult(DWORD dwCode)
{
    CUserItem* pMe = GetMeUserItem();
    if (dwCode == 0) {
        if (pMe != NULL)
            m_TableFrame.SetIdentifyTable(pMe->GetUserData()->wTableID);
        return;
    }
    LeavePendingSeat();
    m_wPendingTable = INVALID_TABLE;
    m_wPendingChair = INVALID_CHAIR;
    ShowMessageBox(SitFailureText(dwCode), MB_ICONINFORMATION);
}

void CRoomViewItem::FillMessageUser(const CUserItem* pUserItem, tagMessageUser& user) const
{
    memset(&user, 0, sizeof(user));
    user.dwUserID = pUserItem->GetUserID();
    memcpy(user.szNickName, pUserItem->GetUserData()->szNickName, sizeof(user.szNickName));
    user.szNickName[sizeof(user.szNickName) - 1] = '\0';
    user.dwRank = pUserItem->GetUserData()->dwRank;
}

void CRoomViewItem::OnChat(const tagRoomChatNotice* pChat)
{
    CUserItem* pSender = SearchUser(pChat->dwSenderID);
    if (pSender == NULL || pSender->GetUserData()->cbRelation == 2 || GetMessageProxy() == NULL)
        return;
    COLORREF crColor = pSender->GetUserData()->cbRelation == 1 ? kFriendChatColour : COLORREF(pChat->dwColor);
    CString strText = FieldText(pChat->szText, sizeof(pChat->szText));
    tagMessageUser sender;
    FillMessageUser(pSender, sender);
    if (pChat->dwTargetID == 0) {
        GetMessageProxy()->InsertUserSays(&sender, strText, crColor);
        return;
    }
    CUserItem* pTarget = SearchUser(pChat->dwTargetID);
    if (pTarget == NULL)
        return;
    tagMessageUser target;
    FillMessageUser(pTarget, target);
    GetMessageProxy()->InsertUserToUser(&sender, &target, strText, crColor);
}

void CRoomViewItem::OnWhisper(const tagRoomWhisperNotice* pWhisper)
{
    if (m_pGameOption != NULL && m_pGameOption->m_bLimitWisper)
        return;
    CUserItem* pSender = SearchUser(pWhisper->dwSenderID);
    if (pSender == NULL || pSender == GetMeUserItem())
        return;
    int nIndex = OpenWhisperWindow(pWhisper->dwSenderID, true);
    if (nIndex >= 0 && s_pDialogs != NULL)
        s_pDialogs->ShowWhisper(nIndex, pWhisper->dwSenderID, FieldText(pWhisper->szText, sizeof(pWhisper->szText)),
                                COLORREF(pWhisper->dwColor));
}

void CRoomViewItem::OnInvite(const tagRoomInviteNotice* pInvite)
{
    AcceptInvite(pInvite);
}

void CRoomViewItem::OnUserRefresh(DWORD dwUserID)
{
    CUserItem* pUserItem = SearchUser(dwUserID);
    if (pUserItem == NULL)
        return;
    if (pUserItem->IsSeated())
        m_TableFrame.EnsureVisibleTable(pUserItem->GetUserData()->wTableID);
    OnUserItemUpdate(pUserItem);
    QueueCustomFace(pUserItem);
    InsertFriendLine(pUserItem);
    ChooseTablePresentation();
    CUserItem* pMe = GetMeUserItem();
    if (!IsMatchRoom() || (m_dwRoomRule & ROOM_RULE_MATCH) != 0) {
        if (pUserItem == pMe && pMe->GetStatus() == USER_STATUS_PLAY)
            m_TableFrame.SetCycleMatchState(3);
    } else {
        m_TableView.ShowWindow(SW_HIDE);
        if (m_pMatchView != NULL)
            ::ShowWindow(m_pMatchView->GetMatchHwnd(), SW_SHOW);
        if (m_pSidePanel != NULL)
            m_pSidePanel->EnableChatInput(false);
    }
}

void CRoomViewItem::OnUserValue(DWORD dwUserID)
{
    CUserItem* pUserItem = SearchUser(dwUserID);
    if (pUserItem == NULL)
        return;
    if (pUserItem->IsSeated())
        m_TableFrame.EnsureVisibleTable(pUserItem->GetUserData()->wTableID);
    OnUserItemUpdate(pUserItem);
    if (!IsMatchRanking()) {
        if (m_pSidePanel != NULL)
            m_pSidePanel->SortUsers();
    } else if (pUserItem->GetFirstExtension()->dwValue[1] == 0)
        m_pMatchView->RemoveRankUser(pUserItem);
    else
        m_pMatchView->SortRank();
}

void CRoomViewItem::OnUserList()
{
    if (m_pUserManager == NULL)
        return;
    ChooseTablePresentation();
    std::vector<CUserItem*> users = m_pUserManager->GetUserItems();
    if (IsMatchRanking() && (m_dwRoomRule & ROOM_RULE_MATCH) == 0) {
        m_TableView.ShowWindow(SW_HIDE);
        ::ShowWindow(m_pMatchView->GetMatchHwnd(), SW_SHOW);
        for (CUserItem* pUserItem : users) {
            if (pUserItem->GetFirstExtension()->dwValue[1] != 0)
                m_pMatchView->InsertRankUser(pUserItem);
        }
    } else {
        for (CUserItem* pUserItem : users) {
            OnUserItemAdd(pUserItem);
            QueueCustomFace(pUserItem);
            if (m_dwTablePresentation == TABLE_SHOW_NORMAL && pUserItem->GetStatus() >= USER_STATUS_SIT &&
                pUserItem->GetStatus() != USER_STATUS_LOOKON)
                PlaceOnSeat(pUserItem);
            InsertFriendLine(pUserItem);
        }
        UpdateChatInput();
    }
}

void CRoomViewItem::OnUserChanges()
{
    if (m_pUserManager == NULL)
        return;
    for (CUserItem* pUserItem : m_pUserManager->GetUserItems()) {
        if (!IsMatchRanking()) {
            if (pUserItem->GetUserData()->wTableID < m_TableFrame.GetTableCount())
                m_TableFrame.UpdateTableView(pUserItem->GetUserData()->wTableID, true);
            QueueCustomFace(pUserItem);
            if (pUserItem->GetStatus() == USER_STATUS_PLAY)
                m_TableFrame.SetCycleMatchState(3);
        }
        OnUserItemUpdate(pUserItem);
    }
}

void CRoomViewItem::OnUserItemAdd(CUserItem* pUserItem)
{
    if (m_dwTablePresentation != TABLE_SHOW_NORMAL)
        return;
    if (IsMatchRanking())
        m_pMatchView->InsertRankUser(pUserItem);
    else if (m_pSidePanel != NULL)
        m_pSidePanel->InsertUser(pUserItem);
}

void CRoomViewItem::OnUserItemUpdate(CUserItem* pUserItem)
{
    if (s_pDialogs != NULL)
        s_pDialogs->OnUserItemUpdate(this, pUserItem);
    if (m_dwTablePresentation == TABLE_SHOW_ANTI_CHEAT)
        return;
    if (m_dwTablePresentation == TABLE_SHOW_HIDDEN && pUserItem != GetMeUserItem())
        return;
    if (IsMatchRanking())
        m_pMatchView->UpdateRankUser(pUserItem);
    else if (m_pSidePanel != NULL)
        m_pSidePanel->UpdateUser(pUserItem);
}

// Every window that may hold the user drops him, whatever the presentation:
// his item goes right after.
void CRoomViewItem::OnUserItemDelete(CUserItem* pUserItem)
{
    if (s_pDialogs != NULL)
        s_pDialogs->OnUserItemDelete(this, pUserItem);
    if (m_pMatchView != NULL)
        m_pMatchView->RemoveRankUser(pUserItem);
    if (m_pSidePanel != NULL) {
        m_pSidePanel->RemoveUser(pUserItem);
        if (m_pSidePanel->GetChatPartner() == pUserItem->GetUserID())
            m_pSidePanel->SetChatPartner(0);
    }
}

// Guests never chat; members of level 0 only in the rooms that allow it.
void CRoomViewItem::UpdateChatInput()
{
    CUserItem* pMe = GetMeUserItem();
    if (m_pSidePanel == NULL || pMe == NULL)
        return;
    LONG lLevel = LONG(pMe->GetUserData()->dwRank);
    // Rooms that hide their players keep the chat closed.
    bool bEnable = lLevel != GUEST_USER_LEVEL && m_dwTablePresentation == TABLE_SHOW_NORMAL;
    if (bEnable && lLevel == 0) {
        CString strPath;
        strPath.Format("%sConfig\\dynamic\\DynaItemCfg.ini", g_GlobalUnits.GetWorkDirectory());
        char szList[2048] = "";
        GetPrivateProfileStringA("canchatroom", "roomid", "", szList, sizeof(szList), strPath);
        bEnable = false;
        int nCount = 0;
        for (char* pszItem = strtok(szList, ","); pszItem != NULL && nCount < 256;
             pszItem = strtok(NULL, ","), ++nCount) {
            if (m_pGameRoom != NULL && strtoul(pszItem, NULL, 10) == m_pGameRoom->GetId())
                bEnable = true;
        }
    }
    m_pSidePanel->EnableChatInput(bEnable);
}

void CRoomViewItem::InsertSystemText(LPCSTR pszText)
{
    if (GetMessageProxy() != NULL)
        GetMessageProxy()->InsertSystemText(pszText);
}

void CRoomViewItem::InsertFriendLine(CUserItem* pUserItem)
{
    if (pUserItem->GetUserData()->cbRelation != 1 || GetMessageProxy() == NULL)
        return;
    SYSTEMTIME now;
    GetLocalTime(&now);
    CString strTime, strLine;
    strTime.Format("%02d:%02d:%02d", now.wHour, now.wMinute, now.wSecond);
    strLine.Format("%s 您的好友[ %s ]在该房间中", (LPCSTR)strTime,
                   (LPCSTR)FieldText(pUserItem->GetUserData()->szNickName, 32));
    GetMessageProxy()->InsertText(strLine, kFriendLineColour, TRUE);
}

void CRoomViewItem::QueueCustomFace(CUserItem* pUserItem)
{
    CString strSign = FieldText(pUserItem->GetUserData()->szKey13, sizeof(pUserItem->GetUserData()->szKey13));
    CCustomFaceManagerWnd* pFaces = g_GlobalUnits.GetCustomFaceManager();
    if (strSign.IsEmpty() || pFaces == NULL || pFaces->IsFaceCached(pUserItem->GetUserID(), strSign))
        return;
    if (pFaces->QueueFaceDownload(pUserItem->GetUserID(), strSign) >= 0)
        pFaces->WakeDownloadThread();
}

// Users arrive, move and leave in bursts, many to one read of the socket;
// the user lists (the players, and a match room's ranking) draw nothing
// until the burst has been handled. Drawing, a list control lays out and
// paints its scroll bar at every row: some 5 ms a row under Wine, a minute
// for a crowded room. The message that lets them draw again comes after
// the burst's own.
void CRoomViewItem::HoldListRedraw()
{
    if (m_bListHeld || (m_pSidePanel == NULL && m_pMatchView == NULL) || GetSafeHwnd() == NULL)
        return;
    if (!PostMessage(WM_ROOM_LIST_REDRAW))
        return;
    m_bListHeld = true;
    if (m_pSidePanel != NULL)
        m_pSidePanel->SetListRedraw(false);
    if (m_pMatchView != NULL)
        m_pMatchView->SetRankRedraw(false);
}

LRESULT CRoomViewItem::OnListRedrawMessage(WPARAM, LPARAM)
{
    if (m_bListHeld) {
        m_bListHeld = false;
        if (m_pSidePanel != NULL)
            m_pSidePanel->SetListRedraw(true);
        if (m_pMatchView != NULL)
            m_pMatchView->SetRankRedraw(true);
    }
    return 0;
}

void CRoomViewItem::RepaintUserStrip()
{
    if (GetSafeHwnd() == NULL)
        return;
    CRect rcClient;
    GetClientRect(&rcClient);
    CRect rcStrip(0, 0, rcClient.Width() - 200, 32);
    InvalidateRect(&rcStrip, FALSE);
}

// ---------------------------------------------------------------- game client

bool CRoomViewItem::OnNotifyGame(WORD wSubCmdID, LPARAM lParam)
{
    switch (wSubCmdID) {
    case 2: OnGameClientPost(lParam); return true;
    case 4:
        if (lParam != 0) {
            CUserItem* pMe = GetMeUserItem();
            if (pMe == NULL || pMe->GetStatus() != USER_STATUS_LOOKON)
                m_dwRoundsToFinish = *reinterpret_cast<const DWORD*>(lParam);
        }
        return true;
    case 5:
        m_TableFrame.SetCycleMatchState(m_pDataCenter != NULL && m_pDataCenter->GetMatchFlag() != 0 ? 2 : 1);
        return true;
    case 8: {
        RestoreHallWindow();
        SetForegroundWindow();
        IHallFrameWnd* pFrame = CHallWindows::GetFrame();
        if (pFrame != NULL)
            pFrame->ShowItemShop(-1);
        return true;
    }
    default: return false;
    }
}

// The client's items and records reach it in its attach sequence, once it
// can take them; here only the status window follows the launch.
void CRoomViewItem::OnGameClientPost(LPARAM lValue)
{
    if (lValue == GAME_CLIENT_POST_STARTING) {
        m_GameStatusDlg.ShowStatus();
        return;
    }
    if (m_GameStatusDlg.GetSafeHwnd() == NULL)
        return;
    m_GameStatusDlg.CloseStatus();
    if (lValue == GAME_CLIENT_POST_DONE) {
        CWnd* pMain = AfxGetMainWnd();
        if (pMain != NULL && pMain->GetSafeHwnd() != NULL && pMain != this && !s_bHallStaysShown)
            pMain->ShowWindow(SW_MINIMIZE);
    }
}
