#include "DataCenterTestSupport.h"

#include "GlobalOption.h"
#include "GlobalUnits.h"

const WORD kHallNotifyKeys[][2] = {
    {1, 1}, {1, 2}, {1, 3}, {1, 6}, {1, 7}, {1, 8}, {1, 9}, {2, 5},  {2, 6},  {2, 7},  {3, 1},  {3, 2},
    {3, 3}, {3, 4}, {3, 5}, {3, 6}, {3, 7}, {3, 8}, {4, 1}, {5, 1},  {6, 1},  {6, 2},  {7, 1},  {7, 2},
    {7, 3}, {7, 4}, {7, 5}, {7, 6}, {7, 7}, {7, 8}, {7, 9}, {7, 10}, {7, 11}, {7, 12}, {7, 13}, {8, 1},
};
const size_t kHallNotifyKeyCount = sizeof(kHallNotifyKeys) / sizeof(kHallNotifyKeys[0]);

namespace
{

CWinApp* TheApp()
{
    static CWinApp* app = new CWinApp("DataCenterTests");
    return app;
}

} // namespace

CNotifyRecorder::CNotifyRecorder()
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.lpszClassName = "HallNotifyRecorder";
    RegisterClassA(&wc);
    m_hWnd = CreateWindowA("HallNotifyRecorder", "", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL, wc.hInstance, this);
}

CNotifyRecorder::~CNotifyRecorder()
{
    DestroyWindow(m_hWnd);
}

