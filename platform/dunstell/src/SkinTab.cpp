#include "SkinTab.h"
#include "SkinAttribute.h"

IMPLEMENT_DYNAMIC(CSkinTab, CSkinWnd)

BEGIN_MESSAGE_MAP(CSkinTab, CSkinWnd)
    ON_WM_SIZE()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_RBUTTONDOWN()
    ON_WM_RBUTTONUP()
    ON_WM_MOUSEMOVE()
    ON_WM_MOUSELEAVE()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CSkinTab::CSkinTab() : m_pManager(NULL), m_pOwnManager(NULL), m_bManagerResolved(FALSE), m_bTracking(FALSE) {}

CSkinTab::~CSkinTab()
{
    if (GetSafeHwnd() != NULL)
        DestroyWindow();
    delete m_pOwnManager;
}

BOOL CSkinTab::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    if (!CWnd::Create(NULL, NULL, dwStyle | WS_CHILD | WS_CLIPCHILDREN, rect, pParentWnd, nID))
        return FALSE;
    if (GetTabManager() != NULL)
        GetTabManager()->Reposition();
    return TRUE;
}

CSkinTabManager* CSkinTab::GetTabManager()
{
    // Resolved once the object is whole: a class deriving from both is its
    // own manager.
    if (!m_bManagerResolved) {
        m_bManagerResolved = TRUE;
        m_pManager = dynamic_cast<CSkinTabManager*>(this);
        if (m_pManager == NULL)
            m_pManager = m_pOwnManager = new CSkinTabManager;
        m_pManager->m_pTabCtrl = this;
    }
    return m_pManager;
}

CSkinTabItem* CSkinTab::InsertItem(int nIndex, LPCTSTR pszCaption, HWND hWnd, int nImage, CSkinTabItem* pItem)
{
    CSkinTabManager* pManager = GetTabManager();
    return pManager != NULL ? pManager->InsertItem(nIndex, pszCaption, hWnd, nImage, pItem) : NULL;
}

void CSkinTab::SetSkinImage(int nImage, LPCTSTR pszFileName)
{
    if (CSkinImage* pImage = GetSkinImage(nImage))
        pImage->SetLoadInfo(pszFileName);
    if (GetSafeHwnd() != NULL)
        Invalidate(FALSE);
}

void CSkinTab::SetSkinImage(int nImage, UINT nIDResource, HINSTANCE hInstance)
{
    if (CSkinImage* pImage = GetSkinImage(nImage))
        pImage->SetLoadInfo(nIDResource, hInstance);
    if (GetSafeHwnd() != NULL)
        Invalidate(FALSE);
}

CSkinImage* CSkinTab::GetSkinImage(int nImage)
{
    return nImage >= 0 && nImage < TAB_IMAGE_COUNT ? &m_ImageHeader[nImage] : NULL;
}

void CSkinTab::OnLayoutChanged()
{
    if (GetSafeHwnd() == NULL)
        return;
    PlaceItemWindows();
    Invalidate(FALSE);
}

void CSkinTab::OnSelectionChanged(CSkinTabItem* pOldItem, CSkinTabItem* pNewItem)
{
    OnLayoutChanged();
}

void CSkinTab::PlaceItemWindows()
{
    CSkinTabManager* pManager = GetTabManager();
    if (pManager == NULL)
        return;
    CRect rcClient = pManager->GetPageRect();
    for (int i = 0; i < pManager->GetItemCount(); ++i) {
        CSkinTabItem* pItem = pManager->GetItem(i);
        HWND hWnd = pItem->GetHandle();
        if (hWnd == NULL || !::IsWindow(hWnd))
            continue;
        CRect rc(rcClient);
        ::MapWindowPoints(m_hWnd, ::GetParent(hWnd), (LPPOINT)&rc, 2);
        UINT nShow = pItem->IsSelected() ? SWP_SHOWWINDOW : SWP_HIDEWINDOW;
        ::SetWindowPos(hWnd, NULL, rc.left, rc.top, rc.Width(), rc.Height(), SWP_NOZORDER | SWP_NOACTIVATE | nShow);
    }
}

void CSkinTab::DrawHeaderImages(CDC* pDC, const CRect& rcHeader)
{
    HDC hDC = pDC->GetSafeHdc();
    CSkinImage& left = m_ImageHeader[TAB_IMAGE_LEFT];
    CSkinImage& mid = m_ImageHeader[TAB_IMAGE_MID];
    CSkinImage& right = m_ImageHeader[TAB_IMAGE_RIGHT];
    const int wLeft = left.GetWidth(), wRight = right.GetWidth();
    if (!mid.IsNull())
        mid.StretchBlt(hDC, rcHeader.left + wLeft, rcHeader.top, rcHeader.Width() - wLeft - wRight, rcHeader.Height(),
                       0, 0, mid.GetWidth(), mid.GetHeight());
    if (!left.IsNull())
        left.StretchBlt(hDC, rcHeader.left, rcHeader.top, wLeft, rcHeader.Height(), 0, 0, wLeft, left.GetHeight());
    if (!right.IsNull())
        right.StretchBlt(hDC, rcHeader.right - wRight, rcHeader.top, wRight, rcHeader.Height(), 0, 0, wRight,
                         right.GetHeight());
}

