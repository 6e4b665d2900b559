// The browser site, the one browser factory and the decoding of the
// browser's events.
#include "BrowserSite.h"

#include <exdispid.h>

// ------------------------------------------------------------------ the factory

namespace
{
SRWLOCK g_factoryLock = SRWLOCK_INIT;
AFX_WEBBROWSER_FACTORY* g_pFactory = nullptr;
} // namespace

AFX_WEBBROWSER_FACTORY AFXAPI AfxSetWebBrowserFactory(AFX_WEBBROWSER_FACTORY factory)
{
    AFX_WEBBROWSER_FACTORY previous;
    AFX_WEBBROWSER_FACTORY* pNew = factory ? new AFX_WEBBROWSER_FACTORY(std::move(factory)) : nullptr;
    AcquireSRWLockExclusive(&g_factoryLock);
    AFX_WEBBROWSER_FACTORY* pOld = g_pFactory;
    g_pFactory = pNew;
    ReleaseSRWLockExclusive(&g_factoryLock);
    if (pOld != nullptr) {
        previous = std::move(*pOld);
        delete pOld;
    }
    return previous;
}

HRESULT AFXAPI AfxCreateWebBrowser(IUnknown** ppUnknown)
{
    if (ppUnknown == NULL)
        return E_POINTER;
    *ppUnknown = NULL;
    AFX_WEBBROWSER_FACTORY factory;
    AcquireSRWLockShared(&g_factoryLock);
    if (g_pFactory != nullptr)
        factory = *g_pFactory;
    ReleaseSRWLockShared(&g_factoryLock);
    if (factory)
        return factory(ppUnknown);
    return ::CoCreateInstance(CLSID_WebBrowser, NULL, CLSCTX_INPROC_SERVER, IID_IUnknown, (void**)ppUnknown);
}

// ------------------------------------------------------------------ variants

// A VARIANT the browser passed by reference, followed to its value.
static VARIANT* AfxDerefVariant(VARIANT* pVar)
{
    for (int i = 0; pVar != NULL && i < 4 && V_VT(pVar) == (VT_VARIANT | VT_BYREF); ++i)
        pVar = V_VARIANTREF(pVar);
    return pVar;
}

CString AfxBstrToText(BSTR bstr)
{
    CString str;
    if (bstr == NULL)
        return str;
    int nChars = (int)::SysStringLen(bstr);
    int nBytes = ::WideCharToMultiByte(CP_ACP, 0, bstr, nChars, NULL, 0, NULL, NULL);
    if (nBytes > 0) {
        ::WideCharToMultiByte(CP_ACP, 0, bstr, nChars, str.GetBuffer(nBytes), nBytes, NULL, NULL);
        str.ReleaseBuffer(nBytes);
    }
    return str;
}

CString AFXAPI AfxBrowserVariantText(const VARIANT* pVar)
{
    VARIANT* p = AfxDerefVariant(const_cast<VARIANT*>(pVar));
    if (p == NULL)
        return CString();
    if (V_VT(p) == VT_BSTR)
        return AfxBstrToText(V_BSTR(p));
    if (V_VT(p) == (VT_BSTR | VT_BYREF) && V_BSTRREF(p) != NULL)
        return AfxBstrToText(*V_BSTRREF(p));
    return CString();
}

BSTR AfxAllocBstr(LPCTSTR lpsz)
{
    if (lpsz == NULL)
        return NULL;
    int nLen = lstrlenA(lpsz);
    int nChars = ::MultiByteToWideChar(CP_ACP, 0, lpsz, nLen, NULL, 0);
    BSTR bstr = ::SysAllocStringLen(NULL, (UINT)nChars);
    if (bstr != NULL && nChars > 0)
        ::MultiByteToWideChar(CP_ACP, 0, lpsz, nLen, bstr, nChars);
    return bstr;
}