LRESULT CALLBACK CNotifyRecorder::WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_NCCREATE) {
        SetWindowLongPtrA(hWnd, GWLP_USERDATA, LONG_PTR(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
        return TRUE;
    }
    CNotifyRecorder* self = reinterpret_cast<CNotifyRecorder*>(GetWindowLongPtrA(hWnd, GWLP_USERDATA));
    if (uMsg != WM_HALL_NOTIFY || self == NULL)
        return DefWindowProcA(hWnd, uMsg, wParam, lParam);

    const tagNotifyHead* head = reinterpret_cast<const tagNotifyHead*>(wParam);
    tagHeardNotify n = {};
    n.hWnd = hWnd;
    n.dwSerialNum = head->dwSerialNum;
    n.wMainCmdID = head->wMainCmdID;
    n.wSubCmdID = head->wSubCmdID;
    n.lParam = lParam;
    n.lValue = LONG(lParam);
    DWORD key = (DWORD(head->wMainCmdID) << 16) | head->wSubCmdID;
    switch (key) {
    case (1 << 16) | 2: {
        const tagConnectNotice* c = reinterpret_cast<const tagConnectNotice*>(lParam);
        n.lValue = c->lErrorCode;
        n.strText = c->pszErrorText != NULL ? c->pszErrorText : "(null)";
        break;
    }
    case (1 << 16) | 3: n.Logon = *reinterpret_cast<const tagLogonNotice*>(lParam); break;
    case (1 << 16) | 6: n.lValue = *reinterpret_cast<const LONG*>(lParam); break;
    case (3 << 16) | 7: n.Account = *reinterpret_cast<const tagAccountNotice*>(lParam); break;
    case (4 << 16) | 1: n.System = *reinterpret_cast<const tagSystemMessage*>(lParam); break;
    case (6 << 16) | 1: n.UserValue = *reinterpret_cast<const tagUserValueItem*>(lParam); break;
    }
    self->Heard.push_back(n);
    return 0;
}

std::vector<tagHeardNotify> CNotifyRecorder::Of(WORD wMainCmdID, WORD wSubCmdID) const
{
    std::vector<tagHeardNotify> result;
    for (const tagHeardNotify& n : Heard) {
        if (n.wMainCmdID == wMainCmdID && n.wSubCmdID == wSubCmdID)
            result.push_back(n);
    }
    return result;
}

std::string CNotifyRecorder::Keys() const
{
    std::string keys;
    for (const tagHeardNotify& n : Heard)
        keys += "(" + std::to_string(n.wMainCmdID) + "," + std::to_string(n.wSubCmdID) + ")";
    return keys;
}

void DataCenterTest::SetUp()
{
    g_GlobalUnits.ResetUserData();
    g_GlobalOption.SetConfigDirectory((m_Folder.Path() + "config").c_str());
    ASSERT_TRUE(m_Server.Start());
    HWND hMain = CreateWindowA("STATIC", "hall", WS_OVERLAPPED, 0, 0, 10, 10, NULL, NULL, NULL, NULL);
    m_MainWnd.Attach(hMain);
    TheApp()->m_pMainWnd = &m_MainWnd;
    m_pDataCenter = new CClientDataCenter;
    m_pDataCenter->SetNotifyMessage(WM_HALL_NOTIFY);
    UseServers({m_Server.GetPort()});
}

void DataCenterTest::TearDown()
{
    delete m_pDataCenter;
    m_pDataCenter = nullptr;
    TheApp()->m_pMainWnd = NULL;
    HWND hMain = m_MainWnd.Detach();
    DestroyWindow(hMain);
    m_Server.Stop();
    PumpMessages();
    g_GlobalUnits.ResetUserData();
}

void DataCenterTest::UseServers(const std::vector<WORD>& ports, bool ipOnly)
{
    std::string text = "[Server]\r\nServerCount=" + std::to_string(ports.size()) + "\r\nLastServerID=0\r\n";
    for (size_t i = 0; i < ports.size(); ++i) {
        text += "[Server" + std::to_string(i) + "]\r\nName=s" + std::to_string(i) + "\r\n";
        text += ipOnly ? "Host=\r\nIP=127.0.0.1\r\n" : "Host=127.0.0.1\r\n";
        text += "Port=" + std::to_string(ports[i]) + "\r\n";
    }
    m_Folder.Write("config\\ServerList.ini", text);
    g_GlobalOption.LoadServerList();
}

void DataCenterTest::ListenToAll()
{
    for (size_t i = 0; i < kHallNotifyKeyCount; ++i)
        m_pDataCenter->AddNotifyWindow(kHallNotifyKeys[i][0], kHallNotifyKeys[i][1], m_Recorder.GetHwnd());
}

void DataCenterTest::ConnectToServer()
{
    size_t before = m_Recorder.Count(1, 2);
    ASSERT_TRUE(m_pDataCenter->ConnectServer());
    ASSERT_TRUE(PumpUntil([&] { return m_Recorder.Count(1, 2) > before; }));
    ASSERT_EQ(0, m_Recorder.Of(1, 2).back().lValue) << m_Recorder.Of(1, 2).back().strText;
    ASSERT_TRUE(PumpUntil([&] { return m_Server.GetConnectionCount() > 0; }));
    ASSERT_TRUE(m_pDataCenter->IsConnected());
}

std::vector<tagServerFrame> DataCenterTest::WaitRequests(WORD wMainCmdID, WORD wSubCmdID, size_t n)
{
    EXPECT_TRUE(PumpUntil([&] { return m_Server.GetRequests(wMainCmdID, wSubCmdID).size() >= n; }))
        << wMainCmdID << "/" << wSubCmdID;
    return m_Server.GetRequests(wMainCmdID, wSubCmdID);
}

void DataCenterTest::SendAndHear(WORD wMainCmdID, WORD wSubCmdID, const std::vector<BYTE>& body, WORD wNotifyMain,
                                 WORD wNotifySub, size_t n)
{
    size_t before = m_Recorder.Count(wNotifyMain, wNotifySub);
    ASSERT_TRUE(m_Server.Send(wMainCmdID, wSubCmdID, body));
    ASSERT_TRUE(PumpUntil([&] { return m_Recorder.Count(wNotifyMain, wNotifySub) >= before + n; }))
        << "(" << wNotifyMain << "," << wNotifySub << ") after " << wMainCmdID << "/" << wSubCmdID;
}

// The marker goes out as a server message too: the socket delivers in order,
// so once the data centre has seen it, it has handled everything before.
void DataCenterTest::SendAndSettle(WORD wMainCmdID, WORD wSubCmdID, const std::vector<BYTE>& body, DWORD dwSerialNum)
{
    ASSERT_TRUE(m_Server.Send(wMainCmdID, wSubCmdID, body, dwSerialNum));
    // 1002/1014 is a plain single value: its (3,8) marks the end.
    size_t before = m_Recorder.Count(3, 8);
    m_pDataCenter->AddNotifyWindow(3, 8, m_Recorder.GetHwnd());
    ASSERT_TRUE(m_Server.Send(1002, 1014, CWireBytes().U32(0x4D41524B).Vector()));
    ASSERT_TRUE(PumpUntil([&] {
        for (const tagHeardNotify& n : m_Recorder.Of(3, 8))
            if (DWORD(n.lParam) == 0x4D41524B && m_Recorder.Count(3, 8) > before)
                return true;
        return false;
    }));
    // Forget the marker.
    std::vector<tagHeardNotify> kept;
    bool dropped = false;
    for (const tagHeardNotify& n : m_Recorder.Heard) {
        if (!dropped && n.wMainCmdID == 3 && n.wSubCmdID == 8 && DWORD(n.lParam) == 0x4D41524B) {
            dropped = true;
            continue;
        }
        kept.push_back(n);
    }
    m_Recorder.Heard.swap(kept);
}

std::string DataCenterTest::MachineID()
{
    char id[33];
    g_GlobalUnits.GetMachineID(id);
    return id;
}
