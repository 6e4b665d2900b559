// CServerItemView: the owner-drawn tree of the hall's game tree: the
// platform header line, categories, games, stations, rooms with their online
// counts, game web links, web games and their servers. Each item carries the
// CGameTreeNode it shows (the tree does not own the nodes); item data 2 and 3
// are special items that are never read as nodes.
#pragma once

#include <afxtempl.h>

#include "PPTreeCtrl.h"

class CGame;
class CGameRoom;
class CGameTreeNode;
class CServerItemView;

// Hears the enter button of a tree item.
class IOnPenSink
{
public:
    virtual ~IOnPenSink() {}
    virtual void OnEnterButton(CGameRoom* pRoom, HTREEITEM hItem, CServerItemView* pTree, CGameTreeNode* pNode) = 0;
};

// One game's picture: a cell of the strip below 13, a logo from 13 on.
struct tagGameResourceInfo
{
    WORD wGameId;
    DWORD dwImageIndex;
};

class CServerItemView : public CPPTreeCtrl
{
public:
    enum
    {
        SPECIAL_ITEM_A = 2,
        SPECIAL_ITEM_B = 3,
        IMAGE_NO_LOGO = 2,
        IMAGE_NOT_INSTALLED = 3,
        IMAGE_LINK = 4,
        IMAGE_SPECIAL = 5,
        IMAGE_PLAIN = 6,
        // Node flag that hides the count, and the low byte of a hot node.
        NODE_FLAG_NO_COUNT = 0x100,
        NODE_HOT = 1,
        // Item texts fit a buffer of this size with their terminator.
        ITEM_TEXT_SIZE = 128
    };

    CServerItemView();
    virtual ~CServerItemView();

    // Colours, the sink, the picture strip (false when it cannot be loaded:
    // then nothing else is set up), the match pictures and the bold font.
    bool InitServerTree(IOnPenSink* pSink);
    void InsertRootItem(bool bWeb);
    void SetRootText(LONG lCount);
    // Appends an item for each child of the node under the parent item (null:
    // top level), and their children below them.
    void BuildTree(CGameTreeNode* pNode, HTREEITEM hParent);
    // Rewrites the texts of the item's subtree with the nodes' online counts.
    void RefreshItemTexts(HTREEITEM hItem);
    void ExpandFolders(CGameTreeNode* pRoot);
    // Every top-level item and the item itself; the room map of the global
    // units goes with them.
    bool DeleteAllItems(HTREEITEM hItem);
    using CPPTreeCtrl::DeleteAllItems;

    void SetShowCounts(bool bShow) { m_bShowCounts = bShow; }
    bool GetShowCounts() const { return m_bShowCounts; }
    void SetRootNode(CGameTreeNode* pRoot) { m_pRootNode = pRoot; }
    CGameTreeNode* GetRootNode() const { return m_pRootNode; }
    bool IsSpecialItem(HTREEITEM hItem);
    // The node an item shows; null for special items and items without one.
    CGameTreeNode* GetItemNode(HTREEITEM hItem);
    HTREEITEM GetItemUnderCursor();
    bool IsOnButtonOrIcon(HTREEITEM hItem);
    // The enter button is shown and the cursor is on it.
    bool IsEnterButtonActive() const { return m_bEnterButtonArmed && m_bOverEnterButton; }

    // The picture table.
    DWORD FindGameImage(WORD wGameId) const;
    void SetGameImage(WORD wGameId, DWORD dwIndex);
    void LoadGameImage(CGame* pGame);
    void LoadGameLogo(LPCSTR pszPath, WORD wGameId);
    DWORD LoadWebGameIcon(WORD wIconId);
    INT_PTR GetLogoCount() const { return (INT_PTR)m_ExtraIcons.size(); }

    // Item texts, cut to ITEM_TEXT_SIZE - 1 bytes on a character boundary.
    CString FormatRootText(LONG lCount, bool bWeb, bool bShow) const;
    CString FormatFolderText(int nKind, LPCSTR pszName, LONG lCount, bool bShow) const;
    CString FormatGameText(CGame* pGame, LPCSTR pszName, LONG lCount, bool bShow) const;
    CString FormatRoomText(CGameRoom* pRoom, LPCSTR pszName, bool bShow) const;
    // A game is installed when its program file opens.
    static bool IsGameInstalled(CGame* pGame);

    // Hooks of the owner-drawn tree.
    void OnEnterButtonClick(HTREEITEM hItem) override;
    int GetItemKind(HTREEITEM hItem) override;
    int GetItemIconIndex(HTREEITEM hItem, int& nIndex) override;
    BOOL DrawItemCustom(CDC* pDC, int left, int top, int right, int bottom, HTREEITEM hItem) override;
    BOOL HasEnterButton(HTREEITEM hItem) override;
    BOOL DrawAfterText(CDC* pDC, CPoint ptAfterText, HTREEITEM hItem) override;

protected:
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    DECLARE_MESSAGE_MAP()

private:
    // Show a count: the counts are on and the node does not hide its own.
    bool ShowCountOf(const CGameTreeNode* pNode) const;
    // The node's caption when it has one, else the item's name.
    static CString NameOf(const CGameTreeNode* pNode, LPCSTR pszItemName);
    void WriteItemText(HTREEITEM hItem, CGameTreeNode* pNode);
    void ExpandItemsOf(CGameTreeNode* pNode);
    // A room node under the node (directly or through stations): the one
    // with the id, or the first with a non-zero id when the id is 0.
    static CGameTreeNode* FindFirstRoom(CGameTreeNode* pNode, DWORD dwRoomId);
    void HandRoomOn(HTREEITEM hItem, CGameTreeNode* pRoomNode);
    int AddLogo(CPicture* pLogo);

    bool m_bShowCounts;
    CGameTreeNode* m_pRootNode;
    IOnPenSink* m_pSink;
    CArray<tagGameResourceInfo, const tagGameResourceInfo&> m_GameImages;
    // Web game icon id -> its logo index: each icon is loaded once.
    CMap<WORD, WORD, DWORD, DWORD> m_WebGameIcons;
    CPicture m_MatchRoot;
    CPicture m_MatchIn;
    CFont m_BoldFont;
    COLORREF m_crHighlight;
};
