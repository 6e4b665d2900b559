// CDHtmlDialog: a dialog whose client area is a web page, the system's
// WebBrowser control held in place (see afxhtml.h for the factory).
#pragma once

#include <afxcoll.h>
#include <afxhtml.h>

class CDHtmlDialog;

// The element click map: each entry names an element of the page by its id
// and the member that a click on it calls. The map is connected each time a
// top-level document completes.
//
//   BEGIN_DHTML_EVENT_MAP(CMyDlg)
//       DHTML_EVENT_ONCLICK("ButtonOK", OnButtonOK)
//   END_DHTML_EVENT_MAP()
typedef HRESULT (CDHtmlDialog::*AFX_DHTML_CLICK_HANDLER)(IHTMLElement* pElement);
struct DHtmlEventMapEntry
{
    LPCTSTR szName; // the element's id; null ends the map
    AFX_DHTML_CLICK_HANDLER pfnHandler;
};

#define DECLARE_DHTML_EVENT_MAP()                                                                                      \
protected:                                                                                                             \
    const DHtmlEventMapEntry* GetDHtmlEventMap() override;

#define BEGIN_DHTML_EVENT_MAP(theClass)                                                                                \
    const DHtmlEventMapEntry* theClass::GetDHtmlEventMap()                                                             \
    {                                                                                                                  \
        typedef theClass ThisDHtmlClass;                                                                               \
        static const DHtmlEventMapEntry s_dhtmlEntries[] = {
#define DHTML_EVENT_ONCLICK(elemName, memberFxn)                                                                       \
    {elemName, static_cast<AFX_DHTML_CLICK_HANDLER>(&ThisDHtmlClass::memberFxn)},
#define END_DHTML_EVENT_MAP()                                                                                          \
    {                                                                                                                  \
        NULL, NULL                                                                                                     \
    }                                                                                                                  \
    }                                                                                                                  \
    ;                                                                                                                  \
    return s_dhtmlEntries;                                                                                             \
    }

class CDHtmlDialog : public CDialog, protected CAfxBrowserHost
{
    DECLARE_DYNAMIC(CDHtmlDialog)
public:
    CDHtmlDialog();
    CDHtmlDialog(UINT nIDTemplate, UINT nHtmlResID = 0, CWnd* pParentWnd = NULL);
    CDHtmlDialog(LPCTSTR lpszTemplateName, LPCTSTR szHtmlResID, CWnd* pParentWnd = NULL);
    virtual ~CDHtmlDialog();

    // Puts the browser over the client area and, with an HTML resource,
    // opens it.
    virtual BOOL OnInitDialog();

    void Navigate(LPCTSTR lpszURL, DWORD dwFlags = 0, LPCTSTR lpszTargetFrameName = NULL, LPCTSTR lpszHeaders = NULL,
                  LPVOID lpvPostData = NULL, DWORD dwPostDataLen = 0);
    void GetCurrentUrl(CString& szUrl) { szUrl = m_strCurrentUrl; }
    // The current document (the caller releases it); E_NOINTERFACE without.
    HRESULT GetDHtmlDocument(IHTMLDocument2** pphtmlDoc);
    // The flags GetHostInfo reports (DOCHOSTUIFLAG_*).
    void SetHostFlags(DWORD dwFlags) { m_dwHostFlags = dwFlags; }
    // What pages reach as window.external while CanAccessExternal allows it.
    void SetExternalDispatch(IDispatch* pdispExternal);
    virtual BOOL CanAccessExternal();

    // Events of the browser: the underscored forms get the browser's
    // arguments and call the plain ones.
    virtual void _OnBeforeNavigate2(LPDISPATCH pDisp, VARIANT* URL, VARIANT* Flags, VARIANT* TargetFrameName,
                                    VARIANT* PostData, VARIANT* Headers, BOOL* Cancel);
    virtual void _OnNavigateComplete2(LPDISPATCH pDisp, VARIANT* URL);
    virtual void _OnDocumentComplete(LPDISPATCH pDisp, VARIANT* URL);
    virtual void OnBeforeNavigate(LPDISPATCH pDisp, LPCTSTR szUrl);
    virtual void OnNavigateComplete(LPDISPATCH pDisp, LPCTSTR szUrl);
    virtual void OnDocumentComplete(LPDISPATCH pDisp, LPCTSTR szUrl);
    virtual void OnNavigateError(LPDISPATCH pDisp, LPCTSTR szUrl, LPCTSTR szFrame, DWORD dwError, BOOL* pbCancel);
    virtual void OnTitleChange(LPCTSTR szTitle);
    virtual void OnNewWindow2(LPDISPATCH* ppDisp, BOOL* pbCancel);
    virtual void OnNewWindow3(LPDISPATCH* ppDisp, BOOL* pbCancel, DWORD dwFlags, LPCTSTR szUrlContext, LPCTSTR szUrl);

    // The document host: host flags, context menu (S_OK: none shown;
    // S_FALSE: the browser's own), keys (S_OK: used; S_FALSE: to the page),
    // the page's window.external.
    STDMETHOD(GetHostInfo)(DOCHOSTUIINFO* pInfo);
    STDMETHOD(ShowContextMenu)(DWORD dwID, POINT* ppt, IUnknown* pcmdtReserved, IDispatch* pdispReserved);
    STDMETHOD(TranslateAccelerator)(LPMSG lpMsg, const GUID* pguidCmdGroup, DWORD nCmdID);
    STDMETHOD(GetExternal)(IDispatch** ppDispatch);

    virtual BOOL PreTranslateMessage(MSG* pMsg);

    IWebBrowser2* m_pBrowserApp; // null while there is no browser
    IHTMLDocument2* m_spHtmlDoc; // the document of the last top-level navigation
    CString m_strCurrentUrl;
    BOOL m_bUseHtmlTitle; // the page's title becomes the caption
    UINT m_nHtmlResID;    // HTML resource opened at start (id) ...
    LPTSTR m_szHtmlResID; // ... or by name
    DWORD m_dwHostFlags;

protected:
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnDestroy();

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

    // The element clicks this dialog handles; none by default.
    virtual const DHtmlEventMapEntry* GetDHtmlEventMap();
    // Hooks the map's elements of the current document; detaches the
    // hooks of the previous one.
    void ConnectDHtmlEvents();
    void DisconnectDHtmlEvents();

    CAfxBrowserSite* m_pSite;
    IDispatch* m_pExternalDisp;

    DECLARE_MESSAGE_MAP()

private:
    void CommonConstruct();
    CPtrArray m_dhtmlSinks; // the click handlers put into the page's elements
};
