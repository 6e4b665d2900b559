// The title bar: where its buttons stand at two frame widths, and what each
// click asks of the frame.
#include <gtest/gtest.h>

#include <afxwin.h>

#include <string>

#include "FrameTopWidget.h"
#include "MessagePump.h"
#include "SkinTestSupport.h"

namespace
{

std::string* g_pPosted = nullptr;

LRESULT CALLBACK RecordingProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (g_pPosted != nullptr && (message == WM_SYSCOMMAND || message == WM_CLOSE || message >= WM_USER))
        *g_pPosted += std::to_string(message) + "/" + std::to_string(wParam) + ";";
    if (message == WM_SYSCOMMAND || message == WM_CLOSE)
        return 0;
    return DefWindowProcA(hWnd, message, wParam, lParam);
}

struct RecordingOwner : IFrameTopOwner
{
    HWND GetFrameWnd() override { return hWnd; }
    bool IsFrameMaximized() override { return maximized; }
    void SetFrameMaximized(bool b) override
    {
        maximized = b;
        calls += b ? "max;" : "unmax;";
    }
    void SetFrameMinimized(bool b) override { calls += b ? "min;" : "unmin;"; }
    void SetCloseByButton(bool b) override { calls += "byButton;"; }
    void ShowItemShop(int id) override { calls += "shop " + std::to_string(id) + ";"; }
    void OpenHallButton(int index, bool inPlaza) override
    {
        calls += "hall " + std::to_string(index) + (inPlaza ? " plaza;" : " browser;");
    }
    void OpenServicePage() override { calls += "service;"; }
    void ShowHelpMenu(CPoint) override { calls += "menu;"; }

    HWND hWnd = NULL;
    bool maximized = false;
    std::string calls;
};

class FrameTopWidgetTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // Strips of four frames: the button's width is a quarter.
        const struct
        {
            const char* name;
            int width;
            int height;
        } pictures[] = {{"CloseBtn.png", 30, 20},   {"MaxBtn.png", 28, 20},  {"RestoreBtn.png", 28, 20},
                        {"MinBtn.png", 26, 20},     {"MenuBtn.png", 24, 20}, {"Btn1.png", 80, 30},
                        {"Btn2.png", 90, 30},       {"Btn3.png", 100, 30},   {"LogonBtn.png", 60, 20},
                        {"RegisterBtn.png", 60, 22}};
        for (const auto& p : pictures)
            folder.WriteBmp((std::string("Res\\MainFrame\\Button\\") + p.name).c_str(),
                            skintest::Pixels(4 * p.width, p.height, RGB(9, 9, 9)));
        resources = folder.Path() + "\\Res\\";

        WNDCLASSA wc = {};
        wc.lpfnWndProc = RecordingProc;
        wc.lpszClassName = "TopWidgetFrame";
        RegisterClassA(&wc);
        owner.hWnd = CreateWindowA("TopWidgetFrame", "", WS_POPUP, 0, 0, 1024, 738, NULL, NULL, NULL, NULL);
        g_pPosted = &posted;
    }
    void TearDown() override
    {
        g_pPosted = nullptr;
        DestroyWindow(owner.hWnd);
    }
    CPoint At(int id)
    {
        CButtonWidget* button = widget.GetButton(id);
        return CPoint(button->Left(), button->Top());
    }

    skintest::TempFolder folder;
    std::string resources;
    RecordingOwner owner;
    std::string posted;
    CFrameTopWidget widget;
};

