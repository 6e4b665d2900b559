#include <winsock2.h>

#include "TestPorts.h"

WORD FindClosedPort()
{
    return FindFreePort("127.0.0.1");
}

WORD FindFreePort(const char* pszAddress)
{
    // Bound by the system's choice, read back and let go.
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in addr = {};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = inet_addr(pszAddress);
    int len = sizeof(addr);
    bind(s, reinterpret_cast<sockaddr*>(&addr), sizeof(addr));
    getsockname(s, reinterpret_cast<sockaddr*>(&addr), &len);
    closesocket(s);
    WSACleanup();
    return ntohs(addr.sin_port);
}
