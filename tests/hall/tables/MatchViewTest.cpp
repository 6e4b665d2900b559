// The match room view in a room double: skin pictures and their helpers,
// layout, buttons clicked by mouse messages, the state rules and countdown,
// the award list over HTTP, and the drawn boxes.
#include "MatchTestSupport.h" // Winsock before the system headers

#include <afxtest.h>
#include <stdlib.h>
#include <time.h>

#include <AfxModalScript.h>
#include <HttpTestServer.h>
#include <MessagePump.h>

#include "AsyncDownLoader.h"
#include "GameRoom.h"
#include "GlobalUnits.h"
#include "RoomViewItemMatch.h"
#include <WidgetDC.h>

using namespace matchtest;

namespace
{
// The parent of the view: keeps what the view posts to it.
class ParentWnd : public CWnd
{
public:
    std::vector<UINT> posted;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message >= WM_USER)
            posted.push_back(message);
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

struct LauncherDouble : CBrowserLauncher
{
    INT_PTR ShellOpen(LPCSTR url, int) override
    {
        opened.push_back(url);
        return 42;
    }
    std::vector<std::string> opened;
};

// The digit cells on the middle row of the area, left to right, as (digit,
// left edge); cells of the same digit side by side count one by one.
std::vector<std::pair<int, int>> DigitCells(const CMemoryCanvas& canvas, const RECT& area)
{
    std::vector<std::pair<int, int>> cells;
    const int y = (area.top + area.bottom) / 2;
    for (int x = area.left; x < area.right;) {
        int digit = -1;
        for (int d = 0; d < 10; ++d)
            if (canvas.At(x, y) == DigitColour(d))
                digit = d;
        if (digit < 0) {
            ++x;
            continue;
        }
        int end = x;
        while (end < area.right && canvas.At(end, y) == DigitColour(digit))
            ++end;
        for (int left = x; left < end; left += kDigitWidth)
            cells.push_back({digit, left});
        x = end;
    }
    return cells;
}

tagMatchRecord Record(BYTE startMode)
{
    tagMatchRecord record = {};
    record.dwMatchId = 0x30007;
    record.cbStartMode = startMode;
    record.nFeeType = 1;
    return record;
}
} // namespace

// ---- pictures ------------------------------------------------------------------------

class MatchImagesTest : public testing::Test
{
protected:
    MatchSkin m_Skin;
};

TEST_F(MatchImagesTest, NoAtlasGivesNoBoxesNoCutsAndNoBackground)
{
    m_Skin.WriteAll();
    m_Skin.Remove("MatchViewItem.png");
    m_Skin.Folder().Write(m_Skin.MatchFile("scrollbar.bmp"), skintest::Bmp24(skintest::Pixels(16, 16, kAtlas)));
    CModalScript script;
    CMatchImages images;
    images.LoadMatchImages(m_Skin.Folder().File("Res\\gameroom\\MatchViewItem\\").c_str(), NULL);
    EXPECT_EQ(0u, script.Count());
    EXPECT_FALSE(images.m_SignIn.IsValid());
    EXPECT_FALSE(images.m_MatchBack.IsValid());
    EXPECT_FALSE(images.m_Background.IsValid());
    EXPECT_EQ(NULL, images.GetScrollBitmap());
    EXPECT_TRUE(images.m_MatchNews.IsValid()) << "pictures in files of their own still load";
    EXPECT_TRUE(images.m_Number.IsValid());
}

TEST_F(MatchImagesTest, MissingOrEmptySectionsAreReportedAndLoadingGoesOn)
{
    m_Skin.WriteAll();
    m_Skin.WriteLayout("[SignIn]\r\nx=0\r\ny=0\r\nwidth=10\r\nheight=0\r\n[Explain]\r\nwidth=0\r\n");
    CModalScript script;
    script.Answer(IDOK).Answer(IDOK);
    CMatchImages images;
    images.LoadMatchImages(m_Skin.Folder().File("Res\\gameroom\\MatchViewItem\\").c_str(), NULL);
    ASSERT_EQ(2u, script.Count());
    EXPECT_EQ(CString("Image SignIn can not find in ini! "), script.At(0).strText);
    EXPECT_EQ(CString("Image Explain can not find in ini! "), script.At(1).strText);
    EXPECT_FALSE(images.m_SignIn.IsValid());
    EXPECT_TRUE(images.m_SignTimeOut.IsValid()) << "the cuts after it";
    EXPECT_EQ(0, script.Unexpected());
}

