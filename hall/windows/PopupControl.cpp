#include "PopupControl.h"

#include "res/resource.h"
#include "toolkit/TabbedText.h"

#include <shellapi.h>

#include <vector>

namespace
{

PopupScreenFn& ScreenFn()
{
    static PopupScreenFn s_fn;
    return s_fn;
}

// Transparent: magenta up to 0x10 above it in each channel (capped).
bool IsKeyColour(BYTE r, BYTE g, BYTE b)
{
    return r == 255 && g <= 0x10 && b == 255;
}

// The rectangles joined into a region in batches.
HRGN RegionFromRects(const std::vector<RECT>& rects)
{
    HRGN hRgn = ::CreateRectRgn(0, 0, 0, 0);
    const size_t kBatch = 2000;
    for (size_t i = 0; i < rects.size(); i += kBatch) {
        size_t n = rects.size() - i < kBatch ? rects.size() - i : kBatch;
        std::vector<BYTE> data(sizeof(RGNDATAHEADER) + n * sizeof(RECT));
        RGNDATA* pData = (RGNDATA*)data.data();
        pData->rdh.dwSize = sizeof(RGNDATAHEADER);
        pData->rdh.iType = RDH_RECTANGLES;
        pData->rdh.nCount = (DWORD)n;
        pData->rdh.nRgnSize = (DWORD)(n * sizeof(RECT));
        ::SetRectEmpty(&pData->rdh.rcBound);
        memcpy(pData->Buffer, &rects[i], n * sizeof(RECT));
        HRGN hPart = ::ExtCreateRegion(NULL, (DWORD)data.size(), pData);
        if (hPart != NULL) {
            ::CombineRgn(hRgn, hRgn, hPart, RGN_OR);
            ::DeleteObject(hPart);
        }
    }
    return hRgn;
}

int StepToward(int nValue, int nTarget, int nSteps)
{
    if (nValue == nTarget)
        return nValue;
    if (nSteps <= 0)
        return nTarget;
    int nDelta = (nTarget - nValue) / nSteps;
    if (nDelta == 0)
        nDelta = nTarget > nValue ? 1 : -1;
    return nValue + nDelta;
}

} // namespace

PopupScreenFn SetPopupScreen(PopupScreenFn fn)
{
    PopupScreenFn previous = ScreenFn();
    ScreenFn() = std::move(fn);
    return previous;
}

BOOL GetPopupScreen(RECT* prcTaskbar, RECT* prcWork)
{
    if (ScreenFn())
        return ScreenFn()(prcTaskbar, prcWork);
    ::SystemParametersInfo(SPI_GETWORKAREA, 0, prcWork, 0);
    APPBARDATA abd = {};
    abd.cbSize = sizeof(abd);
    if (!::SHAppBarMessage(ABM_GETTASKBARPOS, &abd))
        return FALSE;
    *prcTaskbar = abd.rc;
    return TRUE;
}

// ------------------------------------------------------------------ CDPopHtmlDialogEx

CDPopHtmlDialogEx::CDPopHtmlDialogEx() : CDHtmlDialog(IDD_HTML_PAGE), m_bLoaded(0) {}

CDPopHtmlDialogEx::~CDPopHtmlDialogEx()
{
    if (GetSafeHwnd() != NULL)
        DestroyWindow();
}

BOOL CDPopHtmlDialogEx::OnInitDialog()
{
    SetHostFlags(DOCHOSTUIFLAG_DIALOG | DOCHOSTUIFLAG_NO3DBORDER);
    CDHtmlDialog::OnInitDialog();
    if (m_pBrowserApp != NULL)
        m_pBrowserApp->put_Silent(VARIANT_TRUE);
    return TRUE;
}

void CDPopHtmlDialogEx::OnNavigateComplete(LPDISPATCH pDisp, LPCTSTR szUrl)
{
    if (m_strURL == szUrl)
        m_bLoaded = 1;
    CDHtmlDialog::OnNavigateComplete(pDisp, szUrl);
}

