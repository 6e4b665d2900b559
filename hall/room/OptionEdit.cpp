#include "OptionEdit.h"

IMPLEMENT_DYNAMIC(COptionEdit, CEdit)

BEGIN_MESSAGE_MAP(COptionEdit, CEdit)
    ON_WM_PAINT()
END_MESSAGE_MAP()

COptionEdit::COptionEdit() {}

COptionEdit::~COptionEdit() {}

void COptionEdit::OnPaint()
{
    Default();
    CWindowDC dc(this);
    CRect rc;
    GetWindowRect(&rc);
    rc.OffsetRect(-rc.left, -rc.top);
    rc.DeflateRect(1, 1);
    CBrush brush;
    brush.CreateSolidBrush(OPTION_FRAME_COLOUR);
    dc.FrameRect(&rc, &brush);
}
