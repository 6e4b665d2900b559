// Every hall request's bytes and every hall server message's effect, over
// the scripted server.
#include "DataCenterTestSupport.h"
#include "HallProtocol.h"

#include <functional>

#include "GlobalUnits.h"
#include "MD5Encrypt.h"

namespace
{

class HallMessagesTest : public DataCenterTest
{
protected:
    void SetUp() override
    {
        DataCenterTest::SetUp();
        ListenToAll();
        ConnectToServer();
        m_Recorder.Heard.clear();
    }

    tagGlobalUserData* User() { return g_GlobalUnits.GetGlobalUserData(); }
    CRecordStore* Store() { return m_pDataCenter->GetRecordStore(); }

    // What the server got after the requests so far, once a notice request
    // behind them has arrived.
    std::vector<tagServerFrame> SettleRequests()
    {
        size_t notices = m_Server.GetRequests(HALL_MAIN_MESSAGE, HALL_SUB_MESSAGE_NOTICE).size();
        EXPECT_TRUE(m_pDataCenter->SendNoticeRequest());
        WaitRequests(HALL_MAIN_MESSAGE, HALL_SUB_MESSAGE_NOTICE, notices + 1);
        std::vector<tagServerFrame> frames;
        for (const tagServerFrame& f : m_Server.GetFrames()) {
            if (!(f.wMainCmdID == HALL_MAIN_MESSAGE && f.wSubCmdID == HALL_SUB_MESSAGE_NOTICE))
                frames.push_back(f);
        }
        return frames;
    }
};

// ---- requests ----------------------------------------------------------------------------

TEST_F(HallMessagesTest, RequestBodiesByteForByte)
{
    const std::string machine = MachineID();
    char digest[33];
    CMD5Encrypt::EncryptData("pw", digest);
    CClientDataCenter* dc = m_pDataCenter;
    struct Case
    {
        const char* name;
        std::function<bool()> call;
        WORD main;
        WORD sub;
        CWireBytes body;
        bool serialZero;
    };
    const std::string longText(200, 's');
    const Case cases[] = {
        {"two texts", [&] { return dc->SendTwoTexts("a", std::string(40, 'b').c_str()); }, HALL_MAIN_TEXTS,
         HALL_SUB_TEXTS_TWO_TEXTS, CWireBytes().Str("a").Str(std::string(31, 'b')), false},
        {"machine logon",
         [&] {
             DWORD s;
             return dc->SendMachineLogon(s, NULL);
         },
         HALL_MAIN_USER, HALL_SUB_USER_MACHINE_LOGON, CWireBytes().Counted(machine), false},
        {"account check", [&] { return dc->CheckAccountName("acc"); }, HALL_MAIN_USER, HALL_SUB_USER_CHECK_ACCOUNT,
         CWireBytes().Counted("acc"), false},
        {"e-mail check", [&] { return dc->CheckEmailAddress("e@x"); }, HALL_MAIN_USER, HALL_SUB_USER_CHECK_EMAIL,
         CWireBytes().Counted("e@x"), false},
        {"online counts", [&] { return dc->SubscribeOnlineCounts(); }, HALL_MAIN_ONLINE_COUNT,
         HALL_SUB_ONLINE_COUNT_SUBSCRIBE, CWireBytes{1}, false},
        {"log-off", [&] { return dc->SendLogoff(false); }, HALL_MAIN_USER, HALL_SUB_USER_LOGOFF, CWireBytes(), false},
        {"buy", [&] { return dc->BuyItem(7, 3); }, HALL_MAIN_USER_VALUE, HALL_SUB_USER_VALUE_BUY,
         CWireBytes().U32(7).U16(3), false},
        {"record 1", [&] { return dc->RequestStoreRecord1(11); }, HALL_MAIN_RECORD_STORE,
         HALL_SUB_RECORD_STORE_REQUEST_1, CWireBytes().U32(11), false},
        {"record 2", [&] { return dc->RequestStoreRecord2(12); }, HALL_MAIN_RECORD_STORE,
         HALL_SUB_RECORD_STORE_REQUEST_2, CWireBytes().U32(12), false},
        {"record 3", [&] { return dc->RequestStoreRecord3(13, 9); }, HALL_MAIN_RECORD_STORE,
         HALL_SUB_RECORD_STORE_REQUEST_3, CWireBytes().U32(13).U8(9), false},
        {"record 4", [&] { return dc->RequestStoreRecord4(14); }, HALL_MAIN_RECORD_STORE,
         HALL_SUB_RECORD_STORE_REQUEST_4, CWireBytes().U32(14), false},
        {"bind", [&] { return dc->BindMachine(true); }, HALL_MAIN_USER, HALL_SUB_USER_BIND_MACHINE,
         CWireBytes().Str(machine), false},
        {"release", [&] { return dc->BindMachine(false); }, HALL_MAIN_USER, HALL_SUB_USER_RELEASE_MACHINE, CWireBytes(),
         false},
        {"signature", [&] { return dc->SendSignature(longText.c_str()); }, HALL_MAIN_USER, HALL_SUB_USER_SIGNATURE,
         CWireBytes().Count(1).U16(15).Str(std::string(127, 's')), false},
        {"personal info request", [&] { return dc->RequestPersonalInfo(9); }, HALL_MAIN_USER,
         HALL_SUB_USER_PERSONAL_INFO_REQUEST, CWireBytes().U32(9), false},
        {"personal info", [&] { return dc->SendPersonalInfo(1, "a", "b", "c", 2, "d"); }, HALL_MAIN_USER,
         HALL_SUB_USER_PERSONAL_INFO, CWireBytes().U32(1).Counted("a").Counted("b").Counted("c").U32(2).Counted("d"),
         true},
        {"team", [&] { return dc->GetTeamInfo(5); }, HALL_MAIN_TEAM, HALL_SUB_TEAM_INFO, CWireBytes().U32(5), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        size_t before = m_Server.GetRequests(c.main, c.sub).size();
        ASSERT_TRUE(c.call());
        std::vector<tagServerFrame> got = WaitRequests(c.main, c.sub, before + 1);
        ASSERT_EQ(before + 1, got.size());
        EXPECT_EQ(c.body.Vector(), got.back().Body);
        if (c.serialZero)
            EXPECT_EQ(0u, got.back().dwSerialNum);
        else
            EXPECT_NE(0u, got.back().dwSerialNum);
    }

    // Registration is for guests, with the digest of the password.
    User()->lLevel = GUEST_USER_LEVEL;
    ASSERT_TRUE(dc->SendRegister("acc", "pw", "nick", 1, "e", "id"));
    EXPECT_EQ(CWireBytes().Counted("acc").Counted(digest).Counted("nick").U8(1).Counted("e").Counted("id").Vector(),
              WaitRequests(HALL_MAIN_USER, HALL_SUB_USER_REGISTER)[0].Body);
    EXPECT_STREQ(digest, dc->GetShareData()->szPassword);
}

TEST_F(HallMessagesTest, RefusedRequestsSendNothing)
{
    CClientDataCenter* dc = m_pDataCenter;
    const std::string huge(70000, 'x');
    EXPECT_FALSE(dc->SendRegister("acc", "pw", "nick", 1, "", "")) << "not a guest";
    EXPECT_FALSE(dc->CheckAccountName(NULL));
    EXPECT_FALSE(dc->CheckEmailAddress(NULL));
    User()->lLevel = GUEST_USER_LEVEL;
    EXPECT_FALSE(dc->BuyItem(1, 1));
    EXPECT_FALSE(dc->BindMachine(true));
    EXPECT_FALSE(dc->BindMachine(false));
    EXPECT_FALSE(dc->OpenServicePage(1, 0));
    EXPECT_FALSE(dc->SendRegister("acc", "pw", "", 1, "", "")) << "the third text is required";
    EXPECT_FALSE(dc->SendRegister("acc", "pw", "nick", 1, huge.c_str(), "")) << "a body over 65535 bytes";
    EXPECT_TRUE(SettleRequests().empty());
}

TEST_F(HallMessagesTest, MachineLogonAnswerGoesToItsWindow)
{
    CNotifyRecorder window;
    m_Server.On(HALL_MAIN_USER, HALL_SUB_USER_MACHINE_LOGON,
                {CHallServer::Reply(HALL_MAIN_USER, HALL_SUB_S_USER_LOGON_RESULT,
                                    CWireBytes().U32(0).U32(8).Str("guest").U16(0xFF9C).U8(0).Counted("").Vector())});
    DWORD serial = 0;
    ASSERT_TRUE(m_pDataCenter->SendMachineLogon(serial, window.GetHwnd()));
    ASSERT_TRUE(PumpUntil([&] { return window.Count(HN_LOGON_RESULT) == 1; }));
    EXPECT_EQ(serial, window.Of(HN_LOGON_RESULT)[0].dwSerialNum);
    EXPECT_EQ(GUEST_USER_LEVEL, User()->lLevel) << "the 16-bit level carries -100";
}

// ---- single values ----------------------------------------------------------------------

TEST_F(HallMessagesTest, SingleValueMessages)
{
    struct Case
    {
        WORD main;
        WORD sub;
        CWireBytes body;
        tagNotifyKey notify;
        LONG value;
    };
    const Case cases[] = {
        {HALL_MAIN_USER, HALL_SUB_S_USER_ACCOUNT_1, CWireBytes().U32(3), HN_ACCOUNT_1, 3},
        {HALL_MAIN_USER, HALL_SUB_S_USER_ACCOUNT_1, CWireBytes().U32(9), HN_ACCOUNT_1, -1},
        {HALL_MAIN_USER, HALL_SUB_S_USER_ACCOUNT_1, CWireBytes{1, 2}, HN_ACCOUNT_1,
         -1}, // malformed: a failure, never 0
        {HALL_MAIN_USER, HALL_SUB_S_USER_ACCOUNT_2, CWireBytes().U32(0), HN_ACCOUNT_2, 0},
        {HALL_MAIN_USER, HALL_SUB_S_USER_ACCOUNT_2, CWireBytes(), HN_ACCOUNT_2, -1},
        {HALL_MAIN_USER, HALL_SUB_S_USER_ACCOUNT_3, CWireBytes().U32(6), HN_ACCOUNT_3, 6},
        {HALL_MAIN_USER, HALL_SUB_S_USER_ACCOUNT_3, CWireBytes(), HN_ACCOUNT_3, -1},
        {HALL_MAIN_USER, HALL_SUB_S_USER_REGISTER_RESULT, CWireBytes().U32(uint32_t(-5)), HN_REGISTER_RESULT, -5},
        {HALL_MAIN_USER, HALL_SUB_S_USER_REGISTER_RESULT, CWireBytes().U32(0), HN_REGISTER_RESULT, 0},
        {HALL_MAIN_USER, HALL_SUB_S_USER_REGISTER_RESULT, CWireBytes{0}, HN_REGISTER_RESULT, -1},
        {HALL_MAIN_USER, HALL_SUB_S_USER_ACCOUNT_CHECK, CWireBytes{0}, HN_ACCOUNT_CHECK, 0},
        {HALL_MAIN_USER, HALL_SUB_S_USER_ACCOUNT_CHECK, CWireBytes(), HN_ACCOUNT_CHECK, 1},
        {HALL_MAIN_USER, HALL_SUB_S_USER_EMAIL_CHECK, CWireBytes{2}, HN_EMAIL_CHECK, 1},
        {HALL_MAIN_USER, HALL_SUB_S_USER_EMAIL_CHECK, CWireBytes(), HN_EMAIL_CHECK, 1},
        {HALL_MAIN_USER, HALL_SUB_S_USER_VALUE_1014, CWireBytes().U32(42), HN_USER_VALUE_1014, 42},
        {HALL_MAIN_USER, HALL_SUB_S_USER_VALUE_1014, CWireBytes(), HN_USER_VALUE_1014, -1},
        {HALL_MAIN_VALUE_PAIR, HALL_SUB_S_VALUE_PAIR, CWireBytes().U16(2).U16(3), HN_VALUE_PAIR, 2 * 65536 + 3},
        {HALL_MAIN_USER_VALUE, HALL_SUB_S_USER_VALUE_BUY_RESULT, CWireBytes{5}, HN_BUY_RESULT, 5},
        {HALL_MAIN_RECORD_STORE, HALL_SUB_S_RECORD_STORE_VALUE_1010, CWireBytes().U32(9), HN_STORE_VALUE_1010, 9},
        {HALL_MAIN_RECORD_STORE, HALL_SUB_S_RECORD_STORE_VALUE_1011, CWireBytes().U32(10), HN_STORE_VALUE_1011, 10},
        {HALL_MAIN_RECORD_STORE, HALL_SUB_S_RECORD_STORE_VALUE_1012, CWireBytes().U32(12), HN_STORE_VALUE_1012, 12},
        {HALL_MAIN_RECORD_STORE, HALL_SUB_S_RECORD_STORE_VALUE_1013, CWireBytes().U32(13), HN_STORE_VALUE_1013, 13},
        {HALL_MAIN_RECORD_STORE, HALL_SUB_S_RECORD_STORE_VALUE_1014, CWireBytes().U32(14), HN_STORE_VALUE_1014, 14},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.main) + "/" + std::to_string(c.sub) + " " + std::to_string(c.body.Size()));
        m_Recorder.Heard.clear();
        SendAndSettle(c.main, c.sub, c.body.Vector());
        ASSERT_EQ(1u, m_Recorder.Heard.size()) << m_Recorder.Keys();
        EXPECT_EQ(c.notify.wMainCmdID, m_Recorder.Heard[0].wMainCmdID);
        EXPECT_EQ(c.notify.wSubCmdID, m_Recorder.Heard[0].wSubCmdID);
        EXPECT_EQ(c.value, LONG(m_Recorder.Heard[0].lParam));
        EXPECT_EQ(0u, m_Recorder.Heard[0].dwSerialNum);
    }
}

