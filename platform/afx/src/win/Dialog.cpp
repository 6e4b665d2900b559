// CDialog: modal and modeless dialogs from templates, and data exchange.
#include "AfxImpl.h"
#include <afxpriv.h>

#include <errno.h>
#include <limits.h>
#include <stdio.h>
#include <stdlib.h>

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_MESSAGE(WM_INITDIALOG, HandleInitDialog)
    ON_COMMAND(IDOK, OnOK)
    ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

// The dialog manager's procedure; the messages reach the object through
// AfxWndProc, which subclassed the dialog window when it was created.
static INT_PTR CALLBACK AfxDlgProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

CDialog::CDialog()
    : m_lpszTemplateName(NULL), m_hDialogTemplate(NULL), m_lpDialogTemplate(NULL), m_lpDialogInit(NULL),
      m_pParentWnd(NULL), m_nIDHelp(0), m_hWndTop(NULL)
{}

CDialog::CDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd) : CDialog()
{
    m_lpszTemplateName = lpszTemplateName;
    m_pParentWnd = pParentWnd;
    if (IS_INTRESOURCE(lpszTemplateName))
        m_nIDHelp = LOWORD((DWORD_PTR)lpszTemplateName);
}

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd) : CDialog()
{
    m_lpszTemplateName = MAKEINTRESOURCE(nIDTemplate);
    m_pParentWnd = pParentWnd;
    m_nIDHelp = nIDTemplate;
}

CDialog::~CDialog()
{
    if (m_hWnd != NULL && ::IsWindow(m_hWnd) && FromHandlePermanent(m_hWnd) == this)
        DestroyWindow();
}

// ------------------------------------------------------------------ modeless

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd)
{
    return Create(MAKEINTRESOURCE(nIDTemplate), pParentWnd);
}

BOOL CDialog::Create(LPCTSTR lpszTemplateName, CWnd* pParentWnd)
{
    m_lpszTemplateName = lpszTemplateName;
    if (IS_INTRESOURCE(lpszTemplateName) && m_nIDHelp == 0)
        m_nIDHelp = LOWORD((DWORD_PTR)lpszTemplateName);
    HINSTANCE hInst = AfxFindResourceHandle(lpszTemplateName, RT_DIALOG);
    HRSRC hResource = ::FindResource(hInst, lpszTemplateName, RT_DIALOG);
    if (hResource == NULL)
        return FALSE;
    HGLOBAL hTemplate = ::LoadResource(hInst, hResource);
    LPCDLGTEMPLATE lpTemplate = (LPCDLGTEMPLATE)::LockResource(hTemplate);
    if (lpTemplate == NULL)
        return FALSE;
    return CreateDlgIndirect(lpTemplate, pParentWnd, hInst);
}

BOOL CDialog::CreateIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd, void* lpDialogInit)
{
    m_lpDialogInit = lpDialogInit;
    return CreateDlgIndirect(lpDialogTemplate, pParentWnd, NULL);
}

BOOL CDialog::CreateIndirect(HGLOBAL hDialogTemplate, CWnd* pParentWnd)
{
    LPCDLGTEMPLATE lpTemplate = (LPCDLGTEMPLATE)::GlobalLock(hDialogTemplate);
    if (lpTemplate == NULL)
        return FALSE;
    BOOL bResult = CreateDlgIndirect(lpTemplate, pParentWnd, NULL);
    ::GlobalUnlock(hDialogTemplate);
    return bResult;
}

BOOL CDialog::CreateDlgIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd, HINSTANCE hInst)
{
    if (m_hWnd != NULL || lpDialogTemplate == NULL)
        return FALSE;
    if (hInst == NULL)
        hInst = AfxGetResourceHandle();
    if (pParentWnd == NULL)
        pParentWnd = m_pParentWnd;

    AfxHookWindowCreate(this);
    HWND hWnd = ::CreateDialogIndirectParam(hInst, lpDialogTemplate, pParentWnd->GetSafeHwnd(), AfxDlgProc, 0);
    if (!AfxUnhookWindowCreate()) {
        PostNcDestroy();
        return FALSE;
    }
    if (hWnd == NULL) {
        // OnInitDialog may have made the window fail; never leave it attached.
        if (m_hWnd != NULL)
            DestroyWindow();
        return FALSE;
    }
    return TRUE;
}

LRESULT CDialog::HandleInitDialog(WPARAM, LPARAM)
{
    PreInitDialog();
    return OnInitDialog();
}

