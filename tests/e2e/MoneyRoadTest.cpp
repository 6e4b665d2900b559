// The purchase and bank roads through the assembled hall against the demo
// world: an item bought in the shop goes to the hall server once and shows
// among the player's own items after the answer; the hall server's refusals
// show their texts. In the gold-egg room the safe box opens with its
// password, takes and saves, and shows the moved sums; in the gold-bean room
// the gold exchange moves eggs to beans; the room server's refusals of each
// show their texts and move nothing.
#include "E2eTest.h"

#include <commctrl.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "HallProtocol.h"
#include "RoomProtocol.h"
#include "TestWait.h"
#include "WireBytes.h"

using namespace e2e;

namespace
{

// The buy dialog's buttons.
const int kBuyId = 1004;
const int kBuyCancelId = 1005;
// The shop's own-item bar and its first slot (two rows, 32-pixel slots).
const int kShopChargeId = 1001;
const int kShopOwnItemsId = 1002;
const POINT kFirstOwnSlot = {3 + 16, 6 + 16};
// The table tool bar's money buttons.
const int kDepositButtonId = 1010;
const int kWithdrawButtonId = 1011;
const int kExchangeButtonId = 1013;
// The safe-box password prompt's edit.
const int kPasswordEditId = 24020;
const char kPasswordCaption[] = "保险箱密码";
// The money panels, and the fields of their pages.
const char kSafeBoxCaption[] = "保险箱";
const char kExchangeCaption[] = "金蛋金豆互换";
const int kEggsId = 1243;
const int kSafeBoxSumId = 1244;
const int kBeansId = 1101;
const int kDepositFieldId = 1248;
const int kWithdrawFieldId = 1245;
const int kEggsToBeansFieldId = 1102;

// "%u" with a comma between groups of three digits, as the panels show it.
std::string Grouped(DWORD dwValue)
{
    std::string digits = std::to_string(dwValue);
    for (int i = int(digits.size()) - 3; i > 0; i -= 3)
        digits.insert(size_t(i), ",");
    return digits;
}

// A command of a dialog or box as its button sends it.
void Press(HWND hDialog, int nID)
{
    PostMessageA(hDialog, WM_COMMAND, MAKEWPARAM(nID, BN_CLICKED), (LPARAM)GetDlgItem(hDialog, nID));
}

// A link handed to the frame as another program hands it (WM_COPYDATA).
// The frame may run a dialog before it answers, so the message goes from a
// thread of its own; the destructor waits for the answer.
class LinkSender
{
public:
    LinkSender(HWND hFrame, const std::string& link)
        : m_Thread([hFrame, link] {
              COPYDATASTRUCT copy = {0, DWORD(link.size() + 1), const_cast<char*>(link.c_str())};
              DWORD_PTR nResult = 0;
              SendMessageTimeoutA(hFrame, WM_COPYDATA, 0, (LPARAM)&copy, SMTO_NORMAL, kWait, &nResult);
          })
    {}
    ~LinkSender() { m_Thread.join(); }

private:
    std::thread m_Thread;
};

class MoneyRoad : public E2eTest
{
protected:
    void SetUp() override
    {
        E2eTest::SetUp();
        // The server list names the hall server's port, known once it runs.
        m_pHall.reset(new HallProcess(m_World.GetHallPort()));
        ASSERT_NO_FATAL_FAILURE(StartAndLogOn(*m_pHall, m_hFrame, m_hTree));
    }

    HWND WaitBuyDialog()
    {
        return Hall().WaitWindow(
            [](HWND h) { return GetDlgItem(h, kBuyId) != NULL && GetDlgItem(h, kBuyCancelId) != NULL; });
    }
    HWND WaitShop()
    {
        return Hall().WaitWindow([](HWND h) {
            return ClassOf(h) != "Tavrel" && GetDlgItem(h, kShopOwnItemsId) != NULL &&
                   GetDlgItem(h, kShopChargeId) != NULL;
        });
    }
    // A box of the hall showing the words, answered with OK; false when
    // none came.
    bool AnswerBox(const std::string& words)
    {
        HWND hBox = Hall().WaitBox(words);
        if (hBox == NULL)
            return false;
        Press(hBox, IDOK);
        return PumpUntil([&] { return !IsWindow(hBox); }, kWait);
    }
    std::vector<tagServerFrame> BuyRequests()
    {
        return Requests(m_World.GetHallServer(), HALL_MAIN_USER_VALUE, HALL_SUB_USER_VALUE_BUY);
    }

