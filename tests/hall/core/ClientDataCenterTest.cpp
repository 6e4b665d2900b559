// The hall data centre against the scripted hall server over loopback: the
// connect road, the logon road, the game list and the displayed trees.
#include "DataCenterTestSupport.h"
#include "HallProtocol.h"

#include "GlobalOption.h"
#include "GlobalUnits.h"

#include <algorithm>

namespace
{

const char kNoServerText[] = "连接服务器失败，请检查网络或者联系客服！";

tagLogonInput AccountInput(const char* account, const char* digest)
{
    tagLogonInput input = {};
    strcpy(input.szAccounts, account);
    strcpy(input.szPassword, digest);
    return input;
}

const char kDigest[] = "0123456789abcdef0123456789abcdef";

// ---- connecting ----------------------------------------------------------------------

TEST_F(DataCenterTest, ConnectsAndReportsTheModulesText)
{
    ListenToAll();
    ConnectToServer();
    EXPECT_EQ("(1,1)(1,2)", m_Recorder.Keys());
    EXPECT_FALSE(m_Recorder.Of(HN_CONNECT_RESULT)[0].strText.empty());
    EXPECT_EQ(2u, g_GlobalOption.GetConnectState());
    EXPECT_EQ(0u, m_Recorder.Of(HN_CONNECT_RESULT)[0].dwSerialNum);
}

TEST_F(DataCenterTest, EmptyServerListFailsAtOnceWithoutTrying)
{
    UseServers({});
    ListenToAll();
    ASSERT_TRUE(m_pDataCenter->ConnectServer());
    EXPECT_EQ("(1,2)", m_Recorder.Keys()) << "synchronously, no (1,1)";
    EXPECT_EQ(-1, m_Recorder.Of(HN_CONNECT_RESULT)[0].lValue);
    EXPECT_EQ(kNoServerText, m_Recorder.Of(HN_CONNECT_RESULT)[0].strText);
}

// Every server refuses: one (1,1) per server, then one (1,2) -1; a new
// request makes one more round.
TEST_F(DataCenterTest, ConnectFailureOnEveryServerEndsInOneReport)
{
    for (size_t servers : {1, 2, 3, 4}) {
        SCOPED_TRACE(servers);
        std::vector<WORD> ports;
        for (size_t i = 0; i < servers; ++i)
            ports.push_back(FindClosedPort());
        UseServers(ports);
        m_Recorder.Heard.clear();
        ListenToAll();
        for (int round = 0; round < 2; ++round) {
            ASSERT_TRUE(m_pDataCenter->ConnectServer());
            ASSERT_TRUE(PumpUntil([&] { return m_Recorder.Count(HN_CONNECT_RESULT) == size_t(round + 1); }, 10000));
            PumpFor(100);
            EXPECT_EQ(servers * (round + 1), m_Recorder.Count(HN_CONNECTING));
            ASSERT_EQ(size_t(round + 1), m_Recorder.Count(HN_CONNECT_RESULT));
            EXPECT_EQ(-1, m_Recorder.Of(HN_CONNECT_RESULT).back().lValue);
            EXPECT_EQ(kNoServerText, m_Recorder.Of(HN_CONNECT_RESULT).back().strText);
        }
        EXPECT_FALSE(m_pDataCenter->IsConnected());
    }
}

TEST_F(DataCenterTest, LaterServerAnswersAfterEarlierOnesRefuse)
{
    UseServers({FindClosedPort(), FindClosedPort(), m_Server.GetPort()});
    ListenToAll();
    ConnectToServer();
    EXPECT_EQ("(1,1)(1,1)(1,1)(1,2)", m_Recorder.Keys());
    EXPECT_EQ(2, g_GlobalOption.GetLastServer());
}

TEST_F(DataCenterTest, EntryWithoutHostConnectsToItsAddress)
{
    UseServers({m_Server.GetPort()}, true);
    ASSERT_STREQ("", g_GlobalOption.GetServer(0)->szHost);
    ListenToAll();
    ConnectToServer();
}

TEST_F(DataCenterTest, ClosedConnectionIsReported)
{
    ListenToAll();
    ConnectToServer();
    m_Server.Run({CHallServer::Close()});
    ASSERT_TRUE(PumpUntil([&] { return m_Recorder.Count(HN_CONNECTION_CLOSED) == 1; }));
    EXPECT_FALSE(m_pDataCenter->IsConnected());
    EXPECT_EQ(0u, m_Recorder.Of(HN_CONNECTION_CLOSED)[0].lParam);
}

TEST_F(DataCenterTest, AnswersItsTwoInterfacesOnly)
{
    void* out = nullptr;
    EXPECT_EQ(S_OK, static_cast<IClientDataCenter*>(m_pDataCenter)->QueryInterface(IID_IClientSocketSink, &out));
    EXPECT_EQ(static_cast<IClientSocketSink*>(m_pDataCenter), out);
    EXPECT_EQ(S_OK, static_cast<IClientSocketSink*>(m_pDataCenter)->QueryInterface(IID_IClientDataCenter, &out));
    EXPECT_EQ(static_cast<IClientDataCenter*>(m_pDataCenter), out);
    EXPECT_EQ(S_OK, static_cast<IClientDataCenter*>(m_pDataCenter)->QueryInterface(IID_IUnknownEx, &out));
    EXPECT_EQ(static_cast<IClientDataCenter*>(m_pDataCenter), out);
    out = &out;
    EXPECT_EQ(E_NOINTERFACE, static_cast<IClientDataCenter*>(m_pDataCenter)->QueryInterface(IID_IClientSocket, &out));
    EXPECT_EQ(nullptr, out);
    EXPECT_EQ(1u, static_cast<IClientDataCenter*>(m_pDataCenter)->AddRef());
    EXPECT_EQ(1u, static_cast<IClientSocketSink*>(m_pDataCenter)->Release());
    EXPECT_TRUE(m_pDataCenter->IsValid());
}

// ---- logon road ------------------------------------------------------------------------

TEST_F(DataCenterTest, LogonByAccountUpToUserAttributes)
{
    ListenToAll();
    CNotifyRecorder logonWindow;
    ConnectToServer();
    m_Server.On(
        HALL_MAIN_USER, HALL_SUB_USER_LOGON_BY_ACCOUNT,
        {CHallServer::Reply(HALL_MAIN_USER, HALL_SUB_S_USER_LOGON_RESULT,
                            Bytes(CWireBytes().U32(0).U32(4321).Str("玩家甲").U16(7).U8(1).Counted("webkey")))});

    DWORD serial = 0;
    ASSERT_TRUE(m_pDataCenter->SendLogon(serial, logonWindow.GetHwnd(), AccountInput("alice", kDigest)));
    EXPECT_NE(0u, serial);
    std::vector<tagServerFrame> logon = WaitRequests(HALL_MAIN_USER, HALL_SUB_USER_LOGON_BY_ACCOUNT);
    EXPECT_EQ(serial, logon[0].dwSerialNum);
    EXPECT_EQ(Bytes(CWireBytes().Str("alice").Str(kDigest).Str(MachineID())), logon[0].Body);

    ASSERT_TRUE(PumpUntil([&] { return logonWindow.Count(HN_LOGON_RESULT) == 1; }));
    EXPECT_EQ(0u, m_Recorder.Count(HN_LOGON_RESULT)) << "only the request's window hears the logon result";
    const tagHeardNotify heard = logonWindow.Of(HN_LOGON_RESULT)[0];
    EXPECT_EQ(serial, heard.dwSerialNum);
    EXPECT_EQ(0, heard.Logon.lResult);
    EXPECT_EQ(4321u, heard.Logon.dwUserID);
    EXPECT_EQ(1, heard.Logon.cbFlag);
    EXPECT_STREQ("玩家甲", heard.Logon.szName);
    EXPECT_STREQ("webkey", heard.Logon.szMessage);
    const tagGlobalUserData* user = g_GlobalUnits.GetGlobalUserData();
    EXPECT_EQ(4321u, user->dwUserID);
    EXPECT_EQ(7, user->lLevel);
    EXPECT_STREQ("玩家甲", user->szName);
    EXPECT_EQ(3u, g_GlobalOption.GetConnectState());
    EXPECT_EQ(4321u, m_pDataCenter->GetShareData()->dwUserID);
    EXPECT_STREQ(kDigest, m_pDataCenter->GetShareData()->szPassword);

    // The dialog's next steps: the game list and the own user's attributes.
    ASSERT_TRUE(m_pDataCenter->RequestGameList());
    for (WORD sub = 1; sub <= 7; ++sub)
        EXPECT_TRUE(WaitRequests(1003, sub)[0].Body.empty()) << sub;
    EXPECT_EQ(Bytes(CWireBytes{1}), WaitRequests(HALL_MAIN_ONLINE_COUNT, HALL_SUB_ONLINE_COUNT_SUBSCRIBE)[0].Body);
    std::vector<DWORD> serials;
    for (const tagServerFrame& f : m_Server.GetFrames())
        serials.push_back(f.dwSerialNum);
    std::sort(serials.begin(), serials.end());
    EXPECT_EQ(serials.end(), std::adjacent_find(serials.begin(), serials.end())) << "a serial of its own each";

    m_Server.On(
        HALL_MAIN_USER, HALL_SUB_USER_INFO,
        {CHallServer::Reply(
            HALL_MAIN_USER, HALL_SUB_S_USER_INFO_RESULT,
            Bytes(CWireBytes().U32(0).Count(4).U16(3).Str("-100").U16(15).Str("签名").U16(6).Str("12x").U16(23).Str(
                "99")))});
    DWORD infoSerial = 0;
    ASSERT_TRUE(m_pDataCenter->RequestUserInfo(infoSerial, logonWindow.GetHwnd()));
    CWireBytes ids = CWireBytes().U32(4321).Count(17);
    for (int id : {2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 17, 15, 16, 19})
        ids.U16(id);
    EXPECT_EQ(ids.Vector(), WaitRequests(HALL_MAIN_USER, HALL_SUB_USER_INFO)[0].Body);
    ASSERT_TRUE(PumpUntil([&] { return logonWindow.Count(HN_USER_INFO_RESULT) == 1; }));
    EXPECT_EQ(infoSerial, logonWindow.Of(HN_USER_INFO_RESULT)[0].dwSerialNum);
    EXPECT_EQ(0, logonWindow.Of(HN_USER_INFO_RESULT)[0].lValue);
    EXPECT_EQ(-100, user->lLevel);
    EXPECT_STREQ("签名", user->szSignature);
    EXPECT_EQ(12, user->wFaceID) << "decimal by the C library's rules";
    EXPECT_EQ(99u, user->dwAttribute23);
    EXPECT_EQ(0u, m_Recorder.Count(HN_USER_INFO_RESULT));
}

TEST_F(DataCenterTest, LogonByUserIdRefusedClosesAndClearsTheBlock)
{
    ListenToAll();
    CNotifyRecorder logonWindow;
    ConnectToServer();
    m_Server.On(HALL_MAIN_USER, HALL_SUB_USER_LOGON_BY_USER_ID,
                {CHallServer::Reply(HALL_MAIN_USER, HALL_SUB_S_USER_LOGON_RESULT,
                                    Bytes(CWireBytes().U32(7).Counted("密码错误")))});
    tagLogonInput input = AccountInput("", kDigest);
    input.dwUserID = 0x01020304;
    DWORD serial = 0;
    ASSERT_TRUE(m_pDataCenter->SendLogon(serial, logonWindow.GetHwnd(), input));
    EXPECT_EQ(Bytes(CWireBytes().U32(0x01020304).Str(kDigest).Str(MachineID())),
              WaitRequests(HALL_MAIN_USER, HALL_SUB_USER_LOGON_BY_USER_ID)[0].Body)
        << "no bytes for the reserved field";
    ASSERT_TRUE(PumpUntil([&] { return logonWindow.Count(HN_LOGON_RESULT) == 1; }));
    EXPECT_EQ(-1, logonWindow.Of(HN_LOGON_RESULT)[0].Logon.lResult) << "7 maps to -1";
    EXPECT_STREQ("密码错误", logonWindow.Of(HN_LOGON_RESULT)[0].Logon.szMessage);
    EXPECT_FALSE(m_pDataCenter->IsConnected());
    EXPECT_EQ(1u, m_Recorder.Count(HN_CONNECTION_CLOSED)) << "the refused logon closes the connection";
    EXPECT_EQ(0u, m_pDataCenter->GetShareData()->dwUserID);
    EXPECT_STREQ("", m_pDataCenter->GetShareData()->szPassword);
    EXPECT_EQ(0u, g_GlobalUnits.GetGlobalUserData()->dwUserID);
}

TEST_F(DataCenterTest, LogonByUserIdUpToUserAttributes)
{
    ListenToAll();
    CNotifyRecorder logonWindow;
    ConnectToServer();
    m_Server.On(HALL_MAIN_USER, HALL_SUB_USER_LOGON_BY_USER_ID,
                {CHallServer::Reply(HALL_MAIN_USER, HALL_SUB_S_USER_LOGON_RESULT,
                                    Bytes(CWireBytes().U32(0).U32(99).Str("id-user").U16(2).U8(0).Counted("")))});
    m_Server.On(HALL_MAIN_USER, HALL_SUB_USER_INFO,
                {CHallServer::Reply(HALL_MAIN_USER, HALL_SUB_S_USER_INFO_RESULT, Bytes(CWireBytes().U32(5)))});
    tagLogonInput input = AccountInput("ignored", kDigest);
    input.dwUserID = 99;
    DWORD serial = 0;
    ASSERT_TRUE(m_pDataCenter->SendLogon(serial, logonWindow.GetHwnd(), input));
    EXPECT_EQ(Bytes(CWireBytes().U32(99).Str(kDigest).Str(MachineID())),
              WaitRequests(HALL_MAIN_USER, HALL_SUB_USER_LOGON_BY_USER_ID)[0].Body);
    ASSERT_TRUE(PumpUntil([&] { return logonWindow.Count(HN_LOGON_RESULT) == 1; }));
    EXPECT_EQ(0, logonWindow.Of(HN_LOGON_RESULT)[0].Logon.lResult);
    EXPECT_STREQ("", logonWindow.Of(HN_LOGON_RESULT)[0].Logon.szMessage);
    DWORD infoSerial = 0;
    ASSERT_TRUE(m_pDataCenter->RequestUserInfo(infoSerial, logonWindow.GetHwnd()));
    EXPECT_EQ(99u, CWireBytes().Bytes(WaitRequests(HALL_MAIN_USER, HALL_SUB_USER_INFO)[0].Body).Vector()[0]);
    ASSERT_TRUE(PumpUntil([&] { return logonWindow.Count(HN_USER_INFO_RESULT) == 1; }));
    EXPECT_EQ(5, logonWindow.Of(HN_USER_INFO_RESULT)[0].lValue)
        << "a result other than 0 stores nothing and is heard mapped";
}

TEST_F(DataCenterTest, LogonResultEdgeForms)
{
    ListenToAll();
    CNotifyRecorder logonWindow;
    ConnectToServer();
    struct Case
    {
        const char* name;
        CWireBytes body;
        bool heard;
        LONG result;
        const char* message;
    };
    const Case cases[] = {
        {"accepted, message cut short", CWireBytes().U32(0).U32(5).Str("n").U16(1).U8(0).U32(40).Raw("ab", 2), true, 0,
         ""},
        {"accepted head cut short", CWireBytes().U32(0).U32(5).Str("n"), false, 0, ""},
        {"empty body", CWireBytes(), false, 0, ""},
        {"refused without message", CWireBytes().U32(3).Counted(""), true, 3, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DWORD serial = CMessage::NextSerialNumber();
        m_pDataCenter->AddSerialWindow(serial, logonWindow.GetHwnd());
        size_t before = logonWindow.Count(HN_LOGON_RESULT);
        if (c.heard) {
            ASSERT_TRUE(m_Server.Send(HALL_MAIN_USER, HALL_SUB_S_USER_LOGON_RESULT, c.body.Vector(), serial));
            ASSERT_TRUE(PumpUntil([&] { return logonWindow.Count(HN_LOGON_RESULT) > before; }));
            tagHeardNotify heard = logonWindow.Of(HN_LOGON_RESULT).back();
            EXPECT_EQ(serial, heard.dwSerialNum);
            EXPECT_EQ(c.result, heard.Logon.lResult);
            EXPECT_STREQ(c.message, heard.Logon.szMessage);
        } else {
            SendAndSettle(HALL_MAIN_USER, HALL_SUB_S_USER_LOGON_RESULT, c.body.Vector(), serial);
            EXPECT_EQ(before, logonWindow.Count(HN_LOGON_RESULT));
        }
    }
    EXPECT_FALSE(m_pDataCenter->IsConnected()) << "the refusal closed the connection";
}

TEST_F(DataCenterTest, MalformedUserInfoAnswerIsHeardAsFour)
{
    ListenToAll();
    CNotifyRecorder window;
    ConnectToServer();
    m_Server.On(
        HALL_MAIN_USER, HALL_SUB_USER_INFO,
        {CHallServer::Reply(HALL_MAIN_USER, HALL_SUB_S_USER_INFO_RESULT, Bytes(CWireBytes().U32(0).Count(3).U16(2)))});
    DWORD serial = 0;
    ASSERT_TRUE(m_pDataCenter->RequestUserInfo(serial, window.GetHwnd()));
    ASSERT_TRUE(PumpUntil([&] { return window.Count(HN_USER_INFO_RESULT) == 1; }));
    EXPECT_EQ(4, window.Of(HN_USER_INFO_RESULT)[0].lValue);
    EXPECT_EQ(0u, window.Of(HN_USER_INFO_RESULT)[0].dwSerialNum) << "a plain head";
}

// ---- game list and trees ---------------------------------------------------------------

CWireBytes Paged(int total, int offset, const std::vector<CWireBytes>& items)
{
    CWireBytes body = CWireBytes().U32(total).U32(offset).Count(uint32_t(items.size()));
    for (const CWireBytes& item : items)
        body.Item(item);
    return body;
}

CWireBytes Link(uint32_t node, uint32_t parent, uint8_t kind, uint32_t item, int32_t sort = 0)
{
    return CWireBytes()
        .U32(node)
        .U32(parent)
        .U8(kind)
        .Str("n" + std::to_string(node))
        .U32(item)
        .U32(uint32_t(sort))
        .U32(node * 16);
}

class GameListTest : public DataCenterTest
{
protected:
    void SetUp() override
    {
        DataCenterTest::SetUp();
        ListenToAll();
        ConnectToServer();
        SendAndSettle(HALL_MAIN_GAME_LIST, HALL_SUB_S_GAME_LIST_CATEGORIES,
                      Paged(2, 0, {CWireBytes().U32(1).Str("棋牌"), CWireBytes().U32(1).Str("dup")}).Vector());
        SendAndSettle(HALL_MAIN_GAME_LIST, HALL_SUB_S_GAME_LIST_GAMES,
                      Paged(1, 0, {CWireBytes().U32(10).Str("斗地主").Str("Landlord")}).Vector());
        SendAndSettle(HALL_MAIN_GAME_LIST, HALL_SUB_S_GAME_LIST_STATIONS,
                      Paged(1, 0, {CWireBytes().U32(20).Str("新手区")}).Vector());
        SendAndSettle(HALL_MAIN_GAME_LIST, HALL_SUB_S_GAME_LIST_ROOMS,
                      Paged(2, 0, {Room(100, "a.example;b.example;c.example;d.example"), Room(101, "x")}).Vector());
        SendAndSettle(HALL_MAIN_GAME_LIST, HALL_SUB_S_GAME_LIST_WEBS,
                      Paged(1, 0, {CWireBytes().U32(5).Str("web").Str("http://example.invalid/")}).Vector());
    }

    static CWireBytes Room(uint32_t id, const std::string& addresses)
    {
        return CWireBytes().U32(id).Str("room" + std::to_string(id)).Str(addresses).U16(9100).U32(10).U8(2).U16(7);
    }

    CGameTreeManager* Tree() { return m_pDataCenter->GetGameTreeManager(); }
};

TEST_F(GameListTest, ListsFillTheGameTree)
{
    EXPECT_EQ(Tree(), g_GlobalUnits.GetGameTreeManager());
    ASSERT_NE(nullptr, Tree()->FindGameCategory(1));
    EXPECT_EQ(CString("棋牌"), Tree()->FindGameCategory(1)->GetName()) << "the duplicate id is refused";
    EXPECT_EQ(1, Tree()->GetGameCategoryList().GetCount());
    ASSERT_NE(nullptr, Tree()->FindGame(10));
    EXPECT_EQ(CString("Landlord"), Tree()->FindGame(10)->GetFolderName());
    EXPECT_TRUE(Tree()->HasGameStation(20));
    CGameRoom* room = Tree()->FindGameRoom(100);
    ASSERT_NE(nullptr, room);
    EXPECT_EQ(4, room->GetServerAddressCount()) << "the whole address list";
    EXPECT_EQ(CString("d.example"), room->GetServerAddress(3));
    EXPECT_EQ(9100, room->GetPort());
    EXPECT_EQ(10u, room->GetGameId());
    EXPECT_EQ(2, room->GetRoomKind());
    EXPECT_EQ(7, room->GetChannelValue());
    EXPECT_EQ(CString("http://example.invalid/"), Tree()->FindGameWeb(5)->GetLink());

    // A malformed list adds nothing; no list raises a notification.
    SendAndSettle(HALL_MAIN_GAME_LIST, HALL_SUB_S_GAME_LIST_GAMES,
                  Bytes(CWireBytes().U32(2).U32(0).Count(2).Item(CWireBytes().U32(11).Str("ok").Str("f"))));
    EXPECT_FALSE(Tree()->HasGame(11));
    EXPECT_EQ("(1,1)(1,2)", m_Recorder.Keys());
}

TEST_F(GameListTest, ServerTreeBuildsOnceFromItsPages)
{
    // Total 10 in two pages; node 8's parent (9) comes after it; node 6
    // names an unknown game, so its child 7 finds no parent.
    std::vector<CWireBytes> first = {Link(1, 0, 1, 1),     Link(8, 9, 4, 101),    Link(2, 1, 2, 10, 2),
                                     Link(3, 1, 3, 20, 1), Link(4, 3, 4, 100, 5), Link(5, 3, 4, 100, 1)};
    std::vector<CWireBytes> second = {Link(6, 1, 2, 999), Link(7, 6, 4, 101), Link(9, 1, 3, 20, 9), Link(10, 2, 5, 5)};
    SendAndSettle(HALL_MAIN_GAME_LIST, HALL_SUB_S_GAME_LIST_SERVER_TREE, Paged(10, 0, first).Vector());
    EXPECT_EQ(nullptr, m_pDataCenter->GetServerTreeRoot());
    EXPECT_EQ(0u, m_Recorder.Count(HN_SERVER_TREE));
    SendAndSettle(HALL_MAIN_GAME_LIST, HALL_SUB_S_GAME_LIST_SERVER_TREE, Paged(10, 6, second).Vector());
    EXPECT_EQ(1u, m_Recorder.Count(HN_SERVER_TREE));

    CGameTreeNode* root = m_pDataCenter->GetServerTreeRoot();
    ASSERT_NE(nullptr, root);
    EXPECT_EQ(0u, root->GetNodeId());
    CGameTreeNode* category = root->FindNode(1);
    ASSERT_NE(nullptr, category);
    ASSERT_EQ(3, category->GetChildCount());
    EXPECT_EQ(3u, category->GetChild(0)->GetNodeId()) << "children by sort order";
    EXPECT_EQ(2u, category->GetChild(1)->GetNodeId());
    EXPECT_EQ(9u, category->GetChild(2)->GetNodeId());
    CGameTreeNode* late = root->FindNode(8);
    ASSERT_NE(nullptr, late) << "placed once its parent arrived";
    EXPECT_EQ(9u, late->GetParent()->GetNodeId());
    EXPECT_EQ(nullptr, root->FindNode(6)) << "unknown item id";
    EXPECT_EQ(nullptr, root->FindNode(7)) << "its child stays unplaced";
    CGameTreeNode* roomNode = root->FindNode(5);
    ASSERT_NE(nullptr, roomNode);
    EXPECT_EQ(4u, roomNode->GetItemType());
    EXPECT_EQ(100u, roomNode->GetItemData());
    EXPECT_EQ(CString("n5"), roomNode->GetText());
    EXPECT_EQ(80u, roomNode->GetFlags());
    EXPECT_EQ(2, Tree()->FindGameRoom(100)->GetNodeCount()) << "both nodes of room 100 are linked";

    // Online counts flow up through the linked nodes.
    SendAndHear(HALL_MAIN_ONLINE_COUNT, HALL_SUB_S_ONLINE_COUNT_ROOMS,
                Paged(2, 0, {CWireBytes().U32(100).U32(30), CWireBytes().U32(555).U32(1)}).Vector(), HN_ONLINE_COUNT);
    EXPECT_EQ(30u, Tree()->FindGameRoom(100)->GetOnlineCount());
    EXPECT_EQ(30u, Tree()->GetTotalOnline()) << "the unknown room counts nothing";
    EXPECT_EQ(60u, root->FindNode(3)->GetState());
    SendAndSettle(HALL_MAIN_ONLINE_COUNT, HALL_SUB_S_ONLINE_COUNT_ROOMS, Paged(0, 0, {}).Vector());
    EXPECT_EQ(1u, m_Recorder.Count(HN_ONLINE_COUNT)) << "an empty list raises nothing";
    SendAndHear(HALL_MAIN_ONLINE_COUNT, HALL_SUB_S_ONLINE_COUNT_TOTAL, Bytes(CWireBytes().U32(12345)), HN_ONLINE_COUNT);
    EXPECT_EQ(12345u, Tree()->GetTotalOnline());

    // A new first page starts the links again and rebuilds.
    SendAndSettle(HALL_MAIN_GAME_LIST, HALL_SUB_S_GAME_LIST_SERVER_TREE, Paged(1, 0, {Link(1, 0, 1, 1)}).Vector());
    EXPECT_EQ(2u, m_Recorder.Count(HN_SERVER_TREE));
    EXPECT_EQ(0, m_pDataCenter->GetServerTreeRoot()->FindNode(1)->GetChildCount());
    EXPECT_EQ(0, Tree()->FindGameRoom(100)->GetNodeCount()) << "the old nodes are gone from the room";
}

TEST_F(GameListTest, SecondTreeBuildsOnlyWhenWhole)
{
    SendAndSettle(HALL_MAIN_GAME_LIST, HALL_SUB_S_GAME_LIST_SECOND_TREE,
                  Paged(3, 0, {Link(1, 0, 1, 1), Link(2, 1, 2, 10)}).Vector());
    EXPECT_EQ(nullptr, m_pDataCenter->GetSecondTreeRoot()) << "below the total";
    EXPECT_EQ(0u, m_Recorder.Count(HN_SECOND_TREE));
    SendAndSettle(HALL_MAIN_GAME_LIST, HALL_SUB_S_GAME_LIST_SECOND_TREE, Paged(3, 2, {Link(3, 1, 3, 20)}).Vector());
    EXPECT_EQ(nullptr, m_pDataCenter->GetSecondTreeRoot()) << "its offset counts as 0";
    SendAndSettle(HALL_MAIN_GAME_LIST, HALL_SUB_S_GAME_LIST_SECOND_TREE,
                  Paged(3, 0, {Link(4, 1, 3, 20), Link(5, 1, 3, 20), Link(6, 1, 3, 20)}).Vector());
    ASSERT_NE(nullptr, m_pDataCenter->GetSecondTreeRoot());
    EXPECT_EQ(1u, m_Recorder.Count(HN_SECOND_TREE));
    EXPECT_EQ(5, m_pDataCenter->GetSecondTreeRoot()->FindNode(1)->GetChildCount()) << "the list was never cleared";
}

// Sends a list the way the server pages it: at most 1000 items a message.
void SendPagedDirect(CClientDataCenter* dc, WORD wSubCmdID, const std::vector<CWireBytes>& items)
{
    for (size_t offset = 0; offset < items.size(); offset += 1000) {
        size_t end = std::min(items.size(), offset + 1000);
        std::vector<CWireBytes> page(items.begin() + offset, items.begin() + end);
        std::vector<BYTE> body = Paged(int(items.size()), int(offset), page).Vector();
        ASSERT_LE(body.size(), 0xFFFFu);
        dc->OnSocketRead(0, HALL_MAIN_GAME_LIST, wSubCmdID, body.data(), WORD(body.size()), NULL);
    }
}

// "id<parent:sort:text" of every node, depth first.
void DumpTree(const CGameTreeNode* node, std::string& out)
{
    for (INT_PTR i = 0; i < node->GetChildCount(); ++i) {
        const CGameTreeNode* child = node->GetChild(i);
        out += std::to_string(child->GetNodeId()) + "<" + std::to_string(node->GetNodeId()) + ":" +
               std::to_string(child->GetSortOrder()) + ":" + std::string(child->GetText()) + " ";
        DumpTree(child, out);
    }
}

TEST_F(GameListTest, LargeListPlacesEveryLinkUnderItsParent)
{
    // 20 categories, 200 games, 10,000 rooms; the links come leaves first.
    std::vector<CWireBytes> rooms;
    for (uint32_t r = 0; r < 10000; ++r)
        rooms.push_back(Room(1000 + r, "h"));
    SendPagedDirect(m_pDataCenter, 1004, rooms);
    std::vector<CWireBytes> links;
    for (uint32_t r = 0; r < 10000; ++r)
        links.push_back(Link(10000 + r, 100 + r / 50, 4, 1000 + r, int32_t(r % 50)));
    for (uint32_t g = 0; g < 200; ++g)
        links.push_back(Link(100 + g, 1 + g / 10, 2, 10, -int32_t(g % 10)));
    for (uint32_t c = 0; c < 20; ++c)
        links.push_back(Link(1 + c, 0, 1, 1, int32_t(c)));
    SendPagedDirect(m_pDataCenter, 1007, links);

    CGameTreeNode* root = m_pDataCenter->GetServerTreeRoot();
    ASSERT_NE(nullptr, root);
    ASSERT_EQ(20, root->GetChildCount());
    for (uint32_t c = 0; c < 20; ++c) {
        CGameTreeNode* category = root->GetChild(c);
        ASSERT_EQ(1 + c, category->GetNodeId());
        ASSERT_EQ(10, category->GetChildCount());
        for (uint32_t i = 0; i < 10; ++i) {
            CGameTreeNode* game = category->GetChild(i);
            uint32_t g = c * 10 + 9 - i; // sort order -(g % 10)
            ASSERT_EQ(100 + g, game->GetNodeId());
            ASSERT_EQ(50, game->GetChildCount());
            for (uint32_t k = 0; k < 50; ++k) {
                CGameTreeNode* node = game->GetChild(k);
                uint32_t r = g * 50 + k;
                ASSERT_EQ(10000 + r, node->GetNodeId());
                ASSERT_EQ(node, Tree()->FindGameRoom(1000 + r)->GetNode(0));
            }
        }
    }
}

// Duplicate node ids, unknown items, links before their parents and parents
// that never come: the tree is the one that placing, round by round, the
// first link whose parent a depth-first search finds would give.
TEST_F(GameListTest, ScrambledLinksBuildAsASearchPerLinkWould)
{
    std::vector<CWireBytes> links;
    std::vector<tagTreeLinkItem> model;
    uint32_t seed = 12345;
    auto next = [&seed](uint32_t n) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) % n;
    };
    const uint32_t kinds[][2] = {{1, 1}, {2, 10}, {3, 20}, {4, 100}, {4, 101}, {5, 5}, {2, 999}};
    for (int i = 0; i < 400; ++i) {
        tagTreeLinkItem link = {};
        link.dwNodeID = 1 + next(150);
        link.dwParentID = next(8) == 0 ? 0 : 1 + next(170);
        const uint32_t* kind = kinds[next(7)];
        link.cbKind = BYTE(kind[0]);
        link.dwItemID = kind[1];
        link.lSortOrder = LONG(next(4));
        CopyTextField(link.szCaption, ("n" + std::to_string(link.dwNodeID)).c_str());
        model.push_back(link);
        links.push_back(Link(link.dwNodeID, link.dwParentID, link.cbKind, link.dwItemID, link.lSortOrder));
    }
    SendAndSettle(HALL_MAIN_GAME_LIST, HALL_SUB_S_GAME_LIST_SERVER_TREE, Paged(int(links.size()), 0, links).Vector());
    CGameTreeNode* root = m_pDataCenter->GetServerTreeRoot();
    ASSERT_NE(nullptr, root);

