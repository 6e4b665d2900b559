// The small skinned controls in a test parent: focus taken on hover, the
// combo box's look states, outline and arrow frames, the radio button's
// check state against its repainting and its pictures, and the one-pixel
// border outside a control.
#include <ControlBorder.h>
#include <GlobalUnits.h>
#include <RadioButton.h>
#include <SkinComboxEx.h>
#include <SkinControlsEx.h>
#include <SkinImage.h>
#include <SkinTestSupport.h>

#include <gtest/gtest.h>

#include <string>

using namespace skintest;

namespace
{
const COLORREF kFrames[4] = {RGB(200, 0, 0), RGB(0, 200, 0), RGB(0, 0, 200), RGB(100, 100, 100)};

bool HasUpdate(HWND hWnd)
{
    return ::GetUpdateRect(hWnd, NULL, FALSE) != FALSE;
}

class ControlsTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_parent.CreateParent(400, 300));
        ASSERT_TRUE(m_edit.Create(WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(10, 200, 110, 220), &m_parent, 900));
    }
    void TearDown() override { m_parent.DestroyWindow(); }

    TempFolder m_folder;
    RecordingParent m_parent;
    CEditWnd m_edit;
};

TEST_F(ControlsTest, ButtonsTakeFocusOnHoverUnlessKeeperVisible)
{
    CSkinButtonEx skinButton;
    CRgnButtonEx rgnButton;
    CWnd keeper;
    ASSERT_TRUE(skinButton.Create("a", WS_CHILD | WS_VISIBLE, CRect(10, 10, 60, 30), &m_parent, 901));
    ASSERT_TRUE(rgnButton.Create("b", WS_CHILD | WS_VISIBLE, CRect(10, 40, 60, 60), &m_parent, 902));
    ASSERT_TRUE(keeper.Create("STATIC", "", WS_CHILD, CRect(200, 10, 250, 30), &m_parent, 903));

    struct Case
    {
        const char* name;
        CWnd* pButton;
        CWnd* pKeeper;
        bool bKeeperVisible;
        bool bTakesFocus;
    } cases[] = {
        {"skin button", &skinButton, NULL, false, true},
        {"region button, no keeper", &rgnButton, NULL, false, true},
        {"region button, hidden keeper", &rgnButton, &keeper, false, true},
        {"region button, visible keeper", &rgnButton, &keeper, true, false},
    };
    for (const Case& c : cases) {
        rgnButton.SetFocusKeeper(c.pKeeper);
        keeper.ShowWindow(c.bKeeperVisible ? SW_SHOWNA : SW_HIDE);
        m_edit.SetFocus();
        ASSERT_EQ(m_edit.m_hWnd, ::GetFocus()) << c.name;
        c.pButton->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
        EXPECT_EQ(c.bTakesFocus ? c.pButton->m_hWnd : m_edit.m_hWnd, ::GetFocus()) << c.name;
    }
}

class ComboTest : public ControlsTest
{
protected:
    void SetUp() override
    {
        ControlsTest::SetUp();
        g_GlobalUnits.SetWorkDirectory(m_folder.Path("").c_str());
        ::CreateDirectoryA(m_folder.Path("Res").c_str(), NULL);
        ::CreateDirectoryA(m_folder.Path("Res\\Common").c_str(), NULL);
        ::CreateDirectoryA(m_folder.Path("Res\\Common\\button").c_str(), NULL);
        Pixels arrow(4 * 16, 16, 0);
        for (int i = 0; i < 4; ++i)
            arrow.Fill(i * 16, 0, 16, 16, kFrames[i]);
        m_folder.WriteBmp("Res\\Common\\button\\arrow.bmp", arrow);
        ASSERT_TRUE(m_combo.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, CRect(10, 10, 160, 200), &m_parent, 910));
        m_combo.AddString("one");
        m_combo.SetCurSel(0);
    }
    void TearDown() override
    {
        m_combo.ShowDropDown(FALSE);
        ControlsTest::TearDown();
    }
    // The arrow frame drawn for the current look state.
    COLORREF ArrowColour()
    {
        CRect rc;
        m_combo.GetWindowRect(&rc);
        Canvas canvas(rc.Width(), rc.Height(), RGB(1, 2, 3));
        m_combo.DrawSkin(canvas.Cdc());
        // The arrow's right edge is two pixels inside the inner outline.
        return canvas.At(rc.Width() - 1 - 1 - 16 + 3, 5);
    }
    CSkinComboxEx m_combo;
};

TEST_F(ComboTest, LookFollowsPointerAndPicksArrowFrame)
{
    EXPECT_EQ(CString(m_folder.Path("Res\\Common\\button\\arrow.bmp").c_str()), m_combo.GetArrowFile());
    struct Step
    {
        UINT message;
        int nLook;
    } steps[] = {
        {0, CSkinComboxEx::lookNormal},
        {WM_MOUSEMOVE, CSkinComboxEx::lookHot},
        {WM_LBUTTONDOWN, CSkinComboxEx::lookPressed},
        {WM_LBUTTONUP, CSkinComboxEx::lookPressed},
        {WM_MOUSEMOVE, CSkinComboxEx::lookHot},
        {WM_LBUTTONUP, CSkinComboxEx::lookPressed},
        {WM_MOUSELEAVE, CSkinComboxEx::lookNormal},
    };
    for (const Step& s : steps) {
        if (s.message != 0)
            m_combo.SendMessage(s.message, s.message == WM_LBUTTONDOWN ? MK_LBUTTON : 0, MAKELPARAM(5, 5));
        if (s.message == WM_LBUTTONDOWN)
            m_combo.ShowDropDown(FALSE);
        EXPECT_EQ(s.nLook, m_combo.GetLookState()) << s.message;
        EXPECT_EQ(kFrames[s.nLook], ArrowColour()) << s.message;
    }
}

