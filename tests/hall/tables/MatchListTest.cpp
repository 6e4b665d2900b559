// The ranking list of a match room: texts, rank order, removal of the
// unranked, the tiled background and the row colours.
#include "MatchListCtrl.h"

#include "GlobalUnits.h"
#include "TableTestSupport.h"

#include <gtest/gtest.h>

using namespace tabletest;

namespace
{
const COLORREF kTileTop = RGB(20, 40, 60);
const COLORREF kTileRest = RGB(60, 20, 40);
const DWORD kOwnUserId = 500;

class MatchParent : public skintest::RecordingParent, public IMatchListOwner
{
public:
    DWORD state = 0;
    DWORD GetMatchState() const override { return state; }
};

std::unique_ptr<CUserItem> RankedUser(DWORD userId, WORD rank, LONG score = 0, const char* nick = "")
{
    std::unique_ptr<CUserItem> user = MakeUser(userId, nick);
    user->GetSecondExtension()->wValue2 = rank;
    user->GetUserData()->dwScore[0] = (DWORD)score;
    return user;
}

class MatchListTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_GlobalUnits.SetWorkDirectory(m_folder.Folder());
        g_GlobalUnits.GetGlobalUserData()->dwUserID = kOwnUserId;
    }
    void TearDown() override
    {
        if (m_parent.GetSafeHwnd() != NULL)
            m_parent.DestroyWindow();
        g_GlobalUnits.GetGlobalUserData()->dwUserID = 0;
        g_GlobalUnits.SetWorkDirectory("");
    }

    // The middle picture: kTileTop on its first ten rows, kTileRest below.
    void WriteTile(int height)
    {
        skintest::Pixels pixels(204, height, kTileRest);
        pixels.Fill(0, 0, 204, height < 10 ? height : 10, kTileTop);
        ASSERT_TRUE(WritePng(m_folder, "Res\\gameroom\\MatchViewItem\\UserListBackM.png", pixels));
    }

    void Create(CMatchListCtrl& list, int height = 400)
    {
        ASSERT_TRUE(m_parent.CreateParent(300, 500));
        ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LVS_NOCOLUMNHEADER | LVS_OWNERDRAWFIXED | LVS_REPORT,
                                CRect(0, 0, 204, height), &m_parent, 1004));
        list.InitMatchList(204, height);
    }

    static std::vector<DWORD> Order(CMatchListCtrl& list)
    {
        std::vector<DWORD> ids;
        for (int i = 0; i < list.GetItemCount(); ++i)
            ids.push_back(reinterpret_cast<CUserItem*>(list.GetItemData(i))->GetUserID());
        return ids;
    }

    skintest::TempFolder m_folder;
    MatchParent m_parent;
};

TEST_F(MatchListTest, CellsShowRankNicknameAndScore)
{
    CMatchListCtrl list;
    Create(list);
    ASSERT_EQ(list.GetHeaderCtrl()->GetItemCount(), 3);

    std::unique_ptr<CUserItem> longNick = RankedUser(9, 1);
    memset(longNick->GetUserData()->szNickName, 'n', sizeof(longNick->GetUserData()->szNickName));
    struct Case
    {
        std::unique_ptr<CUserItem> user;
        bool showNames;
        const char* rank;
        std::string nick;
        const char* score;
    } cases[] = {
        {RankedUser(1, 3, 1200, "甲"), true, "3", "甲", "1200"},
        {RankedUser(2, 0, -40, "乙"), true, "", "乙", "-40"},
        {RankedUser(3, 65535, 0, "丙"), false, "65535", "Varnok玩家", "0"},
        {std::move(longNick), true, "1", std::string(32, 'n'), "0"},
    };
    for (Case& c : cases) {
        list.SetShowUserName(c.showNames);
        EXPECT_EQ(list.GetUserText(c.user.get(), 0), c.rank) << c.user->GetUserID();
        EXPECT_EQ(std::string(list.GetUserText(c.user.get(), 1)), c.nick) << c.user->GetUserID();
        EXPECT_EQ(list.GetUserText(c.user.get(), 2), c.score) << c.user->GetUserID();
        EXPECT_EQ(list.GetUserText(c.user.get(), 3), "");
    }
    list.SetShowUserName(true);
    ASSERT_TRUE(list.InsertUserItem(cases[0].user.get()));
    EXPECT_EQ(list.GetItemText(0, 0), "3");
    EXPECT_EQ(list.GetItemText(0, 1), "甲");
    EXPECT_EQ(list.GetItemText(0, 2), "1200");
}