TEST_F(MatchImagesTest, BackgroundTilesReachTheRightEdge)
{
    m_Skin.WriteAll();
    CMatchImages images;
    images.LoadMatchImages(m_Skin.Folder().File("Res\\gameroom\\MatchViewItem\\").c_str(), NULL);
    ASSERT_TRUE(images.m_Background.IsValid());
    EXPECT_EQ(1024u, images.m_Background.GetWidth());
    EXPECT_EQ(768u, images.m_Background.GetHeight());
    CMemoryCanvas canvas(1024, 768, RGB(1, 2, 3));
    images.m_Background.Draw(canvas.GetSafeHdc(), 0, 0);
    for (POINT p : {POINT{0, 0}, POINT{999, 767}, POINT{1010, 10}, POINT{1023, 767}})
        EXPECT_EQ(kTile, canvas.At(p.x, p.y)) << p.x << "," << p.y;
}

TEST(MatchNumberTest, DigitCellsAreCentredAndPadded)
{
    MatchSkin skin;
    skin.WriteAll();
    CPicture digits;
    ASSERT_TRUE(digits.Load(skin.Folder().File(skin.MatchFile("Num.png")).c_str()));
    const struct
    {
        LONGLONG value;
        bool pad;
        std::vector<std::pair<int, int>> cells; // digit, left edge, centre x = 100
    } cases[] = {
        {5, true, {{0, 90}, {5, 100}}},
        {0, false, {{0, 95}}},
        {1234, false, {{1, 81}, {2, 91}, {3, 101}, {4, 111}}},
        {-3, false, {{0, 95}}},
    };
    for (const auto& c : cases) {
        CMemoryCanvas canvas(200, 60, RGB(1, 2, 3));
        DrawNumber(canvas.DC(), digits, c.value, 100, 30, c.pad);
        EXPECT_EQ(c.cells, DigitCells(canvas, CRect(1, 20, 200, 40))) << c.value;
        EXPECT_EQ(DigitColour(c.cells.front().first), canvas.At(c.cells.front().second, 20)) << "top at y - h/2";
        EXPECT_EQ(RGB(1, 2, 3), canvas.At(c.cells.front().second, 19)) << c.value;
    }
    EXPECT_EQ(CString("05"), NumberToText(5, true));
    EXPECT_EQ(CString("1234"), NumberToText(1234, true));
    EXPECT_EQ(CString("0"), NumberToText(0, false));
}

// ---- the view --------------------------------------------------------------------------

class MatchViewTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_Skin.WriteAll();
        m_Room.room = &m_GameRoom;
        m_GameRoom.SetGameId(9);
        g_GlobalUnits.GetGlobalUserData()->dwUserID = 500;
        ASSERT_TRUE(m_Parent.CreateEx(0, NULL, "match", WS_POPUP, CRect(0, 0, 1024, 700), NULL, 0));
    }
    void TearDown() override
    {
        if (m_pView != NULL) {
            m_pView->DestroyWindow();
            delete m_pView;
        }
        m_Parent.DestroyWindow();
        g_GlobalUnits.GetGlobalUserData()->dwUserID = 0;
    }
    void MakeView(int cx = 1024)
    {
        m_pView = new CRoomViewItemMatch(&m_Room);
        ASSERT_TRUE(m_pView->Create(NULL, NULL, WS_CHILD | WS_VISIBLE, CRect(0, 0, cx, 700), &m_Parent, 7));
    }
    // A click as the mouse makes it, in the middle of the button.
    void Click(int nID)
    {
        const CRect rc = m_pView->GetButton(nID).GetRect();
        const LPARAM at = MAKELPARAM(rc.CenterPoint().x, rc.CenterPoint().y);
        m_pView->SendMessage(WM_MOUSEMOVE, 0, at);
        m_pView->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, at);
        m_pView->SendMessage(WM_LBUTTONUP, 0, at);
    }
    bool Shown(int nID) { return m_pView->GetButton(nID).IsVisible(); }

    MatchSkin m_Skin;
    RoomDouble m_Room;
    CGameRoom m_GameRoom{77};
    ParentWnd m_Parent;
    CRoomViewItemMatch* m_pView = NULL;
};

