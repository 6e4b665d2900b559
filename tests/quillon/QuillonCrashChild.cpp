// Crashes on its main thread with the user-service program's crash filter
// installed. The argument is the longest wait for the reporter, in ms.
#include <windows.h>

#include <stdlib.h>

#include "QuillonCrash.h"

namespace
{

volatile ULONG_PTR g_nowhere = 0x10;

} // namespace

int main(int argc, char** argv)
{
    InstallCrashReportFilter(QuillonCrashSettings());
    if (argc > 1)
        CrashReportSettings().dwReporterWait = DWORD(strtoul(argv[1], NULL, 10));
    *(volatile int*)g_nowhere = 1;
    return 6;
}
