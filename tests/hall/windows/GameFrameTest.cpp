// The main frame against a recording data centre, neighbours and updater:
// the reconnect loop, the configuration road, notifications, links, the
// close and switch-account roads, geometry and region.
#include <gtest/gtest.h>

#include <afxwin.h>

#include <string>
#include <vector>

#include "AfxModalScript.h"
#include "CloseDlg.h"
#include "FrameTestSupport.h"
#include "GameFrame.h"
#include "GlobalUnits.h"
#include "HallTuning.h"
#include "MessagePump.h"
#include "SkinTestSupport.h"
#include "TempFolder.h"
#include "TestWait.h"

namespace
{

class GameFrameTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_savedTuning = g_HallTuning;
        g_HallTuning.dwSecond = 1;
        g_HallTuning.dwConfigTimer = 1;
        tagGlobalUserData* user = g_GlobalUnits.GetGlobalUserData();
        m_savedUser = *user;
        memset(user, 0, sizeof(*user));
        user->dwUserID = 7;
        strcpy(user->szAccount, "alice");
        strcpy(user->szPassword, "0123456789abcdef0123456789abcdef");
        m_savedWork = g_GlobalUnits.GetWorkDirectory();
    }
    void TearDown() override
    {
        if (frame != nullptr) {
            if (frame->GetSafeHwnd() != NULL)
                frame->DestroyWindow();
            delete frame;
        }
        PumpMessages();
        *g_GlobalUnits.GetGlobalUserData() = m_savedUser;
        g_GlobalUnits.SetWorkDirectory(m_savedWork);
        g_HallTuning = m_savedTuning;
    }
    void CreateFrame()
    {
        frame = new CGameFrame;
        frame->SetNeighbours(&neighbours);
        frame->SetUpdater(&updater);
        ASSERT_TRUE(frame->Create(AfxRegisterWndClass(CS_DBLCLKS), "",
                                  WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_SYSMENU | WS_MINIMIZEBOX,
                                  CRect(0, 0, CGameFrame::kWidth, CGameFrame::kHeight)));
        log.Take();
    }
    LRESULT Notify(WORD main, WORD sub, LPARAM lParam)
    {
        tagNotifyHead head = {0, main, sub};
        return frame->SendMessage(WM_HALL_NOTIFY, (WPARAM)&head, lParam);
    }
    bool PumpUntilLogged(const std::string& call)
    {
        return PumpUntil([&] { return log.text.find(call) != std::string::npos; });
    }

    CallLog log;
    RecordingApp app{log};
    RecordingNeighbours neighbours{log};
    RecordingUpdater updater{log};
    CGameFrame* frame = nullptr;

private:
    tagHallTuning m_savedTuning;
    tagGlobalUserData m_savedUser;
    CString m_savedWork;
};

TEST_F(GameFrameTest, ReconnectWaitsDoubleUntilTheyPass180Seconds)
{
    CreateFrame();
    Notify(1, 8, 0);
    ASSERT_TRUE(PumpUntilLogged("connect;"));
    EXPECT_EQ(log.Take(), "connect;");
    EXPECT_TRUE(frame->IsReconnecting());

    std::vector<int> waits;
    for (int i = 0; i < 7; ++i) {
        waits.push_back(frame->GetReconnectDelay());
        tagConnectNotice failed = {10061, "refused"};
        Notify(1, 2, (LPARAM)&failed);
        EXPECT_FALSE(frame->IsReconnecting());
        ASSERT_TRUE(PumpUntilLogged("connect;"));
        EXPECT_EQ(log.Take(), "closeSocket;connect;");
    }
    EXPECT_EQ(waits, (std::vector<int>{10, 20, 40, 80, 160, 320, 320}));

    tagConnectNotice connected = {0, ""};
    Notify(1, 2, (LPARAM)&connected);
    EXPECT_EQ(log.Take(), "logon 7 alice 0123456789abcdef0123456789abcdef;");
    tagLogonNotice accepted = {};
    Notify(1, 3, (LPARAM)&accepted);
    EXPECT_EQ(log.Take(), "afterLogon;");
    EXPECT_FALSE(frame->IsReconnecting());
    // The delay is never reset: a later loss waits the longest again.
    EXPECT_EQ(frame->GetReconnectDelay(), 320);
}

