// The global attemper hands a download to the download service of
// Download.dll and its reports reach the installed download window.
#include "HttpTestServer.h" // Winsock before the system headers

#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <vector>

#include "GlobalAttemper.h"
#include "GlobalUnits.h"
#include "HallWindows.h"
#include "StateTestSupport.h"

namespace
{

struct Report
{
    UINT message;
    WORD sub;
    WORD id;
    std::string text;
};

std::vector<Report> g_Reports;
WNDPROC g_OldProc = NULL;

LRESULT CALLBACK RecordingProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DOWNLOAD_NOTIFY) {
        const tagDownLoadHead* head = reinterpret_cast<const tagDownLoadHead*>(wParam);
        Report report = {message, head->wSub, *reinterpret_cast<const WORD*>(lParam), std::string()};
        if (head->wSub == DOWNLOAD_SUB_ANNOUNCED)
            report.text = reinterpret_cast<const tagDownLoadAnnounce*>(lParam)->szName;
        else if (head->wSub == DOWNLOAD_SUB_DONE || head->wSub == DOWNLOAD_SUB_HALL_READY)
            report.text = reinterpret_cast<const tagDownLoadDone*>(lParam)->szResult;
        g_Reports.push_back(report);
        return 0;
    }
    if (message == WM_DOWNLOAD_PROGRESS) {
        g_Reports.push_back({message, 0, reinterpret_cast<const tagDownLoadProgress*>(lParam)->wMissionID, ""});
        return 0;
    }
    return CallWindowProc(g_OldProc, hWnd, message, wParam, lParam);
}

