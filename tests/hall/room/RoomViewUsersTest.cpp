// Users of the room as the view shows them: rows, seats, leaving seated,
// chat lines, whispers, the connection report and notices about nobody.
#include "RoomViewTestSupport.h"

#include "GlobalUnits.h"

TEST_F(RoomViewTest, UsersArriveMoveAndLeaveSeated)
{
    MakeView();
    EnterRoom();
    CTableFrame* pGrid = m_pView->GetTableFrame();
    EnterUser(2001, "甲");
    EXPECT_TRUE(m_Panel.Listed(2001));
    SetStatus(2001, 3, 1, kServerSit);
    EXPECT_EQ(User(2001), pGrid->GetUserItem(3, 1));
    SetStatus(2001, 5, 2, kServerSit);
    EXPECT_EQ(nullptr, pGrid->GetUserItem(3, 1));
    EXPECT_EQ(User(2001), pGrid->GetUserItem(5, 2));
    // Looking on takes no seat of the grid.
    SetStatus(2001, 6, 0, kServerLookOn);
    EXPECT_EQ(nullptr, pGrid->GetUserItem(5, 2));
    EXPECT_EQ(nullptr, pGrid->GetUserItem(6, 0));
    SetStatus(2001, 5, 2, kServerSit);
    m_Panel.dwPartner = 2001;
    // He leaves while seated: his seat is empty before his item goes.
    SendAndSettle(ROOM_MAIN_ROOM, ROOM_SUB_S_USER_LEAVE, CWireBytes().U32(2001));
    EXPECT_EQ(nullptr, User(2001));
    EXPECT_EQ(nullptr, pGrid->GetUserItem(5, 2));
    EXPECT_FALSE(m_Panel.Listed(2001));
    EXPECT_EQ(0u, m_Panel.dwPartner);
    // The grid paints without him.
    pGrid->UpdateWindow();
}

TEST_F(RoomViewTest, ABurstOfArrivalsIsListedWithTheListHeldFromDrawing)
{
    MakeView();
    EnterRoom();
    m_Panel.redraws.clear();
    m_Panel.drawingAtInsert.clear();
    ASSERT_TRUE(m_Server.Run({CScriptedServer::Raw(ArrivalBurst(3001, 3003))}));
    ASSERT_TRUE(m_Server.Settle());
    PumpMessages();
    EXPECT_TRUE(m_Panel.Listed(3001) && m_Panel.Listed(3002) && m_Panel.Listed(3003));
    EXPECT_EQ(std::vector<bool>(3, false), m_Panel.drawingAtInsert);
    // Held once for the burst, drawing again once it is handled.
    EXPECT_EQ((std::vector<bool>{false, true}), m_Panel.redraws);
    // The next arrival is held on its own.
    EnterUser(3004, "客");
    EXPECT_EQ((std::vector<bool>{false, true, false, true}), m_Panel.redraws);
    EXPECT_TRUE(m_Panel.bListDraws);
}

TEST_F(RoomViewTest, NoticesAboutNobodyOrNowhereDoNothing)
{
    MakeView();
    EnterRoom();
    EnterUser(2001, "甲");
    size_t nFrames = m_Server.GetFrameCount();
    SetStatus(4040, 1, 1, kServerSit); // unknown user
    SetStatus(2001, 900, 1, kServerSit);
    SetStatus(2001, 1, 77, kServerSit);
    SendAndSettle(ROOM_MAIN_ROOM, ROOM_SUB_S_CHAT, RoomBody::Chat(4040, 0, 0xFF, "谁"));
    SendAndSettle(ROOM_MAIN_ROOM, ROOM_SUB_S_CHAT, RoomBody::Chat(2001, 4040, 0xFF, "谁"));
    SendAndSettle(ROOM_MAIN_ROOM, ROOM_SUB_S_WHISPER, RoomBody::Whisper(4040, 0xFF, "谁"));
    SendAndSettle(ROOM_MAIN_TABLE, TABLE_SUB_S_TABLE_FLAGS, CWireBytes().U16(700).U32(7));
    SendAndSettle(ROOM_MAIN_TABLE, TABLE_SUB_S_TABLE_RECORD, RoomBody::TableRecord(500, "远"));
    // An invitation to a table the room does not have, from a seated user.
    SetStatus(2001, 2, 0, kServerSit);
    SendAndSettle(ROOM_MAIN_ROOM, ROOM_SUB_S_INVITE, RoomBody::Invite(2001, 9000));
    SendAndSettle(ROOM_MAIN_ROOM, ROOM_SUB_S_INVITE, RoomBody::Invite(4040, 2));
    EXPECT_EQ(0u, m_Script.Count());
    EXPECT_EQ(std::string::npos, m_Panel.ChatText().find("谁"));
    std::vector<tagServerFrame> frames = m_Server.GetFrames();
    for (size_t i = nFrames; i < frames.size(); ++i)
        EXPECT_EQ(ROOM_SUB_ECHO, frames[i].wSubCmdID) << "request " << frames[i].wSubCmdID;
}