TEST_F(GameFrameTest, LostConnectionIgnoredOrStopped)
{
    CreateFrame();
    // Not logged on, or closing from the title bar: no reconnect.
    app.loggedOn = false;
    Notify(1, 8, 0);
    PumpMessages();
    app.loggedOn = true;
    frame->SetCloseByButton(true);
    Notify(1, 8, 0);
    PumpMessages();
    EXPECT_EQ(log.Take(), "");
    frame->SetCloseByButton(false);

    // Outside a reconnect the connect and logon results are the logon
    // dialog's business.
    tagConnectNotice connected = {0, ""};
    Notify(1, 2, (LPARAM)&connected);
    EXPECT_EQ(log.Take(), "");

    // A guest logs on again by machine.
    g_GlobalUnits.GetGlobalUserData()->lLevel = GUEST_USER_LEVEL;
    Notify(1, 8, 0);
    ASSERT_TRUE(PumpUntilLogged("connect;"));
    Notify(1, 2, (LPARAM)&connected);
    EXPECT_EQ(log.Take(), "connect;guestLogon;");

    // The server now refuses the account: the frame stops trying.
    tagLogonNotice refused = {};
    refused.lResult = 3;
    Notify(1, 3, (LPARAM)&refused);
    EXPECT_EQ(log.Take(), "closeSocket;");
    Notify(1, 8, 0);
    PumpMessages();
    EXPECT_EQ(log.Take(), "");
    EXPECT_FALSE(frame->IsReconnecting());

    // A new session may reconnect again.
    frame->ResetSession();
    log.Take();
    Notify(1, 8, 0);
    EXPECT_TRUE(PumpUntilLogged("connect;"));
}

// The data centre closes a refused connection before it passes the refusal
// on: the close schedules the next try, and the refusal takes it back.
TEST_F(GameFrameTest, ARefusalAfterItsOwnCloseLeavesNoTryPending)
{
    CreateFrame();
    Notify(1, 8, 0);
    ASSERT_TRUE(PumpUntilLogged("connect;"));
    tagConnectNotice connected = {0, ""};
    Notify(1, 2, (LPARAM)&connected);
    EXPECT_EQ(log.Take(), "connect;logon 7 alice 0123456789abcdef0123456789abcdef;");

    Notify(1, 8, 0);
    tagLogonNotice refused = {};
    refused.lResult = 3;
    Notify(1, 3, (LPARAM)&refused);
    EXPECT_EQ(log.Take(), "closeSocket;closeSocket;");
    EXPECT_FALSE(::KillTimer(frame->GetSafeHwnd(), IDT_FRAME_RECONNECT)) << "a try is still pending";
    EXPECT_FALSE(frame->IsReconnecting());
}

TEST_F(GameFrameTest, ConfigurationRoad)
{
    CreateFrame();
    neighbours.hasShop = false;
    EXPECT_EQ(frame->SendMessage(WM_FRAME_CONFIG_ARRIVED, 6, 0), 1);
    EXPECT_EQ(frame->SendMessage(WM_FRAME_CONFIG_FAILED, 5, 0), 1);
    PumpMessages();
    EXPECT_EQ(log.Take(), "");
    EXPECT_EQ(frame->SendMessage(WM_FRAME_CONFIG_ARRIVED, 2, 0), 1);
    EXPECT_EQ(frame->SendMessage(WM_FRAME_CONFIG_ARRIVED, 5, 0), 1);
    EXPECT_EQ(frame->SendMessage(WM_FRAME_CONFIG_FAILED, 2, 0), 1);
    EXPECT_EQ(log.Take(), "bulletin;wordFilter;bulletin;");

    EXPECT_EQ(frame->SendMessage(WM_FRAME_CONFIG_ARRIVED, 3, 0), 1);
    EXPECT_EQ(log.Take(), "extract DynaItemCfg.zip;bulletin;");
    ASSERT_TRUE(PumpUntilLogged("list 1;"));
    EXPECT_EQ(log.Take(), "banner 0;createShop;banner 1;competition;list 0;list 2;list 1;");

    // One-shot timers; the failed archive is unpacked from disk the same way.
    EXPECT_EQ(frame->SendMessage(WM_FRAME_CONFIG_FAILED, 3, 0), 1);
    ASSERT_TRUE(PumpUntilLogged("list 1;"));
    EXPECT_EQ(log.Take(), "extract DynaItemCfg.zip;bulletin;banner 0;banner 1;competition;list 0;list 2;list 1;");
}

