// The windowless title bar of the captionless main frame: the top border
// strip and the frame's title-bar buttons, whose clicks become frame actions.
#pragma once

#include <afxwin.h>

#include "ButtonListener.h"
#include "ButtonWidget.h"
#include "Picture.h"
#include "Widget.h"

// Button ids of the title bar (and of the click dispatch).
enum
{
    IDC_TOP_MIN = 1000,
    IDC_TOP_CLOSE = 1001,
    IDC_TOP_MAX = 1002,
    IDC_TOP_RESTORE = 1003,
    IDC_TOP_WEB1 = 1007,
    IDC_TOP_SHOP = 1008,
    IDC_TOP_WEB3 = 1009,
    IDC_TOP_SHOP2 = 1010,
    IDC_TOP_SERVICE = 1011,
    IDC_TOP_PLAZA_PAGE = 1012,
    IDC_TOP_CLOSE2 = 1013,
    IDC_TOP_MENU = 1014,
    IDC_TOP_LOGON = 1017,
    IDC_TOP_REGISTER = 1018,
};

#define WM_FRAME_SWITCH_ACCOUNT (WM_USER + 103)
#define WM_FRAME_REGISTER (WM_USER + 104)

// What the title bar asks of the frame that carries it.
class IFrameTopOwner
{
public:
    virtual HWND GetFrameWnd() = 0;
    virtual bool IsFrameMaximized() = 0;
    virtual void SetFrameMaximized(bool bMaximized) = 0;
    virtual void SetFrameMinimized(bool bMinimized) = 0;
    // The close came from the title bar: the close dialog is asked.
    virtual void SetCloseByButton(bool bByButton) = 0;
    virtual void ShowItemShop(int nItemID) = 0;
    // Hall-button address nIndex of the options store with the user key,
    // in the default browser or (bInPlaza) the plaza page.
    virtual void OpenHallButton(int nIndex, bool bInPlaza) = 0;
    // The user-service program on page group 1, page 0.
    virtual void OpenServicePage() = 0;
    // The help menu at that screen point.
    virtual void ShowHelpMenu(CPoint ptScreen) = 0;

protected:
    ~IFrameTopOwner() {}
};

class CFrameTopWidget : public CWidget, public IButtonListener
{
public:
    static const int kButtonCount = 10;

    CFrameTopWidget();
    ~CFrameTopWidget() override;

    // Creates the buttons, loads the pictures from the resource folder and
    // adds the buttons to this widget. Until then every action is dropped.
    void Initialize(IFrameTopOwner* pOwner, LPCSTR pszResourceFolder);
    void ShowLogonButtons(bool bShow);
    // True shows the restore button instead of the maximise one.
    void ShowMaximizedState(bool bMaximized);
    // Places the buttons for a frame of that width (the widget spans it).
    void LayoutButtons(int cx, int cy);

    CButtonWidget* GetButton(int nID);

    void Draw(CWidgetDC* pDC) override;
    void LButtonDown(int x, int y) override;
    void LButtonDblClk(int x, int y) override;
    void ButtonClick(int nID) override;
    void ButtonDblClk(int nID) override {}

private:
    IFrameTopOwner* m_pOwner;
    bool m_bLogonShown;
    CPicture m_ButtonPictures[kButtonCount];
    CPicture m_BorderLeft, m_BorderMiddle, m_BorderRight;
    CButtonWidget m_Buttons[kButtonCount];
};
