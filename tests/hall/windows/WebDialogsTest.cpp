// The web dialogs: the page address with the player's account, the page
// child's answers to its browser, the loading animation until the page is
// ready, closing from the page, and the in-site mail shown again.
#include "WebTestSupport.h"

#include "WebDialogs.h"

#include <AfxModalScript.h>
#include <MemoryCanvas.h>
#include <TempFolder.h>
#include <gtest/gtest.h>

#include <fstream>

namespace
{

const char kDigest[] = "0123456789abcdef0123456789ABCDEF";

// The logged-on user and a program folder with the addresses.
class WebDialogsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_savedUser = *g_GlobalUnits.GetGlobalUserData();
        m_strSavedFolder = g_GlobalUnits.GetWorkDirectory();
        m_strSavedKey = g_GlobalUnits.GetWebKey();
        tagGlobalUserData* pUser = g_GlobalUnits.GetGlobalUserData();
        pUser->dwUserID = 77;
        memcpy(pUser->szAccount, "玩家&1", sizeof("玩家&1"));
        memcpy(pUser->szPassword, kDigest, sizeof(kDigest));
        g_GlobalUnits.SetWebKey("K3Y");
        ASSERT_TRUE(g_GlobalUnits.SetWorkDirectory(m_folder.Path().c_str()));
        m_folder.Write("config\\Urls.ini", std::string("[GameMailURL]\r\nmailurl=http://127.0.0.1/mail?u=<username>&p="
                                                       "<password>\r\n[HallNewUrl]\r\nPromotionUrl=http://127.0.0.1/"
                                                       "promo\r\n"));
        ASSERT_TRUE(AfxOleInit());
        ASSERT_TRUE(m_owner.CreateEx(0, "STATIC", "", WS_POPUP | WS_VISIBLE, CRect(0, 0, 800, 700), NULL, 0));
    }
    void TearDown() override
    {
        m_owner.DestroyWindow();
        ::OleUninitialize();
        *g_GlobalUnits.GetGlobalUserData() = m_savedUser;
        g_GlobalUnits.SetWorkDirectory(m_strSavedFolder.c_str());
        g_GlobalUnits.SetWebKey(m_strSavedKey.c_str());
    }

    static std::string Narrow(const std::wstring& str)
    {
        char sz[4096] = "";
        ::WideCharToMultiByte(CP_ACP, 0, str.c_str(), -1, sz, sizeof(sz), NULL, NULL);
        return sz;
    }

    CTempFolder m_folder;
    tagGlobalUserData m_savedUser;
    std::string m_strSavedFolder, m_strSavedKey;
    CWnd m_owner;
    CScriptedBrowserFactory m_factory;
    CModalScript m_script;
};

