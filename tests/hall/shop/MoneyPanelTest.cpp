// The room's money panels through the real room data centre against the
// scripted room server: amounts, refusals, requests and result texts.
#include <winsock2.h>

#include <afxwin.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "AfxModalScript.h"
#include "BankStorage.h"
#include "ClipboardText.h"
#include "GlobalOption.h"
#include "HBExchange.h"
#include "MD5Encrypt.h"
#include "RecordedLauncher.h"
#include "RoomTestSupport.h"
#include "TempFolder.h"
#include "UserItem.h"

#include <gtest/gtest.h>

namespace
{

// The room window as the panels see it.
class CRoomHostDouble : public IMoneyPanelHost
{
public:
    explicit CRoomHostDouble(CWnd* pRoom) : m_pRoom(pRoom) {}
    CWnd* GetRoomWnd() override { return m_pRoom; }
    void ShowSkinMessageBox(LPCSTR pszText) override { roomBoxes.push_back(pszText); }
    bool AskSafeBoxPassword(CString& strPassword) override
    {
        ++asked;
        if (passwords.empty())
            return false;
        strPassword = passwords.front().c_str();
        passwords.erase(passwords.begin());
        return true;
    }
    void OpenServicePage(DWORD dwGroup, DWORD dwPage) override { servicePages.push_back({dwGroup, dwPage}); }

    std::vector<std::string> passwords;
    std::vector<std::string> roomBoxes;
    std::vector<std::pair<DWORD, DWORD>> servicePages;
    int asked = 0;

private:
    CWnd* m_pRoom;
};

std::string Digest(const char* pszText)
{
    char szDigest[CMD5Encrypt::kHexLength + 1] = "";
    CMD5Encrypt::EncryptData(pszText, szDigest);
    return szDigest;
}

class MoneyPanels : public RoomTest
{
protected:
    void SetUp() override
    {
        RoomTest::SetUp();
        CMoneyPanel::s_nRefreshInterval = 10;
        LogOn();
        me = m_pDataCenter->GetUserManager()->GetMeUserItem();
        ASSERT_NE(me, nullptr);
        // Whatever the logon sent has arrived before the cases count.
        RequestsSince(m_Server.GetFrameCount());
    }
    void TearDown() override
    {
        bank.reset();
        exchange.reset();
        RoomTest::TearDown();
    }
    void SetGold(LONG lEggs, LONG lBeans)
    {
        me->GetUserData()->dwKey14 = (DWORD)lEggs;
        me->GetUserData()->dwKey17 = (DWORD)lBeans;
    }
    void SetStatus(BYTE cbStatus) { me->GetUserData()->cbUserStatus = cbStatus; }
    // The safe box opened as after a right password, with that sum.
    CBankStorage& OpenBank(DWORD dwSum, int nPage)
    {
        bank.reset(new CBankStorage);
        m_pDataCenter->SetCallerValue(dwSum);
        bank->SetRoomContext(&host, m_pDataCenter, me, nPage);
        bank->OnOpenSafeBoxResult(0);
        EXPECT_NE(bank->GetSafeHwnd(), nullptr);
        return *bank;
    }
    CHBExchange& OpenExchange(int nPage)
    {
        exchange.reset(new CHBExchange);
        exchange->SetRoomContext(&host, m_pDataCenter, me, nPage);
        EXPECT_TRUE(exchange->CreatePanel(&m_MainWnd, nPage, 0));
        exchange->ShowWindow(SW_SHOW);
        return *exchange;
    }
    // Types into the current page's field and confirms.
    void Confirm(CMoneyPanel& panel, const char* pszText, int nConfirms = 1)
    {
        CPageDlg* pPage = panel.GetPage(panel.GetCurrentPage());
        ASSERT_NE(pPage, nullptr);
        pPage->GetAmountField().SetWindowText(pszText);
        for (int i = 0; i < nConfirms; i++)
            panel.PostMessage(WM_COMMAND, IDOK);
        PumpMessages();
    }
    // The room requests sent since nBefore frames (markers left out).
    std::vector<tagServerFrame> RequestsSince(size_t nBefore)
    {
        EXPECT_TRUE(m_pDataCenter->SendJoinMatch());
        std::vector<tagServerFrame> frames;
        EXPECT_TRUE(PumpUntil([&] {
            frames = m_Server.GetFrames();
            for (size_t i = nBefore; i < frames.size(); i++)
                if (frames[i].wSubCmdID == ROOM_SUB_JOIN_MATCH)
                    return true;
            return false;
        }));
        std::vector<tagServerFrame> requests;
        for (size_t i = nBefore; i < frames.size(); i++) {
            if (frames[i].wSubCmdID == ROOM_SUB_JOIN_MATCH)
                break;
            if (frames[i].wSubCmdID != ROOM_SUB_ECHO)
                requests.push_back(frames[i]);
        }
        return requests;
    }

