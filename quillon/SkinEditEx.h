// An edit without the system border, framed by one line in its own colour.
#pragma once

#include <afxwin.h>

class CSkinEditEx : public CEdit
{
public:
    CSkinEditEx();

    COLORREF m_crBorder;

protected:
    afx_msg void OnNcPaint();
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()
};
