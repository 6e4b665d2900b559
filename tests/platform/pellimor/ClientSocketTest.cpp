#include "FrameServer.h"
#include "IClientSocket.h"
#include "MessagePump.h"
#include "PacketFrame.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

struct tagReadEvent
{
    DWORD dwSerialNum;
    WORD wMainCmdID;
    WORD wSubCmdID;
    std::vector<BYTE> Body;
    bool bNullBody;
};

// Records what the module reports, and on which thread.
class CRecordingSink : public IClientSocketSink
{
public:
    ULONG AddRef() override { return 1; }
    ULONG Release() override { return 1; }
    HRESULT QueryInterface(REFGUID iid, void** out) override
    {
        if (IsEqualGUID(iid, IID_IClientSocketSink) || IsEqualGUID(iid, IID_IUnknownEx)) {
            *out = static_cast<IClientSocketSink*>(this);
            return S_OK;
        }
        *out = NULL;
        return E_NOINTERFACE;
    }
    bool OnSocketConnect(int nErrorCode, LPCSTR pszErrorDesc) override
    {
        ConnectCodes.push_back(nErrorCode);
        ConnectTexts.push_back(pszErrorDesc != NULL ? pszErrorDesc : "");
        Threads.push_back(GetCurrentThreadId());
        if (bInsideConnect)
            bCalledInsideConnect = true;
        return true;
    }
    bool OnSocketRead(DWORD dwSerialNum, WORD wMainCmdID, WORD wSubCmdID, void* pData, WORD wDataSize,
                      IClientSocket* pISocket) override
    {
        const BYTE* p = static_cast<const BYTE*>(pData);
        Reads.push_back(tagReadEvent{dwSerialNum, wMainCmdID, wSubCmdID,
                                     std::vector<BYTE>(p, p == NULL ? p : p + wDataSize), pData == NULL});
        Threads.push_back(GetCurrentThreadId());
        SocketSeen = pISocket;
        if (nCloseAfterReads > 0 && int(Reads.size()) == nCloseAfterReads)
            pISocket->CloseSocket(false);
        return true;
    }
    bool OnSocketClose() override
    {
        ++nCloses;
        Threads.push_back(GetCurrentThreadId());
        return true;
    }
    bool OnSocketReserved1() override { return true; }
    bool OnSocketReserved2() override { return true; }
    bool OnSocketReserved3() override { return true; }

    std::vector<int> ConnectCodes;
    std::vector<std::string> ConnectTexts;
    std::vector<tagReadEvent> Reads;
    std::vector<DWORD> Threads;
    IClientSocket* SocketSeen = NULL;
    int nCloses = 0;
    int nCloseAfterReads = 0;
    bool bInsideConnect = false;
    bool bCalledInsideConnect = false;
};

class ClientSocketTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_Helper.CreateInstance()) << m_Helper.GetErrorDescribe();
        m_pSocket = m_Helper.GetInterface();
        ASSERT_TRUE(m_pSocket->SetSocketSink(&m_Sink));
        ASSERT_TRUE(m_Server.Start());
    }

    void TearDown() override
    {
        m_Helper.CloseInstance();
        m_Server.Stop();
    }

    bool Connect(LPCSTR host = "127.0.0.1")
    {
        m_Sink.bInsideConnect = true;
        bool ok = m_pSocket->Connect(host, m_Server.GetPort());
        m_Sink.bInsideConnect = false;
        return ok;
    }

    void ConnectAndAccept()
    {
        int before = m_Server.GetConnectionCount();
        size_t reports = m_Sink.ConnectCodes.size();
        ASSERT_TRUE(Connect());
        ASSERT_TRUE(
            PumpUntil([&] { return m_Sink.ConnectCodes.size() > reports && m_Server.GetConnectionCount() > before; }));
        ASSERT_EQ(0, m_Sink.ConnectCodes.back());
        ASSERT_EQ(SOCKET_STATUS_CONNECT, m_pSocket->GetSocketStatus());
    }

    static std::vector<BYTE> Pattern(size_t n)
    {
        std::vector<BYTE> v(n);
        for (size_t i = 0; i < n; ++i)
            v[i] = BYTE(i * 7 + 3);
        return v;
    }

    CClientSocketHelper m_Helper;
    IClientSocket* m_pSocket = NULL;
    CRecordingSink m_Sink;
    CFrameServer m_Server;
};

