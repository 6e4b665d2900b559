// The configuration updater's host in the hall: folders from the global
// units, addresses, version records and bulletin from the options store,
// the hall's own download through the global attemper, and the skinned
// message box. The hall installs one as the updaters' default host.
#pragma once

#include "update/FileUpdateHost.h"

class CHallFileUpdateHost : public IFileUpdateHost
{
public:
    CString GetWorkDirectory() override;
    CString GetResourceDirectory() override;
    CString GetConfigDirectory() override;
    CString GetDownloadUrl() override;
    bool GetHallDownloadInfo(tagHallDownloadInfo& info) override;
    void ReadHallDownloadInfo(std::istream& stream) override;
    void SetBulletinList(const CArray<tagBulletinItem, const tagBulletinItem&>& items) override;
    bool StartDownLoad(LPCSTR pszName, BYTE cbFlag, const CHAR (*ppszUrls)[HALL_URL_SIZE],
                       DWORD dwHallVersion) override;
    int ShowMessageBox(HWND hOwner, LPCSTR pszText, LPCSTR pszCaption, UINT nType) override;
};
