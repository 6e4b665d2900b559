// The game download window: its rows from the download service's reports,
// the block it shares with the installer, the package test before anything
// is installed, and the installer stand-in Kestrum.exe over the channel.
#include <gtest/gtest.h>

#include <afxtest.h>
#include <afxwin.h>

#include <stdio.h>
#include <string.h>

#include <fstream>
#include <string>
#include <vector>

#include "AfxModalScript.h"
#include "DownLoadDlg.h"
#include "DownLoadText.h"
#include "GlobalUnits.h"
#include "HallWindows.h"
#include "KestrumControl.h"
#include "MessagePump.h"
#include "StateTestSupport.h"
#include "ZipEntryWriter.h"
#include "ZipPack.h"

namespace
{

TEST(DownLoadText, SizesSpeedsAndPercentages)
{
    struct
    {
        DWORD kb;
        const char* text;
    } sizes[] = {{0, "0(KB)"},      {1023, "1023(KB)"},      {1024, "1.0(MB)"},    {1536, "1.5(MB)"},
                 {1100, "1.1(MB)"}, {1048575, "1024.0(MB)"}, {1048576, "1.0(GB)"}, {1572864, "1.5(GB)"}};
    for (const auto& c : sizes)
        EXPECT_STREQ(FormatDownLoadSize(c.kb), c.text) << c.kb;

    struct
    {
        LONG speed;
        const char* text;
    } speeds[] = {{0, "0(KB/S)"}, {1023, "1023(KB/S)"}, {1024, "1(M/S)"}, {1048575, "1023(M/S)"}, {1048576, "1(G/S)"}};
    for (const auto& c : speeds)
        EXPECT_STREQ(FormatDownLoadSpeed(c.speed), c.text) << c.speed;

    EXPECT_EQ(DownLoadPercent(512, 2048), 25);
    EXPECT_EQ(DownLoadPercent(2048, 2048), 100);
    EXPECT_EQ(DownLoadPercent(0, 0), 100); // nothing to wait for
    EXPECT_EQ(InstallPercent(50, 100), 50);
    EXPECT_EQ(InstallPercent(5000, 10000), 50); // divided by 100 first
    EXPECT_EQ(InstallPercent(7, 0), 100);       // never divides by 0
    EXPECT_EQ(InstallPercent(300, 200), 100);

    EXPECT_EQ(DownLoadSpeed(0, 512, 1000, 1500), (512 << 10) / 500);
    EXPECT_EQ(DownLoadSpeed(0, 512, 1500, 1500), -1); // the same millisecond
    EXPECT_EQ(DownLoadSpeed(512, 512, 1000, 1100), 0);
}

// A message-only window that counts WM_GAME_INSTALLED, as the main frame.
class CMainWndDouble : public CWnd
{
public:
    int installed = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_GAME_INSTALLED)
            ++installed;
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

CWinApp* TheApp()
{
    static CWinApp* app = new CWinApp("DownLoadTests");
    return app;
}

class DownLoadWindow : public testing::Test
{
protected:
    void SetUp() override
    {
        UseProgramFolder(folder);
        TheApp()->m_pMainWnd = NULL;
        ASSERT_TRUE(main.CreateEx(0, "STATIC", "main", WS_POPUP, CRect(0, 0, 10, 10), NULL, 0));
        TheApp()->m_pMainWnd = &main;
        AfxSetTestClock(10000, CTime(2026, 12, 10, 12, 0, 0));
        logPath = folder.Path() + "kestrum.log";
        target = folder.Path() + "installed";
        CreateDirectoryA(target.c_str(), NULL);
        SetEnvironmentVariableA("KESTRUM_LOG", logPath.c_str());
        SetEnvironmentVariableA("KESTRUM_TARGET", target.c_str());
        SetEnvironmentVariableA("KESTRUM_MODE", NULL);
        ASSERT_TRUE(dlg.CreateDownLoadWindow(NULL));
    }
    void TearDown() override
    {
        DWORD pid = dlg.GetInstallerProcessId();
        if (pid != 0) {
            HANDLE h = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid);
            if (h != NULL) {
                TerminateProcess(h, 0);
                WaitForSingleObject(h, 5000);
                CloseHandle(h);
            }
        }
        dlg.CloseDownLoadWindow();
        TheApp()->m_pMainWnd = NULL;
        main.DestroyWindow();
        AfxClearTestClock();
        CDownLoadDlg::SetShareNameMaker(NULL);
        CHallWindows::SetLogonWindow(NULL);
        SetEnvironmentVariableA("KESTRUM_LOG", NULL);
        SetEnvironmentVariableA("KESTRUM_TARGET", NULL);
        SetEnvironmentVariableA("KESTRUM_MODE", NULL);
    }

