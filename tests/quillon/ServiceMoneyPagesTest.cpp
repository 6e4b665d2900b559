// The strong-box and exchange pages, driven through the main dialog against
// the scripted user-service server: their rules and texts, what goes on the
// wire, and the counts once the server answers.
#include "ServiceTestSupport.h"

#include <functional>

#include "AfxModalScript.h"
#include "MD5Encrypt.h"
#include "QuillonDlg.h"
#include "ServiceGlobalUnits.h"
#include "ServiceServer.h"
#include "TestWait.h"
#include "res/resource.h"

#include <gtest/gtest.h>

namespace
{

const char kDigest[] = "0123456789abcdef0123456789abcdef";

std::string Md5(const char* text)
{
    char szDigest[CMD5Encrypt::kHexLength + 1];
    CMD5Encrypt::EncryptData(text, szDigest);
    return szDigest;
}

std::string Text(CWnd* pPage, UINT nID)
{
    CString strText;
    pPage->GetDlgItemText(nID, strText);
    return std::string(strText);
}

// A data centre whose requests never go out.
class CRefusingDataCenter : public IQuillonDataCenter
{
public:
    ULONG AddRef() override { return 1; }
    ULONG Release() override { return 1; }
    HRESULT QueryInterface(REFGUID, void** out) override
    {
        *out = NULL;
        return E_NOINTERFACE;
    }
    void SetSocket(IUnknownEx*) override {}
    bool ConnectServer() override { return false; }
    bool SendLogon(DWORD, LPCSTR) override { return false; }
    bool RequestUserInfo() override { return false; }
    bool Reserved1(DWORD) override { return false; }
    bool SendModifyPassword(LPCSTR, LPCSTR) override { return false; }
    bool SendModifyUserInfo(const CModifyAttrArray&) override { return false; }
    bool RequestBankInfo() override { return false; }
    bool SendCheckBankPassword() override { return false; }
    bool SendInitBankPassword(LPCSTR) override { return false; }
    bool SendDeposit(DWORD) override { return false; }
    bool SendWithdraw(LONG, LPCSTR) override { return false; }
    bool SendModifyBankPassword(LPCSTR, LPCSTR) override { return false; }
    bool RequestNickName(DWORD) override { return false; }
    bool SendTransfer(DWORD, LPCSTR, DWORD) override { return false; }
    bool Reserved2(DWORD, DWORD) override { return false; }
    bool Reserved3(DWORD, DWORD) override { return false; }
    bool Reserved4() override { return false; }
    bool Reserved5(DWORD) override { return false; }
    bool SendGoldToHP(LONGLONG) override { return false; }
    bool SendHPToGold(LONGLONG) override { return false; }
};

class MoneyPagesTest : public CServiceDialogTest
{
public:
    void SetUp() override
    {
        TheTestApp();
        StartWithBlockName("QuillonPagesBlock");
    }
    void TearDown() override
    {
        CServiceDialogTest::TearDown();
        EXPECT_EQ(0, m_Script.Unexpected());
    }

    // Starts the program for user 77 on a page and runs body once it is ready.
    void Run(DWORD dwGroup, DWORD dwIndex, std::function<void(CQuillonDlg&)> body, bool bBankPasswordSet = true)
    {
        m_Server.AnswerStart(77, bBankPasswordSet);
        RunStarted(dwGroup, dwIndex, body);
    }
    void RunStarted(DWORD dwGroup, DWORD dwIndex, std::function<void(CQuillonDlg&)> body)
    {
        tagServiceShareData block = {};
        block.dwUserID = 77;
        block.dwPageGroup = dwGroup;
        block.dwPageIndex = dwIndex;
        strcpy(block.szPassword, kDigest);
        WriteBlock(block);
        m_Script.ThenDialog([&](AFX_MODAL_REQUEST& r) {
            CQuillonDlg& dlg = *static_cast<CQuillonDlg*>(r.pWnd);
            EXPECT_TRUE(PumpUntil([&] { return dlg.GetDlgItem(IDOK)->IsWindowEnabled(); }, 15000));
            if (!HasFatalFailure())
                body(dlg);
            return INT_PTR(IDCANCEL);
        });
        {
            CQuillonDlg dlg;
            dlg.DoModal();
        }
        MSG msg;
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {}
    }

