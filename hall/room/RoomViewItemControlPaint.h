// The painter of the side panel's two list tabs: left, middle and right
// pictures from "common\tab\", each with the selected state in its left
// half and the normal state in its right half.
#pragma once

#include <SkinImage.h>
#include <SkinTabPaintManager.h>

class CRoomControlTabPaintManager : public CSkinTabPaintManager
{
public:
    CRoomControlTabPaintManager();
    ~CRoomControlTabPaintManager() override;

    CRect GetHeaderMargin() override;
    CRect GetButtonMargin() override;
    int GetButtonLength(CDC* pDC, CSkinTabItem* pItem) override;
    int GetButtonHeight(CSkinTabManager* pManager) override;
    int DrawSingleButton(CDC* pDC, CSkinTabItem* pItem, const CRect& rcItem, BOOL bDraw) override;

    static constexpr COLORREF kTextSelected = 0x030402;
    static constexpr COLORREF kTextNormal = 0xFFFFFF;

private:
    CSkinImage m_ImageLeft, m_ImageMid, m_ImageRight;
};
