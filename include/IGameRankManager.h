// The rank titles of a game ("Rank.ini" of the game's folder), from
// Brindle.dll.
#pragma once

#include "IUnknownEx.h"
#include "ModuleHelper.h"

TAVREL_GUID(CLSID_GameRankManager, "F4D636EB-EC00-42EE-8B5C-427B4BD41B3C");
TAVREL_GUID(IID_IGameRankManager, "5DCBA6BE-D41D-4AD6-9EBC-DB094ECE0A76");

struct tagRankItem
{
    char szName[32];
    LONG lScore; // the lowest score of the rank
};
static_assert(sizeof(tagRankItem) == 36, "rank item layout");

struct IGameRankManager : IUnknownEx
{
    // Reads "Rank.ini" of dir; a missing file leaves the table empty.
    virtual void LoadConfig(const char* dir) = 0;
    // The highest rank whose lowest score is not above score (the lowest
    // rank for a score below all of them); null when the table is empty.
    // Valid until the next LoadConfig.
    virtual const tagRankItem* GetRank(long score) = 0;
};

class CGameRankManagerHelper : public CModuleHelper<IGameRankManager>
{
public:
    CGameRankManagerHelper()
        : CModuleHelper<IGameRankManager>(CLSID_GameRankManager, IID_IGameRankManager, "Brindle.dll",
                                          "DllGetClassObject")
    {}
};
