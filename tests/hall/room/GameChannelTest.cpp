// The game client's launch and channel across processes: the stand-in game
// client started through the real launch path, the real socket module and
// the scripted room server. The own user sits at table 3 with a player and
// a looker-on; another user sits elsewhere.
#include <string.h>

#include "GameClientControl.h"
#include "RoomTestSupport.h"

#include <afxtest.h>

namespace
{

const DWORD kPlayerID = 2002;
const DWORD kLookerID = 3003;
const DWORD kStrangerID = 4004;

// The kind-100 sub the tests use as a marker through the room server.
const WORD kMarkerSub = 0x4D4B;

} // namespace

class GameChannelTest : public RoomTest
{
protected:
    void SetUp() override
    {
        RoomTest::SetUp();
        SetClientMode("");
        LogOn();
        // The client's window is the stand-in's from now on.
        m_pDataCenter->SetGameWnd(NULL);
        m_pDataCenter->GetShareData()->dwGameWnd = 0;
    }

    void TearDown() override
    {
        RoomTest::TearDown();
        // The stand-ins end when the channel window is gone.
        for (HANDLE hProcess : m_Processes) {
            if (WaitForSingleObject(hProcess, 5000) != WAIT_OBJECT_0)
                TerminateProcess(hProcess, 1);
            CloseHandle(hProcess);
        }
    }

    // Room information of a room with these rules, then the table: own user
    // seated with this status, a player and a looker-on beside it.
    void SeatAtTable(DWORD dwRule, BYTE cbOwnStatus = USER_STATUS_SIT)
    {
        SetRoomRule(dwRule);
        EnterUser(kPlayerID, "player", 0);
        EnterUser(kLookerID, "looker", 0);
        EnterUser(kStrangerID, "stranger", 0);
        Seat(kOwnUserID, 3, 0, cbOwnStatus);
        Seat(kPlayerID, 3, 1, USER_STATUS_PLAY);
        Seat(kLookerID, 3, 1, USER_STATUS_LOOKON);
        Seat(kStrangerID, 8, 0, USER_STATUS_PLAY);
        SendAndSettle(ROOM_MAIN_TABLE, TABLE_SUB_S_ITEM_LIST, RoomBody::ItemList());
        SendAndSettle(ROOM_MAIN_ROOM, ROOM_SUB_S_GAME_RECORDS, RoomBody::GameRecords());
    }

    void Seat(DWORD dwUserID, WORD wTable, WORD wChair, BYTE cbStatus)
    {
        tagUserData* p = User(dwUserID)->GetUserData();
        p->wTableID = wTable;
        p->wChairID = wChair;
        p->cbUserStatus = cbStatus;
    }

    // Launches and keeps a handle of the process for the end of the test.
    int Launch()
    {
        int nResult = m_pDataCenter->LaunchGameClient();
        HANDLE hProcess = m_pDataCenter->GetProcessInformation()->hProcess;
        HANDLE hCopy = NULL;
        if (nResult == 1 && DuplicateHandle(GetCurrentProcess(), hProcess, GetCurrentProcess(), &hCopy, 0, FALSE,
                                            DUPLICATE_SAME_ACCESS))
            m_Processes.push_back(hCopy);
        return nResult;
    }

    bool WaitState(LONG lState)
    {
        return PumpUntil([&] { return m_pDataCenter->GetGameState() == lState; });
    }

    bool LaunchAndAttach()
    {
        size_t nStarts = m_Client.Starts.size();
        return Launch() == 1 && WaitState(GAME_STATE_ATTACHED) &&
               PumpUntil([&] { return m_Client.Starts.size() == nStarts + 1; });
    }

    HWND ClientWnd() const { return m_Client.Starts.back().hWnd; }

    void Control(DWORD dwCommand, const CWireBytes& args = CWireBytes())
    {
        CWireBytes control;
        control.U32(dwCommand).Bytes(args.Vector());
        COPYDATASTRUCT copyData = {GAMECLIENT_CONTROL, DWORD(control.Size()), const_cast<BYTE*>(control.Data())};
        SendMessageA(ClientWnd(), WM_COPYDATA, WPARAM(m_Client.GetHwnd()), LPARAM(&copyData));
    }

