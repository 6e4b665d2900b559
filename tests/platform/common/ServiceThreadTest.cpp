#include "ServiceThread.h"
#include "TestWait.h"

#include <gtest/gtest.h>

namespace
{
// Counts its run steps; ends by itself after `limit` steps, or suspends
// itself after every step when asked to idle.
class CountingThread : public CServiceThread
{
public:
    explicit CountingThread(LONG limit, bool idle = false) : m_limit(limit), m_idle(idle), m_steps(0)
    {
        m_stepped = CreateEventA(NULL, FALSE, FALSE, NULL);
    }
    ~CountingThread()
    {
        StopThread(INFINITE);
        CloseHandle(m_stepped);
    }
    LONG Steps() const { return m_steps; }
    bool WaitStep() { return WaitForSingleObject(m_stepped, 5000) == WAIT_OBJECT_0; }

protected:
    bool OnThreadRun() override
    {
        LONG steps = InterlockedIncrement(&m_steps);
        SetEvent(m_stepped);
        if (m_idle)
            SuspendThread();
        return m_limit == 0 || steps < m_limit;
    }

private:
    LONG m_limit;
    bool m_idle;
    volatile LONG m_steps;
    HANDLE m_stepped;
};

bool WaitSuspended(CServiceThread& thread)
{
    return WaitFor(
        [&] {
            DWORD before = thread.SuspendThread();
            thread.ResumeThread();
            return before != DWORD(-1) && before >= 1;
        },
        5000);
}

class StuckThread : public CServiceThread
{
public:
    StuckThread()
    {
        m_release = CreateEventA(NULL, TRUE, FALSE, NULL);
        m_entered = CreateEventA(NULL, TRUE, FALSE, NULL);
    }
    ~StuckThread()
    {
        SetEvent(m_release);
        StopThread(INFINITE);
        CloseHandle(m_release);
        CloseHandle(m_entered);
    }
    bool WaitEntered() { return WaitForSingleObject(m_entered, 5000) == WAIT_OBJECT_0; }
    void Release() { SetEvent(m_release); }

protected:
    bool OnThreadRun() override
    {
        SetEvent(m_entered);
        WaitForSingleObject(m_release, INFINITE);
        return true;
    }

private:
    HANDLE m_release;
    HANDLE m_entered;
};
} // namespace

TEST(ServiceThread, RunsTheStepUntilItAnswersFalse)
{
    CountingThread thread(5);
    ASSERT_TRUE(thread.StartThead());
    WaitForSingleObject(thread.GetThreadHandle(), 5000);
    EXPECT_FALSE(thread.IsRunning());
    EXPECT_EQ(5, thread.Steps());
    EXPECT_TRUE(thread.StopThread(INFINITE));
    EXPECT_TRUE(thread.GetThreadHandle() == NULL);

    // It starts again after it ended (and ends after one more step).
    ASSERT_TRUE(thread.StartThead());
    WaitForSingleObject(thread.GetThreadHandle(), 5000);
    EXPECT_EQ(6, thread.Steps());
}

TEST(ServiceThread, StopEndsAWorkerThatSuspendedItself)
{
    CountingThread thread(0, true);
    ASSERT_TRUE(thread.StartThead());
    ASSERT_TRUE(thread.WaitStep());
    EXPECT_TRUE(thread.IsRunning());
    // Woken once by hand it runs one more step and idles again.
    ASSERT_TRUE(WaitSuspended(thread));
    thread.ResumeThread();
    ASSERT_TRUE(thread.WaitStep());
    EXPECT_TRUE(thread.StartThead()); // already running: nothing new
    EXPECT_TRUE(thread.StopThread(INFINITE));
    EXPECT_FALSE(thread.IsRunning());
    EXPECT_GE(thread.Steps(), 2);
}

// A worker is only ever asked to end: one killed in its step could leave a
// lock held for ever.
TEST(ServiceThread, StopTimeOutReportsFailureAndLeavesTheWorkerRunning)
{
    StuckThread thread;
    ASSERT_TRUE(thread.StartThead());
    ASSERT_TRUE(thread.WaitEntered());
    DWORD started = GetTickCount();
    EXPECT_FALSE(thread.StopThread(100));
    EXPECT_LT(GetTickCount() - started, 3000u);
    EXPECT_TRUE(thread.IsRunning());
    HANDLE worker = thread.GetThreadHandle();
    ASSERT_TRUE(worker != NULL);
    // It is on its way out: no new start is promised meanwhile.
    EXPECT_FALSE(thread.StartThead());

    // Once its step returns it sees the request and ends by itself.
    thread.Release();
    ASSERT_EQ(WaitForSingleObject(worker, 5000), WAIT_OBJECT_0);
    DWORD code = 1;
    EXPECT_TRUE(GetExitCodeThread(worker, &code));
    EXPECT_EQ(code, 0u);
    EXPECT_TRUE(thread.StopThread(INFINITE));
    EXPECT_TRUE(thread.GetThreadHandle() == NULL);
    // And it starts again afterwards.
    EXPECT_TRUE(thread.StartThead());
}
