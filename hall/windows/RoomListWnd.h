// CRoomListWnd: the channel dialog's list of rooms: one row of 25 pixels a
// room with its name, an occupancy gauge and an enter button, scrolled
// vertically. A press on a row posts WM_ROOM_CHOSEN with the row's room to
// the parent.
#pragma once

#include <afxwin.h>

#include <Picture.h>

#include <map>

#include "ButtonImage.h"

class CGameRoom;

// wParam: the CGameRoom* of the row pressed.
const UINT WM_ROOM_CHOSEN = WM_USER + 101;

struct tagRoomRow
{
    CGameRoom* pRoom;
    CRect rcRow; // in content coordinates
    CButtonImage EnterButton;
    bool bHot;
};

class CRoomListWnd : public CWnd
{
public:
    enum
    {
        ROW_HEIGHT = 25,
        GAUGE_BANDS = 4
    };

    CRoomListWnd();
    virtual ~CRoomListWnd();

    // Made as a visible child over the rectangle; loads its pictures.
    BOOL CreateList(const CRect& rect, CWnd* pParent, UINT nID);

    void AddRoom(CGameRoom* pRoom);
    void ClearRooms();
    void UpdateScrollBar();

    INT_PTR GetRoomCount() const { return (INT_PTR)m_Rows.size(); }
    CGameRoom* GetRoomAt(int nRow) const;
    int GetScrollPosition() const { return m_nScrollPos; }
    int GetContentHeight() const { return m_nContentHeight; }
    // The row under a client point, -1 below the last row.
    int RowFromPoint(CPoint point) const;
    int GetHotRow() const;
    const tagRoomRow* GetRow(int nRow) const;
    // The filled width of a gauge and the band it is taken from (1 below
    // 50 %, 2 up to 80 %, 3 above); width 0 for a room without capacity.
    static int GaugeFill(DWORD dwOnline, DWORD dwCapacity, int nGaugeWidth, int* pBand);

protected:
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnMouseLeave();
    afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    DECLARE_MESSAGE_MAP()

private:
    void DrawRow(CDC* pDC, const tagRoomRow& row, int nOffset);
    void ScrollTo(int nPos);
    int GetMaxScroll() const;

    std::map<int, tagRoomRow*> m_Rows;
    CPicture m_Gauge;
    CPicture m_EnterButton;
    CPicture m_Tool;
    CFont m_NameFont;
    int m_nScrollPos;
    int m_nContentHeight;
    bool m_bTracking;
};
