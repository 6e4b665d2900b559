// A combo box framed in its own colour with a drop button drawn from a
// picture of four states side by side (normal, hot, pressed, spare).
#pragma once

#include "SkinCombox.h"
#include "SkinImage.h"

// The drop button's part of a combo's client area.
CRect SkinComboDropRect(CWnd* pCombo);
// The frame and the drop button in their state; the rest is left to the
// combo's own painting.
void PaintSkinCombo(CWnd* pCombo, CSkinImage& image, int nState, COLORREF crBorder);

class CSkinComboxEx : public CSkinCombox
{
public:
    CSkinComboxEx();

    enum
    {
        STATE_NORMAL,
        STATE_HOT,
        STATE_PRESSED
    };
    int m_nDropState;
    CSkinImage m_ImageDrop;
    COLORREF m_crBorder;

protected:
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnMouseLeave();
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()
};

// The pointer over the drop button turns it hot; the combo asks to hear
// when the pointer leaves. nState is one of CSkinComboxEx's states.
void SkinComboHover(CWnd* pCombo, int& nState, CPoint point);
// A press anywhere shows the drop button pressed.
void SkinComboPress(CWnd* pCombo, int& nState);
// The pointer left: the drop button is normal again.
void SkinComboLeave(CWnd* pCombo, int& nState);
// The frame around the whole combo drawn on an item's DC.
void DrawSkinComboItemFrame(CWnd* pCombo, HDC hDC);
