// One download task: fetches a URL into "<local path>.temp" block by block
// and puts it in place of the local file once the whole body has arrived.
//
// A body that is refused (a status other than 200, no numeric length, fewer
// than 22 bytes, an HTML page) or cut short is never installed, and the old
// local file stays until the new one replaces it in one step.
#pragma once

#include <afxinet.h>

#include "UpdateTask.h"

class CFileInfo : public CUpdateTask
{
public:
    // Error codes; the task keeps the code and its text.
    enum
    {
        errNone = 0,
        errUrl = 1,
        errRefused = 2,
        errRedirect = 3,
        errRedirectUrl = 4,
        errNotHttp = 5,
        errServerFile = 6,
        errLocalFile = 7,
        errCancelled = 8,
        errBadUrl = 9
    };
    enum
    {
        blockSize = 4096,
        minBodySize = 22
    };

    // Throws CInternetException* when no internet session can be opened.
    CFileInfo(CFileUpdate* pOwner, HWND hNotifyWnd, DWORD dwKind);
    virtual ~CFileInfo();

    // Before the start. False when a text does not fit its 260-byte field:
    // a cut URL or path would name something else.
    bool SetTarget(LPCSTR pszUrl, LPCSTR pszLocalPath, LPCSTR pszTempPath, DWORD dwVersion = 0);

    LPCSTR GetUrl() const { return m_szUrl; }
    LPCSTR GetLocalPath() const { return m_szLocalPath; }
    LPCSTR GetTempPath() const { return m_szTempPath; }
    DWORD GetVersion() const { return m_dwVersion; }
    // The last error, read once the worker has ended.
    int GetErrorCode() const { return m_nErrorCode; }
    CString GetErrorText() const { return m_strErrorText; }

    static LPCSTR ErrorText(int nCode);

protected:
    bool OnThreadRun() override;
    void OnCancel() override;

private:
    // Keeps the error and its text; answers false, for the failing step to return.
    bool Fail(int nCode);
    enum StepResult
    {
        stepMore,   // call again
        stepDone,   // the file is in place
        stepFailed, // the error is kept
    };
    // One call of the run routine. Class-library exceptions pass through to
    // OnThreadRun.
    StepResult RunStep();
    bool OpenTransfer();
    bool SendRequest(DWORD dwServiceType, const CString& strServer, const CString& strObject, INTERNET_PORT nPort);
    bool WriteBlock(const BYTE* pBlock, UINT nCount);
    // Puts the whole body in place of the local file.
    bool Install();
    void CleanUp();

    CHAR m_szLocalPath[260];
    CHAR m_szUrl[260];
    CHAR m_szTempPath[260];
    DWORD m_dwVersion;
    CString m_strErrorText;
    int m_nErrorCode;
    bool m_bFileOpen;
    bool m_bTempCreated; // the temporary file is this task's to delete
    CFile m_TempFile;
    CHttpFile* m_pHttpFile;         // set and cleared under the lock
    CHttpConnection* m_pConnection; // set and cleared under the lock
    CInternetSession m_InternetSession;
    ULONGLONG m_nAnnounced;
    ULONGLONG m_nReceived;
};
