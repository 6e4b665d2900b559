// The shop's item page and the owned-item bar as real windows.
#include <afxwin.h>

#include "AfxModalScript.h"
#include "MessagePump.h"
#include "ShopItemFrame.h"
#include "ShopTestSupport.h"

#include <gtest/gtest.h>

namespace
{

class ShopViews : public testing::Test
{
protected:
    void SetUp() override
    {
        SolidPicture(tile, 120, 140);
        SolidPicture(button, 80, 20);
        SolidPicture(background, 388, 355);
        ASSERT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(0), "parent", WS_POPUP, CRect(0, 0, 600, 500), NULL, 0));
    }
    void TearDown() override
    {
        if (frame.GetSafeHwnd() != NULL)
            frame.DestroyWindow();
        if (bar.GetSafeHwnd() != NULL)
            bar.DestroyWindow();
        parent.DestroyWindow();
        CMyShopItem::s_Now = [] { return (LONGLONG)::time(NULL); };
    }
    void MakePage(int nItems)
    {
        for (int i = 1; i <= nItems; i++)
            AddShopItem(manager, (WORD)i, SHOP_PAGE_CATEGORY, true);
        frame.InitItemFrame(&manager, &background, &tile, &button, &button, &button, &images);
        ASSERT_TRUE(frame.Create(NULL, NULL, WS_CHILD | WS_VISIBLE, CRect(0, 0, 388, 355), &parent, 1001));
    }
    std::vector<int> VisibleTiles()
    {
        std::vector<int> shown;
        for (INT_PTR i = 0; i < frame.GetTileCount(); i++)
            if (frame.GetTile(i)->IsVisible())
                shown.push_back((int)i);
        return shown;
    }

    CItemShopManager manager;
    CImageCfgArray images;
    CPicture tile, button, background;
    CUseRecorder parent;
    CShopItemFrame frame;
    CMyShopItem bar;
    COwnItemList owned;
};

TEST_F(ShopViews, SevenItemsPageBySix)
{
    MakePage(7);
    EXPECT_EQ(frame.GetPageCount(), 2);
    EXPECT_EQ(VisibleTiles(), (std::vector<int>{0, 1, 2, 3, 4, 5}));
    EXPECT_FALSE(frame.GetNextButton().IsDisabled());
    EXPECT_TRUE(frame.GetPrevButton().IsDisabled());
    // Clicked as the pointer would: down and up on the next button.
    CButtonWidget& next = frame.GetNextButton();
    CPoint ptNext(next.Left() + 2, next.Top() + 2);
    frame.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(ptNext.x, ptNext.y));
    frame.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(ptNext.x, ptNext.y));
    EXPECT_EQ(frame.GetCurrentPage(), 1);
    EXPECT_EQ(VisibleTiles(), std::vector<int>{6});
    EXPECT_TRUE(frame.GetNextButton().IsDisabled());
    EXPECT_FALSE(frame.GetPrevButton().IsDisabled());
    frame.ButtonClick(1002);
    EXPECT_EQ(VisibleTiles(), (std::vector<int>{0, 1, 2, 3, 4, 5}));
    EXPECT_TRUE(frame.GetPrevButton().IsDisabled());
    // The seventh tile sits where the first does.
    EXPECT_EQ(frame.GetTile(6)->Left(), frame.GetTile(0)->Left());
    EXPECT_EQ(frame.GetTile(6)->Top(), frame.GetTile(0)->Top());
}

TEST_F(ShopViews, OnePageKeepsBothButtonsOff)
{
    MakePage(6);
    EXPECT_EQ(frame.GetPageCount(), 1);
    EXPECT_TRUE(frame.GetNextButton().IsDisabled());
    frame.ButtonClick(1001);
    EXPECT_EQ(frame.GetCurrentPage(), 0);
}

TEST_F(ShopViews, CardIsPlacedInsideThePage)
{
    const CRect client(0, 0, 388, 355);
    struct
    {
        CPoint point;
        int height;
        CRect placed;
    } cases[] = {
        {{10, 10}, 50, {20, 20, 172, 70}},
        {{300, 10}, 50, {143, 25, 295, 75}},  // flipped left
        {{10, 330}, 50, {25, 275, 177, 325}}, // flipped up
        {{300, 330}, 50, {143, 275, 295, 325}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CShopItemFrame::PlaceCard(client, c.point, c.height), c.placed) << c.point.x << "," << c.point.y;
}

TEST_F(ShopViews, CardOpensAfterItsDelayOnceAndClosesOutsideThePicture)
{
    CShopItemFrame::s_nCardDelay = 1;
    MakePage(3);
    CRect box = frame.GetTile(1)->GetPictureRect();
    CPoint inside = box.CenterPoint();
    frame.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(inside.x, inside.y));
    EXPECT_EQ(frame.GetHoverIndex(), 1);
    ASSERT_TRUE(PumpUntil([&] { return frame.GetCard().GetSafeHwnd() != NULL; }));
    HWND hCard = frame.GetCard().GetSafeHwnd();
    EXPECT_TRUE(frame.GetCard().GetStyle() & WS_VISIBLE);
    CRect rcCard;
    frame.GetCard().GetWindowRect(&rcCard);
    frame.ScreenToClient(&rcCard);
    EXPECT_EQ(rcCard.TopLeft(), CPoint(inside.x + 10, inside.y + 10));
    CString text = frame.GetCard().GetDescription();
    EXPECT_EQ(std::string((LPCSTR)text), "说明文字");
    // Moving within the picture keeps the same card.
    frame.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(inside.x + 1, inside.y));
    PumpMessages();
    EXPECT_EQ(frame.GetCard().GetSafeHwnd(), hCard);
    // Below the picture, still on the tile: the card goes.
    frame.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(inside.x, box.bottom + 5));
    EXPECT_EQ(frame.GetCard().GetSafeHwnd(), (HWND)NULL);
    CShopItemFrame::s_nCardDelay = 300;
}

