// CDHtmlDialog: a dialog whose client area the browser covers.
#include "BrowserSite.h"
#include <afxdhtml.h>

IMPLEMENT_DYNAMIC(CDHtmlDialog, CDialog)

namespace
{

// What a page calls when one of the map's elements is clicked: the
// element's onclick holds it. It outlives neither its dialog's window nor
// the document: the dialog detaches it first.
class CDHtmlClickSink final : public IDispatch
{
public:
    CDHtmlClickSink(CDHtmlDialog* pDialog, AFX_DHTML_CLICK_HANDLER pfnHandler, IDispatch* pElement)
        : m_pDialog(pDialog), m_pfnHandler(pfnHandler), m_pElement(pElement), m_nRef(1)
    {}
    void Detach() { m_pDialog = NULL; }

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        *ppv = NULL;
        if (riid != IID_IUnknown && riid != IID_IDispatch)
            return E_NOINTERFACE;
        *ppv = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return (ULONG)::InterlockedIncrement(&m_nRef); }
    STDMETHODIMP_(ULONG) Release() override
    {
        LONG n = ::InterlockedDecrement(&m_nRef);
        if (n == 0)
            delete this;
        return (ULONG)n;
    }
    STDMETHODIMP GetTypeInfoCount(UINT* pctinfo) override
    {
        *pctinfo = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return DISP_E_UNKNOWNNAME; }
    STDMETHODIMP Invoke(DISPID dispid, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* pResult, EXCEPINFO*, UINT*) override
    {
        if (dispid != DISPID_VALUE)
            return DISP_E_MEMBERNOTFOUND;
        if (pResult != NULL)
            ::VariantInit(pResult);
        if (m_pDialog == NULL)
            return S_OK;
        // The handler may end the dialog: hold on to this sink meanwhile.
        AddRef();
        IHTMLElement* pElement = NULL;
        m_pElement->QueryInterface(IID_IHTMLElement, (void**)&pElement);
        (m_pDialog->*m_pfnHandler)(pElement);
        if (pElement != NULL)
            pElement->Release();
        Release();
        return S_OK;
    }

private:
    ~CDHtmlClickSink() {}

    CDHtmlDialog* m_pDialog;
    AFX_DHTML_CLICK_HANDLER m_pfnHandler;
    IDispatch* m_pElement; // not held: the page's element holds this sink
    LONG m_nRef;
};

// document.getElementById(id) through the document's script interface.
IDispatch* ElementById(IDispatch* pDocument, LPCTSTR pszId)
{
    DISPID dispid = DISPID_UNKNOWN;
    LPOLESTR pszName = const_cast<LPOLESTR>(L"getElementById");
    if (FAILED(pDocument->GetIDsOfNames(IID_NULL, &pszName, 1, LOCALE_USER_DEFAULT, &dispid)))
        return NULL;
    VARIANT arg, result;
    ::VariantInit(&arg);
    ::VariantInit(&result);
    V_VT(&arg) = VT_BSTR;
    V_BSTR(&arg) = AfxAllocBstr(pszId);
    DISPPARAMS params = {&arg, NULL, 1, 0};
    IDispatch* pElement = NULL;
    if (SUCCEEDED(
            pDocument->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, &result, NULL, NULL)) &&
        V_VT(&result) == VT_DISPATCH && V_DISPATCH(&result) != NULL)
        V_DISPATCH(&result)->QueryInterface(IID_IDispatch, (void**)&pElement);
    ::VariantClear(&arg);
    ::VariantClear(&result);
    return pElement;
}

// element.onclick = pHandler.
bool PutOnClick(IDispatch* pElement, IDispatch* pHandler)
{
    DISPID dispid = DISPID_UNKNOWN;
    LPOLESTR pszName = const_cast<LPOLESTR>(L"onclick");
    if (FAILED(pElement->GetIDsOfNames(IID_NULL, &pszName, 1, LOCALE_USER_DEFAULT, &dispid)))
        return false;
    VARIANT value;
    ::VariantInit(&value);
    V_VT(&value) = VT_DISPATCH;
    V_DISPATCH(&value) = pHandler;
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params = {&value, &named, 1, 1};
    return SUCCEEDED(
        pElement->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &params, NULL, NULL, NULL));
}

} // namespace

