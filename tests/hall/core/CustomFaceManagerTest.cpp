// The custom-face manager against the local HTTP test server, with the cache
// module replaced by an in-memory double.

// The class library, then Winsock, before anything brings in windows.h.
#include <afx.h>

#include "HttpTestServer.h"

#include "CustomFaceManagerWnd.h"
#include "FaceCacheDouble.h"
#include "FaceTestFolder.h"
#include "GlobalUnits.h"
#include "HttpTuning.h"
#include "Picture.h"
#include "PictureMemFile.h"
#include "TestWait.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace
{

// A picture of one colour in the given format (PNG unless said otherwise).
std::string MakePicture(int nWidth, int nHeight, COLORREF colour, DWORD dwType = PICTURE_TYPE_PNG)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = nWidth;
    info.bmiHeader.biHeight = -nHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* pBits = NULL;
    HBITMAP hBitmap = CreateDIBSection(NULL, &info, DIB_RGB_COLORS, &pBits, NULL, 0);
    DWORD dwPixel = 0xFF000000 | (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
    for (int i = 0; i < nWidth * nHeight; ++i)
        static_cast<DWORD*>(pBits)[i] = dwPixel;
    CPicture picture;
    picture.CreateFromHBITMAP(hBitmap);
    DeleteObject(hBitmap);
    CPictureMemFile file;
    if (!picture.Encode(file, dwType))
        return std::string();
    return std::string(reinterpret_cast<const char*>(file.GetBuffer()), file.GetSize());
}

// The dump the manager would store for these picture bytes.
std::vector<BYTE> DumpOf(const std::string& strPicture)
{
    CPicture picture;
    picture.Decode(reinterpret_cast<const BYTE*>(strPicture.data()), static_cast<DWORD>(strPicture.size()));
    std::vector<BYTE> dump(picture.DumpSize());
    picture.Dump(dump.data(), static_cast<DWORD>(dump.size()));
    return dump;
}

class TestFaceManager : public CCustomFaceManagerWnd
{
public:
    explicit TestFaceManager(ICustomFaceRes* pCache) : m_pCache(pCache) {}

protected:
    ICustomFaceRes* CreateFaceCache() override { return m_pCache; }

private:
    ICustomFaceRes* m_pCache;
};

class FaceManagerTest : public testing::Test
{
protected:
    // Only where a held transfer must time out; every other fetch waits
    // patiently, as a loaded machine may be slow to answer.
    static constexpr DWORD kShortTimeout = 400;
    static constexpr DWORD kPatientTimeout = 15000;

    void SetUp() override
    {
        m_savedTuning = g_HttpTuning;
        g_HttpTuning.dwHelperTimeout = kPatientTimeout;
        ASSERT_TRUE(m_server.Start());
        m_strPicture = MakePicture(20, 10, RGB(200, 30, 40));
        ASSERT_FALSE(m_strPicture.empty());
        // Blanks anywhere and no closing '/': the manager mends both.
        std::string strUrl = m_server.Url("/fa ces");
        SetDownloadUrl(strUrl.substr(0, 7) + " " + strUrl.substr(7));
    }

    void TearDown() override
    {
        m_server.OpenGate();
        m_pManager.reset();
        m_server.Stop();
        g_HttpTuning = m_savedTuning;
    }

    void SetDownloadUrl(const std::string& strUrl)
    {
        m_folder.Write("config\\Urls.ini", "[CustomFace]\r\ndowloadnurl=" + strUrl + "\r\n");
    }

    // With the in-memory cache, or with the cache module of Brindle.dll.
    CCustomFaceManagerWnd* Open(bool bModuleCache = false)
    {
        g_GlobalUnits.SetWorkDirectory(m_folder.Path().c_str());
        if (bModuleCache)
            m_pManager.reset(new CCustomFaceManagerWnd);
        else
            m_pManager.reset(new TestFaceManager(&m_cache));
        EXPECT_TRUE(m_pManager->OpenUserCache());
        return m_pManager.get();
    }

    // The face as the cache holds it before the test starts.
    void Seed(DWORD dwUserID, const char* pszSign)
    {
        std::vector<BYTE> dump = DumpOf(m_strPicture);
        ASSERT_TRUE(m_cache.PutFace(dwUserID, pszSign, dump.data(), static_cast<UINT>(dump.size())));
    }

    void Serve(const std::string& strSign, const CHttpTestServer::Reply& reply)
    {
        m_server.SetReply("/faces/" + strSign + ".png", reply);
    }

    bool WaitIdle(DWORD dwTimeout = 15000)
    {
        return WaitFor([&] { return !m_pManager->IsDownloading(); }, dwTimeout);
    }

    CTestFolder m_folder;
    CHttpTestServer m_server;
    CFaceCacheDouble m_cache;
    std::unique_ptr<CCustomFaceManagerWnd> m_pManager;
    tagHttpTuning m_savedTuning;
    std::string m_strPicture;
};

TEST_F(FaceManagerTest, OpensTheSharedCacheAndItsWindow)
{
    CCustomFaceManagerWnd* pManager = Open();
    EXPECT_EQ(m_cache.OpenedPath(), m_folder.Path() + "Config\\Users\\CUSTOM_FACE_FILE.db");
    EXPECT_NE(GetFileAttributesA((m_folder.Path() + "Config\\Users").c_str()), INVALID_FILE_ATTRIBUTES);

    HWND hWnd = pManager->GetSafeHwnd();
    ASSERT_NE(hWnd, (HWND)NULL);
    EXPECT_EQ(GetParent(hWnd), GetDesktopWindow());
    EXPECT_EQ(GetDlgCtrlID(hWnd), 1001);
    EXPECT_TRUE(GetWindowLongA(hWnd, GWL_STYLE) & WS_CHILD);
    EXPECT_EQ(SendMessageA(hWnd, WM_USER + 101, 0, 0), 1);
    EXPECT_EQ(SendMessageA(hWnd, WM_USER + 102, 0, 0), 1);
}

TEST_F(FaceManagerTest, CachedFaceWithTheSameSignDownloadsNothing)
{
    Seed(7, "abc123");
    CCustomFaceManagerWnd* pManager = Open();
    Serve("abc123", CHttpTestServer::Ok(m_strPicture));

    EXPECT_TRUE(pManager->RequestFace(7, "abc123"));
    EXPECT_FALSE(pManager->IsDownloading());
    EXPECT_TRUE(pManager->IsFaceCached(7, "abc123"));
    // The sign is compared case-sensitively.
    EXPECT_FALSE(pManager->IsFaceCached(7, "ABC123"));
    EXPECT_FALSE(pManager->IsFaceCached(8, "abc123"));
    EXPECT_EQ(m_server.GetRequests().size(), 0u);
    EXPECT_EQ(m_cache.PutCount(), 1);
}

TEST_F(FaceManagerTest, AnotherSignDownloadsAgain)
{
    Seed(7, "old");
    CCustomFaceManagerWnd* pManager = Open();
    std::string strNew = MakePicture(16, 24, RGB(0, 0, 255));
    Serve("new", CHttpTestServer::Ok(strNew));

    EXPECT_FALSE(pManager->RequestFace(7, "new"));
    ASSERT_TRUE(WaitIdle());
    EXPECT_EQ(m_server.CountRequests("/faces/new.png"), 1);
    EXPECT_EQ(m_cache.SignOf(7), "new");
    EXPECT_TRUE(pManager->IsFaceCached(7, "new"));
    EXPECT_TRUE(pManager->RequestFace(7, "new"));

    int nWidth = 0, nHeight = 0;
    ASSERT_TRUE(pManager->GetFaceSize(7, nWidth, nHeight));
    EXPECT_EQ(nWidth, 16);
    EXPECT_EQ(nHeight, 24);
    HBITMAP hBitmap = pManager->CreateFaceBitmap(7);
    ASSERT_NE(hBitmap, (HBITMAP)NULL);
    BITMAP bm = {};
    GetObject(hBitmap, sizeof(bm), &bm);
    EXPECT_EQ(bm.bmWidth, 16);
    EXPECT_EQ(bm.bmHeight, 24);
    DeleteObject(hBitmap);
    EXPECT_FALSE(pManager->GetFaceSize(8, nWidth, nHeight));
    EXPECT_EQ(pManager->CreateFaceBitmap(8), (HBITMAP)NULL);
}

TEST_F(FaceManagerTest, DrawsOnlyTheFaceWithItsSign)
{
    Seed(7, "abc");
    CCustomFaceManagerWnd* pManager = Open();

    CDC dc;
    dc.CreateCompatibleDC(NULL);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = 40;
    info.bmiHeader.biHeight = -40;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* pBits = NULL;
    HBITMAP hCanvas = CreateDIBSection(NULL, &info, DIB_RGB_COLORS, &pBits, NULL, 0);
    memset(pBits, 0xFF, 40 * 40 * 4);
    HGDIOBJ hOld = SelectObject(dc.GetSafeHdc(), hCanvas);

    EXPECT_FALSE(pManager->DrawFaceInRect(7, "other", &dc, 0, 0, 10, 10));
    EXPECT_EQ(m_cache.DrawCount(), 0);
    EXPECT_TRUE(pManager->DrawFaceInRect(7, "abc", &dc, 0, 0, 10, 10));
    EXPECT_EQ(m_cache.DrawCount(), 1);
    // The manager's own drawing of the stored picture.
    EXPECT_TRUE(pManager->DrawFaceImage(7, &dc, CRect(20, 20, 30, 30)));
    EXPECT_FALSE(pManager->DrawFaceImage(8, &dc, CRect(20, 20, 30, 30)));
    GdiFlush();
    const DWORD* pPixels = static_cast<const DWORD*>(pBits);
    EXPECT_EQ(pPixels[5 * 40 + 5] & 0xFFFFFF, 0xC81E28u);   // drawn by the cache
    EXPECT_EQ(pPixels[25 * 40 + 25] & 0xFFFFFF, 0xC81E28u); // drawn by the manager
    EXPECT_EQ(pPixels[15 * 40 + 15] & 0xFFFFFF, 0xFFFFFFu); // between the two
    SelectObject(dc.GetSafeHdc(), hOld);
    DeleteObject(hCanvas);
}

struct FailedFetch
{
    const char* name;
    CHttpTestServer::Reply reply;
};

void PrintTo(const FailedFetch& f, std::ostream* os)
{
    *os << f.name;
}

FailedFetch MakeFailedFetch(const char* pszName, CHttpTestServer::Reply reply)
{
    return FailedFetch{pszName, reply};
}

class FaceManagerFailure : public FaceManagerTest, public testing::WithParamInterface<FailedFetch>
{};

TEST_P(FaceManagerFailure, LeavesTheCacheUnchanged)
{
    Seed(7, "old");
    CCustomFaceManagerWnd* pManager = Open();
    Serve("new", GetParam().reply);

    EXPECT_FALSE(pManager->RequestFace(7, "new"));
    ASSERT_TRUE(WaitIdle());
    EXPECT_GE(m_server.CountRequests("/faces/new.png"), 1);
    EXPECT_EQ(m_cache.SignOf(7), "old");
    EXPECT_EQ(m_cache.PutCount(), 1);
    EXPECT_FALSE(pManager->IsFaceCached(7, "new"));

    // The queue takes the same road.
    EXPECT_EQ(pManager->QueueFaceDownload(7, "new"), 0);
    pManager->WakeDownloadThread();
    ASSERT_TRUE(WaitIdle());
    EXPECT_EQ(m_cache.SignOf(7), "old");
    EXPECT_EQ(m_cache.PutCount(), 1);
}

CHttpTestServer::Reply CutShort()
{
    CHttpTestServer::Reply reply = CHttpTestServer::Ok(MakePicture(20, 10, RGB(1, 2, 3)));
    reply.nCutAfter = reply.strBody.size() / 2;
    return reply;
}

INSTANTIATE_TEST_SUITE_P(
    Replies, FaceManagerFailure,
    testing::Values(MakeFailedFetch("NotFound", CHttpTestServer::Status(404, "<html>no such face</html>")),
                    MakeFailedFetch("ServerError", CHttpTestServer::Status(500, "")),
                    MakeFailedFetch("NotAPicture", CHttpTestServer::Ok("<html>this is no picture</html>")),
                    MakeFailedFetch("EmptyBody", CHttpTestServer::Ok("")), MakeFailedFetch("CutShort", CutShort())),
    [](const testing::TestParamInfo<FailedFetch>& info) { return std::string(info.param.name); });

TEST_F(FaceManagerTest, QueueFetchesInOrderOnOneConnection)
{
    CCustomFaceManagerWnd* pManager = Open();
    const char* kSigns[] = {"q1", "q2", "q3"};
    for (int i = 0; i < 3; ++i) {
        Serve(kSigns[i], CHttpTestServer::Ok(m_strPicture));
        EXPECT_EQ(pManager->QueueFaceDownload(100 + i, kSigns[i]), i);
    }
    EXPECT_FALSE(pManager->WakeDownloadThread());
    ASSERT_TRUE(WaitIdle());

    std::vector<CHttpTestServer::Request> requests = m_server.GetRequests();
    ASSERT_EQ(requests.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(requests[i].strTarget, std::string("/faces/") + kSigns[i] + ".png");
        EXPECT_EQ(m_cache.SignOf(100 + i), kSigns[i]);
    }
    EXPECT_EQ(m_server.GetConnectionCount(), 1);
}

TEST_F(FaceManagerTest, QueueWaitsForTheWake)
{
    CCustomFaceManagerWnd* pManager = Open();
    Serve("q1", CHttpTestServer::Ok(m_strPicture));
    pManager->QueueFaceDownload(1, "q1");
    EXPECT_FALSE(pManager->IsDownloading());
    EXPECT_EQ(m_server.GetRequests().size(), 0u);
    // The worker runs for a face a window asks for and still leaves the queue.
    Serve("w2", CHttpTestServer::Ok(m_strPicture));
    pManager->RequestFace(2, "w2");
    ASSERT_TRUE(WaitIdle());
    EXPECT_EQ(m_cache.SignOf(2), "w2");
    EXPECT_EQ(m_server.CountRequests("/faces/q1.png"), 0);
    EXPECT_FALSE(pManager->IsDownloading());
    pManager->WakeDownloadThread();
    ASSERT_TRUE(WaitIdle());
    EXPECT_EQ(m_cache.SignOf(1), "q1");
}

TEST_F(FaceManagerTest, RequestsWhileTheWorkerRunsAllComplete)
{
    CCustomFaceManagerWnd* pManager = Open();
    // Each body comes in paced pieces, so the worker is busy while more arrive.
    CHttpTestServer::Reply slow = CHttpTestServer::Ok(m_strPicture);
    slow.nPiece = slow.strBody.size() / 4 + 1;
    slow.dwPieceDelay = 5;

    const int kRounds = 4, kPerRound = 6;
    std::vector<std::string> signs;
    for (int round = 0; round < kRounds; ++round) {
        for (int i = 0; i < kPerRound; ++i) {
            std::string sign = "r" + std::to_string(round) + "f" + std::to_string(i);
            Serve(sign, slow);
            pManager->QueueFaceDownload(DWORD(signs.size() + 1), sign.c_str());
            signs.push_back(sign);
        }
        pManager->WakeDownloadThread();
        // A window asks for a face of its own meanwhile.
        std::string current = "cur" + std::to_string(round);
        Serve(current, slow);
        size_t nBefore = m_server.GetRequests().size();
        pManager->RequestFace(DWORD(1000 + round), current.c_str());
        EXPECT_TRUE(pManager->IsDownloading());
        // The next round comes once the worker has taken up this one.
        EXPECT_TRUE(m_server.WaitForRequests(nBefore + 1, 10000));
    }
    ASSERT_TRUE(WaitIdle(30000));

    for (size_t i = 0; i < signs.size(); ++i)
        EXPECT_EQ(m_cache.SignOf(DWORD(i + 1)), signs[i]) << i;
    // The last face asked for by a window is always fetched; earlier ones may
    // have been replaced by it before the worker took them.
    EXPECT_EQ(m_cache.SignOf(1000 + kRounds - 1), "cur" + std::to_string(kRounds - 1));
    for (size_t i = 0; i < signs.size(); ++i)
        EXPECT_EQ(m_server.CountRequests("/faces/" + signs[i] + ".png"), 1) << signs[i];
    EXPECT_FALSE(m_cache.SawOverlap());
}

TEST_F(FaceManagerTest, UiThreadAndWorkerNeverMeetInTheCache)
{
    CCustomFaceManagerWnd* pManager = Open();
    for (int i = 0; i < 10; ++i) {
        std::string sign = "s" + std::to_string(i);
        Serve(sign, CHttpTestServer::Ok(m_strPicture));
        pManager->QueueFaceDownload(DWORD(i + 1), sign.c_str());
    }
    pManager->WakeDownloadThread();
    // Windows keep asking and drawing while the faces arrive.
    while (pManager->IsDownloading()) {
        for (int i = 0; i < 10; ++i) {
            pManager->IsFaceCached(DWORD(i + 1), ("s" + std::to_string(i)).c_str());
            int w, h;
            pManager->GetFaceSize(DWORD(i + 1), w, h);
        }
    }
    for (int i = 0; i < 10; ++i)
        EXPECT_TRUE(pManager->IsFaceCached(DWORD(i + 1), ("s" + std::to_string(i)).c_str()));
    EXPECT_FALSE(m_cache.SawOverlap());
}

TEST_F(FaceManagerTest, SignsThatNoFaceCanHaveAreRefused)
{
    CCustomFaceManagerWnd* pManager = Open();
    const std::string tooLong(64, 's');
    const char* kRefused[] = {"",    "..\\..\\evil", "..",    "a/b", "a\\b",         "a\tb",
                              "CON", "x:y",          "a?x=1", "a.",  tooLong.c_str()};
    for (const char* pszSign : kRefused) {
        EXPECT_FALSE(CCustomFaceManagerWnd::IsValidSign(pszSign)) << pszSign;
        EXPECT_FALSE(pManager->RequestFace(5, pszSign)) << pszSign;
        EXPECT_EQ(pManager->QueueFaceDownload(5, pszSign), -1) << pszSign;
    }
    EXPECT_FALSE(pManager->RequestFace(5, NULL));
    EXPECT_FALSE(pManager->IsDownloading());
    pManager->WakeDownloadThread();
    EXPECT_FALSE(pManager->IsDownloading());
    EXPECT_EQ(m_server.GetRequests().size(), 0u);

    const std::string longest(63, 's');
    const char* kAccepted[] = {"a", "0123456789abcdefABCDEF_-", "a.png", "a b", "中文", "%41", longest.c_str()};
    for (const char* pszSign : kAccepted)
        EXPECT_TRUE(CCustomFaceManagerWnd::IsValidSign(pszSign)) << pszSign;
}

TEST_F(FaceManagerTest, EmptyAddressFetchesNothing)
{
    SetDownloadUrl("");
    Seed(7, "old");
    CCustomFaceManagerWnd* pManager = Open();
    Serve("new", CHttpTestServer::Ok(m_strPicture));

    EXPECT_FALSE(pManager->RequestFace(7, "new"));
    EXPECT_EQ(pManager->QueueFaceDownload(8, "new"), 0);
    pManager->WakeDownloadThread();
    ASSERT_TRUE(WaitIdle());
    // The queue is left as it was: the next entry goes behind it.
    EXPECT_EQ(pManager->QueueFaceDownload(9, "new"), 1);
    EXPECT_EQ(m_server.GetRequests().size(), 0u);
    EXPECT_EQ(m_cache.SignOf(7), "old");
    EXPECT_EQ(m_cache.PutCount(), 1);
}

TEST_F(FaceManagerTest, ClosingWhileADownloadRunsEndsCleanly)
{
    g_HttpTuning.dwHelperTimeout = kShortTimeout;
    CCustomFaceManagerWnd* pManager = Open();
    CHttpTestServer::Reply held = CHttpTestServer::Ok(m_strPicture);
    held.nHoldAfter = 8;
    Serve("held", held);
    Serve("queued", CHttpTestServer::Ok(m_strPicture));

    pManager->QueueFaceDownload(2, "queued");
    EXPECT_FALSE(pManager->RequestFace(1, "held"));
    pManager->WakeDownloadThread();
    ASSERT_TRUE(m_server.WaitForRequests(1, 5000));
    ASSERT_TRUE(pManager->IsDownloading());

    DWORD dwStart = GetTickCount();
    pManager->DestroyWindow();
    m_pManager.reset();
    DWORD dwElapsed = GetTickCount() - dwStart;
    // The fetch in hand ends within the download time-outs; the queue is not worked on.
    EXPECT_LT(dwElapsed, 20 * kShortTimeout);
    EXPECT_EQ(m_cache.PutCount(), 0);
    EXPECT_EQ(m_server.CountRequests("/faces/queued.png"), 0);
}

TEST_F(FaceManagerTest, ModuleCacheKeepsTheFaceForTheNextRun)
{
    CCustomFaceManagerWnd* pManager = Open(true);
    Serve("first", CHttpTestServer::Ok(MakePicture(12, 8, RGB(9, 9, 9))));
    Serve("broken", CHttpTestServer::Ok("no picture at all"));

    EXPECT_FALSE(pManager->RequestFace(42, "first"));
    ASSERT_TRUE(WaitIdle());
    EXPECT_TRUE(pManager->IsFaceCached(42, "first"));
    // A body that is no picture leaves the stored face alone.
    EXPECT_FALSE(pManager->RequestFace(42, "broken"));
    ASSERT_TRUE(WaitIdle());
    EXPECT_TRUE(pManager->IsFaceCached(42, "first"));
    m_pManager.reset();
    EXPECT_NE(GetFileAttributesA((m_folder.Path() + "Config\\Users\\CUSTOM_FACE_FILE.db").c_str()),
              INVALID_FILE_ATTRIBUTES);

    pManager = Open(true);
    ASSERT_TRUE(pManager->LoadCachedFace(42));
    EXPECT_TRUE(pManager->RequestFace(42, "first"));
    int nWidth = 0, nHeight = 0;
    ASSERT_TRUE(pManager->GetFaceSize(42, nWidth, nHeight));
    EXPECT_EQ(nWidth, 12);
    EXPECT_EQ(nHeight, 8);
    EXPECT_EQ(pManager->GetFaceSign(42), "first");
    EXPECT_EQ(pManager->GetFaceSign(43), "");
    EXPECT_FALSE(pManager->LoadCachedFace(43));
    EXPECT_EQ(m_server.CountRequests("/faces/first.png"), 1);
}

// Signs up to 63 bytes of any character a file name can hold: what a URL
// cannot carry is escaped, and a sign longer than the cache keeps is found
// there again rather than fetched on every request.
TEST_F(FaceManagerTest, LongAndEscapedSignsAreFetchedOnce)
{
    CCustomFaceManagerWnd* pManager = Open(true);
    const std::string longSign = std::string(40, 'L') + "\xD6\xD0"; // 40 bytes and "中"
    std::string escaped(40, 'L');
    escaped += "%D6%D0";
    Serve(escaped, CHttpTestServer::Ok(MakePicture(4, 4, RGB(3, 3, 3))));
    Serve("a%20b%25", CHttpTestServer::Ok(MakePicture(4, 4, RGB(4, 4, 4))));

    EXPECT_FALSE(pManager->RequestFace(42, longSign.c_str()));
    ASSERT_TRUE(WaitIdle());
    EXPECT_TRUE(pManager->RequestFace(42, longSign.c_str()));
    EXPECT_EQ(m_server.CountRequests("/faces/" + escaped + ".png"), 1);

    EXPECT_FALSE(pManager->RequestFace(43, "a b%"));
    ASSERT_TRUE(WaitIdle());
    EXPECT_TRUE(pManager->RequestFace(43, "a b%"));
    EXPECT_EQ(m_server.CountRequests("/faces/a%20b%25.png"), 1);
}

// What a caller is given stays what it was when a later download rewrites the
// cache's item on the download thread.
TEST_F(FaceManagerTest, FaceSignIsACopyTakenUnderTheLock)
{
    CCustomFaceManagerWnd* pManager = Open(true);
    Serve("first", CHttpTestServer::Ok(MakePicture(4, 4, RGB(1, 1, 1))));
    Serve("second", CHttpTestServer::Ok(MakePicture(4, 4, RGB(2, 2, 2))));
    EXPECT_FALSE(pManager->RequestFace(42, "first"));
    ASSERT_TRUE(WaitIdle());
    const CString strSign = pManager->GetFaceSign(42);
    EXPECT_FALSE(pManager->RequestFace(42, "second"));
    ASSERT_TRUE(WaitIdle());
    EXPECT_EQ(strSign, "first");
    EXPECT_EQ(pManager->GetFaceSign(42), "second");
}

} // namespace