TEST_F(RoomViewTest, ChatLinesOfDislikedSendersAreDropped)
{
    MakeView();
    EnterRoom();
    EnterUser(2001, "朋友");
    EnterUser(2002, "讨厌");
    EnterUser(2003, "路人");
    User(2001)->GetUserData()->cbRelation = 1;
    User(2002)->GetUserData()->cbRelation = 2;
    SendAndSettle(ROOM_MAIN_ROOM, ROOM_SUB_S_CHAT, RoomBody::Chat(2001, 0, 0xFF, "朋友的话"));
    SendAndSettle(ROOM_MAIN_ROOM, ROOM_SUB_S_CHAT, RoomBody::Chat(2002, 0, 0xFF, "讨厌的话"));
    SendAndSettle(ROOM_MAIN_ROOM, ROOM_SUB_S_CHAT, RoomBody::Chat(2003, 2001, 0xFF, "对朋友说"));
    std::string text = m_Panel.ChatText();
    EXPECT_NE(std::string::npos, text.find("朋友的话"));
    EXPECT_EQ(std::string::npos, text.find("讨厌的话"));
    EXPECT_NE(std::string::npos, text.find("对朋友说"));
    // A friend's line takes the friends' colour, not the record's.
    // Rich edit positions count characters, not GBK bytes.
    std::string before = text.substr(0, text.find("朋友的话"));
    long cp = long(MultiByteToWideChar(CP_ACP, 0, before.c_str(), int(before.size()), NULL, 0));
    CHARFORMAT2 format = RichFormatAt(m_Panel.Rich(), cp);
    EXPECT_EQ(COLORREF(0x691B), format.crTextColor);
}

TEST_F(RoomViewTest, WhispersFillTheSendersPoolWindow)
{
    MakeView();
    EnterRoom();
    EnterUser(2001, "甲");
    EnterUser(2002, "乙");
    SendAndSettle(ROOM_MAIN_ROOM, ROOM_SUB_S_WHISPER, RoomBody::Whisper(2001, 0xFF, "一"));
    SendAndSettle(ROOM_MAIN_ROOM, ROOM_SUB_S_WHISPER, RoomBody::Whisper(2002, 0xFF, "二"));
    SendAndSettle(ROOM_MAIN_ROOM, ROOM_SUB_S_WHISPER, RoomBody::Whisper(2001, 0xFF, "三"));
    SendAndSettle(ROOM_MAIN_ROOM, ROOM_SUB_S_WHISPER, RoomBody::Whisper(kOwnUserID, 0xFF, "自己"));
    EXPECT_EQ(2001u, m_Dialogs.whispers[0].dwUserID);
    EXPECT_EQ((std::vector<std::string>{"一", "三"}), m_Dialogs.whispers[0].lines);
    EXPECT_EQ(2002u, m_Dialogs.whispers[1].dwUserID);
    EXPECT_FALSE(m_Dialogs.whispers[2].bMade);
    // Whispers refused by the game options.
    m_pView->GetGameOption()->m_bLimitWisper = true;
    SendAndSettle(ROOM_MAIN_ROOM, ROOM_SUB_S_WHISPER, RoomBody::Whisper(2002, 0xFF, "拒"));
    m_pView->GetGameOption()->m_bLimitWisper = false;
    EXPECT_EQ(1u, m_Dialogs.whispers[1].lines.size());
    // The pool windows die with the view, once.
    CloseView();
    EXPECT_EQ(2, m_Dialogs.nWhispersDestroyed);
}

