#include "PasswordInputDlg.h"

#include <SkinMessageBox.h>

#include "resource.h"

IMPLEMENT_DYNAMIC(CPasswordInputDlg, CRgnDialog)

CPasswordInputDlg::CPasswordInputDlg(LPCSTR pszTitle, LPCSTR pszPrompt, LPCSTR pszEmptyText, CWnd* pParent)
    : CRgnDialog(IDD_ROOM_PASSWORD, pParent), m_strTitle(pszTitle), m_strPrompt(pszPrompt != NULL ? pszPrompt : ""),
      m_bPrompt(pszPrompt != NULL), m_strEmptyText(pszEmptyText)
{}

CPasswordInputDlg::~CPasswordInputDlg() {}

BOOL CPasswordInputDlg::OnInitDialog()
{
    CRgnDialog::OnInitDialog();
    SetWindowText(m_strTitle);
    if (m_bPrompt)
        SetDlgItemText(IDC_PASS_TEXT, m_strPrompt);
    // More than a record holds would be cut silently.
    SendDlgItemMessage(IDC_PASS_EDIT, EM_LIMITTEXT, ROOM_PASSWORD_LENGTH, 0);
    GotoDlgCtrl(GetDlgItem(IDC_PASS_EDIT));
    return FALSE;
}

void CPasswordInputDlg::OnOK()
{
    GetDlgItemText(IDC_PASS_EDIT, m_strPassword);
    if (m_strPassword.IsEmpty()) {
        SkinMessageBox(m_hWnd, m_strEmptyText, "提示消息", MB_ICONINFORMATION);
        GotoDlgCtrl(GetDlgItem(IDC_PASS_EDIT));
        return;
    }
    CRgnDialog::OnOK();
}