TEST_F(MatchViewTest, LayoutAt1024And800)
{
    const struct
    {
        int cx;
        int left0;
    } cases[] = {{1024, 22}, {800, -90}};
    for (const auto& c : cases) {
        RoomDouble room;
        CRoomViewItemMatch view(&room);
        ASSERT_TRUE(view.Create(NULL, NULL, WS_CHILD | WS_VISIBLE, CRect(0, 0, c.cx, 700), &m_Parent, 8));
        const int l = c.left0;
        ASSERT_EQ(2u, room.pages.size());
        EXPECT_EQ(CRect(l, 10, l + 750, 108), room.pages[0]->rect) << c.cx;
        EXPECT_EQ(CRect(l, 108, l + 300, 308), view.GetWidget(0)->GetRect()) << "facts";
        EXPECT_EQ(CRect(l + 310, 114, l + 595, 299), view.GetWidget(1)->GetRect()) << "sign-up box";
        EXPECT_EQ(CRect(l, 318, l + 575, 415), view.GetWidget(2)->GetRect()) << "status box";
        EXPECT_EQ(CRect(l + 610, 41, l + 834, 596), view.GetWidget(3)->GetRect()) << "ranking";
        EXPECT_EQ(CRect(l, 400, l + 575, 569), room.pages[1]->rect) << "description";
        EXPECT_EQ(CRect(l + 310, 309, l + 330, 317), view.GetButton(CRoomViewItemMatch::IDC_SIGN_IN).GetRect());
        EXPECT_EQ(CRect(l + 310, 309, l + 330, 317), view.GetButton(CRoomViewItemMatch::IDC_QUIT_SIGN).GetRect());
        EXPECT_EQ(CRect(l + 338, 309, l + 358, 317), view.GetButton(CRoomViewItemMatch::IDC_QUIT_ROOM).GetRect());
        EXPECT_EQ(CPoint(l + 760, 24), view.GetButton(CRoomViewItemMatch::IDC_MATCH_DETAIL).GetRect().TopLeft());
        CRect rcList;
        room.list.list.GetWindowRect(&rcList);
        view.ScreenToClient(&rcList);
        EXPECT_EQ(CRect(l + 620, 183, l + 824, 583), rcList);
        EXPECT_EQ(DWORD(0x52004C01), room.list.createdStyle);
        EXPECT_EQ(CSize(204, 400), room.list.initSize);
        EXPECT_EQ(CRoomViewItemMatch::IDC_MATCH_LIST, room.list.list.GetDlgCtrlID());
        view.DestroyWindow();
    }
}

TEST_F(MatchViewTest, ViewAndListPrintSeparately)
{
    MakeView();
    const skintest::Snapshot view(m_pView->GetSafeHwnd());
    EXPECT_EQ(kTile, view.At(5, 690)) << "the composed background";
    EXPECT_EQ(RGB(60, 60, 120), view.At(22 + 295, 108 + 195)) << "the facts picture";
    const skintest::Snapshot list(m_Room.list.list.GetSafeHwnd(), RGB(1, 2, 3));
    EXPECT_NE(RGB(1, 2, 3), list.At(100, 200)) << "the list paints itself";
}

