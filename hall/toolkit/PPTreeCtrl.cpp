#include "PPTreeCtrl.h"

#include <XTVBufferDC.h>

#include <algorithm>

IMPLEMENT_DYNAMIC(CPPTreeCtrl, CTreeCtrl)

BEGIN_MESSAGE_MAP(CPPTreeCtrl, CTreeCtrl)
    ON_WM_CREATE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_SIZE()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSELEAVE()
    ON_WM_HSCROLL()
    ON_WM_VSCROLL()
END_MESSAGE_MAP()

namespace
{
const COLORREF SEPARATOR = RGB(0xEB, 0xEB, 0xEB);
const COLORREF GROUP_SELECTED = RGB(0xD2, 0xEA, 0xF6);   // 0xF6EAD2
const COLORREF TEXT_SELECTED = RGB(0x00, 0x4F, 0x5A);    // 0x5A4F00
const COLORREF TEXT_HIGHLIGHTED = RGB(0x34, 0x42, 0x45); // 0x454234
const int TEXT_STEP = 9;

// The program folder: the running program's path without its file name.
CString ProgramFolder()
{
    char path[MAX_PATH] = "";
    ::GetModuleFileNameA(NULL, path, MAX_PATH);
    CString folder(path);
    const int slash = folder.ReverseFind('\\');
    return slash >= 0 ? folder.Left(slash + 1) : CString();
}

// Draws the part src of the picture stretched over dest.
void DrawPicturePart(const CPicture& picture, CDC* pDC, const CRect& src, const CRect& dest)
{
    if (!picture.IsValid() || src.IsRectEmpty() || dest.IsRectEmpty())
        return;
    const long w = (long)picture.GetWidth(), h = (long)picture.GetHeight();
    const long cx = w * dest.Width() / src.Width(), cy = h * dest.Height() / src.Height();
    const long x = dest.left - src.left * dest.Width() / src.Width();
    const long y = dest.top - src.top * dest.Height() / src.Height();
    picture.Draw(pDC->GetSafeHdc(), x, y, cx, cy, &dest);
}
} // namespace

CPPTreeCtrl::CPPTreeCtrl()
    : m_rcClient(0, 0, 0, 0), m_nContentWidth(0), m_nContentHeight(0), m_nScrollX(0), m_nScrollY(0), m_hHotItem(NULL),
      m_rcHotItem(0, 0, 0, 0), m_rcEnterButton(0, 0, 0, 0), m_bOverEnterButton(FALSE), m_bEnterButtonArmed(TRUE),
      m_bDrawSeparators(TRUE), m_bShowEnterButton(TRUE), m_nSignWidth(0), m_nSignHeight(0), m_nSignGap(5),
      m_nRowHeight(ROW_HEIGHT)
{
    const CString folder = ProgramFolder() + "Res\\Common\\treectrl\\";
    m_Sun.Load(folder + "Sun.png");
    m_Add.Load(folder + "Add.png");
    m_EnterGame.Load(folder + "Entergame.bmp");
    m_Select.Load(folder + "Select.png");
}

CPPTreeCtrl::~CPPTreeCtrl()
{
    for (CPicture* p : m_ExtraIcons)
        delete p;
}

void CPPTreeCtrl::SetSignImages(LPCTSTR lpszCollapsed, LPCTSTR lpszExpanded)
{
    if (!m_Collapsed.IsValid())
        m_Collapsed.Load(lpszCollapsed);
    if (!m_Expanded.IsValid())
        m_Expanded.Load(lpszExpanded);
    const CPicture& sign = m_Collapsed.IsValid() ? m_Collapsed : m_Expanded;
    m_nSignWidth = (int)sign.GetWidth();
    m_nSignHeight = (int)sign.GetHeight();
}

void CPPTreeCtrl::SetEnterButtonImage(LPCTSTR lpszPath)
{
    m_EnterButton.Load(lpszPath);
}

BOOL CPPTreeCtrl::SetIconStrip(LPCTSTR lpszPath)
{
    return m_IconStrip.Load(lpszPath);
}

BOOL CPPTreeCtrl::AddExtraIcon(LPCTSTR lpszPath)
{
    CPicture* p = new CPicture;
    if (!p->Load(lpszPath)) {
        delete p;
        return FALSE;
    }
    m_ExtraIcons.push_back(p);
    return TRUE;
}

void CPPTreeCtrl::SetItemIndent(HTREEITEM hItem, int nIndent)
{
    m_Indents[hItem] = nIndent;
}

void CPPTreeCtrl::SetUp()
{
    // Rows of an odd height need the style that allows them.
    ModifyStyle(0, TVS_NONEVENHEIGHT);
    SetItemHeight(ROW_HEIGHT);
    m_nRowHeight = ROW_HEIGHT;
}

