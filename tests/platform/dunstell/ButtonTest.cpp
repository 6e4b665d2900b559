// Skinned buttons: the region button cut from its picture and its four
// states, the button set before its window exists, the plain push button
// without a picture, check boxes that draw themselves.
#include <RgnButton.h>
#include <SkinTestSupport.h>

#include <gtest/gtest.h>

using namespace skintest;

namespace
{
const COLORREF kButtonMagenta = RGB(255, 0, 255);
const COLORREF kStates[4] = {RGB(200, 0, 0), RGB(0, 200, 0), RGB(0, 0, 200), RGB(100, 100, 100)};
const COLORREF kParent = RGB(10, 20, 30);
const UINT kButtonId = 1001;

// Four 20 x 16 states, each with 2 x 2 magenta corners.
Pixels FourStates()
{
    Pixels p(80, 16, kButtonMagenta);
    for (int s = 0; s < 4; ++s) {
        p.Fill(20 * s + 2, 0, 16, 16, kStates[s]);
        p.Fill(20 * s, 2, 20, 12, kStates[s]);
    }
    return p;
}

CSize WindowSize(CWnd& wnd)
{
    CRect rc;
    wnd.GetWindowRect(&rc);
    return rc.Size();
}

class ButtonTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_parent.CreateParent(200, 100, kParent));
        m_picture = m_folder.WriteBmp("button.bmp", FourStates());
    }
    void TearDown() override { m_parent.DestroyWindow(); }

    COLORREF FaceColour(CWnd& button)
    {
        // Clear of the corners and the caption.
        Snapshot shot(button.m_hWnd);
        return shot.At(10, 1);
    }

    TempFolder m_folder;
    std::string m_picture;
    RecordingParent m_parent;
};

TEST_F(ButtonTest, RegionButtonIsCutFromItsPictureAndDrawsItsStates)
{
    CRgnButton button;
    ASSERT_TRUE(button.Create("", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, CRect(10, 10, 110, 60), &m_parent, kButtonId));
    ASSERT_TRUE(button.LoadRgnImage(m_picture.c_str(), kButtonMagenta));
    EXPECT_EQ(WindowSize(button), CSize(20, 16));
    EXPECT_EQ(button.GetStyle() & BS_TYPEMASK, (DWORD)BS_OWNERDRAW);

    struct
    {
        int x, y;
        bool inside;
    } shape[] = {{0, 0, false},   {1, 1, false},  {2, 0, true}, {0, 2, true},
                 {19, 15, false}, {17, 15, true}, {10, 8, true}};
    for (const auto& p : shape) {
        SCOPED_TRACE(testing::Message() << p.x << "," << p.y);
        EXPECT_EQ(RegionHolds(button.m_hWnd, p.x, p.y), p.inside);
    }

    EXPECT_EQ(FaceColour(button), kStates[0]);
    button.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(10, 8));
    EXPECT_EQ(FaceColour(button), kStates[1]);
    button.SendMessage(BM_SETSTATE, TRUE);
    EXPECT_EQ(FaceColour(button), kStates[2]);
    button.SendMessage(BM_SETSTATE, FALSE);
    button.SendMessage(WM_MOUSELEAVE);
    EXPECT_EQ(FaceColour(button), kStates[0]);
    button.EnableWindow(FALSE);
    EXPECT_EQ(FaceColour(button), kStates[3]);
    // The key colour is never drawn.
    Snapshot shot(button.m_hWnd);
    EXPECT_NE(shot.At(0, 0), kButtonMagenta);

    button.EnableWindow(TRUE);
    button.SendMessage(BM_CLICK);
    EXPECT_EQ(m_parent.Count(WM_COMMAND, BN_CLICKED), 1);
}

TEST_F(ButtonTest, APictureSetBeforeTheWindowAppliesWhenItIsSubclassed)
{
    HWND hWnd = ::CreateWindowExA(0, "BUTTON", "", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 5, 5, 60, 30, m_parent.m_hWnd,
                                  (HMENU)(UINT_PTR)kButtonId, NULL, NULL);
    ASSERT_NE(hWnd, (HWND)NULL);
    CRgnButton button;
    EXPECT_TRUE(button.LoadRgnImage(m_picture.c_str()));
    ASSERT_TRUE(button.SubclassDlgItem(kButtonId, &m_parent));
    EXPECT_EQ(WindowSize(button), CSize(20, 16));
    EXPECT_FALSE(RegionHolds(hWnd, 0, 0));
    EXPECT_EQ(FaceColour(button), kStates[0]);
}

TEST_F(ButtonTest, WithoutAPictureItIsAPlainPushButton)
{
    CRgnButton button;
    ASSERT_TRUE(
        button.Create("确定", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, CRect(10, 10, 90, 40), &m_parent, kButtonId));
    EXPECT_FALSE(button.LoadRgnImage(m_folder.Path("missing.bmp").c_str()));
    EXPECT_EQ(WindowSize(button), CSize(80, 30));
    EXPECT_EQ(button.GetStyle() & BS_TYPEMASK, (DWORD)BS_PUSHBUTTON);
    EXPECT_FALSE(HasWindowRegion(button.m_hWnd));
    Snapshot shot(button.m_hWnd, RGB(1, 2, 3));
    EXPECT_NE(shot.At(40, 15), RGB(1, 2, 3)); // the system drew it
    button.SendMessage(BM_CLICK);
    EXPECT_EQ(m_parent.Count(WM_COMMAND, BN_CLICKED), 1);
}

// A button whose owner keeps the selected state, as tab buttons do.
class CSelectedButton : public CSkinButton
{
public:
    BOOL m_bSelected = FALSE;
    BOOL GetButtonChecked() override { return m_bSelected; }
};

TEST_F(ButtonTest, CheckBoxesKeepTheirStateOnceTheyDrawThemselves)
{
    CSkinButton check;
    ASSERT_TRUE(
        check.Create("记住密码", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, CRect(0, 0, 60, 20), &m_parent, kButtonId));
    ASSERT_TRUE(check.SetButtonImage(m_picture.c_str()));
    EXPECT_EQ(check.SendMessage(BM_GETCHECK), BST_UNCHECKED);
    EXPECT_EQ(FaceColour(check), kStates[0]);

    check.SendMessage(BM_CLICK);
    EXPECT_EQ(check.SendMessage(BM_GETCHECK), BST_CHECKED);
    EXPECT_EQ(m_parent.Count(WM_COMMAND, BN_CLICKED), 1);
    EXPECT_EQ(FaceColour(check), kStates[2]);
    check.SendMessage(BM_CLICK);
    EXPECT_EQ(check.SendMessage(BM_GETCHECK), BST_UNCHECKED);
    check.SendMessage(BM_SETCHECK, BST_CHECKED);
    EXPECT_EQ(FaceColour(check), kStates[2]);

    CSelectedButton tab;
    ASSERT_TRUE(tab.Create("", WS_CHILD | WS_VISIBLE, CRect(0, 30, 60, 50), &m_parent, kButtonId + 1));
    ASSERT_TRUE(tab.SetButtonImage(m_picture.c_str(), true));
    EXPECT_EQ(WindowSize(tab), CSize(60, 20)); // stretched, size kept
    EXPECT_EQ(FaceColour(tab), kStates[0]);
    tab.m_bSelected = TRUE;
    EXPECT_EQ(FaceColour(tab), kStates[2]);
}
} // namespace
