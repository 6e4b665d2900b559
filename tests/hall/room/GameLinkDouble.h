// A recording game-client side for the room data centre tests: what would
// have gone to the game client, and how often the client was started.
#pragma once

#include <string>
#include <vector>

#include "IGameClientLink.h"

class CRoomDataCenter;

struct tagToClient
{
    std::string strKind; // "channel", "protocol", "user", "text", "match"
    WORD wMainCmdID;
    WORD wSubCmdID;
    std::vector<BYTE> Data;
    DWORD dwUserID;
    std::string strText;
};

class CGameLinkDouble final : public IGameClientLink
{
public:
    explicit CGameLinkDouble(CRoomDataCenter* pDataCenter) : m_pDataCenter(pDataCenter) {}

    ULONG AddRef() override { return 1; }
    ULONG Release() override { return 1; }
    HRESULT QueryInterface(REFGUID, void** out) override
    {
        *out = NULL;
        return E_NOINTERFACE;
    }

    // Like the real launch: the client counts as started (state 3).
    int LaunchGameClient() override;
    bool SendChannelData(WORD wMainCmdID, WORD wSubCmdID, const void* pData, WORD wDataSize) override;
    bool SendGameProtocol(WORD wSubCmdID, const void* pData, WORD wDataSize) override;
    bool SendUserToGameClient(CUserItem* pUserItem) override;
    bool SendSystemTextToGame(LPCSTR pszText) override;
    bool SendMatchDescription(const tagMatchDescription& match) override;
    bool OnChannelMessage(const tagIPCHead*, const void*, WORD, HWND) override { return true; }
    void OnGameClientGone() override { ++m_nGone; }

    std::vector<tagToClient> Sent;
    int m_nLaunches = 0;
    int m_nGone = 0;

    std::vector<tagToClient> Of(const std::string& strKind, WORD wSubCmdID) const;

private:
    void Record(const char* pszKind, WORD wMainCmdID, WORD wSubCmdID, const void* pData, size_t nSize);
    CRoomDataCenter* m_pDataCenter;
};
