// The notice strip over the grid: its notices, timers, close button and
// painting.
#include "TableFrameFixture.h"

using namespace tabletest;

namespace
{
typedef SinkDouble::Hit Hit;

const COLORREF kStripLeft = RGB(31, 41, 51);
const COLORREF kStripMiddle = RGB(32, 42, 52);
const COLORREF kStripRight = RGB(33, 43, 53);
const COLORREF kClose = RGB(34, 44, 54);
const COLORREF kCloseHover = RGB(35, 45, 55);

class InformationBoxTest : public GridTest
{
protected:
    void SetUp() override
    {
        GridTest::SetUp();
        const skintest::TempFolder& folder = skin.Folder();
        const std::string dir = "Res\\gameroom\\InformationBox\\";
        folder.WriteBmp((dir + "Msgbox_backgroundl.png").c_str(), skintest::Pixels(8, 27, kStripLeft));
        folder.WriteBmp((dir + "Msgbox_backgroundm.png").c_str(), skintest::Pixels(4, 27, kStripMiddle));
        folder.WriteBmp((dir + "Msgbox_backgroundr.png").c_str(), skintest::Pixels(8, 27, kStripRight));
        folder.WriteBmp((dir + "MsgIco.png").c_str(), skintest::Pixels(16, 16, RGB(36, 46, 56)));
        folder.WriteBmp((dir + "delete_normal.PNG").c_str(), skintest::Pixels(10, 10, kClose));
        folder.WriteBmp((dir + "delete_hover.PNG").c_str(), skintest::Pixels(10, 10, kCloseHover));
        WriteConfig("DeleteTime=30000\r\nChangeMsgTime=5000\r\n",
                    "room3msg1=first\r\nroom3msg2=second\r\nroom3msg3=\r\nroom3msg4=fourth\r\n");
    }
    void WriteConfig(const std::string& times, const std::string& notices)
    {
        skin.Folder().Write("config\\dynamic\\DynaItemCfg.ini",
                            "[InformationBox]\r\n" + times + "[Game12]\r\n" + notices);
    }
    CInformationBox* Box() { return grid->GetInformationBox(); }
    void Timer(UINT id) { grid->SendMessage(WM_TIMER, id, 0); }
    // The close button, as placed over three columns of tables.
    const CRect kCloseRect{580, 13, 590, 23};
};

TEST_F(InformationBoxTest, NoticesOfTheRoomUntilTheFirstGap)
{
    MakeGrid();
    EXPECT_TRUE(Box()->IsVisible());
    EXPECT_EQ(2, Box()->GetNoticeCount());
    EXPECT_EQ(CString("first"), Box()->GetCurrentNotice());
    EXPECT_EQ(30000u, Box()->GetHideDelay());
    EXPECT_EQ(5000u, Box()->GetRotatePeriod());
    EXPECT_EQ(CRect(6, 5, 600, 32), Box()->GetBoxRect());
    EXPECT_EQ(kCloseRect, Box()->GetCloseRect());
    // Both timers run on the grid window.
    EXPECT_TRUE(grid->KillTimer(IDI_INFORMATION_HIDE));
    EXPECT_TRUE(grid->KillTimer(IDI_INFORMATION_ROTATE));
}

TEST_F(InformationBoxTest, NothingToShowLeavesTheStripHidden)
{
    struct Case
    {
        const char* name;
        bool hasRoom;
        std::string file;
    };
    const Case cases[] = {
        {"no room", false, ""},
        {"other room", true, "[Game12]\r\nroom4msg1=x\r\n"},
        {"other game", true, "[Game13]\r\nroom3msg1=x\r\n"},
        {"garbled", true, std::string("\xFF\xFE[Game12\0room3msg1\r\n=\x81", 20)},
        {"no file", true, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        host.hasRoom = c.hasRoom;
        skin.Folder().Write("config\\dynamic\\DynaItemCfg.ini", c.file);
        if (c.file.empty())
            DeleteFileA(skin.Folder().File("config\\dynamic\\DynaItemCfg.ini").c_str());
        CTableFrame fresh(&host);
        fresh.CreateTableFrame(&parent, 101);
        fresh.InitTableFrame(10, 4, &game, &sink);
        fresh.MoveWindow(0, 0, kWidth, kHeight);
        EXPECT_FALSE(fresh.GetInformationBox()->IsVisible());
        EXPECT_EQ(0, fresh.GetInformationBox()->GetNoticeCount());
        EXPECT_FALSE(fresh.GetInformationBox()->HitTest(10, 10));
        EXPECT_FALSE(fresh.KillTimer(IDI_INFORMATION_HIDE));
        fresh.DestroyTableFrame();
    }
}

TEST_F(InformationBoxTest, EnteringAgainDoesNotDoubleTheNotices)
{
    MakeGrid();
    WriteConfig("", "room3msg1=only\r\n");
    ASSERT_TRUE(grid->InitTableFrame(10, 4, &game, &sink));
    EXPECT_EQ(1, Box()->GetNoticeCount());
    // The last configuration's timers do not survive it.
    EXPECT_FALSE(grid->KillTimer(IDI_INFORMATION_HIDE));
    EXPECT_FALSE(grid->KillTimer(IDI_INFORMATION_ROTATE));
}

TEST_F(InformationBoxTest, RotationTimerCyclesTheNotices)
{
    MakeGrid();
    Timer(IDI_INFORMATION_ROTATE);
    EXPECT_EQ(CString("second"), Box()->GetCurrentNotice());
    Timer(IDI_INFORMATION_ROTATE);
    EXPECT_EQ(CString("first"), Box()->GetCurrentNotice());

    WriteConfig("ChangeMsgTime=100\r\n", "room3msg1=only\r\n");
    grid->InitTableFrame(10, 4, &game, &sink);
    Timer(IDI_INFORMATION_ROTATE);
    Timer(IDI_INFORMATION_ROTATE);
    EXPECT_EQ(CString("only"), Box()->GetCurrentNotice());
}

TEST_F(InformationBoxTest, HideTimerHidesEvenUnderTheMouse)
{
    MakeGrid();
    Send(WM_MOUSEMOVE, kCloseRect.CenterPoint());
    EXPECT_TRUE(Box()->IsCloseHover());
    Timer(IDI_INFORMATION_HIDE);
    EXPECT_FALSE(Box()->IsVisible());
    EXPECT_FALSE(grid->KillTimer(IDI_INFORMATION_HIDE));
    // Rotation has no effect while hidden.
    Timer(IDI_INFORMATION_ROTATE);
    EXPECT_EQ(CString("first"), Box()->GetCurrentNotice());
}

TEST_F(InformationBoxTest, CloseButtonHoversAndCloses)
{
    MakeGrid();
    Send(WM_MOUSEMOVE, kCloseRect.CenterPoint());
    EXPECT_TRUE(Box()->IsCloseHover());
    auto canvas = Print();
    EXPECT_EQ(kCloseHover, canvas->At(kCloseRect.left + 2, kCloseRect.top + 2));
    Send(WM_MOUSEMOVE, CPoint(300, 20));
    EXPECT_FALSE(Box()->IsCloseHover());

    // A click on the strip beside the button does nothing, and no table hears it.
    Click(CPoint(300, 20), CPoint(300, 20));
    EXPECT_TRUE(Box()->IsVisible());
    EXPECT_TRUE(sink.hits.empty());
    Click(kCloseRect.CenterPoint(), kCloseRect.CenterPoint(), true);
    EXPECT_TRUE(Box()->IsVisible());

    Click(kCloseRect.CenterPoint(), kCloseRect.CenterPoint());
    EXPECT_FALSE(Box()->IsVisible());
    EXPECT_TRUE(sink.hits.empty());
    // Once closed the strip is no more in the way of the tables.
    Click(CPoint(300, 20), CPoint(300, 20));
    EXPECT_EQ(1u, sink.hits.size());
}

TEST_F(InformationBoxTest, StripPaintsOverTheTables)
{
    MakeGrid();
    auto canvas = Print();
    EXPECT_EQ(kStripLeft, canvas->At(6, 5));
    EXPECT_EQ(kStripMiddle, canvas->At(300, 30));
    EXPECT_EQ(kStripRight, canvas->At(599, 20));
    EXPECT_EQ(kClose, canvas->At(kCloseRect.left + 2, kCloseRect.top + 2));
    EXPECT_GT(canvas->Count(RGB(255, 0, 0), CRect(6, 5, 600, 32)), 0);
    EXPECT_EQ(kNormal, canvas->At(100, 40));
}

TEST_F(InformationBoxTest, PlacementWhileHiddenIsIgnored)
{
    MakeGrid();
    Click(kCloseRect.CenterPoint(), kCloseRect.CenterPoint());
    ASSERT_FALSE(Box()->IsVisible());
    Size(850, kHeight);
    EXPECT_EQ(4, grid->GetColumns());
    EXPECT_EQ(CRect(6, 5, 600, 32), Box()->GetBoxRect());
}
} // namespace
