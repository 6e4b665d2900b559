// Pop-up menus through the modal responder: the test reads the menu and
// picks in the user's place; the pick reaches the caller as the real menu
// delivers it.
#include "win_test_util.h"

#include <AfxModalScript.h>
#include <gtest/gtest.h>

#include <vector>

namespace
{

class COwnerWnd : public CWnd
{
public:
    std::vector<UINT> m_commands;
    int m_nInits = 0;
    UINT m_nGrayOnInit = 0; // an item the owner grays when the menu opens

protected:
    afx_msg void OnMenuCommand(UINT nID) { m_commands.push_back(nID); }
    afx_msg void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu)
    {
        ++m_nInits;
        if (m_nGrayOnInit != 0)
            pPopupMenu->EnableMenuItem(m_nGrayOnInit, MF_BYCOMMAND | MF_GRAYED);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(COwnerWnd, CWnd)
    ON_COMMAND_RANGE(1, 100, OnMenuCommand)
    ON_WM_INITMENUPOPUP()
END_MESSAGE_MAP()

class MenuFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_owner.CreateEx(0, NULL, "owner", WS_POPUP, 0, 0, 100, 100, NULL, NULL));
        ASSERT_TRUE(m_more.CreatePopupMenu());
        m_more.AppendMenu(MF_STRING, 20, "更多一");
        ASSERT_TRUE(m_menu.CreatePopupMenu());
        m_menu.AppendMenu(MF_STRING, 10, "打开\tCtrl+O");
        m_menu.AppendMenu(MF_SEPARATOR);
        m_menu.AppendMenu(MF_STRING | MF_GRAYED, 11, "灰");
        m_menu.AppendMenu(MF_STRING | MF_CHECKED, 12, "勾");
        m_menu.AppendMenu(MF_POPUP, (UINT_PTR)m_more.Detach(), "更多");
    }
    void TearDown() override
    {
        m_menu.DestroyMenu();
        m_owner.DestroyWindow();
    }

    COwnerWnd m_owner;
    CMenu m_menu;
    CMenu m_more;
};

TEST_F(MenuFixture, TheResponderSeesTheItemsAsTheUserWould)
{
    CModalScript script;
    AFX_MODAL_REQUEST seen;
    script.Then([&](AFX_MODAL_REQUEST& r) {
        seen = r;
        return (INT_PTR)0;
    });
    EXPECT_EQ(m_menu.TrackPopupMenu(TPM_RETURNCMD | TPM_RIGHTBUTTON, 30, 40, &m_owner), 0);

    EXPECT_EQ(seen.nKind, afxModalPopupMenu);
    EXPECT_EQ(seen.nType, (UINT)(TPM_RETURNCMD | TPM_RIGHTBUTTON));
    EXPECT_EQ(seen.ptMenu, CPoint(30, 40));
    EXPECT_EQ(seen.hWndOwner, m_owner.m_hWnd);
    EXPECT_EQ(seen.pMenu, &m_menu);
    ASSERT_EQ(seen.menuItems.size(), 5u);
    struct Expect
    {
        UINT nID;
        const char* pszText;
        UINT nState;
    } expected[] = {
        {10, "打开\tCtrl+O", 0}, {0, "", MF_SEPARATOR}, {11, "灰", MF_GRAYED},
        {12, "勾", MF_CHECKED},  {0, "更多", MF_POPUP},
    };
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(seen.menuItems[i].nID, expected[i].nID) << i;
        EXPECT_STREQ(seen.menuItems[i].strText, expected[i].pszText) << i;
        EXPECT_EQ(seen.menuItems[i].nState, expected[i].nState) << i;
    }
    ASSERT_EQ(seen.menuItems[4].subItems.size(), 1u);
    EXPECT_EQ(seen.menuItems[4].subItems[0].nID, 20u);
    ASSERT_NE(seen.FindMenuItem("打开"), nullptr);
    EXPECT_EQ(seen.FindMenuItem("打开")->nID, 10u);
    EXPECT_EQ(seen.FindMenuItem("更多一")->nID, 20u);
    EXPECT_EQ(seen.FindMenuItem("没有"), nullptr);
    EXPECT_EQ(m_owner.m_nInits, 1); // the owner prepared the menu first
}

TEST_F(MenuFixture, APickIsReturnedOrPostedToTheOwner)
{
    struct Case
    {
        INT_PTR nPick;
        UINT nFlags;
        BOOL bReturn;
        std::vector<UINT> commands;
    } cases[] = {
        {10, TPM_RETURNCMD, 10, {}}, {20, TPM_RETURNCMD, 20, {}}, // in the sub-menu
        {0, TPM_RETURNCMD, 0, {}},                                // dismissed
        {11, TPM_RETURNCMD, 0, {}},                               // grayed: a user could not
        {99, TPM_RETURNCMD, 0, {}},                               // not in the menu
        {12, 0, TRUE, {12}},         {0, 0, TRUE, {}},
        {11, 0, TRUE, {}},
    };
    for (const Case& c : cases) {
        CModalScript script;
        script.Answer(c.nPick);
        m_owner.m_commands.clear();
        EXPECT_EQ(m_menu.TrackPopupMenu(c.nFlags, 0, 0, &m_owner), c.bReturn) << c.nPick;
        EXPECT_TRUE(m_owner.m_commands.empty()) << "posted, not sent";
        PumpMessages();
        EXPECT_EQ(m_owner.m_commands, c.commands) << c.nPick;
        EXPECT_EQ(script.Count(), 1u);
    }
}

TEST_F(MenuFixture, TheOwnersPreparationCountsUnlessNotificationsAreOff)
{
    m_owner.m_nGrayOnInit = 10;
    CModalScript script;
    script.Answer(10).Answer(10);
    EXPECT_EQ(m_menu.TrackPopupMenu(TPM_RETURNCMD, 0, 0, &m_owner), 0); // grayed by the owner
    m_menu.EnableMenuItem(10, MF_BYCOMMAND | MF_ENABLED);
    EXPECT_EQ(m_menu.TrackPopupMenu(TPM_RETURNCMD | TPM_NONOTIFY, 0, 0, &m_owner), 10);
    EXPECT_EQ(m_owner.m_nInits, 1);
}

TEST_F(MenuFixture, WithoutAnOwnerWindowNothingIsTracked)
{
    CModalScript script;
    EXPECT_FALSE(m_menu.TrackPopupMenu(TPM_RETURNCMD, 0, 0, NULL));
    EXPECT_EQ(script.Count(), 0u);
}

} // namespace
