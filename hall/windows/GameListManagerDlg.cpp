#include "GameListManagerDlg.h"

#include "GameListView.h"
#include "GameTreeManager.h"
#include "GlobalOption.h"
#include "GlobalUnits.h"
#include "SkinBar.h"

BEGIN_MESSAGE_MAP(CGameListManagerDlg, CRgnDialog)
    ON_BN_CLICKED(CGameListManagerDlg::IDC_ADD, OnAdd)
    ON_BN_CLICKED(CGameListManagerDlg::IDC_REMOVE, OnRemove)
    ON_BN_CLICKED(CGameListManagerDlg::IDC_OK, OnOK)
    ON_BN_CLICKED(CGameListManagerDlg::IDC_CANCEL, OnCancel)
    ON_NOTIFY(LVN_ITEMCHANGED, CGameListManagerDlg::IDC_ALL_LIST, OnAllChanged)
    ON_NOTIFY(LVN_ITEMCHANGED, CGameListManagerDlg::IDC_SELF_LIST, OnSelfChanged)
    ON_NOTIFY(NM_DBLCLK, CGameListManagerDlg::IDC_ALL_LIST, OnAllDblClk)
    ON_NOTIFY(NM_DBLCLK, CGameListManagerDlg::IDC_SELF_LIST, OnSelfDblClk)
END_MESSAGE_MAP()

CGameListManagerDlg::CGameListManagerDlg(CGameListView* pGameListView, CWnd* pParent)
    : CRgnDialog(IDD, pParent), m_pGameListView(pGameListView), m_hScrollBitmap(NULL)
{}

CGameListManagerDlg::~CGameListManagerDlg()
{
    if (m_hScrollBitmap != NULL)
        ::DeleteObject(m_hScrollBitmap);
}

bool CGameListManagerDlg::IsInTree(CGame* pGame)
{
    CGameTreeNode* root = m_pGameListView->GetServerItemView().GetRootNode();
    return pGame != NULL && m_pGameListView->FindGameNode(root, (WORD)pGame->GetId()) != NULL;
}