TEST_F(HallMessagesTest, IgnoredAndMalformedMessagesRaiseNothing)
{
    struct Case
    {
        WORD main;
        WORD sub;
        CWireBytes body;
    };
    const Case cases[] = {
        {HALL_MAIN_TEXTS, 1, CWireBytes().U32(1)},
        {HALL_MAIN_USER, 1001, CWireBytes().U32(1)},
        {HALL_MAIN_GAME_LIST, 1006, CWireBytes().U32(1)},
        {1009, 1, CWireBytes().U32(1)},
        {1011, 1, CWireBytes().U32(1)},
        {HALL_MAIN_USER, HALL_SUB_S_USER_ACCOUNT_NOTICE, CWireBytes().U8(0).U32(1).U32(100)},
        {HALL_MAIN_ONLINE_COUNT, HALL_SUB_S_ONLINE_COUNT_TOTAL, CWireBytes{1}},
        {HALL_MAIN_ONLINE_COUNT, HALL_SUB_S_ONLINE_COUNT_ROOMS, CWireBytes().U32(1).U32(0).Count(1).Count(8).U32(1)},
        {HALL_MAIN_MESSAGE, HALL_SUB_S_MESSAGE_SYSTEM, CWireBytes().U8(1).U32(1)},
        {HALL_MAIN_VALUE_PAIR, HALL_SUB_S_VALUE_PAIR, CWireBytes().U16(1)},
        {HALL_MAIN_USER_VALUE, HALL_SUB_S_USER_VALUE_ITEM, CWireBytes().U32(1)},
        {HALL_MAIN_USER_VALUE, HALL_SUB_S_USER_VALUE_BUY_RESULT, CWireBytes()},
        {HALL_MAIN_RECORD_STORE, HALL_SUB_S_RECORD_STORE_DEFINITION, CWireBytes().U32(1).U8(1)},
        {HALL_MAIN_RECORD_STORE, HALL_SUB_S_RECORD_STORE_REMOVE_A, CWireBytes{1}},
        {HALL_MAIN_RECORD_STORE, HALL_SUB_S_RECORD_STORE_NUMBER_C, CWireBytes().U32(1)},
        {HALL_MAIN_RECORD_STORE, HALL_SUB_S_RECORD_STORE_VALUE_1012, CWireBytes{1}},
        {HALL_MAIN_TEAM, HALL_SUB_S_TEAM_INFO, CWireBytes().U32(5).U16(1).U16(40)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.main) + "/" + std::to_string(c.sub));
        m_Recorder.Heard.clear();
        SendAndSettle(c.main, c.sub, c.body.Vector());
        EXPECT_EQ("", m_Recorder.Keys());
    }
    EXPECT_TRUE(m_pDataCenter->IsConnected());
    CTeamManager* team = nullptr;
    EXPECT_FALSE(m_pDataCenter->LookupTeam(5, team));
}

