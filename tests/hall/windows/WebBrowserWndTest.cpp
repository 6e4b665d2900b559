// The web page window: its first page and the user's fields on later ones,
// the layout of page and toolbar, each toolbar command, and a closed page
// leaving the other tabs.
#include "WebTestSupport.h"

#include "WebBrowserWnd.h"
#include "WebDialogs.h"
#include "core/GlobalOption.h"

#include <AfxModalScript.h>
#include <SkinAttribute.h>
#include <SkinTestSupport.h>
#include <gtest/gtest.h>

#include <memory>

namespace
{

using skintest::Pixels;

const COLORREF kSpan = RGB(200, 0, 0), kBackLeft = RGB(10, 100, 10), kBackMid = RGB(20, 20, 150),
               kBackRight = RGB(150, 150, 20);

// The room tab window: keeps its pages, and closes only the one asked.
class CTabHostDouble : public IWebTabHost
{
public:
    std::vector<std::pair<std::string, int>> m_opened;
    std::vector<std::unique_ptr<CWebBrowserWnd>> m_pages;

    CTabHostDouble() { m_pPrevious = IWebTabHost::Install(this); }
    ~CTabHostDouble() override { IWebTabHost::Install(m_pPrevious); }
    void OpenWebTab(LPCSTR pszUrl, BYTE cbFlag) override { m_opened.push_back({pszUrl, cbFlag}); }
    void CloseWebPage(CWebBrowserWnd* pPage) override
    {
        for (auto it = m_pages.begin(); it != m_pages.end(); ++it)
            if (it->get() == pPage) {
                m_pages.erase(it); // destroys the window
                return;
            }
    }

private:
    IWebTabHost* m_pPrevious;
};

class WebBrowserWndTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_savedUser = *g_GlobalUnits.GetGlobalUserData();
        m_strSavedKey = g_GlobalUnits.GetWebKey();
        m_strSavedConfig = g_GlobalOption.GetConfigDirectory();
        m_strSavedSkin = CSkinAttribute::m_strSkinDirectory;
        g_GlobalUnits.GetGlobalUserData()->dwUserID = 5;
        g_GlobalUnits.SetWebKey("KK");
        m_folder.Write("Urls.ini", std::string("[hallurl]\r\nhallweb=http://127.0.0.1/hall.htm\r\n[HallButton2]\r\n"
                                               "action=http://127.0.0.1/faq.htm?a=1\r\n[HallButton3]\r\naction=http:"
                                               "//127.0.0.1/third.htm\r\n"));
        g_GlobalOption.SetConfigDirectory(m_folder.Path().c_str());
        g_GlobalOption.LoadUrls();
        // Button pictures: four states side by side.
        const char* const kPictures[] = {"web_pre.png",  "web_next.png", "web_stop.png", "web_updt.png",
                                         "web_btn1.png", "web_btn3.png", "web_btn4.png"};
        for (const char* pszName : kPictures)
            m_skin.WriteBmp((std::string("MainFrame\\Web\\") + pszName).c_str(), Pixels(80, 20, RGB(9, 9, 9)));
        m_skin.WriteBmp("MainFrame\\Web\\close.bmp", Pixels(64, 16, RGB(9, 9, 9)));
        m_skin.WriteBmp("MainFrame\\Web\\web_span.bmp", Pixels(2, 23, kSpan));
        m_skin.WriteBmp("MainFrame\\Web\\backl.bmp", Pixels(5, 23, kBackLeft));
        m_skin.WriteBmp("MainFrame\\Web\\backm.bmp", Pixels(2, 23, kBackMid));
        m_skin.WriteBmp("MainFrame\\Web\\backr.bmp", Pixels(5, 23, kBackRight));
        CSkinAttribute::m_strSkinDirectory = CString(m_skin.Path().c_str()) + "\\";

