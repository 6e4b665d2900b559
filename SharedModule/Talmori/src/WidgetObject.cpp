#include "WidgetObject.h"

#include "Picture.h"

namespace
{
bool IsUsable(CPicture* pPicture)
{
    return pPicture != NULL && pPicture->IsValid();
}
} // namespace

CWidgetObject::CWidgetObject()
    : m_pTopLeft(NULL), m_pTop(NULL), m_pTopRight(NULL), m_pBottomLeft(NULL), m_pBottom(NULL), m_pBottomRight(NULL),
      m_pLeft(NULL), m_pRight(NULL), m_pBackground(NULL)
{}

CWidgetObject::~CWidgetObject() {}

void CWidgetObject::DrawFrame(CDC* pDC, int x, int y, int w, int h)
{
    if (pDC == NULL)
        return;
    HDC hDC = pDC->GetSafeHdc();

    const int nTopLeftW = IsUsable(m_pTopLeft) ? m_pTopLeft->GetWidth() : 0;
    const int nTopLeftH = IsUsable(m_pTopLeft) ? m_pTopLeft->GetHeight() : 0;
    const int nTopRightW = IsUsable(m_pTopRight) ? m_pTopRight->GetWidth() : 0;
    const int nTopRightH = IsUsable(m_pTopRight) ? m_pTopRight->GetHeight() : 0;
    const int nBottomLeftW = IsUsable(m_pBottomLeft) ? m_pBottomLeft->GetWidth() : 0;
    const int nBottomLeftH = IsUsable(m_pBottomLeft) ? m_pBottomLeft->GetHeight() : 0;
    const int nBottomRightW = IsUsable(m_pBottomRight) ? m_pBottomRight->GetWidth() : 0;
    const int nBottomRightH = IsUsable(m_pBottomRight) ? m_pBottomRight->GetHeight() : 0;

    if (IsUsable(m_pBackground))
        m_pBackground->Draw(hDC, x, y, w, h, NULL, false);
    if (IsUsable(m_pTopLeft))
        m_pTopLeft->Draw(hDC, x, y, -1, -1, NULL, false);
    // Edges span the space between their corners, at their natural thickness.
    if (IsUsable(m_pTop))
        m_pTop->Draw(hDC, x + nTopLeftW, y, w - nTopLeftW - nTopRightW, m_pTop->GetHeight(), NULL, false);
    if (IsUsable(m_pTopRight))
        m_pTopRight->Draw(hDC, x + w - nTopRightW, y, -1, -1, NULL, false);
    if (IsUsable(m_pBottomLeft))
        m_pBottomLeft->Draw(hDC, x, y + h - nBottomLeftH, -1, -1, NULL, false);
    if (IsUsable(m_pBottom))
        m_pBottom->Draw(hDC, x + nBottomLeftW, y + h - m_pBottom->GetHeight(), w - nBottomLeftW - nBottomRightW,
                        m_pBottom->GetHeight(), NULL, false);
    if (IsUsable(m_pBottomRight))
        m_pBottomRight->Draw(hDC, x + w - nBottomRightW, y + h - nBottomRightH, -1, -1, NULL, false);
    // The side edges stop at the bottom corners instead of painting over them.
    if (IsUsable(m_pLeft))
        m_pLeft->Draw(hDC, x, y + nTopLeftH, m_pLeft->GetWidth(), h - nTopLeftH - nBottomLeftH, NULL, false);
    if (IsUsable(m_pRight))
        m_pRight->Draw(hDC, x + w - m_pRight->GetWidth(), y + nTopRightH, m_pRight->GetWidth(),
                       h - nTopRightH - nBottomRightH, NULL, false);
}
