// The competition entry and its game channel dialog: opening and closing,
// the rooms of a game, entering a room from a scrolled list.
#include "HallViewsTestSupport.h" // Winsock before the system headers

#include <MessagePump.h>

#include <string>
#include <vector>

#include "CompEntry.h"
#include "GameRoom.h"
#include "GameTreeManager.h"
#include "GameTreeNode.h"
#include "GlobalUnits.h"
#include "StateTestSupport.h"

class ChannelDialogTest : public testing::Test
{
protected:
    void SetUp() override
    {
        UseProgramFolder(m_Folder);
        g_GlobalUnits.SetGameTreeManager(&m_Manager);
        CHallWindows::InstallRoomTabs(&m_RoomTabs);
        const char* names[] = {"斗地主", "象棋", "围棋"};
        for (DWORD i = 0; i < 3; i++) {
            CGame* game = new CGame(10 + i);
            game->SetName(names[i]);
            m_Manager.AddGame(game);
        }
    }
    void TearDown() override
    {
        m_Entry.CloseChannelDialog();
        CHallWindows::InstallRoomTabs(NULL);
        g_GlobalUnits.ClearRoomMap();
        g_GlobalUnits.SetGameTreeManager(NULL);
    }
    // Rooms of the game, in the room map as the server tree fills it.
    void AddRooms(DWORD gameId, DWORD firstId, int count)
    {
        for (int i = 0; i < count; i++) {
            CGameRoom* room = new CGameRoom(firstId + i);
            room->SetName(("room" + std::to_string(firstId + i)).c_str());
            room->SetGameId(gameId);
            m_Manager.AddGameRoom(room);
            g_GlobalUnits.AddRoomMapItem(room->GetId(), room);
        }
    }
    std::vector<DWORD> Listed()
    {
        std::vector<DWORD> ids;
        CRoomListWnd& list = m_Entry.GetChannelDialog().GetRoomList();
        for (int i = 0; i < (int)list.GetRoomCount(); i++)
            ids.push_back(list.GetRoomAt(i)->GetId());
        return ids;
    }

    CStateFolder m_Folder;
    CGameTreeManager m_Manager;
    RecordingRoomTabs m_RoomTabs;
    CCompEntry m_Entry;
};

TEST_F(ChannelDialogTest, OpensOnceAndClosesOnlyWhenOpen)
{
    m_Entry.CloseChannelDialog();
    EXPECT_EQ(nullptr, m_Entry.GetChannelDialog().GetSafeHwnd()) << "closing an unopened dialog does nothing";
    m_Entry.ShowChannelDialog();
    HWND first = m_Entry.GetChannelDialog().GetSafeHwnd();
    ASSERT_NE(nullptr, first);
    EXPECT_TRUE(IsWindowVisible(first));
    EXPECT_EQ(nullptr, GetParent(first));
    m_Entry.ShowChannelDialog();
    EXPECT_EQ(first, m_Entry.GetChannelDialog().GetSafeHwnd()) << "one window";
    EXPECT_EQ(3, m_Entry.GetChannelDialog().GetGameBox().GetCount());
    m_Entry.CloseChannelDialog();
    EXPECT_FALSE(IsWindow(first));
    EXPECT_EQ(nullptr, m_Entry.GetChannelDialog().GetSafeHwnd());
}

TEST_F(ChannelDialogTest, RoomsOfTheGameInReverseMapOrder)
{
    AddRooms(10, 100, 3);
    AddRooms(11, 200, 2);
    AddRooms(10, 300, 2);
    m_Entry.ShowChannelDialog();
    std::vector<DWORD> expected;
    const CGlobalUnits::CRoomMap& map = g_GlobalUnits.GetRoomMap();
    for (POSITION pos = map.GetStartPosition(); pos != NULL;) {
        DWORD id = 0;
        CGameRoom* room = NULL;
        map.GetNextAssoc(pos, id, room);
        if (room->GetGameId() == 10)
            expected.insert(expected.begin(), id);
    }
    EXPECT_EQ(expected, Listed());
    m_Entry.SelectChannelGame(1);
    EXPECT_EQ(2u, Listed().size());
    EXPECT_EQ(1, m_Entry.GetChannelDialog().GetGameBox().GetCurSel());
    m_Entry.SelectChannelGame(2);
    EXPECT_TRUE(Listed().empty()) << "a game without rooms";
    m_Entry.SelectChannelGame(7);
    EXPECT_TRUE(Listed().empty()) << "no game at that place";
}