TEST_F(WebDialogsTest, AddressesCarryTheAccountTheSuffixAndANumber)
{
    struct Case
    {
        const char* pszUrl;
        bool bPlaceholders;
        int nRandom;
        const char* pszExpected;
    };
    const Case cases[] = {
        {"http://h/mail?u=<username>&p=<password>", true, 42,
         "http://h/mail?u=%CD%E6%BC%D2%261&p=0123456789abcdef0123456789ABCDEF&Uid=77&Key=K3Y&&42"},
        {"http://h/m?a=<username>&b=<username>", true, 0,
         "http://h/m?a=%CD%E6%BC%D2%261&b=%CD%E6%BC%D2%261&Uid=77&Key=K3Y&&0"},
        {"http://h/promo", false, 9998, "http://h/promo?Uid=77&Key=K3Y&9998"},
        {"http://h/promo?x=<username>", false, 5, "http://h/promo?x=<username>&Uid=77&Key=K3Y&5"},
        {"", true, 1, "?Uid=77&Key=K3Y&&1"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(std::string(PrepareWebDialogUrl(c.pszUrl, c.bPlaceholders, c.nRandom)), c.pszExpected) << c.pszUrl;

    // A full-width account field is read no further than the field.
    memset(g_GlobalUnits.GetGlobalUserData()->szAccount, 'a', sizeof(g_GlobalUnits.GetGlobalUserData()->szAccount));
    EXPECT_EQ(std::string(PrepareWebDialogUrl("<username>", true, 3)), std::string(32, 'a') + "?Uid=77&Key=K3Y&&3");
    EXPECT_EQ(std::string(EncodeUrlValue("a-b_c.d~e f#%")), "a-b_c.d~e%20f%23%25");
}

TEST_F(WebDialogsTest, APromotionPageLoadsUnderTheAnimationAndClosesFromThePage)
{
    m_factory.SetAutoComplete(false);
    m_script.Then([&](AFX_MODAL_REQUEST& r) -> INT_PTR {
        CPromotionDlg* pDlg = static_cast<CPromotionDlg*>(r.pWnd);
        CRect rc;
        pDlg->GetWindowRect(&rc);
        EXPECT_EQ(rc.Size(), CSize(560, 593));
        CString strCaption;
        pDlg->GetWindowText(strCaption);
        EXPECT_EQ(strCaption, "推广赚金蛋");

        CMailHtmlDlg& page = pDlg->GetPage();
        CRect rcPage;
        page.GetWindowRect(&rcPage);
        pDlg->ScreenToClient(&rcPage);
        EXPECT_EQ(rcPage, CRect(6, 27, 554, 582));
        EXPECT_FALSE(page.IsWindowVisible());
        EXPECT_NE(pDlg->GetLoading().GetSafeHwnd(), nullptr);
        // While it loads, the page's place is light blue.
        CMemoryCanvas canvas(560, 593, RGB(1, 2, 3));
        canvas.Print(pDlg->m_hWnd, PRF_CLIENT);
        EXPECT_EQ(canvas.At(10, 40), RGB(213, 243, 249));
        EXPECT_EQ(canvas.At(550, 578), RGB(213, 243, 249));

        CScriptedBrowser* pBrowser = m_factory.Last();
        EXPECT_EQ(pBrowser->m_bSilent, VARIANT_TRUE);
        EXPECT_EQ(pBrowser->m_navigations.size(), 1u);
        const std::string strUrl = Narrow(pBrowser->m_navigations.at(0).strURL);
        const std::string strPrefix = "http://127.0.0.1/promo?Uid=77&Key=K3Y&";
        EXPECT_EQ(strUrl.compare(0, strPrefix.size(), strPrefix), 0) << strUrl;
        EXPECT_LT(atoi(strUrl.c_str() + strPrefix.size()), 9999);
        EXPECT_EQ(std::string(pDlg->GetUrl()), strUrl);

        // F5 and Enter leave the page as it is.
        EXPECT_EQ(pBrowser->AskAccelerator(WM_KEYDOWN, VK_F5), S_OK);
        EXPECT_EQ(pBrowser->AskAccelerator(WM_KEYDOWN, 'A'), S_FALSE);
        POINT pt = {1, 1};
        EXPECT_EQ(pBrowser->AskContextMenu(0, pt), S_OK);
        page.SendMessage(WM_COMMAND, IDOK);
        page.SendMessage(WM_COMMAND, IDCANCEL);
        pDlg->SendMessage(WM_COMMAND, IDOK);
        EXPECT_TRUE(page.GetSafeHwnd() != nullptr && pDlg->IsWindowVisible());

        CScriptObject* pDocument = CScriptObject::Document();
        CScriptObject* pCancel = pDocument->AddElement(L"ButtonCancle");
        pBrowser->m_pDocument = pDocument;
        pBrowser->RaiseNavigateComplete2(pBrowser->m_navigations[0].strURL);
        pBrowser->RaiseDocumentComplete(pBrowser->m_navigations[0].strURL);
        EXPECT_EQ(pDlg->GetLoading().GetSafeHwnd(), nullptr);
        EXPECT_TRUE(page.IsWindowVisible());
        EXPECT_EQ(pCancel->Click(), S_OK); // ends the dialog
        pBrowser->m_pDocument = nullptr;
        pDocument->Release();
        return CModalScript::keepRunning;
    });
    CPromotionDlg dlg(&m_owner);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(m_script.Pending(), 0u);
}

TEST_F(WebDialogsTest, AMissingAddressStillLoadsAndEndsTheAnimation)
{
    m_script.Then([&](AFX_MODAL_REQUEST& r) -> INT_PTR {
        CCardRecharge* pDlg = static_cast<CCardRecharge*>(r.pWnd);
        CRect rc;
        pDlg->GetWindowRect(&rc);
        EXPECT_EQ(rc.Size(), CSize(462, 338));
        const std::string strUrl = Narrow(m_factory.Last()->m_navigations.at(0).strURL);
        EXPECT_EQ(strUrl.rfind("?Uid=77&Key=K3Y&&", 0), 0u) << strUrl;
        // The page completed at once: no animation left.
        EXPECT_EQ(pDlg->GetLoading().GetSafeHwnd(), nullptr);
        EXPECT_TRUE(pDlg->GetPage().IsWindowVisible());
        return IDOK;
    });
    CCardRecharge dlg(&m_owner);
    EXPECT_EQ(dlg.DoModal(), IDOK);
}

TEST_F(WebDialogsTest, TheMailReloadsWhenShownAgain)
{
    CGameMail mail;
    ASSERT_TRUE(mail.ShowMail(&m_owner));
    CScriptedBrowser* pBrowser = m_factory.Last();
    ASSERT_NE(pBrowser, nullptr);
    EXPECT_TRUE(mail.IsWindowVisible());
    CRect rc;
    mail.GetWindowRect(&rc);
    EXPECT_EQ(rc.Size(), CSize(470, 418));
    ASSERT_EQ(pBrowser->m_navigations.size(), 1u);
    const std::wstring strUrl = pBrowser->m_navigations[0].strURL;
    EXPECT_EQ(
        Narrow(strUrl).rfind("http://127.0.0.1/mail?u=%CD%E6%BC%D2%261&p=0123456789abcdef0123456789ABCDEF&Uid=77&", 0),
        0u)
        << Narrow(strUrl);

    // Shown while visible: nothing reloads.
    ASSERT_TRUE(mail.ShowMail(&m_owner));
    EXPECT_EQ(pBrowser->m_navigations.size(), 1u);

    mail.SendMessage(WM_COMMAND, IDCANCEL); // hidden, kept
    EXPECT_FALSE(mail.IsWindowVisible());
    ASSERT_NE(mail.GetSafeHwnd(), nullptr);
    ASSERT_TRUE(mail.ShowMail(&m_owner));
    EXPECT_TRUE(mail.IsWindowVisible());
    EXPECT_EQ(pBrowser->m_nRefresh, 1);
    ASSERT_EQ(pBrowser->m_navigations.size(), 2u);
    EXPECT_EQ(pBrowser->m_navigations[1].strURL, strUrl);
    EXPECT_EQ(m_factory.Count(), 1u);
    mail.DestroyWindow();
}

} // namespace
