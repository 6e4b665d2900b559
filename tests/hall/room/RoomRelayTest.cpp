// The game relay through the scripted room server: the client's requests as
// they reach the server, and the server's game traffic as it reaches the
// client's side of the channel.
#include "GameRelayTranslator.h"
#include "RoomTestSupport.h"

namespace
{

struct tagWireFrame
{
    WORD wMain;
    WORD wSub;
    CWireBytes Body;
};

CWireBytes Relayed(WORD wKind, WORD wSub, const CWireBytes& body)
{
    return CWireBytes().U16(wKind).U16(wSub).Bytes(body.Vector());
}

} // namespace

class RoomRelayTest : public RoomTest
{
protected:
    void SetUp() override
    {
        RoomTest::SetUp();
        LogOn();
        // The table status request that follows the logon is on the wire
        // before any request of the test.
        ASSERT_TRUE(PumpUntil([&] {
            for (const tagServerFrame& frame : m_Server.GetFrames()) {
                if (frame.wMainCmdID == ROOM_MAIN_TABLE && frame.wSubCmdID == ROOM_SUB_TABLE_STATUS)
                    return true;
            }
            return false;
        }));
        m_pDataCenter->SetGameState(GAME_STATE_ATTACHED);
        m_Client.Sent.clear();
    }

    bool Request(const CWireBytes& data, WORD wMain = 1, WORD wSub = 1)
    {
        tagIPCHead head = {IPC_VERSION, WORD(data.Size()), wMain, wSub};
        return m_pDataCenter->OnChannelMessage(&head, data.Data(), WORD(data.Size()), m_MainWnd.GetSafeHwnd());
    }

    // The frames the server got after the first nFrom, less the settling
    // marker's answer.
    std::vector<tagServerFrame> FramesAfter(size_t nFrom)
    {
        SendAndSettle(ROOM_MAIN_ROOM, ROOM_SUB_S_ECHO, CWireBytes().U32(1));
        std::vector<tagServerFrame> frames = m_Server.GetFrames();
        std::vector<tagServerFrame> result;
        for (size_t i = nFrom; i < frames.size(); ++i) {
            if (frames[i].wMainCmdID != ROOM_MAIN_ROOM || frames[i].wSubCmdID != ROOM_SUB_ECHO)
                result.push_back(frames[i]);
        }
        return result;
    }

    std::vector<tagToClient> ToClient() const { return m_Client.Of("channel", GAME_SUB_TRAFFIC); }
};

