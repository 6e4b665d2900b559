#include "DownLoadService.h"

#include <process.h>
#include <stdio.h>
#include <string.h>
#include <wininet.h>

#include "PathName.h"
#include "TextUnit.h"

DWORD CDownLoadService::s_dwTimeout = 15000;
DWORD CDownLoadService::s_dwProgressInterval = 200;

namespace
{

const char kFailed[] = "fails";

class CLockHolder
{
public:
    explicit CLockHolder(CRITICAL_SECTION* lock) : m_pLock(lock) { EnterCriticalSection(m_pLock); }
    ~CLockHolder() { LeaveCriticalSection(m_pLock); }

private:
    CRITICAL_SECTION* m_pLock;
};

DWORD ToKB(ULONGLONG bytes)
{
    ULONGLONG kb = (bytes + 1023) / 1024;
    return kb > 0x7FFFFFFF ? 0x7FFFFFFF : (DWORD)kb;
}

} // namespace

CDownLoadService::CDownLoadService() : m_lReportsInFlight(0), m_hNotifyWnd(NULL), m_wNextID(1)
{
    InitializeCriticalSection(&m_Lock);
}

CDownLoadService::~CDownLoadService()
{
    SetNotifyWindow(NULL);
    CancelAllMissions();
    std::vector<Mission*> missions;
    {
        CLockHolder lock(&m_Lock);
        missions.swap(m_Missions);
    }
    for (Mission* mission : missions) {
        WaitPumpingSent(mission->hThread);
        CloseHandle(mission->hThread);
        delete mission;
    }
    DeleteCriticalSection(&m_Lock);
}

HRESULT CDownLoadService::QueryInterface(REFGUID iid, void** out)
{
    if (out == NULL)
        return E_POINTER;
    if (IsEqualGUID(iid, IID_IDownLoadService) || IsEqualGUID(iid, IID_IUnknownEx)) {
        return Answer(static_cast<IDownLoadService*>(this), out);
    }
    *out = NULL;
    return E_NOINTERFACE;
}

void CDownLoadService::SetNotifyWindow(HWND hWnd)
{
    CLockHolder lock(&m_Lock);
    m_hNotifyWnd = hWnd;
}

