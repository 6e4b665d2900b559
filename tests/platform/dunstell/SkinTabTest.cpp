// The skinned tab strip as a real window: layout and hit test, selection by
// click with its notices, the item windows, hover, the painted strip, and a
// class that is its own tab manager.
#include <SkinAttribute.h>
#include <SkinTab.h>
#include <SkinTestSupport.h>

#include <gtest/gtest.h>

using namespace skintest;

namespace
{
const UINT kTabId = 1007;

// Geometry of our own: buttons 40, 50, 60 ... long and 20 high, the row
// 4 pixels in and 3 down, 2 pixels of header below it.
class FixedPainter : public CSkinTabPaintManager
{
public:
    CRect GetHeaderMargin() override { return CRect(4, 3, 0, 2); }
    int GetButtonHeight(CSkinTabManager*) override { return 20; }
    int GetButtonLength(CDC*, CSkinTabItem* pItem) override { return 40 + 10 * pItem->GetIndex(); }
};

class SkinTabTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_parent.CreateParent(300, 200));
        ASSERT_TRUE(m_tab.Create(WS_VISIBLE, CRect(0, 0, 300, 200), &m_parent, kTabId));
        m_tab.GetTabManager()->SetPaintManager(new FixedPainter);
        const char* captions[] = {"玩家列表", "战队列表", "比赛"};
        for (int i = 0; i < 3; ++i) {
            m_pages[i].Create("", WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), &m_tab, 100 + i);
            m_tab.InsertItem(i, captions[i], m_pages[i].m_hWnd);
        }
    }
    void TearDown() override { m_parent.DestroyWindow(); }

    CSkinTabManager* Manager() { return m_tab.GetTabManager(); }
    int IndexAt(int x, int y)
    {
        CSkinTabItem* pItem = Manager()->HitTest(CPoint(x, y));
        return pItem != NULL ? pItem->GetIndex() : -1;
    }
    void Click(int x, int y) { m_tab.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y)); }

    RecordingParent m_parent;
    CSkinTab m_tab;
    CStatic m_pages[3];
};

TEST_F(SkinTabTest, ButtonsAreLaidOutAlongTheHeaderAndHitTested)
{
    ASSERT_EQ(Manager()->GetItemCount(), 3);
    EXPECT_EQ(Manager()->GetItem(0)->GetRect(), CRect(4, 3, 44, 23));
    EXPECT_EQ(Manager()->GetItem(1)->GetRect(), CRect(44, 3, 94, 23));
    EXPECT_EQ(Manager()->GetItem(2)->GetRect(), CRect(94, 3, 154, 23));
    EXPECT_EQ(Manager()->GetItem(2)->GetButtonLength(), 60);
    EXPECT_EQ(Manager()->GetHeaderRect(), CRect(0, 0, 300, 25));
    EXPECT_EQ(Manager()->GetPageRect(), CRect(0, 25, 300, 200));

    struct
    {
        int x, y, index;
    } hits[] = {
        {4, 3, 0},     {43, 22, 0}, {44, 10, 1}, {93, 10, 1},  {94, 3, 2},     {153, 22, 2},
        {154, 10, -1}, {3, 10, -1}, {10, 2, -1}, {10, 23, -1}, {100, 100, -1},
    };
    for (const auto& h : hits) {
        SCOPED_TRACE(testing::Message() << h.x << "," << h.y);
        EXPECT_EQ(IndexAt(h.x, h.y), h.index);
    }

    // A longer strip lays out again: the third button moves after a new first one.
    Manager()->InsertItem(0, "新", NULL);
    EXPECT_EQ(Manager()->GetItem(3)->GetRect(), CRect(154, 3, 224, 23));
    EXPECT_EQ(IndexAt(160, 10), 3);
}

