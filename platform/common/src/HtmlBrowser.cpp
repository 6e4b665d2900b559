#include "HtmlBrowser.h"

IMPLEMENT_DYNCREATE(CHtmlBrowser, CHtmlView)

CHtmlBrowser::CHtmlBrowser() {}

CHtmlBrowser::~CHtmlBrowser() {}

BOOL CHtmlBrowser::Navigate(LPCTSTR lpszAddress)
{
    if (m_pBrowserApp == NULL || lpszAddress == NULL || lpszAddress[0] == 0)
        return FALSE;
    CHtmlView::Navigate2(lpszAddress);
    return TRUE;
}

void CHtmlBrowser::EnableBrowser(bool bEnable)
{
    // The browser's own window is a child: a disabled view keeps input from it.
    if (m_hWnd != NULL)
        EnableWindow(bEnable ? TRUE : FALSE);
}

bool CHtmlBrowser::IsBrowserEnabled() const
{
    return m_hWnd != NULL && IsWindowEnabled();
}
