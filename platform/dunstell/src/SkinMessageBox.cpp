#include "SkinMessageBox.h"
#include "RgnButton.h"
#include "RgnDialog.h"
#include "SkinAttribute.h"

#include <afxtest.h>

#include <algorithm>
#include <vector>

namespace
{
const int kMargin = 16;
const int kIconSize = 32;
const int kIconGap = 12;
const int kTextMaxWidth = 360;
const int kButtonWidth = 75;
const int kButtonHeight = 24;
const int kButtonGap = 8;
const UINT kIconId = 0x7FE0;
const UINT kTextId = 0x7FE1;

const char* const kDefaultCaptions[SKINMB_CAPTION_COUNT] = {"确定", "取消", "是", "否", "终止", "重试", "忽略"};

struct ButtonDef
{
    UINT nID;
    int nCaption;
};

// The buttons of a style, left to right.
std::vector<ButtonDef> ButtonsOf(UINT nType)
{
    switch (nType & MB_TYPEMASK) {
    case MB_OKCANCEL: return {{IDOK, SKINMB_CAPTION_OK}, {IDCANCEL, SKINMB_CAPTION_CANCEL}};
    case MB_ABORTRETRYIGNORE:
        return {{IDABORT, SKINMB_CAPTION_ABORT}, {IDRETRY, SKINMB_CAPTION_RETRY}, {IDIGNORE, SKINMB_CAPTION_IGNORE}};
    case MB_YESNOCANCEL:
        return {{IDYES, SKINMB_CAPTION_YES}, {IDNO, SKINMB_CAPTION_NO}, {IDCANCEL, SKINMB_CAPTION_CANCEL}};
    case MB_YESNO: return {{IDYES, SKINMB_CAPTION_YES}, {IDNO, SKINMB_CAPTION_NO}};
    case MB_RETRYCANCEL: return {{IDRETRY, SKINMB_CAPTION_RETRY}, {IDCANCEL, SKINMB_CAPTION_CANCEL}};
    default: return {{IDOK, SKINMB_CAPTION_OK}};
    }
}

LPCTSTR SystemIconOf(UINT nType)
{
    switch (nType & MB_ICONMASK) {
    case MB_ICONHAND: return IDI_HAND;
    case MB_ICONQUESTION: return IDI_QUESTION;
    case MB_ICONEXCLAMATION: return IDI_EXCLAMATION;
    case MB_ICONASTERISK: return IDI_ASTERISK;
    default: return NULL;
    }
}

class CSkinMessageBoxDlg : public CRgnDialog
{
public:
    CSkinMessageBoxDlg(LPCTSTR lpszText, LPCTSTR lpszCaption, UINT nType, const HALLMSGBOXPARAMS* pParams)
        : m_strText(lpszText != NULL ? lpszText : ""), m_strCaption(lpszCaption != NULL ? lpszCaption : ""),
          m_nType(nType), m_buttons(ButtonsOf(nType)), m_hIcon(NULL), m_bOwnIcon(FALSE)
    {
        if (pParams != NULL)
            m_params = *pParams;
        for (int i = SKINMB_SKIN_TL; i <= SKINMB_SKIN_BACK; ++i) {
            if (m_params.szSkin[i][0] != 0)
                GetSkinImage(i)->SetLoadInfo(m_params.szSkin[i]);
        }
        if (m_params.szSkin[SKINMB_SKIN_CLOSE][0] != 0)
            m_ImageClose.SetLoadInfo(m_params.szSkin[SKINMB_SKIN_CLOSE]);
    }

    ~CSkinMessageBoxDlg()
    {
        for (CRgnButton* pButton : m_buttonWnds)
            delete pButton;
        if (m_bOwnIcon && m_hIcon != NULL)
            ::DestroyIcon(m_hIcon);
    }

    BOOL OnInitDialog() override
    {
        CRgnDialog::OnInitDialog();
        SetWindowText(m_strCaption);
        Layout();
        return FALSE; // the focus is on the default button
    }

protected:
    BOOL HasCancel() const
    {
        for (const ButtonDef& def : m_buttons) {
            if (def.nID == IDCANCEL)
                return TRUE;
        }
        return FALSE;
    }

    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        UINT nID = LOWORD(wParam);
        for (const ButtonDef& def : m_buttons) {
            if (def.nID == nID && HIWORD(wParam) == BN_CLICKED) {
                EndDialog((int)nID);
                return TRUE;
            }
        }
        if (nID == IDCANCEL) {
            // Escape and the close box: Cancel where there is one, OK for a
            // lone OK button, else nothing, as with the system's box.
            if (HasCancel())
                EndDialog(IDCANCEL);
            else if ((m_nType & MB_TYPEMASK) == MB_OK)
                EndDialog(IDOK);
            return TRUE;
        }
        return CRgnDialog::OnCommand(wParam, lParam);
    }

