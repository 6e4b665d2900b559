// The HTML dialog's element click map: connected when a top-level document
// completes, calling the member named for the clicked element, reconnected
// for each new document and cut off when the window goes.
#include "win_test_res.h"
#include "win_test_util.h"

#include <afxdhtml.h>
#include <browser/ScriptObject.h>
#include <browser/ScriptedBrowser.h>
#include <gtest/gtest.h>

namespace
{

class CClickDialog : public CDHtmlDialog
{
public:
    CClickDialog() : CDHtmlDialog(IDD_TEST_MODELESS) {}
    int m_nCancels = 0;
    int m_nOthers = 0;
    bool m_bDestroyOnCancel = false;

    HRESULT OnButtonCancel(IHTMLElement*)
    {
        ++m_nCancels;
        if (m_bDestroyOnCancel)
            DestroyWindow();
        return S_OK;
    }
    HRESULT OnOther(IHTMLElement*)
    {
        ++m_nOthers;
        return S_OK;
    }

    DECLARE_DHTML_EVENT_MAP()
};

BEGIN_DHTML_EVENT_MAP(CClickDialog)
DHTML_EVENT_ONCLICK("ButtonCancle", OnButtonCancel)
DHTML_EVENT_ONCLICK("Other", OnOther)
DHTML_EVENT_ONCLICK("Missing", OnOther)
END_DHTML_EVENT_MAP()

class DHtmlEventsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(AfxOleInit());
        ASSERT_TRUE(m_parent.CreateEx(0, NULL, "", WS_POPUP, 0, 0, 300, 200, NULL, NULL));
    }
    void TearDown() override
    {
        m_parent.DestroyWindow();
        ::OleUninitialize();
    }
    CWnd m_parent;
    CScriptedBrowserFactory m_factory;
};

TEST_F(DHtmlEventsTest, ClicksReachTheMembersOfTheMap)
{
    CClickDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_TEST_MODELESS, &m_parent));
    CScriptedBrowser* pBrowser = m_factory.Last();
    ASSERT_NE(pBrowser, nullptr);
    CScriptObject* pDocument = CScriptObject::Document();
    CScriptObject* pCancel = pDocument->AddElement(L"ButtonCancle");
    CScriptObject* pOther = pDocument->AddElement(L"Other");
    CScriptObject* pPlain = pDocument->AddElement(L"Plain");
    pBrowser->m_pDocument = pDocument;

    // Before the document completes nothing is hooked.
    EXPECT_EQ(pCancel->Click(), S_FALSE);
    dlg.Navigate("http://127.0.0.1/page.htm");
    EXPECT_EQ(pPlain->Object(L"onclick"), nullptr);
    EXPECT_EQ(pCancel->Click(), S_OK);
    EXPECT_EQ(pOther->Click(), S_OK);
    EXPECT_EQ(pCancel->Click(), S_OK);
    EXPECT_EQ(dlg.m_nCancels, 2);
    EXPECT_EQ(dlg.m_nOthers, 1);

    // A frame's document leaves the hooks alone; a new page hooks its own
    // elements, and the old handlers do nothing any more.
    IDispatch* pOldHandler = pCancel->Object(L"onclick");
    pOldHandler->AddRef();
    pBrowser->RaiseDocumentComplete(L"http://127.0.0.1/page.htm");
    CScriptObject* pNext = CScriptObject::Document();
    CScriptObject* pNextCancel = pNext->AddElement(L"ButtonCancle");
    pBrowser->m_pDocument = pNext;
    dlg.Navigate("http://127.0.0.1/next.htm");
    DISPPARAMS none = {nullptr, nullptr, 0, 0};
    pOldHandler->Invoke(DISPID_VALUE, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr);
    EXPECT_EQ(dlg.m_nCancels, 2);
    EXPECT_EQ(pNextCancel->Click(), S_OK);
    EXPECT_EQ(dlg.m_nCancels, 3);

    // A handler may close the dialog; a later click finds no dialog.
    dlg.m_bDestroyOnCancel = true;
    EXPECT_EQ(pNextCancel->Click(), S_OK);
    EXPECT_EQ(dlg.GetSafeHwnd(), nullptr);
    EXPECT_EQ(pNextCancel->Click(), S_OK);
    EXPECT_EQ(dlg.m_nCancels, 4);
    pOldHandler->Release();
    pBrowser->m_pDocument = nullptr;
    pDocument->Release();
    pNext->Release();
}

} // namespace
