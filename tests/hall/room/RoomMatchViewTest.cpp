// A match room entered through the room view: the match view that the
// start-up factory makes, the match description and group states that reach
// it, the sign-up and withdrawal that reach the server, and the ranking rows
// that follow the room's users.
#include "RoomViewTestSupport.h"

#include <olectl.h>

#include <browser/ScriptedBrowser.h>

#include <algorithm>

#include "GlobalUnits.h"
#include "MessageSequence.h"
#include "RoomMatchViewAdapter.h"

namespace
{

const char kMatchFolder[] = "Res\\gameroom\\MatchViewItem\\";
// Both kind bits set: a match of kind 4.
const DWORD kMatchIdWord = 0x00030000 | RoomViewTest::kRoomID;

// The match description of a room information, as the server sends it.
struct MatchInfo
{
    std::string name = "周赛";
    WORD wRunningCount = 1;
    WORD wFeeType = 1;
    DWORD dwFee = 0;
    WORD wItems = 0;
    DWORD dwSignUp = 60;
    BYTE cbStartMode = 1;
    DWORD dwStartValue = 120;
    WORD wRunning = 1800;
    uint64_t qwBaseTime = 1700000000;
    std::vector<uint32_t> awards = {3, 5};
    uint32_t dwExtraAward = 7;
};

CWireBytes MatchRoomInfo(const MatchInfo& m)
{
    CWireBytes b;
    b.U32(kMatchIdWord).U32(ROOM_TYPE_MATCH).U16(30).U16(4).Str("欢迎").U32(0);
    b.Counted(m.name).U16(m.wRunningCount).U16(m.wFeeType).U32(m.dwFee).U16(m.wItems).U32(m.dwSignUp);
    b.U8(m.cbStartMode).U32(m.dwStartValue).U16(m.wRunning).U64(m.qwBaseTime);
    b.U8(1).U32(100).U8(0).U32(0); // one group
    b.U32(uint32_t(m.awards.size()));
    for (uint32_t id : m.awards)
        b.U32(id);
    b.U16(0).U32(m.dwExtraAward);
    return b;
}

std::string Narrow(const std::wstring& text)
{
    char sz[1024] = "";
    ::WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, sz, sizeof(sz), NULL, NULL);
    return sz;
}

class MatchRoomTest : public RoomViewTest
{
protected:
    void SetUp() override
    {
        RoomViewTest::SetUp();
        ASSERT_TRUE(AfxOleInit());
        WriteMatchSkin();
        m_Room.SetRoomKind(ROOM_KIND_MATCH);
        CRoomMatchViewAdapter::InstallFactory();
    }
    void TearDown() override
    {
        RoomViewTest::TearDown();
        CRoomMatchViewAdapter::RemoveFactory();
        ::OleUninitialize();
    }

    // The cut pictures (the sign-up and withdraw buttons 20 x 8), the facts
    // background and the page addresses.
    void WriteMatchSkin()
    {
        const std::string folder = kMatchFolder;
        ASSERT_TRUE(tabletest::WritePng(m_Skin.Folder(), folder + "MatchViewItem.png", 200, 200, RGB(90, 90, 90)));
        ASSERT_TRUE(tabletest::WritePng(m_Skin.Folder(), folder + "MatchNews.png", 300, 200, RGB(60, 60, 120)));
        std::string layout;
        for (const char* cut : {"QuitSign", "SignIn", "SignInfoL", "SignInfoM", "SignInfoMark", "SignInfoR", "Explain",
                                "SignUpCountL", "SignUpCountM", "SignUpCountR", "StatusBackM", "TimeOutL", "TimeOutM",
                                "TimeOutR", "SignStatus", "SignTimeOut", "MatchBack"})
            layout += std::string("[") + cut + "]\r\nx=0\r\ny=0\r\nwidth=80\r\nheight=8\r\n";
        m_Skin.Folder().Write(folder + "MatchViewItem.ini", layout);
        m_Skin.Folder().Write("Config\\Urls.ini", std::string("[MatchUrl]\r\nTitleUrl=http://127.0.0.1/title\r\n"
                                                              "DescribeUrl=http://127.0.0.1/describe\r\n"));
    }

