// The room view: set-up and its failures, counting, the logon road with the
// room password, the room information, close, and the room's boxes.
#include "RoomViewTestSupport.h"

#include "GlobalUnits.h"
#include "MD5Encrypt.h"
#include "RoomPassFile.h"
#include "TestPorts.h"

#include <algorithm>

namespace
{

std::string Md5(const char* text)
{
    char digest[33];
    CMD5Encrypt::EncryptData(text, digest);
    return digest;
}

bool BodyHas(const tagServerFrame& frame, const std::string& text)
{
    return std::search(frame.Body.begin(), frame.Body.end(), text.begin(), text.end()) != frame.Body.end();
}

} // namespace

TEST_F(RoomViewTest, SetUpFailsWithoutShowingAnything)
{
    struct Case
    {
        const char* name;
        bool bNullRoom;
        bool bNullPanel;
        const char* removed; // a file of the program folder taken away
    } cases[] = {
        {"no room", true, false, nullptr},
        {"no side panel", false, true, nullptr},
        {"no emotion folder", false, false, "Emotion\\config.ini"},
        {"an icon missing", false, false, "Addin\\Chat\\speaker.bmp"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.removed != nullptr)
            DeleteFileA(m_Skin.Folder().File(c.removed).c_str());
        CRoomViewItem* pView = CRoomViewItem::Create(&m_Tabs);
        ASSERT_TRUE(pView->CreateRoomWindow(NULL, CRect(0, 0, 400, 300), 0));
        EXPECT_FALSE(pView->InitRoomView(c.bNullRoom ? nullptr : &m_Room, c.bNullPanel ? nullptr : &m_Panel, nullptr));
        EXPECT_FALSE(pView->IsWindowVisible());
        pView->CloseRoomView();
        EXPECT_EQ(0u, pView->Release());
        // Put back for the next case.
        skintest::Pixels icon(8, 8, RGB(0, 128, 0));
        m_Skin.Folder().WriteBmp("Addin\\Chat\\speaker.bmp", icon);
        m_Skin.Folder().Write("Emotion\\config.ini", std::string("[emotion]\r\nCount=0\r\n"));
    }
    EXPECT_EQ(0u, m_Script.Count());
    EXPECT_EQ(0, CRoomViewItem::GetLiveCount());
}

TEST_F(RoomViewTest, InterfacesShareOneCount)
{
    MakeView();
    EXPECT_EQ(1, m_pView->GetRefCount());
    ITableFrameSink* pSink = nullptr;
    ASSERT_EQ(S_OK, m_pView->QueryInterface(IID_ITableFrameSink, reinterpret_cast<void**>(&pSink)));
    IUserManagerSink* pUsers = nullptr;
    ASSERT_EQ(S_OK, m_pView->QueryInterface(IID_IUserManagerSink, reinterpret_cast<void**>(&pUsers)));
    IRoomViewItem* pItem = nullptr;
    ASSERT_EQ(S_OK, m_pView->QueryInterface(IID_IViewItem, reinterpret_cast<void**>(&pItem)));
    EXPECT_EQ(4, m_pView->GetRefCount());
    EXPECT_EQ(3u, pSink->Release());
    EXPECT_EQ(2u, pUsers->Release());
    EXPECT_EQ(1u, pItem->Release());
    void* pOther = reinterpret_cast<void*>(1);
    EXPECT_EQ(HRESULT(0x80004002), m_pView->QueryInterface(IID_ITableFrameView, &pOther));
    EXPECT_EQ(nullptr, pOther);
    EXPECT_EQ(1, m_pView->GetRefCount());
}

TEST_F(RoomViewTest, SetUpRegistersEveryKeyAndBuildsTheCaption)
{
    MakeView();
    CRoomDataCenter* pDataCenter = m_pView->GetRoomDataCenter();
    for (const tagRoomNotifyKey& key : CRoomViewItem::s_NotifyKeys) {
        BN_INFO windows;
        ASSERT_EQ(1, pDataCenter->GetNotifyWindows(key.wMainCmdID, key.wSubCmdID, windows))
            << key.wMainCmdID << "," << key.wSubCmdID;
        EXPECT_EQ(m_pView->GetSafeHwnd(), windows[0]);
    }
    EXPECT_EQ(CString("象棋 > 一号房"), m_pView->GetCaption());
    EXPECT_EQ(std::vector<DWORD>{kGameID}, m_Tabs.queriedKinds);
    EXPECT_EQ(DWORD(ROOM_STATE_CREATED), m_pView->GetRoomState());
}

