// What room messages hand on to a running game client: the own user and a
// neighbour sit at table 3, the client runs with a window.
#include "RoomTestSupport.h"

namespace
{

struct tagClientCase
{
    const char* pszName;
    WORD wMainCmdID;
    WORD wSubCmdID;
    CWireBytes Body;
    const char* pszKind; // what the client gets
    WORD wSubToClient;
    CWireBytes ToClient;
};

} // namespace

class RoomClientTest : public RoomTest
{
protected:
    void SetUp() override
    {
        RoomTest::SetUp();
        LogOn();
        EnterUser(2002, "邻居", 0);
        EnterUser(3003, "远方", 0);
        User(kOwnUserID)->GetUserData()->wTableID = 3;
        User(2002)->GetUserData()->wTableID = 3;
        User(3003)->GetUserData()->wTableID = 8;
        HANDLE hProcess = NULL;
        DuplicateHandle(GetCurrentProcess(), GetCurrentProcess(), GetCurrentProcess(), &hProcess, 0, FALSE,
                        DUPLICATE_SAME_ACCESS);
        m_pDataCenter->GetProcessInformation()->hProcess = hProcess;
        AttachClient();
        m_pDataCenter->SetGameState(GAME_STATE_SWITCHED);
        m_Client.Sent.clear();
    }
};

TEST_F(RoomClientTest, MessagesForTheOwnTableReachTheClient)
{
    std::vector<BYTE> speaker(1024 + 8 + 32, 0);
    memcpy(&speaker[0], "喇叭", strlen("喇叭"));
    memcpy(&speaker[1032], "邻居", strlen("邻居"));
    const tagClientCase cases[] = {
        {"score", 1002, 1006, RoomBody::UserScore(2002, 1), "channel", 3, RoomBody::UserScore(2002, 1)},
        {"value", 1007, 1001, CWireBytes().U32(2002).U32(9), "channel", 1, CWireBytes().U32(2002).U32(9)},
        {"game record", 1002, 1018, CWireBytes().U32(7).U16(1).U32(2).U32(3), "channel", 7,
         CWireBytes().U32(7).U16(1).U16(0).U32(2).U32(3)},
        {"room flags", 1002, 1024, CWireBytes().U32(0).U32(2), "channel", 1,
         CWireBytes().U32(kOwnUserID).Count(1).U16(113).Str("2")},
        {"table flags", 1003, 1003, CWireBytes().U16(3).U32(4), "protocol", 901, CWireBytes().U8(1)},
        {"team", 1002, 1033, CWireBytes().U8(2), "protocol", 803, CWireBytes().U8(2)},
        {"speaker", 1002, 1009, RoomBody::Speaker(2002, "喇叭"), "protocol", 301, CWireBytes().Bytes(speaker)},
        {"leave", 1002, 1011, CWireBytes().U32(2002), "channel", 2, CWireBytes().U32(2002).U32(0)},
    };
    for (const tagClientCase& c : cases) {
        SCOPED_TRACE(c.pszName);
        m_Client.Sent.clear();
        SendAndSettle(c.wMainCmdID, c.wSubCmdID, c.Body);
        std::vector<tagToClient> sent = m_Client.Of(c.pszKind, c.wSubToClient);
        ASSERT_EQ(1u, sent.size());
        EXPECT_EQ(c.ToClient.Vector(), sent[0].Data);
    }
    EXPECT_EQ(2u, m_pDataCenter->GetFirstFlag());

    // A speed test the client asked for is answered to the client.
    m_Client.Sent.clear();
    ASSERT_TRUE(m_pDataCenter->SendSpeedTest(2002, 0));
    ASSERT_TRUE(PumpUntil([&] { return !m_Server.GetRequests(ROOM_MAIN_ROOM, ROOM_SUB_SPEED_TEST).empty(); }));
    DWORD dwSerial = m_Server.GetRequests(ROOM_MAIN_ROOM, ROOM_SUB_SPEED_TEST)[0].dwSerialNum;
    SendAndSettle(ROOM_MAIN_ROOM, ROOM_SUB_S_SPEED_ANSWER, CWireBytes().U32(2002).U32(50), dwSerial);
    ASSERT_EQ(1u, m_Client.Of("protocol", 603).size());
    EXPECT_EQ(CWireBytes().U32(2002).U32(50).Vector(), m_Client.Of("protocol", 603)[0].Data);
    EXPECT_EQ(0u, m_Recorder.Count(RN_SPEED_RESULT));
}

