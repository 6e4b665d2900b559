// CGameListView: the plaza's skinned child that holds the server tree and
// ties it to the hall: it builds the tree when the game list is complete,
// refreshes the online counts, opens a game's help page or a web link on a
// click, enters a room or offers a game's download on a double click, and
// opens the game channel dialog from an item's enter button.
#pragma once

#include <SkinWnd.h>

#include "ServerItemView.h"

class CClientDataCenter;

class CGameListView : public CSkinWnd, public IOnPenSink
{
public:
    enum
    {
        IDC_SERVER_TREE = 1002
    };

    CGameListView();
    virtual ~CGameListView();

    // The hall data centre the view hears and asks; set before InitGameList.
    void SetClientDataCenter(CClientDataCenter* pDataCenter) { m_pDataCenter = pDataCenter; }
    CClientDataCenter* GetClientDataCenter() const { return m_pDataCenter; }

    // After the window is made: the tree's set-up, the notifications, the
    // local web-game list.
    void InitGameList();
    // Builds the tree anew from the data centre's game tree (a game was
    // installed: its pictures and texts change); false without a tree.
    bool RebuildTree();
    void RefreshCounts();
    // The game's node with the most children under the counting rule; null
    // when none.
    CGameTreeNode* FindGameNode(CGameTreeNode* pNode, WORD wGameId);
    void DeleteTreeItems();
    CServerItemView& GetServerItemView() { return m_ServerItemView; }

    // IOnPenSink
    void OnEnterButton(CGameRoom* pRoom, HTREEITEM hItem, CServerItemView* pTree, CGameTreeNode* pNode) override;

    void DrawSkinView(CDC* pDC, int cx, int cy) override;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg LRESULT OnHallNotify(WPARAM wParam, LPARAM lParam);
    afx_msg void OnTreeClick(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnTreeDblClk(NMHDR* pNMHDR, LRESULT* pResult);
    DECLARE_MESSAGE_MAP()

private:
    void OnServerTreeReady();
    void SearchGameNode(CGameTreeNode* pNode, WORD wGameId);
    void ShowGameHelp(DWORD dwGameId);
    void OfferDownload(CGame* pGame);

    CServerItemView m_ServerItemView;
    HBITMAP m_hScrollBitmap;
    CGameTreeNode* m_pBestNode;
    INT_PTR m_nBestCount;
    DWORD m_dwTotalOnline;
    CClientDataCenter* m_pDataCenter;
};
