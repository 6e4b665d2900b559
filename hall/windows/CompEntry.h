// CCompEntry: the competition entry of the room tab window. It owns the game
// channel dialog and opens, closes and steers it for the rest of the hall;
// its own window is never made.
#pragma once

#include <SkinWnd.h>

#include "AnchorLayout.h"
#include "GameChannelDlg.h"

class CCompEntry : public CSkinWnd, public CAnchorLayout
{
public:
    explicit CCompEntry(CWnd* pRoomTabWnd = NULL);
    virtual ~CCompEntry();

    // Makes the dialog's window (without parent) when it has none; shows it.
    void ShowChannelDialog();
    // Destroys the dialog's window when it has one.
    void CloseChannelDialog();
    void SelectChannelGame(int nIndex);
    CGameChannelDlg& GetChannelDialog() { return m_GameChannelDlg; }

    CWnd* GetOwnerWindow() override { return this; }

private:
    CWnd* m_pRoomTabWnd;
    CGameChannelDlg m_GameChannelDlg;
};