TEST_F(RoomClientTest, OtherTablesStayWithTheRoom)
{
    SendAndSettle(ROOM_MAIN_ROOM, ROOM_SUB_S_USER_SCORE, RoomBody::UserScore(3003, 1));
    SendAndSettle(ROOM_MAIN_VALUE, VALUE_SUB_S_USER_VALUE, CWireBytes().U32(3003).U32(9));
    SendAndSettle(ROOM_MAIN_TABLE, TABLE_SUB_S_TABLE_FLAGS, CWireBytes().U16(8).U32(4));
    SendAndSettle(ROOM_MAIN_ROOM, ROOM_SUB_S_USER_LEAVE, CWireBytes().U32(3003));
    EXPECT_EQ(0u, m_Client.Sent.size());
    EXPECT_EQ(1u, m_Recorder.Count(RN_USER_SCORE));
}

TEST_F(RoomClientTest, UserTextsFillTheirFieldsAndReachTheClient)
{
    SendAndSettle(ROOM_MAIN_ROOM, ROOM_SUB_S_USER_TEXTS, RoomBody::UserTexts(2002));
    EXPECT_STREQ("名字", User(2002)->GetUserData()->szName);
    EXPECT_EQ(256u, User(2002)->GetUserData()->dwRank);
    EXPECT_STREQ("签名", User(2002)->GetUserData()->szKey15);
    ASSERT_EQ(1u, m_Recorder.Count(RN_USER_REFRESH));
    EXPECT_EQ(2002u, m_Recorder.Of(RN_USER_REFRESH)[0].As<DWORD>());
    ASSERT_EQ(1u, m_Client.Of("user", 1).size());
    EXPECT_EQ(2002u, m_Client.Of("user", 1)[0].dwUserID);
}

TEST_F(RoomClientTest, NeighbourTakingASeatIsSentToTheClient)
{
    SendAndSettle(ROOM_MAIN_ROOM, ROOM_SUB_S_USER_STATUS, RoomBody::UserStatus(3003, 3, 2, 1));
    ASSERT_EQ(1u, m_Client.Of("user", 1).size());
    EXPECT_EQ(3003u, m_Client.Of("user", 1)[0].dwUserID);
    std::vector<tagToClient> statuses = m_Client.Of("channel", 2);
    ASSERT_EQ(1u, statuses.size());
    EXPECT_EQ(CWireBytes().U32(3003).U16(0).U8(USER_STATUS_SIT).U8(0).Vector(), statuses[0].Data);
}

TEST_F(RoomClientTest, MatchStateOnlyInMatchRooms)
{
    SendAndSettle(ROOM_MAIN_ROOM, ROOM_SUB_S_MATCH_STATE, CWireBytes().U8(0));
    EXPECT_EQ(0u, m_Recorder.Count(RN_MATCH_STATE));
    SetRoomRule(0x1000);
    SendAndSettle(ROOM_MAIN_ROOM, ROOM_SUB_S_MATCH_STATE, CWireBytes().U8(0));
    EXPECT_EQ(1u, m_Recorder.Count(RN_MATCH_STATE));
    EXPECT_EQ(1u, m_Recorder.Count(RN_MATCH_FLAG));
    EXPECT_EQ(1, m_pDataCenter->GetMatchFlag());
    // The running client is shown again with its table's users.
    EXPECT_EQ(1u, m_Client.Of("channel", 10).size());
    EXPECT_EQ(0u, m_Client.Of("match", 801).size()) << "the match description goes to match rooms only";
    std::vector<tagToClient> users = m_Client.Of("user", 1);
    ASSERT_EQ(2u, users.size());
    ASSERT_TRUE(m_pDataCenter->CancelMatchFlag());
    EXPECT_EQ(0, m_pDataCenter->GetMatchFlag());
}