    void ClientSends(WORD wMain, WORD wSub, const CWireBytes& body = CWireBytes(), DWORD dwHow = GAMECLIENT_SEND)
    {
        Control(dwHow, CWireBytes().U16(wMain).U16(wSub).Bytes(body.Vector()));
    }

    // A kind-100 request behind everything the client sent before: once it
    // is at the server, all of that has been handled. Answers the frames
    // the server got meanwhile, the marker left out.
    // The frames the server got from nFrom on (by default from now), up to a
    // marker the client sends last. A caller whose own sends may already
    // have arrived passes the count it took before them.
    std::vector<tagServerFrame> Settle(size_t nFrom = SIZE_MAX)
    {
        if (nFrom == SIZE_MAX)
            nFrom = m_Server.GetFrameCount();
        DWORD dwMarker = ++m_dwMarker;
        ClientSends(1, 1, CWireBytes().U16(GAME_KIND_FRAME).U16(kMarkerSub).U32(dwMarker));
        std::vector<tagServerFrame> result;
        EXPECT_TRUE(PumpUntil([&] {
            std::vector<tagServerFrame> frames = m_Server.GetFrames();
            result.clear();
            for (size_t i = nFrom; i < frames.size(); ++i) {
                DWORD dwSeen = 0;
                if (frames[i].wMainCmdID == ROOM_MAIN_FRAME && frames[i].wSubCmdID == kMarkerSub) {
                    memcpy(&dwSeen, frames[i].Body.data(), 4);
                    if (dwSeen == dwMarker)
                        return true;
                    continue;
                }
                result.push_back(frames[i]);
            }
            return false;
        })) << "the marker did not reach the server";
        return result;
    }

    static std::string Keys(const std::vector<tagServerFrame>& frames)
    {
        std::string keys;
        for (const tagServerFrame& frame : frames)
            keys +=
                (keys.empty() ? "" : " ") + std::to_string(frame.wMainCmdID) + "/" + std::to_string(frame.wSubCmdID);
        return keys;
    }

    std::vector<DWORD> UserOrder() const
    {
        std::vector<DWORD> ids;
        for (const tagToClient& user : m_Client.Of("user", 1))
            ids.push_back(user.dwUserID);
        return ids;
    }

    std::vector<HANDLE> m_Processes;
    DWORD m_dwMarker = 0x7000; // the client's markers
};

TEST_F(GameChannelTest, LaunchAndHelloSendTheRoomThenAShowAgainResendsIt)
{
    SeatAtTable(0);
    ASSERT_EQ(1, Launch());
    EXPECT_EQ(GAME_STATE_STARTED, m_pDataCenter->GetGameState());
    ASSERT_TRUE(WaitState(GAME_STATE_ATTACHED));
    ASSERT_TRUE(PumpUntil([&] { return m_Client.Starts.size() == 1; }));
    CString strExpected;
    strExpected.Format("%s /RoomToken:%s /ServerType:1", (LPCSTR)GameProgram(), m_pDataCenter->GetShareName());
    EXPECT_EQ(std::string(strExpected), m_Client.Starts[0].strCommandLine);
    EXPECT_EQ(ClientWnd(), m_pDataCenter->GetGameWnd());

    EXPECT_EQ("2/1 2/3 3/7 3/7 3/1 3/1 3/1 4/1", m_Client.Keys());
    EXPECT_EQ(std::vector<DWORD>({kOwnUserID, kPlayerID, kLookerID}), UserOrder());
    tagGameRoomRecord room;
    ASSERT_EQ(sizeof(room), m_Client.Sent[0].Data.size());
    memcpy(&room, m_Client.Sent[0].Data.data(), sizeof(room));
    EXPECT_EQ(kOwnUserID, room.dwUserID);
    EXPECT_EQ(3, room.wTableID);
    EXPECT_EQ(0, room.wChairID);
    EXPECT_EQ(kGameID, room.wGameID);
    EXPECT_EQ(1, room.wServerType);
    EXPECT_STREQ("StandIn", room.szGameName);
    EXPECT_STREQ("start", room.szStartText);
    EXPECT_EQ(CWireBytes().U32(7).U16(1).U16(0).U32(2).U32(3).Vector(), m_Client.Sent[2].Data);
    EXPECT_EQ(INVALID_TABLE, m_pDataCenter->GetPendingTable());

    // Shown again: no second program, the room data again without the match time.
    DWORD dwProcessID = m_pDataCenter->GetProcessInformation()->dwProcessId;
    m_Client.Sent.clear();
    EXPECT_EQ(2, Launch());
    EXPECT_EQ("4/10 2/1 2/3 3/7 3/7 3/1 3/1 3/1 4/1", m_Client.Keys());
    EXPECT_EQ(GAME_STATE_ATTACHED, m_pDataCenter->GetGameState());
    EXPECT_EQ(dwProcessID, m_pDataCenter->GetProcessInformation()->dwProcessId);
    EXPECT_TRUE(IsWindowVisible(ClientWnd()));
    Settle();
    EXPECT_EQ(1u, m_Client.Starts.size());
}

