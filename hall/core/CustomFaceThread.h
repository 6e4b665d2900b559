// The custom-face download thread: fetches the pictures its manager asks for
// over HTTP and stores them in the custom-face cache.
//
// The worker waits on an event while it has no work. Work is a set of state
// bits that the user-interface thread adds and the worker takes all at once,
// so a wake that arrives while the worker is busy is never lost.
#pragma once

#include <afxmt.h>

#include "ServiceThread.h"

class CCustomFaceManagerWnd;

class CCustomFaceThread : public CServiceThread
{
public:
    enum
    {
        STATE_IDLE = 0,
        STATE_FETCH_CURRENT = 1, // the manager's current request
        STATE_FETCH_QUEUE = 2    // the manager's queue, to its end
    };

    explicit CCustomFaceThread(CCustomFaceManagerWnd* pOwner);
    virtual ~CCustomFaceThread();

    // Any thread: adds the work and wakes the worker.
    void AddWork(DWORD dwState);
    void ResumeDownloadThread();
    // Ends the worker after the fetch it is in and waits for it.
    void StopDownloadThread();

    bool IsStopping() const { return InterlockedCompareExchange(&m_lStopping, 0, 0) != 0; }
    // True while work is pending or being done.
    bool IsWorking() const;

protected:
    bool OnThreadRun() override;

private:
    // Worker only: waits until it is given work (or told to stop).
    void SuspendDownloadThread();
    void FetchCurrentFace();
    void FetchQueuedFaces();

    mutable volatile LONG m_lState;
    mutable volatile LONG m_lRunning;
    CCustomFaceManagerWnd* m_pOwner;
    CEvent m_WakeEvent; // auto reset
    mutable volatile LONG m_lStopping;
};
