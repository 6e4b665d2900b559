#include <afxinet.h>

#include <string.h>

// ---------------------------------------------------------------------------
// URL splitting

namespace
{
struct SchemeInfo
{
    const char* pszName;
    DWORD dwServiceType;
    INTERNET_PORT nDefaultPort;
};

const SchemeInfo g_schemes[] = {
    {"http", AFX_INET_SERVICE_HTTP, INTERNET_DEFAULT_HTTP_PORT},
    {"https", AFX_INET_SERVICE_HTTPS, INTERNET_DEFAULT_HTTPS_PORT},
    {"ftp", AFX_INET_SERVICE_FTP, INTERNET_DEFAULT_FTP_PORT},
    {"gopher", AFX_INET_SERVICE_GOPHER, INTERNET_DEFAULT_GOPHER_PORT},
    {"file", AFX_INET_SERVICE_FILE, 0},
    {"news", AFX_INET_SERVICE_NEWS, 119},
    {"nntp", AFX_INET_SERVICE_NNTP, 119},
    {"telnet", AFX_INET_SERVICE_TELNET, 23},
    {"wais", AFX_INET_SERVICE_WAIS, 210},
    {"prospero", AFX_INET_SERVICE_PROSPERO, 1525},
};

bool IsAlpha(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Bytes a request line cannot carry as they are.
bool NeedsEscape(BYTE b)
{
    return b <= 0x20 || b >= 0x7F;
}

const char* const g_verbs[] = {"POST", "GET", "HEAD", "PUT", "LINK", "DELETE", "UNLINK"};
} // namespace

BOOL AFXAPI AfxParseURL(LPCTSTR pstrURL, DWORD& dwServiceType, CString& strServer, CString& strObject,
                        INTERNET_PORT& nPort)
{
    dwServiceType = AFX_INET_SERVICE_UNK;
    strServer.Empty();
    strObject.Empty();
    nPort = 0;
    if (pstrURL == NULL)
        return FALSE;

    const char* p = pstrURL;
    while (*p == ' ' || *p == '\t')
        ++p;
    if (strlen(p) >= INTERNET_MAX_URL_LENGTH)
        return FALSE;

    const char* pScheme = p;
    if (!IsAlpha(*p))
        return FALSE;
    while (IsAlpha(*p) || IsDigit(*p) || *p == '+' || *p == '-' || *p == '.')
        ++p;
    if (p[0] != ':' || p[1] != '/' || p[2] != '/')
        return FALSE;
    CString strScheme(pScheme, (int)(p - pScheme));
    p += 3;

    DWORD dwKind = AFX_INET_SERVICE_UNK;
    INTERNET_PORT nDefaultPort = 0;
    for (const SchemeInfo& info : g_schemes) {
        if (strScheme.CompareNoCase(info.pszName) == 0) {
            dwKind = info.dwServiceType;
            nDefaultPort = info.nDefaultPort;
            break;
        }
    }

    // Authority: [user[:password]@]host[:port]
    const char* pAuthority = p;
    while (*p != '\0' && *p != '/' && *p != '?' && *p != '#')
        ++p;
    const char* pAuthorityEnd = p;
    const char* pHost = pAuthority;
    for (const char* q = pAuthority; q < pAuthorityEnd; ++q) {
        if (*q == '@')
            pHost = q + 1;
    }

    const char* pHostEnd;
    const char* pPort = NULL;
    if (pHost < pAuthorityEnd && *pHost == '[') {
        pHostEnd = (const char*)memchr(pHost, ']', pAuthorityEnd - pHost);
        if (pHostEnd == NULL)
            return FALSE;
        ++pHostEnd;
        if (pHostEnd < pAuthorityEnd) {
            if (*pHostEnd != ':')
                return FALSE;
            pPort = pHostEnd + 1;
        }
    } else {
        pHostEnd = pHost;
        while (pHostEnd < pAuthorityEnd && *pHostEnd != ':')
            ++pHostEnd;
        if (pHostEnd < pAuthorityEnd)
            pPort = pHostEnd + 1;
    }

    int nHostLength = (int)(pHostEnd - pHost);
    if (nHostLength >= INTERNET_MAX_HOST_NAME_LENGTH)
        return FALSE;
    for (const char* q = pHost; q < pHostEnd; ++q) {
        if (NeedsEscape((BYTE)*q) || *q == '%' || *q == '\\')
            return FALSE;
    }
    if (nHostLength == 0 && dwKind != AFX_INET_SERVICE_FILE)
        return FALSE;

    INTERNET_PORT nPortFound = nDefaultPort;
    if (pPort != NULL && pPort < pAuthorityEnd) {
        DWORD dwPort = 0;
        for (const char* q = pPort; q < pAuthorityEnd; ++q) {
            if (!IsDigit(*q))
                return FALSE;
            dwPort = dwPort * 10 + (DWORD)(*q - '0');
            if (dwPort > 65535)
                return FALSE;
        }
        if (dwPort == 0)
            return FALSE;
        nPortFound = (INTERNET_PORT)dwPort;
    }

    // Object: the rest without the fragment, "/" first.
    CString strPath;
    if (*p != '/')
        strPath = "/";
    static const char kHex[] = "0123456789ABCDEF";
    for (; *p != '\0' && *p != '#'; ++p) {
        BYTE b = (BYTE)*p;
        if (NeedsEscape(b)) {
            strPath += '%';
            strPath += kHex[b >> 4];
            strPath += kHex[b & 0x0F];
        } else {
            strPath += (char)b;
        }
    }

    dwServiceType = dwKind;
    strServer = CString(pHost, nHostLength);
    strObject = strPath;
    nPort = nPortFound;
    return TRUE;
}

// ---------------------------------------------------------------------------
// CInternetException

IMPLEMENT_DYNAMIC(CInternetException, CException)

CInternetException::CInternetException(DWORD dwError) : m_dwContext(0), m_dwError(dwError) {}

BOOL CInternetException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    if (pnHelpContext != NULL)
        *pnHelpContext = 0;
    if (lpszError == NULL || nMaxError == 0)
        return FALSE;
    lpszError[0] = '\0';

