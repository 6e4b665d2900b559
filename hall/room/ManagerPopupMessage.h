// The administrator's pop-up message composer: builds the notice markup
// from a type, a title, a picture address, a link and a text, and previews
// it in the hall's notice window. Modeless; Cancel destroys the window.
#pragma once

#include <afxwin.h>

#include <RgnDialog.h>

class CManagerPopupMessage : public CRgnDialog
{
    DECLARE_DYNAMIC(CManagerPopupMessage)
public:
    // Types in the order of the type box.
    enum
    {
        kTextMessage,
        kPictureTextMessage,
        kPictureMessage
    };

    explicit CManagerPopupMessage(CWnd* pParent = NULL);
    virtual ~CManagerPopupMessage();

    // Builds the markup into m_strMessage; false (with a box and the focus
    // on the missing field) when a field the type needs is empty.
    bool BuildMessage();
    // The text as markup text: "<" and "&" escaped.
    static CString EscapeText(LPCSTR pszText);

    CString m_strMessage;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override { BuildMessage(); }
    void OnCancel() override { DestroyWindow(); }

    afx_msg void OnTypeChange();
    afx_msg void OnPreview();
    DECLARE_MESSAGE_MAP()

private:
    CString ReadField(UINT nID) const;
    bool Refuse(UINT nID, LPCSTR pszText);
};