    // The room the test entered, its server and its table view.
    void Enter(DWORD dwServerType)
    {
        for (const demodata::tagRoom& room : demodata::Rooms())
            if (room.dwServerType == dwServerType)
                m_pRoom = &room;
        ASSERT_NE(nullptr, m_pRoom);
        m_pServer = m_World.GetRoomServer(m_pRoom->dwID);
        m_pDemoRoom = m_World.GetRoom(m_pRoom->dwID);
        ASSERT_NO_FATAL_FAILURE(EnterFromTree(Hall(), m_hFrame, m_hTree, *m_pRoom, m_hTableView));
    }
    size_t RoomRequests(WORD wSubCmdID) { return Requests(*m_pServer, ROOM_MAIN_ROOM, wSubCmdID).size(); }
    // Presses a button of the table tool bar.
    void PressToolBar(int nID)
    {
        HWND hButton = FindChild(m_hTableView, [&](HWND h) { return GetDlgCtrlID(h) == nID && IsWindowVisible(h); });
        ASSERT_NE((HWND)NULL, hButton) << "no tool bar button " << nID;
        Click(hButton);
    }
    // Types the password into the safe box's prompt and confirms it.
    void GivePassword(const char* pszPassword)
    {
        HWND hAsk = Hall().WaitWindow(
            [](HWND h) { return TextOf(h) == kPasswordCaption && GetDlgItem(h, kPasswordEditId) != NULL; });
        ASSERT_NE((HWND)NULL, hAsk) << "no safe-box password asked\n" << Hall().DescribeWindows();
        SendMessageA(GetDlgItem(hAsk, kPasswordEditId), WM_SETTEXT, 0, (LPARAM)pszPassword);
        Press(hAsk, IDOK);
    }
    HWND WaitPanel(const char* pszCaption)
    {
        return Hall().WaitWindow([&](HWND h) { return TextOf(h) == pszCaption && GetDlgItem(h, IDOK) != NULL; });
    }
    // The shown page of a panel: the one holding the amount field.
    static HWND ShownPage(HWND hPanel, int nFieldID)
    {
        return FindChild(hPanel, [&](HWND h) { return IsWindowVisible(h) && GetDlgItem(h, nFieldID) != NULL; });
    }
    // The safe box opened through the tool bar button with the password,
    // waited for on the page of that field.
    void OpenSafeBox(int nButtonID, int nFieldID, HWND& hPanel, HWND& hPage)
    {
        const size_t nChecks = RoomRequests(ROOM_SUB_BANK_PASSWORD);
        ASSERT_NO_FATAL_FAILURE(PressToolBar(nButtonID));
        ASSERT_NO_FATAL_FAILURE(GivePassword(demodata::kSafeBoxPassword));
        ASSERT_TRUE(WaitRequests(*m_pServer, ROOM_MAIN_ROOM, ROOM_SUB_BANK_PASSWORD, nChecks + 1));
        hPanel = WaitPanel(kSafeBoxCaption);
        ASSERT_NE((HWND)NULL, hPanel) << "no safe box\n" << Hall().DescribeWindows();
        hPage = NULL;
        ASSERT_TRUE(PumpUntil([&] { return (hPage = ShownPage(hPanel, nFieldID)) != NULL; }, kWait));
    }
    // The page shows the values (texts of the fields, refreshed by the panel).
    bool Shows(HWND hPage, const std::vector<std::pair<int, DWORD>>& values)
    {
        return PumpUntil(
            [&] {
                for (const auto& value : values)
                    if (TextOf(GetDlgItem(hPage, value.first)) != Grouped(value.second))
                        return false;
                return true;
            },
            kWait);
    }
    static std::string PageTexts(HWND hPage)
    {
        std::string text;
        for (int nID : {kEggsId, kSafeBoxSumId, kBeansId})
            text += std::to_string(nID) + "=\"" + TextOf(GetDlgItem(hPage, nID)) + "\" ";
        return text;
    }
    // Types the amount and confirms; the panel's answer box shows the words
    // and, answered, the panel goes.
    void Confirm(HWND hPanel, HWND hPage, int nFieldID, DWORD dwAmount, WORD wRequest, const std::string& answer)
    {
        const size_t nRequests = RoomRequests(wRequest);
        SendMessageA(GetDlgItem(hPage, nFieldID), WM_SETTEXT, 0, (LPARAM)std::to_string(dwAmount).c_str());
        Press(hPanel, IDOK);
        ASSERT_TRUE(WaitRequests(*m_pServer, ROOM_MAIN_ROOM, wRequest, nRequests + 1))
            << DescribeRequests(*m_pServer) << Hall().DescribeWindows();
        ASSERT_TRUE(AnswerBox(answer)) << "no box \"" << answer << "\"\n" << Hall().DescribeWindows();
        EXPECT_TRUE(PumpUntil([&] { return !IsWindow(hPanel); }, kWait)) << "the panel stays";
    }

