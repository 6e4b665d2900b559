// The hall's start until its logon dialog shows, against the least dialog
// program started the same way in the same run, alternated; medians.
//   start_bench [rounds]
// Run from the assembled program folder (build/<arch>/bin).
#include <windows.h>

#include <algorithm>
#include <stdio.h>
#include <stdlib.h>
#include <string>
#include <vector>

namespace
{

struct Finder
{
    DWORD dwProcessId;
    HWND hDialog;
};

// The program's visible dialog with the buttons 3 and 4: the hall's logon
// dialog (a message box has no such pair) or the baseline's.
BOOL CALLBACK FindDialog(HWND hWnd, LPARAM lParam)
{
    Finder* finder = (Finder*)lParam;
    DWORD pid = 0;
    GetWindowThreadProcessId(hWnd, &pid);
    if (pid != finder->dwProcessId || !IsWindowVisible(hWnd))
        return TRUE;
    if (GetDlgItem(hWnd, 3) == NULL || GetDlgItem(hWnd, 4) == NULL)
        return TRUE;
    finder->hDialog = hWnd;
    return FALSE;
}

// Milliseconds from the start until the dialog shows; -1 when it does not
// within the bound. The program is cancelled and waited for afterwards.
double TimeStart(const std::string& program)
{
    std::string command = "\"" + program + "\"";
    std::vector<char> line(command.begin(), command.end());
    line.push_back(0);
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    LARGE_INTEGER frequency, begin, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&begin);
    if (!CreateProcessA(program.c_str(), line.data(), NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process))
        return -1;
    Finder finder = {process.dwProcessId, NULL};
    double elapsed = -1;
    for (;;) {
        EnumWindows(FindDialog, (LPARAM)&finder);
        QueryPerformanceCounter(&end);
        double ms = (end.QuadPart - begin.QuadPart) * 1000.0 / frequency.QuadPart;
        if (finder.hDialog != NULL) {
            elapsed = ms;
            break;
        }
        if (ms > 60000 || WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0)
            break;
        Sleep(1);
    }
    if (finder.hDialog != NULL)
        PostMessageA(finder.hDialog, WM_COMMAND, IDCANCEL, 0);
    if (WaitForSingleObject(process.hProcess, 30000) != WAIT_OBJECT_0)
        TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return elapsed;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    int rounds = argc > 1 ? atoi(argv[1]) : 7;
    if (rounds < 1)
        rounds = 1;
    char folder[MAX_PATH];
    GetModuleFileNameA(NULL, folder, MAX_PATH);
    *strrchr(folder, '\\') = 0;
    std::string hall = std::string(folder) + "\\Tavrel.exe";
    std::string baseline = std::string(folder) + "\\min_dialog.exe";

    std::vector<double> hallTimes, baseTimes;
    for (int i = 0; i < rounds; ++i) {
        double base = TimeStart(baseline);
        double ms = TimeStart(hall);
        if (base < 0 || ms < 0) {
            printf("start_bench: round %d: %s did not show its dialog\n", i + 1, base < 0 ? "baseline" : "hall");
            return 1;
        }
        baseTimes.push_back(base);
        hallTimes.push_back(ms);
        printf("round %d: hall %.0f ms, baseline %.0f ms\n", i + 1, ms, base);
    }
    double hallMedian = Median(hallTimes), baseMedian = Median(baseTimes);
    printf("start_bench: hall %.0f ms, baseline %.0f ms (medians of %d), ratio %.2f\n", hallMedian, baseMedian, rounds,
           baseMedian > 0 ? hallMedian / baseMedian : 0.0);
    return 0;
}
