#include "TableToolBar.h"

#include "GlobalUnits.h"
#include "RoomViewItemTable.h"
#include "SkinAttribute.h"
#include "SkinMenu.h"

namespace
{
const COLORREF CAPTION_TEXT = 0x6F4F10;
const UINT MOVE_FLAGS = SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS;

CString ToolBarFolder()
{
    CString strFolder = g_GlobalUnits.GetResourceDirectory();
    strFolder += "GameRoom\\ToolBar\\";
    return strFolder;
}

int ClientWidth(const CWnd& wnd)
{
    CRect rc;
    wnd.GetClientRect(&rc);
    return rc.Width();
}
} // namespace

BEGIN_MESSAGE_MAP(CTableToolBar, CSkinWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_CTLCOLOR()
    ON_BN_CLICKED(IDC_TOOLBAR_QUICK_SIT, OnQuickSit)
    ON_BN_CLICKED(IDC_TOOLBAR_EXIT, OnExit)
    ON_BN_CLICKED(IDC_TOOLBAR_CREATE_TABLE, OnCreateTable)
    ON_BN_CLICKED(IDC_TOOLBAR_SPEAK, OnSpeak)
    ON_BN_CLICKED(IDC_TOOLBAR_EMPTY_TABLES, OnEmptyTables)
    ON_BN_CLICKED(IDC_TOOLBAR_ALL_TABLES, OnAllTables)
    ON_BN_CLICKED(IDC_TOOLBAR_OTHER, OnOther)
    ON_BN_CLICKED(IDC_TOOLBAR_DEPOSIT, OnDeposit)
    ON_BN_CLICKED(IDC_TOOLBAR_WITHDRAW, OnWithdraw)
    ON_BN_CLICKED(IDC_TOOLBAR_OPTION, OnOption)
    ON_BN_CLICKED(IDC_TOOLBAR_EXCHANGE, OnExchange)
END_MESSAGE_MAP()

CTableToolBar::CTableToolBar(CRoomViewItemTable* pOwner) : m_pOwner(pOwner), m_bBankMode(false), m_bShowExchange(false)
{}

CTableToolBar::~CTableToolBar() {}

int CTableToolBar::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CSkinWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    const CRect rcEmpty(0, 0, 0, 0);
    const DWORD dwVisible = WS_CHILD | WS_VISIBLE;
    const DWORD dwClipped = WS_CHILD | WS_CLIPSIBLINGS;
    m_btQuickSit.Create(NULL, dwVisible, rcEmpty, this, IDC_TOOLBAR_QUICK_SIT);
    m_btExit.Create(NULL, dwVisible, rcEmpty, this, IDC_TOOLBAR_EXIT);
    m_edCaption.Create(dwVisible | WS_CLIPSIBLINGS | ES_READONLY | ES_MULTILINE | ES_AUTOHSCROLL, rcEmpty, this,
                       IDC_TOOLBAR_CAPTION);
    m_btCreateTable.Create(NULL, dwVisible, rcEmpty, this, IDC_TOOLBAR_CREATE_TABLE);
    m_btSpeak.Create(NULL, WS_CHILD, rcEmpty, this, IDC_TOOLBAR_SPEAK);
    m_btEmptyTables.Create(NULL, dwVisible, rcEmpty, this, IDC_TOOLBAR_EMPTY_TABLES);
    m_btAllTables.Create(NULL, WS_CHILD, rcEmpty, this, IDC_TOOLBAR_ALL_TABLES);
    m_btOther.Create(NULL, dwVisible, rcEmpty, this, IDC_TOOLBAR_OTHER);
    m_btDeposit.Create(NULL, dwClipped, rcEmpty, this, IDC_TOOLBAR_DEPOSIT);
    m_btWithdraw.Create(NULL, dwClipped, rcEmpty, this, IDC_TOOLBAR_WITHDRAW);
    m_btOption.Create(NULL, dwClipped | WS_VISIBLE, rcEmpty, this, IDC_TOOLBAR_OPTION);
    m_btExchange.Create(NULL, dwClipped, rcEmpty, this, IDC_TOOLBAR_EXCHANGE);
    m_edCaption.SetFont(&CSkinAttribute::m_DefaultFont);
    m_btCreateTable.ShowWindow(SW_HIDE);

    const CString strFolder = ToolBarFolder();
    m_ImageBack.SetLoadInfo(strFolder + "back.bmp", false);
    InitSkinObject();
    m_btQuickSit.LoadImage(strFolder + "auto_sit.bmp");
    m_btExit.LoadImage(strFolder + "exit.bmp");
    m_btCreateTable.LoadImage(strFolder + "setting.png");
    m_btSpeak.SetButtonImage(strFolder + "speak.png");
    m_btEmptyTables.LoadImage(strFolder + "tablenull.png");
    m_btAllTables.LoadImage(strFolder + "tableall.png");
    m_btOther.LoadImage(strFolder + "other.png");
    m_btDeposit.LoadImage(strFolder + "bankstorage.png");
    m_btWithdraw.LoadImage(strFolder + "bankget.png");
    m_btOption.LoadImage(strFolder + "option.png");
    m_btExchange.LoadImage(strFolder + "currencyexchange.png");
    return 0;
}

