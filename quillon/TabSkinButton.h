// A skinned button that stays pressed while it is the selected one of its
// group.
#pragma once

#include "SkinButton.h"

class CTabSkinButton : public CSkinButton
{
public:
    CTabSkinButton() : m_bSelected(FALSE) {}

    void SetSelected(BOOL bSelected);
    BOOL IsSelected() const { return m_bSelected; }
    // The skin draws a checked button pressed.
    BOOL GetButtonChecked() override { return m_bSelected; }

protected:
    BOOL m_bSelected;
};
