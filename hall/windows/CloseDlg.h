// Asked when the player closes the hall from the title bar: quit, switch
// account or stay. Shows the close banner, which the dynamic configuration
// may replace for a time window.
#pragma once

#include <afxwin.h>

#include "ButtonListener.h"
#include "ButtonWidget.h"
#include "EventBuildHelper.h"
#include "Picture.h"
#include "RgnDialog.h"
#include "WidgetManager.h"
#include "resource.h"

enum
{
    IDC_CLOSE_QUIT = 1073,
    IDC_CLOSE_SWITCH = 1074,
    IDC_CLOSE_CANCEL = 1075,
    IDC_CLOSE_BANNER = 1001,
};

class CCloseDlg : public CRgnDialog, public IButtonListener
{
public:
    // The dialog's results: quit lets the close go on; switch account ends
    // the dialog first, and the frame then switches outside its close road.
    enum
    {
        kResultQuit = IDOK,
        kResultStay = IDCANCEL,
        kResultSwitchAccount = 3,
    };

    CCloseDlg(CWnd* pParent = NULL);
    ~CCloseDlg() override;

    BOOL OnInitDialog() override;
    void ButtonClick(int nID) override;
    void ButtonDblClk(int nID) override {}

    bool IsBannerLink() const { return m_bBannerLink; }
    const CString& GetBannerLink() const { return m_strBannerLink; }
    // The banner's hot area in client coordinates.
    CRect GetBannerHotRect();
    CButtonWidget& GetButton(int nIndex) { return m_Buttons[nIndex]; }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnPaint();
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    DECLARE_MESSAGE_MAP()

private:
    void ChooseBanner();

    CPicture m_ButtonPictures[3];
    CPicture m_Banner;
    CRect m_rcBanner;
    CString m_strBannerLink;
    bool m_bBannerLink;
    CWidgetManager m_WidgetManager;
    CEventBuildHelper m_EventBuilder;
    CButtonWidget m_Buttons[3];
};