    // The view made, logged on, the match room's information and its end.
    void EnterMatchRoom(const MatchInfo& info = MatchInfo())
    {
        MakeView();
        Connect();
        ASSERT_EQ(DWORD(ROOM_STATE_LOGGED_ON), m_pView->GetRoomState());
        SendAndSettle(ROOM_MAIN_TABLE, TABLE_SUB_S_ROOM_INFO, MatchRoomInfo(info));
        SendAndSettle(ROOM_MAIN_TABLE, TABLE_SUB_S_INFO_DONE, CWireBytes());
        ASSERT_EQ(DWORD(ROOM_STATE_READY), m_pView->GetRoomState());
        ASSERT_NE(nullptr, Match()) << "no match view in the room";
    }

    CRoomViewItemMatch* Match()
    {
        HWND hMatch = ::GetDlgItem(m_pView->GetSafeHwnd(), IDC_ROOM_MATCH_VIEW);
        return dynamic_cast<CRoomViewItemMatch*>(CWnd::FromHandlePermanent(hMatch));
    }
    CMatchListCtrl* RankList()
    {
        HWND hList = ::GetDlgItem(Match()->GetSafeHwnd(), CRoomViewItemMatch::IDC_MATCH_LIST);
        return dynamic_cast<CMatchListCtrl*>(CWnd::FromHandlePermanent(hList));
    }
    // The user ids of the ranking rows, top down.
    std::vector<DWORD> Rows()
    {
        std::vector<DWORD> rows;
        CMatchListCtrl* pList = RankList();
        for (int i = 0; pList != nullptr && i < pList->GetItemCount(); ++i)
            rows.push_back(reinterpret_cast<CUserItem*>(pList->GetItemData(i))->GetUserID());
        return rows;
    }

    void GroupState(WORD wGroup, DWORD dwValue, BYTE cbState)
    {
        SendAndSettle(ROOM_MAIN_TABLE, TABLE_SUB_S_GROUP_STATE, CWireBytes().U16(wGroup).U32(dwValue).U8(cbState));
    }
    // The server's extension values of a user: the room refreshes him.
    void RefreshUser(DWORD dwUserID, DWORD dwMatchValue)
    {
        SendAndSettle(ROOM_MAIN_ROOM, ROOM_SUB_S_USER_EXTENSION,
                      CWireBytes().U32(dwUserID).U32(dwMatchValue).U32(0).U32(0));
    }
    // A click as the mouse makes it, in the middle of the button.
    void Click(int nID)
    {
        const CRect rc = Match()->GetButton(nID).GetRect();
        ASSERT_FALSE(rc.IsRectEmpty()) << nID;
        const LPARAM at = MAKELPARAM(rc.CenterPoint().x, rc.CenterPoint().y);
        Match()->SendMessage(WM_MOUSEMOVE, 0, at);
        Match()->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, at);
        Match()->SendMessage(WM_LBUTTONUP, 0, at);
    }
    bool Shown(int nID) { return Match()->GetButton(nID).IsVisible(); }
    bool Enabled(int nID) { return !Match()->GetButton(nID).IsDisabled(); }
    size_t Sent(WORD wSubCmdID) { return Requests(ROOM_MAIN_ROOM, wSubCmdID).size(); }

    CScriptedBrowserFactory m_Browsers;
};

} // namespace