void CDPopHtmlDialogEx::OnDocumentComplete(LPDISPATCH pDisp, LPCTSTR szUrl)
{
    if (m_strURL == szUrl)
        m_bLoaded = 1;
    CDHtmlDialog::OnDocumentComplete(pDisp, szUrl);
}

HRESULT CDPopHtmlDialogEx::ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*)
{
    return S_OK;
}

HRESULT CDPopHtmlDialogEx::TranslateAccelerator(LPMSG lpMsg, const GUID* pguidCmdGroup, DWORD nCmdID)
{
    if (lpMsg != NULL && lpMsg->message == WM_KEYDOWN && lpMsg->wParam == VK_F5)
        return S_OK;
    return CDHtmlDialog::TranslateAccelerator(lpMsg, pguidCmdGroup, nCmdID);
}

// ------------------------------------------------------------------ CVKPopupItem

CVKPopupItem::CVKPopupItem(COLORREF crExtra1, COLORREF crExtra2)
    : m_nID(0), m_bButton(FALSE), m_bLink(TRUE), m_bBold(FALSE), m_bPlainText(TRUE), m_bWeb(FALSE), m_bAlignDraw(FALSE),
      m_nAlign(0), m_rcItem(0, 0, 0, 0), m_crNormal((COLORREF)-1), m_crHover((COLORREF)-1), m_crExtra1(crExtra1),
      m_crExtra2(crExtra2), m_pOwner(NULL), m_pPicture(NULL)
{
    m_Font.CreateFont(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                      CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, 0x20, "宋体");
}

CVKPopupItem::~CVKPopupItem() {}

CFont* CVKPopupItem::GetFont()
{
    return &m_Font;
}

void CVKPopupItem::Repaint()
{
    if (m_pOwner != NULL && m_pOwner->GetSafeHwnd() != NULL)
        m_pOwner->Invalidate(FALSE);
}

void CVKPopupItem::SetPicture(CPicture* pPicture)
{
    if (pPicture == NULL || !pPicture->IsValid())
        return;
    m_pPicture = pPicture;
    Layout();
}

void CVKPopupItem::SetText(LPCTSTR pszText)
{
    m_strText = pszText != NULL ? pszText : "";
    Layout();
}

void CVKPopupItem::SetAlign(UINT nAlign, BOOL bAlignDraw)
{
    m_nAlign = nAlign;
    m_bAlignDraw = bAlignDraw;
    Layout();
    Repaint();
}

void CVKPopupItem::SetColors(COLORREF crNormal, COLORREF crHover)
{
    m_crNormal = crNormal;
    m_crHover = crHover;
    Repaint();
}

void CVKPopupItem::SetBold(BOOL bBold)
{
    m_bBold = bBold;
    Layout();
    Repaint();
}

CSize CVKPopupItem::MeasureText(int cxMax)
{
    HDC hDC = ::CreateCompatibleDC(NULL);
    LOGFONT lf;
    m_Font.GetLogFont(&lf);
    lf.lfWeight = m_bBold ? FW_BOLD : FW_NORMAL;
    HFONT hFont = ::CreateFontIndirect(&lf);
    HGDIOBJ hOld = ::SelectObject(hDC, hFont);
    CRect rc(0, 0, cxMax > 0 ? cxMax : 1, 0);
    CSize size;
    if (m_bAlignDraw) {
        ::DrawText(hDC, m_strText, -1, &rc, DT_CALCRECT | (m_nAlign & DT_WORDBREAK) | DT_NOPREFIX);
        size = CSize(rc.Width(), rc.Height());
    } else {
        size.cx = rc.Width();
        size.cy = MeasureTabbedText(hDC, rc.Width(), 16, m_strText);
    }
    ::SelectObject(hDC, hOld);
    ::DeleteObject(hFont);
    ::DeleteDC(hDC);
    return size;
}

