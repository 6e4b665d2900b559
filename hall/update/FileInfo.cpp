#include "FileInfo.h"

#include "HttpContentLength.h"
#include "TextUnit.h"
#include "UpdateTuning.h"

#include <string.h>

namespace
{
bool CopyField(CHAR (&szField)[260], LPCSTR pszText)
{
    return TextCopyPath(szField, pszText);
}

bool StartsWithNoCase(const BYTE* pData, UINT nCount, LPCSTR pszText)
{
    size_t nText = strlen(pszText);
    return nCount >= nText && _strnicmp((LPCSTR)pData, pszText, nText) == 0;
}
} // namespace

CFileInfo::CFileInfo(CFileUpdate* pOwner, HWND hNotifyWnd, DWORD dwKind)
    : CUpdateTask(pOwner, hNotifyWnd, dwKind), m_dwVersion(0), m_nErrorCode(errNone), m_bFileOpen(false),
      m_bTempCreated(false), m_pHttpFile(NULL), m_pConnection(NULL),
      m_InternetSession(NULL, 1, PRE_CONFIG_INTERNET_ACCESS), m_nAnnounced(0), m_nReceived(0)
{
    m_szLocalPath[0] = '\0';
    m_szUrl[0] = '\0';
    m_szTempPath[0] = '\0';
    // Every blocking call of the worker ends within these, so a stop request
    // is seen soon even when the server stalls.
    m_InternetSession.SetOption(INTERNET_OPTION_CONNECT_TIMEOUT, g_UpdateTuning.dwConnectTimeout);
    m_InternetSession.SetOption(INTERNET_OPTION_SEND_TIMEOUT, g_UpdateTuning.dwReceiveTimeout);
    m_InternetSession.SetOption(INTERNET_OPTION_RECEIVE_TIMEOUT, g_UpdateTuning.dwReceiveTimeout);
}

CFileInfo::~CFileInfo()
{
    WaitForWorker();
    CleanUp();
}

bool CFileInfo::SetTarget(LPCSTR pszUrl, LPCSTR pszLocalPath, LPCSTR pszTempPath, DWORD dwVersion)
{
    m_dwVersion = dwVersion;
    return CopyField(m_szUrl, pszUrl) && CopyField(m_szLocalPath, pszLocalPath) &&
           CopyField(m_szTempPath, pszTempPath) && m_szLocalPath[0] != '\0' && m_szTempPath[0] != '\0';
}

LPCSTR CFileInfo::ErrorText(int nCode)
{
    switch (nCode) {
    case errNone: return "";
    case errUrl: return "URL解析错误, 请选择其他服务器进行尝试";
    case errRefused: return "服务器拒绝连接, 请选择其他服务器进行尝试";
    case errRedirect: return "重定向失败, 请选择其他服务器进行尝试";
    case errRedirectUrl: return "重定向URL解析错误, 请选择其他服务器进行尝试";
    case errNotHttp: return "不是HTTP连接, 请选择其他服务器进行尝试";
    case errServerFile: return "取得服务器文件失败, 请选择其他服务器进行尝试";
    case errLocalFile: return "创建本地文件失败";
    case errCancelled: return "主动取消连接";
    case errBadUrl: return "URL不正确";
    default: return "连接服务器失败, 请选择其他服务器进行尝试";
    }
}

bool CFileInfo::Fail(int nCode)
{
    m_nErrorCode = nCode;
    m_strErrorText = ErrorText(nCode);
    return false;
}

bool CFileInfo::OnThreadRun()
{
    StepResult result = stepFailed;
    try {
        result = RunStep();
    } catch (CException* pException) {
        // A broken transfer, or a temporary file that cannot be written.
        bool bLocal = pException->IsKindOf(RUNTIME_CLASS(CFileException));
        pException->Delete();
        Fail(IsCancelled() ? errCancelled : bLocal ? errLocalFile : errServerFile);
    }
    if (result == stepMore)
        return true;
    CleanUp();
    PostReport(result == stepDone ? WM_UPDATE_FINISHED : WM_UPDATE_FAILED, 0);
    return EndRun();
}

CFileInfo::StepResult CFileInfo::RunStep()
{
    if (IsCancelled()) {
        Fail(errCancelled);
        return stepFailed;
    }
    bool bGoesOn;
    if (!m_bFileOpen) {
        bGoesOn = OpenTransfer();
    } else {
        BYTE block[blockSize];
        UINT nRead = m_pHttpFile->Read(block, sizeof(block));
        if (nRead == 0)
            return Install() ? stepDone : stepFailed;
        bGoesOn = WriteBlock(block, nRead);
    }
    return bGoesOn ? stepMore : stepFailed;
}

