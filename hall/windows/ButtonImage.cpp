#include "ButtonImage.h"

#include <Picture.h>

CButtonImage::CButtonImage() : m_pPicture(NULL), m_nState(0), m_rcButton(0, 0, 0, 0) {}

void CButtonImage::SetImage(CPicture* pPicture, int x, int y)
{
    m_pPicture = pPicture;
    int cx = 0, cy = 0;
    if (pPicture != NULL && pPicture->IsValid()) {
        cx = (int)pPicture->GetWidth() / STATE_COUNT;
        cy = (int)pPicture->GetHeight();
    }
    m_rcButton.SetRect(x, y, x + cx, y + cy);
}

void CButtonImage::SetState(int nState)
{
    if (nState >= 0 && nState < STATE_COUNT)
        m_nState = nState;
}

void CButtonImage::Draw(CDC* pDC) const
{
    if (m_pPicture == NULL || !m_pPicture->IsValid() || m_rcButton.IsRectEmpty())
        return;
    const int x = m_rcButton.left - m_nState * m_rcButton.Width();
    m_pPicture->Draw(pDC->GetSafeHdc(), x, m_rcButton.top, -1, -1, &m_rcButton);
}
