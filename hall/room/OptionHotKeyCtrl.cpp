#include "OptionHotKeyCtrl.h"

#include "OptionEdit.h"

IMPLEMENT_DYNAMIC(COptionHotKeyCtrl, CHotKeyCtrl)

BEGIN_MESSAGE_MAP(COptionHotKeyCtrl, CHotKeyCtrl)
    ON_WM_NCPAINT()
END_MESSAGE_MAP()

COptionHotKeyCtrl::COptionHotKeyCtrl() {}

COptionHotKeyCtrl::~COptionHotKeyCtrl() {}

void COptionHotKeyCtrl::OnNcPaint()
{
    CWindowDC dc(this);
    CRect rc;
    GetWindowRect(&rc);
    rc.OffsetRect(-rc.left, -rc.top);
    CBrush brush;
    brush.CreateSolidBrush(OPTION_FRAME_COLOUR);
    dc.FrameRect(&rc, &brush);
}
