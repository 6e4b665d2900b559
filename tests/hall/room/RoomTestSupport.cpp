#include "RoomTestSupport.h"

#include <afxtest.h>

#include "GameClientControl.h"
#include "GlobalUnits.h"
#include "TempFolder.h"

namespace
{

CWinApp* TheApp()
{
    static CWinApp* app = new CWinApp("RoomTests");
    return app;
}

const tagRoomNotifyKey kKeys[] = {
    RN_ROOM_MESSAGE,  RN_CONNECT_RESULT, RN_LOGON_RESULT, RN_CONNECTION_CLOSED, RN_USER_ENTER,      RN_USER_STATUS,
    RN_USER_SCORE,    RN_SIT_RESULT,     RN_CHAT,         RN_WHISPER,           RN_INVITE,          RN_ROOM_END,
    RN_USER_REFRESH,  RN_KICKED,         RN_SPEAKER,      RN_ROOM_STATE,        RN_MATCH_STATE,     RN_ROOM_FLAGS,
    RN_USER_VALUE,    RN_USER_LIST,      RN_USER_CHANGES, RN_SIGN_BUTTONS,      RN_MATCH_TEAM,      RN_BANK_PASSWORD,
    RN_BANK_WITHDRAW, RN_BANK_DEPOSIT,   RN_SIGN_RESULT,  RN_RESULT_CODE,       RN_EXCHANGE_RESULT, RN_ROOM_INFO,
    RN_TABLE_FLAGS,   RN_INFO_DONE,      RN_TABLE_RECORD, RN_MATCH_TABLE_END,   RN_TABLE_LIST,      RN_TABLE_ENTRY,
    RN_GROUP_STATE,   RN_MATCH_NOTICE,   RN_GAME_CLIENT,  RN_GAME_POST_3,       RN_MATCH_FLAG,      RN_SPEED_RESULT,
    RN_GAME_POST_7,   RN_GAME_POST_8,    RN_GAME_KICKED,  RN_GAME_ROUNDS,
};

// What each key's record holds, in bytes; 0: nothing or a plain value.
size_t RecordSize(WORD wMain, WORD wSub)
{
    switch ((wMain << 8) | wSub) {
    case 0x102: return sizeof(tagRoomMessage);
    case 0x202: return sizeof(tagRoomConnectResult);
    case 0x203: return sizeof(tagRoomLogonNotice);
    case 0x302: return sizeof(tagRoomUserStatus);
    case 0x303: return sizeof(tagRoomUserScore);
    case 0x305: return sizeof(tagRoomChatNotice);
    case 0x306: return sizeof(tagRoomWhisperNotice);
    case 0x307: return sizeof(tagRoomInviteNotice);
    case 0x30C: return sizeof(tagRoomSpeakerNotice);
    case 0x30E:
    case 0x30F: return 1;
    case 0x315: return sizeof(tagRoomMatchTeam);
    case 0x304:
    case 0x309:
    case 0x30B:
    case 0x310:
    case 0x311:
    case 0x314:
    case 0x316:
    case 0x317:
    case 0x318:
    case 0x319:
    case 0x31A:
    case 0x31B: return 4;
    case 0x401: return sizeof(tagRoomInfo);
    case 0x404: return sizeof(tagRoomTableFlags);
    case 0x407: return sizeof(tagRoomTableRecord);
    case 0x409: return 2;
    case 0x40A: return sizeof(tagRoomTableEntry);
    case 0x40B: return sizeof(tagRoomGroupState);
    case 0x30A: return sizeof(tagRoomIdValue);
    case 0x604: return 4;
    case 0x606: return 8;
    default: return 0;
    }
}

// The program folder of the whole test program: one game whose folder's
// configuration names the stand-in game client, copied in beside it.
void MakeGameFolder()
{
    static CTempFolder* pFolder = nullptr;
    static CGameTreeManager* pTree = nullptr;
    if (pFolder == nullptr) {
        pFolder = new CTempFolder("roomgame");
        pFolder->Write("Game Folder\\CONFIG.INI", "[Public]\r\nExeName=gameclient.exe\r\n");
        char szPath[MAX_PATH] = "";
        GetModuleFileNameA(NULL, szPath, MAX_PATH);
        *strrchr(szPath, '\\') = '\0';
        CopyFileA((std::string(szPath) + "\\gameclient.exe").c_str(),
                  pFolder->File("Game Folder\\gameclient.exe").c_str(), FALSE);
        pTree = new CGameTreeManager;
        CGame* pGame = new CGame(RoomTest::kGameID);
        pGame->SetName("StandIn");
        pGame->SetFolderName("Game Folder");
        pTree->AddGame(pGame);
        // A game whose configuration names a program that is not there.
        pFolder->Write("Empty Folder\\CONFIG.INI", "[Public]\r\nExeName=absent.exe\r\n");
        CGame* pMissing = new CGame(RoomTest::kMissingGameID);
        pMissing->SetFolderName("Empty Folder");
        pTree->AddGame(pMissing);
    }
    g_GlobalUnits.SetWorkDirectory(pFolder->Path().c_str());
    g_GlobalUnits.SetGameTreeManager(pTree);
}

} // namespace

