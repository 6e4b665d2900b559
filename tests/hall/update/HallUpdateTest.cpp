// The hall version check: when it asks, what it asks, its answers, and the
// address list of the download it starts.
#include "UpdateFixture.h"

#include <string.h>

namespace
{
DWORD Version(int a, int b, int c, int d)
{
    return ((DWORD)a << 24) | ((DWORD)b << 16) | ((DWORD)c << 8) | (DWORD)d;
}

const char kOptional[] = "大厅已经更新为 %d.%d.%d.%d 版本，你的版本还可以继续使用，现在是否下载？";
const char kMandatory[] = "大厅已经更新为 %d.%d.%d.%d 版本，你的版本不能继续使用，现在是否下载？";

class HallUpdateTest : public UpdateFixture
{
protected:
    void SetUp() override
    {
        UpdateFixture::SetUp();
        m_server.SetReply("/u/Update.zip", CHttpTestServer::Status(404));
        ::CreateDirectoryA(Work("config\\Original"), NULL);
    }

    void SetInstalled(DWORD dwVersion)
    {
        char szText[64];
        sprintf(szText, "[version]\r\nversion=%lu\r\n", (unsigned long)dwVersion);
        WriteBytes(Work("config\\Original\\version.ini"), szText);
    }

    void SetRecord(DWORD dwVersion, DWORD dwUpdateVersion)
    {
        m_host->m_bHasRecord = true;
        memset(&m_host->m_Record, 0, sizeof(m_host->m_Record));
        m_host->m_Record.dwVersion = dwVersion;
        m_host->m_Record.dwUpdateVersion = dwUpdateVersion;
        strcpy(m_host->m_Record.szName, "Tavrel");
        strcpy(m_host->m_Record.szDownloadUrl[0], "http://full/0");
        strcpy(m_host->m_Record.szDownloadUrl[1], "http://full/1");
        strcpy(m_host->m_Record.szUpdateUrl[0], "http://patch/0");
    }

    // An updater whose owner window is the test window, as after a request.
    std::unique_ptr<CFileUpdate> MakeUpdater()
    {
        std::unique_ptr<CFileUpdate> update(new CFileUpdate(m_host.get()));
        EXPECT_TRUE(update->DownloadZipToMemory(Url("/u/Update.zip").c_str(), NotifyWnd(), UPDATE_KIND_HALL_VERSION));
        EXPECT_EQ((UINT)WM_UPDATE_FAILED, WaitReport().uMessage);
        return update;
    }
};

TEST_F(HallUpdateTest, AnswersByVersionsAndTheUsersChoice)
{
    enum Prompt
    {
        none,
        optional,
        mandatory
    };
    struct Case
    {
        DWORD dwRemote;
        DWORD dwInstalled;
        int nAnswer;
        int nResult;
        Prompt prompt;
    } cases[] = {
        {Version(1, 2, 3, 4), Version(1, 2, 3, 5), IDYES, HALL_UPDATE_NONE, none},
        {Version(1, 2, 3, 4), Version(1, 2, 3, 4), IDYES, HALL_UPDATE_NONE, none},
        {Version(1, 2, 3, 4), Version(2, 0, 0, 0), IDYES, HALL_UPDATE_NONE, none},
        {Version(1, 2, 3, 4), Version(1, 3, 0, 0), IDYES, HALL_UPDATE_NONE, none},
        {0, Version(1, 2, 3, 4), IDYES, HALL_UPDATE_NONE, none},
        {Version(1, 2, 4, 0), Version(1, 2, 3, 9), IDYES, HALL_UPDATE_STARTED, optional},
        {Version(1, 2, 4, 0), Version(1, 2, 3, 9), IDNO, HALL_UPDATE_NONE, optional},
        {Version(1, 2, 3, 5), Version(1, 2, 3, 4), IDCANCEL, HALL_UPDATE_NONE, optional},
        {Version(1, 3, 0, 0), Version(1, 2, 9, 9), IDYES, HALL_UPDATE_STARTED, mandatory},
        {Version(1, 3, 0, 0), Version(1, 2, 9, 9), IDNO, HALL_UPDATE_REFUSED, mandatory},
        {Version(2, 0, 0, 0), Version(1, 9, 9, 9), IDNO, HALL_UPDATE_REFUSED, mandatory},
        {Version(200, 1, 2, 3), Version(1, 9, 9, 9), IDYES, HALL_UPDATE_STARTED, mandatory},
    };
    std::unique_ptr<CFileUpdate> update = MakeUpdater();
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.dwRemote << " over " << c.dwInstalled);
        SetRecord(c.dwRemote, 0);
        SetInstalled(c.dwInstalled);
        m_host->m_nAnswer = c.nAnswer;
        m_host->m_Prompts.clear();
        m_host->m_Missions.clear();

        EXPECT_EQ(c.nResult, update->CheckHallUpdate());
        if (c.prompt == none) {
            EXPECT_TRUE(m_host->m_Prompts.empty());
            continue;
        }
        ASSERT_EQ(1u, m_host->m_Prompts.size());
        char szText[512];
        sprintf(szText, c.prompt == optional ? kOptional : kMandatory, (int)(c.dwRemote >> 24),
                (int)((c.dwRemote >> 16) & 0xFF), (int)((c.dwRemote >> 8) & 0xFF), (int)(c.dwRemote & 0xFF));
        EXPECT_EQ(szText, m_host->m_Prompts[0].text);
        EXPECT_EQ("Varnok棋牌游戏中心", m_host->m_Prompts[0].caption);
        EXPECT_EQ((UINT)(MB_YESNO | MB_ICONQUESTION), m_host->m_Prompts[0].nType);
        EXPECT_EQ(m_hWnd, m_host->m_Prompts[0].hOwner);
        EXPECT_EQ(c.nResult == HALL_UPDATE_STARTED ? 1u : 0u, m_host->m_Missions.size());
    }
}

