// Stand-in for the mini hall program: one top-level window of class
// "MiniTavrel", made hidden. It appends its command line to the file named
// by TAVREL_MINIHALL_LOG and ends when its window is closed.
#include <windows.h>

#include <string.h>

namespace
{

void Record(const char* line)
{
    char path[MAX_PATH];
    DWORD length = GetEnvironmentVariableA("TAVREL_MINIHALL_LOG", path, sizeof(path));
    if (length == 0 || length >= sizeof(path))
        return;
    HANDLE file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_ALWAYS, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(file, line, (DWORD)strlen(line), &written, NULL);
    WriteFile(file, "\r\n", 2, &written, NULL);
    CloseHandle(file);
}

LRESULT CALLBACK MiniHallProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hWnd, message, wParam, lParam);
}

} // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int)
{
    WNDCLASSA wc;
    memset(&wc, 0, sizeof(wc));
    wc.lpfnWndProc = MiniHallProc;
    wc.hInstance = hInstance;
    wc.lpszClassName = "MiniTavrel";
    RegisterClassA(&wc);
    HWND hWnd = CreateWindowA("MiniTavrel", "MiniTavrel", WS_POPUP, 0, 0, 300, 200, NULL, NULL, hInstance, NULL);
    if (hWnd == NULL)
        return 1;
    // Recorded once the window exists, so a reader finds both.
    Record(GetCommandLineA());
    MSG msg;
    while (GetMessageA(&msg, NULL, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
