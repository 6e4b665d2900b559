// A scripted stand-in for the system's WebBrowser object, made by the class
// library's browser factory while a CScriptedBrowserFactory lives.
//
// It records what the host asks of it (navigations, back, forward, refresh,
// stop, silent, its in-place rectangle) and raises the browser's events
// (before-navigate with cancel, navigate and document complete, navigate
// error, title change, new window) and the calls a page makes to its host
// (host information, context menu, keys, window.external).
//
//   CScriptedBrowserFactory factory;
//   view.Create(NULL, NULL, WS_VISIBLE, rc, &parent, 1);
//   CScriptedBrowser* pBrowser = factory.Last();
//   view.Navigate("http://x/");   // raises before-navigate, then completes
//   pBrowser->RaiseTitleChange(L"width=300&height=200");
#pragma once

#include <afxtest.h>

#include <exdisp.h>
#include <exdispid.h>
#include <mshtmhst.h>

#include <string>
#include <vector>

class CScriptedBrowser final : public IWebBrowser2,
                               public IOleObject,
                               public IOleInPlaceObject,
                               public IConnectionPointContainer
{
public:
    struct Navigation
    {
        std::wstring strURL;
        long nFlags = 0;
        std::wstring strTarget;
        std::wstring strHeaders;
        std::vector<BYTE> postData;
        bool bCancelled = false;
    };

    // Navigate and Navigate2 raise before-navigate; unless cancelled, and
    // while bAutoComplete holds, they then complete: the location becomes
    // the URL and navigate complete and document complete follow.
    bool m_bAutoComplete = true;
    std::vector<Navigation> m_navigations;
    int m_nBack = 0, m_nForward = 0, m_nHome = 0, m_nRefresh = 0, m_nStop = 0;
    VARIANT_BOOL m_bSilent = VARIANT_FALSE;
    std::wstring m_strLocation;
    IDispatch* m_pDocument = nullptr; // what get_Document answers (not owned)
    IOleClientSite* m_pSite = nullptr;
    HWND m_hWndParent = nullptr; // the window it was placed in
    RECT m_rcPos = {0, 0, 0, 0};
    bool m_bInPlace = false;
    bool m_bClosed = false;

    // ---- events

    // Answers whether the host cancelled.
    bool RaiseBeforeNavigate2(const std::wstring& strURL, long nFlags = 0, const std::wstring& strTarget = L"",
                              const std::vector<BYTE>& postData = {}, const std::wstring& strHeaders = L"")
    {
        VARIANT vURL = Str(strURL), vFlags, vTarget = Str(strTarget), vPost, vHeaders = Str(strHeaders);
        ::VariantInit(&vFlags);
        V_VT(&vFlags) = VT_I4;
        V_I4(&vFlags) = nFlags;
        ::VariantInit(&vPost);
        if (!postData.empty()) {
            SAFEARRAY* psa = ::SafeArrayCreateVector(VT_UI1, 0, (ULONG)postData.size());
            void* p = nullptr;
            ::SafeArrayAccessData(psa, &p);
            memcpy(p, postData.data(), postData.size());
            ::SafeArrayUnaccessData(psa);
            V_VT(&vPost) = VT_ARRAY | VT_UI1;
            V_ARRAY(&vPost) = psa;
        }
        VARIANT_BOOL bCancel = VARIANT_FALSE;
        VARIANT args[7];
        args[6] = Disp(static_cast<IWebBrowser2*>(this));
        args[5] = Ref(&vURL);
        args[4] = Ref(&vFlags);
        args[3] = Ref(&vTarget);
        args[2] = Ref(&vPost);
        args[1] = Ref(&vHeaders);
        args[0] = BoolRef(&bCancel);
        Fire(DISPID_BEFORENAVIGATE2, args, 7);
        ::VariantClear(&vURL);
        ::VariantClear(&vTarget);
        ::VariantClear(&vPost);
        ::VariantClear(&vHeaders);
        return bCancel != VARIANT_FALSE;
    }
    void RaiseNavigateComplete2(const std::wstring& strURL) { RaiseUrlEvent(DISPID_NAVIGATECOMPLETE2, strURL); }
    void RaiseDocumentComplete(const std::wstring& strURL) { RaiseUrlEvent(DISPID_DOCUMENTCOMPLETE, strURL); }
    // Answers whether the host cancelled (kept its own error page away).
    bool RaiseNavigateError(const std::wstring& strURL, long nStatus, const std::wstring& strFrame = L"")
    {
        VARIANT vURL = Str(strURL), vFrame = Str(strFrame), vStatus;
        ::VariantInit(&vStatus);
        V_VT(&vStatus) = VT_I4;
        V_I4(&vStatus) = nStatus;
        VARIANT_BOOL bCancel = VARIANT_FALSE;
        VARIANT args[5];
        args[4] = Disp(static_cast<IWebBrowser2*>(this));
        args[3] = Ref(&vURL);
        args[2] = Ref(&vFrame);
        args[1] = Ref(&vStatus);
        args[0] = BoolRef(&bCancel);
        Fire(DISPID_NAVIGATEERROR, args, 5);
        ::VariantClear(&vURL);
        ::VariantClear(&vFrame);
        return bCancel != VARIANT_FALSE;
    }
    void RaiseTitleChange(const std::wstring& strTitle)
    {
        VARIANT args[1] = {Str(strTitle)};
        Fire(DISPID_TITLECHANGE, args, 1);
        ::VariantClear(&args[0]);
    }
    // The host may put a browser for the new window into *ppDisp (AddRef'd;
    // released here) and may cancel.
    bool RaiseNewWindow2(IDispatch** ppDisp)
    {
        VARIANT_BOOL bCancel = VARIANT_FALSE;
        VARIANT args[2];
        ::VariantInit(&args[1]);
        V_VT(&args[1]) = VT_DISPATCH | VT_BYREF;
        V_DISPATCHREF(&args[1]) = ppDisp;
        args[0] = BoolRef(&bCancel);
        Fire(DISPID_NEWWINDOW2, args, 2);
        return bCancel != VARIANT_FALSE;
    }
    bool RaiseNewWindow3(IDispatch** ppDisp, DWORD dwFlags, const std::wstring& strContext, const std::wstring& strURL)
    {
        VARIANT_BOOL bCancel = VARIANT_FALSE;
        VARIANT args[5];
        ::VariantInit(&args[4]);
        V_VT(&args[4]) = VT_DISPATCH | VT_BYREF;
        V_DISPATCHREF(&args[4]) = ppDisp;
        args[3] = BoolRef(&bCancel);
        ::VariantInit(&args[2]);
        V_VT(&args[2]) = VT_UI4;
        V_UI4(&args[2]) = dwFlags;
        args[1] = Str(strContext);
        args[0] = Str(strURL);
        Fire(DISPID_NEWWINDOW3, args, 5);
        ::VariantClear(&args[1]);
        ::VariantClear(&args[0]);
        return bCancel != VARIANT_FALSE;
    }

    // ---- what a page asks of its host

    HRESULT AskHostInfo(DOCHOSTUIINFO& info)
    {
        memset(&info, 0, sizeof(info));
        info.cbSize = sizeof(info);
        info.dwFlags = 0xDEAD; // the host must set its own
        IDocHostUIHandler* p = Handler();
        if (p == nullptr)
            return E_NOINTERFACE;
        HRESULT hr = p->GetHostInfo(&info);
        p->Release();
        return hr;
    }
    HRESULT AskContextMenu(DWORD dwID, POINT pt)
    {
        IDocHostUIHandler* p = Handler();
        if (p == nullptr)
            return E_NOINTERFACE;
        HRESULT hr = p->ShowContextMenu(dwID, &pt, nullptr, nullptr);
        p->Release();
        return hr;
    }
    HRESULT AskAccelerator(UINT message, WPARAM wParam)
    {
        IDocHostUIHandler* p = Handler();
        if (p == nullptr)
            return E_NOINTERFACE;
        MSG msg = {};
        msg.hwnd = m_hWndParent;
        msg.message = message;
        msg.wParam = wParam;
        HRESULT hr = p->TranslateAccelerator(&msg, nullptr, 0);
        p->Release();
        return hr;
    }
    // window.external.<name>(args...) as script calls it: the host's
    // external object by name, then invoked. Arguments first to last.
    HRESULT CallExternal(const std::wstring& strName, std::vector<VARIANT> args, VARIANT* pResult = nullptr)
    {
        IDocHostUIHandler* p = Handler();
        if (p == nullptr)
            return E_NOINTERFACE;
        IDispatch* pExternal = nullptr;
        HRESULT hr = p->GetExternal(&pExternal);
        p->Release();
        if (FAILED(hr) || pExternal == nullptr)
            return FAILED(hr) ? hr : E_FAIL;
        DISPID dispid = DISPID_UNKNOWN;
        LPOLESTR pszName = const_cast<LPOLESTR>(strName.c_str());
        hr = pExternal->GetIDsOfNames(IID_NULL, &pszName, 1, LOCALE_USER_DEFAULT, &dispid);
        if (SUCCEEDED(hr)) {
            std::vector<VARIANT> reversed(args.rbegin(), args.rend());
            DISPPARAMS params = {reversed.empty() ? nullptr : reversed.data(), nullptr, (UINT)reversed.size(), 0};
            hr = pExternal->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, pResult, nullptr,
                                   nullptr);
        }
        pExternal->Release();
        return hr;
    }

    // ---- IUnknown
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        if (ppv == nullptr)
            return E_POINTER;
        *ppv = nullptr;
        if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_IWebBrowser || riid == IID_IWebBrowserApp ||
            riid == IID_IWebBrowser2)
            *ppv = static_cast<IWebBrowser2*>(this);
        else if (riid == IID_IOleObject)
            *ppv = static_cast<IOleObject*>(this);
        else if (riid == IID_IOleWindow || riid == IID_IOleInPlaceObject)
            *ppv = static_cast<IOleInPlaceObject*>(this);
        else if (riid == IID_IConnectionPointContainer)
            *ppv = static_cast<IConnectionPointContainer*>(this);
        else
            return E_NOINTERFACE;
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
    LONG RefCount() const { return m_nRef; }

    // ---- IOleObject
    STDMETHODIMP SetClientSite(IOleClientSite* pSite) override
    {
        if (pSite != nullptr)
            pSite->AddRef();
        if (m_pSite != nullptr)
            m_pSite->Release();
        m_pSite = pSite;
        return S_OK;
    }
    STDMETHODIMP GetClientSite(IOleClientSite** ppSite) override
    {
        *ppSite = m_pSite;
        if (m_pSite != nullptr)
            m_pSite->AddRef();
        return S_OK;
    }
    STDMETHODIMP SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
    STDMETHODIMP Close(DWORD) override
    {
        m_bClosed = true;
        return S_OK;
    }
    STDMETHODIMP SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
    STDMETHODIMP InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP GetClipboardData(DWORD, IDataObject**) override { return E_NOTIMPL; }
    STDMETHODIMP DoVerb(LONG iVerb, LPMSG, IOleClientSite*, LONG, HWND hwndParent, LPCRECT lprcPosRect) override
    {
        if (iVerb != OLEIVERB_INPLACEACTIVATE && iVerb != OLEIVERB_SHOW)
            return E_NOTIMPL;
        m_hWndParent = hwndParent;
        if (lprcPosRect != nullptr)
            m_rcPos = *lprcPosRect;
        m_bInPlace = true;
        return S_OK;
    }
    STDMETHODIMP EnumVerbs(IEnumOLEVERB**) override { return E_NOTIMPL; }
    STDMETHODIMP Update() override { return S_OK; }
    STDMETHODIMP IsUpToDate() override { return S_OK; }
    STDMETHODIMP GetUserClassID(CLSID* pClsid) override
    {
        *pClsid = CLSID_WebBrowser;
        return S_OK;
    }
    STDMETHODIMP GetUserType(DWORD, LPOLESTR*) override { return E_NOTIMPL; }
    STDMETHODIMP SetExtent(DWORD, SIZEL*) override { return E_NOTIMPL; }
    STDMETHODIMP GetExtent(DWORD, SIZEL*) override { return E_NOTIMPL; }
    STDMETHODIMP Advise(IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP Unadvise(DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP EnumAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }
    STDMETHODIMP GetMiscStatus(DWORD, DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

    // ---- IOleInPlaceObject
    STDMETHODIMP GetWindow(HWND* phwnd) override
    {
        *phwnd = m_hWndParent;
        return S_OK;
    }
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP InPlaceDeactivate() override
    {
        m_bInPlace = false;
        return S_OK;
    }
    STDMETHODIMP UIDeactivate() override { return S_OK; }
    STDMETHODIMP SetObjectRects(LPCRECT lprcPosRect, LPCRECT) override
    {
        m_rcPos = *lprcPosRect;
        return S_OK;
    }
    STDMETHODIMP ReactivateAndUndo() override { return E_NOTIMPL; }

    // ---- IConnectionPointContainer
    STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints**) override { return E_NOTIMPL; }
    STDMETHODIMP FindConnectionPoint(REFIID riid, IConnectionPoint** ppCP) override
    {
        *ppCP = nullptr;
        if (riid != DIID_DWebBrowserEvents2)
            return CONNECT_E_NOCONNECTION;
        *ppCP = &m_point;
        AddRef();
        return S_OK;
    }
    IDispatch* Sink() const { return m_point.m_pSink; }

    // ---- IDispatch
    STDMETHODIMP GetTypeInfoCount(UINT* pctinfo) override
    {
        *pctinfo = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return E_NOTIMPL;
    }

    // ---- IWebBrowser
    STDMETHODIMP GoBack() override { return ++m_nBack, S_OK; }
    STDMETHODIMP GoForward() override { return ++m_nForward, S_OK; }
    STDMETHODIMP GoHome() override { return ++m_nHome, S_OK; }
    STDMETHODIMP GoSearch() override { return E_NOTIMPL; }
    STDMETHODIMP Navigate(BSTR URL, VARIANT* Flags, VARIANT* TargetFrameName, VARIANT* PostData,
                          VARIANT* Headers) override
    {
        VARIANT vURL;
        ::VariantInit(&vURL);
        V_VT(&vURL) = VT_BSTR;
        V_BSTR(&vURL) = URL;
        return Navigate2(&vURL, Flags, TargetFrameName, PostData, Headers);
    }
    STDMETHODIMP Refresh() override { return ++m_nRefresh, S_OK; }
    STDMETHODIMP Refresh2(VARIANT*) override { return ++m_nRefresh, S_OK; }
    STDMETHODIMP Stop() override { return ++m_nStop, S_OK; }
    STDMETHODIMP get_Application(IDispatch** ppDisp) override { return Self(ppDisp); }
    STDMETHODIMP get_Parent(IDispatch** ppDisp) override { return Self(ppDisp); }
    STDMETHODIMP get_Container(IDispatch** ppDisp) override
    {
        *ppDisp = nullptr;
        return S_OK;
    }
    STDMETHODIMP get_Document(IDispatch** ppDisp) override
    {
        *ppDisp = m_pDocument;
        if (m_pDocument == nullptr)
            return S_FALSE;
        m_pDocument->AddRef();
        return S_OK;
    }
    STDMETHODIMP get_TopLevelContainer(VARIANT_BOOL* pBool) override { return Bool(pBool, VARIANT_TRUE); }
    STDMETHODIMP get_Type(BSTR* Type) override { return Text(Type, L"HTML Document"); }
    STDMETHODIMP get_Left(LONG* pl) override { return *pl = m_rcPos.left, S_OK; }
    STDMETHODIMP put_Left(LONG) override { return S_OK; }
    STDMETHODIMP get_Top(LONG* pl) override { return *pl = m_rcPos.top, S_OK; }
    STDMETHODIMP put_Top(LONG) override { return S_OK; }
    STDMETHODIMP get_Width(LONG* pl) override { return *pl = m_rcPos.right - m_rcPos.left, S_OK; }
    STDMETHODIMP put_Width(LONG) override { return S_OK; }
    STDMETHODIMP get_Height(LONG* pl) override { return *pl = m_rcPos.bottom - m_rcPos.top, S_OK; }
    STDMETHODIMP put_Height(LONG) override { return S_OK; }
    STDMETHODIMP get_LocationName(BSTR* LocationName) override { return Text(LocationName, m_strLocation); }
    STDMETHODIMP get_LocationURL(BSTR* LocationURL) override { return Text(LocationURL, m_strLocation); }
    STDMETHODIMP get_Busy(VARIANT_BOOL* pBool) override { return Bool(pBool, VARIANT_FALSE); }

    // ---- IWebBrowserApp
    STDMETHODIMP Quit() override { return E_NOTIMPL; }
    STDMETHODIMP ClientToWindow(int*, int*) override { return E_NOTIMPL; }
    STDMETHODIMP PutProperty(BSTR, VARIANT) override { return E_NOTIMPL; }
    STDMETHODIMP GetProperty(BSTR, VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP get_Name(BSTR* Name) override { return Text(Name, L"Scripted browser"); }
    STDMETHODIMP get_HWND(SHANDLE_PTR* pHWND) override { return *pHWND = 0, E_FAIL; }
    STDMETHODIMP get_FullName(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP get_Path(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP get_Visible(VARIANT_BOOL* pBool) override { return Bool(pBool, VARIANT_TRUE); }
    STDMETHODIMP put_Visible(VARIANT_BOOL) override { return S_OK; }
    STDMETHODIMP get_StatusBar(VARIANT_BOOL* pBool) override { return Bool(pBool, VARIANT_FALSE); }
    STDMETHODIMP put_StatusBar(VARIANT_BOOL) override { return S_OK; }
    STDMETHODIMP get_StatusText(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP put_StatusText(BSTR) override { return S_OK; }
    STDMETHODIMP get_ToolBar(int* Value) override { return *Value = 0, S_OK; }
    STDMETHODIMP put_ToolBar(int) override { return S_OK; }
    STDMETHODIMP get_MenuBar(VARIANT_BOOL* pBool) override { return Bool(pBool, VARIANT_FALSE); }
    STDMETHODIMP put_MenuBar(VARIANT_BOOL) override { return S_OK; }
    STDMETHODIMP get_FullScreen(VARIANT_BOOL* pBool) override { return Bool(pBool, VARIANT_FALSE); }
    STDMETHODIMP put_FullScreen(VARIANT_BOOL) override { return S_OK; }

    // ---- IWebBrowser2
    STDMETHODIMP Navigate2(VARIANT* URL, VARIANT* Flags, VARIANT* TargetFrameName, VARIANT* PostData,
                           VARIANT* Headers) override
    {
        Navigation nav;
        nav.strURL = TextOf(URL);
        if (Flags != nullptr && V_VT(Flags) == VT_I4)
            nav.nFlags = V_I4(Flags);
        nav.strTarget = TextOf(TargetFrameName);
        nav.strHeaders = TextOf(Headers);
        if (PostData != nullptr && V_VT(PostData) == (VT_ARRAY | VT_UI1)) {
            SAFEARRAY* psa = V_ARRAY(PostData);
            void* p = nullptr;
            LONG lo = 0, hi = -1;
            ::SafeArrayGetLBound(psa, 1, &lo);
            ::SafeArrayGetUBound(psa, 1, &hi);
            if (hi >= lo && SUCCEEDED(::SafeArrayAccessData(psa, &p))) {
                nav.postData.assign((BYTE*)p, (BYTE*)p + (hi - lo + 1));
                ::SafeArrayUnaccessData(psa);
            }
        }
        nav.bCancelled = RaiseBeforeNavigate2(nav.strURL, nav.nFlags, nav.strTarget, nav.postData, nav.strHeaders);
        m_navigations.push_back(nav);
        if (!nav.bCancelled && m_bAutoComplete) {
            m_strLocation = nav.strURL;
            RaiseNavigateComplete2(nav.strURL);
            RaiseDocumentComplete(nav.strURL);
        }
        return S_OK;
    }
    STDMETHODIMP QueryStatusWB(OLECMDID, OLECMDF*) override { return E_NOTIMPL; }
    STDMETHODIMP ExecWB(OLECMDID, OLECMDEXECOPT, VARIANT*, VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP ShowBrowserBar(VARIANT*, VARIANT*, VARIANT*) override { return E_NOTIMPL; }
    STDMETHODIMP get_ReadyState(READYSTATE* plReadyState) override
    {
        *plReadyState = m_strLocation.empty() ? READYSTATE_UNINITIALIZED : READYSTATE_COMPLETE;
        return S_OK;
    }
    STDMETHODIMP get_Offline(VARIANT_BOOL* pbOffline) override { return Bool(pbOffline, VARIANT_FALSE); }
    STDMETHODIMP put_Offline(VARIANT_BOOL) override { return S_OK; }
    STDMETHODIMP get_Silent(VARIANT_BOOL* pbSilent) override { return Bool(pbSilent, m_bSilent); }
    STDMETHODIMP put_Silent(VARIANT_BOOL bSilent) override
    {
        m_bSilent = bSilent;
        return S_OK;
    }
    STDMETHODIMP get_RegisterAsBrowser(VARIANT_BOOL* pbRegister) override { return Bool(pbRegister, VARIANT_FALSE); }
    STDMETHODIMP put_RegisterAsBrowser(VARIANT_BOOL) override { return S_OK; }
    STDMETHODIMP get_RegisterAsDropTarget(VARIANT_BOOL* pbRegister) override { return Bool(pbRegister, VARIANT_FALSE); }
    STDMETHODIMP put_RegisterAsDropTarget(VARIANT_BOOL) override { return S_OK; }
    STDMETHODIMP get_TheaterMode(VARIANT_BOOL* pbRegister) override { return Bool(pbRegister, VARIANT_FALSE); }
    STDMETHODIMP put_TheaterMode(VARIANT_BOOL) override { return S_OK; }
    STDMETHODIMP get_AddressBar(VARIANT_BOOL* Value) override { return Bool(Value, VARIANT_FALSE); }
    STDMETHODIMP put_AddressBar(VARIANT_BOOL) override { return S_OK; }
    STDMETHODIMP get_Resizable(VARIANT_BOOL* Value) override { return Bool(Value, VARIANT_FALSE); }
    STDMETHODIMP put_Resizable(VARIANT_BOOL) override { return S_OK; }

private:
    ~CScriptedBrowser()
    {
        if (m_pSite != nullptr)
            m_pSite->Release();
        if (m_point.m_pSink != nullptr)
            m_point.m_pSink->Release();
    }

    // The event connection: one sink at a time, as the host connects one.
    class CEventPoint : public IConnectionPoint
    {
    public:
        CScriptedBrowser* m_pOwner = nullptr;
        IDispatch* m_pSink = nullptr;
        STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
        {
            *ppv = nullptr;
            if (riid != IID_IUnknown && riid != IID_IConnectionPoint)
                return E_NOINTERFACE;
            *ppv = this;
            AddRef();
            return S_OK;
        }
        STDMETHODIMP_(ULONG) AddRef() override { return m_pOwner->AddRef(); }
        STDMETHODIMP_(ULONG) Release() override { return m_pOwner->Release(); }
        STDMETHODIMP GetConnectionInterface(IID* pIID) override
        {
            *pIID = DIID_DWebBrowserEvents2;
            return S_OK;
        }
        STDMETHODIMP GetConnectionPointContainer(IConnectionPointContainer** ppCPC) override
        {
            return m_pOwner->QueryInterface(IID_IConnectionPointContainer, (void**)ppCPC);
        }
        STDMETHODIMP Advise(IUnknown* pUnkSink, DWORD* pdwCookie) override
        {
            if (m_pSink != nullptr)
                return CONNECT_E_ADVISELIMIT;
            HRESULT hr = pUnkSink->QueryInterface(IID_IDispatch, (void**)&m_pSink);
            if (SUCCEEDED(hr))
                *pdwCookie = 1;
            return hr;
        }
        STDMETHODIMP Unadvise(DWORD dwCookie) override
        {
            if (dwCookie != 1 || m_pSink == nullptr)
                return CONNECT_E_NOCONNECTION;
            IDispatch* p = m_pSink;
            m_pSink = nullptr;
            p->Release();
            return S_OK;
        }
        STDMETHODIMP EnumConnections(IEnumConnections**) override { return E_NOTIMPL; }
    };

public:
    CScriptedBrowser() { m_point.m_pOwner = this; }

private:
    void Fire(DISPID dispid, VARIANT* args, UINT nArgs)
    {
        if (m_point.m_pSink == nullptr)
            return;
        IDispatch* pSink = m_point.m_pSink;
        pSink->AddRef();
        DISPPARAMS params = {args, nullptr, nArgs, 0};
        pSink->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
        pSink->Release();
    }
    void RaiseUrlEvent(DISPID dispid, const std::wstring& strURL)
    {
        VARIANT vURL = Str(strURL);
        VARIANT args[2];
        args[1] = Disp(static_cast<IWebBrowser2*>(this));
        args[0] = Ref(&vURL);
        Fire(dispid, args, 2);
        ::VariantClear(&vURL);
    }
    IDocHostUIHandler* Handler()
    {
        IDocHostUIHandler* p = nullptr;
        if (m_pSite != nullptr)
            m_pSite->QueryInterface(IID_IDocHostUIHandler, (void**)&p);
        return p;
    }
    static VARIANT Str(const std::wstring& str)
    {
        VARIANT v;
        ::VariantInit(&v);
        V_VT(&v) = VT_BSTR;
        V_BSTR(&v) = ::SysAllocStringLen(str.data(), (UINT)str.size());
        return v;
    }
    static VARIANT Ref(VARIANT* p)
    {
        VARIANT v;
        ::VariantInit(&v);
        V_VT(&v) = VT_VARIANT | VT_BYREF;
        V_VARIANTREF(&v) = p;
        return v;
    }
    static VARIANT BoolRef(VARIANT_BOOL* p)
    {
        VARIANT v;
        ::VariantInit(&v);
        V_VT(&v) = VT_BOOL | VT_BYREF;
        V_BOOLREF(&v) = p;
        return v;
    }
    static VARIANT Disp(IDispatch* p)
    {
        VARIANT v;
        ::VariantInit(&v);
        V_VT(&v) = VT_DISPATCH;
        V_DISPATCH(&v) = p;
        return v;
    }
    static std::wstring TextOf(const VARIANT* p)
    {
        if (p != nullptr && V_VT(p) == VT_BSTR && V_BSTR(p) != nullptr)
            return std::wstring(V_BSTR(p), ::SysStringLen(V_BSTR(p)));
        return std::wstring();
    }
    static HRESULT Bool(VARIANT_BOOL* p, VARIANT_BOOL b)
    {
        *p = b;
        return S_OK;
    }
    static HRESULT Text(BSTR* p, const std::wstring& str)
    {
        *p = ::SysAllocStringLen(str.data(), (UINT)str.size());
        return S_OK;
    }
    HRESULT Self(IDispatch** ppDisp)
    {
        *ppDisp = static_cast<IWebBrowser2*>(this);
        AddRef();
        return S_OK;
    }

    LONG m_nRef = 1;
    CEventPoint m_point;
};

// Installs a factory that makes scripted browsers (or fails, to stand for a
// system without the control) and keeps each one made, for the test.
class CScriptedBrowserFactory
{
public:
    CScriptedBrowserFactory()
    {
        m_previous = AfxSetWebBrowserFactory([this](IUnknown** ppUnknown) -> HRESULT {
            if (FAILED(m_hrFail))
                return m_hrFail;
            CScriptedBrowser* p = new CScriptedBrowser;
            p->m_bAutoComplete = m_bAutoComplete;
            p->AddRef(); // the factory's own reference, for the test
            m_made.push_back(p);
            *ppUnknown = static_cast<IWebBrowser2*>(p);
            return S_OK;
        });
    }
    ~CScriptedBrowserFactory()
    {
        AfxSetWebBrowserFactory(std::move(m_previous));
        for (CScriptedBrowser* p : m_made)
            p->Release();
    }
    CScriptedBrowserFactory(const CScriptedBrowserFactory&) = delete;
    CScriptedBrowserFactory& operator=(const CScriptedBrowserFactory&) = delete;

    // From now on the factory fails with hr (S_OK makes browsers again).
    void FailWith(HRESULT hr) { m_hrFail = hr; }
    // Whether browsers made from now on complete their navigations by
    // themselves (a test that checks a page still loading says false).
    void SetAutoComplete(bool bAutoComplete) { m_bAutoComplete = bAutoComplete; }
    CScriptedBrowser* Last() const { return m_made.empty() ? nullptr : m_made.back(); }
    size_t Count() const { return m_made.size(); }

private:
    HRESULT m_hrFail = S_OK;
    bool m_bAutoComplete = true;
    std::vector<CScriptedBrowser*> m_made;
    AFX_WEBBROWSER_FACTORY m_previous;
};
