// The browser host with a scripted browser: placement, navigation, every
// event to its handler, cancel, the document host's answers and the page's
// calls to window.external; and what the system's control does here.
// Winsock before the Windows headers.
#include <http/HttpTestServer.h>

#include "win_test_res.h"
#include "win_test_util.h"

#include <afxdhtml.h>
#include <afxhtml.h>
#include <exdispid.h>
#include <browser/ScriptedBrowser.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

// A page's window.external: records each call as "name arg arg ...".
class CExternal : public IDispatch
{
public:
    std::vector<std::string> m_calls;

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        *ppv = nullptr;
        if (riid != IID_IUnknown && riid != IID_IDispatch)
            return E_NOINTERFACE;
        *ppv = this;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++m_nRef; }
    STDMETHODIMP_(ULONG) Release() override { return --m_nRef; } // lives on the test's stack
    STDMETHODIMP GetTypeInfoCount(UINT* p) override { return *p = 0, S_OK; }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT, LCID, DISPID* pid) override
    {
        if (lstrcmpW(names[0], L"Notify") != 0)
            return DISP_E_UNKNOWNNAME;
        *pid = 7;
        return S_OK;
    }
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* p, VARIANT* pResult, EXCEPINFO*, UINT*) override
    {
        std::string strCall = id == 7 ? "Notify" : "?";
        for (UINT i = p->cArgs; i-- > 0;) {
            VARIANT v;
            ::VariantInit(&v);
            ::VariantChangeType(&v, &p->rgvarg[i], 0, VT_BSTR);
            char sz[64] = "";
            ::WideCharToMultiByte(CP_ACP, 0, V_BSTR(&v), -1, sz, sizeof(sz), NULL, NULL);
            strCall += std::string(" ") + sz;
            ::VariantClear(&v);
        }
        m_calls.push_back(strCall);
        if (pResult != nullptr) {
            V_VT(pResult) = VT_I4;
            V_I4(pResult) = 42;
        }
        return S_OK;
    }
    ULONG m_nRef = 1;
};

VARIANT VarText(const wchar_t* psz)
{
    VARIANT v;
    ::VariantInit(&v);
    V_VT(&v) = VT_BSTR;
    V_BSTR(&v) = ::SysAllocString(psz);
    return v;
}

VARIANT VarInt(LONG n)
{
    VARIANT v;
    ::VariantInit(&v);
    V_VT(&v) = VT_I4;
    V_I4(&v) = n;
    return v;
}

// A view that logs every event and answers the host questions as a page
// control of the hall does.
class CLogView : public CHtmlView
{
public:
    std::vector<std::string> m_log;
    CExternal* m_pExternal = nullptr;
    IDispatch* m_pNewWindow = nullptr;

