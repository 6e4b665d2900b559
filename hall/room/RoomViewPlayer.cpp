// Commands on one player of the room: the user menu, the same commands by
// number, the whisper window pool, the player panel, item use, the player
// list's columns, the team list and the remembered room passwords.
#include "RoomViewItem.h"

#include <stdio.h>
#include <string.h>

#include "CustomFaceManagerWnd.h"
#include "GlobalOption.h"
#include "GlobalUnits.h"
#include "RoomPassFile.h"
#include "SkinMenuEx.h"
#include "TeamListView.h"
#include "TeamManager.h"
#include "TextUnit.h"

namespace
{

const char kUserLeft[] = "此用户已经离开房间了 ";
const DWORD QUALIFYING_ROOM_TYPE = 5;

struct tagColumnSpec
{
    WORD wWidth;
    WORD wKind;
    const char* pszTitle;
};

// The eight columns every player list ends with.
const tagColumnSpec kTailColumns[] = {
    {75, 214, "游戏级别"}, {50, 205, "胜率"}, {50, 208, "逃率"}, {50, 213, "总局"},
    {50, 200, "赢局"},     {50, 201, "输局"}, {50, 202, "和局"}, {50, 203, "逃局"},
};
const tagColumnSpec kCoinColumns[] = {{80, 2, "昵称"}, {50, 211, "金蛋"}, {50, 1, "ID"}, {30, 101, "桌号"}};
const tagColumnSpec kBeanColumns[] = {
    {80, 2, "昵称"}, {50, 215, "金豆"}, {50, 211, "金蛋"}, {50, 1, "ID"}, {30, 101, "桌号"}};
const tagColumnSpec kScoreColumns[] = {
    {80, 2, "昵称"}, {50, 212, "积分"}, {50, 211, "金蛋"}, {50, 1, "ID"}, {40, 101, "桌号"}};
const tagColumnSpec kTeamColumns[] = {
    {80, 400, "战队名称"}, {70, 402, "战队人数"}, {80, 404, "城市"}, {70, 406, "积分"}};

void AddColumns(tagColumnDescribe& columns, const tagColumnSpec* pSpecs, size_t nCount)
{
    for (size_t i = 0; i < nCount && columns.wColumnCount < 32; ++i) {
        tagColumnItem& item = columns.ColumnItem[columns.wColumnCount++];
        item.wColumnWidth = pSpecs[i].wWidth;
        item.wDataDescribe = pSpecs[i].wKind;
        strncpy(item.szColumnName, pSpecs[i].pszTitle, sizeof(item.szColumnName) - 1);
    }
}

template <size_t N, size_t M> void CopyTeamText(char (&field)[N], const char (&text)[M])
{
    TextCopyField(field, N, text, strnlen(text, M));
}

// A rate in percent for the menu; below 0.01 it shows as 0.
double MenuRate(DWORD dwCount, DWORD dwTotal)
{
    if (dwCount == 0 || dwTotal == 0)
        return 0.0;
    double dRate = double(dwCount) * 100.0 / double(dwTotal);
    return dRate < 0.01 ? 0.0 : dRate;
}

CString NickName(const CUserItem* pUserItem)
{
    const char* pszNick = pUserItem->GetUserData()->szNickName;
    return CString(pszNick, int(strnlen(pszNick, sizeof(pUserItem->GetUserData()->szNickName))));
}

} // namespace

void CRoomViewItem::BuildColumns(WORD wRoomType, tagColumnDescribe& columns)
{
    memset(&columns, 0, sizeof(columns));
    if (wRoomType == ROOM_TYPE_GAME_COIN)
        AddColumns(columns, kCoinColumns, sizeof(kCoinColumns) / sizeof(kCoinColumns[0]));
    else if (wRoomType == ROOM_TYPE_SECOND_CURRENCY)
        AddColumns(columns, kBeanColumns, sizeof(kBeanColumns) / sizeof(kBeanColumns[0]));
    else
        AddColumns(columns, kScoreColumns, sizeof(kScoreColumns) / sizeof(kScoreColumns[0]));
    AddColumns(columns, kTailColumns, sizeof(kTailColumns) / sizeof(kTailColumns[0]));
}

