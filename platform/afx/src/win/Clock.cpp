// "Now" and the mouse position as windows read them, with the values a test
// sets in their place.
#include "AfxImpl.h"

namespace
{
SRWLOCK g_seamLock = SRWLOCK_INIT;
bool g_bTestClock = false;
DWORD g_dwTestTick = 0;
LONGLONG g_llTestNowMs = 0; // milliseconds since 1970
bool g_bTestCursor = false;
POINT g_ptTestCursor = {0, 0};
} // namespace

DWORD AFXAPI AfxGetTickCount()
{
    AcquireSRWLockShared(&g_seamLock);
    const bool bTest = g_bTestClock;
    const DWORD dwTick = g_dwTestTick;
    ReleaseSRWLockShared(&g_seamLock);
    return bTest ? dwTick : ::GetTickCount();
}

CTime AFXAPI AfxGetCurrentTime()
{
    AcquireSRWLockShared(&g_seamLock);
    const bool bTest = g_bTestClock;
    const LONGLONG llNowMs = g_llTestNowMs;
    ReleaseSRWLockShared(&g_seamLock);
    return bTest ? CTime(llNowMs / 1000) : CTime::GetCurrentTime();
}

BOOL AFXAPI AfxGetCursorPos(LPPOINT lpPoint)
{
    AcquireSRWLockShared(&g_seamLock);
    const bool bTest = g_bTestCursor;
    const POINT pt = g_ptTestCursor;
    ReleaseSRWLockShared(&g_seamLock);
    if (!bTest)
        return ::GetCursorPos(lpPoint);
    *lpPoint = pt;
    return TRUE;
}

void AFXAPI AfxSetTestClock(DWORD dwTickCount, const CTime& timeNow)
{
    AcquireSRWLockExclusive(&g_seamLock);
    g_bTestClock = true;
    g_dwTestTick = dwTickCount;
    g_llTestNowMs = timeNow.GetTime() * 1000;
    ReleaseSRWLockExclusive(&g_seamLock);
}

void AFXAPI AfxAdvanceTestClock(DWORD dwMilliseconds)
{
    AcquireSRWLockExclusive(&g_seamLock);
    if (!g_bTestClock) {
        // Advancing a running clock starts the test clock at the real now.
        g_bTestClock = true;
        g_dwTestTick = ::GetTickCount();
        g_llTestNowMs = CTime::GetCurrentTime().GetTime() * 1000;
    }
    g_dwTestTick += dwMilliseconds; // wraps as the real count does
    g_llTestNowMs += dwMilliseconds;
    ReleaseSRWLockExclusive(&g_seamLock);
}

void AFXAPI AfxClearTestClock()
{
    AcquireSRWLockExclusive(&g_seamLock);
    g_bTestClock = false;
    ReleaseSRWLockExclusive(&g_seamLock);
}

void AFXAPI AfxSetTestCursorPos(POINT ptScreen)
{
    AcquireSRWLockExclusive(&g_seamLock);
    g_bTestCursor = true;
    g_ptTestCursor = ptScreen;
    ReleaseSRWLockExclusive(&g_seamLock);
}

void AFXAPI AfxClearTestCursorPos()
{
    AcquireSRWLockExclusive(&g_seamLock);
    g_bTestCursor = false;
    ReleaseSRWLockExclusive(&g_seamLock);
}

BOOL AfxHasTestCursorPos()
{
    AcquireSRWLockShared(&g_seamLock);
    const bool bTest = g_bTestCursor;
    ReleaseSRWLockShared(&g_seamLock);
    return bTest;
}
