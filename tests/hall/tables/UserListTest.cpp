// The room's user list: insert positions, texts by data kind, the sort,
// what reaches the owner's sink, painting, title tips and the thumb.
#include "UserListView.h"

#include "GlobalOption.h"
#include "GlobalUnits.h"
#include "TableTestSupport.h"
#include "UserListTestSupport.h"

#include <afxtest.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

using namespace usertest;

namespace
{
const COLORREF kEven = RGB(0xD8, 0xEB, 0xFA);
const COLORREF kOdd = RGB(0xE4, 0xF1, 0xFD);
const COLORREF kSelected = RGB(0xDD, 0xF3, 0xFE);
const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kPlainText = RGB(0x03, 0x40, 0x52);

tagColumnItem Column(WORD kind, WORD width = 60, const char* title = "列")
{
    tagColumnItem item = {};
    item.wColumnWidth = width;
    item.wDataDescribe = kind;
    lstrcpynA(item.szColumnName, title, sizeof(item.szColumnName));
    return item;
}

class UserListTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_GlobalUnits.SetWorkDirectory(m_folder.Folder());
        g_GlobalUnits.GetGlobalUserData()->dwUserID = kOwnUserId;
        WriteListImages(m_folder);
    }
    void TearDown() override
    {
        if (m_parent.GetSafeHwnd() != NULL)
            m_parent.DestroyWindow();
        g_GlobalUnits.GetGlobalUserData()->dwUserID = 0;
        g_GlobalUnits.SetWorkDirectory("");
    }

    void Create(CUserListView& list, const std::vector<WORD>& kinds = {KIND_NICK, KIND_SCORE}, int cx = 400,
                int cy = 300)
    {
        m_pList = &list;
        ASSERT_TRUE(m_parent.CreateParent(cx + 20, cy + 20));
        ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_OWNERDRAWFIXED | LVS_SHOWSELALWAYS,
                                CRect(0, 0, cx, cy), &m_parent, 1001));
        ASSERT_TRUE(list.LoadImageLists(&m_sink));
        std::vector<tagColumnItem> columns;
        for (WORD kind : kinds)
            columns.push_back(Column(kind));
        ASSERT_TRUE(list.SetColumnDescribe(columns.data(), (WORD)columns.size()));
    }

    // A point inside the row of the list made last, in its client
    // coordinates; row -1: the empty area below the rows.
    LPARAM RowPoint(int row)
    {
        if (row < 0)
            return MAKELPARAM(150, 290);
        CRect rc;
        m_pList->GetItemRect(row, &rc, LVIR_BOUNDS);
        return MAKELPARAM(rc.left + 150, rc.CenterPoint().y);
    }

    static std::vector<DWORD> Order(CListCtrl& list)
    {
        std::vector<DWORD> ids;
        for (int i = 0; i < list.GetItemCount(); ++i)
            ids.push_back(reinterpret_cast<CUserItem*>(list.GetItemData(i))->GetUserID());
        return ids;
    }

    static const WORD KIND_NICK = 2;
    static const WORD KIND_SCORE = 212;

    skintest::TempFolder m_folder;
    ReflectingParent m_parent;
    usertest::SinkDouble m_sink;
    CListCtrl* m_pList = nullptr;
};

