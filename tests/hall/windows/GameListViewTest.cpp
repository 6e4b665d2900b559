// The game list view and its server tree, fed by the real hall data centre
// from the scripted hall server.
#include "HallViewsTestSupport.h" // Winsock before the system headers

#include <AfxModalScript.h>
#include <MemoryCanvas.h>

#include "GameListView.h"
#include "GameRoom.h"
#include "GameTreeNode.h"
#include "GlobalAttemper.h"
#include "GlobalOption.h"
#include "GlobalUnits.h"

namespace
{
const std::string B13(13, ' ');

struct Row
{
    int depth;
    std::string text;
    int image;
    bool operator==(const Row& o) const { return depth == o.depth && text == o.text && image == o.image; }
};

std::ostream& operator<<(std::ostream& os, const Row& r)
{
    return os << r.depth << " [" << r.text << "] " << r.image;
}

// The tree used by most tests: a category with a hot game (station and two
// rooms, one hiding its count), a game not installed with a room, a game
// with a caption and no logo, a game with a logo beside its program, a web
// link.
std::vector<CWireBytes> StandardTree()
{
    return {TreeLink(1, 0, 1, 1),
            TreeLink(2, 1, 2, 10, "", 1, 1),
            TreeLink(3, 2, 3, 20),
            TreeLink(4, 3, 4, 100, "", 0, 1),
            TreeLink(5, 3, 4, 101, "", 0x100, 2),
            TreeLink(6, 1, 2, 11, "", 0, 2),
            TreeLink(7, 6, 4, 102),
            TreeLink(8, 1, 2, 12, "围棋大厅", 0, 3),
            TreeLink(9, 1, 2, 13, "", 0, 4),
            TreeLink(10, 1, 5, 5, "", 0, 5)};
}
} // namespace

class GameListViewTest : public GameTreeTest
{
protected:
    void SetUp() override
    {
        GameTreeTest::SetUp();
        g_GlobalUnits.GetGlobalUserData()->dwUserID = 7;
        g_GlobalUnits.SetWebKey("k");
        m_View.SetClientDataCenter(m_pDataCenter);
        ASSERT_TRUE(
            m_View.Create(NULL, NULL, WS_CHILD | WS_VISIBLE, CRect(0, 0, 380, 600), CWnd::FromHandle(m_hHost), 1005));
        m_View.InitGameList();
    }
    void TearDown() override
    {
        m_View.DestroyWindow();
        GameTreeTest::TearDown();
    }

    CServerItemView& Items() { return m_View.GetServerItemView(); }

    void Walk(HTREEITEM hParent, int depth, std::vector<Row>& rows)
    {
        for (HTREEITEM h = Items().GetChildItem(hParent); h != NULL; h = Items().GetNextSiblingItem(h)) {
            int image = -1;
            Items().GetItemIconIndex(h, image);
            rows.push_back({depth, std::string(Items().GetItemText(h)), image});
            Walk(h, depth + 1, rows);
        }
    }
    std::vector<Row> Rows()
    {
        std::vector<Row> rows;
        Walk(TVI_ROOT, 0, rows);
        return rows;
    }
    // The item whose text starts with the prefix.
    HTREEITEM Find(const std::string& prefix, HTREEITEM hParent = TVI_ROOT)
    {
        for (HTREEITEM h = Items().GetChildItem(hParent); h != NULL; h = Items().GetNextSiblingItem(h)) {
            if (std::string(Items().GetItemText(h)).rfind(prefix, 0) == 0)
                return h;
            if (HTREEITEM found = Find(prefix, h))
                return found;
        }
        return NULL;
    }
    // The cursor on the item's label, left of its picture, then the
    // tree's notification.
    void Notify(HTREEITEM hItem, UINT code)
    {
        Items().EnsureVisible(hItem);
        CRect rc;
        ASSERT_TRUE(Items().GetItemRect(hItem, &rc, TRUE));
        CPoint pt(rc.left + 4, rc.CenterPoint().y);
        Items().ClientToScreen(&pt);
        AfxSetTestCursorPos(pt);
        NMHDR nmhdr = {Items().GetSafeHwnd(), CGameListView::IDC_SERVER_TREE, code};
        m_View.SendMessage(WM_NOTIFY, CGameListView::IDC_SERVER_TREE, (LPARAM)&nmhdr);
    }

    CGameListView m_View;
};

