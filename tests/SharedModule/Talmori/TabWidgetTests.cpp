// Tab widgets: pages switched by their header buttons, inserted and deleted.
#include "WidgetTestSupport.h"

namespace
{

int s_nPagesAlive = 0;

// A page that paints itself in one colour and counts its instances.
class ColourPage : public CTabPageWidget
{
public:
    explicit ColourPage(COLORREF cr) : m_cr(cr) { ++s_nPagesAlive; }
    ~ColourPage() { --s_nPagesAlive; }
    void Draw(CWidgetDC* pDC) override { pDC->FillSolidRect(0, 0, m_nWidth, m_nHeight, m_cr); }

private:
    COLORREF m_cr;
};

struct TabPeek : CTabWidget
{
    static CArray<CTabPageWidget*, CTabPageWidget*> CTabWidget::*Pages() { return &TabPeek::m_Pages; }
    static CArray<CTabItemButtonWidget*, CTabItemButtonWidget*> CTabWidget::*Buttons() { return &TabPeek::m_Buttons; }
};

struct TabButtonPeek : CButtonWidget
{
    static int CButtonWidget::*Id() { return &TabButtonPeek::m_nID; }
};

class TabTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(host.Create(300, 200));
        tab.CreateListener(5, "games", enTabPositionTop);
        tab.Resize(0, 0, 300, 200);
        host.Manager().AddWidget(&tab);
        Add(-1, "一", RGB(200, 0, 0));
        Add(-1, "二", RGB(0, 200, 0));
        Add(7, "三", RGB(0, 0, 200)); // past the end: appended
        Place();
    }
    void TearDown() override
    {
        tab.DeleteAllItems();
        host.DestroyWindow();
    }

    void Add(int nIndex, const char* pszTitle, COLORREF cr) { tab.AddItem(nIndex, pszTitle, new ColourPage(cr)); }

    CTabPageWidget* Page(int i) { return (tab.*TabPeek::Pages())[i]; }
    CTabItemButtonWidget* Header(int i) { return (tab.*TabPeek::Buttons())[i]; }

    // The owner's job: headers in a row at the top, pages below them.
    void Place()
    {
        for (int i = 0; i < tab.GetItemCount(); ++i) {
            Header(i)->Resize(10 + 60 * i, 10, 50, 20);
            Page(i)->Resize(10, 40, 200, 100);
            tab.AddWidget(Header(i));
            tab.AddWidget(Page(i));
        }
    }

    // Which page is shown, by the colour at the page area.
    COLORREF Shown()
    {
        host.Paint();
        return Snapshot(host.Hwnd()).At(100, 90);
    }

    std::string Titles()
    {
        std::string s;
        for (int i = 0; i < tab.GetItemCount(); ++i) {
            s += Page(i)->GetPageTitle();
            if (Page(i)->GetPageID() != i || Header(i)->*TabButtonPeek::Id() != i)
                s += "!";
        }
        return s;
    }

    void CheckOnlyCurrentShown()
    {
        for (int i = 0; i < tab.GetItemCount(); ++i) {
            EXPECT_EQ(i == tab.GetCurSel(), Page(i)->IsVisible()) << i;
            EXPECT_EQ(i == tab.GetCurSel(), Header(i)->IsPushed() != FALSE) << i;
        }
    }

    TestHost host;
    CTabWidget tab;
};
} // namespace

TEST_F(TabTest, FirstTabIsSelectedAndOthersHidden)
{
    EXPECT_EQ(3, tab.GetItemCount());
    EXPECT_EQ(0, tab.GetCurSel());
    EXPECT_EQ("一二三", Titles());
    EXPECT_EQ(enTabPositionTop, tab.GetPosition());
    tab.SetPosition(enTabPositionLeft);
    EXPECT_EQ(enTabPositionLeft, tab.GetPosition());
    CheckOnlyCurrentShown();
    EXPECT_EQ(RGB(200, 0, 0), Shown());
}

TEST_F(TabTest, HeaderClicksSwitchPages)
{
    host.Click(135, 20); // third header
    EXPECT_EQ(2, tab.GetCurSel());
    CheckOnlyCurrentShown();
    EXPECT_EQ(RGB(0, 0, 200), Shown());

    // The selected tab's header reports nothing and stays pushed.
    host.Click(135, 20);
    EXPECT_EQ(2, tab.GetCurSel());
    CheckOnlyCurrentShown();

    host.Click(75, 20);
    EXPECT_EQ(1, tab.GetCurSel());
    EXPECT_EQ(RGB(0, 200, 0), Shown());
}