void CTableToolBar::ShowBankButtons(bool bBank, bool bExchange)
{
    m_bBankMode = bBank;
    if (bBank)
        m_bShowExchange = false;
    else if (bExchange)
        m_bShowExchange = true;
    if (GetSafeHwnd() == NULL)
        return;
    const int nBankShow = bBank ? SW_SHOW : SW_HIDE;
    const int nNormalShow = bBank ? SW_HIDE : SW_SHOW;
    m_btDeposit.ShowWindow(nBankShow);
    m_btWithdraw.ShowWindow(nBankShow);
    m_btOption.ShowWindow(nBankShow);
    m_btQuickSit.ShowWindow(nNormalShow);
    m_btEmptyTables.ShowWindow(nNormalShow);
    if (bBank) {
        m_btAllTables.ShowWindow(SW_HIDE);
        m_btExchange.ShowWindow(SW_HIDE);
    } else if (bExchange) {
        m_btExchange.ShowWindow(SW_SHOW);
    }
    // The set changed: the buttons close up around it.
    RecalcLayout();
}

void CTableToolBar::OnSize(UINT nType, int cx, int cy)
{
    CSkinWnd::OnSize(nType, cx, cy);
    LayoutControls(cx);
}

void CTableToolBar::RecalcLayout()
{
    if (GetSafeHwnd() == NULL)
        return;
    LayoutControls(ClientWidth(*this));
}

void CTableToolBar::LayoutControls(int cx)
{
    if (m_btExit.GetSafeHwnd() == NULL)
        return;
    HDWP hDwp = ::BeginDeferWindowPos(8);
    auto move = [&hDwp](CWnd& wnd, int x) {
        if (hDwp != NULL)
            hDwp = ::DeferWindowPos(hDwp, wnd.m_hWnd, NULL, x, 0, 0, 0, MOVE_FLAGS);
    };
    int x = cx - ClientWidth(m_btExit);
    move(m_btExit, x);
    const int w = ClientWidth(m_btOther);
    x -= w + 10;
    move(m_btOther, x);

    const DWORD dwTableMode = m_pOwner != NULL ? m_pOwner->GetTableMode() : 0;
    if (dwTableMode != 0) {
        // Whatever filter button shows now: a special presentation has none.
        CWnd* pHidden[] = {&m_btQuickSit,  &m_btCreateTable, &m_btSpeak,    &m_btEmptyTables,
                           &m_btAllTables, &m_btDeposit,     &m_btWithdraw, &m_btExchange};
        for (CWnd* pWnd : pHidden)
            pWnd->ShowWindow(SW_HIDE);
    } else if (m_bBankMode) {
        x -= w + 3;
        move(m_btOption, x);
        x -= w + 9;
        move(m_btDeposit, x);
        x -= w + 13;
        move(m_btWithdraw, x);
    } else {
        x -= w + 7;
        move(m_btEmptyTables, x);
        move(m_btAllTables, x);
        if (m_bShowExchange) {
            x -= w + 37;
            move(m_btExchange, x);
        }
        move(m_btQuickSit, x * 3 / 4 + 6);
    }
    if (hDwp != NULL)
        hDwp = ::DeferWindowPos(hDwp, m_edCaption.m_hWnd, NULL, 6, 7, x * 3 / 4 + 6, 15,
                                SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
    if (hDwp != NULL)
        ::EndDeferWindowPos(hDwp);
}

HBRUSH CTableToolBar::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    HBRUSH hBrush = CSkinWnd::OnCtlColor(pDC, pWnd, nCtlColor);
    if (pWnd != NULL && pWnd->GetDlgCtrlID() == IDC_TOOLBAR_CAPTION) {
        pDC->SetBkMode(TRANSPARENT);
        pDC->SetTextColor(CAPTION_TEXT);
        return (HBRUSH)::GetStockObject(HOLLOW_BRUSH);
    }
    return hBrush;
}

