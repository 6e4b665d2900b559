// The socket module's TCP client: one connection, non-blocking, its events
// turned into window messages of a hidden window on the creating thread.
#pragma once

#include <winsock2.h>
#include <windows.h>

#include <vector>

#include "IClientSocket.h"
#include "RefCounted.h"

class CClientSocket final : public CRefCounted<IClientSocket>
{
public:
    // Registers the hidden window's class for this module; once per process.
    static bool RegisterWindowClass(HINSTANCE hInstance);
    static void UnregisterWindowClass(HINSTANCE hInstance);

    CClientSocket();
    // False when Winsock or the hidden window cannot be had; release the object then.
    bool Create();

    HRESULT QueryInterface(REFGUID iid, void** out) override;

    DWORD GetLastErrorCode() override;
    DWORD SetConnectTimeout(DWORD dwTimeout) override;
    bool SetSocketSink(IUnknownEx* pIUnknownEx) override;
    IUnknownEx* GetSocketSink() override;
    DWORD GetSendPacketCount() override;
    DWORD GetRecvPacketCount() override;
    DWORD GetConnectAddress() override;
    BYTE GetSocketStatus() override;
    bool Connect(LPCSTR pszServerAddr, WORD wPort) override;
    bool Connect(DWORD dwServerIP, WORD wPort) override;
    bool SendData(DWORD dwSerialNum, WORD wMainCmdID, WORD wSubCmdID, const void* pData, WORD wDataSize) override;
    bool SendData(DWORD dwSerialNum, WORD wMainCmdID, WORD wSubCmdID) override;
    bool CloseSocket(bool bNotify) override;

private:
    ~CClientSocket() override;
    CClientSocket(const CClientSocket&) = delete;
    CClientSocket& operator=(const CClientSocket&) = delete;

    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
    void OnSocketNotify(SOCKET hSocket, WORD wEvent, WORD wError);
    void OnConnectResult(int nErrorCode);
    void OnReadable(bool bDrain);
    void OnWritable();
    void OnConnectTimeout();

    // Ends the connection; the sink hears OnSocketClose when bNotify and a
    // connection was up.
    void Shutdown(bool bNotify);
    // Closes the socket handle and forgets its queued events.
    void DropHandle();
    // Delivers the whole packets of the receive buffer; false when the stream
    // broke or the connection was closed meanwhile.
    bool DeliverPackets();
    // An error the sink hears later, from the message loop.
    void PostConnectFailure(int nErrorCode);
    void PostBroken(int nErrorCode);
    bool QueuePacket(DWORD dwSerialNum, WORD wMainCmdID, WORD wSubCmdID, const void* pData, WORD wDataSize);
    bool FlushSendBuffer();

    HWND m_hWnd;
    bool m_bWinsock;
    SOCKET m_hSocket;
    BYTE m_cbSocketStatus;
    // Counts connections and attempts, so a queued message of an earlier
    // one is recognised and dropped.
    DWORD m_dwGeneration;
    IClientSocketSink* m_pSink;
    DWORD m_dwLastError;
    DWORD m_dwConnectTimeout;
    DWORD m_dwSendPacketCount;
    DWORD m_dwRecvPacketCount;
    DWORD m_dwConnectAddr;
    std::vector<BYTE> m_SendBuffer;
    size_t m_nSendOffset;
    std::vector<BYTE> m_RecvBuffer;
};
