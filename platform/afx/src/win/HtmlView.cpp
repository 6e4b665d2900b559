// CHtmlView: a child window holding the browser in place.
#include "BrowserSite.h"

IMPLEMENT_DYNCREATE(CHtmlView, CWnd)

BEGIN_MESSAGE_MAP(CHtmlView, CWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_DESTROY()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CHtmlView::CHtmlView() : m_pBrowserApp(NULL), m_pSite(NULL) {}

CHtmlView::~CHtmlView()
{
    if (m_hWnd != NULL && ::IsWindow(m_hWnd) && FromHandlePermanent(m_hWnd) == this)
        DestroyWindow();
}

BOOL CHtmlView::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                       UINT nID, CCreateContext* pContext)
{
    return CWnd::Create(lpszClassName, lpszWindowName, dwStyle | WS_CHILD | WS_CLIPCHILDREN, rect, pParentWnd, nID,
                        pContext);
}

int CHtmlView::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (Default() == -1)
        return -1;
    // Without a browser the view stays an empty window.
    m_pSite = CAfxBrowserSite::OpenIn(this, m_hWnd, &m_pBrowserApp);
    return 0;
}

void CHtmlView::OnSize(UINT nType, int cx, int cy)
{
    Default();
    if (m_pSite != NULL)
        m_pSite->Move(CRect(0, 0, cx, cy));
}

void CHtmlView::OnDestroy()
{
    CAfxBrowserSite::CloseIn(m_pSite, m_pBrowserApp);
    Default();
}

BOOL CHtmlView::OnEraseBkgnd(CDC* pDC)
{
    // The browser covers the whole client area.
    return m_pBrowserApp != NULL ? TRUE : (BOOL)Default();
}

BOOL CHtmlView::PreTranslateMessage(MSG* pMsg)
{
    if (AfxBrowserPreTranslate(m_pSite, m_hWnd, pMsg))
        return TRUE;
    return CWnd::PreTranslateMessage(pMsg);
}

// ------------------------------------------------------------------ the browser

void CHtmlView::Navigate(LPCTSTR URL, DWORD dwFlags, LPCTSTR lpszTargetFrameName, LPCTSTR lpszHeaders,
                         LPVOID lpvPostData, DWORD dwPostDataLen)
{
    AfxBrowserNavigate(m_pBrowserApp, FALSE, URL, dwFlags, lpszTargetFrameName, lpszHeaders, lpvPostData,
                       dwPostDataLen);
}

void CHtmlView::Navigate2(LPCTSTR lpszURL, DWORD dwFlags, LPCTSTR lpszTargetFrameName, LPCTSTR lpszHeaders,
                          LPVOID lpvPostData, DWORD dwPostDataLen)
{
    AfxBrowserNavigate(m_pBrowserApp, TRUE, lpszURL, dwFlags, lpszTargetFrameName, lpszHeaders, lpvPostData,
                       dwPostDataLen);
}

void CHtmlView::GoBack()
{
    if (m_pBrowserApp != NULL)
        m_pBrowserApp->GoBack();
}

void CHtmlView::GoForward()
{
    if (m_pBrowserApp != NULL)
        m_pBrowserApp->GoForward();
}

void CHtmlView::GoHome()
{
    if (m_pBrowserApp != NULL)
        m_pBrowserApp->GoHome();
}

void CHtmlView::Refresh()
{
    if (m_pBrowserApp != NULL)
        m_pBrowserApp->Refresh();
}

void CHtmlView::Refresh2(int nLevel)
{
    if (m_pBrowserApp == NULL)
        return;
    VARIANT vLevel;
    ::VariantInit(&vLevel);
    V_VT(&vLevel) = VT_I4;
    V_I4(&vLevel) = nLevel;
    m_pBrowserApp->Refresh2(&vLevel);
}

void CHtmlView::Stop()
{
    if (m_pBrowserApp != NULL)
        m_pBrowserApp->Stop();
}

void CHtmlView::SetSilent(BOOL bSilent)
{
    if (m_pBrowserApp != NULL)
        m_pBrowserApp->put_Silent(bSilent ? VARIANT_TRUE : VARIANT_FALSE);
}

BOOL CHtmlView::GetSilent() const
{
    VARIANT_BOOL vb = VARIANT_FALSE;
    if (m_pBrowserApp == NULL || FAILED(m_pBrowserApp->get_Silent(&vb)))
        return FALSE;
    return vb != VARIANT_FALSE;
}

CString CHtmlView::GetLocationURL() const
{
    BSTR bstr = NULL;
    if (m_pBrowserApp == NULL || FAILED(m_pBrowserApp->get_LocationURL(&bstr)))
        return CString();
    CString str = AfxBstrToText(bstr);
    ::SysFreeString(bstr);
    return str;
}

CString CHtmlView::GetLocationName() const
{
    BSTR bstr = NULL;
    if (m_pBrowserApp == NULL || FAILED(m_pBrowserApp->get_LocationName(&bstr)))
        return CString();
    CString str = AfxBstrToText(bstr);
    ::SysFreeString(bstr);
    return str;
}

