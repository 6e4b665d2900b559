#include "SkinRichEdit.h"
#include "SkinEdit.h"

IMPLEMENT_DYNAMIC(CSkinRichEdit, CRichEditCtrl)

BEGIN_MESSAGE_MAP(CSkinRichEdit, CRichEditCtrl)
    ON_WM_NCPAINT()
END_MESSAGE_MAP()

CSkinRichEdit::CSkinRichEdit() {}

CSkinRichEdit::~CSkinRichEdit() {}

void CSkinRichEdit::OnNcPaint()
{
    Default();
    SkinFrameControlBorder(this);
}
