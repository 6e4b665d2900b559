// The table grid of a table room: a child window laying the room's tables
// out in rows and columns under a skinned vertical scroll bar, painting the
// visible ones off-screen, following the chair under the mouse and reporting
// completed seat clicks to the room (ITableFrameSink). It carries the notice
// strip and the anti-cheat and cycle-match presentations (table mode 2).
#pragma once

#include <afxtempl.h>
#include <afxwin.h>

#include "ButtonWidget.h"
#include "EventBuildHelper.h"
#include "InformationBox.h"
#include "SkinScrollBar.h"
#include "TableFrameHost.h"
#include "TableFrameView.h"
#include "TableResource.h"
#include "TableView.h"
#include "WidgetManager.h"

// The cycle-match start button.
#define IDC_CYCLE_MATCH_BUTTON 1001

// Raised by InitTableFrame; the room shows the text.
class CTableFrameError
{
public:
    explicit CTableFrameError(LPCSTR pszText) : m_strText(pszText) {}
    const CString& GetText() const { return m_strText; }

private:
    CString m_strText;
};

// The closing frames of FlashTable and FlashChair: drawn with an XOR pen on
// the window, so each outline drawn twice leaves nothing behind.
class ITableFlashPainter
{
public:
    virtual ~ITableFlashPainter() {}
    virtual void DrawOutline(CDC* pDC, const CRect& rect) = 0;
    virtual void Wait(DWORD dwMilliseconds) = 0;
};

class CTableFrame : public CWnd, public ITableFrameView, public IButtonListener
{
public:
    explicit CTableFrame(ITableFrameHost* pHost = NULL);
    virtual ~CTableFrame();

    // The grid belongs to the room view that made it: the count only
    // follows the interface's users, Release never deletes the grid.
    ULONG AddRef() override;
    ULONG Release() override;
    HRESULT QueryInterface(REFGUID iid, void** out) override;

    bool CreateTableFrame(CWnd* pParent, UINT nID) override;
    void SetTableMode(DWORD dwMode, bool bCycle) override;
    bool InitTableFrame(WORD wTableCount, WORD wChairCount, CGame* pGame, IUnknownEx* pOwner) override;
    void DestroyTableFrame() override;
    void UpdateTableView(WORD wTableID, bool bForce) override;
    ITableView* GetTableViewItem(WORD wTableID) override;
    bool ShowUserInfo(bool bShowUser) override;
    bool EnsureVisibleTable(WORD wTableID) override;
    bool FlashTable(WORD wTableID) override;
    bool FlashChair(WORD wTableID, WORD wChairID) override;
    WORD GetTableCount() override { return m_wTableCount; }
    WORD GetChairCount() override { return m_wChairCount; }
    WORD GetIdentifyTable() override { return m_wIdentifyTable; }
    bool SetUserItem(WORD wTableID, WORD wChairID, CUserItem* pUserItem) override;
    void SetPlayFlag(WORD wTableID, bool bPlaying) override;
    void SetLockFlag(WORD wTableID, bool bLocked) override;
    CUserItem* GetUserItem(WORD wTableID, WORD wChairID) override;
    WORD GetNullChairCount(WORD wTableID, WORD* pwLastEmpty) override;
    bool GetPlayFlag(WORD wTableID) override;
    bool GetLockFlag(WORD wTableID) override;
    const tagTableAttribute* GetTableAttribute(WORD wTableID) override;
    void SetFreeChairFilter(WORD wFreeChairs, bool bErase) override;
    void ReorderTableView(ITableView* pTableView) override;
    int CalcTableLayout(int nWidth) override;
    int GetCycleMatchState() override { return m_nCycleMatchState; }
    BYTE GetTableMode() override { return BYTE(m_nTableMode & 0xFF); }

    void ButtonClick(int nID) override;
    void ButtonDblClk(int nID) override {}

    virtual void RefreshTable(WORD wTableID) {}
    virtual ITableView* GetTableView(WORD wTableID);
    virtual void SetSecondLock(WORD wTableID, bool bLocked);

    void SetIdentifyTable(WORD wTableID) { m_wIdentifyTable = wTableID; }
    void SetCycleMatchState(int nState);
    void SetCycleMatchSeat(WORD wTableID, WORD wChairID);
    // TABLE_DISPLAY_ALL or TABLE_DISPLAY_FREE (the room view's filter).
    void SetDisplayFlags(WORD wFlags);
    WORD GetDisplayFlags() const { return m_wDisplayFlags; }
    // Null restores the painter that draws on the window and sleeps.
    void SetFlashPainter(ITableFlashPainter* pPainter);

