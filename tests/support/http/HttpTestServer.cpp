#include "HttpTestServer.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <string>

#include <ws2tcpip.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace
{
// Every program that uses the test server talks to 127.0.0.1 directly:
// WinInet also takes proxies from the environment, so clear them.
class NoProxyEnvironment : public testing::Environment
{
public:
    void SetUp() override
    {
        for (const char* pszName :
             {"http_proxy", "https_proxy", "HTTP_PROXY", "HTTPS_PROXY", "all_proxy", "ALL_PROXY"}) {
            std::string strClear = std::string(pszName) + "=";
            _putenv(strClear.c_str());
            SetEnvironmentVariableA(pszName, NULL);
        }
        _putenv("no_proxy=127.0.0.1,localhost");
    }
};

testing::Environment* const g_pNoProxy = testing::AddGlobalTestEnvironment(new NoProxyEnvironment);
} // namespace

namespace
{
const size_t kMaxRequestBytes = 1 << 20;
const DWORD kGateSafetyRelease = 20000;

const char* ReasonOf(int nStatus)
{
    switch (nStatus) {
    case 200: return "OK";
    case 301: return "Moved Permanently";
    case 302: return "Found";
    case 303: return "See Other";
    case 307: return "Temporary Redirect";
    case 401: return "Unauthorized";
    case 403: return "Forbidden";
    case 404: return "Not Found";
    case 500: return "Internal Server Error";
    case 503: return "Service Unavailable";
    default: return "Status";
    }
}

bool StartsWithNoCase(const std::string& s, const char* pszPrefix)
{
    size_t n = strlen(pszPrefix);
    return s.size() >= n && _strnicmp(s.c_str(), pszPrefix, n) == 0;
}
} // namespace

CHttpTestServer::CHttpTestServer()
{
    m_hStop = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    m_hGate = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    m_hRequest = CreateEventA(nullptr, FALSE, FALSE, nullptr);
}

CHttpTestServer::~CHttpTestServer()
{
    Stop();
    CloseHandle(m_hStop);
    CloseHandle(m_hGate);
    CloseHandle(m_hRequest);
}

bool CHttpTestServer::Start()
{
    WSADATA wsa;
    if (WSAStartup(MAKEWORD(2, 2), &wsa) != 0)
        return false;
    m_listen = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (m_listen == INVALID_SOCKET)
        return false;
    sockaddr_in addr = {};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;
    int nLength = sizeof(addr);
    if (bind(m_listen, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) != 0 || listen(m_listen, 16) != 0 ||
        getsockname(m_listen, reinterpret_cast<sockaddr*>(&addr), &nLength) != 0) {
        closesocket(m_listen);
        m_listen = INVALID_SOCKET;
        return false;
    }
    m_nPort = ntohs(addr.sin_port);
    ResetEvent(m_hStop);
    m_hAcceptThread = CreateThread(nullptr, 0, AcceptThread, this, 0, nullptr);
    return m_hAcceptThread != nullptr;
}

void CHttpTestServer::Stop()
{
    if (m_listen == INVALID_SOCKET)
        return;
    SetEvent(m_hStop);
    closesocket(m_listen);
    WaitForSingleObject(m_hAcceptThread, INFINITE);
    CloseHandle(m_hAcceptThread);
    m_hAcceptThread = nullptr;
    m_listen = INVALID_SOCKET;

    std::vector<Connection*> connections;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        connections.swap(m_connections);
        for (Connection* pConnection : connections) {
            if (pConnection->socket != INVALID_SOCKET)
                shutdown(pConnection->socket, SD_BOTH);
        }
    }
    for (Connection* pConnection : connections) {
        WaitForSingleObject(pConnection->hThread, INFINITE);
        CloseHandle(pConnection->hThread);
        delete pConnection;
    }
    WSACleanup();
}

std::string CHttpTestServer::Url(const std::string& strPath) const
{
    return "http://127.0.0.1:" + std::to_string(m_nPort) + strPath;
}

void CHttpTestServer::SetReply(const std::string& strPath, const Reply& reply)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_replies[strPath] = reply;
}

CHttpTestServer::Reply CHttpTestServer::Ok(const std::string& strBody)
{
    Reply reply;
    reply.strBody = strBody;
    return reply;
}

CHttpTestServer::Reply CHttpTestServer::Status(int nStatus, const std::string& strBody)
{
    Reply reply;
    reply.nStatus = nStatus;
    reply.strBody = strBody;
    return reply;
}

CHttpTestServer::Reply CHttpTestServer::Redirect(int nStatus, const std::string& strLocation)
{
    Reply reply;
    reply.nStatus = nStatus;
    reply.extraHeaders.push_back("Location: " + strLocation);
    return reply;
}

std::string CHttpTestServer::Pattern(size_t n)
{
    std::string s(n, '\0');
    for (size_t i = 0; i < n; ++i)
        s[i] = static_cast<char>((i * 7 + 3) & 0xFF);
    return s;
}

