// The about box of the help menu, with links to the hall's web site and
// the user agreement. Made modeless on first use and only shown after.
#pragma once

#include <afxwin.h>

#include "RgnButton.h"
#include "RgnDialog.h"
#include "SkinHyperLink.h"
#include "resource.h"

enum
{
    IDC_ABOUT_PICTURE = 1051,
    IDC_ABOUT_WEB = 1052,
    IDC_ABOUT_AGREEMENT = 1053,
};

class CAboutDlg : public CRgnDialog
{
public:
    CAboutDlg(CWnd* pParent = NULL);
    ~CAboutDlg() override;

    BOOL OnInitDialog() override;
    CSkinHyperLink& GetWebLink() { return m_WebLink; }
    CSkinHyperLink& GetAgreementLink() { return m_AgreementLink; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;

private:
    CSkinHyperLink m_WebLink;
    CSkinHyperLink m_AgreementLink;
    CRgnButton m_btOK;
    HBITMAP m_hPicture;
};
