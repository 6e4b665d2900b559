#include "GameRoom.h"

#include "GameTreeNode.h"

#include <limits.h>
#include <string.h>

CGameRoom::CGameRoom(DWORD dwId)
    : CGameItem(dwId), m_wCurrentAddress(0), m_wServerAddressCount(0), m_wPort(0), m_dwGameId(0), m_cbRoomKind(0),
      m_wChannelValue(0), m_wCapacity(0), m_dwOnlineCount(0), m_dwAutoSeat(0), m_pFirstNode(NULL)
{}

CGameRoom::~CGameRoom()
{
    // Nodes outliving the room must not reach back into it.
    for (INT_PTR i = 0; i < GetNodeCount(); ++i)
        GetNode(i)->m_pRoom = NULL;
}

void CGameRoom::SetServerAddresses(LPCSTR text)
{
    m_strServerAddresses = text != NULL ? text : "";
    SplitServerAddresses();
}

void CGameRoom::SetServerAddresses(CString&& text)
{
    m_strServerAddresses = static_cast<CString&&>(text);
    SplitServerAddresses();
}

// Pieces are cut at each ";". A text whose remainder starts with ";" is kept
// whole as one address, as servers send it. Empty pieces (a trailing ";") are
// no address, and the table holds at most 128. Each piece ends where a ";"
// or the text ended, so the pieces and their zeros never pass the text.
void CGameRoom::SplitServerAddresses()
{
    m_wServerAddressCount = 0;
    const int nLength = m_strServerAddresses.GetLength();
    if (nLength == 0) {
        m_strServerAddresses.Empty();
        return;
    }
    char* pOut = m_strServerAddresses.GetBuffer(nLength);
    char* pEnd = pOut;
    const char* rest = pOut;
    // The ";" is found as CString::Find finds it: never as a lead byte's second byte.
    while (m_wServerAddressCount < kMaxServerAddresses && *rest != '\0') {
        const char* separator = rest;
        while (*separator != '\0' && *separator != ';')
            separator += CString::CharLength(separator);
        bool bLast = *separator == '\0' || separator == rest;
        size_t nPiece = bLast ? strlen(rest) : size_t(separator - rest);
        memmove(pEnd, rest, nPiece);
        pEnd += nPiece;
        *pEnd++ = '\0';
        ++m_wServerAddressCount;
        if (bLast)
            break;
        rest = separator + 1;
    }
    // The last piece's zero is the string's own end.
    m_strServerAddresses.ReleaseBuffer(pEnd > pOut ? int(pEnd - pOut) - 1 : 0);
}

CString CGameRoom::GetServerAddress(int index) const
{
    if (index < 0 || index >= m_wServerAddressCount)
        return CString();
    LPCSTR p = m_strServerAddresses.GetString();
    for (int i = 0; i < index; ++i)
        p += strlen(p) + 1;
    return CString(p);
}

void CGameRoom::SetOnlineCount(DWORD count)
{
    m_dwOnlineCount = count;
    for (INT_PTR i = 0; i < GetNodeCount(); ++i) {
        GetNode(i)->SetState(count);
        GetNode(i)->UpdateState();
    }
}

void CGameRoom::AddNode(CGameTreeNode* node)
{
    if (node == NULL)
        return;
    for (INT_PTR i = 0; i < GetNodeCount(); ++i) {
        if (GetNode(i) == node)
            return;
    }
    // A node shows one room at a time.
    if (node->m_pRoom != NULL)
        node->m_pRoom->RemoveNode(node);
    if (m_pFirstNode == NULL)
        m_pFirstNode = node;
    else
        m_MoreNodes.Add(node);
    node->m_pRoom = this;
}

void CGameRoom::RemoveNode(CGameTreeNode* node)
{
    if (node == NULL)
        return;
    if (m_pFirstNode == node) {
        // The next one moves up, so the order stays.
        m_pFirstNode = NULL;
        if (m_MoreNodes.GetSize() > 0) {
            m_pFirstNode = m_MoreNodes[0];
            m_MoreNodes.RemoveAt(0);
        }
        node->m_pRoom = NULL;
        return;
    }
    for (INT_PTR i = 0; i < m_MoreNodes.GetSize(); ++i) {
        if (m_MoreNodes[i] == node) {
            m_MoreNodes.RemoveAt(i);
            node->m_pRoom = NULL;
            return;
        }
    }
}
