#include "SkinDialogTemplate.h"
#include "TextUnit.h"

#include <afxtest.h>
#include <string.h>

IMPLEMENT_DYNAMIC(CSkinDialogTemplate, CRgnDialog)

BEGIN_MESSAGE_MAP(CSkinDialogTemplate, CRgnDialog)
    ON_WM_TIMER()
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

namespace
{
BOOL CallWinHelp(HWND hWnd, LPCSTR lpszHelpFile, UINT uCommand, ULONG_PTR dwData)
{
    return ::WinHelpA(hWnd, lpszHelpFile, uCommand, dwData);
}

CSkinDialogTemplate::WinHelpCall g_winHelp = &CallWinHelp;
UINT g_nTimerPeriod = 1000;

// The icon static only ever paints its icon.
LRESULT CALLBACK IconProc(HWND hWnd, UINT message, WPARAM, LPARAM)
{
    if (message == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC hdc = ::BeginPaint(hWnd, &ps);
        HICON hIcon = (HICON)::GetWindowLongPtrA(hWnd, GWLP_USERDATA);
        if (hIcon != NULL)
            ::DrawIcon(hdc, 0, 0, hIcon);
        ::EndPaint(hWnd, &ps);
    }
    return 0;
}

BOOL CALLBACK CancelModeProc(HWND hWnd, LPARAM)
{
    ::SendMessage(hWnd, WM_CANCELMODE, 0, 0);
    return TRUE;
}

bool IsStatic(HWND hWnd)
{
    char szClass[16] = "";
    ::GetClassNameA(hWnd, szClass, sizeof(szClass));
    return lstrcmpiA(szClass, "Static") == 0;
}

bool IsPushButton(HWND hWnd)
{
    char szClass[16] = "";
    ::GetClassNameA(hWnd, szClass, sizeof(szClass));
    if (lstrcmpiA(szClass, "Button") != 0)
        return false;
    DWORD dwType = (DWORD)::GetWindowLongA(hWnd, GWL_STYLE) & BS_TYPEMASK;
    return dwType == BS_PUSHBUTTON || dwType == BS_DEFPUSHBUTTON;
}
} // namespace

CSkinDialogTemplate::WinHelpCall CSkinDialogTemplate::SetWinHelpCall(WinHelpCall call)
{
    WinHelpCall old = g_winHelp;
    g_winHelp = call != NULL ? call : &CallWinHelp;
    return old;
}

UINT CSkinDialogTemplate::SetTimerPeriod(UINT nMilliseconds)
{
    UINT nOld = g_nTimerPeriod;
    g_nTimerPeriod = nMilliseconds;
    return nOld;
}

CSkinDialogTemplate::CSkinDialogTemplate(HWND hWndOwner, LPCSTR lpszText, LPCSTR lpszCaption, UINT nStyle,
                                         const MsgBoxParams* pParams, const MsgBoxSkin* pSkin)
    : CBoxDialogTemplate(hWndOwner, lpszText, lpszCaption, nStyle, pParams), m_nButtons(0), m_nHtmlStatics(0),
      m_bCaptionSaved(FALSE)
{
    memset(m_buttons, 0, sizeof(m_buttons));
    memset(m_htmlStatics, 0, sizeof(m_htmlStatics));
    m_szDefaultCaption[0] = 0;
    m_szButtonImage[0] = 0;
    if (pSkin != NULL) {
        for (int i = SKIN_TL; i <= SKIN_BACK; ++i) {
            if (pSkin->paths[i][0] != 0)
                GetSkinImage(i)->SetLoadInfo(pSkin->paths[i], false);
        }
        if (pSkin->paths[MSGBOX_SKIN_CLOSE][0] != 0)
            m_ImageClose.SetLoadInfo(pSkin->paths[MSGBOX_SKIN_CLOSE], false);
        TextCopyPath(m_szButtonImage, MAX_PATH, pSkin->paths[MSGBOX_SKIN_BUTTON]);
    }
}

CSkinDialogTemplate::~CSkinDialogTemplate()
{
    for (int i = 0; i < m_nButtons; ++i)
        delete m_buttons[i];
    for (int i = 0; i < m_nHtmlStatics; ++i)
        delete m_htmlStatics[i];
}

INT_PTR CSkinDialogTemplate::Display()
{
    HGLOBAL hTemplate = CreateTemplate();
    if (hTemplate == NULL)
        return IDCANCEL;
    InitModalIndirect(hTemplate, CWnd::FromHandle(m_hWndOwner));
    INT_PTR nModal = DoModal();
    ::GlobalFree(hTemplate);
    // A box ended from outside (a test's responder) has no command result.
    return m_nResult != -1 ? m_nResult : nModal;
}

