#include "CrashReport.h"

#include <exception>
#include <stdlib.h>
#include <string.h>

#include "TextUnit.h"

namespace
{

LPTOP_LEVEL_EXCEPTION_FILTER g_pPreviousFilter = NULL;
volatile LONG g_lFirstCrash = 1;
// Set once the first crash's report is over; later crashing threads wait on it.
HANDLE g_hReportDone = NULL;

// The runtime's own unwinding raises these (64-bit SEH unwinding) and
// expects the top-level filter to let them continue, so that std::terminate
// runs; they are no crash.
bool IsRuntimeUnwind(const EXCEPTION_RECORD* record)
{
    return (record->ExceptionCode & 0x20FFFFFF) == 0x20474343 &&
           (record->ExceptionFlags & EXCEPTION_NONCONTINUABLE) == 0;
}

void AppendHex(char* out, size_t width, ULONG_PTR value)
{
    char digits[2 * sizeof(ULONG_PTR) + 1];
    int count = 0;
    do {
        digits[count++] = "0123456789ABCDEF"[value & 15];
        value >>= 4;
    } while (value != 0 || count < 8);
    size_t length = strlen(out);
    while (count > 0 && length + 1 < width)
        out[length++] = digits[--count];
    out[length] = 0;
}

// The reporter's path: the folder of this program followed by "Murlow.exe".
bool ReporterPath(char (&path)[MAX_PATH])
{
    char module[MAX_PATH];
    DWORD length = ::GetModuleFileNameA(NULL, module, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return false;
    size_t cut = 0;
    for (size_t pos = 0; pos < length; pos += TextCharSize(module, length, pos))
        if (module[pos] == '\\' || module[pos] == '/')
            cut = pos + 1;
    static const char kReporter[] = "Murlow.exe";
    if (cut + sizeof(kReporter) > MAX_PATH)
        return false;
    memcpy(path, module, cut);
    memcpy(path + cut, kReporter, sizeof(kReporter));
    return true;
}

// Starts the reporter and waits until it signals the event or ends, bounded.
bool RunReporter(HANDLE hEvent, tagCrashRecord* record)
{
    char path[MAX_PATH];
    if (hEvent == NULL || !ReporterPath(path))
        return false;
    char command[MAX_PATH + 64] = "\"";
    strcat(command, path);
    strcat(command, "\" /buginfo:");
    AppendHex(command, sizeof(command), (ULONG_PTR)hEvent);
    strcat(command, ":");
    AppendHex(command, sizeof(command), (ULONG_PTR)record);
    char pid[16];
    _ultoa(::GetCurrentProcessId(), pid, 10);
    strcat(command, ":");
    strcat(command, pid);

    STARTUPINFOA startup;
    memset(&startup, 0, sizeof(startup));
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process;
    if (!::CreateProcessA(path, command, NULL, NULL, TRUE, 0, NULL, NULL, &startup, &process))
        return false;
    HANDLE waits[2] = {hEvent, process.hProcess};
    ::WaitForMultipleObjects(2, waits, FALSE, CrashReportSettings().dwReporterWait);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return true;
}

void OnTerminate()
{
    ::RaiseException(CRASH_UNCAUGHT_CPP_EXCEPTION, EXCEPTION_NONCONTINUABLE, 0, NULL);
    abort();
}

} // namespace

tagCrashReportSettings CrashReportDefaults()
{
    tagCrashReportSettings settings;
    memset(&settings, 0, sizeof(settings));
    // Writing a report of a large process takes a while; a reporter that
    // hangs must not keep a crashed program alive for ever.
    settings.dwReporterWait = 60000;
    return settings;
}

tagCrashReportSettings& CrashReportSettings()
{
    static tagCrashReportSettings settings = CrashReportDefaults();
    return settings;
}

void InstallCrashReportFilter()
{
    InstallCrashReportFilter(CrashReportDefaults());
}

void InstallCrashReportFilter(const tagCrashReportSettings& settings)
{
    CrashReportSettings() = settings;
    if (g_hReportDone == NULL)
        g_hReportDone = ::CreateEventA(NULL, TRUE, FALSE, NULL);
    LPTOP_LEVEL_EXCEPTION_FILTER previous = ::SetUnhandledExceptionFilter(CrashReportFilter);
    if (previous != CrashReportFilter)
        g_pPreviousFilter = previous;
    std::set_terminate(OnTerminate);
}

LONG WINAPI CrashReportFilter(EXCEPTION_POINTERS* pExceptionInfo)
{
    if (pExceptionInfo != NULL && pExceptionInfo->ExceptionRecord != NULL &&
        IsRuntimeUnwind(pExceptionInfo->ExceptionRecord))
        return EXCEPTION_CONTINUE_EXECUTION;

    tagCrashRecord record;
    memset(&record, 0, sizeof(record));
    record.dwSize = sizeof(record);
    record.dwExceptionPointers = (ULONG_PTR)pExceptionInfo;
    record.dwThreadID = ::GetCurrentThreadId();
    memcpy(record.szApplication, CrashReportSettings().szApplication, sizeof(record.szApplication));
    memcpy(record.szText, CrashReportSettings().szText, sizeof(record.szText));
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), NULL, TRUE};
    HANDLE hEvent = ::CreateEventA(&inherit, FALSE, FALSE, NULL);

    bool reported = false;
    if (::InterlockedExchange(&g_lFirstCrash, 0) == 1) {
        reported = RunReporter(hEvent, &record);
        if (g_hReportDone != NULL)
            ::SetEvent(g_hReportDone);
    } else if (g_hReportDone != NULL) {
        // The first crash is being reported: the process must not end under
        // the reporter's feet, nor wait longer than that report may take.
        ::WaitForSingleObject(g_hReportDone, CrashReportSettings().dwReporterWait + 1000);
    }
    if (hEvent != NULL)
        ::CloseHandle(hEvent);
    if (reported)
        return EXCEPTION_EXECUTE_HANDLER;
    if (g_pPreviousFilter != NULL)
        return g_pPreviousFilter(pExceptionInfo);
    return EXCEPTION_CONTINUE_SEARCH;
}
