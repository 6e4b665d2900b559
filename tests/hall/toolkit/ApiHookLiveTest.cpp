// The scroll-bar hooks live, in a 32-bit program: the system's own functions
// patched while other threads call them, the tree and rich edit controls
// reaching the skinned state through them, and every target as it was after
// removal. The tests run in order: install, use, remove.
#include <ApiHook.h>
#include <ApiHookCode.h>
#include <SkinBar.h>
#include <SkinTestSupport.h>
#include <TestWait.h>

#include <commctrl.h>
#include <richedit.h>

#include <gtest/gtest.h>

#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

using namespace apihook;

namespace
{
std::vector<uint8_t> Bytes(const void* p, size_t n)
{
    const uint8_t* b = static_cast<const uint8_t*>(p);
    return std::vector<uint8_t>(b, b + n);
}

// The system functions as the rows list them, with their replacements.
struct Row
{
    const char* name;
    void* (*address)();
    void* replacement;
};
const Row kRows[] = {
    {"SetScrollInfo", Addr_SetScrollInfo, (void*)&Hook_SetScrollInfo},
    {"GetScrollInfo", Addr_GetScrollInfo, (void*)&Hook_GetScrollInfo},
    {"SetScrollPos", Addr_SetScrollPos, (void*)&Hook_SetScrollPos},
    {"GetScrollPos", Addr_GetScrollPos, (void*)&Hook_GetScrollPos},
    {"SetScrollRange", Addr_SetScrollRange, (void*)&Hook_SetScrollRange},
    {"GetScrollRange", Addr_GetScrollRange, (void*)&Hook_GetScrollRange},
    {"ShowScrollBar", Addr_ShowScrollBar, (void*)&Hook_ShowScrollBar},
    {"EnableScrollBar", Addr_EnableScrollBar, (void*)&Hook_EnableScrollBar},
};
const size_t kRowCount = sizeof(kRows) / sizeof(kRows[0]);

// Where a function's code starts: through an import jump to the DLL's code.
const uint8_t* CodeOf(const void* p)
{
    const uint8_t* code = static_cast<const uint8_t*>(p);
    if (code[0] == 0xFF && code[1] == 0x25) {
        uint32_t slot;
        memcpy(&slot, code + 2, 4);
        return *reinterpret_cast<const uint8_t* const*>(uintptr_t(slot));
    }
    return code;
}

// ---- plain windows: every function's answers, failures included ------------

std::string Line(const char* what, long result, const std::string& extra = std::string())
{
    char text[160];
    snprintf(text, sizeof(text), "%s -> %ld err %lu %s", what, result, GetLastError(), extra.c_str());
    return text;
}

std::string Info(const SCROLLINFO& si)
{
    char text[96];
    snprintf(text, sizeof(text), "[%u %d %d %u %d %d]", si.fMask, si.nMin, si.nMax, si.nPage, si.nPos, si.nTrackPos);
    return text;
}

// The same calls on fresh windows give the same lines, hooked or not.
std::vector<std::string> PlainAnswers()
{
    std::vector<std::string> lines;
    HWND hEdit = CreateWindowExA(0, "EDIT", "", WS_POPUP | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE, 0, 0, 120, 100, NULL,
                                 NULL, GetModuleHandle(NULL), NULL);
    HWND hBar = CreateWindowExA(0, "SCROLLBAR", "", WS_POPUP | SBS_VERT, 0, 0, 16, 100, NULL, NULL,
                                GetModuleHandle(NULL), NULL);
    const HWND hBad = (HWND)(INT_PTR)0x1234;
    if (hEdit == NULL || hBar == NULL) {
        lines.push_back("no window");
        return lines;
    }
    const struct
    {
        const char* name;
        HWND hWnd;
        int bar;
        UINT cbSize;
    } targets[] = {
        {"edit vert", hEdit, SB_VERT, sizeof(SCROLLINFO)}, {"edit horz", hEdit, SB_HORZ, sizeof(SCROLLINFO)},
        {"edit ctl", hEdit, SB_CTL, sizeof(SCROLLINFO)},   {"bar ctl", hBar, SB_CTL, sizeof(SCROLLINFO)},
        {"bad window", hBad, SB_VERT, sizeof(SCROLLINFO)}, {"cbSize 27", hEdit, SB_VERT, sizeof(SCROLLINFO) - 1},
        {"bad bar", hEdit, 7, sizeof(SCROLLINFO)},
    };
    for (const auto& t : targets) {
        lines.push_back(t.name);
        SCROLLINFO si = {t.cbSize, SIF_ALL, 0, 100, 10, 20, 0};
        SetLastError(0xDEAD);
        lines.push_back(Line("SetScrollInfo", SetScrollInfo(t.hWnd, t.bar, &si, FALSE)));
        SCROLLINFO got = {t.cbSize, SIF_ALL, -1, -1, 99, -1, -1};
        SetLastError(0xDEAD);
        lines.push_back(Line("GetScrollInfo", GetScrollInfo(t.hWnd, t.bar, &got), Info(got)));
        SetLastError(0xDEAD);
        lines.push_back(Line("SetScrollPos", SetScrollPos(t.hWnd, t.bar, 30, FALSE)));
        SetLastError(0xDEAD);
        lines.push_back(Line("GetScrollPos", GetScrollPos(t.hWnd, t.bar)));
        SetLastError(0xDEAD);
        lines.push_back(Line("SetScrollRange", SetScrollRange(t.hWnd, t.bar, 5, 50, FALSE)));
        int lo = -7, hi = -7;
        SetLastError(0xDEAD);
        const BOOL bRange = GetScrollRange(t.hWnd, t.bar, &lo, &hi);
        lines.push_back(Line("GetScrollRange", bRange, std::to_string(lo) + " " + std::to_string(hi)));
        SetLastError(0xDEAD);
        lines.push_back(Line("EnableScrollBar", EnableScrollBar(t.hWnd, UINT(t.bar), ESB_DISABLE_UP)));
        SetLastError(0xDEAD);
        lines.push_back(Line("ShowScrollBar", ShowScrollBar(t.hWnd, t.bar, FALSE)));
        lines.push_back(Line("GetScrollPos", GetScrollPos(t.hWnd, t.bar)));
    }
    DestroyWindow(hEdit);
    DestroyWindow(hBar);
    return lines;
}

// ---- threads calling the functions on windows of their own --------------------

struct Caller
{
    HANDLE hThread = NULL;
    volatile LONG rounds = 0;
    volatile LONG wrong = 0;
    volatile LONG stop = 0;
    int seed = 0;
};

DWORD WINAPI CallerMain(void* p)
{
    Caller* c = static_cast<Caller*>(p);
    HWND hWnd = CreateWindowExA(0, "EDIT", "", WS_POPUP | WS_VSCROLL | ES_MULTILINE, 0, 0, 100, 100, NULL, NULL,
                                GetModuleHandle(NULL), NULL);
    if (hWnd == NULL) {
        InterlockedIncrement(&c->wrong);
        return 1;
    }
    for (int i = 0; !c->stop; ++i) {
        const int pos = (c->seed * 7 + i) % 90;
        SCROLLINFO si = {sizeof(si), SIF_ALL, 0, 99, 10, pos, 0};
        SetScrollInfo(hWnd, SB_VERT, &si, FALSE);
        SCROLLINFO got = {sizeof(got), SIF_ALL};
        int lo = -1, hi = -1;
        if (!GetScrollInfo(hWnd, SB_VERT, &got) || got.nPos != pos || got.nMax != 99 || got.nPage != 10 ||
            GetScrollPos(hWnd, SB_VERT) != pos || !GetScrollRange(hWnd, SB_VERT, &lo, &hi) || lo != 0 || hi != 99 ||
            SetScrollPos(hWnd, SB_VERT, 3, FALSE) != pos)
            InterlockedIncrement(&c->wrong);
        InterlockedIncrement(&c->rounds);
    }
    DestroyWindow(hWnd);
    return 0;
}

class Callers
{
public:
    explicit Callers(int n) : m_callers(size_t(n))
    {
        for (size_t i = 0; i < m_callers.size(); ++i) {
            m_callers[i].seed = int(i) + 1;
            m_callers[i].hThread = CreateThread(NULL, 0, CallerMain, &m_callers[i], 0, NULL);
        }
    }
    ~Callers() { Stop(); }
    // Every caller has gone n more rounds.
    bool Advance(LONG n)
    {
        std::vector<LONG> from;
        for (const Caller& c : m_callers)
            from.push_back(LONG(c.rounds));
        return WaitFor(
            [&] {
                for (size_t i = 0; i < m_callers.size(); ++i) {
                    if (m_callers[i].rounds - from[i] < n)
                        return false;
                }
                return true;
            },
            120000);
    }
    LONG Wrong() const
    {
        LONG n = 0;
        for (const Caller& c : m_callers)
            n += c.wrong;
        return n;
    }
    void Stop()
    {
        for (Caller& c : m_callers)
            c.stop = 1;
        for (Caller& c : m_callers) {
            if (c.hThread != NULL) {
                WaitForSingleObject(c.hThread, INFINITE);
                CloseHandle(c.hThread);
                c.hThread = NULL;
            }
        }
    }

private:
    std::vector<Caller> m_callers;
};

// ---- the hooks' life ------------------------------------------------------------

class ApiHookLiveTest : public testing::Test
{
protected:
    static std::vector<std::vector<uint8_t>> s_heads; // each target before install
    static std::vector<std::string> s_plain;          // plain answers before install
    static bool s_installed;
};
std::vector<std::vector<uint8_t>> ApiHookLiveTest::s_heads;
std::vector<std::string> ApiHookLiveTest::s_plain;
bool ApiHookLiveTest::s_installed = false;

TEST_F(ApiHookLiveTest, InstallsTheEightWhileOtherThreadsCallThem)
{
    for (const Row& row : kRows)
        s_heads.push_back(Bytes(CodeOf(row.address()), MAX_HEAD));
    s_plain = PlainAnswers();

    Callers callers(3);
    ASSERT_TRUE(callers.Advance(5));
    ASSERT_EQ(8, InstallScrollBarHooks());
    s_installed = true;
    ASSERT_TRUE(callers.Advance(20));
    callers.Stop();
    EXPECT_EQ(0, callers.Wrong());

    for (size_t i = 0; i < kRowCount; ++i) {
        SCOPED_TRACE(kRows[i].name);
        const uint8_t* target = CodeOf(kRows[i].address());
        ASSERT_EQ(0xE9, target[0]);
        EXPECT_EQ(CodeOf(kRows[i].replacement), BranchTarget(target));
    }
    // Installed once only.
    EXPECT_EQ(0, InstallScrollBarHooks());
}

TEST_F(ApiHookLiveTest, PlainWindowsAnswerAsBeforeInstalling)
{
    ASSERT_TRUE(s_installed);
    const std::vector<std::string> now = PlainAnswers();
    ASSERT_EQ(s_plain.size(), now.size());
    for (size_t i = 0; i < now.size(); ++i)
        EXPECT_EQ(s_plain[i], now[i]) << "line " << i;
}

// Sees the window's bars once its SkinBar state has been handed back, while
// the window is still there.
WNDPROC g_pfnUnderTest;
SCROLLINFO g_afterDetach;
BOOL g_skinnedAfterDetach;
LRESULT CALLBACK WatchDetach(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    const LRESULT lResult = CallWindowProcA(g_pfnUnderTest, hWnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        g_skinnedAfterDetach = SkinBar_IsSkinned(hWnd);
        g_afterDetach.cbSize = sizeof(g_afterDetach);
        g_afterDetach.fMask = SIF_ALL;
        GetScrollInfo(hWnd, SB_VERT, &g_afterDetach);
    }
    return lResult;
}

struct SkinnedControl
{
    const char* name;
    HWND hWnd;
    // The first line shown.
    LRESULT (*top)(HWND);
    void (*addLines)(HWND, int);
    // Moves the caret to the first line.
    void (*home)(HWND);
    bool positionIsLine; // a rich edit scrolls by pixels
};

LRESULT TreeTop(HWND hWnd)
{
    HTREEITEM first = (HTREEITEM)SendMessage(hWnd, TVM_GETNEXTITEM, TVGN_FIRSTVISIBLE, 0);
    LRESULT n = 0;
    for (HTREEITEM it = (HTREEITEM)SendMessage(hWnd, TVM_GETNEXTITEM, TVGN_ROOT, 0); it != NULL && it != first;
         it = (HTREEITEM)SendMessage(hWnd, TVM_GETNEXTITEM, TVGN_NEXT, (LPARAM)it))
        ++n;
    return n;
}

void TreeAdd(HWND hWnd, int n)
{
    for (int i = 0; i < n; ++i) {
        TVINSERTSTRUCTA tvi = {};
        tvi.hParent = TVI_ROOT;
        tvi.hInsertAfter = TVI_LAST;
        tvi.item.mask = TVIF_TEXT;
        tvi.item.pszText = const_cast<char*>("row");
        SendMessageA(hWnd, TVM_INSERTITEMA, 0, (LPARAM)&tvi);
    }
}

void TreeHome(HWND hWnd)
{
    SendMessage(hWnd, TVM_SELECTITEM, TVGN_CARET, SendMessage(hWnd, TVM_GETNEXTITEM, TVGN_ROOT, 0));
}

void EditHome(HWND hWnd)
{
    SendMessage(hWnd, EM_SETSEL, 0, 0);
    SendMessage(hWnd, EM_SCROLLCARET, 0, 0);
}

LRESULT EditTop(HWND hWnd)
{
    return SendMessage(hWnd, EM_GETFIRSTVISIBLELINE, 0, 0);
}

void EditAdd(HWND hWnd, int n)
{
    for (int i = 0; i < n; ++i) {
        SendMessage(hWnd, EM_SETSEL, (WPARAM)-1, (LPARAM)-1);
        SendMessageA(hWnd, EM_REPLACESEL, FALSE, (LPARAM) "a line\r\n");
    }
}

TEST_F(ApiHookLiveTest, SkinnedTreeAndRichEditScrollThroughTheirState)
{
    ASSERT_TRUE(s_installed);
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_TREEVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    ASSERT_NE((HMODULE)NULL, LoadLibraryA("riched20.dll"));
    HBITMAP hPicture = skintest::MakeDib(skintest::Pixels(176, 64, RGB(1, 2, 3)));

    SkinnedControl controls[] = {
        {"tree", NULL, TreeTop, TreeAdd, TreeHome, true},
        {"rich edit", NULL, EditTop, EditAdd, EditHome, false},
    };
    controls[0].hWnd = CreateWindowExA(0, WC_TREEVIEWA, "", WS_POPUP | WS_VISIBLE | WS_VSCROLL, 100, 100, 200, 150,
                                       NULL, NULL, GetModuleHandle(NULL), NULL);
    controls[1].hWnd = CreateWindowExA(0, "RichEdit20A", "", WS_POPUP | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE, 100,
                                       100, 200, 150, NULL, NULL, GetModuleHandle(NULL), NULL);
    for (SkinnedControl& c : controls) {
        SCOPED_TRACE(c.name);
        ASSERT_NE((HWND)NULL, c.hWnd);
        c.addLines(c.hWnd, 40);
        ASSERT_TRUE(SkinBar_Attach(c.hWnd, hPicture));
        SCROLLINFO system = {sizeof(system), SIF_ALL};
        ASSERT_TRUE(Real_GetScrollInfo(c.hWnd, SB_VERT, &system));

        // Added lines: the control's own calls reach the state, not the system's bar.
        SCROLLINFO before = {sizeof(before), SIF_ALL};
        ASSERT_TRUE(SkinBar_GetScrollInfo(c.hWnd, SB_VERT, &before));
        c.addLines(c.hWnd, 60);
        SCROLLINFO after = {sizeof(after), SIF_ALL};
        ASSERT_TRUE(SkinBar_GetScrollInfo(c.hWnd, SB_VERT, &after));
        EXPECT_GT(after.nMax, before.nMax);
        SCROLLINFO systemNow = {sizeof(systemNow), SIF_ALL};
        ASSERT_TRUE(Real_GetScrollInfo(c.hWnd, SB_VERT, &systemNow));
        EXPECT_EQ(system.nMax, systemNow.nMax) << "the system's bar is left alone";

        // Keys: the position the control sets is the state's.
        c.home(c.hWnd);
        EXPECT_EQ(0, SkinBar_GetScrollPos(c.hWnd, SB_VERT));
        EXPECT_EQ(0, c.top(c.hWnd));
        SendMessage(c.hWnd, WM_KEYDOWN, VK_NEXT, 0);
        SendMessage(c.hWnd, WM_KEYDOWN, VK_NEXT, 0);
        const int keyed = SkinBar_GetScrollPos(c.hWnd, SB_VERT);
        const LRESULT keyedTop = c.top(c.hWnd);
        EXPECT_GT(keyed, 0);
        EXPECT_GT(keyedTop, 0);
        EXPECT_EQ(keyed, GetScrollPos(c.hWnd, SB_VERT)) << "the hooked function answers from the state";
        if (c.positionIsLine) {
            EXPECT_EQ(LRESULT(keyed), keyedTop);
        }

        // A drag of the thumb to the bottom scrolls the control there.
        RECT rc;
        GetClientRect(c.hWnd, &rc);
        MapWindowPoints(c.hWnd, NULL, (LPPOINT)&rc, 2);
        SCROLLINFO si = {sizeof(si), SIF_ALL};
        SkinBar_GetScrollInfo(c.hWnd, SB_VERT, &si);
        const SkinBarGeometry g = SkinBar_Measure(rc.top, rc.bottom, si);
        ASSERT_LT(g.thumbStart, g.thumbEnd);
        SendMessage(c.hWnd, WM_NCLBUTTONDOWN, HTVSCROLL, MAKELPARAM(rc.right + 8, (g.thumbStart + g.thumbEnd) / 2));
        SendMessage(c.hWnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(rc.right - rc.left + 8, 2000));
        SendMessage(c.hWnd, WM_LBUTTONUP, 0, 0);
        const int dragged = SkinBar_GetScrollPos(c.hWnd, SB_VERT);
        EXPECT_GT(dragged, keyed);
        EXPECT_GT(c.top(c.hWnd), keyedTop);
        if (c.positionIsLine) {
            EXPECT_EQ(LRESULT(dragged), c.top(c.hWnd));
        }

        // Destroyed, it hands its state to the system's bars.
        memset(&g_afterDetach, 0, sizeof(g_afterDetach));
        g_skinnedAfterDetach = TRUE;
        g_pfnUnderTest = (WNDPROC)SetWindowLongPtr(c.hWnd, GWLP_WNDPROC, (LONG_PTR)WatchDetach);
        SkinBar_GetScrollInfo(c.hWnd, SB_VERT, &si);
        DestroyWindow(c.hWnd);
        EXPECT_FALSE(g_skinnedAfterDetach);
        EXPECT_EQ(si.nMax, g_afterDetach.nMax);
        EXPECT_EQ(si.nPage, g_afterDetach.nPage);
        EXPECT_EQ(si.nPos, g_afterDetach.nPos);
    }
    DeleteObject(hPicture);
}

TEST_F(ApiHookLiveTest, RemovalPutsEveryTargetBackWhileOtherThreadsCallThem)
{
    ASSERT_TRUE(s_installed);
    Callers callers(3);
    ASSERT_TRUE(callers.Advance(5));
    EXPECT_EQ(8, RemoveScrollBarHooks());
    s_installed = false;
    ASSERT_TRUE(callers.Advance(20));
    callers.Stop();
    EXPECT_EQ(0, callers.Wrong());
    for (size_t i = 0; i < kRowCount; ++i) {
        SCOPED_TRACE(kRows[i].name);
        EXPECT_EQ(s_heads[i], Bytes(CodeOf(kRows[i].address()), MAX_HEAD));
    }
    EXPECT_EQ(s_plain, PlainAnswers());
    // Removed once only.
    EXPECT_EQ(0, RemoveScrollBarHooks());
}
} // namespace

