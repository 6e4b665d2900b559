// The room data centre and the socket module against the scripted room
// server: address rotation, logon, closing, echo, speed tests, every
// request's frame, and bodies cut short.
#include "RoomTestSupport.h"

#include <afxtest.h>

#include "GlobalUnits.h"

namespace
{

std::string MachineID()
{
    char szID[33];
    g_GlobalUnits.GetMachineID(szID);
    return szID;
}

} // namespace

TEST_F(RoomTest, RotationReachesTheThirdAddressWithoutAnEarlierNotice)
{
    WORD wPort = FindFreePort("127.0.0.3");
    ASSERT_TRUE(m_Server.Start("127.0.0.3", wPort));
    UseRoom("127.0.0.1;127.0.0.2;127.0.0.3", wPort);
    ASSERT_TRUE(m_pDataCenter->ConnectServer("127.0.0.1", wPort));
    ASSERT_TRUE(PumpUntil([&] { return m_Recorder.Count(RN_CONNECT_RESULT) == 1; }));
    EXPECT_EQ(0u, m_Recorder.Of(RN_CONNECT_RESULT)[0].As<tagRoomConnectResult>().dwErrorCode);
    EXPECT_EQ("(2,2)", m_Recorder.Keys());
    EXPECT_EQ(2, m_Room.GetCurrentAddressIndex());
    EXPECT_TRUE(m_pDataCenter->IsConnected());
    EXPECT_TRUE(PumpUntil([&] { return m_Server.GetConnectionCount() == 1; }));
}

TEST_F(RoomTest, RotationThatFindsNothingReportsTheLastErrorOnce)
{
    WORD wPort = FindFreePort("127.0.0.3");
    UseRoom("127.0.0.1;127.0.0.2;127.0.0.3", wPort);
    ASSERT_TRUE(m_pDataCenter->ConnectServer("127.0.0.1", wPort));
    ASSERT_TRUE(PumpUntil([&] { return m_Recorder.Count(RN_CONNECT_RESULT) == 1; }));
    PumpFor(50);
    EXPECT_EQ("(2,2)", m_Recorder.Keys());
    EXPECT_NE(0u, m_Recorder.Of(RN_CONNECT_RESULT)[0].As<tagRoomConnectResult>().dwErrorCode);
    EXPECT_EQ(0u, m_Recorder.Of(RN_CONNECT_RESULT)[0].As<tagRoomConnectResult>().dwExtra);
    EXPECT_EQ(0, m_Room.GetCurrentAddressIndex());
}

TEST_F(RoomTest, AnAttemptThatCannotStartCountsAsRefused)
{
    // The socket refuses to start on the second address, and the round
    // goes on to the third.
    WORD wPort = FindFreePort("127.0.0.3");
    ASSERT_TRUE(m_Server.Start("127.0.0.3", wPort));
    UseRoom("127.0.0.1;0.0.0.0;127.0.0.3", wPort);
    ASSERT_TRUE(m_pDataCenter->ConnectServer("127.0.0.1", wPort));
    ASSERT_TRUE(PumpUntil([&] { return m_Recorder.Count(RN_CONNECT_RESULT) == 1; }));
    EXPECT_EQ(0u, m_Recorder.Of(RN_CONNECT_RESULT)[0].As<tagRoomConnectResult>().dwErrorCode);
    EXPECT_EQ(2, m_Room.GetCurrentAddressIndex());
}

TEST_F(RoomTest, AFirstAttemptThatCannotStartIsReported)
{
    UseRoom("0.0.0.0", 9100);
    EXPECT_FALSE(m_pDataCenter->ConnectServer("0.0.0.0", 9100));
    ASSERT_EQ(1u, m_Recorder.Count(RN_CONNECT_RESULT));
    EXPECT_NE(0u, m_Recorder.Of(RN_CONNECT_RESULT)[0].As<tagRoomConnectResult>().dwErrorCode);
    EXPECT_EQ(DWORD(ROOM_LOGON_IDLE), m_pDataCenter->GetLogonState());
}

