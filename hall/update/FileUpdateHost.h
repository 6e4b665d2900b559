// What the configuration updater takes from the hall around it: the folders
// of the global units, the options store's addresses, version record and
// bulletin list, the download holder and the skinned prompt.
//
// Everything is called on the user-interface thread except
// ReadHallDownloadInfo, which the in-memory task calls on its worker.
#pragma once

#include <afxwin.h>
#include <afxtempl.h>

#include <istream>

#include "BulletinItem.h"

const int HALL_URL_COUNT = 10;
const int HALL_URL_SIZE = 260;

// The hall's version record (id 1 of the options store), as far as the
// version check reads it. Each address list ends at its first empty entry.
struct tagHallDownloadInfo
{
    DWORD dwVersion;
    DWORD dwUpdateVersion; // the installed version the update addresses apply to
    CHAR szName[260];
    CHAR szDownloadUrl[HALL_URL_COUNT][HALL_URL_SIZE];
    CHAR szUpdateUrl[HALL_URL_COUNT][HALL_URL_SIZE];
};

class IFileUpdateHost
{
public:
    virtual ~IFileUpdateHost() {}

    // Global units: the program folder and the resource folder, each ending
    // with a separator.
    virtual CString GetWorkDirectory() = 0;
    virtual CString GetResourceDirectory() = 0;

    // Options store: the program folder followed by "\config"; the base
    // address the server paths of the configuration files are appended to.
    virtual CString GetConfigDirectory() = 0;
    virtual CString GetDownloadUrl() = 0;
    // The hall's version record; false when there is none.
    virtual bool GetHallDownloadInfo(tagHallDownloadInfo& info) = 0;
    // Parses an "Update.ini" text into the version records (and saves it).
    // Called on the in-memory task's worker thread.
    virtual void ReadHallDownloadInfo(std::istream& stream) = 0;
    // Replaces the bulletin list.
    virtual void SetBulletinList(const CArray<tagBulletinItem, const tagBulletinItem&>& items) = 0;

    // Global attemper: starts a download mission for the hall's own update
    // (ppszUrls: HALL_URL_COUNT addresses, ended by an empty one).
    virtual bool StartDownLoad(LPCSTR pszName, BYTE cbFlag, const CHAR (*ppszUrls)[HALL_URL_SIZE],
                               DWORD dwHallVersion) = 0;

    // The skin library's message box over hOwner; answers the button (IDYES ...).
    virtual int ShowMessageBox(HWND hOwner, LPCSTR pszText, LPCSTR pszCaption, UINT nType) = 0;
};
