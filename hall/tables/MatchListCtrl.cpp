#include "MatchListCtrl.h"

#include "GlobalUnits.h"
#include "ListRows.h"
#include "RecordText.h"
#include "UserItem.h"

namespace
{
const WORD MATCH_KIND_USER_ID = 1;
const WORD MATCH_KIND_NICKNAME = 8;
const WORD KIND_MATCH_RANK = 350;
const WORD KIND_MATCH_SCORE = 351;

const COLORREF SELECTED_FILL = 0x70A093;
const COLORREF OWN_TEXT = 0x0000FF;
const COLORREF UNRANKED_TEXT = 0x00FFFF;
const COLORREF PLAIN_TEXT = 0xFFFFFF;

WORD MatchRank(const CUserItem* pUserItem)
{
    return pUserItem->GetSecondExtension()->wValue2;
}

struct MatchColumn
{
    const char* pszTitle;
    int nWidth;
    int nFormat;
    WORD wKind;
};

const MatchColumn MATCH_COLUMNS[] = {
    {"名次", 27, LVCFMT_LEFT, KIND_MATCH_RANK},
    {"昵称", 100, LVCFMT_CENTER, MATCH_KIND_NICKNAME},
    {"积分", 50, LVCFMT_LEFT, KIND_MATCH_SCORE},
};
} // namespace

BEGIN_MESSAGE_MAP(CMatchListCtrl, CSkinListCtrl)
    ON_WM_ERASEBKGND()
    ON_MESSAGE(WM_PRINTCLIENT, OnPrintClient)
END_MESSAGE_MAP()

CMatchListCtrl::CMatchListCtrl() : m_wColumnCount(0), m_nBackWidth(0), m_nBackHeight(0), m_bShowUserName(true)
{
    memset(m_wDataKind, 0, sizeof(m_wDataKind));
    CString strPath = g_GlobalUnits.GetResourceDirectory();
    strPath += "gameroom\\MatchViewItem\\UserListBackM.png";
    m_MiddlePicture.Load(strPath, 0);
}

CMatchListCtrl::~CMatchListCtrl() {}

void CMatchListCtrl::InitMatchList(int width, int height)
{
    SetTextBkColor(CLR_NONE);
    SetTextColor(PLAIN_TEXT);
    SetItemHeight(20);
    m_nBackWidth = width;
    m_nBackHeight = height;
    m_wColumnCount = 0;
    memset(m_wDataKind, 0, sizeof(m_wDataKind));
    for (const MatchColumn& column : MATCH_COLUMNS) {
        InsertColumn(m_wColumnCount, column.pszTitle, column.nFormat, column.nWidth);
        m_wDataKind[m_wColumnCount++] = column.wKind;
    }
    ComposeBackground();
}

void CMatchListCtrl::ComposeBackground()
{
    m_BackPicture.Destroy();
    if (m_nBackWidth <= 0 || m_nBackHeight <= 0)
        return;
    HDC hScreen = ::GetDC(NULL);
    HDC hMemory = ::CreateCompatibleDC(hScreen);
    HBITMAP hBitmap = ::CreateCompatibleBitmap(hScreen, m_nBackWidth, m_nBackHeight);
    ::ReleaseDC(NULL, hScreen);
    if (hMemory != NULL && hBitmap != NULL) {
        HGDIOBJ hOld = ::SelectObject(hMemory, hBitmap);
        // A picture without height would never advance.
        const long nTile = m_MiddlePicture.IsValid() ? (long)m_MiddlePicture.GetHeight() : 0;
        if (nTile > 0) {
            for (long y = 0; y <= m_nBackHeight; y += nTile)
                m_MiddlePicture.Draw(hMemory, 0, y);
        }
        ::SelectObject(hMemory, hOld);
        m_BackPicture.CreateFromHBITMAP(hBitmap);
    }
    if (hBitmap != NULL)
        ::DeleteObject(hBitmap);
    if (hMemory != NULL)
        ::DeleteDC(hMemory);
}

BOOL CMatchListCtrl::OnEraseBkgnd(CDC* pDC)
{
    if (m_BackPicture.IsValid())
        m_BackPicture.Draw(pDC->GetSafeHdc(), 0, 0);
    return TRUE;
}

LRESULT CMatchListCtrl::OnPrintClient(WPARAM wParam, LPARAM lParam)
{
    // The list would erase a printed copy with its own colour.
    if ((lParam & PRF_ERASEBKGND) != 0) {
        OnEraseBkgnd(CDC::FromHandle((HDC)wParam));
        lParam &= ~(LPARAM)PRF_ERASEBKGND;
    }
    return DefWindowProc(WM_PRINTCLIENT, wParam, lParam);
}

CString CMatchListCtrl::GetUserText(const CUserItem* pUserItem, int nColumn) const
{
    CString strText;
    if (pUserItem == NULL || nColumn < 0 || nColumn >= m_wColumnCount)
        return strText;
    switch (m_wDataKind[nColumn]) {
    case MATCH_KIND_USER_ID: strText.Format("%ld", (long)pUserItem->GetUserID()); break;
    case MATCH_KIND_NICKNAME:
        strText = m_bShowUserName ? RecordText(pUserItem->GetUserData()->szNickName) : CString("Varnok玩家");
        break;
    case KIND_MATCH_RANK:
        if (MatchRank(pUserItem) != 0)
            strText.Format("%d", (int)MatchRank(pUserItem));
        break;
    case KIND_MATCH_SCORE: strText.Format("%ld", (long)(LONG)pUserItem->GetUserData()->dwScore[0]); break;
    }
    return strText;
}