TEST_F(RoomViewTest, LogonCarriesTheRememberedPassword)
{
    ASSERT_TRUE(CRoomPassFile(RoomPassPath().c_str()).Save(kRoomID, kOwnUserID, Md5("secret").c_str()));
    MakeView();
    EXPECT_EQ(CString(Md5("secret").c_str()), m_pView->GetRoomPassword());
    Connect();
    std::vector<tagServerFrame> logons = Requests(ROOM_MAIN_ROOM, ROOM_SUB_LOGON);
    ASSERT_EQ(1u, logons.size());
    EXPECT_TRUE(BodyHas(logons[0], Md5("secret")));
    EXPECT_EQ(DWORD(ROOM_STATE_LOGGED_ON), m_pView->GetRoomState());
    // The player list's columns follow the logon.
    ASSERT_FALSE(m_Panel.columns.empty());
}

TEST_F(RoomViewTest, PasswordAskedThenReconnectsWithItsDigest)
{
    MakeView();
    m_Server.AnswerLogon(RoomBody::LogonRefused(12, ""));
    m_Dialogs.roomPasswords.push_back(
        {true, "open sesame", [&] { m_Server.AnswerLogon(RoomBody::LogonOk(kOwnUserID)); }});
    ASSERT_TRUE(m_pView->ConnectRoomServer());
    ASSERT_TRUE(PumpUntil([&] { return m_pView->GetRoomState() == ROOM_STATE_LOGGED_ON; }));
    EXPECT_EQ(1, m_Dialogs.nRoomPassAsked);
    std::vector<tagServerFrame> logons = Requests(ROOM_MAIN_ROOM, ROOM_SUB_LOGON);
    ASSERT_EQ(2u, logons.size());
    EXPECT_TRUE(BodyHas(logons[1], Md5("open sesame")));
    // The password that worked is remembered for this room and user.
    EXPECT_EQ(CString(Md5("open sesame").c_str()), CRoomPassFile(RoomPassPath().c_str()).Load(kRoomID, kOwnUserID));
    EXPECT_EQ(0, m_pView->GetPasswordAttempts());
}

TEST_F(RoomViewTest, StalePasswordIsForgottenAndCancelClosesTheRoomOnce)
{
    CRoomPassFile file(RoomPassPath().c_str());
    ASSERT_TRUE(file.Save(kRoomID, kOwnUserID, Md5("old").c_str()));
    ASSERT_TRUE(file.Save(kRoomID + 1, kOwnUserID, Md5("other room").c_str()));
    MakeView();
    m_Server.AnswerLogon(RoomBody::LogonRefused(13, ""));
    m_Dialogs.roomPasswords.push_back({false, "", nullptr});
    ASSERT_TRUE(m_pView->ConnectRoomServer());
    ASSERT_TRUE(PumpUntil([&] { return m_pView->GetRoomState() == ROOM_STATE_FAILED; }));
    ASSERT_TRUE(PumpUntil([&] { return m_Tabs.Posted(WM_ROOM_CLOSE_VIEW) > 0; }));
    PumpMessages();
    EXPECT_EQ(1, m_Dialogs.nRoomPassAsked);
    EXPECT_EQ(1u, m_Tabs.Posted(WM_ROOM_CLOSE_VIEW));
    EXPECT_EQ(WPARAM(m_pView), m_Tabs.posted[0].second);
    EXPECT_EQ(CString(), file.Load(kRoomID, kOwnUserID));
    EXPECT_EQ(CString(Md5("other room").c_str()), file.Load(kRoomID + 1, kOwnUserID));
    EXPECT_EQ(std::vector<bool>{false}, m_Tabs.enteringCalls);
    EXPECT_EQ(0u, m_Script.Count());
}

