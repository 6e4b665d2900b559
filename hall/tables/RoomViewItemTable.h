// The central view of a table room: the toolbar on a 23-pixel strip at the
// top, the table grid below it. The one object through which the toolbar's
// buttons reach the room window.
#pragma once

#include "SkinWnd.h"
#include "TableFrame.h"
#include "TableRoomHost.h"
#include "TableToolBar.h"

class CRoomViewItemTable : public CSkinWnd
{
public:
    explicit CRoomViewItemTable(ITableRoomHost* pRoomHost);
    ~CRoomViewItemTable() override;

    // 0 the table list, 1 the single table, 2 the anti-cheat presentation.
    void SetTableMode(DWORD dwMode, bool bCycle);
    DWORD GetTableMode() const { return m_dwTableMode; }
    int CalcTableLayout(int nWidth);
    void SetToolBarText(const char* pszText);
    void ShowBankButtons(bool bBank, bool bExchange);
    // The game and the room of the room window; false without a room.
    bool GetGameRoomIds(DWORD* pGameId, DWORD* pRoomId);

    // What the toolbar's buttons and commands ask of the room window.
    void QuickJoinTable();
    void CloseRoom();
    void ShowBankStorage(int nPage);
    void ShowSpeakDlg();
    void ShowFindUserDlg();
    void ShowHBExchange();
    void UseItemByKind(int nKind);
    // Every table, or only those with a free chair (most occupied first).
    void ToggleTableFilter();
    void ShowOptionDlg();
    void ShowCreateTableDlg();

    CTableToolBar* GetToolBar() { return &m_TableToolBar; }
    CTableFrame* GetTableFrame() { return &m_TableFrame; }

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    DECLARE_MESSAGE_MAP()

private:
    ITableRoomHost* m_pRoomHost;
    CTableToolBar m_TableToolBar;
    CTableFrame m_TableFrame;
    DWORD m_dwTableMode;
};
