// The grid in normal mode: its tables, layout, painting, seat clicks,
// scrolling and the ordered display of free tables.
#include "TableFrameFixture.h"

#include <afxtest.h>

using namespace tabletest;

namespace
{
typedef SinkDouble::Hit Hit;

TEST_F(GridTest, InitErrorsCarryTheTextsTheRoomShows)
{
    ASSERT_TRUE(grid->CreateTableFrame(&parent, 100));
    NoSinkOwner noSink;
    CGame missing(8);
    missing.SetFolderName("NoSuchGame");
    struct Case
    {
        CGame* game;
        IUnknownEx* owner;
        const char* text;
    };
    const Case cases[] = {{&missing, &sink, "游戏桌子资源加载失败，请尝试重新安装游戏解决问题！"},
                          {nullptr, &sink, "游戏桌子资源加载失败，请尝试重新安装游戏解决问题！"},
                          {&game, &noSink, "接口查询失败，无法创建游戏桌子！"},
                          {&game, nullptr, "接口查询失败，无法创建游戏桌子！"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        try {
            grid->InitTableFrame(10, 4, c.game, c.owner);
            ADD_FAILURE() << "no error";
        } catch (const CTableFrameError& e) {
            EXPECT_STREQ(c.text, e.GetText());
        }
    }
    EXPECT_TRUE(grid->InitTableFrame(10, 4, &game, &sink));
    EXPECT_EQ(1, sink.references);
}

TEST_F(GridTest, NoTablesPaintBackgroundAndHitNothing)
{
    MakeGrid(0, 4);
    EXPECT_EQ(0, grid->GetColumns());
    auto canvas = Print();
    EXPECT_EQ(kWidth * kHeight, canvas->Count(kBackground));
    EXPECT_EQ(0xFFFF, grid->TableHitTest(CPoint(100, 100)));
    EXPECT_FALSE(grid->EnsureVisibleTable(0));
    EXPECT_EQ(0, grid->CalcTableLayout(kWidth));
    grid->SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, -120), 0);
    EXPECT_EQ(0, grid->GetScrollPos());
}

TEST_F(GridTest, ReleaseNeverDeletesTheRoomsGrid)
{
    MakeGrid();
    void* out = nullptr;
    ASSERT_EQ(S_OK, grid->QueryInterface(IID_ITableFrameView, &out));
    EXPECT_EQ(static_cast<ITableFrameView*>(grid.get()), out);
    EXPECT_EQ(0u, grid->Release());
    EXPECT_EQ(0u, grid->Release());
    EXPECT_EQ(10, grid->GetTableCount());
    EXPECT_EQ(E_NOINTERFACE, grid->QueryInterface(IID_ITableView, &out));
}

TEST_F(GridTest, ChairCountFromTheRoomIsKeptWithinTheArrays)
{
    MakeGrid(2, 500);
    EXPECT_EQ(300, grid->GetChairCount());
    WORD last = 0;
    EXPECT_EQ(300, grid->GetNullChairCount(1, &last));
    EXPECT_EQ(299, last);
    EXPECT_EQ(300, grid->GetTableAttribute(1)->wChairCount);
}

TEST_F(GridTest, TenTablesIn650LayOutThreeColumnsOfFourRows)
{
    MakeGrid(10, 4, kWidth, 700);
    EXPECT_EQ(3, grid->GetColumns());
    EXPECT_EQ(4, grid->GetRows());
    EXPECT_EQ(4, grid->GetVisibleRows());
    EXPECT_EQ(3, grid->GetXOrigin());
    EXPECT_EQ(600, grid->GetContentHeight());
    EXPECT_EQ(45, grid->CalcTableLayout(kWidth));
    EXPECT_FALSE(grid->GetScrollBar()->IsWindowVisible());

    auto canvas = Print();
    EXPECT_EQ(kBackground, canvas->At(1, 100));   // left of the x origin
    EXPECT_EQ(kNormal, canvas->At(3 + 198, 148)); // table 0
    EXPECT_EQ(kBackground, canvas->At(604, 100)); // right of the last column
    EXPECT_EQ(kBackground, canvas->At(640, 500));
    EXPECT_EQ(kNormal, canvas->At(3 + 198, 450 + 148));       // table 9
    EXPECT_EQ(kBackground, canvas->At(203 + 100, 450 + 100)); // no table 10
    EXPECT_EQ(kBackground, canvas->At(403 + 100, 450 + 100));
    EXPECT_EQ(kBackground, canvas->At(100, 650)); // below the last row
}

