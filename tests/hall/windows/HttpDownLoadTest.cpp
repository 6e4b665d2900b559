// The blocking download helper, both builds, against the local server.
#include "HttpFixture.h"

#include "FaceHttpDownLoad.h"
#include "HttpDownLoad.h"

#include <stdio.h>

#include <string>
#include <vector>

namespace
{
// A memory stream that records the size of every write.
class CRecordingFile : public CMemFile
{
public:
    CRecordingFile() : CMemFile(1024) {}
    void Write(const void* lpBuf, UINT nCount) override
    {
        m_writes.push_back(nCount);
        CMemFile::Write(lpBuf, nCount);
    }
    std::string Contents()
    {
        ULONGLONG nLength = GetLength();
        std::string s((size_t)nLength, '\0');
        SeekToBegin();
        Read(&s[0], (UINT)nLength);
        return s;
    }
    std::vector<UINT> m_writes;
};

class CTestHttpDownLoad : public CHttpDownLoad
{
public:
    using CHttpDownLoadBase::OnRequestError;
    using CHttpDownLoadBase::ResolveLocation;
    CHttpFile* GetRequest() const { return m_pFile; }
    CInternetSession* GetSession() const { return m_pSession; }
};

class HttpDownLoadTest : public HttpFixture
{
protected:
    void SetUp() override
    {
        HttpFixture::SetUp();
        char szTemp[MAX_PATH];
        GetTempPathA(MAX_PATH, szTemp);
        m_strFolder = std::string(szTemp) + "h8dl" + std::to_string(GetCurrentProcessId()) + "\\";
        CreateDirectoryA(m_strFolder.c_str(), NULL);
    }

    void TearDown() override
    {
        for (const std::string& strFile : m_files)
            DeleteFileA(strFile.c_str());
        RemoveDirectoryA(m_strFolder.c_str());
        HttpFixture::TearDown();
    }

    std::string TempFile(const char* pszName)
    {
        m_files.push_back(m_strFolder + pszName);
        return m_files.back();
    }

    static std::string ReadFileText(const std::string& strPath)
    {
        std::string s;
        FILE* pFile = fopen(strPath.c_str(), "rb");
        if (pFile == NULL)
            return "<missing>";
        char block[4096];
        size_t n;
        while ((n = fread(block, 1, sizeof(block), pFile)) > 0)
            s.append(block, n);
        fclose(pFile);
        return s;
    }

