// The team list of a room's side panel: texts by data kind, rows kept by
// record, painting of the rows.
#include "TeamListView.h"

#include "GlobalUnits.h"
#include "SkinTestSupport.h"

#include <gtest/gtest.h>

namespace
{
tagColumnItem TeamColumn(WORD kind)
{
    tagColumnItem item = {};
    item.wColumnWidth = 70;
    item.wDataDescribe = kind;
    lstrcpynA(item.szColumnName, "列", sizeof(item.szColumnName));
    return item;
}

class TeamListTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const std::string file =
            m_folder.Write("Region.ini", std::string("[Province]\r\n320000=江苏省\r\n[City]\r\n320100=南京市\r\n"));
        ASSERT_TRUE(g_GlobalUnits.m_RegionManagerHelper.HasInterface() ||
                    g_GlobalUnits.m_RegionManagerHelper.CreateInstance());
        ASSERT_TRUE(g_GlobalUnits.m_RegionManagerHelper.GetInterface()->LoadRegion(file.c_str()));
        ASSERT_TRUE(m_parent.CreateParent(600, 300));
        ASSERT_TRUE(m_list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_OWNERDRAWFIXED | LVS_SHOWSELALWAYS,
                                  CRect(0, 0, 580, 280), &m_parent, 1001));
        ASSERT_TRUE(m_list.InitListColours());
        std::vector<tagColumnItem> columns;
        for (WORD kind : {400, 401, 402, 403, 404, 405, 406, 999})
            columns.push_back(TeamColumn(kind));
        ASSERT_TRUE(m_list.SetColumnDescribe(columns.data(), (WORD)columns.size()));
    }
    void TearDown() override
    {
        m_parent.DestroyWindow();
        g_GlobalUnits.m_RegionManagerHelper.CloseInstance();
    }

    static tagTeamItem Team(DWORD region, DWORD level)
    {
        tagTeamItem team = {};
        team.dwTeamID = 1;
        lstrcpyA(team.szTeamName, "飞鹰队");
        lstrcpyA(team.szLeaderName, "队长");
        team.dwMemberCount = 12;
        memset(team.szDescribe, 'd', sizeof(team.szDescribe)); // no terminator
        team.dwRegionID = region;
        team.dwTeamLevel = level;
        team.dwScore = (DWORD)-3;
        return team;
    }

    skintest::TempFolder m_folder;
    skintest::RecordingParent m_parent;
    CTeamListView m_list;
};

TEST_F(TeamListTest, TextsByDataKindWithLevelWordsAndCities)
{
    const struct
    {
        DWORD region;
        DWORD level;
        const char* city;
        const char* levelText;
    } cases[] = {
        {320100, 0, "南京市", "一级"}, {320100, 7, "南京市", "八级"},          {99, 8, "", "八级"}, {0, 9, "", "八级"},
        {320000, 3, "", "四级"},       {320100, 0xFFFFFFFF, "南京市", "八级"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.region * 100 + c.level);
        const tagTeamItem team = Team(c.region, c.level);
        EXPECT_EQ(m_list.GetTeamText(&team, 0), "飞鹰队");
        EXPECT_EQ(m_list.GetTeamText(&team, 1), "队长");
        EXPECT_EQ(m_list.GetTeamText(&team, 2), "12");
        EXPECT_EQ(std::string(m_list.GetTeamText(&team, 3)), std::string(128, 'd'));
        EXPECT_EQ(m_list.GetTeamText(&team, 4), c.city);
        EXPECT_EQ(m_list.GetTeamText(&team, 5), c.levelText);
        EXPECT_EQ(m_list.GetTeamText(&team, 6), "-3");
        EXPECT_EQ(m_list.GetTeamText(&team, 7), "");
        EXPECT_EQ(m_list.GetTeamText(&team, 8), "");
    }
}

TEST_F(TeamListTest, RowsAreKeptByRecord)
{
    CTeamListView unmade;
    tagTeamItem first = Team(320100, 1), second = Team(99, 2);
    EXPECT_FALSE(unmade.InsertTeamItem(&first));
    EXPECT_FALSE(unmade.UpdateTeamItem(&first));
    EXPECT_FALSE(unmade.SetColumnDescribe(NULL, 0));

    EXPECT_FALSE(m_list.UpdateTeamItem(&first));
    ASSERT_TRUE(m_list.InsertTeamItem(&first));
    ASSERT_TRUE(m_list.InsertTeamItem(&second));
    EXPECT_EQ(m_list.GetItemCount(), 2);
    EXPECT_EQ(m_list.GetItemText(0, 5), "二级");
    first.dwTeamLevel = 4;
    ASSERT_TRUE(m_list.InsertTeamItem(&first));
    EXPECT_EQ(m_list.GetItemCount(), 2);
    EXPECT_EQ(m_list.GetItemText(0, 5), "五级");
    second.dwMemberCount = 30;
    ASSERT_TRUE(m_list.UpdateTeamItem(&second));
    EXPECT_EQ(m_list.GetItemText(1, 2), "30");

    // Even and odd rows, a selected row.
    m_list.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
    skintest::Snapshot shot(m_list.m_hWnd);
    CRect rc0, rc1;
    m_list.GetSubItemRect(0, 2, LVIR_LABEL, rc0);
    m_list.GetSubItemRect(1, 2, LVIR_LABEL, rc1);
    EXPECT_EQ(shot.At(rc0.left + 1, rc0.bottom - 2), RGB(0xD8, 0xEB, 0xFA));
    EXPECT_EQ(shot.At(rc1.left + 1, rc1.bottom - 2), RGB(0xDD, 0xF3, 0xFE));
    EXPECT_GT(shot.Count(RGB(0x03, 0x40, 0x52), &rc0), 0);
}
} // namespace
