#include "ServerItemView.h"

#include "GameRoom.h"
#include "GameTreeManager.h"
#include "GameTreeNode.h"
#include "GlobalOption.h"
#include "GlobalUnits.h"
#include "TextUnit.h"

BEGIN_MESSAGE_MAP(CServerItemView, CPPTreeCtrl)
    ON_WM_LBUTTONDBLCLK()
    ON_WM_RBUTTONDOWN()
END_MESSAGE_MAP()

namespace
{
const int ROW_HEIGHT = 28;
const COLORREF SERVER_ITEM_TEXT = 0x0A0A0A;
const COLORREF SERVER_ITEM_BACK = 0xFFF9F6;
const COLORREF HIGHLIGHT_COLOUR = 0xD38800;
const COLORREF HOT_COLOUR = 0x0505FF;
// Game and room texts end in this many blanks.
const char kTrailingBlanks[] = "             ";

LONG NotNegative(LONG lCount)
{
    return lCount < 0 ? 0 : lCount;
}

// The text as an item shows it: never longer than its buffer allows, and
// never ending inside a double-byte character.
CString CutItemText(const CString& text)
{
    const size_t keep = TextCutLength(text, (size_t)text.GetLength(), CServerItemView::ITEM_TEXT_SIZE - 1);
    return text.Left((int)keep);
}

CGameTreeManager* TreeManager()
{
    return g_GlobalUnits.GetGameTreeManager();
}

// A logo from the program's resources, read without running anything of it
// (the program may be of the other bitness).
bool LoadResourceLogo(LPCSTR pszPath, CPicture& logo)
{
    HMODULE hModule = ::LoadLibraryExA(pszPath, NULL, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (hModule == NULL)
        return false;
    HBITMAP hBitmap = (HBITMAP)::LoadImageA(hModule, "GAME_LOGO", IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
    bool loaded = false;
    if (hBitmap != NULL) {
        loaded = logo.CreateFromHBITMAP(hBitmap) && logo.IncreaseBpp(24);
        ::DeleteObject(hBitmap);
    }
    ::FreeLibrary(hModule);
    return loaded;
}
} // namespace

CServerItemView::CServerItemView()
    : m_bShowCounts(false), m_pRootNode(NULL), m_pSink(NULL), m_WebGameIcons(10), m_crHighlight(HIGHLIGHT_COLOUR)
{}

CServerItemView::~CServerItemView() {}

bool CServerItemView::InitServerTree(IOnPenSink* pSink)
{
    SetItemHeight(ROW_HEIGHT);
    m_nRowHeight = ROW_HEIGHT;
    SetTextColor(SERVER_ITEM_TEXT);
    SetBkColor(SERVER_ITEM_BACK);
    m_crHighlight = HIGHLIGHT_COLOUR;
    m_pSink = pSink;

    const CString folder = g_GlobalUnits.GetResourceDirectory();
    if (!SetIconStrip(folder + "ListImage\\SERVER_LIST_IMAGE.png"))
        return false;
    m_IconStrip.SetTransColor(CPicture::RgbToQuad(RGB(255, 0, 255)));
    m_MatchRoot.Load(folder + "ServerList\\MatchRoot.png");
    m_MatchIn.Load(folder + "ServerList\\MatchIn.png");
    LOGFONT lf = {};
    ::GetObject(::GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
    lf.lfWeight = FW_BOLD;
    if (m_BoldFont.GetSafeHandle() == NULL)
        m_BoldFont.CreateFontIndirect(&lf);
    return true;
}

// ---------------------------------------------------------------- texts

CString CServerItemView::FormatRootText(LONG lCount, bool bWeb, bool bShow) const
{
    const char* name = bWeb ? "网页游戏" : "Varnok棋牌平台";
    CString text;
    if (bShow)
        text.Format("%s （%ld人）", name, NotNegative(lCount));
    else
        text = name;
    return CutItemText(text);
}

CString CServerItemView::FormatFolderText(int nKind, LPCSTR pszName, LONG lCount, bool bShow) const
{
    CString text;
    if (bShow && nKind == TREE_ITEM_CATEGORY)
        text.Format("%s （%ld人）", pszName, NotNegative(lCount));
    else if (bShow && nKind == TREE_ITEM_STATION)
        text.Format("%s (%ld人)", pszName, NotNegative(lCount));
    else
        text = pszName;
    return CutItemText(text);
}

bool CServerItemView::IsGameInstalled(CGame* pGame)
{
    if (pGame == NULL || TreeManager() == NULL)
        return false;
    const CString path = TreeManager()->GetGameExePath(pGame->GetId());
    if (path.IsEmpty())
        return false;
    HANDLE hFile = ::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, NULL);
    if (hFile == INVALID_HANDLE_VALUE)
        return false;
    ::CloseHandle(hFile);
    return true;
}

CString CServerItemView::FormatGameText(CGame* pGame, LPCSTR pszName, LONG lCount, bool bShow) const
{
    const CString name = (pszName != NULL && *pszName) ? CString(pszName) : (pGame ? pGame->GetName() : CString());
    const bool installed = IsGameInstalled(pGame);
    CString text;
    if (bShow && installed)
        text.Format("%s (%ld人)%s ", (LPCSTR)name, NotNegative(lCount), kTrailingBlanks);
    else if (bShow)
        text.Format("%s (双击下载)(%ld人)%s", (LPCSTR)name, NotNegative(lCount), kTrailingBlanks);
    else if (installed)
        text.Format("%s%s", (LPCSTR)name, kTrailingBlanks);
    else
        text.Format("%s (双击下载)%s", (LPCSTR)name, kTrailingBlanks);
    return CutItemText(text);
}

CString CServerItemView::FormatRoomText(CGameRoom* pRoom, LPCSTR pszName, bool bShow) const
{
    const CString name = (pszName != NULL && *pszName) ? CString(pszName) : (pRoom ? pRoom->GetName() : CString());
    const LONG count = pRoom != NULL ? (LONG)pRoom->GetOnlineCount() : 0;
    CString text;
    if (bShow)
        text.Format("%s (%ld人)%s", (LPCSTR)name, NotNegative(count), kTrailingBlanks);
    else
        text.Format("%s%s", (LPCSTR)name, kTrailingBlanks);
    return CutItemText(text);
}

bool CServerItemView::ShowCountOf(const CGameTreeNode* pNode) const
{
    return m_bShowCounts && pNode != NULL && (pNode->GetFlags() & NODE_FLAG_NO_COUNT) == 0;
}

CString CServerItemView::NameOf(const CGameTreeNode* pNode, LPCSTR pszItemName)
{
    const CString caption = pNode->GetText();
    if (!caption.IsEmpty() || pszItemName == NULL)
        return caption;
    return pszItemName;
}

// ---------------------------------------------------------------- building

void CServerItemView::InsertRootItem(bool bWeb)
{
    HTREEITEM hItem = InsertItem(FormatRootText(0, bWeb, m_bShowCounts), IMAGE_PLAIN, IMAGE_PLAIN, TVI_ROOT, TVI_LAST);
    if (hItem != NULL)
        SetItemData(hItem, 0);
}

void CServerItemView::SetRootText(LONG lCount)
{
    HTREEITEM hFirst = GetRootItem();
    if (hFirst != NULL)
        SetItemText(hFirst, FormatRootText(lCount, false, m_bShowCounts));
}

void CServerItemView::BuildTree(CGameTreeNode* pNode, HTREEITEM hParent)
{
    if (pNode == NULL)
        return;
    CGameTreeManager* manager = TreeManager();
    for (INT_PTR i = 0; i < pNode->GetChildCount(); i++) {
        CGameTreeNode* child = pNode->GetChild(i);
        if (child == NULL)
            break;
        const DWORD id = child->GetItemData();
        CGameItem* item = NULL;
        CString text;
        switch (child->GetItemType()) {
        case TREE_ITEM_CATEGORY: item = manager ? manager->FindGameCategory(id) : NULL; break;
        case TREE_ITEM_STATION: item = manager ? manager->FindGameStation(id) : NULL; break;
        case TREE_ITEM_GAME_WEB: item = manager ? manager->FindGameWeb(id) : NULL; break;
        case TREE_ITEM_WEB_GAME: item = manager ? manager->FindWebGame(id) : NULL; break;
        case TREE_ITEM_WEB_GAME_SERVER: item = manager ? manager->FindWebGameServer(id) : NULL; break;
        default: break;
        }
        switch (child->GetItemType()) {
        case TREE_ITEM_GAME: {
            CGame* game = manager ? manager->FindGame(id) : NULL;
            if (game != NULL) {
                LoadGameImage(game);
                text = FormatGameText(game, child->GetText(), 0, ShowCountOf(child));
            } else
                text = child->GetText();
            break;
        }
        case TREE_ITEM_ROOM: {
            CGameRoom* room = manager ? manager->FindGameRoom(id) : NULL;
            if (room != NULL) {
                if (g_GlobalUnits.LookupRoomMapItem(id) == NULL)
                    g_GlobalUnits.AddRoomMapItem(id, room);
                text = FormatRoomText(room, child->GetText(), ShowCountOf(child)) + "   ";
            } else
                text = child->GetText();
            break;
        }
        case TREE_ITEM_PLAIN: text = child->GetText(); break;
        default: text = item != NULL ? NameOf(child, item->GetName()) : child->GetText(); break;
        }
        HTREEITEM hItem = InsertItem(CutItemText(text), 0, 0, hParent != NULL ? hParent : TVI_ROOT, TVI_LAST);
        if (hItem == NULL)
            continue;
        SetItemData(hItem, (DWORD_PTR)child);
        BuildTree(child, hItem);
    }
}

void CServerItemView::WriteItemText(HTREEITEM hItem, CGameTreeNode* pNode)
{
    CGameTreeManager* manager = TreeManager();
    if (pNode == NULL || manager == NULL)
        return;
    const DWORD id = pNode->GetItemData();
    const LONG count = (LONG)pNode->GetState();
    const bool show = ShowCountOf(pNode);
    switch (pNode->GetItemType()) {
    case TREE_ITEM_CATEGORY: {
        CGameCategory* category = manager->FindGameCategory(id);
        SetItemText(hItem, FormatFolderText(TREE_ITEM_CATEGORY,
                                            NameOf(pNode, category ? (LPCSTR)category->GetName() : NULL), count, show));
        break;
    }
    case TREE_ITEM_STATION: {
        CGameStation* station = manager->FindGameStation(id);
        SetItemText(hItem, FormatFolderText(TREE_ITEM_STATION,
                                            NameOf(pNode, station ? (LPCSTR)station->GetName() : NULL), count, show));
        break;
    }
    case TREE_ITEM_GAME: {
        CGame* game = manager->FindGame(id);
        if (game == NULL)
            break;
        LoadGameImage(game);
        SetItemText(hItem, FormatGameText(game, pNode->GetText(), count, show));
        break;
    }
    case TREE_ITEM_ROOM: {
        CGameRoom* room = manager->FindGameRoom(id);
        if (room != NULL)
            SetItemText(hItem, FormatRoomText(room, pNode->GetText(), show));
        break;
    }
    default: break;
    }
}

void CServerItemView::RefreshItemTexts(HTREEITEM hItem)
{
    if (hItem == NULL)
        return;
    CGameTreeNode* node = GetItemNode(hItem);
    if (node != NULL && (node->GetItemType() == TREE_ITEM_CATEGORY || node->GetItemType() == TREE_ITEM_GAME))
        WriteItemText(hItem, node);
    HTREEITEM hChild = GetChildItem(hItem);
    while (hChild != NULL) {
        HTREEITEM hNext = GetNextSiblingItem(hChild);
        if (ItemHasChildren(hChild))
            RefreshItemTexts(hChild);
        if (!IsSpecialItem(hChild))
            WriteItemText(hChild, GetItemNode(hChild));
        hChild = hNext;
    }
}

void CServerItemView::ExpandItemsOf(CGameTreeNode* pNode)
{
    for (HTREEITEM hItem = GetRootItem(); hItem != NULL; hItem = GetNextSiblingItem(hItem)) {
        if (GetItemData(hItem) == (DWORD_PTR)pNode)
            Expand(hItem, TVE_EXPAND);
    }
    HTREEITEM hVisible = GetFirstVisibleItem();
    if (hVisible == NULL)
        return;
    for (HTREEITEM hItem = GetChildItem(hVisible); hItem != NULL; hItem = GetNextSiblingItem(hItem)) {
        if (GetItemData(hItem) == (DWORD_PTR)pNode) {
            Expand(hItem, TVE_EXPAND);
            break;
        }
    }
}

void CServerItemView::ExpandFolders(CGameTreeNode* pRoot)
{
    if (pRoot == NULL)
        return;
    for (INT_PTR i = 0; i < pRoot->GetChildCount(); i++) {
        CGameTreeNode* child = pRoot->GetChild(i);
        if (child == NULL)
            break;
        if (child->GetItemType() == TREE_ITEM_CATEGORY) {
            ExpandFolders(child);
            ExpandItemsOf(child);
        } else if (child->GetItemType() == TREE_ITEM_WEB_GAME)
            ExpandItemsOf(child);
    }
}

bool CServerItemView::DeleteAllItems(HTREEITEM hItem)
{
    // The rooms of the map belong to the tree that is going.
    g_GlobalUnits.ClearRoomMap();
    // Every top-level item goes, whether or not the given one has children:
    // the first is the header line, which has none, and items left behind
    // would show nodes that are deleted.
    HTREEITEM hTop = GetRootItem();
    while (hTop != NULL) {
        HTREEITEM hNext = GetNextSiblingItem(hTop);
        if (hTop != hItem)
            DeleteItem(hTop);
        hTop = hNext;
    }
    if (hItem != NULL)
        DeleteItem(hItem);
    return true;
}

// ---------------------------------------------------------------- items

bool CServerItemView::IsSpecialItem(HTREEITEM hItem)
{
    if (hItem == NULL)
        return false;
    const DWORD_PTR data = GetItemData(hItem);
    return data == SPECIAL_ITEM_A || data == SPECIAL_ITEM_B;
}

CGameTreeNode* CServerItemView::GetItemNode(HTREEITEM hItem)
{
    if (hItem == NULL || IsSpecialItem(hItem))
        return NULL;
    return (CGameTreeNode*)GetItemData(hItem);
}

HTREEITEM CServerItemView::GetItemUnderCursor()
{
    CPoint point;
    AfxGetCursorPos(&point);
    ScreenToClient(&point);
    return HitTest(point);
}

bool CServerItemView::IsOnButtonOrIcon(HTREEITEM hItem)
{
    CPoint point;
    AfxGetCursorPos(&point);
    ScreenToClient(&point);
    if (!m_rcEnterButton.IsRectEmpty() && m_rcEnterButton.PtInRect(point))
        return true;
    CRect rcText;
    if (hItem == NULL || !GetItemRect(hItem, &rcText, TRUE))
        return false;
    // The icon cell in front of the text, where the tree draws it.
    const int textLeft = rcText.left + 2 * 9 + ICON_SIZE;
    const int top = rcText.top + (rcText.Height() - ICON_SIZE) / 2;
    const CRect rcIcon(textLeft - ICON_CELL, top, textLeft, top + ICON_SIZE);
    return rcIcon.PtInRect(point) != FALSE;
}

// ---------------------------------------------------------------- pictures

DWORD CServerItemView::FindGameImage(WORD wGameId) const
{
    for (INT_PTR i = 0; i < m_GameImages.GetSize(); i++) {
        if (m_GameImages[i].wGameId == wGameId)
            return m_GameImages[i].dwImageIndex;
    }
    return IMAGE_NO_LOGO;
}

void CServerItemView::SetGameImage(WORD wGameId, DWORD dwIndex)
{
    tagGameResourceInfo info = {wGameId, dwIndex};
    m_GameImages.Add(info);
}

int CServerItemView::AddLogo(CPicture* pLogo)
{
    m_ExtraIcons.push_back(pLogo);
    return (int)m_ExtraIcons.size() - 1;
}

void CServerItemView::LoadGameImage(CGame* pGame)
{
    if (pGame == NULL)
        return;
    const WORD id = (WORD)pGame->GetId();
    if (IsGameInstalled(pGame)) {
        LoadGameLogo(TreeManager()->GetGameExePath(pGame->GetId()), id);
        return;
    }
    for (INT_PTR i = 0; i < m_GameImages.GetSize(); i++) {
        if (m_GameImages[i].wGameId == id)
            return;
    }
    SetGameImage(id, IMAGE_NOT_INSTALLED);
}

void CServerItemView::LoadGameLogo(LPCSTR pszPath, WORD wGameId)
{
    for (INT_PTR i = 0; i < m_GameImages.GetSize(); i++) {
        if (m_GameImages[i].wGameId != wGameId)
            continue;
        if (m_GameImages[i].dwImageIndex >= FIRST_EXTRA_ICON)
            return;
        m_GameImages.RemoveAt(i);
        break;
    }
    CPicture* logo = new CPicture;
    CString png(pszPath);
    const int dot = png.ReverseFind('.');
    const int slash = png.ReverseFind('\\');
    if (dot > slash)
        png = png.Left(dot + 1) + "png";
    else
        png += ".png";
    bool loaded = logo->Load(png);
    if (!loaded) {
        loaded = LoadResourceLogo(pszPath, *logo);
        if (loaded)
            logo->SetTransColor(CPicture::RgbToQuad(RGB(255, 0, 255)));
    }
    if (!loaded) {
        delete logo;
        SetGameImage(wGameId, IMAGE_NO_LOGO);
        return;
    }
    SetGameImage(wGameId, FIRST_EXTRA_ICON + (DWORD)AddLogo(logo));
}

DWORD CServerItemView::LoadWebGameIcon(WORD wIconId)
{
    DWORD index = 0;
    if (m_WebGameIcons.Lookup(wIconId, index))
        return index;
    CString path;
    path.Format("%sWebGame//%d.ico", g_GlobalUnits.GetResourceDirectory(), (int)wIconId);
    HICON hIcon = (HICON)::LoadImageA(NULL, path, IMAGE_ICON, 0, 0, LR_LOADFROMFILE | LR_DEFAULTSIZE);
    if (hIcon == NULL)
        return IMAGE_NO_LOGO;
    ::DestroyIcon(hIcon);
    CPicture* logo = new CPicture;
    if (!logo->Load(path)) {
        delete logo;
        return IMAGE_NO_LOGO;
    }
    index = FIRST_EXTRA_ICON + (DWORD)AddLogo(logo);
    m_WebGameIcons.SetAt(wIconId, index);
    return index;
}

// ---------------------------------------------------------------- hooks

int CServerItemView::GetItemKind(HTREEITEM hItem)
{
    CGameTreeNode* node = GetItemNode(hItem);
    return node != NULL ? (int)node->GetItemType() : 0;
}

int CServerItemView::GetItemIconIndex(HTREEITEM hItem, int& nIndex)
{
    const DWORD_PTR data = GetItemData(hItem);
    if (data == SPECIAL_ITEM_B) {
        nIndex = IMAGE_SPECIAL;
        return TRUE;
    }
    if (data == SPECIAL_ITEM_A)
        return FALSE;
    CGameTreeNode* node = (CGameTreeNode*)data;
    CGameTreeManager* manager = TreeManager();
    if (node == NULL) {
        nIndex = IMAGE_PLAIN;
        return TRUE;
    }
    const DWORD id = node->GetItemData();
    switch (node->GetItemType()) {
    case TREE_ITEM_CATEGORY: nIndex = 0; break;
    case TREE_ITEM_GAME:
        if (manager != NULL && manager->FindGame(id) != NULL)
            nIndex = (int)FindGameImage((WORD)id);
        break;
    case TREE_ITEM_STATION: nIndex = 1; break;
    case TREE_ITEM_ROOM: {
        CGameRoom* room = manager != NULL ? manager->FindGameRoom(id) : NULL;
        if (room != NULL)
            nIndex = (int)FindGameImage((WORD)room->GetGameId());
        break;
    }
    case TREE_ITEM_GAME_WEB:
    case TREE_ITEM_WEB_GAME_SERVER: nIndex = IMAGE_LINK; break;
    case TREE_ITEM_WEB_GAME: {
        CWebGame* web = manager != NULL ? manager->FindWebGame(id) : NULL;
        if (web != NULL)
            nIndex = (int)LoadWebGameIcon((WORD)web->GetIconId());
        break;
    }
    default: nIndex = IMAGE_PLAIN; break;
    }
    return TRUE;
}

BOOL CServerItemView::DrawItemCustom(CDC*, int, int, int, int, HTREEITEM)
{
    return FALSE;
}

BOOL CServerItemView::HasEnterButton(HTREEITEM hItem)
{
    CGameTreeNode* node = GetItemNode(hItem);
    if (node == NULL || GetParentItem(hItem) == NULL)
        return FALSE;
    return node->GetItemType() != TREE_ITEM_CATEGORY && node->GetItemType() != TREE_ITEM_GAME_WEB;
}

BOOL CServerItemView::DrawAfterText(CDC* pDC, CPoint ptAfterText, HTREEITEM hItem)
{
    CGameTreeNode* node = GetItemNode(hItem);
    if (node == NULL)
        return FALSE;
    if ((node->GetFlags() & 0xFF) != NODE_HOT)
        return TRUE;
    CFont* pOldFont = pDC->SelectObject(&m_BoldFont);
    const COLORREF crOld = pDC->SetTextColor(HOT_COLOUR);
    const int nOldMode = pDC->SetBkMode(TRANSPARENT);
    CRect rc(ptAfterText.x, ptAfterText.y, ptAfterText.x + 40, ptAfterText.y + m_nRowHeight);
    pDC->DrawText("热", &rc, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    pDC->SetBkMode(nOldMode);
    pDC->SetTextColor(crOld);
    pDC->SelectObject(pOldFont);
    return TRUE;
}

CGameTreeNode* CServerItemView::FindFirstRoom(CGameTreeNode* pNode, DWORD dwRoomId)
{
    for (INT_PTR i = 0; pNode != NULL && i < pNode->GetChildCount(); i++) {
        CGameTreeNode* child = pNode->GetChild(i);
        if (child == NULL)
            break;
        if (child->GetItemType() == TREE_ITEM_ROOM) {
            if (dwRoomId != 0 ? child->GetItemData() == dwRoomId : child->GetItemData() != 0)
                return child;
        } else if (child->GetItemType() == TREE_ITEM_STATION) {
            CGameTreeNode* found = FindFirstRoom(child, dwRoomId);
            if (found != NULL)
                return found;
        }
    }
    return NULL;
}

void CServerItemView::HandRoomOn(HTREEITEM hItem, CGameTreeNode* pRoomNode)
{
    CGameTreeManager* manager = TreeManager();
    if (pRoomNode == NULL || manager == NULL || m_pSink == NULL)
        return;
    CGameRoom* room = manager->FindGameRoom(pRoomNode->GetItemData());
    if (room != NULL)
        m_pSink->OnEnterButton(room, hItem, this, pRoomNode);
}

void CServerItemView::OnEnterButtonClick(HTREEITEM hItem)
{
    if (!m_bEnterButtonArmed || !HasEnterButton(hItem))
        return;
    SelectItem(hItem);
    CGameTreeNode* node = GetItemNode(hItem);
    const DWORD type = node->GetItemType();
    if (type == TREE_ITEM_ROOM) {
        HandRoomOn(hItem, node);
        return;
    }
    if (type != TREE_ITEM_GAME && type != TREE_ITEM_STATION)
        return;
    // The game of a station is the game it lies under.
    CGameTreeNode* gameNode = node;
    while (gameNode != NULL && gameNode->GetItemType() != TREE_ITEM_GAME)
        gameNode = gameNode->GetParent();
    CGameTreeNode* roomNode = NULL;
    if (gameNode != NULL) {
        const DWORD lastRoom = g_GlobalOption.FindLastGame((WORD)gameNode->GetItemData());
        if (lastRoom != 0)
            roomNode = FindFirstRoom(node, lastRoom);
    }
    if (roomNode == NULL)
        roomNode = FindFirstRoom(node, 0);
    HandRoomOn(hItem, roomNode);
}

void CServerItemView::OnLButtonDblClk(UINT, CPoint point)
{
    HTREEITEM hItem = HitTest(point);
    if (hItem != NULL)
        Expand(hItem, TVE_TOGGLE);
    CWnd* pParent = GetParent();
    if (pParent != NULL) {
        NMHDR nmhdr = {m_hWnd, (UINT_PTR)GetDlgCtrlID(), (UINT)NM_DBLCLK};
        pParent->SendMessage(WM_NOTIFY, (WPARAM)nmhdr.idFrom, (LPARAM)&nmhdr);
    }
}

void CServerItemView::OnRButtonDown(UINT, CPoint)
{
    Default();
}