BEGIN_MESSAGE_MAP(CDHtmlDialog, CDialog)
    ON_WM_SIZE()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

void CDHtmlDialog::CommonConstruct()
{
    m_pBrowserApp = NULL;
    m_spHtmlDoc = NULL;
    m_bUseHtmlTitle = FALSE;
    m_nHtmlResID = 0;
    m_szHtmlResID = NULL;
    m_dwHostFlags = DOCHOSTUIFLAG_NO3DBORDER;
    m_pSite = NULL;
    m_pExternalDisp = NULL;
}

CDHtmlDialog::CDHtmlDialog()
{
    CommonConstruct();
}

CDHtmlDialog::CDHtmlDialog(UINT nIDTemplate, UINT nHtmlResID, CWnd* pParentWnd) : CDialog(nIDTemplate, pParentWnd)
{
    CommonConstruct();
    m_nHtmlResID = nHtmlResID;
}

CDHtmlDialog::CDHtmlDialog(LPCTSTR lpszTemplateName, LPCTSTR szHtmlResID, CWnd* pParentWnd)
    : CDialog(lpszTemplateName, pParentWnd)
{
    CommonConstruct();
    m_szHtmlResID = const_cast<LPTSTR>(szHtmlResID);
}

CDHtmlDialog::~CDHtmlDialog()
{
    if (m_pExternalDisp != NULL)
        m_pExternalDisp->Release();
}

BOOL CDHtmlDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_pSite = CAfxBrowserSite::OpenIn(this, m_hWnd, &m_pBrowserApp);
    if (m_pSite == NULL)
        return TRUE;
    // The page shipped in the module's resources.
    if (m_nHtmlResID != 0 || m_szHtmlResID != NULL) {
        char szModule[MAX_PATH] = "";
        ::GetModuleFileNameA(AfxGetResourceHandle(), szModule, MAX_PATH);
        CString strURL;
        if (m_nHtmlResID != 0)
            strURL.Format("res://%s/%u", szModule, m_nHtmlResID);
        else
            strURL.Format("res://%s/%s", szModule, m_szHtmlResID);
        Navigate(strURL);
    }
    return TRUE;
}

void CDHtmlDialog::OnSize(UINT nType, int cx, int cy)
{
    Default();
    if (m_pSite != NULL)
        m_pSite->Move(CRect(0, 0, cx, cy));
}

void CDHtmlDialog::OnDestroy()
{
    DisconnectDHtmlEvents();
    if (m_spHtmlDoc != NULL) {
        m_spHtmlDoc->Release();
        m_spHtmlDoc = NULL;
    }
    CAfxBrowserSite::CloseIn(m_pSite, m_pBrowserApp);
    Default();
}

BOOL CDHtmlDialog::PreTranslateMessage(MSG* pMsg)
{
    if (AfxBrowserPreTranslate(m_pSite, m_hWnd, pMsg))
        return TRUE;
    return CDialog::PreTranslateMessage(pMsg);
}

void CDHtmlDialog::Navigate(LPCTSTR lpszURL, DWORD dwFlags, LPCTSTR lpszTargetFrameName, LPCTSTR lpszHeaders,
                            LPVOID lpvPostData, DWORD dwPostDataLen)
{
    AfxBrowserNavigate(m_pBrowserApp, TRUE, lpszURL, dwFlags, lpszTargetFrameName, lpszHeaders, lpvPostData,
                       dwPostDataLen);
}

HRESULT CDHtmlDialog::GetDHtmlDocument(IHTMLDocument2** pphtmlDoc)
{
    if (pphtmlDoc == NULL)
        return E_POINTER;
    *pphtmlDoc = m_spHtmlDoc;
    if (m_spHtmlDoc == NULL)
        return E_NOINTERFACE;
    m_spHtmlDoc->AddRef();
    return S_OK;
}

void CDHtmlDialog::SetExternalDispatch(IDispatch* pdispExternal)
{
    if (pdispExternal != NULL)
        pdispExternal->AddRef();
    if (m_pExternalDisp != NULL)
        m_pExternalDisp->Release();
    m_pExternalDisp = pdispExternal;
}

