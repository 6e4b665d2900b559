// The updater's file downloads: where they land, which ones it starts, the
// names it takes from the server, and its tasks' lives.
#include "UpdateFixture.h"

#include <algorithm>
#include <functional>

namespace
{
using FileUpdateTest = UpdateFixture;

// -1 when there is no such file; the size also while a writer holds it open.
LONGLONG SizeOf(const CString& strPath)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(strPath, GetFileExInfoStandard, &data))
        return -1;
    return (LONGLONG(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

TEST_F(FileUpdateTest, VersionTagBecomesThePublicVersionOfTheLocalFile)
{
    struct Case
    {
        const char* pszLocalText; // NULL: no local file
        const char* pszUrlPath;
        const char* pszRequested;
    } cases[] = {
        {"[Public]\r\nversion=37\r\n", "/f/list.ini?v=<version>", "/f/list.ini?v=37"},
        {NULL, "/f/list.ini?v=<version>", "/f/list.ini?v=0"},
        {"[Public]\r\nversion=37\r\n", "/f/list.ini", "/f/list.ini"},
        {"[Public]\r\nversion=5\r\n", "/f/<version>/list.ini?v=<version>", "/f/5/list.ini?v=5"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszUrlPath);
        CFileUpdate update(m_host.get());
        DeleteFileA(Dynamic("list.ini"));
        if (c.pszLocalText != NULL)
            WriteBytes(update.GetDynamicFilePath("list.ini"), c.pszLocalText);
        std::string strBody = FileBody(c.pszRequested);
        m_server.SetReply(c.pszRequested, CHttpTestServer::Ok(strBody));

        ASSERT_TRUE(update.UpdateFile(Url(c.pszUrlPath).c_str(), "list.ini", NotifyWnd(), UPDATE_KIND_DYNAMIC_CONFIG));
        EXPECT_TRUE(update.IsTaskStarted());
        Report report = WaitReport();
        EXPECT_EQ((UINT)WM_UPDATE_FINISHED, report.uMessage);
        EXPECT_EQ((WPARAM)UPDATE_KIND_DYNAMIC_CONFIG, report.wParam);
        EXPECT_TRUE(strBody == ReadBytes(Dynamic("list.ini")));
    }
}

TEST_F(FileUpdateTest, FullPathKindsWriteWhereTheyAreToldWithVersionZero)
{
    CFileUpdate update(m_host.get());
    CString strPath = Work("filter.txt");
    WriteBytes(strPath, "[Public]\r\nversion=9\r\n");
    std::string strBody = FileBody("words");
    m_server.SetReply("/w/filter.txt?v=0", CHttpTestServer::Ok(strBody));
    ASSERT_TRUE(
        update.UpdateFile(Url("/w/filter.txt?v=<version>").c_str(), strPath, NotifyWnd(), UPDATE_KIND_WORD_FILTER));
    Report report = WaitReport();
    EXPECT_EQ((UINT)WM_UPDATE_FINISHED, report.uMessage);
    EXPECT_EQ((WPARAM)UPDATE_KIND_WORD_FILTER, report.wParam);
    EXPECT_TRUE(strBody == ReadBytes(strPath));
}

TEST_F(FileUpdateTest, NameLeavingTheDynamicFolderIsRefused)
{
    CFileUpdate update(m_host.get());
    m_server.SetReply("/f/evil.ini", CHttpTestServer::Ok(FileBody("evil")));
    for (const char* pszName :
         {"..\\evil.ini", "..\\..\\evil.ini", "C:\\evil.ini", "\\evil.ini", "sub\\..\\..\\evil.ini"}) {
        SCOPED_TRACE(pszName);
        EXPECT_FALSE(update.UpdateFile(Url("/f/evil.ini").c_str(), pszName, NotifyWnd(), UPDATE_KIND_FILE));
    }
    EXPECT_EQ(0, m_server.CountRequests("/f/evil.ini"));
    EXPECT_EQ(0, update.ReadPublicVersion("..\\DynaItemCfg.ini"));
}

TEST_F(FileUpdateTest, OnlyFilesWhoseVersionsRoseAreFetched)
{
    WriteDynaItemCfg("[ServerList]\r\nversion=5\r\nurl=/l/ServerList.ini\r\n"
                     "[ServiceServerList]\r\nversion=7\r\nurl=/l/ServiceServerList.ini\r\n"
                     "[Urls]\r\nversion=3\r\nurl=/l/Urls.ini\r\n"
                     "[LogonAd]\r\nversion=2\r\nbannercfgurl=/b/cfg.xml\r\nbannerimgurl=/b/img/logon.bmp\r\n"
                     "[CloseAd]\r\nversion=4\r\nbannercfgurl=/b/close.xml\r\nbannerimgurl=/b/img/close.bmp\r\n");
    for (const char* pszPath : {"/l/ServerList.ini", "/l/ServiceServerList.ini", "/l/Urls.ini", "/b/cfg.xml",
                                "/b/img/logon.bmp", "/b/close.xml", "/b/img/close.bmp"})
        m_server.SetReply(pszPath, CHttpTestServer::Ok(FileBody(pszPath)));

    struct Case
    {
        const char* pszWhat;
        std::function<bool(CFileUpdate&)> start;
        std::vector<std::pair<const char*, const char*>> fetched; // server path, local path under the program folder
    } cases[] = {
        {"server list, installed older",
         [&](CFileUpdate& u) { return u.UpdateConfigFile(4, 0, NotifyWnd()); },
         {{"/l/ServerList.ini", "config//ServerList.ini"}}},
        {"server list, same version", [&](CFileUpdate& u) { return u.UpdateConfigFile(5, 0, NotifyWnd()); }, {}},
        {"server list, installed newer", [&](CFileUpdate& u) { return u.UpdateConfigFile(6, 0, NotifyWnd()); }, {}},
        {"service list",
         [&](CFileUpdate& u) { return u.UpdateConfigFile(0, 1, NotifyWnd()); },
         {{"/l/ServiceServerList.ini", "config//ServiceServerList.ini"}}},
        {"address list",
         [&](CFileUpdate& u) { return u.UpdateConfigFile(2, 2, NotifyWnd()); },
         {{"/l/Urls.ini", "config//Urls.ini"}}},
        {"unknown list", [&](CFileUpdate& u) { return u.UpdateConfigFile(0, 3, NotifyWnd()); }, {}},
        {"logon banner",
         [&](CFileUpdate& u) { return u.UpdateAdBanner(1, 0, NotifyWnd()); },
         {{"/b/cfg.xml", "Res\\Logon\\ADBanner\\bannercfg.xml"},
          {"/b/img/logon.bmp", "Res\\Logon\\ADBanner\\logon.bmp"}}},
        {"logon banner, same version", [&](CFileUpdate& u) { return u.UpdateAdBanner(2, 0, NotifyWnd()); }, {}},
        {"close banner",
         [&](CFileUpdate& u) { return u.UpdateAdBanner(3, 1, NotifyWnd()); },
         {{"/b/close.xml", "Res\\Close\\ADBanner\\closebannercfg.xml"},
          {"/b/img/close.bmp", "Res\\Close\\ADBanner\\close.bmp"}}},
    };
    ::CreateDirectoryA(Work("Res\\Logon"), NULL);
    ::CreateDirectoryA(Work("Res\\Logon\\ADBanner"), NULL);
    ::CreateDirectoryA(Work("Res\\Close"), NULL);
    ::CreateDirectoryA(Work("Res\\Close\\ADBanner"), NULL);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszWhat);
        CFileUpdate update(m_host.get());
        size_t nBefore = m_server.GetRequests().size();
        EXPECT_EQ(!c.fetched.empty(), c.start(update));
        for (size_t i = 0; i < c.fetched.size(); i++) {
            Report report = WaitReport();
            EXPECT_EQ((UINT)WM_UPDATE_FINISHED, report.uMessage);
            EXPECT_EQ((WPARAM)UPDATE_KIND_FILE, report.wParam);
        }
        EXPECT_EQ(0u, WaitReport(100).uMessage);
        std::vector<CHttpTestServer::Request> requests = m_server.GetRequests();
        ASSERT_EQ(nBefore + c.fetched.size(), requests.size());
        for (const auto& fetched : c.fetched) {
            EXPECT_EQ(1, m_server.CountRequests(fetched.first)) << fetched.first;
            EXPECT_TRUE(FileBody(fetched.first) == ReadBytes(Work(fetched.second))) << fetched.second;
            DeleteFileA(Work(fetched.second));
        }
    }
}

