// The site that holds a WebBrowser object in place in a window: client and
// in-place site, the frame the object asks for, the document host handler
// and the event sink. The window it serves answers through CAfxBrowserHost.
#pragma once

#include "AfxImpl.h"
#include <afxhtml.h>

class CAfxBrowserSite final : public IOleClientSite,
                              public IOleInPlaceSite,
                              public IOleInPlaceFrame,
                              public IDocHostUIHandler
{
public:
    CAfxBrowserSite(CAfxBrowserHost* pHost, HWND hWnd);

    // Makes the browser (the factory), places it over rc and connects the
    // events. On failure nothing is kept and the window stays empty.
    HRESULT Open(const RECT& rc);
    // Disconnects and closes the browser; the host is called no more.
    void Close();
    void Move(const RECT& rc);
    IWebBrowser2* GetBrowser() const { return m_pBrowser; }

    // What a view or dialog does on creation: a site over hWnd's client
    // area, its browser in *ppBrowser (AddRef'd). Null (and *ppBrowser null)
    // when no browser can be made; the window then stays empty.
    static CAfxBrowserSite* OpenIn(CAfxBrowserHost* pHost, HWND hWnd, IWebBrowser2** ppBrowser);
    // ... and on destruction: releases the browser, closes the site, nulls both.
    static void CloseIn(CAfxBrowserSite*& pSite, IWebBrowser2*& pBrowser);
    // Offers a key message to the browser's active object.
    BOOL TranslateKey(MSG* pMsg);

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    // IOleClientSite
    STDMETHODIMP SaveObject() override { return E_NOTIMPL; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** ppmk) override;
    STDMETHODIMP GetContainer(IOleContainer** ppContainer) override;
    STDMETHODIMP ShowObject() override { return S_OK; }
    STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
    STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }
    // IOleWindow
    STDMETHODIMP GetWindow(HWND* phwnd) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    // IOleInPlaceSite
    STDMETHODIMP CanInPlaceActivate() override { return S_OK; }
    STDMETHODIMP OnInPlaceActivate() override { return S_OK; }
    STDMETHODIMP OnUIActivate() override { return S_OK; }
    STDMETHODIMP GetWindowContext(IOleInPlaceFrame** ppFrame, IOleInPlaceUIWindow** ppDoc, LPRECT lprcPosRect,
                                  LPRECT lprcClipRect, LPOLEINPLACEFRAMEINFO lpFrameInfo) override;
    STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
    STDMETHODIMP OnUIDeactivate(BOOL) override { return S_OK; }
    STDMETHODIMP OnInPlaceDeactivate() override { return S_OK; }
    STDMETHODIMP DiscardUndoState() override { return E_NOTIMPL; }
    STDMETHODIMP DeactivateAndUndo() override { return E_NOTIMPL; }
    STDMETHODIMP OnPosRectChange(LPCRECT lprcPosRect) override;
    // IOleInPlaceUIWindow and IOleInPlaceFrame: no tool space, menus or status.
    STDMETHODIMP GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
    STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
    STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS) override { return S_OK; }
    STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) override { return S_OK; }
    STDMETHODIMP InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return E_NOTIMPL; }
    STDMETHODIMP SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
    STDMETHODIMP RemoveMenus(HMENU) override { return E_NOTIMPL; }
    STDMETHODIMP SetStatusText(LPCOLESTR) override { return S_OK; }
    STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }
    STDMETHODIMP TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }
    // IDocHostUIHandler
    STDMETHODIMP ShowContextMenu(DWORD dwID, POINT* ppt, IUnknown* pcmdtReserved, IDispatch* pdispReserved) override;
    STDMETHODIMP GetHostInfo(DOCHOSTUIINFO* pInfo) override;
    STDMETHODIMP ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*, IOleInPlaceFrame*,
                        IOleInPlaceUIWindow*) override
    {
        return S_FALSE;
    }
    STDMETHODIMP HideUI() override { return S_OK; }
    STDMETHODIMP UpdateUI() override { return S_OK; }
    STDMETHODIMP OnDocWindowActivate(BOOL) override { return S_OK; }
    STDMETHODIMP OnFrameWindowActivate(BOOL) override { return S_OK; }
    STDMETHODIMP ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override { return S_OK; }
    STDMETHODIMP TranslateAccelerator(LPMSG lpMsg, const GUID* pguidCmdGroup, DWORD nCmdID) override;
    STDMETHODIMP GetOptionKeyPath(LPOLESTR* pchKey, DWORD) override;
    STDMETHODIMP GetDropTarget(IDropTarget*, IDropTarget** ppDropTarget) override;
    STDMETHODIMP GetExternal(IDispatch** ppDispatch) override;
    STDMETHODIMP TranslateUrl(DWORD, LPWSTR, LPWSTR* ppchURLOut) override;
    STDMETHODIMP FilterDataObject(IDataObject*, IDataObject** ppDORet) override;

private:
    ~CAfxBrowserSite();

    // The DWebBrowserEvents2 sink: a separate IDispatch, so the site's own
    // interfaces stay unambiguous.
    class CSink : public IDispatch
    {
    public:
        explicit CSink(CAfxBrowserSite* pSite) : m_pSite(pSite) {}
        STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
        STDMETHODIMP_(ULONG) AddRef() override { return m_pSite->AddRef(); }
        STDMETHODIMP_(ULONG) Release() override { return m_pSite->Release(); }
        STDMETHODIMP GetTypeInfoCount(UINT* pctinfo) override;
        STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
        STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
        STDMETHODIMP Invoke(DISPID dispid, REFIID riid, LCID lcid, WORD wFlags, DISPPARAMS* pParams,
                            VARIANT* pVarResult, EXCEPINFO* pExcepInfo, UINT* puArgErr) override;

    private:
        CAfxBrowserSite* m_pSite;
    };

    void OnEvent(DISPID dispid, DISPPARAMS* pParams);

    LONG m_nRef;
    CAfxBrowserHost* m_pHost; // null once closed
    HWND m_hWnd;
    CSink m_sink;
    IOleObject* m_pObject;
    IWebBrowser2* m_pBrowser;
    IConnectionPoint* m_pEvents;
    DWORD m_dwCookie;
};

// Helpers of the views and dialogs that hold a site.
BSTR AfxAllocBstr(LPCTSTR lpsz);
CString AfxBstrToText(BSTR bstr);
DWORD AfxBrowserVariantNumber(const VARIANT* pVar);
// The bytes of a post-data VARIANT (a one-dimensional byte array).
void AfxBrowserVariantBytes(const VARIANT* pVar, CByteArray& bytes);
// IWebBrowser2::Navigate or Navigate2 with the class library's arguments.
HRESULT AfxBrowserNavigate(IWebBrowser2* pBrowser, BOOL bNavigate2, LPCTSTR lpszURL, DWORD dwFlags,
                           LPCTSTR lpszTargetFrameName, LPCTSTR lpszHeaders, LPVOID lpvPostData, DWORD dwPostDataLen);
// A key message for a window inside hWndHost goes to the site's browser.
BOOL AfxBrowserPreTranslate(CAfxBrowserSite* pSite, HWND hWndHost, MSG* pMsg);
