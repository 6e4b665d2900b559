#include "ApiHook.h"

#include "ApiHookCode.h"
#include "SkinBar.h"

#include <tlhelp32.h>

#include <string.h>
#include <vector>

using namespace apihook;

namespace
{
// Bytes read from the start of a function to measure its head: the longest
// head starts with under 5 bytes and ends with one whole instruction.
const size_t HEAD_READ = MIN_HEAD - 1 + MAX_INSTRUCTION;

// An import thunk leads to the slot's address; a jump (when asked) to its
// destination.
uint8_t* Resolve(void* pCode, bool bFollowJump)
{
    uint8_t* p = (uint8_t*)pCode;
    if (p == NULL)
        return NULL;
    if (p[0] == 0xFF && p[1] == 0x25) {
        int32_t disp;
        memcpy(&disp, p + 2, 4);
#ifdef _WIN64
        uint8_t* const* slot = (uint8_t* const*)(p + 6 + disp); // relative to the next instruction
#else
        uint8_t* const* slot = (uint8_t* const*)(uintptr_t)(uint32_t)disp;
#endif
        return *slot;
    }
    if (bFollowJump && p[0] == 0xE9)
        return (uint8_t*)BranchTarget(p);
    return p;
}

// Makes code writable for one change and puts its protection back on every
// path; the instruction cache is flushed before and after.
class CodeWriteGuard
{
public:
    CodeWriteGuard(void* pAddress, size_t nLength, DWORD dwRestore = 0)
        : m_hProcess(::GetCurrentProcess()), m_pAddress(NULL), m_nLength(0), m_dwOld(0), m_dwRestore(dwRestore)
    {
        if (!::FlushInstructionCache(m_hProcess, pAddress, nLength))
            return;
        DWORD dwOld = 0;
        if (!::VirtualProtect(pAddress, nLength, PAGE_EXECUTE_READWRITE, &dwOld))
            return;
        m_pAddress = pAddress;
        m_nLength = nLength;
        m_dwOld = dwOld;
    }
    ~CodeWriteGuard()
    {
        if (!IsOpen())
            return;
        ::FlushInstructionCache(m_hProcess, m_pAddress, m_nLength);
        DWORD dwOld = 0;
        ::VirtualProtect(m_pAddress, m_nLength, m_dwRestore ? m_dwRestore : m_dwOld, &dwOld);
    }
    bool IsOpen() const { return m_pAddress != NULL && m_nLength != 0 && m_dwOld != 0; }

private:
    HANDLE m_hProcess;
    void* m_pAddress;
    size_t m_nLength;
    DWORD m_dwOld;
    DWORD m_dwRestore;
};

// The process's other threads, held while code they may be running is
// rewritten. Everything is allocated before the first thread stops (a
// stopped thread may hold the heap's lock).
class OtherThreads
{
public:
    OtherThreads()
    {
        HANDLE hSnap = ::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
        if (hSnap == INVALID_HANDLE_VALUE)
            return;
        const DWORD pid = ::GetCurrentProcessId(), self = ::GetCurrentThreadId();
        THREADENTRY32 te;
        te.dwSize = sizeof(te);
        for (BOOL more = ::Thread32First(hSnap, &te); more; more = ::Thread32Next(hSnap, &te)) {
            if (te.th32OwnerProcessID != pid || te.th32ThreadID == self)
                continue;
            HANDLE h =
                ::OpenThread(THREAD_SUSPEND_RESUME | THREAD_GET_CONTEXT | THREAD_SET_CONTEXT, FALSE, te.th32ThreadID);
            if (h != NULL)
                m_threads.push_back(h);
            te.dwSize = sizeof(te);
        }
        ::CloseHandle(hSnap);
        m_suspended.assign(m_threads.size(), false);
    }
    ~OtherThreads()
    {
        Resume();
        for (HANDLE h : m_threads)
            ::CloseHandle(h);
    }
    // Stops them; one inside [from, from + n) goes on at the same offset
    // from "to".
    void Suspend(const uint8_t* from, size_t n, const uint8_t* to)
    {
        for (size_t i = 0; i < m_threads.size(); ++i) {
            if (::SuspendThread(m_threads[i]) == (DWORD)-1)
                continue;
            m_suspended[i] = true;
            CONTEXT ctx;
            memset(&ctx, 0, sizeof(ctx));
            ctx.ContextFlags = CONTEXT_CONTROL;
            if (!::GetThreadContext(m_threads[i], &ctx))
                continue;
#ifdef _WIN64
            DWORD64& ip = ctx.Rip;
#else
            DWORD& ip = ctx.Eip;
#endif
            const uint8_t* at = (const uint8_t*)(uintptr_t)ip;
            if (at >= from && at < from + n) {
                ip = (uintptr_t)(to + (at - from));
                ::SetThreadContext(m_threads[i], &ctx);
            }
        }
    }
    void Resume()
    {
        for (size_t i = 0; i < m_threads.size(); ++i) {
            if (m_suspended[i])
                ::ResumeThread(m_threads[i]);
            m_suspended[i] = false;
        }
    }

private:
    std::vector<HANDLE> m_threads;
    std::vector<bool> m_suspended;
};

typedef void* (*AddressGetter)();

// The property look-up must not change the last error the system function
// leaves for a window that is not skinned.
BOOL IsSkinned(HWND hWnd)
{
    const DWORD dwError = ::GetLastError();
    const BOOL bSkinned = SkinBar_IsSkinned(hWnd);
    ::SetLastError(dwError);
    return bSkinned;
}
} // namespace

