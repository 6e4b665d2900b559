// Notices: the notice text's forms, the notice window's states, anchors and
// clicks, and the manager's notices with their pictures, stacking and links.
#include "WebTestSupport.h"

#include "PopupWnd.h"

#include <SkinTestSupport.h>
#include <gtest/gtest.h>

#include <memory>

namespace
{

using skintest::Pixels;

TEST(PopupNotice, TextsGiveTheirNoticeOrNone)
{
    struct Case
    {
        const char* pszText;
        bool bNotice;
        int nKind;
        int nImageType;
        const char* pszImage;
        const char* pszText2;
        const char* pszTitle;
        const char* pszLink;
    };
    const Case cases[] = {
        {"<content type=\"0\"><image type=\"1\">http://a/p.jpg</image><link>http://a/</link></content>", true, 1, 1,
         "http://a/p.jpg", "", "", "http://a/"},
        {"<content><image type=\"2\">res\\p.bmp</image></content>", true, 1, 2, "res\\p.bmp", "", "", ""},
        {"<content type=\"1\"><title>公告</title></content>", true, 2, 0, "", "", "公告", ""},
        {"<content type=\"1\"><text>正文</text><link>tavrel://openitemshop</link><image "
         "type=\"1\">x</image></content>",
         true, 2, 0, "", "正文", "", "tavrel://openitemshop"},
        {"<content type=\"2\"><text>t</text><title>h</title><image type=\"2\">p.bmp</image></content>", true, 3, 2,
         "p.bmp", "t", "h", ""},
        {"<content type=\"0\"><image type=\"3\">x</image></content>", false, 0, 0, "", "", "", ""},
        {"<content type=\"0\"><text>only text</text></content>", false, 0, 0, "", "", "", ""},
        {"<content type=\"1\"></content>", false, 0, 0, "", "", "", ""},
        {"<content type=\"7\"><text>x</text></content>", false, 0, 0, "", "", "", ""},
        {"<content type=\"abc\"><text>x</text></content>", false, 0, 0, "", "", "", ""},
        {"欢迎", true, 2, 0, "", "欢迎", "", ""},
        {"<notice type=\"1\"><text>x</text></notice>", true, 2, 0, "", "<notice type=\"1\"><text>x</text></notice>", "",
         ""},
        {"<content type=\"1\"><text>unclosed", true, 2, 0, "", "<content type=\"1\"><text>unclosed", "", ""},
        {"", false, 0, 0, "", "", "", ""},
    };
    for (const Case& c : cases) {
        tagPopupNotice notice;
        ASSERT_EQ(ParsePopupNotice(c.pszText, notice), c.bNotice) << c.pszText;
        if (!c.bNotice)
            continue;
        EXPECT_EQ(notice.nKind, c.nKind) << c.pszText;
        EXPECT_EQ(notice.cbImageType, c.nImageType) << c.pszText;
        EXPECT_EQ(notice.strImage, c.pszImage) << c.pszText;
        EXPECT_EQ(notice.strText, c.pszText2) << c.pszText;
        EXPECT_EQ(notice.strTitle, c.pszTitle) << c.pszText;
        EXPECT_EQ(notice.strLink, c.pszLink) << c.pszText;
    }
    tagPopupNotice notice;
    EXPECT_FALSE(ParsePopupNotice(NULL, notice));
    // A huge text is a text notice like any other.
    std::string strHuge(200000, 'x');
    ASSERT_TRUE(ParsePopupNotice(strHuge.c_str(), notice));
    EXPECT_EQ(notice.strText.GetLength(), 200000);
}

// The taskbar and work area the notices see.
class ScreenFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_previous = SetPopupScreen([this](RECT* prcTaskbar, RECT* prcWork) {
            *prcTaskbar = m_rcTaskbar;
            *prcWork = m_rcWork;
            return m_bTaskbar;
        });
    }
    void TearDown() override { SetPopupScreen(m_previous); }

    RECT m_rcTaskbar = {0, 728, 1024, 768};
    RECT m_rcWork = {0, 0, 1024, 728};
    BOOL m_bTaskbar = TRUE;
    PopupScreenFn m_previous;
};

