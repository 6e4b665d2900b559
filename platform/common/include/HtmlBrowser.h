// CHtmlBrowser: the web view the hall's pages use (the news strip, the web
// dialogs, the logon page, the room pages): a browser view made as a plain
// child control, opened with one address.
#pragma once

#include <afxhtml.h>

class CHtmlBrowser : public CHtmlView
{
    DECLARE_DYNCREATE(CHtmlBrowser)
public:
    CHtmlBrowser();
    virtual ~CHtmlBrowser();

    // Opens the address in the view; false without a browser or an address.
    BOOL Navigate(LPCTSTR lpszAddress);
    // Whether the page takes the mouse and the keyboard; a view starts
    // enabled, as any window does.
    void EnableBrowser(bool bEnable);
    bool IsBrowserEnabled() const;
};
