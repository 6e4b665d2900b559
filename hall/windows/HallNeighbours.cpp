#include "HallNeighbours.h"

#include <string.h>

#include "GameTreeManager.h"
#include "GameTreeNode.h"
#include "GlobalUnits.h"
#include "HallApp.h"
#include "HallWindows.h"
#include "PlazaViewItem.h"
#include "RegisterDlg.h"
#include "RoomControlWnd.h"
#include "RoomViewItem.h"

namespace
{
CPlazaViewItem* PlazaView()
{
    CPlazaViewItem* pPlaza = g_GlobalUnits.GetPlazaView();
    return pPlaza != NULL && pPlaza->GetSafeHwnd() != NULL ? pPlaza : NULL;
}
} // namespace

void CHallNeighbours::RunRegister()
{
    CRegisterDlg dlg(AfxGetMainWnd());
    dlg.SetClientDataCenter(CHallApp::GetClientDataCenter());
    dlg.DoModal();
}

void CHallNeighbours::CloseChannelDialog()
{
    if (IRoomTabWnd* pRoomTabs = CHallWindows::GetRoomTabs())
        pRoomTabs->CloseChannelDialog();
}

void CHallNeighbours::EnterRoom(CGameTreeNode* pGame)
{
    IRoomTabWnd* pRoomTabs = CHallWindows::GetRoomTabs();
    CGameTreeManager* pTree = g_GlobalUnits.GetGameTreeManager();
    CGameTreeNode* pRoomNode = pGame != NULL ? pGame->GetChild(0) : NULL;
    if (pRoomTabs == NULL || pTree == NULL || pRoomNode == NULL)
        return;
    CGameRoom* pRoom = pTree->FindGameRoom(pRoomNode->GetItemData());
    if (pRoom != NULL)
        pRoomTabs->EnterRoom(pRoom, pRoomNode);
}

void CHallNeighbours::RefreshUserPanel()
{
    if (CPlazaViewItem* pPlaza = PlazaView())
        pPlaza->RepaintUserPanel();
}

void CHallNeighbours::RefreshGameList()
{
    if (CPlazaViewItem* pPlaza = PlazaView())
        pPlaza->GetGameListView().RebuildTree();
}

bool CHallNeighbours::CanCloseAllRooms()
{
    if (g_pRoomControlWnd == NULL)
        return true;
    for (INT_PTR i = 0; i < g_pRoomControlWnd->GetRoomCount(); ++i) {
        if (g_pRoomControlWnd->GetRoomView(i)->IsGameClientStarted())
            return false;
    }
    return true;
}

bool CHallNeighbours::CloseAllRooms()
{
    return g_pRoomControlWnd == NULL || g_pRoomControlWnd->CloseAllRooms();
}

void CHallNeighbours::LeaveHall()
{
    if (g_pRoomControlWnd != NULL)
        g_pRoomControlWnd->OnLeaveHall();
}

void CHallNeighbours::FlashRoomTab(WORD wItem)
{
    if (g_pRoomControlWnd != NULL)
        g_pRoomControlWnd->SetTabFlash(wItem);
}

void CHallNeighbours::ForwardOwnItem(const tagUserValueItem& item)
{
    if (g_pRoomControlWnd == NULL)
        return;
    // {u32 item, u16 count, 2 spare, i64 value}: what the game clients read.
    BYTE record[16] = {};
    memcpy(record, &item.dwItemID, 4);
    memcpy(record + 4, &item.wCount, 2);
    memcpy(record + 8, &item.llValue, 8);
    g_pRoomControlWnd->ForwardToGameClients(record);
}

void CHallNeighbours::ShowGameClientOfFirstRoom(bool bHidden)
{
    if (g_pRoomControlWnd != NULL && g_pRoomControlWnd->GetRoomCount() > 0)
        g_pRoomControlWnd->GetRoomView(0)->ShowGameClientWindow(bHidden ? 1 : 0);
}

void CHallNeighbours::ResetPersonalInfoState()
{
    if (g_pRoomControlWnd != NULL)
        g_pRoomControlWnd->ResetPersonalInfoState();
}
