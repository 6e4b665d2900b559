#include "GameTreeNode.h"

#include "GameRoom.h"

CGameTreeNode::CGameTreeNode(DWORD dwNodeId)
    : m_dwNodeId(dwNodeId), m_dwItemType(TREE_ITEM_PLAIN), m_dwItemData(0), m_lSortOrder(0), m_dwFlags(0), m_dwState(0),
      m_pParent(NULL), m_pRoom(NULL)
{}

CGameTreeNode::~CGameTreeNode()
{
    if (m_pRoom != NULL)
        m_pRoom->RemoveNode(this);
    for (INT_PTR i = 0; i < m_Children.GetSize(); ++i)
        delete m_Children[i];
    m_Children.RemoveAll();
}

CGameTreeNode* CGameTreeNode::GetChild(INT_PTR index) const
{
    if (index < 0 || index >= m_Children.GetSize())
        return NULL;
    return m_Children[index];
}

void CGameTreeNode::InsertChild(CGameTreeNode* child)
{
    if (child == NULL)
        return;
    child->m_pParent = this;
    // Children are kept in order, so one not before the last goes last: a
    // list sent in order is built without a scan per child.
    INT_PTR count = m_Children.GetSize();
    if (count == 0 || m_Children[count - 1]->m_lSortOrder <= child->m_lSortOrder) {
        m_Children.Add(child);
        return;
    }
    for (INT_PTR i = 0; i < m_Children.GetSize(); ++i) {
        if (m_Children[i]->m_lSortOrder > child->m_lSortOrder) {
            m_Children.InsertAt(i, child);
            return;
        }
    }
    m_Children.Add(child);
}

CGameTreeNode* CGameTreeNode::FindNode(DWORD dwNodeId)
{
    if (m_dwNodeId == dwNodeId)
        return this;
    for (INT_PTR i = 0; i < m_Children.GetSize(); ++i) {
        CGameTreeNode* found = m_Children[i]->FindNode(dwNodeId);
        if (found != NULL)
            return found;
    }
    return NULL;
}

void CGameTreeNode::UpdateState()
{
    for (CGameTreeNode* node = this; node != NULL; node = node->m_pParent) {
        if (node->m_Children.GetSize() == 0)
            continue;
        DWORD sum = 0;
        for (INT_PTR i = 0; i < node->m_Children.GetSize(); ++i)
            sum += node->m_Children[i]->m_dwState;
        node->m_dwState = sum;
    }
}
