// The safe box and the gold exchange of one room, as the program installs
// them for the room views: the shop's panels over the room window, with the
// room's data centre, its own user, its boxes and its password prompt.
#pragma once

#include "BankStorage.h"
#include "HBExchange.h"
#include "RoomViewItem.h"

class CRoomViewItemMoney : public IRoomMoneyPanels, public IMoneyPanelHost
{
public:
    explicit CRoomViewItemMoney(CRoomViewItem* pView);
    ~CRoomViewItemMoney() override;

    // The maker the program installs as CRoomViewItem::s_MoneyPanelsFactory.
    static IRoomMoneyPanels* Create(CRoomViewItem* pView);

    // IRoomMoneyPanels
    void ShowBankStorage(int nPage) override;
    void ShowHBExchange() override;
    void OnOpenSafeBoxResult(int nCode) override;
    void OnWithdrawResult(int nCode) override;
    void OnDepositResult(int nCode) override;
    void OnExchangeResult(int nCode) override;

    // IMoneyPanelHost
    CWnd* GetRoomWnd() override { return m_pView; }
    void ShowSkinMessageBox(LPCSTR pszText) override;
    bool AskSafeBoxPassword(CString& strPassword) override;
    void OpenServicePage(DWORD dwPageGroup, DWORD dwPageIndex) override;

    CBankStorage& GetBankStorage() { return m_BankStorage; }
    CHBExchange& GetExchange() { return m_Exchange; }

private:
    CRoomViewItemMoney(const CRoomViewItemMoney&) = delete;
    CRoomViewItemMoney& operator=(const CRoomViewItemMoney&) = delete;

    CRoomViewItem* m_pView;
    CBankStorage m_BankStorage;
    CHBExchange m_Exchange;
};
