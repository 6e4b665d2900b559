// One tile of the shop's item page: the item's picture, name and price and a
// buy button that opens the buy dialog.
#pragma once

#include <ButtonWidget.h>
#include <Widget.h>

#include "ItemCfg.h"
#include "ItemShopTypes.h"

class CShopItemFrame;

class CItemShopView : public IButtonListener, public CWidget
{
public:
    explicit CItemShopView(CShopItemFrame* pFrame);
    ~CItemShopView() override;

    void ButtonClick(int nID) override;
    void ButtonDblClk(int nID) override {}
    virtual bool InitItemView(int nIndex, CItemCfg* pItem, CPicture* pBack, bool bOwnedMode);

    void Draw(CWidgetDC* pDC) override;
    void MouseEnter() override;
    void MouseLeave() override;

    CItemCfg* GetItem() const { return m_pItem; }
    int GetIndex() const { return m_nIndex; }
    // The picture box in the page's coordinates.
    CRect GetPictureRect() const;
    CButtonWidget& GetBuyButton() { return m_btBuy; }
    const tagImageCfg* GetImage();

    // Tile's own size: the tile background's.
    static const int kPictureX = 27;
    static const int kPictureY = 7;
    static const int kPictureSize = 64;

private:
    CButtonWidget m_btBuy;
    DWORD m_dwPrice;
    DWORD m_dwValue;
    CItemCfg* m_pItem;
    int m_nIndex;
    bool m_bOwnedMode;
    CPicture* m_pBack;
    const tagImageCfg* m_pImage;
    CShopItemFrame* m_pFrame;
};
