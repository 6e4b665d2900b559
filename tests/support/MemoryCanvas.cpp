#include "MemoryCanvas.h"

CMemoryCanvas::CMemoryCanvas(int width, int height, COLORREF crFill) : m_pBits(NULL), m_width(width), m_height(height)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* pBits = NULL;
    m_hBitmap = CreateDIBSection(NULL, &info, DIB_RGB_COLORS, &pBits, NULL, 0);
    m_pBits = static_cast<DWORD*>(pBits);
    m_hDC = CreateCompatibleDC(NULL);
    m_hOld = SelectObject(m_hDC, m_hBitmap);
    Fill(crFill);
}

CMemoryCanvas::~CMemoryCanvas()
{
    SelectObject(m_hDC, m_hOld);
    DeleteDC(m_hDC);
    DeleteObject(m_hBitmap);
}

DWORD CMemoryCanvas::Raw(int x, int y) const
{
    GdiFlush();
    return m_pBits[size_t(y) * m_width + x];
}

COLORREF CMemoryCanvas::At(int x, int y) const
{
    if (m_pBits == NULL || x < 0 || y < 0 || x >= m_width || y >= m_height)
        return CLR_INVALID;
    DWORD p = Raw(x, y);
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

int CMemoryCanvas::Count(COLORREF colour, const RECT* pArea) const
{
    RECT all = {0, 0, m_width, m_height};
    RECT area = pArea != NULL ? *pArea : all;
    IntersectRect(&area, &area, &all);
    int n = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            n += At(x, y) == colour;
    return n;
}

void CMemoryCanvas::Fill(int left, int top, int right, int bottom, COLORREF colour)
{
    RECT rc = {left, top, right, bottom};
    HBRUSH hBrush = CreateSolidBrush(colour);
    FillRect(m_hDC, &rc, hBrush);
    DeleteObject(hBrush);
}

BOOL CMemoryCanvas::Print(HWND hWnd, UINT nFlags)
{
    return PrintWindow(hWnd, m_hDC, nFlags);
}
