// The page control: what a page's title and meta element ask for, the
// notifications its parent gets, links handed to the hall, windows a page
// opens, and the system's control as it runs here.
#include "WebTestSupport.h"

#include <TempFolder.h>
#include <gtest/gtest.h>

#include <fstream>
#include <memory>

namespace
{

struct TitleCase
{
    const char* pszTitle;
    bool bAsks;
    INT32 nWidth, nHeight;
};

TEST(HtmlPageSize, TitlesAskForASizeOnlyWithBothNumbers)
{
    const TitleCase cases[] = {
        {"width=400&height=300", true, 400, 300},
        {"HEIGHT=300&Width=400", true, 400, 300},
        {"width=400", false, 0, 0},
        {"height=300", false, 0, 0},
        {"width=0&height=300", false, 0, 0},
        {"width=abc&height=300", false, 0, 0},
        {"width=400px&height=300px", true, 400, 300},
        {"&&width=400&&height=300&", true, 400, 300},
        {"width=99999999999&height=1", true, 2147483647, 1},
        {"欢迎光临", false, 0, 0},
        {"", false, 0, 0},
        {"width", false, 0, 0},
    };
    for (const TitleCase& c : cases) {
        INT32 nWidth = -7, nHeight = -7;
        EXPECT_EQ(ParseHtmlTitleSize(c.pszTitle, nWidth, nHeight), c.bAsks) << c.pszTitle;
        if (c.bAsks) {
            EXPECT_EQ(nWidth, c.nWidth) << c.pszTitle;
            EXPECT_EQ(nHeight, c.nHeight) << c.pszTitle;
        } else {
            EXPECT_EQ(nWidth, -7) << c.pszTitle;
        }
    }
    INT32 nW = 0, nH = 0;
    EXPECT_FALSE(ParseHtmlTitleSize(NULL, nW, nH));
}

struct MetaCase
{
    const char* pszContent;
    tagHtmlWindowSize size;
};

TEST(HtmlPageSize, WindowCustomGivesSixValuesWithDefaults)
{
    const MetaCase cases[] = {
        {"500,420", {500, 420, 0, 0, 0, 1}},
        {"500", {500, 0, 0, 0, 0, 1}},
        {"500,420,7", {500, 420, 0, 0, 0, 1}},
        {",420", {0, 420, 0, 0, 0, 1}},
        {"width=500&height=420&vScroll=0&addStyle=262144", {500, 420, 262144, 0, 0, 0}},
        {"WIDTH=500&HScroll=5&removestyle=12&VSCROLL=2", {500, 0, 0, 12, 1, 1}},
        {"width=500&bogus", {500, 0, 0, 0, 0, 1}},
        // Without "&" the content is read as numbers, whatever it says.
        {"width=500", {0, 0, 0, 0, 0, 1}},
        {"宽=500&高=420", {0, 0, 0, 0, 0, 1}},
        {"", {0, 0, 0, 0, 0, 1}},
    };
    for (const MetaCase& c : cases) {
        tagHtmlWindowSize size = ParseHtmlWindowCustom(c.pszContent);
        EXPECT_EQ(memcmp(&size, &c.size, sizeof(size)), 0)
            << c.pszContent << ": " << size.nWidth << " " << size.nHeight << " " << size.nAddStyle << " "
            << size.nRemoveStyle << " " << size.nHScroll << " " << size.nVScroll;
    }
}

TEST(HtmlPageSize, MetaContentIsTheFirstElementOfThatExactName)
{
    CScriptObject* pDocument = CScriptObject::Document({{L"keywords", L"x"},
                                                        {L"Window-Custom", L"1,1"},
                                                        {L"window-custom", L"500,420"},
                                                        {L"window-custom", L"9,9"},
                                                        {L"title", L"大厅"}});
    EXPECT_EQ(GetDocumentMetaContent(pDocument, "window-custom"), "500,420");
    EXPECT_EQ(GetDocumentMetaContent(pDocument, "title"), "大厅");
    EXPECT_EQ(GetDocumentMetaContent(pDocument, "none"), "");
    EXPECT_EQ(GetDocumentMetaContent(NULL, "title"), "");

    // A collection that claims more elements than it gives.
    pDocument->Metas()->m_nLength = 0x7FFFFFFF;
    EXPECT_EQ(GetDocumentMetaContent(pDocument, "none"), "");
    pDocument->Release();

    CScriptObject* pNoMetas = new CScriptObject; // no getElementsByTagName
    EXPECT_EQ(GetDocumentMetaContent(pNoMetas, "title"), "");
    pNoMetas->Release();
}

class HtmlCtrlFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(AfxOleInit());
        ASSERT_TRUE(m_parent.CreateEx(0, NULL, "", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, NULL, NULL));
        m_pApp.reset(new CWinApp("HtmlCtrlTests"));
        m_pApp->m_pMainWnd = &m_parent;
    }
    void TearDown() override
    {
        m_pApp->m_pMainWnd = NULL;
        m_parent.DestroyWindow();
        m_pApp.reset();
        ::OleUninitialize();
    }

    // A page control under the parent with a scripted browser.
    CScriptedBrowser* Create(CHtmlCtrl& ctrl, UINT nID = 1001)
    {
        if (!ctrl.Create(NULL, NULL, WS_CHILD | WS_VISIBLE, CRect(0, 0, 200, 100), &m_parent, nID))
            return nullptr;
        return m_factory.Last();
    }

    std::unique_ptr<CWinApp> m_pApp;
    CNotifyRecorder m_parent;
    CScriptedBrowserFactory m_factory;
    CRecordedLinks m_links;
    CRecordedLauncher m_launcher;
};

