// The registration forms: CRegisterDlg turns the guest account that is
// logged on into a registered one through the hall data centre (checking the
// input first, and asking the server whether a name or an e-mail address is
// free); CRegisterWebDlg shows the registration web page.
#pragma once

#include <afxwin.h>

#include <RgnButton.h>
#include <RgnDialog.h>
#include <SkinImage.h>

#include "HtmlCtrl.h"
#include "PPButton.h"
#include "RegisterEdit.h"

class CClientDataCenter;
class CCreateValidateCode;

// A check button of the form: lights up while the pointer is over it.
class CRegisterButton : public CPPButton
{
public:
    BOOL IsHover() const { return m_bHover; }

protected:
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    DECLARE_MESSAGE_MAP()
};

class CRegisterDlg : public CRgnDialog
{
public:
    enum
    {
        IDD = 115,
        IDC_ACCOUNT = 1049,
        IDC_NICKNAME = 1050,
        IDC_PASSWORD = 1052,
        IDC_PASSWORD_AGAIN = 1053,
        IDC_EMAIL = 1054,
        IDC_ID_CARD = 1055,
        IDC_CODE = 1056,
        IDC_CLOSE = 1066,
        IDC_MALE = 1067,
        IDC_FEMALE = 1068,
        IDC_NOTE = 1069,
        IDC_CHECK_EMAIL = 1070,
        IDC_CHECK_ACCOUNT = 1071,
        IDC_TITLE = 1072,
    };

    CRegisterDlg(CWnd* pParent = NULL);
    virtual ~CRegisterDlg();

    // The hall data centre the form registers through; set before DoModal.
    void SetClientDataCenter(CClientDataCenter* pDataCenter) { m_pDataCenter = pDataCenter; }

    // The input rules: 0 when the text passes, else the string id of its
    // message.
    static UINT CheckAccount(LPCSTR pszAccount);
    static UINT CheckEmail(LPCSTR pszEmail);
    static UINT CheckIdCard(LPCSTR pszIdCard);

    const CString& GetExpectedCode() const { return m_strCode; }
    const CString& GetPictureFile() const { return m_strPictureFile; }
    const CRect& GetCodeRect() const { return m_rcCode; }
    bool IsBusy() const { return m_bBusy; }
    // Draws a new code and its picture.
    void NewValidateCode();

    BOOL OnInitDialog() override;

protected:
    void OnOK() override;
    void OnCancel() override;

    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    afx_msg void OnCheckEmail();
    afx_msg void OnCheckAccount();
    afx_msg LRESULT OnHallNotify(WPARAM wParam, LPARAM lParam);
    afx_msg void OnMale();
    afx_msg void OnFemale();
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnClose();
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    // Shows the message, focuses the control; with bNewCode also a new
    // code and empty password fields.
    void InputError(UINT nStringID, UINT nFocusID, bool bNewCode);
    void EnableInput(bool bEnable);
    void Unregister();

    enum
    {
        FRAME_TL,
        FRAME_TM,
        FRAME_TR,
        FRAME_BL,
        FRAME_BM,
        FRAME_BR,
        FRAME_L,
        FRAME_R,
        FRAME_COUNT
    };
    CSkinImage m_Frame[FRAME_COUNT];
    CRgnButton m_btCloseForm;
    CButton m_btOK;
    CButton m_btCancel;
    CRegisterEdit m_Edits[7];
    CButton m_rdMale;
    CButton m_rdFemale;
    CRegisterButton m_btCheckAccount;
    CRegisterButton m_btCheckEmail;
    CSkinImage m_RadioImages[2];
    CSkinImage m_CodePicture;
    CString m_strAccount;
    CString m_strNickName;
    CString m_strPassword;
    CString m_strEmail;
    CString m_strIdCard;
    DWORD m_dwGender;
    CCreateValidateCode* m_pCodeMaker;
    CString m_strCode;
    CString m_strPictureFile;
    CRect m_rcCode;
    bool m_bBusy;
    CBrush m_brBack;
    CFont m_TitleFont;
    CClientDataCenter* m_pDataCenter;
};

class CRegisterWebDlg : public CRgnDialog
{
public:
    enum
    {
        IDD = 121,
        IDC_PAGE_PLACE = 1103,
    };

    CRegisterWebDlg(CWnd* pParent = NULL);

    const CString& GetPageUrl() const { return m_strUrl; }
    CHtmlCtrl& GetBrowser() { return m_Browser; }
    // "dlgurl" of [RegisterHelp] in the program's "config\Urls.ini", its
    // placeholders replaced.
    static CString ReadPageUrl();

    BOOL OnInitDialog() override;

private:
    CString m_strUrl;
    CHtmlCtrl m_Browser;
};
