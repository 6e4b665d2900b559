#include "UserListView.h"

#include "ControlBorder.h"
#include "CustomFaceManagerWnd.h"
#include "GlobalOption.h"
#include "GlobalUnits.h"
#include "ListRows.h"
#include "RecordText.h"
#include "TextUnit.h"
#include "UserItem.h"

#include <string>

namespace
{
const COLORREF USER_LIST_BACK = 0xFAF4E9;
const COLORREF USER_ROW_EVEN = 0xFAEBD8;
const COLORREF USER_ROW_ODD = 0xFDF1E4;
const COLORREF USER_ROW_SELECTED = 0xFEF3DD;
const COLORREF TEXT_NORMAL = 0x524003;
const COLORREF TEXT_MEMBER = 0x0000FF;
const COLORREF MASK_COLOUR = 0xFF00FF;
const int ROW_HEIGHT = 20;

const LONG HIDDEN_USER = 256;
const DWORD IDENTITY_FIRST = 14;
const DWORD FLAG_IMAGE_SET_12 = 0x10000000;

enum
{
    KIND_USER_ID = 1,
    KIND_NICKNAME = 2,
    KIND_TABLE = 101,
    KIND_CHAIR = 103,
    KIND_WINS = 200,
    KIND_FLEES = 203,
    KIND_WIN_RATE = 205,
    KIND_FLEE_RATE = 208,
    KIND_VALUE_84 = 211,
    KIND_SCORE = 212,
    KIND_TOTAL_GAMES = 213,
    KIND_RANK_TITLE = 214,
    KIND_VALUE_88 = 215,
    KIND_TEXT_116 = 301,
};

// The process's shared pictures; made once, kept until exit.
CImageList g_StatusImage;
CImageList g_MemberImage;
CImageList g_IdentityImage;
CImageList g_CompanionImage;

struct IdentityTitle
{
    LPCSTR pszTitle;
    int nIcon;
};

const IdentityTitle IDENTITY_TITLES[] = {
    {"民星新秀", 0}, {"牌王冠军", 2}, {"牌王亚军", 2}, {"牌王季军", 2}, {"牌王第四", 2},
    {"牌王八强", 2}, {"牌王16强", 2}, {"牌王32强", 2}, {"新秀冠军", 0}, {"新秀亚军", 0},
    {"新秀季军", 0}, {"超级牌王", 1}, {"裁判员", 3},
};

int IdentityIcon(DWORD dwIdentity)
{
    if (dwIdentity < 1 || dwIdentity > sizeof(IDENTITY_TITLES) / sizeof(IDENTITY_TITLES[0]))
        return -1;
    return IDENTITY_TITLES[dwIdentity - 1].nIcon;
}

// Member levels 1 to 6; anything else (hidden users, bad values) is none.
LONG MemberLevel(const CUserItem* pUserItem)
{
    const LONG lLevel = (LONG)pUserItem->GetUserData()->dwRank;
    return (lLevel >= 1 && lLevel <= 6) ? lLevel : 0;
}

bool IsHidden(const CUserItem* pUserItem)
{
    return (LONG)pUserItem->GetUserData()->dwRank == HIDDEN_USER;
}

DWORD Identity(const CUserItem* pUserItem)
{
    return pUserItem->GetUserData()->dwKey112;
}

BYTE RawStatus(const CUserItem* pUserItem)
{
    return pUserItem->GetUserData()->cbUserStatus;
}

LONG Counter(const CUserItem* pUserItem, int nCounter)
{
    return (LONG)pUserItem->GetUserData()->dwScore[1 + nCounter];
}

LONG Score(const CUserItem* pUserItem)
{
    return (LONG)pUserItem->GetUserData()->dwScore[0];
}

// Counter over all games; 0 without games.
double CounterRate(const CUserItem* pUserItem, int nCounter)
{
    const DWORD dwTotal = pUserItem->GetTotalGames();
    return dwTotal == 0 ? 0.0 : (double)Counter(pUserItem, nCounter) / (double)dwTotal;
}

CString Text116(const CUserItem* pUserItem)
{
    const tagUserData* pData = pUserItem->GetUserData();
    return RecordText((const char*)pData->cbUnused2, sizeof(pData->cbUnused2));
}

bool LoadImageList(CImageList& list, LPCSTR pszFile, int nWidth)
{
    if (list.GetSafeHandle() != NULL)
        return true;
    CString strPath = g_GlobalUnits.GetResourceDirectory();
    strPath += "ListImage\\";
    strPath += pszFile;
    HBITMAP hBitmap = (HBITMAP)::LoadImage(NULL, strPath, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION);
    if (hBitmap == NULL)
        return false;
    CBitmap bitmap;
    bitmap.Attach(hBitmap);
    BITMAP info = {};
    bitmap.GetBitmap(&info);
    if (!list.Create(nWidth, info.bmHeight, ILC_COLOR16 | ILC_MASK, 0, 0))
        return false;
    list.Add(&bitmap, MASK_COLOUR);
    return true;
}

struct SortParam
{
    int nColumn;
    bool bAscending;
    WORD wDataDescribe; // 0: an icon column
    const CUserListView* pList;
};

// Numeric keys: equal values keep the first ahead when ascending.
template <typename T> int CompareValues(T a, T b)
{
    if (a < b)
        return -1;
    if (a > b)
        return 1;
    return -1;
}

int CompareByKind(const CUserItem* p1, const CUserItem* p2, WORD wKind)
{
    const tagUserData* d1 = p1->GetUserData();
    const tagUserData* d2 = p2->GetUserData();
    switch (wKind) {
    case KIND_USER_ID: return CompareValues(d1->dwUserID, d2->dwUserID);
    case KIND_NICKNAME: return RecordText(d1->szNickName).CompareNoCase(RecordText(d2->szNickName));
    case KIND_TABLE: return CompareValues(d1->wTableID, d2->wTableID);
    case KIND_CHAIR: return CompareValues(d1->wKey102, d2->wKey102);
    case KIND_WIN_RATE:
    case KIND_WIN_RATE + 1:
    case KIND_WIN_RATE + 2:
    case KIND_FLEE_RATE:
        // The rate the cell shows.
        return CompareValues(CounterRate(p1, wKind - KIND_WIN_RATE), CounterRate(p2, wKind - KIND_WIN_RATE));
    case KIND_VALUE_84: return CompareValues(d1->dwKey14, d2->dwKey14);
    case KIND_VALUE_88: return CompareValues(d1->dwKey17, d2->dwKey17);
    case KIND_SCORE:
    case KIND_RANK_TITLE: return CompareValues(Score(p1), Score(p2));
    case KIND_TOTAL_GAMES: return CompareValues(p1->GetTotalGames(), p2->GetTotalGames());
    case KIND_TEXT_116: return strcmp(Text116(p1), Text116(p2));
    default:
        if (wKind >= KIND_WINS && wKind <= KIND_FLEES)
            return CompareValues(Counter(p1, wKind - KIND_WINS), Counter(p2, wKind - KIND_WINS));
        return 0;
    }
}
} // namespace