BOOL CDHtmlDialog::CanAccessExternal()
{
    return TRUE;
}

// ------------------------------------------------------------------ element clicks

const DHtmlEventMapEntry* CDHtmlDialog::GetDHtmlEventMap()
{
    return NULL;
}

void CDHtmlDialog::ConnectDHtmlEvents()
{
    DisconnectDHtmlEvents();
    const DHtmlEventMapEntry* pEntry = GetDHtmlEventMap();
    IDispatch* pDocument = NULL;
    if (pEntry == NULL || m_pBrowserApp == NULL || FAILED(m_pBrowserApp->get_Document(&pDocument)) || pDocument == NULL)
        return;
    for (; pEntry->szName != NULL; ++pEntry) {
        IDispatch* pElement = ElementById(pDocument, pEntry->szName);
        if (pElement == NULL)
            continue;
        CDHtmlClickSink* pSink = new CDHtmlClickSink(this, pEntry->pfnHandler, pElement);
        if (PutOnClick(pElement, pSink))
            m_dhtmlSinks.Add(pSink);
        else
            pSink->Release();
        pElement->Release();
    }
    pDocument->Release();
}

void CDHtmlDialog::DisconnectDHtmlEvents()
{
    for (INT_PTR i = 0; i < m_dhtmlSinks.GetSize(); ++i) {
        CDHtmlClickSink* pSink = static_cast<CDHtmlClickSink*>(m_dhtmlSinks[i]);
        pSink->Detach();
        pSink->Release();
    }
    m_dhtmlSinks.RemoveAll();
}

// ------------------------------------------------------------------ events

void CDHtmlDialog::_OnBeforeNavigate2(LPDISPATCH pDisp, VARIANT* URL, VARIANT*, VARIANT*, VARIANT*, VARIANT*, BOOL*)
{
    OnBeforeNavigate(pDisp, AfxBrowserVariantText(URL));
}

void CDHtmlDialog::_OnNavigateComplete2(LPDISPATCH pDisp, VARIANT* URL)
{
    CString strURL = AfxBrowserVariantText(URL);
    m_strCurrentUrl = strURL;
    // The top-level page (not a frame) brings the document.
    IDispatch* pTop = NULL;
    if (m_pBrowserApp != NULL && SUCCEEDED(m_pBrowserApp->QueryInterface(IID_IDispatch, (void**)&pTop))) {
        if (pTop == pDisp) {
            if (m_spHtmlDoc != NULL) {
                m_spHtmlDoc->Release();
                m_spHtmlDoc = NULL;
            }
            IDispatch* pDocDisp = NULL;
            if (SUCCEEDED(m_pBrowserApp->get_Document(&pDocDisp)) && pDocDisp != NULL) {
                pDocDisp->QueryInterface(IID_IHTMLDocument2, (void**)&m_spHtmlDoc);
                pDocDisp->Release();
            }
        }
        pTop->Release();
    }
    OnNavigateComplete(pDisp, strURL);
}

void CDHtmlDialog::_OnDocumentComplete(LPDISPATCH pDisp, VARIANT* URL)
{
    CString strURL = AfxBrowserVariantText(URL);
    m_strCurrentUrl = strURL;
    if (m_bUseHtmlTitle && m_spHtmlDoc != NULL) {
        BSTR bstrTitle = NULL;
        if (SUCCEEDED(m_spHtmlDoc->get_title(&bstrTitle))) {
            SetWindowText(AfxBstrToText(bstrTitle));
            ::SysFreeString(bstrTitle);
        }
    }
    IDispatch* pTop = NULL;
    if (m_pBrowserApp != NULL && SUCCEEDED(m_pBrowserApp->QueryInterface(IID_IDispatch, (void**)&pTop))) {
        if (pTop == pDisp)
            ConnectDHtmlEvents();
        pTop->Release();
    }
    OnDocumentComplete(pDisp, strURL);
}

