// Where the hall's web windows hand the addresses pages open. The
// application installs its link handler; the windows ask through here and
// so never name the application.
#pragma once

#include <afxwin.h>

class IHallLinkHandler
{
public:
    virtual ~IHallLinkHandler() {}
    // Non-zero when the address was a hall link and was taken.
    virtual int HandleHallUrl(LPCSTR pszUrl) = 0;
};

class CHallLinks
{
public:
    // Answers the previous handler; null removes it.
    static IHallLinkHandler* Install(IHallLinkHandler* pHandler);
    static IHallLinkHandler* GetHandler();

    // True when the address begins "tavrel://" (in any case).
    static bool IsHallLink(LPCSTR pszUrl);
    // True for an http or https address: the only ones a page or a notice
    // may hand to the default browser.
    static bool IsWebAddress(LPCSTR pszUrl);
    // Gives the address to the handler. Without one, hall links are still
    // reported as taken, so they never reach a browser.
    static bool Handle(LPCSTR pszUrl);
};
