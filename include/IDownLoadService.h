// The download service, Download.dll: downloads game and hall packages into
// the program's download folder and reports to one registered window.
#pragma once

#include <stddef.h>

#include "IUnknownEx.h"
#include "ModuleHelper.h"

TAVREL_GUID(CLSID_DownLoadService, "E963DDC9-E62F-4601-A038-1DB9F333F82E");
TAVREL_GUID(IID_IDownLoadService, "7EB6D161-961C-4919-8298-FC5F04E8A0AE");

// Kinds of mission.
enum
{
    DOWNLOAD_KIND_GAME = 1,
    DOWNLOAD_KIND_HALL = 2
};

#pragma pack(push, 1)
// The mission handed to the service.
struct tagDownLoadTask
{
    BYTE cbFlag;
    char szName[128];
    char szFolder[260];   // where the package goes
    char szUrls[10][260]; // tried in order up to the first empty one
};
#pragma pack(pop)
static_assert(sizeof(tagDownLoadTask) == 2989, "download task layout");
static_assert(offsetof(tagDownLoadTask, szFolder) == 129, "download task layout");
static_assert(offsetof(tagDownLoadTask, szUrls) == 389, "download task layout");

// Reports to the registered window, sent from the service's own threads.
// WM_DOWNLOAD_NOTIFY: wParam -> tagDownLoadHead (main 1, sub below),
// lParam -> the sub's record; WM_DOWNLOAD_PROGRESS: lParam -> tagDownLoadProgress.
#define WM_DOWNLOAD_NOTIFY (WM_USER + 456)
#define WM_DOWNLOAD_PROGRESS (WM_USER + 457)

enum
{
    DOWNLOAD_SUB_ANNOUNCED = 1, // tagDownLoadAnnounce
    DOWNLOAD_SUB_DONE = 2,      // tagDownLoadDone
    DOWNLOAD_SUB_PROGRESS = 3,  // tagDownLoadProgress
    DOWNLOAD_SUB_FAILED = 4,    // tagDownLoadProgress: one address failed
    DOWNLOAD_SUB_HALL_READY = 5 // tagDownLoadDone: the hall's own package arrived
};

struct tagDownLoadHead
{
    DWORD dwSerial;
    WORD wMain;
    WORD wSub;
};
static_assert(sizeof(tagDownLoadHead) == 8, "download head layout");

struct tagDownLoadAnnounce
{
    WORD wMissionID;
    WORD wReserved;
    DWORD dwReceived; // KB
    DWORD dwTotal;    // KB, 0 when not known yet
    char szName[128];
};
static_assert(offsetof(tagDownLoadAnnounce, szName) == 12, "announce layout");

struct tagDownLoadProgress
{
    WORD wMissionID;
    WORD wReserved;
    LONG lReceived; // KB
    LONG lTotal;    // KB
};
static_assert(sizeof(tagDownLoadProgress) == 12, "progress layout");

struct tagDownLoadDone
{
    WORD wMissionID;
    WORD wReserved;
    DWORD dwReceived;
    DWORD dwTotal;
    char szResult[260]; // the package's path, or "fails"
};
static_assert(offsetof(tagDownLoadDone, szResult) == 12, "done layout");

// Two unused slots keep each operation at its place in the table
// (SetNotifyWindow 5, AddMission 6).
struct IDownLoadService : IUnknownEx
{
    virtual void ReservedSlot3() = 0;
    virtual void ReservedSlot4() = 0;
    // The window that hears the reports; null stops them.
    virtual void SetNotifyWindow(HWND hWnd) = 0;
    // Starts a mission of kind DOWNLOAD_KIND_*; its id, or 0 when refused.
    virtual WORD AddMission(BYTE kind, const tagDownLoadTask* task) = 0;
    virtual bool CancelMission(WORD missionId) = 0;
    virtual void CancelAllMissions() = 0;
};

class CDownLoadServiceHelper : public CModuleHelper<IDownLoadService>
{
public:
    CDownLoadServiceHelper()
        : CModuleHelper<IDownLoadService>(CLSID_DownLoadService, IID_IDownLoadService, "Download.dll",
                                          "DllGetClassObject")
    {}
};
