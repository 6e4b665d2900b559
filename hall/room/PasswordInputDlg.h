// The prompt a room shows for a password: one edit, OK and Cancel. The
// derived prompts set the title, the line above the edit and the text shown
// for an empty input.
#pragma once

#include <afxwin.h>

#include <RgnDialog.h>

// Passwords travel in records of 32 characters and a terminator.
const int ROOM_PASSWORD_LENGTH = 32;

class CPasswordInputDlg : public CRgnDialog
{
    DECLARE_DYNAMIC(CPasswordInputDlg)
public:
    // A null prompt keeps the template's line.
    CPasswordInputDlg(LPCSTR pszTitle, LPCSTR pszPrompt, LPCSTR pszEmptyText, CWnd* pParent = NULL);
    virtual ~CPasswordInputDlg();

    // The password typed, after OK.
    CString m_strPassword;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    CString m_strTitle;
    CString m_strPrompt;
    bool m_bPrompt;
    CString m_strEmptyText;
};
