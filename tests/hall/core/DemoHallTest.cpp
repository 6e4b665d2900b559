// The demo hall server that tools/run.sh starts, heard through the real hall
// data centre: only the demo account gets in, and a logged-on user gets his
// attributes, a game tree with counts and the welcome notice.
#include "DataCenterTestSupport.h" // Winsock before the system headers

#include <string.h>

#include "DemoHall.h"
#include "GameTreeManager.h"
#include "GlobalUnits.h"
#include "MD5Encrypt.h"

namespace
{

class DemoHallTest : public DataCenterTest
{
protected:
    void SetUp() override
    {
        DataCenterTest::SetUp();
        m_Demo.Attach(m_DemoServer);
        ASSERT_TRUE(m_DemoServer.Start());
        UseServers({m_DemoServer.GetPort()});
        ListenToAll();
    }
    void TearDown() override
    {
        m_DemoServer.Stop();
        DataCenterTest::TearDown();
    }
    void Connect()
    {
        size_t before = m_Recorder.Count(HN_CONNECT_RESULT);
        ASSERT_TRUE(m_pDataCenter->ConnectServer());
        ASSERT_TRUE(PumpUntil([&] { return m_Recorder.Count(HN_CONNECT_RESULT) > before; }));
        ASSERT_EQ(0, m_Recorder.Of(HN_CONNECT_RESULT).back().lValue);
    }
    // Logs on as the logon dialog does and answers what the window heard.
    tagLogonNotice LogOn(const char* account, const char* password, DWORD dwUserID = 0)
    {
        tagLogonInput input = {};
        input.dwUserID = dwUserID;
        strcpy(input.szAccounts, account);
        CMD5Encrypt::EncryptData(password, input.szPassword);
        size_t before = m_LogonWindow.Count(HN_LOGON_RESULT);
        DWORD serial = 0;
        EXPECT_TRUE(m_pDataCenter->SendLogon(serial, m_LogonWindow.GetHwnd(), input));
        EXPECT_TRUE(PumpUntil([&] { return m_LogonWindow.Count(HN_LOGON_RESULT) > before; }));
        return m_LogonWindow.Count(HN_LOGON_RESULT) > before ? m_LogonWindow.Of(HN_LOGON_RESULT).back().Logon
                                                             : tagLogonNotice{};
    }

    CFrameServer m_DemoServer;
    CDemoHall m_Demo;
    CNotifyRecorder m_LogonWindow;
};

TEST_F(DemoHallTest, OnlyTheDemoAccountGetsIn)
{
    const struct
    {
        const char* account;
        const char* password;
        DWORD userID;
        bool accepted;
    } cases[] = {
        {"demo", "demo1234", 0, false},
        {"demo2", "demo123", 0, false},
        {"DEMO", "demo123", 0, false},
        {"", "demo123", demohall::kUserID + 1, false},
        {"", "demo123", demohall::kUserID, true},
        {"demo", "demo123", 0, true},
    };
    int refused = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.account) + "/" + c.password + "/" + std::to_string(c.userID));
        if (!m_pDataCenter->IsConnected()) {
            ASSERT_NO_FATAL_FAILURE(Connect());
        }
        tagLogonNotice heard = LogOn(c.account, c.password, c.userID);
        if (c.accepted) {
            EXPECT_EQ(0, heard.lResult);
            EXPECT_EQ(demohall::kUserID, heard.dwUserID);
            EXPECT_EQ(demohall::kUserID, g_GlobalUnits.GetGlobalUserData()->dwUserID);
        } else {
            refused++;
            EXPECT_NE(0, heard.lResult);
            EXPECT_NE(nullptr, strstr(heard.szMessage, "demo123")) << "the refusal names the demo account";
            EXPECT_TRUE(PumpUntil([&] { return !m_pDataCenter->IsConnected(); }));
        }
        EXPECT_EQ(refused, m_Demo.GetRefusedCount());
    }
}

TEST_F(DemoHallTest, ALoggedOnUserGetsHisAttributesTheGameTreeAndTheNotice)
{
    ASSERT_NO_FATAL_FAILURE(Connect());
    ASSERT_EQ(0, LogOn(demohall::kAccount, demohall::kPassword).lResult);

    DWORD serial = 0;
    ASSERT_TRUE(m_pDataCenter->RequestUserInfo(serial, m_LogonWindow.GetHwnd()));
    ASSERT_TRUE(PumpUntil([&] { return m_LogonWindow.Count(HN_USER_INFO_RESULT) == 1; }));
    EXPECT_EQ(0, m_LogonWindow.Of(HN_USER_INFO_RESULT)[0].lValue);
    const tagGlobalUserData* user = g_GlobalUnits.GetGlobalUserData();
    EXPECT_STREQ("演示玩家", user->szNickName);
    EXPECT_STREQ("欢迎来到演示大厅", user->szSignature);
    EXPECT_NE(-100, user->lLevel) << "not a guest";

    ASSERT_TRUE(m_pDataCenter->RequestGameList());
    ASSERT_TRUE(
        PumpUntil([&] { return m_Recorder.Count(HN_SERVER_TREE) == 1 && m_Recorder.Count(HN_ONLINE_COUNT) > 0; }));
    CGameTreeManager* tree = m_pDataCenter->GetGameTreeManager();
    ASSERT_NE(nullptr, m_pDataCenter->GetServerTreeRoot());
    for (int i = 0; i < demohall::kRoomCount; i++) {
        CGameRoom* room = tree->FindGameRoom(demohall::kFirstRoomID + i);
        ASSERT_NE(nullptr, room) << i;
        EXPECT_GT(room->GetOnlineCount(), 0u) << i;
    }

    EXPECT_GT(m_pDataCenter->GetServerTreeRoot()->GetState(), 0u) << "the tree shows the counts";

    ASSERT_TRUE(m_pDataCenter->SendNoticeRequest());
    ASSERT_TRUE(PumpUntil([&] { return m_Recorder.Count(HN_SYSTEM_MESSAGE) == 1; }));
    EXPECT_STREQ("欢迎来到演示大厅", m_Recorder.Of(HN_SYSTEM_MESSAGE)[0].System.szText);
    EXPECT_EQ(0u, m_Recorder.Of(HN_SYSTEM_MESSAGE)[0].System.dwValue) << "a notice, not a box";
}

} // namespace