// The hall describes the teams of a game kind as the members of one team
// record: each member is one team of the list.
void CRoomViewItem::RefreshTeamList(const CTeamManager* pTeams)
{
    if (m_pSidePanel == NULL)
        return;
    memset(&m_TeamColumns, 0, sizeof(m_TeamColumns));
    AddColumns(m_TeamColumns, kTeamColumns, sizeof(kTeamColumns) / sizeof(kTeamColumns[0]));
    CArray<tagTeamItem, const tagTeamItem&> teams;
    for (INT_PTR i = 0; pTeams != NULL && i < pTeams->GetMemberCount(); ++i) {
        const tagTeamMember& member = pTeams->GetMember(i);
        tagTeamItem team;
        memset(&team, 0, sizeof(team));
        team.dwTeamID = member.dwMemberID;
        CopyTeamText(team.szTeamName, member.szName);
        CopyTeamText(team.szLeaderName, member.szText1);
        team.dwMemberCount = member.dwValue2;
        CopyTeamText(team.szDescribe, member.szText3);
        team.dwRegionID = member.dwValue4;
        team.dwTeamLevel = member.dwValue5;
        team.dwScore = member.dwValue6;
        teams.Add(team);
    }
    m_pSidePanel->ShowTeams(m_TeamColumns, teams.GetData(), int(teams.GetSize()));
}

bool CRoomViewItem::CanShowUserDetails() const
{
    CUserItem* pMe = GetMeUserItem();
    return m_dwRoomState == ROOM_STATE_READY && pMe != NULL &&
           (pMe->GetUserData()->dwPrivilege == 256 || m_dwTablePresentation == TABLE_SHOW_NORMAL);
}

void CRoomViewItem::ShowUserMenu(CUserItem* pUserItem, int x, int y, bool bWithoutDetails)
{
    if (!CanShowUserDetails())
        return;
    if (pUserItem == NULL) {
        if (GetMessageProxy() != NULL)
            GetMessageProxy()->InsertPlainText(kUserLeft, RGB(0, 0, 0), TRUE);
        return;
    }
    CUserItem* pMe = GetMeUserItem();
    const tagUserData* pData = pUserItem->GetUserData();
    const tagUserData* pOwn = pMe->GetUserData();
    const bool bSelf = pUserItem == pMe;
    const DWORD dwPartner = m_pSidePanel != NULL ? m_pSidePanel->GetChatPartner() : 0;
    m_dwMenuTarget = pUserItem->GetUserID();

    CSkinMenuEx menu;
    if (!menu.CreatePopupMenu())
        return;
    CString strImages;
    strImages.Format("%slistimage//LIST_MENU_IMAGE.bmp", g_GlobalUnits.GetResourceDirectory());
    menu.LoadImageList(strImages, 16, 16);
    CString strText;
    strText.Format("昵称：%s", (LPCSTR)NickName(pUserItem));
    menu.AppendMenu(MF_STRING, IDM_USER_NAME, strText.Left(255));
    menu.AppendMenu(MF_STRING | MF_GRAYED | MF_DISABLED, IDM_USER_COPY_NAME, "拷贝昵称");
    if (!bSelf && dwPartner != pUserItem->GetUserID())
        menu.AppendMenu(MF_STRING, IDM_USER_TALK, "与玩家交谈");
    if (dwPartner != 0)
        menu.AppendMenu(MF_STRING, IDM_USER_CANCEL_TALK, "取消与玩家的交谈");
    menu.AppendMenu(MF_SEPARATOR, 0, (LPCSTR)NULL);
    menu.AppendMenu(MF_STRING | (pUserItem->IsSeated() ? 0 : MF_GRAYED), IDM_USER_SEAT,
                    bSelf ? "查看我的位置" : "查看玩家的位置");
    if (!bWithoutDetails)
        menu.AppendMenu(MF_STRING, IDM_USER_DETAILS, "查看玩家详细资料");
    CCustomFaceManagerWnd* pFaces = g_GlobalUnits.GetCustomFaceManager();
    int nFaceWidth = 0, nFaceHeight = 0;
    if (pFaces != NULL && pFaces->GetFaceSize(pUserItem->GetUserID(), nFaceWidth, nFaceHeight) &&
        (nFaceWidth > 32 || nFaceHeight > 32))
        menu.AppendMenu(MF_STRING, IDM_USER_BIG_FACE, "查看大头像");
    if (!bSelf && pMe->GetStatus() != USER_STATUS_PLAY && pMe->IsSeated() && pUserItem->GetStatus() < USER_STATUS_PLAY)
        menu.AppendMenu(MF_STRING, IDM_USER_INVITE, "邀请玩家一起游戏");
    menu.AppendMenu(MF_SEPARATOR, 0, (LPCSTR)NULL);
    menu.AppendMenu(MF_STRING, IDM_USER_FIND, "寻找玩家...");
    if (!bSelf) {
        menu.AppendMenu(MF_STRING | (pData->cbRelation == 1 ? MF_CHECKED : 0), IDM_USER_FRIEND,
                        pData->cbRelation == 1 ? "取消好友" : "设为好友");
        menu.AppendMenu(MF_STRING | (pData->cbRelation == 2 ? MF_CHECKED : 0), IDM_USER_DISLIKE,
                        pData->cbRelation == 2 ? "取消厌恶" : "设为厌恶");
    }
    menu.AppendMenu(MF_SEPARATOR, 0, (LPCSTR)NULL);
    strText.Format("ID 号：%ld", long(pUserItem->GetDisplayID()));
    menu.AppendMenu(MF_STRING, IDM_USER_INFO_LINE, strText);
    if (pUserItem->IsSeated()) {
        strText.Format("桌号：%d", int(pData->wTableID) + 1);
        menu.AppendMenu(MF_STRING, IDM_USER_INFO_LINE, strText);
    }
    const DWORD dwTotal = pUserItem->GetTotalGames();
    const double dFlee = MenuRate(pData->dwScore[4], dwTotal);
    if (m_wRoomType == ROOM_TYPE_GAME_COIN)
        strText.Format("金蛋：%ld  总局数：%ld  逃跑率：%5.2f%%", long(pData->dwKey14), long(dwTotal), dFlee);
    else if (m_wRoomType != ROOM_TYPE_SECOND_CURRENCY)
        strText.Format("积分：%ld  总局数：%ld  逃跑率：%5.2f%%", long(LONG(pData->dwScore[0])), long(dwTotal), dFlee);
    if (m_wRoomType != ROOM_TYPE_SECOND_CURRENCY)
        menu.AppendMenu(MF_STRING, IDM_USER_INFO_LINE, strText.Left(255));
    strText.Format("断线率：%5.2f%%  胜率：%5.2f%% ", MenuRate(pData->dwScore[5], dwTotal),
                   MenuRate(pData->dwScore[1], dwTotal));
    menu.AppendMenu(MF_STRING, IDM_USER_INFO_LINE, strText);
    strText.Format("赢：%d  输：%d  和：%d  逃：%d", int(pData->dwScore[1]), int(pData->dwScore[2]),
                   int(pData->dwScore[3]), int(pData->dwScore[4]));
    menu.AppendMenu(MF_STRING, IDM_USER_INFO_LINE, strText);
    const LONG lOwnLevel = LONG(pOwn->dwRank);
    if (!bSelf && lOwnLevel > LONG(pData->dwRank) && lOwnLevel >= 1 && lOwnLevel <= 6 &&
        pUserItem->GetStatus() >= USER_STATUS_FREE && pUserItem->GetStatus() <= USER_STATUS_LOOKON) {
        menu.AppendMenu(MF_SEPARATOR, 0, (LPCSTR)NULL);
        menu.AppendMenu(MF_STRING, IDM_USER_KICK, "请他离开");
    }
    UINT nCommand = menu.TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, x, y, this);
    if (nCommand != 0)
        OnUserCommand(nCommand);
}

