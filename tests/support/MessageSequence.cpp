#include "MessageSequence.h"

#include <gtest/gtest.h>

#include <stdio.h>
#include <string.h>

namespace
{

// The recorder of each thread; an inner one hides the outer while it lives.
thread_local CMessageRecorder* t_pRecorder = nullptr;

std::string Describe(const RecordedMessage& m)
{
    char text[160];
    snprintf(text, sizeof(text), "%s %s(wParam %#llx, lParam %#llx) to %p", m.posted ? "posted" : "sent",
             CMessageRecorder::MessageName(m.message).c_str(), (unsigned long long)m.wParam,
             (unsigned long long)m.lParam, (void*)m.hWnd);
    return text;
}

std::string Describe(const ExpectedMessage& e)
{
    std::string text = CMessageRecorder::MessageName(e.message);
    char params[96] = "";
    if (e.flags & msgWParam)
        snprintf(params + strlen(params), sizeof(params) - strlen(params), " wParam %#llx",
                 (unsigned long long)e.wParam);
    if (e.flags & msgLParam)
        snprintf(params + strlen(params), sizeof(params) - strlen(params), " lParam %#llx",
                 (unsigned long long)e.lParam);
    text += params;
    if (e.flags & msgSent)
        text = "sent " + text;
    if (e.flags & msgPosted)
        text = "posted " + text;
    return text;
}

} // namespace

CMessageRecorder::CMessageRecorder()
    : m_dwThread(GetCurrentThreadId()), m_ignored{WM_GETICON,    WM_GETOBJECT,    WM_IME_SETCONTEXT,
                                                  WM_IME_NOTIFY, WM_DEVICECHANGE, WM_TIMECHANGE},
      m_pPrevious(t_pRecorder)
{
    t_pRecorder = this;
    m_hCallHook = SetWindowsHookExA(WH_CALLWNDPROC, CallWndProc, NULL, m_dwThread);
    m_hGetHook = SetWindowsHookExA(WH_GETMESSAGE, GetMsgProc, NULL, m_dwThread);
    EXPECT_TRUE(m_hCallHook != NULL && m_hGetHook != NULL) << "message hooks not set";
}

CMessageRecorder::~CMessageRecorder()
{
    if (m_hCallHook != NULL)
        UnhookWindowsHookEx(m_hCallHook);
    if (m_hGetHook != NULL)
        UnhookWindowsHookEx(m_hGetHook);
    t_pRecorder = m_pPrevious;
}

void CMessageRecorder::Watch(HWND hWnd, bool bChildren)
{
    m_windows.insert(hWnd);
    if (bChildren)
        m_parents.insert(hWnd);
}

void CMessageRecorder::Ignore(UINT message)
{
    m_ignored.insert(message);
}

bool CMessageRecorder::IsWatched(HWND hWnd) const
{
    if (m_windows.count(hWnd))
        return true;
    for (HWND hParent = GetAncestor(hWnd, GA_PARENT); hParent != NULL; hParent = GetAncestor(hParent, GA_PARENT))
        if (m_parents.count(hParent))
            return true;
    return false;
}

void CMessageRecorder::Note(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, bool posted)
{
    if (m_ignored.count(message) || !IsWatched(hWnd))
        return;
    m_recorded.push_back({hWnd, message, wParam, lParam, posted});
}

LRESULT CALLBACK CMessageRecorder::CallWndProc(int code, WPARAM wParam, LPARAM lParam)
{
    CMessageRecorder* pRecorder = t_pRecorder;
    if (code == HC_ACTION && pRecorder != nullptr) {
        const CWPSTRUCT* pMsg = reinterpret_cast<const CWPSTRUCT*>(lParam);
        pRecorder->Note(pMsg->hwnd, pMsg->message, pMsg->wParam, pMsg->lParam, false);
    }
    return CallNextHookEx(NULL, code, wParam, lParam);
}

LRESULT CALLBACK CMessageRecorder::GetMsgProc(int code, WPARAM wParam, LPARAM lParam)
{
    CMessageRecorder* pRecorder = t_pRecorder;
    // Only when the loop takes the message, not when it peeks at it.
    if (code == HC_ACTION && pRecorder != nullptr && wParam == PM_REMOVE) {
        const MSG* pMsg = reinterpret_cast<const MSG*>(lParam);
        pRecorder->Note(pMsg->hwnd, pMsg->message, pMsg->wParam, pMsg->lParam, true);
    }
    return CallNextHookEx(NULL, code, wParam, lParam);
}

std::string CMessageRecorder::Mismatch(const std::vector<ExpectedMessage>& expected) const
{
    std::string fault;
    size_t e = 0, r = 0;
    while (fault.empty() && e < expected.size() && r < m_recorded.size()) {
        const ExpectedMessage& want = expected[e];
        const RecordedMessage& got = m_recorded[r];
        bool kindOk = !((want.flags & msgSent) && got.posted) && !((want.flags & msgPosted) && !got.posted);
        bool paramsOk = (!(want.flags & msgWParam) || want.wParam == got.wParam) &&
                        (!(want.flags & msgLParam) || want.lParam == got.lParam);
        if (want.message == got.message && kindOk && paramsOk) {
            ++e;
            ++r;
        } else if (want.flags & msgOptional) {
            ++e;
        } else {
            fault = "message " + std::to_string(r + 1) + ": expected " + Describe(want) + ", got " + Describe(got);
        }
    }
    while (fault.empty() && e < expected.size()) {
        if (!(expected[e].flags & msgOptional))
            fault = "missing " + Describe(expected[e]) + " after message " + std::to_string(r);
        ++e;
    }
    if (fault.empty() && r < m_recorded.size())
        fault = "message " + std::to_string(r + 1) + " unexpected: " + Describe(m_recorded[r]);
    if (fault.empty())
        return fault;
    fault += "\nrecorded:";
    for (const RecordedMessage& m : m_recorded)
        fault += "\n  " + Describe(m);
    return fault;
}

