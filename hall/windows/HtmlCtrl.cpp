#include "HtmlCtrl.h"

#include "HallLinks.h"
#include "core/GlobalUnits.h"

#include <climits>
#include <cstdlib>

namespace
{

// A decimal number as the page wrote it: leading digits, 0 for none,
// clamped to the range of an i32.
INT32 DecimalValue(const CString& strValue)
{
    long nValue = strtol(strValue, NULL, 10);
    if (nValue > INT_MAX)
        return INT_MAX;
    if (nValue < INT_MIN)
        return INT_MIN;
    return (INT32)nValue;
}

// Calls fn for each "key=value" item of text cut at "&". The separators
// are below the GBK trail bytes, so cutting bytes is safe.
template <class Fn> void ForEachItem(LPCSTR pszText, Fn fn)
{
    CString strText = pszText;
    int nStart = 0;
    while (nStart <= strText.GetLength()) {
        int nEnd = strText.Find('&', nStart);
        if (nEnd < 0)
            nEnd = strText.GetLength();
        CString strItem = strText.Mid(nStart, nEnd - nStart);
        int nEqual = strItem.Find('=');
        if (nEqual >= 0)
            fn(strItem.Left(nEqual), strItem.Mid(nEqual + 1));
        else
            fn(strItem, CString());
        nStart = nEnd + 1;
    }
}

// One call on a script object; VT_EMPTY in the result on failure.
HRESULT DispatchCall(IDispatch* pObject, LPCWSTR pszName, WORD wFlags, VARIANT* pArg, VARIANT& result)
{
    ::VariantInit(&result);
    if (pObject == NULL)
        return E_POINTER;
    DISPID dispid = DISPID_UNKNOWN;
    LPOLESTR pszNames = const_cast<LPOLESTR>(pszName);
    HRESULT hr = pObject->GetIDsOfNames(IID_NULL, &pszNames, 1, LOCALE_USER_DEFAULT, &dispid);
    if (FAILED(hr))
        return hr;
    DISPPARAMS params = {pArg, NULL, pArg != NULL ? 1u : 0u, 0};
    return pObject->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, wFlags, &params, &result, NULL, NULL);
}

// The script object a call answers (AddRef'd), or null.
IDispatch* DispatchObject(IDispatch* pObject, LPCWSTR pszName, WORD wFlags, VARIANT* pArg)
{
    VARIANT result;
    if (FAILED(DispatchCall(pObject, pszName, wFlags, pArg, result)))
        return NULL;
    IDispatch* pAnswer = NULL;
    if (V_VT(&result) == VT_DISPATCH && V_DISPATCH(&result) != NULL)
        V_DISPATCH(&result)->QueryInterface(IID_IDispatch, (void**)&pAnswer);
    ::VariantClear(&result);
    return pAnswer;
}

CString DispatchText(IDispatch* pObject, LPCWSTR pszName)
{
    VARIANT result;
    CString strText;
    if (SUCCEEDED(DispatchCall(pObject, pszName, DISPATCH_PROPERTYGET, NULL, result)))
        strText = AfxBrowserVariantText(&result);
    ::VariantClear(&result);
    return strText;
}

