// The download service of Download.dll, driven directly with a report
// window of the test's own.
#include "HttpTestServer.h" // Winsock before the system headers

#include <gtest/gtest.h>

#include <stdio.h>
#include <string.h>

#include <memory>
#include <string>
#include <vector>

#include "DownLoadService.h"
#include "ScopedVariable.h"
#include "TempFolder.h"
#include "TestWait.h"

namespace
{

struct Report
{
    UINT message;
    WORD sub;
    WORD id;
    LONG received;
    LONG total;
    std::string text;
};

std::vector<Report> g_Reports;

LRESULT CALLBACK ReportProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DOWNLOAD_NOTIFY) {
        const tagDownLoadHead* head = reinterpret_cast<const tagDownLoadHead*>(wParam);
        EXPECT_EQ(head->wMain, 1);
        Report report = {message, head->wSub, 0, 0, 0, ""};
        if (head->wSub == DOWNLOAD_SUB_ANNOUNCED) {
            const tagDownLoadAnnounce* announce = reinterpret_cast<const tagDownLoadAnnounce*>(lParam);
            report.id = announce->wMissionID;
            report.text = announce->szName;
        } else if (head->wSub == DOWNLOAD_SUB_DONE || head->wSub == DOWNLOAD_SUB_HALL_READY) {
            const tagDownLoadDone* done = reinterpret_cast<const tagDownLoadDone*>(lParam);
            report.id = done->wMissionID;
            report.received = (LONG)done->dwReceived;
            report.total = (LONG)done->dwTotal;
            report.text = done->szResult;
        } else {
            const tagDownLoadProgress* progress = reinterpret_cast<const tagDownLoadProgress*>(lParam);
            report.id = progress->wMissionID;
            report.received = progress->lReceived;
            report.total = progress->lTotal;
        }
        g_Reports.push_back(report);
        return 0;
    }
    if (message == WM_DOWNLOAD_PROGRESS) {
        const tagDownLoadProgress* progress = reinterpret_cast<const tagDownLoadProgress*>(lParam);
        g_Reports.push_back({message, 0, progress->wMissionID, progress->lReceived, progress->lTotal, ""});
        return 0;
    }
    return DefWindowProc(hWnd, message, wParam, lParam);
}

class DownLoadServiceTest : public testing::Test
{
protected:
    void SetUp() override
    {
        g_Reports.clear();
        WNDCLASSA wc = {};
        wc.lpfnWndProc = ReportProc;
        wc.hInstance = GetModuleHandle(NULL);
        wc.lpszClassName = "DownLoadReports";
        RegisterClassA(&wc);
        window = CreateWindowA("DownLoadReports", "", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL, wc.hInstance, NULL);
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(server.Start());

        // The service makes the package folder itself.
        m_temp.reset(new CTempFolder("tavrel-download"));
        snprintf(folder, sizeof(folder), "%s", m_temp->File("packages").c_str());
        service = new CDownLoadService;
        service->AddRef();
        service->SetNotifyWindow(window);
        CDownLoadService::s_dwProgressInterval = 0;
    }
    void TearDown() override
    {
        server.OpenGate();
        service->Release();
        DestroyWindow(window);
        m_temp.reset();
        CDownLoadService::s_dwProgressInterval = 200;
    }

    tagDownLoadTask Task(const std::vector<std::string>& urls)
    {
        tagDownLoadTask task = {};
        strcpy(task.szName, "Chess");
        strcpy(task.szFolder, folder);
        for (size_t i = 0; i < urls.size(); ++i)
            strcpy(task.szUrls[i], urls[i].c_str());
        return task;
    }

    // Answers the service's reports until one of that sub arrived.
    const Report* WaitDone(WORD sub = DOWNLOAD_SUB_DONE, DWORD timeout = 20000)
    {
        DWORD start = GetTickCount();
        while (GetTickCount() - start < timeout) {
            for (const Report& report : g_Reports) {
                if (report.message == WM_DOWNLOAD_NOTIFY && report.sub == sub)
                    return &report;
            }
            MSG msg;
            while (PeekMessage(&msg, NULL, 0, 0, PM_REMOVE))
                DispatchMessage(&msg);
            MsgWaitForMultipleObjects(0, NULL, FALSE, 10, QS_ALLINPUT);
        }
        return NULL;
    }
    int Count(UINT message, WORD sub) const
    {
        int n = 0;
        for (const Report& report : g_Reports)
            n += report.message == message && report.sub == sub;
        return n;
    }
    std::string ReadFile(const std::string& path)
    {
        std::string bytes;
        FILE* file = fopen(path.c_str(), "rb");
        if (file == NULL)
            return "<missing>";
        char buffer[4096];
        size_t n;
        while ((n = fread(buffer, 1, sizeof(buffer), file)) > 0)
            bytes.append(buffer, n);
        fclose(file);
        return bytes;
    }

