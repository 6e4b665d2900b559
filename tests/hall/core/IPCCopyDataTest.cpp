#include "IPCCopyData.h"
#include "TestWait.h"

#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <vector>

namespace
{

struct Message
{
    WORD main, sub, size;
    bool nullData;
    std::vector<BYTE> data;
    HWND sender;
};

// A counted sink that records what reaches it.
class RecordingSink : public IChannelMessageSink
{
public:
    ULONG AddRef() override { return ++refs; }
    ULONG Release() override { return --refs; }
    HRESULT QueryInterface(REFGUID iid, void** out) override
    {
        if (iid == IID_IChannelMessageSink || iid == IID_IUnknownEx) {
            *out = static_cast<IChannelMessageSink*>(this);
            AddRef();
            return S_OK;
        }
        *out = NULL;
        return E_NOINTERFACE;
    }
    bool OnChannelMessage(const tagIPCHead* head, const void* data, WORD dataSize, HWND sender) override
    {
        Message m = {head->wMainCmdID, head->wSubCmdID, head->wSize, data == NULL, {}, sender};
        EXPECT_EQ(head->wVersion, IPC_VERSION);
        EXPECT_EQ(head->wSize, dataSize);
        if (data != NULL)
            m.data.assign((const BYTE*)data, (const BYTE*)data + dataSize);
        messages.push_back(m);
        return answer;
    }

    ULONG refs = 1;
    bool answer = true;
    std::vector<Message> messages;
};

// Answers no channel sink.
class NotASink : public IUnknownEx
{
public:
    ULONG AddRef() override { return ++refs; }
    ULONG Release() override { return --refs; }
    HRESULT QueryInterface(REFGUID iid, void** out) override
    {
        *out = NULL;
        return E_NOINTERFACE;
    }
    ULONG refs = 1;
};

// A window that hands WM_COPYDATA to its receiver, and keeps the raw frames.
class ChannelWindow
{
public:
    ChannelWindow()
    {
        static const char* className = [] {
            WNDCLASSA wc = {};
            wc.lpfnWndProc = Proc;
            wc.hInstance = GetModuleHandleA(NULL);
            wc.lpszClassName = "TavrelIpcTest";
            RegisterClassA(&wc);
            return "TavrelIpcTest";
        }();
        hwnd =
            CreateWindowA(className, "", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, NULL, NULL, GetModuleHandleA(NULL), this);
        receiver.SetChannelMessageSink(&sink);
    }
    ~ChannelWindow()
    {
        DestroyWindow(hwnd);
        receiver.SetChannelMessageSink(NULL);
    }

    struct Frame
    {
        HWND wParam;
        ULONG_PTR dwData;
        std::vector<BYTE> bytes;
    };