TEST_F(RoomViewTest, ConnectionReportShowsOnceAcrossRoomsAndNotAfterPutOut)
{
    // A second room on a server of its own.
    CRoomServer server2;
    ASSERT_TRUE(server2.Start());
    server2.AnswerLogon(RoomBody::LogonOk(kOwnUserID));
    CGameRoom room2(kRoomID + 1);
    room2.SetServerAddresses("127.0.0.1");
    room2.SetPort(server2.GetPort());
    room2.SetGameId(kGameID);
    CSidePanelDouble panel2;
    ASSERT_TRUE(panel2.Create());
    CRoomViewItem* pView2 = CRoomViewItem::Create(&m_Tabs);
    ASSERT_TRUE(pView2->CreateRoomWindow(NULL, CRect(0, 0, 400, 300), 0));
    ASSERT_TRUE(pView2->InitRoomView(&room2, &panel2, NULL));
    MakeView();
    EnterRoom();
    ASSERT_TRUE(pView2->ConnectRoomServer());
    ASSERT_TRUE(PumpUntil([&] { return pView2->GetRoomState() == ROOM_STATE_LOGGED_ON; }));

    std::string strLost = std::string(g_GlobalUnits.LoadResString(11002));
    m_Script.Then([&](AFX_MODAL_REQUEST&) {
        // While the first report shows, the other room loses its server too.
        server2.Stop();
        EXPECT_TRUE(PumpUntil([&] { return panel2.ChatText().find(strLost) != std::string::npos; }));
        return (INT_PTR)IDOK;
    });
    m_Server.Stop();
    ASSERT_TRUE(PumpUntil([&] { return m_Tabs.Posted(WM_ROOM_CONNECTION) == 1; }));
    PumpMessages();
    EXPECT_EQ(1u, m_Script.Count());
    EXPECT_EQ(CString(strLost.c_str()), m_Script.At(0).strText);
    EXPECT_EQ(1u, m_Tabs.Posted(WM_ROOM_CONNECTION));
    pView2->CloseRoomView();
    pView2->Release();
}

TEST_F(RoomViewTest, PutOutRoomShowsNoConnectionReport)
{
    MakeView();
    EnterRoom();
    m_Script.Answer(IDOK); // the put-out box
    SendAndSettle(ROOM_MAIN_ROOM, ROOM_SUB_S_KICKED, CWireBytes().U8(1));
    EXPECT_TRUE(m_pView->IsKicked());
    ASSERT_EQ(1u, m_Script.Count());
    EXPECT_EQ(g_GlobalUnits.LoadResString(11053), m_Script.At(0).strText);
    m_Server.Stop();
    ASSERT_TRUE(PumpUntil([&] { return !m_pView->GetRoomDataCenter()->IsConnected(); }));
    PumpMessages();
    EXPECT_EQ(1u, m_Script.Count());
    EXPECT_EQ(0u, m_Tabs.Posted(WM_ROOM_CONNECTION));
}

TEST_F(RoomViewTest, SitFailureTexts)
{
    MakeView();
    EnterRoom();
    struct Case
    {
        DWORD dwCode;
        UINT nText; // 0: as given
        const char* text;
    } cases[] = {
        {1, 12024, nullptr},
        {15, 0, ""},
        {16, 0, ""},
        {28, 0, "坐下未知错误，错误号:28"},
        {40, 0, "坐下未知错误，错误号:40"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dwCode);
        CModalScript script;
        script.Answer(IDOK);
        SendAndSettle(ROOM_MAIN_ROOM, ROOM_SUB_S_SIT_RESULT, CWireBytes().U32(c.dwCode));
        ASSERT_EQ(1u, script.Count());
        CString strExpected = c.nText != 0 ? g_GlobalUnits.LoadResString(c.nText) : CString(c.text);
        EXPECT_EQ(strExpected, script.At(0).strText);
    }
}
