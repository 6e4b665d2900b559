// Records the messages windows of the test's thread receive and checks them
// against an ordered expectation, as a window's message tests do:
//
//   CMessageRecorder recorder;
//   recorder.Watch(hWnd);
//   ... drive the window ...
//   recorder.ExpectSequence({{WM_SIZE, msgSent | msgWParam, SIZE_RESTORED},
//                            {WM_PAINT, msgPosted | msgOptional}},
//                           "restore");
//
// Sent messages are seen by a call-window-procedure hook as they reach the
// window, posted ones by a get-message hook as the thread's loop takes them
// off its queue. Each check compares in order, skips an optional entry that
// does not match, reports the first mismatch, and starts a fresh record.
#pragma once

#include <windows.h>

#include <set>
#include <string>
#include <vector>

enum MessageFlags : unsigned
{
    msgSent = 0x01,     // must have been sent (SendMessage and the system's own)
    msgPosted = 0x02,   // must have been posted and taken off the queue
    msgOptional = 0x04, // may be missing
    msgWParam = 0x08,   // wParam must match
    msgLParam = 0x10,   // lParam must match
};

struct ExpectedMessage
{
    UINT message;
    unsigned flags = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

struct RecordedMessage
{
    HWND hWnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool posted;
};

class CMessageRecorder
{
public:
    // Hooks the calling thread; the windows to record are named by Watch.
    CMessageRecorder();
    ~CMessageRecorder();
    CMessageRecorder(const CMessageRecorder&) = delete;
    CMessageRecorder& operator=(const CMessageRecorder&) = delete;

    // Records what the window receives (and, with bChildren, its child
    // windows, also those made later).
    void Watch(HWND hWnd, bool bChildren = false);
    // Messages never recorded; a few the system sends on its own
    // (WM_GETICON, WM_GETOBJECT, the input-method ones) are ignored already.
    void Ignore(UINT message);

    const std::vector<RecordedMessage>& Recorded() const { return m_recorded; }
    void Clear() { m_recorded.clear(); }

    // Empty when the record matches the expectation; otherwise the first
    // mismatch and the whole record, for a failure message.
    std::string Mismatch(const std::vector<ExpectedMessage>& expected) const;
    // Fails the running test with the first mismatch, then starts afresh.
    bool ExpectSequence(const std::vector<ExpectedMessage>& expected, const char* context);

    // "WM_SIZE", or the number for messages without a name here.
    static std::string MessageName(UINT message);

private:
    static LRESULT CALLBACK CallWndProc(int code, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK GetMsgProc(int code, WPARAM wParam, LPARAM lParam);
    void Note(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, bool posted);
    bool IsWatched(HWND hWnd) const;

    HHOOK m_hCallHook;
    HHOOK m_hGetHook;
    DWORD m_dwThread;
    std::set<HWND> m_windows;
    std::set<HWND> m_parents; // whose children count as well
    std::set<UINT> m_ignored;
    std::vector<RecordedMessage> m_recorded;
    CMessageRecorder* m_pPrevious; // recorders nest per thread
};
