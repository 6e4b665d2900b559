// Tavrel.exe assembled in a program folder of its own and driven from this
// process through its windows, against the demo hall server running here: a
// refused account shows the server's text and Cancel then ends the program;
// the demo account reaches the frame with its game list.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "DemoHall.h"
#include "FrameServer.h"
#include "HallProtocol.h"
#include "TempFolder.h"
#include "TestWait.h"

namespace
{

// The skin library's message box: its text static.
const int kBoxTextId = 0x7FE1;
const int kPasswordEditId = 200;

std::string ProgramFolder()
{
    char path[MAX_PATH] = "";
    GetModuleFileNameA(NULL, path, MAX_PATH);
    char* slash = strrchr(path, '\\');
    if (slash != NULL)
        *slash = '\0';
    return path;
}

std::string TextOf(HWND hWnd)
{
    char text[1024] = "";
    GetWindowTextA(hWnd, text, sizeof(text));
    return text;
}

struct WindowSearch
{
    DWORD dwProcessId;
    bool (*accept)(HWND);
    HWND hFound;
};

BOOL CALLBACK AcceptTopLevel(HWND hWnd, LPARAM lParam)
{
    WindowSearch* search = (WindowSearch*)lParam;
    DWORD pid = 0;
    GetWindowThreadProcessId(hWnd, &pid);
    if (pid != search->dwProcessId || !IsWindowVisible(hWnd) || !search->accept(hWnd))
        return TRUE;
    search->hFound = hWnd;
    return FALSE;
}

BOOL CALLBACK AcceptChild(HWND hWnd, LPARAM lParam)
{
    WindowSearch* search = (WindowSearch*)lParam;
    if (!search->accept(hWnd))
        return TRUE;
    search->hFound = hWnd;
    return FALSE;
}

bool IsLogonDialog(HWND hWnd)
{
    return GetDlgItem(hWnd, 1003) != NULL && GetDlgItem(hWnd, 1099) != NULL;
}

bool IsMessageBox(HWND hWnd)
{
    return GetDlgItem(hWnd, kBoxTextId) != NULL;
}

bool IsFilledTree(HWND hWnd)
{
    char name[64] = "";
    GetClassNameA(hWnd, name, sizeof(name));
    return lstrcmpiA(name, WC_TREEVIEWA) == 0 && SendMessageA(hWnd, TVM_GETCOUNT, 0, 0) > 0;
}

// The hall started from a program folder of its own: the programs and
// libraries of the build and a server list naming only the given port.
class HallProcess
{
public:
    explicit HallProcess(WORD wPort) : m_Folder("tavrel-run")
    {
        const std::string bin = ProgramFolder();
        WIN32_FIND_DATAA found;
        HANDLE hFind = FindFirstFileA((bin + "\\*.dll").c_str(), &found);
        if (hFind != INVALID_HANDLE_VALUE) {
            do {
                CopyFileA((bin + "\\" + found.cFileName).c_str(), m_Folder.File(found.cFileName).c_str(), FALSE);
            } while (FindNextFileA(hFind, &found));
            FindClose(hFind);
        }
        CopyFileA((bin + "\\Tavrel.exe").c_str(), m_Folder.File("Tavrel.exe").c_str(), FALSE);
        m_Folder.Write("config\\ServerList.ini",
                       "[Server]\r\nServerCount=1\r\nLastServerID=0\r\nFindFastServer=1\r\n[Server0]\r\nName=Demo\r\n"
                       "Host=127.0.0.1\r\nPort=" +
                           std::to_string(wPort) + "\r\n");
    }
    ~HallProcess()
    {
        if (m_Process.hProcess != NULL) {
            if (WaitForSingleObject(m_Process.hProcess, 0) != WAIT_OBJECT_0) {
                TerminateProcess(m_Process.hProcess, 1);
                WaitForSingleObject(m_Process.hProcess, 30000);
            }
            CloseHandle(m_Process.hThread);
            CloseHandle(m_Process.hProcess);
        }
    }

    bool Start()
    {
        std::string program = m_Folder.File("Tavrel.exe");
        std::vector<char> line(program.begin(), program.end());
        line.push_back(0);
        STARTUPINFOA startup = {};
        startup.cb = sizeof(startup);
        return CreateProcessA(program.c_str(), line.data(), NULL, NULL, FALSE, 0, NULL, m_Folder.Path().c_str(),
                              &startup, &m_Process) != 0;
    }
    bool Ended(DWORD dwTimeout = 30000)
    {
        return PumpUntil([&] { return WaitForSingleObject(m_Process.hProcess, 0) == WAIT_OBJECT_0; }, dwTimeout);
    }
    DWORD ExitCode()
    {
        DWORD dwCode = STILL_ACTIVE;
        GetExitCodeProcess(m_Process.hProcess, &dwCode);
        return dwCode;
    }

