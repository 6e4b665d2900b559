#include "LogonControls.h"

#include <SkinAttribute.h>
#include <XTVBufferDC.h>

#include "GlobalUnits.h"

namespace
{
void FrameClient(CWnd* pWnd, CDC* pDC)
{
    CRect rect;
    pWnd->GetClientRect(&rect);
    rect.DeflateRect(1, 1);
    CBrush brush(LOGON_FRAME_COLOR);
    pDC->FrameRect(&rect, &brush);
}

// The control has painted itself; draw our part over it, into the printing
// DC when the window is being printed.
template <class TControl> LRESULT PaintOver(TControl* pControl, UINT message, WPARAM wParam, LRESULT lResult)
{
    if (message == WM_PRINTCLIENT && wParam != 0) {
        pControl->DrawSkin(CDC::FromHandle((HDC)wParam));
    } else {
        CClientDC dc(pControl);
        pControl->DrawSkin(&dc);
    }
    return lResult;
}
} // namespace

// ------------------------------------------------------------------ CLogonCombox

CLogonCombox::CLogonCombox() : m_nState(STATE_NORMAL) {}

void CLogonCombox::LoadImage()
{
    CString strPath;
    strPath.Format("%sCommon\\button\\arrow.bmp", g_GlobalUnits.GetResourceDirectory());
    m_ImageArrow.SetLoadInfo(strPath, true);
}

CRect CLogonCombox::GetArrowRect() const
{
    CRect rect;
    GetClientRect(&rect);
    return CRect(rect.right - 20, rect.top + 2, rect.right - 2, rect.bottom - 2);
}

void CLogonCombox::SetState(int nState, bool bArrowOnly)
{
    m_nState = nState;
    if (bArrowOnly) {
        CRect rcArrow = GetArrowRect();
        InvalidateRect(&rcArrow, FALSE);
    } else {
        Invalidate(FALSE);
    }
}

void CLogonCombox::DrawSkin(CDC* pDC)
{
    FrameClient(this, pDC);
    if (m_ImageArrow.IsNull())
        return;
    CRect rect;
    GetClientRect(&rect);
    const int nCell = m_ImageArrow.GetWidth() / ARROW_CELLS;
    m_ImageArrow.BitBlt(pDC->GetSafeHdc(), rect.right - nCell - 1, rect.top + 1, nCell, rect.Height(), nCell * m_nState,
                        0);
}

LRESULT CLogonCombox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_MOUSEMOVE: {
        CPoint point((short)LOWORD(lParam), (short)HIWORD(lParam));
        if (GetArrowRect().PtInRect(point))
            SetState(STATE_HOVER, true);
        TRACKMOUSEEVENT track = {sizeof(track), TME_HOVER | TME_LEAVE, m_hWnd, 1};
        ::TrackMouseEvent(&track);
        break;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP: SetState(STATE_PRESSED, false); break;
    case WM_MOUSELEAVE: SetState(STATE_NORMAL, true); break;
    case WM_PAINT:
    case WM_PRINTCLIENT: return PaintOver(this, message, wParam, CComboBox::WindowProc(message, wParam, lParam));
    default: break;
    }
    return CComboBox::WindowProc(message, wParam, lParam);
}

// ------------------------------------------------------------------ CLongEdit

void CLongEdit::DrawSkin(CDC* pDC)
{
    FrameClient(this, pDC);
}

LRESULT CLongEdit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_NCPAINT: return 0; // no system border
    case WM_PAINT:
    case WM_PRINTCLIENT: return PaintOver(this, message, wParam, CEdit::WindowProc(message, wParam, lParam));
    default: return CEdit::WindowProc(message, wParam, lParam);
    }
}

// ------------------------------------------------------------------ CLogonGroup

BEGIN_MESSAGE_MAP(CLogonGroup, CStatic)
    ON_WM_PAINT()
END_MESSAGE_MAP()

void CLogonGroup::OnPaint()
{
    CPaintDC dc(this);
    DrawSkin(&dc);
}

void CLogonGroup::DrawSkin(CDC* pDC)
{
    CRect rect;
    GetClientRect(&rect);
    rect.DeflateRect(1, 1);
    CBrush brush(LOGON_FRAME_COLOR);
    pDC->FrameRect(&rect, &brush);

    m_strText = GetCaption();
    pDC->SetBkColor(RGB(0xE8, 0xF6, 0xFF));
    CWnd* pParent = GetParent();
    CFont* pFont = pParent != NULL ? pParent->GetFont() : NULL;
    CFont* pOldFont = pFont != NULL ? pDC->SelectObject(pFont) : NULL;
    CRect rcText(rect.left + 10, rect.top - 5, rect.left + 210, rect.top + 10);
    pDC->DrawText(m_strText, &rcText, DT_SINGLELINE | DT_VCENTER | DT_WORD_ELLIPSIS);
    if (pOldFont != NULL)
        pDC->SelectObject(pOldFont);
}

