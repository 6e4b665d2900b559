#include "DataCenterTestSupport.h"

#include "GlobalOption.h"
#include "GlobalUnits.h"
#include "HallProtocol.h"

const tagNotifyKey kHallNotifyKeys[] = {
    HN_CONNECTING,        HN_CONNECT_RESULT,   HN_LOGON_RESULT,     HN_USER_INFO_RESULT, HN_SESSION_ENDED,
    HN_CONNECTION_CLOSED, HN_USER_ATTRIBUTE,   HN_SERVER_TREE,      HN_SECOND_TREE,      HN_ONLINE_COUNT,
    HN_ACCOUNT_1,         HN_ACCOUNT_2,        HN_ACCOUNT_3,        HN_REGISTER_RESULT,  HN_ACCOUNT_CHECK,
    HN_EMAIL_CHECK,       HN_ACCOUNT_NOTICE,   HN_USER_VALUE_1014,  HN_SYSTEM_MESSAGE,   HN_VALUE_PAIR,
    HN_USER_VALUE,        HN_BUY_RESULT,       HN_STORE_DEFINITION, HN_STORE_ENTRY_A,    HN_STORE_REMOVE_A,
    HN_STORE_ENTRIES_C,   HN_STORE_ENTRY_C,    HN_STORE_REMOVE_C,   HN_STORE_NUMBER_C,   HN_STORE_NUMBER_C_2,
    HN_STORE_VALUE_1010,  HN_STORE_VALUE_1011, HN_STORE_VALUE_1013, HN_STORE_VALUE_1012, HN_STORE_VALUE_1014,
    HN_TEAM_INFO,
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
        m_pDataCenter->AddNotifyWindow(kHallNotifyKeys[i], m_Recorder.GetHwnd());
}

void DataCenterTest::ConnectToServer()
{
    size_t before = m_Recorder.Count(HN_CONNECT_RESULT);
    ASSERT_TRUE(m_pDataCenter->ConnectServer());
    ASSERT_TRUE(PumpUntil([&] { return m_Recorder.Count(HN_CONNECT_RESULT) > before; }));
    ASSERT_EQ(0, m_Recorder.Of(HN_CONNECT_RESULT).back().lValue) << m_Recorder.Of(HN_CONNECT_RESULT).back().strText;
    ASSERT_TRUE(PumpUntil([&] { return m_Server.GetConnectionCount() > 0; }));
    ASSERT_TRUE(m_pDataCenter->IsConnected());
}

std::vector<tagServerFrame> DataCenterTest::WaitRequests(WORD wMainCmdID, WORD wSubCmdID, size_t n)
{
    EXPECT_TRUE(PumpUntil([&] { return m_Server.GetRequests(wMainCmdID, wSubCmdID).size() >= n; }))
        << wMainCmdID << "/" << wSubCmdID;
    return m_Server.GetRequests(wMainCmdID, wSubCmdID);
}

void DataCenterTest::SendAndHear(WORD wMainCmdID, WORD wSubCmdID, const std::vector<BYTE>& body,
                                 const tagNotifyKey& notify, size_t n)
{
    size_t before = m_Recorder.Count(notify);
    ASSERT_TRUE(m_Server.Send(wMainCmdID, wSubCmdID, body));
    ASSERT_TRUE(PumpUntil([&] { return m_Recorder.Count(notify) >= before + n; }))
        << "(" << notify.wMainCmdID << "," << notify.wSubCmdID << ") after " << wMainCmdID << "/" << wSubCmdID;
}

// The marker goes out as a server message too: the socket delivers in order,
// so once the data centre has seen it, it has handled everything before.
void DataCenterTest::SendAndSettle(WORD wMainCmdID, WORD wSubCmdID, const std::vector<BYTE>& body, DWORD dwSerialNum)
{
    ASSERT_TRUE(m_Server.Send(wMainCmdID, wSubCmdID, body, dwSerialNum));
    // A plain single value: its notification marks the end.
    size_t before = m_Recorder.Count(HN_USER_VALUE_1014);
    m_pDataCenter->AddNotifyWindow(HN_USER_VALUE_1014, m_Recorder.GetHwnd());
    ASSERT_TRUE(m_Server.Send(HALL_MAIN_USER, HALL_SUB_S_USER_VALUE_1014, CWireBytes().U32(0x4D41524B).Vector()));
    ASSERT_TRUE(PumpUntil([&] {
        for (const tagHeardNotify& n : m_Recorder.Of(HN_USER_VALUE_1014))
            if (DWORD(n.lParam) == 0x4D41524B && m_Recorder.Count(HN_USER_VALUE_1014) > before)
                return true;
        return false;
    }));
    // Forget the marker.
    std::vector<tagHeardNotify> kept;
    bool dropped = false;
    for (const tagHeardNotify& n : m_Recorder.Heard) {
        if (!dropped && n.wMainCmdID == HN_USER_VALUE_1014.wMainCmdID && n.wSubCmdID == HN_USER_VALUE_1014.wSubCmdID &&
            DWORD(n.lParam) == 0x4D41524B) {
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

CServiceHallWindow::CServiceHallWindow(CClientDataCenter* dc) : m_pDataCenter(dc)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.lpszClassName = "ServiceTestHall";
    RegisterClassA(&wc);
    m_hWnd = CreateWindowA("ServiceTestHall", "", WS_OVERLAPPED, 0, 0, 10, 10, NULL, NULL, wc.hInstance, this);
}

CServiceHallWindow::~CServiceHallWindow()
{
    DestroyWindow(m_hWnd);
}

LRESULT CALLBACK CServiceHallWindow::WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_NCCREATE)
        SetWindowLongPtrA(hWnd, GWLP_USERDATA, LONG_PTR(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
    CServiceHallWindow* self = reinterpret_cast<CServiceHallWindow*>(GetWindowLongPtrA(hWnd, GWLP_USERDATA));
    if (uMsg == WM_COPYDATA && self != NULL) {
        bool handled = self->m_pDataCenter->OnServiceCopyData(HWND(wParam), reinterpret_cast<COPYDATASTRUCT*>(lParam));
        self->Notices.push_back(handled);
        return handled;
    }
    return DefWindowProcA(hWnd, uMsg, wParam, lParam);
}
