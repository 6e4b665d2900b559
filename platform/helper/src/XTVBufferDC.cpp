#include "XTVBufferDC.h"

CXTVBufferDC::CXTVBufferDC(CPaintDC& dc) : m_target(&dc), m_bitmap(NULL), m_oldBitmap(NULL), m_buffered(false)
{
    RECT rect = dc.m_ps.rcPaint;
    if (IsRectEmpty(&rect))
        ::GetClipBox(dc.GetSafeHdc(), &rect);
    Begin(&dc, rect);
}

CXTVBufferDC::CXTVBufferDC(CDC* pDC, const RECT& rect)
    : m_target(pDC), m_bitmap(NULL), m_oldBitmap(NULL), m_buffered(false)
{
    Begin(pDC, rect);
}

void CXTVBufferDC::Begin(CDC* target, const RECT& rect)
{
    SetRectEmpty(&m_rect);
    HDC targetDC = target ? target->GetSafeHdc() : NULL;
    if (targetDC == NULL)
        return;
    m_rect = rect;
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    HDC memory = NULL;
    if (width > 0 && height > 0)
        memory = ::CreateCompatibleDC(targetDC);
    if (memory)
        m_bitmap = ::CreateCompatibleBitmap(targetDC, width, height);
    if (memory == NULL || m_bitmap == NULL) {
        // Nothing to buffer (or no memory for it): draw straight to the target.
        if (memory)
            ::DeleteDC(memory);
        m_hDC = targetDC;
        m_hAttribDC = targetDC;
        return;
    }
    m_oldBitmap = ::SelectObject(memory, m_bitmap);
    Attach(memory);
    m_buffered = true;

    // The buffer starts as what the target shows and draws like it.
    ::SetWindowOrgEx(memory, rect.left, rect.top, NULL);
    ::BitBlt(memory, rect.left, rect.top, width, height, targetDC, rect.left, rect.top, SRCCOPY);
    ::SelectObject(memory, ::GetCurrentObject(targetDC, OBJ_FONT));
    ::SetTextColor(memory, ::GetTextColor(targetDC));
    ::SetBkColor(memory, ::GetBkColor(targetDC));
    ::SetBkMode(memory, ::GetBkMode(targetDC));
}

CXTVBufferDC::~CXTVBufferDC()
{
    if (!m_buffered) {
        // Borrowed handles: the target owns them.
        m_hDC = NULL;
        m_hAttribDC = NULL;
        return;
    }
    HDC memory = GetSafeHdc();
    ::BitBlt(m_target->GetSafeHdc(), m_rect.left, m_rect.top, m_rect.right - m_rect.left, m_rect.bottom - m_rect.top,
             memory, m_rect.left, m_rect.top, SRCCOPY);
    // The caller may have left its own objects selected; put back what we found.
    ::SelectObject(memory, ::GetStockObject(SYSTEM_FONT));
    ::SelectObject(memory, m_oldBitmap);
    ::DeleteObject(m_bitmap);
    DeleteDC();
}