TEST_F(UserListTest, RowsGoWhereOwnUserFriendsAndMembersBelong)
{
    Friends friends({11, 12});
    ASSERT_TRUE(friends.Loaded());
    CUserListView list;
    auto plain = MakeListUser({10, "plain", 0, 0, 1, 0});
    EXPECT_FALSE(list.InsertUserItem(plain.get(), true));
    EXPECT_FALSE(list.SetColumnDescribe(NULL, 0));
    Create(list);

    auto own = MakeListUser({kOwnUserId, "own", 4, 0, 1, 0});
    auto plainFriend = MakeListUser({11, "plainFriend", 0, 0, 1, 0});
    auto memberFriend = MakeListUser({12, "memberFriend", 3, 0, 1, 0});
    auto member = MakeListUser({13, "member", 2, 0, 1, 0});
    auto hidden = MakeListUser({14, "hidden", 256, 0, 1, 0});
    for (CUserItem* user : {plain.get(), own.get(), member.get(), plainFriend.get(), memberFriend.get()})
        ASSERT_TRUE(list.InsertUserItem(user, true));
    EXPECT_TRUE(list.InsertUserItem(hidden.get(), true));
    // The own user is row 0 even after others and with a member level.
    EXPECT_EQ(Order(list), (std::vector<DWORD>{kOwnUserId, 12, 11, 13, 10}));
    EXPECT_EQ(list.GetTopRowCount(), 3);

    // A second insert rewrites the row.
    lstrcpyA(member->GetUserData()->szNickName, "renamed");
    EXPECT_TRUE(list.InsertUserItem(member.get(), true));
    EXPECT_EQ(list.GetItemCount(), 5);
    EXPECT_EQ(list.GetItemText(3, 3), "renamed");

    auto stranger = MakeListUser({15, "stranger", 0, 0, 1, 0});
    EXPECT_FALSE(list.UpdateUserItem(stranger.get()));
    EXPECT_FALSE(list.DeleteUserItem(stranger.get()));
    EXPECT_TRUE(list.DeleteUserItem(hidden.get()));
    EXPECT_EQ(list.GetTopRowCount(), 3);

    // The count follows the rows it counted, not today's friendships.
    friends.Set(15, true);
    EXPECT_FALSE(list.DeleteUserItem(stranger.get()));
    friends.Set(13, true);
    EXPECT_TRUE(list.DeleteUserItem(member.get()));
    EXPECT_EQ(list.GetTopRowCount(), 3);
    friends.Set(11, false);
    EXPECT_TRUE(list.DeleteUserItem(plainFriend.get()));
    EXPECT_EQ(list.GetTopRowCount(), 2);
    EXPECT_EQ(Order(list), (std::vector<DWORD>{kOwnUserId, 12, 10}));
}

TEST_F(UserListTest, AHiddenOwnUserSeesItself)
{
    CUserListView list;
    Create(list);
    auto own = MakeListUser({kOwnUserId, "own", 256, 0, 1, 0});
    ASSERT_TRUE(list.InsertUserItem(own.get(), true));
    EXPECT_EQ(list.GetItemCount(), 1);
    EXPECT_TRUE(list.UpdateUserItem(own.get()));
    EXPECT_TRUE(list.DeleteUserItem(own.get()));
    EXPECT_EQ(list.GetItemCount(), 0);
}

TEST_F(UserListTest, ColumnsStopAtThirtyOneDataColumnsAndReadTitlesBounded)
{
    CUserListView list;
    Create(list);
    std::vector<tagColumnItem> columns(40, Column(1, 30));
    memset(columns[0].szColumnName, 'T', sizeof(columns[0].szColumnName));
    ASSERT_TRUE(list.SetColumnDescribe(columns.data(), 40));
    EXPECT_EQ(list.GetHeaderCtrl()->GetItemCount(), 34);
    EXPECT_EQ(list.GetColumnCount(), 34);
    char title[64] = {};
    LVCOLUMN column = {};
    column.mask = LVCF_TEXT;
    column.pszText = title;
    column.cchTextMax = sizeof(title);
    ASSERT_TRUE(list.GetColumn(3, &column));
    EXPECT_EQ(std::string(title), std::string(16, 'T'));

    // Rows already there stay; a list without columns takes none.
    auto user = MakeListUser({20, "u", 0, 0, 1, 0});
    ASSERT_TRUE(list.InsertUserItem(user.get(), true));
    ASSERT_TRUE(list.SetColumnDescribe(columns.data(), 2));
    EXPECT_EQ(list.GetItemCount(), 1);
    EXPECT_EQ(list.GetHeaderCtrl()->GetItemCount(), 5);
}

