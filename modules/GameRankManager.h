// Rank titles of a game by score, from the game folder's "Rank.ini".
#pragma once

#include <afxtempl.h>

#include "IGameRankManager.h"
#include "RefCounted.h"

class CGameRankManager : public CRefCounted<IGameRankManager>
{
public:
    CGameRankManager();
    ~CGameRankManager() override;

    HRESULT QueryInterface(REFGUID iid, void** out) override;

    void LoadConfig(const char* dir) override;
    const tagRankItem* GetRank(long score) override;

private:
    CArray<tagRankItem, const tagRankItem&> m_Ranks; // highest score first
};