    CUserItem* me = nullptr;
    CRoomHostDouble host{&m_MainWnd};
    std::unique_ptr<CBankStorage> bank;
    std::unique_ptr<CHBExchange> exchange;
};

std::string Text(const CString& s)
{
    return std::string((LPCSTR)s);
}

TEST_F(MoneyPanels, DepositAmountsAgainstTheHand)
{
    const char* kRange = "你输入的金蛋值必须在1和5000之间";
    struct
    {
        const char* typed;
        DWORD sent; // 0: refused with the range message
    } cases[] = {
        {"", 0},           {"1,000", 1000},
        {"abc", 0},        {"１２", 0}, // full-width digits
        {"12 34", 0},      {"1234567890123456789", 0},
        {"4294967296", 0}, {"5000", 5000},
        {"5001", 0},
    };
    SetGold(5000, 0);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        CModalScript script;
        CBankStorage& panel = OpenBank(100, 0);
        size_t nBefore = m_Server.GetFrameCount();
        Confirm(panel, c.typed);
        std::vector<tagServerFrame> requests = RequestsSince(nBefore);
        if (c.sent == 0) {
            EXPECT_TRUE(requests.empty());
            ASSERT_EQ(script.Count(), 1u);
            EXPECT_EQ(Text(script.At(0).strText), kRange);
            EXPECT_FALSE(panel.IsRequestInFlight());
        } else {
            ASSERT_EQ(requests.size(), 1u);
            EXPECT_EQ(requests[0].wSubCmdID, ROOM_SUB_BANK_DEPOSIT);
            EXPECT_EQ(requests[0].Body, CWireBytes().U32(c.sent).Vector());
            EXPECT_EQ(script.Count(), 0u);
            EXPECT_TRUE(panel.IsRequestInFlight());
        }
    }
}

// Text that does not come through typing: pasted from the clipboard, or
// full-width digits from an input method. The same rules hold: only ASCII
// digits and commas make an amount, anything else is refused, never read
// as 0 or as a part of it.
TEST_F(MoneyPanels, PastedAndInputMethodAmounts)
{
    struct
    {
        bool paste; // else the characters come as WM_IME_CHAR
        const char* text;
        DWORD sent; // 0: refused with the range message
    } cases[] = {
        {true, "2,000", 2000},  {true, "12 34", 0},      {true, "１２", 0},
        {true, "3\xD6\xD0", 0}, {true, "4294967296", 0}, {false, "１２", 0},
    };
    SetGold(5000, 0);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        CModalScript script;
        CBankStorage& panel = OpenBank(100, 0);
        CPageDlgEdit& field = panel.GetPage(0)->GetAmountField();
        if (c.paste) {
            ASSERT_TRUE(SetClipboardText(c.text));
            field.SendMessage(WM_PASTE);
        } else {
            for (const unsigned char* p = (const unsigned char*)c.text; *p != '\0'; p += 2)
                field.SendMessage(WM_IME_CHAR, (WPARAM)((p[0] << 8) | p[1]), 1);
        }
        size_t nBefore = m_Server.GetFrameCount();
        panel.PostMessage(WM_COMMAND, IDOK);
        PumpMessages();
        std::vector<tagServerFrame> requests = RequestsSince(nBefore);
        if (c.sent == 0) {
            EXPECT_TRUE(requests.empty());
            ASSERT_EQ(script.Count(), 1u);
            EXPECT_EQ(Text(script.At(0).strText), "你输入的金蛋值必须在1和5000之间");
        } else {
            ASSERT_EQ(requests.size(), 1u);
            EXPECT_EQ(requests[0].Body, CWireBytes().U32(c.sent).Vector());
        }
    }
}

