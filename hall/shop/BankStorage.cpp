#include "BankStorage.h"

#include "AmountText.h"
#include "GlobalOption.h"
#include "GlobalUnits.h"
#include "MD5Encrypt.h"
#include "RoomDataCenter.h"
#include "UserItem.h"
#include "resource.h"

namespace
{
const char kRangeText[] = "你输入的金蛋值必须在1和%lld之间";
const LONGLONG kMostSum = 0xFFFFFFFFll;

CString MD5Hex(const CString& strText)
{
    char szDigest[CMD5Encrypt::kHexLength + 1] = "";
    CMD5Encrypt::EncryptData(strText, szDigest);
    return szDigest;
}
} // namespace

CBankStorage::CBankStorage()
    : CMoneyPanel(IDD_BANK_STORAGE, "保险箱", "gameroom\\BankerStorage\\"), m_llHand(0), m_llSum(0), m_llDeposit(0),
      m_llWithdraw(0), m_bCheckingPassword(false)
{
    m_pPages[0] = new CPageDlg(PAGE_KIND_DEPOSIT, "存入", "存款");
    m_pPages[1] = new CPageDlg(PAGE_KIND_WITHDRAW, "取出", "取款");
    m_Background.Load(m_strSkinFolder + "BankDlg.bmp");
}

CBankStorage::~CBankStorage() {}

void CBankStorage::RequestOpenSafeBox()
{
    if (GetSafeHwnd() != NULL || m_bCheckingPassword || m_pHost == NULL || m_pDataCenter == NULL)
        return;
    CString password;
    if (!m_pHost->AskSafeBoxPassword(password))
        return;
    m_strPassword = password;
    m_bCheckingPassword = true;
    if (!m_pDataCenter->SendBankPassword(MD5Hex(password), true))
        m_bCheckingPassword = false;
}

void CBankStorage::OnOpenSafeBoxResult(int nCode)
{
    m_bCheckingPassword = false;
    if (nCode != 0)
        m_strPassword.Empty();
    switch (nCode) {
    case 0:
        m_llSum = m_pDataCenter != NULL ? (LONGLONG)m_pDataCenter->GetCallerValue() : 0;
        ShowPanel();
        break;
    case 2:
        ShowInfo("您的保险箱密码未初始化,请在随后弹出的服务中初始化设置保险箱密码！");
        if (m_pHost != NULL)
            m_pHost->OpenServicePage(1, 0);
        break;
    case 3:
        if (m_pHost != NULL)
            m_pHost->ShowSkinMessageBox("您的保险箱密码输入错误，请检查后重试！");
        RequestOpenSafeBox();
        break;
    case -1:
        if (m_pHost != NULL)
            m_pHost->ShowSkinMessageBox("请求保险箱失败，请稍候再试！");
        break;
    default: break;
    }
}

BOOL CBankStorage::OnInitDialog()
{
    ReadBalances();
    return CMoneyPanel::OnInitDialog();
}

void CBankStorage::ReadBalances()
{
    m_llHand = GetGoldEggs(m_pUserItem);
    m_llSum = m_pDataCenter != NULL ? (LONGLONG)m_pDataCenter->GetCallerValue() : 0;
}

void CBankStorage::RefreshValues()
{
    ReadBalances();
    SetPageValue(1243, m_llHand);
    SetPageValue(1244, m_llSum);
}

LONGLONG CBankStorage::QuickAmount(int nButton)
{
    ReadBalances();
    static const LONGLONG kAmounts[] = {100000, 500000, 1000000};
    LONGLONG llMost = m_nCurrentPage == 0 ? m_llHand : m_llSum;
    if (nButton < 0 || nButton >= 3)
        return llMost;
    return kAmounts[nButton] < llMost ? kAmounts[nButton] : llMost;
}

void CBankStorage::OnAllBox(UINT nID)
{
    CPageDlg* pPage = GetPage(m_nCurrentPage);
    if (pPage == NULL)
        return;
    // The box of the page shown: 1249 deposit, 1247 withdraw.
    if ((nID == 1249) != (pPage->GetKind() == PAGE_KIND_DEPOSIT))
        return;
    ReadBalances();
    CEdit& field = pPage->GetAmountField();
    if (pPage->IsDlgButtonChecked(nID)) {
        field.SetWindowText(FormatAmountText(nID == 1249 ? m_llHand : m_llSum));
        field.EnableWindow(FALSE);
    } else {
        field.SetWindowText("");
        field.EnableWindow(TRUE);
        field.SetFocus();
    }
}