DWORD AfxBrowserVariantNumber(const VARIANT* pVar)
{
    VARIANT* p = AfxDerefVariant(const_cast<VARIANT*>(pVar));
    if (p == NULL)
        return 0;
    switch (V_VT(p)) {
    case VT_I2: return (DWORD)(LONG)V_I2(p);
    case VT_UI2: return V_UI2(p);
    case VT_I4:
    case VT_UI4:
    case VT_INT:
    case VT_UINT: return (DWORD)V_UI4(p);
    case VT_I4 | VT_BYREF:
    case VT_UI4 | VT_BYREF: return V_UI4REF(p) != NULL ? *V_UI4REF(p) : 0;
    default: return 0;
    }
}

void AfxBrowserVariantBytes(const VARIANT* pVar, CByteArray& bytes)
{
    bytes.RemoveAll();
    VARIANT* p = AfxDerefVariant(const_cast<VARIANT*>(pVar));
    if (p == NULL)
        return;
    SAFEARRAY* psa = NULL;
    if (V_VT(p) == (VT_ARRAY | VT_UI1))
        psa = V_ARRAY(p);
    else if (V_VT(p) == (VT_ARRAY | VT_UI1 | VT_BYREF) && V_ARRAYREF(p) != NULL)
        psa = *V_ARRAYREF(p);
    if (psa == NULL || ::SafeArrayGetDim(psa) != 1 || ::SafeArrayGetElemsize(psa) != 1)
        return;
    LONG nLower = 0, nUpper = -1;
    if (FAILED(::SafeArrayGetLBound(psa, 1, &nLower)) || FAILED(::SafeArrayGetUBound(psa, 1, &nUpper)) ||
        nUpper < nLower)
        return;
    void* pData = NULL;
    if (FAILED(::SafeArrayAccessData(psa, &pData)))
        return;
    INT_PTR nSize = (INT_PTR)nUpper - nLower + 1;
    bytes.SetSize(nSize);
    memcpy(bytes.GetData(), pData, (size_t)nSize);
    ::SafeArrayUnaccessData(psa);
}

HRESULT AfxBrowserNavigate(IWebBrowser2* pBrowser, BOOL bNavigate2, LPCTSTR lpszURL, DWORD dwFlags,
                           LPCTSTR lpszTargetFrameName, LPCTSTR lpszHeaders, LPVOID lpvPostData, DWORD dwPostDataLen)
{
    if (pBrowser == NULL)
        return E_FAIL;
    VARIANT vURL, vFlags, vTarget, vPost, vHeaders;
    ::VariantInit(&vURL);
    ::VariantInit(&vFlags);
    ::VariantInit(&vTarget);
    ::VariantInit(&vPost);
    ::VariantInit(&vHeaders);
    V_VT(&vURL) = VT_BSTR;
    V_BSTR(&vURL) = AfxAllocBstr(lpszURL != NULL ? lpszURL : "");
    V_VT(&vFlags) = VT_I4;
    V_I4(&vFlags) = (LONG)dwFlags;
    if (lpszTargetFrameName != NULL) {
        V_VT(&vTarget) = VT_BSTR;
        V_BSTR(&vTarget) = AfxAllocBstr(lpszTargetFrameName);
    }
    if (lpszHeaders != NULL) {
        V_VT(&vHeaders) = VT_BSTR;
        V_BSTR(&vHeaders) = AfxAllocBstr(lpszHeaders);
    }
    if (lpvPostData != NULL && dwPostDataLen > 0) {
        SAFEARRAY* psa = ::SafeArrayCreateVector(VT_UI1, 0, dwPostDataLen);
        void* pData = NULL;
        if (psa != NULL && SUCCEEDED(::SafeArrayAccessData(psa, &pData))) {
            memcpy(pData, lpvPostData, dwPostDataLen);
            ::SafeArrayUnaccessData(psa);
            V_VT(&vPost) = VT_ARRAY | VT_UI1;
            V_ARRAY(&vPost) = psa;
        } else if (psa != NULL) {
            ::SafeArrayDestroy(psa);
        }
    }
    HRESULT hr = bNavigate2 ? pBrowser->Navigate2(&vURL, &vFlags, &vTarget, &vPost, &vHeaders)
                            : pBrowser->Navigate(V_BSTR(&vURL), &vFlags, &vTarget, &vPost, &vHeaders);
    ::VariantClear(&vURL);
    ::VariantClear(&vTarget);
    ::VariantClear(&vPost);
    ::VariantClear(&vHeaders);
    return hr;
}

