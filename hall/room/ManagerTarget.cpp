#include "ManagerTarget.h"

#include "UserManager.h"

CUserItem* FindManagerTarget(DWORD dwUserID, CUserItem*& pUserItem, CUserManager* pUserManager)
{
    if (pUserManager != NULL)
        pUserItem = pUserManager->SearchUserItem(dwUserID);
    else if (pUserItem != NULL && pUserItem->GetUserID() != dwUserID)
        pUserItem = NULL;
    return pUserItem;
}