    // Runs the action, which must show the box with that text, or none when
    // null (the box is answered); false when the count of boxes is wrong.
    template <class Action> bool ShowsBox(const char* pszBox, Action action)
    {
        const size_t nWant = Boxes().size() + (pszBox != nullptr ? 1 : 0);
        if (pszBox != nullptr)
            m_Script.AnswerBox(IDOK);
        action();
        EXPECT_EQ(nWant, Boxes().size());
        if (Boxes().size() != nWant)
            return false;
        if (pszBox != nullptr) {
            EXPECT_EQ(pszBox, Boxes().back());
        }
        return true;
    }
    static void PressOk(CQuillonDlg& dlg)
    {
        PumpMessages(); // the page registers itself by a posted message
        dlg.SendMessage(WM_COMMAND, IDOK);
    }
    // The next password prompt: typed and confirmed, or cancelled (null).
    void AnswerPrompt(const char* pszPassword)
    {
        m_Script.ThenDialog([pszPassword](AFX_MODAL_REQUEST& r) {
            if (pszPassword == nullptr)
                return INT_PTR(IDCANCEL);
            r.pWnd->SetDlgItemText(IDC_INPUTER_VALUE, pszPassword);
            r.pWnd->PostMessage(WM_COMMAND, IDOK);
            return CModalScript::keepRunning;
        });
    }
    size_t Prompts()
    {
        size_t n = 0;
        for (const CModalScript::Shown& shown : m_Script.Recorded())
            n += shown.nKind == afxModalDialog && shown.nIDTemplate == IDD_INPUTER;
        return n;
    }
    // Waits for the n-th request (main, sub) the server got.
    std::vector<BYTE> Request(WORD wMain, WORD wSub, size_t n = 1)
    {
        EXPECT_TRUE(PumpUntil([&] { return m_Server.GetRequests(wMain, wSub).size() >= n; }));
        std::vector<tagServerFrame> frames = m_Server.GetRequests(wMain, wSub);
        return frames.size() >= n ? frames[n - 1].Body : std::vector<BYTE>();
    }
    // Sends an answer and waits until the dialog saw it (its tip or box).
    void Answer(WORD wMain, WORD wSub, const CWireBytes& body)
    {
        INT_PTR nTips = g_ServiceUnits.GetTipCalls().GetSize();
        size_t nShown = m_Script.Count();
        ASSERT_TRUE(m_Server.Send(wMain, wSub, body.Vector()));
        ASSERT_TRUE(
            PumpUntil([&] { return g_ServiceUnits.GetTipCalls().GetSize() > nTips || m_Script.Count() > nShown; }));
    }
    std::string LastTip()
    {
        const auto& calls = g_ServiceUnits.GetTipCalls();
        return calls.GetSize() == 0 ? "" : std::string(calls[calls.GetSize() - 1].strText);
    }
};

// Purse 5000 eggs, strong box 1200.
TEST_F(MoneyPagesTest, DepositAndWithdrawRules)
{
    struct Case
    {
        const char* name;
        const char* withdraw;
        const char* deposit;
        const char* prompt; // typed into the prompt; "" none shown; null cancelled
        const char* box;    // or null
        bool done;          // the page left the list
        WORD wSub;          // the request sent, 0 none
        CWireBytes body;
    } cases[] = {
        {"nothing", "", "", "", nullptr, false, 0, CWireBytes()},
        {"both 0", "0", "0", "", nullptr, false, 0, CWireBytes()},
        {"both set", "100", "100", "", "错误,不能同时进行存款和取款", false, 0, CWireBytes()},
        {"withdraw over the balance", "1201", "", "", "取款额超过金蛋总额", false, 0, CWireBytes()},
        {"deposit over the purse", "", "5001", "", "存款金蛋超额", false, 0, CWireBytes()},
        {"not digits", "12a", "", "", "输入的保险箱金蛋错误", false, 0, CWireBytes()},
        {"wider than the request", "", "4294967296", "", "输入的保险箱金蛋错误", false, 0, CWireBytes()},
        {"prompt cancelled", "1200", "", nullptr, nullptr, false, 0, CWireBytes()},
        {"withdraw", "1200", "", "secret", nullptr, true, 305, CWireBytes().Str(Md5("secret")).U32(1200)},
        {"deposit", "", "5000", "", nullptr, true, 303, CWireBytes().U32(5000)},
    };
    Run(1, 0, [&](CQuillonDlg& dlg) {
        CTabDlg* pPage = dlg.GetPage(1, 0);
        ASSERT_TRUE(pPage->IsWindowVisible());
        EXPECT_EQ("1200", Text(pPage, IDC_ATM_BALANCE));
        EXPECT_EQ("5000", Text(pPage, IDC_ATM_EGGS));
        for (const Case& c : cases) {
            SCOPED_TRACE(c.name);
            size_t nBoxes = Boxes().size(), nPrompts = Prompts();
            size_t nSent = c.wSub != 0 ? m_Server.GetRequests(300, c.wSub).size() : 0;
            pPage->SetDlgItemText(IDC_ATM_WITHDRAW, c.withdraw);
            pPage->SetDlgItemText(IDC_ATM_DEPOSIT, c.deposit);
            ASSERT_TRUE(PumpUntil([&] { return dlg.GetRegisteredPageCount() == 1; })) << "typing registers the page";
            if (c.box != nullptr)
                m_Script.AnswerBox(IDOK);
            bool bPrompt = c.prompt == nullptr || *c.prompt != '\0';
            if (bPrompt)
                AnswerPrompt(c.prompt);
            PumpMessages(); // the page registers itself by a posted message
            dlg.SendMessage(WM_COMMAND, IDOK);
            EXPECT_EQ(nPrompts + (bPrompt ? 1 : 0), Prompts());
            ASSERT_EQ(nBoxes + (c.box != nullptr ? 1 : 0), Boxes().size());
            if (c.box != nullptr) {
                EXPECT_EQ(c.box, Boxes().back());
            }
            EXPECT_EQ(c.done ? 0 : 1, dlg.GetRegisteredPageCount());
            if (c.wSub != 0) {
                EXPECT_EQ(c.body.Vector(), Request(300, c.wSub, nSent + 1));
            }
        }
    });
    EXPECT_EQ(1u, m_Server.GetRequests(300, 305).size());
    EXPECT_EQ(1u, m_Server.GetRequests(300, 303).size());
}

TEST_F(MoneyPagesTest, BalancesMoveWhenTheServerAgrees)
{
    Run(1, 0, [&](CQuillonDlg& dlg) {
        CTabDlg* pPage = dlg.GetPage(1, 0);
        tagServiceUserData* pUser = g_ServiceUnits.GetUserData();
        // A refused deposit moves nothing and leaves the page to submit again.
        pPage->SetDlgItemText(IDC_ATM_DEPOSIT, "300");
        ASSERT_TRUE(PumpUntil([&] { return dlg.GetRegisteredPageCount() == 1; }));
        PumpMessages(); // the page registers itself by a posted message
        dlg.SendMessage(WM_COMMAND, IDOK);
        Request(300, 303);
        EXPECT_EQ(0, dlg.GetRegisteredPageCount());
        Answer(300, 304, ServiceBody::Result(9));
        EXPECT_EQ(5000u, pUser->dwEggCount);
        EXPECT_EQ(1200u, g_ServiceUnits.m_dwBankBalance);
        EXPECT_EQ(1, dlg.GetRegisteredPageCount());
        // Agreed: the eggs move into the strong box and the page shows it.
        Answer(300, 304, ServiceBody::Result(0));
        EXPECT_EQ(4700u, pUser->dwEggCount);
        EXPECT_EQ(1500u, g_ServiceUnits.m_dwBankBalance);
        EXPECT_EQ("1500", Text(pPage, IDC_ATM_BALANCE));
        EXPECT_EQ("4700", Text(pPage, IDC_ATM_EGGS));
        EXPECT_EQ("", Text(pPage, IDC_ATM_DEPOSIT));
        EXPECT_EQ(0, dlg.GetRegisteredPageCount());

        // A withdrawal above 2^31 still moves the eggs out of the box.
        ASSERT_TRUE(m_Server.Send(300, 302, ServiceBody::BankInfo(0, 3000000000u, 10.0, 0.1, 0.02, 0.01).Vector()));
        ASSERT_TRUE(PumpUntil([&] { return Text(pPage, IDC_ATM_BALANCE) == "3000000000"; }));
        pPage->SetDlgItemText(IDC_ATM_WITHDRAW, "2500000000");
        ASSERT_TRUE(PumpUntil([&] { return dlg.GetRegisteredPageCount() == 1; }));
        AnswerPrompt("secret");
        PumpMessages(); // the page registers itself by a posted message
        dlg.SendMessage(WM_COMMAND, IDOK);
        EXPECT_EQ(CWireBytes().Str(Md5("secret")).U32(2500000000u).Vector(), Request(300, 305));
        // Refused: a box, and the page asks again (cancelled here).
        m_Script.AnswerBox(IDOK);
        AnswerPrompt(nullptr);
        Answer(300, 306, ServiceBody::Result(8));
        EXPECT_EQ("金蛋操作失败:保险箱金蛋不足", Boxes().back());
        EXPECT_EQ(2u, Prompts());
        EXPECT_EQ(1, dlg.GetRegisteredPageCount()) << "kept after the second try failed";
        EXPECT_EQ(3000000000u, g_ServiceUnits.m_dwBankBalance);
        Answer(300, 306, ServiceBody::Result(0));
        EXPECT_EQ(500000000u, g_ServiceUnits.m_dwBankBalance);
        EXPECT_EQ(2500004700u, pUser->dwEggCount);
        EXPECT_EQ("500000000", Text(pPage, IDC_ATM_BALANCE));
        EXPECT_EQ("2500004700", Text(pPage, IDC_ATM_EGGS));
    });
}

TEST_F(MoneyPagesTest, TransferRulesAndTheNicknameWait)
{
    Run(1, 0, [&](CQuillonDlg& dlg) {
        CBankTransferDlg* pPage = static_cast<CBankTransferDlg*>(dlg.GetPage(1, 1));
        IQuillonDataCenter* pCentre = dlg.GetDataCenter();
        tagServiceUserData* pUser = g_ServiceUnits.GetUserData();
        EXPECT_EQ(nullptr, dlg.GetTabItem(1, 1)) << "no tab for it";
        EXPECT_EQ("普通用户税率:  2.00 %\n会员用户税率:  1.00 %", Text(pPage, IDC_TRANSFER_TAX));
        // The page has no tab; shown here to be typed into.
        dlg.GetPage(1, 0)->ShowWindow(SW_HIDE);
        pPage->ShowWindow(SW_SHOW);

        // Leaving the id edit asks for the nickname; answers for another
        // id are passed over.
        pPage->SetDlgItemText(IDC_TRANSFER_TARGET, "2002");
        pPage->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_TRANSFER_TARGET, EN_KILLFOCUS),
                           LPARAM(pPage->GetDlgItem(IDC_TRANSFER_TARGET)->m_hWnd));
        EXPECT_EQ(CWireBytes().U32(2002).Vector(), Request(200, 207));
        EXPECT_TRUE(pPage->IsWaitingForNickName());
        pUser->dwEggCount = 200000;
        pPage->SetDlgItemText(IDC_TRANSFER_AMOUNT, "100000");
        m_Script.AnswerBox(IDOK);
        EXPECT_FALSE(pPage->Submit(pCentre));
        EXPECT_EQ("正在获取要转账用户的昵称,请稍候", Boxes().back());
        ASSERT_TRUE(m_Server.Send(200, 208, ServiceBody::NickName(0, 3003, "other").Vector()));
        ASSERT_TRUE(m_Server.Send(200, 208, ServiceBody::NickName(0, 2002, "A&B").Vector()));
        ASSERT_TRUE(PumpUntil([&] { return !pPage->IsWaitingForNickName(); }));
        EXPECT_EQ("A&&B", Text(pPage, IDC_TRANSFER_NICK));

        struct Case
        {
            const char* name;
            DWORD eggs;
            const char* target;
            const char* amount;
            const char* box;
            bool result;
            bool prompt;
        } cases[] = {
            {"no target", 200000, "", "100000", nullptr, true, false},
            {"purse under 10000", 9999, "2002", "100000", "您的金蛋少于10000,无法进行转账", true, false},
            {"no amount", 200000, "2002", "", "请输入转账金蛋", false, false},
            {"amount over the purse", 200000, "2002", "200001", "转账金蛋超额", false, false},
            {"amount wider than the request", 200000, "2002", "4294967296", "转账金蛋超额", false, false},
            {"own id", 200000, "77", "100000", "不能自己给自己转账", true, false},
            {"purse of 10000, amount 99999", 10000, "2002", "99999", "转账金蛋超额", false, false},
            {"amount 99999", 200000, "2002", "99999", "每笔转账数额不得小于10万", false, false},
            {"amount 100000", 200000, "2002", "100000", nullptr, true, true},
        };
        for (const Case& c : cases) {
            SCOPED_TRACE(c.name);
            pUser->dwEggCount = c.eggs;
            pPage->SetDlgItemText(IDC_TRANSFER_TARGET, c.target);
            pPage->SetDlgItemText(IDC_TRANSFER_AMOUNT, c.amount);
            size_t nBoxes = Boxes().size(), nPrompts = Prompts();
            if (c.box != nullptr)
                m_Script.AnswerBox(IDOK);
            if (c.prompt)
                AnswerPrompt("secret");
            EXPECT_EQ(c.result, pPage->Submit(pCentre));
            ASSERT_EQ(nBoxes + (c.box != nullptr ? 1 : 0), Boxes().size());
            if (c.box != nullptr) {
                EXPECT_EQ(c.box, Boxes().back());
            }
            EXPECT_EQ(nPrompts + (c.prompt ? 1 : 0), Prompts());
        }
        EXPECT_EQ(CWireBytes().U32(2002).Str(Md5("secret")).U32(100000).Vector(), Request(300, 309));
        // The purse pays once the server agrees.
        Answer(300, 310, ServiceBody::Result(0));
        EXPECT_EQ(100000u, pUser->dwEggCount);
        EXPECT_EQ("100000", Text(pPage, IDC_TRANSFER_EGGS));

        // Own id when leaving the edit: cleared, nothing asked.
        pPage->SetDlgItemText(IDC_TRANSFER_TARGET, "77");
        m_Script.AnswerBox(IDOK);
        pPage->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_TRANSFER_TARGET, EN_KILLFOCUS),
                           LPARAM(pPage->GetDlgItem(IDC_TRANSFER_TARGET)->m_hWnd));
        EXPECT_EQ("不能自己给自己转账", Boxes().back());
        EXPECT_EQ("", Text(pPage, IDC_TRANSFER_TARGET));
        // A refused look-up ends the wait and clears the nickname. Every
        // look-up is refused: the refusal puts the focus back in the edit,
        // and where another program on the desktop takes it away again the
        // edit asks once more.
        m_Server.Answer(200, 207, ServiceBody::NickName(3, 4004, ""));
        pPage->SetDlgItemText(IDC_TRANSFER_TARGET, "4004");
        pPage->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_TRANSFER_TARGET, EN_KILLFOCUS),
                           LPARAM(pPage->GetDlgItem(IDC_TRANSFER_TARGET)->m_hWnd));
        EXPECT_TRUE(pPage->IsWaitingForNickName());
        EXPECT_EQ(CWireBytes().U32(4004).Vector(), Request(200, 207, 2));
        EXPECT_TRUE(PumpUntil([&] { return !pPage->IsWaitingForNickName(); }));
        EXPECT_EQ("", Text(pPage, IDC_TRANSFER_NICK));
    });
    EXPECT_EQ(1u, m_Server.GetRequests(300, 309).size());
}