void CVKPopupItem::Layout()
{
    if (m_pPicture != NULL) {
        m_rcItem.right = m_rcItem.left + (int)m_pPicture->GetWidth();
        m_rcItem.bottom = m_rcItem.top + (int)m_pPicture->GetHeight();
        return;
    }
    if (m_bWeb)
        return;
    CSize size = MeasureText(m_rcItem.Width());
    if (!(m_nAlign & DT_WORDBREAK) && m_bAlignDraw && size.cx < m_rcItem.Width()) {
        // Narrowed to the text, keeping the edge or centre it is aligned to.
        if (m_nAlign & DT_RIGHT)
            m_rcItem.left = m_rcItem.right - size.cx;
        else if (m_nAlign & DT_CENTER)
            m_rcItem.left += (m_rcItem.Width() - size.cx) / 2;
        m_rcItem.right = m_rcItem.left + size.cx;
    }
    m_rcItem.bottom = m_rcItem.top + size.cy;
}

void CVKPopupItem::Draw(CDC* pDC)
{
    if (m_bWeb)
        return;
    HDC hDC = pDC->GetSafeHdc();
    const bool bHot = m_pOwner != NULL && m_pOwner->GetHotItem() == this;
    const bool bPressed = m_pOwner != NULL && m_pOwner->GetPressedItem() == this;
    if (m_pPicture != NULL && m_pPicture->IsValid()) {
        if (m_bButton) {
            const int cxFrame = (int)m_pPicture->GetWidth() / 4;
            const int nFrame = bPressed ? 2 : bHot ? 1 : 0;
            CRect rcClip(m_rcItem.left, m_rcItem.top, m_rcItem.left + cxFrame, m_rcItem.bottom);
            m_pPicture->Draw(hDC, m_rcItem.left - nFrame * cxFrame, m_rcItem.top, -1, -1, &rcClip);
        } else {
            m_pPicture->Draw(hDC, m_rcItem.left, m_rcItem.top, m_rcItem.Width(), m_rcItem.Height());
        }
        return;
    }
    if (m_strText.IsEmpty())
        return;
    LOGFONT lf;
    m_Font.GetLogFont(&lf);
    COLORREF crText = m_crNormal;
    if (m_bLink) {
        lf.lfWeight = m_bBold ? FW_BOLD : FW_NORMAL;
        lf.lfUnderline = (bHot || bPressed) ? TRUE : FALSE;
        if (bHot && m_crHover != (COLORREF)-1)
            crText = m_crHover;
    } else if (m_bPlainText) {
        lf.lfWeight = m_bBold ? FW_BOLD : FW_NORMAL;
        lf.lfUnderline = FALSE;
    }
    HFONT hFont = ::CreateFontIndirect(&lf);
    HGDIOBJ hOld = ::SelectObject(hDC, hFont);
    COLORREF crOld = ::SetTextColor(hDC, crText != (COLORREF)-1 ? crText : RGB(0, 0, 0));
    int nOldMode = ::SetBkMode(hDC, TRANSPARENT);
    if (m_bAlignDraw) {
        CRect rc(m_rcItem);
        ::DrawText(hDC, m_strText, -1, &rc, m_nAlign | DT_NOPREFIX);
    } else {
        DrawTabbedTextLines(hDC, m_rcItem.left, m_rcItem.top, m_rcItem.right, 16, m_strText);
    }
    ::SetBkMode(hDC, nOldMode);
    ::SetTextColor(hDC, crOld);
    ::SelectObject(hDC, hOld);
    ::DeleteObject(hFont);
}

// ------------------------------------------------------------------ CVKPopupControl

BEGIN_MESSAGE_MAP(CVKPopupControl, CWnd)
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_CAPTURECHANGED()
    ON_WM_MOUSEMOVE()
    ON_WM_TIMER()
    ON_WM_SETCURSOR()
    ON_WM_MOUSELEAVE()
    ON_WM_MOUSEACTIVATE()
END_MESSAGE_MAP()

