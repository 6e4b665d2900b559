#include "SkinMenu.h"
#include "SkinAttribute.h"

#include <Picture.h>

#include <algorithm>

IMPLEMENT_DYNCREATE(CSkinMenu, CMenu)

namespace
{
const int kTextMargin = 4;
const int kAcceleratorGap = 20;
const int kCheckSize = 16;
} // namespace

CSkinMenu::CSkinMenu() : m_nLeftWidth(kDefaultLeftWidth) {}

CSkinMenu::~CSkinMenu()
{
    FreeItems();
}

BOOL CSkinMenu::DestroyMenu()
{
    FreeItems();
    return CMenu::DestroyMenu();
}

MENUITEM* CSkinMenu::NewItem(LPCTSTR pszText, UINT nID, UINT nFlags)
{
    MENUITEM* pItem = new MENUITEM;
    size_t nLen = strlen(pszText != NULL ? pszText : "");
    pItem->pszText = new char[nLen + 1];
    memcpy(pItem->pszText, pszText != NULL ? pszText : "", nLen + 1);
    pItem->nID = nID;
    pItem->nFlags = nFlags;
    m_Items.Add(pItem);
    return pItem;
}

void CSkinMenu::FreeItems()
{
    for (INT_PTR i = 0; i < m_SubMenus.GetSize(); ++i) {
        CSkinMenu* pSub = (CSkinMenu*)m_SubMenus[i];
        pSub->FreeItems();
        pSub->Detach(); // the pop-up belongs to its parent menu
        delete pSub;
    }
    m_SubMenus.RemoveAll();
    for (INT_PTR i = 0; i < m_Items.GetSize(); ++i) {
        MENUITEM* pItem = (MENUITEM*)m_Items[i];
        delete[] pItem->pszText;
        delete pItem;
    }
    m_Items.RemoveAll();
}

BOOL CSkinMenu::ChangeStyle(CMenu* pMenu, BOOL bMenuBar, BOOL bSubMenus)
{
    HMENU hMenu = pMenu->GetSafeHmenu();
    if (hMenu == NULL)
        return FALSE;
    const int nCount = ::GetMenuItemCount(hMenu);
    for (int i = 0; i < nCount; ++i) {
        char szText[256] = "";
        MENUITEMINFOA info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING | MIIM_DATA;
        info.dwTypeData = szText;
        info.cch = sizeof(szText) - 1;
        if (!::GetMenuItemInfoA(hMenu, (UINT)i, TRUE, &info))
            continue;
        HMENU hSub = info.hSubMenu;
        if (hSub != NULL && bSubMenus && CMenu::FromHandlePermanent(hSub) == NULL) {
            CSkinMenu* pSub = new CSkinMenu;
            pSub->Attach(hSub);
            if (m_ImageLeft.HasLoadInfo())
                pSub->SetImageList(m_ImageLeft.GetLoadFileName());
            pSub->ChangeStyle(pSub, FALSE, TRUE);
            m_SubMenus.Add(pSub);
        }
        if (bMenuBar || (info.fType & MFT_OWNERDRAW))
            continue;
        const BOOL bSeparator = (info.fType & MFT_SEPARATOR) != 0;
        MENUITEM* pItem = NewItem(bSeparator ? "" : szText, bSeparator ? 0 : info.wID, hSub != NULL ? MF_POPUP : 0);
        MENUITEMINFOA change = {};
        change.cbSize = sizeof(change);
        change.fMask = MIIM_FTYPE | MIIM_DATA;
        change.fType = (info.fType & ~(MFT_STRING | MFT_SEPARATOR)) | MFT_OWNERDRAW;
        change.dwItemData = (ULONG_PTR)pItem;
        ::SetMenuItemInfoA(hMenu, (UINT)i, TRUE, &change);
    }
    return TRUE;
}

BOOL CSkinMenu::SetImageList(LPCTSTR pszFileName)
{
    m_ImageLeft.SetLoadInfo(pszFileName);
    m_nLeftWidth = m_ImageLeft.IsNull() ? kDefaultLeftWidth : m_ImageLeft.GetWidth();
    return !m_ImageLeft.IsNull();
}

HBITMAP CSkinMenu::LoadFileBmp(LPCTSTR pszFileName)
{
    if (pszFileName == NULL || pszFileName[0] == 0)
        return NULL;
    CPicture picture;
    if (!picture.Load(pszFileName, PICTURE_TYPE_UNKNOWN))
        return NULL;
    return picture.MakeBitmap(NULL);
}

void CSkinMenu::DrawImageLeft(CDC* pDC, const CRect& rcItem)
{
    CRect rcStrip(rcItem.left, rcItem.top, rcItem.left + m_nLeftWidth, rcItem.bottom);
    if (m_ImageLeft.IsNull()) {
        pDC->FillSolidRect(&rcStrip, CSkinAttribute::m_crBackground);
        return;
    }
    // The strip runs down the whole menu: each item shows its own slice.
    const int h = m_ImageLeft.GetHeight();
    for (int y = rcStrip.top; y < rcStrip.bottom;) {
        int ySrc = y % h, cy = std::min<int>(h - ySrc, rcStrip.bottom - y);
        m_ImageLeft.BitBlt(pDC->GetSafeHdc(), rcStrip.left, y, rcStrip.Width(), cy, 0, ySrc);
        y += cy;
    }
}

