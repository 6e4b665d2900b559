// The catalogue's items by category and the owned-item lookups.
#include <gtest/gtest.h>

#include "ItemShopManager.h"

namespace
{

CItemCfg* Item(WORD wId, const char* pszName)
{
    CItemCfg* pItem = new CItemCfg;
    pItem->SetItemId(wId);
    pItem->SetName(pszName);
    return pItem;
}

TEST(ItemShopManager, CategoriesAndLookups)
{
    CItemShopManager manager;
    CItemCfg* first = Item(7, "first");
    CItemCfg* same = Item(7, "same id");
    manager.AddItemCfg(3, first);
    manager.AddItemCfg(3, first); // the same object once
    manager.AddItemCfg(3, same);  // an equal id is another item
    manager.AddItemCfg(0, Item(8, "hidden"));
    EXPECT_EQ(manager.GetItemCountOfCategory(3), 2);
    EXPECT_EQ(manager.GetItemCountOfCategory(0), 1);
    EXPECT_EQ(manager.GetItemCountOfCategory(5), 0);
    EXPECT_EQ(manager.GetCategoryList(5), nullptr);
    EXPECT_EQ(manager.GetItemAt(0, 3), first);
    EXPECT_EQ(manager.GetItemAt(2, 3), nullptr);
    EXPECT_EQ(manager.GetItemAt(-1, 3), nullptr);
    EXPECT_EQ(manager.FindItemCfg(7), first);
    EXPECT_STREQ(manager.FindItemCfg(8)->GetName(), "hidden");
    EXPECT_EQ(manager.FindItemCfg(9), nullptr);
    manager.RemoveAll();
    EXPECT_EQ(manager.FindItemCfg(7), nullptr);
}

TEST(ItemShopManager, OwnedItems)
{
    CItemShopManager manager;
    manager.AddItemCfg(3, Item(5, "horn"));
    manager.AddItemCfg(3, Item(6, "card"));
    // Without the frame's list every lookup answers nothing.
    EXPECT_EQ(manager.GetOwnItemCount(5), 0);
    EXPECT_EQ(manager.GetOwnItemValue(5), 0);
    EXPECT_EQ(manager.FindOwnItem(5), nullptr);
    EXPECT_EQ(manager.CollectOwnedItems(), nullptr);

    COwnItemList owned;
    owned.Add({0x10005, 3, 0});      // counts compare 16 bits: id 5
    owned.Add({6, 1, 1800000000LL}); // expires in 2027
    owned.Add({99, 1, 0});           // not in the catalogue
    manager.SetOwnItems(&owned);
    EXPECT_EQ(manager.GetOwnItemCount(5), 3);
    EXPECT_EQ(manager.GetOwnItemValue(6), 1800000000LL);
    EXPECT_EQ(manager.FindOwnItem(5), nullptr); // ids compare 32 bits here
    ASSERT_NE(manager.FindOwnItem(0x10005), nullptr);
    CArray<CItemCfg*, CItemCfg*>* pOwned = manager.CollectOwnedItems();
    ASSERT_NE(pOwned, nullptr);
    ASSERT_EQ(pOwned->GetSize(), 2);
    EXPECT_EQ((*pOwned)[0]->GetItemId(), 5);
    EXPECT_EQ((*pOwned)[1]->GetItemId(), 6);
}

} // namespace
