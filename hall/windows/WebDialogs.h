// The web dialogs: a skinned dialog that shows one page with the player's
// account in its address (in-site mail, promotion, card recharge), the
// page child they hold, and the address preparation they share.
#pragma once

#include <afxdhtml.h>

#include <RgnDialog.h>

#include "WebLoadingDlg.h"

// The page address of a web dialog: with placeholders, "<username>" and
// "<password>" become the account (percent-encoded) and the password
// digest of the logged-on user; then the user suffix ("?Uid=..&Key=.." or
// "&Uid=.."), then "&&" (placeholders) or "&" and nRandom.
CString PrepareWebDialogUrl(LPCSTR pszUrl, bool bPlaceholders, int nRandom);
// Bytes other than letters, digits and "-_.~" as %XX: a name with "&",
// "#" or GBK text stays one query value.
CString EncodeUrlValue(LPCSTR pszText);

// What a page child tells the dialog that holds it.
class IWebPageHost
{
public:
    virtual ~IWebPageHost() {}
    // The page's document has completed.
    virtual void OnPageReady() = 0;
    // The page's close button ("ButtonCancle") was clicked.
    virtual void OnPageCancel() = 0;
};

// The page child: a silent page without context menu or F5, that Enter
// and Escape do not close.
class CMailHtmlDlg : public CDHtmlDialog
{
public:
    explicit CMailHtmlDlg(IWebPageHost* pHost = NULL);
    ~CMailHtmlDlg() override;

    // From the bare page template, inside the parent.
    BOOL Create(CWnd* pParent);
    using CDHtmlDialog::Create;

    CString m_strURL; // set by the host; no ready report while empty

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void OnNavigateComplete(LPDISPATCH pDisp, LPCTSTR szUrl) override;
    void OnDocumentComplete(LPDISPATCH pDisp, LPCTSTR szUrl) override;
    STDMETHOD(ShowContextMenu)(DWORD dwID, POINT* ppt, IUnknown* pcmdtReserved, IDispatch* pdispReserved) override;
    STDMETHOD(TranslateAccelerator)(LPMSG lpMsg, const GUID* pguidCmdGroup, DWORD nCmdID) override;
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);

    HRESULT OnButtonCancel(IHTMLElement* pElement);

    DECLARE_MESSAGE_MAP()
    DECLARE_DHTML_EVENT_MAP()

    IWebPageHost* m_pHost;
};

// What sets one web dialog apart from the others.
struct tagWebDialogInfo
{
    LPCSTR pszSection; // in config\Urls.ini
    LPCSTR pszKey;
    int nWidth, nHeight;
    int xPage, yPage, cxPage, cyPage;
    LPCSTR pszCaption;
    bool bPlaceholders; // "<username>", "<password>" and "&&"
    bool bPagePaint;    // the page's area painted light blue while it loads
};

// The skinned host of one page: the page child, and the loading animation
// until the page has loaded.
class CWebPageDialog : public CRgnDialog, public IWebPageHost
{
public:
    explicit CWebPageDialog(const tagWebDialogInfo& info, CWnd* pParent = NULL);
    ~CWebPageDialog() override;

    const CString& GetUrl() const { return m_strURL; }
    CMailHtmlDlg& GetPage() { return m_Page; }
    CWebLoadingDlg& GetLoading() { return m_Loading; }

    void OnPageReady() override;
    void OnPageCancel() override;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void DrawSkinView(CDC* pDC, int cx, int cy) override;
    using CRgnDialog::DrawSkinView;

    const tagWebDialogInfo& m_Info;
    CString m_strURL;
    CMailHtmlDlg m_Page;
    CWebLoadingDlg m_Loading;
};

// In-site mail: one dialog kept by the main frame, its page reloaded each
// time it is shown again.
class CGameMail : public CWebPageDialog
{
public:
    CGameMail();
    // Makes the dialog under the parent the first time; reloads a hidden
    // one; then shows it.
    BOOL ShowMail(CWnd* pParent);
};

class CPromotionDlg : public CWebPageDialog
{
public:
    explicit CPromotionDlg(CWnd* pParent = NULL);
};

class CCardRecharge : public CWebPageDialog
{
public:
    explicit CCardRecharge(CWnd* pParent = NULL);
};