TEST_F(MatchViewTest, SignUpAsksAboutTheFee)
{
    const struct
    {
        SHORT feeType;
        DWORD fee;
        WORD items;
        int answer;
        std::string question; // empty: none
        bool joins;
    } cases[] = {
        {1, 0, 0, 0, "", true},
        {1, 30, 0, IDYES, "报名将扣除30金蛋，是否继续？", true},
        {1, 30, 0, IDNO, "报名将扣除30金蛋，是否继续？", false},
        {3, 2, 4, IDYES, "报名将扣除4的道具，是否继续？", true},
        {3, 2, 0, 0, "", true},
        {0, 5, 4, 0, "房间未设置费用类型，报名失败！", false},
    };
    MakeView();
    for (const auto& c : cases) {
        tagMatchRecord record = Record(2);
        record.nFeeType = c.feeType;
        record.dwFee = c.fee;
        record.wItemCount = c.items;
        m_pView->SetMatchInfo(&record);
        m_pView->ResetCountdowns();
        m_pView->SetMatchState(0, 0, 2, 0);
        m_Room.boxes.clear();
        m_Room.requests.clear();
        if (c.answer != 0)
            m_Room.answers = {c.answer};
        Click(CRoomViewItemMatch::IDC_SIGN_IN);
        if (c.question.empty()) {
            EXPECT_TRUE(m_Room.boxes.empty()) << c.fee;
        } else {
            ASSERT_EQ(1u, m_Room.boxes.size()) << c.question;
            EXPECT_EQ(c.question, m_Room.boxes[0].text);
            EXPECT_EQ(15, m_Room.boxes[0].timeout);
            EXPECT_EQ(UINT(MB_YESNO | 0x40), m_Room.boxes[0].style) << "the question icon replaces the code";
            EXPECT_EQ(std::string("是"), m_Room.boxes[0].yesCaption);
        }
        EXPECT_EQ(c.joins ? std::vector<std::string>{"join"} : std::vector<std::string>{}, m_Room.requests)
            << c.question;
    }
}

TEST_F(MatchViewTest, WithdrawAndLeave)
{
    MakeView();
    auto self = std::unique_ptr<CUserItem>(new CUserItem(tagUserData{500}));
    m_Room.self = self.get();
    m_pView->SetMatchState(0, 0, 2, 0);

    // Not signed up: the room closes at once.
    Click(CRoomViewItemMatch::IDC_QUIT_ROOM);
    EXPECT_TRUE(m_Room.boxes.empty());
    PumpUntil([&] { return !m_Parent.posted.empty(); });
    EXPECT_EQ(std::vector<UINT>{WM_USER + 256}, m_Parent.posted);

    // Signed up: asked first; No stays, Yes leaves.
    self->GetSecondExtension()->dwValue1 = 1;
    m_pView->UpdateSelfSignState(self.get());
    EXPECT_TRUE(Shown(CRoomViewItemMatch::IDC_QUIT_SIGN));
    m_Parent.posted.clear();
    m_Room.answers = {IDNO, IDYES};
    Click(CRoomViewItemMatch::IDC_QUIT_ROOM);
    PumpMessages();
    EXPECT_TRUE(m_Parent.posted.empty());
    Click(CRoomViewItemMatch::IDC_QUIT_ROOM);
    PumpUntil([&] { return !m_Parent.posted.empty(); });
    EXPECT_EQ(std::vector<UINT>{WM_USER + 256}, m_Parent.posted);
    ASSERT_EQ(2u, m_Room.boxes.size());
    EXPECT_EQ(std::string("您确定要退赛么？"), m_Room.boxes[0].text);
    EXPECT_EQ(UINT(MB_YESNO | 0x20), m_Room.boxes[0].style);
    EXPECT_EQ(10, m_Room.boxes[0].timeout);

    // The withdraw button asks the same and sends on Yes.
    m_Room.answers = {IDYES};
    Click(CRoomViewItemMatch::IDC_QUIT_SIGN);
    EXPECT_EQ(std::vector<std::string>{"quit"}, m_Room.requests);
}

TEST_F(MatchViewTest, DetailOpensTheMatchPage)
{
    LauncherDouble launcher;
    CBrowserLauncher* previous = CBrowserLauncher::Install(&launcher);
    m_Skin.WriteUrls("matchdetail=http://m.test/detail\r\n");
    MakeView();
    tagMatchRecord record = Record(2);
    m_pView->SetMatchInfo(&record);
    Click(CRoomViewItemMatch::IDC_MATCH_DETAIL);
    CBrowserLauncher::Install(previous);
    EXPECT_EQ(std::vector<std::string>{"http://m.test/detail?ID=196615"}, launcher.opened);
}

