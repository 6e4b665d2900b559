// The asynchronous downloader against the local server, reporting to a real
// window of the test thread.
#include "HttpFixture.h"

#include "AsyncDownLoader.h"
#include "TestWait.h"

#include <memory>
#include <string>
#include <vector>

namespace
{
const UINT kReportMessage = WM_USER + 1;
const char kFormHeader[] = "Content-Type: application/x-www-form-urlencoded\r\n";

struct Report
{
    DWORD dwUserData = 0;
    DWORD dwCode = 0;
    std::string strUrl;
    LPARAM lParam = 0;
    tagAsyncDownProgress progress = {};
    std::string strBody;
    bool bTerminated = false;
    bool bReservedZero = false;
};

bool IsFinal(DWORD dwCode)
{
    return dwCode == ASYNC_DOWN_FAILED || dwCode == ASYNC_DOWN_FINISHED || dwCode == ASYNC_DOWN_STOPPED;
}

// A top-level window of the test thread that records every report.
class ReportWindow
{
public:
    ReportWindow()
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = WndProc;
        wc.hInstance = GetModuleHandleA(NULL);
        wc.lpszClassName = "AsyncReportWindow";
        RegisterClassA(&wc);
        m_hWnd = CreateWindowA("AsyncReportWindow", "", WS_OVERLAPPED, 0, 0, 10, 10, NULL, NULL, wc.hInstance, NULL);
        SetWindowLongPtrA(m_hWnd, GWLP_USERDATA, (LONG_PTR)this);
    }

    ~ReportWindow() { Destroy(); }

    void Destroy()
    {
        if (m_hWnd != NULL)
            DestroyWindow(m_hWnd);
        m_hWnd = NULL;
    }

    bool WaitForFinal(DWORD dwUserData)
    {
        return PumpUntil([&] { return FindFinal(dwUserData) != NULL; });
    }

    const Report* FindFinal(DWORD dwUserData) const
    {
        for (const Report& r : m_reports) {
            if (r.dwUserData == dwUserData && IsFinal(r.dwCode))
                return &r;
        }
        return NULL;
    }

    std::vector<Report> ReportsOf(DWORD dwUserData) const
    {
        std::vector<Report> reports;
        for (const Report& r : m_reports) {
            if (r.dwUserData == dwUserData)
                reports.push_back(r);
        }
        return reports;
    }

    HWND m_hWnd = NULL;
    std::vector<Report> m_reports;

private:
    static LRESULT CALLBACK WndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
    {
        ReportWindow* pThis = (ReportWindow*)GetWindowLongPtrA(hWnd, GWLP_USERDATA);
        if (uMsg != kReportMessage || pThis == NULL)
            return DefWindowProcA(hWnd, uMsg, wParam, lParam);
        const tagAsyncDownHead* pHead = (const tagAsyncDownHead*)wParam;
        Report report;
        report.dwUserData = pHead->dwUserData;
        report.dwCode = pHead->dwCode;
        report.strUrl = pHead->szUrl;
        report.lParam = lParam;
        if (pHead->dwCode == ASYNC_DOWN_PROGRESS)
            report.progress = *(const tagAsyncDownProgress*)lParam;
        if (pHead->dwCode == ASYNC_DOWN_FINISHED) {
            const tagAsyncDownResult* pResult = (const tagAsyncDownResult*)lParam;
            report.strBody.assign((const char*)pResult->pData, pResult->dwLength);
            report.bTerminated = pResult->pData[pResult->dwLength] == 0;
            report.bReservedZero = true;
            for (BYTE b : pResult->cbReserved)
                report.bReservedZero = report.bReservedZero && b == 0;
        }
        pThis->m_reports.push_back(report);
        return 0;
    }
};

class CTestDownLoader : public CAsyncDownLoader
{
public:
    void SetIdCounter(DWORD dwCounter)
    {
        m_lock.Lock();
        m_dwIdCounter = dwCounter;
        m_lock.Unlock();
    }

    size_t GetTaskCount()
    {
        m_lock.Lock();
        size_t n = m_tasks.size();
        m_lock.Unlock();
        return n;
    }
};

class AsyncDownLoaderTest : public HttpFixture
{
protected:
    void TearDown() override
    {
        // Every worker ends before the server and the tuning go.
        m_server.OpenGate();
        EXPECT_TRUE(PumpUntil([&] { return m_loader.GetTaskCount() == 0; }));
        HttpFixture::TearDown();
    }