BEGIN_MESSAGE_MAP(CUserListView, CSkinListCtrl)
    ON_NOTIFY_REFLECT(LVN_COLUMNCLICK, OnColumnClick)
    ON_NOTIFY_REFLECT(NM_CLICK, OnClick)
    ON_NOTIFY_REFLECT(NM_DBLCLK, OnDblClick)
    ON_NOTIFY_REFLECT(NM_RCLICK, OnRClick)
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_KILLFOCUS()
    ON_NOTIFY_REFLECT_EX(LVN_DELETEITEM, OnDeleteItem)
    ON_NOTIFY_REFLECT_EX(LVN_DELETEALLITEMS, OnDeleteAllItems)
    ON_NOTIFY_EX_RANGE(TTN_NEEDTEXTA, 0, 0xFFFF, OnToolTipText)
    ON_NOTIFY_EX_RANGE(TTN_NEEDTEXTW, 0, 0xFFFF, OnToolTipText)
END_MESSAGE_MAP()

CUserListView::CUserListView()
    : m_nHoverItem(-1), m_nSelectItem(-1), m_bHideOthers(false), m_nTopRowCount(1), m_bAscendSort(false),
      m_wColumnCount(0), m_pIUserListSink(NULL), m_wHitMask(LVHT_ONITEM)
{
    memset(m_wDataDescribe, 0, sizeof(m_wDataDescribe));
}

