// A node of a widget tree: an ordered list of children, place, size, parent
// and the manager of the tree. The list is drawn first to last, so the last
// child is on top.
#pragma once

#include <afxwin.h>
#include <afxtempl.h>

#include "TalmoriApi.h"

class CWidget;
class CWidgetManager;
class CWidgetDC;

typedef CList<CWidget*, CWidget*> CWidgetList;

class TALMORI_API CWidgetContainer
{
    friend class CWidget;
    friend class CWidgetManager;

public:
    CWidgetContainer();
    // Two containers must never share one child list.
    CWidgetContainer(const CWidgetContainer&) = delete;
    CWidgetContainer& operator=(const CWidgetContainer&) = delete;

    virtual ~CWidgetContainer();
    virtual CRect GetRect();
    virtual bool Intersect(CWidgetContainer* pOther);
    virtual void AddWidget(CWidget* pWidget);
    virtual void RemoveWidget(CWidget* pWidget);
    virtual bool HasWidget(CWidget* pWidget);
    virtual void DisableWidget(CWidget* pWidget);
    virtual void RemoveAllWidgets(bool bDeleteThem, bool bRecursive);
    virtual void SetFocus(CWidget* pWidget);
    virtual bool IsBelow(CWidget* pA, CWidget* pB);
    virtual void BringToFront(CWidget* pWidget);
    virtual void BringToBack(CWidget* pWidget);
    virtual void PutBehind(CWidget* pWidget, CWidget* pRef);
    virtual void PutInfront(CWidget* pWidget, CWidget* pRef);
    virtual CPoint GetAbsPos();
    virtual void MarkAllDirty();
    virtual void MarkDirty(CWidgetContainer* pChild);
    virtual void MarkDirty();
    virtual void MarkDirtyFull(CWidgetContainer* pChild);
    virtual void MarkDirtyFull();
    virtual void AddedToManager(CWidgetManager* pManager);
    virtual void RemovedFromManager(CWidgetManager* pManager);
    virtual void Draw(CWidgetDC* pDC);
    virtual void DrawAll(CWidgetDC* pDC);

    void UpdateLayout();

protected:
    // Inserts before pos (at the end for a null pos).
    void InsertWidgetHelper(POSITION pos, CWidget* pWidget);
    CWidget* GetWidgetAtHelper(int x, int y, int* pRelX, int* pRelY);
    // 1: pA met first, 2: pB met first, 0: neither in this subtree.
    int IsBelowHelper(CWidget* pA, CWidget* pB);

protected:
    CWidgetList m_Widgets;
    CWidgetManager* m_pManager;
    CWidgetContainer* m_pParent;
    bool m_bDirty;
    int m_nLeft;
    int m_nTop;
    int m_nWidth;
    int m_nHeight;
};
