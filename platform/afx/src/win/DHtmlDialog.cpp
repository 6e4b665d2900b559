// CDHtmlDialog: a dialog whose client area the browser covers.
#include "BrowserSite.h"
#include <afxdhtml.h>

IMPLEMENT_DYNAMIC(CDHtmlDialog, CDialog)

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