TEST_F(ComboTest, OutlinesAndOwnArrowFile)
{
    Pixels other(4 * 16, 16, RGB(7, 77, 177));
    m_combo.m_strArrowFile = m_folder.WriteBmp("mine.bmp", other).c_str();
    CRect rc;
    m_combo.GetWindowRect(&rc);
    Canvas canvas(rc.Width(), rc.Height(), RGB(1, 2, 3));
    m_combo.DrawSkin(canvas.Cdc());
    EXPECT_EQ(RGB(0xC2, 0xFF, 0xFF), canvas.At(0, 0));
    EXPECT_EQ(RGB(0xC2, 0xFF, 0xFF), canvas.At(rc.Width() - 1, rc.Height() - 1));
    EXPECT_EQ(RGB(0x00, 0x65, 0x99), canvas.At(1, 1));
    EXPECT_EQ(RGB(0x00, 0x65, 0x99), canvas.At(rc.Width() - 2, rc.Height() - 2));
    EXPECT_EQ(RGB(1, 2, 3), canvas.At(5, 5));
    EXPECT_EQ(RGB(7, 77, 177), canvas.At(rc.Width() - 1 - 1 - 16 + 3, 5));
}

TEST_F(ComboTest, PaintingLeavesNothingToRepaint)
{
    m_combo.Invalidate(TRUE);
    m_combo.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    m_combo.UpdateWindow();
    EXPECT_FALSE(HasUpdate(m_combo.m_hWnd));
}

class RadioTest : public ControlsTest
{
protected:
    void SetUp() override
    {
        ControlsTest::SetUp();
        Pixels checked(20, 10, kFrames[0]);
        checked.Fill(10, 0, 10, 10, kFrames[1]);
        Pixels unchecked(20, 10, kFrames[2]);
        unchecked.Fill(10, 0, 10, 10, kFrames[3]);
        m_checked.SetLoadInfo(m_folder.WriteBmp("on.bmp", checked).c_str());
        m_unchecked.SetLoadInfo(m_folder.WriteBmp("off.bmp", unchecked).c_str());
        ASSERT_TRUE(
            m_radio.Create("", WS_CHILD | WS_VISIBLE | BS_RADIOBUTTON, CRect(10, 100, 110, 120), &m_parent, 920));
        m_radio.SetImages(&m_checked, &m_unchecked);
    }
    CSkinImage m_checked, m_unchecked;
    CRadioButton m_radio;
};

TEST_F(RadioTest, CheckStateWithoutRepaintSetCheckedRepaints)
{
    EXPECT_EQ((DWORD)BS_OWNERDRAW, m_radio.GetStyle() & BS_TYPEMASK);
    m_radio.UpdateWindow();
    ASSERT_FALSE(HasUpdate(m_radio.m_hWnd));
    EXPECT_EQ(1, (int)m_radio.SendMessage(BM_SETCHECK, BST_CHECKED));
    EXPECT_EQ(1, (int)m_radio.SendMessage(BM_GETCHECK));
    EXPECT_FALSE(HasUpdate(m_radio.m_hWnd));

    m_radio.SetChecked(false);
    EXPECT_EQ(0, (int)m_radio.SendMessage(BM_GETCHECK));
    EXPECT_TRUE(HasUpdate(m_radio.m_hWnd));
}

TEST_F(RadioTest, FrameByCheckAndEnabledState)
{
    struct Case
    {
        bool bChecked, bEnabled;
        COLORREF crFace;
    } cases[] = {
        {true, true, kFrames[0]},
        {true, false, kFrames[1]},
        {false, true, kFrames[2]},
        {false, false, kFrames[3]},
    };
    for (const Case& c : cases) {
        m_radio.SendMessage(BM_SETCHECK, c.bChecked ? BST_CHECKED : BST_UNCHECKED);
        m_radio.EnableWindow(c.bEnabled);
        Snapshot shot(m_radio.m_hWnd);
        EXPECT_EQ(c.crFace, shot.At(2, 2)) << c.bChecked << c.bEnabled;
        EXPECT_EQ(RGB(0xF2, 0xFA, 0xFF), shot.At(2, 15));
    }
}

TEST_F(RadioTest, DottedFocusFrameOnlyWhileFocused)
{
    auto blackOnTopEdge = [this]() {
        Snapshot shot(m_radio.m_hWnd);
        int n = 0;
        for (int x = 13; x < 97; ++x)
            n += shot.At(x, 0) == RGB(0, 0, 0);
        return n;
    };
    EXPECT_EQ(0, blackOnTopEdge());
    m_radio.SetFocus();
    EXPECT_TRUE(m_radio.IsFocused());
    EXPECT_GT(blackOnTopEdge(), 10);
    m_edit.SetFocus();
    EXPECT_FALSE(m_radio.IsFocused());
    EXPECT_EQ(0, blackOnTopEdge());
}

TEST_F(ControlsTest, BorderOnePixelOutsideControl)
{
    CRect rc = ControlBorderRect(m_edit.m_hWnd);
    EXPECT_EQ(CRect(9, 199, 111, 221), rc);
    Canvas canvas(400, 300, RGB(1, 2, 3));
    DrawControlBorder(canvas.Dc(), rc);
    const COLORREF kBorder = RGB(0x01, 0x41, 0x4D);
    EXPECT_EQ(kBorder, canvas.At(9, 199));
    EXPECT_EQ(kBorder, canvas.At(110, 220));
    EXPECT_EQ(kBorder, canvas.At(60, 220));
    EXPECT_EQ(RGB(1, 2, 3), canvas.At(60, 210));
    EXPECT_EQ(RGB(1, 2, 3), canvas.At(111, 221));
}
} // namespace
