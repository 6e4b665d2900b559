#include "ItemShopNeighbours.h"

#include "ItemShop.h"

void CItemShopNeighbours::SetShopDataCenter(CClientDataCenter* pDataCenter)
{
    GetItemShop()->SetDataCenter(pDataCenter);
}

bool CItemShopNeighbours::HasItemShop()
{
    return GetItemShop()->GetSafeHwnd() != NULL;
}

void CItemShopNeighbours::CreateItemShop()
{
    GetItemShop()->CreateShop();
}

void CItemShopNeighbours::ShowItemShop(int nItemID)
{
    CItemShop* pShop = GetItemShop();
    pShop->ShowShop();
    if (nItemID != -1)
        pShop->ShowBuyDialog(nItemID);
}

void CItemShopNeighbours::CancelItemShop()
{
    CItemShop* pShop = GetItemShop();
    if (pShop->GetSafeHwnd() != NULL)
        pShop->ShowWindow(SW_HIDE);
}

void CItemShopNeighbours::DestroyItemShop()
{
    CItemShop* pShop = GetItemShop();
    if (pShop->GetSafeHwnd() != NULL) {
        pShop->UnregisterNotify();
        pShop->DestroyWindow();
    }
}

void CItemShopNeighbours::SetOwnItems(const COwnItemArray& items)
{
    GetItemShop()->SetOwnItems(&items);
}

void CItemShopNeighbours::ClearItemShopItems()
{
    GetItemShop()->ClearMyItems();
}

void CItemShopNeighbours::RefreshItemShopUser()
{
    GetItemShop()->InvalidateUserInfo();
}

void CItemShopNeighbours::RemoveItemShopNotify()
{
    GetItemShop()->UnregisterNotify();
}
