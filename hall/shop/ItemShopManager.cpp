#include "ItemShopManager.h"

CItemShopManager::CItemShopManager() : m_Categories(10), m_pOwnItems(NULL) {}

CItemShopManager::~CItemShopManager()
{
    RemoveAll();
}

void CItemShopManager::AddItemCfg(WORD wCategory, CItemCfg* pItem)
{
    if (pItem == NULL)
        return;
    BAR_INFO* pBar = NULL;
    if (!m_Categories.Lookup(wCategory, pBar) || pBar == NULL) {
        pBar = new BAR_INFO;
        m_Categories.SetAt(wCategory, pBar);
    }
    for (INT_PTR i = 0; i < pBar->Items.GetSize(); i++) {
        if (pBar->Items[i] == pItem)
            return;
    }
    pBar->Items.Add(pItem);
}

BAR_INFO* CItemShopManager::GetCategoryList(WORD wCategory) const
{
    BAR_INFO* pBar = NULL;
    return m_Categories.Lookup(wCategory, pBar) ? pBar : NULL;
}

int CItemShopManager::GetItemCountOfCategory(WORD wCategory) const
{
    BAR_INFO* pBar = GetCategoryList(wCategory);
    return pBar != NULL ? (int)pBar->Items.GetSize() : 0;
}

CItemCfg* CItemShopManager::GetItemAt(int nIndex, WORD wCategory) const
{
    BAR_INFO* pBar = GetCategoryList(wCategory);
    if (pBar == NULL || nIndex < 0 || nIndex >= pBar->Items.GetSize())
        return NULL;
    return pBar->Items[nIndex];
}

CItemCfg* CItemShopManager::FindItemCfg(WORD wItemId) const
{
    POSITION pos = m_Categories.GetStartPosition();
    while (pos != NULL) {
        DWORD dwCategory = 0;
        BAR_INFO* pBar = NULL;
        m_Categories.GetNextAssoc(pos, dwCategory, pBar);
        if (pBar == NULL)
            continue;
        for (INT_PTR i = 0; i < pBar->Items.GetSize(); i++) {
            CItemCfg* pItem = pBar->Items[i];
            if (pItem == NULL)
                return NULL;
            if (pItem->GetItemId() == wItemId)
                return pItem;
        }
    }
    return NULL;
}

const tagOwnItem* CItemShopManager::FindOwnItemById16(WORD wItemId) const
{
    if (m_pOwnItems == NULL)
        return NULL;
    for (INT_PTR i = 0; i < m_pOwnItems->GetSize(); i++) {
        if ((WORD)m_pOwnItems->GetAt(i).dwItemID == wItemId)
            return &m_pOwnItems->GetData()[i];
    }
    return NULL;
}

WORD CItemShopManager::GetOwnItemCount(WORD wItemId) const
{
    const tagOwnItem* pItem = FindOwnItemById16(wItemId);
    return pItem != NULL ? pItem->wCount : 0;
}

LONGLONG CItemShopManager::GetOwnItemValue(WORD wItemId) const
{
    const tagOwnItem* pItem = FindOwnItemById16(wItemId);
    return pItem != NULL ? pItem->llValue : 0;
}

const tagOwnItem* CItemShopManager::FindOwnItem(DWORD dwItemId) const
{
    if (m_pOwnItems == NULL)
        return NULL;
    for (INT_PTR i = 0; i < m_pOwnItems->GetSize(); i++) {
        if (m_pOwnItems->GetAt(i).dwItemID == dwItemId)
            return &m_pOwnItems->GetData()[i];
    }
    return NULL;
}

CArray<CItemCfg*, CItemCfg*>* CItemShopManager::CollectOwnedItems()
{
    m_OwnedCfgs.RemoveAll();
    if (m_pOwnItems == NULL)
        return NULL;
    for (INT_PTR i = 0; i < m_pOwnItems->GetSize(); i++) {
        CItemCfg* pItem = FindItemCfg((WORD)m_pOwnItems->GetAt(i).dwItemID);
        if (pItem != NULL)
            m_OwnedCfgs.Add(pItem);
    }
    return &m_OwnedCfgs;
}

void CItemShopManager::RemoveAll()
{
    m_OwnedCfgs.RemoveAll();
    POSITION pos = m_Categories.GetStartPosition();
    while (pos != NULL) {
        DWORD dwCategory = 0;
        BAR_INFO* pBar = NULL;
        m_Categories.GetNextAssoc(pos, dwCategory, pBar);
        if (pBar == NULL)
            continue;
        for (INT_PTR i = 0; i < pBar->Items.GetSize(); i++)
            delete pBar->Items[i];
        delete pBar;
    }
    m_Categories.RemoveAll();
}
