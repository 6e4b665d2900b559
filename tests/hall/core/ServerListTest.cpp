#include <winsock2.h>
#include <ws2tcpip.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "GlobalOption.h"
#include "StateTestSupport.h"
#include "TestPorts.h"
#include "TestWait.h"

namespace
{

class ServerListTest : public testing::Test
{
protected:
    void SetUp() override { options.SetConfigDirectory((folder.Path() + "config").c_str()); }

    void WriteList(const std::string& text) { folder.Write("config\\ServerList.ini", text); }
    // "Server" sections named a, b, c ... on the given ports.
    void WriteServers(const std::vector<unsigned short>& ports, int lastServer)
    {
        std::string text = "[Server]\r\nServerCount=" + std::to_string(ports.size()) +
                           "\r\nLastServerID=" + std::to_string(lastServer) + "\r\n";
        for (size_t i = 0; i < ports.size(); ++i) {
            text += "[Server" + std::to_string(i) + "]\r\nName=" + std::string(1, char('a' + i)) +
                    "\r\nHost=127.0.0.1\r\nPort=" + std::to_string(ports[i]) + "\r\n";
        }
        WriteList(text);
        options.LoadServerList();
    }
    // The names handed out until the cursor runs dry (at most 20).
    std::string Walk()
    {
        std::string names;
        for (int i = 0; i < 20; ++i) {
            tagLogonServer* server = options.GetNextServer();
            if (server == NULL)
                return names;
            names += server->szName;
        }
        return names + "...";
    }

