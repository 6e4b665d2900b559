// What both builds of the blocking HTTP download helper share: the session,
// connection and request they hold, opening and sending with its retries,
// and reading a body to its end.
//
// A helper is used by one thread at a time, always a worker thread: it blocks
// for up to its time-outs (HttpTuning.h). Nothing throws out of it.
#pragma once

#include <afxinet.h>

#include <functional>

class CHttpDownLoadBase
{
public:
    CHttpDownLoadBase();
    virtual ~CHttpDownLoadBase();
    CHttpDownLoadBase(const CHttpDownLoadBase&) = delete;
    CHttpDownLoadBase& operator=(const CHttpDownLoadBase&) = delete;

    // Closes and frees the request, the connection and the session, and frees
    // the data buffer.
    void Reset();

    // AFX_INET_SERVICE_FILE for an existing local path or a text that is no
    // URL, otherwise the service kind of the URL.
    static DWORD GetServiceType(LPCTSTR pszUrl);

    // Makes a new session, connection and request for the URL and sends it,
    // following redirects up to the bound. TRUE once sent, even when every
    // send failed (the status then tells); FALSE when the URL cannot be
    // parsed or the class library throws, and the helper is then empty again.
    BOOL Open(LPCTSTR pszUrl);

protected:
    // Steps of Open: session and connection for the URL, then a GET request
    // for an object path on the held connection (replacing the request).
    BOOL CreateConnection(LPCTSTR pszUrl);
    BOOL OpenRequest(LPCTSTR pszObject, DWORD dwServiceType);
    // Follows the redirects of the request sent for pszRequestUrl, at most
    // the bound of them; never from https to http, and to another server only
    // when bMayChangeServer. A redirect not followed stays the answer.
    void FollowRedirects(LPCTSTR pszRequestUrl, BOOL bMayChangeServer);
    // The absolute URL a Location names, relative to pszBase; FALSE when it
    // cannot be made one.
    static BOOL ResolveLocation(LPCTSTR pszBase, LPCTSTR pszLocation, CString& strTarget);

    // Whether a failed send should be repeated. Deletes the exception.
    virtual BOOL OnRequestError(CHttpFile* pFile, CException* pException);

    // The status of the held request, or 0 when none was read.
    DWORD QueryStatus() const;
    // The Content-Length of the held request; FALSE when absent or not a number.
    BOOL QueryContentLength(ULONGLONG& nLength) const;

    // Reads the body of the held request in blocks of 1024 bytes and hands
    // each to pfnWrite. FALSE when pfnWrite refuses a block, a read fails, the
    // body grows past the bound, or it ends short of its announced length.
    BOOL ReadBody(const std::function<BOOL(const BYTE* pBlock, UINT nCount)>& pfnWrite);

    CInternetSession* m_pSession;
    CHttpFile* m_pFile;
    CHttpConnection* m_pConnection;
    DWORD m_dwTimeout;
    CString m_strUrl;
    int m_nRetryCount;
    BYTE* m_pData; // malloc'd, one zero byte after the body
    DWORD m_dwSize;
};
