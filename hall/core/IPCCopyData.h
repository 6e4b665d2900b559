// Both ends of the WM_COPYDATA channel (frame layout in ChannelMessageSink.h).
#pragma once

#include "ChannelMessageSink.h"

class CIPCSendCopyData
{
public:
    CIPCSendCopyData(HWND peerWnd = NULL, HWND senderWnd = NULL);
    virtual ~CIPCSendCopyData() {}

    bool SetPeerWindow(HWND peerWnd);
    bool SetSenderWindow(HWND senderWnd);
    bool FindPeerWindow(LPCSTR className);
    bool IsPeerAlive() const;

    bool SendCommand(WORD mainCmdID, WORD subCmdID);
    // Up to IPC_MAX_DATA bytes; a null data pointer sends the head alone.
    bool SendData(WORD mainCmdID, WORD subCmdID, const void* data, WORD dataSize);
    bool SendRawCopyData(DWORD identifier, const void* data, WORD size);

private:
    HWND m_hPeerWnd;
    HWND m_hSenderWnd;
};

class CIPCRecvCopyData
{
public:
    CIPCRecvCopyData();
    virtual ~CIPCRecvCopyData();

    // Drops the old sink, then keeps sink's IChannelMessageSink if it has one.
    bool SetChannelMessageSink(IUnknownEx* sink);
    // Checks one received frame and hands it to the sink; false when refused.
    bool OnCopyData(HWND senderWnd, const COPYDATASTRUCT* copyData);

private:
    CIPCRecvCopyData(const CIPCRecvCopyData&) = delete;
    CIPCRecvCopyData& operator=(const CIPCRecvCopyData&) = delete;

    IChannelMessageSink* m_pChannelMessageSink;
};