BOOL CHtmlView::GetBusy() const
{
    VARIANT_BOOL vb = VARIANT_FALSE;
    if (m_pBrowserApp == NULL || FAILED(m_pBrowserApp->get_Busy(&vb)))
        return FALSE;
    return vb != VARIANT_FALSE;
}

READYSTATE CHtmlView::GetReadyState() const
{
    READYSTATE state = READYSTATE_UNINITIALIZED;
    if (m_pBrowserApp == NULL || FAILED(m_pBrowserApp->get_ReadyState(&state)))
        return READYSTATE_UNINITIALIZED;
    return state;
}

LPDISPATCH CHtmlView::GetHtmlDocument() const
{
    LPDISPATCH pDisp = NULL;
    if (m_pBrowserApp == NULL || FAILED(m_pBrowserApp->get_Document(&pDisp)))
        return NULL;
    return pDisp;
}

// ------------------------------------------------------------------ overridables

void CHtmlView::OnBeforeNavigate2(LPCTSTR, DWORD, LPCTSTR, CByteArray&, LPCTSTR, BOOL*) {}
void CHtmlView::OnNavigateComplete2(LPCTSTR) {}
void CHtmlView::OnDocumentComplete(LPCTSTR) {}
void CHtmlView::OnNavigateError(LPCTSTR, LPCTSTR, DWORD, BOOL*) {}
void CHtmlView::OnTitleChange(LPCTSTR) {}
void CHtmlView::OnNewWindow2(LPDISPATCH*, BOOL*) {}
void CHtmlView::OnNewWindow3(LPDISPATCH*, BOOL*, DWORD, LPCTSTR, LPCTSTR) {}

HRESULT CHtmlView::OnGetHostInfo(DOCHOSTUIINFO*)
{
    return E_NOTIMPL;
}

HRESULT CHtmlView::OnShowContextMenu(DWORD, LPPOINT, LPUNKNOWN, LPDISPATCH)
{
    return S_FALSE;
}

HRESULT CHtmlView::OnTranslateAccelerator(LPMSG, const GUID*, DWORD)
{
    return S_FALSE;
}

HRESULT CHtmlView::OnGetExternal(LPDISPATCH* lppDispatch)
{
    *lppDispatch = NULL;
    return E_NOTIMPL;
}

// ------------------------------------------------------------------ from the site

HRESULT CHtmlView::HostGetHostInfo(DOCHOSTUIINFO* pInfo)
{
    return OnGetHostInfo(pInfo);
}

HRESULT CHtmlView::HostShowContextMenu(DWORD dwID, POINT* ppt, IUnknown* pcmdtReserved, IDispatch* pdispReserved)
{
    return OnShowContextMenu(dwID, ppt, pcmdtReserved, pdispReserved);
}

HRESULT CHtmlView::HostTranslateAccelerator(LPMSG lpMsg, const GUID* pguidCmdGroup, DWORD nCmdID)
{
    return OnTranslateAccelerator(lpMsg, pguidCmdGroup, nCmdID);
}

HRESULT CHtmlView::HostGetExternal(IDispatch** ppDispatch)
{
    return OnGetExternal(ppDispatch);
}

void CHtmlView::HostBeforeNavigate2(IDispatch*, VARIANT* URL, VARIANT* Flags, VARIANT* TargetFrameName,
                                    VARIANT* PostData, VARIANT* Headers, BOOL* pbCancel)
{
    CByteArray baPostedData;
    AfxBrowserVariantBytes(PostData, baPostedData);
    OnBeforeNavigate2(AfxBrowserVariantText(URL), AfxBrowserVariantNumber(Flags),
                      AfxBrowserVariantText(TargetFrameName), baPostedData, AfxBrowserVariantText(Headers), pbCancel);
}

void CHtmlView::HostNavigateComplete2(IDispatch*, VARIANT* URL)
{
    OnNavigateComplete2(AfxBrowserVariantText(URL));
}

void CHtmlView::HostDocumentComplete(IDispatch*, VARIANT* URL)
{
    OnDocumentComplete(AfxBrowserVariantText(URL));
}

void CHtmlView::HostNavigateError(IDispatch*, VARIANT* URL, VARIANT* Frame, VARIANT* StatusCode, BOOL* pbCancel)
{
    OnNavigateError(AfxBrowserVariantText(URL), AfxBrowserVariantText(Frame), AfxBrowserVariantNumber(StatusCode),
                    pbCancel);
}

void CHtmlView::HostTitleChange(BSTR bstrText)
{
    OnTitleChange(AfxBstrToText(bstrText));
}

void CHtmlView::HostNewWindow2(IDispatch** ppDisp, BOOL* pbCancel)
{
    OnNewWindow2(ppDisp, pbCancel);
}

void CHtmlView::HostNewWindow3(IDispatch** ppDisp, BOOL* pbCancel, DWORD dwFlags, BSTR bstrUrlContext, BSTR bstrUrl)
{
    OnNewWindow3(ppDisp, pbCancel, dwFlags, AfxBstrToText(bstrUrlContext), AfxBstrToText(bstrUrl));
}
