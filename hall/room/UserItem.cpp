#include "UserItem.h"

CUserItem::CUserItem(const tagUserData& UserData)
{
    m_UserData = UserData;
    memset(&m_FirstExtension, 0, sizeof(m_FirstExtension));
    memset(&m_SecondExtension, 0, sizeof(m_SecondExtension));
    memset(&m_Extra, 0, sizeof(m_Extra));
}

DWORD CUserItem::GetDisplayID() const
{
    return m_UserData.dwSecondID != 0 ? m_UserData.dwSecondID : m_UserData.dwUserID;
}

DWORD CUserItem::GetTotalGames() const
{
    return m_UserData.dwScore[1] + m_UserData.dwScore[2] + m_UserData.dwScore[3] + m_UserData.dwScore[4];
}
