#include "SkinComboxEx.h"

#include "GlobalUnits.h"

#include <algorithm>

BEGIN_MESSAGE_MAP(CSkinComboxEx, CSkinCombox)
    ON_WM_PAINT()
END_MESSAGE_MAP()

namespace
{
const COLORREF kOuterEdge = RGB(0xC2, 0xFF, 0xFF);
const COLORREF kInnerEdge = RGB(0x00, 0x65, 0x99);
const int kArrowFrames = 4;
} // namespace

CSkinComboxEx::CSkinComboxEx() : m_nLookState(lookNormal) {}

CSkinComboxEx::~CSkinComboxEx() {}

void CSkinComboxEx::SetLookState(int nState)
{
    m_nLookState = nState;
    Invalidate(FALSE);
}

LRESULT CSkinComboxEx::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_MOUSEMOVE: {
        SetLookState(lookHot);
        TRACKMOUSEEVENT tme = {sizeof(tme), TME_HOVER | TME_LEAVE, m_hWnd, 1};
        ::TrackMouseEvent(&tme);
        break;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP: SetLookState(lookPressed); break;
    case WM_MOUSELEAVE: SetLookState(lookNormal); break;
    default: break;
    }
    return CSkinCombox::DefWindowProc(message, wParam, lParam);
}

CString CSkinComboxEx::GetArrowFile() const
{
    if (!m_strArrowFile.IsEmpty())
        return m_strArrowFile;
    CString strFile = g_GlobalUnits.GetResourceDirectory();
    strFile += "Common\\button\\";
    strFile += "arrow.bmp";
    return strFile;
}

void CSkinComboxEx::DrawSkin(CDC* pDC)
{
    CRect rc;
    GetWindowRect(&rc);
    ScreenToClient(&rc);
    pDC->Draw3dRect(&rc, kOuterEdge, kOuterEdge);
    rc.DeflateRect(1, 1);
    pDC->Draw3dRect(&rc, kInnerEdge, kInnerEdge);

    CString strFile = GetArrowFile();
    if (m_ImageArrow.GetLoadFileName() != strFile)
        m_ImageArrow.SetLoadInfo(strFile, false);
    if (!m_ImageArrow.LoadImage())
        return;
    const int cw = m_ImageArrow.GetWidth() / kArrowFrames;
    const int cy = std::min(rc.Height(), m_ImageArrow.GetHeight());
    m_ImageArrow.BitBlt(pDC->GetSafeHdc(), rc.right - cw - 1, rc.top + 1, cw, cy, cw * m_nLookState, 0);
}

void CSkinComboxEx::OnPaint()
{
    // The standard painting draws the text field and validates the window;
    // the skin goes over it. Nothing is invalidated here, so a paint never
    // asks for another.
    Default();
    CClientDC dc(this);
    DrawSkin(&dc);
}