TEST_F(GameChannelTest, MatchRoomHelloAndGoodbye)
{
    SeatAtTable(0, USER_STATUS_PLAY);
    m_Room.SetRoomKind(ROOM_KIND_MATCH);
    CWireBytes info;
    info.U32(77).U32(1).U16(30).U16(4).Str("w").U32(0x1000);
    info.Counted("m").U16(1).U16(2).U32(3).U16(4).U32(5).U8(6).U32(7).U16(8).U64(9).U8(1);
    info.U32(100).U8(2).U32(11).U32(1).U32(42);
    SendAndSettle(ROOM_MAIN_TABLE, TABLE_SUB_S_ROOM_INFO, info);
    // The player is of the own team; the looker-on does not count.
    User(kOwnUserID)->GetSecondExtension()->dwTeamNumber = 5;
    *User(kPlayerID)->GetSecondExtension() = {0, 0, 0, 1, 5};
    *User(kLookerID)->GetSecondExtension() = {0, 0, 0, 1, 5};

    ASSERT_TRUE(LaunchAndAttach());
    EXPECT_EQ("2/1 p801 p802 2/3 3/7 3/7 3/1 p806 3/1 3/1 4/1", m_Client.Keys());
    std::vector<tagToClient> match = m_Client.Of("protocol", GAME_SUB_MATCH_DESCRIPTION);
    ASSERT_EQ(1u, match.size());
    ASSERT_EQ(124u, match[0].Data.size()) << "120 bytes and one value";
    EXPECT_EQ(CWireBytes().U32(1).U32(42).U32(0).Vector(),
              std::vector<BYTE>(match[0].Data.begin() + 112, match[0].Data.end()));
    EXPECT_EQ(24u, m_Client.Of("protocol", GAME_SUB_MATCH_TIME)[0].Data.size());
    EXPECT_EQ(CWireBytes().U32(2).Vector(), m_Client.Of("protocol", GAME_SUB_TEAM_COUNT)[0].Data);

    // Goodbye: out of the match, out of the game, off the seat.
    size_t nFrom = m_Server.GetFrameCount();
    ClientSends(0, 3);
    ASSERT_TRUE(WaitState(GAME_STATE_NONE));
    std::vector<tagServerFrame> frames = WaitFrames(nFrom + 3);
    EXPECT_EQ("1002/30 1004/6 1004/6",
              Keys(std::vector<tagServerFrame>(frames.begin() + nFrom, frames.begin() + nFrom + 3)));
    EXPECT_EQ(NULL, m_pDataCenter->GetProcessInformation()->hProcess);
    EXPECT_EQ(NULL, m_pDataCenter->GetGameWnd());
    EXPECT_EQ(0u, m_pDataCenter->GetShareData()->dwGameWnd);
    EXPECT_EQ(GAME_CLIENT_POST_DONE, ClientPosts().back());
}

TEST_F(GameChannelTest, RunningClientWithoutWindowIsReplaced)
{
    SeatAtTable(0);
    SetClientMode(GAMECLIENT_MODE_NO_HELLO);
    ASSERT_EQ(1, Launch());
    ASSERT_TRUE(PumpUntil([&] { return m_pDataCenter->GetShareData()->dwGameWnd != 0; }));
    HANDLE hFirst = m_Processes.back();
    SetClientMode("");
    ASSERT_EQ(1, Launch());
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(hFirst, 5000)) << "the first client was ended";
    ASSERT_TRUE(WaitState(GAME_STATE_ATTACHED));
    ASSERT_TRUE(PumpUntil([&] { return m_Client.Starts.size() == 2; }));
}