    HWND hwnd;
    RecordingSink sink;
    CIPCRecvCopyData receiver;
    std::vector<Frame> frames;

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
    {
        if (msg == WM_NCCREATE)
            SetWindowLongPtrA(hwnd, GWLP_USERDATA, (LONG_PTR)((CREATESTRUCTA*)lParam)->lpCreateParams);
        ChannelWindow* self = (ChannelWindow*)GetWindowLongPtrA(hwnd, GWLP_USERDATA);
        if (msg == WM_COPYDATA && self != nullptr) {
            const COPYDATASTRUCT* cds = (const COPYDATASTRUCT*)lParam;
            const BYTE* bytes = (const BYTE*)cds->lpData;
            self->frames.push_back({(HWND)wParam, cds->dwData, std::vector<BYTE>(bytes, bytes + cds->cbData)});
            return self->receiver.OnCopyData((HWND)wParam, cds);
        }
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
};

std::vector<BYTE> Pattern(size_t size)
{
    std::vector<BYTE> bytes(size);
    for (size_t i = 0; i < size; ++i)
        bytes[i] = BYTE(i * 7 + 3);
    return bytes;
}

std::vector<BYTE> Frame(WORD version, WORD size, WORD main, WORD sub, size_t dataBytes = 0)
{
    tagIPCHead head = {version, size, main, sub};
    std::vector<BYTE> frame((const BYTE*)&head, (const BYTE*)&head + sizeof(head));
    std::vector<BYTE> data = Pattern(dataBytes);
    frame.insert(frame.end(), data.begin(), data.end());
    return frame;
}

// ---- one process ------------------------------------------------------------

TEST(IPCSend, FramesOnTheWire)
{
    ChannelWindow peer, sender;
    CIPCSendCopyData channel(peer.hwnd, sender.hwnd);
    ASSERT_TRUE(channel.IsPeerAlive());

    std::vector<BYTE> full = Pattern(IPC_MAX_DATA);
    EXPECT_TRUE(channel.SendCommand(3, 4));
    EXPECT_TRUE(channel.SendData(5, 6, full.data(), IPC_MAX_DATA));
    EXPECT_FALSE(channel.SendData(5, 6, Pattern(IPC_MAX_DATA + 1).data(), IPC_MAX_DATA + 1));
    EXPECT_TRUE(channel.SendData(7, 8, NULL, 10)); // no data to copy: the head alone
    EXPECT_TRUE(channel.SendData(7, 9, full.data(), 0));
    const BYTE raw[] = {1, 2, 3};
    EXPECT_TRUE(channel.SendRawCopyData(77, raw, sizeof(raw)));

    ASSERT_EQ(peer.frames.size(), 5u);
    for (const auto& f : peer.frames)
        EXPECT_EQ(f.wParam, sender.hwnd);
    EXPECT_EQ(peer.frames[0].dwData, IPC_IDENTIFIER);
    EXPECT_EQ(peer.frames[0].bytes, Frame(1, 8, 3, 4));
    EXPECT_EQ(peer.frames[1].bytes.size(), 4104u);
    EXPECT_EQ(peer.frames[1].bytes, Frame(1, 4104, 5, 6, IPC_MAX_DATA));
    EXPECT_EQ(peer.frames[2].bytes, Frame(1, 8, 7, 8));
    EXPECT_EQ(peer.frames[3].bytes, Frame(1, 8, 7, 9));
    EXPECT_EQ(peer.frames[4].dwData, 77u);
    EXPECT_EQ(peer.frames[4].bytes, std::vector<BYTE>(raw, raw + 3));

    // Everything but the raw frame reached the sink.
    ASSERT_EQ(peer.sink.messages.size(), 4u);
    EXPECT_EQ(peer.sink.messages[1].data, full);
    EXPECT_EQ(peer.sink.messages[1].sender, sender.hwnd);
}

TEST(IPCSend, WindowsAreCheckedAndFound)
{
    ChannelWindow peer;
    CIPCSendCopyData channel((HWND)ULongToHandle(0x7FFF0), NULL);
    EXPECT_FALSE(channel.IsPeerAlive());
    EXPECT_FALSE(channel.SendCommand(1, 1));
    EXPECT_FALSE(channel.SendRawCopyData(1, NULL, 0));
    EXPECT_FALSE(channel.SetSenderWindow(NULL));
    EXPECT_TRUE(channel.SetSenderWindow(peer.hwnd));

    EXPECT_FALSE(channel.FindPeerWindow("TavrelNoSuchClass"));
    EXPECT_TRUE(channel.FindPeerWindow("TavrelIpcTest"));
    EXPECT_TRUE(channel.SendCommand(1, 2));
    ASSERT_EQ(peer.sink.messages.size(), 1u);

    EXPECT_TRUE(channel.SetPeerWindow(peer.hwnd));
    EXPECT_FALSE(channel.SetPeerWindow(NULL));
    EXPECT_FALSE(channel.IsPeerAlive());
}

struct ReceiveCase
{
    const char* name;
    ULONG_PTR dwData;
    std::vector<BYTE> frame;
    DWORD cbData; // 0: the frame's size
    bool accepted;
};

class IPCReceive : public testing::TestWithParam<ReceiveCase>
{};

TEST_P(IPCReceive, ChecksEveryFrame)
{
    const ReceiveCase& c = GetParam();
    RecordingSink sink;
    CIPCRecvCopyData receiver;
    ASSERT_TRUE(receiver.SetChannelMessageSink(&sink));

    std::vector<BYTE> frame = c.frame;
    COPYDATASTRUCT cds = {c.dwData, c.cbData ? c.cbData : DWORD(frame.size()), frame.data()};
    HWND sender = (HWND)ULongToHandle(0x1234);
    EXPECT_EQ(receiver.OnCopyData(sender, &cds), c.accepted);
    ASSERT_EQ(sink.messages.size(), c.accepted ? 1u : 0u);
    if (c.accepted) {
        const Message& m = sink.messages[0];
        size_t dataSize = frame.size() - 8;
        EXPECT_EQ(m.main, 11);
        EXPECT_EQ(m.sub, 12);
        EXPECT_EQ(m.size, dataSize);
        EXPECT_EQ(m.nullData, dataSize == 0);
        EXPECT_EQ(m.data, Pattern(dataSize));
        EXPECT_EQ(m.sender, sender);
    }
    receiver.SetChannelMessageSink(NULL);
}

const ReceiveCase kReceiveCases[] = {
    {"HeadOnly", 1, Frame(1, 8, 11, 12), 0, true},
    {"OneByte", 1, Frame(1, 9, 11, 12, 1), 0, true},
    {"LargestFrame", 1, Frame(1, 4104, 11, 12, 4096), 0, true},
    {"OtherIdentifier", 2, Frame(1, 8, 11, 12), 0, false},
    {"ShortFrame", 1, std::vector<BYTE>{1, 0, 7, 0, 11, 0, 12}, 0, false},
    {"EmptyFrame", 1, std::vector<BYTE>(), 0, false},
    {"OtherVersion", 1, Frame(2, 8, 11, 12), 0, false},
    {"VersionZero", 1, Frame(0, 8, 11, 12), 0, false},
    {"SizeOneOver", 1, Frame(1, 10, 11, 12, 1), 0, false},
    {"SizeOneUnder", 1, Frame(1, 8, 11, 12, 1), 0, false},
    {"SizeBelowHead", 1, Frame(1, 4, 11, 12), 0, false},
    {"CountLargerThanTheBytes", 1, Frame(1, 8, 11, 12), 4104, false},
    {"DataOver4096", 1, Frame(1, 4105, 11, 12, 4097), 0, false},
};

INSTANTIATE_TEST_SUITE_P(Cases, IPCReceive, testing::ValuesIn(kReceiveCases),
                         [](const testing::TestParamInfo<ReceiveCase>& info) { return info.param.name; });

TEST(IPCReceiveSink, RefusesWithoutASinkAndPassesTheSinksAnswer)
{
    std::vector<BYTE> frame = Frame(1, 8, 1, 1);
    COPYDATASTRUCT cds = {1, 8, frame.data()};
    CIPCRecvCopyData receiver;
    EXPECT_FALSE(receiver.OnCopyData(NULL, &cds));
    EXPECT_FALSE(receiver.OnCopyData(NULL, NULL));

    RecordingSink sink;
    sink.answer = false;
    receiver.SetChannelMessageSink(&sink);
    EXPECT_FALSE(receiver.OnCopyData(NULL, &cds));
    EXPECT_EQ(sink.messages.size(), 1u);
    receiver.SetChannelMessageSink(NULL);
}

TEST(IPCReceiveSink, ChangingTheSinkReleasesTheOldOne)
{
    RecordingSink first;
    NotASink other;
    {
        CIPCRecvCopyData receiver;
        EXPECT_TRUE(receiver.SetChannelMessageSink(&first));
        EXPECT_EQ(first.refs, 2u);

        // The new object has no sink: the old one is let go all the same.
        EXPECT_FALSE(receiver.SetChannelMessageSink(&other));
        EXPECT_EQ(first.refs, 1u);
        EXPECT_EQ(other.refs, 1u);

        EXPECT_TRUE(receiver.SetChannelMessageSink(&first));
        EXPECT_EQ(first.refs, 2u);
    }
    EXPECT_EQ(first.refs, 1u); // the destructor releases it
}

// ---- two processes ----------------------------------------------------------

std::string ProgramFolder()
{
    char path[MAX_PATH];
    GetModuleFileNameA(NULL, path, MAX_PATH);
    std::string folder(path);
    return folder.substr(0, folder.find_last_of('\\') + 1);
}

class IPCTwoProcesses : public testing::Test
{
protected:
    void SetUp() override
    {
        std::string command = "\"" + ProgramFolder() + "ipc_peer.exe\" " + std::to_string(HandleToULong(window.hwnd));
        STARTUPINFOA si = {sizeof(si)};
        ASSERT_TRUE(CreateProcessA(NULL, &command[0], NULL, NULL, FALSE, 0, NULL, NULL, &si, &peerProcess));
        ASSERT_TRUE(PumpUntil([&] { return !window.sink.messages.empty(); })) << "the peer never said hello";

        const Message& hello = window.sink.messages[0];
        EXPECT_EQ(hello.main, 0);
        EXPECT_EQ(hello.sub, 1);
        peer = hello.sender;
        window.sink.messages.clear();
        ASSERT_TRUE(channel.SetPeerWindow(peer));
        ASSERT_TRUE(channel.SetSenderWindow(window.hwnd));
    }

