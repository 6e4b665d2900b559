// The bar of the user's own items: two rows in the shop, one row in a
// room's chat pane, paged by column. A click opens the buy dialog with the
// owned count or expiry; in one row an item confirmed for use goes to the
// parent as WM_MYITEM_USE.
#pragma once

#include <ButtonWidget.h>
#include <WidgetFoundationWnd.h>

#include <functional>

#include "ItemShopManager.h"

// wParam: the CItemCfg* confirmed for use (sent to the parent).
const UINT WM_MYITEM_USE = WM_USER + 789;

struct tagMyItemView
{
    CItemCfg* pItem;
    CRect rcItem;
    int nIndex;
    BYTE cbShown;
    BYTE cbHover;
    int nPicture; // index in the picture list, -1 until looked up
};

class CMyShopItem : public CWidgetFoundationWnd, public IButtonListener
{
public:
    CMyShopItem();
    ~CMyShopItem() override;

    void InitItemBar(CItemShopManager* pManager, CPicture* pNext, CPicture* pPrev, CPicture* pBackground,
                     CPicture* pLeft, CPicture* pMiddle, CPicture* pRight, CPicture* pSlot, CImageCfgArray* pImages,
                     bool bTwoRow);
    void SetSlotCount(int nSlots);
    void RefreshItems();
    void RemoveAllItems();

    void ButtonClick(int nID) override;
    void ButtonDblClk(int nID) override {}

    bool IsTwoRow() const { return m_cbTwoRow != 0; }
    int GetSlotCount() const { return m_nSlotCount; }
    int GetPageCount() const { return m_nPageCount; }
    int GetFirstColumn() const { return m_nFirstColumn; }
    INT_PTR GetItemCount() const { return m_Items.GetSize(); }
    const tagMyItemView& GetItem(INT_PTR i) const { return m_Items[i]; }
    CRect GetSlotRect(int nSlot) const;
    CButtonWidget& GetNextButton() { return m_btNext; }
    CButtonWidget& GetPrevButton() { return m_btPrev; }
    // The item index under a client point, -1 for none.
    int HitItem(CPoint point) const;

    // Clock of the expiry checks (seconds since 1970); tests set it.
    static std::function<LONGLONG()> s_Now;

protected:
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnPaint();
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    DECLARE_MESSAGE_MAP()

private:
    // Whether an owned item is still usable (count above 0, not expired).
    bool IsUsable(CItemCfg* pItem) const;
    void LayoutItems();
    void OpenItem(const tagMyItemView& view);
    int Offset() const { return m_nFirstColumn * (m_cbTwoRow ? 2 : 1); }

    BYTE m_cbTwoRow;
    int m_nFirstColumn;
    int m_nSlotCount;
    int m_nPageCount;
    int m_nOwnedCount;
    CItemShopManager* m_pManager;
    CImageCfgArray* m_pImages;
    CArray<tagMyItemView, const tagMyItemView&> m_Items;
    int m_nHoverIndex;
    CArray<CItemCfg*, CItemCfg*>* m_pOwnedCfgs;
    CArray<CRect, const CRect&> m_SlotRects;
    CButtonWidget m_btNext;
    CButtonWidget m_btPrev;
    CPicture* m_pNext;
    CPicture* m_pPrev;
    CPicture* m_pBackground;
    CPicture* m_pLeft;
    CPicture* m_pMiddle;
    CPicture* m_pRight;
    CPicture* m_pSlot;
};
