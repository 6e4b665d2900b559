#include "GameListListCtrl.h"

#include "GameTreeItem.h"
#include "GameTreeManager.h"
#include "GlobalUnits.h"

BEGIN_MESSAGE_MAP(CGameListListCtrl, CSkinListCtrl)
    ON_WM_NCPAINT()
    ON_WM_VSCROLL()
    ON_WM_HSCROLL()
END_MESSAGE_MAP()

namespace
{
const COLORREF TEXT_COLOUR = 0x723E16;
const COLORREF BACK_COLOUR = 0xFFFFFA;
const COLORREF BORDER_COLOUR = 0x996500;
} // namespace

CGameListListCtrl::CGameListListCtrl() {}

CGameListListCtrl::~CGameListListCtrl() {}

void CGameListListCtrl::PreSubclassWindow()
{
    CSkinListCtrl::PreSubclassWindow();
    CString path;
    path.Format("%sListImage\\SERVER_LIST_IMAGE.bmp", g_GlobalUnits.GetResourceDirectory());
    HBITMAP hStrip = (HBITMAP)::LoadImageA(NULL, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION);
    if (hStrip == NULL)
        return;
    CBitmap strip;
    strip.Attach(hStrip);
    if (!m_ImageList.Create(IMAGE_SIZE, IMAGE_SIZE, ILC_COLOR16 | ILC_MASK, 0, 4))
        return;
    m_ImageList.Add(&strip, RGB(255, 0, 255));
    SetImageList(&m_ImageList, LVSIL_SMALL);
    SetTextColor(TEXT_COLOUR);
    SetBkColor(BACK_COLOUR);
    SetTextBkColor(BACK_COLOUR);
    ModifyStyle(0, LVS_NOCOLUMNHEADER);
    CRect rc;
    GetClientRect(&rc);
    InsertColumn(0, "", LVCFMT_LEFT, rc.Width());
}

int CGameListListCtrl::FindGame(DWORD dwGameId)
{
    for (int i = 0; i < GetItemCount(); i++) {
        CGame* game = GetGame(i);
        if (game != NULL && game->GetId() == dwGameId)
            return i;
    }
    return -1;
}

bool CGameListListCtrl::AddGame(CGame* pGame)
{
    if (pGame == NULL || FindGame(pGame->GetId()) >= 0)
        return false;
    int image = GetGameImage(pGame);
    if (image < 0)
        image = IMAGE_NOT_INSTALLED;
    const int item = InsertItem(GetItemCount(), pGame->GetName(), image);
    if (item < 0)
        return false;
    SetItemData(item, (DWORD_PTR)pGame);
    return true;
}

bool CGameListListCtrl::RemoveGame(CGame* pGame)
{
    const int item = pGame != NULL ? FindGame(pGame->GetId()) : -1;
    return item >= 0 && DeleteItem(item);
}

int CGameListListCtrl::GetGameImage(CGame* pGame)
{
    CGameTreeManager* manager = g_GlobalUnits.GetGameTreeManager();
    if (pGame == NULL || manager == NULL)
        return -1;
    const CString path = manager->GetGameExePath(pGame->GetId());
    if (path.IsEmpty() || ::GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES)
        return -1;
    return GetGameIcon(path, (WORD)pGame->GetId());
}

int CGameListListCtrl::GetGameIcon(LPCSTR pszPath, WORD wGameId)
{
    for (INT_PTR i = 0; i < m_IconCache.GetSize(); i++) {
        if (m_IconCache[i].wGameId == wGameId)
            return (int)m_IconCache[i].dwImage;
    }
    if (m_ImageList.GetSafeHandle() == NULL)
        return -1;
    // Read for its resources only: the program may be of the other bitness.
    HMODULE hModule = ::LoadLibraryExA(pszPath, NULL, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (hModule == NULL)
        return -1;
    HICON hIcon = (HICON)::LoadImageA(hModule, MAKEINTRESOURCEA(ICON_ID), IMAGE_ICON, IMAGE_SIZE, IMAGE_SIZE, 0);
    int image = -1;
    if (hIcon != NULL) {
        image = m_ImageList.Add(hIcon);
        ::DestroyIcon(hIcon);
    }
    ::FreeLibrary(hModule);
    if (image <= 0)
        return -1;
    tagIconCache entry = {wGameId, (DWORD)image};
    m_IconCache.Add(entry);
    return image;
}

void CGameListListCtrl::OnNcPaint()
{
    Default();
    CWindowDC dc(this);
    CRect rc;
    GetWindowRect(&rc);
    rc.OffsetRect(-rc.left, -rc.top);
    CBrush border(BORDER_COLOUR);
    dc.FrameRect(&rc, &border);
}

void CGameListListCtrl::ThumbScroll(int nBar, int nPos)
{
    SCROLLINFO si = {sizeof(si), SIF_ALL};
    if (!GetScrollInfo(nBar, &si))
        return;
    CRect rc;
    GetClientRect(&rc);
    const int client = nBar == SB_VERT ? rc.Height() : rc.Width();
    const long long range = (long long)si.nMax + 1;
    const long long extent = si.nPage != 0 ? range * client / si.nPage : client;
    if (range <= 0)
        return;
    const int pixels = (int)((long long)(nPos - si.nPos) * extent / range);
    if (nBar == SB_VERT)
        Scroll(CSize(0, pixels));
    else
        Scroll(CSize(pixels, 0));
}

void CGameListListCtrl::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    if (nSBCode == SB_THUMBTRACK || nSBCode == SB_THUMBPOSITION) {
        ThumbScroll(SB_VERT, (int)nPos);
        return;
    }
    CSkinListCtrl::OnVScroll(nSBCode, nPos, pScrollBar);
}

void CGameListListCtrl::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    if (nSBCode == SB_THUMBTRACK || nSBCode == SB_THUMBPOSITION) {
        ThumbScroll(SB_HORZ, (int)nPos);
        return;
    }
    CSkinListCtrl::OnHScroll(nSBCode, nPos, pScrollBar);
}