TEST_F(MoneyPanels, WithdrawUpToTheSumAndTheEmptyBoxes)
{
    SetGold(0, 0);
    struct
    {
        DWORD sum;
        int page;
        const char* typed;
        bool sent;
        const char* shown;
    } cases[] = {
        {800, 1, "800", true, ""},
        {800, 1, "801", false, "你输入的金蛋值必须在1和800之间"},
        {0, 1, "1", false, "你的存储金蛋数目为0,不能进行提取操作!"},
        {800, 0, "1", false, "你的当前金蛋数目为0,不能进行存储操作!"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        CModalScript script;
        CBankStorage& panel = OpenBank(c.sum, c.page);
        EXPECT_EQ(panel.GetCurrentPage(), c.page);
        size_t nBefore = m_Server.GetFrameCount();
        Confirm(panel, c.typed);
        EXPECT_EQ(RequestsSince(nBefore).size(), c.sent ? 1u : 0u);
        if (!c.sent) {
            ASSERT_EQ(script.Count(), 1u);
            EXPECT_EQ(Text(script.At(0).strText).find(c.shown), 0u) << Text(script.At(0).strText);
        }
    }
}

TEST_F(MoneyPanels, InGameRefusesDepositsAndEggExchangesOnly)
{
    SetGold(5000, 300000);
    SetStatus(2);
    struct
    {
        bool bank;
        int page;
        const char* typed;
        const char* refusal; // null: sent
    } cases[] = {
        {true, 0, "10", "在游戏中无法存入金蛋，请关闭客户端后再操作！"},
        {true, 1, "10", nullptr},
        {false, 0, "10", "在游戏中无法兑换金豆，请关闭客户端后再操作！"},
        {false, 1, "200000", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        CModalScript script;
        CMoneyPanel& panel = c.bank ? (CMoneyPanel&)OpenBank(100, c.page) : (CMoneyPanel&)OpenExchange(c.page);
        size_t nBefore = m_Server.GetFrameCount();
        Confirm(panel, c.typed);
        EXPECT_EQ(RequestsSince(nBefore).size(), c.refusal == nullptr ? 1u : 0u);
        if (c.refusal != nullptr) {
            ASSERT_EQ(script.Count(), 1u);
            EXPECT_EQ(Text(script.At(0).strText), c.refusal);
        }
    }
}

TEST_F(MoneyPanels, BeanExchangeBoundsAndDirections)
{
    struct
    {
        LONG beans;
        int page;
        const char* typed;
        std::vector<BYTE> body; // empty: refused
        const char* shown;
    } cases[] = {
        {200000, 1, "200000", CWireBytes().U8(1).U8(0).U32(200000).Vector(), ""},
        {200000, 1, "199999", {}, "你输入的金豆值必须在20万和200000之间"},
        {199999, 1, "199999", {}, "你现有的金豆数目小于20万,不能进行兑换操作!"},
        {300000, 1, "300001", {}, "你输入的金豆值必须在20万和300000之间"},
        {300000, 0, "70", CWireBytes().U8(0).U8(1).U32(70).Vector(), ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        SetGold(100, c.beans);
        CModalScript script;
        CHBExchange& panel = OpenExchange(c.page);
        size_t nBefore = m_Server.GetFrameCount();
        Confirm(panel, c.typed);
        std::vector<tagServerFrame> requests = RequestsSince(nBefore);
        if (c.body.empty()) {
            EXPECT_TRUE(requests.empty());
            ASSERT_EQ(script.Count(), 1u);
            EXPECT_EQ(Text(script.At(0).strText), c.shown);
        } else {
            ASSERT_EQ(requests.size(), 1u);
            EXPECT_EQ(requests[0].wSubCmdID, ROOM_SUB_GOLD_EXCHANGE);
            EXPECT_EQ(requests[0].Body, c.body);
        }
    }
}

TEST_F(MoneyPanels, QuickAmountsAreLimitedToWhatThePageCanMove)
{
    SetGold(700000, 3000000);
    struct
    {
        bool bank;
        int page;
        UINT button;
        const char* shown;
    } cases[] = {
        {true, 0, 1091, "100,000"},  {true, 0, 1093, "700,000"},    {true, 0, 1094, "700,000"},
        {true, 1, 1095, "100"},      {true, 1, 1098, "100"},        {false, 0, 1093, "300,000"},
        {false, 0, 1094, "700,000"}, {false, 1, 1098, "3,000,000"}, {false, 1, 1096, "500,000"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.button);
        CMoneyPanel& panel = c.bank ? (CMoneyPanel&)OpenBank(100, c.page) : (CMoneyPanel&)OpenExchange(c.page);
        CPageDlg* pPage = panel.GetPage(c.page);
        pPage->SendMessage(WM_COMMAND, MAKEWPARAM(c.button, BN_CLICKED), (LPARAM)pPage->GetDlgItem(c.button)->m_hWnd);
        CString text;
        pPage->GetAmountField().GetWindowText(text);
        EXPECT_EQ(Text(text), c.shown);
    }
}

TEST_F(MoneyPanels, BalancesAreShownWithCommas)
{
    SetGold(-5, 1234567);
    CHBExchange& panel = OpenExchange(0);
    CPageDlg* pPage = panel.GetPage(0);
    ASSERT_TRUE(PumpUntil([&] {
        CString eggs, beans;
        pPage->GetDlgItemText(1243, eggs);
        pPage->GetDlgItemText(1101, beans);
        return eggs == "0" && beans == "1,234,567";
    }));
    // The value label shares the safe-box button's id: it never fires it.
    pPage->GetDlgItem(1243)->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, 0);
    pPage->GetDlgItem(1243)->SendMessage(WM_LBUTTONUP, 0, 0);
    PumpMessages();
    EXPECT_TRUE(host.servicePages.empty());
    // The panel's own button does: the user-service program's safe box.
    panel.GetDlgItem(1243)->SendMessage(BM_CLICK);
    EXPECT_EQ(host.servicePages, (std::vector<std::pair<DWORD, DWORD>>{{1, 0}}));
}

// Each safe-box page's "all" box fills its field with all it can move and
// locks it; unticked, the field is empty and open again. The labels show
// the hand and a sum above 2^31 as unsigned values.
TEST_F(MoneyPanels, AllBoxesFillAndLockTheField)
{
    SetGold(5000, 0);
    struct
    {
        int page;
        UINT box;
        const char* all;
    } cases[] = {
        {0, 1249, "5,000"},
        {1, 1247, "3,000,000,000"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.box);
        CBankStorage& panel = OpenBank(3000000000u, c.page);
        CPageDlg* pPage = panel.GetPage(c.page);
        ASSERT_TRUE(PumpUntil([&] {
            CString hand, sum;
            pPage->GetDlgItemText(1243, hand);
            pPage->GetDlgItemText(1244, sum);
            return hand == "5,000" && sum == "3,000,000,000";
        }));
        CWnd* pBox = pPage->GetDlgItem(c.box);
        ASSERT_NE(pBox, nullptr);
        CPageDlgEdit& field = pPage->GetAmountField();
        pBox->SendMessage(BM_CLICK);
        CString text;
        field.GetWindowText(text);
        EXPECT_EQ(Text(text), c.all);
        EXPECT_FALSE(field.IsWindowEnabled());
        pBox->SendMessage(BM_CLICK);
        field.GetWindowText(text);
        EXPECT_EQ(Text(text), "");
        EXPECT_TRUE(field.IsWindowEnabled());
    }
}

// The safe box's recharge button opens the recharge page, recorded here.
TEST_F(MoneyPanels, RechargeOpensTheRechargePage)
{
    CTempFolder config("tavrel-bank-urls");
    std::ofstream(config.Path() + "\\Urls.ini", std::ios::binary)
        << "[Prepaid]\r\nurlpage=http://pay.test/recharge\r\n";
    CString previous = g_GlobalOption.GetConfigDirectory();
    g_GlobalOption.SetConfigDirectory(config.Path().c_str());
    g_GlobalOption.LoadUrls();
    CRecordedLauncher launcher;
    CBankStorage& panel = OpenBank(100, 0);
    panel.GetDlgItem(1243)->SendMessage(BM_CLICK);
    EXPECT_EQ(launcher.m_opened, std::vector<std::string>{"http://pay.test/recharge"});
    g_GlobalOption.SetConfigDirectory(previous);
    g_GlobalOption.LoadUrls();
}

TEST_F(MoneyPanels, OneRequestForADoubleConfirm)
{
    SetGold(5000, 300000);
    for (bool bBank : {true, false}) {
        SCOPED_TRACE(bBank ? "safe box" : "exchange");
        CModalScript script;
        CMoneyPanel& panel = bBank ? (CMoneyPanel&)OpenBank(100, 0) : (CMoneyPanel&)OpenExchange(0);
        size_t nBefore = m_Server.GetFrameCount();
        Confirm(panel, "10", 2);
        // Enter in the page's field and the confirm button as well.
        panel.GetPage(0)->SendMessage(WM_COMMAND, IDOK);
        panel.SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), (LPARAM)panel.GetDlgItem(IDOK)->GetSafeHwnd());
        PumpMessages();
        EXPECT_EQ(RequestsSince(nBefore).size(), 1u);
        EXPECT_EQ(script.Count(), 0u);
        EXPECT_FALSE(panel.GetDlgItem(IDOK)->IsWindowEnabled());
    }
}

