// A scripted HTTP/1.1 server on 127.0.0.1 for the tests of the HTTP clients.
//
// Each path answers with a scripted reply: a status, extra header lines, a body
// framed by Content-Length, by the end of the connection or in chunks, and
// optionally cut short, paced in small pieces, or held at a byte offset until
// the test opens the gate (or the server stops, or 20 s have passed). A request for a path with no
// script gets 404. Keep-alive is honoured, so several requests may share one
// connection; every request and connection is recorded.
#pragma once

#include <winsock2.h>
#include <windows.h>

#include <map>
#include <mutex>
#include <string>
#include <vector>

class CHttpTestServer
{
public:
    enum Framing
    {
        framingLength, // Content-Length, connection kept
        framingClose,  // no length: the end of the connection ends the body
        framingChunked // Transfer-Encoding: chunked
    };

    static constexpr size_t npos = static_cast<size_t>(-1);

    struct Reply
    {
        int nStatus = 200;
        std::vector<std::string> extraHeaders; // whole lines without CRLF
        std::string strBody;
        Framing framing = framingLength;
        long long nAnnounced = -1; // Content-Length sent; -1: the body's size
        size_t nChunk = 0;         // chunk size (0: one chunk)
        size_t nCutAfter = npos;   // close the connection after this many body bytes
        size_t nHoldAfter = npos;  // after this many body bytes wait for the gate
        size_t nPiece = 0;         // send the body in pieces of this size ...
        DWORD dwPieceDelay = 0;    // ... with this pause (ms) between them
        bool bNeverAnswer = false; // read the request, answer nothing until the gate opens, then close
    };

    struct Request
    {
        std::string strMethod;
        std::string strTarget;
        std::string strHeaders; // raw header block
        std::string strBody;
        int nConnection = 0; // 1-based serial of the connection it came on
    };

    CHttpTestServer();
    ~CHttpTestServer();
    CHttpTestServer(const CHttpTestServer&) = delete;
    CHttpTestServer& operator=(const CHttpTestServer&) = delete;

    bool Start();
    void Stop();

    unsigned short GetPort() const { return m_nPort; }
    // "http://127.0.0.1:<port>" followed by the path.
    std::string Url(const std::string& strPath) const;

    // Scripts the answer for a path (the request target with or without its query).
    void SetReply(const std::string& strPath, const Reply& reply);
    static Reply Ok(const std::string& strBody);
    static Reply Status(int nStatus, const std::string& strBody = std::string());
    static Reply Redirect(int nStatus, const std::string& strLocation);
    // A body of n bytes whose byte i is (i * 7 + 3) & 0xFF, so misplaced blocks show.
    static std::string Pattern(size_t n);

    // Releases every held or never-answering reply, now and from now on.
    void OpenGate();

    std::vector<Request> GetRequests() const;
    int CountRequests(const std::string& strTarget) const;
    int GetConnectionCount() const;
    // Waits until n requests have arrived (false after dwTimeout ms).
    bool WaitForRequests(size_t n, DWORD dwTimeout) const;

private:
    struct Connection
    {
        SOCKET socket = INVALID_SOCKET;
        HANDLE hThread = nullptr;
        int nSerial = 0;
        CHttpTestServer* pServer = nullptr;
    };

    static DWORD WINAPI AcceptThread(LPVOID pParam);
    static DWORD WINAPI ConnectionThread(LPVOID pParam);
    void Serve(Connection* pConnection);
    int Receive(SOCKET s, char* pBuffer, int nSize);
    bool ReadRequest(SOCKET s, std::string& strBuffer, Request& request);
    bool SendReply(SOCKET s, const Reply& reply);
    bool SendBody(SOCKET s, const Reply& reply, const std::string& strBody);
    bool SendAll(SOCKET s, const char* pData, size_t nLength);
    bool WaitGate();
    Reply FindReply(const std::string& strTarget) const;

    SOCKET m_listen = INVALID_SOCKET;
    unsigned short m_nPort = 0;
    HANDLE m_hAcceptThread = nullptr;
    HANDLE m_hStop = nullptr;    // manual reset: the server is stopping
    HANDLE m_hGate = nullptr;    // manual reset: held replies may go on
    HANDLE m_hRequest = nullptr; // auto reset: a request was recorded

    mutable std::mutex m_lock;
    std::map<std::string, Reply> m_replies;
    std::vector<Request> m_requests;
    std::vector<Connection*> m_connections;
};
