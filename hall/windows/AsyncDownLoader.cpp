#include "AsyncDownLoader.h"

#include "HttpContentLength.h"
#include "HttpTuning.h"

#include <process.h>
#include <string.h>

#include <new>
#include <vector>

namespace
{
const UINT kBlockSize = 4096;
} // namespace

CAsyncDownLoader g_AsyncDownLoader;

CAsyncDownLoader::tagDownTask::tagDownTask()
    : dwId(0), dwUserData(0), hWndReport(NULL), uMessage(0), hThread(NULL), lStop(0), pOwner(NULL), pSession(NULL),
      pConnection(NULL), pFile(NULL)
{
    memset(szUrl, 0, sizeof(szUrl));
    memset(szHeaders, 0, sizeof(szHeaders));
}

CAsyncDownLoader::tagDownTask::~tagDownTask()
{
    CloseRequest(this);
    delete pSession;
}

CAsyncDownLoader::CAsyncDownLoader() : m_dwIdCounter(0) {}

CAsyncDownLoader::~CAsyncDownLoader()
{
    // Own duplicates of the thread handles: a worker closes its handle when
    // it removes its task, which may happen while this waits.
    std::vector<HANDLE> threads;
    m_lock.Lock();
    for (auto& entry : m_tasks) {
        tagDownTask* pTask = entry.second;
        InterlockedExchange(&pTask->lStop, 1);
        HANDLE hThread = NULL;
        if (DuplicateHandle(GetCurrentProcess(), pTask->hThread, GetCurrentProcess(), &hThread, SYNCHRONIZE, FALSE, 0))
            threads.push_back(hThread);
    }
    m_lock.Unlock();

    // A worker may be sending a report to a window of this very thread, so
    // sent messages are answered while waiting; posted ones stay queued.
    while (!threads.empty()) {
        MSG msg;
        PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        DWORD nCount = (DWORD)(threads.size() < MAXIMUM_WAIT_OBJECTS - 1 ? threads.size() : MAXIMUM_WAIT_OBJECTS - 1);
        DWORD dwWait = MsgWaitForMultipleObjects(nCount, threads.data(), FALSE, INFINITE, QS_SENDMESSAGE);
        if (dwWait < WAIT_OBJECT_0 + nCount) {
            CloseHandle(threads[dwWait - WAIT_OBJECT_0]);
            threads.erase(threads.begin() + (dwWait - WAIT_OBJECT_0));
        } else if (dwWait != WAIT_OBJECT_0 + nCount) {
            break;
        }
    }
    for (HANDLE hThread : threads)
        CloseHandle(hThread);

    m_lock.Lock();
    for (auto& entry : m_tasks) {
        CloseHandle(entry.second->hThread);
        delete entry.second;
    }
    m_tasks.clear();
    m_lock.Unlock();
}

DWORD CAsyncDownLoader::AddTask(DWORD dwUserData, LPCTSTR pszUrl, LPCTSTR pszHeaders, HWND hWndReport, UINT uMessage)
{
    if (pszUrl == NULL || pszUrl[0] == '\0')
        return 0;
    // A cut URL or header text would ask for something else; refuse it.
    size_t nUrl = strlen(pszUrl);
    size_t nHeaders = pszHeaders != NULL ? strlen(pszHeaders) : 0;
    if (nUrl >= ASYNC_DOWN_URL_SIZE || nHeaders >= ASYNC_DOWN_HEADER_SIZE)
        return 0;

    tagDownTask* pTask = new tagDownTask;
    memcpy(pTask->szUrl, pszUrl, nUrl + 1);
    if (pszHeaders != NULL)
        memcpy(pTask->szHeaders, pszHeaders, nHeaders + 1);
    pTask->dwUserData = dwUserData;
    pTask->hWndReport = hWndReport;
    pTask->uMessage = uMessage;
    pTask->pOwner = this;
    try {
        pTask->pSession = new CInternetSession(NULL, 1, PRE_CONFIG_INTERNET_ACCESS);
    } catch (CException* pException) {
        pException->Delete();
        delete pTask;
        return 0;
    }

    pTask->hThread = (HANDLE)_beginthreadex(NULL, 0, WorkerThread, pTask, CREATE_SUSPENDED, NULL);
    if (pTask->hThread == NULL) {
        delete pTask;
        return 0;
    }

    m_lock.Lock();
    DWORD dwId = NextTaskId();
    pTask->dwId = dwId;
    m_tasks[dwId] = pTask;
    m_lock.Unlock();
    ResumeThread(pTask->hThread);
    return dwId;
}

