// One item of the shop's catalogue, as the item index files describe it.
#pragma once

#include <afx.h>

class CItemCfg
{
public:
    CItemCfg();
    virtual ~CItemCfg();

    WORD GetItemId() const { return m_wItemId; }
    void SetItemId(WORD wItemId) { m_wItemId = wItemId; }
    CString GetName() const { return m_szName; }
    void SetName(LPCSTR pszName);
    DWORD GetPrice() const { return m_dwPrice; }
    void SetPrice(DWORD dwPrice) { m_dwPrice = dwPrice; }
    WORD GetCategory() const { return m_wCategory; }
    void SetCategory(WORD wCategory) { m_wCategory = wCategory; }
    BYTE GetFirstFlag() const { return m_cbFirstFlag; }
    void SetFirstFlag(BYTE cbFlag) { m_cbFirstFlag = cbFlag != 0 ? 1 : 0; }
    BYTE GetSecondFlag() const { return m_cbSecondFlag; }
    void SetSecondFlag(BYTE cbFlag) { m_cbSecondFlag = cbFlag != 0 ? 1 : 0; }
    CString GetDescription() const { return m_szDescription; }
    void SetDescription(LPCSTR pszDescription);
    DWORD GetImageId() const { return m_dwImageId; }
    void SetImageId(DWORD dwImageId) { m_dwImageId = dwImageId; }
    // Counted by pieces (true) or limited in time (false).
    bool IsQuantityItem() const { return m_cbQuantityItem != 0; }
    void SetQuantityItem(BYTE cbQuantity) { m_cbQuantityItem = cbQuantity != 0 ? 1 : 0; }
    DWORD GetValue() const { return m_dwValue; }
    void SetValue(DWORD dwValue) { m_dwValue = dwValue; }

private:
    WORD m_wItemId;
    char m_szName[32];
    DWORD m_dwPrice;
    WORD m_wCategory;
    BYTE m_cbFirstFlag;
    BYTE m_cbSecondFlag;
    char m_szDescription[1024];
    DWORD m_dwImageId;
    BYTE m_cbQuantityItem;
    DWORD m_dwValue;
};
