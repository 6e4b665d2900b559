// The password prompt of the strong-box pages: one masked value that must
// not be empty, under a prompt the caller sets.
#pragma once

#include <afxwin.h>

#include "RgnButton.h"
#include "SkinEditEx.h"
#include "SkinImage.h"

class CInputerDlg : public CDialog
{
public:
    explicit CInputerDlg(CWnd* pParent = NULL);

    CStatic m_Prompt;
    CRgnButton m_btOK;
    CRgnButton m_btCancel;
    CSkinEditEx m_Value;
    CString m_strPrompt; // replaces the template's prompt when set
    CSkinImage m_ImageBack;
    CString m_strValue;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnPaint();
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    DECLARE_MESSAGE_MAP()
};
