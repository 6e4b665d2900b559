// One page of a tab widget.
#pragma once

#include "Widget.h"
#include "WidgetObject.h"

#define TAB_TITLE_LEN 32

class TALMORI_API CTabPageWidget : public CWidget, public CWidgetObject
{
public:
    CTabPageWidget();
    virtual ~CTabPageWidget();

    void SetPageTitle(int nID, const char* pszTitle);
    const char* GetPageTitle() const { return m_szTitle; }
    void SetPageID(int nID) { m_nPageID = nID; }
    int GetPageID() const { return m_nPageID; }

protected:
    char m_szTitle[TAB_TITLE_LEN];
    int m_nPageID;
};
