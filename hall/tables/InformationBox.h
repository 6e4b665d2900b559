// The one-line notice strip across the top of the table grid: a three-piece
// background, an icon, one notice in red and a close button. Notices come
// per game and room from the dynamic configuration; a timer rotates them,
// another hides the strip. It is no window: the grid places it, hands it its
// timer, mouse and paint events, and repaints it.
#pragma once

#include <afxwin.h>

#include "Picture.h"

class CGameRoom;

// Timers of the grid window that belong to the strip.
enum
{
    IDI_INFORMATION_HIDE = 1,
    IDI_INFORMATION_ROTATE = 2,
};

// Kept with the strip; nothing reads it.
class CInformationLink
{
public:
    CInformationLink() : m_nValue1(1), m_nValue2(0) { m_rcLink.SetRectEmpty(); }
    virtual ~CInformationLink() {}

    CString m_strText1;
    int m_nValue1;
    CString m_strText2;
    int m_nValue2;
    CString m_strText3;
    CString m_strText4;
    CString m_strText5;
    CRect m_rcLink;
};

class CInformationBox
{
public:
    explicit CInformationBox(CWnd* pOwner);
    virtual ~CInformationBox();

    // Pictures, notices of the room's game and room, and the two timers.
    // Without a room no notices are loaded. A second load starts afresh.
    void LoadInformationBox(const CGameRoom* pGameRoom);
    // Ignored while the strip is hidden.
    void SetBoxRect(int x, int y, int nWidth, int nHeight);
    void DrawInformationBox(CDC* pDC);
    bool HitTest(int x, int y) const;
    void OnTimer(UINT_PTR nIDEvent);
    void OnLButtonUp(int x, int y);
    void OnMouseMove(int x, int y);

    bool IsVisible() const { return m_bVisible; }
    INT_PTR GetNoticeCount() const { return m_Notices.GetSize(); }
    CString GetCurrentNotice() const;
    UINT GetHideDelay() const { return m_nHideDelay; }
    UINT GetRotatePeriod() const { return m_nRotatePeriod; }
    CRect GetBoxRect() const { return CRect(m_nX, m_nY, m_nX + m_nWidth, m_nY + m_nHeight); }
    const CRect& GetCloseRect() const { return m_rcClose; }
    bool IsCloseHover() const { return m_bCloseHover; }

private:
    CInformationBox(const CInformationBox&) = delete;
    CInformationBox& operator=(const CInformationBox&) = delete;

    void LoadNotices(const CGameRoom* pGameRoom);
    // The strip's area, or a part of it given relative to the strip.
    void RepaintBox(const CRect* pPart = NULL);

    CPicture m_PicLeft;
    CPicture m_PicMiddle;
    CPicture m_PicRight;
    CPicture m_PicIcon;
    CPicture m_PicClose;
    CPicture m_PicCloseHover;
    UINT m_nHideDelay;
    UINT m_nRotatePeriod;
    CStringArray m_Notices;
    CRect m_rcClose;
    bool m_bCloseHover;
    int m_nX;
    int m_nY;
    int m_nWidth;
    int m_nHeight;
    bool m_bVisible;
    UINT m_nCurrent;
    CInformationLink m_Link;
    CWnd* m_pOwner;
};