CString CBankStorage::RechargeText(LPCSTR pszFormat) const
{
    CString text;
    text.Format(pszFormat, (LPCSTR)g_GlobalOption.GetPrepaidUrl(0), (LPCSTR)g_GlobalOption.GetPrepaidUrl(1));
    return text;
}

void CBankStorage::Confirm()
{
    if (m_pDataCenter == NULL)
        return;
    ReadBalances();
    const bool bDeposit = m_nCurrentPage == 0;
    const LONGLONG llMost = bDeposit ? m_llHand : m_llSum;
    const LONGLONG llAmount = ReadPageAmount();
    const bool bValid = llAmount >= 1 && llAmount <= llMost;
    if (!bValid) {
        CString text;
        if (llMost > 0)
            text.Format(kRangeText, llMost);
        else if (bDeposit)
            text = RechargeText("你的当前金蛋数目为0,不能进行存储操作!立即充值（<a href=\"%s\">短信</a>，<a "
                                "href=\"%s\">网银</a>）");
        else
            text = RechargeText("你的存储金蛋数目为0,不能进行提取操作!>>立即充值（<a href=\"%s\">短信</a>，<a "
                                "href=\"%s\">网银</a>）");
        ShowInfo(text);
        FocusAmountField();
        return;
    }
    if (bDeposit && m_pUserItem != NULL && m_pUserItem->GetStatus() >= 2) {
        ShowInfo("在游戏中无法存入金蛋，请关闭客户端后再操作！");
        return;
    }
    bool bSent = false;
    if (bDeposit) {
        m_llDeposit = llAmount;
        bSent = m_pDataCenter->SendBankDeposit((DWORD)llAmount, true);
    } else {
        m_llWithdraw = llAmount;
        bSent = m_pDataCenter->SendBankWithdraw(MD5Hex(m_strPassword), (DWORD)llAmount, true);
    }
    if (bSent)
        BeginRequest();
}

void CBankStorage::OnDepositResult(int nCode)
{
    switch (nCode) {
    case 0: {
        LONGLONG llSum = (LONGLONG)(m_pDataCenter != NULL ? m_pDataCenter->GetCallerValue() : 0) + m_llDeposit;
        // Stored back in the room's 32-bit field: never wrapped.
        if (llSum > kMostSum)
            llSum = kMostSum;
        m_llSum = llSum;
        if (m_pDataCenter != NULL)
            m_pDataCenter->SetCallerValue((DWORD)llSum);
        m_llDeposit = 0;
        ShowInfo("存款成功！");
        break;
    }
    case 9:
        ShowInfo(RechargeText("您的金蛋不足，无法存入！立即充值（<a href=\"%s\">短信</a>，<a href=\"%s\">网银</a>）"));
        break;
    case 11: ShowInfo("金蛋被锁定，无法存入！"); break;
    case -1: ShowInfo("存款失败，请稍候再试！"); break;
    default: break;
    }
    EndRequest();
}

void CBankStorage::OnWithdrawResult(int nCode)
{
    switch (nCode) {
    case 0: {
        LONGLONG llSum = (LONGLONG)(m_pDataCenter != NULL ? m_pDataCenter->GetCallerValue() : 0) - m_llWithdraw;
        if (llSum < 0)
            llSum = 0;
        m_llSum = llSum;
        if (m_pDataCenter != NULL)
            m_pDataCenter->SetCallerValue((DWORD)llSum);
        m_llWithdraw = 0;
        ShowInfo("取款成功");
        break;
    }
    case 7: ShowInfo("保险箱密码错误，无法取款！"); break;
    case 8:
        ShowInfo(RechargeText(
            "您保险箱中的钱不足，无法取款！>>立即充值（<a href=\"%s\">短信</a>，<a href=\"%s\">网银</a>）"));
        break;
    case 15: ShowInfo("保险箱密码未设置，无法取款！"); break;
    case -1: ShowInfo("取款失败，请稍候再试！"); break;
    default: break;
    }
    EndRequest();
}

void CBankStorage::OnExtraButton()
{
    OpenUrlInBrowser(g_GlobalOption.GetPrepaidPageUrl(), SW_SHOWNORMAL);
}

CString CBankStorage::QuickCaption(int nPage, int nButton)
{
    static const char* const kCaptions[] = {"10万", "50万", "100万", "全部"};
    return nButton >= 0 && nButton < 4 ? kCaptions[nButton] : "";
}
