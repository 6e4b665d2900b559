#include "ButtonWidget.h"

#include <string.h>

#include "Picture.h"
#include "TextUnit.h"
#include "WidgetDC.h"

CButtonWidget::CButtonWidget()
    : m_nID(-1), m_pListener(NULL), m_pFont(NULL), m_crCaption(RGB(0, 0, 0)), m_nStyle(BUTTON_STYLE_NORMAL),
      m_nPushed(0), m_hIcon(NULL), m_pImageBack(NULL)
{
    m_szCaption[0] = '\0';
}

CButtonWidget::CButtonWidget(int nID, IButtonListener* pListener) : CButtonWidget()
{
    m_nID = nID;
    m_pListener = pListener;
}

CButtonWidget::~CButtonWidget() {}

BOOL CButtonWidget::Create(int nID, IButtonListener* pListener, const char* pszText, UINT nStyle)
{
    if (m_nID == -1)
        m_nID = nID;
    if (m_pListener == NULL)
        m_pListener = pListener;
    if (pszText != NULL)
        TextCopyField(m_szCaption, sizeof(m_szCaption), pszText);
    if (nStyle == BUTTON_STYLE_NORMAL || nStyle == BUTTON_STYLE_PUSH)
        m_nStyle = nStyle;
    return TRUE;
}

void CButtonWidget::SetImageBack(CPicture* pPicture)
{
    m_pImageBack = pPicture;
    if (pPicture != NULL && pPicture->IsValid())
        Resize(m_nLeft, m_nTop, (int)pPicture->GetWidth() / 4, (int)pPicture->GetHeight());
}

void CButtonWidget::SetFont(CFont* pFont)
{
    m_pFont = pFont;
}

BOOL CButtonWidget::SetTextColor(COLORREF color)
{
    m_crCaption = color;
    return TRUE;
}

void CButtonWidget::SetButtonStyle(UINT nStyle)
{
    if (nStyle == BUTTON_STYLE_NORMAL || nStyle == BUTTON_STYLE_PUSH)
        m_nStyle = nStyle;
}

void CButtonWidget::SetPushed(int nPushed)
{
    if (m_nPushed == nPushed)
        return;
    m_nPushed = nPushed;
    // The frame shown depends on it.
    MarkDirty();
}

BOOL CButtonWidget::IsPushed()
{
    return m_nPushed != 0;
}

BOOL CButtonWidget::IsButtonDown() const
{
    return m_bPressed && m_bMouseOver && !m_bDisabled;
}

BOOL CButtonWidget::SetButtonIcon(HICON hIcon)
{
    if (hIcon == NULL)
        return FALSE;
    m_hIcon = hIcon;
    return TRUE;
}

void CButtonWidget::SetDisabled(bool bDisabled)
{
    CWidget::SetDisabled(bDisabled);
    if (m_szCaption[0] != '\0')
        m_crCaption = bDisabled ? BUTTON_DISABLED_TEXT_COLOR : RGB(0, 0, 0);
}

CString CButtonWidget::GetButtonText()
{
    return CString(m_szCaption);
}

void CButtonWidget::MouseEnter()
{
    MarkDirty();
}

void CButtonWidget::MouseLeave()
{
    MarkDirty();
}

void CButtonWidget::MouseMove(UINT nFlags, CPoint point) {}

void CButtonWidget::LButtonDblClk(UINT nFlags, CPoint point)
{
    if (m_pListener != NULL)
        m_pListener->ButtonDblClk(m_nID);
}

void CButtonWidget::LButtonDown(int x, int y)
{
    m_bPressed = true;
    if (m_nStyle == BUTTON_STYLE_PUSH) {
        m_nPushed = m_nPushed ? 0 : 1;
        MarkDirty();
        // Last: the listener may take the button away.
        if (m_pListener != NULL)
            m_pListener->ButtonClick(m_nID);
        return;
    }
    MarkDirty();
}

void CButtonWidget::LButtonUp(int x, int y)
{
    m_bPressed = false;
    MarkDirty();
    if (m_nStyle != BUTTON_STYLE_NORMAL)
        return;
    // A click is a release on the button itself, and never one of a disabled button.
    if (x >= 0 && x < m_nWidth && y >= 0 && y < m_nHeight && !m_bDisabled && m_pListener != NULL)
        m_pListener->ButtonClick(m_nID);
}

void CButtonWidget::Draw(CWidgetDC* pDC)
{
    if (pDC == NULL || pDC->GetDC() == NULL)
        return;
    CDC* pCDC = pDC->GetDC();
    CFont* pOldFont = NULL;
    if (m_pFont != NULL)
        pOldFont = pCDC->SelectObject(m_pFont);

    // The context's origin is where the tree placed this button.
    CPoint pt(0, 0);
    pDC->TranslatePoint(&pt);
    CRect rect(pt.x, pt.y, pt.x + m_nWidth, pt.y + m_nHeight);
    if (m_nStyle == BUTTON_STYLE_NORMAL)
        DrawButtonImage(pCDC, rect);
    else
        DrawPushButton(pCDC, rect);

    if (pOldFont != NULL)
        pCDC->SelectObject(pOldFont);
}

void CButtonWidget::DrawButtonImage(CDC* pDC, const CRect& rect)
{
    if (m_pImageBack == NULL || !m_pImageBack->IsValid() || !m_bVisible)
        return;
    int nIndex = 0;
    if (m_bDisabled)
        nIndex = 3;
    else if (m_bPressed)
        nIndex = 2;
    else if (m_bMouseOver)
        nIndex = 1;
    int nFrameWidth = (int)m_pImageBack->GetWidth() / 4;
    DrawButtonPos(pDC, m_pImageBack, rect.left, rect.top, nIndex, nFrameWidth, (int)m_pImageBack->GetHeight());
    DrawButtonText(pDC, rect);
}

void CButtonWidget::DrawPushButton(CDC* pDC, const CRect& rect)
{
    if (m_pImageBack != NULL && m_pImageBack->IsValid()) {
        int nIndex = m_nPushed ? 1 : 0;
        int nFrameWidth = (int)m_pImageBack->GetWidth() / 2;
        DrawButtonPos(pDC, m_pImageBack, rect.left, rect.top, nIndex, nFrameWidth, (int)m_pImageBack->GetHeight());
    }
    DrawButtonText(pDC, rect);
}

void CButtonWidget::DrawButtonPos(CDC* pDC, CPicture* pPicture, int x, int y, int nIndex, int nFrameWidth, int nHeight)
{
    if (pDC == NULL || pPicture == NULL || !pPicture->IsValid())
        return;
    RECT rcClip = {x, y, x + nFrameWidth, y + nHeight};
    pPicture->Draw(pDC->GetSafeHdc(), x - nIndex * nFrameWidth, y, -1, -1, &rcClip, false);
}

void CButtonWidget::DrawButtonText(CDC* pDC, const CRect& rect)
{
    if (m_szCaption[0] == '\0')
        return;
    CFont font;
    font.CreateFont(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET, OUT_STROKE_PRECIS, CLIP_STROKE_PRECIS,
                    DRAFT_QUALITY, VARIABLE_PITCH, "宋体");
    CFont* pOldFont = pDC->SelectObject(&font);
    int nOldMode = pDC->SetBkMode(TRANSPARENT);
    COLORREF crOld = pDC->SetTextColor(m_crCaption);
    CRect rcText(rect);
    pDC->DrawText(m_szCaption, -1, &rcText, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    pDC->SetTextColor(crOld);
    pDC->SetBkMode(nOldMode);
    pDC->SelectObject(pOldFont);
}
