// CDlgLogon: the skinned logon dialog. It makes sure the downloaded
// configuration is there, runs the hall version check, connects through the
// hall data centre, logs on and remembers the account; it ends with IDOK once
// the own user's attributes have arrived. The application keeps one object
// for its whole life and runs it at start-up and at every account switch:
// its flags live across DoModal calls.
#pragma once

#include <afxwin.h>

class CClientDataCenter;

class CDlgLogon : public CDialog
{
public:
    enum
    {
        IDD = 129
    };

    CDlgLogon(CWnd* pParent = NULL);
    virtual ~CDlgLogon();

    // The hall data centre the dialog logs on through; set before DoModal.
    void SetClientDataCenter(CClientDataCenter* pDataCenter) { m_pDataCenter = pDataCenter; }
    CClientDataCenter* GetClientDataCenter() const { return m_pDataCenter; }

    BOOL OnInitDialog() override;

protected:
    CClientDataCenter* m_pDataCenter;
};
