// The player pictures of the player-picture module (Rivesh.dll): one picture
// per user who has one, and a default picture per kind (the gender or face
// byte of a user record) for everybody else.
#pragma once

#include "IUnknownEx.h"
#include "ModuleHelper.h"

class CDC;

TAVREL_GUID(CLSID_GameAvatarRes, "00F85BDB-46F4-42C7-9CD6-1AA0453F4198");
TAVREL_GUID(IID_IGameAvatarRes, "8CE44185-6211-4BCD-A92F-2EB12558F5A4");

// The table keeps two unused slots so that every operation stays at its
// place (HasAvatar 4, DrawDefaultAvatar 6, DrawAvatar 8).
struct IGameAvatarRes : IUnknownEx
{
    // The folder of the pictures: "<user id>.png" and "default<kind>.png".
    // False when the folder does not exist (the module then has no pictures).
    virtual bool LoadAvatars(const char* dir) = 0;
    virtual bool HasAvatar(DWORD userId) = 0;
    virtual void ReservedSlot5() = 0;
    // Both draw the picture stretched into (x, y, x + cx, y + cy); false when
    // there is no such picture or no device context.
    virtual bool DrawDefaultAvatar(BYTE kind, CDC* pDC, int x, int y, int cx, int cy) = 0;
    virtual void ReservedSlot7() = 0;
    virtual bool DrawAvatar(DWORD userId, CDC* pDC, int x, int y, int cx, int cy) = 0;
};

class CGameAvatarResHelper : public CModuleHelper<IGameAvatarRes>
{
public:
    CGameAvatarResHelper()
        : CModuleHelper<IGameAvatarRes>(CLSID_GameAvatarRes, IID_IGameAvatarRes, "Rivesh.dll", "DllGetClassObject")
    {}
};