TEST_F(GameChannelTest, MissingProgramFailsAndGivesTheSeatBack)
{
    SeatAtTable(0);
    m_Room.SetGameId(kMissingGameID);
    size_t nFrom = m_Server.GetFrameCount();
    EXPECT_EQ(0, Launch());
    EXPECT_EQ(GAME_STATE_NONE, m_pDataCenter->GetGameState());
    EXPECT_EQ(std::vector<LPARAM>({GAME_CLIENT_POST_STARTING, GAME_CLIENT_POST_FAILED}), ClientPosts());
    std::vector<tagServerFrame> frames = WaitFrames(nFrom + 1);
    EXPECT_EQ(ROOM_MAIN_GAME, frames[nFrom].wMainCmdID);
    EXPECT_EQ(ROOM_SUB_STAND_UP, frames[nFrom].wSubCmdID);
    EXPECT_EQ(NULL, m_pDataCenter->GetProcessInformation()->hProcess);
}

TEST_F(GameChannelTest, HelloFromAChildAndGoodbyeFromAnotherWindowAreNotTheClients)
{
    SeatAtTable(0);
    SetClientMode(GAMECLIENT_MODE_CHILD_HELLO);
    ASSERT_EQ(1, Launch());
    ASSERT_TRUE(WaitState(GAME_STATE_HELLO));
    EXPECT_EQ(NULL, m_pDataCenter->GetGameWnd());
    EXPECT_TRUE(m_Client.Sent.empty()) << m_Client.Keys();

    // Its own window's hello attaches it.
    ASSERT_TRUE(PumpUntil([&] { return m_Client.Starts.size() == 1; }));
    ClientSends(0, 1);
    ASSERT_TRUE(WaitState(GAME_STATE_ATTACHED));
    for (DWORD dwHow : {GAMECLIENT_SEND_OTHER, GAMECLIENT_SEND_CHILD}) {
        ClientSends(0, 3, CWireBytes(), dwHow);
        ClientSends(4, 2, CWireBytes(), dwHow);
    }
    EXPECT_EQ("", Keys(Settle()));
    EXPECT_EQ(GAME_STATE_ATTACHED, m_pDataCenter->GetGameState());
    EXPECT_EQ(ClientWnd(), m_pDataCenter->GetGameWnd());
    // Event 2 from the client's window is its goodbye.
    ClientSends(4, 2);
    ASSERT_TRUE(WaitState(GAME_STATE_NONE));
    EXPECT_EQ(GAME_CLIENT_POST_DONE, ClientPosts().back());
}

TEST_F(GameChannelTest, EventsPostOrRequest)
{
    SeatAtTable(0x1000);
    ASSERT_TRUE(LaunchAndAttach());
    const struct
    {
        WORD wSub;
        WORD wPost; // (6, wPost) posted with lValue, or 0
        LPARAM lValue;
        const char* pszRequests;
    } cases[] = {
        {3, RN_GAME_CLIENT.wSubCmdID, 0, ""}, {4, RN_GAME_POST_3.wSubCmdID, 1, ""}, {5, 0, 0, "1004/6 1002/20"},
        {6, RN_GAME_POST_7.wSubCmdID, 1, ""}, {7, RN_GAME_POST_8.wSubCmdID, 1, ""}, {9, 0, 0, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.wSub);
        size_t nHeard = m_Recorder.Heard.size();
        size_t nBefore = m_Server.GetFrameCount();
        ClientSends(4, c.wSub);
        EXPECT_EQ(c.pszRequests, Keys(Settle(nBefore)));
        PumpMessages();
        std::vector<tagRoomHeard> heard(m_Recorder.Heard.begin() + nHeard, m_Recorder.Heard.end());
        if (c.wPost == 0) {
            EXPECT_TRUE(heard.empty()) << m_Recorder.Keys();
            continue;
        }
        ASSERT_EQ(1u, heard.size()) << m_Recorder.Keys();
        EXPECT_EQ(6, heard[0].wMainCmdID);
        EXPECT_EQ(c.wPost, heard[0].wSubCmdID);
        EXPECT_EQ(c.lValue, heard[0].lParam);
        EXPECT_TRUE(heard[0].bPosted);
    }
    // Main 3 is accepted and does nothing.
    ClientSends(3, 1, CWireBytes().U32(1));
    EXPECT_EQ("", Keys(Settle()));
    EXPECT_EQ(GAME_STATE_ATTACHED, m_pDataCenter->GetGameState());
}

