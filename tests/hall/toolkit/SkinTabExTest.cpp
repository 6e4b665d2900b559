// The tab strip with the unread-mail badge and the news strip, in a test
// parent: geometry at 800 pixels, the strip pushed right by later tabs or
// left out when nothing is left for it, the badge's blink frames and
// fonts, a click on it, and hover states on leaving.
#include <SkinTabEx.h>
#include <SkinTabPaintManager.h>
#include <SkinTestSupport.h>
#include <browser/ScriptedBrowser.h>
#include <core/GlobalOption.h>

#include <gtest/gtest.h>

#include <string>

using namespace skintest;

namespace
{
const COLORREF kFrame0 = RGB(200, 0, 0), kFrame1 = RGB(0, 200, 0);
const COLORREF kCapLeft = RGB(10, 100, 10), kMiddle = RGB(20, 20, 150), kCapRight = RGB(150, 150, 20);
const COLORREF kBack = RGB(1, 2, 3);
const int kWidth = 800, kHeight = 60;

// Every tab 90 pixels long.
class FixedPainter : public CSkinTabPaintManager
{
public:
    int GetButtonLength(CDC*, CSkinTabItem*) override { return 90; }
};

class SkinTabExTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_parent.CreateParent(kWidth, 200));
        m_tab.SetPaintManager(new FixedPainter);
        ASSERT_TRUE(m_tab.Create(WS_VISIBLE, CRect(0, 0, kWidth, kHeight), &m_parent, 700));
        Pixels icon(32, 16, kFrame0);
        icon.Fill(16, 0, 16, 16, kFrame1);
        ASSERT_TRUE(m_tab.LoadBadgeImage(m_folder.WriteBmp("mail.bmp", icon).c_str()));
        ASSERT_TRUE(m_tab.LoadItemImage(m_folder.WriteBmp("l.bmp", Pixels(10, 24, kCapLeft)).c_str(), 0));
        ASSERT_TRUE(m_tab.LoadItemImage(m_folder.WriteBmp("m.bmp", Pixels(4, 24, kMiddle)).c_str(), 1));
        ASSERT_TRUE(m_tab.LoadItemImage(m_folder.WriteBmp("r.bmp", Pixels(10, 24, kCapRight)).c_str(), 2));
    }
    void TearDown() override { m_parent.DestroyWindow(); }

    void AddTabs(int n)
    {
        for (int i = 0; i < n; ++i)
            m_tab.InsertItem(i, "tab", NULL, -1, NULL);
        m_tab.Reposition();
    }
    // The icon pixel inside its clip, and one left of the clip.
    COLORREF IconAt(int x)
    {
        Canvas canvas(kWidth, kHeight, kBack);
        m_tab.DrawSkinView(canvas.Cdc(), kWidth, kHeight);
        return canvas.At(x, 12);
    }
    int PostedClicks()
    {
        int n = 0;
        MSG msg;
        while (::PeekMessage(&msg, m_parent.m_hWnd, WM_UNREAD_MAIL_CLICKED, WM_UNREAD_MAIL_CLICKED, PM_REMOVE))
            ++n;
        return n;
    }

    TempFolder m_folder;
    RecordingParent m_parent;
    CSkinTabEx m_tab;
};

TEST_F(SkinTabExTest, BadgeAndStripAt800)
{
    AddTabs(2);
    Canvas canvas(kWidth, kHeight, kBack);
    m_tab.DrawSkinView(canvas.Cdc(), kWidth, kHeight);
    EXPECT_EQ(CRect(720, 10, 790, 30), m_tab.GetBadgeRect());
    EXPECT_EQ(CRect(200, 0, 670, 24), m_tab.GetNewsStripRect());
    EXPECT_EQ(CRect(228, 1, 681, 24), CSkinTabEx::NewsPaneRect(m_tab.GetNewsStripRect()));
    EXPECT_EQ(kCapLeft, canvas.At(200, 5));
    EXPECT_EQ(kCapLeft, canvas.At(209, 5));
    EXPECT_EQ(kMiddle, canvas.At(210, 5));
    EXPECT_EQ(kMiddle, canvas.At(659, 23));
    EXPECT_EQ(kCapRight, canvas.At(660, 5));
    EXPECT_EQ(kCapRight, canvas.At(669, 5));
    EXPECT_NE(kCapRight, canvas.At(670, 5));
    EXPECT_NE(kMiddle, canvas.At(450, 24));
    // Steady badge: frame 1 at (cx - 15 - 16, 9), clipped to one frame.
    EXPECT_EQ(kFrame1, canvas.At(769, 9));
    EXPECT_EQ(kFrame1, canvas.At(784, 24));
    EXPECT_NE(kFrame0, canvas.At(760, 12));
    EXPECT_NE(kFrame1, canvas.At(785, 12));
    EXPECT_EQ("0封未读", std::string(m_tab.GetBadgeText()));
}