TEST_F(HtmlCtrlFixture, TitleAndMetaSizeRequestsReachTheParent)
{
    CHtmlCtrl ctrl;
    CScriptedBrowser* pBrowser = Create(ctrl);
    ASSERT_NE(pBrowser, nullptr);

    pBrowser->RaiseTitleChange(L"width=400&height=300");
    pBrowser->RaiseTitleChange(L"width=400");
    pBrowser->RaiseTitleChange(L"");
    ASSERT_EQ(m_parent.Codes(), std::vector<UINT>({HTMLCTRL_WINDOW_SIZE}));
    const tagHtmlWindowSize titleSize = {400, 300, 0, 0, 0, 0};
    EXPECT_EQ(memcmp(&m_parent.m_notices[0].size, &titleSize, sizeof(titleSize)), 0);
    EXPECT_EQ(m_parent.m_notices[0].nId, 1001u);

    // A page with the meta element asks for its size before it reports
    // completion; one without only completes.
    m_parent.m_notices.clear();
    CScriptObject* pDocument = CScriptObject::Document({{L"window-custom", L"500,420"}});
    pBrowser->m_pDocument = pDocument;
    ctrl.Navigate2("http://127.0.0.1/sized.htm");
    ASSERT_EQ(m_parent.Codes(), std::vector<UINT>({HTMLCTRL_WINDOW_SIZE, HTMLCTRL_NAVIGATE_COMPLETE}));
    const tagHtmlWindowSize metaSize = {500, 420, 0, 0, 0, 1};
    EXPECT_EQ(memcmp(&m_parent.m_notices[0].size, &metaSize, sizeof(metaSize)), 0);
    EXPECT_EQ(ctrl.GetMetaContent("window-custom"), "500,420");

    m_parent.m_notices.clear();
    pBrowser->m_pDocument = nullptr;
    ctrl.Navigate2("http://127.0.0.1/plain.htm");
    EXPECT_EQ(m_parent.Codes(), std::vector<UINT>({HTMLCTRL_NAVIGATE_COMPLETE}));
    EXPECT_EQ(ctrl.GetMetaContent("window-custom"), "");
    pDocument->Release();
    ctrl.DestroyWindow();
}

TEST_F(HtmlCtrlFixture, HallLinksAreCancelledAndReachTheLinkHandler)
{
    CHtmlCtrl ctrl;
    CScriptedBrowser* pBrowser = Create(ctrl);
    ASSERT_NE(pBrowser, nullptr);

    ctrl.Navigate2("tavrel://openitemshop?item=3");
    ctrl.Navigate2("http://127.0.0.1/page.htm");
    ASSERT_EQ(pBrowser->m_navigations.size(), 2u);
    EXPECT_TRUE(pBrowser->m_navigations[0].bCancelled);
    EXPECT_FALSE(pBrowser->m_navigations[1].bCancelled);
    EXPECT_EQ(m_links.m_urls, std::vector<std::string>({"tavrel://openitemshop?item=3", "http://127.0.0.1/page.htm"}));
    EXPECT_EQ(pBrowser->m_strLocation, L"http://127.0.0.1/page.htm");

    // Without the application's handler a hall link still never opens.
    CHallLinks::Install(NULL);
    EXPECT_TRUE(pBrowser->RaiseBeforeNavigate2(L"TAVREL://opengamestore"));
    EXPECT_FALSE(pBrowser->RaiseBeforeNavigate2(L"http://127.0.0.1/other.htm"));
    CHallLinks::Install(&m_links);
    EXPECT_TRUE(m_launcher.m_opened.empty());
    ctrl.DestroyWindow();
}

