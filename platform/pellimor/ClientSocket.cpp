#include "ClientSocket.h"

#include <ws2tcpip.h>

#include <stdio.h>
#include <string.h>

#include "PacketFrame.h"

static_assert(PACKET_MAX_BODY == SOCKET_PACKET_MAX_BODY, "the framing carries every body the interface accepts");

namespace
{

const char kWindowClass[] = "PellimorSocketWindow";

const UINT WM_SOCKET_NOTIFY = WM_USER + 100; // WSAAsyncSelect events
const UINT WM_SOCKET_FAILED = WM_USER + 101; // wParam generation, lParam error
const UINT WM_SOCKET_BROKEN = WM_USER + 102; // wParam generation, lParam error
const UINT_PTR IDT_CONNECT_TIMEOUT = 1;

// A peer that stops reading must not make the queue grow without bound.
const size_t kMaxPendingSend = 4 * 1024 * 1024;
const int kRecvChunk = 64 * 1024;

bool g_bClassRegistered = false;

void FormatConnectText(int nErrorCode, char* out, size_t size)
{
    switch (nErrorCode) {
    case 0: snprintf(out, size, "服务器连接成功"); break;
    case WSAETIMEDOUT: snprintf(out, size, "连接服务器超时"); break;
    case WSAHOST_NOT_FOUND: snprintf(out, size, "无法解析服务器地址"); break;
    default: snprintf(out, size, "连接服务器失败，错误代码：%d", nErrorCode); break;
    }
}

} // namespace

bool CClientSocket::RegisterWindowClass(HINSTANCE hInstance)
{
    if (g_bClassRegistered)
        return true;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = &CClientSocket::WindowProc;
    wc.hInstance = hInstance;
    wc.lpszClassName = kWindowClass;
    g_bClassRegistered = RegisterClassA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    return g_bClassRegistered;
}

// A class left registered would point at this library's code after it is
// freed, and a reload at another address would reuse it.
void CClientSocket::UnregisterWindowClass(HINSTANCE hInstance)
{
    if (g_bClassRegistered)
        UnregisterClassA(kWindowClass, hInstance);
    g_bClassRegistered = false;
}

CClientSocket::CClientSocket()
    : m_hWnd(NULL), m_bWinsock(false), m_hSocket(INVALID_SOCKET), m_cbSocketStatus(SOCKET_STATUS_IDLE),
      m_dwGeneration(0), m_pSink(NULL), m_dwLastError(0), m_dwConnectTimeout(SOCKET_CONNECT_TIMEOUT_DEFAULT),
      m_dwSendPacketCount(0), m_dwRecvPacketCount(0), m_dwConnectAddr(0), m_nSendOffset(0)
{}

bool CClientSocket::Create()
{
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0)
        return false;
    m_bWinsock = true;
    HINSTANCE hInstance = NULL;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&CClientSocket::WindowProc), &hInstance);
    if (!RegisterWindowClass(hInstance))
        return false;
    m_hWnd = CreateWindowExA(0, kWindowClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL, hInstance, this);
    return m_hWnd != NULL;
}

CClientSocket::~CClientSocket()
{
    Shutdown(false);
    if (m_pSink != NULL)
        m_pSink->Release();
    if (m_hWnd != NULL) {
        SetWindowLongPtrA(m_hWnd, GWLP_USERDATA, 0);
        DestroyWindow(m_hWnd);
    }
    if (m_bWinsock)
        WSACleanup();
}

HRESULT CClientSocket::QueryInterface(REFGUID iid, void** out)
{
    if (out == NULL)
        return E_POINTER;
    if (IsEqualGUID(iid, IID_IClientSocket) || IsEqualGUID(iid, IID_IUnknownEx)) {
        return Answer(static_cast<IClientSocket*>(this), out);
    }
    *out = NULL;
    return E_NOINTERFACE;
}

DWORD CClientSocket::GetLastErrorCode()
{
    return m_dwLastError;
}

DWORD CClientSocket::SetConnectTimeout(DWORD dwTimeout)
{
    DWORD dwOld = m_dwConnectTimeout;
    m_dwConnectTimeout = dwTimeout != 0 ? dwTimeout : SOCKET_CONNECT_TIMEOUT_DEFAULT;
    return dwOld;
}

bool CClientSocket::SetSocketSink(IUnknownEx* pIUnknownEx)
{
    IClientSocketSink* pSink = NULL;
    if (pIUnknownEx != NULL) {
        void* pInterface = NULL;
        if (FAILED(pIUnknownEx->QueryInterface(IID_IClientSocketSink, &pInterface)) || pInterface == NULL)
            return false;
        pSink = static_cast<IClientSocketSink*>(pInterface);
    }
    if (m_pSink != NULL)
        m_pSink->Release();
    m_pSink = pSink;
    return true;
}

