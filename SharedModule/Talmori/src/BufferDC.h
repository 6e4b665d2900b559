// Off-screen context for one paint: everything goes to a memory bitmap that
// reaches the target when the object is destroyed.
#pragma once

#include <afxwin.h>

class CBufferDC : public CDC
{
public:
    CBufferDC(HDC hTargetDC, const CRect& rcPaint);
    virtual ~CBufferDC();

    // Text and visibility work on the memory context only.
    using CDC::DrawText;
    using CDC::ExtTextOut;
    using CDC::PtVisible;
    using CDC::TextOut;
    BOOL PtVisible(int x, int y) const override;
    BOOL RectVisible(LPCRECT lpRect) const override;
    virtual BOOL TextOut(int x, int y, LPCTSTR lpszString, int nCount);
    virtual BOOL ExtTextOut(int x, int y, UINT nOptions, LPCRECT lpRect, LPCTSTR lpszString, UINT nCount,
                            LPINT lpDxWidths);
    virtual CSize TabbedTextOut(int x, int y, LPCTSTR lpszString, int nCount, int nTabPositions,
                                LPINT lpnTabStopPositions, int nTabOrigin);
    virtual int DrawText(LPCTSTR lpszString, int nCount, LPRECT lpRect, UINT nFormat);
    virtual int DrawTextEx(LPTSTR lpszString, int nCount, LPRECT lpRect, UINT nFormat, LPDRAWTEXTPARAMS lpDTParams);
    virtual BOOL GrayString(CBrush* pBrush, BOOL(CALLBACK* lpfnOutput)(HDC, LPARAM, int), LPARAM lpData, int nCount,
                            int x, int y, int nWidth, int nHeight);
    int Escape(int nEscape, int nCount, LPCSTR lpszInData, LPVOID lpOutData);

protected:
    HDC m_hTargetDC;
    CRect m_rcPaint;
    CBitmap m_Bitmap;
    HGDIOBJ m_hOldBitmap;
};