    DWORD Add(DWORD dwUserData, const std::string& strUrl, const char* pszHeaders = kFormHeader)
    {
        return m_loader.AddTask(dwUserData, strUrl.c_str(), pszHeaders, m_window.m_hWnd, kReportMessage);
    }

    // Runs one task to its final report and gives all its reports.
    std::vector<Report> Run(DWORD dwUserData, const std::string& strUrl)
    {
        EXPECT_NE(0u, Add(dwUserData, strUrl));
        EXPECT_TRUE(m_window.WaitForFinal(dwUserData));
        return m_window.ReportsOf(dwUserData);
    }

    ReportWindow m_window;
    CTestDownLoader m_loader;
};

TEST_F(AsyncDownLoaderTest, RefusesWhatCannotBeQueued)
{
    const std::string strBase = Url("/");
    const std::string strLongest = strBase + std::string(ASYNC_DOWN_URL_SIZE - 1 - strBase.size(), 'u');
    const std::string strHeaders(ASYNC_DOWN_HEADER_SIZE - 1, 'h');
    EXPECT_EQ(0u, m_loader.AddTask(1, NULL, NULL, m_window.m_hWnd, kReportMessage));
    EXPECT_EQ(0u, m_loader.AddTask(1, "", NULL, m_window.m_hWnd, kReportMessage));
    EXPECT_EQ(0u, m_loader.AddTask(1, (strLongest + "u").c_str(), NULL, m_window.m_hWnd, kReportMessage));
    EXPECT_EQ(0u, m_loader.AddTask(1, strBase.c_str(), (strHeaders + "h").c_str(), m_window.m_hWnd, kReportMessage));
    EXPECT_TRUE(m_window.m_reports.empty());

    // The longest texts that fit are taken whole.
    std::vector<Report> reports = Run(2, strLongest);
    ASSERT_EQ(1u, reports.size());
    EXPECT_EQ(404, reports[0].lParam);
    EXPECT_EQ(strLongest, reports[0].strUrl);
    EXPECT_EQ(1, m_server.CountRequests(strLongest.substr(strBase.size() - 1)));
}

TEST_F(AsyncDownLoaderTest, IdsStartAtOneNeverZeroAndSkipIdsInUse)
{
    g_HttpTuning.dwAsyncTimeout = 20000;
    CHttpTestServer::Reply held;
    held.bNeverAnswer = true;
    m_server.SetReply("/held", held);

    EXPECT_EQ(1u, Add(10, Url("/held")));
    EXPECT_EQ(2u, Add(11, Url("/missing")));
    ASSERT_TRUE(m_window.WaitForFinal(11));
    ASSERT_TRUE(PumpUntil([&] { return m_loader.GetTaskCount() == 1; }));
    m_loader.SetIdCounter(0xFFFFFFFE);
    EXPECT_EQ(0xFFFFFFFFu, Add(12, Url("/missing")));
    EXPECT_EQ(2u, Add(13, Url("/missing"))); // 0 skipped, 1 still running
    ASSERT_TRUE(m_window.WaitForFinal(12));
    ASSERT_TRUE(m_window.WaitForFinal(13));
    m_server.OpenGate();
    ASSERT_TRUE(m_window.WaitForFinal(10));
    EXPECT_EQ((DWORD)ASYNC_DOWN_FAILED, m_window.FindFinal(10)->dwCode);
}

TEST_F(AsyncDownLoaderTest, ProgressThenFinishedWithTheWholeBody)
{
    const std::string strBody = CHttpTestServer::Pattern(10000);
    m_server.SetReply("/reward", CHttpTestServer::Ok(strBody));
    const std::string strUrl = Url("/reward?KindID=3&ID=1,2");

    std::vector<Report> reports = Run(77, strUrl);
    ASSERT_EQ(4u, reports.size());
    const DWORD expected[] = {4096, 8192, 10000};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ((DWORD)ASYNC_DOWN_PROGRESS, reports[i].dwCode);
        EXPECT_EQ(expected[i], reports[i].progress.dwReceived);
        EXPECT_EQ(10000u, reports[i].progress.dwContentLength);
    }
    const Report& finished = reports[3];
    EXPECT_EQ((DWORD)ASYNC_DOWN_FINISHED, finished.dwCode);
    EXPECT_EQ(strBody, finished.strBody);
    EXPECT_TRUE(finished.bTerminated);
    EXPECT_TRUE(finished.bReservedZero);
    EXPECT_EQ(strUrl, finished.strUrl);

    std::vector<CHttpTestServer::Request> requests = m_server.GetRequests();
    ASSERT_EQ(1u, requests.size());
    EXPECT_EQ("/reward?KindID=3&ID=1,2", requests[0].strTarget);
    EXPECT_NE(std::string::npos, requests[0].strHeaders.find("Content-Type: application/x-www-form-urlencoded"));
}

