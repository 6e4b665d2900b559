// The other end of the channel for the two-process tests: a program with one
// window that receives through CIPCRecvCopyData and answers through
// CIPCSendCopyData.
//
//   ipc_peer.exe <window of the test, decimal>
//
// On start it sends (0,1) to the test's window. Every accepted message comes
// back as (main + 100, sub) with the same data; every refused frame is
// answered with (200,0); (9,9) ends the program.
#include "IPCCopyData.h"

#include <stdlib.h>

namespace
{

CIPCRecvCopyData g_receiver;
CIPCSendCopyData g_sender;

class CEchoSink : public IChannelMessageSink
{
public:
    ULONG AddRef() override { return 1; }
    ULONG Release() override { return 1; }
    HRESULT QueryInterface(REFGUID iid, void** out) override
    {
        if (iid == IID_IChannelMessageSink || iid == IID_IUnknownEx) {
            *out = static_cast<IChannelMessageSink*>(this);
            return S_OK;
        }
        *out = NULL;
        return E_NOINTERFACE;
    }
    bool OnChannelMessage(const tagIPCHead* head, const void* data, WORD dataSize, HWND sender) override
    {
        if (head->wMainCmdID == 9 && head->wSubCmdID == 9) {
            PostQuitMessage(0);
            return true;
        }
        g_sender.SetPeerWindow(sender);
        return g_sender.SendData(WORD(head->wMainCmdID + 100), head->wSubCmdID, data, dataSize);
    }
};

CEchoSink g_sink;

LRESULT CALLBACK PeerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_COPYDATA) {
        bool accepted = g_receiver.OnCopyData((HWND)wParam, (const COPYDATASTRUCT*)lParam);
        if (!accepted && g_sender.SetPeerWindow((HWND)wParam))
            g_sender.SendCommand(200, 0);
        return accepted;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return 2;
    HWND test = (HWND)ULongToHandle(strtoul(argv[1], NULL, 10));

    WNDCLASSA wc = {};
    wc.lpfnWndProc = PeerProc;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.lpszClassName = "TavrelIpcPeer";
    RegisterClassA(&wc);
    HWND self = CreateWindowA("TavrelIpcPeer", "", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, NULL, NULL, wc.hInstance, NULL);
    if (self == NULL || !g_receiver.SetChannelMessageSink(&g_sink))
        return 3;

    g_sender.SetSenderWindow(self);
    if (!g_sender.SetPeerWindow(test) || !g_sender.SendCommand(0, 1))
        return 4;

    MSG msg;
    while (GetMessageA(&msg, NULL, 0, 0) > 0)
        DispatchMessageA(&msg);
    DestroyWindow(self);
    return 0;
}
