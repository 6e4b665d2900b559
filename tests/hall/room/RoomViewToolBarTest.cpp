// The table room view inside the room window: its place, the caption and
// the button sets the room chooses, and the toolbar's buttons and commands
// reaching the room, its server, its dialogs and its money panels.
#include "RoomViewTestSupport.h"

#include <algorithm>

#include "CreateTableDlg.h"
#include "DialogDriving.h"
#include "MD5Encrypt.h"
#include "OptionDlg.h"
#include "RoomBankStoragePassDlg.h"
#include "RoomViewItemMoney.h"
#include "SpeakDlg.h"
#include "resource.h"

namespace
{

// The money panels a room made, as the calls they took.
class CMoneyPanelsDouble : public IRoomMoneyPanels
{
public:
    explicit CMoneyPanelsDouble(std::vector<std::string>* pCalls) : m_pCalls(pCalls) {}
    void ShowBankStorage(int nPage) override { Add("bank", nPage); }
    void ShowHBExchange() override { m_pCalls->push_back("exchange"); }
    void OnOpenSafeBoxResult(int nCode) override { Add("open", nCode); }
    void OnWithdrawResult(int nCode) override { Add("withdraw", nCode); }
    void OnDepositResult(int nCode) override { Add("deposit", nCode); }
    void OnExchangeResult(int nCode) override { Add("exchanged", nCode); }

private:
    void Add(const char* pszName, int nValue) { m_pCalls->push_back(pszName + std::to_string(nValue)); }
    std::vector<std::string>* m_pCalls;
};

bool Contains(const std::vector<BYTE>& body, const std::string& text)
{
    return std::search(body.begin(), body.end(), text.begin(), text.end()) != body.end();
}

} // namespace

class RoomViewToolBarTest : public RoomViewTest
{
protected:
    void SetUp() override
    {
        RoomViewTest::SetUp();
        m_OldFactory = CRoomViewItem::s_MoneyPanelsFactory;
        CRoomViewItem::s_MoneyPanelsFactory = nullptr;
        MakeView();
    }
    void TearDown() override
    {
        RoomViewTest::TearDown();
        CRoomViewItem::s_MoneyPanelsFactory = m_OldFactory;
    }

    // Connect, log on and enter a room of that type and rule.
    void EnterTypedRoom(BYTE cbType, DWORD dwRule = 0)
    {
        Connect();
        ASSERT_EQ(DWORD(ROOM_STATE_LOGGED_ON), m_pView->GetRoomState());
        std::vector<uint8_t> info = RoomBody::RoomInfo(dwRule).Vector();
        info[4] = cbType; // low byte of the server type
        SendAndSettle(ROOM_MAIN_TABLE, TABLE_SUB_S_ROOM_INFO, CWireBytes().Bytes(info));
        SendAndSettle(ROOM_MAIN_TABLE, TABLE_SUB_S_INFO_DONE, CWireBytes());
        ASSERT_EQ(DWORD(ROOM_STATE_READY), m_pView->GetRoomState());
    }
    CTableToolBar* Bar() { return m_pView->GetTableView()->GetToolBar(); }
    // A button press as the button sends it.
    void Press(UINT nID) { Click(Bar(), nID); }
    // A command of the other-commands menu.
    void Command(UINT nID) { Bar()->SendMessage(WM_COMMAND, MAKEWPARAM(nID, 0), 0); }
    std::vector<UINT> Visible()
    {
        std::vector<UINT> ids;
        for (UINT nID : {1000, 1002, 1003, 1004, 1005, 1007, 1008, 1009, 1010, 1011, 1012, 1013})
            if (Bar()->GetDlgItem(nID)->GetStyle() & WS_VISIBLE)
                ids.push_back(nID);
        return ids;
    }
    // Whatever the view sent before now has reached the server.
    void Settle() { ASSERT_TRUE(m_Server.Settle()); }
    size_t Sent(WORD wSubCmdID) { return Requests(ROOM_MAIN_ROOM, wSubCmdID).size(); }
    void InstallMoneyDouble()
    {
        CRoomViewItem::s_MoneyPanelsFactory = [this](CRoomViewItem*) {
            ++m_nPanelsMade;
            return new CMoneyPanelsDouble(&m_MoneyCalls);
        };
    }

