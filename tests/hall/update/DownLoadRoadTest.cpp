// The download road whole: the global attemper hands a mission to the
// download service of Download.dll, which fetches from the local HTTP
// server and reports to the real download window, which hands the package
// to the installer stand-in.
#include "HttpTestServer.h" // Winsock before the system headers

#include <gtest/gtest.h>

#include <afxtest.h>

#include <string.h>

#include <string>

#include "AfxModalScript.h"
#include "DownLoadDlg.h"
#include "GlobalAttemper.h"
#include "GlobalUnits.h"
#include "HallWindows.h"
#include "MessagePump.h"
#include "StateTestSupport.h"
#include "ZipEntryWriter.h"
#include "ZipPack.h"

namespace
{

class DownLoadRoad : public testing::Test
{
protected:
    void SetUp() override
    {
        UseProgramFolder(folder);
        ASSERT_TRUE(server.Start());
        ASSERT_TRUE(g_GlobalUnits.m_DownLoadServiceHelper.CreateInstance())
            << g_GlobalUnits.m_DownLoadServiceHelper.GetErrorDescribe();
        CHallWindows::InstallDownLoadWnd(&dlg);
        memset(addresses, 0, sizeof(addresses));
        logPath = folder.Path() + "kestrum.log";
        target = folder.Path() + "installed";
        CreateDirectoryA(target.c_str(), NULL);
        SetEnvironmentVariableA("KESTRUM_LOG", logPath.c_str());
        SetEnvironmentVariableA("KESTRUM_TARGET", target.c_str());
        SetEnvironmentVariableA("KESTRUM_MODE", NULL);
        package = MakePackage();
    }
    void TearDown() override
    {
        server.OpenGate();
        g_GlobalAttemper.CloseDownloadWindow();
        CHallWindows::InstallDownLoadWnd(NULL);
        g_GlobalUnits.m_DownLoadServiceHelper.CloseInstance();
        SetEnvironmentVariableA("KESTRUM_LOG", NULL);
        SetEnvironmentVariableA("KESTRUM_TARGET", NULL);
    }

    std::string MakePackage()
    {
        std::string path = folder.Path() + "made.zip";
        {
            CZipPack pack;
            EXPECT_TRUE(pack.OpenArchive(path.c_str(), CZipPack::zipCreate));
            CZipEntryWriter writer(pack);
            ZipNewEntry entry;
            entry.name = "chess\\rules.txt";
            entry.method = 0; // stored: the package is as large as its game
            std::string rules = CHttpTestServer::Pattern(40000);
            writer.Add(entry, rules.data(), (DWORD)rules.size());
            pack.CloseArchive();
        }
        std::string bytes = ReadFileBytes(path);
        DeleteFileA(path.c_str());
        return bytes;
    }
    bool Start()
    {
        strcpy(addresses[0], server.Url("/chess.zip").c_str());
        return g_GlobalAttemper.StartGameDownload("Chess", 1, addresses, 0);
    }
    bool WindowOpen() { return dlg.GetSafeHwnd() != NULL && ::IsWindow(dlg.GetSafeHwnd()); }
    std::string Downloaded() const { return folder.Path() + "DownLoad\\chess.zip"; }