TEST_F(MatchViewTest, MatchPagesCarryTheRoomId)
{
    m_Skin.WriteUrls("TitleUrl=http://m.test/title\r\n");
    MakeView();
    m_pView->LoadMatchPages();
    ASSERT_EQ(2u, m_Room.pages.size());
    EXPECT_EQ(std::vector<std::string>{"http://m.test/title?77"}, m_Room.pages[0]->urls);
    EXPECT_EQ(std::vector<std::string>{"?77"}, m_Room.pages[1]->urls) << "an empty key still navigates";
    EXPECT_EQ(SW_SHOW, m_Room.pages[1]->shown);
}

TEST_F(MatchViewTest, StateRulesAndTheirOnceOnlyFlags)
{
    MakeView();
    const int sign = CRoomViewItemMatch::IDC_SIGN_IN;
    m_pView->SetMatchState(0, 0, 2, 0);
    EXPECT_TRUE(Shown(sign));
    m_pView->ShowSignButtons(0);
    EXPECT_FALSE(Shown(sign));
    m_pView->SetMatchState(0, 0, 2, 0);
    EXPECT_FALSE(Shown(sign)) << "state 2 acts once";
    EXPECT_TRUE(Shown(CRoomViewItemMatch::IDC_QUIT_SIGN));
    for (DWORD reset : {0u, 1u, 4u}) {
        m_pView->SetMatchState(0, 0, reset, 0);
        m_pView->ShowSignButtons(0);
        m_pView->SetMatchState(0, 0, 2, 0);
        EXPECT_TRUE(Shown(sign)) << "after state " << reset;
    }
    EXPECT_EQ(1, m_Room.list.unrankedRemovals) << "state 0 drops the unranked rows";

    // State 3 counts from the match time.
    tagMatchRecord record = Record(1);
    record.qwMatchTime = 1000000;
    record.dwRunningSeconds = 600;
    m_pView->SetMatchInfo(&record);
    AfxSetTestClock(1, CTime(1000000 - 90));
    m_pView->SetMatchState(0, 0, 3, 0);
    EXPECT_EQ(90u, m_pView->GetMatchRecord().dwRunningCountdown);
    AfxSetTestClock(1, CTime(1000000 + 5));
    m_pView->SetMatchState(0, 0, 3, 0);
    EXPECT_EQ(600u, m_pView->GetMatchRecord().dwRunningCountdown) << "a past match time: the running seconds";
    AfxClearTestClock();
    EXPECT_TRUE(Shown(sign));
    EXPECT_FALSE(Shown(CRoomViewItemMatch::IDC_QUIT_SIGN));

    // State 1 takes the sign-up seconds from the milliseconds.
    m_pView->SetMatchState(0, 0, 1, 45000);
    EXPECT_EQ(45u, m_pView->GetMatchRecord().dwSignUpSeconds);
}

TEST_F(MatchViewTest, CountdownStopsAtZero)
{
    MakeView();
    tagMatchRecord record = Record(1);
    record.dwSignUpSeconds = 2;
    record.dwStartValue = 1;
    record.dwRunningCountdown = 1;
    record.wRunningCount = 1;
    m_pView->SetMatchInfo(&record);
    const struct
    {
        DWORD state;
        DWORD (*read)(const tagMatchRecord&);
        std::vector<DWORD> values;
    } cases[] = {
        {1, [](const tagMatchRecord& r) { return r.dwSignUpSeconds; }, {1, 0, 0}},
        {2, [](const tagMatchRecord& r) { return r.dwStartValue; }, {0, 0}},
    };
    for (const auto& c : cases) {
        m_pView->SetMatchState(0, 0, c.state, 0);
        for (DWORD expected : c.values) {
            m_pView->SendMessage(WM_TIMER, CRoomViewItemMatch::IDT_COUNTDOWN, 0);
            EXPECT_EQ(expected, c.read(m_pView->GetMatchRecord())) << "state " << c.state;
        }
    }
    LONGLONG value = -1;
    EXPECT_EQ(MATCH_PHASE_START, m_pView->GetPhase(value));
    EXPECT_EQ(0, value);
}

