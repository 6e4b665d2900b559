// Tavrel.exe: the hall program's entry point.
#include <afxwin.h>

#include "CrashReport.h"
#include "GamePlazaApp.h"

CGamePlazaApp theApp;

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow)
{
    // First of all: every thread's crash reaches the reporter.
    InstallCrashReportFilter();
    return AfxWinMain(hInstance, hPrevInstance, lpCmdLine, nCmdShow);
}
