// The class library's internet classes against the local server.
#include "HttpFixture.h"

#include <afxinet.h>

#include <memory>
#include <string>

namespace
{
struct ParseCase
{
    const char* pszUrl;
    BOOL bResult;
    DWORD dwServiceType;
    const char* pszServer;
    const char* pszObject;
    INTERNET_PORT nPort;
};

const ParseCase g_parseCases[] = {
    {"http://127.0.0.1:8080/a/b?x=1#part", TRUE, AFX_INET_SERVICE_HTTP, "127.0.0.1", "/a/b?x=1", 8080},
    {"https://Example.com", TRUE, AFX_INET_SERVICE_HTTPS, "Example.com", "/", 443},
    {"HTTP://host?q=1", TRUE, AFX_INET_SERVICE_HTTP, "host", "/?q=1", 80},
    {"http://user:pw@host:81/f", TRUE, AFX_INET_SERVICE_HTTP, "host", "/f", 81},
    {"http://[::1]:8080/x", TRUE, AFX_INET_SERVICE_HTTP, "[::1]", "/x", 8080},
    {"  http://host/sp ace/中", TRUE, AFX_INET_SERVICE_HTTP, "host", "/sp%20ace/%D6%D0", 80},
    {"ftp://files.host/x", TRUE, AFX_INET_SERVICE_FTP, "files.host", "/x", 21},
    {"file:///C:/dir/x.txt", TRUE, AFX_INET_SERVICE_FILE, "", "/C:/dir/x.txt", 0},
    {"foo://bar/", TRUE, AFX_INET_SERVICE_UNK, "bar", "/", 0},
    {"", FALSE, AFX_INET_SERVICE_UNK, "", "", 0},
    {"not a url", FALSE, AFX_INET_SERVICE_UNK, "", "", 0},
    {"C:\\dir\\file.txt", FALSE, AFX_INET_SERVICE_UNK, "", "", 0},
    {"/relative/path.png", FALSE, AFX_INET_SERVICE_UNK, "", "", 0},
    {"http:/host/x", FALSE, AFX_INET_SERVICE_UNK, "", "", 0},
    {"http://", FALSE, AFX_INET_SERVICE_UNK, "", "", 0},
    {"http://host:0/", FALSE, AFX_INET_SERVICE_UNK, "", "", 0},
    {"http://host:65536/", FALSE, AFX_INET_SERVICE_UNK, "", "", 0},
    {"http://host:8a/", FALSE, AFX_INET_SERVICE_UNK, "", "", 0},
    {"http://ho st/", FALSE, AFX_INET_SERVICE_UNK, "", "", 0},
    {"http://[::1/", FALSE, AFX_INET_SERVICE_UNK, "", "", 0},
};

TEST(AfxParseURLTest, SplitsOrRefusesEachForm)
{
    for (const ParseCase& c : g_parseCases) {
        SCOPED_TRACE(c.pszUrl);
        DWORD dwServiceType = 12345;
        CString strServer = "stale", strObject = "stale";
        INTERNET_PORT nPort = 1;
        EXPECT_EQ(c.bResult, AfxParseURL(c.pszUrl, dwServiceType, strServer, strObject, nPort));
        EXPECT_EQ(c.dwServiceType, dwServiceType);
        EXPECT_STREQ(c.pszServer, strServer);
        EXPECT_STREQ(c.pszObject, strObject);
        EXPECT_EQ(c.nPort, nPort);
    }
}

TEST(AfxParseURLTest, RefusesNullAndOverlongText)
{
    DWORD dwServiceType;
    CString strServer, strObject;
    INTERNET_PORT nPort;
    EXPECT_FALSE(AfxParseURL(NULL, dwServiceType, strServer, strObject, nPort));
    std::string strLong = "http://host/" + std::string(INTERNET_MAX_URL_LENGTH, 'a');
    EXPECT_FALSE(AfxParseURL(strLong.c_str(), dwServiceType, strServer, strObject, nPort));
}

TEST(InternetExceptionTest, CarriesErrorAndContext)
{
    try {
        AfxThrowInternetException(7, ERROR_INTERNET_CANNOT_CONNECT);
        FAIL();
    } catch (CException* pException) {
        CInternetException* pInternet = DYNAMIC_DOWNCAST(CInternetException, pException);
        ASSERT_NE(nullptr, pInternet);
        EXPECT_EQ((DWORD)ERROR_INTERNET_CANNOT_CONNECT, pInternet->m_dwError);
        EXPECT_EQ((DWORD_PTR)7, pInternet->m_dwContext);
        pException->Delete();
    }

    SetLastError(ERROR_INTERNET_TIMEOUT);
    try {
        AfxThrowInternetException(1);
    } catch (CInternetException* pException) {
        EXPECT_EQ((DWORD)ERROR_INTERNET_TIMEOUT, pException->m_dwError);
        pException->Delete();
    }
}

TEST(InternetExceptionTest, MessageFitsTheCallersRoom)
{
    CInternetException exception(ERROR_INTERNET_CANNOT_CONNECT);
    char szFull[512];
    ASSERT_TRUE(exception.GetErrorMessage(szFull, sizeof(szFull)));
    size_t nFull = strlen(szFull);
    ASSERT_GT(nFull, 4u);
    EXPECT_NE('\n', szFull[nFull - 1]);

    char szShort[5];
    memset(szShort, 'x', sizeof(szShort));
    UINT nHelp = 99;
    exception.GetErrorMessage(szShort, sizeof(szShort), &nHelp);
    EXPECT_LT(strlen(szShort), sizeof(szShort));
    EXPECT_EQ(0u, nHelp);
}

class InternetSessionTest : public HttpFixture
{
protected:
    std::unique_ptr<CHttpConnection> Connect(CInternetSession& session)
    {
        return std::unique_ptr<CHttpConnection>(session.GetHttpConnection("127.0.0.1", m_server.GetPort()));
    }

