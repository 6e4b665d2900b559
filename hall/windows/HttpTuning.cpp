#include "HttpTuning.h"

tagHttpTuning HttpTuningDefaults()
{
    tagHttpTuning tuning;
    tuning.dwHelperTimeout = 3000;
    tuning.dwAsyncTimeout = 5000;
    // Update archives are the largest bodies the helper fetches.
    tuning.dwMaxHelperBody = 64 * 1024 * 1024;
    tuning.dwMaxAsyncBody = 16 * 1024 * 1024;
    tuning.nMaxRedirects = 5;
    return tuning;
}

tagHttpTuning g_HttpTuning = HttpTuningDefaults();
