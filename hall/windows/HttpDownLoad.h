// Blocking HTTP download helper, the build the notices and the update driver
// use: a body into a file or into memory.
#pragma once

#include "HttpDownLoadBase.h"

class CHttpDownLoad : public CHttpDownLoadBase
{
public:
    CHttpDownLoad();

    // The body into the file at pszPath (created or truncated). 1 only when
    // the file holds the whole body.
    BOOL DownloadToFile(LPCTSTR pszUrl, LPCTSTR pszPath);
    // The body into the data buffer; the status read is kept for GetErrorCode.
    BOOL DownloadToMemory(LPCTSTR pszUrl);

    // The body of the last memory download, followed by one zero byte that
    // GetSize does not count; owned by the helper until Reset.
    BYTE* GetData() const { return m_pData; }
    DWORD GetSize() const { return m_dwSize; }
    // The HTTP status of the last memory download, 0 when none was read.
    DWORD GetErrorCode() const { return m_dwStatus; }

private:
    BOOL IsWebUrl(LPCTSTR pszUrl) const;

    DWORD m_dwStatus;
};