    void Notify(WORD wSub, const void* pRecord)
    {
        tagDownLoadHead head = {0, 1, wSub};
        dlg.SendMessage(WM_DOWNLOAD_NOTIFY, (WPARAM)&head, (LPARAM)pRecord);
    }
    void Announce(WORD wID, const char* pszName, DWORD dwTotal = 0)
    {
        tagDownLoadAnnounce a = {};
        a.wMissionID = wID;
        a.dwTotal = dwTotal;
        strcpy(a.szName, pszName);
        Notify(DOWNLOAD_SUB_ANNOUNCED, &a);
    }
    void Progress(WORD wSub, WORD wID, LONG lReceived, LONG lTotal)
    {
        tagDownLoadProgress p = {wID, 0, lReceived, lTotal};
        if (wSub == 0)
            dlg.SendMessage(WM_DOWNLOAD_PROGRESS, 0, (LPARAM)&p);
        else
            Notify(wSub, &p);
    }
    void Done(WORD wID, const std::string& result)
    {
        tagDownLoadDone d = {};
        d.wMissionID = wID;
        strcpy(d.szResult, result.c_str());
        Notify(DOWNLOAD_SUB_DONE, &d);
    }
    // Row texts: name | size | progress | speed.
    std::string Row(int nRow)
    {
        CDownLoadList& list = dlg.GetList();
        std::string text;
        for (int i = 0; i < 4; i++)
            text += std::string(i ? " | " : "") + (LPCSTR)list.GetItemText(nRow, i);
        return text;
    }
    int Rows() { return dlg.GetList().GetSafeHwnd() != NULL ? dlg.GetList().GetItemCount() : 0; }
    bool WindowOpen() { return dlg.GetSafeHwnd() != NULL && ::IsWindow(dlg.GetSafeHwnd()); }
    // A whole package holding "game\rules.txt".
    std::string MakePackage(const char* pszName, const std::string& content = "the rules of the game")
    {
        std::string path = folder.Path() + pszName;
        CZipPack pack;
        EXPECT_TRUE(pack.OpenArchive(path.c_str(), CZipPack::zipCreate));
        CZipEntryWriter writer(pack);
        ZipNewEntry entry;
        entry.name = "game\\rules.txt";
        writer.Add(entry, content.c_str(), (DWORD)content.size());
        pack.CloseArchive();
        return path;
    }
    std::string Log() { return ReadFileBytes(logPath); }

    CStateFolder folder;
    CMainWndDouble main;
    CDownLoadDlg dlg;
    std::string logPath;
    std::string target;
};