TEST_F(RoomViewTest, WrongPasswordAfterAnAttemptShowsTheFailure)
{
    MakeView();
    m_Server.AnswerLogon(RoomBody::LogonRefused(12, ""));
    m_Dialogs.roomPasswords.push_back(
        {true, "guess", [&] { m_Server.AnswerLogon(RoomBody::LogonRefused(13, "密码错误")); }});
    m_Script.Answer(IDOK);
    ASSERT_TRUE(m_pView->ConnectRoomServer());
    ASSERT_TRUE(PumpUntil([&] { return m_pView->GetRoomState() == ROOM_STATE_FAILED; }));
    EXPECT_EQ(1, m_Dialogs.nRoomPassAsked);
    ASSERT_EQ(1u, m_Script.Count());
    EXPECT_EQ(CString("密码错误"), m_Script.At(0).strText);
    EXPECT_EQ(CString("提示消息"), m_Script.At(0).strCaption);
    // The box closed with the connection down: the room closes.
    ASSERT_TRUE(PumpUntil([&] { return m_Tabs.Posted(WM_ROOM_CLOSE_VIEW) == 1; }));
}

TEST_F(RoomViewTest, AttemptsAreCountedPerView)
{
    // An attempt in one room must not turn another room's stale password
    // into a failure.
    MakeView();
    m_Server.AnswerLogon(RoomBody::LogonRefused(12, ""));
    m_Dialogs.roomPasswords.push_back({false, "", nullptr});
    ASSERT_TRUE(m_pView->ConnectRoomServer());
    ASSERT_TRUE(PumpUntil([&] { return m_pView->GetRoomState() == ROOM_STATE_FAILED; }));
    CloseView();

    m_Server.AnswerLogon(RoomBody::LogonRefused(12, ""));
    m_Dialogs.roomPasswords.push_back({true, "x", [&] { m_Server.AnswerLogon(RoomBody::LogonRefused(13, "")); }});
    m_Dialogs.roomPasswords.push_back({false, "", nullptr});
    MakeView();
    EXPECT_EQ(0, m_pView->GetPasswordAttempts());
    m_Script.Answer(IDOK);
    ASSERT_TRUE(m_pView->ConnectRoomServer());
    ASSERT_TRUE(PumpUntil([&] { return m_pView->GetRoomState() == ROOM_STATE_FAILED; }));
    EXPECT_EQ(1, m_pView->GetPasswordAttempts());
}

TEST_F(RoomViewTest, LogonFailureTexts)
{
    // The record's text wins over the table; "<error>" and an empty text
    // give the code's text, by the local code the data centre mapped.
    struct Case
    {
        DWORD dwServerCode;
        const char* text;
        UINT nTable; // 0: the record's text
    } cases[] = {
        {3, "房间已满", 0},
        {99, "", 11028},        // unknown: local -1
        {10, "<error>", 11011}, // local 10
        {11, "", 11058},        // local 40
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dwServerCode);
        CModalScript script;
        script.Answer(IDOK);
        MakeView();
        m_Server.AnswerLogon(RoomBody::LogonRefused(c.dwServerCode, c.text));
        ASSERT_TRUE(m_pView->ConnectRoomServer());
        ASSERT_TRUE(PumpUntil([&] { return m_pView->GetRoomState() == ROOM_STATE_FAILED; }));
        ASSERT_EQ(1u, script.Count());
        CString strExpected = c.nTable == 0 ? CString(c.text) : g_GlobalUnits.LoadResString(c.nTable);
        EXPECT_FALSE(strExpected.IsEmpty());
        EXPECT_EQ(strExpected, script.At(0).strText);
        CloseView();
    }
}

TEST_F(RoomViewTest, RoomInformationBuildsTheGridAndReadiesTheRoom)
{
    MakeView();
    m_pView->BeginWaitStatus();
    EXPECT_TRUE(m_pView->IsWaiting());
    EnterRoom();
    EXPECT_FALSE(m_pView->IsWaiting());
    EXPECT_EQ(30, m_pView->GetTableFrame()->GetTableCount());
    EXPECT_EQ(4, m_pView->GetTableFrame()->GetChairCount());
    EXPECT_TRUE(m_pView->GetTableFrame()->IsWindowVisible());
    EXPECT_TRUE(m_pView->IsWindowVisible());
    EXPECT_EQ(1, m_Tabs.nActivated);
    EXPECT_EQ(77u, m_Panel.dwListRoom);
    EXPECT_EQ(1, m_Panel.wListType);
    EXPECT_NE(std::string::npos, m_Panel.ChatText().find("欢迎"));
    // The sit rule goes out once the room is ready.
    ASSERT_TRUE(PumpUntil([&] { return Requests(ROOM_MAIN_ROOM, ROOM_SUB_USER_RULE).size() == 1; }));
    // The grid reaches the view through the sink; the reference taken for
    // it was given back.
    EXPECT_EQ(static_cast<ITableFrameSink*>(m_pView), m_pView->GetTableFrame()->GetSink());
}

