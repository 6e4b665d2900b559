#include "BankPasswordDlg.h"

#include "MD5Encrypt.h"
#include "res/resource.h"

BEGIN_MESSAGE_MAP(CBankPasswordDlg, CTabDlg)
    ON_EN_CHANGE(IDC_BANKPW_OLD, OnPasswordChange)
    ON_EN_CHANGE(IDC_BANKPW_NEW, OnPasswordChange)
    ON_EN_CHANGE(IDC_BANKPW_AGAIN, OnPasswordChange)
END_MESSAGE_MAP()

CBankPasswordDlg::CBankPasswordDlg() : CTabDlg(IDD_BANK_PASSWORD), m_bInitMode(false), m_bRefreshing(false) {}

BOOL CBankPasswordDlg::OnInitDialog()
{
    CTabDlg::OnInitDialog();
    SetInitMode(m_bInitMode);
    return TRUE;
}

void CBankPasswordDlg::SetInitMode(bool bInit)
{
    m_bInitMode = bInit;
    if (GetSafeHwnd() == NULL)
        return;
    m_bRefreshing = true;
    if (bInit)
        SetDlgItemText(IDC_BANKPW_OLD, "");
    GetDlgItem(IDC_BANKPW_OLD)->EnableWindow(!bInit);
    SetDlgItemText(IDC_BANKPW_TITLE, bInit ? "初始化保险箱密码" : "保险箱密码修改");
    SetDlgItemText(IDC_BANKPW_NEW, "");
    SetDlgItemText(IDC_BANKPW_AGAIN, "");
    m_bRefreshing = false;
}

void CBankPasswordDlg::RefreshFromData()
{
    if (GetSafeHwnd() == NULL)
        return;
    m_bRefreshing = true;
    for (UINT nID : {IDC_BANKPW_OLD, IDC_BANKPW_NEW, IDC_BANKPW_AGAIN})
        SetDlgItemText(nID, "");
    GetDlgItem(IDC_BANKPW_OLD)->EnableWindow(TRUE);
    m_bRefreshing = false;
}

void CBankPasswordDlg::OnPasswordChange()
{
    if (m_bRefreshing)
        return;
    CString strOld, strNew, strAgain;
    GetDlgItemText(IDC_BANKPW_OLD, strOld);
    GetDlgItemText(IDC_BANKPW_NEW, strNew);
    GetDlgItemText(IDC_BANKPW_AGAIN, strAgain);
    if (!strNew.IsEmpty() && !strAgain.IsEmpty() && (m_bInitMode || !strOld.IsEmpty()) && strNew != strAgain) {
        AfxMessageBox("两次输入的密码不一致");
        GetDlgItem(IDC_BANKPW_NEW)->SetFocus();
    }
    RegisterForSubmit();
}

bool CBankPasswordDlg::Submit(IQuillonDataCenter* pDataCenter)
{
    if (pDataCenter == NULL || GetSafeHwnd() == NULL)
        return false;
    CString strOld, strNew, strAgain;
    GetDlgItemText(IDC_BANKPW_OLD, strOld);
    GetDlgItemText(IDC_BANKPW_NEW, strNew);
    GetDlgItemText(IDC_BANKPW_AGAIN, strAgain);
    char szNew[CMD5Encrypt::kHexLength + 1];
    if (m_bInitMode) {
        if (strNew.IsEmpty() || strAgain.IsEmpty()) {
            AfxMessageBox("密码不能为空");
            return false;
        }
        if (strNew != strAgain) {
            AfxMessageBox("两次输入的密码不一致");
            GetDlgItem(IDC_BANKPW_NEW)->SetFocus();
            return false;
        }
        CMD5Encrypt::EncryptData(strNew, szNew);
        return pDataCenter->SendInitBankPassword(szNew);
    }
    if (strOld.IsEmpty() && strNew.IsEmpty() && strAgain.IsEmpty())
        return false;
    if (strOld.IsEmpty() || strNew.IsEmpty() || strAgain.IsEmpty()) {
        AfxMessageBox("密码不能为空", MB_ICONWARNING);
        return false;
    }
    if (strNew != strAgain) {
        AfxMessageBox("两次输入的密码不一致");
        return false;
    }
    if (strOld == strNew) {
        AfxMessageBox("新旧密码不能相同");
        return false;
    }
    char szOld[CMD5Encrypt::kHexLength + 1];
    CMD5Encrypt::EncryptData(strOld, szOld);
    CMD5Encrypt::EncryptData(strNew, szNew);
    pDataCenter->SendModifyBankPassword(szOld, szNew);
    RefreshFromData();
    return true;
}
