// The user-service data centre: server rotation, request bodies, replies
// and their notifications, through an in-process socket; then a start-up
// through the socket module against the scripted user-service server.
#include "ServiceTestSupport.h"

#include <functional>

#include "MachineID.h"
#include "MessagePump.h"
#include "QuillonDataCenter.h"
#include "ServiceGlobalUnits.h"
#include "ServiceServer.h"

#include <gtest/gtest.h>

namespace
{

const char kDigest[] = "0123456789abcdef0123456789abcdef";

class QuillonDataCenterTest : public testing::Test
{
protected:
    void SetUp() override
    {
        g_ServiceUnits.Reset();
        m_Folder.WriteServers({{"10.0.0.1", 9001}}, 0);
    }
    void TearDown() override
    {
        if (m_pDataCenter != nullptr)
            m_pDataCenter->Release();
        g_ServiceUnits.Reset();
    }

    // A data centre on the recording socket, heard by the recorder.
    CQuillonDataCenter* Make()
    {
        m_pDataCenter = CQuillonDataCenter::Create();
        m_pDataCenter->SetNotifyMessage(WM_QUILLON_NOTIFY);
        for (size_t i = 0; i < kServiceNotifyKeyCount; ++i)
            m_pDataCenter->AddNotifyWindow(kServiceNotifyKeys[i], m_Recorder.GetHwnd());
        m_pDataCenter->SetSocket(&m_Socket);
        return m_pDataCenter;
    }

    bool Read(WORD wMainCmdID, WORD wSubCmdID, const CWireBytes& body, DWORD dwSerialNum = 0)
    {
        std::vector<BYTE> bytes = body.Vector();
        return m_pDataCenter->OnSocketRead(dwSerialNum, wMainCmdID, wSubCmdID, bytes.empty() ? NULL : bytes.data(),
                                           WORD(bytes.size()), &m_Socket);
    }

