#include "UserItem.h"

LONG CUserItem::s_lLiveCount = 0;

CUserItem::CUserItem(const tagUserData& UserData)
{
    InterlockedIncrement(&s_lLiveCount);
    m_UserData = UserData;
    memset(&m_FirstExtension, 0, sizeof(m_FirstExtension));
    memset(&m_SecondExtension, 0, sizeof(m_SecondExtension));
    memset(&m_Extra, 0, sizeof(m_Extra));
}

CUserItem::CUserItem(const CUserItem& other)
    : m_UserData(other.m_UserData), m_FirstExtension(other.m_FirstExtension),
      m_SecondExtension(other.m_SecondExtension), m_Extra(other.m_Extra)
{
    InterlockedIncrement(&s_lLiveCount);
}

CUserItem::~CUserItem()
{
    InterlockedDecrement(&s_lLiveCount);
}

DWORD CUserItem::GetDisplayID() const
{
    return m_UserData.dwSecondID != 0 ? m_UserData.dwSecondID : m_UserData.dwUserID;
}

DWORD CUserItem::GetTotalGames() const
{
    return m_UserData.dwScore[1] + m_UserData.dwScore[2] + m_UserData.dwScore[3] + m_UserData.dwScore[4];
}
