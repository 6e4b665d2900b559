// CSkinTab: the window of a skinned tab strip. It draws the header (its
// header pictures, or the painter's background) and the buttons through the
// tab manager's painter, shows the window of the selected item in the rest
// of the control, and tells the parent:
//   WM_NOTIFY TCN_SELCHANGING (a non-zero answer keeps the selection) and
//   TCN_SELCHANGE when a click changes the selection;
//   WM_SKINTAB_MOUSE (wParam the mouse message, lParam the point) for
//   presses, releases and double clicks over a button.
// The manager is the object itself when a class derives from both CSkinTab
// and CSkinTabManager, else one of the window's own.
#pragma once

#include "SkinTabManager.h"
#include "SkinWnd.h"

#define WM_SKINTAB_MOUSE 10324

class CSkinTab : public CSkinWnd
{
    DECLARE_DYNAMIC(CSkinTab)
public:
    // Header pictures: the left end, the middle (stretched), the right end;
    // after the last button in its two states (the last button not selected,
    // selected); the line along the inner edge of the header.
    enum
    {
        TAB_IMAGE_LEFT,
        TAB_IMAGE_MID,
        TAB_IMAGE_RIGHT,
        TAB_IMAGE_TAIL,
        TAB_IMAGE_TAIL_SELECTED,
        TAB_IMAGE_BOTTOM,
        TAB_IMAGE_COUNT
    };

    CSkinTab();
    virtual ~CSkinTab();

    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    CSkinTabManager* GetTabManager();

    CSkinTabItem* InsertItem(int nIndex, LPCTSTR pszCaption, HWND hWnd = NULL, int nImage = -1,
                             CSkinTabItem* pItem = NULL);

    void SetSkinImage(int nImage, LPCTSTR pszFileName);
    void SetSkinImage(int nImage, UINT nIDResource, HINSTANCE hInstance);
    CSkinImage* GetSkinImage(int nImage);

    using CSkinWnd::DrawSkinView;
    void DrawSkinView(CDC* pDC, int cx, int cy) override;

    // The manager's news: layout, selection and hover changed.
    virtual void OnLayoutChanged();
    virtual void OnSelectionChanged(CSkinTabItem* pOldItem, CSkinTabItem* pNewItem);

protected:
    void DrawHeaderImages(CDC* pDC, const CRect& rcHeader);
    // Places the item windows in the client part and shows the selected one.
    void PlaceItemWindows();
    LRESULT NotifyParent(UINT nCode);
    void MouseNotify(UINT message, CPoint point);

    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnRButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnMouseLeave();
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

    friend class CSkinTabManager;

    CSkinTabManager* m_pManager;
    CSkinTabManager* m_pOwnManager;
    BOOL m_bManagerResolved;
    CSkinImage m_ImageHeader[TAB_IMAGE_COUNT];
    BOOL m_bTracking;
};