BOOL AfxBrowserPreTranslate(CAfxBrowserSite* pSite, HWND hWndHost, MSG* pMsg)
{
    if (pSite == NULL || pMsg->message < WM_KEYFIRST || pMsg->message > WM_KEYLAST)
        return FALSE;
    if (pMsg->hwnd != hWndHost && !::IsChild(hWndHost, pMsg->hwnd))
        return FALSE;
    return pSite->TranslateKey(pMsg);
}

// ------------------------------------------------------------------ the site

CAfxBrowserSite::CAfxBrowserSite(CAfxBrowserHost* pHost, HWND hWnd)
    : m_nRef(1), m_pHost(pHost), m_hWnd(hWnd), m_sink(this), m_pObject(NULL), m_pBrowser(NULL), m_pEvents(NULL),
      m_dwCookie(0)
{}

CAfxBrowserSite::~CAfxBrowserSite() {}

HRESULT CAfxBrowserSite::Open(const RECT& rc)
{
    IUnknown* pUnknown = NULL;
    HRESULT hr = AfxCreateWebBrowser(&pUnknown);
    if (FAILED(hr) || pUnknown == NULL)
        return FAILED(hr) ? hr : E_FAIL;
    hr = pUnknown->QueryInterface(IID_IOleObject, (void**)&m_pObject);
    if (SUCCEEDED(hr))
        hr = pUnknown->QueryInterface(IID_IWebBrowser2, (void**)&m_pBrowser);
    pUnknown->Release();
    if (SUCCEEDED(hr))
        hr = m_pObject->SetClientSite(this);
    if (SUCCEEDED(hr)) {
        // Events are welcome but not required.
        IConnectionPointContainer* pContainer = NULL;
        if (SUCCEEDED(m_pBrowser->QueryInterface(IID_IConnectionPointContainer, (void**)&pContainer))) {
            if (SUCCEEDED(pContainer->FindConnectionPoint(DIID_DWebBrowserEvents2, &m_pEvents)) &&
                FAILED(m_pEvents->Advise(&m_sink, &m_dwCookie))) {
                m_pEvents->Release();
                m_pEvents = NULL;
            }
            pContainer->Release();
        }
        RECT rcPos = rc;
        hr = m_pObject->DoVerb(OLEIVERB_INPLACEACTIVATE, NULL, this, 0, m_hWnd, &rcPos);
    }
    if (FAILED(hr)) {
        CAfxBrowserHost* pHost = m_pHost;
        Close();
        m_pHost = pHost;
    }
    return hr;
}

CAfxBrowserSite* CAfxBrowserSite::OpenIn(CAfxBrowserHost* pHost, HWND hWnd, IWebBrowser2** ppBrowser)
{
    *ppBrowser = NULL;
    CAfxBrowserSite* pSite = new CAfxBrowserSite(pHost, hWnd);
    RECT rc = {0, 0, 0, 0};
    ::GetClientRect(hWnd, &rc);
    if (FAILED(pSite->Open(rc))) {
        pSite->Close();
        pSite->Release();
        return NULL;
    }
    *ppBrowser = pSite->GetBrowser();
    (*ppBrowser)->AddRef();
    return pSite;
}

void CAfxBrowserSite::CloseIn(CAfxBrowserSite*& pSite, IWebBrowser2*& pBrowser)
{
    if (pBrowser != NULL) {
        pBrowser->Release();
        pBrowser = NULL;
    }
    if (pSite != NULL) {
        pSite->Close();
        pSite->Release();
        pSite = NULL;
    }
}

void CAfxBrowserSite::Close()
{
    m_pHost = NULL;
    if (m_pEvents != NULL) {
        m_pEvents->Unadvise(m_dwCookie);
        m_pEvents->Release();
        m_pEvents = NULL;
    }
    if (m_pObject != NULL) {
        IOleInPlaceObject* pInPlace = NULL;
        if (SUCCEEDED(m_pObject->QueryInterface(IID_IOleInPlaceObject, (void**)&pInPlace))) {
            pInPlace->InPlaceDeactivate();
            pInPlace->Release();
        }
        m_pObject->Close(OLECLOSE_NOSAVE);
        m_pObject->SetClientSite(NULL);
        m_pObject->Release();
        m_pObject = NULL;
    }
    if (m_pBrowser != NULL) {
        m_pBrowser->Release();
        m_pBrowser = NULL;
    }
}

