#include "SkinButton.h"
#include "SkinAttribute.h"

IMPLEMENT_DYNAMIC(CSkinButton, CButton)

BEGIN_MESSAGE_MAP(CSkinButton, CButton)
    ON_WM_CREATE()
    ON_WM_ERASEBKGND()
    ON_WM_MOUSEMOVE()
    ON_WM_MOUSELEAVE()
    ON_CONTROL_REFLECT_EX(BN_CLICKED, OnClicked)
END_MESSAGE_MAP()

namespace
{
bool IsCheckType(UINT nType)
{
    return nType == BS_CHECKBOX || nType == BS_AUTOCHECKBOX || nType == BS_RADIOBUTTON || nType == BS_AUTORADIOBUTTON ||
           nType == BS_3STATE || nType == BS_AUTO3STATE;
}
} // namespace

CSkinButton::CSkinButton()
    : m_bExpandImage(false), m_bHover(FALSE), m_bSkinned(FALSE), m_bCreating(FALSE), m_nOrgType(BS_PUSHBUTTON),
      m_nCheck(BST_UNCHECKED), m_crText(CSkinAttribute::m_crText)
{}

CSkinButton::~CSkinButton() {}

BOOL CSkinButton::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, int x, int y,
                           int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam)
{
    m_bCreating = TRUE;
    BOOL bOk = CButton::CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, x, y, nWidth, nHeight, hWndParent,
                                 nIDorHMenu, lpParam);
    m_bCreating = FALSE;
    return bOk;
}

BOOL CSkinButton::SetButtonImage(LPCTSTR pszFileName, bool bExpandImage)
{
    m_ImageButton.SetLoadInfo(pszFileName);
    m_bExpandImage = bExpandImage;
    ApplyButtonImage();
    return !m_ImageButton.IsNull();
}

BOOL CSkinButton::SetButtonImage(UINT nIDResource, HINSTANCE hInstance, bool bExpandImage)
{
    m_ImageButton.SetLoadInfo(nIDResource, hInstance);
    m_bExpandImage = bExpandImage;
    ApplyButtonImage();
    return !m_ImageButton.IsNull();
}

void CSkinButton::SetTextColor(COLORREF crText, BOOL bRedraw)
{
    m_crText = crText;
    if (bRedraw && GetSafeHwnd() != NULL)
        Invalidate(FALSE);
}

void CSkinButton::ApplyButtonImage()
{
    if (GetSafeHwnd() == NULL || m_ImageButton.IsNull())
        return;
    if (!m_bSkinned) {
        UINT nType = GetStyle() & BS_TYPEMASK;
        if (nType != BS_OWNERDRAW) {
            m_nOrgType = nType;
            m_nCheck = (int)CButton::DefWindowProc(BM_GETCHECK, 0, 0);
        }
        // BS_OWNERDRAW is a type, not a flag: it replaces the old one.
        ModifyStyle(BS_TYPEMASK, BS_OWNERDRAW);
        m_bSkinned = TRUE;
    }
    if (!m_bExpandImage)
        SetWindowPos(NULL, 0, 0, m_ImageButton.GetWidth() / 4, m_ImageButton.GetHeight(),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Invalidate(FALSE);
}

void CSkinButton::PreSubclassWindow()
{
    CButton::PreSubclassWindow();
    if (!m_bCreating) {
        SetFont(CSkinAttribute::GetDefaultFont(), FALSE);
        ApplyButtonImage();
    }
}

int CSkinButton::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CButton::OnCreate(lpCreateStruct) == -1)
        return -1;
    SetFont(CSkinAttribute::GetDefaultFont(), FALSE);
    ApplyButtonImage();
    return 0;
}

BOOL CSkinButton::GetButtonChecked()
{
    return m_nCheck == BST_CHECKED;
}

LRESULT CSkinButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_bSkinned && IsCheckType(m_nOrgType)) {
        if (message == BM_GETCHECK)
            return m_nCheck;
        if (message == BM_SETCHECK) {
            m_nCheck = (int)wParam;
            Invalidate(FALSE);
            return 0;
        }
    }
    return CButton::WindowProc(message, wParam, lParam);
}