// An owner that keeps the notices' notifications.
class CNoticeOwner : public CWnd
{
public:
    std::vector<std::pair<WPARAM, LPARAM>> m_heard;
    std::vector<int> m_states; // as each change was reported
    std::vector<int> States() const { return m_states; }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_POPUP_NOTIFY)
            m_heard.push_back({wParam, lParam});
        if (message == WM_POPUP_NOTIFY && wParam == POPUP_NOTIFY_STATE)
            m_states.push_back(reinterpret_cast<CVKPopupControl*>(lParam)->GetState());
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

class NoticeWindowTest : public ScreenFixture
{
protected:
    void SetUp() override
    {
        ScreenFixture::SetUp();
        ASSERT_TRUE(m_owner.CreateEx(0, "STATIC", "", WS_POPUP, CRect(0, 0, 10, 10), NULL, 0));
    }
    void TearDown() override
    {
        m_owner.DestroyWindow();
        ScreenFixture::TearDown();
    }
    void Tick(CVKPopupControl& notice, UINT nTimer, int n)
    {
        for (int i = 0; i < n && notice.GetSafeHwnd() != NULL; ++i)
            notice.SendMessage(WM_TIMER, nTimer);
    }
    static CRect WindowRect(CWnd& wnd)
    {
        CRect rc;
        wnd.GetWindowRect(&rc);
        return rc;
    }

    CNoticeOwner m_owner;
};

TEST_F(NoticeWindowTest, WithoutAnimationItOpensInPlaceAndCountsItsShowTime)
{
    CVKPopupControl notice;
    notice.SetAnimation(CVKPopupControl::ANIMATE_NONE);
    notice.SetShowTime(1000);
    ASSERT_TRUE(notice.Show(&m_owner));
    EXPECT_EQ(notice.GetState(), CVKPopupControl::STATE_SHOWN);
    EXPECT_EQ(m_owner.States(), std::vector<int>({1, 2}));
    EXPECT_EQ(WindowRect(notice), CRect(854, 598, 1024, 728));
    EXPECT_TRUE(notice.IsWindowVisible());
    EXPECT_TRUE(notice.GetExStyle() & WS_EX_TOPMOST);
    EXPECT_TRUE(notice.GetExStyle() & WS_EX_TOOLWINDOW);
    EXPECT_FALSE(skintest::HasWindowRegion(notice.m_hWnd)); // no background, no outline
    EXPECT_EQ(notice.SendMessage(WM_MOUSEACTIVATE), MA_NOACTIVATE);

    // Over it the show time runs on; once left, it closes at once.
    notice.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    Tick(notice, CVKPopupControl::TIMER_SHOW, 1);
    EXPECT_EQ(notice.GetState(), CVKPopupControl::STATE_SHOWN);
    notice.SendMessage(WM_MOUSELEAVE);
    Tick(notice, CVKPopupControl::TIMER_SHOW, 1);
    EXPECT_EQ(notice.GetState(), CVKPopupControl::STATE_CLOSED);
    EXPECT_EQ(notice.GetSafeHwnd(), nullptr);
}

TEST_F(NoticeWindowTest, FadingOpensAndClosesInSteps)
{
    CVKPopupControl notice;
    notice.SetAnimation(CVKPopupControl::ANIMATE_FADE);
    notice.SetAnimateTime(64);
    notice.SetShowTime((DWORD)-1);
    ASSERT_TRUE(notice.Show(&m_owner));
    EXPECT_EQ(notice.GetState(), CVKPopupControl::STATE_OPENING);
    EXPECT_EQ(notice.GetRemainingSteps(), 4);
    EXPECT_EQ(notice.GetCurrentOpacity(), 0);
    Tick(notice, CVKPopupControl::TIMER_OPEN, 3);
    EXPECT_EQ(notice.GetState(), CVKPopupControl::STATE_OPENING);
    Tick(notice, CVKPopupControl::TIMER_OPEN, 1);
    EXPECT_EQ(notice.GetState(), CVKPopupControl::STATE_SHOWN);
    EXPECT_EQ(notice.GetCurrentOpacity(), 255);
    // Show time -1: no timer; it stays until closed.
    EXPECT_FALSE(notice.KillTimer(CVKPopupControl::TIMER_SHOW));

    notice.OnClosing();
    EXPECT_EQ(notice.GetState(), CVKPopupControl::STATE_CLOSING);
    Tick(notice, CVKPopupControl::TIMER_CLOSE, 2);
    // The mouse coming over it brings a fading notice back at once.
    notice.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(notice.GetState(), CVKPopupControl::STATE_SHOWN);
    EXPECT_FALSE(notice.KillTimer(CVKPopupControl::TIMER_CLOSE));
    notice.SendMessage(WM_MOUSELEAVE);
    notice.OnClosing();
    Tick(notice, CVKPopupControl::TIMER_CLOSE, 4);
    EXPECT_EQ(notice.GetState(), CVKPopupControl::STATE_CLOSED);
    EXPECT_EQ(m_owner.States(), std::vector<int>({1, 2, 3, 2, 3, 0}));
}