    void OnBeforeNavigate2(LPCTSTR lpszURL, DWORD nFlags, LPCTSTR lpszTargetFrameName, CByteArray& baPostedData,
                           LPCTSTR lpszHeaders, BOOL* pbCancel) override
    {
        CString str;
        str.Format("before %s %u %s %d %s", lpszURL, (unsigned)nFlags, lpszTargetFrameName, (int)baPostedData.GetSize(),
                   lpszHeaders);
        m_log.push_back((LPCTSTR)str);
        // Hall links are taken over, never opened; so are blocked pages.
        if (strncmp(lpszURL, "tavrel://", 9) == 0 || strstr(lpszURL, "/blocked") != NULL)
            *pbCancel = TRUE;
    }
    void OnNavigateComplete2(LPCTSTR strURL) override { m_log.push_back(std::string("navigate ") + strURL); }
    void OnDocumentComplete(LPCTSTR lpszURL) override { m_log.push_back(std::string("document ") + lpszURL); }
    void OnNavigateError(LPCTSTR lpszURL, LPCTSTR lpszFrame, DWORD dwError, BOOL* pbCancel) override
    {
        CString str;
        str.Format("error %s %s %d", lpszURL, lpszFrame, (int)dwError);
        m_log.push_back((LPCTSTR)str);
        *pbCancel = TRUE;
    }
    void OnTitleChange(LPCTSTR lpszText) override { m_log.push_back(std::string("title ") + lpszText); }
    void OnNewWindow2(LPDISPATCH* ppDisp, BOOL* Cancel) override
    {
        m_log.push_back("new window");
        if (m_pNewWindow != nullptr) {
            m_pNewWindow->AddRef();
            *ppDisp = m_pNewWindow;
        } else {
            *Cancel = TRUE;
        }
    }
    void OnNewWindow3(LPDISPATCH* ppDisp, BOOL* Cancel, DWORD dwFlags, LPCTSTR lpszUrlContext, LPCTSTR lpszUrl) override
    {
        CString str;
        str.Format("new window3 %u %s %s", (unsigned)dwFlags, lpszUrlContext, lpszUrl);
        m_log.push_back((LPCTSTR)str);
        *Cancel = TRUE;
    }
    HRESULT OnGetHostInfo(DOCHOSTUIINFO* pInfo) override
    {
        pInfo->dwFlags |= DOCHOSTUIFLAG_NO3DBORDER | DOCHOSTUIFLAG_SCROLL_NO;
        return S_OK;
    }
    HRESULT OnShowContextMenu(DWORD, LPPOINT, LPUNKNOWN, LPDISPATCH) override { return S_OK; }
    HRESULT OnTranslateAccelerator(LPMSG lpMsg, const GUID*, DWORD) override
    {
        return lpMsg->message == WM_KEYDOWN && lpMsg->wParam == VK_F5 ? S_OK : S_FALSE;
    }
    HRESULT OnGetExternal(LPDISPATCH* lppDispatch) override
    {
        if (m_pExternal == nullptr)
            return CHtmlView::OnGetExternal(lppDispatch);
        m_pExternal->AddRef();
        *lppDispatch = m_pExternal;
        return S_OK;
    }
};

class HtmlFixture : public ::testing::Test
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

TEST_F(HtmlFixture, TheViewHoldsTheBrowserInPlaceOverItsClientArea)
{
    CScriptedBrowserFactory factory;
    CHtmlView view;
    ASSERT_TRUE(view.Create(NULL, NULL, WS_VISIBLE, CRect(10, 10, 210, 110), &m_parent, 1001));
    CScriptedBrowser* pBrowser = factory.Last();
    ASSERT_NE(pBrowser, nullptr);
    EXPECT_NE(view.m_pBrowserApp, nullptr);
    EXPECT_TRUE(pBrowser->m_bInPlace);
    EXPECT_EQ(pBrowser->m_hWndParent, view.m_hWnd);
    EXPECT_EQ(CRect(pBrowser->m_rcPos), CRect(0, 0, 200, 100));
    EXPECT_NE(pBrowser->Sink(), nullptr);
    EXPECT_EQ(view.GetDlgCtrlID(), 1001);

    view.MoveWindow(0, 0, 300, 150);
    EXPECT_EQ(CRect(pBrowser->m_rcPos), CRect(0, 0, 300, 150));

    view.DestroyWindow();
    EXPECT_EQ(view.m_pBrowserApp, nullptr);
    EXPECT_TRUE(pBrowser->m_bClosed);
    EXPECT_FALSE(pBrowser->m_bInPlace);
    EXPECT_EQ(pBrowser->Sink(), nullptr);
    EXPECT_EQ(pBrowser->m_pSite, nullptr);
    EXPECT_EQ(pBrowser->RefCount(), 1); // only the factory's own reference is left
}