TEST(MatchRecordTest, TheMatchDescriptionBecomesTheMatchRecordFieldByField)
{
    std::unique_ptr<tagRoomInfo> pInfo(new tagRoomInfo);
    tagRoomInfo& info = *pInfo;
    memset(&info, 0, sizeof(info));
    info.dwRoomID = kMatchIdWord;
    memset(info.Match.szName, 'n', sizeof(info.Match.szName)); // no terminator
    info.Match.wValue1 = 1;
    info.Match.wValue2 = 0xFFFF;
    info.Match.dwValue3 = 30;
    info.Match.wValue4 = 4;
    info.Match.dwValue5 = 60;
    info.Match.cbKind = 1;
    info.Match.dwValue6 = 120;
    info.Match.wValue7 = 1800;
    const uint64_t qwBase = 0x0000000165A0BC00ull;
    memcpy(info.Match.cbTime, &qwBase, 8);
    info.dwValueCount = 3;
    info.dwValues[0] = 11;
    info.dwValues[2] = 13;
    info.dwValues[3] = 99; // beyond the count
    info.dwTailValue = 7;

    tagMatchRecord record;
    memset(&record, 0xCD, sizeof(record));
    CRoomMatchViewAdapter::BuildMatchRecord(info, record);
    EXPECT_EQ(kMatchIdWord, record.dwMatchId);
    EXPECT_EQ(std::string(33, 'n'), std::string(reinterpret_cast<const char*>(record.cbReserved1)))
        << "the name stays inside its field, terminated";
    EXPECT_EQ(1, record.wRunningCount);
    EXPECT_EQ(-1, record.nFeeType);
    EXPECT_EQ(30u, record.dwFee);
    EXPECT_EQ(4, record.wItemCount);
    EXPECT_EQ(60u, record.dwSignUpSeconds);
    EXPECT_EQ(1, record.cbStartMode);
    EXPECT_EQ(120u, record.dwStartValue);
    EXPECT_EQ(1800u, record.dwRunningSeconds);
    EXPECT_EQ(0u, record.dwRunningCountdown);
    EXPECT_EQ(qwBase, record.qwBaseTime);
    EXPECT_EQ(qwBase + 60 + 120 + 1800, record.qwMatchTime) << "a timed match ends its running seconds after the start";
    EXPECT_EQ(3u, record.dwAwardCount);
    EXPECT_EQ(11u, record.dwAwardIds[0]);
    EXPECT_EQ(13u, record.dwAwardIds[2]);
    EXPECT_EQ(0u, record.dwAwardIds[3]);
    EXPECT_EQ(7u, record.dwExtraAwardId);

    // A match that starts when enough players signed up has no end time;
    // a count past the award list is cut to the list.
    info.Match.cbKind = 2;
    info.dwValueCount = 5000;
    CRoomMatchViewAdapter::BuildMatchRecord(info, record);
    EXPECT_EQ(0u, record.qwMatchTime);
    EXPECT_EQ(DWORD(kMaxMatchAwards), record.dwAwardCount);
}

TEST_F(MatchRoomTest, TheMatchRoomShowsTheMatchViewWithItsDescription)
{
    MatchInfo info;
    info.dwFee = 30;
    EnterMatchRoom(info);
    CRoomViewItemMatch* pMatch = Match();
    EXPECT_EQ(IDC_ROOM_MATCH_VIEW, UINT(pMatch->GetDlgCtrlID()));
    EXPECT_NE(0u, pMatch->GetStyle() & WS_VISIBLE);
    // The grid goes with the table view that holds it, toolbar and all.
    EXPECT_EQ(0u, m_pView->GetTableFrame()->GetParent()->GetStyle() & WS_VISIBLE);
    CRect rcRoom, rcMatch;
    m_pView->GetClientRect(&rcRoom);
    pMatch->GetClientRect(&rcMatch);
    EXPECT_EQ(rcRoom.Size(), rcMatch.Size()) << "the match view fills the room";

    const tagMatchRecord& record = pMatch->GetMatchRecord();
    EXPECT_EQ(kMatchIdWord, *pMatch->GetMatchId());
    EXPECT_EQ(4, pMatch->GetMatchKind());
    EXPECT_EQ(1, record.nFeeType);
    EXPECT_EQ(30u, record.dwFee);
    EXPECT_EQ(60u, record.dwSignUpSeconds);
    EXPECT_EQ(1, record.cbStartMode);
    EXPECT_EQ(120u, record.dwStartValue);
    EXPECT_EQ(1800u, record.dwRunningSeconds);
    EXPECT_EQ(info.qwBaseTime, record.qwBaseTime);
    EXPECT_EQ(2u, record.dwAwardCount);
    EXPECT_EQ(5u, record.dwAwardIds[1]);
    EXPECT_EQ(7u, record.dwExtraAwardId);

    // The two panes carry the room's id; the description pane is made last.
    ASSERT_EQ(2u, m_Browsers.Count());
    std::vector<std::string> urls;
    for (const CScriptedBrowser::Navigation& nav : m_Browsers.Last()->m_navigations)
        urls.push_back(Narrow(nav.strURL));
    EXPECT_NE(urls.end(), std::find(urls.begin(), urls.end(), "http://127.0.0.1/describe?7")) << urls.size();

    // It paints its facts picture where the layout for the room's width
    // put it (partly off the left edge at 800 pixels).
    const skintest::Snapshot view(pMatch->GetSafeHwnd());
    const CRect rcFacts = pMatch->GetWidget(0)->GetRect();
    EXPECT_EQ(CSize(300, 200), rcFacts.Size());
    EXPECT_EQ(RGB(60, 60, 120), view.At(rcFacts.right - 5, rcFacts.bottom - 5));
}