TEST_F(DownLoadWindow, RowsFollowTheServiceReports)
{
    Announce(7, "Chess");
    ASSERT_EQ(Rows(), 1);
    EXPECT_EQ(Row(0), "Chess | 0(KB) | 准备下载 | 0");
    EXPECT_EQ((WORD)dlg.GetList().GetItemData(0), 7);

    AfxAdvanceTestClock(500);
    Progress(DOWNLOAD_SUB_PROGRESS, 7, 512, 2048);
    EXPECT_EQ(Row(0), "Chess | 2.0(MB) | 25% 正在下载 | 1(M/S)");
    EXPECT_EQ(dlg.FindMission(7)->cbState, 1);

    // Two reports in one millisecond: the previous speed, no division.
    Progress(DOWNLOAD_SUB_PROGRESS, 7, 1024, 2048);
    EXPECT_EQ(Row(0), "Chess | 2.0(MB) | 50% 正在下载 | 1(M/S)");
    // The posted progress neither stores its speed nor needs more bytes.
    AfxAdvanceTestClock(100);
    Progress(0, 7, 1024, 2048);
    EXPECT_EQ(Row(0), "Chess | 2.0(MB) | 50% 正在下载 | 0(KB/S)");
    EXPECT_EQ(dlg.GetLastSpeed(), (512 << 10) / 500);

    Progress(DOWNLOAD_SUB_FAILED, 7, 1024, 2048);
    EXPECT_EQ(Row(0), "Chess | 2.0(MB) | 下载失败 | 0(KB/S)");
    EXPECT_EQ(dlg.FindMission(7)->cbState, 0);
    EXPECT_EQ(Rows(), 1); // a failed address keeps the row

    // A total of 0 shows the mission whole (no more bytes: the last speed);
    // reports of unknown ids change nothing.
    AfxAdvanceTestClock(100);
    Progress(DOWNLOAD_SUB_PROGRESS, 7, 0, 0);
    EXPECT_EQ(Row(0), "Chess | 0(KB) | 100% 正在下载 | 1(M/S)");
    Progress(DOWNLOAD_SUB_PROGRESS, 99, 5, 10);
    Progress(DOWNLOAD_SUB_FAILED, 99, 5, 10);
    EXPECT_EQ(Rows(), 1);
    EXPECT_EQ(dlg.GetMissionCount(), 1);

    // Null records and other mains are dropped.
    tagDownLoadHead other = {0, 2, DOWNLOAD_SUB_ANNOUNCED};
    tagDownLoadAnnounce a = {};
    a.wMissionID = 8;
    dlg.SendMessage(WM_DOWNLOAD_NOTIFY, (WPARAM)&other, (LPARAM)&a);
    dlg.SendMessage(WM_DOWNLOAD_NOTIFY, 0, (LPARAM)&a);
    tagDownLoadHead head = {0, 1, DOWNLOAD_SUB_ANNOUNCED};
    dlg.SendMessage(WM_DOWNLOAD_NOTIFY, (WPARAM)&head, 0);
    dlg.SendMessage(WM_DOWNLOAD_PROGRESS, 0, 0);
    EXPECT_EQ(Rows(), 1);
}

// An announced name that fills its field is read within it.
TEST_F(DownLoadWindow, UnterminatedNameIsReadWithinItsField)
{
    struct
    {
        tagDownLoadAnnounce a;
        char after[16];
    } record;
    memset(&record, 'x', sizeof(record));
    record.a.wMissionID = 4;
    record.a.dwReceived = 0;
    record.a.dwTotal = 10;
    Notify(DOWNLOAD_SUB_ANNOUNCED, &record);
    ASSERT_EQ(Rows(), 1);
    EXPECT_EQ(dlg.GetList().GetItemText(0, 0).GetLength(), 127);
}

TEST_F(DownLoadWindow, FailedDownloadsRemoveTheirRowsAndTheLastClosesTheWindow)
{
    Announce(1, "Chess");
    Announce(2, "Go");
    Done(1, "fails");
    ASSERT_EQ(Rows(), 1);
    EXPECT_EQ(Row(0).substr(0, 2), "Go");
    EXPECT_TRUE(WindowOpen());
    Done(2, "fails");
    EXPECT_FALSE(WindowOpen());
    EXPECT_EQ(dlg.GetMissionCount(), 0);

    // The object outlives its window: a new one starts afresh.
    ASSERT_TRUE(dlg.CreateDownLoadWindow(NULL));
    EXPECT_EQ(Rows(), 0);
    EXPECT_EQ(dlg.GetMissionCount(), 0);
    EXPECT_STRNE(dlg.GetShareName(), "");
}