TEST_F(MoneyPagesTest, StrongBoxPasswordInItsTwoModes)
{
    // Not set yet: the page opens to set it, without the old password.
    m_Script.AnswerBox(IDYES);
    Run(
        1, 0,
        [&](CQuillonDlg& dlg) {
            CBankPasswordDlg* pPage = static_cast<CBankPasswordDlg*>(dlg.GetPage(1, 2));
            EXPECT_TRUE(pPage->IsWindowVisible());
            EXPECT_TRUE(pPage->IsInitMode());
            EXPECT_FALSE(pPage->GetDlgItem(IDC_BANKPW_OLD)->IsWindowEnabled());
            EXPECT_EQ("初始化保险箱密码", Text(pPage, IDC_BANKPW_TITLE));
            struct Case
            {
                const char* again;
                const char* newPw;
                const char* box;
                bool sent;
            } cases[] = {
                {"abc", "", "密码不能为空", false},
                {"abcd", "abce", "两次输入的密码不一致", false},
                {"abcd", "abcd", nullptr, true},
            };
            for (const Case& c : cases) {
                SCOPED_TRACE(std::string(c.newPw) + "/" + c.again);
                // Typing a differing pair already says so.
                bool bDiffer = *c.newPw != '\0' && *c.again != '\0' && strcmp(c.newPw, c.again) != 0;
                if (bDiffer)
                    m_Script.AnswerBox(IDOK);
                pPage->SetDlgItemText(IDC_BANKPW_NEW, "");
                pPage->SetDlgItemText(IDC_BANKPW_AGAIN, c.again);
                pPage->SetDlgItemText(IDC_BANKPW_NEW, c.newPw);
                ASSERT_TRUE(ShowsBox(c.box, [&] { PressOk(dlg); }));
            }
            EXPECT_EQ(CWireBytes().Str(Md5("abcd")).Vector(), Request(300, 315));
            Answer(300, 316, ServiceBody::Result(0));
            EXPECT_FALSE(pPage->IsInitMode());
            EXPECT_TRUE(pPage->GetDlgItem(IDC_BANKPW_OLD)->IsWindowEnabled());
            EXPECT_EQ("保险箱密码修改", Text(pPage, IDC_BANKPW_TITLE));
        },
        false);
    EXPECT_EQ(1u, m_Server.GetRequests(300, 315).size());
    EXPECT_TRUE(m_Server.GetRequests(300, 307).empty());
}

