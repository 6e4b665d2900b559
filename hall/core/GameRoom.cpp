#include "GameRoom.h"

#include "GameTreeNode.h"

CGameRoom::CGameRoom(DWORD dwId)
    : CGameItem(dwId), m_wCurrentAddress(0), m_wServerAddressCount(0), m_wPort(0), m_dwGameId(0), m_cbRoomKind(0),
      m_wChannelValue(0), m_dwOnlineCount(0), m_dwAutoSeat(0)
{}

CGameRoom::~CGameRoom()
{
    // Nodes outliving the room must not reach back into it.
    for (INT_PTR i = 0; i < m_Nodes.GetSize(); ++i)
        m_Nodes[i]->m_pRoom = NULL;
}

// Pieces are cut at each ";". A text whose remainder starts with ";" is kept
// whole as one address, as servers send it. Empty pieces (a trailing ";") are
// no address, and the table holds at most 128.
void CGameRoom::SetServerAddresses(LPCSTR text)
{
    m_ServerAddresses.clear();
    m_wServerAddressCount = 0;

    // The ";" is found as CString::Find finds it: never as a lead byte's second byte.
    LPCSTR rest = text != NULL ? text : "";
    while (m_ServerAddresses.size() < size_t(kMaxServerAddresses)) {
        LPCSTR separator = rest;
        while (*separator != '\0' && *separator != ';')
            separator += CString::CharLength(separator);
        if (*separator == '\0' || separator == rest) {
            if (*rest != '\0')
                m_ServerAddresses.emplace_back(rest);
            break;
        }
        m_ServerAddresses.emplace_back(rest, int(separator - rest));
        rest = separator + 1;
    }
    m_wServerAddressCount = WORD(m_ServerAddresses.size());
}

CString CGameRoom::GetServerAddress(int index) const
{
    if (index < 0 || index >= m_wServerAddressCount)
        return CString();
    return m_ServerAddresses[size_t(index)];
}

void CGameRoom::SetOnlineCount(DWORD count)
{
    m_dwOnlineCount = count;
    for (INT_PTR i = 0; i < m_Nodes.GetSize(); ++i) {
        m_Nodes[i]->SetState(count);
        m_Nodes[i]->UpdateState();
    }
}

void CGameRoom::AddNode(CGameTreeNode* node)
{
    if (node == NULL)
        return;
    for (INT_PTR i = 0; i < m_Nodes.GetSize(); ++i) {
        if (m_Nodes[i] == node)
            return;
    }
    // A node shows one room at a time.
    if (node->m_pRoom != NULL)
        node->m_pRoom->RemoveNode(node);
    m_Nodes.Add(node);
    node->m_pRoom = this;
}

void CGameRoom::RemoveNode(CGameTreeNode* node)
{
    for (INT_PTR i = 0; i < m_Nodes.GetSize(); ++i) {
        if (m_Nodes[i] == node) {
            m_Nodes.RemoveAt(i);
            node->m_pRoom = NULL;
            return;
        }
    }
}
