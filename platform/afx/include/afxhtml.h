// The web browser host: CHtmlView, a child window that holds the system's
// WebBrowser control in place and turns its events into virtual calls.
//
// The browser object comes from one factory (AfxCreateWebBrowser; a test
// replaces it through afxtest.h). When no browser can be made, the view is
// still a window, with m_pBrowserApp null, and every call on it does nothing.
// The calling thread must have initialised OLE (AfxOleInit).
#pragma once

#include <afxwin.h>

#include <exdisp.h>
#include <mshtmhst.h>
#include <mshtml.h>

class CAfxBrowserSite;

// Makes the browser object: an object answering IOleObject, IWebBrowser2
// and IConnectionPointContainer (events of DWebBrowserEvents2).
HRESULT AFXAPI AfxCreateWebBrowser(IUnknown** ppUnknown);

// What a browser site asks of the window it serves (the library's own: the
// views and dialogs below implement it).
class CAfxBrowserHost
{
public:
    virtual HRESULT HostGetHostInfo(DOCHOSTUIINFO* pInfo) = 0;
    virtual HRESULT HostShowContextMenu(DWORD dwID, POINT* ppt, IUnknown* pcmdtReserved, IDispatch* pdispReserved) = 0;
    virtual HRESULT HostTranslateAccelerator(LPMSG lpMsg, const GUID* pguidCmdGroup, DWORD nCmdID) = 0;
    virtual HRESULT HostGetExternal(IDispatch** ppDispatch) = 0;
    // The events, arguments as the browser passed them (checked).
    virtual void HostBeforeNavigate2(IDispatch* pDisp, VARIANT* URL, VARIANT* Flags, VARIANT* TargetFrameName,
                                     VARIANT* PostData, VARIANT* Headers, BOOL* pbCancel) = 0;
    virtual void HostNavigateComplete2(IDispatch* pDisp, VARIANT* URL) = 0;
    virtual void HostDocumentComplete(IDispatch* pDisp, VARIANT* URL) = 0;
    virtual void HostNavigateError(IDispatch* pDisp, VARIANT* URL, VARIANT* Frame, VARIANT* StatusCode,
                                   BOOL* pbCancel) = 0;
    virtual void HostTitleChange(BSTR bstrText) = 0;
    virtual void HostNewWindow2(IDispatch** ppDisp, BOOL* pbCancel) = 0;
    virtual void HostNewWindow3(IDispatch** ppDisp, BOOL* pbCancel, DWORD dwFlags, BSTR bstrUrlContext,
                                BSTR bstrUrl) = 0;

protected:
    ~CAfxBrowserHost() {}
};

// Text of a VARIANT holding (or referring to) a string; empty otherwise.
CString AFXAPI AfxBrowserVariantText(const VARIANT* pVar);

class CHtmlView : public CWnd, protected CAfxBrowserHost
{
    DECLARE_DYNCREATE(CHtmlView)
public:
    CHtmlView();
    virtual ~CHtmlView();

    // A child window with the browser in place over its client area.
    virtual BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                        CWnd* pParentWnd, UINT nID, CCreateContext* pContext = NULL);

    IWebBrowser2* m_pBrowserApp; // null while there is no browser

    void Navigate(LPCTSTR URL, DWORD dwFlags = 0, LPCTSTR lpszTargetFrameName = NULL, LPCTSTR lpszHeaders = NULL,
                  LPVOID lpvPostData = NULL, DWORD dwPostDataLen = 0);
    void Navigate2(LPCTSTR lpszURL, DWORD dwFlags = 0, LPCTSTR lpszTargetFrameName = NULL, LPCTSTR lpszHeaders = NULL,
                   LPVOID lpvPostData = NULL, DWORD dwPostDataLen = 0);
    void GoBack();
    void GoForward();
    void GoHome();
    void Refresh();
    void Refresh2(int nLevel);
    void Stop();
    // A silent browser shows no dialogs (script errors and the like).
    void SetSilent(BOOL bSilent);
    BOOL GetSilent() const;
    CString GetLocationURL() const;
    CString GetLocationName() const;
    BOOL GetBusy() const;
    READYSTATE GetReadyState() const;
    // The document's dispatch interface (the caller releases it), or null.
    LPDISPATCH GetHtmlDocument() const;

    // Events of the browser.
    virtual void OnBeforeNavigate2(LPCTSTR lpszURL, DWORD nFlags, LPCTSTR lpszTargetFrameName, CByteArray& baPostedData,
                                   LPCTSTR lpszHeaders, BOOL* pbCancel);
    virtual void OnNavigateComplete2(LPCTSTR strURL);
    virtual void OnDocumentComplete(LPCTSTR lpszURL);
    virtual void OnNavigateError(LPCTSTR lpszURL, LPCTSTR lpszFrame, DWORD dwError, BOOL* pbCancel);
    virtual void OnTitleChange(LPCTSTR lpszText);
    virtual void OnNewWindow2(LPDISPATCH* ppDisp, BOOL* Cancel);
    virtual void OnNewWindow3(LPDISPATCH* ppDisp, BOOL* Cancel, DWORD dwFlags, LPCTSTR lpszUrlContext, LPCTSTR lpszUrl);

    // The document host's answers. pInfo arrives with cbSize set, no flags
    // and the default double click; E_NOTIMPL keeps the browser's defaults.
    virtual HRESULT OnGetHostInfo(DOCHOSTUIINFO* pInfo);
    // S_OK: handled, no menu; S_FALSE: the browser shows its own.
    virtual HRESULT OnShowContextMenu(DWORD dwID, LPPOINT ppt, LPUNKNOWN pcmdtReserved, LPDISPATCH pdispReserved);
    // S_OK: the key was used; S_FALSE: the browser handles it.
    virtual HRESULT OnTranslateAccelerator(LPMSG lpMsg, const GUID* pguidCmdGroup, DWORD nCmdID);
    // What a page reaches as window.external (AddRef'd), or E_NOTIMPL.
    virtual HRESULT OnGetExternal(LPDISPATCH* lppDispatch);

    virtual BOOL PreTranslateMessage(MSG* pMsg);

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnDestroy();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);

    HRESULT HostGetHostInfo(DOCHOSTUIINFO* pInfo) override;
    HRESULT HostShowContextMenu(DWORD dwID, POINT* ppt, IUnknown* pcmdtReserved, IDispatch* pdispReserved) override;
    HRESULT HostTranslateAccelerator(LPMSG lpMsg, const GUID* pguidCmdGroup, DWORD nCmdID) override;
    HRESULT HostGetExternal(IDispatch** ppDispatch) override;
    void HostBeforeNavigate2(IDispatch* pDisp, VARIANT* URL, VARIANT* Flags, VARIANT* TargetFrameName,
                             VARIANT* PostData, VARIANT* Headers, BOOL* pbCancel) override;
    void HostNavigateComplete2(IDispatch* pDisp, VARIANT* URL) override;
    void HostDocumentComplete(IDispatch* pDisp, VARIANT* URL) override;
    void HostNavigateError(IDispatch* pDisp, VARIANT* URL, VARIANT* Frame, VARIANT* StatusCode,
                           BOOL* pbCancel) override;
    void HostTitleChange(BSTR bstrText) override;
    void HostNewWindow2(IDispatch** ppDisp, BOOL* pbCancel) override;
    void HostNewWindow3(IDispatch** ppDisp, BOOL* pbCancel, DWORD dwFlags, BSTR bstrUrlContext, BSTR bstrUrl) override;

    CAfxBrowserSite* m_pSite;

    DECLARE_MESSAGE_MAP()
};
