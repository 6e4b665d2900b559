// CSkinMenu: a pop-up menu that draws its own items: a picture strip down
// the left side, the selected item highlighted, captions with their
// accelerator text. ChangeStyle turns the items of a menu into owner-drawn
// items that carry a MENUITEM record.
#pragma once

#include "SkinImage.h"

#include <afxcoll.h>

// The record an owner-drawn item carries as its item data.
struct MENUITEM
{
    LPTSTR pszText; // the caption ("text\taccelerator"); empty for a separator
    UINT nID;       // the command id; 0 for a separator
    UINT nFlags;    // MF_POPUP for an item that opens a sub-menu
};

class CSkinMenu : public CMenu
{
    DECLARE_DYNCREATE(CSkinMenu)
public:
    static constexpr int kItemHeight = 22;
    static constexpr int kSeparatorHeight = 6;
    static constexpr int kDefaultLeftWidth = 24;

    CSkinMenu();
    virtual ~CSkinMenu();

    // Makes every item of pMenu owner-drawn. bMenuBar: pMenu is a window's
    // menu bar, whose own items keep their text. bSubMenus: the pop-ups
    // below are changed too (and drawn by sub-menu objects of this one).
    BOOL ChangeStyle(CMenu* pMenu, BOOL bMenuBar = FALSE, BOOL bSubMenus = TRUE);
    // The picture of the left strip, stretched down each item's part of the
    // strip; the strip is as wide as the picture.
    BOOL SetImageList(LPCTSTR pszFileName);
    int GetLeftWidth() const { return m_nLeftWidth; }
    // A bitmap from a file; the caller deletes it. NULL when it cannot be loaded.
    static HBITMAP LoadFileBmp(LPCTSTR pszFileName);

    void DrawImageLeft(CDC* pDC, const CRect& rcItem);
    void DrawHighLight(CDC* pDC, const CRect& rcItem, BOOL bGrayed);
    void DrawTextItem(CDC* pDC, LPCTSTR pszText, const CRect& rcText, BOOL bSelected, BOOL bChecked, BOOL bGrayed);

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
    void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) override;
    // Also frees the item records and sub-menu objects.
    BOOL DestroyMenu();

protected:
    MENUITEM* NewItem(LPCTSTR pszText, UINT nID, UINT nFlags);
    void FreeItems();

    CSkinImage m_ImageLeft;
    int m_nLeftWidth;
    CPtrArray m_Items;    // MENUITEM* made by ChangeStyle, owned
    CPtrArray m_SubMenus; // CSkinMenu* over the changed pop-ups, owned
};
