#include "SkinEditEx.h"

BEGIN_MESSAGE_MAP(CSkinEditEx, CEdit)
    ON_WM_NCPAINT()
    ON_WM_PAINT()
END_MESSAGE_MAP()

CSkinEditEx::CSkinEditEx() : m_crBorder(RGB(46, 126, 163)) {}

void CSkinEditEx::OnNcPaint() {}

void CSkinEditEx::OnPaint()
{
    {
        CClientDC dc(this);
        CRect rcFrame;
        GetClientRect(&rcFrame);
        rcFrame.InflateRect(1, 1);
        dc.Draw3dRect(&rcFrame, m_crBorder, m_crBorder);
    }
    Default();
}
