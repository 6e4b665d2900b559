#include "SkinTabManager.h"
#include "SkinTab.h"

CSkinTabManager::CSkinTabManager()
    : m_pSelected(NULL), m_pFocused(NULL), m_pPaintManager(new CSkinTabPaintManager), m_pImageList(NULL),
      m_position(SkinTabTop), m_rcControl(0, 0, 0, 0), m_rcHeader(0, 0, 0, 0), m_rcClient(0, 0, 0, 0), m_pTabCtrl(NULL)
{}

CSkinTabManager::~CSkinTabManager()
{
    // The window may outlive this part of an object deriving from both:
    // it hears nothing more from here.
    if (m_pTabCtrl != NULL && m_pTabCtrl->m_pManager == this)
        m_pTabCtrl->m_pManager = NULL;
    m_pTabCtrl = NULL;
    DeleteAllItems();
    delete m_pPaintManager;
}

CSkinTabItem* CSkinTabManager::InsertItem(int nIndex, LPCTSTR pszCaption, HWND hWnd, int nImage, CSkinTabItem* pItem)
{
    if (pItem != NULL && pItem->m_pManager != NULL)
        return NULL;
    if (pItem == NULL) {
        pItem = new CSkinTabItem;
        pItem->m_bOwnedByManager = TRUE;
    }
    pItem->m_strCaption = pszCaption != NULL ? pszCaption : "";
    pItem->m_hWnd = hWnd;
    pItem->m_nImage = nImage;
    pItem->m_pManager = this;
    if (nIndex < 0 || nIndex > GetItemCount())
        nIndex = GetItemCount();
    m_Items.InsertAt(nIndex, pItem);
    // As with the system's tab control, the first tab is selected.
    if (m_pSelected == NULL && pItem->m_bEnabled)
        m_pSelected = pItem;
    Reposition();
    return pItem;
}

BOOL CSkinTabManager::DeleteItem(int nIndex)
{
    CSkinTabItem* pItem = GetItem(nIndex);
    if (pItem == NULL)
        return FALSE;
    m_Items.RemoveAt(nIndex);
    if (m_pFocused == pItem)
        m_pFocused = NULL;
    if (m_pSelected == pItem) {
        // The tab before it (or the new first one) takes over.
        m_pSelected = GetItem(nIndex > 0 ? nIndex - 1 : 0);
        if (m_pTabCtrl != NULL)
            m_pTabCtrl->OnSelectionChanged(pItem, m_pSelected);
    }
    pItem->m_pManager = NULL;
    pItem->m_rcItem.SetRectEmpty();
    if (pItem->m_bOwnedByManager)
        delete pItem;
    Reposition();
    return TRUE;
}

void CSkinTabManager::DeleteAllItems()
{
    while (GetItemCount() > 0) {
        CSkinTabItem* pItem = GetItem(GetItemCount() - 1);
        m_Items.RemoveAt(GetItemCount() - 1);
        pItem->m_pManager = NULL;
        if (pItem->m_bOwnedByManager)
            delete pItem;
    }
    m_pSelected = m_pFocused = NULL;
    Reposition();
}

CSkinTabItem* CSkinTabManager::GetItem(int nIndex) const
{
    return nIndex >= 0 && nIndex < GetItemCount() ? (CSkinTabItem*)m_Items[nIndex] : NULL;
}

int CSkinTabManager::FindIndex(const CSkinTabItem* pItem) const
{
    for (int i = 0; i < GetItemCount(); ++i) {
        if (m_Items[i] == pItem)
            return i;
    }
    return -1;
}

CSkinTabItem* CSkinTabManager::FindItem(HWND hWnd) const
{
    for (int i = 0; hWnd != NULL && i < GetItemCount(); ++i) {
        if (GetItem(i)->m_hWnd == hWnd)
            return GetItem(i);
    }
    return NULL;
}

int CSkinTabManager::SetCurSel(int nIndex)
{
    int nOld = GetCurSel();
    SetSelectedItem(GetItem(nIndex));
    return nOld;
}