// Subclassed from a template: the control exists already. Created by
// Create, it is set up once its WM_CREATE has run.
void CPPTreeCtrl::PreSubclassWindow()
{
    CTreeCtrl::PreSubclassWindow();
    if (::IsWindow(m_hWnd) && SendMessage(TVM_GETITEMHEIGHT) > 0)
        SetUp();
}

int CPPTreeCtrl::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    const int result = (int)Default();
    if (result != -1)
        SetUp();
    return result;
}

void CPPTreeCtrl::OnEnterButtonClick(HTREEITEM) {}

int CPPTreeCtrl::GetItemKind(HTREEITEM hItem)
{
    return ItemHasChildren(hItem) ? 1 : 2;
}

int CPPTreeCtrl::GetItemIconIndex(HTREEITEM, int&)
{
    return 0;
}

void CPPTreeCtrl::DrawBackground(CDC* pDC)
{
    COLORREF crBack = (COLORREF)SendMessage(TVM_GETBKCOLOR);
    if (crBack == (COLORREF)-1)
        crBack = ::GetSysColor(COLOR_WINDOW);
    pDC->FillSolidRect(&m_rcClient, crBack);
}

void CPPTreeCtrl::DrawSelectionBar(CDC* pDC, const CRect& rcRow, int nState)
{
    if (!m_Select.IsValid())
        return;
    const int stateWidth = (int)m_Select.GetWidth() / 4;
    const int part = stateWidth / 3;
    const int h = (int)m_Select.GetHeight();
    if (part <= 0 || rcRow.Width() <= 0)
        return;
    const int x0 = stateWidth * nState;
    DrawPicturePart(m_Select, pDC, CRect(x0, 0, x0 + part, h),
                    CRect(rcRow.left, rcRow.top, rcRow.left + part, rcRow.bottom));
    DrawPicturePart(m_Select, pDC, CRect(x0 + part, 0, x0 + 2 * part, h),
                    CRect(rcRow.left + part, rcRow.top, rcRow.right - part, rcRow.bottom));
    DrawPicturePart(m_Select, pDC, CRect(x0 + 2 * part, 0, x0 + 3 * part, h),
                    CRect(rcRow.right - part, rcRow.top, rcRow.right, rcRow.bottom));
}

CRect CPPTreeCtrl::EnterButtonRectFor(const CRect& rcRow) const
{
    if (!m_EnterButton.IsValid())
        return CRect(0, 0, 0, 0);
    const int w = (int)m_EnterButton.GetWidth() / 2, h = (int)m_EnterButton.GetHeight();
    const int right = m_rcClient.right - 10;
    return CRect(right - w, rcRow.top + 6, right, rcRow.top + 6 + h);
}

void CPPTreeCtrl::DrawItems(CDC* pDC)
{
    const BOOL bShowSelection = ::GetFocus() == m_hWnd || (GetStyle() & TVS_SHOWSELALWAYS);
    const HTREEITEM hCaret = GetSelectedItem();
    for (HTREEITEM hItem = GetFirstVisibleItem(); hItem != NULL; hItem = GetNextVisibleItem(hItem)) {
        CRect rcText;
        if (!GetItemRect(hItem, &rcText, TRUE))
            break;
        if (rcText.top >= m_rcClient.bottom)
            break;
        // Selection, expansion and drop target are all read: the look of
        // every row depends on them.
        const UINT state = GetItemState(hItem, TVIS_SELECTED | TVIS_EXPANDED | TVIS_DROPHILITED);
        const BOOL bHighlighted = (state & TVIS_SELECTED) && bShowSelection;
        CRect rcRow;
        GetItemRect(hItem, &rcRow, FALSE);
        const int top = rcRow.top, bottom = rcRow.bottom;
        int x = rcText.left;
        const CRect band(m_nScrollX, top, m_nScrollX + m_nContentWidth, bottom - 1);
        if (m_bDrawSeparators) {
            CPen pen(PS_SOLID, 1, SEPARATOR);
            CPen* pOld = pDC->SelectObject(&pen);
            pDC->MoveTo(m_nScrollX, bottom - 1);
            pDC->LineTo(m_nScrollX + m_nContentWidth + 10, bottom - 1);
            pDC->SelectObject(pOld);
        }
        if (DrawItemCustom(pDC, band.left, band.top, band.right, band.bottom, hItem))
            continue;
        const int kind = GetItemKind(hItem);
        if (kind < 2) {
            if (hItem == hCaret)
                pDC->FillSolidRect(CRect(band.left, band.top, band.right + 10, band.bottom), GROUP_SELECTED);
            else if (bHighlighted)
                DrawSelectionBar(pDC, band, 2);
        } else if (bHighlighted)
            DrawSelectionBar(pDC, band, 2);
        else if (hItem == m_hHotItem)
            DrawSelectionBar(pDC, band, 3);
        x += TEXT_STEP;
        if (ItemHasChildren(hItem)) {
            const CPicture& sign = (state & TVIS_EXPANDED) ? m_Expanded : m_Collapsed;
            if (sign.IsValid()) {
                const int w = (int)sign.GetWidth(), h = (int)sign.GetHeight();
                sign.Draw(pDC->GetSafeHdc(), x - m_nSignGap - 1 - w, top + (bottom - top - h) / 2);
            }
        }
        DrawItemIcon(pDC, x, top, band.right, bottom, hItem);
        DrawItemText(pDC, x, top, band.right, bottom, hItem, bHighlighted);
        if (hItem == m_hHotItem && m_bShowEnterButton && m_bEnterButtonArmed && HasEnterButton(hItem) &&
            m_EnterButton.IsValid()) {
            m_rcEnterButton = EnterButtonRectFor(rcRow);
            const int w = m_rcEnterButton.Width();
            const int srcX = m_bOverEnterButton ? w : 0;
            DrawPicturePart(m_EnterButton, pDC, CRect(srcX, 0, srcX + w, m_rcEnterButton.Height()), m_rcEnterButton);
        }
    }
}

