#include "ThreadLock.h"

CThreadLock::CThreadLock()
{
    InitializeCriticalSection(&m_section);
}

CThreadLock::~CThreadLock()
{
    DeleteCriticalSection(&m_section);
}

void CThreadLock::Lock()
{
    EnterCriticalSection(&m_section);
}

void CThreadLock::Unlock()
{
    LeaveCriticalSection(&m_section);
}