void CSkinTab::DrawSkinView(CDC* pDC, int cx, int cy)
{
    CSkinWnd::DrawSkinView(pDC, cx, cy);
    CSkinTabManager* pManager = GetTabManager();
    if (pManager == NULL)
        return;
    CSkinTabPaintManager* pPainter = pManager->GetPaintManager();
    const CRect rcHeader = pManager->GetHeaderRect();
    if (!m_ImageHeader[TAB_IMAGE_LEFT].IsNull() || !m_ImageHeader[TAB_IMAGE_MID].IsNull() ||
        !m_ImageHeader[TAB_IMAGE_RIGHT].IsNull())
        DrawHeaderImages(pDC, rcHeader);
    else
        pPainter->DrawHeaderBack(pDC, pManager, rcHeader);

    pPainter->DrawTabControl(pDC, pManager, pManager->GetControlRect());

    const int nCount = pManager->GetItemCount();
    if (nCount > 0) {
        CSkinTabItem* pLast = pManager->GetItem(nCount - 1);
        CSkinImage& tail = m_ImageHeader[pLast->IsSelected() ? TAB_IMAGE_TAIL_SELECTED : TAB_IMAGE_TAIL];
        CRect rcLast = pLast->GetRect();
        if (!tail.IsNull())
            tail.BitBlt(pDC->GetSafeHdc(), rcLast.right, rcLast.top);
    }
    CSkinImage& bottom = m_ImageHeader[TAB_IMAGE_BOTTOM];
    if (!bottom.IsNull() && pManager->IsHorizontalPosition()) {
        const int h = bottom.GetHeight();
        const int y = pManager->GetPosition() == CSkinTabManager::SkinTabTop ? rcHeader.bottom - h : rcHeader.top;
        bottom.StretchBlt(pDC->GetSafeHdc(), rcHeader.left, y, rcHeader.Width(), h, 0, 0, bottom.GetWidth(), h);
    }
}

LRESULT CSkinTab::NotifyParent(UINT nCode)
{
    CWnd* pParent = GetParent();
    if (pParent == NULL)
        return 0;
    NMHDR nmhdr = {m_hWnd, (UINT_PTR)GetDlgCtrlID(), nCode};
    return pParent->SendMessage(WM_NOTIFY, (WPARAM)nmhdr.idFrom, (LPARAM)&nmhdr);
}

void CSkinTab::MouseNotify(UINT message, CPoint point)
{
    CWnd* pParent = GetParent();
    if (pParent != NULL)
        pParent->SendMessage(WM_SKINTAB_MOUSE, message, MAKELPARAM(point.x, point.y));
}

void CSkinTab::OnSize(UINT nType, int cx, int cy)
{
    CSkinWnd::OnSize(nType, cx, cy);
    if (CSkinTabManager* pManager = GetTabManager())
        pManager->Reposition(CRect(0, 0, cx, cy));
}

void CSkinTab::OnLButtonDown(UINT nFlags, CPoint point)
{
    CSkinTabManager* pManager = GetTabManager();
    CSkinTabItem* pItem = pManager != NULL ? pManager->HitTest(point) : NULL;
    if (pItem != NULL && pItem->IsEnabled() && !pItem->IsSelected() && NotifyParent(TCN_SELCHANGING) == 0) {
        pManager->SetSelectedItem(pItem);
        NotifyParent(TCN_SELCHANGE);
    }
    // The parent may have removed the tab meanwhile: test again.
    if (pManager != NULL && pManager->HitTest(point) != NULL)
        MouseNotify(WM_LBUTTONDOWN, point);
    CSkinWnd::OnLButtonDown(nFlags, point);
}

void CSkinTab::OnLButtonUp(UINT nFlags, CPoint point)
{
    CSkinTabManager* pManager = GetTabManager();
    if (pManager != NULL && pManager->HitTest(point) != NULL)
        MouseNotify(WM_LBUTTONUP, point);
    CSkinWnd::OnLButtonUp(nFlags, point);
}

void CSkinTab::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    CSkinTabManager* pManager = GetTabManager();
    if (pManager != NULL && pManager->HitTest(point) != NULL)
        MouseNotify(WM_LBUTTONDBLCLK, point);
    CSkinWnd::OnLButtonDblClk(nFlags, point);
}

void CSkinTab::OnRButtonDown(UINT nFlags, CPoint point)
{
    CSkinTabManager* pManager = GetTabManager();
    if (pManager != NULL && pManager->HitTest(point) != NULL)
        MouseNotify(WM_RBUTTONDOWN, point);
    CSkinWnd::OnRButtonDown(nFlags, point);
}

void CSkinTab::OnRButtonUp(UINT nFlags, CPoint point)
{
    CSkinTabManager* pManager = GetTabManager();
    if (pManager != NULL && pManager->HitTest(point) != NULL)
        MouseNotify(WM_RBUTTONUP, point);
    CSkinWnd::OnRButtonUp(nFlags, point);
}

void CSkinTab::OnMouseMove(UINT nFlags, CPoint point)
{
    if (!m_bTracking) {
        TRACKMOUSEEVENT tme = {sizeof(tme), TME_LEAVE, m_hWnd, HOVER_DEFAULT};
        m_bTracking = ::TrackMouseEvent(&tme);
    }
    if (CSkinTabManager* pManager = GetTabManager())
        pManager->PerformMouseMove(m_hWnd, point);
    CSkinWnd::OnMouseMove(nFlags, point);
}

void CSkinTab::OnMouseLeave()
{
    m_bTracking = FALSE;
    if (CSkinTabManager* pManager = GetTabManager())
        pManager->PerformMouseMove(m_hWnd, CPoint(-1, -1));
    CSkinWnd::OnMouseLeave();
}

void CSkinTab::OnDestroy()
{
    m_bTracking = FALSE;
    CSkinWnd::OnDestroy();
}
