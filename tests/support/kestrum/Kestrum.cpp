// Stand-in of the installer "Kestrum.exe": opens the block named on its
// command line ("/ShareName:<name>"), writes its window at +8, says hello to
// the download window at +4, unpacks each package it is handed into the
// folder of KESTRUM_TARGET, reporting progress (1,4) and installed (1,3), and
// ends when the hall says the queue is empty (3,2).
//
// Environment: KESTRUM_LOG, a file each event is appended to ("start <command
// line>", "record <id> <path>", "installed <id>", "front", "empty");
// KESTRUM_MODE: "silent" never says hello, "exit" ends right after the hello,
// "hold" installs a record only when the test posts WM_KESTRUM_INSTALL to its
// window.
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <deque>
#include <string>

#include "ChannelMessageSink.h"
#include "KestrumControl.h"
#include "ZipError.h"
#include "ZipPack.h"

namespace
{
#pragma pack(push, 1)
struct InstallShare
{
    WORD wSize;
    WORD wReserved;
    DWORD dwHallWnd;
    DWORD dwInstallerWnd;
};
struct InstallStatus
{
    WORD wID;
    WORD wReserved;
    DWORD dwDone;
    DWORD dwTotal;
    char szText[260];
};
#pragma pack(pop)

HWND g_hWnd = NULL;
HWND g_hHall = NULL;
std::string g_Mode;
std::string g_Target;
std::deque<InstallStatus> g_Records;

void Log(const std::string& line)
{
    char szPath[MAX_PATH] = "";
    if (GetEnvironmentVariableA("KESTRUM_LOG", szPath, MAX_PATH) == 0)
        return;
    FILE* f = fopen(szPath, "ab");
    if (f == NULL)
        return;
    fprintf(f, "%s\n", line.c_str());
    fclose(f);
}

void Send(WORD wMain, WORD wSub, const void* pData, WORD wSize)
{
    BYTE frame[IPC_MAX_FRAME];
    tagIPCHead* head = reinterpret_cast<tagIPCHead*>(frame);
    head->wVersion = IPC_VERSION;
    head->wSize = (WORD)(IPC_HEAD_SIZE + wSize);
    head->wMainCmdID = wMain;
    head->wSubCmdID = wSub;
    if (wSize > 0)
        memcpy(frame + IPC_HEAD_SIZE, pData, wSize);
    COPYDATASTRUCT cds = {IPC_IDENTIFIER, head->wSize, frame};
    SendMessageA(g_hHall, WM_COPYDATA, (WPARAM)g_hWnd, (LPARAM)&cds);
}

void InstallOne()
{
    if (g_Records.empty())
        return;
    InstallStatus status = g_Records.front();
    g_Records.pop_front();
    status.dwDone = 50;
    status.dwTotal = 100;
    Send(1, 4, &status, sizeof(status));
    try {
        CZipPack pack;
        if (pack.OpenArchive(status.szText, CZipPack::zipOpenReadOnly)) {
            for (int i = 0; i < pack.EntryCount(); i++)
                pack.ExtractEntry(i, g_Target.c_str());
            pack.CloseArchive();
        }
    } catch (CException* e) {
        e->Delete();
    }
    status.dwDone = 100;
    Log("installed " + std::to_string(status.wID));
    Send(1, 3, &status, sizeof(status));
}

LRESULT CALLBACK WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_KESTRUM_INSTALL) {
        InstallOne();
        return 0;
    }
    if (uMsg != WM_COPYDATA)
        return DefWindowProcA(hWnd, uMsg, wParam, lParam);
    const COPYDATASTRUCT* cds = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    if (cds == NULL || cds->dwData != IPC_IDENTIFIER || cds->cbData < IPC_HEAD_SIZE || cds->lpData == NULL)
        return FALSE;
    const tagIPCHead* head = static_cast<const tagIPCHead*>(cds->lpData);
    const BYTE* data = static_cast<const BYTE*>(cds->lpData) + IPC_HEAD_SIZE;
    DWORD dataSize = cds->cbData - IPC_HEAD_SIZE;
    if (head->wMainCmdID == 2 && head->wSubCmdID == 1 && dataSize >= sizeof(InstallStatus)) {
        InstallStatus status;
        memcpy(&status, data, sizeof(status));
        status.szText[sizeof(status.szText) - 1] = '\0';
        Log("record " + std::to_string(status.wID) + " " + status.szText);
        g_Records.push_back(status);
        // Installed after the hall's send returns, as a real installer works.
        if (g_Mode != "hold")
            PostMessageA(hWnd, WM_KESTRUM_INSTALL, 0, 0);
        return TRUE;
    }
    if (head->wMainCmdID == 3 && head->wSubCmdID == 1) {
        Log("front");
        return TRUE;
    }
    if (head->wMainCmdID == 3 && head->wSubCmdID == 2) {
        Log("empty");
        PostQuitMessage(0);
        return TRUE;
    }
    return FALSE;
}

std::string Env(const char* name)
{
    char value[MAX_PATH] = "";
    DWORD n = GetEnvironmentVariableA(name, value, MAX_PATH);
    return n > 0 && n < MAX_PATH ? value : "";
}
} // namespace

int main()
{
    std::string commandLine = GetCommandLineA();
    Log("start " + commandLine);
    g_Mode = Env("KESTRUM_MODE");
    g_Target = Env("KESTRUM_TARGET");
    size_t at = commandLine.find("/ShareName:");
    if (at == std::string::npos)
        return 2;
    std::string name = commandLine.substr(at + 11);
    while (!name.empty() && (name.back() == ' ' || name.back() == '"'))
        name.pop_back();
    HANDLE hMap = OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, name.c_str());
    if (hMap == NULL)
        return 3;
    InstallShare* pShare = static_cast<InstallShare*>(MapViewOfFile(hMap, FILE_MAP_ALL_ACCESS, 0, 0, 0));
    if (pShare == NULL)
        return 4;

    WNDCLASSA wc = {};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.lpszClassName = "KestrumStandIn";
    RegisterClassA(&wc);
    g_hWnd = CreateWindowA("KestrumStandIn", "Kestrum", WS_POPUP, 0, 0, 10, 10, NULL, NULL, wc.hInstance, NULL);
    g_hHall = (HWND)ULongToHandle(pShare->dwHallWnd);
    if (g_Mode == "silent") {
        // Runs without a word until the test ends it.
        Sleep(60000);
        return 0;
    }
    pShare->dwInstallerWnd = HandleToULong(g_hWnd);
    Send(1, 1, NULL, 0);
    if (g_Mode == "exit")
        return 0;
    MSG msg;
    // Ends on (3,2), or after a minute of nothing (a test that died).
    SetTimer(g_hWnd, 1, 60000, NULL);
    while (GetMessageA(&msg, NULL, 0, 0) > 0) {
        if (msg.message == WM_TIMER)
            break;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    UnmapViewOfFile(pShare);
    CloseHandle(hMap);
    return 0;
}