TEST_F(GameListViewTest, TextsAndPicturesBeforeAndAfterTheFirstCount)
{
    SendTree(StandardTree());
    const std::vector<Row> before = {
        {0, "Varnok棋牌平台", 6},
        {0, "棋牌", 0},
        {1, "斗地主" + B13, 13},
        {2, "新手区", 1},
        {3, "room100" + B13 + "   ", 13},
        {3, "room101" + B13 + "   ", 13},
        {1, "象棋 (双击下载)" + B13, 3},
        {2, "room102" + B13 + "   ", 3},
        {1, "围棋大厅" + B13, 2},
        {1, "五子棋" + B13, 14},
        {1, "活动", 4},
    };
    EXPECT_EQ(before, Rows());
    EXPECT_EQ(2, Items().GetLogoCount()) << "one logo from the program, one from beside it";
    EXPECT_TRUE(Items().GetItemState(Find("棋牌"), TVIS_EXPANDED) & TVIS_EXPANDED);
    EXPECT_EQ(3, g_GlobalUnits.GetRoomMap().GetCount());

    SendRoomCounts({{100, 30}, {101, 5}, {102, 7}});
    const std::vector<Row> after = {
        {0, "Varnok棋牌平台 （42人）", 6},
        {0, "棋牌 （42人）", 0},
        {1, "斗地主 (35人)" + B13 + " ", 13},
        {2, "新手区 (35人)", 1},
        {3, "room100 (30人)" + B13, 13},
        {3, "room101" + B13, 13},
        {1, "象棋 (双击下载)(7人)" + B13, 3},
        {2, "room102 (7人)" + B13, 3},
        {1, "围棋大厅 (0人)" + B13 + " ", 2},
        {1, "五子棋 (0人)" + B13 + " ", 14},
        {1, "活动", 4},
    };
    EXPECT_EQ(after, Rows());
    EXPECT_EQ(2, Items().GetLogoCount()) << "logos are loaded once per game";

    // A rebuild keeps the counts on: games show 0 until the next refresh,
    // rooms their own count.
    SendTree(StandardTree());
    EXPECT_EQ("斗地主 (0人)" + B13 + " ", std::string(Items().GetItemText(Find("斗地主"))));
    EXPECT_EQ("room100 (30人)" + B13 + "   ", std::string(Items().GetItemText(Find("room100"))));
}

TEST_F(GameListViewTest, OnlyHotNodesDrawTheirMark)
{
    SendTree(StandardTree());
    CMemoryCanvas canvas(60, 28);
    const COLORREF hot = 0x0505FF;
    auto marked = [&] {
        for (int y = 0; y < canvas.Height(); y++)
            for (int x = 0; x < canvas.Width(); x++)
                if (canvas.At(x, y) == hot)
                    return true;
        return false;
    };
    EXPECT_TRUE(Items().DrawAfterText(canvas.DC(), CPoint(0, 0), Find("斗地主")));
    EXPECT_TRUE(marked());
    CMemoryCanvas plain(60, 28);
    EXPECT_TRUE(Items().DrawAfterText(plain.DC(), CPoint(0, 0), Find("象棋")));
    for (int x = 0; x < plain.Width(); x++)
        ASSERT_NE(hot, plain.At(x, 14));
    EXPECT_FALSE(Items().DrawAfterText(plain.DC(), CPoint(0, 0), Find("Varnok"))) << "the header has no node";
}

TEST_F(GameListViewTest, SecondListAndAccountSwitchLeaveNoStaleItem)
{
    SendTree(StandardTree());
    ASSERT_EQ(3, g_GlobalUnits.GetRoomMap().GetCount());
    SendTree({TreeLink(1, 0, 1, 1), TreeLink(6, 1, 2, 11), TreeLink(7, 6, 4, 102)});
    const std::vector<Row> rebuilt = {
        {0, "Varnok棋牌平台", 6}, {0, "棋牌", 0}, {1, "象棋 (双击下载)" + B13, 3}, {2, "room102" + B13 + "   ", 3}};
    EXPECT_EQ(rebuilt, Rows());
    ASSERT_EQ(1, g_GlobalUnits.GetRoomMap().GetCount());
    EXPECT_EQ(Items().GetRootNode(), m_pDataCenter->GetServerTreeRoot());

    // Account switch: the data centre forgets the session, the view its items.
    m_pDataCenter->ResetLogonState(true);
    EXPECT_EQ(0, g_GlobalUnits.GetRoomMap().GetCount());
    m_View.DeleteTreeItems();
    EXPECT_EQ(0u, Items().GetCount());
    EXPECT_EQ(nullptr, Items().GetRootNode());
    EXPECT_EQ(0, g_GlobalUnits.GetRoomMap().GetCount());
}