    LPSTR pszMessage = NULL;
    DWORD dwLength = 0;
    const DWORD dwFlags = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS;
    if (m_dwError >= INTERNET_ERROR_BASE && m_dwError <= INTERNET_ERROR_LAST) {
        HMODULE hWinInet = GetModuleHandleA("wininet.dll");
        if (hWinInet != NULL)
            dwLength = FormatMessageA(dwFlags | FORMAT_MESSAGE_FROM_HMODULE, hWinInet, m_dwError, 0, (LPSTR)&pszMessage,
                                      0, NULL);
    }
    if (dwLength == 0)
        dwLength =
            FormatMessageA(dwFlags | FORMAT_MESSAGE_FROM_SYSTEM, NULL, m_dwError, 0, (LPSTR)&pszMessage, 0, NULL);
    if (dwLength == 0 || pszMessage == NULL)
        return FALSE;

    while (dwLength > 0 && (pszMessage[dwLength - 1] == '\r' || pszMessage[dwLength - 1] == '\n'))
        --dwLength;
    // Cut at a character boundary when the caller's room is short.
    UINT nCopy = 0;
    while (nCopy < dwLength) {
        UINT nChar = (UINT)CString::CharLength(pszMessage + nCopy);
        if (nCopy + nChar > dwLength || nCopy + nChar >= nMaxError)
            break;
        nCopy += nChar;
    }
    memcpy(lpszError, pszMessage, nCopy);
    lpszError[nCopy] = '\0';
    LocalFree(pszMessage);
    return nCopy > 0;
}

void AFXAPI AfxThrowInternetException(DWORD_PTR dwContext, DWORD dwError)
{
    if (dwError == 0)
        dwError = GetLastError();
    CInternetException* pException = new CInternetException(dwError);
    pException->m_dwContext = dwContext;
    throw pException;
}

// ---------------------------------------------------------------------------
// CInternetSession

IMPLEMENT_DYNAMIC(CInternetSession, CObject)

CInternetSession::CInternetSession(LPCTSTR pstrAgent, DWORD_PTR dwContext, DWORD dwAccessType, LPCTSTR pstrProxyName,
                                   LPCTSTR pstrProxyBypass, DWORD dwFlags)
    : m_hSession(NULL), m_dwContext(dwContext), m_dwReceiveTimeout(0), m_dwSendTimeout(0)
{
    CString strAgent;
    if (pstrAgent == NULL) {
        // The program's name, as servers see it when none is given.
        char szPath[MAX_PATH];
        DWORD n = GetModuleFileNameA(NULL, szPath, MAX_PATH);
        if (n > 0 && n < MAX_PATH) {
            strAgent = szPath;
            int nSlash = strAgent.ReverseFind('\\');
            strAgent = strAgent.Mid(nSlash + 1);
            int nDot = strAgent.ReverseFind('.');
            if (nDot > 0)
                strAgent = strAgent.Left(nDot);
        }
        pstrAgent = strAgent;
    }
    m_hSession = InternetOpenA(pstrAgent, dwAccessType, pstrProxyName, pstrProxyBypass, dwFlags);
    if (m_hSession == NULL)
        AfxThrowInternetException(m_dwContext);
}

