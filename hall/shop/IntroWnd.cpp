#include "IntroWnd.h"

#include "TextUnit.h"

namespace
{
void SelectCardFont(CDC* pDC, CFont& font)
{
    font.CreateFont(-12, 0, 0, 0, 400, 0, 0, 0, GB2312_CHARSET, 0, 0, 0, 0, "宋体");
    pDC->SelectObject(&font);
}
} // namespace

BEGIN_MESSAGE_MAP(CIntroWnd, CWnd)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CIntroWnd::CIntroWnd()
{
    m_szDescription[0] = '\0';
}

CIntroWnd::~CIntroWnd()
{
    if (m_hWnd != NULL && ::IsWindow(m_hWnd))
        DestroyWindow();
}

void CIntroWnd::LoadPictures(LPCSTR pszFolder)
{
    CString folder(pszFolder);
    m_Top.Load(folder + "ItemExpalnT.png");
    m_Middle.Load(folder + "ItemExpalnM.png");
    m_Bottom.Load(folder + "ItemExpalnB.png");
}

void CIntroWnd::SetDescription(LPCSTR pszText)
{
    TextCopyField(m_szDescription, pszText != NULL ? pszText : "");
}

int CIntroWnd::MeasureTextHeight(CDC* pDC) const
{
    CFont font;
    CFont* pOld = pDC->GetCurrentFont();
    SelectCardFont(pDC, font);
    CRect rc(0, 0, kTextWidth, 0);
    pDC->DrawText(m_szDescription, -1, &rc, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    pDC->SelectObject(pOld);
    return rc.Height();
}

void CIntroWnd::OnPaint()
{
    CPaintDC dc(this);
    CRect rc;
    GetClientRect(&rc);
    int nTop = m_Top.IsValid() ? (int)m_Top.GetHeight() : 0;
    int nBottom = m_Bottom.IsValid() ? (int)m_Bottom.GetHeight() : 0;
    if (m_Top.IsValid())
        m_Top.Draw(dc.GetSafeHdc(), 0, 0);
    if (m_Middle.IsValid() && rc.Height() > nTop + nBottom)
        m_Middle.Draw(dc.GetSafeHdc(), 0, nTop, rc.Width(), rc.Height() - nTop - nBottom);
    if (m_Bottom.IsValid())
        m_Bottom.Draw(dc.GetSafeHdc(), 0, rc.Height() - nBottom);
    CFont font;
    CFont* pOld = dc.GetCurrentFont();
    SelectCardFont(&dc, font);
    dc.SetBkMode(TRANSPARENT);
    CRect rcTitle(30, 6, 60, 60);
    dc.DrawText("说明", -1, &rcTitle, DT_NOPREFIX | DT_SINGLELINE);
    CRect rcText(11, nTop, 131, rc.bottom);
    dc.DrawText(m_szDescription, -1, &rcText, DT_WORDBREAK | DT_NOPREFIX);
    dc.SelectObject(pOld);
}
