// The manager and the event helper driven through a real host window.
#include "WidgetTestSupport.h"

namespace
{
class ManagerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(host.Create(300, 200));
        a.Resize(20, 20, 40, 30);     // (20, 20) - (60, 50)
        b.Resize(100, 20, 40, 30);    // (100, 20) - (140, 50)
        box.Resize(50, 100, 100, 80); // (50, 100) - (150, 180)
        inner.Resize(10, 10, 20, 20); // (60, 110) - (80, 130) in the host
        box.AddWidget(&inner);
        host.Manager().AddWidget(&a);
        host.Manager().AddWidget(&b);
        host.Manager().AddWidget(&box);
        log.clear();
    }
    void TearDown() override
    {
        if (::GetCapture() == host.Hwnd())
            ::ReleaseCapture();
        host.DestroyWindow();
    }

    EventLog log;
    TestHost host;
    RecordingWidget a{"a", &log};
    RecordingWidget b{"b", &log};
    RecordingWidget box{"box", &log};
    RecordingWidget inner{"inner", &log};
};

EventLog Events(std::initializer_list<const char*> items)
{
    EventLog events;
    for (const char* psz : items)
        events.push_back(psz);
    return events;
}
} // namespace

TEST_F(ManagerTest, NestedWidgetsAreHitWhereTheyAreDrawn)
{
    int x = -1, y = -1;
    EXPECT_EQ(&inner, host.Manager().GetWidgetAt(65, 115, &x, &y));
    EXPECT_EQ(5, x);
    EXPECT_EQ(5, y);
    EXPECT_EQ(&box, host.Manager().GetWidgetAt(55, 105, &x, &y));
    EXPECT_EQ(CPoint(5, 5), CPoint(x, y));
    // The child's own numbers taken as host coordinates hit nothing.
    EXPECT_EQ(NULL, host.Manager().GetWidgetAt(15, 15, NULL, NULL));

    host.Mouse(WM_MOUSEMOVE, 65, 115);
    host.Mouse(WM_MOUSEMOVE, 66, 117);
    host.Mouse(WM_LBUTTONDOWN, 66, 117, MK_LBUTTON);
    host.Mouse(WM_LBUTTONUP, 66, 117);
    EXPECT_EQ(Events({"inner:Enter", "inner:Move 5,5", "inner:Move 6,7", "inner:LDown 6,7", "inner:Drag 6,7",
                      "inner:LUp 6,7"}),
              log);
}

TEST_F(ManagerTest, HiddenAndDisabledWidgetsAreNotHit)
{
    box.SetVisible(false);
    EXPECT_EQ(NULL, host.Manager().GetAnyWidgetAt(65, 115, NULL, NULL));
    box.SetVisible(true);
    inner.SetDisabled(true);
    EXPECT_EQ(NULL, host.Manager().GetWidgetAt(65, 115, NULL, NULL));
    EXPECT_EQ(&inner, host.Manager().GetAnyWidgetAt(65, 115, NULL, NULL));

    // The top of the z-order wins.
    RecordingWidget cover("cover", &log);
    cover.Resize(0, 0, 300, 200);
    host.Manager().AddWidget(&cover);
    EXPECT_EQ(&cover, host.Manager().GetWidgetAt(30, 30, NULL, NULL));
}

TEST_F(ManagerTest, PressDragOffAndReleaseKeepsTheWidgetAndTheCapture)
{
    host.Post(WM_MOUSEMOVE, 0, MAKELPARAM(30, 30));
    host.Post(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 30));
    EXPECT_EQ(host.Hwnd(), ::GetCapture());
    EXPECT_TRUE(a.IsPressed());
    EXPECT_TRUE(a.IsMouseOver());

    host.Mouse(WM_MOUSEMOVE, 120, 30, MK_LBUTTON); // over b
    EXPECT_FALSE(a.IsMouseOver());
    EXPECT_FALSE(b.IsMouseOver());
    host.Mouse(WM_MOUSEMOVE, 40, 40, MK_LBUTTON); // back on a
    EXPECT_TRUE(a.IsMouseOver());
    host.Mouse(WM_MOUSEMOVE, 250, 190, MK_LBUTTON);
    host.Mouse(WM_LBUTTONUP, 250, 190);
    EXPECT_EQ(NULL, ::GetCapture());
    EXPECT_FALSE(a.IsPressed());
    EXPECT_EQ(NULL, PressedWidgetOf(host.Manager()));
    EXPECT_EQ(Events({"a:Enter", "a:Move 10,10", "a:LDown 10,10", "a:Drag 100,10", "a:Leave", "a:Drag 20,20", "a:Enter",
                      "a:Drag 230,170", "a:Leave", "a:Drag 230,170", "a:LUp 230,170"}),
              log);
}