TEST_F(ClientSocketTest, ConnectsAndSendsFramesWithExactHeads)
{
    ConnectAndAccept();
    EXPECT_EQ(htonl(INADDR_LOOPBACK), m_pSocket->GetConnectAddress());
    EXPECT_FALSE(m_Sink.bCalledInsideConnect);

    std::vector<BYTE> big = Pattern(0xFFFF);
    const BYTE small[] = {1, 2, 3};
    ASSERT_TRUE(m_pSocket->SendData(0x01020304, 1002, 2, small, sizeof(small)));
    ASSERT_TRUE(m_pSocket->SendData(7, 1005, 1));
    ASSERT_TRUE(m_pSocket->SendData(8, 1003, 1, NULL, 0));
    ASSERT_TRUE(m_pSocket->SendData(9, 0xFFFF, 0xFFFF, big.data(), 0xFFFF));
    ASSERT_TRUE(PumpUntil([&] { return m_Server.GetFrameCount() == 4; }));
    EXPECT_EQ(4u, m_pSocket->GetSendPacketCount());

    const BYTE head[] = {0x54, 0x50, 3, 0, 19, 0, 0, 0, 0x04, 0x03, 0x02, 0x01, 0xEA, 0x03, 2, 0};
    tagServerFrame first = m_Server.GetFrame(0);
    ASSERT_EQ(19u, first.Wire.size());
    EXPECT_EQ(0, memcmp(head, first.Wire.data(), 16));
    EXPECT_EQ(std::vector<BYTE>(small, small + 3), first.Body);

    tagServerFrame bare = m_Server.GetFrame(1);
    EXPECT_EQ(16u, bare.Wire.size());
    EXPECT_EQ(7u, bare.dwSerialNum);
    EXPECT_EQ(16u, m_Server.GetFrame(2).Wire.size());

    tagServerFrame last = m_Server.GetFrame(3);
    EXPECT_EQ(0xFFFFu, last.wMainCmdID);
    EXPECT_EQ(big, last.Body);
    EXPECT_FALSE(m_Server.IsBadFrameSeen(0));
}

TEST_F(ClientSocketTest, RefusesWhatItCannotSend)
{
    const BYTE body[] = {1};
    EXPECT_FALSE(m_pSocket->SendData(1, 1, 1, body, 1)) << "not connected";
    EXPECT_FALSE(m_pSocket->SendData(1, 1, 1));
    EXPECT_FALSE(m_pSocket->Connect("", 9000));
    EXPECT_FALSE(m_pSocket->Connect("127.0.0.1", 0));
    ConnectAndAccept();
    EXPECT_FALSE(m_pSocket->SendData(1, 1, 1, NULL, 5)) << "null body with a size";
    EXPECT_FALSE(m_pSocket->Connect("127.0.0.1", m_Server.GetPort())) << "already connected";
    PumpFor(100);
    EXPECT_EQ(0u, m_Server.GetFrameCount());
}

