// The file download task: what it installs, what it refuses, and that the
// old file stays until a complete new one replaces it.
#include "UpdateFixture.h"

#include "FileInfo.h"

namespace
{
const DWORD kKind = 7;

struct Transfer
{
    Report report;
    int nError = -1;
};

class FileTaskTest : public UpdateFixture
{
protected:
    void SetUp() override
    {
        UpdateFixture::SetUp();
        m_strLocal = Work("target.ini");
        WriteBytes(m_strLocal, "old content");
    }

    Transfer Run(const std::string& strUrl)
    {
        Transfer result;
        CFileInfo task(NULL, m_hWnd, kKind);
        EXPECT_TRUE(task.SetTarget(strUrl.c_str(), m_strLocal, m_strLocal + ".temp"));
        EXPECT_TRUE(task.StartThead());
        result.report = WaitReport();
        EXPECT_TRUE(task.WaitEnded(kReportWait));
        result.nError = task.GetErrorCode();
        EXPECT_EQ(CString(CFileInfo::ErrorText(result.nError)), task.GetErrorText());
        return result;
    }

    CString m_strLocal;
};

TEST_F(FileTaskTest, CompleteDownloadReplacesTheFile)
{
    // Several blocks, so that misplaced ones would show.
    std::string strBody = FileBody("new") + CHttpTestServer::Pattern(100000);
    m_server.SetReply("/f/target.ini", CHttpTestServer::Ok(strBody));
    Transfer result = Run(Url("/f/target.ini"));
    EXPECT_EQ((UINT)WM_UPDATE_FINISHED, result.report.uMessage);
    EXPECT_EQ(kKind, result.report.wParam);
    EXPECT_EQ(0, result.report.lParam);
    EXPECT_EQ(CFileInfo::errNone, result.nError);
    EXPECT_TRUE(ReadBytes(m_strLocal) == strBody);
    EXPECT_FALSE(Exists(m_strLocal + ".temp"));
}

TEST_F(FileTaskTest, OldFileStaysWhileTheBodyIsComing)
{
    std::string strBody = FileBody("new") + CHttpTestServer::Pattern(20000);
    CHttpTestServer::Reply reply = CHttpTestServer::Ok(strBody);
    reply.nHoldAfter = 9000;
    m_server.SetReply("/f/target.ini", reply);

    CFileInfo task(NULL, m_hWnd, kKind);
    ASSERT_TRUE(task.SetTarget(Url("/f/target.ini").c_str(), m_strLocal, m_strLocal + ".temp"));
    ASSERT_TRUE(task.StartThead());
    // The part that came is in the temporary file only.
    WaitFor([&] { return Exists(m_strLocal + ".temp"); }, kReportWait);
    EXPECT_TRUE(Exists(m_strLocal + ".temp"));
    EXPECT_TRUE(ReadBytes(m_strLocal) == "old content");
    m_server.OpenGate();
    EXPECT_EQ((UINT)WM_UPDATE_FINISHED, WaitReport().uMessage);
    EXPECT_TRUE(ReadBytes(m_strLocal) == strBody);
}

struct RefusedCase
{
    const char* pszName;
    CHttpTestServer::Reply reply;
};

TEST_F(FileTaskTest, RefusedOrBrokenDownloadKeepsTheOldFile)
{
    std::string strBody = FileBody("new");
    auto WithFraming = [&](CHttpTestServer::Framing framing) {
        CHttpTestServer::Reply reply = CHttpTestServer::Ok(strBody);
        reply.framing = framing;
        return reply;
    };
    auto CutAfter = [&](size_t n) {
        CHttpTestServer::Reply reply = CHttpTestServer::Ok(strBody);
        reply.nCutAfter = n;
        return reply;
    };
    const RefusedCase cases[] = {
        {"not found", CHttpTestServer::Status(404, strBody)},
        {"server error", CHttpTestServer::Status(500, strBody)},
        {"html page", CHttpTestServer::Ok("<html><head><title>Proxy error</title></head><body>gateway</body></html>")},
        {"html page in capitals", CHttpTestServer::Ok("<HTML><BODY>The page cannot be found</BODY></HTML>")},
        {"doctype page", CHttpTestServer::Ok("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\"><html></html>")},
        {"body under 22 bytes", CHttpTestServer::Ok("[Public]\r\nversion=2")},
        {"empty body", CHttpTestServer::Ok("")},
        {"no length", WithFraming(CHttpTestServer::framingClose)},
        {"chunked without length", WithFraming(CHttpTestServer::framingChunked)},
        {"cut inside the first block", CutAfter(1000)},
        {"cut after the first block", CutAfter(4500)},
    };
    for (const RefusedCase& c : cases) {
        SCOPED_TRACE(c.pszName);
        m_server.SetReply("/f/target.ini", c.reply);
        Transfer result = Run(Url("/f/target.ini"));
        EXPECT_EQ((UINT)WM_UPDATE_FAILED, result.report.uMessage);
        EXPECT_EQ(kKind, result.report.wParam);
        EXPECT_EQ(0, result.report.lParam);
        EXPECT_EQ(CFileInfo::errServerFile, result.nError);
        EXPECT_TRUE(ReadBytes(m_strLocal) == "old content");
        EXPECT_FALSE(Exists(m_strLocal + ".temp"));
    }
}

TEST_F(FileTaskTest, UnreachableServerOrForeignUrlFails)
{
    char szClosed[64];
    sprintf(szClosed, "http://127.0.0.1:%u/f/target.ini", FindClosedPort());
    for (const std::string& strUrl :
         {std::string(szClosed), std::string("ftp://127.0.0.1/target.ini"), std::string("not a url")}) {
        SCOPED_TRACE(strUrl);
        Transfer result = Run(strUrl);
        EXPECT_EQ((UINT)WM_UPDATE_FAILED, result.report.uMessage);
        EXPECT_EQ(CFileInfo::errServerFile, result.nError);
        EXPECT_TRUE(ReadBytes(m_strLocal) == "old content");
    }
}

TEST_F(FileTaskTest, FailedRenameKeepsTheOldFile)
{
    m_server.SetReply("/f/target.ini", CHttpTestServer::Ok(FileBody("new")));

    // A folder where the file should be cannot be replaced by it.
    m_strLocal = Work("folder.ini");
    ASSERT_TRUE(CreateDirectoryA(m_strLocal, NULL));
    WriteBytes(m_strLocal + "\\inside.txt", "kept");
    Transfer result = Run(Url("/f/target.ini"));
    EXPECT_EQ((UINT)WM_UPDATE_FAILED, result.report.uMessage);
    EXPECT_EQ(CFileInfo::errLocalFile, result.nError);
    EXPECT_EQ("kept", ReadBytes(m_strLocal + "\\inside.txt"));
    EXPECT_FALSE(Exists(m_strLocal + ".temp"));
}

TEST_F(FileTaskTest, OldFileInUseIsNotLost)
{
    m_server.SetReply("/f/target.ini", CHttpTestServer::Ok(FileBody("new")));
    // Someone reads the old file and lets it be deleted meanwhile: a delete
    // would succeed, but the new file cannot take its place yet.
    HANDLE hReader = CreateFileA(m_strLocal, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL,
                                 OPEN_EXISTING, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, hReader);
    Transfer result = Run(Url("/f/target.ini"));
    CloseHandle(hReader);
    EXPECT_EQ((UINT)WM_UPDATE_FAILED, result.report.uMessage);
    EXPECT_EQ(CFileInfo::errLocalFile, result.nError);
    EXPECT_TRUE(ReadBytes(m_strLocal) == "old content");
    EXPECT_FALSE(Exists(m_strLocal + ".temp"));
}

TEST_F(FileTaskTest, TextsThatDoNotFitAreRefused)
{
    CFileInfo task(NULL, m_hWnd, kKind);
    std::string strLong(259, 'a');
    EXPECT_TRUE(task.SetTarget(("http://h/" + std::string(250, 'u')).c_str(), "C:\\a", "C:\\a.temp"));
    EXPECT_FALSE(task.SetTarget(("http://h/" + strLong).c_str(), "C:\\a", "C:\\a.temp"));
    EXPECT_FALSE(task.SetTarget("http://h/x", ("C:\\" + strLong).c_str(), "C:\\a.temp"));
    EXPECT_FALSE(task.SetTarget("http://h/x", "", ".temp"));
}
} // namespace