TEST_F(GameChannelTest, ClientGoneIsTakenAsGoneAndANewLaunchWorks)
{
    AfxSetTestClock(1000, CTime(2024, 1, 1, 0, 0, 0));
    SeatAtTable(0);
    const struct
    {
        const char* pszName;
        const char* pszMode;
        DWORD dwCommand; // after attach, or 0
        DWORD dwExitCode;
    } cases[] = {
        {"crash", "", GAMECLIENT_CRASH, DWORD(EXCEPTION_ACCESS_VIOLATION)},
        {"exit without goodbye", "", GAMECLIENT_EXIT, 0},
        {"never says hello", GAMECLIENT_MODE_NO_HELLO, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszName);
        SetClientMode(c.pszMode);
        size_t nStarts = m_Client.Starts.size();
        ASSERT_EQ(1, Launch());
        HANDLE hProcess = m_Processes.back();
        ASSERT_TRUE(PumpUntil([&] { return m_Client.Starts.size() == nStarts + 1; }));
        if (c.dwCommand != 0) {
            ASSERT_TRUE(WaitState(GAME_STATE_ATTACHED));
            Control(c.dwCommand);
            ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(hProcess, 5000));
            DWORD dwExitCode = 0;
            GetExitCodeProcess(hProcess, &dwExitCode);
#ifdef _WIN64
            EXPECT_EQ(c.dwExitCode, dwExitCode);
#else
            // The i386 emulator reports the fault as another exception.
            EXPECT_EQ(c.dwExitCode >= 0xC0000000u, dwExitCode >= 0xC0000000u) << dwExitCode;
#endif
        } else {
            ASSERT_TRUE(PumpUntil([&] { return m_pDataCenter->GetShareData()->dwGameWnd != 0; }));
        }
        AfxAdvanceTestClock(CRoomDataCenter::s_dwHelloTimeout - 1);
        m_pDataCenter->TestNetSpeed();
        // A client without a window long enough is gone.
        if (c.dwCommand == 0) {
            EXPECT_EQ(GAME_STATE_STARTED, m_pDataCenter->GetGameState());
        }
        AfxAdvanceTestClock(1);
        size_t nFrom = m_Server.GetFrameCount();
        m_pDataCenter->TestNetSpeed();
        EXPECT_EQ(GAME_STATE_NONE, m_pDataCenter->GetGameState());
        EXPECT_EQ(GAME_CLIENT_POST_FAILED, ClientPosts().back());
        std::vector<tagServerFrame> frames = WaitFrames(nFrom + 1);
        EXPECT_EQ(ROOM_SUB_STAND_UP, frames[nFrom].wSubCmdID);
        EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(hProcess, 5000)) << "no client is left behind";
        EXPECT_FALSE(m_pDataCenter->SendChannelData(4, 1, NULL, 0));
    }
    SetClientMode("");
    m_Client.Sent.clear();
    ASSERT_TRUE(LaunchAndAttach());
    EXPECT_EQ("4/1", m_Client.Keys().substr(m_Client.Keys().size() - 3));
}

TEST_F(GameChannelTest, RoomCloseAndServerCloseTellTheClient)
{
    SeatAtTable(0);
    ASSERT_TRUE(LaunchAndAttach());
    m_Client.Sent.clear();
    m_Server.Run({CScriptedServer::Close()});
    ASSERT_TRUE(PumpUntil([&] { return m_Recorder.Count(RN_CONNECTION_CLOSED) == 1; }));
    EXPECT_EQ("4/2", m_Client.Keys());
    m_Client.Sent.clear();
    m_pDataCenter->CloseConnection();
    EXPECT_EQ("4/2", m_Client.Keys());
    EXPECT_EQ(GAME_STATE_NONE, m_pDataCenter->GetGameState());
    // The client still runs with its window: a new launch shows it again.
    m_Client.Sent.clear();
    EXPECT_EQ(2, Launch());
    EXPECT_EQ(GAME_STATE_ATTACHED, m_pDataCenter->GetGameState());
    EXPECT_EQ("4/10", m_Client.Keys().substr(0, 4));
}

