#include "WidgetContainer.h"

#include "Widget.h"
#include "WidgetDC.h"
#include "WidgetManager.h"

CWidgetContainer::CWidgetContainer()
    : m_pManager(NULL), m_pParent(NULL), m_bDirty(false), m_nLeft(0), m_nTop(0), m_nWidth(0), m_nHeight(0)
{}

CWidgetContainer::~CWidgetContainer()
{
    // Children outlive their container here; they must not point back at it.
    POSITION pos = m_Widgets.GetHeadPosition();
    while (pos != NULL) {
        CWidget* pChild = m_Widgets.GetNext(pos);
        pChild->m_pParent = NULL;
    }
    m_Widgets.RemoveAll();
}

CRect CWidgetContainer::GetRect()
{
    return CRect(m_nLeft, m_nTop, m_nLeft + m_nWidth, m_nTop + m_nHeight);
}

bool CWidgetContainer::Intersect(CWidgetContainer* pOther)
{
    CRect rcMine = GetRect();
    CRect rcOther = pOther->GetRect();
    CRect rcBoth;
    return rcBoth.IntersectRect(&rcMine, &rcOther) != FALSE;
}

void CWidgetContainer::AddWidget(CWidget* pWidget)
{
    if (pWidget == NULL || HasWidget(pWidget))
        return;
    // A widget inside itself would make every walk of the tree endless.
    for (CWidgetContainer* pUp = this; pUp != NULL; pUp = pUp->m_pParent) {
        if (pUp == pWidget)
            return;
    }
    // One widget, one list: a widget still held elsewhere leaves that list first.
    if (pWidget->m_pParent != NULL)
        pWidget->m_pParent->RemoveWidget(pWidget);

    m_Widgets.AddTail(pWidget);
    pWidget->m_pManager = m_pManager;
    pWidget->m_pParent = this;
    if (m_pManager != NULL) {
        pWidget->AddedToManager(m_pManager);
        pWidget->MarkDirtyFull();
        m_pManager->RehupMouse();
    }
    MarkDirty();
}

void CWidgetContainer::RemoveWidget(CWidget* pWidget)
{
    POSITION pos = pWidget != NULL ? m_Widgets.Find(pWidget) : NULL;
    if (pos == NULL)
        return;

    if (m_pManager != NULL && m_pManager->m_pPressedWidget != pWidget && m_pManager->m_pFocusWidget == pWidget)
        m_pManager->m_pFocusWidget = NULL;
    pWidget->WidgetRemovedHelper();
    pWidget->m_pParent = NULL;
    // The helper may have changed the list; look the widget up again.
    pos = m_Widgets.Find(pWidget);
    if (pos != NULL)
        m_Widgets.RemoveAt(pos);
}

bool CWidgetContainer::HasWidget(CWidget* pWidget)
{
    return pWidget != NULL && m_Widgets.Find(pWidget) != NULL;
}

void CWidgetContainer::DisableWidget(CWidget* pWidget) {}

void CWidgetContainer::RemoveAllWidgets(bool bDeleteThem, bool bRecursive)
{
    while (!m_Widgets.IsEmpty()) {
        CWidget* pChild = m_Widgets.GetHead();
        RemoveWidget(pChild);
        if (bRecursive)
            pChild->RemoveAllWidgets(bDeleteThem, bRecursive);
        if (bDeleteThem)
            delete pChild;
    }
}

void CWidgetContainer::SetFocus(CWidget* pWidget) {}

bool CWidgetContainer::IsBelow(CWidget* pA, CWidget* pB)
{
    return IsBelowHelper(pA, pB) == 1;
}

int CWidgetContainer::IsBelowHelper(CWidget* pA, CWidget* pB)
{
    POSITION pos = m_Widgets.GetHeadPosition();
    while (pos != NULL) {
        CWidget* pChild = m_Widgets.GetNext(pos);
        if (pChild == pA)
            return 1;
        if (pChild == pB)
            return 2;
        int nFound = pChild->IsBelowHelper(pA, pB);
        if (nFound != 0)
            return nFound;
    }
    return 0;
}

void CWidgetContainer::BringToFront(CWidget* pWidget)
{
    POSITION pos = pWidget != NULL ? m_Widgets.Find(pWidget) : NULL;
    if (pos == NULL)
        return;
    m_Widgets.RemoveAt(pos);
    m_Widgets.AddTail(pWidget);
}

void CWidgetContainer::BringToBack(CWidget* pWidget)
{
    POSITION pos = pWidget != NULL ? m_Widgets.Find(pWidget) : NULL;
    if (pos == NULL)
        return;
    m_Widgets.RemoveAt(pos);
    m_Widgets.AddHead(pWidget);
}

void CWidgetContainer::PutBehind(CWidget* pWidget, CWidget* pRef)
{
    POSITION pos = pWidget != NULL ? m_Widgets.Find(pWidget) : NULL;
    if (pos == NULL || pWidget == pRef)
        return;
    m_Widgets.RemoveAt(pos);
    POSITION posRef = pRef != NULL ? m_Widgets.Find(pRef) : NULL;
    InsertWidgetHelper(posRef, pWidget);
}

void CWidgetContainer::PutInfront(CWidget* pWidget, CWidget* pRef)
{
    POSITION pos = pWidget != NULL ? m_Widgets.Find(pWidget) : NULL;
    if (pos == NULL || pWidget == pRef)
        return;
    m_Widgets.RemoveAt(pos);
    POSITION posRef = pRef != NULL ? m_Widgets.Find(pRef) : NULL;
    if (posRef == NULL)
        m_Widgets.AddTail(pWidget);
    else
        m_Widgets.InsertAfter(posRef, pWidget);
}

