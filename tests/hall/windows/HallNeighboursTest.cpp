// What the frame asks of its neighbours in Tavrel.exe reaches the hall's
// plaza view and the room tab window.
#include "HallViewsTestSupport.h" // Winsock before the system headers

#include "GameTreeManager.h"
#include "GameTreeNode.h"
#include "GlobalUnits.h"
#include "HallNeighbours.h"
#include "PlazaViewItem.h"

namespace
{

class HallNeighboursTest : public GameTreeTest
{
protected:
    void SetUp() override
    {
        GameTreeTest::SetUp();
        m_Plaza.SetClientDataCenter(m_pDataCenter);
        ASSERT_TRUE(m_Plaza.Create(NULL, NULL, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, CRect(0, 0, 260, 600),
                                   CWnd::FromHandle(m_hHost), 1004));
        g_GlobalUnits.SetPlazaView(&m_Plaza);
    }
    void TearDown() override
    {
        g_GlobalUnits.SetPlazaView(NULL);
        m_Plaza.DestroyWindow();
        GameTreeTest::TearDown();
    }
    CServerItemView& Items() { return m_Plaza.GetGameListView().GetServerItemView(); }
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
    int Image(HTREEITEM hItem)
    {
        int image = -1;
        Items().GetItemIconIndex(hItem, image);
        return image;
    }

    CPlazaViewItem m_Plaza;
    CHallNeighbours m_Neighbours;
};

TEST_F(HallNeighboursTest, AGameInstalledMeanwhileShowsInstalledAfterTheRefresh)
{
    SendTree({TreeLink(1, 0, 1, 1), TreeLink(6, 1, 2, 11), TreeLink(7, 6, 4, 102)});
    HTREEITEM hChess = Find("象棋");
    ASSERT_NE((HTREEITEM)NULL, hChess);
    EXPECT_NE(std::string::npos, std::string(Items().GetItemText(hChess)).find("(双击下载)"));
    const int notInstalled = Image(hChess);

    WriteGame(m_Folder, "Chess", "Chess.exe", "game_logo_fixture.exe");
    m_Neighbours.RefreshGameList();
    hChess = Find("象棋");
    ASSERT_NE((HTREEITEM)NULL, hChess);
    EXPECT_EQ(std::string::npos, std::string(Items().GetItemText(hChess)).find("(双击下载)"));
    EXPECT_NE(notInstalled, Image(hChess)) << "the logo of the installed program";
    EXPECT_NE((HTREEITEM)NULL, Find("room102")) << "its rooms are there again";
}

TEST_F(HallNeighboursTest, EnteringARoomByIdReachesTheRoomTabsWithItsRoom)
{
    SendTree({TreeLink(1, 0, 1, 1), TreeLink(2, 1, 2, 10), TreeLink(4, 2, 4, 100), TreeLink(5, 2, 4, 101)});
    // The display node the frame hands over: the game with one room.
    auto enter = [&](DWORD dwRoomID) {
        CGameTreeNode game(0);
        game.SetItemType(TREE_ITEM_GAME);
        game.SetItemData(10);
        CGameTreeNode* room = new CGameTreeNode(0);
        room->SetItemType(TREE_ITEM_ROOM);
        room->SetItemData(dwRoomID);
        game.InsertChild(room);
        m_Neighbours.EnterRoom(&game);
    };
    enter(101);
    ASSERT_EQ(1u, m_RoomTabs.entered.size());
    EXPECT_EQ(101u, m_RoomTabs.entered[0].pRoom->GetId());
    EXPECT_EQ((DWORD)TREE_ITEM_ROOM, m_RoomTabs.entered[0].dwNodeType);
    EXPECT_EQ(101u, m_RoomTabs.entered[0].dwNodeItem);

    enter(999);
    m_Neighbours.EnterRoom(NULL);
    CGameTreeNode bare(0);
    m_Neighbours.EnterRoom(&bare);
    EXPECT_EQ(1u, m_RoomTabs.entered.size()) << "an unknown room or a node without room enters nothing";

    CHallWindows::InstallRoomTabs(NULL);
    enter(100);
    EXPECT_EQ(1u, m_RoomTabs.entered.size()) << "no room tab window yet";
}

TEST_F(HallNeighboursTest, RefreshesWithoutAPlazaDoNothing)
{
    SendTree({TreeLink(1, 0, 1, 1), TreeLink(6, 1, 2, 11)});
    g_GlobalUnits.SetPlazaView(NULL);
    WriteGame(m_Folder, "Chess", "Chess.exe", "game_logo_fixture.exe");
    m_Neighbours.RefreshGameList();
    m_Neighbours.RefreshUserPanel();
    EXPECT_NE(std::string::npos, std::string(Items().GetItemText(Find("象棋"))).find("(双击下载)"));
}

} // namespace