    // A visible top-level window of the hall that the test accepts.
    HWND WaitWindow(bool (*accept)(HWND), DWORD dwTimeout = 60000)
    {
        WindowSearch search = {m_Process.dwProcessId, accept, NULL};
        PumpUntil(
            [&] {
                search.hFound = NULL;
                EnumWindows(AcceptTopLevel, (LPARAM)&search);
                return search.hFound != NULL || WaitForSingleObject(m_Process.hProcess, 0) == WAIT_OBJECT_0;
            },
            dwTimeout);
        return search.hFound;
    }

private:
    CTempFolder m_Folder;
    PROCESS_INFORMATION m_Process = {};
};

class HallLogonProcess : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_Hall.Attach(m_Server);
        ASSERT_TRUE(m_Server.Start());
    }
    void TearDown() override { m_Server.Stop(); }

    size_t LogonRequests()
    {
        size_t n = 0;
        for (const tagServerFrame& frame : m_Server.GetFrames())
            n += frame.wMainCmdID == HALL_MAIN_USER && frame.wSubCmdID == HALL_SUB_USER_LOGON_BY_ACCOUNT;
        return n;
    }

    // Types the account and password into the dialog from outside and
    // presses the logon button.
    static void LogOn(HWND hDialog, const char* account, const char* password)
    {
        SendMessageA(GetDlgItem(hDialog, 1003), WM_SETTEXT, 0, (LPARAM)account);
        HWND hPassword = GetDlgItem(GetDlgItem(hDialog, 1099), kPasswordEditId);
        ASSERT_NE((HWND)NULL, hPassword);
        SendMessageA(hPassword, WM_SETTEXT, 0, (LPARAM)password);
        PostMessageA(hDialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), (LPARAM)GetDlgItem(hDialog, IDOK));
    }
    static bool Idle(HWND hDialog)
    {
        return IsWindowVisible(GetDlgItem(hDialog, IDOK)) && !IsWindowVisible(GetDlgItem(hDialog, 4)) &&
               IsWindowEnabled(GetDlgItem(hDialog, 1003));
    }

    CFrameServer m_Server;
    CDemoHall m_Hall;
};

TEST_F(HallLogonProcess, ARefusedAccountShowsItsTextAndCancelEndsTheProgram)
{
    HallProcess hall(m_Server.GetPort());
    ASSERT_TRUE(hall.Start());
    HWND hDialog = hall.WaitWindow(IsLogonDialog);
    ASSERT_NE((HWND)NULL, hDialog);

    LogOn(hDialog, "nobody", "wrong");
    ASSERT_TRUE(PumpUntil([&] { return m_Hall.GetRefusedCount() == 1; }, 60000));
    HWND hBox = hall.WaitWindow(IsMessageBox);
    ASSERT_NE((HWND)NULL, hBox);
    EXPECT_EQ("提示", TextOf(hBox));
    EXPECT_EQ("帐号或密码错误，演示帐号为 demo，密码 demo123", TextOf(GetDlgItem(hBox, kBoxTextId)));
    EXPECT_EQ(1u, LogonRequests());

    PostMessageA(hBox, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), (LPARAM)GetDlgItem(hBox, IDOK));
    ASSERT_TRUE(PumpUntil([&] { return !IsWindow(hBox) && Idle(hDialog); }, 30000));
    EXPECT_TRUE(PumpUntil([&] { return m_Server.IsPeerClosed(0); }, 30000)) << "the refused connection is closed";

    PostMessageA(hDialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), (LPARAM)GetDlgItem(hDialog, IDCANCEL));
    ASSERT_TRUE(hall.Ended());
    EXPECT_EQ(0u, hall.ExitCode());
    EXPECT_EQ(1u, LogonRequests()) << "nothing more reached the server";
}

TEST_F(HallLogonProcess, TheDemoAccountReachesTheFrameWithItsGameList)
{
    HallProcess hall(m_Server.GetPort());
    ASSERT_TRUE(hall.Start());
    HWND hDialog = hall.WaitWindow(IsLogonDialog);
    ASSERT_NE((HWND)NULL, hDialog);

    LogOn(hDialog, demohall::kAccount, demohall::kPassword);
    HWND hFrame = hall.WaitWindow([](HWND hWnd) {
        char name[32] = "";
        GetClassNameA(hWnd, name, sizeof(name));
        return strcmp(name, "Tavrel") == 0;
    });
    ASSERT_NE((HWND)NULL, hFrame);
    EXPECT_FALSE(IsWindow(hDialog));
    EXPECT_EQ(0, m_Hall.GetRefusedCount());
    EXPECT_EQ(1u, LogonRequests());

    // The tree fills once the list is in.
    WindowSearch search = {0, IsFilledTree, NULL};
    ASSERT_TRUE(PumpUntil(
        [&] {
            EnumChildWindows(hFrame, AcceptChild, (LPARAM)&search);
            return search.hFound != NULL;
        },
        30000));
    EXPECT_GE(SendMessageA(search.hFound, TVM_GETCOUNT, 0, 0), (LRESULT)demohall::kRoomCount);
}

} // namespace
