#include "ImageTabPaintManager.h"

#include "ImageTabItem.h"
#include "SkinTabManager.h"

CImageTabPaintManager::CImageTabPaintManager()
    : m_rcHeaderMargin(0, 0, 0, 0), m_rcButtonMargin(0, 5, 0, 0), m_crNormalText(RGB(0, 90, 103)),
      m_crSelectedText(RGB(0, 90, 103)), m_crDisabledText(RGB(200, 200, 200)), m_nIconWidth(0)
{
    m_Font.CreateFont(12, 0, 0, 0, 400, FALSE, FALSE, FALSE, 0, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                      DEFAULT_QUALITY, 0x20, "宋体");
}

CImageTabPaintManager::~CImageTabPaintManager() {}

int CImageTabPaintManager::FrameOf(CSkinTabItem* pItem)
{
    if (!pItem->IsEnabled())
        return 2;
    return pItem->IsSelected() ? 0 : 1;
}

CSkinImage* CImageTabPaintManager::ItemImage(CSkinTabItem* pItem)
{
    CImageTabItem* pImageItem = dynamic_cast<CImageTabItem*>(pItem);
    return pImageItem != NULL ? pImageItem->GetImage() : NULL;
}

int CImageTabPaintManager::FrameWidth(CSkinImage* pImage)
{
    return pImage != NULL && pImage->LoadImage() ? pImage->GetWidth() / 3 : 0;
}

int CImageTabPaintManager::GetButtonLength(CDC* pDC, CSkinTabItem* pItem)
{
    return DrawSingleButton(pDC, pItem, CRect(0, 0, 0, 0), FALSE);
}

int CImageTabPaintManager::GetButtonHeight(CSkinTabManager* pManager)
{
    if (!m_ImageLeft.LoadImage())
        return CSkinTabPaintManager::GetButtonHeight(pManager);
    bool bHorizontal = pManager == NULL || pManager->IsHorizontalPosition();
    return bHorizontal ? m_ImageLeft.GetHeight() : m_ImageLeft.GetWidth() / 3;
}

int CImageTabPaintManager::DrawSingleButton(CDC* pDC, CSkinTabItem* pItem, const CRect& rcItem, BOOL bDraw)
{
    CSkinTabManager* pManager = pItem->GetTabManager();
    const bool bHorizontal = pManager == NULL || pManager->IsHorizontalPosition();
    CSkinImage* parts[3] = {&m_ImageLeft, ItemImage(pItem), &m_ImageRight};
    int nExtent = 0;
    for (CSkinImage* pImage : parts)
        if (pImage != NULL && pImage->LoadImage())
            nExtent += bHorizontal ? pImage->GetWidth() / 3 : pImage->GetHeight();
    if (!bDraw)
        return nExtent;

    const int nFrame = FrameOf(pItem);
    HDC hDC = pDC->GetSafeHdc();
    if (bHorizontal) {
        int x = rcItem.left;
        for (int i = 0; i < 3; ++i) {
            CSkinImage* pImage = parts[i];
            if (pImage == NULL || !pImage->LoadImage())
                continue;
            int nWidth = pImage->GetWidth() / 3;
            if (i == 1 && m_nIconWidth > 0)
                pImage->AlphaDrawImage(pDC, x, rcItem.top, m_nIconWidth, pImage->GetHeight(), nFrame * nWidth, 0,
                                       nWidth, pImage->GetHeight(), RGB(255, 0, 255));
            else
                pImage->BitBlt(hDC, x, rcItem.top, nWidth, pImage->GetHeight(), nFrame * nWidth, 0);
            x += nWidth;
        }
    } else {
        int y = rcItem.top;
        for (CSkinImage* pImage : parts) {
            if (pImage == NULL || !pImage->LoadImage())
                continue;
            int nWidth = pImage->GetWidth() / 3;
            pImage->BitBlt(hDC, rcItem.left - 4, y, nWidth, pImage->GetHeight(), nFrame * nWidth, 0);
            y += pImage->GetHeight();
        }
    }
    if (!pItem->GetCaption().IsEmpty()) {
        CFont* pOldFont = pDC->SelectObject(&m_Font);
        int nMode = pDC->SetBkMode(TRANSPARENT);
        COLORREF crOld = pDC->SetTextColor(nFrame == 2   ? m_crDisabledText
                                           : nFrame == 0 ? m_crSelectedText
                                                         : m_crNormalText);
        CRect rcText(rcItem);
        pDC->DrawText(pItem->GetCaption(), &rcText, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
        pDC->SetTextColor(crOld);
        pDC->SetBkMode(nMode);
        pDC->SelectObject(pOldFont);
    }
    return nExtent;
}
