// What the match room view needs of the room window that holds it. The room
// window is not part of this folder: it hands itself to the view as this
// interface when it makes the view.
#pragma once

#include <afxwin.h>

#include "TableFrameHost.h"

class CGameRoom;
class CUserItem;
struct MsgBoxParams;

// The ranking list under the own-ranking box: a list control window made
// by the room window as a child of the view.
class IMatchRankList
{
public:
    virtual ~IMatchRankList() {}
    // Makes the list window with that style, an empty rectangle and the id.
    virtual bool CreateList(CWnd* pParent, DWORD dwStyle, UINT nID) = 0;
    virtual CWnd* GetListWnd() = 0;
    virtual void InitMatchList(int nWidth, int nHeight) = 0;
    virtual void RemoveUnrankedUsers() = 0;
    virtual int GetRowCount() = 0;
    // The user of a row, null for none.
    virtual CUserItem* GetRowUser(int nRow) = 0;
};

class IMatchRoomHost
{
public:
    virtual ~IMatchRoomHost() {}
    virtual CGameRoom* GetGameRoom() = 0;
    // The logged-on user as the room holds it; null while he is not there.
    virtual CUserItem* GetSelfUserItem() = 0;
    // Match sign-up and withdrawal requests to the room server.
    virtual void RequestJoinMatch() = 0;
    virtual void RequestQuitMatch() = 0;
    virtual void SendTextToGameClient(DWORD dwId, LPCSTR pszText) = 0;
    // The room's skinned message box; the id of the button that closed it.
    virtual int ShowSkinMessageBox(LPCSTR pszText, UINT nStyle, const MsgBoxParams* pParams) = 0;
    // The ranking list and the two web panes; the host keeps the objects,
    // their windows go with the view's.
    virtual IMatchRankList* GetMatchList() = 0;
    virtual ICycleMatchPage* CreateMatchPage(CWnd* pParent) = 0;
};