BOOL CGameListManagerDlg::OnInitDialog()
{
    CRgnDialog::OnInitDialog();
    SetWindowText("自定义游戏");
    CenterWindow();
    if (m_pGameListView == NULL)
        return FALSE;
    m_AllList.SubclassDlgItem(IDC_ALL_LIST, this);
    m_SelfList.SubclassDlgItem(IDC_SELF_LIST, this);
    m_btAdd.SubclassDlgItem(IDC_ADD, this);
    m_btRemove.SubclassDlgItem(IDC_REMOVE, this);
    m_btOK.SubclassDlgItem(IDC_OK, this);
    m_btCancel.SubclassDlgItem(IDC_CANCEL, this);

    CGameTreeManager* manager = g_GlobalUnits.GetGameTreeManager();
    if (manager != NULL) {
        for (INT_PTR i = 0; i < manager->GetGameCount(); i++) {
            CGame* game = manager->GetGameAt(i);
            if (IsInTree(game))
                m_AllList.AddGame(game);
        }
        for (INT_PTR i = 0; i < g_GlobalOption.GetSelfGameCount(); i++) {
            const WORD id = g_GlobalOption.GetSelfGame(i);
            CGame* game = id > 0 ? manager->FindGame(id) : NULL;
            if (game != NULL && IsInTree(game) && m_SelfList.AddGame(game))
                m_ShownSelfGames.Add(id);
        }
    }
    m_btAdd.EnableWindow(FALSE);
    m_btRemove.EnableWindow(FALSE);

    CString path;
    path.Format("%sCommon\\scrollbar\\scrollbar.bmp", g_GlobalUnits.GetResourceDirectory());
    m_hScrollBitmap = (HBITMAP)::LoadImageA(NULL, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
    if (m_hScrollBitmap == NULL)
        return FALSE;
    SkinBar_Attach(m_AllList.GetSafeHwnd(), m_hScrollBitmap);
    SkinBar_Attach(m_SelfList.GetSafeHwnd(), m_hScrollBitmap);
    m_AllList.MoveWindow(20, 50, 141, 233);
    m_SelfList.MoveWindow(235, 50, 141, 233);
    return TRUE;
}

void CGameListManagerDlg::OnAllChanged(NMHDR* pNMHDR, LRESULT* pResult)
{
    *pResult = 0;
    const NMLISTVIEW* change = (const NMLISTVIEW*)pNMHDR;
    if (change->iItem >= 0 && (change->uNewState & LVIS_SELECTED)) {
        CGame* game = m_AllList.GetGame(change->iItem);
        if (game != NULL && g_GlobalOption.FindSelfGameIndex((WORD)game->GetId()) >= 0)
            m_AllList.SetItemState(change->iItem, 0, LVIS_SELECTED);
    }
    m_btAdd.EnableWindow(m_AllList.GetSelectedCount() > 0);
}

void CGameListManagerDlg::OnSelfChanged(NMHDR*, LRESULT* pResult)
{
    *pResult = 0;
    m_btRemove.EnableWindow(m_SelfList.GetSelectedCount() > 0);
}

void CGameListManagerDlg::OnAdd()
{
    int item = -1;
    while ((item = m_AllList.GetNextItem(item, LVNI_SELECTED)) >= 0) {
        m_SelfList.AddGame(m_AllList.GetGame(item));
        m_AllList.SetItemState(item, 0, LVIS_SELECTED);
    }
}

void CGameListManagerDlg::OnRemove()
{
    for (int item = m_SelfList.GetItemCount() - 1; item >= 0; item--) {
        if (m_SelfList.GetItemState(item, LVIS_SELECTED) & LVIS_SELECTED)
            m_SelfList.DeleteItem(item);
    }
}

void CGameListManagerDlg::OnAllDblClk(NMHDR* pNMHDR, LRESULT* pResult)
{
    *pResult = 0;
    const NMITEMACTIVATE* click = (const NMITEMACTIVATE*)pNMHDR;
    CGame* game = click->iItem >= 0 ? m_AllList.GetGame(click->iItem) : NULL;
    if (game == NULL || g_GlobalOption.FindSelfGameIndex((WORD)game->GetId()) >= 0)
        return;
    m_SelfList.AddGame(game);
    m_AllList.SetItemState(click->iItem, 0, LVIS_SELECTED);
}

void CGameListManagerDlg::OnSelfDblClk(NMHDR* pNMHDR, LRESULT* pResult)
{
    *pResult = 0;
    const NMITEMACTIVATE* click = (const NMITEMACTIVATE*)pNMHDR;
    if (click->iItem >= 0)
        m_SelfList.DeleteItem(click->iItem);
}

void CGameListManagerDlg::OnOK()
{
    CRgnDialog::OnOK();
    if (m_pGameListView == NULL)
        return;
    // Stored games the list never showed (not in the tree now) are kept.
    for (INT_PTR i = g_GlobalOption.GetSelfGameCount() - 1; i >= 0; i--) {
        const WORD id = g_GlobalOption.GetSelfGame(i);
        bool shown = false;
        for (INT_PTR j = 0; j < m_ShownSelfGames.GetSize() && !shown; j++)
            shown = m_ShownSelfGames[j] == id;
        if (shown && m_SelfList.FindGame(id) < 0)
            g_GlobalOption.RemoveSelfGameAt(i);
    }
    for (int item = 0; item < m_SelfList.GetItemCount(); item++) {
        CGame* game = m_SelfList.GetGame(item);
        if (game != NULL && g_GlobalOption.FindSelfGameIndex((WORD)game->GetId()) < 0)
            g_GlobalOption.AddSelfGame((WORD)game->GetId());
    }
    g_GlobalOption.SaveSelfGames();
}

void CGameListManagerDlg::OnCancel()
{
    CRgnDialog::OnCancel();
    if (m_SelfList.GetSafeHwnd() == NULL)
        return;
    for (int item = m_SelfList.GetItemCount() - 1; item >= 0; item--) {
        CGame* game = m_SelfList.GetGame(item);
        if (game != NULL && g_GlobalOption.FindSelfGameIndex((WORD)game->GetId()) < 0)
            m_SelfList.DeleteItem(item);
    }
}