TEST_F(GameFrameTest, Notifications)
{
    CreateFrame();
    tagUserValueItem first = {5, 2, 100}, second = {9, 3, 0}, changed = {5, 8, 0};
    Notify(6, 1, (LPARAM)&first);
    Notify(6, 1, (LPARAM)&second);
    Notify(6, 1, (LPARAM)&changed);
    ASSERT_EQ(frame->GetOwnItems().GetSize(), 2);
    EXPECT_EQ(frame->GetOwnItems()[0].wCount, 8);
    EXPECT_EQ(log.Take(), "items 1;forward 5;items 2;forward 9;items 2;forward 5;");

    {
        CModalScript script;
        script.Answer(IDOK);
        tagSystemMessage shown = {};
        shown.cbKind = 1;
        shown.dwValue = 1;
        strcpy(shown.szText, "今晚维护");
        tagSystemMessage quiet = shown;
        quiet.dwValue = 0;
        Notify(4, 1, (LPARAM)&quiet);
        Notify(4, 1, (LPARAM)&shown);
        ASSERT_EQ(script.Recorded().size(), 1u);
        EXPECT_STREQ(script.At(0).strCaption, "网管消息");
        EXPECT_STREQ(script.At(0).strText, "今晚维护");
    }

    Notify(5, 1, 0);
    Notify(5, 1, 3);
    EXPECT_EQ(log.Take(), "flash 3;");
    Notify(1, 9, 5);
    Notify(1, 9, 14);
    neighbours.hasShop = true;
    Notify(1, 9, 19);
    EXPECT_EQ(log.Take(), "userPanel;userPanel;shopUser;");
}

TEST_F(GameFrameTest, LinksAndCopyData)
{
    CreateFrame();
    neighbours.hasShop = true;
    struct
    {
        const char* link;
        const char* calls;
    } cases[] = {
        {"tavrel://openitemshop?item=12", "shop 12;"},
        {"tavrel://opengamestore/", "shop -1;"},
        {"?item=3tavrel://openitemshop", "shop -1;"},
        {"tavrel://opengameroom?roomid=abc", ""},
        {"tavrel://opengameroom", ""},
        {"tavrel://other?item=3", ""},
        {"http://host/openitemshop?item=1", ""},
    };
    for (const auto& c : cases) {
        frame->RunUrlCommand(c.link);
        EXPECT_EQ(log.Take(), c.calls) << c.link;
    }
    frame->SendMessage(WM_FRAME_LINK, (WPARAM) "tavrel://openitemshop?item=4");
    frame->SendMessage(WM_FRAME_HALL_LINK, (WPARAM) "tavrel://openitemshop?item=5");
    frame->SendMessage(WM_FRAME_LINK, (WPARAM) "");
    EXPECT_EQ(log.Take(), "shop 4;shop 5;");

    // Another process's bytes are read no further than it said, up to
    // the first zero.
    char text[] = "tavrel://openitemshop?item=123\0tail";
    COPYDATASTRUCT cut = {1, 29, text};
    frame->SendMessage(WM_COPYDATA, (WPARAM)frame->GetSafeHwnd(), (LPARAM)&cut);
    COPYDATASTRUCT zero = {1, sizeof(text), text};
    frame->SendMessage(WM_COPYDATA, (WPARAM)frame->GetSafeHwnd(), (LPARAM)&zero);
    COPYDATASTRUCT empty = {1, 0, text};
    EXPECT_EQ(frame->SendMessage(WM_COPYDATA, (WPARAM)frame->GetSafeHwnd(), (LPARAM)&empty), 0);
    // The user-service program's face notice is the data centre's; the
    // user panel then shows the reloaded face.
    COPYDATASTRUCT face = {0, sizeof(text), text};
    frame->SendMessage(WM_COPYDATA, (WPARAM)frame->GetSafeHwnd(), (LPARAM)&face);
    EXPECT_EQ(log.Take(), "shop 12;shop 123;userPanel;");

    // Unknown rooms are not entered.
    frame->EnterRoomById(-1);
    frame->EnterRoomById(424242);
    EXPECT_EQ(log.Take(), "");
}

