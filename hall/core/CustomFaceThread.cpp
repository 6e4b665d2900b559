#include "CustomFaceThread.h"

#include <afxmemfile.h>

#include "CustomFaceManagerWnd.h"
#include "windows/FaceHttpDownLoad.h"

namespace
{
// Face bodies grow the stream by this much at a time.
const UINT kStreamGrowth = 1024;

BYTE* StreamData(CMemFile& stream, UINT& nSize)
{
    nSize = static_cast<UINT>(stream.GetLength());
    return stream.Detach();
}
} // namespace

CCustomFaceThread::CCustomFaceThread(CCustomFaceManagerWnd* pOwner)
    : m_lState(STATE_IDLE), m_lRunning(0), m_pOwner(pOwner), m_WakeEvent(FALSE, FALSE), m_lStopping(0)
{}

CCustomFaceThread::~CCustomFaceThread()
{
    StopDownloadThread();
}

void CCustomFaceThread::AddWork(DWORD dwState)
{
    InterlockedOr(&m_lState, static_cast<LONG>(dwState));
    ResumeDownloadThread();
}

void CCustomFaceThread::ResumeDownloadThread()
{
    m_WakeEvent.SetEvent();
}

void CCustomFaceThread::SuspendDownloadThread()
{
    InterlockedExchange(&m_lRunning, 0);
    WaitForSingleObject(m_WakeEvent, INFINITE);
    InterlockedExchange(&m_lRunning, 1);
}

void CCustomFaceThread::StopDownloadThread()
{
    InterlockedExchange(&m_lStopping, 1);
    m_WakeEvent.SetEvent();
    // A fetch in hand ends within the download helper's time-outs.
    StopThread(INFINITE);
    InterlockedExchange(&m_lStopping, 0);
    InterlockedExchange(&m_lRunning, 0);
}

bool CCustomFaceThread::IsWorking() const
{
    // The worker marks itself running before it takes the state, so no
    // moment shows neither.
    return InterlockedCompareExchange(&m_lState, 0, 0) != 0 || InterlockedCompareExchange(&m_lRunning, 0, 0) != 0;
}

bool CCustomFaceThread::OnThreadRun()
{
    if (IsStopping())
        return false;
    InterlockedExchange(&m_lRunning, 1);
    DWORD dwState = static_cast<DWORD>(InterlockedExchange(&m_lState, STATE_IDLE));
    if (dwState == STATE_IDLE) {
        SuspendDownloadThread();
        return true;
    }
    if (dwState & STATE_FETCH_CURRENT)
        FetchCurrentFace();
    if (dwState & STATE_FETCH_QUEUE)
        FetchQueuedFaces();
    return true;
}

void CCustomFaceThread::FetchCurrentFace()
{
    tagCustomFaceRequest request;
    CString strUrl;
    if (!m_pOwner->TakeCurrentRequest(request, strUrl))
        return;
    CFaceHttpDownLoad download;
    CMemFile stream(kStreamGrowth);
    if (download.DownloadToStream(strUrl, &stream)) {
        UINT nSize = 0;
        BYTE* pData = StreamData(stream, nSize);
        m_pOwner->StoreFace(request, pData, nSize);
        free(pData);
    }
}

void CCustomFaceThread::FetchQueuedFaces()
{
    // One helper, so the whole batch shares its connection.
    CFaceHttpDownLoad download;
    while (!IsStopping()) {
        // A face asked for by a window goes before the rest of the queue.
        FetchCurrentFace();

        tagCustomFaceRequest request;
        CString strUrl;
        if (!m_pOwner->TakeQueuedRequest(request, strUrl))
            break;
        CMemFile stream(kStreamGrowth);
        if (download.DownloadBatchToStream(strUrl, &stream)) {
            UINT nSize = 0;
            BYTE* pData = StreamData(stream, nSize);
            m_pOwner->StoreFace(request, pData, nSize);
            free(pData);
        }
    }
}
