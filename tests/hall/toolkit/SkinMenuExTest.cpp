// The skinned menu's item drawing on a memory canvas: background, separator
// groove, icons by kind from the picture or the image list, and the image
// list kept from the first load.
#include <SkinAttribute.h>
#include <SkinMenuEx.h>
#include <SkinTestSupport.h>

#include <gtest/gtest.h>

#include <string>

using namespace skintest;

namespace
{
const COLORREF kItemBack = RGB(0xE4, 0xF2, 0xFD);
const COLORREF kPicture = RGB(250, 200, 10);
// Colours a 16-bit image list keeps exactly.
const COLORREF kList[3] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255)};
const COLORREF kOtherList = RGB(90, 90, 90);
const UINT kCommand = 501;

class SkinMenuExTest : public testing::Test
{
protected:
    void SetUp() override
    {
        Pixels strip(48, 16, RGB(255, 0, 255));
        for (int i = 0; i < 3; ++i)
            strip.Fill(i * 16, 0, 16, 16, kList[i]);
        m_strList = m_folder.WriteBmp("icons.bmp", strip);
        m_strOther = m_folder.WriteBmp("other.bmp", Pixels(48, 16, kOtherList));
        HBITMAP hBitmap = MakeDib(Pixels(12, 12, kPicture));
        m_menu.SetMenuImage(hBitmap, 12, 12, RGB(255, 0, 255));
        ::DeleteObject(hBitmap);
    }

    // Draws one item (0, 0)-(200, cy) and answers the canvas.
    void Draw(Canvas& canvas, MENUITEM& item, int cy, UINT nState = 0)
    {
        DRAWITEMSTRUCT dis = {};
        dis.CtlType = ODT_MENU;
        dis.itemID = item.nID;
        dis.itemAction = ODA_DRAWENTIRE;
        dis.itemState = nState;
        dis.hDC = canvas.Dc();
        dis.rcItem = CRect(0, 0, 200, cy);
        dis.itemData = (ULONG_PTR)&item;
        m_menu.DrawItem(&dis);
    }

    TempFolder m_folder;
    std::string m_strList, m_strOther;
    CSkinMenuEx m_menu;
};

TEST_F(SkinMenuExTest, IconByKind)
{
    ASSERT_TRUE(m_menu.LoadImageList(m_strList.c_str(), 16, 16));
    const COLORREF kStrip = CSkinAttribute::m_crBackground;
    struct Case
    {
        const char* name;
        bool bEntry;
        int nKind, nValue;
        COLORREF crAtIcon; // at (6, 3)
    } cases[] = {
        {"no entry", false, 0, 0, kStrip},     {"kind 6", true, 6, 0, kStrip},
        {"kind 0", true, 0, 1, kStrip},        {"picture", true, 1, 0, kPicture},
        {"list kind 2", true, 2, 0, kList[0]}, {"list kind 3", true, 3, 1, kList[1]},
        {"list kind 5", true, 5, 2, kList[2]},
    };
    UINT nID = kCommand;
    for (const Case& c : cases) {
        ++nID;
        if (c.bEntry)
            m_menu.SetItemImage(nID, c.nKind, c.nValue);
        char szText[] = "Item";
        MENUITEM item = {szText, nID, 0};
        Canvas canvas(200, 22, RGB(1, 2, 3));
        Draw(canvas, item, 22);
        EXPECT_EQ(c.crAtIcon, canvas.At(6, 3)) << c.name;
        // The icon starts at x 5; the strip shows left of it.
        EXPECT_EQ(kStrip, canvas.At(4, 3)) << c.name;
        // Right of the strip: the item background.
        EXPECT_EQ(kItemBack, canvas.At(199, 1)) << c.name;
    }
    // The picture sits two pixels down, image-list icons at the top.
    m_menu.SetItemImage(kCommand, 1, 0);
    char szText[] = "Picture";
    MENUITEM item = {szText, kCommand, 0};
    Canvas canvas(200, 22, RGB(1, 2, 3));
    Draw(canvas, item, 22);
    EXPECT_EQ(kStrip, canvas.At(6, 1));
    EXPECT_EQ(kPicture, canvas.At(5, 2));
    EXPECT_EQ(kPicture, canvas.At(16, 13));
    EXPECT_EQ(kStrip, canvas.At(17, 13));
}