TEST_F(RoomViewTest, CloseLeavesTheRoomAndFreesEverything)
{
    LONG lUsers = CUserItem::GetLiveCount();
    LONG lCentres = CRoomDataCenter::GetLiveCount();
    MakeView();
    EnterRoom();
    EnterUser(2001, "甲");
    EXPECT_EQ(lCentres + 1, CRoomDataCenter::GetLiveCount());
    CloseView();
    ASSERT_TRUE(PumpUntil([&] { return Requests(ROOM_MAIN_ROOM, ROOM_SUB_LEAVE_ROOM).size() == 1; }));
    ASSERT_TRUE(PumpUntil([&] { return m_Server.IsPeerClosed(0); }));
    EXPECT_EQ(0, CRoomViewItem::GetLiveCount());
    EXPECT_EQ(lCentres, CRoomDataCenter::GetLiveCount());
    EXPECT_EQ(lUsers, CUserItem::GetLiveCount());
}

TEST_F(RoomViewTest, ConnectFailureReportsAndClosesTheRoom)
{
    m_Room.SetServerAddresses("127.0.0.1");
    m_Room.SetPort(FindFreePort());
    MakeView();
    m_Script.Answer(IDOK);
    m_pView->ConnectRoomServer();
    ASSERT_TRUE(PumpUntil([&] { return m_pView->GetRoomState() == ROOM_STATE_FAILED; }, 15000));
    ASSERT_TRUE(PumpUntil([&] { return m_Tabs.Posted(WM_ROOM_CLOSE_VIEW) == 1; }));
    EXPECT_EQ(1u, m_Script.Count());
    EXPECT_EQ(std::vector<bool>{false}, m_Tabs.enteringCalls);
}

TEST_F(RoomViewTest, BoxesCountTheirNestingAndCloseOnlyAfterTheLast)
{
    MakeView();
    EnterRoom();
    m_Server.Stop(); // the connection goes; (2,6) follows
    m_Script.Then([&](AFX_MODAL_REQUEST&) {
        // A second box of the same room while the first is open.
        EXPECT_EQ(1, m_pView->GetBoxNesting());
        m_Script.Answer(IDOK);
        m_pView->ShowMessageBox("second", MB_ICONINFORMATION);
        EXPECT_EQ(0u, m_Tabs.Posted(WM_ROOM_CLOSE_VIEW));
        return (INT_PTR)IDOK;
    });
    ASSERT_TRUE(PumpUntil([&] { return m_Script.Count() == 2; }));
    ASSERT_TRUE(PumpUntil([&] { return m_Tabs.Posted(WM_ROOM_CONNECTION) == 1; }));
    PumpMessages();
    EXPECT_EQ(1u, m_Tabs.Posted(WM_ROOM_CLOSE_VIEW));
    EXPECT_EQ(0, m_pView->GetBoxNesting());
}

TEST_F(RoomViewTest, WaitingAnimationCountersAreSharedByAllRooms)
{
    MakeView();
    CRoomViewItem* pOther = CRoomViewItem::Create(&m_Tabs);
    ASSERT_TRUE(pOther->CreateRoomWindow(NULL, CRect(0, 0, 400, 300), 0));
    m_pView->BeginWaitStatus();
    pOther->BeginWaitStatus();
    EXPECT_FALSE(m_pView->GetTableFrame()->IsWindowVisible());
    int nPicture = CRoomViewItem::GetWaitPictureIndex();
    int nWord = CRoomViewItem::GetWaitWordIndex();
    m_pView->SendMessage(WM_TIMER, IDT_ROOM_WAIT);
    pOther->SendMessage(WM_TIMER, IDT_ROOM_WAIT);
    m_pView->SendMessage(WM_TIMER, IDT_ROOM_WAIT);
    EXPECT_EQ((nPicture + 3) % 2, CRoomViewItem::GetWaitPictureIndex());
    EXPECT_EQ((nWord + 3) % 3, CRoomViewItem::GetWaitWordIndex());
    // The room failed: the controls come back, the side panel stays away.
    m_pView->EndWaitStatus();
    EXPECT_FALSE(m_pView->IsWaiting());
    EXPECT_NE(0u, m_pView->GetTableFrame()->GetStyle() & WS_VISIBLE);
    EXPECT_EQ(1, m_Tabs.nSidePanelShown);
    pOther->CloseRoomView();
    pOther->Release();
}

