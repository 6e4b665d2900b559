// Server messages through the room data centre: the key each body raises
// with its record, what goes to the game client, and the serial rules of
// the safe-box answers.
#include "RoomTestSupport.h"

namespace
{

// One server message and the notice it must raise.
struct tagMessageCase
{
    const char* pszName;
    WORD wMainCmdID;
    WORD wSubCmdID;
    CWireBytes Body;
    tagRoomNotifyKey Key;
    std::vector<BYTE> Record; // the notice's leading bytes
};

std::vector<BYTE> Bytes(const CWireBytes& b)
{
    return b.Vector();
}

} // namespace

TEST_F(RoomTest, ServerBodiesRaiseTheirKeysWithTheirRecords)
{
    const tagMessageCase cases[] = {
        {"sit result", 1002, 1003, CWireBytes().U32(7), RN_SIT_RESULT, Bytes(CWireBytes().U32(7))},
        {"user score", 1002, 1006, RoomBody::UserScore(2002, 10), RN_USER_SCORE, Bytes(RoomBody::UserScore(2002, 10))},
        {"chat", 1002, 1008, RoomBody::Chat(2002, 3003, 0xFF, "hi"), RN_CHAT,
         Bytes(CWireBytes().U32(0).U32(0xFF).U32(2002).U32(3003).Raw("hi", 3))},
        {"speaker", 1002, 1009, RoomBody::Speaker(2002, "loud"), RN_SPEAKER,
         Bytes(CWireBytes().U32(2002).Raw("other", 6))},
        {"invite", 1002, 1010, RoomBody::Invite(2002, 0x0105), RN_INVITE, Bytes(CWireBytes().U32(0x0105).U32(2002))},
        {"whisper", 1002, 1014, RoomBody::Whisper(2002, 0xAA, "psst"), RN_WHISPER,
         Bytes(CWireBytes().U32(4).U32(0xAA).U32(2002).Raw("psst", 5))},
        {"kicked", 1002, 1015, CWireBytes().U8(3), RN_KICKED, Bytes(CWireBytes().U32(3))},
        {"result code", 1002, 1016, CWireBytes().U32(25), RN_RESULT_CODE, Bytes(CWireBytes().U32(14))},
        {"result code 8", 1002, 1016, CWireBytes().U32(8), RN_RESULT_CODE, Bytes(CWireBytes().U32(0xFFFFFFFF))},
        {"user extension", 1002, 1019, CWireBytes().U32(2002).U32(1).U32(2).U32(3), RN_USER_REFRESH,
         Bytes(CWireBytes().U32(2002))},
        {"room state", 1002, 1020, CWireBytes().U8(1), RN_ROOM_STATE, {1}},
        {"user value", 1002, 1025, CWireBytes().U32(2002).U32(6), RN_USER_VALUE, Bytes(CWireBytes().U32(2002))},
        {"bank withdraw", 1002, 1028, CWireBytes().U32(4), RN_BANK_WITHDRAW, Bytes(CWireBytes().U32(4))},
        {"bank deposit", 1002, 1029, CWireBytes().U32(5), RN_BANK_DEPOSIT, Bytes(CWireBytes().U32(5))},
        {"bank password", 1002, 1030, CWireBytes().U32(0).U32(77), RN_BANK_PASSWORD, Bytes(CWireBytes().U32(0))},
        {"sign buttons", 1002, 1032, CWireBytes().U32(9), RN_SIGN_BUTTONS, Bytes(CWireBytes().U32(0))},
        {"sign result", 1002, 1034, CWireBytes().U32(1), RN_SIGN_RESULT, Bytes(CWireBytes().U32(9))},
        {"exchange", 1002, 1043, CWireBytes().U32(2), RN_EXCHANGE_RESULT, Bytes(CWireBytes().U32(2))},
        {"table flags", 1003, 1003, CWireBytes().U16(6).U32(5), RN_TABLE_FLAGS,
         Bytes(CWireBytes().U16(6).U8(0).U8(1).U8(1))},
        {"system text", 1003, 1004, CWireBytes().U8(1).U8(8).Str("sys"), RN_ROOM_MESSAGE,
         Bytes(CWireBytes().U8(1).U8(8).Raw("sys", 4))},
        {"table record", 1003, 1006, RoomBody::TableRecord(2, "two"), RN_TABLE_RECORD,
         Bytes(CWireBytes().U16(2).Raw("two", 4))},
        {"table change", 1003, 1009, RoomBody::TableChange(), RN_TABLE_RECORD, Bytes(CWireBytes().U16(5))},
        {"group state", 1003, 1011, CWireBytes().U16(1).U32(9).U8(2), RN_GROUP_STATE,
         Bytes(CWireBytes().U32(1).U32(kOwnUserID).U32(9).U32(2))},
        {"info done", 1003, 1001, CWireBytes(), RN_INFO_DONE, {}},
        {"match notice", 1003, 1012, CWireBytes(), RN_MATCH_NOTICE, {}},
    };
    LogOn();
    EnterUser(2002, "other", 0);
    for (const tagMessageCase& c : cases) {
        SCOPED_TRACE(c.pszName);
        size_t nBefore = m_Recorder.Count(c.Key);
        SendAndSettle(c.wMainCmdID, c.wSubCmdID, c.Body);
        ASSERT_EQ(nBefore + 1, m_Recorder.Count(c.Key)) << m_Recorder.Keys();
        const std::vector<BYTE> record = m_Recorder.Of(c.Key).back().Record;
        ASSERT_LE(c.Record.size(), record.size());
        EXPECT_EQ(c.Record, std::vector<BYTE>(record.begin(), record.begin() + c.Record.size()));
    }
    EXPECT_EQ(77u, m_pDataCenter->GetCallerValue()) << "the safe box's value is kept for its caller";
}

