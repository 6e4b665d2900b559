// Internet classes of the class library over WinInet: sessions, HTTP
// connections and requests, their exception, and URL splitting.
//
// Failures of WinInet calls that do work (connecting, opening, sending,
// reading) throw a CInternetException made with new; option calls answer FALSE.
#pragma once

#include <afx.h>
#include <windows.h>
#include <wininet.h>

class CInternetSession;
class CInternetConnection;
class CHttpConnection;
class CInternetFile;
class CHttpFile;

// Service kinds given by AfxParseURL.
#define AFX_INET_SERVICE_FTP INTERNET_SERVICE_FTP
#define AFX_INET_SERVICE_HTTP INTERNET_SERVICE_HTTP
#define AFX_INET_SERVICE_GOPHER INTERNET_SERVICE_GOPHER
#define AFX_INET_SERVICE_UNK 0x1000
#define AFX_INET_SERVICE_FILE (AFX_INET_SERVICE_UNK + 1)
#define AFX_INET_SERVICE_AFS (AFX_INET_SERVICE_UNK + 2)
#define AFX_INET_SERVICE_MAILTO (AFX_INET_SERVICE_UNK + 3)
#define AFX_INET_SERVICE_MID (AFX_INET_SERVICE_UNK + 4)
#define AFX_INET_SERVICE_CID (AFX_INET_SERVICE_UNK + 5)
#define AFX_INET_SERVICE_NEWS (AFX_INET_SERVICE_UNK + 6)
#define AFX_INET_SERVICE_NNTP (AFX_INET_SERVICE_UNK + 7)
#define AFX_INET_SERVICE_PROSPERO (AFX_INET_SERVICE_UNK + 8)
#define AFX_INET_SERVICE_TELNET (AFX_INET_SERVICE_UNK + 9)
#define AFX_INET_SERVICE_WAIS (AFX_INET_SERVICE_UNK + 10)
#define AFX_INET_SERVICE_HTTPS (AFX_INET_SERVICE_UNK + 11)

// Access kinds of a session.
#define PRE_CONFIG_INTERNET_ACCESS INTERNET_OPEN_TYPE_PRECONFIG
#define LOCAL_INTERNET_ACCESS INTERNET_OPEN_TYPE_DIRECT
#define CERN_PROXY_INTERNET_ACCESS INTERNET_OPEN_TYPE_PROXY

// Splits "scheme://[user[:password]@]server[:port][/object]". The object
// keeps its query, loses its fragment and is "/" when the URL names none;
// blanks, control and non-ASCII bytes in it are %-escaped. The port is the
// scheme's default when none is named. FALSE (service kind unknown) for a
// text that is no such URL or names a port outside 1..65535.
BOOL AFXAPI AfxParseURL(LPCTSTR pstrURL, DWORD& dwServiceType, CString& strServer, CString& strObject,
                        INTERNET_PORT& nPort);

class CInternetException : public CException
{
    DECLARE_DYNAMIC(CInternetException)
public:
    explicit CInternetException(DWORD dwError);

    // The system's text for the error (WinInet's own texts included).
    virtual BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext = NULL) const;

    DWORD_PTR m_dwContext;
    DWORD m_dwError;
};

// Throws a CInternetException; an error of 0 stands for GetLastError().
[[noreturn]] void AFXAPI AfxThrowInternetException(DWORD_PTR dwContext, DWORD dwError = 0);

class CInternetSession : public CObject
{
    DECLARE_DYNAMIC(CInternetSession)
public:
    // Throws when WinInet cannot open the session.
    CInternetSession(LPCTSTR pstrAgent = NULL, DWORD_PTR dwContext = 1, DWORD dwAccessType = PRE_CONFIG_INTERNET_ACCESS,
                     LPCTSTR pstrProxyName = NULL, LPCTSTR pstrProxyBypass = NULL, DWORD dwFlags = 0);
    virtual ~CInternetSession();

    BOOL SetOption(DWORD dwOption, LPVOID lpBuffer, DWORD dwBufferLength, DWORD dwFlags = 0);
    BOOL SetOption(DWORD dwOption, DWORD dwValue, DWORD dwFlags = 0);
    BOOL QueryOption(DWORD dwOption, LPVOID lpBuffer, LPDWORD lpdwBufLen) const;
    BOOL QueryOption(DWORD dwOption, DWORD& dwValue) const;