CVKPopupControl::CVKPopupControl(BOOL bAutoDelete)
    : m_nKind(0), m_cbPicture(0), m_nNoticeID(-1), m_pHot(NULL), m_pPressed(NULL), m_nAnimation(ANIMATE_NONE),
      m_nState(STATE_CLOSED), m_size(170, 130), m_ptFixed(-1, -1), m_cbOpacity(255), m_nCurOpacity(255),
      m_dwShowTime(5000), m_dwAnimateTime(256), m_dwStep(16), m_nSteps(0), m_bDraggable(FALSE), m_nCornerRule(0),
      m_rcTarget(0, 0, 0, 0), m_nTargetOpacity(255), m_rcCurrent(0, 0, 0, 0), m_nCurrentOpacity(255),
      m_bAutoDelete(bAutoDelete), m_bDragging(FALSE), m_bHasWebItems(FALSE), m_pBackground(NULL), m_hOwner(NULL),
      m_bMouseOver(FALSE)
{
    m_hHand = ::LoadCursor(NULL, IDC_HAND);
}

CVKPopupControl::~CVKPopupControl()
{
    m_bAutoDelete = FALSE;
    if (GetSafeHwnd() != NULL)
        DestroyWindow();
    RemoveAllItems();
}

CVKPopupItem* CVKPopupControl::AddItem(CVKPopupItem* pItem)
{
    pItem->m_pOwner = this;
    m_Items.Add(pItem);
    return pItem;
}

void CVKPopupControl::RemoveAllItems()
{
    for (INT_PTR i = 0; i < m_Items.GetSize(); ++i)
        delete m_Items[i];
    m_Items.RemoveAll();
    m_pHot = m_pPressed = NULL;
}

void CVKPopupControl::PostNcDestroy()
{
    if (m_bAutoDelete)
        delete this;
}

void CVKPopupControl::Notify(UINT nKind, LPARAM lParam)
{
    if (m_hOwner != NULL && ::IsWindow(m_hOwner))
        ::SendMessage(m_hOwner, WM_POPUP_NOTIFY, nKind, lParam);
}

void CVKPopupControl::SetState(int nState)
{
    m_nState = nState;
    Notify(POPUP_NOTIFY_STATE, (LPARAM)this);
}

BOOL CVKPopupControl::Create(CWnd* pParent)
{
    if (GetSafeHwnd() != NULL)
        return TRUE;
    LPCTSTR pszClass = AfxRegisterWndClass(0, ::LoadCursor(NULL, IDC_ARROW));
    // Opacity stays invisible: the window is never layered.
    if (!CreateEx(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, pszClass, "", WS_POPUP, 0, 0, 0, 0,
                  pParent != NULL ? pParent->GetSafeHwnd() : NULL, NULL))
        return FALSE;
    for (INT_PTR i = 0; i < m_Items.GetSize(); ++i) {
        CVKPopupItem* pItem = m_Items[i];
        if (!pItem->m_bWeb)
            continue;
        m_bHasWebItems = TRUE;
        pItem->m_WebDialog.m_strURL = pItem->m_strText;
        if (pItem->m_WebDialog.Create(IDD_HTML_PAGE, this))
            pItem->m_WebDialog.Navigate(pItem->m_strText);
    }
    m_nCurOpacity = 255;
    m_hOwner = pParent != NULL ? pParent->GetSafeHwnd() : NULL;
    CutRegion();
    m_nState = STATE_CLOSED;
    return TRUE;
}

