// The named block the hall shares with the user-service program (Quillon).
// The hall creates it, keeps the logged-on user's id and password digest in
// it and starts Quillon with the block's name as its whole command line;
// Quillon copies the block once and writes its own main window into it.
//
// Quillon tells the hall about a changed custom face with WM_COPYDATA to the
// hall window of the block: wParam its own window (the one it wrote into
// the block), dwData 0, and either no data (cbData 0) or 256 bytes of data
// that the hall does not read.
#pragma once

#include <stddef.h>
#include <windows.h>

// Name format: tick count since system start, then the low 32 bits of the
// time in seconds, both signed decimals.
#define SERVICE_SHARE_NAME_FORMAT "TID=0x8%dP=%d"

struct tagServiceShareData
{
    DWORD dwUserID; // the logged-on user; 0 after a refused logon
    DWORD dwPageGroup;
    DWORD dwPageIndex;
    char szPassword[64]; // MD5 hex text of the password
    DWORD dwHallWnd;     // HandleToULong of the hall's main window
    DWORD dwServiceWnd;  // HandleToULong of Quillon's main window, written by Quillon
};
static_assert(sizeof(tagServiceShareData) == 84, "the block is 84 bytes in both builds");
static_assert(offsetof(tagServiceShareData, dwPageGroup) == 4, "block layout");
static_assert(offsetof(tagServiceShareData, dwPageIndex) == 8, "block layout");
static_assert(offsetof(tagServiceShareData, szPassword) == 12, "block layout");
static_assert(offsetof(tagServiceShareData, dwHallWnd) == 76, "block layout");
static_assert(offsetof(tagServiceShareData, dwServiceWnd) == 80, "block layout");

// dwData and the data sizes of Quillon's face notice.
const ULONG_PTR SERVICE_NOTICE_DATA = 0;
const DWORD SERVICE_NOTICE_SIZE = 256;