TEST_F(HtmlFixture, EachEventReachesItsHandler)
{
    CScriptedBrowserFactory factory;
    CLogView view;
    ASSERT_TRUE(view.Create(NULL, NULL, WS_VISIBLE, CRect(0, 0, 200, 100), &m_parent, 1));
    CScriptedBrowser* pBrowser = factory.Last();
    ASSERT_NE(pBrowser, nullptr);

    const char szPost[] = "a=1";
    view.Navigate("http://127.0.0.1/页面?x=1", 2, "_self", "X-A: 1", (LPVOID)szPost, 3);
    ASSERT_EQ(pBrowser->m_navigations.size(), 1u);
    EXPECT_EQ(pBrowser->m_navigations[0].strURL, L"http://127.0.0.1/页面?x=1");
    EXPECT_EQ(pBrowser->m_navigations[0].postData, std::vector<BYTE>({'a', '=', '1'}));
    EXPECT_EQ(view.GetLocationURL(), "http://127.0.0.1/页面?x=1");

    EXPECT_TRUE(pBrowser->RaiseNavigateError(L"http://127.0.0.1/none", 404, L"main"));
    pBrowser->RaiseTitleChange(L"width=300&height=200");
    IDispatch* pNew = nullptr;
    EXPECT_TRUE(pBrowser->RaiseNewWindow2(&pNew)); // no window to give: cancelled
    view.m_pNewWindow = static_cast<IWebBrowser2*>(pBrowser);
    EXPECT_FALSE(pBrowser->RaiseNewWindow2(&pNew));
    EXPECT_EQ(pNew, static_cast<IDispatch*>(static_cast<IWebBrowser2*>(pBrowser)));
    if (pNew != nullptr)
        pNew->Release();
    EXPECT_TRUE(pBrowser->RaiseNewWindow3(&pNew, 6, L"http://a/", L"http://b/"));

    EXPECT_EQ(view.m_log, std::vector<std::string>({
                              "before http://127.0.0.1/页面?x=1 2 _self 3 X-A: 1",
                              "navigate http://127.0.0.1/页面?x=1",
                              "document http://127.0.0.1/页面?x=1",
                              "error http://127.0.0.1/none main 404",
                              "title width=300&height=200",
                              "new window",
                              "new window",
                              "new window3 6 http://a/ http://b/",
                          }));
    view.DestroyWindow();
}

TEST_F(HtmlFixture, CancelInBeforeNavigateStopsTheNavigation)
{
    CScriptedBrowserFactory factory;
    CLogView view;
    ASSERT_TRUE(view.Create(NULL, NULL, WS_VISIBLE, CRect(0, 0, 200, 100), &m_parent, 1));
    CScriptedBrowser* pBrowser = factory.Last();
    view.Navigate2("http://127.0.0.1/start");
    view.Navigate2("tavrel://room/5");
    ASSERT_EQ(pBrowser->m_navigations.size(), 2u);
    EXPECT_FALSE(pBrowser->m_navigations[0].bCancelled);
    EXPECT_TRUE(pBrowser->m_navigations[1].bCancelled);
    EXPECT_EQ(view.GetLocationURL(), "http://127.0.0.1/start");
    EXPECT_EQ(view.m_log.back(), "before tavrel://room/5 0  0 ");
    view.DestroyWindow();
}

TEST_F(HtmlFixture, MalformedEventsAreIgnoredOrReadAsEmpty)
{
    CScriptedBrowserFactory factory;
    CLogView view;
    ASSERT_TRUE(view.Create(NULL, NULL, WS_VISIBLE, CRect(0, 0, 200, 100), &m_parent, 1));
    IDispatch* pSink = factory.Last()->Sink();
    ASSERT_NE(pSink, nullptr);
    auto invoke = [&](DISPID id, VARIANT* args, UINT nArgs) {
        DISPPARAMS params = {args, nullptr, nArgs, 0};
        return pSink->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
    };

    EXPECT_EQ(invoke(DISPID_TITLECHANGE, nullptr, 1), E_INVALIDARG); // a count without arguments
    VARIANT args[7];
    for (VARIANT& v : args)
        v = VarInt(5);
    EXPECT_EQ(invoke(DISPID_BEFORENAVIGATE2, args, 3), S_OK); // too few: ignored
    EXPECT_EQ(invoke(DISPID_NEWWINDOW2, args, 2), S_OK);      // no window slot: ignored
    // Wrong types read as nothing: the URL a number, post data of two
    // dimensions, the cancel flag not by reference.
    SAFEARRAYBOUND bounds[2] = {{2, 0}, {2, 0}};
    SAFEARRAY* psa = ::SafeArrayCreate(VT_UI1, 2, bounds);
    ::VariantInit(&args[2]);
    V_VT(&args[2]) = VT_ARRAY | VT_UI1;
    V_ARRAY(&args[2]) = psa;
    EXPECT_EQ(invoke(DISPID_BEFORENAVIGATE2, args, 7), S_OK);
    EXPECT_EQ(invoke(DISPID_TITLECHANGE, args, 1), S_OK);
    ::SafeArrayDestroy(psa);
    EXPECT_EQ(view.m_log, std::vector<std::string>({"before  5  0 ", "title "}));
    view.DestroyWindow();
}

