#include "TabItemButtonWidget.h"

CTabItemButtonWidget::CTabItemButtonWidget() {}

CTabItemButtonWidget::~CTabItemButtonWidget() {}

BOOL CTabItemButtonWidget::CreateListener(int nID, IButtonListener* pListener, const char* pszText)
{
    return Create(nID, pListener, pszText, BUTTON_STYLE_PUSH);
}

void CTabItemButtonWidget::LButtonDown(int x, int y)
{
    m_bPressed = true;
    MarkDirty();
    // The tab widget pushes the header of the selected tab; that one stays quiet.
    if (!m_nPushed && m_pListener != NULL)
        m_pListener->ButtonClick(m_nID);
}
