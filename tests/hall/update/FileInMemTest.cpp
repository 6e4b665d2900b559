// The in-memory task: "Update.zip" fetched into memory, its "Update.ini"
// handed to the options store, and each failure reported with its code.
#include "UpdateFixture.h"

namespace
{
using FileInMemTest = UpdateFixture;

const char kUpdateIni[] = "[HallDownload]\r\nversion=16909060\r\nname=Tavrel\r\nurl0=http://a/hall.exe\r\n";

// Every file under the folder, as paths below it.
void ListFiles(const CString& strFolder, const CString& strPrefix, std::vector<std::string>& files)
{
    WIN32_FIND_DATAA found;
    HANDLE hFind = FindFirstFileA(strFolder + "\\*", &found);
    if (hFind == INVALID_HANDLE_VALUE)
        return;
    do {
        CString strName = found.cFileName;
        if (strName == "." || strName == "..")
            continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            ListFiles(strFolder + "\\" + strName, strPrefix + strName + "\\", files);
        else
            files.push_back((LPCSTR)(strPrefix + strName));
    } while (FindNextFileA(hFind, &found));
    FindClose(hFind);
}

TEST_F(FileInMemTest, ArchiveIsReadInMemoryAndItsUpdateIniHandedOver)
{
    m_server.SetReply("/u/Update.zip",
                      CHttpTestServer::Ok(MakeZip({{"readme.txt", "not this one"},
                                                   {"Update.ini", kUpdateIni},
                                                   {"sub\\Update.ini", "[HallDownload]\r\nversion=1\r\n"},
                                                   {"big.bin", CHttpTestServer::Pattern(200000)}})));
    CFileUpdate update(m_host.get());
    ASSERT_TRUE(update.DownloadZipToMemory(Url("/u/Update.zip").c_str(), NotifyWnd(), UPDATE_KIND_HALL_VERSION));
    EXPECT_TRUE(update.IsTaskStarted());
    Report report = WaitReport();
    EXPECT_EQ((UINT)WM_UPDATE_FINISHED, report.uMessage);
    EXPECT_EQ((WPARAM)UPDATE_KIND_HALL_VERSION, report.wParam);
    EXPECT_EQ(0, report.lParam);
    EXPECT_EQ(std::vector<std::string>{kUpdateIni}, m_host->HandedOver());
    std::vector<std::string> files;
    ListFiles(m_temp->Folder(), "", files);
    EXPECT_TRUE(files.empty()) << files.front();
}

TEST_F(FileInMemTest, EachFailureIsReportedWithItsCode)
{
    std::string strZip = MakeZip({{"Update.ini", kUpdateIni}});
    // One byte of the stored text changed: the entry fails its CRC.
    std::string strDamaged = MakeZip({{"Update.ini", kUpdateIni}}, 0);
    size_t nText = strDamaged.find("HallDownload");
    ASSERT_NE(std::string::npos, nText);
    strDamaged[nText] ^= 0x20;
    CHttpTestServer::Reply cut = CHttpTestServer::Ok(strZip);
    cut.nCutAfter = strZip.size() / 2;
    struct Case
    {
        const char* pszName;
        CHttpTestServer::Reply reply;
        LPARAM lCode;
    } cases[] = {
        {"not found", CHttpTestServer::Status(404, "missing"), 404},
        {"server error", CHttpTestServer::Status(500, "broken"), 500},
        {"forbidden", CHttpTestServer::Status(403), 403},
        {"not an archive", CHttpTestServer::Ok("this is no zip archive at all, just text"), 0},
        // The answer itself was 200; the body is what failed.
        {"cut short", cut, 200},
        {"damaged entry", CHttpTestServer::Ok(strDamaged), 0},
    };
    CFileUpdate update(m_host.get());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        m_server.SetReply("/u/Update.zip", c.reply);
        ASSERT_TRUE(update.DownloadZipToMemory(Url("/u/Update.zip").c_str(), NotifyWnd(), UPDATE_KIND_HALL_VERSION));
        Report report = WaitReport();
        EXPECT_EQ((UINT)WM_UPDATE_FAILED, report.uMessage);
        EXPECT_EQ((WPARAM)UPDATE_KIND_HALL_VERSION, report.wParam);
        EXPECT_EQ(c.lCode, report.lParam);
    }
    EXPECT_TRUE(m_host->HandedOver().empty());

    char szClosed[64];
    sprintf(szClosed, "http://127.0.0.1:%u/u/Update.zip", FindClosedPort());
    ASSERT_TRUE(update.DownloadZipToMemory(szClosed, NotifyWnd(), UPDATE_KIND_HALL_VERSION));
    Report report = WaitReport();
    EXPECT_EQ((UINT)WM_UPDATE_FAILED, report.uMessage);
    EXPECT_EQ(0, report.lParam);
}

TEST_F(FileInMemTest, SecondRequestReplacesTheFirst)
{
    CHttpTestServer::Reply held = CHttpTestServer::Ok(MakeZip({{"Update.ini", "[HallDownload]\r\nversion=1\r\n"}}));
    held.nHoldAfter = 10;
    m_server.SetReply("/u/first.zip", held);
    m_server.SetReply("/u/second.zip", CHttpTestServer::Ok(MakeZip({{"Update.ini", kUpdateIni}})));

    CFileUpdate update(m_host.get());
    ASSERT_TRUE(update.DownloadZipToMemory(Url("/u/first.zip").c_str(), NotifyWnd(), UPDATE_KIND_HALL_VERSION));
    ASSERT_TRUE(m_server.WaitForRequests(1, kReportWait));
    ASSERT_TRUE(update.DownloadZipToMemory(Url("/u/second.zip").c_str(), NotifyWnd(), UPDATE_KIND_HALL_VERSION));
    m_server.OpenGate();
    Report report = WaitReport();
    EXPECT_EQ((UINT)WM_UPDATE_FINISHED, report.uMessage);
    // Only the second one reports or hands anything over.
    EXPECT_EQ(0u, WaitReport(500).uMessage);
    EXPECT_EQ(std::vector<std::string>{kUpdateIni}, m_host->HandedOver());
}

TEST_F(FileInMemTest, UrlThatDoesNotFitIsRefused)
{
    CFileUpdate update(m_host.get());
    std::string strLong = Url("/u/") + std::string(260, 'a');
    EXPECT_FALSE(update.DownloadZipToMemory(strLong.c_str(), NotifyWnd(), UPDATE_KIND_HALL_VERSION));
    EXPECT_EQ(0u, WaitReport(200).uMessage);
    EXPECT_EQ(0u, m_server.GetRequests().size());
}
} // namespace