TEST_F(FileUpdateTest, MissingConfigurationFetchesNothing)
{
    CFileUpdate update(m_host.get());
    EXPECT_FALSE(update.UpdateConfigFile(0, 0, NotifyWnd()));
    EXPECT_FALSE(update.UpdateAdBanner(0, 0, NotifyWnd()));
    EXPECT_FALSE(update.UpdateCompetitionEntry(0, NotifyWnd()));
    EXPECT_EQ(0u, m_server.GetRequests().size());
}

TEST_F(FileUpdateTest, CompetitionEntryFetchesPageAndArchive)
{
    WriteDynaItemCfg(
        "[CompetiteEntry]\r\nversion=8\r\nCompetiteurl=/c/entry.htm\r\nImageurl=/c/pics.zip?v=<version>\r\n");
    m_server.SetReply("/c/entry.htm", CHttpTestServer::Ok(FileBody("page")));
    m_server.SetReply("/c/pics.zip?v=0", CHttpTestServer::Ok(FileBody("pics")));
    ::CreateDirectoryA(Work("Res\\CompetiteEntry"), NULL);

    CFileUpdate update(m_host.get());
    EXPECT_FALSE(update.UpdateCompetitionEntry(8, NotifyWnd()));
    ASSERT_TRUE(update.UpdateCompetitionEntry(7, NotifyWnd()));
    std::vector<WPARAM> kinds;
    for (int i = 0; i < 2; i++) {
        Report report = WaitReport();
        EXPECT_EQ((UINT)WM_UPDATE_FINISHED, report.uMessage);
        kinds.push_back(report.wParam);
    }
    std::sort(kinds.begin(), kinds.end());
    EXPECT_EQ((std::vector<WPARAM>{UPDATE_KIND_FILE, UPDATE_KIND_COMPETITION}), kinds);
    EXPECT_TRUE(FileBody("page") == ReadBytes(Work("Res\\CompetiteEntry\\entry.htm")));
    EXPECT_TRUE(FileBody("pics") == ReadBytes(Work("Res\\CompetiteEntry\\pics.zip")));
}

