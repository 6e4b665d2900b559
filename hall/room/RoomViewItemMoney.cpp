#include "RoomViewItemMoney.h"

#include <new>

#include "ClientDataCenter.h"
#include "HallApp.h"
#include "RoomBankStoragePassDlg.h"

CRoomViewItemMoney::CRoomViewItemMoney(CRoomViewItem* pView) : m_pView(pView) {}

CRoomViewItemMoney::~CRoomViewItemMoney() {}

IRoomMoneyPanels* CRoomViewItemMoney::Create(CRoomViewItem* pView)
{
    return pView != NULL ? new (std::nothrow) CRoomViewItemMoney(pView) : NULL;
}

void CRoomViewItemMoney::ShowBankStorage(int nPage)
{
    CRoomDataCenter* pDataCenter = m_pView->GetRoomDataCenter();
    if (pDataCenter == NULL)
        return;
    m_BankStorage.SetRoomContext(this, pDataCenter, m_pView->GetMeUserItem(), nPage);
    m_BankStorage.RequestOpenSafeBox();
}

void CRoomViewItemMoney::ShowHBExchange()
{
    CRoomDataCenter* pDataCenter = m_pView->GetRoomDataCenter();
    if (pDataCenter == NULL)
        return;
    m_Exchange.SetRoomContext(this, pDataCenter, m_pView->GetMeUserItem(), 0);
    if (m_Exchange.CreatePanel(m_pView, 0, 0))
        m_Exchange.ShowWindow(SW_SHOW);
}

void CRoomViewItemMoney::OnOpenSafeBoxResult(int nCode)
{
    m_BankStorage.OnOpenSafeBoxResult(nCode);
}

void CRoomViewItemMoney::OnWithdrawResult(int nCode)
{
    m_BankStorage.OnWithdrawResult(nCode);
}

void CRoomViewItemMoney::OnDepositResult(int nCode)
{
    m_BankStorage.OnDepositResult(nCode);
}

void CRoomViewItemMoney::OnExchangeResult(int nCode)
{
    m_Exchange.OnExchangeResult(nCode);
}

void CRoomViewItemMoney::ShowSkinMessageBox(LPCSTR pszText)
{
    m_pView->ShowOkBox(pszText, MB_ICONINFORMATION);
}

bool CRoomViewItemMoney::AskSafeBoxPassword(CString& strPassword)
{
    CRoomBankStoragePassDlg dialog(m_pView);
    if (dialog.DoModal() != IDOK)
        return false;
    strPassword = dialog.m_strPassword;
    return true;
}

void CRoomViewItemMoney::OpenServicePage(DWORD dwPageGroup, DWORD dwPageIndex)
{
    CClientDataCenter* pHall = CHallApp::GetClientDataCenter();
    if (pHall != NULL)
        pHall->OpenServicePage(dwPageGroup, dwPageIndex);
}
