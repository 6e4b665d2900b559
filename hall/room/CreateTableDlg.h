// The create-table dialog of a room: edits the room's table settings in
// place; IDOK once they were filled. The room's rule flags may forbid
// setting the rounds (bit 0) or the multiple (bit 1).
#pragma once

#include <afxwin.h>

#include <Picture.h>
#include <RgnButton.h>

class CTableOption;

// Rule flags of the create-table dialog.
const DWORD CREATE_TABLE_NO_ROUNDS = 0x01;
const DWORD CREATE_TABLE_NO_MULTIPLE = 0x02;

class CCreateTableDlg : public CDialog
{
    DECLARE_DYNAMIC(CCreateTableDlg)
public:
    CCreateTableDlg(CTableOption* pTableOption, DWORD dwRuleFlags, CWnd* pParent = NULL);
    virtual ~CCreateTableDlg();

    // The hint line the dialog paints for its rule flags.
    CString GetHintText() const;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

    afx_msg void OnCheckClicked(UINT nID);
    afx_msg void OnCloseClicked();
    afx_msg void OnPaint();
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    DECLARE_MESSAGE_MAP()

private:
    void EnableInputs();
    bool IsChecked(UINT nID) const { return IsDlgButtonChecked(nID) == BST_CHECKED; }
    DWORD ReadNumber(UINT nID) const;
    void Refuse(UINT nFocusID, LPCSTR pszText);

    CTableOption* m_pTableOption;
    DWORD m_dwRuleFlags;
    CPicture m_Background;
    CPicture m_Info;
    CRgnButton m_btClose;
    CBrush m_brBack;
};
