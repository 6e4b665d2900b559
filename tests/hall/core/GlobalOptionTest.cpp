#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <vector>

#include "GameRoom.h"
#include "GameTreeItem.h"
#include "GlobalOption.h"
#include "GlobalUnits.h"
#include "IAccountsStore.h"
#include "IGellbrook.h"
#include "StateTestSupport.h"

namespace
{

// The animated-picture component's registration, scripted: no test starts
// a program.
class ScriptedOptions : public CGlobalOption
{
public:
    HRESULT createResult = S_OK;
    std::vector<std::string> commands;

protected:
    HRESULT CreatePictureComponent() override { return createResult; }
    bool RunHidden(LPCSTR commandLine) override
    {
        commands.push_back(commandLine);
        return true;
    }
};

// A fresh store (not the global one) over a temporary program folder and a
// test profile.
class OptionsTest : public testing::Test
{
protected:
    void SetUp() override
    {
        UseProgramFolder(folder);
        options.SetConfigDirectory((folder.Path() + "config").c_str());
        g_GlobalUnits.ResetUserData();
    }
    void TearDown() override { g_GlobalUnits.ResetUserData(); }

    void LogOn(DWORD userId) { g_GlobalUnits.GetGlobalUserData()->dwUserID = userId; }

    CProfileApp app;
    CStateFolder folder;
    ScriptedOptions options;
};

struct ProfileValue
{
    const char* key;
    DWORD defaultValue;
};

const ProfileValue kProfileDefaults[] = {
    {"ExpandedList", 1},       {"BossHotKey", 635},        {"LimitDetest", 1},
    {"AutoHideServerList", 0}, {"SaveWisper", 1},          {"ShowInOutMessage", 1},
    {"OnlyFriendMessage", 0},  {"HideDetestMessage", 1},   {"AutoSit", 1},
    {"InviteMode", 1},         {"ChatTX", 0x000000},       {"MsgName", 0xE0E099},
    {"MsgNormal", 0xE0E099},   {"MsgSysHead", 0x003DFF},   {"MsgSysString", 0x09FF00},
    {"ServerListTX", 0},       {"ServerListBK", 0xC8C8C8},
};

TEST_F(OptionsTest, FirstStartGivesTheDefaultsAndSavesThemAll)
{
    options.LoadOptions();
    EXPECT_EQ(options.m_wBossHotKey, 635);
    EXPECT_EQ(options.m_crServerListBK, 0xC8C8C8u);
    EXPECT_TRUE(options.m_bExpandedList);
    EXPECT_FALSE(options.m_bAutoHideServerList);

    options.SaveOptions();
    for (const ProfileValue& value : kProfileDefaults) {
        DWORD stored = 0xDEAD;
        EXPECT_TRUE(CProfileApp::ReadValue("GlobalOption", value.key, stored)) << value.key;
        EXPECT_EQ(stored, value.defaultValue) << value.key;
    }
}

TEST_F(OptionsTest, ProfileValuesRoundTrip)
{
    CProfileApp::WriteValue("GlobalOption", "BossHotKey", 0x0241);
    CProfileApp::WriteValue("GlobalOption", "AutoSit", 0);
    CProfileApp::WriteValue("GlobalOption", "OnlyFriendMessage", 7); // any non-zero is true
    CProfileApp::WriteValue("GlobalOption", "MsgSysHead", 0x123456);
    options.LoadOptions();
    EXPECT_EQ(options.m_wBossHotKey, 0x0241);
    EXPECT_FALSE(options.m_bAutoSit);
    EXPECT_TRUE(options.m_bOnlyFriendMessage);
    EXPECT_EQ(options.m_crMsgSysHead, 0x123456u);
    EXPECT_EQ(options.m_crMsgName, 0xE0E099u);

    options.SaveOptions();
    DWORD stored = 0;
    ASSERT_TRUE(CProfileApp::ReadValue("GlobalOption", "OnlyFriendMessage", stored));
    EXPECT_EQ(stored, 1u); // booleans are stored as 0 or 1
}

TEST_F(OptionsTest, GameOptionIsMadeOnceFromItsSection)
{
    CProfileApp::WriteValue("30", "MaxScore", 5000);
    CProfileApp::WriteValue("30", "LimitScore", 1);
    CProfileApp::WriteValue("30", "FleeRate", 2500);
    CGame game(30);
    CGameOption* option = options.GetGameOption(&game);
    ASSERT_NE(option, nullptr);
    EXPECT_EQ(options.GetGameOption(&game), option);
    EXPECT_EQ(options.GetGameOption(NULL), nullptr);
    EXPECT_EQ(option->m_lMaxScore, 5000);
    EXPECT_TRUE(option->m_bLimitScore);
    EXPECT_EQ(option->m_wFleeRate, 2500);
    // Keys that are not there keep the defaults.
    EXPECT_EQ(option->m_lLessScore, -2147483646);
    EXPECT_EQ(option->m_wNetDelay, 500);
    EXPECT_FALSE(option->m_bLimitWisper);

    option->m_lLessScore = -10;
    option->m_bLimitWisper = true;
    options.SaveOptions();
    DWORD stored = 0;
    ASSERT_TRUE(CProfileApp::ReadValue("30", "LessScore", stored));
    EXPECT_EQ(stored, (DWORD)-10);
    ASSERT_TRUE(CProfileApp::ReadValue("30", "LimitWisper", stored));
    EXPECT_EQ(stored, 1u);

    CGlobalOption again;
    CGameOption* reloaded = again.GetGameOption(&game);
    EXPECT_EQ(reloaded->m_lLessScore, -10);
    EXPECT_TRUE(reloaded->m_bLimitWisper);
}

TEST_F(OptionsTest, DefaultMinimumScoreIsStoredAsItsBits)
{
    CGame game(31);
    options.GetGameOption(&game);
    options.SaveOptions();
    DWORD stored = 0;
    ASSERT_TRUE(CProfileApp::ReadValue("31", "LessScore", stored));
    EXPECT_EQ(stored, 0x80000002u);
    ASSERT_TRUE(CProfileApp::ReadValue("31", "MaxScore", stored));
    EXPECT_EQ(stored, 0x7FFFFFFFu);
}

TEST_F(OptionsTest, RoomOptionsLiveInMemoryOnly)
{
    CGameRoom room(400);
    CRoomOption* option = options.GetRoomOption(&room);
    ASSERT_NE(option, nullptr);
    EXPECT_EQ(option->m_cbPassFlag, 0);
    option->m_cbPassFlag = 1;
    option->m_strTablePass = "secret";
    EXPECT_EQ(options.GetRoomOption(&room), option);
    options.SaveOptions();
    HKEY key = NULL;
    EXPECT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, CProfileApp::SectionKey("400").c_str(), 0, KEY_READ, &key),
              ERROR_SUCCESS);

    CGlobalOption later;
    EXPECT_EQ(later.GetRoomOption(&room)->m_cbPassFlag, 0);
}