TEST_F(GameChannelTest, RelayBothWaysThroughTheRoomServer)
{
    SeatAtTable(0);
    m_Server.EchoGameFrames();
    ASSERT_TRUE(LaunchAndAttach());
    m_Client.Sent.clear();
    // Kind 100 goes out and comes back unchanged.
    CWireBytes body = CWireBytes().U32(0x01020304).Str("牌");
    ClientSends(1, 1, CWireBytes().U16(GAME_KIND_FRAME).U16(9).Bytes(body.Vector()));
    ASSERT_TRUE(PumpUntil([&] { return m_Client.Sent.size() == 1; }));
    EXPECT_EQ(CWireBytes().U16(GAME_KIND_FRAME).U16(9).Bytes(body.Vector()).Vector(), m_Client.Sent[0].Data);
    m_Server.SetEchoMain(0);

    // Kind 101 requests, row by row as the server sees them.
    const struct
    {
        WORD wGameSub;
        CWireBytes Body;
        const char* pszFrames;
    } requests[] = {
        {1, CWireBytes().U8(7).U8(8), "1004/7 1004/3"},
        {2, CWireBytes().U32(5), "1004/1"},
        {201, CWireBytes().U32(0).U8(1), "1004/7"},
        {901, CWireBytes().U8(0), "1004/15"},
        {300, CWireBytes().U32(1), ""},
    };
    for (const auto& r : requests) {
        SCOPED_TRACE(r.wGameSub);
        size_t nBefore = m_Server.GetFrameCount();
        ClientSends(1, 1, CWireBytes().U16(GAME_KIND_CONTROL).U16(r.wGameSub).Bytes(r.Body.Vector()));
        std::vector<tagServerFrame> frames = Settle(nBefore);
        EXPECT_EQ(r.pszFrames, Keys(frames));
    }
    std::vector<tagServerFrame> sub1 = m_Server.GetRequests(ROOM_MAIN_GAME, 3);
    ASSERT_EQ(1u, sub1.size());
    EXPECT_EQ(CWireBytes().U8(7).U8(8).Vector(), sub1[0].Body);

    // Server traffic: translated, and 1004 switches the state and the relay goes on.
    m_Client.Sent.clear();
    SendAndSettle(ROOM_MAIN_GAME, 1001, CWireBytes().U32(3));
    SendAndSettle(ROOM_MAIN_GAME, 1004, CWireBytes().U8(1));
    EXPECT_EQ(GAME_STATE_SWITCHED, m_pDataCenter->GetGameState());
    SendAndSettle(ROOM_MAIN_FRAME, 5, CWireBytes().U8(2));
    EXPECT_EQ("p101 p102 g5", m_Client.Keys());
    EXPECT_EQ(CWireBytes().U16(GAME_KIND_CONTROL).U16(101).U32(3).Vector(), m_Client.Sent[0].Data);
}