TEST_F(SkinTabExTest, StripFollowsTabsAndIsLeftOutWhenNoRoom)
{
    struct Case
    {
        int nTabs;
        int nLeft; // 0: no strip drawn
    } cases[] = {{1, 200}, {4, 380}, {7, 650}, {8, 0}};
    for (const Case& c : cases) {
        m_tab.DeleteAllItems();
        AddTabs(c.nTabs);
        ASSERT_EQ(90, m_tab.GetItem(0)->GetRect().Width());
        CRect rcBefore = m_tab.GetNewsStripRect();
        Canvas canvas(kWidth, kHeight, kBack);
        m_tab.DrawSkinView(canvas.Cdc(), kWidth, kHeight);
        if (c.nLeft == 0) {
            // Narrower than its caps: the strip and the pane stay put.
            EXPECT_EQ(rcBefore, m_tab.GetNewsStripRect()) << c.nTabs;
            for (int x = 640; x < 680; ++x)
                EXPECT_NE(kCapRight, canvas.At(x, 5)) << c.nTabs << " x " << x;
        } else {
            EXPECT_EQ(CRect(c.nLeft, 0, 670, 24), m_tab.GetNewsStripRect()) << c.nTabs;
            EXPECT_EQ(kCapLeft, canvas.At(c.nLeft, 5)) << c.nTabs;
            EXPECT_EQ(kCapRight, canvas.At(669, 5)) << c.nTabs;
        }
    }
}

TEST_F(SkinTabExTest, BlinkFramesAndFonts)
{
    CSkinTabPaintManager* pPainter = m_tab.GetPaintManager();
    m_tab.SetUnreadMail(3, true);
    EXPECT_EQ("3封未读", std::string(m_tab.GetBadgeText()));
    EXPECT_EQ(pPainter->GetBoldFont(FALSE), m_tab.GetBadgeFont());
    const COLORREF expected[] = {kFrame1, kFrame0, kFrame1, kFrame0};
    for (COLORREF crFrame : expected) {
        EXPECT_EQ(crFrame, IconAt(775));
        m_tab.SendMessage(WM_TIMER, CSkinTabEx::kTimerBlink);
    }
    // Stopped: frame 1 and the normal font whatever the phase, shown at
    // once although no tick will come.
    m_tab.ValidateRect(NULL);
    m_tab.SetUnreadMail(3, false);
    CRect rcUpdate;
    EXPECT_TRUE(m_tab.GetUpdateRect(&rcUpdate));
    EXPECT_TRUE(rcUpdate.PtInRect(CPoint(750, 20)));
    EXPECT_FALSE(::KillTimer(m_tab.m_hWnd, CSkinTabEx::kTimerBlink));
    EXPECT_EQ(pPainter->GetFont(FALSE), m_tab.GetBadgeFont());
    EXPECT_EQ(kFrame1, IconAt(775));
    m_tab.SendMessage(WM_TIMER, CSkinTabEx::kTimerBlink);
    EXPECT_EQ(kFrame1, IconAt(775));
}

TEST_F(SkinTabExTest, BadgeClickPostsOnceAndClearsCount)
{
    AddTabs(2);
    m_tab.SetUnreadMail(5, true);
    IconAt(0); // lays the badge out
    PostedClicks();
    m_tab.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(300, 20)); // outside
    EXPECT_EQ(0, PostedClicks());
    m_tab.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(750, 20));
    EXPECT_EQ(1, PostedClicks());
    EXPECT_EQ(0, m_tab.GetUnreadCount());
    EXPECT_FALSE(m_tab.IsBlinking());
    EXPECT_EQ("0封未读", std::string(m_tab.GetBadgeText()));
    // The timer runs on; its ticks no longer change the frame.
    EXPECT_EQ(kFrame1, IconAt(775));
    m_tab.SendMessage(WM_TIMER, CSkinTabEx::kTimerBlink);
    EXPECT_EQ(kFrame1, IconAt(775));
    EXPECT_TRUE(::KillTimer(m_tab.m_hWnd, CSkinTabEx::kTimerBlink));
}

TEST_F(SkinTabExTest, LeavingClearsTabAndBadgeHover)
{
    AddTabs(2);
    IconAt(0);
    CPoint ptTab = m_tab.GetItem(0)->GetRect().CenterPoint();
    m_tab.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(ptTab.x, ptTab.y));
    EXPECT_EQ(m_tab.GetItem(0), m_tab.GetFocusedItem());
    EXPECT_FALSE(m_tab.IsBadgeHot());

    m_tab.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(750, 20));
    EXPECT_TRUE(m_tab.IsBadgeHot());
    EXPECT_EQ(NULL, m_tab.GetFocusedItem());
    HCURSOR hHand = ::LoadCursor(AfxGetResourceHandle(), MAKEINTRESOURCE(CSkinTabEx::kCursorHand));
    ASSERT_NE(HCURSOR(NULL), hHand);
    EXPECT_EQ(hHand, ::GetCursor());
    // Back over a tab: the badge cools.
    m_tab.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(ptTab.x, ptTab.y));
    EXPECT_FALSE(m_tab.IsBadgeHot());
    m_tab.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(750, 20));

    m_tab.SendMessage(WM_MOUSELEAVE);
    EXPECT_FALSE(m_tab.IsBadgeHot());
    EXPECT_EQ(NULL, m_tab.GetFocusedItem());
}

