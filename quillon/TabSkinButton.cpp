#include "TabSkinButton.h"

void CTabSkinButton::SetSelected(BOOL bSelected)
{
    m_bSelected = bSelected;
    if (m_hWnd != NULL)
        RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}
