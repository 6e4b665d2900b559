// CSkinSplitter: a bar between two panes. Dragging it (unless switched off)
// moves it within its range; a button picture in its middle can be shown,
// and a click on it is reported. Both go to the sink, which lays the panes out.
#pragma once

#include "SkinImage.h"

class CSkinSplitter;

struct ISplitterSink
{
    // The button on the splitter was clicked.
    virtual bool OnSplitterButton(CSkinSplitter* pSkinSplitter, HWND hSplitter) = 0;
    // The splitter was dragged to nPosition (its new left or top edge in the parent).
    virtual bool OnSplitterEvent(CSkinSplitter* pSkinSplitter, int nPosition) = 0;
};

class CSkinSplitter : public CWnd
{
    DECLARE_DYNAMIC(CSkinSplitter)
public:
    CSkinSplitter();
    virtual ~CSkinSplitter();

    void SetSplitterSink(ISplitterSink* pSink) { m_pSink = pSink; }
    ISplitterSink* GetSplitterSink() const { return m_pSink; }
    // A vertical bar (the default) moves left and right.
    void SetSplitterType(bool bVertical) { m_bVertical = bVertical; }
    bool IsVertical() const { return m_bVertical; }
    void DisableDrag(bool bDisable) { m_bDisableDrag = bDisable; }
    // The range of the bar's left (or top) edge in the parent's client area.
    void SetSplitterRange(int nMin, int nMax);
    // Shows the button with this picture (four states side by side); an
    // empty name hides it.
    void ShowSplitterButton(LPCTSTR pszImage);
    CRect GetButtonRect();

protected:
    virtual void DrawSplitter(CDC* pDC, const CRect& rcClient);

    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnMouseLeave();
    afx_msg void OnCaptureChanged(CWnd* pWnd);
    DECLARE_MESSAGE_MAP()

    ISplitterSink* m_pSink;
    bool m_bVertical;
    bool m_bDisableDrag;
    int m_nMin;
    int m_nMax;
    CSkinImage m_ImageButton;
    BOOL m_bShowButton;
    BOOL m_bButtonHover;
    BOOL m_bButtonDown;
    BOOL m_bDragging;
    CPoint m_ptDragStart; // the press in screen coordinates
    CRect m_rcDragStart;  // the bar in parent coordinates at the press
};