int CMatchListCtrl::FindUserRow(const CUserItem* pUserItem) const
{
    return FindRowByData(*this, pUserItem);
}

void CMatchListCtrl::SetRowTexts(int nRow, const CUserItem* pUserItem)
{
    for (int nColumn = 0; nColumn < m_wColumnCount; ++nColumn)
        SetItemText(nRow, nColumn, GetUserText(pUserItem, nColumn));
}

bool CMatchListCtrl::InsertUserItem(CUserItem* pUserItem)
{
    if (GetSafeHwnd() == NULL || pUserItem == NULL)
        return false;
    if (FindUserRow(pUserItem) != -1)
        return UpdateUserItem(pUserItem);
    const int nRow =
        InsertItem(LVIF_TEXT | LVIF_PARAM, GetItemCount(), GetUserText(pUserItem, 0), 0, 0, 0, (LPARAM)pUserItem);
    if (nRow == -1)
        return false;
    SetRowTexts(nRow, pUserItem);
    SortUserItems();
    return true;
}

bool CMatchListCtrl::UpdateUserItem(CUserItem* pUserItem)
{
    if (GetSafeHwnd() == NULL)
        return false;
    const int nRow = FindUserRow(pUserItem);
    if (nRow == -1)
        return false;
    SetRowTexts(nRow, pUserItem);
    SortUserItems();
    return true;
}

bool CMatchListCtrl::DeleteUserItem(CUserItem* pUserItem)
{
    if (GetSafeHwnd() == NULL)
        return false;
    const int nRow = FindUserRow(pUserItem);
    if (nRow == -1)
        return false;
    DeleteItem(nRow);
    Invalidate();
    return true;
}

int CALLBACK CMatchListCtrl::CompareRank(LPARAM lParam1, LPARAM lParam2, LPARAM)
{
    const WORD wRank1 = MatchRank((const CUserItem*)lParam1);
    const WORD wRank2 = MatchRank((const CUserItem*)lParam2);
    if (wRank1 == wRank2)
        return 0;
    // Unranked users after every ranked one.
    if (wRank1 == 0)
        return 1;
    if (wRank2 == 0)
        return -1;
    return wRank1 < wRank2 ? -1 : 1;
}

bool CMatchListCtrl::SortUserItems()
{
    if (GetSafeHwnd() != NULL)
        SortItems(CompareRank, 0);
    return true;
}

int CMatchListCtrl::RemoveUnrankedUsers()
{
    if (GetSafeHwnd() == NULL)
        return 0;
    // From the bottom, so a deletion does not move the rows still to look at.
    for (int nRow = GetItemCount() - 1; nRow >= 0; --nRow) {
        const CUserItem* pUserItem = (const CUserItem*)GetItemData(nRow);
        if (pUserItem != NULL && MatchRank(pUserItem) == 0)
            DeleteItem(nRow);
    }
    return GetItemCount();
}

COLORREF CMatchListCtrl::TextColour(const CUserItem* pUserItem)
{
    if (pUserItem->GetUserID() == g_GlobalUnits.GetGlobalUserData()->dwUserID)
        return OWN_TEXT;
    if (MatchRank(pUserItem) == 0) {
        IMatchListOwner* pOwner = dynamic_cast<IMatchListOwner*>(GetParent());
        if (pOwner != NULL && pOwner->GetMatchState() == MATCH_STATE_RUNNING)
            return UNRANKED_TEXT;
    }
    return PLAIN_TEXT;
}

void CMatchListCtrl::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    CDC* pDC = CDC::FromHandle(lpDrawItemStruct->hDC);
    const int nItem = (int)lpDrawItemStruct->itemID;
    const CUserItem* pUserItem = (const CUserItem*)GetItemData(nItem);
    if (pUserItem == NULL)
        return;
    const bool bSelected = (lpDrawItemStruct->itemState & ODS_SELECTED) != 0;
    const COLORREF crText = TextColour(pUserItem);

    CHeaderCtrl* pHeader = GetHeaderCtrl();
    const int nColumns = pHeader != NULL ? pHeader->GetItemCount() : 0;
    const int nMode = pDC->SetBkMode(TRANSPARENT);
    const COLORREF crOld = pDC->SetTextColor(crText);
    for (int nColumn = 0; nColumn < nColumns; ++nColumn) {
        CRect rcCell;
        if (!GetSubItemRect(nItem, nColumn, LVIR_LABEL, rcCell))
            continue;
        if (bSelected)
            pDC->FillSolidRect(&rcCell, SELECTED_FILL);
        pDC->SelectStockObject(DEFAULT_GUI_FONT);
        TEXTMETRIC metrics = {};
        pDC->GetTextMetrics(&metrics);
        CRect rcText(rcCell);
        rcText.left += 5;
        rcText.OffsetRect(0, (rcCell.Height() - metrics.tmHeight) / 2);
        pDC->DrawText(GetItemText(nItem, nColumn), &rcText, DT_CENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
        pDC->SelectStockObject(SYSTEM_FONT);
    }
    pDC->SetTextColor(crOld);
    pDC->SetBkMode(nMode);
}
