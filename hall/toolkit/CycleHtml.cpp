#include "CycleHtml.h"

BEGIN_MESSAGE_MAP(CCycleHtml, CHtmlBrowser)
    ON_WM_CONTEXTMENU()
END_MESSAGE_MAP()

CCycleHtml::CCycleHtml() {}

CCycleHtml::~CCycleHtml() {}

HRESULT CCycleHtml::OnGetHostInfo(DOCHOSTUIINFO* pInfo)
{
    pInfo->dwFlags |= DOCHOSTUIFLAG_NO3DBORDER | DOCHOSTUIFLAG_SCROLL_NO;
    return S_OK;
}

void CCycleHtml::OnContextMenu(CWnd*, CPoint) {}