CInternetSession::~CInternetSession()
{
    Close();
}

void CInternetSession::Close()
{
    if (m_hSession != NULL) {
        InternetCloseHandle(m_hSession);
        m_hSession = NULL;
    }
}

BOOL CInternetSession::SetOption(DWORD dwOption, LPVOID lpBuffer, DWORD dwBufferLength, DWORD dwFlags)
{
    if (!InternetSetOptionExA(m_hSession, dwOption, lpBuffer, dwBufferLength, dwFlags))
        return FALSE;
    if (lpBuffer != NULL && dwBufferLength == sizeof(DWORD)) {
        // WinInet does not hand every time-out of a session down to the
        // requests made under it; remember them so ApplyTimeouts can. The data
        // time-outs count for HTTP too: a request never waits longer for its
        // answer than the session allows.
        DWORD dwValue = *(const DWORD*)lpBuffer;
        switch (dwOption) {
        case INTERNET_OPTION_RECEIVE_TIMEOUT:
        case INTERNET_OPTION_DATA_RECEIVE_TIMEOUT: m_dwReceiveTimeout = dwValue; break;
        case INTERNET_OPTION_SEND_TIMEOUT:
        case INTERNET_OPTION_DATA_SEND_TIMEOUT: m_dwSendTimeout = dwValue; break;
        }
    }
    return TRUE;
}

BOOL CInternetSession::SetOption(DWORD dwOption, DWORD dwValue, DWORD dwFlags)
{
    return SetOption(dwOption, &dwValue, sizeof(dwValue), dwFlags);
}

BOOL CInternetSession::QueryOption(DWORD dwOption, LPVOID lpBuffer, LPDWORD lpdwBufLen) const
{
    return InternetQueryOptionA(m_hSession, dwOption, lpBuffer, lpdwBufLen);
}

BOOL CInternetSession::QueryOption(DWORD dwOption, DWORD& dwValue) const
{
    DWORD dwLength = sizeof(dwValue);
    return InternetQueryOptionA(m_hSession, dwOption, &dwValue, &dwLength);
}

void CInternetSession::ApplyTimeouts(HINTERNET hRequest) const
{
    if (m_dwReceiveTimeout != 0) {
        DWORD dwValue = m_dwReceiveTimeout;
        InternetSetOptionA(hRequest, INTERNET_OPTION_RECEIVE_TIMEOUT, &dwValue, sizeof(dwValue));
    }
    if (m_dwSendTimeout != 0) {
        DWORD dwValue = m_dwSendTimeout;
        InternetSetOptionA(hRequest, INTERNET_OPTION_SEND_TIMEOUT, &dwValue, sizeof(dwValue));
    }
}

CHttpConnection* CInternetSession::GetHttpConnection(LPCTSTR pstrServer, INTERNET_PORT nPort, LPCTSTR pstrUserName,
                                                     LPCTSTR pstrPassword)
{
    return new CHttpConnection(this, pstrServer, nPort, pstrUserName, pstrPassword, m_dwContext);
}

CHttpConnection* CInternetSession::GetHttpConnection(LPCTSTR pstrServer, DWORD dwFlags, INTERNET_PORT nPort,
                                                     LPCTSTR pstrUserName, LPCTSTR pstrPassword)
{
    return new CHttpConnection(this, pstrServer, dwFlags, nPort, pstrUserName, pstrPassword, m_dwContext);
}

