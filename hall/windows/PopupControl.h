// A notice window: a top-most tool window that never takes the focus,
// painted from a background picture whose outline cuts the window, filled
// with items (pictures, four-state buttons, text links, small web pages).
// It opens and closes in timed steps, stays for its show time (longer while
// the mouse is over it) and reports clicks, state changes and drags to its
// owner as WM_POPUP_NOTIFY.
#pragma once

#include <afxdhtml.h>
#include <afxtempl.h>

#include <Picture.h>

#include <functional>

// wParam the kind below, lParam the item (kind 1) or the notice.
#define WM_POPUP_NOTIFY (WM_USER + 3037)

enum
{
    POPUP_NOTIFY_CLICK = 1,
    POPUP_NOTIFY_STATE = 2,
    POPUP_NOTIFY_MOVED = 3,
};

class CVKPopupControl;

// Where the notices find the taskbar and the work area: one place a test
// replaces. Answers whether the taskbar's rectangle is known.
typedef std::function<BOOL(RECT* prcTaskbar, RECT* prcWork)> PopupScreenFn;
PopupScreenFn SetPopupScreen(PopupScreenFn fn);
BOOL GetPopupScreen(RECT* prcTaskbar, RECT* prcWork);

// The page of a web item.
class CDPopHtmlDialogEx : public CDHtmlDialog
{
public:
    CDPopHtmlDialogEx();
    ~CDPopHtmlDialogEx() override;

    CString m_strURL;
    BYTE m_bLoaded;

protected:
    BOOL OnInitDialog() override;
    void OnNavigateComplete(LPDISPATCH pDisp, LPCTSTR szUrl) override;
    void OnDocumentComplete(LPDISPATCH pDisp, LPCTSTR szUrl) override;
    STDMETHOD(ShowContextMenu)(DWORD dwID, POINT* ppt, IUnknown* pcmdtReserved, IDispatch* pdispReserved) override;
    STDMETHOD(TranslateAccelerator)(LPMSG lpMsg, const GUID* pguidCmdGroup, DWORD nCmdID) override;
};

class CVKPopupItem
{
public:
    CVKPopupItem(COLORREF crExtra1 = (COLORREF)-1, COLORREF crExtra2 = (COLORREF)-1);
    virtual ~CVKPopupItem();

    virtual void Draw(CDC* pDC);
    virtual CFont* GetFont();

    int m_nID;
    BOOL m_bButton; // the picture is a strip of four states
    BOOL m_bLink;   // underlined while hot or pressed, hover colour while hot
    BOOL m_bBold;
    BOOL m_bPlainText;              // without the link flag: normal colour, no underline
    BOOL m_bWeb;                    // hosts a page, not drawn
    BOOL m_bAlignDraw;              // DrawText with m_nAlign; otherwise tabbed lines
    UINT m_nAlign;                  // DT_* bits
    CRect m_rcItem;                 // client coordinates of the notice
    CString m_strText;              // the caption, or a web item's page address
    COLORREF m_crNormal, m_crHover; // -1: unset
    COLORREF m_crExtra1, m_crExtra2;
    CVKPopupControl* m_pOwner;
    CDPopHtmlDialogEx m_WebDialog;

    void SetPicture(CPicture* pPicture); // an invalid picture is refused
    CPicture* GetPicture() const { return m_pPicture; }
    void SetText(LPCTSTR pszText);
    void SetAlign(UINT nAlign, BOOL bAlignDraw = TRUE);
    void SetColors(COLORREF crNormal, COLORREF crHover);
    void SetBold(BOOL bBold);
    // Sizes the item to its picture or text.
    void Layout();

protected:
    void Repaint();
    CSize MeasureText(int cxMax);

    CFont m_Font;
    CPicture* m_pPicture;
};

class CVKPopupControl : public CWnd
{
public:
    enum
    {
        STATE_CLOSED = 0,
        STATE_OPENING = 1,
        STATE_SHOWN = 2,
        STATE_CLOSING = 3,
        ANIMATE_NONE = 0,
        ANIMATE_FADE = 1,
        ANIMATE_SLIDE = 2,
        ANIMATE_UNFOLD = 3,
        TIMER_OPEN = 296,
        TIMER_CLOSE = 297,
        TIMER_SHOW = 304,
        TIMER_WEB = 305,
        kWebInterval = 200,
    };

