// Image buttons in a host window: frames by state, clicks, push style.
#include "WidgetTestSupport.h"

#include <Picture.h>

namespace
{
const COLORREF kNormal = RGB(128, 128, 128);
const COLORREF kHover = RGB(0, 200, 0);
const COLORREF kPressed = RGB(0, 0, 200);
const COLORREF kDisabled = RGB(60, 60, 60);

struct ClickRecorder : IButtonListener
{
    std::vector<int> clicks;
    std::vector<int> dblClicks;
    void ButtonClick(int nID) override { clicks.push_back(nID); }
    void ButtonDblClk(int nID) override { dblClicks.push_back(nID); }
};

// Fields of the button that have no accessor.
struct ButtonPeek : CButtonWidget
{
    static COLORREF CButtonWidget::*Caption() { return &ButtonPeek::m_crCaption; }
    static int CButtonWidget::*Id() { return &ButtonPeek::m_nID; }
    static IButtonListener* CButtonWidget::*Listener() { return &ButtonPeek::m_pListener; }
};

class ButtonTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // A 200 x 30 strip of four 50-pixel frames.
        ASSERT_TRUE(MakeBandPicture(strip, 30, {{50, kNormal}, {50, kHover}, {50, kPressed}, {50, kDisabled}}));
        ASSERT_TRUE(host.Create(240, 160));
        button.Create(7, &listener, NULL, 0);
        button.SetImageBack(&strip);
        button.Move(20, 20); // (20, 20) - (70, 50)
        host.Manager().AddWidget(&button);
        host.Paint();
    }
    void TearDown() override { host.DestroyWindow(); }

    COLORREF ShownAt(int x, int y)
    {
        host.Paint();
        return Snapshot(host.Hwnd()).At(x, y);
    }

    CPicture strip;
    ClickRecorder listener;
    TestHost host;
    CButtonWidget button;
};
} // namespace

TEST_F(ButtonTest, StripFramesFollowTheState)
{
    EXPECT_EQ(50, button.GetWidth());
    EXPECT_EQ(30, button.GetHeight());
    EXPECT_EQ(kNormal, ShownAt(20, 20));
    EXPECT_EQ(kNormal, ShownAt(69, 49));
    EXPECT_EQ(kBlack, ShownAt(70, 30)); // the next frame is cut off

    host.Mouse(WM_MOUSEMOVE, 30, 30);
    EXPECT_EQ(kHover, ShownAt(45, 35));
    EXPECT_EQ(kBlack, ShownAt(15, 35));
    host.Mouse(WM_LBUTTONDOWN, 30, 30, MK_LBUTTON);
    EXPECT_TRUE(button.IsButtonDown());
    EXPECT_EQ(kPressed, ShownAt(45, 35));
    host.Mouse(WM_LBUTTONUP, 30, 30);
    EXPECT_EQ(kHover, ShownAt(45, 35));
    host.Mouse(WM_MOUSEMOVE, 150, 100);
    EXPECT_EQ(kNormal, ShownAt(45, 35));
    button.SetDisabled(true);
    EXPECT_EQ(kDisabled, ShownAt(45, 35));
    EXPECT_EQ(kBlack, ShownAt(70, 35));
}

TEST_F(ButtonTest, AClickIsAReleaseOnTheButton)
{
    struct Case
    {
        int x, y;
        bool bClick;
    };
    const Case cases[] = {
        {30, 30, true},    {69, 49, true},  {20, 20, true}, {70, 30, false}, {30, 50, false}, // right of, below
        {19, 30, false},   {30, 19, false},                                                   // left of, above
        {200, 150, false},
    };
    for (const Case& k : cases) {
        listener.clicks.clear();
        host.Mouse(WM_MOUSEMOVE, 30, 30);
        host.Mouse(WM_LBUTTONDOWN, 30, 30, MK_LBUTTON);
        EXPECT_TRUE(listener.clicks.empty());
        host.Mouse(WM_MOUSEMOVE, k.x, k.y, MK_LBUTTON);
        host.Mouse(WM_LBUTTONUP, k.x, k.y);
        EXPECT_EQ(k.bClick ? std::vector<int>{7} : std::vector<int>{}, listener.clicks) << k.x << "," << k.y;
    }
}

TEST_F(ButtonTest, DisabledButtonsReportNothing)
{
    button.SetDisabled(true);
    host.Click(30, 30);
    EXPECT_TRUE(listener.clicks.empty());

    // Disabled while held: released, but no click.
    button.SetDisabled(false);
    host.Mouse(WM_LBUTTONDOWN, 30, 30, MK_LBUTTON);
    button.SetDisabled(true);
    host.Mouse(WM_LBUTTONUP, 30, 30);
    EXPECT_TRUE(listener.clicks.empty());
    EXPECT_FALSE(button.IsButtonDown());
}

