// CSkinTabEx: the tab strip of the hall's tab window. Over the skin tabs it
// draws, in the strip's free space, a news strip of three pictures (with the
// browser pane that shows the plaza's cycle page) and, at the right end, an
// unread-mail badge: a count, a two-frame icon that can blink, and a click
// that tells the parent (WM_USER + 10000, no arguments).
#pragma once

#include <SkinTab.h>
#include <SkinTabManager.h>

#include <Picture.h>

#include "CycleHtml.h"

#define WM_UNREAD_MAIL_CLICKED (WM_USER + 10000)

class CSkinTabEx : public CSkinTab, public CSkinTabManager
{
public:
    enum
    {
        kTimerBlink = 10000,
        kBlinkInterval = 400,
        kPaneId = 1001,
        kStripLeft = 200,
        kCursorHand = 135
    };

    CSkinTabEx();
    virtual ~CSkinTabEx();

    CSkinTabItem* InsertItem(int nIndex, LPCTSTR pszCaption, HWND hWnd, int nImage, CSkinTabItem* pItem);
    // which 0: the strip's left cap, 1: its middle, any other: its right cap.
    bool LoadItemImage(LPCTSTR pszFile, int nWhich);
    bool LoadBadgeImage(LPCTSTR pszFile);
    void SetUnreadMail(int nCount, bool bBlink);

    int GetUnreadCount() const { return m_nUnread; }
    bool IsBlinking() const { return m_bBlinking != 0; }
    bool IsBadgeHot() const { return m_bBadgeHot != 0; }
    CString GetBadgeText() const;
    // The icon frame and font the badge shows now.
    int GetBadgeFrame() const;
    CFont* GetBadgeFont();
    const CRect& GetBadgeRect() const { return m_rcBadge; }
    // The news strip as last laid out, and the pane's place for a strip.
    const CRect& GetNewsStripRect() const { return m_rcNewsStrip; }
    CCycleHtml& GetNewsPane() { return m_NewsPane; }
    static CRect NewsPaneRect(const CRect& rcStrip);

    void DrawSkinView(CDC* pDC, int cx, int cy) override;
    using CSkinTab::DrawSkinView;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnMouseLeave();
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    void DrawBadge(CDC* pDC, int cx);
    void DrawNewsStrip(CDC* pDC);
    void SetHandCursor();
    void InvalidateBadge();

    CPicture m_BadgeIcon;
    CPicture m_StripLeft, m_StripMid, m_StripRight;
    int m_nBlinkPhase;
    int m_nUnread;
    BYTE m_bBlinking;
    BYTE m_bBadgeHot;
    CRect m_rcBadge;
    // The browser pane over the news strip, showing the plaza's cycle page.
    CCycleHtml m_NewsPane;
    CRect m_rcNewsStrip;
};