TEST_F(SkinTabTest, AClickSelectsTellsTheParentAndShowsTheItemsWindow)
{
    // The first tab is selected from the start and shows its window in the client part.
    EXPECT_EQ(Manager()->GetCurSel(), 0);
    EXPECT_TRUE(m_pages[0].IsWindowVisible());
    EXPECT_FALSE(m_pages[1].IsWindowVisible());
    CRect rcPage;
    m_pages[0].GetWindowRect(&rcPage);
    m_tab.ScreenToClient(&rcPage);
    EXPECT_EQ(rcPage, CRect(0, 25, 300, 200));

    Click(100, 10);
    EXPECT_EQ(Manager()->GetCurSel(), 2);
    EXPECT_TRUE(Manager()->GetItem(2)->IsSelected());
    EXPECT_TRUE(m_pages[2].IsWindowVisible());
    EXPECT_FALSE(m_pages[0].IsWindowVisible());
    ASSERT_EQ(m_parent.messages.size(), 3u);
    EXPECT_EQ(m_parent.messages[0].nCode, (UINT)TCN_SELCHANGING);
    EXPECT_EQ(m_parent.messages[0].nID, kTabId);
    EXPECT_EQ(m_parent.messages[1].nCode, (UINT)TCN_SELCHANGE);
    EXPECT_EQ(m_parent.messages[2].message, (UINT)WM_SKINTAB_MOUSE);
    EXPECT_EQ(m_parent.messages[2].wParam, (WPARAM)WM_LBUTTONDOWN);
    EXPECT_EQ(m_parent.messages[2].lParam, MAKELPARAM(100, 10));

    // The selected tab again: no change to tell.
    m_parent.messages.clear();
    Click(100, 10);
    EXPECT_EQ(m_parent.Count(WM_NOTIFY, (UINT)TCN_SELCHANGE), 0);

    // The parent may keep the selection.
    m_parent.selChangingAnswer = TRUE;
    Click(50, 10);
    EXPECT_EQ(Manager()->GetCurSel(), 2);
    EXPECT_EQ(m_parent.Count(WM_NOTIFY, (UINT)TCN_SELCHANGE), 0);
    m_parent.selChangingAnswer = FALSE;

    // A disabled tab is not selected; a double click is only reported.
    Manager()->GetItem(1)->SetEnabled(FALSE);
    Click(50, 10);
    EXPECT_EQ(Manager()->GetCurSel(), 2);
    m_parent.messages.clear();
    m_tab.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(10, 10));
    ASSERT_EQ(m_parent.messages.size(), 1u);
    EXPECT_EQ(m_parent.messages[0].wParam, (WPARAM)WM_LBUTTONDBLCLK);

    // Selecting in code tells nobody.
    m_parent.messages.clear();
    Manager()->SetCurSel(0);
    EXPECT_TRUE(m_pages[0].IsWindowVisible());
    EXPECT_TRUE(m_parent.messages.empty());
}

TEST_F(SkinTabTest, HoverFollowsThePointerAndClearsWhenItLeaves)
{
    Manager()->PerformMouseMove(m_tab.m_hWnd, CPoint(50, 10));
    EXPECT_TRUE(Manager()->GetItem(1)->IsFocused());
    EXPECT_EQ(Manager()->GetFocusedItem(), Manager()->GetItem(1));
    Manager()->PerformMouseMove(m_tab.m_hWnd, CPoint(-1, -1));
    EXPECT_EQ(Manager()->GetFocusedItem(), nullptr);

    m_tab.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(100, 10));
    EXPECT_TRUE(Manager()->GetItem(2)->IsFocused());
    m_tab.SendMessage(WM_MOUSELEAVE);
    EXPECT_EQ(Manager()->GetFocusedItem(), nullptr);
}

TEST_F(SkinTabTest, ThePrintedStripShowsSelectedHotAndNormalButtons)
{
    CSkinTabPaintManager* pPainter = Manager()->GetPaintManager();
    Manager()->PerformMouseMove(m_tab.m_hWnd, CPoint(50, 10));
    Snapshot shot(m_tab.m_hWnd);
    // Inside each button, clear of its caption: 2 pixels in from the corner.
    EXPECT_EQ(shot.At(6, 5), pPainter->m_crButtonSelected);
    EXPECT_EQ(shot.At(46, 5), pPainter->m_crButtonHot);
    EXPECT_EQ(shot.At(96, 5), pPainter->m_crButton);
    EXPECT_EQ(shot.At(4, 10), pPainter->m_crBorder);
    EXPECT_EQ(shot.At(200, 10), pPainter->m_crHeader);
    EXPECT_EQ(shot.At(2, 1), pPainter->m_crHeader);

    // Header pictures replace the painter's header background.
    TempFolder folder;
    m_tab.SetSkinImage(CSkinTab::TAB_IMAGE_LEFT, folder.WriteBmp("l.bmp", Pixels(3, 25, RGB(1, 100, 1))).c_str());
    m_tab.SetSkinImage(CSkinTab::TAB_IMAGE_MID, folder.WriteBmp("m.bmp", Pixels(2, 25, RGB(2, 100, 2))).c_str());
    m_tab.SetSkinImage(CSkinTab::TAB_IMAGE_RIGHT, folder.WriteBmp("r.bmp", Pixels(5, 25, RGB(3, 100, 3))).c_str());
    Snapshot pictured(m_tab.m_hWnd);
    EXPECT_EQ(pictured.At(1, 1), RGB(1, 100, 1));
    EXPECT_EQ(pictured.At(200, 10), RGB(2, 100, 2));
    EXPECT_EQ(pictured.At(297, 10), RGB(3, 100, 3));
    EXPECT_EQ(pictured.At(6, 5), pPainter->m_crButtonSelected);
}

