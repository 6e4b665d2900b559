#include "RoomTabPaintManager.h"

#include <SkinTab.h>
#include <SkinTabItem.h>
#include <SkinTabManager.h>

#include <algorithm>

#include "RoomControlWnd.h"

namespace
{
const int kImageGap = 2;

// Draws the half of a two-state picture that fits the state.
void DrawHalf(CSkinImage* pImage, CDC* pDC, int x, int y, int cx, int cy, bool bSelected)
{
    const int nHalf = pImage->GetWidth() / 2;
    pImage->StretchBlt(pDC->GetSafeHdc(), x, y, cx, cy, bSelected ? 0 : nHalf, 0, nHalf, pImage->GetHeight());
}

bool HasCloseButton(CSkinTabItem* pItem)
{
    return g_pRoomControlWnd != NULL && g_pRoomControlWnd->HasCloseButton(pItem);
}

// A cross in the caption's colour.
void DrawCloseButton(CDC* pDC, const CRect& rect, COLORREF crColour)
{
    CPen pen(PS_SOLID, 2, crColour);
    CPen* pOld = pDC->SelectObject(&pen);
    pDC->MoveTo(rect.left, rect.top);
    pDC->LineTo(rect.right - 1, rect.bottom - 1);
    pDC->MoveTo(rect.right - 1, rect.top);
    pDC->LineTo(rect.left, rect.bottom - 1);
    pDC->SelectObject(pOld);
}
} // namespace

CRect CRoomTabPaintManager::CloseButtonRect(const CRect& rcItem)
{
    const int nTop = rcItem.top + (rcItem.Height() - kCloseSize) / 2;
    const int nRight = rcItem.right - kCloseMargin;
    return CRect(nRight - kCloseSize, nTop, nRight, nTop + kCloseSize);
}

CRoomTabPaintManager::CRoomTabPaintManager()
{
    m_bDrawTextNoPrefix = TRUE;
}

CRoomTabPaintManager::~CRoomTabPaintManager() {}

CRect CRoomTabPaintManager::GetHeaderMargin()
{
    return CRect(10, 8, 0, 0);
}

CRect CRoomTabPaintManager::GetButtonMargin()
{
    if (g_pRoomControlWnd != NULL && g_pRoomControlWnd->IsSidePanelShown())
        return CRect(-13, 0, 0, 0);
    return CRect(1, 1, 1, 2);
}

int CRoomTabPaintManager::GetHeaderHeight(CSkinTabManager*)
{
    return 31;
}

int CRoomTabPaintManager::DrawSingleButton(CDC* pDC, CSkinTabItem* pItem, const CRect& rcItem, BOOL bDraw)
{
    CSkinTabManager* pManager = pItem->GetTabManager();
    if (!bDraw) {
        if (pManager != NULL && !pManager->IsHorizontalPosition())
            return CSkinTabPaintManager::DrawSingleButton(pDC, pItem, rcItem, FALSE);
        const CRect rcMargin = GetButtonMargin();
        int nLength = rcMargin.left + rcMargin.right;
        CFont* pOld = pDC->SelectObject(GetFont());
        CRect rcText(0, 0, 0, 0);
        pDC->DrawText(pItem->GetCaption(), &rcText,
                      DT_CALCRECT | DT_SINGLELINE | (m_bDrawTextNoPrefix ? DT_NOPREFIX : 0));
        pDC->SelectObject(pOld);
        nLength += rcText.Width();
        CImageList* pImages = pManager != NULL ? pManager->GetImageList() : NULL;
        int cx = 0, cy = 0;
        if (pItem->GetImageIndex() >= 0 && pImages != NULL && ImageList_GetIconSize(pImages->GetSafeHandle(), &cx, &cy))
            nLength += cx;
        if (HasCloseButton(pItem))
            nLength += kCloseSize + kCloseMargin;
        return nLength;
    }

    const bool bSelected = pItem->IsSelected() != FALSE;
    CSkinTab* pTab = pManager != NULL ? pManager->GetTabCtrl() : NULL;
    if (pTab != NULL) {
        CSkinImage* pLeft = pTab->GetSkinImage(CSkinTab::TAB_IMAGE_LEFT);
        CSkinImage* pMid = pTab->GetSkinImage(CSkinTab::TAB_IMAGE_MID);
        CSkinImage* pRight = pTab->GetSkinImage(CSkinTab::TAB_IMAGE_RIGHT);
        const int nLeft = pLeft != NULL && pLeft->LoadImage() ? pLeft->GetWidth() / 2 : 0;
        const int nRight = pRight != NULL && pRight->LoadImage() ? pRight->GetWidth() / 2 : 0;
        const int cy = rcItem.Height();
        if (nLeft > 0)
            DrawHalf(pLeft, pDC, rcItem.left, rcItem.top, nLeft, cy, bSelected);
        if (pMid != NULL && pMid->LoadImage() && pMid->GetWidth() / 2 > 0) {
            const int nTile = pMid->GetWidth() / 2;
            const int nEnd = rcItem.right - nRight;
            for (int x = rcItem.left + nLeft; x < nEnd; x += nTile)
                DrawHalf(pMid, pDC, x, rcItem.top, std::min(nTile, nEnd - x), cy, bSelected);
        }
        if (nRight > 0)
            DrawHalf(pRight, pDC, rcItem.right - nRight, rcItem.top, nRight, cy, bSelected);
    }

    const CRect rcMargin = GetButtonMargin();
    CRect rcContent(rcItem);
    rcContent.DeflateRect(std::max(0L, (long)rcMargin.left), 0, rcMargin.right, 0);
    const bool bClose = HasCloseButton(pItem);
    const CRect rcClose = CloseButtonRect(rcItem);
    if (bClose)
        rcContent.right = std::min(rcContent.right, rcClose.left - kImageGap);
    CImageList* pImages = pManager != NULL ? pManager->GetImageList() : NULL;
    int cx = 0, cy = 0;
    if (pItem->GetImageIndex() >= 0 && pImages != NULL && ImageList_GetIconSize(pImages->GetSafeHandle(), &cx, &cy)) {
        pImages->Draw(pDC, pItem->GetImageIndex(),
                      CPoint(rcContent.left, rcContent.top + (rcContent.Height() - cy) / 2), ILD_TRANSPARENT);
        rcContent.left += cx + kImageGap;
    }
    if (!pItem->GetCaption().IsEmpty()) {
        CFont* pOld = pDC->SelectObject(GetFont());
        const int nMode = pDC->SetBkMode(TRANSPARENT);
        const COLORREF crOld = pDC->SetTextColor(bSelected ? kTextSelected : kTextNormal);
        pDC->DrawText(pItem->GetCaption(), &rcContent,
                      DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_END_ELLIPSIS | (m_bDrawTextNoPrefix ? DT_NOPREFIX : 0));
        pDC->SetTextColor(crOld);
        pDC->SetBkMode(nMode);
        pDC->SelectObject(pOld);
    }
    if (bClose)
        DrawCloseButton(pDC, rcClose, bSelected ? kTextSelected : kTextNormal);
    return rcItem.Width();
}
