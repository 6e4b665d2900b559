// Tavrel.exe assembled in a program folder of its own and driven from this
// process through its windows, against the demo hall server running here: a
// refused account shows the server's text and Cancel then ends the program;
// the demo account reaches the frame with its game list.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "DemoHall.h"
#include "FrameServer.h"
#include "HallProtocol.h"
#include "HallProcess.h"
#include "TestWait.h"

namespace
{

using e2e::HallProcess;

// The skin library's message box: its text static.
const int kBoxTextId = 0x7FE1;

bool IsMessageBox(HWND hWnd)
{
    return GetDlgItem(hWnd, kBoxTextId) != NULL;
}

bool IsFilledTree(HWND hWnd)
{
    return e2e::ClassOf(hWnd) == WC_TREEVIEWA && SendMessageA(hWnd, TVM_GETCOUNT, 0, 0) > 0;
}

class HallLogonProcess : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_Hall.Attach(m_Server);
        ASSERT_TRUE(m_Server.Start());
    }
    void TearDown() override { m_Server.Stop(); }

    size_t LogonRequests()
    {
        size_t n = 0;
        for (const tagServerFrame& frame : m_Server.GetFrames())
            n += frame.wMainCmdID == HALL_MAIN_USER && frame.wSubCmdID == HALL_SUB_USER_LOGON_BY_ACCOUNT;
        return n;
    }

    CFrameServer m_Server;
    CDemoHall m_Hall;
};

TEST_F(HallLogonProcess, ARefusedAccountShowsItsTextAndCancelEndsTheProgram)
{
    HallProcess hall(m_Server.GetPort());
    ASSERT_TRUE(hall.Start()) << hall.Failure();
    HWND hDialog = hall.WaitLogonDialog();
    ASSERT_NE((HWND)NULL, hDialog);

    HallProcess::LogOn(hDialog, "nobody", "wrong");
    ASSERT_TRUE(PumpUntil([&] { return m_Hall.GetRefusedCount() == 1; }, 60000));
    HWND hBox = hall.WaitWindow(IsMessageBox);
    ASSERT_NE((HWND)NULL, hBox);
    EXPECT_EQ("提示", e2e::TextOf(hBox));
    EXPECT_EQ("帐号或密码错误，演示帐号为 demo，密码 demo123", e2e::TextOf(GetDlgItem(hBox, kBoxTextId)));
    EXPECT_EQ(1u, LogonRequests());

    PostMessageA(hBox, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), (LPARAM)GetDlgItem(hBox, IDOK));
    ASSERT_TRUE(PumpUntil([&] { return !IsWindow(hBox) && HallProcess::IsLogonIdle(hDialog); }, 30000));
    EXPECT_TRUE(PumpUntil([&] { return m_Server.IsPeerClosed(0); }, 30000)) << "the refused connection is closed";

    PostMessageA(hDialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), (LPARAM)GetDlgItem(hDialog, IDCANCEL));
    ASSERT_TRUE(hall.Ended());
    EXPECT_EQ(0u, hall.ExitCode());
    EXPECT_EQ(1u, LogonRequests()) << "nothing more reached the server";
}

TEST_F(HallLogonProcess, TheDemoAccountReachesTheFrameWithItsGameList)
{
    HallProcess hall(m_Server.GetPort());
    ASSERT_TRUE(hall.Start()) << hall.Failure();
    HWND hDialog = hall.WaitLogonDialog();
    ASSERT_NE((HWND)NULL, hDialog);

    HallProcess::LogOn(hDialog, demohall::kAccount, demohall::kPassword);
    HWND hFrame = hall.WaitFrame();
    ASSERT_NE((HWND)NULL, hFrame);
    EXPECT_FALSE(IsWindow(hDialog));
    EXPECT_EQ(0, m_Hall.GetRefusedCount());
    EXPECT_EQ(1u, LogonRequests());

    // The tree fills once the list is in.
    HWND hTree = hall.WaitChild(hFrame, IsFilledTree, 30000);
    ASSERT_NE((HWND)NULL, hTree);
    EXPECT_GE(SendMessageA(hTree, TVM_GETCOUNT, 0, 0), (LRESULT)demohall::kRoomCount);
}

} // namespace