TEST_F(TabTest, SetCurSelOutOfRangeChangesNothing)
{
    EXPECT_TRUE(tab.SetCurSel(1));
    EXPECT_FALSE(tab.SetCurSel(3));
    EXPECT_FALSE(tab.SetCurSel(-1));
    EXPECT_EQ(1, tab.GetCurSel());
    CheckOnlyCurrentShown();
    EXPECT_EQ(RGB(0, 200, 0), Shown());
}

TEST_F(TabTest, InsertingRenumbersSoClicksSelectTheirOwnTab)
{
    tab.SetCurSel(1);
    Add(1, "新", RGB(200, 200, 0));
    Place();
    EXPECT_EQ("一新二三", Titles());
    EXPECT_EQ(2, tab.GetCurSel()); // still the page titled 二
    CheckOnlyCurrentShown();

    host.Click(195, 20); // fourth header: 三
    EXPECT_EQ(3, tab.GetCurSel());
    EXPECT_EQ(RGB(0, 0, 200), Shown());
    host.Click(75, 20);
    EXPECT_EQ(1, tab.GetCurSel());
    EXPECT_EQ(RGB(200, 200, 0), Shown());

    // At the front: selects it.
    Add(0, "首", RGB(0, 200, 200));
    Place();
    EXPECT_EQ("首一新二三", Titles());
    EXPECT_EQ(0, tab.GetCurSel());
    CheckOnlyCurrentShown();
    EXPECT_EQ(RGB(0, 200, 200), Shown());
}

TEST_F(TabTest, DeletingTakesTabsOutOfTheTree)
{
    const int nChildren = ChildCountOf(tab);
    ASSERT_EQ(6, nChildren);
    EXPECT_EQ(0, tab.DeleteItem(3));
    EXPECT_EQ(0, tab.DeleteItem(-1));

    // A tab before the current one: the current page stays.
    tab.SetCurSel(2);
    EXPECT_EQ(1, tab.DeleteItem(0));
    EXPECT_EQ(2, s_nPagesAlive);
    EXPECT_EQ(nChildren - 2, ChildCountOf(tab));
    EXPECT_EQ("二三", Titles());
    EXPECT_EQ(1, tab.GetCurSel());
    EXPECT_EQ(RGB(0, 0, 200), Shown());

    // The current tab: its neighbour before it takes over.
    EXPECT_EQ(1, tab.DeleteItem(1));
    EXPECT_EQ(0, tab.GetCurSel());
    CheckOnlyCurrentShown();
    EXPECT_EQ(RGB(0, 200, 0), Shown());
    host.Mouse(WM_MOUSEMOVE, 135, 20); // where a deleted header was
    host.Click(100, 90);

    // The first and current tab: the one after it.
    Add(-1, "四", RGB(100, 100, 0));
    Place();
    EXPECT_EQ(1, tab.DeleteItem(0));
    EXPECT_EQ("四", Titles());
    EXPECT_EQ(0, tab.GetCurSel());
    EXPECT_EQ(RGB(100, 100, 0), Shown());

    EXPECT_EQ(1, tab.DeleteItem(0));
    EXPECT_EQ(-1, tab.GetCurSel());
    EXPECT_EQ(0, tab.GetItemCount());
    EXPECT_EQ(0, ChildCountOf(tab));
    EXPECT_EQ(0, s_nPagesAlive);
    EXPECT_EQ(kBlack, Shown());
}

TEST_F(TabTest, DeleteAllItemsEmptiesEverything)
{
    host.Mouse(WM_MOUSEMOVE, 20, 20);
    host.Mouse(WM_LBUTTONDOWN, 20, 20, MK_LBUTTON); // a header holds the mouse
    tab.DeleteAllItems();
    host.Mouse(WM_LBUTTONUP, 20, 20);
    EXPECT_EQ(0, tab.GetItemCount());
    EXPECT_EQ(-1, tab.GetCurSel());
    EXPECT_EQ(0, ChildCountOf(tab));
    EXPECT_EQ(0, s_nPagesAlive);
    EXPECT_FALSE(tab.SetCurSel(0));

    // Without a page one is made; a page already held is not taken twice.
    tab.AddItem(0, "空", NULL);
    tab.AddItem(1, "again", Page(0));
    EXPECT_EQ(1, tab.GetItemCount());
    EXPECT_STREQ("空", Page(0)->GetPageTitle());
    EXPECT_EQ(0, tab.GetCurSel());
}
