// The logon road through the assembled hall: refusals and an unreachable
// server show their text and give the dialog back; the demo account reaches
// the frame with the demo tree, and the saved account logs on again at the
// next start without typing.
#include "E2eTest.h"

#include <memory>
#include <string>
#include <vector>

#include "TestPorts.h"
#include "TestWait.h"

using namespace e2e;

class LogonRoad : public E2eTest
{};

namespace
{

const char kNoServerText[] = "连接服务器失败，请检查网络或者联系客服！";

} // namespace

TEST_F(LogonRoad, LogonRefusalsShowTheirTextAndGiveTheDialogBack)
{
    struct Case
    {
        const char* name;
        const char* shot;
        const char* account;
        const char* password;
        bool bServer;     // the server list names the demo hall
        const char* text; // the box shown
        size_t nRequests; // logon requests the hall server saw by then
    };
    const Case cases[] = {
        {"wrong password", "logon-wrong-password", demohall::kAccount, "demo124", true, demohall::kRefusalText, 1},
        {"unknown account", "logon-unknown-account", "nobody", demohall::kPassword, true, demohall::kRefusalText, 2},
        {"no server reachable", "logon-no-server", demohall::kAccount, demohall::kPassword, false, kNoServerText, 2},
    };
    // One hall for the cases with a server (the dialog is used again after
    // a refusal), another without.
    std::unique_ptr<HallProcess> pHall;
    HWND hDialog = NULL;
    auto cancel = [&] {
        // Cancel ends the program with nothing more sent.
        const size_t nRequests = LogonAccounts().size();
        PostMessageA(hDialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), (LPARAM)GetDlgItem(hDialog, IDCANCEL));
        ASSERT_TRUE(pHall->Ended());
        EXPECT_EQ(0u, pHall->ExitCode());
        EXPECT_EQ(nRequests, LogonAccounts().size());
    };
    for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(c.name);
        const int nConnections = m_World.GetHallServer().GetConnectionCount();
        if (i == 0 || c.bServer != cases[i - 1].bServer) {
            if (pHall != nullptr) {
                ASSERT_NO_FATAL_FAILURE(cancel());
            }
            pHall.reset(new HallProcess(c.bServer ? m_World.GetHallPort() : FindClosedPort()));
            ASSERT_TRUE(pHall->Start());
            hDialog = pHall->WaitLogonDialog();
            ASSERT_NE((HWND)NULL, hDialog);
        }

        HallProcess::LogOn(hDialog, c.account, c.password);
        HWND hBox = pHall->WaitBox(c.text);
        ASSERT_NE((HWND)NULL, hBox) << "no box with the text\n" << pHall->DescribeWindows();
        Shot(hBox, c.shot);
        const std::vector<std::string> accounts = LogonAccounts();
        ASSERT_EQ(c.nRequests, accounts.size());
        if (c.bServer) {
            EXPECT_EQ(c.account, accounts.back());
        } else {
            EXPECT_EQ(nConnections, m_World.GetHallServer().GetConnectionCount()) << "the demo hall was not asked";
        }

        // The box answered, the dialog takes input again.
        PostMessageA(hBox, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        ASSERT_TRUE(PumpUntil([&] { return !IsWindow(hBox) && HallProcess::IsLogonIdle(hDialog); }, kWait));
        EXPECT_TRUE(IsWindowVisible(hDialog));
    }
    ASSERT_NO_FATAL_FAILURE(cancel());
    EXPECT_EQ(2, m_World.GetHall().GetRefusedCount());
}

TEST_F(LogonRoad, TheDemoAccountReachesItsTreeAndIsReadBackOnTheNextStart)
{
    HallProcess hall(m_World.GetHallPort());
    ASSERT_TRUE(hall.Start()) << hall.Failure();
    HWND hDialog = hall.WaitLogonDialog();
    ASSERT_NE((HWND)NULL, hDialog);
    Shot(hDialog, "logon-dialog");
    HallProcess::LogOn(hDialog, demohall::kAccount, demohall::kPassword, true);
    HWND hFrame = hall.WaitFrame();
    ASSERT_NE((HWND)NULL, hFrame);
    EXPECT_FALSE(IsWindow(hDialog));
    EXPECT_EQ(std::vector<std::string>{demohall::kAccount}, LogonAccounts());

    // The tree shows the demo world's categories, games and rooms.
    HWND hTree = hall.WaitChild(hFrame, [&](HWND hWnd) {
        if (ClassOf(hWnd) != "SysTreeView32")
            return false;
        for (const HallProcess::tagTreeItem& item : hall.TreeItems(hWnd))
            if (item.strText.find(demodata::Rooms().back().pszName) != std::string::npos)
                return true;
        return false;
    });
    ASSERT_NE((HWND)NULL, hTree) << "no tree with the demo rooms";
    Shot(hFrame, "hall-tree");
    const std::vector<HallProcess::tagTreeItem> items = hall.TreeItems(hTree);
    std::vector<std::string> names;
    for (const demodata::tagCategory& category : demodata::Categories())
        names.push_back(category.pszName);
    for (const demodata::tagGame& game : demodata::Games())
        names.push_back(game.pszName);
    for (const demodata::tagRoom& room : demodata::Rooms())
        names.push_back(room.pszName);
    for (const std::string& name : names) {
        bool bShown = false;
        for (const HallProcess::tagTreeItem& item : items)
            bShown = bShown || item.strText.find(name) != std::string::npos;
        EXPECT_TRUE(bShown) << name;
    }

    // The next start offers the account with its password kept: the logon
    // button alone logs on.
    hall.Kill();
    ASSERT_TRUE(hall.Start()) << hall.Failure();
    hDialog = hall.WaitLogonDialog();
    ASSERT_NE((HWND)NULL, hDialog);
    EXPECT_EQ(demohall::kAccount, TextOf(GetDlgItem(hDialog, kAccountBoxId)));
    Shot(hDialog, "logon-saved-account");
    HallProcess::LogOn(hDialog, NULL, NULL);
    ASSERT_NE((HWND)NULL, hall.WaitFrame());
    EXPECT_EQ((std::vector<std::string>{demohall::kAccount, demohall::kAccount}), LogonAccounts());
    EXPECT_EQ(0, m_World.GetHall().GetRefusedCount());
}
