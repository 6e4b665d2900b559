#include "WidgetDC.h"

CWidgetDC::CWidgetDC(CDC* pDC, const CRect& rcClip) : m_pDC(pDC), m_nOriginX(0), m_nOriginY(0)
{
    m_rcClip = rcClip;
}

CWidgetDC::CWidgetDC(const CWidgetDC& other)
    : m_pDC(other.m_pDC), m_nOriginX(other.m_nOriginX), m_nOriginY(other.m_nOriginY), m_rcClip(other.m_rcClip)
{}

CWidgetDC& CWidgetDC::operator=(const CWidgetDC& other)
{
    m_pDC = other.m_pDC;
    m_nOriginX = other.m_nOriginX;
    m_nOriginY = other.m_nOriginY;
    m_rcClip = other.m_rcClip;
    return *this;
}

CWidgetDC::~CWidgetDC() {}

void CWidgetDC::Translate(int dx, int dy)
{
    m_nOriginX += dx;
    m_nOriginY += dy;
}

void CWidgetDC::TranslatePoint(POINT* pPoint) const
{
    pPoint->x += m_nOriginX;
    pPoint->y += m_nOriginY;
}

void CWidgetDC::TranslateRect(RECT* pRect) const
{
    CRect rc(pRect);
    rc.OffsetRect(m_nOriginX, m_nOriginY);
    CRect rcClip(m_rcClip);
    CRect rcOut;
    rcOut.IntersectRect(&rc, &rcClip);
    *pRect = rcOut;
}

CRect CWidgetDC::TranslateRect(int x, int y, int w, int h) const
{
    CRect rc(x, y, x + w, y + h);
    TranslateRect(&rc);
    return rc;
}

void CWidgetDC::FillSolidRect(const RECT* pRect, COLORREF color)
{
    if (m_pDC == NULL)
        return;
    CRect rc(pRect);
    TranslateRect(&rc);
    if (!rc.IsRectEmpty())
        m_pDC->FillSolidRect(&rc, color);
}

void CWidgetDC::FillSolidRect(int x, int y, int w, int h, COLORREF color)
{
    CRect rc(x, y, x + w, y + h);
    FillSolidRect(&rc, color);
}