void CDHtmlDialog::OnBeforeNavigate(LPDISPATCH, LPCTSTR) {}
void CDHtmlDialog::OnNavigateComplete(LPDISPATCH, LPCTSTR) {}
void CDHtmlDialog::OnDocumentComplete(LPDISPATCH, LPCTSTR) {}
void CDHtmlDialog::OnNavigateError(LPDISPATCH, LPCTSTR, LPCTSTR, DWORD, BOOL*) {}
void CDHtmlDialog::OnTitleChange(LPCTSTR) {}
void CDHtmlDialog::OnNewWindow2(LPDISPATCH*, BOOL*) {}
void CDHtmlDialog::OnNewWindow3(LPDISPATCH*, BOOL*, DWORD, LPCTSTR, LPCTSTR) {}

// ------------------------------------------------------------------ the document host

STDMETHODIMP CDHtmlDialog::GetHostInfo(DOCHOSTUIINFO* pInfo)
{
    pInfo->dwFlags = m_dwHostFlags;
    pInfo->dwDoubleClick = DOCHOSTUIDBLCLK_DEFAULT;
    return S_OK;
}

STDMETHODIMP CDHtmlDialog::ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*)
{
    return S_FALSE;
}

STDMETHODIMP CDHtmlDialog::TranslateAccelerator(LPMSG, const GUID*, DWORD)
{
    return S_FALSE;
}

STDMETHODIMP CDHtmlDialog::GetExternal(IDispatch** ppDispatch)
{
    if (ppDispatch == NULL)
        return E_POINTER;
    *ppDispatch = NULL;
    if (m_pExternalDisp == NULL || !CanAccessExternal())
        return E_NOTIMPL;
    *ppDispatch = m_pExternalDisp;
    m_pExternalDisp->AddRef();
    return S_OK;
}

// ------------------------------------------------------------------ from the site

HRESULT CDHtmlDialog::HostGetHostInfo(DOCHOSTUIINFO* pInfo)
{
    return GetHostInfo(pInfo);
}

HRESULT CDHtmlDialog::HostShowContextMenu(DWORD dwID, POINT* ppt, IUnknown* pcmdtReserved, IDispatch* pdispReserved)
{
    return ShowContextMenu(dwID, ppt, pcmdtReserved, pdispReserved);
}

HRESULT CDHtmlDialog::HostTranslateAccelerator(LPMSG lpMsg, const GUID* pguidCmdGroup, DWORD nCmdID)
{
    return TranslateAccelerator(lpMsg, pguidCmdGroup, nCmdID);
}

HRESULT CDHtmlDialog::HostGetExternal(IDispatch** ppDispatch)
{
    return GetExternal(ppDispatch);
}

void CDHtmlDialog::HostBeforeNavigate2(IDispatch* pDisp, VARIANT* URL, VARIANT* Flags, VARIANT* TargetFrameName,
                                       VARIANT* PostData, VARIANT* Headers, BOOL* pbCancel)
{
    _OnBeforeNavigate2(pDisp, URL, Flags, TargetFrameName, PostData, Headers, pbCancel);
}

void CDHtmlDialog::HostNavigateComplete2(IDispatch* pDisp, VARIANT* URL)
{
    _OnNavigateComplete2(pDisp, URL);
}

void CDHtmlDialog::HostDocumentComplete(IDispatch* pDisp, VARIANT* URL)
{
    _OnDocumentComplete(pDisp, URL);
}

void CDHtmlDialog::HostNavigateError(IDispatch* pDisp, VARIANT* URL, VARIANT* Frame, VARIANT* StatusCode,
                                     BOOL* pbCancel)
{
    OnNavigateError(pDisp, AfxBrowserVariantText(URL), AfxBrowserVariantText(Frame),
                    AfxBrowserVariantNumber(StatusCode), pbCancel);
}

void CDHtmlDialog::HostTitleChange(BSTR bstrText)
{
    OnTitleChange(AfxBstrToText(bstrText));
}

void CDHtmlDialog::HostNewWindow2(IDispatch** ppDisp, BOOL* pbCancel)
{
    OnNewWindow2(ppDisp, pbCancel);
}

void CDHtmlDialog::HostNewWindow3(IDispatch** ppDisp, BOOL* pbCancel, DWORD dwFlags, BSTR bstrUrlContext, BSTR bstrUrl)
{
    OnNewWindow3(ppDisp, pbCancel, dwFlags, AfxBstrToText(bstrUrlContext), AfxBstrToText(bstrUrl));
}