IUnknownEx* CClientSocket::GetSocketSink()
{
    return m_pSink;
}

DWORD CClientSocket::GetSendPacketCount()
{
    return m_dwSendPacketCount;
}

DWORD CClientSocket::GetRecvPacketCount()
{
    return m_dwRecvPacketCount;
}

DWORD CClientSocket::GetConnectAddress()
{
    return m_cbSocketStatus == SOCKET_STATUS_IDLE ? 0 : m_dwConnectAddr;
}

BYTE CClientSocket::GetSocketStatus()
{
    return m_cbSocketStatus;
}

bool CClientSocket::Connect(LPCSTR pszServerAddr, WORD wPort)
{
    if (pszServerAddr == NULL || pszServerAddr[0] == '\0')
        return false;
    if (m_cbSocketStatus != SOCKET_STATUS_IDLE || m_pSink == NULL || wPort == 0)
        return false;
    unsigned long ip = inet_addr(pszServerAddr);
    if (ip == INADDR_NONE || ip == 0) {
        addrinfo hints = {};
        hints.ai_family = AF_INET;
        hints.ai_socktype = SOCK_STREAM;
        addrinfo* result = NULL;
        if (getaddrinfo(pszServerAddr, NULL, &hints, &result) != 0 || result == NULL) {
            ++m_dwGeneration;
            m_dwLastError = 0;
            m_dwSendPacketCount = m_dwRecvPacketCount = 0;
            m_dwConnectAddr = 0;
            m_cbSocketStatus = SOCKET_STATUS_CONNECTING;
            PostConnectFailure(WSAHOST_NOT_FOUND);
            return true;
        }
        ip = reinterpret_cast<sockaddr_in*>(result->ai_addr)->sin_addr.s_addr;
        freeaddrinfo(result);
    }
    return Connect(DWORD(ip), wPort);
}

bool CClientSocket::Connect(DWORD dwServerIP, WORD wPort)
{
    if (m_cbSocketStatus != SOCKET_STATUS_IDLE || m_pSink == NULL || wPort == 0 || dwServerIP == 0 ||
        dwServerIP == INADDR_NONE)
        return false;

    ++m_dwGeneration;
    m_dwLastError = 0;
    m_dwSendPacketCount = m_dwRecvPacketCount = 0;
    m_SendBuffer.clear();
    m_nSendOffset = 0;
    m_RecvBuffer.clear();
    m_dwConnectAddr = dwServerIP;
    m_cbSocketStatus = SOCKET_STATUS_CONNECTING;

    m_hSocket = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (m_hSocket == INVALID_SOCKET) {
        PostConnectFailure(WSAGetLastError());
        return true;
    }
    // Also makes the socket non-blocking.
    if (WSAAsyncSelect(m_hSocket, m_hWnd, WM_SOCKET_NOTIFY, FD_CONNECT | FD_READ | FD_WRITE | FD_CLOSE) != 0) {
        int nError = WSAGetLastError();
        DropHandle();
        PostConnectFailure(nError);
        return true;
    }
    sockaddr_in addr = {};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(wPort);
    addr.sin_addr.s_addr = dwServerIP;
    if (connect(m_hSocket, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) != 0) {
        int nError = WSAGetLastError();
        if (nError != WSAEWOULDBLOCK) {
            DropHandle();
            PostConnectFailure(nError);
            return true;
        }
    }
    SetTimer(m_hWnd, IDT_CONNECT_TIMEOUT, m_dwConnectTimeout, NULL);
    return true;
}

bool CClientSocket::SendData(DWORD dwSerialNum, WORD wMainCmdID, WORD wSubCmdID, const void* pData, WORD wDataSize)
{
    if (pData == NULL && wDataSize != 0)
        return false;
    return QueuePacket(dwSerialNum, wMainCmdID, wSubCmdID, pData, wDataSize);
}

bool CClientSocket::SendData(DWORD dwSerialNum, WORD wMainCmdID, WORD wSubCmdID)
{
    return QueuePacket(dwSerialNum, wMainCmdID, wSubCmdID, NULL, 0);
}

bool CClientSocket::CloseSocket(bool bNotify)
{
    Shutdown(bNotify);
    return true;
}

