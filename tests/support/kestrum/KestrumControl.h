// What a test posts to the installer stand-in's window (its handle is at +8
// of the block): in "hold" mode, install the next record handed over.
#pragma once

#include <windows.h>

#define WM_KESTRUM_INSTALL (WM_APP + 1)