BOOL PatchCode(PVOID pTrampoline, PVOID pReplacement)
{
    uint8_t* trampoline = Resolve(pTrampoline, true);
    uint8_t* replacement = Resolve(pReplacement, false);
    if (trampoline == NULL || replacement == NULL)
        return FALSE;
    // Installed already (or not a trampoline at all).
    if (!IsFreshTrampoline(trampoline))
        return FALSE;
    uint8_t* target = Resolve(((AddressGetter)TrampolineGetter(trampoline))(), false);
    if (target == NULL)
        return FALSE;
    const size_t n = MeasureHead(target, HEAD_READ);
    if (n == 0)
        return FALSE;
    // Both new contents first: nothing is written unless all of it can be.
    uint8_t trampolineBytes[TRAMPOLINE_SIZE];
    uint8_t patchBytes[MAX_HEAD];
    if (!BuildTrampoline(trampolineBytes, trampoline, target, HEAD_READ, n) ||
        !BuildPatch(patchBytes, target, replacement, n))
        return FALSE;
    CodeWriteGuard trampolineGuard(trampoline, TRAMPOLINE_SIZE, PAGE_EXECUTE_READWRITE);
    CodeWriteGuard targetGuard(target, n);
    if (!trampolineGuard.IsOpen() || !targetGuard.IsOpen())
        return FALSE;
    OtherThreads threads;
    threads.Suspend(target, n, trampoline);
    memcpy(trampoline, trampolineBytes, TRAMPOLINE_SIZE);
    memcpy(target, patchBytes, n);
    ::FlushInstructionCache(::GetCurrentProcess(), trampoline, TRAMPOLINE_SIZE);
    ::FlushInstructionCache(::GetCurrentProcess(), target, n);
    threads.Resume();
    return TRUE;
}

