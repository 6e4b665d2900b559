// A TCP server on 127.0.0.1 for tests, speaking the socket module's packet
// framing. It accepts any number of connections on its own thread and keeps
// every frame it receives; a handler (called on the server thread) may answer.
// Everything else is called from the test thread.
#pragma once

#include <winsock2.h>
#include <windows.h>

#include "TestPorts.h"

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

struct tagServerFrame
{
    int nConnection;
    DWORD dwSerialNum;
    WORD wMainCmdID;
    WORD wSubCmdID;
    std::vector<BYTE> Body;
    std::vector<BYTE> Wire; // the frame as it arrived, head included
};

class CFrameServer
{
public:
    typedef std::function<void(CFrameServer& server, const tagServerFrame& frame)> FrameHandler;

    CFrameServer();
    ~CFrameServer();

    // Listens on a loopback address (127.0.0.x) and port; port 0 takes an
    // ephemeral one.
    bool Start(const char* pszAddress = "127.0.0.1", WORD wPort = 0);
    void Stop();
    WORD GetPort() const { return m_wPort; }

    // Set before clients connect.
    void SetFrameHandler(FrameHandler handler);
    // The handler set now, for one that goes in front of it.
    FrameHandler GetFrameHandler();

    // Connections accepted so far, numbered from 0 in order of arrival.
    int GetConnectionCount();
    // True when the client end of a connection has closed (or broken).
    bool IsPeerClosed(int nConnection);
    // A connection the server found sending a frame that does not add up.
    bool IsBadFrameSeen(int nConnection);

    // Off: frames are handled but not kept (long runs such as benchmarks).
    void SetKeepFrames(bool bKeep) { m_bKeepFrames = bKeep; }
    size_t GetFrameCount();
    tagServerFrame GetFrame(size_t nIndex);
    std::vector<tagServerFrame> GetFrames();

    bool SendRaw(int nConnection, const void* pData, size_t nSize);
    bool SendFrame(int nConnection, DWORD dwSerialNum, WORD wMainCmdID, WORD wSubCmdID, const void* pBody = NULL,
                   size_t nBodySize = 0);
    static std::vector<BYTE> MakeFrame(DWORD dwSerialNum, WORD wMainCmdID, WORD wSubCmdID, const void* pBody,
                                       size_t nBodySize);
    // Graceful close (the client reads what was sent, then the end), or a
    // reset that discards what is still in flight.
    void Close(int nConnection);
    void Abort(int nConnection);

private:
    struct tagConnection
    {
        SOCKET hSocket;
        bool bPeerClosed;
        bool bBadFrame;
        std::vector<BYTE> Pending;
    };

    void Run();
    void ReadFrom(int nConnection);
    SOCKET SocketOf(int nConnection);

    SOCKET m_hListen;
    WORD m_wPort;
    std::thread m_Thread;
    std::atomic<bool> m_bStop;
    std::atomic<bool> m_bKeepFrames{true};
    std::mutex m_Mutex;
    std::mutex m_SendMutex;
    FrameHandler m_Handler;
    std::vector<tagConnection> m_Connections;
    std::vector<tagServerFrame> m_Frames;
};