TEST_F(UserListTest, CellTextsByDataKindShownAndNot)
{
    const std::vector<WORD> kinds = {1,   2,   101, 103, 200, 201, 202, 203, 205, 206,
                                     207, 208, 211, 212, 213, 214, 215, 301, 999};
    CUserListView list;
    Create(list, kinds);
    auto user = MakeListUser({77, "玩家甲", 0, 0, 2, -12});
    tagUserData* data = user->GetUserData();
    data->dwSecondID = 8800;
    data->wTableID = 0;
    data->wKey102 = 3;
    data->dwScore[1] = 1;    // wins
    data->dwScore[2] = 9998; // losses
    data->dwScore[3] = 0;
    data->dwScore[4] = 1;
    data->dwKey14 = 4000000000u;
    data->dwKey17 = 5;
    memset(data->cbUnused2, 'x', sizeof(data->cbUnused2)); // no terminator

    const struct
    {
        WORD kind;
        const char* shown;
        const char* hidden;
    } cases[] = {
        {1, "8800", "10000"},
        {2, "玩家甲", "游戏玩家"},
        {101, "  1", "  0"},
        {103, "3", "0"},
        {200, "1", "0"},
        {201, "9998", "0"},
        {202, "0", "0"},
        {203, "1", "0"},
        {205, " 0.01%", "0"},
        {206, "99.98%", "0"},
        {207, "0", "0"},
        {208, " 0.01%", "0"},
        {211, "4000000000", "0"},
        {212, "-12", "0"},
        {213, "10000", "0"},
        {214, "", ""}, // no rank table loaded
        {215, "5", "0"},
        {301, "xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx", ""},
        {999, "", ""},
    };
    for (WORD i = 0; i < kinds.size(); ++i) {
        SCOPED_TRACE(cases[i].kind);
        ASSERT_EQ(kinds[i], cases[i].kind);
        EXPECT_EQ(std::string(list.GetItemText(user.get(), i, true)), cases[i].shown);
        EXPECT_EQ(std::string(list.GetItemText(user.get(), i, false)), cases[i].hidden);
    }
    EXPECT_EQ(list.GetItemText(user.get(), (WORD)kinds.size(), true), "");

    // No table: empty either way; no games: every rate "0".
    data->wTableID = INVALID_TABLE;
    EXPECT_EQ(list.GetItemText(user.get(), 2, true), "");
    EXPECT_EQ(list.GetItemText(user.get(), 2, false), "");
    memset(data->dwScore + 1, 0, 4 * sizeof(DWORD));
    for (WORD i = 8; i < 12; ++i)
        EXPECT_EQ(list.GetItemText(user.get(), i, true), "0");

    // Inserted rows carry the texts of the show flag.
    ASSERT_TRUE(list.InsertUserItem(user.get(), false));
    EXPECT_EQ(list.GetItemText(0, 3), "10000");
    EXPECT_EQ(list.GetItemText(0, 4), "游戏玩家");
    ASSERT_TRUE(list.UpdateUserItem(user.get()));
    EXPECT_EQ(list.GetItemText(0, 3), "8800");
}

TEST_F(UserListTest, RatesSortByTheRateTheyShow)
{
    CUserListView list;
    Create(list, {205, 206});
    // a: 1 win of 4 games (25%), 3 losses; b: 2 wins of 10 (20%), 0 losses.
    auto a = MakeListUser({31, "a", 0, 0, 1, 0});
    a->GetUserData()->dwScore[1] = 1;
    a->GetUserData()->dwScore[2] = 3;
    auto b = MakeListUser({32, "b", 0, 0, 1, 0});
    b->GetUserData()->dwScore[1] = 2;
    b->GetUserData()->dwScore[3] = 8;
    ASSERT_TRUE(list.InsertUserItem(a.get(), true));
    ASSERT_TRUE(list.InsertUserItem(b.get(), true));
    list.SortByDefault(); // descending
    EXPECT_EQ(Order(list), (std::vector<DWORD>{31, 32}));
    list.SortByDefault(); // ascending
    EXPECT_EQ(Order(list), (std::vector<DWORD>{32, 31}));
    list.Resort();
    EXPECT_EQ(Order(list), (std::vector<DWORD>{32, 31}));
}

TEST_F(UserListTest, HeaderClicksSortAndFlipWithTheOwnUserFirst)
{
    Friends friends({41});
    ASSERT_TRUE(friends.Loaded());
    CUserListView list;
    Create(list, {KIND_SCORE, KIND_NICK});
    std::unique_ptr<CUserItem> users[] = {
        MakeListUser({40, "plain-low", 0, 0, 1, 5}),   MakeListUser({41, "friend", 0, 0, 1, 1}),
        MakeListUser({42, "first", 0, 14, 1, 2}),      MakeListUser({43, "member", 5, 0, 1, 3}),
        MakeListUser({44, "level256", 256, 0, 1, 9}),  MakeListUser({45, "plain-high", -50, 0, 1, 50}),
        MakeListUser({kOwnUserId, "own", 0, 0, 1, 0}),
    };
    for (auto& user : users)
        ASSERT_TRUE(list.InsertUserItem(user.get(), true));

    CHeaderCtrl* header = list.GetHeaderCtrl();
    CRect rcScore;
    ASSERT_TRUE(header->GetItemRect(3, &rcScore));
    auto click = [&] {
        const LPARAM pt = MAKELPARAM(rcScore.CenterPoint().x, rcScore.CenterPoint().y);
        header->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, pt);
        header->SendMessage(WM_LBUTTONUP, 0, pt);
    };
    click(); // descending by score
    EXPECT_EQ(Order(list), (std::vector<DWORD>{kOwnUserId, 41, 42, 43, 45, 40}));
    click(); // ascending
    EXPECT_EQ(Order(list), (std::vector<DWORD>{kOwnUserId, 41, 42, 43, 40, 45}));
    click();
    EXPECT_EQ(Order(list), (std::vector<DWORD>{kOwnUserId, 41, 42, 43, 45, 40}));
}

