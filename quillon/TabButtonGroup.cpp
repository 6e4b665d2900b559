#include "TabButtonGroup.h"

void CTabButtonGroup::AddButton(CTabSkinButton* pButton)
{
    if (pButton == NULL)
        return;
    for (INT_PTR i = 0; i < m_Buttons.GetSize(); ++i)
        if (m_Buttons[i] == pButton)
            return;
    m_Buttons.Add(pButton);
}

void CTabButtonGroup::SelectButton(CTabSkinButton* pButton)
{
    for (INT_PTR i = 0; i < m_Buttons.GetSize(); ++i)
        if (m_Buttons[i] != pButton && m_Buttons[i]->IsSelected())
            m_Buttons[i]->SetSelected(FALSE);
    if (pButton != NULL)
        pButton->SetSelected(TRUE);
}
