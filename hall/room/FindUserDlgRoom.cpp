// The find-player dialog's calls into the room view, apart from the list's
// own headers (the view names the player-list columns its own way).
#include "FindUserDlg.h"

#include "RoomViewItem.h"

CUserManager* CFindUserDlg::RoomUsers() const
{
    CRoomDataCenter* pDataCenter = m_pView != NULL ? m_pView->GetRoomDataCenter() : NULL;
    return pDataCenter != NULL ? pDataCenter->GetUserManager() : NULL;
}

void CFindUserDlg::ShowRoomUserMenu(CUserItem* pUserItem, int x, int y)
{
    if (m_pView != NULL)
        m_pView->ShowUserMenu(pUserItem, x, y, false);
}

const void* CFindUserDlg::RoomColumns(WORD& wCount) const
{
    wCount = 0;
    if (m_pView == NULL)
        return NULL;
    const tagColumnDescribe& columns = m_pView->GetUserColumns();
    wCount = columns.wColumnCount < 32 ? columns.wColumnCount : 32;
    return columns.ColumnItem;
}
