#include "CompEntry.h"

CCompEntry::CCompEntry(CWnd* pRoomTabWnd) : m_pRoomTabWnd(pRoomTabWnd) {}

CCompEntry::~CCompEntry()
{
    CloseChannelDialog();
}

void CCompEntry::ShowChannelDialog()
{
    if (m_GameChannelDlg.GetSafeHwnd() == NULL && !m_GameChannelDlg.Create(CGameChannelDlg::IDD, NULL))
        return;
    m_GameChannelDlg.ShowWindow(SW_SHOW);
}

void CCompEntry::CloseChannelDialog()
{
    if (m_GameChannelDlg.GetSafeHwnd() != NULL)
        m_GameChannelDlg.DestroyWindow();
}

void CCompEntry::SelectChannelGame(int nIndex)
{
    m_GameChannelDlg.SelectGame(nIndex);
}
