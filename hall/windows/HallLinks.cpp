#include "HallLinks.h"

namespace
{
IHallLinkHandler* g_pLinkHandler = NULL;

bool StartsNoCase(LPCSTR pszText, LPCSTR pszPrefix)
{
    size_t n = strlen(pszPrefix);
    return pszText != NULL && _strnicmp(pszText, pszPrefix, n) == 0;
}
} // namespace

IHallLinkHandler* CHallLinks::Install(IHallLinkHandler* pHandler)
{
    IHallLinkHandler* pPrevious = g_pLinkHandler;
    g_pLinkHandler = pHandler;
    return pPrevious;
}

IHallLinkHandler* CHallLinks::GetHandler()
{
    return g_pLinkHandler;
}

bool CHallLinks::IsHallLink(LPCSTR pszUrl)
{
    return StartsNoCase(pszUrl, "tavrel://");
}

bool CHallLinks::IsWebAddress(LPCSTR pszUrl)
{
    return StartsNoCase(pszUrl, "http://") || StartsNoCase(pszUrl, "https://");
}

bool CHallLinks::Handle(LPCSTR pszUrl)
{
    if (pszUrl == NULL || pszUrl[0] == '\0')
        return false;
    if (g_pLinkHandler != NULL)
        return g_pLinkHandler->HandleHallUrl(pszUrl) != 0;
    return IsHallLink(pszUrl);
}
