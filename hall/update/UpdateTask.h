// Base of the update tasks: a worker thread that reports once to the window
// that asked, and can be stopped from the interface thread without waiting
// on a transfer that hangs.
//
// The notify window is a handle read and cleared only under the task's lock,
// and a report is posted under it, so once DetachNotifyWindow or Cancel has
// returned the task posts nothing more.
#pragma once

#include <afxwin.h>

#include "ServiceThread.h"
#include "ThreadLock.h"

class CFileUpdate;

// Reports of the tasks: wParam the caller's kind.
#define WM_UPDATE_FAILED (WM_USER + 101)   // lParam: an error code or 0
#define WM_UPDATE_FINISHED (WM_USER + 102) // lParam: 0

class CUpdateTask : public CServiceThread
{
public:
    CUpdateTask(CFileUpdate* pOwner, HWND hNotifyWnd, DWORD dwKind);
    virtual ~CUpdateTask();

    DWORD GetKind() const { return m_dwKind; }

    // No report after this returns.
    void DetachNotifyWindow();
    // Asks the task to end without installing or reporting anything, and
    // breaks off a transfer in progress.
    void Cancel();
    // True once the worker has ended (or never ran).
    bool HasEnded() const;
    // Waits up to dwTimeout ms for the worker to end.
    bool WaitEnded(DWORD dwTimeout) const;

    // Cancels the tasks, waits for them together at most dwWait ms and
    // deletes them; a task still running then deletes itself when its worker
    // ends, having done nothing more.
    static void StopTasks(CUpdateTask* const* ppTasks, int nCount, DWORD dwWait);
    // Tasks of the process not deleted yet, given-up ones included.
    static LONG GetLiveCount();

protected:
    // Derived destructors call this first: their members must outlive the
    // worker. Does nothing on the worker itself.
    void WaitForWorker();

    // Breaks off a transfer; called under the lock.
    virtual void OnCancel() {}

    bool IsCancelled();
    // Both with the lock held.
    bool IsCancelledLocked() const { return m_bCancelled; }
    void PostLocked(UINT uMessage, LPARAM lParam);
    // Under the lock: posts when the task was not cancelled and the window
    // is set and still a window.
    void PostReport(UINT uMessage, LPARAM lParam);
    // The run routine's last step: answers false for it to return. A task
    // given up by its owner is deleted here, so nothing may touch it after.
    bool EndRun();

    CFileUpdate* m_pOwner;
    CThreadLock m_Lock;
    HWND m_hNotifyWnd;
    DWORD m_dwKind;

private:
    // Deletes the task, or leaves it to delete itself when its worker is
    // still running.
    void Release();

    bool m_bCancelled;
    bool m_bEnded;    // EndRun has run
    bool m_bReleased; // the owner gave the task up

    static volatile LONG s_lLive;
};