    CGameTreeNode expected(0);
    size_t placed = 0;
    for (;;) {
        size_t at = 0;
        CGameTreeNode* parent = NULL;
        for (; at < model.size() && parent == NULL; ++at)
            parent = expected.FindNode(model[at].dwParentID);
        if (parent == NULL)
            break;
        const tagTreeLinkItem& link = model[at - 1];
        if (link.dwItemID != 999) {
            CGameTreeNode* node = new CGameTreeNode(link.dwNodeID);
            node->SetSortOrder(link.lSortOrder);
            node->SetText(link.szCaption);
            parent->InsertChild(node);
            ++placed;
        }
        model.erase(model.begin() + (at - 1));
    }
    ASSERT_GT(placed, 100u);
    ASSERT_GT(model.size(), 10u);
    std::string got, want;
    DumpTree(root, got);
    DumpTree(&expected, want);
    EXPECT_EQ(want, got);
}

TEST_F(GameListTest, ResetForgetsTheSessionButKeepsDefinitions)
{
    SendAndSettle(HALL_MAIN_GAME_LIST, HALL_SUB_S_GAME_LIST_SERVER_TREE, Paged(1, 0, {Link(1, 0, 1, 1)}).Vector());
    tagStoreDefinition* definition = new tagStoreDefinition();
    definition->dwID = 77;
    SendAndSettle(HALL_MAIN_RECORD_STORE, HALL_SUB_S_RECORD_STORE_DEFINITION, CHallServer::Body(*definition));
    delete definition;
    SendAndSettle(HALL_MAIN_RECORD_STORE, HALL_SUB_S_RECORD_STORE_ENTRY_A, Bytes(CWireBytes().U32(1).U8(0).Str("a")));
    ASSERT_EQ(1, m_pDataCenter->GetRecordStore()->GetEntryACount());

    ASSERT_TRUE(m_pDataCenter->ResetLogonState(true));
    EXPECT_TRUE(m_pDataCenter->IsConnected());
    EXPECT_EQ(nullptr, m_pDataCenter->GetServerTreeRoot());
    EXPECT_EQ(0, Tree()->GetGameRoomList().GetCount());
    EXPECT_EQ(0, Tree()->GetGameCategoryList().GetCount());
    EXPECT_EQ(0, m_pDataCenter->GetRecordStore()->GetEntryACount());
    EXPECT_NE(nullptr, m_pDataCenter->GetRecordStore()->FindDefinition(77));

    ASSERT_TRUE(m_pDataCenter->ResetLogonState(false));
    EXPECT_FALSE(m_pDataCenter->IsConnected());
}

