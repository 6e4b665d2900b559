#include "ManagerMessage.h"

#include <SkinMessageBox.h>

#include "GlobalUnits.h"
#include "ManagerText.h"
#include "resource.h"

namespace
{
const char kNoText[] = "系统消息不能为空，请写入系统消息内容！";
}

IMPLEMENT_DYNAMIC(CManagerMessage, CRgnDialog)

BEGIN_MESSAGE_MAP(CManagerMessage, CRgnDialog)
    ON_BN_CLICKED(IDC_MANAGER_PREVIEW, OnPreview)
END_MESSAGE_MAP()

CManagerMessage::CManagerMessage(CWnd* pParent) : CRgnDialog(IDD_MANAGER_MESSAGE, pParent)
{
    AfxInitRichEdit2();
}

CManagerMessage::~CManagerMessage() {}

BOOL CManagerMessage::OnInitDialog()
{
    CRgnDialog::OnInitDialog();
    SetWindowText("系统消息：");
    SendDlgItemMessage(IDC_MANAGER_KIND, CB_ADDSTRING, 0, (LPARAM) "普通消息");
    SendDlgItemMessage(IDC_MANAGER_KIND, CB_ADDSTRING, 0, (LPARAM) "弹出消息");
    SendDlgItemMessage(IDC_MANAGER_KIND, CB_SETCURSEL, 0, 0);
    return TRUE;
}

void CManagerMessage::OnPreview()
{
    PreviewManagerText(this, IDC_MANAGER_TEXT, "消息预览：", kNoText);
}

void CManagerMessage::OnOK()
{
    const CString strText = ReadManagerText(this, IDC_MANAGER_TEXT, 511);
    if (strText.IsEmpty()) {
        SkinMessageBox(m_hWnd, kNoText, "提示消息", MB_ICONINFORMATION);
        GotoDlgCtrl(GetDlgItem(IDC_MANAGER_TEXT));
        return;
    }
    if (IsDlgButtonChecked(IDC_MANAGER_ROOM_MSG) != BST_CHECKED &&
        IsDlgButtonChecked(IDC_MANAGER_GAME_MSG) != BST_CHECKED) {
        SkinMessageBox(m_hWnd, "发送失败，请选择系统消息的类型！", "提示消息", MB_ICONINFORMATION);
        return;
    }
    g_GlobalUnits.CopyToClipboard(strText);
    GotoDlgCtrl(GetDlgItem(IDC_MANAGER_TEXT));
    SetDlgItemText(IDC_MANAGER_TEXT, "");
}
