#include <gtest/gtest.h>

#include <string.h>

#include <sstream>
#include <string>
#include <vector>

#include "GameTreeItem.h"
#include "GlobalOption.h"
#include "GlobalUnits.h"
#include "StateTestSupport.h"

namespace
{

class ConfigFiles : public testing::Test
{
protected:
    void SetUp() override
    {
        UseProgramFolder(folder);
        options.SetConfigDirectory((folder.Path() + "config").c_str());
    }

    void ReadUpdate(const std::string& text)
    {
        std::istringstream stream(text);
        options.ReadHallDownloadInfo(stream);
    }

    static std::vector<std::string> Entries(const CGlobalOption::UrlList& urls)
    {
        std::vector<std::string> entries;
        for (const auto& url : urls)
            entries.push_back(url);
        return entries;
    }

    CStateFolder folder;
    CGlobalOption options;
};

const char kUrls[] =
    "[hallurl]\r\nhallweb=http://hall/\r\nadurl=http://ad/\r\n[loginurl]\r\nurl=http://login/\r\nregurl=http://reg/\r\n"
    "[GameHelpURL]\r\nurl=http://help/%d\r\n[FindPassword]\r\nurl=http://pw/\r\n[downurl]\r\nurl=http://down/\r\n"
    "selfurl=http://self/\r\n[HallNewUrl]\r\nVipUrl=http://vip/\r\n"
    "[Update]\r\nurl0=http://u0/\r\nurl1=http://u1/\r\nurl3=http://u3/\r\n"
    "[Prepaid]\r\nurlpage=http://pay/\r\nsuburl0=http://s0/\r\nsuburl1=http://s1/\r\nsuburl3=http://s3/\r\n"
    "[HallButton1]\r\naction=b1\r\n[HallButton6]\r\naction=b6\r\n[Other1]\r\naction=o1\r\n[Other7]\r\naction=o7\r\n"
    "[Urls]\r\nversion=12\r\n";

TEST_F(ConfigFiles, UrlsAreRead)
{
    folder.Write("config\\Urls.ini", kUrls);
    options.LoadUrls();
    EXPECT_STREQ(options.GetHallWebUrl(), "http://hall/");
    EXPECT_STREQ(options.GetAdUrl(), "http://ad/");
    EXPECT_STREQ(options.GetRegisterUrl(), "http://reg/");
    EXPECT_STREQ(options.GetGameHelpUrl(), "http://help/%d");
    EXPECT_STREQ(options.GetFindPasswordUrl(), "http://pw/");
    EXPECT_STREQ(options.GetDownloadUrl(), "http://down/");
    EXPECT_STREQ(options.GetSelfDownloadUrl(), "http://self/");
    EXPECT_STREQ(options.GetVipUrl(), "http://vip/");
    EXPECT_STREQ(options.GetPrepaidPageUrl(), "http://pay/");
    // The update addresses end at the first empty one.
    EXPECT_STREQ(options.GetUpdateUrl(0), "http://u0/");
    EXPECT_STREQ(options.GetUpdateUrl(1), "http://u1/");
    EXPECT_STREQ(options.GetUpdateUrl(3), "");
    EXPECT_STREQ(options.GetUpdateUrl(6), "");
    // suburl0, suburl1 and suburl3 keep two.
    EXPECT_EQ(options.GetPrepaidUrlCount(), 2);
    EXPECT_STREQ(options.GetPrepaidUrl(1), "http://s1/");
    EXPECT_STREQ(options.GetPrepaidUrl(2), "");
    EXPECT_STREQ(options.GetHallButtonAction(0), "b1");
    EXPECT_STREQ(options.GetHallButtonAction(5), "b6");
    EXPECT_STREQ(options.GetHallButtonAction(6), "");
    EXPECT_STREQ(options.GetOtherAction(0), "o1");
    EXPECT_STREQ(options.GetOtherAction(6), "o7");
    EXPECT_STREQ(options.GetOtherAction(-1), "");
    EXPECT_EQ(options.ReadListVersions(2), 12u);
    EXPECT_EQ(options.ReadListVersions(9), 0u);
}

TEST_F(ConfigFiles, BetaListReplacesOnlyTheUpdateAddresses)
{
    folder.Write("config\\Urls.ini", kUrls);
    folder.Write("config\\BetaUrls.ini", "[Update]\r\nurl0=http://beta0/\r\n[HallButton1]\r\naction=beta\r\n");
    options.LoadUrls();
    EXPECT_STREQ(options.GetUpdateUrl(0), "http://beta0/");
    EXPECT_STREQ(options.GetUpdateUrl(1), "");
    EXPECT_STREQ(options.GetHallButtonAction(0), "b1");
}

TEST_F(ConfigFiles, HallPageKeepsItsValueWhenTheFileHasNone)
{
    folder.Write("config\\Urls.ini", kUrls);
    options.LoadUrls();
    folder.Write("config\\Urls.ini", "[loginurl]\r\nurl=x\r\n");
    options.LoadUrls();
    EXPECT_STREQ(options.GetHallWebUrl(), "http://hall/");
}

TEST_F(ConfigFiles, ExperienceLevelsAreSortedWithoutZeros)
{
    std::string path =
        folder.Write("config\\Experience.Ini", "[Experience]\r\nExpCount=3\r\nlevel1=500\r\nlevel2=0\r\nlevel3=20\r\n");
    EXPECT_TRUE(options.LoadExperience(path.c_str()));
    const CDWordArray& levels = options.GetExperienceLevels();
    ASSERT_EQ(levels.GetSize(), 2);
    EXPECT_EQ(levels[0], 20u);
    EXPECT_EQ(levels[1], 500u);

    folder.Write("config\\Experience.Ini", "[Experience]\r\nExpCount=2000000000\r\nlevel1=5\r\n");
    EXPECT_TRUE(options.LoadExperience(path.c_str()));
    EXPECT_EQ(options.GetExperienceLevels().GetSize(), 1);
}

TEST_F(ConfigFiles, BannersAndCompetitionEntry)
{
    folder.Write("Res\\Logon\\ADBanner\\bannercfg.xml",
                 "<?xml version=\"1.0\"?><Banner><Version>7</Version><Begin>2024-01-02 03:04:05</Begin>"
                 "<End>2024-02</End><Filename>logon.png</Filename><URL></URL></Banner>");
    folder.Write("Res\\CompetiteEntry\\Competite.ini", "[Competite]\r\nversion=4\r\nfilename=entry.swf\r\n");
    options.LoadBannerConfig();
    const tagBannerConfig& logon = options.GetLogonBanner();
    EXPECT_EQ(logon.dwVersion, 7u);
    EXPECT_EQ(logon.tmBegin, CTime(2024, 1, 2, 3, 4, 5).GetTime());
    EXPECT_EQ(logon.tmEnd, 0); // an incomplete date is no date
    EXPECT_STREQ(logon.szFileName, "logon.png");
    EXPECT_STREQ(logon.szUrl, "");
    // The close banner's folder is made even without a file in it.
    EXPECT_TRUE(folder.Exists("Res\\Close\\ADBanner"));
    EXPECT_EQ(options.GetCloseBanner().dwVersion, 0u);

    options.ReadCompetitionConfig();
    EXPECT_EQ(options.GetCompetitionConfig().dwVersion, 4u);
    EXPECT_STREQ(options.GetCompetitionConfig().szFileName, "entry.swf");
}

// A file name is kept whole or not at all: a cut one names another file.
TEST_F(ConfigFiles, LongBannerTextsAreCut)
{
    std::string longName(300, 'f');
    folder.Write("Res\\Logon\\ADBanner\\bannercfg.xml",
                 "<Banner><Filename>" + longName + "</Filename><URL>http://x/</URL></Banner>");
    options.LoadBannerConfig();
    EXPECT_STREQ(options.GetLogonBanner().szFileName, "");
    EXPECT_STREQ(options.GetLogonBanner().szUrl, "http://x/");
}

TEST_F(ConfigFiles, BannerAndCompetitionNamesStayInTheirFolder)
{
    for (const char* name : {"..\\..\\evil.png", "C:\\evil.png", "sub/evil.png", "NUL.png"}) {
        folder.Write("Res\\Logon\\ADBanner\\bannercfg.xml",
                     std::string("<Banner><Filename>") + name + "</Filename></Banner>");
        folder.Write("Res\\CompetiteEntry\\Competite.ini",
                     std::string("[Competite]\r\nversion=4\r\nfilename=") + name + "\r\n");
        options.LoadBannerConfig();
        options.ReadCompetitionConfig();
        EXPECT_STREQ(options.GetLogonBanner().szFileName, "") << name;
        EXPECT_STREQ(options.GetCompetitionConfig().szFileName, "") << name;
    }
}

struct VersionCase
{
    const char* text;
    DWORD value;
};

class Versions : public testing::TestWithParam<VersionCase>
{};

TEST_P(Versions, HexWhenTheTextHoldsAnX)
{
    EXPECT_EQ(CGlobalOption::ParseVersion(GetParam().text), GetParam().value) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Texts, Versions,
                         testing::Values(VersionCase{"0x0102", 258}, VersionCase{"102", 102}, VersionCase{"", 0},
                                         VersionCase{"0X10", 16}));

const char kUpdateIni[] = "[HallDownload]\r\nname=Hall\r\nversion=0x0102\r\nupdateversion=0x0101\r\ntype=2\r\n"
                          "url0=http://full0/\r\nurl1=http://full1/\r\nurl2=http://full2/\r\nurl4=http://ignored/\r\n"
                          "updateurl0=http://upd0/\r\nupdateurl1=http://upd1/\r\n"
                          "[Game15]\r\nname=Chess\r\nversion=7\r\nurl0=http://chess/\r\n";

TEST_F(ConfigFiles, UpdateRecordsAreBuiltAndTheFileWritten)
{
    ReadUpdate(kUpdateIni);
    const tagGameVersionInfo* hall = options.FindGameVersionInfo(1);
    ASSERT_NE(hall, nullptr);
    EXPECT_EQ(hall->dwVersion, 258u);
    EXPECT_EQ(hall->dwUpdateVersion, 257u);
    EXPECT_EQ(hall->wType, 2);
    EXPECT_STREQ(hall->szName, "Hall");
    EXPECT_STREQ(hall->szDownloadUrls[2], "http://full2/");
    EXPECT_STREQ(hall->szDownloadUrls[3], "");
    EXPECT_STREQ(hall->szDownloadUrls[4], "");
    const tagGameVersionInfo* chess = options.FindGameVersionInfo(15);
    ASSERT_NE(chess, nullptr);
    EXPECT_EQ(chess->dwVersion, 7u);
    EXPECT_EQ(options.FindGameVersionInfo(16), nullptr);

    std::string saved = folder.Read("config\\dynamic\\update.ini");
    EXPECT_EQ(saved.find("[Game15]\r\nname=Chess\r\nurl0=http://chess/\r\nversion=7\r\n"), 0u) << saved;
}

TEST_F(ConfigFiles, TheNewestRecordWins)
{
    ReadUpdate(kUpdateIni);
    const tagGameVersionInfo* old = options.FindGameVersionInfo(15);
    ReadUpdate("[Game15]\r\nname=Chess\r\nversion=9\r\n");
    const tagGameVersionInfo* current = options.FindGameVersionInfo(15);
    ASSERT_NE(current, nullptr);
    EXPECT_EQ(current->dwVersion, 9u);
    // Whoever held the older record may still read it.
    EXPECT_EQ(old->dwVersion, 7u);
    EXPECT_EQ(options.FindGameVersionInfo(1)->dwVersion, 258u);
}

TEST_F(ConfigFiles, AReadOnlyUpdateFileIsReplaced)
{
    std::string path = folder.Write("config\\dynamic\\update.ini", "old");
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
    ReadUpdate(kUpdateIni);
    EXPECT_NE(folder.Read("config\\dynamic\\update.ini").find("[HallDownload]"), std::string::npos);
}

TEST_F(ConfigFiles, UpdateAddressesComeFirstForTheUpdateVersion)
{
    ReadUpdate(kUpdateIni);
    const tagGameVersionInfo* hall = options.FindGameVersionInfo(1);
    CGlobalOption::UrlList urls;
    CGlobalOption::GetGameUpdateUrls(0x0101, urls, hall);
    std::vector<std::string> expected = {
        "http://upd0/", "http://upd1/", "http://full0/", "http://full1/", "http://full2/", "", "", "", "", ""};
    EXPECT_EQ(Entries(urls), expected);

    CGlobalOption::GetGameUpdateUrls(0x0100, urls, hall);
    expected = {"http://full0/", "http://full1/", "http://full2/", "", "", "", "", "", "", ""};
    EXPECT_EQ(Entries(urls), expected);
}

TEST_F(ConfigFiles, MatchingVersionWithoutUpdateAddressesStillListsTheDownloads)
{
    tagGameVersionInfo info = {};
    info.dwUpdateVersion = 5;
    strcpy(info.szDownloadUrls[0], "http://full0/");
    CGlobalOption::UrlList urls;
    CGlobalOption::GetGameUpdateUrls(5, urls, &info);
    EXPECT_STREQ(urls[0], "http://full0/");
    EXPECT_STREQ(urls[1], "");
}

TEST_F(ConfigFiles, TheListHoldsTenAddressesAtMost)
{
    tagGameVersionInfo info = {};
    info.dwUpdateVersion = 5;
    for (int i = 0; i < 10; ++i) {
        snprintf(info.szUpdateUrls[i], 260, "http://u%d/", i);
        snprintf(info.szDownloadUrls[i], 260, "http://d%d/", i);
    }
    // A list with room to spare after the ten shows nothing was written past them.
    struct
    {
        CGlobalOption::UrlList urls;
        char guard[260];
    } block;
    memset(block.guard, 'G', sizeof(block.guard));
    CGlobalOption::GetGameUpdateUrls(5, block.urls, &info);
    EXPECT_STREQ(block.urls[9], "http://u9/");
    EXPECT_EQ(block.guard[0], 'G');
}

TEST_F(ConfigFiles, GameUpdateInfoFromTheFile)
{
    folder.Write("config\\Dynamic\\Update.ini",
                 "[Game15]\r\nVersion=0x10\r\nupdateversion=3\r\nurl0=http://g0/\r\nupdateurl0=http://gu0/\r\n");
    EXPECT_EQ(options.ReadGameUpdateVersion(15), 16u);
    EXPECT_EQ(options.ReadGameUpdateVersion(16), 0u);
    CGlobalOption::UrlList urls;
    options.ReadGameUpdateInfo(3, 15, urls);
    EXPECT_STREQ(urls[0], "http://gu0/");
    EXPECT_STREQ(urls[1], "http://g0/");
    EXPECT_STREQ(urls[2], "");
}

TEST_F(ConfigFiles, GameConfiguration)
{
    folder.Write("Chess\\config.ini", "[Public]\r\nHundred=1\r\nExeName=ChessClientWithAVeryLongProgramName.exe\r\n"
                                      "Version=0x0203\r\n");
    CGame game(15);
    game.SetFolderName("Chess");
    EXPECT_TRUE(options.ReadGameHundredFlag(&game));
    EXPECT_FALSE(options.ReadGameHundredFlag(NULL));
    const tagGameExeInfo* exe = options.ReadGameExeVersion(&game);
    ASSERT_NE(exe, nullptr);
    EXPECT_STREQ(exe->szExeName, "ChessClientWithAVeryLongProgram");
    EXPECT_EQ(exe->dwVersion, 0x0203u);
    EXPECT_EQ(options.ReadGameExeVersion(NULL), nullptr);

    // A game folder that climbs out of the program folder is not read.
    CGame outside(16);
    outside.SetFolderName("..\\Chess");
    EXPECT_FALSE(options.ReadGameHundredFlag(&outside));
}

TEST_F(ConfigFiles, TablePasswordsPerRoom)
{
    folder.Write("config\\dynamic\\DynaItemCfg.ini",
                 "[AllowPassLockTable]\r\nRoom0=7\r\nRoom1=9\r\nRoom2=0\r\nRoom3=8\r\n");
    EXPECT_TRUE(options.IsPassLockTableAllowed(9));
    EXPECT_TRUE(options.IsPassLockTableAllowed(7));
    EXPECT_FALSE(options.IsPassLockTableAllowed(8));
    EXPECT_FALSE(options.IsPassLockTableAllowed(0));
}

TEST_F(ConfigFiles, ListVersions)
{
    folder.Write("config\\ServerList.ini", "[Server]\r\nversion=3\r\n");
    folder.Write("config\\ServiceServerList.ini", "[ServiceServer]\r\nversion=4\r\n");
    EXPECT_EQ(options.ReadListVersions(0), 3u);
    EXPECT_EQ(options.ReadListVersions(1), 4u);
    EXPECT_EQ(options.ReadListVersions(2), 0u);
}

} // namespace