TEST_F(MatchViewTest, AwardListOverHttp)
{
    CHttpTestServer server;
    ASSERT_TRUE(server.Start());
    m_Skin.WriteUrls("RewardUrl=" + server.Url("/award") + "\r\n");
    // UTF-8 names, one award without detail.
    server.SetReply("/award", CHttpTestServer::Ok("<?xml version=\"1.0\"?><LIST>"
                                                  "<AWARD3><MATCH_REWARD_NAME>\xe9\x87\x91</MATCH_REWARD_NAME>"
                                                  "<REWARD_DETAIL>100</REWARD_DETAIL></AWARD3>"
                                                  "<AWARD5><MATCH_REWARD_NAME>B</MATCH_REWARD_NAME></AWARD5>"
                                                  "<AWARD7><MATCH_REWARD_NAME>X</MATCH_REWARD_NAME></AWARD7>"
                                                  "</LIST>"));
    MakeView();
    tagMatchRecord record = Record(2);
    record.dwAwardCount = 2;
    record.dwAwardIds[0] = 3;
    record.dwAwardIds[1] = 5;
    record.dwExtraAwardId = 7;
    m_pView->SetMatchInfo(&record);
    ASSERT_TRUE(PumpUntil([&] { return !m_pView->GetExtraAwardText().IsEmpty(); }, 20000));
    const auto requests = server.GetRequests();
    ASSERT_EQ(1u, requests.size());
    EXPECT_EQ("/award?KindID=9&ID=3,5,7", requests[0].strTarget);
    EXPECT_NE(std::string::npos, requests[0].strHeaders.find("Content-Type: application/x-www-form-urlencoded"));
    EXPECT_EQ(CString("金(100)"), m_pView->GetAwardText(0));
    EXPECT_EQ(CString("B"), m_pView->GetAwardText(1));
    EXPECT_EQ(CString("X"), m_pView->GetExtraAwardText());

    // Award texts to the game client: entries 1..count only.
    for (DWORD number : {0u, 1u, 2u, 3u, 256u})
        m_pView->ShowMatchMessage(0, number);
    m_pView->ShowMatchMessage(1, 0);
    EXPECT_EQ((std::vector<std::string>{"3:金(100)", "5:B", "0:X"}), m_Room.gameTexts);

    // Replies that are not finished downloads or not XML change nothing.
    tagAsyncDownHead head = {};
    std::string body = "<LIST><AWARD3><MATCH_REWARD_NAME>Z</MATCH_REWARD_NAME></AWARD3></LIST>";
    tagAsyncDownResult result = {};
    result.pData = (BYTE*)&body[0];
    result.dwLength = DWORD(body.size());
    head.dwCode = ASYNC_DOWN_FAILED;
    m_pView->SendMessage(CRoomViewItemMatch::WM_AWARD_REPLY, (WPARAM)&head, (LPARAM)&result);
    for (const char* bad : {"<LIST><AWARD3>", "", "\xff\xfe<"}) {
        body = bad;
        result.pData = (BYTE*)body.c_str();
        result.dwLength = DWORD(body.size());
        head.dwCode = ASYNC_DOWN_FINISHED;
        m_pView->SendMessage(CRoomViewItemMatch::WM_AWARD_REPLY, (WPARAM)&head, (LPARAM)&result);
    }
    EXPECT_EQ(CString("金(100)"), m_pView->GetAwardText(0));
}