TEST_F(HtmlFixture, HostFlagsContextMenuAndKeysReachTheControl)
{
    CScriptedBrowserFactory factory;
    CLogView custom;
    CHtmlView plain;
    ASSERT_TRUE(custom.Create(NULL, NULL, WS_VISIBLE, CRect(0, 0, 200, 100), &m_parent, 1));
    CScriptedBrowser* pCustom = factory.Last();
    ASSERT_TRUE(plain.Create(NULL, NULL, WS_VISIBLE, CRect(0, 100, 200, 200), &m_parent, 2));
    CScriptedBrowser* pPlain = factory.Last();
    ASSERT_NE(pCustom, pPlain);

    DOCHOSTUIINFO info;
    EXPECT_EQ(pCustom->AskHostInfo(info), S_OK);
    EXPECT_EQ(info.dwFlags, (DWORD)(DOCHOSTUIFLAG_NO3DBORDER | DOCHOSTUIFLAG_SCROLL_NO));
    EXPECT_EQ(info.dwDoubleClick, (DWORD)DOCHOSTUIDBLCLK_DEFAULT);
    EXPECT_EQ(pPlain->AskHostInfo(info), E_NOTIMPL); // the browser keeps its defaults
    EXPECT_EQ(info.dwFlags, 0u);

    EXPECT_EQ(pCustom->AskContextMenu(0, CPoint(5, 5)), S_OK);
    EXPECT_EQ(pPlain->AskContextMenu(0, CPoint(5, 5)), S_FALSE);
    EXPECT_EQ(pCustom->AskAccelerator(WM_KEYDOWN, VK_F5), S_OK);
    EXPECT_EQ(pCustom->AskAccelerator(WM_KEYDOWN, 'A'), S_FALSE);
    EXPECT_EQ(pPlain->AskAccelerator(WM_KEYDOWN, VK_F5), S_FALSE);
    custom.DestroyWindow();
    plain.DestroyWindow();
}

TEST_F(HtmlFixture, PagesReachTheHostsExternalObject)
{
    CScriptedBrowserFactory factory;
    CLogView view;
    ASSERT_TRUE(view.Create(NULL, NULL, WS_VISIBLE, CRect(0, 0, 200, 100), &m_parent, 1));
    CScriptedBrowser* pBrowser = factory.Last();
    EXPECT_EQ(pBrowser->CallExternal(L"Notify", {}), E_NOTIMPL); // nothing offered

    CExternal external;
    view.m_pExternal = &external;
    VARIANT result;
    ::VariantInit(&result);
    EXPECT_EQ(pBrowser->CallExternal(L"Notify", {VarText(L"登录"), VarInt(5)}, &result), S_OK);
    EXPECT_EQ(V_I4(&result), 42);
    EXPECT_EQ(pBrowser->CallExternal(L"Other", {}), DISP_E_UNKNOWNNAME);
    EXPECT_EQ(external.m_calls, std::vector<std::string>({"Notify 登录 5"}));
    view.DestroyWindow();
    EXPECT_EQ(external.m_nRef, 1u);
}

TEST_F(HtmlFixture, SilentBackForwardRefreshAndStopGoToTheBrowser)
{
    CScriptedBrowserFactory factory;
    CHtmlView view;
    ASSERT_TRUE(view.Create(NULL, NULL, WS_VISIBLE, CRect(0, 0, 200, 100), &m_parent, 1));
    CScriptedBrowser* pBrowser = factory.Last();
    EXPECT_FALSE(view.GetSilent());
    view.SetSilent(TRUE);
    EXPECT_EQ(pBrowser->m_bSilent, VARIANT_TRUE);
    EXPECT_TRUE(view.GetSilent());
    view.GoBack();
    view.GoForward();
    view.GoForward();
    view.Refresh();
    view.Stop();
    EXPECT_EQ(pBrowser->m_nBack, 1);
    EXPECT_EQ(pBrowser->m_nForward, 2);
    EXPECT_EQ(pBrowser->m_nRefresh, 1);
    EXPECT_EQ(pBrowser->m_nStop, 1);
    EXPECT_EQ(view.GetHtmlDocument(), nullptr);
    view.DestroyWindow();
}

