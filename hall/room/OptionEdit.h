// The option dialog's edit: a one-pixel frame in the dialog's blue.
#pragma once

#include <afxwin.h>

const COLORREF OPTION_FRAME_COLOUR = RGB(86, 184, 225);

class COptionEdit : public CEdit
{
    DECLARE_DYNAMIC(COptionEdit)
public:
    COptionEdit();
    virtual ~COptionEdit();

protected:
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()
};