BOOL CSkinButton::OnClicked()
{
    // An owner-drawn button no longer checks itself.
    if (m_bSkinned) {
        if (m_nOrgType == BS_AUTOCHECKBOX)
            m_nCheck = m_nCheck == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED;
        else if (m_nOrgType == BS_AUTO3STATE)
            m_nCheck = (m_nCheck + 1) % 3;
        else if (m_nOrgType == BS_AUTORADIOBUTTON)
            m_nCheck = BST_CHECKED;
        if (IsCheckType(m_nOrgType))
            Invalidate(FALSE);
    }
    return FALSE; // the parent hears the click as well
}

BOOL CSkinButton::OnEraseBkgnd(CDC* pDC)
{
    if (m_bSkinned)
        return TRUE;
    return CButton::OnEraseBkgnd(pDC);
}

void CSkinButton::OnMouseMove(UINT nFlags, CPoint point)
{
    if (!m_bHover) {
        m_bHover = TRUE;
        TRACKMOUSEEVENT tme = {sizeof(tme), TME_LEAVE, m_hWnd, HOVER_DEFAULT};
        ::TrackMouseEvent(&tme);
        if (m_bSkinned)
            Invalidate(FALSE);
    }
    CButton::OnMouseMove(nFlags, point);
}

void CSkinButton::OnMouseLeave()
{
    m_bHover = FALSE;
    if (m_bSkinned)
        Invalidate(FALSE);
    CButton::OnMouseLeave();
}

int CSkinButton::GetDrawState(UINT nItemState)
{
    if (nItemState & ODS_DISABLED)
        return 3;
    if ((nItemState & ODS_SELECTED) || GetButtonChecked())
        return 2;
    return m_bHover ? 1 : 0;
}

void CSkinButton::DrawParentBackground(CDC* pDC)
{
    CWnd* pParent = GetParent();
    if (pParent == NULL)
        return;
    CRect rc;
    GetWindowRect(&rc);
    pParent->ScreenToClient(&rc);
    int nSaved = pDC->SaveDC();
    pDC->OffsetViewportOrg(-rc.left, -rc.top);
    pParent->SendMessage(WM_PRINTCLIENT, (WPARAM)pDC->GetSafeHdc(), PRF_CLIENT);
    pDC->RestoreDC(nSaved);
}

void CSkinButton::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    CDC* pDC = CDC::FromHandle(lpDrawItemStruct->hDC);
    CRect rcItem(lpDrawItemStruct->rcItem);
    int nState = GetDrawState(lpDrawItemStruct->itemState);
    DrawButtonFace(pDC, rcItem, nState);

    CString strText;
    GetWindowText(strText);
    if (!strText.IsEmpty()) {
        int nMode = pDC->SetBkMode(TRANSPARENT);
        COLORREF crOld = pDC->SetTextColor(nState == 3 ? CSkinAttribute::m_crGrayText : m_crText);
        CFont* pOldFont = pDC->SelectObject(GetFont() != NULL ? GetFont() : CSkinAttribute::GetDefaultFont());
        CRect rcText(rcItem);
        if (nState == 2)
            rcText.OffsetRect(1, 1);
        pDC->DrawText(strText, &rcText, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
        pDC->SelectObject(pOldFont);
        pDC->SetTextColor(crOld);
        pDC->SetBkMode(nMode);
    }
}

void CSkinButton::DrawButtonFace(CDC* pDC, const CRect& rcItem, int nState)
{
    if (m_ImageButton.IsNull()) {
        CRect rc(rcItem);
        pDC->DrawFrameControl(&rc, DFC_BUTTON,
                              DFCS_BUTTONPUSH | (nState == 2 ? DFCS_PUSHED : 0) | (nState == 3 ? DFCS_INACTIVE : 0));
        return;
    }
    if (m_ImageButton.HasAlpha())
        DrawParentBackground(pDC);
    const int cxCell = m_ImageButton.GetWidth() / 4, cyCell = m_ImageButton.GetHeight();
    if (m_bExpandImage)
        m_ImageButton.StretchBlt(pDC->GetSafeHdc(), rcItem.left, rcItem.top, rcItem.Width(), rcItem.Height(),
                                 nState * cxCell, 0, cxCell, cyCell);
    else
        m_ImageButton.BitBlt(pDC->GetSafeHdc(), rcItem.left, rcItem.top, cxCell, cyCell, nState * cxCell, 0);
}
