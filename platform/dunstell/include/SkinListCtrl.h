// CSkinListCtrl: a list control that, when owner-drawn (LVS_OWNERDRAWFIXED
// in report view), draws its rows in two alternating background colours at
// a row height of its own. Otherwise it is the plain list control.
#pragma once

#include <afxcmn.h>

class CSkinListCtrl : public CListCtrl
{
    DECLARE_DYNAMIC(CSkinListCtrl)
public:
    CSkinListCtrl();
    virtual ~CSkinListCtrl();

    // Background of the even rows (0, 2, ...), of the odd rows, and the row height.
    virtual void SetItemColor(COLORREF crBack);
    virtual void SetItemColorEx(COLORREF crBack);
    virtual void SetItemHeight(int nHeight);

    COLORREF GetItemColor(int nItem) const { return (nItem & 1) ? m_crItemOdd : m_crItemEven; }
    int GetItemHeight() const { return m_nItemHeight; }

protected:
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
    afx_msg void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct);
    DECLARE_MESSAGE_MAP()

    COLORREF m_crItemEven;
    COLORREF m_crItemOdd;
    int m_nItemHeight;
};