BOOL CDialog::OnInitDialog()
{
    // Members into the controls; a failure here is not the user's.
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

BOOL CDialog::PreTranslateMessage(MSG* pMsg)
{
    if (CWnd::PreTranslateMessage(pMsg))
        return TRUE;
    // Tab, arrows, Enter and Esc work as in a dialog box.
    return PreTranslateInput(pMsg);
}

// ------------------------------------------------------------------ modal

BOOL CDialog::InitModalIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd, void* lpDialogInit)
{
    m_lpDialogTemplate = lpDialogTemplate;
    m_pParentWnd = pParentWnd;
    m_lpDialogInit = lpDialogInit;
    return TRUE;
}

BOOL CDialog::InitModalIndirect(HGLOBAL hDialogTemplate, CWnd* pParentWnd)
{
    m_hDialogTemplate = hDialogTemplate;
    m_pParentWnd = pParentWnd;
    return TRUE;
}

INT_PTR CDialog::DoModal()
{
    LPCDLGTEMPLATE lpDialogTemplate = m_lpDialogTemplate;
    HGLOBAL hDialogTemplate = m_hDialogTemplate;
    HINSTANCE hInst = AfxGetResourceHandle();
    bool bLocked = false;
    if (m_lpszTemplateName != NULL) {
        hInst = AfxFindResourceHandle(m_lpszTemplateName, RT_DIALOG);
        HRSRC hResource = ::FindResource(hInst, m_lpszTemplateName, RT_DIALOG);
        if (hResource == NULL)
            return -1;
        hDialogTemplate = ::LoadResource(hInst, hResource);
        lpDialogTemplate = (LPCDLGTEMPLATE)::LockResource(hDialogTemplate);
    } else if (hDialogTemplate != NULL) {
        lpDialogTemplate = (LPCDLGTEMPLATE)::GlobalLock(hDialogTemplate);
        bLocked = lpDialogTemplate != NULL;
    }
    if (lpDialogTemplate == NULL)
        return -1;

    // The owner is disabled for the life of the dialog.
    HWND hWndParent = GetSafeOwner_(m_pParentWnd->GetSafeHwnd(), &m_hWndTop);
    BOOL bEnableParent = FALSE;
    if (hWndParent != NULL && hWndParent != ::GetDesktopWindow() && ::IsWindowEnabled(hWndParent)) {
        ::EnableWindow(hWndParent, FALSE);
        bEnableParent = TRUE;
    }

    m_nModalResult = -1;
    m_nFlags |= WF_CONTINUEMODAL;
    try {
        if (CreateDlgIndirect(lpDialogTemplate, CWnd::FromHandle(hWndParent), hInst)) {
            if (m_nFlags & WF_CONTINUEMODAL) {
                DWORD dwFlags = MLF_SHOWONIDLE;
                if (GetStyle() & DS_NOIDLEMSG)
                    dwFlags |= MLF_NOIDLEMSG;
                RunModalLoop(dwFlags);
            }
            if (m_hWnd != NULL)
                SetWindowPos(NULL, 0, 0, 0, 0,
                             SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
        }
    } catch (...) {
        m_nFlags &= ~WF_CONTINUEMODAL;
        if (bEnableParent)
            ::EnableWindow(hWndParent, TRUE);
        if (m_hWndTop != NULL)
            ::EnableWindow(m_hWndTop, TRUE);
        m_hWndTop = NULL;
        DestroyWindow();
        if (bLocked)
            ::GlobalUnlock(hDialogTemplate);
        throw;
    }
    m_nFlags &= ~WF_CONTINUEMODAL;

    if (bEnableParent)
        ::EnableWindow(hWndParent, TRUE);
    if (hWndParent != NULL && ::GetActiveWindow() == m_hWnd)
        ::SetActiveWindow(hWndParent);
    if (m_hWndTop != NULL)
        ::EnableWindow(m_hWndTop, TRUE);
    m_hWndTop = NULL;

    DestroyWindow();
    if (bLocked)
        ::GlobalUnlock(hDialogTemplate);
    return m_nModalResult;
}

void CDialog::EndDialog(int nResult)
{
    if (m_nFlags & (WF_MODALLOOP | WF_CONTINUEMODAL))
        EndModalLoop(nResult);
    ::EndDialog(m_hWnd, nResult);
}

// ------------------------------------------------------------------ the responder for live dialogs

void AfxRespondModalWindow(CWnd* pWnd)
{
    if (!AfxHasModalResponder())
        return;
    AFX_MODAL_REQUEST request;
    request.nKind = afxModalDialog;
    request.pWnd = pWnd;
    request.pObject = pWnd;
    request.hWndOwner = ::GetWindow(pWnd->m_hWnd, GW_OWNER);
    request.strClassName = pWnd->GetRuntimeClass()->m_lpszClassName;
    pWnd->GetWindowText(request.strCaption);
    CDialog* pDialog = DYNAMIC_DOWNCAST(CDialog, pWnd);
    if (pDialog != NULL && pDialog->m_lpszTemplateName != NULL) {
        if (IS_INTRESOURCE(pDialog->m_lpszTemplateName))
            request.nIDTemplate = LOWORD((DWORD_PTR)pDialog->m_lpszTemplateName);
        else
            request.strTemplateName = pDialog->m_lpszTemplateName;
    }
    HWND hWnd = pWnd->m_hWnd;
    INT_PTR nResult = 0;
    if (!AfxModalRespond(request, nResult))
        return;
    // The responder may have ended or destroyed the dialog already.
    if (::IsWindow(hWnd) && CWnd::FromHandlePermanent(hWnd) == pWnd && pWnd->ContinueModal()) {
        if (pDialog != NULL)
            pDialog->EndDialog((int)nResult);
        else
            pWnd->EndModalLoop((int)nResult);
    }
}

// ------------------------------------------------------------------ data exchange

CDataExchange::CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd), m_idLastControl(0), m_bEditLastControl(FALSE)
{}

