#include "QuillonCrash.h"

#include <string.h>

tagCrashReportSettings QuillonCrashSettings()
{
    tagCrashReportSettings settings = CrashReportDefaults();
    strcpy(settings.szApplication, "Brassvale");
    strcpy(settings.szText, "TEST");
    return settings;
}
