// Keeps tab pages and their header buttons and shows one page at a time.
// It owns both; its owner places them and adds them to the tree.
#pragma once

#include <afxtempl.h>

#include "ButtonListener.h"
#include "TabItemButtonWidget.h"
#include "TabPageWidget.h"
#include "Widget.h"
#include "WidgetObject.h"

enum enTabPosition
{
    enTabPositionTop = 0,
    enTabPositionBottom = 1,
    enTabPositionLeft = 2,
    enTabPositionRight = 3,
};

#define TAB_NAME_LEN 32

class TALMORI_API CTabWidget : public CWidget, public CWidgetObject, public IButtonListener
{
public:
    CTabWidget();
    virtual ~CTabWidget();

    void Draw(CWidgetDC* pDC) override;
    virtual enTabPosition GetPosition();
    void ButtonClick(int nID) override;
    void ButtonDblClk(int nID) override;

    BOOL CreateListener(int nID, const char* pszName, enTabPosition position);
    void AddItem(int nIndex, const char* pszTitle, CTabPageWidget* pPage);
    int DeleteItem(int nIndex);
    void DeleteAllItems();
    bool SetCurSel(int nIndex);
    int GetCurSel() const { return m_nCurSel; }
    int GetItemCount() const { return (int)m_Pages.GetSize(); }
    void SetPosition(enTabPosition position) { m_Position = position; }

protected:
    // Ids follow the array index, so a header click selects its own tab.
    void RenumberItems();

protected:
    CArray<CTabPageWidget*, CTabPageWidget*> m_Pages;
    CArray<CTabItemButtonWidget*, CTabItemButtonWidget*> m_Buttons;
    int m_nCurSel;
    int m_nControlID;
    char m_szName[TAB_NAME_LEN];
    enTabPosition m_Position;
    CTabPageWidget* m_pCurPage;
    CTabItemButtonWidget* m_pCurButton;
};