CHttpFile* CInternetSession::OpenURL(LPCTSTR pstrURL, DWORD_PTR dwContext, DWORD dwFlags, LPCTSTR pstrHeaders,
                                     DWORD dwHeadersLength)
{
    DWORD dwServiceType;
    CString strServer, strObject;
    INTERNET_PORT nPort;
    if (!AfxParseURL(pstrURL, dwServiceType, strServer, strObject, nPort) ||
        (dwServiceType != AFX_INET_SERVICE_HTTP && dwServiceType != AFX_INET_SERVICE_HTTPS))
        AfxThrowInternetException(dwContext, ERROR_INTERNET_UNRECOGNIZED_SCHEME);

    // Made from a connection and a request rather than by InternetOpenUrl, so
    // the session's time-outs hold from the first byte sent.
    HINTERNET hConnection =
        InternetConnectA(m_hSession, strServer, nPort, NULL, NULL, INTERNET_SERVICE_HTTP, 0, dwContext);
    if (hConnection == NULL)
        AfxThrowInternetException(dwContext);
    DWORD dwRequestFlags = dwFlags & ~(DWORD)(INTERNET_FLAG_TRANSFER_ASCII | INTERNET_FLAG_TRANSFER_BINARY);
    if (dwServiceType == AFX_INET_SERVICE_HTTPS)
        dwRequestFlags |= INTERNET_FLAG_SECURE;
    HINTERNET hRequest = HttpOpenRequestA(hConnection, "GET", strObject, NULL, NULL, NULL, dwRequestFlags, dwContext);
    if (hRequest == NULL) {
        DWORD dwError = GetLastError();
        InternetCloseHandle(hConnection);
        AfxThrowInternetException(dwContext, dwError);
    }
    ApplyTimeouts(hRequest);
    CHttpFile* pFile = new CHttpFile(hRequest, hConnection, strObject, strServer, "GET", dwContext);
    try {
        pFile->SendRequest(pstrHeaders, dwHeadersLength);
    } catch (...) {
        delete pFile;
        throw;
    }
    return pFile;
}

// ---------------------------------------------------------------------------
// CInternetConnection, CHttpConnection

IMPLEMENT_DYNAMIC(CInternetConnection, CObject)

CInternetConnection::CInternetConnection(CInternetSession* pSession, LPCTSTR pstrServer, INTERNET_PORT nPort,
                                         DWORD_PTR dwContext)
    : m_hConnection(NULL), m_dwContext(dwContext), m_pSession(pSession), m_strServerName(pstrServer), m_nPort(nPort)
{}

CInternetConnection::~CInternetConnection()
{
    Close();
}

void CInternetConnection::Close()
{
    if (m_hConnection != NULL) {
        InternetCloseHandle(m_hConnection);
        m_hConnection = NULL;
    }
}

BOOL CInternetConnection::SetOption(DWORD dwOption, LPVOID lpBuffer, DWORD dwBufferLength, DWORD dwFlags)
{
    return InternetSetOptionExA(m_hConnection, dwOption, lpBuffer, dwBufferLength, dwFlags);
}

BOOL CInternetConnection::SetOption(DWORD dwOption, DWORD dwValue, DWORD dwFlags)
{
    return SetOption(dwOption, &dwValue, sizeof(dwValue), dwFlags);
}

BOOL CInternetConnection::QueryOption(DWORD dwOption, LPVOID lpBuffer, LPDWORD lpdwBufLen) const
{
    return InternetQueryOptionA(m_hConnection, dwOption, lpBuffer, lpdwBufLen);
}

BOOL CInternetConnection::QueryOption(DWORD dwOption, DWORD& dwValue) const
{
    DWORD dwLength = sizeof(dwValue);
    return InternetQueryOptionA(m_hConnection, dwOption, &dwValue, &dwLength);
}

IMPLEMENT_DYNAMIC(CHttpConnection, CInternetConnection)

CHttpConnection::CHttpConnection(CInternetSession* pSession, LPCTSTR pstrServer, INTERNET_PORT nPort,
                                 LPCTSTR pstrUserName, LPCTSTR pstrPassword, DWORD_PTR dwContext)
    : CInternetConnection(pSession, pstrServer, nPort, dwContext)
{
    Connect(pstrUserName, pstrPassword, 0);
}

CHttpConnection::CHttpConnection(CInternetSession* pSession, LPCTSTR pstrServer, DWORD dwFlags, INTERNET_PORT nPort,
                                 LPCTSTR pstrUserName, LPCTSTR pstrPassword, DWORD_PTR dwContext)
    : CInternetConnection(pSession, pstrServer, nPort, dwContext)
{
    Connect(pstrUserName, pstrPassword, dwFlags);
}

void CHttpConnection::Connect(LPCTSTR pstrUserName, LPCTSTR pstrPassword, DWORD dwFlags)
{
    HINTERNET hSession = m_pSession != NULL ? (HINTERNET)*m_pSession : NULL;
    m_hConnection = InternetConnectA(hSession, m_strServerName, m_nPort, pstrUserName, pstrPassword,
                                     INTERNET_SERVICE_HTTP, dwFlags, m_dwContext);
    if (m_hConnection == NULL)
        AfxThrowInternetException(m_dwContext);
}