void CAfxBrowserSite::Move(const RECT& rc)
{
    if (m_pObject == NULL)
        return;
    IOleInPlaceObject* pInPlace = NULL;
    if (SUCCEEDED(m_pObject->QueryInterface(IID_IOleInPlaceObject, (void**)&pInPlace))) {
        pInPlace->SetObjectRects(&rc, &rc);
        pInPlace->Release();
    }
}

BOOL CAfxBrowserSite::TranslateKey(MSG* pMsg)
{
    if (m_pBrowser == NULL)
        return FALSE;
    IOleInPlaceActiveObject* pActive = NULL;
    if (FAILED(m_pBrowser->QueryInterface(IID_IOleInPlaceActiveObject, (void**)&pActive)))
        return FALSE;
    BOOL bUsed = pActive->TranslateAccelerator(pMsg) == S_OK;
    pActive->Release();
    return bUsed;
}

STDMETHODIMP CAfxBrowserSite::QueryInterface(REFIID riid, void** ppv)
{
    if (ppv == NULL)
        return E_POINTER;
    *ppv = NULL;
    if (riid == IID_IUnknown || riid == IID_IOleClientSite)
        *ppv = static_cast<IOleClientSite*>(this);
    else if (riid == IID_IOleWindow || riid == IID_IOleInPlaceSite)
        *ppv = static_cast<IOleInPlaceSite*>(this);
    else if (riid == IID_IOleInPlaceUIWindow || riid == IID_IOleInPlaceFrame)
        *ppv = static_cast<IOleInPlaceFrame*>(this);
    else if (riid == IID_IDocHostUIHandler)
        *ppv = static_cast<IDocHostUIHandler*>(this);
    else
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) CAfxBrowserSite::AddRef()
{
    return (ULONG)::InterlockedIncrement(&m_nRef);
}

STDMETHODIMP_(ULONG) CAfxBrowserSite::Release()
{
    LONG n = ::InterlockedDecrement(&m_nRef);
    if (n == 0)
        delete this;
    return (ULONG)n;
}

STDMETHODIMP CAfxBrowserSite::GetMoniker(DWORD, DWORD, IMoniker** ppmk)
{
    if (ppmk != NULL)
        *ppmk = NULL;
    return E_NOTIMPL;
}

STDMETHODIMP CAfxBrowserSite::GetContainer(IOleContainer** ppContainer)
{
    if (ppContainer != NULL)
        *ppContainer = NULL;
    return E_NOINTERFACE;
}

STDMETHODIMP CAfxBrowserSite::GetWindow(HWND* phwnd)
{
    if (phwnd == NULL)
        return E_POINTER;
    *phwnd = m_hWnd;
    return S_OK;
}

STDMETHODIMP CAfxBrowserSite::GetWindowContext(IOleInPlaceFrame** ppFrame, IOleInPlaceUIWindow** ppDoc,
                                               LPRECT lprcPosRect, LPRECT lprcClipRect,
                                               LPOLEINPLACEFRAMEINFO lpFrameInfo)
{
    if (ppFrame != NULL) {
        *ppFrame = this;
        AddRef();
    }
    if (ppDoc != NULL)
        *ppDoc = NULL;
    RECT rc = {0, 0, 0, 0};
    ::GetClientRect(m_hWnd, &rc);
    if (lprcPosRect != NULL)
        *lprcPosRect = rc;
    if (lprcClipRect != NULL)
        *lprcClipRect = rc;
    if (lpFrameInfo != NULL) {
        lpFrameInfo->fMDIApp = FALSE;
        lpFrameInfo->hwndFrame = ::GetAncestor(m_hWnd, GA_ROOT);
        lpFrameInfo->haccel = NULL;
        lpFrameInfo->cAccelEntries = 0;
    }
    return S_OK;
}

STDMETHODIMP CAfxBrowserSite::OnPosRectChange(LPCRECT lprcPosRect)
{
    if (lprcPosRect != NULL)
        Move(*lprcPosRect);
    return S_OK;
}

