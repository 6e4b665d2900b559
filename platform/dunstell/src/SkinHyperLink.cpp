#include "SkinHyperLink.h"
#include "SkinAttribute.h"

#include <shellapi.h>

IMPLEMENT_DYNAMIC(CSkinHyperLink, CStatic)

BEGIN_MESSAGE_MAP(CSkinHyperLink, CStatic)
    ON_WM_CREATE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_SETCURSOR()
    ON_WM_MOUSEMOVE()
    ON_WM_MOUSELEAVE()
    ON_CONTROL_REFLECT_EX(STN_CLICKED, OnClicked)
END_MESSAGE_MAP()

CSkinHyperLink::CSkinHyperLink()
    : m_bVisited(FALSE), m_crBack(CLR_INVALID), m_crNormal(CSkinAttribute::m_crLink),
      m_crHover(CSkinAttribute::m_crLinkHover), m_bHover(FALSE)
{}

CSkinHyperLink::~CSkinHyperLink() {}

void CSkinHyperLink::SetBackGroundColor(COLORREF crBack)
{
    m_crBack = crBack;
    if (GetSafeHwnd() != NULL)
        Invalidate(TRUE);
}

void CSkinHyperLink::SetLinkColor(COLORREF crNormal, COLORREF crHover)
{
    m_crNormal = crNormal;
    m_crHover = crHover;
    if (GetSafeHwnd() != NULL)
        Invalidate(TRUE);
}

void CSkinHyperLink::PreSubclassWindow()
{
    CStatic::PreSubclassWindow();
    // Clicks are reported only with SS_NOTIFY.
    ::SetWindowLongPtr(m_hWnd, GWL_STYLE, ::GetWindowLongPtr(m_hWnd, GWL_STYLE) | SS_NOTIFY);
}

int CSkinHyperLink::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CStatic::OnCreate(lpCreateStruct) == -1)
        return -1;
    ModifyStyle(0, SS_NOTIFY);
    return 0;
}

BOOL CSkinHyperLink::OnEraseBkgnd(CDC* pDC)
{
    return TRUE;
}

void CSkinHyperLink::OnPaint()
{
    CPaintDC dc(this);
    CRect rcClient;
    GetClientRect(&rcClient);
    if (m_crBack != CLR_INVALID)
        dc.FillSolidRect(&rcClient, m_crBack);

    if (m_fontUnderline.GetSafeHandle() == NULL) {
        CFont* pFont = GetFont() != NULL ? GetFont() : CSkinAttribute::GetDefaultFont();
        LOGFONT lf;
        if (pFont->GetLogFont(&lf) != 0) {
            lf.lfUnderline = TRUE;
            m_fontUnderline.CreateFontIndirect(&lf);
        }
    }
    CString strText;
    GetWindowText(strText);
    const DWORD dwStyle = GetStyle();
    UINT nFormat = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
    if ((dwStyle & SS_TYPEMASK) == SS_CENTER)
        nFormat |= DT_CENTER;
    else if ((dwStyle & SS_TYPEMASK) == SS_RIGHT)
        nFormat |= DT_RIGHT;
    CFont* pOld =
        dc.SelectObject(m_fontUnderline.GetSafeHandle() != NULL ? &m_fontUnderline : CSkinAttribute::GetDefaultFont());
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(m_bHover ? m_crHover : m_crNormal);
    dc.DrawText(strText, &rcClient, nFormat);
    dc.SelectObject(pOld);
}

BOOL CSkinHyperLink::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    ::SetCursor(::LoadCursor(NULL, IDC_HAND));
    return TRUE;
}

void CSkinHyperLink::OnMouseMove(UINT nFlags, CPoint point)
{
    if (!m_bHover) {
        m_bHover = TRUE;
        TRACKMOUSEEVENT tme = {sizeof(tme), TME_LEAVE, m_hWnd, HOVER_DEFAULT};
        ::TrackMouseEvent(&tme);
        Invalidate(TRUE);
    }
    CStatic::OnMouseMove(nFlags, point);
}

void CSkinHyperLink::OnMouseLeave()
{
    m_bHover = FALSE;
    Invalidate(TRUE);
    CStatic::OnMouseLeave();
}

BOOL CSkinHyperLink::OnClicked()
{
    if (!m_strUrl.IsEmpty()) {
        ::ShellExecuteA(NULL, "open", m_strUrl, NULL, NULL, SW_SHOWNORMAL);
        m_bVisited = TRUE;
    }
    return FALSE;
}