DWORD CAsyncDownLoader::NextTaskId()
{
    m_lock.Lock();
    do {
        ++m_dwIdCounter;
    } while (m_dwIdCounter == 0 || m_tasks.find(m_dwIdCounter) != m_tasks.end());
    DWORD dwId = m_dwIdCounter;
    m_lock.Unlock();
    return dwId;
}

BOOL CAsyncDownLoader::RemoveTask(DWORD dwTaskId)
{
    m_lock.Lock();
    auto it = m_tasks.find(dwTaskId);
    if (it == m_tasks.end()) {
        m_lock.Unlock();
        return FALSE;
    }
    tagDownTask* pTask = it->second;
    m_tasks.erase(it);
    CloseHandle(pTask->hThread);
    delete pTask;
    m_lock.Unlock();
    return TRUE;
}

unsigned __stdcall CAsyncDownLoader::WorkerThread(void* pParam)
{
    RunTask(static_cast<tagDownTask*>(pParam));
    return 0;
}

void CAsyncDownLoader::RunTask(tagDownTask* pTask)
{
    DWORD dwCode;
    LPARAM lParam = 0;
    try {
        const DWORD dwTimeout = g_HttpTuning.dwAsyncTimeout;
        pTask->pSession->SetOption(INTERNET_OPTION_CONNECT_RETRIES, (DWORD)3);
        pTask->pSession->SetOption(INTERNET_OPTION_CONNECT_TIMEOUT, dwTimeout);
        pTask->pSession->SetOption(INTERNET_OPTION_RECEIVE_TIMEOUT, dwTimeout);
        pTask->pSession->SetOption(INTERNET_OPTION_DATA_RECEIVE_TIMEOUT, dwTimeout);
        dwCode = Download(pTask, lParam);
    } catch (CException* pException) {
        pException->Delete();
        dwCode = pTask->lStop ? ASYNC_DOWN_STOPPED : ASYNC_DOWN_FAILED;
        lParam = 0;
    } catch (const std::bad_alloc&) {
        dwCode = ASYNC_DOWN_FAILED;
        lParam = 0;
    }
    if (dwCode != 0)
        Report(pTask, dwCode, lParam);

    CloseRequest(pTask);
    pTask->pOwner->RemoveTask(pTask->dwId);
}

