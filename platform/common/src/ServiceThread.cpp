#include "ServiceThread.h"

#include <process.h>

CServiceThread::CServiceThread() : m_thread(NULL), m_threadId(0), m_stop(0) {}

CServiceThread::~CServiceThread()
{
    StopThread(INFINITE);
}

unsigned __stdcall CServiceThread::ThreadMain(void* parameter)
{
    CServiceThread* self = static_cast<CServiceThread*>(parameter);
    while (InterlockedCompareExchange(&self->m_stop, 0, 0) == 0) {
        if (!self->OnThreadRun())
            break;
    }
    return 0;
}

void CServiceThread::CloseFinished()
{
    if (m_thread && WaitForSingleObject(m_thread, 0) == WAIT_OBJECT_0) {
        CloseHandle(m_thread);
        m_thread = NULL;
        m_threadId = 0;
    }
}

bool CServiceThread::StartThead()
{
    CloseFinished();
    // A worker asked to stop is ending, whatever it does now.
    if (m_thread)
        return InterlockedCompareExchange(&m_stop, 0, 0) == 0;
    InterlockedExchange(&m_stop, 0);
    unsigned id = 0;
    uintptr_t handle = _beginthreadex(NULL, 0, &CServiceThread::ThreadMain, this, 0, &id);
    if (handle == 0)
        return false;
    m_thread = reinterpret_cast<HANDLE>(handle);
    m_threadId = id;
    return true;
}

bool CServiceThread::StopThread(DWORD timeout)
{
    if (m_thread == NULL)
        return true;
    InterlockedExchange(&m_stop, 1);
    if (GetCurrentThreadId() == m_threadId)
        return true;

    const DWORD started = GetTickCount();
    bool ended = false;
    for (;;) {
        // A suspended worker never sees the request: wake it each round, as
        // it may suspend itself again before it looks.
        DWORD count;
        do {
            count = ::ResumeThread(m_thread);
        } while (count != DWORD(-1) && count > 1);

        DWORD slice = 50;
        if (timeout != INFINITE) {
            DWORD elapsed = GetTickCount() - started;
            if (elapsed >= timeout)
                break;
            if (timeout - elapsed < slice)
                slice = timeout - elapsed;
        }
        if (WaitForSingleObject(m_thread, slice) == WAIT_OBJECT_0) {
            ended = true;
            break;
        }
    }
    // A worker is never killed: one ended inside its step could leave a lock
    // held for ever. It keeps the request and ends when it next looks; its
    // handle stays for a later stop to wait on.
    if (!ended)
        return false;
    CloseHandle(m_thread);
    m_thread = NULL;
    m_threadId = 0;
    InterlockedExchange(&m_stop, 0);
    return ended;
}

bool CServiceThread::IsRunning() const
{
    return m_thread != NULL && WaitForSingleObject(m_thread, 0) == WAIT_TIMEOUT;
}

DWORD CServiceThread::SuspendThread()
{
    return m_thread ? ::SuspendThread(m_thread) : DWORD(-1);
}

DWORD CServiceThread::ResumeThread()
{
    return m_thread ? ::ResumeThread(m_thread) : DWORD(-1);
}

HANDLE CServiceThread::GetThreadHandle() const
{
    return m_thread;
}

UINT CServiceThread::GetThreadID() const
{
    return m_threadId;
}
