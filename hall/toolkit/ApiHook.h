// In-process hooks of the eight scroll-bar functions: a skinned window's
// calls reach the SkinBar operations, every other call the system.
//
// A hook moves the first whole instructions of the system function into a
// 32-byte trampoline (followed by a jump back) and puts a jump to the
// replacement in their place. Only the 32-bit program patches code: in the
// 64-bit build InstallApiHook answers ERROR_NOT_SUPPORTED and skinned
// windows are served by the SkinBar calls made directly.
#pragma once

#include <windows.h>

BOOL InstallApiHook(PVOID pTrampoline, PVOID pReplacement);
// Fails with the last error ERROR_INVALID_HANDLE (no moved head in the
// trampoline), ERROR_INVALID_BLOCK (the target is no longer patched),
// ERROR_INVALID_ACCESS (patched by somebody else) or ERROR_INVALID_DATA.
BOOL RemoveApiHook(PVOID pTrampoline, PVOID pReplacement);

// The patching engine behind both, on any code of this process (the tests
// of the 64-bit build run it on buffers).
BOOL PatchCode(PVOID pTrampoline, PVOID pReplacement);
BOOL UnpatchCode(PVOID pTrampoline, PVOID pReplacement);

// The eight rows, in the order of start-up: SetScrollInfo, GetScrollInfo,
// SetScrollPos, GetScrollPos, SetScrollRange, GetScrollRange,
// ShowScrollBar, EnableScrollBar. Exit removes them in the same order.
// Returns how many were installed (removed).
int InstallScrollBarHooks();
int RemoveScrollBarHooks();

extern "C" {
// Replacements: the SkinBar operation for a skinned window, else the system.
BOOL WINAPI Hook_EnableScrollBar(HWND hWnd, UINT wSBflags, UINT wArrows);
BOOL WINAPI Hook_ShowScrollBar(HWND hWnd, int wBar, BOOL bShow);
BOOL WINAPI Hook_GetScrollRange(HWND hWnd, int nBar, LPINT lpMinPos, LPINT lpMaxPos);
BOOL WINAPI Hook_SetScrollRange(HWND hWnd, int nBar, int nMinPos, int nMaxPos, BOOL bRedraw);
int WINAPI Hook_GetScrollPos(HWND hWnd, int nBar);
int WINAPI Hook_SetScrollPos(HWND hWnd, int nBar, int nPos, BOOL bRedraw);
BOOL WINAPI Hook_GetScrollInfo(HWND hWnd, int nBar, LPSCROLLINFO lpsi);
int WINAPI Hook_SetScrollInfo(HWND hWnd, int nBar, LPCSCROLLINFO lpsi, BOOL bRedraw);

// Trampolines: the system function, hooked or not.
BOOL WINAPI Real_EnableScrollBar(HWND hWnd, UINT wSBflags, UINT wArrows);
BOOL WINAPI Real_ShowScrollBar(HWND hWnd, int wBar, BOOL bShow);
BOOL WINAPI Real_GetScrollRange(HWND hWnd, int nBar, LPINT lpMinPos, LPINT lpMaxPos);
BOOL WINAPI Real_SetScrollRange(HWND hWnd, int nBar, int nMinPos, int nMaxPos, BOOL bRedraw);
int WINAPI Real_GetScrollPos(HWND hWnd, int nBar);
int WINAPI Real_SetScrollPos(HWND hWnd, int nBar, int nPos, BOOL bRedraw);
BOOL WINAPI Real_GetScrollInfo(HWND hWnd, int nBar, LPSCROLLINFO lpsi);
int WINAPI Real_SetScrollInfo(HWND hWnd, int nBar, LPCSCROLLINFO lpsi, BOOL bRedraw);

// The system functions' addresses as the program imports them.
void* Addr_EnableScrollBar();
void* Addr_ShowScrollBar();
void* Addr_GetScrollRange();
void* Addr_SetScrollRange();
void* Addr_GetScrollPos();
void* Addr_SetScrollPos();
void* Addr_GetScrollInfo();
void* Addr_SetScrollInfo();
}
