// Stand-in for the crash reporter. Started by a crashing program with
// "/buginfo:<event>:<record>:<process id>" (handle and address in hex), it
// reads the crash record out of that process, appends one line about it to
// the file named by TAVREL_MURLOW_REPORT and signals the event, which lets
// the crashed program end. TAVREL_MURLOW_MODE "die" ends without signalling,
// "hang" stays without signalling until the crashed program is gone.
#include <windows.h>

#include <stddef.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

namespace
{

// Layout of the record as the crashing program writes it (its own build's).
struct CrashRecord
{
    DWORD dwSize;
    ULONG_PTR dwExceptionPointers;
    DWORD dwThreadID;
    char szApplication[32];
    char szText[260];
};

bool ParseHex(const char*& text, ULONG_PTR& value)
{
    value = 0;
    int digits = 0;
    for (; digits < (int)(2 * sizeof(ULONG_PTR)); ++digits, ++text) {
        char c = *text;
        int v = c >= '0' && c <= '9'   ? c - '0'
                : c >= 'A' && c <= 'F' ? c - 'A' + 10
                : c >= 'a' && c <= 'f' ? c - 'a' + 10
                                       : -1;
        if (v < 0)
            break;
        value = value << 4 | (ULONG_PTR)v;
    }
    return digits > 0 && (*text == ':' || *text == 0 || *text == ' ');
}

bool ParseBugInfo(const char* command, HANDLE& event, ULONG_PTR& record, DWORD& pid)
{
    const char* text = strstr(command, "/buginfo:");
    if (text == NULL)
        return false;
    text += 9;
    ULONG_PTR handle = 0, id = 0;
    if (!ParseHex(text, handle) || *text++ != ':' || !ParseHex(text, record) || *text++ != ':')
        return false;
    char* end = NULL;
    id = strtoul(text, &end, 10);
    if (end == text || id == 0)
        return false;
    event = (HANDLE)handle;
    pid = (DWORD)id;
    return true;
}

void Report(const char* line)
{
    char path[MAX_PATH];
    DWORD length = GetEnvironmentVariableA("TAVREL_MURLOW_REPORT", path, sizeof(path));
    if (length == 0 || length >= sizeof(path))
        return;
    HANDLE file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_ALWAYS, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(file, line, (DWORD)strlen(line), &written, NULL);
    CloseHandle(file);
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    HANDLE event = NULL;
    ULONG_PTR address = 0;
    DWORD pid = 0;
    if (!ParseBugInfo(GetCommandLineA(), event, address, pid)) {
        Report("bad command line\n");
        return 2;
    }
    char mode[16] = "";
    GetEnvironmentVariableA("TAVREL_MURLOW_MODE", mode, sizeof(mode));

    HANDLE process = OpenProcess(PROCESS_VM_READ | PROCESS_QUERY_INFORMATION | SYNCHRONIZE, FALSE, pid);
    CrashRecord record;
    memset(&record, 0, sizeof(record));
    SIZE_T got = 0;
    DWORD code = 0;
    bool read = false;
    // The size first: the record is read no further than both sides know it.
    if (process != NULL && ReadProcessMemory(process, (LPCVOID)address, &record.dwSize, sizeof(record.dwSize), &got) &&
        got == sizeof(record.dwSize) && record.dwSize >= offsetof(CrashRecord, szApplication)) {
        SIZE_T want = record.dwSize < sizeof(record) ? record.dwSize : sizeof(record);
        DWORD size = record.dwSize;
        read = ReadProcessMemory(process, (LPCVOID)address, &record, want, &got) && got == want;
        record.dwSize = size;
        EXCEPTION_POINTERS pointers;
        EXCEPTION_RECORD exception;
        if (read && record.dwExceptionPointers != 0 &&
            ReadProcessMemory(process, (LPCVOID)record.dwExceptionPointers, &pointers, sizeof(pointers), &got) &&
            got == sizeof(pointers) &&
            ReadProcessMemory(process, pointers.ExceptionRecord, &exception, sizeof(exception), &got) &&
            got == sizeof(exception))
            code = exception.ExceptionCode;
    }
    char line[400];
    record.szApplication[sizeof(record.szApplication) - 1] = 0;
    record.szText[sizeof(record.szText) - 1] = 0;
    if (read)
        snprintf(line, sizeof(line), "report pid=%lu size=%lu thread=%lu code=%08lX app=%s text=%s\n",
                 (unsigned long)pid, (unsigned long)record.dwSize, (unsigned long)record.dwThreadID,
                 (unsigned long)code, record.szApplication, record.szText);
    else
        snprintf(line, sizeof(line), "unreadable pid=%lu\n", (unsigned long)pid);
    Report(line);

    if (strcmp(mode, "die") == 0)
        return 3;
    if (strcmp(mode, "hang") == 0) {
        if (process != NULL)
            WaitForSingleObject(process, 120000);
        return 4;
    }
    SetEvent(event);
    if (process != NULL)
        CloseHandle(process);
    return 0;
}