void CVKPopupControl::CutRegion()
{
    if (m_pBackground == NULL || !m_pBackground->IsValid())
        return;
    const int W = m_size.cx, H = m_size.cy;
    std::vector<RECT> rects;
    HBITMAP hBitmap = m_pBackground->MakeBitmap();
    BITMAP bm;
    if (hBitmap != NULL && ::GetObject(hBitmap, sizeof(bm), &bm) == sizeof(bm) && bm.bmWidth > 0 && bm.bmHeight > 0) {
        // Read back top-down, 32 bits a pixel, whatever the bitmap's own layout.
        const int cx = bm.bmWidth, cy = bm.bmHeight;
        BITMAPINFO bmi = {};
        bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
        bmi.bmiHeader.biWidth = cx;
        bmi.bmiHeader.biHeight = -cy;
        bmi.bmiHeader.biPlanes = 1;
        bmi.bmiHeader.biBitCount = 32;
        bmi.bmiHeader.biCompression = BI_RGB;
        std::vector<BYTE> bits((size_t)cx * cy * 4);
        HDC hDC = ::GetDC(NULL);
        const bool bRead = ::GetDIBits(hDC, hBitmap, 0, cy, bits.data(), &bmi, DIB_RGB_COLORS) == cy;
        ::ReleaseDC(NULL, hDC);
        for (int y = 0; bRead && y < cy; ++y) {
            const BYTE* pRow = bits.data() + (size_t)y * cx * 4;
            int x = 0;
            while (x < cx) {
                while (x < cx && IsKeyColour(pRow[x * 4 + 2], pRow[x * 4 + 1], pRow[x * 4]))
                    ++x;
                int x0 = x;
                while (x < cx && !IsKeyColour(pRow[x * 4 + 2], pRow[x * 4 + 1], pRow[x * 4]))
                    ++x;
                if (x > x0)
                    rects.push_back({x0, y, x, y + 1});
            }
        }
    }
    if (hBitmap != NULL)
        ::DeleteObject(hBitmap);
    // The lower half is solid, its bottom corners cut by 2 pixels.
    rects.push_back({0, H / 2, W, H - 2});
    rects.push_back({2, H / 2, W - 2, H});
    SetWindowRgn(RegionFromRects(rects), FALSE);
}

CPoint CVKPopupControl::GetAnchorPoint() const
{
    if (m_ptFixed != CPoint(-1, -1))
        return m_ptFixed;
    RECT rcTaskbar = {0, 0, 0, 0}, rcWork = {0, 0, 0, 0};
    BOOL bTaskbar = GetPopupScreen(&rcTaskbar, &rcWork);
    CRect rcW(rcWork);
    CPoint ptCentre = rcW.CenterPoint();
    if (m_nCornerRule == 0 && bTaskbar) {
        if (ptCentre.y < rcTaskbar.top)
            return CPoint(rcW.right, rcW.bottom);
        if (ptCentre.x > rcTaskbar.right)
            return CPoint(rcW.left + m_size.cx, rcW.bottom);
        if (ptCentre.y > rcTaskbar.bottom)
            return CPoint(rcW.right, rcW.top + m_size.cy);
        if (ptCentre.x < rcTaskbar.left)
            return CPoint(rcW.right, rcW.bottom);
    }
    if (m_nCornerRule == 2)
        return CPoint(ptCentre.x + m_size.cx / 2, ptCentre.y + m_size.cy / 2);
    return CPoint(rcW.right, rcW.bottom);
}

CRect CVKPopupControl::TargetRect() const
{
    CPoint pt = GetAnchorPoint();
    return CRect(pt.x - m_size.cx, pt.y - m_size.cy, pt.x, pt.y);
}

BOOL CVKPopupControl::Show(CWnd* pOwner)
{
    if (!Create(pOwner))
        return FALSE;
    if (m_nState == STATE_CLOSED) {
        if (m_bHasWebItems)
            SetTimer(TIMER_WEB, kWebInterval, NULL);
        else
            OnOpening(TRUE);
    }
    return TRUE;
}

void CVKPopupControl::Close()
{
    m_bMouseOver = FALSE;
    m_pHot = m_pPressed = NULL;
    HWND hOwner = m_hOwner;
    m_nState = STATE_CLOSED;
    m_pBackground = NULL;
    if (hOwner != NULL && ::IsWindow(hOwner))
        ::SendMessage(hOwner, WM_POPUP_NOTIFY, POPUP_NOTIFY_STATE, (LPARAM)this);
    // With auto-delete the object goes with its window.
    if (GetSafeHwnd() != NULL)
        DestroyWindow();
}