TEST_F(ShopViews, BarShowsOnlyItemsStillUsable)
{
    const LONGLONG now = 1700000000;
    CMyShopItem::s_Now = [now] { return now; };
    AddShopItem(manager, 1, 3, true);
    AddShopItem(manager, 2, 3, true);
    AddShopItem(manager, 3, 3, false);
    AddShopItem(manager, 4, 3, false);
    owned.Add({1, 0, 0});       // used up
    owned.Add({2, 3, 0});       // three left
    owned.Add({3, 0, now - 1}); // expired a second ago
    owned.Add({4, 0, now});     // expires this second
    owned.Add({9, 5, 0});       // not in the catalogue
    manager.SetOwnItems(&owned);
    bar.SetSlotCount(8);
    bar.InitItemBar(&manager, &button, &button, &background, NULL, NULL, NULL, NULL, &images, true);
    ASSERT_EQ(bar.GetItemCount(), 2);
    EXPECT_EQ(bar.GetItem(0).pItem->GetItemId(), 2);
    EXPECT_EQ(bar.GetItem(1).pItem->GetItemId(), 4);
    // Used up since, and a record that went away.
    owned[1].wCount = 0;
    owned.RemoveAt(3);
    bar.RefreshItems();
    EXPECT_EQ(bar.GetItemCount(), 0);
}

TEST_F(ShopViews, OneRowBarPagesByColumn)
{
    for (WORD i = 1; i <= 7; i++) {
        AddShopItem(manager, i, 3, true);
        owned.Add({i, 1, 0});
    }
    manager.SetOwnItems(&owned);
    bar.SetSlotCount(3);
    bar.InitItemBar(&manager, &button, &button, NULL, &button, &button, &button, &button, &images, false);
    EXPECT_EQ(bar.GetPageCount(), 3);
    EXPECT_FALSE(bar.GetNextButton().IsDisabled());
    EXPECT_TRUE(bar.GetPrevButton().IsDisabled());
    for (int i = 0; i < 4; i++)
        bar.ButtonClick(1001);
    EXPECT_EQ(bar.GetFirstColumn(), 4);
    EXPECT_TRUE(bar.GetNextButton().IsDisabled());
    EXPECT_FALSE(bar.GetItem(3).cbShown);
    EXPECT_TRUE(bar.GetItem(4).cbShown);
    EXPECT_TRUE(bar.GetItem(6).cbShown);
    // The item under a slot follows the column.
    EXPECT_EQ(bar.HitItem(bar.GetSlotRect(0).CenterPoint()), 4);
}

// Pages are counted over all items, so a refresh while paged on keeps the
// column (six items in three slots are two pages wherever the bar stands).
TEST_F(ShopViews, ARefreshWhilePagedKeepsTheColumn)
{
    for (WORD i = 1; i <= 6; i++) {
        AddShopItem(manager, i, 3, true);
        owned.Add({i, 1, 0});
    }
    manager.SetOwnItems(&owned);
    bar.SetSlotCount(3);
    bar.InitItemBar(&manager, &button, &button, NULL, &button, &button, &button, &button, &images, false);
    for (int i = 0; i < 3; i++)
        bar.ButtonClick(1001);
    ASSERT_EQ(bar.GetFirstColumn(), 3);
    bar.RefreshItems();
    EXPECT_EQ(bar.GetPageCount(), 2);
    EXPECT_EQ(bar.GetFirstColumn(), 3);
    EXPECT_FALSE(bar.GetPrevButton().IsDisabled());
    EXPECT_FALSE(bar.GetItem(2).cbShown);
    EXPECT_TRUE(bar.GetItem(5).cbShown);
}

TEST_F(ShopViews, ConfirmedUseInOneRowGoesToTheParent)
{
    CItemCfg* pCounted = AddShopItem(manager, 1, 3, true);
    AddShopItem(manager, 2, 3, false);
    owned.Add({1, 2, 0});
    owned.Add({2, 0, 0x7FFFFFFF});
    manager.SetOwnItems(&owned);
    struct
    {
        bool twoRow;
        int slot;
        INT_PTR answer;
        bool useMode;
        size_t sent;
    } cases[] = {
        {false, 0, IDOK, true, 1},
        {false, 0, IDCANCEL, true, 0},
        {false, 1, IDOK, false, 1}, // a time-limited item: buy mode
        {true, 0, IDOK, false, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.slot);
        parent.used.clear();
        if (bar.GetSafeHwnd() != NULL)
            bar.DestroyWindow();
        bar.SetSlotCount(4);
        bar.InitItemBar(&manager, &button, &button, &background, &button, &button, &button, &button, &images, c.twoRow);
        ASSERT_TRUE(bar.Create(NULL, NULL, WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 90), &parent, 1002));
        bool bUseShown = false;
        CModalScript script;
        script.Then([&](AFX_MODAL_REQUEST& r) {
            CWnd* pUse = r.pWnd != NULL ? r.pWnd->GetDlgItem(1006) : NULL;
            bUseShown = pUse != NULL && pUse->IsWindowVisible();
            return c.answer;
        });
        CPoint point = bar.GetSlotRect(c.slot).CenterPoint();
        bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(point.x, point.y));
        ASSERT_EQ(script.Count(), 1u);
        EXPECT_EQ(bUseShown, c.useMode);
        ASSERT_EQ(parent.used.size(), c.sent);
        if (c.sent == 1 && c.slot == 0) {
            EXPECT_EQ(parent.used[0], pCounted);
        }
    }
}

} // namespace
