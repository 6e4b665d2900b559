// What the table toolbar asks of the room: the loudspeaker, the money
// panels, item use, the option and create-table dialogs and the request the
// create-table dialog leads to.
#include "RoomViewItem.h"

#include "CreateTableDlg.h"
#include "OptionDlg.h"
#include "RecordCodec.h"
#include "SpeakDlg.h"

IRoomMoneyPanels* CRoomViewItem::GetMoneyPanels()
{
    if (m_pMoneyPanels == NULL && s_MoneyPanelsFactory && GetSafeHwnd() != NULL)
        m_pMoneyPanels = s_MoneyPanelsFactory(this);
    return m_pMoneyPanels;
}

void CRoomViewItem::ShowBankStorage(int nPage)
{
    if (nPage != 0 && nPage != 1)
        return;
    IRoomMoneyPanels* pPanels = GetMoneyPanels();
    if (pPanels != NULL)
        pPanels->ShowBankStorage(nPage);
}

void CRoomViewItem::ShowHBExchange()
{
    IRoomMoneyPanels* pPanels = GetMoneyPanels();
    if (pPanels != NULL)
        pPanels->ShowHBExchange();
}

void CRoomViewItem::ShowSpeakDlg()
{
    CSpeakDlg dialog(this);
    dialog.DoModal();
}

WORD CRoomViewItem::GetSpeakerCount() const
{
    return CSpeakDlg::GetShop()->GetSpeakerCount();
}

void CRoomViewItem::UseItemByKind(int nKind)
{
    if (nKind <= 0 || nKind > 0xFFFF)
        return;
    UseOwnedItem(WORD(nKind));
}

CDialog* CRoomViewItem::CreateOptionDlg()
{
    if (m_pGameOption == NULL || m_pRoomOption == NULL)
        return NULL;
    return new COptionDlg(m_pGameOption, m_pRoomOption, this);
}

CDialog* CRoomViewItem::CreateTableDlg()
{
    return new CCreateTableDlg(&m_TableOption, m_dwRoomRule, this);
}

// The limits travel only while their flags are set; the password only when
// the table is locked.
bool CRoomViewItem::RequestCreateTable()
{
    const tagTableOptionRecord& option = m_TableOption.Record();
    tagCreateTableRequest request;
    request.strName = FieldText(option.m_szText, sizeof(option.m_szText));
    if (option.m_cbPassword != 0)
        request.strPassword = FieldText(option.m_szPassword, sizeof(option.m_szPassword));
    request.wValue = option.m_wValue1;
    request.cbValue = option.m_cbValue1;
    request.bHasA = option.m_cbValue2 != 0;
    request.dwA = request.bHasA ? option.m_dwValue : 0;
    request.bHasB = option.m_cbValue3 != 0;
    request.wB = request.bHasB ? option.m_wValue2 : 0;
    request.bHasC = option.m_cbIPLimit != 0;
    request.cbC = request.bHasC ? option.m_cbIPLength : 0;
    return RequestCreateTable(request);
}