TEST_F(NoticeWindowTest, SlidingBackOpensAgainAndAClickFinishesOpening)
{
    CVKPopupControl notice;
    notice.SetAnimation(CVKPopupControl::ANIMATE_SLIDE);
    notice.SetAnimateTime(64);
    notice.SetShowTime((DWORD)-1);
    ASSERT_TRUE(notice.Show(&m_owner));
    EXPECT_EQ(WindowRect(notice).Height(), 0);
    notice.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1));
    notice.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(1, 1));
    EXPECT_EQ(notice.GetState(), CVKPopupControl::STATE_SHOWN);
    EXPECT_EQ(WindowRect(notice), CRect(854, 598, 1024, 728));

    notice.OnClosing();
    Tick(notice, CVKPopupControl::TIMER_CLOSE, 1);
    notice.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(notice.GetState(), CVKPopupControl::STATE_OPENING);
    EXPECT_EQ(notice.GetRemainingSteps(), 1); // four in all, three of them left to close
    Tick(notice, CVKPopupControl::TIMER_OPEN, 1);
    EXPECT_EQ(notice.GetState(), CVKPopupControl::STATE_SHOWN);
    EXPECT_EQ(WindowRect(notice), CRect(854, 598, 1024, 728));
}

TEST_F(NoticeWindowTest, TheAnchorFollowsTheTaskbar)
{
    struct Case
    {
        RECT rcTaskbar;
        BOOL bTaskbar;
        int nRule;
        CPoint ptAnchor;
    };
    const Case cases[] = {
        {{0, 728, 1024, 768}, TRUE, 0, CPoint(1024, 728)},   // bottom
        {{0, 0, 40, 768}, TRUE, 0, CPoint(40 + 170, 728)},   // left: work area from 40
        {{0, 0, 1024, 40}, TRUE, 0, CPoint(1024, 40 + 130)}, // top
        {{984, 0, 1024, 768}, TRUE, 0, CPoint(984, 728)},    // right
        {{0, 0, 0, 0}, FALSE, 0, CPoint(1024, 728)},         {{0, 728, 1024, 768}, TRUE, 2, CPoint(512 + 85, 364 + 65)},
        {{0, 728, 1024, 768}, TRUE, 1, CPoint(1024, 728)},
    };
    for (const Case& c : cases) {
        m_rcTaskbar = c.rcTaskbar;
        m_bTaskbar = c.bTaskbar;
        m_rcWork = {0, 0, 1024, 728};
        if (c.rcTaskbar.right == 40)
            m_rcWork = {40, 0, 1024, 728};
        if (c.rcTaskbar.bottom == 40)
            m_rcWork = {0, 40, 1024, 728};
        if (c.rcTaskbar.left == 984)
            m_rcWork = {0, 0, 984, 728};
        CVKPopupControl notice;
        notice.SetCornerRule(c.nRule);
        EXPECT_EQ(notice.GetAnchorPoint(), c.ptAnchor) << c.rcTaskbar.left << "," << c.rcTaskbar.top;
    }
    CVKPopupControl fixed;
    fixed.SetFixedAnchor(CPoint(300, 200));
    EXPECT_EQ(fixed.GetAnchorPoint(), CPoint(300, 200));
}

