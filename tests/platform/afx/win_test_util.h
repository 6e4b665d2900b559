// Helpers of the class-library window tests.
#pragma once

#include <afxwin.h>

// Dispatches what is queued for this thread.
inline void PumpPending()
{
    MSG msg;
    while (::PeekMessage(&msg, NULL, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessage(&msg);
    }
}

// Dispatches messages until done() holds; false when the guard time ran out.
template <class F> bool PumpUntil(F done, DWORD dwGuardMs = 5000)
{
    DWORD dwStart = ::GetTickCount();
    while (!done()) {
        if (::GetTickCount() - dwStart > dwGuardMs)
            return false;
        ::MsgWaitForMultipleObjects(0, NULL, FALSE, 20, QS_ALLINPUT);
        PumpPending();
    }
    return true;
}

// A top-level pop-up of the library's default class, for parents in tests.
inline HWND CreateRawPopup(int cx = 200, int cy = 100)
{
    return ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, cx, cy, NULL, NULL, ::GetModuleHandle(NULL), NULL);
}