TEST_F(MoneyPanels, DepositAnswerThroughTheServerGrowsTheSum)
{
    SetGold(5000, 0);
    m_Server.On(ROOM_MAIN_ROOM, ROOM_SUB_BANK_DEPOSIT,
                {CScriptedServer::Reply(ROOM_MAIN_ROOM, ROOM_SUB_S_BANK_DEPOSIT, CWireBytes().U32(0).Vector())});
    m_Recorder.OnHeard = [&](const tagRoomHeard& heard) {
        if (heard.wMainCmdID == RN_BANK_DEPOSIT.wMainCmdID && heard.wSubCmdID == RN_BANK_DEPOSIT.wSubCmdID)
            bank->OnDepositResult((int)heard.As<DWORD>());
    };
    CModalScript script;
    script.Answer(IDOK);
    CBankStorage& panel = OpenBank(0xFFFFFF00u, 0);
    Confirm(panel, "1,000");
    ASSERT_TRUE(PumpUntil([&] { return script.Count() == 1; }));
    EXPECT_EQ(Text(script.At(0).strText), "存款成功！");
    // Stored back without wrapping past the 32-bit field.
    EXPECT_EQ(m_pDataCenter->GetCallerValue(), 0xFFFFFFFFu);
    EXPECT_EQ(panel.GetSafeHwnd(), nullptr);
}