TEST_F(NoticeWindowTest, ItemsAreHotPressedAndClicked)
{
    CVKPopupControl notice;
    notice.SetAnimation(CVKPopupControl::ANIMATE_NONE);
    CVKPopupItem* pA = notice.AddItem(new CVKPopupItem);
    pA->m_nID = 7;
    pA->m_rcItem.SetRect(10, 10, 50, 30);
    CVKPopupItem* pB = notice.AddItem(new CVKPopupItem);
    pB->m_nID = 8;
    pB->m_rcItem.SetRect(40, 20, 80, 40); // over A where they meet
    CVKPopupItem* pClose = notice.AddItem(new CVKPopupItem);
    pClose->m_nID = -1;
    pClose->m_rcItem.SetRect(100, 0, 120, 20);
    ASSERT_TRUE(notice.Show(&m_owner));

    notice.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(45, 25));
    EXPECT_EQ(notice.GetHotItem(), pB); // the last added wins
    notice.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(15, 15));
    EXPECT_EQ(notice.GetPressedItem(), pA);
    notice.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(60, 35));
    EXPECT_EQ(notice.GetHotItem(), nullptr); // only the pressed item can be hot
    notice.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(60, 35));
    notice.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(15, 15));
    notice.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(16, 16));
    std::vector<LPARAM> clicks;
    for (const auto& h : m_owner.m_heard)
        if (h.first == POPUP_NOTIFY_CLICK)
            clicks.push_back(h.second);
    EXPECT_EQ(clicks, std::vector<LPARAM>({(LPARAM)pA}));

    notice.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(110, 10));
    notice.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(110, 10));
    EXPECT_EQ(notice.GetSafeHwnd(), nullptr); // id -1 closes
    EXPECT_EQ(notice.GetState(), CVKPopupControl::STATE_CLOSED);
}

TEST_F(NoticeWindowTest, WebItemsLoadBeforeTheNoticeOpens)
{
    ASSERT_TRUE(AfxOleInit());
    {
        CScriptedBrowserFactory factory;
        factory.SetAutoComplete(false);
        CVKPopupControl notice;
        notice.SetAnimation(CVKPopupControl::ANIMATE_NONE);
        CVKPopupItem* pWeb = notice.AddItem(new CVKPopupItem);
        pWeb->m_bWeb = TRUE;
        pWeb->m_strText = "http://127.0.0.1/ad.htm";
        pWeb->m_rcItem.SetRect(10, 20, 160, 400); // taller than the notice
        ASSERT_TRUE(notice.Show(&m_owner));
        CScriptedBrowser* pBrowser = factory.Last();
        ASSERT_NE(pBrowser, nullptr);
        ASSERT_EQ(pBrowser->m_navigations.size(), 1u);
        EXPECT_EQ(pBrowser->m_navigations[0].strURL, L"http://127.0.0.1/ad.htm");
        EXPECT_EQ(pBrowser->m_bSilent, VARIANT_TRUE);
        DOCHOSTUIINFO info;
        pBrowser->AskHostInfo(info);
        EXPECT_EQ(info.dwFlags, (DWORD)(DOCHOSTUIFLAG_DIALOG | DOCHOSTUIFLAG_NO3DBORDER));
        EXPECT_EQ(pBrowser->AskAccelerator(WM_KEYDOWN, VK_F5), S_OK);

        Tick(notice, CVKPopupControl::TIMER_WEB, 1);
        EXPECT_EQ(notice.GetState(), CVKPopupControl::STATE_CLOSED);
        pBrowser->RaiseDocumentComplete(L"http://127.0.0.1/other.htm");
        Tick(notice, CVKPopupControl::TIMER_WEB, 1);
        EXPECT_EQ(notice.GetState(), CVKPopupControl::STATE_CLOSED);
        pBrowser->RaiseDocumentComplete(L"http://127.0.0.1/ad.htm");
        Tick(notice, CVKPopupControl::TIMER_WEB, 1);
        EXPECT_EQ(notice.GetState(), CVKPopupControl::STATE_SHOWN);
        EXPECT_FALSE(notice.KillTimer(CVKPopupControl::TIMER_WEB));
        CRect rc;
        pWeb->m_WebDialog.GetWindowRect(&rc);
        EXPECT_EQ(rc.Height(), 130); // no taller than the notice
    }
    ::OleUninitialize();
}

// ------------------------------------------------------------------ the manager

// Records the hall links the main window hears.
class CMainRecorder : public CWnd
{
public:
    std::vector<std::string> m_links;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_HALL_LINK_COMMAND)
            m_links.push_back((LPCSTR)wParam);
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

const int W = 200, H = 120;
const COLORREF kRed = RGB(220, 0, 0), kBlue = RGB(0, 0, 220);