CUserListView::~CUserListView()
{
    if (m_pIUserListSink != NULL)
        m_pIUserListSink->Release();
    m_pIUserListSink = NULL;
}

bool CUserListView::LoadImageLists(IUnknownEx* pIUnknownEx)
{
    if (!LoadImageList(g_StatusImage, "USER_STATUS.bmp", 16) || !LoadImageList(g_MemberImage, "USER_RATE.bmp", 21) ||
        !LoadImageList(g_IdentityImage, "USER_LIST_IDENTIFY.bmp", 17) ||
        !LoadImageList(g_CompanionImage, "USER_COMPANION.bmp", 16))
        return false;
    if (m_pIUserListSink != NULL)
        m_pIUserListSink->Release();
    m_pIUserListSink = NULL;
    if (pIUnknownEx == NULL || FAILED(pIUnknownEx->QueryInterface(IID_IUserListSink, (void**)&m_pIUserListSink)) ||
        m_pIUserListSink == NULL) {
        m_pIUserListSink = NULL;
        return false;
    }
    if (GetSafeHwnd() != NULL) {
        // The status images belong to every user list of the process: a list
        // window that goes must not destroy them with it.
        ModifyStyle(0, LVS_SHAREIMAGELISTS);
        SetImageList(&g_StatusImage, LVSIL_SMALL);
        SetBkColor(USER_LIST_BACK);
    }
    SetItemColor(USER_ROW_EVEN);
    SetItemColorEx(USER_ROW_EVEN);
    SetItemHeight(ROW_HEIGHT);
    return true;
}

bool CUserListView::SetColumnDescribe(const tagColumnItem* pColumnItem, WORD wColumnCount)
{
    if (GetSafeHwnd() == NULL)
        return false;
    SetRedraw(FALSE);
    DeleteAllColumns(*this);
    m_wColumnCount = 0;
    memset(m_wDataDescribe, 0, sizeof(m_wDataDescribe));
    const int nIconWidth[ICON_COLUMN_COUNT] = {35, 25, 25};
    for (int i = 0; i < ICON_COLUMN_COUNT; ++i)
        InsertColumn(m_wColumnCount++, "", LVCFMT_CENTER, nIconWidth[i]);
    const WORD wData = pColumnItem == NULL ? 0 : (wColumnCount < MAX_DATA_COLUMN ? wColumnCount : MAX_DATA_COLUMN);
    for (WORD i = 0; i < wData; ++i) {
        InsertColumn(m_wColumnCount, RecordText(pColumnItem[i].szColumnName), LVCFMT_CENTER,
                     pColumnItem[i].wColumnWidth);
        m_wDataDescribe[i] = pColumnItem[i].wDataDescribe;
        ++m_wColumnCount;
    }
    SetRedraw(TRUE);
    return true;
}

bool CUserListView::IsOwnUser(const CUserItem* pUserItem) const
{
    return pUserItem->GetUserID() == g_GlobalUnits.GetGlobalUserData()->dwUserID;
}

int CUserListView::FindUserRow(const CUserItem* pUserItem) const
{
    return FindRowByData(*this, pUserItem);
}

int CUserListView::GetImageIndex(const CUserItem* pUserItem)
{
    const tagUserData* pData = pUserItem->GetUserData();
    int nSet = MemberLevel(pUserItem);
    if (pData->dwPrivilege & FLAG_IMAGE_SET_12)
        nSet = 12;
    else if (pData->dwLookOnWord != 0)
        nSet = 4;
    // Statuses past the six of a set (16) would index the next set.
    const BYTE cbStatus = RawStatus(pUserItem);
    return nSet * 6 + ((cbStatus >= 1 && cbStatus <= 6) ? cbStatus - 1 : 0);
}

LPCSTR CUserListView::GetIdentityTitle(DWORD dwIdentity)
{
    if (dwIdentity < 1 || dwIdentity > sizeof(IDENTITY_TITLES) / sizeof(IDENTITY_TITLES[0]))
        return NULL;
    return IDENTITY_TITLES[dwIdentity - 1].pszTitle;
}

void CUserListView::SetRowImages(int nRow, int nImage)
{
    for (int nColumn = 0; nColumn < ICON_COLUMN_COUNT; ++nColumn)
        SetItem(nRow, nColumn, LVIF_IMAGE, NULL, nImage, 0, 0, 0);
}

