// CSkinDialog: a dialog whose client area shows the skin (CSkinWndObject)
// instead of the system background; static texts and buttons are drawn
// transparently over it.
#pragma once

#include "SkinWndObject.h"

class CSkinDialog : public CDialog, public CSkinWndObject
{
    DECLARE_DYNAMIC(CSkinDialog)
public:
    CSkinDialog();
    explicit CSkinDialog(UINT nIDTemplate, CWnd* pParentWnd = NULL);
    explicit CSkinDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd = NULL);
    virtual ~CSkinDialog();

    // Derived dialogs call this first; the skin is in place after it.
    BOOL OnInitDialog() override;
    // Loads the pictures named so far and repaints.
    void InitSkinObject() override;

protected:
    // Drawn after the skin on every paint.
    virtual void DrawSkinCaption(CDC* pDC) {}

    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    // Transparent statics and buttons; the background brush for the dialog.
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    DECLARE_MESSAGE_MAP()
};