class PopupWndTest : public ScreenFixture
{
protected:
    void SetUp() override
    {
        ScreenFixture::SetUp();
        m_strSavedFolder = g_GlobalUnits.GetWorkDirectory();
        ASSERT_TRUE(g_GlobalUnits.SetWorkDirectory(m_folder.Path().c_str()));
        // A background with a key-coloured corner (magenta and a shade of it).
        Pixels back(W, H, RGB(240, 240, 200));
        back.Fill(0, 0, 10, 10, RGB(255, 0, 255));
        back.Fill(10, 0, 5, 5, RGB(255, 16, 255));
        back.Fill(15, 0, 5, 5, RGB(255, 17, 255));
        back.Fill(0, H - 4, 4, 4, RGB(255, 0, 255));
        back.Fill(W - 4, H - 4, 4, 4, RGB(255, 0, 255));
        m_folder.WriteBmp("res\\addin\\popupmsg\\popupback.bmp", back);
        m_folder.WriteBmp("res\\addin\\popupmsg\\close.png", Pixels(48, 12, RGB(1, 1, 1)));
        m_folder.WriteBmp("res\\addin\\popupmsg\\lookup.png", Pixels(80, 10, RGB(2, 2, 2)));
        m_folder.WriteBmp("pic\\red.bmp", Pixels(30, 20, kRed));
        ASSERT_TRUE(m_server.Start());
        ASSERT_TRUE(m_frame.CreateEx(0, "STATIC", "", WS_POPUP, CRect(0, 0, 10, 10), NULL, 0));
        m_pApp.reset(new CWinApp("PopupTests"));
        m_pApp->m_pMainWnd = &m_frame;
        m_pPopup.reset(new CPopupWnd);
        ASSERT_TRUE(m_pPopup->Create(&m_frame));
    }
    void TearDown() override
    {
        m_pPopup.reset();
        m_server.OpenGate();
        m_server.Stop();
        m_pApp->m_pMainWnd = NULL;
        m_pApp.reset();
        m_frame.DestroyWindow();
        g_GlobalUnits.SetWorkDirectory(m_strSavedFolder.c_str());
        ScreenFixture::TearDown();
    }

    CVKPopupControl* Notice(INT_PTR i) { return m_pPopup->GetNotice(i); }
    static CVKPopupItem* Item(CVKPopupControl* pNotice, int nID)
    {
        for (INT_PTR i = 0; i < pNotice->GetItemCount(); ++i)
            if (pNotice->GetItem(i)->m_nID == nID)
                return pNotice->GetItem(i);
        return nullptr;
    }
    static CPoint AnchorOf(CVKPopupControl* pNotice)
    {
        CRect rc;
        pNotice->GetWindowRect(&rc);
        return rc.BottomRight();
    }
    void Click(CVKPopupControl* pNotice, int nID)
    {
        CPoint pt = Item(pNotice, nID)->m_rcItem.TopLeft() + CSize(1, 1);
        pNotice->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
        pNotice->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
    }
    bool Shown(CVKPopupControl* pNotice) { return pNotice->GetSafeHwnd() != NULL && pNotice->IsWindowVisible(); }
    std::string PictureXml(const std::string& strUrl, const char* pszLink = "")
    {
        return "<content type=\"0\"><image type=\"1\">" + strUrl + "</image><link>" + pszLink + "</link></content>";
    }

    skintest::TempFolder m_folder;
    std::string m_strSavedFolder;
    CHttpTestServer m_server;
    CMainRecorder m_frame;
    std::unique_ptr<CWinApp> m_pApp;
    std::unique_ptr<CPopupWnd> m_pPopup;
    CRecordedLauncher m_launcher;
};

