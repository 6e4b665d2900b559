#include "FaceFrameDlg.h"

#include <algorithm>

#include "FaceCustomDlg.h"
#include "ServiceGlobalUnits.h"
#include "res/resource.h"

CFaceFrameDlg::tagGridSize CFaceFrameDlg::MeasureGrid(int nFaceCount, int nClientWidth)
{
    tagGridSize size;
    size.nRows = nFaceCount / kColumns + (nFaceCount % kColumns != 0 ? 1 : 0);
    size.nWidth = nClientWidth;
    size.nLeftMargin = (nClientWidth - 272) / 2;
    size.nHeight = size.nRows * kCell + kCell;
    return size;
}

int CFaceFrameDlg::PickIndex(CPoint point, int nLeftMargin, int nGridHeight, int nScrollPos, int nFaceCount)
{
    if (point.x < nLeftMargin || point.x > nLeftMargin + kRowWidth || point.y < 0 || point.y > nGridHeight - nScrollPos)
        return -1;
    // A cell owns its right edge; the row's left edge belongs to the first cell.
    int nOffset = point.x - nLeftMargin;
    int nColumn = nOffset / kCell;
    if (nOffset != 0 && nOffset % kCell == 0)
        --nColumn;
    int nIndex = ((point.y + nScrollPos) / kCell) * kColumns + nColumn;
    return nIndex < nFaceCount ? nIndex : -1;
}

int CFaceFrameDlg::ClampScroll(int nPos, int nGridHeight, int nClientHeight)
{
    int nMax = nGridHeight - nClientHeight;
    if (nPos > nMax)
        nPos = nMax;
    if (nPos < 0)
        nPos = 0;
    return nPos;
}

BEGIN_MESSAGE_MAP(CFaceFrameDlg, CDialog)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_SIZE()
    ON_WM_VSCROLL()
    ON_WM_MOUSEWHEEL()
    ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

CFaceFrameDlg::CFaceFrameDlg()
    : CDialog(IDD_FACE_CUSTOM), m_nScrollPos(0), m_nGridWidth(0), m_nGridHeight(0), m_nLeftMargin(0), m_pOwnerWnd(NULL),
      m_pFaces(NULL), m_nFaceCount(0), m_pOldBitmap(NULL)
{}

CFaceFrameDlg::~CFaceFrameDlg()
{
    if (m_GridDC.GetSafeHdc() != NULL && m_pOldBitmap != NULL)
        m_GridDC.SelectObject(m_pOldBitmap);
}

IUserFaceRes* CFaceFrameDlg::GetFaces()
{
    return m_pFaces != NULL ? m_pFaces : g_ServiceUnits.m_UserFaceModule.GetInterface();
}

void CFaceFrameDlg::BuildGrid()
{
    m_ImageCell.SetLoadInfo(IDB_FACE_CELL, AfxGetResourceHandle());
    m_ImageCell.LoadImage();
    IUserFaceRes* pFaces = GetFaces();
    m_nFaceCount = pFaces != NULL ? pFaces->GetFaceCount() : 0;
    CRect rcClient;
    GetClientRect(&rcClient);
    tagGridSize size = MeasureGrid(m_nFaceCount, rcClient.Width());
    m_nGridWidth = size.nWidth;
    m_nGridHeight = size.nHeight;
    m_nLeftMargin = size.nLeftMargin;
    if (rcClient.Height() < m_nGridHeight) {
        SCROLLINFO info = {};
        info.cbSize = sizeof(info);
        info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        info.nMin = 0;
        info.nMax = m_nGridHeight - kCell;
        info.nPage = UINT(rcClient.Height() - 35);
        info.nPos = 0;
        SetScrollInfo(SB_VERT, &info);
        ShowScrollBar(SB_VERT, TRUE);
    }

    if (m_GridDC.GetSafeHdc() != NULL) {
        if (m_pOldBitmap != NULL)
            m_GridDC.SelectObject(m_pOldBitmap);
        m_pOldBitmap = NULL;
        m_GridDC.DeleteDC();
    }
    m_GridBitmap.DeleteObject();
    CClientDC dc(this);
    m_GridDC.CreateCompatibleDC(&dc);
    m_GridBitmap.CreateCompatibleBitmap(&dc, std::max(m_nGridWidth, 1), std::max(m_nGridHeight, 1));
    m_pOldBitmap = m_GridDC.SelectObject(&m_GridBitmap);
    m_GridDC.FillSolidRect(0, 0, m_nGridWidth, m_nGridHeight, RGB(255, 255, 255));
    for (int j = 0; j < m_nFaceCount; ++j) {
        int c = j % kColumns, r = j / kColumns;
        if (!m_ImageCell.IsNull())
            m_ImageCell.BitBlt(m_GridDC.GetSafeHdc(), m_nLeftMargin + kCell * c + 3, kCell * r + 6);
        CRect rcFace(m_nLeftMargin + kCell * c + 8, kCell * r + 11, m_nLeftMargin + kCell * c + 40, kCell * r + 43);
        pFaces->DrawFaceInRect(WORD(j), 0, &m_GridDC, &rcFace);
    }
    Invalidate();
    m_nScrollPos = 0;
}

void CFaceFrameDlg::OnPaint()
{
    CPaintDC dc(this);
    if (m_GridDC.GetSafeHdc() != NULL)
        dc.BitBlt(0, -m_nScrollPos, m_nGridWidth, m_nGridHeight, &m_GridDC, 0, 0, SRCCOPY);
}

BOOL CFaceFrameDlg::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CFaceFrameDlg::OnSize(UINT nType, int cx, int cy)
{
    CDialog::OnSize(nType, cx, cy);
}

void CFaceFrameDlg::ScrollTo(int nPos)
{
    CRect rcClient;
    GetClientRect(&rcClient);
    nPos = ClampScroll(nPos, m_nGridHeight, rcClient.Height());
    if (nPos == m_nScrollPos)
        return;
    m_nScrollPos = nPos;
    int nMin = 0, nMax = 0;
    GetScrollRange(SB_VERT, &nMin, &nMax);
    SetScrollPos(SB_VERT, std::min(std::max(nPos, nMin), nMax));
    Invalidate();
}

void CFaceFrameDlg::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar*)
{
    CRect rcClient;
    GetClientRect(&rcClient);
    int nNew = m_nScrollPos;
    switch (nSBCode) {
    case SB_LINEUP: nNew -= kLineStep; break;
    case SB_LINEDOWN: nNew += kLineStep; break;
    case SB_PAGEUP: nNew -= kPageStep; break;
    case SB_PAGEDOWN: nNew += kPageStep; break;
    case SB_THUMBTRACK: nNew = int(nPos); break;
    case SB_TOP: nNew = 0; break;
    case SB_BOTTOM: nNew = m_nGridHeight - rcClient.Height(); break;
    default: return;
    }
    ScrollTo(nNew);
}

BOOL CFaceFrameDlg::OnMouseWheel(UINT, short zDelta, CPoint)
{
    ScrollTo(m_nScrollPos - zDelta / 2);
    return TRUE;
}

void CFaceFrameDlg::OnLButtonDown(UINT nFlags, CPoint point)
{
    SetFocus();
    int nIndex = PickIndex(point, m_nLeftMargin, m_nGridHeight, m_nScrollPos, m_nFaceCount);
    if (nIndex >= 0) {
        CWnd* pNotify = m_pOwnerWnd != NULL ? m_pOwnerWnd : GetParent();
        if (pNotify != NULL)
            pNotify->SendMessage(WM_FACE_PICKED, WPARAM(nIndex), 0);
    }
    CDialog::OnLButtonDown(nFlags, point);
}