    void Layout()
    {
        CClientDC dc(this);
        CFont* pFont = CSkinAttribute::GetDefaultFont();
        CFont* pOld = dc.SelectObject(pFont);
        CRect rcText(0, 0, kTextMaxWidth, 0);
        dc.DrawText(m_strText.IsEmpty() ? CString(" ") : m_strText, &rcText, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
        dc.SelectObject(pOld);

        if (m_params.szIconFile[0] != 0) {
            m_hIcon = (HICON)::LoadImageA(NULL, m_params.szIconFile, IMAGE_ICON, kIconSize, kIconSize, LR_LOADFROMFILE);
            m_bOwnIcon = m_hIcon != NULL;
        }
        if (m_hIcon == NULL && SystemIconOf(m_nType) != NULL)
            m_hIcon = ::LoadIcon(NULL, SystemIconOf(m_nType));

        const int nTop = std::max(GetSkinCaptionHeight(), 0) + kMargin;
        const int xText = kMargin + (m_hIcon != NULL ? kIconSize + kIconGap : 0);
        const int nBodyHeight = std::max<int>(rcText.Height(), m_hIcon != NULL ? kIconSize : 0);
        const int nButtons = (int)m_buttons.size();
        const int nButtonsWidth = nButtons * kButtonWidth + (nButtons - 1) * kButtonGap;
        const int cx = std::max<int>(xText + rcText.Width() + kMargin, nButtonsWidth + 2 * kMargin);
        const int cy = nTop + nBodyHeight + kMargin + kButtonHeight + kMargin;

        if (m_hIcon != NULL) {
            CStatic* pIcon = new CStatic;
            m_statics.push_back(pIcon);
            pIcon->Create("", WS_CHILD | WS_VISIBLE | SS_ICON,
                          CRect(kMargin, nTop, kMargin + kIconSize, nTop + kIconSize), this, kIconId);
            pIcon->SetIcon(m_hIcon);
        }
        CStatic* pText = new CStatic;
        m_statics.push_back(pText);
        pText->Create(m_strText, WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX,
                      CRect(xText, nTop + (nBodyHeight - rcText.Height()) / 2, xText + rcText.Width(),
                            nTop + (nBodyHeight + rcText.Height()) / 2),
                      this, kTextId);
        pText->SetFont(pFont);

        int nDefault = (int)((m_nType & MB_DEFMASK) >> 8);
        if (nDefault >= nButtons)
            nDefault = 0;
        int x = (cx - nButtonsWidth) / 2;
        const int y = cy - kMargin - kButtonHeight;
        for (int i = 0; i < nButtons; ++i) {
            const ButtonDef& def = m_buttons[(size_t)i];
            const char* pszCaption = m_params.szCaptions[def.nCaption][0] != 0 ? m_params.szCaptions[def.nCaption]
                                                                               : kDefaultCaptions[def.nCaption];
            CRgnButton* pButton = new CRgnButton;
            m_buttonWnds.push_back(pButton);
            pButton->Create(pszCaption, WS_CHILD | WS_VISIBLE | WS_TABSTOP | (i == nDefault ? BS_DEFPUSHBUTTON : 0),
                            CRect(x, y, x + kButtonWidth, y + kButtonHeight), this, def.nID);
            if (m_params.szSkin[SKINMB_SKIN_BUTTON][0] != 0)
                pButton->LoadRgnImage(m_params.szSkin[SKINMB_SKIN_BUTTON]);
            x += kButtonWidth + kButtonGap;
        }

        CRect rcWindow(0, 0, cx, cy);
        ::AdjustWindowRectEx(&rcWindow, GetStyle(), FALSE, GetExStyle());
        SetWindowPos(NULL, 0, 0, rcWindow.Width(), rcWindow.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        CenterWindow();
        if (nDefault < (int)m_buttonWnds.size()) {
            GotoDlgCtrl(m_buttonWnds[(size_t)nDefault]);
            SetDefID(m_buttons[(size_t)nDefault].nID);
        }
    }

    void PostNcDestroy() override
    {
        for (CStatic* pStatic : m_statics)
            delete pStatic;
        m_statics.clear();
    }

    CString m_strText;
    CString m_strCaption;
    UINT m_nType;
    HALLMSGBOXPARAMS m_params;
    std::vector<ButtonDef> m_buttons;
    std::vector<CRgnButton*> m_buttonWnds;
    std::vector<CStatic*> m_statics;
    HICON m_hIcon;
    BOOL m_bOwnIcon;
};

// An empty dialog; the box lays its controls out itself.
struct EmptyTemplate
{
    DLGTEMPLATE dlg;
    WORD menu, windowClass, title;
};
} // namespace

int SkinMessageBox(HWND hWndOwner, LPCTSTR lpszText, LPCTSTR lpszCaption, UINT nType, const HALLMSGBOXPARAMS* pParams)
{
    AFX_MODAL_REQUEST request;
    request.nKind = afxModalMessageBox;
    request.strText = lpszText != NULL ? lpszText : "";
    request.strCaption = lpszCaption != NULL ? lpszCaption : "";
    request.nType = nType;
    request.strClassName = "SkinMessageBox";
    request.hWndOwner = hWndOwner;
    INT_PTR nResult = 0;
    if (AfxModalRespond(request, nResult))
        return (int)nResult;

    static EmptyTemplate s_template = {
        {WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, 0, 0, 0, 0, 200, 80}, 0, 0, 0};
    CSkinMessageBoxDlg dlg(lpszText, lpszCaption, nType, pParams);
    if (!dlg.InitModalIndirect(&s_template.dlg, CWnd::FromHandle(hWndOwner)))
        return IDCANCEL;
    return (int)dlg.DoModal();
}