// ------------------------------------------------------------------ CLogonLink

LRESULT CLogonLink::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_LBUTTONDOWN) {
        CWnd* pParent = GetParent();
        if (pParent != NULL)
            pParent->PostMessage(WM_LOGON_LINK, (WPARAM)GetDlgCtrlID(), 0);
    }
    return CSkinHyperLink::WindowProc(message, wParam, lParam);
}

// ------------------------------------------------------------------ CTabCtrlLogon

BEGIN_MESSAGE_MAP(CTabCtrlLogon, CTabCtrl)
    ON_WM_CREATE()
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
END_MESSAGE_MAP()

void CTabCtrlLogon::LoadImages()
{
    static const char* const kNames[IMAGE_COUNT] = {"tabl.bmp",  "tabm.bmp",  "tabr.bmp",   "tabul.bmp",
                                                    "tabum.bmp", "tabur.bmp", "tabback.bmp"};
    for (int i = 0; i < IMAGE_COUNT; i++) {
        CString strPath;
        strPath.Format("%slogon\\%s", g_GlobalUnits.GetResourceDirectory(), kNames[i]);
        m_Images[i].SetLoadInfo(strPath, true);
    }
}

int CTabCtrlLogon::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    return CTabCtrl::OnCreate(lpCreateStruct);
}

BOOL CTabCtrlLogon::OnEraseBkgnd(CDC*)
{
    return TRUE; // the painting covers everything
}

void CTabCtrlLogon::OnPaint()
{
    CPaintDC dc(this);
    CRect rcClient;
    GetClientRect(&rcClient);
    CXTVBufferDC buffer(&dc, rcClient);
    DrawTabs(&buffer, rcClient);
}

void CTabCtrlLogon::DrawTabs(CDC* pDC, const CRect& rcClient)
{
    pDC->FillSolidRect(&rcClient, BACK_COLOR);
    pDC->FillSolidRect(rcClient.left, rcClient.top, rcClient.Width(), TOP_BAND, TOP_COLOR);
    pDC->SetBkMode(TRANSPARENT);
    CFont* pOldFont = pDC->SelectObject(CSkinAttribute::GetDefaultFont());
    CBrush brush(LOGON_FRAME_COLOR);
    pDC->FrameRect(&rcClient, &brush);

    const int nCount = GetItemCount();
    const int nSelected = GetCurSel();
    int nRowBottom = rcClient.top;
    HDC hDC = pDC->GetSafeHdc();
    for (int i = 0; i < nCount; i++) {
        CRect rcItem;
        if (!GetItemRect(i, &rcItem))
            continue;
        if (rcItem.Height() > ITEM_HEIGHT)
            rcItem.bottom = rcItem.top + ITEM_HEIGHT;
        if (rcItem.bottom > nRowBottom)
            nRowBottom = rcItem.bottom;
        const int nBase = i == nSelected ? IMAGE_SEL_LEFT : IMAGE_LEFT;
        CSkinImage& left = m_Images[nBase];
        CSkinImage& mid = m_Images[nBase + 1];
        CSkinImage& right = m_Images[nBase + 2];
        const int nLeft = left.IsNull() ? 0 : left.GetWidth();
        const int nRight = right.IsNull() ? 0 : right.GetWidth();
        const int nHeight = rcItem.Height();
        if (!left.IsNull())
            left.StretchBlt(hDC, rcItem.left, rcItem.top, nLeft, nHeight, 0, 0, nLeft, left.GetHeight());
        if (!mid.IsNull() && rcItem.Width() > nLeft + nRight)
            mid.StretchBlt(hDC, rcItem.left + nLeft, rcItem.top, rcItem.Width() - nLeft - nRight, nHeight, 0, 0,
                           mid.GetWidth(), mid.GetHeight());
        if (!right.IsNull())
            right.StretchBlt(hDC, rcItem.right - nRight, rcItem.top, nRight, nHeight, 0, 0, nRight, right.GetHeight());
    }

    CPen pen(PS_SOLID, 1, LOGON_FRAME_COLOR);
    CPen* pOldPen = pDC->SelectObject(&pen);
    pDC->MoveTo(rcClient.left, nRowBottom);
    pDC->LineTo(rcClient.right, nRowBottom);
    pDC->SelectObject(pOldPen);

    for (int i = 0; i < nCount; i++) {
        CRect rcItem;
        if (!GetItemRect(i, &rcItem))
            continue;
        if (rcItem.Height() > ITEM_HEIGHT)
            rcItem.bottom = rcItem.top + ITEM_HEIGHT;
        char szText[64] = "";
        TCITEM item = {};
        item.mask = TCIF_TEXT;
        item.pszText = szText;
        item.cchTextMax = sizeof(szText);
        if (GetItem(i, &item))
            pDC->DrawText(szText, -1, &rcItem, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    }
    if (pOldFont != NULL)
        pDC->SelectObject(pOldFont);
}
