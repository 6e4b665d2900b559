#include "SkinTabEx.h"

#include <SkinTabPaintManager.h>

#include "core/GlobalOption.h"

BEGIN_MESSAGE_MAP(CSkinTabEx, CSkinTab)
    ON_WM_CREATE()
    ON_WM_TIMER()
    ON_WM_LBUTTONUP()
    ON_WM_MOUSEMOVE()
    ON_WM_MOUSELEAVE()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CSkinTabEx::CSkinTabEx()
    : m_nBlinkPhase(1), m_nUnread(0), m_bBlinking(0), m_bBadgeHot(0), m_rcBadge(0, 0, 0, 0), m_rcNewsStrip(0, 0, 0, 0)
{}

CSkinTabEx::~CSkinTabEx()
{
    // The window goes first: its last messages still read the pictures.
    if (GetSafeHwnd() != NULL)
        DestroyWindow();
}

CSkinTabItem* CSkinTabEx::InsertItem(int nIndex, LPCTSTR pszCaption, HWND hWnd, int nImage, CSkinTabItem* pItem)
{
    return CSkinTab::InsertItem(nIndex, pszCaption, hWnd, nImage, pItem);
}

bool CSkinTabEx::LoadItemImage(LPCTSTR pszFile, int nWhich)
{
    CPicture& picture = nWhich == 0 ? m_StripLeft : nWhich == 1 ? m_StripMid : m_StripRight;
    return picture.Load(pszFile, PICTURE_TYPE_UNKNOWN);
}

bool CSkinTabEx::LoadBadgeImage(LPCTSTR pszFile)
{
    return m_BadgeIcon.Load(pszFile, PICTURE_TYPE_UNKNOWN);
}

void CSkinTabEx::SetUnreadMail(int nCount, bool bBlink)
{
    m_bBlinking = bBlink ? 1 : 0;
    m_nUnread = nCount;
    if (GetSafeHwnd() == NULL)
        return;
    if (bBlink)
        SetTimer(kTimerBlink, kBlinkInterval, NULL);
    else
        KillTimer(kTimerBlink);
    // A steady badge gets no timer ticks: show the new count now.
    InvalidateBadge();
}

CString CSkinTabEx::GetBadgeText() const
{
    CString strText;
    strText.Format("%d封未读", m_nUnread);
    return strText;
}

int CSkinTabEx::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CSkinTab::OnCreate(lpCreateStruct) == -1)
        return -1;
    // The strip goes on without its page when the pane cannot be made.
    if (m_NewsPane.Create(NULL, NULL, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, CRect(0, 0, 0, 0), this, kPaneId)) {
        m_NewsPane.Navigate(g_GlobalOption.GetPlazaCycleUrl());
        m_NewsPane.EnableBrowser(true);
    }
    return 0;
}

int CSkinTabEx::GetBadgeFrame() const
{
    return m_bBlinking ? m_nBlinkPhase : 1;
}

CFont* CSkinTabEx::GetBadgeFont()
{
    CSkinTabPaintManager* pPainter = GetPaintManager();
    if (pPainter == NULL)
        return NULL;
    return m_bBlinking ? pPainter->GetBoldFont(FALSE) : pPainter->GetFont(FALSE);
}

CRect CSkinTabEx::NewsPaneRect(const CRect& rcStrip)
{
    return CRect(rcStrip.left + 28, rcStrip.top + 1, rcStrip.right + 11, rcStrip.bottom);
}

void CSkinTabEx::DrawSkinView(CDC* pDC, int cx, int cy)
{
    CSkinTab::DrawSkinView(pDC, cx, cy);
    DrawBadge(pDC, cx);
    DrawNewsStrip(pDC);
}

void CSkinTabEx::DrawBadge(CDC* pDC, int cx)
{
    // The badge font, underlined exactly while the pointer is over it.
    CFont font;
    CFont* pBase = GetBadgeFont();
    LOGFONT lf;
    if (pBase != NULL && pBase->GetSafeHandle() != NULL && pBase->GetLogFont(&lf)) {
        lf.lfUnderline = m_bBadgeHot ? TRUE : FALSE;
        font.CreateFontIndirect(&lf);
    }
    HGDIOBJ hOldFont = font.GetSafeHandle() != NULL ? ::SelectObject(pDC->GetSafeHdc(), font.GetSafeHandle()) : NULL;
    COLORREF crOld = pDC->SetTextColor(RGB(255, 255, 255));
    int nOldMode = pDC->SetBkMode(TRANSPARENT);

    m_rcBadge.SetRect(cx - 80, 10, cx - 10, 30);
    CRect rcText(m_rcBadge);
    rcText.OffsetRect(0, 1);
    pDC->DrawText(GetBadgeText(), &rcText, DT_SINGLELINE);

    pDC->SetBkMode(nOldMode);
    pDC->SetTextColor(crOld);
    if (hOldFont != NULL)
        ::SelectObject(pDC->GetSafeHdc(), hOldFont);

    if (!m_BadgeIcon.IsValid())
        return;
    // Two frames side by side: one shows, clipped to its half.
    const int nHalf = (int)m_BadgeIcon.GetWidth() / 2;
    const int x = rcText.right - 5 - nHalf, y = rcText.top - 2;
    CRect rcClip(x, y, x + nHalf, y + (int)m_BadgeIcon.GetHeight());
    m_BadgeIcon.Draw(pDC->GetSafeHdc(), x - GetBadgeFrame() * nHalf, y, -1, -1, &rcClip);
}

