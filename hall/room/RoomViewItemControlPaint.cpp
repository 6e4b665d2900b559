#include "RoomViewItemControlPaint.h"

#include <SkinTab.h>
#include <SkinTabItem.h>
#include <SkinTabManager.h>

#include "GlobalUnits.h"

namespace
{
int HalfWidth(CSkinImage& image)
{
    return image.LoadImage() ? image.GetWidth() / 2 : 0;
}

void DrawHalf(CSkinImage& image, HDC hDC, const CRect& rcDest, bool bSelected)
{
    const int nHalf = image.GetWidth() / 2;
    image.StretchBlt(hDC, rcDest.left, rcDest.top, rcDest.Width(), rcDest.Height(), bSelected ? 0 : nHalf, 0, nHalf,
                     image.GetHeight());
}
} // namespace

CRoomControlTabPaintManager::CRoomControlTabPaintManager()
{
    CString strFolder;
    strFolder.Format("%scommon\\tab\\", g_GlobalUnits.GetResourceDirectory());
    m_ImageLeft.SetLoadInfo(strFolder + "left.bmp");
    m_ImageMid.SetLoadInfo(strFolder + "mid.bmp");
    m_ImageRight.SetLoadInfo(strFolder + "right.bmp");
}

CRoomControlTabPaintManager::~CRoomControlTabPaintManager() {}

CRect CRoomControlTabPaintManager::GetHeaderMargin()
{
    return CRect(10, 8, 0, 0);
}

CRect CRoomControlTabPaintManager::GetButtonMargin()
{
    return CRect(2, 4, 1, 1);
}

int CRoomControlTabPaintManager::GetButtonLength(CDC*, CSkinTabItem*)
{
    int nLength = HalfWidth(m_ImageLeft) + HalfWidth(m_ImageMid) + HalfWidth(m_ImageRight);
    if (m_ImageMid.LoadImage())
        nLength += 60;
    return nLength;
}

int CRoomControlTabPaintManager::GetButtonHeight(CSkinTabManager*)
{
    return m_ImageLeft.LoadImage() ? m_ImageLeft.GetHeight() + 7 : 1;
}

int CRoomControlTabPaintManager::DrawSingleButton(CDC* pDC, CSkinTabItem* pItem, const CRect& rcItem, BOOL bDraw)
{
    if (!bDraw)
        return GetButtonLength(pDC, pItem);
    const bool bSelected = pItem->IsSelected() != FALSE;
    HDC hDC = pDC->GetSafeHdc();
    const int nLeft = HalfWidth(m_ImageLeft), nRight = HalfWidth(m_ImageRight);
    if (nLeft > 0)
        DrawHalf(m_ImageLeft, hDC, CRect(rcItem.left, rcItem.top, rcItem.left + nLeft, rcItem.bottom), bSelected);
    if (HalfWidth(m_ImageMid) > 0)
        DrawHalf(m_ImageMid, hDC, CRect(rcItem.left + nLeft, rcItem.top, rcItem.right - nRight, rcItem.bottom),
                 bSelected);
    if (nRight > 0)
        DrawHalf(m_ImageRight, hDC, CRect(rcItem.right - nRight, rcItem.top, rcItem.right, rcItem.bottom), bSelected);

    CSkinTabManager* pManager = pItem->GetTabManager();
    CSkinTab* pTab = pManager != NULL ? pManager->GetTabCtrl() : NULL;
    const bool bActive = pTab != NULL && ::GetFocus() == pTab->GetSafeHwnd();
    CFont* pOld = pDC->SelectObject(bSelected && bActive ? GetBoldFont() : GetFont());
    const int nMode = pDC->SetBkMode(TRANSPARENT);
    const COLORREF crOld = pDC->SetTextColor(bSelected ? kTextSelected : kTextNormal);
    CRect rcText(rcItem);
    rcText.DeflateRect(8, 5);
    pDC->DrawText(pItem->GetCaption(), &rcText, DT_SINGLELINE | DT_VCENTER | DT_CENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
    pDC->SetTextColor(crOld);
    pDC->SetBkMode(nMode);
    pDC->SelectObject(pOld);
    return rcItem.Width();
}