CHttpFile* CHttpConnection::OpenRequest(LPCTSTR pstrVerb, LPCTSTR pstrObjectName, LPCTSTR pstrReferer,
                                        DWORD_PTR dwContext, LPCTSTR* ppstrAcceptTypes, LPCTSTR pstrVersion,
                                        DWORD dwFlags)
{
    HINTERNET hRequest = HttpOpenRequestA(m_hConnection, pstrVerb, pstrObjectName, pstrVersion, pstrReferer,
                                          ppstrAcceptTypes, dwFlags, dwContext);
    if (hRequest == NULL)
        AfxThrowInternetException(dwContext);
    if (m_pSession != NULL)
        m_pSession->ApplyTimeouts(hRequest);
    return new CHttpFile(hRequest, pstrVerb, pstrObjectName, this);
}

CHttpFile* CHttpConnection::OpenRequest(int nVerb, LPCTSTR pstrObjectName, LPCTSTR pstrReferer, DWORD_PTR dwContext,
                                        LPCTSTR* ppstrAcceptTypes, LPCTSTR pstrVersion, DWORD dwFlags)
{
    if (nVerb < HTTP_VERB_MIN || nVerb > HTTP_VERB_MAX)
        AfxThrowInvalidArgException();
    return OpenRequest(g_verbs[nVerb], pstrObjectName, pstrReferer, dwContext, ppstrAcceptTypes, pstrVersion, dwFlags);
}

// ---------------------------------------------------------------------------
// CInternetFile, CHttpFile

IMPLEMENT_DYNAMIC(CInternetFile, CFile)

CInternetFile::CInternetFile(HINTERNET hFile, HINTERNET hConnection, LPCTSTR pstrFileName, LPCTSTR pstrServer,
                             DWORD_PTR dwContext)
    : m_hInternet(hFile), m_hOwnedConnection(hConnection), m_dwContext(dwContext), m_strServerName(pstrServer),
      m_strObject(pstrFileName)
{}

CInternetFile::~CInternetFile()
{
    Abort();
}

BOOL CInternetFile::SetOption(DWORD dwOption, LPVOID lpBuffer, DWORD dwBufferLength, DWORD dwFlags)
{
    return InternetSetOptionExA(m_hInternet, dwOption, lpBuffer, dwBufferLength, dwFlags);
}

BOOL CInternetFile::SetOption(DWORD dwOption, DWORD dwValue, DWORD dwFlags)
{
    return SetOption(dwOption, &dwValue, sizeof(dwValue), dwFlags);
}

BOOL CInternetFile::QueryOption(DWORD dwOption, LPVOID lpBuffer, LPDWORD lpdwBufLen) const
{
    return InternetQueryOptionA(m_hInternet, dwOption, lpBuffer, lpdwBufLen);
}

BOOL CInternetFile::QueryOption(DWORD dwOption, DWORD& dwValue) const
{
    DWORD dwLength = sizeof(dwValue);
    return InternetQueryOptionA(m_hInternet, dwOption, &dwValue, &dwLength);
}

UINT CInternetFile::Read(void* lpBuf, UINT nCount)
{
    if (nCount == 0)
        return 0;
    DWORD dwRead = 0;
    if (!InternetReadFile(m_hInternet, lpBuf, nCount, &dwRead))
        AfxThrowInternetException(m_dwContext);
    return (UINT)dwRead;
}

void CInternetFile::Write(const void* lpBuf, UINT nCount)
{
    DWORD dwWritten = 0;
    if (!InternetWriteFile(m_hInternet, lpBuf, nCount, &dwWritten))
        AfxThrowInternetException(m_dwContext);
    if (dwWritten != nCount)
        AfxThrowInternetException(m_dwContext, ERROR_INTERNET_CONNECTION_ABORTED);
}

ULONGLONG CInternetFile::GetLength() const
{
    DWORD dwAvailable = 0;
    if (m_hInternet == NULL || !InternetQueryDataAvailable(m_hInternet, &dwAvailable, 0, 0))
        return 0;
    return dwAvailable;
}

ULONGLONG CInternetFile::Seek(LONGLONG lOffset, UINT nFrom)
{
    LONG lHigh = (LONG)(lOffset >> 32);
    DWORD dwMethod = nFrom == CFile::end ? FILE_END : nFrom == CFile::current ? FILE_CURRENT : FILE_BEGIN;
    DWORD dwLow = InternetSetFilePointer(m_hInternet, (LONG)(lOffset & 0xFFFFFFFF), &lHigh, dwMethod, 0);
    if (dwLow == INVALID_SET_FILE_POINTER)
        AfxThrowInternetException(m_dwContext);
    return ((ULONGLONG)(DWORD)lHigh << 32) | dwLow;
}

