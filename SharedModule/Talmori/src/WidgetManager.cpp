#include "WidgetManager.h"

#include <string.h>

#include "Widget.h"
#include "WidgetDC.h"

namespace
{
// Codes other than the six presses map to themselves.
int ButtonBitOf(int nCode)
{
    switch (nCode) {
    case WIDGET_MOUSE_LDOWN:
    case WIDGET_MOUSE_LDBLCLK: return WIDGET_BUTTON_LEFT;
    case WIDGET_MOUSE_RDOWN:
    case WIDGET_MOUSE_RDBLCLK: return WIDGET_BUTTON_RIGHT;
    case WIDGET_MOUSE_MDOWN:
    case WIDGET_MOUSE_MDBLCLK: return WIDGET_BUTTON_MIDDLE;
    default: return nCode;
    }
}
} // namespace

CWidgetManager::CWidgetManager()
    : m_pCtrlTabWidget(NULL), m_bHasFocus(true), m_pFocusWidget(NULL), m_pPressedWidget(NULL), m_pOverWidget(NULL),
      m_bMouseInside(false), m_nLastMouseX(0), m_nLastMouseY(0), m_nButtonBits(0), m_hWndParent(NULL)
{
    m_pManager = this;
    memset(m_KeysDown, 0, sizeof(m_KeysDown));
}

CWidgetManager::~CWidgetManager()
{
    // Widgets may outlive the manager; they must not keep pointing at it.
    // Tearing down sends them no input: whoever listens may be going too.
    m_hWndParent = NULL;
    m_pCtrlTabWidget = NULL;
    m_pFocusWidget = NULL;
    m_pPressedWidget = NULL;
    m_pOverWidget = NULL;
    m_nButtonBits = 0;
    POSITION pos = m_Widgets.GetHeadPosition();
    while (pos != NULL) {
        CWidget* pChild = m_Widgets.GetNext(pos);
        pChild->RemovedFromManager(this);
        pChild->m_pManager = NULL;
    }
}

void CWidgetManager::SetParentHwnd(HWND hWnd)
{
    m_hWndParent = hWnd;
}

CWidget* CWidgetManager::GetAnyWidgetAt(int x, int y, int* pRelX, int* pRelY)
{
    return GetWidgetAtHelper(x, y, pRelX, pRelY);
}

CWidget* CWidgetManager::GetWidgetAt(int x, int y, int* pRelX, int* pRelY)
{
    CWidget* pHit = GetWidgetAtHelper(x, y, pRelX, pRelY);
    if (pHit != NULL && pHit->m_bDisabled)
        return NULL;
    return pHit;
}

void CWidgetManager::MouseEnter(CWidget* pWidget)
{
    pWidget->m_bMouseOver = true;
    pWidget->MouseEnter();
}

void CWidgetManager::MouseLeave(CWidget* pWidget)
{
    pWidget->m_bMouseOver = false;
    pWidget->MouseLeave();
}

void CWidgetManager::DoMouseUps(CWidget* pWidget, int nBits)
{
    CPoint pt = pWidget->GetAbsPos();
    int x = m_nLastMouseX - pt.x;
    int y = m_nLastMouseY - pt.y;
    if (nBits & WIDGET_BUTTON_LEFT) {
        pWidget->m_bPressed = false;
        pWidget->LButtonUp(x, y);
    }
    if (nBits & WIDGET_BUTTON_MIDDLE) {
        pWidget->m_bPressed = false;
        pWidget->MButtonUp(x, y);
    }
    if (nBits & WIDGET_BUTTON_RIGHT) {
        pWidget->m_bPressed = false;
        pWidget->RButtonUp(x, y);
    }
}

void CWidgetManager::DoMouseUps()
{
    if (m_pPressedWidget == NULL || m_nButtonBits == 0)
        return;
    CWidget* pPressed = m_pPressedWidget;
    int nBits = m_nButtonBits;
    m_nButtonBits = 0;
    m_pPressedWidget = NULL;
    DoMouseUps(pPressed, nBits);
}

void CWidgetManager::GotFocus()
{
    if (m_bHasFocus)
        return;
    m_bHasFocus = true;
    if (m_pFocusWidget != NULL)
        m_pFocusWidget->GotFocus();
}

