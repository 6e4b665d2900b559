// CWebLoadingDlg: the small animation a web dialog shows over its page
// while the page loads; its owner destroys it when the page is ready.
#pragma once

#include <afxwin.h>

#include <Picture.h>

class CWebLoadingDlg : public CDialog
{
public:
    enum
    {
        kTimerFrame = 1,
        kFrameInterval = 150,
    };

    CWebLoadingDlg();
    ~CWebLoadingDlg() override;

    // Modeless, from the bare page template, over the owner.
    BOOL Create(CWnd* pOwner);
    using CDialog::Create;

    // The frame shown now; -1 before the first tick.
    int GetFrameIndex() const { return m_nFrame; }
    const CPicture& GetPicture() const { return m_Picture; }

protected:
    BOOL OnInitDialog() override;
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    DECLARE_MESSAGE_MAP()

    CString PicturePath() const;

    CPicture m_Picture;
    int m_nFrame;
};