HWND CDataExchange::PrepareCtrl(int nIDC)
{
    HWND hWndCtrl = NULL;
    m_pDlgWnd->GetDlgItem(nIDC, &hWndCtrl);
    if (hWndCtrl == NULL)
        AfxThrowNotSupportedException();
    m_idLastControl = nIDC;
    m_bEditLastControl = FALSE;
    return hWndCtrl;
}

HWND CDataExchange::PrepareEditCtrl(int nIDC)
{
    HWND hWndCtrl = PrepareCtrl(nIDC);
    m_bEditLastControl = TRUE;
    return hWndCtrl;
}

void CDataExchange::Fail()
{
    if (!m_bSaveAndValidate)
        AfxThrowUserException();
    if (m_idLastControl != 0) {
        HWND hWndLastControl = NULL;
        m_pDlgWnd->GetDlgItem(m_idLastControl, &hWndLastControl);
        if (hWndLastControl != NULL) {
            ::SetFocus(hWndLastControl);
            if (m_bEditLastControl)
                ::SendMessage(hWndLastControl, EM_SETSEL, 0, -1);
        }
    }
    AfxThrowUserException();
}

static CString AfxGetCtrlText(HWND hWndCtrl)
{
    CString str;
    int nLen = ::GetWindowTextLength(hWndCtrl);
    ::GetWindowText(hWndCtrl, str.GetBuffer(nLen), nLen + 1);
    str.ReleaseBuffer();
    return str;
}

void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = AfxGetCtrlText(hWndCtrl);
    else
        ::SetWindowText(hWndCtrl, value);
}

// Reads a whole number from the control; anything else is the user's mistake.
static bool AfxParseNumber(HWND hWndCtrl, bool bSigned, long long nMin, long long nMax, long long& nValue)
{
    CString str = AfxGetCtrlText(hWndCtrl);
    str.Trim();
    if (str.IsEmpty())
        return false;
    LPCSTR psz = str;
    if (!bSigned && *psz == '-')
        return false;
    char* pEnd = NULL;
    errno = 0;
    long long n = strtoll(psz, &pEnd, 10);
    if (errno != 0 || pEnd == psz || *pEnd != '\0' || n < nMin || n > nMax)
        return false;
    nValue = n;
    return true;
}

static void AfxFailNumber(CDataExchange* pDX)
{
    AfxMessageBox("Please enter an integer.", MB_ICONEXCLAMATION);
    pDX->Fail();
}

template <class T>
static void AfxDDXNumber(CDataExchange* pDX, int nIDC, T& value, bool bSigned, long long nMin, long long nMax)
{
    HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        long long n = 0;
        if (!AfxParseNumber(hWndCtrl, bSigned, nMin, nMax, n))
            AfxFailNumber(pDX);
        value = (T)n;
    } else {
        char sz[32];
        if (bSigned)
            snprintf(sz, sizeof(sz), "%lld", (long long)value);
        else
            snprintf(sz, sizeof(sz), "%llu", (unsigned long long)value);
        ::SetWindowText(hWndCtrl, sz);
    }
}

