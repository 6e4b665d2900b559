// The bar between the room tab area and the side panel column: three skin
// pieces (top, middle repeated, bottom), or a plain grey bar when any piece
// is missing. Its button folds the column away.
#pragma once

#include <SkinImage.h>
#include <SkinSplitter.h>

class CRoomSplitter : public CSkinSplitter
{
public:
    // The pieces come from "Common\splitter\" under the resource folder.
    CRoomSplitter();
    ~CRoomSplitter() override;

    // Paints the bar into any device context (also what WM_PAINT draws).
    void DrawSplitter(CDC* pDC, const CRect& rcClient) override;

    CSkinImage& GetPiece(int nIndex) { return m_ImagePiece[nIndex]; }

    static constexpr COLORREF kGreyFill = RGB(192, 192, 192);
    static constexpr COLORREF kGreyFrame = RGB(125, 125, 125);

protected:
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()

private:
    CSkinImage m_ImagePiece[3];
};
