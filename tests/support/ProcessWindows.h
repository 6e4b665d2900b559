// The visible top-level windows of another process, as tests that drive a
// started program look for its dialogs and frame.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

// The first visible top-level window of the process, in Z order, that accept
// takes; NULL when none.
HWND FindProcessWindow(DWORD dwProcessId, const std::function<bool(HWND)>& accept);

// Every visible top-level window of the process, in Z order.
std::vector<HWND> ProcessWindows(DWORD dwProcessId);
