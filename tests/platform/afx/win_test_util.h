// Helpers of the class-library window tests.
#pragma once

#include <afxwin.h>

#include "TestWait.h"

// A top-level pop-up of the library's default class, for parents in tests.
inline HWND CreateRawPopup(int cx = 200, int cy = 100)
{
    return ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, cx, cy, NULL, NULL, ::GetModuleHandle(NULL), NULL);
}