// ---- records ------------------------------------------------------------------------------

TEST_F(HallMessagesTest, AccountNoticeSystemMessageAndPopupText)
{
    SendAndHear(
        HALL_MAIN_USER, HALL_SUB_S_USER_ACCOUNT_NOTICE,
        CWireBytes().U8(4).U32(77).Counted("一").Counted("b").Counted("c").Counted(std::string(200, 'd')).Vector(),
        HN_ACCOUNT_NOTICE);
    tagAccountNotice notice = m_Recorder.Of(HN_ACCOUNT_NOTICE)[0].Account;
    EXPECT_EQ(4, notice.cbResult);
    EXPECT_EQ(77u, notice.dwValue);
    EXPECT_STREQ("一", notice.szText1);
    EXPECT_EQ(std::string(127, 'd'), notice.szText4);
    SendAndHear(HALL_MAIN_USER, HALL_SUB_S_USER_ACCOUNT_NOTICE, CWireBytes{9}.Vector(), HN_ACCOUNT_NOTICE, 1);
    EXPECT_EQ(9, m_Recorder.Of(HN_ACCOUNT_NOTICE)[1].Account.cbResult) << "a bare result is a notice";
    EXPECT_EQ(0u, m_Recorder.Of(HN_ACCOUNT_NOTICE)[1].Account.dwValue);

    SendAndHear(HALL_MAIN_MESSAGE, HALL_SUB_S_MESSAGE_SYSTEM, CWireBytes().U8(2).U32(1).Str("系统消息").Vector(),
                HN_SYSTEM_MESSAGE);
    EXPECT_EQ(2, m_Recorder.Of(HN_SYSTEM_MESSAGE)[0].System.cbKind);
    EXPECT_EQ(1u, m_Recorder.Of(HN_SYSTEM_MESSAGE)[0].System.dwValue);
    EXPECT_STREQ("系统消息", m_Recorder.Of(HN_SYSTEM_MESSAGE)[0].System.szText);
    static_assert(offsetof(tagSystemMessage, dwValue) == 4 && offsetof(tagSystemMessage, szText) == 8,
                  "the windows read the message at these offsets");

    std::vector<std::string> popups;
    m_pDataCenter->SetPopupHandler([&](LPCSTR text) { popups.push_back(text); });
    SendAndSettle(HALL_MAIN_MESSAGE, HALL_SUB_S_MESSAGE_POPUP, CWireBytes().Counted("公告").Vector());
    SendAndSettle(HALL_MAIN_MESSAGE, HALL_SUB_S_MESSAGE_POPUP, CWireBytes().U32(10).Vector());
    ASSERT_EQ(1u, popups.size());
    EXPECT_EQ("公告", popups[0]);
}