void CRoomViewItem::OnUserMenuCommand(UINT nID)
{
    OnUserCommand(nID);
}

void CRoomViewItem::OnUserCommand(UINT nCommandID)
{
    // The target is kept by id: he may have left since the menu opened.
    CUserItem* pUserItem = SearchUser(m_dwMenuTarget);
    if (pUserItem == NULL)
        return;
    switch (nCommandID) {
    case IDM_USER_WHISPER: OpenWhisperWindow(pUserItem->GetUserID(), true); break;
    case IDM_USER_COPY_NAME: RunUserCommand(3, m_dwMenuTarget); break;
    case IDM_USER_TALK: RunUserCommand(5, m_dwMenuTarget); break;
    case IDM_USER_CANCEL_TALK:
        if (m_pSidePanel != NULL)
            m_pSidePanel->SetChatPartner(0);
        break;
    case IDM_USER_SEAT: RunUserCommand(1, m_dwMenuTarget); break;
    case IDM_USER_INVITE: RunUserCommand(4, m_dwMenuTarget); break;
    case IDM_USER_FIND: RunUserCommand(2, m_dwMenuTarget); break;
    case IDM_USER_FRIEND: RunUserCommand(8, m_dwMenuTarget); break;
    case IDM_USER_DISLIKE: RunUserCommand(9, m_dwMenuTarget); break;
    case IDM_USER_KICK: RunUserCommand(7, m_dwMenuTarget); break;
    case IDM_USER_DETAILS: {
        CPoint point;
        GetCursorPos(&point);
        ShowPlayerInfo(pUserItem, CRect(point, CSize(0, 0)));
        break;
    }
    case IDM_USER_BIG_FACE: RunUserCommand(10, m_dwMenuTarget); break;
    default: break;
    }
}

