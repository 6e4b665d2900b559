#include "SkinDialog.h"
#include "SkinAttribute.h"

IMPLEMENT_DYNAMIC(CSkinDialog, CDialog)

BEGIN_MESSAGE_MAP(CSkinDialog, CDialog)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_SIZE()
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

CSkinDialog::CSkinDialog() : CSkinWndObject(this) {}

CSkinDialog::CSkinDialog(UINT nIDTemplate, CWnd* pParentWnd) : CDialog(nIDTemplate, pParentWnd), CSkinWndObject(this) {}

CSkinDialog::CSkinDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd)
    : CDialog(lpszTemplateName, pParentWnd), CSkinWndObject(this)
{}

CSkinDialog::~CSkinDialog() {}

BOOL CSkinDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    CSkinDialog::InitSkinObject();
    return TRUE;
}

void CSkinDialog::InitSkinObject()
{
    CSkinWndObject::InitSkinObject();
    if (GetSafeHwnd() != NULL)
        Invalidate(TRUE);
}

void CSkinDialog::OnPaint()
{
    CPaintDC dc(this);
    DrawSkinView(&dc);
    DrawSkinCaption(&dc);
}

BOOL CSkinDialog::OnEraseBkgnd(CDC* pDC)
{
    return TRUE;
}

void CSkinDialog::OnSize(UINT nType, int cx, int cy)
{
    CDialog::OnSize(nType, cx, cy);
    // Edges stretch with the size: everything moves.
    Invalidate(FALSE);
}

HBRUSH CSkinDialog::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    switch (nCtlColor) {
    case CTLCOLOR_DLG: return (HBRUSH)CSkinAttribute::GetBackgroundBrush()->GetSafeHandle();
    case CTLCOLOR_STATIC:
    case CTLCOLOR_BTN:
        pDC->SetBkMode(TRANSPARENT);
        pDC->SetTextColor(CSkinAttribute::m_crText);
        return (HBRUSH)::GetStockObject(NULL_BRUSH);
    default: return CDialog::OnCtlColor(pDC, pWnd, nCtlColor);
    }
}