TEST_F(OptionsTest, RecentGamesKeepTheNewestFive)
{
    options.AddLastGame(1, 10);
    options.AddLastGame(2, 20);
    options.AddLastGame(1, 11);
    ASSERT_EQ(options.GetLastGameCount(), 2);
    EXPECT_EQ(options.GetLastGame(0).wGameID, 2);
    EXPECT_EQ(options.GetLastGame(1).wGameID, 1);
    EXPECT_EQ(options.FindLastGame(1), 11);
    EXPECT_EQ(options.FindLastGame(9), 0);
    EXPECT_EQ(options.FindLastGameIndex(9), -1);

    for (WORD game = 3; game <= 8; ++game)
        options.AddLastGame(game, game * 10);
    ASSERT_EQ(options.GetLastGameCount(), 5);
    EXPECT_EQ(options.GetLastGame(0).wGameID, 4);
    EXPECT_EQ(options.GetLastGame(4).wGameID, 8);
}

TEST_F(OptionsTest, RecentGamesGoToTheUsersFile)
{
    LogOn(5150);
    options.AddLastGame(1, 10);
    options.AddLastGame(2, 20);
    options.AddLastGame(1, 11);
    options.SaveLastGames();
    std::string file = folder.Read("config\\Users\\5150\\Config.ini");
    EXPECT_NE(file.find("LastGame0=2"), std::string::npos) << file;
    EXPECT_NE(file.find("LastGame1=1"), std::string::npos) << file;
    EXPECT_NE(file.find("GameRoom1=11"), std::string::npos) << file;

    // A shorter list leaves no older keys behind.
    options.ClearGameLists();
    options.AddLastGame(3, 30);
    options.SaveLastGames();
    file = folder.Read("config\\Users\\5150\\Config.ini");
    EXPECT_EQ(file.find("LastGame1"), std::string::npos) << file;

    options.ClearGameLists();
    options.LoadLastGames();
    ASSERT_EQ(options.GetLastGameCount(), 1);
    EXPECT_EQ(options.FindLastGame(3), 30);
}

