#include "MyShopItem.h"

#include <time.h>

#include <WidgetDC.h>

#include "BuyDlg.h"
#include "ShopPageButtons.h"
#include "resource.h"

std::function<LONGLONG()> CMyShopItem::s_Now = [] { return (LONGLONG)::time(NULL); };

BEGIN_MESSAGE_MAP(CMyShopItem, CWidgetFoundationWnd)
    ON_WM_SIZE()
    ON_WM_PAINT()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_SETCURSOR()
END_MESSAGE_MAP()

CMyShopItem::CMyShopItem()
    : m_cbTwoRow(1), m_nFirstColumn(0), m_nSlotCount(0), m_nPageCount(0), m_nOwnedCount(0), m_pManager(NULL),
      m_pImages(NULL), m_nHoverIndex(-1), m_pOwnedCfgs(NULL), m_btNext(1001, this), m_btPrev(1002, this), m_pNext(NULL),
      m_pPrev(NULL), m_pBackground(NULL), m_pLeft(NULL), m_pMiddle(NULL), m_pRight(NULL), m_pSlot(NULL)
{}

CMyShopItem::~CMyShopItem()
{
    m_WidgetManager.RemoveAllWidgets(false, false);
}

void CMyShopItem::InitItemBar(CItemShopManager* pManager, CPicture* pNext, CPicture* pPrev, CPicture* pBackground,
                              CPicture* pLeft, CPicture* pMiddle, CPicture* pRight, CPicture* pSlot,
                              CImageCfgArray* pImages, bool bTwoRow)
{
    m_pManager = pManager;
    m_pImages = pImages;
    m_cbTwoRow = bTwoRow ? 1 : 0;
    if (bTwoRow) {
        m_pBackground = pBackground;
    } else {
        m_pLeft = pLeft;
        m_pMiddle = pMiddle;
        m_pRight = pRight;
        m_pSlot = pSlot;
    }
    m_pNext = pNext;
    m_pPrev = pPrev;
    AttachPageButtons(m_WidgetManager, m_btNext, m_btPrev, pNext, pPrev);
    RefreshItems();
    SetSlotCount(m_nSlotCount);
}

CRect CMyShopItem::GetSlotRect(int nSlot) const
{
    if (m_cbTwoRow)
        return CRect(CPoint(39 * (nSlot / 2) + 3, nSlot % 2 == 0 ? 6 : 47), CSize(32, 32));
    return CRect(CPoint(42 * nSlot + 23, 29), CSize(32, 32));
}

void CMyShopItem::SetSlotCount(int nSlots)
{
    m_nSlotCount = nSlots > 0 ? nSlots : 0;
    m_SlotRects.RemoveAll();
    for (int i = 0; i < m_nSlotCount; i++)
        m_SlotRects.Add(GetSlotRect(i));
    LayoutItems();
}

void CMyShopItem::LayoutItems()
{
    const int nCount = (int)m_Items.GetSize();
    m_nPageCount = m_nSlotCount > 0 ? (nCount + m_nSlotCount - 1) / m_nSlotCount : 0;
    if (m_nPageCount < 2)
        m_nFirstColumn = 0;
    const int nOffset = Offset();
    for (int i = 0; i < nCount; i++) {
        tagMyItemView& view = m_Items[i];
        view.nIndex = i;
        bool bShown = i >= nOffset && i < nOffset + m_nSlotCount;
        view.cbShown = bShown ? 1 : 0;
        view.rcItem = bShown ? GetSlotRect(i - nOffset) : CRect();
    }
    m_btPrev.SetDisabled(nOffset < 1);
    m_btNext.SetDisabled(nOffset + m_nSlotCount >= nCount);
    if (m_hWnd != NULL)
        Invalidate();
}

bool CMyShopItem::IsUsable(CItemCfg* pItem) const
{
    if (m_pManager == NULL || pItem == NULL)
        return false;
    if (pItem->IsQuantityItem())
        return m_pManager->GetOwnItemCount(pItem->GetItemId()) != 0;
    return m_pManager->GetOwnItemValue(pItem->GetItemId()) >= s_Now();
}