bool FileExists(LPCTSTR pszPath)
{
    DWORD dwAttributes = ::GetFileAttributes(pszPath);
    return dwAttributes != INVALID_FILE_ATTRIBUTES && (dwAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// Pages never reach more than this many meta elements; a document that
// claims more is read no further.
const long kMaxMetaElements = 1024;

} // namespace

bool ParseHtmlTitleSize(LPCSTR pszTitle, INT32& nWidth, INT32& nHeight)
{
    if (pszTitle == NULL || pszTitle[0] == '\0')
        return false;
    INT32 nW = 0, nH = 0;
    ForEachItem(pszTitle, [&](const CString& strKey, const CString& strValue) {
        if (strKey.CompareNoCase("width") == 0)
            nW = DecimalValue(strValue);
        else if (strKey.CompareNoCase("height") == 0)
            nH = DecimalValue(strValue);
    });
    if (nW == 0 || nH == 0)
        return false;
    nWidth = nW;
    nHeight = nH;
    return true;
}

tagHtmlWindowSize ParseHtmlWindowCustom(LPCSTR pszContent)
{
    tagHtmlWindowSize size = {0, 0, 0, 0, 0, 1};
    if (pszContent == NULL || pszContent[0] == '\0')
        return size;
    if (strchr(pszContent, '&') != NULL) {
        ForEachItem(pszContent, [&](const CString& strKey, const CString& strValue) {
            if (strKey.CompareNoCase("width") == 0)
                size.nWidth = DecimalValue(strValue);
            else if (strKey.CompareNoCase("height") == 0)
                size.nHeight = DecimalValue(strValue);
            else if (strKey.CompareNoCase("addStyle") == 0)
                size.nAddStyle = DecimalValue(strValue);
            else if (strKey.CompareNoCase("removeStyle") == 0)
                size.nRemoveStyle = DecimalValue(strValue);
            else if (strKey.CompareNoCase("hScroll") == 0)
                size.nHScroll = DecimalValue(strValue) != 0 ? 1 : 0;
            else if (strKey.CompareNoCase("vScroll") == 0)
                size.nVScroll = DecimalValue(strValue) != 0 ? 1 : 0;
        });
        return size;
    }
    CString strContent = pszContent;
    int nComma = strContent.Find(',');
    if (nComma < 0) {
        size.nWidth = DecimalValue(strContent);
        return size;
    }
    size.nWidth = DecimalValue(strContent.Left(nComma));
    CString strRest = strContent.Mid(nComma + 1);
    int nNext = strRest.Find(',');
    size.nHeight = DecimalValue(nNext < 0 ? strRest : strRest.Left(nNext));
    return size;
}

CString GetDocumentMetaContent(IDispatch* pDocument, LPCSTR pszName)
{
    if (pDocument == NULL || pszName == NULL)
        return CString();
    VARIANT tag;
    ::VariantInit(&tag);
    V_VT(&tag) = VT_BSTR;
    V_BSTR(&tag) = ::SysAllocString(L"meta");
    IDispatch* pMetas = DispatchObject(pDocument, L"getElementsByTagName", DISPATCH_METHOD, &tag);
    ::VariantClear(&tag);
    if (pMetas == NULL)
        return CString();

    CString strContent;
    VARIANT length;
    long nCount = 0;
    if (SUCCEEDED(DispatchCall(pMetas, L"length", DISPATCH_PROPERTYGET, NULL, length)) &&
        SUCCEEDED(::VariantChangeType(&length, &length, 0, VT_I4)))
        nCount = V_I4(&length);
    ::VariantClear(&length);
    if (nCount > kMaxMetaElements)
        nCount = kMaxMetaElements;
    for (long i = 0; i < nCount; ++i) {
        VARIANT index;
        ::VariantInit(&index);
        V_VT(&index) = VT_I4;
        V_I4(&index) = i;
        IDispatch* pMeta = DispatchObject(pMetas, L"item", DISPATCH_METHOD | DISPATCH_PROPERTYGET, &index);
        if (pMeta == NULL)
            continue;
        bool bFound = DispatchText(pMeta, L"name") == pszName;
        if (bFound)
            strContent = DispatchText(pMeta, L"content");
        pMeta->Release();
        if (bFound)
            break;
    }
    pMetas->Release();
    return strContent;
}

// ------------------------------------------------------------------ CHtmlCtrl

IMPLEMENT_DYNCREATE(CHtmlCtrl, CHtmlView)

CHtmlCtrl::CHtmlCtrl() : m_dwHostFlags(0)
{
    EnableAutomation();
}

CHtmlCtrl::~CHtmlCtrl() {}

BOOL CHtmlCtrl::CreateFromStatic(UINT nID, CWnd* pParent)
{
    if (pParent == NULL || pParent->GetSafeHwnd() == NULL)
        return FALSE;
    CWnd* pStatic = pParent->GetDlgItem(nID);
    if (pStatic == NULL)
        return FALSE;
    CRect rc;
    pStatic->GetWindowRect(&rc);
    pParent->ScreenToClient(&rc);
    pStatic->DestroyWindow();
    return Create(NULL, NULL, WS_CHILD | WS_VISIBLE, rc, pParent, nID);
}

CString CHtmlCtrl::GetMetaContent(LPCSTR pszName) const
{
    IDispatch* pDocument = GetHtmlDocument();
    if (pDocument == NULL)
        return CString();
    CString strContent = GetDocumentMetaContent(pDocument, pszName);
    pDocument->Release();
    return strContent;
}

void CHtmlCtrl::NotifyParent(UINT nCode, const tagHtmlWindowSize* pSize)
{
    CWnd* pParent = GetParent();
    if (pParent == NULL)
        return;
    tagHtmlCtrlNotify notify = {};
    notify.hdr.hwndFrom = m_hWnd;
    notify.hdr.idFrom = GetDlgCtrlID();
    notify.hdr.code = nCode;
    if (pSize != NULL)
        notify.size = *pSize;
    pParent->SendMessage(WM_NOTIFY, (WPARAM)notify.hdr.idFrom, (LPARAM)&notify);
}

HRESULT CHtmlCtrl::OnGetHostInfo(DOCHOSTUIINFO* pInfo)
{
    pInfo->dwFlags = m_dwHostFlags;
    return S_OK;
}

void CHtmlCtrl::OnNavigateComplete2(LPCTSTR strURL)
{
    CString strContent = GetMetaContent("window-custom");
    if (!strContent.IsEmpty()) {
        tagHtmlWindowSize size = ParseHtmlWindowCustom(strContent);
        NotifyParent(HTMLCTRL_WINDOW_SIZE, &size);
    }
    NotifyParent(HTMLCTRL_NAVIGATE_COMPLETE);
    CHtmlView::OnNavigateComplete2(strURL);
}

void CHtmlCtrl::OnBeforeNavigate2(LPCTSTR lpszURL, DWORD, LPCTSTR, CByteArray&, LPCTSTR, BOOL* pbCancel)
{
    if (CHallLinks::Handle(lpszURL))
        *pbCancel = TRUE;
}

void CHtmlCtrl::OnTitleChange(LPCTSTR lpszText)
{
    CHtmlView::OnTitleChange(lpszText);
    tagHtmlWindowSize size = {0, 0, 0, 0, 0, 0};
    if (ParseHtmlTitleSize(lpszText, size.nWidth, size.nHeight))
        NotifyParent(HTMLCTRL_WINDOW_SIZE, &size);
}

void CHtmlCtrl::OnNewWindow2(LPDISPATCH* ppDisp, BOOL* Cancel)
{
    IDispatch* pDisp = CNewWindowHtmlCtrl::GetNewWindowDispatch();
    if (pDisp == NULL) {
        // Nowhere to take the window: the page opens none.
        *Cancel = TRUE;
        return;
    }
    *ppDisp = pDisp;
}

void CHtmlCtrl::OnNavigateError(LPCTSTR lpszURL, LPCTSTR lpszFrame, DWORD dwError, BOOL* pbCancel)
{
    NotifyParent(HTMLCTRL_NAVIGATE_ERROR);
    CHtmlView::OnNavigateError(lpszURL, lpszFrame, dwError, pbCancel);
    if (!m_strErrorPage.IsEmpty() && FileExists(m_strErrorPage))
        Navigate2(m_strErrorPage);
}

// ------------------------------------------------------------------ CNewWindowHtmlCtrl

IMPLEMENT_DYNCREATE(CNewWindowHtmlCtrl, CHtmlCtrl)

CNewWindowHtmlCtrl& CNewWindowHtmlCtrl::Instance()
{
    // Lives to the end of the program; its window goes with the main window.
    static CNewWindowHtmlCtrl* s_pInstance = new CNewWindowHtmlCtrl;
    return *s_pInstance;
}

IDispatch* CNewWindowHtmlCtrl::GetNewWindowDispatch()
{
    CNewWindowHtmlCtrl& ctrl = Instance();
    if (ctrl.GetSafeHwnd() == NULL) {
        CWnd* pMainWnd = AfxGetMainWnd();
        if (pMainWnd == NULL || pMainWnd->GetSafeHwnd() == NULL)
            return NULL;
        if (!ctrl.Create(NULL, NULL, WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), pMainWnd, 0))
            return NULL;
    }
    if (ctrl.m_pBrowserApp == NULL)
        return NULL;
    IDispatch* pDisp = NULL;
    if (FAILED(ctrl.m_pBrowserApp->QueryInterface(IID_IDispatch, (void**)&pDisp)))
        return NULL;
    return pDisp;
}

void CNewWindowHtmlCtrl::OnBeforeNavigate2(LPCTSTR lpszURL, DWORD, LPCTSTR, CByteArray&, LPCTSTR, BOOL* pbCancel)
{
    // Only web addresses go on to the browser: a page must not start local
    // programs or other schemes through the shell.
    if (!CHallLinks::Handle(lpszURL) && CHallLinks::IsWebAddress(lpszURL))
        OpenUrlInBrowser(lpszURL, SW_SHOWNORMAL);
    *pbCancel = TRUE;
}
