// Time-outs and bounds of the configuration update tasks, kept in one place
// so that tests can shorten them. Read when a task is created or stopped.
#pragma once

#include <afx.h>

struct tagUpdateTuning
{
    DWORD dwConnectTimeout; // file tasks: connect time-out, ms
    DWORD dwReceiveTimeout; // file tasks: send and receive time-out, ms
    DWORD dwStopWait;       // longest the caller waits for stopping tasks, ms
    DWORD dwMaxFileSize;    // largest announced length a file task takes, bytes
    DWORD dwMaxIniSize;     // largest "Update.ini" taken from an archive, bytes
};

extern tagUpdateTuning g_UpdateTuning;

// The values the product runs with.
tagUpdateTuning UpdateTuningDefaults();