void CMyShopItem::RefreshItems()
{
    m_pOwnedCfgs = m_pManager != NULL ? m_pManager->CollectOwnedItems() : NULL;
    // Rebuilt from the owned list, so an item whose record went away goes too.
    CArray<tagMyItemView, const tagMyItemView&> items;
    if (m_pOwnedCfgs != NULL) {
        for (INT_PTR i = 0; i < m_pOwnedCfgs->GetSize(); i++) {
            CItemCfg* pItem = m_pOwnedCfgs->GetAt(i);
            if (!IsUsable(pItem))
                continue;
            bool bListed = false;
            for (INT_PTR j = 0; j < items.GetSize() && !bListed; j++)
                bListed = items[j].pItem->GetItemId() == pItem->GetItemId();
            if (bListed)
                continue;
            tagMyItemView view;
            view.pItem = pItem;
            view.nIndex = (int)items.GetSize();
            view.cbShown = 0;
            view.cbHover = 0;
            view.nPicture = -1;
            if (m_pImages != NULL) {
                for (INT_PTR k = 0; k < m_pImages->GetSize(); k++) {
                    if (m_pImages->GetAt(k).dwImageId == pItem->GetImageId()) {
                        view.nPicture = (int)k;
                        break;
                    }
                }
            }
            items.Add(view);
        }
    }
    m_Items.Copy(items);
    m_nOwnedCount = (int)m_Items.GetSize();
    m_nHoverIndex = -1;
    LayoutItems();
}

void CMyShopItem::RemoveAllItems()
{
    m_Items.RemoveAll();
    m_nOwnedCount = 0;
    m_nHoverIndex = -1;
    LayoutItems();
}

void CMyShopItem::ButtonClick(int nID)
{
    if (nID == 1001 && Offset() + m_nSlotCount < m_Items.GetSize())
        m_nFirstColumn++;
    else if (nID == 1002 && m_nFirstColumn > 0)
        m_nFirstColumn--;
    else
        return;
    const int nOffset = Offset();
    for (INT_PTR i = 0; i < m_Items.GetSize(); i++) {
        bool bShown = i >= nOffset && i < nOffset + m_nSlotCount;
        m_Items[i].cbShown = bShown ? 1 : 0;
        m_Items[i].rcItem = bShown ? GetSlotRect((int)i - nOffset) : CRect();
    }
    m_btPrev.SetDisabled(nOffset < 1);
    m_btNext.SetDisabled(nOffset + m_nSlotCount >= m_Items.GetSize());
    if (m_hWnd != NULL)
        Invalidate();
}

void CMyShopItem::OnSize(UINT nType, int cx, int cy)
{
    if (m_cbTwoRow) {
        m_btPrev.Move(20, cy - m_btPrev.GetHeight() - 8);
        m_btNext.Move(m_btPrev.Right() + 92, cy - m_btNext.GetHeight() - 8);
    } else {
        m_btPrev.Move(4, 33);
        m_btNext.Move(cx - m_btNext.GetWidth() - 5, 33);
    }
}