void CInternetFile::Flush() {}

void CInternetFile::Close()
{
    if (m_hInternet != NULL) {
        InternetCloseHandle(m_hInternet);
        m_hInternet = NULL;
    }
    if (m_hOwnedConnection != NULL) {
        InternetCloseHandle(m_hOwnedConnection);
        m_hOwnedConnection = NULL;
    }
}

void CInternetFile::Abort()
{
    Close();
}

IMPLEMENT_DYNAMIC(CHttpFile, CInternetFile)

CHttpFile::CHttpFile(HINTERNET hFile, LPCTSTR pstrVerb, LPCTSTR pstrObject, CHttpConnection* pConnection)
    : CInternetFile(hFile, NULL, pstrObject, pConnection->GetServerName(), pConnection->GetContext()),
      m_strVerb(pstrVerb)
{}

CHttpFile::CHttpFile(HINTERNET hFile, HINTERNET hOwnedConnection, LPCTSTR pstrObject, LPCTSTR pstrServer,
                     LPCTSTR pstrVerb, DWORD_PTR dwContext)
    : CInternetFile(hFile, hOwnedConnection, pstrObject, pstrServer, dwContext), m_strVerb(pstrVerb)
{}

BOOL CHttpFile::SendRequest(LPCTSTR pstrHeaders, DWORD dwHeadersLen, LPVOID lpOptional, DWORD dwOptionalLen)
{
    if (pstrHeaders != NULL && dwHeadersLen == 0)
        dwHeadersLen = (DWORD)-1; // terminated text
    if (pstrHeaders != NULL && *pstrHeaders == '\0') {
        pstrHeaders = NULL;
        dwHeadersLen = 0;
    }
    if (!HttpSendRequestA(m_hInternet, pstrHeaders, dwHeadersLen, lpOptional, dwOptionalLen))
        AfxThrowInternetException(m_dwContext);
    return TRUE;
}

BOOL CHttpFile::QueryInfo(DWORD dwInfoLevel, LPVOID lpvBuffer, LPDWORD lpdwBufferLength, LPDWORD lpdwIndex) const
{
    return HttpQueryInfoA(m_hInternet, dwInfoLevel, lpvBuffer, lpdwBufferLength, lpdwIndex);
}

BOOL CHttpFile::QueryInfo(DWORD dwInfoLevel, CString& str, LPDWORD lpdwIndex) const
{
    str.Empty();
    dwInfoLevel &= ~(DWORD)HTTP_QUERY_FLAG_NUMBER;
    DWORD dwSize = 256;
    for (int nTry = 0; nTry < 4; ++nTry) {
        DWORD dwIndex = lpdwIndex != NULL ? *lpdwIndex : 0;
        DWORD dwLength = dwSize;
        LPSTR pBuffer = str.GetBuffer((int)dwSize);
        if (HttpQueryInfoA(m_hInternet, dwInfoLevel, pBuffer, &dwLength, lpdwIndex != NULL ? &dwIndex : NULL)) {
            str.ReleaseBuffer(dwLength < dwSize ? (int)dwLength : (int)dwSize);
            if (lpdwIndex != NULL)
                *lpdwIndex = dwIndex;
            return TRUE;
        }
        str.ReleaseBuffer(0);
        // The needed size comes back in dwLength; headers are bounded by WinInet.
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || dwLength <= dwSize || dwLength > (1u << 20))
            return FALSE;
        dwSize = dwLength + 1;
    }
    return FALSE;
}

BOOL CHttpFile::QueryInfo(DWORD dwInfoLevel, DWORD& dwResult, LPDWORD lpdwIndex) const
{
    DWORD dwValue = 0;
    DWORD dwLength = sizeof(dwValue);
    if (!HttpQueryInfoA(m_hInternet, dwInfoLevel | HTTP_QUERY_FLAG_NUMBER, &dwValue, &dwLength, lpdwIndex))
        return FALSE;
    dwResult = dwValue;
    return TRUE;
}

BOOL CHttpFile::QueryInfoStatusCode(DWORD& dwStatusCode) const
{
    dwStatusCode = 0;
    return QueryInfo(HTTP_QUERY_STATUS_CODE, dwStatusCode);
}
