// The named block a room shares with its game client. The room creates and
// zeroes it, writes the size and its two windows; the client writes its own
// window at +4 and reaches the room's channel window (WM_COPYDATA) through
// it. Game clients build against this header: the layout must not change.
#pragma once

#include <stddef.h>
#include <windows.h>

// Name format: a process-wide number, the room's port, the low and the high
// 32 bits of the time in seconds.
#define GAME_SHARE_NAME_FORMAT "0x8%ld%ld%ld%ld"
const size_t GAME_SHARE_NAME_MAX = 64;

struct tagGameShareData
{
    WORD wSize; // sizeof(tagGameShareData)
    WORD wReserved;
    DWORD dwGameWnd;    // HandleToULong of the game client's window; 0 while none
    DWORD dwHallWnd;    // HandleToULong of the hall's main window
    DWORD dwChannelWnd; // HandleToULong of the room's channel window
    BYTE cbReserved[8];
};
static_assert(sizeof(tagGameShareData) == 24, "the block is 24 bytes in both builds");
static_assert(offsetof(tagGameShareData, dwGameWnd) == 4, "block layout");
static_assert(offsetof(tagGameShareData, dwHallWnd) == 8, "block layout");
static_assert(offsetof(tagGameShareData, dwChannelWnd) == 12, "block layout");
static_assert(offsetof(tagGameShareData, cbReserved) == 16, "block layout");