TEST_F(GameFrameTest, CloseRoads)
{
    CreateFrame();
    // A title-bar close while a game runs: nothing torn down, no dialog,
    // and a later lost connection still reconnects.
    neighbours.roomsRefuse = true;
    frame->SetCloseByButton(true);
    frame->SendMessage(WM_CLOSE);
    EXPECT_TRUE(::IsWindow(frame->GetSafeHwnd()));
    EXPECT_FALSE(frame->IsCloseByButton());
    EXPECT_EQ(log.Take(), "canClose;");
    neighbours.roomsRefuse = false;

    // Staying from the close dialog leaves the hall whole.
    {
        CModalScript script;
        script.Answer(IDCANCEL);
        frame->SetCloseByButton(true);
        frame->SendMessage(WM_CLOSE);
        ASSERT_EQ(script.Recorded().size(), 1u);
        EXPECT_EQ(script.At(0).nIDTemplate, (UINT)IDD_CLOSE);
    }
    EXPECT_TRUE(::IsWindow(frame->GetSafeHwnd()));
    EXPECT_EQ(log.Take(), "canClose;");

    // Switching account from it ends the dialog and the close road first.
    {
        CModalScript script;
        script.Answer(CCloseDlg::kResultSwitchAccount);
        frame->SetCloseByButton(true);
        frame->SendMessage(WM_CLOSE);
        EXPECT_EQ(log.Take(), "canClose;");
        ASSERT_TRUE(PumpUntilLogged("logonAgain;"));
        EXPECT_EQ(log.Take(), "closeRooms;logoff;logonAgain;");
    }
    EXPECT_TRUE(::IsWindow(frame->GetSafeHwnd()));

    // Quitting from it tears the hall down and closes.
    {
        CModalScript script;
        script.Answer(IDOK);
        frame->SetCloseByButton(true);
        frame->SendMessage(WM_CLOSE);
    }
    EXPECT_FALSE(::IsWindow(frame->GetSafeHwnd()));
    EXPECT_EQ(log.Take(), "canClose;closeRooms;closeChannel;friendsLogoff;clearShopItems;closeMail;leaveHall;detach;");
}

TEST_F(GameFrameTest, CloseFromTheTrayMenuAsksNothing)
{
    CreateFrame();
    neighbours.hasShop = true;
    frame->SendMessage(WM_CLOSE);
    EXPECT_FALSE(::IsWindow(frame->GetSafeHwnd()));
    EXPECT_EQ(log.Take(), "canClose;closeRooms;closeChannel;cancelShop;friendsLogoff;clearShopItems;closeMail;"
                          "leaveHall;detach;");
}

TEST_F(GameFrameTest, SwitchAccount)
{
    CreateFrame();
    neighbours.roomsRefuse = true;
    EXPECT_EQ(frame->SendMessage(WM_FRAME_SWITCH_ACCOUNT), -1);
    EXPECT_EQ(log.Take(), "closeRooms;");
    neighbours.roomsRefuse = false;
    neighbours.hasShop = true;
    EXPECT_EQ(frame->SendMessage(WM_FRAME_SWITCH_ACCOUNT), 1);
    EXPECT_EQ(log.Take(), "closeRooms;destroyShop;logoff;logonAgain;");
    g_GlobalUnits.GetGlobalUserData()->dwUserID = 0;
    EXPECT_EQ(frame->SendMessage(WM_FRAME_SWITCH_ACCOUNT), 1);
    EXPECT_EQ(log.Take(), "");
}

TEST_F(GameFrameTest, BossKeyHidesAndShowsTheFirstRoomsGame)
{
    CreateFrame();
    frame->SendMessage(WM_HOTKEY, 0x101);
    EXPECT_EQ(log.Take(), "");
    frame->SendMessage(WM_HOTKEY, FRAME_BOSS_HOTKEY_ID);
    EXPECT_TRUE(frame->IsWindowVisible());
    frame->SendMessage(WM_HOTKEY, FRAME_BOSS_HOTKEY_ID);
    EXPECT_FALSE(frame->IsWindowVisible());
    EXPECT_EQ(log.Take(), "gameShown;gameHidden;");
}

TEST_F(GameFrameTest, RestoredGeometryAndRegion)
{
    // Two top corners with a cut-out pixel each; the bottom ones missing.
    skintest::TempFolder folder;
    skintest::Pixels corner(8, 8, RGB(20, 40, 60));
    corner.At(0, 0) = RGB(255, 0, 255);
    folder.WriteBmp("Res\\MainFrame\\Border\\bordertl.bmp", corner);
    corner.At(0, 0) = RGB(20, 40, 60);
    corner.At(7, 0) = RGB(255, 0, 255);
    folder.WriteBmp("Res\\MainFrame\\Border\\bordertr.bmp", corner);
    g_GlobalUnits.SetWorkDirectory(folder.Path().c_str());
    CreateFrame();

    frame->SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(800, 600));
    CRect window;
    frame->GetWindowRect(&window);
    int x = (GetSystemMetrics(SM_CXSCREEN) - 1024) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - 788) / 2;
    EXPECT_EQ(window, CRect(x, y, x + 1024, y + 738));
    CRect hall;
    frame->GetGameHall().GetWindowRect(&hall);
    hall.OffsetRect(-window.left, -window.top);
    EXPECT_EQ(hall, CRect(10, 83, 1014, 713));

    CRect box;
    frame->GetWindowRegion().GetRgnBox(&box);
    EXPECT_EQ(box, CRect(0, 0, 1024, 738));
    struct
    {
        int x, y;
        bool inside;
    } points[] = {{0, 0, false},  {1, 0, true},   {1023, 0, false},  {1022, 0, true},
                  {500, 0, true}, {0, 737, true}, {1023, 737, true}, {1024, 10, false}};
    for (const auto& p : points)
        EXPECT_EQ(frame->GetWindowRegion().PtInRegion(p.x, p.y) != FALSE, p.inside) << p.x << "," << p.y;
}

