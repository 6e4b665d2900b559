// The frame's neighbours as Tavrel.exe has them: the item shop, the
// registration form, the plaza view of the hall area and the room tab
// window's seam. Neighbours whose windows are not part of the hall yet keep
// the plain do-nothing answers.
#pragma once

#include "ItemShopNeighbours.h"

class CHallNeighbours : public CItemShopNeighbours
{
public:
    // The guest's registration form over the hall data centre.
    void RunRegister() override;
    void CloseChannelDialog() override;
    void EnterRoom(CGameTreeNode* pGame) override;
    void RefreshUserPanel() override;
    void RefreshGameList() override;

    // The room tab window of the hall window.
    bool CanCloseAllRooms() override;
    bool CloseAllRooms() override;
    void LeaveHall() override;
    void FlashRoomTab(WORD wItem) override;
    void ForwardOwnItem(const tagUserValueItem& item) override;
    void ShowGameClientOfFirstRoom(bool bHidden) override;
    void ResetPersonalInfoState() override;
};
