#include "FrameNeighbours.h"

#include "FileUpdate.h"
#include "GlobalUnits.h"
#include "WordFilter.h"

bool CFrameUpdater::UpdateFile(LPCSTR pszUrl, LPCSTR pszLocalFile, CWnd* pNotifyWnd, int nKind)
{
    return g_GlobalUnits.GetFileUpdate()->UpdateFile(pszUrl, pszLocalFile, pNotifyWnd, nKind);
}

bool CFrameUpdater::UpdateAdBanner(DWORD dwInstalledVersion, int nBannerKind, CWnd* pNotifyWnd)
{
    return g_GlobalUnits.GetFileUpdate()->UpdateAdBanner(dwInstalledVersion, nBannerKind, pNotifyWnd);
}

bool CFrameUpdater::UpdateCompetitionEntry(DWORD dwInstalledVersion, CWnd* pNotifyWnd)
{
    return g_GlobalUnits.GetFileUpdate()->UpdateCompetitionEntry(dwInstalledVersion, pNotifyWnd);
}

bool CFrameUpdater::UpdateConfigFile(DWORD dwInstalledVersion, int nListKind, CWnd* pNotifyWnd)
{
    return g_GlobalUnits.GetFileUpdate()->UpdateConfigFile(dwInstalledVersion, nListKind, pNotifyWnd);
}

bool CFrameUpdater::ExtractZipFile(LPCSTR pszPath)
{
    return g_GlobalUnits.GetFileUpdate()->ExtractZipFile(pszPath);
}

void CFrameUpdater::LoadBulletin()
{
    g_GlobalUnits.GetFileUpdate()->LoadBulletin();
}

void CFrameUpdater::DetachNotifyWindow()
{
    g_GlobalUnits.GetFileUpdate()->DetachNotifyWindow();
}

void CFrameUpdater::ReloadWordFilter()
{
    g_WordFilter.LoadWordList();
}
