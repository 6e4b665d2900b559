#include "SkinTabPaintManager.h"
#include "SkinAttribute.h"
#include "SkinTabManager.h"

#include <algorithm>

namespace
{
const int kImageGap = 2;
const int kMinButtonHeight = 18;
} // namespace

CSkinTabPaintManager::CSkinTabPaintManager()
    : m_bDrawTextNoPrefix(FALSE), m_bBoldSelected(FALSE), m_crHeader(RGB(200, 221, 242)),
      m_crButton(RGB(221, 233, 246)), m_crButtonHot(RGB(240, 246, 252)), m_crButtonSelected(RGB(255, 255, 255)),
      m_crBorder(CSkinAttribute::m_crBorder), m_crText(CSkinAttribute::m_crText),
      m_crTextSelected(CSkinAttribute::m_crText), m_crTextDisabled(CSkinAttribute::m_crGrayText)
{
    RefreshMetrics();
}

CSkinTabPaintManager::~CSkinTabPaintManager() {}

void CSkinTabPaintManager::RefreshMetrics()
{
    LOGFONT lf;
    if (CSkinAttribute::GetDefaultFont()->GetLogFont(&lf) == 0)
        return;
    m_fontNormal.DeleteObject();
    m_fontBold.DeleteObject();
    m_fontNormal.CreateFontIndirect(&lf);
    lf.lfWeight = FW_BOLD;
    m_fontBold.CreateFontIndirect(&lf);
}

CFont* CSkinTabPaintManager::GetFont(BOOL bVertical)
{
    return m_fontNormal.GetSafeHandle() != NULL ? &m_fontNormal : CSkinAttribute::GetDefaultFont();
}

CFont* CSkinTabPaintManager::GetBoldFont(BOOL bVertical)
{
    return m_fontBold.GetSafeHandle() != NULL ? &m_fontBold : GetFont(bVertical);
}

CRect CSkinTabPaintManager::GetButtonMargin()
{
    return CRect(6, 3, 6, 3);
}

CRect CSkinTabPaintManager::GetHeaderMargin()
{
    return CRect(0, 2, 0, 0);
}

int CSkinTabPaintManager::GetButtonHeight(CSkinTabManager* pManager)
{
    HDC hDC = ::GetDC(NULL);
    HGDIOBJ hOld = ::SelectObject(hDC, GetFont()->GetSafeHandle());
    TEXTMETRIC tm = {};
    ::GetTextMetrics(hDC, &tm);
    ::SelectObject(hDC, hOld);
    ::ReleaseDC(NULL, hDC);
    CRect rcMargin = GetButtonMargin();
    int nHeight = (int)tm.tmHeight + rcMargin.top + rcMargin.bottom;
    CImageList* pImages = pManager != NULL ? pManager->GetImageList() : NULL;
    int cx = 0, cy = 0;
    if (pImages != NULL && ImageList_GetIconSize(pImages->GetSafeHandle(), &cx, &cy))
        nHeight = std::max<int>(nHeight, cy + rcMargin.top + rcMargin.bottom);
    return std::max(nHeight, kMinButtonHeight);
}

int CSkinTabPaintManager::GetHeaderHeight(CSkinTabManager* pManager)
{
    CRect rcMargin = GetHeaderMargin();
    BOOL bHorizontal = pManager == NULL || pManager->IsHorizontalPosition();
    return GetButtonHeight(pManager) + (bHorizontal ? rcMargin.top + rcMargin.bottom : rcMargin.left + rcMargin.right);
}

int CSkinTabPaintManager::GetButtonLength(CDC* pDC, CSkinTabItem* pItem)
{
    return DrawSingleButton(pDC, pItem, CRect(0, 0, 0, 0), FALSE);
}