    CStateFolder folder;
    CGlobalOption options;
};

TEST_F(ServerListTest, SectionsWithoutNameOrWithARepeatedNameAreSkipped)
{
    WriteList("[Server]\r\nServerCount=4\r\n[Server0]\r\nHost=h0\r\n[Server1]\r\nName=A\r\nHost=h1\r\nPort=7000\r\n"
              "[Server2]\r\nName=B\r\nIP=10.0.0.2\r\nHost=\r\n[Server3]\r\nName=A\r\nHost=h3\r\n");
    options.LoadServerList();
    ASSERT_EQ(options.GetServerCount(), 2);
    EXPECT_STREQ(options.GetServer(0)->szName, "A");
    EXPECT_STREQ(options.GetServer(0)->szHost, "h1");
    EXPECT_EQ(options.GetServer(0)->wPort, 7000);
    EXPECT_EQ(options.GetServer(0)->wIndex, 0);
    EXPECT_EQ(options.GetServer(1)->wIndex, 1);
    EXPECT_STREQ(options.GetServer(1)->szIP, "10.0.0.2");
    EXPECT_EQ(options.FindServerByName("B"), 1);
    EXPECT_EQ(options.FindServerByName("b"), -1);
    EXPECT_EQ(options.FindServerByName(""), -1);
    EXPECT_EQ(options.GetServer(2), nullptr);
}

TEST_F(ServerListTest, ANameAloneIsHostAndAddress)
{
    WriteList("[Server]\r\nServerCount=1\r\n[Server0]\r\nName=hall.example.invalid\r\n");
    options.LoadServerList();
    ASSERT_EQ(options.GetServerCount(), 1);
    const tagLogonServer* server = options.GetServer(0);
    EXPECT_STREQ(server->szHost, "hall.example.invalid");
    EXPECT_STREQ(server->szIP, "hall.example.in"); // 15 characters
    EXPECT_EQ(server->wPort, 9000);
}

TEST_F(ServerListTest, AHugeCountReadsOnlyWhatCanBeThere)
{
    WriteList("[Server]\r\nServerCount=2000000000\r\n[Server0]\r\nName=A\r\n");
    options.LoadServerList();
    EXPECT_EQ(options.GetServerCount(), 1);
}

struct WalkCase
{
    const char* name;
    int servers;
    int lastServer;
    const char* walk;
};

class CursorWalks : public ServerListTest, public testing::WithParamInterface<WalkCase>
{};

TEST_P(CursorWalks, EachServerOncePerRound)
{
    std::vector<unsigned short> ports(GetParam().servers, 9000);
    WriteServers(ports, GetParam().lastServer);
    EXPECT_EQ(Walk(), GetParam().walk) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(Lists, CursorWalks,
                         testing::Values(WalkCase{"one server", 1, 0, "a"}, WalkCase{"two from 0", 2, 0, "ab"},
                                         WalkCase{"two from 1", 2, 1, "ba"}, WalkCase{"three from 0", 3, 0, "abc"},
                                         WalkCase{"four from 2", 4, 2, "cdab"},
                                         WalkCase{"last id out of range", 3, 5, ""}, WalkCase{"no last id", 3, -1, ""},
                                         WalkCase{"empty list", 0, 0, ""}));

TEST_F(ServerListTest, AChosenServerStartsANewRound)
{
    WriteServers({9000, 9000, 9000}, 5);
    EXPECT_EQ(Walk(), "");
    options.SetLastServer(1);
    EXPECT_EQ(Walk(), "bca");
    EXPECT_EQ(options.GetLastServer(), 0); // the server handed out last
    // A reconnect after a success starts with the server that answered.
    options.SetLastServer(2);
    EXPECT_EQ(Walk(), "cab");
    options.SetLastServer(-3);
    EXPECT_EQ(options.GetLastServer(), -1);
    EXPECT_EQ(Walk(), "");
}

TEST_F(ServerListTest, LastServerAndProxyAreWrittenBack)
{
    WriteServers({9000, 9000}, 0);
    options.SetLastServer(1);
    options.SaveLastServer();
    tagProxyInfo proxy;
    proxy.cbProxyType = PROXY_SOCKS5;
    proxy.wProxyPort = 1080;
    proxy.strProxyAddr = "10.1.1.1";
    proxy.strProxyName = "user";
    proxy.strProxyPass = "pass word";
    options.SetProxyInfo(proxy);
    options.SaveProxyInfo();

    CGlobalOption reloaded;
    reloaded.SetConfigDirectory((folder.Path() + "config").c_str());
    reloaded.LoadServerList();
    reloaded.LoadProxyInfo();
    EXPECT_EQ(reloaded.GetLastServer(), 1);
    tagProxyInfo read;
    reloaded.GetProxyInfo(read);
    EXPECT_EQ(read.cbProxyType, PROXY_SOCKS5);
    EXPECT_EQ(read.wProxyPort, 1080);
    EXPECT_STREQ(read.strProxyAddr, "10.1.1.1");
    EXPECT_STREQ(read.strProxyName, "user");
    EXPECT_STREQ(read.strProxyPass, "pass word");
}

// ------------------------------------------------------------------ loopback listeners

class Winsock
{
public:
    Winsock()
    {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
    }
    ~Winsock() { WSACleanup(); }
};

unsigned short PortOf(SOCKET s)
{
    sockaddr_in address;
    int size = sizeof(address);
    getsockname(s, reinterpret_cast<sockaddr*>(&address), &size);
    return ntohs(address.sin_port);
}

SOCKET Listen(int backlog)
{
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(s, reinterpret_cast<sockaddr*>(&address), sizeof(address));
    listen(s, backlog);
    return s;
}

// Answers at once.
class FastListener
{
public:
    FastListener() : m_socket(Listen(SOMAXCONN)) {}
    ~FastListener() { closesocket(m_socket); }
    unsigned short Port() const { return PortOf(m_socket); }

private:
    SOCKET m_socket;
};

// Nobody listens on the port: connects are refused.
class RefusingPort
{
public:
    RefusingPort() : m_port(FindClosedPort()) {}
    unsigned short Port() const { return m_port; }

private:
    unsigned short m_port;
};

// A listener whose queue is full: a connect gets no answer until the queue
// has room (Open) and the client tries its handshake again, about a second
// later.
class SlowListener
{
public:
    SlowListener() : m_listen(Listen(0))
    {
        m_filler = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address = {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = htons(Port());
        connect(m_filler, reinterpret_cast<sockaddr*>(&address), sizeof(address));
    }
    ~SlowListener()
    {
        closesocket(m_filler);
        if (m_accepted != INVALID_SOCKET)
            closesocket(m_accepted);
        closesocket(m_listen);
    }
    unsigned short Port() const { return PortOf(m_listen); }
    void Open() { m_accepted = accept(m_listen, NULL, NULL); }

private:
    SOCKET m_listen;
    SOCKET m_filler;
    SOCKET m_accepted = INVALID_SOCKET;
};

class FastServerProbe : public ServerListTest
{
protected:
    void TearDown() override
    {
        EXPECT_TRUE(options.GetFastServerProbe().Wait(10000));
        CFastServerProbe::s_dwConnectBound = 2000;
    }
    LONG Finish()
    {
        EXPECT_TRUE(options.GetFastServerProbe().Wait(10000));
        return options.GetFastServerResult();
    }

    Winsock winsock;
};

TEST_F(FastServerProbe, TheFirstServerToAnswerWins)
{
    SlowListener slow;
    FastListener fast;
    RefusingPort refusing;
    WriteServers({slow.Port(), fast.Port(), refusing.Port()}, 0);
    options.StartFastServerProbe();
    WaitFor([&] { return options.GetFastServerResult() == 1; }, 5000);
    EXPECT_EQ(options.GetFastServerResult(), 1);
    // The slow server answers later and changes nothing.
    slow.Open();
    EXPECT_EQ(Finish(), 1);
}

TEST_F(FastServerProbe, AFailureIsOverwrittenByALaterAnswer)
{
    SlowListener slow;
    RefusingPort refusing;
    WriteServers({slow.Port(), refusing.Port()}, 0);
    options.StartFastServerProbe();
    WaitFor([&] { return options.GetFastServerResult() != FAST_SERVER_NONE; }, 5000);
    EXPECT_EQ(options.GetFastServerResult(), FAST_SERVER_FAILED);
    slow.Open();
    EXPECT_EQ(Finish(), 0);
}

TEST_F(FastServerProbe, AnswersAfterTheBoundDoNotCount)
{
    CFastServerProbe::s_dwConnectBound = 300;
    SlowListener slow;
    RefusingPort refusing;
    WriteServers({slow.Port(), refusing.Port()}, 0);
    DWORD start = GetTickCount();
    options.StartFastServerProbe();
    EXPECT_EQ(Finish(), FAST_SERVER_FAILED);
    EXPECT_LT(GetTickCount() - start, 900u);
}

TEST_F(FastServerProbe, EverythingRefusedIsRecordedWhenAllowed)
{
    RefusingPort first, second;
    WriteServers({first.Port(), second.Port()}, 0);
    EXPECT_TRUE(options.ShouldFindFastServer());
    options.StartFastServerProbe();
    EXPECT_EQ(Finish(), FAST_SERVER_FAILED);
    EXPECT_FALSE(options.ShouldFindFastServer());
    // A failed probe never moves the cursor.
    EXPECT_EQ(Walk(), "ab");

    options.RecordFastServer(); // "findip" off: nothing written
    EXPECT_EQ(folder.Read("config\\ServerList.ini").find("FindFastServer"), std::string::npos);
    folder.Write("config\\dynamic\\DynaItemCfg.ini", "[IsFindFastIp]\r\nfindip=1\r\n");
    options.RecordFastServer();
    EXPECT_NE(folder.Read("config\\ServerList.ini").find("FindFastServer=0"), std::string::npos);
}

TEST_F(FastServerProbe, TheWinnerIsTakenOnceAfterTheChosenServer)
{
    RefusingPort refusing;
    FastListener fast;
    RefusingPort other;
    WriteServers({refusing.Port(), fast.Port(), other.Port()}, 0);
    options.StartFastServerProbe();
    ASSERT_EQ(Finish(), 1);
    // LastServerID set the reuse flag: the chosen server first, then the
    // winner, then the rest; the winner is not tried again.
    EXPECT_EQ(Walk(), "abc");

    options.SetLastServer(2);
    options.SetServerReuse(false);
    EXPECT_EQ(Walk(), "bca");

    folder.Write("config\\dynamic\\DynaItemCfg.ini", "[IsFindFastIp]\r\nfindip=1\r\n");
    options.SetLastServer(1); // connected to the winner
    options.RecordFastServer();
    EXPECT_NE(folder.Read("config\\ServerList.ini").find("FindFastServer=1"), std::string::npos);
}

TEST_F(FastServerProbe, ARecordedWinnerStopsTheProbe)
{
    WriteList("[Server]\r\nServerCount=0\r\nFindFastServer=1\r\n");
    options.LoadServerList();
    EXPECT_FALSE(options.ShouldFindFastServer());
}

} // namespace