TEST_F(ButtonTest, PushButtonClicksOncePerPressAndToggles)
{
    button.SetButtonStyle(BUTTON_STYLE_PUSH);
    button.SetButtonStyle(5); // ignored
    EXPECT_EQ((UINT)BUTTON_STYLE_PUSH, button.GetButtonStyle());
    // Two frames of 100: the first starts grey, the second blue.
    EXPECT_EQ(kNormal, ShownAt(30, 30));

    host.Mouse(WM_LBUTTONDOWN, 30, 30, MK_LBUTTON);
    EXPECT_EQ(std::vector<int>{7}, listener.clicks);
    EXPECT_TRUE(button.IsPushed());
    host.Mouse(WM_LBUTTONUP, 30, 30);
    EXPECT_EQ(std::vector<int>{7}, listener.clicks);
    EXPECT_EQ(kPressed, ShownAt(30, 30));

    host.Click(30, 30);
    EXPECT_EQ((std::vector<int>{7, 7}), listener.clicks);
    EXPECT_FALSE(button.IsPushed());
    EXPECT_EQ(kNormal, ShownAt(30, 30));
}

TEST_F(ButtonTest, CreateFillsOnlyWhatIsUnset)
{
    ClickRecorder other;
    button.Create(9, &other, "确定", 3);
    EXPECT_EQ(7, button.*ButtonPeek::Id());
    EXPECT_EQ(&listener, button.*ButtonPeek::Listener());
    EXPECT_EQ((UINT)BUTTON_STYLE_NORMAL, button.GetButtonStyle());
    EXPECT_EQ(CString("确定"), button.GetButtonText());

    CButtonWidget fresh(4, NULL);
    fresh.Create(9, &other, NULL, BUTTON_STYLE_PUSH);
    EXPECT_EQ(4, fresh.*ButtonPeek::Id());
    EXPECT_EQ(&other, fresh.*ButtonPeek::Listener());
    EXPECT_EQ((UINT)BUTTON_STYLE_PUSH, fresh.GetButtonStyle());
    EXPECT_EQ(CString(""), fresh.GetButtonText());
    EXPECT_FALSE(fresh.SetButtonIcon(NULL));
    EXPECT_TRUE(fresh.SetButtonIcon(::LoadIcon(NULL, IDI_APPLICATION)));

    // Long captions are cut to 31 bytes on a character boundary.
    fresh.Create(0, NULL, "这是一个非常非常非常长的按钮标题文字", 0); // 18 characters, 36 bytes
    EXPECT_EQ(CString("这是一个非常非常非常长的按钮标"), fresh.GetButtonText());
    fresh.Create(0, NULL, "0123456789012345678901234567890123", 0);
    EXPECT_EQ(CString("0123456789012345678901234567890"), fresh.GetButtonText());
}

TEST_F(ButtonTest, DisablingGreysACaptionOnly)
{
    button.SetTextColor(RGB(200, 0, 0));
    button.SetDisabled(true);
    EXPECT_EQ(RGB(200, 0, 0), button.*ButtonPeek::Caption()); // no caption: untouched
    button.SetDisabled(false);

    button.Create(0, NULL, "确定", 0);
    button.SetDisabled(true);
    EXPECT_EQ(RGB(212, 208, 200), button.*ButtonPeek::Caption());
    button.SetDisabled(false);
    EXPECT_EQ(RGB(0, 0, 0), button.*ButtonPeek::Caption());
    // Drawing a caption leaves the frame in place around it.
    EXPECT_EQ(kNormal, ShownAt(21, 21));
}

TEST_F(ButtonTest, NestedButtonIsDrawnAndHitAtTheSamePlace)
{
    host.Manager().RemoveWidget(&button);
    RecordingWidget panel("panel", NULL, RGB(10, 10, 10));
    panel.Resize(100, 60, 120, 80);
    host.Manager().AddWidget(&panel);
    panel.AddWidget(&button);
    button.Move(10, 20); // (110, 80) - (160, 110) in the host
    EXPECT_EQ(kNormal, ShownAt(110, 80));
    EXPECT_EQ(kNormal, ShownAt(159, 109));
    EXPECT_EQ(RGB(10, 10, 10), ShownAt(109, 80));
    host.Click(115, 85);
    EXPECT_EQ(std::vector<int>{7}, listener.clicks);
    host.Manager().RemoveWidget(&panel);
}
