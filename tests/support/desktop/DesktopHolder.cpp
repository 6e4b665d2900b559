// Holds Wine's desktop for the test programs of a prefix; tools/env.sh
// (tavrel_wine_up) starts it with its output away from any test's pipes.
// Wine starts its desktop process on demand, and that process inherits the
// output of whichever program asked first: started by a test, it would hold
// that test's pipe, and ctest would count the test running until the desktop
// ends. Asked for here, the desktop inherits this program's output instead,
// and stays up between test programs while this program runs.
//
// desktop_holder [idle seconds]: with 0 (the default) it runs until its
// prefix's wineserver is stopped; otherwise it ends once no program but
// Wine's own has run for that long.
#include <windows.h>

#include <tlhelp32.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

namespace
{

// Wine's own processes, which run on without any test program.
bool IsWineProcess(const char* name)
{
    static const char* const kNames[] = {"services.exe", "explorer.exe", "winedevice.exe", "plugplay.exe",
                                         "svchost.exe",  "rpcss.exe",    "conhost.exe",    "wineboot.exe",
                                         "start.exe",    "rundll32.exe"};
    for (const char* known : kNames) {
        if (_stricmp(name, known) == 0)
            return true;
    }
    return false;
}

// True while a program other than Wine's own and this one runs.
bool OthersRun()
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return true;
    bool bOthers = false;
    PROCESSENTRY32 entry;
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32First(snapshot, &entry); more && !bOthers; more = Process32Next(snapshot, &entry)) {
        bOthers = entry.th32ProcessID != GetCurrentProcessId() && !IsWineProcess(entry.szExeFile);
    }
    CloseHandle(snapshot);
    return bOthers;
}

} // namespace

int main(int argc, char** argv)
{
    long idleSeconds = argc > 1 ? strtol(argv[1], NULL, 10) : 0;
    // The desktop window exists only once the desktop process is up.
    if (GetDesktopWindow() == NULL) {
        printf("no desktop\n");
        return 1;
    }
    printf("ready\n");
    fflush(stdout);
    if (idleSeconds <= 0) {
        Sleep(INFINITE);
        return 0;
    }
    for (long idle = 0; idle < idleSeconds;) {
        Sleep(1000);
        idle = OthersRun() ? 0 : idle + 1;
    }
    return 0;
}