TEST_F(MoneyPagesTest, StrongBoxPasswordChange)
{
    struct Case
    {
        const char* oldPw;
        const char* newPw;
        const char* again;
        bool result;
        const char* box;
    } cases[] = {
        {"", "", "", false, nullptr},
        {"old", "", "", false, "密码不能为空"},
        {"", "new1", "new1", false, "密码不能为空"},
        {"old", "new1", "new2", false, "两次输入的密码不一致"},
        {"same", "same", "same", false, "新旧密码不能相同"},
        {"old", "new1", "new1", true, nullptr},
    };
    Run(1, 2, [&](CQuillonDlg& dlg) {
        CBankPasswordDlg* pPage = static_cast<CBankPasswordDlg*>(dlg.GetPage(1, 2));
        EXPECT_FALSE(pPage->IsInitMode());
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.oldPw) + "/" + c.newPw + "/" + c.again);
            pPage->SetDlgItemText(IDC_BANKPW_NEW, "");
            pPage->SetDlgItemText(IDC_BANKPW_OLD, c.oldPw);
            pPage->SetDlgItemText(IDC_BANKPW_AGAIN, c.again);
            bool bDiffer = *c.oldPw != '\0' && *c.newPw != '\0' && *c.again != '\0' && strcmp(c.newPw, c.again) != 0;
            if (bDiffer)
                m_Script.AnswerBox(IDOK);
            pPage->SetDlgItemText(IDC_BANKPW_NEW, c.newPw);
            ASSERT_TRUE(ShowsBox(c.box, [&] { EXPECT_EQ(c.result, pPage->Submit(dlg.GetDataCenter())); }));
        }
        EXPECT_EQ("", Text(pPage, IDC_BANKPW_OLD)) << "cleared once sent";
    });
    std::vector<tagServerFrame> sent = m_Server.GetRequests(300, 307);
    ASSERT_EQ(1u, sent.size());
    EXPECT_EQ(CWireBytes().Str(Md5("old")).Str(Md5("new1")).Vector(), sent[0].Body);
}

