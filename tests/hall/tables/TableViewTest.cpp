// One table view: its state, the repaints it asks of its grid, and its
// drawing into a table-sized canvas.
#include <gtest/gtest.h>

#include "GlobalUnits.h"
#include "TableTestSupport.h"
#include "TableView.h"

#include <functional>

using namespace tabletest;

namespace
{
class TableViewTest : public testing::Test
{
protected:
    void SetUp() override
    {
        view = new CTableView;
        view->AddRef();
        view->InitTableView(0, 4, &owner);
    }
    void TearDown() override { view->Release(); }

    OwnerDouble owner;
    CTableView* view = nullptr;
};

TEST_F(TableViewTest, AnswersOnlyItsOwnInterfaces)
{
    void* out = nullptr;
    EXPECT_EQ(S_OK, view->QueryInterface(IID_ITableView, &out));
    EXPECT_EQ(static_cast<ITableView*>(view), out);
    EXPECT_EQ(S_OK, view->QueryInterface(IID_IUnknownEx, &out));
    EXPECT_EQ(2u, view->Release());
    EXPECT_EQ(1u, view->Release());
    EXPECT_EQ(E_NOINTERFACE, view->QueryInterface(IID_ITableFrameView, &out));
    EXPECT_EQ(nullptr, out);
}

// Setters repaint through the grid only when the value changes; mouse-down,
// hover and text force the repaint.
TEST_F(TableViewTest, SettersRepaintOnChange)
{
    struct Case
    {
        const char* name;
        std::function<void(CTableView*)> set;
        size_t first;  // repaints of the first call
        size_t second; // of the same call again
        bool force;
    };
    const Case cases[] = {
        {"mouse down", [](CTableView* v) { v->SetMouseDown(true); }, 1, 0, true},
        {"hover", [](CTableView* v) { v->SetHoverChair(2); }, 1, 0, true},
        {"text", [](CTableView* v) { v->SetTableText("abc"); }, 1, 1, true},
        {"focus", [](CTableView* v) { v->SetFocusFrame(true); }, 1, 0, false},
        {"play", [](CTableView* v) { v->SetPlayFlag(true); }, 1, 0, false},
        {"lock", [](CTableView* v) { v->SetLockFlag(true); }, 1, 0, false},
        {"second lock", [](CTableView* v) { v->SetSecondLock(true); }, 1, 0, false},
        {"name", [](CTableView* v) { v->SetTableName("n"); }, 0, 0, false},
        {"multiple", [](CTableView* v) { v->SetMultiple(3); }, 0, 0, false},
        {"match", [](CTableView* v) { v->SetMatchFlag(false); }, 0, 0, false},
        {"ring", [](CTableView* v) { v->SetRingFlag(true); }, 0, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CTableView* fresh = new CTableView;
        fresh->AddRef();
        fresh->InitTableView(6, 4, &owner);
        owner.updates.clear();
        c.set(fresh);
        ASSERT_EQ(c.first, owner.updates.size());
        if (c.first > 0) {
            EXPECT_EQ(6, owner.updates[0].table);
            EXPECT_EQ(c.force, owner.updates[0].force);
        }
        c.set(fresh);
        EXPECT_EQ(c.first + c.second, owner.updates.size());
        fresh->Release();
    }
}

TEST_F(TableViewTest, SeatingAUserRepaintsThenReorders)
{
    auto user = MakeUser(5, "a");
    EXPECT_TRUE(view->SetUserItem(299, user.get()));
    ASSERT_EQ(1u, owner.updates.size());
    EXPECT_FALSE(owner.updates[0].force);
    ASSERT_EQ(1u, owner.reorders.size());
    EXPECT_EQ(static_cast<ITableView*>(view), owner.reorders[0]);
    EXPECT_EQ(user.get(), view->GetUserItem(299));

    EXPECT_FALSE(view->SetUserItem(300, user.get()));
    EXPECT_FALSE(view->SetUserItem(0xFFFF, user.get()));
    EXPECT_EQ(1u, owner.updates.size());
    EXPECT_EQ(nullptr, view->GetUserItem(300));
}

TEST_F(TableViewTest, CountsEmptyChairsOfItsTableOnly)
{
    auto user = MakeUser(5, "a");
    WORD last = 0;
    EXPECT_EQ(4, view->GetNullChairCount(&last));
    EXPECT_EQ(3, last);
    view->SetUserItem(0, user.get());
    view->SetUserItem(2, user.get());
    EXPECT_EQ(2, view->GetNullChairCount(&last));
    EXPECT_EQ(3, last);
    view->SetUserItem(1, user.get());
    view->SetUserItem(3, user.get());
    // A user beyond the table's chairs is kept but does not count.
    view->SetUserItem(10, nullptr);
    EXPECT_EQ(0, view->GetNullChairCount(&last));
    EXPECT_EQ(0xFFFF, last);
    EXPECT_EQ(0, view->GetNullChairCount(nullptr));
}

TEST_F(TableViewTest, ChairCountIsKeptWithinTheArrays)
{
    view->InitTableView(3, 1000, &owner);
    EXPECT_EQ(300, view->GetTableAttribute()->wChairCount);
    EXPECT_EQ(3, view->GetTableAttribute()->wTableID);
    WORD last = 0;
    EXPECT_EQ(300, view->GetNullChairCount(&last));
    EXPECT_EQ(299, last);
}

TEST_F(TableViewTest, TextsAreCutOnCharacterBoundaries)
{
    view->SetTableText(std::string(100, 'x').c_str());
    EXPECT_EQ(std::string(63, 'x'), view->GetTableText());
    // 62 bytes and a double-byte character: the character does not fit whole.
    view->SetTableText((std::string(62, 'x') + "\xD7\xC0").c_str());
    EXPECT_EQ(std::string(62, 'x'), view->GetTableText());

    view->SetTableName(std::string(40, 'n').c_str());
    EXPECT_EQ(CString(std::string(31, 'n').c_str()), view->GetTableName());
    view->SetTableName(nullptr);
    EXPECT_EQ(31, view->GetTableName().GetLength());
}

TEST(TableOptionTest, StartsWithItsDefaults)
{
    CTableOption option;
    option.m_wTableID = 3;
    option.m_szText[0] = 'a';
    option.m_dwValue = 9;
    option.InitOption();
    EXPECT_EQ(0xFFFF, option.m_wTableID);
    EXPECT_EQ('\0', option.m_szText[0]);
    EXPECT_EQ(1, option.m_wValue1);
    EXPECT_EQ(1, option.m_cbValue1);
    EXPECT_EQ(0u, option.m_dwValue);
}

// ---------------------------------------------------------------- drawing

class TableDrawTest : public TableViewTest
{
protected:
    void SetUp() override
    {
        TableViewTest::SetUp();
        ASSERT_TRUE(resource.LoadTableResource(kGameFolder));
    }
    // The view drawn into a fresh canvas the size of the table.
    void Draw(bool showUsers)
    {
        canvas.Fill(RGB(1, 2, 3));
        SetBkMode(canvas.GetSafeHdc(), TRANSPARENT);
        view->DrawTableView(canvas.DC(), &resource, showUsers);
    }

    SkinFolder skin;
    CTableResource resource;
    CMemoryCanvas canvas{kTableWidth, kTableHeight};
};

TEST_F(TableDrawTest, TablePictureFollowsPlayFlagAndCycleChair)
{
    struct Case
    {
        bool playing;
        bool showUsers;
        WORD cycleChair;
        COLORREF expected;
    };
    const Case cases[] = {{false, true, 0xFFFF, kNormal},  {true, true, 0xFFFF, kPlaying},
                          {true, false, 0xFFFF, kPlaying}, {true, false, 1, kNormal},
                          {true, true, 1, kPlaying},       {false, false, 0xFFFF, kNormal}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.playing << c.showUsers << c.cycleChair);
        view->SetPlayFlag(c.playing);
        view->SetCycleMatchChair(c.cycleChair);
        Draw(c.showUsers);
        EXPECT_EQ(c.expected, canvas.At(198, 148));
    }
}

TEST_F(TableDrawTest, IdentifyPictureOnlyOnTheIdentifiedTable)
{
    Draw(true);
    EXPECT_EQ(kNormal, canvas.At(kIdentifyPoint.x + 4, kIdentifyPoint.y + 4));
    owner.identifyTable = 0;
    Draw(true);
    EXPECT_EQ(kIdentify, canvas.At(kIdentifyPoint.x + 4, kIdentifyPoint.y + 4));
}

TEST_F(TableDrawTest, PlayersShowFaceAvatarAndReadyMark)
{
    ASSERT_TRUE(LoadPictureModules(skin.Folder()));
    auto faced = MakeUser(5, "a", 0, 1, 0, USER_STATUS_READY);
    auto withAvatar = MakeUser(77, "b");
    auto female = MakeUser(78, "c", 0, 2);
    view->SetUserItem(0, faced.get());
    view->SetUserItem(3, withAvatar.get());
    Draw(true);

    const RECT& chair0 = kChairRects[0];
    // The face is 32 x 32 one pixel in; the rest of the chair is its colour.
    EXPECT_EQ(kFace, canvas.At(chair0.left + 1, chair0.top + 1));
    EXPECT_EQ(kFace, canvas.At(chair0.left + 32, chair0.top + 32));
    EXPECT_EQ(kChairColour, canvas.At(chair0.left, chair0.top));
    EXPECT_EQ(kChairColour, canvas.At(chair0.left + 34, chair0.top + 34));
    EXPECT_EQ(kReady, canvas.At(kReadyPoints[0].x + 1, kReadyPoints[0].y + 1));
    // The ready mark's magenta border lets the table through.
    EXPECT_EQ(kNormal, canvas.At(kReadyPoints[0].x, kReadyPoints[0].y));

    const RECT& chair3 = kChairRects[3];
    EXPECT_EQ(kAvatar, canvas.At(chair3.left + 45, chair3.top + 60));
    // Not ready: no mark.
    EXPECT_NE(kReady, canvas.At(kReadyPoints[3].x + 1, kReadyPoints[3].y + 1));

    view->SetUserItem(3, female.get());
    Draw(true);
    EXPECT_EQ(kFemaleDefault, canvas.At(chair3.left + 45, chair3.top + 60));
    // An empty chair shows the table.
    EXPECT_EQ(kNormal, canvas.At(kChairRects[1].left + 10, kChairRects[1].top + 10));
}

TEST_F(TableDrawTest, HiddenUsersLeaveLockFrameAndNumber)
{
    ASSERT_TRUE(LoadPictureModules(skin.Folder()));
    auto user = MakeUser(5, "abc", 0, 1, 0, USER_STATUS_READY);
    view->SetUserItem(0, user.get());
    view->SetLockFlag(true);
    view->SetHoverChair(1);
    Draw(false);
    EXPECT_EQ(kNormal, canvas.At(kChairRects[0].left + 10, kChairRects[0].top + 10));
    EXPECT_NE(kReady, canvas.At(kReadyPoints[0].x + 1, kReadyPoints[0].y + 1));
    EXPECT_TRUE(PixelsOf(canvas, kName, kNameRects[0]).empty());
    EXPECT_EQ(kLock, canvas.At(kLockPoint.x + 5, kLockPoint.y + 5));
    EXPECT_EQ(kNormal, canvas.At(kLockPoint.x, kLockPoint.y));
    EXPECT_EQ(RGB(255, 255, 255), canvas.At(kChairRects[1].left, kChairRects[1].top + 5));
    EXPECT_FALSE(PixelsOf(canvas, kTableID, kTableIDRect).empty());
}

TEST_F(TableDrawTest, HoverFrameColoursSwapWhilePressed)
{
    const RECT& chair = kChairRects[2];
    view->SetHoverChair(2);
    Draw(true);
    EXPECT_EQ(RGB(255, 255, 255), canvas.At(chair.left, chair.top + 5));
    EXPECT_EQ(RGB(125, 125, 125), canvas.At(chair.right - 1, chair.top + 5));
    view->SetMouseDown(true);
    Draw(true);
    EXPECT_EQ(RGB(125, 125, 125), canvas.At(chair.left, chair.top + 5));
    EXPECT_EQ(RGB(255, 255, 255), canvas.At(chair.right - 1, chair.top + 5));
    // Other chairs have no frame.
    EXPECT_EQ(kNormal, canvas.At(kChairRects[0].left, kChairRects[0].top + 5));
}

TEST_F(TableDrawTest, NameColourMarksMembers)
{
    struct Case
    {
        DWORD rank;
        COLORREF colour;
    };
    const Case cases[] = {{0, kName}, {1, kMemberName}, {99, kMemberName}, {100, kName}, {256, kName}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rank);
        auto user = MakeUser(5, "WWWW", 0, 1, c.rank);
        view->SetUserItem(0, user.get());
        Draw(true);
        EXPECT_FALSE(PixelsOf(canvas, c.colour, kNameRects[0]).empty());
        EXPECT_TRUE(PixelsOf(canvas, c.colour == kName ? kMemberName : kName, kNameRects[0]).empty());
        view->SetUserItem(0, nullptr);
    }
}

