#include "GameLinkDouble.h"

#include "RoomDataCenter.h"

void CGameLinkDouble::Record(const char* pszKind, WORD wMainCmdID, WORD wSubCmdID, const void* pData, size_t nSize)
{
    tagToClient sent = {pszKind, wMainCmdID, wSubCmdID, {}, 0, ""};
    if (pData != NULL && nSize > 0)
        sent.Data.assign(static_cast<const BYTE*>(pData), static_cast<const BYTE*>(pData) + nSize);
    Sent.push_back(sent);
}

int CGameLinkDouble::LaunchGameClient()
{
    ++m_nLaunches;
    m_pDataCenter->SetGameState(GAME_STATE_STARTED);
    return 1;
}

bool CGameLinkDouble::SendChannelData(WORD wMainCmdID, WORD wSubCmdID, const void* pData, WORD wDataSize)
{
    Record("channel", wMainCmdID, wSubCmdID, pData, wDataSize);
    return true;
}

bool CGameLinkDouble::SendGameProtocol(WORD wSubCmdID, const void* pData, WORD wDataSize)
{
    Record("protocol", 1, wSubCmdID, pData, wDataSize);
    return true;
}

bool CGameLinkDouble::SendUserToGameClient(CUserItem* pUserItem)
{
    Record("user", 3, 1, NULL, 0);
    Sent.back().dwUserID = pUserItem->GetUserID();
    return true;
}

bool CGameLinkDouble::SendSystemTextToGame(LPCSTR pszText)
{
    Record("text", 0, 0, NULL, 0);
    Sent.back().strText = pszText;
    return true;
}

bool CGameLinkDouble::SendMatchDescription(const tagMatchDescription& match)
{
    Record("match", 1, 801, &match, sizeof(match));
    return true;
}

std::vector<tagToClient> CGameLinkDouble::Of(const std::string& strKind, WORD wSubCmdID) const
{
    std::vector<tagToClient> result;
    for (const tagToClient& sent : Sent) {
        if (sent.strKind == strKind && sent.wSubCmdID == wSubCmdID)
            result.push_back(sent);
    }
    return result;
}