TEST_F(GridTest, ScrollBarShowsWhenTheTablesDoNotFit)
{
    MakeGrid();
    CSkinScrollBar* bar = grid->GetScrollBar();
    ASSERT_TRUE(bar->IsWindowVisible());
    CRect rect;
    bar->GetWindowRect(&rect);
    grid->ScreenToClient(&rect);
    EXPECT_EQ(CRect(kWidth - GetSystemMetrics(SM_CXVSCROLL), 0, kWidth - GetSystemMetrics(SM_CXVSCROLL) + 16, kHeight),
              rect);
    SCROLLINFO info = {sizeof(info), SIF_ALL};
    bar->GetScrollInfo(&info, SIF_ALL);
    EXPECT_EQ(600, info.nMax);
    EXPECT_EQ(UINT(kHeight), info.nPage);
    // The bar paints itself from the skin's picture.
    skintest::Snapshot snapshot(bar->GetSafeHwnd());
    EXPECT_EQ(kScrollBarColour, snapshot.At(8, kHeight / 2));

    Size(kWidth, 600);
    EXPECT_TRUE(bar->IsWindowVisible());
    Size(kWidth, 601);
    EXPECT_FALSE(bar->IsWindowVisible());
}

TEST_F(GridTest, AutoSeatCentresColumnsAndTakesOnlyChairZero)
{
    host.room.SetAutoSeat(1);
    MakeGrid();
    EXPECT_EQ(3 + 50 / 6, grid->GetXOrigin());
    EXPECT_EQ(0, grid->CalcTableLayout(kWidth));
    Click(ChairPoint(4, 2), ChairPoint(4, 2));
    Click(ChairPoint(4, 0), ChairPoint(4, 0));
    EXPECT_EQ((std::vector<Hit>{{'L', 4, 0xFFFF, 0}, {'L', 4, 0, 0}}), sink.hits);
}

