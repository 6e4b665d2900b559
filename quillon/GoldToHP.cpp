#include "GoldToHP.h"

#include "ServiceAmount.h"
#include "ServiceGlobalUnits.h"
#include "res/resource.h"

namespace
{

const LONGLONG kPresetAmounts[CGoldToHP::kPresets] = {10000, 50000, 300000, -1}; // -1: all
const LONGLONG kMinAmount = 10000;

} // namespace

bool ExchangeResult(LONGLONG llAmount, double dRate, LONGLONG& llResult)
{
    llResult = 0;
    if (!(dRate > 0))
        return false;
    double dResult = double(llAmount) * dRate;
    if (!(dResult < 9.2e18))
        return false;
    llResult = LONGLONG(dResult);
    return true;
}

BEGIN_MESSAGE_MAP(CGoldToHP, CTabDlg)
    ON_BN_CLICKED(IDC_G2H_PRESET_FIRST, OnPreset1)
    ON_BN_CLICKED(IDC_G2H_PRESET_FIRST + 1, OnPreset2)
    ON_BN_CLICKED(IDC_G2H_PRESET_FIRST + 2, OnPreset3)
    ON_BN_CLICKED(IDC_G2H_PRESET_FIRST + 3, OnPreset4)
    ON_EN_CHANGE(IDC_G2H_AMOUNT, OnAmountChange)
END_MESSAGE_MAP()

CGoldToHP::CGoldToHP()
    : CTabDlg(IDD_GOLD_TO_HP), m_llEggs(0), m_llBeans(0), m_llAmount(0), m_llResult(0), m_bUpdating(false)
{}

void CGoldToHP::DoDataExchange(CDataExchange* pDX)
{
    CTabDlg::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_G2H_AMOUNT, m_AmountEdit);
}

void CGoldToHP::RefreshFromData()
{
    if (GetSafeHwnd() == NULL)
        return;
    m_bUpdating = true;
    const tagServiceUserData* pUser = g_ServiceUnits.GetUserData();
    m_llEggs = pUser->dwEggCount;
    m_llBeans = pUser->dwBeanCount;
    m_llAmount = m_llResult = 0;
    CString strText;
    strText.Format("%lld", (long long)m_llEggs);
    SetDlgItemText(IDC_G2H_EGGS, strText);
    strText.Format("%lld", (long long)m_llBeans);
    SetDlgItemText(IDC_G2H_BEANS, strText);
    SetDlgItemText(IDC_G2H_RESULT, "0");
    SetDlgItemText(IDC_G2H_AMOUNT, "");
    m_AmountEdit.EnableWindow(TRUE);
    // The rate is known from the first strong-box information on.
    if (g_ServiceUnits.m_dRate1 > 0)
        strText.Format("金蛋兑换金豆比例1：%.0f", g_ServiceUnits.m_dRate1);
    else
        strText = "金蛋兑换金豆比例1：--";
    SetDlgItemText(IDC_G2H_RATE, strText);
    for (int i = 0; i < kPresets; ++i)
        CheckDlgButton(IDC_G2H_PRESET_FIRST + i, BST_UNCHECKED);
    m_bUpdating = false;
}

void CGoldToHP::ShowResult()
{
    CString strText;
    if (ExchangeResult(m_llAmount, g_ServiceUnits.m_dRate1, m_llResult))
        strText.Format("%lld", (long long)m_llResult);
    else
        strText = m_llAmount == 0 ? "0" : "--";
    SetDlgItemText(IDC_G2H_RESULT, strText);
}

void CGoldToHP::ChoosePreset(int nPreset)
{
    if (nPreset < 0 || nPreset >= kPresets)
        return;
    LONGLONG llAmount = kPresetAmounts[nPreset];
    if (llAmount < 0 || llAmount > m_llEggs)
        llAmount = m_llEggs;
    for (int i = 0; i < kPresets; ++i)
        CheckDlgButton(IDC_G2H_PRESET_FIRST + i, i == nPreset ? BST_CHECKED : BST_UNCHECKED);
    m_bUpdating = true;
    SetDlgItemText(IDC_G2H_AMOUNT, FormatAmount(llAmount));
    m_bUpdating = false;
    m_llAmount = llAmount;
    ShowResult();
    RegisterForSubmit();
}

void CGoldToHP::OnAmountChange()
{
    if (m_bUpdating)
        return;
    CString strText;
    GetDlgItemText(IDC_G2H_AMOUNT, strText);
    ULONGLONG ullAmount = 0;
    AmountStatus status = ParseAmount(strText, kMaxExchangeAmount, ullAmount, true);
    m_llAmount = status == AMOUNT_OK ? LONGLONG(ullAmount) : 0;
    if (status == AMOUNT_OK) {
        // Shown with its commas, the caret kept at the end.
        CString strShown = FormatAmount(m_llAmount);
        if (strShown != strText) {
            m_bUpdating = true;
            SetDlgItemText(IDC_G2H_AMOUNT, strShown);
            m_AmountEdit.SetSel(strShown.GetLength(), strShown.GetLength());
            m_bUpdating = false;
        }
    }
    for (int i = 0; i < kPresets; ++i)
        CheckDlgButton(IDC_G2H_PRESET_FIRST + i, BST_UNCHECKED);
    ShowResult();
    RegisterForSubmit();
}

bool CGoldToHP::Submit(IQuillonDataCenter* pDataCenter)
{
    if (pDataCenter == NULL || GetSafeHwnd() == NULL)
        return false;
    CString strText;
    GetDlgItemText(IDC_G2H_AMOUNT, strText);
    ULONGLONG ullAmount = 0;
    AmountStatus status = ParseAmount(strText, kMaxExchangeAmount, ullAmount, true);
    if (status == AMOUNT_TOO_LARGE || (status == AMOUNT_OK && LONGLONG(ullAmount) > m_llEggs)) {
        AfxMessageBox("输入金额大于拥有金蛋数，请重新输入！");
        return false;
    }
    LONGLONG llAmount = status == AMOUNT_OK ? LONGLONG(ullAmount) : 0;
    if (status == AMOUNT_INVALID || llAmount < kMinAmount) {
        AfxMessageBox("输入金额必须大于1万，请重新输入！");
        return false;
    }
    m_llAmount = llAmount;
    m_AmountEdit.EnableWindow(FALSE);
    if (pDataCenter->SendGoldToHP(llAmount)) {
        LONGLONG llBeans = 0;
        ExchangeResult(llAmount, g_ServiceUnits.m_dRate1, llBeans);
        g_ServiceUnits.m_llPendingEggs = llAmount;
        g_ServiceUnits.m_llPendingBeans = llBeans;
    } else {
        // Nothing went out: the amount may be changed again.
        m_AmountEdit.EnableWindow(TRUE);
    }
    return true;
}
