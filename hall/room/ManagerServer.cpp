#include "ManagerServer.h"

#include "resource.h"

IMPLEMENT_DYNAMIC(CManagerServer, CSkinDialog)

CManagerServer::CManagerServer(CWnd* pParent) : CSkinDialog(IDD_MANAGER_SERVER, pParent) {}

CManagerServer::~CManagerServer() {}

BOOL CManagerServer::OnInitDialog()
{
    CSkinDialog::OnInitDialog();
    SetWindowText("房间管理：");
    for (int i = 0; i < kButtonCount; ++i)
        m_btSwitches[i].SubclassDlgItem(IDC_SERVER_FIRST + i, this);
    return TRUE;
}