void CSkinDialogTemplate::EnableCloseCommand(BOOL bEnable)
{
    CMenu* pMenu = GetSystemMenu(FALSE);
    if (pMenu != NULL)
        pMenu->EnableMenuItem(SC_CLOSE, MF_BYCOMMAND | (bEnable ? MF_ENABLED : MF_GRAYED));
}

BOOL CSkinDialogTemplate::OnInitDialog()
{
    CRgnDialog::OnInitDialog();

    // 1. Statics from the text on: the font; the text as HTML when it had links.
    for (UINT nID = IDMSGBOXTEXT; nID < m_nNextStaticId; ++nID) {
        CWnd* pWnd = GetDlgItem(nID);
        if (pWnd == NULL)
            continue;
        pWnd->SetFont(&m_font);
        if (IsPushButton(pWnd->m_hWnd) && m_nButtons < maxItems) {
            CRgnButton* pButton = new CRgnButton;
            m_buttons[m_nButtons++] = pButton;
            pButton->SubclassDlgItem(nID, this);
        } else if (m_bHasLinks && IsStatic(pWnd->m_hWnd) && m_nHtmlStatics < maxItems) {
            CHtmlTextStatic* pHtml = new CHtmlTextStatic;
            m_htmlStatics[m_nHtmlStatics++] = pHtml;
            if (pHtml->SubclassDlgItem(nID, this)) {
                pHtml->SetBkColour(RGB(0xD3, 0xE9, 0xF6));
                pHtml->SetWindowText(m_strLinkedText);
            }
        }
    }

    // 2. The push buttons of ids 1-26.
    for (UINT nID = 1; nID <= IDCUSTOM4; ++nID) {
        CWnd* pWnd = GetDlgItem(nID);
        if (pWnd == NULL)
            continue;
        pWnd->SetFont(&m_font);
        if (IsPushButton(pWnd->m_hWnd) && m_nButtons < maxItems) {
            CRgnButton* pButton = new CRgnButton;
            m_buttons[m_nButtons++] = pButton;
            pButton->SubclassDlgItem(nID, this);
            if (m_szButtonImage[0] != 0)
                pButton->LoadRgnImage(m_szButtonImage, RGB(255, 0, 255));
        }
        if (m_nDisabledSeconds > 0)
            pWnd->EnableWindow(FALSE);
    }
    if (m_nDisabledSeconds > 0)
        EnableCloseCommand(FALSE);

    // 3. Help, the check box and Report: plain region buttons.
    const UINT plain[] = {IDHELPBUTTON, IDMSGBOXCHECK, IDREPORT};
    for (UINT nID : plain) {
        CWnd* pWnd = GetDlgItem(nID);
        if (pWnd == NULL || m_nButtons >= maxItems)
            continue;
        pWnd->SetFont(&m_font);
        CRgnButton* pButton = new CRgnButton;
        m_buttons[m_nButtons++] = pButton;
        pButton->SubclassDlgItem(nID, this);
        if (nID == IDMSGBOXCHECK)
            pButton->SetCheck(BST_UNCHECKED);
    }

    // 4. Focus on the default button; no close without Cancel or a lone OK.
    CWnd* pDefault = GetDlgItem(m_nDefaultId);
    if (pDefault != NULL)
        GotoDlgCtrl(pDefault);
    if (!(m_dwFlags & (flagHasCancel | flagOkOnly)))
        EnableCloseCommand(FALSE);

    // 5. The icon.
    CWnd* pIcon = GetDlgItem(IDMSGBOXICON);
    if (pIcon != NULL && m_hIcon != NULL) {
        ::SetWindowLongPtrA(pIcon->m_hWnd, GWLP_USERDATA, (LONG_PTR)m_hIcon);
        ::SetWindowLongPtrA(pIcon->m_hWnd, GWLP_WNDPROC, (LONG_PTR)&IconProc);
    }

    // 6, 7. Z-order and place.
    if (m_nStyle & MB_TOPMOST)
        SetWindowPos(&CWnd::wndTopMost, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    if (m_nStyle & MB_SETFOREGROUND)
        SetForegroundWindow();
    if (m_x != 0 || m_y != 0)
        SetWindowPos(NULL, m_x, m_y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    else
        CenterWindow(GetParent());

    // 8. Timers, and nothing else of the program keeps a mouse capture.
    if (m_nTimeoutSeconds > 0)
        SetTimer(timerCountdown, g_nTimerPeriod, NULL);
    if (m_nDisabledSeconds > 0)
        SetTimer(timerDisabled, g_nTimerPeriod, NULL);
    SetForegroundWindow();
    CWnd* pMain = AfxGetMainWnd();
    if (pMain != NULL && pMain->GetSafeHwnd() != NULL)
        ::EnumChildWindows(pMain->m_hWnd, &CancelModeProc, 0);
    return FALSE;
}

void CSkinDialogTemplate::RestoreDefaultCaption()
{
    if (m_bCaptionSaved)
        SetDlgItemText(m_nDefaultId, m_szDefaultCaption);
}

void CSkinDialogTemplate::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == timerCountdown) {
        if (m_nTimeoutSeconds < 1) {
            KillTimer(timerCountdown);
            SendMessage(WM_COMMAND, (WPARAM)(m_nDefaultId | XMB_TIMEOUT), 0);
            return;
        }
        if (!m_bCaptionSaved) {
            GetDlgItemText(m_nDefaultId, m_szDefaultCaption, sizeof(m_szDefaultCaption));
            m_bCaptionSaved = TRUE;
        }
        CString strCaption;
        strCaption.Format("%s (%d)", m_szDefaultCaption, m_nTimeoutSeconds);
        SetDlgItemText(m_nDefaultId, strCaption);
        --m_nTimeoutSeconds;
        return;
    }
    if (nIDEvent == timerDisabled) {
        if (m_nDisabledSeconds > 0) {
            CString strTitle;
            strTitle.Format("%s %d", m_pszCaption, m_nDisabledSeconds);
            SetWindowText(strTitle);
            --m_nDisabledSeconds;
            return;
        }
        KillTimer(timerDisabled);
        for (UINT nID = 1; nID <= IDCUSTOM4; ++nID) {
            CWnd* pWnd = GetDlgItem(nID);
            if (pWnd != NULL)
                pWnd->EnableWindow(TRUE);
        }
        if (m_dwFlags & (flagHasCancel | flagOkOnly))
            EnableCloseCommand(TRUE);
        SetWindowText(m_pszCaption);
        RedrawWindow();
        return;
    }
    CRgnDialog::OnTimer(nIDEvent);
}

