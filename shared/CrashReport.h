// The crash filter of the hall and the user-service program: the first crash
// of the process starts the crash reporter "Murlow.exe" of the program
// folder, which reads the crash record from this process by its address.
#pragma once

#include <windows.h>

#include <stddef.h>

// Read by the reporter with ReadProcessMemory while the crashing thread
// waits. The 32-bit layout is the reporter's; the 64-bit build keeps the
// address at full width.
struct tagCrashRecord
{
    DWORD dwSize;                  // sizeof(tagCrashRecord)
    ULONG_PTR dwExceptionPointers; // address of the filter's EXCEPTION_POINTERS
    DWORD dwThreadID;              // the crashing thread
    char szApplication[32];
    char szText[260];
};
#if defined(_WIN32) && !defined(_WIN64)
static_assert(sizeof(tagCrashRecord) == 304, "crash record read by the reporter");
static_assert(offsetof(tagCrashRecord, dwThreadID) == 8, "crash record read by the reporter");
static_assert(offsetof(tagCrashRecord, szText) == 44, "crash record read by the reporter");
#endif

// Raised by the terminate handler, so that an uncaught C++ exception reaches
// the filter as a structured exception.
#define CRASH_UNCAUGHT_CPP_EXCEPTION 0xE0435050

// What a program puts into its crash record, and how long a crashing thread
// waits for the reporter.
struct tagCrashReportSettings
{
    char szApplication[32];
    char szText[260];
    DWORD dwReporterWait; // ms; the reporter's end or its event ends it sooner
};

// The hall's: empty texts, a minute's wait.
tagCrashReportSettings CrashReportDefaults();
// The settings the filter uses (tests shorten the wait).
tagCrashReportSettings& CrashReportSettings();

// Installs the filter for every thread (keeping the one before it, to which
// an unreported crash goes on) and the terminate handler. Call first thing in
// the entry point.
void InstallCrashReportFilter();
void InstallCrashReportFilter(const tagCrashReportSettings& settings);

// Reported: EXCEPTION_EXECUTE_HANDLER, and the process ends with the
// exception code. Not reported (no reporter, or not the first crash):
// the previous filter's verdict, or EXCEPTION_CONTINUE_SEARCH. A crash on a
// second thread waits (bounded) for the first one's report.
LONG WINAPI CrashReportFilter(EXCEPTION_POINTERS* pExceptionInfo);
