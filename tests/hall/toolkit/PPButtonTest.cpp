// The image button: its size and shape from the picture, its four states,
// hover and focus, a failed load, and what it leaves alone: the shared
// button class and the button type it replaces.
#include <PPButton.h>
#include <PictureMemFile.h>
#include <SkinTestSupport.h>

#include <gtest/gtest.h>

using namespace skintest;

namespace
{
const COLORREF kStates[4] = {RGB(200, 0, 0), RGB(0, 200, 0), RGB(0, 0, 200), RGB(100, 100, 100)};
const UINT kButtonId = 1012;

Pixels FourStates(int cxState, int cy, int nExtra = 0)
{
    Pixels p(4 * cxState + nExtra, cy, RGB(9, 9, 9));
    for (int s = 0; s < 4; ++s)
        p.Fill(s * cxState, 0, cxState, cy, kStates[s]);
    return p;
}

class PPButtonTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_parent.CreateParent(300, 100));
        ASSERT_TRUE(m_button.Create("", WS_CHILD | WS_VISIBLE, CRect(9, 70, 9, 70), &m_parent, kButtonId));
    }
    void TearDown() override { m_parent.DestroyWindow(); }

    CRect ButtonRect()
    {
        CRect rc;
        m_button.GetWindowRect(&rc);
        m_parent.ScreenToClient(&rc);
        return rc;
    }
    COLORREF Face()
    {
        Snapshot shot(m_button.m_hWnd);
        return shot.At(2, 2);
    }

    TempFolder m_folder;
    RecordingParent m_parent;
    CPPButton m_button;
};

TEST_F(PPButtonTest, TakesOneStatesSizeAndDrawsEachState)
{
    EXPECT_EQ(m_button.GetImageWidth(), 0);
    ASSERT_TRUE(m_button.LoadImage(m_folder.WriteBmp("look.bmp", FourStates(20, 18)).c_str()));
    EXPECT_EQ(m_button.GetImageWidth(), 20);
    EXPECT_EQ(m_button.GetImageHeight(), 18);
    EXPECT_EQ(ButtonRect(), CRect(9, 70, 29, 88));
    EXPECT_EQ(m_button.GetStyle() & BS_TYPEMASK, (DWORD)BS_OWNERDRAW);
    EXPECT_TRUE(RegionHolds(m_button.m_hWnd, 19, 17));

    EXPECT_EQ(Face(), kStates[0]);
    m_button.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(Face(), kStates[1]);
    EXPECT_EQ(CWnd::GetFocus(), &m_button); // hovering takes the focus
    m_button.SendMessage(BM_SETSTATE, TRUE);
    EXPECT_EQ(Face(), kStates[2]);
    m_button.SendMessage(BM_SETSTATE, FALSE);
    // Disabled wins over hover.
    m_button.EnableWindow(FALSE);
    EXPECT_EQ(Face(), kStates[3]);
    m_button.EnableWindow(TRUE);
    m_button.SendMessage(WM_MOUSELEAVE);
    EXPECT_EQ(Face(), kStates[0]);
}

TEST_F(PPButtonTest, AWidthThatIsNoMultipleOfFourLosesTheRest)
{
    ASSERT_TRUE(m_button.LoadImage(m_folder.WriteBmp("odd.bmp", FourStates(20, 10, 3)).c_str()));
    EXPECT_EQ(m_button.GetImageWidth(), 20);
    EXPECT_EQ(ButtonRect().Width(), 20);
    m_button.EnableWindow(FALSE);
    EXPECT_EQ(Face(), kStates[3]);
}

