// The users of one room by user id, owning their items, with the own user's
// item among them.
#pragma once

#include <map>
#include <vector>

#include "UserItem.h"

class CUserManager
{
public:
    CUserManager();
    ~CUserManager();

    // Null when absent.
    CUserItem* SearchUserItem(DWORD dwUserID) const;
    // A new item, copied from UserData, for an absent id; the existing item,
    // unchanged, for a present one. Null when no item could be made.
    CUserItem* ActiveUserItem(const tagUserData& UserData);
    // Deletes the item; the own user's pointer goes with it.
    void DeleteUserItem(DWORD dwUserID);
    // Deletes every item, or every item but the own user's.
    void ClearAll(bool bKeepOwn = false);

    size_t GetUserCount() const { return m_Users.size(); }
    // Every item, in user id order.
    std::vector<CUserItem*> GetUserItems() const;

    void SetMeUserItem(CUserItem* pUserItem) { m_pMeUserItem = pUserItem; }
    CUserItem* GetMeUserItem() const { return m_pMeUserItem; }

private:
    CUserManager(const CUserManager&) = delete;
    CUserManager& operator=(const CUserManager&) = delete;

    std::map<DWORD, CUserItem*> m_Users;
    CUserItem* m_pMeUserItem;
};