TEST_F(ManagerTest, DragAndReleaseOfANestedWidgetUseTheSameCoordinates)
{
    host.Mouse(WM_LBUTTONDOWN, 65, 115, MK_LBUTTON);
    host.Mouse(WM_MOUSEMOVE, 70, 140, MK_LBUTTON);
    host.Mouse(WM_LBUTTONUP, 70, 140);
    EXPECT_EQ(Events({"inner:Enter", "inner:Move 5,5", "inner:LDown 5,5", "inner:Drag 10,30", "inner:Leave",
                      "inner:Drag 10,30", "inner:LUp 10,30", "box:Enter", "box:Move 20,40"}),
              log);
}

TEST_F(ManagerTest, PressOnADisabledWidgetReachesNobody)
{
    a.SetDisabled(true);
    log.clear();
    host.Mouse(WM_LBUTTONDOWN, 30, 30, MK_LBUTTON);
    EXPECT_TRUE(host.Manager().IsLeftButtonDown());
    EXPECT_EQ(host.Hwnd(), ::GetCapture());
    host.Mouse(WM_LBUTTONUP, 30, 30);
    EXPECT_FALSE(host.Manager().IsLeftButtonDown());
    EXPECT_EQ(NULL, ::GetCapture());
    EXPECT_TRUE(log.empty()) << log.front();
}

TEST_F(ManagerTest, AnotherButtonHeldKeepsThePressedWidget)
{
    host.Mouse(WM_LBUTTONDOWN, 30, 30, MK_LBUTTON);
    host.Mouse(WM_MOUSEMOVE, 110, 30, MK_LBUTTON);
    host.Mouse(WM_RBUTTONDOWN, 110, 30, MK_LBUTTON | MK_RBUTTON);
    host.Mouse(WM_RBUTTONUP, 110, 30, MK_LBUTTON);
    EXPECT_EQ(host.Hwnd(), ::GetCapture()); // the left button still needs it
    EXPECT_EQ(&a, PressedWidgetOf(host.Manager()));
    EXPECT_TRUE(a.IsPressed());
    host.Mouse(WM_MOUSEMOVE, 35, 30, MK_LBUTTON);
    host.Mouse(WM_LBUTTONUP, 35, 30);
    EXPECT_EQ(NULL, ::GetCapture());
    EXPECT_EQ(NULL, PressedWidgetOf(host.Manager()));
    EXPECT_EQ(
        Events({"a:Enter", "a:Move 10,10", "a:LDown 10,10", "a:Drag 90,10", "a:Leave", "a:Drag 90,10", "a:RDown 90,10",
                "a:Drag 90,10", "a:RUp 90,10", "a:Drag 15,10", "a:Enter", "a:Drag 15,10", "a:LUp 15,10"}),
        log);
}

