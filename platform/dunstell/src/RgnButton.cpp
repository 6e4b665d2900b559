#include "RgnButton.h"
#include "SkinRegion.h"

IMPLEMENT_DYNAMIC(CRgnButton, CSkinButton)

namespace
{
const COLORREF kTolerance = RGB(0x10, 0x10, 0x10);
}

CRgnButton::CRgnButton() : m_crTrans(RGB(255, 0, 255)) {}

CRgnButton::~CRgnButton() {}

BOOL CRgnButton::LoadRgnImage(LPCTSTR pszFileName, COLORREF crTrans)
{
    m_crTrans = crTrans;
    return SetButtonImage(pszFileName, false);
}

BOOL CRgnButton::LoadRgnImage(HINSTANCE hInstance, UINT nIDResource, COLORREF crTrans)
{
    m_crTrans = crTrans;
    return SetButtonImage(nIDResource, hInstance, false);
}

void CRgnButton::ApplyButtonImage()
{
    CSkinButton::ApplyButtonImage();
    if (!m_bSkinned || m_ImageButton.IsNull())
        return;
    const int cxCell = m_ImageButton.GetWidth() / 4, cyCell = m_ImageButton.GetHeight();
    HRGN hRgn = SkinRegionFromImagePart(m_ImageButton.GetBits(), m_ImageButton.GetWidth(), 0, 0, cxCell, cyCell,
                                        m_crTrans, kTolerance);
    // The window owns the region from here on.
    if (hRgn != NULL && SetWindowRgn(hRgn, TRUE) == 0)
        ::DeleteObject(hRgn);
}

void CRgnButton::DrawButtonFace(CDC* pDC, const CRect& rcItem, int nState)
{
    if (m_ImageButton.IsNull()) {
        CSkinButton::DrawButtonFace(pDC, rcItem, nState);
        return;
    }
    const int cxCell = m_ImageButton.GetWidth() / 4, cyCell = m_ImageButton.GetHeight();
    m_ImageButton.AlphaDrawImage(pDC, rcItem.left, rcItem.top, cxCell, cyCell, nState * cxCell, 0, m_crTrans);
}
