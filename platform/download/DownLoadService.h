// The download service of Download.dll: one worker thread per mission, which
// fetches the first address that answers into the mission's folder and
// reports to the registered window.
#pragma once

#include "IDownLoadService.h"
#include "RefCounted.h"

#include <afx.h>

#include <vector>

class CDownLoadService : public CRefCounted<IDownLoadService>
{
public:
    // Waits and bounds of the workers; tests shorten them.
    static DWORD s_dwTimeout;          // connect and receive, ms
    static DWORD s_dwProgressInterval; // least time between two progress reports, ms
    // The room left on the disk a package goes to, in bytes, bounded only
    // when TAVREL_DOWNLOAD_DISK_ROOM names it in decimal (read as each
    // file is fetched): past it a write fails as on a full disk. Tests set
    // it, in this process or in a hall they start.
    static ULONGLONG DiskRoom();

    CDownLoadService();
    virtual ~CDownLoadService();

    HRESULT QueryInterface(REFGUID iid, void** out) override;

    void ReservedSlot3() override {}
    void ReservedSlot4() override {}
    void SetNotifyWindow(HWND hWnd) override;
    WORD AddMission(BYTE kind, const tagDownLoadTask* task) override;
    bool CancelMission(WORD missionId) override;
    void CancelAllMissions() override;

    // The file name a package gets from its address: the last piece of the
    // path without query, or "<mission id>.pkg" when that is no plain name.
    static CString PackageName(LPCSTR url, WORD missionId);

    // Reports workers are sending to the notify window and waiting on now.
    LONG GetReportsInFlight() const { return InterlockedCompareExchange(&m_lReportsInFlight, 0, 0); }

private:
    struct Mission
    {
        CDownLoadService* pService;
        WORD wID;
        BYTE cbKind;
        tagDownLoadTask task;
        HANDLE hThread;
        volatile LONG lCancel;
        bool bFinished;
    };

    static unsigned __stdcall MissionThread(void* param);
    void RunMission(Mission* mission);
    bool FetchOne(Mission* mission, LPCSTR url, CString& path, DWORD& receivedKB, DWORD& totalKB);
    void Notify(WORD sub, void* record);
    void Progress(Mission* mission, DWORD receivedKB, DWORD totalKB);
    void ReapFinished();
    static void WaitPumpingSent(HANDLE thread);

    mutable volatile LONG m_lReportsInFlight;
    CRITICAL_SECTION m_Lock;
    HWND m_hNotifyWnd;
    WORD m_wNextID;
    std::vector<Mission*> m_Missions;
};