void CSkinMenu::DrawHighLight(CDC* pDC, const CRect& rcItem, BOOL bGrayed)
{
    CRect rc(rcItem);
    rc.DeflateRect(1, 1);
    COLORREF crFill = bGrayed ? RGB(220, 220, 220) : CSkinAttribute::m_crHighlight;
    pDC->FillSolidRect(&rc, crFill);
    pDC->Draw3dRect(&rc, CSkinAttribute::m_crBorder, CSkinAttribute::m_crBorder);
}

void CSkinMenu::DrawTextItem(CDC* pDC, LPCTSTR pszText, const CRect& rcText, BOOL bSelected, BOOL bChecked,
                             BOOL bGrayed)
{
    if (bChecked) {
        // The mark stands in the left strip beside the text.
        int xStrip = rcText.left - 2 - m_nLeftWidth;
        CRect rcCheck(xStrip + (m_nLeftWidth - kCheckSize) / 2, rcText.top + (rcText.Height() - kCheckSize) / 2, 0, 0);
        rcCheck.right = rcCheck.left + kCheckSize;
        rcCheck.bottom = rcCheck.top + kCheckSize;
        pDC->DrawFrameControl(&rcCheck, DFC_MENU, DFCS_MENUCHECK | DFCS_TRANSPARENT);
    }
    CString strText = pszText != NULL ? pszText : "";
    CString strAccel;
    int nTab = strText.Find('\t');
    if (nTab >= 0) {
        strAccel = strText.Mid(nTab + 1);
        strText = strText.Left(nTab);
    }
    int nMode = pDC->SetBkMode(TRANSPARENT);
    COLORREF crText = bGrayed     ? CSkinAttribute::m_crGrayText
                      : bSelected ? CSkinAttribute::m_crHighlightText
                                  : CSkinAttribute::m_crText;
    COLORREF crOld = pDC->SetTextColor(crText);
    CFont* pOld = pDC->SelectObject(CSkinAttribute::GetDefaultFont());
    CRect rc(rcText);
    rc.DeflateRect(kTextMargin, 0);
    pDC->DrawText(strText, &rc, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    if (!strAccel.IsEmpty())
        pDC->DrawText(strAccel, &rc, DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    pDC->SelectObject(pOld);
    pDC->SetTextColor(crOld);
    pDC->SetBkMode(nMode);
}

void CSkinMenu::MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct)
{
    MENUITEM* pItem = (MENUITEM*)lpMeasureItemStruct->itemData;
    if (pItem == NULL)
        return;
    if (pItem->nID == 0 && !(pItem->nFlags & MF_POPUP)) {
        lpMeasureItemStruct->itemHeight = kSeparatorHeight;
        lpMeasureItemStruct->itemWidth = (UINT)m_nLeftWidth;
        return;
    }
    HDC hDC = ::GetDC(NULL);
    HGDIOBJ hOld = ::SelectObject(hDC, CSkinAttribute::GetDefaultFont()->GetSafeHandle());
    CString strText = pItem->pszText;
    int nWidth = 0;
    int nTab = strText.Find('\t');
    SIZE size = {0, 0};
    CString strMain = nTab >= 0 ? strText.Left(nTab) : strText;
    ::GetTextExtentPoint32A(hDC, strMain, strMain.GetLength(), &size);
    nWidth = size.cx;
    if (nTab >= 0) {
        CString strAccel = strText.Mid(nTab + 1);
        ::GetTextExtentPoint32A(hDC, strAccel, strAccel.GetLength(), &size);
        nWidth += kAcceleratorGap + size.cx;
    }
    ::SelectObject(hDC, hOld);
    ::ReleaseDC(NULL, hDC);
    lpMeasureItemStruct->itemHeight = kItemHeight;
    lpMeasureItemStruct->itemWidth = (UINT)(m_nLeftWidth + 2 * kTextMargin + 4 + nWidth);
}

void CSkinMenu::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    MENUITEM* pItem = (MENUITEM*)lpDrawItemStruct->itemData;
    if (pItem == NULL)
        return;
    CDC* pDC = CDC::FromHandle(lpDrawItemStruct->hDC);
    CRect rcItem(lpDrawItemStruct->rcItem);
    pDC->FillSolidRect(&rcItem, RGB(255, 255, 255));
    DrawImageLeft(pDC, rcItem);
    if (pItem->nID == 0 && !(pItem->nFlags & MF_POPUP)) {
        int y = (rcItem.top + rcItem.bottom) / 2 - 1;
        pDC->Draw3dRect(rcItem.left + m_nLeftWidth + 2, y, rcItem.right - 2 - (rcItem.left + m_nLeftWidth + 2), 2,
                        CSkinAttribute::m_crBorder, RGB(255, 255, 255));
        return;
    }
    const UINT nState = lpDrawItemStruct->itemState;
    CRect rcText(rcItem);
    rcText.left += m_nLeftWidth;
    rcText.DeflateRect(2, 0);
    if (nState & ODS_SELECTED)
        DrawHighLight(pDC, rcItem, (nState & ODS_GRAYED) != 0);
    DrawTextItem(pDC, pItem->pszText, rcText, (nState & ODS_SELECTED) != 0, (nState & ODS_CHECKED) != 0,
                 (nState & ODS_GRAYED) != 0);
}