TEST_F(HallMessagesTest, UserValueItems)
{
    CWireBytes list = CWireBytes().U16(3).U32(1).U16(2).U64(0x100000002ULL).U32(3).U16(4).U64(5).U32(6);
    SendAndSettle(HALL_MAIN_USER_VALUE, HALL_SUB_S_USER_VALUE_LIST, list.Vector());
    std::vector<tagHeardNotify> heard = m_Recorder.Of(HN_USER_VALUE);
    ASSERT_EQ(2u, heard.size()) << "the items before the cut one";
    EXPECT_EQ(1u, heard[0].UserValue.dwItemID);
    EXPECT_EQ(2, heard[0].UserValue.wCount);
    EXPECT_EQ(0x100000002LL, heard[0].UserValue.llValue);
    EXPECT_EQ(3u, heard[1].UserValue.dwItemID);
    SendAndHear(HALL_MAIN_USER_VALUE, HALL_SUB_S_USER_VALUE_ITEM, CWireBytes().U32(8).U16(9).U64(10).Vector(),
                HN_USER_VALUE);
    EXPECT_EQ(8u, m_Recorder.Of(HN_USER_VALUE)[2].UserValue.dwItemID);
}

TEST_F(HallMessagesTest, TypedAndTextAttributes)
{
    strcpy(User()->szCustomFace, "old-face");
    strcpy(User()->szNickName, "keep");
    CWireBytes typed = CWireBytes()
                           .U16(6)
                           .U32(2)
                           .Str("名字")
                           .U32(18) // no value on the wire
                           .U32(3)
                           .U32(uint32_t(-100))
                           .U32(13)
                           .Str("") // cleared even when empty
                           .U32(4)
                           .Str("") // kept when empty
                           .U32(5)
                           .U8(2);
    SendAndSettle(HALL_MAIN_USER, HALL_SUB_S_USER_TYPED_ATTRIBUTES, typed.Vector());
    std::string ids;
    for (const tagHeardNotify& n : m_Recorder.Of(HN_USER_ATTRIBUTE))
        ids += std::to_string(n.lParam) + " ";
    EXPECT_EQ("2 3 13 4 5 ", ids);
    EXPECT_STREQ("名字", User()->szName);
    EXPECT_EQ(-100, User()->lLevel);
    EXPECT_STREQ("", User()->szCustomFace);
    EXPECT_STREQ("keep", User()->szNickName);
    EXPECT_EQ(2, User()->cbGender);

    m_Recorder.Heard.clear();
    CWireBytes text = CWireBytes()
                          .U16(6)
                          .U32(15)
                          .Counted(std::string(130, 'g'))
                          .U32(4)
                          .Counted("") // empty: skipped
                          .U32(20)
                          .Counted("x") // outside 2 to 19: skipped
                          .U32(6)
                          .Counted("33")
                          .U32(12)
                          .Counted("0123456789abcdefXYZ")
                          .U32(14)
                          .U32(5000); // a counted string cut short
    SendAndSettle(HALL_MAIN_USER, HALL_SUB_S_USER_TEXT_ATTRIBUTES, text.Vector());
    ids.clear();
    for (const tagHeardNotify& n : m_Recorder.Of(HN_USER_ATTRIBUTE))
        ids += std::to_string(n.lParam) + " ";
    EXPECT_EQ("15 6 12 ", ids);
    EXPECT_EQ(std::string(127, 'g'), User()->szSignature);
    EXPECT_EQ(33, User()->wFaceID);
    EXPECT_STREQ("0123456789abcde", User()->szAttribute12);
}

