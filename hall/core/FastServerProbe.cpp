#include "FastServerProbe.h"

#include <winsock2.h>
#include <ws2tcpip.h>
#include <process.h>

DWORD CFastServerProbe::s_dwConnectBound = 2000;

struct CFastServerProbe::Run
{
    volatile LONG lResult;
    volatile LONG lRefs;
};

struct CFastServerProbe::Job
{
    Run* pRun;
    tagLogonServer server;
    DWORD dwBound;
};

CFastServerProbe::CFastServerProbe() : m_pRun(NULL), m_nThreads(0) {}

CFastServerProbe::~CFastServerProbe()
{
    CloseThreads();
    if (m_pRun != NULL)
        ReleaseRun(m_pRun);
}

void CFastServerProbe::ReleaseRun(Run* run)
{
    if (InterlockedDecrement(&run->lRefs) == 0)
        delete run;
}

void CFastServerProbe::CloseThreads()
{
    for (int i = 0; i < m_nThreads; ++i)
        CloseHandle(m_hThreads[i]);
    m_nThreads = 0;
}

LONG CFastServerProbe::GetResult() const
{
    if (m_pRun == NULL)
        return FAST_SERVER_NONE;
    // A compare-exchange that changes nothing: an ordered read of the word.
    return InterlockedCompareExchange(&m_pRun->lResult, 0, 0);
}

LONG CFastServerProbe::Start(const tagLogonServer* servers, int count)
{
    CloseThreads();
    if (m_pRun != NULL)
        ReleaseRun(m_pRun);
    m_pRun = new Run;
    m_pRun->lResult = FAST_SERVER_NONE;
    m_pRun->lRefs = 1;

    for (int i = 0; i < count && i < kMaxThreads; ++i) {
        Job* job = new Job;
        job->pRun = m_pRun;
        job->server = servers[i];
        job->dwBound = s_dwConnectBound;
        InterlockedIncrement(&m_pRun->lRefs);
        HANDLE thread = (HANDLE)_beginthreadex(NULL, 0, &CFastServerProbe::ProbeThread, job, 0, NULL);
        if (thread == NULL) {
            ReleaseRun(m_pRun);
            delete job;
            continue;
        }
        m_hThreads[m_nThreads++] = thread;
    }
    return GetResult();
}

bool CFastServerProbe::Wait(DWORD timeout)
{
    if (m_nThreads == 0)
        return true;
    return WaitForMultipleObjects((DWORD)m_nThreads, m_hThreads, TRUE, timeout) != WAIT_TIMEOUT;
}

unsigned __stdcall CFastServerProbe::ProbeThread(void* param)
{
    Job* job = static_cast<Job*>(param);
    ProbeServer(job->pRun, job->server, job->dwBound);
    ReleaseRun(job->pRun);
    delete job;
    return 0;
}

namespace
{

// A failed connect counts only while no server answered; a success wins
// when the word is still open (-1 or 255).
void ReportFailure(volatile LONG* result)
{
    InterlockedCompareExchange(result, FAST_SERVER_FAILED, FAST_SERVER_NONE);
}

void ReportSuccess(volatile LONG* result, LONG index)
{
    if (InterlockedCompareExchange(result, index, FAST_SERVER_NONE) != FAST_SERVER_NONE)
        InterlockedCompareExchange(result, index, FAST_SERVER_FAILED);
}

} // namespace

void CFastServerProbe::ProbeServer(Run* run, const tagLogonServer& server, DWORD bound)
{
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 0), &data) != 0)
        return;

    sockaddr_in address;
    memset(&address, 0, sizeof(address));
    address.sin_family = AF_INET;
    address.sin_port = htons(server.wPort);
    char host[sizeof(server.szHost) + 1];
    memcpy(host, server.szHost, sizeof(server.szHost));
    host[sizeof(server.szHost)] = '\0';
    bool resolved = false;
    if (host[0] != '\0') {
        // A name that does not resolve leaves the word alone.
        addrinfo hints;
        memset(&hints, 0, sizeof(hints));
        hints.ai_family = AF_INET;
        hints.ai_socktype = SOCK_STREAM;
        addrinfo* found = NULL;
        if (getaddrinfo(host, NULL, &hints, &found) == 0 && found != NULL) {
            address.sin_addr = reinterpret_cast<sockaddr_in*>(found->ai_addr)->sin_addr;
            resolved = true;
        }
        if (found != NULL)
            freeaddrinfo(found);
        if (!resolved) {
            WSACleanup();
            return;
        }
    } else {
        char ip[sizeof(server.szIP) + 1];
        memcpy(ip, server.szIP, sizeof(server.szIP));
        ip[sizeof(server.szIP)] = '\0';
        address.sin_addr.s_addr = inet_addr(ip);
        if (address.sin_addr.s_addr == INADDR_NONE) {
            ReportFailure(&run->lResult);
            WSACleanup();
            return;
        }
    }

    SOCKET sock = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    WSAEVENT event = WSACreateEvent();
    if (sock != INVALID_SOCKET && event != WSA_INVALID_EVENT) {
        u_long nonBlocking = 1;
        ioctlsocket(sock, FIONBIO, &nonBlocking);
        WSAEventSelect(sock, event, FD_READ | FD_CONNECT | FD_CLOSE);
        DWORD start = GetTickCount();
        if (connect(sock, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0) {
            ReportSuccess(&run->lResult, server.wIndex);
        } else if (WSAGetLastError() != WSAEWOULDBLOCK) {
            ReportFailure(&run->lResult);
        } else {
            for (;;) {
                DWORD elapsed = GetTickCount() - start;
                if (elapsed > bound)
                    break;
                DWORD wait = WSAWaitForMultipleEvents(1, &event, FALSE, bound - elapsed, FALSE);
                if (wait != WSA_WAIT_EVENT_0)
                    break;
                WSANETWORKEVENTS events;
                if (WSAEnumNetworkEvents(sock, event, &events) != 0)
                    break;
                if (events.lNetworkEvents & FD_CONNECT) {
                    if (events.iErrorCode[FD_CONNECT_BIT] != 0)
                        ReportFailure(&run->lResult);
                    else
                        ReportSuccess(&run->lResult, server.wIndex);
                    break;
                }
            }
        }
    } else if (sock == INVALID_SOCKET) {
        ReportFailure(&run->lResult);
    }
    if (event != WSA_INVALID_EVENT)
        WSACloseEvent(event);
    if (sock != INVALID_SOCKET)
        closesocket(sock);
    WSACleanup();
}
