// CGameStatusDlg: the small shaped window shown while a game client starts.
// It is drawn from one picture, with a line of text whose trailing dots grow
// and shrink. Modal: its owner opens it with ShowStatus and ends it with
// CloseStatus from code that runs inside the modal loop.
#pragma once

#include <afxwin.h>

#include <Picture.h>

class CGameStatusDlg : public CDialog
{
    DECLARE_DYNAMIC(CGameStatusDlg)
public:
    enum
    {
        IDD = 113,
        kTimerDots = 1,
        kDotInterval = 170,
        kMaxDots = 6,
        kTextWidth = 284,
        kTextHeight = 24
    };

    CGameStatusDlg();
    virtual ~CGameStatusDlg();

    // Runs the window modally; when it is already open, answers its handle
    // at once instead.
    HWND ShowStatus();
    void CloseStatus();

    int GetDotCount() const { return m_nDots; }
    const CRect& GetTextRect() const { return m_rcText; }
    const CString& GetStatusText() const { return m_strStatus; }

    // The text box for a picture of this size, in client coordinates.
    static CRect TextRectFor(int cxPicture, int cyPicture);

    BOOL OnInitDialog() override;

protected:
    // Neither Enter nor Escape closes the window.
    void OnOK() override {}
    void OnCancel() override {}

    afx_msg void OnPaint();
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    DECLARE_MESSAGE_MAP()

private:
    int m_nDots;
    CRect m_rcText;
    CString m_strStatus;
    CPicture m_Picture;
};