TEST_F(HtmlFixture, WithoutABrowserTheViewIsAnEmptyWindow)
{
    CScriptedBrowserFactory factory;
    factory.FailWith(REGDB_E_CLASSNOTREG);
    CLogView view;
    ASSERT_TRUE(view.Create(NULL, NULL, WS_VISIBLE, CRect(0, 0, 200, 100), &m_parent, 1));
    EXPECT_TRUE(::IsWindow(view.m_hWnd));
    EXPECT_EQ(view.m_pBrowserApp, nullptr);
    view.Navigate("http://127.0.0.1/");
    view.SetSilent(TRUE);
    view.GoBack();
    EXPECT_FALSE(view.GetSilent());
    EXPECT_TRUE(view.GetLocationURL().IsEmpty());
    EXPECT_EQ(view.GetReadyState(), READYSTATE_UNINITIALIZED);
    EXPECT_TRUE(view.m_log.empty());
    view.MoveWindow(0, 0, 50, 50);
    view.DestroyWindow();
}

// A page dialog as the hall's web dialogs use it.
class CLogDialog : public CDHtmlDialog
{
public:
    CLogDialog() : CDHtmlDialog(IDD_TEST_MODELESS) {}
    std::vector<std::string> m_log;

    void _OnBeforeNavigate2(LPDISPATCH pDisp, VARIANT* URL, VARIANT* Flags, VARIANT* TargetFrameName, VARIANT* PostData,
                            VARIANT* Headers, BOOL* Cancel) override
    {
        CString strURL = AfxBrowserVariantText(URL);
        if (strURL.Find("blocked") >= 0)
            *Cancel = TRUE;
        else
            CDHtmlDialog::_OnBeforeNavigate2(pDisp, URL, Flags, TargetFrameName, PostData, Headers, Cancel);
    }
    void OnBeforeNavigate(LPDISPATCH, LPCTSTR szUrl) override { m_log.push_back(std::string("before ") + szUrl); }
    void OnNavigateComplete(LPDISPATCH, LPCTSTR szUrl) override { m_log.push_back(std::string("navigate ") + szUrl); }
    void OnDocumentComplete(LPDISPATCH, LPCTSTR szUrl) override { m_log.push_back(std::string("document ") + szUrl); }
    void OnTitleChange(LPCTSTR szTitle) override { m_log.push_back(std::string("title ") + szTitle); }
    STDMETHOD(ShowContextMenu)(DWORD, POINT*, IUnknown*, IDispatch*) override { return S_OK; }
    STDMETHOD(TranslateAccelerator)(LPMSG lpMsg, const GUID* pguidCmdGroup, DWORD nCmdID) override
    {
        if (lpMsg->message == WM_KEYDOWN && lpMsg->wParam == VK_F5)
            return S_OK;
        return CDHtmlDialog::TranslateAccelerator(lpMsg, pguidCmdGroup, nCmdID);
    }
};