void CWidgetManager::LostFocus()
{
    if (!m_bHasFocus)
        return;
    m_nButtonBits = 0;
    // With the bits gone nothing would ever release the pressed widget, and
    // every later press would go to it.
    if (m_pPressedWidget != NULL) {
        CWidget* pPressed = m_pPressedWidget;
        m_pPressedWidget = NULL;
        pPressed->m_bPressed = false;
        pPressed->MarkDirty();
    }
    for (UINT nKey = 0; nKey < sizeof(m_KeysDown); ++nKey) {
        if (m_KeysDown[nKey])
            KeyUp(nKey);
    }
    m_bHasFocus = false;
    if (m_pFocusWidget != NULL)
        m_pFocusWidget->LostFocus();
}

void CWidgetManager::MousePosition(int x, int y)
{
    bool bMoved = x != m_nLastMouseX || y != m_nLastMouseY;
    m_nLastMouseX = x;
    m_nLastMouseY = y;
    int nRelX = 0;
    int nRelY = 0;
    CWidget* pHit = GetWidgetAt(x, y, &nRelX, &nRelY);
    if (pHit != m_pOverWidget) {
        if (m_pOverWidget != NULL) {
            CWidget* pOld = m_pOverWidget;
            m_pOverWidget = NULL;
            MouseLeave(pOld);
        }
        m_pOverWidget = pHit;
        if (pHit != NULL) {
            MouseEnter(pHit);
            pHit->MouseMove(nRelX, nRelY);
        }
    } else if (pHit != NULL && bMoved) {
        pHit->MouseMove(nRelX, nRelY);
    }
}

void CWidgetManager::RehupMouse()
{
    if (m_pPressedWidget != NULL) {
        if (m_pOverWidget != NULL && GetWidgetAt(m_nLastMouseX, m_nLastMouseY, NULL, NULL) != m_pPressedWidget) {
            CWidget* pOld = m_pOverWidget;
            m_pOverWidget = NULL;
            MouseLeave(pOld);
        }
    } else if (m_bMouseInside) {
        MousePosition(m_nLastMouseX, m_nLastMouseY);
    }
}

bool CWidgetManager::MouseMove(int x, int y)
{
    if (m_nButtonBits != 0)
        return MouseDrag(x, y);
    m_bMouseInside = true;
    MousePosition(x, y);
    return true;
}

bool CWidgetManager::MouseDrag(int x, int y)
{
    m_bMouseInside = true;
    m_nLastMouseX = x;
    m_nLastMouseY = y;
    if (m_pOverWidget != NULL && m_pOverWidget != m_pPressedWidget) {
        CWidget* pOld = m_pOverWidget;
        m_pOverWidget = NULL;
        MouseLeave(pOld);
    }
    if (m_pPressedWidget == NULL)
        return true;

    CWidget* pPressed = m_pPressedWidget;
    CPoint pt = pPressed->GetAbsPos();
    pPressed->MouseDrag(x - pt.x, y - pt.y);
    // The drag handler may have let go of the widget.
    if (m_pPressedWidget != pPressed)
        return true;
    if (GetWidgetAt(x, y, NULL, NULL) == pPressed) {
        if (m_pOverWidget == NULL) {
            m_pOverWidget = pPressed;
            MouseEnter(pPressed);
        }
    } else if (m_pOverWidget != NULL) {
        CWidget* pOld = m_pOverWidget;
        m_pOverWidget = NULL;
        MouseLeave(pOld);
    }
    return true;
}

bool CWidgetManager::MouseDown(int x, int y, int nCode)
{
    m_nButtonBits |= ButtonBitOf(nCode);
    // While a widget holds a button, no other one may come under the mouse.
    if (m_pPressedWidget == NULL) {
        MousePosition(x, y);
    } else {
        m_nLastMouseX = x;
        m_nLastMouseY = y;
    }

    int nRelX = 0;
    int nRelY = 0;
    CWidget* pTarget = GetWidgetAt(x, y, &nRelX, &nRelY);
    if (m_pPressedWidget != NULL) {
        // The widget already holding a button takes the press, in its own coordinates.
        pTarget = m_pPressedWidget;
        CPoint pt = pTarget->GetAbsPos();
        nRelX = x - pt.x;
        nRelY = y - pt.y;
    }
    m_pPressedWidget = pTarget;
    if (pTarget == NULL)
        return true;
    if (pTarget->WantFocus())
        SetFocus(pTarget);
    pTarget->m_bPressed = true;
    pTarget->MouseDown(nRelX, nRelY, nCode);
    return true;
}

