#include "BankTransferDlg.h"

#include "BankAtmDlg.h"
#include "ServiceAmount.h"
#include "ServiceGlobalUnits.h"
#include "res/resource.h"

namespace
{

// The smallest purse that may send and the smallest transfer.
const DWORD kMinPurse = 10000;
const ULONGLONG kMinTransfer = 100000;

} // namespace

BEGIN_MESSAGE_MAP(CBankTransferDlg, CTabDlg)
    ON_EN_KILLFOCUS(IDC_TRANSFER_TARGET, OnTargetKillFocus)
    ON_EN_CHANGE(IDC_TRANSFER_TARGET, OnEditChange)
    ON_EN_CHANGE(IDC_TRANSFER_AMOUNT, OnEditChange)
END_MESSAGE_MAP()

CBankTransferDlg::CBankTransferDlg() : CTabDlg(IDD_BANK_TRANSFER), m_bWaitNickName(false), m_bRefreshing(false) {}

void CBankTransferDlg::DoDataExchange(CDataExchange* pDX)
{
    CTabDlg::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_TRANSFER_TARGET, m_Target);
    DDX_Control(pDX, IDC_TRANSFER_AMOUNT, m_Amount);
}

void CBankTransferDlg::OnEditChange()
{
    if (!m_bRefreshing)
        RegisterForSubmit();
}

void CBankTransferDlg::ShowTaxText()
{
    CString strText;
    strText.Format("普通用户税率:  %.2f %%\n会员用户税率:  %.2f %%", double(g_ServiceUnits.m_fTax1) * 100,
                   double(g_ServiceUnits.m_fTax2) * 100);
    SetDlgItemText(IDC_TRANSFER_TAX, strText);
}

void CBankTransferDlg::RefreshFromData()
{
    if (GetSafeHwnd() == NULL)
        return;
    m_bRefreshing = true;
    CString strText;
    strText.Format("%u", unsigned(g_ServiceUnits.GetUserData()->dwEggCount));
    SetDlgItemText(IDC_TRANSFER_EGGS, strText);
    SetDlgItemText(IDC_TRANSFER_TARGET, "");
    SetDlgItemText(IDC_TRANSFER_AMOUNT, "");
    SetDlgItemText(IDC_TRANSFER_NICK, "");
    ShowTaxText();
    m_bRefreshing = false;
}

bool CBankTransferDlg::ReadTarget(DWORD& dwTarget)
{
    CString strText;
    GetDlgItemText(IDC_TRANSFER_TARGET, strText);
    ULONGLONG ullTarget = 0;
    AmountStatus status = ParseAmount(strText, 0xFFFFFFFFull, ullTarget);
    dwTarget = DWORD(ullTarget);
    return status == AMOUNT_OK || status == AMOUNT_EMPTY;
}

void CBankTransferDlg::OnTargetKillFocus()
{
    if (!IsWindowVisible())
        return;
    DWORD dwTarget = 0;
    if (!ReadTarget(dwTarget) || dwTarget == 0)
        return;
    if (dwTarget == g_ServiceUnits.GetUserData()->dwUserID) {
        AfxMessageBox("不能自己给自己转账");
        SetDlgItemText(IDC_TRANSFER_TARGET, "");
        m_Target.SetFocus();
        return;
    }
    IQuillonDataCenter* pDataCenter = g_ServiceUnits.m_pDataCenter;
    if (pDataCenter != NULL && pDataCenter->RequestNickName(dwTarget))
        m_bWaitNickName = true;
}

void CBankTransferDlg::OnNickName(LONG lResult, DWORD dwUserID, LPCSTR pszNickName)
{
    if (GetSafeHwnd() == NULL)
        return;
    if (lResult != 0) {
        m_Target.SetFocus();
        SetDlgItemText(IDC_TRANSFER_NICK, "");
        m_bWaitNickName = false;
        return;
    }
    // An answer for an id no longer in the edit: the one for it is still to come.
    DWORD dwTarget = 0;
    if (!ReadTarget(dwTarget) || dwTarget != dwUserID)
        return;
    CString strNick(pszNickName == NULL ? "" : pszNickName);
    strNick.Replace("&", "&&");
    SetDlgItemText(IDC_TRANSFER_NICK, strNick);
    m_bWaitNickName = false;
}

bool CBankTransferDlg::Submit(IQuillonDataCenter* pDataCenter)
{
    if (pDataCenter == NULL || GetSafeHwnd() == NULL)
        return false;
    DWORD dwTarget = 0;
    bool bTargetRead = ReadTarget(dwTarget);
    if (bTargetRead && dwTarget == 0)
        return true;
    DWORD dwEggs = g_ServiceUnits.GetUserData()->dwEggCount;
    if (dwEggs < kMinPurse) {
        AfxMessageBox("您的金蛋少于10000,无法进行转账");
        return true;
    }
    if (m_bWaitNickName) {
        AfxMessageBox("正在获取要转账用户的昵称,请稍候");
        return false;
    }
    if (!bTargetRead) {
        AfxMessageBox("请输入用户ID");
        return false;
    }
    CString strAmount;
    GetDlgItemText(IDC_TRANSFER_AMOUNT, strAmount);
    ULONGLONG ullAmount = 0;
    AmountStatus amount = ParseAmount(strAmount, 0xFFFFFFFFull, ullAmount);
    if (amount == AMOUNT_EMPTY || amount == AMOUNT_INVALID || (amount == AMOUNT_OK && ullAmount == 0)) {
        AfxMessageBox("请输入转账金蛋");
        return false;
    }
    if (amount == AMOUNT_TOO_LARGE || ullAmount > dwEggs) {
        AfxMessageBox("转账金蛋超额");
        m_Amount.SetFocus();
        return false;
    }
    if (dwTarget == g_ServiceUnits.GetUserData()->dwUserID) {
        AfxMessageBox("不能自己给自己转账");
        SetDlgItemText(IDC_TRANSFER_TARGET, "");
        return true;
    }
    if (ullAmount < kMinTransfer) {
        AfxMessageBox("每笔转账数额不得小于10万");
        return false;
    }
    CString strDigest;
    if (!AskBankPassword(this, strDigest))
        return false;
    if (pDataCenter->SendTransfer(dwTarget, strDigest, DWORD(ullAmount)))
        g_ServiceUnits.m_llPendingTransfer = LONGLONG(ullAmount);
    return true;
}