TEST_F(MatchViewTest, AwardRequestWithExtraOnlyAndAHugeCount)
{
    CHttpTestServer server;
    ASSERT_TRUE(server.Start());
    m_Skin.WriteUrls("RewardUrl=" + server.Url("/a") + "\r\n");
    server.SetReply("/a", CHttpTestServer::Ok("<L/>"));
    MakeView();
    tagMatchRecord record = Record(2);
    record.dwExtraAwardId = 7;
    m_pView->SetMatchInfo(&record);
    ASSERT_TRUE(server.WaitForRequests(1, 20000));
    EXPECT_EQ("/a?KindID=9&ID=7", server.GetRequests()[0].strTarget);

    // A count past the list is cut to the list (the address is then too
    // long for the downloader, which refuses it: nothing crashes).
    record.dwAwardCount = 0xFFFFFFFF;
    record.dwExtraAwardId = 0;
    m_pView->SetMatchInfo(&record);
    for (DWORD number : {256u, 257u})
        m_pView->ShowMatchMessage(0, number);
    EXPECT_EQ(1u, m_Room.gameTexts.size()) << "entry 256 exists, 257 does not";
}

TEST_F(MatchViewTest, SignErrorsAndNotices)
{
    MakeView();
    m_pView->ShowSignError(0);
    EXPECT_TRUE(m_Room.boxes.empty());
    m_pView->ShowSignError(5);
    m_pView->ShowSignError(9);
    m_pView->OnSignResult(9);
    ASSERT_EQ(3u, m_Room.boxes.size());
    EXPECT_EQ(std::string(g_GlobalUnits.LoadResString(12505)), m_Room.boxes[0].text);
    EXPECT_EQ(std::string("未知错误!错误号:9"), m_Room.boxes[1].text);
    EXPECT_EQ(10, m_Room.boxes[1].timeout);
    EXPECT_EQ(UINT(0x10), m_Room.boxes[1].style) << "the notice code 0x20 shows as 0x10";
    EXPECT_EQ(std::string("退赛失败，不允许退赛！"), m_Room.boxes[2].text);
    EXPECT_EQ(15, m_Room.boxes[2].timeout);
}

TEST_F(MatchViewTest, OwnRowIsRed)
{
    MakeView();
    auto me = std::unique_ptr<CUserItem>(new CUserItem(tagUserData{500}));
    auto other = std::unique_ptr<CUserItem>(new CUserItem(tagUserData{501}));
    m_Room.list.rows = {other.get(), me.get()};
    m_Room.list.list.SetTextColor(RGB(1, 1, 1));
    for (int row : {0, 1}) {
        NMLVCUSTOMDRAW draw = {};
        draw.nmcd.hdr.hwndFrom = m_Room.list.list.GetSafeHwnd();
        draw.nmcd.hdr.idFrom = CRoomViewItemMatch::IDC_MATCH_LIST;
        draw.nmcd.hdr.code = NM_CUSTOMDRAW;
        draw.nmcd.dwDrawStage = CDDS_PREPAINT;
        EXPECT_EQ(CDRF_NOTIFYITEMDRAW, m_pView->SendMessage(WM_NOTIFY, draw.nmcd.hdr.idFrom, (LPARAM)&draw));
        draw.nmcd.dwDrawStage = CDDS_ITEMPREPAINT | CDDS_SUBITEM;
        draw.nmcd.dwItemSpec = row;
        EXPECT_EQ(CDRF_DODEFAULT, m_pView->SendMessage(WM_NOTIFY, draw.nmcd.hdr.idFrom, (LPARAM)&draw));
        EXPECT_EQ(row == 1 ? RGB(255, 0, 0) : RGB(1, 1, 1), draw.clrText) << row;
    }
}

// ---- widgets -------------------------------------------------------------------------

