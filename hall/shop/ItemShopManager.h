// The catalogue's items by category, and the items the user owns.
#pragma once

#include <afxtempl.h>

#include "ItemCfg.h"
#include "ItemShopTypes.h"

class CItemShopManager
{
public:
    CItemShopManager();
    ~CItemShopManager();

    // Files the item under its category, unless that same object is there.
    void AddItemCfg(WORD wCategory, CItemCfg* pItem);
    BAR_INFO* GetCategoryList(WORD wCategory) const;
    int GetItemCountOfCategory(WORD wCategory) const;
    CItemCfg* GetItemAt(int nIndex, WORD wCategory) const;
    // The first item with the id, categories in map order.
    CItemCfg* FindItemCfg(WORD wItemId) const;

    // The frame's list of owned items (not owned here; null: none).
    void SetOwnItems(const COwnItemList* pOwnItems) { m_pOwnItems = pOwnItems; }
    const COwnItemList* GetOwnItems() const { return m_pOwnItems; }
    WORD GetOwnItemCount(WORD wItemId) const;
    LONGLONG GetOwnItemValue(WORD wItemId) const;
    const tagOwnItem* FindOwnItem(DWORD dwItemId) const;
    // The catalogue's items of the owned records, in their order; null
    // without an owned list.
    CArray<CItemCfg*, CItemCfg*>* CollectOwnedItems();

    // Deletes every item and category list.
    void RemoveAll();

private:
    // The first owned record whose id matches in its low 16 bits.
    const tagOwnItem* FindOwnItemById16(WORD wItemId) const;

    CItemShopManager(const CItemShopManager&) = delete;
    CItemShopManager& operator=(const CItemShopManager&) = delete;

    CMap<DWORD, DWORD, BAR_INFO*, BAR_INFO*> m_Categories;
    const COwnItemList* m_pOwnItems;
    CArray<CItemCfg*, CItemCfg*> m_OwnedCfgs;
};