TEST_F(AsyncDownLoaderTest, BodyWithoutLengthAndEmptyBody)
{
    CHttpTestServer::Reply chunked = CHttpTestServer::Ok("<AWARD0><MATCH_REWARD_NAME>x</MATCH_REWARD_NAME></AWARD0>");
    chunked.framing = CHttpTestServer::framingChunked;
    chunked.nChunk = 10;
    m_server.SetReply("/chunked", chunked);
    m_server.SetReply("/empty", CHttpTestServer::Ok(""));

    std::vector<Report> reports = Run(1, Url("/chunked"));
    ASSERT_EQ(2u, reports.size());
    EXPECT_EQ(0u, reports[0].progress.dwContentLength);
    EXPECT_EQ(chunked.strBody, reports[1].strBody);
    EXPECT_TRUE(reports[1].bTerminated);

    reports = Run(2, Url("/empty"));
    ASSERT_EQ(1u, reports.size());
    EXPECT_EQ((DWORD)ASYNC_DOWN_FINISHED, reports[0].dwCode);
    EXPECT_EQ("", reports[0].strBody);
    EXPECT_TRUE(reports[0].bTerminated);
}

TEST_F(AsyncDownLoaderTest, FailuresGiveOneReportWithTheirCode)
{
    m_server.SetReply("/s404", CHttpTestServer::Status(404, "missing"));
    m_server.SetReply("/s500", CHttpTestServer::Status(500));
    m_server.SetReply("/s401", CHttpTestServer::Status(401));
    m_server.SetReply("/s307", CHttpTestServer::Redirect(307, Url("/s404")));
    CHttpTestServer::Reply cut = CHttpTestServer::Ok(CHttpTestServer::Pattern(10000));
    cut.nCutAfter = 5000;
    m_server.SetReply("/cut", cut);
    CHttpTestServer::Reply big = CHttpTestServer::Ok(CHttpTestServer::Pattern(3000));
    m_server.SetReply("/big", big);
    big.framing = CHttpTestServer::framingClose;
    m_server.SetReply("/bigclose", big);
    g_HttpTuning.dwMaxAsyncBody = 2000;

    struct
    {
        std::string strUrl;
        LPARAM lParam;
    } cases[] = {
        {Url("/s404"), 404},
        {Url("/s500"), 500},
        {Url("/s401"), 401},
        {Url("/s307"), 307},
        {Url("/cut"), 0},
        {Url("/big"), 0},
        {Url("/bigclose"), 0},
        {"https://127.0.0.1:" + std::to_string(m_server.GetPort()) + "/s404", 0},
        {"ftp://127.0.0.1/x", 0},
        {"not a url", 0},
        {"http://127.0.0.1:" + std::to_string(FindClosedPort()) + "/", 0},
    };
    DWORD dwUser = 100;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.strUrl);
        std::vector<Report> reports = Run(++dwUser, c.strUrl);
        ASSERT_FALSE(reports.empty());
        const Report& last = reports.back();
        EXPECT_EQ((DWORD)ASYNC_DOWN_FAILED, last.dwCode);
        EXPECT_EQ(c.lParam, last.lParam);
        if (c.lParam != 0) {
            EXPECT_EQ(1u, reports.size());
        }
    }
    EXPECT_EQ(0, m_server.CountRequests("/x"));
}