bool CUserListView::InsertUserItem(CUserItem* pUserItem, bool bShown)
{
    if (GetSafeHwnd() == NULL || pUserItem == NULL)
        return false;
    const bool bOwnUser = IsOwnUser(pUserItem);
    if (IsHidden(pUserItem) && !bOwnUser)
        return true;
    if (m_ListedUsers.count(pUserItem) != 0) {
        UpdateUserItem(pUserItem);
        return true;
    }
    if (m_wColumnCount == 0)
        return true;

    int nPosition = GetItemCount();
    const bool bMember = MemberLevel(pUserItem) != 0;
    if (bOwnUser) {
        // The own user is row 0 whatever its level: hide-others shows row 0.
        nPosition = 0;
    } else if (g_GlobalOption.IsFriendUser(pUserItem->GetUserID())) {
        nPosition = bMember ? 1 : m_nTopRowCount;
        ++m_nTopRowCount;
        m_TopRowUsers.insert(pUserItem);
    } else if (bMember) {
        nPosition = m_nTopRowCount;
    }
    if (nPosition > GetItemCount())
        nPosition = GetItemCount();

    const int nImage = GetImageIndex(pUserItem);
    const int nRow = InsertItem(LVIF_PARAM | LVIF_IMAGE | LVIF_TEXT, nPosition, "", 0, 0, nImage, (LPARAM)pUserItem);
    if (nRow == -1) {
        if (m_TopRowUsers.erase(pUserItem) != 0)
            --m_nTopRowCount;
        return false;
    }
    m_ListedUsers.insert(pUserItem);
    SetRowImages(nRow, nImage);
    for (WORD wData = 0; wData + ICON_COLUMN_COUNT < m_wColumnCount; ++wData)
        SetItemText(nRow, wData + ICON_COLUMN_COUNT, GetItemText(pUserItem, wData, bShown));
    return true;
}

bool CUserListView::UpdateUserItem(CUserItem* pUserItem)
{
    if (GetSafeHwnd() == NULL || pUserItem == NULL)
        return false;
    if (m_ListedUsers.count(pUserItem) == 0)
        return false;
    if (IsHidden(pUserItem) && !IsOwnUser(pUserItem))
        return true;
    const int nRow = FindUserRow(pUserItem);
    if (nRow == -1)
        return false;
    SetRowImages(nRow, GetImageIndex(pUserItem));
    for (WORD wData = 0; wData + ICON_COLUMN_COUNT < m_wColumnCount; ++wData)
        SetItemText(nRow, wData + ICON_COLUMN_COUNT, GetItemText(pUserItem, wData, true));
    return true;
}

bool CUserListView::DeleteUserItem(CUserItem* pUserItem)
{
    if (GetSafeHwnd() == NULL || pUserItem == NULL)
        return false;
    if (IsHidden(pUserItem) && !IsOwnUser(pUserItem))
        return true;
    const int nRow = m_ListedUsers.count(pUserItem) != 0 ? FindUserRow(pUserItem) : -1;
    if (nRow == -1)
        return false;
    if (m_nSelectItem >= nRow)
        m_nSelectItem = m_nSelectItem == nRow ? -1 : m_nSelectItem - 1;
    if (m_nHoverItem >= nRow)
        m_nHoverItem = m_nHoverItem == nRow ? -1 : m_nHoverItem - 1;
    ForgetUser(pUserItem);
    DeleteItem(nRow);
    Invalidate();
    return true;
}