int CSkinTabPaintManager::GetContentLength(CDC* pDC, CSkinTabItem* pItem)
{
    int nLength = 0;
    CSkinTabManager* pManager = pItem->GetTabManager();
    CImageList* pImages = pManager != NULL ? pManager->GetImageList() : NULL;
    int cx = 0, cy = 0;
    if (pItem->GetImageIndex() >= 0 && pImages != NULL && ImageList_GetIconSize(pImages->GetSafeHandle(), &cx, &cy))
        nLength += cx;
    if (!pItem->GetCaption().IsEmpty()) {
        CFont* pOld = pDC->SelectObject(pItem->IsSelected() && m_bBoldSelected ? GetBoldFont() : GetFont());
        CRect rcText(0, 0, 0, 0);
        pDC->DrawText(pItem->GetCaption(), &rcText,
                      DT_CALCRECT | DT_SINGLELINE | (m_bDrawTextNoPrefix ? DT_NOPREFIX : 0));
        pDC->SelectObject(pOld);
        nLength += (nLength > 0 ? kImageGap : 0) + rcText.Width();
    }
    return nLength;
}

void CSkinTabPaintManager::DrawHeaderBack(CDC* pDC, CSkinTabManager* pManager, const CRect& rcHeader)
{
    pDC->FillSolidRect(&rcHeader, m_crHeader);
}

void CSkinTabPaintManager::DrawTabControl(CDC* pDC, CSkinTabManager* pManager, const CRect& rcControl)
{
    for (int i = 0; i < pManager->GetItemCount(); ++i) {
        CSkinTabItem* pItem = pManager->GetItem(i);
        CRect rcItem = pItem->GetRect();
        if (!rcItem.IsRectEmpty())
            DrawSingleButton(pDC, pItem, rcItem, TRUE);
    }
}

int CSkinTabPaintManager::DrawSingleButton(CDC* pDC, CSkinTabItem* pItem, const CRect& rcItem, BOOL bDraw)
{
    CSkinTabManager* pManager = pItem->GetTabManager();
    const BOOL bHorizontal = pManager == NULL || pManager->IsHorizontalPosition();
    const CRect rcMargin = GetButtonMargin();
    const int nContent = GetContentLength(pDC, pItem);
    pItem->m_nContentLength = nContent;
    const int nLength = nContent + (bHorizontal ? rcMargin.left + rcMargin.right : rcMargin.top + rcMargin.bottom);
    if (!bDraw)
        return nLength;

    const BOOL bSelected = pItem->IsSelected();
    COLORREF crFill = bSelected ? m_crButtonSelected : pItem->IsFocused() ? m_crButtonHot : m_crButton;
    pDC->FillSolidRect(&rcItem, crFill);
    pDC->Draw3dRect(&rcItem, m_crBorder, m_crBorder);

    CRect rcContent(rcItem);
    rcContent.DeflateRect(rcMargin.left, rcMargin.top, rcMargin.right, rcMargin.bottom);
    CImageList* pImages = pManager != NULL ? pManager->GetImageList() : NULL;
    int cx = 0, cy = 0;
    if (pItem->GetImageIndex() >= 0 && pImages != NULL && ImageList_GetIconSize(pImages->GetSafeHandle(), &cx, &cy)) {
        pImages->Draw(pDC, pItem->GetImageIndex(),
                      CPoint(rcContent.left, rcContent.top + (rcContent.Height() - cy) / 2), ILD_TRANSPARENT);
        rcContent.left += cx + kImageGap;
    }
    if (!pItem->GetCaption().IsEmpty()) {
        CFont* pOld = pDC->SelectObject(bSelected && m_bBoldSelected ? GetBoldFont() : GetFont());
        int nMode = pDC->SetBkMode(TRANSPARENT);
        COLORREF crOld = pDC->SetTextColor(!pItem->IsEnabled() ? m_crTextDisabled
                                           : bSelected         ? m_crTextSelected
                                                               : m_crText);
        pDC->DrawText(pItem->GetCaption(), &rcContent,
                      DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | (bHorizontal ? DT_LEFT : DT_CENTER) |
                          (m_bDrawTextNoPrefix ? DT_NOPREFIX : 0));
        pDC->SetTextColor(crOld);
        pDC->SetBkMode(nMode);
        pDC->SelectObject(pOld);
    }
    return nLength;
}
