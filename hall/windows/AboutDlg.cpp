#include "AboutDlg.h"

#include "GlobalOption.h"
#include "GlobalUnits.h"

CAboutDlg::CAboutDlg(CWnd* pParent) : CRgnDialog(IDD_ABOUT, pParent), m_hPicture(NULL) {}

CAboutDlg::~CAboutDlg()
{
    if (m_hPicture != NULL)
        ::DeleteObject(m_hPicture);
}

void CAboutDlg::DoDataExchange(CDataExchange* pDX)
{
    CRgnDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_ABOUT_WEB, m_WebLink);
    DDX_Control(pDX, IDC_ABOUT_AGREEMENT, m_AgreementLink);
    DDX_Control(pDX, IDOK, m_btOK);
}

BOOL CAboutDlg::OnInitDialog()
{
    CRgnDialog::OnInitDialog();
    CenterWindow();
    BringWindowToTop();
    m_WebLink.SetHyperLinkUrl(g_GlobalOption.GetHallWebUrl());
    m_AgreementLink.SetHyperLinkUrl(g_GlobalOption.GetOtherAction(4));
    m_WebLink.SetBackGroundColor(RGB(211, 233, 246));
    m_AgreementLink.SetBackGroundColor(RGB(211, 233, 246));

    CString resources(g_GlobalUnits.GetResourceDirectory());
    if (CWnd* pPicture = GetDlgItem(IDC_ABOUT_PICTURE)) {
        pPicture->ModifyStyle(SS_TYPEMASK, SS_BITMAP | SS_CENTERIMAGE);
        if (m_hPicture == NULL)
            m_hPicture = CGlobalUnits::LoadPictureFile(resources + "Addin\\About\\About.png");
        if (m_hPicture != NULL)
            pPicture->SendMessage(STM_SETIMAGE, IMAGE_BITMAP, (LPARAM)m_hPicture);
    }
    m_btOK.LoadRgnImage(resources + "Common\\button\\btn.bmp", RGB(255, 0, 255));
    return TRUE;
}