TEST_F(PopupWndTest, TextNoticesShowLaidOutAndStackUp)
{
    EXPECT_EQ(m_pPopup->GetNoticeSize(), CSize(W, H));
    m_pPopup->ShowPopup("欢迎");
    m_pPopup->ShowPopup("<content type=\"1\"><title>公告</title><text>正文</text><link>http://x/</link></content>");
    m_pPopup->ShowPopup("third");
    m_pPopup->ShowPopup("");
    ASSERT_EQ(m_pPopup->GetNoticeCount(), 3);
    for (INT_PTR i = 0; i < 3; ++i) {
        ASSERT_TRUE(Shown(Notice(i)));
        EXPECT_TRUE(Notice(i)->GetExStyle() & WS_EX_TOPMOST);
        EXPECT_TRUE(Notice(i)->GetExStyle() & WS_EX_TOOLWINDOW);
    }
    // Each new one sits on the one below.
    EXPECT_EQ(Notice(0)->GetAnchorPoint(), CPoint(1024, 728));
    EXPECT_EQ(Notice(1)->GetAnchorPoint(), CPoint(1024, 728 - H));
    EXPECT_EQ(Notice(2)->GetAnchorPoint(), CPoint(1024, 728 - 2 * H));

    CVKPopupControl* pPlain = Notice(0);
    // The outline is cut from the background; the lower half is solid but
    // for its two bottom corners.
    const struct
    {
        int x, y;
        bool bIn;
    } points[] = {{2, 2, false},     {12, 2, false},        {17, 2, true},    {50, 50, true},
                  {0, H - 1, false}, {W - 1, H - 1, false}, {2, H - 1, true}, {0, H - 3, true}};
    for (const auto& p : points)
        EXPECT_EQ(skintest::RegionHolds(pPlain->m_hWnd, p.x, p.y), p.bIn) << p.x << "," << p.y;
    EXPECT_EQ(Item(pPlain, CPopupWnd::ID_CLOSE)->m_rcItem.TopLeft(), CPoint(W - 12 - 4, 1));
    EXPECT_EQ(Item(pPlain, CPopupWnd::ID_LOOKUP)->m_rcItem.TopLeft(), CPoint(W - 20 - 8, H - 10 - 10));
    EXPECT_EQ(Item(pPlain, CPopupWnd::ID_TITLE), nullptr);
    CVKPopupItem* pBody = Item(pPlain, CPopupWnd::ID_BODY);
    ASSERT_NE(pBody, nullptr);
    EXPECT_EQ(pBody->m_strText, "欢迎");
    EXPECT_EQ(pBody->m_rcItem.TopLeft(), CPoint(15, 31));
    EXPECT_EQ(pBody->m_rcItem.right, W - 10);
    EXPECT_LE(pBody->m_rcItem.bottom, H - 15);
    EXPECT_EQ(pBody->m_crHover, (COLORREF)-1);
    EXPECT_EQ(pBody->m_crNormal, RGB(10, 51, 53));

    CVKPopupControl* pTitled = Notice(1);
    CVKPopupItem* pTitle = Item(pTitled, CPopupWnd::ID_TITLE);
    ASSERT_NE(pTitle, nullptr);
    EXPECT_EQ(pTitle->m_rcItem.top, 31);
    EXPECT_TRUE(pTitle->m_bBold);
    EXPECT_EQ(Item(pTitled, CPopupWnd::ID_BODY)->m_rcItem.top, 31 + pTitle->m_rcItem.Height() + 10);
    EXPECT_EQ(Item(pTitled, CPopupWnd::ID_BODY)->m_crHover, RGB(255, 0, 0));
}

TEST_F(PopupWndTest, ClicksCloseOrOpenTheLinkWhereItMayGo)
{
    m_pPopup->ShowPopup("<content type=\"1\"><text>a</text><link>http://127.0.0.1/page</link></content>");
    m_pPopup->ShowPopup("<content type=\"1\"><text>b</text><link>tavrel://openitemshop?item=2</link></content>");
    m_pPopup->ShowPopup("<content type=\"1\"><text>c</text><link>C:\\windows\\notepad.exe</link></content>");
    m_pPopup->ShowPopup("<content type=\"1\"><text>d</text></content>");
    ASSERT_EQ(m_pPopup->GetNoticeCount(), 4);

    Click(Notice(0), CPopupWnd::ID_CLOSE); // never opens the link
    EXPECT_EQ(Notice(0)->GetSafeHwnd(), nullptr);
    EXPECT_TRUE(m_launcher.m_opened.empty());
    Click(Notice(1), CPopupWnd::ID_BODY);
    Click(Notice(1), CPopupWnd::ID_LOOKUP);
    Click(Notice(2), CPopupWnd::ID_BODY);
    Click(Notice(3), CPopupWnd::ID_BODY);
    EXPECT_EQ(m_frame.m_links, std::vector<std::string>(2, "tavrel://openitemshop?item=2"));
    EXPECT_TRUE(m_launcher.m_opened.empty());
    // The body of a web link opens the browser.
    m_pPopup->ShowPopup("<content type=\"1\"><text>e</text><link>http://127.0.0.1/page</link></content>");
    Click(Notice(4), CPopupWnd::ID_BODY);
    EXPECT_EQ(m_launcher.m_opened, std::vector<std::string>({"http://127.0.0.1/page"}));

    // A notice dragged elsewhere places the next ones there.
    Notice(4)->SetFixedAnchor(CPoint(500, 400));
    m_pPopup->SendMessage(WM_POPUP_NOTIFY, POPUP_NOTIFY_MOVED, (LPARAM)Notice(4));
    EXPECT_EQ(m_pPopup->GetRememberedAnchor(), CPoint(500, 400));
    m_pPopup->ShowPopup("next");
    EXPECT_EQ(Notice(5)->GetAnchorPoint(), CPoint(500, 400 - H));
}

