// Skinned scroll bars for any window: the window keeps its class and code;
// its procedure is subclassed, the non-client area where the system draws
// its bars is taken over, and both bars' scroll information is kept here.
// The SkinBar_ operations mirror the system's scroll-bar functions (same
// arguments) and act only on skinned windows; the scroll-bar hooks route
// the system functions to them.
#pragma once

#include <windows.h>

// Window property holding the state.
#define SKINBAR_PROP "PROP_SkinBar"

struct SkinBarState
{
    HWND hWnd;
    DWORD arrowFlags; // bits 0-1 horizontal, 2-3 vertical (ESB_DISABLE_LTUP, _RTDN)
    SCROLLINFO horz;
    SCROLLINFO vert;
    WNDPROC oldWndProc;
    BOOL leftScrollBar;
    BOOL inOwnNcPass;
    BOOL leaveTracking;
    BOOL pressed;
    BOOL richEdit;
    DWORD pressedPart;
    int dragPos;
    int dragOffset;
    WORD repeatMsg;
    WORD repeatCode;
    DWORD hotPart;
    HBITMAP bitmap;
};

// Part codes: low nibble the part, SKINBAR_VERT added for the vertical bar.
enum
{
    SKINBAR_FIRST_ARROW = 1,
    SKINBAR_SECOND_ARROW = 2,
    SKINBAR_THUMB = 3,
    SKINBAR_PAGE_BEFORE = 4,
    SKINBAR_PAGE_AFTER = 5,
    SKINBAR_VERT = 0x10,
    SKINBAR_CELL = 16,
    SKINBAR_MIN_THUMB = 10,
    SKINBAR_TIMER_DELAY = 60000,
    SKINBAR_TIMER_REPEAT = 60001,
    SKINBAR_DELAY_MS = 400,
    SKINBAR_REPEAT_MS = 50
};

BOOL SkinBar_Attach(HWND hWnd, HBITMAP hBitmap);
BOOL SkinBar_IsSkinned(HWND hWnd);
BOOL SkinBar_ShowScrollBar(HWND hWnd, int nBar, BOOL bShow);
BOOL SkinBar_EnableScrollBar(HWND hWnd, UINT nBar, UINT nArrows);
BOOL SkinBar_GetScrollRange(HWND hWnd, int nBar, LPINT lpMin, LPINT lpMax);
BOOL SkinBar_SetScrollRange(HWND hWnd, int nBar, int nMin, int nMax, BOOL bRedraw);
int SkinBar_GetScrollPos(HWND hWnd, int nBar);
int SkinBar_SetScrollPos(HWND hWnd, int nBar, int nPos, BOOL bRedraw);
BOOL SkinBar_GetScrollInfo(HWND hWnd, int nBar, LPSCROLLINFO lpsi);
int SkinBar_SetScrollInfo(HWND hWnd, int nBar, LPCSCROLLINFO lpsi, BOOL bRedraw);
LRESULT CALLBACK SkinBar_WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

// Paints the skinned bars of the window (and the size box) on a DC whose
// (0, 0) is the screen point ptOrigin (the window's top-left for its own DC).
void SkinBar_DrawBars(HWND hWnd, HDC hdc, POINT ptOrigin);

// The arithmetic, apart from windows.
struct SkinBarGeometry
{
    int trackStart;
    int trackEnd;
    int thumbStart; // both 0: no thumb
    int thumbEnd;
};
// A bar from start to end along its axis.
SkinBarGeometry SkinBar_Measure(int nStart, int nEnd, const SCROLLINFO& si);
// Part (1-5, 0 none) at coordinate c of a bar; arrows and page areas of a
// bar with disabled arrows are dead.
DWORD SkinBar_HitPart(const SkinBarGeometry& g, int c, BOOL bArrowsDisabled);
// Position for the thumb dragged to coordinate c.
int SkinBar_DragPos(const SkinBarGeometry& g, const SCROLLINFO& si, int c, int nDragOffset);
// Applies info to the stored information by the rules of SetScrollInfo:
// whether anything changed, and whether the bar should be shown (bShownNow
// stands when neither range nor page was given).
struct SkinBarUpdate
{
    BOOL changed;
    BOOL show;
};
SkinBarUpdate SkinBar_UpdateInfo(SCROLLINFO& stored, const SCROLLINFO& info, BOOL bShownNow);
