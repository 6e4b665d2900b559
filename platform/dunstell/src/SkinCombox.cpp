#include "SkinCombox.h"
#include "SkinAttribute.h"

IMPLEMENT_DYNAMIC(CSkinCombox, CComboBox)

BEGIN_MESSAGE_MAP(CSkinCombox, CComboBox)
    ON_WM_PAINT()
END_MESSAGE_MAP()

CSkinCombox::CSkinCombox() {}

CSkinCombox::~CSkinCombox() {}

void CSkinCombox::OnPaint()
{
    // The control paints itself; the skin only replaces its outer edge.
    Default();
    CClientDC dc(this);
    CRect rcClient;
    GetClientRect(&rcClient);
    dc.Draw3dRect(&rcClient, CSkinAttribute::m_crBorder, CSkinAttribute::m_crBorder);
}
