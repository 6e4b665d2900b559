// The safe box of a room: the player moves gold eggs between the hand and
// the safe box on the room server, after the server checked the safe-box
// password. One request at a time; the panel closes after its answer.
#pragma once

#include "MoneyPanel.h"

class CBankStorage : public CMoneyPanel
{
public:
    CBankStorage();
    ~CBankStorage() override;

    // Asks the password and sends its check, unless the panel is open or
    // a check is already out.
    void RequestOpenSafeBox();
    void OnOpenSafeBoxResult(int nCode);
    void OnDepositResult(int nCode);
    void OnWithdrawResult(int nCode);

    const CString& GetPassword() const { return m_strPassword; }
    LONGLONG GetHand() const { return m_llHand; }
    LONGLONG GetSafeBoxSum() const { return m_llSum; }

protected:
    BOOL OnInitDialog() override;
    void RefreshValues() override;
    LONGLONG QuickAmount(int nButton) override;
    void Confirm() override;
    void OnExtraButton() override;
    CString QuickCaption(int nPage, int nButton) override;
    void OnAllBox(UINT nID) override;

private:
    void ReadBalances();
    CString RechargeText(LPCSTR pszFormat) const;

    LONGLONG m_llHand;
    LONGLONG m_llSum;
    LONGLONG m_llDeposit;
    LONGLONG m_llWithdraw;
    CString m_strPassword;
    bool m_bCheckingPassword;
};
