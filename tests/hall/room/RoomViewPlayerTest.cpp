// Player commands: the user menu, the commands by number, the whisper pool,
// item use and the player list's columns.
#include "RoomViewTestSupport.h"

#include <algorithm>
#include <tuple>

namespace
{

std::vector<std::string> MenuTexts(const AFX_MODAL_REQUEST& request)
{
    std::vector<std::string> texts;
    for (const AFX_MENU_ITEM& item : request.menuItems)
        if ((item.nState & MF_SEPARATOR) == 0)
            texts.push_back(std::string((LPCSTR)item.strText));
    return texts;
}

bool Has(const std::vector<std::string>& texts, const std::string& text)
{
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

} // namespace

class RoomViewPlayerTest : public RoomViewTest
{
protected:
    void SetUp() override
    {
        RoomViewTest::SetUp();
        MakeView();
        EnterRoom();
        EnterUser(2001, "乙方", 1);
    }
    // The menu of a user as offered, picking nothing.
    std::vector<std::string> Menu(CUserItem* pUserItem, bool bWithoutDetails = false)
    {
        std::vector<std::string> texts;
        CModalScript script;
        script.Then([&](AFX_MODAL_REQUEST& request) {
            texts = MenuTexts(request);
            return (INT_PTR)0;
        });
        m_pView->ShowUserMenu(pUserItem, 10, 10, bWithoutDetails);
        EXPECT_EQ(1u, script.Count());
        return texts;
    }
    bool Command(int nNumber, DWORD dwUserID)
    {
        return m_pView->SendMessage(WM_ROOM_USER_COMMAND, WPARAM(nNumber), LPARAM(dwUserID)) != 0;
    }
};

TEST_F(RoomViewPlayerTest, MenusOfSelfAndOthers)
{
    std::vector<std::string> other = Menu(User(2001));
    std::vector<std::string> self = Menu(Me());
    struct Case
    {
        const char* text;
        bool bSelf;
        bool bOther;
    } cases[] = {
        {"昵称：乙方", false, true},
        {"拷贝昵称", true, true},
        {"与玩家交谈", false, true},
        {"查看我的位置", true, false},
        {"查看玩家的位置", false, true},
        {"查看玩家详细资料", true, true},
        {"寻找玩家...", true, true},
        {"设为好友", false, true},
        {"设为厌恶", false, true},
        {"请他离开", false, false},
        {"邀请玩家一起游戏", false, false},
        {"赢：0  输：0  和：0  逃：0", true, true},
        {"断线率： 0.00%  胜率： 0.00% ", true, true},
        {"积分：0  总局数：0  逃跑率： 0.00%", true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(c.bSelf, Has(self, c.text));
        EXPECT_EQ(c.bOther, Has(other, c.text));
    }
    EXPECT_FALSE(Has(Menu(User(2001), true), "查看玩家详细资料"));
    EXPECT_EQ(2001u, m_pView->GetMenuTarget());
}

TEST_F(RoomViewPlayerTest, KickOnlyFromAHigherLevelWithinOneToSix)
{
    struct Case
    {
        DWORD dwOwnLevel;
        DWORD dwTheirLevel;
        bool bKick;
    } cases[] = {{3, 1, true}, {1, 1, false}, {7, 1, false}, {6, 5, true}, {0, 0, false}};
    SetStatus(2001, 4, 1, kServerSit);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dwOwnLevel * 10 + c.dwTheirLevel);
        Me()->GetUserData()->dwRank = c.dwOwnLevel;
        User(2001)->GetUserData()->dwRank = c.dwTheirLevel;
        EXPECT_EQ(c.bKick, Has(Menu(User(2001)), "请他离开"));
    }
}

TEST_F(RoomViewPlayerTest, RatesOfTheMenu)
{
    tagUserData* pData = User(2001)->GetUserData();
    pData->dwScore[1] = 3; // wins
    pData->dwScore[2] = 1; // losses
    pData->dwScore[5] = 1; // disconnects
    std::vector<std::string> texts = Menu(User(2001));
    EXPECT_TRUE(Has(texts, "断线率：25.00%  胜率：75.00% "));
    EXPECT_TRUE(Has(texts, "赢：3  输：1  和：0  逃：0"));
}