void CMyShopItem::OnPaint()
{
    CPaintDC dcPaint(this);
    CRect rc;
    GetClientRect(&rc);
    CDC dcMem;
    dcMem.CreateCompatibleDC(&dcPaint);
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(&dcPaint, rc.Width() > 0 ? rc.Width() : 1, rc.Height() > 0 ? rc.Height() : 1);
    CBitmap* pOld = dcMem.SelectObject(&bitmap);
    dcMem.FillSolidRect(&rc, RGB(255, 255, 255));
    HDC hdc = dcMem.GetSafeHdc();
    if (m_cbTwoRow) {
        if (m_pBackground != NULL && m_pBackground->IsValid())
            m_pBackground->Draw(hdc, 0, 0);
    } else {
        int nLeft = m_pLeft != NULL && m_pLeft->IsValid() ? (int)m_pLeft->GetWidth() : 0;
        int nRight = m_pRight != NULL && m_pRight->IsValid() ? (int)m_pRight->GetWidth() : 0;
        if (nLeft > 0)
            m_pLeft->Draw(hdc, 0, 0);
        if (m_pMiddle != NULL && m_pMiddle->IsValid() && rc.Width() > nLeft + nRight)
            m_pMiddle->Draw(hdc, nLeft, 0, rc.Width() - nLeft - nRight, (long)m_pMiddle->GetHeight());
        if (nRight > 0)
            m_pRight->Draw(hdc, rc.Width() - nRight, 0);
        if (m_pSlot != NULL && m_pSlot->IsValid()) {
            int nStep = (int)m_pSlot->GetWidth() + 8;
            for (int i = 0; i < m_nSlotCount; i++)
                m_pSlot->Draw(hdc, GetSlotRect(0).left + i * nStep, 27);
        }
    }
    for (INT_PTR i = 0; i < m_Items.GetSize(); i++) {
        const tagMyItemView& view = m_Items[i];
        if (!view.cbShown || m_pImages == NULL || view.nPicture < 0 || view.nPicture >= m_pImages->GetSize())
            continue;
        const CPicture& picture = m_pImages->GetAt(view.nPicture).SmallPicture;
        if (!picture.IsValid())
            continue;
        int nShift = view.cbHover ? 1 : 0;
        picture.Draw(hdc, view.rcItem.left - nShift, view.rcItem.top - nShift);
    }
    CWidgetDC dc(&dcMem, rc);
    m_WidgetManager.DrawWidgetsTo(&dc);
    dcPaint.BitBlt(0, 0, rc.Width(), rc.Height(), &dcMem, 0, 0, SRCCOPY);
    dcMem.SelectObject(pOld);
}

int CMyShopItem::HitItem(CPoint point) const
{
    for (int nSlot = 0; nSlot < m_nSlotCount; nSlot++) {
        if (!GetSlotRect(nSlot).PtInRect(point))
            continue;
        int nIndex = nSlot + Offset();
        return nIndex < m_Items.GetSize() ? nIndex : -1;
    }
    return -1;
}

void CMyShopItem::OnMouseMove(UINT nFlags, CPoint point)
{
    for (INT_PTR i = 0; i < m_Items.GetSize(); i++)
        m_Items[i].cbHover = 0;
    m_nHoverIndex = HitItem(point);
    if (m_nHoverIndex >= 0) {
        m_Items[m_nHoverIndex].cbHover = 1;
        ::SetCursor(::LoadCursor(AfxGetResourceHandle(), MAKEINTRESOURCE(IDC_HAND_CURSOR)));
    }
    Invalidate();
}

BOOL CMyShopItem::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    if (m_nHoverIndex >= 0) {
        HCURSOR hHand = ::LoadCursor(AfxGetResourceHandle(), MAKEINTRESOURCE(IDC_HAND_CURSOR));
        if (hHand != NULL) {
            ::SetCursor(hHand);
            return TRUE;
        }
    }
    return CWnd::OnSetCursor(pWnd, nHitTest, message);
}

void CMyShopItem::OnLButtonDown(UINT nFlags, CPoint point)
{
    int nIndex = HitItem(point);
    if (nIndex < 0)
        return;
    // A copy: the dialog's answer may refresh the bar under it.
    tagMyItemView view = m_Items[nIndex];
    OpenItem(view);
}

void CMyShopItem::OpenItem(const tagMyItemView& view)
{
    CItemCfg* pItem = view.pItem;
    const CPicture* pPicture = NULL;
    if (m_pImages != NULL && view.nPicture >= 0 && view.nPicture < m_pImages->GetSize())
        pPicture = &m_pImages->GetAt(view.nPicture).Picture;
    CBuyDlg dlg;
    dlg.SetItem(pPicture, pItem, true);
    if (pItem->IsQuantityItem()) {
        dlg.SetUseMode(m_cbTwoRow ? 0 : 1);
        dlg.SetOwnCount(m_pManager != NULL ? m_pManager->GetOwnItemCount(pItem->GetItemId()) : 0);
    } else {
        dlg.SetUseMode(0);
        dlg.SetExpiry(m_pManager != NULL ? m_pManager->GetOwnItemValue(pItem->GetItemId()) : 0);
    }
    INT_PTR nResult = dlg.DoModal();
    if (!m_cbTwoRow && nResult == IDOK && GetParent() != NULL)
        GetParent()->SendMessage(WM_MYITEM_USE, (WPARAM)pItem, 0);
}
