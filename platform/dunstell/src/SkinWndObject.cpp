#include "SkinWndObject.h"
#include "SkinAttribute.h"

#include <algorithm>

CSkinWndObject::CSkinWndObject(CWnd* pWndSkin) : m_pWndSkin(pWndSkin) {}

CSkinWndObject::~CSkinWndObject() {}

CSkinImage* CSkinWndObject::GetSkinImage(int nSlot)
{
    CSkinImage* images[SKIN_IMAGE_COUNT] = {&m_ImageTL, &m_ImageTM, &m_ImageTR, &m_ImageL,    &m_ImageR,
                                            &m_ImageBL, &m_ImageBM, &m_ImageBR, &m_ImageBack, &m_ImageClose};
    return nSlot >= 0 && nSlot < SKIN_IMAGE_COUNT ? images[nSlot] : NULL;
}

void CSkinWndObject::InitSkinObject()
{
    for (int i = 0; i < SKIN_IMAGE_COUNT; ++i)
        GetSkinImage(i)->LoadImage();
}

BOOL CSkinWndObject::HasSkinPictures()
{
    for (int i = SKIN_TL; i <= SKIN_BACK; ++i) {
        if (GetSkinImage(i)->LoadImage())
            return TRUE;
    }
    return FALSE;
}

int CSkinWndObject::GetSkinCaptionHeight()
{
    return std::max(m_ImageTM.GetHeight(), std::max(m_ImageTL.GetHeight(), m_ImageTR.GetHeight()));
}

void CSkinWndObject::DrawSkinView(CDC* pDC)
{
    CRect rcClient(0, 0, 0, 0);
    if (m_pWndSkin != NULL && m_pWndSkin->GetSafeHwnd() != NULL)
        m_pWndSkin->GetClientRect(&rcClient);
    DrawSkinView(pDC, rcClient.Width(), rcClient.Height());
}

void CSkinWndObject::DrawSkinView(CDC* pDC, int cx, int cy)
{
    HDC hDC = pDC->GetSafeHdc();
    if (hDC == NULL || cx <= 0 || cy <= 0)
        return;

    if (m_ImageBack.LoadImage()) {
        const int w = m_ImageBack.GetWidth(), h = m_ImageBack.GetHeight();
        for (int y = 0; y < cy; y += h)
            for (int x = 0; x < cx; x += w)
                m_ImageBack.BitBlt(hDC, x, y, std::min(w, cx - x), std::min(h, cy - y), 0, 0);
    } else {
        pDC->FillSolidRect(0, 0, cx, cy, CSkinAttribute::m_crBackground);
    }

    // Edges first, stretched between the corners, then the corners over them.
    const int wTL = m_ImageTL.GetWidth(), hTL = m_ImageTL.GetHeight();
    const int wTR = m_ImageTR.GetWidth(), hTR = m_ImageTR.GetHeight();
    const int wBL = m_ImageBL.GetWidth(), hBL = m_ImageBL.GetHeight();
    const int wBR = m_ImageBR.GetWidth(), hBR = m_ImageBR.GetHeight();
    if (m_ImageTM.LoadImage())
        m_ImageTM.StretchBlt(hDC, wTL, 0, cx - wTL - wTR, m_ImageTM.GetHeight(), 0, 0, m_ImageTM.GetWidth(),
                             m_ImageTM.GetHeight());
    if (m_ImageBM.LoadImage())
        m_ImageBM.StretchBlt(hDC, wBL, cy - m_ImageBM.GetHeight(), cx - wBL - wBR, m_ImageBM.GetHeight(), 0, 0,
                             m_ImageBM.GetWidth(), m_ImageBM.GetHeight());
    if (m_ImageL.LoadImage())
        m_ImageL.StretchBlt(hDC, 0, hTL, m_ImageL.GetWidth(), cy - hTL - hBL, 0, 0, m_ImageL.GetWidth(),
                            m_ImageL.GetHeight());
    if (m_ImageR.LoadImage())
        m_ImageR.StretchBlt(hDC, cx - m_ImageR.GetWidth(), hTR, m_ImageR.GetWidth(), cy - hTR - hBR, 0, 0,
                            m_ImageR.GetWidth(), m_ImageR.GetHeight());
    if (m_ImageTL.LoadImage())
        m_ImageTL.BitBlt(hDC, 0, 0);
    if (m_ImageTR.LoadImage())
        m_ImageTR.BitBlt(hDC, cx - wTR, 0);
    if (m_ImageBL.LoadImage())
        m_ImageBL.BitBlt(hDC, 0, cy - hBL);
    if (m_ImageBR.LoadImage())
        m_ImageBR.BitBlt(hDC, cx - wBR, cy - hBR);
}
