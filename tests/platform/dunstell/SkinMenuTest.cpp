// Skinned menus: items turned into owner-drawn records, their measures and
// their drawing into a memory DC, the left strip picture, bitmap loading.
#include <SkinAttribute.h>
#include <SkinMenu.h>
#include <SkinTestSupport.h>

#include <AfxModalScript.h>

#include <gtest/gtest.h>

using namespace skintest;

namespace
{
MENUITEMINFOA ItemInfo(HMENU hMenu, UINT nPos)
{
    MENUITEMINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_ID;
    ::GetMenuItemInfoA(hMenu, nPos, TRUE, &info);
    return info;
}

MENUITEM* RecordOf(HMENU hMenu, UINT nPos)
{
    return reinterpret_cast<MENUITEM*>(ItemInfo(hMenu, nPos).dwItemData);
}

class SkinMenuTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_menu.CreatePopupMenu());
        m_menu.AppendMenu(MF_STRING, 1525, "负分清零");
        m_menu.AppendMenu(MF_SEPARATOR);
        m_menu.AppendMenu(MF_STRING, 1527, "查找玩家\tCtrl+F");
    }

    DRAWITEMSTRUCT DrawStruct(HDC hDC, UINT nPos, const RECT& rc, UINT nState)
    {
        DRAWITEMSTRUCT dis = {};
        dis.CtlType = ODT_MENU;
        dis.itemID = ItemInfo(m_menu, nPos).wID;
        dis.itemState = nState;
        dis.hwndItem = (HWND)m_menu.m_hMenu;
        dis.hDC = hDC;
        dis.rcItem = rc;
        dis.itemData = ItemInfo(m_menu, nPos).dwItemData;
        return dis;
    }

    CSkinMenu m_menu;
};

TEST_F(SkinMenuTest, ChangeStyleGivesEveryItemARecord)
{
    ASSERT_TRUE(m_menu.ChangeStyle(&m_menu));
    for (UINT i = 0; i < 3; ++i)
        EXPECT_TRUE(ItemInfo(m_menu, i).fType & MFT_OWNERDRAW) << i;
    ASSERT_NE(RecordOf(m_menu, 0), nullptr);
    EXPECT_STREQ(RecordOf(m_menu, 0)->pszText, "负分清零");
    EXPECT_EQ(RecordOf(m_menu, 0)->nID, 1525u);
    EXPECT_EQ(RecordOf(m_menu, 1)->nID, 0u);
    EXPECT_STREQ(RecordOf(m_menu, 1)->pszText, "");
    EXPECT_STREQ(RecordOf(m_menu, 2)->pszText, "查找玩家\tCtrl+F");
    // The commands keep their ids.
    EXPECT_EQ(m_menu.GetMenuItemID(2), 1527u);

    MEASUREITEMSTRUCT mis = {};
    mis.CtlType = ODT_MENU;
    mis.itemData = ItemInfo(m_menu, 1).dwItemData;
    m_menu.MeasureItem(&mis);
    EXPECT_EQ(mis.itemHeight, (UINT)CSkinMenu::kSeparatorHeight);
    mis.itemData = ItemInfo(m_menu, 2).dwItemData;
    m_menu.MeasureItem(&mis);
    EXPECT_EQ(mis.itemHeight, (UINT)CSkinMenu::kItemHeight);
    EXPECT_GT(mis.itemWidth, (UINT)m_menu.GetLeftWidth());
}

TEST_F(SkinMenuTest, ATestReadsTheSkinnedMenuAndPicksACommand)
{
    // The captions stay readable after the items became owner-drawn.
    ASSERT_TRUE(m_menu.ChangeStyle(&m_menu));
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, NULL, "", WS_POPUP, 0, 0, 10, 10, NULL, NULL));
    CModalScript script;
    std::vector<AFX_MENU_ITEM> items;
    script.Then([&](AFX_MODAL_REQUEST& r) {
        items = r.menuItems;
        EXPECT_STREQ(r.strClassName, "CSkinMenu");
        const AFX_MENU_ITEM* pItem = r.FindMenuItem("查找玩家");
        return pItem != nullptr ? (INT_PTR)pItem->nID : 0;
    });
    EXPECT_EQ(m_menu.TrackPopupMenu(TPM_RETURNCMD | TPM_RIGHTBUTTON, 0, 0, &owner), 1527);
    ASSERT_EQ(items.size(), 3u);
    EXPECT_STREQ(items[0].strText, "负分清零");
    EXPECT_EQ(items[0].nID, 1525u);
    EXPECT_TRUE(items[0].nState & MF_OWNERDRAW);
    EXPECT_FALSE(items[1].IsEnabledCommand()); // the drawn separator
    EXPECT_STREQ(items[2].strText, "查找玩家\tCtrl+F");
    owner.DestroyWindow();
}