// A seat click is a press and a release on the same chair of the same table.
TEST_F(GridTest, PressAndReleaseReachTheSink)
{
    MakeGrid();
    const CPoint outsideChairs = Cell(5) + CPoint(150, 145);
    const CPoint leftOfOrigin(1, 100);
    struct Case
    {
        const char* name;
        CPoint down;
        CPoint up;
        bool right;
        std::vector<Hit> hits;
    };
    const Case cases[] = {
        {"same chair", ChairPoint(5, 2), ChairPoint(5, 2), false, {{'L', 5, 2, 0}}},
        {"other chair", ChairPoint(5, 2), ChairPoint(5, 3), false, {}},
        {"other table", ChairPoint(5, 2), ChairPoint(4, 2), false, {}},
        {"outside the chairs", outsideChairs, outsideChairs, false, {{'L', 5, 0xFFFF, 0}}},
        {"right button", ChairPoint(1, 0), ChairPoint(1, 0), true, {{'R', 1, 0, 0}}},
        {"right, other chair", ChairPoint(1, 0), ChairPoint(1, 1), true, {}},
        // The band left of the first column is no table at all.
        {"left of the origin", leftOfOrigin, leftOfOrigin, false, {{'L', 0xFFFF, 0xFFFF, 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sink.hits.clear();
        Click(c.down, c.up, c.right);
        EXPECT_EQ(c.hits, sink.hits);
        EXPECT_EQ(0xFFFF, grid->GetPressedTable());
        EXPECT_EQ(nullptr, ::GetCapture());
    }
}

TEST_F(GridTest, ASecondButtonWhileOneIsDownIsIgnored)
{
    MakeGrid();
    Send(WM_LBUTTONDOWN, ChairPoint(5, 2), MK_LBUTTON);
    ITableView* pressed = grid->GetTableViewItem(5);
    EXPECT_EQ(2, pressed->GetHoverChair());
    EXPECT_EQ(grid->GetSafeHwnd(), ::GetCapture());
    Send(WM_RBUTTONDOWN, ChairPoint(4, 1), MK_RBUTTON | MK_LBUTTON);
    Send(WM_RBUTTONUP, ChairPoint(4, 1), MK_LBUTTON);
    EXPECT_EQ(5, grid->GetPressedTable());
    Send(WM_LBUTTONUP, ChairPoint(5, 2));
    EXPECT_EQ((std::vector<Hit>{{'L', 5, 2, 0}}), sink.hits);
    EXPECT_EQ(0xFFFF, pressed->GetHoverChair());

    Send(WM_LBUTTONDBLCLK, ChairPoint(5, 2), MK_LBUTTON);
    EXPECT_EQ('D', sink.hits.back().kind);
    EXPECT_EQ(0, sink.hits.back().chair);
}

TEST_F(GridTest, HoverFollowsTheChairUnderTheCursor)
{
    MakeGrid();
    auto hover = [&](CPoint client) {
        CPoint screen = client;
        grid->ClientToScreen(&screen);
        AfxSetTestCursorPos(screen);
        return grid->SendMessage(WM_SETCURSOR, WPARAM(grid->GetSafeHwnd()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    };
    EXPECT_TRUE(hover(ChairPoint(1, 2)));
    EXPECT_EQ(2, grid->GetTableViewItem(1)->GetHoverChair());
    EXPECT_TRUE(hover(ChairPoint(2, 1)));
    EXPECT_EQ(0xFFFF, grid->GetTableViewItem(1)->GetHoverChair());
    EXPECT_EQ(1, grid->GetTableViewItem(2)->GetHoverChair());
    EXPECT_FALSE(hover(Cell(2) + CPoint(150, 145)));
    EXPECT_EQ(0xFFFF, grid->GetTableViewItem(2)->GetHoverChair());
    EXPECT_EQ(2, grid->GetPressedTable());
    EXPECT_EQ(0xFFFF, grid->GetPressedChair());
    AfxClearTestCursorPos();
}

TEST_F(GridTest, WheelScrollsWithinTheContent)
{
    MakeGrid();
    auto wheel = [&](short delta) {
        grid->SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, delta), 0);
        return grid->GetScrollPos();
    };
    EXPECT_EQ(60, wheel(-120));
    SCROLLINFO info = {sizeof(info), SIF_POS};
    grid->GetScrollBar()->GetScrollInfo(&info, SIF_POS);
    EXPECT_EQ(60, info.nPos);
    EXPECT_EQ(200, wheel(-1200)); // content 600, client 400
    EXPECT_EQ(140, wheel(120));
    EXPECT_EQ(0, wheel(1200));
}

TEST_F(GridTest, ScrollBarCodesMoveWithinTheContent)
{
    MakeGrid();
    struct Case
    {
        UINT code;
        int start;
        UINT track;
        int expected;
    };
    const Case cases[] = {{SB_LINEDOWN, 0, 0, 10},      {SB_LINEUP, 0, 0, 0},          {SB_LINEUP, 50, 0, 40},
                          {SB_PAGEDOWN, 0, 0, 200},     {SB_PAGEUP, 150, 0, 0},        {SB_THUMBTRACK, 0, 120, 120},
                          {SB_THUMBTRACK, 0, 900, 200}, {SB_TOP, 150, 0, 0},           {SB_BOTTOM, 0, 0, 200},
                          {SB_ENDSCROLL, 70, 0, 70},    {SB_THUMBPOSITION, 70, 10, 70}};
    const LPARAM bar = LPARAM(grid->GetScrollBar()->GetSafeHwnd());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        grid->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, c.start), bar);
        ASSERT_EQ(c.start, grid->GetScrollPos());
        grid->SendMessage(WM_VSCROLL, MAKEWPARAM(c.code, c.track), bar);
        EXPECT_EQ(c.expected, grid->GetScrollPos());
    }
    // Only the grid's own bar scrolls it.
    grid->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_TOP, 0), 0);
    EXPECT_EQ(70, grid->GetScrollPos());
}

TEST_F(GridTest, ScrolledPaintAndHitsFollowThePosition)
{
    MakeGrid();
    grid->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 150), LPARAM(grid->GetScrollBar()->GetSafeHwnd()));
    grid->SetPlayFlag(3, true);
    auto canvas = Print();
    EXPECT_EQ(kPlaying, canvas->At(3 + 198, 148)); // table 3 is at the top now
    Click(ChairPoint(4, 1), ChairPoint(4, 1));
    EXPECT_EQ((std::vector<Hit>{{'L', 4, 1, 0}}), sink.hits);
    EXPECT_EQ(4, grid->TableHitTest(CPoint(203 + 10, 10)));
}

