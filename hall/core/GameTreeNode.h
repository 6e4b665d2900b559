// One node of a displayed game tree. A node shows one item of the tree
// manager by id, keeps its children ordered by sort order (stable) and owns
// them; its state is the online count it shows, summed upwards.
#pragma once

#include <afx.h>
#include <afxtempl.h>

#include "ObjectPool.h"

class CGameRoom;

// Item types of nodes.
enum
{
    TREE_ITEM_PLAIN = 0,
    TREE_ITEM_CATEGORY = 1,
    TREE_ITEM_GAME = 2,
    TREE_ITEM_STATION = 3,
    TREE_ITEM_ROOM = 4,
    TREE_ITEM_GAME_WEB = 5,
    TREE_ITEM_WEB_GAME = 6,
    TREE_ITEM_WEB_GAME_SERVER = 7
};

class CGameTreeNode
{
public:
    explicit CGameTreeNode(DWORD dwNodeId);
    // Deletes the children, and unlinks the node from the room it shows.
    virtual ~CGameTreeNode();

    // A game list makes them by the thousand: from a pool, not the heap.
    static void* operator new(size_t nSize)
    {
        return nSize == sizeof(CGameTreeNode) ? CObjectPool<sizeof(CGameTreeNode)>::Take() : ::operator new(nSize);
    }
    static void operator delete(void* p, size_t nSize)
    {
        if (nSize == sizeof(CGameTreeNode))
            CObjectPool<sizeof(CGameTreeNode)>::Give(p);
        else
            ::operator delete(p);
    }

    DWORD GetNodeId() const { return m_dwNodeId; }
    void SetItemType(DWORD type) { m_dwItemType = type; }
    DWORD GetItemType() const { return m_dwItemType; }
    void SetText(LPCSTR text) { m_strText = text; }
    CString GetText() const { return m_strText; }
    void SetItemData(DWORD data) { m_dwItemData = data; }
    DWORD GetItemData() const { return m_dwItemData; }
    void SetSortOrder(LONG order) { m_lSortOrder = order; }
    LONG GetSortOrder() const { return m_lSortOrder; }
    void SetFlags(DWORD flags) { m_dwFlags = flags; }
    DWORD GetFlags() const { return m_dwFlags; }
    // True when every bit of the mask is set.
    bool HasFlags(DWORD mask) const { return (m_dwFlags & mask) == mask; }
    void SetState(DWORD state) { m_dwState = state; }
    DWORD GetState() const { return m_dwState; }

    CGameTreeNode* GetParent() const { return m_pParent; }
    INT_PTR GetChildCount() const { return m_Children.GetSize(); }
    bool HasChildren() const { return m_Children.GetSize() > 0; }
    // Null for an index out of range.
    CGameTreeNode* GetChild(INT_PTR index) const;
    // Takes the child: before the first child of greater sort order, else last.
    void InsertChild(CGameTreeNode* child);
    // This node or the first match below it, depth first; null when none.
    CGameTreeNode* FindNode(DWORD dwNodeId);
    // An inner node's state becomes the sum of its children's, up to the root.
    void UpdateState();

    // The room this node shows, when a room linked it (CGameRoom::AddNode).
    CGameRoom* GetRoom() const { return m_pRoom; }

private:
    friend class CGameRoom;

    CGameTreeNode(const CGameTreeNode&) = delete;
    CGameTreeNode& operator=(const CGameTreeNode&) = delete;

    DWORD m_dwNodeId;
    DWORD m_dwItemType;
    CString m_strText;
    DWORD m_dwItemData;
    LONG m_lSortOrder;
    DWORD m_dwFlags;
    DWORD m_dwState;
    CGameTreeNode* m_pParent;
    CArray<CGameTreeNode*, CGameTreeNode*> m_Children;
    CGameRoom* m_pRoom;
};
