// The in-memory task: fetches a zip archive into memory, hands every
// "Update.ini" inside it to the options store and writes nothing to disk.
#pragma once

#include "UpdateTask.h"

class IFileUpdateHost;

class CFileInMem : public CUpdateTask
{
public:
    enum
    {
        readBlock = 65535
    };

    CFileInMem(CFileUpdate* pOwner, IFileUpdateHost* pHost, HWND hNotifyWnd, DWORD dwKind);
    virtual ~CFileInMem();

    // Before the start; false for a URL of 260 characters or more.
    bool SetUrl(LPCSTR pszUrl);
    LPCSTR GetUrl() const { return m_szUrl; }

protected:
    bool OnThreadRun() override;

private:
    IFileUpdateHost* m_pHost;
    CHAR m_szUrl[260];
};
