// The room tab window: the plaza page, the open room and a web-page tab.
#pragma once

#include <afx.h>

class CRoomControlWnd
{
public:
    // Selects the plaza tab and shows the address there; an empty address is
    // ignored.
    void ShowWebPage(LPCSTR url, BYTE flag);
};

// The one room tab window, set when it is created; null before.
extern CRoomControlWnd* g_pRoomControlWnd;