bool CFileInfo::OpenTransfer()
{
    DWORD dwServiceType;
    CString strServer, strObject;
    INTERNET_PORT nPort;
    if (!AfxParseURL(m_szUrl, dwServiceType, strServer, strObject, nPort) ||
        (dwServiceType != AFX_INET_SERVICE_HTTP && dwServiceType != AFX_INET_SERVICE_HTTPS))
        return Fail(errServerFile);

    try {
        return SendRequest(dwServiceType, strServer, strObject, nPort);
    } catch (CException* pException) {
        pException->Delete();
        return Fail(IsCancelled() ? errCancelled : errServerFile);
    }
}

bool CFileInfo::SendRequest(DWORD dwServiceType, const CString& strServer, const CString& strObject,
                            INTERNET_PORT nPort)
{
    // The request is made before it is sent, so that Cancel can close it
    // while the worker waits for the answer.
    CHttpConnection* pConnection = m_InternetSession.GetHttpConnection(strServer, nPort);
    m_Lock.Lock();
    m_pConnection = pConnection;
    m_Lock.Unlock();
    DWORD dwFlags = INTERNET_FLAG_DONT_CACHE | INTERNET_FLAG_RELOAD;
    if (dwServiceType == AFX_INET_SERVICE_HTTPS)
        dwFlags |= INTERNET_FLAG_SECURE;
    CHttpFile* pFile =
        pConnection->OpenRequest(CHttpConnection::HTTP_VERB_GET, strObject, NULL, 1, NULL, NULL, dwFlags);
    m_Lock.Lock();
    m_pHttpFile = pFile;
    m_Lock.Unlock();
    if (IsCancelled())
        return Fail(errCancelled);
    m_pHttpFile->SendRequest();

    DWORD dwStatus = 0;
    if (!m_pHttpFile->QueryInfoStatusCode(dwStatus) || dwStatus != 200)
        return Fail(errServerFile);
    if (!QueryContentLength(*m_pHttpFile, m_nAnnounced) || m_nAnnounced > g_UpdateTuning.dwMaxFileSize)
        return Fail(errServerFile);

    // The first block decides whether this is the file at all; reads may
    // come in pieces, so it is gathered up to the length that tells.
    BYTE block[blockSize];
    UINT nCount = 0;
    while (nCount < minBodySize) {
        UINT nRead = m_pHttpFile->Read(block + nCount, sizeof(block) - nCount);
        if (nRead == 0)
            break;
        nCount += nRead;
    }
    // A server or proxy error page is not the file.
    if (nCount < minBodySize || StartsWithNoCase(block, nCount, "<html>") ||
        StartsWithNoCase(block, nCount, "<!DOCTYPE HTML PUBLIC"))
        return Fail(errServerFile);

    if (!m_TempFile.Open(m_szTempPath, CFile::modeCreate | CFile::modeReadWrite))
        return Fail(errServerFile);
    m_bTempCreated = true;
    m_bFileOpen = true;
    m_nReceived = 0;
    return WriteBlock(block, nCount);
}

bool CFileInfo::WriteBlock(const BYTE* pBlock, UINT nCount)
{
    m_nReceived += nCount;
    if (m_nReceived > m_nAnnounced)
        return Fail(errServerFile);
    m_TempFile.Write(pBlock, nCount);
    return true;
}

bool CFileInfo::Install()
{
    m_TempFile.Close();
    // A connection that ended early looks like the end of the body.
    if (m_nReceived != m_nAnnounced)
        return Fail(errServerFile);
    // One step: either the new file is in place or the old one still is.
    if (!MoveFileExA(m_szTempPath, m_szLocalPath, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return Fail(errLocalFile);
    m_bTempCreated = false;
    return true;
}

void CFileInfo::CleanUp()
{
    m_bFileOpen = false;
    m_Lock.Lock();
    CHttpFile* pFile = m_pHttpFile;
    CHttpConnection* pConnection = m_pConnection;
    m_pHttpFile = NULL;
    m_pConnection = NULL;
    m_Lock.Unlock();
    if (pFile != NULL) {
        pFile->Close();
        delete pFile;
    }
    if (pConnection != NULL) {
        pConnection->Close();
        delete pConnection;
    }
    if (m_TempFile.m_hFile != CFile::hFileNull)
        m_TempFile.Abort();
    if (m_bTempCreated)
        DeleteFileA(m_szTempPath);
    m_bTempCreated = false;
}

void CFileInfo::OnCancel()
{
    // Closing the request ends a send or read that waits on it.
    if (m_pHttpFile != NULL)
        m_pHttpFile->Close();
}