TEST_F(RoomTest, LogonGoesToTheReplyWindowAndMakesTheOwnUser)
{
    Connect();
    m_Server.AnswerLogon(RoomBody::LogonOk(kOwnUserID));
    DWORD dwSerial = 0;
    ASSERT_TRUE(m_pDataCenter->SendRoomLogon(dwSerial, m_Recorder.GetHwnd(), 0, "secret"));
    EXPECT_EQ(DWORD(ROOM_LOGON_SENT), m_pDataCenter->GetLogonState());
    std::vector<tagServerFrame> frames = WaitFrames(1);
    EXPECT_EQ(dwSerial, frames[0].dwSerialNum);
    EXPECT_EQ(CWireBytes()
                  .U32(kOwnUserID)
                  .Str("0123456789abcdef0123456789abcdef")
                  .Str(MachineID())
                  .Counted("secret")
                  .Vector(),
              frames[0].Body);
    ASSERT_TRUE(PumpUntil([&] { return m_Recorder.Count(RN_LOGON_RESULT) == 1; }));
    tagRoomHeard heard = m_Recorder.Of(RN_LOGON_RESULT)[0];
    EXPECT_EQ(dwSerial, heard.dwSerialNum);
    EXPECT_EQ(0u, heard.As<tagRoomLogonNotice>().dwCode);
    EXPECT_EQ(DWORD(ROOM_LOGON_DONE), m_pDataCenter->GetLogonState());
    ASSERT_NE(nullptr, m_pDataCenter->GetUserManager()->GetMeUserItem());
    EXPECT_EQ(kOwnUserID, m_pDataCenter->GetUserManager()->GetMeUserItem()->GetUserID());
    // The table status is asked for next.
    frames = WaitFrames(2);
    EXPECT_EQ(ROOM_MAIN_TABLE, frames[1].wMainCmdID);
    EXPECT_EQ(ROOM_SUB_TABLE_STATUS, frames[1].wSubCmdID);
}

TEST_F(RoomTest, RefusedLogonClosesWithoutTheClosedNotice)
{
    Connect();
    m_Server.AnswerLogon(RoomBody::LogonRefused(5, "满了"));
    DWORD dwSerial = 0;
    ASSERT_TRUE(m_pDataCenter->SendRoomLogon(dwSerial, m_Recorder.GetHwnd(), 0, NULL));
    ASSERT_TRUE(PumpUntil([&] { return m_Recorder.Count(RN_LOGON_RESULT) == 1; }));
    tagRoomLogonNotice notice = m_Recorder.Of(RN_LOGON_RESULT)[0].As<tagRoomLogonNotice>();
    EXPECT_EQ(32u, notice.dwCode);
    EXPECT_STREQ("满了", notice.szText);
    EXPECT_EQ(DWORD(ROOM_LOGON_REFUSED), m_pDataCenter->GetLogonState());
    ASSERT_TRUE(PumpUntil([&] { return m_Server.IsPeerClosed(0); }));
    PumpFor(50);
    EXPECT_EQ(0u, m_Recorder.Count(RN_CONNECTION_CLOSED));
}

TEST_F(RoomTest, ServerCloseIsReported)
{
    Connect();
    m_Server.Run({CScriptedServer::Close()});
    ASSERT_TRUE(PumpUntil([&] { return m_Recorder.Count(RN_CONNECTION_CLOSED) == 1; }));
}

TEST_F(RoomTest, EchoCarriesTheBodyAndSerialBack)
{
    Connect();
    std::vector<BYTE> body = {1, 2, 3, 0, 0xFF};
    ASSERT_TRUE(m_Server.Send(ROOM_MAIN_ROOM, ROOM_SUB_S_ECHO, body, 4242));
    std::vector<tagServerFrame> frames = WaitFrames(1);
    EXPECT_EQ(ROOM_MAIN_ROOM, frames[0].wMainCmdID);
    EXPECT_EQ(ROOM_SUB_ECHO, frames[0].wSubCmdID);
    EXPECT_EQ(4242u, frames[0].dwSerialNum);
    EXPECT_EQ(body, frames[0].Body);
}

