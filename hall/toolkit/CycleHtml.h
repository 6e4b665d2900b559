// CCycleHtml: the browser pane over the tab strip's news strip. A plain
// page without border or scroll bars, and without a context menu.
#pragma once

#include <HtmlBrowser.h>

class CCycleHtml : public CHtmlBrowser
{
public:
    CCycleHtml();
    ~CCycleHtml() override;

protected:
    HRESULT OnGetHostInfo(DOCHOSTUIINFO* pInfo) override;
    afx_msg void OnContextMenu(CWnd* pWnd, CPoint point);
    DECLARE_MESSAGE_MAP()
};
