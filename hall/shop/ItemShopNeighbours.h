// The frame's calls into the item shop, carried to the process's one shop.
// The application's neighbours object derives from this.
#pragma once

#include "FrameNeighbours.h"

class CClientDataCenter;

class CItemShopNeighbours : public CFrameNeighbours
{
public:
    // The data centre the shop listens to and buys through.
    void SetShopDataCenter(CClientDataCenter* pDataCenter);

    bool HasItemShop() override;
    void CreateItemShop() override;
    void ShowItemShop(int nItemID) override;
    void CancelItemShop() override;
    void DestroyItemShop() override;
    void SetOwnItems(const COwnItemArray& items) override;
    void ClearItemShopItems() override;
    void RefreshItemShopUser() override;
    void RemoveItemShopNotify() override;
};
