#include "SkinMenuEx.h"

#include <TextUnit.h>

namespace
{
const COLORREF kItemBack = RGB(0xE4, 0xF2, 0xFD);
const COLORREF kGrooveDark = RGB(0xC5, 0xE5, 0xFE);
const COLORREF kGrooveLight = RGB(0xFE, 0xFE, 0xFE);
const int kIconLeft = 5;
} // namespace

CSkinMenuEx::CSkinMenuEx() : m_IconMap(10), m_nPictureWidth(0), m_nPictureHeight(0)
{
    m_IconMap.InitHashTable(150);
}

CSkinMenuEx::~CSkinMenuEx()
{
    m_ImageList.DeleteImageList();
}

void CSkinMenuEx::SetMenuImage(HBITMAP hBitmap, int nWidth, int nHeight, COLORREF crTransparent)
{
    m_MenuPicture.Destroy();
    if (!m_MenuPicture.CreateFromHBITMAP(hBitmap))
        return;
    m_MenuPicture.IncreaseBpp(24);
    m_MenuPicture.SetTransIndex(0);
    m_MenuPicture.SetTransColor(CPicture::RgbToQuad(crTransparent));
    m_nPictureWidth = nWidth;
    m_nPictureHeight = nHeight;
}

void CSkinMenuEx::SetItemImage(UINT nID, int nKind, int nValue)
{
    ICON_ENTRY entry = {nKind, nValue};
    m_IconMap.SetAt(nID, entry);
}

BOOL CSkinMenuEx::GetItemImage(UINT nID, ICON_ENTRY& entry) const
{
    return m_IconMap.Lookup(nID, entry);
}

BOOL CSkinMenuEx::LoadImageList(LPCSTR lpszFile, int cx, int cy)
{
    if (m_ImageList.GetSafeHandle() != NULL)
        return FALSE;
    HBITMAP hBitmap = CSkinMenu::LoadFileBmp(lpszFile);
    if (hBitmap == NULL)
        return FALSE;
    BOOL bDone = FALSE;
    if (m_ImageList.Create(cx, cy, ILC_MASK | ILC_COLOR16, 0, 0))
        bDone = ImageList_AddMasked(m_ImageList.GetSafeHandle(), hBitmap, RGB(255, 0, 255)) >= 0;
    ::DeleteObject(hBitmap);
    return bDone;
}

void CSkinMenuEx::DrawIcon(CDC* pDC, UINT nID, const CRect& rcItem)
{
    ICON_ENTRY entry;
    if (!m_IconMap.Lookup(nID, entry))
        return;
    const int x = rcItem.left + kIconLeft;
    if (entry.nKind == kIconPicture) {
        if (m_MenuPicture.IsValid())
            m_MenuPicture.Draw(pDC->GetSafeHdc(), x, rcItem.top + 2, m_nPictureWidth, m_nPictureHeight);
    } else if (entry.nKind >= kIconListFirst && entry.nKind <= kIconListLast) {
        if (m_ImageList.GetSafeHandle() != NULL)
            ImageList_Draw(m_ImageList.GetSafeHandle(), entry.nValue, pDC->GetSafeHdc(), x, rcItem.top,
                           ILD_TRANSPARENT);
    }
}

void CSkinMenuEx::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    MENUITEM* pItem = (MENUITEM*)lpDrawItemStruct->itemData;
    if (pItem == NULL)
        return;
    CDC* pDC = CDC::FromHandle(lpDrawItemStruct->hDC);
    CRect rcItem(lpDrawItemStruct->rcItem);
    pDC->FillSolidRect(&rcItem, kItemBack);
    DrawImageLeft(pDC, rcItem);

    if (pItem->nID == 0 && !(pItem->nFlags & MF_POPUP)) {
        const int xLeft = rcItem.left + GetLeftWidth() + 2;
        const int y = (rcItem.top + rcItem.bottom) / 2 - 1;
        if (rcItem.right - 2 > xLeft)
            pDC->Draw3dRect(xLeft, y, rcItem.right - 2 - xLeft, 2, kGrooveDark, kGrooveLight);
        return;
    }

    // A caption longer than the buffer is cut on a character boundary.
    char szCaption[1024];
    TextCopyField(szCaption, pItem->pszText);
    const UINT nState = lpDrawItemStruct->itemState;
    CRect rcText(rcItem);
    rcText.left += GetLeftWidth();
    rcText.DeflateRect(2, 0);
    if (nState & ODS_SELECTED)
        DrawHighLight(pDC, rcItem, (nState & ODS_GRAYED) != 0);
    DrawIcon(pDC, lpDrawItemStruct->itemID, rcItem);
    DrawTextItem(pDC, szCaption, rcText, (nState & ODS_SELECTED) != 0, (nState & ODS_CHECKED) != 0,
                 (nState & ODS_GRAYED) != 0);
}
