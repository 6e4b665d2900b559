// CSkinEdit: an edit whose border is drawn in the skin's border colour.
#pragma once

#include <afxwin.h>

class CSkinEdit : public CEdit
{
    DECLARE_DYNAMIC(CSkinEdit)
public:
    CSkinEdit();
    virtual ~CSkinEdit();

protected:
    afx_msg void OnNcPaint();
    DECLARE_MESSAGE_MAP()
};

// Outlines the window rectangle of a control that has a border with the
// skin's border colour (after the system painted its non-client area).
void SkinFrameControlBorder(CWnd* pWnd);
