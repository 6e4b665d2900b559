// The room view as the rest of the hall reaches it, and the room's user
// sink. Slot orders are fixed: holders keep these interfaces, not the class.
#pragma once

#include <afxwin.h>

#include "IUnknownEx.h"

class CGame;
class CGameRoom;
class CUserItem;

TAVREL_GUID(IID_IViewItem, "0B5C1E52-8D7A-4C39-9E61-2F4D7A0C5B13");
TAVREL_GUID(IID_IRoomViewItem, "C4E9A2D7-61B3-4F05-8A7C-93D2E1B46F20");
TAVREL_GUID(IID_IUserManagerSink, "7F31D8B6-2A94-4E6C-B05D-1C8E3A9F7D42");

struct IViewItem : IUnknownEx
{
    virtual HWND GetWindowHandle() = 0;
};

struct IRoomViewItem : IViewItem
{
    // Leaves the room, forgets every notification and destroys the window;
    // the object lives on until its last reference goes.
    virtual void CloseRoomView() = 0;
    virtual CGame* GetGame() = 0;
    virtual CGameRoom* GetGameRoom() = 0;
    virtual bool IsGameClientStarted() = 0;
    virtual void LeaveMatch() = 0;
};

// The user item lives for the call only: a window that keeps it drops it in
// OnUserItemDelete, which runs before the item goes.
struct IUserManagerSink : IUnknownEx
{
    virtual void OnUserItemAdd(CUserItem* pUserItem) = 0;
    virtual void OnUserItemUpdate(CUserItem* pUserItem) = 0;
    virtual void OnUserItemDelete(CUserItem* pUserItem) = 0;
};
