#include "DlgLogon.h"

CDlgLogon::CDlgLogon(CWnd* pParent) : CDialog(IDD, pParent), m_pDataCenter(NULL) {}

CDlgLogon::~CDlgLogon() {}

BOOL CDlgLogon::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetWindowText("游戏登录");
    return TRUE;
}
