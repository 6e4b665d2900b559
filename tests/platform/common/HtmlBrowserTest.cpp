// The hall's web view over the class library's browser host, with a
// scripted browser.
#include <HtmlBrowser.h>

#include <browser/ScriptedBrowser.h>
#include <gtest/gtest.h>

namespace
{

class HtmlBrowserTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(AfxOleInit());
        ASSERT_TRUE(m_parent.CreateEx(0, NULL, "", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, NULL, NULL));
    }
    void TearDown() override
    {
        m_parent.DestroyWindow();
        ::OleUninitialize();
    }
    CWnd m_parent;
};

TEST_F(HtmlBrowserTest, NavigateOpensTheAddressOnce)
{
    CScriptedBrowserFactory factory;
    CHtmlBrowser browser;
    ASSERT_TRUE(
        browser.Create(NULL, NULL, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, CRect(0, 0, 0, 0), &m_parent, 1001));
    CScriptedBrowser* pBrowser = factory.Last();
    ASSERT_NE(pBrowser, nullptr);
    EXPECT_TRUE(browser.Navigate("http://127.0.0.1/news.htm"));
    EXPECT_FALSE(browser.Navigate(""));
    EXPECT_FALSE(browser.Navigate(NULL));
    ASSERT_EQ(pBrowser->m_navigations.size(), 1u);
    EXPECT_EQ(pBrowser->m_navigations[0].strURL, L"http://127.0.0.1/news.htm");
    EXPECT_EQ(browser.GetLocationURL(), "http://127.0.0.1/news.htm");
    browser.DestroyWindow();
}

TEST_F(HtmlBrowserTest, EnableBrowserGatesInput)
{
    CScriptedBrowserFactory factory;
    CHtmlBrowser browser;
    EXPECT_FALSE(browser.IsBrowserEnabled()); // no window yet
    browser.EnableBrowser(true);              // and nothing to do
    ASSERT_TRUE(browser.Create(NULL, NULL, WS_VISIBLE, CRect(0, 0, 100, 100), &m_parent, 1));
    EXPECT_TRUE(browser.IsBrowserEnabled());
    browser.EnableBrowser(false);
    EXPECT_FALSE(browser.IsBrowserEnabled());
    EXPECT_FALSE(browser.IsWindowEnabled());
    browser.EnableBrowser(true);
    EXPECT_TRUE(browser.IsBrowserEnabled());
    browser.DestroyWindow();
}

TEST_F(HtmlBrowserTest, WithoutABrowserNavigateFails)
{
    CScriptedBrowserFactory factory;
    factory.FailWith(E_FAIL);
    CHtmlBrowser browser;
    ASSERT_TRUE(browser.Create(NULL, NULL, WS_VISIBLE, CRect(0, 0, 100, 100), &m_parent, 1));
    EXPECT_FALSE(browser.Navigate("http://127.0.0.1/"));
    browser.DestroyWindow();
}

TEST(HtmlBrowserClass, IsMadeByClassName)
{
    // The tab control and the page windows make their views dynamically.
    CRuntimeClass* pClass = RUNTIME_CLASS(CHtmlBrowser);
    CObject* pObject = pClass->CreateObject();
    ASSERT_NE(pObject, nullptr);
    EXPECT_TRUE(pObject->IsKindOf(RUNTIME_CLASS(CHtmlView)));
    delete pObject;
}

} // namespace
