// The loading animation: sized to its picture over the owner, frames 0 and
// 1 in turn on the timer, drawn without erasing; nothing without picture.
#include "WebTestSupport.h"

#include "WebLoadingDlg.h"

#include <MemoryCanvas.h>
#include <TempFolder.h>
#include <gtest/gtest.h>

namespace
{

// A 4 x 2 two-frame GIF: a red frame, then a green one.
const BYTE kTwoFrames[] = {0x47, 0x49, 0x46, 0x38, 0x39, 0x61, 0x04, 0x00, 0x02, 0x00, 0x81, 0x00, 0x00, 0xFF, 0x00,
                           0x00, 0x00, 0xFF, 0x00, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0x21, 0xF9, 0x04, 0x04, 0x0F,
                           0x00, 0x00, 0x00, 0x2C, 0x00, 0x00, 0x00, 0x00, 0x04, 0x00, 0x02, 0x00, 0x00, 0x02, 0x03,
                           0x84, 0x6F, 0x05, 0x00, 0x21, 0xF9, 0x04, 0x04, 0x0F, 0x00, 0x00, 0x00, 0x2C, 0x00, 0x00,
                           0x00, 0x00, 0x04, 0x00, 0x02, 0x00, 0x00, 0x02, 0x03, 0x8C, 0x6F, 0x05, 0x00, 0x3B};

class WebLoadingDlgTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_strSavedFolder = g_GlobalUnits.GetWorkDirectory();
        ASSERT_TRUE(g_GlobalUnits.SetWorkDirectory(m_folder.Path().c_str()));
        ASSERT_TRUE(m_owner.CreateEx(0, "STATIC", "", WS_POPUP | WS_VISIBLE, CRect(100, 100, 300, 200), NULL, 0));
    }
    void TearDown() override
    {
        m_owner.DestroyWindow();
        g_GlobalUnits.SetWorkDirectory(m_strSavedFolder.c_str());
    }
    COLORREF Painted(CWebLoadingDlg& dlg)
    {
        CMemoryCanvas canvas(4, 2, RGB(1, 2, 3));
        canvas.Print(dlg.m_hWnd, PRF_CLIENT);
        return canvas.At(2, 1);
    }

    CTempFolder m_folder;
    std::string m_strSavedFolder;
    CWnd m_owner;
};

TEST_F(WebLoadingDlgTest, FramesTakeTurnsOverTheOwner)
{
    m_folder.Write("Res\\loading_ani.gif", std::vector<BYTE>(kTwoFrames, kTwoFrames + sizeof(kTwoFrames)));
    CWebLoadingDlg dlg;
    ASSERT_TRUE(dlg.Create(&m_owner));
    ASSERT_TRUE(dlg.GetPicture().IsValid());
    CRect rc;
    dlg.GetWindowRect(&rc);
    EXPECT_EQ(rc.Size(), CSize(4, 2));
    EXPECT_EQ(rc.TopLeft(), CPoint(198, 149)); // centred on the owner
    EXPECT_EQ(dlg.GetFrameIndex(), -1);

    const int expected[] = {0, 1, 0, 1};
    for (int nFrame : expected) {
        dlg.SendMessage(WM_TIMER, CWebLoadingDlg::kTimerFrame);
        EXPECT_EQ(dlg.GetFrameIndex(), nFrame);
        EXPECT_EQ(Painted(dlg), nFrame == 0 ? RGB(255, 0, 0) : RGB(0, 255, 0));
    }
    EXPECT_TRUE(dlg.KillTimer(CWebLoadingDlg::kTimerFrame));
    dlg.DestroyWindow();
}

TEST_F(WebLoadingDlgTest, WithoutThePictureNothingRuns)
{
    CWebLoadingDlg dlg;
    ASSERT_TRUE(dlg.Create(&m_owner));
    EXPECT_FALSE(dlg.GetPicture().IsValid());
    CRect rc;
    dlg.GetWindowRect(&rc);
    EXPECT_GT(rc.Width(), 4); // the template's own size
    EXPECT_FALSE(dlg.KillTimer(CWebLoadingDlg::kTimerFrame));
    EXPECT_EQ(Painted(dlg), RGB(1, 2, 3));
    dlg.DestroyWindow();
}

} // namespace
