// CXTVBufferDC: an off-screen copy of a device context. Everything drawn into
// it lands in a memory bitmap that is copied to the target when the object is
// destroyed, so a window paints without flicker.
#pragma once

#include <afxwin.h>

class CXTVBufferDC : public CDC
{
public:
    // Buffers the paint rectangle of a paint context.
    explicit CXTVBufferDC(CPaintDC& dc);
    // Buffers rect (logical coordinates of pDC).
    CXTVBufferDC(CDC* pDC, const RECT& rect);
    virtual ~CXTVBufferDC();

    CXTVBufferDC* operator->() { return this; }
    operator CXTVBufferDC*() { return this; }

    const RECT& GetBufferRect() const { return m_rect; }

private:
    CXTVBufferDC(const CXTVBufferDC&);
    CXTVBufferDC& operator=(const CXTVBufferDC&);

    void Begin(CDC* target, const RECT& rect);

    CDC* m_target;
    RECT m_rect;
    HBITMAP m_bitmap;
    HGDIOBJ m_oldBitmap;
    bool m_buffered;
};
