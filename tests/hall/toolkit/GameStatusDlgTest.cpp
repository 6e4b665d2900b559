// The game status window run modally and driven by the modal responder: its
// shape and text box from the picture, the dot cycle, keys that must not
// close it, a nested ShowStatus and CloseStatus.
#include <AfxModalScript.h>
#include <GameStatusDlg.h>
#include <GlobalUnits.h>
#include <SkinTestSupport.h>

#include <gtest/gtest.h>

using namespace skintest;

namespace
{
const COLORREF kBody = RGB(40, 120, 200);

class GameStatusDlgTest : public testing::Test
{
protected:
    void SetUp() override { g_GlobalUnits.SetWorkDirectory(m_folder.Path("").c_str()); }
    void WritePicture(int cx, int cy)
    {
        ::CreateDirectoryA(m_folder.Path("Res").c_str(), NULL);
        ::CreateDirectoryA(m_folder.Path("Res\\Addin").c_str(), NULL);
        ::CreateDirectoryA(m_folder.Path("Res\\Addin\\GameStatus").c_str(), NULL);
        Pixels pixels(cx, cy, kBody);
        pixels.Fill(0, 0, 4, 4, RGB(255, 0, 255)); // a cut corner
        m_folder.WriteBmp("Res\\Addin\\GameStatus\\gamestatus.png", pixels);
    }
    TempFolder m_folder;
};

TEST(GameStatusTextRect, SignedFromPictureSize)
{
    struct Case
    {
        int cx, cy;
        CRect expected;
    } cases[] = {
        {400, 150, CRect(158, 89, 442, 113)},
        {284, 24, CRect(100, 5, 384, 29)},
        // Narrower than the box: left of the picture's middle, not far off.
        {200, 60, CRect(58, 29, 342, 53)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, CGameStatusDlg::TextRectFor(c.cx, c.cy)) << c.cx << "x" << c.cy;
}

TEST_F(GameStatusDlgTest, RunsShapedWithDotCycleUntilClosed)
{
    WritePicture(400, 150);
    CGameStatusDlg dlg;
    HWND hNested = NULL;
    CModalScript script;
    script.Then([&](AFX_MODAL_REQUEST& r) {
        HWND hWnd = r.pWnd->GetSafeHwnd();
        CRect rcWindow;
        ::GetWindowRect(hWnd, &rcWindow);
        EXPECT_EQ(CSize(400, 150), rcWindow.Size());
        EXPECT_FALSE(RegionHolds(hWnd, 1, 1));
        EXPECT_TRUE(RegionHolds(hWnd, 10, 10));
        EXPECT_EQ(CRect(158, 89, 442, 113), dlg.GetTextRect());
        {
            Snapshot shot(hWnd);
            EXPECT_EQ(kBody, shot.At(200, 20));
        }

        // 0 -> 6 dots, then back to none.
        const char* expected[] = {"游戏正在启动.",     "游戏正在启动..",     "游戏正在启动...", "游戏正在启动....",
                                  "游戏正在启动.....", "游戏正在启动......", "游戏正在启动"};
        for (const char* text : expected) {
            ::SendMessage(hWnd, WM_TIMER, CGameStatusDlg::kTimerDots, 0);
            EXPECT_STREQ(text, (LPCSTR)dlg.GetStatusText());
        }

        // Enter and Escape reach OnOK and OnCancel, which keep it open.
        ::SendMessage(hWnd, WM_COMMAND, IDOK, 0);
        ::SendMessage(hWnd, WM_COMMAND, IDCANCEL, 0);
        EXPECT_TRUE(::IsWindow(hWnd));

        hNested = dlg.ShowStatus();
        EXPECT_EQ(hWnd, hNested);

        dlg.CloseStatus();
        // CloseStatus killed the dot timer.
        EXPECT_FALSE(::KillTimer(hWnd, CGameStatusDlg::kTimerDots));
        return CModalScript::keepRunning;
    });
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    EXPECT_NE(HWND(NULL), hNested);
    ASSERT_EQ(1u, script.Count());
    EXPECT_EQ(UINT(CGameStatusDlg::IDD), script.At(0).nIDTemplate);
    EXPECT_EQ(0, script.Unexpected());

    // It can be shown again.
    script.Then([&](AFX_MODAL_REQUEST&) {
        EXPECT_EQ(0, dlg.GetDotCount());
        dlg.CloseStatus();
        return CModalScript::keepRunning;
    });
    EXPECT_EQ(HWND(NULL), dlg.ShowStatus());
    EXPECT_EQ(2u, script.Count());
}

TEST_F(GameStatusDlgTest, MissingPictureStartsNoTimer)
{
    CGameStatusDlg dlg;
    CModalScript script;
    script.Then([&](AFX_MODAL_REQUEST& r) {
        HWND hWnd = r.pWnd->GetSafeHwnd();
        EXPECT_FALSE(::KillTimer(hWnd, CGameStatusDlg::kTimerDots));
        EXPECT_TRUE(dlg.GetTextRect().IsRectEmpty());
        EXPECT_FALSE(HasWindowRegion(hWnd));
        dlg.CloseStatus();
        return CModalScript::keepRunning;
    });
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    EXPECT_EQ(0, script.Unexpected());
}
} // namespace
