// Stands in for the user-service program in the hall's tests. It does what
// the hall relies on: opens the block named by its whole command line, writes
// its main window into it and copies it. What it then does is set by the
// environment the hall passed on:
//   TAVREL_QUILLON_REPORT  a file that gets the 84 bytes it read and its window
//   TAVREL_QUILLON_MODE    "nowindow": writes no window; "notice": sends the
//                          face notice to the hall window once it runs
// It ends when its window closes, or after a minute.
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "ServiceShareData.h"

namespace
{

LRESULT CALLBACK WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_CLOSE || uMsg == WM_TIMER) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hWnd, uMsg, wParam, lParam);
}

// The command line after the program's own name.
const char* BlockName()
{
    const char* p = GetCommandLineA();
    if (*p == '"') {
        p = strchr(p + 1, '"');
        p = p != NULL ? p + 1 : "";
    } else {
        while (*p != '\0' && *p != ' ')
            ++p;
    }
    while (*p == ' ')
        ++p;
    return p;
}

} // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int)
{
    char mode[32] = "";
    GetEnvironmentVariableA("TAVREL_QUILLON_MODE", mode, sizeof(mode));
    char report[MAX_PATH] = "";
    GetEnvironmentVariableA("TAVREL_QUILLON_REPORT", report, sizeof(report));

    HANDLE hMapping = OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, BlockName());
    if (hMapping == NULL)
        return 2;
    tagServiceShareData* pBlock = static_cast<tagServiceShareData*>(
        MapViewOfFile(hMapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(tagServiceShareData)));
    if (pBlock == NULL)
        return 3;

    WNDCLASSA wc = {};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = hInstance;
    wc.lpszClassName = "QuillonStandIn";
    RegisterClassA(&wc);
    HWND hWnd =
        CreateWindowA("QuillonStandIn", "Quillon", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, NULL, NULL, hInstance, NULL);
    if (strcmp(mode, "nowindow") != 0)
        pBlock->dwServiceWnd = HandleToULong(hWnd);
    tagServiceShareData copy = *pBlock;
    UnmapViewOfFile(pBlock);
    CloseHandle(hMapping);

    if (report[0] != '\0') {
        char temp[MAX_PATH + 4];
        snprintf(temp, sizeof(temp), "%s.tmp", report);
        FILE* f = fopen(temp, "wb");
        if (f != NULL) {
            fwrite(&copy, sizeof(copy), 1, f);
            DWORD window = HandleToULong(hWnd);
            fwrite(&window, sizeof(window), 1, f);
            fclose(f);
            MoveFileExA(temp, report, MOVEFILE_REPLACE_EXISTING);
        }
    }

    if (strcmp(mode, "notice") == 0) {
        char data[SERVICE_NOTICE_SIZE] = {};
        COPYDATASTRUCT cds = {SERVICE_NOTICE_DATA, SERVICE_NOTICE_SIZE, data};
        SendMessageA(HWND(ULongToHandle(copy.dwHallWnd)), WM_COPYDATA, WPARAM(hWnd), LPARAM(&cds));
    }

    SetTimer(hWnd, 1, 60000, NULL);
    MSG msg;
    while (GetMessageA(&msg, NULL, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