TEST_F(GridTest, EnsureVisibleScrollsATableIntoView)
{
    MakeGrid();
    EXPECT_TRUE(grid->EnsureVisibleTable(9));
    EXPECT_EQ(200, grid->GetScrollPos());
    EXPECT_TRUE(grid->EnsureVisibleTable(7));
    EXPECT_EQ(200, grid->GetScrollPos());
    // A table above the view scrolls by its bottom's distance to the client's.
    EXPECT_TRUE(grid->EnsureVisibleTable(4));
    EXPECT_EQ(0, grid->GetScrollPos());
    EXPECT_FALSE(grid->EnsureVisibleTable(10));
}

TEST_F(GridTest, SingleTableModeFoldsSeatOperations)
{
    MakeGrid();
    grid->SetTableMode(TABLE_MODE_SINGLE, false);
    auto user = MakeUser(5, "a");
    EXPECT_TRUE(grid->SetUserItem(5, 1, user.get()));
    EXPECT_EQ(user.get(), grid->GetTableViewItem(0)->GetUserItem(1));
    EXPECT_EQ(nullptr, grid->GetTableViewItem(5)->GetUserItem(1));
    EXPECT_EQ(user.get(), grid->GetUserItem(7, 1));
    grid->SetPlayFlag(5, true);
    EXPECT_TRUE(grid->GetTableViewItem(5)->GetPlayFlag());
    EXPECT_FALSE(grid->GetPlayFlag(5)); // asks table 0
    grid->SetLockFlag(6, true);
    EXPECT_TRUE(grid->GetTableViewItem(0)->GetLockFlag());
    EXPECT_EQ(grid->GetTableViewItem(0), grid->GetTableView(9));
    EXPECT_EQ(nullptr, grid->GetTableViewItem(10));
    EXPECT_FALSE(grid->SetUserItem(0, 300, user.get()));
}

TEST_F(GridTest, SeatOperationsWithoutAViewDoNothing)
{
    MakeGrid();
    auto user = MakeUser(5, "a");
    EXPECT_FALSE(grid->SetUserItem(10, 0, user.get()));
    EXPECT_EQ(nullptr, grid->GetUserItem(0xFFFF, 0));
    WORD last = 0;
    EXPECT_EQ(0, grid->GetNullChairCount(10, &last));
    EXPECT_EQ(0xFFFF, last);
    EXPECT_EQ(nullptr, grid->GetTableAttribute(10));
    grid->SetPlayFlag(10, true);
    grid->SetLockFlag(0xFFFF, true);
    EXPECT_FALSE(grid->GetLockFlag(10));
}

// Changes drawn with users hidden (locks, play) still reach the screen.
TEST_F(GridTest, TableChangesRepaintWhateverShowUsers)
{
    MakeGrid();
    grid->ShowUserInfo(false);
    grid->ValidateRect(NULL);
    grid->SetLockFlag(2, true);
    CRect update;
    EXPECT_TRUE(grid->GetUpdateRect(&update));
    grid->ValidateRect(NULL);
    grid->UpdateTableView(10, true);
    grid->UpdateTableView(0xFFFF, true);
    EXPECT_FALSE(grid->GetUpdateRect(&update));
}

TEST_F(GridTest, ShowUsersOnlyInNormalMode)
{
    MakeGrid();
    EXPECT_TRUE(grid->ShowUserInfo(true));
    EXPECT_TRUE(grid->IsShowUser());
    grid->SetTableMode(TABLE_MODE_SINGLE, false);
    EXPECT_FALSE(grid->IsShowUser());
    grid->ShowUserInfo(true);
    EXPECT_FALSE(grid->IsShowUser());
}

class FreeTablesTest : public GridTest
{
protected:
    void SetUp() override
    {
        GridTest::SetUp();
        MakeGrid(3, 4);
        for (WORD chair = 0; chair < 4; ++chair)
            grid->SetUserItem(0, chair, user.get());
        for (WORD chair = 0; chair < 3; ++chair)
            grid->SetUserItem(1, chair, user.get());
        grid->SetDisplayFlags(TABLE_DISPLAY_FREE);
    }
    std::unique_ptr<CUserItem> user = MakeUser(5, "a");
};