void CHttpTestServer::OpenGate()
{
    SetEvent(m_hGate);
}

std::vector<CHttpTestServer::Request> CHttpTestServer::GetRequests() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_requests;
}

int CHttpTestServer::CountRequests(const std::string& strTarget) const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return static_cast<int>(std::count_if(m_requests.begin(), m_requests.end(),
                                          [&](const Request& r) { return r.strTarget == strTarget; }));
}

int CHttpTestServer::GetConnectionCount() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    int nMax = 0;
    for (const Request& r : m_requests)
        nMax = std::max(nMax, r.nConnection);
    return nMax;
}

bool CHttpTestServer::WaitForRequests(size_t n, DWORD dwTimeout) const
{
    DWORD dwStart = GetTickCount();
    for (;;) {
        {
            std::lock_guard<std::mutex> guard(m_lock);
            if (m_requests.size() >= n)
                return true;
        }
        DWORD dwSpent = GetTickCount() - dwStart;
        if (dwSpent >= dwTimeout)
            return false;
        WaitForSingleObject(m_hRequest, std::min<DWORD>(dwTimeout - dwSpent, 20));
    }
}

DWORD WINAPI CHttpTestServer::AcceptThread(LPVOID pParam)
{
    CHttpTestServer* pThis = static_cast<CHttpTestServer*>(pParam);
    int nSerial = 0;
    for (;;) {
        SOCKET s = accept(pThis->m_listen, nullptr, nullptr);
        if (s == INVALID_SOCKET)
            return 0;
        // Blocking receives wake now and then to see a stop.
        DWORD dwTimeout = 50;
        setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&dwTimeout), sizeof(dwTimeout));
        Connection* pConnection = new Connection;
        pConnection->socket = s;
        pConnection->nSerial = ++nSerial;
        pConnection->pServer = pThis;
        std::lock_guard<std::mutex> guard(pThis->m_lock);
        if (WaitForSingleObject(pThis->m_hStop, 0) == WAIT_OBJECT_0) {
            closesocket(s);
            delete pConnection;
            return 0;
        }
        pConnection->hThread = CreateThread(nullptr, 0, ConnectionThread, pConnection, 0, nullptr);
        pThis->m_connections.push_back(pConnection);
    }
}

DWORD WINAPI CHttpTestServer::ConnectionThread(LPVOID pParam)
{
    Connection* pConnection = static_cast<Connection*>(pParam);
    pConnection->pServer->Serve(pConnection);
    return 0;
}

void CHttpTestServer::Serve(Connection* pConnection)
{
    std::string strBuffer;
    for (;;) {
        Request request;
        if (!ReadRequest(pConnection->socket, strBuffer, request))
            break;
        request.nConnection = pConnection->nSerial;
        {
            std::lock_guard<std::mutex> guard(m_lock);
            m_requests.push_back(request);
        }
        SetEvent(m_hRequest);
        if (!SendReply(pConnection->socket, FindReply(request.strTarget)))
            break;
    }
    std::lock_guard<std::mutex> guard(m_lock);
    shutdown(pConnection->socket, SD_BOTH);
    closesocket(pConnection->socket);
    pConnection->socket = INVALID_SOCKET;
}

int CHttpTestServer::Receive(SOCKET s, char* pBuffer, int nSize)
{
    for (;;) {
        int n = recv(s, pBuffer, nSize, 0);
        if (n >= 0 || WSAGetLastError() != WSAETIMEDOUT)
            return n;
        if (WaitForSingleObject(m_hStop, 0) == WAIT_OBJECT_0)
            return -1;
    }
}

bool CHttpTestServer::ReadRequest(SOCKET s, std::string& strBuffer, Request& request)
{
    size_t nHeaderEnd;
    while ((nHeaderEnd = strBuffer.find("\r\n\r\n")) == std::string::npos) {
        if (strBuffer.size() > kMaxRequestBytes)
            return false;
        char chunk[4096];
        int n = Receive(s, chunk, sizeof(chunk));
        if (n <= 0)
            return false;
        strBuffer.append(chunk, n);
    }
    std::string strHead = strBuffer.substr(0, nHeaderEnd + 2);
    strBuffer.erase(0, nHeaderEnd + 4);

    size_t nLineEnd = strHead.find("\r\n");
    std::string strLine = strHead.substr(0, nLineEnd);
    size_t nSpace1 = strLine.find(' ');
    size_t nSpace2 = strLine.find(' ', nSpace1 == std::string::npos ? 0 : nSpace1 + 1);
    if (nSpace1 == std::string::npos || nSpace2 == std::string::npos)
        return false;
    request.strMethod = strLine.substr(0, nSpace1);
    request.strTarget = strLine.substr(nSpace1 + 1, nSpace2 - nSpace1 - 1);
    request.strHeaders = strHead.substr(nLineEnd + 2);

    size_t nBody = 0;
    size_t nPos = 0;
    while (nPos < request.strHeaders.size()) {
        size_t nEnd = request.strHeaders.find("\r\n", nPos);
        if (nEnd == std::string::npos)
            nEnd = request.strHeaders.size();
        std::string strHeader = request.strHeaders.substr(nPos, nEnd - nPos);
        if (StartsWithNoCase(strHeader, "Content-Length:"))
            nBody = static_cast<size_t>(strtoull(strHeader.c_str() + 15, nullptr, 10));
        nPos = nEnd + 2;
    }
    if (nBody > kMaxRequestBytes)
        return false;
    while (strBuffer.size() < nBody) {
        char chunk[4096];
        int n = Receive(s, chunk, sizeof(chunk));
        if (n <= 0)
            return false;
        strBuffer.append(chunk, n);
    }
    request.strBody = strBuffer.substr(0, nBody);
    strBuffer.erase(0, nBody);
    return true;
}