TEST_F(SkinTabTest, DeletingTheSelectedTabSelectsTheOneBefore)
{
    Manager()->SetCurSel(2);
    ASSERT_TRUE(Manager()->DeleteItem(2));
    EXPECT_EQ(Manager()->GetItemCount(), 2);
    EXPECT_EQ(Manager()->GetCurSel(), 1);
    EXPECT_TRUE(m_pages[1].IsWindowVisible());
    EXPECT_EQ(Manager()->FindItem(m_pages[1].m_hWnd), Manager()->GetItem(1));
    EXPECT_EQ(Manager()->FindItem(m_pages[2].m_hWnd), nullptr);
    EXPECT_FALSE(Manager()->DeleteItem(5));
}

TEST(SkinTabPainter, TheDefaultButtonGrowsWithItsCaption)
{
    CSkinTabManager manager;
    CSkinTabItem* pShort = manager.InsertItem(0, "a");
    CSkinTabItem* pLong = manager.InsertItem(1, "aaaaaaaa");
    manager.Reposition(CRect(0, 0, 400, 100));
    CRect rcMargin = manager.GetPaintManager()->GetButtonMargin();
    EXPECT_GT(pLong->GetButtonLength(), pShort->GetButtonLength());
    EXPECT_EQ(pShort->GetButtonLength(), pShort->GetContentLength() + rcMargin.left + rcMargin.right);
    EXPECT_EQ(pShort->GetRect().right, pLong->GetRect().left);
    EXPECT_EQ(pShort->GetRect().Height(), manager.GetPaintManager()->GetButtonHeight(&manager));
    EXPECT_NE(manager.GetPaintManager()->GetFont(0), manager.GetPaintManager()->GetBoldFont(0));
}

// A tab window that is its own manager, as the hall's tab strip is.
class CSelfManagedTab : public CSkinTab, public CSkinTabManager
{
public:
    CSkinTabItem* InsertItem(int nIndex, LPCTSTR pszCaption, HWND hWnd, int nImage, CSkinTabItem* pItem)
    {
        return CSkinTab::InsertItem(nIndex, pszCaption, hWnd, nImage, pItem);
    }
};

// An item of the caller's.
class CCallerItem : public CSkinTabItem
{};

TEST(SkinTabSelfManaged, TheWindowUsesTheObjectAsItsManager)
{
    RecordingParent parent;
    ASSERT_TRUE(parent.CreateParent(300, 100));
    CCallerItem ownItem;
    {
        CSelfManagedTab tab;
        ASSERT_TRUE(tab.Create(WS_VISIBLE, CRect(0, 0, 300, 100), &parent, kTabId));
        EXPECT_EQ(tab.GetTabManager(), static_cast<CSkinTabManager*>(&tab));
        tab.SetPaintManager(new FixedPainter);
        CSkinTabItem* pFirst = tab.InsertItem(0, "游戏大厅", NULL, -1, NULL);
        EXPECT_EQ(pFirst, tab.GetItem(0));
        EXPECT_EQ(tab.InsertItem(1, "房间", NULL, -1, &ownItem), &ownItem);
        EXPECT_EQ(tab.GetItemCount(), 2);
        EXPECT_EQ(ownItem.GetCaption(), "房间");
        EXPECT_EQ(tab.HitTest(CPoint(50, 10)), &ownItem);
        tab.PerformMouseMove(tab.m_hWnd, CPoint(50, 10));
        EXPECT_TRUE(ownItem.IsFocused());
        // An item already in a strip is refused.
        EXPECT_EQ(tab.InsertItem(2, "x", NULL, -1, &ownItem), nullptr);
    }
    // The caller's item outlives the strip, out of it.
    EXPECT_EQ(ownItem.GetTabManager(), nullptr);
    EXPECT_EQ(ownItem.GetIndex(), -1);
    parent.DestroyWindow();
}

TEST(SkinTabSelfManaged, ACallersItemGoingFirstLeavesTheStrip)
{
    CSkinTabManager manager;
    manager.InsertItem(0, "a");
    {
        CCallerItem item;
        manager.InsertItem(1, "b", NULL, -1, &item);
        manager.SetCurSel(1);
        EXPECT_EQ(manager.GetItemCount(), 2);
    }
    EXPECT_EQ(manager.GetItemCount(), 1);
    EXPECT_EQ(manager.GetCurSel(), 0);
}
} // namespace