void CSkinTabEx::DrawNewsStrip(CDC* pDC)
{
    if (!m_StripLeft.IsValid() || !m_StripMid.IsValid() || !m_StripRight.IsValid())
        return;
    const int wLeft = (int)m_StripLeft.GetWidth(), wRight = (int)m_StripRight.GetWidth();
    CRect rcStrip(kStripLeft, 0, m_rcBadge.left - 50, (int)m_StripLeft.GetHeight());
    // The first two tabs fit left of the strip; later ones push it right.
    for (int i = 2; i < GetItemCount(); ++i)
        rcStrip.left += GetItem(i)->GetRect().Width();
    // With many tabs nothing is left for the strip: no strip and no pane
    // move rather than negative sizes.
    if (rcStrip.Width() < wLeft + wRight)
        return;

    if (rcStrip != m_rcNewsStrip) {
        m_rcNewsStrip = rcStrip;
        if (::IsWindow(m_NewsPane.GetSafeHwnd()))
            m_NewsPane.MoveWindow(NewsPaneRect(rcStrip), TRUE);
    }
    HDC hDC = pDC->GetSafeHdc();
    const int h = rcStrip.Height();
    const int wMid = rcStrip.Width() - wLeft - wRight;
    m_StripLeft.Draw(hDC, rcStrip.left, rcStrip.top);
    m_StripMid.Draw(hDC, rcStrip.left + wLeft, rcStrip.top, wMid, h);
    m_StripRight.Draw(hDC, rcStrip.left + wLeft + wMid, rcStrip.top);
}

void CSkinTabEx::SetHandCursor()
{
    HCURSOR hCursor = ::LoadCursor(AfxGetResourceHandle(), MAKEINTRESOURCE(kCursorHand));
    if (hCursor != NULL)
        ::SetCursor(hCursor);
}

void CSkinTabEx::InvalidateBadge()
{
    if (GetSafeHwnd() != NULL)
        InvalidateRect(&m_rcBadge, TRUE);
}

void CSkinTabEx::OnTimer(UINT_PTR nIDEvent)
{
    CSkinTab::OnTimer(nIDEvent);
    if (nIDEvent != kTimerBlink)
        return;
    m_nBlinkPhase = (m_nBlinkPhase + 1) % 2;
    InvalidateBadge();
}

void CSkinTabEx::OnLButtonUp(UINT nFlags, CPoint point)
{
    CSkinTab::OnLButtonUp(nFlags, point);
    if (!m_rcBadge.PtInRect(point))
        return;
    SetHandCursor();
    if (CWnd* pParent = GetParent())
        pParent->PostMessage(WM_UNREAD_MAIL_CLICKED, 0, 0);
    // The timer runs on until SetUnreadMail stops it; it only repaints now.
    m_nUnread = 0;
    m_bBlinking = 0;
    InvalidateBadge();
}

void CSkinTabEx::OnMouseMove(UINT nFlags, CPoint point)
{
    CSkinTab::OnMouseMove(nFlags, point);
    if (m_rcBadge.PtInRect(point)) {
        TRACKMOUSEEVENT tme = {sizeof(tme), TME_LEAVE, m_hWnd, HOVER_DEFAULT};
        ::TrackMouseEvent(&tme);
        SetHandCursor();
        m_bBadgeHot = 1;
        InvalidateBadge();
    } else if (m_bBadgeHot) {
        m_bBadgeHot = 0;
        InvalidateBadge();
    }
}

void CSkinTabEx::OnMouseLeave()
{
    // The base resets the tabs' hover (the point (-1, -1)).
    CSkinTab::OnMouseLeave();
    if (m_bBadgeHot) {
        m_bBadgeHot = 0;
        InvalidateBadge();
    }
}

void CSkinTabEx::OnDestroy()
{
    KillTimer(kTimerBlink);
    CSkinTab::OnDestroy();
}