TEST_F(DownLoadWindow, SharedBlockNamesThisWindow)
{
    std::string name = dlg.GetShareName();
    ASSERT_EQ(name.substr(0, 3), "0x8");
    HANDLE hMap = OpenFileMappingA(FILE_MAP_READ, FALSE, name.c_str());
    ASSERT_NE(hMap, (HANDLE)NULL);
    const tagInstallShare* pShare = (const tagInstallShare*)MapViewOfFile(hMap, FILE_MAP_READ, 0, 0, 0);
    ASSERT_NE(pShare, nullptr);
    EXPECT_EQ(pShare->wSize, 12);
    EXPECT_EQ(ULongToHandle(pShare->dwHallWnd), (HANDLE)dlg.GetSafeHwnd());
    EXPECT_EQ(pShare->dwInstallerWnd, 0u);
    UnmapViewOfFile(pShare);
    CloseHandle(hMap);
}

std::vector<CString> g_Names;
CString NextName()
{
    if (g_Names.empty())
        return CString();
    CString name = g_Names.front();
    g_Names.erase(g_Names.begin());
    return name;
}

// A block name somebody holds is given up for a fresh one; without any
// block no installer is ever started, and the package stays queued.
TEST_F(DownLoadWindow, TakenBlockNamesAreGivenUp)
{
    CString taken;
    taken.Format("tavrel-taken-%lu", GetCurrentProcessId());
    HANDLE hTaken = CreateFileMappingA(INVALID_HANDLE_VALUE, NULL, PAGE_READWRITE, 0, 12, taken);
    ASSERT_NE(hTaken, (HANDLE)NULL);
    CDownLoadDlg::SetShareNameMaker(NextName);

    dlg.CloseDownLoadWindow();
    g_Names = {taken, taken + "-fresh"};
    ASSERT_TRUE(dlg.CreateDownLoadWindow(NULL));
    EXPECT_STREQ(dlg.GetShareName(), taken + "-fresh");

    dlg.CloseDownLoadWindow();
    g_Names = {taken};
    ASSERT_TRUE(dlg.CreateDownLoadWindow(NULL));
    EXPECT_STREQ(dlg.GetShareName(), "");
    Announce(3, "Chess");
    Done(3, MakePackage("chess.zip"));
    ASSERT_TRUE(PumpUntil([&] { return dlg.GetInstallCount() == 1; }));
    EXPECT_EQ(dlg.StartInstaller(), 0);
    EXPECT_EQ(dlg.GetInstallerProcessId(), 0u);
    EXPECT_FALSE(FileExists(logPath));
    CloseHandle(hTaken);
}

// Nothing but the installer this window started is heard on the channel.
TEST_F(DownLoadWindow, ChannelRefusesEverythingButItsInstaller)
{
    CWnd child;
    ASSERT_TRUE(child.Create("STATIC", "", WS_CHILD, CRect(0, 0, 1, 1), &dlg, 77));
    tagInstallStatus status = {};
    struct
    {
        const char* what;
        HWND sender;
        WORD main;
        WORD sub;
        WORD size;
    } cases[] = {
        {"hello from a child of the window", child.GetSafeHwnd(), 1, 1, 0},
        {"hello from another window of this process", main.GetSafeHwnd(), 1, 1, 0},
        {"installed from a window of this process", main.GetSafeHwnd(), 1, 3, sizeof(status)},
        {"another main", main.GetSafeHwnd(), 2, 1, sizeof(status)},
    };
    for (const auto& c : cases) {
        BYTE frame[IPC_HEAD_SIZE + sizeof(status)] = {};
        tagIPCHead* head = (tagIPCHead*)frame;
        *head = {IPC_VERSION, (WORD)(IPC_HEAD_SIZE + c.size), c.main, c.sub};
        COPYDATASTRUCT cds = {IPC_IDENTIFIER, head->wSize, frame};
        EXPECT_FALSE(dlg.SendMessage(WM_COPYDATA, (WPARAM)c.sender, (LPARAM)&cds)) << c.what;
    }
}

