// The system face grid: every numbered system face in cells of six per row,
// drawn once into a memory bitmap that scrolls; a click picks a face.
#pragma once

#include <afxwin.h>

#include "IUserFaceRes.h"
#include "SkinImage.h"
#include "SkinScrollBar.h"

class CFaceFrameDlg : public CDialog
{
public:
    static const int kColumns = 6;
    static const int kCell = 42;
    static const int kRowWidth = 252; // six cells
    static const int kLineStep = 20;
    static const int kPageStep = 100;

    struct tagGridSize
    {
        int nRows;
        int nWidth;
        int nHeight;
        int nLeftMargin;
    };
    static tagGridSize MeasureGrid(int nFaceCount, int nClientWidth);
    // The face under a click, or -1 (outside the cells or past the last face).
    static int PickIndex(CPoint point, int nLeftMargin, int nGridHeight, int nScrollPos, int nFaceCount);
    // The scroll position held between the top and the last screenful.
    static int ClampScroll(int nPos, int nGridHeight, int nClientHeight);

    CFaceFrameDlg();
    ~CFaceFrameDlg() override;

    void SetOwnerWnd(CWnd* pOwner) { m_pOwnerWnd = pOwner; }
    // The faces drawn (NULL: the program's face module).
    void SetFaceSource(IUserFaceRes* pFaces) { m_pFaces = pFaces; }
    // Measures and draws the grid; called once the window exists.
    void BuildGrid();

    int GetScrollPosition() const { return m_nScrollPos; }
    int GetGridWidth() const { return m_nGridWidth; }
    int GetGridHeight() const { return m_nGridHeight; }
    int GetLeftMargin() const { return m_nLeftMargin; }

protected:
    IUserFaceRes* GetFaces();
    void ScrollTo(int nPos);
    void OnOK() override {}
    void OnCancel() override {}

    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    DECLARE_MESSAGE_MAP()

    int m_nScrollPos;
    CBitmap m_GridBitmap;
    CDC m_GridDC;
    CSkinImage m_ImageCell;
    CSkinScrollBar m_ScrollBar;
    int m_nGridWidth;
    int m_nGridHeight;
    int m_nLeftMargin;
    CWnd* m_pOwnerWnd;
    IUserFaceRes* m_pFaces;
    int m_nFaceCount;
    CBitmap* m_pOldBitmap;
};
