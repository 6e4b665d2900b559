#include "HttpDownLoadBase.h"

#include "HttpContentLength.h"
#include "HttpTuning.h"

#include <stdlib.h>
#include <string.h>

namespace
{
const UINT kCopyBlockSize = 1024;

// Certificate and secure-channel failures: sending again cannot help, and the
// checks are never relaxed, so nothing forged is taken.
bool IsSecurityError(DWORD dwError)
{
    switch (dwError) {
    case ERROR_INTERNET_INVALID_CA:
    case ERROR_INTERNET_SEC_CERT_DATE_INVALID:
    case ERROR_INTERNET_SEC_CERT_CN_INVALID:
    case ERROR_INTERNET_SEC_CERT_ERRORS:
    case ERROR_INTERNET_SEC_CERT_NO_REV:
    case ERROR_INTERNET_SEC_CERT_REV_FAILED:
    case ERROR_INTERNET_SEC_CERT_REVOKED:
    case ERROR_INTERNET_SEC_INVALID_CERT:
    case ERROR_INTERNET_CLIENT_AUTH_CERT_NEEDED:
    case ERROR_INTERNET_SECURITY_CHANNEL_ERROR:
    case ERROR_INTERNET_HTTPS_TO_HTTP_ON_REDIR: return true;
    default: return false;
    }
}
} // namespace

CHttpDownLoadBase::CHttpDownLoadBase()
    : m_pSession(NULL), m_pFile(NULL), m_pConnection(NULL), m_dwTimeout(g_HttpTuning.dwHelperTimeout), m_nRetryCount(0),
      m_pData(NULL), m_dwSize(0)
{}

CHttpDownLoadBase::~CHttpDownLoadBase()
{
    Reset();
}

void CHttpDownLoadBase::Reset()
{
    if (m_pFile != NULL) {
        m_pFile->Close();
        delete m_pFile;
        m_pFile = NULL;
    }
    if (m_pConnection != NULL) {
        m_pConnection->Close();
        delete m_pConnection;
        m_pConnection = NULL;
    }
    if (m_pSession != NULL) {
        m_pSession->Close();
        delete m_pSession;
        m_pSession = NULL;
    }
    free(m_pData);
    m_pData = NULL;
    m_dwSize = 0;
}

DWORD CHttpDownLoadBase::GetServiceType(LPCTSTR pszUrl)
{
    if (pszUrl == NULL || GetFileAttributesA(pszUrl) != INVALID_FILE_ATTRIBUTES)
        return AFX_INET_SERVICE_FILE;
    DWORD dwServiceType;
    CString strServer, strObject;
    INTERNET_PORT nPort;
    if (!AfxParseURL(pszUrl, dwServiceType, strServer, strObject, nPort))
        return AFX_INET_SERVICE_FILE;
    return dwServiceType;
}

BOOL CHttpDownLoadBase::Open(LPCTSTR pszUrl)
{
    // Always from empty: whatever an earlier failure left is dropped here, so
    // one failed download never fails the next.
    Reset();
    m_strUrl = pszUrl != NULL ? pszUrl : "";

    DWORD dwServiceType;
    CString strServer, strObject;
    INTERNET_PORT nPort;
    if (!AfxParseURL(m_strUrl, dwServiceType, strServer, strObject, nPort) || !CreateConnection(m_strUrl))
        return FALSE;
    if (!OpenRequest(strObject, dwServiceType)) {
        Reset();
        return FALSE;
    }
    FollowRedirects(m_strUrl, TRUE);
    return TRUE;
}

BOOL CHttpDownLoadBase::CreateConnection(LPCTSTR pszUrl)
{
    try {
        m_pSession = new CInternetSession(NULL, 1, PRE_CONFIG_INTERNET_ACCESS, NULL, NULL, 0);
        m_nRetryCount = 0;
        m_pSession->SetOption(INTERNET_OPTION_CONNECT_TIMEOUT, m_dwTimeout);
        m_pSession->SetOption(INTERNET_OPTION_DATA_RECEIVE_TIMEOUT, m_dwTimeout);
        m_pSession->SetOption(INTERNET_OPTION_CONNECT_RETRIES, (DWORD)3);

        DWORD dwServiceType;
        CString strServer, strObject;
        INTERNET_PORT nPort;
        if (!AfxParseURL(pszUrl, dwServiceType, strServer, strObject, nPort)) {
            Reset();
            return FALSE;
        }
        m_pConnection = m_pSession->GetHttpConnection(strServer, nPort, NULL, NULL);
    } catch (CException* pException) {
        pException->Delete();
        Reset();
        return FALSE;
    }
    return TRUE;
}

BOOL CHttpDownLoadBase::OpenRequest(LPCTSTR pszObject, DWORD dwServiceType)
{
    if (m_pConnection == NULL)
        return FALSE;
    if (m_pFile != NULL) {
        m_pFile->Close();
        delete m_pFile;
        m_pFile = NULL;
    }

    // Redirects are followed here, bounded: WinInet on its own may follow a
    // loop for ever.
    DWORD dwFlags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_KEEP_CONNECTION | INTERNET_FLAG_NO_AUTO_REDIRECT;
    if (dwServiceType == AFX_INET_SERVICE_HTTPS)
        dwFlags |= INTERNET_FLAG_SECURE;
    try {
        m_pFile = m_pConnection->OpenRequest(CHttpConnection::HTTP_VERB_GET, pszObject, NULL, 1, NULL, NULL, dwFlags);
    } catch (CException* pException) {
        pException->Delete();
        return FALSE;
    }

    // At most three sends for one session; a failed last send shows in the status.
    for (;;) {
        try {
            m_pFile->SendRequest(NULL, 0, NULL, 0);
            break;
        } catch (CException* pException) {
            if (!OnRequestError(m_pFile, pException) || m_nRetryCount++ >= 2)
                break;
        }
    }
    return TRUE;
}