TEST_F(DownLoadWindow, HallUpdateCancelsTheLogonDialogWhileItShows)
{
    struct CLogonDouble : CWnd
    {
        int cancels = 0;
        LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
        {
            if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL)
                ++cancels;
            return CWnd::WindowProc(message, wParam, lParam);
        }
    } logon;
    ASSERT_TRUE(logon.CreateEx(0, "STATIC", "logon", WS_POPUP, CRect(0, 0, 10, 10), NULL, 0));
    tagDownLoadDone d = {};
    Notify(DOWNLOAD_SUB_HALL_READY, &d); // no logon window: nothing
    CHallWindows::SetLogonWindow(logon.GetSafeHwnd());
    Notify(DOWNLOAD_SUB_HALL_READY, &d);
    EXPECT_EQ(logon.cancels, 1);
    HWND hGone = logon.GetSafeHwnd();
    logon.DestroyWindow();
    ASSERT_FALSE(IsWindow(hGone));
    Notify(DOWNLOAD_SUB_HALL_READY, &d); // a stale handle is not addressed
    EXPECT_EQ(logon.cancels, 1);
}

TEST_F(DownLoadWindow, WholePackageIsInstalledByTheInstaller)
{
    CModalScript script;
    script.Answer(IDOK);
    Announce(3, "Chess");
    std::string package = MakePackage("chess.zip");
    Done(3, package);
    ASSERT_TRUE(PumpUntil([&] { return !WindowOpen(); }, 20000)) << Log();

    std::string log = Log();
    EXPECT_NE(log.find(std::string("start Kestrum.exe /ShareName:0x8")), std::string::npos) << log;
    EXPECT_NE(log.find("record 3 " + package), std::string::npos) << log;
    EXPECT_NE(log.find("installed 3"), std::string::npos) << log;
    EXPECT_NE(log.find("empty"), std::string::npos) << log;
    EXPECT_EQ(ReadFileBytes(target + "\\game\\rules.txt"), "the rules of the game");
    EXPECT_EQ(main.installed, 1);
    ASSERT_EQ(script.Recorded().size(), 1u);
    EXPECT_STREQ(script.At(0).strText, "Chess已经更新完毕");
    EXPECT_STREQ(script.At(0).strCaption, "提示消息");
    EXPECT_EQ(dlg.GetInstallCount(), 0);
}

// No cut or damaged game is installed: its row goes, nothing is queued, no
// installer starts and the file is deleted.
TEST_F(DownLoadWindow, BrokenPackagesAreNeverInstalled)
{
    std::string whole = ReadFileBytes(MakePackage("whole.zip"));
    std::string changed = whole;
    changed[changed.size() / 3] ^= 0x20; // inside the deflated data
    struct
    {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"cut short", whole.substr(0, whole.size() / 2)},
        {"cut before the end record", whole.substr(0, whole.size() - 10)},
        {"one byte changed", changed},
        {"a web page", "<html><body>Not here</body></html>"},
        {"empty", ""},
    };
    WORD wID = 10;
    for (const auto& c : cases) {
        if (!WindowOpen()) {
            ASSERT_TRUE(dlg.CreateDownLoadWindow(NULL));
        }
        std::string path = folder.Path() + "broken.zip";
        std::ofstream(path, std::ios::binary) << c.bytes;
        Announce(wID, "Chess");
        Done(wID, path);
        EXPECT_TRUE(PumpUntil([&] { return !WindowOpen(); })) << c.what;
        EXPECT_EQ(dlg.GetInstallCount(), 0) << c.what;
        EXPECT_EQ(dlg.GetInstallerProcessId(), 0u) << c.what;
        EXPECT_FALSE(FileExists(path)) << c.what;
        ++wID;
    }
    EXPECT_FALSE(FileExists(logPath));
}

