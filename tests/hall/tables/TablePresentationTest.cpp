// Table mode 2 (anti-cheat and cycle match) and the flash frames.
#include "TableFrameFixture.h"

#include "GlobalUnits.h"

using namespace tabletest;

namespace
{
typedef SinkDouble::Hit Hit;

const COLORREF kVariant = RGB(120, 130, 140);
const COLORREF kAntiCheat = RGB(11, 200, 11);
const COLORREF kStates[4] = {RGB(201, 1, 1), RGB(202, 2, 2), RGB(203, 3, 3), RGB(204, 4, 4)};
const COLORREF kNotice = RGB(5, 5, 250);
const COLORREF kLogo = RGB(250, 250, 5);
const COLORREF kFrames[4] = {RGB(1, 101, 1), RGB(2, 102, 2), RGB(3, 103, 3), RGB(4, 104, 4)};

// A variant table whose background (its pixel 0,0) is the normal skin's.
void WriteVariant(SkinFolder& skin, const char* name)
{
    skintest::Pixels pixels(kTableWidth, kTableHeight, kVariant);
    pixels.At(0, 0) = kBackground;
    skin.Folder().WriteBmp(skin.GameFile(name).c_str(), pixels);
}

// The anti-cheat chairs, where the normal ones are.
std::string AntiCheatChairs()
{
    std::string keys;
    for (int i = 0; i < 4; ++i) {
        const RECT& r = kChairRects[i];
        keys += "rtChairMatchCheat" + std::to_string(i) + "=" + std::to_string(r.left) + " " + std::to_string(r.top) +
                " " + std::to_string(r.right) + " " + std::to_string(r.bottom) + "\r\n";
    }
    return keys;
}

class PresentationTest : public GridTest
{
protected:
    void SetUp() override
    {
        GridTest::SetUp();
        const skintest::TempFolder& folder = skin.Folder();
        WriteVariant(skin, "TableNormal2.bmp");
        skin.WriteIni({}, AntiCheatChairs());
        skin.WritePicture(skin.GameFile("fzbgonggao.png"), 30, 10, kNotice);
        WriteVariant(skin, "CycleTable.png");
        skin.WritePicture(skin.GameFile("CycleLogo.png"), 20, 20, kLogo);
        skintest::Pixels strip(120, 20, 0);
        for (int i = 0; i < 4; ++i)
            strip.Fill(i * 30, 0, 30, 20, kFrames[i]);
        folder.WriteBmp(skin.GameFile("CycleStart.png").c_str(), strip);
        const std::string anti = "Res\\gameroom\\AntiCheating\\";
        folder.WriteBmp((anti + "AntiCheat.png").c_str(), skintest::Pixels(20, 20, kAntiCheat));
        folder.WriteBmp((anti + "MessageBox.png").c_str(), skintest::Pixels(100, 40, 0));
        for (int i = 0; i < 4; ++i)
            folder.WriteBmp((anti + "fzbmsg" + std::to_string(i + 1) + ".png").c_str(),
                            skintest::Pixels(10, 10, kStates[i]));
        folder.Write("Config\\Urls.ini", "[MatchUrl]\r\nCycleUrl=http://match.test/cycle\r\n");
        MakeGrid();
    }
    // A point inside a chair of the single table.
    CPoint SingleChair(int chair) const
    {
        const RECT& r = kChairRects[chair];
        return CPoint(grid->GetXOrigin() + (r.left + r.right) / 2, grid->GetYOrigin() + (r.top + r.bottom) / 2);
    }
};

TEST_F(PresentationTest, AntiCheatShowsOneCentredTable)
{
    grid->ShowUserInfo(true);
    grid->SetTableMode(TABLE_MODE_ANTI_CHEAT, false);
    EXPECT_EQ(1, grid->GetTableCount());
    EXPECT_FALSE(grid->IsShowUser());
    EXPECT_EQ((kWidth - kTableWidth) / 2, grid->GetXOrigin());
    EXPECT_EQ((kHeight - kTableHeight) / 2 + 70, grid->GetYOrigin());
    EXPECT_EQ(1, grid->GetColumns());
    EXPECT_EQ(0, grid->CalcTableLayout(kWidth));
    // Every view made stays reachable; none beyond.
    EXPECT_NE(nullptr, grid->GetTableViewItem(3));
    EXPECT_EQ(nullptr, grid->GetTableViewItem(10));

    grid->SetCycleMatchState(3);
    auto canvas = Print();
    EXPECT_EQ(kVariant, canvas->At(grid->GetXOrigin() + 198, grid->GetYOrigin() + 148));
    EXPECT_EQ(kBackground, canvas->At(grid->GetXOrigin() - 2, grid->GetYOrigin() + 10));
    EXPECT_EQ(kAntiCheat, canvas->At(13, 18));
    EXPECT_EQ(kStates[2], canvas->At((kWidth - 100) / 2 + 76, 51));
    EXPECT_EQ(kNotice, canvas->At(kWidth - 30 - 5, 9));
    EXPECT_FALSE(grid->GetScrollBar()->IsWindowVisible());
}

TEST_F(PresentationTest, StatePictureFollowsTheCycleMatchState)
{
    grid->SetTableMode(TABLE_MODE_ANTI_CHEAT, false);
    const CPoint at((kWidth - 100) / 2 + 76 + 2, 53);
    for (int state = 0; state <= 4; ++state) {
        SCOPED_TRACE(state);
        grid->SetCycleMatchState(state);
        auto canvas = Print();
        COLORREF expected = state >= 1 && state <= 3 ? kStates[state - 1] : kBackground;
        EXPECT_EQ(expected, canvas->At(at.x, at.y));
    }
}

// Hover, press, release and painting all place the one table at the layout's
// origins, so a click on the painted chair completes.
TEST_F(PresentationTest, AClickOnThePaintedChairCompletes)
{
    grid->SetTableMode(TABLE_MODE_ANTI_CHEAT, false);
    Click(SingleChair(2), SingleChair(2));
    Click(SingleChair(1), SingleChair(1), true);
    Click(SingleChair(1), SingleChair(2));
    EXPECT_EQ((std::vector<Hit>{{'L', 0, 2, 0}, {'R', 0, 1, 0}}), sink.hits);
    EXPECT_EQ(0, grid->TableHitTest(CPoint(1, 1)));
}

TEST_F(PresentationTest, CycleMatchPlacesButtonPageAndLogo)
{
    grid->SetTableMode(TABLE_MODE_ANTI_CHEAT, true);
    EXPECT_EQ((kHeight - kTableHeight) / 2 + 20, grid->GetYOrigin());
    CButtonWidget* button = grid->GetCycleButton();
    EXPECT_EQ(30, button->GetWidth());
    EXPECT_EQ((kWidth - 30) / 2, button->Left());
    EXPECT_EQ(kHeight / 2 + 130, button->Top());
    EXPECT_EQ(grid.get(), host.pageParent);
    EXPECT_EQ((std::vector<std::string>{"http://match.test/cycle?4321"}), host.page.addresses);
    EXPECT_EQ(SW_SHOW, host.page.shown);
    EXPECT_EQ(CRect(kWidth - 255, 9, kWidth - 5, 399), host.page.placed);

    auto canvas = Print();
    EXPECT_EQ(kLogo, canvas->At(18, 13));
    EXPECT_NE(kAntiCheat, canvas->At(13 + 19, 18 + 19));
    EXPECT_EQ(kFrames[0], canvas->At(button->Left() + 5, button->Top() + 5));
}

TEST_F(PresentationTest, CycleButtonStateAndClicks)
{
    grid->SetTableMode(TABLE_MODE_ANTI_CHEAT, true);
    CButtonWidget* button = grid->GetCycleButton();
    const CPoint on(button->Left() + 5, button->Top() + 5);
    struct Case
    {
        int state;
        COLORREF frame;
        size_t hits;
    };
    const Case cases[] = {{1, kFrames[0], 1}, {2, kFrames[3], 0}, {3, kFrames[3], 0}, {0, kFrames[0], 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.state);
        sink.hits.clear();
        grid->SetCycleMatchState(c.state);
        Send(WM_MOUSEMOVE, CPoint(1, 1));
        auto canvas = Print();
        EXPECT_EQ(c.frame, canvas->At(on.x, on.y));
        Click(on, on);
        ASSERT_EQ(c.hits, sink.hits.size());
        if (c.hits) {
            EXPECT_EQ((Hit{'L', 0, 0, 0}), sink.hits[0]);
        }
    }
    // The grid's own presses are off while the button takes the clicks.
    sink.hits.clear();
    Click(SingleChair(2), SingleChair(2));
    EXPECT_TRUE(sink.hits.empty());
    grid->ButtonClick(1002);
    EXPECT_TRUE(sink.hits.empty());
}

TEST_F(PresentationTest, PageAddressNeedsAKnownMatch)
{
    host.matchId = 0xFFFFFFFF;
    grid->SetTableMode(TABLE_MODE_ANTI_CHEAT, true);
    EXPECT_TRUE(host.page.addresses.empty());
    EXPECT_EQ(SW_SHOW, host.page.shown);
}

TEST_F(PresentationTest, MissingCycleUrlLeavesOnlyTheMatch)
{
    skin.Folder().Write("Config\\Urls.ini", "[MatchUrl]\r\n");
    grid->SetTableMode(TABLE_MODE_ANTI_CHEAT, true);
    EXPECT_EQ((std::vector<std::string>{"?4321"}), host.page.addresses);
}

TEST_F(PresentationTest, CycleSeatShowsTheOwnChair)
{
    grid->SetTableMode(TABLE_MODE_ANTI_CHEAT, true);
    grid->SetCycleMatchSeat(0, 3);
    EXPECT_EQ(2, grid->GetCycleMatchState());
    EXPECT_EQ(3, static_cast<CTableView*>(grid->GetTableViewItem(0))->GetCycleMatchChair());
    // A table number from the server without a view changes nothing.
    grid->SetCycleMatchState(1);
    grid->SetCycleMatchSeat(50, 1);
    EXPECT_EQ(1, grid->GetCycleMatchState());
}

TEST_F(PresentationTest, AMissingVariantTableDrawsBackgroundOnly)
{
    skin.Remove(skin.GameFile("TableNormal2.bmp"));
    FlashDouble flash;
    grid->SetFlashPainter(&flash);
    grid->SetTableMode(TABLE_MODE_ANTI_CHEAT, false);
    EXPECT_EQ(0, grid->GetTableResource()->m_wWidth);
    auto canvas = Print();
    EXPECT_EQ(canvas->Width() * canvas->Height(), canvas->Count(canvas->At(kWidth / 2, kHeight / 2)));
    Click(CPoint(300, 250), CPoint(300, 250));
    EXPECT_EQ(0xFFFF, grid->TableHitTest(CPoint(300, 250)));
    EXPECT_FALSE(grid->FlashChair(0, 1));
    EXPECT_FALSE(grid->FlashTable(0));
    grid->SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, -120), 0);
    EXPECT_TRUE(flash.outlines.empty());
}