    std::function<IRoomMoneyPanels*(CRoomViewItem*)> m_OldFactory;
    std::vector<std::string> m_MoneyCalls;
    int m_nPanelsMade = 0;
};

TEST_F(RoomViewToolBarTest, TheTableViewFillsTheRoomWithTheToolbarAboveTheGrid)
{
    m_pView->BeginWaitStatus();
    EnterTypedRoom(1);
    CRoomViewItemTable* pTable = m_pView->GetTableView();
    ASSERT_NE(nullptr, pTable->GetSafeHwnd());
    EXPECT_EQ(UINT(IDC_ROOM_TABLE_VIEW), UINT(pTable->GetDlgCtrlID()));
    EXPECT_TRUE(pTable->IsWindowVisible());
    CRect rcTable;
    pTable->GetWindowRect(&rcTable);
    m_pView->ScreenToClient(&rcTable);
    EXPECT_EQ(CRect(0, 0, 800, 600), rcTable);

    auto inTable = [pTable](CWnd* pChild) {
        CRect rc;
        pChild->GetWindowRect(&rc);
        pTable->ScreenToClient(&rc);
        return rc;
    };
    EXPECT_EQ(CRect(13, 0, 13 + 786, 23), inTable(Bar()));
    EXPECT_EQ(CRect(13, 23, 13 + 786, 23 + 575), inTable(m_pView->GetTableFrame()));
    EXPECT_EQ(pTable->GetTableFrame(), m_pView->GetTableFrame());
    EXPECT_EQ(30, pTable->GetTableFrame()->GetTableCount());

    CString strCaption;
    Bar()->GetDlgItemText(IDC_TOOLBAR_CAPTION, strCaption);
    EXPECT_FALSE(strCaption.IsEmpty());
    EXPECT_EQ(m_pView->GetCaption(), strCaption);

    // Waiting hides the whole view, toolbar and grid together.
    m_pView->BeginWaitStatus();
    EXPECT_EQ(0u, pTable->GetStyle() & WS_VISIBLE);
    m_pView->EndWaitStatus();
    EXPECT_NE(0u, pTable->GetStyle() & WS_VISIBLE);
}

TEST_F(RoomViewToolBarTest, TheRoomTypeAndRuleChooseTheButtonSet)
{
    struct Case
    {
        BYTE cbType;
        DWORD dwRule;
        std::vector<UINT> visible;
    } cases[] = {
        {1, 0, {1000, 1002, 1003, 1007, 1009}},
        {2, 0, {1002, 1003, 1009, 1010, 1011, 1012}},
        {3, 0, {1000, 1002, 1003, 1007, 1009, 1013}},
        // Players hidden: only exit, other commands and the caption stay.
        {3, 0x100, {1002, 1003, 1009}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.cbType) * 0x10000 + int(c.dwRule));
        if (m_pView == nullptr)
            MakeView();
        EnterTypedRoom(c.cbType, c.dwRule);
        tagNotifyHead head = {0, RN_USER_LIST.wMainCmdID, RN_USER_LIST.wSubCmdID};
        m_pView->SendMessage(WM_ROOM_NOTIFY, WPARAM(&head), 0);
        EXPECT_EQ(c.visible, Visible());
        EXPECT_EQ(c.cbType == 2, Bar()->IsBankMode());
        CloseView();
    }
}

TEST_F(RoomViewToolBarTest, QuickSitAndCloseReachTheRoom)
{
    EnterTypedRoom(1);
    Press(IDC_TOOLBAR_QUICK_SIT);
    ASSERT_TRUE(PumpUntil([&] { return Sent(ROOM_SUB_SIT_DOWN) == 1; }));
    EXPECT_NE(INVALID_TABLE, m_pView->GetPendingTable());

    EXPECT_EQ(0, m_Tabs.nCloseAsked);
    Press(IDC_TOOLBAR_EXIT);
    EXPECT_EQ(1, m_Tabs.nCloseAsked);
}

