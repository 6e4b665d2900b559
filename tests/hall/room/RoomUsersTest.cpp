// The room's users as the room server reports them: entering, status
// translation, the game client's start, anonymous rooms, leaving, and the
// attribute lists.
#include "RoomTestSupport.h"

TEST_F(RoomTest, SecondEnterKeepsTheItem)
{
    LogOn();
    EnterUser(2002, "first", 3);
    CUserItem* pItem = User(2002);
    ASSERT_NE(nullptr, pItem);
    EXPECT_EQ(USER_STATUS_FREE, pItem->GetStatus());
    EXPECT_EQ(INVALID_TABLE, pItem->GetUserData()->wTableID);
    EXPECT_EQ(0xFFFF, pItem->GetUserData()->wFaceID);
    EnterUser(2002, "second", 9);
    EXPECT_EQ(pItem, User(2002));
    EXPECT_STREQ("first", pItem->GetUserData()->szNickName);
    EXPECT_EQ(3u, pItem->GetUserData()->dwRank);
    EXPECT_EQ(2u, m_Recorder.Count(RN_USER_ENTER));
}

TEST_F(RoomTest, StatusIsTranslatedAndTheFlagIsNoSeat)
{
    LogOn();
    EnterUser(2002, "other", 0);
    // (server status word, local status in the notice and the item)
    const DWORD rows[][2] = {{4, 5}, {7, 0}, {0, 1}, {0x100, 0x11}};
    for (const auto& row : rows) {
        SendAndSettle(ROOM_MAIN_ROOM, ROOM_SUB_S_USER_STATUS, RoomBody::UserStatus(2002, 1, 1, row[0]));
        tagRoomUserStatus notice = m_Recorder.Of(RN_USER_STATUS).back().As<tagRoomUserStatus>();
        EXPECT_EQ(row[1], notice.cbStatus) << row[0];
        EXPECT_EQ(0, notice.wExtra);
        EXPECT_EQ(row[1], User(2002)->GetUserData()->cbUserStatus) << row[0];
    }
    // The own user, free with the flag, is still free: no game client.
    SendAndSettle(ROOM_MAIN_ROOM, ROOM_SUB_S_USER_STATUS, RoomBody::UserStatus(kOwnUserID, 0xFFFF, 0xFFFF, 0x100));
    EXPECT_EQ(0x11, m_pDataCenter->GetUserManager()->GetMeUserItem()->GetUserData()->cbUserStatus);
    EXPECT_EQ(0, int(Launches()));
    EXPECT_EQ(0u, m_Recorder.Count(RN_GAME_CLIENT));
    // Unknown users are dropped outside match rooms.
    SendAndSettle(ROOM_MAIN_ROOM, ROOM_SUB_S_USER_STATUS, RoomBody::UserStatus(9999, 1, 1, 1));
    EXPECT_EQ(nullptr, User(9999));
}

TEST_F(RoomTest, OwnSitDownFromFreeStartsTheClientOnce)
{
    LogOn();
    ASSERT_TRUE(m_pDataCenter->SendSitDown(2, 1, ""));
    EXPECT_EQ(GAME_STATE_REQUESTED, m_pDataCenter->GetGameState());
    SendAndSettle(ROOM_MAIN_ROOM, ROOM_SUB_S_USER_STATUS, RoomBody::UserStatus(kOwnUserID, 2, 1, 1));
    EXPECT_EQ(1, int(Launches()));
    EXPECT_EQ(GAME_STATE_STARTED, m_pDataCenter->GetGameState());
    EXPECT_EQ(std::vector<LPARAM>({GAME_CLIENT_POST_DONE, GAME_CLIENT_POST_STARTING}), ClientPosts());
    EXPECT_TRUE(m_Recorder.Of(RN_GAME_CLIENT)[1].bPosted);
    // Ready, then playing, while the client is starting: nothing more.
    AttachClient();
    SendAndSettle(ROOM_MAIN_ROOM, ROOM_SUB_S_USER_STATUS, RoomBody::UserStatus(kOwnUserID, 2, 1, 2));
    SendAndSettle(ROOM_MAIN_ROOM, ROOM_SUB_S_USER_STATUS, RoomBody::UserStatus(kOwnUserID, 2, 1, 4));
    EXPECT_EQ(1, int(Launches()));
    // The client hears each status of the own user.
    std::vector<tagToClient> statuses = m_Client.Of("channel", 2);
    ASSERT_EQ(2u, statuses.size());
    EXPECT_EQ(CWireBytes().U32(kOwnUserID).U16(0).U8(5).U8(0).Vector(), statuses.back().Data);
}

TEST_F(RoomTest, AnonymousRoomsHideOtherNicknamesFromOrdinaryUsers)
{
    LogOn();
    SetRoomRule(0x100);
    EnterUser(2002, "真名", 0);
    EXPECT_STREQ("游戏玩家", User(2002)->GetUserData()->szNickName);
    m_pDataCenter->GetUserManager()->GetMeUserItem()->GetUserData()->dwRank = 256;
    EnterUser(3003, "看得见", 0);
    EXPECT_STREQ("看得见", User(3003)->GetUserData()->szNickName);
    // The attribute lists follow the same rule.
    m_pDataCenter->GetUserManager()->GetMeUserItem()->GetUserData()->dwRank = 0;
    SendAndSettle(ROOM_MAIN_ROOM, ROOM_SUB_S_USER_CHANGES, RoomBody::UserChanges(3003));
    EXPECT_STREQ("游戏玩家", User(3003)->GetUserData()->szNickName);
}