// ---------------------------------------------------------------- flashing

class FlashTest : public GridTest
{
protected:
    void SetUp() override
    {
        GridTest::SetUp();
        MakeGrid();
        grid->SetFlashPainter(&flash);
    }
    // 19 frames, each drawn twice around a wait, shrinking by 4 pixels.
    void ExpectFrames(CRect start)
    {
        ASSERT_EQ(38u, flash.outlines.size());
        ASSERT_EQ(19u, flash.waits.size());
        for (int k = 0; k < 19; ++k) {
            EXPECT_EQ(start, flash.outlines[2 * k]);
            EXPECT_EQ(start, flash.outlines[2 * k + 1]);
            EXPECT_EQ(DWORD(2 * k), flash.waits[k]);
            start.DeflateRect(4, 4);
        }
    }
    FlashDouble flash;
};

TEST_F(FlashTest, ChairFrameStartsAroundTheChair)
{
    ASSERT_TRUE(grid->FlashChair(4, 2));
    CRect start = kChairRects[2];
    start.OffsetRect(Cell(4));
    start.InflateRect(72, 72);
    ExpectFrames(start);
}

TEST_F(FlashTest, TableFrameIsTheCell)
{
    grid->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 100), LPARAM(grid->GetScrollBar()->GetSafeHwnd()));
    ASSERT_TRUE(grid->FlashTable(5));
    ExpectFrames(CRect(Cell(5), CSize(kTableWidth, kTableHeight)));
}