void CSkinTabManager::SetSelectedItem(CSkinTabItem* pItem)
{
    if (pItem != NULL && pItem->m_pManager != this)
        return;
    if (pItem == m_pSelected)
        return;
    CSkinTabItem* pOld = m_pSelected;
    m_pSelected = pItem;
    if (m_pTabCtrl != NULL)
        m_pTabCtrl->OnSelectionChanged(pOld, pItem);
}

CSkinTabItem* CSkinTabManager::HitTest(CPoint point) const
{
    for (int i = 0; i < GetItemCount(); ++i) {
        CSkinTabItem* pItem = GetItem(i);
        if (pItem->m_rcItem.PtInRect(point))
            return pItem;
    }
    return NULL;
}

void CSkinTabManager::PerformMouseMove(HWND hWnd, CPoint point)
{
    CSkinTabItem* pFocused = (point.x == -1 && point.y == -1) ? NULL : HitTest(point);
    if (pFocused != NULL && !pFocused->m_bEnabled)
        pFocused = NULL;
    if (pFocused == m_pFocused)
        return;
    m_pFocused = pFocused;
    if (hWnd != NULL)
        ::InvalidateRect(hWnd, &m_rcHeader, FALSE);
    else
        RedrawControl();
}

void CSkinTabManager::SetPaintManager(CSkinTabPaintManager* pPaintManager)
{
    if (pPaintManager == m_pPaintManager)
        return;
    delete m_pPaintManager;
    m_pPaintManager = pPaintManager != NULL ? pPaintManager : new CSkinTabPaintManager;
    Reposition();
}

void CSkinTabManager::SetPosition(enSkinTabPosition position)
{
    m_position = position;
    Reposition();
}

void CSkinTabManager::SetImageList(CImageList* pImageList)
{
    m_pImageList = pImageList;
    Reposition();
}

void CSkinTabManager::Reposition()
{
    CRect rcControl = m_rcControl;
    if (m_pTabCtrl != NULL && m_pTabCtrl->GetSafeHwnd() != NULL)
        m_pTabCtrl->GetClientRect(&rcControl);
    Reposition(rcControl);
}

void CSkinTabManager::Reposition(const CRect& rcControl)
{
    m_rcControl = rcControl;
    const int nHeader = m_pPaintManager->GetHeaderHeight(this);
    const int nButton = m_pPaintManager->GetButtonHeight(this);
    const CRect rcMargin = m_pPaintManager->GetHeaderMargin();
    m_rcHeader = m_rcClient = rcControl;
    switch (m_position) {
    case SkinTabBottom: m_rcHeader.top = m_rcClient.bottom = rcControl.bottom - nHeader; break;
    case SkinTabLeft: m_rcHeader.right = m_rcClient.left = rcControl.left + nHeader; break;
    case SkinTabRight: m_rcHeader.left = m_rcClient.right = rcControl.right - nHeader; break;
    default: m_rcHeader.bottom = m_rcClient.top = rcControl.top + nHeader; break;
    }

    HDC hDC = ::GetDC(NULL);
    CDC* pDC = CDC::FromHandle(hDC);
    const BOOL bHorizontal = IsHorizontalPosition();
    int nPos = bHorizontal ? m_rcHeader.left + rcMargin.left : m_rcHeader.top + rcMargin.top;
    for (int i = 0; i < GetItemCount(); ++i) {
        CSkinTabItem* pItem = GetItem(i);
        int nLength = m_pPaintManager->GetButtonLength(pDC, pItem);
        pItem->m_nButtonLength = nLength;
        if (bHorizontal)
            pItem->m_rcItem.SetRect(nPos, m_rcHeader.top + rcMargin.top, nPos + nLength,
                                    m_rcHeader.top + rcMargin.top + nButton);
        else
            pItem->m_rcItem.SetRect(m_rcHeader.left + rcMargin.left, nPos, m_rcHeader.left + rcMargin.left + nButton,
                                    nPos + nLength);
        nPos += nLength;
    }
    ::ReleaseDC(NULL, hDC);
    if (m_pTabCtrl != NULL)
        m_pTabCtrl->OnLayoutChanged();
}

void CSkinTabManager::RedrawControl()
{
    if (m_pTabCtrl != NULL && m_pTabCtrl->GetSafeHwnd() != NULL)
        m_pTabCtrl->Invalidate(FALSE);
}