    HallProcess& Hall() { return *m_pHall; }

    std::unique_ptr<HallProcess> m_pHall;
    HWND m_hFrame = NULL;
    HWND m_hTree = NULL;
    const demodata::tagRoom* m_pRoom = nullptr;
    CFrameServer* m_pServer = nullptr;
    CDemoRoom* m_pDemoRoom = nullptr;
    HWND m_hTableView = NULL;
};

} // namespace

TEST_F(MoneyRoad, AnItemBoughtGoesOutOnceAndShowsAmongTheOwnItems)
{
    const demodata::tagShopItem& item = demodata::ShopItems().front();
    ASSERT_EQ(0, item.cbAnswer);
    {
        // The shop's link opens the shop and the item's card.
        LinkSender link(m_hFrame, "tavrel://openitemshop?item=" + std::to_string(item.wItemID));
        HWND hCard = WaitBuyDialog();
        ASSERT_NE((HWND)NULL, hCard) << "no item card\n" << Hall().DescribeWindows();
        Shot(hCard, "shop-buy");
        // A double press buys one piece.
        Press(hCard, kBuyId);
        Press(hCard, kBuyId);
        ASSERT_TRUE(AnswerBox("恭喜您，购买成功！")) << Hall().DescribeWindows();
    }
    const std::vector<tagServerFrame> buys = BuyRequests();
    ASSERT_EQ(1u, buys.size()) << DescribeRequests(m_World.GetHallServer());
    EXPECT_EQ(CWireBytes().U32(item.wItemID).U16(1).Vector(), buys[0].Body);

    // The piece bought sits in the first slot of the own items: a click on
    // it opens its card.
    HWND hShop = WaitShop();
    ASSERT_NE((HWND)NULL, hShop) << Hall().DescribeWindows();
    Shot(hShop, "shop-owned");
    HWND hOwn = GetDlgItem(hShop, kShopOwnItemsId);
    PostMessageA(hOwn, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(kFirstOwnSlot.x, kFirstOwnSlot.y));
    PostMessageA(hOwn, WM_LBUTTONUP, 0, MAKELPARAM(kFirstOwnSlot.x, kFirstOwnSlot.y));
    HWND hCard = WaitBuyDialog();
    ASSERT_NE((HWND)NULL, hCard) << "the own items show nothing\n" << Hall().DescribeWindows();
    Press(hCard, kBuyCancelId);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(hCard); }, kWait));
    EXPECT_EQ(1u, BuyRequests().size());
}

