// The user an administrator's dialog acts on. The item kept may be gone
// (its user left and the room deleted it), so the user is looked up by id
// in the room's users at each use.
#pragma once

#include <windows.h>

class CUserItem;
class CUserManager;

// The target's item, stored in pUserItem; null when the user is no longer
// in the room. Without a user manager only a kept item of the same id counts.
CUserItem* FindManagerTarget(DWORD dwUserID, CUserItem*& pUserItem, CUserManager* pUserManager);