CString CUserListView::GetItemText(const CUserItem* pUserItem, WORD wDataColumn, bool bShown) const
{
    CString strText;
    if (pUserItem == NULL || wDataColumn >= MAX_DATA_COLUMN || wDataColumn + ICON_COLUMN_COUNT >= m_wColumnCount)
        return strText;
    const tagUserData* pData = pUserItem->GetUserData();
    const WORD wKind = m_wDataDescribe[wDataColumn];
    switch (wKind) {
    case KIND_USER_ID: strText.Format("%ld", bShown ? (long)pUserItem->GetDisplayID() : 10000L); break;
    case KIND_NICKNAME: strText = bShown ? RecordText(pData->szNickName) : CString("游戏玩家"); break;
    case KIND_TABLE:
        if (pData->wTableID != INVALID_TABLE)
            strText.Format("%3d", bShown ? pData->wTableID + 1 : 0);
        break;
    case KIND_CHAIR: strText.Format("%d", bShown ? pData->wKey102 : 0); break;
    case KIND_WIN_RATE:
    case KIND_WIN_RATE + 1:
    case KIND_WIN_RATE + 2:
    case KIND_FLEE_RATE: {
        const LONG lCounter = Counter(pUserItem, wKind - KIND_WIN_RATE);
        const DWORD dwTotal = pUserItem->GetTotalGames();
        // At least 0.01 percent, in integers: a floating compare at the
        // boundary differs between the x87 and SSE builds.
        if (bShown && lCounter > 0 && dwTotal != 0 && (ULONGLONG)lCounter * 10000 >= dwTotal)
            strText.Format("%5.2f%%", lCounter * 100.0 / dwTotal);
        else
            strText = "0";
        break;
    }
    case KIND_VALUE_84: strText.Format("%u", bShown ? (unsigned)pData->dwKey14 : 0u); break;
    case KIND_SCORE: strText.Format("%ld", bShown ? (long)Score(pUserItem) : 0L); break;
    case KIND_TOTAL_GAMES: strText.Format("%ld", bShown ? (long)pUserItem->GetTotalGames() : 0L); break;
    case KIND_RANK_TITLE: {
        IGameRankManager* pRank = g_GlobalUnits.m_GameRankManagerHelper.GetInterface();
        const tagRankItem* pItem = pRank != NULL ? pRank->GetRank(bShown ? Score(pUserItem) : 0) : NULL;
        if (pItem != NULL)
            strText = RecordText(pItem->szName);
        break;
    }
    case KIND_VALUE_88: strText.Format("%u", bShown ? (unsigned)pData->dwKey17 : 0u); break;
    case KIND_TEXT_116:
        if (bShown)
            strText = Text116(pUserItem);
        break;
    default:
        if (wKind >= KIND_WINS && wKind <= KIND_FLEES)
            strText.Format("%ld", bShown ? (long)Counter(pUserItem, wKind - KIND_WINS) : 0L);
        break;
    }
    return strText;
}

int CALLBACK CUserListView::CompareUsers(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort)
{
    const CUserItem* p1 = (const CUserItem*)lParam1;
    const CUserItem* p2 = (const CUserItem*)lParam2;
    const SortParam* pParam = (const SortParam*)lParamSort;
    const bool bOwn1 = pParam->pList->IsOwnUser(p1), bOwn2 = pParam->pList->IsOwnUser(p2);
    if (bOwn1 != bOwn2)
        return bOwn1 ? -1 : 1;
    const bool bFriend1 = g_GlobalOption.IsFriendUser(p1->GetUserID());
    const bool bFriend2 = g_GlobalOption.IsFriendUser(p2->GetUserID());
    if (bFriend1 != bFriend2)
        return bFriend1 ? -1 : 1;
    const bool bFirst1 = Identity(p1) == IDENTITY_FIRST, bFirst2 = Identity(p2) == IDENTITY_FIRST;
    if (bFirst1 != bFirst2)
        return bFirst1 ? -1 : 1;
    const LONG lLevel1 = MemberLevel(p1), lLevel2 = MemberLevel(p2);
    if (lLevel1 != lLevel2)
        return lLevel1 > lLevel2 ? -1 : 1;
    const int nResult = CompareByKind(p1, p2, pParam->wDataDescribe);
    return pParam->bAscending ? nResult : -nResult;
}

void CUserListView::SortByColumn(int nColumn, bool bAscending)
{
    SortParam param = {nColumn, bAscending, 0, this};
    if (nColumn >= ICON_COLUMN_COUNT && nColumn < m_wColumnCount)
        param.wDataDescribe = m_wDataDescribe[nColumn - ICON_COLUMN_COUNT];
    SortItems(CompareUsers, (DWORD_PTR)&param);
}

void CUserListView::SortByDefault()
{
    if (GetSafeHwnd() == NULL)
        return;
    SortByColumn(ICON_COLUMN_COUNT, m_bAscendSort);
    m_bAscendSort = !m_bAscendSort;
}

