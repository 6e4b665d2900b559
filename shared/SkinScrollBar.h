// CSkinScrollBar: a scroll-bar control that keeps its own scroll state and
// paints arrows, track and thumb from a 9 x 3 cell picture (columns: up,
// down, thumb, track of a vertical bar; left, right, thumb, track of a
// horizontal one; corner; rows: normal, hot, pressed). It tracks the mouse
// itself and reports to its parent with WM_VSCROLL / WM_HSCROLL.
#pragma once

#include <afxwin.h>

class CSkinScrollBar : public CScrollBar
{
    DECLARE_DYNAMIC(CSkinScrollBar)
public:
    // Timers of the held arrow or page area: first delay, then repeats.
    enum
    {
        TIMER_REPEAT = 100,
        TIMER_DELAY = 200,
        DELAY_MS = 500,
        REPEAT_MS = 100,
        THUMB_CAP = 6,
        THUMB_MIN = 2 * THUMB_CAP
    };

    CSkinScrollBar();
    virtual ~CSkinScrollBar();

    // The caller keeps the bitmap alive. Makes the bar one cell thick.
    void SetBitmap(HBITMAP hBitmap);
    HBITMAP GetBitmap() const { return m_hBitmap; }
    int GetCellSize() const { return m_nCell; }

    BOOL IsVertical() const;
    BOOL IsDragging() const { return m_bDragging; }
    // Part codes are SB_LINEUP, SB_LINEDOWN, SB_PAGEUP, SB_PAGEDOWN, SB_THUMBTRACK.
    CRect GetPartRect(UINT nCode) const;
    CRect GetPartImageRect(UINT nCode, int nState) const;
    UINT HitTest(CPoint point) const;

    // Drawing on any device context (the window's, or a test canvas).
    void DrawPart(CDC* pDC, UINT nCode, int nState);
    void PaintBar(CDC* pDC);
    void TileBlt(CDC* pDC, const CRect& rcDest, CDC* pMemDC, const CRect& rcSrc);
    void DrawThumb(CDC* pDC, const CRect& rcDest, CDC* pMemDC, const CRect& rcSrc);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnPaint();
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnMouseLeave();
    DECLARE_MESSAGE_MAP()

    // Lengths along the bar: arrow, thumb and the page area before it.
    struct Layout
    {
        int arrow;
        int thumb;
        int offset;
    };
    Layout Measure(BOOL bForHitTest) const;
    int Position() const;
    int MaxPosition() const;
    void Notify(UINT nCode, int nPos);
    void DrawOnWindow(UINT nCode, int nState);
    void RepeatTick();

    HBITMAP m_hBitmap;
    int m_nCell;
    int m_nCellHeight;
    int m_nLength;
    SCROLLINFO m_si;
    BOOL m_bDragging;
    CPoint m_ptDrag;
    int m_nDragPos;
    UINT m_uHeld;
    BOOL m_bRepeating;
    UINT m_uHot;
    BOOL m_bPaused;
    BOOL m_bTracking;
    BOOL m_bThumbPressed;
};
