#include "AnchorLayout.h"

const UINT WMU_ANCHORSUPPORT = ::RegisterWindowMessageA("WMU_ANCHORSUPPORT");

const SIZE ANCHOR_TOPLEFT = {0, 0};
const SIZE ANCHOR_TOP = {50, 0};
const SIZE ANCHOR_TOPRIGHT = {100, 0};
const SIZE ANCHOR_LEFT = {0, 50};
const SIZE ANCHOR_MIDDLE = {50, 50};
const SIZE ANCHOR_RIGHT = {100, 50};
const SIZE ANCHOR_BOTTOMLEFT = {0, 100};
const SIZE ANCHOR_BOTTOM = {50, 100};
const SIZE ANCHOR_BOTTOMRIGHT = {100, 100};
const SIZE ANCHOR_NONE = {-1, -1};

namespace
{
CRect RectInOwner(HWND hWnd, HWND hOwner)
{
    CRect rc;
    ::GetWindowRect(hWnd, &rc);
    ::MapWindowPoints(NULL, hOwner, (LPPOINT)&rc, 2);
    return rc;
}

DWORD StyleOf(HWND hWnd)
{
    return (DWORD)::GetWindowLong(hWnd, GWL_STYLE);
}
} // namespace

CAnchorLayout::CAnchorLayout() {}

CAnchorLayout::~CAnchorLayout()
{
    for (LayoutInfo* p : m_anchors)
        delete p;
    for (LayoutInfo* p : m_callbacks)
        delete p;
}

void CAnchorLayout::AddAnchor(HWND hWnd, SIZE anchorTopLeft, SIZE anchorBottomRight)
{
    CWnd* pOwner = GetOwnerWindow();
    if (hWnd == NULL || pOwner == NULL)
        return;
    LayoutInfo* info = new LayoutInfo();
    char cls[260] = "";
    ::GetClassNameA(hWnd, cls, sizeof(cls));
    info->className = cls;
    CRect rcParent;
    GetParentClientRect(&rcParent);
    CRect rc = RectInOwner(hWnd, pOwner->GetSafeHwnd());
    rc.OffsetRect(-rcParent.left, -rcParent.top);
    if (anchorBottomRight.cx == ANCHOR_NONE.cx && anchorBottomRight.cy == ANCHOR_NONE.cy)
        anchorBottomRight = anchorTopLeft;
    const int w = rcParent.Width(), h = rcParent.Height();
    info->hWnd = hWnd;
    info->anchorTopLeft = anchorTopLeft;
    info->anchorBottomRight = anchorBottomRight;
    info->marginTopLeft.cx = rc.left - w * anchorTopLeft.cx / 100;
    info->marginTopLeft.cy = rc.top - h * anchorTopLeft.cy / 100;
    info->marginBottomRight.cx = rc.right - w * anchorBottomRight.cx / 100;
    info->marginBottomRight.cy = rc.bottom - h * anchorBottomRight.cy / 100;
    info->askClip = TRUE;
    info->askRedraw = TRUE;
    QueryChildProperties(*info);
    m_index[hWnd] = m_anchors.size();
    m_anchors.push_back(info);
}

BOOL CAnchorLayout::NewPosition(const LayoutInfo& info, const CRect& rcParent, CRect& rcNew, UINT& nFlags)
{
    const CRect rcOld = RectInOwner(info.hWnd, GetOwnerWindow()->GetSafeHwnd());
    const int w = rcParent.Width(), h = rcParent.Height();
    rcNew.SetRect(w * info.anchorTopLeft.cx / 100 + info.marginTopLeft.cx,
                  h * info.anchorTopLeft.cy / 100 + info.marginTopLeft.cy,
                  w * info.anchorBottomRight.cx / 100 + info.marginBottomRight.cx,
                  h * info.anchorBottomRight.cy / 100 + info.marginBottomRight.cy);
    rcNew.OffsetRect(rcParent.left, rcParent.top);
    const BOOL bRefresh = info.askRedraw ? ChildNeedsRedraw(info, rcOld, rcNew) : info.redrawNeeded;
    nFlags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER;
    if (bRefresh)
        nFlags |= SWP_NOCOPYBITS;
    if (rcNew.TopLeft() == rcOld.TopLeft())
        nFlags |= SWP_NOMOVE;
    if (rcNew.Size() == rcOld.Size())
        nFlags |= SWP_NOSIZE;
    return (nFlags & (SWP_NOMOVE | SWP_NOSIZE)) != (SWP_NOMOVE | SWP_NOSIZE);
}