void CTableToolBar::ShowCommandMenu()
{
    SetFocus();
    CSkinMenu menu;
    if (!menu.CreatePopupMenu())
        return;
    menu.AppendMenu(MF_STRING, IDM_TOOLBAR_CLEAR_SCORE, "负分清零");
    menu.AppendMenu(MF_STRING, IDM_TOOLBAR_CLEAR_FLEE, "逃跑清零");
    menu.AppendMenu(MF_SEPARATOR);
    const DWORD dwTableMode = m_pOwner != NULL ? m_pOwner->GetTableMode() : 0;
    if (dwTableMode == 0) {
        menu.AppendMenu(MF_STRING, IDM_TOOLBAR_FIND_USER, "查找玩家");
        if (!m_bBankMode)
            menu.AppendMenu(MF_STRING, IDM_TOOLBAR_TABLE_OPTION, "桌子配置");
    }
    CString strImages = g_GlobalUnits.GetResourceDirectory();
    strImages += "GameRoom\\ToolBar\\Menu.bmp";
    menu.SetImageList(strImages);
    menu.ChangeStyle(&menu);
    SetForegroundWindow();
    CRect rcExit;
    m_btExit.GetWindowRect(&rcExit);
    menu.TrackPopupMenu(TPM_CENTERALIGN | TPM_RIGHTBUTTON, rcExit.left, rcExit.bottom, this);
    HMENU hMenu = menu.Detach();
    ::DestroyMenu(hMenu);
}

BOOL CTableToolBar::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (m_pOwner != NULL) {
        switch (LOWORD(wParam)) {
        case IDM_TOOLBAR_ITEM_8: m_pOwner->UseItemByKind(8); return TRUE;
        case IDM_TOOLBAR_CLEAR_SCORE: m_pOwner->UseItemByKind(7); return TRUE;
        case IDM_TOOLBAR_CLEAR_FLEE: m_pOwner->UseItemByKind(9); return TRUE;
        case IDM_TOOLBAR_FIND_USER: m_pOwner->ShowFindUserDlg(); return TRUE;
        case IDM_TOOLBAR_TABLE_OPTION: m_pOwner->ShowOptionDlg(); return TRUE;
        }
    }
    return CSkinWnd::OnCommand(wParam, lParam);
}

BOOL CTableToolBar::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_RBUTTONDOWN && m_edCaption.GetSafeHwnd() != NULL && pMsg->hwnd == m_edCaption.m_hWnd)
        return TRUE;
    return CSkinWnd::PreTranslateMessage(pMsg);
}

void CTableToolBar::OnQuickSit()
{
    if (m_pOwner != NULL)
        m_pOwner->QuickJoinTable();
}

void CTableToolBar::OnExit()
{
    if (m_pOwner != NULL)
        m_pOwner->CloseRoom();
}

void CTableToolBar::OnCreateTable()
{
    if (m_pOwner != NULL)
        m_pOwner->ShowCreateTableDlg();
}

void CTableToolBar::OnSpeak()
{
    if (m_pOwner != NULL)
        m_pOwner->ShowSpeakDlg();
}

void CTableToolBar::OnEmptyTables()
{
    m_btEmptyTables.ShowWindow(SW_HIDE);
    m_btAllTables.ShowWindow(SW_SHOW);
    if (m_pOwner != NULL)
        m_pOwner->ToggleTableFilter();
}

void CTableToolBar::OnAllTables()
{
    m_btEmptyTables.ShowWindow(SW_SHOW);
    m_btAllTables.ShowWindow(SW_HIDE);
    if (m_pOwner != NULL)
        m_pOwner->ToggleTableFilter();
}

void CTableToolBar::OnOther()
{
    ShowCommandMenu();
}

void CTableToolBar::OnDeposit()
{
    if (m_pOwner != NULL)
        m_pOwner->ShowBankStorage(0);
}

void CTableToolBar::OnWithdraw()
{
    if (m_pOwner != NULL)
        m_pOwner->ShowBankStorage(1);
}

void CTableToolBar::OnOption()
{
    if (m_pOwner != NULL)
        m_pOwner->ShowOptionDlg();
}

void CTableToolBar::OnExchange()
{
    if (m_pOwner != NULL)
        m_pOwner->ShowHBExchange();
}
