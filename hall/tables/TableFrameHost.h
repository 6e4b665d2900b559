// What the table grid needs of the room view that hosts it. The room view
// is not part of the grid's folder: it hands itself to the grid as this
// interface when it makes the grid.
#pragma once

#include <afxwin.h>

class CGameRoom;

// The match page of the cycle-match presentation: a web page window made as
// a child of the grid, destroyed with it.
class ICycleMatchPage
{
public:
    virtual ~ICycleMatchPage() {}
    virtual void Navigate(LPCSTR pszUrl) = 0;
    virtual void MoveWindow(int x, int y, int cx, int cy) = 0;
    virtual void ShowWindow(int nCmdShow) = 0;
};

class ITableFrameHost
{
public:
    virtual ~ITableFrameHost() {}
    // The room's entry of the game tree; null while the room has none.
    virtual CGameRoom* GetGameRoom() = 0;
    // The room's current match; 0xFFFFFFFF while the own user is not ready.
    virtual DWORD GetMatchId() = 0;
    // The page window under the grid; the host keeps the object, the window
    // goes with the grid's. Null when it cannot be made.
    virtual ICycleMatchPage* CreateCycleMatchPage(CWnd* pParent) = 0;
};
