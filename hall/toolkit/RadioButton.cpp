#include "RadioButton.h"

#include "GlobalUnits.h"

#include <SkinImage.h>
#include <XTVBufferDC.h>

BEGIN_MESSAGE_MAP(CRadioButton, CButton)
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
    ON_MESSAGE(BM_GETCHECK, OnGetCheck)
    ON_MESSAGE(BM_SETCHECK, OnSetCheck)
END_MESSAGE_MAP()

namespace
{
const COLORREF kBack = RGB(0xF2, 0xFA, 0xFF);
}

CRadioButton::CRadioButton() : m_bChecked(0), m_bFocused(0), m_pImageChecked(NULL), m_pImageUnchecked(NULL) {}

CRadioButton::~CRadioButton() {}

void CRadioButton::PreSubclassWindow()
{
    CButton::PreSubclassWindow();
    ModifyStyle(BS_TYPEMASK, BS_OWNERDRAW);
}

void CRadioButton::SetImages(CSkinImage* pChecked, CSkinImage* pUnchecked)
{
    m_pImageChecked = pChecked;
    m_pImageUnchecked = pUnchecked;
}

void CRadioButton::SetChecked(bool bChecked)
{
    m_bChecked = bChecked ? 1 : 0;
    if (m_hWnd != NULL)
        Invalidate(TRUE);
}

LRESULT CRadioButton::OnGetCheck(WPARAM, LPARAM)
{
    return m_bChecked ? 1 : 0;
}

LRESULT CRadioButton::OnSetCheck(WPARAM wParam, LPARAM)
{
    m_bChecked = wParam != 0 ? 1 : 0;
    return 1;
}

void CRadioButton::OnSetFocus(CWnd* pOldWnd)
{
    CButton::OnSetFocus(pOldWnd);
    m_bFocused = 1;
    Invalidate(TRUE);
}

void CRadioButton::OnKillFocus(CWnd* pNewWnd)
{
    CButton::OnKillFocus(pNewWnd);
    m_bFocused = 0;
    Invalidate(TRUE);
}

void CRadioButton::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    CDC* pTarget = CDC::FromHandle(lpDrawItemStruct->hDC);
    CRect rcItem(lpDrawItemStruct->rcItem);
    CXTVBufferDC dc(pTarget, rcItem);
    dc.FillSolidRect(&rcItem, kBack);

    CRect rcClient;
    GetClientRect(&rcClient);
    CSkinImage* pImage = SendMessage(BM_GETCHECK) == 1 ? m_pImageChecked : m_pImageUnchecked;
    int w = 0;
    if (pImage != NULL && pImage->LoadImage()) {
        w = pImage->GetWidth() / 2;
        const int h = pImage->GetHeight();
        const int nFrame = IsWindowEnabled() ? 0 : 1;
        pImage->BitBlt(dc.GetSafeHdc(), 0, 0, w, h, nFrame * w, 0);
    }

    int nOldMode = dc.SetBkMode(TRANSPARENT);
    CFont* pFont = g_GlobalUnits.GetFont();
    HGDIOBJ hOldFont = pFont->GetSafeHandle() != NULL ? ::SelectObject(dc.GetSafeHdc(), pFont->GetSafeHandle()) : NULL;
    CString strText;
    GetWindowText(strText);
    CRect rcText(w, 0, rcClient.Width(), rcClient.Height());
    dc.DrawText(strText, &rcText, DT_CENTER | DT_VCENTER | DT_WORDBREAK);
    if (hOldFont != NULL)
        ::SelectObject(dc.GetSafeHdc(), hOldFont);
    dc.SetBkMode(nOldMode);

    if (m_bFocused) {
        CPen pen(PS_DOT, 0, RGB(0, 0, 0));
        CPen* pOldPen = dc.SelectObject(&pen);
        CGdiObject* pOldBrush = dc.SelectStockObject(NULL_BRUSH);
        dc.Rectangle(w + 3, 0, rcClient.Width() - 3, rcClient.Height() - 3);
        dc.SelectObject(pOldBrush);
        dc.SelectObject(pOldPen);
    }
}
