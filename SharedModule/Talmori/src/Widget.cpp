#include "Widget.h"

#include "WidgetManager.h"

CWidget::CWidget()
    : m_bVisible(true), m_bDisabled(false), m_bHasFocus(false), m_bPressed(false), m_bMouseOver(false),
      m_bWantFocus(false), m_pTabPrev(NULL), m_pTabNext(NULL)
{}

CWidget::~CWidget()
{
    // A widget destroyed inside a tree leaves it, so no list or manager keeps
    // a dangling pointer to it.
    if (m_pParent != NULL)
        m_pParent->RemoveWidget(this);
}

void CWidget::Resize(const RECT* pRect)
{
    Resize(pRect->left, pRect->top, pRect->right - pRect->left, pRect->bottom - pRect->top);
}

void CWidget::Resize(int x, int y, int w, int h)
{
    if (x == m_nLeft && y == m_nTop && w == m_nWidth && h == m_nHeight)
        return;
    MarkDirtyFull();
    m_nLeft = x;
    m_nTop = y;
    m_nWidth = w;
    m_nHeight = h;
    MarkDirty();
    if (m_pManager != NULL)
        m_pManager->RehupMouse();
}

void CWidget::Move(int x, int y)
{
    Resize(x, y, m_nWidth, m_nHeight);
}

void CWidget::GotFocus()
{
    m_bHasFocus = true;
}

void CWidget::LostFocus()
{
    m_bHasFocus = false;
}

void CWidget::KeyChar(UINT nChar) {}

void CWidget::KeyDown(UINT nKey)
{
    if (nKey != VK_TAB || m_pManager == NULL)
        return;
    CWidget* pNext = m_pManager->m_KeysDown[VK_SHIFT] ? m_pTabPrev : m_pTabNext;
    if (pNext != NULL)
        m_pManager->SetFocus(pNext);
}

void CWidget::KeyUp(UINT nKey) {}

void CWidget::MouseEnter() {}

void CWidget::MouseLeave() {}

void CWidget::MouseUp(int x, int y, int nCode)
{
    switch (nCode) {
    case WIDGET_MOUSE_LDOWN: LButtonUp(x, y); break;
    case WIDGET_MOUSE_RDOWN: RButtonUp(x, y); break;
    case WIDGET_MOUSE_MDOWN: MButtonUp(x, y); break;
    default: break;
    }
    // Another button still held keeps this widget the pressed one.
    if (m_pManager != NULL && m_pManager->m_nButtonBits == 0)
        m_pManager->m_pPressedWidget = NULL;
}

void CWidget::MouseDown(int x, int y, int nCode)
{
    switch (nCode) {
    case WIDGET_MOUSE_LDOWN: LButtonDown(x, y); break;
    case WIDGET_MOUSE_LDBLCLK: LButtonDblClk(x, y); break;
    case WIDGET_MOUSE_RDOWN: RButtonDown(x, y); break;
    case WIDGET_MOUSE_RDBLCLK: RButtonDblClk(x, y); break;
    case WIDGET_MOUSE_MDOWN: MButtonDown(x, y); break;
    case WIDGET_MOUSE_MDBLCLK: MButtonDblClk(x, y); break;
    default: break;
    }
}

void CWidget::LButtonDown(int x, int y)
{
    m_bPressed = true;
}

void CWidget::LButtonUp(int x, int y)
{
    m_bPressed = false;
}

void CWidget::LButtonDblClk(int x, int y) {}

void CWidget::RButtonDown(int x, int y) {}

void CWidget::RButtonUp(int x, int y) {}

void CWidget::RButtonDblClk(int x, int y) {}

void CWidget::MButtonDown(int x, int y) {}

void CWidget::MButtonUp(int x, int y) {}

void CWidget::MButtonDblClk(int x, int y) {}

void CWidget::MouseMove(int x, int y) {}

void CWidget::MouseDrag(int x, int y) {}