void CUserListView::Resort()
{
    if (GetSafeHwnd() == NULL)
        return;
    SortByColumn(ICON_COLUMN_COUNT, !m_bAscendSort);
}

void CUserListView::OnColumnClick(NMHDR* pNMHDR, LRESULT* pResult)
{
    *pResult = 0;
    if (m_wColumnCount == 0)
        return;
    SortByColumn(((NMLISTVIEW*)pNMHDR)->iSubItem, m_bAscendSort);
    m_bAscendSort = !m_bAscendSort;
}

void CUserListView::OnClick(NMHDR* pNMHDR, LRESULT* pResult)
{
    if (m_pIUserListSink != NULL)
        m_pIUserListSink->OnUserListClick(pNMHDR, pResult);
}

void CUserListView::OnDblClick(NMHDR* pNMHDR, LRESULT* pResult)
{
    if (m_pIUserListSink != NULL)
        m_pIUserListSink->OnUserListDblClick(pNMHDR, pResult);
}

void CUserListView::OnRClick(NMHDR* pNMHDR, LRESULT* pResult)
{
    if (m_pIUserListSink != NULL)
        m_pIUserListSink->OnUserListRClick(pNMHDR, pResult);
}

void CUserListView::RedrawRow(int nRow)
{
    if (nRow >= 0 && nRow < GetItemCount())
        RedrawItems(nRow, nRow);
}

void CUserListView::OnLButtonDown(UINT nFlags, CPoint point)
{
    const int nRow = HitTest(point);
    if (nRow != -1 && nRow != m_nSelectItem) {
        const int nOld = m_nSelectItem;
        m_nSelectItem = nRow;
        RedrawRow(nOld);
        RedrawRow(nRow);
    }
    Default();
}

void CUserListView::OnMouseMove(UINT nFlags, CPoint point)
{
    Default();
    const int nRow = HitTest(point);
    if (nRow == -1)
        return;
    if (nRow == m_nHoverItem) {
        if (m_pIUserListSink != NULL)
            m_pIUserListSink->OnUserListMouseMove(nRow, true);
        return;
    }
    const int nOld = m_nHoverItem;
    m_nHoverItem = nRow;
    if (nOld != m_nSelectItem)
        RedrawRow(nOld);
    if (nRow != m_nSelectItem)
        RedrawRow(nRow);
    if (m_pIUserListSink != NULL)
        m_pIUserListSink->OnUserListMouseMove(nRow, false);
}

void CUserListView::ForgetUser(const CUserItem* pUserItem)
{
    m_ListedUsers.erase(pUserItem);
    // Only a row that raised the count lowers it, whatever friendship says now.
    if (m_TopRowUsers.erase(pUserItem) != 0 && m_nTopRowCount > 1)
        --m_nTopRowCount;
}

BOOL CUserListView::OnDeleteItem(NMHDR* pNMHDR, LRESULT* pResult)
{
    // Rows deleted by the list's own calls, not only DeleteUserItem.
    ForgetUser((const CUserItem*)((NMLISTVIEW*)pNMHDR)->lParam);
    *pResult = 0;
    return FALSE;
}

BOOL CUserListView::OnDeleteAllItems(NMHDR*, LRESULT* pResult)
{
    // One LVN_DELETEITEM per row follows.
    *pResult = FALSE;
    return FALSE;
}

void CUserListView::OnKillFocus(CWnd* pNewWnd)
{
    if (m_pIUserListSink != NULL)
        m_pIUserListSink->OnUserListKillFocus();
    Default();
}

INT_PTR CUserListView::OnToolHitTest(CPoint point, TOOLINFO* pTI) const
{
    LVHITTESTINFO hit = {};
    hit.pt = point;
    const_cast<CUserListView*>(this)->SubItemHitTest(&hit);
    if (hit.iItem < 0 || (hit.flags & m_wHitMask) == 0)
        return -1;
    const INT_PTR nHit = (INT_PTR)hit.iItem * 100 + hit.iSubItem;
    if (pTI != NULL) {
        pTI->hwnd = m_hWnd;
        pTI->uId = (UINT_PTR)nHit;
        GetClientRect(&pTI->rect);
        pTI->lpszText = LPSTR_TEXTCALLBACK;
    }
    return nHit;
}

