// The clock and mouse seams: a test's values replace the system's for every
// reader, and clearing them brings the system's back.
#include "win_test_util.h"

#include <afxtest.h>
#include <gtest/gtest.h>

namespace
{

class CMouseWnd : public CWnd
{
public:
    CPoint m_ptSeen;

protected:
    afx_msg void OnTimer(UINT_PTR nIDEvent) { m_ptSeen = GetCurrentMessage()->pt; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CMouseWnd, CWnd)
    ON_WM_TIMER()
END_MESSAGE_MAP()

TEST(ClockSeam, TheTestClockStandsStillUntilAdvanced)
{
    const CTime start(2024, 2, 29, 23, 59, 59);
    AfxSetTestClock(0xFFFFFF00u, start);
    EXPECT_EQ(AfxGetTickCount(), 0xFFFFFF00u);
    EXPECT_EQ(AfxGetCurrentTime(), start);
    EXPECT_EQ(AfxGetTickCount(), 0xFFFFFF00u);

    AfxAdvanceTestClock(500);
    EXPECT_EQ(AfxGetTickCount(), 0x000000F4u); // wraps as the real count does
    EXPECT_EQ(AfxGetCurrentTime(), start);     // half a second: the same second
    AfxAdvanceTestClock(500);
    EXPECT_EQ(AfxGetCurrentTime(), CTime(2024, 3, 1, 0, 0, 0));

    AfxClearTestClock();
    // The seam's count first: the real one read after it is never behind it.
    const DWORD dwSeam = AfxGetTickCount();
    EXPECT_LE(::GetTickCount() - dwSeam, 1000u);
    EXPECT_LE((AfxGetCurrentTime() - CTime::GetCurrentTime()).GetTotalSeconds(), 1);
}

TEST(ClockSeam, AdvancingTheRealClockStartsFromNow)
{
    const CTime before = CTime::GetCurrentTime();
    AfxAdvanceTestClock(60 * 60 * 1000);
    EXPECT_GE((AfxGetCurrentTime() - before).GetTotalSeconds(), 3600);
    EXPECT_LE((AfxGetCurrentTime() - before).GetTotalSeconds(), 3602);
    AfxClearTestClock();
}

TEST(CursorSeam, WindowsSeeTheMouseWhereTheTestPutIt)
{
    CMouseWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, NULL, "", WS_POPUP, 0, 0, 10, 10, NULL, NULL));
    AfxSetTestCursorPos(CPoint(1234, -56));
    CPoint pt;
    EXPECT_TRUE(AfxGetCursorPos(&pt));
    EXPECT_EQ(pt, CPoint(1234, -56));
    wnd.SendMessage(WM_TIMER, 1);
    EXPECT_EQ(wnd.m_ptSeen, CPoint(1234, -56));

    AfxClearTestCursorPos();
    POINT ptReal;
    ::GetCursorPos(&ptReal);
    EXPECT_TRUE(AfxGetCursorPos(&pt));
    EXPECT_EQ(pt, CPoint(ptReal));
    wnd.DestroyWindow();
}

} // namespace
