// Waiting in a test for something it can observe (a counter, a file, a
// state), never for a fixed time. WaitFor leaves the thread's messages alone;
// PumpUntil waits while dispatching them (the socket module, timers and the
// windows under test get theirs meanwhile).
#pragma once

#include <windows.h>

// True as soon as done() holds; false when dwTimeout ms pass first.
template <class Predicate> bool WaitFor(Predicate done, DWORD dwTimeout = 10000)
{
    DWORD dwStart = GetTickCount();
    while (!done()) {
        if (GetTickCount() - dwStart >= dwTimeout)
            return done();
        Sleep(1);
    }
    return true;
}

// Dispatches what is queued for this thread.
inline void PumpMessages()
{
    MSG msg;
    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// True as soon as done() holds; false when dwTimeout ms pass first. The bound
// only guards against a hang: reaching it is a failure, so it is generous.
template <class Predicate> bool PumpUntil(Predicate done, DWORD dwTimeout = 10000)
{
    DWORD dwStart = GetTickCount();
    for (;;) {
        PumpMessages();
        if (done())
            return true;
        if (GetTickCount() - dwStart >= dwTimeout)
            return done();
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