// Names are placed as DrawText places them with the style's flags; bottom
// alignment moves a top-aligned rectangle down by the free height.
TEST_F(TableDrawTest, NameAlignmentFollowsDrawStyle)
{
    const UINT base = DT_WORDBREAK | DT_NOPREFIX | DT_EDITCONTROL | DT_END_ELLIPSIS;
    struct Case
    {
        DWORD style;
        UINT format;
        int moveDown;
    };
    const RECT& rect = kNameRects[3]; // 91 x 18
    const Case cases[] = {{0, DT_LEFT, 0},     {4 | 2, DT_LEFT, 0},   {2, DT_CENTER, 0},       {1, DT_RIGHT, 0},
                          {0x10 | 0x20, 0, 0}, {0x20, DT_VCENTER, 0}, {0x40 | 2, DT_CENTER, 3}};
    auto user = MakeUser(77, "ab");
    view->SetUserItem(3, user.get());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.style);
        resource.m_nDrawStyle[3] = c.style;
        Draw(true);
        RECT target = rect;
        target.top += c.moveDown;
        EXPECT_EQ(ExpectedText(kTableWidth, kTableHeight, "ab", target, base | c.format, kName, rect),
                  PixelsOf(canvas, kName, rect));
    }
}

TEST_F(TableDrawTest, NumberTextAndCountersInNormalModeOnly)
{
    const UINT idFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP;
    const UINT counterFormat = DT_VCENTER | DT_SINGLELINE | DT_NOCLIP;
    Draw(true);
    EXPECT_EQ(ExpectedText(kTableWidth, kTableHeight, "- 1 -", kTableIDRect, idFormat, kTableID, kTableIDRect),
              PixelsOf(canvas, kTableID, kTableIDRect));
    // Counters of 0 read 1; with no name drawn the innings take the multiple's colour.
    EXPECT_EQ(ExpectedText(kTableWidth, kTableHeight, "1", kMultipleRect, counterFormat, kTableName, kMultipleRect),
              PixelsOf(canvas, kTableName, kMultipleRect));
    EXPECT_EQ(ExpectedText(kTableWidth, kTableHeight, "1", kInningsRect, counterFormat, kTableName, kInningsRect),
              PixelsOf(canvas, kTableName, kInningsRect));

    view->SetTableText("VIP");
    view->SetMultiple(25);
    Draw(true);
    EXPECT_EQ(ExpectedText(kTableWidth, kTableHeight, "VIP", kTableIDRect, idFormat, kTableID, kTableIDRect),
              PixelsOf(canvas, kTableID, kTableIDRect));
    EXPECT_EQ(ExpectedText(kTableWidth, kTableHeight, "25", kMultipleRect, counterFormat, kTableName, kMultipleRect),
              PixelsOf(canvas, kTableName, kMultipleRect));

    owner.tableMode = 1;
    Draw(true);
    EXPECT_TRUE(PixelsOf(canvas, kTableID, kTableIDRect).empty());
    EXPECT_TRUE(PixelsOf(canvas, kTableName, kMultipleRect).empty());
}