    // Layout and press state, for the room view and tests.
    int GetColumns() const { return m_nColumns; }
    int GetRows() const { return m_nRows; }
    int GetVisibleRows() const { return m_nVisibleRows; }
    int GetXOrigin() const { return m_nXOrigin; }
    int GetYOrigin() const { return m_nYOrigin; }
    int GetScrollPos() const { return m_nScrollPos; }
    int GetContentHeight() const { return m_nContentHeight; }
    WORD GetPressedTable() const { return m_wPressedTable; }
    WORD GetPressedChair() const { return m_wPressedChair; }
    bool IsShowUser() const { return m_bShowUser; }
    bool IsCycle() const { return m_bCycle; }
    ITableFrameSink* GetSink() const { return m_pSink; }
    CTableResource* GetTableResource() { return &m_TableResource; }
    CInformationBox* GetInformationBox() { return &m_InformationBox; }
    CSkinScrollBar* GetScrollBar() { return &m_ScrollBar; }
    CButtonWidget* GetCycleButton() { return &m_CycleButton; }
    CWidgetManager* GetWidgetManager() { return &m_WidgetManager; }

    // The table under a client point, 65535 for none.
    WORD TableHitTest(CPoint point);
    // The chair under a point in table coordinates, 65535 for none.
    WORD ChairHitTest(CPoint point);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint point);
    afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnRButtonUp(UINT nFlags, CPoint point);
    DECLARE_MESSAGE_MAP()

private:
    CTableFrame(const CTableFrame&) = delete;
    CTableFrame& operator=(const CTableFrame&) = delete;

    // Table numbers of the seat operations act on table 0 in mode 1.
    WORD Fold(WORD wTableID) const { return m_nTableMode == TABLE_MODE_SINGLE ? 0 : wTableID; }
    bool IsAutoSeat();
    bool HasTableSize() const { return m_TableResource.m_wWidth != 0 && m_TableResource.m_wHeight != 0; }
    // The position in the ordered views of the first one with a free chair.
    INT_PTR FirstFreeView();
    // Client point to table coordinates (modes 0 and 1: the cell's corner;
    // mode 2: the one centred table).
    CPoint TablePoint(CPoint point) const;
    // The client rectangle without the scroll bar's strip.
    CRect ScrollArea() const;
    void SetScrollPosition(int nPos);
    void SetBarPosition(int nPos);
    void LayoutTables(int cx, int cy);
    void LayoutSingleTable(int cx, int cy);
    void PlaceScrollBar(int cx, int cy);
    void PaintTables(CDC* pDC, const CRect& rcClient);
    void PaintPresentation(CDC* pDC, const CRect& rcClient);
    void ButtonDown(CPoint point, bool bRight);
    void ButtonUp(CPoint point, bool bRight);
    // The cell a table is shown in (negative: not shown); mode 1 folds
    // every table into cell 0 when asked to.
    int DisplayPosition(WORD wTableID, bool bFold);
    bool FlashFrame(CRect rect);
    void ClearViews();
    void LoadPresentationPictures(bool bCycle);
    void CreateCyclePresentation();

    ULONG m_ulRefCount;
    CWidgetManager m_WidgetManager;
    CEventBuildHelper m_EventBuilder;
    WORD m_wPressedChair;
    WORD m_wPressedTable;
    bool m_bLeftDown;
    bool m_bRightDown;
    WORD m_wDisplayFlags;
    WORD m_wTableCount;
    WORD m_wChairCount;
    int m_nTableMode;
    bool m_bCycle;
    bool m_bShowUser;
    WORD m_wFreeChairFilter;
    CTableResource m_TableResource;
    CArray<CTableView*, CTableView*> m_TableViews;
    CArray<CTableView*, CTableView*> m_OrderedViews;
    ITableFrameSink* m_pSink;
    HBITMAP m_hScrollBitmap;
    CSkinScrollBar m_ScrollBar;
    CInformationBox m_InformationBox;
    CPicture m_PicAntiCheat;
    CPicture m_PicMessageFrame;
    CPicture m_PicState[3];
    int m_nCycleMatchState;
    WORD m_wIdentifyTable;
    CButtonWidget m_CycleButton;
    bool m_bCycleButtonAdded;
    ICycleMatchPage* m_pCyclePage;
    int m_nXOrigin;
    int m_nYOrigin;
    int m_nScrollPos;
    int m_nContentHeight;
    int m_nColumns;
    int m_nRows;
    int m_nVisibleRows;
    ITableFrameHost* m_pHost;
    ITableFlashPainter* m_pFlashPainter;
};
