// CThreadLock: a lock between threads of one process (a critical section).
#pragma once

#include <windows.h>

class CThreadLock
{
public:
    CThreadLock();
    ~CThreadLock();

    void Lock();
    void Unlock();

private:
    CThreadLock(const CThreadLock&);
    CThreadLock& operator=(const CThreadLock&);

    CRITICAL_SECTION m_section;
};