TEST_F(OptionsTest, RecentGamesLoadFiveAndSkipIncompleteEntries)
{
    LogOn(6);
    folder.Write("config\\Users\\6\\Config.ini",
                 "[LastGames]\r\nLastGame0=1\r\nGameRoom0=10\r\nLastGame1=2\r\nGameRoom1=0\r\n"
                 "LastGame2=3\r\nGameRoom2=30\r\nLastGame3=3\r\nGameRoom3=31\r\nLastGame4=4\r\nGameRoom4=40\r\n"
                 "LastGame5=5\r\nGameRoom5=50\r\nLastGame6=6\r\nGameRoom6=60\r\n");
    options.LoadLastGames();
    ASSERT_EQ(options.GetLastGameCount(), 3);
    EXPECT_EQ(options.GetLastGame(0).wGameID, 1);
    EXPECT_EQ(options.FindLastGame(3), 30);
    EXPECT_EQ(options.GetLastGame(2).wGameID, 4);
}

TEST_F(OptionsTest, OwnGamesEndAtARepeatedId)
{
    LogOn(7);
    folder.Write("config\\Users\\7\\Config.ini", "[SelfGames]\r\nSelfGame0=5\r\nSelfGame1=5\r\nSelfGame2=7\r\n");
    options.LoadSelfGames();
    ASSERT_EQ(options.GetSelfGameCount(), 1);
    EXPECT_EQ(options.GetSelfGame(0), 5);

    options.AddSelfGame(9);
    options.AddSelfGame(9);
    EXPECT_EQ(options.FindSelfGameIndex(9), 1);
    options.SaveSelfGames();
    std::string file = folder.Read("config\\Users\\7\\Config.ini");
    EXPECT_NE(file.find("SelfGame1=9"), std::string::npos) << file;
    EXPECT_EQ(file.find("SelfGame2"), std::string::npos) << file;

    // A non-empty list is not read again.
    folder.Write("config\\Users\\7\\Config.ini", "[SelfGames]\r\nSelfGame0=8\r\n");
    options.LoadSelfGames();
    EXPECT_EQ(options.FindSelfGameIndex(8), -1);
}

TEST_F(OptionsTest, NoUserNoUserFile)
{
    options.AddLastGame(1, 10);
    options.SaveLastGames();
    options.SaveSelfGames();
    EXPECT_FALSE(folder.Exists("config\\Users"));
}

// Records the order in which the store calls the accounts store.
class RecordingAccounts : public IAccountsStore
{
public:
    std::vector<std::string> calls;
    void LoadAccounts() override { calls.push_back("load"); }
    void SaveAccounts() override { calls.push_back("save"); }
};

TEST_F(OptionsTest, LoadAndSaveIncludeTheAccountsAndClearTheGameLists)
{
    RecordingAccounts accounts;
    options.SetAccountsStore(&accounts);
    options.LoadOptions();
    LogOn(8);
    options.AddLastGame(1, 10);
    options.AddSelfGame(4);
    options.SaveOptions();
    EXPECT_EQ(accounts.calls, (std::vector<std::string>{"load", "save"}));
    EXPECT_EQ(options.GetLastGameCount(), 0);
    EXPECT_EQ(options.GetSelfGameCount(), 0);
    EXPECT_TRUE(folder.Exists("config\\Users\\8\\Config.ini"));
}

