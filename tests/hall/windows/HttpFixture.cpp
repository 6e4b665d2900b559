#include "HttpFixture.h"

#include <stdlib.h>

namespace
{
// WinInet takes proxies from the environment too; the tests talk to
// 127.0.0.1 directly, whatever the machine has set.
class NoProxyEnvironment : public testing::Environment
{
public:
    void SetUp() override
    {
        for (const char* pszName : {"http_proxy", "https_proxy", "HTTP_PROXY", "HTTPS_PROXY", "all_proxy", "ALL_PROXY"})
        {
            std::string strClear = std::string(pszName) + "=";
            _putenv(strClear.c_str());
            SetEnvironmentVariableA(pszName, NULL);
        }
        _putenv("no_proxy=127.0.0.1,localhost");
    }
};

testing::Environment* const g_pNoProxy = testing::AddGlobalTestEnvironment(new NoProxyEnvironment);
} // namespace

unsigned short FindClosedPort()
{
    WSADATA wsa;
    WSAStartup(MAKEWORD(2, 2), &wsa);
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in addr = {};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int nLength = sizeof(addr);
    bind(s, reinterpret_cast<sockaddr*>(&addr), sizeof(addr));
    getsockname(s, reinterpret_cast<sockaddr*>(&addr), &nLength);
    closesocket(s);
    WSACleanup();
    return ntohs(addr.sin_port);
}
