#include "FaceHttpDownLoad.h"

CFaceHttpDownLoad::CFaceHttpDownLoad() {}

BOOL CFaceHttpDownLoad::IsWebUrl(LPCTSTR pszUrl) const
{
    DWORD dwServiceType = GetServiceType(pszUrl);
    return dwServiceType == AFX_INET_SERVICE_HTTP || dwServiceType == AFX_INET_SERVICE_HTTPS;
}

BOOL CFaceHttpDownLoad::DownloadToStream(LPCTSTR pszUrl, CFile* pStream)
{
    if (pStream == NULL || !IsWebUrl(pszUrl) || !Open(pszUrl) || QueryStatus() != 200)
        return FALSE;
    return ReadToStream(pStream);
}

BOOL CFaceHttpDownLoad::DownloadBatchToStream(LPCTSTR pszUrl, CFile* pStream)
{
    if (pStream == NULL || !IsWebUrl(pszUrl) || !Connect(pszUrl))
        return FALSE;
    DWORD dwServiceType;
    CString strServer, strObject;
    INTERNET_PORT nPort;
    if (!AfxParseURL(pszUrl, dwServiceType, strServer, strObject, nPort) || !OpenRequest(strObject, dwServiceType))
        return FALSE;
    // The batch stays on its connection's server.
    FollowRedirects(pszUrl, FALSE);
    if (QueryStatus() != 200)
        return FALSE;
    return ReadToStream(pStream);
}

BOOL CFaceHttpDownLoad::Connect(LPCTSTR pszUrl)
{
    DWORD dwServiceType;
    CString strServer, strObject;
    INTERNET_PORT nPort;
    if (!AfxParseURL(pszUrl, dwServiceType, strServer, strObject, nPort))
        return FALSE;
    if (m_pConnection != NULL) {
        // Another server's object must not be asked of this one. The held
        // connection was made for m_strUrl.
        DWORD dwHeldType;
        CString strHeldServer, strHeldObject;
        INTERNET_PORT nHeldPort;
        return AfxParseURL(m_strUrl, dwHeldType, strHeldServer, strHeldObject, nHeldPort) &&
               dwServiceType == dwHeldType && nPort == nHeldPort && strServer.CompareNoCase(strHeldServer) == 0;
    }
    // A session left without its connection is dropped before starting again.
    Reset();
    m_strUrl = pszUrl;
    return CreateConnection(m_strUrl);
}

BOOL CFaceHttpDownLoad::ReadToStream(CFile* pStream)
{
    BOOL bRead = ReadBody([pStream](const BYTE* pBlock, UINT nCount) -> BOOL {
        pStream->Write(pBlock, nCount);
        return TRUE;
    });
    if (!bRead)
        return FALSE;
    try {
        pStream->Flush();
    } catch (CException* pException) {
        pException->Delete();
        return FALSE;
    }
    return TRUE;
}
