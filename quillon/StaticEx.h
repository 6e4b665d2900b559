// A static that paints its own text (or the window text) transparently in
// its own font and colour.
#pragma once

#include <afxwin.h>

class CStaticEx : public CStatic
{
public:
    CStaticEx() : m_crText(RGB(0, 0, 0)) {}

    CFont m_Font;
    COLORREF m_crText;
    CString m_strText;

protected:
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()
};
