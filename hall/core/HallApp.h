// What the hall's windows ask of the application object, which installs
// itself here when it starts (tests install their own).
#pragma once

#include <afxwin.h>

class CClientDataCenter;

class IHallApp
{
public:
    virtual ~IHallApp() {}
    // The hall data centre; null before start-up made it.
    virtual CClientDataCenter* GetClientDataCenter() = 0;
    // True after a successful logon, false while a logon dialog runs.
    virtual bool IsLoggedOn() = 0;
    // Shows the main window again (maximised when it was).
    virtual void RestoreMainWindow() = 0;
    // Drops the session and runs the logon dialog again.
    virtual void LogonAgain() = 0;
    // Shows the address in the plaza's web page (mode 1 re-lays the hall out
    // first); false for an empty address.
    virtual bool ShowUrlInPlaza(LPCSTR pszUrl, BYTE cbFlag, int nMode) = 0;
    // Shows the pop-up notice markup in the hall's notice window, when it exists.
    virtual void ShowPopupMessage(LPCSTR pszText) {}
};

class CHallApp
{
public:
    // Answers the previous one; null removes it.
    static IHallApp* Install(IHallApp* pApp);
    static IHallApp* Get();
    // The data centre of the installed application, or null.
    static CClientDataCenter* GetClientDataCenter();
};