STDMETHODIMP CAfxBrowserSite::ShowContextMenu(DWORD dwID, POINT* ppt, IUnknown* pcmdtReserved, IDispatch* pdispReserved)
{
    return m_pHost != NULL ? m_pHost->HostShowContextMenu(dwID, ppt, pcmdtReserved, pdispReserved) : S_FALSE;
}

STDMETHODIMP CAfxBrowserSite::GetHostInfo(DOCHOSTUIINFO* pInfo)
{
    if (pInfo == NULL)
        return E_POINTER;
    // Only the fields every version of the record has; cbSize is the caller's.
    pInfo->dwFlags = 0;
    pInfo->dwDoubleClick = DOCHOSTUIDBLCLK_DEFAULT;
    return m_pHost != NULL ? m_pHost->HostGetHostInfo(pInfo) : E_NOTIMPL;
}

STDMETHODIMP CAfxBrowserSite::TranslateAccelerator(LPMSG lpMsg, const GUID* pguidCmdGroup, DWORD nCmdID)
{
    return m_pHost != NULL ? m_pHost->HostTranslateAccelerator(lpMsg, pguidCmdGroup, nCmdID) : S_FALSE;
}

STDMETHODIMP CAfxBrowserSite::GetOptionKeyPath(LPOLESTR* pchKey, DWORD)
{
    if (pchKey != NULL)
        *pchKey = NULL;
    return E_NOTIMPL;
}

STDMETHODIMP CAfxBrowserSite::GetDropTarget(IDropTarget*, IDropTarget** ppDropTarget)
{
    if (ppDropTarget != NULL)
        *ppDropTarget = NULL;
    return E_NOTIMPL;
}

STDMETHODIMP CAfxBrowserSite::GetExternal(IDispatch** ppDispatch)
{
    if (ppDispatch == NULL)
        return E_POINTER;
    *ppDispatch = NULL;
    return m_pHost != NULL ? m_pHost->HostGetExternal(ppDispatch) : E_NOTIMPL;
}

STDMETHODIMP CAfxBrowserSite::TranslateUrl(DWORD, LPWSTR, LPWSTR* ppchURLOut)
{
    if (ppchURLOut != NULL)
        *ppchURLOut = NULL;
    return S_FALSE;
}

STDMETHODIMP CAfxBrowserSite::FilterDataObject(IDataObject*, IDataObject** ppDORet)
{
    if (ppDORet != NULL)
        *ppDORet = NULL;
    return S_FALSE;
}

// ------------------------------------------------------------------ events

