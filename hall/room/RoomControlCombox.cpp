#include "RoomControlCombox.h"

BEGIN_MESSAGE_MAP(CRoomControlCombox, CSkinCombox)
    ON_WM_PAINT()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_MOUSELEAVE()
END_MESSAGE_MAP()

CRoomControlCombox::CRoomControlCombox() : m_dwLookState(COMBOX_LOOK_NORMAL), m_hArrow(NULL) {}

CRoomControlCombox::~CRoomControlCombox()
{
    if (m_hArrow != NULL)
        DeleteObject(m_hArrow);
}

bool CRoomControlCombox::LoadArrow(LPCSTR pszPath)
{
    HBITMAP hArrow = (HBITMAP)LoadImageA(NULL, pszPath, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
    if (hArrow == NULL)
        return false;
    if (m_hArrow != NULL)
        DeleteObject(m_hArrow);
    m_hArrow = hArrow;
    return true;
}

void CRoomControlCombox::SetLookState(DWORD dwState)
{
    if (m_dwLookState == dwState)
        return;
    m_dwLookState = dwState;
    Invalidate(FALSE);
}

void CRoomControlCombox::OnMouseMove(UINT nFlags, CPoint point)
{
    if (m_dwLookState != COMBOX_LOOK_HOVER) {
        TRACKMOUSEEVENT track = {sizeof(track), TME_HOVER | TME_LEAVE, m_hWnd, 1};
        TrackMouseEvent(&track);
    }
    SetLookState(COMBOX_LOOK_HOVER);
    Default();
}

void CRoomControlCombox::OnLButtonDown(UINT nFlags, CPoint point)
{
    SetLookState(COMBOX_LOOK_PRESSED);
    Default();
}

void CRoomControlCombox::OnLButtonUp(UINT nFlags, CPoint point)
{
    SetLookState(COMBOX_LOOK_PRESSED);
    Default();
}

void CRoomControlCombox::OnMouseLeave()
{
    SetLookState(COMBOX_LOOK_NORMAL);
    Default();
}

void CRoomControlCombox::OnPaint()
{
    Default();
    CClientDC dc(this);
    CRect rect;
    GetClientRect(&rect);
    dc.Draw3dRect(&rect, COMBOX_OUTER_FRAME, COMBOX_OUTER_FRAME);
    rect.DeflateRect(1, 1);
    dc.Draw3dRect(&rect, COMBOX_INNER_FRAME, COMBOX_INNER_FRAME);
    if (m_hArrow == NULL)
        return;
    BITMAP bm;
    if (GetObject(m_hArrow, sizeof(bm), &bm) == 0 || bm.bmWidth < 4)
        return;
    // Four states side by side; hover and pressed follow normal.
    const int nQuarter = bm.bmWidth / 4;
    const int nHeight = bm.bmHeight < rect.Height() ? bm.bmHeight : rect.Height();
    HDC hMem = CreateCompatibleDC(dc.GetSafeHdc());
    HGDIOBJ hOld = SelectObject(hMem, m_hArrow);
    BitBlt(dc.GetSafeHdc(), rect.right - nQuarter, rect.top + (rect.Height() - nHeight) / 2, nQuarter, nHeight, hMem,
           int(m_dwLookState) * nQuarter, 0, SRCCOPY);
    SelectObject(hMem, hOld);
    DeleteDC(hMem);
}
