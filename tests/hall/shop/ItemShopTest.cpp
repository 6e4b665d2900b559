// The item shop as a real window with the hall data centre connected to the
// scripted hall server.
#include <winsock2.h>

#include "AfxModalScript.h"
#include "DataCenterTestSupport.h"
#include "GlobalOption.h"
#include "GlobalUnits.h"
#include "HallWindows.h"
#include "ItemShop.h"
#include "ItemShopNeighbours.h"
#include "RecordedLauncher.h"
#include "SkinTestSupport.h"
#include "ShopTestSupport.h"

#include <gtest/gtest.h>

#include <fstream>

namespace
{

// The room tab window: counts the item bar refreshes it is asked for.
class CRoomTabsDouble : public IRoomTabWnd
{
public:
    void ShowWebPage(LPCSTR, BYTE) override {}
    void OpenWebPage(LPCSTR, LPCSTR, BYTE) override {}
    bool EnterRoom(CGameRoom*, CGameTreeNode*) override { return false; }
    void ShowChannelDialog() override {}
    void CloseChannelDialog() override {}
    void SelectChannelGame(int) override {}
    void RefreshRoomItemBars() override { ++refreshed; }
    int refreshed = 0;
};

class ItemShop : public DataCenterTest
{
protected:
    void SetUp() override
    {
        DataCenterTest::SetUp();
        // The shop skin holds the boxes' icon.
        UseProgramFolder(m_Folder);
        std::string skin = m_Folder.Path() + "Res\\";
        CreateDirectoryA(skin.c_str(), NULL);
        skin += "ItemShop\\";
        CreateDirectoryA(skin.c_str(), NULL);
        char program[MAX_PATH] = "";
        GetModuleFileNameA(NULL, program, MAX_PATH);
        std::string icon(program);
        icon = icon.substr(0, icon.rfind('\\') + 1) + "shop_test.ico";
        ASSERT_TRUE(CopyFileA(icon.c_str(), (skin + "ico.ico").c_str(), FALSE));
        ListenToAll();
        ConnectToServer();
        shop = GetItemShop();
        neighbours.SetShopDataCenter(m_pDataCenter);
        neighbours.CreateItemShop();
        ASSERT_NE(shop->GetSafeHwnd(), nullptr);
        neighbours.SetOwnItems(owned);
        for (WORD id = 1; id <= 7; id++)
            AddShopItem(*shop->GetItemShopManager(), id, SHOP_PAGE_CATEGORY, true);
        shop->CreateViews();
    }
    void TearDown() override
    {
        neighbours.DestroyItemShop();
        shop->SetOwnItems(NULL);
        shop->SetDataCenter(NULL);
        DataCenterTest::TearDown();
    }

    CItemShop* shop = nullptr;
    CItemShopNeighbours neighbours;
    COwnItemArray owned;
};

TEST_F(ItemShop, ShowsItsPageAndBar)
{
    EXPECT_NE(shop->GetItemFrame().GetSafeHwnd(), nullptr);
    EXPECT_NE(shop->GetMyItemBar().GetSafeHwnd(), nullptr);
    // Without the skin's tile picture the page shows no tiles.
    EXPECT_EQ(shop->GetItemFrame().GetTileCount(), 0);
    EXPECT_EQ(shop->GetMyItemBar().GetSlotCount(), 8);
    CRect rc;
    shop->GetClientRect(&rc);
    EXPECT_EQ(rc.Size(), CSize(566, 397));
}

TEST_F(ItemShop, BuyDialogForAnItemSendsOneRequest)
{
    CModalScript script;
    neighbours.ShowItemShop(999); // not in the catalogue: no dialog
    EXPECT_EQ(script.Count(), 0u);
    EXPECT_TRUE(shop->IsWindowVisible());
    script.Then([](AFX_MODAL_REQUEST& r) {
        r.pWnd->PostMessage(WM_COMMAND, 1004);
        r.pWnd->PostMessage(WM_COMMAND, 1004);
        return CModalScript::keepRunning;
    });
    neighbours.ShowItemShop(5); // no picture for it: the dialog still opens
    EXPECT_EQ(script.Count(), 1u);
    ASSERT_TRUE(m_pDataCenter->BuyItem(99, 1));
    std::vector<tagServerFrame> frames = WaitRequests(HALL_MAIN_USER_VALUE, HALL_SUB_USER_VALUE_BUY, 2);
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0].Body, CWireBytes().U32(5).U16(1).Vector());
    EXPECT_EQ(frames[1].Body, CWireBytes().U32(99).U16(1).Vector());
}