TEST_F(FreeTablesTest, OnlyTablesWithFreeChairsShowMostOccupiedFirst)
{
    grid->SetPlayFlag(1, true);
    auto canvas = Print();
    EXPECT_EQ(kPlaying, canvas->At(3 + 198, 148));      // table 1 first
    EXPECT_EQ(kNormal, canvas->At(203 + 198, 148));     // then table 2
    EXPECT_EQ(kBackground, canvas->At(403 + 100, 100)); // table 0 is full
    EXPECT_EQ(1, grid->TableHitTest(Cell(0) + CPoint(10, 10)));
    EXPECT_EQ(2, grid->TableHitTest(Cell(1) + CPoint(10, 10)));
    EXPECT_EQ(0xFFFF, grid->TableHitTest(Cell(2) + CPoint(10, 10)));
    Click(ChairPoint(0, 3), ChairPoint(0, 3));
    EXPECT_EQ((std::vector<Hit>{{'L', 1, 3, 0}}), sink.hits);
}

TEST_F(FreeTablesTest, ReorderingFollowsSeatChanges)
{
    // Table 2 fills up beyond table 1: it moves before it.
    for (WORD chair = 0; chair < 4; ++chair)
        grid->SetUserItem(2, chair, chair < 3 ? user.get() : nullptr);
    grid->SetUserItem(1, 0, nullptr);
    EXPECT_EQ(2, grid->TableHitTest(Cell(0) + CPoint(10, 10)));
    EXPECT_EQ(1, grid->TableHitTest(Cell(1) + CPoint(10, 10)));
}

TEST_F(FreeTablesTest, NoFreeTableDrawsBackgroundOnly)
{
    for (WORD chair = 0; chair < 4; ++chair) {
        grid->SetUserItem(1, chair, user.get());
        grid->SetUserItem(2, chair, user.get());
    }
    auto canvas = Print();
    EXPECT_EQ(kBackground, canvas->At(3 + 100, 100));
    EXPECT_EQ(0xFFFF, grid->TableHitTest(Cell(0) + CPoint(10, 10)));
}

TEST_F(FreeTablesTest, FilterMarksTablesWithThatManyFreeChairs)
{
    grid->SetFreeChairFilter(1, true);
    EXPECT_FALSE(grid->GetTableViewItem(0)->GetMatchFlag()); // none free
    EXPECT_TRUE(grid->GetTableViewItem(1)->GetMatchFlag());
    EXPECT_FALSE(grid->GetTableViewItem(2)->GetMatchFlag());
    grid->SetFreeChairFilter(0xFFFF, false);
    EXPECT_TRUE(grid->GetTableViewItem(1)->GetMatchFlag());
}

TEST_F(GridTest, DestroyResetsTheGrid)
{
    MakeGrid();
    grid->SetTableMode(TABLE_MODE_SINGLE, false);
    grid->SetCycleMatchState(3);
    grid->ShowUserInfo(true);
    Send(WM_LBUTTONDOWN, ChairPoint(0, 0), MK_LBUTTON);
    grid->DestroyTableFrame();

    EXPECT_EQ(nullptr, grid->GetSafeHwnd());
    EXPECT_EQ(0, sink.references);
    EXPECT_EQ(nullptr, grid->GetSink());
    EXPECT_EQ(0, grid->GetTableCount());
    EXPECT_EQ(0, grid->GetChairCount());
    EXPECT_EQ(nullptr, grid->GetTableViewItem(0));
    EXPECT_EQ(0, grid->GetTableMode());
    EXPECT_EQ(0, grid->GetCycleMatchState());
    EXPECT_EQ(0, grid->GetColumns());
    EXPECT_EQ(0, grid->GetContentHeight());
    EXPECT_EQ(0xFFFF, grid->GetPressedTable());
    EXPECT_FALSE(grid->IsShowUser());
    EXPECT_EQ(0, grid->GetTableResource()->m_wWidth);

    // The room can make it again.
    MakeGrid(4, 4);
    EXPECT_EQ(4, grid->GetTableCount());
    EXPECT_EQ(1, sink.references);
}
} // namespace
