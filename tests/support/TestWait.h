// Waiting in a test for something it can observe (a counter, a file, a
// state), never for a fixed time. WaitFor leaves the thread's messages alone;
// PumpUntil waits while dispatching them (the socket module, timers and the
// windows under test get theirs meanwhile).
#pragma once

#include <windows.h>

#include <stdlib.h>

#include <string>
#include <vector>

// The bound of a wait, stretched by TAVREL_WAIT_SCALE (1 to 20): the 32-bit
// run is emulated, and there a process start on a busy machine can take ten
// times as long. A wait still ends as soon as its condition holds.
inline DWORD WaitBound(DWORD dwTimeout)
{
    static const DWORD s_dwScale = [] {
        char szScale[16] = "";
        DWORD dwLength = GetEnvironmentVariableA("TAVREL_WAIT_SCALE", szScale, sizeof(szScale));
        long nScale = dwLength > 0 && dwLength < sizeof(szScale) ? strtol(szScale, NULL, 10) : 1;
        return DWORD(nScale < 1 ? 1 : nScale > 20 ? 20 : nScale);
    }();
    return dwTimeout > 0xFFFFFFFFu / s_dwScale ? 0xFFFFFFFFu : dwTimeout * s_dwScale;
}

// True as soon as done() holds; false when dwTimeout ms pass first.
template <class Predicate> bool WaitFor(Predicate done, DWORD dwTimeout = 10000)
{
    dwTimeout = WaitBound(dwTimeout);
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
    dwTimeout = WaitBound(dwTimeout);
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

// Reads a file another process writes and renames into place, once it holds
// exactly nSize bytes. It opens with every share mode and tries again while
// the open fails: the writer's rename keeps the file open with delete access
// for a moment, and an open without delete sharing fails meanwhile.
inline bool PumpUntilFileRead(const std::string& strPath, size_t nSize, std::vector<char>& bytes,
                              DWORD dwTimeout = 10000)
{
    return PumpUntil(
        [&] {
            HANDLE hFile =
                CreateFileA(strPath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
            if (hFile == INVALID_HANDLE_VALUE)
                return false;
            bytes.assign(nSize + 1, 0);
            DWORD dwRead = 0;
            const BOOL bRead = ReadFile(hFile, bytes.data(), DWORD(bytes.size()), &dwRead, NULL);
            CloseHandle(hFile);
            bytes.resize(bRead ? dwRead : 0);
            return bytes.size() == nSize;
        },
        dwTimeout);
}
