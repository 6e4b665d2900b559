#include "HallTuning.h"

tagHallTuning HallTuningDefaults()
{
    tagHallTuning tuning;
    // Writing a report of a large process takes a while; a reporter that
    // hangs must not keep a crashed hall alive for ever.
    tuning.dwReporterWait = 60000;
    tuning.dwMiniHallDelay = 30000;
    tuning.dwConfigTimer = 100;
    tuning.dwSecond = 1000;
    tuning.nReconnectFirst = 10;
    tuning.nReconnectDoubleBelow = 180;
    return tuning;
}

tagHallTuning g_HallTuning = HallTuningDefaults();