TEST_F(AsyncDownLoaderTest, RedirectsFollowAbsoluteHttpLocationsOnly)
{
    m_server.SetReply("/target", CHttpTestServer::Ok("arrived"));
    m_server.SetReply("/r301", CHttpTestServer::Redirect(301, Url("/target")));
    m_server.SetReply("/r302", CHttpTestServer::Redirect(302, Url("/target")));
    m_server.SetReply("/r303", CHttpTestServer::Redirect(303, Url("/r302")));
    m_server.SetReply("/relative", CHttpTestServer::Redirect(302, "/target"));
    m_server.SetReply("/secure", CHttpTestServer::Redirect(302, "https://127.0.0.1/target"));
    m_server.SetReply("/loop", CHttpTestServer::Redirect(302, Url("/loop")));

    DWORD dwUser = 200;
    for (const char* pszPath : {"/r301", "/r302", "/r303"}) {
        SCOPED_TRACE(pszPath);
        std::vector<Report> reports = Run(++dwUser, Url(pszPath));
        ASSERT_FALSE(reports.empty());
        EXPECT_EQ((DWORD)ASYNC_DOWN_FINISHED, reports.back().dwCode);
        EXPECT_EQ("arrived", reports.back().strBody);
        EXPECT_EQ(Url("/target"), reports.back().strUrl);
    }
    struct
    {
        const char* pszPath;
        const char* pszLastUrl;
    } refused[] = {{"/relative", "/target"}, {"/secure", "https://127.0.0.1/target"}, {"/loop", NULL}};
    for (const auto& c : refused) {
        SCOPED_TRACE(c.pszPath);
        std::vector<Report> reports = Run(++dwUser, Url(c.pszPath));
        ASSERT_EQ(1u, reports.size());
        EXPECT_EQ((DWORD)ASYNC_DOWN_FAILED, reports[0].dwCode);
        EXPECT_EQ(0, reports[0].lParam);
        if (c.pszLastUrl != NULL) {
            EXPECT_EQ(c.pszLastUrl, reports[0].strUrl);
        }
    }
    EXPECT_EQ(g_HttpTuning.nMaxRedirects + 1, m_server.CountRequests("/loop"));
    EXPECT_EQ(3, m_server.CountRequests("/target"));
}

TEST_F(AsyncDownLoaderTest, TaskWhoseWindowWentAwayRunsOnAndFreesItself)
{
    CHttpTestServer::Reply held = CHttpTestServer::Ok(CHttpTestServer::Pattern(10000));
    held.nHoldAfter = 4096;
    m_server.SetReply("/held", held);
    m_server.SetReply("/quiet", CHttpTestServer::Ok("no one hears"));

    ASSERT_NE(0u, Add(5, Url("/held")));
    ASSERT_TRUE(PumpUntil([&] { return !m_window.m_reports.empty(); }));
    m_window.Destroy();
    m_server.OpenGate();
    EXPECT_NE(0u, m_loader.AddTask(6, Url("/quiet").c_str(), NULL, NULL, kReportMessage));
    EXPECT_TRUE(PumpUntil([&] { return m_loader.GetTaskCount() == 0; }));
    ASSERT_EQ(1u, m_window.m_reports.size());
    EXPECT_EQ((DWORD)ASYNC_DOWN_PROGRESS, m_window.m_reports[0].dwCode);
    EXPECT_EQ(1, m_server.CountRequests("/quiet"));
}

TEST_F(AsyncDownLoaderTest, DestroyedMidReadReportsStoppedAndWaitsForTheWorker)
{
    // The held read ends at its short time-out once the loader stops.
    UseShortTimeouts();
    CHttpTestServer::Reply held = CHttpTestServer::Ok(CHttpTestServer::Pattern(10000));
    held.nHoldAfter = 4096;
    m_server.SetReply("/held", held);

    std::unique_ptr<CAsyncDownLoader> pLoader(new CAsyncDownLoader);
    ASSERT_NE(0u, pLoader->AddTask(9, Url("/held").c_str(), NULL, m_window.m_hWnd, kReportMessage));
    ASSERT_TRUE(PumpUntil([&] { return !m_window.m_reports.empty(); }));

    // The worker is blocked reading and will report to this thread, which is
    // the one waiting in the destructor.
    DWORD dwStart = GetTickCount();
    pLoader.reset();
    EXPECT_LT(GetTickCount() - dwStart, 20 * kShortTimeout);

    std::vector<Report> reports = m_window.ReportsOf(9);
    ASSERT_EQ(2u, reports.size());
    EXPECT_EQ((DWORD)ASYNC_DOWN_PROGRESS, reports[0].dwCode);
    EXPECT_EQ((DWORD)ASYNC_DOWN_STOPPED, reports[1].dwCode);
    EXPECT_EQ(0, reports[1].lParam);
}
} // namespace