BOOL CUserListView::OnToolTipText(UINT, NMHDR* pNMHDR, LRESULT* pResult)
{
    // Window-id tools belong to the framework's own tips.
    if (pNMHDR->code == TTN_NEEDTEXTA) {
        if ((((NMTTDISPINFOA*)pNMHDR)->uFlags & TTF_IDISHWND) != 0 && (HWND)pNMHDR->idFrom == m_hWnd)
            return FALSE;
    } else if ((((NMTTDISPINFOW*)pNMHDR)->uFlags & TTF_IDISHWND) != 0 && (HWND)pNMHDR->idFrom == m_hWnd)
        return FALSE;

    const MSG* pMsg = GetCurrentMessage();
    CPoint point(pMsg->pt);
    ScreenToClient(&point);
    LVHITTESTINFO hit = {};
    hit.pt = point;
    SubItemHitTest(&hit);
    if (hit.iItem < 0 || hit.iSubItem != 2 || (hit.flags & m_wHitMask) == 0)
        return FALSE;
    const CUserItem* pUserItem = (const CUserItem*)GetItemData(hit.iItem);
    LPCSTR pszTitle = pUserItem != NULL ? GetIdentityTitle(Identity(pUserItem)) : NULL;
    if (pszTitle == NULL)
        return FALSE;
    if (pNMHDR->code == TTN_NEEDTEXTA) {
        NMTTDISPINFOA* pInfo = (NMTTDISPINFOA*)pNMHDR;
        TextCopyField(pInfo->szText, pszTitle);
    } else {
        NMTTDISPINFOW* pInfo = (NMTTDISPINFOW*)pNMHDR;
        std::string strUtf8;
        TextToUtf8(pszTitle, strUtf8, true);
        const int nWide = ::MultiByteToWideChar(CP_UTF8, 0, strUtf8.c_str(), (int)strUtf8.size(), pInfo->szText,
                                                (int)(sizeof(pInfo->szText) / sizeof(WCHAR)) - 1);
        pInfo->szText[nWide > 0 ? nWide : 0] = 0;
    }
    if (pResult != NULL)
        *pResult = 0;
    return TRUE;
}

bool CUserListView::ScrollToThumb(UINT message, WPARAM wParam)
{
    const int nBar = message == WM_VSCROLL ? SB_VERT : SB_HORZ;
    SCROLLINFO info = {};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    if (!GetScrollInfo(nBar, &info))
        return true;
    // An empty range has nothing to scroll to.
    if (info.nMax + 1 <= 0)
        return true;
    // A list has no negative positions: the word is read unsigned.
    const int nTarget = (int)HIWORD(wParam);
    if (nBar == SB_HORZ) {
        // Sideways the positions are pixels.
        Scroll(CSize(nTarget - info.nPos, 0));
        return true;
    }
    // Down the positions are rows; the list scrolls by pixels. The client
    // height includes the header, so it cannot stand for a page of rows.
    CRect rcItem;
    if (GetItemCount() == 0 || !GetItemRect(0, &rcItem, LVIR_BOUNDS) || rcItem.Height() <= 0)
        return true;
    Scroll(CSize(0, (nTarget - info.nPos) * rcItem.Height()));
    return true;
}

LRESULT CUserListView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if ((message == WM_VSCROLL || message == WM_HSCROLL) &&
        (LOWORD(wParam) == SB_THUMBPOSITION || LOWORD(wParam) == SB_THUMBTRACK)) {
        ScrollToThumb(message, wParam);
        return 0;
    }
    return CSkinListCtrl::WindowProc(message, wParam, lParam);
}