TEST_F(FileUpdateTest, ServerGivenNamesStayInTheirFolder)
{
    // Each picture address as the server gives it, the path the request
    // goes to once the client has resolved its steps, and where the picture
    // may land (NULL: refused, nothing fetched).
    struct Case
    {
        const char* pszImageUrl;
        const char* pszServed;
        const char* pszLanding;
    } cases[] = {
        {"/b/img/..\\..\\..\\evil.bmp", "/", "evil.bmp"},
        {"/b/img/../../evil.bmp", "/evil.bmp", "evil.bmp"},
        {"/b/img/a.bmp?v=2", "/b/img/a.bmp?v=2", "a.bmp"},
        {"/b/img/..", NULL, NULL},
        {"/b/img/", NULL, NULL},
        {"/b/img/C:evil.bmp", NULL, NULL},
        {"/b/img/NUL.bmp", NULL, NULL},
        {"/b/img/trailing.", NULL, NULL},
    };
    ::CreateDirectoryA(Work("Res\\Logon"), NULL);
    ::CreateDirectoryA(Work("Res\\Logon\\ADBanner"), NULL);
    m_server.SetReply("/b/cfg.xml", CHttpTestServer::Ok(FileBody("cfg")));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszImageUrl);
        WriteDynaItemCfg(std::string("[LogonAd]\r\nversion=2\r\nbannercfgurl=/b/cfg.xml\r\nbannerimgurl=") +
                         c.pszImageUrl + "\r\n");
        if (c.pszServed != NULL)
            m_server.SetReply(c.pszServed, CHttpTestServer::Ok(FileBody("picture")));
        CFileUpdate update(m_host.get());
        EXPECT_EQ(c.pszLanding != NULL, update.UpdateAdBanner(1, 0, NotifyWnd()));
        size_t nReports = c.pszLanding != NULL ? 2 : 1;
        for (size_t i = 0; i < nReports; i++)
            EXPECT_EQ((UINT)WM_UPDATE_FINISHED, WaitReport().uMessage);
        if (c.pszLanding != NULL) {
            CString strLanded = Work("Res\\Logon\\ADBanner\\") + c.pszLanding;
            EXPECT_TRUE(FileBody("picture") == ReadBytes(strLanded));
            DeleteFileA(strLanded);
        }
        for (const char* pszOutside : {"evil.bmp", "Res\\evil.bmp", "Res\\Logon\\evil.bmp", "..\\evil.bmp"})
            EXPECT_FALSE(Exists(Work(pszOutside))) << pszOutside;
    }
}