// ---- repeated cycles on fresh trampolines of a function of our own ------------

extern "C" {
// Answers n + 1000, behind a head the hooks can move.
int WINAPI LiveTarget(int n);
void* LiveTargetAddress()
{
    return (void*)&LiveTarget;
}
}
__asm__(".text\n"
        ".globl _LiveTarget@4\n"
        ".p2align 4\n"
        "_LiveTarget@4:\n"
        "  .byte 0x8B, 0xFF\n" // mov edi, edi
        "  pushl %ebp\n"
        "  movl %esp, %ebp\n"
        "  movl 8(%ebp), %eax\n"
        "  addl $1000, %eax\n"
        "  popl %ebp\n"
        "  ret $4\n");

namespace
{
typedef int(WINAPI* LiveFunction)(int);
LiveFunction volatile g_liveTrampoline;
volatile LONG g_liveHits;

int WINAPI LiveReplacement(int n)
{
    InterlockedIncrement(&g_liveHits);
    return g_liveTrampoline(n);
}

struct LiveCaller
{
    HANDLE hThread = NULL;
    volatile LONG rounds = 0;
    volatile LONG wrong = 0;
    volatile LONG stop = 0;
};

DWORD WINAPI LiveCallerMain(void* p)
{
    LiveCaller* c = static_cast<LiveCaller*>(p);
    for (int i = 0; !c->stop; ++i) {
        if (LiveTarget(i) != i + 1000)
            InterlockedIncrement(&c->wrong);
        InterlockedIncrement(&c->rounds);
    }
    return 0;
}

// A trampoline as the build makes them: NOP NOP, CALL the getter, JMP EAX,
// RET, NOPs.
void MakeFresh(uint8_t* at)
{
    memset(at, 0x90, TRAMPOLINE_SIZE);
    at[2] = 0xE8;
    const int32_t rel = int32_t(intptr_t(&LiveTargetAddress) - intptr_t(at + 7));
    memcpy(at + 3, &rel, 4);
    at[7] = 0xFF;
    at[8] = 0xE0;
    at[9] = 0xC3;
}

TEST(ApiHookLiveCycles, RepeatedCyclesOnFreshTrampolinesWhileThreadsCall)
{
    const int kCycles = 40;
    // Trampolines are never reused: a caller may still be inside an old one.
    uint8_t* block = static_cast<uint8_t*>(
        VirtualAlloc(NULL, size_t(kCycles) * TRAMPOLINE_SIZE, MEM_COMMIT | MEM_RESERVE, PAGE_EXECUTE_READWRITE));
    ASSERT_NE((uint8_t*)NULL, block);
    const std::vector<uint8_t> original = Bytes(CodeOf((void*)&LiveTarget), 16);
    EXPECT_EQ(1005, LiveTarget(5));

    LiveCaller callers[3];
    for (LiveCaller& c : callers)
        c.hThread = CreateThread(NULL, 0, LiveCallerMain, &c, 0, NULL);
    for (int cycle = 0; cycle < kCycles; ++cycle) {
        SCOPED_TRACE(cycle);
        uint8_t* trampoline = block + size_t(cycle) * TRAMPOLINE_SIZE;
        MakeFresh(trampoline);
        FlushInstructionCache(GetCurrentProcess(), trampoline, TRAMPOLINE_SIZE);
        g_liveTrampoline = (LiveFunction)(void*)trampoline;
        ASSERT_TRUE(InstallApiHook(trampoline, (void*)&LiveReplacement));
        // The callers pass through the hook before it goes.
        const LONG hits = g_liveHits;
        ASSERT_TRUE(WaitFor([&] { return g_liveHits - hits >= 3; }, 120000));
        ASSERT_TRUE(RemoveApiHook(trampoline, (void*)&LiveReplacement));
        ASSERT_EQ(original, Bytes(CodeOf((void*)&LiveTarget), 16));
    }
    for (LiveCaller& c : callers)
        c.stop = 1;
    for (LiveCaller& c : callers) {
        WaitForSingleObject(c.hThread, INFINITE);
        CloseHandle(c.hThread);
        EXPECT_EQ(0, c.wrong);
        EXPECT_GT(c.rounds, 0);
    }
    EXPECT_EQ(1007, LiveTarget(7));
}
} // namespace
