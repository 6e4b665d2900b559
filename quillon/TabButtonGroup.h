// Buttons of which one at most is selected at a time.
#pragma once

#include <afxtempl.h>

#include "TabSkinButton.h"

class CTabButtonGroup
{
public:
    // Once per button.
    void AddButton(CTabSkinButton* pButton);
    // Clears every other selected button and selects this one.
    void SelectButton(CTabSkinButton* pButton);
    void Clear() { m_Buttons.RemoveAll(); }
    INT_PTR GetCount() const { return m_Buttons.GetSize(); }

private:
    CArray<CTabSkinButton*, CTabSkinButton*> m_Buttons;
};