TEST_F(PPButtonTest, TheShapeComesFromThePicturesVisiblePixels)
{
    // A PNG whose top-left 4 x 4 pixels are transparent.
    HBITMAP hDib = MakeDib(FourStates(20, 18));
    DIBSECTION dib;
    ASSERT_EQ(GetObject(hDib, sizeof(dib), &dib), (int)sizeof(dib));
    DWORD* bits = static_cast<DWORD*>(dib.dsBm.bmBits);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            bits[y * 80 + x] = 0;
    CPicture picture;
    ASSERT_TRUE(picture.CreateFromHBITMAP(hDib));
    DeleteObject(hDib);
    CPictureMemFile png;
    ASSERT_TRUE(picture.Encode(png, PICTURE_TYPE_PNG));
    std::vector<BYTE> bytes(png.GetBuffer(), png.GetBuffer() + png.GetSize());

    ASSERT_TRUE(m_button.LoadImage(m_folder.Write("shaped.png", bytes).c_str()));
    EXPECT_FALSE(RegionHolds(m_button.m_hWnd, 0, 0));
    EXPECT_FALSE(RegionHolds(m_button.m_hWnd, 3, 3));
    EXPECT_TRUE(RegionHolds(m_button.m_hWnd, 4, 0));
    EXPECT_TRUE(RegionHolds(m_button.m_hWnd, 19, 17));
}

TEST_F(PPButtonTest, AFileThatIsNoPictureChangesNothing)
{
    ASSERT_TRUE(m_button.LoadImage(m_folder.WriteBmp("look.bmp", FourStates(20, 18)).c_str()));
    const CRect rcBefore = ButtonRect();
    EXPECT_FALSE(m_button.LoadImage(m_folder.Write("text.bmp", std::vector<BYTE>(40, 'x')).c_str()));
    EXPECT_EQ(ButtonRect(), rcBefore);
    EXPECT_TRUE(RegionHolds(m_button.m_hWnd, 19, 17));
    EXPECT_FALSE(m_button.LoadImage(m_folder.Path("missing.png").c_str()));
    EXPECT_EQ(ButtonRect(), rcBefore);
}

TEST_F(PPButtonTest, TheSharedButtonClassKeepsItsBrush)
{
    // Every button of the process shares the "Button" class: give it a brush
    // of our own, set an image button up, and the brush must still be there.
    HWND hPlain = CreateWindowExA(0, "BUTTON", "", WS_CHILD, 0, 0, 10, 10, m_parent.m_hWnd, NULL, NULL, NULL);
    HBRUSH hMarker = GetSysColorBrush(COLOR_INFOBK);
    const ULONG_PTR original = SetClassLongPtrA(hPlain, GCLP_HBRBACKGROUND, (LONG_PTR)hMarker);
    CPPButton second;
    ASSERT_TRUE(second.Create("", WS_CHILD, CRect(0, 0, 0, 0), &m_parent, kButtonId + 1));
    HWND hOther = CreateWindowExA(0, "BUTTON", "", WS_CHILD, 0, 0, 10, 10, m_parent.m_hWnd, NULL, NULL, NULL);
    CPPButton third;
    ASSERT_TRUE(third.SubclassWindow(hOther));
    EXPECT_EQ(GetClassLongPtrA(hPlain, GCLP_HBRBACKGROUND), (ULONG_PTR)hMarker);
    SetClassLongPtrA(hPlain, GCLP_HBRBACKGROUND, (LONG_PTR)original);
    DestroyWindow(hPlain);
}

TEST_F(PPButtonTest, SubclassingReplacesTheButtonType)
{
    // A radio button's type ORed with the owner-draw type would be no type at all.
    HWND hRadio = CreateWindowExA(0, "BUTTON", "", WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON, 50, 10, 60, 20,
                                  m_parent.m_hWnd, (HMENU)(UINT_PTR)(kButtonId + 2), NULL, NULL);
    CPPButton radio;
    ASSERT_TRUE(radio.SubclassWindow(hRadio));
    EXPECT_EQ(radio.GetStyle() & BS_TYPEMASK, (DWORD)BS_OWNERDRAW);
    EXPECT_TRUE(radio.LoadImage(m_folder.WriteBmp("look.bmp", FourStates(16, 16)).c_str()));
    Snapshot shot(hRadio);
    EXPECT_EQ(shot.At(2, 2), kStates[0]);
}
} // namespace
