// The emotion picker pop-up: a grid of pictures per page, page tabs, and an
// enlarged animated preview of the picture under the mouse. The owner gets
// the picked emotion as WM_EMOTION_PICK.
#pragma once

#include <afxcmn.h>
#include <afxwin.h>

#include <vector>

#include "IEmotionDlg.h"
#include "Picture.h"
#include "TabCtrlEmotion.h"

class CEmotionDlg : public CDialog
{
public:
    enum
    {
        COLUMNS = 9,
        ROWS = 8,
        CELLS = COLUMNS * ROWS,
        CELL = 28,
        PITCH = CELL + 1, // a cell and its gap
        MARGIN = 2,
        TIMER_PREVIEW = 101,
        MIN_FRAME_DELAY = 200,
    };
    enum
    {
        PREVIEW_NONE,
        PREVIEW_LEFT,
        PREVIEW_RIGHT,
    };

    CEmotionDlg();
    ~CEmotionDlg() override;

    ULONG AddRef();
    ULONG Release();
    HRESULT QueryInterface(REFGUID iid, void** out);

    bool CreatePicker(CWnd* pOwner);
    void DestroyPicker();
    bool LoadConfig(const char* dir);
    void GetSize(int size[2]);
    void ShowAt(int x, int y);
    void SetVipLevel(int level);

    // The cell under a client point on the current page, -1 for none.
    int HitTest(CPoint point) const;
    // Next preview side for a hover move from column oldColumn (-1: none)
    // to column newColumn (-1: no cell).
    static int NextPreviewSide(int side, int newColumn, int oldColumn);

protected:
    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    void OnOK() override;
    void OnCancel() override;

    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnMouseLeave();
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    afx_msg void OnActivateApp(BOOL bActive, DWORD dwThreadID);
    afx_msg void OnTabChange(NMHDR* pNMHDR, LRESULT* pResult);
    DECLARE_MESSAGE_MAP()

private:
    // The interfaces handed out; every call goes to the dialog.
    class XEmotionDlg : public IEmotionDlg2
    {
    public:
        explicit XEmotionDlg(CEmotionDlg* pOuter) : m_pOuter(pOuter) {}
        ULONG AddRef() override;
        ULONG Release() override;
        HRESULT QueryInterface(REFGUID iid, void** out) override;
        bool Create(CWnd* pOwner) override;
        HWND GetSafeHwnd() override;
        void Destroy() override;
        bool LoadConfig(const char* dir) override;
        void GetSize(int size[2]) override;
        void ShowAt(int x, int y) override;
        void SetVipLevel(int level) override;

    private:
        CEmotionDlg* Outer() { return m_pOuter; }
        CEmotionDlg* m_pOuter;
    } m_xEmotionDlg;
    friend class XEmotionDlg;

    // One entry per emotion number of the page; picture null when it did not load.
    struct Cell
    {
        CPicture* picture;
        tagEmotion emotion;
    };
    typedef std::vector<Cell> Page;

    void FreePages();
    const Cell* CellAt(int index) const;
    const CPicture* PreviewFrame() const;
    DWORD FrameDelay() const;
    CRect PreviewRect() const;
    void ClearHover();
    CString PageName(int page, const char* fallback) const;

    volatile LONG m_lRefCount;
    CTabCtrlEmotion m_Tab;
    CToolTipCtrl m_ToolTip;
    CWnd* m_pOwner;
    CString m_strFolder; // empty until a configuration was read
    CString m_strConfig;
    std::vector<Page> m_Pages;
    CPicture m_Background;
    CPicture m_PagePicture; // named by the configuration, not painted
    int m_nPage;
    int m_nHover;
    int m_nOldHover;
    int m_nPreviewSide;
    long m_nFrame;
    long m_nFrameCount;
    CPoint m_ptGrid; // grid origin in client coordinates
    bool m_bTracking;
    bool m_bExtraPages;
    int m_nVipLevel;
};
