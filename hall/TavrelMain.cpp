// Tavrel.exe: the hall program's entry point.
#include <afxwin.h>

#include "CrashReport.h"
#include "GamePlazaApp.h"
#include "UserInfoView.h"

CGamePlazaApp theApp;
// The own-user panel of the plaza view.
static CUserInfoView s_UserInfoView;

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow)
{
    // First of all: every thread's crash reaches the reporter.
    InstallCrashReportFilter();
    theApp.SetUserPanel(&s_UserInfoView);
    return AfxWinMain(hInstance, hPrevInstance, lpCmdLine, nCmdShow);
}
