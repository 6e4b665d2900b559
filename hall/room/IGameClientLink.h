// The game-client side of a room: starting the client, the channel to it and
// the relay of game traffic. The room data centre calls it where a room
// event concerns the client; the link reaches the data centre back through
// its public operations. Without a link nothing goes to a client.
#pragma once

#include "ChannelMessageSink.h"
#include "RoomRecords.h"

class CUserItem;

TAVREL_GUID(IID_IGameClientLink, "3C1B6F0E-8D2A-4F57-9A61-2E4B7C0D5A93");

struct IGameClientLink : IUnknownEx
{
    // 0 failed, 1 started, 2 a running client was shown again.
    virtual int LaunchGameClient() = 0;
    virtual bool SendChannelData(WORD wMainCmdID, WORD wSubCmdID, const void* pData, WORD wDataSize) = 0;
    // Channel main 1 sub 2 with the relay head {101, sub}.
    virtual bool SendGameProtocol(WORD wSubCmdID, const void* pData, WORD wDataSize) = 0;
    // Channel main 3 sub 1: the user's description.
    virtual bool SendUserToGameClient(CUserItem* pUserItem) = 0;
    // A system text as a chat line of the client.
    virtual bool SendSystemTextToGame(LPCSTR pszText) = 0;
    // The match description (game protocol 801).
    virtual bool SendMatchDescription(const tagMatchDescription& match) = 0;
    virtual bool OnChannelMessage(const tagIPCHead* pHead, const void* pData, WORD wDataSize, HWND hSender) = 0;
    // A started client that never said hello is taken as gone.
    virtual void OnGameClientGone() = 0;
};