        ASSERT_TRUE(AfxOleInit());
        ASSERT_TRUE(m_parent.CreateEx(0, "STATIC", "", WS_POPUP | WS_VISIBLE, CRect(0, 0, 800, 600), NULL, 0));
    }
    void TearDown() override
    {
        m_tabs.m_pages.clear();
        m_parent.DestroyWindow();
        ::OleUninitialize();
        *g_GlobalUnits.GetGlobalUserData() = m_savedUser;
        g_GlobalUnits.SetWebKey(m_strSavedKey.c_str());
        g_GlobalOption.SetConfigDirectory(m_strSavedConfig);
        g_GlobalOption.LoadUrls();
        CSkinAttribute::m_strSkinDirectory = m_strSavedSkin;
    }

    CWebBrowserWnd* AddPage()
    {
        m_tabs.m_pages.emplace_back(new CWebBrowserWnd);
        CWebBrowserWnd* pPage = m_tabs.m_pages.back().get();
        if (!pPage->Create(NULL, NULL, WS_CHILD | WS_VISIBLE, CRect(0, 0, 600, 400), &m_parent, 10))
            return nullptr;
        return pPage;
    }
    static CRect RectIn(CWnd* pWnd, CWnd* pParent)
    {
        CRect rc;
        pWnd->GetWindowRect(&rc);
        pParent->ScreenToClient(&rc);
        return rc;
    }

    skintest::TempFolder m_folder, m_skin;
    tagGlobalUserData m_savedUser;
    std::string m_strSavedKey;
    CString m_strSavedConfig, m_strSavedSkin;
    CWnd m_parent;
    CScriptedBrowserFactory m_factory;
    CTabHostDouble m_tabs;
    CModalScript m_script;
};

TEST_F(WebBrowserWndTest, TheHallPageComesFirstThenPagesCarryTheUser)
{
    CWebBrowserWnd unmade;
    unmade.Navigate("http://127.0.0.1/x.htm"); // no page control yet: nothing
    EXPECT_EQ(m_factory.Count(), 0u);

    CWebBrowserWnd* pPage = AddPage();
    ASSERT_NE(pPage, nullptr);
    CScriptedBrowser* pBrowser = m_factory.Last();
    ASSERT_NE(pBrowser, nullptr);
    pPage->Navigate("http://127.0.0.1/news.htm");
    pPage->Navigate("http://127.0.0.1/news.htm?id=3");
    ASSERT_EQ(pBrowser->m_navigations.size(), 3u);
    EXPECT_EQ(pBrowser->m_navigations[0].strURL, L"http://127.0.0.1/hall.htm");
    EXPECT_EQ(pBrowser->m_navigations[1].strURL, L"http://127.0.0.1/news.htm?Uid=5&Key=KK");
    EXPECT_EQ(pBrowser->m_navigations[2].strURL, L"http://127.0.0.1/news.htm?id=3&Uid=5&Key=KK");
}

TEST_F(WebBrowserWndTest, ToolbarAndPageAreLaidOut)
{
    CWebBrowserWnd* pPage = AddPage();
    ASSERT_NE(pPage, nullptr);
    EXPECT_EQ(RectIn(&pPage->GetToolBar(), pPage), CRect(0, 0, 600, 23));
    EXPECT_EQ(RectIn(&pPage->GetHtmlCtrl(), pPage), CRect(0, 24, 600, 400));

    CWebBrowserToolBar& bar = pPage->GetToolBar();
    struct Place
    {
        UINT nID;
        CRect rc;
    };
    const Place places[] = {
        {CWebBrowserToolBar::IDC_HOME, CRect(8, 2, 28, 22)},
        {CWebBrowserToolBar::IDC_BACK, CRect(36, 2, 56, 22)},
        {CWebBrowserToolBar::IDC_FORWARD, CRect(64, 2, 84, 22)},
        {CWebBrowserToolBar::IDC_REFRESH, CRect(92, 2, 112, 22)},
        {CWebBrowserToolBar::IDC_CLOSE_PAGE, CRect(574, 6, 590, 22)},
        {CWebBrowserToolBar::IDC_FAQ, CRect(549, 0, 569, 20)},
        {CWebBrowserToolBar::IDC_CARD_RECHARGE, CRect(521, 0, 541, 20)},
        {CWebBrowserToolBar::IDC_PROMOTION, CRect(493, 0, 513, 20)},
    };
    for (const Place& p : places)
        EXPECT_EQ(RectIn(bar.GetButton(p.nID), &bar), p.rc) << p.nID;
    EXPECT_EQ(bar.GetDivider(0), 114);
    EXPECT_EQ(bar.GetDivider(1), 543);
    EXPECT_EQ(bar.GetDivider(2), 515);
    EXPECT_EQ(bar.GetToolTip().GetToolCount(), 8);

    // The background in three pieces, the dividers where the layout put them.
    skintest::Snapshot shot(bar.m_hWnd);
    const struct
    {
        int x;
        COLORREF cr;
    } pixels[] = {{0, kBackLeft},    {4, kBackLeft}, {5, kBackMid}, {300, kBackMid}, {594, kBackMid}, {595, kBackRight},
                  {599, kBackRight}, {114, kSpan},   {115, kSpan},  {116, kBackMid}, {543, kSpan},    {515, kSpan}};
    for (const auto& p : pixels)
        EXPECT_EQ(shot.At(p.x, 22), p.cr) << p.x;

    pPage->ShowCloseButton(false);
    EXPECT_FALSE(bar.GetButton(CWebBrowserToolBar::IDC_CLOSE_PAGE)->IsWindowVisible());
    pPage->ShowCloseButton(true);
    EXPECT_TRUE(bar.GetButton(CWebBrowserToolBar::IDC_CLOSE_PAGE)->IsWindowVisible());
}