TEST(FileUpdateNames, ReduceToFileName)
{
    struct Case
    {
        const char* pszText;
        const char* pszName; // NULL: refused
    } cases[] = {
        {"/img/banner.bmp", "banner.bmp"},
        {"banner.bmp", "banner.bmp"},
        {"/img/sub\\pic.png", "pic.png"},
        {"/img/..\\..\\evil.bmp", "evil.bmp"},
        {"..", NULL},
        {"/img/pic.png#top", "pic.png"},
        {"/img/大厅.bmp", "大厅.bmp"},
        // The second byte of this character is a backslash.
        {"/img/\x81\x5c.bmp", "\x81\x5c.bmp"},
        {"/img/", NULL},
        {"/img/.", NULL},
        {"/img/ . ", NULL},
        {"/img/a:b.bmp", NULL},
        {"/img/a|b.bmp", NULL},
        {"/img/a\tb.bmp", NULL},
        {"/img/con", NULL},
        {"/img/com1.txt", NULL},
        {"/img/console.txt", "console.txt"},
        {"/img/conout$", NULL},
        {"/img/a\x7f.bmp", NULL},
        {"/img/\x81", NULL}, // half a character
        {"", NULL},
        {NULL, NULL},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszText != NULL ? c.pszText : "(null)");
        CString strName = "stale";
        EXPECT_EQ(c.pszName != NULL, CFileUpdate::ReduceToFileName(c.pszText, strName));
        EXPECT_EQ(CString(c.pszName != NULL ? c.pszName : ""), strName);
    }
}

TEST_F(FileUpdateTest, FinishedTasksAreReaped)
{
    CFileUpdate update(m_host.get());
    for (const char* pszPath : {"/f/a.ini", "/f/b.ini", "/f/c.ini"})
        m_server.SetReply(pszPath, CHttpTestServer::Ok(FileBody(pszPath)));
    for (const char* pszName : {"a.ini", "b.ini", "c.ini"}) {
        ASSERT_TRUE(update.DownloadFile(Url(std::string("/f/") + pszName).c_str(), Work(pszName), NotifyWnd()));
        EXPECT_EQ((UINT)WM_UPDATE_FINISHED, WaitReport().uMessage);
        // The worker ends a moment after its report.
        EXPECT_TRUE(update.WaitTasksEnded(kReportWait));
    }
    // Each start dropped the finished ones before it.
    EXPECT_EQ(1, update.GetTaskCount());
}

TEST_F(FileUpdateTest, NothingIsReportedAfterDetach)
{
    std::string strBody = FileBody("held");
    CHttpTestServer::Reply reply = CHttpTestServer::Ok(strBody);
    reply.nHoldAfter = 100;
    m_server.SetReply("/f/held.ini", reply);
    m_server.SetReply("/f/Update.zip", reply);

    CFileUpdate update(m_host.get());
    ASSERT_TRUE(update.UpdateFile(Url("/f/held.ini").c_str(), "held.ini", NotifyWnd(), UPDATE_KIND_DYNAMIC_CONFIG));
    ASSERT_TRUE(update.DownloadZipToMemory(Url("/f/Update.zip").c_str(), NotifyWnd(), UPDATE_KIND_HALL_VERSION));
    ASSERT_TRUE(m_server.WaitForRequests(2, kReportWait));
    update.DetachNotifyWindow();
    m_server.OpenGate();

    // The file task still finishes its work; only the report is gone.
    WaitFor([&] { return ReadBytes(Dynamic("held.ini")) == strBody; }, kReportWait);
    EXPECT_TRUE(strBody == ReadBytes(Dynamic("held.ini")));
    EXPECT_EQ(0u, WaitReport(500).uMessage);
    // The owner went with it: the version check has no window to ask over.
    m_host->m_bHasRecord = true;
    m_host->m_Record.dwVersion = 0x02000000;
    EXPECT_EQ(HALL_UPDATE_NO_OWNER, update.CheckHallUpdate());
}