TEST_F(PopupWndTest, PictureNoticesShowTheirOwnPictureOnceItArrives)
{
    // A file under the program folder shows at once, centred.
    m_pPopup->ShowPopup("<content type=\"0\"><image type=\"2\">pic\\red.bmp</image></content>");
    ASSERT_EQ(m_pPopup->GetNoticeCount(), 1);
    ASSERT_TRUE(Shown(Notice(0)));
    CVKPopupItem* pPicture = Item(Notice(0), CPopupWnd::ID_PICTURE);
    ASSERT_NE(pPicture, nullptr);
    EXPECT_EQ(pPicture->m_rcItem, CRect((W - 30) / 2, 21, (W - 30) / 2 + 30, 41));
    EXPECT_FALSE(pPicture->m_bLink);

    // Two downloads, each notice with its own picture; a failed one and one
    // never answered stay unshown.
    const std::vector<BYTE> red = skintest::Bmp24(Pixels(30, 20, kRed));
    m_server.SetReply("/red.bmp", CHttpTestServer::Ok(std::string(red.begin(), red.end())));
    const std::vector<BYTE> blue = skintest::Bmp24(Pixels(16, 8, kBlue));
    m_server.SetReply("/blue.bmp", CHttpTestServer::Ok(std::string(blue.begin(), blue.end())));
    m_server.SetReply("/missing.bmp", CHttpTestServer::Status(404));
    m_pPopup->ShowPopup(PictureXml(m_server.Url("/red.bmp"), "http://127.0.0.1/").c_str());
    m_pPopup->ShowPopup(PictureXml(m_server.Url("/missing.bmp")).c_str());
    m_pPopup->ShowPopup(PictureXml(m_server.Url("/blue.bmp")).c_str());
    ASSERT_EQ(m_pPopup->GetNoticeCount(), 4);
    EXPECT_FALSE(Shown(Notice(1)));
    ASSERT_TRUE(PumpUntil([&] { return Shown(Notice(1)) && Shown(Notice(3)) && !m_pPopup->IsDownloading(); }));
    EXPECT_FALSE(Shown(Notice(2)));
    CVKPopupItem* pRed = Item(Notice(1), CPopupWnd::ID_PICTURE);
    CVKPopupItem* pBlue = Item(Notice(3), CPopupWnd::ID_PICTURE);
    ASSERT_TRUE(pRed != nullptr && pBlue != nullptr);
    EXPECT_EQ(pRed->m_rcItem.Size(), CSize(30, 20));
    EXPECT_EQ(pBlue->m_rcItem.Size(), CSize(16, 8));
    EXPECT_TRUE(pRed->m_bLink);
    EXPECT_NE(pRed->GetPicture(), pBlue->GetPicture());
    EXPECT_EQ(m_server.CountRequests("/missing.bmp"), 1);
}

TEST_F(PopupWndTest, GoingAwayDuringAHeldDownloadIsQuick)
{
    CHttpTestServer::Reply held;
    held.bNeverAnswer = true;
    m_server.SetReply("/held.bmp", held);
    m_pPopup->ShowPopup(PictureXml(m_server.Url("/held.bmp")).c_str());
    ASSERT_TRUE(m_server.WaitForRequests(1, 10000));
    EXPECT_TRUE(m_pPopup->IsDownloading());
    EXPECT_FALSE(Notice(0)->GetSafeHwnd() != NULL && Notice(0)->IsWindowVisible());
    DWORD dwStart = ::GetTickCount();
    m_pPopup.reset();
    EXPECT_LT(::GetTickCount() - dwStart, 1300u + 700u);
}

} // namespace
