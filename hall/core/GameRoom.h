// A game room of the game tree: its servers, its game and kind, its online
// count, and the displayed tree nodes that show it (whose online sums follow
// the room's count).
#pragma once

#include <afx.h>
#include <afxtempl.h>

#include "ObjectPool.h"

#include "GameTreeItem.h"

class CGameTreeNode;

// Room kinds (GetRoomKind).
enum
{
    ROOM_KIND_GAME_COIN = 2,
    ROOM_KIND_SECOND_CURRENCY = 3,
    ROOM_KIND_MATCH = 4,
    ROOM_KIND_PERSONAL_INFO = 5
};

class CGameRoom : public CGameItem
{
public:
    static constexpr int kMaxServerAddresses = 128;

    explicit CGameRoom(DWORD dwId);
    virtual ~CGameRoom();

    // A game list makes them by the thousand: from a pool, not the heap.
    static void* operator new(size_t nSize)
    {
        return nSize == sizeof(CGameRoom) ? CObjectPool<sizeof(CGameRoom)>::Take() : ::operator new(nSize);
    }
    static void operator delete(void* p, size_t nSize)
    {
        if (nSize == sizeof(CGameRoom))
            CObjectPool<sizeof(CGameRoom)>::Give(p);
        else
            ::operator delete(p);
    }

    // Addresses separated by ";" (see the .cpp for the exact split).
    void SetServerAddresses(LPCSTR text);
    // The same, split in the text's own buffer, which the room takes.
    void SetServerAddresses(CString&& text);
    WORD GetServerAddressCount() const { return m_wServerAddressCount; }
    // Empty for an index outside the stored addresses.
    CString GetServerAddress(int index) const;

    // The address the room connects to next; wraps at the address count.
    WORD GetCurrentAddressIndex() const { return m_wCurrentAddress; }
    void SetCurrentAddressIndex(WORD index) { m_wCurrentAddress = index; }

    WORD GetPort() const { return m_wPort; }
    void SetPort(WORD port) { m_wPort = port; }
    DWORD GetGameId() const { return m_dwGameId; }
    void SetGameId(DWORD gameId) { m_dwGameId = gameId; }
    BYTE GetRoomKind() const { return m_cbRoomKind; }
    void SetRoomKind(BYTE kind) { m_cbRoomKind = kind; }
    WORD GetChannelValue() const { return m_wChannelValue; }
    void SetChannelValue(WORD value) { m_wChannelValue = value; }
    // Set: sit-down requests leave the chair to the server.
    BOOL IsAutoSeat() const { return m_dwAutoSeat != 0; }
    void SetAutoSeat(DWORD autoSeat) { m_dwAutoSeat = autoSeat; }

    // Seats of the room; 0 when the server gave none.
    WORD GetCapacity() const { return m_wCapacity; }
    void SetCapacity(WORD capacity) { m_wCapacity = capacity; }
    DWORD GetOnlineCount() const { return m_dwOnlineCount; }
    // Also shows the count in every node of this room and in their ancestors.
    void SetOnlineCount(DWORD count);

    // Links a displayed node to this room (once). The link is undone by
    // whichever of the two goes first.
    void AddNode(CGameTreeNode* node);
    void RemoveNode(CGameTreeNode* node);
    INT_PTR GetNodeCount() const { return m_pFirstNode != NULL ? 1 + m_MoreNodes.GetSize() : 0; }
    CGameTreeNode* GetNode(INT_PTR index) const
    {
        return index == 0 && m_pFirstNode != NULL ? m_pFirstNode : m_MoreNodes.GetAt(index - 1);
    }

private:
    // Splits m_strServerAddresses in place.
    void SplitServerAddresses();

    // The addresses one after another, each ended by a zero: one string for
    // all of them, as most rooms have one or two.
    CString m_strServerAddresses;
    WORD m_wCurrentAddress;
    WORD m_wServerAddressCount;
    WORD m_wPort;
    DWORD m_dwGameId;
    BYTE m_cbRoomKind;
    WORD m_wChannelValue;
    WORD m_wCapacity;
    DWORD m_dwOnlineCount;
    DWORD m_dwAutoSeat;
    // The nodes in the order they were linked. Most rooms show in one node:
    // it is kept in place, the others in the array.
    CGameTreeNode* m_pFirstNode;
    CArray<CGameTreeNode*, CGameTreeNode*> m_MoreNodes;
};
