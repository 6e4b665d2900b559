// Private messages of the class library, for code that extends it.
#pragma once

#include <afxwin.h>

// Sent to a modal dialog while its loop is idle: wParam MSGF_DIALOGBOX,
// lParam the idle count; a FALSE result stops the idle calls until the next message.
#define WM_KICKIDLE 0x036A
// Answered with 1 by every window running the library's window procedure.
#define WM_QUERYAFXWNDPROC 0x0360