TEST_F(UserListTest, MouseAndFocusReachTheSink)
{
    CUserListView list;
    Create(list);
    std::unique_ptr<CUserItem> users[] = {MakeListUser({kOwnUserId, "own", 0, 0, 1, 0}),
                                          MakeListUser({51, "b", 0, 0, 1, 0}), MakeListUser({52, "c", 0, 0, 1, 0})};
    for (auto& user : users)
        ASSERT_TRUE(list.InsertUserItem(user.get(), true));
    list.SendMessage(WM_MOUSEMOVE, 0, RowPoint(1));
    list.SendMessage(WM_MOUSEMOVE, 0, RowPoint(1));
    list.SendMessage(WM_MOUSEMOVE, 0, RowPoint(2));
    list.SendMessage(WM_MOUSEMOVE, 0, RowPoint(-1)); // below the rows
    list.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, RowPoint(1));
    list.SendMessage(WM_LBUTTONUP, 0, RowPoint(1));
    list.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, RowPoint(1));
    list.SendMessage(WM_LBUTTONUP, 0, RowPoint(1));
    list.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, RowPoint(2));
    list.SendMessage(WM_RBUTTONUP, 0, RowPoint(2));
    list.SendMessage(WM_KILLFOCUS, 0, 0);
    skintest::PumpPending();

    std::vector<std::string> names;
    for (const auto& call : m_sink.calls)
        names.push_back(call.name);
    ASSERT_GE(m_sink.calls.size(), 3u);
    EXPECT_EQ(m_sink.calls[0].row, 1);
    EXPECT_FALSE(m_sink.calls[0].same);
    EXPECT_EQ(m_sink.calls[1].row, 1);
    EXPECT_TRUE(m_sink.calls[1].same);
    EXPECT_EQ(m_sink.calls[2].row, 2);
    EXPECT_FALSE(m_sink.calls[2].same);
    auto count = [&](const char* name) { return std::count(names.begin(), names.end(), name); };
    EXPECT_EQ(count("move"), 3);
    EXPECT_GE(count("click"), 1);
    EXPECT_EQ(count("dblclick"), 1);
    // Wine may move the real focus meanwhile, adding a kill focus of its own.
    EXPECT_GE(count("killfocus"), 1);
    EXPECT_EQ(names.back(), "killfocus");
}