TEST_F(FlashTest, NothingToFlashDrawsNothing)
{
    EXPECT_FALSE(grid->FlashChair(0, 300));
    EXPECT_FALSE(grid->FlashChair(10, 0));
    EXPECT_FALSE(grid->FlashTable(10));
    EXPECT_TRUE(flash.outlines.empty());
}

TEST_F(FlashTest, FreeTablesFlashWhereTheyAreShown)
{
    auto user = MakeUser(5, "a");
    for (WORD chair = 0; chair < 4; ++chair)
        grid->SetUserItem(0, chair, user.get());
    grid->SetUserItem(3, 0, user.get());
    grid->SetDisplayFlags(TABLE_DISPLAY_FREE);
    // Table 3 (three free) comes first, before the tables with four.
    ASSERT_TRUE(grid->FlashTable(3));
    ExpectFrames(CRect(Cell(0), CSize(kTableWidth, kTableHeight)));
    flash.outlines.clear();
    flash.waits.clear();
    EXPECT_FALSE(grid->FlashTable(0)); // full: not shown
}

TEST_F(FlashTest, SingleTableFramesFollowTheLayout)
{
    WriteVariant(skin, "TableNormal2.bmp");
    skin.WriteIni({}, AntiCheatChairs());
    grid->SetTableMode(TABLE_MODE_ANTI_CHEAT, false);
    ASSERT_TRUE(grid->FlashChair(0, 1));
    CRect start = kChairRects[1];
    start.OffsetRect(grid->GetXOrigin(), grid->GetYOrigin());
    start.InflateRect(72, 72);
    ExpectFrames(start);
}
} // namespace
