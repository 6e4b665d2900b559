// Tavrel.exe from the program folder: one hall at a time, and a cancelled
// logon that leaves nothing behind.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "HallProcess.h"
#include "MessagePump.h"
#include "ProcessWindows.h"
#include "TestWait.h"

namespace
{

struct Started
{
    PROCESS_INFORMATION process = {};
    ~Started()
    {
        if (process.hProcess != NULL) {
            if (WaitForSingleObject(process.hProcess, 0) != WAIT_OBJECT_0)
                TerminateProcess(process.hProcess, 1);
            CloseHandle(process.hThread);
            CloseHandle(process.hProcess);
        }
    }
    bool Start()
    {
        std::string command = "Tavrel.exe";
        std::vector<char> line(command.begin(), command.end());
        line.push_back(0);
        STARTUPINFOA startup = {};
        startup.cb = sizeof(startup);
        return CreateProcessA("Tavrel.exe", line.data(), NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process) != 0;
    }
    // The test's own windows keep answering meanwhile: the other process
    // restores them by messages.
    bool Ended(DWORD dwTimeout = 30000)
    {
        return PumpUntil([&] { return WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0; }, dwTimeout);
    }
};

// A window of the hall's class, as a running hall leaves one.
class HallWindow
{
public:
    HallWindow()
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = DefWindowProcA;
        wc.lpszClassName = "Tavrel";
        RegisterClassA(&wc);
        m_hWnd =
            CreateWindowA("Tavrel", "", WS_POPUP | WS_VISIBLE | WS_MINIMIZE, 0, 0, 200, 100, NULL, NULL, NULL, NULL);
    }
    ~HallWindow() { DestroyWindow(m_hWnd); }
    HWND Get() const { return m_hWnd; }

private:
    HWND m_hWnd;
};

TEST(HallStart, ASecondStartRestoresTheFirstAndEnds)
{
    HallWindow first;
    ASSERT_TRUE(IsIconic(first.Get()));
    Started second;
    ASSERT_TRUE(second.Start());
    ASSERT_TRUE(second.Ended());
    EXPECT_FALSE(IsIconic(first.Get()));
}

TEST(HallStart, AStartThatFindsTheLockTakenEndsUntouched)
{
    HANDLE mutex = CreateMutexA(NULL, TRUE, "Tavrel");
    ASSERT_NE(mutex, (HANDLE)NULL);
    Started second;
    ASSERT_TRUE(second.Start());
    EXPECT_TRUE(second.Ended());
    ReleaseMutex(mutex);
    CloseHandle(mutex);
}

TEST(HallStart, ACancelledLogonLeavesNoWindow)
{
    Started hall;
    ASSERT_TRUE(hall.Start());
    HWND hDialog = NULL;
    ASSERT_TRUE(WaitFor(
        [&] {
            hDialog = FindProcessWindow(hall.process.dwProcessId, e2e::HallProcess::IsLogonDialog);
            return hDialog != NULL;
        },
        60000));
    // The hidden frame exists while the logon runs.
    EXPECT_NE(FindWindowA("Tavrel", NULL), (HWND)NULL);
    PostMessageA(hDialog, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(hall.Ended());
    EXPECT_EQ(FindWindowA("Tavrel", NULL), (HWND)NULL);
}

} // namespace