    CServiceFolder m_Folder;
    CServiceRecorder m_Recorder;
    CRecordingSocket m_Socket;
    CQuillonDataCenter* m_pDataCenter = nullptr;
};

std::string Server(int n)
{
    return "10.0.0." + std::to_string(n) + ":" + std::to_string(9000 + n);
}

TEST_F(QuillonDataCenterTest, RotationTriesEachEntryOnceFromTheLastOneReached)
{
    struct Case
    {
        const char* name;
        int nEntries;     // entries with an address, 10.0.0.(1..n)
        int nServerCount; // "ServerCount" (entries beyond the addressed ones have none)
        int nLast;        // "LastServerID"
        std::vector<int> attempts;
    } cases[] = {
        {"from the saved index, round the list", 3, 3, 2, {3, 1, 2}},
        {"saved index equal to the count starts at 0", 3, 3, 3, {1, 2, 3}},
        {"negative saved index starts at 0", 2, 2, -4, {1, 2}},
        {"saved index past the addressed entries starts at 0", 2, 4, 3, {1, 2}},
        {"no entry at all", 0, 0, 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::pair<std::string, WORD>> servers;
        for (int i = 1; i <= c.nEntries; ++i)
            servers.push_back({"10.0.0." + std::to_string(i), WORD(9000 + i)});
        for (int i = c.nEntries; i < c.nServerCount; ++i)
            servers.push_back({"", 9000});
        m_Folder.WriteServers(servers, c.nLast, c.nServerCount);
        m_Socket.Connects.clear();
        m_Recorder.Heard.clear();
        Make();

        bool bFirst = m_pDataCenter->ConnectServer();
        for (size_t i = 1; i < c.attempts.size() + 1; ++i)
            m_pDataCenter->OnSocketConnect(10061, "refused");
        std::vector<std::string> expected;
        for (int n : c.attempts)
            expected.push_back(Server(n));
        EXPECT_EQ(expected, m_Socket.Connects);
        EXPECT_EQ(!c.attempts.empty(), bFirst);
        ASSERT_EQ(1u, m_Recorder.Heard.size()) << m_Recorder.Keys();
        EXPECT_EQ(1, m_Recorder.Heard[0].lValue);
        EXPECT_EQ("连接用户服务服务器失败", m_Recorder.Heard[0].strText);
        EXPECT_EQ(c.nLast, m_Folder.ReadLastServerID()) << "nothing reached, nothing saved";
        m_pDataCenter->Release();
        m_pDataCenter = nullptr;
    }
}

TEST_F(QuillonDataCenterTest, TheServerReachedIsSavedAndTriedFirstNextTime)
{
    m_Folder.WriteServers({{"10.0.0.1", 9001}, {"10.0.0.2", 9002}, {"10.0.0.3", 9003}}, 2);
    Make();
    ASSERT_TRUE(m_pDataCenter->ConnectServer());
    m_pDataCenter->OnSocketConnect(10061, "refused");
    m_pDataCenter->OnSocketConnect(0, "");
    EXPECT_EQ((std::vector<std::string>{Server(3), Server(1)}), m_Socket.Connects);
    ASSERT_EQ(1u, m_Recorder.Count(QN_CONNECT));
    EXPECT_EQ(0, m_Recorder.Of(QN_CONNECT)[0].lValue);
    EXPECT_EQ("连接成功", m_Recorder.Of(QN_CONNECT)[0].strText);
    EXPECT_EQ(0, m_Folder.ReadLastServerID());

    m_pDataCenter->Release();
    m_Socket.Connects.clear();
    Make();
    m_pDataCenter->ConnectServer();
    EXPECT_EQ((std::vector<std::string>{Server(1)}), m_Socket.Connects);
}

TEST_F(QuillonDataCenterTest, RequestBodies)
{
    Make();
    char szMachineID[33];
    CMachineID::GetMachineID(szMachineID);
    std::string strLong(40, 'p');
    CModifyAttrArray attrs;
    tagModifyAttr attr = {4, "nick"};
    attrs.Add(attr);
    tagModifyAttr qq = {8, "12345"};
    attrs.Add(qq);
    CWireBytes userInfo;
    userInfo.Count(16);
    for (WORD id : {2, 3, 4, 5, 6, 14, 17, 7, 8, 9, 10, 11, 12, 13, 15, 18})
        userInfo.U16(id);

    struct Case
    {
        const char* name;
        std::function<bool()> send;
        WORD wMain, wSub;
        CWireBytes body;
    } cases[] = {
        {"logon", [&] { return m_pDataCenter->SendLogon(1234, kDigest); }, 100, 102,
         CWireBytes().U32(1234).Str(kDigest).U32(0).Str(szMachineID)},
        {"logon, password cut to its field", [&] { return m_pDataCenter->SendLogon(1, strLong.c_str()); }, 100, 102,
         CWireBytes().U32(1).Str(std::string(32, 'p')).U32(0).Str(szMachineID)},
        {"user data", [&] { return m_pDataCenter->RequestUserInfo(); }, 200, 201, userInfo},
        {"modify user data", [&] { return m_pDataCenter->SendModifyUserInfo(attrs); }, 200, 203,
         CWireBytes().Count(2).U16(4).Str("nick").U16(8).Str("12345")},
        {"modify password", [&] { return m_pDataCenter->SendModifyPassword("old", "new"); }, 200, 205,
         CWireBytes().Str("old").Str("new")},
        {"nickname", [&] { return m_pDataCenter->RequestNickName(77); }, 200, 207, CWireBytes().U32(77)},
        {"strong-box information", [&] { return m_pDataCenter->RequestBankInfo(); }, 300, 301, CWireBytes()},
        {"deposit", [&] { return m_pDataCenter->SendDeposit(500); }, 300, 303, CWireBytes().U32(500)},
        {"withdraw", [&] { return m_pDataCenter->SendWithdraw(300, "box"); }, 300, 305,
         CWireBytes().Str("box").U32(300)},
        {"strong-box password", [&] { return m_pDataCenter->SendModifyBankPassword("a", "b"); }, 300, 307,
         CWireBytes().Str("a").Str("b")},
        {"transfer", [&] { return m_pDataCenter->SendTransfer(9, "box", 100); }, 300, 309,
         CWireBytes().U32(9).Str("box").U32(100)},
        {"egg to bean", [&] { return m_pDataCenter->SendGoldToHP(10000); }, 300, 311, CWireBytes().U16(0).U64(10000)},
        {"bean to egg", [&] { return m_pDataCenter->SendHPToGold(0x100000000LL); }, 300, 311,
         CWireBytes().U16(1).U64(0x100000000ULL)},
        {"password state", [&] { return m_pDataCenter->SendCheckBankPassword(); }, 300, 313, CWireBytes()},
        {"set strong-box password", [&] { return m_pDataCenter->SendInitBankPassword("box"); }, 300, 315,
         CWireBytes().Str("box")},
        {"played games", [&] { return m_pDataCenter->RequestPlayedGameList(); }, 500, 501, CWireBytes()},
        {"game score", [&] { return m_pDataCenter->RequestGameScore(5); }, 500, 503, CWireBytes().U32(5)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_Socket.Sent.clear();
        EXPECT_TRUE(c.send());
        ASSERT_EQ(1u, m_Socket.Sent.size());
        EXPECT_EQ(c.wMain, m_Socket.Sent[0].wMainCmdID);
        EXPECT_EQ(c.wSub, m_Socket.Sent[0].wSubCmdID);
        EXPECT_EQ(c.body.Vector(), m_Socket.Sent[0].Body);
        EXPECT_NE(0u, m_Socket.Sent[0].dwSerialNum);
    }
}

TEST_F(QuillonDataCenterTest, RefusedRequestsSendNothing)
{
    Make();
    struct Case
    {
        const char* name;
        std::function<bool()> send;
    } cases[] = {
        {"nickname of user 0", [&] { return m_pDataCenter->RequestNickName(0); }},
        {"transfer to nobody", [&] { return m_pDataCenter->SendTransfer(0, "box", 1); }},
        {"transfer of nothing", [&] { return m_pDataCenter->SendTransfer(9, "box", 0); }},
        {"transfer without password", [&] { return m_pDataCenter->SendTransfer(9, NULL, 1); }},
        {"exchange below the least amount", [&] { return m_pDataCenter->SendGoldToHP(9999); }},
        {"exchange back below the least amount", [&] { return m_pDataCenter->SendHPToGold(9999); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(c.send());
    }
    EXPECT_TRUE(m_Socket.Sent.empty());
    EXPECT_EQ(0, g_ServiceUnits.GetTipCalls().GetSize());

    ASSERT_TRUE(m_pDataCenter->SendGoldToHP(10000));
    ASSERT_EQ(1, g_ServiceUnits.GetTipCalls().GetSize());
    EXPECT_STREQ("请求中,请等待", g_ServiceUnits.GetTipCalls()[0].strText);
    EXPECT_EQ(1000, g_ServiceUnits.GetTipCalls()[0].nTime);

    // Without a socket the two modify requests say so.
    m_pDataCenter->SetSocket(NULL);
    CModifyAttrArray attrs;
    EXPECT_FALSE(m_pDataCenter->SendModifyUserInfo(attrs));
    EXPECT_FALSE(m_pDataCenter->SendModifyPassword("a", "b"));
    EXPECT_EQ(1u, m_Socket.Sent.size());
    EXPECT_EQ(1u, m_Socket.m_nRefs) << "the held socket was let go";
}

TEST_F(QuillonDataCenterTest, RepliesRaiseTheirNotifications)
{
    Make();
    struct Case
    {
        const char* name;
        WORD wMain, wSub;
        CWireBytes body;
        tagNotifyKey key;
        LONG lValue;
        DWORD dwValue;
        std::string strText;
    } cases[] = {
        {"logon", 100, 103, ServiceBody::Result(4), QN_LOGON, 4, 0, ""},
        {"logon that cannot be read is a refusal", 100, 103, CWireBytes().U16(0), QN_LOGON, -1, 0, ""},
        {"logon without body", 100, 103, CWireBytes(), QN_LOGON, -1, 0, ""},
        {"user data", 200, 202, ServiceBody::UserInfo(55, 0, {{4, "nick"}}), QN_USER_INFO, 0, 55, ""},
        {"password", 200, 206, ServiceBody::Result(3), QN_PASSWORD_RESULT, 3, 0, ""},
        {"nickname", 200, 208, ServiceBody::NickName(0, 66, "昵称"), QN_NICKNAME, 0, 66, "昵称"},
        {"nickname refused keeps none", 200, 208, ServiceBody::NickName(3, 66, "x"), QN_NICKNAME, 3, 66, ""},
        {"strong box", 300, 302, ServiceBody::BankInfo(0, 1200, 10, 0.1, 0.02, 0.01), QN_BANK_INFO, 0, 1200, ""},
        {"deposit", 300, 304, ServiceBody::Result(9), QN_DEPOSIT, 9, 0, ""},
        {"withdraw", 300, 306, ServiceBody::Result(8), QN_WITHDRAW, 8, 0, ""},
        {"strong-box password", 300, 308, ServiceBody::Result(7), QN_BANK_PASSWORD, 7, 0, ""},
        {"transfer carries its result itself", 300, 310, ServiceBody::Result(9), QN_TRANSFER, 9, 0, ""},
        {"exchange egg to bean", 300, 312, ServiceBody::Exchange(0, 0), QN_EXCHANGE, 0, 2, ""},
        {"exchange bean to egg", 300, 312, ServiceBody::Exchange(1, 5), QN_EXCHANGE, 5, 3, ""},
        {"password state", 300, 314, ServiceBody::BankPasswordState(0, 7), QN_BANK_PASSWORD_STATE, 0, 1, ""},
        {"password set carries its result itself", 300, 316, ServiceBody::Result(0), QN_BANK_PASSWORD_SET, 0, 0, ""},
        {"score", 500, 504, ServiceBody::GameScore(1, 0, 30), QN_GAME_SCORE, 0, 30, ""},
        {"result beyond the table", 300, 304, ServiceBody::Result(20), QN_DEPOSIT, -1, 0, ""},
        {"result 15 never arrives", 300, 304, ServiceBody::Result(15), QN_DEPOSIT, -1, 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_Recorder.Heard.clear();
        EXPECT_TRUE(Read(c.wMain, c.wSub, c.body));
        ASSERT_EQ(1u, m_Recorder.Heard.size()) << m_Recorder.Keys();
        const tagHeardServiceNotify& n = m_Recorder.Heard[0];
        EXPECT_EQ(c.key.wMainCmdID, n.wMainCmdID);
        EXPECT_EQ(c.key.wSubCmdID, n.wSubCmdID);
        EXPECT_EQ(c.lValue, n.lValue);
        EXPECT_EQ(c.dwValue, n.dwValue);
        EXPECT_EQ(c.strText, n.strText);
    }
    EXPECT_DOUBLE_EQ(10, g_ServiceUnits.m_dRate1);
    EXPECT_DOUBLE_EQ(0.1, g_ServiceUnits.m_dRate2);
    EXPECT_FLOAT_EQ(0.02f, g_ServiceUnits.m_fTax1);
    EXPECT_FLOAT_EQ(0.01f, g_ServiceUnits.m_fTax2);
}

TEST_F(QuillonDataCenterTest, UnreadableRepliesAndOtherCommandsRaiseNothing)
{
    Make();
    struct Case
    {
        const char* name;
        WORD wMain, wSub;
        CWireBytes body;
        bool bAnswer;
    } cases[] = {
        {"short user data", 200, 202, CWireBytes().U32(1).U32(0).U16(1), true},
        {"attribute count beyond the body", 200, 202, CWireBytes().U32(1).U32(0).Count(5000).U16(2).Str("a"), true},
        {"short modify result", 200, 204, CWireBytes().U16(0), true},
        {"short strong box", 300, 302, CWireBytes().U32(0).U32(1), true},
        {"exchange of an unknown direction", 300, 312, ServiceBody::Exchange(2, 0), true},
        {"game count beyond the body", 500, 502, CWireBytes().Count(9).U32(1), true},
        {"reserved main", 400, 401, ServiceBody::Result(0), true},
        {"unknown main", 900, 1, ServiceBody::Result(0), true},
        {"unknown sub", 300, 399, ServiceBody::Result(0), true},
        {"logon main with another sub", 100, 105, ServiceBody::Result(0), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_Recorder.Heard.clear();
        EXPECT_EQ(c.bAnswer, Read(c.wMain, c.wSub, c.body));
        EXPECT_TRUE(m_Recorder.Heard.empty()) << m_Recorder.Keys();
    }
}

TEST_F(QuillonDataCenterTest, ModifyRepliesFindTheirRequestBySerial)
{
    Make();
    CModifyAttrArray first, second;
    tagModifyAttr nick = {4, "one"}, qq = {8, "2"};
    first.Add(nick);
    second.Add(qq);
    ASSERT_TRUE(m_pDataCenter->SendModifyUserInfo(first));
    ASSERT_TRUE(m_pDataCenter->SendModifyUserInfo(second));
    ASSERT_EQ(2, m_pDataCenter->GetPendingModifyCount());
    DWORD dwFirst = m_Socket.Sent[0].dwSerialNum, dwSecond = m_Socket.Sent[1].dwSerialNum;

    EXPECT_TRUE(Read(200, 204, ServiceBody::Result(0), dwSecond + 1000));
    EXPECT_TRUE(Read(200, 204, ServiceBody::Result(0), dwSecond));
    EXPECT_TRUE(Read(200, 204, ServiceBody::Result(5), dwFirst));
    EXPECT_TRUE(Read(200, 204, ServiceBody::Result(0), dwFirst));
    std::vector<tagHeardServiceNotify> heard = m_Recorder.Of(QN_MODIFY_RESULT);
    ASSERT_EQ(4u, heard.size());
    EXPECT_TRUE(heard[0].Attrs.empty()) << "unknown serial";
    EXPECT_EQ((std::vector<std::pair<WORD, std::string>>{{8, "2"}}), heard[1].Attrs);
    EXPECT_EQ(5, heard[2].lValue);
    EXPECT_EQ((std::vector<std::pair<WORD, std::string>>{{4, "one"}}), heard[2].Attrs);
    EXPECT_TRUE(heard[3].Attrs.empty()) << "answered once";
    EXPECT_EQ(0, m_pDataCenter->GetPendingModifyCount());

    // A request the socket refused waits for no reply.
    m_Socket.bAcceptSend = false;
    EXPECT_FALSE(m_pDataCenter->SendModifyUserInfo(first));
    EXPECT_EQ(0, m_pDataCenter->GetPendingModifyCount());
}

TEST_F(QuillonDataCenterTest, ClosingCarriesTheSocketsLastError)
{
    Make();
    m_Socket.m_dwLastError = 10054;
    EXPECT_TRUE(m_pDataCenter->OnSocketClose());
    ASSERT_EQ(1u, m_Recorder.Count(QN_CLOSED));
    EXPECT_EQ(10054, m_Recorder.Of(QN_CLOSED)[0].lValue);
}

TEST_F(QuillonDataCenterTest, InterfacesAndReferences)
{
    CQuillonDataCenter* pDataCenter = CQuillonDataCenter::Create();
    ASSERT_NE(nullptr, pDataCenter);
    void* out = nullptr;
    ASSERT_EQ(S_OK, pDataCenter->QueryInterface(IID_IQuillonDataCenter, &out));
    EXPECT_EQ(static_cast<IQuillonDataCenter*>(pDataCenter), out);
    ASSERT_EQ(S_OK, pDataCenter->QueryInterface(IID_IUnknownEx, &out));
    EXPECT_EQ(static_cast<IQuillonDataCenter*>(pDataCenter), out);
    ASSERT_EQ(S_OK, pDataCenter->QueryInterface(IID_IClientSocketSink, &out));
    EXPECT_EQ(static_cast<IClientSocketSink*>(pDataCenter), out);
    EXPECT_EQ(E_NOINTERFACE, pDataCenter->QueryInterface(IID_IClientSocket, &out));
    EXPECT_EQ(nullptr, out);
    EXPECT_EQ(3u, pDataCenter->Release());
    EXPECT_EQ(2u, pDataCenter->Release());
    EXPECT_EQ(1u, pDataCenter->Release());
    EXPECT_EQ(0u, pDataCenter->Release());
}

// The socket module against the scripted server: a start-up as the program
// makes it, the replies arriving as notifications.
TEST_F(QuillonDataCenterTest, StartUpThroughTheSocketModule)
{
    CServiceServer server;
    ASSERT_TRUE(server.Start());
    server.AnswerStart(4321);
    m_Folder.WriteServers({{"127.0.0.1", FindClosedPort()}, {"127.0.0.1", server.GetPort()}}, 0);
    CClientSocketHelper socket;
    ASSERT_TRUE(socket.CreateInstance()) << socket.GetErrorDescribe();

    m_pDataCenter = CQuillonDataCenter::Create();
    m_pDataCenter->SetNotifyMessage(WM_QUILLON_NOTIFY);
    for (size_t i = 0; i < kServiceNotifyKeyCount; ++i)
        m_pDataCenter->AddNotifyWindow(kServiceNotifyKeys[i], m_Recorder.GetHwnd());
    ASSERT_TRUE(socket.GetInterface()->SetSocketSink(static_cast<IQuillonDataCenter*>(m_pDataCenter)));
    m_pDataCenter->SetSocket(socket.GetInterface());

    ASSERT_TRUE(m_pDataCenter->ConnectServer());
    ASSERT_TRUE(PumpUntil([&] { return m_Recorder.Count(QN_CONNECT) == 1; }, 15000));
    EXPECT_EQ(0, m_Recorder.Of(QN_CONNECT)[0].lValue);
    EXPECT_EQ(1, m_Folder.ReadLastServerID());

    ASSERT_TRUE(m_pDataCenter->SendLogon(4321, kDigest));
    ASSERT_TRUE(PumpUntil([&] { return m_Recorder.Count(QN_LOGON) == 1; }));
    EXPECT_EQ(0, m_Recorder.Of(QN_LOGON)[0].lValue);
    m_pDataCenter->RequestUserInfo();
    m_pDataCenter->RequestBankInfo();
    m_pDataCenter->RequestPlayedGameList();
    m_pDataCenter->SendCheckBankPassword();
    ASSERT_TRUE(PumpUntil([&] { return m_Recorder.Count(QN_BANK_PASSWORD_STATE) == 1; }));
    EXPECT_EQ("(100,101)(100,102)(200,201)(300,301)(500,501)(300,307)", m_Recorder.Keys());
    EXPECT_EQ(4321u, m_Recorder.Of(QN_USER_INFO)[0].dwValue);
    EXPECT_EQ(14u, m_Recorder.Of(QN_USER_INFO)[0].Attrs.size());
    EXPECT_EQ((std::vector<std::pair<WORD, WORD>>{{100, 102}, {200, 201}, {300, 301}, {500, 501}, {300, 313}}),
              server.RequestLog());

    server.Run({CScriptedServer::Close()});
    ASSERT_TRUE(PumpUntil([&] { return m_Recorder.Count(QN_CLOSED) == 1; }));
    m_pDataCenter->SetSocket(NULL);
    socket.GetInterface()->SetSocketSink(NULL);
}

} // namespace