TEST_F(ManagerTest, DisablingOrRemovingThePressedWidgetReleasesIt)
{
    host.Mouse(WM_LBUTTONDOWN, 30, 30, MK_LBUTTON);
    log.clear();
    a.SetDisabled(true);
    EXPECT_EQ(Events({"a:Leave", "a:LUp 10,10"}), log);
    EXPECT_EQ(0, ButtonBitsOf(host.Manager()));
    EXPECT_EQ(NULL, PressedWidgetOf(host.Manager()));

    a.SetDisabled(false); // the pointer is on it again
    EXPECT_EQ(&a, OverWidgetOf(host.Manager()));

    inner.SetWantFocus(true);
    host.Mouse(WM_LBUTTONDOWN, 65, 115, MK_LBUTTON);
    EXPECT_EQ(&inner, FocusWidgetOf(host.Manager()));
    log.clear();
    host.Manager().RemoveWidget(&box);
    EXPECT_EQ(NULL, PressedWidgetOf(host.Manager()));
    EXPECT_EQ(NULL, OverWidgetOf(host.Manager()));
    EXPECT_EQ(NULL, FocusWidgetOf(host.Manager()));
    EXPECT_EQ(NULL, inner.Manager());
    EXPECT_EQ(Events({"inner:Leave", "inner:LUp 5,5", "inner:LostFocus"}), log);
}

TEST_F(ManagerTest, ResizeAndVisibilityReevaluateTheMouse)
{
    host.Mouse(WM_MOUSEMOVE, 30, 30);
    log.clear();
    a.Resize(20, 20, 40, 30);
    EXPECT_TRUE(log.empty());
    a.Move(200, 150);
    EXPECT_EQ(Events({"a:Leave"}), log);
    a.Move(20, 20);
    EXPECT_EQ(Events({"a:Leave", "a:Enter", "a:Move 10,10"}), log);
    log.clear();
    a.SetVisible(false);
    EXPECT_EQ(Events({"a:Leave"}), log);
}

TEST_F(ManagerTest, TabMovesTheFocusAlongTheTabOrder)
{
    a.SetWantFocus(true);
    b.SetWantFocus(true);
    a.SetTabOrder(&b, &b);
    b.SetTabOrder(&a, NULL);
    // Widgets get GotFocus only while the host window has the focus. The host
    // is shown without activation, but Wine may still hand it the focus when
    // another test program's window goes away, so compare with where the
    // focus really is.
    host.Click(30, 30);
    EXPECT_EQ(::GetFocus() == host.Hwnd(), a.HasFocus());
    EXPECT_EQ(&a, FocusWidgetOf(host.Manager()));
    host.Send(WM_SETFOCUS);
    EXPECT_TRUE(a.HasFocus());
    log.clear();

    host.Key(VK_TAB, true);
    host.Key(VK_TAB, false);
    EXPECT_TRUE(b.HasFocus());
    EXPECT_FALSE(a.HasFocus());
    host.Key(VK_TAB, true); // no next: stays
    host.Key(VK_TAB, false);
    host.Key(VK_SHIFT, true);
    host.Key(VK_TAB, true);
    host.Key(VK_TAB, false);
    host.Key(VK_SHIFT, false);
    EXPECT_TRUE(a.HasFocus());
    EXPECT_EQ(Events({"a:KeyDown 9,0", "a:LostFocus", "b:GotFocus", "b:KeyUp 9,0", "b:KeyDown 9,0", "b:KeyUp 9,0",
                      "b:KeyDown 16,0", "b:KeyDown 9,0", "b:LostFocus", "a:GotFocus", "a:KeyUp 9,0", "a:KeyUp 16,0"}),
              log);

    // A widget outside this manager never takes the focus.
    RecordingWidget stray("stray", &log);
    host.Manager().SetFocus(&stray);
    EXPECT_EQ(NULL, FocusWidgetOf(host.Manager()));
}

TEST_F(ManagerTest, CtrlTabGoesToTheCtrlTabWidgetAndSwallowsTheTabRelease)
{
    RecordingWidget switcher("switcher", &log);
    host.Manager().AddWidget(&switcher);
    CtrlTabWidgetOf(host.Manager()) = &switcher;
    host.Manager().SetFocus(&a);
    log.clear();

    host.Key(VK_CONTROL, true);
    host.Key(VK_TAB, true);
    host.Char('\t');
    host.Key(VK_TAB, false);
    host.Key(VK_CONTROL, false);
    host.Char('\t'); // without Ctrl: only the focus widget
    EXPECT_EQ(Events({"a:KeyDown 17,0", "a:KeyDown 9,0", "switcher:KeyChar 9,0", "a:KeyChar 9,0", "a:KeyUp 17,0",
                      "a:KeyChar 9,0"}),
              log);

    // Removing the Ctrl+Tab widget leaves no dangling pointer.
    host.Manager().RemoveWidget(&switcher);
    EXPECT_EQ(NULL, CtrlTabWidgetOf(host.Manager()));
}