TEST_F(RoomTest, TableListRaisesItsCountThenEachTable)
{
    LogOn();
    SendAndSettle(ROOM_MAIN_TABLE, TABLE_SUB_S_TABLE_LIST, RoomBody::TableList());
    ASSERT_EQ(1u, m_Recorder.Count(RN_TABLE_LIST));
    EXPECT_EQ(2, m_Recorder.Of(RN_TABLE_LIST)[0].As<WORD>());
    std::vector<tagRoomHeard> entries = m_Recorder.Of(RN_TABLE_ENTRY);
    ASSERT_EQ(2u, entries.size());
    EXPECT_STREQ("一号", entries[0].As<tagRoomTableEntry>().szName);
    EXPECT_EQ(2, entries[1].As<tagRoomTableEntry>().wTableID);
    // The count notice comes before the tables.
    EXPECT_NE(std::string::npos, m_Recorder.Keys().find("(4,9)(4,10)(4,10)"));
}

TEST_F(RoomTest, MatchRoomInformationRaisesTheCurrentGroup)
{
    LogOn();
    m_Room.SetRoomKind(ROOM_KIND_MATCH);
    // Kind 4: no u32 before the match description.
    CWireBytes info;
    info.U32(77).U32(1).U16(30).U16(4).Str("w").U32(0x1000);
    info.Counted("m").U16(1).U16(2).U32(3).U16(4).U32(5).U8(6).U32(7).U16(8).U64(9).U8(1);
    info.U32(100).U8(2).U32(11).U32(0);
    SendAndSettle(ROOM_MAIN_TABLE, TABLE_SUB_S_ROOM_INFO, info);
    ASSERT_EQ(1u, m_Recorder.Count(RN_ROOM_INFO));
    ASSERT_EQ(1u, m_Recorder.Count(RN_GROUP_STATE));
    tagRoomGroupState none = m_Recorder.Of(RN_GROUP_STATE)[0].As<tagRoomGroupState>();
    EXPECT_EQ(0xFFFFu, none.dwGroupIndex);
    EXPECT_EQ(0u, none.dwValue);
    ASSERT_EQ(1u, m_Client.Of("match", 801).size());
    SendAndSettle(ROOM_MAIN_TABLE, TABLE_SUB_S_GROUP_STATE, CWireBytes().U16(0).U32(40).U8(3));
    SendAndSettle(ROOM_MAIN_TABLE, TABLE_SUB_S_ROOM_INFO, info);
    tagRoomGroupState current = m_Recorder.Of(RN_GROUP_STATE).back().As<tagRoomGroupState>();
    EXPECT_EQ(0u, current.dwGroupIndex);
    EXPECT_EQ(kOwnUserID, current.dwUserID);
    EXPECT_EQ(11u, current.dwValue) << "the new information's group";
}

TEST_F(RoomTest, SafeBoxAnswersForTheGameClientGoToIt)
{
    LogOn();
    SendAndSettle(ROOM_MAIN_ROOM, ROOM_SUB_S_BANK_PASSWORD, CWireBytes().U32(0).U32(88), ROOM_BANK_SERIAL_GAME);
    SendAndSettle(ROOM_MAIN_ROOM, ROOM_SUB_S_BANK_WITHDRAW, CWireBytes().U32(3), ROOM_BANK_SERIAL_GAME);
    EXPECT_EQ(0u, m_Recorder.Count(RN_BANK_PASSWORD));
    EXPECT_EQ(0u, m_Recorder.Count(RN_BANK_WITHDRAW));
    ASSERT_EQ(1u, m_Client.Of("protocol", 701).size());
    EXPECT_EQ(CWireBytes().U32(0).U32(88).Vector(), m_Client.Of("protocol", 701)[0].Data);
    ASSERT_EQ(1u, m_Client.Of("protocol", 702).size());
    EXPECT_EQ(CWireBytes().U32(3).U32(0).Vector(), m_Client.Of("protocol", 702)[0].Data);
    EXPECT_EQ(0u, m_pDataCenter->GetCallerValue());
}

TEST_F(RoomTest, RoomEndAndGameTrafficAndUnknownMains)
{
    LogOn();
    // Game traffic goes to an attached client, through the channel.
    m_pDataCenter->SetGameState(GAME_STATE_ATTACHED);
    SendAndSettle(ROOM_MAIN_GAME, 1001, CWireBytes().U32(1));
    SendAndSettle(ROOM_MAIN_FRAME, 7, CWireBytes());
    ASSERT_EQ(2u, m_Client.Of("channel", 2).size());
    EXPECT_EQ(CWireBytes().U16(101).U16(101).U32(1).Vector(), m_Client.Sent[0].Data);
    EXPECT_EQ(CWireBytes().U16(100).U16(7).Vector(), m_Client.Sent[1].Data);
    size_t nHeard = m_Recorder.Heard.size();
    SendAndSettle(1001, 1, CWireBytes().U32(1));
    SendAndSettle(1006, 1, CWireBytes().U32(1));
    SendAndSettle(2000, 1, CWireBytes().U32(1));
    EXPECT_EQ(nHeard, m_Recorder.Heard.size());
    m_Server.Send(ROOM_MAIN_ROOM, ROOM_SUB_S_ROOM_END);
    ASSERT_TRUE(PumpUntil([&] { return m_Recorder.Count(RN_ROOM_END) == 1; }));
    EXPECT_FALSE(m_pDataCenter->IsConnected());
    PumpFor(30);
    EXPECT_EQ(0u, m_Recorder.Count(RN_CONNECTION_CLOSED)) << "closed by the room itself";
}