    // The connection object is the caller's to delete.
    CHttpConnection* GetHttpConnection(LPCTSTR pstrServer, INTERNET_PORT nPort = INTERNET_INVALID_PORT_NUMBER,
                                       LPCTSTR pstrUserName = NULL, LPCTSTR pstrPassword = NULL);
    CHttpConnection* GetHttpConnection(LPCTSTR pstrServer, DWORD dwFlags,
                                       INTERNET_PORT nPort = INTERNET_INVALID_PORT_NUMBER, LPCTSTR pstrUserName = NULL,
                                       LPCTSTR pstrPassword = NULL);

    // Sends a GET for an http:// or https:// URL and gives the answer as a
    // CHttpFile the caller deletes. Other schemes throw
    // (ERROR_INTERNET_UNRECOGNIZED_SCHEME), as do failures to send.
    CHttpFile* OpenURL(LPCTSTR pstrURL, DWORD_PTR dwContext = 1, DWORD dwFlags = INTERNET_FLAG_TRANSFER_ASCII,
                       LPCTSTR pstrHeaders = NULL, DWORD dwHeadersLength = 0);

    virtual void Close();

    DWORD_PTR GetContext() const { return m_dwContext; }
    operator HINTERNET() const { return m_hSession; }

    // Applies the receive and send time-outs set on this session to a request
    // handle made under it.
    void ApplyTimeouts(HINTERNET hRequest) const;

protected:
    HINTERNET m_hSession;
    DWORD_PTR m_dwContext;
    DWORD m_dwReceiveTimeout; // 0: not set
    DWORD m_dwSendTimeout;    // 0: not set
};

class CInternetConnection : public CObject
{
    DECLARE_DYNAMIC(CInternetConnection)
public:
    CInternetConnection(CInternetSession* pSession, LPCTSTR pstrServer,
                        INTERNET_PORT nPort = INTERNET_INVALID_PORT_NUMBER, DWORD_PTR dwContext = 1);
    virtual ~CInternetConnection();

    BOOL SetOption(DWORD dwOption, LPVOID lpBuffer, DWORD dwBufferLength, DWORD dwFlags = 0);
    BOOL SetOption(DWORD dwOption, DWORD dwValue, DWORD dwFlags = 0);
    BOOL QueryOption(DWORD dwOption, LPVOID lpBuffer, LPDWORD lpdwBufLen) const;
    BOOL QueryOption(DWORD dwOption, DWORD& dwValue) const;

    CInternetSession* GetSession() const { return m_pSession; }
    CString GetServerName() const { return m_strServerName; }
    INTERNET_PORT GetPort() const { return m_nPort; }
    DWORD_PTR GetContext() const { return m_dwContext; }
    operator HINTERNET() const { return m_hConnection; }

    virtual void Close();

protected:
    HINTERNET m_hConnection;
    DWORD_PTR m_dwContext;
    CInternetSession* m_pSession;
    CString m_strServerName;
    INTERNET_PORT m_nPort;
};

class CHttpConnection : public CInternetConnection
{
    DECLARE_DYNAMIC(CHttpConnection)
public:
    enum
    {
        HTTP_VERB_MIN = 0,
        HTTP_VERB_POST = 0,
        HTTP_VERB_GET = 1,
        HTTP_VERB_HEAD = 2,
        HTTP_VERB_PUT = 3,
        HTTP_VERB_LINK = 4,
        HTTP_VERB_DELETE = 5,
        HTTP_VERB_UNLINK = 6,
        HTTP_VERB_MAX = 6
    };

    // Throws when WinInet refuses the connection handle.
    CHttpConnection(CInternetSession* pSession, LPCTSTR pstrServer, INTERNET_PORT nPort = INTERNET_INVALID_PORT_NUMBER,
                    LPCTSTR pstrUserName = NULL, LPCTSTR pstrPassword = NULL, DWORD_PTR dwContext = 1);
    CHttpConnection(CInternetSession* pSession, LPCTSTR pstrServer, DWORD dwFlags,
                    INTERNET_PORT nPort = INTERNET_INVALID_PORT_NUMBER, LPCTSTR pstrUserName = NULL,
                    LPCTSTR pstrPassword = NULL, DWORD_PTR dwContext = 1);

