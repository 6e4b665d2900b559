// The stand-in game client: started by the hall like a real one, it opens
// the room's block, writes its window there, says hello to the channel
// window and reports every frame it receives to the test. The test drives
// it through GameClientControl.h. It ends when the channel window is gone.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <deque>
#include <string>
#include <vector>

#include "ChannelMessageSink.h"
#include "GameClientControl.h"
#include "GameShareData.h"

namespace
{

const UINT WM_RUN_CONTROL = WM_APP + 1;
const UINT WM_BENCH_NEXT = WM_APP + 2;
const UINT_PTR TIMER_WATCH = 1;

HWND g_hWnd = NULL;
HWND g_hChild = NULL;
HWND g_hOther = NULL;
HWND g_hReport = NULL;
HWND g_hChannel = NULL;
std::deque<std::vector<BYTE>> g_Controls;
bool g_bCrash = false;

// A running bench: where the requests go, their body, how many are left,
// when the last one went, and the round trips so far.
struct tagBench
{
    bool bRunning = false;
    HWND hTarget = NULL;
    std::vector<BYTE> Request;
    DWORD dwLeft = 0;
    LARGE_INTEGER Start = {};
    std::vector<DWORD> Times;
} g_Bench;

void Report(ULONG_PTR dwKind, const void* pData, size_t nSize)
{
    if (g_hReport == NULL)
        return;
    COPYDATASTRUCT copyData = {dwKind, DWORD(nSize), const_cast<void*>(pData)};
    SendMessageA(g_hReport, WM_COPYDATA, WPARAM(g_hWnd), LPARAM(&copyData));
}

void SendRaw(HWND hFrom, ULONG_PTR dwData, const void* pData, size_t nSize, HWND hTo = NULL)
{
    COPYDATASTRUCT copyData = {dwData, DWORD(nSize), const_cast<void*>(pData)};
    SendMessageA(hTo != NULL ? hTo : g_hChannel, WM_COPYDATA, WPARAM(hFrom), LPARAM(&copyData));
}

void SendFrame(HWND hFrom, WORD wMain, WORD wSub, const BYTE* pData, size_t nSize, HWND hTo = NULL)
{
    std::vector<BYTE> frame(sizeof(tagIPCHead) + nSize);
    tagIPCHead head = {IPC_VERSION, WORD(frame.size()), wMain, wSub};
    memcpy(frame.data(), &head, sizeof(head));
    if (nSize > 0)
        memcpy(frame.data() + sizeof(head), pData, nSize);
    SendRaw(hFrom, IPC_IDENTIFIER, frame.data(), frame.size(), hTo);
}

void StartBench(const BYTE* p, size_t n)
{
    if (n < 12)
        return;
    DWORD dwTarget = 0;
    DWORD dwSize = 0;
    memcpy(&dwTarget, p, 4);
    memcpy(&dwSize, p + 4, 4);
    memcpy(&g_Bench.dwLeft, p + 8, 4);
    if (dwSize > IPC_MAX_DATA - 4 || g_Bench.dwLeft == 0)
        return;
    g_Bench.hTarget = dwTarget != 0 ? HWND(ULongToHandle(dwTarget)) : g_hChannel;
    g_Bench.Request.assign(4 + dwSize, 0x5A);
    const WORD wHead[2] = {100, GAMECLIENT_BENCH_SUB};
    memcpy(g_Bench.Request.data(), wHead, 4);
    g_Bench.Times.clear();
    g_Bench.bRunning = true;
    PostMessageA(g_hWnd, WM_BENCH_NEXT, 0, 0);
}

void SendBenchRequest()
{
    QueryPerformanceCounter(&g_Bench.Start);
    SendFrame(g_hWnd, 1, 1, g_Bench.Request.data(), g_Bench.Request.size(), g_Bench.hTarget);
}

// True when the frame was the answer a running bench waits for.
bool OnBenchAnswer(const BYTE* pFrame, size_t nSize)
{
    tagIPCHead head;
    WORD wKind = 0;
    if (!g_Bench.bRunning || nSize < sizeof(head) + 4)
        return false;
    memcpy(&head, pFrame, sizeof(head));
    memcpy(&wKind, pFrame + sizeof(head), 2);
    if (head.wMainCmdID != 1 || head.wSubCmdID != 2 || wKind != 100)
        return false;
    LARGE_INTEGER now;
    LARGE_INTEGER frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    g_Bench.Times.push_back(DWORD((now.QuadPart - g_Bench.Start.QuadPart) * 1000000 / frequency.QuadPart));
    if (--g_Bench.dwLeft > 0) {
        PostMessageA(g_hWnd, WM_BENCH_NEXT, 0, 0);
    } else {
        g_Bench.bRunning = false;
        Report(GAMECLIENT_REPORT_TIMES, g_Bench.Times.data(), g_Bench.Times.size() * sizeof(DWORD));
    }
    return true;
}

LONG WINAPI EndOnCrash(EXCEPTION_POINTERS* pPointers)
{
    // No debugger and no box: the process just ends with the fault's code.
    TerminateProcess(GetCurrentProcess(), pPointers->ExceptionRecord->ExceptionCode);
    return EXCEPTION_EXECUTE_HANDLER;
}

// A write to a page that allows no access (the null page may be mapped
// here), outside any window procedure.
void Crash()
{
    SetUnhandledExceptionFilter(EndOnCrash);
    int* volatile pLocked = static_cast<int*>(VirtualAlloc(NULL, 4096, MEM_RESERVE | MEM_COMMIT, PAGE_NOACCESS));
    *pLocked = 1;
}

void RunControl(const std::vector<BYTE>& control)
{
    if (control.size() < 4)
        return;
    DWORD dwCommand = 0;
    memcpy(&dwCommand, control.data(), 4);
    const BYTE* p = control.data() + 4;
    size_t n = control.size() - 4;
    switch (dwCommand) {
    case GAMECLIENT_SEND:
    case GAMECLIENT_SEND_CHILD:
    case GAMECLIENT_SEND_OTHER: {
        if (n < 4)
            return;
        WORD wMain = 0;
        WORD wSub = 0;
        memcpy(&wMain, p, 2);
        memcpy(&wSub, p + 2, 2);
        HWND hFrom = dwCommand == GAMECLIENT_SEND ? g_hWnd : dwCommand == GAMECLIENT_SEND_CHILD ? g_hChild : g_hOther;
        SendFrame(hFrom, wMain, wSub, p + 4, n - 4);
        return;
    }
    case GAMECLIENT_SEND_RAW: {
        if (n < 4)
            return;
        DWORD dwData = 0;
        memcpy(&dwData, p, 4);
        SendRaw(g_hWnd, dwData, p + 4, n - 4);
        return;
    }
    case GAMECLIENT_EXIT: ExitProcess(0);
    case GAMECLIENT_CRASH: g_bCrash = true; return;
    case GAMECLIENT_BENCH: StartBench(p, n); return;
    default: return;
    }
}

LRESULT CALLBACK WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_COPYDATA: {
        const COPYDATASTRUCT* pCopy = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        const BYTE* pBytes = static_cast<const BYTE*>(pCopy->lpData);
        if (pCopy->dwData == GAMECLIENT_CONTROL) {
            // Run after the test's call returned, as a client acts on its own.
            g_Controls.emplace_back(pBytes, pBytes + pCopy->cbData);
            PostMessageA(hWnd, WM_RUN_CONTROL, 0, 0);
        } else if (!OnBenchAnswer(pBytes, pCopy->cbData)) {
            Report(GAMECLIENT_REPORT_FRAME, pBytes, pCopy->cbData);
        }
        return TRUE;
    }
    case WM_BENCH_NEXT:
        if (g_Bench.bRunning)
            SendBenchRequest();
        return 0;
    case WM_RUN_CONTROL:
        if (!g_Controls.empty()) {
            std::vector<BYTE> control = g_Controls.front();
            g_Controls.pop_front();
            RunControl(control);
        }
        return 0;
    case WM_TIMER:
        if (!IsWindow(g_hChannel))
            PostQuitMessage(0);
        return 0;
    default: return DefWindowProcA(hWnd, uMsg, wParam, lParam);
    }
}

