// Seat clicks and table commands: the seat checks in order, sit down and
// look on with their passwords, quick join, invitations.
#include "RoomViewTestSupport.h"

class RoomViewSeatTest : public RoomViewTest
{
protected:
    void SetUp() override
    {
        RoomViewTest::SetUp();
        MakeView();
        EnterRoom();
        m_pOption = m_pView->GetGameOption();
        ASSERT_NE(nullptr, m_pOption);
        m_Saved = *m_pOption;
        m_pOption->m_bLimitDelay = m_pOption->m_bLimitWin = m_pOption->m_bLimitFlee = m_pOption->m_bLimitScore = false;
        m_pOption->m_bLimitInvite = false;
    }
    void TearDown() override
    {
        *m_pOption = m_Saved;
        RoomViewTest::TearDown();
    }
    // A user seated at a table: scores {score, wins, losses, draws, flees}.
    CUserItem* Seat(DWORD dwUserID, WORD wTable, WORD wChair)
    {
        EnterUser(dwUserID, "对手" + std::to_string(dwUserID));
        SetStatus(dwUserID, wTable, wChair, kServerSit);
        return User(dwUserID);
    }
    // The data centre holds further seats while a request is on its way; a
    // test that sits again lets it go.
    void Answered() { m_pView->GetRoomDataCenter()->SetGameState(GAME_STATE_NONE); }
    size_t SitRequests() { return Requests(ROOM_MAIN_ROOM, ROOM_SUB_SIT_DOWN).size(); }
    void WaitSitRequests(size_t n)
    {
        EXPECT_TRUE(PumpUntil([&] { return SitRequests() == n; })) << SitRequests();
    }

    CGameOption* m_pOption = nullptr;
    CGameOption m_Saved{0, nullptr};
};

