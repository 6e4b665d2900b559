#include "BufferDC.h"

CBufferDC::CBufferDC(HDC hTargetDC, const CRect& rcPaint)
    : m_hTargetDC(hTargetDC), m_rcPaint(rcPaint), m_hOldBitmap(NULL)
{
    Attach(::CreateCompatibleDC(hTargetDC));
    // Never a zero-sized bitmap, even when nothing needs painting.
    int nWidth = rcPaint.right > 1 ? rcPaint.right : 1;
    int nHeight = rcPaint.bottom > 1 ? rcPaint.bottom : 1;
    m_Bitmap.Attach(::CreateCompatibleBitmap(hTargetDC, nWidth, nHeight));
    m_hOldBitmap = ::SelectObject(m_hDC, m_Bitmap.GetSafeHandle());
    CRgn rgnClip;
    rgnClip.CreateRectRgnIndirect(&m_rcPaint);
    SelectClipRgn(&rgnClip);
}

CBufferDC::~CBufferDC()
{
    if (m_hDC == NULL)
        return;
    ::BitBlt(m_hTargetDC, m_rcPaint.left, m_rcPaint.top, m_rcPaint.Width(), m_rcPaint.Height(), m_hDC, m_rcPaint.left,
             m_rcPaint.top, SRCCOPY);
    ::SelectObject(m_hDC, m_hOldBitmap);
    DeleteDC();
}

BOOL CBufferDC::PtVisible(int x, int y) const
{
    return ::PtVisible(m_hDC, x, y);
}

BOOL CBufferDC::RectVisible(LPCRECT lpRect) const
{
    return ::RectVisible(m_hDC, lpRect);
}

BOOL CBufferDC::TextOut(int x, int y, LPCTSTR lpszString, int nCount)
{
    return ::TextOut(m_hDC, x, y, lpszString, nCount);
}

BOOL CBufferDC::ExtTextOut(int x, int y, UINT nOptions, LPCRECT lpRect, LPCTSTR lpszString, UINT nCount,
                           LPINT lpDxWidths)
{
    return ::ExtTextOut(m_hDC, x, y, nOptions, lpRect, lpszString, nCount, lpDxWidths);
}

CSize CBufferDC::TabbedTextOut(int x, int y, LPCTSTR lpszString, int nCount, int nTabPositions,
                               LPINT lpnTabStopPositions, int nTabOrigin)
{
    return CSize(
        (DWORD)::TabbedTextOut(m_hDC, x, y, lpszString, nCount, nTabPositions, lpnTabStopPositions, nTabOrigin));
}

int CBufferDC::DrawText(LPCTSTR lpszString, int nCount, LPRECT lpRect, UINT nFormat)
{
    return ::DrawText(m_hDC, lpszString, nCount, lpRect, nFormat);
}

int CBufferDC::DrawTextEx(LPTSTR lpszString, int nCount, LPRECT lpRect, UINT nFormat, LPDRAWTEXTPARAMS lpDTParams)
{
    return ::DrawTextEx(m_hDC, lpszString, nCount, lpRect, nFormat, lpDTParams);
}

BOOL CBufferDC::GrayString(CBrush* pBrush, BOOL(CALLBACK* lpfnOutput)(HDC, LPARAM, int), LPARAM lpData, int nCount,
                           int x, int y, int nWidth, int nHeight)
{
    return ::GrayString(m_hDC, (HBRUSH)pBrush->GetSafeHandle(), (GRAYSTRINGPROC)lpfnOutput, lpData, nCount, x, y,
                        nWidth, nHeight);
}

int CBufferDC::Escape(int nEscape, int nCount, LPCSTR lpszInData, LPVOID lpOutData)
{
    return ::Escape(m_hDC, nEscape, nCount, lpszInData, lpOutData);
}
