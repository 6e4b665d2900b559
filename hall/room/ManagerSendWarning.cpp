#include "ManagerSendWarning.h"

#include "GlobalUnits.h"
#include "ManagerTarget.h"
#include "ManagerText.h"
#include "UserItem.h"
#include "resource.h"

IMPLEMENT_DYNAMIC(CManagerSendWarning, CSkinDialog)

BEGIN_MESSAGE_MAP(CManagerSendWarning, CSkinDialog)
    ON_BN_CLICKED(IDC_MANAGER_PREVIEW, OnPreview)
END_MESSAGE_MAP()

CManagerSendWarning::CManagerSendWarning(CWnd* pParent)
    : CSkinDialog(IDD_MANAGER_WARNING, pParent), m_dwTargetUserID(0), m_pTargetUserItem(NULL), m_pUserManager(NULL)
{
    AfxInitRichEdit2();
}

CManagerSendWarning::~CManagerSendWarning() {}

BOOL CManagerSendWarning::OnInitDialog()
{
    CSkinDialog::OnInitDialog();
    SetWindowText("发送警告：");
    CUserItem* pUserItem = FindManagerTarget(m_dwTargetUserID, m_pTargetUserItem, m_pUserManager);
    if (pUserItem != NULL)
        SetDlgItemText(IDC_MANAGER_USER_NAME, pUserItem->GetUserData()->szName);
    SetDlgItemInt(IDC_MANAGER_USER_ID, m_dwTargetUserID, FALSE);
    return TRUE;
}

void CManagerSendWarning::OnPreview()
{
    PreviewManagerText(this, IDC_MANAGER_TEXT, "警告预览：", "警告消息不能为空，请写入警告消息内容！");
}

void CManagerSendWarning::OnOK()
{
    if (FindManagerTarget(m_dwTargetUserID, m_pTargetUserItem, m_pUserManager) == NULL) {
        AfxMessageBox("目标用户已经离开了游戏房间，无法向此用户发送警告通知！", MB_ICONQUESTION);
        return;
    }
    g_GlobalUnits.CopyToClipboard(ReadManagerText(this, IDC_MANAGER_TEXT, 1023));
    GotoDlgCtrl(GetDlgItem(IDC_MANAGER_TEXT));
    SetDlgItemText(IDC_MANAGER_TEXT, "");
}
