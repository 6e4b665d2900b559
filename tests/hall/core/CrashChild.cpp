// The second process of the crash filter tests: installs the filter as the
// hall does, then crashes as its first argument says. The second argument
// is the longest wait for the reporter, in ms.
//   main    access violation on the main thread
//   worker  access violation on a worker thread
//   both    a worker and the main thread crash together
//   throw   an uncaught C++ exception
//   direct  runs the filter twice by hand; the exit code is 10 * first
//           verdict + second verdict
#include <windows.h>

#include <stdexcept>
#include <stdlib.h>
#include <string.h>

#include "CrashReport.h"

namespace
{

HANDLE g_hGo = NULL;
// Read at run time, so the compiler cannot see the bad address.
volatile ULONG_PTR g_nowhere = 0x10;

__attribute__((noinline)) void Crash()
{
    *(volatile int*)g_nowhere = 1;
}

DWORD WINAPI CrashingWorker(LPVOID)
{
    if (g_hGo != NULL)
        WaitForSingleObject(g_hGo, INFINITE);
    Crash();
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    InstallCrashReportFilter();
    if (argc < 2)
        return 2;
    if (argc > 2)
        CrashReportSettings().dwReporterWait = (DWORD)strtoul(argv[2], NULL, 10);
    const char* mode = argv[1];
    if (strcmp(mode, "main") == 0)
        Crash();
    if (strcmp(mode, "worker") == 0) {
        HANDLE thread = CreateThread(NULL, 0, CrashingWorker, NULL, 0, NULL);
        WaitForSingleObject(thread, INFINITE);
        return 5;
    }
    if (strcmp(mode, "both") == 0) {
        g_hGo = CreateEventA(NULL, TRUE, FALSE, NULL);
        CreateThread(NULL, 0, CrashingWorker, NULL, 0, NULL);
        SetEvent(g_hGo);
        Crash();
    }
    if (strcmp(mode, "throw") == 0)
        throw std::runtime_error("nobody catches this");
    if (strcmp(mode, "direct") == 0) {
        EXCEPTION_RECORD record;
        memset(&record, 0, sizeof(record));
        record.ExceptionCode = 0xE0000001;
        CONTEXT context;
        memset(&context, 0, sizeof(context));
        EXCEPTION_POINTERS pointers = {&record, &context};
        LONG first = CrashReportFilter(&pointers);
        LONG second = CrashReportFilter(&pointers);
        return (int)(10 * first + second);
    }
    return 6;
}
