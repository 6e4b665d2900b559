// Paints the tab strips of the main dialog from pictures: a left and a
// right picture around each item's own picture, each of three frames side
// by side (selected, enabled, disabled), with the caption centred on top.
#pragma once

#include "SkinImage.h"
#include "SkinTabPaintManager.h"

class CImageTabItem;

class CImageTabPaintManager : public CSkinTabPaintManager
{
public:
    CImageTabPaintManager();
    ~CImageTabPaintManager() override;

    CRect GetButtonMargin() override { return m_rcButtonMargin; }
    CRect GetHeaderMargin() override { return m_rcHeaderMargin; }
    int GetButtonLength(CDC* pDC, CSkinTabItem* pItem) override;
    int GetButtonHeight(CSkinTabManager* pManager) override;
    int DrawSingleButton(CDC* pDC, CSkinTabItem* pItem, const CRect& rcItem, BOOL bDraw) override;

    CSkinImage m_ImageLeft;
    CSkinImage m_ImageRight;
    CRect m_rcHeaderMargin;
    CRect m_rcButtonMargin;
    COLORREF m_crNormalText;
    COLORREF m_crSelectedText;
    COLORREF m_crDisabledText;
    CFont m_Font;
    int m_nIconWidth; // 0: the item's picture is drawn as three frames

protected:
    // 0 selected, 1 enabled, 2 disabled.
    static int FrameOf(CSkinTabItem* pItem);
    static CSkinImage* ItemImage(CSkinTabItem* pItem);
    static int FrameWidth(CSkinImage* pImage);
};