TEST_F(RoomTest, LeaveIsReportedBeforeTheItemGoes)
{
    LogOn();
    EnterUser(2002, "leaver", 0);
    SendAndSettle(ROOM_MAIN_ROOM, ROOM_SUB_S_USER_STATUS, RoomBody::UserStatus(2002, 4, 2, 1));
    bool bItemThere = false;
    m_Recorder.OnHeard = [&](const tagRoomHeard& heard) {
        if (heard.wMainCmdID == 3 && heard.wSubCmdID == 2)
            bItemThere = User(2002) != nullptr;
    };
    SendAndSettle(ROOM_MAIN_ROOM, ROOM_SUB_S_USER_LEAVE, CWireBytes().U32(2002));
    m_Recorder.OnHeard = nullptr;
    tagRoomUserStatus notice = m_Recorder.Of(RN_USER_STATUS).back().As<tagRoomUserStatus>();
    EXPECT_EQ(2002u, notice.dwUserID);
    EXPECT_EQ(4, notice.wTableID);
    EXPECT_EQ(2, notice.wChairID);
    EXPECT_EQ(USER_STATUS_GONE, notice.cbStatus);
    EXPECT_TRUE(bItemThere);
    EXPECT_EQ(nullptr, User(2002));
}

TEST_F(RoomTest, OwnUserLeavingClearsTheOwnItem)
{
    LogOn();
    SendAndSettle(ROOM_MAIN_ROOM, ROOM_SUB_S_USER_LEAVE, CWireBytes().U32(kOwnUserID));
    EXPECT_EQ(nullptr, m_pDataCenter->GetUserManager()->GetMeUserItem());
    // Requests that need the own user refuse rather than read a freed item.
    EXPECT_FALSE(m_pDataCenter->SendRoomChat(0, "x", 0));
}

TEST_F(RoomTest, UserListAddsUsersAndTellsTheClientAtTheOwnTable)
{
    LogOn();
    m_pDataCenter->GetUserManager()->GetMeUserItem()->GetUserData()->wTableID = 3;
    HANDLE hProcess = NULL;
    DuplicateHandle(GetCurrentProcess(), GetCurrentProcess(), GetCurrentProcess(), &hProcess, 0, FALSE,
                    DUPLICATE_SAME_ACCESS);
    m_pDataCenter->GetProcessInformation()->hProcess = hProcess;
    m_pDataCenter->SetGameState(GAME_STATE_ATTACHED);
    m_Client.Sent.clear();
    SendAndSettle(ROOM_MAIN_ROOM, ROOM_SUB_S_USER_LIST, RoomBody::UserList(2002));
    ASSERT_NE(nullptr, User(2002));
    EXPECT_STREQ("名", User(2002)->GetUserData()->szNickName);
    EXPECT_EQ(5u, User(2002)->GetUserData()->dwRank);
    EXPECT_EQ(3, User(2002)->GetUserData()->wTableID);
    EXPECT_EQ(USER_STATUS_SIT, User(2002)->GetStatus());
    EXPECT_STREQ("甲", User(2002)->GetExtra()->szText1);
    EXPECT_STREQ("乙", User(2002)->GetExtra()->szText2);
    EXPECT_EQ(1u, m_Recorder.Count(RN_USER_LIST));
    // The whole user as it takes its seat at the own table, then what the list changed.
    std::vector<tagToClient> descriptions = m_Client.Of("channel", 1);
    ASSERT_EQ(2u, descriptions.size()) << m_Client.Keys();
    EXPECT_EQ(2002u, m_Client.Of("user", 1)[0].dwUserID);
    EXPECT_EQ(CWireBytes()
                  .U32(2002)
                  .Count(5)
                  .U16(3)
                  .Str("5")
                  .U16(4)
                  .Str("名")
                  .U16(104)
                  .Str("1200")
                  .U16(122)
                  .Str("甲")
                  .U16(124)
                  .Str("乙")
                  .Vector(),
              descriptions[1].Data);
    std::vector<tagToClient> scores = m_Client.Of("channel", 3);
    ASSERT_EQ(1u, scores.size());
    EXPECT_EQ(28u, scores[0].Data.size());
}

TEST_F(RoomTest, OwnSeatInAUserListStartsTheClientAndTheFlagsFollow)
{
    LogOn();
    // The own user seated, with the room's two flags (bits 27 and 28).
    CWireBytes own;
    own.U32(kOwnUserID).U16(5).U16(0).U32(1).Bytes(RoomBody::Attributes({(1u << 27) | (1u << 28)}).Vector());
    own.U32(0).U32(7);
    SendAndSettle(ROOM_MAIN_ROOM, ROOM_SUB_S_USER_LIST, CWireBytes().U16(1).Bytes(own.Vector()));
    EXPECT_EQ(1, int(Launches()));
    EXPECT_EQ(USER_STATUS_SIT, m_pDataCenter->GetUserManager()->GetMeUserItem()->GetStatus());
    EXPECT_FALSE(m_pDataCenter->CanSpeak());
    EXPECT_EQ(7u, m_pDataCenter->GetFirstFlag());
    SendAndSettle(ROOM_MAIN_ROOM, ROOM_SUB_S_USER_LIST, CWireBytes().U16(1).Bytes(own.Vector()));
    EXPECT_EQ(1, int(Launches()));
    EXPECT_EQ(2u, m_Recorder.Count(RN_USER_LIST));
}
