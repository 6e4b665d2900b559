#include "MoneyPanel.h"

#include "AmountText.h"
#include "GlobalUnits.h"
#include "UserItem.h"

namespace
{
const UINT_PTR kRefreshTimer = 1;
}

UINT CMoneyPanel::s_nRefreshInterval = 200;

BEGIN_MESSAGE_MAP(CMoneyPanel, CDialog)
    ON_WM_TIMER()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_LBUTTONDOWN()
    ON_BN_CLICKED(IDC_MONEY_TAB_FIRST, OnTabFirst)
    ON_BN_CLICKED(IDC_MONEY_TAB_SECOND, OnTabSecond)
    ON_BN_CLICKED(IDC_MONEY_EXTRA, OnExtra)
    ON_CONTROL_RANGE(BN_CLICKED, 1091, 1098, OnQuickAmount)
    ON_CONTROL_RANGE(BN_CLICKED, 1247, 1247, OnAllBoxClicked)
    ON_CONTROL_RANGE(BN_CLICKED, 1249, 1249, OnAllBoxClicked)
    ON_CONTROL_RANGE(EN_CHANGE, 1248, 1248, OnAmountChange)
    ON_CONTROL_RANGE(EN_CHANGE, 1245, 1245, OnAmountChange)
    ON_CONTROL_RANGE(EN_CHANGE, 1102, 1102, OnAmountChange)
END_MESSAGE_MAP()

CMoneyPanel::CMoneyPanel(UINT nIDTemplate, LPCSTR pszCaption, LPCSTR pszSkinFolder)
    : CDialog(nIDTemplate, NULL), m_pHost(NULL), m_pDataCenter(NULL), m_pUserItem(NULL), m_nStartPage(0),
      m_nCurrentPage(0), m_strCaption(pszCaption), m_bInFlight(false), m_nIDTemplate(nIDTemplate)
{
    m_pPages[0] = m_pPages[1] = NULL;
    m_strSkinFolder = CString(g_GlobalUnits.GetResourceDirectory()) + pszSkinFolder;
}

CMoneyPanel::~CMoneyPanel()
{
    if (m_hWnd != NULL && ::IsWindow(m_hWnd))
        DestroyWindow();
    delete m_pPages[0];
    delete m_pPages[1];
}

void CMoneyPanel::SetRoomContext(IMoneyPanelHost* pHost, CRoomDataCenter* pDataCenter, CUserItem* pUserItem,
                                 int nStartPage)
{
    m_pHost = pHost;
    m_pDataCenter = pDataCenter;
    m_pUserItem = pUserItem;
    m_nStartPage = nStartPage;
}

bool CMoneyPanel::ShowPanel()
{
    if (GetSafeHwnd() == NULL) {
        CWnd* pRoom = m_pHost != NULL ? m_pHost->GetRoomWnd() : NULL;
        if (!Create(m_nIDTemplate, pRoom))
            return false;
    }
    ShowWindow(SW_SHOW);
    return true;
}

LONGLONG CMoneyPanel::ReadGold(DWORD dwRaw)
{
    LONG lValue = (LONG)dwRaw;
    return lValue < 0 ? 0 : (LONGLONG)lValue;
}

LONGLONG CMoneyPanel::GetGoldEggs(const CUserItem* pUserItem)
{
    return pUserItem != NULL ? ReadGold(pUserItem->GetUserData()->dwKey14) : 0;
}

LONGLONG CMoneyPanel::GetGoldBeans(const CUserItem* pUserItem)
{
    return pUserItem != NULL ? ReadGold(pUserItem->GetUserData()->dwKey17) : 0;
}

BOOL CMoneyPanel::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetWindowText(m_strCaption);
    if (m_Background.IsValid())
        SetWindowPos(NULL, 0, 0, (int)m_Background.GetWidth(), (int)m_Background.GetHeight(),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    m_btTabs[0].SubclassDlgItem(IDC_MONEY_TAB_FIRST, this);
    m_btTabs[1].SubclassDlgItem(IDC_MONEY_TAB_SECOND, this);
    for (int i = 0; i < 2; i++) {
        if (m_pPages[i] == NULL)
            continue;
        m_pPages[i]->CreatePage(this);
        m_btTabs[i].SetWindowText(m_pPages[i]->GetTabCaption());
        m_btTabs[i].SetButtonImage(m_strSkinFolder + "TabButton.png");
        m_pPages[i]->ShowWindow(SW_HIDE);
        const int nKind = m_pPages[i]->GetKind();
        const UINT nFirst = nKind == PAGE_KIND_DEPOSIT || nKind == PAGE_KIND_EGGS_TO_BEANS ? 1091 : 1095;
        for (int nButton = 0; nButton < 4; nButton++)
            m_pPages[i]->SetDlgItemText(nFirst + nButton, QuickCaption(i, nButton));
    }
    m_nCurrentPage = -1;
    SwitchPage(0);
    SetTimer(kRefreshTimer, s_nRefreshInterval, NULL);
    CenterWindow();
    if (m_nStartPage == 1)
        SwitchPage(1);
    RefreshValues();
    return TRUE;
}

CRect CMoneyPanel::GetPageArea() const
{
    CRect rc;
    GetClientRect(&rc);
    rc.DeflateRect(10, 77, 30, 45);
    return rc;
}

