// The message-sequence recorder: what it records from a window of the
// thread, and the first mismatch it reports.
#include "MessageSequence.h"

#include <gtest/gtest.h>

#include "MessagePump.h"

namespace
{

class MessageSequenceTest : public testing::Test
{
protected:
    void SetUp() override
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(NULL);
        wc.lpszClassName = "MessageSequenceTest";
        RegisterClassA(&wc);
        m_hWnd = CreateWindowA("MessageSequenceTest", "", WS_OVERLAPPEDWINDOW, 0, 0, 100, 80, NULL, NULL, wc.hInstance,
                               NULL);
        ASSERT_NE(m_hWnd, nullptr);
        m_recorder.Watch(m_hWnd, true);
    }
    void TearDown() override { DestroyWindow(m_hWnd); }

    // One sent message with its parameters, then one posted, taken off the queue.
    void SendAndPost()
    {
        SendMessageA(m_hWnd, WM_USER + 1, 5, 6);
        PostMessageA(m_hWnd, WM_USER + 2, 7, 8);
        PumpMessages();
    }

    HWND m_hWnd = NULL;
    CMessageRecorder m_recorder;
};

TEST_F(MessageSequenceTest, RecordsSentAndPostedInOrder)
{
    SendAndPost();
    ASSERT_EQ(m_recorder.Recorded().size(), 2u);
    EXPECT_FALSE(m_recorder.Recorded()[0].posted);
    EXPECT_TRUE(m_recorder.Recorded()[1].posted);
    EXPECT_TRUE(m_recorder.ExpectSequence(
        {{WM_USER + 1, msgSent | msgWParam | msgLParam, 5, 6}, {WM_USER + 2, msgPosted | msgWParam, 7}}, "both"));
    EXPECT_TRUE(m_recorder.Recorded().empty()) << "a check starts a fresh record";
}

TEST_F(MessageSequenceTest, ReportsTheFirstMismatch)
{
    struct Case
    {
        const char* what;
        std::vector<ExpectedMessage> expected;
        const char* fault; // empty: matches
    } cases[] = {
        {"optional entries are skipped",
         {{WM_CLOSE, msgOptional}, {WM_USER + 1, msgSent}, {WM_SIZE, msgOptional}, {WM_USER + 2, 0}},
         ""},
        {"order", {{WM_USER + 2, 0}, {WM_USER + 1, 0}}, "message 1: expected WM_USER+2, got sent WM_USER+1"},
        {"sent for posted", {{WM_USER + 1, 0}, {WM_USER + 2, msgSent}}, "message 2: expected sent WM_USER+2"},
        {"wParam", {{WM_USER + 1, msgWParam, 9}, {WM_USER + 2, 0}}, "expected WM_USER+1 wParam 0x9, got sent"},
        {"lParam", {{WM_USER + 1, msgLParam, 0, 9}, {WM_USER + 2, 0}}, "expected WM_USER+1 lParam 0x9"},
        {"missing", {{WM_USER + 1, 0}, {WM_USER + 2, 0}, {WM_USER + 3, 0}}, "missing WM_USER+3 after message 2"},
        {"unexpected", {{WM_USER + 1, 0}}, "message 2 unexpected: posted WM_USER+2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        m_recorder.Clear();
        SendAndPost();
        std::string fault = m_recorder.Mismatch(c.expected);
        if (*c.fault == '\0')
            EXPECT_EQ(fault, "");
        else
            EXPECT_NE(fault.find(c.fault), std::string::npos) << fault;
    }
}

TEST_F(MessageSequenceTest, SystemMessagesOfAChildAndIgnoredOnes)
{
    HWND hChild = CreateWindowA("STATIC", "x", WS_CHILD, 0, 0, 10, 10, m_hWnd, NULL, NULL, NULL);
    ASSERT_NE(hChild, nullptr);
    m_recorder.Clear();
    m_recorder.Ignore(WM_GETMINMAXINFO);
    SetWindowPos(hChild, NULL, 0, 0, 20, 20, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    bool sized = false;
    for (const RecordedMessage& m : m_recorder.Recorded()) {
        EXPECT_EQ(m.hWnd, hChild);
        EXPECT_NE(m.message, (UINT)WM_GETMINMAXINFO);
        sized = sized || (m.message == WM_SIZE && m.lParam == MAKELPARAM(20, 20));
    }
    EXPECT_TRUE(sized);
    EXPECT_TRUE(m_recorder.ExpectSequence({{WM_WINDOWPOSCHANGING, msgSent},
                                           {WM_NCCALCSIZE, msgSent | msgOptional},
                                           {WM_WINDOWPOSCHANGED, msgSent},
                                           {WM_SIZE, msgSent | msgLParam, 0, MAKELPARAM(20, 20)}},
                                          "child resized"));
}

} // namespace