TEST_F(MoneyPagesTest, EggsToBeansPresetsLimitsAndCommas)
{
    Run(3, 0, [&](CQuillonDlg& dlg) {
        CGoldToHP* pPage = static_cast<CGoldToHP*>(dlg.GetPage(3, 0));
        ASSERT_TRUE(pPage->IsWindowVisible());
        EXPECT_TRUE(dlg.GetTabItem(3, 0)->IsEnabled());
        EXPECT_EQ("金蛋兑换金豆比例1：10", Text(pPage, IDC_G2H_RATE));
        g_ServiceUnits.GetUserData()->dwEggCount = 12345;
        pPage->RefreshFromData();
        EXPECT_EQ("12345", Text(pPage, IDC_G2H_EGGS));
        // Presets above the purse are cut to it; "all" is the purse.
        const struct
        {
            int preset;
            LONGLONG amount;
            const char* shown;
        } presets[] = {{0, 10000, "10,000"}, {2, 12345, "12,345"}, {3, 12345, "12,345"}, {1, 12345, "12,345"}};
        for (const auto& p : presets) {
            SCOPED_TRACE(p.preset);
            pPage->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_G2H_PRESET_FIRST + p.preset, BN_CLICKED),
                               LPARAM(pPage->GetDlgItem(IDC_G2H_PRESET_FIRST + p.preset)->m_hWnd));
            EXPECT_EQ(p.amount, pPage->GetAmount());
            EXPECT_EQ(p.shown, Text(pPage, IDC_G2H_AMOUNT));
            EXPECT_EQ(std::to_string(p.amount * 10), Text(pPage, IDC_G2H_RESULT));
            EXPECT_EQ(BST_CHECKED, pPage->IsDlgButtonChecked(IDC_G2H_PRESET_FIRST + p.preset));
        }
        // Typed amounts take their commas as they go.
        pPage->SetDlgItemText(IDC_G2H_AMOUNT, "1234567");
        EXPECT_EQ("1,234,567", Text(pPage, IDC_G2H_AMOUNT));
        EXPECT_EQ("12345670", Text(pPage, IDC_G2H_RESULT));
        EXPECT_EQ(BST_UNCHECKED, pPage->IsDlgButtonChecked(IDC_G2H_PRESET_FIRST + 1));

        struct Case
        {
            const char* typed;
            const char* box;
        } cases[] = {
            {"", "输入金额必须大于1万，请重新输入！"},
            {"9999", "输入金额必须大于1万，请重新输入！"},
            {"12346", "输入金额大于拥有金蛋数，请重新输入！"},
            {"1234567890123456789", "输入金额大于拥有金蛋数，请重新输入！"},
            {"10000", nullptr},
        };
        for (const Case& c : cases) {
            SCOPED_TRACE(c.typed);
            pPage->SetDlgItemText(IDC_G2H_AMOUNT, c.typed);
            ASSERT_TRUE(ShowsBox(c.box, [&] { PressOk(dlg); }));
            if (c.box != nullptr) {
                EXPECT_TRUE(pPage->GetDlgItem(IDC_G2H_AMOUNT)->IsWindowEnabled());
            }
        }
        EXPECT_EQ(CWireBytes().U16(0).U64(10000).Vector(), Request(300, 311));
        EXPECT_FALSE(pPage->GetDlgItem(IDC_G2H_AMOUNT)->IsWindowEnabled()) << "until the answer";
        EXPECT_EQ(10000, g_ServiceUnits.m_llPendingEggs);
        EXPECT_EQ(100000, g_ServiceUnits.m_llPendingBeans);
        Answer(300, 312, ServiceBody::Exchange(0, 0));
        EXPECT_EQ(2345u, g_ServiceUnits.GetUserData()->dwEggCount);
        EXPECT_EQ(100700u, g_ServiceUnits.GetUserData()->dwBeanCount);
        EXPECT_EQ("2345", Text(pPage, IDC_G2H_EGGS));
        EXPECT_EQ("100700", Text(pPage, IDC_G2H_BEANS));
        EXPECT_TRUE(pPage->GetDlgItem(IDC_G2H_AMOUNT)->IsWindowEnabled());

        // A request that does not go out leaves the amount editable.
        CRefusingDataCenter refusing;
        g_ServiceUnits.GetUserData()->dwEggCount = 50000;
        pPage->RefreshFromData();
        pPage->SetDlgItemText(IDC_G2H_AMOUNT, "20000");
        EXPECT_TRUE(pPage->Submit(&refusing));
        EXPECT_TRUE(pPage->GetDlgItem(IDC_G2H_AMOUNT)->IsWindowEnabled());
        EXPECT_EQ(10000, g_ServiceUnits.m_llPendingEggs) << "no exchange pending";
    });
    EXPECT_EQ(1u, m_Server.GetRequests(300, 311).size());
}