    void TearDown() override
    {
        if (peerProcess.hProcess) {
            if (WaitForSingleObject(peerProcess.hProcess, 0) == WAIT_TIMEOUT) {
                channel.SendCommand(9, 9);
                if (WaitForSingleObject(peerProcess.hProcess, 5000) != WAIT_OBJECT_0)
                    TerminateProcess(peerProcess.hProcess, 1);
            }
            CloseHandle(peerProcess.hProcess);
            CloseHandle(peerProcess.hThread);
        }
    }

    ChannelWindow window;
    CIPCSendCopyData channel;
    PROCESS_INFORMATION peerProcess = {};
    HWND peer = NULL;
};

TEST_F(IPCTwoProcesses, MessagesCrossBothWays)
{
    std::vector<BYTE> full = Pattern(IPC_MAX_DATA);
    const BYTE one = 0x5A;
    EXPECT_TRUE(channel.SendCommand(5, 6));
    EXPECT_TRUE(channel.SendData(7, 8, &one, 1));
    EXPECT_TRUE(channel.SendData(7, 9, full.data(), IPC_MAX_DATA));
    EXPECT_TRUE(channel.SendData(7, 10, NULL, 20));
    EXPECT_FALSE(channel.SendData(7, 11, full.data(), IPC_MAX_DATA + 1));

    // Each send is synchronous: the peer's answer is already here.
    const auto& got = window.sink.messages;
    ASSERT_EQ(got.size(), 4u);
    EXPECT_EQ(got[0].main, 105);
    EXPECT_EQ(got[0].sub, 6);
    EXPECT_TRUE(got[0].nullData);
    EXPECT_EQ(got[1].main, 107);
    EXPECT_EQ(got[1].data, std::vector<BYTE>{one});
    EXPECT_EQ(got[2].sub, 9);
    EXPECT_EQ(got[2].size, IPC_MAX_DATA);
    EXPECT_EQ(got[2].data, full);
    EXPECT_EQ(got[3].sub, 10);
    EXPECT_EQ(got[3].size, 0);
    EXPECT_TRUE(got[3].nullData);
    for (const auto& m : got)
        EXPECT_EQ(m.sender, peer);
}

TEST_F(IPCTwoProcesses, ThePeerRefusesMalformedFrames)
{
    struct Raw
    {
        DWORD dwData;
        std::vector<BYTE> frame;
    };
    const Raw raws[] = {
        {2, Frame(1, 8, 1, 1)},          {1, std::vector<BYTE>{1, 0, 7, 0, 1, 0, 1}},
        {1, Frame(1, 9, 1, 1)},          {1, Frame(2, 8, 1, 1)},
        {1, Frame(1, 4105, 1, 1, 4097)},
    };
    for (const Raw& raw : raws)
        EXPECT_TRUE(channel.SendRawCopyData(raw.dwData, raw.frame.data(), WORD(raw.frame.size())));

    ASSERT_EQ(window.sink.messages.size(), 5u);
    for (const auto& m : window.sink.messages) {
        EXPECT_EQ(m.main, 200);
        EXPECT_EQ(m.sub, 0);
    }
}

TEST_F(IPCTwoProcesses, ADeadPeerTakesNothing)
{
    EXPECT_TRUE(channel.SendCommand(9, 9));
    ASSERT_EQ(WaitForSingleObject(peerProcess.hProcess, 10000), WAIT_OBJECT_0);
    ASSERT_TRUE(PumpUntil([&] { return !IsWindow(peer); }));

    BYTE data[4] = {};
    EXPECT_FALSE(channel.IsPeerAlive());
    EXPECT_FALSE(channel.SendCommand(1, 1));
    EXPECT_FALSE(channel.SendData(1, 1, data, sizeof(data)));
    EXPECT_FALSE(channel.SendRawCopyData(1, data, sizeof(data)));
    EXPECT_TRUE(window.sink.messages.empty());
}

} // namespace
