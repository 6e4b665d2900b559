// Exchanges beans for eggs: one of four preset amounts of beans, times the
// rate of the strong-box information.
#pragma once

#include "TabDlg.h"

class CHPToGold : public CTabDlg
{
public:
    static const int kPresets = 4;

    CHPToGold();

    void RefreshFromData() override;
    bool Submit(IQuillonDataCenter* pDataCenter) override;
    LONGLONG GetAmount() const { return m_llAmount; }
    LONGLONG GetResult() const { return m_llResult; }

protected:
    void ChoosePreset(int nPreset);
    afx_msg void OnPreset1() { ChoosePreset(0); }
    afx_msg void OnPreset2() { ChoosePreset(1); }
    afx_msg void OnPreset3() { ChoosePreset(2); }
    afx_msg void OnPreset4() { ChoosePreset(3); }
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    DECLARE_MESSAGE_MAP()

    LONGLONG m_llEggs;
    LONGLONG m_llBeans;
    LONGLONG m_llAmount;
    LONGLONG m_llResult;
};