TEST_F(OptionsTest, TheApplicationsAccountsStoreServesEveryAccessor)
{
    // What the logon dialog reads through the options store is what the
    // load filled and the save writes.
    CAccountsStore accounts;
    options.SetAccountsStore(&accounts);
    tagAccount account = {};
    strcpy(account.szAccount, "bob");
    account.dwUserID = 5;
    ASSERT_TRUE(options.AddAccount(account));
    EXPECT_EQ(accounts.GetAccountCount(), 1);
    EXPECT_EQ(options.GetAccountCount(), 1);
    EXPECT_EQ(options.GetAccountUserId(0), 5u);
    EXPECT_EQ(&options.GetAccounts(), &accounts);
    options.SetAccountsStore((CAccountsStore*)NULL);
    EXPECT_EQ(options.GetAccountCount(), 0);
}

// ------------------------------------------------------------------ companions

TEST_F(OptionsTest, CompanionsComeFromTheCompanionModule)
{
    EXPECT_FALSE(options.IsFriendUser(5));
    EXPECT_FALSE(options.CallCompanionUpdate(NULL));

    // The module keeps its lists beside itself: a user id of its own.
    const DWORD ownId = 3900000001u;
    ASSERT_TRUE(g_GlobalUnits.m_GellbrookHelper.CreateInstance()) << g_GlobalUnits.m_GellbrookHelper.GetErrorDescribe();
    IGellbrook* companions = g_GlobalUnits.m_GellbrookHelper.GetInterface();
    ASSERT_TRUE(companions->LoadCompanion(ownId));

    tagCompanionItem item = {};
    item.dwUserID = 5;
    item.dwCompanion = COMPANION_FRIEND;
    strcpy(item.szNickName, "friend");
    EXPECT_TRUE(options.CallCompanionUpdate(&item));
    item.dwUserID = 6;
    item.dwCompanion = COMPANION_DETEST;
    EXPECT_TRUE(options.CallCompanionUpdate(&item));

    EXPECT_TRUE(options.IsFriendUser(5));
    EXPECT_FALSE(options.IsDetestUser(5));
    EXPECT_TRUE(options.IsDetestUser(6));
    EXPECT_EQ(options.GetCompanionItem(7), nullptr);

    // The list survives the module.
    companions->SaveCompanion();
    g_GlobalUnits.m_GellbrookHelper.CloseInstance();
    ASSERT_TRUE(g_GlobalUnits.m_GellbrookHelper.CreateInstance());
    companions = g_GlobalUnits.m_GellbrookHelper.GetInterface();
    ASSERT_TRUE(companions->LoadCompanion(ownId));
    EXPECT_TRUE(options.IsFriendUser(5));
    ASSERT_NE(options.GetCompanionItem(5), nullptr);
    EXPECT_STREQ(options.GetCompanionItem(5)->szNickName, "friend");

    item.dwUserID = 5;
    item.dwCompanion = COMPANION_NONE; // removal
    EXPECT_TRUE(options.CallCompanionUpdate(&item));
    EXPECT_FALSE(options.IsFriendUser(5));
    companions->SaveCompanion();
    g_GlobalUnits.m_GellbrookHelper.CloseInstance();

    char bin[MAX_PATH];
    GetModuleFileNameA(NULL, bin, MAX_PATH);
    *strrchr(bin, '\\') = '\0';
    RemoveTree(std::string(bin) + "\\config\\Users\\3900000001");
    RemoveDirectoryA((std::string(bin) + "\\config\\Users").c_str());
    RemoveDirectoryA((std::string(bin) + "\\config").c_str());
}

// ------------------------------------------------------------------ picture component


TEST_F(OptionsTest, PictureComponentIsRegisteredOnlyWhenItsClassIsMissing)
{
    ScriptedOptions scripted;
    scripted.RegisterPictureComponent();
    scripted.createResult = E_FAIL;
    scripted.RegisterPictureComponent();
    EXPECT_TRUE(scripted.commands.empty());

    scripted.createResult = REGDB_E_CLASSNOTREG;
    scripted.RegisterPictureComponent();
    ASSERT_EQ(scripted.commands.size(), 1u);
    EXPECT_EQ(scripted.commands[0], "regsvr32 /s \"" + folder.Path() + "Corvath.dll\"");
}

} // namespace
