// Waiting on the test thread while its windows keep getting their messages
// (the socket module delivers its events through them).
#pragma once

#include <windows.h>

inline void PumpMessages()
{
    MSG msg;
    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// True as soon as done() holds; false when the time runs out first.
template <class Predicate> bool PumpUntil(Predicate done, DWORD dwTimeout = 5000)
{
    DWORD dwStart = GetTickCount();
    for (;;) {
        PumpMessages();
        if (done())
            return true;
        if (GetTickCount() - dwStart >= dwTimeout)
            return false;
        MsgWaitForMultipleObjects(0, NULL, FALSE, 5, QS_ALLINPUT);
    }
}

// Lets whatever is in flight arrive, for checks that something did not happen.
inline void PumpFor(DWORD dwMilliseconds)
{
    DWORD dwStart = GetTickCount();
    while (GetTickCount() - dwStart < dwMilliseconds) {
        PumpMessages();
        MsgWaitForMultipleObjects(0, NULL, FALSE, 5, QS_ALLINPUT);
    }
    PumpMessages();
}
