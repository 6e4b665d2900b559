#include "StaticEx.h"

BEGIN_MESSAGE_MAP(CStaticEx, CStatic)
    ON_WM_PAINT()
END_MESSAGE_MAP()

void CStaticEx::OnPaint()
{
    CPaintDC dc(this);
    CString strText = m_strText;
    if (strText.IsEmpty())
        GetWindowText(strText);
    CFont* pOldFont = dc.SelectObject(m_Font.GetSafeHandle() != NULL ? &m_Font : GetFont());
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(m_crText);
    dc.TextOut(0, 0, strText);
    dc.SelectObject(pOldFont);
}
