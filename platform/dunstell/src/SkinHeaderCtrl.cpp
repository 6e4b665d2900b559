#include "SkinHeaderCtrl.h"
#include "SkinAttribute.h"

IMPLEMENT_DYNAMIC(CSkinHeaderCtrl, CHeaderCtrl)

BEGIN_MESSAGE_MAP(CSkinHeaderCtrl, CHeaderCtrl)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CSkinHeaderCtrl::CSkinHeaderCtrl() {}

CSkinHeaderCtrl::~CSkinHeaderCtrl() {}

BOOL CSkinHeaderCtrl::OnEraseBkgnd(CDC* pDC)
{
    return TRUE;
}

void CSkinHeaderCtrl::OnPaint()
{
    CPaintDC dc(this);
    CRect rcClient;
    GetClientRect(&rcClient);
    CFont* pOldFont = dc.SelectObject(GetFont() != NULL ? GetFont() : CSkinAttribute::GetDefaultFont());
    DrawHeaderBack(&dc, rcClient);
    const int nCount = GetItemCount();
    for (int i = 0; i < nCount; ++i) {
        char szText[256] = "";
        HDITEM item = {};
        item.mask = HDI_TEXT | HDI_FORMAT;
        item.pszText = szText;
        item.cchTextMax = sizeof(szText);
        CRect rcItem;
        if (!GetItem(i, &item) || !GetItemRect(i, &rcItem))
            continue;
        DrawHeaderItem(&dc, i, rcItem, szText, item.fmt & HDF_JUSTIFYMASK);
    }
    dc.SelectObject(pOldFont);
}

void CSkinHeaderCtrl::DrawHeaderBack(CDC* pDC, const CRect& rcClient)
{
    pDC->FillSolidRect(&rcClient, CSkinAttribute::m_crBackground);
}

void CSkinHeaderCtrl::DrawHeaderItem(CDC* pDC, int nItem, const CRect& rcItem, LPCTSTR pszText, int nFormat)
{
    pDC->FillSolidRect(rcItem.right - 1, rcItem.top + 2, 1, rcItem.Height() - 4, CSkinAttribute::m_crBorder);
    CRect rcText(rcItem);
    rcText.DeflateRect(4, 0);
    UINT nAlign = nFormat == HDF_RIGHT ? DT_RIGHT : nFormat == HDF_CENTER ? DT_CENTER : DT_LEFT;
    int nMode = pDC->SetBkMode(TRANSPARENT);
    COLORREF crOld = pDC->SetTextColor(CSkinAttribute::m_crText);
    pDC->DrawText(pszText, -1, &rcText, nAlign | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
    pDC->SetTextColor(crOld);
    pDC->SetBkMode(nMode);
}
