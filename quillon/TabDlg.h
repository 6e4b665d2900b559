// Base of every page of the user-service main dialog: reports edits to the
// main window as pending attribute changes and paints a white page with a
// border open at the top.
#pragma once

#include <afxwin.h>

#include "IQuillonDataCenter.h"
#include "SkinImage.h"

// Messages to the main dialog.
const UINT WM_QUILLON_MODIFY = WM_USER + 111; // wParam tagModifyAttr* (lParam 1) or CTabDlg* (lParam 0)
const UINT WM_QUILLON_FACE = WM_USER + 112;   // wParam code, lParam value
const UINT WM_QUILLON_FACE_PAGE = WM_USER + 234;

class CTabDlg : public CDialog
{
public:
    explicit CTabDlg(UINT nIDTemplate);

    // Fills the controls from the own record.
    virtual void RefreshFromData() {}
    // Sends what the page holds; true when nothing is left to do.
    virtual bool Submit(IQuillonDataCenter* pDataCenter) { return true; }
    virtual void DrawBackground(CDC* pDC);

    // One changed attribute (cut to 127 characters) to the main window.
    void NotifyModified(WORD wAttrID, LPCSTR pszValue);
    // Asks the main window to submit this page with its OK.
    void RegisterForSubmit();

protected:
    CWnd* GetMainDialog();
    void OnOK() override;
    void OnCancel() override {}

    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    DECLARE_MESSAGE_MAP()

    CSkinImage m_ImageBack;
};
