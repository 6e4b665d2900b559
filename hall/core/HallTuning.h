// Intervals and bounds of the hall's start-up and main frame, kept in one
// place so that tests can shorten them.
#pragma once

#include <afx.h>

struct tagHallTuning
{
    DWORD dwMiniHallDelay;     // after logon, until the mini hall shows, ms
    DWORD dwConfigTimer;       // the one-shot timers after a configuration arrived, ms
    DWORD dwSecond;            // one second of the reconnect delay, ms
    int nReconnectFirst;       // first reconnect delay, s
    int nReconnectDoubleBelow; // the delay doubles while it is below this, s
};

extern tagHallTuning g_HallTuning;

// The values the product runs with.
tagHallTuning HallTuningDefaults();
