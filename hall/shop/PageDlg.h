// One page of a room's money panel (safe box or gold exchange): an amount
// field, four quick-amount buttons and, on safe-box pages, an "all" box. The
// page hands everything it does not handle to its panel, which owns the logic.
#pragma once

#include <afxwin.h>

#include "Picture.h"

enum
{
    PAGE_KIND_DEPOSIT = 0,
    PAGE_KIND_WITHDRAW = 1,
    PAGE_KIND_EGGS_TO_BEANS = 2,
    PAGE_KIND_BEANS_TO_EGGS = 3
};

// The amount field: digits and backspace only; a grey frame, no border.
class CPageDlgEdit : public CEdit
{
protected:
    afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnNcPaint();
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()
};

class CPageDlg : public CDialog
{
public:
    CPageDlg(int nKind, LPCSTR pszConfirmCaption, LPCSTR pszTabCaption);
    virtual ~CPageDlg();

    // Enter and Escape act on the panel.
    void OnOK() override;
    void OnCancel() override;
    // Creates the page from its template under the panel.
    virtual BOOL CreatePage(CWnd* pParent);
    virtual CString GetConfirmCaption() const { return m_strConfirmCaption; }
    virtual CString GetTabCaption() const { return m_strTabCaption; }

    int GetKind() const { return m_nKind; }
    // The field's control id for the page's kind.
    static UINT AmountFieldId(int nKind);
    CPageDlgEdit& GetAmountField() { return m_AmountField; }
    // The white brush every page paints with, made once.
    static HBRUSH GetWhiteBrush();

    // The panel hears commands and notifications first.
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

protected:
    BOOL OnInitDialog() override;
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()

    int m_nKind;
    CString m_strConfirmCaption;
    CString m_strTabCaption;
    CPageDlgEdit m_AmountField;
    CPicture m_Radio;
    CPicture m_Unradio;
};
