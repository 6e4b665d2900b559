#include "UpdateTask.h"

#include <vector>

CUpdateTask::CUpdateTask(CFileUpdate* pOwner, HWND hNotifyWnd, DWORD dwKind)
    : m_pOwner(pOwner), m_hNotifyWnd(hNotifyWnd), m_dwKind(dwKind), m_bCancelled(false), m_bEnded(false),
      m_bReleased(false)
{
    InterlockedIncrement(&s_lLive);
}

volatile LONG CUpdateTask::s_lLive = 0;

LONG CUpdateTask::GetLiveCount()
{
    return InterlockedCompareExchange(&s_lLive, 0, 0);
}

CUpdateTask::~CUpdateTask()
{
    InterlockedDecrement(&s_lLive);
    if (GetThreadHandle() != NULL && GetCurrentThreadId() == GetThreadID()) {
        // Deleted by its own worker: the base only asks a thread to stop from
        // inside it, so the handle is closed here.
        CloseHandle(GetThreadHandle());
        return;
    }
    StopThread(INFINITE);
}

void CUpdateTask::WaitForWorker()
{
    if (GetThreadHandle() != NULL && GetCurrentThreadId() != GetThreadID())
        StopThread(INFINITE);
}

void CUpdateTask::DetachNotifyWindow()
{
    m_Lock.Lock();
    m_hNotifyWnd = NULL;
    m_Lock.Unlock();
}

void CUpdateTask::Cancel()
{
    m_Lock.Lock();
    m_bCancelled = true;
    m_hNotifyWnd = NULL;
    OnCancel();
    m_Lock.Unlock();
}

bool CUpdateTask::HasEnded() const
{
    HANDLE hThread = GetThreadHandle();
    return hThread == NULL || WaitForSingleObject(hThread, 0) == WAIT_OBJECT_0;
}

bool CUpdateTask::WaitEnded(DWORD dwTimeout) const
{
    HANDLE hThread = GetThreadHandle();
    return hThread == NULL || WaitForSingleObject(hThread, dwTimeout) == WAIT_OBJECT_0;
}

bool CUpdateTask::IsCancelled()
{
    m_Lock.Lock();
    bool bCancelled = m_bCancelled;
    m_Lock.Unlock();
    return bCancelled;
}

void CUpdateTask::PostLocked(UINT uMessage, LPARAM lParam)
{
    if (!m_bCancelled && m_hNotifyWnd != NULL && IsWindow(m_hNotifyWnd))
        ::PostMessage(m_hNotifyWnd, uMessage, (WPARAM)m_dwKind, lParam);
}

void CUpdateTask::PostReport(UINT uMessage, LPARAM lParam)
{
    m_Lock.Lock();
    PostLocked(uMessage, lParam);
    m_Lock.Unlock();
}

bool CUpdateTask::EndRun()
{
    m_Lock.Lock();
    m_bEnded = true;
    bool bReleased = m_bReleased;
    m_Lock.Unlock();
    if (bReleased)
        delete this;
    return false;
}

void CUpdateTask::Release()
{
    if (HasEnded()) {
        delete this;
        return;
    }
    m_Lock.Lock();
    bool bEnded = m_bEnded;
    if (!bEnded)
        m_bReleased = true;
    m_Lock.Unlock();
    // Past EndRun the worker only returns; the destructor waits for that.
    if (bEnded)
        delete this;
}

void CUpdateTask::StopTasks(CUpdateTask* const* ppTasks, int nCount, DWORD dwWait)
{
    for (int i = 0; i < nCount; i++)
        ppTasks[i]->Cancel();

    DWORD dwStart = GetTickCount();
    for (int i = 0; i < nCount; i++) {
        DWORD dwElapsed = GetTickCount() - dwStart;
        ppTasks[i]->WaitEnded(dwElapsed < dwWait ? dwWait - dwElapsed : 0);
    }
    for (int i = 0; i < nCount; i++)
        ppTasks[i]->Release();
}
