// The fast-server probe: one worker thread per logon server tries a plain
// TCP connect; the first server that accepts within the bound wins. Each
// run's threads share one result word, written atomically; every thread
// works on its own copy of its server, so nothing they read goes away under
// them, and a later run never sees an earlier run's answers.
#pragma once

#include <afx.h>

#include "LogonServer.h"

// Values of the result word besides a server index.
#define FAST_SERVER_NONE (-1)  // no answer yet, or no probe ran
#define FAST_SERVER_FAILED 255 // a connect failed and no server answered yet

class CFastServerProbe
{
public:
    // How long each thread waits for its connect, ms; tests shorten it.
    static DWORD s_dwConnectBound;
    // Servers beyond this many are not probed.
    static constexpr int kMaxThreads = 50;

    CFastServerProbe();
    // Threads still running keep their run's result word alive themselves.
    ~CFastServerProbe();

    // Starts a new run over the servers; answers the result word as it
    // stands after starting.
    LONG Start(const tagLogonServer* servers, int count);
    LONG GetResult() const;
    // Waits for the threads of the current run; false when time ran out.
    bool Wait(DWORD timeout);

private:
    struct Run;
    struct Job;

    CFastServerProbe(const CFastServerProbe&) = delete;
    CFastServerProbe& operator=(const CFastServerProbe&) = delete;

    static unsigned __stdcall ProbeThread(void* param);
    static void ProbeServer(Run* run, const tagLogonServer& server, DWORD bound);
    static void ReleaseRun(Run* run);
    void CloseThreads();

    Run* m_pRun;
    HANDLE m_hThreads[kMaxThreads];
    int m_nThreads;
};