std::string ArgumentAfter(const char* pszCommandLine, const char* pszKey)
{
    const char* p = strstr(pszCommandLine, pszKey);
    if (p == NULL)
        return std::string();
    p += strlen(pszKey);
    const char* pEnd = strchr(p, ' ');
    return pEnd != NULL ? std::string(p, pEnd) : std::string(p);
}

HWND MakeWindow(HWND hParent, DWORD dwStyle)
{
    return CreateWindowA("TavrelStandInGame", "", dwStyle, 0, 0, 100, 100, hParent, NULL, GetModuleHandleA(NULL), NULL);
}

} // namespace

int main()
{
    const char* pszCommandLine = GetCommandLineA();
    const char* pszReport = getenv(GAMECLIENT_ENV_REPORT);
    const char* pszMode = getenv(GAMECLIENT_ENV_MODE);
    std::string strMode = pszMode != NULL ? pszMode : "";
    if (pszReport != NULL)
        g_hReport = HWND(ULongToHandle(strtoul(pszReport, NULL, 10)));

    WNDCLASSA wc = {};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.lpszClassName = "TavrelStandInGame";
    RegisterClassA(&wc);
    g_hWnd = MakeWindow(NULL, WS_OVERLAPPEDWINDOW);
    g_hChild = MakeWindow(g_hWnd, WS_CHILD);
    g_hOther = MakeWindow(NULL, WS_OVERLAPPEDWINDOW);

    std::string strToken = ArgumentAfter(pszCommandLine, "/RoomToken:");
    HANDLE hMapping = OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, strToken.c_str());
    tagGameShareData* pShare =
        hMapping != NULL ? static_cast<tagGameShareData*>(MapViewOfFile(hMapping, FILE_MAP_ALL_ACCESS, 0, 0, 0)) : NULL;

    std::vector<BYTE> start(sizeof(tagGameClientStart));
    tagGameClientStart head = {HandleToULong(g_hWnd), HandleToULong(g_hChild)};
    memcpy(start.data(), &head, sizeof(head));
    start.insert(start.end(), pszCommandLine, pszCommandLine + strlen(pszCommandLine) + 1);
    Report(GAMECLIENT_REPORT_START, start.data(), start.size());
    if (pShare == NULL || strMode == GAMECLIENT_MODE_EXIT)
        return 0;

    g_hChannel = HWND(ULongToHandle(pShare->dwChannelWnd));
    pShare->dwGameWnd = HandleToULong(g_hWnd);
    SetTimer(g_hWnd, TIMER_WATCH, 100, NULL);
    if (strMode == GAMECLIENT_MODE_CHILD_HELLO)
        SendFrame(g_hChild, 0, 1, NULL, 0);
    else if (strMode != GAMECLIENT_MODE_NO_HELLO)
        SendFrame(g_hWnd, 0, 1, NULL, 0);

    MSG msg;
    while (GetMessageA(&msg, NULL, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
        if (g_bCrash)
            Crash();
    }
    UnmapViewOfFile(pShare);
    CloseHandle(hMapping);
    return 0;
}
