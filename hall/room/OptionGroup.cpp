#include "OptionGroup.h"

#include "OptionEdit.h"

IMPLEMENT_DYNAMIC(COptionGroup, CStatic)

BEGIN_MESSAGE_MAP(COptionGroup, CStatic)
    ON_WM_PAINT()
END_MESSAGE_MAP()

COptionGroup::COptionGroup()
{
    m_Font.CreateFont(12, 0, 0, 0, 300, FALSE, FALSE, FALSE, GB2312_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                      DEFAULT_QUALITY, DEFAULT_PITCH, "宋体");
}

COptionGroup::~COptionGroup() {}

void COptionGroup::OnPaint()
{
    CPaintDC dc(this);
    CRect rc;
    GetClientRect(&rc);
    dc.FillSolidRect(&rc, RGB(211, 233, 246));

    CString strCaption;
    GetWindowText(strCaption);
    CFont* pOldFont = dc.SelectObject(&m_Font);
    const CSize size = dc.GetTextExtent(strCaption);
    CRect rcFrame(rc.left, rc.top + size.cy / 2, rc.right, rc.bottom);
    CBrush brush;
    brush.CreateSolidBrush(OPTION_FRAME_COLOUR);
    dc.FrameRect(&rcFrame, &brush);

    // The caption interrupts the top line.
    dc.SetBkMode(OPAQUE);
    dc.SetBkColor(RGB(211, 233, 246));
    dc.SetTextColor(RGB(0, 112, 125));
    dc.TextOut(rc.left + 8, rc.top, strCaption);
    dc.SelectObject(pOldFont);
}
