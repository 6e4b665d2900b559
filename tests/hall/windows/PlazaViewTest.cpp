// The plaza view: its controls, the lock and release buttons with their
// questions and the server's answers, the signature edit.
#include "HallViewsTestSupport.h" // Winsock before the system headers

#include <AfxModalScript.h>

#include "GlobalUnits.h"
#include "PlazaViewItem.h"

namespace
{

// The own-user panel as far as the plaza uses it.
struct FakeUserPanel : IPlazaUserPanel
{
    CWidget* GetPanelWidget() override { return NULL; }
    void PlacePanel(const CRect& rect) override { placed = rect; }
    CRect GetSignatureRect() override { return CRect(20, 20, 220, 40); }
    CString GetSignature() override { return signature; }
    void SetSignature(LPCSTR psz) override { signature = psz; }
    void LoadUserSignature() override { signature = g_GlobalUnits.GetGlobalUserData()->szSignature; }
    CRect placed;
    CString signature = "旧签名";
};

} // namespace

class PlazaViewTest : public GameTreeTest
{
protected:
    // Shown by its own style: the test's host window stays hidden.
    static bool Shown(CWnd& wnd) { return (wnd.GetStyle() & WS_VISIBLE) != 0; }
    void SetUp() override
    {
        GameTreeTest::SetUp();
        m_Plaza.SetClientDataCenter(m_pDataCenter);
        m_Plaza.SetUserPanel(&m_Panel);
        ASSERT_TRUE(m_Plaza.Create(NULL, NULL, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, CRect(0, 0, 260, 600),
                                   CWnd::FromHandle(m_hHost), 1));
    }
    void TearDown() override
    {
        m_Plaza.DestroyWindow();
        g_GlobalUnits.GetGlobalUserData()->dwLockMachine = 0;
        GameTreeTest::TearDown();
    }
    bool Visible(UINT id) { return (m_Plaza.GetDlgItem(id)->GetStyle() & WS_VISIBLE) != 0; }
    void Click(UINT id)
    {
        m_Plaza.SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)m_Plaza.GetDlgItem(id)->GetSafeHwnd());
    }
    CRect Place(UINT id)
    {
        CRect rc;
        m_Plaza.GetDlgItem(id)->GetWindowRect(&rc);
        m_Plaza.ScreenToClient(&rc);
        return rc;
    }

    FakeUserPanel m_Panel;
    CPlazaViewItem m_Plaza;
};

TEST_F(PlazaViewTest, ControlsInTheirPlaces)
{
    const struct
    {
        UINT id;
        CPoint place;
        bool visible;
    } controls[] = {
        {CPlazaViewItem::IDC_MESSAGE, CPoint(13, 66), true},   {CPlazaViewItem::IDC_LOCK, CPoint(96, 66), true},
        {CPlazaViewItem::IDC_RELEASE, CPoint(96, 66), false},  {CPlazaViewItem::IDC_SERVICE, CPoint(179, 66), true},
        {CPlazaViewItem::IDC_GAME_LIST, CPoint(0, 122), true}, {CPlazaViewItem::IDC_SIGNATURE, CPoint(-1, -1), false},
    };
    for (const auto& c : controls) {
        ASSERT_NE(nullptr, m_Plaza.GetDlgItem(c.id)) << c.id;
        if (c.place.x >= 0) {
            EXPECT_EQ(c.place, Place(c.id).TopLeft()) << c.id;
        }
        EXPECT_EQ(c.visible, Visible(c.id)) << c.id;
    }
    EXPECT_EQ(CSize(259, 600 - 122), Place(CPlazaViewItem::IDC_GAME_LIST).Size());
    EXPECT_EQ(CRect(0, 0, 259, 119), m_Panel.placed);
}

