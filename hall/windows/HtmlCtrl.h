// The hall's web page control: the browser used as a plain child window.
// What a page does (asks for a window size, fails, completes) reaches the
// parent as WM_NOTIFY; every address a page opens goes to the hall's link
// handler first, and windows a page opens go to the default browser.
#pragma once

#include <afxhtml.h>

// Codes of the control's notifications.
enum
{
    HTMLCTRL_WINDOW_SIZE = 1, // the page asks for a window size
    HTMLCTRL_NAVIGATE_ERROR = 2,
    HTMLCTRL_NAVIGATE_COMPLETE = 3,
};

// What the page asks of its window: from its title or from its meta
// element "window-custom".
struct tagHtmlWindowSize
{
    INT32 nWidth;
    INT32 nHeight;
    INT32 nAddStyle;
    INT32 nRemoveStyle;
    INT32 nHScroll; // 0 or 1
    INT32 nVScroll; // 0 or 1
};

// The WM_NOTIFY record; the size is filled for HTMLCTRL_WINDOW_SIZE only.
struct tagHtmlCtrlNotify
{
    NMHDR hdr;
    tagHtmlWindowSize size;
};

// A title "width=400&height=300" (keys in any case): true, with both, when
// both are given and non-zero.
bool ParseHtmlTitleSize(LPCSTR pszTitle, INT32& nWidth, INT32& nHeight);
// The content of "window-custom": items "key=value" joined by "&" (width,
// height, addStyle, removeStyle, hScroll, vScroll, keys in any case), or
// "width,height". What is missing keeps its default: 0, and a vertical
// scroll bar.
tagHtmlWindowSize ParseHtmlWindowCustom(LPCSTR pszContent);
// The content of the first meta element named pszName (case-sensitive) of
// the document, through its script interface; empty on any failure.
CString GetDocumentMetaContent(IDispatch* pDocument, LPCSTR pszName);

class CHtmlCtrl : public CHtmlView
{
    DECLARE_DYNCREATE(CHtmlCtrl)
public:
    CHtmlCtrl();
    ~CHtmlCtrl() override;

    // Flags the browser reads as its host's (DOCHOSTUIFLAG_*) the next time
    // it asks.
    void SetHostFlags(DWORD dwFlags) { m_dwHostFlags = dwFlags; }
    DWORD GetHostFlags() const { return m_dwHostFlags; }
    // A local page shown after a failed navigation, when the file exists.
    void SetErrorPage(LPCTSTR pszPath) { m_strErrorPage = pszPath != NULL ? pszPath : ""; }
    const CString& GetErrorPage() const { return m_strErrorPage; }

    // Takes the place of the static control nID of the dialog: same
    // rectangle, same id, visible. False without the placeholder or when
    // the window cannot be made.
    BOOL CreateFromStatic(UINT nID, CWnd* pParent);
    CString GetMetaContent(LPCSTR pszName) const;

protected:
    HRESULT OnGetHostInfo(DOCHOSTUIINFO* pInfo) override;
    void OnNavigateComplete2(LPCTSTR strURL) override;
    void OnBeforeNavigate2(LPCTSTR lpszURL, DWORD nFlags, LPCTSTR lpszTargetFrameName, CByteArray& baPostedData,
                           LPCTSTR lpszHeaders, BOOL* pbCancel) override;
    void OnTitleChange(LPCTSTR lpszText) override;
    void OnNewWindow2(LPDISPATCH* ppDisp, BOOL* Cancel) override;
    void OnNavigateError(LPCTSTR lpszURL, LPCTSTR lpszFrame, DWORD dwError, BOOL* pbCancel) override;

    void NotifyParent(UINT nCode, const tagHtmlWindowSize* pSize = NULL);

    CString m_strErrorPage;
    DWORD m_dwHostFlags;
};

// The hidden control that takes the windows pages open: the address goes
// to the hall's link handler or, for a web address, to the default browser;
// nothing is ever shown in it.
class CNewWindowHtmlCtrl : public CHtmlCtrl
{
    DECLARE_DYNCREATE(CNewWindowHtmlCtrl)
public:
    // The one instance; its window is made on first use, under the main window.
    static CNewWindowHtmlCtrl& Instance();
    // The instance's browser for a page's new window (AddRef'd), or null
    // when there is no main window or no browser.
    static IDispatch* GetNewWindowDispatch();

protected:
    void OnBeforeNavigate2(LPCTSTR lpszURL, DWORD nFlags, LPCTSTR lpszTargetFrameName, CByteArray& baPostedData,
                           LPCTSTR lpszHeaders, BOOL* pbCancel) override;
};
