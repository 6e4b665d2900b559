#include "CustomFaceManagerWnd.h"

#include <string.h>

#include <vector>

#include "GlobalUnits.h"
#include "Picture.h"
#include "PathName.h"
#include "TextUnit.h"

namespace
{
const UINT kWindowId = 1001;
} // namespace

BEGIN_MESSAGE_MAP(CCustomFaceManagerWnd, CWnd)
    ON_MESSAGE(WM_USER + 101, OnHallNotify)
    ON_MESSAGE(WM_USER + 102, OnHallNotify)
END_MESSAGE_MAP()

CCustomFaceManagerWnd::CCustomFaceManagerWnd()
    : m_pFileUpdate(g_GlobalUnits.GetFileUpdate()), m_pFaceCache(NULL), m_bCurrentPending(false), m_DownloadThread(this)
{
    memset(&m_CurrentRequest, 0, sizeof(m_CurrentRequest));
}

CCustomFaceManagerWnd::~CCustomFaceManagerWnd()
{
    // The worker uses the queue and the cache: it ends before they go.
    m_DownloadThread.StopDownloadThread();
    CSingleLock lock(&m_QueueLock, TRUE);
    m_RequestQueue.RemoveAll();
}

ICustomFaceRes* CCustomFaceManagerWnd::CreateFaceCache()
{
    if (!m_CustomFaceHelper.HasInterface())
        m_CustomFaceHelper.CreateInstance();
    return m_CustomFaceHelper.GetInterface();
}

bool CCustomFaceManagerWnd::OpenUserCache()
{
    const CString strWorkDirectory = g_GlobalUnits.GetWorkDirectory();

    char szUrl[1024] = "";
    GetPrivateProfileStringA("CustomFace", "dowloadnurl", "", szUrl, sizeof(szUrl),
                             strWorkDirectory + "config//" + "Urls.ini");
    CString strUrl = szUrl;
    strUrl.Remove(' ');
    if (!strUrl.IsEmpty() && strUrl[strUrl.GetLength() - 1] != '/')
        strUrl += '/';
    {
        CSingleLock lock(&m_QueueLock, TRUE);
        m_strDownloadUrl = strUrl;
    }

    char szTemp[MAX_PATH] = "";
    GetTempPathA(sizeof(szTemp), szTemp);
    m_strTempFolder = CString(szTemp) + "Tavrel\\custom\\";
    if (GetFileAttributesA(m_strTempFolder) == INVALID_FILE_ATTRIBUTES) {
        CreateDirectoryA(CString(szTemp) + "Tavrel\\", NULL);
        CreateDirectoryA(m_strTempFolder, NULL);
    }

    bool bOpen = false;
    {
        CSingleLock lock(&m_CacheLock, TRUE);
        if (m_pFaceCache == NULL)
            m_pFaceCache = CreateFaceCache();
        CreateDirectoryA(strWorkDirectory + "Config", NULL);
        CreateDirectoryA(strWorkDirectory + "Config\\Users\\", NULL);
        if (m_pFaceCache != NULL)
            bOpen = m_pFaceCache->OpenDatabase(strWorkDirectory + "Config\\Users\\" + "CUSTOM_FACE_FILE.db");
    }

    bool bThread = m_DownloadThread.StartThead();
    if (GetSafeHwnd() == NULL)
        Create(NULL, NULL, WS_CHILD, CRect(0, 0, 0, 0), CWnd::GetDesktopWindow(), kWindowId);
    return bOpen && bThread;
}

bool CCustomFaceManagerWnd::IsValidSign(LPCTSTR pszSign)
{
    return pszSign != NULL && strlen(pszSign) < sizeof(tagCustomFaceRequest::szSign) && IsPlainPathName(pszSign);
}

CString CCustomFaceManagerWnd::CachedSign(LPCTSTR pszSign)
{
    char szSign[sizeof(tagCustomFaceItem::szSign)];
    TextCopyField(szSign, pszSign);
    return szSign;
}

