// The TCP client of the socket module (Pellimor.dll) and the callback
// interface of its owner. Each packet carries (serial, main, sub, body) with a
// body of at most 65535 bytes; how packets are framed on the stream is the
// module's own business (see PacketFrame.h beside the module).
//
// The module object belongs to the thread that created it: its events reach
// the sink on that thread, from that thread's message loop. The sink is never
// called from inside Connect.
#pragma once

#include "IUnknownEx.h"
#include "ModuleHelper.h"

TAVREL_GUID(CLSID_ClientSocket, "E189F742-1710-4A85-A0E5-ACBAA7723859");
TAVREL_GUID(IID_IClientSocket, "8B0E3918-5139-48DA-BF40-BA95ADCE5964");
TAVREL_GUID(IID_IClientSocketSink, "55FCF8AA-526A-44C2-9AD1-040E07D68A2A");

// GetSocketStatus values.
enum enSocketStatus
{
    SOCKET_STATUS_IDLE = 0,
    SOCKET_STATUS_CONNECTING = 1,
    SOCKET_STATUS_CONNECT = 2,
};

// Largest body one packet carries.
const WORD SOCKET_PACKET_MAX_BODY = 0xFFFF;

// Connect attempts that get no answer end after this long, unless the owner
// sets another time-out (slot 4).
const DWORD SOCKET_CONNECT_TIMEOUT_DEFAULT = 10000;

struct IClientSocket;

struct IClientSocketSink : IUnknownEx
{
    // The outcome of Connect: 0 when connected, else a Winsock error code
    // (WSAETIMEDOUT when the time-out ran out, WSAHOST_NOT_FOUND for a name
    // that does not resolve). The text is meant for the user.
    virtual bool OnSocketConnect(int nErrorCode, LPCSTR pszErrorDesc) = 0;
    // One whole packet. The body is valid only during the call; it is null
    // when wDataSize is 0. The answer does not change what the module does.
    virtual bool OnSocketRead(DWORD dwSerialNum, WORD wMainCmdID, WORD wSubCmdID, void* pData, WORD wDataSize,
                              IClientSocket* pISocket) = 0;
    // A connection that was up has ended: the peer closed it, the stream broke
    // or carried a frame that does not add up, or CloseSocket(true) was called.
    virtual bool OnSocketClose() = 0;
    // Not called by the module; they answer true.
    virtual bool OnSocketReserved1() = 0;
    virtual bool OnSocketReserved2() = 0;
    virtual bool OnSocketReserved3() = 0;
};

struct IClientSocket : IUnknownEx
{
    // 3: the Winsock error code of the last failure (connect, send, receive),
    // 0 when none happened since the last Connect.
    virtual DWORD GetLastErrorCode() = 0;
    // 4: milliseconds a connect attempt may take; 0 keeps the default.
    // Answers the previous value.
    virtual DWORD SetConnectTimeout(DWORD dwTimeout) = 0;
    // 5: the owner's IClientSocketSink (asked for by QueryInterface); null
    // clears it. False when the object has no such interface.
    virtual bool SetSocketSink(IUnknownEx* pIUnknownEx) = 0;
    // 6: the sink set last, or null (no reference added).
    virtual IUnknownEx* GetSocketSink() = 0;
    // 7, 8: packets sent and received since the last Connect.
    virtual DWORD GetSendPacketCount() = 0;
    virtual DWORD GetRecvPacketCount() = 0;
    // 9: the peer's IPv4 address in network byte order while connecting or
    // connected, else 0.
    virtual DWORD GetConnectAddress() = 0;
    // 10: an enSocketStatus value.
    virtual BYTE GetSocketStatus() = 0;
    // 11: starts connecting to a host name or dotted address; the outcome
    // comes through OnSocketConnect. False (and no callback) when the object
    // is not idle, has no sink or the arguments are unusable.
    virtual bool Connect(LPCSTR pszServerAddr, WORD wPort) = 0;
    // 12: the same for an IPv4 address in network byte order.
    virtual bool Connect(DWORD dwServerIP, WORD wPort) = 0;
    // 13: queues one packet; true when queued. Only while connected; a null
    // body must come with size 0.
    virtual bool SendData(DWORD dwSerialNum, WORD wMainCmdID, WORD wSubCmdID, const void* pData, WORD wDataSize) = 0;
    // 14: a packet without a body.
    virtual bool SendData(DWORD dwSerialNum, WORD wMainCmdID, WORD wSubCmdID) = 0;
    // 15: ends the connection or the attempt; unsent packets are dropped.
    // With bNotify the sink hears OnSocketClose (before this returns) when a
    // connection was up.
    virtual bool CloseSocket(bool bNotify) = 0;
};

class CClientSocketHelper : public CModuleHelper<IClientSocket>
{
public:
    CClientSocketHelper()
        : CModuleHelper<IClientSocket>(CLSID_ClientSocket, IID_IClientSocket, "Pellimor.dll", "DllGetClassObject")
    {}
};