TEST_F(HtmlFixture, TheDialogsPageFollowsItsEventsAndAnswersItsHost)
{
    CScriptedBrowserFactory factory;
    CLogDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_TEST_MODELESS, &m_parent));
    CScriptedBrowser* pBrowser = factory.Last();
    ASSERT_NE(pBrowser, nullptr);
    EXPECT_EQ(pBrowser->m_hWndParent, dlg.m_hWnd);
    CRect rcClient;
    dlg.GetClientRect(&rcClient);
    EXPECT_EQ(CRect(pBrowser->m_rcPos), rcClient);

    dlg.m_pBrowserApp->put_Silent(VARIANT_TRUE);
    EXPECT_EQ(pBrowser->m_bSilent, VARIANT_TRUE);
    dlg.Navigate("http://127.0.0.1/mail?uid=1");
    dlg.Navigate("http://127.0.0.1/blocked");
    pBrowser->RaiseTitleChange(L"信件");
    EXPECT_EQ(dlg.m_log, std::vector<std::string>({
                             "before http://127.0.0.1/mail?uid=1",
                             "navigate http://127.0.0.1/mail?uid=1",
                             "document http://127.0.0.1/mail?uid=1",
                             "title 信件",
                         }));
    ASSERT_EQ(pBrowser->m_navigations.size(), 2u);
    EXPECT_TRUE(pBrowser->m_navigations[1].bCancelled);
    CString strURL;
    dlg.GetCurrentUrl(strURL);
    EXPECT_STREQ(strURL, "http://127.0.0.1/mail?uid=1");
    IHTMLDocument2* pDoc = nullptr;
    EXPECT_EQ(dlg.GetDHtmlDocument(&pDoc), E_NOINTERFACE);

    DOCHOSTUIINFO info;
    EXPECT_EQ(pBrowser->AskHostInfo(info), S_OK);
    EXPECT_EQ(info.dwFlags, (DWORD)DOCHOSTUIFLAG_NO3DBORDER);
    dlg.SetHostFlags(DOCHOSTUIFLAG_NO3DBORDER | DOCHOSTUIFLAG_SCROLL_NO);
    EXPECT_EQ(pBrowser->AskHostInfo(info), S_OK);
    EXPECT_EQ(info.dwFlags, (DWORD)(DOCHOSTUIFLAG_NO3DBORDER | DOCHOSTUIFLAG_SCROLL_NO));
    EXPECT_EQ(pBrowser->AskContextMenu(0, CPoint(1, 1)), S_OK);
    EXPECT_EQ(pBrowser->AskAccelerator(WM_KEYDOWN, VK_F5), S_OK);
    EXPECT_EQ(pBrowser->AskAccelerator(WM_KEYDOWN, VK_RETURN), S_FALSE);

    EXPECT_EQ(pBrowser->CallExternal(L"Notify", {}), E_NOTIMPL);
    CExternal external;
    dlg.SetExternalDispatch(&external);
    EXPECT_EQ(pBrowser->CallExternal(L"Notify", {VarInt(1)}), S_OK);
    EXPECT_EQ(external.m_calls, std::vector<std::string>({"Notify 1"}));

    dlg.DestroyWindow();
    EXPECT_TRUE(pBrowser->m_bClosed);
    EXPECT_EQ(pBrowser->Sink(), nullptr);
    dlg.SetExternalDispatch(nullptr);
    EXPECT_EQ(external.m_nRef, 1u);
}

} // namespace

namespace
{
// The system's control here: Wine's browser is made and navigates (the
// request reaches the server, before-navigate and its cancel work), but
// with the HTML engine turned off the page cannot be shown: the navigation
// ends in a navigate error for the missing document class, never in a
// document complete.
TEST_F(HtmlFixture, TheSystemControlNavigatesButShowsNoPageHere)
{
    CHttpTestServer server;
    ASSERT_TRUE(server.Start());
    server.SetReply("/page.htm", CHttpTestServer::Ok("<html><head><title>t</title></head><body>x</body></html>"));
    server.SetReply("/blocked.htm", CHttpTestServer::Ok("<html></html>"));
    CLogView view;
    ASSERT_TRUE(view.Create(NULL, NULL, WS_VISIBLE, CRect(0, 0, 200, 100), &m_parent, 1));
    ASSERT_NE(view.m_pBrowserApp, nullptr);
    view.SetSilent(TRUE);
    EXPECT_TRUE(view.GetSilent());

    const std::string strBlocked = server.Url("/blocked.htm"), strPage = server.Url("/page.htm");
    view.Navigate(strBlocked.c_str()); // cancelled by the view
    view.Navigate(strPage.c_str());
    auto ended = [&] {
        for (const std::string& s : view.m_log)
            if (s.compare(0, 6, "error ") == 0 || s.compare(0, 9, "document ") == 0)
                return true;
        return false;
    };
    ASSERT_TRUE(PumpUntil(ended, 20000));
    EXPECT_EQ(server.CountRequests("/blocked.htm"), 0);
    EXPECT_EQ(server.CountRequests("/page.htm"), 1);
    ASSERT_GE(view.m_log.size(), 3u);
    EXPECT_EQ(view.m_log[0], "before " + strBlocked + " 0  0 ");
    EXPECT_EQ(view.m_log[1], "before " + strPage + " 0  0 ");
    CString strError;
    strError.Format("error %s  %d", strPage.c_str(), (int)REGDB_E_CLASSNOTREG);
    EXPECT_EQ(view.m_log.back(), (LPCTSTR)strError);
    view.DestroyWindow();
}
} // namespace