    HWND window = NULL;
    CHttpTestServer server;
    std::unique_ptr<CTempFolder> m_temp;
    char folder[MAX_PATH];
    CDownLoadService* service = NULL;
};

TEST_F(DownLoadServiceTest, AMissionIsAnnouncedFetchedAndDone)
{
    std::string body = CHttpTestServer::Pattern(300000);
    CHttpTestServer::Reply reply = CHttpTestServer::Ok(body);
    reply.nPiece = 65536;
    server.SetReply("/pkg/chess.zip", reply);
    tagDownLoadTask task = Task({server.Url("/pkg/chess.zip?v=2")});
    WORD id = service->AddMission(DOWNLOAD_KIND_GAME, &task);
    ASSERT_NE(id, 0);
    const Report* done = WaitDone();
    ASSERT_NE(done, nullptr);
    EXPECT_EQ(done->id, id);
    EXPECT_EQ(done->text, std::string(folder) + "\\chess.zip");
    EXPECT_EQ(done->total, 293); // KB, rounded up
    EXPECT_EQ(ReadFile(done->text), body);
    EXPECT_EQ(g_Reports.front().sub, DOWNLOAD_SUB_ANNOUNCED);
    EXPECT_EQ(g_Reports.front().text, "Chess");
    EXPECT_GE(Count(WM_DOWNLOAD_PROGRESS, 0), 1);
    EXPECT_EQ(Count(WM_DOWNLOAD_NOTIFY, DOWNLOAD_SUB_HALL_READY), 0);
}

TEST_F(DownLoadServiceTest, FailingAddressesAreReportedAndTheNextTried)
{
    server.SetReply("/bad", CHttpTestServer::Status(404));
    CHttpTestServer::Reply cut = CHttpTestServer::Ok(std::string(5000, 'x'));
    cut.nCutAfter = 1000;
    server.SetReply("/cut", cut);
    server.SetReply("/good/hall.zip", CHttpTestServer::Ok("hall"));
    tagDownLoadTask task = Task({server.Url("/bad"), server.Url("/cut"), server.Url("/good/hall.zip")});
    ASSERT_NE(service->AddMission(DOWNLOAD_KIND_HALL, &task), 0);
    const Report* done = WaitDone();
    ASSERT_NE(done, nullptr);
    EXPECT_EQ(done->text, std::string(folder) + "\\hall.zip");
    EXPECT_EQ(Count(WM_DOWNLOAD_NOTIFY, DOWNLOAD_SUB_FAILED), 2);
    // A body cut short is never left as a package.
    EXPECT_EQ(ReadFile(std::string(folder) + "\\cut"), "<missing>");
    EXPECT_EQ(ReadFile(std::string(folder) + "\\cut.part"), "<missing>");
    // The hall's own package is announced as ready as well.
    const Report* ready = WaitDone(DOWNLOAD_SUB_HALL_READY);
    ASSERT_NE(ready, nullptr);
    EXPECT_EQ(ready->text, std::string(folder) + "\\hall.zip");
}

TEST_F(DownLoadServiceTest, EveryAddressFailingEndsWithFails)
{
    server.SetReply("/bad", CHttpTestServer::Status(500));
    tagDownLoadTask task = Task({server.Url("/bad")});
    ASSERT_NE(service->AddMission(DOWNLOAD_KIND_GAME, &task), 0);
    const Report* done = WaitDone();
    ASSERT_NE(done, nullptr);
    EXPECT_EQ(done->text, "fails");
}

