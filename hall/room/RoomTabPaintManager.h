// Measures and draws the buttons of the room tab window's strip: the strip's
// three state pictures (selected half left, normal half right), the tab
// icon and the caption. Its button margins follow whether the room tab
// window shows its side panel column.
#pragma once

#include <SkinTabPaintManager.h>

class CRoomTabPaintManager : public CSkinTabPaintManager
{
public:
    CRoomTabPaintManager();
    ~CRoomTabPaintManager() override;

    CRect GetHeaderMargin() override;
    CRect GetButtonMargin() override;
    int GetHeaderHeight(CSkinTabManager* pManager) override;
    int DrawSingleButton(CDC* pDC, CSkinTabItem* pItem, const CRect& rcItem, BOOL bDraw) override;

    // Where a button's close button lies (rcItem the button's rectangle).
    static CRect CloseButtonRect(const CRect& rcItem);

    static constexpr COLORREF kTextSelected = RGB(2, 4, 3);
    static constexpr COLORREF kTextNormal = RGB(193, 193, 195);
    static constexpr int kCloseSize = 9;
    static constexpr int kCloseMargin = 6;
};