    std::string m_strFolder;
    std::vector<std::string> m_files;
};

TEST_F(HttpDownLoadTest, ServiceTypeOfEachKindOfText)
{
    std::string strLocal = TempFile("local.txt");
    FILE* pFile = fopen(strLocal.c_str(), "wb");
    fclose(pFile);
    struct
    {
        std::string strText;
        DWORD dwType;
    } cases[] = {
        {Url("/x"), AFX_INET_SERVICE_HTTP},          {"https://127.0.0.1/x", AFX_INET_SERVICE_HTTPS},
        {"ftp://127.0.0.1/x", AFX_INET_SERVICE_FTP}, {strLocal, AFX_INET_SERVICE_FILE},
        {"no url at all", AFX_INET_SERVICE_FILE},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.dwType, CHttpDownLoad::GetServiceType(c.strText.c_str())) << c.strText;
    EXPECT_EQ((DWORD)AFX_INET_SERVICE_FILE, CHttpDownLoad::GetServiceType(NULL));
}

TEST_F(HttpDownLoadTest, NonWebTextsAreRefusedBeforeAnyConnection)
{
    std::string strLocal = TempFile("exists.txt");
    FILE* pFile = fopen(strLocal.c_str(), "wb");
    fclose(pFile);
    std::string strTarget = TempFile("target.bin");
    const std::string texts[] = {"ftp://127.0.0.1:" + std::to_string(m_server.GetPort()) + "/x", strLocal,
                                 "no url at all", ""};
    for (const std::string& strText : texts) {
        SCOPED_TRACE(strText);
        CHttpDownLoad notice;
        EXPECT_FALSE(notice.DownloadToMemory(strText.c_str()));
        EXPECT_EQ(0u, notice.GetErrorCode());
        EXPECT_FALSE(notice.DownloadToFile(strText.c_str(), strTarget.c_str()));
        CFaceHttpDownLoad face;
        CMemFile stream;
        EXPECT_FALSE(face.DownloadToStream(strText.c_str(), &stream));
        EXPECT_FALSE(face.DownloadBatchToStream(strText.c_str(), &stream));
    }
    EXPECT_EQ(0u, m_server.GetRequests().size());
}

TEST_F(HttpDownLoadTest, MemoryDownloadTakesEveryFraming)
{
    const std::string strBody = CHttpTestServer::Pattern(2500);
    struct
    {
        const char* pszName;
        CHttpTestServer::Framing framing;
        size_t nPiece;
        DWORD dwPieceDelay;
    } cases[] = {
        {"length", CHttpTestServer::framingLength, 0, 0},
        {"no-length", CHttpTestServer::framingClose, 0, 0},
        {"chunked", CHttpTestServer::framingChunked, 0, 0},
        {"slow", CHttpTestServer::framingLength, 300, 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszName);
        CHttpTestServer::Reply reply = CHttpTestServer::Ok(strBody);
        reply.framing = c.framing;
        reply.nChunk = 700;
        reply.nPiece = c.nPiece;
        reply.dwPieceDelay = c.dwPieceDelay;
        m_server.SetReply(std::string("/") + c.pszName, reply);

        CHttpDownLoad download;
        ASSERT_TRUE(download.DownloadToMemory(Url(std::string("/") + c.pszName).c_str()));
        EXPECT_EQ(200u, download.GetErrorCode());
        ASSERT_EQ(2500u, download.GetSize());
        EXPECT_EQ(strBody, std::string((const char*)download.GetData(), download.GetSize()));
        EXPECT_EQ(0, download.GetData()[2500]);
    }
}

TEST_F(HttpDownLoadTest, EmptyBodyIsASuccessWithNoBytes)
{
    m_server.SetReply("/empty", CHttpTestServer::Ok(""));
    CHttpDownLoad download;
    ASSERT_TRUE(download.DownloadToMemory(Url("/empty").c_str()));
    EXPECT_EQ(0u, download.GetSize());
    ASSERT_NE(nullptr, download.GetData());
    EXPECT_EQ(0, download.GetData()[0]);
    download.Reset();
    EXPECT_EQ(nullptr, download.GetData());
    EXPECT_EQ(200u, download.GetErrorCode());
}

TEST_F(HttpDownLoadTest, StatusOtherThan200FailsWithItsCode)
{
    std::string strTarget = TempFile("status.bin");
    for (int nStatus : {404, 500, 401, 403}) {
        SCOPED_TRACE(nStatus);
        m_server.SetReply("/s", CHttpTestServer::Status(nStatus, "error page"));
        CHttpDownLoad download;
        EXPECT_FALSE(download.DownloadToMemory(Url("/s").c_str()));
        EXPECT_EQ((DWORD)nStatus, download.GetErrorCode());
        EXPECT_EQ(nullptr, download.GetData());
        EXPECT_EQ(0u, download.GetSize());
        EXPECT_FALSE(download.DownloadToFile(Url("/s").c_str(), strTarget.c_str()));
        CFaceHttpDownLoad face;
        CMemFile stream;
        EXPECT_FALSE(face.DownloadToStream(Url("/s").c_str(), &stream));
        EXPECT_EQ(0u, stream.GetLength());
    }
}

TEST_F(HttpDownLoadTest, FileHoldsExactlyTheBody)
{
    const std::string strBody = CHttpTestServer::Pattern(2500);
    m_server.SetReply("/pic.jpg", CHttpTestServer::Ok(strBody));
    std::string strTarget = TempFile("pic.jpg.tmp");
    FILE* pOld = fopen(strTarget.c_str(), "wb");
    fputs(std::string(5000, 'o').c_str(), pOld);
    fclose(pOld);

    CHttpDownLoad download;
    ASSERT_TRUE(download.DownloadToFile(Url("/pic.jpg").c_str(), strTarget.c_str()));
    EXPECT_EQ(strBody, ReadFileText(strTarget));

    std::string strNoFolder = m_strFolder + "missing\\x.jpg";
    EXPECT_FALSE(download.DownloadToFile(Url("/pic.jpg").c_str(), strNoFolder.c_str()));
}

TEST_F(HttpDownLoadTest, StreamGetsBlocksOf1024AndStaysOpen)
{
    const std::string strBody = CHttpTestServer::Pattern(2500);
    m_server.SetReply("/face.png", CHttpTestServer::Ok(strBody));
    CFaceHttpDownLoad download;
    CRecordingFile stream;
    ASSERT_TRUE(download.DownloadToStream(Url("/face.png").c_str(), &stream));
    EXPECT_EQ((std::vector<UINT>{1024, 1024, 452}), stream.m_writes);
    EXPECT_EQ(2500u, stream.GetPosition());
    EXPECT_EQ(strBody, stream.Contents());
}

TEST_F(HttpDownLoadTest, BodyCutShortIsAFailureForEveryTarget)
{
    CHttpTestServer::Reply cut = CHttpTestServer::Ok(CHttpTestServer::Pattern(5000));
    cut.nCutAfter = 3000;
    m_server.SetReply("/cut", cut);
    CHttpTestServer::Reply overAnnounced = CHttpTestServer::Ok(CHttpTestServer::Pattern(3000));
    overAnnounced.nAnnounced = 5000;
    m_server.SetReply("/over", overAnnounced);

    for (const char* pszPath : {"/cut", "/over"}) {
        SCOPED_TRACE(pszPath);
        std::string strUrl = Url(pszPath);
        CHttpDownLoad memory;
        EXPECT_FALSE(memory.DownloadToMemory(strUrl.c_str()));
        EXPECT_EQ(nullptr, memory.GetData());
        CHttpDownLoad file;
        EXPECT_FALSE(file.DownloadToFile(strUrl.c_str(), TempFile("cut.bin").c_str()));
        CFaceHttpDownLoad face;
        CMemFile stream;
        EXPECT_FALSE(face.DownloadToStream(strUrl.c_str(), &stream));
        CFaceHttpDownLoad batch;
        CMemFile batchStream;
        EXPECT_FALSE(batch.DownloadBatchToStream(strUrl.c_str(), &batchStream));
    }
}

TEST_F(HttpDownLoadTest, FailedDownloadLeavesTheFileThatWasThere)
{
    CHttpTestServer::Reply cut = CHttpTestServer::Ok(CHttpTestServer::Pattern(5000));
    cut.nCutAfter = 3000;
    m_server.SetReply("/cut", cut);
    std::string strTarget = TempFile("kept.png");
    TempFile("kept.png.part");
    FILE* pOld = fopen(strTarget.c_str(), "wb");
    fputs("the good one", pOld);
    fclose(pOld);

    CHttpDownLoad download;
    EXPECT_FALSE(download.DownloadToFile(Url("/cut").c_str(), strTarget.c_str()));
    EXPECT_EQ("the good one", ReadFileText(strTarget));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((strTarget + ".part").c_str()));
}