// A second package while the installer runs brings it forward; an installer
// still starting is not killed.
TEST_F(DownLoadWindow, RunningInstallerIsCalledForwardNotStartedAgain)
{
    SetEnvironmentVariableA("KESTRUM_MODE", "hold");
    CModalScript script;
    script.Answer(IDOK);
    Announce(1, "Chess");
    Announce(2, "Go");
    Done(1, MakePackage("chess.zip"));
    ASSERT_TRUE(PumpUntil([&] { return Log().find("record 1") != std::string::npos; }, 20000)) << Log();
    DWORD pid = dlg.GetInstallerProcessId();
    ASSERT_NE(pid, 0u);
    EXPECT_NE(dlg.GetInstallerWindow(), (HWND)NULL);

    Done(2, MakePackage("go.zip"));
    ASSERT_TRUE(PumpUntil([&] { return Log().find("front") != std::string::npos; })) << Log();
    EXPECT_EQ(dlg.GetInstallerProcessId(), pid);
    EXPECT_EQ(dlg.GetInstallCount(), 2);

    // The first installed: its row goes, the queue still holds the second.
    ::PostMessage(dlg.GetInstallerWindow(), WM_KESTRUM_INSTALL, 0, 0);
    ASSERT_TRUE(PumpUntil([&] { return Rows() == 1; }, 20000)) << Log();
    EXPECT_EQ(dlg.GetInstallCount(), 1);
    EXPECT_EQ(Log().find("empty"), std::string::npos);
    EXPECT_TRUE(WindowOpen());
}

TEST_F(DownLoadWindow, InstallerThatHasNotSaidHelloIsLeftRunning)
{
    SetEnvironmentVariableA("KESTRUM_MODE", "silent");
    Announce(1, "Chess");
    Announce(2, "Go");
    Done(1, MakePackage("chess.zip"));
    ASSERT_TRUE(PumpUntil([&] { return dlg.GetInstallerProcessId() != 0; }, 20000));
    ASSERT_TRUE(PumpUntil([&] { return Log().find("start") != std::string::npos; }, 20000));
    DWORD pid = dlg.GetInstallerProcessId();
    Done(2, MakePackage("go.zip"));
    ASSERT_TRUE(PumpUntil([&] { return dlg.GetInstallCount() == 2; }));
    EXPECT_EQ(dlg.GetInstallerProcessId(), pid);
    HANDLE h = OpenProcess(SYNCHRONIZE, FALSE, pid);
    ASSERT_NE(h, (HANDLE)NULL);
    EXPECT_EQ(WaitForSingleObject(h, 0), (DWORD)WAIT_TIMEOUT);
    CloseHandle(h);
}

TEST_F(DownLoadWindow, SelectingARunningMissionEnablesCancel)
{
    Announce(1, "Chess");
    Announce(2, "Go");
    AfxAdvanceTestClock(100);
    Progress(DOWNLOAD_SUB_PROGRESS, 2, 10, 100);
    CDownLoadList& list = dlg.GetList();
    CWnd* pCancel = dlg.GetDlgItem(IDOK);
    ASSERT_NE(pCancel, nullptr);
    EXPECT_FALSE(pCancel->IsWindowEnabled());
    struct
    {
        int row;
        BOOL enabled;
    } clicks[] = {{0, FALSE}, {1, TRUE}, {0, FALSE}};
    for (const auto& c : clicks) {
        CRect rc;
        ASSERT_TRUE(list.GetItemRect(c.row, &rc, LVIR_BOUNDS));
        list.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(rc.left + 5, rc.top + 5));
        EXPECT_EQ(list.GetSelectedRow(), c.row);
        EXPECT_EQ(pCancel->IsWindowEnabled(), c.enabled) << c.row;
    }
    // IDOK forgets the selection and disables itself again.
    dlg.SendMessage(WM_COMMAND, IDOK);
    EXPECT_EQ(list.GetSelectedID(), -1);
    EXPECT_FALSE(pCancel->IsWindowEnabled());
}

} // namespace