TEST_F(GameFrameTest, MiniHallStartsOnceAndIsFoundByItsProcess)
{
    CTempFolder folder("minihall");
    SetEnvironmentVariableA("TAVREL_MINIHALL_LOG", folder.File("minihall.txt").c_str());
    char program[MAX_PATH];
    GetModuleFileNameA(NULL, program, MAX_PATH);
    *strrchr(program, '\\') = 0;
    g_GlobalUnits.SetWorkDirectory(program);
    CreateFrame();
    auto lines = [&] { return folder.Read("minihall.txt"); };

    frame->StartMiniHall(0);
    DWORD first = frame->GetMiniHallProcessId();
    ASSERT_NE(first, 0u);
    ASSERT_TRUE(WaitFor([&] { return lines().find("show") != std::string::npos; }));
    HWND mini = FindWindowA("MiniTavrel", NULL);
    ASSERT_NE(mini, (HWND)NULL);
    EXPECT_FALSE(IsWindowVisible(mini));

    // A second start shows the running one instead of ending it.
    frame->StartMiniHall(3);
    EXPECT_EQ(frame->GetMiniHallProcessId(), first);
    EXPECT_TRUE(IsWindowVisible(mini));

    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, first);
    PostMessageA(mini, WM_CLOSE, 0, 0);
    ASSERT_EQ(WaitForSingleObject(process, 10000), WAIT_OBJECT_0);
    CloseHandle(process);
    frame->StartMiniHall(2);
    DWORD second = frame->GetMiniHallProcessId();
    EXPECT_NE(second, first);
    ASSERT_TRUE(WaitFor([&] { return lines().find("show:2") != std::string::npos; }));
    std::string text = lines();
    EXPECT_NE(text.find("MiniTavrel.exe\" show\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("MiniTavrel.exe\" show:2\r\n"), std::string::npos) << text;

    // The frame's end is the mini hall's.
    process = OpenProcess(SYNCHRONIZE, FALSE, second);
    frame->DestroyWindow();
    EXPECT_EQ(WaitForSingleObject(process, 10000), WAIT_OBJECT_0);
    CloseHandle(process);
    SetEnvironmentVariableA("TAVREL_MINIHALL_LOG", NULL);
}

} // namespace

// The face cache is no part of the way to the logon dialog: it opens after
// the first logon, once, and a later logon keeps it.
TEST_F(GameFrameTest, FaceCacheOpensAfterTheFirstLogonOnly)
{
    CTempFolder folder("facecache");
    std::string program = folder.Path() + "\\";
    g_GlobalUnits.SetWorkDirectory(program.c_str());
    CreateFrame();
    CCustomFaceManagerWnd* faces = frame->GetCustomFaceManager();
    EXPECT_EQ(faces->GetSafeHwnd(), (HWND)NULL) << "opened before any logon";
    EXPECT_EQ(GetFileAttributesA((program + "Config\\Users\\CUSTOM_FACE_FILE.db").c_str()), INVALID_FILE_ATTRIBUTES);

    frame->UpdateAfterLogon();
    HWND hFaces = faces->GetSafeHwnd();
    ASSERT_NE(hFaces, (HWND)NULL);

    frame->UpdateAfterLogon();
    EXPECT_EQ(faces->GetSafeHwnd(), hFaces) << "opened again";
}

// The updater keeps the configuration archive in its dynamic folder and
// takes only a name for it: a path is refused, and no update would start.
TEST_F(GameFrameTest, TheConfigurationArchiveIsAskedForByItsName)
{
    CreateFrame();
    frame->StartConfigUpdate();
    const std::string calls = log.Take();
    EXPECT_EQ(0u, calls.find("file 3 DynaItemCfg.zip;")) << calls;
}