    explicit CVKPopupControl(BOOL bAutoDelete = FALSE);
    ~CVKPopupControl() override;

    void SetShowTime(DWORD dwMilliseconds) { m_dwShowTime = dwMilliseconds; }
    void SetAnimateTime(DWORD dwMilliseconds) { m_dwAnimateTime = dwMilliseconds; }
    void SetStepInterval(DWORD dwMilliseconds) { m_dwStep = dwMilliseconds > 0 ? dwMilliseconds : 1; }
    void SetTransparency(BYTE cbOpacity) { m_cbOpacity = cbOpacity; }
    void SetAnimation(int nKind) { m_nAnimation = nKind; }
    void SetDraggable(BOOL bDraggable) { m_bDraggable = bDraggable; }
    void SetSize(int cx, int cy) { m_size = CSize(cx, cy); }
    void SetFixedAnchor(CPoint pt) { m_ptFixed = pt; }
    void SetCornerRule(int nRule) { m_nCornerRule = nRule; }
    void SetBackground(CPicture* pPicture) { m_pBackground = pPicture; }

    CVKPopupItem* AddItem(CVKPopupItem* pItem);
    void RemoveAllItems();
    INT_PTR GetItemCount() const { return m_Items.GetSize(); }
    CVKPopupItem* GetItem(INT_PTR i) const { return m_Items[i]; }
    CVKPopupItem* GetHotItem() const { return m_pHot; }
    CVKPopupItem* GetPressedItem() const { return m_pPressed; }

    int GetState() const { return m_nState; }
    CSize GetSize() const { return m_size; }
    int GetCurrentOpacity() const { return m_nCurOpacity; }
    int GetRemainingSteps() const { return m_nSteps; }
    BOOL IsMouseOver() const { return m_bMouseOver; }
    // Bottom-right corner of the notice on screen.
    CPoint GetAnchorPoint() const;

    // Opens the notice under the owner (its notifications go there).
    BOOL Show(CWnd* pOwner);
    void Close();
    void Notify(UINT nKind, LPARAM lParam);

    // Fields the notice manager fills.
    int m_nKind;      // 1 picture, 2 text, 3 picture and text
    BYTE m_cbPicture; // 1 URL, 2 file under the program folder
    CString m_strPictureUrl, m_strPicturePath, m_strText, m_strLink, m_strTitle;
    int m_nNoticeID;

    virtual BOOL Create(CWnd* pParent);
    virtual void OnItemClick(CVKPopupItem* pItem);
    virtual void OnOpening(BOOL bFromStart);
    virtual void OnClosing();
    virtual void OnShown();

protected:
    void PostNcDestroy() override;

    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnPaint();
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnCaptureChanged(CWnd* pWnd);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnMouseLeave();
    afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
    DECLARE_MESSAGE_MAP()

    void SetState(int nState);
    CRect TargetRect() const;
    void StepFrame();
    void ApplyFrame();
    void CutRegion();
    CVKPopupItem* ItemAt(CPoint point) const;
    void DragLoop(CPoint ptStart);

    CArray<CVKPopupItem*, CVKPopupItem*> m_Items;
    CVKPopupItem* m_pHot;
    CVKPopupItem* m_pPressed;
    int m_nAnimation;
    int m_nState;
    CSize m_size;
    CPoint m_ptFixed;
    BYTE m_cbOpacity;
    int m_nCurOpacity;
    DWORD m_dwShowTime;
    DWORD m_dwAnimateTime;
    DWORD m_dwStep;
    int m_nSteps;
    BOOL m_bDraggable;
    int m_nCornerRule;
    CRect m_rcTarget;
    int m_nTargetOpacity;
    CRect m_rcCurrent;
    int m_nCurrentOpacity; // the frame's opacity as it steps
    BOOL m_bAutoDelete;
    HCURSOR m_hHand;
    BOOL m_bDragging;
    BOOL m_bHasWebItems;
    CPicture* m_pBackground;
    HWND m_hOwner;
    BOOL m_bMouseOver;
};