TEST_F(ClientSocketTest, DeliversFramesHoweverTheStreamIsCut)
{
    ConnectAndAccept();
    std::vector<BYTE> stream;
    std::vector<BYTE> body = Pattern(3000);
    for (int i = 0; i < 3; ++i) {
        std::vector<BYTE> f = CFrameServer::MakeFrame(100 + i, 1003, 1001 + i, body.data(), body.size() - i);
        stream.insert(stream.end(), f.begin(), f.end());
    }
    std::vector<BYTE> empty = CFrameServer::MakeFrame(200, 1002, 1004, NULL, 0);
    stream.insert(stream.end(), empty.begin(), empty.end());

    // Byte by byte through the first frame's head and into its body, the rest in uneven pieces.
    size_t pos = 0;
    for (; pos < 40; ++pos) {
        ASSERT_TRUE(m_Server.SendRaw(0, &stream[pos], 1));
        PumpFor(pos % 8 == 0 ? 5 : 0);
    }
    EXPECT_TRUE(m_Sink.Reads.empty()) << "nothing is delivered before a frame is whole";
    size_t piece = 1;
    while (pos < stream.size()) {
        size_t n = std::min(piece, stream.size() - pos);
        ASSERT_TRUE(m_Server.SendRaw(0, &stream[pos], n));
        pos += n;
        piece = piece * 3 + 1;
        PumpFor(2);
    }
    ASSERT_TRUE(PumpUntil([&] { return m_Sink.Reads.size() == 4; }));
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(DWORD(100 + i), m_Sink.Reads[i].dwSerialNum);
        EXPECT_EQ(1003, m_Sink.Reads[i].wMainCmdID);
        EXPECT_EQ(1001 + i, m_Sink.Reads[i].wSubCmdID);
        EXPECT_EQ(std::vector<BYTE>(body.begin(), body.end() - i), m_Sink.Reads[i].Body);
    }
    EXPECT_TRUE(m_Sink.Reads[3].bNullBody) << "an empty body comes as a null pointer";
    EXPECT_EQ(4u, m_pSocket->GetRecvPacketCount());
    EXPECT_EQ(m_pSocket, m_Sink.SocketSeen);
    for (DWORD tid : m_Sink.Threads)
        EXPECT_EQ(GetCurrentThreadId(), tid) << "events arrive on the owning thread";
    EXPECT_EQ(0, m_Sink.nCloses);
}

TEST_F(ClientSocketTest, LargestBodyArrivesWhole)
{
    ConnectAndAccept();
    std::vector<BYTE> body = Pattern(0xFFFF);
    ASSERT_TRUE(m_Server.SendFrame(0, 5, 1, 2, body.data(), body.size()));
    ASSERT_TRUE(PumpUntil([&] { return m_Sink.Reads.size() == 1; }));
    EXPECT_EQ(body, m_Sink.Reads[0].Body);
}

