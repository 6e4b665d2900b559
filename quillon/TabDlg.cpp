#include "TabDlg.h"

#include "RecordCodec.h"
#include "XTVBufferDC.h"
#include "res/resource.h"

BEGIN_MESSAGE_MAP(CTabDlg, CDialog)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CTabDlg::CTabDlg(UINT nIDTemplate) : CDialog(nIDTemplate)
{
    m_ImageBack.SetLoadInfo(IDB_PAGE_BACK, AfxGetResourceHandle());
}

CWnd* CTabDlg::GetMainDialog()
{
    return GetTopLevelParent();
}

void CTabDlg::NotifyModified(WORD wAttrID, LPCSTR pszValue)
{
    tagModifyAttr attr;
    memset(&attr, 0, sizeof(attr));
    attr.wAttrID = wAttrID;
    CopyTextField(attr.szValue, pszValue);
    CWnd* pMain = GetMainDialog();
    if (pMain != NULL)
        pMain->SendMessage(WM_QUILLON_MODIFY, WPARAM(&attr), 1);
}

void CTabDlg::RegisterForSubmit()
{
    CWnd* pMain = GetMainDialog();
    if (pMain != NULL)
        pMain->PostMessage(WM_QUILLON_MODIFY, WPARAM(this), 0);
}

void CTabDlg::OnOK()
{
    RegisterForSubmit();
    CWnd* pMain = GetMainDialog();
    if (pMain != NULL)
        pMain->PostMessage(WM_COMMAND, IDOK, 0);
}

void CTabDlg::DrawBackground(CDC* pDC)
{
    CRect rcClient;
    GetClientRect(&rcClient);
    pDC->FillSolidRect(&rcClient, RGB(255, 255, 255));
    CPen pen(PS_SOLID, 1, RGB(29, 82, 90));
    CPen* pOldPen = pDC->SelectObject(&pen);
    pDC->MoveTo(rcClient.left, rcClient.top);
    pDC->LineTo(rcClient.left, rcClient.bottom - 1);
    pDC->LineTo(rcClient.right - 1, rcClient.bottom - 1);
    pDC->LineTo(rcClient.right - 1, rcClient.top - 1);
    pDC->SelectObject(pOldPen);
}

void CTabDlg::OnPaint()
{
    CPaintDC dc(this);
    CXTVBufferDC buffer(dc);
    DrawBackground(&buffer);
}

BOOL CTabDlg::OnEraseBkgnd(CDC*)
{
    return TRUE;
}
