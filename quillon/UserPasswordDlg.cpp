#include "UserPasswordDlg.h"

#include "MD5Encrypt.h"
#include "res/resource.h"

CUserPasswordDlg::CUserPasswordDlg() : CTabDlg(IDD_USER_PASSWORD) {}

void CUserPasswordDlg::RefreshFromData()
{
    if (GetSafeHwnd() == NULL)
        return;
    for (UINT nID : {IDC_PASSWORD_OLD, IDC_PASSWORD_NEW, IDC_PASSWORD_AGAIN})
        SetDlgItemText(nID, "");
}

bool CUserPasswordDlg::Submit(IQuillonDataCenter* pDataCenter)
{
    if (pDataCenter == NULL || GetSafeHwnd() == NULL)
        return false;
    CString strOld, strNew, strAgain;
    GetDlgItemText(IDC_PASSWORD_OLD, strOld);
    GetDlgItemText(IDC_PASSWORD_NEW, strNew);
    GetDlgItemText(IDC_PASSWORD_AGAIN, strAgain);
    if (strOld.IsEmpty() && strNew.IsEmpty() && strAgain.IsEmpty())
        return false;
    if (strOld.IsEmpty() || strNew.IsEmpty() || strAgain.IsEmpty()) {
        AfxMessageBox("密码不能为空");
        return false;
    }
    if (strNew != strAgain) {
        AfxMessageBox("两次输入的密码不一致");
        return false;
    }
    if (strNew.GetLength() < 6) {
        AfxMessageBox("密码不得少于六位");
        return false;
    }
    if (strOld == strNew) {
        AfxMessageBox("新旧密码不能相同");
        return false;
    }
    char szOld[CMD5Encrypt::kHexLength + 1], szNew[CMD5Encrypt::kHexLength + 1];
    CMD5Encrypt::EncryptData(strOld, szOld);
    CMD5Encrypt::EncryptData(strNew, szNew);
    pDataCenter->SendModifyPassword(szOld, szNew);
    RefreshFromData();
    return true;
}