TEST_F(GameChannelTest, MalformedFramesAreRefusedAndTheRelayGoesOn)
{
    SeatAtTable(0x100);
    ASSERT_TRUE(LaunchAndAttach());
    auto frame = [](WORD wVersion, WORD wSize, WORD wMain, WORD wSub, const CWireBytes& data) {
        return CWireBytes().U16(wVersion).U16(wSize).U16(wMain).U16(wSub).Bytes(data.Vector());
    };
    auto relay = [&](WORD wKind, WORD wSub, const CWireBytes& body) {
        CWireBytes data = CWireBytes().U16(wKind).U16(wSub).Bytes(body.Vector());
        return frame(1, WORD(8 + data.Size()), 1, 1, data);
    };
    const struct
    {
        const char* pszName;
        DWORD dwData;
        CWireBytes Bytes;
    } cases[] = {
        {"dwData", 2, relay(GAME_KIND_FRAME, 1, CWireBytes().U32(1))},
        {"version", 1, frame(2, 12, 1, 1, CWireBytes().U16(GAME_KIND_FRAME).U16(1))},
        {"size", 1, frame(1, 16, 1, 1, CWireBytes().U16(GAME_KIND_FRAME).U16(1))},
        {"short head", 1, CWireBytes().U16(1).U16(6).U16(1)},
        {"main 2", 1, frame(1, 8, 2, 1, CWireBytes())},
        {"main 5", 1, frame(1, 8, 5, 1, CWireBytes())},
        {"main 0 sub 2", 1, frame(1, 8, 0, 2, CWireBytes())},
        {"main 1 sub 3", 1, frame(1, 12, 1, 3, CWireBytes().U16(GAME_KIND_FRAME).U16(1))},
        {"relay head cut", 1, frame(1, 11, 1, 1, CWireBytes().U16(GAME_KIND_FRAME).U8(1))},
        {"kind 102", 1, relay(102, 1, CWireBytes().U32(1))},
        {"sub without row", 1, relay(GAME_KIND_CONTROL, 3, CWireBytes().U32(1))},
        {"sub 1 empty", 1, relay(GAME_KIND_CONTROL, 1, CWireBytes())},
        {"sub 201 short", 1, relay(GAME_KIND_CONTROL, 201, CWireBytes().U32(0))},
        {"sub 400 short", 1, relay(GAME_KIND_CONTROL, 400, CWireBytes().U32(0).U16(1).U8(0))},
        {"sub 500 short", 1, relay(GAME_KIND_CONTROL, 500, CWireBytes().U32(0).U8(1))},
        {"sub 702 short", 1, relay(GAME_KIND_CONTROL, 702, CWireBytes().Fill(35, 'a'))},
        {"sub 901 empty", 1, relay(GAME_KIND_CONTROL, 901, CWireBytes())},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszName);
        m_Client.Sent.clear();
        Control(GAMECLIENT_SEND_RAW, CWireBytes().U32(c.dwData).Bytes(c.Bytes.Vector()));
        EXPECT_EQ("", Keys(Settle()));
        EXPECT_EQ(GAME_STATE_ATTACHED, m_pDataCenter->GetGameState());
        EXPECT_EQ(ClientWnd(), m_pDataCenter->GetGameWnd());
        EXPECT_TRUE(m_Client.Sent.empty()) << m_Client.Keys();
    }
    // Chat is swallowed in this room; the relay still works.
    size_t nBefore = m_Server.GetFrameCount();
    ClientSends(1, 1, CWireBytes().U16(GAME_KIND_CONTROL).U16(200).U16(2).U16(0).U32(1).U32(2).U32(3).U32(0).Str("hi"));
    ClientSends(1, 1, CWireBytes().U16(GAME_KIND_CONTROL).U16(2).U32(5));
    EXPECT_EQ("1004/1", Keys(Settle(nBefore)));
}

// ---- in the test process: the recorder plays the client's window ------------------

class GameChannelSendTest : public RoomTest
{
protected:
    void SetUp() override
    {
        RoomTest::SetUp();
        LogOn();
        m_Client.Sent.clear();
    }
};