TEST_F(ManagerTest, WheelGoesToTheFocusWidgetOnly)
{
    host.Mouse(WM_MOUSEMOVE, 30, 30);
    log.clear();
    host.Send(WM_MOUSEWHEEL, MAKEWPARAM(0, 120), MAKELPARAM(130, 130));
    EXPECT_TRUE(log.empty());

    host.Manager().SetFocus(&b);
    log.clear();
    host.Send(WM_MOUSEWHEEL, MAKEWPARAM(0, 120), MAKELPARAM(130, 130));
    host.Send(WM_MOUSEWHEEL, MAKEWPARAM(0, (WORD)(short)-240), MAKELPARAM(130, 130));
    host.Send(WM_MOUSEWHEEL, MAKEWPARAM(0, 60), MAKELPARAM(130, 130)); // half a notch
    EXPECT_EQ(Events({"b:Wheel 1,0", "b:Wheel -2,0", "b:Wheel 0,0"}), log);
}

TEST_F(ManagerTest, MinimisingTakesTheFocusAwayAndRestoringRepaints)
{
    host.Send(WM_SETFOCUS);
    host.Manager().SetFocus(&a);
    host.Key('A', true);
    host.Paint();
    log.clear();

    host.Send(WM_SIZE, SIZE_MINIMIZED, 0);
    EXPECT_EQ(Events({"a:KeyUp 65,0", "a:LostFocus"}), log);
    log.clear();
    host.Key('B', true); // keys while minimised still reach the focus widget
    host.Send(WM_SIZE, SIZE_RESTORED, MAKELPARAM(300, 200));
    EXPECT_EQ(Events({"a:KeyDown 66,0", "a:GotFocus"}), log);
    CRect rcUpdate = host.UpdateRect();
    EXPECT_TRUE(rcUpdate.PtInRect(CPoint(30, 30)));
    EXPECT_TRUE(rcUpdate.PtInRect(CPoint(145, 175)));
}

TEST_F(ManagerTest, LosingTheFocusWhilePressingFreesTheNextPress)
{
    host.Send(WM_SETFOCUS);
    host.Mouse(WM_LBUTTONDOWN, 30, 30, MK_LBUTTON);
    EXPECT_EQ(host.Hwnd(), ::GetCapture());
    host.Send(WM_KILLFOCUS);
    EXPECT_EQ(NULL, ::GetCapture());
    EXPECT_FALSE(a.IsPressed());
    EXPECT_EQ(NULL, PressedWidgetOf(host.Manager()));

    host.Send(WM_SETFOCUS);
    log.clear();
    host.Mouse(WM_LBUTTONDOWN, 110, 30, MK_LBUTTON);
    host.Mouse(WM_LBUTTONUP, 110, 30);
    EXPECT_EQ(Events({"a:Leave", "b:Enter", "b:Move 10,10", "b:LDown 10,10", "b:Drag 10,10", "b:LUp 10,10"}), log);
}

TEST_F(ManagerTest, EndPopupReleasesHeldButtonsAndKeys)
{
    host.Manager().SetFocus(&b);
    host.Key(VK_CONTROL, true);
    host.Mouse(WM_LBUTTONDOWN, 30, 30, MK_LBUTTON);
    log.clear();
    host.Helper().BeginPopup();
    host.Helper().EndPopup();
    EXPECT_EQ(Events({"a:LUp 10,10"}), log);
    EXPECT_EQ(NULL, ::GetCapture());
    // Ctrl is forgotten: a Tab release reaches the focus widget again.
    host.Key(VK_TAB, false);
    EXPECT_EQ(Events({"a:LUp 10,10", "b:KeyUp 9,0"}), log);
}
