// The shop's item page: the tiles of the shop category, six to a page, with
// paging buttons and a hover card that describes the item under the pointer.
#pragma once

#include <ButtonWidget.h>
#include <WidgetFoundationWnd.h>

#include "IntroWnd.h"
#include "ItemShopManager.h"
#include "ItemShopView.h"

// The category the shop page shows.
const WORD SHOP_PAGE_CATEGORY = 3;

class CShopItemFrame : public CWidgetFoundationWnd, public IButtonListener
{
public:
    CShopItemFrame();
    ~CShopItemFrame() override;

    bool InitItemFrame(CItemShopManager* pManager, CPicture* pBackground, CPicture* pTileBack, CPicture* pNext,
                       CPicture* pPrev, CPicture* pBuy, CImageCfgArray* pImages);
    void RemoveAllTiles();

    void ButtonClick(int nID) override;
    void ButtonDblClk(int nID) override {}

    // The tiles' side of the page.
    void SetHoverIndex(int nIndex) { m_nHoverIndex = nIndex; }
    int GetHoverIndex() const { return m_nHoverIndex; }
    const tagImageCfg* FindImage(DWORD dwImageId) const;
    void OpenBuyDialog(CItemCfg* pItem, const tagImageCfg* pImage);

    int GetPageCount() const { return m_nPageCount; }
    int GetCurrentPage() const { return m_nCurrentPage; }
    INT_PTR GetTileCount() const { return m_Tiles.GetSize(); }
    CItemShopView* GetTile(INT_PTR i) const { return m_Tiles[i]; }
    CButtonWidget& GetNextButton() { return m_btNext; }
    CButtonWidget& GetPrevButton() { return m_btPrev; }
    CIntroWnd& GetCard() { return m_Card; }
    // Places the card for the remembered point within the client area.
    static CRect PlaceCard(const CRect& rcClient, CPoint point, int nCardHeight);

    // Delay of the hover card (ms).
    static UINT s_nCardDelay;

protected:
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnPaint();
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    DECLARE_MESSAGE_MAP()

private:
    void ShowPageTiles(int nPage, bool bShow);
    void CloseCard();
    void OpenCard();

    CItemShopManager* m_pManager;
    int m_nItemCount;
    BAR_INFO* m_pBar;
    int m_nPageCount;
    int m_nCurrentPage;
    CArray<CItemShopView*, CItemShopView*> m_Tiles;
    CImageCfgArray* m_pImages;
    int m_nHoverIndex;
    CPoint m_ptHover;
    CPicture* m_pNext;
    CPicture* m_pPrev;
    CPicture* m_pTileBack;
    CPicture* m_pBuy;
    CPicture* m_pBackground;
    CButtonWidget m_btNext;
    CButtonWidget m_btPrev;
    CIntroWnd m_Card;
    int m_nCardTextHeight;
};
