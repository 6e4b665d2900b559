// The basic-data page: account, nickname, gender, contacts, signature and
// the system face.
#pragma once

#include "TabDlg.h"

class CUserBaseInfoDlg : public CTabDlg
{
public:
    CUserBaseInfoDlg();

    void RefreshFromData() override;
    bool Submit(IQuillonDataCenter*) override { return true; }
    void DrawBackground(CDC* pDC) override;

    // A system face picked on the face pages: a new index is stored and
    // sent at once, without OK.
    void SetFaceIndex(WORD wFaceID);
    WORD GetFaceIndex() const { return m_wFaceID; }
    // Puts one changed attribute into its control.
    void ShowAttribute(WORD wAttrID);
    const CString& GetFaceFolder() const { return m_strFaceFolder; }

protected:
    BOOL OnInitDialog() override;
    void SetEditText(UINT nID, LPCSTR pszText);
    void NotifyEdit(UINT nID, WORD wAttrID);

    afx_msg void OnQQChange() { NotifyEdit(IDC_EDIT_QQ_, 8); }
    afx_msg void OnSignatureChange() { NotifyEdit(IDC_EDIT_SIGNATURE_, 15); }
    afx_msg void OnPhoneChange() { NotifyEdit(IDC_EDIT_PHONE_, 12); }
    afx_msg void OnNickNameChange() { NotifyEdit(IDC_EDIT_NICKNAME_, 4); }
    afx_msg void OnGenderChange();
    afx_msg void OnFaceButton();
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    DECLARE_MESSAGE_MAP()

    // The control ids, known to the message map.
    enum
    {
        IDC_EDIT_NICKNAME_ = 10130,
        IDC_EDIT_PHONE_ = 10132,
        IDC_EDIT_SIGNATURE_ = 10133,
        IDC_EDIT_QQ_ = 10134,
    };

    WORD m_wFaceID;
    CString m_strFaceFolder;
    CSkinImage m_ImageFaceButton;
};
