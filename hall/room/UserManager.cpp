#include "UserManager.h"

#include <new>

CUserManager::CUserManager() : m_pMeUserItem(NULL) {}

CUserManager::~CUserManager()
{
    ClearAll();
}

CUserItem* CUserManager::SearchUserItem(DWORD dwUserID) const
{
    auto it = m_Users.find(dwUserID);
    return it == m_Users.end() ? NULL : it->second;
}

CUserItem* CUserManager::ActiveUserItem(const tagUserData& UserData)
{
    CUserItem* pUserItem = SearchUserItem(UserData.dwUserID);
    if (pUserItem != NULL)
        return pUserItem;
    pUserItem = new (std::nothrow) CUserItem(UserData);
    if (pUserItem != NULL)
        m_Users[UserData.dwUserID] = pUserItem;
    return pUserItem;
}

void CUserManager::DeleteUserItem(DWORD dwUserID)
{
    auto it = m_Users.find(dwUserID);
    if (it == m_Users.end())
        return;
    if (it->second == m_pMeUserItem)
        m_pMeUserItem = NULL;
    delete it->second;
    m_Users.erase(it);
}

void CUserManager::ClearAll(bool bKeepOwn)
{
    for (auto it = m_Users.begin(); it != m_Users.end();) {
        if (bKeepOwn && it->second == m_pMeUserItem) {
            ++it;
            continue;
        }
        delete it->second;
        it = m_Users.erase(it);
    }
    if (!bKeepOwn)
        m_pMeUserItem = NULL;
}

std::vector<CUserItem*> CUserManager::GetUserItems() const
{
    std::vector<CUserItem*> items;
    items.reserve(m_Users.size());
    for (const auto& entry : m_Users)
        items.push_back(entry.second);
    return items;
}
