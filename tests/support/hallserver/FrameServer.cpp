#include "FrameServer.h"

#include <string.h>

#include "PacketFrame.h"

CFrameServer::CFrameServer() : m_hListen(INVALID_SOCKET), m_wPort(0), m_bStop(false)
{
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
}

CFrameServer::~CFrameServer()
{
    Stop();
    WSACleanup();
}

bool CFrameServer::Start(const char* pszAddress, WORD wPort)
{
    m_hListen = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (m_hListen == INVALID_SOCKET)
        return false;
    sockaddr_in addr = {};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = inet_addr(pszAddress);
    addr.sin_port = htons(wPort);
    int len = sizeof(addr);
    if (bind(m_hListen, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) != 0 || listen(m_hListen, 16) != 0 ||
        getsockname(m_hListen, reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
        closesocket(m_hListen);
        m_hListen = INVALID_SOCKET;
        return false;
    }
    m_wPort = ntohs(addr.sin_port);
    m_bStop = false;
    m_Thread = std::thread(&CFrameServer::Run, this);
    return true;
}

void CFrameServer::Stop()
{
    if (!m_Thread.joinable())
        return;
    m_bStop = true;
    m_Thread.join();
    closesocket(m_hListen);
    m_hListen = INVALID_SOCKET;
    std::lock_guard<std::mutex> lock(m_Mutex);
    for (tagConnection& c : m_Connections) {
        if (c.hSocket != INVALID_SOCKET)
            closesocket(c.hSocket);
        c.hSocket = INVALID_SOCKET;
    }
}

void CFrameServer::SetFrameHandler(FrameHandler handler)
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    m_Handler = handler;
}

CFrameServer::FrameHandler CFrameServer::GetFrameHandler()
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    return m_Handler;
}

int CFrameServer::GetConnectionCount()
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    return int(m_Connections.size());
}

bool CFrameServer::IsPeerClosed(int nConnection)
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    return nConnection >= 0 && nConnection < int(m_Connections.size()) && m_Connections[nConnection].bPeerClosed;
}

bool CFrameServer::IsBadFrameSeen(int nConnection)
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    return nConnection >= 0 && nConnection < int(m_Connections.size()) && m_Connections[nConnection].bBadFrame;
}

size_t CFrameServer::GetFrameCount()
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    return m_Frames.size();
}

tagServerFrame CFrameServer::GetFrame(size_t nIndex)
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    return nIndex < m_Frames.size() ? m_Frames[nIndex] : tagServerFrame();
}

std::vector<tagServerFrame> CFrameServer::GetFrames()
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    return m_Frames;
}

SOCKET CFrameServer::SocketOf(int nConnection)
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    if (nConnection < 0 || nConnection >= int(m_Connections.size()))
        return INVALID_SOCKET;
    return m_Connections[nConnection].hSocket;
}

bool CFrameServer::SendRaw(int nConnection, const void* pData, size_t nSize)
{
    SOCKET s = SocketOf(nConnection);
    if (s == INVALID_SOCKET)
        return false;
    std::lock_guard<std::mutex> lock(m_SendMutex);
    const char* p = static_cast<const char*>(pData);
    while (nSize > 0) {
        int n = send(s, p, int(nSize), 0);
        if (n <= 0)
            return false;
        p += n;
        nSize -= size_t(n);
    }
    return true;
}

std::vector<BYTE> CFrameServer::MakeFrame(DWORD dwSerialNum, WORD wMainCmdID, WORD wSubCmdID, const void* pBody,
                                          size_t nBodySize)
{
    std::vector<BYTE> frame(PACKET_HEAD_SIZE + nBodySize);
    WritePacketHead(frame.data(), dwSerialNum, wMainCmdID, wSubCmdID, uint16_t(nBodySize));
    if (nBodySize > 0)
        memcpy(frame.data() + PACKET_HEAD_SIZE, pBody, nBodySize);
    return frame;
}

