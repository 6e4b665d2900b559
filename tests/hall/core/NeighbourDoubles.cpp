// Doubles of the windows of other parts of the hall that the global units
// call: the room tab window, the room view, the frame and the download window.
#include "NeighbourDoubles.h"

#include "room/RoomControlWnd.h"
#include "room/RoomViewItem.h"
#include "update/DownLoadDlg.h"
#include "windows/GameFrame.h"

tagNeighbourLog g_NeighbourLog;

CRoomControlWnd* g_pRoomControlWnd = NULL;

void CRoomControlWnd::ShowWebPage(LPCSTR url, BYTE flag)
{
    g_NeighbourLog.shownWebPages.push_back(url);
}

void CRoomViewItem::BeginWaitStatus()
{
    ++g_NeighbourLog.beginWait;
}

void CRoomViewItem::EndWaitStatus()
{
    ++g_NeighbourLog.endWait;
}

CCustomFaceManagerWnd* CGameFrame::GetCustomFaceManager()
{
    return reinterpret_cast<CCustomFaceManagerWnd*>(this);
}

CDownLoadDlg::CDownLoadDlg() {}

CDownLoadDlg::~CDownLoadDlg() {}