TEST_F(ChannelDialogTest, PressOnScrolledRowEntersThatRoomThroughATemporaryNode)
{
    AddRooms(10, 100, 30);
    m_Entry.ShowChannelDialog();
    CGameChannelDlg& dlg = m_Entry.GetChannelDialog();
    CRoomListWnd& list = dlg.GetRoomList();
    CRect rc;
    list.GetClientRect(&rc);
    ASSERT_GT(30 * 25, rc.Height());
    EXPECT_EQ(30 * 25, list.GetContentHeight()) << "the last row reaches the end of the content";
    list.SendMessage(WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_EQ(30 * 25 - rc.Height(), list.GetScrollPosition());

    const std::vector<DWORD> listed = Listed();
    m_RoomTabs.onEnter = [&](CGameTreeNode* node) {
        EXPECT_EQ(node, dlg.GetEnteringNode());
        EXPECT_FALSE(dlg.IsWindowVisible()) << "the dialog closes first";
    };
    list.SendMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(10, rc.Height() - 2));
    ASSERT_TRUE(PumpUntil([&] { return !m_RoomTabs.entered.empty(); }));
    const RecordingRoomTabs::Entered& e = m_RoomTabs.entered[0];
    EXPECT_EQ(listed.back(), e.pRoom->GetId()) << "the last row, scrolled into view";
    EXPECT_EQ(DWORD(TREE_ITEM_ROOM), e.dwNodeType);
    EXPECT_EQ(listed.back(), e.dwNodeItem);
    EXPECT_EQ(std::string(e.pRoom->GetName()), e.strNodeText);
    EXPECT_EQ(DWORD(TREE_ITEM_GAME), e.dwParentType);
    EXPECT_EQ(10u, e.dwParentItem);
    EXPECT_EQ("斗地主", e.strParentText);
    EXPECT_EQ(nullptr, dlg.GetEnteringNode()) << "the temporary node is gone";
}

TEST_F(ChannelDialogTest, PressBelowTheRowsDoesNothing)
{
    AddRooms(10, 100, 2);
    m_Entry.ShowChannelDialog();
    CRoomListWnd& list = m_Entry.GetChannelDialog().GetRoomList();
    list.SendMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(10, 2 * 25 + 3));
    list.SendMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(10, 1 * 25 + 3));
    ASSERT_TRUE(PumpUntil([&] { return !m_RoomTabs.entered.empty(); }));
    EXPECT_EQ(1u, m_RoomTabs.entered.size());
    EXPECT_EQ(list.GetRoomAt(1), m_RoomTabs.entered[0].pRoom);
}

TEST(RoomListGauge, FillIsBoundedAndBanded)
{
    const struct
    {
        DWORD online, capacity;
        int fill, band;
    } cases[] = {
        {0, 100, 0, 1},   {49, 100, 49, 1},   {50, 100, 50, 2},        {80, 100, 80, 2},
        {81, 100, 81, 3}, {150, 100, 100, 3}, {0xFFFFFFFF, 1, 100, 3}, {10, 0, 0, 1},
    };
    for (const auto& c : cases) {
        int band = 0;
        EXPECT_EQ(c.fill, CRoomListWnd::GaugeFill(c.online, c.capacity, 100, &band)) << c.online << "/" << c.capacity;
        EXPECT_EQ(c.band, band) << c.online << "/" << c.capacity;
    }
}