BOOL UnpatchCode(PVOID pTrampoline, PVOID pReplacement)
{
    uint8_t* trampoline = Resolve(pTrampoline, true);
    uint8_t* target = NULL;
    size_t n = 0;
    const RemoveCheck check = CheckRemoval(trampoline, Resolve(pReplacement, false), &target, &n);
    if (check != REMOVE_OK) {
        ::SetLastError((DWORD)check);
        return FALSE;
    }
    uint8_t original[MAX_HEAD];
    if (!BuildRestore(original, trampoline, target, n)) {
        ::SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    CodeWriteGuard guard(target, n);
    if (!guard.IsOpen()) {
        ::SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    OtherThreads threads;
    threads.Suspend(trampoline, n, target);
    memcpy(target, original, n);
    ::FlushInstructionCache(::GetCurrentProcess(), target, n);
    threads.Resume();
    return TRUE;
}

BOOL InstallApiHook(PVOID pTrampoline, PVOID pReplacement)
{
#if defined(__i386__)
    return PatchCode(pTrampoline, pReplacement);
#else
    (void)pTrampoline;
    (void)pReplacement;
    ::SetLastError(ERROR_NOT_SUPPORTED);
    return FALSE;
#endif
}

BOOL RemoveApiHook(PVOID pTrampoline, PVOID pReplacement)
{
#if defined(__i386__)
    return UnpatchCode(pTrampoline, pReplacement);
#else
    (void)pTrampoline;
    (void)pReplacement;
    ::SetLastError(ERROR_NOT_SUPPORTED);
    return FALSE;
#endif
}

namespace
{
struct HookRow
{
    PVOID trampoline;
    PVOID replacement;
};

const HookRow* Rows(size_t* pCount)
{
    static const HookRow rows[] = {
        {(PVOID)&Real_SetScrollInfo, (PVOID)&Hook_SetScrollInfo},
        {(PVOID)&Real_GetScrollInfo, (PVOID)&Hook_GetScrollInfo},
        {(PVOID)&Real_SetScrollPos, (PVOID)&Hook_SetScrollPos},
        {(PVOID)&Real_GetScrollPos, (PVOID)&Hook_GetScrollPos},
        {(PVOID)&Real_SetScrollRange, (PVOID)&Hook_SetScrollRange},
        {(PVOID)&Real_GetScrollRange, (PVOID)&Hook_GetScrollRange},
        {(PVOID)&Real_ShowScrollBar, (PVOID)&Hook_ShowScrollBar},
        {(PVOID)&Real_EnableScrollBar, (PVOID)&Hook_EnableScrollBar},
    };
    *pCount = sizeof(rows) / sizeof(rows[0]);
    return rows;
}
} // namespace

int InstallScrollBarHooks()
{
    size_t count = 0;
    const HookRow* rows = Rows(&count);
    int installed = 0;
    for (size_t i = 0; i < count; ++i)
        installed += InstallApiHook(rows[i].trampoline, rows[i].replacement) ? 1 : 0;
    return installed;
}

int RemoveScrollBarHooks()
{
    size_t count = 0;
    const HookRow* rows = Rows(&count);
    int removed = 0;
    for (size_t i = 0; i < count; ++i)
        removed += RemoveApiHook(rows[i].trampoline, rows[i].replacement) ? 1 : 0;
    return removed;
}

// ------------------------------------------------------------------ the eight
// rows

extern "C" {
void* Addr_EnableScrollBar()
{
    return (void*)&::EnableScrollBar;
}
void* Addr_ShowScrollBar()
{
    return (void*)&::ShowScrollBar;
}
void* Addr_GetScrollRange()
{
    return (void*)&::GetScrollRange;
}
void* Addr_SetScrollRange()
{
    return (void*)&::SetScrollRange;
}
void* Addr_GetScrollPos()
{
    return (void*)&::GetScrollPos;
}
void* Addr_SetScrollPos()
{
    return (void*)&::SetScrollPos;
}
void* Addr_GetScrollInfo()
{
    return (void*)&::GetScrollInfo;
}
void* Addr_SetScrollInfo()
{
    return (void*)&::SetScrollInfo;
}

BOOL WINAPI Hook_EnableScrollBar(HWND hWnd, UINT wSBflags, UINT wArrows)
{
    return IsSkinned(hWnd) ? SkinBar_EnableScrollBar(hWnd, wSBflags, wArrows)
                           : Real_EnableScrollBar(hWnd, wSBflags, wArrows);
}
BOOL WINAPI Hook_ShowScrollBar(HWND hWnd, int wBar, BOOL bShow)
{
    return IsSkinned(hWnd) ? SkinBar_ShowScrollBar(hWnd, wBar, bShow) : Real_ShowScrollBar(hWnd, wBar, bShow);
}
BOOL WINAPI Hook_GetScrollRange(HWND hWnd, int nBar, LPINT lpMinPos, LPINT lpMaxPos)
{
    return IsSkinned(hWnd) ? SkinBar_GetScrollRange(hWnd, nBar, lpMinPos, lpMaxPos)
                           : Real_GetScrollRange(hWnd, nBar, lpMinPos, lpMaxPos);
}
BOOL WINAPI Hook_SetScrollRange(HWND hWnd, int nBar, int nMinPos, int nMaxPos, BOOL bRedraw)
{
    return IsSkinned(hWnd) ? SkinBar_SetScrollRange(hWnd, nBar, nMinPos, nMaxPos, bRedraw)
                           : Real_SetScrollRange(hWnd, nBar, nMinPos, nMaxPos, bRedraw);
}
int WINAPI Hook_GetScrollPos(HWND hWnd, int nBar)
{
    return IsSkinned(hWnd) ? SkinBar_GetScrollPos(hWnd, nBar) : Real_GetScrollPos(hWnd, nBar);
}
int WINAPI Hook_SetScrollPos(HWND hWnd, int nBar, int nPos, BOOL bRedraw)
{
    return IsSkinned(hWnd) ? SkinBar_SetScrollPos(hWnd, nBar, nPos, bRedraw)
                           : Real_SetScrollPos(hWnd, nBar, nPos, bRedraw);
}
BOOL WINAPI Hook_GetScrollInfo(HWND hWnd, int nBar, LPSCROLLINFO lpsi)
{
    return IsSkinned(hWnd) ? SkinBar_GetScrollInfo(hWnd, nBar, lpsi) : Real_GetScrollInfo(hWnd, nBar, lpsi);
}
int WINAPI Hook_SetScrollInfo(HWND hWnd, int nBar, LPCSCROLLINFO lpsi, BOOL bRedraw)
{
    return IsSkinned(hWnd) ? SkinBar_SetScrollInfo(hWnd, nBar, lpsi, bRedraw)
                           : Real_SetScrollInfo(hWnd, nBar, lpsi, bRedraw);
}
}

#if defined(__i386__)
// The trampolines: 32-byte blocks of code under the functions' stdcall
// names. Until a hook is installed each calls its address getter and jumps
// to what it returns, the system function.
#define TAVREL_TRAMPOLINE(name, args)                                                                                  \
    ".globl _Real_" #name "@" #args "\n"                                                                               \
    ".p2align 4\n"                                                                                                     \
    "_Real_" #name "@" #args ":\n"                                                                                     \
    "  .byte 0x90, 0x90\n"                                                                                             \
    "  call _Addr_" #name "\n"                                                                                         \
    "  jmp *%eax\n"                                                                                                    \
    "  ret\n"                                                                                                          \
    "  .fill 22, 1, 0x90\n"
__asm__(".text\n" TAVREL_TRAMPOLINE(EnableScrollBar, 12) TAVREL_TRAMPOLINE(ShowScrollBar, 12)
            TAVREL_TRAMPOLINE(GetScrollRange, 16) TAVREL_TRAMPOLINE(SetScrollRange, 20)
                TAVREL_TRAMPOLINE(GetScrollPos, 8) TAVREL_TRAMPOLINE(SetScrollPos, 16)
                    TAVREL_TRAMPOLINE(GetScrollInfo, 12) TAVREL_TRAMPOLINE(SetScrollInfo, 16));
#else
// No code is patched here: the trampolines are the system functions.
extern "C" {
BOOL WINAPI Real_EnableScrollBar(HWND hWnd, UINT wSBflags, UINT wArrows)
{
    return ::EnableScrollBar(hWnd, wSBflags, wArrows);
}
BOOL WINAPI Real_ShowScrollBar(HWND hWnd, int wBar, BOOL bShow)
{
    return ::ShowScrollBar(hWnd, wBar, bShow);
}
BOOL WINAPI Real_GetScrollRange(HWND hWnd, int nBar, LPINT lpMinPos, LPINT lpMaxPos)
{
    return ::GetScrollRange(hWnd, nBar, lpMinPos, lpMaxPos);
}
BOOL WINAPI Real_SetScrollRange(HWND hWnd, int nBar, int nMinPos, int nMaxPos, BOOL bRedraw)
{
    return ::SetScrollRange(hWnd, nBar, nMinPos, nMaxPos, bRedraw);
}
int WINAPI Real_GetScrollPos(HWND hWnd, int nBar)
{
    return ::GetScrollPos(hWnd, nBar);
}
int WINAPI Real_SetScrollPos(HWND hWnd, int nBar, int nPos, BOOL bRedraw)
{
    return ::SetScrollPos(hWnd, nBar, nPos, bRedraw);
}
BOOL WINAPI Real_GetScrollInfo(HWND hWnd, int nBar, LPSCROLLINFO lpsi)
{
    return ::GetScrollInfo(hWnd, nBar, lpsi);
}
int WINAPI Real_SetScrollInfo(HWND hWnd, int nBar, LPCSCROLLINFO lpsi, BOOL bRedraw)
{
    return ::SetScrollInfo(hWnd, nBar, lpsi, bRedraw);
}
}
#endif
