// The room's password prompt (a room that asks for one on entry) and the
// table's (a locked table); the password is in m_strPassword after OK.
#pragma once

#include "PasswordInputDlg.h"

class CRoomPassDlg : public CPasswordInputDlg
{
    DECLARE_DYNAMIC(CRoomPassDlg)
public:
    explicit CRoomPassDlg(CWnd* pParent = NULL)
        : CPasswordInputDlg("设置房间密码", "该房间已加密，请输入密码", "请您输入房间密码！", pParent)
    {}
};

class CTablePassDlg : public CPasswordInputDlg
{
    DECLARE_DYNAMIC(CTablePassDlg)
public:
    explicit CTablePassDlg(CWnd* pParent = NULL) : CPasswordInputDlg("桌子密码", NULL, "请您输入桌子密码！", pParent) {}
};
