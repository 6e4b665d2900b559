#include "HallFileUpdateHost.h"

#include <SkinMessageBox.h>

#include "GlobalAttemper.h"
#include "GlobalOption.h"
#include "GlobalUnits.h"

#include <string.h>

namespace
{
// The hall's own record in the version records.
const DWORD HALL_VERSION_ID = 1;
} // namespace

CString CHallFileUpdateHost::GetWorkDirectory()
{
    return g_GlobalUnits.GetWorkDirectory();
}

CString CHallFileUpdateHost::GetResourceDirectory()
{
    return g_GlobalUnits.GetResourceDirectory();
}

CString CHallFileUpdateHost::GetConfigDirectory()
{
    return g_GlobalOption.GetConfigDirectory();
}

CString CHallFileUpdateHost::GetDownloadUrl()
{
    return g_GlobalOption.GetDownloadUrl();
}

bool CHallFileUpdateHost::GetHallDownloadInfo(tagHallDownloadInfo& info)
{
    const tagGameVersionInfo* pRecord = g_GlobalOption.FindGameVersionInfo(HALL_VERSION_ID);
    if (pRecord == NULL)
        return false;
    static_assert(sizeof(info.szDownloadUrl) == sizeof(pRecord->szDownloadUrls), "address lists differ");
    static_assert(sizeof(info.szUpdateUrl) == sizeof(pRecord->szUpdateUrls), "address lists differ");
    static_assert(sizeof(info.szName) == sizeof(pRecord->szName), "names differ");
    info.dwVersion = pRecord->dwVersion;
    info.dwUpdateVersion = pRecord->dwUpdateVersion;
    memcpy(info.szName, pRecord->szName, sizeof(info.szName));
    memcpy(info.szDownloadUrl, pRecord->szDownloadUrls, sizeof(info.szDownloadUrl));
    memcpy(info.szUpdateUrl, pRecord->szUpdateUrls, sizeof(info.szUpdateUrl));
    // The record's texts come from a downloaded file: keep them ended.
    info.szName[sizeof(info.szName) - 1] = '\0';
    for (int i = 0; i < HALL_URL_COUNT; i++) {
        info.szDownloadUrl[i][HALL_URL_SIZE - 1] = '\0';
        info.szUpdateUrl[i][HALL_URL_SIZE - 1] = '\0';
    }
    return true;
}

void CHallFileUpdateHost::ReadHallDownloadInfo(std::istream& stream)
{
    g_GlobalOption.ReadHallDownloadInfo(stream);
}

void CHallFileUpdateHost::SetBulletinList(const CArray<tagBulletinItem, const tagBulletinItem&>& items)
{
    g_GlobalOption.GetBulletinItems().Copy(items);
}

bool CHallFileUpdateHost::StartDownLoad(LPCSTR pszName, BYTE cbFlag, const CHAR (*ppszUrls)[HALL_URL_SIZE],
                                        DWORD dwHallVersion)
{
    static_assert(HALL_URL_COUNT == 10 && HALL_URL_SIZE == 260, "the attemper takes ten addresses of 260");
    return g_GlobalAttemper.StartDownLoad(pszName, 0, cbFlag, ppszUrls, dwHallVersion);
}

int CHallFileUpdateHost::ShowMessageBox(HWND hOwner, LPCSTR pszText, LPCSTR pszCaption, UINT nType)
{
    return SkinMessageBox(hOwner, pszText, pszCaption, nType);
}