TEST_F(RoomViewTest, TableFlagsAndRecordsReachTheGrid)
{
    MakeView();
    EnterRoom();
    SendAndSettle(ROOM_MAIN_TABLE, TABLE_SUB_S_TABLE_FLAGS, CWireBytes().U16(2).U32(3));
    EXPECT_TRUE(m_pView->GetTableFrame()->GetPlayFlag(2));
    EXPECT_TRUE(m_pView->GetTableFrame()->GetLockFlag(2));
    SendAndSettle(ROOM_MAIN_TABLE, TABLE_SUB_S_TABLE_FLAGS, CWireBytes().U16(2).U32(0));
    EXPECT_FALSE(m_pView->GetTableFrame()->GetPlayFlag(2));
    EXPECT_FALSE(m_pView->GetTableFrame()->GetLockFlag(2));
    SendAndSettle(ROOM_MAIN_TABLE, TABLE_SUB_S_TABLE_RECORD, RoomBody::TableRecord(1, "一号"));
    EXPECT_EQ(CString("一号"), m_pView->GetTableFrame()->GetTableViewItem(1)->GetTableName());
}

TEST_F(RoomViewTest, TablePresentationByRoomRule)
{
    struct Case
    {
        DWORD dwRule;
        DWORD dwRank;
        DWORD dwPresentation;
        BYTE cbListFlag;
        BYTE cbDisplay;
        bool bChat;
    } cases[] = {
        {0, 1, TABLE_SHOW_NORMAL, 1, 0, true},           {0x100, 1, TABLE_SHOW_HIDDEN, 1, 1, false},
        {0x1000, 1, TABLE_SHOW_ANTI_CHEAT, 0, 1, false}, {0x1100, 1, TABLE_SHOW_ANTI_CHEAT, 0, 1, false},
        {0x1000, 256, TABLE_SHOW_NORMAL, 1, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dwRule + c.dwRank);
        MakeView();
        EnterRoom(c.dwRule);
        Me()->GetUserData()->dwRank = c.dwRank;
        tagNotifyHead head = {0, RN_USER_LIST.wMainCmdID, RN_USER_LIST.wSubCmdID};
        EXPECT_EQ(1, m_pView->SendMessage(WM_ROOM_NOTIFY, WPARAM(&head), 0));
        EXPECT_EQ(c.dwPresentation, m_pView->GetTablePresentation());
        ASSERT_FALSE(m_Tabs.listFlags.empty());
        EXPECT_EQ(c.cbListFlag, m_Tabs.listFlags.back());
        ASSERT_FALSE(m_Panel.displayFlags.empty());
        EXPECT_EQ(c.cbDisplay, m_Panel.displayFlags.back());
        ASSERT_FALSE(m_Panel.chatEnabled.empty());
        EXPECT_EQ(c.bChat, bool(m_Panel.chatEnabled.back()));
        CloseView();
    }
}

TEST_F(RoomViewTest, ChatInputOfLevelZeroFollowsTheRoomList)
{
    struct Case
    {
        const char* list;
        LONG lLevel;
        bool bChat;
    } cases[] = {
        {"3,7,9", 0, true},
        {"3,9", 0, false},
        {"", 2, true},
        {"7", -100, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.list);
        m_Skin.Folder().Write("Config\\dynamic\\DynaItemCfg.ini",
                              std::string("[canchatroom]\r\nroomid=") + c.list + "\r\n");
        MakeView();
        EnterRoom();
        Me()->GetUserData()->dwRank = DWORD(c.lLevel);
        EnterUser(2001, "甲");
        ASSERT_FALSE(m_Panel.chatEnabled.empty());
        EXPECT_EQ(c.bChat, bool(m_Panel.chatEnabled.back()));
        CloseView();
    }
}