TEST_F(WebBrowserWndTest, EachToolbarCommandReachesItsTarget)
{
    CWebBrowserWnd* pPage = AddPage();
    ASSERT_NE(pPage, nullptr);
    CScriptedBrowser* pBrowser = m_factory.Last();
    CWebBrowserToolBar& bar = pPage->GetToolBar();
    bar.SendMessage(WM_COMMAND, CWebBrowserToolBar::IDC_BACK);
    bar.SendMessage(WM_COMMAND, CWebBrowserToolBar::IDC_FORWARD);
    bar.SendMessage(WM_COMMAND, CWebBrowserToolBar::IDC_FORWARD);
    bar.SendMessage(WM_COMMAND, CWebBrowserToolBar::IDC_REFRESH);
    EXPECT_EQ(pBrowser->m_nBack, 1);
    EXPECT_EQ(pBrowser->m_nForward, 2);
    EXPECT_EQ(pBrowser->m_nRefresh, 1);

    bar.SendMessage(WM_COMMAND, CWebBrowserToolBar::IDC_HOME);
    bar.SendMessage(WM_COMMAND, CWebBrowserToolBar::IDC_FAQ);
    EXPECT_EQ(m_tabs.m_opened, (std::vector<std::pair<std::string, int>>{
                                   {"http://127.0.0.1/hall.htm?Uid=5&Key=KK", 0},
                                   {"http://127.0.0.1/faq.htm?a=1&Uid=5&Key=KK", 1},
                               }));

    // The recharge and promotion pages open as modal dialogs.
    std::vector<CString> shown;
    auto record = [&](AFX_MODAL_REQUEST& r) -> INT_PTR {
        shown.push_back(r.strCaption);
        return IDCANCEL;
    };
    m_script.Then(record).Then(record);
    bar.SendMessage(WM_COMMAND, CWebBrowserToolBar::IDC_CARD_RECHARGE);
    bar.SendMessage(WM_COMMAND, CWebBrowserToolBar::IDC_PROMOTION);
    EXPECT_EQ(shown, (std::vector<CString>{"Varnok游戏中心卡充值", "推广赚金蛋"}));
    EXPECT_EQ(m_script.Unexpected(), 0);
}

TEST_F(WebBrowserWndTest, ClosingAPageRemovesOnlyItsTab)
{
    CWebBrowserWnd* pFirst = AddPage();
    CWebBrowserWnd* pSecond = AddPage();
    ASSERT_TRUE(pFirst != nullptr && pSecond != nullptr);
    HWND hFirst = pFirst->m_hWnd, hSecond = pSecond->m_hWnd;
    pSecond->GetToolBar().SendMessage(WM_COMMAND, CWebBrowserToolBar::IDC_CLOSE_PAGE);
    ASSERT_EQ(m_tabs.m_pages.size(), 1u);
    EXPECT_EQ(m_tabs.m_pages[0].get(), pFirst);
    EXPECT_TRUE(::IsWindow(hFirst));
    EXPECT_FALSE(::IsWindow(hSecond));

    // Without a tab window nothing opens and nothing closes.
    IWebTabHost* pSaved = IWebTabHost::Install(NULL);
    pFirst->GetToolBar().SendMessage(WM_COMMAND, CWebBrowserToolBar::IDC_HOME);
    pFirst->GetToolBar().SendMessage(WM_COMMAND, CWebBrowserToolBar::IDC_CLOSE_PAGE);
    IWebTabHost::Install(pSaved);
    EXPECT_TRUE(::IsWindow(hFirst));
    EXPECT_TRUE(m_tabs.m_opened.empty());
    EXPECT_FALSE(IWebTabHost::Open("", 0));
}

} // namespace
