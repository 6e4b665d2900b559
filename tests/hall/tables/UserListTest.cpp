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
        ASSERT_TRUE(m_parent.CreateParent(cx + 20, cy + 20));
        ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_OWNERDRAWFIXED | LVS_SHOWSELALWAYS,
                                CRect(0, 0, cx, cy), &m_parent, 1001));
        ASSERT_TRUE(list.LoadImageLists(&m_sink));
        std::vector<tagColumnItem> columns;
        for (WORD kind : kinds)
            columns.push_back(Column(kind));
        ASSERT_TRUE(list.SetColumnDescribe(columns.data(), (WORD)columns.size()));
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
    SinkDouble m_sink;
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
    auto at = [&](int row) {
        CRect rc;
        list.GetItemRect(row, &rc, LVIR_BOUNDS);
        return MAKELPARAM(rc.left + 150, rc.CenterPoint().y);
    };
    list.SendMessage(WM_MOUSEMOVE, 0, at(1));
    list.SendMessage(WM_MOUSEMOVE, 0, at(1));
    list.SendMessage(WM_MOUSEMOVE, 0, at(2));
    list.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(150, 290)); // below the rows
    list.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, at(1));
    list.SendMessage(WM_LBUTTONUP, 0, at(1));
    list.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, at(1));
    list.SendMessage(WM_LBUTTONUP, 0, at(1));
    list.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, at(2));
    list.SendMessage(WM_RBUTTONUP, 0, at(2));
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
} // namespace