    // The request object is the caller's to delete; nothing is sent yet.
    CHttpFile* OpenRequest(LPCTSTR pstrVerb, LPCTSTR pstrObjectName, LPCTSTR pstrReferer = NULL,
                           DWORD_PTR dwContext = 1, LPCTSTR* ppstrAcceptTypes = NULL, LPCTSTR pstrVersion = NULL,
                           DWORD dwFlags = INTERNET_FLAG_EXISTING_CONNECT);
    CHttpFile* OpenRequest(int nVerb, LPCTSTR pstrObjectName, LPCTSTR pstrReferer = NULL, DWORD_PTR dwContext = 1,
                           LPCTSTR* ppstrAcceptTypes = NULL, LPCTSTR pstrVersion = NULL,
                           DWORD dwFlags = INTERNET_FLAG_EXISTING_CONNECT);

private:
    void Connect(LPCTSTR pstrUserName, LPCTSTR pstrPassword, DWORD dwFlags);
};

class CInternetFile : public CFile
{
    DECLARE_DYNAMIC(CInternetFile)
public:
    virtual ~CInternetFile();

    BOOL SetOption(DWORD dwOption, LPVOID lpBuffer, DWORD dwBufferLength, DWORD dwFlags = 0);
    BOOL SetOption(DWORD dwOption, DWORD dwValue, DWORD dwFlags = 0);
    BOOL QueryOption(DWORD dwOption, LPVOID lpBuffer, LPDWORD lpdwBufLen) const;
    BOOL QueryOption(DWORD dwOption, DWORD& dwValue) const;

    // Reads up to nCount bytes of the body; 0 at its end. Throws on a failed read.
    virtual UINT Read(void* lpBuf, UINT nCount);
    virtual void Write(const void* lpBuf, UINT nCount);
    // Bytes that can be read now without waiting (0 at the end of the body).
    virtual ULONGLONG GetLength() const;
    virtual ULONGLONG Seek(LONGLONG lOffset, UINT nFrom);
    virtual void Flush();
    virtual void Close();
    virtual void Abort();

    DWORD_PTR GetContext() const { return m_dwContext; }
    operator HINTERNET() const { return m_hInternet; }

protected:
    CInternetFile(HINTERNET hFile, HINTERNET hConnection, LPCTSTR pstrFileName, LPCTSTR pstrServer,
                  DWORD_PTR dwContext);

    HINTERNET m_hInternet;
    // A connection handle the file owns (made by OpenURL), or null.
    HINTERNET m_hOwnedConnection;
    DWORD_PTR m_dwContext;
    CString m_strServerName;
    CString m_strObject;
};

class CHttpFile : public CInternetFile
{
    DECLARE_DYNAMIC(CHttpFile)
public:
    CHttpFile(HINTERNET hFile, LPCTSTR pstrVerb, LPCTSTR pstrObject, CHttpConnection* pConnection);
    CHttpFile(HINTERNET hFile, HINTERNET hOwnedConnection, LPCTSTR pstrObject, LPCTSTR pstrServer, LPCTSTR pstrVerb,
              DWORD_PTR dwContext);

    // Sends the request with extra header lines and an optional body.
    // Throws on failure, so a result is always TRUE.
    BOOL SendRequest(LPCTSTR pstrHeaders = NULL, DWORD dwHeadersLen = 0, LPVOID lpOptional = NULL,
                     DWORD dwOptionalLen = 0);

    BOOL QueryInfo(DWORD dwInfoLevel, LPVOID lpvBuffer, LPDWORD lpdwBufferLength, LPDWORD lpdwIndex = NULL) const;
    BOOL QueryInfo(DWORD dwInfoLevel, CString& str, LPDWORD lpdwIndex = NULL) const;
    // The header as a number (HTTP_QUERY_FLAG_NUMBER is added).
    BOOL QueryInfo(DWORD dwInfoLevel, DWORD& dwResult, LPDWORD lpdwIndex = NULL) const;
    BOOL QueryInfoStatusCode(DWORD& dwStatusCode) const;

    CString GetVerb() const { return m_strVerb; }

protected:
    CString m_strVerb;
};
