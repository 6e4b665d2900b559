// What the table room view and its toolbar ask of the room window that
// makes them. The room window implements it and hands itself to the view's
// constructor; the grid below the toolbar sees the same object as its host.
#pragma once

#include <afxwin.h>

#include "TableFrameHost.h"

class CDialog;

class ITableRoomHost : public ITableFrameHost
{
public:
    // Seats the own user at a free chair.
    virtual void QuickJoinTable() = 0;
    virtual void CloseRoom() = 0;
    // Page 0 deposits, page 1 withdraws.
    virtual void ShowBankStorage(int nPage) = 0;
    virtual void ShowSpeakDlg() = 0;
    virtual void ShowFindUserDlg() = 0;
    virtual void ShowHBExchange() = 0;
    virtual void UseItemByKind(int nKind) = 0;

    // The option dialog over the room's game and room options, made for one
    // modal run; the caller deletes it. Null when it cannot be made.
    virtual CDialog* CreateOptionDlg() = 0;
    // Sends the sit rule the option dialog left in the room's options;
    // false when it could not go out.
    virtual bool SendUserRule() = 0;
    // The create-table dialog over the room's table settings and rule
    // flags, made for one modal run; the caller deletes it.
    virtual CDialog* CreateTableDlg() = 0;
    // Sends the create-table request the dialog left in the table settings;
    // false when it was refused or could not go out.
    virtual bool RequestCreateTable() = 0;
};
