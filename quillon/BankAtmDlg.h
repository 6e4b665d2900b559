// The strong box's deposit and withdraw page: moves eggs between the purse
// and the strong box, a withdrawal only with the strong-box password.
#pragma once

#include "AmountEdit.h"
#include "TabDlg.h"

class CBankAtmDlg : public CTabDlg
{
public:
    CBankAtmDlg();

    void RefreshFromData() override;
    bool Submit(IQuillonDataCenter* pDataCenter) override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    afx_msg void OnAmountChange();
    DECLARE_MESSAGE_MAP()

    CAmountEdit m_Withdraw;
    CAmountEdit m_Deposit;
    bool m_bRefreshing;
};

// Asks for the strong-box password; false when cancelled. The text is the
// password's MD5 hex text.
bool AskBankPassword(CWnd* pParent, CString& strDigest);
