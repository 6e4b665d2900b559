#include "RoomViewItemTable.h"

#include "GameRoom.h"
#include "GlobalUnits.h"

BEGIN_MESSAGE_MAP(CRoomViewItemTable, CSkinWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
END_MESSAGE_MAP()

namespace
{
const int STRIP_LEFT = 13;
const int TOOLBAR_HEIGHT = 23;
} // namespace

CRoomViewItemTable::CRoomViewItemTable(ITableRoomHost* pRoomHost)
    : m_pRoomHost(pRoomHost), m_TableToolBar(this), m_TableFrame(pRoomHost), m_dwTableMode(0)
{}

CRoomViewItemTable::~CRoomViewItemTable() {}

int CRoomViewItemTable::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CSkinWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    if (!m_TableToolBar.Create(NULL, NULL, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, CRect(0, 0, 0, 0), this, 0))
        return -1;
    m_TableFrame.CreateTableFrame(this, 0);
    if (m_TableFrame.GetSafeHwnd() == NULL)
        return -1;

    CString strFolder = g_GlobalUnits.GetResourceDirectory();
    strFolder += "GameRoom\\RoomWnd\\";
    m_ImageL.SetLoadInfo(strFolder + "Wndl.bmp", false);
    m_ImageR.SetLoadInfo(strFolder + "Wndr.bmp", false);
    m_ImageBL.SetLoadInfo(strFolder + "Wndbl.bmp", false);
    m_ImageBM.SetLoadInfo(strFolder + "Wndbm.bmp", false);
    m_ImageTL.SetLoadInfo(strFolder + "Wndtl.bmp", false);
    InitSkinObject();
    return 0;
}

void CRoomViewItemTable::OnSize(UINT nType, int cx, int cy)
{
    CSkinWnd::OnSize(nType, cx, cy);
    const int nWidth = cx - 14 > 0 ? cx - 14 : 0;
    const int nGridHeight = cy - 25 > 0 ? cy - 25 : 0;
    const UINT nFlags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS;
    HDWP hDwp = ::BeginDeferWindowPos(2);
    if (m_TableToolBar.GetSafeHwnd() != NULL && hDwp != NULL)
        hDwp = ::DeferWindowPos(hDwp, m_TableToolBar.m_hWnd, NULL, STRIP_LEFT, 0, nWidth, TOOLBAR_HEIGHT, nFlags);
    if (m_TableFrame.GetSafeHwnd() != NULL && hDwp != NULL)
        hDwp =
            ::DeferWindowPos(hDwp, m_TableFrame.m_hWnd, NULL, STRIP_LEFT, TOOLBAR_HEIGHT, nWidth, nGridHeight, nFlags);
    if (hDwp != NULL)
        ::EndDeferWindowPos(hDwp);
}

void CRoomViewItemTable::SetTableMode(DWORD dwMode, bool bCycle)
{
    m_dwTableMode = dwMode;
    m_TableFrame.SetTableMode(dwMode, bCycle);
    // A special presentation keeps only exit, other commands and the caption.
    m_TableToolBar.RecalcLayout();
}

int CRoomViewItemTable::CalcTableLayout(int nWidth)
{
    return m_TableFrame.CalcTableLayout(nWidth);
}

void CRoomViewItemTable::SetToolBarText(const char* pszText)
{
    if (GetSafeHwnd() == NULL || m_TableToolBar.GetSafeHwnd() == NULL)
        return;
    m_TableToolBar.SetDlgItemText(IDC_TOOLBAR_CAPTION, pszText != NULL ? pszText : "");
}

void CRoomViewItemTable::ShowBankButtons(bool bBank, bool bExchange)
{
    m_TableToolBar.ShowBankButtons(bBank, bExchange);
}

bool CRoomViewItemTable::GetGameRoomIds(DWORD* pGameId, DWORD* pRoomId)
{
    CGameRoom* pGameRoom = m_pRoomHost != NULL ? m_pRoomHost->GetGameRoom() : NULL;
    if (pGameId != NULL)
        *pGameId = pGameRoom != NULL ? pGameRoom->GetGameId() : 0;
    if (pRoomId != NULL)
        *pRoomId = pGameRoom != NULL ? pGameRoom->GetId() : 0;
    return pGameRoom != NULL;
}

void CRoomViewItemTable::QuickJoinTable()
{
    if (m_pRoomHost != NULL)
        m_pRoomHost->QuickJoinTable();
}

void CRoomViewItemTable::CloseRoom()
{
    if (m_pRoomHost != NULL)
        m_pRoomHost->CloseRoom();
}

void CRoomViewItemTable::ShowBankStorage(int nPage)
{
    if (m_pRoomHost != NULL)
        m_pRoomHost->ShowBankStorage(nPage);
}

void CRoomViewItemTable::ShowSpeakDlg()
{
    if (m_pRoomHost != NULL)
        m_pRoomHost->ShowSpeakDlg();
}

void CRoomViewItemTable::ShowFindUserDlg()
{
    if (m_pRoomHost != NULL)
        m_pRoomHost->ShowFindUserDlg();
}

void CRoomViewItemTable::ShowHBExchange()
{
    if (m_pRoomHost != NULL)
        m_pRoomHost->ShowHBExchange();
}

void CRoomViewItemTable::UseItemByKind(int nKind)
{
    if (m_pRoomHost != NULL)
        m_pRoomHost->UseItemByKind(nKind);
}

void CRoomViewItemTable::ToggleTableFilter()
{
    WORD wFlags = m_TableFrame.GetDisplayFlags();
    if (wFlags & TABLE_DISPLAY_ALL)
        wFlags = WORD((wFlags | TABLE_DISPLAY_FREE) & ~TABLE_DISPLAY_ALL);
    else
        wFlags = WORD((wFlags | TABLE_DISPLAY_ALL) & ~TABLE_DISPLAY_FREE);
    m_TableFrame.SetDisplayFlags(wFlags);
}

void CRoomViewItemTable::ShowOptionDlg()
{
    CDialog* pDialog = m_pRoomHost != NULL ? m_pRoomHost->CreateOptionDlg() : NULL;
    if (pDialog == NULL)
        return;
    if (pDialog->DoModal() == IDOK)
        m_pRoomHost->SendUserRule();
    delete pDialog;
}

void CRoomViewItemTable::ShowCreateTableDlg()
{
    CDialog* pDialog = m_pRoomHost != NULL ? m_pRoomHost->CreateTableDlg() : NULL;
    if (pDialog == NULL)
        return;
    if (pDialog->DoModal() == IDOK)
        m_pRoomHost->RequestCreateTable();
    delete pDialog;
}
