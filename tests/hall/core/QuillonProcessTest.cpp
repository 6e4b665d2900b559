// The hall data centre starting the real user-service program: it takes
// its block, logs on to the scripted user-service server with the block's
// user and digest, shows the asked group, is brought forward by a second
// request, keeps a second instance out and tells the hall of a new face.
#include "DataCenterTestSupport.h"

#include "GlobalUnits.h"
#include "ServiceServer.h"

namespace
{

const char kServiceDigest[] = "00112233445566778899aabbccddeeff";

class QuillonProcessTest : public DataCenterTest
{
protected:
    void SetUp() override
    {
        DataCenterTest::SetUp();
        char szOld[MAX_PATH] = "";
        GetCurrentDirectoryA(sizeof(szOld), szOld);
        m_strOldFolder = szOld;
        // The program reads its server list from its current folder, which
        // it inherits.
        ASSERT_TRUE(m_ServiceServer.Start());
        m_Folder.Write("Config\\ServiceServerList.ini",
                       "[ServiceServer]\r\nServerCount=1\r\nLastServerID=0\r\n[Server0]\r\nIP=127.0.0.1\r\nPORT=" +
                           std::to_string(m_ServiceServer.GetPort()) + "\r\n");
        SetCurrentDirectoryA(m_Folder.Path().c_str());
        g_GlobalUnits.GetGlobalUserData()->dwUserID = 4321;
        // What the hall's logon writes into the block.
        tagServiceShareData* pBlock = const_cast<tagServiceShareData*>(m_pDataCenter->GetShareData());
        pBlock->dwUserID = 4321;
        strcpy(pBlock->szPassword, kServiceDigest);
    }
    void TearDown() override
    {
        DataCenterTest::TearDown();
        SetCurrentDirectoryA(m_strOldFolder.c_str());
        m_ServiceServer.Stop();
    }

    HWND ServiceWindow() { return HWND(ULongToHandle(m_pDataCenter->GetShareData()->dwServiceWnd)); }

    CServiceServer m_ServiceServer;
    std::string m_strOldFolder;
};

TEST_F(QuillonProcessTest, TheHallStartsTheProgramOnItsPage)
{
    CServiceHallWindow hall(m_pDataCenter);
    HWND original = m_MainWnd.Detach();
    m_MainWnd.Attach(hall.m_hWnd);
    m_ServiceServer.AnswerStart(4321);

    ASSERT_TRUE(m_pDataCenter->OpenServicePage(0, 1));
    ASSERT_TRUE(PumpUntil([&] { return m_ServiceServer.GetRequests(300, 313).size() == 1; }, 60000))
        << "the program logged on and asked for its data";
    std::vector<tagServerFrame> logon = m_ServiceServer.GetRequests(100, 102);
    ASSERT_EQ(1u, logon.size());
    EXPECT_EQ(0, memcmp(CWireBytes().U32(4321).Str(kServiceDigest).Data(), logon[0].Body.data(), 4 + 1 + 32));
    HWND hService = ServiceWindow();
    ASSERT_TRUE(IsWindow(hService)) << "its dialog is written at +80";
    ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(GetDlgItem(hService, 1002)) != FALSE; }, 20000));
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(hService, 1003))) << "group 0 shows, the others not";

    // A second request brings it forward and starts nothing.
    ShowWindow(hService, SW_HIDE);
    EXPECT_FALSE(m_pDataCenter->OpenServicePage(1, 0));
    EXPECT_TRUE(IsWindowVisible(hService));

    // A second instance ends at once, without connecting.
    std::string command = "Quillon.exe " + std::string(m_pDataCenter->GetShareName());
    std::vector<char> line(command.begin(), command.end());
    line.push_back(0);
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    ASSERT_TRUE(CreateProcessA(NULL, line.data(), NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process));
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process.hProcess, 30000));
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    EXPECT_EQ(1, m_ServiceServer.GetConnectionCount());
    EXPECT_EQ(hService, ServiceWindow()) << "the block keeps the first program's window";

    // Its face notice reaches the hall and is taken.
    SendMessageA(hService, WM_USER + 112, 1000, 0);
    ASSERT_EQ(1u, hall.Notices.size());
    EXPECT_TRUE(hall.Notices[0]);

    m_MainWnd.Detach();
    m_MainWnd.Attach(original);
}

} // namespace
