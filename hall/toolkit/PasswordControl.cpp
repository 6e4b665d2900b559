#include "PasswordControl.h"

#include "GlobalUnits.h"

#include <string.h>

IMPLEMENT_DYNAMIC(CPasswordControl, CWnd)

BEGIN_MESSAGE_MAP(CPasswordControl, CWnd)
    ON_WM_PAINT()
    ON_WM_NCPAINT()
    ON_WM_ERASEBKGND()
    ON_WM_SETFOCUS()
END_MESSAGE_MAP()

namespace
{
const COLORREF kFill = 0x996500;
const COLORREF kOuter = 0x69645C;
const COLORREF kInner = 0x996500;
const COLORREF kDisabledInner = 0xD8D5EC;
const COLORREF kDisabledOuter = 0xA0A0A0;
const int kButtonWidth = 21;
const int kHeight = 22;
const char kPlaceholder[] = "********";

// At most n bytes of text without cutting a double-byte character in two.
void CopyCut(char* pszOut, LPCSTR lpszText, int n)
{
    int i = 0;
    while (lpszText != NULL && lpszText[i] != 0 && i < n) {
        if (::IsDBCSLeadByte((BYTE)lpszText[i])) {
            if (i + 1 >= n || lpszText[i + 1] == 0)
                break;
            pszOut[i] = lpszText[i];
            ++i;
        }
        pszOut[i] = lpszText[i];
        ++i;
    }
    pszOut[i] = 0;
}
} // namespace

CPasswordControl::CPasswordControl() : m_bModified(FALSE), m_bPlaceholderShown(FALSE)
{
    memset(m_szPassword, 0, sizeof(m_szPassword));
}

CPasswordControl::~CPasswordControl() {}

void CPasswordControl::PreSubclassWindow()
{
    CWnd::PreSubclassWindow();
    CRect rcClient;
    GetClientRect(&rcClient);

    CString strPicture = g_GlobalUnits.GetResourceDirectory();
    if (!strPicture.IsEmpty() && strPicture[strPicture.GetLength() - 1] != '\\')
        strPicture += '\\';
    strPicture += "logon\\KeyBoard\\BT_KEYBOARD.bmp";
    m_keyboardButton.Create("", WS_CHILD | WS_VISIBLE, CRect(0, 0, kButtonWidth, kHeight), this, IDC_KEYBOARD_BUTTON);
    m_keyboardButton.SetButtonImage(strPicture);

    m_edit.Create(WS_CHILD | WS_VISIBLE | ES_PASSWORD | ES_AUTOHSCROLL,
                  CRect(1, 1, rcClient.Width() - kButtonWidth, rcClient.Height() + 2), this, IDC_PASSWORD_EDIT);
    m_edit.LimitText(maxPassword);
    CFont* pFont = g_GlobalUnits.GetFont();
    if (pFont != NULL && pFont->GetSafeHandle() != NULL)
        m_edit.SetFont(pFont);

    CRect rcWindow;
    GetWindowRect(&rcWindow);
    SetWindowPos(NULL, 0, 0, rcWindow.Width(), kHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    GetClientRect(&rcClient);
    m_keyboardButton.SetWindowPos(NULL, rcClient.Width() - kButtonWidth, 0, 0, 0,
                                  SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CPasswordControl::GetPassword(char szPassword[maxPassword + 1])
{
    if (m_bModified && m_edit.GetSafeHwnd() != NULL) {
        char szText[maxPassword * 2 + 2] = "";
        m_edit.GetWindowText(szText, sizeof(szText));
        CopyCut(m_szPassword, szText, maxPassword);
        m_bModified = FALSE;
    }
    memcpy(szPassword, m_szPassword, maxPassword + 1);
}

void CPasswordControl::SetPassword(LPCSTR lpszPassword)
{
    CopyCut(m_szPassword, lpszPassword, maxPassword);
    if (m_edit.GetSafeHwnd() != NULL)
        m_edit.SetWindowText(m_szPassword[0] != 0 ? kPlaceholder : "");
    m_bModified = FALSE;
    m_bPlaceholderShown = TRUE;
}

void CPasswordControl::EnableControl(BOOL bEnable)
{
    if (m_edit.GetSafeHwnd() != NULL)
        m_edit.EnableWindow(bEnable);
    if (m_keyboardButton.GetSafeHwnd() != NULL)
        m_keyboardButton.EnableWindow(bEnable);
    if (m_hWnd != NULL)
        SetWindowPos(NULL, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

CEdit* CPasswordControl::GetEditCtrl()
{
    return m_edit.GetSafeHwnd() != NULL ? &m_edit : NULL;
}

void CPasswordControl::LimitText(int nChars)
{
    if (m_edit.GetSafeHwnd() != NULL)
        m_edit.SendMessage(EM_LIMITTEXT, (WPARAM)nChars, 0);
}

void CPasswordControl::OpenKeyboard()
{
    if (m_bPlaceholderShown) {
        m_edit.SetWindowText("");
        m_bPlaceholderShown = FALSE;
    }
    m_keyboard.SetTargetEdit(m_edit.GetSafeHwnd());
    if (m_keyboard.GetSafeHwnd() == NULL && !m_keyboard.Create(CPasswordKeyboard::IDD, this))
        return;
    CRect rcWindow;
    GetWindowRect(&rcWindow);
    m_keyboard.SetWindowPos(NULL, rcWindow.left, rcWindow.bottom, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
    // It closes when the focus leaves it, so it must hold the focus first.
    m_keyboard.SetFocus();
}

BOOL CPasswordControl::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == IDC_PASSWORD_EDIT && HIWORD(wParam) == EN_CHANGE) {
        m_bModified = TRUE;
        m_bPlaceholderShown = FALSE;
        CWnd* pParent = GetParent();
        if (pParent != NULL)
            pParent->SendMessage(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), EN_CHANGE), (LPARAM)m_hWnd);
        return TRUE;
    }
    if (LOWORD(wParam) == IDC_KEYBOARD_BUTTON && HIWORD(wParam) == BN_CLICKED) {
        OpenKeyboard();
        return TRUE;
    }
    return CWnd::OnCommand(wParam, lParam);
}

void CPasswordControl::OnPaint()
{
    CPaintDC dc(this);
    CRect rc;
    GetClientRect(&rc);
    dc.FillSolidRect(&rc, kFill);
}

void CPasswordControl::OnNcPaint()
{
    Default();
    CWindowDC dc(this);
    CRect rc;
    GetWindowRect(&rc);
    rc.OffsetRect(-rc.left, -rc.top);
    const BOOL bEnabled = m_edit.GetSafeHwnd() == NULL || m_edit.IsWindowEnabled();
    CBrush outer(bEnabled ? kOuter : kDisabledOuter);
    CBrush inner(bEnabled ? kInner : kDisabledInner);
    dc.FrameRect(&rc, &outer);
    rc.DeflateRect(1, 1);
    dc.FrameRect(&rc, &inner);
}

BOOL CPasswordControl::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CPasswordControl::OnSetFocus(CWnd*)
{
    if (m_edit.GetSafeHwnd() != NULL) {
        m_edit.SetFocus();
        m_edit.SetSel(0, -1);
    }
}