bool CWidgetManager::MouseUp(int x, int y, int nCode)
{
    int nBit = ButtonBitOf(nCode);
    if (m_pPressedWidget != NULL && (m_nButtonBits & nBit) != 0) {
        CWidget* pPressed = m_pPressedWidget;
        m_nButtonBits &= ~nBit;
        if (m_nButtonBits == 0) {
            m_pPressedWidget = NULL;
            pPressed->m_bPressed = false;
        }
        CPoint pt = pPressed->GetAbsPos();
        pPressed->MouseUp(x - pt.x, y - pt.y, nCode);
    } else {
        m_nButtonBits &= ~nBit;
    }
    if (m_pPressedWidget == NULL)
        MousePosition(x, y);
    return true;
}

bool CWidgetManager::MouseExit(int x, int y)
{
    m_bMouseInside = false;
    if (m_pOverWidget != NULL) {
        CWidget* pOld = m_pOverWidget;
        m_pOverWidget = NULL;
        MouseLeave(pOld);
    }
    return true;
}

void CWidgetManager::MouseWheel(int nNotches)
{
    if (m_pFocusWidget != NULL)
        m_pFocusWidget->MouseWheel(nNotches);
}

bool CWidgetManager::KeyDown(UINT nKey)
{
    if (nKey < sizeof(m_KeysDown))
        m_KeysDown[nKey] = 1;
    if (m_pFocusWidget != NULL)
        m_pFocusWidget->KeyDown(nKey);
    return true;
}

bool CWidgetManager::KeyUp(UINT nKey)
{
    if (nKey < sizeof(m_KeysDown))
        m_KeysDown[nKey] = 0;
    if (nKey == VK_TAB && m_KeysDown[VK_CONTROL])
        return true;
    if (m_pFocusWidget != NULL)
        m_pFocusWidget->KeyUp(nKey);
    return true;
}

bool CWidgetManager::KeyChar(UINT nChar)
{
    if (nChar == '\t' && m_KeysDown[VK_CONTROL] && m_pCtrlTabWidget != NULL)
        m_pCtrlTabWidget->KeyChar(nChar);
    if (m_pFocusWidget != NULL)
        m_pFocusWidget->KeyChar(nChar);
    return true;
}

void CWidgetManager::DisableWidget(CWidget* pWidget)
{
    if (pWidget == NULL)
        return;
    if (pWidget == m_pOverWidget) {
        m_pOverWidget = NULL;
        MouseLeave(pWidget);
    }
    if (pWidget == m_pPressedWidget) {
        m_pPressedWidget = NULL;
        int nBits = m_nButtonBits;
        m_nButtonBits = 0;
        DoMouseUps(pWidget, nBits);
    }
    if (pWidget == m_pFocusWidget) {
        m_pFocusWidget = NULL;
        pWidget->LostFocus();
    }
}

void CWidgetManager::SetFocus(CWidget* pWidget)
{
    if (pWidget == m_pFocusWidget)
        return;
    CWidget* pOld = m_pFocusWidget;
    m_pFocusWidget = NULL;
    if (pOld != NULL)
        pOld->LostFocus();
    if (pWidget != NULL && pWidget->m_pManager == this) {
        m_pFocusWidget = pWidget;
        if (m_bHasFocus)
            pWidget->GotFocus();
    }
}

void CWidgetManager::DrawWidgetsTo(CWidgetDC* pDC)
{
    POSITION pos = m_Widgets.GetHeadPosition();
    while (pos != NULL) {
        CWidget* pWidget = m_Widgets.GetNext(pos);
        if (!pWidget->m_bVisible)
            continue;
        CWidgetDC dc(*pDC);
        dc.Translate(pWidget->m_nLeft, pWidget->m_nTop);
        pWidget->DrawAll(&dc);
        pWidget->m_bDirty = false;
    }
}

void CWidgetManager::UpdateLayout(CWidgetList& list)
{
    // Hidden widgets count too: the area they left needs repainting. The
    // rectangles are taken in host coordinates, whatever the list's depth.
    CRect rcUnion(0, 0, 0, 0);
    POSITION pos = list.GetHeadPosition();
    while (pos != NULL) {
        CWidget* pWidget = list.GetNext(pos);
        if (!pWidget->m_bDirty)
            continue;
        pWidget->m_bDirty = false;
        CPoint pt = pWidget->GetAbsPos();
        CRect rc(pt.x, pt.y, pt.x + pWidget->m_nWidth, pt.y + pWidget->m_nHeight);
        if (rc.IsRectEmpty())
            continue;
        if (rcUnion.IsRectEmpty())
            rcUnion = rc;
        else
            rcUnion.UnionRect(&rcUnion, &rc);
    }
    if (m_hWndParent != NULL && !rcUnion.IsRectEmpty())
        ::InvalidateRect(m_hWndParent, &rcUnion, FALSE);
}
