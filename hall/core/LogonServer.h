// Records of the logon server list and of the proxy settings.
#pragma once

#include <stddef.h>

#include <afx.h>

// One hall (logon) server of "ServerList.ini".
struct tagLogonServer
{
    char szName[128]; // unique in the list
    char szHost[128]; // host name or address text to connect to
    char szIP[16];    // dotted address text, used when the host is empty
    WORD wPort;
    WORD wIndex; // position in the list
};
static_assert(sizeof(tagLogonServer) == 276, "logon server layout");
static_assert(offsetof(tagLogonServer, wPort) == 272, "logon server layout");

// Proxy kinds.
enum
{
    PROXY_NONE = 0,
    PROXY_SOCKS4 = 1,
    PROXY_SOCKS5 = 2
};

// The process-wide proxy settings.
struct tagProxyInfo
{
    BYTE cbProxyType; // PROXY_*
    WORD wProxyPort;
    CString strProxyAddr;
    CString strProxyName;
    CString strProxyPass;
};