TEST_F(UserListTest, RowsPaintFillsTextColoursIconsAndFaces)
{
    ASSERT_TRUE(tabletest::LoadPictureModules(m_folder));
    CUserListView list;
    Create(list);
    std::unique_ptr<CUserItem> users[] = {
        MakeListUser({kOwnUserId, "WWWW", 0, 0, 3, 0}), // row 0: face, status image 1
        MakeListUser({61, "WWWW", 2, 13, 5, 0}),        // row 1: member 2, referee icon 3
        MakeListUser({62, "WWWW", 0, 0, 16, 0}),        // row 2: status 16 draws image 4
    };
    for (auto& user : users)
        ASSERT_TRUE(list.InsertUserItem(user.get(), true));
    ASSERT_EQ(Order(list), (std::vector<DWORD>{kOwnUserId, 61, 62}));
    list.SetItemState(2, LVIS_SELECTED, LVIS_SELECTED);

    auto cell = [&](int row, int column) {
        CRect rc;
        list.GetSubItemRect(row, column, LVIR_LABEL, rc);
        return rc;
    };
    {
        skintest::Snapshot shot(list.m_hWnd);
        const CRect rcNick0 = cell(0, 3), rcNick1 = cell(1, 3), rcNick2 = cell(2, 3);
        EXPECT_EQ(shot.At(rcNick0.right - 2, rcNick0.bottom - 2), kEven);
        EXPECT_EQ(shot.At(rcNick1.right - 2, rcNick1.bottom - 2), kOdd);
        EXPECT_EQ(shot.At(rcNick2.right - 2, rcNick2.bottom - 2), kSelected);
        EXPECT_GT(shot.Count(kPlainText, &rcNick0), 0);
        EXPECT_GT(shot.Count(kRed, &rcNick1), 0);
        EXPECT_EQ(shot.Count(kPlainText, &rcNick1), 0);

        const CRect rcFace0 = cell(0, 2), rcTitle1 = cell(1, 2);
        EXPECT_GT(shot.Count(tabletest::kFace, &rcFace0), 0);
        EXPECT_EQ(shot.Count(tabletest::kFace, &rcTitle1), 0);
    }

    // Hiding others: no member red, no face on the rows below the own one.
    list.SetHideOthers(true);
    list.Invalidate();
    skintest::Snapshot shot(list.m_hWnd);
    const CRect rcNick1 = cell(1, 3), rcFace2 = cell(2, 2), rcFace0 = cell(0, 2);
    EXPECT_EQ(shot.Count(kRed, &rcNick1), 0);
    EXPECT_GT(shot.Count(kPlainText, &rcNick1), 0);
    EXPECT_EQ(shot.Count(tabletest::kFace, &rcFace2), 0);
    EXPECT_GT(shot.Count(tabletest::kFace, &rcFace0), 0);
}
// Pixels within a few steps of the colour in every channel: the image lists
// keep 16-bit colour.
int CountNear(const CMemoryCanvas& shot, COLORREF colour, const CRect& rc)
{
    int n = 0;
    for (int y = std::max(0L, rc.top); y < std::min((LONG)shot.Height(), rc.bottom); ++y)
        for (int x = std::max(0L, rc.left); x < std::min((LONG)shot.Width(), rc.right); ++x) {
            const COLORREF at = shot.At(x, y);
            if (abs(GetRValue(at) - GetRValue(colour)) <= 10 && abs(GetGValue(at) - GetGValue(colour)) <= 10 &&
                abs(GetBValue(at) - GetBValue(colour)) <= 10)
                ++n;
        }
    return n;
}

TEST_F(UserListTest, PrintedRowsShowTheirIconsInTheirCells)
{
    CUserListView list;
    Create(list);
    {
        // Another list window that goes first leaves the shared pictures.
        CUserListView gone;
        ASSERT_TRUE(gone.Create(WS_CHILD | LVS_REPORT | LVS_OWNERDRAWFIXED, CRect(0, 0, 50, 50), &m_parent, 1002));
        ASSERT_TRUE(gone.LoadImageLists(&m_sink));
        gone.DestroyWindow();
    }
    std::unique_ptr<CUserItem> users[] = {
        MakeListUser({kOwnUserId, "own", 3, 0, 3, 0}), // member 3, status 3 (image 1)
        MakeListUser({71, "a", 2, 13, 16, 0}),         // member 2, status 16 (image 4), referee title
        MakeListUser({72, "b", 0, 0, 1, 0}),           // nothing: level 0, status 1, no title
    };
    for (auto& user : users)
        ASSERT_TRUE(list.InsertUserItem(user.get(), true));
    ASSERT_EQ(Order(list), (std::vector<DWORD>{kOwnUserId, 71, 72}));

    auto cell = [&](int row, int column) {
        CRect rc;
        list.GetSubItemRect(row, column, LVIR_LABEL, rc);
        if (column == 0)
            rc.left -= 16;
        return rc;
    };
    struct Case
    {
        int row;
        int column;
        COLORREF colour;
        bool shown;       // others shown
        bool hiddenShows; // also while others are hidden
    } cases[] = {
        {0, 0, MemberImageColour(3), true, true},     {0, 1, StatusImageColour(1), true, true},
        {1, 0, MemberImageColour(2), true, false},    {1, 1, StatusImageColour(4), true, false},
        {1, 2, IdentityImageColour(3), true, true}, // a title shows for every row
        {2, 0, MemberImageColour(0), false, false},   {2, 1, StatusImageColour(0), false, false},
        {2, 2, IdentityImageColour(0), false, false},
    };
    for (bool bHide : {false, true}) {
        SCOPED_TRACE(bHide ? "others hidden" : "others shown");
        list.SetHideOthers(bHide);
        list.Invalidate();
        skintest::Snapshot shot(list.m_hWnd);
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << "row " << c.row << " column " << c.column);
            const CRect rc = cell(c.row, c.column);
            const bool bExpected = bHide ? c.hiddenShows : c.shown;
            const int nInCell = CountNear(shot, c.colour, rc);
            EXPECT_EQ(bExpected, nInCell > 0);
            if (bExpected) {
                // Whole in its cell: in no other row or column.
                EXPECT_GT(nInCell, 100);
                EXPECT_EQ(nInCell, CountNear(shot, c.colour, CRect(0, 0, shot.Width(), shot.Height())));
            }
        }
    }
}