bool PumpUntilDone(DWORD timeout)
{
    DWORD start = GetTickCount();
    while (GetTickCount() - start < timeout) {
        for (const Report& report : g_Reports) {
            if (report.message == WM_DOWNLOAD_NOTIFY && report.sub == DOWNLOAD_SUB_DONE)
                return true;
        }
        MSG msg;
        while (PeekMessage(&msg, NULL, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessage(&msg);
        }
        MsgWaitForMultipleObjects(0, NULL, FALSE, 20, QS_ALLINPUT);
    }
    return false;
}

// A plain window in place of the download window, counting what the
// attemper asked of it.
class RecordingDownLoadWnd : public IDownLoadWnd
{
public:
    ~RecordingDownLoadWnd() override { CloseDownLoadWindow(); }
    HWND GetDownLoadWindow() override { return m_hWnd; }
    bool CreateDownLoadWindow(CWnd* pParent) override
    {
        ++creates;
        parent = pParent;
        if (!createSucceeds)
            return false;
        m_hWnd = CreateWindowExA(0, "STATIC", "Download", WS_POPUP | WS_CAPTION, 0, 0, 200, 80,
                                 pParent != NULL ? pParent->GetSafeHwnd() : NULL, NULL, NULL, NULL);
        return m_hWnd != NULL;
    }
    void CloseDownLoadWindow() override
    {
        if (m_hWnd != NULL) {
            ++closes;
            DestroyWindow(m_hWnd);
            m_hWnd = NULL;
        }
    }

    bool createSucceeds = true;
    int creates = 0;
    int closes = 0;
    CWnd* parent = NULL;

private:
    HWND m_hWnd = NULL;
};

class AttemperDownload : public testing::Test
{
protected:
    void SetUp() override
    {
        UseProgramFolder(folder);
        g_Reports.clear();
        ASSERT_TRUE(server.Start());
        memset(addresses, 0, sizeof(addresses));
        CHallWindows::InstallDownLoadWnd(&window);
    }
    void TearDown() override
    {
        g_GlobalAttemper.CloseDownloadWindow();
        CHallWindows::InstallDownLoadWnd(NULL);
        g_GlobalUnits.m_DownLoadServiceHelper.CloseInstance();
    }

    CStateFolder folder;
    CHttpTestServer server;
    RecordingDownLoadWnd window;
    char addresses[10][260];
};

TEST_F(AttemperDownload, WithoutTheServiceNothingStarts)
{
    g_GlobalUnits.m_DownLoadServiceHelper.CloseInstance();
    strcpy(addresses[0], server.Url("/game.zip").c_str());
    EXPECT_FALSE(g_GlobalAttemper.StartGameDownload("Chess", 1, addresses, 0));
    EXPECT_EQ(window.creates, 0);
}

// Without a download window, or when its window cannot be made, the
// download does not start: nobody would hear the service's reports.
TEST_F(AttemperDownload, WithoutTheWindowNothingStarts)
{
    ASSERT_TRUE(g_GlobalUnits.m_DownLoadServiceHelper.CreateInstance())
        << g_GlobalUnits.m_DownLoadServiceHelper.GetErrorDescribe();
    server.SetReply("/game.zip", CHttpTestServer::Ok("zip"));
    strcpy(addresses[0], server.Url("/game.zip").c_str());

    CHallWindows::InstallDownLoadWnd(NULL);
    EXPECT_FALSE(g_GlobalAttemper.StartGameDownload("Chess", 1, addresses, 0));
    EXPECT_TRUE(g_GlobalAttemper.CloseDownloadWindow());

    CHallWindows::InstallDownLoadWnd(&window);
    window.createSucceeds = false;
    EXPECT_FALSE(g_GlobalAttemper.StartGameDownload("Chess", 1, addresses, 0));
    EXPECT_EQ(window.creates, 1);
}

TEST_F(AttemperDownload, TheWindowIsMadeOnceUnderTheMainWindowAndClosedOnRequest)
{
    ASSERT_TRUE(g_GlobalUnits.m_DownLoadServiceHelper.CreateInstance())
        << g_GlobalUnits.m_DownLoadServiceHelper.GetErrorDescribe();
    server.SetReply("/game.zip", CHttpTestServer::Ok("zip"));
    strcpy(addresses[0], server.Url("/game.zip").c_str());

    CProfileApp app;
    CWnd mainWnd;
    ASSERT_TRUE(mainWnd.CreateEx(0, "STATIC", "hall", WS_OVERLAPPED, CRect(0, 0, 10, 10), NULL, 0));
    app.App().m_pMainWnd = &mainWnd;

    ASSERT_TRUE(g_GlobalAttemper.StartGameDownload("Chess", 1, addresses, 0));
    ASSERT_TRUE(g_GlobalAttemper.StartGameDownload("Go", 1, addresses, 1));
    app.App().m_pMainWnd = NULL;
    EXPECT_EQ(window.creates, 1);
    EXPECT_EQ(window.parent, &mainWnd);
    EXPECT_TRUE(IsWindowVisible(window.GetDownLoadWindow()));

    EXPECT_TRUE(g_GlobalAttemper.CloseDownloadWindow());
    EXPECT_EQ(window.closes, 1);
    EXPECT_EQ(window.GetDownLoadWindow(), nullptr);
    EXPECT_TRUE(g_GlobalAttemper.CloseDownloadWindow());
    EXPECT_EQ(window.closes, 1);
}

TEST_F(AttemperDownload, TheTaskReachesTheServiceAndTheWindowHearsIt)
{
    ASSERT_TRUE(g_GlobalUnits.m_DownLoadServiceHelper.CreateInstance())
        << g_GlobalUnits.m_DownLoadServiceHelper.GetErrorDescribe();
    std::string body = CHttpTestServer::Pattern(50000);
    server.SetReply("/game.zip", CHttpTestServer::Ok(body));
    strcpy(addresses[0], server.Url("/missing.zip").c_str());
    strcpy(addresses[1], server.Url("/game.zip").c_str());

    ASSERT_TRUE(g_GlobalAttemper.StartGameDownload("Chess", 1, addresses, 0));
    HWND hWindow = window.GetDownLoadWindow();
    ASSERT_NE(hWindow, nullptr);
    EXPECT_TRUE(IsWindowVisible(hWindow));
    g_OldProc = (WNDPROC)SetWindowLongPtr(hWindow, GWLP_WNDPROC, (LONG_PTR)RecordingProc);

    ASSERT_TRUE(PumpUntilDone(20000));
    ASSERT_GE(g_Reports.size(), 3u);
    EXPECT_EQ(g_Reports.front().sub, DOWNLOAD_SUB_ANNOUNCED);
    EXPECT_EQ(g_Reports.front().text, "Chess");
    bool failedFirst = false;
    for (const Report& report : g_Reports)
        failedFirst |= report.message == WM_DOWNLOAD_NOTIFY && report.sub == DOWNLOAD_SUB_FAILED;
    EXPECT_TRUE(failedFirst);
    const Report& done = g_Reports.back();
    EXPECT_EQ(done.sub, DOWNLOAD_SUB_DONE);
    EXPECT_EQ(done.text, folder.Path() + "DownLoad\\game.zip");
    EXPECT_EQ(folder.Read("DownLoad\\game.zip"), body);
}

TEST(DownloadTask, RecordCarriesNameFolderAndAddresses)
{
    CStateFolder folder;
    UseProgramFolder(folder);
    char addresses[10][260] = {};
    strcpy(addresses[0], "http://a/1");
    strcpy(addresses[9], "http://a/10");
    std::string longName(300, 'n');
    tagDownLoadTask task;
    EXPECT_TRUE(CGlobalAttemper::BuildDownloadTask(task, longName.c_str(), 7, addresses));
    EXPECT_EQ(task.cbFlag, 7);
    EXPECT_EQ(strlen(task.szName), 127u);
    EXPECT_EQ(std::string(task.szFolder), folder.Path() + "DownLoad");
    EXPECT_STREQ(task.szUrls[0], "http://a/1");
    EXPECT_STREQ(task.szUrls[9], "http://a/10");
    const BYTE* bytes = reinterpret_cast<const BYTE*>(&task);
    EXPECT_EQ(bytes[0], 7);
    EXPECT_EQ(memcmp(bytes + 389, addresses, 2600), 0);
}

TEST(DownloadTask, NameKeepsWholeCharactersAndFolderIsNeverCut)
{
    CStateFolder folder;
    UseProgramFolder(folder);
    tagDownLoadTask task;
    // "中" would straddle the name field's last byte.
    const std::string name = std::string(126, 'n') + "\xD6\xD0";
    EXPECT_TRUE(CGlobalAttemper::BuildDownloadTask(task, name.c_str(), 0, NULL));
    EXPECT_EQ(std::string(task.szName), std::string(126, 'n'));

    // A program folder that leaves no room for "DownLoad" gives no task.
    const std::string deep = "C:\\" + std::string(248, 'd');
    ASSERT_TRUE(g_GlobalUnits.SetWorkDirectory(deep.c_str()));
    EXPECT_FALSE(CGlobalAttemper::BuildDownloadTask(task, "game", 0, NULL));
    EXPECT_STREQ(task.szFolder, "");
    UseProgramFolder(folder);
}

TEST(DownloadTask, ProgramFolderIsNeverCut)
{
    const std::string saved = g_GlobalUnits.GetWorkDirectory();
    // Folder and its "Res\" fit: kept.
    const std::string fits = "C:\\" + std::string(251, 'd'); // 254 bytes, 255 with the backslash
    EXPECT_TRUE(g_GlobalUnits.SetWorkDirectory(fits.c_str()));
    EXPECT_EQ(std::string(g_GlobalUnits.GetResourceDirectory()), fits + "\\Res\\");
    // "Res\" no longer fits: neither is kept rather than a cut one.
    const std::string deep = fits + "dd";
    EXPECT_FALSE(g_GlobalUnits.SetWorkDirectory(deep.c_str()));
    EXPECT_STREQ(g_GlobalUnits.GetResourceDirectory(), "");
    EXPECT_STREQ(g_GlobalUnits.GetWorkDirectory(), "");
    g_GlobalUnits.SetWorkDirectory(saved.c_str());
}

} // namespace