bool CCustomFaceManagerWnd::IsFaceCached(DWORD dwUserID, LPCTSTR pszSign)
{
    CSingleLock lock(&m_CacheLock, TRUE);
    if (m_pFaceCache == NULL || !m_pFaceCache->HasFace(dwUserID))
        return false;
    tagCustomFaceItem* pItem = m_pFaceCache->GetFaceItem(dwUserID);
    // The cache keeps a sign's first 32 bytes: the same cut is compared, so a
    // longer sign is found again rather than fetched for ever.
    return pItem != NULL && CachedSign(pszSign) == pItem->szSign;
}

bool CCustomFaceManagerWnd::HasCurrentFace(DWORD dwUserID, const CString& strSign)
{
    return IsFaceCached(dwUserID, strSign);
}

bool CCustomFaceManagerWnd::RequestFace(DWORD dwUserID, LPCTSTR pszSign)
{
    if (m_pFileUpdate == NULL)
        return false;
    if (IsFaceCached(dwUserID, pszSign))
        return true;
    if (!IsValidSign(pszSign))
        return false;
    {
        CSingleLock lock(&m_QueueLock, TRUE);
        m_CurrentRequest.dwUserID = dwUserID;
        TextCopyField(m_CurrentRequest.szSign, pszSign);
        m_bCurrentPending = true;
    }
    m_DownloadThread.AddWork(CCustomFaceThread::STATE_FETCH_CURRENT);
    return false;
}

int CCustomFaceManagerWnd::QueueFaceDownload(DWORD dwUserID, LPCTSTR pszSign)
{
    if (!IsValidSign(pszSign))
        return -1;
    tagCustomFaceRequest request;
    memset(&request, 0, sizeof(request));
    request.dwUserID = dwUserID;
    TextCopyField(request.szSign, pszSign);
    CSingleLock lock(&m_QueueLock, TRUE);
    return static_cast<int>(m_RequestQueue.Add(request));
}

bool CCustomFaceManagerWnd::WakeDownloadThread()
{
    bool bPending;
    {
        CSingleLock lock(&m_QueueLock, TRUE);
        bPending = !m_RequestQueue.IsEmpty();
    }
    if (bPending && m_pFileUpdate != NULL)
        m_DownloadThread.AddWork(CCustomFaceThread::STATE_FETCH_QUEUE);
    return false;
}

CString CCustomFaceManagerWnd::MakePictureUrl(const char* pszSign) const
{
    // Every byte but the unreserved ones of a URL is escaped.
    CString strSign;
    for (const char* p = pszSign; *p != '\0'; ++p) {
        BYTE c = (BYTE)*p;
        if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || strchr("-._~", c) != NULL)
            strSign += (char)c;
        else
            strSign.AppendFormat("%%%02X", c);
    }
    CString strUrl;
    strUrl.Format("%s%s.png", (LPCTSTR)m_strDownloadUrl, (LPCTSTR)strSign);
    return strUrl;
}

bool CCustomFaceManagerWnd::TakeCurrentRequest(tagCustomFaceRequest& request, CString& strUrl)
{
    CSingleLock lock(&m_QueueLock, TRUE);
    if (!m_bCurrentPending)
        return false;
    m_bCurrentPending = false;
    if (m_strDownloadUrl.IsEmpty())
        return false;
    request = m_CurrentRequest;
    strUrl = MakePictureUrl(request.szSign);
    return true;
}

bool CCustomFaceManagerWnd::TakeQueuedRequest(tagCustomFaceRequest& request, CString& strUrl)
{
    CSingleLock lock(&m_QueueLock, TRUE);
    // Without an address the queue is left as it is.
    if (m_RequestQueue.IsEmpty() || m_strDownloadUrl.IsEmpty())
        return false;
    request = m_RequestQueue[0];
    m_RequestQueue.RemoveAt(0);
    strUrl = MakePictureUrl(request.szSign);
    return true;
}

