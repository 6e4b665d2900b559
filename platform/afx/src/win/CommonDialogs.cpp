// The file and colour dialogs.
#include "AfxImpl.h"
#include <afxdlgs.h>

IMPLEMENT_DYNAMIC(CCommonDialog, CDialog)
IMPLEMENT_DYNAMIC(CFileDialog, CCommonDialog)
IMPLEMENT_DYNAMIC(CColorDialog, CCommonDialog)

BOOL CCommonDialog::RespondModal(LPCTSTR lpszCaption, INT_PTR& nResult)
{
    if (!AfxHasModalResponder())
        return FALSE;
    AFX_MODAL_REQUEST request;
    request.nKind = afxModalCommonDialog;
    request.strClassName = GetRuntimeClass()->m_lpszClassName;
    request.strCaption = lpszCaption != NULL ? lpszCaption : "";
    request.pObject = this;
    request.hWndOwner = m_pParentWnd->GetSafeHwnd();
    return AfxModalRespond(request, nResult);
}

CFileDialog::CFileDialog(BOOL bOpenFileDialog, LPCTSTR lpszDefExt, LPCTSTR lpszFileName, DWORD dwFlags,
                         LPCTSTR lpszFilter, CWnd* pParentWnd, DWORD, BOOL)
    : CCommonDialog(pParentWnd), m_bOpenFileDialog(bOpenFileDialog)
{
    memset(&m_ofn, 0, sizeof(m_ofn));
    m_szFileName[0] = '\0';
    m_szFileTitle[0] = '\0';
    m_ofn.lStructSize = sizeof(m_ofn);
    m_ofn.lpstrFile = m_szFileName;
    m_ofn.nMaxFile = MAX_PATH;
    m_ofn.lpstrFileTitle = m_szFileTitle;
    m_ofn.nMaxFileTitle = sizeof(m_szFileTitle);
    m_ofn.Flags = dwFlags | OFN_EXPLORER;
    m_ofn.hInstance = AfxGetResourceHandle();
    if (lpszDefExt != NULL) {
        m_strDefExt = lpszDefExt;
        m_ofn.lpstrDefExt = m_strDefExt;
    }
    if (lpszFileName != NULL)
        lstrcpynA(m_szFileName, lpszFileName, MAX_PATH);
    if (lpszFilter != NULL) {
        // "text|pattern|...||" to the system's NUL-separated form.
        m_strFilter = lpszFilter;
        int nLen = m_strFilter.GetLength();
        LPSTR psz = m_strFilter.GetBuffer(nLen);
        for (int i = 0; i < nLen; i++) {
            if (CString::IsLeadByte((BYTE)psz[i]) && i + 1 < nLen)
                i++; // a '|' inside a double-byte character is not one
            else if (psz[i] == '|')
                psz[i] = '\0';
        }
        m_strFilter.ReleaseBuffer(nLen);
        m_ofn.lpstrFilter = m_strFilter;
    }
}

INT_PTR CFileDialog::DoModal()
{
    INT_PTR nResult = IDCANCEL;
    if (RespondModal(m_ofn.lpstrTitle, nResult))
        return nResult;
    HWND hWndTop = NULL;
    m_ofn.hwndOwner = CWnd::GetSafeOwner_(m_pParentWnd->GetSafeHwnd(), &hWndTop);
    BOOL bResult = m_bOpenFileDialog ? ::GetOpenFileName(&m_ofn) : ::GetSaveFileName(&m_ofn);
    if (hWndTop != NULL)
        ::EnableWindow(hWndTop, TRUE);
    return bResult ? IDOK : IDCANCEL;
}

CString CFileDialog::GetFileName() const
{
    LPCSTR pszName = m_szFileName;
    for (LPCSTR p = m_szFileName; *p; p = ::CharNextA(p)) {
        if (*p == '\\' || *p == '/' || *p == ':')
            pszName = p + 1;
    }
    return pszName;
}

CString CFileDialog::GetFileExt() const
{
    CString strName = GetFileName();
    int nDot = strName.ReverseFind('.');
    return nDot < 0 ? CString() : strName.Mid(nDot + 1);
}

CString CFileDialog::GetFileTitle() const
{
    CString strName = GetFileName();
    int nDot = strName.ReverseFind('.');
    return nDot < 0 ? strName : strName.Left(nDot);
}

COLORREF* PASCAL CColorDialog::GetSavedCustomColors()
{
    static COLORREF s_clrSavedCustom[16] = {
        RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
        RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
        RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
        RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255)};
    return s_clrSavedCustom;
}

CColorDialog::CColorDialog(COLORREF clrInit, DWORD dwFlags, CWnd* pParentWnd) : CCommonDialog(pParentWnd)
{
    memset(&m_cc, 0, sizeof(m_cc));
    m_cc.lStructSize = sizeof(m_cc);
    m_cc.lpCustColors = GetSavedCustomColors();
    m_cc.Flags = dwFlags;
    if ((m_cc.rgbResult = clrInit) != 0)
        m_cc.Flags |= CC_RGBINIT;
}

INT_PTR CColorDialog::DoModal()
{
    INT_PTR nResult = IDCANCEL;
    if (RespondModal(NULL, nResult))
        return nResult;
    HWND hWndTop = NULL;
    m_cc.hwndOwner = CWnd::GetSafeOwner_(m_pParentWnd->GetSafeHwnd(), &hWndTop);
    BOOL bResult = ::ChooseColor(&m_cc);
    if (hWndTop != NULL)
        ::EnableWindow(hWndTop, TRUE);
    return bResult ? IDOK : IDCANCEL;
}
