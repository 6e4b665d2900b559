#include "IPCCopyData.h"

#include <string.h>

CIPCSendCopyData::CIPCSendCopyData(HWND peerWnd, HWND senderWnd) : m_hPeerWnd(NULL), m_hSenderWnd(senderWnd)
{
    SetPeerWindow(peerWnd);
}

bool CIPCSendCopyData::SetPeerWindow(HWND peerWnd)
{
    m_hPeerWnd = IsWindow(peerWnd) ? peerWnd : NULL;
    return m_hPeerWnd != NULL;
}

bool CIPCSendCopyData::SetSenderWindow(HWND senderWnd)
{
    m_hSenderWnd = IsWindow(senderWnd) ? senderWnd : NULL;
    return m_hSenderWnd != NULL;
}

bool CIPCSendCopyData::FindPeerWindow(LPCSTR className)
{
    m_hPeerWnd = FindWindowA(className, NULL);
    return m_hPeerWnd != NULL;
}

bool CIPCSendCopyData::IsPeerAlive() const
{
    return m_hPeerWnd != NULL && IsWindow(m_hPeerWnd);
}

bool CIPCSendCopyData::SendCommand(WORD mainCmdID, WORD subCmdID)
{
    return SendData(mainCmdID, subCmdID, NULL, 0);
}

bool CIPCSendCopyData::SendData(WORD mainCmdID, WORD subCmdID, const void* data, WORD dataSize)
{
    if (dataSize > IPC_MAX_DATA || !IsPeerAlive())
        return false;
    if (data == NULL)
        dataSize = 0;

    BYTE frame[IPC_MAX_FRAME];
    tagIPCHead head = {IPC_VERSION, WORD(IPC_HEAD_SIZE + dataSize), mainCmdID, subCmdID};
    memcpy(frame, &head, sizeof(head));
    if (dataSize > 0)
        memcpy(frame + IPC_HEAD_SIZE, data, dataSize);
    return SendRawCopyData(IPC_IDENTIFIER, frame, head.wSize);
}

bool CIPCSendCopyData::SendRawCopyData(DWORD identifier, const void* data, WORD size)
{
    if (!IsPeerAlive())
        return false;
    COPYDATASTRUCT copyData;
    copyData.dwData = identifier;
    copyData.cbData = size;
    copyData.lpData = const_cast<void*>(data);
    SendMessageA(m_hPeerWnd, WM_COPYDATA, (WPARAM)m_hSenderWnd, (LPARAM)&copyData);
    return true;
}

CIPCRecvCopyData::CIPCRecvCopyData() : m_pChannelMessageSink(NULL) {}

CIPCRecvCopyData::~CIPCRecvCopyData()
{
    SetChannelMessageSink(NULL);
}

bool CIPCRecvCopyData::SetChannelMessageSink(IUnknownEx* sink)
{
    if (m_pChannelMessageSink != NULL) {
        m_pChannelMessageSink->Release();
        m_pChannelMessageSink = NULL;
    }
    if (sink != NULL) {
        void* found = NULL;
        if (SUCCEEDED(sink->QueryInterface(IID_IChannelMessageSink, &found)))
            m_pChannelMessageSink = static_cast<IChannelMessageSink*>(found);
    }
    return m_pChannelMessageSink != NULL;
}

bool CIPCRecvCopyData::OnCopyData(HWND senderWnd, const COPYDATASTRUCT* copyData)
{
    if (m_pChannelMessageSink == NULL || copyData == NULL || copyData->dwData != IPC_IDENTIFIER)
        return false;
    if (copyData->cbData < IPC_HEAD_SIZE || copyData->cbData > IPC_MAX_FRAME || copyData->lpData == NULL)
        return false;

    tagIPCHead head;
    memcpy(&head, copyData->lpData, sizeof(head));
    if (head.wVersion != IPC_VERSION || head.wSize != copyData->cbData)
        return false;

    head.wSize = WORD(head.wSize - IPC_HEAD_SIZE);
    const void* data = head.wSize != 0 ? static_cast<const BYTE*>(copyData->lpData) + IPC_HEAD_SIZE : NULL;
    return m_pChannelMessageSink->OnChannelMessage(&head, data, head.wSize, senderWnd);
}