    CStateFolder folder;
    CHttpTestServer server;
    CDownLoadDlg dlg;
    char addresses[10][260];
    std::string logPath;
    std::string target;
    std::string package;
};

TEST_F(DownLoadRoad, GameIsDownloadedTestedAndInstalled)
{
    CProfileApp app;
    CWnd mainWnd;
    ASSERT_TRUE(mainWnd.CreateEx(0, "STATIC", "hall", WS_OVERLAPPED, CRect(0, 0, 10, 10), NULL, 0));
    app.App().m_pMainWnd = &mainWnd;
    CModalScript script;
    script.Answer(IDOK);
    server.SetReply("/chess.zip", CHttpTestServer::Ok(package));

    ASSERT_TRUE(Start());
    ASSERT_TRUE(WindowOpen());
    EXPECT_EQ(dlg.GetList().GetItemCount(), 0); // the row comes with the announcement
    ASSERT_TRUE(PumpUntil([&] { return !WindowOpen(); }, 30000)) << ReadFileBytes(logPath);
    app.App().m_pMainWnd = NULL;

    EXPECT_EQ(ReadFileBytes(target + "\\chess\\rules.txt"), CHttpTestServer::Pattern(40000));
    std::string log = ReadFileBytes(logPath);
    EXPECT_NE(log.find("record 1 " + Downloaded()), std::string::npos) << log;
    EXPECT_NE(log.find("empty"), std::string::npos) << log;
    ASSERT_EQ(script.Recorded().size(), 1u);
    EXPECT_STREQ(script.At(0).strText, "Chess已经更新完毕");
}

// Whatever arrives cut or damaged is never handed to an installer, and no
// package file stays behind.
TEST_F(DownLoadRoad, NoTruncatedOrCorruptGameIsInstalled)
{
    std::string changed = package;
    changed[changed.size() / 3] ^= 0x01;
    struct
    {
        const char* what;
        CHttpTestServer::Reply reply;
    } cases[] = {
        {"cut with its length announced", CHttpTestServer::Ok(package)},
        {"cut with no length", CHttpTestServer::Ok(package)},
        {"cut chunked", CHttpTestServer::Ok(package)},
        {"one byte changed", CHttpTestServer::Ok(changed)},
        {"a web page with status 200", CHttpTestServer::Ok("<html><body>moved</body></html>")},
    };
    cases[0].reply.nCutAfter = package.size() / 2;
    cases[1].reply.framing = CHttpTestServer::framingClose;
    cases[1].reply.nCutAfter = package.size() / 2;
    cases[2].reply.framing = CHttpTestServer::framingChunked;
    cases[2].reply.nChunk = 1000;
    cases[2].reply.nCutAfter = package.size() / 2;

    for (auto& c : cases) {
        server.SetReply("/chess.zip", c.reply);
        ASSERT_TRUE(Start()) << c.what;
        EXPECT_TRUE(PumpUntil([&] { return !WindowOpen(); }, 30000)) << c.what;
        EXPECT_EQ(dlg.GetInstallCount(), 0) << c.what;
        EXPECT_EQ(dlg.GetInstallerProcessId(), 0u) << c.what;
        EXPECT_FALSE(FileExists(Downloaded())) << c.what;
    }
    EXPECT_FALSE(FileExists(logPath));
}

// The cancel buttons reach the service: IDCANCEL all missions at once,
// IDOK the selected running one, against downloads the server holds.
TEST_F(DownLoadRoad, CancelButtonsStopHeldDownloads)
{
    CHttpTestServer::Reply neverEnds = CHttpTestServer::Ok(package);
    neverEnds.bNeverAnswer = true;
    server.SetReply("/chess.zip", neverEnds);
    ASSERT_TRUE(Start());
    ASSERT_TRUE(PumpUntil([&] { return dlg.GetMissionCount() == 1; }, 30000));
    dlg.SendMessage(WM_COMMAND, IDCANCEL);
    EXPECT_FALSE(WindowOpen());

    // Progress comes while the first bytes trickle in, then the server holds.
    CHttpTestServer::Reply held = CHttpTestServer::Ok(package);
    held.nPiece = 1000;
    held.dwPieceDelay = 30;
    held.nHoldAfter = 20000;
    server.SetReply("/chess.zip", held);
    ASSERT_TRUE(Start());
    CDownLoadList& list = dlg.GetList();
    ASSERT_TRUE(PumpUntil(
        [&] {
            if (list.GetItemCount() != 1)
                return false;
            const tagDownLoadMission* pMission = dlg.FindMission((WORD)list.GetItemData(0));
            return pMission != NULL && pMission->cbState == 1;
        },
        30000));
    CRect rc;
    ASSERT_TRUE(list.GetItemRect(0, &rc, LVIR_BOUNDS));
    list.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(rc.left + 5, rc.top + 5));
    ASSERT_TRUE(dlg.GetDlgItem(IDOK)->IsWindowEnabled());
    dlg.SendMessage(WM_COMMAND, IDOK);
    server.OpenGate(); // the service sees its cancel at the next block
    ASSERT_TRUE(PumpUntil([&] { return !WindowOpen(); }, 30000));
    EXPECT_FALSE(FileExists(Downloaded()));
    EXPECT_EQ(dlg.GetInstallerProcessId(), 0u);
}

} // namespace
