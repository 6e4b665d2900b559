// How a test drives the stand-in game client and hears from it. Before the
// launch the test sets the environment; afterwards it sends WM_COPYDATA
// control messages to the client's window, and the client reports back to
// the test's window by WM_COPYDATA. The dwData values keep these apart from
// channel frames (dwData 1).
#pragma once

#include <windows.h>

// Environment: the test's report window (decimal handle) and the mode.
#define GAMECLIENT_ENV_REPORT "TAVREL_GAMECLIENT_REPORT"
#define GAMECLIENT_ENV_MODE "TAVREL_GAMECLIENT_MODE"
// Modes: no hello at all, hello from a child window, or exit at once after
// the start report. Anything else: an ordinary client.
#define GAMECLIENT_MODE_NO_HELLO "nohello"
#define GAMECLIENT_MODE_CHILD_HELLO "childhello"
#define GAMECLIENT_MODE_EXIT "exit"

// Reports to the test.
const ULONG_PTR GAMECLIENT_REPORT_START = 0x47430001; // u32 window, u32 child, command line
const ULONG_PTR GAMECLIENT_REPORT_FRAME = 0x47430002; // the channel frame as it came
const ULONG_PTR GAMECLIENT_REPORT_TIMES = 0x47430003; // u32 round trips in microseconds
// Control of the client: u32 command, then its arguments.
const ULONG_PTR GAMECLIENT_CONTROL = 0x47430010;

enum
{
    GAMECLIENT_SEND = 1,       // u16 main, u16 sub, data: a frame from the client's window
    GAMECLIENT_SEND_RAW = 2,   // u32 dwData, bytes: exactly these bytes
    GAMECLIENT_SEND_CHILD = 3, // u16 main, u16 sub, data: from the client's child window
    GAMECLIENT_SEND_OTHER = 4, // u16 main, u16 sub, data: from a window outside the block
    GAMECLIENT_EXIT = 5,       // ends without a goodbye
    GAMECLIENT_CRASH = 6,      // an access violation
    // u32 window (0: the channel window), u32 body size, u32 count: that
    // many kind-100 requests of GAMECLIENT_BENCH_SUB, each sent when the
    // answer to the one before came back; frames are not reported meanwhile,
    // the round trips are at the end.
    GAMECLIENT_BENCH = 7,
};
const WORD GAMECLIENT_BENCH_SUB = 0x4252;

#pragma pack(push, 1)
struct tagGameClientStart
{
    DWORD dwWindow;
    DWORD dwChild;
};
#pragma pack(pop)