TEST_F(PlazaViewTest, ExactlyOneOfLockAndReleaseShows)
{
    for (DWORD flag : {1u, 0u, 1u}) {
        g_GlobalUnits.GetGlobalUserData()->dwLockMachine = flag;
        m_Plaza.SyncLockButtons();
        EXPECT_EQ(flag == 0, Visible(CPlazaViewItem::IDC_LOCK)) << flag;
        EXPECT_EQ(flag == 1, Visible(CPlazaViewItem::IDC_RELEASE)) << flag;
    }

    CModalScript script;
    script.Answer(IDOK).Answer(IDOK);
    g_GlobalUnits.GetGlobalUserData()->dwLockMachine = 0;
    m_Plaza.SyncLockButtons();
    SendAndHear(HALL_MAIN_USER, HALL_SUB_S_USER_ACCOUNT_1, CWireBytes().U32(1).Vector(), HN_ACCOUNT_1);
    EXPECT_FALSE(Visible(CPlazaViewItem::IDC_LOCK));
    EXPECT_TRUE(Visible(CPlazaViewItem::IDC_RELEASE));
    EXPECT_EQ(1u, g_GlobalUnits.GetGlobalUserData()->dwLockMachine);
    SendAndHear(HALL_MAIN_USER, HALL_SUB_S_USER_ACCOUNT_2, CWireBytes().U32(1).Vector(), HN_ACCOUNT_2);
    EXPECT_TRUE(Visible(CPlazaViewItem::IDC_LOCK));
    EXPECT_FALSE(Visible(CPlazaViewItem::IDC_RELEASE));
    EXPECT_EQ(0u, g_GlobalUnits.GetGlobalUserData()->dwLockMachine);
    ASSERT_EQ(2u, script.Count()) << "each answer is told in a box";
    EXPECT_EQ(UINT(MB_ICONINFORMATION), script.At(0).nType & MB_ICONMASK);
    EXPECT_EQ(0, script.Unexpected());
}

TEST_F(PlazaViewTest, LockAndReleaseAskFirst)
{
    const std::string lockQuestion = "锁定本机后，当前帐号只能在本台机器上进行登陆，是否确定？   ";
    const std::string releaseQuestion = "是否要解除锁定本机功能 ？                ";
    const struct
    {
        DWORD locked;
        UINT button;
        INT_PTR answer;
        std::string text;
    } cases[] = {
        {0, CPlazaViewItem::IDC_LOCK, IDNO, lockQuestion},
        {1, CPlazaViewItem::IDC_RELEASE, IDNO, releaseQuestion},
        {1, CPlazaViewItem::IDC_LOCK, IDOK, "您的帐号已被绑定！  "},
        {0, CPlazaViewItem::IDC_RELEASE, IDOK, "您的帐号已解除绑定！ "},
        {0, CPlazaViewItem::IDC_LOCK, IDYES, lockQuestion},
        {1, CPlazaViewItem::IDC_RELEASE, IDYES, releaseQuestion},
    };
    for (const auto& c : cases) {
        CModalScript script;
        script.Answer(c.answer);
        g_GlobalUnits.GetGlobalUserData()->dwLockMachine = c.locked;
        Click(c.button);
        ASSERT_EQ(1u, script.Count()) << c.text;
        EXPECT_EQ(CString(c.text.c_str()), script.At(0).strText);
        EXPECT_EQ(0, script.Unexpected());
    }
    // Only the two questions answered Yes went to the server.
    EXPECT_EQ(1u, WaitRequests(HALL_MAIN_USER, HALL_SUB_USER_BIND_MACHINE).size());
    EXPECT_EQ(1u, WaitRequests(HALL_MAIN_USER, HALL_SUB_USER_RELEASE_MACHINE).size());
}

TEST_F(PlazaViewTest, SignatureEditTakesFortyCharactersAndEndsOnEnter)
{
    CEdit& edit = m_Plaza.GetSignatureEdit();
    m_Plaza.SendMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(30, 30));
    ASSERT_TRUE(Shown(edit));
    CString text;
    edit.GetWindowText(text);
    EXPECT_EQ(CString("旧签名"), text);
    CRect rc;
    edit.GetWindowRect(&rc);
    m_Plaza.ScreenToClient(&rc);
    EXPECT_EQ(CPoint(20, 20), rc.TopLeft());
    EXPECT_EQ(200, rc.Width());

    edit.SetWindowText("");
    for (int i = 0; i < 41; i++)
        edit.SendMessage(WM_CHAR, 'a', 0);
    edit.GetWindowText(text);
    EXPECT_EQ(40, text.GetLength()) << "a 41st character cannot be typed";

    MSG enter = {edit.GetSafeHwnd(), WM_KEYDOWN, VK_RETURN, 0};
    EXPECT_TRUE(m_Plaza.PreTranslateMessage(&enter)) << "Enter is consumed";
    EXPECT_FALSE(Shown(edit));
    EXPECT_EQ(CString(std::string(40, 'a').c_str()), m_Panel.signature) << "without a new line";

    // A press elsewhere ends the edit as well.
    m_Plaza.SendMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(30, 30));
    edit.SetWindowText("新");
    m_Plaza.SendMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(250, 100));
    EXPECT_FALSE(Shown(edit));
    EXPECT_EQ(CString("新"), m_Panel.signature);
}
