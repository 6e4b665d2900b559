// Root of one host window's widget tree: keeps the focus widget, the widget
// under the mouse and the one holding a pressed button, and turns mouse and
// keyboard input into calls of the widgets.
#pragma once

#include "WidgetContainer.h"

// Mouse codes are the window message minus WM_MOUSEFIRST.
enum
{
    WIDGET_MOUSE_LDOWN = 1,
    WIDGET_MOUSE_LDBLCLK = 3,
    WIDGET_MOUSE_RDOWN = 4,
    WIDGET_MOUSE_RDBLCLK = 6,
    WIDGET_MOUSE_MDOWN = 7,
    WIDGET_MOUSE_MDBLCLK = 9,
};

enum
{
    WIDGET_BUTTON_LEFT = 0x1,
    WIDGET_BUTTON_RIGHT = 0x2,
    WIDGET_BUTTON_MIDDLE = 0x10,
};

class TALMORI_API CWidgetManager : public CWidgetContainer
{
    friend class CWidgetContainer;
    friend class CWidget;
    friend class CEventBuildHelper;

public:
    CWidgetManager();
    virtual ~CWidgetManager();

    void DisableWidget(CWidget* pWidget) override;
    void SetFocus(CWidget* pWidget) override;

    void SetParentHwnd(HWND hWnd);
    CWidget* GetAnyWidgetAt(int x, int y, int* pRelX, int* pRelY);
    CWidget* GetWidgetAt(int x, int y, int* pRelX, int* pRelY);
    bool IsLeftButtonDown() const { return (m_nButtonBits & WIDGET_BUTTON_LEFT) != 0; }
    bool IsRightButtonDown() const { return (m_nButtonBits & WIDGET_BUTTON_RIGHT) != 0; }
    bool IsMiddleButtonDown() const { return (m_nButtonBits & WIDGET_BUTTON_MIDDLE) != 0; }
    void DoMouseUps(CWidget* pWidget, int nBits);
    void DoMouseUps();
    void GotFocus();
    void LostFocus();
    void MousePosition(int x, int y);
    void RehupMouse();
    bool MouseMove(int x, int y);
    bool MouseDrag(int x, int y);
    bool MouseDown(int x, int y, int nCode);
    bool MouseUp(int x, int y, int nCode);
    bool MouseExit(int x, int y);
    void MouseWheel(int nNotches);
    bool KeyDown(UINT nKey);
    bool KeyUp(UINT nKey);
    bool KeyChar(UINT nChar);
    void DrawWidgetsTo(CWidgetDC* pDC);
    void UpdateLayout(CWidgetList& list);
    using CWidgetContainer::UpdateLayout;

protected:
    void MouseEnter(CWidget* pWidget);
    void MouseLeave(CWidget* pWidget);

protected:
    CWidget* m_pCtrlTabWidget;
    bool m_bHasFocus;
    CWidget* m_pFocusWidget;
    CWidget* m_pPressedWidget;
    CWidget* m_pOverWidget;
    bool m_bMouseInside;
    int m_nLastMouseX;
    int m_nLastMouseY;
    int m_nButtonBits;
    BYTE m_KeysDown[255];
    HWND m_hWndParent;
};
