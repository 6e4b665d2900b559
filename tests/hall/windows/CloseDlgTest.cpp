// The close dialog: its banner's time window and what its buttons end it
// with; the about dialog made once.
#include <gtest/gtest.h>

#include <afxtest.h>
#include <afxwin.h>

#include <string>

#include "AfxModalScript.h"
#include "CloseDlg.h"
#include "FrameTestSupport.h"
#include "GlobalOption.h"
#include "GlobalUnits.h"
#include "MenuWnd.h"
#include "SkinTestSupport.h"

namespace
{

class CloseDlgTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_savedWork = g_GlobalUnits.GetWorkDirectory();
        g_GlobalUnits.SetWorkDirectory(folder.Path().c_str());
        AfxSetTestClock(1000, CTime(2026, 6, 15, 12, 0, 0));
    }
    void TearDown() override
    {
        AfxClearTestClock();
        g_GlobalUnits.SetWorkDirectory(m_savedWork);
    }
    void WriteBanner(const char* begin, const char* end, const char* file)
    {
        folder.Write("Res\\Close\\ADBanner\\closebannercfg.xml",
                     std::string("<Banner><Version>3</Version><Begin>") + begin + "</Begin><End>" + end +
                         "</End><Filename>" + file + "</Filename><URL>http://ads.invalid/close</URL></Banner>");
        g_GlobalOption.LoadBannerConfig();
    }
    // Runs the dialog; the action sees it live and answers its result.
    INT_PTR Run(std::function<INT_PTR(CCloseDlg&)> action)
    {
        CModalScript script;
        script.Then([&](AFX_MODAL_REQUEST& request) { return action(*static_cast<CCloseDlg*>(request.pWnd)); });
        CCloseDlg dialog;
        return dialog.DoModal();
    }

    skintest::TempFolder folder;
    CallLog log;
    RecordingApp app{log};

private:
    CString m_savedWork;
};

TEST_F(CloseDlgTest, BannerOnlyInsideItsTimeWindow)
{
    folder.WriteBmp("Res\\promo.bmp", skintest::Pixels(20, 10, RGB(1, 2, 3)));
    const struct
    {
        const char* begin;
        const char* end;
        const char* file;
        bool link;
    } cases[] = {
        {"2026-06-01 00:00:00", "2026-06-30 00:00:00", "promo.bmp", true},
        {"2026-06-01 00:00:00", "2026-06-10 00:00:00", "promo.bmp", false},
        {"2026-06-20 00:00:00", "2026-06-30 00:00:00", "promo.bmp", false},
        {"2026-06-15 12:00:00", "2026-06-30 00:00:00", "promo.bmp", false},
        {"2026-06-01 00:00:00", "2026-06-30 00:00:00", "missing.bmp", false},
    };
    for (const auto& c : cases) {
        WriteBanner(c.begin, c.end, c.file);
        bool link = false;
        CString target;
        Run([&](CCloseDlg& dialog) {
            link = dialog.IsBannerLink();
            target = dialog.GetBannerLink();
            return (INT_PTR)IDCANCEL;
        });
        EXPECT_EQ(link, c.link) << c.begin << " " << c.end << " " << c.file;
        EXPECT_STREQ(target, c.link ? "http://ads.invalid/close" : "");
    }
}

TEST_F(CloseDlgTest, ButtonsAndWhatTheyEndWith)
{
    WriteBanner("2000-01-01 00:00:00", "2000-01-02 00:00:00", "none.bmp");
    const struct
    {
        int button;
        INT_PTR result;
        const char* calls;
    } cases[] = {
        {IDC_CLOSE_QUIT, IDOK, "logoff;"},
        // Switching account is the frame's, after the dialog has ended.
        {IDC_CLOSE_SWITCH, CCloseDlg::kResultSwitchAccount, ""},
        {IDC_CLOSE_CANCEL, IDCANCEL, ""},
    };
    for (const auto& c : cases) {
        INT_PTR result = Run([&](CCloseDlg& dialog) {
            dialog.ButtonClick(c.button);
            return CModalScript::keepRunning;
        });
        EXPECT_EQ(result, c.result) << c.button;
        EXPECT_EQ(log.Take(), c.calls) << c.button;
    }

    // The buttons stand on one line 48 pixels above the bottom edge.
    Run([&](CCloseDlg& dialog) {
        CRect client;
        dialog.GetClientRect(&client);
        const int xs[] = {11, 137, 263};
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(dialog.GetButton(i).Left(), xs[i]);
            EXPECT_EQ(dialog.GetButton(i).Top(), client.bottom - 48);
        }
        return (INT_PTR)IDCANCEL;
    });
}

TEST(AboutDlg, MadeOnceShownAgain)
{
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(0), "", WS_POPUP, 0, 0, 100, 100, NULL, NULL));
    CMenuWnd menu;
    ASSERT_TRUE(menu.Create(NULL, NULL, WS_CHILD, CRect(0, 0, 0, 0), &parent, 0));
    menu.SendMessage(WM_COMMAND, IDM_ABOUT);
    HWND first = menu.GetAboutDlg().GetSafeHwnd();
    ASSERT_NE(first, (HWND)NULL);
    EXPECT_TRUE(::IsWindowVisible(first));
    menu.GetAboutDlg().ShowWindow(SW_HIDE);
    menu.SendMessage(WM_COMMAND, IDM_ABOUT);
    EXPECT_EQ(menu.GetAboutDlg().GetSafeHwnd(), first);
    EXPECT_TRUE(::IsWindowVisible(first));
    menu.GetAboutDlg().DestroyWindow();
    menu.DestroyWindow();
    parent.DestroyWindow();
}

} // namespace
