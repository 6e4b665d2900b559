// CGameListManagerDlg: the player's own game list ("自定义游戏"): every game
// of the game list view's tree on the left, the chosen ones on the right;
// OK stores the choice in the user's configuration.
#pragma once

#include <RgnButton.h>
#include <RgnDialog.h>

#include "GameListListCtrl.h"

class CGameListView;

class CGameListManagerDlg : public CRgnDialog
{
public:
    enum
    {
        IDD = 148,
        IDC_ADD = 1076,
        IDC_OK = 1077,
        IDC_CANCEL = 1078,
        IDC_REMOVE = 1079,
        IDC_SELF_LIST = 1080,
        IDC_ALL_LIST = 1081
    };

    explicit CGameListManagerDlg(CGameListView* pGameListView = NULL, CWnd* pParent = NULL);
    virtual ~CGameListManagerDlg();

    CGameListListCtrl& GetAllList() { return m_AllList; }
    CGameListListCtrl& GetSelfList() { return m_SelfList; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    afx_msg void OnAdd();
    afx_msg void OnRemove();
    afx_msg void OnAllChanged(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnSelfChanged(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnAllDblClk(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnSelfDblClk(NMHDR* pNMHDR, LRESULT* pResult);
    DECLARE_MESSAGE_MAP()

private:
    bool IsInTree(CGame* pGame);

    CGameListListCtrl m_AllList;
    CGameListListCtrl m_SelfList;
    CRgnButton m_btAdd;
    CRgnButton m_btRemove;
    CRgnButton m_btOK;
    CRgnButton m_btCancel;
    CGameListView* m_pGameListView;
    HBITMAP m_hScrollBitmap;
    // The stored games the right list showed when the dialog opened: only
    // those can have been removed by the user.
    CArray<WORD, WORD> m_ShownSelfGames;
};
