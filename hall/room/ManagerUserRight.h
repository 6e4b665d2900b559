// The administrator's rights editor for one user of the room: shows the
// user's rights and lets the administrator tick those the master rights
// cover. Modeless; OK (while the user is in the room) and Cancel destroy the
// window.
#pragma once

#include <afxwin.h>

#include <RgnDialog.h>

class CUserItem;
class CUserManager;

// Rights of a user.
const DWORD USER_RIGHT_NO_PLAY = 0x01;
const DWORD USER_RIGHT_NO_LOOK_ON = 0x02;
const DWORD USER_RIGHT_NO_WHISPER = 0x04;
const DWORD USER_RIGHT_NO_HALL_CHAT = 0x08;
const DWORD USER_RIGHT_NO_GAME_CHAT = 0x10;
// Master rights beyond those: the two bindings.
const DWORD MASTER_RIGHT_BIND_GAME = 0x800;
const DWORD MASTER_RIGHT_BIND_ACCOUNT = 0x1000;

class CManagerUserRight : public CRgnDialog
{
    DECLARE_DYNAMIC(CManagerUserRight)
public:
    explicit CManagerUserRight(CWnd* pParent = NULL);
    virtual ~CManagerUserRight();

    // The target and the rights, set before the window is made.
    DWORD m_dwTargetUserID;
    CUserItem* m_pTargetUserItem;
    DWORD m_dwUserRight;
    DWORD m_dwMasterRight;
    CUserManager* m_pUserManager;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override { DestroyWindow(); }
};