// A withdrawal answered after the sum shrank elsewhere leaves 0, not a
// wrapped 32-bit sum.
TEST_F(MoneyPanels, AWithdrawnSumNeverWraps)
{
    SetGold(0, 0);
    CModalScript script;
    script.Answer(IDOK);
    CBankStorage& panel = OpenBank(800, 1);
    Confirm(panel, "800");
    ASSERT_TRUE(panel.IsRequestInFlight());
    m_pDataCenter->SetCallerValue(100);
    panel.OnWithdrawResult(0);
    EXPECT_EQ(m_pDataCenter->GetCallerValue(), 0u);
    ASSERT_EQ(script.Count(), 1u);
    EXPECT_EQ(Text(script.At(0).strText), "取款成功");
}

TEST_F(MoneyPanels, EveryResultCodeHasItsText)
{
    struct
    {
        int kind; // 0 deposit, 1 withdraw, 2 exchange
        int code;
        const char* text; // null: no message
    } cases[] = {
        {0, 0, "存款成功！"},
        {0, 9, "您的金蛋不足，无法存入！"},
        {0, 11, "金蛋被锁定，无法存入！"},
        {0, -1, "存款失败，请稍候再试！"},
        {0, 4, nullptr},
        {1, 0, "取款成功"},
        {1, 7, "保险箱密码错误，无法取款！"},
        {1, 8, "您保险箱中的钱不足，无法取款！"},
        {1, 15, "保险箱密码未设置，无法取款！"},
        {1, -1, "取款失败，请稍候再试！"},
        {1, 3, nullptr},
        {2, 0, "兑换成功!"},
        {2, 1, "兑换失败，请稍候再试！"},
        {2, 2, "金蛋被锁，兑换失败，请稍候再试！"},
        {2, 3, "金蛋不足，兑换失败！"},
        {2, 4, "金豆被锁，兑换失败，请稍候再试！"},
        {2, 5, "金豆不足，兑换失败！"},
        {2, 7, ""},
    };
    SetGold(5000, 0);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        CModalScript script;
        CMoneyPanel* pPanel = NULL;
        if (c.kind == 2) {
            pPanel = &OpenExchange(0);
            exchange->OnExchangeResult(c.code);
        } else {
            pPanel = &OpenBank(100, c.kind);
            if (c.kind == 0)
                bank->OnDepositResult(c.code);
            else
                bank->OnWithdrawResult(c.code);
        }
        EXPECT_EQ(pPanel->GetSafeHwnd(), nullptr) << "the window goes after every answer";
        if (c.text == nullptr) {
            EXPECT_EQ(script.Count(), 0u);
            continue;
        }
        ASSERT_EQ(script.Count(), 1u);
        EXPECT_EQ(Text(script.At(0).strText).find(c.text), 0u) << Text(script.At(0).strText);
    }
}