bool CCustomFaceManagerWnd::StoreFace(const tagCustomFaceRequest& request, const BYTE* pData, UINT nSize)
{
    if (pData == NULL || nSize == 0)
        return false;
    CPicture picture;
    if (!picture.Decode(pData, nSize) || !picture.IsValid())
        return false;
    // A picture too large for the readers' buffer is dropped like an invalid one.
    DWORD dwDumpSize = picture.DumpSize();
    if (dwDumpSize == 0 || dwDumpSize > kFaceDataSize)
        return false;
    std::vector<BYTE> dump(dwDumpSize);
    dwDumpSize = picture.Dump(dump.data(), static_cast<DWORD>(dump.size()));
    if (dwDumpSize == 0)
        return false;

    CSingleLock lock(&m_CacheLock, TRUE);
    return m_pFaceCache != NULL && m_pFaceCache->PutFace(request.dwUserID, request.szSign, dump.data(), dwDumpSize);
}

CString CCustomFaceManagerWnd::GetFaceSign(DWORD dwUserID)
{
    CSingleLock lock(&m_CacheLock, TRUE);
    tagCustomFaceItem* pItem = m_pFaceCache != NULL ? m_pFaceCache->GetFaceItem(dwUserID) : NULL;
    return pItem != NULL ? CString(pItem->szSign) : CString();
}

bool CCustomFaceManagerWnd::LoadCachedFace(DWORD dwUserID)
{
    CSingleLock lock(&m_CacheLock, TRUE);
    if (m_pFaceCache == NULL)
        return false;
    tagCustomFaceItem* pItem = m_pFaceCache->LoadFace(dwUserID);
    return pItem != NULL && pItem->szSign[0] != '\0';
}

bool CCustomFaceManagerWnd::ReadFacePicture(DWORD dwUserID, CPicture& picture)
{
    std::vector<BYTE> buffer(kFaceDataSize);
    UINT nSize = 0;
    {
        CSingleLock lock(&m_CacheLock, TRUE);
        if (m_pFaceCache == NULL)
            return false;
        nSize = m_pFaceCache->GetFaceData(dwUserID, buffer.data(), kFaceDataSize);
    }
    if (nSize == 0 || nSize > kFaceDataSize)
        return false;
    return picture.UnDump(buffer.data(), nSize) && picture.IsValid();
}

bool CCustomFaceManagerWnd::GetFaceSize(DWORD dwUserID, int& nWidth, int& nHeight)
{
    CPicture picture;
    if (!ReadFacePicture(dwUserID, picture))
        return false;
    nWidth = static_cast<int>(picture.GetWidth());
    nHeight = static_cast<int>(picture.GetHeight());
    return true;
}

HBITMAP CCustomFaceManagerWnd::CreateFaceBitmap(DWORD dwUserID)
{
    CPicture picture;
    if (!ReadFacePicture(dwUserID, picture))
        return NULL;
    return picture.MakeBitmap();
}

bool CCustomFaceManagerWnd::DrawFaceImage(DWORD dwUserID, CDC* pDC, const CRect& rect)
{
    CPicture picture;
    if (pDC == NULL || !ReadFacePicture(dwUserID, picture))
        return false;
    return picture.Draw(pDC->GetSafeHdc(), rect.left, rect.top, rect.Width(), rect.Height());
}

bool CCustomFaceManagerWnd::DrawFace(DWORD dwUserID, LPCTSTR pszSign, CDC* pDC, const CRect& rect)
{
    CSingleLock lock(&m_CacheLock, TRUE);
    if (!IsFaceCached(dwUserID, pszSign))
        return false;
    m_pFaceCache->DrawFaceInRect(dwUserID, pDC, &rect);
    return true;
}

bool CCustomFaceManagerWnd::DrawFaceInRect(DWORD dwUserID, LPCTSTR pszSign, CDC* pDC, int x, int y, int cx, int cy)
{
    return DrawFace(dwUserID, pszSign, pDC, CRect(x, y, x + cx, y + cy));
}

LRESULT CCustomFaceManagerWnd::OnHallNotify(WPARAM wParam, LPARAM lParam)
{
    return 1;
}