void CWidgetContainer::InsertWidgetHelper(POSITION pos, CWidget* pWidget)
{
    if (pos == NULL)
        m_Widgets.AddTail(pWidget);
    else
        m_Widgets.InsertBefore(pos, pWidget);
}

CWidget* CWidgetContainer::GetWidgetAtHelper(int x, int y, int* pRelX, int* pRelY)
{
    POSITION pos = m_Widgets.GetTailPosition();
    while (pos != NULL) {
        CWidget* pChild = m_Widgets.GetPrev(pos);
        if (!pChild->m_bVisible)
            continue;
        // Children see the point in their parent's own coordinates, as they are drawn.
        CWidget* pHit = pChild->GetWidgetAtHelper(x - pChild->m_nLeft, y - pChild->m_nTop, pRelX, pRelY);
        if (pHit != NULL)
            return pHit;
        if (pChild->GetRect().PtInRect(CPoint(x, y))) {
            if (pRelX != NULL)
                *pRelX = x - pChild->m_nLeft;
            if (pRelY != NULL)
                *pRelY = y - pChild->m_nTop;
            return pChild;
        }
    }
    return NULL;
}

CPoint CWidgetContainer::GetAbsPos()
{
    if (m_pParent == NULL)
        return CPoint(m_nLeft, m_nTop);
    CPoint pt = m_pParent->GetAbsPos();
    pt.x += m_nLeft;
    pt.y += m_nTop;
    return pt;
}

void CWidgetContainer::MarkAllDirty()
{
    MarkDirty();
    POSITION pos = m_Widgets.GetHeadPosition();
    while (pos != NULL) {
        CWidget* pChild = m_Widgets.GetNext(pos);
        pChild->m_bDirty = true;
        pChild->MarkAllDirty();
    }
    // Flags alone repaint nothing; hand the marked area to the host.
    UpdateLayout();
}

void CWidgetContainer::MarkDirty(CWidgetContainer* pChild)
{
    if (pChild->m_bDirty)
        return;
    MarkDirty();
    pChild->m_bDirty = true;
    if (m_pParent == NULL) {
        POSITION pos = m_Widgets.Find(static_cast<CWidget*>(pChild));
        if (pos != NULL)
            m_Widgets.GetNext(pos);
        while (pos != NULL) {
            CWidget* pOther = m_Widgets.GetNext(pos);
            if (pOther->m_bVisible && pOther->Intersect(pChild))
                MarkDirty(pOther);
        }
    }
    UpdateLayout();
}

void CWidgetContainer::MarkDirty()
{
    if (m_pParent != NULL)
        m_pParent->MarkDirty(this);
    else
        m_bDirty = true;
}

void CWidgetContainer::MarkDirtyFull(CWidgetContainer* pChild)
{
    MarkDirtyFull();
    pChild->m_bDirty = true;
    if (m_pParent == NULL) {
        POSITION posChild = m_Widgets.Find(static_cast<CWidget*>(pChild));
        if (posChild != NULL) {
            POSITION pos = posChild;
            m_Widgets.GetPrev(pos);
            while (pos != NULL) {
                CWidget* pOther = m_Widgets.GetPrev(pos);
                if (pOther->m_bVisible && pOther->Intersect(pChild))
                    MarkDirty(pOther);
            }
            pos = posChild;
            while (pos != NULL) {
                CWidget* pOther = m_Widgets.GetNext(pos);
                if (pOther->m_bVisible && pOther->Intersect(pChild))
                    MarkDirty(pOther);
            }
        }
    }
    // The child's old area must be repainted even when nothing overlaps it.
    UpdateLayout();
}

void CWidgetContainer::MarkDirtyFull()
{
    if (m_pParent != NULL)
        m_pParent->MarkDirtyFull(this);
    else
        m_bDirty = true;
}

void CWidgetContainer::AddedToManager(CWidgetManager* pManager)
{
    POSITION pos = m_Widgets.GetHeadPosition();
    while (pos != NULL) {
        CWidget* pChild = m_Widgets.GetNext(pos);
        pChild->m_pManager = pManager;
        pChild->AddedToManager(pManager);
    }
    MarkDirty();
    // Flags set while the subtree was detached would block its first repaint.
    UpdateLayout();
}

void CWidgetContainer::RemovedFromManager(CWidgetManager* pManager)
{
    POSITION pos = m_Widgets.GetHeadPosition();
    while (pos != NULL) {
        CWidget* pChild = m_Widgets.GetNext(pos);
        pManager->DisableWidget(pChild);
        pChild->RemovedFromManager(pManager);
        pChild->m_pManager = NULL;
    }
}

void CWidgetContainer::Draw(CWidgetDC* pDC) {}

void CWidgetContainer::DrawAll(CWidgetDC* pDC)
{
    Draw(pDC);
    POSITION pos = m_Widgets.GetHeadPosition();
    while (pos != NULL) {
        CWidget* pChild = m_Widgets.GetNext(pos);
        if (!pChild->m_bVisible)
            continue;
        CWidgetDC dcChild(*pDC);
        dcChild.Translate(pChild->m_nLeft, pChild->m_nTop);
        pChild->DrawAll(&dcChild);
    }
}

void CWidgetContainer::UpdateLayout()
{
    if (m_pManager != NULL)
        m_pManager->UpdateLayout(m_Widgets);
}