TEST_F(MoneyPanels, TheRetypedPasswordIsTheOneUsedAfterAWrongOne)
{
    SetGold(0, 0);
    host.passwords = {"wrong", "right"};
    bank.reset(new CBankStorage);
    bank->SetRoomContext(&host, m_pDataCenter, me, 1);
    size_t nBefore = m_Server.GetFrameCount();
    bank->RequestOpenSafeBox();
    // A second open while the check is out asks nothing.
    bank->RequestOpenSafeBox();
    EXPECT_EQ(host.asked, 1);
    bank->OnOpenSafeBoxResult(3);
    EXPECT_EQ(host.roomBoxes, std::vector<std::string>{"您的保险箱密码输入错误，请检查后重试！"});
    EXPECT_EQ(host.asked, 2);
    m_pDataCenter->SetCallerValue(50);
    bank->OnOpenSafeBoxResult(0);
    ASSERT_NE(bank->GetSafeHwnd(), nullptr);
    EXPECT_EQ(bank->GetCurrentPage(), 1);
    CModalScript script;
    Confirm(*bank, "50");
    std::vector<tagServerFrame> requests = RequestsSince(nBefore);
    // Only the safe-box requests (the logon's own may still arrive).
    requests.erase(std::remove_if(requests.begin(), requests.end(),
                                  [](const tagServerFrame& f) {
                                      return f.wSubCmdID != ROOM_SUB_BANK_PASSWORD &&
                                             f.wSubCmdID != ROOM_SUB_BANK_WITHDRAW;
                                  }),
                   requests.end());
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[0].Body, CWireBytes().Counted(Digest("wrong").c_str()).Vector());
    EXPECT_EQ(requests[1].Body, CWireBytes().Counted(Digest("right").c_str()).Vector());
    EXPECT_EQ(requests[2].wSubCmdID, ROOM_SUB_BANK_WITHDRAW);
    EXPECT_EQ(requests[2].Body, CWireBytes().Counted(Digest("right").c_str()).U32(50).Vector());
}

TEST_F(MoneyPanels, OpeningAnswersOtherThanRight)
{
    struct
    {
        int code;
        const char* roomBox;
        const char* appBox;
        bool service;
    } cases[] = {
        {2, nullptr, "您的保险箱密码未初始化,请在随后弹出的服务中初始化设置保险箱密码！", true},
        {-1, "请求保险箱失败，请稍候再试！", nullptr, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        CRoomHostDouble room(&m_MainWnd);
        room.passwords = {"pw"};
        CModalScript script;
        CBankStorage panel;
        panel.SetRoomContext(&room, m_pDataCenter, me, 0);
        panel.RequestOpenSafeBox();
        panel.OnOpenSafeBoxResult(c.code);
        EXPECT_EQ(panel.GetSafeHwnd(), nullptr);
        EXPECT_TRUE(panel.GetPassword().IsEmpty());
        EXPECT_EQ(room.roomBoxes.size(), c.roomBox != nullptr ? 1u : 0u);
        EXPECT_EQ(script.Count(), c.appBox != nullptr ? 1u : 0u);
        if (c.appBox != nullptr && script.Count() == 1) {
            EXPECT_EQ(Text(script.At(0).strText), c.appBox);
        }
        EXPECT_EQ(room.servicePages.size(), c.service ? 1u : 0u);
    }
}

} // namespace