TEST_F(RoomTest, SpeedTestAnsweredOrTimedOut)
{
    AfxSetTestClock(100000, CTime(2024, 1, 1, 0, 0, 0));
    LogOn();
    EnterUser(2002, "快手", 0);
    // Answered by serial: to the room as (6,6).
    ASSERT_TRUE(m_pDataCenter->SendSpeedTest(2002, 1));
    ASSERT_TRUE(PumpUntil([&] { return !m_Server.GetRequests(ROOM_MAIN_ROOM, ROOM_SUB_SPEED_TEST).empty(); }));
    tagServerFrame request = m_Server.GetRequests(ROOM_MAIN_ROOM, ROOM_SUB_SPEED_TEST)[0];
    EXPECT_EQ(CWireBytes().U32(2002).Vector(), request.Body);
    SendAndSettle(ROOM_MAIN_ROOM, ROOM_SUB_S_SPEED_ANSWER, CWireBytes().U32(2002).U32(35), request.dwSerialNum);
    ASSERT_EQ(1u, m_Recorder.Count(RN_SPEED_RESULT));
    EXPECT_EQ(35u, m_Recorder.Of(RN_SPEED_RESULT)[0].As<tagRoomIdValue>().dwValue);
    // An answer nobody waits for is ignored.
    SendAndSettle(ROOM_MAIN_ROOM, ROOM_SUB_S_SPEED_ANSWER, CWireBytes().U32(2002).U32(36), request.dwSerialNum);
    EXPECT_EQ(1u, m_Recorder.Count(RN_SPEED_RESULT));

    // Unanswered: the time-out text, to the room or to the game client.
    ASSERT_TRUE(m_pDataCenter->SendSpeedTest(2002, 1));
    ASSERT_TRUE(m_pDataCenter->SendSpeedTest(2002, 0));
    AfxAdvanceTestClock(2999);
    m_pDataCenter->TestNetSpeed();
    EXPECT_EQ(0u, m_Recorder.Count(RN_ROOM_MESSAGE));
    AfxAdvanceTestClock(1);
    m_pDataCenter->TestNetSpeed();
    ASSERT_EQ(1u, m_Recorder.Count(RN_ROOM_MESSAGE));
    tagRoomMessage message = m_Recorder.Of(RN_ROOM_MESSAGE)[0].As<tagRoomMessage>();
    EXPECT_EQ(1, message.cbFlags[0]);
    EXPECT_EQ(1, message.cbFlags[1]);
    EXPECT_STREQ("[快手]网速测试超时3秒未响应,可能该用户网络严重延时或已经断线", message.szText);
    ASSERT_EQ(1u, m_Client.Of("text", 0).size());
    EXPECT_EQ(std::string(message.szText), m_Client.Of("text", 0)[0].strText);
    m_pDataCenter->TestNetSpeed();
    EXPECT_EQ(1u, m_Recorder.Count(RN_ROOM_MESSAGE)) << "each test times out once";
}

TEST_F(RoomTest, ClientThatNeverSaidHelloIsTakenAsGone)
{
    AfxSetTestClock(5000, CTime(2024, 1, 1, 0, 0, 0));
    UseRoom("127.0.0.1", 1);
    m_pDataCenter->SetGameWnd(NULL);
    m_pDataCenter->SetGameState(GAME_STATE_STARTED);
    m_pDataCenter->SetLaunchTime(AfxGetTickCount());
    AfxAdvanceTestClock(14999);
    m_pDataCenter->TestNetSpeed();
    EXPECT_TRUE(ClientPosts().empty());
    EXPECT_EQ(GAME_STATE_STARTED, m_pDataCenter->GetGameState());
    AfxAdvanceTestClock(1);
    m_pDataCenter->TestNetSpeed();
    ASSERT_TRUE(PumpUntil([&] { return m_Recorder.Count(RN_GAME_CLIENT) == 1; }));
    EXPECT_TRUE(m_Recorder.Of(RN_GAME_CLIENT)[0].bPosted);
    EXPECT_EQ(GAME_CLIENT_POST_FAILED, m_Recorder.Of(RN_GAME_CLIENT)[0].lParam);
    EXPECT_EQ(GAME_STATE_NONE, m_pDataCenter->GetGameState());
    EXPECT_EQ(0u, m_pDataCenter->GetShareData()->dwGameWnd);
}