bool CClientSocket::QueuePacket(DWORD dwSerialNum, WORD wMainCmdID, WORD wSubCmdID, const void* pData, WORD wDataSize)
{
    if (m_cbSocketStatus != SOCKET_STATUS_CONNECT)
        return false;
    if (m_SendBuffer.size() - m_nSendOffset + PACKET_HEAD_SIZE + wDataSize > kMaxPendingSend)
        return false;
    size_t nStart = m_SendBuffer.size();
    m_SendBuffer.resize(nStart + PACKET_HEAD_SIZE + wDataSize);
    WritePacketHead(&m_SendBuffer[nStart], dwSerialNum, wMainCmdID, wSubCmdID, wDataSize);
    if (wDataSize > 0)
        memcpy(&m_SendBuffer[nStart + PACKET_HEAD_SIZE], pData, wDataSize);
    ++m_dwSendPacketCount;
    // With older bytes still queued, FD_WRITE continues in order.
    if (nStart > m_nSendOffset)
        return true;
    return FlushSendBuffer();
}

// False when the connection broke; the sink hears that from the message loop.
bool CClientSocket::FlushSendBuffer()
{
    while (m_nSendOffset < m_SendBuffer.size()) {
        size_t nLeft = m_SendBuffer.size() - m_nSendOffset;
        int nSent = send(m_hSocket, reinterpret_cast<const char*>(&m_SendBuffer[m_nSendOffset]),
                         nLeft > 0x7FFFFFFF ? 0x7FFFFFFF : int(nLeft), 0);
        if (nSent == SOCKET_ERROR) {
            int nError = WSAGetLastError();
            if (nError == WSAEWOULDBLOCK)
                return true;
            m_dwLastError = DWORD(nError);
            PostBroken(nError);
            return false;
        }
        m_nSendOffset += size_t(nSent);
    }
    m_SendBuffer.clear();
    m_nSendOffset = 0;
    return true;
}

void CClientSocket::PostConnectFailure(int nErrorCode)
{
    PostMessageA(m_hWnd, WM_SOCKET_FAILED, WPARAM(m_dwGeneration), LPARAM(nErrorCode));
}

void CClientSocket::PostBroken(int nErrorCode)
{
    PostMessageA(m_hWnd, WM_SOCKET_BROKEN, WPARAM(m_dwGeneration), LPARAM(nErrorCode));
}

void CClientSocket::DropHandle()
{
    if (m_hSocket == INVALID_SOCKET)
        return;
    WSAAsyncSelect(m_hSocket, m_hWnd, 0, 0);
    closesocket(m_hSocket);
    m_hSocket = INVALID_SOCKET;
    // Events of the closed handle may already be queued; a later socket can
    // get the same handle value.
    MSG msg;
    while (PeekMessageA(&msg, m_hWnd, WM_SOCKET_NOTIFY, WM_SOCKET_NOTIFY, PM_REMOVE)) {}
}

void CClientSocket::Shutdown(bool bNotify)
{
    bool bWasConnected = m_cbSocketStatus == SOCKET_STATUS_CONNECT;
    if (m_hWnd != NULL)
        KillTimer(m_hWnd, IDT_CONNECT_TIMEOUT);
    DropHandle();
    ++m_dwGeneration;
    m_cbSocketStatus = SOCKET_STATUS_IDLE;
    m_SendBuffer.clear();
    m_nSendOffset = 0;
    m_RecvBuffer.clear();
    if (bNotify && bWasConnected && m_pSink != NULL)
        m_pSink->OnSocketClose();
}

LRESULT CALLBACK CClientSocket::WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_NCCREATE) {
        const CREATESTRUCTA* cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
        return DefWindowProcA(hWnd, uMsg, wParam, lParam);
    }
    CClientSocket* pThis = reinterpret_cast<CClientSocket*>(GetWindowLongPtrA(hWnd, GWLP_USERDATA));
    if (pThis == NULL)
        return DefWindowProcA(hWnd, uMsg, wParam, lParam);

    // The sink may release the last reference while it is being called.
    pThis->AddRef();
    switch (uMsg) {
    case WM_SOCKET_NOTIFY:
        pThis->OnSocketNotify(SOCKET(wParam), WSAGETSELECTEVENT(lParam), WSAGETSELECTERROR(lParam));
        break;
    case WM_SOCKET_FAILED:
        if (DWORD(wParam) == pThis->m_dwGeneration && pThis->m_cbSocketStatus == SOCKET_STATUS_CONNECTING)
            pThis->OnConnectResult(int(lParam));
        break;
    case WM_SOCKET_BROKEN:
        if (DWORD(wParam) == pThis->m_dwGeneration && pThis->m_cbSocketStatus == SOCKET_STATUS_CONNECT) {
            pThis->m_dwLastError = DWORD(lParam);
            pThis->Shutdown(true);
        }
        break;
    case WM_TIMER:
        if (wParam == IDT_CONNECT_TIMEOUT)
            pThis->OnConnectTimeout();
        break;
    default: pThis->Release(); return DefWindowProcA(hWnd, uMsg, wParam, lParam);
    }
    pThis->Release();
    return 0;
}