TEST_F(RoomViewSeatTest, CheckSeatAnswersTheFirstFailingCheck)
{
    CUserItem* pOther = Seat(2001, 2, 0);
    tagUserData* pData = pOther->GetUserData();
    struct Case
    {
        const char* name;
        std::function<void()> prepare;
        WORD wTable, wChair;
        bool bLookOn;
        bool bShow;
        bool bResult;
        const char* text; // the box shown, or null
    } cases[] = {
        {"table out of range", [] {}, 30, 0, false, true, false, nullptr},
        {"chair out of range", [] {}, 2, 4, false, true, false, nullptr},
        {"seat taken", [] {}, 2, 0, false, true, false, nullptr},
        {"looking on an empty seat", [] {}, 2, 1, true, true, false, nullptr},
        {"looking on needs the permission", [] {}, 2, 0, true, true, false, nullptr},
        {"looking on with it", [&] { Me()->GetUserData()->dwLookOnWord = 1; }, 2, 0, true, true, true, nullptr},
        {"net delay",
         [&] {
             pData->wKey102 = 300;
             m_pOption->m_bLimitDelay = true;
             m_pOption->m_wNetDelay = 100;
         },
         2, 1, false, true, false, "[ 对手2001 ] 的网络延时太高了，与你的设置不符！"},
        {"net delay, no messages", [] {}, 2, 1, false, false, false, nullptr},
        {"win rate without games",
         [&] {
             m_pOption->m_bLimitDelay = false;
             m_pOption->m_bLimitWin = true;
             m_pOption->m_wWinRate = 1;
         },
         2, 1, false, true, false, "[ 对手2001 ] 的胜率太低了，与你的设置不符！"},
        {"win rate of 500,000 wins",
         [&] {
             pData->dwScore[1] = 500000;
             m_pOption->m_wWinRate = 9999;
         },
         2, 1, false, true, true, nullptr},
        {"flee rate 0 passes a limit of 0",
         [&] {
             m_pOption->m_bLimitWin = false;
             m_pOption->m_bLimitFlee = true;
             m_pOption->m_wFleeRate = 0;
         },
         2, 1, false, true, true, nullptr},
        {"flee rate above the limit",
         [&] {
             pData->dwScore[4] = 500000; // half the games
             m_pOption->m_wFleeRate = 4999;
         },
         2, 1, false, true, false, "[ 对手2001 ] 的逃跑率太高了，与你的设置不符！"},
        {"score too high",
         [&] {
             m_pOption->m_bLimitFlee = false;
             m_pOption->m_bLimitScore = true;
             m_pOption->m_lMaxScore = 100;
             m_pOption->m_lLessScore = -100;
             pData->dwScore[0] = 101;
         },
         2, 1, false, true, false, "[ 对手2001 ] 的积分太高了，与你的设置不符！"},
        {"score too low", [&] { pData->dwScore[0] = DWORD(-101); }, 2, 1, false, true, false,
         "[ 对手2001 ] 的积分太低了，与你的设置不符！"},
        {"score within", [&] { pData->dwScore[0] = DWORD(-100); }, 2, 1, false, true, true, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.prepare();
        CModalScript script;
        if (c.text != nullptr)
            script.Answer(IDOK);
        EXPECT_EQ(c.bResult, m_pView->CheckSeat(c.wTable, c.wChair, c.bLookOn, c.bShow));
        ASSERT_EQ(c.text != nullptr ? 1u : 0u, script.Count());
        if (c.text != nullptr) {
            EXPECT_EQ(CString(c.text), script.At(0).strText);
        }
    }
}

TEST_F(RoomViewSeatTest, DislikeQuestionEvenWithoutMessages)
{
    Seat(2001, 2, 0)->GetUserData()->cbRelation = 2;
    for (INT_PTR answer : {IDNO, IDYES}) {
        CModalScript script;
        script.Answer(answer);
        EXPECT_EQ(answer == IDYES, m_pView->CheckSeat(2, 1, false, false));
        ASSERT_EQ(1u, script.Count());
        EXPECT_EQ(CString("此桌有你讨厌的玩家 [ 对手2001 ] ,是否要与该玩家进行游戏？"), script.At(0).strText);
    }
}

TEST_F(RoomViewSeatTest, PutOutUserCannotSitEvenSilently)
{
    m_Script.Answer(IDOK);
    SendAndSettle(ROOM_MAIN_ROOM, ROOM_SUB_S_KICKED, CWireBytes().U8(1));
    CModalScript script;
    script.Answer(IDOK);
    EXPECT_FALSE(m_pView->CheckSeat(1, 1, false, false));
    ASSERT_EQ(1u, script.Count());
    EXPECT_EQ(CString("你已被踢出房间，不能坐下，请退出房间后再重新进入！"), script.At(0).strText);
}

TEST_F(RoomViewSeatTest, SitDownShowsThePendingSeatAndIgnoresItsSecondClick)
{
    m_pView->OnLButtonHitTable(4, 2, 0);
    WaitSitRequests(1);
    EXPECT_EQ(4, m_pView->GetPendingTable());
    EXPECT_EQ(2, m_pView->GetPendingChair());
    EXPECT_EQ(Me(), m_pView->GetTableFrame()->GetUserItem(4, 2));
    m_pView->OnLButtonHitTable(4, 2, 0);
    PumpMessages();
    EXPECT_EQ(1u, SitRequests());
    // Another seat moves the pending one.
    Answered();
    m_pView->OnLButtonHitTable(5, 0, 0);
    WaitSitRequests(2);
    EXPECT_EQ(nullptr, m_pView->GetTableFrame()->GetUserItem(4, 2));
    EXPECT_EQ(Me(), m_pView->GetTableFrame()->GetUserItem(5, 0));
    // A refused sit-down takes him off it again.
    m_Script.Answer(IDOK);
    SendAndSettle(ROOM_MAIN_ROOM, ROOM_SUB_S_SIT_RESULT, CWireBytes().U32(3));
    EXPECT_EQ(nullptr, m_pView->GetTableFrame()->GetUserItem(5, 0));
    EXPECT_EQ(INVALID_TABLE, m_pView->GetPendingTable());
}

TEST_F(RoomViewSeatTest, FailedSendLeavesNoSeat)
{
    m_Script.Answer(IDOK); // the connection report
    m_Server.Stop();
    ASSERT_TRUE(PumpUntil([&] { return !m_pView->GetRoomDataCenter()->IsConnected() && m_Script.Count() == 1; }));
    EXPECT_FALSE(m_pView->SitDown(3, 1));
    EXPECT_EQ(nullptr, m_pView->GetTableFrame()->GetUserItem(3, 1));
    EXPECT_EQ(INVALID_TABLE, m_pView->GetPendingTable());
    EXPECT_EQ(INVALID_CHAIR, m_pView->GetPendingChair());
}

TEST_F(RoomViewSeatTest, LockedTableAsksItsPassword)
{
    SendAndSettle(ROOM_MAIN_TABLE, TABLE_SUB_S_TABLE_FLAGS, CWireBytes().U16(6).U32(2));
    ASSERT_TRUE(m_pView->GetTableFrame()->GetLockFlag(6));
    m_Dialogs.tablePasswords.push_back({false, "", nullptr});
    m_pView->OnLButtonHitTable(6, 1, 0);
    EXPECT_EQ(1, m_Dialogs.nTablePassAsked);
    EXPECT_EQ(INVALID_TABLE, m_pView->GetPendingTable());
    EXPECT_EQ(0xFFFF, m_pView->GetQuickJoinPosition());
    EXPECT_EQ(nullptr, m_pView->GetTableFrame()->GetUserItem(6, 1));
    m_Dialogs.tablePasswords.push_back({true, "pass77", nullptr});
    m_pView->OnLButtonHitTable(6, 1, 0);
    WaitSitRequests(1);
    std::vector<tagServerFrame> sits = Requests(ROOM_MAIN_ROOM, ROOM_SUB_SIT_DOWN);
    const std::string password = "pass77";
    EXPECT_NE(sits[0].Body.end(),
              std::search(sits[0].Body.begin(), sits[0].Body.end(), password.begin(), password.end()));
    EXPECT_EQ(CString("pass77"), CRoomViewItem::s_strTablePassword);
}

TEST_F(RoomViewSeatTest, QuickJoinOrderSkipsAndFallback)
{
    // Empty room: only the fallback search takes an empty table.
    m_pView->QuickJoinTable();
    WaitSitRequests(1);
    EXPECT_EQ(0, m_pView->GetPendingTable());
    // A table with a player comes first, searching after the last find.
    Seat(2001, 7, 0);
    Seat(2002, 3, 0);
    Answered();
    m_pView->QuickJoinTable();
    WaitSitRequests(2);
    EXPECT_EQ(3, m_pView->GetPendingTable());
    Answered();
    m_pView->QuickJoinTable();
    WaitSitRequests(3);
    EXPECT_EQ(7, m_pView->GetPendingTable());
    // Playing and locked tables are skipped.
    SendAndSettle(ROOM_MAIN_TABLE, TABLE_SUB_S_TABLE_FLAGS, CWireBytes().U16(3).U32(1));
    SendAndSettle(ROOM_MAIN_TABLE, TABLE_SUB_S_TABLE_FLAGS, CWireBytes().U16(7).U32(2));
    Answered();
    m_pView->QuickJoinTable();
    WaitSitRequests(4);
    EXPECT_NE(3, m_pView->GetPendingTable());
    EXPECT_NE(7, m_pView->GetPendingTable());
}

TEST_F(RoomViewSeatTest, QuickJoinFindsNothing)
{
    for (WORD wTable = 0; wTable < 30; ++wTable)
        SendAndSettle(ROOM_MAIN_TABLE, TABLE_SUB_S_TABLE_FLAGS, CWireBytes().U16(wTable).U32(1));
    m_Script.Answer(IDOK);
    m_pView->QuickJoinTable();
    ASSERT_EQ(1u, m_Script.Count());
    EXPECT_EQ(CString("找不到符合条件的游戏桌！"), m_Script.At(0).strText);
    EXPECT_EQ(0xFFFF, m_pView->GetQuickJoinPosition());
    EXPECT_EQ(0u, SitRequests());
}

TEST_F(RoomViewSeatTest, InvitationAskedAndAccepted)
{
    Seat(2001, 9, 0);
    m_Script.Answer(IDYES);
    SendAndSettle(ROOM_MAIN_ROOM, ROOM_SUB_S_INVITE, RoomBody::Invite(2001, 9));
    ASSERT_EQ(1u, m_Script.Count());
    EXPECT_EQ(CString("[ 对手2001 ] 邀请你加入第 [ 10 ] 游戏桌进行游戏，是否同意？"), m_Script.At(0).strText);
    WaitSitRequests(1);
    EXPECT_EQ(9, m_pView->GetPendingTable());
    // Refused by the options: no question.
    m_pOption->m_bLimitInvite = true;
    SendAndSettle(ROOM_MAIN_ROOM, ROOM_SUB_S_INVITE, RoomBody::Invite(2001, 9));
    EXPECT_EQ(1u, m_Script.Count());
}

TEST_F(RoomViewSeatTest, InvitationToAFullTable)
{
    for (WORD wChair = 0; wChair < 4; ++wChair)
        Seat(2001 + wChair, 9, wChair);
    m_Script.Answer(IDYES).Answer(IDOK);
    SendAndSettle(ROOM_MAIN_ROOM, ROOM_SUB_S_INVITE, RoomBody::Invite(2001, 9));
    ASSERT_EQ(2u, m_Script.Count());
    EXPECT_EQ(CString("此游戏桌已经没有空位置了!"), m_Script.At(1).strText);
    EXPECT_EQ(0u, SitRequests());
}