// One request: how the room stands, what is asked, and the frame that goes
// out (none: a request whose conditions fail sends nothing).
struct tagRequestCase
{
    const char* pszName;
    DWORD dwRule;
    WORD wOwnRank;
    std::function<bool(CRoomDataCenter&)> Request;
    bool bSent;
    WORD wMainCmdID;
    WORD wSubCmdID;
    long lSerial; // -1: a fresh one
    CWireBytes Body;
};

TEST_F(RoomTest, EveryRequestFrameOrNothing)
{
    const DWORD ANON = 0x100, MATCH = 0x1000, NOCHAT = 0x8000, NOSPEAKER = 0x80000;
    tagUserRule rule = {{1, 1, 0, 0, 0}, 100, 200, 300, -1, "pw"};
    tagCreateTableRequest create;
    create.strName = "桌";
    create.strPassword = "p";
    create.wValue = 1;
    create.cbValue = 2;
    create.bHasA = true;
    create.dwA = 3;
    create.bHasB = false;
    create.wB = 0;
    create.bHasC = false;
    create.cbC = 0;
    auto chat = [](CRoomDataCenter& dc) { return dc.SendRoomChat(5, "你好", 6); };
    auto whisper = [](CRoomDataCenter& dc) { return dc.SendWhisper(5, "悄悄", 6); };
    auto invite = [](CRoomDataCenter& dc) { return dc.SendInvite(3, 2002); };
    auto userRule = [rule](CRoomDataCenter& dc) { return dc.SendUserRule(rule); };
    auto speaker = [](CRoomDataCenter& dc) { return dc.SendSpeakerText("喇叭"); };
    CWireBytes chatBody = CWireBytes().U32(5).U32(6).Str("你好");
    CWireBytes ruleBody = CWireBytes().U32(3).U16(100).U16(200).U32(300).U32(0xFFFFFFFF).Str("pw");
    const tagRequestCase cases[] = {
        {"chat", 0, 0, chat, true, 1002, 6, -1, chatBody},
        {"chat anonymous", ANON, 0, chat, false, 0, 0, 0, {}},
        {"chat anonymous privileged", ANON, 256, chat, true, 1002, 6, -1, chatBody},
        {"chat no chat", NOCHAT, 256, chat, false, 0, 0, 0, {}},
        {"whisper", 0, 0, whisper, true, 1002, 5, -1, CWireBytes().U32(5).U32(6).Str("悄悄")},
        {"whisper anonymous", ANON, 0, whisper, false, 0, 0, 0, {}},
        {"invite", 0, 0, invite, true, 1002, 9, -1, CWireBytes().U32(2002).U16(3)},
        {"invite anonymous", ANON, 0, invite, false, 0, 0, 0, {}},
        {"user rule", 0, 0, userRule, true, 1002, 7, -1, ruleBody},
        {"user rule anonymous", ANON, 0, userRule, false, 0, 0, 0, {}},
        {"user rule privileged", ANON, 256, userRule, true, 1002, 7, -1, ruleBody},
        {"speaker", 0, 0, speaker, true, 1002, 8, -1, CWireBytes().Str("喇叭")},
        {"speaker anonymous", ANON, 256, speaker, false, 0, 0, 0, {}},
        {"speaker refused", NOSPEAKER, 0, speaker, false, 0, 0, 0, {}},
        {"stand up", 0, 0, [](CRoomDataCenter& dc) { return dc.SendStandUp(); }, true, 1004, 6, -1, {}},
        {"leave game", 0, 0, [](CRoomDataCenter& dc) { return dc.SendLeaveGame(); }, true, 1004, 6, -1, {}},
        {"kick seated", 0, 0, [](CRoomDataCenter& dc) { return dc.SendKickUser(3003); }, true, 1002, 10, -1,
         CWireBytes().U32(3003)},
        {"kick free", 0, 0, [](CRoomDataCenter& dc) { return dc.SendKickUser(2002); }, false, 0, 0, 0, {}},
        {"leave room", 0, 0, [](CRoomDataCenter& dc) { return dc.SendLeaveRoom(false); }, true, 1002, 12, -1, {}},
        {"item 7", 0, 0, [](CRoomDataCenter& dc) { return dc.SendUseItem(7); }, true, 1002, 13, -1, {}},
        {"item 9", 0, 0, [](CRoomDataCenter& dc) { return dc.SendUseItem(9); }, true, 1002, 15, -1, {}},
        {"item 17", 0, 0, [](CRoomDataCenter& dc) { return dc.SendUseItem(17); }, true, 1002, 25, -1, {}},
        {"item 10", 0, 0, [](CRoomDataCenter& dc) { return dc.SendUseItem(10); }, false, 0, 0, 0, {}},
        {"create table", 0, 0, [create](CRoomDataCenter& dc) { return dc.SendCreateTable(create); }, true, 1002, 19, 0,
         CWireBytes().Counted("桌").Counted("p").U16(1).U8(2).U32(1).U32(3)},
        {"match rule", MATCH, 0, [](CRoomDataCenter& dc) { return dc.SendMatchRule(); }, true, 1002, 20, -1, {}},
        {"match rule elsewhere", 0, 0, [](CRoomDataCenter& dc) { return dc.SendMatchRule(); }, false, 0, 0, 0, {}},
        {"cancel match", MATCH, 0, [](CRoomDataCenter& dc) { return dc.CancelMatchFlag(); }, true, 1002, 21, -1, {}},
        {"withdraw hall", 0, 0, [](CRoomDataCenter& dc) { return dc.SendBankWithdraw("abc", 50, true); }, true, 1002,
         26, 1, CWireBytes().Counted("abc").U32(50)},
        {"deposit game", 0, 0, [](CRoomDataCenter& dc) { return dc.SendBankDeposit(60, false); }, true, 1002, 27, 2,
         CWireBytes().U32(60)},
        {"bank password", 0, 0, [](CRoomDataCenter& dc) { return dc.SendBankPassword("d", true); }, true, 1002, 28, 1,
         CWireBytes().Counted("d")},
        {"exchange up", 0, 0, [](CRoomDataCenter& dc) { return dc.SendGoldExchange(true, 9); }, true, 1002, 38, 0,
         CWireBytes().U8(0).U8(1).U32(9)},
        {"exchange down", 0, 0, [](CRoomDataCenter& dc) { return dc.SendGoldExchange(false, 9); }, true, 1002, 38, 0,
         CWireBytes().U8(1).U8(0).U32(9)},
        {"sit down", 0, 0, [](CRoomDataCenter& dc) { return dc.SendSitDown(4, 2, "x"); }, true, 1002, 3, -1,
         CWireBytes().U16(4).U16(2).Str("x")},
        {"look on", 0, 0, [](CRoomDataCenter& dc) { return dc.SendLookOn(4, 1, ""); }, true, 1002, 4, -1,
         CWireBytes().U16(4).U16(1).Str("")},
    };
    LogOn();
    EnterUser(2002, "free", 0);
    EnterUser(3003, "seated", 0);
    SendAndSettle(ROOM_MAIN_ROOM, ROOM_SUB_S_USER_STATUS, RoomBody::UserStatus(3003, 1, 0, 1));
    for (const tagRequestCase& c : cases) {
        SCOPED_TRACE(c.pszName);
        SetRoomRule(c.dwRule);
        m_pDataCenter->GetUserManager()->GetMeUserItem()->GetUserData()->dwRank = c.wOwnRank;
        size_t nBefore = m_Server.GetFrameCount();
        EXPECT_EQ(c.bSent, c.Request(*m_pDataCenter));
        // The marker shows whether anything went out before it.
        ASSERT_TRUE(m_pDataCenter->SendJoinMatch());
        std::vector<tagServerFrame> frames = WaitFrames(nBefore + (c.bSent ? 2 : 1));
        frames.erase(frames.begin(), frames.begin() + nBefore);
        // Answers to the settling markers are not requests.
        std::vector<tagServerFrame> requests;
        for (const tagServerFrame& f : frames) {
            if (f.wSubCmdID != ROOM_SUB_ECHO)
                requests.push_back(f);
        }
        ASSERT_EQ(c.bSent ? 2u : 1u, requests.size());
        EXPECT_EQ(ROOM_SUB_JOIN_MATCH, requests.back().wSubCmdID);
        if (!c.bSent)
            continue;
        EXPECT_EQ(c.wMainCmdID, requests[0].wMainCmdID);
        EXPECT_EQ(c.wSubCmdID, requests[0].wSubCmdID);
        if (c.lSerial >= 0)
            EXPECT_EQ(DWORD(c.lSerial), requests[0].dwSerialNum);
        else
            EXPECT_LT(0u, requests[0].dwSerialNum);
        EXPECT_EQ(c.Body.Vector(), requests[0].Body);
    }
}