TEST_F(HtmlCtrlFixture, HostFlagsAreWhatTheOwnerSet)
{
    CHtmlCtrl ctrl;
    CScriptedBrowser* pBrowser = Create(ctrl);
    ASSERT_NE(pBrowser, nullptr);
    DOCHOSTUIINFO info;
    EXPECT_EQ(pBrowser->AskHostInfo(info), S_OK);
    EXPECT_EQ(info.dwFlags, 0u);
    ctrl.SetHostFlags(DOCHOSTUIFLAG_NO3DBORDER | DOCHOSTUIFLAG_SCROLL_NO);
    EXPECT_EQ(pBrowser->AskHostInfo(info), S_OK);
    EXPECT_EQ(info.dwFlags, 12u);
    ctrl.DestroyWindow();
}

TEST_F(HtmlCtrlFixture, AFailedNavigationIsReportedThenTheErrorPageShown)
{
    CTempFolder folder;
    const std::string strPage = folder.Path("error.htm");
    std::ofstream(strPage) << "<html>error</html>";

    struct Case
    {
        std::string strErrorPage;
        bool bShown;
    };
    const Case cases[] = {{strPage, true}, {folder.Path("missing.htm"), false}, {"", false}, {folder.Path(""), false}};
    for (const Case& c : cases) {
        CHtmlCtrl ctrl;
        CScriptedBrowser* pBrowser = Create(ctrl);
        ASSERT_NE(pBrowser, nullptr);
        ctrl.SetErrorPage(c.strErrorPage.c_str());
        m_parent.m_notices.clear();
        pBrowser->RaiseNavigateError(L"http://127.0.0.1/none.htm", 404);
        if (c.bShown) {
            // Code 2 first; the error page then completes like any page.
            EXPECT_EQ(m_parent.Codes(), std::vector<UINT>({HTMLCTRL_NAVIGATE_ERROR, HTMLCTRL_NAVIGATE_COMPLETE}));
            ASSERT_EQ(pBrowser->m_navigations.size(), 1u);
            EXPECT_EQ(pBrowser->m_navigations[0].strURL, std::wstring(strPage.begin(), strPage.end()));
        } else {
            EXPECT_EQ(m_parent.Codes(), std::vector<UINT>({HTMLCTRL_NAVIGATE_ERROR})) << c.strErrorPage;
            EXPECT_TRUE(pBrowser->m_navigations.empty()) << c.strErrorPage;
        }
        ctrl.DestroyWindow();
    }
}