TEST_F(TableDrawTest, CountersWithoutRectanglesAreNotDrawn)
{
    resource.m_rcTableMultiple.SetRectEmpty();
    resource.m_rcTableInnings.SetRectEmpty();
    view->SetTableName("T");
    Draw(true);
    EXPECT_TRUE(PixelsOf(canvas, kTableName, kMultipleRect).empty());
    EXPECT_TRUE(PixelsOf(canvas, kTableName, kInningsRect).empty());
    EXPECT_FALSE(PixelsOf(canvas, kTableName, kTableNameRect).empty());
}

TEST_F(TableDrawTest, RingDrawsItsColourWithoutLeakingTheBrush)
{
    view->SetRingFlag(true);
    Draw(true);
    EXPECT_EQ(RGB(234, 145, 123), canvas.At(91, 86));
    DWORD before = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    for (int i = 0; i < 50; ++i)
        Draw(true);
    EXPECT_LT(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), before + 10);
}

// The cycle-match chair shows the own user's avatar once the own user holds
// a seat (state above 1), and no lock.
TEST_F(TableDrawTest, CycleMatchChairShowsTheOwnAvatar)
{
    skin.Folder().WriteBmp("Res\\gameavatar\\male.png", skintest::Pixels(30, 30, kMaleDefault));
    skin.Folder().WriteBmp("Res\\gameavatar\\female.png", skintest::Pixels(30, 30, kFemaleDefault));
    skin.WritePicture(skin.GameFile("TableNormal2.bmp"), kTableWidth, kTableHeight, kNormal);
    resource.LoadMatchCheatResource(false);
    // The anti-cheat keys are absent: put chair 3 back.
    resource.m_rcChair[3] = kChairRects[3];
    resource.m_rcName[3] = kNameRects[3];
    view->InitTableView(0, 4, &owner);
    view->SetLockFlag(true);
    view->SetCycleMatchChair(3);
    const RECT& chair = kChairRects[3];

    owner.cycleState = 1;
    Draw(false);
    EXPECT_EQ(kNormal, canvas.At(chair.left + 5, chair.top + 5));
    EXPECT_EQ(kNormal, canvas.At(kLockPoint.x + 5, kLockPoint.y + 5));

    owner.cycleState = 2;
    g_GlobalUnits.GetGlobalUserData()->cbGender = 2;
    Draw(false);
    EXPECT_EQ(kFemaleDefault, canvas.At(chair.left + 5, chair.top + 5));
    EXPECT_EQ(kNormal, canvas.At(chair.left + 45, chair.top + 60));
    g_GlobalUnits.GetGlobalUserData()->cbGender = 1;
    Draw(false);
    EXPECT_EQ(kMaleDefault, canvas.At(chair.left + 5, chair.top + 5));
}
} // namespace
