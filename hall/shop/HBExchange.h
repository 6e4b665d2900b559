// The gold exchange of a room: gold eggs into gold beans and back, at the
// server's rate. One request at a time; the panel closes after its answer.
#pragma once

#include "MoneyPanel.h"

// The smallest bean exchange.
const LONGLONG HB_LEAST_BEANS = 200000;

class CHBExchange : public CMoneyPanel
{
public:
    CHBExchange();
    ~CHBExchange() override;

    // Creates the panel from its template over the room window.
    bool CreatePanel(CWnd* pParent, int nPage, DWORD dwStyle);
    void OnExchangeResult(int nCode);
    static CString ExchangeResultText(int nCode);

protected:
    BOOL OnInitDialog() override;
    void RefreshValues() override;
    LONGLONG QuickAmount(int nButton) override;
    void Confirm() override;
    void OnExtraButton() override;
    CString QuickCaption(int nPage, int nButton) override;

private:
    void ReadBalances();

    LONGLONG m_llEggs;
    LONGLONG m_llBeans;
    LONGLONG m_llEggExchange;
    LONGLONG m_llBeanExchange;
};
