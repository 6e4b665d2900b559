// The administrator's room management: the service switches of the room.
// A modeless window; Cancel destroys it, the object stays for the next use.
#pragma once

#include <afxwin.h>

#include <SkinButton.h>
#include <SkinDialog.h>

class CManagerServer : public CSkinDialog
{
    DECLARE_DYNAMIC(CManagerServer)
public:
    static constexpr int kButtonCount = 12;

    explicit CManagerServer(CWnd* pParent = NULL);
    virtual ~CManagerServer();

protected:
    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override { DestroyWindow(); }

private:
    CSkinButton m_btSwitches[kButtonCount];
};