TEST_F(RoomTest, RefusedLookOnLeavesNoPendingSeat)
{
    UseRoom("127.0.0.1", 1);
    // Not connected: nothing is sent and nothing waits for it.
    EXPECT_FALSE(m_pDataCenter->SendLookOn(4, 1, ""));
    EXPECT_EQ(INVALID_TABLE, m_pDataCenter->GetPendingTable());
    EXPECT_EQ(GAME_STATE_NONE, m_pDataCenter->GetGameState());
}

TEST_F(RoomTest, AutoSeatRoomsLeaveTheChairToTheServer)
{
    m_Room.SetAutoSeat(1);
    LogOn();
    ASSERT_TRUE(m_pDataCenter->SendSitDown(6, 3, ""));
    ASSERT_TRUE(PumpUntil([&] { return !m_Server.GetRequests(ROOM_MAIN_ROOM, ROOM_SUB_SIT_DOWN).empty(); }));
    EXPECT_EQ(CWireBytes().U16(6).U16(0xFFFF).Str("").Vector(),
              m_Server.GetRequests(ROOM_MAIN_ROOM, ROOM_SUB_SIT_DOWN)[0].Body);
    EXPECT_EQ(6, m_pDataCenter->GetPendingTable());
    EXPECT_EQ(GAME_STATE_REQUESTED, m_pDataCenter->GetGameState());
}

TEST_F(RoomTest, BodiesCutShortAreDroppedAndTheConnectionStays)
{
    LogOn();
    EnterUser(kOwnUserID + 1, "known", 0);
    m_Recorder.Heard.clear();
    size_t nCuts = 0;
    for (const RoomBody::tagSample& sample : RoomBody::Samples(kOwnUserID + 1)) {
        for (size_t n = 0; n < sample.Body.Size(); ++n) {
            std::vector<BYTE> cut(sample.Body.Vector().begin(), sample.Body.Vector().begin() + n);
            ASSERT_TRUE(m_Server.Send(sample.wMainCmdID, sample.wSubCmdID, cut)) << sample.pszName;
            ++nCuts;
        }
    }
    EnterUser(5005, "after", 0);
    ASSERT_EQ(1u, m_Recorder.Count(RN_USER_ENTER)) << m_Recorder.Keys();
    EXPECT_EQ(5005u, m_Recorder.Of(RN_USER_ENTER)[0].dwUserID);
    EXPECT_EQ("(3,1)", m_Recorder.Keys()) << "after " << nCuts << " cut bodies";
    EXPECT_TRUE(m_pDataCenter->IsConnected());
    EXPECT_EQ(0u, m_Client.Sent.size());
}