TEST_F(MoneyPagesTest, BeansToEggsPresetsAndLimits)
{
    Run(3, 1, [&](CQuillonDlg& dlg) {
        CHPToGold* pPage = static_cast<CHPToGold*>(dlg.GetPage(3, 1));
        ASSERT_TRUE(pPage->IsWindowVisible());
        EXPECT_EQ("金豆兑换金蛋比例10：1", Text(pPage, IDC_H2G_RATE));
        m_Script.AnswerBox(IDOK);
        EXPECT_FALSE(pPage->Submit(dlg.GetDataCenter()));
        EXPECT_EQ("请选择要兑换的金额！", Boxes().back());

        const LONGLONG kPresets[] = {200000, 500000, 1000000, 10000000};
        for (int i = 0; i < 4; ++i) {
            pPage->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_H2G_PRESET_FIRST + i, BN_CLICKED),
                               LPARAM(pPage->GetDlgItem(IDC_H2G_PRESET_FIRST + i)->m_hWnd));
            EXPECT_EQ(kPresets[i], pPage->GetAmount());
            PumpMessages();
            EXPECT_EQ(std::to_string(kPresets[i] / 10), Text(pPage, IDC_H2G_RESULT));
        }
        EXPECT_EQ(1, dlg.GetRegisteredPageCount());

        struct Case
        {
            DWORD beans;
            const char* box;
        } cases[] = {{199999, "输入金额大于拥有金豆数，请重新输入！"}, {200000, nullptr}};
        for (const Case& c : cases) {
            SCOPED_TRACE(c.beans);
            g_ServiceUnits.GetUserData()->dwBeanCount = c.beans;
            pPage->RefreshFromData();
            EXPECT_EQ(std::to_string(c.beans), Text(pPage, IDC_H2G_BEANS));
            pPage->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_H2G_PRESET_FIRST, BN_CLICKED),
                               LPARAM(pPage->GetDlgItem(IDC_H2G_PRESET_FIRST)->m_hWnd));
            ASSERT_TRUE(ShowsBox(c.box, [&] { PressOk(dlg); }));
        }
        EXPECT_EQ(CWireBytes().U16(1).U64(200000).Vector(), Request(300, 311));
        Answer(300, 312, ServiceBody::Exchange(1, 0));
        EXPECT_EQ(0u, g_ServiceUnits.GetUserData()->dwBeanCount);
        EXPECT_EQ(25000u, g_ServiceUnits.GetUserData()->dwEggCount);
        EXPECT_EQ("25000", Text(pPage, IDC_H2G_EGGS));
        EXPECT_EQ("0", Text(pPage, IDC_H2G_RESULT));
    });
}