TEST_F(HallMessagesTest, SessionEndedByTheServer)
{
    SendAndHear(HALL_MAIN_USER, HALL_SUB_S_USER_SESSION_ENDED, {}, HN_SESSION_ENDED);
    PumpFor(100);
    EXPECT_FALSE(m_pDataCenter->IsConnected());
    EXPECT_EQ(0u, m_Recorder.Count(HN_CONNECTION_CLOSED)) << "closed without the close notice";
}

// ---- record store and teams -----------------------------------------------------------------

CWireBytes EntryC(uint32_t id, const std::string& name)
{
    CWireBytes c = CWireBytes().U32(id).U8(1).Str(name).U32(100).U32(200);
    for (int i = 0; i < 14; ++i)
        c.U16(i);
    return c;
}

TEST_F(HallMessagesTest, RecordStore)
{
    tagStoreDefinition* definition = new tagStoreDefinition();
    definition->dwID = 50;
    strcpy(definition->szText3, "定义");
    definition->wValues11[3] = 0xBEEF;
    SendAndHear(HALL_MAIN_RECORD_STORE, HALL_SUB_S_RECORD_STORE_DEFINITION, CHallServer::Body(*definition),
                HN_STORE_DEFINITION);
    EXPECT_EQ(50, m_Recorder.Of(HN_STORE_DEFINITION)[0].lValue);
    ASSERT_NE(nullptr, Store()->FindDefinition(50));
    EXPECT_EQ(0xBEEF, Store()->FindDefinition(50)->wValues11[3]);
    definition->wValues11[3] = 1;
    SendAndSettle(HALL_MAIN_RECORD_STORE, HALL_SUB_S_RECORD_STORE_DEFINITION, CHallServer::Body(*definition));
    EXPECT_EQ(1, Store()->GetDefinitionCount());
    EXPECT_EQ(1, Store()->FindDefinition(50)->wValues11[3]) << "replaced whole";
    delete definition;

    // Entries A: a list whose third entry is cut keeps the first two.
    SendAndSettle(HALL_MAIN_RECORD_STORE, HALL_SUB_S_RECORD_STORE_ENTRIES_A,
                  CWireBytes().U16(3).U32(1).U8(1).Str("a").U32(2).U8(1).Str("b").U32(3).Vector());
    EXPECT_EQ(2u, m_Recorder.Count(HN_STORE_ENTRY_A));
    EXPECT_EQ(2, Store()->GetEntryACount());
    SendAndHear(HALL_MAIN_RECORD_STORE, HALL_SUB_S_RECORD_STORE_ENTRY_A, CWireBytes().U32(2).U8(0).Str("b2").Vector(),
                HN_STORE_ENTRY_A);
    EXPECT_STREQ("b2", Store()->FindEntryA(2)->szName);
    EXPECT_EQ(2, Store()->GetEntryACount());
    SendAndHear(HALL_MAIN_RECORD_STORE, HALL_SUB_S_RECORD_STORE_REMOVE_A, CWireBytes().U32(1).Vector(),
                HN_STORE_REMOVE_A);
    EXPECT_EQ(nullptr, Store()->FindEntryA(1));

    // Entries C: an id without a definition is asked for.
    SendAndSettle(HALL_MAIN_RECORD_STORE, HALL_SUB_S_RECORD_STORE_ENTRIES_C,
                  CWireBytes().U16(2).Bytes(EntryC(50, "known").Vector()).Bytes(EntryC(60, "new").Vector()).Vector());
    EXPECT_EQ(2u, m_Recorder.Count(HN_STORE_ENTRIES_C));
    std::vector<tagServerFrame> asked = WaitRequests(HALL_MAIN_RECORD_STORE, HALL_SUB_RECORD_STORE_REQUEST_1);
    ASSERT_EQ(1u, asked.size());
    EXPECT_EQ(CWireBytes().U32(60).Vector(), asked[0].Body);
    SendAndHear(HALL_MAIN_RECORD_STORE, HALL_SUB_S_RECORD_STORE_ENTRY_C, EntryC(60, "newer").Vector(),
                HN_STORE_ENTRY_C);
    EXPECT_STREQ("newer", Store()->FindEntryC(60)->szName);
    EXPECT_EQ(5, Store()->FindEntryC(60)->wNumbers[5]);
    EXPECT_EQ(13, Store()->FindEntryC(60)->wExtra[5]);

    SendAndHear(HALL_MAIN_RECORD_STORE, HALL_SUB_S_RECORD_STORE_NUMBER_C, CWireBytes().U32(60).U8(2).U16(999).Vector(),
                HN_STORE_NUMBER_C);
    EXPECT_EQ(999, Store()->FindEntryC(60)->wNumbers[2]);
    SendAndHear(HALL_MAIN_RECORD_STORE, HALL_SUB_S_RECORD_STORE_NUMBER_C_2, CWireBytes().U32(60).U8(8).U16(1).Vector(),
                HN_STORE_NUMBER_C_2);
    SendAndHear(HALL_MAIN_RECORD_STORE, HALL_SUB_S_RECORD_STORE_NUMBER_C, CWireBytes().U32(61).U8(0).U16(1).Vector(),
                HN_STORE_NUMBER_C, 1);
    EXPECT_EQ(60, m_Recorder.Of(HN_STORE_NUMBER_C_2)[0].lValue);
    EXPECT_EQ(0, Store()->FindEntryC(60)->wNumbers[0]) << "index 8 and an unknown id change nothing";
    SendAndHear(HALL_MAIN_RECORD_STORE, HALL_SUB_S_RECORD_STORE_REMOVE_C, CWireBytes().U32(60).Vector(),
                HN_STORE_REMOVE_C);
    EXPECT_EQ(nullptr, Store()->FindEntryC(60));
}