TEST_F(RoomViewToolBarTest, TheOptionDialogSendsTheSitRuleOnlyOnOk)
{
    EnterTypedRoom(2);
    ASSERT_TRUE(PumpUntil([&] { return Sent(ROOM_SUB_USER_RULE) == 1; }));
    struct Case
    {
        const char* name;
        std::function<void()> open;
        INT_PTR nAnswer;
        size_t nRules;
    } cases[] = {
        {"button, cancel", [&] { Press(IDC_TOOLBAR_OPTION); }, IDCANCEL, 1},
        {"button, ok", [&] { Press(IDC_TOOLBAR_OPTION); }, IDOK, 2},
        {"menu, cancel", [&] { Command(IDM_TOOLBAR_TABLE_OPTION); }, IDCANCEL, 2},
        {"menu, ok", [&] { Command(IDM_TOOLBAR_TABLE_OPTION); }, IDOK, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        bool bOptionDlg = false;
        m_Script.ThenDialog([&](AFX_MODAL_REQUEST& r) {
            bOptionDlg = dynamic_cast<COptionDlg*>(r.pWnd) != nullptr;
            return c.nAnswer;
        });
        c.open();
        EXPECT_TRUE(bOptionDlg);
        Settle();
        EXPECT_EQ(c.nRules, Sent(ROOM_SUB_USER_RULE));
    }
}

TEST_F(RoomViewToolBarTest, TheCreateTableDialogSendsItsSettingsOnlyOnOk)
{
    EnterTypedRoom(1);
    // Cancel: the settings stay and nothing goes out.
    m_Script.ThenDialog([](AFX_MODAL_REQUEST& r) {
        r.pWnd->SetDlgItemText(IDC_CREATE_NAME, "cancelled");
        return (INT_PTR)IDCANCEL;
    });
    Press(IDC_TOOLBAR_CREATE_TABLE);
    Settle();
    EXPECT_EQ(0u, Sent(ROOM_SUB_CREATE_TABLE));
    EXPECT_STREQ("", m_pView->GetTableOption()->m_szText);

    m_Script.ThenDialog([](AFX_MODAL_REQUEST& r) {
        EXPECT_NE(nullptr, dynamic_cast<CCreateTableDlg*>(r.pWnd));
        r.pWnd->SetDlgItemText(IDC_CREATE_NAME, "toolbar table");
        r.pWnd->CheckDlgButton(IDC_CREATE_PASS_CHECK, BST_CHECKED);
        Click(r.pWnd, IDC_CREATE_PASS_CHECK);
        r.pWnd->SetDlgItemText(IDC_CREATE_PASS, "secret7");
        Click(r.pWnd, IDOK);
        return (INT_PTR)IDOK;
    });
    Press(IDC_TOOLBAR_CREATE_TABLE);
    ASSERT_TRUE(PumpUntil([&] { return Sent(ROOM_SUB_CREATE_TABLE) == 1; }));
    const std::vector<BYTE> body = Requests(ROOM_MAIN_ROOM, ROOM_SUB_CREATE_TABLE)[0].Body;
    EXPECT_TRUE(Contains(body, "toolbar table"));
    EXPECT_TRUE(Contains(body, "secret7"));
}

TEST_F(RoomViewToolBarTest, MenuCommandsUseItemsAndFindPlayers)
{
    EnterTypedRoom(1);
    // The own user has no score and no flee: every item is refused.
    struct Case
    {
        UINT nCommand;
        const char* box;
    } cases[] = {
        {IDM_TOOLBAR_ITEM_8, "您的积分不为正分，不能使用该功能！"},
        {IDM_TOOLBAR_CLEAR_SCORE, "您的积分不为负分，不能使用该功能！"},
        {IDM_TOOLBAR_CLEAR_FLEE, "您的逃跑率为0，不能使用该功能！"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nCommand);
        m_Script.AnswerBox(IDOK);
        Command(c.nCommand);
        ASSERT_FALSE(Boxes(m_Script).empty());
        EXPECT_EQ(c.box, Boxes(m_Script).back());
    }

    Command(IDM_TOOLBAR_FIND_USER);
    EXPECT_EQ(1, m_Dialogs.nFindShown);
}

TEST_F(RoomViewToolBarTest, TheLoudspeakerButtonRunsTheRoomsDialog)
{
    EnterTypedRoom(1);
    bool bSpeakDlg = false;
    m_Script.ThenDialog([&](AFX_MODAL_REQUEST& r) {
        bSpeakDlg = dynamic_cast<CSpeakDlg*>(r.pWnd) != nullptr;
        return (INT_PTR)IDCANCEL;
    });
    Press(IDC_TOOLBAR_SPEAK);
    EXPECT_TRUE(bSpeakDlg);
}

TEST_F(RoomViewToolBarTest, MoneyButtonsAndAnswersReachTheInstalledPanels)
{
    EnterTypedRoom(2);
    // Nothing installed: the buttons and the answers do nothing.
    Press(IDC_TOOLBAR_DEPOSIT);
    Press(IDC_TOOLBAR_EXCHANGE);
    SendAndSettle(ROOM_MAIN_ROOM, ROOM_SUB_S_BANK_DEPOSIT, CWireBytes().U32(0));
    EXPECT_EQ(0u, m_Script.Count());

    InstallMoneyDouble();
    struct Case
    {
        std::function<void()> act;
        std::string call;
    } cases[] = {
        {[&] { Press(IDC_TOOLBAR_DEPOSIT); }, "bank0"},
        {[&] { Press(IDC_TOOLBAR_WITHDRAW); }, "bank1"},
        {[&] { Press(IDC_TOOLBAR_EXCHANGE); }, "exchange"},
        {[&] { SendAndSettle(ROOM_MAIN_ROOM, ROOM_SUB_S_BANK_PASSWORD, CWireBytes().U32(3).U32(0)); }, "open3"},
        {[&] { SendAndSettle(ROOM_MAIN_ROOM, ROOM_SUB_S_BANK_WITHDRAW, CWireBytes().U32(7)); }, "withdraw7"},
        {[&] { SendAndSettle(ROOM_MAIN_ROOM, ROOM_SUB_S_BANK_DEPOSIT, CWireBytes().U32(0xFFFFFFFF)); }, "deposit-1"},
        {[&] { SendAndSettle(ROOM_MAIN_ROOM, ROOM_SUB_S_EXCHANGE, CWireBytes().U32(5)); }, "exchanged5"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.call);
        m_MoneyCalls.clear();
        c.act();
        EXPECT_EQ(std::vector<std::string>{c.call}, m_MoneyCalls);
    }
    // One object for the room's life.
    EXPECT_EQ(1, m_nPanelsMade);
}

TEST_F(RoomViewToolBarTest, TheSafeBoxAsksItsPasswordAndOpensOnTheAnswer)
{
    CRoomViewItemMoney* pMoney = nullptr;
    CRoomViewItem::s_MoneyPanelsFactory = [&](CRoomViewItem* pView) {
        pMoney = static_cast<CRoomViewItemMoney*>(CRoomViewItemMoney::Create(pView));
        return pMoney;
    };
    EnterTypedRoom(2);
    m_Script.ThenDialog([](AFX_MODAL_REQUEST& r) {
        EXPECT_NE(nullptr, dynamic_cast<CRoomBankStoragePassDlg*>(r.pWnd));
        r.pWnd->SetDlgItemText(IDC_PASS_EDIT, "box-pass");
        Click(r.pWnd, IDOK);
        return (INT_PTR)IDOK;
    });
    Press(IDC_TOOLBAR_WITHDRAW);
    ASSERT_NE(nullptr, pMoney);
    ASSERT_TRUE(PumpUntil([&] { return Sent(ROOM_SUB_BANK_PASSWORD) == 1; }));
    char szDigest[CMD5Encrypt::kHexLength + 1] = "";
    CMD5Encrypt::EncryptData("box-pass", szDigest);
    EXPECT_TRUE(Contains(Requests(ROOM_MAIN_ROOM, ROOM_SUB_BANK_PASSWORD)[0].Body, szDigest));
    EXPECT_EQ(nullptr, pMoney->GetBankStorage().GetSafeHwnd());

    SendAndSettle(ROOM_MAIN_ROOM, ROOM_SUB_S_BANK_PASSWORD, CWireBytes().U32(0).U32(4321));
    ASSERT_NE(nullptr, pMoney->GetBankStorage().GetSafeHwnd());
    EXPECT_EQ(1, pMoney->GetBankStorage().GetCurrentPage());
    EXPECT_EQ(4321, pMoney->GetBankStorage().GetSafeBoxSum());
    EXPECT_EQ(CString("box-pass"), pMoney->GetBankStorage().GetPassword());
    // The panel goes with the room.
    HWND hPanel = pMoney->GetBankStorage().GetSafeHwnd();
    CloseView();
    EXPECT_FALSE(::IsWindow(hPanel));
}