TEST_F(RoomRelayTest, ClientRequestsReachTheServerInOrder)
{
    const struct
    {
        const char* pszName;
        CWireBytes Data;
        std::vector<tagWireFrame> Frames;
    } rows[] = {
        {"kind 100", Relayed(100, 55, CWireBytes({1, 2, 3})), {{1005, 55, CWireBytes({1, 2, 3})}}},
        {"sub 1", Relayed(101, 1, CWireBytes({9, 8})), {{1004, 7, CWireBytes({9})}, {1004, 3, CWireBytes({9, 8})}}},
        {"sub 201", Relayed(101, 201, CWireBytes().U32(4).U8(1)), {{1004, 8, CWireBytes().U32(4).U8(1)}}},
        {"sub 901", Relayed(101, 901, CWireBytes({0})), {{1004, 15, CWireBytes()}}},
        {"sub 300", Relayed(101, 300, CWireBytes()), {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.pszName);
        size_t nFrom = m_Server.GetFrameCount();
        EXPECT_TRUE(Request(row.Data));
        std::vector<tagServerFrame> frames = FramesAfter(nFrom);
        ASSERT_EQ(row.Frames.size(), frames.size());
        for (size_t i = 0; i < frames.size(); ++i) {
            EXPECT_EQ(row.Frames[i].wMain, frames[i].wMainCmdID);
            EXPECT_EQ(row.Frames[i].wSub, frames[i].wSubCmdID);
            EXPECT_EQ(row.Frames[i].Body.Vector(), frames[i].Body);
        }
    }
}

TEST_F(RoomRelayTest, ChatIsSwallowedInAnonymousRooms)
{
    SetRoomRule(0x100);
    size_t nFrom = m_Server.GetFrameCount();
    CWireBytes chat = CWireBytes().U16(2).U16(0).U32(1).U32(2).U32(3).U32(0).Raw("hi", 2);
    EXPECT_TRUE(Request(Relayed(101, 200, chat)));
    EXPECT_TRUE(FramesAfter(nFrom).empty());
}

TEST_F(RoomRelayTest, MalformedRequestsAreRefusedAndTheRelayGoesOn)
{
    const struct
    {
        const char* pszName;
        CWireBytes Data;
        WORD wMain;
        WORD wSub;
    } rows[] = {
        {"short head", CWireBytes({101, 0, 1}), 1, 1},
        {"sub 2 of main 1", Relayed(100, 1, CWireBytes({1})), 1, 2},
        {"kind 102", Relayed(102, 1, CWireBytes({1})), 1, 1},
        {"no row", Relayed(101, 3, CWireBytes({1})), 1, 1},
        {"short 201", Relayed(101, 201, CWireBytes().U32(4)), 1, 1},
        {"short 702", Relayed(101, 702, CWireBytes().Fill(35, 'p')), 1, 1},
    };
    size_t nFrom = m_Server.GetFrameCount();
    for (const auto& row : rows)
        EXPECT_FALSE(Request(row.Data, row.wMain, row.wSub)) << row.pszName;
    EXPECT_TRUE(FramesAfter(nFrom).empty());
    EXPECT_EQ(GAME_STATE_ATTACHED, m_pDataCenter->GetGameState());

    nFrom = m_Server.GetFrameCount();
    EXPECT_TRUE(Request(Relayed(101, 2, CWireBytes({4}))));
    std::vector<tagServerFrame> frames = FramesAfter(nFrom);
    ASSERT_EQ(1u, frames.size());
    EXPECT_EQ(1, frames[0].wSubCmdID);
}

TEST_F(RoomRelayTest, ServerTrafficReachesTheClient)
{
    const struct
    {
        const char* pszName;
        WORD wMain;
        WORD wSub;
        CWireBytes Body;
        CWireBytes ToClient;
    } rows[] = {
        {"kind 100", 1005, 44, CWireBytes({5, 6}), Relayed(100, 44, CWireBytes({5, 6}))},
        {"chat", 1004, 1002, CWireBytes().U32(1).U32(2).U32(3).Str("hi"),
         Relayed(101, 200, CWireBytes().U16(2).U16(0).U32(3).U32(1).U32(2).U32(0).Raw("hi", 2))},
        {"no own table", 1004, 1007, CWireBytes().U8(5).U32(0x10008),
         Relayed(101, 100, CWireBytes().U8(5).U8(0).U16(1).U16(1).U16(8))},
        {"1015", 1004, 1015, CWireBytes().U32(3), Relayed(101, 502, CWireBytes().U32(3))},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.pszName);
        m_Client.Sent.clear();
        SendAndSettle(row.wMain, row.wSub, row.Body);
        std::vector<tagToClient> sent = ToClient();
        ASSERT_EQ(1u, sent.size());
        EXPECT_EQ(GAME_MAIN_RELAY, sent[0].wMainCmdID);
        EXPECT_EQ(row.ToClient.Vector(), sent[0].Data);
    }
    ASSERT_EQ(1u, m_Recorder.Count(RN_GAME_ROUNDS));
    EXPECT_EQ(3u, m_Recorder.Of(RN_GAME_ROUNDS)[0].As<DWORD>());
}

TEST_F(RoomRelayTest, KickOfTheOwnUserIsToldToTheRoom)
{
    SendAndSettle(1004, 1009, CWireBytes().U32(77).U32(kOwnUserID));
    ASSERT_EQ(1u, m_Recorder.Count(RN_GAME_KICKED));
    tagRoomIdValue kicked = m_Recorder.Of(RN_GAME_KICKED)[0].As<tagRoomIdValue>();
    EXPECT_EQ(kOwnUserID, kicked.dwUserID);
    EXPECT_EQ(77u, kicked.dwValue);
    SendAndSettle(1004, 1009, CWireBytes().U32(77).U32(2002));
    EXPECT_EQ(1u, m_Recorder.Count(RN_GAME_KICKED));
    EXPECT_EQ(2u, ToClient().size());
}

TEST_F(RoomRelayTest, TrafficBeforeHelloIsDroppedAndStartKeepsTheRelay)
{
    m_pDataCenter->SetGameState(GAME_STATE_STARTED);
    SendAndSettle(1005, 1, CWireBytes({1}));
    EXPECT_TRUE(ToClient().empty());

    m_pDataCenter->SetGameState(GAME_STATE_ATTACHED);
    SendAndSettle(1004, 1004, CWireBytes({1}));
    EXPECT_EQ(GAME_STATE_SWITCHED, m_pDataCenter->GetGameState());
    SendAndSettle(1005, 1, CWireBytes({2}));
    std::vector<tagToClient> sent = ToClient();
    ASSERT_EQ(2u, sent.size());
    EXPECT_EQ(Relayed(101, 102, CWireBytes({1})).Vector(), sent[0].Data);
    EXPECT_EQ(Relayed(100, 1, CWireBytes({2})).Vector(), sent[1].Data);
}