CWireBytes Member(uint32_t id, const std::string& name)
{
    CWireBytes m = CWireBytes().U32(id).U16(1).U32((1u << 0) | (1u << 3) | (1u << 5) | (1u << 12));
    m.U16(uint32_t(4 + name.size())).Counted(name);
    m.U16(8).Counted("text");
    m.U16(4).U32(55);
    m.U16(5).Raw("12345", 5);
    return m;
}

TEST_F(HallMessagesTest, TeamsAreKeptAndServedFromTheCache)
{
    CWireBytes a = Member(1, "队员");
    CWireBytes b = Member(2, "b");
    CWireBytes body = CWireBytes().U32(77).U16(2).U16(a.Size32()).Bytes(a.Vector()).U16(b.Size32()).Bytes(b.Vector());
    SendAndHear(HALL_MAIN_TEAM, HALL_SUB_S_TEAM_INFO, body.Vector(), HN_TEAM_INFO);
    EXPECT_EQ(77, m_Recorder.Of(HN_TEAM_INFO)[0].lValue);
    CTeamManager* team = nullptr;
    ASSERT_TRUE(m_pDataCenter->LookupTeam(77, team));
    ASSERT_EQ(2, team->GetMemberCount());
    EXPECT_STREQ("队员", team->GetMember(0).szName);
    EXPECT_STREQ("text", team->GetMember(0).szText3);
    EXPECT_EQ(55u, team->GetMember(0).dwValue5);

    size_t requests = m_Server.GetRequests(HALL_MAIN_TEAM, HALL_SUB_TEAM_INFO).size();
    ASSERT_TRUE(m_pDataCenter->GetTeamInfo(77));
    EXPECT_EQ(2u, m_Recorder.Count(HN_TEAM_INFO)) << "heard at once";
    SettleRequests();
    EXPECT_EQ(requests, m_Server.GetRequests(HALL_MAIN_TEAM, HALL_SUB_TEAM_INFO).size())
        << "no request for a known team";

    // A newer description of the team replaces the old one.
    CWireBytes again = CWireBytes().U32(77).U16(1).U16(b.Size32()).Bytes(b.Vector());
    SendAndHear(HALL_MAIN_TEAM, HALL_SUB_S_TEAM_INFO, again.Vector(), HN_TEAM_INFO, 1);
    ASSERT_TRUE(m_pDataCenter->LookupTeam(77, team));
    EXPECT_EQ(1, team->GetMemberCount());
}

} // namespace