void CClientSocket::OnSocketNotify(SOCKET hSocket, WORD wEvent, WORD wError)
{
    if (hSocket != m_hSocket || m_hSocket == INVALID_SOCKET)
        return;
    switch (wEvent) {
    case FD_CONNECT:
        if (m_cbSocketStatus == SOCKET_STATUS_CONNECTING)
            OnConnectResult(int(wError));
        break;
    case FD_READ:
        if (m_cbSocketStatus == SOCKET_STATUS_CONNECT)
            OnReadable(false);
        break;
    case FD_WRITE:
        if (m_cbSocketStatus == SOCKET_STATUS_CONNECT)
            OnWritable();
        break;
    case FD_CLOSE:
        if (m_cbSocketStatus != SOCKET_STATUS_CONNECT)
            break;
        // What the peer sent before it closed still counts.
        if (wError != 0)
            m_dwLastError = wError;
        OnReadable(true);
        if (m_cbSocketStatus == SOCKET_STATUS_CONNECT && hSocket == m_hSocket)
            Shutdown(true);
        break;
    }
}

void CClientSocket::OnConnectResult(int nErrorCode)
{
    KillTimer(m_hWnd, IDT_CONNECT_TIMEOUT);
    char szText[128];
    FormatConnectText(nErrorCode, szText, sizeof(szText));
    if (nErrorCode == 0) {
        m_cbSocketStatus = SOCKET_STATUS_CONNECT;
    } else {
        m_dwLastError = DWORD(nErrorCode);
        DropHandle();
        ++m_dwGeneration;
        m_cbSocketStatus = SOCKET_STATUS_IDLE;
    }
    if (m_pSink != NULL)
        m_pSink->OnSocketConnect(nErrorCode, szText);
}

void CClientSocket::OnConnectTimeout()
{
    KillTimer(m_hWnd, IDT_CONNECT_TIMEOUT);
    if (m_cbSocketStatus == SOCKET_STATUS_CONNECTING)
        OnConnectResult(WSAETIMEDOUT);
}

// bDrain: read until the peer's end (after FD_CLOSE); otherwise until the
// socket has nothing more now.
void CClientSocket::OnReadable(bool bDrain)
{
    std::vector<char> chunk(kRecvChunk);
    for (;;) {
        int nRead = recv(m_hSocket, chunk.data(), kRecvChunk, 0);
        if (nRead == 0)
            break;
        if (nRead == SOCKET_ERROR) {
            int nError = WSAGetLastError();
            if (nError != WSAEWOULDBLOCK) {
                m_dwLastError = DWORD(nError);
                if (!bDrain)
                    Shutdown(true);
            }
            return;
        }
        m_RecvBuffer.insert(m_RecvBuffer.end(), chunk.data(), chunk.data() + nRead);
        if (!DeliverPackets())
            return;
        if (!bDrain && nRead < kRecvChunk)
            return;
    }
}

bool CClientSocket::DeliverPackets()
{
    DWORD dwGeneration = m_dwGeneration;
    size_t nUsed = 0;
    while (m_RecvBuffer.size() - nUsed >= PACKET_HEAD_SIZE) {
        tagPacketHead head;
        if (!ReadPacketHead(&m_RecvBuffer[nUsed], head)) {
            // Where the next packet starts is unknown: nothing more can be read.
            m_dwLastError = WSAECONNABORTED;
            Shutdown(true);
            return false;
        }
        if (m_RecvBuffer.size() - nUsed < head.dwPacketSize)
            break;
        // The sink may close or reconnect, which empties the buffer.
        std::vector<BYTE> body(m_RecvBuffer.begin() + nUsed + PACKET_HEAD_SIZE,
                               m_RecvBuffer.begin() + nUsed + head.dwPacketSize);
        nUsed += head.dwPacketSize;
        ++m_dwRecvPacketCount;
        if (m_pSink != NULL)
            m_pSink->OnSocketRead(head.dwSerialNum, head.wMainCmdID, head.wSubCmdID, body.empty() ? NULL : body.data(),
                                  head.wBodySize, this);
        if (dwGeneration != m_dwGeneration || m_cbSocketStatus != SOCKET_STATUS_CONNECT)
            return false;
    }
    m_RecvBuffer.erase(m_RecvBuffer.begin(), m_RecvBuffer.begin() + nUsed);
    return true;
}

void CClientSocket::OnWritable()
{
    FlushSendBuffer();
}
