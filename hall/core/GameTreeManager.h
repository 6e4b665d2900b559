// The game tree as the hall server and the local web-game list give it: seven
// lists of items found by id. The manager owns the items; clearing a list
// deletes them. The displayed trees are CGameTreeNode objects that point to
// items by id.
#pragma once

#include <afx.h>
#include <afxtempl.h>

#include "GameRoom.h"
#include "GameTreeItem.h"
#include "IdIndex.h"

class CGameTreeManager
{
public:
    typedef CList<CGameCategory*, CGameCategory*> CGameCategoryList;
    typedef CList<CGame*, CGame*> CGameList;
    typedef CList<CGameStation*, CGameStation*> CGameStationList;
    typedef CList<CGameRoom*, CGameRoom*> CGameRoomList;
    typedef CList<CGameWeb*, CGameWeb*> CGameWebList;
    typedef CList<CWebGame*, CWebGame*> CWebGameList;
    typedef CList<CWebGameServer*, CWebGameServer*> CWebGameServerList;

    CGameTreeManager();
    virtual ~CGameTreeManager();

    // False for a null item or an id already in the list; the item is then
    // not taken (the caller still owns it). True: the list owns it.
    bool AddGameCategory(CGameCategory* item) { return AddItem(m_GameCategories, m_GameCategoryIndex, item); }
    bool AddGame(CGame* item) { return AddItem(m_Games, m_GameIndex, item); }
    bool AddGameStation(CGameStation* item) { return AddItem(m_GameStations, m_GameStationIndex, item); }
    bool AddGameRoom(CGameRoom* item) { return AddItem(m_GameRooms, m_GameRoomIndex, item); }
    bool AddGameWeb(CGameWeb* item) { return AddItem(m_GameWebs, m_GameWebIndex, item); }
    bool AddWebGame(CWebGame* item) { return AddItem(m_WebGames, m_WebGameIndex, item); }
    bool AddWebGameServer(CWebGameServer* item) { return AddItem(m_WebGameServers, m_WebGameServerIndex, item); }

    // The first item with that id, or null.
    CGameCategory* FindGameCategory(DWORD id) const { return FindItem(m_GameCategoryIndex, id); }
    CGame* FindGame(DWORD id) const { return FindItem(m_GameIndex, id); }
    CGameStation* FindGameStation(DWORD id) const { return FindItem(m_GameStationIndex, id); }
    CGameRoom* FindGameRoom(DWORD id) const { return FindItem(m_GameRoomIndex, id); }
    CGameWeb* FindGameWeb(DWORD id) const { return FindItem(m_GameWebIndex, id); }
    CWebGame* FindWebGame(DWORD id) const { return FindItem(m_WebGameIndex, id); }
    CWebGameServer* FindWebGameServer(DWORD id) const { return FindItem(m_WebGameServerIndex, id); }

    bool HasGameCategory(DWORD id) const { return FindGameCategory(id) != NULL; }
    bool HasGame(DWORD id) const { return FindGame(id) != NULL; }
    bool HasGameStation(DWORD id) const { return FindGameStation(id) != NULL; }
    bool HasGameRoom(DWORD id) const { return FindGameRoom(id) != NULL; }
    bool HasGameWeb(DWORD id) const { return FindGameWeb(id) != NULL; }
    bool HasWebGame(DWORD id) const { return FindWebGame(id) != NULL; }
    bool HasWebGameServer(DWORD id) const { return FindWebGameServer(id) != NULL; }

    INT_PTR GetGameCount() const { return m_Games.GetCount(); }
    // The game at that place of the game list, or null.
    CGame* GetGameAt(INT_PTR index) const;

    const CGameCategoryList& GetGameCategoryList() const { return m_GameCategories; }
    const CGameList& GetGameList() const { return m_Games; }
    const CGameStationList& GetGameStationList() const { return m_GameStations; }
    const CGameRoomList& GetGameRoomList() const { return m_GameRooms; }
    const CGameWebList& GetGameWebList() const { return m_GameWebs; }
    const CWebGameList& GetWebGameList() const { return m_WebGames; }
    const CWebGameServerList& GetWebGameServerList() const { return m_WebGameServers; }

    void ClearGameCategories() { ClearList(m_GameCategories, m_GameCategoryIndex); }
    void ClearGames() { ClearList(m_Games, m_GameIndex); }
    void ClearGameStations() { ClearList(m_GameStations, m_GameStationIndex); }
    void ClearGameRooms() { ClearList(m_GameRooms, m_GameRoomIndex); }
    void ClearGameWebs() { ClearList(m_GameWebs, m_GameWebIndex); }
    void ClearWebGames() { ClearList(m_WebGames, m_WebGameIndex); }
    void ClearWebGameServers() { ClearList(m_WebGameServers, m_WebGameServerIndex); }
    void ClearAll();

    // Total online: the sum of the rooms' counts, or what the server reports.
    void ComputeTotalOnline();
    void SetTotalOnline(DWORD total) { m_dwTotalOnline = total; }
    DWORD GetTotalOnline() const { return m_dwTotalOnline; }

    void SetWebGameIconPath(LPCSTR path) { m_strWebGameIconPath = path; }
    CString GetWebGameIconPath() const { return m_strWebGameIconPath; }

    // "<program folder>\<game folder>"; empty for an unknown game.
    CString GetGameFolder(DWORD gameId) const;
    // The game's program from [Public] "ExeName" of its folder's CONFIG.INI;
    // empty for an unknown game, a missing name, or a name that would lead
    // out of the game's folder.
    CString GetGameExePath(DWORD gameId) const;

    // True for a program name that stays inside the folder it is joined to:
    // a relative path whose every piece is one plain name (PathName.h).
    static bool IsNameInsideFolder(LPCSTR name);

private:
    CGameTreeManager(const CGameTreeManager&) = delete;
    CGameTreeManager& operator=(const CGameTreeManager&) = delete;

    // Each list has an index by id beside it, so that a game list of any
    // length is taken in and looked up in linear time.
    template <class T> using CItemIndex = CIdIndex<T>;

    template <class T> static T* FindItem(const CItemIndex<T>& index, DWORD id) { return index.Find(id); }

    template <class T> static bool AddItem(CList<T*, T*>& list, CItemIndex<T>& index, T* item)
    {
        if (item == NULL || index.Find(item->GetId()) != NULL)
            return false;
        // Room first: once the list has the item, the index takes it without a throw.
        index.Reserve(index.GetCount() + 1);
        list.AddTail(item);
        index.Add(item->GetId(), item);
        return true;
    }

    template <class T> static void ClearList(CList<T*, T*>& list, CItemIndex<T>& index)
    {
        index.RemoveAll();
        while (!list.IsEmpty())
            delete list.RemoveHead();
    }

    CGameCategoryList m_GameCategories;
    CGameList m_Games;
    CGameStationList m_GameStations;
    CGameRoomList m_GameRooms;
    CGameWebList m_GameWebs;
    CWebGameList m_WebGames;
    CWebGameServerList m_WebGameServers;
    CItemIndex<CGameCategory> m_GameCategoryIndex;
    CItemIndex<CGame> m_GameIndex;
    CItemIndex<CGameStation> m_GameStationIndex;
    CItemIndex<CGameRoom> m_GameRoomIndex;
    CItemIndex<CGameWeb> m_GameWebIndex;
    CItemIndex<CWebGame> m_WebGameIndex;
    CItemIndex<CWebGameServer> m_WebGameServerIndex;
    DWORD m_dwTotalOnline;
    CString m_strWebGameIconPath;
};
