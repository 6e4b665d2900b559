#include "HPToGold.h"

#include "GoldToHP.h"
#include "ServiceGlobalUnits.h"
#include "res/resource.h"

namespace
{

const LONGLONG kHPPresetAmounts[CHPToGold::kPresets] = {200000, 500000, 1000000, 10000000};
const LONGLONG kHPMinAmount = 200000;

} // namespace

BEGIN_MESSAGE_MAP(CHPToGold, CTabDlg)
    ON_BN_CLICKED(IDC_H2G_PRESET_FIRST, OnPreset1)
    ON_BN_CLICKED(IDC_H2G_PRESET_FIRST + 1, OnPreset2)
    ON_BN_CLICKED(IDC_H2G_PRESET_FIRST + 2, OnPreset3)
    ON_BN_CLICKED(IDC_H2G_PRESET_FIRST + 3, OnPreset4)
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

CHPToGold::CHPToGold() : CTabDlg(IDD_HP_TO_GOLD), m_llEggs(0), m_llBeans(0), m_llAmount(0), m_llResult(0) {}

void CHPToGold::RefreshFromData()
{
    if (GetSafeHwnd() == NULL)
        return;
    const tagServiceUserData* pUser = g_ServiceUnits.GetUserData();
    m_llEggs = pUser->dwEggCount;
    m_llBeans = pUser->dwBeanCount;
    CString strText;
    // 1 / rate 2 only once the rate is known.
    if (g_ServiceUnits.m_dRate2 > 0)
        strText.Format("金豆兑换金蛋比例%.0f：1", 1 / g_ServiceUnits.m_dRate2);
    else
        strText = "金豆兑换金蛋比例--：1";
    SetDlgItemText(IDC_H2G_RATE, strText);
    for (int i = 0; i < kPresets; ++i)
        CheckDlgButton(IDC_H2G_PRESET_FIRST + i, BST_UNCHECKED);
    m_llAmount = m_llResult = 0;
    strText.Format("%lld", (long long)m_llEggs);
    SetDlgItemText(IDC_H2G_EGGS, strText);
    strText.Format("%lld", (long long)m_llBeans);
    SetDlgItemText(IDC_H2G_BEANS, strText);
    SetDlgItemText(IDC_H2G_RESULT, "0");
}

void CHPToGold::ChoosePreset(int nPreset)
{
    if (nPreset < 0 || nPreset >= kPresets)
        return;
    for (int i = 0; i < kPresets; ++i)
        CheckDlgButton(IDC_H2G_PRESET_FIRST + i, i == nPreset ? BST_CHECKED : BST_UNCHECKED);
    m_llAmount = kHPPresetAmounts[nPreset];
    CString strText = "--";
    if (ExchangeResult(m_llAmount, g_ServiceUnits.m_dRate2, m_llResult))
        strText.Format("%lld", (long long)m_llResult);
    SetDlgItemText(IDC_H2G_RESULT, strText);
    RegisterForSubmit();
}

bool CHPToGold::Submit(IQuillonDataCenter* pDataCenter)
{
    if (pDataCenter == NULL || GetSafeHwnd() == NULL)
        return false;
    if (m_llAmount == 0) {
        AfxMessageBox("请选择要兑换的金额！");
        return false;
    }
    if (m_llAmount > m_llBeans) {
        AfxMessageBox("输入金额大于拥有金豆数，请重新输入！");
        return false;
    }
    if (m_llAmount < kHPMinAmount) {
        AfxMessageBox("输入金额必须大于20万，请重新输入！");
        return false;
    }
    if (pDataCenter->SendHPToGold(m_llAmount)) {
        LONGLONG llEggs = 0;
        ExchangeResult(m_llAmount, g_ServiceUnits.m_dRate2, llEggs);
        g_ServiceUnits.m_llPendingEggs = llEggs;
        g_ServiceUnits.m_llPendingBeans = m_llAmount;
    }
    return true;
}

HBRUSH CHPToGold::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    int nID = pWnd != NULL ? pWnd->GetDlgCtrlID() : 0;
    COLORREF crText;
    switch (nID) {
    case 10181:
    case 10182:
    case 10183:
    case 10184:
    case IDC_H2G_EGGS:
    case IDC_H2G_BEANS:
    case IDC_H2G_RESULT: crText = RGB(255, 0, 0); break;
    case IDC_H2G_EGGS_LABEL:
    case IDC_H2G_BEANS_LABEL:
    case IDC_H2G_RESULT_LABEL: crText = RGB(0, 90, 103); break;
    case IDC_H2G_RATE: crText = RGB(18, 120, 132); break;
    default:
        if (nID != -1 && nID != 0xFFFF)
            return CTabDlg::OnCtlColor(pDC, pWnd, nCtlColor);
        crText = RGB(0, 0, 0);
        break;
    }
    pDC->SetTextColor(crText);
    pDC->SetBkMode(TRANSPARENT);
    return HBRUSH(::GetStockObject(NULL_BRUSH));
}