void CVKPopupControl::OnOpening(BOOL bFromStart)
{
    SetState(STATE_OPENING);
    m_rcTarget = TargetRect();
    m_nTargetOpacity = m_cbOpacity;
    const int nTotal = (int)(m_dwAnimateTime / m_dwStep);
    if (bFromStart) {
        m_rcCurrent = m_rcTarget;
        m_nCurrentOpacity = m_nTargetOpacity;
        if (m_nAnimation == ANIMATE_NONE || m_dwAnimateTime == 0) {
            m_nSteps = 0;
            ApplyFrame();
            OnShown();
            return;
        }
        if (m_nAnimation == ANIMATE_FADE)
            m_nCurrentOpacity = 0;
        else if (m_nAnimation == ANIMATE_SLIDE)
            m_rcCurrent.top = m_rcCurrent.bottom;
        else if (m_nAnimation == ANIMATE_UNFOLD)
            m_rcCurrent = CRect(m_rcTarget.BottomRight(), m_rcTarget.BottomRight());
        m_nSteps = nTotal > 0 ? nTotal : 1;
    } else {
        int nSteps = nTotal - m_nSteps;
        m_nSteps = nSteps > 0 ? nSteps : 1;
    }
    SetTimer(TIMER_OPEN, m_dwStep, NULL);
    ApplyFrame();
}

void CVKPopupControl::OnClosing()
{
    SetState(STATE_CLOSING);
    if (m_nAnimation == ANIMATE_NONE || m_dwAnimateTime == 0) {
        Close();
        return;
    }
    CRect rcFull = TargetRect();
    m_rcTarget = rcFull;
    if (m_nAnimation == ANIMATE_FADE)
        m_nTargetOpacity = 0;
    else if (m_nAnimation == ANIMATE_SLIDE)
        m_rcTarget.top = m_rcTarget.bottom;
    else if (m_nAnimation == ANIMATE_UNFOLD)
        m_rcTarget = CRect(rcFull.BottomRight(), rcFull.BottomRight());
    const int nTotal = (int)(m_dwAnimateTime / m_dwStep);
    m_nSteps = nTotal > 0 ? nTotal : 1;
    SetTimer(TIMER_CLOSE, m_dwStep, NULL);
    ApplyFrame();
}

void CVKPopupControl::OnShown()
{
    SetState(STATE_SHOWN);
    m_rcTarget = m_rcCurrent = TargetRect();
    m_nTargetOpacity = m_nCurrentOpacity = m_cbOpacity;
    if (m_dwShowTime != (DWORD)-1)
        SetTimer(TIMER_SHOW, m_dwShowTime, NULL);
}

void CVKPopupControl::StepFrame()
{
    m_rcCurrent.left = StepToward(m_rcCurrent.left, m_rcTarget.left, m_nSteps);
    m_rcCurrent.top = StepToward(m_rcCurrent.top, m_rcTarget.top, m_nSteps);
    m_rcCurrent.right = StepToward(m_rcCurrent.right, m_rcTarget.right, m_nSteps);
    m_rcCurrent.bottom = StepToward(m_rcCurrent.bottom, m_rcTarget.bottom, m_nSteps);
    m_nCurrentOpacity = StepToward(m_nCurrentOpacity, m_nTargetOpacity, m_nSteps);
}