void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, int& value)
{
    AfxDDXNumber(pDX, nIDC, value, true, INT_MIN, INT_MAX);
}

void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, UINT& value)
{
    AfxDDXNumber(pDX, nIDC, value, false, 0, UINT_MAX);
}

void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, long& value)
{
    AfxDDXNumber(pDX, nIDC, value, true, LONG_MIN, LONG_MAX);
}

void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, DWORD& value)
{
    AfxDDXNumber(pDX, nIDC, value, false, 0, ULONG_MAX);
}

void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, BYTE& value)
{
    AfxDDXNumber(pDX, nIDC, value, false, 0, 255);
}

void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, double& value)
{
    HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        CString str = AfxGetCtrlText(hWndCtrl);
        str.Trim();
        LPCSTR psz = str;
        char* pEnd = NULL;
        double d = strtod(psz, &pEnd);
        if (str.IsEmpty() || pEnd == psz || *pEnd != '\0') {
            AfxMessageBox("Please enter a number.", MB_ICONEXCLAMATION);
            pDX->Fail();
        }
        value = d;
    } else {
        char sz[64];
        snprintf(sz, sizeof(sz), "%.*g", 15, value);
        ::SetWindowText(hWndCtrl, sz);
    }
}

void AFXAPI DDX_Check(CDataExchange* pDX, int nIDC, int& value)
{
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = (int)::SendMessage(hWndCtrl, BM_GETCHECK, 0, 0);
    else
        ::SendMessage(hWndCtrl, BM_SETCHECK, (WPARAM)value, 0);
}

void AFXAPI DDX_Radio(CDataExchange* pDX, int nIDC, int& value)
{
    // The group starts at nIDC; value is the index of the checked button, -1 for none.
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = -1;
    int iButton = 0;
    do {
        if (::SendMessage(hWndCtrl, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) {
            if (pDX->m_bSaveAndValidate) {
                if (::SendMessage(hWndCtrl, BM_GETCHECK, 0, 0) != 0)
                    value = iButton;
            } else {
                ::SendMessage(hWndCtrl, BM_SETCHECK, iButton == value, 0);
            }
            iButton++;
        }
        hWndCtrl = ::GetWindow(hWndCtrl, GW_HWNDNEXT);
    } while (hWndCtrl != NULL && !(::GetWindowLong(hWndCtrl, GWL_STYLE) & WS_GROUP));
}

void AFXAPI DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index)
{
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        index = (int)::SendMessage(hWndCtrl, CB_GETCURSEL, 0, 0);
    else
        ::SendMessage(hWndCtrl, CB_SETCURSEL, (WPARAM)index, 0);
}

void AFXAPI DDX_CBString(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        value = AfxGetCtrlText(hWndCtrl);
    } else if (::SendMessage(hWndCtrl, CB_SELECTSTRING, (WPARAM)-1, (LPARAM)(LPCSTR)value) == CB_ERR) {
        ::SetWindowText(hWndCtrl, value);
    }
}

void AFXAPI DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index)
{
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        index = (int)::SendMessage(hWndCtrl, LB_GETCURSEL, 0, 0);
    else
        ::SendMessage(hWndCtrl, LB_SETCURSEL, (WPARAM)index, 0);
}

void AFXAPI DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl)
{
    if (rControl.m_hWnd == NULL) {
        HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
        if (!rControl.SubclassWindow(hWndCtrl))
            AfxThrowNotSupportedException();
    }
}

void AFXAPI DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars)
{
    if (pDX->m_bSaveAndValidate && value.GetLength() > nChars) {
        char sz[96];
        snprintf(sz, sizeof(sz), "Enter no more than %d characters.", nChars);
        AfxMessageBox(sz, MB_ICONEXCLAMATION);
        pDX->Fail();
    } else if (!pDX->m_bSaveAndValidate && pDX->m_idLastControl != 0 && pDX->m_bEditLastControl) {
        HWND hWndLastControl = NULL;
        pDX->m_pDlgWnd->GetDlgItem(pDX->m_idLastControl, &hWndLastControl);
        ::SendMessage(hWndLastControl, EM_LIMITTEXT, (WPARAM)nChars, 0);
    }
}