TEST(MatchWidgetTextTest, StateRowsClocksAndBars)
{
    const std::pair<DWORD, int> rows[] = {{0, 3}, {1, 0}, {2, 2}, {3, 1}, {4, 3}, {9, 0}};
    for (const auto& r : rows)
        EXPECT_EQ(r.second, CMatchSignWidget::StateRow(r.first)) << r.first;

    const struct
    {
        int phase;
        LONGLONG value;
        const char* text;
    } texts[] = {
        {1, 59, "离报名时间还剩，59秒"},
        {1, 60, "离报名时间还剩，1分0秒"},
        {1, 3600, "离报名时间还剩，1时0分0秒"},
        {2, 25 * 3600 + 61, "离开始时间还剩，1时1分1秒"},
        {2, 0, "离开始时间还剩，0秒"},
        {1, 0, "比赛已结束!"},
        {3, 5, "比赛已经开始"},
        {0, 5, "比赛已结束!"},
    };
    for (const auto& t : texts)
        EXPECT_EQ(CString(t.text), CMatchStatusWidget::TimeLeftText(t.phase, t.value)) << t.value;

    const struct
    {
        int phase;
        LONGLONG value;
        DWORD first;
        int filled;
    } bars[] = {
        {1, 50, 100, 0}, {2, 25, 100, 150}, {2, 150, 100, 0}, {2, 0, 0, 200}, {3, 0, 100, 200}, {2, -5, 100, 200},
    };
    for (const auto& b : bars)
        EXPECT_EQ(b.filled, CMatchStatusWidget::FilledLength(b.phase, b.value, b.first, 200)) << b.value;

    EXPECT_EQ(CString("排名：无"), CMatchUserList::RankText(0, 9));
    EXPECT_EQ(CString("排名：3/9"), CMatchUserList::RankText(3, 9));
}

TEST(MatchWidgetTextTest, FactsLinesPerStartMode)
{
    _putenv("TZ=CST-8");
    _tzset();
    tagMatchRecord record = Record(1);
    record.dwRunningSeconds = 90 * 60;
    record.dwFee = 30;
    auto lines = CMatchNewsWidget::BuildLines(record, 1772672700); // 01:05 UTC
    ASSERT_EQ(7u, lines.size());
    EXPECT_EQ(CString("3月5日 09:05:00"), lines[0].second);
    EXPECT_EQ(CString("90分钟"), lines[1].second) << "the whole length in minutes";
    EXPECT_EQ(CString("30金蛋"), lines[3].second);
    record.nFeeType = 0;
    record.dwFee = 2;
    record.wItemCount = 4;
    EXPECT_EQ(CString("4道具"), CMatchNewsWidget::BuildLines(record, 0)[3].second);

    record.cbStartMode = 2;
    lines = CMatchNewsWidget::BuildLines(record, 0);
    ASSERT_EQ(9u, lines.size());
    for (size_t i = 0; i < lines.size(); ++i)
        EXPECT_EQ(i < 5 ? CString() : CString("无"), lines[i].second) << i;
    record.cbStartMode = 3;
    EXPECT_TRUE(CMatchNewsWidget::BuildLines(record, 0).empty());
    _putenv("TZ=");
    _tzset();
}

TEST_F(MatchViewTest, SignUpBoxDrawsStateRowAndClock)
{
    MakeView();
    tagMatchRecord record = Record(1);
    record.dwRunningCountdown = 25 * 3600 + 2 * 60 + 3;
    m_pView->SetMatchInfo(&record);
    CWidget* box = m_pView->GetWidget(1);
    const struct
    {
        DWORD state;
        COLORREF row;
        std::vector<int> digits; // left to right
    } cases[] = {
        {0, RGB(160, 200, 30), {0, 0, 0, 0, 0, 0}},
        {4, RGB(160, 200, 30), {0, 0, 0, 0, 0, 0}},
        {3, RGB(60, 200, 30), {0, 1, 0, 2, 0, 3}},
    };
    for (const auto& c : cases) {
        m_pView->SetMatchState(0, 0, c.state, 0);
        if (c.state == 3)
            const_cast<tagMatchRecord&>(m_pView->GetMatchRecord()).dwRunningCountdown = record.dwRunningCountdown;
        CMemoryCanvas canvas(400, 300, RGB(1, 2, 3));
        CWidgetDC dc(canvas.DC(), CRect(0, 0, 400, 300));
        box->Draw(&dc);
        EXPECT_EQ(c.row, canvas.At(5, 5)) << c.state;
        std::vector<int> digits;
        for (const auto& cell : DigitCells(canvas, CRect(1, 53, 400, 73)))
            digits.push_back(cell.first);
        EXPECT_EQ(c.digits, digits) << c.state;
    }
}