TEST_F(MoneyRoad, TheHallServersRefusalsOfAPurchaseShowTheirTexts)
{
    struct Case
    {
        BYTE cbAnswer;
        const char* text;
    };
    const Case cases[] = {
        {1, "抱歉，您所购买的道具无法找到！"},
        {2, "抱歉，您的余额不足，无法购买，请充值后购买！"},
        {3, "抱歉，您的金蛋被锁，无法购买，请退出房间后购买！"},
        {4, "抱歉，此道具不容许购买！"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const demodata::tagShopItem* pItem = nullptr;
        for (const demodata::tagShopItem& item : demodata::ShopItems())
            if (item.cbAnswer == c.cbAnswer)
                pItem = &item;
        ASSERT_NE(nullptr, pItem);
        const size_t nBuys = BuyRequests().size();
        LinkSender link(m_hFrame, "tavrel://openitemshop?item=" + std::to_string(pItem->wItemID));
        HWND hCard = WaitBuyDialog();
        ASSERT_NE((HWND)NULL, hCard) << Hall().DescribeWindows();
        Press(hCard, kBuyId);
        ASSERT_TRUE(AnswerBox(c.text)) << Hall().DescribeWindows();
        const std::vector<tagServerFrame> buys = BuyRequests();
        ASSERT_EQ(nBuys + 1, buys.size());
        EXPECT_EQ(CWireBytes().U32(pItem->wItemID).U16(1).Vector(), buys.back().Body);
    }
}

TEST_F(MoneyRoad, TheSafeBoxOpensWithItsPasswordTakesAndSaves)
{
    ASSERT_NO_FATAL_FAILURE(Enter(2));

    // A wrong password is refused and asked again.
    ASSERT_NO_FATAL_FAILURE(PressToolBar(kWithdrawButtonId));
    ASSERT_NO_FATAL_FAILURE(GivePassword("123456"));
    ASSERT_TRUE(AnswerBox("您的保险箱密码输入错误，请检查后重试！")) << Hall().DescribeWindows();
    ASSERT_NO_FATAL_FAILURE(GivePassword(demodata::kSafeBoxPassword));
    HWND hPanel = WaitPanel(kSafeBoxCaption);
    ASSERT_NE((HWND)NULL, hPanel) << "no safe box\n" << Hall().DescribeWindows();
    const std::vector<tagServerFrame> checks = Requests(*m_pServer, ROOM_MAIN_ROOM, ROOM_SUB_BANK_PASSWORD);
    ASSERT_EQ(2u, checks.size());
    std::string digest;
    DWORD dwAmount = 1;
    ASSERT_TRUE(CDemoRoom::ReadBank(checks[0], digest, dwAmount));
    EXPECT_EQ("e10adc3949ba59abbe56e057f20f883e", digest); // of 123456
    ASSERT_TRUE(CDemoRoom::ReadBank(checks[1], digest, dwAmount));
    EXPECT_EQ(demodata::kSafeBoxPasswordDigest, digest);

    // On the take page: the hand and the safe box as the room knows them.
    HWND hPage = NULL;
    ASSERT_TRUE(PumpUntil([&] { return (hPage = ShownPage(hPanel, kWithdrawFieldId)) != NULL; }, kWait));
    ASSERT_TRUE(Shows(hPage, {{kEggsId, demodata::kGoldEggs}, {kSafeBoxSumId, demodata::kSafeBoxEggs}}))
        << PageTexts(hPage);
    Shot(hPanel, "safe-box-take");
    const DWORD kTaken = 30000;
    ASSERT_NO_FATAL_FAILURE(Confirm(hPanel, hPage, kWithdrawFieldId, kTaken, ROOM_SUB_BANK_WITHDRAW, "取款成功"));
    const std::vector<tagServerFrame> takes = Requests(*m_pServer, ROOM_MAIN_ROOM, ROOM_SUB_BANK_WITHDRAW);
    ASSERT_TRUE(CDemoRoom::ReadBank(takes[0], digest, dwAmount));
    EXPECT_EQ(demodata::kSafeBoxPasswordDigest, digest);
    EXPECT_EQ(kTaken, dwAmount);

    // Opened again on the save page: the sums moved.
    ASSERT_NO_FATAL_FAILURE(OpenSafeBox(kDepositButtonId, kDepositFieldId, hPanel, hPage));
    const DWORD dwHand = demodata::kGoldEggs + kTaken, dwBox = demodata::kSafeBoxEggs - kTaken;
    ASSERT_TRUE(Shows(hPage, {{kEggsId, dwHand}, {kSafeBoxSumId, dwBox}})) << PageTexts(hPage);
    Shot(hPanel, "safe-box-save");
    const DWORD kSaved = 70000;
    ASSERT_NO_FATAL_FAILURE(Confirm(hPanel, hPage, kDepositFieldId, kSaved, ROOM_SUB_BANK_DEPOSIT, "存款成功！"));
    ASSERT_TRUE(CDemoRoom::ReadBank(Requests(*m_pServer, ROOM_MAIN_ROOM, ROOM_SUB_BANK_DEPOSIT)[0], digest, dwAmount));
    EXPECT_EQ(kSaved, dwAmount);

    ASSERT_NO_FATAL_FAILURE(OpenSafeBox(kWithdrawButtonId, kWithdrawFieldId, hPanel, hPage));
    ASSERT_TRUE(Shows(hPage, {{kEggsId, dwHand - kSaved}, {kSafeBoxSumId, dwBox + kSaved}})) << PageTexts(hPage);
    Press(hPanel, IDCANCEL);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(hPanel); }, kWait));
}

