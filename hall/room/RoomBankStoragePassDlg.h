// The safe-box password prompt of a room: drawn on its own picture, dragged
// by its body. The password is in m_strPassword after OK; the safe box sends
// its digest.
#pragma once

#include <afxwin.h>

#include <Picture.h>
#include <RgnButton.h>

class CRoomBankStoragePassDlg : public CDialog
{
    DECLARE_DYNAMIC(CRoomBankStoragePassDlg)
public:
    explicit CRoomBankStoragePassDlg(CWnd* pParent = NULL);
    virtual ~CRoomBankStoragePassDlg();

    CString m_strPassword;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    DECLARE_MESSAGE_MAP()

private:
    CPicture m_Background;
    CRgnButton m_btOK;
    CRgnButton m_btCancel;
    CBrush m_brWhite;
};