// A worker may be inside SendMessage to a window of this thread: while
// waiting for it, answer sent messages so neither waits for the other.
void CDownLoadService::WaitPumpingSent(HANDLE thread)
{
    for (;;) {
        DWORD result = MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_SENDMESSAGE);
        if (result != WAIT_OBJECT_0 + 1)
            return;
        MSG msg;
        PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

void CDownLoadService::ReapFinished()
{
    std::vector<Mission*> finished;
    {
        CLockHolder lock(&m_Lock);
        for (size_t i = 0; i < m_Missions.size();) {
            if (m_Missions[i]->bFinished) {
                finished.push_back(m_Missions[i]);
                m_Missions.erase(m_Missions.begin() + i);
            } else {
                ++i;
            }
        }
    }
    for (Mission* mission : finished) {
        WaitPumpingSent(mission->hThread);
        CloseHandle(mission->hThread);
        delete mission;
    }
}

WORD CDownLoadService::AddMission(BYTE kind, const tagDownLoadTask* task)
{
    if (task == NULL || (kind != DOWNLOAD_KIND_GAME && kind != DOWNLOAD_KIND_HALL) || task->szUrls[0][0] == '\0')
        return 0;
    ReapFinished();

    Mission* mission = new Mission();
    mission->pService = this;
    mission->cbKind = kind;
    mission->task = *task;
    mission->task.szName[sizeof(mission->task.szName) - 1] = '\0';
    mission->task.szFolder[sizeof(mission->task.szFolder) - 1] = '\0';
    for (auto& url : mission->task.szUrls)
        url[sizeof(url) - 1] = '\0';
    mission->lCancel = 0;
    mission->bFinished = false;
    {
        CLockHolder lock(&m_Lock);
        mission->wID = m_wNextID++;
        if (m_wNextID == 0)
            m_wNextID = 1;
        // Suspended until it is in the list, so a cancel can always find it.
        mission->hThread =
            (HANDLE)_beginthreadex(NULL, 0, &CDownLoadService::MissionThread, mission, CREATE_SUSPENDED, NULL);
        if (mission->hThread == NULL) {
            delete mission;
            return 0;
        }
        m_Missions.push_back(mission);
    }
    ResumeThread(mission->hThread);
    return mission->wID;
}

bool CDownLoadService::CancelMission(WORD missionId)
{
    CLockHolder lock(&m_Lock);
    for (Mission* mission : m_Missions) {
        if (mission->wID == missionId && !mission->bFinished) {
            InterlockedExchange(&mission->lCancel, 1);
            return true;
        }
    }
    return false;
}

void CDownLoadService::CancelAllMissions()
{
    CLockHolder lock(&m_Lock);
    for (Mission* mission : m_Missions)
        InterlockedExchange(&mission->lCancel, 1);
}

unsigned __stdcall CDownLoadService::MissionThread(void* param)
{
    Mission* mission = static_cast<Mission*>(param);
    mission->pService->RunMission(mission);
    return 0;
}

void CDownLoadService::Notify(WORD sub, void* record)
{
    HWND hWnd;
    {
        CLockHolder lock(&m_Lock);
        hWnd = m_hNotifyWnd;
    }
    if (hWnd == NULL || !IsWindow(hWnd))
        return;
    tagDownLoadHead head = {0, 1, sub};
    // Sent, not posted: the records live on this thread's stack.
    InterlockedIncrement(&m_lReportsInFlight);
    SendMessageA(hWnd, WM_DOWNLOAD_NOTIFY, (WPARAM)&head, (LPARAM)record);
    InterlockedDecrement(&m_lReportsInFlight);
}

void CDownLoadService::Progress(Mission* mission, DWORD receivedKB, DWORD totalKB)
{
    HWND hWnd;
    {
        CLockHolder lock(&m_Lock);
        hWnd = m_hNotifyWnd;
    }
    if (hWnd == NULL || !IsWindow(hWnd))
        return;
    tagDownLoadProgress progress = {mission->wID, 0, (LONG)receivedKB, (LONG)totalKB};
    InterlockedIncrement(&m_lReportsInFlight);
    SendMessageA(hWnd, WM_DOWNLOAD_PROGRESS, 0, (LPARAM)&progress);
    InterlockedDecrement(&m_lReportsInFlight);
}

CString CDownLoadService::PackageName(LPCSTR url, WORD missionId)
{
    CString text(url != NULL ? url : "");
    int cut = text.FindOneOf("?#");
    if (cut >= 0)
        text = text.Left(cut);
    int slash = text.ReverseFind('/');
    CString name = slash >= 0 ? text.Mid(slash + 1) : CString();
    // '%' may hide an escaped separator.
    bool plain = name.GetLength() < 100 && name.Find('%') < 0 && IsPlainPathName(name);
    if (!plain) {
        name.Format("%u.pkg", (unsigned)missionId);
    }
    return name;
}

bool CDownLoadService::FetchOne(Mission* mission, LPCSTR url, CString& path, DWORD& receivedKB, DWORD& totalKB)
{
    receivedKB = 0;
    totalKB = 0;
    HINTERNET session = InternetOpenA("Tavrel", INTERNET_OPEN_TYPE_PRECONFIG, NULL, NULL, 0);
    if (session == NULL)
        return false;
    DWORD timeout = s_dwTimeout;
    InternetSetOptionA(session, INTERNET_OPTION_CONNECT_TIMEOUT, &timeout, sizeof(timeout));
    InternetSetOptionA(session, INTERNET_OPTION_RECEIVE_TIMEOUT, &timeout, sizeof(timeout));

    bool ok = false;
    HINTERNET request = InternetOpenUrlA(session, url, NULL, 0,
                                         INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_NO_UI, 0);
    if (request != NULL) {
        DWORD status = 0;
        DWORD size = sizeof(status);
        HttpQueryInfoA(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, NULL);
        char lengthText[32] = "";
        size = sizeof(lengthText);
        ULONGLONG announced = 0;
        if (HttpQueryInfoA(request, HTTP_QUERY_CONTENT_LENGTH, lengthText, &size, NULL))
            announced = _strtoui64(lengthText, NULL, 10);
        totalKB = ToKB(announced);

        if (status == 200) {
            CString folder(mission->task.szFolder);
            CreateDirectoryA(folder, NULL);
            path = folder;
            if (path.Right(1) != "\\")
                path += "\\";
            path += PackageName(url, mission->wID);
            CString part = path + ".part";
            // The finished path goes back in a field of MAX_PATH bytes.
            FILE* file = part.GetLength() < MAX_PATH ? fopen(part, "wb") : NULL;
            if (file != NULL) {
                char buffer[16384];
                ULONGLONG received = 0;
                const ULONGLONG room = DiskRoom();
                DWORD lastReport = GetTickCount();
                bool failed = false;
                for (;;) {
                    if (mission->lCancel) {
                        failed = true;
                        break;
                    }
                    DWORD got = 0;
                    if (!InternetReadFile(request, buffer, sizeof(buffer), &got)) {
                        failed = true;
                        break;
                    }
                    if (got == 0)
                        break;
                    // A full disk takes what fits, then refuses.
                    const DWORD fits = room - received < got ? DWORD(room - received) : got;
                    if (fwrite(buffer, 1, fits, file) != fits || fits != got) {
                        SetLastError(ERROR_DISK_FULL);
                        failed = true;
                        break;
                    }
                    received += got;
                    receivedKB = ToKB(received);
                    if (GetTickCount() - lastReport >= s_dwProgressInterval) {
                        lastReport = GetTickCount();
                        Progress(mission, receivedKB, totalKB);
                    }
                }
                failed = (fclose(file) != 0) || failed;
                // A body cut short is no package.
                if (!failed && announced != 0 && received != announced)
                    failed = true;
                if (!failed && announced == 0)
                    totalKB = receivedKB;
                ok = !failed && MoveFileExA(part, path, MOVEFILE_REPLACE_EXISTING);
                if (!ok)
                    DeleteFileA(part);
            }
        }
        InternetCloseHandle(request);
    }
    InternetCloseHandle(session);
    return ok;
}

ULONGLONG CDownLoadService::DiskRoom()
{
    char text[32] = "";
    DWORD n = GetEnvironmentVariableA("TAVREL_DOWNLOAD_DISK_ROOM", text, sizeof(text));
    if (n == 0 || n >= sizeof(text))
        return ~0ull;
    char* end = NULL;
    const ULONGLONG room = _strtoui64(text, &end, 10);
    return end == text || *end != '\0' ? ~0ull : room;
}

void CDownLoadService::RunMission(Mission* mission)
{
    tagDownLoadAnnounce announce;
    memset(&announce, 0, sizeof(announce));
    announce.wMissionID = mission->wID;
    TextCopyField(announce.szName, sizeof(announce.szName), mission->task.szName, sizeof(mission->task.szName));
    Notify(DOWNLOAD_SUB_ANNOUNCED, &announce);

    tagDownLoadDone done;
    memset(&done, 0, sizeof(done));
    done.wMissionID = mission->wID;
    TextCopyField(done.szResult, kFailed);

    for (const auto& url : mission->task.szUrls) {
        if (url[0] == '\0' || mission->lCancel)
            break;
        CString path;
        DWORD receivedKB = 0, totalKB = 0;
        if (FetchOne(mission, url, path, receivedKB, totalKB)) {
            Progress(mission, receivedKB, totalKB);
            done.dwReceived = receivedKB;
            done.dwTotal = totalKB;
            // The path is checked to fit before the download starts.
            if (!TextCopyPath(done.szResult, path))
                TextCopyField(done.szResult, kFailed);
            break;
        }
        tagDownLoadProgress failure = {mission->wID, 0, (LONG)receivedKB, (LONG)totalKB};
        Notify(DOWNLOAD_SUB_FAILED, &failure);
    }

    bool succeeded = strcmp(done.szResult, kFailed) != 0;
    Notify(DOWNLOAD_SUB_DONE, &done);
    if (succeeded && mission->cbKind == DOWNLOAD_KIND_HALL)
        Notify(DOWNLOAD_SUB_HALL_READY, &done);

    CLockHolder lock(&m_Lock);
    mission->bFinished = true;
}
