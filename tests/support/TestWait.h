// Waiting in a test for something it can observe (a counter, a file, a
// state), never for a fixed time. The thread's messages are not touched:
// MessagePump.h waits while pumping them.
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
