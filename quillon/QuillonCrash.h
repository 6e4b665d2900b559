// The user-service program's crash record: the hall's filter with texts of
// its own.
#pragma once

#include "CrashReport.h"

tagCrashReportSettings QuillonCrashSettings();
