// CSkinScrollWnd: puts skinned bars around an existing child window (the
// target). A frame takes the target's place; the target moves into a
// clipping limiter inside it so that its own system bars fall outside the
// visible area, and two CSkinScrollBar children follow its scroll state.
// The frame frees itself when the target is destroyed.
#pragma once

#include "SkinScrollBar.h"

class CSkinScrollWnd : public CWnd
{
    DECLARE_DYNAMIC(CSkinScrollWnd)
public:
    enum
    {
        ID_HBAR = 100,
        ID_VBAR = 101,
        ID_LIMIT = 200,
        TIMER_POLL = 100,
        POLL_MS = 500,
        WM_RELAYOUT = WM_USER + 100
    };
    enum
    {
        CORNER_NONE = 0,
        CORNER_LEFT = 1,
        CORNER_RIGHT = 2
    };

    CSkinScrollWnd();
    virtual ~CSkinScrollWnd();

    static CSkinScrollWnd* Attach(CWnd* pTarget, HBITMAP hBitmap);
    BOOL SkinWindow(CWnd* pTarget, HBITMAP hBitmap);
    void UnskinWindow();

    // The user-service program's frames only resize the target on WM_SIZE;
    // its relayout then comes from the target's non-client sizing.
    static void SetRelayoutOnSize(BOOL bRelayout);

    CSkinScrollBar& GetHorzBar() { return m_HorzBar; }
    CSkinScrollBar& GetVertBar() { return m_VertBar; }
    CWnd& GetLimiter() { return m_Limiter; }
    int GetCornerKind() const { return m_nCorner; }
    int GetThickness() const { return m_nThickness; }
    HWND GetTarget() const { return m_hTarget; }

    // The frame's own painting: the corner square (bars and limiter are
    // excluded from the clip region first).
    void PaintFrame(CDC* pDC);

protected:
    // The limiter passes the target's notifications on to the frame's
    // parent, the window that created the target.
    class CLimiter : public CWnd
    {
    protected:
        LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    };

    static LRESULT CALLBACK TargetProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    void AfterTargetMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void SyncBar(CSkinScrollBar& bar, int nBar, BOOL bEnable);
    void PostNcDestroy() override;

    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnPaint();
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnDestroy();
    afx_msg LRESULT OnRelayout(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    void ForwardScroll(UINT message, UINT nSBCode, UINT nPos, CSkinScrollBar& bar, int nBar);

    int m_nThickness;
    CSkinScrollBar m_HorzBar;
    CSkinScrollBar m_VertBar;
    CLimiter m_Limiter;
    HBITMAP m_hBitmap;
    BOOL m_bBusy;
    int m_nCorner;
    WNDPROC m_pfnOldProc;
    HWND m_hTarget;
    BOOL m_bDestroying; // the frame's own window is going (parent destroyed)
    BOOL m_bAutoDelete; // made by Attach: freed with its window
};

// A scroll window with the one-pixel border around the frame and no
// background erasing.
class CListScrollWnd : public CSkinScrollWnd
{
    DECLARE_DYNAMIC(CListScrollWnd)
public:
    static CListScrollWnd* Attach(CWnd* pTarget, HBITMAP hBitmap);

protected:
    afx_msg void OnNcPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    DECLARE_MESSAGE_MAP()
};
