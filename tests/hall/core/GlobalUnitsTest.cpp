#include "HttpTestServer.h" // Winsock before the system headers

#include <gtest/gtest.h>

#include <string.h>

#include <map>
#include <string>
#include <vector>

#include "GameTreeManager.h"
#include "GameTreeNode.h"
#include "GlobalAttemper.h"
#include "CustomFaceManagerWnd.h"
#include "GlobalUnits.h"
#include "HallWindows.h"
#include "StateTestSupport.h"

namespace
{

class GlobalUnitsTest : public testing::Test
{
protected:
    void SetUp() override
    {
        UseProgramFolder(folder);
        g_GlobalUnits.ResetUserData();
        g_GlobalUnits.SetWebKey("");
    }
    void TearDown() override { g_GlobalUnits.ResetUserData(); }

    CStateFolder folder;
};

// ------------------------------------------------------------------ web addresses

struct PlaceholderCase
{
    const char* config;
    const char* url;
    const char* expected;
};

class Placeholders : public GlobalUnitsTest, public testing::WithParamInterface<PlaceholderCase>
{};

TEST_P(Placeholders, AreReplacedFromTheStaticConfiguration)
{
    std::string path = folder.Write("config\\original\\StaticCfg.ini", GetParam().config);
    g_GlobalUnits.LoadStaticConfig(path.c_str());
    CString url(GetParam().url);
    g_GlobalUnits.ReplaceUrlPlaceholders(url);
    EXPECT_STREQ(url, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Configurations, Placeholders,
    testing::Values(PlaceholderCase{"[SubStation]\r\nId=12\r\nName=East\r\n[Origin]\r\nId=3\r\nName=Web\r\n",
                                    "http://h/?s=<%SubStationId%>&n=<%SubStationName%>&o=<%OriginId%>&m=<%OriginName%>",
                                    "http://h/?s=12&n=East&o=3&m=Web"},
                    // An empty name leaves its placeholder; missing ids are 0.
                    PlaceholderCase{"[SubStation]\r\nId=12\r\n", "<%SubStationName%>|<%OriginId%>|<%OriginName%>",
                                    "<%SubStationName%>|0|<%OriginName%>"},
                    PlaceholderCase{"", "<%SubStationId%><%SubStationId%>", "00"}));

TEST_F(GlobalUnitsTest, AppendUserKeyPicksTheSeparator)
{
    g_GlobalUnits.GetGlobalUserData()->dwUserID = 1234;
    g_GlobalUnits.SetWebKey("k3y");
    EXPECT_STREQ(g_GlobalUnits.AppendUserKey("http://h/page"), "http://h/page?Uid=1234&Key=k3y");
    EXPECT_STREQ(g_GlobalUnits.AppendUserKey("http://h/page?a=1"), "http://h/page?a=1&Uid=1234&Key=k3y");
}

TEST_F(GlobalUnitsTest, WebKeyIsCutTo259Characters)
{
    std::string longKey(400, 'k');
    g_GlobalUnits.SetWebKey(longKey.c_str());
    EXPECT_EQ(strlen(g_GlobalUnits.GetWebKey()), 259u);
}

// A launcher that records instead of starting anything.
class RecordingLauncher : public CBrowserLauncher
{
public:
    INT_PTR shellResult = 2;
    std::map<std::string, std::string> classes;
    bool startSucceeds = true;
    std::vector<std::string> opened;
    std::vector<std::string> started;

    INT_PTR ShellOpen(LPCSTR url, int showCommand) override
    {
        opened.push_back(url);
        return shellResult;
    }
    bool ReadClassValue(LPCSTR key, CString& value) override
    {
        auto it = classes.find(key);
        if (it == classes.end())
            return false;
        value = it->second.c_str();
        return true;
    }
    bool StartProcess(LPCSTR commandLine) override
    {
        started.push_back(commandLine);
        return startSucceeds;
    }
};

class Browser : public GlobalUnitsTest
{
protected:
    void SetUp() override
    {
        GlobalUnitsTest::SetUp();
        CBrowserLauncher::Install(&launcher);
    }
    void TearDown() override
    {
        CBrowserLauncher::Install(NULL);
        GlobalUnitsTest::TearDown();
    }

    RecordingLauncher launcher;
};

TEST_F(Browser, EmptyAddressFailsWithoutStartingAnything)
{
    EXPECT_EQ(OpenUrlInBrowser("", SW_SHOW), 0);
    EXPECT_EQ(OpenUrlInBrowser(NULL, SW_SHOW), 0);
    EXPECT_TRUE(launcher.opened.empty());
    EXPECT_TRUE(launcher.started.empty());
}

TEST_F(Browser, ShellSuccessIsTheAnswer)
{
    launcher.shellResult = 42;
    EXPECT_EQ(OpenUrlInBrowser("http://h/", SW_SHOW), 42);
    EXPECT_TRUE(launcher.started.empty());
}

struct CommandCase
{
    const char* name;
    const char* verb; // default value of "<class>\shell\open"
    const char* command;
    const char* url;
    const char* expected;
};

class BrowserCommands : public Browser, public testing::WithParamInterface<CommandCase>
{};

TEST_P(BrowserCommands, FallBackToTheHtmlClass)
{
    const CommandCase& c = GetParam();
    launcher.classes[".htm"] = "htmlfile";
    launcher.classes["htmlfile\\shell\\open"] = c.verb;
    launcher.classes[std::string("htmlfile\\shell\\open\\") + (c.verb[0] ? c.verb : "command")] = c.command;
    EXPECT_EQ(OpenUrlInBrowser(c.url, SW_SHOW), 33) << c.name;
    ASSERT_EQ(launcher.started.size(), 1u) << c.name;
    EXPECT_EQ(launcher.started[0], c.expected) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Commands, BrowserCommands,
                         testing::Values(CommandCase{"quoted %1", "", "\"C:\\b\\browser.exe\" -nohome \"%1\"",
                                                     "http://h/a", "\"C:\\b\\browser.exe\" -nohome \"http://h/a\""},
                                         CommandCase{"plain %1", "", "C:\\b\\browser.exe %1 -x", "http://h/a",
                                                     "C:\\b\\browser.exe \"http://h/a\""},
                                         CommandCase{"no %1", "", "C:\\b\\browser.exe", "http://h/a",
                                                     "C:\\b\\browser.exe \"http://h/a\""},
                                         CommandCase{"verb key", "ddeexec", "C:\\b\\b.exe \"%1\"", "http://h/a",
                                                     "C:\\b\\b.exe \"http://h/a\""},
                                         // The address stays one argument.
                                         CommandCase{"blanks and quotes", "", "b.exe \"%1\"", "http://h/a b\" -evil",
                                                     "b.exe \"http://h/a b%22 -evil\""}));

TEST_F(Browser, MissingRegistryEntriesKeepTheShellAnswer)
{
    launcher.shellResult = 31;
    EXPECT_EQ(OpenUrlInBrowser("http://h/", SW_SHOW), 31);
    launcher.classes[".htm"] = "htmlfile";
    EXPECT_EQ(OpenUrlInBrowser("http://h/", SW_SHOW), 31);
    launcher.classes["htmlfile\\shell\\open"] = "";
    launcher.classes["htmlfile\\shell\\open\\command"] = "b.exe %1";
    launcher.startSucceeds = false;
    EXPECT_EQ(OpenUrlInBrowser("http://h/", SW_SHOW), 31);
    EXPECT_EQ(launcher.started.size(), 1u);
}

// ------------------------------------------------------------------ the hall's windows

// Each records what the global units asked of it.
struct RecordingRoomTabs : IRoomTabWnd
{
    void ShowWebPage(LPCSTR pszUrl, BYTE cbFlag) override
    {
        shown.push_back(pszUrl + std::string("|") + std::to_string(cbFlag));
    }
    void OpenWebPage(LPCSTR, LPCSTR, BYTE) override {}
    bool EnterRoom(CGameRoom*, CGameTreeNode*) override { return false; }
    void ShowChannelDialog() override {}
    void CloseChannelDialog() override {}
    void SelectChannelGame(int) override {}
    std::vector<std::string> shown;
};

struct RecordingRoomView : IRoomWaitView
{
    void BeginWaitStatus() override { calls += "begin "; }
    void EndWaitStatus() override { calls += "end "; }
    std::string calls;
};

struct FrameWithFaces : IHallFrameWnd
{
    CCustomFaceManagerWnd* GetCustomFaceManager() override { return &faces; }
    void ShowItemShop(int) override {}
    void EnterRoomById(int) override {}
    CCustomFaceManagerWnd faces;
};

TEST_F(Browser, OpenUserUrlInThePlazaOrTheBrowser)
{
    g_GlobalUnits.GetGlobalUserData()->dwUserID = 7;
    g_GlobalUnits.SetWebKey("key");
    RecordingRoomTabs roomTabs;
    ASSERT_EQ(CHallWindows::InstallRoomTabs(&roomTabs), nullptr);

    launcher.shellResult = 42;
    EXPECT_TRUE(g_GlobalUnits.OpenUserUrl("http://h/a", true));
    EXPECT_TRUE(g_GlobalUnits.OpenUserUrl("http://h/b", false));
    EXPECT_EQ(CHallWindows::InstallRoomTabs(NULL), &roomTabs);

    // Without the room tab window the plaza page is simply not shown; it
    // does not go to the browser instead.
    EXPECT_TRUE(g_GlobalUnits.OpenUserUrl("http://h/c", true));

    EXPECT_EQ(roomTabs.shown, std::vector<std::string>{"http://h/a?Uid=7&Key=key|0"});
    EXPECT_EQ(launcher.opened, std::vector<std::string>{"http://h/b?Uid=7&Key=key"});
}

TEST_F(GlobalUnitsTest, RoomControlsGoThroughTheRoomView)
{
    RecordingRoomView view;
    EXPECT_TRUE(g_GlobalUnits.HideRoomControls(&view));
    EXPECT_TRUE(g_GlobalUnits.RestoreRoomControls(&view));
    EXPECT_FALSE(g_GlobalUnits.HideRoomControls(NULL));
    EXPECT_FALSE(g_GlobalUnits.RestoreRoomControls(NULL));
    EXPECT_EQ(view.calls, "begin end ");
}

TEST_F(GlobalUnitsTest, CustomFaceManagerIsTheInstalledFrames)
{
    EXPECT_EQ(g_GlobalUnits.GetCustomFaceManager(), nullptr);
    FrameWithFaces frame;
    CHallWindows::InstallFrame(&frame);
    EXPECT_EQ(g_GlobalUnits.GetCustomFaceManager(), &frame.faces);
    CHallWindows::InstallFrame(NULL);
    EXPECT_EQ(g_GlobalUnits.GetCustomFaceManager(), nullptr);
}

// ------------------------------------------------------------------ web log-in

class WebCalls : public GlobalUnitsTest
{
protected:
    void SetUp() override
    {
        GlobalUnitsTest::SetUp();
        ASSERT_TRUE(server.Start());
        tagGlobalUserData* user = g_GlobalUnits.GetGlobalUserData();
        strcpy(user->szAccount, "li&wei");
        strcpy(user->szPassword, "0123456789abcdef0123456789abcdef");
    }
    void Configure(const std::string& url)
    {
        folder.Write("config\\dynamic\\DynaItemCfg.ini", "[UserCookie]\r\nurl=" + url + "\r\n");
    }

    CHttpTestServer server;
};

TEST_F(WebCalls, NothingConfiguredIsNoCall)
{
    EXPECT_TRUE(g_GlobalUnits.WebLogin("pw"));
    Configure("");
    EXPECT_TRUE(g_GlobalUnits.WebLogout());
    EXPECT_EQ(server.GetRequests().size(), 0u);
}

TEST_F(WebCalls, AnAddressThatDoesNotParseFails)
{
    Configure("not a url");
    EXPECT_FALSE(g_GlobalUnits.WebLogin("pw"));
}

TEST_F(WebCalls, LoginAndLogoutArePostsWithEscapedValues)
{
    server.SetReply("/cookie", CHttpTestServer::Ok("ok"));
    Configure(server.Url("/cookie"));
    EXPECT_TRUE(g_GlobalUnits.WebLogin("p w"));
    EXPECT_TRUE(g_GlobalUnits.WebLogout());
    std::vector<CHttpTestServer::Request> requests = server.GetRequests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].strMethod, "POST");
    EXPECT_EQ(requests[0].strTarget, "/cookie?username=li%26wei&password=p%20w&type=login");
    EXPECT_EQ(requests[1].strTarget, "/cookie?username=li%26wei&password=0123456789abcdef0123456789abcdef&type=logout");
}