TEST_F(DataCenterTest, WebGameListFromTheLocalFile)
{
    std::string ini = "[WEBGAMEICON]\r\nPATH=icons\\\r\n"
                      "[WEBGAME]\r\ng1=31,网页游戏,4,http://a.invalid/\r\ng2=0,zero id,1,x\r\ng3=32,three,parts\r\n"
                      "[WEBGAMESERVER]\r\ns1=41,server,http://s.invalid/\r\ns2=42,two\r\n"
                      "[WEBGAMENODE]\r\nn3=3,leaf,2,7,41\r\nn1=1,top,0,6,31\r\nn2=2,mid,1,6,31\r\nn9=9,orphan,8,6,"
                      "31\r\nn4=4,unknown,1,6,99\r\n";
    std::string path = m_Folder.Write("LocalGame.ini", ini);
    ASSERT_TRUE(m_pDataCenter->LoadWebGameList(path.c_str()));
    CGameTreeManager* tree = m_pDataCenter->GetGameTreeManager();
    EXPECT_EQ(CString("icons\\"), tree->GetWebGameIconPath());
    ASSERT_NE(nullptr, tree->FindWebGame(31));
    EXPECT_EQ(CString("网页游戏"), tree->FindWebGame(31)->GetName());
    EXPECT_EQ(4u, tree->FindWebGame(31)->GetIconId());
    EXPECT_EQ(CString("http://a.invalid/"), tree->FindWebGame(31)->GetLink());
    EXPECT_EQ(1, tree->GetWebGameList().GetCount());
    EXPECT_EQ(CString("http://s.invalid/"), tree->FindWebGameServer(41)->GetLink());
    EXPECT_EQ(1, tree->GetWebGameServerList().GetCount());
    CGameTreeNode* root = m_pDataCenter->GetWebGameTreeRoot();
    ASSERT_NE(nullptr, root);
    ASSERT_NE(nullptr, root->FindNode(3));
    EXPECT_EQ(2u, root->FindNode(3)->GetParent()->GetNodeId());
    EXPECT_EQ(7u, root->FindNode(3)->GetItemType());
    EXPECT_EQ(nullptr, root->FindNode(9));
    EXPECT_EQ(nullptr, root->FindNode(4));

    // Loading again replaces the tree; the items already there are refused and freed.
    ASSERT_TRUE(m_pDataCenter->LoadWebGameList(path.c_str()));
    EXPECT_EQ(1, tree->GetWebGameList().GetCount());
    ASSERT_NE(nullptr, m_pDataCenter->GetWebGameTreeRoot()->FindNode(3));
}

} // namespace
