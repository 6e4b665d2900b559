// CAnchorLayout: a second base for windows whose children follow resizing.
// Each child is anchored by its top-left and bottom-right corners to points
// given in percent of the parent's client size, keeping the distances it
// had when it was anchored; one deferred pass moves them all.
#pragma once

#include <afxwin.h>

#include <map>
#include <vector>

// Asked of a child (wParam 101, 102 or 103): non-zero when it answered.
extern const UINT WMU_ANCHORSUPPORT;

// Anchor points in percent of the parent's width and height.
extern const SIZE ANCHOR_TOPLEFT, ANCHOR_TOP, ANCHOR_TOPRIGHT, ANCHOR_LEFT, ANCHOR_MIDDLE, ANCHOR_RIGHT,
    ANCHOR_BOTTOMLEFT, ANCHOR_BOTTOM, ANCHOR_BOTTOMRIGHT, ANCHOR_NONE;

class CAnchorLayout
{
public:
    enum
    {
        QUERY_PROPERTIES = 101,
        QUERY_CLIPPING = 102,
        QUERY_REDRAW = 103
    };
    struct LayoutInfo
    {
        HWND hWnd;
        UINT callbackKey;
        CString className;
        SIZE anchorTopLeft;
        SIZE marginTopLeft;
        SIZE anchorBottomRight;
        SIZE marginBottomRight;
        BOOL answersQuery;
        // Filled by a child answering QUERY_PROPERTIES, in this order.
        BOOL askClip;
        BOOL askRedraw;
        BOOL clipOk;
        BOOL redrawNeeded;
    };
    // What QUERY_REDRAW passes.
    struct RedrawQuery
    {
        BOOL redraw;
        RECT oldRect;
        RECT newRect;
    };

    CAnchorLayout();
    virtual ~CAnchorLayout();

    void AddAnchor(HWND hWnd, SIZE anchorTopLeft, SIZE anchorBottomRight = ANCHOR_NONE);
    // Moves every anchored child; call it from the owner's WM_SIZE.
    void ApplyLayout();

protected:
    virtual BOOL QueryChildProperties(LayoutInfo& info);
    virtual BOOL ChildAcceptsClipping(const LayoutInfo& info);
    virtual BOOL ChildNeedsRedraw(const LayoutInfo& info, const CRect& rcOld, const CRect& rcNew);
    virtual void GetParentClientRect(LPRECT lpRect);
    virtual BOOL PositionByCallback(LayoutInfo& info);
    // The window that holds the mix-in.
    virtual CWnd* GetOwnerWindow() = 0;

private:
    // False when the child keeps its rectangle.
    BOOL NewPosition(const LayoutInfo& info, const CRect& rcParent, CRect& rcNew, UINT& nFlags);

    std::map<HWND, size_t> m_index;
    std::vector<LayoutInfo*> m_anchors;
    std::vector<LayoutInfo*> m_callbacks; // positioned by the owner (none here)
};