LRESULT CRoomViewItem::OnUserCommandMessage(WPARAM wParam, LPARAM lParam)
{
    return RunUserCommand(int(wParam), DWORD(lParam)) ? 1 : 0;
}

bool CRoomViewItem::RunUserCommand(int nNumber, DWORD dwUserID)
{
    CUserItem* pUserItem = SearchUser(dwUserID);
    CUserItem* pMe = GetMeUserItem();
    if (pUserItem == NULL || pMe == NULL)
        return false;
    const bool bSelf = pUserItem == pMe;
    switch (nNumber) {
    case 1: ShowUserSeat(pUserItem); return true;
    case 2: ShowFindUserDlg(); return true;
    case 3: {
        CString strNick = NickName(pUserItem);
        g_GlobalUnits.CopyToClipboard(strNick);
        if (m_pSidePanel != NULL)
            m_pSidePanel->SetChatInputText(strNick);
        return true;
    }
    case 4: InviteUser(pUserItem); return true;
    case 5:
        if (!bSelf && m_pSidePanel != NULL)
            m_pSidePanel->SetChatPartner(dwUserID);
        return !bSelf;
    case 7: KickUser(pUserItem); return true;
    case 8: return !bSelf && ToggleCompanion(pUserItem, 1);
    case 9:
        // Only the dislike: the large face is a command of its own.
        return !bSelf && ToggleCompanion(pUserItem, 2);
    case 10:
        if (s_pDialogs != NULL)
            s_pDialogs->ShowLargeFace(this, pUserItem);
        return true;
    default: return false;
    }
}

void CRoomViewItem::ShowUserSeat(CUserItem* pUserItem)
{
    const tagUserData* pData = pUserItem->GetUserData();
    if (pData->wTableID >= m_TableFrame.GetTableCount())
        return;
    m_TableFrame.SetIdentifyTable(pData->wTableID);
    m_TableFrame.EnsureVisibleTable(pData->wTableID);
    if (pUserItem->GetStatus() != USER_STATUS_LOOKON && pData->wChairID < m_TableFrame.GetChairCount())
        m_TableFrame.FlashChair(pData->wTableID, pData->wChairID);
    else
        m_TableFrame.FlashTable(pData->wTableID);
}

void CRoomViewItem::InviteUser(CUserItem* pUserItem)
{
    CUserItem* pMe = GetMeUserItem();
    if (m_dwRoomState != ROOM_STATE_READY || m_pDataCenter == NULL || pMe == NULL || !pMe->IsSeated() ||
        pMe->GetStatus() == USER_STATUS_PLAY)
        return;
    // The line says what happened, not what was asked.
    if (m_pDataCenter->SendInvite(pMe->GetUserData()->wTableID, pUserItem->GetUserID()))
        InsertSystemText("成功发送用户邀请命令");
}

void CRoomViewItem::KickUser(CUserItem* pUserItem)
{
    CUserItem* pMe = GetMeUserItem();
    const LONG lOwnLevel = LONG(pMe->GetUserData()->dwRank);
    if (lOwnLevel <= LONG(pUserItem->GetUserData()->dwRank) || lOwnLevel < 1 || lOwnLevel > 6)
        return;
    if (pMe->GetStatus() < USER_STATUS_SIT) {
        ShowMessageBox("您未坐到桌子上，不能踢人！", MB_ICONINFORMATION);
        return;
    }
    if (pUserItem->GetUserData()->wTableID != pMe->GetUserData()->wTableID) {
        ShowMessageBox("玩家未和您坐到同一张桌子上，不能踢除该玩家！", MB_ICONINFORMATION);
        return;
    }
    if (m_wRoomType == ROOM_TYPE_GAME_COIN) {
        ShowMessageBox("该房间为金蛋房间，不容许踢人！", MB_ICONINFORMATION);
        return;
    }
    if (m_wRoomType == ROOM_TYPE_SECOND_CURRENCY) {
        ShowMessageBox("该房间为金豆房间，不容许踢人！", MB_ICONINFORMATION);
        return;
    }
    if (m_pDataCenter != NULL)
        m_pDataCenter->SendKickUser(pUserItem->GetUserID());
}