// The disk fills a third of the way: the mission fails, its partial file
// goes and the package already there stays as it was.
TEST_F(DownLoadServiceTest, AFullDiskFailsTheMissionAndKeepsTheOldPackage)
{
    const std::string old = "the package of the last version";
    CreateDirectoryA(folder, NULL);
    FILE* file = fopen((std::string(folder) + "\\chess.zip").c_str(), "wb");
    ASSERT_NE(file, nullptr);
    fwrite(old.data(), 1, old.size(), file);
    fclose(file);
    server.SetReply("/pkg/chess.zip", CHttpTestServer::Ok(CHttpTestServer::Pattern(300000)));
    ScopedVariable room("TAVREL_DOWNLOAD_DISK_ROOM", "100000");
    tagDownLoadTask task = Task({server.Url("/pkg/chess.zip")});
    ASSERT_NE(service->AddMission(DOWNLOAD_KIND_GAME, &task), 0);
    const Report* done = WaitDone();
    ASSERT_NE(done, nullptr);
    EXPECT_EQ(done->text, "fails");
    EXPECT_EQ(Count(WM_DOWNLOAD_NOTIFY, DOWNLOAD_SUB_FAILED), 1);
    EXPECT_EQ(ReadFile(std::string(folder) + "\\chess.zip"), old);
    EXPECT_EQ(ReadFile(std::string(folder) + "\\chess.zip.part"), "<missing>");
}

TEST_F(DownLoadServiceTest, ACancelledMissionEnds)
{
    CHttpTestServer::Reply held = CHttpTestServer::Ok(std::string(100000, 'h'));
    held.nHoldAfter = 20000;
    server.SetReply("/held.zip", held);
    tagDownLoadTask task = Task({server.Url("/held.zip"), server.Url("/never.zip")});
    WORD id = service->AddMission(DOWNLOAD_KIND_GAME, &task);
    ASSERT_NE(id, 0);
    EXPECT_TRUE(service->CancelMission(id));
    EXPECT_FALSE(service->CancelMission(id + 100));
    server.OpenGate();
    const Report* done = WaitDone();
    ASSERT_NE(done, nullptr);
    EXPECT_EQ(done->text, "fails");
    EXPECT_EQ(server.CountRequests("/never.zip"), 0);
}

TEST_F(DownLoadServiceTest, MissionsWithoutAddressesOrKindAreRefused)
{
    tagDownLoadTask task = Task({});
    EXPECT_EQ(service->AddMission(DOWNLOAD_KIND_GAME, &task), 0);
    task = Task({server.Url("/x")});
    EXPECT_EQ(service->AddMission(9, &task), 0);
    EXPECT_EQ(service->AddMission(DOWNLOAD_KIND_GAME, NULL), 0);
}

// The worker sends its reports to a window of this thread, which is not
// answering them while it releases the service: the release must answer
// them itself rather than wait for a worker that waits for it.
TEST_F(DownLoadServiceTest, ReleasedWhileAWorkerWaitsForTheWindow)
{
    server.SetReply("/pkg.zip", CHttpTestServer::Ok("p"));
    tagDownLoadTask task = Task({server.Url("/pkg.zip"), server.Url("/pkg.zip")});
    ASSERT_NE(service->AddMission(DOWNLOAD_KIND_GAME, &task), 0);
    ASSERT_NE(service->AddMission(DOWNLOAD_KIND_GAME, &task), 0);
    // Both workers inside their first report, which this thread does not answer.
    ASSERT_TRUE(WaitFor([&] { return service->GetReportsInFlight() == 2; }, 20000));
    service->CancelAllMissions();
    DWORD start = GetTickCount();
    service->Release();
    EXPECT_LT(GetTickCount() - start, 10000u);
    // The waiting reports were answered; nothing came after the release.
    EXPECT_EQ(Count(WM_DOWNLOAD_NOTIFY, DOWNLOAD_SUB_ANNOUNCED), 2);
    EXPECT_EQ(Count(WM_DOWNLOAD_NOTIFY, DOWNLOAD_SUB_DONE), 0);
    service = new CDownLoadService;
    service->AddRef();
}

struct NameCase
{
    const char* url;
    const char* name;
};

class PackageNames : public testing::TestWithParam<NameCase>
{};

TEST_P(PackageNames, StayInsideTheFolder)
{
    EXPECT_STREQ(CDownLoadService::PackageName(GetParam().url, 7), GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(Urls, PackageNames,
                         testing::Values(NameCase{"http://h/a/chess.zip", "chess.zip"},
                                         NameCase{"http://h/chess.zip?x=1#f", "chess.zip"},
                                         NameCase{"http://h/", "7.pkg"}, NameCase{"http://h/..", "7.pkg"},
                                         NameCase{"http://h/a%2F..%2Fevil.exe", "7.pkg"},
                                         NameCase{"http://h/a\\b.zip", "7.pkg"}, NameCase{"http://h/con.zip", "7.pkg"},
                                         NameCase{"http://h/LPT1", "7.pkg"}, NameCase{"http://h/a.zip.", "7.pkg"}));

} // namespace