bool CFrameServer::SendFrame(int nConnection, DWORD dwSerialNum, WORD wMainCmdID, WORD wSubCmdID, const void* pBody,
                             size_t nBodySize)
{
    if (nBodySize > PACKET_MAX_BODY)
        return false;
    std::vector<BYTE> frame = MakeFrame(dwSerialNum, wMainCmdID, wSubCmdID, pBody, nBodySize);
    return SendRaw(nConnection, frame.data(), frame.size());
}

void CFrameServer::Close(int nConnection)
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    if (nConnection < 0 || nConnection >= int(m_Connections.size()))
        return;
    tagConnection& c = m_Connections[nConnection];
    if (c.hSocket == INVALID_SOCKET)
        return;
    shutdown(c.hSocket, SD_SEND);
    closesocket(c.hSocket);
    c.hSocket = INVALID_SOCKET;
}

void CFrameServer::Abort(int nConnection)
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    if (nConnection < 0 || nConnection >= int(m_Connections.size()))
        return;
    tagConnection& c = m_Connections[nConnection];
    if (c.hSocket == INVALID_SOCKET)
        return;
    linger l = {1, 0};
    setsockopt(c.hSocket, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&l), sizeof(l));
    closesocket(c.hSocket);
    c.hSocket = INVALID_SOCKET;
}

void CFrameServer::Run()
{
    while (!m_bStop) {
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(m_hListen, &readable);
        std::vector<int> watched;
        {
            std::lock_guard<std::mutex> lock(m_Mutex);
            for (size_t i = 0; i < m_Connections.size(); ++i) {
                if (m_Connections[i].hSocket != INVALID_SOCKET && !m_Connections[i].bPeerClosed &&
                    readable.fd_count < FD_SETSIZE) {
                    FD_SET(m_Connections[i].hSocket, &readable);
                    watched.push_back(int(i));
                }
            }
        }
        timeval tv = {0, 10000};
        int n = select(0, &readable, NULL, NULL, &tv);
        if (n <= 0)
            continue;
        if (FD_ISSET(m_hListen, &readable)) {
            SOCKET s = accept(m_hListen, NULL, NULL);
            if (s != INVALID_SOCKET) {
                BOOL noDelay = TRUE;
                setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&noDelay), sizeof(noDelay));
                std::lock_guard<std::mutex> lock(m_Mutex);
                m_Connections.push_back(tagConnection{s, false, false, {}});
            }
        }
        for (int i : watched) {
            SOCKET s = SocketOf(i);
            if (s != INVALID_SOCKET && FD_ISSET(s, &readable))
                ReadFrom(i);
        }
    }
}

void CFrameServer::ReadFrom(int nConnection)
{
    SOCKET s = SocketOf(nConnection);
    char buffer[8192];
    int n = recv(s, buffer, sizeof(buffer), 0);
    std::vector<tagServerFrame> arrived;
    FrameHandler handler;
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        tagConnection& c = m_Connections[nConnection];
        if (n <= 0) {
            c.bPeerClosed = true;
            return;
        }
        c.Pending.insert(c.Pending.end(), buffer, buffer + n);
        size_t used = 0;
        while (c.Pending.size() - used >= PACKET_HEAD_SIZE) {
            tagPacketHead head;
            if (!ReadPacketHead(&c.Pending[used], head)) {
                c.bBadFrame = true;
                c.bPeerClosed = true;
                used = c.Pending.size();
                break;
            }
            if (c.Pending.size() - used < head.dwPacketSize)
                break;
            tagServerFrame frame;
            frame.nConnection = nConnection;
            frame.dwSerialNum = head.dwSerialNum;
            frame.wMainCmdID = head.wMainCmdID;
            frame.wSubCmdID = head.wSubCmdID;
            frame.Wire.assign(c.Pending.begin() + used, c.Pending.begin() + used + head.dwPacketSize);
            frame.Body.assign(frame.Wire.begin() + PACKET_HEAD_SIZE, frame.Wire.end());
            used += head.dwPacketSize;
            if (m_bKeepFrames)
                m_Frames.push_back(frame);
            arrived.push_back(frame);
        }
        c.Pending.erase(c.Pending.begin(), c.Pending.begin() + used);
        handler = m_Handler;
    }
    if (handler) {
        for (const tagServerFrame& frame : arrived)
            handler(*this, frame);
    }
}