bool CMessageRecorder::ExpectSequence(const std::vector<ExpectedMessage>& expected, const char* context)
{
    std::string fault = Mismatch(expected);
    m_recorded.clear();
    if (fault.empty())
        return true;
    ADD_FAILURE() << context << ": " << fault;
    return false;
}

std::string CMessageRecorder::MessageName(UINT message)
{
    static const struct
    {
        UINT message;
        const char* name;
    } kNames[] = {
        {WM_CREATE, "WM_CREATE"},
        {WM_DESTROY, "WM_DESTROY"},
        {WM_MOVE, "WM_MOVE"},
        {WM_SIZE, "WM_SIZE"},
        {WM_ACTIVATE, "WM_ACTIVATE"},
        {WM_SETFOCUS, "WM_SETFOCUS"},
        {WM_KILLFOCUS, "WM_KILLFOCUS"},
        {WM_ENABLE, "WM_ENABLE"},
        {WM_SETREDRAW, "WM_SETREDRAW"},
        {WM_SETTEXT, "WM_SETTEXT"},
        {WM_GETTEXT, "WM_GETTEXT"},
        {WM_GETTEXTLENGTH, "WM_GETTEXTLENGTH"},
        {WM_PAINT, "WM_PAINT"},
        {WM_CLOSE, "WM_CLOSE"},
        {WM_QUIT, "WM_QUIT"},
        {WM_ERASEBKGND, "WM_ERASEBKGND"},
        {WM_SHOWWINDOW, "WM_SHOWWINDOW"},
        {WM_ACTIVATEAPP, "WM_ACTIVATEAPP"},
        {WM_SETCURSOR, "WM_SETCURSOR"},
        {WM_MOUSEACTIVATE, "WM_MOUSEACTIVATE"},
        {WM_GETMINMAXINFO, "WM_GETMINMAXINFO"},
        {WM_WINDOWPOSCHANGING, "WM_WINDOWPOSCHANGING"},
        {WM_WINDOWPOSCHANGED, "WM_WINDOWPOSCHANGED"},
        {WM_NOTIFY, "WM_NOTIFY"},
        {WM_NCCREATE, "WM_NCCREATE"},
        {WM_NCDESTROY, "WM_NCDESTROY"},
        {WM_NCCALCSIZE, "WM_NCCALCSIZE"},
        {WM_NCHITTEST, "WM_NCHITTEST"},
        {WM_NCPAINT, "WM_NCPAINT"},
        {WM_NCACTIVATE, "WM_NCACTIVATE"},
        {WM_KEYDOWN, "WM_KEYDOWN"},
        {WM_KEYUP, "WM_KEYUP"},
        {WM_CHAR, "WM_CHAR"},
        {WM_INITDIALOG, "WM_INITDIALOG"},
        {WM_COMMAND, "WM_COMMAND"},
        {WM_SYSCOMMAND, "WM_SYSCOMMAND"},
        {WM_TIMER, "WM_TIMER"},
        {WM_CTLCOLORBTN, "WM_CTLCOLORBTN"},
        {WM_CTLCOLORSTATIC, "WM_CTLCOLORSTATIC"},
        {WM_MOUSEMOVE, "WM_MOUSEMOVE"},
        {WM_LBUTTONDOWN, "WM_LBUTTONDOWN"},
        {WM_LBUTTONUP, "WM_LBUTTONUP"},
        {WM_LBUTTONDBLCLK, "WM_LBUTTONDBLCLK"},
        {WM_RBUTTONDOWN, "WM_RBUTTONDOWN"},
        {WM_RBUTTONUP, "WM_RBUTTONUP"},
        {WM_MOUSEWHEEL, "WM_MOUSEWHEEL"},
        {WM_PARENTNOTIFY, "WM_PARENTNOTIFY"},
        {WM_CAPTURECHANGED, "WM_CAPTURECHANGED"},
        {WM_MOUSELEAVE, "WM_MOUSELEAVE"},
        {WM_PRINT, "WM_PRINT"},
        {WM_PRINTCLIENT, "WM_PRINTCLIENT"},
        {WM_COPYDATA, "WM_COPYDATA"},
    };
    for (const auto& entry : kNames)
        if (entry.message == message)
            return entry.name;
    char text[32];
    if (message >= WM_USER && message < WM_APP)
        snprintf(text, sizeof(text), "WM_USER+%u", message - WM_USER);
    else if (message >= WM_APP && message < 0xC000)
        snprintf(text, sizeof(text), "WM_APP+%u", message - WM_APP);
    else
        snprintf(text, sizeof(text), "message %#x", message);
    return text;
}
