// Hall links: which commands run, with which values, and which links are
// left to the browser.
#include <gtest/gtest.h>

#include <afxcoll.h>
#include <afxwin.h>

#include <string>

#include "HallUrl.h"
#include "HallWindows.h"

namespace
{

struct RecordingFrame : IHallFrameWnd
{
    CCustomFaceManagerWnd* GetCustomFaceManager() override { return nullptr; }
    void ShowItemShop(int nItemID) override { calls += "shop " + std::to_string(nItemID) + ";"; }
    void EnterRoomById(int nRoomID) override { calls += "room " + std::to_string(nRoomID) + ";"; }
    std::string calls;
};

std::string* g_pLogonCalls = nullptr;

LRESULT CALLBACK LogonProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_HALL_URL_LOGON && g_pLogonCalls != nullptr) {
        *g_pLogonCalls += std::string("logon ") + (LPCSTR)wParam + "/" + (LPCSTR)lParam + ";";
        return 0;
    }
    return DefWindowProcA(hWnd, message, wParam, lParam);
}

class HallUrl : public ::testing::Test
{
protected:
    void SetUp() override
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = LogonProc;
        wc.lpszClassName = "HallUrlLogon";
        RegisterClassA(&wc);
        logon = CreateWindowA("HallUrlLogon", "", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL, NULL, NULL);
        ASSERT_NE(logon, nullptr);
        g_pLogonCalls = &frame.calls;
        CHallWindows::InstallFrame(&frame);
    }
    void TearDown() override
    {
        CHallWindows::InstallFrame(nullptr);
        g_pLogonCalls = nullptr;
        DestroyWindow(logon);
    }
    RecordingFrame frame;
    HWND logon = nullptr;
};

struct LinkCase
{
    const char* link;
    bool handled;
    const char* calls;
};

TEST_F(HallUrl, CommandsAndTheirValues)
{
    const LinkCase cases[] = {
        {"TAVREL://OpenItemShop?Item=12", true, "shop 12;"},
        {"tavrel://openitemshop/?item=7", true, "shop 7;"},
        {"tavrel://opengamestore?item=", true, "shop -1;"},
        {"tavrel://opengamestore?x=1", true, "shop -1;"},
        {"tavrel://opengameroom?roomid=305", true, "room 305;"},
        {"tavrel://opengameroom/?roomid=", true, "room 0;"},
        {"tavrel://opengameroom?roomid=abc", true, "room 0;"},
        // Values keep their case: only scheme, command and keys are folded.
        {"tavrel://GameLogon?UName=Alice&UPas=Se%41cret", true, "logon Alice/Se%41cret;"},
        {"tavrel://gamelogon?uname=bob", true, "logon bob/;"},
        {"tavrel://gamelogon?uname=a&uname=b&upas=p", true, "logon b/p;"},
        // Links of the scheme that run nothing are still swallowed.
        {"tavrel://openitemshop", true, ""},
        {"tavrel://?item=3", true, ""},
        {"tavrel://openitemshopx?item=3", true, ""},
        {"tavrel://opengameroom//?roomid=3", true, ""},
        // Other links are the browser's.
        {"http://example.invalid/?item=3", false, ""},
        {"tavrel:/openitemshop?item=3", false, ""},
        {"", false, ""},
    };
    for (const LinkCase& c : cases) {
        frame.calls.clear();
        EXPECT_EQ(HandleHallUrl(c.link, logon), c.handled) << c.link;
        EXPECT_EQ(frame.calls, c.calls) << c.link;
    }
    EXPECT_FALSE(HandleHallUrl(nullptr, logon));
}

TEST_F(HallUrl, NobodyToHearIt)
{
    // No logon dialog, no frame: the link is swallowed and nothing breaks.
    CHallWindows::InstallFrame(nullptr);
    EXPECT_TRUE(HandleHallUrl("tavrel://gamelogon?uname=a&upas=b", nullptr));
    EXPECT_TRUE(HandleHallUrl("tavrel://openitemshop?item=1", nullptr));
    EXPECT_EQ(frame.calls, "");
}

TEST(SplitKeyValues, ItemsPairsAndDoubleByteText)
{
    CMapStringToString map;
    EXPECT_EQ(SplitKeyValues(nullptr, '=', '&', map), 0);
    EXPECT_EQ(SplitKeyValues("", '=', '&', map), 0);
    // Empty items vanish; an item without '=' counts but is not stored; the
    // value runs from the first '='; a later key wins.
    EXPECT_EQ(SplitKeyValues("&a=1&&b&c=x=y&a=2&", '=', '&', map), 4);
    CString value;
    EXPECT_EQ(map.GetCount(), 2);
    ASSERT_TRUE(map.Lookup("a", value));
    EXPECT_STREQ(value, "2");
    ASSERT_TRUE(map.Lookup("c", value));
    EXPECT_STREQ(value, "x=y");

    // 0x81 0x7C is one GBK character whose trail byte is '|': it does not
    // cut the item.
    map.RemoveAll();
    EXPECT_EQ(SplitKeyValues("k=\x81|v|n=1", '=', '|', map), 2);
    ASSERT_TRUE(map.Lookup("k", value));
    EXPECT_STREQ(value, "\x81|v");
    ASSERT_TRUE(map.Lookup("n", value));
    EXPECT_STREQ(value, "1");
}

} // namespace
