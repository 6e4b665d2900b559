// The extended combo box with the same frame and drop button as
// CSkinComboxEx.
#pragma once

#include <afxcmn.h>

#include "SkinImage.h"

class CComboboxExEx : public CComboBoxEx
{
public:
    CComboboxExEx();

    int m_nDropState; // one of CSkinComboxEx's states
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