CRoomRecorder::CRoomRecorder()
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.lpszClassName = "RoomNotifyRecorder";
    RegisterClassA(&wc);
    m_hWnd = CreateWindowA("RoomNotifyRecorder", "", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL, wc.hInstance, this);
}

CRoomRecorder::~CRoomRecorder()
{
    DestroyWindow(m_hWnd);
}

LRESULT CALLBACK CRoomRecorder::WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_NCCREATE) {
        SetWindowLongPtrA(hWnd, GWLP_USERDATA, LONG_PTR(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
        return TRUE;
    }
    CRoomRecorder* self = reinterpret_cast<CRoomRecorder*>(GetWindowLongPtrA(hWnd, GWLP_USERDATA));
    if (uMsg != WM_ROOM_NOTIFY || self == NULL)
        return DefWindowProcA(hWnd, uMsg, wParam, lParam);
    const tagNotifyHead* head = reinterpret_cast<const tagNotifyHead*>(wParam);
    tagRoomHeard heard = {head->dwSerialNum,       head->wMainCmdID, head->wSubCmdID, lParam, {}, 0,
                          InSendMessage() == FALSE};
    size_t nSize = RecordSize(head->wMainCmdID, head->wSubCmdID);
    if (nSize > 0 && lParam != 0)
        heard.Record.assign(reinterpret_cast<const BYTE*>(lParam), reinterpret_cast<const BYTE*>(lParam) + nSize);
    if (head->wMainCmdID == 3 && head->wSubCmdID == 1 && lParam != 0)
        heard.dwUserID = reinterpret_cast<CUserItem*>(lParam)->GetUserID();
    self->Heard.push_back(heard);
    if (self->OnHeard)
        self->OnHeard(heard);
    return 0;
}

std::vector<tagRoomHeard> CRoomRecorder::Of(const tagRoomNotifyKey& key) const
{
    std::vector<tagRoomHeard> result;
    for (const tagRoomHeard& heard : Heard) {
        if (heard.wMainCmdID == key.wMainCmdID && heard.wSubCmdID == key.wSubCmdID)
            result.push_back(heard);
    }
    return result;
}

std::string CRoomRecorder::Keys() const
{
    std::string keys;
    for (const tagRoomHeard& heard : Heard)
        keys += "(" + std::to_string(heard.wMainCmdID) + "," + std::to_string(heard.wSubCmdID) + ")";
    return keys;
}

void RoomTest::SetUp()
{
    TheApp();
    ASSERT_TRUE(m_MainWnd.CreateEx(0, AfxRegisterWndClass(0), "RoomTestMain", WS_POPUP, 0, 0, 10, 10, NULL, NULL));
    CRoomDataCenter::SetHallWindow(m_MainWnd.GetSafeHwnd());
    tagGlobalUserData* pUser = g_GlobalUnits.GetGlobalUserData();
    memset(pUser, 0, sizeof(*pUser));
    pUser->dwUserID = kOwnUserID;
    strcpy(pUser->szPassword, "0123456789abcdef0123456789abcdef");
    MakeGameFolder();
    char szReport[16];
    snprintf(szReport, sizeof(szReport), "%lu", HandleToULong(m_Client.GetHwnd()));
    SetEnvironmentVariableA(GAMECLIENT_ENV_REPORT, szReport);
    SetClientMode(GAMECLIENT_MODE_EXIT);
    m_Room.SetGameId(kGameID);
    m_pDataCenter = CreateRoomDataCenter();
    m_pDataCenter->SetNotifyMessage(WM_ROOM_NOTIFY);
    for (const tagRoomNotifyKey& key : kKeys)
        m_pDataCenter->AddNotifyWindow(key.wMainCmdID, key.wSubCmdID, m_Recorder.GetHwnd());
}

void RoomTest::TearDown()
{
    m_pDataCenter->UninitRoomDataCenter();
    delete m_pDataCenter;
    m_Server.Stop();
    m_MainWnd.DestroyWindow();
    CRoomDataCenter::SetHallWindow(NULL);
    AfxClearTestClock(); // tests of the periodic check fix the clock
}

void RoomTest::UseRoom(LPCSTR pszAddresses, WORD wPort, BYTE cbKind)
{
    m_Room.SetServerAddresses(pszAddresses);
    m_Room.SetPort(wPort);
    m_Room.SetRoomKind(cbKind);
    m_Room.SetCurrentAddressIndex(0);
    ASSERT_TRUE(m_pDataCenter->InitRoomDataCenter(&m_Room, "start"));
}

CString RoomTest::GameProgram()
{
    CString strPath;
    strPath.Format("%sGame Folder\\gameclient.exe", g_GlobalUnits.GetWorkDirectory());
    return strPath;
}

void RoomTest::AttachClient()
{
    m_pDataCenter->GetShareData()->dwGameWnd = HandleToULong(m_Client.GetHwnd());
    m_pDataCenter->SetGameWnd(m_Client.GetHwnd());
}

size_t RoomTest::Launches()
{
    size_t n = 0;
    for (LPARAM lValue : ClientPosts())
        n += lValue == GAME_CLIENT_POST_STARTING ? 1 : 0;
    return n;
}

std::vector<LPARAM> RoomTest::ClientPosts()
{
    PumpMessages();
    std::vector<LPARAM> values;
    for (const tagRoomHeard& heard : m_Recorder.Of(RN_GAME_CLIENT))
        values.push_back(heard.lParam);
    return values;
}

void RoomTest::SetClientMode(const char* pszMode)
{
    SetEnvironmentVariableA(GAMECLIENT_ENV_MODE, pszMode);
}

void RoomTest::Connect()
{
    ASSERT_TRUE(m_Server.Start());
    UseRoom("127.0.0.1", m_Server.GetPort());
    ASSERT_TRUE(m_pDataCenter->ConnectServer("127.0.0.1", m_Server.GetPort()));
    ASSERT_TRUE(PumpUntil([&] { return m_Recorder.Count(RN_CONNECT_RESULT) == 1; }));
    ASSERT_EQ(0u, m_Recorder.Of(RN_CONNECT_RESULT)[0].As<tagRoomConnectResult>().dwErrorCode);
    // The server's end too, before anything is sent on it.
    ASSERT_TRUE(PumpUntil([&] { return m_Server.GetConnectionCount() == 1; }));
}

void RoomTest::LogOn()
{
    Connect();
    m_Server.AnswerLogon(RoomBody::LogonOk(kOwnUserID));
    DWORD dwSerial = 0;
    ASSERT_TRUE(m_pDataCenter->SendRoomLogon(dwSerial, m_Recorder.GetHwnd(), 0, NULL));
    ASSERT_TRUE(PumpUntil([&] { return m_Recorder.Count(RN_LOGON_RESULT) == 1; }));
    ASSERT_NE(nullptr, m_pDataCenter->GetUserManager()->GetMeUserItem());
    AttachClient();
}

std::vector<tagServerFrame> RoomTest::WaitFrames(size_t n)
{
    EXPECT_TRUE(PumpUntil([&] { return m_Server.GetFrameCount() >= n; })) << "frames: " << m_Server.GetFrameCount();
    return m_Server.GetFrames();
}

// The marker is an echo request: the data centre answers it, so once the
// answer is at the server everything sent before it has been handled.
void RoomTest::SendAndSettle(WORD wMainCmdID, WORD wSubCmdID, const CWireBytes& body, DWORD dwSerialNum)
{
    size_t nFrames = m_Server.GetFrameCount();
    ASSERT_TRUE(m_Server.Send(wMainCmdID, wSubCmdID, body.Vector(), dwSerialNum));
    ASSERT_TRUE(m_Server.Settle()) << "no answer to the marker after " << nFrames << " frames";
}

void RoomTest::SetRoomRule(DWORD dwRule)
{
    SendAndSettle(ROOM_MAIN_TABLE, TABLE_SUB_S_ROOM_INFO, RoomBody::RoomInfo(dwRule));
    ASSERT_EQ(dwRule, m_pDataCenter->GetRoomInfo().dwRoomRule);
}

void RoomTest::EnterUser(DWORD dwUserID, const std::string& nick, WORD wRank)
{
    SendAndSettle(ROOM_MAIN_ROOM, ROOM_SUB_S_USER_ENTER, RoomBody::UserEnter(dwUserID, nick, wRank));
}
