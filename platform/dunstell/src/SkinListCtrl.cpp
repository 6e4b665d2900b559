#include "SkinListCtrl.h"
#include "SkinAttribute.h"

IMPLEMENT_DYNAMIC(CSkinListCtrl, CListCtrl)

BEGIN_MESSAGE_MAP(CSkinListCtrl, CListCtrl)
    ON_WM_MEASUREITEM_REFLECT()
END_MESSAGE_MAP()

CSkinListCtrl::CSkinListCtrl() : m_crItemEven(RGB(255, 255, 255)), m_crItemOdd(RGB(255, 255, 255)), m_nItemHeight(18) {}

CSkinListCtrl::~CSkinListCtrl() {}

void CSkinListCtrl::SetItemColor(COLORREF crBack)
{
    m_crItemEven = crBack;
    if (GetSafeHwnd() != NULL)
        Invalidate(FALSE);
}

void CSkinListCtrl::SetItemColorEx(COLORREF crBack)
{
    m_crItemOdd = crBack;
    if (GetSafeHwnd() != NULL)
        Invalidate(FALSE);
}

void CSkinListCtrl::SetItemHeight(int nHeight)
{
    if (nHeight <= 0)
        return;
    m_nItemHeight = nHeight;
    if (GetSafeHwnd() == NULL)
        return;
    // The list measures its rows again when told its size changed.
    CRect rc;
    GetWindowRect(&rc);
    WINDOWPOS wp = {
        m_hWnd, NULL, 0, 0, rc.Width(), rc.Height(), SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOOWNERZORDER | SWP_NOZORDER};
    SendMessage(WM_WINDOWPOSCHANGED, 0, (LPARAM)&wp);
}

void CSkinListCtrl::MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct)
{
    lpMeasureItemStruct->itemHeight = (UINT)m_nItemHeight;
}

void CSkinListCtrl::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    CDC* pDC = CDC::FromHandle(lpDrawItemStruct->hDC);
    const int nItem = (int)lpDrawItemStruct->itemID;
    CRect rcRow(lpDrawItemStruct->rcItem);
    const BOOL bSelected = (lpDrawItemStruct->itemState & ODS_SELECTED) != 0;
    pDC->FillSolidRect(&rcRow, bSelected ? CSkinAttribute::m_crHighlight : GetItemColor(nItem));

    int nMode = pDC->SetBkMode(TRANSPARENT);
    COLORREF crOld = pDC->SetTextColor(bSelected ? CSkinAttribute::m_crHighlightText : CSkinAttribute::m_crText);
    CHeaderCtrl* pHeader = GetHeaderCtrl();
    const int nColumns = pHeader != NULL ? pHeader->GetItemCount() : 1;
    for (int nCol = 0; nCol < nColumns; ++nCol) {
        CRect rcCell;
        if (!GetSubItemRect(nItem, nCol, LVIR_LABEL, rcCell))
            continue;
        rcCell.DeflateRect(3, 0);
        LVCOLUMN column = {};
        column.mask = LVCF_FMT;
        GetColumn(nCol, &column);
        UINT nAlign = (column.fmt & LVCFMT_JUSTIFYMASK) == LVCFMT_RIGHT    ? DT_RIGHT
                      : (column.fmt & LVCFMT_JUSTIFYMASK) == LVCFMT_CENTER ? DT_CENTER
                                                                           : DT_LEFT;
        pDC->DrawText(GetItemText(nItem, nCol), &rcCell,
                      nAlign | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
    }
    pDC->SetTextColor(crOld);
    pDC->SetBkMode(nMode);
}
