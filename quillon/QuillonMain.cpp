// Quillon.exe: the user-service program's entry point.
#include <afxwin.h>

#include "QuillonApp.h"

CQuillonApp theApp;

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow)
{
    // First of all: every thread's crash reaches the reporter.
    InstallCrashReportFilter(QuillonCrashSettings());
    return AfxWinMain(hInstance, hPrevInstance, lpCmdLine, nCmdShow);
}
