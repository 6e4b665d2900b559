#include "RoomChannelWnd.h"

BEGIN_MESSAGE_MAP(CRoomChannelWnd, CWnd)
    ON_WM_COPYDATA()
END_MESSAGE_MAP()

bool CRoomChannelWnd::CreateChannelWindow()
{
    CRect rect(0, 0, 0, 0);
    return Create(NULL, NULL, WS_CHILD, rect, GetDesktopWindow(), 10) != FALSE;
}

BOOL CRoomChannelWnd::OnCopyData(CWnd* pWnd, COPYDATASTRUCT* pCopyData)
{
    m_RecvCopyData.OnCopyData(pWnd != NULL ? pWnd->GetSafeHwnd() : NULL, pCopyData);
    return TRUE;
}
