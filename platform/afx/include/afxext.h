// Extensions of the class library: everything of afxwin.h and the common dialogs.
#pragma once

#include <afxwin.h>
#include <afxdlgs.h>

// A rectangle the user moves and resizes with the mouse: drawn with its
// frame and handles, hit-tested, and followed by Track in a capture loop
// that ends on the left button's release (kept) or Escape, the right button
// or a lost capture (dropped).
class CRectTracker
{
public:
    enum StyleFlags
    {
        solidLine = 1,
        dottedLine = 2,
        hatchedBorder = 4,
        resizeInside = 8,
        resizeOutside = 16,
        hatchInside = 32
    };
    enum TrackerHit
    {
        hitNothing = -1,
        hitTopLeft = 0,
        hitTopRight = 1,
        hitBottomRight = 2,
        hitBottomLeft = 3,
        hitTop = 4,
        hitRight = 5,
        hitBottom = 6,
        hitLeft = 7,
        hitMiddle = 8
    };

    CRectTracker();
    CRectTracker(LPCRECT lpSrcRect, UINT nStyle);

    UINT m_nStyle;
    CRect m_rect;
    CSize m_sizeMin;
    int m_nHandleSize;

    void Draw(CDC* pDC) const;
    // m_rect normalised, with the handles outside it when they are.
    void GetTrueRect(LPRECT lpTrueRect) const;
    // Sets the cursor of the handle under the mouse (client area only).
    BOOL SetCursor(CWnd* pWnd, UINT nHitTest) const;
    // point: where the button went down, in pWnd's client coordinates.
    BOOL Track(CWnd* pWnd, CPoint point, BOOL bAllowInvert = FALSE, CWnd* pWndClipTo = NULL);
    int HitTest(CPoint point) const;
    // The handle the hit means once the rectangle is inverted.
    int NormalizeHit(int nHandle) const;

    virtual void DrawTrackerRect(LPCRECT lpRect, CWnd* pWndClipTo, CDC* pDC, CWnd* pWnd);
    virtual void AdjustRect(int nHandle, LPRECT lpRect);
    virtual void OnChangedRect(const CRect& rectOld);
    // Bit n set: handle n (TrackerHit) is shown and hit.
    virtual UINT GetHandleMask() const;
    virtual ~CRectTracker();

protected:
    virtual int GetHandleSize(LPCRECT lpRect = NULL) const;
    void GetHandleRect(int nHandle, CRect* pHandleRect) const;

    BOOL m_bAllowInvert;
    CRect m_rectLast;
};
