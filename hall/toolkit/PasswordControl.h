// CPasswordControl: the logon dialog's password box, made on a placeholder
// control: a password edit with a keyboard button at its right end that
// opens CPasswordKeyboard below the box. A stored password shows as
// "********" until the user edits the box.
#pragma once

#include <afxwin.h>

#include <SkinButton.h>

#include "PasswordKeyboard.h"

class CPasswordControl : public CWnd
{
    DECLARE_DYNAMIC(CPasswordControl)
public:
    enum
    {
        IDC_KEYBOARD_BUTTON = 100,
        IDC_PASSWORD_EDIT = 200,
        maxPassword = 32
    };

    CPasswordControl();
    virtual ~CPasswordControl();

    // Copies the password out (33 bytes); what was typed replaces it first.
    void GetPassword(char szPassword[maxPassword + 1]);
    void SetPassword(LPCSTR lpszPassword);
    void EnableControl(BOOL bEnable);
    CEdit* GetEditCtrl();
    void LimitText(int nChars);

    CPasswordKeyboard* GetKeyboard() { return &m_keyboard; }
    BOOL IsPlaceholderShown() const { return m_bPlaceholderShown; }
    // Opens the keyboard, as a click of the keyboard button does.
    void OpenKeyboard();

protected:
    void PreSubclassWindow() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    afx_msg void OnPaint();
    afx_msg void OnNcPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    DECLARE_MESSAGE_MAP()

private:
    CEdit m_edit;
    CSkinButton m_keyboardButton;
    CPasswordKeyboard m_keyboard;
    BOOL m_bModified;
    BOOL m_bPlaceholderShown;
    char m_szPassword[maxPassword + 1];
};