TEST_F(RoomViewPlayerTest, CommandsByNumber)
{
    SetStatus(2001, 4, 1, kServerSit);
    EXPECT_TRUE(Command(2, 2001));
    EXPECT_EQ(1, m_Dialogs.nFindShown);
    EXPECT_TRUE(Command(3, 2001));
    EXPECT_EQ("乙方", m_Panel.inputText);
    EXPECT_TRUE(Command(5, 2001));
    EXPECT_EQ(2001u, m_Panel.dwPartner);
    EXPECT_FALSE(Command(5, kOwnUserID)); // not with himself
    EXPECT_TRUE(Command(1, 2001));
    EXPECT_EQ(4, m_pView->GetTableFrame()->GetIdentifyTable());
    EXPECT_TRUE(Command(8, 2001));
    EXPECT_EQ(1, User(2001)->GetUserData()->cbRelation);
    EXPECT_TRUE(Command(8, 2001));
    EXPECT_EQ(0, User(2001)->GetUserData()->cbRelation);
    // The dislike stops there: the large face is number 10 alone.
    EXPECT_TRUE(Command(9, 2001));
    EXPECT_EQ(2, User(2001)->GetUserData()->cbRelation);
    EXPECT_TRUE(m_Dialogs.largeFaces.empty());
    EXPECT_NE(std::string::npos, m_Panel.ChatText().find("[ 乙方 ] 设置为厌恶玩家"));
    EXPECT_TRUE(Command(10, 2001));
    EXPECT_EQ(std::vector<DWORD>{2001}, m_Dialogs.largeFaces);
    // A user who left: nothing.
    EXPECT_FALSE(Command(10, 4040));
    EXPECT_FALSE(Command(6, 2001));
    EXPECT_EQ(1u, m_Dialogs.largeFaces.size());
}

TEST_F(RoomViewPlayerTest, KickRefusalsAndRequest)
{
    Me()->GetUserData()->dwRank = 3;
    CModalScript script;
    script.Answer(IDOK);
    EXPECT_TRUE(Command(7, 2001));
    ASSERT_EQ(1u, script.Count());
    EXPECT_EQ(CString("您未坐到桌子上，不能踢人！"), script.At(0).strText);
    EXPECT_EQ(0u, Requests(ROOM_MAIN_ROOM, ROOM_SUB_KICK).size());
}

TEST_F(RoomViewPlayerTest, MenuCommandActsOnTheTargetById)
{
    std::vector<std::string> texts;
    m_Script.Then([&](AFX_MODAL_REQUEST& request) {
        const AFX_MENU_ITEM* pItem = request.FindMenuItem("寻找玩家...");
        return (INT_PTR)(pItem != nullptr ? pItem->nID : 0);
    });
    m_pView->ShowUserMenu(User(2001), 0, 0, false);
    EXPECT_EQ(1, m_Dialogs.nFindShown);
    EXPECT_EQ(2001u, m_pView->GetMenuTarget());
    // He leaves; a late command finds nobody.
    SendAndSettle(ROOM_MAIN_ROOM, ROOM_SUB_S_USER_LEAVE, CWireBytes().U32(2001));
    m_pView->OnUserCommand(IDM_USER_FIND);
    EXPECT_EQ(1, m_Dialogs.nFindShown);
    // A menu for nobody says so in the chat pane.
    m_pView->ShowUserMenu(nullptr, 0, 0, false);
    EXPECT_NE(std::string::npos, m_Panel.ChatText().find("此用户已经离开房间了"));
}

TEST_F(RoomViewPlayerTest, WhisperPoolReusesClosedOrHiddenWindows)
{
    for (DWORD i = 0; i < 10; ++i)
        EXPECT_EQ(int(i), m_pView->OpenWhisperWindow(3000 + i, true));
    EXPECT_EQ(4, m_pView->OpenWhisperWindow(3004, true)); // his own again
    m_Script.Answer(IDOK);
    EXPECT_EQ(-1, m_pView->OpenWhisperWindow(4000, true));
    ASSERT_EQ(1u, m_Script.Count());
    EXPECT_EQ(CString("短信息窗口太多了，请关闭部分短信息窗口再试！"), m_Script.At(0).strText);
    m_Dialogs.whispers[6].bVisible = false;
    EXPECT_EQ(6, m_pView->OpenWhisperWindow(4000, true));
    EXPECT_EQ(4000u, m_pView->GetWhisperPartner(6));
    m_Dialogs.whispers[2].bMade = false;
    EXPECT_EQ(2, m_pView->OpenWhisperWindow(4001, true));
    EXPECT_EQ(-1, m_pView->OpenWhisperWindow(4002, false));
}