void CMoneyPanel::SwitchPage(int nPage)
{
    if (nPage == m_nCurrentPage || nPage < 0 || nPage > 1 || m_pPages[nPage] == NULL)
        return;
    CRect rc = GetPageArea();
    m_pPages[nPage]->MoveWindow(&rc);
    m_pPages[nPage]->ShowWindow(SW_SHOW);
    m_btTabs[nPage].EnableWindow(FALSE);
    m_btTabs[nPage].SetButtonImage(m_strSkinFolder + "TabButtonEx.png");
    SetDlgItemText(IDOK, m_pPages[nPage]->GetConfirmCaption());
    if (m_nCurrentPage == 0 || m_nCurrentPage == 1) {
        m_pPages[m_nCurrentPage]->ShowWindow(SW_HIDE);
        m_btTabs[m_nCurrentPage].EnableWindow(TRUE);
        m_btTabs[m_nCurrentPage].SetButtonImage(m_strSkinFolder + "TabButton.png");
    }
    m_nCurrentPage = nPage;
}

LONGLONG CMoneyPanel::ReadPageAmount()
{
    CPageDlg* pPage = GetPage(m_nCurrentPage);
    if (pPage == NULL)
        return AMOUNT_TEXT_INVALID;
    return GetAmount(pPage, CPageDlg::AmountFieldId(pPage->GetKind()));
}

void CMoneyPanel::FocusAmountField()
{
    CPageDlg* pPage = GetPage(m_nCurrentPage);
    if (pPage == NULL || pPage->GetAmountField().GetSafeHwnd() == NULL)
        return;
    pPage->GetAmountField().SetFocus();
    pPage->GetAmountField().SetSel(0, -1);
}

void CMoneyPanel::SetPageValue(UINT nID, LONGLONG llValue)
{
    CPageDlg* pPage = GetPage(m_nCurrentPage);
    if (pPage != NULL)
        pPage->SetDlgItemText(nID, FormatValue(llValue));
}

CString CMoneyPanel::FormatValue(LONGLONG llValue)
{
    CString text = FormatAmountText(llValue);
    return text.IsEmpty() ? CString("0") : text;
}

void CMoneyPanel::ShowInfo(LPCSTR pszText)
{
    AfxMessageBox(pszText, MB_ICONINFORMATION);
}

void CMoneyPanel::BeginRequest()
{
    m_bInFlight = true;
    if (CWnd* pOK = GetDlgItem(IDOK))
        pOK->EnableWindow(FALSE);
    BeginWaitCursor();
}

void CMoneyPanel::EndRequest()
{
    if (m_bInFlight)
        EndWaitCursor();
    m_bInFlight = false;
    if (GetSafeHwnd() != NULL) {
        KillTimer(kRefreshTimer);
        DestroyWindow();
    }
}

void CMoneyPanel::PostNcDestroy()
{
    // The panel object lives with its room; only the window goes.
    m_bInFlight = false;
    for (int i = 0; i < 2; i++)
        m_strLastText[i].Empty();
}

void CMoneyPanel::OnOK()
{
    // Enter, a page's posted Enter and the confirm button come here; one
    // request at a time.
    if (m_bInFlight)
        return;
    Confirm();
}

void CMoneyPanel::OnCancel()
{
    KillTimer(kRefreshTimer);
    if (m_bInFlight)
        EndWaitCursor();
    m_bInFlight = false;
    DestroyWindow();
}

void CMoneyPanel::OnTabFirst()
{
    SwitchPage(0);
}

void CMoneyPanel::OnTabSecond()
{
    SwitchPage(1);
}

void CMoneyPanel::OnExtra()
{
    OnExtraButton();
}

void CMoneyPanel::OnQuickAmount(UINT nID)
{
    CPageDlg* pPage = GetPage(m_nCurrentPage);
    if (pPage == NULL)
        return;
    const int nKind = pPage->GetKind();
    const UINT nFirst = nKind == PAGE_KIND_DEPOSIT || nKind == PAGE_KIND_EGGS_TO_BEANS ? 1091 : 1095;
    if (nID < nFirst || nID >= nFirst + 4)
        return;
    pPage->SetDlgItemText(CPageDlg::AmountFieldId(nKind), FormatAmountText(QuickAmount((int)(nID - nFirst))));
}

void CMoneyPanel::OnAllBoxClicked(UINT nID)
{
    OnAllBox(nID);
}

void CMoneyPanel::OnAmountChange(UINT nID)
{
    CPageDlg* pPage = GetPage(m_nCurrentPage);
    if (pPage != NULL && nID == CPageDlg::AmountFieldId(pPage->GetKind()) && pPage->GetAmountField().GetSafeHwnd())
        ReformatAmountField(pPage->GetAmountField(), m_strLastText[m_nCurrentPage]);
}

void CMoneyPanel::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == kRefreshTimer)
        RefreshValues();
}

BOOL CMoneyPanel::OnEraseBkgnd(CDC* pDC)
{
    return TRUE;
}

void CMoneyPanel::OnPaint()
{
    CPaintDC dc(this);
    CRect rc;
    GetClientRect(&rc);
    dc.FillSolidRect(&rc, RGB(255, 255, 255));
    if (m_Background.IsValid())
        m_Background.Draw(dc.GetSafeHdc(), 0, 0);
}

void CMoneyPanel::OnLButtonDown(UINT nFlags, CPoint point)
{
    // Dragged as by its caption.
    PostMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(point.x, point.y));
}
