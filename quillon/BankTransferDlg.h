// Sends eggs from the purse to another user, named by id; the user's
// nickname is looked up when the id edit is left.
#pragma once

#include "AmountEdit.h"
#include "TabDlg.h"

class CBankTransferDlg : public CTabDlg
{
public:
    CBankTransferDlg();

    void RefreshFromData() override;
    bool Submit(IQuillonDataCenter* pDataCenter) override;
    // The server's answer to the nickname look-up.
    void OnNickName(LONG lResult, DWORD dwUserID, LPCSTR pszNickName);
    bool IsWaitingForNickName() const { return m_bWaitNickName; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void ShowTaxText();
    // The target id edit: its value, 0 when empty; false when it is no id.
    bool ReadTarget(DWORD& dwTarget);
    afx_msg void OnTargetKillFocus();
    afx_msg void OnEditChange();
    DECLARE_MESSAGE_MAP()

    CAmountEdit m_Target;
    CAmountEdit m_Amount;
    bool m_bWaitNickName;
    bool m_bRefreshing;
};