TEST_F(MoneyRoad, TheRoomServersSafeBoxRefusalsShowTheirTextsAndMoveNothing)
{
    ASSERT_NO_FATAL_FAILURE(Enter(2));
    struct Case
    {
        WORD wRequest;
        DWORD dwCode;
        const char* text;
    };
    const Case cases[] = {
        {ROOM_SUB_BANK_WITHDRAW, 7, "保险箱密码错误，无法取款！"},
        {ROOM_SUB_BANK_WITHDRAW, 8, "您保险箱中的钱不足，无法取款！"},
        {ROOM_SUB_BANK_WITHDRAW, 15, "保险箱密码未设置，无法取款！"},
        {ROOM_SUB_BANK_WITHDRAW, 0xFFFFFFFF, "取款失败，请稍候再试！"},
        {ROOM_SUB_BANK_DEPOSIT, 9, "您的金蛋不足，无法存入！"},
        {ROOM_SUB_BANK_DEPOSIT, 11, "金蛋被锁定，无法存入！"},
        {ROOM_SUB_BANK_DEPOSIT, 0xFFFFFFFF, "存款失败，请稍候再试！"},
        {ROOM_SUB_BANK_PASSWORD, 0xFFFFFFFF, "请求保险箱失败，请稍候再试！"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        m_pDemoRoom->RefuseNext(c.wRequest, c.dwCode);
        if (c.wRequest == ROOM_SUB_BANK_PASSWORD) {
            const size_t nChecks = RoomRequests(ROOM_SUB_BANK_PASSWORD);
            ASSERT_NO_FATAL_FAILURE(PressToolBar(kWithdrawButtonId));
            ASSERT_NO_FATAL_FAILURE(GivePassword(demodata::kSafeBoxPassword));
            ASSERT_TRUE(WaitRequests(*m_pServer, ROOM_MAIN_ROOM, ROOM_SUB_BANK_PASSWORD, nChecks + 1));
            ASSERT_TRUE(AnswerBox(c.text)) << Hall().DescribeWindows();
            continue;
        }
        const bool bTake = c.wRequest == ROOM_SUB_BANK_WITHDRAW;
        const int nFieldID = bTake ? kWithdrawFieldId : kDepositFieldId;
        HWND hPanel = NULL, hPage = NULL;
        ASSERT_NO_FATAL_FAILURE(OpenSafeBox(bTake ? kWithdrawButtonId : kDepositButtonId, nFieldID, hPanel, hPage));
        ASSERT_NO_FATAL_FAILURE(Confirm(hPanel, hPage, nFieldID, 1000, c.wRequest, c.text));
    }
    // Nothing moved.
    HWND hPanel = NULL, hPage = NULL;
    ASSERT_NO_FATAL_FAILURE(OpenSafeBox(kDepositButtonId, kDepositFieldId, hPanel, hPage));
    EXPECT_TRUE(Shows(hPage, {{kEggsId, demodata::kGoldEggs}, {kSafeBoxSumId, demodata::kSafeBoxEggs}}))
        << PageTexts(hPage);
}

TEST_F(MoneyRoad, TheGoldExchangeMovesEggsToBeansAndShowsItsRefusals)
{
    ASSERT_NO_FATAL_FAILURE(Enter(3));
    auto open = [&](HWND& hPanel, HWND& hPage) {
        ASSERT_NO_FATAL_FAILURE(PressToolBar(kExchangeButtonId));
        hPanel = WaitPanel(kExchangeCaption);
        ASSERT_NE((HWND)NULL, hPanel) << "no exchange\n" << Hall().DescribeWindows();
        ASSERT_TRUE(PumpUntil([&] { return (hPage = ShownPage(hPanel, kEggsToBeansFieldId)) != NULL; }, kWait));
    };
    HWND hPanel = NULL, hPage = NULL;
    ASSERT_NO_FATAL_FAILURE(open(hPanel, hPage));
    ASSERT_TRUE(Shows(hPage, {{kEggsId, demodata::kGoldEggs}, {kBeansId, demodata::kGoldBeans}})) << PageTexts(hPage);
    Shot(hPanel, "gold-exchange");
    const DWORD kEggs = 2000;
    ASSERT_NO_FATAL_FAILURE(Confirm(hPanel, hPage, kEggsToBeansFieldId, kEggs, ROOM_SUB_GOLD_EXCHANGE, "兑换成功!"));
    bool bEggsToBeans = false;
    DWORD dwAmount = 0;
    ASSERT_TRUE(CDemoRoom::ReadExchange(Requests(*m_pServer, ROOM_MAIN_ROOM, ROOM_SUB_GOLD_EXCHANGE)[0], bEggsToBeans,
                                        dwAmount));
    EXPECT_TRUE(bEggsToBeans);
    EXPECT_EQ(kEggs, dwAmount);
    const DWORD dwEggs = demodata::kGoldEggs - kEggs, dwBeans = demodata::kGoldBeans + kEggs * demodata::kBeansPerEgg;
    ASSERT_NO_FATAL_FAILURE(open(hPanel, hPage));
    ASSERT_TRUE(Shows(hPage, {{kEggsId, dwEggs}, {kBeansId, dwBeans}})) << PageTexts(hPage);
    Press(hPanel, IDCANCEL);
    ASSERT_TRUE(PumpUntil([&] { return !IsWindow(hPanel); }, kWait));

    // The room server's refusals; nothing moves.
    struct Case
    {
        DWORD dwCode;
        const char* text;
    };
    const Case cases[] = {
        {1, "兑换失败，请稍候再试！"}, {2, "金蛋被锁，兑换失败，请稍候再试！"},
        {3, "金蛋不足，兑换失败！"},   {4, "金豆被锁，兑换失败，请稍候再试！"},
        {5, "金豆不足，兑换失败！"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        m_pDemoRoom->RefuseNext(ROOM_SUB_GOLD_EXCHANGE, c.dwCode);
        ASSERT_NO_FATAL_FAILURE(open(hPanel, hPage));
        ASSERT_NO_FATAL_FAILURE(Confirm(hPanel, hPage, kEggsToBeansFieldId, 100, ROOM_SUB_GOLD_EXCHANGE, c.text));
    }
    ASSERT_NO_FATAL_FAILURE(open(hPanel, hPage));
    EXPECT_TRUE(Shows(hPage, {{kEggsId, dwEggs}, {kBeansId, dwBeans}})) << PageTexts(hPage);
}