// Counts the right clicks that reach one window.
struct ContextMenuSpy
{
    static inline int s_nSeen = 0;
    static inline HWND s_hWnd = NULL;
    static LRESULT CALLBACK Hook(int nCode, WPARAM wParam, LPARAM lParam)
    {
        const CWPSTRUCT* p = (const CWPSTRUCT*)lParam;
        if (nCode >= 0 && p->message == WM_CONTEXTMENU && p->hwnd == s_hWnd)
            ++s_nSeen;
        return ::CallNextHookEx(NULL, nCode, wParam, lParam);
    }
};

// The news pane: made under the strip with its id, opened on the plaza's
// cycle page, no border or scroll bars, no context menu, and moved over the
// strip when it is laid out.
TEST(SkinTabExPane, ThePaneShowsTheCyclePageOverTheStrip)
{
    ASSERT_TRUE(AfxOleInit());
    {
        TempFolder folder;
        folder.Write("Urls.ini", std::string("[HallNewUrl]\r\nPlazaCycleUrl=http://127.0.0.1/cycle.htm\r\n"));
        CString strSavedFolder = g_GlobalOption.GetConfigDirectory();
        g_GlobalOption.SetConfigDirectory(folder.Path().c_str());
        g_GlobalOption.LoadUrls();
        CScriptedBrowserFactory factory;
        RecordingParent parent;
        ASSERT_TRUE(parent.CreateParent(kWidth, 200));
        CSkinTabEx tab;
        tab.SetPaintManager(new FixedPainter);
        ASSERT_TRUE(tab.Create(WS_VISIBLE, CRect(0, 0, kWidth, kHeight), &parent, 700));
        g_GlobalOption.SetConfigDirectory(strSavedFolder);
        g_GlobalOption.LoadUrls();

        CCycleHtml& pane = tab.GetNewsPane();
        CScriptedBrowser* pBrowser = factory.Last();
        ASSERT_NE(pBrowser, nullptr);
        EXPECT_EQ(pane.GetParent(), &tab);
        EXPECT_EQ(pane.GetDlgCtrlID(), (int)CSkinTabEx::kPaneId);
        EXPECT_TRUE(pane.IsWindowVisible());
        EXPECT_TRUE(pane.IsBrowserEnabled());
        ASSERT_EQ(pBrowser->m_navigations.size(), 1u);
        EXPECT_EQ(pBrowser->m_navigations[0].strURL, L"http://127.0.0.1/cycle.htm");
        DOCHOSTUIINFO info;
        EXPECT_EQ(pBrowser->AskHostInfo(info), S_OK);
        EXPECT_EQ(info.dwFlags, (DWORD)(DOCHOSTUIFLAG_NO3DBORDER | DOCHOSTUIFLAG_SCROLL_NO));

        // A right click in the pane is not passed up to the strip (as a
        // plain child window would).
        ContextMenuSpy::s_nSeen = 0;
        ContextMenuSpy::s_hWnd = tab.m_hWnd;
        HHOOK hHook = ::SetWindowsHookEx(WH_CALLWNDPROC, ContextMenuSpy::Hook, NULL, ::GetCurrentThreadId());
        ASSERT_NE(hHook, nullptr);
        pane.SendMessage(WM_CONTEXTMENU, (WPARAM)pane.m_hWnd, MAKELPARAM(300, 10));
        CWnd plain;
        ASSERT_TRUE(plain.CreateEx(0, "STATIC", "", WS_CHILD, CRect(0, 0, 1, 1), &tab, 9));
        plain.SendMessage(WM_CONTEXTMENU, (WPARAM)plain.m_hWnd, MAKELPARAM(300, 10));
        ::UnhookWindowsHookEx(hHook);
        EXPECT_EQ(ContextMenuSpy::s_nSeen, 1); // the plain child's only

        TempFolder pictures;
        ASSERT_TRUE(tab.LoadItemImage(pictures.WriteBmp("l.bmp", Pixels(10, 24, kCapLeft)).c_str(), 0));
        ASSERT_TRUE(tab.LoadItemImage(pictures.WriteBmp("m.bmp", Pixels(4, 24, kMiddle)).c_str(), 1));
        ASSERT_TRUE(tab.LoadItemImage(pictures.WriteBmp("r.bmp", Pixels(10, 24, kCapRight)).c_str(), 2));
        Canvas canvas(kWidth, kHeight, kBack);
        tab.DrawSkinView(canvas.Cdc(), kWidth, kHeight);
        CRect rc;
        pane.GetWindowRect(&rc);
        tab.ScreenToClient(&rc);
        EXPECT_EQ(CRect(228, 1, 681, 24), rc);
        parent.DestroyWindow();
        EXPECT_EQ(pane.GetSafeHwnd(), nullptr);
    }
    ::OleUninitialize();
}
} // namespace
