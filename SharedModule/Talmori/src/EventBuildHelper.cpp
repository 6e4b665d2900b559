#include "EventBuildHelper.h"

#include <string.h>

#include "WidgetManager.h"

CEventBuildHelper::CEventBuildHelper(CWidgetManager* pManager)
    : m_pManager(pManager), m_bWindowFocused(false), m_bWindowMinimized(false), m_bEffectiveFocus(true)
{}

CEventBuildHelper::~CEventBuildHelper() {}

void CEventBuildHelper::BuildEvent(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SIZE: {
        bool bMinimized = wParam == SIZE_MINIMIZED;
        if (bMinimized != m_bWindowMinimized) {
            m_bWindowMinimized = bMinimized;
            if (!bMinimized)
                m_pManager->MarkAllDirty();
        }
        RehupFocus();
        break;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        m_bWindowFocused = message == WM_SETFOCUS;
        // fall through
    case WM_ACTIVATEAPP:
        RehupFocus();
        if (m_bWindowFocused)
            m_pManager->MarkAllDirty();
        break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: m_pManager->KeyDown((UINT)wParam); break;
    case WM_KEYUP:
    case WM_SYSKEYUP: m_pManager->KeyUp((UINT)wParam); break;
    case WM_CHAR: m_pManager->KeyChar((UINT)wParam); break;
    case WM_MOUSEWHEEL: m_pManager->MouseWheel((signed char)((short)HIWORD(wParam) / WHEEL_DELTA)); break;
    default:
        if (message >= WM_MOUSEMOVE && message <= WM_MBUTTONUP) {
            int x = (short)LOWORD(lParam);
            int y = (short)HIWORD(lParam);
            m_pManager->MouseMove(x, y);
            switch (message) {
            case WM_LBUTTONDOWN:
            case WM_LBUTTONDBLCLK:
            case WM_RBUTTONDOWN:
            case WM_RBUTTONDBLCLK:
            case WM_MBUTTONDOWN:
                ::SetCapture(hWnd);
                m_pManager->MouseDown(x, y, (int)(message - WM_MOUSEFIRST));
                break;
            case WM_LBUTTONUP: ReleaseButton(x, y, WIDGET_MOUSE_LDOWN, WIDGET_BUTTON_LEFT); break;
            case WM_RBUTTONUP: ReleaseButton(x, y, WIDGET_MOUSE_RDOWN, WIDGET_BUTTON_RIGHT); break;
            case WM_MBUTTONUP: ReleaseButton(x, y, WIDGET_MOUSE_MDOWN, WIDGET_BUTTON_MIDDLE); break;
            default: break;
            }
        }
        break;
    }
}

void CEventBuildHelper::ReleaseButton(int x, int y, int nCode, int nBit)
{
    // The capture stays while another button is still held.
    int nBits = m_pManager->m_nButtonBits;
    if ((nBits & nBit) != 0 && (nBits & ~nBit) == 0)
        ::ReleaseCapture();
    m_pManager->MouseUp(x, y, nCode);
}

void CEventBuildHelper::RehupFocus()
{
    bool bEffective = m_bWindowFocused && !m_bWindowMinimized;
    if (bEffective == m_bEffectiveFocus)
        return;
    m_bEffectiveFocus = bEffective;
    if (bEffective) {
        m_pManager->GotFocus();
    } else {
        m_pManager->LostFocus();
        ::ReleaseCapture();
        m_pManager->DoMouseUps();
    }
}

void CEventBuildHelper::ClearKeysDown()
{
    memset(m_pManager->m_KeysDown, 0, sizeof(m_pManager->m_KeysDown));
}

void CEventBuildHelper::BeginPopup() {}

void CEventBuildHelper::EndPopup()
{
    ClearKeysDown();
    if (m_pManager->m_nButtonBits != 0) {
        m_pManager->DoMouseUps();
        ::ReleaseCapture();
    }
}