void CVKPopupControl::ApplyFrame()
{
    if (GetSafeHwnd() == NULL)
        return;
    SetWindowPos(&CWnd::wndTopMost, m_rcCurrent.left, m_rcCurrent.top, m_rcCurrent.Width(), m_rcCurrent.Height(),
                 SWP_NOACTIVATE | SWP_SHOWWINDOW);
    for (INT_PTR i = 0; i < m_Items.GetSize(); ++i) {
        CVKPopupItem* pItem = m_Items[i];
        if (!pItem->m_bWeb || pItem->m_WebDialog.GetSafeHwnd() == NULL)
            continue;
        CRect rc(pItem->m_rcItem);
        if (rc.Height() > m_rcCurrent.Height())
            rc.bottom = rc.top + m_rcCurrent.Height();
        pItem->m_WebDialog.MoveWindow(rc);
    }
    Invalidate(FALSE);
    if (!m_bMouseOver)
        m_nCurOpacity = m_nCurrentOpacity;
    UpdateWindow();
}

void CVKPopupControl::OnTimer(UINT_PTR nIDEvent)
{
    switch (nIDEvent) {
    case TIMER_OPEN:
    case TIMER_CLOSE:
        StepFrame();
        ApplyFrame();
        if (--m_nSteps < 1) {
            KillTimer(nIDEvent);
            m_nSteps = 0;
            if (nIDEvent == TIMER_OPEN)
                OnShown();
            else
                Close();
        }
        return;
    case TIMER_SHOW:
        if (!m_bMouseOver) {
            KillTimer(TIMER_SHOW);
            OnClosing();
        }
        return;
    case TIMER_WEB: {
        for (INT_PTR i = 0; i < m_Items.GetSize(); ++i)
            if (m_Items[i]->m_bWeb && !m_Items[i]->m_WebDialog.m_bLoaded)
                return;
        KillTimer(TIMER_WEB);
        OnOpening(TRUE);
        return;
    }
    }
    CWnd::OnTimer(nIDEvent);
}

CVKPopupItem* CVKPopupControl::ItemAt(CPoint point) const
{
    for (INT_PTR i = m_Items.GetSize() - 1; i >= 0; --i)
        if (m_Items[i]->m_rcItem.PtInRect(point))
            return m_Items[i];
    return NULL;
}

void CVKPopupControl::OnMouseMove(UINT nFlags, CPoint point)
{
    CRect rcClient;
    GetClientRect(&rcClient);
    if (rcClient.PtInRect(point) || m_pPressed != NULL) {
        if (!m_bMouseOver) {
            m_bMouseOver = TRUE;
            m_nCurOpacity = 255;
            TRACKMOUSEEVENT tme = {sizeof(tme), TME_LEAVE, m_hWnd, HOVER_DEFAULT};
            ::TrackMouseEvent(&tme);
        }
        if (m_nState == STATE_CLOSING) {
            // Coming back over a closing notice brings it back.
            KillTimer(TIMER_CLOSE);
            if (m_nAnimation == ANIMATE_FADE)
                OnShown();
            else
                OnOpening(FALSE);
        }
    } else if (m_bMouseOver) {
        m_bMouseOver = FALSE;
        m_nCurOpacity = m_nCurrentOpacity;
    }
    CVKPopupItem* pHot = ItemAt(point);
    if (m_pPressed != NULL && pHot != m_pPressed)
        pHot = NULL;
    if (pHot != m_pHot) {
        m_pHot = pHot;
        Invalidate(FALSE);
    }
}

void CVKPopupControl::OnMouseLeave()
{
    OnMouseMove(0, CPoint(-1, -1));
}

void CVKPopupControl::OnLButtonDown(UINT nFlags, CPoint point)
{
    if (m_nState == STATE_OPENING) {
        // A click while opening shows the notice at once.
        m_nSteps = 0;
        m_rcCurrent = m_rcTarget;
        m_nCurrentOpacity = m_nTargetOpacity;
        ApplyFrame();
        KillTimer(TIMER_OPEN);
        OnShown();
    }
    CVKPopupItem* pItem = ItemAt(point);
    const bool bDrag =
        m_bDraggable &&
        (pItem == NULL || (pItem->m_nID == 0 && !pItem->m_bButton && (pItem->m_strText.IsEmpty() || !pItem->m_bLink)));
    if (bDrag) {
        DragLoop(point);
        return;
    }
    if (pItem != NULL) {
        m_pPressed = pItem;
        SetCapture();
        Invalidate(FALSE);
    }
}