TEST_F(FrameTopWidgetTest, ButtonsStandFromTheRightEdge)
{
    widget.Initialize(&owner, resources.c_str());
    widget.LayoutButtons(1280, 738);
    EXPECT_EQ(At(IDC_TOP_CLOSE), CPoint(1244, 0));
    EXPECT_EQ(At(IDC_TOP_MAX), CPoint(1216, 1));
    EXPECT_EQ(At(IDC_TOP_RESTORE), CPoint(1216, 1));
    EXPECT_EQ(At(IDC_TOP_MIN), CPoint(1190, 0));
    EXPECT_EQ(At(IDC_TOP_MENU), CPoint(1166, 1));
    // Each web button steps left by its own width and the gap.
    EXPECT_EQ(At(IDC_TOP_WEB3), CPoint(1038, 6));
    EXPECT_EQ(At(IDC_TOP_SHOP), CPoint(913, 6));
    EXPECT_EQ(At(IDC_TOP_WEB1), CPoint(798, 6));
    EXPECT_EQ(At(IDC_TOP_LOGON), CPoint(245, 30));
    EXPECT_EQ(At(IDC_TOP_REGISTER), CPoint(245, 53));

    // A frame of 1024 keeps the web buttons 50 pixels nearer the menu.
    widget.LayoutButtons(1024, 738);
    EXPECT_EQ(At(IDC_TOP_CLOSE), CPoint(988, 0));
    EXPECT_EQ(At(IDC_TOP_MENU), CPoint(910, 1));
    EXPECT_EQ(At(IDC_TOP_WEB3), CPoint(832, 6));
    EXPECT_EQ(At(IDC_TOP_WEB1), CPoint(592, 6));
}

TEST_F(FrameTopWidgetTest, VisibleButtons)
{
    widget.Initialize(&owner, resources.c_str());
    EXPECT_TRUE(widget.GetButton(IDC_TOP_MAX)->IsVisible());
    EXPECT_FALSE(widget.GetButton(IDC_TOP_RESTORE)->IsVisible());
    EXPECT_FALSE(widget.GetButton(IDC_TOP_LOGON)->IsVisible());
    widget.ShowLogonButtons(true);
    EXPECT_TRUE(widget.GetButton(IDC_TOP_LOGON)->IsVisible());
    EXPECT_TRUE(widget.GetButton(IDC_TOP_REGISTER)->IsVisible());
    widget.ShowMaximizedState(true);
    EXPECT_FALSE(widget.GetButton(IDC_TOP_MAX)->IsVisible());
    EXPECT_TRUE(widget.GetButton(IDC_TOP_RESTORE)->IsVisible());
}

TEST_F(FrameTopWidgetTest, ClicksBecomeFrameActions)
{
    // Before it is initialised the widget drops everything.
    widget.ButtonClick(IDC_TOP_CLOSE);
    widget.LButtonDblClk(5, 5);
    EXPECT_EQ(owner.calls, "");

    widget.Initialize(&owner, resources.c_str());
    widget.LayoutButtons(1024, 738);
    const std::string close = std::to_string(WM_CLOSE) + "/0;";
    const std::string sys = std::to_string(WM_SYSCOMMAND) + "/";
    const struct
    {
        int id;
        bool maximized;
        const char* calls;
        std::string posted;
    } cases[] = {
        {IDC_TOP_MAX, false, "max;", sys + std::to_string(SC_MAXIMIZE) + ";"},
        {IDC_TOP_MAX, true, "", ""},
        {IDC_TOP_RESTORE, true, "unmax;", sys + std::to_string(SC_RESTORE) + ";"},
        {IDC_TOP_RESTORE, false, "", ""},
        {IDC_TOP_MIN, false, "min;", sys + std::to_string(SC_MINIMIZE) + ";"},
        {IDC_TOP_CLOSE, false, "byButton;", close},
        {IDC_TOP_CLOSE2, false, "byButton;", close},
        {IDC_TOP_MENU, false, "menu;", ""},
        {IDC_TOP_WEB1, false, "hall 0 browser;", ""},
        {IDC_TOP_SHOP, false, "shop -1;", ""},
        {IDC_TOP_SHOP2, false, "shop -1;", ""},
        {IDC_TOP_WEB3, false, "hall 3 browser;", ""},
        {IDC_TOP_SERVICE, false, "service;", ""},
        {IDC_TOP_PLAZA_PAGE, false, "hall 5 plaza;", ""},
        {IDC_TOP_LOGON, false, "", std::to_string(WM_FRAME_SWITCH_ACCOUNT) + "/0;"},
        {IDC_TOP_REGISTER, false, "", std::to_string(WM_FRAME_REGISTER) + "/0;"},
        {1004, false, "", ""},
        {1015, false, "", ""},
        {999, false, "", ""},
    };
    for (const auto& c : cases) {
        owner.maximized = c.maximized;
        owner.calls.clear();
        posted.clear();
        widget.ButtonClick(c.id);
        PumpMessages();
        EXPECT_EQ(owner.calls, c.calls) << c.id;
        EXPECT_EQ(posted, c.posted) << c.id;
    }
}

} // namespace