STDMETHODIMP CAfxBrowserSite::CSink::QueryInterface(REFIID riid, void** ppv)
{
    if (ppv == NULL)
        return E_POINTER;
    *ppv = NULL;
    if (riid != IID_IUnknown && riid != IID_IDispatch && riid != DIID_DWebBrowserEvents2)
        return E_NOINTERFACE;
    *ppv = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP CAfxBrowserSite::CSink::GetTypeInfoCount(UINT* pctinfo)
{
    if (pctinfo != NULL)
        *pctinfo = 0;
    return S_OK;
}

STDMETHODIMP CAfxBrowserSite::CSink::Invoke(DISPID dispid, REFIID, LCID, WORD, DISPPARAMS* pParams, VARIANT*,
                                            EXCEPINFO*, UINT*)
{
    if (pParams == NULL || (pParams->cArgs > 0 && pParams->rgvarg == NULL))
        return E_INVALIDARG;
    m_pSite->AddRef(); // a handler may close the window and with it the site
    m_pSite->OnEvent(dispid, pParams);
    m_pSite->Release();
    return S_OK;
}

namespace
{
// The browser's arguments, first to last (they arrive last first), each
// checked for the type it must have before it is used.
class CEventArgs
{
public:
    CEventArgs(DISPPARAMS* pParams, UINT nExpected) : m_pParams(pParams), m_bValid(pParams->cArgs == nExpected) {}
    BOOL IsValid() const { return m_bValid; }

    VARIANT* Raw(UINT i) const { return &m_pParams->rgvarg[m_pParams->cArgs - 1 - i]; }
    IDispatch* Dispatch(UINT i) const
    {
        VARIANT* p = AfxDerefVariant(Raw(i));
        return V_VT(p) == VT_DISPATCH ? V_DISPATCH(p) : NULL;
    }
    IDispatch** DispatchRef(UINT i) const
    {
        VARIANT* p = Raw(i);
        return V_VT(p) == (VT_DISPATCH | VT_BYREF) ? V_DISPATCHREF(p) : NULL;
    }
    // The value a by-reference argument refers to.
    VARIANT* Value(UINT i) const { return AfxDerefVariant(Raw(i)); }
    VARIANT_BOOL* BoolRef(UINT i) const
    {
        VARIANT* p = Raw(i);
        return V_VT(p) == (VT_BOOL | VT_BYREF) ? V_BOOLREF(p) : NULL;
    }
    BSTR Bstr(UINT i) const
    {
        VARIANT* p = AfxDerefVariant(Raw(i));
        return V_VT(p) == VT_BSTR ? V_BSTR(p) : NULL;
    }
    DWORD Number(UINT i) const { return AfxBrowserVariantNumber(Raw(i)); }

private:
    DISPPARAMS* m_pParams;
    BOOL m_bValid;
};

// A cancel flag the handler sees as BOOL and the browser gets back.
class CCancelArg
{
public:
    explicit CCancelArg(VARIANT_BOOL* pvb) : m_pvb(pvb), m_bCancel(pvb != NULL && *pvb != VARIANT_FALSE) {}
    ~CCancelArg()
    {
        if (m_pvb != NULL)
            *m_pvb = m_bCancel ? VARIANT_TRUE : VARIANT_FALSE;
    }
    BOOL* Get() { return &m_bCancel; }

private:
    VARIANT_BOOL* m_pvb;
    BOOL m_bCancel;
};
} // namespace

void CAfxBrowserSite::OnEvent(DISPID dispid, DISPPARAMS* pParams)
{
    if (m_pHost == NULL)
        return;
    switch (dispid) {
    case DISPID_BEFORENAVIGATE2: {
        CEventArgs args(pParams, 7);
        if (!args.IsValid())
            break;
        CCancelArg cancel(args.BoolRef(6));
        m_pHost->HostBeforeNavigate2(args.Dispatch(0), args.Value(1), args.Value(2), args.Value(3), args.Value(4),
                                     args.Value(5), cancel.Get());
        break;
    }
    case DISPID_NAVIGATECOMPLETE2: {
        CEventArgs args(pParams, 2);
        if (args.IsValid())
            m_pHost->HostNavigateComplete2(args.Dispatch(0), args.Value(1));
        break;
    }
    case DISPID_DOCUMENTCOMPLETE: {
        CEventArgs args(pParams, 2);
        if (args.IsValid())
            m_pHost->HostDocumentComplete(args.Dispatch(0), args.Value(1));
        break;
    }
    case DISPID_NAVIGATEERROR: {
        CEventArgs args(pParams, 5);
        if (!args.IsValid())
            break;
        CCancelArg cancel(args.BoolRef(4));
        m_pHost->HostNavigateError(args.Dispatch(0), args.Value(1), args.Value(2), args.Value(3), cancel.Get());
        break;
    }
    case DISPID_TITLECHANGE: {
        CEventArgs args(pParams, 1);
        if (args.IsValid())
            m_pHost->HostTitleChange(args.Bstr(0));
        break;
    }
    case DISPID_NEWWINDOW2: {
        CEventArgs args(pParams, 2);
        if (!args.IsValid() || args.DispatchRef(0) == NULL)
            break;
        CCancelArg cancel(args.BoolRef(1));
        m_pHost->HostNewWindow2(args.DispatchRef(0), cancel.Get());
        break;
    }
    case DISPID_NEWWINDOW3: {
        CEventArgs args(pParams, 5);
        if (!args.IsValid() || args.DispatchRef(0) == NULL)
            break;
        CCancelArg cancel(args.BoolRef(1));
        m_pHost->HostNewWindow3(args.DispatchRef(0), cancel.Get(), args.Number(2), args.Bstr(3), args.Bstr(4));
        break;
    }
    default: break;
    }
}
