// The room data centre as the room's windows reach it. Every result comes
// as WM_ROOM_NOTIFY to the windows registered for its (main, sub) key
// (RoomProtocol.h lists them with their records) or for the serial of the
// request it answers; wParam points to a tagNotifyHead.
#pragma once

#include "IClientSocket.h"
#include "RoomRecords.h"

class CUserItem;
class CUserManager;

TAVREL_GUID(IID_IRoomDataCenter, "6A0D93E4-21F7-4C8B-B3E5-90C4D17A2F68");

const UINT WM_ROOM_NOTIFY = WM_USER + 300;

struct IRoomDataCenter : IUnknownEx
{
    // The socket's IClientSocket (a reference the caller releases), or null.
    virtual IUnknownEx* QuerySocketInterface() = 0;
    virtual CUserManager* GetUserManager() = 0;
    // The socket's own slots 3 and 4, passed through.
    virtual DWORD GetSocketErrorCode() = 0;
    virtual DWORD SetConnectTimeout(DWORD dwTimeout) = 0;
    // (2,2) tells the outcome, after the room's other addresses were tried
    // in turn; an attempt that cannot start counts as refused.
    virtual bool ConnectServer(LPCSTR pszAddress, WORD wPort) = 0;
    // Tells a running client, then closes the socket without notice.
    virtual bool CloseConnection() = 0;
    virtual void UninitRoomDataCenter() = 0;
    // The periodic check: speed-test time-outs and a client that never came.
    virtual void TestNetSpeed() = 0;
    // 1002/2; hWnd hears (2,3) under the request's serial.
    virtual bool SendRoomLogon(DWORD& dwSerialNum, HWND hWnd, DWORD dwUnused, LPCSTR pszText) = 0;
    virtual bool IsValid() = 0;
    virtual bool SendStandUp() = 0;
    virtual bool SendLeaveGame() = 0;
    virtual bool SendUserRule(const tagUserRule& rule) = 0;
    virtual bool SendLookOn(WORD wTableID, WORD wChairID, LPCSTR pszPassword) = 0;
    virtual bool SendSitDown(WORD wTableID, WORD wChairID, LPCSTR pszPassword) = 0;
    virtual bool SendRoomChat(DWORD dwFirst, LPCSTR pszText, DWORD dwThird) = 0;
    virtual bool SendWhisper(DWORD dwFirst, LPCSTR pszText, DWORD dwThird) = 0;
    virtual bool SendInvite(WORD wTableID, DWORD dwUserID) = 0;
    virtual bool SendKickUser(DWORD dwUserID) = 0;
    virtual bool SendChannelData(WORD wMainCmdID, WORD wSubCmdID, const void* pData, WORD wDataSize) = 0;
    virtual bool SendUserToGameClient(CUserItem* pUserItem) = 0;
};
