// A device context as widgets see it: a drawing origin and a clip rectangle
// over a class-library context.
#pragma once

#include <afxwin.h>

#include "TalmoriApi.h"

class TALMORI_API CWidgetDC
{
public:
    CWidgetDC(CDC* pDC, const CRect& rcClip);
    CWidgetDC(const CWidgetDC& other);
    CWidgetDC& operator=(const CWidgetDC& other);
    virtual ~CWidgetDC();

    CDC* GetDC() const { return m_pDC; }
    void Translate(int dx, int dy);
    void TranslatePoint(POINT* pPoint) const;
    // Offset by the origin, then cut to the clip rectangle.
    void TranslateRect(RECT* pRect) const;
    CRect TranslateRect(int x, int y, int w, int h) const;
    void FillSolidRect(const RECT* pRect, COLORREF color);
    void FillSolidRect(int x, int y, int w, int h, COLORREF color);

protected:
    CDC* m_pDC;
    int m_nOriginX;
    int m_nOriginY;
    RECT m_rcClip;
};