// Heads whose lengths do not add up: the connection ends, frames before stay delivered.
TEST_F(ClientSocketTest, ClosesOnAFrameThatDoesNotAddUp)
{
    struct Case
    {
        const char* name;
        void (*spoil)(BYTE* head);
    };
    const Case cases[] = {
        {"packet size one short", [](BYTE* h) { h[4] -= 1; }},
        {"packet size one long", [](BYTE* h) { h[4] += 1; }},
        {"packet size high word", [](BYTE* h) { h[6] = 1; }},
        {"wrong mark", [](BYTE* h) { h[0] ^= 0xFF; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_Sink = CRecordingSink();
        ConnectAndAccept();
        int conn = m_Server.GetConnectionCount() - 1;
        const BYTE body[] = {9, 9};
        ASSERT_TRUE(m_Server.SendFrame(conn, 1, 1, 1, body, 2));
        std::vector<BYTE> bad = CFrameServer::MakeFrame(2, 1, 2, body, 2);
        c.spoil(bad.data());
        std::vector<BYTE> after = CFrameServer::MakeFrame(3, 1, 3, body, 2);
        bad.insert(bad.end(), after.begin(), after.end());
        ASSERT_TRUE(m_Server.SendRaw(conn, bad.data(), bad.size()));
        ASSERT_TRUE(PumpUntil([&] { return m_Sink.nCloses == 1; }));
        ASSERT_EQ(1u, m_Sink.Reads.size());
        EXPECT_EQ(1u, m_Sink.Reads[0].dwSerialNum);
        EXPECT_EQ(SOCKET_STATUS_IDLE, m_pSocket->GetSocketStatus());
        EXPECT_EQ(DWORD(WSAECONNABORTED), m_pSocket->GetLastErrorCode());
        ASSERT_TRUE(PumpUntil([&] { return m_Server.IsPeerClosed(conn); }));
        PumpFor(50);
        EXPECT_EQ(1, m_Sink.nCloses);
        EXPECT_EQ(1u, m_Sink.Reads.size());
    }
}

TEST_F(ClientSocketTest, PeerCloseDeliversWholeFramesAndDropsAHalfOne)
{
    ConnectAndAccept();
    const BYTE body[] = {1, 2, 3, 4};
    std::vector<BYTE> stream = CFrameServer::MakeFrame(1, 1, 1, body, 4);
    std::vector<BYTE> half = CFrameServer::MakeFrame(2, 1, 1, body, 4);
    stream.insert(stream.end(), half.begin(), half.begin() + 18);
    ASSERT_TRUE(m_Server.SendRaw(0, stream.data(), stream.size()));
    m_Server.Close(0);
    ASSERT_TRUE(PumpUntil([&] { return m_Sink.nCloses == 1; }));
    ASSERT_EQ(1u, m_Sink.Reads.size());
    EXPECT_EQ(1u, m_Sink.Reads[0].dwSerialNum);
    EXPECT_EQ(SOCKET_STATUS_IDLE, m_pSocket->GetSocketStatus());
    EXPECT_FALSE(m_pSocket->SendData(1, 1, 1));

    // The object connects again afterwards, with fresh counters.
    ConnectAndAccept();
    EXPECT_EQ(0u, m_pSocket->GetRecvPacketCount());
}

TEST_F(ClientSocketTest, PeerResetEndsTheConnection)
{
    ConnectAndAccept();
    m_Server.Abort(0);
    ASSERT_TRUE(PumpUntil([&] { return m_Sink.nCloses == 1; }));
    EXPECT_EQ(SOCKET_STATUS_IDLE, m_pSocket->GetSocketStatus());
}

TEST_F(ClientSocketTest, ConnectFailuresComeLaterThroughTheSink)
{
    struct Case
    {
        const char* name;
        std::string host;
        WORD port;
    };
    const Case cases[] = {
        {"refused", "127.0.0.1", FindClosedPort()},
        {"name that does not resolve", "no-such-host.invalid", 9000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_Sink = CRecordingSink();
        m_Sink.bInsideConnect = true;
        ASSERT_TRUE(m_pSocket->Connect(c.host.c_str(), c.port));
        m_Sink.bInsideConnect = false;
        EXPECT_TRUE(m_Sink.ConnectCodes.empty()) << "never from inside Connect";
        ASSERT_TRUE(PumpUntil([&] { return !m_Sink.ConnectCodes.empty(); }, 10000));
        EXPECT_NE(0, m_Sink.ConnectCodes[0]);
        EXPECT_FALSE(m_Sink.ConnectTexts[0].empty());
        EXPECT_EQ(DWORD(m_Sink.ConnectCodes[0]), m_pSocket->GetLastErrorCode());
        EXPECT_EQ(SOCKET_STATUS_IDLE, m_pSocket->GetSocketStatus());
        PumpFor(50);
        EXPECT_EQ(1u, m_Sink.ConnectCodes.size());
        EXPECT_EQ(0, m_Sink.nCloses) << "no connection was up";
    }
    EXPECT_EQ(WSAHOST_NOT_FOUND, m_Sink.ConnectCodes[0]);
}

TEST_F(ClientSocketTest, ConnectAttemptEndsWithinItsTimeout)
{
    EXPECT_EQ(SOCKET_CONNECT_TIMEOUT_DEFAULT, m_pSocket->SetConnectTimeout(200));
    // An address from the documentation range: either nothing answers and the
    // time-out ends the attempt, or the network says at once that it is unreachable.
    ASSERT_TRUE(m_pSocket->Connect("192.0.2.1", 9000));
    DWORD start = GetTickCount();
    ASSERT_TRUE(PumpUntil([&] { return !m_Sink.ConnectCodes.empty(); }, 3000));
    EXPECT_LT(GetTickCount() - start, 3000u);
    EXPECT_NE(0, m_Sink.ConnectCodes[0]);
    EXPECT_EQ(SOCKET_STATUS_IDLE, m_pSocket->GetSocketStatus());
    EXPECT_EQ(200u, m_pSocket->SetConnectTimeout(0));
    EXPECT_EQ(SOCKET_CONNECT_TIMEOUT_DEFAULT, m_pSocket->SetConnectTimeout(0));
}

TEST_F(ClientSocketTest, CloseNotifiesOnlyWhenAskedAndStopsDelivery)
{
    ConnectAndAccept();
    EXPECT_TRUE(m_pSocket->CloseSocket(false));
    EXPECT_EQ(0, m_Sink.nCloses);
    EXPECT_EQ(SOCKET_STATUS_IDLE, m_pSocket->GetSocketStatus());
    EXPECT_EQ(0u, m_pSocket->GetConnectAddress());
    ASSERT_TRUE(PumpUntil([&] { return m_Server.IsPeerClosed(0); }));

    ConnectAndAccept();
    ASSERT_TRUE(m_Server.SendFrame(1, 1, 1, 1));
    EXPECT_TRUE(m_pSocket->CloseSocket(true));
    EXPECT_EQ(1, m_Sink.nCloses) << "heard before CloseSocket returns";
    PumpFor(100);
    EXPECT_TRUE(m_Sink.Reads.empty()) << "nothing arrives after the close";
    EXPECT_TRUE(m_pSocket->CloseSocket(true));
    EXPECT_EQ(1, m_Sink.nCloses) << "no connection, no notice";
}

TEST_F(ClientSocketTest, SinkClosingDuringAReadStopsTheRest)
{
    ConnectAndAccept();
    m_Sink.nCloseAfterReads = 2;
    std::vector<BYTE> stream;
    for (int i = 0; i < 5; ++i) {
        std::vector<BYTE> f = CFrameServer::MakeFrame(i, 1, 1, NULL, 0);
        stream.insert(stream.end(), f.begin(), f.end());
    }
    ASSERT_TRUE(m_Server.SendRaw(0, stream.data(), stream.size()));
    ASSERT_TRUE(PumpUntil([&] { return m_pSocket->GetSocketStatus() == SOCKET_STATUS_IDLE; }));
    PumpFor(50);
    EXPECT_EQ(2u, m_Sink.Reads.size());
    EXPECT_EQ(0, m_Sink.nCloses);
}

TEST_F(ClientSocketTest, SinkIsAskedForItsInterface)
{
    struct NoSink : IUnknownEx
    {
        ULONG AddRef() override { return 1; }
        ULONG Release() override { return 1; }
        HRESULT QueryInterface(REFGUID, void** out) override
        {
            *out = NULL;
            return E_NOINTERFACE;
        }
    } other;
    EXPECT_FALSE(m_pSocket->SetSocketSink(&other));
    EXPECT_EQ(static_cast<IUnknownEx*>(&m_Sink), m_pSocket->GetSocketSink()) << "the old sink stays";
    EXPECT_TRUE(m_pSocket->SetSocketSink(NULL));
    EXPECT_EQ(nullptr, m_pSocket->GetSocketSink());
    EXPECT_FALSE(m_pSocket->Connect("127.0.0.1", m_Server.GetPort())) << "no sink to tell";
}

TEST(PellimorLibrary, ServesOnlyTheClientSocketClass)
{
    HMODULE module = LoadLibraryA("Pellimor.dll");
    ASSERT_NE(nullptr, module);
    ModuleCreateProc create =
        reinterpret_cast<ModuleCreateProc>(reinterpret_cast<void (*)()>(GetProcAddress(module, "DllGetClassObject")));
    ASSERT_NE(nullptr, create);
    void* object = reinterpret_cast<void*>(1);
    EXPECT_EQ(CLASS_E_CLASSNOTAVAILABLE, create(IID_IClientSocket, IID_IClientSocket, &object));
    EXPECT_EQ(nullptr, object);
    EXPECT_EQ(E_NOINTERFACE, create(CLSID_ClientSocket, IID_IClientSocketSink, &object));
    EXPECT_EQ(nullptr, object);
    ASSERT_EQ(S_OK, create(CLSID_ClientSocket, IID_IUnknownEx, &object));
    EXPECT_EQ(0u, static_cast<IUnknownEx*>(object)->Release());
    FreeLibrary(module);
}

} // namespace
