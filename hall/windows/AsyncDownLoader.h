// Background HTTP GET requests, one worker thread each, reporting progress and
// the result to a window by sent messages.
//
// Every report is the caller's message with wParam = tagAsyncDownHead* and
// lParam by the code. Reports are sent, so the worker waits while the window
// handles one; anything they point at is valid only during that report.
#pragma once

#include <afxinet.h>
#include <afxmt.h>

#include <map>
#include <stddef.h>

// Report codes.
#define ASYNC_DOWN_FAILED 1   // lParam: the HTTP status for one other than 200/301/302/303, else 0
#define ASYNC_DOWN_PROGRESS 5 // lParam: tagAsyncDownProgress*
#define ASYNC_DOWN_FINISHED 6 // lParam: tagAsyncDownResult*
#define ASYNC_DOWN_STOPPED 8  // lParam: 0; the downloader is being destroyed

const int ASYNC_DOWN_URL_SIZE = 512;
const int ASYNC_DOWN_HEADER_SIZE = 1024;

struct tagAsyncDownHead
{
    DWORD dwUserData;
    DWORD dwCode;
    CHAR szUrl[ASYNC_DOWN_URL_SIZE]; // the current URL (after redirects)
};
static_assert(offsetof(tagAsyncDownHead, dwCode) == 4, "the code is the head's second u32");
static_assert(sizeof(tagAsyncDownHead) == 520, "report head layout");

struct tagAsyncDownProgress
{
    DWORD dwReceived;      // bytes so far
    DWORD dwContentLength; // from the response, 0 when absent
};
static_assert(sizeof(tagAsyncDownProgress) == 8, "progress layout");

// The body's address is pointer-sized; the record is 268 bytes in the 32-bit
// build. The body is followed by one zero byte not counted in dwLength.
struct tagAsyncDownResult
{
    BYTE* pData;
    DWORD dwLength;
    BYTE cbReserved[260];
};
static_assert(offsetof(tagAsyncDownResult, dwLength) == sizeof(void*), "length follows the address");
static_assert(sizeof(tagAsyncDownResult) == (sizeof(void*) == 4 ? 268 : 272), "finished record layout");

class CAsyncDownLoader
{
public:
    CAsyncDownLoader();
    // Stops every task and waits until all workers have ended, answering the
    // reports they send meanwhile.
    virtual ~CAsyncDownLoader();
    CAsyncDownLoader(const CAsyncDownLoader&) = delete;
    CAsyncDownLoader& operator=(const CAsyncDownLoader&) = delete;

    // Queues a GET and returns its task id (never 0), or 0 for a missing or
    // empty URL, a URL of 512 characters or more, headers of 1024 or more, or
    // no worker. pszHeaders: extra request headers or NULL; hWndReport: NULL
    // for no reports.
    DWORD AddTask(DWORD dwUserData, LPCTSTR pszUrl, LPCTSTR pszHeaders, HWND hWndReport, UINT uMessage);

protected:
    struct tagDownTask
    {
        tagDownTask();
        ~tagDownTask();

        DWORD dwId;
        DWORD dwUserData;
        HWND hWndReport;
        UINT uMessage;
        CHAR szUrl[ASYNC_DOWN_URL_SIZE];
        CHAR szHeaders[ASYNC_DOWN_HEADER_SIZE];
        HANDLE hThread;
        volatile LONG lStop;
        CAsyncDownLoader* pOwner;
        CInternetSession* pSession;
        CHttpConnection* pConnection;
        CHttpFile* pFile;
    };

    DWORD NextTaskId();
    BOOL RemoveTask(DWORD dwTaskId);

    static unsigned __stdcall WorkerThread(void* pParam);
    static void RunTask(tagDownTask* pTask);
    static DWORD Download(tagDownTask* pTask, LPARAM& lParam);
    static void Report(tagDownTask* pTask, DWORD dwCode, LPARAM lParam);
    static void CloseRequest(tagDownTask* pTask);

    CCriticalSection m_lock;
    DWORD m_dwIdCounter;
    std::map<DWORD, tagDownTask*> m_tasks;
};

// The hall's one downloader, destroyed after the application has exited.
extern CAsyncDownLoader g_AsyncDownLoader;