bool CRoomViewItem::ToggleCompanion(CUserItem* pUserItem, BYTE cbRelation)
{
    tagUserData* pData = pUserItem->GetUserData();
    const bool bSet = pData->cbRelation != cbRelation;
    pData->cbRelation = bSet ? cbRelation : 0;
    tagCompanionItem item;
    memset(&item, 0, sizeof(item));
    const tagCompanionItem* pKnown = bSet ? NULL : g_GlobalOption.GetCompanionItem(pUserItem->GetUserID());
    if (pKnown != NULL)
        item = *pKnown;
    item.dwUserID = pUserItem->GetUserID();
    item.wFaceID = pData->wFaceID;
    item.dwCompanion = pData->cbRelation;
    memcpy(item.szNickName, pData->szNickName, sizeof(item.szNickName));
    item.szNickName[sizeof(item.szNickName) - 1] = '\0';
    g_GlobalOption.CallCompanionUpdate(&item);
    OnUserItemUpdate(pUserItem);
    if (bSet && cbRelation == 2) {
        CString strLine;
        strLine.Format("[ %s ] 设置为厌恶玩家，系统将屏蔽他的一切聊天消息", (LPCSTR)NickName(pUserItem));
        InsertSystemText(strLine);
    }
    return true;
}

DWORD CRoomViewItem::GetWhisperPartner(int nIndex) const
{
    return nIndex >= 0 && nIndex < m_nWhisperCount ? m_WhisperUsers[nIndex] : 0;
}

int CRoomViewItem::OpenWhisperWindow(DWORD dwUserID, bool bCreate)
{
    if (s_pDialogs == NULL)
        return -1;
    int nIndex = -1;
    for (int i = 0; i < m_nWhisperCount && nIndex < 0; ++i) {
        if (m_WhisperUsers[i] == dwUserID)
            nIndex = i;
    }
    if (nIndex < 0 && bCreate) {
        for (int i = 0; i < m_nWhisperCount && nIndex < 0; ++i) {
            if (!s_pDialogs->IsWhisperWindow(i))
                nIndex = i;
        }
        for (int i = 0; i < m_nWhisperCount && nIndex < 0; ++i) {
            if (!s_pDialogs->IsWhisperVisible(i))
                nIndex = i;
        }
        if (nIndex < 0 && m_nWhisperCount < MAX_WHISPER_WINDOWS)
            nIndex = m_nWhisperCount++;
        if (nIndex < 0) {
            ShowMessageBox("短信息窗口太多了，请关闭部分短信息窗口再试！", MB_ICONINFORMATION);
            return -1;
        }
    }
    if (nIndex < 0)
        return -1;
    if (!s_pDialogs->IsWhisperWindow(nIndex) && !s_pDialogs->CreateWhisperWindow(this, nIndex))
        return -1;
    m_WhisperUsers[nIndex] = dwUserID;
    s_pDialogs->ShowWhisper(nIndex, dwUserID, NULL, 0);
    return nIndex;
}

void CRoomViewItem::ShowPlayerInfo(CUserItem* pUserItem, const CRect& rect)
{
    if (!CanShowUserDetails())
        return;
    if (pUserItem == NULL) {
        if (GetMessageProxy() != NULL)
            GetMessageProxy()->InsertPlainText(kUserLeft, RGB(0, 0, 0), TRUE);
        return;
    }
    CUserItem* pMe = GetMeUserItem();
    const bool bSelf = pUserItem == pMe;
    const DWORD dwPartner = m_pSidePanel != NULL ? m_pSidePanel->GetChatPartner() : 0;
    const tagUserData* pData = pUserItem->GetUserData();
    const LONG lOwnLevel = LONG(pMe->GetUserData()->dwRank);
    DWORD dwPermissions = 0;
    if (!bSelf && pMe->GetStatus() != USER_STATUS_PLAY && pMe->IsSeated() && pUserItem->GetStatus() < USER_STATUS_PLAY)
        dwPermissions |= PLAYER_ALLOW_INVITE;
    if (!bSelf && dwPartner != pUserItem->GetUserID())
        dwPermissions |= PLAYER_ALLOW_TALK;
    if (dwPartner != 0)
        dwPermissions |= PLAYER_ALLOW_CANCEL_TALK;
    if (!bSelf && lOwnLevel > LONG(pData->dwRank) && lOwnLevel >= 1 && lOwnLevel <= 6 &&
        pUserItem->GetStatus() >= USER_STATUS_FREE && pUserItem->GetStatus() <= USER_STATUS_LOOKON)
        dwPermissions |= PLAYER_ALLOW_KICK;
    if (pData->cbRelation == 1)
        dwPermissions |= PLAYER_FRIEND;
    if (pData->cbRelation == 2)
        dwPermissions |= PLAYER_DISLIKED;
    if (s_pDialogs != NULL)
        s_pDialogs->ShowPlayerInfo(this, pUserItem, rect, dwPermissions);
}