TEST_F(MatchRoomTest, GroupStatesDriveTheButtons)
{
    EnterMatchRoom();
    const struct
    {
        const char* what;
        DWORD dwValue;
        BYTE cbState;
        bool signShown, signEnabled, quitShown;
        DWORD dwSignUp, dwStart; // the countdowns after the state
    } cases[] = {
        {"waiting: sign-up seconds from the countdown", 45000, 1, true, false, false, 45, 120},
        {"open: start value from the countdown", 90000, 2, true, true, false, 45, 90},
        {"open again: acts once", 30000, 2, true, true, false, 45, 90},
        {"running", 0, 3, true, false, false, 45, 90},
        {"over: the countdowns as described", 0, 4, true, false, false, 60, 120},
        {"idle", 0, 0, true, false, false, 60, 120},
    };
    // The countdown's ticks are not what this test looks at.
    Match()->KillTimer(CRoomViewItemMatch::IDT_COUNTDOWN);
    for (const auto& c : cases) {
        GroupState(0, c.dwValue, c.cbState);
        EXPECT_EQ(DWORD(c.cbState), Match()->GetMatchState()) << c.what;
        EXPECT_EQ(c.signShown, Shown(CRoomViewItemMatch::IDC_SIGN_IN)) << c.what;
        EXPECT_EQ(c.signEnabled, Enabled(CRoomViewItemMatch::IDC_SIGN_IN)) << c.what;
        EXPECT_EQ(c.quitShown, Shown(CRoomViewItemMatch::IDC_QUIT_SIGN)) << c.what;
        EXPECT_EQ(c.dwSignUp, Match()->GetMatchRecord().dwSignUpSeconds) << c.what;
        EXPECT_EQ(c.dwStart, Match()->GetMatchRecord().dwStartValue) << c.what;
        // The ranking list asks its parent for the state.
        IMatchListOwner* pOwner = dynamic_cast<IMatchListOwner*>(RankList()->GetParent());
        ASSERT_NE(nullptr, pOwner);
        EXPECT_EQ(DWORD(c.cbState), pOwner->GetMatchState()) << c.what;
    }
}

TEST_F(MatchRoomTest, SignUpAndWithdrawalReachTheServer)
{
    MatchInfo info;
    info.dwFee = 30;
    EnterMatchRoom(info);
    EnterUser(kOwnUserID, "我");
    GroupState(0, 0, 2);
    ASSERT_TRUE(Enabled(CRoomViewItemMatch::IDC_SIGN_IN));

    // The fee question through the room's box: No sends nothing.
    m_Script.Answer(IDNO);
    Click(CRoomViewItemMatch::IDC_SIGN_IN);
    ASSERT_EQ(1u, m_Script.Count());
    EXPECT_EQ(CString("报名将扣除30金蛋，是否继续？"), m_Script.At(0).strText);
    m_Script.Answer(IDYES);
    Click(CRoomViewItemMatch::IDC_SIGN_IN);
    ASSERT_TRUE(PumpUntil([&] { return Sent(ROOM_SUB_JOIN_MATCH) == 1; })) << "no sign-up request";
    EXPECT_FALSE(Enabled(CRoomViewItemMatch::IDC_SIGN_IN));

    // Accepted: the withdraw button takes its place.
    SendAndSettle(ROOM_MAIN_ROOM, ROOM_SUB_S_SIGN_BUTTONS, CWireBytes().U32(0));
    EXPECT_FALSE(Shown(CRoomViewItemMatch::IDC_SIGN_IN));
    EXPECT_TRUE(Shown(CRoomViewItemMatch::IDC_QUIT_SIGN));
    EXPECT_TRUE(Enabled(CRoomViewItemMatch::IDC_QUIT_SIGN));

    m_Script.Answer(IDYES);
    Click(CRoomViewItemMatch::IDC_QUIT_SIGN);
    ASSERT_EQ(3u, m_Script.Count());
    EXPECT_EQ(CString("您确定要退赛么？"), m_Script.At(2).strText);
    ASSERT_TRUE(PumpUntil([&] { return Sent(ROOM_SUB_QUIT_MATCH) == 1; })) << "no withdrawal request";

    // The withdrawal accepted: sign-up again, open in state 2.
    SendAndSettle(ROOM_MAIN_ROOM, ROOM_SUB_S_SIGN_RESULT, CWireBytes().U32(0));
    EXPECT_TRUE(Shown(CRoomViewItemMatch::IDC_SIGN_IN));
    EXPECT_TRUE(Enabled(CRoomViewItemMatch::IDC_SIGN_IN));
    EXPECT_FALSE(Shown(CRoomViewItemMatch::IDC_QUIT_SIGN));
    EXPECT_EQ(1u, Sent(ROOM_SUB_JOIN_MATCH));
}

