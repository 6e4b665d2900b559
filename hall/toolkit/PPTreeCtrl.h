// CPPTreeCtrl: a tree that paints every row itself, double-buffered: a
// separator under each row, a selection bar from a three-part picture,
// expand and collapse signs, icon and text, and an "enter" button on the
// row under the mouse. Derived views change it through the virtual hooks.
#pragma once

#include <afxcmn.h>
#include <Picture.h>

#include <map>
#include <vector>

class CPPTreeCtrl : public CTreeCtrl
{
    DECLARE_DYNAMIC(CPPTreeCtrl)
public:
    enum
    {
        ROW_HEIGHT = 25,
        ICON_SIZE = 16,
        ICON_CELL = 18, // width of one icon of the strip
        FIRST_EXTRA_ICON = 13
    };

    CPPTreeCtrl();
    virtual ~CPPTreeCtrl();

    void SetSignImages(LPCTSTR lpszCollapsed, LPCTSTR lpszExpanded);
    void SetEnterButtonImage(LPCTSTR lpszPath);
    // The icon strip (cells of 18 pixels) and the extra icons that indexes
    // from 13 on stand for.
    BOOL SetIconStrip(LPCTSTR lpszPath);
    BOOL AddExtraIcon(LPCTSTR lpszPath);
    // A row's data value: its indent.
    void SetItemIndent(HTREEITEM hItem, int nIndent);

    HTREEITEM GetHotItem() const { return m_hHotItem; }
    CRect GetEnterButtonRect() const { return m_rcEnterButton; }
    BOOL IsOverEnterButton() const { return m_bOverEnterButton; }
    CSize GetContentSize() const { return CSize(m_nContentWidth, m_nContentHeight); }
    CPoint GetScrollOffset() const { return CPoint(m_nScrollX, m_nScrollY); }
    void ArmEnterButton(BOOL bArmed) { m_bEnterButtonArmed = bArmed; }
    void ShowSeparators(BOOL bShow) { m_bDrawSeparators = bShow; }

    // The hooks, in their order.
    virtual void OnEnterButtonClick(HTREEITEM hItem);
    virtual int GetItemKind(HTREEITEM hItem);
    virtual int GetItemIconIndex(HTREEITEM hItem, int& nIndex);
    virtual void DrawBackground(CDC* pDC);
    virtual void DrawItems(CDC* pDC);
    virtual void DrawItemIcon(CDC* pDC, int x, int top, int right, int bottom, HTREEITEM hItem);
    virtual void DrawItemText(CDC* pDC, int x, int top, int right, int bottom, HTREEITEM hItem, BOOL bHighlighted);
    virtual BOOL DrawItemCustom(CDC* pDC, int left, int top, int right, int bottom, HTREEITEM hItem);
    virtual BOOL HasEnterButton(HTREEITEM hItem);
    // The result is not used; derived views may tell whether they drew.
    virtual BOOL DrawAfterText(CDC* pDC, CPoint ptAfterText, HTREEITEM hItem);

protected:
    void PreSubclassWindow() override;
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnMouseLeave();
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    DECLARE_MESSAGE_MAP()

    void SetUp();
    void MeasureContent();
    void DrawSelectionBar(CDC* pDC, const CRect& rcRow, int nState);
    CRect EnterButtonRectFor(const CRect& rcRow) const;
    void InvalidateHot();

    CRect m_rcClient;
    int m_nContentWidth;
    int m_nContentHeight;
    int m_nScrollX;
    int m_nScrollY;
    HTREEITEM m_hHotItem;
    CRect m_rcHotItem;
    CRect m_rcEnterButton;
    BOOL m_bOverEnterButton;
    BOOL m_bEnterButtonArmed;
    BOOL m_bDrawSeparators;
    BOOL m_bShowEnterButton;
    int m_nSignWidth;
    int m_nSignHeight;
    int m_nSignGap;
    int m_nRowHeight;
    CPicture m_Collapsed;
    CPicture m_Expanded;
    CPicture m_Select;
    CPicture m_EnterButton;
    CPicture m_Sun;
    CPicture m_Add;
    CPicture m_EnterGame;
    CPicture m_IconStrip;
    std::vector<CPicture*> m_ExtraIcons;
    std::map<HTREEITEM, int> m_Indents;
};
