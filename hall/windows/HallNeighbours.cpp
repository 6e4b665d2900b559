#include "HallNeighbours.h"

#include "GameTreeManager.h"
#include "GameTreeNode.h"
#include "GlobalUnits.h"
#include "HallApp.h"
#include "HallWindows.h"
#include "PlazaViewItem.h"
#include "RegisterDlg.h"

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
