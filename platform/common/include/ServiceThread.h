// CServiceThread: base of a worker thread that calls OnThreadRun again and
// again until it answers false or the thread is stopped.
//
// A derived class stops the thread in its own destructor: by the time the base
// destructor runs, OnThreadRun is no longer there to call.
#pragma once

#include <windows.h>

#include "ThreadLock.h"

class CServiceThread
{
public:
    CServiceThread();
    virtual ~CServiceThread();

    // Starts the worker; true when it runs (also when it was running already),
    // false while a worker asked to stop has not ended yet.
    bool StartThead();
    // Asks the worker to end after its current run step and waits up to
    // timeout milliseconds. A worker still running then is left to end by
    // itself (the request stands) and the answer is false. Called on the
    // worker itself it only asks.
    bool StopThread(DWORD timeout = INFINITE);
    bool IsRunning() const;

    // The worker's suspend count, as the system calls of the same names.
    DWORD SuspendThread();
    DWORD ResumeThread();

    HANDLE GetThreadHandle() const;
    UINT GetThreadID() const;

protected:
    // One run step on the worker; false ends the thread.
    virtual bool OnThreadRun() = 0;

private:
    CServiceThread(const CServiceThread&);
    CServiceThread& operator=(const CServiceThread&);

    static unsigned __stdcall ThreadMain(void* parameter);
    void CloseFinished();

    HANDLE m_thread;
    UINT m_threadId;
    volatile LONG m_stop;
};