TEST_F(WebCalls, ARefusedCallIsNoSuccess)
{
    server.SetReply("/cookie", CHttpTestServer::Status(500));
    Configure(server.Url("/cookie"));
    EXPECT_FALSE(g_GlobalUnits.WebLogin("pw"));
    server.Stop();
    EXPECT_FALSE(g_GlobalUnits.WebLogin("pw"));
}

// ------------------------------------------------------------------ parsers and small services

TEST(TextParsers, DateTime)
{
    EXPECT_EQ(ParseDateTime("2024-03-05 06:07:08"), CTime(2024, 3, 5, 6, 7, 8).GetTime());
    EXPECT_EQ(ParseDateTime("2024-03-05"), CTime(2024, 3, 5, 0, 0, 0).GetTime());
    // Incomplete or impossible dates are no time at all.
    EXPECT_EQ(ParseDateTime("2024-03"), 0);
    EXPECT_EQ(ParseDateTime(""), 0);
    EXPECT_EQ(ParseDateTime(NULL), 0);
    EXPECT_EQ(ParseDateTime("2024-13-05 06:07:08"), 0);
    EXPECT_EQ(ParseDateTime("2024-03-05 99:07"), 0);
}

TEST(TextParsers, Geometry)
{
    CRect rect(9, 9, 9, 9);
    StringToRect(rect, "1 2 30 40");
    EXPECT_EQ(rect, CRect(1, 2, 30, 40));
    StringToRect(rect, "5 6");
    EXPECT_EQ(rect, CRect(5, 6, 0, 0));
    CPoint point(9, 9);
    StringToPoint(point, "-3 4");
    EXPECT_EQ(point, CPoint(-3, 4));
    StringToPoint(point, "");
    EXPECT_EQ(point, CPoint(0, 0));
    COLORREF color = 0;
    StringToColor(color, "1 2 3");
    EXPECT_EQ(color, 0x030201u);
    StringToColor(color, "255");
    EXPECT_EQ(color, 0x0000FFu);
}