TEST_F(RoomViewPlayerTest, ItemRefusalsByKindAndRoom)
{
    struct Case
    {
        WORD wKind;
        LONG lScore;
        DWORD dwFlees;
        const char* text; // null: the request goes out
    } cases[] = {
        {7, 0, 0, "您的积分不为负分，不能使用该功能！"},
        {7, -5, 0, nullptr},
        {8, 0, 0, "您的积分不为正分，不能使用该功能！"},
        {9, 0, 0, "您的逃跑率为0，不能使用该功能！"},
        {16, -5, 0, "该道具为海选场专用，您在非海选房间中，不能使用该功能！"},
        {17, 0, 3, "该道具为海选场专用，您在非海选房间中，不能使用该功能！"},
        {1001, 0, 0, "请您在游戏中使用该道具！"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.wKind);
        Me()->GetUserData()->dwScore[0] = DWORD(c.lScore);
        Me()->GetUserData()->dwScore[4] = c.dwFlees;
        CModalScript script;
        if (c.text != nullptr)
            script.Answer(IDOK);
        EXPECT_EQ(c.text == nullptr, m_pView->UseOwnedItem(c.wKind));
        ASSERT_EQ(c.text != nullptr ? 1u : 0u, script.Count());
        if (c.text != nullptr) {
            EXPECT_EQ(CString(c.text), script.At(0).strText);
        }
    }
}

TEST(RoomViewColumns, TablesByRoomTypeByteForByte)
{
    struct Case
    {
        WORD wType;
        std::vector<std::tuple<WORD, WORD, std::string>> head;
        size_t nCount;
    } cases[] = {
        {2, {{80, 2, "昵称"}, {50, 211, "金蛋"}, {50, 1, "ID"}, {30, 101, "桌号"}}, 12},
        {3, {{80, 2, "昵称"}, {50, 215, "金豆"}, {50, 211, "金蛋"}, {50, 1, "ID"}, {30, 101, "桌号"}}, 13},
        {1, {{80, 2, "昵称"}, {50, 212, "积分"}, {50, 211, "金蛋"}, {50, 1, "ID"}, {40, 101, "桌号"}}, 13},
    };
    const std::vector<std::tuple<WORD, WORD, std::string>> tail = {
        {75, 214, "游戏级别"}, {50, 205, "胜率"}, {50, 208, "逃率"}, {50, 213, "总局"},
        {50, 200, "赢局"},     {50, 201, "输局"}, {50, 202, "和局"}, {50, 203, "逃局"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.wType);
        tagColumnDescribe columns;
        memset(&columns, 0xCC, sizeof(columns));
        CRoomViewItem::BuildColumns(c.wType, columns);
        std::vector<std::tuple<WORD, WORD, std::string>> expected = c.head;
        expected.insert(expected.end(), tail.begin(), tail.end());
        ASSERT_EQ(c.nCount, expected.size());
        // The record as bytes: count, then 20-byte entries, zeros after.
        std::vector<BYTE> bytes(sizeof(tagColumnDescribe), 0);
        bytes[0] = BYTE(expected.size());
        for (size_t i = 0; i < expected.size(); ++i) {
            BYTE* p = &bytes[2 + 20 * i];
            p[0] = BYTE(std::get<0>(expected[i]));
            p[1] = BYTE(std::get<0>(expected[i]) >> 8);
            p[2] = BYTE(std::get<1>(expected[i]));
            p[3] = BYTE(std::get<1>(expected[i]) >> 8);
            memcpy(p + 4, std::get<2>(expected[i]).c_str(), std::get<2>(expected[i]).size());
        }
        const BYTE* actual = reinterpret_cast<const BYTE*>(&columns);
        EXPECT_EQ(bytes, std::vector<BYTE>(actual, actual + sizeof(columns)));
    }
}
