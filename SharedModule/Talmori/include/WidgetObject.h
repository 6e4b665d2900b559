// Nine-piece frame painter that tab widgets mix in. The pictures belong to
// whoever sets them.
#pragma once

#include <afxwin.h>

#include "TalmoriApi.h"

class CPicture;

class TALMORI_API CWidgetObject
{
public:
    CWidgetObject();
    virtual ~CWidgetObject();

    void DrawFrame(CDC* pDC, int x, int y, int w, int h);

protected:
    CPicture* m_pTopLeft;
    CPicture* m_pTop;
    CPicture* m_pTopRight;
    CPicture* m_pBottomLeft;
    CPicture* m_pBottom;
    CPicture* m_pBottomRight;
    CPicture* m_pLeft;
    CPicture* m_pRight;
    CPicture* m_pBackground;
};