void CAnchorLayout::ApplyLayout()
{
    if (GetOwnerWindow() == NULL)
        return;
    CRect rcParent;
    GetParentClientRect(&rcParent);
    HDWP hdwp = ::BeginDeferWindowPos((int)(m_anchors.size() + m_callbacks.size()));
    for (LayoutInfo* info : m_anchors) {
        CRect rcNew;
        UINT nFlags = 0;
        if (NewPosition(*info, rcParent, rcNew, nFlags) && hdwp != NULL)
            hdwp =
                ::DeferWindowPos(hdwp, info->hWnd, NULL, rcNew.left, rcNew.top, rcNew.Width(), rcNew.Height(), nFlags);
    }
    for (LayoutInfo* info : m_callbacks) {
        if (!PositionByCallback(*info))
            continue;
        CRect rcNew;
        UINT nFlags = 0;
        if (NewPosition(*info, rcParent, rcNew, nFlags) && hdwp != NULL)
            hdwp =
                ::DeferWindowPos(hdwp, info->hWnd, NULL, rcNew.left, rcNew.top, rcNew.Width(), rcNew.Height(), nFlags);
    }
    if (hdwp != NULL)
        ::EndDeferWindowPos(hdwp);
}

BOOL CAnchorLayout::QueryChildProperties(LayoutInfo& info)
{
    if (::SendMessage(info.hWnd, WMU_ANCHORSUPPORT, QUERY_PROPERTIES, (LPARAM)&info.askClip)) {
        info.answersQuery = TRUE;
        return TRUE;
    }
    info.askClip = FALSE;
    info.clipOk = ChildAcceptsClipping(info);
    info.askRedraw = TRUE;
    return info.clipOk;
}

BOOL CAnchorLayout::ChildAcceptsClipping(const LayoutInfo& info)
{
    if (info.answersQuery) {
        BOOL bAnswer = FALSE;
        if (::SendMessage(info.hWnd, WMU_ANCHORSUPPORT, QUERY_CLIPPING, (LPARAM)&bAnswer))
            return bAnswer;
    }
    const DWORD style = StyleOf(info.hWnd);
    if (info.className.CompareNoCase("ToolbarWindow32") == 0)
        return (style & 0x8000) == 0;
    if (info.className.CompareNoCase("Button") == 0) {
        const DWORD type = style & 0xF;
        if (type == BS_GROUPBOX)
            return FALSE;
        if (type == BS_OWNERDRAW) {
            CRect rc;
            ::GetWindowRect(info.hWnd, &rc);
            return ::SendMessage(info.hWnd, WM_NCHITTEST, 0, MAKELPARAM(rc.left, rc.top)) != HTTRANSPARENT;
        }
        return TRUE;
    }
    if (info.className.CompareNoCase("Static") == 0) {
        const DWORD type = style & 0x1F;
        if (type > 17)
            return FALSE;
        switch (type) {
        case 3:
        case 15: return (style & SS_CENTERIMAGE) == 0;
        case 7:
        case 8:
        case 9:
        case 10:
        case 13: return FALSE;
        default: return TRUE;
        }
    }
    return TRUE;
}

BOOL CAnchorLayout::ChildNeedsRedraw(const LayoutInfo& info, const CRect& rcOld, const CRect& rcNew)
{
    if (info.answersQuery) {
        RedrawQuery query = {TRUE, rcOld, rcNew};
        if (::SendMessage(info.hWnd, WMU_ANCHORSUPPORT, QUERY_REDRAW, (LPARAM)&query))
            return query.redraw;
    }
    const int dx = rcNew.Width() - rcOld.Width();
    const int dy = rcNew.Height() - rcOld.Height();
    if (dx == 0 && dy == 0)
        return FALSE;
    const DWORD style = StyleOf(info.hWnd);
    BOOL bRefresh = FALSE;
    if (info.className.CompareNoCase("Static") == 0) {
        const DWORD type = style & 0x1F;
        switch (type) {
        case 0:
        case 1:
        case 2: bRefresh = dx != 0; break;
        case 12: bRefresh = dx != 0 && (style & 0xC000) != 0; break;
        case 3:
        case 7:
        case 8:
        case 9:
        case 14:
        case 15:
        case 18: bRefresh = TRUE; break;
        }
        if ((type <= 2 || type == 12) && (style & SS_CENTERIMAGE) && (bRefresh || dy != 0))
            bRefresh = TRUE;
    }
    if (info.className.CompareNoCase("ListBox") == 0 && dx >= 1) {
        SCROLLINFO si = {sizeof(si), SIF_RANGE | SIF_PAGE | SIF_POS};
        if (::GetScrollInfo(info.hWnd, SB_HORZ, &si)) {
            const int last = si.nMax - ((int)si.nPage - 1);
            if (last >= 1 && si.nPos + dx > last)
                return TRUE;
        }
    }
    return bRefresh;
}

void CAnchorLayout::GetParentClientRect(LPRECT lpRect)
{
    CWnd* pOwner = GetOwnerWindow();
    if (pOwner != NULL && pOwner->GetSafeHwnd() != NULL)
        pOwner->GetClientRect(lpRect);
    else
        ::SetRectEmpty(lpRect);
}

BOOL CAnchorLayout::PositionByCallback(LayoutInfo&)
{
    return FALSE;
}