TEST_F(MatchRoomTest, TheOwnSignStatusComesWithTheOwnUser)
{
    EnterMatchRoom();
    EnterUser(kOwnUserID, "我");
    GroupState(0, 0, 2);
    EXPECT_EQ(0u, Match()->GetOwnSignStatus());
    EXPECT_EQ(Me(), Match()->GetSelfUserItem());
    // Signed up elsewhere: the room refreshes him and the withdraw shows.
    Me()->GetSecondExtension()->dwValue1 = 1;
    RefreshUser(kOwnUserID, 5);
    EXPECT_EQ(1u, Match()->GetOwnSignStatus());
    EXPECT_TRUE(Shown(CRoomViewItemMatch::IDC_QUIT_SIGN));
    EXPECT_FALSE(Enabled(CRoomViewItemMatch::IDC_SIGN_IN));
}

TEST_F(MatchRoomTest, RankRowsFollowTheRoomsUsers)
{
    EnterMatchRoom();
    EnterUser(2001, "甲");
    EnterUser(2002, "乙");
    EnterUser(kOwnUserID, "我");
    std::vector<DWORD> rows = Rows();
    std::sort(rows.begin(), rows.end());
    EXPECT_EQ((std::vector<DWORD>{kOwnUserID, 2001, 2002}), rows);

    // Ranks come with the users' refresh: ranked first, in rank order.
    User(2001)->GetSecondExtension()->wValue2 = 2;
    User(2002)->GetSecondExtension()->wValue2 = 1;
    RefreshUser(2001, 5);
    RefreshUser(2002, 6);
    EXPECT_EQ((std::vector<DWORD>{2002, 2001, kOwnUserID}), Rows());
    EXPECT_EQ(CString("1"), RankList()->GetItemText(0, 0));
    EXPECT_EQ(CString("乙"), RankList()->GetItemText(0, 1));

    // A user whose match value is gone leaves the ranking; one who leaves
    // the room leaves it too.
    RefreshUser(2001, 0);
    SendAndSettle(ROOM_MAIN_ROOM, ROOM_SUB_S_USER_VALUE, CWireBytes().U32(2001).U32(0));
    EXPECT_EQ((std::vector<DWORD>{2002, kOwnUserID}), Rows());
    SendAndSettle(ROOM_MAIN_ROOM, ROOM_SUB_S_USER_LEAVE, CWireBytes().U32(2002));
    EXPECT_EQ((std::vector<DWORD>{kOwnUserID}), Rows());
    EXPECT_EQ(1, Match()->GetRankRowCount());
}

// Arrivals in one read of the socket reach the ranking while it draws
// nothing; it draws again once they are handled.
TEST_F(MatchRoomTest, ABurstOfUsersReachesTheRankingWithItsDrawingHeld)
{
    EnterMatchRoom();
    CMessageRecorder recorder;
    recorder.Watch(RankList()->GetSafeHwnd());
    ASSERT_TRUE(m_Server.Run({CScriptedServer::Raw(ArrivalBurst(3001, 3003))}));
    ASSERT_TRUE(m_Server.Settle());
    PumpMessages();
    EXPECT_EQ(3u, Rows().size());
    std::string seen;
    for (const RecordedMessage& message : recorder.Recorded()) {
        if (message.message == WM_SETREDRAW)
            seen += message.wParam ? "draws " : "held ";
        else if (message.message == LVM_INSERTITEMA || message.message == LVM_INSERTITEMW)
            seen += "row ";
    }
    EXPECT_EQ("held row row row draws ", seen);
}

TEST_F(MatchRoomTest, WithoutTheFactoryTheRoomHasNoMatchView)
{
    CRoomMatchViewAdapter::RemoveFactory();
    MakeView();
    EXPECT_EQ(nullptr, ::GetDlgItem(m_pView->GetSafeHwnd(), IDC_ROOM_MATCH_VIEW));
}