TEST_F(GameListViewTest, TreeWithoutRootLeavesTheItems)
{
    SendTree(StandardTree());
    const UINT count = Items().GetCount();
    const tagNotifyHead head = {0, HN_SERVER_TREE.wMainCmdID, HN_SERVER_TREE.wSubCmdID};
    m_pDataCenter->ResetLogonState(true);
    EXPECT_EQ(1, m_View.SendMessage(WM_HALL_NOTIFY, (WPARAM)&head, 0));
    EXPECT_EQ(count, Items().GetCount());
}

TEST_F(GameListViewTest, ClickOpensHelpOrWebPageAndOnlySelectsTheRest)
{
    SendTree(StandardTree());
    struct Case
    {
        const char* pattern;
        const char* expected;
    } cases[] = {
        {"http://help.invalid/game?id=%d", "http://help.invalid/game?id=10&Uid=7&Key=k"},
        {"http://help.invalid/%ld.htm", "http://help.invalid/10.htm?Uid=7&Key=k"},
        // A pattern from a file never reads an argument that is not there.
        {"http://help.invalid/%s/%d", "http://help.invalid/%s/10?Uid=7&Key=k"},
    };
    for (const Case& c : cases) {
        m_Folder.Write("config\\Urls.ini", std::string("[GameHelpURL]\r\nurl=") + c.pattern + "\r\n");
        g_GlobalOption.LoadUrls();
        m_RoomTabs.shown.clear();
        Notify(Find("斗地主"), NM_CLICK);
        ASSERT_EQ(1u, m_RoomTabs.shown.size()) << c.pattern;
        EXPECT_EQ(c.expected, m_RoomTabs.shown[0]);
    }
    m_RoomTabs.shown.clear();
    Notify(Find("活动"), NM_CLICK);
    EXPECT_EQ(std::vector<std::string>{"活动|http://example.invalid/event"}, m_RoomTabs.opened);
    for (const char* prefix : {"room100", "新手区", "棋牌"}) {
        Notify(Find(prefix), NM_CLICK);
        EXPECT_EQ(Find(prefix), Items().GetSelectedItem()) << prefix;
    }
    EXPECT_TRUE(m_RoomTabs.shown.empty());
    EXPECT_EQ(1u, m_RoomTabs.opened.size());
    EXPECT_TRUE(m_RoomTabs.entered.empty());
}

TEST_F(GameListViewTest, DoubleClickEntersRoomsAndOffersMissingGames)
{
    CModalScript script;
    RecordingDownLoadWndStub window;
    CHallWindows::InstallDownLoadWnd(&window);
    ASSERT_TRUE(g_GlobalUnits.m_DownLoadServiceHelper.CreateInstance())
        << g_GlobalUnits.m_DownLoadServiceHelper.GetErrorDescribe();
    SendTree(StandardTree());

    Notify(Find("room100"), NM_DBLCLK);
    ASSERT_EQ(1u, m_RoomTabs.entered.size());
    EXPECT_EQ(Tree()->FindGameRoom(100), m_RoomTabs.entered[0].pRoom);
    EXPECT_EQ(4u, m_RoomTabs.entered[0].dwNodeType);
    EXPECT_EQ(100u, m_RoomTabs.entered[0].dwNodeItem);

    Notify(Find("斗地主"), NM_DBLCLK);
    EXPECT_EQ(0u, script.Count()) << "an installed game asks nothing";

    script.Answer(IDNO);
    Notify(Find("象棋"), NM_DBLCLK);
    ASSERT_EQ(1u, script.Count());
    EXPECT_EQ(CString("[象棋]还没有安装，现在是否下载？"), script.At(0).strText);
    EXPECT_EQ(CString("Varnok游戏"), script.At(0).strCaption);
    EXPECT_EQ(UINT(MB_YESNO | MB_ICONQUESTION), script.At(0).nType & (MB_TYPEMASK | MB_ICONMASK));
    EXPECT_EQ(0, window.creates);

    script.Answer(IDYES);
    Notify(Find("象棋"), NM_DBLCLK);
    EXPECT_EQ(2u, script.Count());
    EXPECT_EQ(1, window.creates) << "the download reached the service and its window";
    EXPECT_EQ(0, script.Unexpected());

    g_GlobalAttemper.CloseDownloadWindow();
    CHallWindows::InstallDownLoadWnd(NULL);
    g_GlobalUnits.m_DownLoadServiceHelper.CloseInstance();
}
