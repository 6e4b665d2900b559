#include "GameListView.h"

#include <string.h>

#include "ClientDataCenter.h"
#include "GameRoom.h"
#include "GameTreeManager.h"
#include "GameTreeNode.h"
#include "GlobalAttemper.h"
#include "GlobalOption.h"
#include "GlobalUnits.h"
#include "HallMsgBox.h"
#include "HallProtocol.h"
#include "HallWindows.h"
#include "SkinBar.h"
#include "TextUnit.h"

BEGIN_MESSAGE_MAP(CGameListView, CSkinWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_SIZE()
    ON_MESSAGE(WM_HALL_NOTIFY, OnHallNotify)
    ON_NOTIFY(NM_CLICK, CGameListView::IDC_SERVER_TREE, OnTreeClick)
    ON_NOTIFY(NM_DBLCLK, CGameListView::IDC_SERVER_TREE, OnTreeDblClk)
END_MESSAGE_MAP()

namespace
{
const COLORREF GAME_LIST_BACK = 0xF6EAD2;
const COLORREF FRAME_COLOUR = 0x463C00;
const size_t kQuestionSize = 512;

// The address pattern of the configuration with the number put in: its one
// integer conversion takes the number, anything else stays as written, so a
// pattern from a file never reads an argument that is not there.
CString FormatWithNumber(const CString& pattern, DWORD dwNumber)
{
    CString result;
    bool used = false;
    for (int i = 0; i < pattern.GetLength(); i++) {
        const char c = pattern[i];
        if (c != '%' || i + 1 >= pattern.GetLength()) {
            result += c;
            continue;
        }
        if (pattern[i + 1] == '%') {
            result += '%';
            i++;
            continue;
        }
        int j = i + 1;
        while (j < pattern.GetLength() && (pattern[j] == 'l' || pattern[j] == 'h'))
            j++;
        if (!used && j < pattern.GetLength() && strchr("dui", pattern[j]) != NULL) {
            CString number;
            if (pattern[j] == 'u')
                number.Format("%lu", (unsigned long)dwNumber);
            else
                number.Format("%ld", (long)dwNumber);
            result += number;
            used = true;
            i = j;
            continue;
        }
        result += c;
    }
    return result;
}
} // namespace

CGameListView::CGameListView()
    : m_hScrollBitmap(NULL), m_pBestNode(NULL), m_nBestCount(0), m_dwTotalOnline(0), m_pDataCenter(NULL)
{}

CGameListView::~CGameListView()
{
    if (m_hScrollBitmap != NULL)
        ::DeleteObject(m_hScrollBitmap);
}

int CGameListView::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CSkinWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    CRect rc;
    GetClientRect(&rc);
    rc.DeflateRect(2, 2);
    const DWORD style =
        WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS | TVS_NOTOOLTIPS;
    if (!m_ServerItemView.Create(style, rc, this, IDC_SERVER_TREE))
        return -1;
    if (m_hScrollBitmap == NULL) {
        CString path;
        path.Format("%sCommon\\scrollbar\\scrollbar_treectrl.bmp", g_GlobalUnits.GetResourceDirectory());
        m_hScrollBitmap = (HBITMAP)::LoadImageA(NULL, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
    }
    if (m_hScrollBitmap != NULL)
        SkinBar_Attach(m_ServerItemView.GetSafeHwnd(), m_hScrollBitmap);
    return 0;
}

void CGameListView::OnDestroy()
{
    if (m_pDataCenter != NULL) {
        m_pDataCenter->RemoveNotifyWindow(HN_SERVER_TREE, m_hWnd);
        m_pDataCenter->RemoveNotifyWindow(HN_SECOND_TREE, m_hWnd);
        m_pDataCenter->RemoveNotifyWindow(HN_ONLINE_COUNT, m_hWnd);
    }
    CSkinWnd::OnDestroy();
}

void CGameListView::OnSize(UINT nType, int cx, int cy)
{
    CSkinWnd::OnSize(nType, cx, cy);
    if (m_ServerItemView.GetSafeHwnd() != NULL)
        m_ServerItemView.MoveWindow(2, 2, cx - 4, cy - 4);
}

void CGameListView::DrawSkinView(CDC* pDC, int cx, int cy)
{
    pDC->FillSolidRect(0, 0, cx, cy, GAME_LIST_BACK);
    CBrush frame(FRAME_COLOUR);
    CRect rc(0, 0, cx, cy);
    pDC->FrameRect(&rc, &frame);
}

void CGameListView::InitGameList()
{
    m_ServerItemView.InitServerTree(this);
    if (m_pDataCenter == NULL)
        return;
    m_pDataCenter->AddNotifyWindow(HN_SERVER_TREE, m_hWnd);
    m_pDataCenter->AddNotifyWindow(HN_SECOND_TREE, m_hWnd);
    m_pDataCenter->AddNotifyWindow(HN_ONLINE_COUNT, m_hWnd);
    CString path;
    path.Format("%sConfig//Original//LocalGame.ini", g_GlobalUnits.GetWorkDirectory());
    m_pDataCenter->LoadWebGameList(path);
}

LRESULT CGameListView::OnHallNotify(WPARAM wParam, LPARAM)
{
    const tagNotifyHead* head = (const tagNotifyHead*)wParam;
    if (head == NULL || head->wMainCmdID != HN_SERVER_TREE.wMainCmdID)
        return 0;
    if (head->wSubCmdID == HN_SERVER_TREE.wSubCmdID) {
        if (!RebuildTree())
            return 1;
    } else if (head->wSubCmdID == HN_ONLINE_COUNT.wSubCmdID)
        RefreshCounts();
    return 0;
}

bool CGameListView::RebuildTree()
{
    if (m_pDataCenter == NULL || m_pDataCenter->GetServerTreeRoot() == NULL)
        return false;
    OnServerTreeReady();
    return true;
}

void CGameListView::OnServerTreeReady()
{
    // The old items show nodes the data centre has deleted with its old
    // tree: they go before the new tree is built, unread.
    m_ServerItemView.SetRootNode(NULL);
    m_ServerItemView.DeleteAllItems();
    g_GlobalUnits.ClearRoomMap();

    CGameTreeNode* root = m_pDataCenter->GetServerTreeRoot();
    m_ServerItemView.SetRootNode(root);
    m_ServerItemView.InsertRootItem(false);
    m_ServerItemView.BuildTree(root, NULL);
    HTREEITEM hFirst = m_ServerItemView.GetRootItem();
    if (hFirst != NULL)
        m_ServerItemView.Expand(hFirst, TVE_EXPAND);
    m_ServerItemView.ExpandFolders(root);
    if (hFirst != NULL)
        m_ServerItemView.SelectSetFirstVisible(hFirst);
}

void CGameListView::RefreshCounts()
{
    m_ServerItemView.SetShowCounts(true);
    CGameTreeNode* root = m_ServerItemView.GetRootNode();
    m_dwTotalOnline = root != NULL ? root->GetState() : 0;
    m_ServerItemView.SetRootText((LONG)m_dwTotalOnline);
    for (HTREEITEM hItem = m_ServerItemView.GetRootItem(); hItem != NULL;
         hItem = m_ServerItemView.GetNextSiblingItem(hItem)) {
        if (!m_ServerItemView.IsSpecialItem(hItem))
            m_ServerItemView.RefreshItemTexts(hItem);
    }
}

void CGameListView::SearchGameNode(CGameTreeNode* pNode, WORD wGameId)
{
    for (INT_PTR i = 0; pNode != NULL && i < pNode->GetChildCount(); i++) {
        CGameTreeNode* child = pNode->GetChild(i);
        if (child == NULL)
            break;
        switch (child->GetItemType()) {
        case TREE_ITEM_CATEGORY: SearchGameNode(child, wGameId); break;
        case TREE_ITEM_STATION:
            m_nBestCount += child->GetChildCount();
            SearchGameNode(child, wGameId);
            break;
        case TREE_ITEM_GAME:
            if (child->GetItemData() == wGameId && child->GetChildCount() >= m_nBestCount) {
                m_pBestNode = child;
                m_nBestCount = child->GetChildCount();
                SearchGameNode(child, wGameId);
            }
            break;
        default: break;
        }
    }
}

CGameTreeNode* CGameListView::FindGameNode(CGameTreeNode* pNode, WORD wGameId)
{
    m_pBestNode = NULL;
    m_nBestCount = 0;
    SearchGameNode(pNode, wGameId);
    return m_pBestNode;
}

void CGameListView::DeleteTreeItems()
{
    HTREEITEM hFirst = m_ServerItemView.GetSafeHwnd() != NULL ? m_ServerItemView.GetRootItem() : NULL;
    if (hFirst != NULL)
        m_ServerItemView.DeleteAllItems(hFirst);
    m_ServerItemView.SetRootNode(NULL);
}

void CGameListView::ShowGameHelp(DWORD dwGameId)
{
    IRoomTabWnd* roomTabs = CHallWindows::GetRoomTabs();
    if (roomTabs == NULL)
        return;
    const CString address = FormatWithNumber(g_GlobalOption.GetGameHelpUrl(), dwGameId);
    roomTabs->ShowWebPage(g_GlobalUnits.AppendUserKey(address), 0);
}

void CGameListView::OnTreeClick(NMHDR*, LRESULT* pResult)
{
    *pResult = 0;
    if (m_ServerItemView.IsEnterButtonActive())
        return;
    HTREEITEM hItem = m_ServerItemView.GetItemUnderCursor();
    if (hItem == NULL || m_ServerItemView.IsOnButtonOrIcon(hItem))
        return;
    m_ServerItemView.SelectItem(hItem);
    CGameTreeNode* node = m_ServerItemView.GetItemNode(hItem);
    CGameTreeManager* manager = g_GlobalUnits.GetGameTreeManager();
    if (node == NULL || manager == NULL)
        return;
    if (node->GetItemType() == TREE_ITEM_GAME_WEB) {
        CGameWeb* web = manager->FindGameWeb(node->GetItemData());
        IRoomTabWnd* roomTabs = CHallWindows::GetRoomTabs();
        if (web != NULL && roomTabs != NULL)
            roomTabs->OpenWebPage(web->GetName(), web->GetLink(), 0);
    } else if (node->GetItemType() == TREE_ITEM_GAME)
        ShowGameHelp(node->GetItemData());
}

void CGameListView::OfferDownload(CGame* pGame)
{
    CString question;
    question.Format("[%s]还没有安装，现在是否下载？", (LPCSTR)pGame->GetName());
    question = question.Left((int)TextCutLength(question, (size_t)question.GetLength(), kQuestionSize - 1));
    const int answer = HallMsgBox(m_hWnd, question, "Varnok游戏", MB_YESNO | MB_ICONQUESTION);

    CGlobalOption::UrlList addresses;
    memset(addresses, 0, sizeof(addresses));
    const WORD id = (WORD)pGame->GetId();
    const tagGameVersionInfo* info = g_GlobalOption.FindGameVersionInfo(id);
    if (info != NULL)
        CGlobalOption::GetGameUpdateUrls(0, addresses, info);
    else
        g_GlobalOption.ReadGameUpdateInfo(0, id, addresses);
    if ((answer & 0xFFFF) == IDYES)
        g_GlobalAttemper.StartDownLoad(pGame->GetName(), id, 1, addresses, 0);
}

void CGameListView::OnTreeDblClk(NMHDR*, LRESULT* pResult)
{
    *pResult = 0;
    HTREEITEM hItem = m_ServerItemView.GetItemUnderCursor();
    if (hItem == NULL || m_ServerItemView.IsSpecialItem(hItem))
        return;
    m_ServerItemView.SelectItem(hItem);
    CGameTreeNode* node = m_ServerItemView.GetItemNode(hItem);
    CGameTreeManager* manager = g_GlobalUnits.GetGameTreeManager();
    if (node == NULL || manager == NULL)
        return;
    if (node->GetItemType() == TREE_ITEM_ROOM) {
        CGameRoom* room = manager->FindGameRoom(node->GetItemData());
        IRoomTabWnd* roomTabs = CHallWindows::GetRoomTabs();
        if (room != NULL && roomTabs != NULL)
            roomTabs->EnterRoom(room, node);
    } else if (node->GetItemType() == TREE_ITEM_GAME) {
        CGame* game = manager->FindGame(node->GetItemData());
        if (game != NULL && !CServerItemView::IsGameInstalled(game))
            OfferDownload(game);
    }
}

void CGameListView::OnEnterButton(CGameRoom* pRoom, HTREEITEM, CServerItemView*, CGameTreeNode*)
{
    IRoomTabWnd* roomTabs = CHallWindows::GetRoomTabs();
    if (pRoom == NULL || roomTabs == NULL)
        return;
    roomTabs->ShowChannelDialog();
    CGameTreeManager* manager = m_pDataCenter != NULL ? m_pDataCenter->GetGameTreeManager() : NULL;
    if (manager == NULL)
        return;
    for (INT_PTR i = 0; i < manager->GetGameCount(); i++) {
        CGame* game = manager->GetGameAt(i);
        if (game != NULL && game->GetId() == pRoom->GetGameId()) {
            roomTabs->SelectChannelGame((int)i);
            return;
        }
    }
}
