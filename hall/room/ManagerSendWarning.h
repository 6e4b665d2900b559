// The administrator's warning composer for one user of the room: previews
// the warning and, on send, puts it on the clipboard while the user is still
// in the room. Modeless; Cancel destroys the window.
#pragma once

#include <afxwin.h>

#include <SkinDialog.h>

class CUserItem;
class CUserManager;

class CManagerSendWarning : public CSkinDialog
{
    DECLARE_DYNAMIC(CManagerSendWarning)
public:
    explicit CManagerSendWarning(CWnd* pParent = NULL);
    virtual ~CManagerSendWarning();

    // The target, set before the window is made.
    DWORD m_dwTargetUserID;
    CUserItem* m_pTargetUserItem;
    CUserManager* m_pUserManager;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override { DestroyWindow(); }

    afx_msg void OnPreview();
    DECLARE_MESSAGE_MAP()
};