TEST_F(SkinMenuExTest, SeparatorGrooveRightOfStrip)
{
    ASSERT_EQ(24, m_menu.GetLeftWidth());
    MENUITEM item = {NULL, 0, 0};
    Canvas canvas(200, 6, RGB(1, 2, 3));
    Draw(canvas, item, 6);
    // Groove at the middle: top = 6 / 2 - 1, two rows, x 26 .. 197.
    EXPECT_EQ(RGB(0xC5, 0xE5, 0xFE), canvas.At(26, 2));
    EXPECT_EQ(RGB(0xC5, 0xE5, 0xFE), canvas.At(100, 2));
    EXPECT_EQ(RGB(0xFE, 0xFE, 0xFE), canvas.At(100, 3));
    EXPECT_EQ(kItemBack, canvas.At(25, 2));
    EXPECT_EQ(kItemBack, canvas.At(198, 2));
    EXPECT_EQ(kItemBack, canvas.At(100, 1));
    EXPECT_EQ(kItemBack, canvas.At(100, 4));
}

TEST_F(SkinMenuExTest, ImageListKeptFromFirstLoad)
{
    EXPECT_FALSE(m_menu.LoadImageList(m_folder.Path("missing.bmp").c_str(), 16, 16));
    EXPECT_EQ(HIMAGELIST(NULL), m_menu.GetImageList()->GetSafeHandle());
    ASSERT_TRUE(m_menu.LoadImageList(m_strList.c_str(), 16, 16));
    HIMAGELIST hFirst = m_menu.GetImageList()->GetSafeHandle();
    EXPECT_FALSE(m_menu.LoadImageList(m_strOther.c_str(), 16, 16));
    EXPECT_EQ(hFirst, m_menu.GetImageList()->GetSafeHandle());
    EXPECT_EQ(3, m_menu.GetImageList()->GetImageCount());

    m_menu.SetItemImage(kCommand, 2, 1);
    char szText[] = "Item";
    MENUITEM item = {szText, kCommand, 0};
    Canvas canvas(200, 22, RGB(1, 2, 3));
    Draw(canvas, item, 22);
    EXPECT_EQ(kList[1], canvas.At(6, 3));
}

TEST_F(SkinMenuExTest, LongCaptionIsCut)
{
    // Longer than the caption buffer, ending in double-byte characters.
    std::string caption(1020, 'a');
    for (int i = 0; i < 20; ++i)
        caption += "汉";
    MENUITEM item = {&caption[0], kCommand, 0};
    Canvas canvas(200, 22, RGB(1, 2, 3));
    Draw(canvas, item, 22, ODS_SELECTED);
    EXPECT_EQ(1060u, caption.size());
    EXPECT_NE(RGB(1, 2, 3), canvas.At(100, 11));
}
} // namespace

namespace
{
// Ends the menu from its first drawn item, so the loop needs no timing.
class EndingMenu : public CSkinMenuEx
{
public:
    int nDrawn = 0;
    UINT nFirstId = 0;
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override
    {
        CSkinMenuEx::DrawItem(lpDrawItemStruct);
        if (nDrawn++ == 0) {
            nFirstId = lpDrawItemStruct->itemID;
            ::EndMenu();
        }
    }
};

void CALLBACK GiveUp(HWND, UINT, UINT_PTR, DWORD)
{
    ::EndMenu();
}

TEST(SkinMenuExTracking, RealMenuDrawsThroughOwnerDraw)
{
    RecordingParent owner;
    ASSERT_TRUE(owner.CreateParent(200, 200));
    EndingMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendMenu(MF_STRING, kCommand, "Open");
    menu.AppendMenu(MF_SEPARATOR);
    menu.AppendMenu(MF_STRING, kCommand + 1, "Close");
    ASSERT_TRUE(menu.ChangeStyle(&menu));
    // Only a safety net: a menu that never draws still ends.
    UINT_PTR nTimer = ::SetTimer(NULL, 0, 5000, GiveUp);
    ::TrackPopupMenu(menu.GetSafeHmenu(), TPM_RETURNCMD, 10, 10, 0, owner.m_hWnd, NULL);
    ::KillTimer(NULL, nTimer);
    EXPECT_GT(menu.nDrawn, 0);
    owner.DestroyWindow();
    menu.DestroyMenu();
}
} // namespace