TEST(GlobalServices, HotKeyWordMapsItsModifiers)
{
    EXPECT_EQ(LOBYTE(635), VK_F12);
    EXPECT_EQ(CGlobalUnits::HotKeyModifiers(635), (UINT)MOD_CONTROL);
    EXPECT_EQ(CGlobalUnits::HotKeyModifiers(MAKEWORD('A', HOTKEYF_SHIFT | HOTKEYF_ALT)), (UINT)(MOD_SHIFT | MOD_ALT));
    EXPECT_EQ(CGlobalUnits::HotKeyModifiers('A'), 0u);
}

TEST(GlobalServices, Utf8ToTextGivesTheSystemCodePage)
{
    CString text("\xE4\xB8\xAD\xE6\x96\x87 ok"); // UTF-8
    CGlobalUnits::Utf8ToText(text);
    EXPECT_STREQ(text, "中文 ok"); // GBK
}

TEST_F(GlobalUnitsTest, PictureFileBecomesABitmap)
{
    // A 2 x 1 24-bit BMP.
    std::string bmp = std::string("BM") + std::string("\x3E\0\0\0\0\0\0\0\x36\0\0\0", 12) +
                      std::string("\x28\0\0\0\x02\0\0\0\x01\0\0\0\x01\0\x18\0\0\0\0\0\x08\0\0\0", 24) +
                      std::string(16, '\0') + std::string("\xFF\0\0\0\xFF\0\0\0", 8);
    std::string path = folder.Write("pic.bmp", bmp);
    HBITMAP bitmap = CGlobalUnits::LoadPictureFile(path.c_str());
    ASSERT_NE(bitmap, nullptr);
    BITMAP info;
    ASSERT_EQ(GetObject(bitmap, sizeof(info), &info), (int)sizeof(info));
    EXPECT_EQ(info.bmWidth, 2);
    EXPECT_EQ(info.bmHeight, 1);
    DeleteObject(bitmap);
    EXPECT_EQ(CGlobalUnits::LoadPictureFile((folder.Path() + "none.bmp").c_str()), nullptr);
}