class StoppingTest : public UpdateFixture
{
protected:
    // Three file tasks and the in-memory task, all waiting for the server.
    void StartHeldTasks(CFileUpdate& update)
    {
        CHttpTestServer::Reply reply = CHttpTestServer::Ok(FileBody("held") + CHttpTestServer::Pattern(50000));
        reply.nHoldAfter = 5000;
        for (const char* pszName : {"a.ini", "b.ini", "c.ini"}) {
            WriteBytes(Work(pszName), "old");
            m_server.SetReply(std::string("/f/") + pszName, reply);
            ASSERT_TRUE(update.DownloadFile(Url(std::string("/f/") + pszName).c_str(), Work(pszName), NotifyWnd()));
        }
        m_server.SetReply("/f/Update.zip", reply);
        ASSERT_TRUE(update.DownloadZipToMemory(Url("/f/Update.zip").c_str(), NotifyWnd(), UPDATE_KIND_HALL_VERSION));
        ASSERT_TRUE(m_server.WaitForRequests(4, kReportWait));
        // The file tasks have written their first blocks, so the checks that
        // none is left behind see something that was there.
        for (const char* pszName : {"a.ini", "b.ini", "c.ini"})
            ASSERT_TRUE(WaitFor([&] { return SizeOf(Work(pszName) + ".temp") > 0; }, kReportWait)) << pszName;
    }

    void ExpectNothingInstalled()
    {
        for (const char* pszName : {"a.ini", "b.ini", "c.ini"}) {
            EXPECT_EQ("old", ReadBytes(Work(pszName))) << pszName;
            EXPECT_FALSE(Exists(Work(pszName) + ".temp")) << pszName;
        }
        EXPECT_TRUE(m_host->HandedOver().empty());
        EXPECT_EQ(0u, WaitReport(300).uMessage);
    }
};

TEST_F(StoppingTest, DestroyedWhileTasksRunWithoutHanging)
{
    // The held transfers end at their short time-out, well within the wait.
    UseShortTimeouts();
    std::unique_ptr<CFileUpdate> update(new CFileUpdate(m_host.get()));
    StartHeldTasks(*update);
    DWORD dwStart = GetTickCount();
    update.reset();
    EXPECT_LT(GetTickCount() - dwStart, g_UpdateTuning.dwStopWait);
    ExpectNothingInstalled();
}

TEST_F(StoppingTest, TaskStuckLongerThanTheWaitIsLeftToEndAlone)
{
    // Transfers that would hold the caller for seconds, and a short wait.
    g_UpdateTuning.dwReceiveTimeout = 4000;
    g_HttpTuning.dwHelperTimeout = 4000;
    g_UpdateTuning.dwStopWait = 200;
    LONG nLiveBefore = CUpdateTask::GetLiveCount();
    std::unique_ptr<CFileUpdate> update(new CFileUpdate(m_host.get()));
    StartHeldTasks(*update);
    EXPECT_EQ(nLiveBefore + 4, CUpdateTask::GetLiveCount());
    DWORD dwStart = GetTickCount();
    update.reset();
    EXPECT_LT(GetTickCount() - dwStart, 1500u);

    // The given-up tasks end on their own once the server lets them, having
    // installed, handed over and reported nothing.
    EXPECT_GT(CUpdateTask::GetLiveCount(), nLiveBefore);
    m_server.OpenGate();
    EXPECT_TRUE(WaitFor([&] { return CUpdateTask::GetLiveCount() <= nLiveBefore; }, 8000));
    ExpectNothingInstalled();
}
} // namespace
