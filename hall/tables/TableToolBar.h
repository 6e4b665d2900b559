// The strip at the top of a table room: the room caption at the left and,
// from the right edge inwards, exit, other commands and either the normal
// set (table filter, quick sit, currency exchange) or the bank set (option,
// deposit, withdraw). Every button reaches the room through the view.
#pragma once

#include "PPButton.h"
#include "SkinButton.h"
#include "SkinWnd.h"

class CRoomViewItemTable;

enum
{
    IDC_TOOLBAR_QUICK_SIT = 1000,
    IDC_TOOLBAR_EXIT = 1002,
    IDC_TOOLBAR_CAPTION = 1003,
    IDC_TOOLBAR_CREATE_TABLE = 1004,
    IDC_TOOLBAR_SPEAK = 1005,
    IDC_TOOLBAR_EMPTY_TABLES = 1007,
    IDC_TOOLBAR_ALL_TABLES = 1008,
    IDC_TOOLBAR_OTHER = 1009,
    IDC_TOOLBAR_DEPOSIT = 1010,
    IDC_TOOLBAR_WITHDRAW = 1011,
    IDC_TOOLBAR_OPTION = 1012,
    IDC_TOOLBAR_EXCHANGE = 1013,
};

// Commands of the other-commands menu.
enum
{
    IDM_TOOLBAR_ITEM_8 = 1524,
    IDM_TOOLBAR_CLEAR_SCORE = 1525,
    IDM_TOOLBAR_CLEAR_FLEE = 1526,
    IDM_TOOLBAR_FIND_USER = 1527,
    IDM_TOOLBAR_TABLE_OPTION = 1528,
};

class CTableToolBar : public CSkinWnd
{
public:
    explicit CTableToolBar(CRoomViewItemTable* pOwner);
    ~CTableToolBar() override;

    void ShowBankButtons(bool bBank, bool bExchange);
    bool IsBankMode() const { return m_bBankMode; }
    // Places the buttons again for the current set and table mode.
    void RecalcLayout();
    // The other-commands menu, tracked under the exit button.
    void ShowCommandMenu();

    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    afx_msg void OnQuickSit();
    afx_msg void OnExit();
    afx_msg void OnCreateTable();
    afx_msg void OnSpeak();
    afx_msg void OnEmptyTables();
    afx_msg void OnAllTables();
    afx_msg void OnOther();
    afx_msg void OnDeposit();
    afx_msg void OnWithdraw();
    afx_msg void OnOption();
    afx_msg void OnExchange();
    DECLARE_MESSAGE_MAP()

private:
    void LayoutControls(int cx);

    CRoomViewItemTable* m_pOwner;
    bool m_bBankMode;
    bool m_bShowExchange;
    CPPButton m_btQuickSit;
    CPPButton m_btExit;
    CPPButton m_btCreateTable;
    CEdit m_edCaption;
    CSkinButton m_btSpeak;
    CPPButton m_btEmptyTables;
    CPPButton m_btAllTables;
    CPPButton m_btOther;
    CPPButton m_btDeposit;
    CPPButton m_btWithdraw;
    CPPButton m_btOption;
    CPPButton m_btExchange;
};