BOOL CSkinDialogTemplate::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const UINT nCommand = (UINT)wParam;
    // Controls see their own notifications first (the HTML static follows
    // its link, the skin's close button closes).
    if (lParam != 0 && ReflectLastMsg((HWND)lParam))
        return TRUE;

    KillTimer(timerCountdown);
    RestoreDefaultCaption();

    switch (nCommand) {
    case IDHELPBUTTON: {
        char szHelp[MAX_PATH];
        DWORD n = ::GetModuleFileNameA(NULL, szHelp, MAX_PATH - 4);
        szHelp[n] = 0;
        char* pDot = strrchr(szHelp, '.');
        char* pSlash = strrchr(szHelp, '\\');
        if (pDot != NULL && (pSlash == NULL || pDot > pSlash))
            *pDot = 0;
        lstrcatA(szHelp, ".hlp");
        if (m_dwHelpId > 0)
            g_winHelp(m_hWnd, szHelp, HELP_CONTEXT, m_dwHelpId);
        else
            g_winHelp(m_hWnd, szHelp, HELP_PARTIALKEY, (ULONG_PTR) "");
        return TRUE;
    }
    case IDCANCEL:
        if (m_dwFlags & flagHasCancel) {
            m_nResult = IDCANCEL;
            EndDialog(IDCANCEL);
        } else if (m_dwFlags & flagOkOnly) {
            m_nResult = IDOK;
            EndDialog(IDOK);
        }
        return TRUE;
    case IDCLOSE:
    case IDMSGBOXCHECK: return TRUE;
    case IDREPORT:
        if (m_pfnReport != NULL)
            m_pfnReport(m_pszText, m_dwReportData);
        return TRUE;
    default: break;
    }

    if ((lParam != 0 && IsStatic((HWND)lParam)) || nCommand == 0x000103E9)
        return TRUE;
    DWORD dwResult = nCommand;
    CWnd* pCheck = GetDlgItem(IDMSGBOXCHECK);
    if (pCheck != NULL && ::SendMessage(pCheck->m_hWnd, BM_GETCHECK, 0, 0) == BST_CHECKED) {
        if (m_dwFlags & flagCheckAsk)
            dwResult |= XMB_DONTASKAGAIN;
        else if (m_dwFlags & flagCheckTell)
            dwResult |= XMB_DONTTELLAGAIN;
        else if (m_dwFlags & flagCheckShow)
            dwResult |= XMB_DONTSHOWAGAIN;
        if (!m_strAnswerKey.IsEmpty())
            WriteMsgBoxAnswer(m_szCompanyName, m_strAnswerKey, m_nAnswerKeyNumber, dwResult);
    }
    m_nResult = (int)dwResult;
    EndDialog((int)dwResult);
    return TRUE;
}

HBRUSH CSkinDialogTemplate::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    HBRUSH hBrush = CRgnDialog::OnCtlColor(pDC, pWnd, nCtlColor);
    if (nCtlColor == CTLCOLOR_STATIC)
        pDC->SetTextColor(m_crText != 0xFFFFFFFF ? m_crText : ::GetSysColor(COLOR_WINDOWTEXT));
    return hBrush;
}
