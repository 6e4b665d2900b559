// The configuration updater: keeps the hall's downloadable configuration up
// to date. Each download runs as a task on a worker thread of its own and
// reports to the window that asked with WM_UPDATE_FINISHED (WM_USER+102) or
// WM_UPDATE_FAILED (WM_USER+101), wParam the caller's kind; that window then
// applies the file on the interface thread, mostly through this class
// (unpacking, bulletin). It also decides whether the hall itself must be
// updated.
//
// Interface thread only, apart from the tasks' workers.
#pragma once

#include <afxtempl.h>
#include <afxwin.h>

#include "FileUpdateHost.h"
#include "UpdateTask.h"

class CFileInfo;
class CFileInMem;

// Kinds the callers pass (wParam of the reports).
enum
{
    UPDATE_KIND_FILE = 0,           // plain downloads, "Update.zip" of the logon dialog
    UPDATE_KIND_BULLETIN = 2,       // the frame reloads the bulletin
    UPDATE_KIND_DYNAMIC_CONFIG = 3, // "DynaItemCfg.zip"
    UPDATE_KIND_COMPETITION = 4,    // competition entry archive (full path)
    UPDATE_KIND_WORD_FILTER = 5,    // chat word-filter list (full path)
    UPDATE_KIND_HALL_VERSION = 6    // "Update.zip" into memory
};

// Answers of CheckHallUpdate.
enum
{
    HALL_UPDATE_STARTED = 0, // the hall's download has started
    HALL_UPDATE_REFUSED = 1, // a mandatory update was refused
    HALL_UPDATE_NONE = 2,    // nothing to do, or an optional update refused
    HALL_UPDATE_NO_OWNER = 3 // an update is there but no window to ask over
};

class CFileUpdate
{
public:
    // An empty task list, cleared flags and no in-memory task. Without a host
    // of its own the updater uses the process's (SetDefaultHost).
    CFileUpdate();
    explicit CFileUpdate(IFileUpdateHost* pHost);
    // Detaches the windows, stops every task (waiting a bounded time) and
    // deletes them.
    virtual ~CFileUpdate();

    // The host of updaters made without one; set once by the hall at start-up.
    static void SetDefaultHost(IFileUpdateHost* pHost);

    // Fetches pszUrl into pszLocalPath (kind 0). False when the task cannot
    // be made or started, or a text does not fit its field.
    bool DownloadFile(LPCSTR pszUrl, LPCSTR pszLocalPath, CWnd* pNotifyWnd);
    // Fetches url into the dynamic folder under localFile, or, for kinds 4
    // and 5, into the full path localFile. Every "<version>" in the URL
    // becomes the [Public] version of the local file of that name.
    bool UpdateFile(LPCSTR url, LPCSTR localFile, CWnd* pNotifyWnd, int kind);
    // Replaces the in-memory task by one fetching the archive at url.
    bool DownloadZipToMemory(LPCSTR url, CWnd* pNotifyWnd, int kind);
    // No task reports after this (frame closing).
    void DetachNotifyWindow();

    // Unpacks every entry but "Thumbs.db" into the archive's own folder.
    // False when an entry was refused (its name would leave the folder) or
    // the unpacking broke off; what was unpacked before stays.
    bool ExtractZipFile(LPCSTR pszPath);
    // Replaces the options store's bulletin list by "Bulletin.xml" of the
    // dynamic folder; a file that cannot be read leaves the list as it is.
    void LoadBulletin();
    // The hall version check, HALL_UPDATE_*.
    int CheckHallUpdate();

    // Fetch what "DynaItemCfg.ini" names when its version is above the
    // installed one; true when the downloads started.
    // nListKind: 0 "ServerList.ini", 1 "ServiceServerList.ini", 2 "Urls.ini".
    bool UpdateConfigFile(DWORD dwInstalledVersion, int nListKind, CWnd* pNotifyWnd);
    // nBannerKind: 0 the logon banner, 1 the close banner.
    bool UpdateAdBanner(DWORD dwInstalledVersion, int nBannerKind, CWnd* pNotifyWnd);
    bool UpdateCompetitionEntry(DWORD dwInstalledVersion, CWnd* pNotifyWnd);

    // [Public] "version" of that file in the dynamic folder ("Update.ini"
    // without a name); 0 when absent.
    int ReadPublicVersion(LPCSTR pszName = NULL);
    // The dynamic folder, created when missing, followed by the name.
    CString GetDynamicFilePath(LPCSTR pszName);

    bool IsTaskStarted() const { return m_bTaskStarted; }
    // Listed file tasks; finished ones are reaped when the next one starts.
    int GetTaskCount() const { return (int)m_TaskList.GetSize(); }
    // Waits up to dwTimeout ms for the workers of the listed file tasks to end.
    bool WaitTasksEnded(DWORD dwTimeout) const;

    // The file name a server-given path ends with (after its last "/" or
    // "\", without a query); false when that is no plain file name.
    static bool ReduceToFileName(LPCSTR pszText, CString& strName);
    // "#RRGGBB" or "RRGGBB" as a colour; anything else is black.
    static COLORREF ParseBulletinColor(LPCSTR pszText);
    // The update addresses first when the installed a.b.c equals the update
    // version's, then the full addresses; at most HALL_URL_COUNT, the rest
    // of the list empty.
    static void BuildHallUrlList(const tagHallDownloadInfo& info, DWORD dwInstalledVersion,
                                 CHAR (&szUrls)[HALL_URL_COUNT][HALL_URL_SIZE]);

private:
    CFileUpdate(const CFileUpdate&) = delete;
    CFileUpdate& operator=(const CFileUpdate&) = delete;

    IFileUpdateHost* Host() const;
    bool StartFileTask(LPCSTR pszUrl, LPCSTR pszLocalPath, LPCSTR pszTempPath, HWND hNotifyWnd, DWORD dwKind,
                       DWORD dwVersion);
    void ReapFinishedTasks();
    CString GetDynaItemCfgPath() const;
    bool ReadHallDownloadFile(tagHallDownloadInfo& info);
    DWORD ReadInstalledHallVersion();

    CArray<CFileInfo*, CFileInfo*> m_TaskList;
    HWND m_hOwnerWnd; // parent of the hall-update prompts
    CFileInMem* m_pFileInMem;
    IFileUpdateHost* m_pHost;
    bool m_bTaskStarted;

    static IFileUpdateHost* s_pDefaultHost;
};