TEST_F(UserListTest, RightClicksReachTheSinkWithTheirRow)
{
    CUserListView list;
    Create(list);
    std::unique_ptr<CUserItem> users[] = {MakeListUser({kOwnUserId, "own", 0, 0, 1, 0}),
                                          MakeListUser({81, "b", 0, 0, 1, 0}), MakeListUser({82, "c", 0, 0, 1, 0})};
    for (auto& user : users)
        ASSERT_TRUE(list.InsertUserItem(user.get(), true));
    const struct
    {
        LPARAM point;
        int row; // -1: below the rows
    } cases[] = {{RowPoint(2), 2}, {RowPoint(0), 0}, {RowPoint(-1), -1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.row);
        m_sink.calls.clear();
        // The list view follows the pressed button until its release comes
        // in: it is queued first.
        list.PostMessage(WM_RBUTTONUP, 0, c.point);
        list.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, c.point);
        skintest::PumpPending();
        std::vector<int> rows;
        for (const auto& call : m_sink.calls) {
            if (call.name == "rclick")
                rows.push_back(call.row);
            // A right click is no left click.
            EXPECT_NE("click", call.name);
            EXPECT_NE("dblclick", call.name);
        }
        // The empty area reaches the owner as no row, which it ignores.
        EXPECT_EQ(rows, std::vector<int>{c.row});
    }
    EXPECT_EQ(list.GetItemCount(), 3);
}

// The tip control of the list's top-level window and its tools.
struct TipSearch
{
    HWND hOwner;
    HWND hFound;
};

BOOL CALLBACK FindTip(HWND hWnd, LPARAM lParam)
{
    TipSearch* search = (TipSearch*)lParam;
    char name[64] = "";
    ::GetClassNameA(hWnd, name, sizeof(name));
    if (lstrcmpiA(name, TOOLTIPS_CLASSA) == 0 && ::GetWindow(hWnd, GW_OWNER) == search->hOwner) {
        search->hFound = hWnd;
        return FALSE;
    }
    return TRUE;
}