void CVKPopupControl::OnLButtonUp(UINT nFlags, CPoint point)
{
    CVKPopupItem* pPressed = m_pPressed;
    if (GetCapture() == this)
        ReleaseCapture();
    m_pPressed = NULL;
    Invalidate(FALSE);
    if (pPressed != NULL && pPressed->m_rcItem.PtInRect(point))
        OnItemClick(pPressed);
}

void CVKPopupControl::OnCaptureChanged(CWnd*)
{
    m_pPressed = NULL;
}

void CVKPopupControl::OnItemClick(CVKPopupItem* pItem)
{
    if (pItem->m_nID == -1)
        Close();
    else
        Notify(POPUP_NOTIFY_CLICK, (LPARAM)pItem);
}

BOOL CVKPopupControl::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    if (m_pHot != NULL && m_pHot->m_bLink && !m_pHot->m_bButton && m_hHand != NULL) {
        ::SetCursor(m_hHand);
        return TRUE;
    }
    return (BOOL)Default();
}

int CVKPopupControl::OnMouseActivate(CWnd*, UINT, UINT)
{
    return MA_NOACTIVATE;
}

BOOL CVKPopupControl::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CVKPopupControl::OnPaint()
{
    CPaintDC dc(this);
    CRect rc;
    GetClientRect(&rc);
    CDC dcMem;
    dcMem.CreateCompatibleDC(&dc);
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(&dc, rc.Width() > 0 ? rc.Width() : 1, rc.Height() > 0 ? rc.Height() : 1);
    CBitmap* pOld = dcMem.SelectObject(&bitmap);
    dcMem.FillSolidRect(&rc, RGB(255, 255, 255));
    if (m_pBackground != NULL && m_pBackground->IsValid())
        m_pBackground->Draw(dcMem.GetSafeHdc(), 0, 0);
    for (INT_PTR i = 0; i < m_Items.GetSize(); ++i)
        m_Items[i]->Draw(&dcMem);
    dc.BitBlt(0, 0, rc.Width(), rc.Height(), &dcMem, 0, 0, SRCCOPY);
    dcMem.SelectObject(pOld);
}

void CVKPopupControl::DragLoop(CPoint ptStart)
{
    RECT rcTaskbar, rcWork;
    GetPopupScreen(&rcTaskbar, &rcWork);
    CRect rcWindow;
    GetWindowRect(&rcWindow);
    CPoint ptScreen = ptStart;
    ClientToScreen(&ptScreen);
    m_bDragging = TRUE;
    SetCapture();
    MSG msg;
    while (m_bDragging && ::GetMessage(&msg, NULL, 0, 0)) {
        if (GetCapture() != this)
            break;
        if (msg.message == WM_LBUTTONUP || (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE))
            break;
        if (msg.message == WM_MOUSEMOVE) {
            CPoint pt;
            ::GetCursorPos(&pt);
            CRect rc(rcWindow);
            rc.OffsetRect(pt - ptScreen);
            // Kept inside the work area.
            if (rc.left < rcWork.left)
                rc.OffsetRect(rcWork.left - rc.left, 0);
            if (rc.top < rcWork.top)
                rc.OffsetRect(0, rcWork.top - rc.top);
            if (rc.right > rcWork.right)
                rc.OffsetRect(rcWork.right - rc.right, 0);
            if (rc.bottom > rcWork.bottom)
                rc.OffsetRect(0, rcWork.bottom - rc.bottom);
            SetWindowPos(NULL, rc.left, rc.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            continue;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessage(&msg);
    }
    m_bDragging = FALSE;
    if (GetCapture() == this)
        ReleaseCapture();
    GetWindowRect(&rcWindow);
    m_rcTarget = m_rcCurrent = rcWindow;
    m_ptFixed = rcWindow.BottomRight();
    Notify(POPUP_NOTIFY_MOVED, (LPARAM)this);
}
