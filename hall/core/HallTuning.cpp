#include "HallTuning.h"

tagHallTuning HallTuningDefaults()
{
    tagHallTuning tuning;
    tuning.dwMiniHallDelay = 30000;
    tuning.dwConfigTimer = 100;
    tuning.dwSecond = 1000;
    tuning.nReconnectFirst = 10;
    tuning.nReconnectDoubleBelow = 180;
    return tuning;
}

tagHallTuning g_HallTuning = HallTuningDefaults();
