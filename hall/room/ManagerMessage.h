// The administrator's system message composer: previews the text and, on
// send, puts it on the clipboard. Modeless; Cancel destroys the window.
#pragma once

#include <afxwin.h>

#include <RgnDialog.h>

class CManagerMessage : public CRgnDialog
{
    DECLARE_DYNAMIC(CManagerMessage)
public:
    explicit CManagerMessage(CWnd* pParent = NULL);
    virtual ~CManagerMessage();

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override { DestroyWindow(); }

    afx_msg void OnPreview();
    DECLARE_MESSAGE_MAP()
};
