// Small fixtures of the shop window tests: catalogue items, solid pictures
// and a parent window that records the owned-item bar's use message.
#pragma once

#include <afxwin.h>

#include <memory>
#include <string>
#include <vector>

#include "ItemShopManager.h"
#include "MyShopItem.h"

inline std::string Text(const CString& s)
{
    return std::string((LPCSTR)s);
}

inline CItemCfg* AddShopItem(CItemShopManager& manager, WORD wId, WORD wCategory, bool bQuantity,
                             const char* pszName = "道具")
{
    CItemCfg* pItem = new CItemCfg;
    pItem->SetItemId(wId);
    pItem->SetCategory(wCategory);
    pItem->SetName(pszName);
    pItem->SetPrice(10u * wId);
    pItem->SetQuantityItem(bQuantity ? 1 : 0);
    pItem->SetDescription("说明文字");
    pItem->SetImageId(wId);
    manager.AddItemCfg(wCategory, pItem);
    return pItem;
}

inline void SolidPicture(CPicture& picture, DWORD cx, DWORD cy)
{
    picture.Create(cx, cy, 24);
}

// Hears the bar's WM_MYITEM_USE.
class CUseRecorder : public CWnd
{
public:
    std::vector<CItemCfg*> used;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_MYITEM_USE)
            used.push_back((CItemCfg*)wParam);
        return CWnd::WindowProc(message, wParam, lParam);
    }
};