TEST_F(UserListTest, TitleTipsAnswerOnlyOverTheTitleIconOfATitledUser)
{
    CUserListView list;
    Create(list);
    list.EnableToolTips(TRUE);
    std::unique_ptr<CUserItem> users[] = {MakeListUser({kOwnUserId, "own", 0, 0, 1, 0}),
                                          MakeListUser({91, "referee", 0, 13, 1, 0}),
                                          MakeListUser({92, "champion", 0, 2, 1, 0})};
    for (auto& user : users)
        ASSERT_TRUE(list.InsertUserItem(user.get(), true));
    ASSERT_EQ(Order(list), (std::vector<DWORD>{kOwnUserId, 91, 92}));

    struct Case
    {
        int row; // -1: below the rows
        int column;
        const char* tip; // NULL: no tool
    } cases[] = {
        {1, 2, "裁判员"}, {2, 2, "牌王冠军"}, {0, 2, ""}, // own row: no title
        {1, 3, ""},                                       // a tool, but no tip off the title column
        {-1, 2, NULL},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "row " << c.row << " column " << c.column);
        CPoint point(0, 290);
        CRect rc;
        if (c.row >= 0) {
            list.GetSubItemRect(c.row, c.column, LVIR_LABEL, rc);
            point = rc.CenterPoint();
        } else {
            list.GetSubItemRect(0, c.column, LVIR_LABEL, rc);
            point.x = rc.CenterPoint().x;
        }
        // The mouse there, as the message loop hands a move to the windows.
        MSG msg = {};
        msg.hwnd = list.m_hWnd;
        msg.message = WM_MOUSEMOVE;
        msg.lParam = MAKELPARAM(point.x, point.y);
        msg.pt = point;
        ::ClientToScreen(list.m_hWnd, &msg.pt);
        msg.time = ::GetTickCount();
        AfxSetTestCursorPos(msg.pt);
        CWnd::WalkPreTranslateTree(NULL, &msg);

        TipSearch search = {m_parent.m_hWnd, NULL};
        ::EnumThreadWindows(::GetCurrentThreadId(), FindTip, (LPARAM)&search);
        ASSERT_NE((HWND)NULL, search.hFound);
        const int nTools = (int)::SendMessage(search.hFound, TTM_GETTOOLCOUNT, 0, 0);
        if (c.tip == NULL) {
            EXPECT_EQ(0, nTools);
            continue;
        }
        ASSERT_EQ(1, nTools);
        TOOLINFOA info = {};
        info.cbSize = sizeof(info);
        ASSERT_TRUE(::SendMessage(search.hFound, TTM_ENUMTOOLSA, 0, (LPARAM)&info));
        EXPECT_EQ(list.m_hWnd, info.hwnd);
        EXPECT_EQ((UINT_PTR)(c.row * 100 + c.column), info.uId);
        CString strText;
        ((CToolTipCtrl*)CWnd::FromHandle(search.hFound))->GetText(strText, &list, info.uId);
        EXPECT_EQ(CString(c.tip), strText);
    }

    // A wide request gets the same title as wide text.
    CRect rc;
    list.GetSubItemRect(1, 2, LVIR_LABEL, rc);
    CPoint point = rc.CenterPoint();
    list.ClientToScreen(&point);
    AfxSetTestCursorPos(point);
    NMTTDISPINFOW info = {};
    info.hdr.hwndFrom = list.m_hWnd;
    info.hdr.idFrom = 102;
    info.hdr.code = TTN_NEEDTEXTW;
    list.SendMessage(WM_NOTIFY, 0, (LPARAM)&info);
    EXPECT_EQ(std::wstring(L"\u88c1\u5224\u5458"), std::wstring(info.szText)); // 裁判员
    AfxClearTestCursorPos();
}

TEST_F(UserListTest, TheThumbScrollsToItsPosition)
{
    CUserListView list;
    Create(list);
    std::vector<std::unique_ptr<CUserItem>> users;
    users.push_back(MakeListUser({kOwnUserId, "own", 0, 0, 1, 0}));
    for (DWORD i = 1; i < 120; ++i)
        users.push_back(MakeListUser({1000 + i, "user", 0, 0, 1, (LONG)i}));
    for (auto& user : users)
        ASSERT_TRUE(list.InsertUserItem(user.get(), true));
    // Wider than the list, so it scrolls sideways too.
    std::vector<tagColumnItem> wide(6, Column(KIND_NICK, 200));
    ASSERT_TRUE(list.SetColumnDescribe(wide.data(), (WORD)wide.size()));

    // As the skinned scroll bar sends them while the thumb is dragged and
    // when it is let go.
    const struct
    {
        UINT message;
        UINT code;
        int position;
    } cases[] = {
        {WM_VSCROLL, SB_THUMBTRACK, 40},    {WM_VSCROLL, SB_THUMBTRACK, 41},   {WM_VSCROLL, SB_THUMBPOSITION, 100},
        {WM_VSCROLL, SB_THUMBTRACK, 3},     {WM_VSCROLL, SB_THUMBPOSITION, 0}, {WM_HSCROLL, SB_THUMBTRACK, 150},
        {WM_HSCROLL, SB_THUMBPOSITION, 37}, {WM_HSCROLL, SB_THUMBTRACK, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.message == WM_VSCROLL ? "vertical " : "horizontal ") << c.position);
        list.SendMessage(c.message, MAKEWPARAM(c.code, c.position), 0);
        if (c.message == WM_VSCROLL) {
            EXPECT_EQ(c.position, list.GetTopIndex());
            EXPECT_EQ(c.position, list.GetScrollPos(SB_VERT));
        } else {
            EXPECT_EQ(c.position, list.GetScrollPos(SB_HORZ));
        }
    }
}
} // namespace
