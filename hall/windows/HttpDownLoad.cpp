#include "HttpDownLoad.h"

#include "HttpTuning.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

CHttpDownLoad::CHttpDownLoad() : m_dwStatus(0) {}

BOOL CHttpDownLoad::IsWebUrl(LPCTSTR pszUrl) const
{
    DWORD dwServiceType = GetServiceType(pszUrl);
    return dwServiceType == AFX_INET_SERVICE_HTTP || dwServiceType == AFX_INET_SERVICE_HTTPS;
}

BOOL CHttpDownLoad::DownloadToFile(LPCTSTR pszUrl, LPCTSTR pszPath)
{
    if (!IsWebUrl(pszUrl) || pszPath == NULL || !Open(pszUrl) || QueryStatus() != 200)
        return FALSE;

    // The body goes beside the target and replaces it only when whole, so a
    // failed download leaves the file that was there.
    CString strPart = CString(pszPath) + ".part";
    FILE* pFile = fopen(strPart, "wb");
    if (pFile == NULL)
        return FALSE;
    BOOL bRead = ReadBody(
        [pFile](const BYTE* pBlock, UINT nCount) -> BOOL { return fwrite(pBlock, 1, nCount, pFile) == nCount; });
    // A file that could not be written out is no download either.
    BOOL bFlushed = fflush(pFile) == 0;
    BOOL bClosed = fclose(pFile) == 0;
    if (bRead && bFlushed && bClosed &&
        MoveFileExA(strPart, pszPath, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return TRUE;
    DeleteFileA(strPart);
    return FALSE;
}

BOOL CHttpDownLoad::DownloadToMemory(LPCTSTR pszUrl)
{
    m_dwStatus = 0;
    if (!IsWebUrl(pszUrl) || !Open(pszUrl))
        return FALSE;
    m_dwStatus = QueryStatus();
    if (m_dwStatus != 200)
        return FALSE;

    // Sized once from the announced length; grown as it comes when there is none.
    ULONGLONG nAnnounced = 0;
    SIZE_T nCapacity = 4096;
    if (QueryContentLength(nAnnounced)) {
        if (nAnnounced > g_HttpTuning.dwMaxHelperBody)
            return FALSE;
        nCapacity = (SIZE_T)nAnnounced;
    }
    BYTE* pBuffer = (BYTE*)malloc(nCapacity + 1);
    if (pBuffer == NULL)
        return FALSE;
    SIZE_T nSize = 0;
    BOOL bRead = ReadBody([&](const BYTE* pBlock, UINT nCount) -> BOOL {
        if (nSize + nCount > nCapacity) {
            SIZE_T nNew = nCapacity < 4096 ? 4096 : nCapacity * 2;
            while (nNew < nSize + nCount)
                nNew *= 2;
            BYTE* pNew = (BYTE*)realloc(pBuffer, nNew + 1);
            if (pNew == NULL)
                return FALSE;
            pBuffer = pNew;
            nCapacity = nNew;
        }
        memcpy(pBuffer + nSize, pBlock, nCount);
        nSize += nCount;
        return TRUE;
    });
    if (!bRead) {
        free(pBuffer);
        return FALSE;
    }
    pBuffer[nSize] = 0;
    m_pData = pBuffer;
    m_dwSize = (DWORD)nSize;
    return TRUE;
}
