// The custom-face manager: players' own face pictures, fetched on demand from
// the configured web address by its download thread, kept in the custom-face
// cache of Brindle.dll and drawn from there.
//
// The queue and the current request are shared with the download thread under
// one lock; every call into the cache module goes through a second one.
#pragma once

#include <afxmt.h>
#include <afxtempl.h>
#include <afxwin.h>

#include "CustomFaceThread.h"
#include "ICustomFaceRes.h"

class CFileUpdate;
class CPicture;

// One face to fetch.
struct tagCustomFaceRequest
{
    DWORD dwUserID;
    char szSign[64];
};
static_assert(sizeof(tagCustomFaceRequest) == 68, "request layout");

class CCustomFaceManagerWnd : public CWnd
{
    friend class CCustomFaceThread;

public:
    // The largest serialised picture kept.
    static const UINT kFaceDataSize = 1024 * 1024;

    CCustomFaceManagerWnd();
    virtual ~CCustomFaceManagerWnd();

    // Reads the download address, opens the cache under the program folder,
    // starts the download thread and creates the manager's window. True when
    // the cache is open and the thread runs.
    bool OpenUserCache();

    // True when the cache holds the user's face under exactly this sign.
    bool IsFaceCached(DWORD dwUserID, LPCTSTR pszSign);
    bool HasCurrentFace(DWORD dwUserID, const CString& strSign);
    // True when the face is cached; otherwise starts fetching it and answers
    // false (the caller draws a default picture meanwhile).
    bool RequestFace(DWORD dwUserID, LPCTSTR pszSign);
    // Appends to the queue that WakeDownloadThread starts; the index, or -1
    // for a sign that no face can have.
    int QueueFaceDownload(DWORD dwUserID, LPCTSTR pszSign);
    bool WakeDownloadThread();

    // The sign of the user's cached face, copied under the cache lock (the
    // download thread may rewrite the cache's item at any time); empty when
    // none is cached.
    CString GetFaceSign(DWORD dwUserID);
    bool LoadCachedFace(DWORD dwUserID);
    bool GetFaceSize(DWORD dwUserID, int& nWidth, int& nHeight);
    // A bitmap the caller deletes, or null.
    HBITMAP CreateFaceBitmap(DWORD dwUserID);
    bool DrawFaceImage(DWORD dwUserID, CDC* pDC, const CRect& rect);
    bool DrawFace(DWORD dwUserID, LPCTSTR pszSign, CDC* pDC, const CRect& rect);
    bool DrawFaceInRect(DWORD dwUserID, LPCTSTR pszSign, CDC* pDC, int x, int y, int cx, int cy);

    // A sign names a file on the server: 1 to 63 bytes, one plain file name
    // (PathName.h); what a URL cannot carry is escaped there.
    static bool IsValidSign(LPCTSTR pszSign);
    // True while the download thread has work pending or in hand.
    bool IsDownloading() const { return m_DownloadThread.IsWorking(); }

protected:
    // The cache module, created through its holder on first use. The manager
    // does not own what this answers.
    virtual ICustomFaceRes* CreateFaceCache();

    afx_msg LRESULT OnHallNotify(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    // Download thread side: each takes one request and its picture address
    // under the queue lock; false when there is none or no address is set.
    bool TakeCurrentRequest(tagCustomFaceRequest& request, CString& strUrl);
    bool TakeQueuedRequest(tagCustomFaceRequest& request, CString& strUrl);
    // Decodes the downloaded bytes and puts a valid picture into the cache.
    bool StoreFace(const tagCustomFaceRequest& request, const BYTE* pData, UINT nSize);

    CString MakePictureUrl(const char* pszSign) const;
    // The sign as the cache keeps it (its first 32 bytes, whole characters).
    static CString CachedSign(LPCTSTR pszSign);
    bool ReadFacePicture(DWORD dwUserID, CPicture& picture);

    CFileUpdate* m_pFileUpdate;
    CString m_strDownloadUrl; // blanks removed, ends with '/'; empty: nothing is fetched
    CString m_strTempFolder;
    CCustomFaceHelper m_CustomFaceHelper;
    ICustomFaceRes* m_pFaceCache;
    CArray<tagCustomFaceRequest, const tagCustomFaceRequest&> m_RequestQueue;
    tagCustomFaceRequest m_CurrentRequest;
    bool m_bCurrentPending;
    mutable CCriticalSection m_QueueLock;
    CCriticalSection m_CacheLock;
    CCustomFaceThread m_DownloadThread;
};