void CWidget::MouseWheel(int nNotches) {}

void CWidget::WidgetRemovedHelper()
{
    CWidgetManager* pManager = m_pManager;
    if (pManager == NULL)
        return;
    POSITION pos = m_Widgets.GetHeadPosition();
    while (pos != NULL)
        m_Widgets.GetNext(pos)->WidgetRemovedHelper();
    pManager->DisableWidget(this);
    if (pManager->m_pCtrlTabWidget == this)
        pManager->m_pCtrlTabWidget = NULL;
    RemovedFromManager(pManager);
    MarkDirtyFull(this);
    m_pManager = NULL;
}

bool CWidget::Contains(int x, int y) const
{
    return m_nLeft <= x && x < m_nLeft + m_nWidth && m_nTop <= y && y < m_nTop + m_nHeight;
}

void CWidget::SetVisible(bool bVisible)
{
    if (m_bVisible == bVisible)
        return;
    m_bVisible = bVisible;
    if (bVisible)
        MarkDirty();
    else
        MarkDirtyFull();
    if (m_pManager != NULL)
        m_pManager->RehupMouse();
}

void CWidget::SetDisabled(bool bDisabled)
{
    if (m_bDisabled == bDisabled)
        return;
    m_bDisabled = bDisabled;
    if (bDisabled && m_pManager != NULL)
        m_pManager->DisableWidget(this);
    MarkDirty();
    if (!bDisabled && m_pManager != NULL) {
        // The manager keeps host coordinates; Contains wants the parent's.
        CPoint ptParent(0, 0);
        if (m_pParent != NULL)
            ptParent = m_pParent->GetAbsPos();
        int x = m_pManager->m_nLastMouseX;
        int y = m_pManager->m_nLastMouseY;
        if (Contains(x - ptParent.x, y - ptParent.y))
            m_pManager->MousePosition(x, y);
    }
}

void CWidget::Layout(int nFlags, CWidget* pRef, int dx, int dy, int w, int h)
{
    // The reference in this widget's own coordinate space: a sibling keeps
    // its place, the parent becomes (0, 0). Without one, bits that need it
    // see an empty rectangle at (0, 0).
    CPoint ptRef(0, 0);
    int rw = 0;
    int rh = 0;
    if (pRef != NULL) {
        ptRef = pRef->GetAbsPos();
        if (m_pParent != NULL)
            ptRef -= m_pParent->GetAbsPos();
        rw = pRef->m_nWidth;
        rh = pRef->m_nHeight;
    }
    const int rl = ptRef.x;
    const int rt = ptRef.y;

    int x = m_nLeft;
    int y = m_nTop;
    int width = m_nWidth;
    int height = m_nHeight;
    for (int nBit = 0; nBit <= 21; ++nBit) {
        switch (nFlags & (1 << nBit)) {
        case 0x1: width = rw + w; break;
        case 0x2: height = rh + h; break;
        case 0x10: x = dx; break;
        case 0x20: y = dy; break;
        case 0x40: width = w; break;
        case 0x80: height = h; break;
        case 0x100: y = rt + dy - height; break;
        case 0x200: y = rt + rh + dy; break;
        case 0x400: x = rl + dx + rw; break;
        case 0x800: x = rl + dx - width; break;
        case 0x1000: x = rl + dx; break;
        case 0x2000: x = rl + dx + rw - width; break;
        case 0x4000: y = rt + dy; break;
        case 0x8000: y = rt + dy + rh - height; break;
        case 0x10000: width = rl + rw + w - x; break;
        case 0x20000: width = rl + w - x; break;
        case 0x40000: height = rt + h - y; break;
        case 0x80000: height = rt + rh + h - y; break;
        case 0x100000: x = rl + dx + (rw - width) / 2; break;
        case 0x200000: y = rt + dy + (rh - height) / 2; break;
        default: break;
        }
    }
    Resize(x, y, width, height);
}
