#include "BankAtmDlg.h"

#include "InputerDlg.h"
#include "MD5Encrypt.h"
#include "ServiceAmount.h"
#include "ServiceGlobalUnits.h"
#include "res/resource.h"

bool AskBankPassword(CWnd* pParent, CString& strDigest)
{
    CInputerDlg prompt(pParent);
    prompt.m_strPrompt = "请输入保险箱密码";
    if (prompt.DoModal() != IDOK || prompt.m_strValue.IsEmpty())
        return false;
    char szDigest[CMD5Encrypt::kHexLength + 1];
    CMD5Encrypt::EncryptData(prompt.m_strValue, szDigest);
    strDigest = szDigest;
    return true;
}

BEGIN_MESSAGE_MAP(CBankAtmDlg, CTabDlg)
    ON_EN_CHANGE(IDC_ATM_WITHDRAW, OnAmountChange)
    ON_EN_CHANGE(IDC_ATM_DEPOSIT, OnAmountChange)
END_MESSAGE_MAP()

CBankAtmDlg::CBankAtmDlg() : CTabDlg(IDD_BANK_ATM), m_bRefreshing(false) {}

void CBankAtmDlg::DoDataExchange(CDataExchange* pDX)
{
    CTabDlg::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_ATM_WITHDRAW, m_Withdraw);
    DDX_Control(pDX, IDC_ATM_DEPOSIT, m_Deposit);
}

BOOL CBankAtmDlg::OnInitDialog()
{
    CTabDlg::OnInitDialog();
    m_Withdraw.LimitText(10);
    m_Deposit.LimitText(10);
    return TRUE;
}

void CBankAtmDlg::OnAmountChange()
{
    if (!m_bRefreshing)
        RegisterForSubmit();
}

void CBankAtmDlg::RefreshFromData()
{
    if (GetSafeHwnd() == NULL)
        return;
    m_bRefreshing = true;
    CString strText;
    strText.Format("%u", unsigned(g_ServiceUnits.m_dwBankBalance));
    SetDlgItemText(IDC_ATM_BALANCE, strText);
    strText.Format("%u", unsigned(g_ServiceUnits.GetUserData()->dwEggCount));
    SetDlgItemText(IDC_ATM_EGGS, strText);
    SetDlgItemText(IDC_ATM_WITHDRAW, "");
    SetDlgItemText(IDC_ATM_DEPOSIT, "");
    m_bRefreshing = false;
}

bool CBankAtmDlg::Submit(IQuillonDataCenter* pDataCenter)
{
    if (pDataCenter == NULL || GetSafeHwnd() == NULL)
        return false;
    CString strWithdraw, strDeposit;
    GetDlgItemText(IDC_ATM_WITHDRAW, strWithdraw);
    GetDlgItemText(IDC_ATM_DEPOSIT, strDeposit);
    // Both requests carry 32 bits; anything else is no amount.
    ULONGLONG ullWithdraw = 0, ullDeposit = 0;
    AmountStatus withdraw = ParseAmount(strWithdraw, 0xFFFFFFFFull, ullWithdraw);
    AmountStatus deposit = ParseAmount(strDeposit, 0xFFFFFFFFull, ullDeposit);
    if (withdraw == AMOUNT_INVALID || withdraw == AMOUNT_TOO_LARGE || deposit == AMOUNT_INVALID ||
        deposit == AMOUNT_TOO_LARGE) {
        AfxMessageBox("输入的保险箱金蛋错误");
        return false;
    }
    if (ullWithdraw == 0 && ullDeposit == 0)
        return false;
    if (ullWithdraw != 0 && ullDeposit != 0) {
        AfxMessageBox("错误,不能同时进行存款和取款");
        return false;
    }
    if (ullWithdraw != 0) {
        if (ullWithdraw > g_ServiceUnits.m_dwBankBalance) {
            AfxMessageBox("取款额超过金蛋总额");
            return false;
        }
        CString strDigest;
        if (!AskBankPassword(this, strDigest))
            return false;
        pDataCenter->SendWithdraw(LONG(DWORD(ullWithdraw)), strDigest);
        g_ServiceUnits.m_llPendingDeposit = -LONGLONG(ullWithdraw);
        return true;
    }
    if (ullDeposit > g_ServiceUnits.GetUserData()->dwEggCount) {
        AfxMessageBox("存款金蛋超额");
        return false;
    }
    pDataCenter->SendDeposit(DWORD(ullDeposit));
    g_ServiceUnits.m_llPendingDeposit = LONGLONG(ullDeposit);
    return true;
}
