#include "TeamListView.h"

#include "GlobalUnits.h"
#include "ListRows.h"
#include "RecordText.h"

namespace
{
const COLORREF LIST_BACK = 0xFAF4E9;
const COLORREF ROW_EVEN = 0xFAEBD8;
const COLORREF ROW_ODD = 0xFDF1E4;
const COLORREF ROW_SELECTED = 0xFEF3DD;
const COLORREF TEXT_COLOUR = 0x524003;

enum
{
    KIND_TEAM_NAME = 400,
    KIND_LEADER = 401,
    KIND_MEMBERS = 402,
    KIND_DESCRIBE = 403,
    KIND_REGION = 404,
    KIND_LEVEL = 405,
    KIND_TEAM_SCORE = 406,
};

const char* const LEVEL_WORDS[] = {"一级", "二级", "三级", "四级", "五级", "六级", "七级", "八级"};
} // namespace

CTeamListView::CTeamListView() : m_wColumnCount(0)
{
    memset(m_wDataDescribe, 0, sizeof(m_wDataDescribe));
}

CTeamListView::~CTeamListView() {}

bool CTeamListView::InitListColours()
{
    if (GetSafeHwnd() != NULL)
        SetBkColor(LIST_BACK);
    SetItemColor(ROW_EVEN);
    SetItemColorEx(ROW_EVEN);
    SetItemHeight(20);
    return true;
}

bool CTeamListView::SetColumnDescribe(const tagColumnItem* pColumnItem, WORD wColumnCount)
{
    if (GetSafeHwnd() == NULL)
        return false;
    SetRedraw(FALSE);
    DeleteAllColumns(*this);
    m_wColumnCount = 0;
    memset(m_wDataDescribe, 0, sizeof(m_wDataDescribe));
    const WORD wCount = pColumnItem == NULL ? 0 : (wColumnCount < MAX_DATA_COLUMN ? wColumnCount : MAX_DATA_COLUMN);
    for (WORD i = 0; i < wCount; ++i) {
        InsertColumn(m_wColumnCount, RecordText(pColumnItem[i].szColumnName), LVCFMT_CENTER,
                     pColumnItem[i].wColumnWidth);
        m_wDataDescribe[m_wColumnCount++] = pColumnItem[i].wDataDescribe;
    }
    SetRedraw(TRUE);
    return true;
}

CString CTeamListView::GetTeamText(const tagTeamItem* pTeamItem, int nColumn) const
{
    CString strText;
    if (pTeamItem == NULL || nColumn < 0 || nColumn >= m_wColumnCount)
        return strText;
    switch (m_wDataDescribe[nColumn]) {
    case KIND_TEAM_NAME: strText = RecordText(pTeamItem->szTeamName); break;
    case KIND_LEADER: strText = RecordText(pTeamItem->szLeaderName); break;
    case KIND_MEMBERS: strText.Format("%ld", (long)(LONG)pTeamItem->dwMemberCount); break;
    case KIND_DESCRIBE: strText = RecordText(pTeamItem->szDescribe); break;
    case KIND_REGION: {
        IRegionManager* pRegion = g_GlobalUnits.m_RegionManagerHelper.GetInterface();
        ICity* pCity = pRegion != NULL ? pRegion->FindCity(pTeamItem->dwRegionID) : NULL;
        if (pCity != NULL && pCity->GetName() != NULL)
            strText = pCity->GetName();
        break;
    }
    case KIND_LEVEL: {
        const DWORD dwLast = sizeof(LEVEL_WORDS) / sizeof(LEVEL_WORDS[0]) - 1;
        strText = LEVEL_WORDS[pTeamItem->dwTeamLevel < dwLast ? pTeamItem->dwTeamLevel : dwLast];
        break;
    }
    case KIND_TEAM_SCORE: strText.Format("%ld", (long)(LONG)pTeamItem->dwScore); break;
    }
    return strText;
}

int CTeamListView::FindTeamRow(const void* pTeamItem) const
{
    return FindRowByData(*this, pTeamItem);
}

bool CTeamListView::InsertTeamItem(const void* pTeamItem)
{
    if (GetSafeHwnd() == NULL || pTeamItem == NULL)
        return false;
    if (FindTeamRow(pTeamItem) != -1)
        return UpdateTeamItem(pTeamItem);
    const tagTeamItem* pTeam = (const tagTeamItem*)pTeamItem;
    const int nRow =
        InsertItem(LVIF_TEXT | LVIF_PARAM, GetItemCount(), GetTeamText(pTeam, 0), 0, 0, 0, (LPARAM)pTeamItem);
    if (nRow == -1)
        return false;
    for (int nColumn = 1; nColumn < m_wColumnCount; ++nColumn)
        SetItemText(nRow, nColumn, GetTeamText(pTeam, nColumn));
    return true;
}

bool CTeamListView::UpdateTeamItem(const void* pTeamItem)
{
    if (GetSafeHwnd() == NULL || pTeamItem == NULL)
        return false;
    const int nRow = FindTeamRow(pTeamItem);
    if (nRow == -1)
        return false;
    for (int nColumn = 0; nColumn < m_wColumnCount; ++nColumn)
        SetItemText(nRow, nColumn, GetTeamText((const tagTeamItem*)pTeamItem, nColumn));
    return true;
}

void CTeamListView::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    CDC* pDC = CDC::FromHandle(lpDrawItemStruct->hDC);
    const int nItem = (int)lpDrawItemStruct->itemID;
    const bool bSelected = (lpDrawItemStruct->itemState & ODS_SELECTED) != 0;
    const COLORREF crFill = bSelected ? ROW_SELECTED : ((nItem & 1) ? ROW_ODD : ROW_EVEN);
    CHeaderCtrl* pHeader = GetHeaderCtrl();
    const int nColumns = pHeader != NULL ? pHeader->GetItemCount() : 0;
    const int nMode = pDC->SetBkMode(TRANSPARENT);
    const COLORREF crOld = pDC->SetTextColor(TEXT_COLOUR);
    for (int nColumn = 0; nColumn < nColumns; ++nColumn) {
        CRect rcCell;
        if (!GetSubItemRect(nItem, nColumn, LVIR_LABEL, rcCell))
            continue;
        if (nColumn == 0)
            rcCell.left -= 16;
        pDC->FillSolidRect(&rcCell, crFill);
        pDC->SelectStockObject(DEFAULT_GUI_FONT);
        TEXTMETRIC metrics = {};
        pDC->GetTextMetrics(&metrics);
        CRect rcText(rcCell);
        UINT nFormat = DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS;
        if (nColumn == 3) {
            rcText.left += 5;
            nFormat |= DT_LEFT;
        } else {
            nFormat |= DT_CENTER;
        }
        rcText.OffsetRect(0, (rcCell.Height() - metrics.tmHeight) / 2);
        pDC->DrawText(GetItemText(nItem, nColumn), &rcText, nFormat);
        pDC->SelectStockObject(SYSTEM_FONT);
    }
    pDC->SetTextColor(crOld);
    pDC->SetBkMode(nMode);
}