// Before the first strong-box information the rates are 0: no division,
// "--" in their place.
TEST_F(MoneyPagesTest, RateTextsBeforeAndAfterTheFirstInformation)
{
    m_Server.Answer(100, 102, ServiceBody::Result(0));
    m_Server.Answer(200, 201, ServiceBody::UserInfo(77, 0, {{14, "50000"}, {17, "300000"}}));
    m_Server.Answer(300, 313, ServiceBody::BankPasswordState(0, 1));
    RunStarted(3, 0, [&](CQuillonDlg& dlg) {
        CGoldToHP* pEggs = static_cast<CGoldToHP*>(dlg.GetPage(3, 0));
        CHPToGold* pBeans = static_cast<CHPToGold*>(dlg.GetPage(3, 1));
        pEggs->RefreshFromData();
        pBeans->RefreshFromData();
        EXPECT_EQ("金蛋兑换金豆比例1：--", Text(pEggs, IDC_G2H_RATE));
        EXPECT_EQ("金豆兑换金蛋比例--：1", Text(pBeans, IDC_H2G_RATE));
        pEggs->SetDlgItemText(IDC_G2H_AMOUNT, "20000");
        EXPECT_EQ("--", Text(pEggs, IDC_G2H_RESULT));
        pBeans->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_H2G_PRESET_FIRST, BN_CLICKED),
                            LPARAM(pBeans->GetDlgItem(IDC_H2G_PRESET_FIRST)->m_hWnd));
        EXPECT_EQ("--", Text(pBeans, IDC_H2G_RESULT));

        ASSERT_TRUE(m_Server.Send(300, 302, ServiceBody::BankInfo(0, 0, 100.0, 0.05, 0, 0).Vector()));
        ASSERT_TRUE(PumpUntil([&] { return Text(pEggs, IDC_G2H_RATE) != "金蛋兑换金豆比例1：--"; }));
        EXPECT_EQ("金蛋兑换金豆比例1：100", Text(pEggs, IDC_G2H_RATE));
        EXPECT_EQ("金豆兑换金蛋比例20：1", Text(pBeans, IDC_H2G_RATE));
        // With rate 1 of 100, 50000 eggs give 5000000 beans.
        pEggs->SetDlgItemText(IDC_G2H_AMOUNT, "50000");
        EXPECT_EQ("5000000", Text(pEggs, IDC_G2H_RESULT));
    });
}

} // namespace