void CPPTreeCtrl::DrawItemIcon(CDC*, int, int, int, int, HTREEITEM) {}

void CPPTreeCtrl::DrawItemText(CDC* pDC, int x, int top, int right, int bottom, HTREEITEM hItem, BOOL bHighlighted)
{
    std::map<HTREEITEM, int>::const_iterator it = m_Indents.find(hItem);
    if (it != m_Indents.end()) {
        x += it->second + m_nSignGap;
        right += it->second + m_nSignGap;
    }
    x += TEXT_STEP;
    const int iconX = x - m_nSignGap - 1;
    const int iconY = top + (bottom - top - ICON_SIZE) / 2;
    CImageList* pImages = GetImageList(TVSIL_NORMAL);
    if (pImages != NULL && pImages->GetSafeHandle() != NULL) {
        int nImage = 0, nSelected = 0;
        GetItemImage(hItem, nImage, nSelected);
        pImages->Draw(pDC, nImage, CPoint(iconX, iconY), ILD_TRANSPARENT);
    } else {
        int nIndex = 0;
        if (GetItemIconIndex(hItem, nIndex) == 1 && nIndex >= 0) {
            if (nIndex >= FIRST_EXTRA_ICON) {
                const size_t extra = (size_t)(nIndex - FIRST_EXTRA_ICON);
                if (extra < m_ExtraIcons.size())
                    m_ExtraIcons[extra]->Draw(pDC->GetSafeHdc(), iconX, iconY, ICON_SIZE, ICON_SIZE);
            } else
                DrawPicturePart(m_IconStrip, pDC,
                                CRect(nIndex * ICON_CELL, 0, nIndex * ICON_CELL + ICON_CELL, ICON_SIZE),
                                CRect(iconX, iconY, iconX + ICON_CELL, iconY + ICON_SIZE));
        }
    }
    const CString text = GetItemText(hItem);
    COLORREF crText = ::GetSysColor(COLOR_WINDOWTEXT);
    const int kind = GetItemKind(hItem);
    if (hItem == GetSelectedItem())
        crText = TEXT_SELECTED;
    else if (bHighlighted && (kind == 3 || kind == 4))
        crText = TEXT_HIGHLIGHTED;
    const int nOldMode = pDC->SetBkMode(TRANSPARENT);
    const COLORREF crOld = pDC->SetTextColor(crText);
    CFont* pOldFont = pDC->SelectObject(GetFont());
    CRect rcText(x + ICON_SIZE, top, right, bottom);
    pDC->DrawText(text, &rcText, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    const CSize extent = pDC->GetTextExtent(text);
    pDC->SelectObject(pOldFont);
    pDC->SetTextColor(crOld);
    pDC->SetBkMode(nOldMode);
    DrawAfterText(pDC, CPoint(rcText.left + extent.cx + 5, top), hItem);
}

BOOL CPPTreeCtrl::DrawItemCustom(CDC*, int, int, int, int, HTREEITEM)
{
    return FALSE;
}

BOOL CPPTreeCtrl::HasEnterButton(HTREEITEM)
{
    return TRUE;
}

BOOL CPPTreeCtrl::DrawAfterText(CDC*, CPoint, HTREEITEM)
{
    return FALSE;
}

void CPPTreeCtrl::OnPaint()
{
    CPaintDC dc(this);
    CXTVBufferDC buffer(dc);
    DrawBackground(&buffer);
    DrawItems(&buffer);
}

BOOL CPPTreeCtrl::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CPPTreeCtrl::MeasureContent()
{
    GetClientRect(&m_rcClient);
    m_nScrollX = m_rcClient.left;
    m_nScrollY = m_rcClient.top;
    m_nContentWidth = m_rcClient.Width();
    m_nContentHeight = m_rcClient.Height();
    SCROLLINFO si = {sizeof(si), SIF_RANGE | SIF_POS};
    if (::GetScrollInfo(m_hWnd, SB_HORZ, &si)) {
        m_nScrollX = -si.nPos;
        m_nContentWidth = std::max((int)m_rcClient.Width(), si.nMax + 4);
    }
    SCROLLINFO sv = {sizeof(sv), SIF_RANGE | SIF_POS};
    if (::GetScrollInfo(m_hWnd, SB_VERT, &sv)) {
        if (sv.nMin == 0 && sv.nMax == 100)
            sv.nMax = 0;
        m_nScrollY = -sv.nPos * m_nRowHeight;
        m_nContentHeight = std::max((int)m_rcClient.Height(), (sv.nMax + 2) * (m_nRowHeight + 1));
    }
}

void CPPTreeCtrl::OnSize(UINT nType, int cx, int cy)
{
    CTreeCtrl::OnSize(nType, cx, cy);
    MeasureContent();
}

void CPPTreeCtrl::InvalidateHot()
{
    if (m_hHotItem == NULL)
        return;
    InvalidateRect(&m_rcHotItem, FALSE);
    if (!m_rcEnterButton.IsRectEmpty())
        InvalidateRect(&m_rcEnterButton, FALSE);
}

void CPPTreeCtrl::OnMouseMove(UINT nFlags, CPoint point)
{
    TVHITTESTINFO hit = {};
    hit.pt = point;
    const HTREEITEM hItem = (HTREEITEM)SendMessage(TVM_HITTEST, 0, (LPARAM)&hit);
    if (hItem != m_hHotItem) {
        InvalidateHot();
        m_hHotItem = hItem;
        m_rcHotItem.SetRectEmpty();
        m_rcEnterButton.SetRectEmpty();
        if (hItem != NULL) {
            GetItemRect(hItem, &m_rcHotItem, FALSE);
            m_rcHotItem.right = std::max(m_rcHotItem.right, m_rcClient.right);
            if (m_bShowEnterButton && HasEnterButton(hItem))
                m_rcEnterButton = EnterButtonRectFor(m_rcHotItem);
        }
        m_bEnterButtonArmed = TRUE;
        InvalidateHot();
    }
    const BOOL bOver = m_rcEnterButton.PtInRect(point);
    if (bOver != m_bOverEnterButton && !m_rcEnterButton.IsRectEmpty())
        InvalidateRect(&m_rcEnterButton, FALSE);
    m_bOverEnterButton = bOver;
    if (bOver)
        ::SetCursor(::LoadCursor(NULL, IDC_HAND));
    TRACKMOUSEEVENT tme = {sizeof(tme), TME_LEAVE | TME_HOVER, m_hWnd, 1};
    ::TrackMouseEvent(&tme);
    CTreeCtrl::OnMouseMove(nFlags, point);
}

void CPPTreeCtrl::OnMouseLeave()
{
    m_bEnterButtonArmed = FALSE;
    if (!m_rcEnterButton.IsRectEmpty())
        InvalidateRect(&m_rcEnterButton, FALSE);
    CTreeCtrl::OnMouseLeave();
}

void CPPTreeCtrl::OnLButtonDown(UINT nFlags, CPoint point)
{
    CTreeCtrl::OnLButtonDown(nFlags, point);
    if (!m_rcEnterButton.PtInRect(point))
        return;
    TVHITTESTINFO hit = {};
    hit.pt = point;
    const HTREEITEM hItem = (HTREEITEM)SendMessage(TVM_HITTEST, 0, (LPARAM)&hit);
    if (hItem != NULL)
        OnEnterButtonClick(hItem);
}

void CPPTreeCtrl::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    const int before = GetScrollPos(SB_HORZ);
    CTreeCtrl::OnHScroll(nSBCode, nPos, pScrollBar);
    const int moved = before - GetScrollPos(SB_HORZ);
    m_rcHotItem.OffsetRect(moved, 0);
    m_rcEnterButton.OffsetRect(moved, 0);
    MeasureContent();
    Invalidate(FALSE);
}

void CPPTreeCtrl::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    const int before = GetScrollPos(SB_VERT);
    CTreeCtrl::OnVScroll(nSBCode, nPos, pScrollBar);
    const int moved = (before - GetScrollPos(SB_VERT)) * m_nRowHeight;
    m_rcHotItem.OffsetRect(0, moved);
    m_rcEnterButton.OffsetRect(0, moved);
    MeasureContent();
}