TEST_F(SkinMenuTest, ItemsDrawTheirStripHighlightAndSeparator)
{
    ASSERT_TRUE(m_menu.ChangeStyle(&m_menu));
    const int nLeft = m_menu.GetLeftWidth();
    ASSERT_EQ(nLeft, CSkinMenu::kDefaultLeftWidth);
    Canvas canvas(120, 60, RGB(1, 2, 3));

    DRAWITEMSTRUCT separator = DrawStruct(canvas.GetSafeHdc(), 1, RECT{0, 0, 120, 6}, 0);
    m_menu.DrawItem(&separator);
    EXPECT_EQ(canvas.At(nLeft + 2, 2), CSkinAttribute::m_crBorder); // the groove at the middle
    EXPECT_EQ(canvas.At(nLeft + 2, 3), RGB(255, 255, 255));
    EXPECT_EQ(canvas.At(nLeft + 1, 2), RGB(255, 255, 255));
    EXPECT_EQ(canvas.At(116, 2), CSkinAttribute::m_crBorder);
    EXPECT_EQ(canvas.At(117, 2), RGB(255, 255, 255));
    EXPECT_EQ(canvas.At(5, 2), CSkinAttribute::m_crBackground); // the strip without a picture

    DRAWITEMSTRUCT selected = DrawStruct(canvas.GetSafeHdc(), 0, RECT{0, 10, 120, 32}, ODS_SELECTED);
    m_menu.DrawItem(&selected);
    EXPECT_EQ(canvas.At(119, 20), RGB(255, 255, 255));
    EXPECT_EQ(canvas.At(118, 20), CSkinAttribute::m_crBorder);
    EXPECT_EQ(canvas.At(117, 12), CSkinAttribute::m_crHighlight);

    DRAWITEMSTRUCT plain = DrawStruct(canvas.GetSafeHdc(), 2, RECT{0, 32, 120, 54}, 0);
    m_menu.DrawItem(&plain);
    EXPECT_EQ(canvas.At(117, 34), RGB(255, 255, 255));
    EXPECT_EQ(canvas.At(2, 34), CSkinAttribute::m_crBackground);
}

TEST_F(SkinMenuTest, TheLeftStripPictureRunsDownTheMenu)
{
    TempFolder folder;
    Pixels strip(30, 40, RGB(0, 0, 100));
    strip.Fill(0, 20, 30, 20, RGB(0, 100, 0));
    ASSERT_TRUE(m_menu.SetImageList(folder.WriteBmp("strip.bmp", strip).c_str()));
    EXPECT_EQ(m_menu.GetLeftWidth(), 30);
    Canvas canvas(60, 100, RGB(1, 2, 3));
    m_menu.DrawImageLeft(canvas.DC(), CRect(0, 30, 60, 52)); // rows 30..51 of the strip, then again from 0
    EXPECT_EQ(canvas.At(10, 30), RGB(0, 100, 0));
    EXPECT_EQ(canvas.At(29, 39), RGB(0, 100, 0));
    EXPECT_EQ(canvas.At(10, 40), RGB(0, 0, 100));
    EXPECT_EQ(canvas.At(30, 40), RGB(1, 2, 3));

    EXPECT_FALSE(m_menu.SetImageList(folder.Path("missing.bmp").c_str()));
    EXPECT_EQ(m_menu.GetLeftWidth(), CSkinMenu::kDefaultLeftWidth);
}

TEST_F(SkinMenuTest, SubMenusAreChangedAndAMenuBarKeepsItsText)
{
    CMenu bar;
    ASSERT_TRUE(bar.CreateMenu());
    CMenu popup;
    ASSERT_TRUE(popup.CreatePopupMenu());
    popup.AppendMenu(MF_STRING, 1425, "常见问题");
    HMENU hPopup = popup.Detach();
    bar.AppendMenu(MF_POPUP, (UINT_PTR)hPopup, "帮助");

    CSkinMenu skin;
    ASSERT_TRUE(skin.ChangeStyle(&bar, TRUE, TRUE));
    EXPECT_FALSE(ItemInfo(bar, 0).fType & MFT_OWNERDRAW);
    CMenu* pSub = CMenu::FromHandlePermanent(hPopup);
    ASSERT_NE(pSub, nullptr);
    EXPECT_NE(dynamic_cast<CSkinMenu*>(pSub), nullptr);
    EXPECT_TRUE(ItemInfo(hPopup, 0).fType & MFT_OWNERDRAW);
    EXPECT_STREQ(RecordOf(hPopup, 0)->pszText, "常见问题");
    skin.DestroyMenu();
    EXPECT_EQ(CMenu::FromHandlePermanent(hPopup), nullptr);
    bar.DestroyMenu();
}

TEST(SkinMenuBitmap, LoadFileBmpGivesABitmapOrNull)
{
    TempFolder folder;
    HBITMAP hBitmap = CSkinMenu::LoadFileBmp(folder.WriteBmp("list.bmp", Pixels(32, 16, RGB(5, 6, 7))).c_str());
    ASSERT_NE(hBitmap, (HBITMAP)NULL);
    BITMAP bm;
    ASSERT_EQ(GetObject(hBitmap, sizeof(bm), &bm), (int)sizeof(bm));
    EXPECT_EQ(bm.bmWidth, 32);
    EXPECT_EQ(bm.bmHeight, 16);
    DeleteObject(hBitmap);
    EXPECT_EQ(CSkinMenu::LoadFileBmp(folder.Path("missing.bmp").c_str()), (HBITMAP)NULL);
    EXPECT_EQ(CSkinMenu::LoadFileBmp(NULL), (HBITMAP)NULL);
}
} // namespace