// ------------------------------------------------------------------ room titles

class RoomTitles : public testing::Test
{
protected:
    void SetUp() override
    {
        g_GlobalUnits.SetGameTreeManager(&manager);
        CGameStation* outer = new CGameStation(1);
        outer->SetName("Outer");
        CGameStation* inner = new CGameStation(2);
        inner->SetName("Inner");
        CGameRoom* room = new CGameRoom(9);
        room->SetName("Room Nine");
        manager.AddGameStation(outer);
        manager.AddGameStation(inner);
        manager.AddGameRoom(room);

        game = Node(100, TREE_ITEM_GAME, 50, "");
        outerNode = Node(101, TREE_ITEM_STATION, 1, "");
        innerNode = Node(102, TREE_ITEM_STATION, 2, "");
        roomNode = Node(103, TREE_ITEM_ROOM, 9, "");
        root.InsertChild(game);
        game->InsertChild(outerNode);
        outerNode->InsertChild(innerNode);
        innerNode->InsertChild(roomNode);
    }
    void TearDown() override { g_GlobalUnits.SetGameTreeManager(NULL); }

    static CGameTreeNode* Node(DWORD id, DWORD type, DWORD item, const char* caption)
    {
        CGameTreeNode* node = new CGameTreeNode(id);
        node->SetItemType(type);
        node->SetItemData(item);
        node->SetText(caption);
        return node;
    }

