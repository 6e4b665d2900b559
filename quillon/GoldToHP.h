// Exchanges eggs for beans: a preset or a typed amount of eggs, times the
// rate of the strong-box information.
#pragma once

#include "AmountEdit.h"
#include "TabDlg.h"

class CGoldToHP : public CTabDlg
{
public:
    static const int kPresets = 4;

    CGoldToHP();

    void RefreshFromData() override;
    bool Submit(IQuillonDataCenter* pDataCenter) override;
    LONGLONG GetAmount() const { return m_llAmount; }
    LONGLONG GetResult() const { return m_llResult; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void ChoosePreset(int nPreset);
    void ShowResult();
    afx_msg void OnPreset1() { ChoosePreset(0); }
    afx_msg void OnPreset2() { ChoosePreset(1); }
    afx_msg void OnPreset3() { ChoosePreset(2); }
    afx_msg void OnPreset4() { ChoosePreset(3); }
    afx_msg void OnAmountChange();
    DECLARE_MESSAGE_MAP()

    CAmountEdit m_AmountEdit;
    LONGLONG m_llEggs;
    LONGLONG m_llBeans;
    LONGLONG m_llAmount;
    LONGLONG m_llResult;
    bool m_bUpdating;
};

// Amounts of an exchange: up to 18 digits.
const ULONGLONG kMaxExchangeAmount = 999999999999999999ull;
// amount * rate cut to a whole number; false when the rate is not known yet
// (0) or the product does not fit.
bool ExchangeResult(LONGLONG llAmount, double dRate, LONGLONG& llResult);