TEST_F(HallUpdateTest, WithoutOwnerWindowNothingIsAsked)
{
    SetRecord(Version(1, 3, 0, 0), 0);
    SetInstalled(Version(1, 2, 0, 0));
    CFileUpdate update(m_host.get());
    EXPECT_EQ(HALL_UPDATE_NO_OWNER, update.CheckHallUpdate());
    // An owner that has gone away is none either.
    std::unique_ptr<CFileUpdate> asked = MakeUpdater();
    DestroyWindow(m_hWnd);
    m_hWnd = NULL;
    EXPECT_EQ(HALL_UPDATE_NO_OWNER, asked->CheckHallUpdate());
    EXPECT_TRUE(m_host->m_Prompts.empty());
}

TEST_F(HallUpdateTest, DownloadStartsWithTheUpdateAddressesFirstWhenTheyApply)
{
    std::unique_ptr<CFileUpdate> update = MakeUpdater();
    struct Case
    {
        DWORD dwInstalled;
        std::vector<std::string> urls;
    } cases[] = {
        // The patch is made for 1.2.3.x.
        {Version(1, 2, 3, 7), {"http://patch/0", "http://full/0", "http://full/1"}},
        {Version(1, 2, 2, 7), {"http://full/0", "http://full/1"}},
    };
    for (const Case& c : cases) {
        SetRecord(Version(1, 3, 0, 0), Version(1, 2, 3, 0));
        SetInstalled(c.dwInstalled);
        m_host->m_Missions.clear();
        ASSERT_EQ(HALL_UPDATE_STARTED, update->CheckHallUpdate());
        ASSERT_EQ(1u, m_host->m_Missions.size());
        const CTestUpdateHost::Mission& mission = m_host->m_Missions[0];
        EXPECT_EQ("Tavrel", mission.name);
        EXPECT_EQ(1, mission.cbFlag);
        EXPECT_EQ(Version(1, 3, 0, 0), mission.dwVersion);
        EXPECT_EQ(c.urls, mission.urls);
    }
}

TEST_F(HallUpdateTest, WithoutARecordTheDynamicUpdateIniIsRead)
{
    // Hexadecimal and decimal versions; a key gap ends a list; an address
    // that does not fit is left out.
    std::string strIni = "[HallDownload]\r\nversion=0x01030000\r\nupdateversion=16909056\r\nname=Hall Setup\r\n"
                         "url0=http://full/0\r\nurl1=http://full/" +
                         std::string(300, 'x') +
                         "\r\nurl2=http://full/2\r\n"
                         "url4=http://full/4\r\nupdateurl0=http://patch/0\r\nupdateurl1=http://patch/1\r\n";
    ::CreateDirectoryA(Work("config\\Dynamic"), NULL);
    WriteBytes(Dynamic("Update.ini"), strIni);
    SetInstalled(Version(1, 2, 3, 1));
    std::unique_ptr<CFileUpdate> update = MakeUpdater();
    ASSERT_EQ(HALL_UPDATE_STARTED, update->CheckHallUpdate());
    ASSERT_EQ(1u, m_host->m_Missions.size());
    EXPECT_EQ("Hall Setup", m_host->m_Missions[0].name);
    EXPECT_EQ(Version(1, 3, 0, 0), m_host->m_Missions[0].dwVersion);
    EXPECT_EQ((std::vector<std::string>{"http://patch/0", "http://patch/1", "http://full/0", "http://full/2"}),
              m_host->m_Missions[0].urls);
}

TEST(HallUrlList, TenAddressesAtMost)
{
    tagHallDownloadInfo info;
    memset(&info, 0, sizeof(info));
    info.dwUpdateVersion = Version(1, 2, 3, 0);
    for (int i = 0; i < HALL_URL_COUNT; i++) {
        sprintf(info.szUpdateUrl[i], "http://patch/%d", i);
        sprintf(info.szDownloadUrl[i], "http://full/%d", i);
    }
    CHAR szUrls[HALL_URL_COUNT][HALL_URL_SIZE];
    memset(szUrls, 'x', sizeof(szUrls));
    CFileUpdate::BuildHallUrlList(info, Version(1, 2, 3, 9), szUrls);
    for (int i = 0; i < HALL_URL_COUNT; i++)
        EXPECT_EQ("http://patch/" + std::to_string(i), std::string(szUrls[i]));

    memset(info.szUpdateUrl, 0, sizeof(info.szUpdateUrl));
    strcpy(info.szUpdateUrl[0], "http://patch/0");
    memset(info.szDownloadUrl[2], 0, HALL_URL_SIZE);
    CFileUpdate::BuildHallUrlList(info, Version(1, 2, 3, 9), szUrls);
    EXPECT_STREQ("http://patch/0", szUrls[0]);
    EXPECT_STREQ("http://full/0", szUrls[1]);
    EXPECT_STREQ("http://full/1", szUrls[2]);
    for (int i = 3; i < HALL_URL_COUNT; i++)
        EXPECT_STREQ("", szUrls[i]) << i;
}
} // namespace