TEST_F(HttpDownLoadTest, BodyPastTheBoundIsRefused)
{
    g_HttpTuning.dwMaxHelperBody = 2000;
    CHttpTestServer::Reply announced = CHttpTestServer::Ok(CHttpTestServer::Pattern(2500));
    m_server.SetReply("/big", announced);
    CHttpTestServer::Reply chunked = announced;
    chunked.framing = CHttpTestServer::framingChunked;
    chunked.nChunk = 500;
    m_server.SetReply("/bigchunked", chunked);
    m_server.SetReply("/small", CHttpTestServer::Ok(CHttpTestServer::Pattern(2000)));

    CHttpDownLoad download;
    EXPECT_FALSE(download.DownloadToMemory(Url("/big").c_str()));
    EXPECT_FALSE(download.DownloadToMemory(Url("/bigchunked").c_str()));
    CFaceHttpDownLoad face;
    CMemFile stream;
    EXPECT_FALSE(face.DownloadToStream(Url("/bigchunked").c_str(), &stream));
    EXPECT_TRUE(download.DownloadToMemory(Url("/small").c_str()));
}

TEST_F(HttpDownLoadTest, SilentServerCostsThreeSendsThenFails)
{
    UseShortTimeouts();
    CHttpTestServer::Reply silent;
    silent.bNeverAnswer = true;
    m_server.SetReply("/silent", silent);

    DWORD dwStart = GetTickCount();
    CHttpDownLoad download;
    EXPECT_FALSE(download.DownloadToMemory(Url("/silent").c_str()));
    EXPECT_EQ(0u, download.GetErrorCode());
    EXPECT_LT(GetTickCount() - dwStart, 20 * kShortTimeout);
    EXPECT_EQ(3, m_server.CountRequests("/silent"));
}

