#include "ProcessWindows.h"

namespace
{

struct tagSearch
{
    DWORD dwProcessId;
    const std::function<bool(HWND)>* pAccept;
    HWND hFound;
};

BOOL CALLBACK AcceptTopLevel(HWND hWnd, LPARAM lParam)
{
    tagSearch* search = (tagSearch*)lParam;
    DWORD dwProcessId = 0;
    GetWindowThreadProcessId(hWnd, &dwProcessId);
    if (dwProcessId != search->dwProcessId || !IsWindowVisible(hWnd) || !(*search->pAccept)(hWnd))
        return TRUE;
    search->hFound = hWnd;
    return FALSE;
}

} // namespace

HWND FindProcessWindow(DWORD dwProcessId, const std::function<bool(HWND)>& accept)
{
    tagSearch search = {dwProcessId, &accept, NULL};
    EnumWindows(AcceptTopLevel, (LPARAM)&search);
    return search.hFound;
}

std::vector<HWND> ProcessWindows(DWORD dwProcessId)
{
    std::vector<HWND> windows;
    FindProcessWindow(dwProcessId, [&](HWND hWnd) {
        windows.push_back(hWnd);
        return false;
    });
    return windows;
}