    static std::string ReadAll(CHttpFile& file)
    {
        std::string strBody;
        char block[333];
        UINT n;
        while ((n = file.Read(block, sizeof(block))) > 0)
            strBody.append(block, n);
        return strBody;
    }
};

TEST_F(InternetSessionTest, GetsStatusHeadersAndBody)
{
    CHttpTestServer::Reply reply = CHttpTestServer::Ok("hello there");
    reply.extraHeaders.push_back("Content-Type: text/plain");
    m_server.SetReply("/page", reply);

    CInternetSession session;
    std::unique_ptr<CHttpConnection> pConnection = Connect(session);
    std::unique_ptr<CHttpFile> pFile(pConnection->OpenRequest(CHttpConnection::HTTP_VERB_GET, "/page"));
    EXPECT_TRUE(pFile->SendRequest("X-Asked: 1\r\n"));

    DWORD dwStatus = 0;
    EXPECT_TRUE(pFile->QueryInfoStatusCode(dwStatus));
    EXPECT_EQ(200u, dwStatus);
    CString strType;
    EXPECT_TRUE(pFile->QueryInfo(HTTP_QUERY_CONTENT_TYPE, strType));
    EXPECT_STREQ("text/plain", strType);
    DWORD dwLength = 0;
    EXPECT_TRUE(pFile->QueryInfo(HTTP_QUERY_CONTENT_LENGTH, dwLength));
    EXPECT_EQ(11u, dwLength);
    CString strLocation;
    EXPECT_FALSE(pFile->QueryInfo(HTTP_QUERY_LOCATION, strLocation));
    EXPECT_EQ("hello there", ReadAll(*pFile));
    EXPECT_EQ(0u, pFile->Read(nullptr, 0));

    std::vector<CHttpTestServer::Request> requests = m_server.GetRequests();
    ASSERT_EQ(1u, requests.size());
    EXPECT_EQ("GET", requests[0].strMethod);
    EXPECT_NE(std::string::npos, requests[0].strHeaders.find("X-Asked: 1"));
}

TEST_F(InternetSessionTest, LongHeaderValueIsReadWhole)
{
    std::string strLong(3000, 'L');
    m_server.SetReply("/long", CHttpTestServer::Redirect(302, "http://127.0.0.1/" + strLong));
    CInternetSession session;
    std::unique_ptr<CHttpConnection> pConnection = Connect(session);
    std::unique_ptr<CHttpFile> pFile(pConnection->OpenRequest(CHttpConnection::HTTP_VERB_GET, "/long", NULL, 1, NULL,
                                                              NULL, INTERNET_FLAG_NO_AUTO_REDIRECT));
    pFile->SendRequest();
    CString strLocation;
    ASSERT_TRUE(pFile->QueryInfo(HTTP_QUERY_LOCATION, strLocation));
    EXPECT_EQ("http://127.0.0.1/" + strLong, std::string(strLocation));
}

TEST_F(InternetSessionTest, PostsABodyAndReadsTheAnswerByWhatIsAvailable)
{
    const std::string strAnswer = CHttpTestServer::Pattern(2500);
    m_server.SetReply("/upload", CHttpTestServer::Ok(strAnswer));
    CInternetSession session;
    std::unique_ptr<CHttpConnection> pConnection = Connect(session);
    std::unique_ptr<CHttpFile> pFile(pConnection->OpenRequest(CHttpConnection::HTTP_VERB_POST, "/upload"));
    char body[] = "\x89PNG-bytes";
    pFile->SendRequest(NULL, 0, body, sizeof(body) - 1);
    DWORD dwStatus = 0;
    pFile->QueryInfoStatusCode(dwStatus);
    EXPECT_EQ(200u, dwStatus);

    std::string strRead;
    ULONGLONG nAvailable;
    while ((nAvailable = pFile->GetLength()) > 0) {
        std::string strChunk((size_t)nAvailable, '\0');
        UINT nRead = pFile->Read(&strChunk[0], (UINT)nAvailable);
        ASSERT_GT(nRead, 0u);
        strRead.append(strChunk, 0, nRead);
    }
    EXPECT_EQ(strAnswer, strRead);
    std::vector<CHttpTestServer::Request> requests = m_server.GetRequests();
    ASSERT_EQ(1u, requests.size());
    EXPECT_EQ("POST", requests[0].strMethod);
    EXPECT_EQ(std::string(body, sizeof(body) - 1), requests[0].strBody);
}

TEST_F(InternetSessionTest, OpenUrlGetsHttpAndRefusesOtherSchemes)
{
    m_server.SetReply("/file.ini", CHttpTestServer::Ok("[a]\r\nb=1\r\n"));
    CInternetSession session;
    std::unique_ptr<CHttpFile> pFile(
        session.OpenURL(Url("/file.ini").c_str(), 1, INTERNET_FLAG_TRANSFER_ASCII | INTERNET_FLAG_DONT_CACHE));
    DWORD dwStatus = 0;
    pFile->QueryInfoStatusCode(dwStatus);
    EXPECT_EQ(200u, dwStatus);
    EXPECT_EQ("[a]\r\nb=1\r\n", ReadAll(*pFile));

    for (const char* pszUrl : {"ftp://127.0.0.1/x", "not a url"}) {
        try {
            delete session.OpenURL(pszUrl);
            ADD_FAILURE() << pszUrl;
        } catch (CInternetException* pException) {
            EXPECT_EQ((DWORD)ERROR_INTERNET_UNRECOGNIZED_SCHEME, pException->m_dwError);
            pException->Delete();
        }
    }
}

TEST_F(InternetSessionTest, SessionTimeoutsHoldForItsRequests)
{
    CHttpTestServer::Reply silent;
    silent.bNeverAnswer = true;
    m_server.SetReply("/silent", silent);
    CHttpTestServer::Reply stalled = CHttpTestServer::Ok(std::string(3000, 's'));
    stalled.nHoldAfter = 1000;
    m_server.SetReply("/stalled", stalled);

    CInternetSession session;
    ASSERT_TRUE(session.SetOption(INTERNET_OPTION_DATA_RECEIVE_TIMEOUT, kShortTimeout));
    DWORD dwValue = 0;
    EXPECT_TRUE(session.QueryOption(INTERNET_OPTION_CONNECT_TIMEOUT, dwValue));
    std::unique_ptr<CHttpConnection> pConnection = Connect(session);

    DWORD dwStart = GetTickCount();
    std::unique_ptr<CHttpFile> pSilent(pConnection->OpenRequest(CHttpConnection::HTTP_VERB_GET, "/silent"));
    EXPECT_THROW(
        {
            try {
                pSilent->SendRequest();
            } catch (CInternetException* pException) {
                pException->Delete();
                throw 1;
            }
        },
        int);
    EXPECT_LT(GetTickCount() - dwStart, 20 * kShortTimeout);

    std::unique_ptr<CHttpFile> pStalled(pConnection->OpenRequest(CHttpConnection::HTTP_VERB_GET, "/stalled"));
    pStalled->SendRequest();
    char block[4096];
    bool bThrew = false;
    try {
        while (pStalled->Read(block, sizeof(block)) > 0) {}
    } catch (CInternetException* pException) {
        bThrew = true;
        pException->Delete();
    }
    EXPECT_TRUE(bThrew);
    m_server.OpenGate();
}

TEST_F(InternetSessionTest, ClosedPortThrowsOnSend)
{
    CInternetSession session;
    std::unique_ptr<CHttpConnection> pConnection(session.GetHttpConnection("127.0.0.1", FindClosedPort()));
    std::unique_ptr<CHttpFile> pFile(pConnection->OpenRequest("GET", "/"));
    try {
        pFile->SendRequest();
        ADD_FAILURE();
    } catch (CInternetException* pException) {
        EXPECT_EQ((DWORD)ERROR_INTERNET_CANNOT_CONNECT, pException->m_dwError);
        pException->Delete();
    }
    // Seeking a plain transfer is not possible; it throws rather than lies.
    EXPECT_THROW(
        {
            try {
                pFile->Seek(0, CFile::end);
            } catch (CInternetException* pException) {
                pException->Delete();
                throw 1;
            }
        },
        int);
}

TEST_F(InternetSessionTest, UnknownVerbIsRefused)
{
    CInternetSession session;
    std::unique_ptr<CHttpConnection> pConnection = Connect(session);
    try {
        delete pConnection->OpenRequest(CHttpConnection::HTTP_VERB_MAX + 1, "/");
        ADD_FAILURE();
    } catch (CException* pException) {
        EXPECT_NE(nullptr, DYNAMIC_DOWNCAST(CInvalidArgException, pException));
        pException->Delete();
    }
}
} // namespace
