#include "Message.h"
#include "TestWait.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace
{

const UINT WM_HALL_NOTIFY = WM_USER + 123;

// A real top-level window that records every notification it receives.
struct Listener
{
    struct Received
    {
        WPARAM wParam;
        tagNotifyHead head;
        LPARAM lParam;
    };

    explicit Listener(std::string name, std::vector<std::string>* order = nullptr) : name(std::move(name)), order(order)
    {
        hwnd = CreateWindowA(ClassName(), this->name.c_str(), WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, NULL, NULL,
                             GetModuleHandleA(NULL), this);
    }
    ~Listener()
    {
        if (IsWindow(hwnd))
            DestroyWindow(hwnd);
    }

    static const char* ClassName()
    {
        static bool registered = false;
        if (!registered) {
            WNDCLASSA wc = {};
            wc.lpfnWndProc = Proc;
            wc.hInstance = GetModuleHandleA(NULL);
            wc.lpszClassName = "TavrelHubListener";
            registered = RegisterClassA(&wc) != 0;
        }
        return "TavrelHubListener";
    }

    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
    {
        if (msg == WM_NCCREATE)
            SetWindowLongPtrA(hwnd, GWLP_USERDATA, (LONG_PTR)((CREATESTRUCTA*)lParam)->lpCreateParams);
        Listener* self = (Listener*)GetWindowLongPtrA(hwnd, GWLP_USERDATA);
        if (msg == WM_HALL_NOTIFY && self != nullptr) {
            tagNotifyHead head = {};
            if (wParam > 0xFFFF) // small values are plain test values, not heads
                head = *(const tagNotifyHead*)wParam;
            self->received.push_back({wParam, head, lParam});
            if (self->order)
                self->order->push_back(self->name);
            if (self->onNotify)
                self->onNotify();
            return 0;
        }
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }

    std::string name;
    std::vector<std::string>* order;
    HWND hwnd = NULL;
    std::vector<Received> received;
    std::function<void()> onNotify;
};

class TestHub : public CMessage
{
public:
    using CMessage::SetSerialNumber;
};

class HubTest : public testing::Test
{
protected:
    void SetUp() override { hub.SetNotifyMessage(WM_HALL_NOTIFY); }

    int CountFor(WORD main, WORD sub)
    {
        BN_INFO windows;
        return hub.GetNotifyWindows(main, sub, windows);
    }

    TestHub hub;
    std::vector<std::string> order;
};

TEST_F(HubTest, NotifyReachesTheKeysWindowsInRegistrationOrder)
{
    Listener a("a", &order), b("b", &order), other("other", &order);
    hub.AddNotifyWindow(1, 2, b.hwnd);
    hub.AddNotifyWindow(1, 2, a.hwnd);
    hub.AddNotifyWindow(1, 2, b.hwnd); // once per key
    hub.AddNotifyWindow(2, 1, other.hwnd);
    hub.AddNotifyWindow(1, 2, NULL);

    BN_INFO windows;
    ASSERT_EQ(hub.GetNotifyWindows(1, 2, windows), 2);
    EXPECT_EQ(windows[0], b.hwnd);
    EXPECT_EQ(windows[1], a.hwnd);

    int record = 0;
    hub.Notify(1, 2, (LPARAM)&record);
    EXPECT_EQ(order, (std::vector<std::string>{"b", "a"}));
    ASSERT_EQ(a.received.size(), 1u);
    EXPECT_EQ(a.received[0].head.dwSerialNum, 0u);
    EXPECT_EQ(a.received[0].head.wMainCmdID, 1);
    EXPECT_EQ(a.received[0].head.wSubCmdID, 2);
    EXPECT_EQ(a.received[0].lParam, (LPARAM)&record);
    EXPECT_TRUE(other.received.empty());

    // The key packs (main << 16) | sub: (2,1) and (1,2) stay apart.
    hub.SendNotify(2, 1, 7, 8);
    ASSERT_EQ(other.received.size(), 1u);
    EXPECT_EQ(other.received[0].wParam, 7u);
    EXPECT_EQ(other.received[0].lParam, 8);
    EXPECT_EQ(a.received.size(), 1u);
}

TEST_F(HubTest, SerialNotifyReachesOnlyTheRequestsWindows)
{
    Listener asker("asker"), bystander("bystander");
    DWORD serial = CMessage::NextSerialNumber();
    hub.AddSerialWindow(serial, asker.hwnd);
    hub.AddSerialWindow(serial, asker.hwnd);
    hub.AddNotifyWindow(1, 3, bystander.hwnd);

    BN_INFO windows;
    EXPECT_EQ(hub.GetSerialWindows(serial, windows), 1);

    tagNotifyHead head = {serial, 1, 3};
    hub.SendSerialNotify(serial, (WPARAM)&head, 5);
    ASSERT_EQ(asker.received.size(), 1u);
    EXPECT_EQ(asker.received[0].head.dwSerialNum, serial);
    EXPECT_TRUE(bystander.received.empty());

    hub.SendSerialNotify(serial + 1, (WPARAM)&head, 5); // nobody asked
    EXPECT_EQ(asker.received.size(), 1u);
}

TEST_F(HubTest, MessageZeroSendsAndPostsNothingButKeepsTheLists)
{
    Listener a("a");
    hub.AddNotifyWindow(1, 1, a.hwnd);
    DWORD serial = CMessage::NextSerialNumber();
    hub.AddSerialWindow(serial, a.hwnd);
    hub.SetNotifyMessage(0);

    tagNotifyHead head = {0, 1, 1};
    hub.Notify(1, 1, 0);
    hub.SendSerialNotify(serial, 0, 0);
    hub.PostNotify(&head, 0);
    PumpMessages();
    EXPECT_TRUE(a.received.empty());
    EXPECT_EQ(CountFor(1, 1), 1);

    hub.SetNotifyMessage(WM_HALL_NOTIFY);
    hub.Notify(1, 1, 0);
    EXPECT_EQ(a.received.size(), 1u);
}

TEST_F(HubTest, RemovingTheLastWindowRemovesTheKey)
{
    Listener a("a"), b("b");
    hub.AddNotifyWindow(3, 4, a.hwnd);
    hub.AddNotifyWindow(3, 4, a.hwnd);
    hub.AddNotifyWindow(3, 4, b.hwnd);

    hub.RemoveNotifyWindow(3, 4, a.hwnd);
    EXPECT_EQ(CountFor(3, 4), 1);
    hub.RemoveNotifyWindow(3, 5, b.hwnd); // unknown key: nothing happens
    hub.RemoveNotifyWindow(3, 4, b.hwnd);
    EXPECT_EQ(CountFor(3, 4), -1);

    hub.Notify(3, 4, 0);
    EXPECT_TRUE(a.received.empty());
    EXPECT_TRUE(b.received.empty());
}

TEST_F(HubTest, UnknownKeyLeavesTheOutArrayUntouched)
{
    BN_INFO windows;
    windows.Add((HWND)0x1234);
    EXPECT_EQ(hub.GetNotifyWindows(9, 9, windows), -1);
    EXPECT_EQ(hub.GetSerialWindows(0xABCDEF, windows), -1);
    ASSERT_EQ(windows.GetSize(), 1);
    EXPECT_EQ(windows[0], (HWND)0x1234);

    hub.AddNotifyWindow(1, 1, NULL); // a null window makes no list either
    EXPECT_EQ(hub.GetNotifyWindows(1, 1, windows), -1);
}

TEST_F(HubTest, DestroyedWindowReceivesNothing)
{
    auto gone = std::make_unique<Listener>("gone", &order);
    Listener alive("alive", &order);
    hub.AddNotifyWindow(1, 8, gone->hwnd);
    hub.AddNotifyWindow(1, 8, alive.hwnd);
    HWND goneHandle = gone->hwnd;
    gone.reset();
    ASSERT_FALSE(IsWindow(goneHandle));

    hub.Notify(1, 8, 0);
    EXPECT_EQ(order, std::vector<std::string>{"alive"});
    EXPECT_EQ(CountFor(1, 8), 2); // skipped, not removed
}

TEST_F(HubTest, ListenersMayUnregisterOrDestroyWindowsWhileNotified)
{
    Listener first("first", &order), second("second", &order), third("third", &order);
    auto destroyed = std::make_unique<Listener>("destroyed", &order);
    hub.AddNotifyWindow(2, 5, first.hwnd);
    hub.AddNotifyWindow(2, 5, second.hwnd);
    hub.AddNotifyWindow(2, 5, third.hwnd);
    hub.AddNotifyWindow(2, 5, destroyed->hwnd);
    first.onNotify = [&] {
        hub.RemoveNotifyWindow(2, 5, first.hwnd);
        hub.RemoveNotifyWindow(2, 5, third.hwnd);
        DestroyWindow(destroyed->hwnd);
    };

    // The round in progress goes on over its copy of the list; a window
    // destroyed meanwhile is skipped.
    hub.Notify(2, 5, 0);
    EXPECT_EQ(order, (std::vector<std::string>{"first", "second", "third"}));

    order.clear();
    first.onNotify = nullptr;
    hub.Notify(2, 5, 0);
    EXPECT_EQ(order, std::vector<std::string>{"second"});
}

TEST_F(HubTest, PostNotifyArrivesWhenMessagesArePumped)
{
    Listener a("a"), b("b"), other("other");
    hub.AddNotifyWindow(6, 2, a.hwnd);
    hub.AddNotifyWindow(6, 2, b.hwnd);
    hub.AddNotifyWindow(6, 3, other.hwnd);

    static const tagNotifyHead head = {0, 6, 2};
    hub.PostNotify(&head, 1);
    EXPECT_TRUE(a.received.empty()); // posted, not sent

    PumpMessages();
    ASSERT_EQ(a.received.size(), 1u);
    ASSERT_EQ(b.received.size(), 1u);
    EXPECT_EQ(a.received[0].wParam, (WPARAM)&head);
    EXPECT_EQ(a.received[0].lParam, 1);
    EXPECT_TRUE(other.received.empty());
}

TEST(HubSerial, CounterIsSharedByAllHubsAndSkipsZero)
{
    TestHub first;
    CMessage second;
    TestHub::SetSerialNumber(0xFFFFFFFD);
    EXPECT_EQ(first.NextSerialNumber(), 0xFFFFFFFEu);
    EXPECT_EQ(second.NextSerialNumber(), 0xFFFFFFFFu);
    EXPECT_EQ(first.NextSerialNumber(), 1u);
    EXPECT_EQ(CMessage::NextSerialNumber(), 2u);
}

} // namespace