    CGameTreeManager manager;
    CGameTreeNode root{0};
    CGameTreeNode* game;
    CGameTreeNode* outerNode;
    CGameTreeNode* innerNode;
    CGameTreeNode* roomNode;
};

TEST_F(RoomTitles, NestedStationsAreJoinedBySeparator)
{
    CString roomName;
    EXPECT_STREQ(g_GlobalAttemper.BuildRoomTitle(roomNode, "-", roomName), "Outer - Inner");
    EXPECT_STREQ(roomName, "Room Nine");
}

TEST_F(RoomTitles, CaptionsWinOverItemNames)
{
    roomNode->SetText("Caption Room");
    innerNode->SetText("Caption Inner");
    CString roomName;
    EXPECT_STREQ(g_GlobalAttemper.BuildRoomTitle(roomNode, ">", roomName), "Outer > Caption Inner");
    EXPECT_STREQ(roomName, "Caption Room");
}

TEST_F(RoomTitles, UnknownRoomOrNoNodeGivesNothing)
{
    CString roomName("unchanged");
    EXPECT_STREQ(g_GlobalAttemper.BuildRoomTitle(NULL, "-", roomName), "");
    roomNode->SetItemData(77);
    EXPECT_STREQ(g_GlobalAttemper.BuildRoomTitle(roomNode, "-", roomName), "");
    EXPECT_STREQ(roomName, "unchanged");
}

TEST_F(RoomTitles, UnknownStationIsSkipped)
{
    innerNode->SetItemData(55);
    CString roomName;
    EXPECT_STREQ(g_GlobalAttemper.BuildRoomTitle(roomNode, "-", roomName), "Outer");
}

} // namespace
