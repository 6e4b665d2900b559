// A 32-bit top-down DIB section selected into a memory DC: something to draw
// into or print a window into (PrintWindow), with its pixels to check.
// Painting tests check geometry and colours, never glyph pixels.
#pragma once

#include <afxwin.h>

class CMemoryCanvas
{
public:
    CMemoryCanvas(int width, int height, COLORREF crFill = RGB(255, 255, 255));
    ~CMemoryCanvas();
    CMemoryCanvas(const CMemoryCanvas&) = delete;
    CMemoryCanvas& operator=(const CMemoryCanvas&) = delete;

    HDC GetSafeHdc() const { return m_hDC; }
    CDC* DC() const { return CDC::FromHandle(m_hDC); }
    int Width() const { return m_width; }
    int Height() const { return m_height; }

    // The pixel as a COLORREF; CLR_INVALID outside the canvas.
    COLORREF At(int x, int y) const;
    // The pixel as stored, 0xAARRGGBB.
    DWORD Raw(int x, int y) const;
    // Pixels of that colour within the rectangle (the whole canvas: NULL).
    int Count(COLORREF colour, const RECT* pArea = NULL) const;

    void Fill(COLORREF colour) { Fill(0, 0, m_width, m_height, colour); }
    void Fill(int left, int top, int right, int bottom, COLORREF colour);
    // The window paints itself into the canvas at its top left corner.
    BOOL Print(HWND hWnd, UINT nFlags = 0);

private:
    HDC m_hDC;
    HBITMAP m_hBitmap;
    HGDIOBJ m_hOld;
    DWORD* m_pBits;
    int m_width;
    int m_height;
};