TEST_F(ItemShop, PurchaseAnswersGiveTheirBoxes)
{
    struct
    {
        BYTE code;
        const char* text;
        bool icon;
    } cases[] = {
        {0, "恭喜您，购买成功！", true},
        {1, "抱歉，您所购买的道具无法找到！", true},
        {2, "抱歉，您的余额不足，无法购买，请充值后购买！", true},
        {3, "抱歉，您的金蛋被锁，无法购买，请退出房间后购买！", true},
        {4, "抱歉，此道具不容许购买！", true},
        {7, "", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        CModalScript script;
        // The box shows for real: its one button and its icon.
        CString strOk;
        bool bIcon = false;
        script.AnswerBox(CModalScript::keepRunning).ThenDialog([&](AFX_MODAL_REQUEST& r) {
            if (CWnd* pOK = r.pWnd->GetDlgItem(IDOK))
                pOK->GetWindowText(strOk);
            bIcon = r.pWnd->GetDlgItem(IDMSGBOXICON) != NULL;
            return (INT_PTR)IDOK;
        });
        ASSERT_TRUE(
            m_Server.Send(HALL_MAIN_USER_VALUE, HALL_SUB_S_USER_VALUE_BUY_RESULT, CWireBytes().U8(c.code).Vector()));
        ASSERT_TRUE(PumpUntil([&] { return script.Count() == 2; }));
        std::string shown = Text(script.At(0).strText);
        if (*c.text == '\0')
            EXPECT_EQ(shown, "");
        else
            EXPECT_EQ(shown.find(c.text), 0u) << shown;
        EXPECT_EQ(Text(strOk), "确  定");
        EXPECT_EQ(bIcon, c.icon);
        EXPECT_EQ(script.Unexpected(), 0);
    }
}

// Once the shop has left the data centre's listeners, answers reach it no
// more: no box, no bar refresh.
TEST_F(ItemShop, AnUnregisteredShopHearsNothing)
{
    neighbours.RemoveItemShopNotify();
    owned.Add({5, 2, 0});
    CModalScript script;
    SendAndSettle(HALL_MAIN_USER_VALUE, HALL_SUB_S_USER_VALUE_BUY_RESULT, CWireBytes().U8(0).Vector());
    SendAndSettle(HALL_MAIN_USER_VALUE, HALL_SUB_S_USER_VALUE_ITEM, CWireBytes().U32(5).U16(2).U64(0).Vector());
    EXPECT_EQ(script.Count(), 0u);
    EXPECT_EQ(shop->GetMyItemBar().GetItemCount(), 0);
}

TEST_F(ItemShop, OwnedItemAnswersRefreshTheBar)
{
    CRoomTabsDouble tabs;
    IRoomTabWnd* pPrevious = CHallWindows::InstallRoomTabs(&tabs);
    EXPECT_EQ(shop->GetMyItemBar().GetItemCount(), 0);
    // The frame keeps the list before the shop hears; here the test does.
    owned.Add({5, 2, 0});
    SendAndSettle(HALL_MAIN_USER_VALUE, HALL_SUB_S_USER_VALUE_ITEM, CWireBytes().U32(5).U16(2).U64(0).Vector());
    EXPECT_EQ(shop->GetMyItemBar().GetItemCount(), 1);
    EXPECT_EQ(tabs.refreshed, 1); // the open rooms' bars too
    owned.Add({6, 1, 0});
    owned[0].wCount = 0;
    SendAndSettle(HALL_MAIN_USER_VALUE, HALL_SUB_S_USER_VALUE_LIST,
                  CWireBytes().U16(2).U32(5).U16(0).U64(0).U32(6).U16(1).U64(0).Vector());
    CHallWindows::InstallRoomTabs(pPrevious);
    EXPECT_GE(tabs.refreshed, 2);
    ASSERT_EQ(shop->GetMyItemBar().GetItemCount(), 1);
    EXPECT_EQ(shop->GetMyItemBar().GetItem(0).pItem->GetItemId(), 6);
    neighbours.ClearItemShopItems();
    EXPECT_EQ(shop->GetMyItemBar().GetItemCount(), 0);
}

// The charge button opens the charge page in the default browser, which is
// recorded here.
TEST_F(ItemShop, ChargeOpensTheChargePage)
{
    std::ofstream(m_Folder.Path() + "config\\Urls.ini", std::ios::binary)
        << "[Prepaid]\r\nurlpage=http://pay.test/charge\r\n";
    g_GlobalOption.LoadUrls();
    CRecordedLauncher launcher;
    CWnd* pCharge = shop->GetDlgItem(1001);
    ASSERT_NE(pCharge, nullptr);
    shop->SendMessage(WM_COMMAND, MAKEWPARAM(1001, BN_CLICKED), (LPARAM)pCharge->GetSafeHwnd());
    EXPECT_EQ(launcher.m_opened, std::vector<std::string>{"http://pay.test/charge"});
}

// The own-info block: "myinfo.png" at (401, 29), and the balance's box,
// which is what a balance change repaints.
TEST_F(ItemShop, OwnInfoBlockAndItsRepaint)
{
    const COLORREF kInfo = RGB(10, 120, 200);
    std::vector<BYTE> bytes = skintest::Bmp24(skintest::Pixels(150, 240, kInfo));
    std::ofstream(m_Folder.Path() + "Res\\ItemShop\\myinfo.png", std::ios::binary)
        .write((const char*)bytes.data(), (std::streamsize)bytes.size());
    // The skin is read when the window is made, as at a new logon.
    neighbours.DestroyItemShop();
    neighbours.CreateItemShop();
    neighbours.ShowItemShop(-1);
    skintest::Snapshot shot(shop->GetSafeHwnd());
    CPoint ptClient(0, 0);
    shop->ClientToScreen(&ptClient);
    CRect rcWindow;
    shop->GetWindowRect(&rcWindow);
    const CPoint offset = ptClient - rcWindow.TopLeft();
    EXPECT_EQ(shot.At(offset.x + 403, offset.y + 31), kInfo);
    EXPECT_NE(shot.At(offset.x + 399, offset.y + 31), kInfo);
    EXPECT_EQ(shop->GetUserInfoRect(), CRect(438, 200, 544, 213));

    shop->UpdateWindow();
    neighbours.RefreshItemShopUser();
    CRect rcUpdate;
    shop->GetUpdateRect(&rcUpdate);
    EXPECT_EQ(rcUpdate, CRect(438, 200, 544, 213));
}

TEST_F(ItemShop, SpaceDoesNothing)
{
    CWnd* pCharge = shop->GetDlgItem(1001);
    ASSERT_NE(pCharge, nullptr);
    neighbours.ShowItemShop(-1);
    pCharge->SetFocus();
    // Through the shop's own pre-translation, as the message loop does.
    for (UINT message : {WM_KEYDOWN, WM_CHAR}) {
        MSG msg = {pCharge->GetSafeHwnd(), message, VK_SPACE, 0, 0, {0, 0}};
        if (!CWnd::WalkPreTranslateTree(shop->GetSafeHwnd(), &msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessage(&msg);
        }
    }
    EXPECT_EQ(pCharge->SendMessage(BM_GETSTATE) & BST_PUSHED, 0) << "the key never reached the button";
}

TEST_F(ItemShop, ASecondRefreshKeepsTheCatalogueANewLogonReloadsIt)
{
    ASSERT_NE(shop->FindItemCfg(5), nullptr);
    // The frame creates the shop only when it has none.
    if (!neighbours.HasItemShop())
        neighbours.CreateItemShop();
    shop->CreateShop();
    EXPECT_NE(shop->FindItemCfg(5), nullptr);
    neighbours.DestroyItemShop();
    EXPECT_FALSE(neighbours.HasItemShop());
    neighbours.CreateItemShop();
    EXPECT_EQ(shop->FindItemCfg(5), nullptr);
}

} // namespace