TEST_F(HttpDownLoadTest, ClosedPortFailsWithNoStatus)
{
    CHttpDownLoad download;
    std::string strUrl = "http://127.0.0.1:" + std::to_string(FindClosedPort()) + "/x";
    EXPECT_FALSE(download.DownloadToMemory(strUrl.c_str()));
    EXPECT_EQ(0u, download.GetErrorCode());
}

TEST_F(HttpDownLoadTest, OpenStartsFromEmptyEachTime)
{
    m_server.SetReply("/one", CHttpTestServer::Status(404));
    m_server.SetReply("/two", CHttpTestServer::Ok("second"));
    CTestHttpDownLoad download;
    ASSERT_TRUE(download.Open(Url("/one").c_str()));
    ASSERT_TRUE(download.Open(Url("/two").c_str()));
    EXPECT_NE(nullptr, download.GetRequest());
    DWORD dwStatus = 0;
    download.GetRequest()->QueryInfoStatusCode(dwStatus);
    EXPECT_EQ(200u, dwStatus);

    // A failed Open leaves nothing behind that would fail the next one.
    EXPECT_FALSE(download.Open("no url at all"));
    EXPECT_EQ(nullptr, download.GetSession());
    EXPECT_TRUE(download.DownloadToMemory(Url("/two").c_str()));
    EXPECT_EQ("second", std::string((const char*)download.GetData()));
}

TEST_F(HttpDownLoadTest, RedirectsAreFollowedWithinTheBound)
{
    CHttpTestServer other;
    ASSERT_TRUE(other.Start());
    other.SetReply("/elsewhere", CHttpTestServer::Ok("moved body"));
    m_server.SetReply("/target", CHttpTestServer::Ok("target body"));
    m_server.SetReply("/dir/target2", CHttpTestServer::Ok("relative body"));
    m_server.SetReply("/abs", CHttpTestServer::Redirect(302, Url("/target")));
    m_server.SetReply("/rooted", CHttpTestServer::Redirect(301, "/target"));
    m_server.SetReply("/dir/rel", CHttpTestServer::Redirect(303, "target2"));
    m_server.SetReply("/temp", CHttpTestServer::Redirect(307, "/target"));
    m_server.SetReply("/away", CHttpTestServer::Redirect(302, other.Url("/elsewhere")));
    m_server.SetReply("/loop", CHttpTestServer::Redirect(302, "/loop"));
    m_server.SetReply("/down", CHttpTestServer::Redirect(302, "ftp://127.0.0.1/x"));

    struct
    {
        const char* pszPath;
        const char* pszBody; // NULL: refused
    } cases[] = {
        {"/abs", "target body"},  {"/rooted", "target body"}, {"/dir/rel", "relative body"},
        {"/temp", "target body"}, {"/away", "moved body"},    {"/loop", NULL},
        {"/down", NULL},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszPath);
        CHttpDownLoad download;
        if (c.pszBody == NULL) {
            EXPECT_FALSE(download.DownloadToMemory(Url(c.pszPath).c_str()));
            EXPECT_EQ(302u, download.GetErrorCode());
        } else {
            ASSERT_TRUE(download.DownloadToMemory(Url(c.pszPath).c_str()));
            EXPECT_STREQ(c.pszBody, (const char*)download.GetData());
        }
    }
    EXPECT_EQ(g_HttpTuning.nMaxRedirects + 1, m_server.CountRequests("/loop"));

    // A batch stays on its server.
    CFaceHttpDownLoad batch;
    CMemFile stream;
    EXPECT_TRUE(batch.DownloadBatchToStream(Url("/abs").c_str(), &stream));
    EXPECT_FALSE(batch.DownloadBatchToStream(Url("/away").c_str(), &stream));
    EXPECT_EQ(1u, other.GetRequests().size());
    other.Stop();
}

