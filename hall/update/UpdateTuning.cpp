#include "UpdateTuning.h"

tagUpdateTuning UpdateTuningDefaults()
{
    tagUpdateTuning tuning;
    tuning.dwConnectTimeout = 10000;
    tuning.dwReceiveTimeout = 10000;
    // The logon dialog replaces its archive task on the interface thread.
    tuning.dwStopWait = 3000;
    tuning.dwMaxFileSize = 64 * 1024 * 1024;
    tuning.dwMaxIniSize = 1024 * 1024;
    return tuning;
}

tagUpdateTuning g_UpdateTuning = UpdateTuningDefaults();