void CUserListView::DrawCellIcons(CDC* pDC, int nColumn, const CRect& rcCell, const CUserItem* pUserItem, bool bShown)
{
    const CPoint origin(rcCell.CenterPoint().x - 8, rcCell.CenterPoint().y - 8);
    if (nColumn == 0) {
        const LONG lLevel = MemberLevel(pUserItem);
        if (rcCell.Width() >= 3 && bShown && lLevel != 0)
            g_MemberImage.Draw(pDC, lLevel, CPoint(origin.x - 8, origin.y + 2), ILD_TRANSPARENT);
        return;
    }
    if (nColumn == 1) {
        if (rcCell.Width() < 16 || !bShown)
            return;
        const BYTE cbStatus = RawStatus(pUserItem);
        if (cbStatus >= 2 && cbStatus <= 6)
            g_StatusImage.Draw(pDC, cbStatus - 2, origin, ILD_TRANSPARENT);
        else if (cbStatus >= 7)
            g_StatusImage.Draw(pDC, 4, origin, ILD_TRANSPARENT);
        return;
    }
    if (rcCell.Width() < 16)
        return;
    const int nIcon = IdentityIcon(Identity(pUserItem));
    if (nIcon >= 0) {
        const CPoint centre = rcCell.CenterPoint();
        g_IdentityImage.Draw(pDC, nIcon, CPoint(centre.x - 17 / 2, centre.y - 15 / 2), ILD_TRANSPARENT);
        return;
    }
    if (!bShown)
        return;
    const tagUserData* pData = pUserItem->GetUserData();
    CCustomFaceManagerWnd* pFaces = g_GlobalUnits.GetCustomFaceManager();
    const CString strFace = RecordText(pData->szKey13);
    if (pFaces != NULL && pFaces->HasCurrentFace(pData->dwUserID, strFace)) {
        pFaces->DrawFaceInRect(pData->dwUserID, strFace, pDC, origin.x, origin.y - 1, 16, 16);
        return;
    }
    IUserFaceRes* pFaceRes = g_GlobalUnits.m_UserFaceResHelper.GetInterface();
    if (pFaceRes != NULL)
        pFaceRes->DrawFace(pData->wFaceID, 0, pDC, origin.x, origin.y, 16, 16);
}

void CUserListView::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    CDC* pDC = CDC::FromHandle(lpDrawItemStruct->hDC);
    const int nItem = (int)lpDrawItemStruct->itemID;
    const CUserItem* pUserItem = (const CUserItem*)GetItemData(nItem);
    if (pUserItem == NULL)
        return;
    const bool bSelected = (lpDrawItemStruct->itemState & ODS_SELECTED) != 0;
    const bool bShown = nItem == 0 || !m_bHideOthers;
    const bool bRedText = (MemberLevel(pUserItem) != 0 && !m_bHideOthers) || Identity(pUserItem) == IDENTITY_FIRST;
    const COLORREF crFill = bSelected ? USER_ROW_SELECTED : ((nItem & 1) ? USER_ROW_ODD : USER_ROW_EVEN);

    CHeaderCtrl* pHeader = GetHeaderCtrl();
    const int nColumns = pHeader != NULL ? pHeader->GetItemCount() : 0;
    const int nMode = pDC->SetBkMode(TRANSPARENT);
    const COLORREF crOld = pDC->SetTextColor(bRedText ? TEXT_MEMBER : TEXT_NORMAL);
    for (int nColumn = 0; nColumn < nColumns; ++nColumn) {
        CRect rcCell;
        if (!GetSubItemRect(nItem, nColumn, LVIR_LABEL, rcCell))
            continue;
        if (nColumn == 0)
            rcCell.left -= 16;
        pDC->FillSolidRect(&rcCell, crFill);
        pDC->SelectStockObject(DEFAULT_GUI_FONT);
        if (nColumn < ICON_COLUMN_COUNT) {
            DrawCellIcons(pDC, nColumn, rcCell, pUserItem, bShown);
        } else {
            TEXTMETRIC metrics = {};
            pDC->GetTextMetrics(&metrics);
            CRect rcText(rcCell);
            UINT nFormat = DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS;
            if (nColumn == ICON_COLUMN_COUNT) {
                rcText.left += 5;
                nFormat |= DT_LEFT;
            } else {
                nFormat |= DT_CENTER;
            }
            rcText.OffsetRect(0, (rcCell.Height() - metrics.tmHeight) / 2);
            pDC->DrawText(CListCtrl::GetItemText(nItem, nColumn), &rcText, nFormat);
        }
        pDC->SelectStockObject(SYSTEM_FONT);
    }
    pDC->SetTextColor(crOld);
    pDC->SetBkMode(nMode);
}

BEGIN_MESSAGE_MAP(CSkinUserListView, CUserListView)
    ON_WM_NCPAINT()
END_MESSAGE_MAP()

void CSkinUserListView::OnNcPaint()
{
    Default();
    DrawControlBorder(m_hWnd);
}
