// The hall area: where the plaza, the splitter and the room tabs stand, and
// folding the plaza away and back.
#include <gtest/gtest.h>

#include <afxwin.h>

#include <vector>

#include "GameHall.h"
#include "GlobalUnits.h"
#include "MenuWnd.h"
#include "MessagePump.h"
#include "SkinTestSupport.h"

namespace
{

class GameHallTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(parent.CreateParent(1200, 700));
        ASSERT_TRUE(hall.Create(NULL, NULL, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, CRect(0, 0, 0, 0), &parent, 0));
        hall.MoveWindow(0, 0, 1000, 600);
    }
    CRect Placed(CWnd* pWnd)
    {
        CRect rect;
        pWnd->GetWindowRect(&rect);
        hall.ScreenToClient(&rect);
        return rect;
    }

    skintest::RecordingParent parent;
    CGameHall hall;
};

TEST_F(GameHallTest, PanesBesideTheSplitter)
{
    EXPECT_EQ(Placed(hall.GetPlazaView()), CRect(0, 0, 290, 600));
    EXPECT_EQ(Placed(&hall.GetSplitter()), CRect(290, 0, 299, 600));
    EXPECT_EQ(Placed(hall.GetRoomTabs()), CRect(299, 0, 1000, 600));
    int low = 0, high = 0;
    hall.GetSplitterRange(low, high);
    EXPECT_EQ(low, 290);
    EXPECT_EQ(high, 800);

    // Narrow halls keep the plaza at its least width rather than an
    // inverted range.
    for (int width : {490, 400}) {
        hall.MoveWindow(0, 0, width, 600);
        hall.GetSplitterRange(low, high);
        EXPECT_EQ(low, 290) << width;
        EXPECT_EQ(high, 290) << width;
    }
}

TEST_F(GameHallTest, FoldAndUnfold)
{
    hall.Layout(true, false);
    EXPECT_FALSE(hall.GetPlazaView()->IsWindowVisible());
    EXPECT_TRUE(hall.GetSplitter().IsWindowVisible());
    EXPECT_EQ(Placed(&hall.GetSplitter()).left, -1);
    EXPECT_EQ(Placed(hall.GetRoomTabs()), CRect(8, 0, 1000, 600));
    // The same flags again change nothing.
    hall.GetRoomTabs()->MoveWindow(100, 0, 50, 50);
    hall.Layout(true, false);
    EXPECT_EQ(Placed(hall.GetRoomTabs()), CRect(100, 0, 150, 50));

    hall.Layout(false, false);
    EXPECT_TRUE(hall.GetPlazaView()->IsWindowVisible());
    EXPECT_EQ(Placed(&hall.GetSplitter()), CRect(290, 0, 299, 600));
    EXPECT_EQ(Placed(hall.GetRoomTabs()), CRect(299, 0, 1000, 600));

    // The room view takes the splitter's place too.
    hall.Layout(true, true);
    EXPECT_FALSE(hall.GetPlazaView()->IsWindowVisible());
    EXPECT_FALSE(hall.GetSplitter().IsWindowVisible());
    EXPECT_EQ(Placed(hall.GetRoomTabs()), CRect(-1, 0, 1000, 600));

    // The splitter's button toggles.
    hall.Layout(false, false);
    hall.OnSplitterButton(&hall.GetSplitter(), hall.GetSplitter().GetSafeHwnd());
    EXPECT_TRUE(hall.IsPlazaFolded());
    hall.OnSplitterButton(&hall.GetSplitter(), hall.GetSplitter().GetSafeHwnd());
    EXPECT_FALSE(hall.IsPlazaFolded());
    EXPECT_EQ(Placed(&hall.GetSplitter()).left, 290);
}

TEST(GameHall, ItsPlazaIsTheHallsPlazaWhileItLives)
{
    skintest::RecordingParent parent;
    ASSERT_TRUE(parent.CreateParent(1200, 700));
    {
        CGameHall hall;
        ASSERT_TRUE(hall.Create(NULL, NULL, WS_CHILD | WS_VISIBLE, CRect(0, 0, 1000, 600), &parent, 0));
        EXPECT_EQ(g_GlobalUnits.GetPlazaView(), hall.GetPlazaView());
        EXPECT_EQ(hall.GetDlgItem(IDC_HALL_PLAZA), (CWnd*)hall.GetPlazaView());
        ASSERT_NE(nullptr, hall.GetPlazaView()->GetDlgItem(CPlazaViewItem::IDC_GAME_LIST)) << "the game list inside";
        hall.DestroyWindow();
        EXPECT_EQ(nullptr, g_GlobalUnits.GetPlazaView()) << "no pointer to a plaza that is gone";
    }
}

// Stands in for the main frame: records what reaches it and stays open.
class FrameStandIn : public CWnd
{
public:
    std::vector<UINT> messages;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_CLOSE || message == WM_USER + 103) {
            messages.push_back(message);
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

TEST(MenuWnd, CommandsGoToTheFrame)
{
    FrameStandIn frame;
    ASSERT_TRUE(frame.CreateEx(0, AfxRegisterWndClass(0), "", WS_POPUP, 0, 0, 100, 100, NULL, NULL));
    CMenuWnd menu;
    ASSERT_TRUE(menu.Create(NULL, NULL, WS_CHILD, CRect(0, 0, 0, 0), &frame, 0));
    EXPECT_TRUE(menu.SendMessage(WM_COMMAND, IDM_SWITCH_ACCOUNT));
    EXPECT_TRUE(menu.SendMessage(WM_COMMAND, IDM_EXIT_GAME));
    PumpMessages();
    EXPECT_EQ(frame.messages, (std::vector<UINT>{WM_USER + 103, WM_CLOSE}));
    menu.DestroyWindow();
    frame.DestroyWindow();
}

} // namespace