TEST_F(MatchListTest, RowsFollowTheRankWithTheUnrankedLast)
{
    CMatchListCtrl list;
    std::unique_ptr<CUserItem> users[] = {RankedUser(10, 0), RankedUser(11, 3), RankedUser(12, 1),
                                          RankedUser(13, 0), RankedUser(14, 2), RankedUser(15, 3)};
    EXPECT_FALSE(list.InsertUserItem(users[0].get()));
    EXPECT_FALSE(list.UpdateUserItem(users[0].get()));
    EXPECT_FALSE(list.DeleteUserItem(users[0].get()));
    EXPECT_EQ(list.RemoveUnrankedUsers(), 0);

    Create(list);
    for (auto& user : users)
        ASSERT_TRUE(list.InsertUserItem(user.get()));
    std::vector<DWORD> order = Order(list);
    ASSERT_EQ(order.size(), 6u);
    EXPECT_EQ(order[0], 12u);
    EXPECT_EQ(order[1], 14u);
    EXPECT_TRUE((order[2] == 11 && order[3] == 15) || (order[2] == 15 && order[3] == 11));
    EXPECT_TRUE((order[4] == 10 && order[5] == 13) || (order[4] == 13 && order[5] == 10));

    // A new rank re-sorts; a second insert of a listed user only rewrites it.
    users[0]->GetSecondExtension()->wValue2 = 1;
    users[2]->GetSecondExtension()->wValue2 = 4;
    ASSERT_TRUE(list.InsertUserItem(users[0].get()));
    ASSERT_TRUE(list.UpdateUserItem(users[2].get()));
    order = Order(list);
    ASSERT_EQ(order.size(), 6u);
    EXPECT_EQ(order[0], 10u);
    EXPECT_EQ(order[1], 14u);
    EXPECT_EQ(order[4], 12u);
    EXPECT_EQ(order[5], 13u);
    EXPECT_EQ(list.GetItemText(0, 0), "1");

    std::unique_ptr<CUserItem> stranger = RankedUser(99, 1);
    EXPECT_FALSE(list.UpdateUserItem(stranger.get()));
    EXPECT_FALSE(list.DeleteUserItem(stranger.get()));
    EXPECT_TRUE(list.DeleteUserItem(users[1].get()));
    EXPECT_EQ(list.GetItemCount(), 5);
}

TEST_F(MatchListTest, RemovingTheUnrankedTakesAdjacentRowsToo)
{
    CMatchListCtrl list;
    Create(list);
    std::unique_ptr<CUserItem> users[] = {RankedUser(1, 0), RankedUser(2, 0), RankedUser(3, 2),
                                          RankedUser(4, 0), RankedUser(5, 1), RankedUser(6, 0)};
    for (auto& user : users)
        ASSERT_TRUE(list.InsertUserItem(user.get()));
    EXPECT_EQ(list.RemoveUnrankedUsers(), 2);
    EXPECT_EQ(Order(list), (std::vector<DWORD>{5, 3}));
    EXPECT_EQ(list.RemoveUnrankedUsers(), 2);
}

TEST_F(MatchListTest, TheBackgroundTilesTheMiddlePictureDownToTheBottom)
{
    const struct
    {
        int tile;
        int height;
    } cases[] = {{100, 400}, {30, 400}, {0, 400}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tile);
        if (c.tile > 0)
            WriteTile(c.tile);
        else
            m_folder.Write("Res\\gameroom\\MatchViewItem\\UserListBackM.png", std::string("not a picture"));
        CMatchListCtrl list;
        Create(list, c.height);
        skintest::Snapshot shot(list.m_hWnd);
        for (int y = 0; y < c.height; y += 5) {
            if (c.tile <= 0)
                break;
            const COLORREF expected = (y % c.tile) < 10 ? kTileTop : kTileRest;
            ASSERT_EQ(shot.At(100, y), expected) << y;
        }
        list.DestroyWindow();
        m_parent.DestroyWindow();
    }
}

TEST_F(MatchListTest, RowColoursFollowTheOwnUserAndTheMatchState)
{
    WriteTile(100);
    CMatchListCtrl list;
    Create(list);
    std::unique_ptr<CUserItem> ranked = RankedUser(1, 1, 10, "WWWW");
    std::unique_ptr<CUserItem> own = RankedUser(kOwnUserId, 0, 10, "WWWW");
    std::unique_ptr<CUserItem> unranked = RankedUser(2, 0, 10, "WWWW");
    for (CUserItem* user : {ranked.get(), own.get(), unranked.get()})
        ASSERT_TRUE(list.InsertUserItem(user));

    const COLORREF red = RGB(255, 0, 0), yellow = RGB(255, 255, 0), white = RGB(255, 255, 255);
    const COLORREF selected = RGB(0x93, 0xA0, 0x70);
    auto row = [&](int i) {
        CRect rc;
        list.GetItemRect(i, &rc, LVIR_BOUNDS);
        return rc;
    };
    const struct
    {
        DWORD state;
        COLORREF unrankedColour;
    } cases[] = {{3, yellow}, {2, white}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.state);
        m_parent.state = c.state;
        skintest::Snapshot shot(list.m_hWnd);
        LVFINDINFO find = {};
        find.flags = LVFI_PARAM;
        find.lParam = (LPARAM)own.get();
        const int nOwn = list.FindItem(&find);
        ASSERT_GE(nOwn, 1);
        const CRect rcRanked = row(0), rcOwn = row(nOwn), rcUnranked = row(nOwn == 1 ? 2 : 1);
        EXPECT_GT(shot.Count(white, &rcRanked), 0);
        EXPECT_EQ(shot.Count(red, &rcRanked) + shot.Count(yellow, &rcRanked), 0);
        EXPECT_GT(shot.Count(red, &rcOwn), 0);
        EXPECT_EQ(shot.Count(yellow, &rcOwn) + shot.Count(white, &rcOwn), 0);
        EXPECT_GT(shot.Count(c.unrankedColour, &rcUnranked), 0);
        EXPECT_EQ(shot.Count(red, &rcUnranked), 0);
        EXPECT_EQ(shot.Count(selected), 0);
    }

    // A selected row is filled; the others show the background.
    list.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
    skintest::Snapshot shot(list.m_hWnd);
    const CRect rcRanked = row(0), rcNext = row(1);
    EXPECT_EQ(shot.At(rcRanked.left + 2, rcRanked.bottom - 2), selected);
    EXPECT_EQ(shot.At(rcNext.left + 2, rcNext.bottom - 2), kTileRest);
}
} // namespace
