// CSkinTabManager: the items of a skinned tab strip, their layout, the
// selection and the item under the pointer. A CSkinTab window drives it:
// its own, or the object itself when a class derives from both.
#pragma once

#include "SkinTabItem.h"
#include "SkinTabPaintManager.h"

#include <afxcmn.h>
#include <afxcoll.h>

class CSkinTab;

class CSkinTabManager
{
public:
    // Scoped here: the widget library has a tab position of its own, and
    // windows include both.
    enum enSkinTabPosition
    {
        SkinTabTop = 0,
        SkinTabLeft = 1,
        SkinTabBottom = 2,
        SkinTabRight = 3
    };

    CSkinTabManager();
    virtual ~CSkinTabManager();

    // Inserts before nIndex (at the end when out of range). pItem, when
    // given, is filled and inserted (and stays the caller's); otherwise an
    // item is made. NULL when pItem is already in a strip.
    CSkinTabItem* InsertItem(int nIndex, LPCTSTR pszCaption, HWND hWnd = NULL, int nImage = -1,
                             CSkinTabItem* pItem = NULL);
    BOOL DeleteItem(int nIndex);
    void DeleteAllItems();
    int GetItemCount() const { return (int)m_Items.GetSize(); }
    CSkinTabItem* GetItem(int nIndex) const;
    int FindIndex(const CSkinTabItem* pItem) const;
    // The item showing this window, or NULL.
    CSkinTabItem* FindItem(HWND hWnd) const;

    CSkinTabItem* GetSelectedItem() const { return m_pSelected; }
    int GetCurSel() const { return FindIndex(m_pSelected); }
    // Selects without telling the parent; answers the previous index.
    int SetCurSel(int nIndex);
    void SetSelectedItem(CSkinTabItem* pItem);
    // The item under the pointer.
    CSkinTabItem* GetFocusedItem() const { return m_pFocused; }

    // The item whose button holds the point (control client coordinates).
    CSkinTabItem* HitTest(CPoint point) const;
    // Follows the pointer; (-1, -1) means it left: no item is under it.
    void PerformMouseMove(HWND hWnd, CPoint point);

    // The manager owns the painter and deletes the one it replaces.
    void SetPaintManager(CSkinTabPaintManager* pPaintManager);
    CSkinTabPaintManager* GetPaintManager() const { return m_pPaintManager; }
    void SetPosition(enSkinTabPosition position);
    enSkinTabPosition GetPosition() const { return m_position; }
    BOOL IsHorizontalPosition() const { return m_position == SkinTabTop || m_position == SkinTabBottom; }
    // The list stays the caller's.
    void SetImageList(CImageList* pImageList);
    CImageList* GetImageList() const { return m_pImageList; }

    // Lays the buttons out in the control rectangle.
    void Reposition(const CRect& rcControl);
    void Reposition();
    CRect GetControlRect() const { return m_rcControl; }
    CRect GetHeaderRect() const { return m_rcHeader; }
    // The part of the control left to the windows of the items.
    CRect GetPageRect() const { return m_rcClient; }

    // The window that shows the strip.
    CSkinTab* GetTabCtrl() const { return m_pTabCtrl; }

protected:
    friend class CSkinTab;
    friend class CSkinTabItem;

    void RedrawControl();

    CPtrArray m_Items;
    CSkinTabItem* m_pSelected;
    CSkinTabItem* m_pFocused;
    CSkinTabPaintManager* m_pPaintManager;
    CImageList* m_pImageList;
    enSkinTabPosition m_position;
    CRect m_rcControl;
    CRect m_rcHeader;
    CRect m_rcClient;
    CSkinTab* m_pTabCtrl;
};