CHttpTestServer::Reply CHttpTestServer::FindReply(const std::string& strTarget) const
{
    std::lock_guard<std::mutex> guard(m_lock);
    auto it = m_replies.find(strTarget);
    if (it == m_replies.end())
        it = m_replies.find(strTarget.substr(0, strTarget.find('?')));
    if (it != m_replies.end())
        return it->second;
    return Status(404, "not found");
}

bool CHttpTestServer::SendReply(SOCKET s, const Reply& reply)
{
    if (reply.bNeverAnswer) {
        WaitGate();
        return false;
    }

    std::string strWire = reply.strBody;
    if (reply.framing == framingChunked) {
        strWire.clear();
        size_t nChunk = reply.nChunk ? reply.nChunk : std::max<size_t>(reply.strBody.size(), 1);
        for (size_t i = 0; i < reply.strBody.size(); i += nChunk) {
            size_t n = std::min(nChunk, reply.strBody.size() - i);
            char szSize[32];
            snprintf(szSize, sizeof(szSize), "%zx\r\n", n);
            strWire += szSize;
            strWire.append(reply.strBody, i, n);
            strWire += "\r\n";
        }
        strWire += "0\r\n\r\n";
    }

    std::string strHead = "HTTP/1.1 " + std::to_string(reply.nStatus) + " " + ReasonOf(reply.nStatus) + "\r\n";
    for (const std::string& strHeader : reply.extraHeaders)
        strHead += strHeader + "\r\n";
    bool bKeep = true;
    switch (reply.framing) {
    case framingLength: {
        long long nAnnounced = reply.nAnnounced >= 0 ? reply.nAnnounced : static_cast<long long>(reply.strBody.size());
        strHead += "Content-Length: " + std::to_string(nAnnounced) + "\r\n";
        bKeep = nAnnounced == static_cast<long long>(reply.strBody.size());
        break;
    }
    case framingClose:
        strHead += "Connection: close\r\n";
        bKeep = false;
        break;
    case framingChunked: strHead += "Transfer-Encoding: chunked\r\n"; break;
    }
    strHead += "\r\n";
    if (!SendAll(s, strHead.data(), strHead.size()))
        return false;
    if (!SendBody(s, reply, strWire))
        return false;
    return bKeep && reply.nCutAfter == npos;
}

// Offsets of cutting and holding count the bytes after the header block
// (for a chunked reply, the encoded bytes).
bool CHttpTestServer::SendBody(SOCKET s, const Reply& reply, const std::string& strWire)
{
    size_t nEnd = std::min(strWire.size(), reply.nCutAfter);
    size_t nPos = 0;
    while (nPos < nEnd) {
        size_t nStop = nEnd;
        if (reply.nHoldAfter != npos && nPos < reply.nHoldAfter)
            nStop = std::min(nStop, reply.nHoldAfter);
        if (reply.nPiece)
            nStop = std::min(nStop, nPos + reply.nPiece);
        if (!SendAll(s, strWire.data() + nPos, nStop - nPos))
            return false;
        nPos = nStop;
        if (nPos == reply.nHoldAfter && nPos < nEnd && !WaitGate())
            return false;
        if (reply.nPiece && reply.dwPieceDelay && nPos < nEnd &&
            WaitForSingleObject(m_hStop, reply.dwPieceDelay) == WAIT_OBJECT_0)
            return false;
    }
    return true;
}

bool CHttpTestServer::SendAll(SOCKET s, const char* pData, size_t nLength)
{
    while (nLength > 0) {
        int n = send(s, pData, static_cast<int>(std::min<size_t>(nLength, 65536)), 0);
        if (n <= 0)
            return false;
        pData += n;
        nLength -= n;
    }
    return true;
}

bool CHttpTestServer::WaitGate()
{
    // Released after a while in any case, so a client that fails to give up
    // fails its test instead of hanging it.
    HANDLE handles[2] = {m_hGate, m_hStop};
    DWORD dwWait = WaitForMultipleObjects(2, handles, FALSE, kGateSafetyRelease);
    return dwWait == WAIT_OBJECT_0 || dwWait == WAIT_TIMEOUT;
}