void CRoomViewItem::HidePlayerInfoAway()
{
    if (s_pDialogs != NULL)
        s_pDialogs->HidePlayerInfoAway(this);
}

void CRoomViewItem::ShowFindUserDlg()
{
    if (s_pDialogs != NULL)
        s_pDialogs->ShowFindUser(this);
}

bool CRoomViewItem::UseOwnedItem(WORD wItemKind)
{
    CUserItem* pMe = GetMeUserItem();
    if (pMe == NULL || m_pDataCenter == NULL)
        return false;
    const bool bQualifying = m_wRoomType == QUALIFYING_ROOM_TYPE;
    const LONG lScore = LONG(pMe->GetUserData()->dwScore[0]);
    const DWORD dwFlees = pMe->GetUserData()->dwScore[4];
    const char* pszRefusal = NULL;
    switch (wItemKind) {
    case 1: return false; // the loudspeaker has a dialog of its own
    case 7:
        pszRefusal = bQualifying   ? "该道具为非海选场专用，您在海选房间中，不能使用该功能！"
                     : lScore >= 0 ? "您的积分不为负分，不能使用该功能！"
                                   : NULL;
        break;
    case 8:
        pszRefusal = bQualifying  ? "该道具为非海选场专用，您在海选房间中，不能使用该功能！"
                     : lScore < 1 ? "您的积分不为正分，不能使用该功能！"
                                  : NULL;
        break;
    case 9:
        pszRefusal = bQualifying   ? "该道具为非海选场专用，您在海选房间中，不能使用该功能！"
                     : dwFlees < 1 ? "您的逃跑率为0，不能使用该功能！"
                                   : NULL;
        break;
    case 16:
        pszRefusal = !bQualifying  ? "该道具为海选场专用，您在非海选房间中，不能使用该功能！"
                     : lScore >= 0 ? "您的积分不为负分，不能使用该功能！"
                                   : NULL;
        break;
    case 17:
        pszRefusal = !bQualifying  ? "该道具为海选场专用，您在非海选房间中，不能使用该功能！"
                     : dwFlees < 1 ? "您的逃跑率为0，不能使用该功能！"
                                   : NULL;
        break;
    default:
        if (wItemKind > 1000)
            pszRefusal = "请您在游戏中使用该道具！";
        break;
    }
    if (pszRefusal != NULL) {
        AfxMessageBox(pszRefusal, MB_ICONINFORMATION);
        return false;
    }
    return m_pDataCenter->SendUseItem(wItemKind);
}

void CRoomViewItem::LoadRoomPassword()
{
    m_strRoomPassword.Empty();
    if (m_pGameRoom == NULL)
        return;
    CRoomPassFile file(
        CRoomPassFile::PathOfUser(g_GlobalUnits.GetWorkDirectory(), g_GlobalUnits.GetGlobalUserData()->dwUserID));
    m_strRoomPassword = file.Load(LOWORD(m_pGameRoom->GetId()), g_GlobalUnits.GetGlobalUserData()->dwUserID);
}

void CRoomViewItem::SaveRoomPassword(LPCSTR pszPassword)
{
    if (m_pGameRoom == NULL || pszPassword == NULL || *pszPassword == '\0')
        return;
    CRoomPassFile file(
        CRoomPassFile::PathOfUser(g_GlobalUnits.GetWorkDirectory(), g_GlobalUnits.GetGlobalUserData()->dwUserID));
    file.Save(LOWORD(m_pGameRoom->GetId()), g_GlobalUnits.GetGlobalUserData()->dwUserID, pszPassword);
}

void CRoomViewItem::ForgetRoomPassword()
{
    if (m_pGameRoom == NULL || m_strRoomPassword.IsEmpty())
        return;
    CRoomPassFile file(
        CRoomPassFile::PathOfUser(g_GlobalUnits.GetWorkDirectory(), g_GlobalUnits.GetGlobalUserData()->dwUserID));
    file.Forget(LOWORD(m_pGameRoom->GetId()));
    m_strRoomPassword.Empty();
}
