#include "PPButton.h"

#include <SkinAttribute.h>

IMPLEMENT_DYNAMIC(CPPButton, CButton)

BEGIN_MESSAGE_MAP(CPPButton, CButton)
    ON_WM_CREATE()
    ON_WM_ERASEBKGND()
    ON_WM_MOUSEMOVE()
    ON_WM_MOUSELEAVE()
END_MESSAGE_MAP()

namespace
{
const int kStates = 4;
}

CPPButton::CPPButton()
    : m_bHover(FALSE), m_hRegion(NULL), m_crTransparent(RGB(255, 0, 255)), m_crText(RGB(0, 0, 0)), m_bCreating(FALSE)
{}

CPPButton::~CPPButton() {}

BOOL CPPButton::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, int x, int y,
                         int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam)
{
    m_bCreating = TRUE;
    BOOL bOk = CButton::CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, x, y, nWidth, nHeight, hWndParent,
                                 nIDorHMenu, lpParam);
    m_bCreating = FALSE;
    return bOk;
}

int CPPButton::GetImageWidth() const
{
    return m_Picture.IsValid() ? (int)m_Picture.GetWidth() / kStates : 0;
}

int CPPButton::GetImageHeight() const
{
    return m_Picture.IsValid() ? (int)m_Picture.GetHeight() : 0;
}

BOOL CPPButton::LoadImage(LPCTSTR lpszFileName)
{
    m_Picture.Load(lpszFileName, PICTURE_TYPE_UNKNOWN);
    return Reshape();
}

void CPPButton::SetUp()
{
    // BS_OWNERDRAW is a button type: it replaces the old type. The window
    // erases nothing itself, so the shared "Button" class keeps its brush.
    ModifyStyle(BS_TYPEMASK, BS_OWNERDRAW, SWP_FRAMECHANGED);
    SetFont(CSkinAttribute::GetDefaultFont(), TRUE);
    Reshape();
}

BOOL CPPButton::Reshape()
{
    if (!m_Picture.IsValid() || GetSafeHwnd() == NULL)
        return FALSE;
    HRGN hRegion = NULL;
    if (!m_Picture.SelectionToHRGN(hRegion) || hRegion == NULL)
        return FALSE;
    SetWindowPos(NULL, 0, 0, GetImageWidth(), GetImageHeight(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (SetWindowRgn(hRegion, TRUE) == 0) {
        ::DeleteObject(hRegion);
        return FALSE;
    }
    m_hRegion = hRegion;
    return TRUE;
}

void CPPButton::PreSubclassWindow()
{
    CButton::PreSubclassWindow();
    if (!m_bCreating)
        SetUp();
}

int CPPButton::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CButton::OnCreate(lpCreateStruct) == -1)
        return -1;
    SetUp();
    return 0;
}

BOOL CPPButton::OnEraseBkgnd(CDC* pDC)
{
    return TRUE;
}

void CPPButton::OnMouseMove(UINT nFlags, CPoint point)
{
    if (!m_bHover) {
        SetFocus();
        m_bHover = TRUE;
        Invalidate(FALSE);
        TRACKMOUSEEVENT tme = {sizeof(tme), TME_LEAVE, m_hWnd, HOVER_DEFAULT};
        ::TrackMouseEvent(&tme);
    }
    CButton::OnMouseMove(nFlags, point);
}

void CPPButton::OnMouseLeave()
{
    m_bHover = FALSE;
    Invalidate(FALSE);
}

void CPPButton::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    HDC hDC = lpDrawItemStruct->hDC;
    const UINT nItemState = lpDrawItemStruct->itemState;
    int nState = 0;
    if (nItemState & ODS_DISABLED)
        nState = 3;
    else if (nItemState & ODS_SELECTED)
        nState = 2;
    else if (m_bHover)
        nState = 1;

    if (m_Picture.IsValid()) {
        const int cxState = GetImageWidth();
        RECT rcClip = {0, 0, cxState, GetImageHeight()};
        m_Picture.Draw(hDC, -(nState * cxState), 0, -1, -1, &rcClip);
    }

    CString strText;
    GetWindowText(strText);
    CRect rcText;
    GetClientRect(&rcText);
    rcText.OffsetRect(0, 1);
    CDC* pDC = CDC::FromHandle(hDC);
    int nMode = pDC->SetBkMode(TRANSPARENT);
    COLORREF crOld = pDC->SetTextColor(nState == 3 ? ::GetSysColor(COLOR_GRAYTEXT) : m_crText);
    CFont* pOld = pDC->SelectObject(GetFont() != NULL ? GetFont() : CSkinAttribute::GetDefaultFont());
    pDC->DrawText(strText, &rcText, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
    pDC->SelectObject(pOld);
    pDC->SetTextColor(crOld);
    pDC->SetBkMode(nMode);
}
