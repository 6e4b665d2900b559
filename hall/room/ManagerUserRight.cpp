#include "ManagerUserRight.h"

#include "ManagerTarget.h"
#include "UserItem.h"
#include "resource.h"

namespace
{
const struct
{
    UINT nID;
    DWORD dwRight;
    bool bUserRight; // shown from the user's rights
} kRightBoxes[] = {
    {IDC_RIGHT_HALL_CHAT, USER_RIGHT_NO_HALL_CHAT, true}, {IDC_RIGHT_GAME_CHAT, USER_RIGHT_NO_GAME_CHAT, true},
    {IDC_RIGHT_WHISPER, USER_RIGHT_NO_WHISPER, true},     {IDC_RIGHT_LOOK_ON, USER_RIGHT_NO_LOOK_ON, true},
    {IDC_RIGHT_PLAY, USER_RIGHT_NO_PLAY, true},           {IDC_RIGHT_BIND_ACCOUNT, MASTER_RIGHT_BIND_ACCOUNT, false},
    {IDC_RIGHT_BIND_GAME, MASTER_RIGHT_BIND_GAME, false}};
}

IMPLEMENT_DYNAMIC(CManagerUserRight, CRgnDialog)

CManagerUserRight::CManagerUserRight(CWnd* pParent)
    : CRgnDialog(IDD_MANAGER_RIGHT, pParent), m_dwTargetUserID(0), m_pTargetUserItem(NULL), m_dwUserRight(0),
      m_dwMasterRight(0), m_pUserManager(NULL)
{}

CManagerUserRight::~CManagerUserRight() {}

BOOL CManagerUserRight::OnInitDialog()
{
    CRgnDialog::OnInitDialog();
    SetWindowText("权限管理：");
    CUserItem* pUserItem = FindManagerTarget(m_dwTargetUserID, m_pTargetUserItem, m_pUserManager);
    if (pUserItem != NULL)
        SetDlgItemText(IDC_MANAGER_USER_NAME, pUserItem->GetUserData()->szName);
    for (const auto& box : kRightBoxes) {
        if (box.bUserRight)
            CheckDlgButton(box.nID, (m_dwUserRight & box.dwRight) ? BST_CHECKED : BST_UNCHECKED);
        GetDlgItem(box.nID)->EnableWindow((m_dwMasterRight & box.dwRight) != 0);
    }
    GetDlgItem(IDOK)->EnableWindow(m_dwMasterRight != 0);
    return TRUE;
}

void CManagerUserRight::OnOK()
{
    if (FindManagerTarget(m_dwTargetUserID, m_pTargetUserItem, m_pUserManager) == NULL) {
        AfxMessageBox("目标用户已经离开了游戏房间，用户权限设置失败！", MB_ICONQUESTION);
        return;
    }
    DestroyWindow();
}