TEST_F(GameChannelSendTest, UserDescriptionKeysInOrderWithConditionsLeftOut)
{
    EnterUser(kPlayerID, "player", 0);
    CUserItem* pUser = User(kPlayerID);
    tagUserData* p = pUser->GetUserData();
    strcpy(p->szName, "name");
    p->cbKey5 = 5;
    p->wFaceID = 6;
    p->dwRank = 3;
    p->dwKey16 = 16;
    p->cbKey19 = 19;
    p->dwKey18 = 18;
    p->dwKey14 = 14;
    p->dwKey17 = 17;
    for (int i = 0; i < 6; ++i)
        p->dwScore[i] = DWORD(104 + i);
    p->dwKey112 = 112;
    strcpy(p->szKey13, "k13");
    *pUser->GetFirstExtension() = {{110, 114, 111, 115}};
    *pUser->GetSecondExtension() = {1, 118, 2, 119, 120};
    pUser->GetExtra()->dwValue = 121;
    pUser->GetExtra()->cbValue = 123;
    strcpy(pUser->GetExtra()->szText1, "t1");
    strcpy(pUser->GetExtra()->szText2, "t2");
    auto tail = [](CWireBytes& b) {
        b.U16(103).Str(std::to_string(USER_STATUS_FREE)).U16(3).Str("3");
        b.U16(16).Str("16").U16(19).Str("19").U16(18).Str("18").U16(14).Str("14").U16(17).Str("17");
        for (int i = 0; i < 6; ++i)
            b.U16(104 + i).Str(std::to_string(104 + i));
        b.U16(110).Str("110").U16(111).Str("111").U16(112).Str("112").U16(113).Str("1");
        b.U16(114).Str("114").U16(115).Str("115").U16(118).Str("118").U16(119).Str("119").U16(120).Str("120");
        b.U16(13).Str("k13").U16(121).Str("121").U16(122).Str("t1").U16(123).Str("123").U16(124).Str("t2");
    };

    // Without the conditional keys: no table, chair, 102, relation, second id.
    ASSERT_TRUE(m_pDataCenter->SendUserToGameClient(pUser));
    CWireBytes bare;
    bare.U32(kPlayerID).Count(32).U16(1).Str("2002").U16(2).Str("name").U16(4).Str("player");
    bare.U16(5).Str("5").U16(6).Str("6");
    tail(bare);
    ASSERT_EQ(1u, m_Client.Of("user", 1).size());
    EXPECT_EQ(bare.Vector(), m_Client.Of("user", 1)[0].Data);

    p->wTableID = 4;
    p->wChairID = 2;
    p->wKey102 = 102;
    p->cbRelation = 1;
    p->dwSecondID = 23;
    m_Client.Sent.clear();
    ASSERT_TRUE(m_pDataCenter->SendUserToGameClient(pUser));
    CWireBytes full;
    full.U32(kPlayerID).Count(37).U16(1).Str("2002").U16(2).Str("name").U16(4).Str("player");
    full.U16(5).Str("5").U16(6).Str("6").U16(100).Str("4").U16(101).Str("2").U16(102).Str("102").U16(116).Str("1");
    tail(full);
    full.U16(23).Str("23");
    EXPECT_EQ(full.Vector(), m_Client.Of("user", 1)[0].Data);
}

TEST_F(GameChannelSendTest, OneBoundForHeadAndBodyAndTheHallRecords)
{
    std::vector<BYTE> body(GAME_CHANNEL_MAX_DATA, 0x5A);
    EXPECT_TRUE(m_pDataCenter->SendGameProtocol(7, body.data(), WORD(body.size() - 4)));
    for (WORD wSize : {4093, 4095, 4096})
        EXPECT_FALSE(m_pDataCenter->SendGameProtocol(7, body.data(), wSize)) << wSize;
    ASSERT_EQ(1u, m_Client.Sent.size());
    EXPECT_EQ(4096u, m_Client.Sent[0].Data.size());

    m_Client.Sent.clear();
    ASSERT_TRUE(m_pDataCenter->SendTextToGameClient(0, "全体"));
    ASSERT_TRUE(m_pDataCenter->SendTextToGameClient(9, "one"));
    std::vector<tagToClient> texts = m_Client.Of("protocol", GAME_SUB_CLIENT_TEXT);
    ASSERT_EQ(2u, texts.size());
    ASSERT_EQ(1032u, texts[0].Data.size());
    EXPECT_STREQ("全体", reinterpret_cast<const char*>(texts[0].Data.data() + 4));
    EXPECT_EQ(1, texts[0].Data[1028]);
    EXPECT_EQ(0, texts[1].Data[1028]);

    // Game records go only to a seated own user's client.
    User(kOwnUserID)->GetUserData()->wTableID = INVALID_TABLE;
    m_Client.Sent.clear();
    EXPECT_TRUE(m_pDataCenter->ForwardRecordToGame(1, 2, 3, 4));
    EXPECT_TRUE(m_Client.Sent.empty());
    User(kOwnUserID)->GetUserData()->wTableID = 1;
    EXPECT_TRUE(m_pDataCenter->ForwardRecordToGame(1, 2, 3, 4));
    ASSERT_EQ(1u, m_Client.Sent.size());
    EXPECT_EQ(CWireBytes().U32(1).U16(2).U16(0).U32(3).U32(4).Vector(), m_Client.Sent[0].Data);

    // Nothing goes to a window that is gone.
    m_pDataCenter->SetGameWnd(NULL);
    EXPECT_FALSE(m_pDataCenter->SendChannelData(4, 1, NULL, 0));
    EXPECT_FALSE(m_pDataCenter->SendGameProtocol(7, body.data(), 4));
}