TEST_F(HtmlCtrlFixture, NewWindowsOpenWebAddressesInTheDefaultBrowserOnly)
{
    CHtmlCtrl ctrl;
    CScriptedBrowser* pBrowser = Create(ctrl);
    ASSERT_NE(pBrowser, nullptr);

    IDispatch* pNew = nullptr;
    EXPECT_FALSE(pBrowser->RaiseNewWindow2(&pNew));
    ASSERT_NE(pNew, nullptr);
    CScriptedBrowser* pHidden = m_factory.Last();
    ASSERT_NE(pHidden, pBrowser);
    EXPECT_EQ(pNew, static_cast<IDispatch*>(static_cast<IWebBrowser2*>(pHidden)));
    pNew->Release();
    CNewWindowHtmlCtrl& hidden = CNewWindowHtmlCtrl::Instance();
    EXPECT_EQ(hidden.GetParent(), &m_parent);
    EXPECT_EQ(hidden.GetDlgCtrlID(), 0);
    CRect rc;
    hidden.GetWindowRect(&rc);
    EXPECT_TRUE(rc.IsRectEmpty());

    // A second window reuses the hidden control.
    pNew = nullptr;
    EXPECT_FALSE(pBrowser->RaiseNewWindow2(&pNew));
    EXPECT_EQ(m_factory.Last(), pHidden);
    if (pNew != nullptr)
        pNew->Release();

    const wchar_t* const urls[] = {L"http://127.0.0.1/a.htm",
                                   L"HTTPS://127.0.0.1/b.htm",
                                   L"tavrel://opengamestore",
                                   L"file:///C:/windows/notepad.exe",
                                   L"C:\\windows\\notepad.exe",
                                   L"javascript:alert(1)",
                                   L""};
    for (const wchar_t* pszUrl : urls)
        EXPECT_TRUE(pHidden->RaiseBeforeNavigate2(pszUrl)); // never shown in the hidden control
    EXPECT_EQ(m_launcher.m_opened, std::vector<std::string>({"http://127.0.0.1/a.htm", "HTTPS://127.0.0.1/b.htm"}));
    ASSERT_GE(m_links.m_urls.size(), 3u);
    EXPECT_EQ(m_links.m_urls[2], "tavrel://opengamestore");

    // With the main window gone the instance goes too; without one, a page
    // opens no window.
    m_pApp->m_pMainWnd = NULL;
    m_parent.DestroyWindow();
    EXPECT_EQ(hidden.GetSafeHwnd(), nullptr);
    CHtmlCtrl orphan;
    ASSERT_TRUE(orphan.Create(NULL, NULL, WS_POPUP, CRect(0, 0, 10, 10), NULL, 0));
    pNew = nullptr;
    EXPECT_TRUE(m_factory.Last()->RaiseNewWindow2(&pNew));
    EXPECT_EQ(pNew, nullptr);
    orphan.DestroyWindow();
}

TEST_F(HtmlCtrlFixture, CreateFromStaticTakesThePlaceholdersPlace)
{
    CWnd placeholder;
    ASSERT_TRUE(placeholder.CreateEx(0, "STATIC", "", WS_CHILD, CRect(12, 20, 218, 44), &m_parent, 1103));
    CHtmlCtrl ctrl;
    ASSERT_TRUE(ctrl.CreateFromStatic(1103, &m_parent));
    EXPECT_EQ(placeholder.GetSafeHwnd(), nullptr);
    EXPECT_EQ(m_parent.GetDlgItem(1103), &ctrl);
    EXPECT_TRUE(ctrl.IsWindowVisible());
    CRect rc;
    ctrl.GetWindowRect(&rc);
    m_parent.ScreenToClient(&rc);
    EXPECT_EQ(rc, CRect(12, 20, 218, 44));
    EXPECT_NE(m_factory.Last(), nullptr);

    CHtmlCtrl other;
    EXPECT_FALSE(other.CreateFromStatic(1104, &m_parent));
    EXPECT_EQ(other.GetSafeHwnd(), nullptr);
    EXPECT_FALSE(other.CreateFromStatic(1103, NULL));
    ctrl.DestroyWindow();
}

// The system's control here: it is made and navigates (the request reaches
// the server), and a hall link never does; no page is shown.
TEST_F(HtmlCtrlFixture, TheSystemControlHandsLinksOverAndNavigates)
{
    CHttpTestServer server;
    ASSERT_TRUE(server.Start());
    server.SetReply("/page.htm", CHttpTestServer::Ok("<html><head><title>t</title></head><body>x</body></html>"));
    AfxSetWebBrowserFactory(nullptr);
    CHtmlCtrl ctrl;
    ASSERT_TRUE(ctrl.Create(NULL, NULL, WS_CHILD | WS_VISIBLE, CRect(0, 0, 200, 100), &m_parent, 7));
    ASSERT_NE(ctrl.m_pBrowserApp, nullptr);
    ctrl.SetSilent(TRUE);
    const std::string strPage = server.Url("/page.htm");
    ctrl.Navigate2("tavrel://openitemshop?item=1");
    ctrl.Navigate2(strPage.c_str());
    ASSERT_TRUE(PumpUntil([&] { return !m_parent.m_notices.empty(); }, 20000));
    EXPECT_EQ(server.CountRequests("/page.htm"), 1);
    ASSERT_EQ(m_links.m_urls.size(), 2u);
    EXPECT_EQ(m_links.m_urls[0], "tavrel://openitemshop?item=1");
    EXPECT_EQ(m_links.m_urls[1], strPage);
    // The engine is off: the navigation fails, the parent hears of it.
    EXPECT_EQ(m_parent.m_notices.front().nCode, (UINT)HTMLCTRL_NAVIGATE_ERROR);
    ctrl.DestroyWindow();
}

} // namespace