// Runs the request with its redirects. Gives the code of the last report
// still to send (with its lParam), or 0 when the finished report was sent here.
DWORD CAsyncDownLoader::Download(tagDownTask* pTask, LPARAM& lParam)
{
    lParam = 0;
    for (int nRedirects = 0;; ++nRedirects) {
        DWORD dwServiceType;
        CString strServer, strObject;
        INTERNET_PORT nPort;
        if (!AfxParseURL(pTask->szUrl, dwServiceType, strServer, strObject, nPort) ||
            dwServiceType != AFX_INET_SERVICE_HTTP)
            return ASYNC_DOWN_FAILED;

        pTask->pConnection = pTask->pSession->GetHttpConnection(strServer, nPort);
        pTask->pFile = pTask->pConnection->OpenRequest(CHttpConnection::HTTP_VERB_GET, strObject, NULL, 1, NULL, NULL,
                                                       INTERNET_FLAG_EXISTING_CONNECT | INTERNET_FLAG_NO_CACHE_WRITE |
                                                           INTERNET_FLAG_NO_AUTO_REDIRECT);
        pTask->pFile->SendRequest(pTask->szHeaders[0] != '\0' ? pTask->szHeaders : NULL,
                                  (DWORD)strlen(pTask->szHeaders));

        DWORD dwStatus = 0;
        pTask->pFile->QueryInfoStatusCode(dwStatus);
        if (dwStatus == 301 || dwStatus == 302 || dwStatus == 303) {
            CString strLocation;
            if (nRedirects >= g_HttpTuning.nMaxRedirects ||
                !pTask->pFile->QueryInfo(HTTP_QUERY_LOCATION, strLocation) ||
                strLocation.GetLength() >= ASYNC_DOWN_URL_SIZE)
                return ASYNC_DOWN_FAILED;
            memcpy(pTask->szUrl, (LPCSTR)strLocation, strLocation.GetLength() + 1);
            CloseRequest(pTask);
            continue;
        }
        if (dwStatus != 200) {
            lParam = (LPARAM)dwStatus;
            return ASYNC_DOWN_FAILED;
        }
        break;
    }

    ULONGLONG nAnnounced = 0;
    BOOL bAnnounced = QueryContentLength(*pTask->pFile, nAnnounced);
    if (bAnnounced && nAnnounced > g_HttpTuning.dwMaxAsyncBody)
        return ASYNC_DOWN_FAILED;

    std::vector<BYTE> body;
    body.reserve(bAnnounced ? (size_t)nAnnounced + 1 : kBlockSize);
    tagAsyncDownProgress progress = {0, bAnnounced ? (DWORD)nAnnounced : 0};
    BYTE block[kBlockSize];
    for (;;) {
        UINT nRead = pTask->pFile->Read(block, kBlockSize);
        if (nRead == 0 || pTask->lStop)
            break;
        if (body.size() + nRead > g_HttpTuning.dwMaxAsyncBody)
            return ASYNC_DOWN_FAILED;
        body.insert(body.end(), block, block + nRead);
        progress.dwReceived += nRead;
        Report(pTask, ASYNC_DOWN_PROGRESS, (LPARAM)&progress);
        if (pTask->lStop)
            break;
    }
    if (pTask->lStop)
        return ASYNC_DOWN_STOPPED;
    // A body cut short must not pass for the whole one.
    if (bAnnounced && body.size() != nAnnounced)
        return ASYNC_DOWN_FAILED;

    // Receivers parse the body as text: keep a terminator after it.
    DWORD dwLength = (DWORD)body.size();
    body.push_back(0);
    tagAsyncDownResult result;
    memset(&result, 0, sizeof(result));
    result.pData = body.data();
    result.dwLength = dwLength;
    Report(pTask, ASYNC_DOWN_FINISHED, (LPARAM)&result);
    return 0;
}

void CAsyncDownLoader::Report(tagDownTask* pTask, DWORD dwCode, LPARAM lParam)
{
    if (pTask->hWndReport == NULL || !IsWindow(pTask->hWndReport))
        return;
    tagAsyncDownHead head;
    memset(&head, 0, sizeof(head));
    head.dwUserData = pTask->dwUserData;
    head.dwCode = dwCode;
    memcpy(head.szUrl, pTask->szUrl, sizeof(head.szUrl));
    head.szUrl[sizeof(head.szUrl) - 1] = '\0';
    SendMessageA(pTask->hWndReport, pTask->uMessage, (WPARAM)&head, lParam);
}

void CAsyncDownLoader::CloseRequest(tagDownTask* pTask)
{
    if (pTask->pFile != NULL) {
        pTask->pFile->Close();
        delete pTask->pFile;
        pTask->pFile = NULL;
    }
    if (pTask->pConnection != NULL) {
        pTask->pConnection->Close();
        delete pTask->pConnection;
        pTask->pConnection = NULL;
    }
}
