#include "TabPageWidget.h"

#include "TextUnit.h"

CTabPageWidget::CTabPageWidget() : m_nPageID(-1)
{
    m_szTitle[0] = '\0';
}

CTabPageWidget::~CTabPageWidget() {}

void CTabPageWidget::SetPageTitle(int nID, const char* pszTitle)
{
    if (pszTitle == NULL)
        return;
    TextCopyField(m_szTitle, sizeof(m_szTitle), pszTitle);
    m_nPageID = nID;
}