TEST(HttpLocationTest, RelativeLocationsResolveAgainstTheRequest)
{
    struct
    {
        const char* pszBase;
        const char* pszLocation;
        const char* pszTarget; // NULL: no URL
    } cases[] = {
        {"http://h:81/a/b?q=1", "http://x/y", "http://x/y"},
        {"http://h:81/a/b?q=1", "/c", "http://h:81/c"},
        {"http://h:81/a/b?q=1", "c", "http://h:81/a/c"},
        {"http://h:81?q", "c", "http://h:81/c"},
        {"https://h/a/b", "//g/p", "https://g/p"},
        {"http://h/a", "  ", NULL},
        {"not a url", "/c", NULL},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.pszBase) + " + " + c.pszLocation);
        CString strTarget;
        BOOL bResolved = CTestHttpDownLoad::ResolveLocation(c.pszBase, c.pszLocation, strTarget);
        EXPECT_EQ(c.pszTarget != NULL, !!bResolved);
        if (c.pszTarget != NULL) {
            EXPECT_STREQ(c.pszTarget, strTarget);
        }
    }
}

TEST_F(HttpDownLoadTest, BatchUsesOneConnectionAndRefusesOtherServers)
{
    m_server.SetReply("/faces/a.png", CHttpTestServer::Ok("face a"));
    m_server.SetReply("/faces/b.png", CHttpTestServer::Ok("face b"));
    CHttpTestServer other;
    ASSERT_TRUE(other.Start());
    other.SetReply("/faces/c.png", CHttpTestServer::Ok("face c"));

    CFaceHttpDownLoad batch;
    CMemFile first, second, third;
    ASSERT_TRUE(batch.DownloadBatchToStream(Url("/faces/a.png").c_str(), &first));
    ASSERT_TRUE(batch.DownloadBatchToStream(Url("/faces/b.png").c_str(), &second));
    EXPECT_EQ(6u, first.GetLength());
    EXPECT_EQ(6u, second.GetLength());
    EXPECT_FALSE(batch.DownloadBatchToStream(other.Url("/faces/c.png").c_str(), &third));
    EXPECT_EQ(0u, third.GetLength());

    std::vector<CHttpTestServer::Request> requests = m_server.GetRequests();
    ASSERT_EQ(2u, requests.size());
    EXPECT_EQ("/faces/a.png", requests[0].strTarget);
    EXPECT_EQ("/faces/b.png", requests[1].strTarget);
    EXPECT_EQ(requests[0].nConnection, requests[1].nConnection);
    EXPECT_EQ(0u, other.GetRequests().size());
    other.Stop();

    // After a Reset the batch may start on another server.
    batch.Reset();
    EXPECT_TRUE(batch.Connect(Url("/faces/a.png").c_str()));
    EXPECT_TRUE(batch.Connect(Url("/faces/other.png").c_str()));
    EXPECT_FALSE(batch.Connect("https://127.0.0.1/faces/a.png"));
}

TEST_F(HttpDownLoadTest, CertificateErrorsAreNeverRetriedOrRelaxed)
{
    m_server.SetReply("/any", CHttpTestServer::Ok("x"));
    CTestHttpDownLoad download;
    ASSERT_TRUE(download.Open(Url("/any").c_str()));
    DWORD dwFlagsBefore = 0;
    download.GetRequest()->QueryOption(INTERNET_OPTION_SECURITY_FLAGS, dwFlagsBefore);

    struct
    {
        DWORD dwError;
        BOOL bAgain;
    } cases[] = {
        {ERROR_INTERNET_INVALID_CA, FALSE},
        {ERROR_INTERNET_SEC_CERT_DATE_INVALID, FALSE},
        {ERROR_INTERNET_SEC_CERT_CN_INVALID, FALSE},
        {ERROR_INTERNET_SEC_CERT_REVOKED, FALSE},
        {ERROR_INTERNET_INVALID_URL, FALSE},
        {ERROR_INTERNET_CANNOT_CONNECT, TRUE},
        {ERROR_INTERNET_TIMEOUT, TRUE},
        {ERROR_INTERNET_CONNECTION_ABORTED, TRUE},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.bAgain, download.OnRequestError(download.GetRequest(), new CInternetException(c.dwError)))
            << c.dwError;
    }
    EXPECT_FALSE(download.OnRequestError(download.GetRequest(), new CFileException(CFileException::genericException)));

    DWORD dwFlagsAfter = 0;
    download.GetRequest()->QueryOption(INTERNET_OPTION_SECURITY_FLAGS, dwFlagsAfter);
    EXPECT_EQ(dwFlagsBefore, dwFlagsAfter);
}
} // namespace