void CHttpDownLoadBase::FollowRedirects(LPCTSTR pszRequestUrl, BOOL bMayChangeServer)
{
    CString strCurrent = pszRequestUrl;
    for (int nRedirects = 0; nRedirects < g_HttpTuning.nMaxRedirects; ++nRedirects) {
        DWORD dwStatus = QueryStatus();
        if (dwStatus != 301 && dwStatus != 302 && dwStatus != 303 && dwStatus != 307 && dwStatus != 308)
            return;
        CString strLocation, strTarget;
        if (!m_pFile->QueryInfo(HTTP_QUERY_LOCATION, strLocation) ||
            !ResolveLocation(strCurrent, strLocation, strTarget))
            return;

        DWORD dwFromType, dwToType;
        CString strFromServer, strToServer, strFromObject, strToObject;
        INTERNET_PORT nFromPort, nToPort;
        if (!AfxParseURL(strCurrent, dwFromType, strFromServer, strFromObject, nFromPort) ||
            !AfxParseURL(strTarget, dwToType, strToServer, strToObject, nToPort))
            return;
        if ((dwToType != AFX_INET_SERVICE_HTTP && dwToType != AFX_INET_SERVICE_HTTPS) ||
            (dwFromType == AFX_INET_SERVICE_HTTPS && dwToType != AFX_INET_SERVICE_HTTPS))
            return;
        BOOL bSameServer =
            dwFromType == dwToType && nFromPort == nToPort && strFromServer.CompareNoCase(strToServer) == 0;
        if (!bSameServer) {
            if (!bMayChangeServer)
                return;
            try {
                CHttpConnection* pConnection = m_pSession->GetHttpConnection(strToServer, nToPort, NULL, NULL);
                m_pFile->Close();
                delete m_pFile;
                m_pFile = NULL;
                m_pConnection->Close();
                delete m_pConnection;
                m_pConnection = pConnection;
            } catch (CException* pException) {
                pException->Delete();
                return;
            }
        }
        if (!OpenRequest(strToObject, dwToType))
            return;
        strCurrent = strTarget;
    }
}

BOOL CHttpDownLoadBase::ResolveLocation(LPCTSTR pszBase, LPCTSTR pszLocation, CString& strTarget)
{
    CString strBase = pszBase;
    CString strLocation = pszLocation;
    strLocation.Trim();
    if (strLocation.IsEmpty())
        return FALSE;
    int nSchemeEnd = strBase.Find("://");
    if (nSchemeEnd <= 0)
        return FALSE;
    if (strLocation.Find("://") > 0)
        strTarget = strLocation;
    else if (strLocation.Left(2) == "//")
        strTarget = strBase.Left(nSchemeEnd + 1) + strLocation;
    else {
        // Authority of the base ends at its first '/', '?' or '#'.
        int nPathStart = nSchemeEnd + 3;
        while (nPathStart < strBase.GetLength() && strchr("/?#", strBase[nPathStart]) == NULL)
            ++nPathStart;
        if (strLocation[0] == '/')
            strTarget = strBase.Left(nPathStart) + strLocation;
        else {
            CString strPath = strBase.Mid(nPathStart);
            int nQuery = strPath.FindOneOf("?#");
            if (nQuery >= 0)
                strPath = strPath.Left(nQuery);
            int nSlash = strPath.ReverseFind('/');
            strTarget =
                strBase.Left(nPathStart) + (nSlash >= 0 ? strPath.Left(nSlash + 1) : CString("/")) + strLocation;
        }
    }
    return TRUE;
}

BOOL CHttpDownLoadBase::OnRequestError(CHttpFile* pFile, CException* pException)
{
    BOOL bAgain = FALSE;
    CInternetException* pInternet = DYNAMIC_DOWNCAST(CInternetException, pException);
    if (pInternet != NULL)
        bAgain = pInternet->m_dwError != ERROR_INTERNET_INVALID_URL && !IsSecurityError(pInternet->m_dwError);
    pException->Delete();
    return bAgain;
}

DWORD CHttpDownLoadBase::QueryStatus() const
{
    DWORD dwStatus = 0;
    if (m_pFile == NULL || !m_pFile->QueryInfoStatusCode(dwStatus))
        return 0;
    return dwStatus;
}

BOOL CHttpDownLoadBase::QueryContentLength(ULONGLONG& nLength) const
{
    return m_pFile != NULL && ::QueryContentLength(*m_pFile, nLength);
}

BOOL CHttpDownLoadBase::ReadBody(const std::function<BOOL(const BYTE* pBlock, UINT nCount)>& pfnWrite)
{
    ULONGLONG nAnnounced = 0;
    BOOL bAnnounced = QueryContentLength(nAnnounced);
    if (bAnnounced && nAnnounced > g_HttpTuning.dwMaxHelperBody)
        return FALSE;

    ULONGLONG nTotal = 0;
    try {
        BYTE block[kCopyBlockSize];
        for (;;) {
            UINT nRead = m_pFile->Read(block, kCopyBlockSize);
            if (nRead == 0)
                break;
            nTotal += nRead;
            if (nTotal > g_HttpTuning.dwMaxHelperBody || !pfnWrite(block, nRead))
                return FALSE;
        }
    } catch (CException* pException) {
        // A broken transfer ends here rather than in the caller's worker thread.
        pException->Delete();
        return FALSE;
    }
    // A body cut short must not pass for the whole one.
    return !bAnnounced || nTotal == nAnnounced;
}
